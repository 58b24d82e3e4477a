#include "surface/palette.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "surface/screen.h"
#include "test_support.h"

namespace fogloom {
namespace {

class PaletteTest : public testing::HeadlessTest {
protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        ASSERT_TRUE(setScreenMode(272, 480, 8));
    }
    Rgb entry(int index) {
        std::lock_guard guard(display().lock);
        return display().screen->palette[static_cast<std::size_t>(index)];
    }
    std::array<int, 3> read(int index) {
        portOut(0x3C7, static_cast<std::uint8_t>(index));
        const int red = portIn(0x3C9);
        const int green = portIn(0x3C9);
        const int blue = portIn(0x3C9);
        return {red, green, blue};
    }
    void write(int index, int red, int green, int blue) {
        portOut(0x3C8, static_cast<std::uint8_t>(index));
        portOut(0x3C9, static_cast<std::uint8_t>(red));
        portOut(0x3C9, static_cast<std::uint8_t>(green));
        portOut(0x3C9, static_cast<std::uint8_t>(blue));
    }
    void forgetChanges() {
        std::lock_guard guard(display().lock);
        auto& screen = *display().screen;
        std::fill(screen.rowMarks.begin(), screen.rowMarks.end(), std::uint8_t{0});
        screen.paletteChanged = false;
    }
    long markedRows() {
        std::lock_guard guard(display().lock);
        const auto& marks = display().screen->rowMarks;
        return std::count(marks.begin(), marks.end(), std::uint8_t{1});
    }
    bool paletteChanged() {
        std::lock_guard guard(display().lock);
        return display().screen->paletteChanged;
    }
};

TEST_F(PaletteTest, AnEntryWrittenAsSixBitsIsShownWidenedAndReadsBack) {
    portOut(0x3C8, 4);
    portOut(0x3C9, 62);
    portOut(0x3C9, 20);
    portOut(0x3C9, 40);
    EXPECT_EQ(entry(4), (Rgb{250, 80, 161}));
    portOut(0x3C7, 4);
    EXPECT_EQ(portIn(0x3C9), 62);
    EXPECT_EQ(portIn(0x3C9), 20);
    EXPECT_EQ(portIn(0x3C9), 40);
}

TEST_F(PaletteTest, EverySixBitValueRoundTripsAcrossConsecutiveEntries) {
    // One index, then 64 entries in a row: the index moves on after every blue.
    portOut(0x3C8, 100);
    for (int v = 0; v < 64; ++v) {
        portOut(0x3C9, static_cast<std::uint8_t>(v));
        portOut(0x3C9, static_cast<std::uint8_t>(63 - v));
        portOut(0x3C9, static_cast<std::uint8_t>(v / 2));
    }
    for (int v = 0; v < 64; ++v) {
        const auto shown = [](int c) { return static_cast<std::uint8_t>(c * 255 / 63); };
        EXPECT_EQ(entry(100 + v), (Rgb{shown(v), shown(63 - v), shown(v / 2)})) << v;
    }
    portOut(0x3C7, 100);
    for (int v = 0; v < 64; ++v) {
        EXPECT_EQ(portIn(0x3C9), v);
        EXPECT_EQ(portIn(0x3C9), 63 - v);
        EXPECT_EQ(portIn(0x3C9), v / 2);
    }
}

TEST_F(PaletteTest, OnlyTheLowSixBitsOfAComponentCount) {
    write(20, 0xFF, 64 + 5, 128 + 33);
    EXPECT_EQ(read(20), (std::array<int, 3>{63, 5, 33}));
    EXPECT_EQ(entry(20), (Rgb{255, 20, 133}));
}

TEST_F(PaletteTest, APartialEntryIsDroppedByANewIndex) {
    const Rgb before = entry(5);
    portOut(0x3C8, 5);
    portOut(0x3C9, 10);
    portOut(0x3C9, 20);
    portOut(0x3C8, 6);
    EXPECT_EQ(entry(5), before);
    // Entry 6 starts again from red: the dropped components don't leak into it.
    portOut(0x3C9, 1);
    portOut(0x3C9, 2);
    portOut(0x3C9, 3);
    EXPECT_EQ(read(6), (std::array<int, 3>{1, 2, 3}));
    EXPECT_EQ(entry(5), before);

    // A read index drops them as well.
    portOut(0x3C8, 5);
    portOut(0x3C9, 10);
    portOut(0x3C7, 5);
    EXPECT_EQ(read(5), (std::array<int, 3>{before.red / 4, before.green / 4, before.blue / 4}));
}

TEST_F(PaletteTest, TheIndexWrapsFrom255To0) {
    write(255, 1, 2, 3);
    portOut(0x3C9, 4);  // goes on with entry 0
    portOut(0x3C9, 5);
    portOut(0x3C9, 6);
    EXPECT_EQ(read(255), (std::array<int, 3>{1, 2, 3}));
    EXPECT_EQ(read(0), (std::array<int, 3>{4, 5, 6}));

    portOut(0x3C7, 255);
    for (int i = 0; i < 3; ++i) portIn(0x3C9);
    EXPECT_EQ(portIn(0x3C9), 4);  // entry 0's red
}

TEST_F(PaletteTest, ReadingAndWritingShareTheIndexAndPosition) {
    write(40, 10, 20, 30);
    portOut(0x3C8, 40);
    portOut(0x3C9, 11);          // red
    EXPECT_EQ(portIn(0x3C9), 20);  // green, as stored
    portOut(0x3C9, 33);          // blue completes the entry with the green read
    EXPECT_EQ(read(40), (std::array<int, 3>{11, 20, 33}));
}

TEST_F(PaletteTest, ACompletedEntryShowsOnTheWholeScreen) {
    forgetChanges();
    portOut(0x3C8, 9);
    portOut(0x3C9, 1);
    portOut(0x3C9, 2);
    EXPECT_EQ(markedRows(), 0);
    EXPECT_FALSE(paletteChanged());
    portOut(0x3C9, 3);
    EXPECT_EQ(markedRows(), 480);
    EXPECT_TRUE(paletteChanged());

    forgetChanges();
    read(9);
    EXPECT_EQ(markedRows(), 0) << "reading changes nothing on the screen";
    EXPECT_FALSE(paletteChanged());
}

TEST_F(PaletteTest, TheDefaultPaletteReadsBackAsItsValuesOverFour) {
    // The VGA default palette as shown (8-bit components).
    const struct { int index; int red, green, blue; } entries[] = {
        {0, 0, 0, 0},        {1, 0, 0, 170},      {2, 0, 170, 0},       {3, 0, 170, 170},
        {4, 170, 0, 0},      {5, 170, 0, 170},    {6, 170, 85, 0},      {7, 170, 170, 170},
        {8, 85, 85, 85},     {9, 85, 85, 255},    {10, 85, 255, 85},    {11, 85, 255, 255},
        {12, 255, 85, 85},   {13, 255, 85, 255},  {14, 255, 255, 85},   {15, 255, 255, 255},
        {16, 0, 0, 0},       {18, 32, 32, 32},    {20, 56, 56, 56},     {24, 113, 113, 113},
        {27, 161, 161, 161}, {31, 255, 255, 255},
        {32, 0, 0, 255},      // block 0, k = 0: (L0, L0, L4)
        {90, 255, 218, 182},  // block 2, k = 10: (L4, L2, L0)
        {110, 113, 0, 56},    // block 3, k = 6: (L4, L0, L2)
        {173, 80, 105, 113},  // block 5, k = 21: (L0, L3, L4)
        {240, 44, 64, 44},    // block 8, k = 16: (L0, L4, L0)
        {248, 0, 0, 0},      {251, 0, 0, 0},      {255, 0, 0, 0},
    };
    for (const auto& e : entries) {
        EXPECT_EQ(entry(e.index), (Rgb{static_cast<std::uint8_t>(e.red), static_cast<std::uint8_t>(e.green),
                                       static_cast<std::uint8_t>(e.blue)}))
            << "entry " << e.index;
        EXPECT_EQ(read(e.index), (std::array<int, 3>{e.red / 4, e.green / 4, e.blue / 4})) << "entry " << e.index;
    }
}

TEST_F(PaletteTest, TheRegistersOutliveTheScreenAndIgnoreOtherScreens) {
    portOut(0x3C8, 200);
    portOut(0x3C9, 7);
    // A true-colour screen has no palette: the registers neither answer nor move.
    ASSERT_TRUE(setScreenMode(272, 480, 24));
    portOut(0x3C9, 50);
    portOut(0x3C8, 3);
    EXPECT_EQ(portIn(0x3C9), 0);
    closeScreen();
    portOut(0x3C9, 50);
    EXPECT_EQ(portIn(0x3C9), 0);

    // A new 8-bit screen carries on where the writes stopped: green, then blue of entry 200.
    ASSERT_TRUE(setScreenMode(272, 480, 8));
    portOut(0x3C9, 8);
    portOut(0x3C9, 9);
    EXPECT_EQ(read(200), (std::array<int, 3>{7, 8, 9}));
}

TEST_F(PaletteTest, OtherPortsDoNothing) {
    const Rgb before = entry(0);
    portOut(0x3C8, 0);
    portOut(0x3C6, 0xFF);
    portOut(0x3DA, 1);
    EXPECT_EQ(portIn(0x3C8), 0);
    EXPECT_EQ(portIn(0x3C7), 0);
    portOut(0x3C9, 63);
    portOut(0x3C9, 63);
    portOut(0x3C9, 63);
    EXPECT_EQ(entry(0), (Rgb{255, 255, 255})) << "the other ports left the index and position alone";
    EXPECT_NE(before, entry(0));
}

}  // namespace
}  // namespace fogloom
