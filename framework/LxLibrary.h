// The library's process-wide services: module handles, the application's last-error slot, the four keypad key
// codes, key injection, the subclassing convention, the border switch, screen rotation, text drawing in the
// library's font, and the library's window messages.
#pragma once

#include <windows.h>

// The library's window messages: the key protocol between controls, the main window and the application.
#define LXM_MENUKEYLEFT 10025
#define LXM_MENUKEYRIGHT 10026
#define LXM_BIND 10125
#define LXM_BACKKEY 10127
#define LXM_HOMEKEY 10128
#define LXM_KEYUP 10130
#define LXM_KEYDOWN 10132
#define LXM_SELCHANGE 10134

// Module handles: the library's own (known from its load) and the application's (set by LxBaseWindow).
HINSTANCE LxGetLibraryModule(void);
HINSTANCE LxGetAppInstance(void);
void LxSetAppInstance(HINSTANCE instance);

void LxSetLastError(int value);
int LxGetLastError(void);

void LxSetMenuKeyLeft(unsigned int vk);
void LxSetMenuKeyRight(unsigned int vk);
void LxSetSelectKey(unsigned int vk);
void LxSetHomeKey(unsigned int vk);
unsigned int LxGetMenuKeyLeft(void);
unsigned int LxGetMenuKeyRight(void);
unsigned int LxGetSelectKey(void);
unsigned int LxGetHomeKey(void);

void LxKeyEvent(unsigned char vk);
void LxSubClassing(HWND hwnd, WNDPROC proc);
void LxSetBorder(HWND hwnd, int border);
int LxRotateScreen(int orientation);

// Text in the library's font "LxFont" on a transparent background; the device context is left as it was.
void LxGetFillLogFont(LOGFONTW* font, unsigned int height);
int LxDrawText(HDC hdc, const WCHAR* text, int top, int left, unsigned int height);
int LxDrawText(HDC hdc, const WCHAR* format, int value, RECT* rect, unsigned int flags, unsigned int height);
int LxDrawText(HDC hdc, const WCHAR* text, RECT* rect, unsigned int flags, unsigned int height);
