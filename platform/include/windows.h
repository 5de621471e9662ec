// The Win32 / Windows CE subset that cehost provides. Same names, same numbers, CE's rules where CE differs.
#pragma once

#include <cehost/win/types.h>
#include <cehost/win/kernel.h>
#include <cehost/win/crt.h>
#include <cehost/win/debug.h>
#include <cehost/win/user.h>
#include <cehost/win/gdi.h>
#include <cehost/win/res.h>
#include <cehost/win/reg.h>
#include <cehost/win/ctl.h>
