// A platform without a window: the screen lives only in memory. Tests and tools use it.
#pragma once

#include <atomic>
#include <string>

#include "platform/platform.h"

namespace fogloom::platform {

class HeadlessPlatform : public Platform {
public:
    struct Options {
        bool realPauses = true;   // pauseMs really sleeps; otherwise it only counts
        bool realTone = false;    // tone sleeps for its duration; otherwise it only counts
        bool windowsOpen = true;  // false: every openWindow fails, as with no display
    };
    HeadlessPlatform() = default;
    explicit HeadlessPlatform(Options options) : options_(options) {}

    bool openWindow(int width, int height, const std::string& title) override;
    void closeWindow() override;
    void setWindowTitle(const std::string& title) override;
    void pauseMs(int ms) override;
    void tone(int frequencyHz, int durationMs) override;
    double clockSeconds() override;

    // What happened so far, for tests.
    int windowsOpened() const { return windowsOpened_; }
    bool windowOpen() const { return windowOpen_; }
    int windowWidth() const { return width_; }
    int windowHeight() const { return height_; }
    const std::string& windowTitle() const { return title_; }
    long long pauses() const { return pauses_; }
    long long pausedMs() const { return pausedMs_; }
    int tones() const { return tones_; }
    int lastToneHz() const { return lastToneHz_; }
    int lastToneMs() const { return lastToneMs_; }
    void setOptions(Options options) { options_ = options; }

private:
    Options options_{};
    int windowsOpened_ = 0;
    bool windowOpen_ = false;
    int width_ = 0, height_ = 0;
    std::string title_;
    std::atomic<long long> pauses_{0}, pausedMs_{0};
    int tones_ = 0, lastToneHz_ = 0, lastToneMs_ = 0;
};

}  // namespace fogloom::platform
