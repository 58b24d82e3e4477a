#include "platform/pause.h"

#include <chrono>
#include <thread>

namespace fogloom::platform {

double monotonicSeconds() {
    using Clock = std::chrono::steady_clock;
    return std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
}

void preciseSleepMs(int ms) {
    if (ms <= 0) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace fogloom::platform
