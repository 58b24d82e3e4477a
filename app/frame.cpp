#include "app/frame.h"

#include <cstdint>

#include "surface/palette.h"
#include "surface/text.h"

namespace fogloom {
namespace {

constexpr char DoubleDownRight = '\xC9';  // ╔
constexpr char DoubleHorizontal = '\xCD';  // ═
constexpr char DoubleDownLeft = '\xBB';  // ╗
constexpr char DoubleVertical = '\xBA';  // ║
constexpr char DoubleUpLeft = '\xBC';  // ╝
constexpr char DoubleUpRight = '\xC8';  // ╚

constexpr int SideLength = FrameBottomRow - 2;        // 56 cells between the corners, down a side
constexpr int TopLength = FrameRightColumn - 2;       // 32 cells between the corners, along a row

std::uint8_t portByte(int value) { return static_cast<std::uint8_t>(value & 0xFF); }

}  // namespace

void setPaletteEntry(int index, int red, int green, int blue) {
    portOut(PaletteWriteIndexPort, portByte(index));
    portOut(PaletteDataPort, portByte(red));
    portOut(PaletteDataPort, portByte(green));
    portOut(PaletteDataPort, portByte(blue));
}

PaletteColor getPaletteEntry(int index) {
    portOut(PaletteReadIndexPort, portByte(index));
    PaletteColor colour;
    colour.red = portIn(PaletteDataPort);
    colour.green = portIn(PaletteDataPort);
    colour.blue = portIn(PaletteDataPort);
    return colour;
}

std::string frameText() {
    std::string text;
    text.reserve(FrameCells);
    text += DoubleDownRight;
    text.append(TopLength, DoubleHorizontal);
    text += DoubleDownLeft;
    text.append(SideLength, DoubleVertical);
    text += DoubleUpLeft;
    text.append(TopLength, DoubleHorizontal);
    text += DoubleUpRight;
    text.append(SideLength, DoubleVertical);
    return text;
}

FrameCell frameCell(int k) {
    constexpr int topEnd = FrameRightColumn;                    // 34
    constexpr int rightEnd = topEnd + FrameBottomRow - 1;       // 91
    constexpr int bottomEnd = rightEnd + FrameRightColumn - 1;  // 124
    if (k <= topEnd) return {1, k};
    if (k <= rightEnd) return {k - topEnd + 1, FrameRightColumn};
    if (k <= bottomEnd) return {FrameBottomRow, FrameRightColumn - (k - rightEnd)};
    return {FrameBottomRow - 1 - (k - bottomEnd - 1), 1};
}

void drawBorderFrame() {
    const std::string text = frameText();
    for (int i = 0; i < static_cast<int>(FramePalette.size()); ++i) {
        const PaletteColor& c = FramePalette[static_cast<std::size_t>(i)];
        setPaletteEntry(i + 1, c.red, c.green, c.blue);
    }
    int colour = 0;
    for (int k = 1; k <= FrameCells; ++k) {
        if (++colour > 9) colour = 1;
        const FrameCell cell = frameCell(k);
        setColor(static_cast<std::uint32_t>(colour));
        locate(cell.row, cell.column);
        printText(std::string_view(&text[static_cast<std::size_t>(k - 1)], 1), true);
    }
}

void rotatePaletteUp(int first, int last) {
    const PaletteColor kept = getPaletteEntry(last);
    for (int i = last - 1; i >= first; --i) {
        const PaletteColor c = getPaletteEntry(i);
        setPaletteEntry(i + 1, c.red, c.green, c.blue);
    }
    setPaletteEntry(first, kept.red, kept.green, kept.blue);
}

void rotatePaletteDown(int first, int last) {
    const PaletteColor kept = getPaletteEntry(first);
    for (int i = first; i <= last - 1; ++i) {
        const PaletteColor c = getPaletteEntry(i + 1);
        setPaletteEntry(i, c.red, c.green, c.blue);
    }
    setPaletteEntry(last, kept.red, kept.green, kept.blue);
}

}  // namespace fogloom
