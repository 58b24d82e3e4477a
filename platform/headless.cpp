#include "platform/headless.h"

#include "platform/pause.h"

namespace fogloom::platform {

bool HeadlessPlatform::openWindow(int width, int height, const std::string& title) {
    if (!options_.windowsOpen) return false;
    ++windowsOpened_;
    windowOpen_ = true;
    width_ = width;
    height_ = height;
    title_ = title;
    return true;
}

void HeadlessPlatform::closeWindow() { windowOpen_ = false; }

void HeadlessPlatform::setWindowTitle(const std::string& title) { title_ = title; }

void HeadlessPlatform::pauseMs(int ms) {
    pauses_.fetch_add(1, std::memory_order_relaxed);
    if (ms > 0) pausedMs_.fetch_add(ms, std::memory_order_relaxed);
    if (options_.realPauses) preciseSleepMs(ms);
}

void HeadlessPlatform::tone(int frequencyHz, int durationMs) {
    ++tones_;
    lastToneHz_ = frequencyHz;
    lastToneMs_ = durationMs;
    if (options_.realTone) preciseSleepMs(durationMs);
}

double HeadlessPlatform::clockSeconds() { return monotonicSeconds(); }

}  // namespace fogloom::platform
