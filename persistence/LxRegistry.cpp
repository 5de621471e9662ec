// LxRegistry: settings kept in the registry at a remembered place.
#include "LxRegistry.h"

namespace {

const WCHAR kDefaultPath[] = TEXT("\\software\\lx");
const WCHAR kDefaultKey[] = TEXT("Default");

// Copies `text` (NULL is empty) into `field`; text that does not fit leaves the field empty and refused.
void StoreText(WCHAR* field, bool* refused, const WCHAR* text) {
    int length = 0;
    while (text && text[length] && length < LxRegistry::kTextCapacity)
        ++length;
    *refused = length >= LxRegistry::kTextCapacity;
    if (*refused) length = 0;
    for (int i = 0; i < length; ++i)
        field[i] = text[i];
    field[length] = 0;
}

// The registry reports the buffer as exactly 1024 bytes; text stored without its terminator gets one.
constexpr DWORD kQueryBytes = 1024;

} // namespace

LxRegistry::LxRegistry() : m_root(HKEY_CURRENT_USER) {
    StoreText(m_path, &m_pathRefused, kDefaultPath);
    StoreText(m_key, &m_keyRefused, kDefaultKey);
}

LxRegistry::LxRegistry(HKEY root) : m_root(root) {
    m_path[0] = 0;
    m_key[0] = 0;
}

LxRegistry::LxRegistry(HKEY root, const WCHAR* path) : m_root(root) {
    StoreText(m_path, &m_pathRefused, path);
    m_key[0] = 0;
}

LxRegistry::LxRegistry(HKEY root, const WCHAR* path, const WCHAR* key) : m_root(root) {
    StoreText(m_path, &m_pathRefused, path);
    StoreText(m_key, &m_keyRefused, key);
}

LxRegistry::~LxRegistry() {}

void LxRegistry::SetHKey(HKEY root) {
    m_root = root;
}
void LxRegistry::SetPath(const WCHAR* path) {
    StoreText(m_path, &m_pathRefused, path);
}
void LxRegistry::SetKey(const WCHAR* key) {
    StoreText(m_key, &m_keyRefused, key);
}

int LxRegistry::SetString(HKEY root, const WCHAR* path, const WCHAR* key, const WCHAR* value) {
    SetHKey(root);
    SetPath(path);
    SetKey(key);
    return SetString(value);
}
int LxRegistry::SetString(const WCHAR* path, const WCHAR* key, const WCHAR* value) {
    SetPath(path);
    SetKey(key);
    return SetString(value);
}
int LxRegistry::SetString(const WCHAR* key, const WCHAR* value) {
    SetKey(key);
    return SetString(value);
}

int LxRegistry::SetString(const WCHAR* value) {
    if (m_pathRefused || m_keyRefused) return 0;
    if (!value) value = TEXT("");
    DWORD length = 0;
    while (value[length])
        ++length;
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExW(m_root, m_path, 0, nullptr, 0, 0, nullptr, &key, &disposition) != ERROR_SUCCESS ||
        !key)
        return 0;
    LONG rc = RegSetValueExW(key, m_key, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), (length + 1) * 2);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS ? 1 : 0;
}

int LxRegistry::GetString(HKEY root, const WCHAR* path, const WCHAR* key, WCHAR* buffer) {
    SetHKey(root);
    SetPath(path);
    SetKey(key);
    return GetString(buffer);
}
int LxRegistry::GetString(const WCHAR* path, const WCHAR* key, WCHAR* buffer) {
    SetPath(path);
    SetKey(key);
    return GetString(buffer);
}
int LxRegistry::GetString(const WCHAR* key, WCHAR* buffer) {
    SetKey(key);
    return GetString(buffer);
}

int LxRegistry::GetString(WCHAR* buffer) {
    if (m_pathRefused || m_keyRefused || !buffer) return 0;
    HKEY key = nullptr;
    if (RegOpenKeyExW(m_root, m_path, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS || !key) return 0;
    DWORD type = REG_SZ, size = kQueryBytes;
    LONG rc = RegQueryValueExW(key, m_key, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS) return 0;
    DWORD units = size / 2;
    if (units == 0 || buffer[units - 1] != 0)
        buffer[units < kQueryBytes / 2 ? units : kQueryBytes / 2 - 1] = 0;
    return 1;
}

int LxRegistry::SetInteger(HKEY root, const WCHAR* path, const WCHAR* key, DWORD value) {
    SetHKey(root);
    SetPath(path);
    SetKey(key);
    return SetInteger(value);
}
int LxRegistry::SetInteger(const WCHAR* path, const WCHAR* key, DWORD value) {
    SetPath(path);
    SetKey(key);
    return SetInteger(value);
}
int LxRegistry::SetInteger(const WCHAR* key, DWORD value) {
    SetKey(key);
    return SetInteger(value);
}

int LxRegistry::SetInteger(DWORD value) {
    if (m_pathRefused || m_keyRefused) return 0;
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExW(m_root, m_path, 0, nullptr, 0, 0, nullptr, &key, &disposition) != ERROR_SUCCESS ||
        !key)
        return 0;
    LONG rc = RegSetValueExW(key, m_key, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    RegCloseKey(key);
    return rc == ERROR_SUCCESS ? 1 : 0;
}

DWORD LxRegistry::GetInteger(HKEY root, const WCHAR* path, const WCHAR* key) {
    SetHKey(root);
    SetPath(path);
    SetKey(key);
    return GetInteger();
}
DWORD LxRegistry::GetInteger(const WCHAR* path, const WCHAR* key) {
    SetPath(path);
    SetKey(key);
    return GetInteger();
}
DWORD LxRegistry::GetInteger(const WCHAR* key) {
    SetKey(key);
    return GetInteger();
}

DWORD LxRegistry::GetInteger() {
    if (m_pathRefused || m_keyRefused) return 0;
    HKEY key = nullptr;
    if (RegOpenKeyExW(m_root, m_path, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS || !key) return 0;
    // Whatever the query leaves in the number is the answer: a missing value, a value of another size and a
    // stored 0 all read as 0.
    DWORD value = 0, type = REG_DWORD, size = sizeof(value);
    RegQueryValueExW(key, m_key, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    return value;
}

int LxRegistry::DeletePath(HKEY root, const WCHAR* path) {
    SetHKey(root);
    SetPath(path);
    return DeletePath();
}
int LxRegistry::DeletePath(const WCHAR* path) {
    SetPath(path);
    return DeletePath();
}

int LxRegistry::DeletePath() {
    if (m_pathRefused) return 0;
    return RegDeleteKeyW(m_root, m_path) == ERROR_SUCCESS ? 1 : 0;
}

int LxRegistry::DeleteKey(HKEY root, const WCHAR* path, const WCHAR* key) {
    SetHKey(root);
    SetPath(path);
    SetKey(key);
    return DeleteKey();
}
int LxRegistry::DeleteKey(const WCHAR* path, const WCHAR* key) {
    SetPath(path);
    SetKey(key);
    return DeleteKey();
}
int LxRegistry::DeleteKey(const WCHAR* key) {
    SetKey(key);
    return DeleteKey();
}

int LxRegistry::DeleteKey() {
    if (m_pathRefused || m_keyRefused) return 0;
    HKEY key = nullptr;
    if (RegOpenKeyExW(m_root, m_path, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS || !key) return 0;
    LONG rc = RegDeleteValueW(key, m_key);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS ? 1 : 0;
}
