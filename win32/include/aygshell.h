// Desktop Win32 build only: the device shell's helpers that an application calls around activation and
// setting changes. Desktop Windows has no input panel and no shell to ask, so these do the little that is
// left there.
#pragma once
#include <windows.h>

typedef struct tagSHACTIVATEINFO {
    DWORD cbSize;
    HWND hwndLastFocus;
    UINT fSipUp : 1;
    UINT fSipOnDeactivation : 1;
    UINT fActive : 1;
    UINT fReserved : 29;
} SHACTIVATEINFO, *PSHACTIVATEINFO;

#define SHA_INPUTDIALOG 0x00000001

#ifndef RC_INVOKED

// Both shell calls refuse a dead window and a missing record the same way.
static inline BOOL ShellArgumentsValid(HWND hwnd, PSHACTIVATEINFO psai) {
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (!psai) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return TRUE;
}

// On the device the shell resizes the window around the input panel when a setting changes. The desktop has
// no input panel, and the window manager sizes windows itself: only the arguments are checked.
static inline BOOL SHHandleWMSettingChange(HWND hwnd, WPARAM wParam, LPARAM lParam, PSHACTIVATEINFO psai) {
    (void)wParam;
    (void)lParam;
    return ShellArgumentsValid(hwnd, psai);
}

// On the device the shell keeps the focus of a window across deactivation; here the record does the same: the
// focus is remembered when the window loses activation and given back when it regains it.
static inline BOOL SHHandleWMActivate(HWND hwnd, WPARAM wParam, LPARAM lParam, PSHACTIVATEINFO psai,
                                      DWORD flags) {
    (void)lParam;
    (void)flags;
    if (!ShellArgumentsValid(hwnd, psai)) return FALSE;
    if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        psai->fActive = 0;
        if (focus && (focus == hwnd || IsChild(hwnd, focus))) psai->hwndLastFocus = focus;
        return TRUE;
    }
    psai->fActive = 1;
    if (psai->hwndLastFocus && IsChild(hwnd, psai->hwndLastFocus)) SetFocus(psai->hwndLastFocus);
    return TRUE;
}

#endif // RC_INVOKED
