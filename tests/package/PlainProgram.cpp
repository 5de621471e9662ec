// A program with its own main(), compiled with nothing but `pkg-config --cflags --libs lxlibrary`: the
// installed headers must compile on their own, and the installed libraries must load and work together.
#include <windows.h>

#include <cstdio>

#include "LxString.h"

static int Fail(const char* what) {
    std::fprintf(stderr, "installed library: %s\n", what);
    return 1;
}

int main() {
    // The string class converts through the ANSI code page in the platform.
    LxString greeting(u"안녕");
    greeting += " keypad";
    if (greeting != u"안녕 keypad") return Fail("LxString concatenation of wide and narrow text");
    // The platform's system classes are registered when it loads.
    HWND label = CreateWindowW(u"static", u"Installed", WS_VISIBLE, 0, 0, 100, 20, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    if (!label) return Fail("a \"static\" window could not be created");
    WCHAR text[32] = {};
    GetWindowTextW(label, text, 32);
    if (LxString(text) != u"Installed") return Fail("the window text did not round-trip");
    if (!DestroyWindow(label) || IsWindow(label)) return Fail("the window was not destroyed");
    std::puts("installed library works");
    return 0;
}
