// Windows: creation and destruction order, the tree and its relations, window longs and text, positions and
// their messages, dialog helpers, stale handles; window classes (one case-insensitive namespace, atoms, class
// information and longs, unregistering).
#include "UserTestSupport.h"

#include <functional>
#include <string>
#include <tuple>
#include <vector>

using namespace usertest;
using namespace lxtest;
using Windows = UserTest;

// The window is shown only after WM_CREATE, and placed before it is activated; the focus comes from
// DefWindowProc's answer to WM_ACTIVATE. (The order of the messages the conformance window case watches is
// pinned there.)
TEST_F(Windows, VisibleTopLevelCreationOrder) {
    DWORD styleInCreate = 0;
    OnMessage([&](HWND h, UINT msg, WPARAM, LPARAM, LRESULT*) {
        if (msg == WM_CREATE) styleInCreate = DWORD(GetWindowLongW(h, GWL_STYLE));
        return false;
    });
    log.WatchAll();
    HWND w = TopLevel(0, 21, 240, 299);
    EXPECT_FALSE(styleInCreate & WS_VISIBLE);
    EXPECT_TRUE(log.Matches({{WM_CREATE, sent},
                             {WM_SIZE, sent | wparam | lparam, SIZE_RESTORED, MAKELPARAM(240, 299)},
                             {WM_MOVE, sent | lparam, 0, MAKELPARAM(0, 21)},
                             {WM_SHOWWINDOW, sent | wparam, TRUE},
                             {WM_WINDOWPOSCHANGING, sent},
                             {WM_WINDOWPOSCHANGED, sent},
                             {WM_ACTIVATE, sent | wparam, WA_ACTIVE},
                             {WM_SETFOCUS, sent | defwinproc}}));
    EXPECT_EQ(GetFocus(), w);
}

// WM_SIZE and WM_MOVE give the client area, inside the border.
TEST_F(Windows, ChildWithBorderHasInsetClientAreaAndIdentifier) {
    HWND top = TopLevel(5, 25, 200, 200);
    log.WatchAll();
    HWND c = Child(top, 42, 10, 20, 50, 30, WS_CHILD | WS_VISIBLE | WS_BORDER);
    EXPECT_TRUE(log.Matches({{WM_CREATE, sent, 0, 0, c},
                             {WM_SIZE, sent | lparam, 0, MAKELPARAM(48, 28)},
                             {WM_MOVE, sent | lparam, 0, MAKELPARAM(11, 21)},
                             {WM_SHOWWINDOW, sent}, {WM_WINDOWPOSCHANGING, sent}, {WM_WINDOWPOSCHANGED, sent}}));
    EXPECT_EQ(std::pair(GetDlgCtrlID(c), GetDlgCtrlID(top)), std::pair(42, 0));
    EXPECT_EQ(std::pair(ClientRect(c), WindowRect(c)), std::pair(Rect(0, 0, 48, 28), Rect(15, 45, 65, 75)));
    POINT p{0, 0};
    ClientToScreen(c, &p);
    EXPECT_EQ(p, (POINT{16, 46}));
    ScreenToClient(top, &p);
    EXPECT_EQ(p, (POINT{11, 21}));
    EXPECT_EQ(GetFocus(), top) << "a child is never activated by being shown";
}

