// The keyboard and the pauses: the key queue that the window fills, the poll that empties
// it, and the millisecond pause.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>

namespace fogloom {

// A key without a character: its IBM PC BIOS extended code * 256 + 255.
constexpr std::uint32_t extendedKey(int code) { return static_cast<std::uint32_t>(code) * 256 + 255; }
// The user asked to close the window (close button, Alt+F4).
inline constexpr std::uint32_t CloseKey = extendedKey(107);

// A ring of 16 slots holding at most 15 keys; when full, the oldest key is dropped.
// Safe to fill from the window thread while the program's thread polls it.
class KeyQueue {
public:
    static constexpr int Slots = 16;
    // Adds a key value: 1..255 a code page 437 character, code * 256 + 255 an extended key.
    void add(std::uint32_t keyValue);
    // Takes the oldest key out as text: "" when empty, one character for a character,
    // character 255 followed by the code for an extended key.
    std::string poll();
    // Tests and clears the key-arrived flag.
    bool takeArrived();
    int size() const;
    void clear();

private:
    mutable std::mutex lock_;
    std::uint32_t slots_[Slots]{};
    int read_ = 0;
    int write_ = 0;
    bool arrived_ = false;
};

// The one queue of the process; it lives as long as the program and survives every mode switch.
KeyQueue& keyQueue();

// The oldest queued key as text, or "" at once when none is waiting.
std::string pollKey();
// Pauses `ms` milliseconds. Below 100 (and above -1) a plain pause that no key shortens;
// -1 waits, 50 ms a step, for a key to arrive; 100 or more ends early when a key arrives,
// leaving the key queued.
void sleepMs(int ms);

}  // namespace fogloom
