#include "platform/platform.h"

#include "platform/headless.h"

namespace fogloom::platform {
namespace {
Platform* installed = nullptr;
}

void install(Platform& platform) { installed = &platform; }

Platform& current() {
    // Until a platform is installed, draw without a window and pause for real.
    static HeadlessPlatform fallback;
    return installed != nullptr ? *installed : fallback;
}

}  // namespace fogloom::platform
