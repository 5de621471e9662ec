// Fonts for GDI: a LOGFONTW becomes a realized font (a face file found through fontconfig, opened with
// FreeType at the pixel size the LOGFONTW asks for) with Windows-style metrics and a glyph cache. Realized
// fonts are cached by what makes them differ, so that creating a font for every call costs a lookup.
#pragma once

#include <windows.h>
#include <cehost/win/gdi.h>

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
};

class FaceInstance;

class RealizedFont {
public:
    ~RealizedFont();
    const FontMetrics& Metrics() const { return m_metrics; }
    // The glyph of a code point, from this face or, when it has none, from a fallback face of the same size.
    const Glyph& GetGlyph(char32_t c);
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
};

// The realized font for a LOGFONTW; never null (the last resort is an empty font that draws nothing but has
// sane metrics). Owned by the cache.
RealizedFont* Realize(const LOGFONTW& logfont);

// The file a face name (after substitution) is drawn with.
std::string FontFileForFace(const std::u16string& face, LONG weight);
uint64_t GlyphsRendered();
void ClearCache();

} // namespace cehost::text
