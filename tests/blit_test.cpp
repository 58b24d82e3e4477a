// Rectangle fills, copies and the three blit rules, on images and on the screen.
#include <gtest/gtest.h>

#include "surface/blit.h"
#include "test_support.h"

namespace fogloom {
namespace {

using BlitTest = testing::TrueColourTest;

struct ChannelCase {
    std::uint32_t source, target, expected;
};

TEST_F(BlitTest, AlphaMovesEachChannelAQuarterOfTheWayRoundedDown) {
    const ChannelCase cases[] = {
        {0xFFFFFF, 0x000000, 0x3F3F3F},  // 255 over 0 gives 63
        {0x000000, 0xFFFFFF, 0xBFBFBF},  // 0 over 255 gives 191
        {0x7F7F7F, 0x000000, 0x1F1F1F},  // 127 over 0 gives 31
        {0x000000, 0x7F7F7F, 0x5F5F5F},  // 0 over 127 gives 95
        {0x123456, 0x123456, 0x123456},  // equal channels stay
        {0xFF0001, 0x00FF00, 0x3FBF00},  // each channel on its own, both directions
        {0x00000003, 0xAB000000, 0x000000},  // 3 over 0 gives 0; the top byte becomes 0
        {0x00000000, 0x00000003, 0x000002},  // 0 over 3: floor(-0.75) = -1
    };
    Image* source = ownedImage(1, 1, 0);
    Image* target = ownedImage(1, 1, 0);
    for (const auto& c : cases) {
        imageView(source).set(0, 0, c.source);
        imageView(target).set(0, 0, c.target);
        EXPECT_EQ(blit(target, 0, 0, source, BlitMode::Alpha, 63), 0);
        EXPECT_EQ(pixel(target, 0, 0), c.expected) << std::hex << c.source << " over " << c.target;
    }
}

TEST_F(BlitTest, AlphaEdgeValuesOfAlpha) {
    Image* source = ownedImage(1, 1, 0xFFFFFF);
    Image* target = ownedImage(1, 1, 0x10000000);
    EXPECT_EQ(blit(target, 0, 0, source, BlitMode::Alpha, 0), 0);
    EXPECT_EQ(pixel(target, 0, 0), 0x10000000u) << "alpha 0 draws nothing";
    EXPECT_EQ(blit(target, 0, 0, source, BlitMode::Alpha, 255), 0);
    EXPECT_EQ(pixel(target, 0, 0), 0xFFFFFFu) << "alpha 255 works as Transparent";
    imageView(target).set(0, 0, 0);
    EXPECT_EQ(blit(target, 0, 0, source, BlitMode::Alpha, 127), 0);
    EXPECT_EQ(pixel(target, 0, 0), 0x7F7F7Fu) << "255 * 128 / 256";
}

TEST_F(BlitTest, MaskPixelsLeaveTheTargetUnderTransparentAndAlpha) {
    const std::uint32_t masks[] = {0x00FF00FF, 0x7FFF00FF, 0xFFFF00FF};
    for (const BlitMode mode : {BlitMode::Transparent, BlitMode::Alpha}) {
        for (const std::uint32_t mask : masks) {
            Image* source = ownedImage(1, 1, mask);
            Image* target = ownedImage(1, 1, 0x12345678);
            EXPECT_EQ(blit(target, 0, 0, source, mode, 63), 0);
            EXPECT_EQ(pixel(target, 0, 0), 0x12345678u);
        }
    }
}

TEST_F(BlitTest, TransparentClearsTheTopByteAndOpaqueKeepsIt) {
    Image* source = ownedImage(1, 1, 0xAB7F7F7F);
    Image* target = ownedImage(1, 1, 0);
    blit(target, 0, 0, source, BlitMode::Transparent, -1);
    EXPECT_EQ(pixel(target, 0, 0), 0x007F7F7Fu);
    blit(target, 0, 0, source, BlitMode::Opaque, -1);
    EXPECT_EQ(pixel(target, 0, 0), 0xAB7F7F7Fu);
    // Opaque copies mask-coloured pixels like any other.
    imageView(source).set(0, 0, MaskColor);
    blit(target, 0, 0, source, BlitMode::Opaque, -1);
    EXPECT_EQ(pixel(target, 0, 0), MaskColor);
}

TEST_F(BlitTest, ShiftedAlphaBlendWritesOnlyTheOverlap) {
    // The blur's blend at (-2, +1): canvas (x, y) takes snapshot (x + 2, y - 1).
    const int w = 7, h = 5;
    Image* snapshot = ownedImage(w, h, 0);
    Image* canvas = ownedImage(w, h, 0x404040);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) imageView(snapshot).set(x, y, static_cast<std::uint32_t>(0x101010 * (x + y)));
    ASSERT_EQ(blit(canvas, -2, 1, snapshot, BlitMode::Alpha, 63), 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool reached = y >= 1 && x <= w - 3;
            const std::uint32_t expected =
                reached ? alphaPixelReference(0x404040, pixel(snapshot, x + 2, y - 1), 63) : 0x404040;
            EXPECT_EQ(pixel(canvas, x, y), expected) << x << "," << y;
        }
}

TEST_F(BlitTest, BlitsHalfOrWhollyOutsideAreClipped) {
    struct Case { float x, y; int drawn; };
    const Case cases[] = {{-3, -3, 1}, {3, 3, 1}, {-4, 0, 0}, {0, 4, 0}, {1e9f, 0, 0}, {-1e9f, -1e9f, 0}, {-2.5f, 0, 1}};
    for (const Case& c : cases) {
        Image* source = ownedImage(4, 4, 0x0000FF);
        Image* target = ownedImage(4, 4, 0);
        EXPECT_EQ(blit(target, c.x, c.y, source, BlitMode::Opaque, -1), 0);
        int count = 0;
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) count += pixel(target, x, y) == 0x0000FF;
        // -2.5 rounds to -3, away from zero: one column and four rows remain.
        const int expected = c.drawn == 0 ? 0 : (c.x == -2.5f ? 4 : 1);
        EXPECT_EQ(count, expected) << c.x << "," << c.y;
    }
}

