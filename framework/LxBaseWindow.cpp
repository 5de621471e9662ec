// The main window: start, message loop, key protocol, background colour and layout. The title bar and the
// menu bar live in LxBaseWindowTitle.cpp and LxBaseWindowMenu.cpp.
#include "LxBaseWindow.h"

#include <cstring>
#include <cwchar>

namespace {

constexpr int kIndicatorBarHeight = 21;
constexpr unsigned int kDefaultIconGroup = 9971;
constexpr int kTextCapacity = 1024;

void CopyText(WCHAR (&to)[kTextCapacity], const WCHAR* from) {
    std::memset(to, 0, sizeof(to));
    for (int i = 0; from && i < kTextCapacity - 1 && from[i]; ++i) to[i] = from[i];
}

bool IsDialogWindow(HWND hWnd) {
    WCHAR name[16] = {};
    return GetClassNameW(hWnd, name, 16) && wcscmp(name, TEXT("#32770")) == 0;
}

} // namespace

LxBaseWindow::LxBaseWindow()
    : m_szWindowClass{}, m_szTitle{}, m_nIconID(0), m_lpszAccel(nullptr), m_hWnd(nullptr), m_szCmdLine{},
      m_bDialog(0), m_hInstance(nullptr), m_hMenuBar(nullptr), m_hMenuBarAux(nullptr), m_crBaseColor(COLORREF(-1)),
      m_ActivateInfo{}, m_bFullScreen(0), m_hTitle(nullptr), m_nTitleHeight(37), m_nMenuHeight(26) {}

LxBaseWindow::LxBaseWindow(const LxBaseWindow& other) { CopyFrom(other); }

LxBaseWindow& LxBaseWindow::operator=(const LxBaseWindow& other) {
    if (this != &other) CopyFrom(other);
    return *this;
}

// Both objects then name the same windows; nothing is created or destroyed.
void LxBaseWindow::CopyFrom(const LxBaseWindow& other) {
    std::memcpy(m_szWindowClass, other.m_szWindowClass, sizeof(m_szWindowClass));
    std::memcpy(m_szTitle, other.m_szTitle, sizeof(m_szTitle));
    m_nIconID = other.m_nIconID;
    m_lpszAccel = other.m_lpszAccel;
    m_hWnd = other.m_hWnd;
    std::memcpy(m_szCmdLine, other.m_szCmdLine, sizeof(m_szCmdLine));
    m_bDialog = other.m_bDialog;
    m_hInstance = other.m_hInstance;
    m_hMenuBar = other.m_hMenuBar;
    m_hMenuBarAux = other.m_hMenuBarAux;
    m_crBaseColor = other.m_crBaseColor;
    m_ActivateInfo = other.m_ActivateInfo;
    m_bFullScreen = other.m_bFullScreen;
    m_hTitle = other.m_hTitle;
    m_nTitleHeight = other.m_nTitleHeight;
    m_nMenuHeight = other.m_nMenuHeight;
}

LxBaseWindow::~LxBaseWindow() {
    TitleDestroy();
    MenuDestroy();
    if (IsWindow(m_hWnd)) DestroyWindow(m_hWnd);
}