// A window refused by WM_CREATE leaves no window behind; an overlapped window with a parent becomes a child,
// a pop-up with a parent is owned by the parent's top-level window, and the owner takes both with it.
TEST_F(Windows, RefusedCreationParentsAndOwners) {
    OnMessage([](HWND, UINT msg, WPARAM, LPARAM, LRESULT* r) {
        if (msg == WM_CREATE) *r = -1;
        return msg == WM_CREATE;
    });
    EXPECT_EQ(TopLevel(0, 0, 10, 10), nullptr);
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), 0u);
    OnMessage(nullptr);
    HWND top = TopLevel(0, 0, 100, 100);
    HWND c = Child(top, 0, 0, 0, 10, 10, WS_VISIBLE);
    EXPECT_TRUE((GetWindowLongW(c, GWL_STYLE) & WS_CHILD) && IsChild(top, c));
    HWND popup = Child(c, 0, 0, 0, 10, 10, WS_POPUP);
    EXPECT_EQ(std::tuple(GetWindow(popup, GW_OWNER), GetParent(popup), GetAncestor(popup, GA_PARENT)),
              std::tuple(top, top, GetDesktopWindow()));
    EXPECT_FALSE(IsChild(top, popup));
    DestroyWindow(top);
    EXPECT_FALSE(IsWindow(popup) || IsWindow(c));
    SetLastError(0);
    EXPECT_EQ(CreateWindowExW(0, u"TestWindow", u"", WS_CHILD, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
    EXPECT_NE(GetLastError(), 0u);
    EXPECT_EQ(FailureOf([&] { return Child(top, 0, 0, 0, 1, 1); }), DWORD(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(Windows, DestroyMovesFocusFirstThenDestroysParentBeforeChildren) {
    HWND top = TopLevel(0, 0, 200, 200);
    HWND panel = Child(top, 1, 0, 0, 100, 100);
    HWND edit = Child(panel, 2, 0, 0, 50, 20);
    SetFocus(edit);
    bool editAliveInPanelDestroy = false;
    OnMessage([&](HWND h, UINT msg, WPARAM, LPARAM, LRESULT*) {
        if (msg == WM_DESTROY && h == panel) editAliveInPanelDestroy = IsWindow(edit);
        return false;
    });
    log.WatchAll();
    log.Ignore(WM_WINDOWPOSCHANGING);
    log.Ignore(WM_WINDOWPOSCHANGED);
    ASSERT_TRUE(DestroyWindow(panel));
    EXPECT_TRUE(log.Matches({{WM_SHOWWINDOW, sent | wparam, FALSE, 0, panel},
                             {WM_KILLFOCUS, sent | wparam, WPARAM(top), 0, edit},
                             {WM_SETFOCUS, sent | wparam, WPARAM(edit), 0, top},
                             {WM_DESTROY, sent, 0, 0, panel},
                             {WM_DESTROY, sent, 0, 0, edit}}));
    EXPECT_TRUE(editAliveInPanelDestroy);
    EXPECT_FALSE(IsWindow(edit));
    EXPECT_EQ(GetWindow(top, GW_CHILD), nullptr);
    MSG m;
    EXPECT_FALSE(PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) << "CE's DefWindowProc does not quit";
}

TEST_F(Windows, StaleHandlesStayInvalidAndFailCleanly) {
    HWND w = TopLevel(0, 0, 10, 10);
    ASSERT_TRUE(DestroyWindow(w));
    std::vector<HWND> later;
    for (int i = 0; i < 200; ++i) {
        HWND n = TopLevel(0, 0, 10, 10, 0);
        EXPECT_NE(n, w);
        later.push_back(n);
    }
    for (HWND n : later) DestroyWindow(n);
    EXPECT_FALSE(IsWindow(w) || IsWindow(nullptr) || IsWindow(reinterpret_cast<HWND>(uintptr_t(0x12345))));
    RECT rc;
    WCHAR buf[8];
    MSG m;
    const std::function<bool()> calls[] = {
        [&] { return GetMessageW(&m, w, 0, 0) == -1; }, [&] { return !PeekMessageW(&m, w, 0, 0, PM_REMOVE); },
        [&] { return !DestroyWindow(w); }, [&] { return !SendMessageW(w, WM_USER, 0, 0); },
        [&] { return !PostMessageW(w, WM_USER, 0, 0); }, [&] { return !GetWindowLongW(w, GWL_USERDATA); },
        [&] { return !SetWindowLongW(w, GWL_USERDATA, 5); }, [&] { return !GetClientRect(w, &rc); },
        [&] { return !GetWindowTextW(w, buf, 8); }, [&] { return !ShowWindow(w, SW_SHOW); },
        [&] { return !SetFocus(w); }, [&] { return !InvalidateRect(w, nullptr, TRUE); },
        [&] { return !SetTimer(w, 1, 10, nullptr); }, [&] { return !GetParent(w); }};
    for (size_t i = 0; i < std::size(calls); ++i)
        EXPECT_EQ(FailureOf([&] { return !calls[i](); }), DWORD(ERROR_INVALID_WINDOW_HANDLE)) << "call " << i;
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), 0u);
}

// Text is truncated to the buffer and always terminated; window bytes are addressed in four-byte steps and
// hold a full pointer; indexes outside them fail.
TEST_F(Windows, TextAndWindowBytes) {
    HWND w = TopLevel(0, 0, 10, 10, 0, u"original");
    WCHAR text[32];
    EXPECT_EQ(GetWindowTextLengthW(w), 8);
    EXPECT_EQ(GetWindowTextW(w, text, 5), 4);
    EXPECT_EQ(std::u16string(text), u"orig");
    EXPECT_EQ(FailureOf([&] { return GetWindowLongW(w, 1000); }), DWORD(ERROR_INVALID_INDEX));
    static int object;
    ASSERT_NE(RegisterTestClass(u"Extra", 0, nullptr, 12), 0);
    w = TopLevel(0, 0, 10, 10, 0, u"", u"Extra");
    EXPECT_EQ(SetWindowLongW(w, DWL_USER, reinterpret_cast<LONG>(&object)), 0);
    SetWindowLongW(w, DWL_MSGRESULT, 5);
    SetWindowLongW(w, DWL_DLGPROC, 6);
    EXPECT_EQ(std::tuple(reinterpret_cast<int*>(GetWindowLongW(w, DWL_USER)), GetWindowLongW(w, DWL_MSGRESULT),
                         GetWindowLongW(w, DWL_DLGPROC)),
              std::tuple(&object, 5, 6));
    EXPECT_EQ(FailureOf([&] { return GetWindowLongW(w, 12); }), DWORD(ERROR_INVALID_INDEX));
    EXPECT_EQ(GetWindowLongW(w, 2), 0);
}

TEST_F(Windows, StyleChangesAreAnnouncedButNotAppliedMovesSendPositionMessages) {
    HWND w = TopLevel(0, 0, 100, 100);
    log.Watch(w);
    const LONG style = GetWindowLongW(w, GWL_STYLE);
    EXPECT_EQ(SetWindowLongW(w, GWL_STYLE, style | WS_BORDER), style);
    EXPECT_TRUE(log.Matches({{WM_STYLECHANGING, sent | wparam, WPARAM(GWL_STYLE)},
                             {WM_STYLECHANGED, sent | wparam, WPARAM(GWL_STYLE)}}));
    EXPECT_EQ(ClientRect(w), Rect(0, 0, 100, 100)) << "the frame follows only at the next SWP_FRAMECHANGED or resize";
    SetWindowPos(w, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    EXPECT_EQ(ClientRect(w), Rect(0, 0, 98, 98));
    HWND c = Child(w, 1, 10, 10, 50, 50);
    MessageLog moves;
    moves.Watch(c);
    ASSERT_TRUE(MoveWindow(c, 20, 30, 60, 40, TRUE));
    EXPECT_TRUE(moves.Matches({{WM_WINDOWPOSCHANGING, sent},
                               {WM_WINDOWPOSCHANGED, sent},
                               {WM_MOVE, sent | defwinproc | lparam, 0, MAKELPARAM(20, 30)},
                               {WM_SIZE, sent | defwinproc | wparam | lparam, SIZE_RESTORED, MAKELPARAM(60, 40)}}));
    moves.Clear();
    MoveWindow(c, 25, 30, 60, 40, TRUE);
    EXPECT_TRUE(moves.Matches({{WM_WINDOWPOSCHANGING, sent}, {WM_WINDOWPOSCHANGED, sent}, {WM_MOVE, sent}}))
        << "no WM_SIZE when the size stays";
    // WM_WINDOWPOSCHANGING may change the request.
    OnMessage([&](HWND h, UINT msg, WPARAM, LPARAM lp, LRESULT*) {
        if (h == c && msg == WM_WINDOWPOSCHANGING) reinterpret_cast<WINDOWPOS*>(lp)->cx = 10;
        return false;
    });
    SetWindowPos(c, nullptr, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(ClientRect(c), Rect(0, 0, 10, 100));
}

TEST_F(Windows, ZOrderRelationsAndBringToTop) {
    HWND top = TopLevel(0, 0, 200, 200);
    HWND a = Child(top, 1, 0, 0, 10, 10);
    HWND b = Child(top, 2, 0, 0, 10, 10);
    HWND c = Child(top, 3, 0, 0, 10, 10);
    // Creation order is z-order from the top.
    const std::tuple<HWND, UINT, HWND> relations[] = {{top, GW_CHILD, a},     {a, GW_HWNDNEXT, b},
                                                      {b, GW_HWNDNEXT, c},   {c, GW_HWNDNEXT, nullptr},
                                                      {c, GW_HWNDPREV, b},   {b, GW_HWNDFIRST, a},
                                                      {a, GW_HWNDLAST, c}};
    for (const auto& [from, rel, to] : relations) EXPECT_EQ(GetWindow(from, rel), to) << rel;
    BringWindowToTop(c);
    EXPECT_EQ(GetWindow(top, GW_CHILD), c);
    SetWindowPos(c, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetWindow(a, GW_HWNDLAST), c);
    SetWindowPos(a, b, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetWindow(top, GW_CHILD), b);
    EXPECT_EQ(GetWindow(b, GW_HWNDNEXT), a);
    EXPECT_EQ(WindowFromPoint(POINT{5, 5}), b) << "the point hits the topmost of the overlapping children";
}

TEST_F(Windows, FindEnumerateAndCount) {
    HWND hidden = TopLevel(0, 0, 10, 10, 0, u"Phone Book");
    HWND shown = TopLevel(0, 0, 10, 10, WS_VISIBLE, u"Other");
    HWND c = Child(shown, 1, 0, 0, 5, 5);
    HWND grandchild = Child(c, 2, 0, 0, 5, 5);
    EXPECT_EQ(FindWindowW(u"testwindow", u"PHONE BOOK"), hidden);
    EXPECT_EQ(FindWindowW(u"TestWindow", nullptr), shown) << "the topmost match comes first";
    EXPECT_EQ(FindWindowW(u"TestWindow", u""), nullptr) << "child windows are not searched";
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), 4u);
    const WNDENUMPROC collect = [](HWND h, LPARAM lp) {
        reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
        return TRUE;
    };
    std::vector<HWND> tops, children;
    EnumWindows(collect, reinterpret_cast<LPARAM>(&tops));
    EnumChildWindows(shown, collect, reinterpret_cast<LPARAM>(&children));
    EXPECT_EQ(tops, (std::vector<HWND>{shown, hidden}));
    EXPECT_EQ(children, (std::vector<HWND>{c, grandchild}));
    DestroyWindow(shown);
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), 1u);
    EXPECT_EQ(FailureOf([] { return GetGuiResources(HANDLE(uintptr_t(0x42)), GR_USEROBJECTS); }),
              DWORD(ERROR_INVALID_HANDLE));
    EXPECT_EQ(FailureOf([] { return GetGuiResources(GetCurrentProcess(), 7); }), DWORD(ERROR_INVALID_PARAMETER));
}

