// Text output and measurement: ExtTextOutW/TextOutW, DrawTextW with its flag rules, GetTextExtent*,
// GetTextMetricsW. Glyphs are blended in the text colour over whatever lies below; OPAQUE mode first fills the
// text cells with the background colour. DT_PATH_ELLIPSIS, DT_MODIFYSTRING and DT_INTERNAL are not provided
// (Windows CE has none of them); rotated fonts draw unrotated.
#include "internal/profile.h"
#include "gdi/Draw.h"
#include "gdi/TextRecord.h"
#include "text/FontEngine.h"

#include <cehost/sim/gdi.h>

#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define CEHOST_HAVE_AVX2_GROUPS 1
#endif

namespace cehost::gdi {

namespace {

using text::RealizedFont;

RealizedFont* DcFont(DeviceContext* dc) {
    Font* f = LookupFont(dc->state.font);
    if (!f) f = LookupFont(static_cast<HFONT>(Stock(SYSTEM_FONT)));
    return text::Realize(f->logfont);
}

// One displayed character: a code point and where it came from in the caller's UTF-16 text.
struct Cell {
    char32_t c;
    int unit;           // index of its first UTF-16 unit
    bool underline = false; // marked by a '&' prefix
};

// Text calls are hot and never nest, so their working lists are kept from call to call (no allocation
// once they have grown); each list has one user.
void Decode(const WCHAR* s, int n, std::vector<Cell>& cells) {
    cells.clear();
    for (int i = 0; i < n; ++i) {
        char32_t c = s[i];
        int at = i;
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < n && s[i + 1] >= 0xDC00 && s[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (s[++i] - 0xDC00);
        cells.push_back({c, at});
    }
}

inline uint32_t Blend(uint32_t dst, uint32_t src, unsigned a) {
    if (a == 255) return src;
    unsigned ia = 255 - a;
    unsigned r = (((src >> 16) & 0xFF) * a + ((dst >> 16) & 0xFF) * ia + 127) / 255;
    unsigned g = (((src >> 8) & 0xFF) * a + ((dst >> 8) & 0xFF) * ia + 127) / 255;
    unsigned b = ((src & 0xFF) * a + (dst & 0xFF) * ia + 127) / 255;
    return 0xFF000000u | r << 16 | g << 8 | b;
}

#ifdef __SSE2__
// (src * a + d * (255 - a) + 127) / 255 on 16-bit lanes, the division by 255 as BlendRow's (below); `src`, `div255`,
// `c127` and `c255` are the caller's constants of the same width (a statement expression, so that it
// compiles for the caller's instruction set).
#define CEHOST_BLEND16(ns, d, a)                                                                                 \
    __extension__({                                                                                              \
        const auto v_ = ns##_add_epi16(                                                                          \
            ns##_add_epi16(ns##_mullo_epi16(src, a), ns##_mullo_epi16(d, ns##_sub_epi16(c255, a))), c127);       \
        ns##_srli_epi16(ns##_mulhi_epu16(v_, div255), 7);                                                          \
    })
#endif

// Blend() over a row of coverage, four pixels at a time where SSE2 is there. The division by 255 is
// (v * 0x8081) >> 23, exact for every 16-bit v (the blend produces at most 255 * 255 + 127), so the result is
// the same to the bit; a pixel without coverage is left as it is.
void BlendRow(uint32_t* row, const uint8_t* cov, LONG n, uint32_t color) {
    LONG k = 0;
#ifdef __SSE2__
    const __m128i zero = _mm_setzero_si128();
    const __m128i src = _mm_unpacklo_epi8(_mm_set1_epi32(int(color)), zero);
    const __m128i c255 = _mm_set1_epi16(255), c127 = _mm_set1_epi16(127), div255 = _mm_set1_epi16(short(0x8081));
    const __m128i opaque = _mm_set1_epi32(int(0xFF000000u));
    auto blend = [&](__m128i d, __m128i a) { return CEHOST_BLEND16(_mm, d, a); };
    for (; k + 4 <= n; k += 4) {
        uint32_t a4;
        std::memcpy(&a4, cov + k, 4);
        if (a4 == 0) continue;
        __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + k));
        __m128i a = _mm_cvtsi32_si128(int(a4));
        a = _mm_unpacklo_epi8(a, a);
        a = _mm_unpacklo_epi16(a, a); // each pixel's coverage in its four bytes
        __m128i lo = blend(_mm_unpacklo_epi8(d, zero), _mm_unpacklo_epi8(a, zero));
        __m128i hi = blend(_mm_unpackhi_epi8(d, zero), _mm_unpackhi_epi8(a, zero));
        __m128i blended = _mm_or_si128(_mm_packus_epi16(lo, hi), opaque);
        __m128i keep = _mm_cmpeq_epi32(a, zero);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(row + k),
                         _mm_or_si128(_mm_and_si128(keep, d), _mm_andnot_si128(keep, blended)));
    }
#endif
    for (; k < n; ++k)
        if (unsigned a = cov[k]) row[k] = Blend(row[k], color, a);
}

