// The real platform: an SDL window served on the process's main thread, SDL audio for the
// tone. The program's logic runs on a second thread and reaches the window through
// requests that the serving thread carries out.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace fogloom::platform {

class SdlPlatform final : public Platform {
public:
    explicit SdlPlatform(WindowFeed& feed);
    ~SdlPlatform() override;
    SdlPlatform(const SdlPlatform&) = delete;
    SdlPlatform& operator=(const SdlPlatform&) = delete;

    // Starts SDL's video on the calling thread, which must then call serve(). False, with
    // the reason, when there is no display to open windows on.
    bool start(std::string& error);
    // Serves the window about every 10 ms until finish() is called or the window system
    // fails. Returns false, with the reason, on a failure.
    bool serve(std::string& error);
    // Ends serve() from any thread.
    void finish();

    bool openWindow(int width, int height, const std::string& title) override;
    void closeWindow() override;
    void setWindowTitle(const std::string& title) override;
    void pauseMs(int ms) override;
    void tone(int frequencyHz, int durationMs) override;
    double clockSeconds() override;

private:
    struct Request;
    struct Window;
    bool submit(Request& request);
    void carryOut(Request& request);
    void handleEvent(const void* event);
    void refresh();
    void openAudio();

    WindowFeed& feed_;
    std::unique_ptr<Window> window_;
    std::mutex requestLock_;
    std::condition_variable requestDone_;
    std::deque<Request*> requests_;
    std::atomic<bool> finished_{false};
    std::atomic<bool> failed_{false};
    std::string failure_;
    std::uint32_t wakeEvent_ = 0;
    bool showEverything_ = true;
    std::vector<std::uint32_t> frame_;
    // Audio, used from the program's thread only.
    bool audioTried_ = false;
    std::uint32_t audioDevice_ = 0;
    int audioRate_ = 0;
    int audioBufferFrames_ = 0;
    std::string audioProblem_;
};

}  // namespace fogloom::platform
