// Test helpers for the raster primitives: a view inside a guarded buffer, and the circle
// walk transcribed step by step, with no clipping, bounds or shortcuts.
#pragma once

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "surface/pixels.h"

namespace fogloom::testing {

// A 32-bit view with a band of guard pixels before its first row and after its last one:
// a write above, below or past either end of the view lands in a guard.
class GuardedView {
public:
    static constexpr std::uint32_t Guard = 0xDEADBEEF;
    static constexpr int Band = 4096;

    GuardedView(int width, int height, std::uint32_t fill = 0)
        : pixels_(static_cast<std::size_t>(2 * Band + width * height), Guard),
          view_{reinterpret_cast<std::uint8_t*>(pixels_.data() + Band), width, height, 4} {
        std::fill(pixels_.begin() + Band, pixels_.end() - Band, fill);
    }
    const PixelView& view() const { return view_; }
    std::uint32_t at(int x, int y) const { return view_.get(x, y); }
    bool guardsIntact() const {
        return std::all_of(pixels_.begin(), pixels_.begin() + Band, [](std::uint32_t p) { return p == Guard; }) &&
               std::all_of(pixels_.end() - Band, pixels_.end(), [](std::uint32_t p) { return p == Guard; });
    }
    int count(std::uint32_t colour) const {
        return static_cast<int>(std::count(pixels_.begin() + Band, pixels_.end() - Band, colour));
    }

private:
    std::vector<std::uint32_t> pixels_;
    PixelView view_;
};

// The rows of the disc that the circle walk sets, each as its widest run [left, right]
// (the runs of a row only narrow as the walk goes on), kept for rows firstRow..lastRow. r >= 0.
inline std::map<long long, std::pair<long long, long long>> referenceDisc(long long cx, long long cy, float radius,
                                                                          long long firstRow = LLONG_MIN,
                                                                          long long lastRow = LLONG_MAX) {
    std::map<long long, std::pair<long long, long long>> rows;
    auto setRun = [&](long long y, long long left, long long right) {
        if (left > right || y < firstRow || y > lastRow) return;
        auto [it, added] = rows.try_emplace(y, left, right);
        if (!added) {
            it->second.first = std::min(it->second.first, left);
            it->second.second = std::max(it->second.second, right);
        }
    };
    const long double r = radius;
    long long left = static_cast<long long>(std::trunc(static_cast<long double>(cx) - r));
    long long right = static_cast<long long>(std::trunc(static_cast<long double>(cx) + r));
    long long n = 0;
    if (r == 0) {
        setRun(cy, left, right);
        return rows;
    }
    setRun(cy, left, right);
    const long long q = static_cast<long long>(std::trunc(r * r));
    long long e = static_cast<long long>(std::trunc(r * q));
    long long ex = 2 * e, ey = 0;
    long long k = static_cast<long long>(std::trunc(r));
    while (k > 0) {
        if (e > 0) {
            ++n;
            ey += 2 * q;
            e -= ey;
        }
        if (e <= 0) {
            --k;
            ++left;
            --right;
            ex -= 2 * q;
            e += ex;
        }
        setRun(cy + n, left, right);
        setRun(cy - n, left, right);
    }
    return rows;
}

}  // namespace fogloom::testing
