// Lines, filled circles and flood fill: their walks and clipping, and bad arguments
// that must neither crash, hang nor write outside the target.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <queue>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "raster_reference.h"
#include "surface/raster.h"
#include "test_support.h"

namespace fogloom {
namespace {

using testing::GuardedView;
using testing::referenceDisc;
using Points = std::set<std::pair<int, int>>;

constexpr std::uint32_t Ink = 0x00ABCDEF;
constexpr float Inf = std::numeric_limits<float>::infinity();
constexpr float NaN = std::numeric_limits<float>::quiet_NaN();

Points inked(const GuardedView& g, std::uint32_t colour = Ink) {
    Points points;
    for (int y = 0; y < g.view().height; ++y)
        for (int x = 0; x < g.view().width; ++x)
            if (g.at(x, y) == colour) points.insert({x, y});
    return points;
}

Points line(int width, int height, int x1, int y1, int x2, int y2) {
    GuardedView g(width, height);
    drawLinePixels(g.view(), x1, y1, x2, y2, Ink);
    EXPECT_TRUE(g.guardsIntact());
    return inked(g);
}

// --- drawLine ---

TEST(DrawLine, EqualEndsSetOnePixel) { EXPECT_EQ(line(8, 8, 3, 4, 3, 4), (Points{{3, 4}})); }

TEST(DrawLine, TheOrderOfTheEndsDecidesTheWalk) {
    EXPECT_EQ(line(8, 8, 0, 0, 2, 1), (Points{{0, 0}, {1, 1}, {2, 1}}));
    EXPECT_EQ(line(8, 8, 2, 1, 0, 0), (Points{{2, 1}, {1, 0}, {0, 0}}));
    EXPECT_EQ(line(8, 8, 0, 0, 1, 2), (Points{{0, 0}, {1, 1}, {1, 2}}));  // the steep walk
    EXPECT_EQ(line(8, 8, 1, 2, 0, 0), (Points{{1, 2}, {0, 1}, {0, 0}}));
    EXPECT_EQ(line(8, 8, 0, 0, 3, 3), (Points{{0, 0}, {1, 1}, {2, 2}, {3, 3}}));
}

TEST(DrawLine, HorizontalAndVerticalLinesAreFullInclusiveRuns) {
    EXPECT_EQ(line(8, 8, 6, 2, 1, 2), (Points{{1, 2}, {2, 2}, {3, 2}, {4, 2}, {5, 2}, {6, 2}}));
    EXPECT_EQ(line(8, 8, 5, 7, 5, 4), (Points{{5, 4}, {5, 5}, {5, 6}, {5, 7}}));
}

TEST(DrawLine, ALineWhollyOutsideDrawsNothing) {
    EXPECT_TRUE(line(10, 10, -5, 2, -1, 8).empty());     // both left
    EXPECT_TRUE(line(10, 10, 10, 0, 30, 9).empty());     // both right
    EXPECT_TRUE(line(10, 10, -3, -1, 40, -9).empty());   // both above
    EXPECT_TRUE(line(10, 10, 2, 10, 2, 10).empty());     // one pixel below
    EXPECT_TRUE(line(10, 10, -10, 5, 5, -10).empty());   // cuts the corner's outside only
}

TEST(DrawLine, ALineFromInsideToFarOutsideEndsOnTheEdge) {
    EXPECT_EQ(line(10, 10, 5, 5, 5000, 5), (Points{{5, 5}, {6, 5}, {7, 5}, {8, 5}, {9, 5}}));
    EXPECT_EQ(line(10, 10, 2, 2, -1000000, -1000000), (Points{{0, 0}, {1, 1}, {2, 2}}));
    // Worked by hand: the inside end has no flag, so the ends are exchanged; the outside end
    // (22, 12) moves onto the right edge at y = trunc(12 + 0.5 * (9 - 22)) = 5, and the walk
    // runs from (9, 5) back to (2, 2).
    EXPECT_EQ(line(10, 10, 2, 2, 22, 12), (Points{{9, 5}, {8, 5}, {7, 4}, {6, 4}, {5, 3}, {4, 3}, {3, 2}, {2, 2}}));
}

TEST(DrawLine, ALineThroughTheTargetIsClippedAtBothEnds) {
    // From far left to far right through row 4, and corner to corner past both corners.
    Points row;
    for (int x = 0; x < 10; ++x) row.insert({x, 4});
    EXPECT_EQ(line(10, 10, -100, 4, 100, 4), row);
    EXPECT_EQ(line(10, 10, INT_MIN, 4, INT_MAX, 4), row);
    Points diagonal;
    for (int i = 0; i < 10; ++i) diagonal.insert({i, i});
    EXPECT_EQ(line(10, 10, -50, -50, 60, 60), diagonal);
    EXPECT_EQ(line(10, 10, INT_MIN, INT_MIN, INT_MAX, INT_MAX), diagonal);
}

// Any ends, however far out: the clip settles, the walk stays inside, and what it sets is
// one 8-connected chain of at most max(width, height) pixels.
TEST(DrawLine, RandomEndsNearAndFarStayInsideTheTarget) {
    std::mt19937 random(1234);
    const int scales[] = {4, 30, 1000, 1 << 20, INT_MAX};
    for (int i = 0; i < 4000; ++i) {
        const int scale = scales[i % 5];
        std::uniform_int_distribution<long long> coordinate(-static_cast<long long>(scale), scale);
        const int width = 1 + i % 13, height = 1 + i % 7;
        GuardedView g(width, height);
        const auto x1 = static_cast<int>(coordinate(random)), y1 = static_cast<int>(coordinate(random));
        const auto x2 = static_cast<int>(coordinate(random)), y2 = static_cast<int>(coordinate(random));
        drawLinePixels(g.view(), x1, y1, x2, y2, Ink);
        ASSERT_TRUE(g.guardsIntact()) << x1 << "," << y1 << " " << x2 << "," << y2;
        const Points points = inked(g);
        ASSERT_LE(static_cast<int>(points.size()), std::max(width, height));
        // 8-connected: every pixel but one end has a neighbour on the chain.
        for (const auto& [x, y] : points) {
            int neighbours = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) neighbours += (dx != 0 || dy != 0) && points.count({x + dx, y + dy});
            ASSERT_TRUE(neighbours >= 1 || points.size() == 1) << x1 << "," << y1 << " " << x2 << "," << y2;
        }
    }
}

// --- fillCircle ---

// Half-widths of a disc drawn around (cx, cy), top row to bottom row; -1 for an empty row.
// Each row must be one run centred on cx.
std::vector<int> halfWidths(const GuardedView& g, int cx) {
    std::vector<int> widths;
    for (int y = 0; y < g.view().height; ++y) {
        int left = -1, right = -1;
        for (int x = 0; x < g.view().width; ++x)
            if (g.at(x, y) == Ink) {
                if (left < 0) left = x;
                right = x;
            }
        if (left < 0) continue;
        EXPECT_EQ(cx - left, right - cx) << "row " << y;
        for (int x = left; x <= right; ++x) EXPECT_EQ(g.at(x, y), Ink) << x << "," << y;
        widths.push_back(right - cx);
    }
    return widths;
}

std::vector<int> discHalfWidths(float radius) {
    GuardedView g(41, 41);
    fillCirclePixels(g.view(), 20, 20, radius, Ink);
    EXPECT_TRUE(g.guardsIntact());
    return halfWidths(g, 20);
}

TEST(FillCircle, HalfWidthsOfTheSmallDiscs) {
    EXPECT_EQ(discHalfWidths(0), (std::vector<int>{0}));
    EXPECT_EQ(discHalfWidths(1), (std::vector<int>{0, 1, 0}));
    EXPECT_EQ(discHalfWidths(2), (std::vector<int>{0, 1, 2, 1, 0}));
    EXPECT_EQ(discHalfWidths(6), (std::vector<int>{1, 3, 4, 5, 5, 6, 6, 6, 5, 5, 4, 3, 1}));
}

TEST(FillCircle, RadiusZeroSetsTheCentreOnly) {
    GuardedView g(5, 5);
    fillCirclePixels(g.view(), 2, 3, 0.0f, Ink);
    fillCirclePixels(g.view(), 1, 1, -0.0f, Ink);
    EXPECT_EQ(inked(g), (Points{{2, 3}, {1, 1}}));
}

TEST(FillCircle, ADiscThatReachesPastAnEdgeIsCutThere) {
    // The same disc around (1, 2) on a small target and around (21, 22) on a large one.
    GuardedView small(12, 12), large(40, 40);
    fillCirclePixels(small.view(), 1, 2, 6, Ink);
    fillCirclePixels(large.view(), 21, 22, 6, Ink);
    EXPECT_TRUE(small.guardsIntact());
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) ASSERT_EQ(small.at(x, y), large.at(x + 20, y + 20)) << x << "," << y;
    EXPECT_EQ(small.at(0, 0), Ink);
    EXPECT_EQ(small.at(7, 2), Ink);
    EXPECT_EQ(small.at(8, 2), 0u);
}

