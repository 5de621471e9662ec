// Random operation sequences on three LxString objects, each checked against a plain model (absent or a byte
// string) after every step: same bytes, same length, the terminator, and a heap block of exactly
// length + 1 bytes as the address sanitizer's allocator reports it (where the build has that sanitizer: the
// test suite replays the corpus without it). Operands are often the target itself,
// so aliasing is exercised too.
#include "LxString.h"

#include <fuzzer/FuzzedDataProvider.h>
#if defined(__SANITIZE_ADDRESS__)
#define LX_HEAP_BLOCK_SIZES 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LX_HEAP_BLOCK_SIZES 1
#endif
#endif
#ifdef LX_HEAP_BLOCK_SIZES
extern "C" size_t __sanitizer_get_allocated_size(const volatile void* p);
#endif

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

struct Model {
    bool present = false;
    std::string bytes;
};

[[noreturn]] void Fail(const char* what, int op) {
    std::fprintf(stderr, "LxString differs from its model: %s (operation %d)\n", what, op);
    std::abort();
}

#define CHECK(cond, op)                                                                                        \
    do {                                                                                                       \
        if (!(cond)) Fail(#cond, op);                                                                          \
    } while (0)

// Few distinct bytes, so that searches, replacements and trims hit often; two of them form a syllable.
const char kBytes[] = {'a', 'b', 'A', ' ', '-', '\xB0', '\xA1', 'c'};
// Wide characters with their forms as a text and as a single character: a character the code page cannot
// represent becomes '?' in both; only the zero character has no form (matches nothing).
struct WideChar {
    WCHAR ch;
    const char* textForm;
    const char* charForm;
};
const WideChar kWide[] = {
    {u'a', "a", "a"},           {u'b', "b", "b"},           {u'-', "-", "-"},   {u'\uAC00', "\xB0\xA1", "\xB0\xA1"},
    {u'\uB098', "\xB3\xAA", "\xB3\xAA"}, {u'\xD800', "?", "?"}, {u'\0', "", ""},
};

std::string RandomText(FuzzedDataProvider& in) {
    std::string text(in.ConsumeIntegralInRange<size_t>(0, 8), 'a');
    for (char& c : text) c = kBytes[in.ConsumeIntegralInRange<size_t>(0, sizeof kBytes - 1)];
    return text;
}

const WideChar& RandomWide(FuzzedDataProvider& in) {
    return kWide[in.ConsumeIntegralInRange<size_t>(0, std::size(kWide) - 1)];
}

// A wide text (never holding the zero character) and its model conversion.
std::u16string RandomWideText(FuzzedDataProvider& in, std::string* ansi) {
    std::u16string text;
    ansi->clear();
    for (size_t n = in.ConsumeIntegralInRange<size_t>(0, 5); n; --n) {
        const WideChar& w = kWide[in.ConsumeIntegralInRange<size_t>(0, std::size(kWide) - 2)];
        text += w.ch;
        *ansi += w.textForm;
    }
    return text;
}

int RandomIndex(FuzzedDataProvider& in) { return in.ConsumeIntegralInRange<int>(-3, 12); }

// The C text starting at `start`: up to the next zero byte.
size_t CTextEnd(const std::string& b, size_t start) {
    const size_t z = b.find('\0', start);
    return z == std::string::npos ? b.size() : z;
}

std::string CText(const Model& m) { return m.bytes.substr(0, CTextEnd(m.bytes, 0)); }

int FindChar(const Model& m, char ch, unsigned start) {
    if (start > m.bytes.size()) return -1;
    const size_t end = CTextEnd(m.bytes, start);
    if (ch == 0) return static_cast<int>(end);
    const size_t p = m.bytes.find(ch, start);
    return p != std::string::npos && p < end ? static_cast<int>(p) : -1;
}

int FindText(const Model& m, const std::string& s, unsigned start) {
    if (start > m.bytes.size()) return -1;
    const std::string_view view(m.bytes.data() + start, CTextEnd(m.bytes, start) - start);
    const size_t p = view.find(s);
    return p == std::string::npos ? -1 : static_cast<int>(start + p);
}

void Check(const LxString& s, const Model& m, int op) {
    const char* buffer = s.GetString();
    CHECK((buffer != nullptr) == m.present, op);
    CHECK(s.GetLength() == static_cast<int>(m.bytes.size()), op);
    CHECK(s.IsEmpty() == (m.bytes.empty() ? 1 : 0), op);
    if (!buffer) return;
    CHECK(std::memcmp(buffer, m.bytes.data(), m.bytes.size()) == 0, op);
    CHECK(buffer[m.bytes.size()] == '\0', op);
#ifdef LX_HEAP_BLOCK_SIZES
    CHECK(__sanitizer_get_allocated_size(buffer) == m.bytes.size() + 1, op);
#endif
}

void ModelRemoveRange(Model& m, int first, int last) {
    const int len = static_cast<int>(m.bytes.size());
    if (len == 0) return;
    if (last == -1 || last >= len) last = len - 1;
    if (first < 0) first = 0;
    if (last < first) return;
    m.bytes.erase(size_t(first), size_t(last - first + 1));
}

// Trims `n` bytes counted by the caller from one end; a text trimmed away entirely ends absent.
void ModelTrim(Model& m, size_t n, bool front) {
    if (n == 0) return;
    if (n == m.bytes.size()) {
        m = Model();
        return;
    }
    m.bytes.erase(front ? 0 : m.bytes.size() - n, n);
}

size_t LeadingForm(const Model& m, const std::string& form) {
    size_t n = 0;
    if (form.empty()) return 0;
    while (m.bytes.size() - n >= form.size() && m.bytes.compare(n, form.size(), form) == 0) n += form.size();
    return n;
}

size_t TrailingForm(const Model& m, const std::string& form) {
    size_t n = 0;
    if (form.empty()) return 0;
    while (m.bytes.size() - n >= form.size() &&
           m.bytes.compare(m.bytes.size() - n - form.size(), form.size(), form) == 0)
        n += form.size();
    return n;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    LxString strings[3];
    Model models[3];
    while (in.remaining_bytes() > 0) {
        // Appending a string to itself doubles it; keep the texts short so that every input stays cheap.
        for (int i = 0; i < 3; ++i) {
            if (models[i].bytes.size() > 256) {
                strings[i].Empty();
                models[i] = Model();
            }
        }
        const int t = in.ConsumeIntegralInRange<int>(0, 2);
        const int o = in.ConsumeIntegralInRange<int>(0, 2);
        LxString& s = strings[t];
        Model& m = models[t];
        const Model other = models[o]; // the operand's model before the operation
        const int op = in.ConsumeIntegralInRange<int>(0, 33);
        switch (op) {
        case 0: {
            const std::string text = RandomText(in);
            s = text.c_str();
            m = {true, text};
            break;
        }
        case 1: {
            const int n = in.ConsumeIntegral<int>();
            s = n;
            m = {true, std::to_string(n)};
            break;
        }
        case 2: {
            std::string ansi;
            const std::u16string wide = RandomWideText(in, &ansi);
            s = wide.c_str();
            m = {true, ansi};
            break;
        }
        case 3:
            s = strings[o];
            m = other;
            break;
        case 4: {
            const std::string text = RandomText(in);
            if (!m.present) m = {true, text};
            else m.bytes += text;
            s += text.c_str();
            break;
        }
        case 5:
            if (!m.present) m = other;
            else m.bytes += other.bytes;
            s += strings[o];
            break;
        case 6: {
            std::string ansi;
            const std::u16string wide = RandomWideText(in, &ansi);
            if (!m.present) m = {true, ansi};
            else m.bytes += ansi;
            s += wide.c_str();
            break;
        }
        case 7:
            s = s + strings[o];
            m = {true, m.bytes + other.bytes};
            break;
        case 8: {
            const char ch = in.ConsumeBool() ? '\0' : kBytes[in.ConsumeIntegralInRange<size_t>(0, 7)];
            const unsigned start = in.ConsumeIntegralInRange<unsigned>(0, 12);
            CHECK(s.Find(ch, start) == FindChar(m, ch, start), op);
            break;
        }
        case 9: {
            const std::string text = RandomText(in);
            const unsigned start = in.ConsumeIntegralInRange<unsigned>(0, 12);
            CHECK(s.Find(text.c_str(), start) == FindText(m, text, start), op);
            CHECK(s.Find(strings[o]) == FindText(m, CText(other), 0), op);
            break;
        }
        case 10: {
            const WideChar& w = RandomWide(in);
            const unsigned start = in.ConsumeIntegralInRange<unsigned>(0, 12);
            const int expected = *w.charForm ? FindText(m, w.charForm, start) : -1;
            CHECK(s.Find(w.ch, start) == expected, op);
            break;
        }
        case 11: {
            const char from = kBytes[in.ConsumeIntegralInRange<size_t>(0, 7)];
            const char to = in.ConsumeIntegralInRange<int>(0, 9) == 0 ? '\0' : kBytes[in.ConsumeIntegralInRange<size_t>(0, 7)];
            int count = 0;
            for (char& c : m.bytes)
                if (c == from) c = to, ++count;
            CHECK(s.Replace(from, to) == count, op);
            break;
        }
        case 12: {
            const std::string from = RandomText(in);
            const std::string to = RandomText(in);
            int expected = 0;
            if (!from.empty() && !m.bytes.empty()) {
                const std::string ctext = CText(m);
                std::string replaced;
                size_t count = 0, pos = 0;
                for (size_t p = ctext.find(from); p != std::string::npos; p = ctext.find(from, pos)) {
                    replaced += ctext.substr(pos, p - pos) + to;
                    pos = p + from.size();
                    ++count;
                }
                if (count) {
                    m.bytes = replaced + ctext.substr(pos) + m.bytes.substr(ctext.size());
                    expected = static_cast<int>(count * to.size());
                }
            }
            CHECK(s.Replace(from.c_str(), to.c_str()) == expected, op);
            break;
        }
        case 13: {
            const WideChar& from = RandomWide(in);
            const WideChar& to = RandomWide(in);
            const std::string f = from.charForm, r = to.charForm;
            int count = 0;
            if (!f.empty() && !m.bytes.empty()) {
                std::string out;
                for (size_t i = 0; i < m.bytes.size();) {
                    if (m.bytes.compare(i, f.size(), f) == 0 && i + f.size() <= m.bytes.size()) {
                        out += r;
                        i += f.size();
                        ++count;
                    } else {
                        out += m.bytes[i++];
                    }
                }
                if (count) m.bytes = out;
            }
            CHECK(s.Replace(from.ch, to.ch) == count, op);
            break;
        }
        case 14: {
            const int start = RandomIndex(in), count = RandomIndex(in);
            const int len = static_cast<int>(m.bytes.size());
            const int st = std::max(start, 0), c = std::max(count, 0);
            Model result{true, st > len ? "" : (st + c > len ? m.bytes.substr(size_t(st)) : m.bytes.substr(size_t(st), size_t(c)))};
            LxString mid = s.Mid(start, count);
            Check(mid, result, op);
            const int n = std::clamp(count, 0, len);
            Check(s.Left(count), Model{true, m.bytes.substr(0, size_t(n))}, op);
            Check(s.Right(count), Model{true, m.bytes.substr(size_t(len - n))}, op);
            Check(s.Mid(start), Model{true, st > len ? "" : m.bytes.substr(size_t(st))}, op);
            break;
        }
        case 15: {
            const int index = RandomIndex(in);
            const int len = static_cast<int>(m.bytes.size());
            int expected = 0;
            if (index >= 0 && index < len) {
                expected = 1;
                if (len == 1) m = Model();
                else m.bytes.erase(size_t(index), 1);
            }
            CHECK(s.Remove(index) == expected, op);
            break;
        }
        case 16: {
            const int first = RandomIndex(in);
            const int last = in.ConsumeBool() ? -1 : RandomIndex(in);
            const size_t before = m.bytes.size();
            ModelRemoveRange(m, first, last);
            CHECK(s.Remove(first, last) == static_cast<int>(before - m.bytes.size()), op);
            break;
        }
        case 17: {
            const char ch = kBytes[in.ConsumeIntegralInRange<size_t>(0, 7)];
            const size_t count = static_cast<size_t>(std::count(m.bytes.begin(), m.bytes.end(), ch));
            if (count && count == m.bytes.size()) m = Model();
            else m.bytes.erase(std::remove(m.bytes.begin(), m.bytes.end(), ch), m.bytes.end());
            CHECK(s.Remove(ch) == static_cast<int>(count), op);
            break;
        }
        case 18: {
            const std::string text = CText(other);
            int expected = 0;
            if (!text.empty()) {
                const int at = FindText(m, text, 0);
                if (at >= 0) {
                    ModelRemoveRange(m, at, at + static_cast<int>(text.size()) - 1);
                    expected = 1;
                }
            }
            CHECK(s.Remove(strings[o]) == expected, op);
            break;
        }
        case 19: {
            const char ch = kBytes[in.ConsumeIntegralInRange<size_t>(0, 7)];
            const int side = in.ConsumeIntegralInRange<int>(0, 2);
            const std::string form(1, ch);
            if (side != 1) ModelTrim(m, LeadingForm(m, form), true);
            if (side != 0) ModelTrim(m, TrailingForm(m, form), false);
            if (side == 0) s.TrimLeft(ch);
            else if (side == 1) s.TrimRight(ch);
            else s.Trim(ch);
            break;
        }
        case 20: {
            const WideChar& w = RandomWide(in);
            const int side = in.ConsumeIntegralInRange<int>(0, 2);
            if (side != 1) ModelTrim(m, LeadingForm(m, w.charForm), true);
            if (side != 0) ModelTrim(m, TrailingForm(m, w.charForm), false);
            if (side == 0) s.TrimLeft(w.ch);
            else if (side == 1) s.TrimRight(w.ch);
            else s.Trim(w.ch);
            break;
        }
        case 21: {
            const int index = RandomIndex(in);
            if (!other.bytes.empty()) {
                const size_t at = size_t(std::clamp(index, 0, static_cast<int>(m.bytes.size())));
                m.bytes.insert(at, other.bytes);
                m.present = true;
            }
            s.Insert(strings[o], index);
            break;
        }
        case 22: {
            const int which = in.ConsumeIntegralInRange<int>(0, 2);
            const size_t end = CTextEnd(m.bytes, 0);
            for (size_t i = 0; i < end && which < 2; ++i) {
                char& c = m.bytes[i];
                if (which == 0 && c >= 'a' && c <= 'z') c = char(c - 32);
                if (which == 1 && c >= 'A' && c <= 'Z') c = char(c + 32);
            }
            if (which == 2) std::reverse(m.bytes.begin(), m.bytes.begin() + long(end));
            if (which == 0) s.MakeUpper();
            else if (which == 1) s.MakeLower();
            else s.MakeReverse();
            break;
        }
        case 23: {
            const Model before = m;
            const int len = static_cast<int>(m.bytes.size());
            if (len == 1) m = Model();
            else if (len > 1) m.bytes.pop_back();
            if (in.ConsumeBool()) {
                LxString old = s--;
                Check(old, before, op);
            } else {
                --s;
            }
            break;
        }
        case 24:
            if (m.present) m.bytes.resize(CTextEnd(m.bytes, 0));
            s.FreeExtra();
            break;
        case 25:
            m = Model();
            s.Empty();
            break;
        case 26: {
            const int c = CText(m).compare(CText(other));
            const LxString& b = strings[o];
            CHECK((s < b) == (c < 0) && (s <= b) == (c <= 0) && (s > b) == (c > 0) && (s >= b) == (c >= 0), op);
            CHECK((s == b) == (c == 0) && (s != b) == (c != 0), op);
            break;
        }
        case 27: {
            const int i = RandomIndex(in);
            const char expected = (i >= 0 && i < static_cast<int>(m.bytes.size())) ? m.bytes[size_t(i)] : 0;
            CHECK(s.GetAt(i) == expected, op);
            break;
        }
        case 28: {
            LxString copy(strings[o]);
            Check(copy, other, op);
            LxString moved(std::move(copy));
            Check(moved, other, op);
            Check(copy, Model(), op);
            break;
        }
        case 29: {
            // The wide copy holds one unit per character; the text round-trips when it is valid.
            const WCHAR* wide = s.GetStringW();
            CHECK(wide != nullptr, op);
            size_t units = 0;
            while (wide[units]) ++units;
            CHECK(units <= CText(m).size(), op);
            break;
        }
        case 30:
            // Parsing reads the text only; the address sanitizer watches the reads.
            (void)s.GetInteger();
            (void)s.GetLong();
            (void)s.GetDouble();
            (void)s.GetFloat();
            break;
        case 31: {
            const std::string text = CText(m);
            Check(LxFormat("%s", s.GetString() ? s.GetString() : ""), Model{true, text}, op);
            break;
        }
        case 32: {
            const LxString sum = s + strings[o];
            Check(sum, Model{true, m.bytes + other.bytes}, op);
            const int n = in.ConsumeIntegral<int>();
            Check(s + n, Model{true, m.bytes + std::to_string(n)}, op);
            break;
        }
        case 33: {
            std::string ansi;
            const std::u16string wide = RandomWideText(in, &ansi);
            CHECK((s == wide.c_str()) == (CText(m) == ansi), op);
            CHECK(s.Find(wide.c_str()) == FindText(m, ansi, 0), op);
            break;
        }
        }
        Check(s, m, op);
        for (int i = 0; i < 3; ++i) Check(strings[i], models[i], 100 + op);
    }
    return 0;
}
