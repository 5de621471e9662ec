// Keyboard focus, activation of top-level windows (with the last active owned window for
// SetForegroundWindow's h | 1 form), mouse capture and the enabled state.
#include "user/WindowManager.h"

namespace cehost::user {

namespace {

bool Disabled(const Window* w) {
    for (const Window* c = w; c && c != S().desktop; c = c->parent)
        if (c->style & WS_DISABLED) return true;
    return false;
}

bool CanActivate(const Window* w) {
    return w && !w->destroying && (w->style & WS_VISIBLE) && !(w->style & WS_DISABLED) &&
           !(w->exStyle & WS_EX_NOACTIVATE);
}

bool OwnedBy(const Window* w, const Window* owner) {
    for (const Window* o = w->owner; o; o = o->owner)
        if (o == owner) return true;
    return false;
}

Window* RootOwner(Window* w) {
    w = Root(w);
    while (w && w->owner) w = w->owner;
    return w;
}

} // namespace

HWND SetFocusInternal(Window* w) {
    State& s = S();
    if (w == s.focus) return H(s.focus);
    if (w) {
        if (Disabled(w)) return nullptr;
        Window* top = Root(w);
        if (s.active != top) {
            const HWND h = w->handle;
            Activate(top);
            w = FromHandle(h);
            if (!w) return nullptr;
        }
    }
    Window* previous = s.focus;
    const HWND previousHandle = H(previous);
    if (previous == w) return previousHandle;
    if (s.focusObserver) s.focusObserver(previousHandle, H(w));
    s.focus = w;
    if (Alive(previous)) Send(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(H(w)), 0);
    if (s.focus != w) return previousHandle; // the focus moved again meanwhile
    if (Alive(w)) Send(w, WM_SETFOCUS, reinterpret_cast<WPARAM>(previousHandle), 0);
    return previousHandle;
}

void Activate(Window* w) {
    State& s = S();
    if (w == s.active) return;
    Window* old = s.active;
    const HWND oldHandle = H(old);
    const HWND newHandle = H(w);
    s.active = w;
    if (w) {
        BringToTopInternal(w);
        if (Window* root = RootOwner(w)) root->lastActivePopup = newHandle;
    }
    if (Alive(old)) Send(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), reinterpret_cast<LPARAM>(newHandle));
    if (s.active != w) return;
    if (!w) {
        if (s.focus) SetFocusInternal(nullptr);
        return;
    }
    Send(w, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), reinterpret_cast<LPARAM>(oldHandle));
    // Whatever the window did with WM_ACTIVATE, the focus ends up inside the active window.
    if (Alive(w) && s.active == w && !(s.focus && Root(s.focus) == w)) SetFocusInternal(w);
}

void ActivateOther(Window* leaving) {
    State& s = S();
    Window* next = nullptr;
    if (leaving->owner && CanActivate(leaving->owner)) {
        next = leaving->owner;
    } else {
        for (Window* t : s.desktop->children)
            if (t != leaving && CanActivate(t) && !OwnedBy(t, leaving)) {
                next = t;
                break;
            }
    }
    Activate(next);
}

void ReleaseCaptureInternal() {
    State& s = S();
    Window* old = s.capture;
    s.capture = nullptr;
    if (Alive(old)) Send(old, WM_CAPTURECHANGED, 0, 0);
}

} // namespace cehost::user

using namespace cehost::user;

extern "C" {

HWND WINAPI SetFocus(HWND hwnd) {
    Window* w = nullptr;
    if (hwnd) {
        w = Lookup(hwnd);
        if (!w) return nullptr;
        if (w == S().desktop) return nullptr;
    }
    return SetFocusInternal(w);
}

HWND WINAPI GetFocus(void) { return H(S().focus); }

HWND WINAPI SetActiveWindow(HWND hwnd) {
    State& s = S();
    const HWND previous = H(s.active);
    Window* w = nullptr;
    if (hwnd) {
        w = Lookup(hwnd);
        if (!w || w == s.desktop) return nullptr;
        w = Root(w);
    }
    Activate(w);
    return previous;
}

HWND WINAPI GetActiveWindow(void) { return H(S().active); }

BOOL WINAPI SetForegroundWindow(HWND hwnd) {
    // CE: the handle with bit 0 set also brings forward the application's last active owned window.
    const uintptr_t value = reinterpret_cast<uintptr_t>(hwnd);
    const bool popups = (value & 1) != 0;
    Window* w = Lookup(reinterpret_cast<HWND>(value & ~uintptr_t(1)));
    if (!w) return FALSE;
    State& s = S();
    if (w == s.desktop) return FALSE;
    Window* target = Root(w);
    if (popups) {
        Window* last = FromHandle(RootOwner(target)->lastActivePopup);
        if (last && last != target && CanActivate(last)) target = last;
    }
    Activate(target);
    if (Alive(target)) BringToTopInternal(target);
    return TRUE;
}

HWND WINAPI GetForegroundWindow(void) { return H(S().active); }

HWND WINAPI GetLastActivePopup(HWND hwnd) {
    Window* w = Lookup(hwnd);
    if (!w) return nullptr;
    Window* root = Root(w);
    Window* last = FromHandle(root->lastActivePopup);
    if (last && last != root && OwnedBy(last, root) && CanActivate(last)) return last->handle;
    return root->handle;
}

HWND WINAPI SetCapture(HWND hwnd) {
    State& s = S();
    Window* w = Lookup(hwnd);
    if (!w) return nullptr;
    Window* old = s.capture;
    if (old == w) return hwnd;
    s.capture = w;
    if (Alive(old)) Send(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
    return H(old);
}

BOOL WINAPI ReleaseCapture(void) {
    ReleaseCaptureInternal();
    return TRUE;
}

HWND WINAPI GetCapture(void) { return H(S().capture); }

BOOL WINAPI EnableWindow(HWND hwnd, BOOL enable) {
    State& s = S();
    Window* w = Lookup(hwnd);
    if (!w) return FALSE;
    const BOOL wasDisabled = (w->style & WS_DISABLED) ? TRUE : FALSE;
    if (enable) {
        if (!wasDisabled) return FALSE;
        w->style &= ~DWORD(WS_DISABLED);
        Send(w, WM_ENABLE, TRUE, 0);
        return TRUE;
    }
    Send(w, WM_CANCELMODE, 0, 0);
    if (!Alive(w) || wasDisabled) return wasDisabled;
    w->style |= WS_DISABLED;
    // A disabled window can have neither the focus nor the capture.
    if (s.focus == w) SetFocusInternal(nullptr);
    if (Alive(w) && s.capture == w) ReleaseCaptureInternal();
    if (Alive(w)) Send(w, WM_ENABLE, FALSE, 0);
    return FALSE;
}

BOOL WINAPI IsWindowEnabled(HWND hwnd) {
    Window* w = FromHandle(hwnd);
    return w && !(w->style & WS_DISABLED) ? TRUE : FALSE;
}

} // extern "C"
