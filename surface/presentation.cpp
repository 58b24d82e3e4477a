#include "surface/presentation.h"

#include <array>
#include <cstring>

#include "surface/keys.h"

namespace fogloom {
namespace {

class ScreenFeed final : public platform::WindowFeed {
public:
    bool takeRows(std::uint32_t* frame, int width, int height, bool everything, int& firstRow,
                  int& lastRow) override {
        std::lock_guard guard(display().lock);
        auto& screen = display().screen;
        if (!screen || screen->width != width || screen->height != height) return false;
        if (screen->paletteChanged) {
            for (int i = 0; i < 256; ++i) {
                const Rgb c = screen->palette[i];
                lookup_[i] = (std::uint32_t{c.red} << 16) | (std::uint32_t{c.green} << 8) | c.blue;
            }
            screen->paletteChanged = false;
        }
        int first = -1, last = -1;
        for (int y = 0; y < height; ++y) {
            if (!everything && screen->rowMarks[y] == 0) continue;
            screen->rowMarks[y] = 0;
            convertRows(*screen, lookup_.data(), frame, y, y);
            if (first < 0) first = y;
            last = y;
        }
        if (first < 0) return false;
        firstRow = first;
        lastRow = last;
        return true;
    }

    void keyTyped(std::uint32_t keyValue) override { keyQueue().add(keyValue); }

private:
    std::array<std::uint32_t, 256> lookup_{};
};

}  // namespace

void convertRows(const Screen& screen, const std::uint32_t* lookup, std::uint32_t* frame, int first, int last) {
    const int width = screen.width;
    for (int y = first; y <= last; ++y) {
        std::uint32_t* out = frame + static_cast<std::size_t>(y) * width;
        const std::uint8_t* in = screen.pixels.data() + static_cast<std::size_t>(y) * width * screen.bytesPerPixel;
        switch (screen.bytesPerPixel) {
            case 1:
                for (int x = 0; x < width; ++x) out[x] = lookup[in[x]];
                break;
            case 4:
                for (int x = 0; x < width; ++x) {
                    std::uint32_t p;
                    std::memcpy(&p, in + 4 * x, 4);
                    out[x] = p & 0xFFFFFF;  // the top byte is never shown
                }
                break;
            default:  // 16-bit screens are accepted but never drawn on: show them as 5-6-5
                for (int x = 0; x < width; ++x) {
                    std::uint16_t p;
                    std::memcpy(&p, in + 2 * x, 2);
                    const std::uint32_t r = (p >> 11) & 31, g = (p >> 5) & 63, b = p & 31;
                    out[x] = ((r * 255 / 31) << 16) | ((g * 255 / 63) << 8) | (b * 255 / 31);
                }
                break;
        }
    }
}

platform::WindowFeed& screenFeed() {
    static ScreenFeed feed;
    return feed;
}

}  // namespace fogloom
