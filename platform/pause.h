// The machine's clock and millisecond pause, shared by both platforms.
#pragma once

namespace fogloom::platform {

// Seconds since an arbitrary fixed origin, from the monotonic high-resolution clock.
double monotonicSeconds();
// Sleeps at least `ms` milliseconds; nothing for 0 or less.
void preciseSleepMs(int ms);

}  // namespace fogloom::platform
