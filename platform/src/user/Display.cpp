// The display: system metrics, the screen size and CE's rotation through ChangeDisplaySettingsExW
// (DM_DISPLAYORIENTATION, CE's DMDO values, WM_SETTINGCHANGE(SETTINGCHANGE_RESET) to top-level windows,
// full-screen windows resized), the shell's setting-change and activation helpers, and GetGuiResources.
#include "user/WindowManager.h"

#include <aygshell.h>

#include "internal/bridge.h"

#include <cstddef>

namespace cehost::internal {

__attribute__((weak)) void DisplaySizeChanged(int, int) {}

} // namespace cehost::internal

namespace cehost::user {

namespace {

constexpr DWORD kAllOrientations = DMDO_0 | DMDO_90 | DMDO_180 | DMDO_270;
constexpr DWORD kKnownFlags = CDS_UPDATEREGISTRY | CDS_TEST | CDS_FULLSCREEN | CDS_GLOBAL | CDS_SET_PRIMARY |
                              CDS_VIDEOPARAMETERS | CDS_NORESET | CDS_RESET;
constexpr size_t kMinDevModeSize = offsetof(DEVMODEW, dmDisplayOrientation) + sizeof(DWORD);

bool Sideways(DWORD orientation) { return orientation == DMDO_90 || orientation == DMDO_270; }

bool ValidOrientation(DWORD o) { return o == DMDO_0 || o == DMDO_90 || o == DMDO_180 || o == DMDO_270; }

// Moves the screen from `before` to the current size: GDI first, then the full-screen top-level windows, then
// everything is repainted.
void ApplyScreenSize(SIZE before) {
    State& s = S();
    const SIZE now = ScreenSize();
    s.desktop->rect = RECT{0, 0, now.cx, now.cy};
    internal::DisplaySizeChanged(int(now.cx), int(now.cy));
    const RECT fullBefore{0, 0, before.cx, before.cy};
    std::vector<HWND> tops;
    for (Window* t : s.desktop->children) tops.push_back(t->handle);
    for (HWND h : tops)
        if (Window* t = FromHandle(h); t && RectEqual(t->rect, fullBefore))
            SetWindowPosInternal(t, nullptr, 0, 0, int(now.cx), int(now.cy), SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    InvalidateTree(s.desktop);
}

LONG ChangeOrientation(DWORD orientation) {
    State& s = S();
    if (s.failNextDisplayChange) {
        s.failNextDisplayChange = false;
        return s.failResult;
    }
    const SIZE before = ScreenSize();
    s.orientation = orientation;
    ApplyScreenSize(before);
    std::vector<HWND> tops;
    for (Window* t : s.desktop->children) tops.push_back(t->handle);
    for (HWND h : tops)
        if (Window* t = FromHandle(h)) Send(t, WM_SETTINGCHANGE, SETTINGCHANGE_RESET, 0);
    return DISP_CHANGE_SUCCESSFUL;
}

void Record(const DEVMODEW* dm, DWORD flags, LONG result) {
    State& s = S();
    s.haveDisplayRequest = true;
    s.lastDisplayRequest = sim::DisplayChangeRequest{dm ? dm->dmFields : 0, dm ? dm->dmDisplayOrientation : 0, flags, result};
}

} // namespace

SIZE ScreenSize() {
    const State& s = S();
    return Sideways(s.orientation) ? SIZE{s.naturalHeight, s.naturalWidth} : SIZE{s.naturalWidth, s.naturalHeight};
}

} // namespace cehost::user

namespace cehost::internal {

SIZE DisplaySize() { return user::ScreenSize(); }

bool SetDisplaySize(int width, int height) {
    using namespace cehost::user;
    if (width < 1 || height < 1 || width > 8192 || height > 8192) return false;
    State& s = S();
    const SIZE before = ScreenSize();
    if (before.cx == width && before.cy == height) return true;
    const bool side = Sideways(s.orientation);
    s.naturalWidth = side ? height : width;
    s.naturalHeight = side ? width : height;
    ApplyScreenSize(before);
    return true;
}

} // namespace cehost::internal

using namespace cehost::user;

extern "C" {

int WINAPI GetSystemMetrics(int index) {
    const SIZE screen = ScreenSize();
    switch (index) {
    case SM_CXSCREEN:
    case SM_CXFULLSCREEN:
    case SM_CXVIRTUALSCREEN: return int(screen.cx);
    case SM_CYSCREEN:
    case SM_CYFULLSCREEN:
    case SM_CYVIRTUALSCREEN: return int(screen.cy);
    case SM_XVIRTUALSCREEN:
    case SM_YVIRTUALSCREEN: return 0;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB: return kScrollBar;
    case SM_CYCAPTION: return kCaptionHeight;
    case SM_CXBORDER:
    case SM_CYBORDER: return kBorder;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: return kDlgFrame;
    case SM_CXEDGE:
    case SM_CYEDGE: return kEdge;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR: return kIcon;
    case SM_CXSMICON:
    case SM_CYSMICON: return kSmallIcon;
    case SM_CXICONSPACING:
    case SM_CYICONSPACING: return 64;
    case SM_CYMENU: return kCaptionHeight;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK: return 4;
    case SM_CXDRAG:
    case SM_CYDRAG: return 4;
    case SM_MOUSEPRESENT: return 0; // a keypad device with a stylus at most
    case SM_DEBUG: return 0;
    case SM_CMONITORS: return 1;
    default: return 0;
    }
}

LONG WINAPI ChangeDisplaySettingsExW(LPCWSTR, LPDEVMODEW dm, HWND hwnd, DWORD flags, LPVOID lParam) {
    State& s = S();
    if (flags & ~kKnownFlags) return DISP_CHANGE_BADFLAGS;
    if (hwnd || (lParam && !(flags & CDS_VIDEOPARAMETERS))) return DISP_CHANGE_BADPARAM;
    if (!dm) {
        // Back to the settings of record: upright.
        if (flags & CDS_TEST) return DISP_CHANGE_SUCCESSFUL;
        const LONG r = s.orientation == DMDO_0 ? DISP_CHANGE_SUCCESSFUL : ChangeOrientation(DMDO_0);
        Record(nullptr, flags, r);
        return r;
    }
    if (dm->dmSize < kMinDevModeSize) return DISP_CHANGE_BADPARAM;
    const bool test = (flags & CDS_TEST) != 0;
    if (dm->dmFields & DM_DISPLAYQUERYORIENTATION) {
        if (!test) return DISP_CHANGE_BADPARAM;
        dm->dmDisplayOrientation = kAllOrientations;
        return DISP_CHANGE_SUCCESSFUL;
    }
    const SIZE screen = ScreenSize();
    if (((dm->dmFields & DM_PELSWIDTH) && dm->dmPelsWidth != DWORD(screen.cx)) ||
        ((dm->dmFields & DM_PELSHEIGHT) && dm->dmPelsHeight != DWORD(screen.cy)) ||
        ((dm->dmFields & DM_BITSPERPEL) && dm->dmBitsPerPel != 32)) {
        if (!test) Record(dm, flags, DISP_CHANGE_BADMODE);
        return DISP_CHANGE_BADMODE;
    }
    if (!(dm->dmFields & DM_DISPLAYORIENTATION)) return DISP_CHANGE_SUCCESSFUL;
    if (test) {
        dm->dmDisplayOrientation = s.orientation;
        return DISP_CHANGE_SUCCESSFUL;
    }
    LONG result = DISP_CHANGE_BADMODE;
    if (ValidOrientation(dm->dmDisplayOrientation)) result = ChangeOrientation(dm->dmDisplayOrientation);
    Record(dm, flags, result);
    return result;
}

HANDLE WINAPI GetCurrentProcess(void) { return reinterpret_cast<HANDLE>(LONG_PTR(-1)); }

DWORD WINAPI GetGuiResources(HANDLE process, DWORD which) {
    if (process != GetCurrentProcess()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    switch (which) {
    case GR_GDIOBJECTS: return DWORD(cehost::internal::GdiObjectCount());
    case GR_USEROBJECTS: return DWORD(S().liveWindows);
    default: SetLastError(ERROR_INVALID_PARAMETER); return 0;
    }
}

BOOL WINAPI SHHandleWMSettingChange(HWND hwnd, WPARAM, LPARAM, PSHACTIVATEINFO psai) {
    // Full-screen windows were already resized by the rotation; the host has no input panel to make room for.
    if (!Lookup(hwnd)) return FALSE;
    if (!psai) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return TRUE;
}

BOOL WINAPI SHHandleWMActivate(HWND hwnd, WPARAM wp, LPARAM, PSHACTIVATEINFO psai, DWORD) {
    Window* w = Lookup(hwnd);
    if (!w) return FALSE;
    if (!psai) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (LOWORD(wp) == WA_INACTIVE) {
        psai->fActive = 0;
        Window* focus = S().focus;
        if (focus && (focus == w || IsDescendant(w, focus))) psai->hwndLastFocus = focus->handle;
        return TRUE;
    }
    psai->fActive = 1;
    Window* last = FromHandle(psai->hwndLastFocus);
    if (last && IsDescendant(w, last)) SetFocusInternal(last);
    return TRUE;
}

} // extern "C"

namespace cehost::sim {

bool SetDisplaySize(int width, int height) { return cehost::internal::SetDisplaySize(width, height); }

DWORD GetDisplayOrientation() { return S().orientation; }

void FailNextDisplayChange(LONG result) {
    State& s = S();
    s.failNextDisplayChange = true;
    s.failResult = result;
}

bool LastDisplayChangeRequest(DisplayChangeRequest* out) {
    State& s = S();
    if (!s.haveDisplayRequest) return false;
    if (out) *out = s.lastDisplayRequest;
    return true;
}

} // namespace cehost::sim
