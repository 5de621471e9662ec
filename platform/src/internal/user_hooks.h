// Extension points of the window manager for the other cehost pieces: built-in window classes, DefWindowProc
// handlers, the input method's view of key input, and the display size. Public headers never include this.
#pragma once

#include <windows.h>

namespace cehost::internal {

// ---- Built-in classes -------------------------------------------------------------------------------------
// A piece that provides system classes ("static", "button", "#32770", ...) declares a file-scope
//   static const SystemClassRegistrar registrar(&RegisterMyClasses);
// The window manager calls every registered function once, the first time any class is looked up or
// registered, so registration never depends on the order of static initialisation.
using SystemClassInit = void (*)();
struct SystemClassRegistrar {
    explicit SystemClassRegistrar(SystemClassInit init);
};
// Registers a process-wide class that can never be unregistered. `fixedAtom` gives the class a predefined
// atom (0x80 button, 0x81 edit, 0x82 static, 0x8002 dialog); 0 allocates one. Returns the atom, 0 on failure
// (name taken).
ATOM RegisterSystemClass(const WNDCLASSW& wc, ATOM fixedAtom = 0);

// ---- DefWindowProc ----------------------------------------------------------------------------------------
// A handler installed for one message runs in DefWindowProcW before its own handling; when it sets *handled
// its result is returned. One handler per message; nullptr removes it.
using DefWindowProcHandler = LRESULT (*)(HWND, UINT, WPARAM, LPARAM, bool* handled);
void SetDefWindowProcHandler(UINT message, DefWindowProcHandler handler);

// ---- Key input --------------------------------------------------------------------------------------------
// Sees every keyboard message as GetMessageW / PeekMessageW(PM_REMOVE) takes it from the input queue, after
// its target window is known and before the application does; it may rewrite the message (an input method
// turns letters into VK_PROCESSKEY). Returning false swallows the message.
using KeyInputFilter = bool (*)(MSG* msg);
void SetKeyInputFilter(KeyInputFilter filter);
// Runs first in TranslateMessage for key messages; returning true means it translated the message itself
// (an input method sending its composition messages for VK_PROCESSKEY) and TranslateMessage returns TRUE.
using TranslateHook = bool (*)(const MSG* msg);
void SetTranslateHook(TranslateHook hook);
// Called before the focus moves (before WM_KILLFOCUS goes out), so that an input method can finish its
// composition while the old window still has the focus.
using FocusChangeObserver = void (*)(HWND oldFocus, HWND newFocus);
void SetFocusChangeObserver(FocusChangeObserver observer);

// ---- Display ----------------------------------------------------------------------------------------------
// The screen size at the current orientation, as GetSystemMetrics reports it.
SIZE DisplaySize();
// Changes it (what the simulator's screen-size option does): full-screen top-level windows follow, the screen
// is repainted. False for a size outside 1..8192.
bool SetDisplaySize(int width, int height);
// Called by the window manager whenever the screen size changes (rotation or SetDisplaySize), before any
// window is moved or repainted, so that GDI can resize its framebuffer. gdi/ provides it; a weak no-op
// stands in until then.
void DisplaySizeChanged(int width, int height);

// ---- Shell ------------------------------------------------------------------------------------------------
// Called whenever the queue is about to look for windows to paint, so that the shell can bring what it shows
// (the time, the input mode, its size) up to date first. shell/ provides it; a weak no-op stands in until then.
void RefreshShell();
// The height of the shell's strip at the top of the screen, 0 while it is not shown.
int ShellStripHeight();

} // namespace cehost::internal
