// Static texts and push buttons: painting from the object, the pushed look, presses reported with
// WM_COMMAND, and focus moves with the arrow keys through the parent's tab order.
#include "LxText.h"

#include "LxControlPaint.h"

namespace {

constexpr int kTextCapacity = 1024;
constexpr DWORD kFrameColour = 0xAAAAAA;
constexpr DWORD kCentred = 5; // DT_CENTER | DT_VCENTER
constexpr UINT kFontHeight = 18;

void CopyText(WCHAR (&to)[kTextCapacity], const WCHAR* from) {
    int i = 0;
    for (; from && i < kTextCapacity - 1 && from[i]; ++i) to[i] = from[i];
    for (; i < kTextCapacity; ++i) to[i] = 0;
}

bool IsNegative(DWORD colour) {
    return static_cast<INT32>(colour) < 0;
}

} // namespace

// A button held down shows dark text on the frame's light grey until the application picks its own colours.
LxText::LxText()
    : m_hWnd(nullptr), m_szText{}, m_dwStyle(0), m_rcRect{0, 0, 0, 0}, m_crBaseNormal(0x272727),
      m_crDataNormal(0x969696), m_crDataFocus(0xFFFFFF), m_crBaseFocus(0x000000), m_crCase(DWORD(-1)),
      m_bButton(0), m_bPushed(0), m_crPushText(0x000000), m_crPushBack(kFrameColour) {}

LxText::~LxText() { DropWindow(); }

// As with the lists, only the object the window is bound to takes the window with it.
void LxText::DropWindow() {
    LxText* bound = LxTextQueue::FindQueue(m_hWnd);
    if (bound == nullptr || bound == this) Destroy();
    m_hWnd = nullptr;
}

long LxText::OnWndProc(UINT, WPARAM, LPARAM, int*) { return 1; }

// One object, one window: a control made before goes first, so no binding is left behind for it.
HWND LxText::Create(HWND hParent, HINSTANCE hInstance, UINT nID, RECT* pRect, DWORD dwWindowStyle) {
    DropWindow();
    m_hWnd = CreateWindowExW(0, TEXT("static"), TEXT(" "), dwWindowStyle, pRect->left, pRect->top,
                             pRect->right - pRect->left, pRect->bottom - pRect->top, hParent,
                             reinterpret_cast<HMENU>(UINT_PTR(nID)), hInstance, nullptr);
    return m_hWnd;
}

void LxText::Bind() {
    LxSubClassing(m_hWnd, WndProc);
    SendMessageW(m_hWnd, LXM_BIND, reinterpret_cast<WPARAM>(this), 0);
}

HWND LxText::CreateText(HWND hParent, HINSTANCE hInstance, UINT nID, RECT* pRect, DWORD dwStyle, int bBorder,
                        int bTabStop) {
    if (!pRect) return nullptr;
    m_rcRect = *pRect;
    m_dwStyle = dwStyle;
    if (bBorder) m_crCase = kFrameColour;
    if (!Create(hParent, hInstance, nID, pRect, WS_CHILD | WS_VISIBLE | (bTabStop ? WS_TABSTOP : 0))) return nullptr;
    Bind();
    return m_hWnd;
}

HWND LxText::CreateButton(HWND hParent, HINSTANCE hInstance, UINT nID, RECT* pRect) {
    if (!pRect) return nullptr;
    m_rcRect = *pRect;
    m_dwStyle = kCentred;
    m_crCase = kFrameColour;
    if (!Create(hParent, hInstance, nID, pRect, WS_CHILD | WS_VISIBLE | WS_TABSTOP)) return nullptr;
    m_bButton = 1;
    Bind();
    return m_hWnd;
}

int LxText::CreateText(HWND hDialog, UINT nID) { return CreateText(GetDlgItem(hDialog, int(nID))); }

