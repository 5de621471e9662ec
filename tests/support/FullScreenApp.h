// The smallest host application for simulator tests: one full-screen popup of the given class, shown and
// served by a message loop until WM_QUIT.
#pragma once

#include <windows.h>

// Registers `className` with `proc` (a class already registered in the process stays as it was), runs the
// window until WM_QUIT and returns the quit code, as a WinMain would.
inline int RunFullScreenApp(HINSTANCE instance, const WCHAR* className, WNDPROC proc, int show) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.lpszClassName = className;
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(0, className, u"app", WS_POPUP | WS_VISIBLE, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                                GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, instance, nullptr);
    ShowWindow(hwnd, show);
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    DestroyWindow(hwnd);
    return int(msg.wParam);
}
