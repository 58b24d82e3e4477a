// The palette registers of the 8-bit screen, in the manner of the VGA DAC: an index
// register shared by reading and writing, and a data port that passes one 6-bit
// component at a time, red, green, blue.
#pragma once

#include <cstdint>

namespace fogloom {

inline constexpr std::uint16_t PaletteReadIndexPort = 0x3C7;   // index for reading
inline constexpr std::uint16_t PaletteWriteIndexPort = 0x3C8;  // index for writing
inline constexpr std::uint16_t PaletteDataPort = 0x3C9;        // the components

// 0x3C7 or 0x3C8: sets the index, starts again at red and drops the components written
// so far. 0x3C9: the value's low 6 bits become the next component; after blue the entry at
// the index takes the three (each shown as v * 255 / 63, rounded down), every row of the
// screen is marked for the window, and the index moves on (255 wraps to 0).
// Other ports, or no 8-bit screen open: no effect.
void portOut(std::uint16_t port, std::uint8_t value);

// 0x3C9: the next component of the entry at the index, as its 8-bit value / 4 (0..63);
// after blue the index moves on. Other ports, or no 8-bit screen open: 0 and no effect.
std::uint8_t portIn(std::uint16_t port);

// A 6-bit component as the 8-bit value it is shown as.
constexpr std::uint8_t widenComponent(std::uint8_t sixBits) {
    return static_cast<std::uint8_t>((sixBits & 63u) * 255u / 63u);
}

}  // namespace fogloom
