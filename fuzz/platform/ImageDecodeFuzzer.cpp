// Pictures as resources and files carry them: packed DIBs, icon images, PNG and .bmp files. Decoding must
// refuse bad data with a reason and never read outside it; an accepted picture must hold exactly
// width x height pixels (and a mask of the same size when it has one).
#include "gdi/ImageDecode.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using Decoder = bool (*)(const uint8_t*, size_t, cehost::gdi::DecodedImage&, std::string&);

bool DibPicture(const uint8_t* d, size_t n, cehost::gdi::DecodedImage& out, std::string& error) {
    return cehost::gdi::DecodeDib(d, n, false, out, error);
}
bool DibIcon(const uint8_t* d, size_t n, cehost::gdi::DecodedImage& out, std::string& error) {
    return cehost::gdi::DecodeDib(d, n, true, out, error);
}

void Check(Decoder decode, const char* what, const std::vector<uint8_t>& bytes) {
    cehost::gdi::DecodedImage image;
    std::string error;
    if (!decode(bytes.data(), bytes.size(), image, error)) {
        if (error.empty()) {
            std::fprintf(stderr, "%s: refused without a reason\n", what);
            std::abort();
        }
        return;
    }
    const size_t area = size_t(image.width) * size_t(image.height);
    if (image.width <= 0 || image.height <= 0 || image.pixels.size() != area ||
        (!image.mask.empty() && image.mask.size() != area)) {
        std::fprintf(stderr, "%s: accepted %dx%d with %zu pixels and a mask of %zu\n", what, image.width,
                     image.height, image.pixels.size(), image.mask.size());
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    // The first byte picks the decoder, the rest is the picture, copied so that its end is the heap block's.
    const std::vector<uint8_t> bytes(data + 1, data + size);
    switch (data[0] % 4) {
    case 0: Check(DibPicture, "DIB", bytes); break;
    case 1: Check(DibIcon, "icon DIB", bytes); break;
    case 2: Check(cehost::gdi::DecodePng, "PNG", bytes); break;
    default: Check(cehost::gdi::DecodeBmpFile, ".bmp file", bytes); break;
    }
    return 0;
}
