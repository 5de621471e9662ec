// GDI handles and objects: the handle table, stock objects, creation, GetObjectW and DeleteObject.
// Pattern and hatched brushes are not provided (CreateBrushIndirect accepts solid and null brushes only).
#include "gdi/GdiObjects.h"
#include "gdi/TextRecord.h"
#include "internal/bridge.h"
#include "internal/profile.h"

#include <cstdlib>
#include <cstring>

namespace cehost::gdi {

std::vector<handles::Slot> handles::g_slots;
HGDIOBJ handles::g_stock[DC_PEN + 1] = {};
HBITMAP handles::g_defaultBitmap = nullptr;
uintptr_t handles::g_stockEnd = 0;

namespace {

using namespace handles;

// Slots freed for reuse, and freed DCs and bitmaps, reset, for the next creation. A few spares are enough:
// painting holds at most a handful at once. Plain globals, like the table: every creation and deletion uses
// them.
std::vector<uint32_t> g_free;

template <class T> struct Spares {
    static constexpr int kCount = 16;
    T* objects[kCount] = {};
    int count = 0;
    ~Spares() {
        for (int i = 0; i < count; ++i) delete objects[i];
        count = 0;
    }
    // A freed object goes back to a fresh one's fields and waits for the next creation, while there is room.
    void Keep(T* object) {
        if (count == kCount) {
            delete object;
            return;
        }
        object->Reset();
        objects[count++] = object;
    }
    std::unique_ptr<T> Take() { return std::unique_ptr<T>(count ? objects[--count] : new T); }
};
Spares<DeviceContext> g_spareDcs;
Spares<Bitmap> g_spareBitmaps;

HGDIOBJ RegisterStockInTable(std::unique_ptr<Object> object) {
    object->stock = true;
    // Slot 0 is taken before any object is registered.
    if (g_slots.empty()) g_slots.resize(1);
    g_slots.push_back(Slot{std::move(object), 1});
    return MakeHandle(uint32_t(g_slots.size() - 1), 1);
}

} // namespace

void handles::MakeStockObjects() {
    if (!g_slots.empty()) return;
    auto brush = [](COLORREF c, UINT style = BS_SOLID) {
        auto b = std::make_unique<Brush>();
        b->color = c;
        b->style = style;
        return b;
    };
    auto pen = [](COLORREF c, UINT style = PS_SOLID) {
        auto p = std::make_unique<Pen>();
        p->color = c;
        p->style = style;
        return p;
    };
    auto font = [](LONG height, LONG weight, const char16_t* face) {
        auto f = std::make_unique<Font>();
        f->logfont.lfHeight = height;
        f->logfont.lfWeight = weight;
        f->logfont.lfCharSet = DEFAULT_CHARSET;
        for (int i = 0; face[i] && i < LF_FACESIZE - 1; ++i) f->logfont.lfFaceName[i] = face[i];
        return f;
    };
    HGDIOBJ* objects = g_stock;
    objects[WHITE_BRUSH] = RegisterStockInTable(brush(RGB(255, 255, 255)));
    objects[LTGRAY_BRUSH] = RegisterStockInTable(brush(RGB(0xC0, 0xC0, 0xC0)));
    objects[GRAY_BRUSH] = RegisterStockInTable(brush(RGB(0x80, 0x80, 0x80)));
    objects[DKGRAY_BRUSH] = RegisterStockInTable(brush(RGB(0x40, 0x40, 0x40)));
    objects[BLACK_BRUSH] = RegisterStockInTable(brush(RGB(0, 0, 0)));
    objects[NULL_BRUSH] = RegisterStockInTable(brush(0, BS_NULL));
    objects[WHITE_PEN] = RegisterStockInTable(pen(RGB(255, 255, 255)));
    objects[BLACK_PEN] = RegisterStockInTable(pen(RGB(0, 0, 0)));
    objects[NULL_PEN] = RegisterStockInTable(pen(0, PS_NULL));
    // The system font of a small-screen device: a 16-pixel cell in the platform's default face.
    objects[SYSTEM_FONT] = RegisterStockInTable(font(16, FW_BOLD, u"System"));
    objects[DEVICE_DEFAULT_FONT] = RegisterStockInTable(font(16, FW_NORMAL, u"System"));
    objects[DEFAULT_GUI_FONT] = RegisterStockInTable(font(-12, FW_NORMAL, u"System"));
    objects[ANSI_VAR_FONT] = RegisterStockInTable(font(-12, FW_NORMAL, u"System"));
    objects[OEM_FIXED_FONT] = RegisterStockInTable(font(-12, FW_NORMAL, u"Monospace"));
    objects[ANSI_FIXED_FONT] = RegisterStockInTable(font(-12, FW_NORMAL, u"Monospace"));
    objects[SYSTEM_FIXED_FONT] = RegisterStockInTable(font(16, FW_NORMAL, u"Monospace"));
    auto dcBrush = brush(RGB(255, 255, 255));
    dcBrush->dcBrush = true;
    objects[DC_BRUSH] = RegisterStockInTable(std::move(dcBrush));
    auto dcPen = pen(RGB(0, 0, 0));
    dcPen->dcPen = true;
    objects[DC_PEN] = RegisterStockInTable(std::move(dcPen));

    auto bitmap = std::make_unique<Bitmap>();
    bitmap->storage.assign(1, 0xFFFFFFFFu);
    bitmap->surface = Surface{1, 1, bitmap->storage.data(), 1};
    g_defaultBitmap = static_cast<HBITMAP>(RegisterStockInTable(std::move(bitmap)));
    g_stockEnd = reinterpret_cast<uintptr_t>(g_defaultBitmap) + 1;
}

HGDIOBJ RegisterStock(std::unique_ptr<Object> object) {
    EnsureStockObjects();
    return RegisterStockInTable(std::move(object));
}

namespace {

// A creation with no freed slot to take: the table grows (making the stock objects first, when it is new).
[[gnu::noinline]] HGDIOBJ RegisterInNewSlot(std::unique_ptr<Object> object) {
    EnsureStockObjects(); // stock objects take the first slots
    if (g_slots.size() > kSlotMask) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    g_slots.emplace_back();
    const uint32_t slot = uint32_t(g_slots.size() - 1);
    g_slots[slot].object = std::move(object);
    internal::GdiObjectCreated();
    return MakeHandle(slot, g_slots[slot].generation);
}

} // namespace

HGDIOBJ Register(std::unique_ptr<Object> object) {
    // Painting frees about as many objects as it makes, so a freed slot is nearly always there.
    if (g_free.empty()) return RegisterInNewSlot(std::move(object));
    const uint32_t slot = g_free.back();
    g_free.pop_back();
    Slot& s = g_slots[slot];
    s.object = std::move(object);
    internal::GdiObjectCreated();
    return MakeHandle(slot, s.generation);
}

void Destroy(HGDIOBJ handle, Object* o) {
    if (o->stock) return;
    if (o->kind == Kind::Bitmap) {
        // Text is recorded only on surfaces that were drawn on, and a bitmap drawn on has its own pixels: one
        // still showing a shared picture has no record to forget.
        if (!static_cast<Bitmap*>(o)->shared) textrecord::Forget(&static_cast<Bitmap*>(o)->surface);
    }
    const uint32_t slot = uint32_t(reinterpret_cast<uintptr_t>(handle) & kSlotMask);
    Slot& s = g_slots[slot];
    // The generation moves on before the object goes, so that nothing its destructor does finds it again.
    Object* gone = s.object.release();
    s.generation = uint16_t((s.generation + 1) & kGenMask);
    if (s.generation == 0) s.generation = 1;
    g_free.push_back(slot);
    internal::GdiObjectDestroyed();
    if (gone->kind == Kind::Dc)
        g_spareDcs.Keep(static_cast<DeviceContext*>(gone));
    else if (gone->kind == Kind::Bitmap)
        g_spareBitmaps.Keep(static_cast<Bitmap*>(gone));
    else
        delete gone;
}

void Destroy(HGDIOBJ handle) {
    if (Object* o = Lookup(handle)) Destroy(handle, o);
}

std::unique_ptr<DeviceContext> TakeDc() { return g_spareDcs.Take(); }
std::unique_ptr<Bitmap> TakeBitmap() { return g_spareBitmaps.Take(); }

void Subtract(const RECT& a, const RECT& b, std::vector<RECT>& out) {
    RECT i = Intersect(a, b);
    if (IsEmpty(i)) {
        if (!IsEmpty(a)) out.push_back(a);
        return;
    }
    if (a.top < i.top) out.push_back({a.left, a.top, a.right, i.top});
    if (i.bottom < a.bottom) out.push_back({a.left, i.bottom, a.right, a.bottom});
    if (a.left < i.left) out.push_back({a.left, i.top, i.left, i.bottom});
    if (i.right < a.right) out.push_back({i.right, i.top, a.right, i.bottom});
}

std::vector<RECT> IntersectLists(const std::vector<RECT>& a, const std::vector<RECT>& b) {
    std::vector<RECT> out;
    for (const RECT& ra : a)
        for (const RECT& rb : b) {
            RECT r = Intersect(ra, rb);
            if (!IsEmpty(r)) out.push_back(r);
        }
    return out;
}

RECT Bounds(const std::vector<RECT>& rects) {
    RECT b{0, 0, 0, 0};
    bool first = true;
    for (const RECT& r : rects) {
        if (IsEmpty(r)) continue;
        if (first) {
            b = r;
            first = false;
        } else {
            b = {std::min(b.left, r.left), std::min(b.top, r.top), std::max(b.right, r.right),
                 std::max(b.bottom, r.bottom)};
        }
    }
    return b;
}

namespace {

HBITMAP NewBitmap(int width, int height) {
    auto b = TakeBitmap();
    b->storage.assign(size_t(width) * size_t(height), 0xFF000000u);
    b->surface = Surface{width, height, b->storage.data(), width};
    return static_cast<HBITMAP>(Register(std::move(b)));
}

bool SaneSize(int width, int height) {
    // Anything bigger than 16k x 16k is a caller's mistake rather than a picture.
    return width > 0 && height > 0 && width <= 16384 && height <= 16384;
}

} // namespace

HBITMAP CreateBitmapFromPixels(int width, int height, const uint32_t* pixels) {
    if (!SaneSize(width, height)) return nullptr;
    auto b = TakeBitmap();
    size_t n = size_t(width) * size_t(height);
    b->storage.resize(n);
    for (size_t i = 0; i < n; ++i) b->storage[i] = pixels[i] | 0xFF000000u;
    b->surface = Surface{width, height, b->storage.data(), width};
    return static_cast<HBITMAP>(Register(std::move(b)));
}

SharedPixels MakeSharedPixels(int width, int height, const uint32_t* pixels) {
    if (!SaneSize(width, height)) return nullptr;
    auto out = std::make_shared<SharedPicture>(width, height);
    for (size_t i = 0; i < out->pixels.size(); ++i) out->pixels[i] = pixels[i] | 0xFF000000u;
    return out;
}

void SharedPicture::FindRuns(uint32_t key) const {
    runs.clear();
    rowStart.assign(1, 0);
    for (int row = 0; row < height; ++row) {
        const uint32_t* p = pixels.data() + size_t(row) * size_t(width);
        for (int x = 0; x < width;) {
            while (x < width && (p[x] & 0x00FFFFFFu) == key) ++x;
            if (x == width) break;
            const int start = x;
            while (x < width && (p[x] & 0x00FFFFFFu) != key) ++x;
            runs.push_back(uint16_t(start));
            runs.push_back(uint16_t(x));
        }
        rowStart.push_back(uint32_t(runs.size()));
    }
    runsKey = key;
    runsValid = true;
}

HBITMAP CreateBitmapSharing(int width, int height, const SharedPixels& pixels) {
    if (!pixels || !SaneSize(width, height) || pixels->width != width || pixels->height != height) return nullptr;
    auto b = TakeBitmap();
    // The surface's pointer is writable by type only: every writer goes through MakeWritable first.
    b->surface = Surface{width, height, const_cast<uint32_t*>(pixels->pixels.data()), width};
    b->shared = pixels;
    return static_cast<HBITMAP>(Register(std::move(b)));
}

} // namespace cehost::gdi

