// Handles in the menu-bar creation record: its words are 32 bits wide, so a module address above 4 GiB travels
// in two halves and a window handle comes back sign-extended, as 64-bit Windows extends its handles.
#include <gtest/gtest.h>

#include "LxMenuBar.h"

TEST(MenuBarRecord, HandlesSurviveTheTripThroughTheRecord) {
    struct Case {
        ULONGLONG instance;
        DWORD low, high;
    };
    const Case instances[] = {
        {0x0000000000010000ull, 0x00010000u, 0u},
        {0x0000000140000000ull, 0x40000000u, 1u},          // a 64-bit program's default base
        {0x00007FF812340000ull, 0x12340000u, 0x00007FF8u}, // a system DLL's
    };
    for (const Case& c : instances) {
        const HINSTANCE instance = reinterpret_cast<HINSTANCE>(static_cast<ULONG_PTR>(c.instance));
        EXPECT_EQ(LxMenuBarHandleToRecord(instance), c.low);
        EXPECT_EQ(LxMenuBarInstanceHigh(instance), c.high);
        EXPECT_EQ(LxMenuBarRecordToInstance(c.low, c.high), instance);
    }
    const struct {
        ULONGLONG window;
        DWORD word;
    } windows[] = {{0x0000000000020046ull, 0x00020046u}, {0xFFFFFFFF80001234ull, 0x80001234u}};
    for (const auto& c : windows) {
        const HWND window = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(c.window));
        EXPECT_EQ(LxMenuBarHandleToRecord(window), c.word);
        EXPECT_EQ(LxMenuBarRecordToHandle<HWND>(c.word), window);
    }
}
