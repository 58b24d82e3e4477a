#include "layers/pipeline.h"

#include <cmath>

#include "app/services.h"
#include "surface/blit.h"
#include "surface/blur.h"
#include "surface/keys.h"

namespace fogloom {
PictureState& picture() {
    static PictureState state;
    return state;
}

LayerValues layerValuesFrom(const ShapeRecipe& recipe, const double (&u)[4]) {
    auto below = [](double unit, int count) { return static_cast<int>(std::floor(unit * count)); };
    LayerValues v;
    v.cx = below(u[0], 272) + 146;
    v.cy = below(u[1], 480) + 250;
    v.s = below(u[2], recipe.sizeCount) + 6;
    if (recipe.rotated) v.r = below(u[3], 360);
    return v;
}

LayerValues drawLayerValues(const ShapeRecipe& recipe) {
    // One call of randomUnit per value, in order, and none more.
    double u[4] = {randomUnit(), randomUnit(), randomUnit(), 0.0};
    if (recipe.rotated) u[3] = randomUnit();
    return layerValuesFrom(recipe, u);
}

void blurCanvas() {
    const WorkImages& images = picture().images;
    // The 18 blends (two passes of dx -2..0, dy -1..1, alpha 63) in one sweep that gives the
    // same pixels as one blit after another, then the 18 pauses of 1 ms that pace the
    // picture. The canvas is off screen, so nobody sees the blends apart anyway.
    constexpr int Passes = 2;
    blurBlits(images.canvas, images.snapshot, 63, Passes);
    for (int blend = 0; blend < Passes * BlurBlendsPerPass; ++blend) sleepMs(1);
}

void showCanvas() { blit(Surface::screen(), -136, -240, picture().images.canvas, BlitMode::Opaque, -1); }

void renderPicture(const ShapeRecipe& recipe) {
    const WorkImages& images = picture().images;
    fillBox(images.canvas, 0, 0, CanvasWidth - 1, CanvasHeight - 1, Black);
    const int layers = picture().layerCount;
    for (int layer = 1; layer <= layers; ++layer) {
        const LayerValues values = drawLayerValues(recipe);
        recipe.draw(images, values);
        copyOut(images.canvas, 0, 0, CanvasWidth - 1, CanvasHeight - 1, images.snapshot);
        blurCanvas();
        showCanvas();
    }
    beep();
}

void drawSquare(Image* canvas, int cx, int cy, int s) {
    fillBox(canvas, static_cast<float>(cx - s), static_cast<float>(cy - s), static_cast<float>(cx + s),
            static_cast<float>(cy + s), White);
    fillBox(canvas, static_cast<float>(cx - s + 2), static_cast<float>(cy - s + 2), static_cast<float>(cx + s - 2),
            static_cast<float>(cy + s - 2), Grey);
}

void renderSquares() {
    static constexpr ShapeRecipe squares{
        14, false, [](const WorkImages& images, const LayerValues& v) { drawSquare(images.canvas, v.cx, v.cy, v.s); }};
    renderPicture(squares);
}

}  // namespace fogloom
