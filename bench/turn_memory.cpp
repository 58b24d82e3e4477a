// fogloom-turn-memory: runs 100 turns without a window or pauses and reports how the
// process's resident memory moved between the first turn and the hundredth.
//
// A turn here is what the main loop does around a picture: the two mode switches, the
// release of the previous work images, the three new ones, and one picture (every kind that
// has a renderer, in turn, with 10 to 50 layers). Exit status 1 when the resident memory
// after 100 turns is more than 1 MiB above that after the first.
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <vector>

#include "app/main_loop.h"
#include "app/services.h"
#include "layers/picture.h"
#include "platform/headless.h"
#include "surface/screen.h"

namespace {

long long residentBytes() {
    std::ifstream statm("/proc/self/statm");
    long long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

}  // namespace

int main() {
    using namespace fogloom;
    platform::HeadlessPlatform headless({.realPauses = false, .realTone = false, .windowsOpen = true});
    platform::install(headless);
    seedRandom(7);

    std::vector<Renderer> renderers;
    for (int kind = 1; kind <= 6; ++kind)
        if (const Renderer render = rendererFor(static_cast<ShapeKind>(kind))) renderers.push_back(render);
    if (renderers.empty()) {
        std::fprintf(stderr, "fogloom-turn-memory: no kind has a renderer\n");
        return 2;
    }

    auto turn = [&](int number) {
        setScreenMode(272, 480, 8);
        setScreenMode(272, 480, 24);
        renewWorkImages();
        picture().layerCount = 10 * (1 + number % 5);
        renderers[number % renderers.size()]();
    };

    turn(0);
    const long long first = residentBytes();
    for (int number = 1; number < 100; ++number) turn(number);
    const long long hundredth = residentBytes();
    releaseWorkImages();
    closeScreen();

    const long long growth = hundredth - first;
    std::printf("kinds drawn: %zu\n", renderers.size());
    std::printf("resident after turn 1:   %8.1f KiB\n", static_cast<double>(first) / 1024);
    std::printf("resident after turn 100: %8.1f KiB\n", static_cast<double>(hundredth) / 1024);
    std::printf("growth:                  %8.1f KiB (limit 1024 KiB)\n", static_cast<double>(growth) / 1024);
    return growth <= 1024 * 1024 ? 0 : 1;
}
