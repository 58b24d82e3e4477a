// The menus' border frame: a double-line box along the edges of the text grid whose 180
// cells carry palette entries 1..9 in turn, and the palette access that makes its colours
// travel along it without a cell being drawn again.
#pragma once

#include <array>
#include <string>

namespace fogloom {

// A palette entry as the registers pass it: 6-bit components 0..63.
struct PaletteColor {
    int red = 0;
    int green = 0;
    int blue = 0;
    friend bool operator==(const PaletteColor&, const PaletteColor&) = default;
};

// Writes one entry through the palette registers; only the low 8 bits of each argument
// reach them.
void setPaletteEntry(int index, int red, int green, int blue);
// Reads one entry back through the palette registers.
PaletteColor getPaletteEntry(int index);

// The colours of entries 1..9 each time the frame is drawn.
inline constexpr std::array<PaletteColor, 9> FramePalette = {{
    {63, 63, 63},  // white
    {63, 57, 59},  // pale pink
    {63, 40, 52},  // pink
    {62, 20, 40},  // deep pink
    {56, 26, 27},  // coral
    {49, 40, 17},  // ochre
    {41, 58, 6},   // lime
    {49, 63, 27},  // light green
    {57, 63, 48},  // pale green
}};

inline constexpr int FrameCells = 180;
inline constexpr int FrameBottomRow = 58;
inline constexpr int FrameRightColumn = 34;

// The frame's characters in code page 437, cell 1 first: ╔, 32 ═, ╗, 56 ║, ╝, 32 ═, ╚, 56 ║.
std::string frameText();

// Cell k (1..180) of the walk round the frame: along row 1 to the right, down column 34,
// along row 58 to the left, up column 1.
struct FrameCell {
    int row = 0;
    int column = 0;
    friend bool operator==(const FrameCell&, const FrameCell&) = default;
};
FrameCell frameCell(int k);

// Gives entries 1..9 the frame palette and draws the frame on the open 8-bit screen,
// leaving the text colour at 9.
void drawBorderFrame();

// Entry first takes the colour of entry last, and every other entry that of the one below
// it: the frame's colours move one cell forward (clockwise).
void rotatePaletteUp(int first, int last);
// Entry last takes the colour of entry first, and every other entry that of the one above
// it: the frame's colours move one cell backward.
void rotatePaletteDown(int first, int last);

}  // namespace fogloom
