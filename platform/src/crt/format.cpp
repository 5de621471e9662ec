// The C runtime's printf family for 8-bit and 16-bit formats, with the Windows meaning of %s/%S and %c/%C
// and the target's 32-bit `l` size. Numbers are written by the C library's own snprintf, one conversion at
// a time; padding, texts, characters and pointers are done here so that widths never need a large buffer.
// Leaves out %Z (counted strings) and the positional arguments of the _p family.
#include "crt/format.h"
#include "crt/codepage.h"

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <type_traits>

namespace cehost::crt {

namespace {

// A va_list wrapped so that helpers can take it by reference on every ABI.
struct Args {
    va_list ap;
};

enum class IntSize { Int, Char, Short, Long32, LongLong, Pointer, Max };
enum class TextWidth { Natural, Narrow, Wide };

struct Directive {
    bool left = false, plus = false, space = false, alt = false, zero = false;
    size_t width = 0;
    int precision = -1;
    IntSize size = IntSize::Int;
    TextWidth text = TextWidth::Natural;
    bool longDouble = false;
};

std::string CFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string CFormat(const char* format, ...) {
    char small[128];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    if (n < 0) return std::string();
    if (static_cast<size_t>(n) < sizeof small) return std::string(small, static_cast<size_t>(n));
    std::string text(static_cast<size_t>(n) + 1, '\0');
    va_start(args, format);
    std::vsnprintf(text.data(), text.size(), format, args);
    va_end(args);
    text.resize(static_cast<size_t>(n));
    return text;
}

int64_t ReadSigned(Args& a, IntSize size) {
    switch (size) {
    case IntSize::Char:
        return static_cast<signed char>(va_arg(a.ap, int));
    case IntSize::Short:
        return static_cast<short>(va_arg(a.ap, int));
    case IntSize::Long32:
        // A long is 32-bit on the target: a 64-bit LONG prints by its low half, like a DWORD passed for %ld.
        return static_cast<int32_t>(va_arg(a.ap, long));
    case IntSize::LongLong:
        return va_arg(a.ap, long long);
    case IntSize::Pointer:
        return va_arg(a.ap, intptr_t);
    case IntSize::Max:
        return va_arg(a.ap, intmax_t);
    case IntSize::Int:
        break;
    }
    return va_arg(a.ap, int);
}

uint64_t ReadUnsigned(Args& a, IntSize size) {
    switch (size) {
    case IntSize::Char:
        return static_cast<unsigned char>(va_arg(a.ap, unsigned));
    case IntSize::Short:
        return static_cast<unsigned short>(va_arg(a.ap, unsigned));
    case IntSize::Long32:
        return static_cast<uint32_t>(va_arg(a.ap, unsigned long));
    case IntSize::LongLong:
        return va_arg(a.ap, unsigned long long);
    case IntSize::Pointer:
        return va_arg(a.ap, uintptr_t);
    case IntSize::Max:
        return va_arg(a.ap, uintmax_t);
    case IntSize::Int:
        break;
    }
    return va_arg(a.ap, unsigned);
}

// The flags and precision of `directive` as C printf text (the width is applied by Emit).
std::string CDirectivePrefix(const Directive& directive) {
    std::string s = "%";
    if (directive.plus) s += '+';
    if (directive.space) s += ' ';
    if (directive.alt) s += '#';
    if (directive.precision >= 0) s += '.' + std::to_string(directive.precision);
    return s;
}

template <class Ch> size_t TextLength(const Ch* s, int precision) {
    size_t n = 0;
    const size_t limit = precision < 0 ? SIZE_MAX : static_cast<size_t>(precision);
    while (n < limit && s[n]) ++n;
    return n;
}

// Writes `text` padded to the width. `zeroAt` is where zeros go when the '0' flag pads (after a sign or a
// 0x prefix), or npos when this conversion pads with spaces only.
template <class Ch, class Src>
void Emit(FormatSink<Ch>& out, const Directive& directive, const Src* text, size_t n, size_t zeroAt) {
    const size_t pad = directive.width > n ? directive.width - n : 0;
    if (directive.left) {
        for (size_t i = 0; i < n; ++i) out.Put(static_cast<Ch>(text[i]));
        for (size_t i = 0; i < pad; ++i) out.Put(' ');
        return;
    }
    if (directive.zero && zeroAt != std::string::npos) {
        for (size_t i = 0; i < zeroAt; ++i) out.Put(static_cast<Ch>(text[i]));
        for (size_t i = 0; i < pad; ++i) out.Put('0');
        for (size_t i = zeroAt; i < n; ++i) out.Put(static_cast<Ch>(text[i]));
        return;
    }
    for (size_t i = 0; i < pad; ++i) out.Put(' ');
    for (size_t i = 0; i < n; ++i) out.Put(static_cast<Ch>(text[i]));
}

// Where zero padding goes in a number's text: after its sign and radix prefix. Infinities and NaNs pad
// with spaces.
size_t NumberZeroPoint(const std::string& text, bool floating) {
    if (floating && text.find_first_of("iInN") != std::string::npos &&
        text.find_first_of("xX") == std::string::npos)
        return std::string::npos;
    size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+' || text[i] == ' ')) ++i;
    if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) i += 2;
    return i;
}

template <class Ch> void EmitNumber(FormatSink<Ch>& out, const Directive& directive, const std::string& text, bool floating) {
    // As in C, an integer with a precision ignores the '0' flag.
    size_t zeroAt = (!floating && directive.precision >= 0) ? std::string::npos : NumberZeroPoint(text, floating);
    Emit(out, directive, text.data(), text.size(), zeroAt);
}

// Texts of the other width are converted through the ANSI code page. A precision counts units of the
// argument, which is never read beyond it, and of the output.
void EmitOtherText(FormatSink<WCHAR>& out, const Directive& directive, const char* s) {
    size_t n = TextLength(s, directive.precision);
    if (directive.precision >= 0) n = WholeAnsiPrefix(s, n);
    const std::u16string wide = AnsiToWideString(s, n);
    Emit(out, directive, wide.data(), wide.size(), 0);
}

void EmitOtherText(FormatSink<char>& out, const Directive& directive, const WCHAR* s) {
    std::string ansi = WideToAnsiString(s, TextLength(s, directive.precision));
    if (directive.precision >= 0 && ansi.size() > static_cast<size_t>(directive.precision))
        ansi.resize(WholeAnsiPrefix(ansi.data(), static_cast<size_t>(directive.precision)));
    Emit(out, directive, ansi.data(), ansi.size(), 0);
}

void EmitOtherChar(FormatSink<WCHAR>& out, const Directive& directive, char c) {
    const std::u16string wide = AnsiToWideString(&c, 1);
    Emit(out, directive, wide.data(), wide.size(), 0);
}

void EmitOtherChar(FormatSink<char>& out, const Directive& directive, WCHAR c) {
    const std::string ansi = WideToAnsiString(&c, 1);
    Emit(out, directive, ansi.data(), ansi.size(), 0);
}

template <class Ch> using OtherChar = std::conditional_t<std::is_same_v<Ch, char>, WCHAR, char>;

template <class Ch> bool WantsOtherWidth(const Directive& directive, bool upper) {
    if (directive.text == TextWidth::Narrow) return !std::is_same_v<Ch, char>;
    if (directive.text == TextWidth::Wide) return std::is_same_v<Ch, char>;
    return upper;
}

int ReadStarArgument(Args& a) { return va_arg(a.ap, int); }

template <class Ch> const Ch* ParseNumber(const Ch* f, size_t* value) {
    size_t v = 0;
    for (; *f >= '0' && *f <= '9'; ++f) v = v > INT_MAX / 10 ? size_t{INT_MAX} : v * 10 + size_t(*f - '0');
    *value = v > INT_MAX ? size_t{INT_MAX} : v;
    return f;
}

template <class Ch> const Ch* ParseDirective(const Ch* f, Directive& directive, Args& a) {
    for (;; ++f) {
        if (*f == '-')
            directive.left = true;
        else if (*f == '+')
            directive.plus = true;
        else if (*f == ' ')
            directive.space = true;
        else if (*f == '#')
            directive.alt = true;
        else if (*f == '0')
            directive.zero = true;
        else
            break;
    }
    if (*f == '*') {
        const int w = ReadStarArgument(a);
        if (w < 0) directive.left = true;
        directive.width = w < 0 ? (w == INT_MIN ? size_t{INT_MAX} : size_t(-w)) : size_t(w);
        ++f;
    } else {
        f = ParseNumber(f, &directive.width);
    }
    if (*f == '.') {
        ++f;
        if (*f == '*') {
            const int p = ReadStarArgument(a);
            directive.precision = p < 0 ? -1 : p;
            ++f;
        } else {
            size_t p;
            f = ParseNumber(f, &p);
            directive.precision = static_cast<int>(p);
        }
    }
    switch (*f) {
    case 'h':
        if (f[1] == 'h') {
            directive.size = IntSize::Char;
            f += 2;
        } else {
            directive.size = IntSize::Short;
            directive.text = TextWidth::Narrow;
            ++f;
        }
        break;
    case 'l':
        if (f[1] == 'l') {
            directive.size = IntSize::LongLong;
            f += 2;
        } else {
            directive.size = IntSize::Long32;
            directive.text = TextWidth::Wide;
            ++f;
        }
        break;
    case 'w':
        directive.size = IntSize::Long32;
        directive.text = TextWidth::Wide;
        ++f;
        break;
    case 'L':
        directive.longDouble = true;
        directive.size = IntSize::LongLong;
        ++f;
        break;
    case 'I':
        if (f[1] == '6' && f[2] == '4') {
            directive.size = IntSize::LongLong;
            f += 3;
        } else if (f[1] == '3' && f[2] == '2') {
            directive.size = IntSize::Int;
            f += 3;
        } else {
            directive.size = IntSize::Pointer;
            ++f;
        }
        break;
    case 'z':
    case 't':
        directive.size = IntSize::Pointer;
        ++f;
        break;
    case 'j':
        directive.size = IntSize::Max;
        ++f;
        break;
    default:
        break;
    }
    return f;
}

template <class Ch> size_t FormatImpl(FormatSink<Ch>& out, const Ch* f, Args& a) {
    while (*f) {
        if (*f != '%') {
            out.Put(*f++);
            continue;
        }
        Directive directive;
        f = ParseDirective(f + 1, directive, a);
        const Ch conversion = *f;
        if (!conversion) break;
        ++f;
        switch (conversion) {
        case 'd':
        case 'i':
            EmitNumber(out, directive, CFormat((CDirectivePrefix(directive) + "lld").c_str(), (long long)ReadSigned(a, directive.size)),
                       false);
            break;
        case 'u':
        case 'o':
        case 'x':
        case 'X': {
            const char tail[4] = {'l', 'l', static_cast<char>(conversion), '\0'};
            EmitNumber(out, directive,
                       CFormat((CDirectivePrefix(directive) + tail).c_str(), (unsigned long long)ReadUnsigned(a, directive.size)),
                       false);
            break;
        }
        case 'e':
        case 'E':
        case 'f':
        case 'F':
        case 'g':
        case 'G':
        case 'a':
        case 'A': {
            const char tail[2] = {static_cast<char>(conversion), '\0'};
            std::string text = directive.longDouble
                                   ? CFormat((CDirectivePrefix(directive) + "L" + tail).c_str(), va_arg(a.ap, long double))
                                   : CFormat((CDirectivePrefix(directive) + tail).c_str(), va_arg(a.ap, double));
            EmitNumber(out, directive, text, true);
            break;
        }
        case 'p': {
            const std::string text = CFormat("%016llX", (unsigned long long)(uintptr_t)va_arg(a.ap, void*));
            Emit(out, directive, text.data(), text.size(), 0);
            break;
        }
        case 'c':
        case 'C': {
            const int value = va_arg(a.ap, int);
            if (WantsOtherWidth<Ch>(directive, conversion == 'C')) {
                EmitOtherChar(out, directive, static_cast<OtherChar<Ch>>(value));
            } else {
                const Ch c = static_cast<Ch>(value);
                Emit(out, directive, &c, 1, 0);
            }
            break;
        }
        case 's':
        case 'S': {
            static const char kNull[] = "(null)";
            if (WantsOtherWidth<Ch>(directive, conversion == 'S')) {
                const auto* s = va_arg(a.ap, const OtherChar<Ch>*);
                if (s)
                    EmitOtherText(out, directive, s);
                else
                    Emit(out, directive, kNull, TextLength(kNull, directive.precision), 0);
            } else {
                const auto* s = va_arg(a.ap, const Ch*);
                if (s)
                    Emit(out, directive, s, TextLength(s, directive.precision), 0);
                else
                    Emit(out, directive, kNull, TextLength(kNull, directive.precision), 0);
            }
            break;
        }
        case 'n':
            // Writing through a format is a classic attack; the Windows runtime refuses it too.
            (void)va_arg(a.ap, void*);
            break;
        default:
            // '%' itself, and any letter the runtime does not know, print as they are.
            out.Put(conversion);
            break;
        }
    }
    return out.length;
}

// The shared contract of _vsnprintf and _vsnwprintf (see crt.h).
template <class Ch> int BoundedFormat(Ch* buffer, size_t count, const Ch* format, va_list args) {
    if (!format || (!buffer && count)) return -1;
    FormatSink<Ch> sink;
    sink.buffer = buffer;
    sink.capacity = buffer ? count : 0;
    Args a;
    va_copy(a.ap, args);
    const size_t n = FormatImpl(sink, format, a);
    va_end(a.ap);
    if (!buffer) return n > INT_MAX ? -1 : static_cast<int>(n);
    if (n < count) {
        buffer[n] = 0;
        return n > INT_MAX ? -1 : static_cast<int>(n);
    }
    return n == count && n <= INT_MAX ? static_cast<int>(n) : -1;
}

} // namespace