using namespace cehost::gdi;

extern "C" {

HGDIOBJ WINAPI GetStockObject(int object) {
    HGDIOBJ h = Stock(object);
    if (!h) SetLastError(ERROR_INVALID_PARAMETER);
    return h;
}

HBRUSH WINAPI CreateSolidBrush(COLORREF color) {
    auto b = std::make_unique<Brush>();
    b->color = color & 0x00FFFFFFu;
    return static_cast<HBRUSH>(Register(std::move(b)));
}

HBRUSH WINAPI CreateBrushIndirect(const LOGBRUSH* brush) {
    if (!brush || (brush->lbStyle != BS_SOLID && brush->lbStyle != BS_NULL)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto b = std::make_unique<Brush>();
    b->style = brush->lbStyle;
    b->color = brush->lbColor & 0x00FFFFFFu;
    return static_cast<HBRUSH>(Register(std::move(b)));
}

HPEN WINAPI CreatePen(int style, int width, COLORREF color) {
    // Windows CE pens are solid, dashed or null; other styles draw as solid.
    if (style < PS_SOLID || style > PS_INSIDEFRAME) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto p = std::make_unique<Pen>();
    p->style = style == PS_DASH || style == PS_NULL ? UINT(style) : UINT(PS_SOLID);
    p->width = width < 1 ? 1 : width;
    // Wide pens are never dashed.
    if (p->width > 1 && p->style == PS_DASH) p->style = PS_SOLID;
    p->color = color & 0x00FFFFFFu;
    return static_cast<HPEN>(Register(std::move(p)));
}

HPEN WINAPI CreatePenIndirect(const LOGPEN* pen) {
    if (!pen) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return CreatePen(int(pen->lopnStyle), int(pen->lopnWidth.x), pen->lopnColor);
}

HFONT WINAPI CreateFontIndirectW(const LOGFONTW* font) {
    if (!font) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto f = std::make_unique<Font>();
    f->logfont = *font;
    // The face name ends at its terminator: what follows it in the caller's buffer is no part of the font, so
    // fonts made from one description are alike byte for byte (the font engine finds recent ones that way).
    WCHAR* name = f->logfont.lfFaceName;
    std::fill(std::find(name, name + LF_FACESIZE - 1, u'\0'), name + LF_FACESIZE, u'\0');
    return static_cast<HFONT>(Register(std::move(f)));
}

HBITMAP WINAPI CreateCompatibleBitmap(HDC hdc, int width, int height) {
    cehost::internal::ProfileScope profile(cehost::sim::FramePart::Bitmaps);
    if (!LookupDc(hdc)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    // Every surface here is 32-bit colour, including the one a fresh memory DC holds.
    if (!SaneSize(width, height)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return NewBitmap(width, height);
}

HBITMAP WINAPI CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
    if (!SaneSize(width, height) || planes != 1 ||
        (bitsPerPixel != 1 && bitsPerPixel != 16 && bitsPerPixel != 24 && bitsPerPixel != 32)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    HBITMAP h = NewBitmap(width, height);
    Bitmap* b = LookupBitmap(h);
    if (!b || !bits) return h;
    // Device-dependent rows are WORD-aligned, top-down.
    const auto* src = static_cast<const uint8_t*>(bits);
    size_t rowBytes = ((size_t(width) * bitsPerPixel + 15) / 16) * 2;
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = src + size_t(y) * rowBytes;
        uint32_t* out = b->surface.Row(y);
        for (int x = 0; x < width; ++x) {
            switch (bitsPerPixel) {
            case 1: out[x] = (row[x / 8] >> (7 - x % 8)) & 1 ? 0xFFFFFFFFu : 0xFF000000u; break;
            case 16: {
                uint16_t v = uint16_t(row[2 * x] | row[2 * x + 1] << 8);
                uint32_t r = (v >> 11) & 31, g = (v >> 5) & 63, bl = v & 31;
                out[x] = 0xFF000000u | ((r * 255 / 31) << 16) | ((g * 255 / 63) << 8) | (bl * 255 / 31);
                break;
            }
            case 24: out[x] = 0xFF000000u | row[3 * x + 2] << 16 | row[3 * x + 1] << 8 | row[3 * x]; break;
            default: std::memcpy(&out[x], row + 4 * x, 4); break;
            }
        }
    }
    return h;
}

HBITMAP WINAPI CreateDIBSection(HDC hdc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                                DWORD offset) {
    if (bits) *bits = nullptr;
    if (!info || section) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const BITMAPINFOHEADER& h = info->bmiHeader;
    int width = h.biWidth;
    int height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    // The drawing engine works on 32-bit pixels only; a DIB section shares its memory with the caller, so
    // other depths are refused rather than silently converted.
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biBitCount != 32 || h.biPlanes != 1 ||
        (h.biCompression != BI_RGB && h.biCompression != BI_BITFIELDS) || !SaneSize(width, height)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    void* memory = std::calloc(size_t(width) * size_t(height), 4);
    if (!memory) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    auto b = TakeBitmap();
    b->dib = true;
    b->dibBits = memory;
    b->bottomUp = h.biHeight > 0;
    auto* px = static_cast<uint32_t*>(memory);
    if (b->bottomUp)
        b->surface = Surface{width, height, px + size_t(height - 1) * width, -ptrdiff_t(width)};
    else
        b->surface = Surface{width, height, px, width};
    HBITMAP handle = static_cast<HBITMAP>(Register(std::move(b)));
    if (!handle) return nullptr;
    if (bits) *bits = memory;
    return handle;
}

DWORD WINAPI GetObjectType(HGDIOBJ object) {
    Object* o = Lookup(object);
    if (!o) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    switch (o->kind) {
    case Kind::Dc: return static_cast<DeviceContext*>(o)->type == DcType::Memory ? OBJ_MEMDC : OBJ_DC;
    case Kind::Bitmap: return OBJ_BITMAP;
    case Kind::Brush: return OBJ_BRUSH;
    case Kind::Pen: return OBJ_PEN;
    case Kind::Font: return OBJ_FONT;
    case Kind::Region: return OBJ_REGION;
    }
    return 0;
}

int WINAPI GetObjectW(HGDIOBJ object, int size, LPVOID buffer) {
    cehost::internal::ProfileScope profile(cehost::sim::FramePart::Bitmaps);
    Object* o = Lookup(object);
    if (!o) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    auto copy = [&](const auto* data, int full) {
        if (!buffer) return full;
        // The usual call asks for the whole structure: a copy of known size.
        if (size >= full) {
            std::memcpy(buffer, data, sizeof *data);
            return full;
        }
        if (size <= 0) return 0;
        std::memcpy(buffer, data, size_t(size));
        return size;
    };
    switch (o->kind) {
    case Kind::Brush: {
        auto* b = static_cast<Brush*>(o);
        LOGBRUSH lb{b->style, b->color, 0};
        return copy(&lb, sizeof lb);
    }
    case Kind::Pen: {
        auto* p = static_cast<Pen*>(o);
        LOGPEN lp{p->style, {p->width, 0}, p->color};
        return copy(&lp, sizeof lp);
    }
    case Kind::Font: return copy(&static_cast<Font*>(o)->logfont, sizeof(LOGFONTW));
    case Kind::Bitmap: {
        auto* b = static_cast<Bitmap*>(o);
        BITMAP bm{};
        bm.bmWidth = b->surface.width;
        bm.bmHeight = b->surface.height;
        bm.bmWidthBytes = b->surface.width * 4;
        bm.bmPlanes = 1;
        bm.bmBitsPixel = 32;
        bm.bmBits = b->dib ? b->dibBits : nullptr;
        if (b->dib && buffer && size >= int(sizeof(DIBSECTION))) {
            DIBSECTION ds{};
            ds.dsBm = bm;
            ds.dsBmih.biSize = sizeof(BITMAPINFOHEADER);
            ds.dsBmih.biWidth = b->surface.width;
            ds.dsBmih.biHeight = b->bottomUp ? b->surface.height : -b->surface.height;
            ds.dsBmih.biPlanes = 1;
            ds.dsBmih.biBitCount = 32;
            ds.dsBmih.biSizeImage = DWORD(b->surface.width * b->surface.height * 4);
            return copy(&ds, sizeof ds);
        }
        return copy(&bm, sizeof bm);
    }
    default: SetLastError(ERROR_INVALID_PARAMETER); return 0;
    }
}

BOOL WINAPI DeleteObject(HGDIOBJ object) {
    cehost::internal::ProfileScope profile(cehost::sim::FramePart::Bitmaps);
    Object* o = Lookup(object);
    if (!o || o->kind == Kind::Dc) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (o->stock) return TRUE;
    // An object still selected into a DC stays alive: deleting it would leave the DC drawing with a dangling
    // object, and failing loudly exposes the missing SelectObject.
    if (o->selections > 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Destroy(object, o);
    return TRUE;
}

} // extern "C"