TEST_F(BlitTest, ShowingTheCanvasPlacesItsMiddleOnTheScreen) {
    Image* canvas = ownedImage(544, 960, 0);
    for (int y = 0; y < 960; y += 7)
        for (int x = 0; x < 544; x += 5) imageView(canvas).set(x, y, static_cast<std::uint32_t>(x * 4096 + y));
    ASSERT_EQ(blit(Surface::screen(), -136, -240, canvas, BlitMode::Opaque, -1), 0);
    for (int y = 0; y < 480; y += 3)
        for (int x = 0; x < 272; x += 3) ASSERT_EQ(screenPixel(x, y), pixel(canvas, x + 136, y + 240));
    std::lock_guard guard(display().lock);
    for (std::uint8_t mark : display().screen->rowMarks) EXPECT_EQ(mark, 1);
}

TEST_F(BlitTest, BlitFailsWithoutAScreenOrAcrossDepths) {
    Image* image = ownedImage(2, 2, 0);
    Image* target = ownedImage(2, 2, 0x1);
    ASSERT_TRUE(setScreenMode(272, 480, 8));
    EXPECT_EQ(blit(Surface::screen(), 0, 0, image, BlitMode::Opaque, -1), 1);
    EXPECT_EQ(blit(target, 0, 0, image, BlitMode::Opaque, -1), 1);
    EXPECT_EQ(pixel(target, 0, 0), 1u);
    closeScreen();
    EXPECT_EQ(blit(target, 0, 0, image, BlitMode::Opaque, -1), 1);
    EXPECT_EQ(blit(target, 0, 0, nullptr, BlitMode::Opaque, -1), 1);
}

TEST_F(BlitTest, FillBoxTakesCornersInAnyOrderAndClips) {
    struct Case { float x1, y1, x2, y2; int left, top, right, bottom; };
    const Case cases[] = {
        {5, 5, 10, 10, 5, 5, 10, 10},  {10, 10, 5, 5, 5, 5, 10, 10},   {10, 5, 5, 10, 5, 5, 10, 10},
        {-5, -5, 3, 3, 0, 0, 3, 3},    {14, 14, 40, 40, 14, 14, 15, 15}, {2.5f, 2.4f, 2.6f, -0.5f, 3, -1, 3, 2},
    };
    for (const Case& c : cases) {
        Image* image = ownedImage(16, 16, 0);
        fillBox(image, c.x1, c.y1, c.x2, c.y2, 0xAB123456);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const bool inside = x >= c.left && x <= c.right && y >= std::max(c.top, 0) && y <= c.bottom;
                ASSERT_EQ(pixel(image, x, y), inside ? 0xAB123456u : 0u) << c.x1 << "," << c.y1 << " at " << x << "," << y;
            }
    }
}

TEST_F(BlitTest, FillBoxOutsideOrWithNonFiniteCornersDrawsNothing) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const float boxes[][4] = {{16, 0, 20, 5}, {-9, -9, -1, 40}, {0, 16, 15, 99}, {nan, 0, 5, 5}, {0, 0, inf, 5}};
    for (const auto& b : boxes) {
        Image* image = ownedImage(16, 16, 7);
        fillBox(image, b[0], b[1], b[2], b[3], 9);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) ASSERT_EQ(pixel(image, x, y), 7u);
    }
    // Huge finite corners clip to the whole image.
    Image* image = ownedImage(16, 16, 7);
    fillBox(image, -3e38f, -3e38f, 3e38f, 3e38f, 9);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) ASSERT_EQ(pixel(image, x, y), 9u);
}

TEST_F(BlitTest, FillBoxOnTheScreenMarksOnlyItsRows) {
    fillBox(Surface::screen(), 3, 10, 9, 12, White);
    std::lock_guard guard(display().lock);
    const auto& marks = display().screen->rowMarks;
    for (int y = 0; y < 480; ++y) EXPECT_EQ(marks[y], (y >= 10 && y <= 12) ? 1 : 0) << y;
}

