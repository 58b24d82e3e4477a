// A 15-bit pseudo-random generator with the results of the classic C runtime's rand():
// state = state * 214013 + 2531011 (mod 2^32), result = bits 16..30 of the new state.
// A seed therefore gives the same sequence on every machine.
#pragma once

#include <cstdint>

namespace fogloom::platform {

class Rand15 {
public:
    static constexpr int Max = 32767;
    void seed(std::uint32_t seed) { state_ = seed; }
    int next() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 0x7FFF);
    }

private:
    std::uint32_t state_ = 1;
};

}  // namespace fogloom::platform
