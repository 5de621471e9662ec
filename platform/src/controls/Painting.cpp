// Drawing helpers shared by the system controls.
#include "controls/Painting.h"

#include <vector>

namespace cehost::controls {

HBRUSH ControlColor(HWND control, HDC hdc, UINT message)
{
    int background = message == WM_CTLCOLOREDIT ? COLOR_WINDOW : COLOR_BTNFACE;
    SetTextColor(hdc, SysColour(message == WM_CTLCOLORBTN ? COLOR_BTNTEXT : COLOR_WINDOWTEXT));
    SetBkColor(hdc, SysColour(background));
    SetBkMode(hdc, OPAQUE);
    HWND parent = GetParent(control);
    HBRUSH brush = nullptr;
    if (parent != nullptr)
        brush = reinterpret_cast<HBRUSH>(
            SendMessageW(parent, message, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(control)));
    if (brush == nullptr)
        brush = SysBrush(background);
    return brush;
}

HBRUSH SysBrush(int index) { return reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(index + 1)); }

COLORREF SysColour(int index)
{
    // Read back from GDI itself, so the controls always agree with what FillRect paints for the index.
    static COLORREF cache[64];
    static bool known[64];
    int slot = index & 0x3F;
    if (known[slot])
        return cache[slot];
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP pixel = CreateCompatibleBitmap(screen, 1, 1);
    HGDIOBJ old = SelectObject(memory, pixel);
    RECT rc = {0, 0, 1, 1};
    FillRect(memory, &rc, SysBrush(index));
    COLORREF colour = GetPixel(memory, 0, 0);
    SelectObject(memory, old);
    DeleteObject(pixel);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (colour == CLR_INVALID)
        return RGB(0, 0, 0);
    cache[slot] = colour;
    known[slot] = true;
    return colour;
}

HGDIOBJ FontOrDefault(HFONT font) { return font != nullptr ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT); }

std::u16string WindowText(HWND hwnd)
{
    int length = GetWindowTextLengthW(hwnd);
    if (length <= 0)
        return {};
    std::vector<WCHAR> buffer(static_cast<size_t>(length) + 1);
    int got = GetWindowTextW(hwnd, buffer.data(), length + 1);
    return std::u16string(buffer.data(), buffer.data() + (got > 0 ? got : 0));
}

void FrameRectangle(HDC hdc, const RECT& rc, COLORREF colour)
{
    if (rc.right <= rc.left || rc.bottom <= rc.top)
        return;
    HBRUSH brush = CreateSolidBrush(colour);
    RECT edge = {rc.left, rc.top, rc.right, rc.top + 1};
    FillRect(hdc, &edge, brush);
    edge = {rc.left, rc.bottom - 1, rc.right, rc.bottom};
    FillRect(hdc, &edge, brush);
    edge = {rc.left, rc.top, rc.left + 1, rc.bottom};
    FillRect(hdc, &edge, brush);
    edge = {rc.right - 1, rc.top, rc.right, rc.bottom};
    FillRect(hdc, &edge, brush);
    DeleteObject(brush);
}

LRESULT SetTextAndRedraw(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = DefWindowProcW(hwnd, WM_SETTEXT, wParam, lParam);
    InvalidateRect(hwnd, nullptr, TRUE);
    return result;
}

} // namespace cehost::controls
