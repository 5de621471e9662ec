// The C runtime's 16-bit text helpers, its 8-bit case and order helpers, and its number helpers.
// Case mapping is the default C locale's (A-Z and a-z only), as the target's C runtime does without a locale.
#include <windows.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <type_traits>

namespace {

template <class Ch> Ch AsciiUpper(Ch c) { return (c >= 'a' && c <= 'z') ? static_cast<Ch>(c - 'a' + 'A') : c; }
template <class Ch> Ch AsciiLower(Ch c) { return (c >= 'A' && c <= 'Z') ? static_cast<Ch>(c - 'A' + 'a') : c; }

// Compares as unsigned units after folding ASCII letters to lower case, as the C locale does.
template <class Ch> int CompareFolded(const Ch* a, const Ch* b, size_t n) {
    using U = std::make_unsigned_t<Ch>;
    for (size_t i = 0; i < n; ++i) {
        const U x = static_cast<U>(AsciiLower(a[i]));
        const U y = static_cast<U>(AsciiLower(b[i]));
        if (x != y) return x < y ? -1 : 1;
        if (x == 0) return 0;
    }
    return 0;
}

bool IsCSpace(unsigned c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Decimal parsing of atol: white space, a sign, digits; saturates at the 32-bit limits as the target does.
template <class Ch> int32_t ParseDecimal(const Ch* s) {
    if (!s) return 0;
    while (IsCSpace(static_cast<unsigned>(*s))) ++s;
    bool negative = false;
    if (*s == '+' || *s == '-') negative = *s++ == '-';
    int64_t value = 0;
    for (; *s >= '0' && *s <= '9'; ++s) {
        value = value * 10 + (*s - '0');
        if (value > int64_t{INT32_MAX} + 1) break;
    }
    if (negative) value = -value;
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}

template <class Ch> Ch* FormatRadix(uint64_t magnitude, bool negative, Ch* buffer, int radix) {
    if (!buffer) return buffer;
    if (radix < 2 || radix > 36) {
        buffer[0] = 0;
        return buffer;
    }
    Ch digits[72];
    int n = 0;
    do {
        const int d = static_cast<int>(magnitude % static_cast<unsigned>(radix));
        digits[n++] = static_cast<Ch>(d < 10 ? '0' + d : 'a' + d - 10);
        magnitude /= static_cast<unsigned>(radix);
    } while (magnitude);
    Ch* out = buffer;
    if (negative) *out++ = '-';
    while (n) *out++ = digits[--n];
    *out = 0;
    return buffer;
}

// Signed values print with a minus sign in radix 10 only; elsewhere their two's-complement bits print, at
// the width of the type as on the 32-bit target.
template <class Ch> Ch* FormatSigned32(int32_t value, Ch* buffer, int radix) {
    if (radix == 10 && value < 0) return FormatRadix(uint64_t(-int64_t(value)), true, buffer, radix);
    return FormatRadix(uint64_t(uint32_t(value)), false, buffer, radix);
}

} // namespace

size_t wcslen(const WCHAR* s) {
    const WCHAR* p = s;
    while (*p) ++p;
    return static_cast<size_t>(p - s);
}

WCHAR* wcscpy(WCHAR* dst, const WCHAR* src) {
    WCHAR* d = dst;
    while ((*d++ = *src++)) {
    }
    return dst;
}

WCHAR* wcsncpy(WCHAR* dst, const WCHAR* src, size_t n) {
    size_t i = 0;
    for (; i < n && src[i]; ++i) dst[i] = src[i];
    for (; i < n; ++i) dst[i] = 0;
    return dst;
}

WCHAR* wcscat(WCHAR* dst, const WCHAR* src) {
    wcscpy(dst + wcslen(dst), src);
    return dst;
}

WCHAR* wcsncat(WCHAR* dst, const WCHAR* src, size_t n) {
    WCHAR* d = dst + wcslen(dst);
    size_t i = 0;
    for (; i < n && src[i]; ++i) d[i] = src[i];
    d[i] = 0;
    return dst;
}

int wcscmp(const WCHAR* a, const WCHAR* b) {
    while (*a && *a == *b) ++a, ++b;
    return *a == *b ? 0 : (*a < *b ? -1 : 1);
}

int wcsncmp(const WCHAR* a, const WCHAR* b, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
        if (!a[i]) return 0;
    }
    return 0;
}

