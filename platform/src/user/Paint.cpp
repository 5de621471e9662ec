// Invalidation and painting: update regions in client coordinates with a sticky erase flag, WM_PAINT
// synthesised while a region is pending, BeginPaint / EndPaint on a DC that GDI creates for the visible part
// of the update region, frames drawn by the window manager, the desktop painted without messages, and
// GetWindowSurface, which tells GDI where a window may draw.
#include "internal/profile.h"
#include "user/WindowManager.h"

#include "internal/bridge.h"

namespace cehost::user {

namespace {

constexpr size_t kMaxUpdateRects = 32;

HBRUSH SysBrush(int color) { return reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(color + 1)); }

void AddUpdate(Window* w, const RECT& r) {
    w->update.Add(r);
    // Many small invalidations before a paint: painting their bounding box is cheaper than tracking them.
    if (w->update.Count() > kMaxUpdateRects) {
        const RECT b = w->update.Bounds();
        w->update.Clear();
        w->update.Add(b);
    }
}

bool HasFrame(const Window* w) { return w->insets.left || w->insets.top || w->insets.right || w->insets.bottom; }

internal::WindowSurface SurfaceFor(const Window* w, bool clientArea, const Region& visible) {
    internal::WindowSurface surface;
    surface.origin = clientArea ? ClientOriginScreen(w) : WindowOriginScreen(w);
    surface.visible.assign(visible.Rects().begin(), visible.Rects().end());
    return surface;
}

void InvalidateArea(Window* w, const Region& area, const RECT& bounds) {
    if (!(w->style & WS_VISIBLE)) return;
    RECT wr = WindowRectScreen(w);
    if (w != S().desktop && !RectIntersect(wr, bounds, nullptr)) return; // children lie inside their parent
    Region vis = VisibleRegion(w, false);
    vis.Intersect(area);
    if (!vis.Empty()) {
        Region client = vis;
        client.Intersect(ClientRectScreen(w));
        if (client.Area() < vis.Area()) w->frameDirty = true;
        const POINT o = ClientOriginScreen(w);
        for (const RECT& r : client.Rects()) AddUpdate(w, RectOffset(r, -o.x, -o.y));
        if (!client.Empty()) w->erasePending = true;
    }
    for (Window* c : w->children) InvalidateArea(c, area, bounds);
}

Window* FindPaint(Window* w, Window* filter) {
    if (!(w->style & WS_VISIBLE)) return nullptr;
    if (w->frameDirty && w->update.Empty()) DrawFrame(w);
    if (!w->update.Empty() && (!filter || w == filter || IsDescendant(filter, w))) return w;
    for (Window* c : w->children)
        if (Window* found = FindPaint(c, filter)) return found;
    return nullptr;
}

void PaintNow(Window* w) {
    if (!IsReallyVisible(w)) return;
    if (w == S().desktop) {
        PaintDesktop();
    } else {
        if (w->frameDirty && w->update.Empty()) DrawFrame(w);
        if (!w->update.Empty()) Send(w, WM_PAINT, 0, 0);
    }
    if (!Alive(w)) return;
    std::vector<HWND> kids;
    for (Window* c : w->children) kids.push_back(c->handle);
    for (HWND h : kids)
        if (Window* c = FromHandle(h)) PaintNow(c);
}

// The visible part of the update region, in screen coordinates.
Region PaintClip(const Window* w) {
    Region clip = w->update;
    const POINT o = ClientOriginScreen(w);
    clip.Offset(o.x, o.y);
    clip.Intersect(VisibleRegion(w, true));
    return clip;
}

} // namespace

void InvalidateClient(Window* w, const RECT* rect, bool erase) {
    const RECT client = ClientRectLocal(w);
    // Already wholly invalid, erase included (a list told its length once per row it gains): nothing changes.
    if (w->update.Count() == 1 && (w->erasePending || !erase) && RectEqual(w->update.Rects()[0], client)) return;
    if (!IsReallyVisible(w)) return; // hidden windows keep no update region: showing repaints them whole
    RECT r = client;
    if (rect && !RectIntersect(*rect, client, &r)) return;
    if (RectEmpty(r)) return;
    AddUpdate(w, r);
    if (erase) w->erasePending = true;
}

void InvalidateTree(Window* w) {
    if (!IsReallyVisible(w)) return;
    if (HasFrame(w)) w->frameDirty = true;
    InvalidateClient(w, nullptr, true);
    for (Window* c : w->children) InvalidateTree(c);
}

void InvalidateScreenArea(const Region& area) {
    if (area.Empty()) return;
    InvalidateArea(S().desktop, area, area.Bounds());
}

void ClearUpdateTree(Window* w) {
    w->update.Clear();
    w->erasePending = false;
    w->frameDirty = false;
    for (Window* c : w->children) ClearUpdateTree(c);
}

Window* FindWindowToPaint(Window* filter) {
    State& s = S();
    if (!s.desktop->update.Empty()) PaintDesktop();
    for (Window* t : s.desktop->children)
        if (Window* w = FindPaint(t, filter)) return w;
    return nullptr;
}

