// The registry on its SQLite file: values, key paths and names, deletion, enumeration, handles, durability,
// the file's location, and damaged files and storage faults met with an error and a line on stderr.
#include "StorageFaults.h"

#include <cehost/sim.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <vector>

namespace {

class Registry : public ::testing::Test {
protected:
    void SetUp() override {
        file_ = folder_.File("registry.db");
        CehostSetRegistryPath(file_.c_str());
    }

    HKEY Create(HKEY root, const char16_t* path, DWORD* disposition = nullptr) {
        HKEY key = nullptr;
        EXPECT_EQ(RegCreateKeyExW(root, path, 0, nullptr, 0, 0, nullptr, &key, disposition), ERROR_SUCCESS);
        return key;
    }
    LONG SetText(HKEY key, const char16_t* name, std::u16string text) {
        return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                              DWORD((text.size() + 1) * 2));
    }
    LONG SetDword(HKEY key, const char16_t* name, DWORD value) {
        return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
    }
    // The text or number a value holds; empty or 0xDEAD where it cannot be read.
    std::u16string GetText(HKEY key, const char16_t* name) {
        char16_t buffer[256] = {};
        DWORD size = sizeof(buffer);
        return Query(key, name, nullptr, &size, buffer) == ERROR_SUCCESS ? buffer : u"";
    }
    DWORD GetDword(HKEY key, const char16_t* name) {
        DWORD value = 0, size = 4;
        return Query(key, name, nullptr, &size, &value) == ERROR_SUCCESS ? value : 0xDEAD;
    }
    // The type and size a value is stored with, or the error of the query.
    LONG Query(HKEY key, const char16_t* name, DWORD* type = nullptr, DWORD* size = nullptr, void* data = nullptr) {
        return RegQueryValueExW(key, name, nullptr, type, static_cast<BYTE*>(data), size);
    }
    LONG Open(HKEY root, const char16_t* path, HKEY* key) { return RegOpenKeyExW(root, path, 0, 0, key); }
    // The names an enumeration gives from index 0 on, with room for 15 units each.
    template <typename Enum>
    static std::vector<std::u16string> Names(HKEY key, Enum enumerate) {
        std::vector<std::u16string> names;
        char16_t name[16];
        for (DWORD i = 0, length = 16; enumerate(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) == 0;
             ++i, length = 16)
            names.push_back(name);
        return names;
    }

    TestFolder folder_;
    std::string file_;
};

