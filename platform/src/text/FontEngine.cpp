// Font realization through fontconfig and FreeType. The face name "LxFont" and any face that is not installed
// are drawn with a Korean-capable face: NanumGothic first, then other Korean faces, then whatever fontconfig
// offers for Korean, then any sans-serif face (with a one-time warning, since Hangul then shows as boxes).
// Bold and italic come from the family's own styles when it has them, otherwise they are synthesized.
// Escapement (rotated text) is not provided.
#include "text/FontEngine.h"
#include "text/FaceMatchCache.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SIZES_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <array>
#include <cctype>
#include <tuple>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>

namespace cehost::text {

namespace {

uint64_t g_glyphsRendered = 0;

constexpr const char* kKoreanFaces[] = {"NanumGothic", "NanumBarunGothic", "Noto Sans CJK KR", "Noto Sans KR",
                                        "UnDotum", "Baekmuk Gulim", "Baekmuk Dotum"};

FT_Library Library() {
    static FT_Library library = [] {
        FT_Library lib = nullptr;
        if (FT_Init_FreeType(&lib) != 0) {
            std::fprintf(stderr, "cehost: FreeType could not be initialised; text will not be drawn\n");
            return FT_Library(nullptr);
        }
        return lib;
    }();
    return library;
}

std::string ToUtf8(const std::u16string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        char32_t c = s[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (s[++i] - 0xDC00);
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

bool EqualsIgnoreCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return std::tolower(x) == std::tolower(y); });
}

bool FontconfigReady() {
    static bool ready = [] {
        if (FcInit() != FcTrue) return false;
        // fontconfig's state is released at exit, so leak checkers see only real leaks.
        std::atexit([] { FcFini(); });
        return true;
    }();
    return ready;
}

// The installed file of `family` in the wanted style; nothing when fontconfig would substitute another family
// (unless `anyFamily`, which takes fontconfig's best match, or `lang` is given).
std::optional<FaceFile> AskFontconfig(const std::string& family, bool bold, bool italic, bool anyFamily,
                                      const char* lang) {
    if (!FontconfigReady()) return std::nullopt;
    FcPattern* pattern = FcPatternCreate();
    if (!family.empty()) FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    if (lang) FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>(lang));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return std::nullopt;
    std::optional<FaceFile> found;
    bool familyOk = anyFamily || family.empty();
    FcChar8* value = nullptr;
    for (int i = 0; !familyOk && FcPatternGetString(match, FC_FAMILY, i, &value) == FcResultMatch; ++i)
        familyOk = EqualsIgnoreCase(reinterpret_cast<const char*>(value), family);
    FcChar8* file = nullptr;
    if (familyOk && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
        FaceFile f;
        f.path = reinterpret_cast<const char*>(file);
        FcPatternGetInteger(match, FC_INDEX, 0, &f.index);
        FcPatternGetInteger(match, FC_WEIGHT, 0, &f.weight);
        int slant = FC_SLANT_ROMAN;
        FcPatternGetInteger(match, FC_SLANT, 0, &slant);
        f.italic = slant != FC_SLANT_ROMAN;
        FcCharSet* charset = nullptr;
        f.hasHangul = FcPatternGetCharSet(match, FC_CHARSET, 0, &charset) == FcResultMatch && charset &&
                      FcCharSetHasChar(charset, 0xAC00);
        found = f;
    }
    FcPatternDestroy(match);
    return found;
}

// What fontconfig read to answer: its configuration files with their folders, and every font folder.
std::vector<std::string> FontconfigInputs() {
    std::vector<std::string> paths;
    auto take = [&](FcStrList* list, bool withFolder) {
        if (!list) return;
        while (FcChar8* p = FcStrListNext(list)) {
            std::string path = reinterpret_cast<const char*>(p);
            paths.push_back(path);
            if (size_t slash = path.rfind('/'); withFolder && slash != std::string::npos && slash > 0)
                paths.push_back(path.substr(0, slash));
        }
        FcStrListDone(list);
    };
    take(FcConfigGetConfigFiles(nullptr), true);
    take(FcConfigGetConfigDirs(nullptr), false);
    take(FcConfigGetFontDirs(nullptr), false);
    // A user's configuration is read when it is there: watch for it to appear.
    const char* home = getenv("HOME");
    const char* xdg = getenv("XDG_CONFIG_HOME");
    std::string config = xdg && *xdg == '/' ? std::string(xdg) : home ? std::string(home) + "/.config" : "";
    if (!config.empty())
        for (const char* p : {"/fontconfig", "/fontconfig/fonts.conf", "/fontconfig/conf.d"})
            paths.push_back(config + p);
    if (home)
        for (const char* p : {"/.fonts.conf", "/.fonts.conf.d"}) paths.push_back(std::string(home) + p);
    return paths;
}

