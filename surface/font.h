// The 8 x 8 font of code page 437 that the text console draws with, carried in the program.
#pragma once

#include <array>
#include <cstdint>

namespace fogloom {

// One character: eight rows, top row first; in each row the most significant bit is the
// leftmost pixel.
using Glyph = std::array<std::uint8_t, 8>;
using Font = std::array<Glyph, 256>;

// The IBM PC 8 x 8 font, indexed by code page 437 code.
const Font& cp437Font();

}  // namespace fogloom
