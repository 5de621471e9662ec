// The ANSI code page (949) and UTF-8 through the C library's iconv: MultiByteToWideChar,
// WideCharToMultiByte, wcstombs, mbstowcs and the lead-byte queries. glibc's iconv carries code page 949 in
// its own conversion modules (as "CP949", the Unified Hangul Code), so it works without any locale.
// Leaves out every other code page and the best-fit mappings Windows applies for some of them.
#include "crt/codepage.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <optional>
#include <type_traits>

namespace cehost::crt {

namespace {

#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
constexpr const char* kWideName = "UTF-16LE";
#else
constexpr const char* kWideName = "UTF-16BE";
#endif

const char* IconvName(CodePage page) { return page == CodePage::Korean ? "CP949" : "UTF-8"; }

// iconv descriptors carry conversion state, so each thread keeps its own, opened on first use.
class Converters {
public:
    ~Converters() {
        for (auto& cd : decoders_)
            if (cd != kClosed) iconv_close(cd);
        for (auto& cd : encoders_)
            if (cd != kClosed) iconv_close(cd);
    }
    iconv_t Decoder(CodePage page) { return Open(decoders_[Index(page)], kWideName, IconvName(page)); }
    iconv_t Encoder(CodePage page) { return Open(encoders_[Index(page)], IconvName(page), kWideName); }

private:
    static inline const iconv_t kClosed = reinterpret_cast<iconv_t>(-1);
    static int Index(CodePage page) { return page == CodePage::Korean ? 0 : 1; }
    static iconv_t Open(iconv_t& slot, const char* to, const char* from) {
        if (slot == kClosed) slot = iconv_open(to, from);
        if (slot != kClosed) iconv(slot, nullptr, nullptr, nullptr, nullptr); // fresh shift state
        return slot;
    }
    iconv_t decoders_[2] = {kClosed, kClosed};
    iconv_t encoders_[2] = {kClosed, kClosed};
};

Converters& ThreadConverters() {
    thread_local Converters converters;
    return converters;
}

// Runs iconv over `in`, replacing what it rejects, in units of `inUnit` bytes (1 for 8-bit input, 2 for
// 16-bit input). `out` is null to measure; lengths here are in bytes.
// Code page 949 as Windows reads it, where iconv rejects a byte: a lead byte takes the byte after it along
// (the pair is one unknown character) unless it ends the text, and the two single bytes the code page's table adds to the standard
// map to U+0080 and U+F8F7. Returns the character and how many bytes it stands for.
WCHAR KoreanFallback(const char* in, size_t inBytes, size_t* skip) {
    const unsigned char b = static_cast<unsigned char>(in[0]);
    *skip = b >= 0x81 && b <= 0xFE && inBytes >= 2 && in[1] != 0 ? 2 : 1;
    return b == 0x80 ? 0x0080 : b == 0xFF ? 0xF8F7 : u'?';
}

Conversion Run(iconv_t cd, const char* in, size_t inBytes, size_t inUnit, char* out, size_t outBytes,
               bool strict, const char* replacement, size_t replacementBytes, bool korean = false) {
    Conversion result;
    size_t produced = 0;
    char scratch[512];
    while (inBytes > 0) {
        char* to = out ? out + produced : scratch;
        size_t room = out ? outBytes - produced : sizeof scratch;
        char* const start = to;
        char* from = const_cast<char*>(in);
        size_t r = iconv(cd, &from, &inBytes, &to, &room);
        const int error = errno;
        produced += static_cast<size_t>(to - start);
        in = from;
        if (r != static_cast<size_t>(-1)) break;
        if (error == E2BIG) {
            if (out) {
                result.truncated = true;
                break;
            }
            continue;
        }
        // EILSEQ (a sequence that is invalid or has no form in the target) or EINVAL (the input ends inside
        // a sequence): one input unit is replaced and the rest is read again from the next unit.
        size_t skip = inBytes < inUnit ? inBytes : inUnit;
        WCHAR fallback = 0;
        if (korean) {
            fallback = KoreanFallback(in, inBytes, &skip);
            replacement = reinterpret_cast<const char*>(&fallback);
        }
        const bool mapped = korean && fallback != u'?';
        if (strict && !mapped) {
            result.invalid = true;
            break;
        }
        result.substituted = result.substituted || !mapped;
        if (out && outBytes - produced < replacementBytes) {
            result.truncated = true;
            break;
        }
        if (out) std::memcpy(out + produced, replacement, replacementBytes);
        produced += replacementBytes;
        in += skip;
        inBytes -= skip;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    result.length = produced;
    return result;
}

// Both code pages keep ASCII as it is, and most text is ASCII: the run of it at the start of `in` is copied
// here (`*ascii` units), so iconv only sees what follows. The conversion is finished when that run was the
// whole input or filled `out`.
template <typename From, typename To>
std::optional<Conversion> CopyLeadingAscii(const From* in, size_t count, To* out, size_t capacity,
                                           size_t* ascii) {
    using Unit = std::make_unsigned_t<From>;
    size_t n = 0;
    while (n < count && static_cast<Unit>(in[n]) < 0x80 && (!out || n < capacity)) {
        if (out) out[n] = static_cast<To>(static_cast<Unit>(in[n]));
        ++n;
    }
    *ascii = n;
    if (n < count && !(out && n == capacity)) return std::nullopt;
    Conversion result;
    result.length = n;
    result.truncated = n < count;
    return result;
}

} // namespace

bool ResolveCodePage(UINT codePage, CodePage* out) {
    switch (codePage) {
    case CP_ACP:
    case CP_OEMCP:
    case CP_THREAD_ACP:
    case 949:
        *out = CodePage::Korean;
        return true;
    case CP_UTF8:
        *out = CodePage::Utf8;
        return true;
    default:
        return false;
    }
}

Conversion DecodeToWide(CodePage page, const char* in, size_t count, WCHAR* out, size_t capacity, bool strict) {
    size_t ascii = 0;
    if (auto done = CopyLeadingAscii(in, count, out, capacity, &ascii)) return *done;
    Conversion result;
    iconv_t cd = ThreadConverters().Decoder(page);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        result.unavailable = true;
        return result;
    }
    static const WCHAR kReplacement = 0xFFFD;
    result = Run(cd, in + ascii, count - ascii, 1, out ? reinterpret_cast<char*>(out + ascii) : nullptr,
                 (capacity - ascii) * sizeof(WCHAR), strict, reinterpret_cast<const char*>(&kReplacement),
                 sizeof kReplacement, page == CodePage::Korean);
    result.length = ascii + result.length / sizeof(WCHAR);
    return result;
}

Conversion EncodeFromWide(CodePage page, const WCHAR* in, size_t count, char* out, size_t capacity, bool strict,
                          const char* replacement, size_t replacementLength) {
    size_t ascii = 0;
    if (auto done = CopyLeadingAscii(in, count, out, capacity, &ascii)) return *done;
    Conversion result;
    iconv_t cd = ThreadConverters().Encoder(page);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        result.unavailable = true;
        return result;
    }
    static const char kUtf8Replacement[] = "\xEF\xBF\xBD";
    if (page == CodePage::Utf8) {
        replacement = kUtf8Replacement;
        replacementLength = 3;
    } else if (!replacement || replacementLength == 0) {
        replacement = "?";
        replacementLength = 1;
    }
    result = Run(cd, reinterpret_cast<const char*>(in + ascii), (count - ascii) * sizeof(WCHAR), sizeof(WCHAR),
                 out ? out + ascii : nullptr, capacity - ascii, strict, replacement, replacementLength);
    result.length += ascii;
    return result;
}

