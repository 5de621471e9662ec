// Row kernels (see PixelRows.h). Plain loops: the vectoriser writes each clone for its instruction set.
#include "gdi/PixelRows.h"

namespace cehost::gdi {

#if defined(__x86_64__) && defined(__has_attribute)
#if __has_attribute(target_clones)
#define CEHOST_ROW_CLONES __attribute__((target_clones("avx2", "default")))
#endif
#endif
#ifndef CEHOST_ROW_CLONES
#define CEHOST_ROW_CLONES
#endif

CEHOST_ROW_CLONES
void CopyRowOpaque(uint32_t* __restrict dst, const uint32_t* __restrict src, size_t count) {
    // Unrolled: a row is mostly tens of vector steps, and the loop's own count and branch were half the work.
#pragma GCC unroll 4
    for (size_t k = 0; k < count; ++k) dst[k] = src[k] | 0xFF000000u;
}

CEHOST_ROW_CLONES
void CopyRowKeyed(uint32_t* __restrict dst, const uint32_t* __restrict src, size_t count, uint32_t key) {
    key &= 0x00FFFFFFu;
    for (size_t k = 0; k < count; ++k) {
        const uint32_t s = src[k];
        dst[k] = (s & 0x00FFFFFFu) == key ? dst[k] : (s | 0xFF000000u);
    }
}

} // namespace cehost::gdi
