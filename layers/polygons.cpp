#include "layers/polygons.h"

#include <cmath>
#include <span>

#include "surface/blit.h"
#include "surface/raster.h"

namespace fogloom {
namespace {

// One row of the vertex table: angle offset in degrees, and whether the radius is s / 2.
struct VertexShape {
    int angle;
    bool halfRadius;
};

struct PolygonShape {
    std::span<const VertexShape> vertices;  // in edge order
    std::span<const PolygonEdge> edges;    // in drawing order
};

constexpr VertexShape TriangleVertices[] = {{180, false}, {60, false}, {300, false}};
constexpr PolygonEdge TriangleEdges[] = {{0, 1}, {1, 2}, {2, 0}};

// The rotated square draws its last two edges as 270->180, then 0->270.
constexpr VertexShape RotatedSquareVertices[] = {{180, false}, {90, false}, {0, false}, {270, false}};
constexpr PolygonEdge RotatedSquareEdges[] = {{0, 1}, {1, 2}, {3, 0}, {2, 3}};

constexpr VertexShape StarVertices[] = {{36, false},  {72, true},   {108, false}, {144, true}, {180, false},
                                       {216, true},  {252, false}, {288, true},  {324, false}, {0, true}};
constexpr PolygonEdge StarEdges[] = {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 6}, {6, 7}, {7, 8}, {8, 9}, {9, 0}};

constexpr VertexShape HexagonVertices[] = {{60, false},  {120, false}, {180, false},
                                          {240, false}, {300, false}, {0, false}};
constexpr PolygonEdge HexagonEdges[] = {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 0}};

// Empty spans for the kinds that are not polygons.
PolygonShape shapeFor(ShapeKind kind) {
    switch (kind) {
        case ShapeKind::Triangles: return {TriangleVertices, TriangleEdges};
        case ShapeKind::RotatedSquares: return {RotatedSquareVertices, RotatedSquareEdges};
        case ShapeKind::Stars: return {StarVertices, StarEdges};
        case ShapeKind::Hexagons: return {HexagonVertices, HexagonEdges};
        case ShapeKind::Circles:
        case ShapeKind::Squares: break;
    }
    return {};
}

// The divisor of the vertex formula: slightly less than 180 / pi, and part of the shapes.
constexpr double DegreesPerRadian = 57.29577951;

template <ShapeKind Kind>
void drawPolygonLayer(const WorkImages& images, const LayerValues& values) {
    stampPolygon(images, Kind, values);
}

template <ShapeKind Kind>
void renderPolygons() {
    static constexpr ShapeRecipe recipe{14, true, drawPolygonLayer<Kind>};
    renderPicture(recipe);
}

}  // namespace

std::vector<StampPoint> polygonVertices(ShapeKind kind, int s, int r) {
    const PolygonShape shape = shapeFor(kind);
    std::vector<StampPoint> points;
    points.reserve(shape.vertices.size());
    for (const VertexShape& vertex : shape.vertices) {
        const double radius = vertex.halfRadius ? s / 2.0 : static_cast<double>(s);
        const double theta = static_cast<double>(r + vertex.angle) / DegreesPerRadian;
        points.push_back({static_cast<int>(std::floor(radius * std::sin(theta))) + StampCentre,
                          static_cast<int>(std::floor(radius * std::cos(theta))) + StampCentre});
    }
    return points;
}

std::vector<PolygonEdge> polygonEdges(ShapeKind kind) {
    const PolygonShape shape = shapeFor(kind);
    return {shape.edges.begin(), shape.edges.end()};
}

void stampPolygon(const WorkImages& images, ShapeKind kind, const LayerValues& values) {
    const PolygonShape shape = shapeFor(kind);
    const std::vector<StampPoint> points = polygonVertices(kind, values.s, values.r);
    Image* stamp = images.stamp;
    constexpr float Last = StampSize - 1;

    fillBox(stamp, 0, 0, Last, Last, MaskColor);
    // Nine shifted copies of the outline: a white outline three pixels wide.
    for (int j = -1; j <= 1; ++j)
        for (int k = -1; k <= 1; ++k)
            for (const PolygonEdge& edge : shape.edges) {
                const StampPoint a = points[static_cast<std::size_t>(edge.from)];
                const StampPoint b = points[static_cast<std::size_t>(edge.to)];
                drawLine(stamp, static_cast<float>(a.x + j), static_cast<float>(a.y + k), static_cast<float>(b.x + j),
                         static_cast<float>(b.y + k), White);
            }
    floodFill(stamp, StampCentre, StampCentre, Grey, White);
    copyOut(stamp, 0, 0, Last, Last, images.snapshot);
    blit(images.canvas, static_cast<float>(values.cx - StampCentre), static_cast<float>(values.cy - StampCentre),
         images.snapshot, BlitMode::Transparent, -1);
}

void renderTriangles() { renderPolygons<ShapeKind::Triangles>(); }
void renderRotatedSquares() { renderPolygons<ShapeKind::RotatedSquares>(); }
void renderStars() { renderPolygons<ShapeKind::Stars>(); }
void renderHexagons() { renderPolygons<ShapeKind::Hexagons>(); }

}  // namespace fogloom
