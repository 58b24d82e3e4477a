// The row kernels behind the Alpha blits and the blur, one set per instruction level, and the
// choice of the fastest set this processor runs. Each set computes exactly the same pixels;
// they differ only in how many pixels one instruction handles.
//
// The blur rows work on prepared source rows ("folded" rows): every pixel's blue, green and
// red turned into 255 minus their value, the top byte 0, and beside it a keep word that is
// all ones where the source pixel must leave the target unchanged (the mask colour, or a
// place beyond the source's edge). In that form one Alpha blend with alpha 63, whose exact
// rule t + floor((s - t) / 4) is floor((3t + s) / 4), becomes two rounding-up byte averages:
// with u = 255 - t and v = 255 - s, 255 - result = ceil((3u + v) / 4) = avg(avg(u, v), u),
// where avg(a, b) = ceil((a + b) / 2). (When u + v is odd, 3u + v is odd too, so the inner
// rounding never moves the outer one.)
#pragma once

#include <cstdint>

namespace fogloom {

enum class KernelLevel {
    Portable,  // plain C++, two pixels at a time in 64-bit words
    Sse2,      // 4 pixels at a time; every x86-64 processor has it
    Avx2,      // 8 pixels at a time, where the processor has it
};

struct BlendKernels {
    KernelLevel level;
    // The Alpha rule over one row for alpha 0..255 (see alphaRow in surface/blit.h).
    void (*alphaRow)(std::uint32_t* target, const std::uint32_t* source, int count, int alpha);
    // Folds `count` source pixels into `folded` and `keep`, then fills both up to
    // `paddedCount` as places beyond the edge (keep all ones). True when some source pixel
    // is the mask colour.
    bool (*foldSourceRow)(const std::uint32_t* source, int count, int paddedCount, std::uint32_t* folded,
                          std::uint32_t* keep);
    // The blur's blends with alpha 63 on target pixels [begin, end) of one row: `passes`
    // times, for source columns x + 2, x + 1, x (outer) and the rows below, level with and
    // above the target row (inner), one blend each. rows[0], rows[1], rows[2] are the folded
    // rows above, level with and below the target row, readable up to column end + 1.
    // blurRowClean may only be used where none of those source pixels is to be kept (no mask,
    // none beyond an edge); blurRowKeeping honours the keep words keeps[0..2].
    void (*blurRowClean)(std::uint32_t* target, const std::uint32_t* const rows[3], int begin, int end, int passes);
    void (*blurRowKeeping)(std::uint32_t* target, const std::uint32_t* const rows[3],
                           const std::uint32_t* const keeps[3], int begin, int end, int passes);
};

// The set for a level, or nullptr when this build or this processor lacks the level.
const BlendKernels* blendKernels(KernelLevel level);
// The fastest level available, settled once per process from the processor's features.
KernelLevel bestKernelLevel();
// The set of that level: what alphaRow, blitPixels and blurPixels use.
const BlendKernels& bestBlendKernels();

// Defined in the files that instantiate each level; nullptr where a level isn't built.
const BlendKernels* portableBlendKernels();
const BlendKernels* sse2BlendKernels();
const BlendKernels* avx2BlendKernels();

}  // namespace fogloom
