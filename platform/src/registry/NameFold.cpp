// Case folding of registry names: the upper case of each unit, as CharUpperBuffW gives it.
#include "NameFold.h"

#include <cstring>
#include <windows.h>

namespace cehost::registry {

std::string FoldedNameKey(std::u16string_view name) {
    std::string key;
    key.reserve(name.size() * 2);
    for (char16_t unit : name) {
        WCHAR folded = unit;
        CharUpperBuffW(&folded, 1);
        key.push_back(char(folded >> 8));
        key.push_back(char(folded & 0xFF));
    }
    return key;
}

std::string NameBytes(std::u16string_view name) {
    return std::string(reinterpret_cast<const char*>(name.data()), name.size() * sizeof(char16_t));
}

std::u16string NameFromBytes(const void* bytes, size_t byteCount) {
    std::u16string name(byteCount / sizeof(char16_t), u'\0');
    if (!name.empty()) std::memcpy(name.data(), bytes, name.size() * sizeof(char16_t));
    return name;
}

} // namespace cehost::registry
