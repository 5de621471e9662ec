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
            HFONT font = CreateLxFont(-13);
            HGDIOBJ old = SelectObject(*dib.dc, font);
            SetBkMode(*dib.dc, TRANSPARENT);
            SetTextColor(*dib.dc, RGB(200, 30, 120));
            if (cut) {
                // One clip rectangle per row (odd rows leave out column 0, so none merge): every glyph is cut.
                HRGN clip = CreateRectRgn(0, 0, 0, 0);
                for (int y = 0; y < NoiseDib::kHeight; ++y) {
                    HRGN row = CreateRectRgn(y & 1, y, NoiseDib::kWidth, y + 1);
                    CombineRgn(clip, clip, row, RGN_OR);
                    DeleteObject(row);
                }
                SelectClipRgn(*dib.dc, clip);
                DeleteObject(clip);
            }
            RECT r = rect;
            DrawTextW(*dib.dc, u"Wij 가나다 fy!", -1, &r, format);
            drawn[cut] = dib.Pixels();
            SelectObject(*dib.dc, old);
            DeleteObject(font);
        }
        EXPECT_EQ(drawn[0], drawn[1]) << where;
        EXPECT_NE(drawn[0], NoiseDib().Pixels()) << where << ": nothing drawn";
    }
}
