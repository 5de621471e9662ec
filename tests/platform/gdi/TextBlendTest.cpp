// Glyphs blended over any background: a glyph that lies wholly inside the clip and one cut by it must come
// out the same to the byte, alpha included, and nothing around the glyphs may change.
#include "GdiTestSupport.h"

#include <cstring>
#include <random>

namespace {

// A top-down 32-bit DIB section filled with the same noise (every byte, alpha too) each time.
struct NoiseDib {
    static constexpr int kWidth = 96, kHeight = 24;
    uint32_t* bits = nullptr;
    std::optional<MemoryDc> dc;

    NoiseDib() {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* pixels = nullptr;
        dc.emplace(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
        bits = static_cast<uint32_t*>(pixels);
        std::mt19937 noise(7);
        for (int i = 0; i < kWidth * kHeight; ++i) bits[i] = noise();
    }
    std::vector<uint32_t> Pixels() const { return {bits, bits + kWidth * kHeight}; }
};

} // namespace

// Draws the test line into `rect` of `dc`, through one clip rectangle per row when `cut` (odd rows leave out
// column 0, so that none merge and every glyph is cut).
void DrawLine(HDC dc, RECT rect, UINT format, bool cut) {
    HFONT font = CreateLxFont(-13);
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(200, 30, 120));
    if (cut) {
        HRGN clip = CreateRectRgn(0, 0, 0, 0);
        for (int y = 0; y < 320; ++y) {
            HRGN row = CreateRectRgn(y & 1, y, 240, y + 1);
            CombineRgn(clip, clip, row, RGN_OR);
            DeleteObject(row);
        }
        SelectClipRgn(dc, clip);
        DeleteObject(clip);
    }
    DrawTextW(dc, u"Wij 가나다 fy!", -1, &rect, format);
    SelectClipRgn(dc, nullptr);
    SelectObject(dc, old);
    DeleteObject(font);
}

TEST_F(GdiTest, GlyphsInsideTheClipBlendAsGlyphsCutByIt) {
    // Where the text goes: left, against the right edge, and cut by the bottom edge.
    const std::pair<const char*, RECT> places[] = {
        {"left", {2, 2, 96, 24}},
        {"against the right edge", {2, 2, 96, 24}},
        {"cut by the bottom", {2, 14, 96, 40}},
    };
    for (const auto& [where, rect] : places) {
        const UINT format = DT_SINGLELINE | DT_NOPREFIX | (std::strcmp(where, "left") ? DT_RIGHT : DT_LEFT);
        std::vector<uint32_t> drawn[2];
        for (int cut = 0; cut < 2; ++cut) {
            NoiseDib dib;
            DrawLine(*dib.dc, rect, format, cut);
            drawn[cut] = dib.Pixels();
        }
        EXPECT_EQ(drawn[0], drawn[1]) << where;
        EXPECT_NE(drawn[0], NoiseDib().Pixels()) << where << ": nothing drawn";
    }
    // The screen after a scroll, its rows no longer in memory order.
    std::vector<uint32_t> shown[2];
    for (int cut = 0; cut < 2; ++cut) {
        HDC screen = GetDC(nullptr);
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 240; x += 3) Fill(screen, {x, y, x + 3, y + 1}, RGB(x, y * 4, (x * y) & 0xFF));
        BitBlt(screen, 0, 0, 240, 25, screen, 0, 7, SRCCOPY); // rows 25 to 31 now lie before row 0
        DrawLine(screen, {5, 20, 200, 40}, DT_SINGLELINE, cut);
        NoiseDib copy;
        BitBlt(*copy.dc, 0, 0, NoiseDib::kWidth, NoiseDib::kHeight, screen, 0, 18, SRCCOPY);
        shown[cut] = copy.Pixels();
        ReleaseDC(nullptr, screen);
    }
    EXPECT_EQ(shown[0], shown[1]) << "on the scrolled screen";
}
