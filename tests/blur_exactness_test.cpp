// The fast Alpha rows and the fused blur against the plain per-pixel rule: every kernel
// level must give exactly the pixels of alphaPixelReference applied blit by blit.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "layers/pipeline.h"
#include "surface/blend_kernels.h"
#include "surface/blit.h"
#include "surface/blur.h"
#include "test_support.h"

namespace fogloom {
namespace {

std::string levelName(KernelLevel level) {
    switch (level) {
        case KernelLevel::Portable: return "Portable";
        case KernelLevel::Sse2: return "Sse2";
        case KernelLevel::Avx2: return "Avx2";
    }
    return "Unknown";
}

std::uint32_t bits(std::mt19937& random) { return static_cast<std::uint32_t>(random()); }

// A random 32-bit pixel: any top byte, any channels; with `maskShare` chance the mask colour
// (with a random top byte), and now and then a colour one bit away from it.
std::uint32_t randomPixel(std::mt19937& random, double maskShare) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const std::uint32_t top = bits(random) & 0xFF000000u;
    const double roll = unit(random);
    if (roll < maskShare) return top | MaskColor;
    if (roll < maskShare + 0.01) return top | (MaskColor ^ (1u << (bits(random) % 24)));
    return bits(random);
}

// Pixels in a buffer that starts `offset` pixels into its storage, so that views begin at
// every alignment.
struct Picture {
    int width = 0, height = 0, offset = 0;
    std::vector<std::uint32_t> storage;

