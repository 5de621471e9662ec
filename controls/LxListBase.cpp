// The keypad list over the platform list view. The list view moves, scrolls and hit-tests; this layer turns
// the ends of the list into wrap-around, reports keys to the parent and clicks its own selected row so that
// the list view's focus follows a selection made from code.
#include "LxListBase.h"

namespace {

constexpr DWORD kListStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_NOCOLUMNHEADER | LVS_OWNERDATA |
                             LVS_OWNERDRAWFIXED | LVS_SHOWSELALWAYS | LVS_SINGLESEL | LVS_REPORT;
constexpr UINT_PTR kClickTimer = 1;
constexpr UINT kClickDelay = 10;
constexpr COLORREF kEraseFill = RGB(39, 39, 39);

} // namespace

LxListBase::LxListBase()
    : m_hWnd(nullptr), m_crEraseColor(COLORREF(-1)), m_bRotate(0), m_nSelect(-1), m_rcSelect{0, 0, 0, 0},
      m_nCount(0), m_nItemHeight(26) {}

LxListBase::~LxListBase() { DropWindow(); }

// A copy names the same window without being bound to it; only the object the window is bound to (or a
// window bound to nobody) takes the window with it, so a copy going away or creating its own list leaves the
// original's list alone.
void LxListBase::DropWindow() {
    LxListBase* bound = LxListQueue::FindQueue(m_hWnd);
    if (bound == nullptr || bound == this) Destroy();
    m_hWnd = nullptr;
}

HWND LxListBase::CreateList(HWND hParent, HINSTANCE hInstance, UINT nID, RECT* pRect, UINT nItemHeight) {
    if (!pRect) return nullptr;
    // One object, one window: a list made before goes first, so no binding is left behind for it.
    DropWindow();
    m_nItemHeight = nItemHeight;
    // The list view class belongs to the common controls, which register it when first asked.
    const INITCOMMONCONTROLSEX classes = {sizeof(INITCOMMONCONTROLSEX), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&classes);
    const int width = pRect->right - pRect->left;
    m_hWnd = CreateWindowExW(0, WC_LISTVIEWW, nullptr, kListStyle, pRect->left, pRect->top, width,
                             pRect->bottom - pRect->top, hParent, reinterpret_cast<HMENU>(UINT_PTR(nID)),
                             hInstance, nullptr);
    if (!m_hWnd) return nullptr;

    const LRESULT extended = SendMessageW(m_hWnd, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    SendMessageW(m_hWnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, extended | LVS_EX_FULLROWSELECT | LVS_EX_NOHSCROLL);

    // The report view needs columns; they carry no text.
    const int widths[3] = {width, 40, 35};
    for (int column = 0; column < 3; ++column) {
        LVCOLUMNW format = {};
        format.mask = LVCF_FMT | LVCF_WIDTH;
        format.fmt = LVCFMT_LEFT;
        format.cx = widths[column];
        if (SendMessageW(m_hWnd, LVM_INSERTCOLUMNW, WPARAM(column), reinterpret_cast<LPARAM>(&format)) == -1) {
            m_hWnd = nullptr;
            return nullptr;
        }
    }

    LxSubClassing(m_hWnd, WndProc);
    SendMessageW(m_hWnd, LXM_BIND, reinterpret_cast<WPARAM>(this), 0);
    SetCount(m_nCount);
    const LONG style = GetWindowLongW(m_hWnd, GWL_STYLE);
    SetWindowLongW(m_hWnd, GWL_STYLE, style & ~LONG(WS_VSCROLL | WS_HSCROLL));
    return m_hWnd;
}

void LxListBase::Destroy() {
    if (IsWindow()) DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
}

int LxListBase::IsWindow() { return m_hWnd && ::IsWindow(m_hWnd) ? 1 : 0; }

void LxListBase::SetFocus() { ::SetFocus(m_hWnd); }

int LxListBase::IsFocus() { return m_hWnd && GetFocus() == m_hWnd ? 1 : 0; }

void LxListBase::SetCount(UINT nCount) {
    if (!IsWindow()) return;
    m_nCount = nCount;
    SendMessageW(m_hWnd, LVM_SETITEMCOUNT, nCount, 0);
}

UINT LxListBase::GetCount() { return m_nCount; }

void LxListBase::SetItemHeight(UINT nHeight) { m_nItemHeight = nHeight; }
UINT LxListBase::GetItemHeight() { return m_nItemHeight; }

void LxListBase::SetRotate(int bRotate) { m_bRotate = bRotate; }
int LxListBase::IsRotate() { return m_bRotate == 1 ? 1 : 0; }

// The row is selected and scrolled into view now; ten milliseconds later the list clicks it, which moves the
// list view's keyboard focus there. m_nSelect follows when the row is drawn selected.
void LxListBase::SetSelect(int nIndex) {
    if (!IsWindow() || nIndex < 0 || nIndex >= int(m_nCount)) return;
    LVITEMW item = {};
    item.state = LVIS_SELECTED;
    item.stateMask = LVIS_SELECTED;
    SendMessageW(m_hWnd, LVM_SETITEMSTATE, WPARAM(nIndex), reinterpret_cast<LPARAM>(&item));
    SendMessageW(m_hWnd, LVM_ENSUREVISIBLE, WPARAM(nIndex), 1);
    SetTimer(m_hWnd, kClickTimer, kClickDelay, nullptr);
}

int LxListBase::GetSelect() { return m_nSelect; }

void LxListBase::SetEraseBackgroundColor(COLORREF crColor) {
    m_crEraseColor = crColor;
    if (IsWindow()) InvalidateRect(m_hWnd, nullptr, TRUE);
}

int LxListBase::OnMeasureitem(UINT, LPARAM lParam) {
    auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (measure && measure->CtlType == ODT_LISTVIEW) measure->itemHeight = m_nItemHeight;
    return 1;
}

int LxListBase::OnDrawitem(UINT, LPARAM lParam) {
    if (!IsWindow()) return 0;
    auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
    if (draw && draw->CtlType == ODT_LISTVIEW && (draw->itemState & ODS_SELECTED)) {
        m_nSelect = int(draw->itemID);
        m_rcSelect = draw->rcItem;
    }
    return 1;
}

long LxListBase::OnWndProc(UINT, WPARAM, LPARAM, int*) { return 1; }

void LxListBase::OnKey(UINT nKey) {
    if (!IsWindow()) return;
    switch (nKey) {
    case VK_UP: OnMoveUp(); break;
    case VK_DOWN: OnMoveDown(); break;
    case VK_HOME: OnMoveHome(); break;
    case VK_END: OnMoveEnd(); break;
    case VK_PRIOR: OnMovePageUp(); break;
    case VK_NEXT: OnMovePageDown(); break;
    default: break;
    }
}

// The moves are posted to the list view as keys, so they take effect after the current message.
void LxListBase::OnMoveUp() {
    if (!IsWindow() || m_nCount == 0) return;
    if (m_nSelect < 0 || (m_bRotate == 1 && m_nSelect == 0)) OnMoveEnd();
    else PostMessageW(m_hWnd, WM_KEYDOWN, VK_UP, 0);
}

void LxListBase::OnMoveDown() {
    if (!IsWindow() || m_nCount == 0) return;
    if (m_nSelect < 0 || (m_bRotate == 1 && m_nSelect + 1 >= int(m_nCount))) OnMoveHome();
    else PostMessageW(m_hWnd, WM_KEYDOWN, VK_DOWN, 0);
}

void LxListBase::OnMoveHome() {
    if (IsWindow()) PostMessageW(m_hWnd, WM_KEYDOWN, VK_HOME, 0);
}

void LxListBase::OnMoveEnd() {
    if (IsWindow()) PostMessageW(m_hWnd, WM_KEYDOWN, VK_END, 0);
}

void LxListBase::OnMovePageUp() {
    if (IsWindow() && m_nCount != 0) PostMessageW(m_hWnd, WM_KEYDOWN, VK_PRIOR, 0);
}

void LxListBase::OnMovePageDown() {
    if (IsWindow() && m_nCount != 0) PostMessageW(m_hWnd, WM_KEYDOWN, VK_NEXT, 0);
}

LRESULT CALLBACK LxListBase::WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    return LxBindingWndProc<LxListQueue, LxListBase>(hWnd, uMsg, wParam, lParam,
        [&](LxListBase* list, WNDPROC previous) { return list->Dispatch(hWnd, uMsg, wParam, lParam, previous); });
}

