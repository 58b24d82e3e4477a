// Pixel formats, colours and the pixel view that every drawing kernel works on.
#pragma once

#include <cstddef>
#include <cstdint>

namespace fogloom {

// Colours as the program passes them: 0xRRGGBB in the low 24 bits of a true-colour
// pixel (blue in the low byte), or a palette index in the low 8 bits in 8-bit mode.
inline constexpr std::uint32_t Black = 0x000000;
inline constexpr std::uint32_t White = 0xFFFFFF;
inline constexpr std::uint32_t Grey = 0x7F7F7F;
inline constexpr std::uint32_t MaskColor = 0xFF00FF;
// Asks createImage to fill a new image with the mask colour of the current depth.
inline constexpr std::uint32_t NoColor = 0xFEFF00FF;

// True when a true-colour pixel is the mask colour, whatever its top byte.
constexpr bool isMaskPixel(std::uint32_t pixel) { return (pixel & 0xFFFFFF) == MaskColor; }

// A rectangle of pixels in memory, rows packed with no gap (row length width * bytesPerPixel).
// bytesPerPixel is 1 (palette indices) or 4 (32-bit little-endian pixels); 2 exists for
// screens opened at depth 15 or 16, which the program never draws on.
struct PixelView {
    std::uint8_t* data = nullptr;
    int width = 0;
    int height = 0;
    int bytesPerPixel = 0;

    bool empty() const { return data == nullptr || width <= 0 || height <= 0; }
    std::size_t rowBytes() const { return static_cast<std::size_t>(width) * bytesPerPixel; }
    std::uint8_t* row(int y) const { return data + static_cast<std::size_t>(y) * rowBytes(); }
    std::uint32_t* row32(int y) const { return reinterpret_cast<std::uint32_t*>(row(y)); }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }

    // Reads or writes one pixel by the colour rules: all 32 bits in true colour, the low
    // 8 (or 16) bits otherwise. The caller keeps (x, y) inside the view.
    std::uint32_t get(int x, int y) const;
    void set(int x, int y, std::uint32_t colour) const;
    // Sets pixels x1..x2 (inclusive, already inside the view) of row y to one colour.
    void setRun(int y, int x1, int x2, std::uint32_t colour) const;
};

// Rows written by a drawing operation, so that the screen can mark them for the window.
struct RowSpan {
    int first = 0;  // first row written
    int last = -1;  // last row written; last < first means nothing was written
    bool empty() const { return last < first; }
    // Grows the span to cover `other` as well.
    void include(RowSpan other) {
        if (other.empty()) return;
        if (empty()) {
            *this = other;
        } else {
            first = first < other.first ? first : other.first;
            last = last > other.last ? last : other.last;
        }
    }
};

}  // namespace fogloom
