// The blur's blends in one sweep: the Alpha blits of one image onto another at the nine
// offsets dx -2..0, dy -1..1, repeated, computed pixel by pixel instead of blit by blit.
#pragma once

#include "surface/blend_kernels.h"
#include "surface/image.h"
#include "surface/pixels.h"
#include "surface/screen.h"

namespace fogloom {

inline constexpr int BlurBlendsPerPass = 9;

// --- Kernels over pixel views (no lock, no marks) ---

// Gives the target exactly the pixels of `passes` rounds of Alpha blits of the whole source
// onto it, each round at (dx, dy) for dx from -2 to 0 and, inside, dy from -1 to 1, one
// blitPixels call after another; the source is read as it is, never as the blends change the
// target. Alpha 63 on 32-bit pixels is fused: every target pixel goes through all of its
// blends while it sits in a register, its nine source neighbours loaded once. Any other
// alpha or depth runs the blits one after another. The views must not overlap. Returns the
// rows that the blits draw.
RowSpan blurPixels(const PixelView& target, const PixelView& source, int alpha, int passes);
// The same with the kernels of one instruction level.
RowSpan blurPixelsWith(const BlendKernels& kernels, const PixelView& target, const PixelView& source, int alpha,
                       int passes);

// --- Operation on surfaces ---

// Those blits through `blit`, under one hold of the display lock: 0 on success, 1 where
// blit would fail (no screen, no image, an image of the other depth). An image blurred
// onto itself goes blit by blit, each blit from the image as it is then.
int blurBlits(Surface target, Image* source, int alpha, int passes);

}  // namespace fogloom
