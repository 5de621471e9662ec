// The notebook's growable wide text: a string of the platform's 16-bit text units.
#pragma once

#include <windows.h>

#include <string>

using WString = std::basic_string<WCHAR>;
