// Lines, filled circles and flood fill: the pixel kernels, and the operations on surfaces
// that take the display lock, turn positions into pixels and mark the screen's rows.
//
// Every operation clips to its target and never reads or writes outside it, whatever its
// arguments: positions far outside, NaN or infinite coordinates, huge or negative radii.
#pragma once

#include <cstdint>

#include "surface/pixels.h"
#include "surface/screen.h"

namespace fogloom {

// --- Kernels over pixel views (no lock, no marks, whole-pixel positions) ---

// A solid line one pixel wide from (x1, y1) to (x2, y2), both ends included, clipped by
// moving an outside end onto the edge and walked from the end that comes first after
// clipping. The order of the ends is part of the line: (0,0)->(2,1) and (2,1)->(0,0) differ.
// Returns the rows written.
RowSpan drawLinePixels(const PixelView& target, int x1, int y1, int x2, int y2, std::uint32_t colour);

// A filled disc of `radius` around (cx, cy), built from runs two rows at a time by the
// integer error walk. The radius stays a float (radius 0 sets the centre pixel only). A
// negative or NaN radius draws nothing. A radius so large that the disc covers the whole
// target fills the target; the walk only visits the rows the target has, so time stays
// proportional to the target's height whatever the radius.
RowSpan fillCirclePixels(const PixelView& target, int cx, int cy, float radius, std::uint32_t colour);

// Sets the 4-connected region of pixels that are not `border`, reached from the seed, to
// `fill`. Nothing changes when the seed is outside the target or on a border pixel. The
// region is gathered as runs in one list per row before any pixel is written.
RowSpan floodFillPixels(const PixelView& target, int sx, int sy, std::uint32_t fill, std::uint32_t border);

// --- Operations on surfaces (positions converted by toPixel; non-finite ones draw nothing) ---

void drawLine(Surface target, float x1, float y1, float x2, float y2, std::uint32_t colour);
void fillCircle(Surface target, float cx, float cy, float radius, std::uint32_t colour);
void floodFill(Surface target, float sx, float sy, std::uint32_t fillColour, std::uint32_t borderColour);

}  // namespace fogloom
