// PNG screenshots of the framebuffer, a rectangle of it, a window, or a memory bitmap (8-bit RGB through
// libpng). The file is written next to its final name and renamed into place, so a reader never sees half an
// image.
#include "gdi/GdiObjects.h"
#include "gdi/ImageDecode.h"
#include "internal/bridge.h"

#include <cehost/sim/gdi.h>

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

namespace cehost::gdi {

namespace {

bool Fail(std::string* error, const std::string& why) {
    if (error) *error = why;
    return false;
}

struct PngWriteError {
    std::string message;
};

void OnPngError(png_structp png, png_const_charp message) {
    auto* err = static_cast<PngWriteError*>(png_get_error_ptr(png));
    err->message = message ? message : "libpng error";
    png_longjmp(png, 1);
}
void OnPngWarning(png_structp, png_const_charp) {}

bool WritePng(const std::string& path, const Surface& s, const RECT& r, std::string* error) {
    if (IsEmpty(r)) return Fail(error, "the area to save is empty");
    std::string temp = path + ".part";
    FILE* file = std::fopen(temp.c_str(), "wb");
    if (!file) return Fail(error, "cannot create " + temp + ": " + std::strerror(errno));
    PngWriteError pngError;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &pngError, OnPngError, OnPngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_write_struct(&png, nullptr);
        std::fclose(file);
        std::remove(temp.c_str());
        return Fail(error, "out of memory for the PNG encoder");
    }
    const int width = int(r.right - r.left), height = int(r.bottom - r.top);
    std::vector<png_byte> row(size_t(width) * 3);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        std::remove(temp.c_str());
        return Fail(error, "cannot write " + path + ": " + pngError.message);
    }
    png_init_io(png, file);
    // Fast settings: screenshots are written often in scripted runs and tests.
    png_set_compression_level(png, 1);
    png_set_filter(png, 0, PNG_FILTER_SUB);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        const uint32_t* src = s.Row(int(r.top) + y) + r.left;
        for (int x = 0; x < width; ++x) {
            row[size_t(x) * 3] = png_byte(src[x] >> 16);
            row[size_t(x) * 3 + 1] = png_byte(src[x] >> 8);
            row[size_t(x) * 3 + 2] = png_byte(src[x]);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    bool closed = std::fclose(file) == 0;
    if (!closed) {
        std::remove(temp.c_str());
        return Fail(error, "cannot write " + path + ": " + std::strerror(errno));
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        std::string why = std::strerror(errno);
        std::remove(temp.c_str());
        return Fail(error, "cannot move " + temp + " to " + path + ": " + why);
    }
    return true;
}

} // namespace

} // namespace cehost::gdi

namespace cehost::sim {

bool SaveScreenshotRect(const std::string& path, const RECT& rect, std::string* error) {
    gdi::PayScreenRows();
    const gdi::Surface& s = gdi::Screen();
    RECT r = gdi::Intersect(rect, RECT{0, 0, s.width, s.height});
    return gdi::WritePng(path, s, r, error);
}

bool SaveScreenshot(const std::string& path, std::string* error) {
    gdi::PayScreenRows();
    const gdi::Surface& s = gdi::Screen();
    return gdi::WritePng(path, s, RECT{0, 0, s.width, s.height}, error);
}

bool SaveWindowScreenshot(HWND hwnd, const std::string& path, std::string* error) {
    RECT r;
    if (!hwnd || !IsWindow(hwnd) || !GetWindowRect(hwnd, &r)) {
        if (error) *error = "no such window";
        return false;
    }
    // What the screen shows of the window: anything above it is in the picture too.
    return SaveScreenshotRect(path, r, error);
}

bool SaveBitmapPng(HBITMAP bitmap, const std::string& path, std::string* error) {
    gdi::Bitmap* b = gdi::LookupBitmap(bitmap);
    if (!b) {
        if (error) *error = "not a bitmap";
        return false;
    }
    return gdi::WritePng(path, b->surface, RECT{0, 0, b->surface.width, b->surface.height}, error);
}

bool SavePixelsPng(const std::string& path, int width, int height, const uint32_t* pixels, std::string* error) {
    if (width < 1 || height < 1 || !pixels) {
        if (error) *error = "the image is empty";
        return false;
    }
    const gdi::Surface s{width, height, const_cast<uint32_t*>(pixels), width};
    return gdi::WritePng(path, s, RECT{0, 0, width, height}, error);
}

bool ReadPng(const std::string& path, int* width, int* height, std::vector<uint32_t>* pixels, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (error) *error = "cannot read " + path;
        return false;
    }
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    gdi::DecodedImage image;
    std::string why;
    if (!gdi::DecodePng(bytes.data(), bytes.size(), image, why)) {
        if (error) *error = path + " is not a PNG image we can read: " + why;
        return false;
    }
    for (uint32_t& p : image.pixels) p |= 0xFF000000u;
    *width = image.width;
    *height = image.height;
    *pixels = std::move(image.pixels);
    return true;
}

} // namespace cehost::sim