TEST_F(Registry, ValuesComeBackWithTheirTypeSizeAndBytes) {
    HKEY key = Create(HKEY_CURRENT_USER, u"Software\\Test");
    const DWORD number = 0xDEADBEEF;
    const BYTE blob[5] = {0, 1, 2, 0, 255};
    const char16_t text[] = u"Hello", multi[] = u"one\0two\0", empty[] = u"";
    const struct {
        const char16_t* name;
        DWORD type;
        const void* data;
        DWORD size;
    } values[] = {{u"Name", REG_SZ, text, 12},           {u"Count", REG_DWORD, &number, 4},
                  {u"Blob", REG_BINARY, blob, 5},         {u"Multi", REG_MULTI_SZ, multi, sizeof multi},
                  {u"Empty", REG_SZ, empty, 2},            {nullptr, REG_SZ, text, 12}};
    for (const auto& v : values)
        ASSERT_EQ(RegSetValueExW(key, v.name, 0, v.type, static_cast<const BYTE*>(v.data), v.size), ERROR_SUCCESS);
    for (const auto& v : values) {
        BYTE back[32];
        std::memset(back, '#', sizeof back);
        DWORD type = 0, size = sizeof back;
        EXPECT_EQ(Query(key, v.name ? v.name : u"", &type, &size, back), ERROR_SUCCESS); // NULL and "" are one
        EXPECT_EQ(type, v.type);
        ASSERT_EQ(size, v.size);
        EXPECT_EQ(std::memcmp(back, v.data, v.size), 0);
        EXPECT_EQ(back[v.size], '#') << "nothing is written past the value";
    }
    // (Too small a buffer and a missing value are pinned by the conformance registry case.)
    DWORD type = 0, size = 0, reserved = 0;
    char16_t buffer[8];
    EXPECT_EQ(Query(key, u"Name", nullptr, nullptr, buffer), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegQueryValueExW(key, u"Name", &reserved, nullptr, nullptr, &size), ERROR_INVALID_PARAMETER);
    // Setting again replaces type and data; wrong sizes are refused and store nothing.
    ASSERT_EQ(SetDword(key, u"Name", 7), ERROR_SUCCESS);
    EXPECT_EQ(Query(key, u"Name", &type, &size), ERROR_SUCCESS);
    EXPECT_EQ(std::pair(type, size), (std::pair<DWORD, DWORD>(REG_DWORD, 4)));
    EXPECT_EQ(RegSetValueExW(key, u"Bad", 0, REG_DWORD, blob, 3), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegSetValueExW(key, u"Bad", 0, REG_BINARY, nullptr, 3), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(Query(key, u"Bad", &type, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteValueW(key, u"COUNT"), ERROR_SUCCESS) << "any spelling of the name";
    EXPECT_EQ(Query(key, u"Count"), ERROR_FILE_NOT_FOUND);
    RegCloseKey(key);
}

// Paths take one leading backslash and trailing ones, no empty parts; names are at most 255 units, paths at
// most 16 keys deep; another root is another tree.
TEST_F(Registry, KeyPathsAndTheirLimits) {
    std::u16string deepest = u"1";
    for (int level = 2; level <= 16; ++level) deepest += u"\\" + std::u16string(1, char16_t(u'a' + level));
    const struct {
        std::u16string path;
        LONG result;
        DWORD disposition;
    } cases[] = {{u"\\software\\lx", ERROR_SUCCESS, REG_CREATED_NEW_KEY},
                 {u"software\\lx\\", ERROR_SUCCESS, REG_OPENED_EXISTING_KEY},
                 {u"a\\\\b", ERROR_BAD_PATHNAME, 0},
                 {u"\\\\software", ERROR_BAD_PATHNAME, 0},
                 {std::u16string(255, u'k'), ERROR_SUCCESS, REG_CREATED_NEW_KEY},
                 {std::u16string(256, u'k'), ERROR_INVALID_PARAMETER, 0},
                 {deepest, ERROR_SUCCESS, REG_CREATED_NEW_KEY},
                 {deepest + u"\\17", ERROR_INVALID_PARAMETER, 0}};
    for (const auto& c : cases) {
        HKEY key = reinterpret_cast<HKEY>(1);
        DWORD disposition = 0;
        EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, c.path.c_str(), 0, nullptr, 0, 0, nullptr, &key, &disposition),
                  c.result) << c.path.size();
        EXPECT_EQ(disposition, c.disposition) << c.path.size();
        EXPECT_EQ(key == nullptr, c.result != ERROR_SUCCESS);
        RegCloseKey(key);
    }
    HKEY key = nullptr;
    EXPECT_EQ(Open(HKEY_CURRENT_USER, u"\\\\software", &key), ERROR_BAD_PATHNAME);
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"software\\lx", 0, KEY_ALL_ACCESS, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr);
    SECURITY_ATTRIBUTES security{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
    EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"x", 0, nullptr, 0, 0, &security, &key, nullptr),
              ERROR_INVALID_PARAMETER);
}

