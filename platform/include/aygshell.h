// The shell helpers a CE application calls around activation and setting changes. The host has no input panel
// and no shell bars, so these keep the activation record and leave the layout to the window manager, which
// already resizes full-screen windows after a rotation.
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

// WM_SETTINGCHANGE: TRUE when handled (SPI_SETSIPINFO, SETTINGCHANGE_RESET and anything else are accepted);
// FALSE with ERROR_INVALID_WINDOW_HANDLE or ERROR_INVALID_PARAMETER for a bad window or record.
CEHOST_API BOOL WINAPI SHHandleWMSettingChange(HWND hwnd, WPARAM wParam, LPARAM lParam, PSHACTIVATEINFO psai);
// WM_ACTIVATE: on deactivation remembers the focus window; on activation gives the focus back to it when it is
// still a live descendant of hwnd.
CEHOST_API BOOL WINAPI SHHandleWMActivate(HWND hwnd, WPARAM wParam, LPARAM lParam, PSHACTIVATEINFO psai,
                                          DWORD dwFlags);
