// Reading the text console back from the screen's pixels, cell by cell, through the font.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>

#include "surface/font.h"
#include "surface/screen.h"

namespace fogloom::testing {

struct CellRead {
    int code = -1;                  // the glyph shown, -1 when the cell matches none
    std::uint32_t foreground = 0;   // the colour of its set pixels (the background when blank)
    bool blank = false;             // every pixel has the background colour
};

// Reads the cell at (row, column) of the open screen, taking `background` as the colour of
// the glyph's clear pixels. A blank cell reads as a space.
inline CellRead readCell(int row, int column, std::uint32_t background = 0) {
    std::lock_guard guard(display().lock);
    const PixelView view = display().screen->view();
    const int x0 = (column - 1) * 8, y0 = (row - 1) * 8;
    CellRead cell;
    Glyph bits{};
    bool haveForeground = false;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const std::uint32_t p = view.get(x0 + x, y0 + y);
            if (p == background) continue;
            if (!haveForeground) {
                cell.foreground = p;
                haveForeground = true;
            } else if (p != cell.foreground) {
                return cell;  // three colours in one cell: no glyph
            }
            bits[static_cast<std::size_t>(y)] |= static_cast<std::uint8_t>(0x80u >> x);
        }
    }
    if (!haveForeground) {
        cell.code = ' ';
        cell.foreground = background;
        cell.blank = true;
        return cell;
    }
    for (int code = 0; code < 256; ++code) {
        if (cp437Font()[static_cast<std::size_t>(code)] == bits) {
            cell.code = code;
            break;
        }
    }
    return cell;
}

// The text of `length` cells from (row, column) on; a cell that matches no glyph reads as '?'.
inline std::string readText(int row, int column, int length, std::uint32_t background = 0) {
    std::string text;
    for (int i = 0; i < length; ++i) {
        const CellRead cell = readCell(row, column + i, background);
        text += cell.code < 0 ? '?' : static_cast<char>(cell.code);
    }
    return text;
}

}  // namespace fogloom::testing
