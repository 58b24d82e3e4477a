// The AVX2 level of the blend kernels. Only the functions below are compiled for AVX2; they
// run only after blendKernels has seen that the processor has it. This file includes nothing
// with inline code of its own beyond the kernels, so no AVX2 instruction can reach a function
// that other files share.
#include <cstdint>
#include <cstring>

#include "surface/blend_kernels.h"

#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
#define FOGLOOM_BUILD_AVX2 1
#include <immintrin.h>
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2")
#endif
#endif

#if defined(FOGLOOM_BUILD_AVX2)

#include "surface/blend_templates.h"

namespace fogloom {
namespace {

struct Avx2Ops {
    using V = __m256i;
    static constexpr int Width = 8;
    static V load(const std::uint32_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
    static void store(std::uint32_t* p, V v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }
    static V splat(std::uint32_t x) { return _mm256_set1_epi32(static_cast<int>(x)); }
    static V bitAnd(V a, V b) { return _mm256_and_si256(a, b); }
    static V bitOr(V a, V b) { return _mm256_or_si256(a, b); }
    static V bitXor(V a, V b) { return _mm256_xor_si256(a, b); }
    static V andNot(V a, V b) { return _mm256_andnot_si256(a, b); }
    static V equal(V a, V b) { return _mm256_cmpeq_epi32(a, b); }
    static V avgUp(V a, V b) { return _mm256_avg_epu8(a, b); }
    static V choose(V k, V a, V b) { return _mm256_blendv_epi8(b, a, k); }
    static bool any(V v) { return _mm256_movemask_epi8(v) != 0; }
    static V blendScaled(V t, V s, int f) {
        const __m256i zero = _mm256_setzero_si256();
        const __m256i keepWeight = _mm256_set1_epi16(static_cast<short>(256 - f));
        const __m256i takeWeight = _mm256_set1_epi16(static_cast<short>(f));
        // Unpacking and packing both work within each 128-bit half, so the pixels come back
        // in their places. Both products and their sum stay below 65536.
        const __m256i low =
            _mm256_srli_epi16(_mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpacklo_epi8(t, zero), keepWeight),
                                               _mm256_mullo_epi16(_mm256_unpacklo_epi8(s, zero), takeWeight)),
                              8);
        const __m256i high =
            _mm256_srli_epi16(_mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpackhi_epi8(t, zero), keepWeight),
                                               _mm256_mullo_epi16(_mm256_unpackhi_epi8(s, zero), takeWeight)),
                              8);
        return _mm256_packus_epi16(low, high);
    }
};

constexpr BlendKernels avx2Kernels = blendKernelsOf<Avx2Ops>(KernelLevel::Avx2);

}  // namespace
}  // namespace fogloom

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

namespace fogloom {
const BlendKernels* avx2BlendKernels() { return &avx2Kernels; }
}  // namespace fogloom

#else

namespace fogloom {
const BlendKernels* avx2BlendKernels() { return nullptr; }
}  // namespace fogloom

#endif
