// The smallest host application for simulator tests: one full-screen popup of the given class, shown and
// served by a message loop until WM_QUIT.
#pragma once

#include <windows.h>

// Registers `className` with `proc` (a class already registered in the process stays as it was), runs the
// window until WM_QUIT and returns the quit code, as a WinMain would.
int RunFullScreenApp(HINSTANCE instance, const WCHAR* className, WNDPROC proc, int show);
