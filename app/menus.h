// The two menu screens of every turn.
#pragma once

#include <optional>

#include "layers/picture.h"

namespace fogloom {

// Draws the shape menu on the freshly opened 8-bit screen and returns the chosen kind, or
// nothing when the user picked the quit item.
std::optional<ShapeKind> runShapeMenu();
// Clears the screen, draws the layer menu and returns the chosen number of layers.
int runLayerMenu();

}  // namespace fogloom
