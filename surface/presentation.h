// How the window sees the screen: changed rows as XRGB8888, and keys into the key queue.
#pragma once

#include "platform/platform.h"
#include "surface/screen.h"

namespace fogloom {

// Converts rows first..last of an 8-bit or 32-bit screen into XRGB8888 through `lookup`
// (the palette as 256 XRGB values; unused for 32-bit rows).
void convertRows(const Screen& screen, const std::uint32_t* lookup, std::uint32_t* frame, int first, int last);

// The feed the real window is served from: it reads the screen under the display lock.
platform::WindowFeed& screenFeed();

}  // namespace fogloom