// Takes over a static of a dialog: its text, its size and its alignment; its own border becomes our frame.
int LxText::CreateText(HWND hWnd) {
    if (!hWnd || !::IsWindow(hWnd)) return 0;
    CopyText(m_szText, TEXT(""));
    GetWindowTextW(hWnd, m_szText, kTextCapacity - 1);
    GetClientRect(hWnd, &m_rcRect);
    const LONG style = GetWindowLongW(hWnd, GWL_STYLE);
    if (style & WS_BORDER) {
        m_crCase = kFrameColour;
        LxSetBorder(hWnd, 0);
    }
    // SS_LEFT is 0; SS_CENTER and SS_RIGHT are values of the same field, tested as bits.
    if (style & SS_RIGHT) m_dwStyle |= DT_RIGHT;
    if (style & SS_CENTER) m_dwStyle |= DT_CENTER;
    if (style & SS_CENTERIMAGE) m_dwStyle |= DT_VCENTER;
    // The window handle is known before the binding message, so the binding is recorded under it.
    if (hWnd != m_hWnd) DropWindow();
    m_hWnd = hWnd;
    Bind();
    return 1;
}

void LxText::SetText(const WCHAR* pszText) {
    CopyText(m_szText, pszText);
    if (m_hWnd) InvalidateRect(m_hWnd, nullptr, TRUE);
}

void LxText::GetText(WCHAR* pszBuffer) {
    if (!IsWindow() || !pszBuffer) return;
    int i = 0;
    for (; m_szText[i]; ++i) pszBuffer[i] = m_szText[i];
    pszBuffer[i] = 0;
}

void LxText::SetTextStyle(DWORD dwStyle) {
    if (dwStyle != 0) m_dwStyle = dwStyle;
}

void LxText::SetDataColor(DWORD crNormal, DWORD crFocus) {
    if (!IsWindow()) return;
    m_crDataNormal = crNormal;
    m_crDataFocus = crFocus;
    Repaint();
}

void LxText::SetBaseColor(DWORD crNormal, DWORD crFocus) {
    if (!IsWindow()) return;
    m_crBaseNormal = crNormal;
    m_crBaseFocus = crFocus;
    Repaint();
}

// The focus colours follow only while they are unset (negative).
void LxText::SetColor(DWORD crText, DWORD crBack) {
    if (!IsWindow()) return;
    m_crDataNormal = crText;
    m_crBaseNormal = crBack;
    if (IsNegative(m_crDataFocus)) m_crDataFocus = crText;
    if (IsNegative(m_crBaseFocus)) m_crBaseFocus = crBack;
    Repaint();
}

void LxText::SetPushColor(DWORD crText, DWORD crBack) {
    if (!IsWindow()) return;
    m_crPushText = crText;
    m_crPushBack = crBack;
}

void LxText::SetCaseColor(DWORD crColor) {
    m_crCase = crColor;
    if (IsWindow()) Repaint();
}

void LxText::SetFocus() {
    if (m_bButton) ::SetFocus(m_hWnd);
}

int LxText::IsFocus() { return m_hWnd && GetFocus() == m_hWnd ? 1 : 0; }

int LxText::IsWindow() { return m_hWnd && ::IsWindow(m_hWnd) ? 1 : 0; }

void LxText::Destroy() {
    if (IsWindow()) DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
}

UINT LxText::GetTextWidth() { return IsWindow() ? UINT(m_rcRect.right - m_rcRect.left) : 0; }
UINT LxText::GetTextHeight() { return IsWindow() ? UINT(m_rcRect.bottom - m_rcRect.top) : 0; }

void LxText::OnPaint(HDC hdc) {
    if (!IsWindow()) return;
    const int width = int(GetTextWidth()), height = int(GetTextHeight());
    RECT area = {0, 0, width, height};
    const bool focused = IsFocus() == 1;
    const bool pushed = m_bButton == 1 && m_bPushed == 1;
    COLORREF textColour = focused ? m_crDataFocus : m_crDataNormal;
    SetBkMode(hdc, TRANSPARENT);

    lxpaint::FillSolid(hdc, area, pushed ? m_crPushBack : (focused ? m_crBaseFocus : m_crBaseNormal));
    if (!IsNegative(m_crCase)) lxpaint::DrawOutline(hdc, width, height, m_crCase);
    if (m_bButton == 1) {
        // A button's frame is two pixels wide.
        lxpaint::DrawOutline(hdc, width, height, m_crCase);
        lxpaint::DrawOutline(hdc, width, height, m_crCase, 1);
        if (m_bPushed == 1) textColour = m_crPushText;
    }
    SetTextColor(hdc, textColour);
    LxDrawText(hdc, m_szText, &area, m_dwStyle, kFontHeight);
}

