// Case folding of registry names through the C library's Unicode tables (the C.UTF-8 locale, which glibc
// builds in), independent of the process's own locale.
#include "NameFold.h"

#include <clocale>
#include <cstring>
#include <cwctype>
#include <locale.h>

namespace cehost::registry {

namespace {

locale_t UnicodeLocale() {
    static const locale_t locale = [] {
        locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(0));
        if (!l) l = newlocale(LC_CTYPE_MASK, "C.utf8", locale_t(0));
        return l;
    }();
    return locale;
}

char16_t FoldUnit(char16_t unit) {
    if (unit >= u'a' && unit <= u'z') return char16_t(unit - (u'a' - u'A'));
    if (unit < 0x80 || (unit >= 0xD800 && unit <= 0xDFFF)) return unit;
    locale_t locale = UnicodeLocale();
    if (!locale) return unit;
    wint_t upper = towupper_l(wint_t(unit), locale);
    if (upper > 0xFFFF || (upper >= 0xD800 && upper <= 0xDFFF)) return unit;
    return char16_t(upper);
}

} // namespace

std::string FoldedNameKey(std::u16string_view name) {
    std::string key;
    key.reserve(name.size() * 2);
    for (char16_t unit : name) {
        char16_t folded = FoldUnit(unit);
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
