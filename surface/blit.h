// Rectangle fills, copies and blits: the pixel kernels, and the operations on surfaces
// that take the display lock, turn positions into pixels and mark the screen's rows.
#pragma once

#include <cstdint>

#include "surface/image.h"
#include "surface/pixels.h"
#include "surface/screen.h"

namespace fogloom {

enum class BlitMode { Transparent = 0, Opaque = 1, Alpha = 6 };

// --- Kernels over pixel views (no lock, no marks, whole-pixel arguments) ---

// Fills the box between two opposite corners (any order, both inclusive), clipped to the view.
RowSpan fillBoxPixels(const PixelView& target, int x1, int y1, int x2, int y2, std::uint32_t colour);
// Places the whole source with its top-left corner at (x, y), clipped to the target.
// Both views have the same bytes per pixel. Returns the rows drawn.
RowSpan blitPixels(const PixelView& target, int x, int y, const PixelView& source, BlitMode mode, int alpha);
// One row of the Alpha rule: each of blue, green and red becomes
// t + floor((s - t) * (alpha + 1) / 256), the top byte 0; mask-coloured sources leave t.
// Alpha 0..255 (values beyond are held at those ends); runs on the fastest instructions
// this processor has (surface/blend_kernels.h), always with the same result.
void alphaRow(std::uint32_t* target, const std::uint32_t* source, int count, int alpha);
// The same, one pixel at a time in the plain arithmetic: the reference the fast rows match.
std::uint32_t alphaPixelReference(std::uint32_t target, std::uint32_t source, int alpha);

// --- Operations on surfaces ---

void fillBox(Surface target, float x1, float y1, float x2, float y2, std::uint32_t colour);
// Copies the rectangle between two corners (inclusive) of the source into `destination`,
// which takes its size. 0 on success, 1 when the rectangle leaves the source, no screen is
// open or the destination has no room (then nothing is written).
int copyOut(Surface source, float x1, float y1, float x2, float y2, Image* destination);
// Places `image` on the target at (x, y) by `mode`; alpha matters for Alpha only.
// 0 on success, 1 without a screen or when the image's depth is not the screen's.
int blit(Surface target, float x, float y, Image* image, BlitMode mode, int alpha);

}  // namespace fogloom
