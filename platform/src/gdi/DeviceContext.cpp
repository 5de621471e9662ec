// Device contexts: the screen DC, window DCs (through the window manager's surfaces), memory DCs; selection,
// SaveDC/RestoreDC, the DC's colours and modes, clip regions made of rectangles.
#include "gdi/GdiObjects.h"
#include "internal/bridge.h"
#include "internal/profile.h"

#include <type_traits>
#include <utility>

namespace cehost::gdi {

Surface* DeviceContext::Target() const {
    if (type != DcType::Memory) return PayScreenRows(), &Screen();
    Bitmap* b = LookupBitmap(state.bitmap);
    return b ? &b->surface : nullptr;
}

Surface* DeviceContext::WritableTarget() const {
    if (type != DcType::Memory) return PayScreenRows(), &Screen();
    Bitmap* b = LookupBitmap(state.bitmap);
    if (!b) return nullptr;
    b->MakeWritable();
    return &b->surface;
}

namespace {
// The surface a DC draws on, for its size only: the screen's owed rows stay owed.
const Surface* Measured(const DeviceContext* dc) { return dc->type == DcType::Memory ? dc->Target() : &Screen(); }
} // namespace

const std::vector<RECT>& DeviceContext::Clip() {
    // The screen can change size (rotation), so window and screen DCs recompute when its bounds are not those
    // the clip was worked out against.
    const Surface* s = Measured(this);
    RECT bounds{0, 0, s ? s->width : 0, s ? s->height : 0};
    if (clipValid && (type == DcType::Memory || (bounds.right == clipBounds.right && bounds.bottom == clipBounds.bottom)))
        return clip;
    clipBounds = bounds;
    clip.clear();
    if (visibleIsWholeSurface) {
        clip.push_back(bounds);
    } else {
        for (const RECT& r : visible) {
            RECT i = Intersect(r, bounds);
            if (!IsEmpty(i)) clip.push_back(i);
        }
    }
    if (state.userClip) {
        std::vector<RECT> user;
        for (const RECT& r : *state.userClip)
            user.push_back({r.left + origin.x, r.top + origin.y, r.right + origin.x, r.bottom + origin.y});
        clip = IntersectLists(clip, user);
    }
    clipValid = true;
    return clip;
}

namespace {

// Only objects that can be deleted count their selections (a stock object stays at 0).
void Retain(Object* o) {
    if (!o->stock) ++o->selections;
}
// The defaults of a DC are stock objects, so most handles a DC lets go of are: those need no look-up.
[[gnu::always_inline]] inline void Retain(HGDIOBJ h) {
    if (handles::IsFirstStock(h)) return;
    if (Object* o = Lookup(h)) Retain(o);
}
[[gnu::always_inline]] inline void Release(HGDIOBJ h) {
    if (handles::IsFirstStock(h)) return;
    if (Object* o = Lookup(h); o && o->selections > 0) --o->selections;
}

void RetainState(DeviceContext* dc, const DcState& s) {
    Retain(s.pen);
    Retain(s.brush);
    Retain(s.font);
    if (dc->type == DcType::Memory) {
        Retain(s.bitmap);
        if (Bitmap* b = LookupBitmap(s.bitmap); b && !b->stock) b->selectedIn = dc;
    }
}

// A memory DC lets go of its bitmap, with one look-up. A stock bitmap is never counted nor marked as selected.
void ReleaseBitmap(DeviceContext* dc, HBITMAP h) {
    if (handles::IsFirstStock(h)) return;
    if (Bitmap* b = LookupBitmap(h)) {
        if (b->selections > 0) --b->selections;
        if (b->selectedIn == dc) b->selectedIn = nullptr;
    }
}

void ReleaseState(DeviceContext* dc, const DcState& s) {
    Release(s.pen);
    Release(s.brush);
    Release(s.font);
    if (dc->type == DcType::Memory) ReleaseBitmap(dc, s.bitmap);
}

HDC NewDc(DcType type, HWND hwnd) {
    handles::EnsureStockObjects();
    auto dc = TakeDc();
    dc->type = type;
    dc->hwnd = hwnd;
    dc->state.pen = static_cast<HPEN>(handles::g_stock[BLACK_PEN]);
    dc->state.brush = static_cast<HBRUSH>(handles::g_stock[WHITE_BRUSH]);
    dc->state.font = static_cast<HFONT>(handles::g_stock[SYSTEM_FONT]);
    dc->state.bitmap = type == DcType::Memory ? handles::g_defaultBitmap : nullptr;
    // Every default is a stock object, which is never deleted: a new DC has nothing to hold on to.
    return static_cast<HDC>(Register(std::move(dc)));
}

void FreeDc(HDC h, DeviceContext* dc) {
    ReleaseState(dc, dc->state);
    Destroy(h, dc);
}

int RegionType(const std::vector<RECT>& rects) {
    size_t n = 0;
    for (const RECT& r : rects)
        if (!IsEmpty(r)) ++n;
    return n == 0 ? NULLREGION : n == 1 ? SIMPLEREGION : COMPLEXREGION;
}

std::vector<RECT> Union(const std::vector<RECT>& a, const std::vector<RECT>& b) {
    std::vector<RECT> out = a;
    for (const RECT& r : b) {
        std::vector<RECT> pieces{r};
        for (const RECT& existing : out) {
            std::vector<RECT> next;
            for (const RECT& p : pieces) Subtract(p, existing, next);
            pieces.swap(next);
        }
        out.insert(out.end(), pieces.begin(), pieces.end());
    }
    return out;
}

std::vector<RECT> Difference(const std::vector<RECT>& a, const std::vector<RECT>& b) {
    std::vector<RECT> out = a;
    for (const RECT& r : b) {
        std::vector<RECT> next;
        for (const RECT& p : out) Subtract(p, r, next);
        out.swap(next);
    }
    return out;
}

// The clip the user has set, or, when none, everything the DC may touch (in DC device coordinates).
std::vector<RECT> CurrentUserClip(DeviceContext* dc) {
    if (dc->state.userClip) return *dc->state.userClip;
    const Surface* s = Measured(dc);
    std::vector<RECT> base;
    if (dc->visibleIsWholeSurface) {
        if (s) base.push_back({0, 0, s->width, s->height});
    } else {
        base = dc->visible;
    }
    for (RECT& r : base) r = {r.left - dc->origin.x, r.top - dc->origin.y, r.right - dc->origin.x, r.bottom - dc->origin.y};
    return base;
}

int SetUserClip(DeviceContext* dc, std::vector<RECT> rects) {
    dc->state.userClip = std::move(rects);
    dc->InvalidateClip();
    return RegionType(dc->Clip());
}

template <typename F> auto WithDc(HDC hdc, F f, decltype(f(nullptr)) failure) {
    DeviceContext* dc = LookupDc(hdc);
    if (!dc) {
        SetLastError(ERROR_INVALID_HANDLE);
        return failure;
    }
    return f(dc);
}

// The Set/Get pairs of the DC's colours and modes: a setter answers the old value, both answer `failure` for
// a handle that is not a DC.
template <typename T>
T SwapField(HDC hdc, T DcState::*field, std::type_identity_t<T> value, std::type_identity_t<T> failure) {
    return WithDc(hdc, [&](DeviceContext* dc) { return std::exchange(dc->state.*field, value); }, failure);
}
template <typename T> T ReadField(HDC hdc, T DcState::*field, std::type_identity_t<T> failure) {
    return WithDc(hdc, [&](DeviceContext* dc) { return dc->state.*field; }, failure);
}

// Moves one of the DC's points (the current position, the viewport origin), giving back where it was.
BOOL MovePoint(HDC hdc, POINT DcState::*field, POINT to, LPPOINT old) {
    return WithDc(hdc, [&](DeviceContext* dc) -> BOOL {
        if (old) *old = dc->state.*field;
        dc->state.*field = to;
        return TRUE;
    }, FALSE);
}

} // namespace

} // namespace cehost::gdi

