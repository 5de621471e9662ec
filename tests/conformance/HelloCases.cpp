// The library itself: the hello example runs in this process (its WinMain with its own message loop) while a
// driver on a thread timer, inside that loop, looks at its windows and sends it keys with keybd_event.
#include "Conformance.h"

#include <algorithm>
#include <vector>

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nCmdShow);

using namespace conformance;

namespace {

HWND app = nullptr;
int step = 0;

// The application window's children, top to bottom, in its client coordinates.
void LogLayout(const char* key) {
    std::vector<std::pair<RECT, std::string>> children;
    for (HWND c = GetWindow(app, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (!IsWindowVisible(c)) continue;
        RECT rc;
        GetWindowRect(c, &rc);
        MapWindowPoints(nullptr, app, (POINT*)&rc, 2);
        children.push_back({rc, ClassOf(c)});
    }
    std::sort(children.begin(), children.end(), [](auto& a, auto& b) { return a.first.top < b.first.top; });
    RECT window, client;
    GetWindowRect(app, &window);
    GetClientRect(app, &client);
    std::string text = "window " + RectText(window) + " client " + RectText(client);
    for (auto& [rc, name] : children) text += " " + name + RectText(rc);
    Log(key, "%s", text.c_str());
}

// What the free area shows beside its centred text, on the screen.
void LogFreeArea(const char* key) {
    POINT pt = {10, 60};
    ClientToScreen(app, &pt);
    HDC screen = GetDC(nullptr);
    COLORREF c = GetPixel(screen, pt.x, pt.y);
    ReleaseDC(nullptr, screen);
    Log(key, "%06X", unsigned(c));
}

void Press(BYTE vk) {
    keybd_event(vk, 0, 0, 0);
    keybd_event(vk, 0, KEYEVENTF_KEYUP, 0);
}

// One step per tick, so that the application handles each key and repaints before the next look.
void CALLBACK Drive(HWND, UINT, UINT_PTR, DWORD) {
    switch (step++) {
    case 0:
        app = FindWindowW(TEXT("HelloKeypad"), nullptr);
        Log("found", "%d foreground %d", app != nullptr, GetForegroundWindow() == app);
        if (!app) PostQuitMessage(3);
        SetForegroundWindow(app);
        break;
    case 1:
        LogLayout("layout");
        LogFreeArea("free_area");
        Press(VK_F1); // the left soft key opens the menu
        break;
    case 2:
        Log("menu_opened", "active %s", ClassOf(GetActiveWindow()).c_str());
        Press(VK_DOWN); // to "change the background colour"
        break;
    case 3: Press(VK_RETURN); break;
    case 4:
        LogFreeArea("free_area_after_colour");
        Press(VK_F2); // the right soft key quits
        break;
    default:
        if (step > 40) PostQuitMessage(4); // the application did not quit
    }
}

} // namespace

CONFORMANCE_CASE(hello_keypad) {
    UINT_PTR driver = SetTimer(nullptr, 0, 100, Drive);
    WCHAR commandLine[] = TEXT("");
    int result = WinMain(GetModuleHandleW(nullptr), nullptr, commandLine, SW_SHOW);
    KillTimer(nullptr, driver);
    Log("quit", "result %d steps_done %d window_gone %d", result, step >= 5, app && !IsWindow(app));
}
