// Window geometry: frames, client areas, coordinates, visible regions with CE's implicit clipping, hit
// testing, z-order, SetWindowPos / MoveWindow / ShowWindow with their messages and repainting, visibility and
// enabled state. Moving a window repaints it at its new place (no bits are copied).
#include "user/WindowManager.h"
#include "internal/bridge.h"

#include <algorithm>

namespace cehost::user {

RECT ComputeInsets(DWORD style, DWORD exStyle) {
    int frame = 0;
    if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME))
        frame = kDlgFrame;
    else if (style & WS_BORDER)
        frame = kBorder;
    if (exStyle & WS_EX_CLIENTEDGE) frame += kEdge;
    if (exStyle & WS_EX_STATICEDGE) frame += 1;
    RECT r{frame, frame, frame, frame};
    if ((style & WS_CAPTION) == WS_CAPTION) r.top += kCaptionHeight;
    if (style & WS_VSCROLL) r.right += kScrollBar;
    if (style & WS_HSCROLL) r.bottom += kScrollBar;
    return r;
}

POINT WindowOriginScreen(const Window* w) {
    POINT o{w->rect.left, w->rect.top};
    for (const Window* p = w->parent; p; p = p->parent) {
        o.x += p->rect.left + p->insets.left;
        o.y += p->rect.top + p->insets.top;
    }
    return o;
}

POINT ClientOriginScreen(const Window* w) {
    POINT o = WindowOriginScreen(w);
    return POINT{o.x + w->insets.left, o.y + w->insets.top};
}

SIZE ClientSize(const Window* w) {
    return SIZE{std::max<LONG>(0, (w->rect.right - w->rect.left) - w->insets.left - w->insets.right),
                std::max<LONG>(0, (w->rect.bottom - w->rect.top) - w->insets.top - w->insets.bottom)};
}

RECT ClientRectLocal(const Window* w) {
    const SIZE s = ClientSize(w);
    return RECT{0, 0, s.cx, s.cy};
}

RECT WindowRectScreen(const Window* w) {
    const POINT o = WindowOriginScreen(w);
    return RECT{o.x, o.y, o.x + (w->rect.right - w->rect.left), o.y + (w->rect.bottom - w->rect.top)};
}

RECT ClientRectScreen(const Window* w) {
    const POINT o = ClientOriginScreen(w);
    const SIZE s = ClientSize(w);
    return RECT{o.x, o.y, o.x + s.cx, o.y + s.cy};
}

bool IsReallyVisible(const Window* w) {
    for (const Window* c = w; c; c = c->parent)
        if (!(c->style & WS_VISIBLE)) return false;
    return w != nullptr;
}

// CE clips every window as if it had WS_CLIPCHILDREN | WS_CLIPSIBLINGS: the visible part is the window's
// area, inside every ancestor's client area, minus the siblings above it (and above each ancestor) and minus
// its own children.
namespace {

Region ClippedArea(const Window* w, const RECT& area) {
    Region rgn(area);
    const Window* child = w;
    for (const Window* p = w->parent; p && !rgn.Empty(); child = p, p = p->parent) {
        rgn.Intersect(ClientRectScreen(p));
        for (const Window* sib : p->children) {
            if (sib == child) break;
            if (sib->style & WS_VISIBLE) rgn.Subtract(WindowRectScreen(sib));
        }
    }
    return rgn;
}

// The screen area a window occupies together with its children.
Region CoveredRegion(const Window* w) {
    if (!IsReallyVisible(w)) return Region();
    return ClippedArea(w, WindowRectScreen(w));
}

} // namespace

Region VisibleRegion(const Window* w, bool clientArea) {
    if (!IsReallyVisible(w)) return Region();
    Region rgn = ClippedArea(w, clientArea ? ClientRectScreen(w) : WindowRectScreen(w));
    for (const Window* c : w->children)
        if (c->style & WS_VISIBLE) rgn.Subtract(WindowRectScreen(c));
    return rgn;
}

