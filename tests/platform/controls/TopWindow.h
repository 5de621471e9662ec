// The parent every control test starts from: a visible full-screen pop-up of its own class.
#pragma once

#include <windows.h>

// Registers `name` with `proc` and makes a visible full-screen pop-up of it.
inline HWND MakeTopWindow(const WCHAR* name, WNDPROC proc, HBRUSH background = nullptr) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.lpszClassName = name;
    wc.hbrBackground = background;
    RegisterClassW(&wc);
    return CreateWindowExW(0, name, u"", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr, nullptr, nullptr);
}
