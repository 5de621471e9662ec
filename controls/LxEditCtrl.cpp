// The keypad text-entry control: creation of its three windows, the public operations, the outer window's
// painting and teardown, and the edit child's additions to the platform's editing (the byte-counted input
// limit during input-method composition, the key protocol, focus moves at the first and last line,
// select-all on focus and the description text).
#include "LxEditCtrl.h"

#include <cstring>

namespace {

constexpr int kTextCapacity = 1024;
constexpr WCHAR kClassName[] = TEXT("LXEDIT");
constexpr COLORREF kDefaultFrame = 0xAAAAAA;
constexpr UINT kEditFontHeight = 18;
constexpr UINT kDescFontHeight = 14;
// The teardown flush stops after this many messages, so that a window which never validates its paint
// cannot keep the destruction from ending.
constexpr int kFlushLimit = 100000;

HFONT MakeFont(UINT height) {
    LOGFONTW description;
    LxGetFillLogFont(&description, height);
    return CreateFontIndirectW(&description);
}

// Bytes of the text in the ANSI code page (a double-byte character counts two).
int AnsiLength(const WCHAR* text) {
    const int units = int(wcslen(text));
    return units ? WideCharToMultiByte(CP_ACP, 0, text, units, nullptr, 0, nullptr, nullptr) : 0;
}

} // namespace

LxEditCtrl::LxEditCtrl()
    : m_nCaretLine(0), m_nPrevLength(0), m_crDesc(0), m_szDescText{}, m_hEditFont(nullptr), m_hBrushFocus(nullptr),
      m_hBrushNormal(nullptr), m_crBaseNormal(0x272727), m_crBaseFocus(0x000000), m_crDataNormal(0x969696),
      m_crDataFocus(0xFFFFFF), m_hBaseWnd(nullptr), m_hEditWnd(nullptr), m_hParentWnd(nullptr), m_hDescWnd(nullptr),
      m_dwStyle(0), m_bBorder(0), m_lSavedUserData(0), m_pOldEditProc(nullptr), m_crCase(kDefaultFrame), m_nLimit(-1),
      m_hDescFont(nullptr) {
    SetBaseColor(0x272727, 0x000000);
}

LxEditCtrl::~LxEditCtrl() {
    Destroy();
    if (m_hBrushFocus) DeleteObject(m_hBrushFocus);
    if (m_hBrushNormal) DeleteObject(m_hBrushNormal);
}

// The identifier and instance stay in the interface; the three windows carry identifier 0.
HWND LxEditCtrl::CreateEdit(HWND hParent, HINSTANCE, unsigned int nID, RECT* pRect, unsigned long dwStyle) {
    if (!pRect) return nullptr;
    RECT rect = *pRect;
    return Create(dwStyle | WS_CHILD | WS_VISIBLE, rect, hParent, nID);
}

bool LxEditCtrl::RegisterWnd(HINSTANCE hInstance, const WCHAR* pszClassName) {
    WNDCLASSW windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = BaseProc;
    windowClass.hInstance = hInstance;
    windowClass.lpszClassName = pszClassName;
    return RegisterClassW(&windowClass) != 0;
}

