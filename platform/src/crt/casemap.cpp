// Case mapping of 16-bit text through the C library's Unicode tables (the C.UTF-8 locale, which glibc builds
// in), independent of the process's own locale. Surrogates and units whose other case lies outside the
// basic plane stay as they are.
#include <windows.h>

#include <cwctype>
#include <locale.h>

namespace {

locale_t UnicodeLocale() {
    static const locale_t locale = [] {
        locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(0));
        if (!l) l = newlocale(LC_CTYPE_MASK, "C.utf8", locale_t(0));
        return l;
    }();
    return locale;
}

bool IsSurrogate(wint_t unit) { return unit >= 0xD800 && unit <= 0xDFFF; }

WCHAR MapUnit(WCHAR unit, bool upper) {
    if (unit < 0x80) {
        if (upper && unit >= u'a' && unit <= u'z') return WCHAR(unit - 32);
        if (!upper && unit >= u'A' && unit <= u'Z') return WCHAR(unit + 32);
        return unit;
    }
    const locale_t locale = UnicodeLocale();
    if (!locale || IsSurrogate(unit)) return unit;
    const wint_t mapped = upper ? towupper_l(unit, locale) : towlower_l(unit, locale);
    return mapped > 0xFFFF || IsSurrogate(mapped) ? unit : WCHAR(mapped);
}

DWORD MapBuffer(LPWSTR text, DWORD length, bool upper) {
    if (!text) return 0;
    for (DWORD i = 0; i < length; ++i) text[i] = MapUnit(text[i], upper);
    return length;
}

} // namespace

extern "C" {

DWORD WINAPI CharUpperBuffW(LPWSTR lpsz, DWORD cchLength) { return MapBuffer(lpsz, cchLength, true); }
DWORD WINAPI CharLowerBuffW(LPWSTR lpsz, DWORD cchLength) { return MapBuffer(lpsz, cchLength, false); }

} // extern "C"
