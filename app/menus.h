// The two menu screens of every turn.
#pragma once

#include <optional>
#include <string_view>

#include "layers/picture.h"

namespace fogloom {

// Prints a code page 437 text on `row`, centred on the 34-column grid: from column
// 18 - length / 2, a half going to the even neighbour; then ends the line.
void centerPrint(int row, std::string_view text);

// Draws the shape menu on the freshly opened 8-bit screen and returns the chosen kind, or
// nothing when the user picked the quit item.
std::optional<ShapeKind> runShapeMenu();
// Clears the screen, draws the layer menu and returns the chosen number of layers.
int runLayerMenu();

}  // namespace fogloom
