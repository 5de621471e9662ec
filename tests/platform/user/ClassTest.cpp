// Window classes: one case-insensitive namespace, atoms, class information and longs, unregistering.
#include "UserTestSupport.h"

using namespace usertest;

TEST(Classes, NamesAreCaseInsensitiveAndRegisteredOnce) {
    const ATOM atom = RegisterTestClass(u"MyClass");
    ASSERT_NE(atom, 0);
    SetLastError(0);
    EXPECT_EQ(RegisterTestClass(u"MYCLASS"), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_CLASS_ALREADY_EXISTS));

    WNDCLASSW wc{};
    ASSERT_TRUE(GetClassInfoW(nullptr, u"myclass", &wc));
    EXPECT_EQ(wc.lpfnWndProc, &TestProc);
    // A window can be created through the atom as well as any spelling of the name.
    HWND a = CreateWindowExW(0, MAKEINTATOM(atom), u"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND b = CreateWindowExW(0, u"mYcLaSs", u"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(a && b);
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
    HWND w = CreateWindowExW(0, u"Kept", u"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(GetClassLongW(w, GCL_HBRBACKGROUND), uintptr_t(0x40000006));
    EXPECT_EQ(SetClassLongW(w, GCL_HBRBACKGROUND, 0), uintptr_t(0x40000006));
    EXPECT_EQ(GetClassLongW(w, GCL_HBRBACKGROUND), 0u);
}

// Unregistering is refused while windows exist; bad registrations and lookups fail.
TEST(Classes, UnregisterAndBadRegistrations) {
    ASSERT_NE(RegisterTestClass(u"Gone"), 0);
    HWND w = TopLevel(0, 0, 10, 10, 0, u"", u"Gone");
    ASSERT_TRUE(w);
    SetLastError(0);
    EXPECT_FALSE(UnregisterClassW(u"gone", nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_CLASS_HAS_WINDOWS));
    DestroyWindow(w);
    EXPECT_TRUE(UnregisterClassW(u"gone", nullptr));
    EXPECT_FALSE(UnregisterClassW(u"gone", nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_CLASS_DOES_NOT_EXIST));
    // The name is free again.
    EXPECT_NE(RegisterTestClass(u"Gone"), 0);
    // The desktop's class is built in and cannot be removed.
    EXPECT_FALSE(UnregisterClassW(u"#32769", nullptr));

    // Bad registrations and lookups fail.
    SetLastError(0);
    EXPECT_EQ(RegisterClassW(nullptr), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    WNDCLASSW wc{};
    wc.lpszClassName = u"NoProc";
    EXPECT_EQ(RegisterClassW(&wc), 0);
    wc.lpfnWndProc = TestProc;
    wc.cbWndExtra = -4;
    EXPECT_EQ(RegisterClassW(&wc), 0);
    SetLastError(0);
    EXPECT_FALSE(GetClassInfoW(nullptr, u"Nowhere", &wc));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_CLASS_DOES_NOT_EXIST));
    SetLastError(0);
    EXPECT_EQ(CreateWindowExW(0, u"Nowhere", u"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_CANNOT_FIND_WND_CLASS));
}