HWND LxEditCtrl::Create(unsigned long dwStyle, RECT& rect, HWND hParent, unsigned int) {
    // Windows made earlier by this object would keep pointing at it; they go before new ones are made.
    Destroy();
    HINSTANCE library = LxGetLibraryModule();
    // Registered afresh for every control; once the class exists the call fails harmlessly.
    RegisterWnd(library, kClassName);
    m_hParentWnd = hParent;
    m_hBaseWnd = CreateWindowExW(0, kClassName, kClassName, WS_CHILD | WS_VISIBLE | WS_TABSTOP, rect.left, rect.top,
                                 rect.right - rect.left, rect.bottom - rect.top, hParent, nullptr, library, nullptr);
    m_dwStyle = dwStyle;

    RECT client = {0, 0, 0, 0};
    GetClientRect(m_hBaseWnd, &client);
    const int width = client.right, height = client.bottom;
    m_bBorder = (dwStyle & WS_BORDER) ? 1 : 0;
    const DWORD editStyle = DWORD(dwStyle & ~static_cast<unsigned long>(WS_BORDER));
    const int b = m_bBorder;

    // The outer window draws the frame and the two rows under its top edge; the edit fills the rest.
    const RECT edit = {b, b + 2, width - 2 * b + 1, height - 2 * b + 1};
    m_hEditWnd =
        CreateWindowExW(0, TEXT("EDIT"), nullptr, editStyle, edit.left, edit.top, edit.right - edit.left,
                        edit.bottom - edit.top, m_hBaseWnd, nullptr, library, nullptr);
    // The description sits two pixels in from the edit's left edge and is clipped by the edit.
    const RECT desc = {b + 2, b + 2, width - 2 * b + 51, height - 2 * b + 1};
    m_hDescWnd =
        CreateWindowExW(0, TEXT("STATIC"), nullptr, WS_CHILD, desc.left, desc.top, desc.right - desc.left,
                        desc.bottom - desc.top, m_hEditWnd, nullptr, library, nullptr);

    m_hEditFont = MakeFont(kEditFontHeight);
    SendMessageW(m_hEditWnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_hEditFont), TRUE);
    SetWindowPos(m_hEditWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    m_hDescFont = MakeFont(kDescFontHeight);
    SendMessageW(m_hDescWnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_hDescFont), TRUE);
    SetWindowPos(m_hDescWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    // The object goes into the user data before the procedure changes, so EditProc always finds it.
    if (m_hEditWnd) {
        SetWindowLongPtrW(m_hEditWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        m_pOldEditProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(m_hEditWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditProc)));
    }
    if (m_hBaseWnd)
        m_lSavedUserData = SetWindowLongPtrW(m_hBaseWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return m_hEditWnd;
}

void LxEditCtrl::SetDataColor(unsigned long crNormal, unsigned long crFocus) {
    m_crDataNormal = COLORREF(crNormal);
    m_crDataFocus = COLORREF(crFocus);
    InvalidateEdit();
}

void LxEditCtrl::SetBaseColor(unsigned long crNormal, unsigned long crFocus) {
    m_crBaseNormal = COLORREF(crNormal);
    m_crBaseFocus = COLORREF(crFocus);
    if (m_hBrushFocus) DeleteObject(m_hBrushFocus);
    if (m_hBrushNormal) DeleteObject(m_hBrushNormal);
    m_hBrushFocus = CreateSolidBrush(m_crBaseFocus);
    m_hBrushNormal = CreateSolidBrush(m_crBaseNormal);
    InvalidateEdit();
}

// The outer frame takes the new colour at its next paint.
void LxEditCtrl::SetCaseColor(unsigned long crColor) {
    m_crCase = COLORREF(crColor);
    if (IsWindow()) InvalidateEdit();
}

void LxEditCtrl::SetDescText(const WCHAR* pszText, unsigned long crColor) {
    std::memset(m_szDescText, 0, sizeof(m_szDescText));
    for (int i = 0; pszText && i < kTextCapacity - 1 && pszText[i]; ++i) m_szDescText[i] = pszText[i];
    m_crDesc = COLORREF(crColor);
}

void LxEditCtrl::SetText(const WCHAR* pszText) { SetWindowTextW(m_hEditWnd, pszText); }

void LxEditCtrl::SetText(const char* pszText) {
    WCHAR wide[kTextCapacity] = {};
    if (pszText) {
        const size_t bytes = std::strlen(pszText);
        mbstowcs(wide, pszText, bytes < size_t(kTextCapacity - 1) ? bytes : size_t(kTextCapacity - 1));
        wide[kTextCapacity - 1] = 0;
    }
    SetText(wide);
}

void LxEditCtrl::GetText(WCHAR* pszBuffer) {
    if (pszBuffer) GetWindowTextW(m_hEditWnd, pszBuffer, kTextCapacity - 1);
}

