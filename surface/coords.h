// Turning the float positions that the drawing operations take into whole pixels.
#pragma once

#include <cmath>

namespace fogloom {

// Positions further out than this are held at it: far beyond any surface, yet small
// enough that sums and differences of two positions stay inside int.
inline constexpr int CoordLimit = 1 << 28;

// Rounds a position to the nearest pixel, halves away from zero (2.5 -> 3, -2.5 -> -3),
// with v +/- 0.5 formed exactly. Returns false for NaN and infinities, which no
// operation draws with.
inline bool toPixel(float v, int& out) {
    if (!std::isfinite(v)) return false;
    const double d = static_cast<double>(v);
    const double r = d > 0 ? std::trunc(d + 0.5) : std::trunc(d - 0.5);
    if (r > CoordLimit) out = CoordLimit;
    else if (r < -CoordLimit) out = -CoordLimit;
    else out = static_cast<int>(r);
    return true;
}

}  // namespace fogloom
