// The shell's indicator strip: a topmost system window over the top rows of the screen, in every orientation,
// showing signal bars, the input mode of the focused edit, a battery and the time (hh:mm). It never takes the
// activation or the focus, and the work area (SPI_GETWORKAREA) leaves it out. Signal and battery are fixed
// pictures: the host has no radio and no battery to report on.
#include "internal/user_hooks.h"

#include <cehost/sim/imm.h>
#include <cehost/sim/shell.h>
#include <cehost/sim/user.h>

#include <windows.h>

#include <cstdint>
#include <string>

namespace cehost::shell {

namespace {

constexpr WCHAR kClassName[] = u"CehostIndicatorStrip";
constexpr COLORREF kBackground = RGB(24, 24, 28);
constexpr COLORREF kInk = RGB(236, 236, 236);
constexpr COLORREF kDim = RGB(96, 96, 104);

struct Strip {
    HWND hwnd = nullptr;
    int minute = -1; // of the day, as last painted
    DWORD nextMinuteAt = 0; // the tick at which the minute changes next
    bool virtualClock = false; // which clock `minute` was read from
    std::u16string mode;
    bool refreshing = false;
};

Strip& TheStrip() {
    static Strip strip;
    return strip;
}

// The minute of the day, read from the date only when the tick says a new minute has begun (or the clock was
// switched between real and virtual): the check runs every time the queue looks for painting.
int MinuteOfDay(Strip& strip, bool force) {
    const DWORD tick = GetTickCount();
    const bool virtualClock = sim::IsVirtualTime();
    if (!force && strip.minute >= 0 && virtualClock == strip.virtualClock && int32_t(tick - strip.nextMinuteAt) < 0)
        return strip.minute;
    SYSTEMTIME now{};
    GetLocalTime(&now);
    strip.virtualClock = virtualClock;
    strip.nextMinuteAt = tick + (60000 - (now.wSecond * 1000 + now.wMilliseconds));
    return now.wHour * 60 + now.wMinute;
}

void Fill(HDC hdc, const RECT& r, COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(hdc, &r, brush);
    DeleteObject(brush);
}

void Frame(HDC hdc, const RECT& r, COLORREF color) {
    Fill(hdc, RECT{r.left, r.top, r.right, r.top + 1}, color);
    Fill(hdc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, color);
    Fill(hdc, RECT{r.left, r.top, r.left + 1, r.bottom}, color);
    Fill(hdc, RECT{r.right - 1, r.top, r.right, r.bottom}, color);
}

HFONT StripFont(int height, LONG weight) {
    LOGFONTW lf{};
    lf.lfHeight = -height;
    lf.lfWeight = weight;
    const char16_t face[] = u"LxFont";
    for (size_t i = 0; i < sizeof face / sizeof face[0]; ++i) lf.lfFaceName[i] = face[i];
    return CreateFontIndirectW(&lf);
}

int TextWidth(HDC hdc, const std::u16string& text) {
    SIZE size{};
    GetTextExtentPoint32W(hdc, text.c_str(), int(text.size()), &size);
    return int(size.cx);
}

// Everything is drawn from the right edge inwards (time, battery, input mode) and from the left (signal), so
// the strip reads the same in portrait and landscape.
void Paint(HDC hdc, int width, const std::u16string& mode, int minute) {
    const int h = sim::kIndicatorStripHeight;
    Fill(hdc, RECT{0, 0, width, h}, kBackground);

    // Four signal bars, all lit.
    for (int k = 0; k < 4; ++k) {
        const int x = 4 + k * 4, top = 14 - 3 * k;
        Fill(hdc, RECT{x, top, x + 3, 17}, kInk);
    }

    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, kInk);
    HFONT font = StripFont(12, FW_BOLD);
    HGDIOBJ old = SelectObject(hdc, font);
    WCHAR clock[6] = {};
    const int hour = minute / 60, min = minute % 60;
    const char16_t digits[] = u"0123456789";
    clock[0] = digits[hour / 10];
    clock[1] = digits[hour % 10];
    clock[2] = u':';
    clock[3] = digits[min / 10];
    clock[4] = digits[min % 10];
    const int clockWidth = TextWidth(hdc, clock);
    RECT clockRect{width - 4 - clockWidth, 0, width - 4, h};
    DrawTextW(hdc, clock, 5, &clockRect, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);

