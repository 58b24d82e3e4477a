#include "surface/raster.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "surface/coords.h"

namespace fogloom {
namespace {

// Sets columns x1..x2 of row y, both as wide integers, clipped to the view: a row outside
// it or a run wholly left or right of it is skipped, any other run clamped.
void setRunClipped(const PixelView& target, long long y, long long x1, long long x2, std::uint32_t colour,
                   RowSpan& rows) {
    if (y < 0 || y >= target.height || x2 < 0 || x1 >= target.width || x2 < x1) return;
    const int row = static_cast<int>(y);
    target.setRun(row, static_cast<int>(std::max(x1, 0LL)), static_cast<int>(std::min<long long>(x2, target.width - 1)),
                  colour);
    rows.include({row, row});
}

}  // namespace

// ---------------------------------------------------------------------------------------
// drawLine

RowSpan drawLinePixels(const PixelView& target, int ix1, int iy1, int ix2, int iy2, std::uint32_t colour) {
    if (target.empty()) return {};
    // The clip works in floating point: its products and quotients may lie far outside
    // int for ends far outside the target. Every value it stores is a whole number (trunc),
    // and each move lands on the segment between the two ends, so nothing grows.
    const double width = target.width, height = target.height;
    double x1 = ix1, y1 = iy1, x2 = ix2, y2 = iy2;
    enum : unsigned { Left = 1, Right = 2, Top = 4, Bottom = 8 };
    auto flags = [&](double x, double y) {
        unsigned f = 0;
        if (x < 0) f |= Left;
        if (x >= width) f |= Right;
        if (y < 0) f |= Top;
        if (y >= height) f |= Bottom;
        return f;
    };
    // Each move clears the flags of one end on one axis; a handful of moves settles any
    // line. The bound only guards against a loop that the arithmetic can't produce.
    for (int moves = 0;; ++moves) {
        unsigned f1 = flags(x1, y1);
        const unsigned f2 = flags(x2, y2);
        if (f1 == 0 && f2 == 0) break;
        if ((f1 & f2) != 0 || moves > 64) return {};
        if (f1 == 0) {
            std::swap(x1, x2);
            std::swap(y1, y2);
            f1 = f2;
        }
        if (f1 & (Left | Right)) {
            // x1 != x2 here: the ends lie on opposite sides of this edge's line.
            const double m = (y2 - y1) / (x2 - x1);
            const double edge = (f1 & Left) ? 0.0 : width - 1;
            y1 = std::trunc(y1 + m * (edge - x1));
            x1 = edge;
        } else {
            const double edge = (f1 & Top) ? 0.0 : height - 1;
            if (x1 != x2) {
                // y1 != y2 here, so m is neither 0 nor infinite.
                const double m = (y2 - y1) / (x2 - x1);
                x1 = std::trunc(x1 + (edge - y1) / m);
            }
            y1 = edge;
        }
        if (!std::isfinite(x1) || !std::isfinite(y1)) return {};
    }

    // Both ends are inside the target now, so they fit in int.
    int x = static_cast<int>(x1), y = static_cast<int>(y1);
    const int xEnd = static_cast<int>(x2), yEnd = static_cast<int>(y2);
    const int ax = std::abs(xEnd - x), ay = std::abs(yEnd - y);
    const int sx = xEnd >= x ? 1 : -1, sy = yEnd >= y ? 1 : -1;
    const RowSpan rows{std::min(y, yEnd), std::max(y, yEnd)};
    if (ay == 0) {
        // A horizontal line is one run.
        target.setRun(y, std::min(x, xEnd), std::max(x, xEnd), colour);
        return rows;
    }
    if (ax >= ay) {
        long long e = 2LL * ay - ax;
        for (int i = 0; i <= ax; ++i) {
            target.set(x, y, colour);
            if (e >= 0) {
                y += sy;
                e -= 2LL * ax;
            }
            e += 2LL * ay;
            x += sx;
        }
    } else {
        long long e = 2LL * ax - ay;
        for (int i = 0; i <= ay; ++i) {
            target.set(x, y, colour);
            if (e >= 0) {
                x += sx;
                e -= 2LL * ay;
            }
            e += 2LL * ax;
            y += sy;
        }
    }
    return rows;
}

// ---------------------------------------------------------------------------------------
// fillCircle
//
// The walk, for a radius r >= 1 with K = trunc(r), q = trunc(r*r) and e0 = trunc(r*q):
// after N vertical steps and J horizontal steps its error term is, in closed form,
//     e(N, J) = e0*(2J + 1) - q*(N(N + 1) + J(J + 1)),
// which falls with N and does not fall with J for J <= K (since e0 >= q*K). So level N
// ends after the fewest J with e(N, J) > 0, the walk moves on to level N + 1 exactly when
// that J is below K, and no level beyond K + 1 is ever reached. Two facts follow that
// bound the work without changing a pixel:
//   - when the target's rows begin far from the centre row, the walk can start at the
//     level just before them, with its state taken from the closed form;
//   - the walk can stop as soon as both rows it sets lie outside the target and grow away.
// And one more: with K >= 2*(Drow + Dcol) + 16, where Drow and Dcol are the furthest
// distances of a target row from cy and of a target column from cx, every target row n
// (n <= K/2) is reached with J <= ceil(n*n/K) + 1 <= K/4 + 2 horizontal steps, so its run
// reaches at least K - 3 - K/4 >= Dcol columns from cx on both sides: the disc covers the
// whole target. That bounds the radius the walk ever sees, and with it every term.
namespace {

__extension__ typedef __int128 Int128;
__extension__ typedef unsigned __int128 UInt128;

// a * b > c * d for operands below 2^128, compared exactly on 256-bit products.
bool productGreater(UInt128 a, UInt128 b, UInt128 c, UInt128 d) {
    auto multiply = [](UInt128 u, UInt128 v, UInt128& high, UInt128& low) {
        const UInt128 mask = ~static_cast<std::uint64_t>(0);
        const UInt128 u0 = u & mask, u1 = u >> 64, v0 = v & mask, v1 = v >> 64;
        const UInt128 p00 = u0 * v0, p01 = u0 * v1, p10 = u1 * v0, p11 = u1 * v1;
        const UInt128 middle = (p00 >> 64) + (p01 & mask) + (p10 & mask);
        low = (middle << 64) | (p00 & mask);
        high = p11 + (p01 >> 64) + (p10 >> 64) + (middle >> 64);
    };
    UInt128 abHigh, abLow, cdHigh, cdLow;
    multiply(a, b, abHigh, abLow);
    multiply(c, d, cdHigh, cdLow);
    return abHigh != cdHigh ? abHigh > cdHigh : abLow > cdLow;
}

// The closed form of the walk's error term, for a radius with q = trunc(r*r), e0 = trunc(r*q).
struct CircleWalk {
    Int128 q = 0, e0 = 0;