int LxBaseWindow::Window(HINSTANCE hInstance, HINSTANCE, WCHAR* lpCmdLine, int nCmdShow) {
    SetInstance(hInstance);
    CopyText(m_szCmdLine, lpCmdLine);
    const unsigned int icon = m_nIconID ? m_nIconID : kDefaultIconGroup;
    if (!InitInstance(m_szWindowClass, m_szTitle, GetInstance(), nCmdShow, MAKEINTRESOURCEW(icon & 0xFFFF)))
        return 0;

    HACCEL accelerators = nullptr;
    if (m_lpszAccel) {
        accelerators = LoadAcceleratorsW(GetInstance(), m_lpszAccel);
        if (!accelerators) accelerators = LoadAcceleratorsW(LxGetLibraryModule(), m_lpszAccel);
    }
    MSG msg;
    for (;;) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(msg.wParam);
        if (got == -1) return -1;
        // The test is on the name: with a name whose table was not found, the null table is still tried.
        if (m_lpszAccel && TranslateAcceleratorW(msg.hwnd, accelerators, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

int LxBaseWindow::InitInstance(WCHAR* szWindowClass, WCHAR* szTitle, HINSTANCE hInstance, int nCmdShow,
                               const WCHAR* lpIcon) {
    m_hMenuBar = nullptr;
    m_hInstance = hInstance;
    if (HWND running = FindWindowW(szWindowClass, szTitle)) {
        // The lowest bit also brings the running instance's owned windows (an open dialog) forward.
        SetForegroundWindow(reinterpret_cast<HWND>(reinterpret_cast<UINT_PTR>(running) | 1));
        return 0;
    }
    MyRegisterClass(hInstance, szWindowClass, lpIcon);
    m_bFullScreen = 1;
    const int top = IsShowIndicatorBar() == 1 ? GetIndicatorBarHeight() : 0;
    HWND hWnd = CreateWindowExW(0, szWindowClass, szTitle, WS_VISIBLE, 0, top, int(GetScreenWidth()),
                                int(GetScreenHeight()) - top, nullptr, nullptr, hInstance, this);
    if (!hWnd) return 0;
    m_hWnd = hWnd;
    ShowWindow(m_hWnd, nCmdShow);
    UpdateWindow(m_hWnd);
    return 1;
}

ATOM LxBaseWindow::MyRegisterClass(HINSTANCE hInstance, WCHAR* szWindowClass, const WCHAR* lpIcon) {
    WNDCLASSW wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = BaseWndProc;
    wc.hInstance = hInstance;
    wc.hIcon = LoadIconW(hInstance, lpIcon);
    if (!wc.hIcon) wc.hIcon = LoadIconW(LxGetLibraryModule(), lpIcon);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = szWindowClass;
    return RegisterClassW(&wc);
}

LRESULT LxBaseWindow::OnWndProc(HWND, UINT, WPARAM, LPARAM, int* pHandled) {
    if (pHandled) *pHandled = 0;
    return 0;
}

LRESULT CALLBACK LxBaseWindow::BaseWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == WM_CREATE || uMsg == WM_INITDIALOG) {
        auto* self = uMsg == WM_CREATE
                         ? static_cast<LxBaseWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams)
                         : reinterpret_cast<LxBaseWindow*>(lParam);
        if (self) {
            SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
            self->m_hWnd = hWnd;
            self->m_bDialog = uMsg == WM_INITDIALOG ? 1 : 0;
            if (!self->m_hInstance) self->m_hInstance = LxGetLibraryModule();
            if (uMsg == WM_INITDIALOG) self->RedrawWindow(1);
        }
    }
    auto* self = reinterpret_cast<LxBaseWindow*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (!self) {
        // Before the binding message there is no object to ask: a window gets the default handling, a
        // dialog tells the dialog manager that nothing was handled.
        return IsDialogWindow(hWnd) ? 0 : DefWindowProcW(hWnd, uMsg, wParam, lParam);
    }
    return self->Dispatch(hWnd, uMsg, wParam, lParam);
}

