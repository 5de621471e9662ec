// Window creation and destruction in the order CE applications see, the window tree and its relations,
// window longs, window text through WM_SETTEXT / WM_GETTEXT, and the dialog helpers built on the tree
// (control identifiers and tab order). Positions, painting and focus live in their own files.
#include "user/WindowManager.h"

#include <algorithm>

#ifndef ERROR_TLW_WITH_WSCHILD
#define ERROR_TLW_WITH_WSCHILD 1406L
#endif

namespace cehost::user {

bool IsTopLevel(const Window* w) { return w && w->parent == S().desktop; }

Window* Root(Window* w) {
    while (w && w->parent && w->parent != S().desktop) w = w->parent;
    return w;
}

bool IsDescendant(const Window* ancestor, const Window* w) {
    if (!ancestor || !w) return false;
    for (const Window* p = w->parent; p; p = p->parent)
        if (p == ancestor) return true;
    return false;
}

namespace {

// Children are kept topmost first. A new child goes to the bottom, so creation order is z-order from the top
// (what dialog tab order relies on); a new top-level window goes to the top of its band.
void Link(Window* parent, Window* w) {
    auto& kids = parent->children;
    if (parent != S().desktop) {
        kids.push_back(w);
        return;
    }
    auto pos = kids.begin();
    if (!(w->exStyle & WS_EX_TOPMOST))
        while (pos != kids.end() && ((*pos)->exStyle & WS_EX_TOPMOST)) ++pos;
    kids.insert(pos, w);
}

void Unlink(Window* w) {
    if (!w->parent) return;
    auto& kids = w->parent->children;
    kids.erase(std::remove(kids.begin(), kids.end(), w), kids.end());
}

void SendDestroy(Window* w) {
    w->destroying = true;
    Send(w, WM_DESTROY, 0, 0);
    if (!Alive(w)) return;
    std::vector<HWND> kids;
    for (Window* c : w->children) kids.push_back(c->handle);
    for (HWND h : kids)
        if (Window* c = FromHandle(h)) SendDestroy(c);
}

std::vector<HWND> Handles(const std::vector<Window*>& list) {
    std::vector<HWND> out;
    out.reserve(list.size());
    for (Window* w : list) out.push_back(w->handle);
    return out;
}

void EnumDescendants(Window* parent, std::vector<HWND>* out) {
    for (Window* c : parent->children) {
        out->push_back(c->handle);
        EnumDescendants(c, out);
    }
}

} // namespace

void FreeWindowTree(Window* w) {
    State& s = S();
    for (HWND h : Handles(w->children))
        if (Window* c = FromHandle(h)) FreeWindowTree(c);
    KillWindowTimers(w->handle);
    PurgeWindowMessages(w->handle);
    if (s.focus == w) s.focus = nullptr;
    if (s.active == w) s.active = nullptr;
    if (s.capture == w) s.capture = nullptr;
    for (Window* top : s.desktop->children)
        if (top->owner == w) top->owner = nullptr;
    Unlink(w);
    w->parent = nullptr;
    w->owner = nullptr;
    --w->cls->windows;
    ReleaseHandle(w);
}

} // namespace cehost::user

using namespace cehost::user;