    // e(n, j) > 0, exactly.
    bool positive(long long n, long long j) const {
        const auto un = static_cast<UInt128>(n), uj = static_cast<UInt128>(j);
        return productGreater(static_cast<UInt128>(e0), 2 * uj + 1, static_cast<UInt128>(q),
                              un * (un + 1) + uj * (uj + 1));
    }
    // e(n, j) itself, for a state the walk really reaches (then |e| <= 2 * e0, so the
    // wrapping arithmetic gives the exact value).
    Int128 error(long long n, long long j) const {
        const auto un = static_cast<UInt128>(n), uj = static_cast<UInt128>(j);
        const UInt128 value = static_cast<UInt128>(e0) * (2 * uj + 1) -
                              static_cast<UInt128>(q) * (un * (un + 1) + uj * (uj + 1));
        return static_cast<Int128>(value);
    }
};

// r * q truncated, exactly: r is a float (a 24-bit whole number times a power of two).
Int128 truncProduct(float r, Int128 q) {
    int exponent = 0;
    const double fraction = std::frexp(static_cast<double>(r), &exponent);  // r = fraction * 2^exponent
    const auto mantissa = static_cast<Int128>(std::ldexp(fraction, 24));   // whole, below 2^24
    const int shift = exponent - 24;
    const Int128 product = mantissa * q;
    if (shift <= -127) return 0;  // r below 2^-103: q is 0 anyway
    return shift >= 0 ? product << shift : product >> (-shift);  // both non-negative: >> is trunc
}

}  // namespace

RowSpan fillCirclePixels(const PixelView& target, int cx, int cy, float radius, std::uint32_t colour) {
    if (target.empty() || !(radius >= 0.0f)) return {};  // negative or NaN: nothing
    RowSpan rows;
    const long long width = target.width, height = target.height;
    const long long rowReach = std::max<long long>(std::abs(static_cast<long long>(cy)), std::abs(cy - (height - 1)));
    const long long columnReach =
        std::max<long long>(std::abs(static_cast<long long>(cx)), std::abs(cx - (width - 1)));
    const long long covering = 2 * (rowReach + columnReach) + 16;
    const double r = radius;
    if (r >= static_cast<double>(covering)) {
        // trunc(r) >= covering: the disc covers every target pixel (see above).
        for (long long y = 0; y < height; ++y) setRunClipped(target, y, 0, width - 1, colour, rows);
        return rows;
    }

    // left = trunc(cx - r) and right = trunc(cx + r), exactly: r = K + f with 0 <= f < 1.
    const auto kWhole = static_cast<long long>(std::trunc(r));  // below 2^35
    const bool fractional = r != static_cast<double>(kWhole);
    const long long a = cx - kWhole, b = cx + kWhole;
    long long left = (fractional && a > 0) ? a - 1 : a;
    long long right = (fractional && b < 0) ? b + 1 : b;

    if (radius == 0.0f) {
        setRunClipped(target, cy, left, right, colour, rows);
        return rows;
    }
    // Runs only narrow and no level lies beyond K + 1: a disc whose widest run or whose
    // rows miss the target draws nothing.
    const long long nearestRow = cy < 0 ? -static_cast<long long>(cy) : (cy >= height ? cy - (height - 1) : 0);
    if (right < 0 || left >= width || nearestRow > kWhole + 1) return {};

    CircleWalk walk;
    walk.q = static_cast<Int128>(std::trunc(r * r));  // r * r is exact in double
    walk.e0 = truncProduct(radius, walk.q);
    long long n = 0, k = kWhole;
    Int128 e = walk.e0, ex = 2 * walk.e0, ey = 0;
    const Int128 q = walk.q;

    if (nearestRow >= 2) {
        // Start at the end of level m, the last one before the target's rows.
        const long long m = nearestRow - 1;
        if (!walk.positive(m, kWhole - 1)) return {};  // the walk ends before level m + 1
        long long low = 0, high = kWhole - 1;            // fewest j with e(m, j) > 0
        while (low < high) {
            const long long mid = low + (high - low) / 2;
            if (walk.positive(m, mid)) high = mid;
            else low = mid + 1;
        }
        n = m;
        k = kWhole - low;
        left += low;
        right -= low;
        e = walk.error(m, low);
        ex = 2 * walk.e0 - 2 * q * low;
        ey = 2 * q * m;
    } else {
        setRunClipped(target, cy, left, right, colour, rows);
    }

    long long levelWritten = n;  // level 0's run, or the level before the target's rows
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
        // A pass without a vertical step sets a narrower run on the same two rows, which
        // changes no pixel: only the first run of each level is written.
        if (n != levelWritten) {
            setRunClipped(target, cy + n, left, right, colour, rows);
            setRunClipped(target, cy - n, left, right, colour, rows);
            levelWritten = n;
        }
        if (cy - n < 0 && cy + n >= height) break;  // every later row lies outside too
    }
    return rows;
}

