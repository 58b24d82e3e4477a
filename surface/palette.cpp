#include "surface/palette.h"

#include <mutex>

#include "surface/screen.h"

namespace fogloom {
namespace {

// The registers themselves. There is one set for the whole process: opening a screen
// leaves them as they are. Touched only while the display lock is held.
struct PaletteDac {
    std::uint8_t index = 0;
    int position = 0;                   // 0 red, 1 green, 2 blue
    std::uint8_t components[3] = {};    // 6-bit values gathered for the entry at the index
};

PaletteDac& paletteDac() {
    static PaletteDac registers;
    return registers;
}

// The open screen when it is 8-bit, with the display lock held.
Screen* paletteScreen() {
    auto& screen = display().screen;
    return screen && screen->bytesPerPixel == 1 ? &*screen : nullptr;
}

std::uint8_t& component(Rgb& colour, int position) {
    return position == 0 ? colour.red : position == 1 ? colour.green : colour.blue;
}

// After blue: on to the next entry, red first.
void nextEntry(PaletteDac& dac) {
    dac.position = 0;
    dac.index = static_cast<std::uint8_t>(dac.index + 1);
}

}  // namespace

void portOut(std::uint16_t port, std::uint8_t value) {
    std::lock_guard guard(display().lock);
    Screen* screen = paletteScreen();
    if (screen == nullptr) return;
    PaletteDac& dac = paletteDac();
    switch (port) {
        case PaletteReadIndexPort:
        case PaletteWriteIndexPort:
            dac.index = value;
            dac.position = 0;
            dac.components[0] = dac.components[1] = dac.components[2] = 0;
            break;
        case PaletteDataPort: {
            dac.components[dac.position] = static_cast<std::uint8_t>(value & 63u);
            if (++dac.position < 3) break;
            Rgb& entry = screen->palette[dac.index];
            for (int i = 0; i < 3; ++i) component(entry, i) = widenComponent(dac.components[i]);
            screen->paletteChanged = true;
            screen->markAll();
            nextEntry(dac);
            break;
        }
        default:
            break;
    }
}

std::uint8_t portIn(std::uint16_t port) {
    std::lock_guard guard(display().lock);
    Screen* screen = paletteScreen();
    if (screen == nullptr || port != PaletteDataPort) return 0;
    PaletteDac& dac = paletteDac();
    const auto value = static_cast<std::uint8_t>(component(screen->palette[dac.index], dac.position) / 4);
    // A write that follows a read completes the entry with the component read, so that
    // mixing the two never puts a component into the entry that nobody gave.
    dac.components[dac.position] = value;
    if (++dac.position == 3) nextEntry(dac);
    return value;
}

}  // namespace fogloom