size_t Format(FormatSink<char>& sink, const char* format, va_list args) {
    Args a;
    va_copy(a.ap, args);
    const size_t n = FormatImpl(sink, format, a);
    va_end(a.ap);
    return n;
}

size_t Format(FormatSink<WCHAR>& sink, const WCHAR* format, va_list args) {
    Args a;
    va_copy(a.ap, args);
    const size_t n = FormatImpl(sink, format, a);
    va_end(a.ap);
    return n;
}

std::u16string FormatToString(const WCHAR* format, va_list args) {
    std::u16string text;
    if (!format) return text;
    FormatSink<WCHAR> sink;
    sink.grow = &text;
    Format(sink, format, args);
    return text;
}

} // namespace cehost::crt

using cehost::crt::FormatSink;

extern "C" int _vsnprintf(char* buffer, size_t count, const char* format, va_list args) {
    return cehost::crt::BoundedFormat(buffer, count, format, args);
}

extern "C" int _snprintf(char* buffer, size_t count, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const int n = _vsnprintf(buffer, count, format, args);
    va_end(args);
    return n;
}

extern "C" int _vsnwprintf(WCHAR* buffer, size_t count, const WCHAR* format, va_list args) {
    return cehost::crt::BoundedFormat(buffer, count, format, args);
}