// The key protocol, first matching rule wins; key codes are read afresh at every test.
LRESULT LxBaseWindow::Dispatch(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    const LPARAM self = reinterpret_cast<LPARAM>(hWnd);
    if (uMsg == WM_KEYUP) {
        if (wParam == VK_ESCAPE || wParam == VK_BACK) return SendMessageW(hWnd, LXM_BACKKEY, 0, self), 1;
        if (wParam == LxGetHomeKey()) return SendMessageW(hWnd, LXM_HOMEKEY, 0, self), 1;
        if (wParam == LxGetMenuKeyLeft()) return SendMessageW(hWnd, LXM_MENUKEYLEFT, 0, self), 1;
        if (wParam == LxGetMenuKeyRight()) return SendMessageW(hWnd, LXM_MENUKEYRIGHT, 0, self), 1;
    }
    if (uMsg == LXM_KEYUP) {
        if (wParam == LxGetMenuKeyLeft()) return SendMessageW(hWnd, LXM_MENUKEYLEFT, 0, self), 1;
        if (wParam == LxGetMenuKeyRight()) return SendMessageW(hWnd, LXM_MENUKEYRIGHT, 0, self), 1;
    }
    if (uMsg == WM_KEYUP) PostMessageW(hWnd, LXM_KEYUP, wParam, self);
    if (uMsg == WM_KEYDOWN) PostMessageW(hWnd, LXM_KEYDOWN, wParam, self);
    if (uMsg == WM_MOUSEMOVE || uMsg == WM_LBUTTONDOWN || uMsg == WM_LBUTTONUP) return 1;
    if (uMsg == WM_ERASEBKGND && static_cast<INT32>(m_crBaseColor) >= 0) {
        RECT client;
        GetClientRect(hWnd, &client);
        HBRUSH brush = CreateSolidBrush(m_crBaseColor);
        FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
        DeleteObject(brush);
        return 1;
    }
    int handled = 0;
    const LRESULT result = OnWndProc(hWnd, uMsg, wParam, lParam, &handled);
    if (m_bDialog) return result;
    return handled ? result : DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

int LxBaseWindow::Dialog(const WCHAR* lpTemplateName, HWND hParent, int bFullScreen) {
    m_bFullScreen = bFullScreen;
    if (bFullScreen == 0) {
        MessageBoxW(hParent, TEXT("현재 다이얼로그는 Full Screen만 지원합니다."), TEXT("실행불가"),
                    MB_ICONHAND);
        return IDCANCEL;
    }
    HRSRC resource = FindResourceW(GetInstance(), lpTemplateName, RT_DIALOG);
    HGLOBAL loaded = LoadResource(GetInstance(), resource);
    auto* dialogTemplate = static_cast<LPCDLGTEMPLATEW>(LockResource(loaded));
    return static_cast<int>(DialogBoxIndirectParamW(GetInstance(), dialogTemplate, hParent,
                                                    reinterpret_cast<DLGPROC>(BaseWndProc),
                                                    reinterpret_cast<LPARAM>(this)));
}

unsigned int LxBaseWindow::GetScreenWidth() { return static_cast<unsigned int>(GetSystemMetrics(SM_CXSCREEN)); }
unsigned int LxBaseWindow::GetScreenHeight() { return static_cast<unsigned int>(GetSystemMetrics(SM_CYSCREEN)); }

unsigned int LxBaseWindow::GetAppWidth() {
    RECT rect = {};
    GetClientRect(m_hWnd, &rect);
    return static_cast<unsigned int>(rect.right - rect.left);
}
unsigned int LxBaseWindow::GetAppHeight() {
    RECT rect = {};
    GetClientRect(m_hWnd, &rect);
    return static_cast<unsigned int>(rect.bottom - rect.top);
}
unsigned int LxBaseWindow::GetAppX() {
    RECT rect = {};
    GetClientRect(m_hWnd, &rect);
    return static_cast<unsigned int>(rect.left);
}
unsigned int LxBaseWindow::GetAppY() {
    RECT rect = {};
    GetClientRect(m_hWnd, &rect);
    return static_cast<unsigned int>(rect.top);
}

void LxBaseWindow::GetUserArea(RECT* pRect) {
    if (m_bFullScreen != 1 || !pRect) return;
    pRect->left = 0;
    pRect->right = LONG(GetScreenWidth());
    pRect->top = m_hTitle ? LONG(m_nTitleHeight) : 0;
    pRect->bottom = LONG(GetScreenHeight());
    if (m_hMenuBar) pRect->bottom = LONG(GetScreenHeight()) - LONG(m_nMenuHeight);
    if (IsShowIndicatorBar() == 1) pRect->bottom -= GetIndicatorBarHeight();
}

void LxBaseWindow::ShowIndicatorBar(int) {}
int LxBaseWindow::IsShowIndicatorBar() { return 1; }
int LxBaseWindow::GetIndicatorBarHeight() { return kIndicatorBarHeight; }

void LxBaseWindow::RedrawWindow(int bRepaint) {
    const int top = IsShowIndicatorBar() == 1 ? GetIndicatorBarHeight() : 0;
    if (m_bFullScreen == 1)
        MoveWindow(m_hWnd, 0, top, int(GetScreenWidth()), int(GetScreenHeight()) - top, bRepaint);
    TitleRedraw();
    MenuRedraw();
}

void LxBaseWindow::OnSettingChange(UINT wParam, LONG lParam) {
    SHHandleWMSettingChange(m_hWnd, wParam, lParam, &m_ActivateInfo);
    RedrawWindow(1);
}

HINSTANCE LxBaseWindow::GetInstance() { return m_hInstance; }

void LxBaseWindow::SetInstance(HINSTANCE hInstance) {
    m_hInstance = hInstance;
    LxSetAppInstance(hInstance);
}

void LxBaseWindow::SetWindowTextW(WCHAR* pszText) {
    CopyText(m_szTitle, pszText);
    if (m_hTitle) ::SetWindowTextW(m_hTitle, m_szTitle);
}

void LxBaseWindow::GetWindowTextW(WCHAR* pszBuffer) {
    if (m_hTitle && pszBuffer) ::GetWindowTextW(m_hTitle, pszBuffer, kTextCapacity - 1);
}

void LxBaseWindow::SetBaseColor(COLORREF color) { m_crBaseColor = color; }
