// The keypad chooser: items, selection and its steps, the subclassed "static" window with its key handling
// and notifications, and the painting of background, frame, text and arrows.
//
// Two choices of this control: deleting the selected item when it was the last one selects the new last
// item (the one the user would step to next), and an empty control paints its background and frame only,
// without text and without arrows, since there is nothing to step through.
#include "LxSpinCtrl.h"

#include "LxControlPaint.h"

namespace {

constexpr int kTextCapacity = 1024;
constexpr int kArrowWidth = 30;
constexpr COLORREF kFrameColour = 0xAAAAAA;
constexpr unsigned int kImageFocus = 9014;
constexpr unsigned int kImageNormal = 9015;
constexpr unsigned int kArrowLeftFocus = 9016;
constexpr unsigned int kArrowRightFocus = 9017;
constexpr unsigned int kArrowLeftNormal = 9018;
constexpr unsigned int kArrowRightNormal = 9019;
constexpr unsigned int kArrowLeftHeld = 9020;
constexpr unsigned int kArrowRightHeld = 9021;
constexpr UINT kCentred = 5; // DT_CENTER | DT_VCENTER
constexpr UINT kFontHeight = 18;

// Image codes 9014 to 9021 name the library's spin pictures 9961 to 9968; other codes are resource ids.
unsigned int ResourceOfCode(unsigned int code) { return code >= 9014 && code <= 9021 ? code - 9014 + 9961 : code; }

void CopyText(WCHAR (&to)[kTextCapacity], const WCHAR* from) {
    int i = 0;
    for (; from && i < kTextCapacity - 1 && from[i]; ++i) to[i] = from[i];
    for (; i < kTextCapacity; ++i) to[i] = 0;
}

bool SameText(const WCHAR* a, const WCHAR* b) {
    int i = 0;
    for (; a[i] && a[i] == b[i]; ++i) {}
    return a[i] == b[i];
}

} // namespace

LxSpinCtrl::LxSpinString::LxSpinString(int bCheck, unsigned int nImageNormal, unsigned int nImageFocus,
                                       unsigned long crNormal, unsigned long crFocus, const WCHAR* pszText)
    : m_bCheck(bCheck), m_nImageNormal(nImageNormal), m_nImageFocus(nImageFocus), m_crNormal(COLORREF(crNormal)),
      m_crFocus(COLORREF(crFocus)) {
    CopyText(m_szText, pszText);
}

void LxSpinCtrl::LxSpinString::SetCheck(int bCheck) { m_bCheck = bCheck; }

LxSpinCtrl::LxSpinCtrl()
    : m_hWnd(nullptr), m_bRotate(0), m_nSelect(-1), m_rcRect{0, 0, 0, 0}, m_bImageMode(0), m_crBaseNormal(0x272727),
      m_crBaseFocus(0x000000), m_nImageID{0, 0}, m_crDataNormal(0x969696), m_crDataFocus(0xFFFFFF),
      m_crCase(COLORREF(-1)), m_bLeftDown(0), m_bRightDown(0) {}

// A copy names the same window without being bound to it and holds records of its own.
LxSpinCtrl::LxSpinCtrl(const LxSpinCtrl& other) : LxSpinCtrl() { CopyFields(other); }

LxSpinCtrl& LxSpinCtrl::operator=(const LxSpinCtrl& other) {
    if (this != &other) {
        ReleaseItems();
        CopyFields(other);
    }
    return *this;
}

void LxSpinCtrl::CopyFields(const LxSpinCtrl& other) {
    m_hWnd = other.m_hWnd;
    m_bRotate = other.m_bRotate;
    m_nSelect = other.m_nSelect;
    m_rcRect = other.m_rcRect;
    m_bImageMode = other.m_bImageMode;
    m_crBaseNormal = other.m_crBaseNormal;
    m_crBaseFocus = other.m_crBaseFocus;
    m_nImageID[0] = other.m_nImageID[0];
    m_nImageID[1] = other.m_nImageID[1];
    m_crDataNormal = other.m_crDataNormal;
    m_crDataFocus = other.m_crDataFocus;
    m_crCase = other.m_crCase;
    m_bLeftDown = other.m_bLeftDown;
    m_bRightDown = other.m_bRightDown;
    for (int i = 0; i < other.m_Items.GetSize(); ++i) m_Items.Add(new LxSpinString(*other.m_Items.GetAt(i)));
}

