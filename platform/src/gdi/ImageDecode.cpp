// Bounds-checked decoding of packed DIBs, icon images and PNG. Run-length compressed DIBs (BI_RLE4/BI_RLE8)
// are refused with a clear reason.
#include "gdi/ImageDecode.h"

#include <png.h>

#include <cstring>

namespace cehost::gdi {

namespace {

uint16_t U16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t U32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

bool Fail(std::string& error, std::string why) {
    error = std::move(why);
    return false;
}

// Scales a masked channel to 8 bits.
uint32_t Channel(uint32_t value, uint32_t mask) {
    if (!mask) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    uint32_t bits = mask >> shift;
    uint32_t v = (value & mask) >> shift;
    return bits == 0xFF ? v : uint32_t((uint64_t(v) * 255 + bits / 2) / bits);
}

constexpr int kMaxSide = 16384;

} // namespace

bool DecodeDib(const uint8_t* data, size_t size, bool icon, DecodedImage& out, std::string& error) {
    if (!data || size < 12) return Fail(error, "bitmap header truncated (" + std::to_string(size) + " bytes)");
    uint32_t headerSize = U32(data);
    int64_t width, height;
    unsigned planes, bits;
    uint32_t compression = 0, colorsUsed = 0;
    size_t paletteEntry = 4;
    if (headerSize == 12) {
        width = U16(data + 4);
        height = int16_t(U16(data + 6));
        planes = U16(data + 8);
        bits = U16(data + 10);
        paletteEntry = 3;
    } else {
        if (headerSize < 40 || headerSize > size)
            return Fail(error, "bitmap header size " + std::to_string(headerSize) + " does not fit in " +
                                   std::to_string(size) + " bytes");
        width = int32_t(U32(data + 4));
        height = int32_t(U32(data + 8));
        planes = U16(data + 12);
        bits = U16(data + 14);
        compression = U32(data + 16);
        colorsUsed = U32(data + 32);
    }
    bool topDown = height < 0;
    if (topDown) height = -height;
    if (icon) height /= 2;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide)
        return Fail(error, "bitmap size " + std::to_string(width) + " x " + std::to_string(height) + " is invalid");
    if (planes != 1) return Fail(error, "bitmap has " + std::to_string(planes) + " planes");
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return Fail(error, "bitmap depth " + std::to_string(bits) + " is not supported");
    if (compression == 1 || compression == 2) return Fail(error, "run-length compressed bitmaps are not supported");
    if (compression != 0 && !(compression == 3 && (bits == 16 || bits == 32)))
        return Fail(error, "bitmap compression " + std::to_string(compression) + " is not supported");

