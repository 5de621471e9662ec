// Process-wide services and the calls the library makes into the menu-bar library and the accelerator
// loader: key codes and what the menu bar is told, rotation requests, subclassing, key injection,
// the menu bar's creation record and the handles it carries, placement, captions and edits, the destructor's order, accelerators looked
// for in the host and then in the library module. This program stands in for the menu-bar library and for
// LoadAcceleratorsW to see every call.
#include <dlfcn.h>

#include <utility>

#include "ControlsTestSupport.h"
#include "LxLibrary.h"
#include "LxMenuBar.h"

using namespace lxtest;

namespace {
std::vector<std::pair<char, unsigned int>> g_given;

struct Call {
    std::string what;
    std::vector<long> args;
    std::u16string text;
    bool operator==(const Call&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Call& c) {
    out << c.what;
    for (long a : c.args) out << " " << a;
    return out << " '" << std::string(c.text.begin(), c.text.end()) << "'";
}
std::vector<Call> g_calls;
std::vector<HWND> g_barArguments;
LXMENUBARINFO g_record;
bool g_refuseBar = false;
HWND g_title = nullptr, g_main = nullptr;
bool g_hideHostAccelerators = false;
std::vector<HINSTANCE> g_acceleratorSearch;

void Log(HWND bar, std::string what, std::vector<long> args, const WCHAR* text = nullptr) {
    g_barArguments.push_back(bar);
    g_calls.push_back({std::move(what), std::move(args), text ? text : u""});
}
} // namespace

// The menu-bar library's functions, replaced here so the test sees each call.
void LxGiveLeftKey(unsigned int vk) { g_given.push_back({'L', vk}); }
void LxGiveRightKey(unsigned int vk) { g_given.push_back({'R', vk}); }
void LxGiveSelectKey(unsigned int vk) { g_given.push_back({'S', vk}); }
void LxGiveHomeKey(unsigned int vk) { g_given.push_back({'H', vk}); }
int LxCreateMenuBar(LXMENUBARINFO* info) {
    g_record = *info;
    if (g_refuseBar) return 0;
    HWND owner = LxMenuBarRecordToHandle<HWND>(info->hwndOwner);
    HWND bar = CreateWindowExW(0, u"static", u"", WS_CHILD | WS_VISIBLE, 0, 0, 1, 1, owner, nullptr, nullptr, nullptr);
    info->hwndMB = LxMenuBarHandleToRecord(bar);
    info->hwndPopup = 0x5678;
    Log(bar, "create", {});
    return 1;
}
void LxDestroyMenuBar(HWND bar) {
    Log(bar, "destroy", {IsWindow(g_title), IsWindow(g_main)});
    DestroyWindow(bar);
}
int LxMoveBtn(HWND bar, int left, int width) { return Log(bar, "move", {left, width}), 1; }
int LxGetBtnCaption(HWND bar, int button, WCHAR* buffer) {
    Log(bar, "get", {button});
    buffer[0] = button ? u'R' : u'L';
    buffer[1] = 0;
    return 1;
}
int LxChangeBtnCaption(HWND bar, int button, const WCHAR* text) { return Log(bar, "caption", {button}, text), 1; }
int LxChangeCaption(HWND bar, int button, int item, const WCHAR* text) {
    return Log(bar, "item", {button, item}, text), 1;
}
int LxInsertManuCaption(HWND bar, int button, UINT position, UINT reserved, UINT command, const WCHAR* text) {
    return Log(bar, "insert", {button, long(position), long(reserved), long(command)}, text), 1;
}
int LxDeleteMenuItem(HWND bar, int button, UINT position) { return Log(bar, "delete", {button, long(position)}), 1; }
int LxOpenPopupMenu(HWND bar, int menu) { return Log(bar, "open", {menu}), 42; }

// The platform's loader, watched: the host's own tables can be hidden, and the library module then answers
// with the host's table as if it held it.
extern "C" HACCEL WINAPI LoadAcceleratorsW(HINSTANCE instance, LPCWSTR name) {
    using Loader = HACCEL(WINAPI*)(HINSTANCE, LPCWSTR);
    static const auto real = reinterpret_cast<Loader>(dlsym(RTLD_NEXT, "LoadAcceleratorsW"));
    g_acceleratorSearch.push_back(instance);
    HINSTANCE host = GetModuleHandleW(nullptr);
    if (instance == host) return g_hideHostAccelerators ? nullptr : real(host, name);
    return real(host, name);
}

namespace {

LRESULT CALLBACK PlainProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcW(h, m, w, l); }
LRESULT CALLBACK FirstProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcW(h, m, w, l); }
LRESULT CALLBACK SecondProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcW(h, m, w, l); }