void LxEditCtrl::GetText(char* pszBuffer) {
    if (!pszBuffer) return;
    WCHAR wide[kTextCapacity] = {};
    GetWindowTextW(m_hEditWnd, wide, kTextCapacity - 1);
    const int bytes = WideCharToMultiByte(CP_ACP, 0, wide, -1, pszBuffer, int(2 * wcslen(wide) + 1), nullptr, nullptr);
    if (bytes <= 0) pszBuffer[0] = 0;
}

unsigned int LxEditCtrl::GetLength() {
    WCHAR wide[kTextCapacity] = {};
    GetWindowTextW(m_hEditWnd, wide, kTextCapacity - 1);
    return unsigned(AnsiLength(wide));
}

unsigned int LxEditCtrl::GetSelectStart() {
    DWORD start = 0, finish = 0;
    SendMessageW(m_hEditWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&finish));
    return start;
}

unsigned int LxEditCtrl::GetSelectFinish() {
    DWORD start = 0, finish = 0;
    SendMessageW(m_hEditWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&finish));
    return finish;
}

void LxEditCtrl::SetSelect(unsigned int nStart, unsigned int nEnd) {
    SendMessageW(m_hEditWnd, EM_SETSEL, nStart, LPARAM(nEnd));
}

int LxEditCtrl::GetLineMax() { return int(SendMessageW(m_hEditWnd, EM_GETLINECOUNT, 0, 0)); }

// The last line whose first character is not after the start of the caret's line.
int LxEditCtrl::GetLine() {
    const int current = int(SendMessageW(m_hEditWnd, EM_LINEINDEX, WPARAM(-1), 0));
    int result = 0;
    for (int i = 0; i < GetLineMax(); ++i) {
        const int temp = int(SendMessageW(m_hEditWnd, EM_LINEINDEX, WPARAM(i), 0));
        if (current >= temp) result = i;
        WCHAR line[kTextCapacity] = {};
        wsprintfW(line, TEXT("GetLine() -> Current - %d , Temp - %d\n"), current, temp);
        OutputDebugStringW(line);
    }
    return result;
}

void LxEditCtrl::SetLimitText(unsigned int nLimit) {
    m_nLimit = int(nLimit);
    SendMessageW(m_hEditWnd, EM_LIMITTEXT, nLimit, 0);
}

void LxEditCtrl::SetFocus() {
    ::SetFocus(m_hBaseWnd);
    ::SetFocus(m_hEditWnd);
}

int LxEditCtrl::IsFocus() { return m_hEditWnd && GetFocus() == m_hEditWnd ? 1 : 0; }

int LxEditCtrl::IsWindow() { return m_hEditWnd && ::IsWindow(m_hEditWnd) ? 1 : 0; }

// Destroying the outer window runs its teardown, which releases the fonts and the children; the later steps
// then find them gone. Fonts of a control whose outer window never existed are released here.
void LxEditCtrl::Destroy() {
    if (m_hBaseWnd && ::IsWindow(m_hBaseWnd)) DestroyWindow(m_hBaseWnd);
    if (m_hEditWnd && ::IsWindow(m_hEditWnd)) DestroyWindow(m_hEditWnd);
    if (m_hDescWnd && ::IsWindow(m_hDescWnd)) DestroyWindow(m_hDescWnd);
    m_hEditWnd = m_hBaseWnd = m_hDescWnd = nullptr;
    ReleaseFonts();
}

void LxEditCtrl::ReleaseFonts() {
    if (m_hEditFont) DeleteObject(m_hEditFont);
    if (m_hDescFont) DeleteObject(m_hDescFont);
    m_hEditFont = m_hDescFont = nullptr;
}

void LxEditCtrl::ShowEditBox(bool bShow) {
    ShowWindow(m_hBaseWnd, bShow ? SW_SHOWNORMAL : SW_HIDE);
    ShowWindow(m_hEditWnd, bShow ? SW_SHOWNORMAL : SW_HIDE);
}

