// DrawTextW with any format, rectangle, font height and text into a small memory bitmap: it must stay inside
// the text it was given (and the four spare units DT_MODIFYSTRING may use), DT_CALCRECT must measure without
// drawing, and every object it made must be gone afterwards.
#include "FuzzInput.h"

#include <cehost/sim.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "FuzzFail.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzInput in(bytes, size);
    const long objectsBefore = cehost::sim::GdiObjectCount();
    const int width = in.Between(1, 64), height = in.Between(1, 64);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    LOGFONTW font{};
    font.lfHeight = in.Between(-40, 40);
    font.lfWeight = in.Byte() < 128 ? FW_NORMAL : FW_BOLD;
    std::memcpy(font.lfFaceName, u"LxFont", 14);
    HFONT hfont = CreateFontIndirectW(&font);
    HGDIOBJ oldFont = SelectObject(dc, hfont);
    RECT paper = {0, 0, width, height};
    FillRect(dc, &paper, HBRUSH(GetStockObject(WHITE_BRUSH)));

    const UINT format = in.Dword() & 0x1FFFF;
    RECT rect = {in.Between(-80, 80), in.Between(-80, 80), in.Between(-80, 80), in.Between(-80, 80)};
    std::u16string text = in.Text(60);
    const int count = in.Byte() < 32 ? -1 : int(in.Number(uint32_t(text.size()) + 1));
    // The text, its terminator and the four spare units DT_MODIFYSTRING may write, then a guard.
    std::vector<char16_t> buffer(text.begin(), text.end());
    buffer.resize(text.size() + 5, 0);
    buffer.resize(buffer.size() + 8, u'\xFEFE');

    std::vector<uint32_t> before(size_t(width) * height), after(before.size());
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    GetDIBits(dc, bitmap, 0, UINT(height), before.data(), &info, DIB_RGB_COLORS);
    DrawTextW(dc, reinterpret_cast<LPWSTR>(buffer.data()), count, &rect, format);
    GetDIBits(dc, bitmap, 0, UINT(height), after.data(), &info, DIB_RGB_COLORS);

    for (size_t i = text.size() + 5; i < buffer.size(); ++i)
        if (buffer[i] != u'\xFEFE') Fail("DrawTextW wrote past the text and its spare units");
    // With DT_TABSTOP the second byte is the tab size, so the DT_CALCRECT bit is not a flag there.
    if ((format & DT_CALCRECT) && !(format & DT_TABSTOP) && before != after) Fail("DT_CALCRECT drew on the bitmap");

    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(hfont);
    DeleteObject(bitmap);
    DeleteDC(dc);
    if (cehost::sim::GdiObjectCount() != objectsBefore) Fail("DrawTextW left a GDI object behind");
    return 0;
}
