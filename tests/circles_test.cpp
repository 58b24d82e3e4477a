// The circles kind: the draw step at the extremes of its radius, and the renderer.
#include <gtest/gtest.h>

#include "app/services.h"
#include "layers/circles.h"
#include "raster_reference.h"
#include "test_support.h"

namespace fogloom {
namespace {

using CirclesTest = testing::TrueColourTest;

// Checks a circle of radius s around (cx, cy): the white disc of radius s with the grey disc
// of radius s - 4 over it, both as the circle walk gives them, and black around.
void expectCircle(Image* canvas, int cx, int cy, int s) {
    const auto white = testing::referenceDisc(cx, cy, static_cast<float>(s));
    const auto grey = testing::referenceDisc(cx, cy, static_cast<float>(s - 4));
    auto in = [](const auto& rows, int x, int y) {
        const auto it = rows.find(y);
        return it != rows.end() && x >= it->second.first && x <= it->second.second;
    };
    const PixelView view = imageView(canvas);
    for (int y = cy - s - 3; y <= cy + s + 3; ++y)
        for (int x = cx - s - 3; x <= cx + s + 3; ++x) {
            const std::uint32_t expected = in(grey, x, y) ? Grey : in(white, x, y) ? White : Black;
            ASSERT_EQ(view.get(x, y), expected) << x << "," << y;
        }
}

TEST_F(CirclesTest, SmallestCircleIsARadiusSixDiscAroundARadiusTwoCore) {
    Image* canvas = ownedImage(544, 960, Black);
    drawCircle(canvas, 146, 250, 6);
    expectCircle(canvas, 146, 250, 6);
    // Radius 2 gives half-widths 0, 1, 2, 1, 0; radius 6 reaches 6 across the middle rows.
    EXPECT_EQ(pixel(canvas, 146, 248), Grey);
    EXPECT_EQ(pixel(canvas, 145, 248), White);
    EXPECT_EQ(pixel(canvas, 144, 250), Grey);
    EXPECT_EQ(pixel(canvas, 143, 250), White);
    EXPECT_EQ(pixel(canvas, 140, 250), White);
    EXPECT_EQ(pixel(canvas, 139, 250), Black);
    EXPECT_EQ(pixel(canvas, 146, 244), White);
    EXPECT_EQ(pixel(canvas, 146, 243), Black);
}

TEST_F(CirclesTest, LargestCircleIsARadiusThirtyThreeDiscAroundARadiusTwentyNineCore) {
    Image* canvas = ownedImage(544, 960, Black);
    drawCircle(canvas, 417, 729, 33);
    expectCircle(canvas, 417, 729, 33);
    // A white ring four pixels wide across the middle row, the disc spans 33 each way.
    for (int x = 384; x <= 387; ++x) EXPECT_EQ(pixel(canvas, x, 729), White) << x;
    EXPECT_EQ(pixel(canvas, 388, 729), Grey);
    EXPECT_EQ(pixel(canvas, 383, 729), Black);
    EXPECT_EQ(pixel(canvas, 450, 729), White);
    EXPECT_EQ(pixel(canvas, 451, 729), Black);
    EXPECT_EQ(pixel(canvas, 417, 696), White);
    EXPECT_EQ(pixel(canvas, 417, 762), White);
    EXPECT_EQ(pixel(canvas, 417, 700), Grey);
}

TEST_F(CirclesTest, ANewCircleHidesWhatLiesBeneath) {
    Image* canvas = ownedImage(544, 960, Black);
    drawCircle(canvas, 200, 300, 20);
    drawCircle(canvas, 210, 300, 6);
    EXPECT_EQ(pixel(canvas, 210, 300), Grey);
    EXPECT_EQ(pixel(canvas, 204, 300), White);  // the new rim over the old grey core
    EXPECT_EQ(pixel(canvas, 190, 300), Grey);   // the old core around it is untouched
}

TEST_F(CirclesTest, ACirclePictureOfTenLayers) {
    const WorkImages& images = usePictureImages(10);
    seedRandom(11);
    renderCircles();
    EXPECT_EQ(platform_.tones(), 1);
    EXPECT_EQ(platform_.pauses(), 180);
    EXPECT_EQ(pixel(images.stamp, 64, 64), MaskColor) << "circles never touch the stamp";
    EXPECT_EQ(randomCallsSince(11), 30) << "three random values a layer";
}

}  // namespace
}  // namespace fogloom
