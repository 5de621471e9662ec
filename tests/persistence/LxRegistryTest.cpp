#include "TestFolder.h"

#include "LxRegistry.h"
#include <cehost/sim.h>

#include <string>
#include <tuple>

namespace {

class LxRegistryTest : public ::testing::Test {
protected:
    void SetUp() override { CehostSetRegistryPath(folder_.File("registry.db").c_str()); }
    // Reads a value straight from the registry, bypassing the object.
    static LONG Raw(HKEY root, const char16_t* path, const char16_t* name, DWORD* type = nullptr,
                    std::u16string* text = nullptr, DWORD* size = nullptr) {
        HKEY key = nullptr;
        LONG rc = RegOpenKeyExW(root, path, 0, 0, &key);
        if (rc != ERROR_SUCCESS) return rc;
        char16_t buffer[2048] = {};
        DWORD bytes = sizeof(buffer);
        rc = RegQueryValueExW(key, name, nullptr, type, reinterpret_cast<BYTE*>(buffer), &bytes);
        RegCloseKey(key);
        if (text) *text = buffer;
        if (size) *size = bytes;
        return rc;
    }
    // What GetString reads at the object's place (or at `key` of its path), or "<failed>".
    static std::u16string Read(LxRegistry& registry, const WCHAR* key = nullptr) {
        WCHAR buffer[512] = {};
        return (key ? registry.GetString(key, buffer) : registry.GetString(buffer)) ? buffer : u"<failed>";
    }
    TestFolder folder_;
};

TEST_F(LxRegistryTest, DefaultObjectUsesTheDefaultValueOfSoftwareLxAndGetIntegerGivesZeroOnFailure) {
    LxRegistry registry;
    ASSERT_EQ(registry.SetString(u"hello"), 1);
    DWORD type = 0, size = 0;
    std::u16string text;
    ASSERT_EQ(Raw(HKEY_CURRENT_USER, u"software\\lx", u"default", &type, &text, &size), ERROR_SUCCESS);
    EXPECT_EQ(std::tuple(type, text, size), std::tuple(DWORD(REG_SZ), std::u16string(u"hello"), DWORD(12)));
    EXPECT_EQ(Read(registry), u"hello");
    ASSERT_EQ(registry.SetInteger(77u), 1);
    EXPECT_EQ(registry.GetInteger(), 77u);
    // Empty text is a two-byte string; a null text is stored as empty text, a null buffer reads nothing.
    ASSERT_EQ(registry.SetString(static_cast<const WCHAR*>(nullptr)), 1);
    ASSERT_EQ(Raw(HKEY_CURRENT_USER, u"software\\lx", u"default", &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(std::tuple(type, size), std::tuple(DWORD(REG_SZ), DWORD(2)));
    EXPECT_EQ(registry.GetString(static_cast<WCHAR*>(nullptr)), 0);
    // GetInteger gives zero for every failure and keeps the place.
    EXPECT_EQ(registry.GetInteger(HKEY_CURRENT_USER, u"no\\such", u"n"), 0u);
    ASSERT_EQ(registry.SetInteger(9u), 1);
    EXPECT_EQ(Raw(HKEY_CURRENT_USER, u"no\\such", u"n"), ERROR_SUCCESS);
    ASSERT_EQ(registry.SetString(u"text", u"not a number"), 1);
    EXPECT_EQ(registry.GetInteger(u"text"), 0u);
    ASSERT_EQ(registry.SetInteger(u"zero", 0u), 1);
    EXPECT_EQ(registry.GetInteger(), 0u);
    EXPECT_EQ(registry.GetInteger(u"n"), 9u);
}

TEST_F(LxRegistryTest, EveryFullFormMakesItsPlaceSticky) {
    LxRegistry registry;
    ASSERT_EQ(registry.SetString(HKEY_LOCAL_MACHINE, u"a", u"b", u"x"), 1);
    EXPECT_EQ(Read(registry), u"x");
    EXPECT_EQ(Raw(HKEY_CURRENT_USER, u"a", u"b"), ERROR_FILE_NOT_FOUND);
    // The two-argument form keeps root and path, the three-argument form keeps the root.
    ASSERT_EQ(registry.SetInteger(u"n", 5u), 1);
    EXPECT_EQ(registry.GetInteger(HKEY_LOCAL_MACHINE, u"a", u"n"), 5u);
    ASSERT_EQ(registry.SetInteger(u"c\\d", u"m", 6u), 1);
    EXPECT_EQ(registry.GetInteger(), 6u);
    std::u16string text;
    EXPECT_EQ(Raw(HKEY_LOCAL_MACHINE, u"c\\d", u"m"), ERROR_SUCCESS);
    WCHAR buffer[512] = {};
    EXPECT_EQ(registry.GetString(u"a", u"b", buffer), 1);
    EXPECT_EQ(registry.GetInteger(u"n"), 5u);
    // The setters only store.
    registry.SetHKey(HKEY_CLASSES_ROOT);
    registry.SetPath(u"\\ext");
    registry.SetKey(u"k");
    EXPECT_EQ(Raw(HKEY_CLASSES_ROOT, u"ext", nullptr), ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(registry.SetString(u"v"), 1);
    EXPECT_EQ(Raw(HKEY_CLASSES_ROOT, u"ext", u"K", nullptr, &text), ERROR_SUCCESS);
    EXPECT_EQ(text, u"v");
    // Copies take all three.
    LxRegistry copy(registry);
    LxRegistry assigned;
    assigned = registry;
    EXPECT_EQ(Read(copy), u"v");
    EXPECT_EQ(assigned.DeleteKey(), 1);
    EXPECT_EQ(Read(copy), u"<failed>");
    // The constructors start with empty places: the root's own unnamed value, a path's unnamed value.
    ASSERT_EQ(LxRegistry(HKEY_USERS).SetInteger(3u), 1);
    DWORD type = 0;
    EXPECT_EQ(Raw(HKEY_USERS, u"", u"", &type), ERROR_SUCCESS);
    EXPECT_EQ(type, DWORD(REG_DWORD));
    ASSERT_EQ(LxRegistry(HKEY_USERS, u"p").SetInteger(4u), 1);
    EXPECT_EQ(Raw(HKEY_USERS, u"p", nullptr), ERROR_SUCCESS);
    ASSERT_EQ(LxRegistry(HKEY_USERS, u"p", u"k").SetInteger(5u), 1);
    EXPECT_EQ(LxRegistry(HKEY_USERS, u"p", u"k").GetInteger(), 5u);
}

TEST_F(LxRegistryTest, GetStringReadsAtMost1024Bytes) {
    LxRegistry registry(HKEY_CURRENT_USER, u"long", u"v");
    std::u16string fits(511, u'f');
    ASSERT_EQ(registry.SetString(fits.c_str()), 1);
    WCHAR buffer[600];
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    ASSERT_EQ(registry.GetString(buffer), 1);
    EXPECT_EQ(std::u16string(buffer), fits);
    EXPECT_EQ(buffer[512], u'#');
    std::u16string tooLong(512, u't'); // 1026 bytes with its terminator
    ASSERT_EQ(registry.SetString(tooLong.c_str()), 1);
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    EXPECT_EQ(registry.GetString(buffer), 0);
    EXPECT_EQ(buffer[512], u'#') << "nothing beyond the 1024 bytes is touched";
    // Text stored without a terminator still reads terminated.
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"long", 0, 0, &key), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, u"bare", 0, REG_SZ, reinterpret_cast<const BYTE*>(u"abc"), 6),
              ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(Read(registry, u"bare"), u"abc");
}

TEST_F(LxRegistryTest, DeletePathRemovesTheSubtreeAndKeepsTheKeyName) {
    LxRegistry registry(HKEY_CURRENT_USER, u"app\\settings", u"colour");
    ASSERT_EQ(registry.SetInteger(1u), 1);
    ASSERT_EQ(registry.SetInteger(u"app\\settings\\deep", u"x", 2u), 1);
    ASSERT_EQ(registry.DeletePath(u"app"), 1);
    EXPECT_EQ(Raw(HKEY_CURRENT_USER, u"app", nullptr), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(registry.DeletePath(), 0) << "already gone";
    // The key name "x" stayed: writing with the stored place lands in app\x.
    ASSERT_EQ(registry.SetInteger(3u), 1);
    EXPECT_EQ(Raw(HKEY_CURRENT_USER, u"app", u"x"), ERROR_SUCCESS);
    ASSERT_EQ(registry.SetInteger(u"b", 2u), 1);
    EXPECT_EQ(registry.DeleteKey(u"x"), 1);
    EXPECT_EQ(registry.DeleteKey(), 0);
    EXPECT_EQ(registry.GetInteger(u"b"), 2u);
    EXPECT_EQ(registry.DeleteKey(u"missing\\path", u"b"), 0);
    ASSERT_EQ(registry.SetInteger(u"app", u"x", 3u), 1);
    // The root itself is never deleted through an empty path.
    EXPECT_EQ(registry.DeletePath(HKEY_CURRENT_USER, u""), 0);
    EXPECT_EQ(Raw(HKEY_CURRENT_USER, u"app", u"x"), ERROR_SUCCESS);
}

TEST_F(LxRegistryTest, OverlongTextIsRefusedNotCut) {
    // Five names of 204 characters: 1024 characters in all, one more than fits. Cut to 1023 it would name a
    // valid but different key.
    std::u16string name(204, u'n');
    std::u16string path = name + u"\\" + name + u"\\" + name + u"\\" + name + u"\\" + name;
    ASSERT_EQ(path.size(), 1024u);
    LxRegistry registry;
    EXPECT_EQ(registry.SetInteger(HKEY_CURRENT_USER, path.c_str(), u"v", 1u), 0);
    std::u16string cut = path.substr(0, 1023);
    EXPECT_EQ(Raw(HKEY_CURRENT_USER, cut.c_str(), nullptr), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Raw(HKEY_CURRENT_USER, name.c_str(), nullptr), ERROR_FILE_NOT_FOUND);
    // The refusal sticks with the place: the short forms fail too, until a path that fits is stored.
    EXPECT_EQ(registry.SetInteger(2u), 0);
    EXPECT_EQ(registry.SetString(u"w", u"x"), 0);
    EXPECT_EQ(registry.DeletePath(), 0);
    EXPECT_EQ(Raw(HKEY_CURRENT_USER, u"", u"v"), ERROR_FILE_NOT_FOUND) << "nothing lands on the root";
    registry.SetPath(cut.c_str());
    EXPECT_EQ(registry.SetInteger(3u), 1) << "1023 characters fit";
    EXPECT_EQ(Raw(HKEY_CURRENT_USER, cut.c_str(), u"w"), ERROR_SUCCESS);
    std::u16string longKey(1024, u'k');
    registry.SetKey(longKey.c_str());
    EXPECT_EQ(registry.SetInteger(4u), 0);
    EXPECT_EQ(registry.GetInteger(), 0u);
    // DeletePath needs no key name, so a refused key does not stop it.
    EXPECT_EQ(registry.DeletePath(HKEY_CURRENT_USER, name.c_str()), 1);
    std::u16string longestKey(1023, u'k');
    EXPECT_EQ(registry.SetInteger(HKEY_CURRENT_USER, u"k", longestKey.c_str(), 5u), 1);
    EXPECT_EQ(registry.GetInteger(), 5u);
}

} // namespace
