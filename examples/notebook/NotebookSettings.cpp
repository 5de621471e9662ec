// The notebook's settings in the registry, under the current user's software key.
#include "NotebookSettings.h"

#include "LxRegistry.h"

namespace {

constexpr WCHAR kPath[] = TEXT("Software\\Notebook");

// The registry answers 0 for a value it cannot read, so every setting keeps 0 as its default and stores its
// value one higher; a stored 0 and a missing value then agree.
int Read(LxRegistry& registry, const WCHAR* key, int count) {
    const int stored = int(registry.GetInteger(HKEY_CURRENT_USER, kPath, key)) - 1;
    return stored >= 0 && stored < count ? stored : 0;
}

// The done key is stored as its virtual-key code, which is never 0, so a missing value needs no offset;
// a code the list does not offer reads as the default.
DWORD ReadKey(LxRegistry& registry, const WCHAR* key) {
    const DWORD stored = registry.GetInteger(HKEY_CURRENT_USER, kPath, key);
    for (const DoneKey& doneKey : NotebookSettings::kDoneKeys)
        if (doneKey.code == stored) return stored;
    return NotebookSettings::kDoneKeys[0].code;
}

} // namespace

const Theme NotebookSettings::kThemes[kThemeCount] = {
    {TEXT("어두운 회색"), RGB(0x27, 0x27, 0x27)},
    {TEXT("남색"), RGB(0x12, 0x22, 0x44)},
    {TEXT("짙은 녹색"), RGB(0x14, 0x33, 0x24)},
};

const int NotebookSettings::kRotations[kRotationCount] = {0, 1, 2, 4};

const DoneKey NotebookSettings::kDoneKeys[kDoneKeyCount] = {
    {VK_TSTAR, TEXT("*")},
    {VK_TPOUND, TEXT("#")},
    {VK_T0, TEXT("0")},
};

void NotebookSettings::Load() {
    LxRegistry registry;
    sortByTitle = Read(registry, TEXT("Sort"), 2) == 1;
    theme = Read(registry, TEXT("Theme"), kThemeCount);
    rotation = Read(registry, TEXT("Rotation"), kRotationCount);
    doneKey = ReadKey(registry, TEXT("DoneKey"));
}

bool NotebookSettings::Save() const {
    LxRegistry registry(HKEY_CURRENT_USER, kPath);
    return registry.SetInteger(kPath, TEXT("Sort"), DWORD(sortByTitle ? 2 : 1)) == 1 &&
           registry.SetInteger(kPath, TEXT("Theme"), DWORD(theme + 1)) == 1 &&
           registry.SetInteger(kPath, TEXT("Rotation"), DWORD(rotation + 1)) == 1 &&
           registry.SetInteger(kPath, TEXT("DoneKey"), doneKey) == 1;
}

int NotebookSettings::DoneKeyChoice() const {
    for (int i = 0; i < kDoneKeyCount; ++i)
        if (kDoneKeys[i].code == doneKey) return i;
    return 0;
}