// The kernel against the circle walk transcribed step by step, on a small target with centres
// inside, beside and far from it and radii whole, fractional, and large enough for the
// kernel to skip rows, start late or fill the whole target.
TEST(FillCircle, MatchesTheSpecWalkWhereverTheDiscLies) {
    const int width = 9, height = 7;
    const long long centresX[] = {-400, -50, -5, 0, 4, 8, 12, 60};
    const long long centresY[] = {-300, -120, -7, 0, 3, 6, 10, 90};
    const float radii[] = {0,  0.3f,  0.5f,  1,   1.5f,   2,   2.7f,  6,    6.5f,  17,   33,    33.3f, 44,  45,
                           50, 59.9f, 60,    61,  100.5f, 119, 120,   121,  150,   250,  301.7f, 399,  400, 401,
                           406, 412.25f, 500, 1000};
    for (const long long cx : centresX)
        for (const long long cy : centresY)
            for (const float r : radii) {
                GuardedView g(width, height);
                fillCirclePixels(g.view(), static_cast<int>(cx), static_cast<int>(cy), r, Ink);
                ASSERT_TRUE(g.guardsIntact());
                const auto rows = referenceDisc(cx, cy, r, 0, height - 1);
                for (int y = 0; y < height; ++y) {
                    const auto it = rows.find(y);
                    for (int x = 0; x < width; ++x) {
                        const bool expected = it != rows.end() && x >= it->second.first && x <= it->second.second;
                        ASSERT_EQ(g.at(x, y) == Ink, expected)
                            << "centre " << cx << "," << cy << " radius " << r << " pixel " << x << "," << y;
                    }
                }
            }
}

