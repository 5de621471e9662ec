// Resources round-tripped from a test script compiled by windres and embedded in this executable: bitmaps of
// every depth, language blocks, strings, accelerators, icons, raw data; module handles; malformed .res data.
// Loads of one picture resource share its decoded pixels, yet every handle behaves as a bitmap of its own: a
// handle that is drawn on changes neither the other handles nor the next load.
#include "GdiTestSupport.h"
#include "MessageLog.h"
#include "QueueInput.h"
#include "resources/TestResources.h"

#include <cstring>
#include <fstream>
#include <functional>
#include <tuple>

namespace {

constexpr COLORREF kYellow = RGB(255, 255, 0), kCyan = RGB(0, 255, 255), kGrey = RGB(128, 128, 128),
                   kDrawn = RGB(1, 2, 3);
const COLORREF kPicture[3][4] = {{kRed, kGreen, kBlue, kWhite},
                                 {kBlack, kMagenta, kYellow, kCyan},
                                 {kGrey, kBlack, kWhite, kRed}};

std::vector<uint8_t> CompiledRes() {
    std::ifstream in(CEHOST_TEST_RES_PATH, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every way of writing into a memory DC's bitmap, each painting (0,0) with kDrawn.
const std::pair<const char*, std::function<void(HDC)>> kWriters[] = {
    {"FillRect", [](HDC dc) { Fill(dc, {0, 0, 1, 1}, kDrawn); }},
    {"SetPixel", [](HDC dc) { SetPixel(dc, 0, 0, kDrawn); }},
    {"PatBlt", [](HDC dc) {
         Selected brush(dc, CreateSolidBrush(kDrawn));
         PatBlt(dc, 0, 0, 1, 1, PATCOPY);
     }},
    {"BitBlt", [](HDC dc) {
         HDC screen = GetDC(nullptr);
         SetPixel(screen, 0, 0, kDrawn);
         BitBlt(dc, 0, 0, 1, 1, screen, 0, 0, SRCCOPY);
         ReleaseDC(nullptr, screen);
     }},
    {"LineTo", [](HDC dc) {
         Selected pen(dc, CreatePen(PS_SOLID, 1, kDrawn));
         MoveToEx(dc, 0, 0, nullptr);
         LineTo(dc, 1, 0);
     }},
};

} // namespace

using Resources = GdiTest;

TEST_F(Resources, BitmapsOfEveryDepthDecodeToTheSamePicture) {
    // A one-bit picture keeps white and turns every other colour black.
    for (int id : {IDB_PIC1, IDB_PIC4, IDB_PIC8, IDB_PIC24, IDB_PIC24_TOPDOWN, IDB_PIC32}) {
        HBITMAP bmp = LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id));
        BITMAP bm{};
        GetObjectW(bmp, sizeof bm, &bm);
        EXPECT_EQ(std::pair(4L, 3L), std::pair(long(bm.bmWidth), long(bm.bmHeight)));
        MemoryDc dc(bmp);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x) {
                const COLORREF want = id != IDB_PIC1 || kPicture[y][x] == kWhite ? kPicture[y][x] : kBlack;
                EXPECT_EQ(want, GetPixel(dc, x, y)) << id << " at " << x << "," << y;
            }
    }
}

