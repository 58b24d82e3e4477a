// The text console of the open screen: a grid of 8 x 8 character cells drawn in the code
// page 437 font, a cursor and two text colours.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "surface/font.h"
#include "surface/pixels.h"

namespace fogloom {

inline constexpr int CellSize = 8;  // a character cell is 8 x 8 pixels

// --- Kernel over a pixel view (no lock, no marks) ---

// Paints the whole 8 x 8 cell whose top-left pixel is (x, y): `foreground` where the glyph
// has a bit set, `background` elsewhere, by the colour rules of the view. Pixels outside
// the view are left out. Returns the rows written.
RowSpan drawGlyph(const PixelView& target, int x, int y, const Glyph& glyph, std::uint32_t foreground,
                  std::uint32_t background);

// --- The console of the open screen (all take the display lock and mark the rows they write) ---

// Moves the cursor to a row (1..rows) and column (1..columns); 0 keeps the present one.
// Outside the grid, or with no screen open, it fails and nothing changes. Otherwise it
// also cancels a scroll that a previous print left pending.
bool locate(int row, int column);

// Draws code page 437 text from the cursor on, then, with `newline`, ends the line.
// 13 returns to column 1, 10 goes to column 1 of the next row, 7 sounds the tone,
// 8 steps back one column (not past column 1), 9 moves on to the next tab stop (columns
// 1, 9, 17, 25, 33) with spaces; every other code, 0 included, is drawn. After the last
// column the cursor goes to column 1 of the next row at once. When the cursor goes below
// the last row, the screen moves up by one row of cells before anything more is printed;
// at the end of a print that move waits for the next print, and a `locate` cancels it.
void printText(std::string_view text, bool newline);

// Sets the text colours; an absent colour stays as it is. On an 8-bit screen only the low
// 8 bits are kept.
void setColor(std::optional<std::uint32_t> foreground, std::optional<std::uint32_t> background = std::nullopt);

// Fills the whole screen with the background colour and puts the cursor on row 1, column 1.
// The palette stays as it is.
void clearScreen();

// Where the next character goes; row and column 0 with no screen open.
struct TextCursor {
    int row = 0;
    int column = 0;
    bool scrollPending = false;  // the last print left the cursor below the last row
    friend bool operator==(const TextCursor&, const TextCursor&) = default;
};
TextCursor textCursor();

}  // namespace fogloom
