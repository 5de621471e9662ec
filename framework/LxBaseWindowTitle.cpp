// The title bar: a "static" child window subclassed to paint the title strip bitmap and the title in white.
// A bar wider or higher than the bitmap shows the bitmap where it has pixels and black beyond.
#include "LxBaseWindow.h"

namespace {

constexpr COLORREF kTitleTextColour = RGB(255, 255, 255);
constexpr COLORREF kTransparent = RGB(255, 0, 255);
constexpr unsigned int kTitleFontHeight = 20;
constexpr int kTitleBitmap = 9960;

WNDPROC PreviousProc(HWND hWnd) {
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
}

void PaintTitleText(HWND hWnd, const RECT& client) {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hWnd, &ps);
    WCHAR text[1024] = {};
    ::GetWindowTextW(hWnd, text, 1023);
    SetTextColor(hdc, kTitleTextColour);
    RECT rect = client;
    LxDrawText(hdc, text, &rect, DT_CENTER | DT_VCENTER, kTitleFontHeight);
    EndPaint(hWnd, &ps);
}

void DrawTitleBackground(HDC hdc, const RECT& client) {
    const LONG width = client.right - client.left, height = client.bottom - client.top;
    HDC memory = CreateCompatibleDC(hdc);
    HBITMAP bitmap = LoadBitmapW(LxGetLibraryModule(), MAKEINTRESOURCEW(kTitleBitmap));
    if (memory && bitmap) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        TransparentImage(hdc, client.left, client.top, width, height, memory, 0, 0, width, height, kTransparent);
        SelectObject(memory, previous);
    }
    if (memory) DeleteDC(memory);
    if (bitmap) DeleteObject(bitmap);
}

} // namespace

HWND LxBaseWindow::TitleCreate(WCHAR* pszTitle) {
    if (m_nTitleHeight == 0) return nullptr;
    if (pszTitle) {
        WCHAR copy[1024] = {};
        for (int i = 0; i < 1023 && pszTitle[i]; ++i) copy[i] = pszTitle[i];
        for (int i = 0; i < 1024; ++i) m_szTitle[i] = copy[i];
    }
    HWND title = CreateWindowExW(0, TEXT("static"), m_szTitle, WS_CHILD | WS_VISIBLE, 0, 0, 1, 1, m_hWnd,
                                 nullptr, GetInstance(), nullptr);
    if (!title) return nullptr;
    m_hTitle = title;
    LxSubClassing(m_hTitle, TitleProc);
    BringWindowToTop(m_hTitle);
    TitleRedraw();
    return m_hTitle;
}

void LxBaseWindow::TitleRedraw() {
    if (m_hTitle && m_bFullScreen == 1) MoveWindow(m_hTitle, 0, 0, int(GetScreenWidth()), int(m_nTitleHeight), 1);
}

void LxBaseWindow::TitleDestroy() {
    if (!m_hTitle) return;
    DestroyWindow(m_hTitle);
    m_hTitle = nullptr;
}

LRESULT CALLBACK LxBaseWindow::TitleProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    WNDPROC previous = PreviousProc(hWnd);
    RECT client = {};
    GetClientRect(hWnd, &client);
    switch (uMsg) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP: return 0;
    case WM_PAINT: PaintTitleText(hWnd, client); break;
    case WM_ERASEBKGND: DrawTitleBackground(reinterpret_cast<HDC>(wParam), client); break;
    case LXM_HOMEKEY: PostMessageW(GetParent(hWnd), LXM_HOMEKEY, 0, reinterpret_cast<LPARAM>(hWnd)); break;
    default: break;
    }
    return CallWindowProcW(previous, hWnd, uMsg, wParam, lParam);
}
