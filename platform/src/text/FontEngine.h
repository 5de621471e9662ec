// Fonts for GDI: a LOGFONTW becomes a realized font (a face file found through fontconfig, opened with
// FreeType at the pixel size the LOGFONTW asks for) with Windows-style metrics and a glyph cache. Realized
// fonts are cached by what makes them differ, so that creating a font for every call costs a lookup.
#pragma once

#include <windows.h>
#include <cehost/win/gdi.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace cehost::text {

struct FontMetrics {
    int height = 0; // ascent + descent: the cell height
    int ascent = 0;
    int descent = 0;
    int internalLeading = 0;
    int externalLeading = 0;
    int aveCharWidth = 0;
    int maxCharWidth = 0;
    int weight = FW_NORMAL;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int underlinePosition = 1; // rows below the baseline
    int underlineThickness = 1;
    int strikeOutPosition = 0; // rows above the baseline
    BYTE pitchAndFamily = 0;
    BYTE charSet = DEFAULT_CHARSET;
};

// An anti-aliased glyph image: `coverage` rows of `width` bytes, placed with its top-left corner at
// (pen x + left, baseline - top).
struct Glyph {
    int advance = 0;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::vector<uint8_t> coverage;
    // The same coverage as four-pixel groups, for blending a glyph that is not clipped: every pixel with
    // coverage lies in exactly one group and groups without any are left out. A group is 16 bytes, each
    // pixel's coverage in its blue, green and red bytes and, in its alpha byte, 255 where it has coverage and
    // 0 where not (a blend then leaves uncovered pixels as they were and makes covered ones opaque).
    std::vector<uint8_t> groupCoverage;
    std::vector<std::array<int16_t, 2>> groupAt; // x, y of each group's first pixel in the glyph box
    int groupReach = 0; // the groups' right end from the box's left edge (up to width + 3)
};

class FaceInstance;

class RealizedFont {
public:
    ~RealizedFont();
    const FontMetrics& Metrics() const { return m_metrics; }
    // The glyph of a code point, from this face or, when it has none, from a fallback face of the same size.
    const Glyph& GetGlyph(char32_t c) {
        const size_t page = c >> 8;
        if (page < m_pages.size() && m_pages[page])
            if (const Glyph* g = (*m_pages[page])[c & 0xFF]) return *g;
        return LoadGlyph(c);
    }
    int Advance(char32_t c) { return GetGlyph(c).advance; }
    const std::u16string& FaceName() const { return m_faceName; }

private:
    friend RealizedFont* Realize(const LOGFONTW&);
    RealizedFont() = default;
    FontMetrics m_metrics;
    std::u16string m_faceName;
    std::unique_ptr<FaceInstance> m_face;
    std::vector<std::unique_ptr<FaceInstance>> m_fallbacks;
    bool m_fallbacksLoaded = false;
    std::unordered_map<char32_t, Glyph> m_glyphs;
    // The glyphs again by code point, 256 to a page, so that the characters of a call are found without
    // hashing: pages are made as their first glyph is loaded.
    std::vector<std::unique_ptr<std::array<const Glyph*, 256>>> m_pages;
    const Glyph& LoadGlyph(char32_t c);
};

// The realized font for a LOGFONTW; never null (the last resort is an empty font that draws nothing but has
// sane metrics). Owned by the cache.
RealizedFont* Realize(const LOGFONTW& logfont);

// The file a face name (after substitution) is drawn with.
std::string FontFileForFace(const std::u16string& face, LONG weight);
uint64_t GlyphsRendered();
void ClearCache();

} // namespace cehost::text
