// The four polygon kinds (triangles, rotated squares, stars, hexagons): one family that
// differs only in its vertex table. Each layer's polygon is built in the stamp (mask
// background, a white outline three pixels thick, a grey flood fill from the centre) and
// then put onto the canvas so that only its white and grey pixels land there.
#pragma once

#include <vector>

#include "layers/picture.h"
#include "layers/pipeline.h"

namespace fogloom {

// A vertex in the stamp frame; the shape's centre is stamp pixel (63, 63).
struct StampPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const StampPoint&, const StampPoint&) = default;
};

inline constexpr int StampCentre = 63;

// The vertices of a polygon kind at size s and rotation r (whole degrees), in table order:
// vx = floor(R sin t) + 63, vy = floor(R cos t) + 63 with t = (r + a) / 57.29577951 and R
// the size s or, for the star's inner corners, s / 2. Empty for Circles and Squares.
std::vector<StampPoint> polygonVertices(ShapeKind kind, int s, int r);

// The edges of a polygon kind as pairs of indices into its vertex table, in drawing order,
// each drawn from its first vertex to its second.
struct PolygonEdge {
    int from = 0;
    int to = 0;
};
std::vector<PolygonEdge> polygonEdges(ShapeKind kind);

// The draw step of a polygon layer: builds the polygon in the stamp, copies the stamp into
// the snapshot and blits it Transparent onto the canvas at (cx - 63, cy - 63).
void stampPolygon(const WorkImages& images, ShapeKind kind, const LayerValues& values);

void renderTriangles();
void renderRotatedSquares();
void renderStars();
void renderHexagons();

}  // namespace fogloom
