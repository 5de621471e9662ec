// LxString, the library's string value class, and LxFormat.
//
// The text is stored 8-bit, in the system's ANSI code page (949: a Korean syllable takes two bytes); wide
// text is converted on the way in and a copy is converted on the way out. Every length, index, offset and
// count is in bytes. A present text lives in a block of exactly length + 1 bytes (the text and its zero
// terminator): there is no spare capacity, so every change of length moves the text to a new block.
//
// A string has two empty forms: absent (no block; GetString gives null) after default construction, Empty()
// and the removal of its only byte, and empty text (a one-byte block) when built from empty text.
//
// Decisions on what callers may get wrong:
// - A null text pointer given to any operation means empty text; an absent string reads as empty text.
// - Positions and counts outside the text are clamped to it (negative starts to 0, ends to the length);
//   nothing ever reads or writes outside the block. Mid, Left and Right with a negative count take nothing;
//   Remove(int) with a negative index removes nothing; a reversed range for Remove(first, last) removes
//   nothing; Insert clamps its index into 0..length.
// - Numbers are written whole, whatever their size; parsing saturates at the limits of the 32-bit int and
//   long of the target ("99999999999" reads as 2147483647).
// - Wide text and single wide characters are converted alike, as the C runtime's wcstombs writes them: a
//   character without a form in the code page becomes '?' (Replace(u'$', u'\u00e9') writes '?', Find and
//   the Trim forms look for '?'). Only the zero character has no form: it matches and trims nothing.
// - Numbers are read as the device's C runtime reads them: decimal only, so "0x10", "inf" and "nan" give 0.
// - Replace with an empty old text replaces nothing and returns 0.
// - The wide copy given by GetStringW (or the wide conversion operator) stays valid until the next
//   GetStringW on the same string or the string's destruction; the string releases it. For an absent or
//   empty string it is a shared empty text, which must not be written.
// - If memory runs out, std::bad_alloc leaves the string as it was.
#pragma once

#include <windows.h>

class LxString {
public:
    LxString();
    LxString(const char* s);
    LxString(const WCHAR* w);
    LxString(const LxString& other);
    LxString(LxString&& other) noexcept;
    LxString(int n);
    LxString(double d);
    ~LxString();

    LxString& operator=(const LxString& other);
    LxString& operator=(LxString&& other) noexcept;
    LxString& operator=(const char* s);
    LxString& operator=(const WCHAR* w);
    LxString& operator=(int n);
    LxString& operator=(double d);

    // Access and conversion.
    // The block itself (null when absent): the caller may read and write through it until the next change.
    char* GetString();
    const char* GetString() const;
    operator char*();
    operator const char*() const;
    WCHAR* GetStringW();
    operator WCHAR*();
    int GetInteger() const;
    operator int() const;
    long GetLong() const;
    operator long() const;
    float GetFloat() const;
    operator float() const;
    double GetDouble() const;
    operator double() const;
    int GetLength() const;
    int IsEmpty() const;
    int IsANSI() const;
    void Empty();
    // Re-measures the text up to its first zero byte and moves it into a block of exactly that size.
    void FreeExtra();

    // Concatenation and appending. An absent operand reads as empty text.
    LxString operator+(const LxString& b) const;
    LxString operator+(const char* s) const;
    LxString operator+(const WCHAR* w) const;
    LxString operator+(int n) const;
    LxString operator+(double d) const;
    LxString& operator+=(const LxString& b);
    LxString& Append(const LxString& b);
    LxString& operator+=(const char* s);
    LxString& operator+=(const WCHAR* w);

    // Comparison as the C strcmp: byte by byte, unsigned, no case folding. 1 for true, 0 for false.
    int operator<(const LxString& b) const;
    int operator<=(const LxString& b) const;
    int operator>(const LxString& b) const;
    int operator>=(const LxString& b) const;
    int operator==(const LxString& b) const;
    int operator==(const char* s) const;
    int operator==(const WCHAR* w) const;
    int operator!=(const LxString& b) const;
    int operator!=(const char* s) const;
    int operator!=(const WCHAR* w) const;