TEST(FillCircle, BigDiscsFarAwayMatchTheSpecWalkToo) {
    struct Case {
        int cx, cy;
        float r;
    };
    const Case cases[] = {{5, -100000, 100003.5f}, {5, 100010, 100004}, {-70000, 3, 70004.25f},
                          {200000, -150000, 250000}, {3, 3, 262144.5f}, {-30000, -40000, 50006}};
    for (const Case& c : cases) {
        GuardedView g(11, 9);
        fillCirclePixels(g.view(), c.cx, c.cy, c.r, Ink);
        ASSERT_TRUE(g.guardsIntact());
        const auto rows = referenceDisc(c.cx, c.cy, c.r, 0, 8);
        int set = 0;
        for (int y = 0; y < 9; ++y) {
            const auto it = rows.find(y);
            for (int x = 0; x < 11; ++x) {
                const bool expected = it != rows.end() && x >= it->second.first && x <= it->second.second;
                set += expected;
                ASSERT_EQ(g.at(x, y) == Ink, expected)
                    << c.cx << "," << c.cy << " r " << c.r << " at " << x << "," << y;
            }
        }
        EXPECT_GT(set, 0) << "each case reaches the target";
    }
}

// A negative radius draws nothing (there is no such circle); so do NaN and a centre given as
// NaN or infinity. A huge or infinite radius fills the whole target, quickly, however far
// away its centre is held.
TEST(FillCircle, BadRadiiAndCentres) {
    const int width = 13, height = 8;
    for (const float r : {-1.0f, -0.5f, -1e30f, -Inf, NaN}) {
        GuardedView g(width, height);
        fillCirclePixels(g.view(), 6, 4, r, Ink);
        EXPECT_EQ(g.count(Ink), 0) << r;
        EXPECT_TRUE(g.guardsIntact());
    }
    const int centres[] = {INT_MIN, -(1 << 28), 0, 5, 1 << 28, INT_MAX};
    for (const float r : {1e12f, 3.4e38f, Inf})
        for (const int cx : centres)
            for (const int cy : centres) {
                GuardedView g(width, height);
                fillCirclePixels(g.view(), cx, cy, r, Ink);
                EXPECT_EQ(g.count(Ink), width * height) << r << " at " << cx << "," << cy;
                EXPECT_TRUE(g.guardsIntact());
            }
    // Centres far out with radii just big enough to reach: the walk starts near the target.
    for (const int centre : {INT_MIN, -(1 << 28), 1 << 28, INT_MAX}) {
        for (const float r : {2.68435456e8f, 2.1474836e9f, 4.2949673e9f, 1e10f}) {
            GuardedView g(width, height);
            fillCirclePixels(g.view(), 6, centre, r, Ink);
            fillCirclePixels(g.view(), centre, 4, r, Ink);
            fillCirclePixels(g.view(), centre, centre, r, Ink);
            EXPECT_TRUE(g.guardsIntact());
        }
    }
}

