#include "app/main_loop.h"

#include "app/menus.h"
#include "app/services.h"
#include "layers/picture.h"
#include "surface/keys.h"
#include "surface/screen.h"

namespace fogloom {

void startProgram() {
    seedRandom(clockSeconds());
    setWindowTitle(WindowTitle);
}

void releaseWorkImages() {
    WorkImages& images = picture().images;
    destroyImage(images.canvas);
    destroyImage(images.snapshot);
    destroyImage(images.stamp);
    images = {};
}

void renewWorkImages() {
    releaseWorkImages();
    WorkImages& images = picture().images;
    images.canvas = createImage(CanvasWidth, CanvasHeight, NoColor);
    images.snapshot = createImage(CanvasWidth, CanvasHeight, NoColor);
    images.stamp = createImage(StampSize, StampSize, NoColor);
}

bool runTurn() {
    setScreenMode(272, 480, 8);
    const std::optional<ShapeKind> kind = runShapeMenu();
    if (!kind) return false;
    picture().layerCount = runLayerMenu();
    setScreenMode(272, 480, 24);

    renewWorkImages();

    if (const Renderer render = rendererFor(*kind)) render();

    // Any key ends the wait, the close request included.
    std::string key;
    do {
        sleepMs(2);
        key = pollKey();
    } while (key.empty());
    return true;
}

int runProgram() {
    startProgram();
    while (runTurn()) {
    }
    releaseWorkImages();
    return 0;
}

}  // namespace fogloom
