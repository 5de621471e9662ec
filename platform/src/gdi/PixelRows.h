// Whole-row pixel kernels of the block transfers. Each is built twice, for plain x86-64 and for AVX2, and the
// loader picks the one the processor runs: a 240-pixel row is then 30 steps of eight pixels instead of 60 of
// four.
#pragma once

#include <cstddef>
#include <cstdint>

namespace cehost::gdi {

// dst[k] = src[k], made opaque.
void CopyRowOpaque(uint32_t* __restrict dst, const uint32_t* __restrict src, size_t count);
// dst[k] keeps its pixel where src[k] has the colour `key` (alpha ignored), takes src[k] made opaque elsewhere.
void CopyRowKeyed(uint32_t* __restrict dst, const uint32_t* __restrict src, size_t count, uint32_t key);

} // namespace cehost::gdi