std::u16string AnsiToWideString(const char* in, size_t count) {
    std::u16string text(count, u'\0'); // one byte never gives more than one unit
    Conversion c = DecodeToWide(CodePage::Korean, in, count, text.data(), text.size(), false);
    text.resize(c.length);
    return text;
}

namespace {
std::string EncodeString(CodePage page, const WCHAR* in, size_t count, size_t perUnit) {
    std::string text(count * perUnit, '\0');
    Conversion c = EncodeFromWide(page, in, count, text.data(), text.size(), false);
    text.resize(c.length);
    return text;
}
} // namespace

// A unit gives at most two bytes in 949 (a replacement is one) and at most three in UTF-8 (a pair gives four
// bytes for two units).
std::string WideToAnsiString(const WCHAR* in, size_t count) { return EncodeString(CodePage::Korean, in, count, 2); }
std::string WideToUtf8String(const WCHAR* in, size_t count) { return EncodeString(CodePage::Utf8, in, count, 3); }

size_t WholeAnsiPrefix(const char* text, size_t count) {
    size_t i = 0;
    while (i < count) {
        const size_t width = IsKoreanLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
        if (i + width > count) break;
        i += width;
    }
    return i;
}

} // namespace cehost::crt

using cehost::crt::CodePage;
using cehost::crt::Conversion;

namespace {

// What MultiByteToWideChar and WideCharToMultiByte answer for a conversion: the units it wrote (or needs),
// else 0 with the reason as the last error.
int CountOrError(const Conversion& c) {
    DWORD error = ERROR_SUCCESS;
    if (c.unavailable)
        error = ERROR_NOT_SUPPORTED;
    else if (c.invalid)
        error = ERROR_NO_UNICODE_TRANSLATION;
    else if (c.truncated)
        error = ERROR_INSUFFICIENT_BUFFER;
    else if (c.length > 0x7FFFFFFF)
        error = ERROR_INVALID_PARAMETER;
    if (error == ERROR_SUCCESS) return static_cast<int>(c.length);
    SetLastError(error);
    return 0;
}

} // namespace