    size_t offset = headerSize;
    uint32_t masks[4] = {0, 0, 0, 0};
    if (compression == 3) {
        if (headerSize >= 52) {
            for (int i = 0; i < 3; ++i) masks[i] = U32(data + 40 + 4 * i);
        } else {
            if (size < offset + 12) return Fail(error, "bitmap colour masks truncated");
            for (int i = 0; i < 3; ++i) masks[i] = U32(data + offset + 4 * i);
            offset += 12;
        }
    } else if (bits == 16) {
        masks[0] = 0x7C00;
        masks[1] = 0x03E0;
        masks[2] = 0x001F;
    } else if (bits == 32) {
        masks[0] = 0x00FF0000;
        masks[1] = 0x0000FF00;
        masks[2] = 0x000000FF;
    }
    std::vector<uint32_t> palette;
    if (bits <= 8) {
        size_t count = colorsUsed ? colorsUsed : (size_t(1) << bits);
        if (count > 256) return Fail(error, "bitmap colour table of " + std::to_string(count) + " entries");
        if (size < offset || (size - offset) / paletteEntry < count) return Fail(error, "bitmap colour table truncated");
        for (size_t i = 0; i < count; ++i) {
            const uint8_t* e = data + offset + i * paletteEntry;
            palette.push_back(0xFF000000u | uint32_t(e[2]) << 16 | uint32_t(e[1]) << 8 | e[0]);
        }
        offset += count * paletteEntry;
    } else if (colorsUsed && colorsUsed <= 256 && headerSize != 12) {
        // A colour table may precede true-colour bits; it is skipped.
        if (size < offset || (size - offset) / 4 < colorsUsed) return Fail(error, "bitmap colour table truncated");
        offset += size_t(colorsUsed) * 4;
    }
    size_t stride = ((size_t(width) * bits + 31) / 32) * 4;
    size_t need = stride * size_t(height);
    if (size < offset || size - offset < need)
        return Fail(error, "bitmap bits truncated: " + std::to_string(need) + " bytes needed, " +
                               std::to_string(size < offset ? 0 : size - offset) + " present");
    const uint8_t* bitsStart = data + offset;
    out.width = int(width);
    out.height = int(height);
    out.pixels.assign(size_t(width) * size_t(height), 0xFF000000u);
    out.hasAlpha = false;
    uint32_t alphaSeen = 0;
    for (int64_t y = 0; y < height; ++y) {
        const uint8_t* row = bitsStart + size_t(topDown ? y : height - 1 - y) * stride;
        uint32_t* dst = out.pixels.data() + size_t(y) * size_t(width);
        for (int64_t x = 0; x < width; ++x) {
            uint32_t px;
            switch (bits) {
            case 1:
            case 4:
            case 8: {
                size_t bit = size_t(x) * bits;
                unsigned index = (row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
                px = index < palette.size() ? palette[index] : 0xFF000000u;
                break;
            }
            case 16: {
                uint32_t v = U16(row + 2 * x);
                px = 0xFF000000u | Channel(v, masks[0]) << 16 | Channel(v, masks[1]) << 8 | Channel(v, masks[2]);
                break;
            }
            case 24: px = 0xFF000000u | uint32_t(row[3 * x + 2]) << 16 | uint32_t(row[3 * x + 1]) << 8 | row[3 * x]; break;
            default: {
                uint32_t v = U32(row + 4 * x);
                uint32_t a = v >> 24;
                alphaSeen |= a;
                px = a << 24 | Channel(v, masks[0]) << 16 | Channel(v, masks[1]) << 8 | Channel(v, masks[2]);
                break;
            }
            }
            dst[x] = px;
        }
    }
    if (bits == 32) {
        out.hasAlpha = alphaSeen != 0 && compression == 0;
        if (!out.hasAlpha)
            for (uint32_t& p : out.pixels) p |= 0xFF000000u;
    }
    out.mask.clear();
    if (icon) {
        size_t maskOffset = offset + need;
        size_t maskStride = ((size_t(width) + 31) / 32) * 4;
        size_t maskNeed = maskStride * size_t(height);
        if (size - maskOffset < maskNeed) {
            // 32-bit icons may leave the mask out; their alpha says what is transparent.
            if (!out.hasAlpha) return Fail(error, "icon mask truncated");
        } else {
            out.mask.assign(size_t(width) * size_t(height), 0);
            const uint8_t* m = data + maskOffset;
            for (int64_t y = 0; y < height; ++y) {
                const uint8_t* row = m + size_t(topDown ? y : height - 1 - y) * maskStride;
                for (int64_t x = 0; x < width; ++x)
                    out.mask[size_t(y) * size_t(width) + size_t(x)] = (row[x / 8] >> (7 - x % 8)) & 1;
            }
        }
    }
    return true;
}

bool IsPng(const uint8_t* data, size_t size) {
    static const uint8_t sig[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    return data && size >= 8 && std::memcmp(data, sig, 8) == 0;
}

bool DecodePng(const uint8_t* data, size_t size, DecodedImage& out, std::string& error) {
    if (!IsPng(data, size)) return Fail(error, "not a PNG image");
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data, size)) return Fail(error, std::string("PNG: ") + image.message);
    if (image.width == 0 || image.height == 0 || image.width > kMaxSide || image.height > kMaxSide) {
        png_image_free(&image);
        return Fail(error, "PNG size is invalid");
    }
    image.format = PNG_FORMAT_BGRA; // little-endian 0xAARRGGBB words
    out.width = int(image.width);
    out.height = int(image.height);
    out.pixels.assign(size_t(image.width) * image.height, 0);
    if (!png_image_finish_read(&image, nullptr, out.pixels.data(), 0, nullptr)) {
        std::string why = image.message;
        png_image_free(&image);
        return Fail(error, "PNG: " + why);
    }
    out.hasAlpha = true;
    out.mask.clear();
    return true;
}

bool DecodeBmpFile(const uint8_t* data, size_t size, DecodedImage& out, std::string& error) {
    if (!data || size < 14 || data[0] != 'B' || data[1] != 'M') return Fail(error, "not a .bmp file");
    uint32_t bitsOffset = U32(data + 10);
    if (bitsOffset > size) return Fail(error, ".bmp bits offset lies beyond the file");
    // The DIB decoder finds the bits right after the colour table; a file may put them elsewhere.
    std::string inner;
    DecodedImage image;
    if (!DecodeDib(data + 14, size - 14, false, image, inner)) return Fail(error, inner);
    out = std::move(image);
    return true;
}

} // namespace cehost::gdi
