// Whole-row pixel kernels of the block transfers. Each is built twice, for plain x86-64 and for AVX2, and the
// loader picks the one the processor runs: a 240-pixel row is then 30 steps of eight pixels instead of 60 of
// four.
#pragma once

#include <cstddef>
#include <cstdint>

namespace cehost::gdi {

struct Surface;

// dst[k] = src[k], made opaque.
void CopyRowOpaque(uint32_t* __restrict dst, const uint32_t* __restrict src, size_t count);
// dst[k] keeps its pixel where src[k] has the colour `key` (alpha ignored), takes src[k] made opaque elsewhere.
void CopyRowKeyed(uint32_t* __restrict dst, const uint32_t* __restrict src, size_t count, uint32_t key);

// Copies the runs of a picture's rows onto destination rows [top, bottom): source row y + dy lands on row y,
// source column x on column x - dx, and only source columns [from, to) are taken. Row y of the source has the
// [start, end) pairs pairs[rowStart[y]] up to pairs[rowStart[y + 1]], in order, within the source's width.
// Source and destination are different surfaces; the source has no row table (a picture's own pixels).
struct RunCopy {
    const Surface* dst;
    const Surface* src;
    const uint16_t* pairs;
    const uint32_t* rowStart;
    int top, bottom, dx, dy, from, to;
};
void CopyRuns(const RunCopy& job);

} // namespace cehost::gdi
