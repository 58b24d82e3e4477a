#include "surface/pixels.h"

#include <algorithm>
#include <cstring>

namespace fogloom {

std::uint32_t PixelView::get(int x, int y) const {
    const std::uint8_t* p = row(y) + static_cast<std::size_t>(x) * bytesPerPixel;
    switch (bytesPerPixel) {
        case 1: return *p;
        case 2: { std::uint16_t v; std::memcpy(&v, p, 2); return v; }
        default: { std::uint32_t v; std::memcpy(&v, p, 4); return v; }
    }
}

void PixelView::set(int x, int y, std::uint32_t colour) const {
    std::uint8_t* p = row(y) + static_cast<std::size_t>(x) * bytesPerPixel;
    switch (bytesPerPixel) {
        case 1: *p = static_cast<std::uint8_t>(colour); break;
        case 2: { const auto v = static_cast<std::uint16_t>(colour); std::memcpy(p, &v, 2); break; }
        default: std::memcpy(p, &colour, 4); break;
    }
}

void PixelView::setRun(int y, int x1, int x2, std::uint32_t colour) const {
    if (x2 < x1) return;
    switch (bytesPerPixel) {
        case 1:
            std::memset(row(y) + x1, static_cast<std::uint8_t>(colour), static_cast<std::size_t>(x2 - x1 + 1));
            break;
        case 2: {
            for (int x = x1; x <= x2; ++x) set(x, y, colour);
            break;
        }
        default: {
            std::uint32_t* r = row32(y);
            std::fill(r + x1, r + x2 + 1, colour);
            break;
        }
    }
}

}  // namespace fogloom
