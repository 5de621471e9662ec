// The notebook's settings in the registry, under the current user's software key.
#include "NotebookSettings.h"

#include "LxRegistry.h"

namespace {

constexpr WCHAR kPath[] = u"Software\\Notebook";

// The registry answers 0 for a value it cannot read, so every setting keeps 0 as its default and stores its
// value one higher; a stored 0 and a missing value then agree.
int Read(LxRegistry& registry, const WCHAR* key, int count) {
    const int stored = int(registry.GetInteger(HKEY_CURRENT_USER, kPath, key)) - 1;
    return stored >= 0 && stored < count ? stored : 0;
}

} // namespace

const Theme NotebookSettings::kThemes[kThemeCount] = {
    {u"어두운 회색", RGB(0x27, 0x27, 0x27)},
    {u"남색", RGB(0x12, 0x22, 0x44)},
    {u"짙은 녹색", RGB(0x14, 0x33, 0x24)},
};

const int NotebookSettings::kRotations[kRotationCount] = {0, 1, 2, 4};

void NotebookSettings::Load() {
    LxRegistry registry;
    sortByTitle = Read(registry, u"Sort", 2) == 1;
    theme = Read(registry, u"Theme", kThemeCount);
    rotation = Read(registry, u"Rotation", kRotationCount);
}

bool NotebookSettings::Save() const {
    LxRegistry registry(HKEY_CURRENT_USER, kPath);
    return registry.SetInteger(kPath, u"Sort", DWORD(sortByTitle ? 2 : 1)) == 1 &&
           registry.SetInteger(kPath, u"Theme", DWORD(theme + 1)) == 1 &&
           registry.SetInteger(kPath, u"Rotation", DWORD(rotation + 1)) == 1;
}