// The Korean block is preferred, another language can be asked for, and a resource that only one block holds is
// found whatever the language.
TEST_F(Resources, StringsComeFromTheirBlockAndLanguage) {
    HINSTANCE self = GetModuleHandleW(nullptr);
    const struct {
        UINT id;
        int room, length;
        std::u16string text;
    } cases[] = {{IDS_HELLO, 32, 5, u"안녕하세요"},
                 {IDS_SECOND_BLOCK, 32, 5, u"둘째 블록"},
                 {IDS_ENGLISH_ONLY, 32, 12, u"English only"}, // only the English block has its block
                 {2, 32, 0, u""},                             // an empty slot of the Korean block
                 {IDS_HELLO, 4, 3, u"안녕하"},                // truncated to the buffer
                 {999, 32, 0, u""}};
    for (const auto& c : cases) {
        WCHAR buffer[32] = {u'x'};
        EXPECT_EQ(c.length, LoadStringW(self, c.id, buffer, c.room)) << c.id;
        EXPECT_EQ(c.text, std::u16string(buffer)) << c.id;
    }
    const WCHAR* direct = nullptr;
    EXPECT_EQ(5, LoadStringW(self, IDS_HELLO, reinterpret_cast<LPWSTR>(&direct), 0));
    ASSERT_NE(nullptr, direct);
    EXPECT_EQ(std::u16string(u"안녕하세요"), std::u16string(direct, 5));
    cehost::sim::SetResourceLanguage(MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT));
    WCHAR buffer[32];
    LoadStringW(self, IDS_HELLO, buffer, 32);
    EXPECT_EQ(std::u16string(u"Hello"), std::u16string(buffer));
}

TEST_F(Resources, NamesOrdinalsAndRawData) {
    HINSTANCE self = GetModuleHandleW(nullptr);
    EXPECT_NE(nullptr, FindResourceW(self, u"namedpicture", RT_BITMAP)) << "names ignore case";
    EXPECT_EQ(FindResourceW(self, MAKEINTRESOURCEW(IDB_PIC24), RT_BITMAP), FindResourceW(self, u"#104", RT_BITMAP));
    HRSRC blob = FindResourceW(nullptr, u"BLOB", RT_RCDATA);
    EXPECT_EQ(4u, SizeofResource(self, blob));
    const char* data = static_cast<const char*>(LockResource(LoadResource(self, blob)));
    ASSERT_NE(nullptr, data);
    EXPECT_EQ(0, std::memcmp(data, "abc", 4));
    EXPECT_EQ(nullptr, FindResourceW(self, u"NOSUCH", RT_RCDATA));
    EXPECT_EQ(DWORD(ERROR_RESOURCE_NAME_NOT_FOUND), GetLastError());
    EXPECT_EQ(nullptr, FindResourceW(self, u"BLOB", RT_HTML));
    EXPECT_EQ(DWORD(ERROR_RESOURCE_TYPE_NOT_FOUND), GetLastError());
    // An exact language finds only its own block.
    const auto inLanguage = [self](WORD language) {
        return FindResourceExW(self, RT_BITMAP, MAKEINTRESOURCEW(IDB_LANGUAGE), language);
    };
    ASSERT_NE(nullptr, inLanguage(MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT)));
    ASSERT_NE(nullptr, inLanguage(MAKELANGID(LANG_KOREAN, SUBLANG_KOREAN)));
    EXPECT_NE(inLanguage(MAKELANGID(LANG_KOREAN, SUBLANG_KOREAN)), inLanguage(MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT)));
    EXPECT_EQ(nullptr, inLanguage(MAKELANGID(LANG_ENGLISH, SUBLANG_NEUTRAL)));
    EXPECT_EQ(DWORD(ERROR_RESOURCE_LANG_NOT_FOUND), GetLastError());
    EXPECT_EQ(0u, SizeofResource(self, reinterpret_cast<HRSRC>(0x1234)));
}

