// The blends of one layer: the canvas copy and the 18 Alpha blends, fused and blit by blit,
// at every kernel level; and one Alpha blit beside SDL's own blended blit of the same size.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>

#include "bench/bench_support.h"
#include "surface/blend_kernels.h"
#include "surface/blit.h"
#include "surface/blur.h"

#if defined(FOGLOOM_BENCH_WITH_SDL)
#include <SDL.h>
#endif

namespace fogloom::bench {
namespace {

// Each layer is paced by 18 pauses of 1 ms: the floor its compute is weighed against.
constexpr double PacingFloorSeconds = 0.018;
constexpr int Blends = 18;

// The canvas and the snapshot of a picture, made on an open true-colour screen.
struct WorkPair {
    Image* canvas;
    Image* snapshot;
    WorkPair() {
        openTrueColourScreen(false);
        canvas = createImage(544, 960, NoColor);
        snapshot = createImage(544, 960, NoColor);
        fillWithGreys(canvas, 1);
        copyOut(canvas, 0, 0, 543, 959, snapshot);
    }
    ~WorkPair() {
        destroyImage(canvas);
        destroyImage(snapshot);
    }
    WorkPair(const WorkPair&) = delete;
    WorkPair& operator=(const WorkPair&) = delete;
};

// Runs `body` once per iteration and reports its mean time, in ms and as a share of the
// 18 ms pacing floor.
template <class Body>
void runPerLayer(benchmark::State& state, Body body) {
    double seconds = 0;
    for (auto _ : state) {
        const double start = secondsNow();
        body();
        benchmark::ClobberMemory();
        seconds += secondsNow() - start;
    }
    const double mean = state.iterations() > 0 ? seconds / static_cast<double>(state.iterations()) : 0;
    state.counters["layer_ms"] = mean * 1e3;
    state.counters["share_of_18ms"] = mean / PacingFloorSeconds;
}

// The Alpha row the blur started from: channel by channel, one pixel at a time. Kept here
// to show what the kernels gained.
void plainAlphaRow(std::uint32_t* target, const std::uint32_t* source, int count, int alpha) {
    const int factor = alpha + 1;
    for (int i = 0; i < count; ++i) {
        const std::uint32_t s = source[i];
        const std::uint32_t t = target[i];
        const int tb = static_cast<int>(t & 0xFF), tg = static_cast<int>((t >> 8) & 0xFF),
                  tr = static_cast<int>((t >> 16) & 0xFF);
        const int sb = static_cast<int>(s & 0xFF), sg = static_cast<int>((s >> 8) & 0xFF),
                  sr = static_cast<int>((s >> 16) & 0xFF);
        const auto b = static_cast<std::uint32_t>(tb + (((sb - tb) * factor) >> 8));
        const auto g = static_cast<std::uint32_t>(tg + (((sg - tg) * factor) >> 8));
        const auto r = static_cast<std::uint32_t>(tr + (((sr - tr) * factor) >> 8));
        target[i] = isMaskPixel(s) ? t : ((r << 16) | (g << 8) | b);
    }
}

using RowFunction = void (*)(std::uint32_t*, const std::uint32_t*, int, int);

// 18 blits of the whole snapshot, one after another, with the given row function.
void eighteenBlits(const PixelView& canvas, const PixelView& snapshot, RowFunction row) {
    for (int pass = 0; pass < 2; ++pass)
        for (int dx = -2; dx <= 0; ++dx)
            for (int dy = -1; dy <= 1; ++dy) {
                const int top = dy > 0 ? dy : 0;
                const int bottom = dy < 0 ? canvas.height + dy : canvas.height;
                for (int y = top; y < bottom; ++y)
                    row(canvas.row32(y), snapshot.row32(y - dy) - dx, canvas.width + dx, 63);
            }
}

const BlendKernels* kernelsForArgument(benchmark::State& state) {
    const BlendKernels* kernels = blendKernels(static_cast<KernelLevel>(state.range(0)));
    if (kernels == nullptr) state.SkipWithError("this kernel level is not available here");
    return kernels;
}

// --- One layer: copy plus 18 blends ---

// As the pipeline runs it: copyOut, then blurCanvas's blurBlits (the fastest level).
void BM_LayerCompute(benchmark::State& state) {
    WorkPair work;
    runPerLayer(state, [&] {
        copyOut(work.canvas, 0, 0, 543, 959, work.snapshot);
        blurBlits(work.canvas, work.snapshot, 63, 2);
    });
}
BENCHMARK(BM_LayerCompute)->UseRealTime()->Unit(benchmark::kMillisecond);

// The fused blur at one level (0 portable, 1 SSE2, 2 AVX2), with the copy.
void BM_LayerComputeFusedAtLevel(benchmark::State& state) {
    WorkPair work;
    const BlendKernels* kernels = kernelsForArgument(state);
    if (kernels == nullptr) return;
    runPerLayer(state, [&] {
        copyOut(work.canvas, 0, 0, 543, 959, work.snapshot);
        blurPixelsWith(*kernels, imageView(work.canvas), imageView(work.snapshot), 63, 2);
    });
}
BENCHMARK(BM_LayerComputeFusedAtLevel)->Arg(0)->Arg(1)->Arg(2)->UseRealTime()->Unit(benchmark::kMillisecond);

// 18 separate blits with one level's Alpha row, with the copy.
void BM_LayerComputeBlitByBlitAtLevel(benchmark::State& state) {
    WorkPair work;
    const BlendKernels* kernels = kernelsForArgument(state);
    if (kernels == nullptr) return;
    runPerLayer(state, [&] {
        copyOut(work.canvas, 0, 0, 543, 959, work.snapshot);
        eighteenBlits(imageView(work.canvas), imageView(work.snapshot), kernels->alphaRow);
    });
}
BENCHMARK(BM_LayerComputeBlitByBlitAtLevel)->Arg(0)->Arg(1)->Arg(2)->UseRealTime()->Unit(benchmark::kMillisecond);

// Where the blur started: 18 blits with the plain channel-by-channel row.
void BM_LayerComputePlainRows(benchmark::State& state) {
    WorkPair work;
    runPerLayer(state, [&] {
        copyOut(work.canvas, 0, 0, 543, 959, work.snapshot);
        eighteenBlits(imageView(work.canvas), imageView(work.snapshot), plainAlphaRow);
    });
}
BENCHMARK(BM_LayerComputePlainRows)->UseRealTime()->Unit(benchmark::kMillisecond);

// The copy alone.
void BM_CanvasCopy(benchmark::State& state) {
    WorkPair work;
    runPerLayer(state, [&] { copyOut(work.canvas, 0, 0, 543, 959, work.snapshot); });
}
BENCHMARK(BM_CanvasCopy)->UseRealTime()->Unit(benchmark::kMillisecond);

// --- One Alpha blit of 544 x 960 ---

void BM_AlphaBlit(benchmark::State& state) {
    WorkPair work;
    for (auto _ : state) {
        blit(work.canvas, 0, 0, work.snapshot, BlitMode::Alpha, 63);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 544 * 960);
}
BENCHMARK(BM_AlphaBlit)->UseRealTime()->Unit(benchmark::kMicrosecond);

void BM_AlphaBlitAtLevel(benchmark::State& state) {
    WorkPair work;
    const BlendKernels* kernels = kernelsForArgument(state);
    if (kernels == nullptr) return;
    const PixelView canvas = imageView(work.canvas), snapshot = imageView(work.snapshot);
    for (auto _ : state) {
        for (int y = 0; y < 960; ++y) kernels->alphaRow(canvas.row32(y), snapshot.row32(y), 544, 63);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 544 * 960);
}
BENCHMARK(BM_AlphaBlitAtLevel)->Arg(0)->Arg(1)->Arg(2)->UseRealTime()->Unit(benchmark::kMicrosecond);

#if defined(FOGLOOM_BENCH_WITH_SDL)

// SDL's blended blit with a surface alpha of 64 (a quarter) on XRGB surfaces of the same size.
struct SdlPair {
    SDL_Surface* target = SDL_CreateRGBSurfaceWithFormat(0, 544, 960, 32, SDL_PIXELFORMAT_RGB888);
    SDL_Surface* source = SDL_CreateRGBSurfaceWithFormat(0, 544, 960, 32, SDL_PIXELFORMAT_RGB888);
    SdlPair(const WorkPair& work) {
        std::memcpy(target->pixels, imageView(work.canvas).data, 544 * 960 * 4);
        std::memcpy(source->pixels, imageView(work.snapshot).data, 544 * 960 * 4);
        SDL_SetSurfaceBlendMode(source, SDL_BLENDMODE_BLEND);
        SDL_SetSurfaceAlphaMod(source, 64);
    }
    ~SdlPair() {
        SDL_FreeSurface(target);
        SDL_FreeSurface(source);
    }
    SdlPair(const SdlPair&) = delete;
    SdlPair& operator=(const SdlPair&) = delete;
    bool ok() const { return target != nullptr && source != nullptr && target->pitch == 544 * 4; }
};

void BM_SdlBlendBlit(benchmark::State& state) {
    WorkPair work;
    SdlPair sdl(work);
    if (!sdl.ok()) {
        state.SkipWithError("SDL could not make the surfaces");
        return;
    }
    for (auto _ : state) {
        SDL_BlitSurface(sdl.source, nullptr, sdl.target, nullptr);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 544 * 960);
}
BENCHMARK(BM_SdlBlendBlit)->UseRealTime()->Unit(benchmark::kMicrosecond);

// Both blits in turn within each iteration, so that both see the same moments of a noisy
// machine; sdl_over_fogloom is SDL's time divided by ours.
void BM_AlphaBlitVersusSdl(benchmark::State& state) {
    WorkPair work;
    SdlPair sdl(work);
    if (!sdl.ok()) {
        state.SkipWithError("SDL could not make the surfaces");
        return;
    }
    double ours = 0, theirs = 0;
    for (auto _ : state) {
        const double t0 = secondsNow();
        blit(work.canvas, 0, 0, work.snapshot, BlitMode::Alpha, 63);
        benchmark::ClobberMemory();
        const double t1 = secondsNow();
        SDL_BlitSurface(sdl.source, nullptr, sdl.target, nullptr);
        benchmark::ClobberMemory();
        const double t2 = secondsNow();
        ours += t1 - t0;
        theirs += t2 - t1;
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["fogloom_us"] = ours / n * 1e6;
    state.counters["sdl_us"] = theirs / n * 1e6;
    state.counters["sdl_over_fogloom"] = ours > 0 ? theirs / ours : 0;
}
BENCHMARK(BM_AlphaBlitVersusSdl)->UseRealTime()->Unit(benchmark::kMicrosecond);

#endif

}  // namespace
}  // namespace fogloom::bench