// ---------------------------------------------------------------------------------------
// floodFill

RowSpan floodFillPixels(const PixelView& target, int sx, int sy, std::uint32_t fill, std::uint32_t border) {
    if (target.empty() || !target.contains(sx, sy) || target.get(sx, sy) == border) return {};

    struct Run {
        int left, right;
    };
    struct FoundRun {
        int y;
        Run run;
    };
    // The run of non-border pixels on row y that holds column x (which is not border).
    auto runAt = [&](int y, int x) {
        Run run{x, x};
        while (run.left > 0 && target.get(run.left - 1, y) != border) --run.left;
        while (run.right < target.width - 1 && target.get(run.right + 1, y) != border) ++run.right;
        return run;
    };
    // One list per row, kept in order of the runs' left ends, for the test of a run found
    // before; and all runs in the order found.
    std::vector<std::vector<Run>> byRow(static_cast<std::size_t>(target.height));
    std::vector<FoundRun> found;
    // The run of row y that contains column x and was found before, if any. Asking the
    // list first spares walking along a long run again for every short run beside it.
    auto foundBefore = [&](int y, int x) -> const Run* {
        const std::vector<Run>& list = byRow[static_cast<std::size_t>(y)];
        const auto after =
            std::upper_bound(list.begin(), list.end(), x, [](int column, const Run& a) { return column < a.left; });
        if (after == list.begin()) return nullptr;
        const Run& candidate = *(after - 1);
        return candidate.right >= x ? &candidate : nullptr;
    };
    auto add = [&](int y, Run run) {
        std::vector<Run>& list = byRow[static_cast<std::size_t>(y)];
        const auto place =
            std::lower_bound(list.begin(), list.end(), run.left, [](const Run& a, int left) { return a.left < left; });
        list.insert(place, run);
        found.push_back({y, run});
    };

    add(sy, runAt(sy, sx));
    for (std::size_t i = 0; i < found.size(); ++i) {
        const FoundRun current = found[i];
        for (const int y : {current.y - 1, current.y + 1}) {
            if (y < 0 || y >= target.height) continue;
            int x = current.run.left;
            while (x <= current.run.right) {
                if (target.get(x, y) == border) {
                    ++x;
                    continue;
                }
                Run run;
                if (const Run* known = foundBefore(y, x)) {
                    run = *known;
                } else {
                    run = runAt(y, x);
                    add(y, run);
                }
                x = run.right + 2;  // run.right + 1 is a border pixel or the target's edge
            }
        }
    }

    RowSpan rows;
    for (const FoundRun& f : found) {
        target.setRun(f.y, f.run.left, f.run.right, fill);
        rows.include({f.y, f.y});
    }
    return rows;
}

