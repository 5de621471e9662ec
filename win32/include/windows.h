// Desktop Win32 build only: the desktop's <windows.h>, plus the few things the device's <windows.h> declares
// that the desktop's lacks. Each says what desktop Windows offers in its place. cehost declares all of these
// itself; this folder is on the include path of the mingw-w64 build and nowhere else.
#pragma once

#include_next <windows.h>

// The device's WinMain takes its command line as wide text. Desktop Windows calls that entry wWinMain (and
// starts it when the program is linked with -municode), so an application's WinMain is compiled as wWinMain.
#define WinMain wWinMain

// Keypad keys of a phone-style device, as its keyboard driver reports them (winuserm.h on the device). On the
// desktop the same keys of the PC keyboard stand in for them.
#define VK_TSOFT1 VK_F1
#define VK_TSOFT2 VK_F2
#define VK_TTALK VK_F3
#define VK_TEND VK_F4
#define VK_THOME VK_LWIN
#define VK_TBACK VK_ESCAPE
#define VK_TACTION VK_RETURN
#define VK_TRECORD VK_F10
#define VK_TFLIP VK_F17
#define VK_TPOWER VK_F18
#define VK_TVOLUMEUP VK_F6
#define VK_TVOLUMEDOWN VK_F7
#define VK_TSPEAKERPHONE_TOGGLE VK_F16
#define VK_TUP VK_UP
#define VK_TDOWN VK_DOWN
#define VK_TLEFT VK_LEFT
#define VK_TRIGHT VK_RIGHT
#define VK_T0 0x30
#define VK_T1 0x31
#define VK_T2 0x32
#define VK_T3 0x33
#define VK_T4 0x34
#define VK_T5 0x35
#define VK_T6 0x36
#define VK_T7 0x37
#define VK_T8 0x38
#define VK_T9 0x39
#define VK_TSTAR VK_F8
#define VK_TPOUND VK_F9

#ifndef RC_INVOKED

// The kernel's formatted debug output. The desktop has only OutputDebugStringW, so the line is formatted here
// (wvsprintfW: %s takes wide text, as on the device; at most 1024 characters) and handed to it.
static inline void WINAPIV NKDbgPrintfW(LPCWSTR format, ...) {
    WCHAR line[1025];
    va_list args;
    va_start(args, format);
    wvsprintfW(line, format, args);
    va_end(args);
    OutputDebugStringW(line);
}

// A failed check writes one line naming the file and line, then stops in the debugger. Desktop Windows ends a
// process that breaks with no debugger attached, so the break is taken only when one is.
#define DEBUGCHK(exp)                                                                                        \
    ((void)((exp) ? 1                                                                                        \
                  : (NKDbgPrintfW(TEXT("%s: DEBUGCHK failed in file %s at line %d \r\n"), TEXT("Unknown"),   \
                                  TEXT(__FILE__), __LINE__),                                                 \
                     (IsDebuggerPresent() ? DebugBreak() : (void)0), 0)))

// The device's transparent copy takes either a device context or a bitmap as its source. The desktop's is
// msimg32's TransparentBlt, which takes a device context only: a bitmap is selected into one for the copy.
static inline BOOL TransparentImage(HDC dest, LONG x, LONG y, LONG width, LONG height, HANDLE source,
                                    LONG sourceX, LONG sourceY, LONG sourceWidth, LONG sourceHeight,
                                    COLORREF transparent) {
    if (GetObjectType(source) != OBJ_BITMAP)
        return TransparentBlt(dest, x, y, width, height, (HDC)source, sourceX, sourceY, sourceWidth,
                              sourceHeight, transparent);
    HDC memory = CreateCompatibleDC(dest);
    if (!memory) return FALSE;
    HGDIOBJ previous = SelectObject(memory, source);
    BOOL done = TransparentBlt(dest, x, y, width, height, memory, sourceX, sourceY, sourceWidth, sourceHeight,
                               transparent);
    SelectObject(memory, previous);
    DeleteDC(memory);
    return done;
}

#endif // RC_INVOKED