HWND MakeWindow() {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = PlainProc;
    wc.lpszClassName = u"LibraryStateTest";
    RegisterClassW(&wc);
    return CreateWindowExW(0, u"LibraryStateTest", u"", WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
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
    auto codes = [] {
        return std::vector{LxGetMenuKeyLeft(), LxGetMenuKeyRight(), LxGetSelectKey(), LxGetHomeKey()};
    };
    EXPECT_EQ(codes(), (std::vector{0x70u, 0x71u, 0x72u, 0x73u}));
    EXPECT_TRUE(g_given.empty());
    LxSetMenuKeyLeft(0); // zero is a valid code
    LxSetHomeKey(VK_RETURN);
    LxSetSelectKey(0xFFFFFFFF); // top bit set reads back as not set
    EXPECT_EQ(codes(), (std::vector{0u, 0x71u, 0x72u, unsigned(VK_RETURN)}));
    EXPECT_EQ(g_given, (decltype(g_given){{'L', 0}, {'H', VK_RETURN}, {'S', 0xFFFFFFFF}}));
}

TEST(RotateScreen, CyclesFromWhatWasAskedEvenWhenTheDisplayRefuses) {
    EXPECT_EQ(LxRotateScreen(3), 0);
    EXPECT_EQ(LxRotateScreen(5), 0);
    cehost::sim::DisplayChangeRequest none;
    EXPECT_FALSE(cehost::sim::LastDisplayChangeRequest(&none)) << "a refused value must not reach the display";
    // From a fresh process: 1, 2, 4, 0; every negative value behaves like -1.
    for (DWORD want : {1, 2, 4, 0}) {
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

TEST(SubClassing, OnlyTheFirstProcedureIsInstalledUserDataKeepsTheOriginalAndKeyEventsAreExtended) {
    HWND hwnd = MakeWindow();
    ASSERT_TRUE(hwnd);
    LxSubClassing(hwnd, FirstProc);
    LxSubClassing(hwnd, SecondProc);
    EXPECT_EQ(GetWindowLongW(hwnd, GWL_WNDPROC), reinterpret_cast<LONG>(FirstProc));
    EXPECT_EQ(GetWindowLongW(hwnd, GWL_USERDATA), reinterpret_cast<LONG>(PlainProc));
    // A key event is injected as an extended press and release.
    SetFocus(hwnd);
    std::vector<cehost::sim::ObservedMessage> keys;
    const int id = cehost::sim::AddMessageObserver([&](const cehost::sim::ObservedMessage& m) {
        if (m.message == WM_KEYDOWN || m.message == WM_KEYUP) keys.push_back(m);
    });
    LxKeyEvent(VK_RIGHT);
    cehost::sim::RunUntilIdle();
    cehost::sim::RemoveMessageObserver(id);
    ASSERT_EQ(keys.size(), 2u);
    for (UINT message : {WM_KEYDOWN, WM_KEYUP}) {
        const auto& key = keys[message == WM_KEYUP];
        EXPECT_EQ(std::tuple(key.message, key.hwnd, key.wParam), std::tuple(message, hwnd, WPARAM(VK_RIGHT)));
        EXPECT_TRUE(key.lParam & (1 << 24)) << "extended-key bit";
    }
    DestroyWindow(hwnd);
}

TEST(MenuBarCalls, RecordPlacementCaptionsAndEditsInOrderAndARefusalKeepsTheHandles) {
    RecordingWindow window;
    ASSERT_TRUE(window.Start());
    g_main = window.m_hWnd;
    HWND bar = window.MenuCreate(100, 7);
    ASSERT_TRUE(bar);
    std::vector<DWORD> expected(38, 0);
    expected[0] = 152;
    expected[1] = LxMenuBarHandleToRecord(window.m_hWnd);
    expected[3] = 100;
    expected[4] = LxMenuBarHandleToRecord(window.GetInstance());
    expected[10] = 7;
    expected[11] = expected[13] = expected[14] = 1;
    expected[12] = 2;
    const DWORD* words = reinterpret_cast<const DWORD*>(&g_record);
    EXPECT_EQ(std::vector<DWORD>(words, words + 38), expected);
    EXPECT_EQ(std::tuple(window.m_hMenuBar, window.m_hMenuBarAux, GetFocus()),
              std::tuple(bar, reinterpret_cast<HANDLE>(0x5678), bar));
    EXPECT_EQ(Box(ScreenRect(bar)), Box({0, 21 + 273, 240, 21 + 273 + 26}));
    EXPECT_EQ(window.MenuPopup(1), 42);
    window.MenuSetText(0, const_cast<WCHAR*>(u"a"), -1);
    window.MenuSetText(1, const_cast<WCHAR*>(u"b"), 2);
    window.MenuInsertItem(1, 5, const_cast<WCHAR*>(u"c"), 9);
    window.MenuDeleteItem(0, 3);
    window.m_bFullScreen = 2; // layout acts only at exactly 1
    window.RedrawWindow(1);
    window.m_bFullScreen = 1;
    window.MenuDestroy();
    window.MenuDestroy();
    EXPECT_EQ(g_calls, (std::vector<Call>{{"create", {}, u""}, {"move", {0, 240}, u""}, {"get", {1}, u""},
                                          {"get", {0}, u""}, {"caption", {1}, u"닫기"}, {"caption", {0}, u"선택"},
                                          {"open", {1}, u""}, {"caption", {1}, u"R"}, {"caption", {0}, u"L"},
                                          {"caption", {0}, u"a"}, {"item", {1, 2}, u"b"},
                                          {"insert", {1, 5, 0, 9}, u"c"}, {"delete", {0, 3}, u""},
                                          {"destroy", {0, 1}, u""}}));
    for (HWND argument : g_barArguments) EXPECT_EQ(argument, bar);
    EXPECT_EQ(window.m_hMenuBar, nullptr);
    // A refused creation keeps the handles and the focus.
    HWND before = window.MenuCreate(100, 0);
    SetFocus(window.m_hWnd);
    g_refuseBar = true;
    EXPECT_EQ(window.MenuCreate(100, 0), nullptr);
    EXPECT_EQ(std::tuple(window.m_hMenuBar, window.m_hMenuBarAux, GetFocus()),
              std::tuple(before, reinterpret_cast<HANDLE>(0x5678), window.m_hWnd));
}

// The destructor takes the title bar first, then the menu bar (while the main window still exists), then the
// main window.
TEST(MenuBarCalls, TheDestructorTakesTitleThenMenuBarThenWindow) {
    {
        RecordingWindow window;
        ASSERT_TRUE(window.Start());
        g_title = window.TitleCreate(nullptr);
        g_main = window.m_hWnd;
        window.MenuCreate(100, 0);
        g_calls.clear();
    }
    EXPECT_EQ(g_calls, (std::vector<Call>{{"destroy", {0, 1}, u""}}));
    EXPECT_FALSE(IsWindow(g_main));
}

// An accelerator table is looked for in the host, then in the library module, and its keys become commands
// before they are dispatched.
TEST(Accelerators, FoundInTheHostOrTheLibraryAndTranslatedBeforeDispatch) {
    for (bool hidden : {false, true}) {
        g_hideHostAccelerators = hidden;
        g_acceleratorSearch.clear();
        RecordingWindow window(hidden ? u"AccelLibrary" : u"AccelHost");
        window.m_lpszAccel = MAKEINTRESOURCEW(300);
        window.record = [](UINT m) { return m == WM_COMMAND || m == WM_KEYDOWN; };
        IdleScript script({[] { KeyDown(VK_F9); }, [] { PostQuitMessage(0); }});
        EXPECT_EQ(window.Window(GetModuleHandleW(nullptr), nullptr, nullptr, SW_SHOW), 0);
        ASSERT_EQ(window.seen.size(), 1u) << "the key-down was not dispatched";
        EXPECT_EQ(window.seen[0].message, UINT(WM_COMMAND));
        EXPECT_EQ(LOWORD(window.seen[0].wParam), 500);
        std::vector<HINSTANCE> searched = {GetModuleHandleW(nullptr)};
        if (hidden) searched.push_back(LxGetLibraryModule());
        EXPECT_EQ(g_acceleratorSearch, searched);
        DestroyWindow(window.m_hWnd);
    }
}

// The creation record's words are 32 bits wide, so a module address above 4 GiB travels in two halves and a
// window handle comes back sign-extended, as 64-bit Windows extends its handles.
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