LRESULT LxEditCtrl::FillClientArea(HDC hdc) {
    SetBkMode(hdc, TRANSPARENT);
    const bool focused = IsFocus() == 1;
    SetTextColor(hdc, focused ? m_crDataFocus : m_crDataNormal);
    return reinterpret_cast<LRESULT>(focused ? m_hBrushFocus : m_hBrushNormal);
}

void LxEditCtrl::InvalidateEdit() {
    if (m_hEditWnd) InvalidateRect(m_hEditWnd, nullptr, TRUE);
}

void LxEditCtrl::PostParent(UINT uMsg, WPARAM wParam) {
    PostMessageW(m_hParentWnd, uMsg, wParam, reinterpret_cast<LPARAM>(m_hEditWnd));
}

// Without a tab stop to go to the focus stays here rather than leaving every window.
void LxEditCtrl::FocusNeighbour(BOOL bPrevious) {
    if (HWND next = GetNextDlgTabItem(m_hParentWnd, m_hEditWnd, bPrevious)) ::SetFocus(next);
}

// ---- The outer window ------------------------------------------------------------------------------------

LRESULT CALLBACK LxEditCtrl::BaseProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<LxEditCtrl*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (!self) return 0;
    return self->BaseDispatch(hWnd, uMsg, wParam, lParam);
}

LRESULT LxEditCtrl::BaseDispatch(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC: return FillClientArea(reinterpret_cast<HDC>(wParam));
    case WM_COMMAND: OnBaseCommand(wParam); break;
    case WM_SETFOCUS:
        ::SetFocus(m_hEditWnd);
        InvalidateRect(hWnd, nullptr, TRUE);
        break;
    case WM_PAINT: OnBasePaint(hWnd); break;
    case WM_DESTROY: OnBaseDestroy(hWnd); return 0;
    default: break;
    }
    // What the outer window does not end itself goes to the procedure kept from its user data; the windows
    // made here keep none, so the default window procedure answers for them.
    if (m_lSavedUserData)
        return CallWindowProcW(reinterpret_cast<WNDPROC>(m_lSavedUserData), m_hParentWnd, uMsg, wParam, lParam);
    return DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

void LxEditCtrl::OnBaseCommand(WPARAM wParam) {
    switch (HIWORD(wParam)) {
    case EN_SETFOCUS:
        InvalidateRect(m_hBaseWnd, nullptr, TRUE);
        InvalidateEdit();
        break;
    case EN_KILLFOCUS: InvalidateEdit(); break;
    case EN_CHANGE:
        if (m_dwStyle & ES_MULTILINE) InvalidateEdit();
        break;
    default: break;
    }
}

bool LxEditCtrl::IsFocusedForPainting() {
    HWND focus = GetFocus();
    return focus && (focus == m_hEditWnd || focus == m_hDescWnd || focus == m_hBaseWnd);
}

// The background with a one-pixel frame; the two rows under the top edge, which the edit does not cover,
// get the background colour again after the frame pen has passed over them.
void LxEditCtrl::OnBasePaint(HWND hWnd) {
    PAINTSTRUCT paint;
    HDC hdc = BeginPaint(hWnd, &paint);
    RECT client;
    GetClientRect(hWnd, &client);
    const int w = client.right, h = client.bottom;
    const COLORREF colour = IsFocusedForPainting() ? m_crBaseFocus : m_crBaseNormal;
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(hdc, &client, brush);
    DeleteObject(brush);

    HPEN framePen = CreatePen(PS_SOLID, 1, m_crCase);
    HGDIOBJ previousPen = SelectObject(hdc, framePen);
    MoveToEx(hdc, 0, 0, nullptr);
    LineTo(hdc, 0, h - 1);
    LineTo(hdc, w - 1, h - 1);
    LineTo(hdc, w - 1, 0);
    LineTo(hdc, 0, 0);
    MoveToEx(hdc, 0, 1, nullptr);
    LineTo(hdc, w - 1, 1);
    LineTo(hdc, w - 1, 2);
    LineTo(hdc, 0, 2);

    HPEN backPen = CreatePen(PS_SOLID, 1, colour);
    SelectObject(hdc, backPen);
    MoveToEx(hdc, 1, 1, nullptr);
    LineTo(hdc, w - 1, 1);
    MoveToEx(hdc, 1, 2, nullptr);
    LineTo(hdc, w - 1, 2);

    SelectObject(hdc, previousPen);
    DeleteObject(framePen);
    DeleteObject(backPen);
    EndPaint(hWnd, &paint);
}

