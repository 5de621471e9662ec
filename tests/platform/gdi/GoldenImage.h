// Golden screenshot comparison: an image is compared exactly with tests/platform/gdi/golden/<name>.png. A missing
// golden fails. On a mismatch the actual image and a difference image (changed pixels red on a dimmed copy)
// are written next to the test output, in $LX_TEST_TMPDIR/golden/. UPDATE_GOLDENS=1 writes the goldens instead.
#pragma once

#include <windows.h>
#include <cehost/sim.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace golden {

inline std::filesystem::path OutputDir() {
    const char* tmp = std::getenv("LX_TEST_TMPDIR");
    std::filesystem::path dir = std::filesystem::path(tmp && *tmp ? tmp : "/tmp") / "golden";
    std::filesystem::create_directories(dir);
    return dir;
}

// PNG files as 0x00RRGGBB pixels, top-down, through the platform's own reader and writer.
inline bool ReadPng(const std::string& path, int& width, int& height, std::vector<uint32_t>& pixels) {
    if (!cehost::sim::ReadPng(path, &width, &height, &pixels)) return false;
    for (uint32_t& p : pixels) p &= 0x00FFFFFFu;
    return true;
}

// The pixels of a bitmap (0x00RRGGBB, top-down); it may be selected into a DC.
inline std::vector<uint32_t> BitmapPixels(HBITMAP bitmap, int& width, int& height) {
    BITMAP bm{};
    GetObjectW(bitmap, sizeof bm, &bm);
    width = int(bm.bmWidth);
    height = int(bm.bmHeight);
    std::vector<uint32_t> pixels(size_t(width) * size_t(height));
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, UINT(height), pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    for (uint32_t& p : pixels) p &= 0x00FFFFFFu;
    return pixels;
}

inline ::testing::AssertionResult Matches(const std::string& name, int width, int height,
                                          const std::vector<uint32_t>& actual) {
    using cehost::sim::SavePixelsPng;
    std::filesystem::path goldenPath = std::filesystem::path(CEHOST_GOLDEN_DIR) / (name + ".png");
    const char* update = std::getenv("UPDATE_GOLDENS");
    if (update && std::string(update) == "1") {
        std::filesystem::create_directories(goldenPath.parent_path());
        if (!SavePixelsPng(goldenPath.string(), width, height, actual.data()))
            return ::testing::AssertionFailure() << "cannot write " << goldenPath;
        return ::testing::AssertionSuccess() << "golden written";
    }
    const std::string actualPath = (OutputDir() / (name + ".actual.png")).string();
    int gw = 0, gh = 0;
    std::vector<uint32_t> expected;
    const bool found = ReadPng(goldenPath.string(), gw, gh, expected);
    if (!found || gw != width || gh != height) {
        SavePixelsPng(actualPath, width, height, actual.data());
        if (!found)
            return ::testing::AssertionFailure() << "golden image " << goldenPath << " is missing; actual image "
                                                 << "written to " << actualPath << " (UPDATE_GOLDENS=1 records it)";
        return ::testing::AssertionFailure() << name << ": size " << width << "x" << height << " differs from golden "
                                             << gw << "x" << gh << "; actual image in " << actualPath;
    }
    // Changed pixels red on a dimmed copy.
    size_t differing = 0, first = 0;
    std::vector<uint32_t> diff(actual.size());
    for (size_t i = 0; i < actual.size(); ++i) {
        const uint32_t a = actual[i] & 0xFFFFFFu;
        if (a != expected[i] && !differing++) first = i;
        const uint32_t r = ((a >> 16) & 0xFF) / 3 + 170, g = ((a >> 8) & 0xFF) / 3 + 170, b = (a & 0xFF) / 3 + 170;
        diff[i] = a != expected[i] ? 0xFF0000u : r << 16 | g << 8 | b;
    }
    if (!differing) return ::testing::AssertionSuccess();
    const std::string diffPath = (OutputDir() / (name + ".diff.png")).string();
    SavePixelsPng(actualPath, width, height, actual.data());
    SavePixelsPng(diffPath, width, height, diff.data());
    return ::testing::AssertionFailure() << name << ": " << differing << " pixels differ from the golden, first at ("
                                         << first % size_t(width) << ", " << first / size_t(width) << "); see "
                                         << actualPath << " and " << diffPath;
}

inline ::testing::AssertionResult BitmapMatches(const std::string& name, HBITMAP bitmap) {
    int w = 0, h = 0;
    std::vector<uint32_t> px = BitmapPixels(bitmap, w, h);
    return Matches(name, w, h, px);
}

} // namespace golden