// Blends a glyph's four-pixel groups (see text::Glyph); rows[y] + left is where row y of the glyph box starts
// on the surface (rows need not follow each other in memory: the screen's do not after a scroll). The caller makes
// sure every pixel the groups reach may be written (pixels without coverage get their own value back). The
// same arithmetic as BlendRow, so the same pixels; with AVX2 two groups go through it together.
using GroupBlend = void (*)(uint32_t* const* rows, LONG left, const text::Glyph& g, uint32_t color);

#if defined(__SSE2__)
// One group of four pixels at `p`, its 16 coverage bytes at `cov`.
#define CEHOST_BLEND_GROUP(p, cov)                                                                               \
    do {                                                                                                         \
        const __m128i d_ = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));                                \
        const __m128i a_ = _mm_loadu_si128(reinterpret_cast<const __m128i*>(cov));                              \
        const __m128i zero_ = _mm_setzero_si128();                                                               \
        const __m128i lo_ = CEHOST_BLEND16(_mm, _mm_unpacklo_epi8(d_, zero_), _mm_unpacklo_epi8(a_, zero_));    \
        const __m128i hi_ = CEHOST_BLEND16(_mm, _mm_unpackhi_epi8(d_, zero_), _mm_unpackhi_epi8(a_, zero_));    \
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p), _mm_packus_epi16(lo_, hi_));                            \
    } while (false)

void BlendGroupsSse2(uint32_t* const* rows, LONG left, const text::Glyph& g, uint32_t color) {
    const __m128i div255 = _mm_set1_epi16(short(0x8081)), c127 = _mm_set1_epi16(127), c255 = _mm_set1_epi16(255);
    const __m128i src = _mm_unpacklo_epi8(_mm_set1_epi32(int(color)), _mm_setzero_si128());
    const uint8_t* cov = g.groupCoverage.data();
    for (const auto& at : g.groupAt) {
        uint32_t* p = rows[at[1]] + left + at[0];
        CEHOST_BLEND_GROUP(p, cov);
        cov += 16;
    }
}

