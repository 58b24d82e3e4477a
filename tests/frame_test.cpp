#include "app/frame.h"

#include <gtest/gtest.h>

#include <vector>

#include "frame_support.h"
#include "screen_text.h"
#include "surface/presentation.h"
#include "surface/screen.h"
#include "surface/text.h"
#include "test_support.h"

namespace fogloom {
namespace {

using testing::frameEntries;
using testing::readCell;
using testing::turnedFrame;

using FrameTest = testing::EightBitTest;

TEST_F(FrameTest, SetThenGetGivesBackTheValuesThroughTheirLowBits) {
    const struct { int index, red, green, blue; int wantIndex; PaletteColor want; } cases[] = {
        {12, 1, 2, 3, 12, {1, 2, 3}},
        {255, 63, 0, 63, 255, {63, 0, 63}},
        {256 + 3, 64 + 10, 256 + 20, -1, 3, {10, 20, 63}},
    };
    for (const auto& c : cases) {
        setPaletteEntry(c.index, c.red, c.green, c.blue);
        EXPECT_EQ(getPaletteEntry(c.wantIndex), c.want) << c.index;
    }
}

TEST_F(FrameTest, DrawingSetsTheFramePaletteAsShownColours) {
    drawBorderFrame();
    EXPECT_EQ(frameEntries(), turnedFrame(0));
    const Rgb shown[9] = {{0xFF, 0xFF, 0xFF}, {0xFF, 0xE6, 0xEE}, {0xFF, 0xA1, 0xD2},
                          {0xFA, 0x50, 0xA1}, {0xE2, 0x69, 0x6D}, {0xC6, 0xA1, 0x44},
                          {0xA5, 0xEA, 0x18}, {0xC6, 0xFF, 0x6D}, {0xE6, 0xFF, 0xC2}};
    std::lock_guard guard(display().lock);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(display().screen->palette[static_cast<std::size_t>(i + 1)], shown[i]) << i + 1;
}

TEST_F(FrameTest, CornersAndSidesCarryTheirGlyphsAndColours) {
    drawBorderFrame();
    const struct { int row, column, code, colour; } cells[] = {
        {1, 1, 201, 1},   {1, 2, 205, 2},    {1, 34, 187, 7},   {2, 34, 186, 8},  {58, 34, 188, 1},
        {58, 33, 205, 2}, {58, 1, 200, 7},   {57, 1, 186, 8},   {2, 1, 186, 9},   {30, 34, 186, 9},
    };
    for (const auto& c : cells) {
        const testing::CellRead cell = readCell(c.row, c.column);
        EXPECT_EQ(cell.code, c.code) << c.row << "," << c.column;
        EXPECT_EQ(cell.foreground, static_cast<std::uint32_t>(c.colour)) << c.row << "," << c.column;
    }
    // Every edge cell holds a frame glyph in a colour 1..9; nothing else is drawn.
    for (int row = 1; row <= 60; ++row) {
        for (int column = 1; column <= 34; ++column) {
            const testing::CellRead cell = readCell(row, column);
            const bool edgeRow = row == 1 || row == 58;
            const bool edgeColumn = column == 1 || column == 34;
            if (row > 58 || (!edgeRow && !edgeColumn)) {
                EXPECT_TRUE(cell.blank) << row << "," << column;
                continue;
            }
            const int want = edgeRow && edgeColumn ? -1 : edgeRow ? 205 : 186;
            if (want > 0) {
                EXPECT_EQ(cell.code, want) << row << "," << column;
            }
            EXPECT_GE(cell.foreground, 1u) << row << "," << column;
            EXPECT_LE(cell.foreground, 9u) << row << "," << column;
        }
    }
    // Along the top the colours run 1..9 from the left; down the left side they run
    // backwards, the walk coming up it last.
    for (int column = 1; column <= 34; ++column)
        EXPECT_EQ(readCell(1, column).foreground, static_cast<std::uint32_t>((column - 1) % 9 + 1)) << column;
    for (int row = 2; row <= 57; ++row)
        EXPECT_EQ(readCell(row, 1).foreground, static_cast<std::uint32_t>((179 - (row - 2)) % 9 + 1)) << row;
}

TEST_F(FrameTest, DrawingLeavesTheTextColourAtNine) {
    drawBorderFrame();
    locate(20, 10);
    printText("x", false);
    EXPECT_EQ(readCell(20, 10).foreground, 9u);
    EXPECT_EQ(textCursor(), (TextCursor{20, 11}));
}

TEST_F(FrameTest, RotationsMoveTheColoursOneCellAndNineRestore) {
    const struct { const char* name; void (*rotate)(int, int); int steps; std::vector<PaletteColor> want; } cases[] = {
        {"up once", rotatePaletteUp, 1, turnedFrame(1)},
        {"down once", rotatePaletteDown, 1, turnedFrame(-1)},
        {"up four times", rotatePaletteUp, 4, turnedFrame(4)},
        {"up nine times", rotatePaletteUp, 9, turnedFrame(0)},
        {"down nine times", rotatePaletteDown, 9, turnedFrame(0)},
    };
    for (const auto& c : cases) {
        drawBorderFrame();
        for (int i = 0; i < c.steps; ++i) c.rotate(1, 9);
        EXPECT_EQ(frameEntries(), c.want) << c.name;
    }
    // The listed cases, spelled out.
    drawBorderFrame();
    rotatePaletteUp(1, 9);
    EXPECT_EQ(getPaletteEntry(1), (PaletteColor{57, 63, 48}));
    EXPECT_EQ(getPaletteEntry(2), (PaletteColor{63, 63, 63}));
    EXPECT_EQ(getPaletteEntry(9), (PaletteColor{49, 63, 27}));
    drawBorderFrame();
    rotatePaletteDown(1, 9);
    EXPECT_EQ(getPaletteEntry(1), (PaletteColor{63, 57, 59}));
    EXPECT_EQ(getPaletteEntry(9), (PaletteColor{63, 63, 63}));
}

TEST_F(FrameTest, RotationsTouchOnlyTheEntriesGiven) {
    drawBorderFrame();
    const PaletteColor zero = getPaletteEntry(0), ten = getPaletteEntry(10);
    rotatePaletteUp(1, 9);
    rotatePaletteDown(1, 9);
    rotatePaletteDown(1, 9);
    EXPECT_EQ(getPaletteEntry(0), zero);
    EXPECT_EQ(getPaletteEntry(10), ten);
    EXPECT_EQ(frameEntries(), turnedFrame(-1));
    // A one-entry range changes nothing.
    rotatePaletteUp(4, 4);
    rotatePaletteDown(4, 4);
    EXPECT_EQ(frameEntries(), turnedFrame(-1));
}

TEST_F(FrameTest, ANewFrameStartsAgainFromTheFramePalette) {
    drawBorderFrame();
    for (int i = 0; i < 5; ++i) rotatePaletteUp(1, 9);
    drawBorderFrame();
    EXPECT_EQ(frameEntries(), turnedFrame(0));
    EXPECT_EQ(readCell(1, 1).foreground, 1u);
}

TEST_F(FrameTest, TheWindowFollowsARotationWithoutACellRedrawn) {
    drawBorderFrame();
    auto& feed = screenFeed();
    std::vector<std::uint32_t> frame(272 * 480, 0);
    int first = -1, last = -1;
    ASSERT_TRUE(feed.takeRows(frame.data(), 272, 480, false, first, last));
    ASSERT_FALSE(feed.takeRows(frame.data(), 272, 480, false, first, last));
    // Pixel (2, 2) is set in the ╔ of row 1, column 1 (glyph row 0x3F); (1, 10) in the ║
    // below it (0x36).
    EXPECT_EQ(frame[2 * 272 + 2], 0xFFFFFFu);
    EXPECT_EQ(frame[10 * 272 + 2], 0xE6FFC2u);

    const auto before = screenPixels();
    rotatePaletteUp(1, 9);
    EXPECT_EQ(screenPixels(), before);
    ASSERT_TRUE(feed.takeRows(frame.data(), 272, 480, false, first, last));
    EXPECT_EQ(first, 0);
    EXPECT_EQ(last, 479);
    EXPECT_EQ(frame[2 * 272 + 2], 0xE6FFC2u) << "entry 1 took entry 9's pale green";
    EXPECT_EQ(frame[10 * 272 + 2], 0xC6FF6Du) << "entry 9 took entry 8's light green";
    EXPECT_EQ(frame[100 * 272 + 100], 0u);
}

}  // namespace
}  // namespace fogloom