// ---------------------------------------------------------------------------------------
// Operations on surfaces

void drawLine(Surface target, float x1, float y1, float x2, float y2, std::uint32_t colour) {
    int ix1, iy1, ix2, iy2;
    if (!toPixel(x1, ix1) || !toPixel(y1, iy1) || !toPixel(x2, ix2) || !toPixel(y2, iy2)) return;
    SurfaceAccess access(target);
    if (!access.ok()) return;
    access.finish(drawLinePixels(access.view(), ix1, iy1, ix2, iy2, colour));
}

void fillCircle(Surface target, float cx, float cy, float radius, std::uint32_t colour) {
    int icx, icy;
    if (!toPixel(cx, icx) || !toPixel(cy, icy)) return;
    SurfaceAccess access(target);
    if (!access.ok()) return;
    access.finish(fillCirclePixels(access.view(), icx, icy, radius, colour));
}

void floodFill(Surface target, float sx, float sy, std::uint32_t fillColour, std::uint32_t borderColour) {
    int isx, isy;
    if (!toPixel(sx, isx) || !toPixel(sy, isy)) return;
    SurfaceAccess access(target);
    if (!access.ok()) return;
    access.finish(floodFillPixels(access.view(), isx, isy, fillColour, borderColour));
}

}  // namespace fogloom
