// A whole 50-layer picture with its real pauses, against those pauses alone.
#include <benchmark/benchmark.h>

#include "app/main_loop.h"
#include "app/services.h"
#include "bench/bench_support.h"
#include "layers/picture.h"
#include "surface/keys.h"

namespace fogloom::bench {
namespace {

constexpr int Layers = 50;
constexpr int PausesPerLayer = 18;

// Makes the three work images of a turn and the layer count, as the main loop does.
void prepareTurn() {
    releaseWorkImages();
    WorkImages& images = picture().images;
    images.canvas = createImage(544, 960, NoColor);
    images.snapshot = createImage(544, 960, NoColor);
    images.stamp = createImage(128, 128, NoColor);
    picture().layerCount = Layers;
}

// In each iteration one picture of the kind given as argument (ShapeKind number) and then its
// 900 pauses of 1 ms on their own; picture_over_pauses is the first time over the second.
void BM_PictureVersusPauses(benchmark::State& state) {
    const Renderer render = rendererFor(static_cast<ShapeKind>(state.range(0)));
    if (render == nullptr) {
        state.SkipWithError("this kind has no renderer yet");
        return;
    }
    openTrueColourScreen(true);
    prepareTurn();
    seedRandom(1);
    double pictureSeconds = 0, pauseSeconds = 0;
    for (auto _ : state) {
        const double t0 = secondsNow();
        render();
        const double t1 = secondsNow();
        for (int i = 0; i < Layers * PausesPerLayer; ++i) sleepMs(1);
        const double t2 = secondsNow();
        pictureSeconds += t1 - t0;
        pauseSeconds += t2 - t1;
    }
    releaseWorkImages();
    const double n = static_cast<double>(state.iterations());
    state.counters["picture_ms"] = pictureSeconds / n * 1e3;
    state.counters["pauses_ms"] = pauseSeconds / n * 1e3;
    state.counters["picture_over_pauses"] = pauseSeconds > 0 ? pictureSeconds / pauseSeconds : 0;
}
BENCHMARK(BM_PictureVersusPauses)
    ->DenseRange(1, 6)
    ->Iterations(3)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// A picture without pauses: the drawing alone, for all 50 layers.
void BM_PictureWithoutPauses(benchmark::State& state) {
    const Renderer render = rendererFor(static_cast<ShapeKind>(state.range(0)));
    if (render == nullptr) {
        state.SkipWithError("this kind has no renderer yet");
        return;
    }
    openTrueColourScreen(false);
    prepareTurn();
    seedRandom(1);
    for (auto _ : state) render();
    releaseWorkImages();
}
BENCHMARK(BM_PictureWithoutPauses)->DenseRange(1, 6)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace fogloom::bench
