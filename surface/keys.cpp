#include "surface/keys.h"

#include "platform/platform.h"

namespace fogloom {

void KeyQueue::add(std::uint32_t keyValue) {
    std::lock_guard guard(lock_);
    slots_[write_] = keyValue;
    write_ = (write_ + 1) % Slots;
    if (write_ == read_) read_ = (read_ + 1) % Slots;  // full: drop the oldest
    arrived_ = true;
}

std::string KeyQueue::poll() {
    std::lock_guard guard(lock_);
    arrived_ = false;
    if (read_ == write_) return {};
    const std::uint32_t value = slots_[read_];
    read_ = (read_ + 1) % Slots;
    if (value < 256) return std::string(1, static_cast<char>(value));
    return std::string{static_cast<char>(255), static_cast<char>((value / 256) & 0xFF)};
}

bool KeyQueue::takeArrived() {
    std::lock_guard guard(lock_);
    const bool was = arrived_;
    arrived_ = false;
    return was;
}

int KeyQueue::size() const {
    std::lock_guard guard(lock_);
    return (write_ - read_ + Slots) % Slots;
}

void KeyQueue::clear() {
    std::lock_guard guard(lock_);
    read_ = write_ = 0;
    arrived_ = false;
}

KeyQueue& keyQueue() {
    static KeyQueue queue;
    return queue;
}

std::string pollKey() { return keyQueue().poll(); }

void sleepMs(int ms) {
    auto& platform = platform::current();
    if (ms == -1) {
        while (!keyQueue().takeArrived()) platform.pauseMs(50);
        return;
    }
    if (ms < 100) {
        platform.pauseMs(ms);
        return;
    }
    int remaining = ms;
    while (remaining > 50) {
        if (keyQueue().takeArrived()) return;
        platform.pauseMs(50);
        remaining -= 50;
    }
    platform.pauseMs(remaining);
}

}  // namespace fogloom
