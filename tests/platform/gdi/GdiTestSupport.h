// Shared helpers of the GDI tests: a memory DC on a white bitmap, and a fixture that proves every test gives
// back the GDI objects it created.
#pragma once

#include <windows.h>
#include <cehost/sim.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

// The font the library asks for: "LxFont", Korean character set.
inline HFONT CreateLxFont(LONG height, LONG weight = FW_NORMAL) {
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfCharSet = HANGEUL_CHARSET;
    lf.lfPitchAndFamily = FF_SWISS;
    const char16_t face[] = u"LxFont";
    std::copy(std::begin(face), std::end(face), lf.lfFaceName);
    return CreateFontIndirectW(&lf);
}

constexpr COLORREF kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0), kRed = RGB(255, 0, 0),
                   kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255), kMagenta = RGB(255, 0, 255);

// An object selected into a DC for a scope: the previous one goes back and the object is deleted at its end.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ object) : m_dc(dc), m_object(object), m_previous(SelectObject(dc, object)) {}
    ~Selected() { SelectObject(m_dc, m_previous); DeleteObject(m_object); }
    Selected(const Selected&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_object, m_previous;
};

// A memory DC holding `bitmap` (or a new width x height one) for a scope; both are deleted at its end.
class MemoryDc {
public:
    explicit MemoryDc(HBITMAP bitmap)
        : m_dc(CreateCompatibleDC(nullptr)), m_bitmap(bitmap), m_previous(SelectObject(m_dc, bitmap)) {}
    MemoryDc(int width, int height) : MemoryDc(CreateBitmap(width, height, 1, 32, nullptr)) {}
    ~MemoryDc() { SelectObject(m_dc, m_previous); DeleteObject(m_bitmap); DeleteDC(m_dc); }
    MemoryDc(const MemoryDc&) = delete;
    operator HDC() const { return m_dc; }
    HBITMAP Bitmap() const { return m_bitmap; }

private:
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_previous;
};

inline void Fill(HDC dc, RECT r, COLORREF c) {
    HBRUSH b = CreateSolidBrush(c);
    FillRect(dc, &r, b);
    DeleteObject(b);
}

class GdiTest : public ::testing::Test {
protected:
    void SetUp() override { m_objectsAtStart = cehost::sim::GdiObjectCount(); }
    void TearDown() override {
        m_canvas.reset();
        // Tests that resize the screen leave the device's for the next one in the same process.
        cehost::sim::SetScreenSize(240, 320);
        EXPECT_EQ(m_objectsAtStart, cehost::sim::GdiObjectCount()) << "GDI objects leaked";
    }

    // A memory DC holding a width x height bitmap filled with `background`.
    HDC Canvas(int width, int height, COLORREF background = kWhite) {
        m_canvas.reset();
        m_dc = m_canvas.emplace(width, height);
        Fill(m_dc, {0, 0, width, height}, background);
        m_width = width;
        m_height = height;
        return m_dc;
    }

    // Bounding box of the pixels that differ from `background` (or, with `exact`, that are that colour); empty
    // when none.
    RECT InkBounds(COLORREF background = kWhite, bool exact = false) const {
        RECT box{m_width, m_height, 0, 0};
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x)
                if ((GetPixel(m_dc, x, y) == background) == exact)
                    box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x + 1),
                           std::max<LONG>(box.bottom, y + 1)};
        return box.right == 0 ? RECT{0, 0, 0, 0} : box;
    }
    void Clear() { Fill(m_dc, {0, 0, m_width, m_height}, kWhite); }
    int CountPixels(COLORREF color) const {
        int n = 0;
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x) n += GetPixel(m_dc, x, y) == color;
        return n;
    }
    std::vector<COLORREF> Pixels(std::initializer_list<POINT> points) const {
        std::vector<COLORREF> colours;
        for (POINT p : points) colours.push_back(GetPixel(m_dc, p.x, p.y));
        return colours;
    }
    // Row as a string of '#' (colour) and '.' (anything else), for readable expectations.
    std::string Row(int y, COLORREF ink, int from = 0, int to = -1) const {
        std::string s;
        for (int x = from; x < (to < 0 ? m_width : to); ++x) s += GetPixel(m_dc, x, y) == ink ? '#' : '.';
        return s;
    }

    std::optional<MemoryDc> m_canvas;
    HDC m_dc = nullptr;
    int m_width = 0;
    int m_height = 0;
    long m_objectsAtStart = 0;
};

inline bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline std::ostream& operator<<(std::ostream& os, const RECT& r) {
    return os << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}
