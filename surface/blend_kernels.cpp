#include "surface/blend_kernels.h"

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "surface/blend_templates.h"

namespace fogloom {
namespace {

#if defined(__SSE2__)
struct Sse2Ops {
    using V = __m128i;
    static constexpr int Width = 4;
    static V load(const std::uint32_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
    static void store(std::uint32_t* p, V v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
    static V splat(std::uint32_t x) { return _mm_set1_epi32(static_cast<int>(x)); }
    static V bitAnd(V a, V b) { return _mm_and_si128(a, b); }
    static V bitOr(V a, V b) { return _mm_or_si128(a, b); }
    static V bitXor(V a, V b) { return _mm_xor_si128(a, b); }
    static V andNot(V a, V b) { return _mm_andnot_si128(a, b); }
    static V equal(V a, V b) { return _mm_cmpeq_epi32(a, b); }
    static V avgUp(V a, V b) { return _mm_avg_epu8(a, b); }
    static V choose(V k, V a, V b) { return _mm_or_si128(_mm_and_si128(k, a), _mm_andnot_si128(k, b)); }
    static bool any(V v) { return _mm_movemask_epi8(v) != 0; }
    static V blendScaled(V t, V s, int f) {
        const __m128i zero = _mm_setzero_si128();
        const __m128i keepWeight = _mm_set1_epi16(static_cast<short>(256 - f));
        const __m128i takeWeight = _mm_set1_epi16(static_cast<short>(f));
        // Both products and their sum stay below 65536: 16-bit lanes hold them exactly.
        const __m128i low = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(t, zero), keepWeight),
                                                         _mm_mullo_epi16(_mm_unpacklo_epi8(s, zero), takeWeight)),
                                           8);
        const __m128i high = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(t, zero), keepWeight),
                                                          _mm_mullo_epi16(_mm_unpackhi_epi8(s, zero), takeWeight)),
                                            8);
        return _mm_packus_epi16(low, high);
    }
};
#endif

// The processor's features, read once: the one place that decides which level runs.
KernelLevel detectBestLevel() {
    if (blendKernels(KernelLevel::Avx2) != nullptr) return KernelLevel::Avx2;
    if (blendKernels(KernelLevel::Sse2) != nullptr) return KernelLevel::Sse2;
    return KernelLevel::Portable;
}

bool processorHasAvx2() {
#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
#else
    return false;
#endif
}

}  // namespace

const BlendKernels* portableBlendKernels() {
    static constexpr BlendKernels kernels = blendKernelsOf<PairOps>(KernelLevel::Portable);
    return &kernels;
}

const BlendKernels* sse2BlendKernels() {
#if defined(__SSE2__)
    static constexpr BlendKernels kernels = blendKernelsOf<Sse2Ops>(KernelLevel::Sse2);
    return &kernels;
#else
    return nullptr;
#endif
}

const BlendKernels* blendKernels(KernelLevel level) {
    switch (level) {
        case KernelLevel::Portable: return portableBlendKernels();
        case KernelLevel::Sse2: return sse2BlendKernels();
        case KernelLevel::Avx2: {
            static const bool usable = processorHasAvx2();
            return usable ? avx2BlendKernels() : nullptr;
        }
    }
    return nullptr;
}

KernelLevel bestKernelLevel() {
    static const KernelLevel level = detectBestLevel();
    return level;
}

const BlendKernels& bestBlendKernels() {
    static const BlendKernels& kernels = *blendKernels(bestKernelLevel());
    return kernels;
}

}  // namespace fogloom
