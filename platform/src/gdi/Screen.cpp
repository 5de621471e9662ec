// The screen framebuffer: 32-bit 0xAARRGGBB words, as large as the screen the window manager reports. A size
// change (rotation, the simulator's --screen option) keeps the pixels of the overlapping top-left part.
#include "gdi/GdiObjects.h"
#include "gdi/TextRecord.h"

#include "internal/bridge.h"
#include "internal/user_hooks.h"

#include <cehost/sim/gdi.h>

namespace cehost::gdi {

namespace {

struct Framebuffer {
    int width = 240;
    int height = 320;
    std::vector<uint32_t> pixels;
    Surface surface;

    Framebuffer() {
        SIZE size = internal::DisplaySize();
        Resize(int(size.cx), int(size.cy));
    }

    void Resize(int w, int h) {
        std::vector<uint32_t> next(size_t(w) * size_t(h), 0xFFFFFFFFu);
        for (int y = 0; y < std::min(h, surface.height); ++y)
            std::copy_n(surface.Row(y), std::min(w, surface.width), next.begin() + ptrdiff_t(y) * w);
        pixels.swap(next);
        width = w;
        height = h;
        surface = Surface{w, h, pixels.data(), w};
    }
};

Framebuffer& TheFramebuffer() {
    static Framebuffer fb;
    return fb;
}

} // namespace

Surface& Screen() { return TheFramebuffer().surface; }

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

const uint32_t* ScreenPixels() { return gdi::Screen().row0; }

} // namespace cehost::sim

namespace cehost::sim {
long GdiObjectCount() { return internal::GdiObjectCount(); }
} // namespace cehost::sim
