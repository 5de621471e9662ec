// Drawing primitives: rectangles, lines, pixels, pattern and block transfers, stretching and transparent
// images, all clipped to the DC. Pens are cosmetic: PS_SOLID, PS_DASH and PS_NULL, wide pens drawn as
// squares along the line. Polygon fills with the alternate rule.
#include "gdi/Draw.h"
#include "gdi/PixelRows.h"
#include "gdi/SystemColors.h"
#include "gdi/TextRecord.h"
#include "internal/profile.h"
#include "internal/bridge.h"

#include <cmath>
#include <cstring>
#include <type_traits>

namespace cehost::gdi {

namespace {

uint32_t Rop2(int rop2, uint32_t pen, uint32_t dst) {
    uint32_t p = pen & 0xFFFFFFu, d = dst & 0xFFFFFFu, r;
    switch (rop2) {
    case R2_BLACK: r = 0; break;
    case R2_NOTMERGEPEN: r = ~(p | d); break;
    case R2_MASKNOTPEN: r = ~p & d; break;
    case R2_NOTCOPYPEN: r = ~p; break;
    case R2_MASKPENNOT: r = p & ~d; break;
    case R2_NOT: r = ~d; break;
    case R2_XORPEN: r = p ^ d; break;
    case R2_NOTMASKPEN: r = ~(p & d); break;
    case R2_MASKPEN: r = p & d; break;
    case R2_NOTXORPEN: r = ~(p ^ d); break;
    case R2_NOP: return dst;
    case R2_MERGENOTPEN: r = ~p | d; break;
    case R2_MERGEPENNOT: r = p | ~d; break;
    case R2_MERGEPEN: r = p | d; break;
    case R2_WHITE: r = 0xFFFFFFu; break;
    default: r = p; break;
    }
    return 0xFF000000u | (r & 0xFFFFFFu);
}

} // namespace

uint32_t Rop3(uint32_t rop, uint32_t p, uint32_t s, uint32_t d) {
    uint8_t code = uint8_t(rop >> 16);
    uint32_t r = 0;
    for (int k = 0; k < 8; ++k)
        if ((code >> k) & 1) r |= ((k & 4) ? p : ~p) & ((k & 2) ? s : ~s) & ((k & 1) ? d : ~d);
    return 0xFF000000u | (r & 0xFFFFFFu);
}

bool BeginDraw(HDC hdc, DrawTarget& t, bool readOnly, bool keepOwedRows) {
    t.dc = LookupDc(hdc);
    if (!t.dc) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    if (keepOwedRows && t.dc->type != DcType::Memory)
        t.surface = &Screen();
    else
        t.surface = readOnly ? t.dc->Target() : t.dc->WritableTarget();
    if (!t.surface) return false;
    t.clip = &t.dc->Clip();
    t.offset = t.dc->Offset();
    return true;
}

bool BrushColor(DeviceContext* dc, HBRUSH brush, uint32_t& pixel) {
    COLORREF c;
    if (SystemColorOfBrushValue(brush, c)) {
        pixel = ToPixel(c);
        return true;
    }
    Brush* b = LookupBrush(brush);
    if (!b || b->style == BS_NULL) return false;
    pixel = ToPixel(b->dcBrush && dc ? dc->state.dcBrushColor : b->color);
    return true;
}

void FillDeviceRect(const DrawTarget& t, const RECT& r, uint32_t pixel) {
    textrecord::Covered(t.surface, *t.clip, r);
    for (const RECT& c : *t.clip) {
        RECT i = Intersect(r, c);
        if (IsEmpty(i)) continue;
        // One row is filled, the others copied from it: memcpy is the fastest fill there is.
        size_t width = size_t(i.right - i.left);
        uint32_t* first = t.surface->Row(int(i.top)) + i.left;
        std::fill_n(first, width, pixel);
        for (LONG y = i.top + 1; y < i.bottom; ++y) std::memcpy(t.surface->Row(int(y)) + i.left, first, width * 4);
    }
}

void MixDeviceRect(const DrawTarget& t, const RECT& r, uint32_t pixel, int rop2) {
    if (rop2 == R2_COPYPEN) return FillDeviceRect(t, r, pixel);
    for (const RECT& c : *t.clip) {
        RECT i = Intersect(r, c);
        if (IsEmpty(i)) continue;
        for (LONG y = i.top; y < i.bottom; ++y) {
            uint32_t* row = t.surface->Row(int(y));
            for (LONG x = i.left; x < i.right; ++x) row[x] = Rop2(rop2, pixel, row[x]);
        }
    }
}

bool InClip(const DrawTarget& t, LONG x, LONG y) {
    for (const RECT& c : *t.clip)
        if (Contains(c, x, y)) return true;
    return false;
}

namespace {

struct PenInfo {
    bool visible = false;
    uint32_t pixel = 0;
    int width = 1;
    bool dashed = false;
};

PenInfo CurrentPen(DeviceContext* dc) {
    PenInfo info;
    Pen* p = LookupPen(dc->state.pen);
    if (!p || p->style == PS_NULL) return info;
    info.visible = true;
    info.pixel = ToPixel(p->dcPen ? dc->state.dcPenColor : p->color);
    info.width = p->width;
    info.dashed = p->style == PS_DASH;
    return info;
}

void PenDot(const DrawTarget& t, const PenInfo& pen, LONG x, LONG y) {
    if (pen.width <= 1) {
        if (!InClip(t, x, y)) return;
        uint32_t& d = t.surface->Row(int(y))[x];
        d = Rop2(t.dc->state.rop2, pen.pixel, d);
        return;
    }
    LONG half = pen.width / 2;
    MixDeviceRect(t, {x - half, y - half, x - half + pen.width, y - half + pen.width}, pen.pixel, t.dc->state.rop2);
}

// A solid one-pixel line along a row or a column: the dots Bresenham would put, each mixed once, a clipped
// run at a time. Like single dots, it leaves the text record alone.
void DrawStraightLine(const DrawTarget& t, const PenInfo& pen, LONG x0, LONG y0, LONG x1, LONG y1) {
    RECT run = y0 == y1 ? RECT{std::min(x0, x1 + 1), y0, std::max(x0 + 1, x1), y0 + 1}
                        : RECT{x0, std::min(y0, y1 + 1), x0 + 1, std::max(y0 + 1, y1)};
    const int rop2 = t.dc->state.rop2;
    for (const RECT& c : *t.clip) {
        RECT i = Intersect(run, c);
        if (IsEmpty(i)) continue;
        for (LONG y = i.top; y < i.bottom; ++y) {
            uint32_t* row = t.surface->Row(int(y));
            if (rop2 == R2_COPYPEN)
                std::fill(row + i.left, row + i.right, pen.pixel);
            else
                for (LONG x = i.left; x < i.right; ++x) row[x] = Rop2(rop2, pen.pixel, row[x]);
        }
    }
}

// Bresenham from (x0,y0) towards (x1,y1), the end point excluded; device coordinates. `phase` carries the
// dash pattern (18 on, 6 off) from one segment to the next.
void DrawLine(const DrawTarget& t, const PenInfo& pen, LONG x0, LONG y0, LONG x1, LONG y1, int& phase) {
    if (!pen.dashed && pen.width <= 1 && (x0 == x1) != (y0 == y1)) {
        DrawStraightLine(t, pen, x0, y0, x1, y1);
        phase += int(std::max(std::labs(x1 - x0), std::labs(y1 - y0)));
        return;
    }
    LONG dx = std::labs(x1 - x0), dy = -std::labs(y1 - y0);
    int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    LONG err = dx + dy;
    while (x0 != x1 || y0 != y1) {
        if (!pen.dashed || phase % 24 < 18) PenDot(t, pen, x0, y0);
        ++phase;
        LONG e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

// Alternate-rule scanline fill of a polygon given in device coordinates, pixel centres sampled.
void FillPolygon(const DrawTarget& t, const std::vector<POINT>& pts, uint32_t pixel) {
    if (pts.size() < 3) return;
    LONG top = pts[0].y, bottom = pts[0].y;
    for (const POINT& p : pts) {
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    std::vector<double> xs;
    for (LONG y = top; y < bottom; ++y) {
        double cy = y + 0.5;
        xs.clear();
        for (size_t i = 0; i < pts.size(); ++i) {
            const POINT& a = pts[i];
            const POINT& b = pts[(i + 1) % pts.size()];
            if ((a.y <= cy && b.y > cy) || (b.y <= cy && a.y > cy))
                xs.push_back(a.x + (cy - a.y) * double(b.x - a.x) / double(b.y - a.y));
        }
        std::sort(xs.begin(), xs.end());
        for (size_t i = 0; i + 1 < xs.size(); i += 2) {
            LONG from = LONG(std::ceil(xs[i] - 0.5)), to = LONG(std::ceil(xs[i + 1] - 0.5));
            MixDeviceRect(t, {from, y, to, y + 1}, pixel, t.dc->state.rop2);
        }
    }
}

// Generic block transfer: destination rectangle (device) sampled from a source surface with nearest-neighbour
// scaling. Destination pixels whose source lies outside the source surface are left alone.
struct BltSource {
    const Surface* surface = nullptr;
    LONG x = 0, y = 0, width = 0, height = 0; // device coordinates of the source rectangle
};

// The two transfers every screen is made of have whole-row kernels; any other operation goes pixel by pixel
// through its function.
struct OpaqueCopy {
    uint32_t operator()(uint32_t s, uint32_t) const { return s | 0xFF000000u; }
    void Row(uint32_t* dst, const uint32_t* src, LONG count) const { CopyRowOpaque(dst, src, size_t(count)); }
};
struct KeyedCopy {
    uint32_t key;
    uint32_t operator()(uint32_t s, uint32_t d) const { return SameRgb(s, key) ? d : (s | 0xFF000000u); }
    void Row(uint32_t* dst, const uint32_t* src, LONG count) const { CopyRowKeyed(dst, src, size_t(count), key); }
};

// One row of a 1:1 transfer; the compiler turns it into vector code for the simple operations.
template <typename PixelOp>
inline void TransferRow(uint32_t* __restrict dst, const uint32_t* __restrict src, LONG count, PixelOp op) {
    if constexpr (requires { op.Row(dst, src, count); })
        op.Row(dst, src, count);
    else
        for (LONG k = 0; k < count; ++k) dst[k] = op(src[k], dst[k]);
}

template <typename PixelOp>
void Transfer(const DrawTarget& t, const RECT& dst, const BltSource& src, PixelOp op) {
    LONG dw = dst.right - dst.left, dh = dst.bottom - dst.top;
    if (dw <= 0 || dh <= 0) return;
    const Surface* s = src.surface;
    if (!s) {
        for (const RECT& c : *t.clip) {
            RECT i = Intersect(dst, c);
            if (IsEmpty(i)) continue;
            for (LONG y = i.top; y < i.bottom; ++y) {
                uint32_t* row = t.surface->Row(int(y));
                for (LONG x = i.left; x < i.right; ++x) row[x] = op(0u, row[x]);
            }
        }
        return;
    }
    // Copying within one surface (scrolling) must read the source before any of it is overwritten. Under one
    // clip rectangle, rows taken in the order that reads each before it is written, each through a row
    // buffer, do it; otherwise the part of the source that is read is copied first.
    std::vector<uint32_t> copy;
    Surface snapshot;
    BltSource from = src;
    const bool sameSurface = s->row0 == t.surface->row0;
    if (sameSurface && from.width == dw && from.height == dh && t.clip->size() == 1) {
        RECT onSource{dst.left - from.x, dst.top - from.y, dst.left - from.x + s->width, dst.top - from.y + s->height};
        RECT i = Intersect(Intersect(dst, t.clip->front()), onSource);
        if (IsEmpty(i)) return;
        LONG dx = from.x - dst.left, dy = from.y - dst.top, n = i.right - i.left;
        // Whole rows of the screen moving up or down change places by address. Every drawing call leaves the
        // screen's pixels opaque, so moving them equals copying them opaque.
        if constexpr (std::is_same_v<PixelOp, OpaqueCopy>)
            if (dx == 0 && i.left == 0 && i.right == t.surface->width &&
                MoveRows(*t.surface, int(i.top), int(i.bottom), int(dy)))
                return;
        // A row read from another row goes straight across; only a move within the same rows needs the buffer.
        if (dy == 0) copy.resize(size_t(n));
        bool upwards = dy < 0; // the source lies above: start from the bottom
        for (LONG k = 0; k < i.bottom - i.top; ++k) {
            LONG y = upwards ? i.bottom - 1 - k : i.top + k;
            const uint32_t* row = s->Row(int(y + dy)) + (i.left + dx);
            if (dy == 0) row = static_cast<const uint32_t*>(std::memcpy(copy.data(), row, size_t(n) * 4));
            TransferRow(t.surface->Row(int(y)) + i.left, row, n, op);
        }
        return;
    }
    if (sameSurface) {
        RECT area = Intersect({src.x, src.y, src.x + src.width, src.y + src.height}, {0, 0, s->width, s->height});
        if (IsEmpty(area)) return;
        LONG w = area.right - area.left, h = area.bottom - area.top;
        copy.resize(size_t(w) * size_t(h));
        for (LONG y = 0; y < h; ++y)
            std::memcpy(&copy[size_t(y) * w], s->Row(int(area.top + y)) + area.left, size_t(w) * 4);
        // The copy stands for the whole surface: positions outside it are outside the source.
        snapshot = Surface{int(w), int(h), copy.data(), w};
        s = &snapshot;
        from.x -= area.left;
        from.y -= area.top;
    }
    if (from.width == dw && from.height == dh) {
        // 1:1: the part of the destination whose source lies on the source surface, clipped once per rectangle.
        RECT onSource{dst.left - from.x, dst.top - from.y, dst.left - from.x + s->width, dst.top - from.y + s->height};
        for (const RECT& c : *t.clip) {
            RECT i = Intersect(Intersect(dst, c), onSource);
            if (IsEmpty(i)) continue;
            LONG dx = from.x - dst.left, dy = from.y - dst.top, n = i.right - i.left;
            for (LONG y = i.top; y < i.bottom; ++y)
                TransferRow(t.surface->Row(int(y)) + i.left, s->Row(int(y + dy)) + (i.left + dx), n, op);
        }
        return;
    }
    // Scaled: source column of every destination column, computed once (nearest neighbour).
    std::vector<LONG> columns(static_cast<size_t>(dw));
    for (LONG x = 0; x < dw; ++x) columns[size_t(x)] = from.x + (x * from.width) / dw;
    for (const RECT& c : *t.clip) {
        RECT i = Intersect(dst, c);
        if (IsEmpty(i)) continue;
        for (LONG y = i.top; y < i.bottom; ++y) {
            LONG sy = from.y + ((y - dst.top) * from.height) / dh;
            if (sy < 0 || sy >= s->height) continue;
            uint32_t* row = t.surface->Row(int(y));
            const uint32_t* srow = s->Row(int(sy));
            const LONG* col = columns.data();
            for (LONG x = i.left; x < i.right; ++x) {
                LONG sx = col[x - dst.left];
                if (sx < 0 || sx >= s->width) continue;
                row[x] = op(srow[sx], row[x]);
            }
        }
    }
}

// A 1:1 transparent transfer of a shared picture: the picture knows where its non-transparent runs lie, so
// each row copies those runs and never looks at a transparent pixel (a row background without any is one
// copy per row).
void TransferKeyedRuns(const DrawTarget& t, const RECT& dst, const BltSource& src, const SharedPicture& picture,
                       uint32_t key) {
    const Surface* s = src.surface;
    RECT onSource{dst.left - src.x, dst.top - src.y, dst.left - src.x + s->width, dst.top - src.y + s->height};
    const LONG dx = src.x - dst.left, dy = src.y - dst.top;
    const SharedPicture::Runs runs = picture.OpaqueRuns(key);
    // A shared picture's pixels are opaque already: a run is a plain copy.
    for (const RECT& c : *t.clip) {
        RECT i = Intersect(Intersect(dst, c), onSource);
        if (IsEmpty(i)) continue;
        CopyRuns({t.surface, s, runs.pairs, runs.rowStart, int(i.top), int(i.bottom), int(dx), int(dy),
                  int(i.left + dx), int(i.right + dx)});
    }
}

// Whether a keyed transfer of a shared picture writes every pixel of rows [rows.first, rows.second) of the
// target: one clip rectangle and the picture span the rows and the target's width, and on each of those rows
// one opaque run spans the columns wanted.
bool WritesWholeRows(const DrawTarget& t, const RECT& dst, const BltSource& src, const SharedPicture& picture,
                     uint32_t key, std::pair<int, int> rows) {
    const Surface* s = src.surface;
    const RECT band{0, rows.first, t.surface->width, rows.second};
    auto spans = [&](const RECT& r) {
        return r.left <= band.left && r.right >= band.right && r.top <= band.top && r.bottom >= band.bottom;
    };
    const RECT onSource{dst.left - src.x, dst.top - src.y, dst.left - src.x + s->width, dst.top - src.y + s->height};
    const RECT i = Intersect(dst, onSource);
    if (!spans(i) || std::none_of(t.clip->begin(), t.clip->end(), spans)) return false;
    const LONG dx = src.x - dst.left, dy = src.y - dst.top, from = band.left + dx, to = band.right + dx;
    const SharedPicture::Runs runs = picture.OpaqueRuns(key);
    for (int y = rows.first; y < rows.second; ++y) {
        bool whole = false;
        for (uint32_t k = runs.rowStart[y + dy]; k < runs.rowStart[y + dy + 1] && !whole; k += 2)
            whole = runs.pairs[k] <= from && runs.pairs[k + 1] >= to;
        if (!whole) return false;
    }
    return true;
}

bool UsesSource(DWORD rop) {
    uint8_t code = uint8_t(rop >> 16);
    return (((code >> 2) ^ code) & 0x33) != 0;
}
bool UsesDestination(DWORD rop) {
    uint8_t code = uint8_t(rop >> 16);
    return (((code >> 1) ^ code) & 0x55) != 0;
}
bool UsesPattern(DWORD rop) {
    uint8_t code = uint8_t(rop >> 16);
    return (((code >> 4) ^ code) & 0x0F) != 0;
}

RECT Normalized(LONG x, LONG y, LONG w, LONG h) {
    RECT r{x, y, x + w, y + h};
    if (r.right < r.left) std::swap(r.left, r.right);
    if (r.bottom < r.top) std::swap(r.top, r.bottom);
    return r;
}

bool Blt(HDC dest, int x, int y, int width, int height, HDC srcDc, int srcX, int srcY, int srcWidth,
         int srcHeight, DWORD rop) {
    cehost::internal::ProfileScope profile(cehost::sim::FramePart::Blits);
    DrawTarget t;
    if (!BeginDraw(dest, t)) return false;
    BltSource src;
    if (UsesSource(rop)) {
        DeviceContext* s = LookupDc(srcDc);
        if (!s || !s->Target()) {
            SetLastError(ERROR_INVALID_HANDLE);
            return false;
        }
        POINT so = s->Offset();
        src = {s->Target(), srcX + so.x, srcY + so.y, srcWidth, srcHeight};
    }
    uint32_t pattern = 0;
    if (UsesPattern(rop)) BrushColor(t.dc, t.dc->state.brush, pattern);
    // Mirrored transfers are not provided: negative sizes only move the rectangle's origin.
    if (width < 0) {
        x += width;
        width = -width;
    }
    if (height < 0) {
        y += height;
        height = -height;
    }
    if (src.width < 0) {
        src.x += src.width;
        src.width = -src.width;
    }
    if (src.height < 0) {
        src.y += src.height;
        src.height = -src.height;
    }
    RECT dst{x + t.offset.x, y + t.offset.y, x + width + t.offset.x, y + height + t.offset.y};
    if (!src.surface) {
        uint32_t value = rop == BLACKNESS ? 0xFF000000u : 0xFFFFFFFFu;
        if (rop == PATCOPY) value = pattern;
        if (rop == BLACKNESS || rop == WHITENESS || rop == PATCOPY) {
            FillDeviceRect(t, dst, value);
            return true;
        }
        if (!UsesDestination(rop)) textrecord::Covered(t.surface, *t.clip, dst);
        Transfer(t, dst, src, [&](uint32_t, uint32_t d) { return Rop3(rop, pattern, 0, d); });
        return true;
    }
    // A blit that replaces what was there brings the source's text along; one that mixes with it (an inverted
    // caret, a mask) leaves the text in place.
    if (!UsesDestination(rop))
        textrecord::Blitted(t.surface, t.dc->hwnd, *t.clip, dst, src.surface,
                            {src.x, src.y, src.x + src.width, src.y + src.height});
    if (rop == SRCCOPY)
        Transfer(t, dst, src, OpaqueCopy{});
    else
        Transfer(t, dst, src, [&](uint32_t s, uint32_t d) { return Rop3(rop, pattern, s, d); });
    return true;
}

} // namespace

} // namespace cehost::gdi

using namespace cehost::gdi;

extern "C" {

int WINAPI FillRect(HDC hdc, const RECT* rect, HBRUSH brush) {
    cehost::internal::ProfileScope profile(cehost::sim::FramePart::Blits);
    DrawTarget t;
    if (!rect || !BeginDraw(hdc, t)) return 0;
    uint32_t pixel;
    if (!BrushColor(t.dc, brush, pixel)) {
        if (!LookupBrush(brush)) {
            SetLastError(ERROR_INVALID_HANDLE);
            return 0;
        }
        return 1; // the null brush paints nothing
    }
    FillDeviceRect(t, {rect->left + t.offset.x, rect->top + t.offset.y, rect->right + t.offset.x, rect->bottom + t.offset.y},
                   pixel);
    return 1;
}

int WINAPI FrameRect(HDC hdc, const RECT* rect, HBRUSH brush) {
    DrawTarget t;
    if (!rect || !BeginDraw(hdc, t)) return 0;
    uint32_t pixel;
    if (!BrushColor(t.dc, brush, pixel)) return LookupBrush(brush) ? 1 : 0;
    RECT r{rect->left + t.offset.x, rect->top + t.offset.y, rect->right + t.offset.x, rect->bottom + t.offset.y};
    if (IsEmpty(r)) return 1;
    FillDeviceRect(t, {r.left, r.top, r.right, r.top + 1}, pixel);
    FillDeviceRect(t, {r.left, r.bottom - 1, r.right, r.bottom}, pixel);
    FillDeviceRect(t, {r.left, r.top, r.left + 1, r.bottom}, pixel);
    FillDeviceRect(t, {r.right - 1, r.top, r.right, r.bottom}, pixel);
    return 1;
}

BOOL WINAPI Rectangle(HDC hdc, int left, int top, int right, int bottom) {
    DrawTarget t;
    if (!BeginDraw(hdc, t)) return FALSE;
    RECT r = Normalized(left, top, right - left, bottom - top);
    r = {r.left + t.offset.x, r.top + t.offset.y, r.right + t.offset.x, r.bottom + t.offset.y};
    PenInfo pen = CurrentPen(t.dc);
    uint32_t fill;
    if (BrushColor(t.dc, t.dc->state.brush, fill)) {
        // Without a pen the filled area is one pixel smaller in both directions.
        RECT inner = pen.visible ? RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}
                                 : RECT{r.left, r.top, r.right - 1, r.bottom - 1};
        MixDeviceRect(t, inner, fill, t.dc->state.rop2);
    }
    if (pen.visible && !IsEmpty(r)) {
        int phase = 0;
        LONG l = r.left, tp = r.top, rt = r.right - 1, b = r.bottom - 1;
        DrawLine(t, pen, l, tp, rt, tp, phase);
        DrawLine(t, pen, rt, tp, rt, b, phase);
        DrawLine(t, pen, rt, b, l, b, phase);
        DrawLine(t, pen, l, b, l, tp, phase);
        if (l == rt || tp == b) PenDot(t, pen, rt, b);
    }
    return TRUE;
}

BOOL WINAPI LineTo(HDC hdc, int x, int y) {
    DrawTarget t;
    if (!BeginDraw(hdc, t)) return FALSE;
    PenInfo pen = CurrentPen(t.dc);
    POINT from = t.dc->state.current;
    if (pen.visible) {
        int phase = 0;
        DrawLine(t, pen, from.x + t.offset.x, from.y + t.offset.y, x + t.offset.x, y + t.offset.y, phase);
    }
    t.dc->state.current = {x, y};
    return TRUE;
}

BOOL WINAPI Polyline(HDC hdc, const POINT* points, int count) {
    DrawTarget t;
    if (!points || count < 2 || !BeginDraw(hdc, t)) {
        if (count < 2) SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    PenInfo pen = CurrentPen(t.dc);
    if (!pen.visible) return TRUE;
    int phase = 0;
    for (int i = 0; i + 1 < count; ++i)
        DrawLine(t, pen, points[i].x + t.offset.x, points[i].y + t.offset.y, points[i + 1].x + t.offset.x,
                 points[i + 1].y + t.offset.y, phase);
    return TRUE;
}

BOOL WINAPI Polygon(HDC hdc, const POINT* points, int count) {
    DrawTarget t;
    if (!points || count < 2 || !BeginDraw(hdc, t)) {
        if (count < 2) SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::vector<POINT> pts(points, points + count);
    for (POINT& p : pts) p = {p.x + t.offset.x, p.y + t.offset.y};
    uint32_t fill;
    if (BrushColor(t.dc, t.dc->state.brush, fill)) FillPolygon(t, pts, fill);
    PenInfo pen = CurrentPen(t.dc);
    if (pen.visible) {
        int phase = 0;
        for (size_t i = 0; i < pts.size(); ++i) {
            const POINT& a = pts[i];
            const POINT& b = pts[(i + 1) % pts.size()];
            DrawLine(t, pen, a.x, a.y, b.x, b.y, phase);
        }
    }
    return TRUE;
}

COLORREF WINAPI SetPixel(HDC hdc, int x, int y, COLORREF color) {
    DrawTarget t;
    if (!BeginDraw(hdc, t)) return COLORREF(-1);
    LONG dx = x + t.offset.x, dy = y + t.offset.y;
    if (!InClip(t, dx, dy)) return COLORREF(-1);
    t.surface->Row(int(dy))[dx] = ToPixel(color);
    return color & 0xFFFFFFu;
}

COLORREF WINAPI GetPixel(HDC hdc, int x, int y) {
    DrawTarget t;
    if (!BeginDraw(hdc, t, true)) return CLR_INVALID;
    LONG dx = x + t.offset.x, dy = y + t.offset.y;
    if (!InClip(t, dx, dy)) return CLR_INVALID;
    return ToColorRef(t.surface->Row(int(dy))[dx]);
}

BOOL WINAPI PatBlt(HDC hdc, int x, int y, int width, int height, DWORD rop) {
    if (UsesSource(rop)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return Blt(hdc, x, y, width, height, nullptr, 0, 0, 0, 0, rop);
}

BOOL WINAPI BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop) {
    return Blt(dest, x, y, width, height, src, srcX, srcY, width, height, rop);
}

BOOL WINAPI StretchBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                       int srcHeight, DWORD rop) {
    return Blt(dest, x, y, width, height, src, srcX, srcY, srcWidth, srcHeight, rop);
}

BOOL WINAPI TransparentImage(HDC dest, LONG x, LONG y, LONG width, LONG height, HANDLE src, LONG srcX, LONG srcY,
                             LONG srcWidth, LONG srcHeight, COLORREF transparent) {
    cehost::internal::ProfileScope profile(cehost::sim::FramePart::Blits);
    DrawTarget t;
    if (!BeginDraw(dest, t, false, true)) return FALSE;
    if (width < 0 || height < 0 || srcWidth < 0 || srcHeight < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    BltSource source;
    const SharedPicture* picture = nullptr; // the source's pixels when they are a shared, unchanging picture
    if (DeviceContext* s = LookupDc(static_cast<HDC>(src))) {
        POINT so = s->Offset();
        source = {s->Target(), srcX + so.x, srcY + so.y, srcWidth, srcHeight};
        if (s->type == DcType::Memory)
            if (Bitmap* b = LookupBitmap(s->state.bitmap)) picture = b->shared.get();
    } else if (Bitmap* b = LookupBitmap(static_cast<HBITMAP>(src))) {
        // A bitmap handed over directly must not be selected into a DC at the same time.
        if (b->selectedIn) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        source = {&b->surface, srcX, srcY, srcWidth, srcHeight};
        picture = b->shared.get();
    }
    if (!source.surface) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    uint32_t key = ToPixel(transparent);
    RECT dst{x + t.offset.x, y + t.offset.y, x + width + t.offset.x, y + height + t.offset.y};
    // A shared picture has never been drawn on (drawing gives a bitmap its own pixels first): it brings no text.
    textrecord::Blitted(t.surface, t.dc->hwnd, *t.clip, dst, picture ? nullptr : source.surface,
                        {source.x, source.y, source.x + source.width, source.y + source.height});
    const bool keyedRuns = picture && srcWidth == width && srcHeight == height;
    if (g_screenRowsOwed) {
        if (keyedRuns && t.surface == &Screen() && WritesWholeRows(t, dst, source, *picture, key, OwedRows()))
            ForgiveOwedRows();
        else
            PayOwedRows();
    }
    if (keyedRuns)
        TransferKeyedRuns(t, dst, source, *picture, key);
    else
        Transfer(t, dst, source, KeyedCopy{key});
    return TRUE;
}

BOOL WINAPI TransparentBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                           int srcHeight, UINT transparent) {
    if (!LookupDc(src)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TransparentImage(dest, x, y, width, height, src, srcX, srcY, srcWidth, srcHeight, transparent);
}

int WINAPI GetDIBits(HDC hdc, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits, LPBITMAPINFO info, UINT usage) {
    Bitmap* b = LookupBitmap(bitmap);
    if (!LookupDc(hdc) || !b || !info) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    BITMAPINFOHEADER& h = info->bmiHeader;
    if (h.biSize < sizeof(BITMAPINFOHEADER)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const Surface& s = b->surface;
    if (!bits) {
        h.biWidth = s.width;
        h.biHeight = s.height;
        h.biPlanes = 1;
        h.biBitCount = 32;
        h.biCompression = BI_RGB;
        h.biSizeImage = DWORD(s.width * s.height * 4);
        return s.height;
    }
    // Only 32-bit output: the layout the drawing engine works in.
    if (h.biBitCount != 32 || h.biWidth != s.width || h.biCompression != BI_RGB) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    bool topDown = h.biHeight < 0;
    UINT copied = 0;
    auto* out = static_cast<uint32_t*>(bits);
    for (UINT line = start; line < start + lines && line < UINT(s.height); ++line, ++copied) {
        int row = topDown ? int(line) : s.height - 1 - int(line);
        std::memcpy(out + size_t(copied) * s.width, s.Row(row), size_t(s.width) * 4);
    }
    return int(copied);
}

} // extern "C"

namespace cehost::internal {

void FillSurface(HDC hdc, const RECT& rect, HBRUSH brush) { ::FillRect(hdc, &rect, brush); }

} // namespace cehost::internal
