// The shape kinds, the three work images and the layer count that the main loop owns and
// the renderers draw with.
#pragma once

#include <optional>
#include <string_view>

#include "surface/image.h"

namespace fogloom {

enum class ShapeKind { Circles = 1, Triangles = 2, Squares = 3, RotatedSquares = 4, Stars = 5, Hexagons = 6 };

struct WorkImages {
    Image* canvas = nullptr;    // 544 x 960: the layers accumulate here
    Image* snapshot = nullptr;  // 544 x 960: the canvas as it was before each blur
    Image* stamp = nullptr;     // 128 x 128: scratch for one polygon
};

inline constexpr int CanvasWidth = 544;
inline constexpr int CanvasHeight = 960;
inline constexpr int StampSize = 128;

// The process-wide picture state: set by the main loop each turn, read by the renderers.
struct PictureState {
    int layerCount = 0;
    WorkImages images;
};
PictureState& picture();

// The renderer of a kind: draws one whole picture on the screen, then sounds the tone.
using Renderer = void (*)();
Renderer rendererFor(ShapeKind kind);

// Command-line names of the kinds ("circles", "rotated-squares", ...).
std::optional<ShapeKind> shapeKindFromName(std::string_view name);

}  // namespace fogloom