LxSpinCtrl::~LxSpinCtrl() {
    DropWindow();
    ReleaseItems();
}

// Only the object the window is bound to (or a window bound to nobody) takes the window with it.
void LxSpinCtrl::DropWindow() {
    LxSpinCtrl* bound = LxSpinQueue::FindQueue(m_hWnd);
    if (bound == nullptr || bound == this) Destroy();
    m_hWnd = nullptr;
}

void LxSpinCtrl::ReleaseItems() {
    for (int i = 0; i < m_Items.GetSize(); ++i) delete m_Items.GetAt(i);
    m_Items.SetSize(0);
}

HWND LxSpinCtrl::CreateSpin(HWND hParent, HINSTANCE hInstance, unsigned int nID, RECT* pRect, unsigned long dwStyle) {
    if (!pRect) return nullptr;
    const RECT rect = *pRect;
    // One object, one window: a control made before goes first, so no binding is left behind for it.
    DropWindow();
    // The frame is the control's own painting, not the platform's border.
    if (dwStyle & WS_BORDER) {
        m_crCase = kFrameColour;
        dwStyle &= ~static_cast<unsigned long>(WS_BORDER);
    }
    WCHAR title[kTextCapacity] = {};
    wsprintfW(title, TEXT("%d"), int(nID));
    m_hWnd = CreateWindowExW(0, TEXT("static"), title, DWORD(dwStyle) | WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                             rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, hParent,
                             reinterpret_cast<HMENU>(UINT_PTR(nID)), hInstance, nullptr);
    if (!m_hWnd) return nullptr;
    m_rcRect = rect;
    LxSubClassing(m_hWnd, WndProc);
    SendMessageW(m_hWnd, LXM_BIND, reinterpret_cast<WPARAM>(this), 0);
    return m_hWnd;
}

int LxSpinCtrl::IsWindow() { return m_hWnd && ::IsWindow(m_hWnd) ? 1 : 0; }

void LxSpinCtrl::Destroy() {
    if (IsWindow()) DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
}

void LxSpinCtrl::SetFocus() {
    if (!IsWindow()) return;
    ::SetFocus(m_hWnd);
    Repaint();
}

int LxSpinCtrl::IsFocus() { return m_hWnd && GetFocus() == m_hWnd ? 1 : 0; }

LxSpinCtrl::LxSpinString* LxSpinCtrl::ItemAt(unsigned int nIndex) {
    const int index = static_cast<int>(nIndex);
    return IsWindow() && index >= 0 && index < m_Items.GetSize() ? m_Items.GetAt(index) : nullptr;
}

void LxSpinCtrl::Repaint() {
    if (IsWindow()) InvalidateRect(m_hWnd, nullptr, TRUE);
}

int LxSpinCtrl::AddItem(int bCheck, unsigned int nImageNormal, unsigned int nImageFocus, unsigned long crNormal,
                        unsigned long crFocus, const WCHAR* pszText) {
    if (!IsWindow()) return 0;
    const int count = m_Items.GetSize();
    m_Items.Add(new LxSpinString(bCheck, nImageNormal, nImageFocus, crNormal, crFocus, pszText));
    if (m_Items.GetSize() != count + 1) return 0;
    // The first item of a new or emptied control becomes the selection.
    if (m_nSelect >= 0 && count > 0) return 1;
    SetSelect(0);
    Repaint();
    return 1;
}

int LxSpinCtrl::AddItem(const WCHAR* pszText, int bCheck) {
    return AddItem(bCheck, kImageNormal, kImageFocus, m_crDataNormal, m_crDataFocus, pszText);
}

int LxSpinCtrl::SetItem(unsigned int nIndex, const WCHAR* pszText) {
    LxSpinString* item = ItemAt(nIndex);
    if (!item) return 0;
    CopyText(item->m_szText, pszText);
    return SameText(item->m_szText, pszText ? pszText : TEXT("")) ? 1 : 0;
}