LRESULT CALLBACK LxText::WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    return LxBindingWndProc<LxTextQueue, LxText>(hWnd, uMsg, wParam, lParam,
        [&](LxText* text, WNDPROC previous) { return text->Dispatch(hWnd, uMsg, wParam, lParam, previous); });
}

LRESULT LxText::Dispatch(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, WNDPROC previous) {
    switch (uMsg) {
    case WM_PAINT: OnPaintMessage(hWnd); break;
    case WM_SETFOCUS:
        OnFocusChange(TEXT("LxText - WM_SETFOCUS  \n"));
        break;
    case WM_KILLFOCUS:
        OnFocusChange(TEXT("LxText - WM_KILLFOCUS  \n"));
        break;
    case WM_ERASEBKGND: return 1;
    case WM_GETDLGCODE: return DLGC_WANTALLKEYS;
    case WM_MOUSEMOVE: return OnMouseMove();
    case WM_LBUTTONDOWN: OnButtonDown(); break;
    case WM_LBUTTONUP: OnButtonUp(); break;
    case WM_KEYDOWN: OnKeyDown(wParam); break;
    case WM_KEYUP:
        if (OnKeyUp(wParam)) return 1;
        break;
    default: break;
    }
    return LxPassOn(this, &LxText::OnWndProc, previous, hWnd, uMsg, wParam, lParam);
}

// The static class's own procedure comes after this on the pass-on path and finds nothing left to paint.
void LxText::OnPaintMessage(HWND hWnd) {
    PAINTSTRUCT paint;
    HDC hdc = BeginPaint(hWnd, &paint);
    OnPaint(hdc);
    EndPaint(hWnd, &paint);
}

void LxText::OnFocusChange(const WCHAR* pszTrace) {
    OutputDebugStringW(pszTrace);
    Repaint();
}

LRESULT LxText::OnMouseMove() {
    if (m_bButton) {
        ::SetFocus(m_hWnd);
        Repaint();
    }
    return 0;
}

void LxText::OnButtonDown() {
    ::SetFocus(m_hWnd);
    if (m_bButton) SetPushed(1);
}

void LxText::OnButtonUp() {
    if (!m_bButton) return;
    ::SetFocus(m_hWnd);
    SetPushed(0);
    PostCommand();
}

void LxText::OnKeyDown(WPARAM nKey) {
    PostParent(LXM_KEYDOWN, nKey, reinterpret_cast<LPARAM>(m_hWnd));
    if ((nKey == LxGetSelectKey() || nKey == VK_RETURN) && m_bButton == 1) SetPushed(1);
}

// True when the release was the control's own and must not reach the static class.
bool LxText::OnKeyUp(WPARAM nKey) {
    const LPARAM self = reinterpret_cast<LPARAM>(m_hWnd);
    HWND parent = GetParent(m_hWnd);
    PostParent(LXM_KEYUP, nKey, self);
    if (nKey == LxGetHomeKey()) {
        PostParent(LXM_HOMEKEY, 0, self);
        return true;
    }
    if (nKey == LxGetSelectKey()) {
        SetPushed(0);
        PostCommand();
        return true;
    }
    switch (nKey) {
    case VK_ESCAPE:
    case VK_BACK: PostParent(LXM_BACKKEY, 0, self); return true;
    case VK_RETURN:
        // A plain text hands Return on as a second key release; a button reports its press.
        if (m_bButton == 1) {
            SetPushed(0);
            PostCommand();
        } else {
            PostParent(LXM_KEYUP, VK_RETURN, self);
        }
        return true;
    case VK_LEFT:
    case VK_UP: FocusNeighbour(parent, TRUE); return true;
    case VK_RIGHT:
    case VK_DOWN: FocusNeighbour(parent, FALSE); return true;
    default: return false;
    }
}

// Without a tab stop to go to the focus stays here rather than leaving every window.
void LxText::FocusNeighbour(HWND parent, BOOL bPrevious) {
    if (HWND next = GetNextDlgTabItem(parent, m_hWnd, bPrevious)) ::SetFocus(next);
}

void LxText::SetPushed(int bPushed) {
    m_bPushed = bPushed;
    Repaint();
}

void LxText::Repaint() { InvalidateRect(m_hWnd, nullptr, TRUE); }

void LxText::PostParent(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    PostMessageW(GetParent(m_hWnd), uMsg, wParam, lParam);
}

void LxText::PostCommand() { PostParent(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(m_hWnd), 0), 0); }
