// Host extensions of cehost: what tests, the simulator and tools need beyond the Win32 subset
// (run until idle, the virtual clock, taps, screenshots, captured debug output, display failures, ...).
// The library itself never includes this header.
#pragma once

#include <windows.h>
#include <cehost/sim/debug.h>
#include <cehost/sim/user.h>
#include <cehost/sim/gdi.h>
#include <cehost/sim/registry.h>
#include <cehost/sim/shell.h>
#include <cehost/sim/imm.h>
#include <cehost/sim/profile.h>
