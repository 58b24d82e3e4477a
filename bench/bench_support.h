// What every benchmark here stands on: a headless platform and an open true-colour screen.
#pragma once

#include <chrono>
#include <cstdint>
#include <random>

#include "platform/headless.h"
#include "surface/image.h"
#include "surface/screen.h"

namespace fogloom::bench {

// The one platform of the benchmark process; each benchmark sets the options it needs.
inline platform::HeadlessPlatform& benchPlatform() {
    static platform::HeadlessPlatform instance({.realPauses = false, .realTone = false, .windowsOpen = true});
    return instance;
}

// Installs the headless platform with these pauses and opens the 272 x 480 true-colour screen.
inline void openTrueColourScreen(bool realPauses) {
    benchPlatform().setOptions({.realPauses = realPauses, .realTone = false, .windowsOpen = true});
    platform::install(benchPlatform());
    setScreenMode(272, 480, 24);
}

// Neutral greys, as every canvas pixel of a picture is.
inline void fillWithGreys(Image* image, std::uint32_t seed) {
    std::mt19937 random(seed);
    const PixelView view = imageView(image);
    for (int y = 0; y < view.height; ++y)
        for (int x = 0; x < view.width; ++x) view.set(x, y, static_cast<std::uint32_t>(random() & 0xFF) * 0x010101u);
}

inline double secondsNow() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

}  // namespace fogloom::bench