// The script's table (F1, Control+X, the character 'h') turns exactly those keys into commands, marked as
// coming from an accelerator.
TEST_F(Resources, AcceleratorTablesTurnKeysIntoCommands) {
    HACCEL table = LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDA_MAIN));
    EXPECT_EQ(table, LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDA_MAIN))) << "shared";
    EXPECT_EQ(3, CopyAcceleratorTableW(table, nullptr, 0));
    HWND hwnd = CreateWindowExW(0, u"static", u"", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                nullptr);
    lxtest::MessageLog log;
    log.Watch(hwnd);
    SetFocus(hwnd);
    const struct {
        BYTE vk, held;
        int translated;
    } keys[] = {{VK_F1, 0, 1}, {'X', 0, 0}, {'X', VK_CONTROL, 1}, {'H', 0, 1}};
    for (const auto& k : keys) {
        if (k.held) lxtest::KeyDown(k.held);
        lxtest::Stroke(k.vk);
        if (k.held) lxtest::KeyUp(k.held);
        int translated = 0;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (TranslateAcceleratorW(hwnd, table, &msg)) {
                ++translated;
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        EXPECT_EQ(k.translated, translated) << int(k.vk) << " with " << int(k.held);
    }
    std::vector<WPARAM> commands;
    for (const lxtest::LoggedMessage& m : log.Entries())
        if (m.message == WM_COMMAND) commands.push_back(m.wParam);
    EXPECT_EQ((std::vector<WPARAM>{MAKEWPARAM(IDM_OPEN, 1), MAKEWPARAM(IDM_EXIT, 1), MAKEWPARAM(IDM_HELP, 1)}),
              commands);
    DestroyWindow(hwnd);
    ACCEL own[] = {{FVIRTKEY, 0x71, 7}};
    HACCEL created = CreateAcceleratorTableW(own, 1);
    EXPECT_TRUE(DestroyAcceleratorTable(created));
    EXPECT_FALSE(DestroyAcceleratorTable(created));
}

TEST_F(Resources, IconsPickTheirSizeAndDrawWithMaskOrAlpha) {
    HDC dc = Canvas(40, 40, kRed);
    HICON big = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TEST));
    EXPECT_EQ(big, LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TEST)));
    EXPECT_TRUE(DrawIcon(dc, 0, 0, big));
    EXPECT_EQ(RGB(0, 0, 200), GetPixel(dc, 31, 0)) << "the 32 x 32 image: top half opaque";
    EXPECT_EQ((RECT{0, 0, 32, 16}), InkBounds(kRed));
    HICON small = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TEST), IMAGE_ICON, 16, 16, 0));
    Fill(dc, {0, 0, 40, 40}, kRed);
    EXPECT_TRUE(DrawIconEx(dc, 0, 0, small, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(RGB(0, 200, 0), GetPixel(dc, 7, 15)) << "16 x 16 image: left half opaque";
    EXPECT_EQ((RECT{0, 0, 8, 16}), InkBounds(kRed));
    EXPECT_TRUE(DestroyIcon(small));
    EXPECT_FALSE(DrawIcon(dc, 0, 0, small));
}

TEST_F(Resources, MenusLoadIntoMenuObjects) {
    HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDM_MAIN));
    ASSERT_EQ(2, GetMenuItemCount(menu));
    HMENU file = GetSubMenu(menu, 0);
    WCHAR text[32];
    EXPECT_EQ(6, GetMenuStringW(menu, 0, text, 32, MF_BYPOSITION));
    EXPECT_EQ(std::u16string(u"파일(&F)"), std::u16string(text));
    EXPECT_EQ(UINT(MF_POPUP | 3 << 8), GetMenuState(menu, 0, MF_BYPOSITION)) << "a pop-up of three items";
    EXPECT_EQ(UINT(IDM_OPEN), GetMenuItemID(file, 0));
    EXPECT_EQ(UINT(MF_SEPARATOR), GetMenuState(file, 1, MF_BYPOSITION));
    EXPECT_EQ(UINT(MF_GRAYED), GetMenuState(menu, IDM_EXIT, MF_BYCOMMAND)) << "found inside the pop-up";
    EXPECT_EQ(UINT(MF_CHECKED), GetMenuState(menu, IDM_HELP, MF_BYCOMMAND));
    EXPECT_EQ(DWORD(MF_CHECKED), CheckMenuItem(menu, IDM_HELP, MF_UNCHECKED));
    EXPECT_EQ(0u, GetMenuState(menu, IDM_HELP, MF_BYCOMMAND));
    EXPECT_EQ(UINT(-1), GetMenuState(menu, 999, MF_BYCOMMAND));
    EXPECT_TRUE(DestroyMenu(menu));
    EXPECT_FALSE(IsMenu(file)) << "destroying a menu destroys its pop-ups";
    HMENU extended = LoadMenuW(nullptr, MAKEINTRESOURCEW(IDM_EXTENDED));
    HMENU popup = GetSubMenu(extended, 0);
    ASSERT_EQ(3, GetMenuItemCount(popup));
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_TYPE | MIIM_STATE | MIIM_ID;
    info.dwTypeData = text;
    info.cch = 32;
    ASSERT_TRUE(GetMenuItemInfoW(popup, 2, TRUE, &info));
    EXPECT_EQ((std::tuple<UINT, UINT, UINT>(MFT_RADIOCHECK, MFS_GRAYED, IDM_EXIT)),
              std::tie(info.fType, info.fState, info.wID));
    EXPECT_EQ(std::u16string(u"둘"), std::u16string(text));
    EXPECT_EQ(UINT(MF_CHECKED), GetMenuState(popup, IDM_OPEN, MF_BYCOMMAND));
    DestroyMenu(extended);
}

