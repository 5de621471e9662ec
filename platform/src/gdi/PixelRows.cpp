// Row kernels (see PixelRows.h). Plain loops and vector types: the compiler writes each clone for its
// instruction set.
#include "gdi/PixelRows.h"
#include "gdi/GdiObjects.h"

#include <cstring>

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

namespace {

// Eight and four pixels at any address: one AVX2 register, or two and one SSE2 registers.
typedef uint32_t Pixels8 __attribute__((vector_size(32), aligned(1), may_alias));
typedef uint32_t Pixels4 __attribute__((vector_size(16), aligned(1), may_alias));

// Pixels at p taken as one vector (written out in place: a function passing vectors would change its calling
// convention between the clones).
#define CEHOST_PX8(p) (*reinterpret_cast<Pixels8*>(p))
#define CEHOST_CPX8(p) (*reinterpret_cast<const Pixels8*>(p))
#define CEHOST_PX4(p) (*reinterpret_cast<Pixels4*>(p))
#define CEHOST_CPX4(p) (*reinterpret_cast<const Pixels4*>(p))

// n >= 1 pixels, inline: most runs of a picture are a few dozen pixels, for which a library call costs more
// than the copy. Short lengths are covered by two blocks that may overlap, so that each takes no loop.
inline __attribute__((always_inline)) void CopyPixels(uint32_t* __restrict d, const uint32_t* __restrict s,
                                                      size_t n) {
    if (n < 4) {
        d[0] = s[0];
        if (n > 1) d[1] = s[1];
        if (n > 2) d[2] = s[2];
    } else if (n <= 8) {
        const Pixels4 a = CEHOST_CPX4(s), b = CEHOST_CPX4(s + n - 4);
        CEHOST_PX4(d) = a;
        CEHOST_PX4(d + n - 4) = b;
    } else if (n <= 16) {
        const Pixels8 a = CEHOST_CPX8(s), b = CEHOST_CPX8(s + n - 8);
        CEHOST_PX8(d) = a;
        CEHOST_PX8(d + n - 8) = b;
    } else if (n <= 32) {
        const Pixels8 a = CEHOST_CPX8(s), b = CEHOST_CPX8(s + 8);
        const Pixels8 c = CEHOST_CPX8(s + n - 16), e = CEHOST_CPX8(s + n - 8);
        CEHOST_PX8(d) = a;
        CEHOST_PX8(d + 8) = b;
        CEHOST_PX8(d + n - 16) = c;
        CEHOST_PX8(d + n - 8) = e;
    } else {
        // Whole rows: 64 pixels a step, then at most two steps of 32, the last one ending on the last pixel.
        size_t k = 0;
        for (; k + 64 <= n; k += 64) {
#pragma GCC unroll 8
            for (size_t j = 0; j < 64; j += 8) CEHOST_PX8(d + k + j) = CEHOST_CPX8(s + k + j);
        }
        if (n - k > 32) {
#pragma GCC unroll 4
            for (size_t j = 0; j < 32; j += 8) CEHOST_PX8(d + k + j) = CEHOST_CPX8(s + k + j);
        }
#pragma GCC unroll 4
        for (size_t j = 0; j < 32; j += 8) CEHOST_PX8(d + n - 32 + j) = CEHOST_CPX8(s + n - 32 + j);
    }
}

} // namespace

// The rows of one transfer. Everything the loop needs is in locals: a pixel store may alias any int or
// pointer-sized field, which would otherwise be read again for every row.
template <bool Whole, bool Table>
inline __attribute__((always_inline)) void CopyRunRows(const RunCopy& job) {
    uint32_t* const* const dstRows = job.dst->rows;
    uint32_t* const dst0 = job.dst->row0;
    const ptrdiff_t dstStride = job.dst->stride, srcStride = job.src->stride;
    const uint32_t* srow = job.src->row0 + (job.top + job.dy) * srcStride;
    const uint16_t* const pairs = job.pairs;
    const uint32_t* start = job.rowStart + (job.top + job.dy);
    const int dx = job.dx, from = job.from, to = job.to, bottom = job.bottom;
    for (int y = job.top; y < bottom; ++y, ++start, srow += srcStride) {
        const uint16_t* r = pairs + start[0];
        const uint16_t* const end = pairs + start[1];
        if (r == end) continue;
        uint32_t* const row = (Table ? dstRows[y] : dst0 + y * dstStride) - dx;
        if constexpr (Whole) {
            for (; r != end; r += 2) CopyPixels(row + r[0], srow + r[0], size_t(r[1] - r[0]));
        } else {
            for (; r != end; r += 2) {
                const int a = std::max<int>(r[0], from), b = std::min<int>(r[1], to);
                if (a < b) CopyPixels(row + a, srow + a, size_t(b - a));
                if (r[1] >= to) break;
            }
        }
    }
}

CEHOST_ROW_CLONES
void CopyRuns(const RunCopy& job) {
    // A picture wholly inside the columns wanted (an icon within its clip) copies its runs as they are.
    // The screen finds its rows through its table, a bitmap by its stride.
    const bool whole = job.from <= 0 && job.to >= job.src->width, table = job.dst->rows != nullptr;
    if (whole)
        table ? CopyRunRows<true, true>(job) : CopyRunRows<true, false>(job);
    else
        table ? CopyRunRows<false, true>(job) : CopyRunRows<false, false>(job);
}

} // namespace cehost::gdi
