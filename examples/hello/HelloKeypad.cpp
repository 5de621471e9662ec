// The first host application: a main window with the title bar and the soft-key menu bar. The left soft key
// opens the menu (rotate the screen, change the background colour, change the title); the right soft key
// quits.
#include <windows.h>

#include "HelloKeypad.h"
#include "LxBaseWindow.h"

namespace {

class HelloWindow : public LxBaseWindow {
public:
    LRESULT OnWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, int* pHandled) override {
        switch (uMsg) {
        case WM_CREATE: return OnCreate(pHandled);
        case WM_PAINT: return OnPaint(hWnd, pHandled);
        case WM_SETTINGCHANGE: OnSettingChange(UINT(wParam), LONG(lParam)); return 0;
        case LXM_MENUKEYLEFT: return OnCommand(hWnd, MenuPopup(0), pHandled);
        case LXM_MENUKEYRIGHT: return OnCommand(hWnd, IDC_QUIT, pHandled);
        default: return 0;
        }
    }

private:
    LRESULT OnCreate(int* pHandled) {
        TitleCreate(nullptr);
        MenuCreate(IDM_HELLO_MENU, 0);
        SetBaseColor(RGB(0x27, 0x27, 0x27));
        *pHandled = 1;
        return 0;
    }

    // The free area shows which colour and orientation are in use.
    LRESULT OnPaint(HWND hWnd, int* pHandled) {
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(hWnd, &ps);
        RECT area;
        GetUserArea(&area);
        SetTextColor(hdc, RGB(0xFF, 0xFF, 0xFF));
        LxDrawText(hdc, TEXT("%d x"), int(GetScreenWidth()), &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE,
                   18);
        area.top += 24;
        area.bottom += 24;
        LxDrawText(hdc, TEXT("%d"), int(GetScreenHeight()), &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE,
                   18);
        EndPaint(hWnd, &ps);
        *pHandled = 1;
        return 0;
    }

    LRESULT OnCommand(HWND hWnd, int command, int* pHandled) {
        *pHandled = 1;
        switch (command) {
        case IDC_ROTATE: LxRotateScreen(-1); break;
        case IDC_COLOUR:
            SetBaseColor(m_crBaseColor == RGB(0x27, 0x27, 0x27) ? RGB(0x10, 0x30, 0x60) : RGB(0x27, 0x27, 0x27));
            InvalidateRect(hWnd, nullptr, TRUE);
            break;
        case IDC_RETITLE:
            SetWindowTextW(const_cast<WCHAR*>(TEXT("안녕하세요")));
            break;
        case IDC_QUIT: PostQuitMessage(0); break;
        default: break;
        }
        return 0;
    }
};

} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nCmdShow) {
    HelloWindow window;
    const WCHAR className[] = TEXT("HelloKeypad");
    const WCHAR title[] = TEXT("키패드 인사");
    for (size_t i = 0; i < sizeof(className) / sizeof(WCHAR); ++i) window.m_szWindowClass[i] = className[i];
    for (size_t i = 0; i < sizeof(title) / sizeof(WCHAR); ++i) window.m_szTitle[i] = title[i];
    window.m_nIconID = 0;
    window.m_lpszAccel = nullptr;
    return window.Window(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}
