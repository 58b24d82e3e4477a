#include "app/menus.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/frame.h"
#include "app/main_loop.h"
#include "frame_support.h"
#include "screen_text.h"
#include "surface/image.h"
#include "surface/keys.h"
#include "surface/screen.h"
#include "surface/text.h"
#include "test_support.h"

namespace fogloom {
namespace {

using testing::frameEntries;
using testing::readCell;
using testing::turnedFrame;
using testing::readText;

// A key as the window queues it: a character or an extended key value.
struct Key {
    std::uint32_t value;
    Key(char c) : value(static_cast<unsigned char>(c)) {}  // NOLINT: characters are keys
    Key(std::uint32_t v) : value(v) {}                     // NOLINT
};

class MenusTest : public testing::EightBitTest {
protected:
    void queue(const std::vector<Key>& keys) {
        for (const Key& k : keys) keyQueue().add(k.value);
    }
    // Checks that `text` stands at (row, column) in `colour`, with blank cells on both sides
    // (but for the frame).
    void expectText(int row, int column, const std::string& text, std::uint32_t colour) {
        SCOPED_TRACE(text);
        EXPECT_EQ(readText(row, column, static_cast<int>(text.size())), text) << "row " << row;
        for (int i = 0; i < static_cast<int>(text.size()); ++i) {
            if (text[static_cast<std::size_t>(i)] != ' ') {
                EXPECT_EQ(readCell(row, column + i).foreground, colour) << "column " << column + i;
            }
        }
        // Column 1 holds the frame.
        if (column > 2) {
            EXPECT_TRUE(readCell(row, column - 1).blank) << "the text starts in column " << column;
        }
        EXPECT_TRUE(readCell(row, column + static_cast<int>(text.size())).blank) << "the text ends there";
    }
};

TEST_F(MenusTest, CenteredTextStartsAtEighteenMinusHalfItsLengthHalvesToEven) {
    const struct { int length, column; } cases[] = {
        {29, 4}, {22, 7}, {19, 8}, {21, 8}, {23, 6}, {1, 18}, {3, 16}, {32, 2},
    };
    int row = 1;
    for (const auto& c : cases) {
        const std::string text(static_cast<std::size_t>(c.length), 'M');
        centerPrint(row, text);
        expectText(row, c.column, text, 15);
        EXPECT_EQ(textCursor(), (TextCursor{row + 1, 1})) << "the line is ended";
        row += 2;
    }
}

TEST_F(MenusTest, ShapeMenuShowsItsTextsInWhiteInsideTheFrame) {
    queue({'1'});
    runShapeMenu();
    expectText(2, 4, "Please Choose The Shape Type:", 15);
    expectText(5, 2, "1. Circles", 15);
    expectText(6, 2, "2. Triangles", 15);
    expectText(7, 2, "3. Squares", 15);
    expectText(8, 2, "4. Rotated Squares", 15);
    expectText(9, 2, "5. 5 Pointed Stars", 15);
    expectText(10, 2, "6. Hexagons", 15);
    expectText(12, 2, "7. I think I'll quit instead.", 15);
    expectText(57, 4, "Made by Nils Orvant - 2017. \x01", 15);
    EXPECT_EQ(readCell(57, 32).code, 1) << "the smiling face ends the credit line in column 32";
    for (const int row : {3, 4, 11, 13, 56}) EXPECT_EQ(readText(row, 2, 32), std::string(32, ' ')) << row;
    EXPECT_EQ(readCell(1, 1).code, 201);
    EXPECT_EQ(readCell(58, 34).code, 188);
}

TEST_F(MenusTest, LayerMenuClearsTheScreenAndShowsItsTextsInColour31) {
    queue({'1', '5'});
    runShapeMenu();
    runLayerMenu();
    expectText(2, 7, "How many shape layers?", 31);
    expectText(3, 8, "(50 is the normal.)", 31);
    expectText(6, 2, "1. 10", 31);
    expectText(7, 2, "2. 20", 31);
    expectText(8, 2, "3. 30", 31);
    expectText(9, 2, "4. 40", 31);
    expectText(10, 2, "5. 50", 31);
    // The shape menu's texts are gone; the frame is drawn again.
    for (const int row : {5, 11, 12, 57}) EXPECT_EQ(readText(row, 2, 32), std::string(32, ' ')) << row;
    EXPECT_EQ(readCell(1, 1).code, 201);
    EXPECT_EQ(readCell(1, 1).foreground, 1u);
    EXPECT_EQ(readCell(58, 1).code, 200);
}

TEST_F(MenusTest, ShapeMenuChoices) {
    const Key up = extendedKey(72), f1 = extendedKey(59), altM = extendedKey('2');
    const struct {
        const char* name;
        std::vector<Key> keys;
        std::optional<ShapeKind> kind;
        int idleSteps;
        int left;  // keys still queued afterwards
    } cases[] = {
        {"1", {'1'}, ShapeKind::Circles, 0, 0},
        {"2", {'2'}, ShapeKind::Triangles, 0, 0},
        {"3", {'3'}, ShapeKind::Squares, 0, 0},
        {"4", {'4'}, ShapeKind::RotatedSquares, 0, 0},
        {"5", {'5'}, ShapeKind::Stars, 0, 0},
        {"6", {'6'}, ShapeKind::Hexagons, 0, 0},
        {"7 quits", {'7'}, std::nullopt, 0, 0},
        {"queued x then 2", {'x', '2'}, ShapeKind::Triangles, 1, 0},
        {"no-choice keys cost one step each",
         {'8', '9', '0', 'a', 'Z', ' ', '\r', '\x1B', up, f1, CloseKey, altM, '4'},
         ShapeKind::RotatedSquares, 12, 0},
        {"one key per poll", {'3', '5', '1'}, ShapeKind::Squares, 0, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(setScreenMode(272, 480, 8));
        keyQueue().clear();
        queue(c.keys);
        const long long pausesBefore = platform_.pauses(), msBefore = platform_.pausedMs();
        EXPECT_EQ(runShapeMenu(), c.kind);
        EXPECT_EQ(platform_.pauses() - pausesBefore, c.idleSteps);
        EXPECT_EQ(platform_.pausedMs() - msBefore, 20LL * c.idleSteps);
        EXPECT_EQ(keyQueue().size(), c.left);
        // One rotation up per idle step.
        EXPECT_EQ(frameEntries(), turnedFrame(c.idleSteps));
    }
}

TEST_F(MenusTest, LayerMenuChoices) {
    const struct {
        const char* name;
        std::vector<Key> keys;
        int layers;
        int idleSteps;
    } cases[] = {
        {"1", {'1'}, 10, 0},
        {"2", {'2'}, 20, 0},
        {"3", {'3'}, 30, 0},
        {"4", {'4'}, 40, 0},
        {"5", {'5'}, 50, 0},
        {"6 and 7 are no choice here", {'6', '7', '3'}, 30, 2},
        {"others neither", {'0', '9', 'q', CloseKey, extendedKey(80), '5'}, 50, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(setScreenMode(272, 480, 8));
        keyQueue().clear();
        queue(c.keys);
        const long long pausesBefore = platform_.pauses();
        EXPECT_EQ(runLayerMenu(), c.layers);
        EXPECT_EQ(platform_.pauses() - pausesBefore, c.idleSteps);
        // One rotation down per idle step.
        EXPECT_EQ(frameEntries(), turnedFrame(-c.idleSteps));
        EXPECT_EQ(keyQueue().size(), 0);
    }
}

TEST_F(MenusTest, LayerMenuFrameStartsFromTheFramePaletteAndTurnsBack) {
    queue({'x', 'x', 'x', 'x', '1', 'y', '2'});
    ASSERT_EQ(runShapeMenu(), ShapeKind::Circles);
    EXPECT_EQ(frameEntries(), turnedFrame(4));
    ASSERT_EQ(runLayerMenu(), 20);
    EXPECT_EQ(getPaletteEntry(1), (PaletteColor{63, 57, 59}));
    EXPECT_EQ(getPaletteEntry(9), (PaletteColor{63, 63, 63}));
    EXPECT_EQ(frameEntries(), turnedFrame(-1));
}

TEST_F(MenusTest, IdleStepsRecolourTheFrameWithoutDrawing) {
    const auto screenAfter = [&](const std::vector<Key>& keys) {
        EXPECT_TRUE(setScreenMode(272, 480, 8));
        queue(keys);
        runShapeMenu();
        std::lock_guard guard(display().lock);
        return display().screen->pixels;
    };
    const auto chosenAtOnce = screenAfter({'1'});
    const auto afterThreeIdleSteps = screenAfter({'a', 'b', 'c', '2'});
    EXPECT_EQ(afterThreeIdleSteps, chosenAtOnce);
    EXPECT_EQ(frameEntries(), turnedFrame(3));
}

TEST_F(MenusTest, QuittingOnTheFirstMenuEndsWithStatusZeroAndNoImage) {
    closeScreen();
    const int imagesBefore = liveImageCount();
    const int windowsBefore = platform_.windowsOpened();
    queue({'7'});
    EXPECT_EQ(runProgram(), 0);
    EXPECT_EQ(liveImageCount(), imagesBefore);
    EXPECT_EQ(platform_.windowsOpened() - windowsBefore, 1) << "only the 8-bit menu screen was opened";
    EXPECT_EQ(platform_.tones(), 0);
}

TEST_F(MenusTest, ATurnGoesFromTheMenusToAPictureAndBack) {
    closeScreen();
    const int windowsBefore = platform_.windowsOpened();
    // Squares, 10 layers, any key after the picture, then quit on the next shape menu.
    queue({'3', '1', CloseKey, '7'});
    EXPECT_EQ(runProgram(), 0);
    EXPECT_EQ(picture().layerCount, 10);
    EXPECT_EQ(platform_.tones(), 1);
    EXPECT_EQ(platform_.windowsOpened() - windowsBefore, 3) << "8-bit, true colour, 8-bit";
    EXPECT_EQ(keyQueue().size(), 0);
}

}  // namespace
}  // namespace fogloom
