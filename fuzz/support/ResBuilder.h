// Wraps bytes as one entry of a compiled resource file (.res), behind the empty marker entry every such file
// starts with, so a fuzzer can hand a single resource to the loaders through a registered module.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

inline std::vector<uint8_t> ResWithEntry(uint16_t type, uint16_t name, const uint8_t* data, size_t size) {
    std::vector<uint8_t> res;
    auto u32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) res.push_back(uint8_t(v >> (8 * i)));
    };
    auto u16 = [&](uint16_t v) {
        res.push_back(uint8_t(v));
        res.push_back(uint8_t(v >> 8));
    };
    auto header = [&](uint32_t dataSize, uint16_t t, uint16_t n, uint16_t language) {
        u32(dataSize), u32(32), u16(0xFFFF), u16(t), u16(0xFFFF), u16(n);
        u32(0), u16(0x1030), u16(language), u32(0), u32(0);
    };
    header(0, 0, 0, 0);
    header(uint32_t(size), type, name, 0x0412);
    res.insert(res.end(), data, data + size);
    while (res.size() % 4) res.push_back(0);
    return res;
}