extern "C" {

HWND WINAPI CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y,
                            int cx, int cy, HWND hParent, HMENU menu, HINSTANCE instance, LPVOID param) {
    State& s = S();
    CollectGarbage();
    auto cls = FindClass(className);
    if (!cls) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    Window* parent = s.desktop;
    Window* owner = nullptr;
    if (hParent && hParent != s.desktop->handle) {
        Window* p = Lookup(hParent);
        if (!p) return nullptr;
        // CE: an overlapped window with a parent is a child; a pop-up with a parent is owned by its top level.
        if ((style & WS_POPUP) && !(style & WS_CHILD)) {
            owner = Root(p);
        } else {
            style |= WS_CHILD;
            parent = p;
        }
    } else if (style & WS_CHILD) {
        if (!hParent) {
            SetLastError(ERROR_TLW_WITH_WSCHILD);
            return nullptr;
        }
        style &= ~DWORD(WS_CHILD);
    }
    const bool child = parent != s.desktop;
    const SIZE screen = ScreenSize();
    if (x == CW_USEDEFAULT) x = y = 0;
    if (cx == CW_USEDEFAULT) {
        cx = child ? 0 : screen.cx - x;
        cy = child ? 0 : screen.cy - y;
    }
    cx = std::max(cx, 0);
    cy = std::max(cy, 0);

    Window* w = NewWindow();
    if (!w) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    w->cls = cls;
    w->proc = cls->proc;
    w->style = style & ~DWORD(WS_VISIBLE);
    w->exStyle = exStyle;
    w->instance = instance;
    w->id = reinterpret_cast<LONG_PTR>(menu);
    w->extra.assign(size_t((cls->wndExtra + 3) / 4), 0);
    w->text = std::u16string(View(windowName));
    w->parent = parent;
    w->owner = owner;
    w->rect = RECT{x, y, x + cx, y + cy};
    w->insets = ComputeInsets(w->style, w->exStyle);
    ++cls->windows;
    Link(parent, w);
    const HWND handle = w->handle;

    CREATESTRUCTW cs{param, instance, menu, hParent, cy, cx, y, x, LONG(style), windowName, className, exStyle};
    const LRESULT created = Send(w, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs));
    if (!Alive(w)) return nullptr;
    if (created == -1) {
        // The window was refused: it is freed silently, without WM_DESTROY.
        FreeWindowTree(w);
        CollectGarbage();
        return nullptr;
    }
    const SIZE client = ClientSize(w);
    Send(w, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.cx, client.cy));
    if (!Alive(w)) return nullptr;
    Send(w, WM_MOVE, 0, MAKELPARAM(w->rect.left + w->insets.left, w->rect.top + w->insets.top));
    if (!Alive(w)) return nullptr;
    if (style & WS_VISIBLE) ShowWindowInternal(w, SW_SHOW);
    return FromHandle(handle) ? handle : nullptr;
}