    // Drop the last byte (a string of one byte becomes absent; an empty one does not change).
    LxString& operator--();
    LxString operator--(int);
    // The byte at i (negative for bytes of 0x80 and above), or 0 outside the text.
    char GetAt(int i) const;

    // Search: the byte offset from the start of the text, or -1. A start beyond the length gives -1.
    int Find(char ch, unsigned int start) const;
    int Find(char ch) const;
    int Find(WCHAR ch, unsigned int start) const;
    int Find(WCHAR ch) const;
    int Find(const LxString& s, unsigned int start) const;
    int Find(const LxString& s) const;
    int Find(const char* s, unsigned int start) const;
    int Find(const char* s) const;
    int Find(const WCHAR* s, unsigned int start) const;
    int Find(const WCHAR* s) const;

    // Replacement. The byte form overwrites in place and returns the count; the wide character form returns
    // the number of replacements; the text forms return replacements times the byte length of the new text.
    int Replace(char oldCh, char newCh);
    int Replace(WCHAR oldCh, WCHAR newCh);
    int Replace(const char* oldText, const char* newText);
    int Replace(const WCHAR* oldText, const WCHAR* newText);
    int Replace(const LxString& oldText, const LxString& newText);

    // Extraction: always a present string (empty text when nothing is taken).
    LxString Mid(int start, int count) const;
    LxString Mid(int start) const;
    LxString Left(int count) const;
    LxString Right(int count) const;

    // Removal.
    int Remove(int index);
    int Remove(int first, int last);
    int Remove(char ch);
    int Remove(const LxString& s);

    // Trimming of one given character; a text made only of it ends absent. The zero character trims nothing.
    LxString& TrimLeft(char ch);
    LxString& TrimRight(char ch);
    LxString& Trim(char ch);
    LxString& TrimLeft(WCHAR ch);
    LxString& TrimRight(WCHAR ch);
    LxString& Trim(WCHAR ch);

    // Insertion, case (ASCII letters only, byte by byte) and byte order.
    LxString& Insert(const LxString& s, int index);
    LxString& MakeUpper();
    LxString& MakeLower();
    LxString& MakeReverse();
    LxString GetUpper() const;
    LxString GetLower() const;
    LxString GetReverse() const;

    // Shows the string in a modal message box titled `caption` (one space when that is empty or absent) with
    // no owner window, and returns what the system MessageBoxW returns (0 when it cannot show one).
    int MessageBoxW(LxString caption, unsigned int type);

private:
    struct AdoptBlock {};
    LxString(char* block, int length, AdoptBlock) noexcept;

    // The text as C text, "" when absent.
    const char* Text() const;
    // Replaces the block by a new one holding `count` bytes of `text` (which may point into the old block).
    void Assign(const char* text, size_t count);
    // Releases the block and takes `block` (null for absent) of `newLength` + 1 bytes in its place.
    void Take(char* block, int newLength) noexcept;
    // Removes every repetition of `form` (width bytes) from both ends.
    void TrimBoth(const char* form, size_t width);
    static char* NewBlock(size_t length);
    static int CheckedLength(size_t length);

    // Conversion temporaries. Both converters give a shared static empty text for empty input, which
    // ReleaseAnsi/ReleaseWide leave alone.
    static char* WideToAnsi(const WCHAR* w);
    static WCHAR* AnsiToWide(const char* s);
    static void ReleaseAnsi(char* s) noexcept;
    static void ReleaseWide(WCHAR* w) noexcept;

    char* buffer;
    int length;
    WCHAR* wideCopy; // the latest GetStringW result
};

// A new string holding what the format and its arguments produce, as _vsnprintf / _vsnwprintf produce it
// (in the wide form %s takes wide text); the wide result is converted to the ANSI code page. A null format
// gives empty text. Output is produced in a scratch area of 65,535 units: longer output is cut to its first
// 65,534 units, less a character the cut would split.
LxString LxFormat(const char* format, ...);
LxString LxFormat(const WCHAR* format, ...);
