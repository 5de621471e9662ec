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
// Text: dst[k] becomes `color` blended over it with coverage cov[k] (0 leaves it alone, 255 replaces it), each
// channel rounded as (c * a + d * (255 - a) + 127) / 255, made opaque. Eight pixels at a time with AVX2, four
// with SSE2.
void BlendRow(uint32_t* dst, const uint8_t* cov, size_t count, uint32_t color);

} // namespace cehost::gdi
