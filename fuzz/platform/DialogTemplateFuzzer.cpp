// Dialog templates as a resource would hand them over: any bytes of a known length. The parser must refuse
// what does not fit without reading past the end (the address sanitizer watches), and what it accepts must
// be consistent with the bytes it was given.
#include "controls/DialogTemplate.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A copy of exactly `size` bytes, so that any read beyond them lands outside the heap block.
    std::vector<uint8_t> bytes(data, data + size);
    cehost::controls::DialogTemplate parsed;
    std::string error;
    const bool ok = cehost::controls::ParseDialogTemplate(bytes.data(), bytes.size(), &parsed, &error);
    if (!ok && error.empty()) {
        std::fprintf(stderr, "a refused dialog template came without a reason\n");
        std::abort();
    }
    // Every item needs at least its fixed 18-byte header, so more items than that cannot have been read.
    if (ok && parsed.items.size() * 18 > size) {
        std::fprintf(stderr, "%zu items accepted from %zu bytes\n", parsed.items.size(), size);
        std::abort();
    }
    return 0;
}
