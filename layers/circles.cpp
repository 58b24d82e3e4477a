#include "layers/circles.h"

#include "layers/pipeline.h"
#include "surface/raster.h"

namespace fogloom {

void drawCircle(Image* canvas, int cx, int cy, int s) {
    const auto x = static_cast<float>(cx), y = static_cast<float>(cy);
    fillCircle(canvas, x, y, static_cast<float>(s), White);
    fillCircle(canvas, x, y, static_cast<float>(s - 4), Grey);
}

void renderCircles() {
    // Radii 6..33: 28 sizes, and no rotation.
    static constexpr ShapeRecipe circles{
        28, false, [](const WorkImages& images, const LayerValues& v) { drawCircle(images.canvas, v.cx, v.cy, v.s); }};
    renderPicture(circles);
}

}  // namespace fogloom