// A shared library finding its own resources through its entry point is what the library's picture tests
// rely on.
TEST_F(Resources, ModuleHandlesAndNames) {
    HINSTANCE self = GetModuleHandleW(nullptr);
    ASSERT_NE(nullptr, self);
    EXPECT_EQ(0u, reinterpret_cast<uintptr_t>(self) >> 32) << "handles fit in 32 bits";
    WCHAR path[1024];
    DWORD n = GetModuleFileNameW(nullptr, path, 1024);
    EXPECT_NE(std::u16string::npos, std::u16string(path, n).find(u"cehost_res_tests"));
    HMODULE lib = GetModuleHandleW(u"libcehost.so");
    ASSERT_NE(nullptr, lib);
    EXPECT_NE(self, lib);
    EXPECT_EQ(lib, GetModuleHandleW(u"cehost.dll"));
    EXPECT_EQ(nullptr, GetModuleHandleW(u"no_such_module.dll"));
}

TEST_F(Resources, MalformedResDataIsRefusedWithItsReason) {
    std::vector<uint8_t> good = CompiledRes();
    ASSERT_GT(good.size(), 64u);
    std::string error;
    ASSERT_TRUE(cehost::sim::ValidateResources(good.data(), good.size(), &error)) << error;
    EXPECT_FALSE(cehost::sim::ValidateResources(good.data(), 0x30, &error)) << "cut inside the second entry";
    EXPECT_NE(std::string::npos, error.find("entry 1 at offset 32: header runs past the end")) << error;
    std::vector<uint8_t> bad = good;
    bad[0x20 + 4] = 0x10; // second entry: header size below the minimum
    EXPECT_FALSE(cehost::sim::ValidateResources(bad.data(), bad.size(), &error));
    EXPECT_NE(std::string::npos, error.find("header size")) << error;
    bad = good;
    bad[0x20 + 3] = 0x7F; // data size far past the end
    EXPECT_FALSE(cehost::sim::ValidateResources(bad.data(), bad.size(), &error));
    EXPECT_NE(std::string::npos, error.find("data size")) << error;
    // Registering malformed data fails and leaves the module's resources as they were.
    HINSTANCE self = GetModuleHandleW(nullptr);
    EXPECT_EQ(nullptr, cehost::sim::RegisterModuleResources(reinterpret_cast<const void*>(&CompiledRes), bad.data(), bad.size(), &error));
    EXPECT_NE(nullptr, FindResourceW(self, MAKEINTRESOURCEW(IDB_PIC24), RT_BITMAP));
}

using SharedPictures = GdiTest;

