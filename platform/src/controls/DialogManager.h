// The dialog manager's internals shared by dialogs made from templates and the message box.
#pragma once

#include <windows.h>

namespace cehost::controls {

constexpr const char16_t* kDialogClassName = u"#32770";

struct DialogShell {
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT rect{}; // window rectangle in screen (or owner client, for child dialogs) coordinates
    const WCHAR* title = u"";
    HWND owner = nullptr;
    HINSTANCE instance = nullptr;
    DLGPROC proc = nullptr;
    HFONT font = nullptr;
    bool ownsFont = false;
    int baseX = 0;
    int baseY = 0;
};

// Creates the dialog window (hidden) and its manager state. Null on failure.
HWND CreateDialogShell(const DialogShell& shell);
// WM_INITDIALOG, then the initial focus when the procedure asks for it.
void InitializeDialog(HWND dialog, LPARAM param);
// Runs the modal loop on the thread's queue until EndDialog; returns its value (-1 if the dialog vanished).
INT_PTR RunModalLoop(HWND dialog);
// Gives the focus to a control as the dialog manager does (select-all for edits, default push button look).
void SetDialogFocus(HWND dialog, HWND control);
bool HasDialogEnded(HWND dialog);

} // namespace cehost::controls
