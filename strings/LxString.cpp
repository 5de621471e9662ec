// LxString: storage, construction, conversion, concatenation, comparison, search and editing.
// Every change builds the new block completely before the old one is released, so an argument that points
// into the string itself stays readable throughout and a failed allocation leaves the string unchanged.
#include "LxString.h"

#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

namespace {

char g_emptyAnsi[1] = {0};
WCHAR g_emptyWide[1] = {0};

// The one- or two-byte form of a wide character, as WideToAnsi converts it: a character the code page
// cannot represent becomes the conversion's default character '?', so the character forms agree with the text
// forms. Only the zero character has no form.
struct CharForm {
    char bytes[3] = {0, 0, 0};
    size_t size = 0;

    explicit CharForm(WCHAR ch) {
        if (ch == 0) return;
        const WCHAR text[2] = {ch, 0};
        // wcstombs reports failure only after writing the whole text, '?' for what has no form.
        wcstombs(bytes, text, 2);
        size = std::strlen(bytes);
    }
};

// The leading number of a text as the device's C runtime reads it: decimal only, so a number starts with a
// digit or a point and a digit after the white space and the sign. glibc would also read hexadecimal, "inf"
// and "nan"; those give 0 here. From a decimal start glibc stops where the device does.
double ParseDecimal(const char* text) {
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    const char* number = p;
    if (*p == '+' || *p == '-') ++p;
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (!digit(p[0]) && !(p[0] == '.' && digit(p[1]))) return 0.0;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) return 0.0;
    return std::strtod(number, nullptr);
}

// The text of a number, whole whatever its size: "%d" always fits the scratch area; "%f" of a large double
// (up to 317 characters) takes a block of its own.
class NumberText {
public:
    // The "%d" text, without the cost of a printf call.
    explicit NumberText(int n) { length_ = static_cast<size_t>(std::to_chars(scratch_, scratch_ + 16, n).ptr - scratch_); }
    explicit NumberText(double d) {
        const int n = std::snprintf(scratch_, sizeof scratch_, "%f", d);
        length_ = n < 0 ? 0 : static_cast<size_t>(n);
        if (length_ >= sizeof scratch_) {
            large_.reset(new char[length_ + 1]);
            std::snprintf(large_.get(), length_ + 1, "%f", d);
        }
    }
    const char* Text() const { return large_ ? large_.get() : scratch_; }
    size_t Length() const { return length_; }

private:
    char scratch_[100] = {};
    std::unique_ptr<char[]> large_;
    size_t length_ = 0;
};

// Holds a converted argument for the duration of one operation.
class AnsiArgument {
public:
    AnsiArgument(char* text, void (*release)(char*) noexcept) : text_(text), release_(release) {}
    ~AnsiArgument() { release_(text_); }
    AnsiArgument(const AnsiArgument&) = delete;
    AnsiArgument& operator=(const AnsiArgument&) = delete;
    const char* Text() const { return text_; }

private:
    char* text_;
    void (*release_)(char*) noexcept;
};