// (The common tab order, disabled and plain controls skipped, is pinned by the conformance dialog case.)
TEST_F(Windows, DialogItemsAndTabOrderCorners) {
    HWND dlg = TopLevel(0, 0, 200, 200);
    const DWORD tab = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    HWND first = Child(dlg, 10, 0, 0, 10, 10, tab);
    Child(dlg, 13, 0, 0, 10, 10, WS_CHILD | WS_TABSTOP); // hidden
    HWND last = Child(dlg, 14, 0, 0, 10, 10, tab);
    HWND nested = Child(last, 20, 0, 0, 5, 5, tab);
    EXPECT_EQ(GetDlgItem(dlg, 20), nullptr) << "only direct children";
    EXPECT_EQ(GetNextDlgTabItem(dlg, first, FALSE), last) << "hidden controls are skipped";
    EXPECT_EQ(GetNextDlgTabItem(dlg, nested, FALSE), first) << "a nested control counts as its dialog child";
    ShowWindow(last, SW_HIDE);
    EXPECT_EQ(GetNextDlgTabItem(dlg, first, FALSE), first) << "no other tab stop: the control itself";
    EXPECT_EQ(SendDlgItemMessageW(dlg, 99, WM_USER, 0, 0), 0);
    EXPECT_TRUE(SetDlgItemTextW(dlg, 10, u"abc"));
    WCHAR buf[8];
    EXPECT_EQ(GetDlgItemTextW(dlg, 10, buf, 8), 3u);
}