TEST_F(Registry, NamesAreCaseInsensitiveAndCasePreservingBeyondAscii) {
    HKEY key = Create(HKEY_CURRENT_USER, u"Ärger\\ЖУК");
    ASSERT_EQ(SetText(key, u"Größe", u"1"), ERROR_SUCCESS);
    HKEY same = nullptr;
    ASSERT_EQ(Open(HKEY_CURRENT_USER, u"äRGER\\жук", &same), ERROR_SUCCESS);
    EXPECT_NE(GetText(same, u"GRÖSSE"), u"1") << "ß is not SS: simple mappings only";
    EXPECT_EQ(GetText(same, u"GRÖßE"), u"1");
    // Setting through another spelling keeps the first one.
    ASSERT_EQ(SetText(same, u"gRÖßE", u"2"), ERROR_SUCCESS);
    EXPECT_EQ(Names(key, RegEnumValueW), std::vector<std::u16string>{u"Größe"});
    EXPECT_EQ(GetText(key, u"größe"), u"2");
    // Letters without case stay distinct.
    HKEY hangul = Create(HKEY_CURRENT_USER, u"가");
    HKEY other = nullptr;
    EXPECT_EQ(Open(HKEY_CURRENT_USER, u"각", &other), ERROR_FILE_NOT_FOUND);
    char16_t name[32];
    DWORD length = 32;
    ASSERT_EQ(RegEnumKeyExW(HKEY_CURRENT_USER, 0, name, &length, nullptr, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(std::u16string(name), u"Ärger");
    EXPECT_EQ(length, 5u);
    RegCloseKey(key);
    RegCloseKey(same);
    RegCloseKey(hangul);
}

TEST_F(Registry, DeleteKeyRemovesTheWholeSubtreeButNotWhileAnyPartIsOpen) {
    HKEY leaf = Create(HKEY_CURRENT_USER, u"app\\a\\b\\c");
    ASSERT_EQ(SetText(leaf, u"x", u"y"), ERROR_SUCCESS);
    HKEY app = Create(HKEY_CURRENT_USER, u"app");
    ASSERT_EQ(SetDword(app, u"top", 1), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, u"APP"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteKeyW(app, u"a"), ERROR_ACCESS_DENIED) << "c below a is open";
    EXPECT_EQ(RegCloseKey(leaf), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKeyW(app, u"a"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKeyW(app, u"a"), ERROR_FILE_NOT_FOUND);
    HKEY gone = nullptr;
    EXPECT_EQ(Open(HKEY_CURRENT_USER, u"app\\a\\b", &gone), ERROR_FILE_NOT_FOUND);
    // Recreating the path finds nothing of the old values.
    leaf = Create(HKEY_CURRENT_USER, u"app\\a\\b\\c");
    EXPECT_EQ(Query(leaf, u"x"), ERROR_FILE_NOT_FOUND);
    RegCloseKey(leaf);
    EXPECT_EQ(GetDword(app, u"top"), 1u);
    RegCloseKey(app);
    EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, u"\\app"), ERROR_SUCCESS);
    EXPECT_EQ(Open(HKEY_CURRENT_USER, u"app", &gone), ERROR_FILE_NOT_FOUND);
    // Neither a root nor a key itself can be deleted through an empty subkey.
    EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, u""), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, nullptr), ERROR_ACCESS_DENIED);
}

