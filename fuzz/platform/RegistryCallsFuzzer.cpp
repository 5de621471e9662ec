// Sequences of registry calls with any names, types and data, checked against a model of what was written:
// every value reads back with its type and bytes until it is deleted or its key is, and every call either
// succeeds or gives a Win32 error, never a crash or a value from nowhere.
#include "FuzzInput.h"

#include <cehost/sim.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "FuzzFail.h"
#include "ScratchFolder.h"

namespace {

std::u16string Fold(std::u16string s) {
    for (char16_t& c : s)
        if (c >= u'a' && c <= u'z') c = char16_t(c - 32);
    return s;
}

struct Value {
    DWORD type;
    std::vector<BYTE> data;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    static const std::string file = ScratchFolder("lx-registry-fuzz") + "/registry.db";
    static bool ready = [] {
        CehostSetRegistryPath(file.c_str());
        return true;
    }();
    (void)ready;
    RegDeleteKeyW(HKEY_CURRENT_USER, u"Fuzz");
    FuzzInput in(bytes, size);
    // Two keys under one parent; value names from four letters, so that they meet again in other cases.
    const char16_t* kKeys[] = {u"Fuzz\\One", u"Fuzz\\Two"};
    std::map<std::u16string, Value> model[2];
    for (int step = 0; step < 64 && !in.Empty(); ++step) {
        const int k = int(in.Number(2));
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, kKeys[k], 0, nullptr, 0, 0, nullptr, &key, nullptr) != ERROR_SUCCESS)
            Fail("a key could not be made");
        std::u16string name;
        for (int n = in.Between(0, 3); n > 0; --n) name += char16_t(u"abAB"[in.Number(4)]);
        switch (in.Number(5)) {
        case 0: { // write
            Value v{DWORD(in.Number(12)), {}};
            for (int n = in.Between(0, 40); n > 0; --n) v.data.push_back(in.Byte());
            LONG rc = RegSetValueExW(key, name.c_str(), 0, v.type, v.data.data(), DWORD(v.data.size()));
            if (rc == ERROR_SUCCESS) model[k][Fold(name)] = v;
            break;
        }
        case 1: { // read, with a buffer that may be too small
            BYTE buffer[64];
            DWORD type = 0, length = in.Number(65);
            LONG rc = RegQueryValueExW(key, name.c_str(), nullptr, &type, buffer, &length);
            auto found = model[k].find(Fold(name));
            if (found == model[k].end()) {
                if (rc != ERROR_FILE_NOT_FOUND) Fail("a value that was never written (or was deleted) was found");
            } else if (rc == ERROR_SUCCESS) {
                if (type != found->second.type || length != found->second.data.size() ||
                    std::vector<BYTE>(buffer, buffer + length) != found->second.data)
                    Fail("a value read back differs from what was written");
            } else if (rc != ERROR_MORE_DATA || length != found->second.data.size()) {
                Fail("a written value could not be read, or its size was wrong");
            }
            break;
        }
        case 2: // delete a value
            if (RegDeleteValueW(key, name.c_str()) == ERROR_SUCCESS) model[k].erase(Fold(name));
            break;
        case 3: { // enumerate: exactly the modelled values
            DWORD count = 0;
            for (DWORD i = 0;; ++i) {
                WCHAR found[16];
                DWORD length = 16;
                LONG rc = RegEnumValueW(key, i, found, &length, nullptr, nullptr, nullptr, nullptr);
                if (rc == ERROR_NO_MORE_ITEMS) break;
                if (rc != ERROR_SUCCESS || !model[k].count(Fold(found))) Fail("enumeration found a stranger");
                ++count;
            }
            if (count != model[k].size()) Fail("enumeration missed values");
            break;
        }
        case 4: // delete the key with its values
            RegCloseKey(key);
            key = nullptr;
            if (RegDeleteKeyW(HKEY_CURRENT_USER, kKeys[k]) == ERROR_SUCCESS) model[k].clear();
            break;
        }
        if (key) RegCloseKey(key);
    }
    return 0;
}
