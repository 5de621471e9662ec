// The default system colours of a CE device (the classic grey scheme).
#include "gdi/SystemColors.h"
#include "gdi/GdiObjects.h"

namespace cehost::gdi {

constexpr uintptr_t kSysColorFlag = 0x40000000u;

namespace {

constexpr COLORREF kColors[] = {
    RGB(0xC0, 0xC0, 0xC0), // scroll bar
    RGB(0x00, 0x80, 0x80), // background
    RGB(0x00, 0x00, 0x80), // active caption
    RGB(0x80, 0x80, 0x80), // inactive caption
    RGB(0xC0, 0xC0, 0xC0), // menu
    RGB(0xFF, 0xFF, 0xFF), // window
    RGB(0x00, 0x00, 0x00), // window frame
    RGB(0x00, 0x00, 0x00), // menu text
    RGB(0x00, 0x00, 0x00), // window text
    RGB(0xFF, 0xFF, 0xFF), // caption text
    RGB(0xC0, 0xC0, 0xC0), // active border
    RGB(0xC0, 0xC0, 0xC0), // inactive border
    RGB(0x80, 0x80, 0x80), // application workspace
    RGB(0x00, 0x00, 0x80), // highlight
    RGB(0xFF, 0xFF, 0xFF), // highlight text
    RGB(0xC0, 0xC0, 0xC0), // button face
    RGB(0x80, 0x80, 0x80), // button shadow
    RGB(0x80, 0x80, 0x80), // grey text
    RGB(0x00, 0x00, 0x00), // button text
    RGB(0xC0, 0xC0, 0xC0), // inactive caption text
    RGB(0xFF, 0xFF, 0xFF), // button highlight
    RGB(0x00, 0x00, 0x00), // 3D dark shadow
    RGB(0xC0, 0xC0, 0xC0), // 3D light
    RGB(0x00, 0x00, 0x00), // tooltip text
    RGB(0xFF, 0xFF, 0xE1), // tooltip background
    RGB(0xC0, 0xC0, 0xC0), // static
    RGB(0x00, 0x00, 0x00), // static text
    RGB(0x00, 0x00, 0x80), // gradient active caption
    RGB(0x80, 0x80, 0x80), // gradient inactive caption
};

} // namespace

bool SystemColor(int index, COLORREF& color) {
    if (index < 0 || index >= int(sizeof kColors / sizeof kColors[0])) return false;
    color = kColors[index];
    return true;
}

bool SystemColorOfBrushValue(HBRUSH brush, COLORREF& color) {
    uintptr_t v = reinterpret_cast<uintptr_t>(brush) & ~kSysColorFlag;
    if (v == 0 || v > 64) return false;
    return SystemColor(int(v) - 1, color);
}

} // namespace cehost::gdi

using namespace cehost::gdi;

extern "C" {

DWORD WINAPI GetSysColor(int index) {
    COLORREF c = 0;
    SystemColor(int(uintptr_t(index) & ~kSysColorFlag), c);
    return c;
}

HBRUSH WINAPI GetSysColorBrush(int index) {
    static HBRUSH brushes[64] = {};
    int i = int(uintptr_t(index) & ~kSysColorFlag);
    COLORREF c;
    if (!SystemColor(i, c)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (!brushes[i]) {
        auto b = std::make_unique<Brush>();
        b->color = c;
        brushes[i] = static_cast<HBRUSH>(RegisterStock(std::move(b)));
    }
    return brushes[i];
}

} // extern "C"