    // The battery: an outline with a terminal, three quarters full.
    const int bx = clockRect.left - 6 - 22;
    Frame(hdc, RECT{bx, 6, bx + 20, 15}, kInk);
    Fill(hdc, RECT{bx + 20, 8, bx + 22, 13}, kInk);
    Fill(hdc, RECT{bx + 2, 8, bx + 2 + 12, 13}, kInk);
    Fill(hdc, RECT{bx + 14, 8, bx + 18, 13}, kDim);

    if (!mode.empty()) {
        const int textWidth = TextWidth(hdc, mode);
        const int boxWidth = textWidth + 8 > 17 ? textWidth + 8 : 17;
        RECT box{bx - 6 - boxWidth, 2, bx - 6, 19};
        Frame(hdc, box, kInk);
        DrawTextW(hdc, mode.c_str(), int(mode.size()), &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    SelectObject(hdc, old);
    DeleteObject(font);
}

void Place(HWND hwnd) {
    SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, GetSystemMetrics(SM_CXSCREEN), sim::kIndicatorStripHeight,
                 SWP_NOACTIVATE);
}

LRESULT OnPaint(HWND hwnd) {
    Strip& strip = TheStrip();
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    RECT client{};
    GetClientRect(hwnd, &client);
    Paint(hdc, int(client.right), strip.mode, strip.minute);
    EndPaint(hwnd, &ps);
    return 0;
}

LRESULT CALLBACK StripProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT: return OnPaint(hwnd);
    case WM_ERASEBKGND: return 1; // the paint covers every pixel
    case WM_SETTINGCHANGE: Place(hwnd); return 0;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    default: return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

void RegisterStripClass() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = StripProc;
    wc.lpszClassName = kClassName;
    internal::RegisterSystemClass(wc);
}

const internal::SystemClassRegistrar registrar(&RegisterStripClass);

} // namespace

} // namespace cehost::shell

namespace cehost::internal {

void RefreshShell() {
    shell::Strip& strip = shell::TheStrip();
    if (!strip.hwnd || strip.refreshing) return;
    if (!IsWindow(strip.hwnd)) {
        strip.hwnd = nullptr;
        return;
    }
    strip.refreshing = true;
    RECT r{};
    GetWindowRect(strip.hwnd, &r);
    if (r.left != 0 || r.top != 0 || r.right != GetSystemMetrics(SM_CXSCREEN)) shell::Place(strip.hwnd);
    const int minute = shell::MinuteOfDay(strip, false);
    std::u16string mode = sim::InputModeLabel();
    if (minute != strip.minute || mode != strip.mode) {
        strip.minute = minute;
        strip.mode = std::move(mode);
        InvalidateRect(strip.hwnd, nullptr, FALSE);
    }
    strip.refreshing = false;
}

int ShellStripHeight() {
    const HWND hwnd = shell::TheStrip().hwnd;
    return hwnd && IsWindow(hwnd) ? sim::kIndicatorStripHeight : 0;
}

} // namespace cehost::internal

namespace cehost::sim {

bool ShowIndicatorStrip(bool show) {
    shell::Strip& strip = shell::TheStrip();
    if (strip.hwnd && !IsWindow(strip.hwnd)) strip.hwnd = nullptr;
    if (!show) {
        if (strip.hwnd) DestroyWindow(strip.hwnd);
        strip.hwnd = nullptr;
        return true;
    }
    if (strip.hwnd) return true;
    strip.hwnd = CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE, shell::kClassName, u"", WS_POPUP | WS_VISIBLE, 0, 0,
                                 GetSystemMetrics(SM_CXSCREEN), kIndicatorStripHeight, nullptr, nullptr, nullptr,
                                 nullptr);
    strip.minute = shell::MinuteOfDay(strip, true);
    strip.mode = InputModeLabel();
    return strip.hwnd != nullptr;
}

HWND IndicatorStripWindow() {
    const HWND hwnd = shell::TheStrip().hwnd;
    return hwnd && IsWindow(hwnd) ? hwnd : nullptr;
}

} // namespace cehost::sim

extern "C" {

BOOL WINAPI SystemParametersInfoW(UINT action, UINT, PVOID param, UINT) {
    if (action != SPI_GETWORKAREA || !param) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *static_cast<RECT*>(param) = RECT{0, cehost::internal::ShellStripHeight(), GetSystemMetrics(SM_CXSCREEN),
                                      GetSystemMetrics(SM_CYSCREEN)};
    return TRUE;
}

} // extern "C"