TEST_F(SharedPictures, DrawingOnOneLoadLeavesTheOthersAsDecoded) {
    const auto load = [] { return LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_PIC24)); };
    for (const auto& [name, write] : kWriters) {
        HBITMAP a = load(), b = load();
        ASSERT_TRUE(a && b && a != b) << name;
        EXPECT_EQ(m_objectsAtStart + 2, cehost::sim::GdiObjectCount()) << name << " (and nothing left before)";
        MemoryDc da(a), db(b);
        // Another handle of the same picture as the source of a blit is read, never written.
        BitBlt(da, 1, 0, 1, 1, db, 1, 0, SRCCOPY);
        write(da);
        EXPECT_EQ(kDrawn, GetPixel(da, 0, 0)) << name;
        EXPECT_EQ(kRed, GetPixel(db, 0, 0)) << name;
        EXPECT_EQ(kGreen, GetPixel(da, 1, 0)) << name;
        MemoryDc later(load());
        EXPECT_EQ(kRed, GetPixel(later, 0, 0)) << name << ": a later load sees the drawing";
    }
}

TEST_F(SharedPictures, AnIconOutlivesAnotherLoadOfItsResource) {
    HINSTANCE self = GetModuleHandleW(nullptr);
    HICON a = static_cast<HICON>(LoadImageW(self, MAKEINTRESOURCEW(IDI_TEST), IMAGE_ICON, 16, 16, 0));
    HICON b = static_cast<HICON>(LoadImageW(self, MAKEINTRESOURCEW(IDI_TEST), IMAGE_ICON, 16, 16, 0));
    ASSERT_TRUE(a && b && a != b);
    HDC screen = GetDC(nullptr);
    RECT r{0, 0, 16, 16};
    std::vector<COLORREF> drawn;
    for (HICON icon : {a, b}) {
        FillRect(screen, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        EXPECT_TRUE(DrawIconEx(screen, 0, 0, icon, 16, 16, 0, nullptr, DI_NORMAL));
        for (int i = 0; i < 16; ++i) drawn.push_back(GetPixel(screen, i, i));
        if (icon == a) {
            EXPECT_TRUE(DestroyIcon(a));
        }
    }
    EXPECT_TRUE(std::equal(drawn.begin(), drawn.begin() + 16, drawn.begin() + 16));
    EXPECT_NE(std::count(drawn.begin(), drawn.end(), RGB(0, 0, 0)), 32) << "the icon drew nothing";
    EXPECT_TRUE(DestroyIcon(b));
    ReleaseDC(nullptr, screen);
}

// A blit within one bitmap reads every source pixel before it is overwritten, whichever way it moves and
// whether the clip is one rectangle or several.
TEST_F(SharedPictures, BlitsWithinOneBitmapMoveItsPixelsIntact) {
    const POINT kMoves[] = {{0, 3}, {0, -3}, {2, 0}, {-2, 0}, {2, 3}, {-2, -3}};
    for (bool holed : {false, true})
        for (const POINT& move : kMoves) {
            MemoryDc dc(12, 12);
            auto colour = [](int x, int y) { return RGB(x * 20, y * 20, 7); };
            for (int y = 0; y < 12; ++y)
                for (int x = 0; x < 12; ++x) SetPixel(dc, x, y, colour(x, y));
            if (holed) ExcludeClipRect(dc, 6, 6, 7, 7);
            BitBlt(dc, 4 + move.x, 4 + move.y, 4, 4, dc, 4, 4, SRCCOPY);
            for (int y = 0; y < 4; ++y)
                for (int x = 0; x < 4; ++x) {
                    int dx = 4 + move.x + x, dy = 4 + move.y + y;
                    if (holed && dx == 6 && dy == 6) continue;
                    EXPECT_EQ(colour(4 + x, 4 + y), GetPixel(dc, dx, dy))
                        << "move " << move.x << "," << move.y << (holed ? " holed" : "") << " at " << x << "," << y;
                }
        }
}
