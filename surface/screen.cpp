#include "surface/screen.h"

#include <algorithm>

#include "platform/platform.h"

namespace fogloom {

void Screen::markRows(RowSpan rows) {
    if (rows.empty()) return;
    const int first = std::max(rows.first, 0);
    const int last = std::min(rows.last, height - 1);
    if (first > last) return;
    std::fill(rowMarks.begin() + first, rowMarks.begin() + last + 1, std::uint8_t{1});
}

void Screen::markAll() { std::fill(rowMarks.begin(), rowMarks.end(), std::uint8_t{1}); }

Display& display() {
    static Display instance;
    return instance;
}

SurfaceAccess::SurfaceAccess(Surface target) : guard_(display().lock) {
    auto& screen = display().screen;
    screenOpen_ = screen.has_value();
    screenBytesPerPixel_ = screenOpen_ ? screen->bytesPerPixel : 0;
    if (target.isScreen()) {
        if (screenOpen_) {
            screen_ = &*screen;
            view_ = screen_->view();
        }
    } else if (target.image() != nullptr) {
        view_ = imageView(target.image());
    }
}

void SurfaceAccess::finish(RowSpan written) {
    if (screen_ != nullptr) screen_->markRows(written);
}

bool setScreenMode(int width, int height, int depth) {
    int bytesPerPixel = 0;
    switch (depth) {
        case 8: bytesPerPixel = 1; break;
        case 15:
        case 16: bytesPerPixel = 2; break;
        case 24:
        case 32: bytesPerPixel = 4; break;
        default: return false;
    }
    // Wider than an image row or taller than 8191 text rows makes no window anyone can use.
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384) return false;

    auto& platform = platform::current();
    auto& shared = display();
    platform.closeWindow();
    std::string title;
    {
        std::lock_guard guard(shared.lock);
        shared.screen.reset();
        Screen& screen = shared.screen.emplace();
        screen.width = width;
        screen.height = height;
        screen.bytesPerPixel = bytesPerPixel;
        screen.pixels.assign(static_cast<std::size_t>(width) * height * bytesPerPixel, 0);
        screen.rowMarks.assign(static_cast<std::size_t>(height), 0);
        screen.text.columns = width / 8;
        screen.text.rows = height / 8;
        screen.text.foreground = bytesPerPixel == 1 ? 15u : 0xFFFFFFFFu;
        screen.text.background = 0;
        if (bytesPerPixel == 1) {
            screen.palette = defaultPalette();
            screen.markAll();
        }
        screen.paletteChanged = true;
        title = shared.title;
    }
    if (!platform.openWindow(width, height, title)) {
        std::lock_guard guard(shared.lock);
        shared.screen.reset();
        return false;
    }
    return true;
}

void setWindowTitle(const std::string& title) {
    std::string kept = title.substr(0, 127);
    {
        std::lock_guard guard(display().lock);
        display().title = kept;
    }
    platform::current().setWindowTitle(kept);
}

int currentBytesPerPixel() {
    std::lock_guard guard(display().lock);
    return display().screen ? display().screen->bytesPerPixel : 0;
}

void closeScreen() {
    platform::current().closeWindow();
    std::lock_guard guard(display().lock);
    display().screen.reset();
}

const Palette& defaultPalette() {
    static const Palette palette = [] {
        Palette p{};
        auto widen = [](int v) { return static_cast<std::uint8_t>(v * 255 / 63); };
        static constexpr std::uint8_t ega[16][3] = {
            {0, 0, 0},    {0, 0, 42},   {0, 42, 0},   {0, 42, 42},  {42, 0, 0},   {42, 0, 42},
            {42, 21, 0},  {42, 42, 42}, {21, 21, 21}, {21, 21, 63}, {21, 63, 21}, {21, 63, 63},
            {63, 21, 21}, {63, 21, 63}, {63, 63, 21}, {63, 63, 63}};
        for (int i = 0; i < 16; ++i) p[i] = {widen(ega[i][0]), widen(ega[i][1]), widen(ega[i][2])};
        static constexpr std::uint8_t greys[16] = {0, 5, 8, 11, 14, 17, 20, 24, 28, 32, 36, 40, 45, 50, 56, 63};
        for (int i = 0; i < 16; ++i) p[16 + i] = {widen(greys[i]), widen(greys[i]), widen(greys[i])};
        // Nine blocks of 24 hues: three intensities, each at high, medium and low saturation.
        static constexpr std::uint8_t levels[9][5] = {
            {0, 16, 31, 47, 63},  {31, 39, 47, 55, 63}, {45, 49, 54, 58, 63},
            {0, 7, 14, 21, 28},   {14, 17, 21, 24, 28}, {20, 22, 24, 26, 28},
            {0, 4, 8, 12, 16},    {8, 10, 12, 14, 16},  {11, 12, 13, 15, 16}};
        for (int b = 0; b < 9; ++b) {
            for (int k = 0; k < 24; ++k) {
                int r, g, bl;
                if (k <= 4) { r = k; g = 0; bl = 4; }
                else if (k <= 8) { r = 4; g = 0; bl = 8 - k; }
                else if (k <= 12) { r = 4; g = k - 8; bl = 0; }
                else if (k <= 16) { r = 16 - k; g = 4; bl = 0; }
                else if (k <= 20) { r = 0; g = 4; bl = k - 16; }
                else { r = 0; g = 24 - k; bl = 4; }
                p[32 + 24 * b + k] = {widen(levels[b][r]), widen(levels[b][g]), widen(levels[b][bl])};
            }
        }
        return p;  // entries 248..255 stay black
    }();
    return palette;
}

}  // namespace fogloom
