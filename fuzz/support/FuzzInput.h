// Reads a fuzzer's bytes as a sequence of choices: numbers in a range, flags, short texts. Past the end
// every read gives zero, so any input makes a whole (if short) sequence.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    bool Empty() const { return m_at >= m_size; }
    uint8_t Byte() { return m_at < m_size ? m_data[m_at++] : 0; }
    uint32_t Number(uint32_t below) {
        uint32_t value = 0;
        for (uint32_t range = below; range > 1; range >>= 8)
            value = value << 8 | Byte();
        return below ? value % below : 0;
    }
    int Between(int low, int high) { return low + int(Number(uint32_t(high - low + 1))); }
    uint32_t Dword() { return uint32_t(Byte()) | uint32_t(Byte()) << 8 | uint32_t(Byte()) << 16 | uint32_t(Byte()) << 24; }
    // Up to `longest` UTF-16 units: mostly from a small alphabet (so names repeat and collide), sometimes any unit.
    std::u16string Text(size_t longest) {
        static const char16_t kAlphabet[] = u"aAbB \\&\t\r\n가각한.\u00e9\u0130";
        std::u16string text;
        for (size_t n = Number(uint32_t(longest + 1)); n > 0; --n) {
            const uint8_t b = Byte();
            text += b < 224 ? kAlphabet[b % (sizeof(kAlphabet) / 2 - 1)] : char16_t(Byte() | Byte() << 8);
        }
        return text;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_at = 0;
};
