// DefWindowProcW and CallWindowProcW. CE's DefWindowProc does not end the application on WM_DESTROY; the
// pieces that need more defaults (an input method, the dialog manager) install handlers per message.
#include "user/WindowManager.h"

#include "internal/bridge.h"

#include <algorithm>

namespace cehost::user {

namespace {

struct DefProcScope {
    DefProcScope() { ++S().defProcSending; }
    ~DefProcScope() { --S().defProcSending; }
    DefProcScope(const DefProcScope&) = delete;
    DefProcScope& operator=(const DefProcScope&) = delete;
};

LRESULT OnWindowPosChanged(Window* w, const WINDOWPOS* pos) {
    if (!pos) return 0;
    if (!(pos->flags & kNoClientMove))
        Send(w, WM_MOVE, 0, MAKELPARAM(WORD(SHORT(w->rect.left + w->insets.left)), WORD(SHORT(w->rect.top + w->insets.top))));
    if (Alive(w) && !(pos->flags & kNoClientSize)) {
        const SIZE c = ClientSize(w);
        Send(w, WM_SIZE, SIZE_RESTORED, MAKELPARAM(c.cx, c.cy));
    }
    return 0;
}

LRESULT OnGetText(const Window* w, WPARAM max, LPWSTR buffer) {
    if (!buffer || max == 0) return 0;
    const size_t n = std::min(w->text.size(), size_t(max - 1));
    std::copy_n(w->text.data(), n, buffer);
    buffer[n] = 0;
    return LRESULT(n);
}

LRESULT OnSetText(Window* w, LPCWSTR text) {
    w->text = std::u16string(View(text));
    if ((w->style & WS_CAPTION) == WS_CAPTION) w->frameDirty = true;
    return TRUE;
}

LRESULT OnEraseBackground(Window* w, HDC hdc) {
    HBRUSH brush = w->cls->background;
    if (!brush) return 0;
    internal::FillSurface(hdc, ClientRectLocal(w), brush);
    return 1;
}

LRESULT OnPaint(HWND hwnd) {
    PAINTSTRUCT ps;
    BeginPaint(hwnd, &ps);
    EndPaint(hwnd, &ps);
    return 0;
}

LRESULT OnMouseActivate(Window* w, WPARAM wp, LPARAM lp) {
    // A child asks its parent first, so that a container can refuse activation for its controls.
    if ((w->style & WS_CHILD) && w->parent && w->parent != S().desktop) {
        const LRESULT r = Send(w->parent, WM_MOUSEACTIVATE, wp, lp);
        if (r) return r;
    }
    return MA_ACTIVATE;
}

LRESULT OnSetRedraw(Window* w, WPARAM redraw) {
    // As on Windows: only the visibility bit changes, nothing is hidden, shown or repainted.
    if (redraw)
        w->style |= WS_VISIBLE;
    else
        w->style &= ~DWORD(WS_VISIBLE);
    return 0;
}

} // namespace

} // namespace cehost::user

using namespace cehost::user;

extern "C" {

LRESULT WINAPI DefWindowProcW(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    State& s = S();
    if (!s.defProcHandlers.empty()) {
        auto it = s.defProcHandlers.find(msg);
        if (it != s.defProcHandlers.end() && it->second) {
            bool handled = false;
            const LRESULT r = it->second(hwnd, msg, wp, lp, &handled);
            if (handled) return r;
        }
    }
    Window* w = FromHandle(hwnd);
    if (!w) return 0;
    DefProcScope scope;
    switch (msg) {
    case WM_NCCREATE: return TRUE;
    case WM_SETTEXT: return OnSetText(w, reinterpret_cast<LPCWSTR>(lp));
    case WM_GETTEXT: return OnGetText(w, wp, reinterpret_cast<LPWSTR>(lp));
    case WM_GETTEXTLENGTH: return LRESULT(w->text.size());
    case WM_PAINT: return OnPaint(hwnd);
    case WM_ERASEBKGND: return OnEraseBackground(w, reinterpret_cast<HDC>(wp));
    case WM_WINDOWPOSCHANGED: return OnWindowPosChanged(w, reinterpret_cast<const WINDOWPOS*>(lp));
    case WM_ACTIVATE:
        if (LOWORD(wp) != WA_INACTIVE) SetFocusInternal(w);
        return 0;
    case WM_CLOSE: DestroyWindow(hwnd); return 0;
    case WM_SETREDRAW: return OnSetRedraw(w, wp);
    case WM_MOUSEACTIVATE: return OnMouseActivate(w, wp, lp);
    case WM_QUERYENDSESSION: return TRUE;
    case WM_GETICON: return reinterpret_cast<LRESULT>(w->cls->icon);
    default: return 0;
    }
}

LRESULT WINAPI CallWindowProcW(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (!proc) return 0;
    CallbackScope scope;
    return proc(hwnd, msg, wp, lp);
}

} // extern "C"

namespace cehost::internal {

void SetDefWindowProcHandler(UINT message, DefWindowProcHandler handler) {
    if (handler)
        user::S().defProcHandlers[message] = handler;
    else
        user::S().defProcHandlers.erase(message);
}

void SetKeyInputFilter(KeyInputFilter filter) { user::S().keyFilter = filter; }
void SetTranslateHook(TranslateHook hook) { user::S().translateHook = hook; }
void SetFocusChangeObserver(FocusChangeObserver observer) { user::S().focusObserver = observer; }

} // namespace cehost::internal