#if defined(CEHOST_HAVE_AVX2_GROUPS)
// Two groups at a time, one in each half of the register: groups never share a pixel, so both are read
// before either is written.
__attribute__((target("avx2"))) void BlendGroupsAvx2(uint32_t* const* rows, LONG left, const text::Glyph& g,
                                                     uint32_t color) {
    const uint8_t* cov = g.groupCoverage.data();
    const auto* at = g.groupAt.data();
    const size_t n = g.groupAt.size();
    size_t k = 0;
    {
        const __m256i zero = _mm256_setzero_si256(), div255 = _mm256_set1_epi16(short(0x8081)), c127 = _mm256_set1_epi16(127),
                      c255 = _mm256_set1_epi16(255);
        const __m256i src = _mm256_unpacklo_epi8(_mm256_set1_epi32(int(color)), zero);
        for (; k + 2 <= n; k += 2, cov += 32) {
            uint32_t* p = rows[at[k][1]] + left + at[k][0];
            uint32_t* q = rows[at[k + 1][1]] + left + at[k + 1][0];
            const __m256i d = _mm256_inserti128_si256(
                _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p))),
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(q)), 1);
            const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(cov));
            const __m256i lo = CEHOST_BLEND16(_mm256, _mm256_unpacklo_epi8(d, zero), _mm256_unpacklo_epi8(a, zero));
            const __m256i hi = CEHOST_BLEND16(_mm256, _mm256_unpackhi_epi8(d, zero), _mm256_unpackhi_epi8(a, zero));
            const __m256i out = _mm256_packus_epi16(lo, hi);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(p), _mm256_castsi256_si128(out));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(q), _mm256_extracti128_si256(out, 1));
        }
    }
    if (k < n) {
        const __m128i div255 = _mm_set1_epi16(short(0x8081)), c127 = _mm_set1_epi16(127), c255 = _mm_set1_epi16(255);
        const __m128i src = _mm_unpacklo_epi8(_mm_set1_epi32(int(color)), _mm_setzero_si128());
        uint32_t* p = rows[at[k][1]] + left + at[k][0];
        CEHOST_BLEND_GROUP(p, cov);
    }
}
#endif
#else
void BlendGroupsPlain(uint32_t* const* rows, LONG left, const text::Glyph& g, uint32_t color) {
    const uint8_t* cov = g.groupCoverage.data();
    for (const auto& at : g.groupAt) {
        uint32_t* p = rows[at[1]] + left + at[0];
        for (int k = 0; k < 4; ++k, cov += 4)
            if (cov[0]) p[k] = Blend(p[k], color, cov[0]);
    }
}

#endif

const GroupBlend kBlendGroups = [] {
#if defined(CEHOST_HAVE_AVX2_GROUPS)
    if (__builtin_cpu_supports("avx2")) return &BlendGroupsAvx2;
#endif
#if defined(__SSE2__)
    return &BlendGroupsSse2;
#else
    return &BlendGroupsPlain;
#endif
}();

// Clip of one text operation: the DC's clip, narrowed to a rectangle (surface coordinates) when asked.
const std::vector<RECT>& TextClip(const DrawTarget& t, const RECT* limit) {
    if (!limit) return *t.clip;
    static std::vector<RECT> out;
    out.clear();
    for (const RECT& c : *t.clip) {
        RECT i = Intersect(c, *limit);
        if (!IsEmpty(i)) out.push_back(i);
    }
    return out;
}

void FillClipped(const DrawTarget& t, const std::vector<RECT>& clip, const RECT& r, uint32_t pixel) {
    for (const RECT& c : clip) {
        RECT i = Intersect(r, c);
        for (LONG y = i.top; y < i.bottom; ++y) std::fill_n(t.surface->Row(int(y)) + i.left, i.right - i.left, pixel);
    }
}

void DrawGlyph(const DrawTarget& t, const std::vector<RECT>& clip, const text::Glyph& g, LONG x, LONG baseline,
               uint32_t color) {
    if (g.width == 0 || g.height == 0) return;
    RECT box{x + g.left, baseline - g.top, x + g.left + g.width, baseline - g.top + g.height};
    for (const RECT& c : clip) {
        RECT i = Intersect(box, c);
        if (IsEmpty(i)) continue;
        // Most glyphs lie wholly inside one clip rectangle (the rectangles do not overlap, so no other reaches
        // them): only their covered groups are blended.
        if (i.left == box.left && i.top == box.top && i.right == box.right && i.bottom == box.bottom &&
            box.left + g.groupReach <= t.surface->width) {
            if (t.surface->rows) {
                kBlendGroups(t.surface->rows + box.top, box.left, g, color);
                continue;
            }
            static std::vector<uint32_t*> rows; // grows to the tallest glyph drawn
            if (rows.size() < size_t(g.height)) rows.resize(size_t(g.height));
            for (int y = 0; y < g.height; ++y) rows[size_t(y)] = t.surface->Row(int(box.top) + y);
            kBlendGroups(rows.data(), box.left, g, color);
            continue;
        }
        for (LONG y = i.top; y < i.bottom; ++y)
            BlendRow(t.surface->Row(int(y)) + i.left,
                     g.coverage.data() + size_t(y - box.top) * g.width + (i.left - box.left), i.right - i.left, color);
    }
}

