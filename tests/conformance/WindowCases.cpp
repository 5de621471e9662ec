// Window manager cases: the life of a window, keyboard input, timers, invalidation and painting.
#include "Conformance.h"

using namespace conformance;

CONFORMANCE_CASE(window_lifecycle) {
    Watch({WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW, WM_ACTIVATE, WM_SETFOCUS, WM_KILLFOCUS,
           WM_DESTROY, WM_NCDESTROY});
    HWND main = CreateRecorded("main", WS_POPUP, 10, 20, 200, 150);
    LogRecord("create_hidden");
    HWND child = CreateRecorded("child", WS_CHILD | WS_VISIBLE, 5, 6, 50, 40, main, 7);
    HWND sibling = CreateRecorded("sibling", WS_CHILD | WS_VISIBLE, 60, 6, 50, 40, main, 8);
    LogRecord("create_children");
    Log("child_order", "%s %s", NameOf(GetWindow(main, GW_CHILD)).c_str(),
        NameOf(GetWindow(GetWindow(main, GW_CHILD), GW_HWNDNEXT)).c_str());
    ShowWindow(main, SW_SHOW);
    LogRecord("show");
    Log("after_show", "active %s focus %s", NameOf(GetActiveWindow()).c_str(), NameOf(GetFocus()).c_str());
    Log("set_focus", "%s", NameOf(SetFocus(child)).c_str());
    LogRecord("focus_child");
    EnableWindow(sibling, FALSE);
    HWND refusedFocus = SetFocus(sibling);
    Log("focus_disabled", "%s focus %s", NameOf(refusedFocus).c_str(), NameOf(GetFocus()).c_str());
    HWND second = CreateRecorded("second", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    LogRecord("create_second_visible");
    DestroyWindow(second);
    LogRecord("destroy_second");
    Log("after_destroy_second", "active %s focus %s", NameOf(GetActiveWindow()).c_str(),
        NameOf(GetFocus()).c_str());
    DestroyWindow(main);
    LogRecord("destroy");
    Log("is_window", "%d %d", IsWindow(main), IsWindow(child));
    auto refuse = [](HWND, UINT m, WPARAM, LPARAM, LRESULT* r) { return m == WM_CREATE && (*r = -1, true); };
    HWND refused = CreateRecorded("refused", WS_POPUP, 0, 0, 10, 10, nullptr, 0, refuse);
    LogRecord("create_refused");
    Log("refused_handle", "%d", refused != nullptr);
}

CONFORMANCE_CASE(keyboard) {
    auto keyState = [](HWND, UINT m, WPARAM w, LPARAM, LRESULT*) {
        if (m == WM_KEYDOWN || m == WM_KEYUP)
            Note(Format("state(0x%02X,%d)", unsigned(w), (GetKeyState(int(w)) & 0x8000 ? 1 : 0) +
                                                                    (GetKeyState(VK_SHIFT) & 0x8000 ? 2 : 0)));
        return false;
    };
    HWND main = CreateRecorded("main", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, 0, keyState);
    SetForegroundWindow(main);
    SetFocus(main);
    Pump();
    Watch({WM_KEYDOWN, WM_KEYUP, WM_CHAR});
    PressKey('A');
    LogRecord("letter");
    keybd_event(VK_SHIFT, 0, 0, 0);
    PressKey('B');
    keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0);
    Pump();
    LogRecord("shifted");
    Watch({WM_CHAR});
    for (BYTE vk : {BYTE(VK_RETURN), BYTE(VK_BACK), BYTE(VK_ESCAPE), BYTE(VK_TAB), BYTE('5'), BYTE(VK_LEFT),
                    BYTE(VK_F1), BYTE(VK_SPACE)})
        PressKey(vk);
    LogRecord("characters");
    Watch({WM_KEYDOWN, WM_KEYUP});
    keybd_event('C', 0, 0, 0);
    keybd_event('C', 0, 0, 0);
    keybd_event('C', 0, KEYEVENTF_KEYUP, 0);
    Pump();
    LogRecord("repeat");
    Watch({});
    PressKey(VK_CAPITAL);
    Log("caps_toggled", "%d", GetKeyState(VK_CAPITAL) & 1);
    Watch({WM_CHAR});
    PressKey('D');
    PressKey(VK_CAPITAL);
    LogRecord("caps_letter");
    DestroyWindow(main);
}

namespace {
int callbackTicks = 0;
void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD) { ++callbackTicks; }
} // namespace

