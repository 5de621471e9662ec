// A minimal host application: a main window with a title bar and a soft-key menu bar. "Say hello" in the
// left menu changes the title; the right soft key quits.
#include <windows.h>

#include "LxBaseWindow.h"
#include "resource.h"

class HostWindow : public LxBaseWindow {
public:
    LRESULT OnWndProc(HWND, UINT uMsg, WPARAM, LPARAM, int* pHandled) override {
        switch (uMsg) {
        case WM_CREATE: return OnCreate(pHandled);
        case LXM_MENUKEYLEFT: return OnCommand(MenuPopup(0), pHandled);
        case LXM_MENUKEYRIGHT: return OnCommand(IDC_QUIT, pHandled);
        default: return 0;
        }
    }

private:
    LRESULT OnCreate(int* pHandled) {
        TitleCreate(nullptr);
        MenuCreate(IDM_HOSTAPP_MENU, 0);
        *pHandled = 1;
        return 0;
    }

    LRESULT OnCommand(int command, int* pHandled) {
        if (command == IDC_GREET) SetWindowTextW(const_cast<WCHAR*>(TEXT("Hello, keypad")));
        if (command == IDC_QUIT) PostQuitMessage(0);
        *pHandled = 1;
        return 0;
    }
};

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nCmdShow) {
    HostWindow window;
    wcscpy(window.m_szWindowClass, TEXT("HostApp"));
    wcscpy(window.m_szTitle, TEXT("Host application"));
    return window.Window(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}