// Horizontal position of each cell from `x`, with tabs expanded to multiples of `tabWidth` (0: tabs are
// ordinary characters). Returns the end position.
LONG Layout(RealizedFont* font, const Cell* cells, size_t n, LONG origin, LONG tabWidth, std::vector<LONG>* xs) {
    LONG x = origin;
    for (size_t i = 0; i < n; ++i) {
        if (xs) xs->push_back(x);
        if (cells[i].c == u'\t' && tabWidth > 0)
            x = origin + ((x - origin) / tabWidth + 1) * tabWidth;
        else
            x += font->Advance(cells[i].c);
    }
    return x;
}

bool IsSpace(char32_t c) { return c == u' ' || c == 0x3000 || c == 0xA0; }

// The characters of a drawn line that show (their middle inside the clip), from the first to the last that is
// not blank, become a run in the record of visible text.
void RecordRun(const DrawTarget& t, const std::vector<RECT>& clip, const Cell* cells, size_t n,
               const std::vector<LONG>& xs, LONG end, LONG top, LONG height) {
    const LONG cy = top + height / 2;
    size_t first = n, last = 0;
    for (size_t i = 0; i < n; ++i) {
        if (cells[i].c <= u' ' || IsSpace(cells[i].c)) continue;
        const LONG cx = (xs[i] + (i + 1 < n ? xs[i + 1] : end)) / 2;
        bool shown = false;
        for (const RECT& c : clip)
            if (Contains(c, cx, cy)) {
                shown = true;
                break;
            }
        if (!shown) continue;
        if (first == n) first = i;
        last = i;
    }
    if (first == n) return;
    static std::u16string text; // reused: recording allocates nothing once it has grown
    text.clear();
    for (size_t i = first; i <= last; ++i) {
        const char32_t c = cells[i].c;
        if (c >= 0x10000) {
            text += char16_t(0xD800 + ((c - 0x10000) >> 10));
            text += char16_t(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            text += char16_t(c);
        }
    }
    const RECT rect{xs[first], top, last + 1 < n ? xs[last + 1] : end, top + height};
    textrecord::Drawn(t.surface, t.dc->hwnd, clip, rect, text.data(), text.size());
}

// Draws cells with their left edge at x and the cell top at `top` (surface coordinates).
void DrawCells(const DrawTarget& t, const std::vector<RECT>& clip, RealizedFont* font, const Cell* cells, size_t n,
               LONG x, LONG top, LONG tabWidth, COLORREF textColor, bool opaque, COLORREF bkColor,
               const int* dx = nullptr) {
    const text::FontMetrics& m = font->Metrics();
    static std::vector<LONG> xs;
    xs.clear();
    LONG end;
    if (dx) {
        end = x;
        for (size_t i = 0; i < n; ++i) {
            xs.push_back(end);
            end += dx[cells[i].unit];
        }
    } else {
        end = Layout(font, cells, n, x, tabWidth, &xs);
    }
    if (opaque) FillClipped(t, clip, {x, top, end, top + m.height}, ToPixel(bkColor));
    uint32_t color = ToPixel(textColor);
    LONG baseline = top + m.ascent;
    for (size_t i = 0; i < n; ++i) {
        if (cells[i].c == u'\t' && tabWidth > 0) continue;
        const text::Glyph& g = font->GetGlyph(cells[i].c);
        DrawGlyph(t, clip, g, xs[i], baseline, color);
        if (cells[i].underline) {
            LONG next = i + 1 < n ? xs[i + 1] : end;
            LONG uy = baseline + m.underlinePosition;
            FillClipped(t, clip, {xs[i], uy, next, uy + 1}, color);
        }
    }
    if (m.underline) {
        LONG uy = baseline + m.underlinePosition;
        FillClipped(t, clip, {x, uy, end, uy + m.underlineThickness}, color);
    }
    if (m.strikeOut) {
        LONG sy = baseline - m.strikeOutPosition;
        FillClipped(t, clip, {x, sy, end, sy + m.underlineThickness}, color);
    }
    RecordRun(t, clip, cells, n, xs, end, top, m.height);
}

// Hangul, kana and ideographs may break between any two characters, as Korean and Japanese text does.
bool IsCjk(char32_t c) {
    return (c >= 0x1100 && c <= 0x11FF) || (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xA960 && c <= 0xA97F) ||
           (c >= 0xAC00 && c <= 0xD7FF) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF00 && c <= 0xFFEF);
}

