// Contract between the window manager (user/) and the input method (imm/). The window manager calls these
// at the three points where an input method has to take part; imm/ does the rest with the public API.
#pragma once

#include <windows.h>

namespace cehost::internal {

// A key-down input message for `hwnd` is being taken from the queue. Returns true when the input method
// consumed the key; the window manager then delivers the message with wParam VK_PROCESSKEY. The input
// method may already have sent its composition messages to `hwnd` when this returns.
bool ImeProcessKeyDown(HWND hwnd, UINT vk, LPARAM lParam);

// The focus is about to leave `hwnd` (called before WM_KILLFOCUS). Completes a composition in progress there
// so that no typed text is lost.
void ImeFocusLeaving(HWND hwnd);

// DefWindowProcW's part for the WM_IME_* messages: turns a result string into WM_IME_CHAR and WM_IME_CHAR
// into WM_CHAR. Returns true and sets *result when the message is one of them.
bool ImeDefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

// `hwnd` is being destroyed: forget it as the composition target.
void ImeWindowDestroyed(HWND hwnd);

} // namespace cehost::internal
