// The screen framebuffer: 32-bit 0xAARRGGBB words, as large as the screen the window manager reports. A size
// change (rotation, the simulator's --screen option) keeps the pixels of the overlapping top-left part.
#include "gdi/GdiObjects.h"
#include "gdi/TextRecord.h"

#include "internal/bridge.h"
#include "internal/user_hooks.h"

#include <cehost/sim/gdi.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace cehost::gdi {

namespace {

struct Framebuffer {
    int width = 240;
    int height = 320;
    std::vector<uint32_t> pixels;
    std::vector<uint32_t*> rows; // where each row of the screen is in `pixels`: scrolls reorder it
    std::vector<uint32_t> spare; // one row, for putting rows back in order
    Surface surface;

    Framebuffer() {
        SIZE size = internal::DisplaySize();
        Resize(int(size.cx), int(size.cy));
    }

    void Resize(int w, int h) {
        PayOwedRows();
        std::vector<uint32_t> next(size_t(w) * size_t(h), 0xFFFFFFFFu);
        for (int y = 0; y < std::min(h, surface.height); ++y)
            std::copy_n(surface.Row(y), std::min(w, surface.width), next.begin() + ptrdiff_t(y) * w);
        pixels.swap(next);
        width = w;
        height = h;
        rows.resize(size_t(h));
        for (int y = 0; y < h; ++y) rows[size_t(y)] = pixels.data() + ptrdiff_t(y) * w;
        spare.resize(size_t(w));
        surface = Surface{w, h, pixels.data(), w, rows.data()};
    }

    // Puts every row back at its own place in `pixels`, so that the memory reads top-down again (for whoever
    // reads the screen as one block). Each cycle of the reordering is walked with one spare row: a row moves
    // into its place, and the place it leaves is filled next, until the cycle comes back to where it started.
    void InOrder() {
        PayOwedRows();
        const size_t bytes = size_t(width) * 4;
        auto home = [&](int y) { return pixels.data() + ptrdiff_t(y) * width; };
        for (int y = 0; y < height; ++y) {
            if (rows[size_t(y)] == home(y)) continue;
            std::memcpy(spare.data(), home(y), bytes);
            for (int at = y;;) {
                const int from = int((rows[size_t(at)] - pixels.data()) / width);
                std::memcpy(home(at), from == y ? spare.data() : rows[size_t(at)], bytes);
                rows[size_t(at)] = home(at);
                if (from == y) break;
                at = from;
            }
        }
    }
};

Framebuffer& TheFramebuffer() {
    static Framebuffer fb;
    return fb;
}

} // namespace

Surface* g_screen = nullptr;

Surface& MakeScreen() {
    g_screen = &TheFramebuffer().surface;
    return *g_screen;
}

bool g_screenRowsOwed = false;

namespace {
// Rows [top, top + count) of the screen are owed the pixels rows [from, from + count) show now.
struct Owed {
    int top = 0, count = 0, from = 0;
} g_owed;
} // namespace

void PayOwedRows() {
    if (!g_screenRowsOwed) return;
    g_screenRowsOwed = false;
    const Surface& s = Screen();
    for (int k = 0; k < g_owed.count; ++k)
        std::memcpy(s.rows[g_owed.top + k], s.rows[g_owed.from + k], size_t(s.width) * 4);
}

std::pair<int, int> OwedRows() { return {g_owed.top, g_owed.top + g_owed.count}; }

void ForgiveOwedRows() { g_screenRowsOwed = false; }

bool MoveRows(const Surface& s, int top, int bottom, int dy) {
    const int h = bottom - top, d = std::abs(dy);
    if (!s.rows || s.rows != Screen().rows || d == 0 || h <= d || top + std::min(dy, 0) < 0 ||
        bottom + std::max(dy, 0) > s.height)
        return false;
    PayOwedRows();
    uint32_t** r = s.rows;
    if (dy > 0) {
        // The addresses of the rows written over go below the moved ones, to the source rows that are not
        // written over; those are owed their pixels, which the last moved rows now show.
        std::rotate(r + top, r + top + d, r + bottom + d);
        g_owed = {bottom, d, bottom - d};
    } else {
        std::rotate(r + top - d, r + bottom - d, r + bottom);
        g_owed = {top - d, d, top};
    }
    g_screenRowsOwed = true;
    return true;
}

} // namespace cehost::gdi

namespace cehost::internal {

void DisplaySizeChanged(int width, int height) {
    if (width < 1 || height < 1 || width > 8192 || height > 8192) return;
    auto& fb = gdi::TheFramebuffer();
    if (fb.width == width && fb.height == height) return;
    fb.Resize(width, height);
    // Everything is repainted at the new size; the text drawn before is not what will show.
    gdi::textrecord::Forget(&fb.surface);
}

} // namespace cehost::internal

namespace cehost::sim {

// The window manager owns the screen size; it tells GDI through DisplaySizeChanged.
bool SetScreenSize(int width, int height) { return internal::SetDisplaySize(width, height); }

SIZE GetScreenSize() {
    const gdi::Surface& s = gdi::Screen();
    return {s.width, s.height};
}

const uint32_t* ScreenPixels() {
    auto& fb = gdi::TheFramebuffer();
    fb.InOrder();
    return fb.pixels.data();
}

} // namespace cehost::sim

namespace cehost::sim {
long GdiObjectCount() { return internal::GdiObjectCount(); }
} // namespace cehost::sim
