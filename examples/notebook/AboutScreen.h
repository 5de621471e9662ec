// The about screen: a full-screen dialog over the IDD_ABOUT template, with the name, the version, a line on
// what the notebook does, its keys and a button to close it.
#pragma once

#include <windows.h>

#include "LxBaseWindow.h"
#include "LxText.h"
#include "WString.h"

// Runs over the host's dialog resource; the statics of the template are adopted as library texts.
class AboutScreen : public LxBaseWindow {
public:
    AboutScreen(HINSTANCE instance, COLORREF background, const WCHAR* doneKeySign);

    LRESULT OnWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, int* pHandled) override;

private:
    LRESULT OnInitDialog(HWND hWnd, int* pHandled);
    LRESULT OnCommand(HWND hWnd, int command, int* pHandled);

    LxText m_texts[4];
    LxText m_button;
    COLORREF m_background;
    WString m_keysText;
};
