#include "app/services.h"

#include <cmath>
#include <cstdint>

#include "platform/platform.h"
#include "platform/random.h"

namespace fogloom {
namespace {

platform::Rand15& generator() {
    static platform::Rand15 instance;
    return instance;
}

}  // namespace

double randomUnit() { return generator().next() / 32768.0; }

void seedRandom(double seed) {
    // Truncate toward zero to a 32-bit integer; values beyond its range, and NaN, wrap as
    // their low 32 bits would (NaN seeds as 0) instead of being undefined.
    std::uint32_t value = 0;
    if (std::isfinite(seed)) {
        const double whole = std::trunc(seed);
        const double wrapped = std::fmod(whole, 4294967296.0);
        value = static_cast<std::uint32_t>(static_cast<std::int64_t>(wrapped));
    }
    generator().seed(value);
    generator().next();
}

double clockSeconds() { return platform::current().clockSeconds(); }

void beep() { platform::current().tone(1000, 250); }

}  // namespace fogloom