// --- floodFill ---

// Breadth-first reference: the 4-connected non-border region of the seed.
Points regionOf(const GuardedView& g, int sx, int sy, std::uint32_t border) {
    Points region;
    if (!g.view().contains(sx, sy) || g.at(sx, sy) == border) return region;
    std::queue<std::pair<int, int>> open;
    open.push({sx, sy});
    region.insert({sx, sy});
    while (!open.empty()) {
        const auto [x, y] = open.front();
        open.pop();
        const std::pair<int, int> next[] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
        for (const auto& [nx, ny] : next)
            if (g.view().contains(nx, ny) && g.at(nx, ny) != border && region.insert({nx, ny}).second)
                open.push({nx, ny});
    }
    return region;
}

// Fills from the seed and checks that exactly the region changed to the fill colour.
void expectFillsRegion(GuardedView& g, int sx, int sy, std::uint32_t fill, std::uint32_t border) {
    const Points region = regionOf(g, sx, sy, border);
    std::vector<std::uint32_t> before;
    for (int y = 0; y < g.view().height; ++y)
        for (int x = 0; x < g.view().width; ++x) before.push_back(g.at(x, y));
    floodFillPixels(g.view(), sx, sy, fill, border);
    ASSERT_TRUE(g.guardsIntact());
    std::size_t i = 0;
    for (int y = 0; y < g.view().height; ++y)
        for (int x = 0; x < g.view().width; ++x, ++i) {
            const std::uint32_t expected = region.count({x, y}) ? fill : before[i];
            ASSERT_EQ(g.at(x, y), expected) << "seed " << sx << "," << sy << " pixel " << x << "," << y;
        }
}

TEST(FloodFill, FillsThroughFillColouredAndOtherPixelsUpToTheBorder) {
    GuardedView g(12, 10, MaskColor);
    for (int i = 1; i <= 9; ++i) {  // a white box outline from (1,1) to (9,8)
        g.view().set(i, 1, White);
        g.view().set(i, 8, White);
    }
    for (int j = 1; j <= 8; ++j) {
        g.view().set(1, j, White);
        g.view().set(9, j, White);
    }
    g.view().set(4, 4, Grey);  // already the fill colour
    g.view().set(5, 5, Black);
    g.view().set(6, 3, 0x12345678);
    expectFillsRegion(g, 3, 3, Grey, White);
    EXPECT_EQ(g.at(5, 5), Grey);
    EXPECT_EQ(g.at(0, 0), MaskColor);
    EXPECT_EQ(g.at(10, 9), MaskColor);
    EXPECT_EQ(g.count(Grey), 7 * 6);
}

TEST(FloodFill, DiagonalOnePixelOutlinesHoldTheFill) {
    // A diamond of one-pixel diagonal lines: the fill must not leak between its pixels.
    GuardedView g(21, 21, MaskColor);
    drawLinePixels(g.view(), 10, 1, 19, 10, White);
    drawLinePixels(g.view(), 19, 10, 10, 19, White);
    drawLinePixels(g.view(), 10, 19, 1, 10, White);
    drawLinePixels(g.view(), 1, 10, 10, 1, White);
    expectFillsRegion(g, 10, 10, Grey, White);
    EXPECT_EQ(g.at(0, 0), MaskColor);
    EXPECT_EQ(g.at(10, 0), MaskColor);
    EXPECT_EQ(g.at(10, 2), Grey);
    EXPECT_EQ(g.count(Grey), 145);  // rows 2..18 inside the diamond: 1+3+...+17+...+1
}

TEST(FloodFill, ABorderSeedOrASeedOutsideChangesNothing) {
    for (const auto& [sx, sy] : std::vector<std::pair<int, int>>{
             {2, 2}, {-1, 0}, {0, -1}, {6, 0}, {0, 5}, {INT_MIN, INT_MIN}, {INT_MAX, 2}}) {
        GuardedView g(6, 5, MaskColor);
        g.view().set(2, 2, White);
        floodFillPixels(g.view(), sx, sy, Grey, White);
        EXPECT_EQ(g.count(Grey), 0) << sx << "," << sy;
        EXPECT_TRUE(g.guardsIntact());
    }
}

