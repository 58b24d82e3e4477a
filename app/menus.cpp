#include "app/menus.h"

#include "surface/keys.h"

namespace fogloom {

// Until the menu screens exist, every turn shows the black 8-bit screen for a moment and
// then paints a full picture of squares.
std::optional<ShapeKind> runShapeMenu() {
    sleepMs(300);
    return ShapeKind::Squares;
}

int runLayerMenu() { return 50; }

}  // namespace fogloom