// (The counts RegQueryInfoKey gives are pinned by the conformance registry case.)
TEST_F(Registry, EnumerationOrderAndBufferRules) {
    HKEY key = Create(HKEY_CURRENT_USER, u"enum");
    for (const char16_t* name : {u"beta", u"Alpha", u"gamma"}) RegCloseKey(Create(key, name));
    for (const char16_t* name : {u"z", u"a", u"m"}) ASSERT_EQ(SetDword(key, name, 1), ERROR_SUCCESS);
    EXPECT_EQ(Names(key, RegEnumKeyExW), (std::vector<std::u16string>{u"Alpha", u"beta", u"gamma"}));
    EXPECT_EQ(Names(key, RegEnumValueW), (std::vector<std::u16string>{u"z", u"a", u"m"}))
        << "values keep the order they were set";
    char16_t name[16];
    DWORD length = 16;
    EXPECT_EQ(RegEnumKeyExW(key, 3, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
    length = 5; // "Alpha" needs 6 with its terminator
    EXPECT_EQ(RegEnumKeyExW(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
    DWORD data = 0, size = 2, type = 0;
    length = 16;
    EXPECT_EQ(RegEnumValueW(key, 0, name, &length, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size),
              ERROR_MORE_DATA);
    EXPECT_EQ(size, 4u);
    RegCloseKey(key);
}

TEST_F(Registry, ClosedAndMadeUpHandlesAreRefused) {
    HKEY key = Create(HKEY_CURRENT_USER, u"h");
    EXPECT_EQ(RegFlushKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
    EXPECT_EQ(SetDword(key, u"v", 1), ERROR_INVALID_HANDLE);
    // The slot is reused, but the old handle stays dead.
    HKEY again = Create(HKEY_CURRENT_USER, u"h");
    EXPECT_NE(again, key);
    EXPECT_EQ(SetDword(key, u"v", 1), ERROR_INVALID_HANDLE);
    EXPECT_EQ(SetDword(again, u"v", 1), ERROR_SUCCESS);
    RegCloseKey(again);
    for (uintptr_t bogus : {uintptr_t(0), uintptr_t(0x12345), uintptr_t(0x80000004), ~uintptr_t(0)}) {
        HKEY handle = reinterpret_cast<HKEY>(bogus);
        EXPECT_EQ(RegFlushKey(handle), ERROR_INVALID_HANDLE);
        EXPECT_EQ(Query(handle, u"v"), ERROR_INVALID_HANDLE);
    }
    EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
    EXPECT_EQ(SetDword(HKEY_CURRENT_USER, u"RootValue", 3), ERROR_SUCCESS);
    // Changing the file closes the open keys; reopening it finds what was written.
    key = Create(HKEY_CLASSES_ROOT, u".txt");
    ASSERT_EQ(SetText(key, nullptr, u"txtfile"), ERROR_SUCCESS);
    CehostSetRegistryPath(file_.c_str());
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
    ASSERT_EQ(Open(HKEY_CLASSES_ROOT, u".TXT", &key), ERROR_SUCCESS);
    EXPECT_EQ(GetText(key, nullptr), u"txtfile");
    RegCloseKey(key);
}

// Every write is on disk when the call returns: what a child process killed right after the call wrote is
// there, and a key it deleted is reported as deleted through the handles still open here.
TEST_F(Registry, WritesSurviveAProcessKilledRightAfterTheCall) {
    HKEY shared = Create(HKEY_CURRENT_USER, u"shared\\k");
    ASSERT_EQ(SetDword(shared, u"v", 1), ERROR_SUCCESS);
    const std::string path = file_;
    ASSERT_TRUE(RunInKilledChild([&] {
        CehostSetRegistryPath(path.c_str()); // the child's copies of the parent's handles go away
        HKEY key = nullptr;
        return RegDeleteKeyW(HKEY_CURRENT_USER, u"shared") == ERROR_SUCCESS &&
               RegCreateKeyExW(HKEY_CURRENT_USER, u"durable", 0, nullptr, 0, 0, nullptr, &key, nullptr) == 0 &&
               SetDword(key, u"answer", 42) == ERROR_SUCCESS && SetDword(key, u"gone", 42) == ERROR_SUCCESS;
    }));
    EXPECT_EQ(SetDword(shared, u"v", 2), ERROR_KEY_DELETED);
    EXPECT_EQ(Query(shared, u"v"), ERROR_KEY_DELETED);
    EXPECT_EQ(RegCloseKey(shared), ERROR_SUCCESS);
    HKEY key = nullptr;
    ASSERT_EQ(Open(HKEY_CURRENT_USER, u"durable", &key), ERROR_SUCCESS);
    EXPECT_EQ(GetDword(key, u"answer"), 42u);
    ASSERT_TRUE(RunInKilledChild([this] {
        HKEY key = nullptr;
        return Open(HKEY_CURRENT_USER, u"durable", &key) == ERROR_SUCCESS &&
               RegDeleteValueW(key, u"gone") == ERROR_SUCCESS;
    }));
    EXPECT_EQ(Query(key, u"gone"), ERROR_FILE_NOT_FOUND);
    RegCloseKey(key);
}

TEST_F(Registry, DefaultLocationIsAnOwnerOnlyStateFolder) {
    CehostSetRegistryPath(nullptr);
    unsetenv("CEHOST_REGISTRY");
    std::string state = folder_.File("state");
    setenv("XDG_STATE_HOME", state.c_str(), 1);
    EXPECT_EQ(std::string(CehostGetRegistryPath()), state + "/cehost/registry.db");
    RegCloseKey(Create(HKEY_CURRENT_USER, u"where"));
    EXPECT_EQ(ModeOf(state + "/cehost"), 0700u);
    EXPECT_EQ(ModeOf(state + "/cehost/registry.db"), 0600u);
    // Without XDG_STATE_HOME: the home folder's state folder; the environment variable wins over both.
    CehostSetRegistryPath(nullptr);
    unsetenv("XDG_STATE_HOME");
    setenv("HOME", folder_.Path().c_str(), 1);
    EXPECT_EQ(std::string(CehostGetRegistryPath()), folder_.Path() + "/.local/state/cehost/registry.db");
    CehostSetRegistryPath(nullptr);
    std::string named = folder_.File("named/reg.db");
    setenv("CEHOST_REGISTRY", named.c_str(), 1);
    EXPECT_EQ(std::string(CehostGetRegistryPath()), named);
    RegCloseKey(Create(HKEY_CURRENT_USER, u"where"));
    EXPECT_EQ(ModeOf(named), 0600u);
}

class DamagedRegistry : public Registry {
protected:
    // Runs `sql` on the file through SQLite itself; the first value of the last row it gives, or -1.
    int Sql(const char* sql) {
        sqlite3* db = nullptr;
        int value = -1;
        EXPECT_EQ(sqlite3_open(file_.c_str(), &db), SQLITE_OK);
        const auto keep = [](void* out, int, char** row, char**) {
            *static_cast<int*>(out) = std::atoi(row[0]);
            return 0;
        };
        EXPECT_EQ(sqlite3_exec(db, sql, keep, &value, nullptr), SQLITE_OK) << sql;
        sqlite3_close(db);
        return value;
    }
    // Every registry call fails with `expected`; the file keeps its bytes and stderr names it once.
    void ExpectRefusedAndUntouched(LONG expected) {
        std::string before = ReadWholeFile(file_);
        ::testing::internal::CaptureStderr();
        HKEY key = nullptr;
        EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"x", 0, nullptr, 0, 0, nullptr, &key, nullptr),
                  expected);
        EXPECT_EQ(key, nullptr);
        EXPECT_EQ(Open(HKEY_CURRENT_USER, u"x", &key), expected);
        EXPECT_EQ(SetDword(HKEY_CURRENT_USER, u"v", 1), expected);
        EXPECT_EQ(Query(HKEY_CURRENT_USER, u"v"), expected);
        EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, u"x"), expected);
        std::string err = ::testing::internal::GetCapturedStderr();
        EXPECT_NE(err.find(file_), std::string::npos) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_EQ(ReadWholeFile(file_), before);
    }
};

// Garbage, and another program's database: refused, reported, left alone.
TEST_F(DamagedRegistry, AFileThatIsNotARegistryIsReportedAndLeftAlone) {
    std::string garbage;
    for (int i = 0; i < 8192; ++i) garbage.push_back(char(i * 31 + 7));
    WriteWholeFile(file_, garbage);
    ExpectRefusedAndUntouched(ERROR_REGISTRY_CORRUPT);
    std::filesystem::remove(file_);
    Sql("CREATE TABLE notes(t TEXT); INSERT INTO notes VALUES('keep me')");
    CehostSetRegistryPath(file_.c_str());
    ExpectRefusedAndUntouched(ERROR_BADDB);
}

TEST_F(DamagedRegistry, DamageInsideAValidFileIsReported) {
    HKEY key = Create(HKEY_CURRENT_USER, u"many");
    std::u16string text(400, u'x');
    for (char16_t i = 0; i < 100; ++i) {
        std::u16string name = u"v" + std::u16string(1, char16_t(u'0' + i));
        ASSERT_EQ(SetText(key, name.c_str(), text), ERROR_SUCCESS);
    }
    RegCloseKey(key);
    CehostSetRegistryPath(file_.c_str()); // closes the file, folding the log into it
    // Scramble the root page of the values table: keys stay readable, values do not.
    const int valuesRoot = Sql("SELECT rootpage FROM sqlite_master WHERE name = 'vals'");
    const int pageSize = Sql("PRAGMA page_size");
    ASSERT_GT(valuesRoot, 0);
    std::string bytes = ReadWholeFile(file_);
    size_t start = size_t(valuesRoot - 1) * pageSize;
    ASSERT_LE(start + pageSize, bytes.size());
    for (size_t i = start; i < start + pageSize; ++i) bytes[i] = char(0xA5 ^ (i * 7));
    WriteWholeFile(file_, bytes);
    ::testing::internal::CaptureStderr();
    LONG opened = Open(HKEY_CURRENT_USER, u"many", &key);
    std::string before = ReadWholeFile(file_);
    LONG queried = Query(key, u"v1");
    LONG written = SetDword(key, u"w", 1);
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(opened, ERROR_SUCCESS);
    EXPECT_EQ(queried, ERROR_REGISTRY_CORRUPT);
    EXPECT_EQ(written, ERROR_REGISTRY_CORRUPT);
    EXPECT_NE(err.find(file_), std::string::npos) << err;
    EXPECT_EQ(ReadWholeFile(file_), before);
}

// A storage fault made beneath SQLite fails the write that meets it with the registry's error and one stderr
// line naming the file and the cause; what was committed before reads back whole; the same write succeeds once
// the fault is gone, and both values are on disk.
TEST_F(Registry, EachStorageFaultFailsTheWriteThatMeetsItAndLosesNothing) {
    FaultVfs::Install();
    LockHolder holder;
    const std::map<std::string, LONG> kExpected = {
        {"disk full", ERROR_DISK_FULL},           {"failed sync", ERROR_REGISTRY_IO_FAILED},
        {"read-only folder", ERROR_CANTOPEN},     {"file removed", ERROR_REGISTRY_IO_FAILED},
        {"file replaced", ERROR_REGISTRY_IO_FAILED}, {"write lock held", ERROR_REGISTRY_IO_FAILED},
    };
    for (const StorageFault& fault : StorageFaults(holder)) {
        SCOPED_TRACE(fault.name);
        TestFolder folder;
        const std::string file = folder.File("registry.db");
        CehostSetRegistryPath(file.c_str());
        ASSERT_EQ(ERROR_SUCCESS, SetDword(HKEY_CURRENT_USER, u"kept", 41));
        if (fault.closedFirst) CehostSetRegistryPath(file.c_str());
        fault.begin(file);
        testing::internal::CaptureStderr();
        EXPECT_EQ(kExpected.at(fault.name), SetDword(HKEY_CURRENT_USER, u"new", 42));
        EXPECT_EQ("cehost: registry file " + file + " " + fault.cause + "; registry calls fail with error " +
                      std::to_string(kExpected.at(fault.name)) + "\n",
                  testing::internal::GetCapturedStderr());
        fault.end(file);
        EXPECT_EQ(41u, GetDword(HKEY_CURRENT_USER, u"kept"));
        EXPECT_EQ(ERROR_SUCCESS, SetDword(HKEY_CURRENT_USER, u"new", 42));
        CehostSetRegistryPath(file.c_str()); // read back from the file, not the open connection
        EXPECT_EQ(41u, GetDword(HKEY_CURRENT_USER, u"kept"));
        EXPECT_EQ(42u, GetDword(HKEY_CURRENT_USER, u"new"));
    }
}

} // namespace
