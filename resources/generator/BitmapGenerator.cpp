// Draws the library's bitmaps and its icon group as .bmp/.ico files for the resource script. Every picture is
// described here in code so anyone can see how it is made; magenta (0xFF00FF) is the transparent colour of
// the small images. Usage: BitmapGenerator <output folder>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};

constexpr Rgb kMagenta{0xFF, 0x00, 0xFF};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{0xFF, 0xFF, 0xFF};

Rgb FromHex(uint32_t rgb) { return {uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb)}; }

struct Image {
    int width, height;
    std::vector<Rgb> pixels; // top-down
    Image(int w, int h, Rgb fill) : width(w), height(h), pixels(size_t(w) * h, fill) {}
    Rgb& at(int x, int y) { return pixels[size_t(y) * width + x]; }
    void Fill(int x0, int y0, int x1, int y1, Rgb c) {
        for (int y = std::max(0, y0); y < std::min(height, y1); ++y)
            for (int x = std::max(0, x0); x < std::min(width, x1); ++x) at(x, y) = c;
    }
    void ForEach(const std::function<void(int, int, Rgb&)>& f) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) f(x, y, at(x, y));
    }
};

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

void PutInfoHeader(std::vector<uint8_t>& out, int w, int h, int bits, uint32_t imageSize, uint32_t colours) {
    Put32(out, 40);
    Put32(out, uint32_t(w));
    Put32(out, uint32_t(h));
    Put16(out, 1);
    Put16(out, uint16_t(bits));
    Put32(out, 0); // BI_RGB
    Put32(out, imageSize);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, colours);
    Put32(out, 0);
}