CONFORMANCE_CASE(timers) {
    int ticks[4] = {};
    auto count = [&ticks](HWND, UINT m, WPARAM w, LPARAM, LRESULT*) {
        if (m == WM_TIMER && w < 4) ++ticks[w];
        return false;
    };
    HWND main = CreateRecorded("main", WS_POPUP, 0, 0, 10, 10, nullptr, 0, count);
    UINT_PTR first = SetTimer(main, 1, 40, nullptr);
    Log("set", "%d %d", int(first), int(SetTimer(main, 2, 15, nullptr)));
    Log("replace", "%d", int(SetTimer(main, 1, 10, nullptr)));
    bool reached = PumpUntil([&] { return ticks[1] >= 3; });
    Log("fast_timer_ran", "%d", reached);
    BOOL killed = KillTimer(main, 1), again = KillTimer(main, 1);
    Log("kill", "%d %d %d", killed, again, KillTimer(main, 3));
    int before = ticks[1];
    PumpUntil([&] { return ticks[2] >= 4; });
    Log("killed_timer_silent", "%d", ticks[1] - before);
    KillTimer(main, 2);
    Log("callback_set", "%d", int(SetTimer(main, 3, 10, CountTick)));
    PumpUntil([] { return callbackTicks >= 2; });
    Log("callback", "ticks %d through_window %d", callbackTicks >= 2, ticks[3]);
    KillTimer(main, 3);
    UINT_PTR thread = SetTimer(nullptr, 0, 10, nullptr);
    MSG msg = {};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0 && !(msg.message == WM_TIMER && msg.wParam == thread))
        DispatchMessageW(&msg);
    Log("thread_timer", "id %d hwnd %s", thread != 0, NameOf(msg.hwnd).c_str());
    KillTimer(nullptr, thread);
    DestroyWindow(main);
}

namespace {
// Each window fills its update area with its own colour, so pixels tell who painted last where.
Answer Painter(COLORREF colour, PAINTSTRUCT* last = nullptr) {
    return [colour, last](HWND hwnd, UINT m, WPARAM, LPARAM, LRESULT*) {
        if (m != WM_PAINT) return false;
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(hwnd, &ps);
        HBRUSH brush = CreateSolidBrush(colour);
        RECT rc;
        GetClientRect(hwnd, &rc);
        FillRect(hdc, &rc, brush);
        DeleteObject(brush);
        EndPaint(hwnd, &ps);
        if (last) *last = ps;
        return true;
    };
}

const char* ColourName(COLORREF c) {
    switch (c) {
    case RGB(255, 0, 0): return "red";
    case RGB(0, 255, 0): return "green";
    case RGB(0, 0, 255): return "blue";
    case RGB(255, 255, 255): return "white";
    default: {
        static char text[16];
        snprintf(text, sizeof text, "%06X", unsigned(c));
        return text;
    }
    }
}

// Which colour the screen shows at: the parent alone, the first child alone, the overlap, the second child
// alone.
void LogPixels(const char* key, HWND parent) {
    HDC screen = GetDC(nullptr);
    std::string colours;
    for (POINT pt : {POINT{5, 5}, POINT{15, 15}, POINT{45, 45}, POINT{65, 65}}) {
        ClientToScreen(parent, &pt);
        colours += std::string(colours.empty() ? "" : " ") + ColourName(GetPixel(screen, pt.x, pt.y));
    }
    ReleaseDC(nullptr, screen);
    Log(key, "%s", colours.c_str());
}

void PaintFamily(const char* variant, DWORD clipStyles) {
    PAINTSTRUCT last = {};
    HWND parent = CreateRecorded("parent", WS_POPUP | WS_VISIBLE | clipStyles, 0, 0, 100, 100, nullptr, 0,
                                 Painter(RGB(255, 0, 0), &last));
    HWND first = CreateRecorded("first", WS_CHILD | WS_VISIBLE | clipStyles, 10, 10, 40, 40, parent, 1,
                                Painter(RGB(0, 255, 0)));
    CreateRecorded("second", WS_CHILD | WS_VISIBLE | clipStyles, 30, 30, 40, 40, parent, 2,
                   Painter(RGB(0, 0, 255)));
    UpdateWindow(parent);
    Pump();
    std::string key = variant;
    LogPixels((key + "_shown").c_str(), parent);
    Watch({WM_PAINT, WM_ERASEBKGND});
    InvalidateRect(parent, nullptr, TRUE);
    UpdateWindow(parent);
    Pump();
    LogRecord((key + "_parent_invalid").c_str());
    LogPixels((key + "_parent_repainted").c_str(), parent);
    InvalidateRect(first, nullptr, FALSE);
    Pump();
    LogRecord((key + "_first_invalid").c_str());
    LogPixels((key + "_first_repainted").c_str(), parent);
    RECT a = {2, 2, 8, 8}, b = {75, 80, 90, 95};
    InvalidateRect(parent, &a, FALSE);
    InvalidateRect(parent, &b, FALSE);
    RECT update = {};
    BOOL pending = GetUpdateRect(parent, &update, FALSE);
    Log((key + "_update_rect").c_str(), "%d %s", pending, RectText(update).c_str());
    Pump();
    LogRecord((key + "_two_rects").c_str());
    Log((key + "_rcpaint").c_str(), "%s erase %d", RectText(last.rcPaint).c_str(), last.fErase);
    Log((key + "_validated").c_str(), "%d", GetUpdateRect(parent, &update, FALSE));
    Watch({});
    DestroyWindow(parent);
}
} // namespace

CONFORMANCE_CASE(painting) {
    PaintFamily("implicit", 0);
    PaintFamily("explicit", WS_CLIPCHILDREN | WS_CLIPSIBLINGS);
}