// Every message waiting for any window of the thread is handled before the children go; a quit request
// among them is taken out and posted again, so the application still ends.
void LxEditCtrl::OnBaseDestroy(HWND hWnd) {
    MSG msg;
    bool quit = false;
    WPARAM quitCode = 0;
    for (int handled = 0; handled < kFlushLimit && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++handled) {
        if (msg.message == WM_QUIT) {
            quit = true;
            quitCode = msg.wParam;
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (quit) PostQuitMessage(int(quitCode));
    ReleaseFonts();
    if (m_hEditWnd && ::IsWindow(m_hEditWnd)) DestroyWindow(m_hEditWnd);
    SetWindowLongPtrW(hWnd, GWLP_USERDATA, 0);
}

// ---- The edit child ---------------------------------------------------------------------------------------

LRESULT CALLBACK LxEditCtrl::EditProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<LxEditCtrl*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hWnd, uMsg, wParam, lParam);
    return self->EditDispatch(hWnd, uMsg, wParam, lParam);
}

LRESULT LxEditCtrl::EditDispatch(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    const bool textInput =
        uMsg == WM_CHAR || uMsg == WM_IME_ENDCOMPOSITION || uMsg == WM_IME_COMPOSITION || uMsg == WM_IME_CHAR;
    if (m_nLimit > 0 && textInput) {
        if (const int reason = OverLimitReason(hWnd, uMsg, wParam)) {
            WCHAR line[kTextCapacity] = {};
            wsprintfW(line, TEXT("LxEditCtrl - IME - OVER INPUT %d \n"), reason);
            OutputDebugStringW(line);
            return 1;
        }
    }
    switch (uMsg) {
    case WM_SETFOCUS: OnEditSetFocus(); break;
    case WM_KILLFOCUS: OnEditKillFocus(hWnd); break;
    case WM_ERASEBKGND: return OnEditEraseBackground(hWnd, reinterpret_cast<HDC>(wParam));
    case WM_KEYDOWN: PostParent(LXM_KEYDOWN, wParam); break;
    case WM_KEYUP:
        if (OnEditKeyUp(wParam)) return 1;
        m_nCaretLine = GetLine();
        break;
    case WM_CHAR:
        m_nPrevLength = int(GetLength());
        HideDescription();
        break;
    case WM_IME_STARTCOMPOSITION:
        m_nPrevLength = int(GetLength()) + 1;
        HideDescription();
        break;
    case WM_CTLCOLORSTATIC: return OnDescColour(reinterpret_cast<HDC>(wParam));
    default: break;
    }
    return CallWindowProcW(m_pOldEditProc, m_hEditWnd, uMsg, wParam, lParam);
}