// Bottom-up 24-bit rows, each padded to four bytes.
std::vector<uint8_t> Rows24(const Image& img) {
    std::vector<uint8_t> rows;
    const int stride = (img.width * 3 + 3) & ~3;
    for (int y = img.height - 1; y >= 0; --y) {
        for (int x = 0; x < img.width; ++x) {
            const Rgb& p = img.pixels[size_t(y) * img.width + x];
            rows.insert(rows.end(), {p.b, p.g, p.r});
        }
        rows.resize(rows.size() + (stride - img.width * 3), 0);
    }
    return rows;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

std::vector<uint8_t> FileHeader(uint32_t fileSize, uint32_t dataOffset) {
    std::vector<uint8_t> out{'B', 'M'};
    Put32(out, fileSize);
    Put32(out, 0);
    Put32(out, dataOffset);
    return out;
}

bool WriteBmp24(const std::string& path, const Image& img) {
    const std::vector<uint8_t> rows = Rows24(img);
    std::vector<uint8_t> out = FileHeader(uint32_t(14 + 40 + rows.size()), 14 + 40);
    PutInfoHeader(out, img.width, img.height, 24, uint32_t(rows.size()), 0);
    out.insert(out.end(), rows.begin(), rows.end());
    return WriteFile(path, out);
}

// 4-bit bitmap with a palette made of the picture's own colours (at most 16).
bool WriteBmp4(const std::string& path, const Image& img) {
    std::vector<Rgb> palette;
    for (const Rgb& p : img.pixels)
        if (std::find(palette.begin(), palette.end(), p) == palette.end()) palette.push_back(p);
    if (palette.size() > 16) return false;
    const int stride = ((img.width + 1) / 2 + 3) & ~3;
    std::vector<uint8_t> rows;
    for (int y = img.height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(size_t(stride), 0);
        for (int x = 0; x < img.width; ++x) {
            const auto index = uint8_t(std::find(palette.begin(), palette.end(),
                                                 img.pixels[size_t(y) * img.width + x]) - palette.begin());
            row[size_t(x / 2)] |= (x % 2 == 0) ? uint8_t(index << 4) : index;
        }
        rows.insert(rows.end(), row.begin(), row.end());
    }
    const uint32_t offset = 14 + 40 + 16 * 4;
    std::vector<uint8_t> out = FileHeader(uint32_t(offset + rows.size()), offset);
    PutInfoHeader(out, img.width, img.height, 4, uint32_t(rows.size()), 16);
    for (size_t i = 0; i < 16; ++i) {
        const Rgb c = i < palette.size() ? palette[i] : kBlack;
        out.insert(out.end(), {c.b, c.g, c.r, 0});
    }
    out.insert(out.end(), rows.begin(), rows.end());
    return WriteFile(path, out);
}

// A dark bar with a one-pixel light line along the top and a darker one along the bottom.
Image Bar(int w, int h) {
    Image img(w, h, FromHex(0x272727));
    img.Fill(0, 0, w, 1, FromHex(0x585858));
    img.Fill(0, h - 1, w, h, FromHex(0x181818));
    return img;
}

// Horizontal triangle centred in a 30 x 25 cell: 8 pixels wide, 15 high.
Image Arrow(bool pointsLeft, Rgb colour) {
    Image img(30, 25, kMagenta);
    const int tipX = pointsLeft ? 11 : 18, cy = 12;
    for (int i = 0; i < 8; ++i) {
        const int x = pointsLeft ? tipX + i : tipX - i;
        img.Fill(x, cy - i, x + 1, cy + i + 1, colour);
    }
    return img;
}

// A 14 x 14 square box with a one-pixel edge, centred in a 30 x 25 cell.
Image Box(Rgb face, Rgb edge) {
    Image img(30, 25, kMagenta);
    img.Fill(8, 5, 22, 19, edge);
    img.Fill(9, 6, 21, 18, face);
    return img;
}

// A thick red tick over the box area.
Image CheckMark() {
    Image img(30, 25, kMagenta);
    const Rgb red = FromHex(0xE01010);
    auto stroke = [&](int x, int y) { img.Fill(x, y, x + 3, y + 3, red); };
    for (int i = 0; i <= 4; ++i) stroke(9 + i, 11 + i);   // short leg down to the right
    for (int i = 0; i <= 8; ++i) stroke(13 + i, 15 - (i * 5) / 4); // long leg up to the right
    return img;
}

// A light-grey key cap with rounded corners (radius 3) and a darker rim.
Image KeyCap() {
    Image img(30, 25, kMagenta);
    const int x0 = 6, y0 = 3, x1 = 24, y1 = 22, r = 3;
    img.ForEach([&](int x, int y, Rgb& p) {
        if (x < x0 || x >= x1 || y < y0 || y >= y1) return;
        const int dx = x < x0 + r ? x0 + r - x : (x >= x1 - r ? x - (x1 - r - 1) : 0);
        const int dy = y < y0 + r ? y0 + r - y : (y >= y1 - r ? y - (y1 - r - 1) : 0);
        const double d = std::sqrt(double(dx * dx + dy * dy));
        if (d > r + 0.5) return;
        const bool rim = d > r - 0.5 || x == x0 || x == x1 - 1 || y == y0 || y == y1 - 1;
        p = rim ? FromHex(0x8C8C8C) : FromHex(0xD2D2D2);
    });
    return img;
}

// The title strip: black with a soft grey glow rising from its lower left corner.
Image TitleStrip() {
    Image img(1135, 37, kBlack);
    img.ForEach([](int x, int y, Rgb& p) {
        const double dx = x / 160.0, dy = (36 - y) / 30.0;
        const double glow = std::max(0.0, 1.0 - std::sqrt(dx * dx + dy * dy));
        const auto v = uint8_t(std::lround(0x60 * glow * glow));
        p = {v, v, v};
    });
    return img;
}

Image GreenSquare(bool filled) {
    Image img(18, 18, kMagenta);
    const Rgb green = FromHex(0x00A000);
    img.Fill(3, 3, 15, 15, green);
    if (!filled) img.Fill(5, 5, 13, 13, kMagenta);
    return img;
}

// Icon group: one 32 x 32 24-bit image, a dark rounded key pad with a lit 3 x 3 grid of keys.
bool WriteIcon(const std::string& path) {
    Image img(32, 32, kBlack);
    std::vector<uint8_t> mask(32 * 4, 0); // 1 = transparent; rows bottom-up, 32 bits each
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const int cx = std::min(x, 31 - x), cy = std::min(y, 31 - y);
            const bool corner = cx < 3 && cy < 3 && (3 - cx) * (3 - cx) + (3 - cy) * (3 - cy) > 9;
            img.at(x, y) = FromHex(0x272727);
            if (corner) {
                img.at(x, y) = kBlack;
                mask[size_t(31 - y) * 4 + x / 8] |= uint8_t(0x80 >> (x % 8));
            }
        }
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            img.Fill(5 + col * 8, 5 + row * 8, 11 + col * 8, 11 + row * 8, row == 1 && col == 1 ? kWhite : FromHex(0x969696));
    img.Fill(5, 29, 27, 30, FromHex(0x585858));

    const std::vector<uint8_t> rows = Rows24(img);
    std::vector<uint8_t> dib;
    PutInfoHeader(dib, 32, 64, 24, uint32_t(rows.size() + mask.size()), 0);
    dib.insert(dib.end(), rows.begin(), rows.end());
    dib.insert(dib.end(), mask.begin(), mask.end());

    std::vector<uint8_t> out;
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, 1);
    out.insert(out.end(), {32, 32, 0, 0});
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, uint32_t(dib.size()));
    Put32(out, 6 + 16);
    out.insert(out.end(), dib.begin(), dib.end());
    return WriteFile(path, out);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    auto bmp = [&](int id) { return dir + "/" + std::to_string(id) + ".bmp"; };
    const Rgb grey = FromHex(0x808080), yellow = FromHex(0xFFFF00);

    bool ok = WriteBmp24(bmp(9960), TitleStrip());
    ok &= WriteBmp24(bmp(9961), Image(424, 26, kBlack));
    ok &= WriteBmp24(bmp(9962), Bar(424, 26));
    ok &= WriteBmp24(bmp(9963), Arrow(true, kWhite));
    ok &= WriteBmp24(bmp(9964), Arrow(false, kWhite));
    ok &= WriteBmp24(bmp(9965), Arrow(true, grey));
    ok &= WriteBmp24(bmp(9966), Arrow(false, grey));
    ok &= WriteBmp24(bmp(9967), Arrow(true, yellow));
    ok &= WriteBmp24(bmp(9968), Arrow(false, yellow));
    ok &= WriteBmp24(bmp(9969), Image(424, 225, FromHex(0x272727)));
    ok &= WriteBmp24(bmp(9970), Image(424, 236, kBlack));
    ok &= WriteBmp24(bmp(9973), Box(kWhite, FromHex(0x9A9A9A)));
    ok &= WriteBmp24(bmp(9974), Box(FromHex(0x717171), FromHex(0x484848)));
    ok &= WriteBmp4(bmp(9975), GreenSquare(true));
    ok &= WriteBmp4(bmp(9976), GreenSquare(false));
    ok &= WriteBmp24(bmp(9977), KeyCap());
    ok &= WriteBmp24(bmp(9978), KeyCap());
    ok &= WriteBmp4(bmp(9979), Image(18, 18, kMagenta));
    ok &= WriteBmp4(bmp(9980), Image(18, 18, kMagenta));
    ok &= WriteBmp24(bmp(9981), CheckMark());
    ok &= WriteBmp24(bmp(9982), Bar(1130, 26));
    ok &= WriteBmp24(bmp(9983), Image(1135, 26, kBlack));
    ok &= WriteIcon(dir + "/9971.ico");
    if (!ok) {
        std::fprintf(stderr, "BitmapGenerator: cannot write the pictures into %s\n", dir.c_str());
        return 1;
    }
    return 0;
}
