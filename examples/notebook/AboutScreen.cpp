// The about screen: lays the template's statics out for the screen size and closes on its button, the
// soft keys, Back and Home.
#include "AboutScreen.h"

#include <iterator>

#include "NotebookUi.h"
#include "resource.h"

AboutScreen::AboutScreen(HINSTANCE instance, COLORREF background, const WCHAR* doneKeySign) {
    SetInstance(instance);
    CopyText(m_szTitle, TEXT("정보"));
    m_szWindowClass[0] = 0;
    m_nIconID = 0;
    m_lpszAccel = nullptr;
    SetBaseColor(background);
    m_background = background;
    m_keysText = WString(TEXT("1-9: 바로 열기   ")) + doneKeySign + TEXT(": 완료");
}

LRESULT AboutScreen::OnWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM, int* pHandled) {
    switch (uMsg) {
    case WM_INITDIALOG: return OnInitDialog(hWnd, pHandled);
    case WM_COMMAND: return OnCommand(hWnd, LOWORD(wParam), pHandled);
    case LXM_MENUKEYLEFT: return OnCommand(hWnd, MenuPopup(0), pHandled);
    case LXM_MENUKEYRIGHT:
    case LXM_BACKKEY:
    case LXM_HOMEKEY: return OnCommand(hWnd, IDC_CLOSE, pHandled);
    default: return 0;
    }
}

LRESULT AboutScreen::OnInitDialog(HWND hWnd, int* pHandled) {
    TitleCreate(nullptr);
    MenuCreate(IDM_ABOUT_MENU, 0);
    RECT area;
    GetUserArea(&area);
    const int width = area.right - area.left;
    const bool wide = GetScreenWidth() > GetScreenHeight();
    struct Place {
        int id;
        int top, height;
        DWORD style;
        COLORREF colour;
    };
    const int row = wide ? 26 : 30;
    const Place places[] = {
        {IDC_ABOUT_NAME, 6, 28, DT_CENTER | DT_VCENTER | DT_SINGLELINE, 0xFFFFFF},
        {IDC_ABOUT_VERSION, 6 + row, 22, DT_CENTER | DT_VCENTER | DT_SINGLELINE, kLabel},
        {IDC_ABOUT_TEXT, 6 + 2 * row, wide ? 26 : 48, DT_CENTER | DT_WORDBREAK, kLabel},
        {IDC_ABOUT_KEYS, wide ? 6 + 3 * row : 6 + 4 * row, 22, DT_CENTER | DT_VCENTER | DT_SINGLELINE, kHint},
    };
    for (size_t i = 0; i < std::size(places); ++i) {
        const Place& p = places[i];
        MoveWindow(GetDlgItem(hWnd, p.id), 8, area.top + p.top, width - 16, p.height, FALSE);
        m_texts[i].CreateText(hWnd, UINT(p.id));
        m_texts[i].SetTextStyle(p.style);
        m_texts[i].SetColor(p.colour, m_background);
    }
    // The template names the default done key; the settings may have chosen another.
    m_texts[3].SetText(m_keysText.c_str());
    RECT button = {width / 2 - 50, area.bottom - 36, width / 2 + 50, area.bottom - 8};
    m_button.CreateButton(hWnd, GetInstance(), IDC_ABOUT_BUTTON, &button);
    m_button.SetText(TEXT("확인"));
    m_button.SetTextStyle(kButtonText);
    m_button.SetBaseColor(m_background, 0x000000);
    m_button.SetPushColor(0x000000, kFrame);
    m_button.SetFocus();
    *pHandled = 1;
    // The focus is placed already; the dialog manager must not move it.
    return FALSE;
}

LRESULT AboutScreen::OnCommand(HWND hWnd, int command, int* pHandled) {
    *pHandled = 1;
    if (command == IDC_ABOUT_BUTTON || command == IDC_CLOSE) EndDialog(hWnd, IDOK);
    return TRUE;
}