TEST_F(BlitTest, CopyOutTakesCornersInAnyOrderAndResizesTheDestination) {
    Image* source = ownedImage(6, 5, 0);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) imageView(source).set(x, y, static_cast<std::uint32_t>(10 * y + x));
    Image* destination = ownedImage(6, 5, 0);
    for (const auto& corners : {std::array<float, 4>{1, 2, 4, 3}, std::array<float, 4>{4, 3, 1, 2}}) {
        ASSERT_EQ(copyOut(source, corners[0], corners[1], corners[2], corners[3], destination), 0);
        ASSERT_EQ(imageWidth(destination), 4);
        ASSERT_EQ(imageHeight(destination), 2);
        for (int j = 0; j < 2; ++j)
            for (int i = 0; i < 4; ++i) EXPECT_EQ(pixel(destination, i, j), static_cast<std::uint32_t>(10 * (2 + j) + 1 + i));
    }
    // The whole source again gives the destination its full size back.
    ASSERT_EQ(copyOut(source, 5, 4, 0, 0, destination), 0);
    EXPECT_EQ(imageWidth(destination), 6);
    EXPECT_EQ(imageHeight(destination), 5);
    EXPECT_EQ(pixel(destination, 5, 4), 45u);
}

TEST_F(BlitTest, CopyOutThatLeavesTheSourceFailsAndChangesNothing) {
    Image* source = ownedImage(6, 5, 1);
    Image* destination = ownedImage(3, 3, 2);
    const float rectangles[][4] = {{0, 0, 6, 4}, {-1, 0, 2, 2}, {0, 0, 2, 5}, {0, -0.6f, 2, 2}, {0, 0, 1e30f, 2}};
    for (const auto& r : rectangles) {
        EXPECT_EQ(copyOut(source, r[0], r[1], r[2], r[3], destination), 1);
        EXPECT_EQ(imageWidth(destination), 3);
        EXPECT_EQ(imageHeight(destination), 3);
        EXPECT_EQ(pixel(destination, 2, 2), 2u);
    }
    // A destination without room for the rectangle is refused rather than overrun.
    EXPECT_EQ(copyOut(source, 0, 0, 5, 4, destination), 1);
    EXPECT_EQ(imageWidth(destination), 3);
    EXPECT_EQ(copyOut(source, 0, 0, 1, 1, nullptr), 1);
    closeScreen();
    EXPECT_EQ(copyOut(source, 0, 0, 1, 1, destination), 1);
}

TEST_F(BlitTest, CopyOutOfTheScreen) {
    fillBox(Surface::screen(), 270, 478, 271, 479, 0x00ABCDEF);
    Image* destination = ownedImage(272, 480, 0);
    ASSERT_EQ(copyOut(Surface::screen(), 270, 478, 271, 479, destination), 0);
    EXPECT_EQ(imageWidth(destination), 2);
    EXPECT_EQ(pixel(destination, 1, 1), 0x00ABCDEFu);
}

TEST_F(BlitTest, CreateImageLimitsAndFill) {
    struct Case { int width, height; bool made; };
    const Case cases[] = {{0, 10, false}, {8192, 10, false}, {10, 65536, false}, {10, 0, false},
                          {-1, 5, false}, {8191, 1, true},    {1, 65535, true},  {544, 960, true}};
    for (const Case& c : cases) {
        Image* image = createImage(c.width, c.height, NoColor);
        EXPECT_EQ(image != nullptr, c.made) << c.width << "x" << c.height;
        if (image != nullptr) {
            EXPECT_EQ(imageWidth(image), c.width);
            EXPECT_EQ(imageHeight(image), c.height);
            EXPECT_EQ(imageBytesPerPixel(image), 4);
            const PixelView view = imageView(image);
            EXPECT_EQ(view.get(0, 0), 0x00FF00FFu);
            EXPECT_EQ(view.get(c.width - 1, c.height - 1), 0x00FF00FFu);
        }
        destroyImage(image);
    }
}

TEST_F(BlitTest, CreateImageHeaderAndEightBitFill) {
    Image* image = createImage(544, 960, NoColor);
    ASSERT_NE(image, nullptr);
    const std::uint8_t* header = imageHeader(image);
    EXPECT_EQ(header[0] | (header[1] << 8), (544 << 3) | 4);
    EXPECT_EQ(header[2] | (header[3] << 8), 960);
    destroyImage(image);

    ASSERT_TRUE(setScreenMode(272, 480, 8));
    Image* small = createImage(3, 2, NoColor);
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(imageBytesPerPixel(small), 1);
    EXPECT_EQ(imageView(small).get(2, 1), 0u);
    destroyImage(small);
    Image* coloured = createImage(3, 2, 0x1234);
    EXPECT_EQ(imageView(coloured).get(1, 1), 0x34u);
    destroyImage(coloured);

    closeScreen();
    EXPECT_EQ(createImage(3, 2, NoColor), nullptr);
    destroyImage(nullptr);
}

}  // namespace
}  // namespace fogloom
