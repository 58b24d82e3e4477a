#include "layers/pipeline.h"

#include <cmath>

#include "app/services.h"
#include "surface/blit.h"
#include "surface/keys.h"

namespace fogloom {
namespace {

int randomBelow(int count) { return static_cast<int>(std::floor(randomUnit() * count)); }

}  // namespace

PictureState& picture() {
    static PictureState state;
    return state;
}

LayerValues drawLayerValues(const ShapeRecipe& recipe) {
    LayerValues v;
    v.cx = randomBelow(272) + 146;
    v.cy = randomBelow(480) + 250;
    v.s = randomBelow(recipe.sizeCount) + 6;
    if (recipe.rotated) v.r = randomBelow(360);
    return v;
}

void blurCanvas() {
    const WorkImages& images = picture().images;
    for (int pass = 1; pass <= 2; ++pass)
        for (int dx = -2; dx <= 0; ++dx)
            for (int dy = -1; dy <= 1; ++dy) {
                blit(images.canvas, static_cast<float>(dx), static_cast<float>(dy), images.snapshot,
                     BlitMode::Alpha, 63);
                sleepMs(1);
            }
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