// atoi/atol as the target's C runtime gives them: 32-bit, saturating instead of wrapping.
int ParseInt32(const char* text) {
    const long long value = std::strtoll(text, nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

int Clamp(int value, int low, int high) { return value < low ? low : (value > high ? high : value); }

} // namespace

// --- Storage -------------------------------------------------------------------------------------------

char* LxString::NewBlock(size_t length) {
    CheckedLength(length);
    char* block = static_cast<char*>(::operator new(length + 1));
    block[length] = 0;
    return block;
}

// Lengths are 32-bit; a text that would not fit is refused like memory that cannot be had.
int LxString::CheckedLength(size_t length) {
    if (length > static_cast<size_t>(INT_MAX) - 1) throw std::bad_alloc();
    return static_cast<int>(length);
}

void LxString::Take(char* block, int newLength) noexcept {
    if (buffer) ::operator delete(buffer);
    buffer = block;
    length = block ? newLength : 0;
}

void LxString::Assign(const char* text, size_t count) {
    char* block = NewBlock(count);
    std::memcpy(block, text, count);
    Take(block, static_cast<int>(count));
}

const char* LxString::Text() const { return buffer ? buffer : ""; }

LxString::LxString(char* block, int length, AdoptBlock) noexcept : buffer(block), length(length), wideCopy(nullptr) {}

// --- Conversion temporaries ----------------------------------------------------------------------------

char* LxString::WideToAnsi(const WCHAR* w) {
    if (!w || !*w) return g_emptyAnsi;
    const size_t units = wcslen(w);
    char* block = static_cast<char*>(::operator new(2 * units + 1));
    std::memset(block, 0, 2 * units + 1);
    // Failure is reported only after the whole text was written ('?' for what has no form); the zero fill
    // terminates whatever was written.
    wcstombs(block, w, 2 * units);
    return block;
}

WCHAR* LxString::AnsiToWide(const char* s) {
    if (!s || !*s) return g_emptyWide;
    const size_t bytes = std::strlen(s);
    WCHAR* block = static_cast<WCHAR*>(::operator new((bytes + 1) * sizeof(WCHAR)));
    std::memset(block, 0, (bytes + 1) * sizeof(WCHAR));
    mbstowcs(block, s, bytes);
    return block;
}

void LxString::ReleaseAnsi(char* s) noexcept {
    if (s && s != g_emptyAnsi) ::operator delete(s);
}

void LxString::ReleaseWide(WCHAR* w) noexcept {
    if (w && w != g_emptyWide) ::operator delete(w);
}

// --- Construction and assignment -----------------------------------------------------------------------

LxString::LxString() : buffer(nullptr), length(0), wideCopy(nullptr) {}

LxString::LxString(const char* s) : LxString() {
    if (!s) s = "";
    Assign(s, std::strlen(s));
}

LxString::LxString(const WCHAR* w) : LxString() { *this = w; }

LxString::LxString(const LxString& other) : LxString() {
    if (other.buffer) Assign(other.buffer, static_cast<size_t>(other.length));
}

LxString::LxString(LxString&& other) noexcept : buffer(other.buffer), length(other.length), wideCopy(nullptr) {
    other.buffer = nullptr;
    other.length = 0;
}

LxString::LxString(int n) : LxString() { *this = n; }

LxString::LxString(double d) : LxString() { *this = d; }

LxString::~LxString() {
    if (buffer) ::operator delete(buffer);
    buffer = nullptr;
    ReleaseWide(wideCopy);
}

LxString& LxString::operator=(const LxString& other) {
    if (this == &other) return *this;
    if (other.buffer)
        Assign(other.buffer, static_cast<size_t>(other.length));
    else
        Take(nullptr, 0);
    return *this;
}

LxString& LxString::operator=(LxString&& other) noexcept {
    if (this == &other) return *this;
    Take(other.buffer, other.length);
    other.buffer = nullptr;
    other.length = 0;
    return *this;
}

LxString& LxString::operator=(const char* s) {
    if (!s) s = "";
    Assign(s, std::strlen(s));
    return *this;
}

LxString& LxString::operator=(const WCHAR* w) {
    AnsiArgument converted(WideToAnsi(w), ReleaseAnsi);
    Assign(converted.Text(), std::strlen(converted.Text()));
    return *this;
}

LxString& LxString::operator=(int n) {
    const NumberText text(n);
    Assign(text.Text(), text.Length());
    return *this;
}

LxString& LxString::operator=(double d) {
    const NumberText text(d);
    Assign(text.Text(), text.Length());
    return *this;
}

// --- Access and conversion -----------------------------------------------------------------------------

char* LxString::GetString() { return buffer; }
const char* LxString::GetString() const { return buffer; }
LxString::operator char*() { return buffer; }
LxString::operator const char*() const { return buffer; }

WCHAR* LxString::GetStringW() {
    if (!buffer || !*buffer) return g_emptyWide;
    WCHAR* copy = AnsiToWide(buffer);
    ReleaseWide(wideCopy);
    wideCopy = copy;
    return copy;
}

LxString::operator WCHAR*() { return GetStringW(); }

int LxString::GetInteger() const { return ParseInt32(Text()); }
LxString::operator int() const { return GetInteger(); }
long LxString::GetLong() const { return ParseInt32(Text()); }
LxString::operator long() const { return GetLong(); }

float LxString::GetFloat() const {
    // Narrowed as IEEE arithmetic does it: beyond the float range is infinity.
    const double d = GetDouble();
    if (d > FLT_MAX) return HUGE_VALF;
    if (d < -FLT_MAX) return -HUGE_VALF;
    return static_cast<float>(d);
}

LxString::operator float() const { return GetFloat(); }
double LxString::GetDouble() const { return ParseDecimal(Text()); }
LxString::operator double() const { return GetDouble(); }
int LxString::GetLength() const { return length; }
int LxString::IsEmpty() const { return length == 0 ? 1 : 0; }
int LxString::IsANSI() const { return 1; }
void LxString::Empty() { Take(nullptr, 0); }

void LxString::FreeExtra() {
    if (!buffer) return;
    const size_t measured = std::strlen(buffer);
    if (measured != static_cast<size_t>(length)) Assign(buffer, measured);
}

// --- Concatenation -------------------------------------------------------------------------------------

namespace {
// Both texts joined into a block of exactly their lengths + 1 bytes.
char* JoinBlock(const char* a, size_t aLength, const char* b, size_t bLength) {
    char* block = static_cast<char*>(::operator new(aLength + bLength + 1));
    std::memcpy(block, a, aLength);
    std::memcpy(block + aLength, b, bLength);
    block[aLength + bLength] = 0;
    return block;
}
} // namespace

LxString LxString::operator+(const LxString& b) const {
    const size_t total = static_cast<size_t>(length) + static_cast<size_t>(b.length);
    const int checked = CheckedLength(total);
    return LxString(JoinBlock(Text(), size_t(length), b.Text(), size_t(b.length)), checked, AdoptBlock{});
}

LxString LxString::operator+(const char* s) const {
    if (!s) s = "";
    const size_t bytes = std::strlen(s);
    const int checked = CheckedLength(size_t(length) + bytes);
    return LxString(JoinBlock(Text(), size_t(length), s, bytes), checked, AdoptBlock{});
}

LxString LxString::operator+(const WCHAR* w) const {
    AnsiArgument converted(WideToAnsi(w), ReleaseAnsi);
    return *this + converted.Text();
}

LxString LxString::operator+(int n) const { return *this + NumberText(n).Text(); }

LxString LxString::operator+(double d) const {
    const NumberText text(d);
    return *this + text.Text();
}

LxString& LxString::operator+=(const LxString& b) {
    if (!buffer) return *this = b;
    if (b.length == 0) return *this;
    const int checked = CheckedLength(size_t(length) + size_t(b.length));
    Take(JoinBlock(buffer, size_t(length), b.buffer, size_t(b.length)), checked);
    return *this;
}

LxString& LxString::Append(const LxString& b) { return *this += b; }

LxString& LxString::operator+=(const char* s) {
    if (!buffer) return *this = s;
    if (!s || !*s) return *this;
    const size_t bytes = std::strlen(s);
    const int checked = CheckedLength(size_t(length) + bytes);
    Take(JoinBlock(buffer, size_t(length), s, bytes), checked);
    return *this;
}

LxString& LxString::operator+=(const WCHAR* w) {
    AnsiArgument converted(WideToAnsi(w), ReleaseAnsi);
    return *this += converted.Text();
}

// --- Comparison ----------------------------------------------------------------------------------------

int LxString::operator<(const LxString& b) const { return std::strcmp(Text(), b.Text()) < 0; }
int LxString::operator<=(const LxString& b) const { return std::strcmp(Text(), b.Text()) <= 0; }
int LxString::operator>(const LxString& b) const { return std::strcmp(Text(), b.Text()) > 0; }
int LxString::operator>=(const LxString& b) const { return std::strcmp(Text(), b.Text()) >= 0; }
int LxString::operator==(const LxString& b) const { return std::strcmp(Text(), b.Text()) == 0; }
int LxString::operator==(const char* s) const { return std::strcmp(Text(), s ? s : "") == 0; }

int LxString::operator==(const WCHAR* w) const {
    AnsiArgument converted(WideToAnsi(w), ReleaseAnsi);
    return std::strcmp(Text(), converted.Text()) == 0;
}

int LxString::operator!=(const LxString& b) const { return !(*this == b); }
int LxString::operator!=(const char* s) const { return !(*this == s); }
int LxString::operator!=(const WCHAR* w) const { return !(*this == w); }

// --- Decrement and byte access -------------------------------------------------------------------------

LxString& LxString::operator--() {
    Remove(length - 1);
    return *this;
}

LxString LxString::operator--(int) {
    LxString before(*this);
    Remove(length - 1);
    return before;
}

char LxString::GetAt(int i) const { return (i >= 0 && i < length) ? buffer[i] : 0; }

// --- Search --------------------------------------------------------------------------------------------

int LxString::Find(char ch, unsigned int start) const {
    if (start > static_cast<unsigned>(length)) return -1;
    const char* text = Text();
    const char* hit = std::strchr(text + start, ch);
    return hit ? static_cast<int>(hit - text) : -1;
}

int LxString::Find(char ch) const { return Find(ch, 0u); }

int LxString::Find(WCHAR ch, unsigned int start) const {
    const CharForm form(ch);
    if (form.size == 0) return -1;
    return Find(form.bytes, start);
}

int LxString::Find(WCHAR ch) const { return Find(ch, 0u); }

int LxString::Find(const LxString& s, unsigned int start) const { return Find(s.Text(), start); }
int LxString::Find(const LxString& s) const { return Find(s.Text(), 0u); }

int LxString::Find(const char* s, unsigned int start) const {
    if (start > static_cast<unsigned>(length)) return -1;
    const char* text = Text();
    const char* hit = std::strstr(text + start, s ? s : "");
    return hit ? static_cast<int>(hit - text) : -1;
}

int LxString::Find(const char* s) const { return Find(s, 0u); }

int LxString::Find(const WCHAR* s, unsigned int start) const {
    AnsiArgument converted(WideToAnsi(s), ReleaseAnsi);
    return Find(converted.Text(), start);
}

int LxString::Find(const WCHAR* s) const { return Find(s, 0u); }

// --- Replacement ---------------------------------------------------------------------------------------

int LxString::Replace(char oldCh, char newCh) {
    int count = 0;
    for (int i = 0; i < length; ++i) {
        if (buffer[i] == oldCh) {
            buffer[i] = newCh;
            ++count;
        }
    }
    return count;
}

int LxString::Replace(WCHAR oldCh, WCHAR newCh) {
    const CharForm from(oldCh);
    const CharForm to(newCh);
    if (from.size == 0 || length == 0) return 0;
    // Matches are taken left to right on the original bytes, so inserted bytes are never matched again.
    const size_t n = size_t(length);
    size_t count = 0;
    for (size_t i = 0; i + from.size <= n;) {
        if (std::memcmp(buffer + i, from.bytes, from.size) == 0) {
            ++count;
            i += from.size;
        } else {
            ++i;
        }
    }
    if (count == 0) return 0;
    const size_t newLength = n - count * from.size + count * to.size;
    char* block = NewBlock(newLength);
    size_t out = 0;
    for (size_t i = 0; i < n;) {
        if (i + from.size <= n && std::memcmp(buffer + i, from.bytes, from.size) == 0) {
            std::memcpy(block + out, to.bytes, to.size);
            out += to.size;
            i += from.size;
        } else {
            block[out++] = buffer[i++];
        }
    }
    Take(block, static_cast<int>(newLength));
    return static_cast<int>(count);
}

int LxString::Replace(const char* oldText, const char* newText) {
    if (!oldText || !*oldText || length == 0) return 0;
    if (!newText) newText = "";
    const size_t oldBytes = std::strlen(oldText);
    const size_t newBytes = std::strlen(newText);
    // The search runs over the C text and resumes after each match, so matches never overlap.
    size_t count = 0;
    for (const char* p = std::strstr(buffer, oldText); p; p = std::strstr(p + oldBytes, oldText)) ++count;
    if (count == 0) return 0;
    const size_t newLength = size_t(length) - count * oldBytes + count * newBytes;
    char* block = NewBlock(newLength);
    char* out = block;
    const char* rest = buffer;
    for (const char* p = std::strstr(rest, oldText); p; p = std::strstr(rest, oldText)) {
        std::memcpy(out, rest, size_t(p - rest));
        out += p - rest;
        std::memcpy(out, newText, newBytes);
        out += newBytes;
        rest = p + oldBytes;
    }
    std::memcpy(out, rest, size_t(buffer + length - rest));
    const long long total = static_cast<long long>(count) * static_cast<long long>(newBytes);
    Take(block, static_cast<int>(newLength));
    return total > INT_MAX ? INT_MAX : static_cast<int>(total);
}

int LxString::Replace(const WCHAR* oldText, const WCHAR* newText) {
    AnsiArgument from(WideToAnsi(oldText), ReleaseAnsi);
    AnsiArgument to(WideToAnsi(newText), ReleaseAnsi);
    return Replace(from.Text(), to.Text());
}

int LxString::Replace(const LxString& oldText, const LxString& newText) {
    return Replace(oldText.Text(), newText.Text());
}

// --- Extraction ----------------------------------------------------------------------------------------

LxString LxString::Mid(int start, int count) const {
    if (start < 0) start = 0;
    if (count < 0) count = 0;
    if (start > length) return LxString("");
    if (static_cast<long long>(start) + count > length) return Mid(start);
    LxString result;
    result.Assign(Text() + start, size_t(count));
    return result;
}

LxString LxString::Mid(int start) const {
    if (start < 0) start = 0;
    if (start > length) return LxString("");
    LxString result;
    result.Assign(Text() + start, size_t(length - start));
    return result;
}

LxString LxString::Left(int count) const { return Mid(0, Clamp(count, 0, length)); }

LxString LxString::Right(int count) const {
    const int n = Clamp(count, 0, length);
    return Mid(length - n, n);
}

// --- Removal -------------------------------------------------------------------------------------------

int LxString::Remove(int index) {
    if (index < 0 || index >= length) return 0;
    if (length == 1) {
        Empty();
        return 1;
    }
    char* block = NewBlock(size_t(length - 1));
    std::memcpy(block, buffer, size_t(index));
    std::memcpy(block + index, buffer + index + 1, size_t(length - index - 1));
    Take(block, length - 1);
    return 1;
}

int LxString::Remove(int first, int last) {
    if (length == 0) return 0;
    if (last == -1 || last >= length) last = length - 1;
    if (first < 0) first = 0;
    if (last < first) return 0;
    const int count = last - first + 1;
    char* block = NewBlock(size_t(length - count));
    std::memcpy(block, buffer, size_t(first));
    std::memcpy(block + first, buffer + first + count, size_t(length - first - count));
    Take(block, length - count);
    return count;
}

int LxString::Remove(char ch) {
    int count = 0;
    for (int i = 0; i < length; ++i) count += buffer[i] == ch;
    if (count == 0) return 0;
    if (count == length) {
        Empty();
        return count;
    }
    char* block = NewBlock(size_t(length - count));
    for (int i = 0, out = 0; i < length; ++i)
        if (buffer[i] != ch) block[out++] = buffer[i];
    Take(block, length - count);
    return count;
}

int LxString::Remove(const LxString& s) {
    const char* text = s.Text();
    const size_t bytes = std::strlen(text);
    if (bytes == 0) return 0;
    const int at = Find(text);
    if (at < 0) return 0;
    Remove(at, at + static_cast<int>(bytes) - 1);
    return 1;
}

// --- Trimming ------------------------------------------------------------------------------------------
// Removing every byte leaves the string absent, as removing its bytes one at a time would.

LxString& LxString::TrimLeft(char ch) {
    if (ch == 0) return *this;
    int n = 0;
    while (n < length && buffer[n] == ch) ++n;
    if (n == length && n > 0)
        Empty();
    else if (n > 0)
        Remove(0, n - 1);
    return *this;
}

LxString& LxString::TrimRight(char ch) {
    if (ch == 0) return *this;
    int n = 0;
    while (n < length && buffer[length - 1 - n] == ch) ++n;
    if (n == length && n > 0)
        Empty();
    else if (n > 0)
        Remove(length - n, length - 1);
    return *this;
}

// Both ends at once, in one new block: the same result as TrimLeft then TrimRight.
void LxString::TrimBoth(const char* form, size_t width) {
    const size_t n = size_t(length);
    size_t front = 0;
    while (n - front >= width && std::memcmp(buffer + front, form, width) == 0) front += width;
    if (front == n) {
        if (n > 0) Empty();
        return;
    }
    size_t back = 0;
    while (n - front - back >= width && std::memcmp(buffer + n - back - width, form, width) == 0) back += width;
    if (front == 0 && back == 0) return;
    if (front + back == n) {
        Empty();
        return;
    }
    Assign(buffer + front, n - front - back);
}

LxString& LxString::Trim(char ch) {
    if (ch != 0) TrimBoth(&ch, 1);
    return *this;
}

LxString& LxString::TrimLeft(WCHAR ch) {
    const CharForm form(ch);
    if (form.size == 0) return *this;
    const int width = static_cast<int>(form.size);
    int n = 0;
    while (length - n >= width && std::memcmp(buffer + n, form.bytes, form.size) == 0) n += width;
    if (n == length && n > 0)
        Empty();
    else if (n > 0)
        Remove(0, n - 1);
    return *this;
}

LxString& LxString::TrimRight(WCHAR ch) {
    const CharForm form(ch);
    if (form.size == 0) return *this;
    const int width = static_cast<int>(form.size);
    int n = 0;
    while (length - n >= width && std::memcmp(buffer + length - n - width, form.bytes, form.size) == 0) n += width;
    if (n == length && n > 0)
        Empty();
    else if (n > 0)
        Remove(length - n, length - 1);
    return *this;
}

LxString& LxString::Trim(WCHAR ch) {
    const CharForm form(ch);
    if (form.size != 0) TrimBoth(form.bytes, form.size);
    return *this;
}

// --- Insertion, case and order -------------------------------------------------------------------------

LxString& LxString::Insert(const LxString& s, int index) {
    if (s.length == 0) return *this;
    index = Clamp(index, 0, length);
    const int checked = CheckedLength(size_t(length) + size_t(s.length));
    char* block = NewBlock(size_t(checked));
    std::memcpy(block, Text(), size_t(index));
    std::memcpy(block + index, s.buffer, size_t(s.length));
    std::memcpy(block + index + s.length, Text() + index, size_t(length - index));
    Take(block, checked);
    return *this;
}

LxString& LxString::MakeUpper() {
    if (buffer) _strupr(buffer);
    return *this;
}

LxString& LxString::MakeLower() {
    if (buffer) _strlwr(buffer);
    return *this;
}

LxString& LxString::MakeReverse() {
    if (buffer) _strrev(buffer);
    return *this;
}

LxString LxString::GetUpper() const {
    LxString copy(*this);
    copy.MakeUpper();
    return copy;
}

LxString LxString::GetLower() const {
    LxString copy(*this);
    copy.MakeLower();
    return copy;
}

LxString LxString::GetReverse() const {
    LxString copy(*this);
    copy.MakeReverse();
    return copy;
}
