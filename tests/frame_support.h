// The frame's nine palette entries as the tests expect them.
#pragma once

#include <vector>

#include "app/frame.h"

namespace fogloom::testing {

// The frame palette as the registers give it back, entries 1..9.
inline const PaletteColor FrameColours[9] = {{63, 63, 63}, {63, 57, 59}, {63, 40, 52}, {62, 20, 40}, {56, 26, 27},
                                             {49, 40, 17}, {41, 58, 6},  {49, 63, 27}, {57, 63, 48}};

// Entries 1..9 as they are now.
inline std::vector<PaletteColor> frameEntries() {
    std::vector<PaletteColor> entries;
    for (int i = 1; i <= 9; ++i) entries.push_back(getPaletteEntry(i));
    return entries;
}

// The frame palette turned by `steps` cells: entry i holds frame colour i - steps.
inline std::vector<PaletteColor> turnedFrame(int steps) {
    std::vector<PaletteColor> entries;
    for (int i = 0; i < 9; ++i) entries.push_back(FrameColours[((i - steps) % 9 + 9) % 9]);
    return entries;
}

}  // namespace fogloom::testing
