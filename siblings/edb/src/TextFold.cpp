// Case folding for the record database.
#include "TextFold.h"

#include <cwctype>
#include <locale.h>

namespace lxedb {

namespace {

locale_t UnicodeLocale() {
    static const locale_t locale = [] {
        locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(0));
        if (!l) l = newlocale(LC_CTYPE_MASK, "C.utf8", locale_t(0));
        return l;
    }();
    return locale;
}

bool IsSurrogate(wint_t unit) {
    return unit >= 0xD800 && unit <= 0xDFFF;
}

char16_t MapUnit(char16_t unit, bool upper) {
    if (unit < 0x80) {
        if (upper && unit >= u'a' && unit <= u'z') return char16_t(unit - 32);
        if (!upper && unit >= u'A' && unit <= u'Z') return char16_t(unit + 32);
        return unit;
    }
    locale_t locale = UnicodeLocale();
    if (!locale || IsSurrogate(unit)) return unit;
    wint_t mapped = upper ? towupper_l(unit, locale) : towlower_l(unit, locale);
    return mapped > 0xFFFF || IsSurrogate(mapped) ? unit : char16_t(mapped);
}

} // namespace

char16_t UpperUnit(char16_t unit) {
    return MapUnit(unit, true);
}
char16_t LowerUnit(char16_t unit) {
    return MapUnit(unit, false);
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
