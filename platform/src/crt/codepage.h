// Conversion between 16-bit text and the code pages cehost knows (949 and UTF-8), shared by the code-page
// API, the C runtime's conversions, the formatters and the debug output.
#pragma once

#include <windows.h>

#include <string>

namespace cehost::crt {

enum class CodePage { Korean, Utf8 };

// Maps a Win32 code page number to one cehost knows; false for any other.
bool ResolveCodePage(UINT codePage, CodePage* out);

struct Conversion {
    size_t length = 0;        // units written (or needed, when measuring), without anything implied
    bool substituted = false; // an invalid or unmappable character was replaced
    bool truncated = false;   // the output was full before the input was used up
    bool invalid = false;     // strict mode met an invalid character and stopped
    bool unavailable = false; // the C library cannot convert this code page
};

// Converts `count` bytes. A null `out` measures the whole input. Otherwise at most `capacity` units are
// written, never half a surrogate pair. `strict` stops at the first invalid sequence instead of writing
// U+FFFD for it.
Conversion DecodeToWide(CodePage page, const char* in, size_t count, WCHAR* out, size_t capacity, bool strict);

// Converts `count` units. A null `out` measures. Otherwise at most `capacity` bytes are written, never half
// a double-byte character. Unmappable units become `replacement` (replacementLength bytes; '?' when null) in
// the Korean code page and U+FFFD in UTF-8; `strict` stops instead.
Conversion EncodeFromWide(CodePage page, const WCHAR* in, size_t count, char* out, size_t capacity, bool strict,
                          const char* replacement = nullptr, size_t replacementLength = 0);

// Whole-text helpers for the formatters and the debug output (substitution always on).
std::u16string AnsiToWideString(const char* in, size_t count);
std::string WideToAnsiString(const WCHAR* in, size_t count);
std::string WideToUtf8String(const WCHAR* in, size_t count);

// True for a byte that starts a two-byte character in code page 949.
inline bool IsKoreanLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// The longest prefix of `count` bytes of valid-looking code page 949 text that does not end inside a
// two-byte character.
size_t WholeAnsiPrefix(const char* text, size_t count);

} // namespace cehost::crt
