// The "static" class: text aligned by SS_LEFT/SS_CENTER/SS_RIGHT (word-wrapped) or SS_LEFTNOWORDWRAP, centred
// vertically with SS_CENTERIMAGE, in the colours its parent answers to WM_CTLCOLORSTATIC. The one-pixel
// WS_BORDER frame belongs to the window manager. Not implemented: SS_ICON and SS_BITMAP images (their text
// is not drawn either), SS_ETCHED frames, STN_DBLCLK.
#include "controls/ControlState.h"
#include "internal/user_hooks.h"
#include "controls/Painting.h"

namespace cehost::controls {

namespace {

struct StaticState {
    HFONT font = nullptr;
};

StateTable<StaticState>& Statics()
{
    static StateTable<StaticState> table;
    return table;
}

UINT TextFormat(DWORD style)
{
    UINT format = DT_EXPANDTABS;
    switch (style & 0x1F) {
    case SS_CENTER:
        format |= DT_CENTER | DT_WORDBREAK;
        break;
    case SS_RIGHT:
        format |= DT_RIGHT | DT_WORDBREAK;
        break;
    case SS_LEFTNOWORDWRAP:
        format |= DT_LEFT;
        break;
    default:
        format |= DT_LEFT | DT_WORDBREAK;
        break;
    }
    if (style & SS_NOPREFIX)
        format |= DT_NOPREFIX;
    if (style & SS_CENTERIMAGE)
        format = (format & ~DT_WORDBREAK) | DT_SINGLELINE | DT_VCENTER;
    return format;
}

void Draw(HWND hwnd, const StaticState& st, HDC hdc)
{
    RECT rc;
    GetClientRect(hwnd, &rc);
    HBRUSH brush = ControlColor(hwnd, hdc, WM_CTLCOLORSTATIC);
    FillRect(hdc, &rc, brush);
    DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    DWORD type = style & 0x1F;
    if (type == SS_ICON || type == SS_BITMAP)
        return;
    std::u16string text = WindowText(hwnd);
    if (text.empty())
        return;
    if (!IsWindowEnabled(hwnd))
        SetTextColor(hdc, SysColour(COLOR_GRAYTEXT));
    HGDIOBJ oldFont = SelectObject(hdc, FontOrDefault(st.font));
    DrawTextW(hdc, reinterpret_cast<LPCWSTR>(text.c_str()), -1, &rc, TextFormat(style));
    SelectObject(hdc, oldFont);
}

void OnLButtonUp(HWND hwnd)
{
    if (GetWindowLongW(hwnd, GWL_STYLE) & SS_NOTIFY)
        NotifyParentCommand(hwnd, GetParent(hwnd), STN_CLICKED);
}

LRESULT OnSetFont(HWND hwnd, StaticState& st, HFONT font, BOOL redraw)
{
    st.font = font;
    if (redraw)
        InvalidateRect(hwnd, nullptr, TRUE);
    return 0;
}

LRESULT CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE) {
        Statics().Create(hwnd);
        return 0;
    }
    StaticState* st = Statics().Find(hwnd);
    if (st == nullptr)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_DESTROY:
        Statics().Remove(hwnd);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    case WM_PAINT:
    case WM_PRINTCLIENT:
        PaintControl(hwnd, reinterpret_cast<HDC>(wParam),
                     [&](HDC hdc, const RECT&) { Draw(hwnd, *st, hdc); });
        return 0;
    case WM_ERASEBKGND:
        return 1; // painting fills the background in the parent's colour
    case WM_SETTEXT:
        return SetTextAndRedraw(hwnd, wParam, lParam);
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_SETFONT:
        return OnSetFont(hwnd, *st, reinterpret_cast<HFONT>(wParam), static_cast<BOOL>(lParam));
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(st->font);
    case WM_LBUTTONUP:
        OnLButtonUp(hwnd);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_STATIC;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace

void RegisterStaticClass()
{
    WNDCLASSW wc{};
    wc.style = CS_GLOBALCLASS;
    wc.lpfnWndProc = StaticProc;
    wc.lpszClassName = u"Static";
    cehost::internal::RegisterSystemClass(wc, 0x82);
}

} // namespace cehost::controls
