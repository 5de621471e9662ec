// LxRegistry: one object that keeps a place in the registry (root, key path, value name) and reads and writes
// values there. Each operation opens the registry key, does one thing and closes it; no handle is held
// between calls. Leaves out enumeration and types other than text and 32-bit numbers.
#pragma once

#include <windows.h>

class LxRegistry {
public:
    // Room for each text, terminator included. Longer text is refused: the place it would name is marked
    // unusable and every operation that needs it fails until a text that fits is stored.
    static constexpr int kTextCapacity = 1024;

    LxRegistry();
    explicit LxRegistry(HKEY root);
    LxRegistry(HKEY root, const WCHAR* path);
    LxRegistry(HKEY root, const WCHAR* path, const WCHAR* key);
    ~LxRegistry();

    void SetHKey(HKEY root);
    void SetPath(const WCHAR* path);
    void SetKey(const WCHAR* key);

    // Shorter forms drop leading arguments and take them from the object; every form first stores what it
    // is given, so the place is sticky. 1 on success, 0 on failure.
    int SetString(HKEY root, const WCHAR* path, const WCHAR* key, const WCHAR* value);
    int SetString(const WCHAR* path, const WCHAR* key, const WCHAR* value);
    int SetString(const WCHAR* key, const WCHAR* value);
    int SetString(const WCHAR* value);

    // `buffer` must hold 512 characters (1024 bytes); the text read is always terminated.
    int GetString(HKEY root, const WCHAR* path, const WCHAR* key, WCHAR* buffer);
    int GetString(const WCHAR* path, const WCHAR* key, WCHAR* buffer);
    int GetString(const WCHAR* key, WCHAR* buffer);
    int GetString(WCHAR* buffer);

    int SetInteger(HKEY root, const WCHAR* path, const WCHAR* key, DWORD value);
    int SetInteger(const WCHAR* path, const WCHAR* key, DWORD value);
    int SetInteger(const WCHAR* key, DWORD value);
    int SetInteger(DWORD value);

    // The stored number, or 0 when it can't be read (so failure and a stored 0 look alike).
    DWORD GetInteger(HKEY root, const WCHAR* path, const WCHAR* key);
    DWORD GetInteger(const WCHAR* path, const WCHAR* key);
    DWORD GetInteger(const WCHAR* key);
    DWORD GetInteger();

    // Deletes the key path with everything below it; stores root and path only.
    int DeletePath(HKEY root, const WCHAR* path);
    int DeletePath(const WCHAR* path);
    int DeletePath();

    // Deletes one value.
    int DeleteKey(HKEY root, const WCHAR* path, const WCHAR* key);
    int DeleteKey(const WCHAR* path, const WCHAR* key);
    int DeleteKey(const WCHAR* key);
    int DeleteKey();

private:
    HKEY m_root;
    WCHAR m_path[kTextCapacity];
    WCHAR m_key[kTextCapacity];
    bool m_pathRefused = false;
    bool m_keyRefused = false;
};