extern "C" int _snwprintf(WCHAR* buffer, size_t count, const WCHAR* format, ...) {
    va_list args;
    va_start(args, format);
    const int n = _vsnwprintf(buffer, count, format, args);
    va_end(args);
    return n;
}

extern "C" int _vscwprintf(const WCHAR* format, va_list args) { return _vsnwprintf(nullptr, 0, format, args); }
extern "C" int _vscprintf(const char* format, va_list args) { return _vsnprintf(nullptr, 0, format, args); }

int vswprintf(WCHAR* buffer, const WCHAR* format, va_list args) {
    if (!buffer || !format) return -1;
    FormatSink<WCHAR> sink;
    sink.buffer = buffer;
    sink.capacity = SIZE_MAX;
    const size_t n = cehost::crt::Format(sink, format, args);
    buffer[n] = 0;
    return n > INT_MAX ? -1 : static_cast<int>(n);
}

int swprintf(WCHAR* buffer, const WCHAR* format, ...) {
    va_list args;
    va_start(args, format);
    const int n = vswprintf(buffer, format, args);
    va_end(args);
    return n;
}

int vswprintf(WCHAR* buffer, size_t count, const WCHAR* format, va_list args) {
    if (!buffer || !format || count == 0) return -1;
    FormatSink<WCHAR> sink;
    sink.buffer = buffer;
    sink.capacity = count;
    const size_t n = cehost::crt::Format(sink, format, args);
    if (n < count) {
        buffer[n] = 0;
        return n > INT_MAX ? -1 : static_cast<int>(n);
    }
    buffer[count - 1] = 0;
    return -1;
}

int swprintf(WCHAR* buffer, size_t count, const WCHAR* format, ...) {
    va_list args;
    va_start(args, format);
    const int n = vswprintf(buffer, count, format, args);
    va_end(args);
    return n;
}

extern "C" int wvsprintfW(LPWSTR buffer, LPCWSTR format, va_list args) {
    constexpr size_t kLimit = 1024; // units, terminator included, as the window manager's formatter allows
    if (!buffer || !format) return 0;
    FormatSink<WCHAR> sink;
    sink.buffer = buffer;
    sink.capacity = kLimit - 1;
    const size_t n = cehost::crt::Format(sink, format, args);
    const size_t written = n < kLimit - 1 ? n : kLimit - 1;
    buffer[written] = 0;
    return static_cast<int>(written);
}

extern "C" int wsprintfW(LPWSTR buffer, LPCWSTR format, ...) {
    va_list args;
    va_start(args, format);
    const int n = wvsprintfW(buffer, format, args);
    va_end(args);
    return n;
}
