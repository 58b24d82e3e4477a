// The row kernels of surface/blend_kernels.h written once over a vector type. Each file that
// builds one instruction level includes this header after it has chosen its instructions,
// and supplies an Ops struct with these static members:
//
//   V, Width                       the vector type and how many 32-bit pixels it holds
//   load(p), store(p, v)           unaligned loads and stores of Width pixels
//   splat(x)                       x in every pixel
//   bitAnd, bitOr, bitXor          bitwise operations
//   andNot(a, b)                   ~a & b
//   equal(a, b)                    all ones in pixels where a == b, else 0
//   avgUp(a, b)                    ceil((a + b) / 2) in every byte
//   choose(k, a, b)                a where k is all ones, b where k is 0
//   any(v)                         whether some bit is set
//   blendScaled(t, s, f)           (t * (256 - f) + s * f) >> 8 in every byte, f in 1..256
//
// Everything here lives in an unnamed namespace: each including file gets its own copy,
// compiled for its own instructions, and none of them leaks to another file.
#pragma once

#include <cstdint>
#include <cstring>

#include "surface/blend_kernels.h"

namespace fogloom {
namespace {

// One pixel at a time in a 32-bit word; also finishes the rows the vector levels leave over.
struct ScalarOps {
    using V = std::uint32_t;
    static constexpr int Width = 1;
    static V load(const std::uint32_t* p) { return *p; }
    static void store(std::uint32_t* p, V v) { *p = v; }
    static V splat(std::uint32_t x) { return x; }
    static V bitAnd(V a, V b) { return a & b; }
    static V bitOr(V a, V b) { return a | b; }
    static V bitXor(V a, V b) { return a ^ b; }
    static V andNot(V a, V b) { return ~a & b; }
    static V equal(V a, V b) { return a == b ? ~V{0} : V{0}; }
    // a + b = (a | b) + (a & b), so ceil((a + b) / 2) = (a | b) - floor((a ^ b) / 2), byte by byte.
    static V avgUp(V a, V b) { return (a | b) - (((a ^ b) >> 1) & 0x7F7F7F7Fu); }
    static V choose(V k, V a, V b) { return (k & a) | (~k & b); }
    static bool any(V v) { return v != 0; }
    static V blendScaled(V t, V s, int f) {
        const auto keepWeight = static_cast<std::uint32_t>(256 - f), takeWeight = static_cast<std::uint32_t>(f);
        V out = 0;
        for (int shift = 0; shift < 32; shift += 8) {
            const std::uint32_t tc = (t >> shift) & 0xFF, sc = (s >> shift) & 0xFF;
            out |= ((tc * keepWeight + sc * takeWeight) >> 8) << shift;
        }
        return out;
    }
};

// Two pixels at a time in a 64-bit word, for machines without vector instructions here.
struct PairOps {
    using V = std::uint64_t;
    static constexpr int Width = 2;
    static constexpr V LowHalf = 0xFFFFFFFFu;
    static V load(const std::uint32_t* p) {
        V v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }
    static void store(std::uint32_t* p, V v) { std::memcpy(p, &v, sizeof v); }
    static V splat(std::uint32_t x) { return (V{x} << 32) | x; }
    static V bitAnd(V a, V b) { return a & b; }
    static V bitOr(V a, V b) { return a | b; }
    static V bitXor(V a, V b) { return a ^ b; }
    static V andNot(V a, V b) { return ~a & b; }
    static V equal(V a, V b) {
        const V d = a ^ b;
        return ((d & LowHalf) == 0 ? LowHalf : 0) | ((d >> 32) == 0 ? LowHalf << 32 : 0);
    }
    static V avgUp(V a, V b) { return (a | b) - (((a ^ b) >> 1) & 0x7F7F7F7F7F7F7F7Fu); }
    static V choose(V k, V a, V b) { return (k & a) | (~k & b); }
    static bool any(V v) { return v != 0; }
    static V blendScaled(V t, V s, int f) {
        const auto keepWeight = static_cast<V>(256 - f), takeWeight = static_cast<V>(f);
        V out = 0;
        for (int shift = 0; shift < 64; shift += 8) {
            const V tc = (t >> shift) & 0xFF, sc = (s >> shift) & 0xFF;
            out |= ((tc * keepWeight + sc * takeWeight) >> 8) << shift;
        }
        return out;
    }
};

constexpr std::uint32_t ColourBits = 0x00FFFFFF;
// The mask colour 0xFF00FF once folded (blue, green and red turned into 255 minus themselves).
constexpr std::uint32_t FoldedMask = 0x0000FF00;

// One Alpha blend with alpha 63 on folded values (see surface/blend_kernels.h).
template <class Ops>
inline typename Ops::V blendQuarterFolded(typename Ops::V u, typename Ops::V n) {
    return Ops::avgUp(Ops::avgUp(u, n), u);
}

template <class Ops>
void alphaRowKernel(std::uint32_t* target, const std::uint32_t* source, int count, int alpha) {
    using V = typename Ops::V;
    const V colour = Ops::splat(ColourBits);
    int i = 0;
    if (alpha == 63) {
        const V foldedMask = Ops::splat(FoldedMask);
        for (; i + Ops::Width <= count; i += Ops::Width) {
            const V t = Ops::load(target + i);
            const V v = Ops::andNot(Ops::load(source + i), colour);
            const V blended = Ops::bitXor(blendQuarterFolded<Ops>(Ops::andNot(t, colour), v), colour);
            Ops::store(target + i, Ops::choose(Ops::equal(v, foldedMask), t, blended));
        }
    } else {
        const V mask = Ops::splat(0x00FF00FF);
        const int factor = alpha + 1;
        for (; i + Ops::Width <= count; i += Ops::Width) {
            const V t = Ops::load(target + i);
            const V s = Ops::load(source + i);
            const V blended = Ops::bitAnd(Ops::blendScaled(t, s, factor), colour);
            Ops::store(target + i, Ops::choose(Ops::equal(Ops::bitAnd(s, colour), mask), t, blended));
        }
    }
    if constexpr (Ops::Width > 1) alphaRowKernel<ScalarOps>(target + i, source + i, count - i, alpha);
}

template <class Ops>
bool foldSourceRowKernel(const std::uint32_t* source, int count, int paddedCount, std::uint32_t* folded,
                         std::uint32_t* keep) {
    using V = typename Ops::V;
    const V colour = Ops::splat(ColourBits);
    const V foldedMask = Ops::splat(FoldedMask);
    V found = Ops::splat(0);
    int i = 0;
    for (; i + Ops::Width <= count; i += Ops::Width) {
        const V v = Ops::andNot(Ops::load(source + i), colour);
        const V k = Ops::equal(v, foldedMask);
        Ops::store(folded + i, v);
        Ops::store(keep + i, k);
        found = Ops::bitOr(found, k);
    }
    bool anyMask = Ops::any(found);
    if constexpr (Ops::Width > 1) {
        anyMask = foldSourceRowKernel<ScalarOps>(source + i, count - i, paddedCount - i, folded + i, keep + i) ||
                  anyMask;
    } else {
        for (int j = count; j < paddedCount; ++j) {
            folded[j] = 0;
            keep[j] = ~std::uint32_t{0};
        }
    }
    return anyMask;
}

// The nine folded source pixels that target pixels x.. take, in blend order: source column
// x + 2, x + 1, x (outer), and for each the row below, level with and above the target row
// (inner), which are the blits at dx -2..0, dy -1..1.
template <class Ops>
struct Neighbours {
    typename Ops::V n[9];
    Neighbours(const std::uint32_t* const rows[3], int x) {
#pragma GCC unroll 9
        for (int j = 0; j < 9; ++j) n[j] = Ops::load(rows[2 - j % 3] + x + 2 - j / 3);
    }
};

template <class Ops>
void blurRowCleanKernel(std::uint32_t* target, const std::uint32_t* const rows[3], int begin, int end,
                        int passes) {
    using V = typename Ops::V;
    const V colour = Ops::splat(ColourBits);
    int x = begin;
    // Two runs of pixels side by side: each pixel's 18 blends form one chain of dependent
    // steps, and two independent chains keep the processor's units busy.
    for (; x + 2 * Ops::Width <= end; x += 2 * Ops::Width) {
        const Neighbours<Ops> a(rows, x), b(rows, x + Ops::Width);
        // Every blend here happens, so the top byte ends as 0: fold it to 0 at once.
        V u = Ops::andNot(Ops::load(target + x), colour);
        V w = Ops::andNot(Ops::load(target + x + Ops::Width), colour);
        for (int pass = 0; pass < passes; ++pass) {
#pragma GCC unroll 9
            for (int j = 0; j < 9; ++j) {
                u = blendQuarterFolded<Ops>(u, a.n[j]);
                w = blendQuarterFolded<Ops>(w, b.n[j]);
            }
        }
        Ops::store(target + x, Ops::bitXor(u, colour));
        Ops::store(target + x + Ops::Width, Ops::bitXor(w, colour));
    }
    for (; x + Ops::Width <= end; x += Ops::Width) {
        const Neighbours<Ops> a(rows, x);
        V u = Ops::andNot(Ops::load(target + x), colour);
        for (int pass = 0; pass < passes; ++pass) {
#pragma GCC unroll 9
            for (int j = 0; j < 9; ++j) u = blendQuarterFolded<Ops>(u, a.n[j]);
        }
        Ops::store(target + x, Ops::bitXor(u, colour));
    }
    if constexpr (Ops::Width > 1) blurRowCleanKernel<ScalarOps>(target, rows, x, end, passes);
}

template <class Ops>
void blurRowKeepingKernel(std::uint32_t* target, const std::uint32_t* const rows[3],
                          const std::uint32_t* const keeps[3], int begin, int end, int passes) {
    using V = typename Ops::V;
    const V colour = Ops::splat(ColourBits);
    int x = begin;
    for (; x + Ops::Width <= end; x += Ops::Width) {
        V n[9], k[9];
        V keptByAll = Ops::splat(~std::uint32_t{0});
#pragma GCC unroll 9
        for (int j = 0; j < 9; ++j) {
            const int column = x + 2 - j / 3;
            const int row = 2 - j % 3;
            n[j] = Ops::load(rows[row] + column);
            k[j] = Ops::load(keeps[row] + column);
            keptByAll = Ops::bitAnd(keptByAll, k[j]);
        }
        // A pixel that some blend reaches ends with a top byte of 0, one that none reaches
        // keeps its own; the blends themselves keep a top byte of 0 at 0.
        V u = Ops::bitAnd(Ops::bitXor(Ops::load(target + x), colour), Ops::bitOr(keptByAll, colour));
        for (int pass = 0; pass < passes; ++pass) {
#pragma GCC unroll 9
            for (int j = 0; j < 9; ++j) u = Ops::choose(k[j], u, blendQuarterFolded<Ops>(u, n[j]));
        }
        Ops::store(target + x, Ops::bitXor(u, colour));
    }
    if constexpr (Ops::Width > 1) blurRowKeepingKernel<ScalarOps>(target, rows, keeps, x, end, passes);
}

template <class Ops>
constexpr BlendKernels blendKernelsOf(KernelLevel level) {
    return BlendKernels{level, alphaRowKernel<Ops>, foldSourceRowKernel<Ops>, blurRowCleanKernel<Ops>,
                        blurRowKeepingKernel<Ops>};
}

}  // namespace
}  // namespace fogloom