// fontconfig's answer, remembered across runs (see FaceMatchCache).
std::optional<FaceFile> Match(const std::string& family, bool bold, bool italic, bool anyFamily,
                              const char* lang = nullptr) {
    static FaceMatchCache cache(DefaultFaceMatchCacheFile());
    std::string key = family + '\x1f' + char('0' + bold) + char('0' + italic) + char('0' + anyFamily) + '\x1f' +
                      (lang ? lang : "");
    if (const std::optional<FaceFile>* known = cache.Find(key)) return *known;
    std::optional<FaceFile> answer = AskFontconfig(family, bold, italic, anyFamily, lang);
    if (FontconfigReady()) cache.Store(key, answer, FontconfigInputs());
    return answer;
}

// The face that stands in for "LxFont" and unknown names.
std::optional<FaceFile> KoreanFace(bool bold, bool italic) {
    for (const char* family : kKoreanFaces)
        if (auto f = Match(family, bold, italic, false); f && f->hasHangul) return f;
    if (auto f = Match("", bold, italic, true, "ko"); f && f->hasHangul) return f;
    static bool warned = false;
    if (!warned) {
        warned = true;
        std::fprintf(stderr, "cehost: no font with Korean characters is installed (install fonts-nanum); "
                             "Korean text will show as boxes\n");
    }
    return Match("sans-serif", bold, italic, true);
}

const std::optional<FaceFile>& ResolveFace(const std::u16string& face, bool bold, bool italic) {
    static std::map<std::tuple<std::string, bool, bool>, std::optional<FaceFile>> cache;
    std::string name = ToUtf8(face);
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    auto key = std::make_tuple(lower, bold, italic);
    auto it = cache.find(key);
    if (it != cache.end()) return it->second;
    std::optional<FaceFile> f;
    if (!lower.empty() && lower != "lxfont") f = Match(name, bold, italic, false);
    if (!f) f = KoreanFace(bold, italic);
    return cache.emplace(key, f).first->second;
}

} // namespace

// One opened face file, shared by every size of it: FreeType keeps per face what its hinter learns about the
// face's characters, which is costly to work out (a walk over the whole character map) and the same at any size.
struct SharedFace {
    explicit SharedFace(FT_Face f) : face(f) {}
    ~SharedFace() { FT_Done_Face(face); }
    FT_Face face;
};

std::shared_ptr<SharedFace> OpenShared(const FaceFile& file) {
    static std::map<std::pair<std::string, int>, std::weak_ptr<SharedFace>> open;
    std::weak_ptr<SharedFace>& slot = open[{file.path, file.index}];
    if (auto face = slot.lock()) return face;
    FT_Face face = nullptr;
    if (FT_New_Face(Library(), file.path.c_str(), file.index, &face) != 0) return nullptr;
    auto shared = std::make_shared<SharedFace>(face);
    slot = shared;
    return shared;
}

// One face at one pixel size (a FreeType size object of the shared face) with its synthetic styles.
class FaceInstance {
public:
    ~FaceInstance() {
        if (m_size) FT_Done_Size(m_size);
    }

    static std::unique_ptr<FaceInstance> Open(const FaceFile& file) {
        if (!Library()) return nullptr;
        std::shared_ptr<SharedFace> shared = OpenShared(file);
        if (!shared) return nullptr;
        FT_Size size = nullptr;
        if (FT_New_Size(shared->face, &size) != 0) return nullptr;
        auto instance = std::unique_ptr<FaceInstance>(new FaceInstance);
        instance->m_shared = std::move(shared);
        instance->m_size = size;
        return instance;
    }

    // The face with this instance's size and slant in force.
    FT_Face Face() const {
        FT_Face face = m_shared->face;
        FT_Activate_Size(m_size);
        FT_Matrix shear{0x10000, 0x0366A, 0, 0x10000};
        FT_Set_Transform(face, m_oblique ? &shear : nullptr, nullptr);
        return face;
    }