TEST(FloodFill, ATargetWithoutBorderPixelsIsFilledWhole) {
    GuardedView g(17, 11, Black);
    g.view().set(3, 3, MaskColor);
    floodFillPixels(g.view(), 16, 10, Grey, White);
    EXPECT_EQ(g.count(Grey), 17 * 11);
    EXPECT_TRUE(g.guardsIntact());
}

TEST(FloodFill, MatchesAPixelByPixelFillOnRandomMazes) {
    std::mt19937 random(99);
    for (int round = 0; round < 300; ++round) {
        const int width = 1 + round % 23, height = 1 + (round * 7) % 19;
        GuardedView g(width, height, MaskColor);
        std::bernoulli_distribution wall(0.2 + 0.4 * (round % 3) / 2);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                if (wall(random)) g.view().set(x, y, White);
                else if (x % 5 == 0) g.view().set(x, y, Grey);
            }
        std::uniform_int_distribution<int> sx(0, width - 1), sy(0, height - 1);
        expectFillsRegion(g, sx(random), sy(random), Grey, White);
    }
}

// --- The operations on surfaces ---

class RasterSurfaceTest : public testing::HeadlessTest {
protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        ASSERT_TRUE(setScreenMode(272, 480, 24));
    }
    std::vector<int> markedRows() {
        std::lock_guard guard(display().lock);
        std::vector<int> rows;
        auto& marks = display().screen->rowMarks;
        for (std::size_t y = 0; y < marks.size(); ++y)
            if (marks[y] != 0) rows.push_back(static_cast<int>(y));
        std::fill(marks.begin(), marks.end(), std::uint8_t{0});
        return rows;
    }
};

TEST_F(RasterSurfaceTest, PositionsAreRoundedAndNonFiniteOnesDrawNothing) {
    Image* image = ownedImage(8, 8, 0);
    drawLine(image, 0.4f, 1.5f, 2.5f, 1.4f, Ink);  // (0, 2) to (3, 1)
    EXPECT_EQ(pixel(image, 0, 2), Ink);
    EXPECT_EQ(pixel(image, 3, 1), Ink);
    for (const float bad : {NaN, Inf, -Inf}) {
        Image* blank = ownedImage(8, 8, 0);
        drawLine(blank, bad, 1, 5, 5, Ink);
        drawLine(blank, 1, 1, 5, bad, Ink);
        fillCircle(blank, bad, 3, 2, Ink);
        fillCircle(blank, 3, bad, 2, Ink);
        floodFill(blank, bad, 3, Ink, White);
        floodFill(blank, 3, bad, Ink, White);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) ASSERT_EQ(pixel(blank, x, y), 0u);
    }
    Image* whole = ownedImage(8, 8, 0);
    fillCircle(whole, -1e30f, 1e30f, 3e38f, Ink);  // held far out, yet covering everything
    drawLine(whole, -1e30f, 0, 1e30f, 0, White);
    for (int x = 0; x < 8; ++x) EXPECT_EQ(pixel(whole, x, 0), White);
    EXPECT_EQ(pixel(whole, 7, 7), Ink);
}

TEST_F(RasterSurfaceTest, DrawingOnTheScreenMarksTheRowsWritten) {
    markedRows();
    drawLine(Surface::screen(), 10, 20, 30, 25, White);
    EXPECT_EQ(markedRows(), (std::vector<int>{20, 21, 22, 23, 24, 25}));
    fillCircle(Surface::screen(), 100, 2, 6, White);  // rows -4..8, cut at the top
    EXPECT_EQ(markedRows(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
    fillCircle(Surface::screen(), 100, 100, -3, White);
    drawLine(Surface::screen(), -10, -10, -20, -30, White);
    EXPECT_TRUE(markedRows().empty());
    floodFill(Surface::screen(), 200, 300, Grey, White);  // no white there: the whole screen
    EXPECT_EQ(markedRows().size(), 480u);
    EXPECT_EQ(screenPixel(271, 479), Grey);
    EXPECT_EQ(screenPixel(100, 2), White);
}

}  // namespace
}  // namespace fogloom