int LxSpinCtrl::GetItem(unsigned int nIndex, WCHAR* pszBuffer) {
    LxSpinString* item = ItemAt(nIndex);
    if (!item || !pszBuffer) return 0;
    int i = 0;
    for (; item->m_szText[i]; ++i) pszBuffer[i] = item->m_szText[i];
    pszBuffer[i] = 0;
    return 1;
}

// The selection index stays as it is, so deleting an item before it shows the item that followed; only a
// selection left beyond the end moves back onto the new last item (or to none when the list is empty).
int LxSpinCtrl::DeleteItem(unsigned int nIndex) {
    LxSpinString* item = ItemAt(nIndex);
    if (!item) return 0;
    const int count = m_Items.GetSize();
    m_Items.RemoveAt(int(nIndex), 1);
    delete item;
    // The selection index stays and nothing repaints: the same index now names the item that followed. A
    // selection left past the end selects nothing; painting and the keys ignore it until SetSelect.
    return m_Items.GetSize() == count - 1 ? 1 : 0;
}

unsigned int LxSpinCtrl::GetCount() { return IsWindow() ? unsigned(m_Items.GetSize()) : 0; }

void LxSpinCtrl::SetSelect(int nIndex) {
    if (!IsWindow() || nIndex < 0 || nIndex >= int(GetCount())) return;
    m_nSelect = nIndex;
    Repaint();
}

int LxSpinCtrl::GetSelect() { return m_nSelect; }

void LxSpinCtrl::SetRotate(int bRotate) { m_bRotate = bRotate; }
int LxSpinCtrl::IsRotate() { return m_bRotate; }

void LxSpinCtrl::SetImage(unsigned int nNormal, unsigned int nFocus) {
    m_bImageMode = 1;
    m_nImageID[0] = nNormal;
    m_nImageID[1] = nFocus;
    Repaint();
}

void LxSpinCtrl::SetCheck(unsigned int nIndex, int bCheck) {
    LxSpinString* item = ItemAt(nIndex);
    if (!item) return;
    item->SetCheck(bCheck);
    Repaint();
}

int LxSpinCtrl::GetCheck(unsigned int nIndex) {
    LxSpinString* item = ItemAt(nIndex);
    return item ? item->m_bCheck : 0;
}

void LxSpinCtrl::SetDataColor(unsigned long crNormal, unsigned long crFocus) {
    m_crDataNormal = COLORREF(crNormal);
    m_crDataFocus = COLORREF(crFocus);
    Repaint();
}

void LxSpinCtrl::SetBaseColor(unsigned long crNormal, unsigned long crFocus) {
    m_crBaseNormal = COLORREF(crNormal);
    m_crBaseFocus = COLORREF(crFocus);
    Repaint();
}

void LxSpinCtrl::SetCaseColor(unsigned long crColor) {
    m_crCase = COLORREF(crColor);
    Repaint();
}

long LxSpinCtrl::OnWndProc(UINT, WPARAM, LPARAM, int*) { return 1; }

void LxSpinCtrl::OnKey(UINT nKey) {
    if (!IsWindow()) return;
    switch (nKey) {
    case VK_HOME: OnMoveHome(); break;
    case VK_END: OnMoveEnd(); break;
    case VK_LEFT: OnMoveLeft(); break;
    case VK_RIGHT: OnMoveRight(); break;
    default: break;
    }
}

void LxSpinCtrl::OnMoveHome() {
    if (!ItemAt(unsigned(m_nSelect))) return;
    m_nSelect = 0;
    Repaint();
}

void LxSpinCtrl::OnMoveEnd() {
    if (!ItemAt(unsigned(m_nSelect))) return;
    m_nSelect = int(GetCount()) - 1;
    Repaint();
}

void LxSpinCtrl::OnMoveLeft() {
    if (!ItemAt(unsigned(m_nSelect)) || GetCount() <= 1) return;
    if (m_bRotate == 0 && m_nSelect == 0) return;
    if (--m_nSelect < 0) SetSelect(int(GetCount()) - 1);
    Repaint();
}

