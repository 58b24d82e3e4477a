#include "surface/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "surface/font.h"
#include "surface/screen.h"
#include "screen_text.h"
#include "test_support.h"

namespace fogloom {
namespace {

using testing::readCell;
using testing::readText;

class TextTest : public testing::EightBitTest {
protected:
    void clearMarks() {
        std::lock_guard guard(display().lock);
        std::fill(display().screen->rowMarks.begin(), display().screen->rowMarks.end(), std::uint8_t{0});
    }
    std::vector<int> markedRows() {
        std::lock_guard guard(display().lock);
        std::vector<int> rows;
        for (int y = 0; y < 480; ++y)
            if (display().screen->rowMarks[static_cast<std::size_t>(y)] != 0) rows.push_back(y);
        return rows;
    }
    std::vector<int> rowRange(int first, int last) {
        std::vector<int> rows;
        for (int y = first; y <= last; ++y) rows.push_back(y);
        return rows;
    }
};

TEST(Font, CarriesTheMenuGlyphs) {
    const struct { int code; Glyph rows; } glyphs[] = {
        {1, {0x7E, 0x81, 0xA5, 0x81, 0xBD, 0x99, 0x81, 0x7E}},
        {186, {0x36, 0x36, 0x36, 0x36, 0x36, 0x36, 0x36, 0x36}},
        {187, {0x00, 0x00, 0xFE, 0x06, 0xF6, 0x36, 0x36, 0x36}},
        {188, {0x36, 0x36, 0xF6, 0x06, 0xFE, 0x00, 0x00, 0x00}},
        {200, {0x36, 0x36, 0x37, 0x30, 0x3F, 0x00, 0x00, 0x00}},
        {201, {0x00, 0x00, 0x3F, 0x30, 0x37, 0x36, 0x36, 0x36}},
        {205, {0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0x00, 0x00}},
        {' ', {0, 0, 0, 0, 0, 0, 0, 0}},
        {'A', {0x38, 0x6C, 0xC6, 0xFE, 0xC6, 0xC6, 0xC6, 0x00}},
    };
    for (const auto& g : glyphs) EXPECT_EQ(cp437Font()[static_cast<std::size_t>(g.code)], g.rows) << "code " << g.code;
}

TEST(Font, IsTheCheckedFontOfTheRepository) {
    std::ifstream in(std::string(FOGLOOM_SOURCE_DIR) + "/surface/data/cp437-8x8.txt");
    ASSERT_TRUE(in) << "the font's text file is missing";
    std::string line;
    int glyphs = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        int code = -1;
        fields >> code;
        ASSERT_GE(code, 0);
        ASSERT_LE(code, 255);
        for (int row = 0; row < 8; ++row) {
            unsigned value = 0;
            fields >> std::hex >> value >> std::dec;
            EXPECT_EQ(cp437Font()[static_cast<std::size_t>(code)][static_cast<std::size_t>(row)], value)
                << "code " << code << " row " << row;
        }
        ++glyphs;
    }
    EXPECT_EQ(glyphs, 256);
}

TEST(GlyphKernel, PaintsTheWholeCellInBothColours) {
    std::vector<std::uint8_t> bytes(10 * 10, 99);
    const PixelView view{bytes.data(), 10, 10, 1};
    const RowSpan rows = drawGlyph(view, 1, 1, cp437Font()[1], 15, 4);
    EXPECT_EQ(rows.first, 1);
    EXPECT_EQ(rows.last, 8);
    const char* expected[10] = {
        "..........",  //
        ".-######-.",  // 7E
        ".#------#.",  // 81
        ".#-#--#-#.",  // A5
        ".#------#.",  // 81
        ".#-####-#.",  // BD
        ".#--##--#.",  // 99
        ".#------#.",  // 81
        ".-######-.",  // 7E
        "..........",
    };
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            const char c = expected[y][x];
            const int want = c == '#' ? 15 : c == '-' ? 4 : 99;
            EXPECT_EQ(bytes[static_cast<std::size_t>(y * 10 + x)], want) << "pixel " << x << "," << y;
        }
    }
}

