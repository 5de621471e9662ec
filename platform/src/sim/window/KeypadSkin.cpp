// The keypad drawn beside the screen in the simulator window: two soft keys, the arrows around Select, Home
// and Back, and the twelve keys labelled as on a phone (digit, Latin letters, and the letters of the 12-key
// Korean method). Drawn with cehost's own GDI into any DC at a whole-number scale, so the window, tests and the
// documentation's pictures share one painter; it knows nothing of SDL.
#include <cehost/sim/gdi.h>
#include <cehost/sim/window.h>

#include <windows.h>

#include <cstring>

namespace cehost::sim {

namespace {

constexpr COLORREF kPanel = RGB(32, 32, 32);
constexpr COLORREF kFace = RGB(70, 72, 78);
constexpr COLORREF kEdge = RGB(104, 106, 114);
constexpr COLORREF kPressed = RGB(86, 132, 214);
constexpr COLORREF kLabel = RGB(240, 240, 240);
constexpr COLORREF kLatin = RGB(190, 190, 196);
constexpr COLORREF kKorean = RGB(150, 196, 255);

// Columns of 40 pixels with 4 between them, from x = 6.
constexpr LONG Column(int c) { return 6 + c * 44; }

std::vector<SkinKey> MakeKeys() {
    std::vector<SkinKey> keys;
    keys.push_back({VK_F1, {6, 8, 64, 34}, u"—", nullptr, nullptr});
    keys.push_back({VK_F2, {72, 8, 130, 34}, u"—", nullptr, nullptr});
    // The navigation block: three rows of 26.
    auto nav = [&](BYTE vk, int column, int row, const char16_t* label) {
        const LONG top = 44 + row * 30;
        keys.push_back({vk, {Column(column), top, Column(column) + 40, top + 26}, label, nullptr, nullptr});
    };
    nav(VK_UP, 1, 0, u"▲");
    nav(VK_LEFT, 0, 1, u"◀");
    nav(VK_F3, 1, 1, u"OK");
    nav(VK_RIGHT, 2, 1, u"▶");
    nav(VK_F4, 0, 2, u"Home");
    nav(VK_DOWN, 1, 2, u"▼");
    nav(VK_ESCAPE, 2, 2, u"Back");
    // The twelve keys: four rows of 38.
    struct Twelve {
        BYTE vk;
        const char16_t* label;
        const char16_t* latin;
        const char16_t* korean;
    };
    static constexpr Twelve kTwelve[] = {
        {'1', u"1", u".,?!", u"ㅣ"},   {'2', u"2", u"abc", u"ㆍ"},    {'3', u"3", u"def", u"ㅡ"},
        {'4', u"4", u"ghi", u"ㄱㅋ"},  {'5', u"5", u"jkl", u"ㄴㄹ"},  {'6', u"6", u"mno", u"ㄷㅌ"},
        {'7', u"7", u"pqrs", u"ㅂㅍ"}, {'8', u"8", u"tuv", u"ㅅㅎ"},  {'9', u"9", u"wxyz", u"ㅈㅊ"},
        {VK_F8, u"*", nullptr, nullptr}, {'0', u"0", u"space", u"ㅇㅁ"}, {VK_F9, u"#", u"mode", nullptr},
    };
    for (int i = 0; i < 12; ++i) {
        const LONG top = 138 + (i / 3) * 44;
        const Twelve& k = kTwelve[i];
        keys.push_back({k.vk, {Column(i % 3), top, Column(i % 3) + 40, top + 40}, k.label, k.latin, k.korean});
    }
    return keys;
}

void Fill(HDC hdc, RECT r, COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(hdc, &r, brush);
    DeleteObject(brush);
}

HFONT Font(int pixels, LONG weight) {
    LOGFONTW lf{};
    lf.lfHeight = -pixels;
    lf.lfWeight = weight;
    const char16_t face[] = u"LxFont";
    std::memcpy(lf.lfFaceName, face, sizeof face);
    return CreateFontIndirectW(&lf);
}

RECT Scaled(RECT r, int scale) { return RECT{r.left * scale, r.top * scale, r.right * scale, r.bottom * scale}; }

void Text(HDC hdc, const char16_t* text, RECT r, int pixels, LONG weight, COLORREF color) {
    if (!text) return;
    HFONT font = Font(pixels, weight);
    HGDIOBJ old = SelectObject(hdc, font);
    SetTextColor(hdc, color);
    DrawTextW(hdc, text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(hdc, old);
    DeleteObject(font);
}

} // namespace

const std::vector<SkinKey>& KeypadSkinKeys() {
    static const std::vector<SkinKey> keys = MakeKeys();
    return keys;
}

BYTE KeypadSkinKeyAt(int x, int y) {
    for (const SkinKey& k : KeypadSkinKeys())
        if (x >= k.rect.left && x < k.rect.right && y >= k.rect.top && y < k.rect.bottom) return k.vk;
    return 0;
}

void PaintKeypadSkin(HDC hdc, int scale, BYTE pressed) {
    if (scale < 1) scale = 1;
    Fill(hdc, RECT{0, 0, kKeypadSkinWidth * scale, kKeypadSkinHeight * scale}, kPanel);
    SetBkMode(hdc, TRANSPARENT);
    for (const SkinKey& k : KeypadSkinKeys()) {
        const RECT r = Scaled(k.rect, scale);
        Fill(hdc, r, kEdge);
        Fill(hdc, RECT{r.left + scale, r.top + scale, r.right - scale, r.bottom - scale},
             k.vk == pressed ? kPressed : kFace);
        if (!k.latin && !k.korean) {
            Text(hdc, k.label, r, 11 * scale, FW_BOLD, kLabel);
            continue;
        }
        // Digit on top, Latin letters under it, the Korean letters at the bottom.
        const LONG x0 = r.left, x1 = r.right, y = r.top;
        Text(hdc, k.label, RECT{x0, y + 1 * scale, x1, y + 16 * scale}, 13 * scale, FW_BOLD, kLabel);
        Text(hdc, k.latin, RECT{x0, y + 15 * scale, x1, y + 27 * scale}, 9 * scale, FW_NORMAL, kLatin);
        Text(hdc, k.korean, RECT{x0, y + 26 * scale, x1, y + 39 * scale}, 10 * scale, FW_NORMAL, kKorean);
    }
}

bool SaveKeypadSkinPng(const std::string& path, int scale, BYTE pressed, std::string* error) {
    if (scale < 1 || scale > 16) {
        if (error) *error = "the scale must be 1 to 16";
        return false;
    }
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), kKeypadSkinWidth * scale, -kKeypadSkinHeight * scale, 1, 32, BI_RGB,
                      0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = dc ? CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    if (!bitmap) {
        if (dc) DeleteDC(dc);
        if (error) *error = "no bitmap for the keypad";
        return false;
    }
    HGDIOBJ old = SelectObject(dc, bitmap);
    PaintKeypadSkin(dc, scale, pressed);
    SelectObject(dc, old);
    const bool saved = SaveBitmapPng(bitmap, path, error);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return saved;
}

} // namespace cehost::sim