namespace cehost::internal {

HDC CreateWindowSurfaceDC(HWND hwnd, const WindowSurface& surface) {
    HDC h = gdi::NewDc(gdi::DcType::Window, hwnd);
    if (gdi::DeviceContext* dc = gdi::LookupDc(h)) {
        dc->origin = surface.origin;
        dc->visible = surface.visible;
        dc->visibleIsWholeSurface = false;
    }
    return h;
}

void ReleaseWindowSurfaceDC(HDC hdc) {
    gdi::DeviceContext* dc = gdi::LookupDc(hdc);
    if (dc && dc->type == gdi::DcType::Window) gdi::FreeDc(hdc, dc);
}

} // namespace cehost::internal

using namespace cehost::gdi;

extern "C" {

HDC WINAPI GetDC(HWND hwnd) {
    if (!hwnd) return NewDc(DcType::Screen, nullptr);
    cehost::internal::WindowSurface surface;
    if (!cehost::internal::GetWindowSurface(hwnd, true, &surface)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    return cehost::internal::CreateWindowSurfaceDC(hwnd, surface);
}

HDC WINAPI GetWindowDC(HWND hwnd) {
    if (!hwnd) return NewDc(DcType::Screen, nullptr);
    cehost::internal::WindowSurface surface;
    if (!cehost::internal::GetWindowSurface(hwnd, false, &surface)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    return cehost::internal::CreateWindowSurfaceDC(hwnd, surface);
}

int WINAPI ReleaseDC(HWND hwnd, HDC hdc) {
    DeviceContext* dc = LookupDc(hdc);
    if (!dc || dc->type == DcType::Memory) return 0;
    FreeDc(hdc, dc);
    return 1;
}

HDC WINAPI CreateCompatibleDC(HDC hdc) {
    cehost::internal::ProfileScope profile(cehost::sim::FramePart::Bitmaps);
    if (hdc && !LookupDc(hdc)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return NewDc(DcType::Memory, nullptr);
}

BOOL WINAPI DeleteDC(HDC hdc) {
    cehost::internal::ProfileScope profile(cehost::sim::FramePart::Bitmaps);
    DeviceContext* dc = LookupDc(hdc);
    if (!dc) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    FreeDc(hdc, dc);
    return TRUE;
}

int WINAPI SaveDC(HDC hdc) {
    return WithDc(hdc, [](DeviceContext* dc) {
        dc->saved.push_back(dc->state);
        return int(dc->saved.size());
    }, 0);
}

BOOL WINAPI RestoreDC(HDC hdc, int savedDC) {
    return WithDc(hdc, [&](DeviceContext* dc) -> BOOL {
        int depth = int(dc->saved.size());
        int level = savedDC < 0 ? depth + 1 + savedDC : savedDC;
        if (level < 1 || level > depth) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        DcState restored = dc->saved[size_t(level - 1)];
        dc->saved.resize(size_t(level - 1));
        // An object deleted since SaveDC cannot come back; the DC falls back to its default.
        if (!LookupPen(restored.pen)) restored.pen = static_cast<HPEN>(Stock(BLACK_PEN));
        if (!LookupBrush(restored.brush)) restored.brush = static_cast<HBRUSH>(Stock(WHITE_BRUSH));
        if (!LookupFont(restored.font)) restored.font = static_cast<HFONT>(Stock(SYSTEM_FONT));
        if (dc->type == DcType::Memory) {
            Bitmap* b = LookupBitmap(restored.bitmap);
            if (!b || (b->selectedIn && b->selectedIn != dc)) restored.bitmap = DefaultBitmap();
        }
        ReleaseState(dc, dc->state);
        dc->state = restored;
        RetainState(dc, dc->state);
        dc->InvalidateClip();
        return TRUE;
    }, FALSE);
}

HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ object) {
    cehost::internal::ProfileScope profile(cehost::sim::FramePart::Bitmaps);
    DeviceContext* dc = LookupDc(hdc);
    Object* o = Lookup(object);
    if (!dc || !o) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    auto swap = [&](auto& slot) -> HGDIOBJ {
        HGDIOBJ previous = slot;
        if (previous == object) return previous;
        Release(previous);
        slot = static_cast<std::remove_reference_t<decltype(slot)>>(object);
        Retain(o);
        return previous;
    };
    switch (o->kind) {
    case Kind::Pen: return swap(dc->state.pen);
    case Kind::Brush: return swap(dc->state.brush);
    case Kind::Font: return swap(dc->state.font);
    case Kind::Bitmap: {
        auto* b = static_cast<Bitmap*>(o);
        if (dc->type != DcType::Memory || (b->selectedIn && b->selectedIn != dc)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        HGDIOBJ previous = dc->state.bitmap;
        if (previous != object) {
            ReleaseBitmap(dc, dc->state.bitmap);
            dc->state.bitmap = static_cast<HBITMAP>(object);
            Retain(o);
        }
        if (!b->stock) b->selectedIn = dc;
        // A memory DC's clip is its bitmap; a clip region set earlier stays.
        dc->InvalidateClip();
        return previous;
    }
    case Kind::Region: {
        int type = SelectClipRgn(hdc, static_cast<HRGN>(object));
        return reinterpret_cast<HGDIOBJ>(static_cast<intptr_t>(type == ERROR ? -1 : type));
    }
    case Kind::Dc: break;
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
}

HGDIOBJ WINAPI GetCurrentObject(HDC hdc, UINT type) {
    return WithDc(hdc, [&](DeviceContext* dc) -> HGDIOBJ {
        switch (type) {
        case OBJ_PEN: return dc->state.pen;
        case OBJ_BRUSH: return dc->state.brush;
        case OBJ_FONT: return dc->state.font;
        case OBJ_BITMAP: return dc->state.bitmap;
        default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
        }
    }, nullptr);
}

int WINAPI GetDeviceCaps(HDC hdc, int index) {
    return WithDc(hdc, [&](DeviceContext* dc) -> int {
        const Surface* s = Measured(dc);
        switch (index) {
        case HORZRES: return s ? s->width : 0;
        case VERTRES: return s ? s->height : 0;
        case BITSPIXEL: return 32;
        case PLANES: return 1;
        case LOGPIXELSX:
        case LOGPIXELSY: return 96;
        default: return 0;
        }
    }, 0);
}

COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color) {
    return SwapField(hdc, &DcState::textColor, color & 0xFFFFFFu, COLORREF(CLR_INVALID));
}
COLORREF WINAPI GetTextColor(HDC hdc) {
    return ReadField(hdc, &DcState::textColor, COLORREF(CLR_INVALID));
}
COLORREF WINAPI SetBkColor(HDC hdc, COLORREF color) {
    return SwapField(hdc, &DcState::bkColor, color & 0xFFFFFFu, COLORREF(CLR_INVALID));
}
COLORREF WINAPI GetBkColor(HDC hdc) {
    return ReadField(hdc, &DcState::bkColor, COLORREF(CLR_INVALID));
}
int WINAPI SetBkMode(HDC hdc, int mode) {
    if (mode != TRANSPARENT && mode != OPAQUE) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return SwapField(hdc, &DcState::bkMode, mode, 0);
}
int WINAPI GetBkMode(HDC hdc) {
    return ReadField(hdc, &DcState::bkMode, 0);
}
int WINAPI SetROP2(HDC hdc, int rop2) {
    if (rop2 < R2_BLACK || rop2 > R2_WHITE) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return SwapField(hdc, &DcState::rop2, rop2, 0);
}
int WINAPI GetROP2(HDC hdc) {
    return ReadField(hdc, &DcState::rop2, 0);
}
UINT WINAPI SetTextAlign(HDC hdc, UINT align) {
    return SwapField(hdc, &DcState::textAlign, align, UINT(GDI_ERROR));
}
UINT WINAPI GetTextAlign(HDC hdc) {
    return ReadField(hdc, &DcState::textAlign, UINT(GDI_ERROR));
}
COLORREF WINAPI SetDCBrushColor(HDC hdc, COLORREF color) {
    return SwapField(hdc, &DcState::dcBrushColor, color & 0xFFFFFFu, COLORREF(CLR_INVALID));
}
COLORREF WINAPI SetDCPenColor(HDC hdc, COLORREF color) {
    return SwapField(hdc, &DcState::dcPenColor, color & 0xFFFFFFu, COLORREF(CLR_INVALID));
}

BOOL WINAPI SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT old) {
    return MovePoint(hdc, &DcState::viewportOrg, {x, y}, old);
}
BOOL WINAPI GetViewportOrgEx(HDC hdc, LPPOINT point) {
    return WithDc(hdc, [&](DeviceContext* dc) -> BOOL {
        if (!point) return FALSE;
        *point = dc->state.viewportOrg;
        return TRUE;
    }, FALSE);
}
BOOL WINAPI SetBrushOrgEx(HDC hdc, int, int, LPPOINT old) {
    // Solid brushes have no pattern to align.
    return WithDc(hdc, [&](DeviceContext*) -> BOOL {
        if (old) *old = {0, 0};
        return TRUE;
    }, FALSE);
}

BOOL WINAPI MoveToEx(HDC hdc, int x, int y, LPPOINT old) {
    return MovePoint(hdc, &DcState::current, {x, y}, old);
}

// Regions.

HRGN WINAPI CreateRectRgn(int left, int top, int right, int bottom) {
    auto r = std::make_unique<Region>();
    RECT rc{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
    if (!IsEmpty(rc)) r->rects.push_back(rc);
    return static_cast<HRGN>(Register(std::move(r)));
}

HRGN WINAPI CreateRectRgnIndirect(const RECT* rect) {
    if (!rect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return CreateRectRgn(int(rect->left), int(rect->top), int(rect->right), int(rect->bottom));
}

BOOL WINAPI SetRectRgn(HRGN rgn, int left, int top, int right, int bottom) {
    Region* r = LookupRegion(rgn);
    if (!r) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    r->rects.clear();
    RECT rc{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
    if (!IsEmpty(rc)) r->rects.push_back(rc);
    return TRUE;
}

int WINAPI CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode) {
    Region* d = LookupRegion(dest);
    Region* a = LookupRegion(src1);
    Region* b = mode == RGN_COPY ? a : LookupRegion(src2);
    if (!d || !a || !b || mode < RGN_AND || mode > RGN_COPY) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return ERROR;
    }
    std::vector<RECT> result;
    switch (mode) {
    case RGN_AND: result = IntersectLists(a->rects, b->rects); break;
    case RGN_OR: result = Union(a->rects, b->rects); break;
    case RGN_DIFF: result = Difference(a->rects, b->rects); break;
    case RGN_XOR: result = Union(Difference(a->rects, b->rects), Difference(b->rects, a->rects)); break;
    default: result = a->rects; break;
    }
    d->rects = std::move(result);
    return RegionType(d->rects);
}

int WINAPI GetRgnBox(HRGN rgn, LPRECT rect) {
    Region* r = LookupRegion(rgn);
    if (!r || !rect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return ERROR;
    }
    *rect = Bounds(r->rects);
    return RegionType(r->rects);
}

BOOL WINAPI PtInRegion(HRGN rgn, int x, int y) {
    Region* r = LookupRegion(rgn);
    if (!r) return FALSE;
    for (const RECT& rc : r->rects)
        if (Contains(rc, x, y)) return TRUE;
    return FALSE;
}

int WINAPI SelectClipRgn(HDC hdc, HRGN rgn) {
    DeviceContext* dc = LookupDc(hdc);
    if (!dc) {
        SetLastError(ERROR_INVALID_HANDLE);
        return ERROR;
    }
    if (!rgn) {
        dc->state.userClip.reset();
        dc->InvalidateClip();
        return RegionType(dc->Clip());
    }
    Region* r = LookupRegion(rgn);
    if (!r) {
        SetLastError(ERROR_INVALID_HANDLE);
        return ERROR;
    }
    // The region is copied: the caller keeps (and deletes) its own.
    return SetUserClip(dc, r->rects);
}

int WINAPI GetClipRgn(HDC hdc, HRGN rgn) {
    DeviceContext* dc = LookupDc(hdc);
    Region* r = LookupRegion(rgn);
    if (!dc || !r) {
        SetLastError(ERROR_INVALID_HANDLE);
        return -1;
    }
    if (!dc->state.userClip) return 0;
    r->rects = *dc->state.userClip;
    return 1;
}

int WINAPI GetClipBox(HDC hdc, LPRECT rect) {
    DeviceContext* dc = LookupDc(hdc);
    if (!dc || !rect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return ERROR;
    }
    const std::vector<RECT>& clip = dc->Clip();
    RECT b = Bounds(clip);
    POINT off = dc->Offset();
    *rect = {b.left - off.x, b.top - off.y, b.right - off.x, b.bottom - off.y};
    if (IsEmpty(b)) *rect = {0, 0, 0, 0};
    return RegionType(clip);
}

int WINAPI IntersectClipRect(HDC hdc, int left, int top, int right, int bottom) {
    DeviceContext* dc = LookupDc(hdc);
    if (!dc) {
        SetLastError(ERROR_INVALID_HANDLE);
        return ERROR;
    }
    POINT vp = dc->state.viewportOrg;
    RECT r{left + vp.x, top + vp.y, right + vp.x, bottom + vp.y};
    return SetUserClip(dc, IntersectLists(CurrentUserClip(dc), {r}));
}

int WINAPI ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom) {
    DeviceContext* dc = LookupDc(hdc);
    if (!dc) {
        SetLastError(ERROR_INVALID_HANDLE);
        return ERROR;
    }
    POINT vp = dc->state.viewportOrg;
    RECT r{left + vp.x, top + vp.y, right + vp.x, bottom + vp.y};
    return SetUserClip(dc, Difference(CurrentUserClip(dc), {r}));
}

} // extern "C"
