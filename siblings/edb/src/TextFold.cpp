// Case folding for the record database: the platform's case mapping, unit by unit.
#include "TextFold.h"

#include <windows.h>

namespace lxedb {

char16_t UpperUnit(char16_t unit) {
    CharUpperBuffW(&unit, 1);
    return unit;
}
char16_t LowerUnit(char16_t unit) {
    CharLowerBuffW(&unit, 1);
    return unit;
}

std::string FoldedKey(std::u16string_view text) {
    std::string key;
    key.reserve(text.size() * 2);
    for (char16_t unit : text) {
        char16_t folded = UpperUnit(unit);
        key.push_back(char(folded >> 8));
        key.push_back(char(folded & 0xFF));
    }
    return key;
}

} // namespace lxedb
