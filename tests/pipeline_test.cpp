// The picture sequence, the blur and the squares kind.
#include <gtest/gtest.h>

#include "app/services.h"
#include "layers/pipeline.h"
#include "surface/blit.h"
#include "test_support.h"

namespace fogloom {
namespace {

class PipelineTest : public testing::TrueColourTest {
protected:
    // A small canvas and snapshot holding the same grey levels.
    void useSmallCanvas(int width, int height, const std::vector<int>& levels) {
        picture().images.canvas = ownedImage(width, height, 0);
        picture().images.snapshot = ownedImage(width, height, 0);
        for (int i = 0; i < width * height; ++i) {
            const auto grey = static_cast<std::uint32_t>(levels[i] * 0x010101);
            imageView(picture().images.canvas).set(i % width, i / width, grey);
            imageView(picture().images.snapshot).set(i % width, i / width, grey);
        }
    }
    int canvasLevel(int x, int y) { return static_cast<int>(pixel(picture().images.canvas, x, y) & 0xFF); }
};

// Worked by hand: a row of three pixels only meets the horizontal blends (every vertical
// shift falls off the single row), a column of one only the vertical ones.
TEST_F(PipelineTest, BlurOfARowMatchesTheHandWorkedValues) {
    useSmallCanvas(3, 1, {0, 0, 255});
    blurCanvas();
    EXPECT_EQ(canvasLevel(0, 0), 50);
    EXPECT_EQ(canvasLevel(1, 0), 74);
    EXPECT_EQ(canvasLevel(2, 0), 255);
    EXPECT_EQ(platform_.pauses(), 18);
    EXPECT_EQ(platform_.pausedMs(), 18);
}

TEST_F(PipelineTest, BlurOfAColumnMatchesTheHandWorkedValues) {
    useSmallCanvas(1, 3, {255, 0, 0});
    blurCanvas();
    EXPECT_EQ(canvasLevel(0, 0), 180);
    EXPECT_EQ(canvasLevel(0, 1), 90);
    EXPECT_EQ(canvasLevel(0, 2), 0);
}

TEST_F(PipelineTest, BlurLeavesEqualPixelsAndNeverWritesTheTopByte) {
    useSmallCanvas(5, 4, std::vector<int>(20, 0x7F));
    blurCanvas();
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(pixel(picture().images.canvas, x, y), 0x7F7F7Fu);
}

TEST_F(PipelineTest, LayerValuesAtTheExtremesOfTheRandomUnit) {
    const ShapeRecipe squares{14, false, nullptr};
    const ShapeRecipe circles{28, false, nullptr};
    const ShapeRecipe polygon{14, true, nullptr};
    const double low[4] = {0, 0, 0, 0};
    const double high[4] = {32767 / 32768.0, 32767 / 32768.0, 32767 / 32768.0, 32767 / 32768.0};
    const LayerValues a = layerValuesFrom(squares, low);
    EXPECT_EQ(a.cx, 146);
    EXPECT_EQ(a.cy, 250);
    EXPECT_EQ(a.s, 6);
    const LayerValues b = layerValuesFrom(squares, high);
    EXPECT_EQ(b.cx, 417);
    EXPECT_EQ(b.cy, 729);
    EXPECT_EQ(b.s, 19);
    EXPECT_EQ(layerValuesFrom(circles, high).s, 33);
    EXPECT_EQ(layerValuesFrom(polygon, high).r, 359);
    EXPECT_EQ(layerValuesFrom(polygon, low).r, 0);
}

// Checks a square's rim and core, and `margin` pixels of black around it.
void expectSquare(Image* canvas, int cx, int cy, int s, int margin = 3) {
    const PixelView view = imageView(canvas);
    for (int y = cy - s - margin; y <= cy + s + margin; ++y)
        for (int x = cx - s - margin; x <= cx + s + margin; ++x) {
            const int d = std::max(std::abs(x - cx), std::abs(y - cy));
            const std::uint32_t expected = d > s ? Black : d > s - 2 ? White : Grey;
            ASSERT_EQ(view.get(x, y), expected) << x << "," << y;
        }
}

TEST_F(PipelineTest, SquareDrawStepAtTheSmallestAndLargestValues) {
    Image* canvas = ownedImage(544, 960, Black);
    drawSquare(canvas, 146, 250, 6);  // white 140..152, grey 142..150
    expectSquare(canvas, 146, 250, 6);
    EXPECT_EQ(pixel(canvas, 140, 244), White);
    EXPECT_EQ(pixel(canvas, 142, 246), Grey);
    EXPECT_EQ(pixel(canvas, 150, 254), Grey);
    drawSquare(canvas, 417, 729, 19);  // covers 398..436 by 710..748
    expectSquare(canvas, 417, 729, 19);

    // Only its part left of canvas x 408 and above y 720 shows on the screen.
    picture().images.canvas = canvas;
    showCanvas();
    for (int y = 460; y < 480; ++y)
        for (int x = 250; x < 272; ++x) {
            const bool shown = x >= 262 && y >= 470;
            EXPECT_EQ(screenPixel(x, y) != Black, shown) << x << "," << y;
        }
}

TEST_F(PipelineTest, ANewSquareHidesWhatLiesBeneath) {
    Image* canvas = ownedImage(544, 960, Black);
    drawSquare(canvas, 200, 300, 19);
    drawSquare(canvas, 205, 305, 6);
    expectSquare(canvas, 205, 305, 6, 0);
    EXPECT_EQ(pixel(canvas, 198, 298), Grey) << "the older square around it is untouched";
    EXPECT_EQ(pixel(canvas, 181, 281), White);
}

TEST_F(PipelineTest, ASquarePictureOfTenLayers) {
    usePictureImages(10);
    seedRandom(5);
    renderSquares();

    EXPECT_EQ(platform_.pauses(), 180);
    EXPECT_EQ(platform_.tones(), 1);
    EXPECT_EQ(platform_.lastToneHz(), 1000);
    EXPECT_EQ(platform_.lastToneMs(), 250);
    EXPECT_EQ(randomCallsSince(5), 30) << "three random values a layer";
    // The stamp is left alone, the canvas edges stay black, every pixel is a neutral grey.
    EXPECT_EQ(pixel(picture().images.stamp, 64, 64), MaskColor);
    const PixelView canvas = imageView(picture().images.canvas);
    for (int y = 0; y < 960; ++y) {
        for (int x = 0; x < 544; ++x) {
            const std::uint32_t p = canvas.get(x, y);
            ASSERT_EQ(p >> 24, 0u);
            ASSERT_TRUE((p & 0xFF) == ((p >> 8) & 0xFF) && (p & 0xFF) == ((p >> 16) & 0xFF)) << x << "," << y;
            if (x < 2 || y == 0 || x > 541 || y == 959) {
                ASSERT_EQ(p, Black);
            }
        }
    }
    // The screen shows the middle of the canvas.
    for (int y = 0; y < 480; y += 11) {
        for (int x = 0; x < 272; x += 7) {
            ASSERT_EQ(screenPixel(x, y), canvas.get(x + 136, y + 240));
        }
    }
}

}  // namespace
}  // namespace fogloom
