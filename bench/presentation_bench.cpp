// The window refresh: turning the screen's rows into the window's XRGB pixels.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <mutex>
#include <random>
#include <vector>

#include "bench/bench_support.h"
#include "surface/presentation.h"

namespace fogloom::bench {
namespace {

// All 480 rows of a 272 x 480 screen of the given depth (8 or 24), all marked, through the
// feed the window thread uses.
void BM_WindowRefreshAllRows(benchmark::State& state) {
    openTrueColourScreen(false);
    setScreenMode(272, 480, static_cast<int>(state.range(0)));
    {
        std::lock_guard guard(display().lock);
        std::mt19937 random(3);
        for (auto& byte : display().screen->pixels) byte = static_cast<std::uint8_t>(random());
    }
    std::vector<std::uint32_t> frame(272 * 480);
    for (auto _ : state) {
        {
            std::lock_guard guard(display().lock);
            display().screen->markAll();
        }
        int first = 0, last = 0;
        screenFeed().takeRows(frame.data(), 272, 480, false, first, last);
        benchmark::DoNotOptimize(frame.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 272 * 480);
}
BENCHMARK(BM_WindowRefreshAllRows)->Arg(8)->Arg(24)->UseRealTime()->Unit(benchmark::kMicrosecond);

// A pass with no row marked: what the window thread costs while nothing is drawn.
void BM_WindowRefreshNothingMarked(benchmark::State& state) {
    openTrueColourScreen(false);
    std::vector<std::uint32_t> frame(272 * 480);
    int first = 0, last = 0;
    screenFeed().takeRows(frame.data(), 272, 480, true, first, last);
    for (auto _ : state) {
        benchmark::DoNotOptimize(screenFeed().takeRows(frame.data(), 272, 480, false, first, last));
    }
}
BENCHMARK(BM_WindowRefreshNothingMarked)->UseRealTime()->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace fogloom::bench