extern "C" UINT GetACP(void) { return 949; }
extern "C" UINT GetOEMCP(void) { return 949; }

extern "C" BOOL IsDBCSLeadByteEx(UINT codePage, BYTE testChar) {
    CodePage page;
    if (!cehost::crt::ResolveCodePage(codePage, &page)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return page == CodePage::Korean && cehost::crt::IsKoreanLeadByte(testChar);
}

extern "C" BOOL IsDBCSLeadByte(BYTE testChar) { return cehost::crt::IsKoreanLeadByte(testChar); }

extern "C" int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR multiByte, int multiByteCount,
                                   LPWSTR wide, int wideCount) {
    CodePage page;
    if (!multiByte || multiByteCount == 0 || multiByteCount < -1 || wideCount < 0 || (wideCount > 0 && !wide) ||
        !cehost::crt::ResolveCodePage(codePage, &page)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const DWORD allowed = page == CodePage::Utf8
                              ? MB_ERR_INVALID_CHARS
                              : MB_PRECOMPOSED | MB_COMPOSITE | MB_USEGLYPHCHARS | MB_ERR_INVALID_CHARS;
    if ((flags & ~allowed) || ((flags & MB_PRECOMPOSED) && (flags & MB_COMPOSITE))) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    const size_t count = multiByteCount == -1 ? std::strlen(multiByte) + 1 : static_cast<size_t>(multiByteCount);
    Conversion c = cehost::crt::DecodeToWide(page, multiByte, count, wideCount ? wide : nullptr,
                                             static_cast<size_t>(wideCount), flags & MB_ERR_INVALID_CHARS);
    return CountOrError(c);
}

extern "C" int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideCount, LPSTR multiByte,
                                   int multiByteCount, LPCSTR defaultChar, LPBOOL usedDefaultChar) {
    CodePage page;
    if (!wide || wideCount == 0 || wideCount < -1 || multiByteCount < 0 || (multiByteCount > 0 && !multiByte) ||
        !cehost::crt::ResolveCodePage(codePage, &page) ||
        (page == CodePage::Utf8 && (defaultChar || usedDefaultChar))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const DWORD allowed = page == CodePage::Utf8 ? WC_ERR_INVALID_CHARS
                                                 : WC_COMPOSITECHECK | WC_DISCARDNS | WC_SEPCHARS |
                                                       WC_DEFAULTCHAR | WC_NO_BEST_FIT_CHARS;
    if (flags & ~allowed) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    // The default character is one character of the code page: one byte, or a lead byte and its trail.
    size_t defaultLength = 0;
    if (defaultChar && defaultChar[0]) {
        defaultLength = cehost::crt::IsKoreanLeadByte(static_cast<unsigned char>(defaultChar[0])) && defaultChar[1]
                            ? 2
                            : 1;
    }
    size_t count = static_cast<size_t>(wideCount);
    if (wideCount == -1) count = wcslen(wide) + 1;
    Conversion c = cehost::crt::EncodeFromWide(page, wide, count, multiByteCount ? multiByte : nullptr,
                                               static_cast<size_t>(multiByteCount), flags & WC_ERR_INVALID_CHARS,
                                               defaultLength ? defaultChar : nullptr, defaultLength);
    if (usedDefaultChar) *usedDefaultChar = c.substituted ? TRUE : FALSE;
    return CountOrError(c);
}

size_t wcstombs(char* dst, const WCHAR* src, size_t count) {
    if (!src) return static_cast<size_t>(-1);
    const size_t units = wcslen(src);
    Conversion c = cehost::crt::EncodeFromWide(CodePage::Korean, src, units, dst, dst ? count : 0, false);
    if (c.unavailable) return static_cast<size_t>(-1);
    if (dst && c.length < count) dst[c.length] = '\0';
    return c.substituted ? static_cast<size_t>(-1) : c.length;
}

size_t mbstowcs(WCHAR* dst, const char* src, size_t count) {
    if (!src) return static_cast<size_t>(-1);
    const size_t bytes = std::strlen(src);
    Conversion c = cehost::crt::DecodeToWide(CodePage::Korean, src, bytes, dst, dst ? count : 0, false);
    if (c.unavailable) return static_cast<size_t>(-1);
    if (dst && c.length < count) dst[c.length] = u'\0';
    return c.substituted ? static_cast<size_t>(-1) : c.length;
}

size_t mbstowcs(std::nullptr_t, const char* src, size_t count) {
    return mbstowcs(static_cast<WCHAR*>(nullptr), src, count);
}