// The non-client frame in system colours: a black line for WS_BORDER, a dialog frame, the caption bar,
// sunken client edges and the scroll-bar strips. The caption's text is not drawn.
void DrawFrame(Window* w) {
    w->frameDirty = false;
    if (!HasFrame(w) || !IsReallyVisible(w)) return;
    Region frame = VisibleRegion(w, false);
    frame.Subtract(ClientRectScreen(w));
    if (frame.Empty()) return;
    HDC hdc = internal::CreateWindowSurfaceDC(w->handle, SurfaceFor(w, false, frame));
    if (!hdc) return;
    const LONG width = w->rect.right - w->rect.left;
    const LONG height = w->rect.bottom - w->rect.top;
    RECT r{0, 0, width, height};
    internal::FillSurface(hdc, r, SysBrush(COLOR_WINDOWFRAME));
    const RECT& in = w->insets;
    if ((w->style & WS_DLGFRAME) || (w->exStyle & WS_EX_DLGMODALFRAME))
        internal::FillSurface(hdc, RECT{1, 1, width - 1, height - 1}, SysBrush(COLOR_BTNFACE));
    if ((w->style & WS_CAPTION) == WS_CAPTION) {
        const LONG top = in.top - kCaptionHeight;
        internal::FillSurface(hdc, RECT{in.left, top, width - in.right, in.top}, SysBrush(COLOR_ACTIVECAPTION));
    }
    if (w->exStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE)) {
        const LONG e = (w->exStyle & WS_EX_CLIENTEDGE) ? kEdge : 1;
        const LONG sb = (w->style & WS_VSCROLL) ? kScrollBar : 0;
        const LONG hb = (w->style & WS_HSCROLL) ? kScrollBar : 0;
        internal::FillSurface(hdc, RECT{in.left - e, in.top - e, width - in.right + sb + e, height - in.bottom + hb + e},
                              SysBrush(COLOR_BTNSHADOW));
    }
    if (w->style & WS_VSCROLL)
        internal::FillSurface(hdc, RECT{width - in.right, in.top, width - in.right + kScrollBar, height - in.bottom},
                              SysBrush(COLOR_SCROLLBAR));
    if (w->style & WS_HSCROLL)
        internal::FillSurface(hdc, RECT{in.left, height - in.bottom, width - in.right, height - in.bottom + kScrollBar},
                              SysBrush(COLOR_SCROLLBAR));
    internal::ReleaseWindowSurfaceDC(hdc);
}

void PaintDesktop() {
    Window* d = S().desktop;
    const Region clip = PaintClip(d);
    d->update.Clear();
    d->erasePending = false;
    if (clip.Empty()) return;
    if (HDC hdc = internal::CreateWindowSurfaceDC(d->handle, SurfaceFor(d, true, clip))) {
        internal::FillSurface(hdc, ClientRectLocal(d), d->cls->background);
        internal::ReleaseWindowSurfaceDC(hdc);
    }
}

} // namespace cehost::user

namespace cehost::internal {

bool GetWindowSurface(HWND hwnd, bool clientArea, WindowSurface* out) {
    using namespace cehost::user;
    Window* w = FromHandle(hwnd);
    if (!w || !out) return false;
    *out = SurfaceFor(w, clientArea, VisibleRegion(w, clientArea));
    return true;
}

} // namespace cehost::internal

using namespace cehost::user;

extern "C" {

BOOL WINAPI InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
    if (!hwnd) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    Window* w = Lookup(hwnd);
    if (!w) return FALSE;
    InvalidateClient(w, rect, erase != FALSE);
    return TRUE;
}

BOOL WINAPI ValidateRect(HWND hwnd, const RECT* rect) {
    if (!hwnd) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    Window* w = Lookup(hwnd);
    if (!w) return FALSE;
    if (rect)
        w->update.Subtract(*rect);
    else
        w->update.Clear();
    if (w->update.Empty()) w->erasePending = false;
    return TRUE;
}

BOOL WINAPI GetUpdateRect(HWND hwnd, LPRECT rect, BOOL erase) {
    Window* w = Lookup(hwnd);
    if (!w) return FALSE;
    if (w->update.Empty()) {
        if (rect) *rect = RECT{0, 0, 0, 0};
        return FALSE;
    }
    if (rect) *rect = w->update.Bounds();
    if (erase && w->erasePending) {
        w->erasePending = false;
        HDC hdc = cehost::internal::CreateWindowSurfaceDC(hwnd, SurfaceFor(w, true, PaintClip(w)));
        cehost::internal::ProfileScope profile(cehost::sim::FramePart::Erase);
        Send(w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
        if (hdc) cehost::internal::ReleaseWindowSurfaceDC(hdc);
    }
    return TRUE;
}

BOOL WINAPI UpdateWindow(HWND hwnd) {
    Window* w = Lookup(hwnd);
    if (!w) return FALSE;
    PaintNow(w);
    return TRUE;
}

HDC WINAPI BeginPaint(HWND hwnd, LPPAINTSTRUCT ps) {
    Window* w = Lookup(hwnd);
    if (!w) return nullptr;
    if (!ps) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (w->frameDirty) DrawFrame(w);
    const Region clip = PaintClip(w);
    const bool erase = w->erasePending;
    w->update.Clear();
    w->erasePending = false;

    *ps = PAINTSTRUCT{};
    RECT box = clip.Bounds();
    if (!clip.Empty()) {
        const POINT o = ClientOriginScreen(w);
        box = RectOffset(box, -o.x, -o.y);
    }
    ps->rcPaint = box;
    HDC hdc = cehost::internal::CreateWindowSurfaceDC(hwnd, SurfaceFor(w, true, clip));
    ps->hdc = hdc;
    if (erase) {
        // A background left unerased (WM_ERASEBKGND answered 0) is the painter's job: fErase says so.
        cehost::internal::ProfileScope profile(cehost::sim::FramePart::Erase);
        ps->fErase = Send(w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0) ? FALSE : TRUE;
    }
    return hdc;
}

BOOL WINAPI EndPaint(HWND, const PAINTSTRUCT* ps) {
    if (!ps) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (ps->hdc) cehost::internal::ReleaseWindowSurfaceDC(ps->hdc);
    return TRUE;
}

} // extern "C"
