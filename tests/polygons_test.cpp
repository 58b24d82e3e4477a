// The polygon family: vertex tables, the stamp, the blit onto the canvas and the renderers.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/services.h"
#include "layers/polygons.h"
#include "surface/raster.h"
#include "test_support.h"

namespace fogloom {
namespace {

using P = StampPoint;
constexpr ShapeKind PolygonKinds[] = {ShapeKind::Triangles, ShapeKind::RotatedSquares, ShapeKind::Stars,
                                      ShapeKind::Hexagons};

TEST(PolygonVertices, TablesAtSizeTenWithoutRotation) {
    EXPECT_EQ(polygonVertices(ShapeKind::Triangles, 10, 0), (std::vector<P>{{62, 53}, {71, 67}, {54, 68}}));
    EXPECT_EQ(polygonVertices(ShapeKind::RotatedSquares, 10, 0),
              (std::vector<P>{{62, 53}, {73, 62}, {63, 73}, {53, 63}}));
    EXPECT_EQ(polygonVertices(ShapeKind::Stars, 10, 0),
              (std::vector<P>{{68, 71}, {67, 64}, {72, 59}, {65, 58}, {62, 53}, {60, 58}, {53, 59}, {58, 64}, {57, 71},
                              {63, 68}}));
    EXPECT_EQ(polygonVertices(ShapeKind::Hexagons, 10, 0),
              (std::vector<P>{{71, 67}, {71, 57}, {62, 53}, {54, 58}, {54, 68}, {63, 73}}));
    EXPECT_TRUE(polygonVertices(ShapeKind::Circles, 10, 0).empty());
    EXPECT_TRUE(polygonVertices(ShapeKind::Squares, 10, 0).empty());
}

TEST(PolygonVertices, SmallestTriangleFollowsTheFloorOfTheComputedProduct) {
    // The top corner at x 62 (sin 180 deg is a tiny negative), the right one at y 65
    // (cos 60 deg a hair below 0.5).
    EXPECT_EQ(polygonVertices(ShapeKind::Triangles, 6, 0), (std::vector<P>{{62, 57}, {68, 65}, {57, 66}}));
}

TEST(PolygonVertices, EdgesInDrawingOrder) {
    auto pairs = [](ShapeKind kind) {
        std::vector<std::pair<int, int>> out;
        for (const PolygonEdge& e : polygonEdges(kind)) out.push_back({e.from, e.to});
        return out;
    };
    using E = std::vector<std::pair<int, int>>;
    EXPECT_EQ(pairs(ShapeKind::Triangles), (E{{0, 1}, {1, 2}, {2, 0}}));
    // 180->90, 90->0, then 270->180 and 0->270.
    EXPECT_EQ(pairs(ShapeKind::RotatedSquares), (E{{0, 1}, {1, 2}, {3, 0}, {2, 3}}));
    EXPECT_EQ(pairs(ShapeKind::Stars),
              (E{{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 6}, {6, 7}, {7, 8}, {8, 9}, {9, 0}}));
    EXPECT_EQ(pairs(ShapeKind::Hexagons), (E{{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 0}}));
}

class PolygonTest : public testing::TrueColourTest {
protected:
    void SetUp() override {
        TrueColourTest::SetUp();
        images_.canvas = ownedImage(CanvasWidth, CanvasHeight, Black);
        images_.snapshot = ownedImage(CanvasWidth, CanvasHeight, MaskColor);
        images_.stamp = ownedImage(StampSize, StampSize, Black);
    }
    std::uint32_t stampAt(int x, int y) { return pixel(images_.stamp, x, y); }
    WorkImages images_;
};

// Every kind, size and rotation: the stamp stays mask-coloured beyond 20 pixels from its
// centre, and the outline covers the seed only for the smallest triangles at r = 50, 170
// and 290, where the fill then changes nothing.
TEST_F(PolygonTest, EveryStampStaysNearTheCentreAndIsFilledUnlessTheOutlineCoversTheSeed) {
    for (const ShapeKind kind : PolygonKinds)
        for (int s = 6; s <= 19; ++s)
            for (int r = 0; r < 360; ++r) {
                stampPolygon(images_, kind, {146, 250, s, r});
                const PixelView stamp = imageView(images_.stamp);
                auto masked = [&](int y, int from, int to) {
                    return std::all_of(stamp.row32(y) + from, stamp.row32(y) + to,
                                       [](std::uint32_t p) { return p == MaskColor; });
                };
                bool outsideMasked = true;
                for (int y = 0; y < StampSize; ++y) {
                    const bool outerRow = y <= 42 || y >= 84;
                    outsideMasked &= outerRow ? masked(y, 0, StampSize) : masked(y, 0, 43) && masked(y, 84, StampSize);
                }
                ASSERT_TRUE(outsideMasked) << static_cast<int>(kind) << " s " << s << " r " << r;
                const bool covered = kind == ShapeKind::Triangles && s == 6 && (r == 50 || r == 170 || r == 290);
                ASSERT_EQ(stamp.get(63, 63), covered ? White : Grey)
                    << static_cast<int>(kind) << " s " << s << " r " << r;
                if (covered) {
                    for (int y = 43; y < 84; ++y)
                        for (int x = 43; x < 84; ++x) ASSERT_NE(stamp.get(x, y), Grey) << "the fill changed nothing";
                }
            }
}

TEST_F(PolygonTest, TheStampHoldsTheOutlineAndTheFilledInside) {
    // A hexagon at s = 10, r = 0: corners (71,67) (71,57) (62,53) (54,58) (54,68) (63,73).
    stampPolygon(images_, ShapeKind::Hexagons, {200, 300, 10, 0});
    EXPECT_EQ(stampAt(62, 53), White);      // the top corner
    EXPECT_EQ(stampAt(62, 52), White);      // the outline is three pixels thick
    EXPECT_EQ(stampAt(62, 51), MaskColor);  // two above the corner
    EXPECT_EQ(stampAt(70, 62), White);      // the right side, x 70..72
    EXPECT_EQ(stampAt(72, 62), White);
    EXPECT_EQ(stampAt(73, 62), MaskColor);
    EXPECT_EQ(stampAt(69, 62), Grey);
    // The snapshot holds the stamp now: 128 x 128.
    EXPECT_EQ(imageWidth(images_.snapshot), StampSize);
    EXPECT_EQ(imageHeight(images_.snapshot), StampSize);
}

// The white pixels are the one-pixel outline widened by one pixel in every direction, and
// the grey ones the 4-connected region of the centre inside it.
TEST_F(PolygonTest, TheStampIsTheWidenedOutlineAndTheRegionOfTheCentre) {
    struct Case {
        ShapeKind kind;
        int s, r;
    };
    const Case cases[] = {{ShapeKind::Triangles, 10, 0},    {ShapeKind::RotatedSquares, 13, 200},
                          {ShapeKind::Stars, 19, 37},       {ShapeKind::Stars, 7, 301},
                          {ShapeKind::Hexagons, 16, 359},   {ShapeKind::Triangles, 6, 50}};
    for (const Case& c : cases) {
        stampPolygon(images_, c.kind, {200, 300, c.s, c.r});
        std::vector<std::uint32_t> thin(StampSize * StampSize, MaskColor);
        const PixelView thinView{reinterpret_cast<std::uint8_t*>(thin.data()), StampSize, StampSize, 4};
        const std::vector<StampPoint> points = polygonVertices(c.kind, c.s, c.r);
        for (const PolygonEdge& e : polygonEdges(c.kind))
            drawLinePixels(thinView, points[e.from].x, points[e.from].y, points[e.to].x, points[e.to].y, White);
        auto widened = [&](int x, int y) {
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    if (thinView.contains(x + dx, y + dy) && thinView.get(x + dx, y + dy) == White) return true;
            return false;
        };
        // The region of (63, 63), pixel by pixel.
        std::vector<char> inside(StampSize * StampSize, 0);
        std::vector<std::pair<int, int>> open;
        if (!widened(63, 63)) {
            open.push_back({63, 63});
            inside[63 * StampSize + 63] = 1;
        }
        while (!open.empty()) {
            const auto [x, y] = open.back();
            open.pop_back();
            const std::pair<int, int> next[] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
            for (const auto& [nx, ny] : next)
                if (thinView.contains(nx, ny) && !widened(nx, ny) && !inside[ny * StampSize + nx]) {
                    inside[ny * StampSize + nx] = 1;
                    open.push_back({nx, ny});
                }
        }
        for (int y = 0; y < StampSize; ++y)
            for (int x = 0; x < StampSize; ++x) {
                const std::uint32_t expected = widened(x, y) ? White : inside[y * StampSize + x] ? Grey : MaskColor;
                ASSERT_EQ(stampAt(x, y), expected)
                    << static_cast<int>(c.kind) << " s " << c.s << " r " << c.r << " at " << x << "," << y;
            }
    }
}

// Only the polygon's white and grey pixels reach the canvas; what lies beneath them is
// hidden, and every canvas pixel outside them keeps its value.
TEST_F(PolygonTest, APolygonHidesWhatLiesBeneathAndNothingElse) {
    const PixelView canvas = imageView(images_.canvas);
    auto background = [](int x, int y) { return static_cast<std::uint32_t>((x * 7 + y * 13) % 251) * 0x010101u; };
    for (int y = 0; y < CanvasHeight; ++y)
        for (int x = 0; x < CanvasWidth; ++x) canvas.set(x, y, background(x, y));
    const LayerValues layer{300, 400, 19, 37};
    stampPolygon(images_, ShapeKind::Stars, layer);
    const PixelView stamp = imageView(images_.stamp);
    int white = 0, grey = 0;
    for (int y = 0; y < CanvasHeight; ++y)
        for (int x = 0; x < CanvasWidth; ++x) {
            const int sx = x - layer.cx + 63, sy = y - layer.cy + 63;
            const std::uint32_t shape = stamp.contains(sx, sy) ? stamp.get(sx, sy) : MaskColor;
            const std::uint32_t expected = shape == MaskColor ? background(x, y) : shape;
            ASSERT_EQ(canvas.get(x, y), expected) << x << "," << y;
            white += shape == White;
            grey += shape == Grey;
        }
    EXPECT_GT(white, 150);
    EXPECT_GT(grey, 150);
    EXPECT_EQ(canvas.get(layer.cx, layer.cy), Grey);
}

// A picture of ten polygon layers: four random values a layer, the blur and show steps of
// every layer, one tone.
TEST_F(PolygonTest, ARendererOfTenLayers) {
    const Renderer renderers[] = {renderTriangles, renderRotatedSquares, renderStars, renderHexagons};
    for (const Renderer render : renderers) {
        picture().images = images_;
        picture().layerCount = 10;
        const int tonesBefore = platform_.tones();
        const long long pausesBefore = platform_.pauses();
        seedRandom(42);
        render();
        EXPECT_EQ(randomCallsSince(42), 40) << "four random values a layer";
        EXPECT_EQ(platform_.tones() - tonesBefore, 1);
        EXPECT_EQ(platform_.pauses() - pausesBefore, 180);
        // The snapshot was refreshed from the canvas after the last stamp.
        EXPECT_EQ(imageWidth(images_.snapshot), CanvasWidth);
        int shapePixels = 0;
        const PixelView canvas = imageView(images_.canvas);
        for (int y = 0; y < CanvasHeight; ++y)
            for (int x = 0; x < CanvasWidth; ++x) shapePixels += canvas.get(x, y) != Black;
        EXPECT_GT(shapePixels, 10 * 100);
    }
}

TEST(Renderers, EveryKindHasOne) {
    for (int kind = 1; kind <= 6; ++kind) EXPECT_NE(rendererFor(static_cast<ShapeKind>(kind)), nullptr) << kind;
    EXPECT_EQ(rendererFor(ShapeKind::Stars), &renderStars);
}

}  // namespace
}  // namespace fogloom