// A break is allowed before cell i.
bool BreakBefore(const std::vector<Cell>& cells, size_t i) {
    if (i == 0) return false;
    char32_t prev = cells[i - 1].c, c = cells[i].c;
    if (IsSpace(c)) return false;
    return IsSpace(prev) || prev == u'\t' || IsCjk(prev) || IsCjk(c);
}

struct Line {
    std::vector<Cell> cells;
    LONG width = 0;
};

// The lines of one DrawTextW call. Lines are reused from call to call with the capacity of their cells.
struct Lines {
    std::vector<Line> lines;
    size_t count = 0;

    Line& Next() {
        if (count == lines.size()) lines.emplace_back();
        Line& line = lines[count++];
        line.cells.clear();
        line.width = 0;
        return line;
    }
    Line* begin() { return lines.data(); }
    Line* end() { return lines.data() + count; }
};

// Turns '&' prefixes into underline marks: "&&" shows one '&', "&x" underlines x, a final '&' vanishes.
// In place: a cell only ever moves towards the front.
void ApplyPrefixes(std::vector<Cell>& cells) {
    size_t out = 0;
    for (size_t i = 0; i < cells.size(); ++i) {
        if (cells[i].c != u'&') {
            cells[out++] = cells[i];
            continue;
        }
        if (i + 1 >= cells.size()) break;
        Cell next = cells[++i];
        if (next.c != u'&') next.underline = true;
        cells[out++] = next;
    }
    cells.resize(out);
}

void EndEllipsis(RealizedFont* font, Line& line, LONG maxWidth, LONG tabWidth) {
    if (line.width <= maxWidth) return;
    Cell dot{u'.', line.cells.empty() ? 0 : line.cells.back().unit};
    LONG dots = 3 * font->Advance(u'.');
    while (!line.cells.empty() && Layout(font, line.cells.data(), line.cells.size(), 0, tabWidth, nullptr) + dots > maxWidth)
        line.cells.pop_back();
    for (int i = 0; i < 3; ++i) line.cells.push_back(dot);
    line.width = Layout(font, line.cells.data(), line.cells.size(), 0, tabWidth, nullptr);
}

