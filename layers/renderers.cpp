#include <string_view>

#include "layers/circles.h"
#include "layers/picture.h"
#include "layers/pipeline.h"
#include "layers/polygons.h"

namespace fogloom {

Renderer rendererFor(ShapeKind kind) {
    switch (kind) {
        case ShapeKind::Circles: return renderCircles;
        case ShapeKind::Triangles: return renderTriangles;
        case ShapeKind::Squares: return renderSquares;
        case ShapeKind::RotatedSquares: return renderRotatedSquares;
        case ShapeKind::Stars: return renderStars;
        case ShapeKind::Hexagons: return renderHexagons;
    }
    return nullptr;
}

std::optional<ShapeKind> shapeKindFromName(std::string_view name) {
    static constexpr std::pair<std::string_view, ShapeKind> names[] = {
        {"circles", ShapeKind::Circles}, {"triangles", ShapeKind::Triangles},
        {"squares", ShapeKind::Squares}, {"rotated-squares", ShapeKind::RotatedSquares},
        {"stars", ShapeKind::Stars},     {"hexagons", ShapeKind::Hexagons}};
    for (const auto& [text, kind] : names)
        if (text == name) return kind;
    return std::nullopt;
}

}  // namespace fogloom