TEST_F(Windows, WindowsDestroyingThemselvesMidOperationLeaveNoDanglingState) {
    const UINT triggers[] = {WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW, WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED,
                             WM_ACTIVATE, WM_SETFOCUS, WM_KILLFOCUS, WM_PAINT, WM_ERASEBKGND, WM_DESTROY,
                             WM_STYLECHANGING, WM_ENABLE, WM_CANCELMODE, WM_TIMER, WM_KEYDOWN, WM_CAPTURECHANGED};
    HWND keeper = TopLevel(0, 0, 50, 50, WS_VISIBLE, u"keeper");
    for (UINT trigger : triggers) {
        OnMessage([trigger, keeper](HWND h, UINT msg, WPARAM, LPARAM, LRESULT*) {
            if (msg == trigger && h != keeper) DestroyWindow(h);
            return false;
        });
        HWND top = TopLevel(10, 10, 100, 100);
        HWND c = top ? Child(top, 1, 0, 0, 20, 20) : nullptr;
        for (HWND h : {c, top}) {
            if (!IsWindow(h)) continue;
            SetTimer(h, 1, 10, nullptr);
            SetFocus(h);
            SetCapture(h);
            ReleaseCapture();
            SetWindowLongW(h, GWL_STYLE, GetWindowLongW(h, GWL_STYLE) | WS_TABSTOP);
            MoveWindow(h, 5, 5, 60, 60, TRUE);
            EnableWindow(h, FALSE);
            EnableWindow(h, TRUE);
            InvalidateRect(h, nullptr, TRUE);
            UpdateWindow(h);
            keybd_event(VK_DOWN, 0, 0, 0);
            cehost::sim::RunFor(20);
            ShowWindow(h, SW_HIDE);
            ShowWindow(h, SW_SHOW);
        }
        SetForegroundWindow(keeper);
        DestroyWindow(top);
        cehost::sim::RunFor(20);
        EXPECT_FALSE(IsWindow(top)) << MessageLog::NameOf(trigger);
        EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), 1u) << MessageLog::NameOf(trigger);
        EXPECT_TRUE(GetFocus() == nullptr || GetFocus() == keeper) << MessageLog::NameOf(trigger);
    }
}

