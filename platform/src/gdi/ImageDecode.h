// Decoding of the picture formats resources and files carry: packed DIBs (1, 4, 8, 16, 24 and 32 bits, BI_RGB
// and BI_BITFIELDS), icon images (DIB with an AND mask, or PNG), and .bmp files. Every read is bounds-checked:
// malformed data yields false and a reason, never a read outside the given bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace cehost::gdi {

struct DecodedImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels; // top-down rows, 0xAARRGGBB
    bool hasAlpha = false;        // a 32-bit image whose alpha channel is in use
    std::vector<uint8_t> mask;    // icons: 1 where the image is transparent (one byte per pixel)
};

// A packed DIB (BITMAPINFOHEADER or BITMAPCOREHEADER, colour table, bits). With `icon`, the header's height
// counts the XOR image and the AND mask that follows it.
bool DecodeDib(const uint8_t* data, size_t size, bool icon, DecodedImage& out, std::string& error);
// A PNG image (icons may hold one).
bool DecodePng(const uint8_t* data, size_t size, DecodedImage& out, std::string& error);
bool IsPng(const uint8_t* data, size_t size);
// A .bmp file: BITMAPFILEHEADER followed by a packed DIB.
bool DecodeBmpFile(const uint8_t* data, size_t size, DecodedImage& out, std::string& error);

} // namespace cehost::gdi
