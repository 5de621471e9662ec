// The C runtime pieces that Windows has for 16-bit text and the ANSI code page, and Linux lacks.
//
// The ANSI code page is 949 (Korean, double-byte): one wide character becomes one or two bytes. Conversions
// go through the C library's iconv, which carries this code page itself, so no locale has to be installed.
//
// glibc's wcs* functions take wchar_t (32-bit here); the 16-bit forms below are C++ overloads on WCHAR of the
// same names. Names that glibc does not have (_wcsicmp, _vsnwprintf, _strupr, ...) keep C linkage.
//
// Case mapping is that of the default C locale: only the letters A-Z and a-z change.
//
// Conversion of text the code page cannot represent (host decisions, where Windows leaves the output open):
// - Wide to 8-bit: every 16-bit unit without a form in the code page becomes the default character '?' (a
//   surrogate pair therefore becomes "??", as on Windows for double-byte code pages; CP_UTF8 encodes pairs).
// - 8-bit to wide: every byte that does not start a valid character becomes U+FFFD. A lead byte whose next
//   byte is not a valid trail byte gives U+FFFD alone, and the next byte is read again as the start of a
//   character, so the ASCII text around a broken character is never lost.
// - wcstombs/mbstowcs write the whole substituted text (as the Windows C runtime does) and then return
//   (size_t)-1 to say that something was substituted; callers that only read the output get a readable text.
// - Outputs never receive a partial double-byte character or half of a surrogate pair.
#pragma once

#include <cehost/win/types.h>

#include <cstdarg>
#include <cstddef>

// Code pages and conversion flags.
#define CP_ACP 0
#define CP_OEMCP 1
#define CP_MACCP 2
#define CP_THREAD_ACP 3
#define CP_UTF8 65001
#define MB_PRECOMPOSED 0x00000001
#define MB_COMPOSITE 0x00000002
#define MB_USEGLYPHCHARS 0x00000004
#define MB_ERR_INVALID_CHARS 0x00000008
#define WC_COMPOSITECHECK 0x00000200
#define WC_DISCARDNS 0x00000010
#define WC_SEPCHARS 0x00000020
#define WC_DEFAULTCHAR 0x00000040
#define WC_ERR_INVALID_CHARS 0x00000080
#define WC_NO_BEST_FIT_CHARS 0x00000400

// The ANSI and OEM code pages of the system: both 949.
CEHOST_API UINT WINAPI GetACP(void);
CEHOST_API UINT WINAPI GetOEMCP(void);
CEHOST_API BOOL WINAPI IsDBCSLeadByte(BYTE testChar);
CEHOST_API BOOL WINAPI IsDBCSLeadByteEx(UINT codePage, BYTE testChar);

// Code pages: CP_ACP, CP_OEMCP, CP_THREAD_ACP and 949 (all the same), CP_UTF8. A length of -1 converts
// through the terminator, which is counted. A zero output size asks for the size needed. An output buffer
// that is too small receives the complete characters that fit, and the call fails with
// ERROR_INSUFFICIENT_BUFFER.
CEHOST_API int WINAPI MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR multiByte, int multiByteCount,
                                          LPWSTR wide, int wideCount);
CEHOST_API int WINAPI WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideCount,
                                          LPSTR multiByte, int multiByteCount, LPCSTR defaultChar,
                                          LPBOOL usedDefaultChar);

// Case mapping in place over the whole basic plane, whatever the process's locale; the result is the count.
CEHOST_API DWORD WINAPI CharUpperBuffW(LPWSTR lpsz, DWORD cchLength);
CEHOST_API DWORD WINAPI CharLowerBuffW(LPWSTR lpsz, DWORD cchLength);

// 16-bit text. A null pointer is the caller's fault, as with the C runtime.
size_t wcslen(const WCHAR* s);
WCHAR* wcscpy(WCHAR* dst, const WCHAR* src);
// Copies at most n units and fills the rest of the n with zeros; no terminator when src has n or more units.
WCHAR* wcsncpy(WCHAR* dst, const WCHAR* src, size_t n);
WCHAR* wcscat(WCHAR* dst, const WCHAR* src);
// Appends at most n units and always a terminator.
WCHAR* wcsncat(WCHAR* dst, const WCHAR* src, size_t n);
int wcscmp(const WCHAR* a, const WCHAR* b);
int wcsncmp(const WCHAR* a, const WCHAR* b, size_t n);
const WCHAR* wcschr(const WCHAR* s, WCHAR c);
WCHAR* wcschr(WCHAR* s, WCHAR c);
const WCHAR* wcsrchr(const WCHAR* s, WCHAR c);
WCHAR* wcsrchr(WCHAR* s, WCHAR c);
const WCHAR* wcsstr(const WCHAR* s, const WCHAR* find);
WCHAR* wcsstr(WCHAR* s, const WCHAR* find);
CEHOST_API int _wcsicmp(const WCHAR* a, const WCHAR* b);
CEHOST_API int _wcsnicmp(const WCHAR* a, const WCHAR* b, size_t n);
CEHOST_API WCHAR* _wcsupr(WCHAR* s);
CEHOST_API WCHAR* _wcslwr(WCHAR* s);
// A copy made with malloc, released with free.
CEHOST_API WCHAR* _wcsdup(const WCHAR* s);