// Splits one paragraph (no CR/LF inside) into lines no wider than maxWidth where the text allows it.
void WrapParagraph(RealizedFont* font, const std::vector<Cell>& para, LONG maxWidth, LONG tabWidth, UINT format,
                   Lines& lines) {
    size_t start = 0;
    static std::vector<LONG> xs;
    do {
        while (start > 0 && start < para.size() && IsSpace(para[start].c)) ++start; // dropped at a wrap
        xs.clear();
        LONG end = Layout(font, para.data() + start, para.size() - start, 0, tabWidth, &xs);
        size_t n = para.size() - start;
        // An empty paragraph is one empty line even in a rectangle narrower than nothing.
        if (end <= maxWidth || n == 0) {
            Line& line = lines.Next();
            line.cells.assign(para.begin() + ptrdiff_t(start), para.end());
            line.width = end;
            return;
        }
        // First cell that crosses the right edge (spaces may hang over it).
        size_t over = 0;
        for (size_t i = 0; i < n; ++i) {
            LONG right = i + 1 < n ? xs[i + 1] : end;
            if (right > maxWidth && !IsSpace(para[start + i].c)) {
                over = i;
                break;
            }
        }
        size_t cut = 0;
        for (size_t i = over; i > 0; --i)
            if (BreakBefore(para, start + i)) {
                cut = i;
                break;
            }
        if (cut == 0) {
            if (format & DT_EDITCONTROL) {
                cut = std::max<size_t>(over, 1);
            } else {
                // A word wider than the line is not split: it runs to its end and is clipped there.
                cut = over + 1;
                while (cut < n && !BreakBefore(para, start + cut)) ++cut;
            }
        }
        size_t len = cut;
        // Spaces before the break stay only where they fit (left-aligned lines), never on centred or
        // right-aligned lines.
        bool left = (format & (DT_CENTER | DT_RIGHT)) == 0;
        while (len > 0 && IsSpace(para[start + len - 1].c) &&
               (!left || (len < n ? xs[len] : end) > maxWidth))
            --len;
        Line& line = lines.Next();
        line.cells.assign(para.begin() + ptrdiff_t(start), para.begin() + ptrdiff_t(start + len));
        line.width = Layout(font, line.cells.data(), line.cells.size(), 0, tabWidth, nullptr);
        start += cut;
    } while (start < para.size());
}

} // namespace

} // namespace cehost::gdi

using namespace cehost::gdi;