void LxSpinCtrl::OnMoveRight() {
    if (!ItemAt(unsigned(m_nSelect)) || GetCount() <= 1) return;
    if (m_bRotate == 0 && m_nSelect + 1 >= int(GetCount())) return;
    if (++m_nSelect >= int(GetCount())) SetSelect(0);
    Repaint();
}

void LxSpinCtrl::GetAreaRect(int bLeft, RECT* pIn, RECT* pOut) {
    if (!IsWindow() || !pIn || !pOut) return;
    *pOut = *pIn;
    if (bLeft == 1) pOut->right = pOut->left + kArrowWidth;
    else pOut->left = pOut->right - kArrowWidth;
}

unsigned int LxSpinCtrl::GetSpinWidth() { return IsWindow() ? unsigned(m_rcRect.right - m_rcRect.left) : 0; }
unsigned int LxSpinCtrl::GetSpinHeight() { return IsWindow() ? unsigned(m_rcRect.bottom - m_rcRect.top) : 0; }

void LxSpinCtrl::DrawBitmap(HDC hdc, RECT* pRect, unsigned int nCode) {
    if (IsWindow() && pRect) lxpaint::DrawResourceBitmap(hdc, *pRect, ResourceOfCode(nCode));
}

void LxSpinCtrl::OnPaint(HDC hdc) {
    if (!IsWindow()) return;
    RECT client = {0, 0, int(GetSpinWidth()), int(GetSpinHeight())};
    const bool focused = IsFocus() == 1;
    const LxSpinString* item = ItemAt(unsigned(m_nSelect));

    unsigned int background = 0, left = kArrowLeftNormal, right = kArrowRightNormal;
    COLORREF textColour = m_crDataNormal;
    if (item) {
        background = focused ? item->m_nImageFocus : item->m_nImageNormal;
        textColour = focused && item->m_bCheck != 0 ? item->m_crFocus : item->m_crNormal;
    }
    if (focused) {
        left = kArrowLeftFocus;
        right = kArrowRightFocus;
    }
    if (m_bLeftDown == 1) left = kArrowLeftHeld;
    if (m_bRightDown == 1) right = kArrowRightHeld;

    SetTextColor(hdc, textColour);
    SetBkMode(hdc, TRANSPARENT);
    if (m_bImageMode == 1 && item) DrawBitmap(hdc, &client, background);
    else lxpaint::FillSolid(hdc, client, focused ? m_crBaseFocus : m_crBaseNormal);
    if (static_cast<INT32>(m_crCase) >= 0) lxpaint::DrawOutline(hdc, client.right, client.bottom, m_crCase);
    if (!item) return;
    LxDrawText(hdc, item->m_szText, &client, kCentred, kFontHeight);
    RECT arrow;
    GetAreaRect(1, &client, &arrow);
    DrawBitmap(hdc, &arrow, left);
    GetAreaRect(0, &client, &arrow);
    DrawBitmap(hdc, &arrow, right);
}

LRESULT CALLBACK LxSpinCtrl::WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    return LxBindingWndProc<LxSpinQueue, LxSpinCtrl>(hWnd, uMsg, wParam, lParam,
        [&](LxSpinCtrl* spin, WNDPROC previous) { return spin->Dispatch(hWnd, uMsg, wParam, lParam, previous); });
}

LRESULT LxSpinCtrl::Dispatch(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, WNDPROC previous) {
    switch (uMsg) {
    case WM_SETFOCUS: OnSetFocusMessage(); break;
    case WM_KILLFOCUS: OnKillFocusMessage(); break;
    case WM_PAINT: OnPaintMessage(hWnd); break;
    case WM_ERASEBKGND: return 1;
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP: SetFocus(); return 0;
    case WM_KEYDOWN: OnKeyDown(wParam); break;
    case WM_KEYUP:
        if (OnKeyUp(wParam)) return 1;
        break;
    default: break;
    }
    return LxPassOn(this, &LxSpinCtrl::OnWndProc, previous, hWnd, uMsg, wParam, lParam);
}