// Why a character may not go in: 1 = a double-byte character with the text full, 2 = a double-byte
// character with one byte left, 5 = any other input with the text full. 0 lets it through. Backspace and
// input that replaces a selection always pass.
int LxEditCtrl::OverLimitReason(HWND hWnd, UINT uMsg, WPARAM wParam) {
    HIMC context = ImmGetContext(hWnd);
    LONG compositionBytes = ImmGetCompositionStringW(context, GCS_COMPSTR, nullptr, 0);
    ImmReleaseContext(hWnd, context);
    if ((uMsg == WM_CHAR || uMsg == WM_IME_CHAR) && wParam > 127) compositionBytes = 2;

    WCHAR text[kTextCapacity] = {};
    GetWindowTextW(hWnd, text, kTextCapacity);
    // The text's ANSI form never needs more than two bytes per unit; the count stops at the limit.
    char ansi[2 * kTextCapacity + 1] = {};
    const int room = m_nLimit < 2 * kTextCapacity ? m_nLimit : 2 * kTextCapacity;
    WideCharToMultiByte(CP_ACP, 0, text, int(wcslen(text)), ansi, room, nullptr, nullptr);
    const int n = int(std::strlen(ansi));

    DWORD start = 0, finish = 0;
    SendMessageW(hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&finish));
    if (start != finish) return 0;
    if (compositionBytes == 2) {
        if (n >= m_nLimit) return 1;
        if (n == m_nLimit - 1) return 2;
        return 0;
    }
    if (compositionBytes < 2 && !(uMsg == WM_CHAR && wParam == VK_BACK) && n == m_nLimit) return 5;
    return 0;
}

// The whole text is selected, so typing replaces it; an empty control shows its description.
void LxEditCtrl::OnEditSetFocus() {
    const unsigned int length = GetLength();
    if (length) SetSelect(length - 1, length);
    else SetSelect(0, 0);
    SetSelect(0, length);
    m_nPrevLength = int(length);
    if (length == 0) {
        SetWindowTextW(m_hDescWnd, m_szDescText);
        ShowWindow(m_hDescWnd, SW_SHOW);
    }
}

void LxEditCtrl::OnEditKillFocus(HWND hWnd) {
    HideDescription();
    InvalidateRect(GetParent(hWnd), nullptr, TRUE);
    SetSelect(0, 1);
    SetSelect(0, 0);
    InvalidateEdit();
}

LRESULT LxEditCtrl::OnEditEraseBackground(HWND hWnd, HDC hdc) {
    RECT client;
    GetClientRect(hWnd, &client);
    HBRUSH brush = CreateSolidBrush(IsFocus() ? m_crBaseFocus : m_crBaseNormal);
    FillRect(hdc, &client, brush);
    DeleteObject(brush);
    return 0;
}

// True when the release is the control's own and ends here.
bool LxEditCtrl::OnEditKeyUp(WPARAM nKey) {
    PostParent(LXM_KEYUP, nKey);
    if (nKey == LxGetHomeKey()) {
        PostParent(LXM_HOMEKEY, 0);
        return true;
    }
    switch (nKey) {
    case VK_ESCAPE: PostParent(LXM_BACKKEY, 0); return true;
    case VK_BACK: {
        // Back leaves the control only from a text that was already empty when the Backspace was typed.
        const int length = int(GetLength());
        if (length == 0 && m_nPrevLength == 0) PostParent(LXM_BACKKEY, 0);
        m_nPrevLength = length;
        if (length == 0) ShowWindow(m_hDescWnd, SW_SHOW);
        InvalidateEdit();
        return true;
    }
    case VK_UP:
        // The caret must already have been on the first line before this key to leave upwards.
        if (GetLine() <= 0 && m_nCaretLine <= 0) {
            FocusNeighbour(TRUE);
            return true;
        }
        InvalidateEdit();
        return false;
    case VK_DOWN: {
        const int line = GetLine();
        const int count = GetLineMax();
        if ((line + 1 >= count && GetLine() == m_nCaretLine) || count <= 0) {
            FocusNeighbour(FALSE);
            return true;
        }
        InvalidateEdit();
        return false;
    }
    case VK_RIGHT: HideDescription(); return false;
    case VK_LEFT:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT: InvalidateEdit(); return false;
    default: return false;
    }
}

LRESULT LxEditCtrl::OnDescColour(HDC hdc) {
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, m_crDesc);
    return reinterpret_cast<LRESULT>(m_hBrushFocus);
}

void LxEditCtrl::HideDescription() { ShowWindow(m_hDescWnd, SW_HIDE); }
