// What the notebook's screens have in common: their text colours, the look of their buttons, the copy into
// the library's fixed name buffers and the message boxes they ask and warn with.
#pragma once

#include <windows.h>

constexpr COLORREF kHint = 0x808080;
constexpr COLORREF kLabel = 0xC8C8C8;
constexpr COLORREF kFrame = 0xAAAAAA;
// The size of the library's window class and title buffers, and of the buffer an edit control is read into.
constexpr UINT kTextCapacity = 1024;
// Button captions sit in the middle of the button, which takes a single line.
constexpr DWORD kButtonText = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

// Copies a name into a buffer of kTextCapacity characters, cutting what does not fit.
void CopyText(WCHAR* target, const WCHAR* text);

// Asks a question in the platform's message box; the button the user chose.
int Ask(const WCHAR* question, const WCHAR* caption, UINT buttons);

// Tells the user something went wrong; `icon` says how badly.
void Warn(const WCHAR* text, const WCHAR* caption, UINT icon);
