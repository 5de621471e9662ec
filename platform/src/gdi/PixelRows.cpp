// Row kernels (see PixelRows.h). Plain loops: the vectoriser writes each clone for its instruction set.
#include "gdi/PixelRows.h"

#include <cstring>
#if defined(__x86_64__)
#include <immintrin.h>
#endif

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

inline uint32_t BlendPixel(uint32_t dst, uint32_t src, unsigned a) {
    if (a == 255) return src | 0xFF000000u;
    unsigned ia = 255 - a;
    unsigned r = (((src >> 16) & 0xFF) * a + ((dst >> 16) & 0xFF) * ia + 127) / 255;
    unsigned g = (((src >> 8) & 0xFF) * a + ((dst >> 8) & 0xFF) * ia + 127) / 255;
    unsigned b = ((src & 0xFF) * a + (dst & 0xFF) * ia + 127) / 255;
    return 0xFF000000u | r << 16 | g << 8 | b;
}

// The vector kernels divide by 255 as (v + 1 + (v >> 8)) >> 8, exact for every v the blend produces (at most
// 255 * 255 + 127), so they agree with BlendPixel to the bit.
#if defined(__x86_64__)
size_t BlendSse2(uint32_t* row, const uint8_t* cov, size_t n, uint32_t color) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i src = _mm_unpacklo_epi8(_mm_set1_epi32(int(color)), zero);
    const __m128i c255 = _mm_set1_epi16(255), c127 = _mm_set1_epi16(127), one = _mm_set1_epi16(1);
    const __m128i opaque = _mm_set1_epi32(int(0xFF000000u));
    auto blend = [&](__m128i d, __m128i a) {
        __m128i v = _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(src, a), _mm_mullo_epi16(d, _mm_sub_epi16(c255, a))), c127);
        return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(v, one), _mm_srli_epi16(v, 8)), 8);
    };
    size_t k = 0;
    for (; k + 4 <= n; k += 4) {
        uint32_t a4;
        std::memcpy(&a4, cov + k, 4);
        if (a4 == 0) continue;
        __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + k));
        __m128i a = _mm_cvtsi32_si128(int(a4));
        a = _mm_unpacklo_epi8(a, a);
        a = _mm_unpacklo_epi16(a, a); // each pixel's coverage in its four bytes
        __m128i lo = blend(_mm_unpacklo_epi8(d, zero), _mm_unpacklo_epi8(a, zero));
        __m128i hi = blend(_mm_unpackhi_epi8(d, zero), _mm_unpackhi_epi8(a, zero));
        __m128i blended = _mm_or_si128(_mm_packus_epi16(lo, hi), opaque);
        __m128i keep = _mm_cmpeq_epi32(a, zero);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(row + k),
                         _mm_or_si128(_mm_and_si128(keep, d), _mm_andnot_si128(keep, blended)));
    }
    return k;
}

// Sixteen 16-bit channels: (s * a + d * (255 - a) + 127) / 255.
__attribute__((target("avx2"))) inline __m256i Blend16(__m256i s, __m256i d, __m256i a) {
    const __m256i c255 = _mm256_set1_epi16(255), c127 = _mm256_set1_epi16(127), one = _mm256_set1_epi16(1);
    __m256i v = _mm256_add_epi16(
        _mm256_add_epi16(_mm256_mullo_epi16(s, a), _mm256_mullo_epi16(d, _mm256_sub_epi16(c255, a))), c127);
    return _mm256_srli_epi16(_mm256_add_epi16(_mm256_add_epi16(v, one), _mm256_srli_epi16(v, 8)), 8);
}

// The same on eight pixels. Unpacking and packing work within each 128-bit half, so pixels keep their order.
__attribute__((target("avx2"))) size_t BlendAvx2(uint32_t* row, const uint8_t* cov, size_t n, uint32_t color) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i src = _mm256_unpacklo_epi8(_mm256_set1_epi32(int(color)), zero);
    const __m256i opaque = _mm256_set1_epi32(int(0xFF000000u));
    // Byte 0 of each pixel's word into all four of its bytes.
    const __m256i spread = _mm256_setr_epi8(0, 0, 0, 0, 4, 4, 4, 4, 8, 8, 8, 8, 12, 12, 12, 12, 0, 0, 0, 0, 4, 4, 4,
                                            4, 8, 8, 8, 8, 12, 12, 12, 12);
    size_t k = 0;
    for (; k + 8 <= n; k += 8) {
        uint64_t a8;
        std::memcpy(&a8, cov + k, 8);
        if (a8 == 0) continue;
        __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + k));
        __m256i a = _mm256_shuffle_epi8(_mm256_cvtepu8_epi32(_mm_cvtsi64_si128(int64_t(a8))), spread);
        __m256i lo = Blend16(src, _mm256_unpacklo_epi8(d, zero), _mm256_unpacklo_epi8(a, zero));
        __m256i hi = Blend16(src, _mm256_unpackhi_epi8(d, zero), _mm256_unpackhi_epi8(a, zero));
        __m256i blended = _mm256_or_si256(_mm256_packus_epi16(lo, hi), opaque);
        __m256i keep = _mm256_cmpeq_epi32(a, zero);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(row + k), _mm256_blendv_epi8(blended, d, keep));
    }
    // What is left takes the four-pixel steps.
    return k + BlendSse2(row + k, cov + k, n - k, color);
}

using BlendKernel = size_t (*)(uint32_t*, const uint8_t*, size_t, uint32_t);
BlendKernel ChooseBlend() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") ? BlendAvx2 : BlendSse2;
}
#endif

} // namespace

void BlendRow(uint32_t* row, const uint8_t* cov, size_t n, uint32_t color) {
    size_t k = 0;
#if defined(__x86_64__)
    static const BlendKernel blend = ChooseBlend();
    k = blend(row, cov, n, color);
#endif
    for (; k < n; ++k)
        if (unsigned a = cov[k]) row[k] = BlendPixel(row[k], color, a);
}

} // namespace cehost::gdi
