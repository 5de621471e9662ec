// GDI's private object model: pixel surfaces, the handle table with generation counters, and the object kinds
// behind HDC, HBITMAP, HBRUSH, HPEN, HFONT and HRGN.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace cehost::gdi {

// Framebuffer words are 0xAARRGGBB; COLORREF is 0x00BBGGRR.
inline uint32_t ToPixel(COLORREF c) {
    return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
inline COLORREF ToColorRef(uint32_t p) { return ((p >> 16) & 0xFFu) | (p & 0xFF00u) | ((p & 0xFFu) << 16); }
inline bool SameRgb(uint32_t a, uint32_t b) { return ((a ^ b) & 0x00FFFFFFu) == 0; }

// A 32-bit pixel grid. `stride` is in pixels and negative for bottom-up DIB sections, so that Row(0) is always
// the top row whatever the memory order. The screen finds its rows through a table instead (`rows`), so that a
// scroll across its whole width moves row addresses rather than pixels; `row0` is then the start of its memory.
struct Surface {
    int width = 0;
    int height = 0;
    uint32_t* row0 = nullptr;
    ptrdiff_t stride = 0;
    uint32_t** rows = nullptr;

    uint32_t* Row(int y) const { return rows ? rows[y] : row0 + y * stride; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

enum class Kind : uint8_t { Dc = 1, Bitmap, Brush, Pen, Font, Region };

struct Object {
    explicit Object(Kind k) : kind(k) {}
    virtual ~Object() = default;
    Kind kind;
    bool stock = false;
    int selections = 0; // how many DCs hold it selected; such an object cannot be deleted
};

struct Brush : Object {
    Brush() : Object(Kind::Brush) {}
    UINT style = BS_SOLID;
    COLORREF color = 0;
    bool dcBrush = false; // the DC_BRUSH stock object: its colour is the DC's
};

struct Pen : Object {
    Pen() : Object(Kind::Pen) {}
    UINT style = PS_SOLID;
    int width = 1;
    COLORREF color = 0;
    bool dcPen = false;
};

struct Font : Object {
    Font() : Object(Kind::Font) {}
    LOGFONTW logfont{};
};

struct Region : Object {
    Region() : Object(Kind::Region) {}
    std::vector<RECT> rects; // disjoint rectangles
};

struct DeviceContext;

// Decoded pixels that several bitmap handles show at once, as a device's ROM pictures: never written.
struct SharedPicture {
    explicit SharedPicture(int w, int h) : width(w), height(h), pixels(size_t(w) * size_t(h)) {}
    int width;
    int height;
    std::vector<uint32_t> pixels; // top-down, width x height

    // The runs of pixels that are not `key` (alpha ignored), row by row, as [start, end) pairs: a transparent
    // transfer of this picture copies them and skips the rest. Worked out once per key (a program draws its
    // pictures with one transparent colour) and kept, as the pixels never change.
    struct Runs {
        const uint16_t* pairs;
        const uint32_t* rowStart; // row y's pairs are pairs[rowStart[y]] up to pairs[rowStart[y + 1]]
    };
    Runs OpaqueRuns(uint32_t key) const {
        key &= 0x00FFFFFFu;
        if (!runsValid || runsKey != key) FindRuns(key);
        return {runs.data(), rowStart.data()};
    }

private:
    void FindRuns(uint32_t key) const;
    mutable uint32_t runsKey = 0;
    mutable bool runsValid = false;
    mutable std::vector<uint16_t> runs;     // start, end, start, end, ... row after row
    mutable std::vector<uint32_t> rowStart; // index into `runs` of each row, and one past the last
};
using SharedPixels = std::shared_ptr<const SharedPicture>;

struct Bitmap : Object {
    Bitmap() : Object(Kind::Bitmap) {}
    ~Bitmap() override { std::free(dibBits); }
    Surface surface;
    std::vector<uint32_t> storage;
    SharedPixels shared; // when set, the surface shows these and `storage` is empty
    // A bitmap about to be drawn on takes its own copy of shared pixels first.
    void MakeWritable() {
        if (!shared) return;
        storage.assign(shared->pixels.begin(), shared->pixels.end());
        surface.row0 = storage.data();
        shared.reset();
    }
    void* dibBits = nullptr; // DIB section memory, owned here (freed with the bitmap)
    bool dib = false;
    bool bottomUp = false;
    DeviceContext* selectedIn = nullptr; // a bitmap is selected into one memory DC at a time
    // Back to a fresh bitmap's fields (a freed bitmap waits for the next one), keeping the pixel storage's
    // capacity up to a full screen's worth.
    void Reset() {
        std::free(dibBits);
        dibBits = nullptr;
        dib = bottomUp = false;
        selectedIn = nullptr;
        selections = 0;
        shared.reset();
        surface = Surface{};
        storage.clear();
        if (storage.capacity() > size_t(480 * 640)) storage.shrink_to_fit();
    }
};

// Everything SaveDC keeps.
struct DcState {
    HPEN pen = nullptr;
    HBRUSH brush = nullptr;
    HFONT font = nullptr;
    HBITMAP bitmap = nullptr;
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF bkColor = RGB(255, 255, 255);
    int bkMode = OPAQUE;
    int rop2 = R2_COPYPEN;
    UINT textAlign = TA_LEFT | TA_TOP | TA_NOUPDATECP;
    POINT current{0, 0};
    POINT viewportOrg{0, 0};
    COLORREF dcBrushColor = RGB(255, 255, 255);
    COLORREF dcPenColor = RGB(0, 0, 0);
    std::optional<std::vector<RECT>> userClip; // device coordinates, relative to the DC's origin
};

enum class DcType { Screen, Window, Memory };

struct DeviceContext : Object {
    DeviceContext() : Object(Kind::Dc) {}
    DcType type = DcType::Memory;
    HWND hwnd = nullptr;
    POINT origin{0, 0};        // where logical (0,0) lies on the surface before the viewport origin
    std::vector<RECT> visible; // what the window manager lets this DC touch (surface coordinates)
    bool visibleIsWholeSurface = true;
    DcState state;
    std::vector<DcState> saved;

    // The surface read from: the screen, or the bitmap selected into a memory DC.
    Surface* Target() const;
    // The same surface about to be written: a bitmap sharing its pixels gets its own copy first.
    Surface* WritableTarget() const;
    // Device offset of logical coordinates.
    POINT Offset() const { return {origin.x + state.viewportOrg.x, origin.y + state.viewportOrg.y}; }
    // Effective clip in surface coordinates: visible parts, the user's clip region, the surface bounds.
    const std::vector<RECT>& Clip();
    void InvalidateClip() { clipValid = false; }
    // Back to a fresh DC's fields, keeping the capacity of its lists (a freed DC waits for the next one).
    void Reset() {
        selections = 0;
        type = DcType::Memory;
        hwnd = nullptr;
        origin = {0, 0};
        visible.clear();
        visibleIsWholeSurface = true;
        state = DcState{};
        saved.clear();
        clip.clear();
        clipValid = false;
    }

private:
    std::vector<RECT> clip;
    RECT clipBounds{}; // the surface's bounds when `clip` was worked out
    bool clipValid = false;
};

// Handle table. A handle is tag | generation << 16 | slot: it fits in 32 bits, and a freed slot's old handles
// stay invalid because the generation moves on. Every GDI call looks its handles up, so the lookup is inline
// and the table a plain global (no guard on each use).
namespace handles {
constexpr uintptr_t kTag = 0x40000000u;
constexpr uintptr_t kSlotMask = 0xFFFFu;
constexpr uintptr_t kGenMask = 0x3FFFu;
struct Slot {
    std::unique_ptr<Object> object;
    uint16_t generation = 1;
};
// Slot 0 is never used, so no handle is 0x40000000 with slot 0. The stock objects take the next slots before
// any other object is registered; until then the table is empty.
extern std::vector<Slot> g_slots;
// The stock objects by GetStockObject index (null where an index names none), and the 1 x 1 bitmap a memory
// DC starts with: set once, by MakeStockObjects, with the table's first slots.
extern HGDIOBJ g_stock[DC_PEN + 1];
extern HBITMAP g_defaultBitmap;
// One past the last of those handles (0 until they are made): theirs are the handles from the first slot's,
// generation 1, up to it, as stock objects are never freed.
extern uintptr_t g_stockEnd;
void MakeStockObjects();
inline void EnsureStockObjects() {
    if (g_slots.empty()) MakeStockObjects();
}
inline HGDIOBJ MakeHandle(uint32_t slot, uint16_t generation) {
    return reinterpret_cast<HGDIOBJ>(kTag | (uintptr_t(generation & kGenMask) << 16) | slot);
}
// One of the stock objects every DC starts with (GetStockObject's and the default bitmap; not those other
// parts register later).
inline bool IsFirstStock(HGDIOBJ h) {
    const uintptr_t v = reinterpret_cast<uintptr_t>(h);
    return v >= (kTag | uintptr_t(1) << 16 | 1) && v < g_stockEnd;
}
} // namespace handles
HGDIOBJ Register(std::unique_ptr<Object> object);
// A fresh DC or bitmap object: one freed earlier when there is one (painting creates and deletes a dozen of
// each per frame, and a reused object keeps the capacity of its lists), a new one otherwise.
std::unique_ptr<DeviceContext> TakeDc();
std::unique_ptr<Bitmap> TakeBitmap();
[[gnu::always_inline]] inline Object* Lookup(HGDIOBJ handle) {
    using namespace handles;
    const uintptr_t v = reinterpret_cast<uintptr_t>(handle);
    if ((v & ~(kSlotMask | (kGenMask << 16))) != kTag) return nullptr;
    const uint32_t slot = uint32_t(v & kSlotMask);
    if (slot == 0 || slot >= g_slots.size()) return nullptr;
    const Slot& s = g_slots[slot];
    if ((s.generation & kGenMask) != ((v >> 16) & kGenMask)) return nullptr;
    return s.object.get();
}
template <typename T> [[gnu::always_inline]] inline T* LookupAs(HGDIOBJ handle, Kind kind) {
    Object* o = Lookup(handle);
    return o && o->kind == kind ? static_cast<T*>(o) : nullptr;
}
inline DeviceContext* LookupDc(HDC h) { return LookupAs<DeviceContext>(h, Kind::Dc); }
inline Bitmap* LookupBitmap(HBITMAP h) { return LookupAs<Bitmap>(h, Kind::Bitmap); }
inline Brush* LookupBrush(HBRUSH h) { return LookupAs<Brush>(h, Kind::Brush); }
inline Pen* LookupPen(HPEN h) { return LookupAs<Pen>(h, Kind::Pen); }
inline Font* LookupFont(HFONT h) { return LookupAs<Font>(h, Kind::Font); }
inline Region* LookupRegion(HRGN h) { return LookupAs<Region>(h, Kind::Region); }
// A permanent object that is never counted nor deleted (system colour brushes).
HGDIOBJ RegisterStock(std::unique_ptr<Object> object);
// Frees the object behind a handle (no checks: callers decide whether deletion is allowed).
void Destroy(HGDIOBJ handle);
// The same for an object the caller has just looked up through `handle`.
void Destroy(HGDIOBJ handle, Object* object);

// A bitmap object holding a copy of top-down 0xAARRGGBB pixels (made opaque).
HBITMAP CreateBitmapFromPixels(int width, int height, const uint32_t* pixels);
// Opaque top-down pixels, decoded once, that bitmap handles can share.
SharedPixels MakeSharedPixels(int width, int height, const uint32_t* pixels);
// A new bitmap handle showing shared pixels (width x height of them); it copies them when drawn on.
HBITMAP CreateBitmapSharing(int width, int height, const SharedPixels& pixels);

// Default objects of a new DC, and the 1 x 1 bitmap a memory DC starts with.
inline HGDIOBJ Stock(int index) {
    if (index < 0 || index > DC_PEN) return nullptr;
    handles::EnsureStockObjects();
    return handles::g_stock[index];
}
inline HBITMAP DefaultBitmap() {
    handles::EnsureStockObjects();
    return handles::g_defaultBitmap;
}

// Rectangle helpers in surface coordinates.
inline bool IsEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }
inline RECT Intersect(const RECT& a, const RECT& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}
inline bool Contains(const RECT& r, LONG x, LONG y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }
// a minus b as up to four disjoint rectangles.
void Subtract(const RECT& a, const RECT& b, std::vector<RECT>& out);
std::vector<RECT> IntersectLists(const std::vector<RECT>& a, const std::vector<RECT>& b);
RECT Bounds(const std::vector<RECT>& rects);

// Screen framebuffer, made on first use (it asks the window manager for the screen's size); every drawing
// call on a window asks for it, so after that it is one load.
extern Surface* g_screen;
Surface& MakeScreen();
inline Surface& Screen() { return g_screen ? *g_screen : MakeScreen(); }
// A full-width move of rows within a surface that has a row table: rows [top, bottom) take the pixels of rows
// [top + dy, bottom + dy), and the source rows outside [top, bottom) keep theirs, as a copy would leave them.
// The overlapping rows change places by address. The |dy| source rows the move uncovers are owed their old
// pixels rather than copied at once: the copy is made when anything reads or draws on the screen, unless a
// drawing covers every owed row whole first (a list drawing the row it scrolled into view), which makes the
// copy needless. False (nothing done) where that would not beat a copy or the surface has no table; the caller
// then copies.
bool MoveRows(const Surface& s, int top, int bottom, int dy);
// Whether a move left screen rows owed, and paying them: every way to the screen's pixels pays first.
extern bool g_screenRowsOwed;
void PayOwedRows();
inline void PayScreenRows() {
    if (g_screenRowsOwed) PayOwedRows();
}
// The owed rows, [top, bottom), for a drawing that may write every one of them whole; it then forgives them
// (the old pixels would be written over unseen) or pays them.
std::pair<int, int> OwedRows();
void ForgiveOwedRows();

} // namespace cehost::gdi