TEST(GlyphKernel, WritesAllBitsOnTrueColourAndClipsAtTheEdges) {
    std::vector<std::uint32_t> words(6 * 6, 0x11111111u);
    const PixelView view{reinterpret_cast<std::uint8_t*>(words.data()), 6, 6, 4};
    // The ╔ glyph with its top-left corner off the view: rows 3..7, columns 3..7 of it show.
    const RowSpan rows = drawGlyph(view, -3, -3, cp437Font()[201], 0xFFFFFFFFu, 0xAB000000u);
    EXPECT_EQ(rows.first, 0);
    EXPECT_EQ(rows.last, 4);
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 6; ++x) {
            std::uint32_t want = 0x11111111u;
            if (x <= 4 && y <= 4) {
                const unsigned bits = cp437Font()[201][static_cast<std::size_t>(y + 3)];
                want = (bits & (0x80u >> (x + 3))) != 0 ? 0xFFFFFFFFu : 0xAB000000u;
            }
            EXPECT_EQ(words[static_cast<std::size_t>(y * 6 + x)], want) << "pixel " << x << "," << y;
        }
    }
    EXPECT_TRUE(drawGlyph(view, 6, 0, cp437Font()[201], 1, 2).empty());
    EXPECT_TRUE(drawGlyph(view, 0, -8, cp437Font()[201], 1, 2).empty());
}

TEST_F(TextTest, TextIsWhiteOnBlackUntilAColourIsChosen) {
    printText("A", false);
    const testing::CellRead a = readCell(1, 1);
    EXPECT_EQ(a.code, 'A');
    EXPECT_EQ(a.foreground, 15u);
    EXPECT_EQ(screenPixel(2, 0), 15u);  // 0x38: columns 2..4 of the top row
    EXPECT_EQ(screenPixel(1, 0), 0u);

    // Only the low 8 bits are kept on the 8-bit screen; the whole cell takes both colours.
    setColor(0x1234u, 0xFF05u);
    locate(3, 5);
    printText("\x01", false);
    const int x0 = 32, y0 = 16;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const bool set = (cp437Font()[1][static_cast<std::size_t>(y)] & (0x80u >> x)) != 0;
            EXPECT_EQ(screenPixel(x0 + x, y0 + y), set ? 0x34u : 0x05u) << "pixel " << x << "," << y;
        }
    }

    // An absent colour stays: a new foreground keeps the background.
    setColor(7);
    printText("\x01", false);
    EXPECT_EQ(screenPixel(40 + 1, 16), 7u);
    EXPECT_EQ(screenPixel(40, 16), 5u);

    // Opening the screen again brings back white on black.
    ASSERT_TRUE(setScreenMode(272, 480, 8));
    printText("A", false);
    EXPECT_EQ(readCell(1, 1).foreground, 15u);
}

TEST_F(TextTest, PrintingMarksOnlyTheRowsOfItsCells) {
    clearMarks();
    locate(3, 30);
    printText("abcdefg", false);  // columns 30..34 of row 3, then row 4
    EXPECT_EQ(markedRows(), rowRange(16, 31));
    EXPECT_EQ(readText(3, 30, 5), "abcde");
    EXPECT_EQ(readText(4, 1, 2), "fg");
}