const WCHAR* wcschr(const WCHAR* s, WCHAR c) {
    for (;; ++s) {
        if (*s == c) return s;
        if (!*s) return nullptr;
    }
}
WCHAR* wcschr(WCHAR* s, WCHAR c) { return const_cast<WCHAR*>(wcschr(static_cast<const WCHAR*>(s), c)); }

const WCHAR* wcsrchr(const WCHAR* s, WCHAR c) {
    const WCHAR* found = nullptr;
    for (;; ++s) {
        if (*s == c) found = s;
        if (!*s) return found;
    }
}
WCHAR* wcsrchr(WCHAR* s, WCHAR c) { return const_cast<WCHAR*>(wcsrchr(static_cast<const WCHAR*>(s), c)); }

const WCHAR* wcsstr(const WCHAR* s, const WCHAR* find) {
    if (!*find) return s;
    const size_t n = wcslen(find);
    for (; *s; ++s)
        if (*s == *find && wcsncmp(s, find, n) == 0) return s;
    return nullptr;
}
WCHAR* wcsstr(WCHAR* s, const WCHAR* find) { return const_cast<WCHAR*>(wcsstr(static_cast<const WCHAR*>(s), find)); }

extern "C" int _wcsicmp(const WCHAR* a, const WCHAR* b) { return CompareFolded(a, b, SIZE_MAX); }
extern "C" int _wcsnicmp(const WCHAR* a, const WCHAR* b, size_t n) { return CompareFolded(a, b, n); }

extern "C" WCHAR* _wcsupr(WCHAR* s) {
    for (WCHAR* p = s; *p; ++p) *p = AsciiUpper(*p);
    return s;
}

extern "C" WCHAR* _wcslwr(WCHAR* s) {
    for (WCHAR* p = s; *p; ++p) *p = AsciiLower(*p);
    return s;
}

extern "C" WCHAR* _wcsdup(const WCHAR* s) {
    if (!s) return nullptr;
    const size_t bytes = (wcslen(s) + 1) * sizeof(WCHAR);
    auto* copy = static_cast<WCHAR*>(std::malloc(bytes));
    if (copy) std::memcpy(copy, s, bytes);
    return copy;
}

extern "C" char* _strupr(char* s) {
    for (char* p = s; *p; ++p) *p = AsciiUpper(*p);
    return s;
}

extern "C" char* _strlwr(char* s) {
    for (char* p = s; *p; ++p) *p = AsciiLower(*p);
    return s;
}

extern "C" char* _strrev(char* s) {
    const size_t n = std::strlen(s);
    for (size_t i = 0, j = n; i + 1 < j; ++i, --j) {
        const char t = s[i];
        s[i] = s[j - 1];
        s[j - 1] = t;
    }
    return s;
}

extern "C" int _stricmp(const char* a, const char* b) { return CompareFolded(a, b, SIZE_MAX); }
extern "C" int _strnicmp(const char* a, const char* b, size_t n) { return CompareFolded(a, b, n); }

extern "C" int _wtoi(const WCHAR* s) { return ParseDecimal(s); }
extern "C" LONG _wtol(const WCHAR* s) { return ParseDecimal(s); }

extern "C" char* _itoa(int value, char* buffer, int radix) { return FormatSigned32(value, buffer, radix); }
extern "C" char* _ltoa(LONG value, char* buffer, int radix) {
    return FormatSigned32(static_cast<int32_t>(value), buffer, radix);
}
extern "C" char* _ultoa(ULONG value, char* buffer, int radix) {
    return FormatRadix(uint64_t(uint32_t(value)), false, buffer, radix);
}
extern "C" WCHAR* _itow(int value, WCHAR* buffer, int radix) { return FormatSigned32(value, buffer, radix); }
extern "C" WCHAR* _ltow(LONG value, WCHAR* buffer, int radix) {
    return FormatSigned32(static_cast<int32_t>(value), buffer, radix);
}
extern "C" WCHAR* _ultow(ULONG value, WCHAR* buffer, int radix) {
    return FormatRadix(uint64_t(uint32_t(value)), false, buffer, radix);
}
