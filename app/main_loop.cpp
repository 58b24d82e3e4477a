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

bool runTurn() {
    setScreenMode(272, 480, 8);
    const std::optional<ShapeKind> kind = runShapeMenu();
    if (!kind) return false;
    picture().layerCount = runLayerMenu();
    setScreenMode(272, 480, 24);

    // The previous turn's images go before the new ones come, so at most three exist.
    releaseWorkImages();
    WorkImages& images = picture().images;
    images.canvas = createImage(544, 960, NoColor);
    images.snapshot = createImage(544, 960, NoColor);
    images.stamp = createImage(128, 128, NoColor);

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
