// Drives the drawing API with random calls and arguments: sizes at and past the limits,
// huge, negative and non-finite positions, images of the wrong depth, copies out of range,
// blits half or wholly outside, flood fills on every kind of target, text and palette
// registers. Under AddressSanitizer and UndefinedBehaviorSanitizer any write outside a
// buffer, any undefined conversion and any leak is a finding.
//
// FOGLOOM_FUZZ_CALLS=N ends the run (status 0) once N calls have been made.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

#include "platform/headless.h"
#include "surface/blit.h"
#include "surface/image.h"
#include "surface/keys.h"
#include "surface/palette.h"
#include "surface/raster.h"
#include "surface/screen.h"
#include "surface/text.h"

namespace {

using namespace fogloom;

constexpr int MaxCallsPerInput = 256;
// Larger pictures only make each call slower; the limits are still met by thin images
// (8191 x 1, 1 x 65535) and by the screen size the program uses.
constexpr long long MaxImagePixels = 272 * 480;

long long callsMade = 0;
long long inputsRun = 0;
long long callLimit = 0;
platform::HeadlessPlatform* headless = nullptr;

float pickFloat(FuzzedDataProvider& data) {
    static constexpr float special[] = {
        0.0f, -0.0f, 0.5f, -0.5f, 1.5f, -2.5f, 63.0f, 127.0f, 128.0f, 271.0f, 272.0f, 479.0f, 480.0f,
        543.0f, 959.0f, -1.0f, -136.0f, -240.0f, 8191.0f, 65535.0f, 2147483520.0f, -2147483648.0f, 1e10f,
        -1e10f, FLT_MAX, -FLT_MAX, FLT_MIN, std::numeric_limits<float>::denorm_min(),
        std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
        std::numeric_limits<float>::quiet_NaN()};
    switch (data.ConsumeIntegralInRange(0, 3)) {
        case 0: return data.PickValueInArray(special);
        case 1: return static_cast<float>(data.ConsumeIntegralInRange(-300, 1100));
        case 2: return data.ConsumeFloatingPointInRange(-2000.0f, 2000.0f);
        default: {
            const auto bits = data.ConsumeIntegral<std::uint32_t>();
            float value;
            std::memcpy(&value, &bits, sizeof value);
            return value;
        }
    }
}

int pickSize(FuzzedDataProvider& data) {
    static constexpr int sizes[] = {-65536, -1, 0, 1, 2, 3, 7, 8, 64, 127, 128, 272, 480, 544, 960,
                                    8191, 8192, 65535, 65536, std::numeric_limits<int>::max(),
                                    std::numeric_limits<int>::min()};
    return data.ConsumeBool() ? data.PickValueInArray(sizes) : data.ConsumeIntegralInRange(-4, 1100);
}

std::uint32_t pickColour(FuzzedDataProvider& data) {
    static constexpr std::uint32_t colours[] = {0, White, Grey, MaskColor, 0xFFFF00FF, NoColor, 0xFFFFFFFF, 15, 31};
    return data.ConsumeBool() ? data.PickValueInArray(colours) : data.ConsumeIntegral<std::uint32_t>();
}

struct Slots {
    std::array<Image*, 6> images{};
    Image*& pick(FuzzedDataProvider& data) { return images[data.ConsumeIntegralInRange<std::size_t>(0, 5)]; }
    void releaseAll() {
        for (Image*& image : images) {
            destroyImage(image);
            image = nullptr;
        }
    }
};

Surface pickSurface(FuzzedDataProvider& data, Slots& slots) {
    if (data.ConsumeIntegralInRange(0, 3) == 0) return Surface::screen();
    return Surface(slots.pick(data));
}

void runOne(FuzzedDataProvider& data, Slots& slots) {
    ++callsMade;
    switch (data.ConsumeIntegralInRange(0, 15)) {
        case 0: {
            static constexpr int depths[] = {8, 15, 16, 24, 32, 0, 12, -8, 64};
            int w = pickSize(data), h = pickSize(data);
            if (static_cast<long long>(w) * h > MaxImagePixels && w > 0 && h > 0) h = 1 + h % 4;
            setScreenMode(w, h, data.PickValueInArray(depths));
            break;
        }
        case 1: {
            Image*& slot = slots.pick(data);
            destroyImage(slot);
            int w = pickSize(data), h = pickSize(data);
            if (static_cast<long long>(w) * h > MaxImagePixels && w > 0 && h > 0) h = 1 + h % 4;
            slot = createImage(w, h, pickColour(data));
            break;
        }
        case 2: {
            Image*& slot = slots.pick(data);
            destroyImage(slot);
            slot = nullptr;
            break;
        }
        case 3: {
            const Surface target = pickSurface(data, slots);
            const float x1 = pickFloat(data), y1 = pickFloat(data), x2 = pickFloat(data), y2 = pickFloat(data);
            fillBox(target, x1, y1, x2, y2, pickColour(data));
            break;
        }
        case 4: {
            const Surface source = pickSurface(data, slots);
            const float x1 = pickFloat(data), y1 = pickFloat(data), x2 = pickFloat(data), y2 = pickFloat(data);
            copyOut(source, x1, y1, x2, y2, slots.pick(data));
            break;
        }
        case 5: {
            static constexpr int modes[] = {0, 1, 6, 2, -1, 7};
            static constexpr int alphas[] = {-1, 0, 1, 63, 127, 254, 255, 256, 1000, -1000};
            const Surface target = pickSurface(data, slots);
            const float x = pickFloat(data), y = pickFloat(data);
            Image* image = slots.pick(data);
            const auto mode = static_cast<BlitMode>(data.PickValueInArray(modes));
            blit(target, x, y, image, mode, data.ConsumeBool() ? data.PickValueInArray(alphas) : data.ConsumeIntegral<int>());
            break;
        }
        case 6: {
            const Surface target = pickSurface(data, slots);
            const float x1 = pickFloat(data), y1 = pickFloat(data), x2 = pickFloat(data), y2 = pickFloat(data);
            drawLine(target, x1, y1, x2, y2, pickColour(data));
            break;
        }
        case 7: {
            const Surface target = pickSurface(data, slots);
            const float x = pickFloat(data), y = pickFloat(data), r = pickFloat(data);
            fillCircle(target, x, y, r, pickColour(data));
            break;
        }
        case 8: {
            const Surface target = pickSurface(data, slots);
            const float x = pickFloat(data), y = pickFloat(data);
            const std::uint32_t fill = pickColour(data);
            floodFill(target, x, y, fill, pickColour(data));
            break;
        }
        case 9: locate(data.ConsumeIntegralInRange(-2, 70), data.ConsumeIntegralInRange(-2, 40)); break;
        case 10: {
            const bool newline = data.ConsumeBool();
            printText(data.ConsumeRandomLengthString(80), newline);
            break;
        }
        case 11:
            if (data.ConsumeBool()) setColor(pickColour(data));
            else setColor(pickColour(data), pickColour(data));
            break;
        case 12: clearScreen(); break;
        case 13: {
            static constexpr std::uint16_t ports[] = {0x3C7, 0x3C8, 0x3C9, 0x3C6, 0};
            const std::uint16_t port = data.PickValueInArray(ports);
            if (data.ConsumeBool()) portOut(port, data.ConsumeIntegral<std::uint8_t>());
            else portIn(port);
            break;
        }
        case 14:
            if (data.ConsumeBool()) keyQueue().add(data.ConsumeIntegral<std::uint32_t>());
            else pollKey();
            break;
        default: setWindowTitle(data.ConsumeRandomLengthString(300)); break;
    }
}

void report() {
    std::printf("fuzzed %lld calls of the drawing API in %lld inputs\n", callsMade, inputsRun);
    std::fflush(stdout);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    static platform::HeadlessPlatform platform({.realPauses = false, .realTone = false, .windowsOpen = true});
    headless = &platform;
    platform::install(platform);
    if (const char* limit = std::getenv("FOGLOOM_FUZZ_CALLS")) callLimit = std::atoll(limit);
    std::atexit(report);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    Slots slots;
    closeScreen();
    keyQueue().clear();
    ++inputsRun;
    for (int i = 0; i < MaxCallsPerInput && data.remaining_bytes() > 0; ++i) runOne(data, slots);
    slots.releaseAll();
    closeScreen();
    if (callLimit > 0 && callsMade >= callLimit) {
        report();
        std::_Exit(0);
    }
    return 0;
}