    Picture(int w, int h, int off) : width(w), height(h), offset(off), storage(static_cast<std::size_t>(w * h + off)) {}
    std::uint32_t* data() { return storage.data() + offset; }
    std::uint32_t& at(int x, int y) { return data()[y * width + x]; }
    PixelView view() { return PixelView{reinterpret_cast<std::uint8_t*>(data()), width, height, 4}; }
    void fillRandom(std::mt19937& random, double maskShare) {
        for (int i = 0; i < width * height; ++i) data()[i] = randomPixel(random, maskShare);
    }
    std::vector<std::uint32_t> pixels() { return {data(), data() + width * height}; }
};

// One Alpha blit by the plain rule: source placed at (x, y), clipped to the target.
void referenceAlphaBlit(Picture& target, Picture& source, int x, int y, int alpha) {
    for (int ty = 0; ty < target.height; ++ty)
        for (int tx = 0; tx < target.width; ++tx) {
            const int sx = tx - x, sy = ty - y;
            if (sx < 0 || sy < 0 || sx >= source.width || sy >= source.height) continue;
            target.at(tx, ty) = alphaPixelReference(target.at(tx, ty), source.at(sx, sy), alpha);
        }
}

// The blur as the picture sequence spells it out: two passes of dx -2..0, dy -1..1.
void referenceBlur(Picture& target, Picture& source, int alpha, int passes) {
    for (int pass = 0; pass < passes; ++pass)
        for (int dx = -2; dx <= 0; ++dx)
            for (int dy = -1; dy <= 1; ++dy) referenceAlphaBlit(target, source, dx, dy, alpha);
}

// Reports the first differing pixel instead of thousands of lines.
void expectSamePixels(const std::vector<std::uint32_t>& actual, const std::vector<std::uint32_t>& expected,
                      int width, const std::string& what) {
    ASSERT_EQ(actual.size(), expected.size()) << what;
    for (std::size_t i = 0; i < actual.size(); ++i) {
        if (actual[i] != expected[i]) {
            ADD_FAILURE() << what << ": pixel (" << i % width << ", " << i / width << ") is 0x" << std::hex
                          << actual[i] << ", the plain rule gives 0x" << expected[i];
            return;
        }
    }
}

class KernelLevelTest : public ::testing::TestWithParam<KernelLevel> {
protected:
    void SetUp() override {
        kernels_ = blendKernels(GetParam());
        if (kernels_ == nullptr) GTEST_SKIP() << levelName(GetParam()) << " is not available on this machine";
    }
    const BlendKernels* kernels_ = nullptr;
};

INSTANTIATE_TEST_SUITE_P(AllLevels, KernelLevelTest,
                         ::testing::Values(KernelLevel::Portable, KernelLevel::Sse2, KernelLevel::Avx2),
                         [](const ::testing::TestParamInfo<KernelLevel>& param) { return levelName(param.param); });

constexpr int Alphas[] = {0, 1, 2, 63, 64, 100, 127, 128, 191, 200, 254, 255};

// Every pair of channel values meets in both directions: blue and green carry (t, s) and
// (s, t), red a third mix; the top bytes are random.
TEST_P(KernelLevelTest, AlphaRowMatchesThePlainRuleForEveryPairOfChannelValues) {
    std::mt19937 random(11);
    std::vector<std::uint32_t> targetRow(65536), sourceRow(65536);
    for (std::uint32_t i = 0; i < 65536; ++i) {
        const std::uint32_t t = i & 0xFF, s = i >> 8;
        targetRow[i] = (bits(random) & 0xFF000000u) | (((t * 7 + s) & 0xFF) << 16) | (s << 8) | t;
        sourceRow[i] = (bits(random) & 0xFF000000u) | (((s * 3 + t) & 0xFF) << 16) | (t << 8) | s;
    }
    for (const int alpha : Alphas) {
        std::vector<std::uint32_t> expected(65536), actual = targetRow;
        for (int i = 0; i < 65536; ++i) expected[i] = alphaPixelReference(targetRow[i], sourceRow[i], alpha);
        kernels_->alphaRow(actual.data(), sourceRow.data(), 65536, alpha);
        expectSamePixels(actual, expected, 256, "alpha " + std::to_string(alpha));
    }
}

TEST_P(KernelLevelTest, AlphaRowMatchesThePlainRuleAtOddLengthsAndOffsets) {
    std::mt19937 random(12);
    for (const int alpha : Alphas)
        for (int count = 0; count <= 40; ++count)
            for (int targetOffset = 0; targetOffset < 8; targetOffset += 3)
                for (int sourceOffset = 0; sourceOffset < 8; sourceOffset += 5) {
                    std::vector<std::uint32_t> target(static_cast<std::size_t>(count + 16)),
                        source(static_cast<std::size_t>(count + 16));
                    for (auto& p : target) p = randomPixel(random, 0.0);
                    for (auto& p : source) p = randomPixel(random, 0.2);
                    std::vector<std::uint32_t> expected = target;
                    for (int i = 0; i < count; ++i)
                        expected[targetOffset + i] =
                            alphaPixelReference(target[targetOffset + i], source[sourceOffset + i], alpha);
                    kernels_->alphaRow(target.data() + targetOffset, source.data() + sourceOffset, count, alpha);
                    // Pixels before and after the run are untouched as well.
                    expectSamePixels(target, expected, count + 16,
                                     "alpha " + std::to_string(alpha) + ", count " + std::to_string(count));
                }
}

// The rule gives pixels only for alpha 0..255; alphaRow holds other values at those ends
// instead of letting a channel spill into its neighbour.
TEST(BlurExactness, AlphaRowHoldsAlphaBeyondItsRangeAtTheEnds) {
    std::mt19937 random(19);
    std::vector<std::uint32_t> target(37), source(37);
    for (auto& p : target) p = randomPixel(random, 0.0);
    for (auto& p : source) p = randomPixel(random, 0.1);
    for (const auto& [alpha, heldAt] : {std::pair{-5, 0}, std::pair{-1000, 0}, std::pair{256, 255}, std::pair{9999, 255}}) {
        std::vector<std::uint32_t> actual = target, expected(37);
        for (int i = 0; i < 37; ++i) expected[i] = alphaPixelReference(target[i], source[i], heldAt);
        alphaRow(actual.data(), source.data(), 37, alpha);
        expectSamePixels(actual, expected, 37, "alpha " + std::to_string(alpha));
    }
}

struct BlurCase {
    int targetWidth, targetHeight, sourceWidth, sourceHeight;
    double maskShare;
};

// Sizes that make every column and row an edge, odd widths around the vector widths, images
// of different sizes, and mask colour from none through sparse to nearly everywhere.
constexpr BlurCase BlurCases[] = {
    {1, 1, 1, 1, 0.0},     {2, 2, 2, 2, 0.0},     {3, 3, 3, 3, 0.2},    {1, 7, 1, 7, 0.0},
    {7, 1, 7, 1, 0.1},     {5, 4, 5, 4, 0.0},     {11, 5, 11, 5, 0.05}, {17, 9, 17, 9, 0.0},
    {31, 7, 31, 7, 0.02},  {37, 23, 37, 23, 0.0}, {67, 13, 67, 13, 0.3}, {130, 6, 130, 6, 0.9},
    {9, 6, 12, 8, 0.02},   {12, 8, 9, 6, 0.0},    {20, 10, 3, 2, 0.1},  {4, 3, 40, 30, 0.05},
    {43, 19, 43, 19, 0.01}, {64, 16, 64, 16, 0.0},  {29, 131, 29, 131, 0.01}, {15, 81, 15, 80, 0.0},
};

TEST_P(KernelLevelTest, BlurMatchesEighteenPlainBlendsIncludingTheEdges) {
    std::mt19937 random(13);
    for (const BlurCase& c : BlurCases)
        for (int offset = 0; offset < 3; ++offset) {
            Picture target(c.targetWidth, c.targetHeight, offset);
            Picture source(c.sourceWidth, c.sourceHeight, 2 - offset);
            target.fillRandom(random, 0.0);
            source.fillRandom(random, c.maskShare);
            Picture expected = target;
            referenceBlur(expected, source, 63, 2);
            blurPixelsWith(*kernels_, target.view(), source.view(), 63, 2);
            expectSamePixels(target.pixels(), expected.pixels(), target.width,
                             std::to_string(c.targetWidth) + "x" + std::to_string(c.targetHeight) + " from " +
                                 std::to_string(c.sourceWidth) + "x" + std::to_string(c.sourceHeight));
        }
}

// The program's own case: a canvas of neutral greys blurred with its own snapshot, where the
// whole inside takes the clean path and only the border needs the edge rules.
TEST_P(KernelLevelTest, BlurOfAFullCanvasMatchesEighteenPlainBlends) {
    std::mt19937 random(14);
    Picture canvas(544, 960, 0);
    for (int i = 0; i < 544 * 960; ++i) canvas.data()[i] = (bits(random) & 0xFF) * 0x010101u;
    Picture snapshot = canvas;
    Picture expected = canvas;
    referenceBlur(expected, snapshot, 63, 2);
    blurPixelsWith(*kernels_, canvas.view(), snapshot.view(), 63, 2);
    expectSamePixels(canvas.pixels(), expected.pixels(), 544, "grey canvas");

    // The same size with anything in it: top bytes, colours, some mask colour.
    Picture wild(544, 960, 1), wildSource(544, 960, 3);
    wild.fillRandom(random, 0.0);
    wildSource.fillRandom(random, 0.001);
    Picture wildExpected = wild;
    referenceBlur(wildExpected, wildSource, 63, 2);
    blurPixelsWith(*kernels_, wild.view(), wildSource.view(), 63, 2);
    expectSamePixels(wild.pixels(), wildExpected.pixels(), 544, "random canvas");
}

TEST(BlurExactness, BlurReportsTheRowsItsBlitsDraw) {
    struct Case {
        int targetWidth, targetHeight, sourceWidth, sourceHeight, first, last;
    };
    // A source one row shorter still reaches the row below it (dy = 1); one two columns wide
    // or less still reaches column 0 (dx = 0).
    constexpr Case cases[] = {{8, 8, 8, 8, 0, 7}, {8, 10, 8, 5, 0, 5}, {8, 3, 2, 20, 0, 2}, {5, 5, 1, 1, 0, 1}};
    for (const Case& c : cases) {
        Picture target(c.targetWidth, c.targetHeight, 0), source(c.sourceWidth, c.sourceHeight, 0);
        const RowSpan rows = blurPixels(target.view(), source.view(), 63, 2);
        EXPECT_EQ(rows.first, c.first);
        EXPECT_EQ(rows.last, c.last);
    }
}

// Other alphas and 8-bit pixels run the blits one after another; the result is the same.
TEST(BlurExactness, OtherAlphasAndDepthsMatchTheBlitsOneAfterAnother) {
    std::mt19937 random(15);
    for (const int alpha : {-3, 0, 1, 127, 254, 255, 300}) {
        Picture target(23, 11, 1), source(23, 11, 0);
        target.fillRandom(random, 0.0);
        source.fillRandom(random, 0.1);
        Picture expected = target;
        for (int pass = 0; pass < 2; ++pass)
            for (int dx = -2; dx <= 0; ++dx)
                for (int dy = -1; dy <= 1; ++dy)
                    blitPixels(expected.view(), dx, dy, source.view(), BlitMode::Alpha, alpha);
        blurPixels(target.view(), source.view(), alpha, 2);
        expectSamePixels(target.pixels(), expected.pixels(), 23, "alpha " + std::to_string(alpha));
    }
    std::vector<std::uint8_t> indices(13 * 7), sourceIndices(13 * 7);
    for (auto& i : indices) i = static_cast<std::uint8_t>(bits(random));
    for (auto& i : sourceIndices) i = static_cast<std::uint8_t>(bits(random) % 4);  // plenty of index 0
    std::vector<std::uint8_t> expected = indices;
    const PixelView source{sourceIndices.data(), 13, 7, 1};
    for (int pass = 0; pass < 2; ++pass)
        for (int dx = -2; dx <= 0; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                blitPixels(PixelView{expected.data(), 13, 7, 1}, dx, dy, source, BlitMode::Alpha, 63);
    blurPixels(PixelView{indices.data(), 13, 7, 1}, source, 63, 2);
    EXPECT_EQ(indices, expected);
}

// Single blits through blitPixels, clipped on every side, at several alphas.
TEST(BlurExactness, AlphaBlitsMatchThePlainRuleWhereverTheyAreClipped) {
    std::mt19937 random(16);
    for (const int alpha : {1, 63, 128, 254})
        for (int y = -4; y <= 4; y += 2)
            for (int x = -9; x <= 9; x += 3) {
                Picture target(21, 9, 1), source(13, 6, 2);
                target.fillRandom(random, 0.0);
                source.fillRandom(random, 0.15);
                Picture expected = target;
                referenceAlphaBlit(expected, source, x, y, alpha);
                blitPixels(target.view(), x, y, source.view(), BlitMode::Alpha, alpha);
                expectSamePixels(target.pixels(), expected.pixels(), 21,
                                 "at (" + std::to_string(x) + ", " + std::to_string(y) + ")");
            }
}

using BlurCanvasTest = testing::TrueColourTest;

// The whole layer step on the real work images: copy into the snapshot, blur, and the 18
// pauses that pace the picture.
TEST_F(BlurCanvasTest, BlurCanvasGivesTheEighteenPlainBlendsAndPausesEighteenTimes) {
    std::mt19937 random(17);
    Image* canvas = ownedImage(544, 960, 0);
    Image* snapshot = ownedImage(544, 960, MaskColor);
    picture().images = {canvas, snapshot, nullptr};
    Picture expected(544, 960, 0);
    for (int y = 0; y < 960; ++y)
        for (int x = 0; x < 544; ++x) {
            const std::uint32_t grey = (bits(random) % 256) * 0x010101u;
            imageView(canvas).set(x, y, grey);
            expected.at(x, y) = grey;
        }
    Picture frozen = expected;
    ASSERT_EQ(copyOut(canvas, 0, 0, 543, 959, snapshot), 0);
    referenceBlur(expected, frozen, 63, 2);

    blurCanvas();

    const PixelView view = imageView(canvas);
    expectSamePixels(std::vector<std::uint32_t>(view.row32(0), view.row32(0) + 544 * 960), expected.pixels(), 544,
                     "canvas");
    EXPECT_EQ(platform_.pauses(), 18);
    EXPECT_EQ(platform_.pausedMs(), 18);
}

// Where blit would fail, the blur fails the same way and draws nothing.
TEST_F(BlurCanvasTest, BlurBlitsFailsLikeBlitAndDrawsNothing) {
    Image* canvas = ownedImage(8, 8, 0x101010);
    Image* grey = ownedImage(8, 8, Grey);
    Image* paletted = ownedImage(8, 8, 3, 1);
    EXPECT_EQ(blurBlits(canvas, nullptr, 63, 2), 1);
    EXPECT_EQ(blurBlits(canvas, paletted, 63, 2), 1);
    EXPECT_EQ(pixel(canvas, 3, 3), 0x101010u);
    closeScreen();
    EXPECT_EQ(blurBlits(canvas, grey, 63, 2), 1);
    EXPECT_EQ(pixel(canvas, 3, 3), 0x101010u);
}

// Blurring an image with itself goes blit by blit, each from the image as it is then.
TEST_F(BlurCanvasTest, BlurOfAnImageWithItselfMatchesTheBlitsOneAfterAnother) {
    std::mt19937 random(18);
    Image* image = ownedImage(19, 7, 0);
    Image* twin = ownedImage(19, 7, 0);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 19; ++x) {
            const std::uint32_t p = randomPixel(random, 0.1);
            imageView(image).set(x, y, p);
            imageView(twin).set(x, y, p);
        }
    for (int pass = 0; pass < 2; ++pass)
        for (int dx = -2; dx <= 0; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                blit(twin, static_cast<float>(dx), static_cast<float>(dy), twin, BlitMode::Alpha, 63);
    EXPECT_EQ(blurBlits(image, image, 63, 2), 0);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 19; ++x) EXPECT_EQ(pixel(image, x, y), pixel(twin, x, y)) << x << ", " << y;
}

}  // namespace
}  // namespace fogloom
