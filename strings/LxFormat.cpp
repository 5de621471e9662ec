// LxFormat: a string from a printf-style format, through the platform's _vsnprintf and _vsnwprintf.
#include "LxString.h"

#include <cstdarg>
#include <memory>

namespace {

// Units of the scratch area each form formats into.
constexpr size_t kScratchUnits = 65535;

// Output that filled the scratch area is cut to its first kScratchUnits - 1 units, without the first half of a
// character the cut would split: a lead byte of the code page, or a high surrogate.
size_t CutAnsi(const char* text) {
    size_t end = 0;
    while (end < kScratchUnits - 1) {
        const size_t width = IsDBCSLeadByte(static_cast<BYTE>(text[end])) ? 2 : 1;
        if (end + width > kScratchUnits - 1) break;
        end += width;
    }
    return end;
}

size_t CutWide(const WCHAR* text) {
    const size_t end = kScratchUnits - 1;
    return (text[end - 1] >= 0xD800 && text[end - 1] <= 0xDBFF) ? end - 1 : end;
}

} // namespace

LxString LxFormat(const char* format, ...) {
    LxString result("");
    if (!format) return result;
    std::unique_ptr<char[]> scratch(new char[kScratchUnits]);
    va_list args;
    va_start(args, format);
    const int n = _vsnprintf(scratch.get(), kScratchUnits, format, args);
    va_end(args);
    if (n < 0 || static_cast<size_t>(n) >= kScratchUnits) scratch[CutAnsi(scratch.get())] = 0;
    result = scratch.get();
    return result;
}

LxString LxFormat(const WCHAR* format, ...) {
    LxString result("");
    if (!format) return result;
    std::unique_ptr<WCHAR[]> scratch(new WCHAR[kScratchUnits]);
    va_list args;
    va_start(args, format);
    const int n = _vsnwprintf(scratch.get(), kScratchUnits, format, args);
    va_end(args);
    if (n < 0 || static_cast<size_t>(n) >= kScratchUnits) scratch[CutWide(scratch.get())] = 0;
    result = scratch.get();
    return result;
}
