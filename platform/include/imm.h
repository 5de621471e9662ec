// The input method manager of the Win32 / Windows CE subset. The host's input method is a Korean two-set
// layout; the messages it sends are declared with the other window messages (WM_IME_*).
#pragma once
#include <windows.h>

#define GCS_COMPREADSTR 0x0001
#define GCS_COMPREADATTR 0x0002
#define GCS_COMPREADCLAUSE 0x0004
#define GCS_COMPSTR 0x0008
#define GCS_COMPATTR 0x0010
#define GCS_COMPCLAUSE 0x0020
#define GCS_CURSORPOS 0x0080
#define GCS_DELTASTART 0x0100
#define GCS_RESULTREADSTR 0x0200
#define GCS_RESULTREADCLAUSE 0x0400
#define GCS_RESULTSTR 0x0800
#define GCS_RESULTCLAUSE 0x1000
#define CS_INSERTCHAR 0x2000
#define CS_NOMOVECARET 0x4000

#define ATTR_INPUT 0x00
#define ATTR_TARGET_CONVERTED 0x01
#define ATTR_CONVERTED 0x02

#define IMM_ERROR_NODATA (-1)
#define IMM_ERROR_GENERAL (-2)

#define NI_COMPOSITIONSTR 0x0015
#define CPS_COMPLETE 0x0001
#define CPS_CONVERT 0x0002
#define CPS_REVERT 0x0003
#define CPS_CANCEL 0x0004

#define IMN_CLOSESTATUSWINDOW 0x0001
#define IMN_OPENSTATUSWINDOW 0x0002
#define IMN_SETCONVERSIONMODE 0x0006
#define IMN_SETOPENSTATUS 0x0008

CEHOST_API HIMC WINAPI ImmGetContext(HWND hWnd);
CEHOST_API BOOL WINAPI ImmReleaseContext(HWND hWnd, HIMC hIMC);
CEHOST_API LONG WINAPI ImmGetCompositionStringW(HIMC hIMC, DWORD dwIndex, LPVOID lpBuf, DWORD dwBufLen);
#define ImmGetCompositionString ImmGetCompositionStringW
CEHOST_API BOOL WINAPI ImmGetOpenStatus(HIMC hIMC);
CEHOST_API BOOL WINAPI ImmSetOpenStatus(HIMC hIMC, BOOL fOpen);
CEHOST_API BOOL WINAPI ImmNotifyIME(HIMC hIMC, DWORD dwAction, DWORD dwIndex, DWORD dwValue);
CEHOST_API UINT WINAPI ImmGetVirtualKey(HWND hWnd);
