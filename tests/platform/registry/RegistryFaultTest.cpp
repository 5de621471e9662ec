// The registry under storage faults made beneath SQLite: each write that meets one fails with the registry's
// error and one stderr line naming the file and the cause; what was committed before reads back whole; the
// same write succeeds once the fault is gone, and both values are on disk.
#include "StorageFaults.h"

#include <cehost/sim.h>
#include <windows.h>

#include <map>

namespace {

LONG SetNumber(const char16_t* name, DWORD value) {
    HKEY key = nullptr;
    LONG rc = RegCreateKeyExW(HKEY_CURRENT_USER, u"Software\\Faults", 0, nullptr, 0, 0, nullptr, &key, nullptr);
    if (rc != ERROR_SUCCESS) return rc;
    rc = RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
    RegCloseKey(key);
    return rc;
}

DWORD GetNumber(const char16_t* name) {
    DWORD value = 0, size = 4;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Faults", 0, 0, &key) != ERROR_SUCCESS) return 0xDEAD;
    if (RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS)
        value = 0xDEAD;
    RegCloseKey(key);
    return value;
}

} // namespace

TEST(RegistryFaults, EachFaultFailsTheWriteThatMeetsItAndLosesNothing) {
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
        ASSERT_EQ(ERROR_SUCCESS, SetNumber(u"kept", 41));
        if (fault.closedFirst) CehostSetRegistryPath(file.c_str());

        fault.begin(file);
        testing::internal::CaptureStderr();
        EXPECT_EQ(kExpected.at(fault.name), SetNumber(u"new", 42));
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ("cehost: registry file " + file + " " + fault.cause + "; registry calls fail with error " +
                      std::to_string(kExpected.at(fault.name)) + "\n",
                  said);
        fault.end(file);

        EXPECT_EQ(41u, GetNumber(u"kept"));
        EXPECT_EQ(ERROR_SUCCESS, SetNumber(u"new", 42));
        CehostSetRegistryPath(file.c_str()); // read back from the file, not the open connection
        EXPECT_EQ(41u, GetNumber(u"kept"));
        EXPECT_EQ(42u, GetNumber(u"new"));
    }
    CehostSetRegistryPath(nullptr);
}