namespace {

bool PtIn(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

// Disabled children take no stylus input: the point belongs to their parent.
Window* Descend(Window* w, POINT pt) {
    if (!PtIn(ClientRectScreen(w), pt)) return w;
    for (Window* c : w->children) {
        if (!(c->style & WS_VISIBLE) || !PtIn(WindowRectScreen(c), pt)) continue;
        if (c->style & WS_DISABLED) return w;
        return Descend(c, pt);
    }
    return w;
}

} // namespace

Window* HitTest(POINT pt) {
    for (Window* t : S().desktop->children)
        if ((t->style & WS_VISIBLE) && PtIn(WindowRectScreen(t), pt)) return Descend(t, pt);
    return nullptr;
}

bool Restack(Window* w, HWND after) {
    if (!w->parent) return false;
    auto& kids = w->parent->children;
    const auto oldIndex = std::find(kids.begin(), kids.end(), w) - kids.begin();
    const bool topLevel = w->parent == S().desktop;
    const DWORD oldEx = w->exStyle;
    Window* sibling = nullptr;
    if (after == HWND_TOPMOST) {
        if (topLevel) w->exStyle |= WS_EX_TOPMOST;
    } else if (after == HWND_NOTOPMOST) {
        if (topLevel) w->exStyle &= ~DWORD(WS_EX_TOPMOST);
    } else if (after == HWND_BOTTOM) {
        if (topLevel) w->exStyle &= ~DWORD(WS_EX_TOPMOST);
    } else if (after != HWND_TOP) {
        sibling = FromHandle(after);
        if (!sibling || sibling->parent != w->parent || sibling == w) return false;
    }
    kids.erase(kids.begin() + oldIndex);
    size_t pos = 0;
    if (sibling) {
        pos = size_t(std::find(kids.begin(), kids.end(), sibling) - kids.begin()) + 1;
    } else if (after == HWND_BOTTOM) {
        pos = kids.size();
    } else if (topLevel && !(w->exStyle & WS_EX_TOPMOST)) {
        while (pos < kids.size() && (kids[pos]->exStyle & WS_EX_TOPMOST)) ++pos;
    }
    kids.insert(kids.begin() + ptrdiff_t(pos), w);
    return ptrdiff_t(pos) != oldIndex || oldEx != w->exStyle;
}

namespace {

// Raises a window and repaints what was covered before and shows now.
void Raise(Window* w, HWND after) {
    const Region before = CoveredRegion(w);
    if (!Restack(w, after)) return;
    Region uncovered = CoveredRegion(w);
    uncovered.Subtract(before);
    InvalidateScreenArea(uncovered);
}

// GetClientRect and GetWindowRect: one of the window's rectangles, as `rectOf` gives it, into `rect`.
BOOL CopyWindowRect(HWND hwnd, LPRECT rect, RECT (*rectOf)(const Window*)) {
    Window* w = Lookup(hwnd);
    if (!w) return FALSE;
    if (!rect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *rect = rectOf(w);
    return TRUE;
}

} // namespace

void BringToTopInternal(Window* w) {
    Raise(w, HWND_TOP);
    if (IsTopLevel(w)) {
        // Owned windows stay above their owner, in their own order.
        std::vector<Window*> owned;
        for (Window* t : S().desktop->children)
            if (t->owner == w) owned.push_back(t);
        for (auto it = owned.rbegin(); it != owned.rend(); ++it) Raise(*it, HWND_TOP);
    }
}

// A window that stops showing what it drew takes the text it drew, and its descendants theirs, off the record
// of visible text; whatever appears instead is repainted.
static void DropTextTree(Window* w) {
    internal::WindowTextGone(w->handle);
    for (Window* c : w->children) DropTextTree(c);
}

BOOL SetWindowPosInternal(Window* w, HWND after, int x, int y, int cx, int cy, UINT flags) {
    State& s = S();
    if (w == s.desktop) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    const bool wasVisible = (w->style & WS_VISIBLE) != 0;
    if (wasVisible) flags &= ~UINT(SWP_SHOWWINDOW);
    else flags &= ~UINT(SWP_HIDEWINDOW);
    flags &= ~(kNoClientSize | kNoClientMove);

    WINDOWPOS pos{w->handle, after, x, y, cx, cy, flags};
    if (flags & SWP_NOMOVE) {
        pos.x = w->rect.left;
        pos.y = w->rect.top;
    }
    if (flags & SWP_NOSIZE) {
        pos.cx = w->rect.right - w->rect.left;
        pos.cy = w->rect.bottom - w->rect.top;
    }
    if (!(flags & SWP_NOSENDCHANGING)) {
        Send(w, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
        if (!Alive(w)) return FALSE;
        flags = pos.flags & ~(kNoClientSize | kNoClientMove);
    }
    pos.cx = std::max(pos.cx, 0);
    pos.cy = std::max(pos.cy, 0);

    const bool visibleBefore = IsReallyVisible(w);
    const Region oldArea = visibleBefore ? Region(WindowRectScreen(w)) : Region();
    const Region oldVisible = visibleBefore ? CoveredRegion(w) : Region();
    const POINT oldOrigin = WindowOriginScreen(w);
    const RECT oldRect = w->rect;
    const RECT oldInsets = w->insets;
    const SIZE oldClient = ClientSize(w);

    const bool zChanged = !(flags & SWP_NOZORDER) && Restack(w, pos.hwndInsertAfter);
    w->rect = RECT{pos.x, pos.y, pos.x + pos.cx, pos.y + pos.cy};
    if (!(flags & SWP_NOSIZE) || (flags & SWP_FRAMECHANGED)) w->insets = ComputeInsets(w->style, w->exStyle);
    if (flags & SWP_SHOWWINDOW) w->style |= WS_VISIBLE;
    if (flags & SWP_HIDEWINDOW) w->style &= ~DWORD(WS_VISIBLE);

    const SIZE newClient = ClientSize(w);
    if (newClient.cx == oldClient.cx && newClient.cy == oldClient.cy) flags |= kNoClientSize;
    if (oldRect.left + oldInsets.left == w->rect.left + w->insets.left &&
        oldRect.top + oldInsets.top == w->rect.top + w->insets.top)
        flags |= kNoClientMove;

    const bool visibleNow = IsReallyVisible(w);
    if (!visibleNow) ClearUpdateTree(w);
    const POINT origin = WindowOriginScreen(w);
    if (visibleBefore && (!visibleNow || origin.x != oldOrigin.x || origin.y != oldOrigin.y)) DropTextTree(w);
    if (!(flags & SWP_NOREDRAW)) {
        const POINT newOrigin = WindowOriginScreen(w);
        const bool moved = newOrigin.x != oldOrigin.x || newOrigin.y != oldOrigin.y;
        const bool frameChanged = !RectEqual(oldInsets, w->insets) || (flags & SWP_FRAMECHANGED);
        if (visibleNow && (!visibleBefore || moved || frameChanged)) {
            // Nothing is copied on the screen: a window that appears or moves is painted whole.
            InvalidateTree(w);
        } else if (visibleNow) {
            if (zChanged) {
                Region uncovered = CoveredRegion(w);
                uncovered.Subtract(oldVisible);
                InvalidateScreenArea(uncovered);
            }
            if (!(flags & kNoClientSize) || !RectEqual(oldRect, w->rect)) {
                const UINT cs = w->cls->style;
                const bool widthChanged = newClient.cx != oldClient.cx;
                const bool heightChanged = newClient.cy != oldClient.cy;
                const bool framed = oldInsets.left || oldInsets.top || oldInsets.right || oldInsets.bottom;
                // The newly exposed part needs painting (children included); the whole client area when the
                // class asks for it, or when a frame moved with the edge and left its old line inside.
                Region grown(WindowRectScreen(w));
                grown.Subtract(oldArea);
                InvalidateScreenArea(grown);
                if (((cs & CS_HREDRAW) && widthChanged) || ((cs & CS_VREDRAW) && heightChanged) || framed) {
                    InvalidateClient(w, nullptr, true);
                    w->frameDirty = framed;
                }
            }
        }
        if (!oldVisible.Empty()) {
            Region exposed = oldVisible;
            if (visibleNow) exposed.Subtract(WindowRectScreen(w));
            InvalidateScreenArea(exposed);
        }
    }

    pos.flags = flags;
    Send(w, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
    if (!Alive(w)) return TRUE;

    if (IsTopLevel(w)) {
        if ((flags & SWP_HIDEWINDOW) && s.active == w) ActivateOther(w);
        else if (!(flags & (SWP_NOACTIVATE | SWP_HIDEWINDOW)) && visibleNow && !(w->exStyle & WS_EX_NOACTIVATE))
            Activate(w);
    }
    return TRUE;
}

BOOL ShowWindowInternal(Window* w, int cmd) {
    State& s = S();
    const BOOL wasVisible = (w->style & WS_VISIBLE) ? TRUE : FALSE;
    const bool topLevel = IsTopLevel(w);
    switch (cmd) {
    case SW_HIDE:
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE: {
        // CE has no minimised state: minimising hides.
        if (!wasVisible) return FALSE;
        Send(w, WM_SHOWWINDOW, FALSE, 0);
        if (!Alive(w)) return wasVisible;
        SetWindowPosInternal(w, nullptr, 0, 0, 0, 0,
                             SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (Alive(w) && s.focus && (s.focus == w || IsDescendant(w, s.focus)))
            SetFocusInternal(topLevel ? nullptr : w->parent);
        return wasVisible;
    }
    case SW_SHOWNORMAL:
    case SW_SHOWMAXIMIZED:
    case SW_SHOWNOACTIVATE:
    case SW_SHOW:
    case SW_SHOWNA:
    case SW_RESTORE:
    case SW_SHOWDEFAULT: {
        const bool activate = cmd != SW_SHOWNA && cmd != SW_SHOWNOACTIVATE;
        if (wasVisible) {
            if (activate && cmd != SW_SHOW && topLevel && s.active != w) Activate(w);
            return TRUE;
        }
        Send(w, WM_SHOWWINDOW, TRUE, 0);
        if (!Alive(w)) return wasVisible;
        UINT flags = SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE;
        if (!topLevel) flags |= SWP_NOACTIVATE | SWP_NOZORDER;
        if (!activate) flags |= SWP_NOACTIVATE;
        SetWindowPosInternal(w, HWND_TOP, 0, 0, 0, 0, flags);
        return wasVisible;
    }
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return wasVisible;
    }
}

} // namespace cehost::user

using namespace cehost::user;

extern "C" {

BOOL WINAPI ShowWindow(HWND hwnd, int cmd) {
    Window* w = Lookup(hwnd);
    if (!w) return FALSE;
    if (w == S().desktop) return TRUE;
    return ShowWindowInternal(w, cmd);
}

BOOL WINAPI IsWindowVisible(HWND hwnd) {
    Window* w = FromHandle(hwnd);
    return w && IsReallyVisible(w) ? TRUE : FALSE;
}

BOOL WINAPI SetWindowPos(HWND hwnd, HWND after, int x, int y, int cx, int cy, UINT flags) {
    Window* w = Lookup(hwnd);
    if (!w) return FALSE;
    if (!(flags & SWP_NOZORDER) && after != HWND_TOP && after != HWND_BOTTOM && after != HWND_TOPMOST &&
        after != HWND_NOTOPMOST && !FromHandle(after)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return SetWindowPosInternal(w, after, x, y, cx, cy, flags);
}

BOOL WINAPI MoveWindow(HWND hwnd, int x, int y, int cx, int cy, BOOL repaint) {
    Window* w = Lookup(hwnd);
    if (!w) return FALSE;
    return SetWindowPosInternal(w, nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL WINAPI BringWindowToTop(HWND hwnd) {
    Window* w = Lookup(hwnd);
    if (!w) return FALSE;
    return SetWindowPosInternal(w, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

BOOL WINAPI GetClientRect(HWND hwnd, LPRECT rect) {
    return CopyWindowRect(hwnd, rect, ClientRectLocal);
}

BOOL WINAPI GetWindowRect(HWND hwnd, LPRECT rect) {
    return CopyWindowRect(hwnd, rect, WindowRectScreen);
}

BOOL WINAPI ClientToScreen(HWND hwnd, LPPOINT pt) {
    Window* w = Lookup(hwnd);
    if (!w || !pt) return FALSE;
    const POINT o = ClientOriginScreen(w);
    pt->x += o.x;
    pt->y += o.y;
    return TRUE;
}

BOOL WINAPI ScreenToClient(HWND hwnd, LPPOINT pt) {
    Window* w = Lookup(hwnd);
    if (!w || !pt) return FALSE;
    const POINT o = ClientOriginScreen(w);
    pt->x -= o.x;
    pt->y -= o.y;
    return TRUE;
}

int WINAPI MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
    POINT a{0, 0}, b{0, 0};
    if (from) {
        Window* w = Lookup(from);
        if (!w) return 0;
        a = ClientOriginScreen(w);
    }
    if (to) {
        Window* w = Lookup(to);
        if (!w) return 0;
        b = ClientOriginScreen(w);
    }
    const LONG dx = a.x - b.x, dy = a.y - b.y;
    for (UINT i = 0; points && i < count; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
    SetLastError(ERROR_SUCCESS); // a zero result is then unambiguous
    return int(MAKELONG(WORD(SHORT(dx)), WORD(SHORT(dy))));
}

BOOL WINAPI AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL, DWORD exStyle) {
    if (!rect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const RECT in = ComputeInsets(style, exStyle);
    rect->left -= in.left;
    rect->top -= in.top;
    rect->right += in.right;
    rect->bottom += in.bottom;
    return TRUE;
}

HWND WINAPI WindowFromPoint(POINT pt) { return H(HitTest(pt)); }

HWND WINAPI ChildWindowFromPoint(HWND parent, POINT pt) {
    Window* p = Lookup(parent);
    if (!p) return nullptr;
    const SIZE size = ClientSize(p);
    if (pt.x < 0 || pt.y < 0 || pt.x >= size.cx || pt.y >= size.cy) return nullptr;
    for (Window* c : p->children)
        if (pt.x >= c->rect.left && pt.x < c->rect.right && pt.y >= c->rect.top && pt.y < c->rect.bottom)
            return c->handle;
    return p->handle;
}

} // extern "C"