// 8-bit text, byte by byte (double-byte characters are not recognised, as in the C locale).
CEHOST_API char* _strupr(char* s);
CEHOST_API char* _strlwr(char* s);
CEHOST_API char* _strrev(char* s);
CEHOST_API int _stricmp(const char* a, const char* b);
CEHOST_API int _strnicmp(const char* a, const char* b, size_t n);

// Conversion between 16-bit text and the ANSI code page. With a null output they return the size needed
// (without the terminator). Otherwise they write at most `count` bytes or units, a terminator only when it
// fits, and return what they wrote without the terminator; (size_t)-1 for a null input or after a
// substitution (see above).
size_t wcstombs(char* dst, const WCHAR* src, size_t count);
size_t mbstowcs(WCHAR* dst, const char* src, size_t count);
size_t mbstowcs(std::nullptr_t, const char* src, size_t count);

// Numbers. Parsing skips leading white space, takes a sign and decimal digits, and saturates at the limits
// of the 32-bit result. Formatting takes a radix from 2 to 36; only radix 10 writes a minus sign. LONG and
// ULONG values are taken as 32-bit, as on the target.
CEHOST_API int _wtoi(const WCHAR* s);
CEHOST_API LONG _wtol(const WCHAR* s);
CEHOST_API char* _itoa(int value, char* buffer, int radix);
CEHOST_API char* _ltoa(LONG value, char* buffer, int radix);
CEHOST_API char* _ultoa(ULONG value, char* buffer, int radix);
CEHOST_API WCHAR* _itow(int value, WCHAR* buffer, int radix);
CEHOST_API WCHAR* _ltow(LONG value, WCHAR* buffer, int radix);
CEHOST_API WCHAR* _ultow(ULONG value, WCHAR* buffer, int radix);

// printf-style formatting as the Windows C runtime does it.
// - In a wide format %s and %c take 16-bit text and characters, %S and %C 8-bit ones (ANSI code page); in an
//   8-bit format it is the other way round. %hs/%hc are always 8-bit, %ls/%lc/%ws/%wc always 16-bit.
// - %d %i %u %o %x %X with the sizes h, hh, l, ll, I32, I64, I (pointer-sized), z, t, j; flags - + space # 0;
//   width and precision, also as '*'. Sizes as on the 32-bit target: %ld and %lu print 32-bit values, so a
//   LONG or a DWORD argument prints the same way.
// - %e %E %f %F %g %G %a %A take a double (L: long double). %p prints the pointer as 16 upper-case hex
//   digits. %% prints %. %n writes nothing. A null text prints "(null)". An unknown conversion prints its
//   letter. The '0' flag pads texts as well as numbers, as on Windows.
//
// _vsnprintf/_vsnwprintf: write at most `count` units. When the text and its terminator fit they are written
// and the length is returned; when the text is exactly `count` units long it is written without terminator
// and `count` is returned; when it is longer the first `count` units are written without terminator and -1
// is returned. A null buffer with a zero count returns the length the text needs.
CEHOST_API int _vsnprintf(char* buffer, size_t count, const char* format, va_list args);
CEHOST_API int _snprintf(char* buffer, size_t count, const char* format, ...);
CEHOST_API int _vsnwprintf(WCHAR* buffer, size_t count, const WCHAR* format, va_list args);
CEHOST_API int _snwprintf(WCHAR* buffer, size_t count, const WCHAR* format, ...);
// The length the formatted text needs, without the terminator.
CEHOST_API int _vscwprintf(const WCHAR* format, va_list args);
CEHOST_API int _vscprintf(const char* format, va_list args);
// The Windows C runtime's unbounded forms: the caller guarantees room; the text is always terminated.
int swprintf(WCHAR* buffer, const WCHAR* format, ...);
int vswprintf(WCHAR* buffer, const WCHAR* format, va_list args);
// The bounded forms: at most `count` units including the terminator, always terminated when count > 0;
// -1 when the text was cut.
int swprintf(WCHAR* buffer, size_t count, const WCHAR* format, ...);
int vswprintf(WCHAR* buffer, size_t count, const WCHAR* format, va_list args);
// The window manager's formatter: the buffer holds at most 1024 units including the terminator; the text is
// always terminated and the number of units written before the terminator is returned. It shares the
// engine above, so it also formats floating point, which the Windows one does not.
CEHOST_API int WINAPIV wsprintfW(LPWSTR buffer, LPCWSTR format, ...);
CEHOST_API int WINAPI wvsprintfW(LPWSTR buffer, LPCWSTR format, va_list args);
