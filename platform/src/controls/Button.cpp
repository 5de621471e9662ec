// The "button" class: push buttons (BS_PUSHBUTTON, BS_DEFPUSHBUTTON) pressed by the stylus, Space or Return,
// reporting BN_CLICKED to the parent on release; check boxes and radio buttons keep and draw their check
// state (the automatic kinds toggle themselves). Not implemented: group boxes' frame caption, BS_OWNERDRAW
// (drawn as a push button), images, three-state drawing beyond a grey box.
#include "controls/ControlState.h"
#include "internal/user_hooks.h"
#include "controls/Painting.h"

namespace cehost::controls {

namespace {

struct ButtonState {
    HFONT font = nullptr;
    bool pushed = false;
    UINT check = BST_UNCHECKED;
};

StateTable<ButtonState>& Buttons()
{
    static StateTable<ButtonState> table;
    return table;
}

DWORD Type(HWND hwnd) { return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)) & BS_TYPEMASK; }

bool IsPushType(DWORD type) { return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_OWNERDRAW; }
bool IsCheckType(DWORD type)
{
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE;
}
bool IsRadioType(DWORD type) { return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON; }

void DrawPush(HWND hwnd, const ButtonState& bs, HDC hdc, RECT rc, DWORD type)
{
    COLORREF frame = SysColour(COLOR_WINDOWFRAME);
    if (bs.pushed) {
        HBRUSH pushed = SysBrush(COLOR_BTNSHADOW);
        FillRect(hdc, &rc, pushed);
        SetTextColor(hdc, SysColour(COLOR_BTNHIGHLIGHT));
    }
    FrameRectangle(hdc, rc, frame);
    if (type == BS_DEFPUSHBUTTON) {
        RECT inner = {rc.left + 1, rc.top + 1, rc.right - 1, rc.bottom - 1};
        FrameRectangle(hdc, inner, frame);
    }
    if (GetFocus() == hwnd) {
        RECT focus = {rc.left + 3, rc.top + 3, rc.right - 3, rc.bottom - 3};
        FrameRectangle(hdc, focus, SysColour(bs.pushed ? COLOR_BTNHIGHLIGHT : COLOR_BTNTEXT));
    }
    std::u16string text = WindowText(hwnd);
    DrawTextW(hdc, reinterpret_cast<LPCWSTR>(text.c_str()), -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void DrawCheck(HWND hwnd, const ButtonState& bs, HDC hdc, RECT rc, DWORD type)
{
    int box = 12;
    RECT mark = {rc.left + 1, rc.top + (rc.bottom - rc.top - box) / 2, 0, 0};
    mark.right = mark.left + box;
    mark.bottom = mark.top + box;
    FillRect(hdc, &mark, SysBrush(bs.pushed ? COLOR_BTNFACE : COLOR_WINDOW));
    FrameRectangle(hdc, mark, SysColour(COLOR_WINDOWFRAME));
    if (bs.check != BST_UNCHECKED) {
        RECT inside = {mark.left + 3, mark.top + 3, mark.right - 3, mark.bottom - 3};
        FillRect(hdc, &inside, SysBrush(bs.check == BST_CHECKED ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    }
    RECT label = {mark.right + 4, rc.top, rc.right, rc.bottom};
    std::u16string text = WindowText(hwnd);
    DrawTextW(hdc, reinterpret_cast<LPCWSTR>(text.c_str()), -1, &label, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    if (GetFocus() == hwnd)
        FrameRectangle(hdc, label, SysColour(COLOR_WINDOWTEXT));
}

void Draw(HWND hwnd, const ButtonState& bs, HDC hdc)
{
    RECT rc;
    GetClientRect(hwnd, &rc);
    HBRUSH brush = ControlColor(hwnd, hdc, IsPushType(Type(hwnd)) ? WM_CTLCOLORBTN : WM_CTLCOLORSTATIC);
    FillRect(hdc, &rc, brush);
    SetBkMode(hdc, TRANSPARENT);
    HGDIOBJ oldFont = SelectObject(hdc, FontOrDefault(bs.font));
    if (!IsWindowEnabled(hwnd))
        SetTextColor(hdc, SysColour(COLOR_GRAYTEXT));
    DWORD type = Type(hwnd);
    if (IsCheckType(type) || IsRadioType(type))
        DrawCheck(hwnd, bs, hdc, rc, type);
    else
        DrawPush(hwnd, bs, hdc, rc, type);
    SelectObject(hdc, oldFont);
}

void SetPushed(HWND hwnd, ButtonState& bs, bool pushed)
{
    if (bs.pushed == pushed)
        return;
    bs.pushed = pushed;
    InvalidateRect(hwnd, nullptr, TRUE);
}

void SetCheck(HWND hwnd, ButtonState& bs, UINT check)
{
    if (bs.check == check)
        return;
    bs.check = check;
    InvalidateRect(hwnd, nullptr, TRUE);
}

// A completed press: automatic kinds change their check first, then the parent hears of it.
void Click(HWND hwnd, ButtonState& bs)
{
    DWORD type = Type(hwnd);
    if (type == BS_AUTOCHECKBOX)
        SetCheck(hwnd, bs, bs.check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
    else if (type == BS_AUTO3STATE)
        SetCheck(hwnd, bs, (bs.check + 1) % 3);
    else if (type == BS_AUTORADIOBUTTON)
        SetCheck(hwnd, bs, BST_CHECKED);
    NotifyParentCommand(hwnd, GetParent(hwnd), BN_CLICKED);
}

bool IsPressKey(WPARAM key) { return key == VK_SPACE || key == VK_RETURN; }

void OnKeyDown(HWND hwnd, ButtonState& bs, WPARAM key)
{
    if (IsPressKey(key))
        SetPushed(hwnd, bs, true);
}

void OnKeyUp(HWND hwnd, ButtonState& bs, WPARAM key)
{
    if (!IsPressKey(key) || !bs.pushed)
        return;
    SetPushed(hwnd, bs, false);
    Click(hwnd, bs);
}

void OnLButtonDown(HWND hwnd, ButtonState& bs)
{
    if (GetFocus() != hwnd)
        SetFocus(hwnd);
    if (ButtonState* still = Buttons().Find(hwnd))
        SetPushed(hwnd, *still, true);
}

void OnLButtonUp(HWND hwnd, ButtonState& bs, LPARAM pos)
{
    if (!bs.pushed)
        return;
    SetPushed(hwnd, bs, false);
    RECT rc;
    GetClientRect(hwnd, &rc);
    POINT pt = {GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
    if (pt.x >= rc.left && pt.x < rc.right && pt.y >= rc.top && pt.y < rc.bottom)
        Click(hwnd, bs);
}

void OnFocus(HWND hwnd, ButtonState& bs, bool gained)
{
    if (!gained)
        bs.pushed = false;
    InvalidateRect(hwnd, nullptr, TRUE);
    if (GetWindowLongW(hwnd, GWL_STYLE) & BS_NOTIFY)
        NotifyParentCommand(hwnd, GetParent(hwnd), gained ? BN_SETFOCUS : BN_KILLFOCUS);
}

LRESULT OnGetDlgCode(HWND hwnd)
{
    DWORD type = Type(hwnd);
    if (type == BS_DEFPUSHBUTTON)
        return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    if (IsPushType(type))
        return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    if (IsRadioType(type))
        return DLGC_BUTTON | DLGC_RADIOBUTTON;
    return DLGC_BUTTON;
}

LRESULT OnSetStyle(HWND hwnd, DWORD style, BOOL redraw)
{
    DWORD old = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    DWORD now = (old & ~BS_TYPEMASK) | (style & BS_TYPEMASK);
    if (now != old)
        SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(now));
    if (redraw)
        InvalidateRect(hwnd, nullptr, TRUE);
    return 0;
}

LRESULT OnGetState(HWND hwnd, const ButtonState& bs)
{
    LRESULT state = bs.check;
    if (bs.pushed)
        state |= BST_PUSHED;
    if (GetFocus() == hwnd)
        state |= BST_FOCUS;
    return state;
}

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE) {
        Buttons().Create(hwnd);
        return 0;
    }
    ButtonState* bs = Buttons().Find(hwnd);
    if (bs == nullptr)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_DESTROY:
        Buttons().Remove(hwnd);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    case WM_PAINT:
    case WM_PRINTCLIENT:
        PaintControl(hwnd, reinterpret_cast<HDC>(wParam),
                     [&](HDC hdc, const RECT&) { Draw(hwnd, *bs, hdc); });
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_KEYDOWN:
        OnKeyDown(hwnd, *bs, wParam);
        return 0;
    case WM_KEYUP:
        OnKeyUp(hwnd, *bs, wParam);
        return 0;
    case WM_LBUTTONDOWN:
        OnLButtonDown(hwnd, *bs);
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp(hwnd, *bs, lParam);
        return 0;
    case WM_SETFOCUS:
        OnFocus(hwnd, *bs, true);
        return 0;
    case WM_KILLFOCUS:
        OnFocus(hwnd, *bs, false);
        return 0;
    case WM_GETDLGCODE:
        return OnGetDlgCode(hwnd);
    case WM_SETTEXT:
        return SetTextAndRedraw(hwnd, wParam, lParam);
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_SETFONT:
        bs->font = reinterpret_cast<HFONT>(wParam);
        if (lParam)
            InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(bs->font);
    case BM_CLICK:
        Click(hwnd, *bs);
        return 0;
    case BM_GETCHECK:
        return bs->check;
    case BM_SETCHECK:
        SetCheck(hwnd, *bs, static_cast<UINT>(wParam) & 3);
        return 0;
    case BM_GETSTATE:
        return OnGetState(hwnd, *bs);
    case BM_SETSTATE:
        SetPushed(hwnd, *bs, wParam != 0);
        return 0;
    case BM_SETSTYLE:
        return OnSetStyle(hwnd, static_cast<DWORD>(wParam), static_cast<BOOL>(lParam));
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace

void RegisterButtonClass()
{
    WNDCLASSW wc{};
    wc.style = CS_GLOBALCLASS | CS_DBLCLKS;
    wc.lpfnWndProc = ButtonProc;
    wc.lpszClassName = u"Button";
    cehost::internal::RegisterSystemClass(wc, 0x80);
}

} // namespace cehost::controls
