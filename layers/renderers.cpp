#include <string_view>

#include "layers/picture.h"
#include "layers/pipeline.h"

namespace fogloom {

Renderer rendererFor(ShapeKind kind) {
    switch (kind) {
        case ShapeKind::Squares: return renderSquares;
        default: return nullptr;  // not built yet
    }
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
