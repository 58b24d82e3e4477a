// Screen modes, the window behind them, the title and what the window is fed.
#include <gtest/gtest.h>

#include "app/main_loop.h"
#include "surface/blit.h"
#include "surface/presentation.h"
#include "test_support.h"

namespace fogloom {
namespace {

using ScreenTest = testing::HeadlessTest;

TEST_F(ScreenTest, EachSwitchOpensANewBlackWindowWithTheTitle) {
    setWindowTitle(WindowTitle);
    ASSERT_TRUE(setScreenMode(272, 480, 8));
    EXPECT_EQ(currentBytesPerPixel(), 1);
    fillBox(Surface::screen(), 0, 0, 271, 479, 5);
    ASSERT_TRUE(setScreenMode(272, 480, 24));
    EXPECT_EQ(currentBytesPerPixel(), 4);
    EXPECT_EQ(platform_.windowsOpened(), 2);
    EXPECT_EQ(platform_.windowWidth(), 272);
    EXPECT_EQ(platform_.windowHeight(), 480);
    EXPECT_EQ(platform_.windowTitle(), "QEV\x92s Fogloom \x97 3");
    EXPECT_EQ(screenPixel(0, 0), 0u);
    EXPECT_EQ(screenPixel(271, 479), 0u);
}

TEST_F(ScreenTest, ABadModeChangesNothing) {
    ASSERT_TRUE(setScreenMode(272, 480, 24));
    fillBox(Surface::screen(), 0, 0, 0, 0, 0x00ABCDEF);
    const struct { int w, h, depth; } bad[] = {{272, 480, 12}, {0, 480, 8}, {272, -1, 8}, {272, 480, 0}, {272, 480, 33}};
    for (const auto& b : bad) EXPECT_FALSE(setScreenMode(b.w, b.h, b.depth));
    EXPECT_EQ(platform_.windowsOpened(), 1);
    EXPECT_TRUE(platform_.windowOpen());
    EXPECT_EQ(currentBytesPerPixel(), 4);
    EXPECT_EQ(screenPixel(0, 0), 0x00ABCDEFu);
}

TEST_F(ScreenTest, NoWindowMeansNoScreen) {
    ASSERT_TRUE(setScreenMode(272, 480, 24));
    platform_.setOptions({.realPauses = false, .realTone = false, .windowsOpen = false});
    EXPECT_FALSE(setScreenMode(272, 480, 8));
    EXPECT_EQ(currentBytesPerPixel(), 0);
    EXPECT_EQ(createImage(4, 4, NoColor), nullptr);
    fillBox(Surface::screen(), 0, 0, 5, 5, 1);  // no screen: nothing to draw on, and no crash
}

TEST_F(ScreenTest, TitleKeepsAtMost127Bytes) {
    setWindowTitle(std::string(200, 'a'));
    EXPECT_EQ(platform_.windowTitle(), std::string(127, 'a'));
    ASSERT_TRUE(setScreenMode(272, 480, 8));
    EXPECT_EQ(platform_.windowTitle(), std::string(127, 'a'));
}

TEST_F(ScreenTest, EightBitScreenOpensWithTheDefaultPalette) {
    ASSERT_TRUE(setScreenMode(272, 480, 8));
    const Palette& p = defaultPalette();
    const struct { int index; Rgb rgb; } entries[] = {
        {0, {0, 0, 0}},         {1, {0, 0, 170}},       {6, {170, 85, 0}},    {7, {170, 170, 170}},
        {8, {85, 85, 85}},      {9, {85, 85, 255}},     {14, {255, 255, 85}}, {15, {255, 255, 255}},
        {16, {0, 0, 0}},        {17, {20, 20, 20}},     {23, {97, 97, 97}},   {29, {202, 202, 202}},
        {30, {226, 226, 226}},  {31, {255, 255, 255}},  {32, {0, 0, 255}},    {36, {255, 0, 255}},
        {37, {255, 0, 190}},    {41, {255, 64, 0}},     {45, {190, 255, 0}},  {52, {0, 255, 255}},
        {55, {0, 64, 255}},     {56, {125, 125, 255}},  {104, {0, 0, 113}},   {113, {113, 28, 0}},
        {176, {0, 0, 64}},      {224, {44, 44, 64}},    {247, {44, 48, 64}},  {248, {0, 0, 0}},
        {255, {0, 0, 0}},
    };
    for (const auto& e : entries) EXPECT_EQ(p[e.index], e.rgb) << "entry " << e.index;
    std::lock_guard guard(display().lock);
    EXPECT_EQ(display().screen->palette, p);
}

TEST_F(ScreenTest, TheWindowIsFedOnlyMarkedRowsThroughThePalette) {
    ASSERT_TRUE(setScreenMode(272, 480, 8));
    auto& feed = screenFeed();
    std::vector<std::uint32_t> frame(272 * 480, 0xDEADBEEF);
    int first = -1, last = -1;
    // A new 8-bit screen shows every row.
    ASSERT_TRUE(feed.takeRows(frame.data(), 272, 480, false, first, last));
    EXPECT_EQ(first, 0);
    EXPECT_EQ(last, 479);
    EXPECT_EQ(frame[0], 0u);
    EXPECT_FALSE(feed.takeRows(frame.data(), 272, 480, false, first, last));

    fillBox(Surface::screen(), 10, 100, 12, 101, 9);
    ASSERT_TRUE(feed.takeRows(frame.data(), 272, 480, false, first, last));
    EXPECT_EQ(first, 100);
    EXPECT_EQ(last, 101);
    EXPECT_EQ(frame[100 * 272 + 11], 0x5555FFu);

    ASSERT_TRUE(setScreenMode(272, 480, 24));
    fillBox(Surface::screen(), 0, 7, 0, 7, 0xAB102030);
    ASSERT_TRUE(feed.takeRows(frame.data(), 272, 480, false, first, last));
    EXPECT_EQ(first, 7);
    EXPECT_EQ(frame[7 * 272], 0x102030u) << "the top byte is never shown";
    // A repaint request shows everything again.
    ASSERT_TRUE(feed.takeRows(frame.data(), 272, 480, true, first, last));
    EXPECT_EQ(first, 0);
    EXPECT_EQ(last, 479);
}

}  // namespace
}  // namespace fogloom