TEST_F(TextTest, ControlCodesAndWrapMoveTheCursor) {
    const struct {
        const char* name;
        std::string text;
        bool newline;
        int row, column;  // where the print starts
        TextCursor after;
    } cases[] = {
        {"plain", "AB", false, 1, 1, {1, 3}},
        {"newline", "AB", true, 1, 1, {2, 1}},
        {"empty with newline", "", true, 5, 7, {6, 1}},
        {"carriage return", "\r", false, 4, 10, {4, 1}},
        {"line feed", "\n", false, 4, 10, {5, 1}},
        {"backspace", "\b", false, 4, 10, {4, 9}},
        {"backspace at column 1", "\b", false, 4, 1, {4, 1}},
        {"tab from column 1", "\t", false, 4, 1, {4, 9}},
        {"tab from a stop", "\t", false, 4, 9, {4, 17}},
        {"tab from between stops", "\t", false, 4, 10, {4, 17}},
        {"tab from column 33", "\t", false, 4, 33, {5, 1}},
        {"character in column 34", "Z", false, 4, 34, {5, 1}},
        {"full row", std::string(34, 'x'), false, 1, 1, {2, 1}},
        {"full row with newline", std::string(34, 'x'), true, 1, 1, {3, 1}},
        {"bell", "\a", false, 4, 10, {4, 10}},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(locate(c.row, c.column)) << c.name;
        printText(c.text, c.newline);
        EXPECT_EQ(textCursor(), c.after) << c.name;
    }
}

TEST_F(TextTest, ControlCodesDrawNothingButTabSpacesAndTheBellSounds) {
    locate(4, 1);
    printText("ABCDEFGHIJ", false);
    const auto before = screenPixels();
    locate(4, 5);
    printText("\r\b\a", false);
    EXPECT_EQ(screenPixels(), before);
    EXPECT_EQ(platform_.tones(), 1);
    EXPECT_EQ(platform_.lastToneHz(), 1000);
    EXPECT_EQ(platform_.lastToneMs(), 250);

    // A tab from column 3 writes spaces over columns 3..8 in the background colour.
    setColor(std::nullopt, 2);
    locate(4, 3);
    printText("\t", false);
    EXPECT_EQ(readText(4, 1, 2), "AB");
    for (int column = 3; column <= 8; ++column) EXPECT_TRUE(readCell(4, column, 2).blank) << column;
    EXPECT_EQ(readText(4, 9, 2), "IJ");
}

TEST_F(TextTest, LongTextWrapsAfterColumn34) {
    locate(7, 30);
    printText("0123456789", true);
    EXPECT_EQ(readText(7, 30, 5), "01234");
    EXPECT_EQ(readText(8, 1, 5), "56789");
    EXPECT_EQ(textCursor(), (TextCursor{9, 1}));
}

using TextWithoutEightBitScreen = testing::HeadlessTest;

TEST_F(TextWithoutEightBitScreen, ConsoleCallsDoNothingWithNoScreenAndKeepWideColours) {
    EXPECT_FALSE(locate(1, 1));
    printText("A", true);
    setColor(3, 4);
    clearScreen();
    EXPECT_EQ(textCursor(), TextCursor{});
    // Depth 15 screens are 16-bit; their text colours keep 16 bits.
    ASSERT_TRUE(setScreenMode(16, 8, 15));
    setColor(0x12345u, 0x10001u);
    printText("\xDB", false);  // the full block
    {
        std::lock_guard guard(display().lock);
        EXPECT_EQ(display().screen->view().get(0, 0), 0x2345u);
    }
    printText("\x20", false);
    {
        std::lock_guard guard(display().lock);
        EXPECT_EQ(display().screen->view().get(8, 0), 0x0001u);
    }
}