extern "C" {

BOOL WINAPI GetTextMetricsW(HDC hdc, LPTEXTMETRICW tm) {
    DeviceContext* dc = LookupDc(hdc);
    if (!dc || !tm) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const cehost::text::FontMetrics& m = DcFont(dc)->Metrics();
    *tm = TEXTMETRICW{};
    tm->tmHeight = m.height;
    tm->tmAscent = m.ascent;
    tm->tmDescent = m.descent;
    tm->tmInternalLeading = m.internalLeading;
    tm->tmExternalLeading = m.externalLeading;
    tm->tmAveCharWidth = m.aveCharWidth;
    tm->tmMaxCharWidth = m.maxCharWidth;
    tm->tmWeight = m.weight;
    tm->tmDigitizedAspectX = 96;
    tm->tmDigitizedAspectY = 96;
    tm->tmFirstChar = 0x20;
    tm->tmLastChar = 0xFFFC;
    tm->tmDefaultChar = u'?';
    tm->tmBreakChar = u' ';
    tm->tmItalic = m.italic;
    tm->tmUnderlined = m.underline;
    tm->tmStruckOut = m.strikeOut;
    tm->tmPitchAndFamily = m.pitchAndFamily;
    tm->tmCharSet = m.charSet;
    return TRUE;
}

int WINAPI GetTextFaceW(HDC hdc, int count, LPWSTR face) {
    DeviceContext* dc = LookupDc(hdc);
    if (!dc) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    const std::u16string& name = DcFont(dc)->FaceName();
    if (!face) return int(name.size() + 1);
    if (count <= 0) return 0;
    int n = std::min<int>(count - 1, int(name.size()));
    std::copy_n(name.begin(), n, face);
    face[n] = 0;
    return n + 1;
}

BOOL WINAPI GetTextExtentExPointW(HDC hdc, LPCWSTR text, int count, int maxExtent, LPINT fit, LPINT dx, LPSIZE size) {
    cehost::internal::ProfileScope profile(cehost::sim::FramePart::Text);
    DeviceContext* dc = LookupDc(hdc);
    if (!dc || count < 0 || (count > 0 && !text)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    RealizedFont* font = DcFont(dc);
    static std::vector<Cell> cells;
    Decode(text, count, cells);
    LONG x = 0;
    int fits = 0;
    size_t cell = 0;
    for (int i = 0; i < count; ++i) {
        // Both units of a surrogate pair report the extent through the pair.
        if (cell < cells.size() && cells[cell].unit == i) x += font->Advance(cells[cell++].c);
        if (dx) dx[i] = int(x);
        if (x <= maxExtent && fits == i) fits = i + 1;
    }
    if (fit) *fit = fits;
    if (size) *size = {x, font->Metrics().height};
    return TRUE;
}

BOOL WINAPI GetTextExtentPoint32W(HDC hdc, LPCWSTR text, int count, LPSIZE size) {
    return GetTextExtentExPointW(hdc, text, count, 0, nullptr, nullptr, size);
}

BOOL WINAPI ExtTextOutW(HDC hdc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count,
                        const int* dx) {
    cehost::internal::ProfileScope profile(cehost::sim::FramePart::Text);
    DrawTarget t;
    if (!BeginDraw(hdc, t)) return FALSE;
    if (count > 0 && !text) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    DcState& st = t.dc->state;
    RealizedFont* font = DcFont(t.dc);
    const cehost::text::FontMetrics& m = font->Metrics();
    static std::vector<Cell> cells;
    Decode(text, int(count), cells);
    LONG width = 0;
    if (dx)
        for (UINT i = 0; i < count; ++i) width += dx[i];
    else
        width = Layout(font, cells.data(), cells.size(), 0, 0, nullptr);
    if (st.textAlign & TA_UPDATECP) {
        x = int(st.current.x);
        y = int(st.current.y);
    }
    LONG left = x;
    if ((st.textAlign & TA_CENTER) == TA_CENTER)
        left -= width / 2;
    else if (st.textAlign & TA_RIGHT)
        left -= width;
    LONG top = y;
    if ((st.textAlign & TA_BASELINE) == TA_BASELINE)
        top -= m.ascent;
    else if (st.textAlign & TA_BOTTOM)
        top -= m.height;
    RECT limit{};
    if (rect) limit = {rect->left + t.offset.x, rect->top + t.offset.y, rect->right + t.offset.x, rect->bottom + t.offset.y};
    const std::vector<RECT>& clip = TextClip(t, rect && (options & ETO_CLIPPED) ? &limit : nullptr);
    if (rect && (options & ETO_OPAQUE)) {
        textrecord::Covered(t.surface, *t.clip, limit);
        FillClipped(t, *t.clip, limit, ToPixel(st.bkColor));
    }
    DrawCells(t, clip, font, cells.data(), cells.size(), left + t.offset.x, top + t.offset.y, 0, st.textColor,
              st.bkMode == OPAQUE, st.bkColor, dx);
    if (st.textAlign & TA_UPDATECP) {
        if ((st.textAlign & TA_CENTER) == TA_CENTER) {
        } else if (st.textAlign & TA_RIGHT) {
            st.current.x -= width;
        } else {
            st.current.x += width;
        }
    }
    return TRUE;
}

BOOL WINAPI TextOutW(HDC hdc, int x, int y, LPCWSTR text, int count) {
    if (count < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return ExtTextOutW(hdc, x, y, 0, nullptr, text, UINT(count), nullptr);
}

int WINAPI DrawTextW(HDC hdc, LPCWSTR text, int count, LPRECT rect, UINT format) {
    cehost::internal::ProfileScope profile(cehost::sim::FramePart::Text);
    DrawTarget t;
    if (!text || !rect || !BeginDraw(hdc, t)) {
        if (!text || !rect) SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    DcState& st = t.dc->state;
    RealizedFont* font = DcFont(t.dc);
    const cehost::text::FontMetrics& m = font->Metrics();
    LONG lineHeight = m.height + ((format & DT_EXTERNALLEADING) ? m.externalLeading : 0);
    if (count == 0) return int(lineHeight);
    if (count < 0) {
        count = 0;
        while (text[count]) ++count;
    }
    // With DT_TABSTOP the second byte carries the tab size instead of flags.
    LONG tabChars = 8;
    if (format & DT_TABSTOP) {
        tabChars = LONG((format >> 8) & 0xFF);
        format &= ~0xFF00u;
    }
    LONG tabWidth = (format & DT_EXPANDTABS) ? std::max<LONG>(1, tabChars * m.aveCharWidth) : 0;
    if (format & DT_SINGLELINE) format &= ~UINT(DT_WORDBREAK);
    LONG rectWidth = rect->right - rect->left;

    // Paragraphs: CR, LF and CRLF end a line unless the text is a single line.
    static std::vector<Cell> all, para;
    static Lines lines;
    Decode(text, count, all);
    lines.count = 0;
    for (size_t i = 0;;) {
        para.clear();
        bool more = false;
        for (; i < all.size() && !more; ++i) {
            char32_t c = all[i].c;
            if (!(format & DT_SINGLELINE) && (c == u'\r' || c == u'\n')) {
                if (c == u'\r' && i + 1 < all.size() && all[i + 1].c == u'\n') ++i;
                more = true;
                continue;
            }
            para.push_back(all[i]);
        }
        if (!(format & DT_NOPREFIX)) ApplyPrefixes(para);
        if (format & DT_WORDBREAK) {
            WrapParagraph(font, para, rectWidth, tabWidth, format, lines);
        } else {
            Line& line = lines.Next();
            line.cells.assign(para.begin(), para.end());
            line.width = Layout(font, para.data(), para.size(), 0, tabWidth, nullptr);
        }
        if (!more) break;
    }
    // An empty text has no line to draw, but still measures one line high.
    bool empty = all.empty();
    if (empty && !(format & DT_SINGLELINE)) lines.count = 0;
    if (format & DT_END_ELLIPSIS)
        for (Line& line : lines) EndEllipsis(font, line, rectWidth, tabWidth);

    LONG y = rect->top;
    bool placed = (format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM));
    if (placed) {
        if (format & DT_VCENTER)
            y = rect->top + (rect->bottom - rect->top) / 2 - lineHeight / 2;
        else
            y = rect->bottom - lineHeight;
    }
    LONG startY = y;
    LONG widest = 0;
    bool draw = !(format & DT_CALCRECT);
    RECT limit{rect->left + t.offset.x, rect->top + t.offset.y, rect->right + t.offset.x, rect->bottom + t.offset.y};
    const std::vector<RECT>& clip = TextClip(t, (format & DT_NOCLIP) ? nullptr : &limit);
    for (const Line& line : lines) {
        widest = std::max(widest, line.width);
        if (draw) {
            LONG x = rect->left;
            if (format & DT_CENTER)
                x = (rect->left + rect->right - line.width) / 2;
            else if (format & DT_RIGHT)
                x = rect->right - line.width;
            DrawCells(t, clip, font, line.cells.data(), line.cells.size(), x + t.offset.x, y + t.offset.y, tabWidth,
                      st.textColor, st.bkMode == OPAQUE, st.bkColor);
        }
        y += lineHeight;
        // Lines below the rectangle are not drawn; the one that crosses its bottom still is, clipped.
        if (draw && !(format & DT_NOCLIP) && y > rect->bottom) break;
    }
    if (empty && (format & DT_SINGLELINE)) y = startY + lineHeight;
    if (format & DT_CALCRECT) {
        rect->right = rect->left + widest;
        rect->bottom = y;
    }
    if (empty) return int(lineHeight);
    LONG result = placed ? y - rect->top : y - startY;
    return result == 0 ? 1 : int(result);
}

} // extern "C"

namespace cehost::sim {

std::string FontFileForFace(const std::u16string& face, LONG weight) { return text::FontFileForFace(face, weight); }
uint64_t GlyphsRendered() { return text::GlyphsRendered(); }
void ClearFontCache() { text::ClearCache(); }

} // namespace cehost::sim
