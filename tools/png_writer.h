// Writes 32-bit pixels (0x00RRGGBB) as an 8-bit RGB PNG.
#pragma once

#include <string>

#include "surface/pixels.h"

namespace fogloom::tools {

bool writeRgbPng(const std::string& path, const PixelView& pixels, std::string& error);

}  // namespace fogloom::tools