TEST_F(TextTest, LocateKeepsTheCursorInsideTheGrid) {
    const struct { int row, column; bool ok; TextCursor after; } cases[] = {
        {60, 34, true, {60, 34}}, {0, 5, true, {60, 5}},    {7, 0, true, {7, 5}},
        {61, 1, false, {7, 5}},   {1, 35, false, {7, 5}},   {-1, 1, false, {7, 5}},
        {1, -1, false, {7, 5}},   {0, 0, true, {7, 5}},     {1, 1, true, {1, 1}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(locate(c.row, c.column), c.ok) << c.row << "," << c.column;
        EXPECT_EQ(textCursor(), c.after) << c.row << "," << c.column;
    }
}

// The bottom rows: "top" on row 1, "Z" on row 59, "AB" printed on row 60 with a newline.
class ScrollTest : public TextTest {
protected:
    void SetUp() override {
        TextTest::SetUp();
        locate(1, 1);
        printText("top", false);
        locate(2, 1);
        printText("two", false);
        locate(59, 1);
        printText("Z", false);
        locate(60, 1);
        printText("AB", true);
    }
};

TEST_F(ScrollTest, APrintEndingBelowTheLastRowPutsTheMoveOff) {
    EXPECT_EQ(textCursor(), (TextCursor{60, 1, true}));
    EXPECT_EQ(readText(60, 1, 3), "AB ");
    EXPECT_EQ(readText(59, 1, 2), "Z ");
    EXPECT_EQ(readText(1, 1, 3), "top");
}

TEST_F(ScrollTest, TheNextPrintMovesTheScreenUpFirst) {
    setColor(15, 4);
    clearMarks();
    printText("C", false);
    EXPECT_EQ(readText(1, 1, 3), "two");
    EXPECT_EQ(readText(58, 1, 2), "Z ");
    EXPECT_EQ(readText(59, 1, 3), "AB ");
    // The new bottom row is in the background colour of the moment, with "C" drawn on it.
    EXPECT_EQ(readCell(60, 1, 4).code, 'C');
    for (int column = 2; column <= 34; ++column) EXPECT_TRUE(readCell(60, column, 4).blank) << column;
    EXPECT_EQ(textCursor(), (TextCursor{60, 2}));
    EXPECT_EQ(markedRows(), rowRange(0, 479));
}

TEST_F(ScrollTest, AnEmptyPrintCarriesOutThePendingMove) {
    printText("", false);
    EXPECT_EQ(readText(59, 1, 3), "AB ");
    EXPECT_TRUE(readCell(60, 1).blank);
    EXPECT_EQ(textCursor(), (TextCursor{60, 1}));
}

TEST_F(ScrollTest, ALocateInBetweenCancelsTheMove) {
    EXPECT_FALSE(locate(61, 1));  // a failing call changes nothing
    EXPECT_TRUE(textCursor().scrollPending);
    ASSERT_TRUE(locate(0, 5));
    EXPECT_EQ(textCursor(), (TextCursor{60, 5}));
    printText("C", false);
    EXPECT_EQ(readText(60, 1, 6), "AB  C ");
    EXPECT_EQ(readText(59, 1, 2), "Z ");
    EXPECT_EQ(readText(1, 1, 3), "top");
}

TEST_F(ScrollTest, AMoveInsideOnePrintHappensBeforeTheNextCharacter) {
    locate(60, 34);
    printText("XY", false);  // X fills column 34, so Y starts a new bottom row
    EXPECT_EQ(readCell(59, 34).code, 'X');
    EXPECT_EQ(readText(59, 1, 3), "AB ");
    EXPECT_EQ(readText(60, 1, 2), "Y ");
    EXPECT_EQ(textCursor(), (TextCursor{60, 2}));
}

TEST_F(TextTest, ClearScreenFillsWithTheBackgroundAndKeepsThePalette) {
    Rgb entry7;
    {
        std::lock_guard guard(display().lock);
        display().screen->palette[7] = {1, 2, 3};
        entry7 = display().screen->palette[7];
    }
    locate(60, 1);
    printText("pending", true);
    setColor(15, 3);
    clearMarks();
    clearScreen();
    const auto all = screenPixels();
    EXPECT_EQ(std::count(all.begin(), all.end(), std::uint8_t{3}), static_cast<long>(all.size()));
    EXPECT_EQ(textCursor(), (TextCursor{1, 1}));
    EXPECT_EQ(markedRows(), rowRange(0, 479));
    std::lock_guard guard(display().lock);
    EXPECT_EQ(display().screen->palette[7], entry7);
}

}  // namespace
}  // namespace fogloom
