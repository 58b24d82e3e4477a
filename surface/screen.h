// The one visible surface, the window that shows it, and the lock that guards it.
#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "surface/image.h"
#include "surface/pixels.h"

namespace fogloom {

struct Rgb {
    std::uint8_t red = 0, green = 0, blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};
using Palette = std::array<Rgb, 256>;

// The text layer's state on the open screen; rows and columns count from 1.
struct TextState {
    int columns = 0;              // screen width / 8
    int rows = 0;                 // screen height / 8
    int cursorRow = 1;
    int cursorColumn = 1;
    std::uint32_t foreground = 15;
    std::uint32_t background = 0;
    bool scrollPending = false;   // the cursor went below the last row; scroll at the next print
};

struct Screen {
    int width = 0;
    int height = 0;
    int bytesPerPixel = 0;
    std::vector<std::uint8_t> pixels;
    std::vector<std::uint8_t> rowMarks;  // one per row: changed since the window last showed it
    Palette palette{};                   // what 8-bit pixels are shown as
    bool paletteChanged = true;
    TextState text;

    PixelView view() { return PixelView{pixels.data(), width, height, bytesPerPixel}; }
    void markRows(RowSpan rows);
    void markAll();
};

// Everything the drawing layer keeps for the whole process, in one place: the screen (none
// before the first successful mode switch), the window title and the lock that every
// drawing operation and every window refresh take.
struct Display {
    std::mutex lock;
    std::optional<Screen> screen;
    std::string title;  // Windows-1252 bytes, at most 127
};
Display& display();

// What a drawing operation draws on: the screen or an image.
class Surface {
public:
    Surface(Image* image) : image_(image) {}  // NOLINT(google-explicit-constructor): images are surfaces
    static Surface screen() { return Surface(); }
    bool isScreen() const { return screen_; }
    Image* image() const { return image_; }

private:
    Surface() : screen_(true) {}
    Image* image_ = nullptr;
    bool screen_ = false;
};

// The pixels of a surface, resolved while the display lock is held. Writing to the screen
// through it marks the rows that `finish` is given.
class SurfaceAccess {
public:
    explicit SurfaceAccess(Surface target);
    bool ok() const { return !view_.empty(); }
    const PixelView& view() const { return view_; }
    // Marks the rows written on the screen (nothing for an image).
    void finish(RowSpan written);
    bool screenOpen() const { return screenOpen_; }
    int screenBytesPerPixel() const { return screenBytesPerPixel_; }

private:
    std::lock_guard<std::mutex> guard_;
    PixelView view_;
    Screen* screen_ = nullptr;
    bool screenOpen_ = false;
    int screenBytesPerPixel_ = 0;
};

// Opens a new black screen of the given size and depth (8; 15 or 16; 24 or 32) in a new
// window, closing the old one. A bad argument changes nothing; when no window can be opened
// no screen is left open. Returns whether a screen is open in the new mode.
bool setScreenMode(int width, int height, int depth);
// Keeps the first 127 bytes (Windows-1252) as the title of this and every later window.
void setWindowTitle(const std::string& title);
// Bytes per pixel of the open screen, 0 with none.
int currentBytesPerPixel();
// Closes the window and releases the screen, as the program does when it ends.
void closeScreen();

// The VGA default 256-colour palette that every 8-bit screen opens with.
const Palette& defaultPalette();

}  // namespace fogloom
