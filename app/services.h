// The program's small services: its random values, its clock and its end-of-picture tone.
#pragma once

namespace fogloom {

// The next random value in [0, 1): a whole multiple of 1/32768, at most 32767/32768.
double randomUnit();
// Seeds the generator with the seed truncated toward zero to 32 bits, then draws and
// throws away one value.
void seedRandom(double seed);
// Seconds since an arbitrary fixed origin.
double clockSeconds();
// A 1000 Hz tone of 250 ms; returns when it has ended.
void beep();

}  // namespace fogloom