TEST(Classes, NamesAreCaseInsensitiveAndRegisteredOnce) {
    const ATOM atom = RegisterTestClass(u"MyClass");
    ASSERT_NE(atom, 0);
    EXPECT_EQ(FailureOf([] { return RegisterTestClass(u"MYCLASS"); }), DWORD(ERROR_CLASS_ALREADY_EXISTS));
    WNDCLASSW wc{};
    ASSERT_TRUE(GetClassInfoW(nullptr, u"myclass", &wc));
    EXPECT_EQ(wc.lpfnWndProc, &TestProc);
    // A window can be created through the atom as well as any spelling of the name.
    HWND a = CreateWindowExW(0, MAKEINTATOM(atom), u"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND b = TopLevel(0, 0, 10, 10, 0, u"", u"mYcLaSs");
    WCHAR name[32];
    EXPECT_EQ(GetClassNameW(a, name, 32), 7);
    EXPECT_EQ(std::u16string(name), u"MyClass");
    EXPECT_EQ(GetClassLongW(b, GCW_ATOM), atom);
}

// The CE colour flag survives in a class background given as a system colour index + 1.
TEST(Classes, BackgroundGivenAsAColourIndexKeepsTheColourFlag) {
    ASSERT_NE(RegisterTestClass(u"Kept", 0, reinterpret_cast<HBRUSH>(uintptr_t(COLOR_WINDOW + 1))), 0);
    WNDCLASSW out{};
    ASSERT_TRUE(GetClassInfoW(nullptr, u"Kept", &out));
    EXPECT_EQ(reinterpret_cast<uintptr_t>(out.hbrBackground), uintptr_t(0x40000006));
    HWND w = TopLevel(0, 0, 10, 10, 0, u"", u"Kept");
    EXPECT_EQ(GetClassLongW(w, GCL_HBRBACKGROUND), uintptr_t(0x40000006));
    EXPECT_EQ(SetClassLongW(w, GCL_HBRBACKGROUND, 0), uintptr_t(0x40000006));
    EXPECT_EQ(GetClassLongW(w, GCL_HBRBACKGROUND), 0u);
}

TEST(Classes, UnregisterAndBadRegistrations) {
    ASSERT_NE(RegisterTestClass(u"Gone"), 0);
    HWND w = TopLevel(0, 0, 10, 10, 0, u"", u"Gone");
    EXPECT_EQ(FailureOf([] { return UnregisterClassW(u"gone", nullptr); }), DWORD(ERROR_CLASS_HAS_WINDOWS));
    DestroyWindow(w);
    EXPECT_TRUE(UnregisterClassW(u"gone", nullptr));
    EXPECT_EQ(FailureOf([] { return UnregisterClassW(u"gone", nullptr); }), DWORD(ERROR_CLASS_DOES_NOT_EXIST));
    EXPECT_NE(RegisterTestClass(u"Gone"), 0) << "the name is free again";
    EXPECT_FALSE(UnregisterClassW(u"#32769", nullptr)) << "the desktop's class is built in";
    EXPECT_EQ(FailureOf([] { return RegisterClassW(nullptr); }), DWORD(ERROR_INVALID_PARAMETER));
    WNDCLASSW wc{};
    wc.lpszClassName = u"NoProc";
    EXPECT_EQ(RegisterClassW(&wc), 0);
    wc.lpfnWndProc = TestProc;
    wc.cbWndExtra = -4;
    EXPECT_EQ(RegisterClassW(&wc), 0);
    EXPECT_EQ(FailureOf([&] { return GetClassInfoW(nullptr, u"Nowhere", &wc); }),
              DWORD(ERROR_CLASS_DOES_NOT_EXIST));
    EXPECT_EQ(FailureOf([] { return TopLevel(0, 0, 1, 1, 0, u"", u"Nowhere"); }),
              DWORD(ERROR_CANNOT_FIND_WND_CLASS));
}