LRESULT LxListBase::Dispatch(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, WNDPROC previous) {
    switch (uMsg) {
    case WM_ERASEBKGND: return OnEraseBackground(reinterpret_cast<HDC>(wParam));
    case WM_GETDLGCODE: return DLGC_WANTALLKEYS;
    case WM_CHAR: return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP: ::SetFocus(hWnd); break;
    case WM_TIMER: OnTimer(wParam); break;
    case WM_KEYDOWN: OnKeyDown(wParam); break;
    case WM_KEYUP:
        if (OnKeyUp(wParam)) return 1;
        break;
    default: break;
    }
    return LxPassOn(this, &LxListBase::OnWndProc, previous, hWnd, uMsg, wParam, lParam);
}

// Only non-negative erase colours paint, and always in the list's own dark grey.
LRESULT LxListBase::OnEraseBackground(HDC hdc) {
    if (static_cast<INT32>(m_crEraseColor) >= 0) {
        RECT client;
        GetClientRect(m_hWnd, &client);
        HBRUSH brush = CreateSolidBrush(kEraseFill);
        FillRect(hdc, &client, brush);
        DeleteObject(brush);
    }
    return 1;
}

void LxListBase::OnTimer(WPARAM nTimer) {
    if (nTimer != kClickTimer) return;
    KillTimer(m_hWnd, kClickTimer);
    const LPARAM point = MAKELPARAM(m_rcSelect.left + 1, m_rcSelect.top + 1);
    PostMessageW(m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(m_hWnd, WM_LBUTTONUP, MK_LBUTTON, point);
}

// At the first or last row the list view does not move; the posted end key then takes the selection round.
void LxListBase::OnKeyDown(WPARAM nKey) {
    PostParent(LXM_KEYDOWN, nKey);
    if (GetFocus() != m_hWnd || m_nCount < 2) return;
    if (nKey == VK_UP && (m_nSelect < 0 || (m_bRotate == 1 && m_nSelect <= 0))) OnMoveEnd();
    else if (nKey == VK_DOWN && (m_nSelect < 0 || (m_bRotate == 1 && m_nSelect + 1 >= int(m_nCount)))) OnMoveHome();
}

// True when the release was the list's own and must not reach the list view.
bool LxListBase::OnKeyUp(WPARAM nKey) {
    PostParent(LXM_KEYUP, nKey);
    if (nKey == VK_ESCAPE || nKey == VK_BACK) {
        PostParent(LXM_BACKKEY, 0);
        return true;
    }
    if (nKey == LxGetHomeKey()) {
        PostParent(LXM_HOMEKEY, 0);
        return true;
    }
    return false;
}

void LxListBase::PostParent(UINT uMsg, WPARAM wParam) {
    PostMessageW(GetParent(m_hWnd), uMsg, wParam, reinterpret_cast<LPARAM>(m_hWnd));
}