    // Pixels per em (26.6) horizontally and vertically; embolden and slant as needed.
    void Configure(FT_F26Dot6 xPpem, FT_F26Dot6 yPpem, bool embolden, bool oblique, bool mono) {
        FT_Set_Char_Size(Face(), xPpem, yPpem, 72, 72);
        m_embolden = embolden ? std::max<FT_Pos>(yPpem / 24, 32) : 0;
        m_mono = mono;
        m_oblique = oblique;
    }

    bool Has(char32_t c) const { return FT_Get_Char_Index(m_shared->face, c) != 0; }

    void Render(char32_t c, Glyph& g) {
        FT_Face face = Face();
        FT_UInt index = FT_Get_Char_Index(face, c);
        FT_Int32 flags = FT_LOAD_NO_BITMAP | (m_mono ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_LIGHT);
        if (FT_Load_Glyph(face, index, flags) != 0) return;
        FT_GlyphSlot slot = face->glyph;
        if (m_embolden && slot->format == FT_GLYPH_FORMAT_OUTLINE) FT_Outline_Embolden(&slot->outline, m_embolden);
        g.advance = int((slot->advance.x + m_embolden + 32) >> 6);
        if (FT_Render_Glyph(slot, m_mono ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0) return;
        ++g_glyphsRendered;
        const FT_Bitmap& bm = slot->bitmap;
        g.left = slot->bitmap_left;
        g.top = slot->bitmap_top;
        g.width = int(bm.width);
        g.height = int(bm.rows);
        g.coverage.assign(size_t(g.width) * size_t(g.height), 0);
        for (int y = 0; y < g.height; ++y) {
            const uint8_t* row = bm.buffer + ptrdiff_t(y) * bm.pitch;
            for (int x = 0; x < g.width; ++x)
                g.coverage[size_t(y) * g.width + x] =
                    bm.pixel_mode == FT_PIXEL_MODE_MONO ? ((row[x >> 3] >> (7 - (x & 7))) & 1 ? 255 : 0) : row[x];
        }
        Group(g);
    }

    // Cuts each coverage row into four-pixel groups from its first covered pixel on, skipping stretches
    // without coverage; a group may reach up to three pixels past the box.
    static void Group(Glyph& g) {
        if (g.width > 30000 || g.height > 30000) return; // drawn through the clipped path only
        for (int y = 0; y < g.height; ++y) {
            const uint8_t* row = g.coverage.data() + size_t(y) * size_t(g.width);
            for (int x = 0; x < g.width; ++x) {
                if (!row[x]) continue;
                g.groupAt.push_back({int16_t(x), int16_t(y)});
                for (int k = 0; k < 4; ++k) {
                    const uint8_t a = x + k < g.width ? row[x + k] : 0;
                    g.groupCoverage.insert(g.groupCoverage.end(), {a, a, a, uint8_t(a ? 255 : 0)});
                }
                g.groupReach = std::max(g.groupReach, x + 4);
                x += 3;
            }
        }
    }

private:
    FaceInstance() = default;
    std::shared_ptr<SharedFace> m_shared;
    FT_Size m_size = nullptr;
    FT_Pos m_embolden = 0;
    bool m_mono = false;
    bool m_oblique = false;
};

RealizedFont::~RealizedFont() = default;

const Glyph& RealizedFont::LoadGlyph(char32_t c) {
    auto it = m_glyphs.find(c);
    if (it != m_glyphs.end()) return it->second;
    Glyph& g = m_glyphs[c];
    if (c <= 0x10FFFF) {
        const size_t page = c >> 8;
        if (m_pages.size() <= page) m_pages.resize(page + 1);
        if (!m_pages[page]) m_pages[page] = std::make_unique<std::array<const Glyph*, 256>>();
        (*m_pages[page])[c & 0xFF] = &g; // map entries stay where they are
    }
    // Control characters take no room and draw nothing.
    if (c < 0x20 || !m_face) return g;
    FaceInstance* source = m_face.get();
    if (!source->Has(c)) {
        if (!m_fallbacksLoaded) {
            m_fallbacksLoaded = true;
            FT_Face main = m_face->Face();
            FT_F26Dot6 ppem = FT_F26Dot6(main->size->metrics.y_ppem) * 64;
            for (const char* family : {"NanumGothic", "sans-serif", "Noto Sans CJK KR", "Symbola"}) {
                auto file = Match(family, false, false, std::strcmp(family, "sans-serif") == 0);
                if (!file) continue;
                if (auto inst = FaceInstance::Open(*file)) {
                    inst->Configure(ppem, ppem, m_metrics.weight >= FW_SEMIBOLD, m_metrics.italic, false);
                    m_fallbacks.push_back(std::move(inst));
                }
            }
        }
        for (auto& f : m_fallbacks)
            if (f->Has(c)) {
                source = f.get();
                break;
            }
    }
    source->Render(c, g);
    return g;
}

namespace {

struct Key {
    std::string path;
    int index;
    LONG height;
    LONG width;
    bool bold;
    bool syntheticBold;
    bool italic;
    bool syntheticItalic;
    bool mono;
    bool operator<(const Key& o) const {
        return std::tie(path, index, height, width, bold, syntheticBold, italic, syntheticItalic, mono) <
               std::tie(o.path, o.index, o.height, o.width, o.bold, o.syntheticBold, o.italic, o.syntheticItalic, o.mono);
    }
};

std::map<Key, std::unique_ptr<RealizedFont>>& Cache() {
    static std::map<Key, std::unique_ptr<RealizedFont>> cache;
    return cache;
}

// Windows sizes a font from the face's win ascent and descent: a positive height is the whole cell, a negative
// one the em square; the difference is the internal leading.
void ComputeMetrics(FT_Face face, LONG lfHeight, double& ppem, FontMetrics& m) {
    TT_OS2* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    TT_HoriHeader* hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
    double upem = face->units_per_EM ? face->units_per_EM : 1000;
    double winAscent = os2 && os2->usWinAscent ? os2->usWinAscent : face->ascender;
    double winDescent = os2 && (os2->usWinAscent || os2->usWinDescent) ? os2->usWinDescent : -face->descender;
    if (winAscent + winDescent <= 0) {
        winAscent = upem * 0.8;
        winDescent = upem * 0.2;
    }
    if (lfHeight == 0) lfHeight = 16;
    if (lfHeight > 0) {
        double scale = lfHeight / (winAscent + winDescent);
        ppem = scale * upem;
        m.ascent = int(std::lround(winAscent * scale));
        m.descent = int(lfHeight) - m.ascent;
    } else {
        ppem = double(-lfHeight);
        double scale = ppem / upem;
        m.ascent = int(std::lround(winAscent * scale));
        m.descent = int(std::lround(winDescent * scale));
    }
    double scale = ppem / upem;
    m.height = m.ascent + m.descent;
    m.internalLeading = std::max(0, m.height - int(std::lround(ppem)));
    if (hhea) {
        double gap = hhea->Line_Gap - ((winAscent + winDescent) - (hhea->Ascender - hhea->Descender));
        m.externalLeading = std::max(0, int(std::lround(gap * scale)));
    }
    m.aveCharWidth = os2 && os2->xAvgCharWidth > 0 ? int(std::lround(os2->xAvgCharWidth * scale))
                                                    : int(std::lround(ppem / 2));
    m.maxCharWidth = int(std::lround(face->max_advance_width * scale));
    if (face->underline_position) {
        m.underlinePosition = std::max(1, int(std::lround(-face->underline_position * scale)));
        m.underlineThickness = std::max(1, int(std::lround(face->underline_thickness * scale)));
    }
    if (os2 && os2->yStrikeoutPosition > 0)
        m.strikeOutPosition = int(std::lround(os2->yStrikeoutPosition * scale));
    else
        m.strikeOutPosition = m.ascent / 3;
    m.underlinePosition = std::min(m.underlinePosition, std::max(1, m.descent - 1));
}

// The last descriptions realized, compared byte for byte: the library creates the same few fonts for every
// text call, and this spares each call the face resolution and the cache's string compares. A description
// is looked for in two slots picked by a hash of its sizes, styles and the start of its face name, and goes
// into the older of the two.
struct RecentFont {
    LOGFONTW logfont;
    RealizedFont* font = nullptr;
    uint64_t used = 0;
};
std::array<RecentFont, 16> g_recent;
uint64_t g_recentUses = 0;

size_t RecentSlot(const LOGFONTW& lf) {
    uint64_t words[4];
    static_assert(offsetof(LOGFONTW, lfFaceName) + 8 <= sizeof(LOGFONTW) && offsetof(LOGFONTW, lfFaceName) >= 24);
    std::memcpy(words, &lf, 24);
    std::memcpy(words + 3, lf.lfFaceName, 8);
    uint64_t h = 0;
    for (uint64_t w : words) h = (h ^ w) * 0x9E3779B97F4A7C15ull;
    return size_t(h >> 60) & ~size_t(1);
}

RealizedFont* FindRecent(const LOGFONTW& lf, size_t slot) {
    for (size_t i = slot; i < slot + 2; ++i)
        if (g_recent[i].font && std::memcmp(&g_recent[i].logfont, &lf, sizeof lf) == 0) {
            g_recent[i].used = ++g_recentUses;
            return g_recent[i].font;
        }
    return nullptr;
}

void RememberRecent(const LOGFONTW& lf, size_t slot, RealizedFont* font) {
    RecentFont& older = g_recent[slot].used <= g_recent[slot + 1].used ? g_recent[slot] : g_recent[slot + 1];
    older = {lf, font, ++g_recentUses};
}

} // namespace

RealizedFont* Realize(const LOGFONTW& lf) {
    bool italic = lf.lfItalic != 0;
    const size_t slot = RecentSlot(lf);
    RealizedFont* font = FindRecent(lf, slot);
    if (!font) {
        std::u16string face(lf.lfFaceName, std::find(lf.lfFaceName, lf.lfFaceName + LF_FACESIZE, u'\0'));
        bool bold = lf.lfWeight >= FW_SEMIBOLD;
        const std::optional<FaceFile>& file = ResolveFace(face, bold, italic);
        Key key{file ? file->path : std::string(), file ? file->index : 0, lf.lfHeight, lf.lfWidth, bold,
                file && bold && file->weight < FC_WEIGHT_DEMIBOLD, italic, file && italic && !file->italic,
                lf.lfQuality == NONANTIALIASED_QUALITY};
        auto& cache = Cache();
        auto it = cache.find(key);
        if (it != cache.end()) {
            font = it->second.get();
        } else {
            auto created = std::unique_ptr<RealizedFont>(new RealizedFont);
            font = created.get();
            FontMetrics& m = font->m_metrics;
            if (file) font->m_face = FaceInstance::Open(*file);
            if (font->m_face) {
                FT_Face ft = font->m_face->Face();
                double ppem = 0;
                ComputeMetrics(ft, lf.lfHeight, ppem, m);
                double xPpem = ppem;
                if (lf.lfWidth > 0 && m.aveCharWidth > 0) xPpem = ppem * double(lf.lfWidth) / m.aveCharWidth;
                font->m_face->Configure(FT_F26Dot6(std::lround(xPpem * 64)), FT_F26Dot6(std::lround(ppem * 64)),
                                        key.syntheticBold, key.syntheticItalic, key.mono);
                if (lf.lfWidth > 0) m.aveCharWidth = int(lf.lfWidth);
                if (ft->family_name) {
                    for (const char* p = ft->family_name; *p; ++p) font->m_faceName += char16_t(uint8_t(*p));
                }
            } else {
                LONG h = lf.lfHeight == 0 ? 16 : lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
                m.height = int(h);
                m.ascent = int(h * 4 / 5);
                m.descent = m.height - m.ascent;
                m.aveCharWidth = int(h / 2);
                m.maxCharWidth = int(h);
            }
            cache.emplace(key, std::move(created));
        }
        RememberRecent(lf, slot, font);
    }
    // Styles that do not change the glyphs (weight value, underline, strike-out) are the caller's.
    FontMetrics& m = font->m_metrics;
    m.weight = lf.lfWeight == 0 ? FW_NORMAL : int(lf.lfWeight);
    m.italic = italic;
    m.underline = lf.lfUnderline != 0;
    m.strikeOut = lf.lfStrikeOut != 0;
    m.charSet = lf.lfCharSet;
    m.pitchAndFamily = BYTE((lf.lfPitchAndFamily & 0xF0) | TMPF_VECTOR | TMPF_TRUETYPE |
                            ((lf.lfPitchAndFamily & 3) == FIXED_PITCH ? 0 : TMPF_FIXED_PITCH));
    return font;
}

std::string FontFileForFace(const std::u16string& face, LONG weight) {
    const std::optional<FaceFile>& f = ResolveFace(face, weight >= FW_SEMIBOLD, false);
    return f ? f->path : std::string();
}

uint64_t GlyphsRendered() { return g_glyphsRendered; }

void ClearCache() {
    g_recent = {};
    Cache().clear();
}

} // namespace cehost::text