BOOL WINAPI DestroyWindow(HWND hwnd) {
    State& s = S();
    Window* w = Lookup(hwnd);
    if (!w) return FALSE;
    if (w == s.desktop) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (w->destroying) return TRUE;
    {
        CallbackScope scope; // keeps destroyed windows in memory until the outermost call returns
        w->destroying = true;
        const bool child = !IsTopLevel(w);
        if (w->style & WS_VISIBLE) {
            if (child)
                ShowWindowInternal(w, SW_HIDE);
            else
                SetWindowPosInternal(w, nullptr, 0, 0, 0, 0,
                                     SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
        }
        if (Alive(w) && !child) {
            std::vector<HWND> owned;
            for (Window* top : s.desktop->children)
                if (top->owner == w) owned.push_back(top->handle);
            for (HWND h : owned) DestroyWindow(h);
        }
        auto focusInside = [&] { return s.focus && (s.focus == w || IsDescendant(w, s.focus)); };
        if (Alive(w) && child && focusInside()) SetFocusInternal(w->parent);
        if (Alive(w) && !child && s.active == w) ActivateOther(w);
        if (Alive(w) && focusInside()) SetFocusInternal(nullptr);
        if (Alive(w) && s.capture && (s.capture == w || IsDescendant(w, s.capture))) ReleaseCaptureInternal();
        if (Alive(w)) SendDestroy(w);
        if (Alive(w)) FreeWindowTree(w);
    }
    CollectGarbage();
    return TRUE;
}

BOOL WINAPI IsWindow(HWND hwnd) { return FromHandle(hwnd) != nullptr; }

BOOL WINAPI IsChild(HWND parent, HWND hwnd) {
    Window* p = FromHandle(parent);
    Window* w = FromHandle(hwnd);
    if (!p || !w) return FALSE;
    // Only the chain of child windows counts; owned windows are not children.
    for (Window* c = w; c && (c->style & WS_CHILD); c = c->parent)
        if (c->parent == p) return TRUE;
    return FALSE;
}

HWND WINAPI GetParent(HWND hwnd) {
    Window* w = Lookup(hwnd);
    if (!w || w == S().desktop) return nullptr;
    if (!IsTopLevel(w)) return w->parent->handle;
    return (w->style & WS_POPUP) ? H(w->owner) : nullptr;
}

HWND WINAPI GetDesktopWindow(void) { return S().desktop->handle; }

HWND WINAPI GetAncestor(HWND hwnd, UINT flags) {
    Window* w = Lookup(hwnd);
    if (!w || w == S().desktop) return nullptr;
    switch (flags) {
    case GA_PARENT: return H(w->parent);
    case GA_ROOT: return H(Root(w));
    case GA_ROOTOWNER: {
        Window* r = Root(w);
        while (r->owner) r = r->owner;
        return r->handle;
    }
    default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
    }
}

HWND WINAPI GetWindow(HWND hwnd, UINT cmd) {
    Window* w = Lookup(hwnd);
    if (!w) return nullptr;
    if (cmd == GW_CHILD) return w->children.empty() ? nullptr : w->children.front()->handle;
    if (cmd == GW_OWNER) return H(w->owner);
    if (cmd > GW_CHILD) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (!w->parent) return nullptr;
    const auto& sibs = w->parent->children;
    const auto it = std::find(sibs.begin(), sibs.end(), w);
    switch (cmd) {
    case GW_HWNDFIRST: return sibs.front()->handle;
    case GW_HWNDLAST: return sibs.back()->handle;
    case GW_HWNDNEXT: return (it + 1) == sibs.end() ? nullptr : (*(it + 1))->handle;
    default: return it == sibs.begin() ? nullptr : (*(it - 1))->handle;
    }
}

HWND WINAPI FindWindowW(LPCWSTR className, LPCWSTR windowName) {
    std::shared_ptr<WindowClass> cls;
    if (className) {
        cls = FindClass(className);
        if (!cls) {
            SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
            return nullptr;
        }
    }
    for (Window* w : S().desktop->children) {
        if (cls && w->cls != cls) continue;
        if (windowName && !EqualNoCase(w->text, View(windowName))) continue;
        return w->handle;
    }
    return nullptr;
}

BOOL WINAPI EnumWindows(WNDENUMPROC fn, LPARAM lp) { return EnumChildWindows(nullptr, fn, lp); }

BOOL WINAPI EnumChildWindows(HWND parent, WNDENUMPROC fn, LPARAM lp) {
    if (!fn) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::vector<HWND> list;
    if (!parent) {
        list = Handles(S().desktop->children);
    } else {
        Window* p = Lookup(parent);
        if (!p) return FALSE;
        EnumDescendants(p, &list);
    }
    for (HWND h : list) {
        if (!FromHandle(h)) continue;
        CallbackScope scope;
        if (!fn(h, lp)) break;
    }
    return TRUE;
}

LONG WINAPI GetWindowLongW(HWND hwnd, int index) {
    Window* w = Lookup(hwnd);
    if (!w) return 0;
    switch (index) {
    case GWL_WNDPROC: return reinterpret_cast<LONG>(w->proc);
    case GWL_HINSTANCE: return reinterpret_cast<LONG>(w->instance);
    case GWL_HWNDPARENT: return reinterpret_cast<LONG>(IsTopLevel(w) ? H(w->owner) : H(w->parent));
    case GWL_ID: return LONG(w->id);
    case GWL_STYLE: return LONG(w->style);
    case GWL_EXSTYLE: return LONG(w->exStyle);
    case GWL_USERDATA: return LONG(w->userData);
    default:
        if (index >= 0 && index % 4 == 0 && size_t(index / 4) < w->extra.size()) return LONG(w->extra[size_t(index / 4)]);
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
}

LONG WINAPI SetWindowLongW(HWND hwnd, int index, LONG value) {
    Window* w = Lookup(hwnd);
    if (!w) return 0;
    LONG old = 0;
    switch (index) {
    case GWL_WNDPROC:
        old = reinterpret_cast<LONG>(w->proc);
        w->proc = reinterpret_cast<WNDPROC>(value);
        return old;
    case GWL_HINSTANCE:
        old = reinterpret_cast<LONG>(w->instance);
        w->instance = reinterpret_cast<HINSTANCE>(value);
        return old;
    case GWL_HWNDPARENT:
        if (!IsTopLevel(w)) return reinterpret_cast<LONG>(H(w->parent));
        old = reinterpret_cast<LONG>(H(w->owner));
        if (Window* o = FromHandle(reinterpret_cast<HWND>(value)); o != w && (o == nullptr || Root(o) != w))
            w->owner = o ? Root(o) : nullptr;
        return old;
    case GWL_ID:
        old = LONG(w->id);
        w->id = value;
        return old;
    case GWL_STYLE:
    case GWL_EXSTYLE: {
        // The frame is not recalculated and nothing is repainted until SetWindowPos(SWP_FRAMECHANGED) or a
        // resize, as on Windows.
        DWORD& field = index == GWL_STYLE ? w->style : w->exStyle;
        STYLESTRUCT ss{field, DWORD(value)};
        Send(w, WM_STYLECHANGING, WPARAM(index), reinterpret_cast<LPARAM>(&ss));
        if (!Alive(w)) return 0;
        old = LONG(field);
        field = ss.styleNew;
        Send(w, WM_STYLECHANGED, WPARAM(index), reinterpret_cast<LPARAM>(&ss));
        return old;
    }
    case GWL_USERDATA:
        old = LONG(w->userData);
        w->userData = value;
        return old;
    default:
        if (index >= 0 && index % 4 == 0 && size_t(index / 4) < w->extra.size()) {
            old = LONG(w->extra[size_t(index / 4)]);
            w->extra[size_t(index / 4)] = value;
            return old;
        }
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
}

BOOL WINAPI SetWindowTextW(HWND hwnd, LPCWSTR text) {
    Window* w = Lookup(hwnd);
    if (!w) return FALSE;
    return Send(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) ? TRUE : FALSE;
}

int WINAPI GetWindowTextW(HWND hwnd, LPWSTR buffer, int max) {
    Window* w = Lookup(hwnd);
    if (!w) return 0;
    if (!buffer || max <= 0) return 0;
    buffer[0] = 0;
    return int(Send(w, WM_GETTEXT, WPARAM(max), reinterpret_cast<LPARAM>(buffer)));
}

int WINAPI GetWindowTextLengthW(HWND hwnd) {
    Window* w = Lookup(hwnd);
    if (!w) return 0;
    return int(Send(w, WM_GETTEXTLENGTH, 0, 0));
}

HWND WINAPI GetDlgItem(HWND dlg, int id) {
    Window* d = Lookup(dlg);
    if (!d) return nullptr;
    for (Window* c : d->children)
        if (int(c->id) == id) return c->handle;
    SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
    return nullptr;
}

int WINAPI GetDlgCtrlID(HWND hwnd) {
    Window* w = Lookup(hwnd);
    if (!w || IsTopLevel(w) || w == S().desktop) return 0;
    return int(w->id);
}

HWND WINAPI GetNextDlgTabItem(HWND dlg, HWND ctl, BOOL previous) {
    Window* d = Lookup(dlg);
    if (!d) return nullptr;
    // A control deeper in the tree counts as its ancestor among the dialog's children.
    Window* c = FromHandle(ctl);
    while (c && c->parent && c->parent != d) c = c->parent;
    if (c && c->parent != d) c = nullptr;
    const auto& kids = d->children;
    const int n = int(kids.size());
    if (n == 0) return ctl;
    int start = c ? int(std::find(kids.begin(), kids.end(), c) - kids.begin()) : (previous ? n : -1);
    for (int i = 1; i <= n; ++i) {
        const int idx = ((start + (previous ? -i : i)) % n + n) % n;
        Window* k = kids[size_t(idx)];
        if (k == c) continue;
        if ((k->style & (WS_TABSTOP | WS_VISIBLE | WS_DISABLED)) == (WS_TABSTOP | WS_VISIBLE)) return k->handle;
    }
    return ctl;
}

LRESULT WINAPI SendDlgItemMessageW(HWND dlg, int id, UINT msg, WPARAM wp, LPARAM lp) {
    HWND item = GetDlgItem(dlg, id);
    return item ? SendMessageW(item, msg, wp, lp) : 0;
}

BOOL WINAPI SetDlgItemTextW(HWND dlg, int id, LPCWSTR text) {
    HWND item = GetDlgItem(dlg, id);
    return item ? SetWindowTextW(item, text) : FALSE;
}

UINT WINAPI GetDlgItemTextW(HWND dlg, int id, LPWSTR buffer, int max) {
    if (buffer && max > 0) buffer[0] = 0;
    HWND item = GetDlgItem(dlg, id);
    return item ? UINT(GetWindowTextW(item, buffer, max)) : 0;
}

} // extern "C"
