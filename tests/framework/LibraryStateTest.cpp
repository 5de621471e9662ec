// Process-wide services: key codes and what the menu bar is told, rotation requests, subclassing, borders,
// key injection. This program stands in for the menu bar's key hand-over functions to see every call.
#include <gtest/gtest.h>

#include <cehost/sim.h>

#include <utility>
#include <vector>

#include "LxLibrary.h"

namespace {
std::vector<std::pair<char, unsigned int>> g_given;
}

// The menu-bar library's hand-over functions, replaced here so the test sees each call.
void LxGiveLeftKey(unsigned int vk) { g_given.push_back({'L', vk}); }
void LxGiveRightKey(unsigned int vk) { g_given.push_back({'R', vk}); }
void LxGiveSelectKey(unsigned int vk) { g_given.push_back({'S', vk}); }
void LxGiveHomeKey(unsigned int vk) { g_given.push_back({'H', vk}); }

namespace {

LRESULT CALLBACK PlainProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcW(h, m, w, l); }
LRESULT CALLBACK FirstProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcW(h, m, w, l); }
LRESULT CALLBACK SecondProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcW(h, m, w, l); }

HWND MakeWindow(DWORD style = WS_VISIBLE) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = PlainProc;
    wc.lpszClassName = u"LibraryStateTest";
    RegisterClassW(&wc);
    return CreateWindowExW(0, u"LibraryStateTest", u"", style, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
}

DWORD RequestedOrientation() {
    cehost::sim::DisplayChangeRequest request;
    EXPECT_TRUE(cehost::sim::LastDisplayChangeRequest(&request));
    EXPECT_EQ(request.fields, DWORD(DM_DISPLAYORIENTATION));
    EXPECT_EQ(request.flags, DWORD(CDS_RESET));
    return request.orientation;
}

} // namespace

TEST(KeyCodes, DefaultsUntilSetThenStoredValueAndHandedToTheMenuBarOnce) {
    EXPECT_EQ(LxGetMenuKeyLeft(), 0x70u);
    EXPECT_EQ(LxGetMenuKeyRight(), 0x71u);
    EXPECT_EQ(LxGetSelectKey(), 0x72u);
    EXPECT_EQ(LxGetHomeKey(), 0x73u);
    EXPECT_TRUE(g_given.empty());

    LxSetMenuKeyLeft(0); // zero is a valid code
    LxSetHomeKey(VK_RETURN);
    LxSetSelectKey(0xFFFFFFFF); // top bit set reads back as not set
    EXPECT_EQ(LxGetMenuKeyLeft(), 0u);
    EXPECT_EQ(LxGetHomeKey(), unsigned(VK_RETURN));
    EXPECT_EQ(LxGetSelectKey(), 0x72u);
    EXPECT_EQ(LxGetMenuKeyRight(), 0x71u);
    const std::vector<std::pair<char, unsigned int>> expected{{'L', 0}, {'H', VK_RETURN}, {'S', 0xFFFFFFFF}};
    EXPECT_EQ(g_given, expected);
}

TEST(RotateScreen, CyclesFromWhatWasAskedEvenWhenTheDisplayRefuses) {
    EXPECT_EQ(LxRotateScreen(3), 0);
    EXPECT_EQ(LxRotateScreen(5), 0);
    cehost::sim::DisplayChangeRequest none;
    EXPECT_FALSE(cehost::sim::LastDisplayChangeRequest(&none)) << "a refused value must not reach the display";

    // From a fresh process: 1, 2, 4, 0; every negative value behaves like -1.
    const DWORD cycle[] = {1, 2, 4, 0};
    for (DWORD want : cycle) {
        EXPECT_EQ(LxRotateScreen(-7), 1);
        EXPECT_EQ(RequestedOrientation(), want);
    }
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 240);

    cehost::sim::FailNextDisplayChange();
    EXPECT_EQ(LxRotateScreen(2), 0);
    EXPECT_EQ(LxRotateScreen(-1), 1);
    EXPECT_EQ(RequestedOrientation(), 4u);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 320); // 270 degrees swaps the size
}

TEST(RotateScreen, RefusedValuesLeaveTheRememberedOrientationAlone) {
    EXPECT_EQ(LxRotateScreen(1), 1);
    EXPECT_EQ(LxRotateScreen(3), 0);
    EXPECT_EQ(LxRotateScreen(-1), 1);
    EXPECT_EQ(RequestedOrientation(), 2u);
}

TEST(SubClassing, OnlyTheFirstProcedureIsInstalledAndUserDataKeepsTheOriginal) {
    HWND hwnd = MakeWindow();
    ASSERT_TRUE(hwnd);
    LxSubClassing(hwnd, FirstProc);
    LxSubClassing(hwnd, SecondProc);
    EXPECT_EQ(GetWindowLongW(hwnd, GWL_WNDPROC), reinterpret_cast<LONG>(FirstProc));
    EXPECT_EQ(GetWindowLongW(hwnd, GWL_USERDATA), reinterpret_cast<LONG>(PlainProc));
    DestroyWindow(hwnd);
}

TEST(SetBorder, SetsAndClearsOnlyTheBorderBit) {
    HWND hwnd = MakeWindow(WS_VISIBLE | WS_TABSTOP);
    const LONG before = GetWindowLongW(hwnd, GWL_STYLE);
    LxSetBorder(hwnd, 1);
    LxSetBorder(hwnd, 1);
    EXPECT_EQ(GetWindowLongW(hwnd, GWL_STYLE), before | LONG(WS_BORDER));
    LxSetBorder(hwnd, 0);
    EXPECT_EQ(GetWindowLongW(hwnd, GWL_STYLE), before & ~LONG(WS_BORDER));
    LxSetBorder(hwnd, 0);
    EXPECT_EQ(GetWindowLongW(hwnd, GWL_STYLE), before & ~LONG(WS_BORDER));
    DestroyWindow(hwnd);
}

TEST(KeyEvent, InjectsAnExtendedPressAndRelease) {
    HWND hwnd = MakeWindow();
    SetFocus(hwnd);
    std::vector<cehost::sim::ObservedMessage> keys;
    const int id = cehost::sim::AddMessageObserver([&](const cehost::sim::ObservedMessage& m) {
        if (m.message == WM_KEYDOWN || m.message == WM_KEYUP) keys.push_back(m);
    });
    LxKeyEvent(VK_RIGHT);
    cehost::sim::RunUntilIdle();
    cehost::sim::RemoveMessageObserver(id);
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].message, UINT(WM_KEYDOWN));
    EXPECT_EQ(keys[1].message, UINT(WM_KEYUP));
    for (const auto& key : keys) {
        EXPECT_EQ(key.hwnd, hwnd);
        EXPECT_EQ(key.wParam, WPARAM(VK_RIGHT));
        EXPECT_TRUE(key.lParam & (1 << 24)) << "extended-key bit";
    }
    DestroyWindow(hwnd);
}

TEST(LastError, FreshProcessAnswersZeroAndTheSlotIsTheApplicationsOwn) {
    EXPECT_EQ(LxGetLastError(), 0);
    LxSetLastError(-5);
    SetLastError(7);
    EXPECT_EQ(LxGetLastError(), -5);
}