void LxSpinCtrl::OnPaintMessage(HWND hWnd) {
    PAINTSTRUCT paint;
    HDC hdc = BeginPaint(hWnd, &paint);
    OnPaint(hdc);
    EndPaint(hWnd, &paint);
}

void LxSpinCtrl::OnSetFocusMessage() {
    PostParent(LXM_SELCHANGE, WPARAM(m_nSelect), reinterpret_cast<LPARAM>(m_hWnd));
    OutputDebugStringW(TEXT("LxSpinCtrl - WM_SETFOCUS  \n"));
    Repaint();
}

void LxSpinCtrl::OnKillFocusMessage() {
    OutputDebugStringW(TEXT("LxSpinCtrl - WM_KILLFOCUS  \n"));
    Repaint();
}

void LxSpinCtrl::InvalidateArrow(int bLeft) {
    RECT client = {0, 0, int(GetSpinWidth()), int(GetSpinHeight())};
    RECT arrow;
    GetAreaRect(bLeft, &client, &arrow);
    InvalidateRect(m_hWnd, &arrow, TRUE);
}

// A held arrow only turns yellow; the step happens at the release.
void LxSpinCtrl::OnKeyDown(WPARAM nKey) {
    PostParent(LXM_KEYDOWN, nKey, reinterpret_cast<LPARAM>(m_hWnd));
    if (nKey == VK_LEFT) {
        m_bLeftDown = 1;
        m_bRightDown = 0;
        InvalidateArrow(1);
    } else if (nKey == VK_RIGHT) {
        m_bLeftDown = 0;
        m_bRightDown = 1;
        InvalidateArrow(0);
    }
}

// True when the release was the control's own and must not reach the static class.
bool LxSpinCtrl::OnKeyUp(WPARAM nKey) {
    if (m_bLeftDown == 1) {
        m_bLeftDown = 0;
        InvalidateArrow(1);
    }
    if (m_bRightDown == 1) {
        m_bRightDown = 0;
        InvalidateArrow(0);
    }
    const LPARAM self = reinterpret_cast<LPARAM>(m_hWnd);
    PostParent(LXM_KEYUP, nKey, self);
    if (nKey == LxGetHomeKey()) {
        PostParent(LXM_HOMEKEY, 0, self);
        return true;
    }
    if (nKey == LxGetSelectKey()) {
        NotifyCommandIfChecked();
        return true;
    }
    switch (nKey) {
    case VK_BACK:
    case VK_ESCAPE: PostParent(LXM_BACKKEY, 0, self); return true;
    case VK_RETURN: NotifyCommandIfChecked(); return true;
    case VK_HOME: OnMoveHome(); return false;
    case VK_END: OnMoveEnd(); return false;
    case VK_LEFT:
        OnMoveLeft();
        NotifySelChangeIfChecked();
        return false;
    case VK_RIGHT:
        OnMoveRight();
        NotifySelChangeIfChecked();
        return false;
    case VK_UP: FocusNeighbour(TRUE); return true;
    case VK_DOWN: FocusNeighbour(FALSE); return true;
    default: return false;
    }
}

void LxSpinCtrl::NotifyCommandIfChecked() {
    if (GetCheck(unsigned(GetSelect())) == 1) PostParent(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(m_hWnd), 0), 0);
}

// Posted even when the step did not move (an end of the list without rotation).
void LxSpinCtrl::NotifySelChangeIfChecked() {
    if (GetCheck(unsigned(GetSelect())) == 1)
        PostParent(LXM_SELCHANGE, WPARAM(GetSelect()), reinterpret_cast<LPARAM>(m_hWnd));
}

// Without a tab stop to go to the focus stays here rather than leaving every window.
void LxSpinCtrl::FocusNeighbour(BOOL bPrevious) {
    if (HWND next = GetNextDlgTabItem(GetParent(m_hWnd), m_hWnd, bPrevious)) ::SetFocus(next);
}

void LxSpinCtrl::PostParent(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    PostMessageW(GetParent(m_hWnd), uMsg, wParam, lParam);
}
