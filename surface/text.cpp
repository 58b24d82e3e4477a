#include "surface/text.h"

#include <algorithm>
#include <cstring>
#include <mutex>

#include "platform/platform.h"
#include "surface/screen.h"

namespace fogloom {

RowSpan drawGlyph(const PixelView& target, int x, int y, const Glyph& glyph, std::uint32_t foreground,
                  std::uint32_t background) {
    RowSpan written;
    // Wholly outside first, so that no far-off position can overflow below.
    if (target.empty() || x >= target.width || y >= target.height || x <= -CellSize || y <= -CellSize) {
        return written;
    }
    const int x1 = std::max(x, 0);
    const int x2 = std::min(x + CellSize - 1, target.width - 1);
    if (x1 > x2) return written;
    for (int gy = 0; gy < CellSize; ++gy) {
        const int py = y + gy;
        if (py < 0 || py >= target.height) continue;
        const unsigned bits = glyph[static_cast<std::size_t>(gy)];
        for (int px = x1; px <= x2; ++px) {
            const bool set = (bits & (0x80u >> (px - x))) != 0;
            target.set(px, py, set ? foreground : background);
        }
        if (written.empty()) written.first = py;
        written.last = py;
    }
    return written;
}

namespace {

// The end-of-picture tone, which code 7 sounds too.
constexpr int BellHz = 1000;
constexpr int BellMs = 250;

// The screen while the display lock is held, when it has a text grid.
Screen* consoleScreen() {
    auto& screen = display().screen;
    if (!screen || screen->text.columns < 1 || screen->text.rows < 1) return nullptr;
    return &*screen;
}

std::uint32_t keptColour(const Screen& screen, std::uint32_t colour) {
    switch (screen.bytesPerPixel) {
        case 1: return colour & 0xFFu;
        case 2: return colour & 0xFFFFu;
        default: return colour;
    }
}

// Moves the whole grid up by one row of cells and fills the new bottom row with the
// background colour.
void scrollUp(Screen& screen) {
    const PixelView view = screen.view();
    const int gridHeight = screen.text.rows * CellSize;
    const std::size_t rowBytes = view.rowBytes();
    if (gridHeight > CellSize) {
        std::memmove(view.row(0), view.row(CellSize), rowBytes * static_cast<std::size_t>(gridHeight - CellSize));
    }
    for (int y = std::max(gridHeight - CellSize, 0); y < gridHeight; ++y) {
        view.setRun(y, 0, view.width - 1, screen.text.background);
    }
    screen.markRows({0, gridHeight - 1});
}

void carryOutPendingScroll(Screen& screen) {
    if (!screen.text.scrollPending) return;
    screen.text.scrollPending = false;
    scrollUp(screen);
}

// Down one row; below the last row the cursor stays on it with a scroll pending.
void lineDown(TextState& text) {
    if (text.cursorRow < text.rows) {
        ++text.cursorRow;
    } else {
        text.cursorRow = text.rows;
        text.scrollPending = true;
    }
}

void putCharacter(Screen& screen, std::uint8_t code) {
    TextState& text = screen.text;
    const RowSpan rows = drawGlyph(screen.view(), (text.cursorColumn - 1) * CellSize,
                                   (text.cursorRow - 1) * CellSize, cp437Font()[code], text.foreground,
                                   text.background);
    screen.markRows(rows);
    if (++text.cursorColumn > text.columns) {
        text.cursorColumn = 1;
        lineDown(text);
    }
}

}  // namespace

bool locate(int row, int column) {
    std::lock_guard guard(display().lock);
    Screen* screen = consoleScreen();
    if (screen == nullptr) return false;
    TextState& text = screen->text;
    const int newRow = row == 0 ? text.cursorRow : row;
    const int newColumn = column == 0 ? text.cursorColumn : column;
    if (newRow < 1 || newRow > text.rows || newColumn < 1 || newColumn > text.columns) return false;
    text.cursorRow = newRow;
    text.cursorColumn = newColumn;
    text.scrollPending = false;
    return true;
}

void printText(std::string_view text, bool newline) {
    std::unique_lock guard(display().lock);
    const std::size_t length = text.size() + (newline ? 2 : 0);
    if (consoleScreen() == nullptr) return;
    // A scroll left pending by the previous print happens now, even for an empty text.
    carryOutPendingScroll(*consoleScreen());
    for (std::size_t i = 0; i < length; ++i) {
        Screen* screen = consoleScreen();
        if (screen == nullptr) return;
        carryOutPendingScroll(*screen);
        TextState& state = screen->text;
        const auto code = static_cast<std::uint8_t>(i < text.size() ? text[i] : (i == text.size() ? '\r' : '\n'));
        switch (code) {
            case 13:
                state.cursorColumn = 1;
                break;
            case 10:
                state.cursorColumn = 1;
                lineDown(state);
                break;
            case 7:
                // The window must go on being served while the tone sounds.
                guard.unlock();
                platform::current().tone(BellHz, BellMs);
                guard.lock();
                break;
            case 8:
                state.cursorColumn = std::max(state.cursorColumn - 1, 1);
                break;
            case 9:
                // At least one space; a wrap to column 1 also reaches a tab stop.
                do {
                    putCharacter(*screen, ' ');
                } while ((state.cursorColumn - 1) % 8 != 0);
                break;
            default:
                putCharacter(*screen, code);
                break;
        }
    }
}

void setColor(std::optional<std::uint32_t> foreground, std::optional<std::uint32_t> background) {
    std::lock_guard guard(display().lock);
    auto& screen = display().screen;
    if (!screen) return;
    if (foreground) screen->text.foreground = keptColour(*screen, *foreground);
    if (background) screen->text.background = keptColour(*screen, *background);
}

void clearScreen() {
    std::lock_guard guard(display().lock);
    auto& screen = display().screen;
    if (!screen) return;
    const PixelView view = screen->view();
    for (int y = 0; y < view.height; ++y) view.setRun(y, 0, view.width - 1, screen->text.background);
    screen->text.cursorRow = 1;
    screen->text.cursorColumn = 1;
    screen->text.scrollPending = false;
    screen->markAll();
}

TextCursor textCursor() {
    std::lock_guard guard(display().lock);
    const auto& screen = display().screen;
    if (!screen) return {};
    return {screen->text.cursorRow, screen->text.cursorColumn, screen->text.scrollPending};
}

}  // namespace fogloom
