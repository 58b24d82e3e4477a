// The menus' costs: drawing the frame and a row of text, and one idle step of the moving
// frame as the window sees it (nine entries rotated, then the whole screen shown again).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/frame.h"
#include "bench/bench_support.h"
#include "surface/presentation.h"
#include "surface/text.h"

namespace fogloom::bench {
namespace {

void openMenuScreen() {
    benchPlatform().setOptions({.realPauses = false, .realTone = false, .windowsOpen = true});
    platform::install(benchPlatform());
    setScreenMode(272, 480, 8);
}

// The palette work of one idle step and the window refresh that shows it.
void BM_FrameIdleStepShown(benchmark::State& state) {
    openMenuScreen();
    drawBorderFrame();
    std::vector<std::uint32_t> frame(272 * 480);
    int first = 0, last = 0;
    screenFeed().takeRows(frame.data(), 272, 480, true, first, last);
    for (auto _ : state) {
        rotatePaletteUp(1, 9);
        screenFeed().takeRows(frame.data(), 272, 480, false, first, last);
        benchmark::DoNotOptimize(frame.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FrameIdleStepShown)->UseRealTime()->Unit(benchmark::kMicrosecond);

// The rotation alone: eighteen register transactions.
void BM_RotatePalette(benchmark::State& state) {
    openMenuScreen();
    drawBorderFrame();
    for (auto _ : state) rotatePaletteUp(1, 9);
}
BENCHMARK(BM_RotatePalette)->UseRealTime()->Unit(benchmark::kNanosecond);

// The 180 cells of the frame with their palette, as each menu draws them once.
void BM_DrawBorderFrame(benchmark::State& state) {
    openMenuScreen();
    for (auto _ : state) drawBorderFrame();
    state.SetItemsProcessed(state.iterations() * 180);
}
BENCHMARK(BM_DrawBorderFrame)->UseRealTime()->Unit(benchmark::kMicrosecond);

// One full row of 34 characters and the line's end.
void BM_PrintTextRow(benchmark::State& state) {
    openMenuScreen();
    const std::string row(34, 'M');
    for (auto _ : state) {
        locate(10, 1);
        printText(row, true);
    }
    state.SetItemsProcessed(state.iterations() * 34);
}
BENCHMARK(BM_PrintTextRow)->UseRealTime()->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace fogloom::bench
