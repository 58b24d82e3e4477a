// The seam between the program and the machine it runs on: a window, a tone, a clock and
// a pause. Two implementations exist: the real one (an SDL window served on the main
// thread, SDL audio) and a headless one (no window at all) for tests and tools.
#pragma once

#include <cstdint>
#include <string>

namespace fogloom::platform {

// What the window shows and where its input goes; the drawing layer supplies it. The
// window thread calls both about every 10 ms.
class WindowFeed {
public:
    virtual ~WindowFeed() = default;
    // Copies the screen rows changed since the last call (every row when `everything` is
    // set) into `frame`, XRGB8888 with `width` pixels a row, and clears their marks.
    // Returns false when no row was copied; otherwise [firstRow, lastRow] covers them.
    virtual bool takeRows(std::uint32_t* frame, int width, int height, bool everything, int& firstRow,
                          int& lastRow) = 0;
    // A key value for the key queue: a code page 437 character, an extended key
    // (code * 256 + 255) or the close request.
    virtual void keyTyped(std::uint32_t keyValue) = 0;
};

class Platform {
public:
    virtual ~Platform() = default;
    // Opens a window whose client area is exactly width x height, centred, in front,
    // captioned with `title` (Windows-1252). Returns once it exists; false when it can't.
    virtual bool openWindow(int width, int height, const std::string& title) = 0;
    // Closes the open window, if any, and returns once it is gone.
    virtual void closeWindow() = 0;
    virtual void setWindowTitle(const std::string& title) = 0;
    // Returns after at least `ms` milliseconds (at once for 0 or less).
    virtual void pauseMs(int ms) = 0;
    // Sounds a tone and returns when it has ended.
    virtual void tone(int frequencyHz, int durationMs) = 0;
    // Seconds since an arbitrary fixed origin, at least millisecond resolution.
    virtual double clockSeconds() = 0;
};

// The platform the program runs on; set once at start, before any other call.
void install(Platform& platform);
Platform& current();

}  // namespace fogloom::platform
