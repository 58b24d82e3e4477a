#include "platform/sdl_platform.h"

#include <SDL.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "platform/codepage.h"
#include "platform/pause.h"

namespace fogloom::platform {
namespace {

constexpr std::uint32_t CloseKeyValue = 107 * 256 + 255;
constexpr std::uint32_t extended(int code) { return static_cast<std::uint32_t>(code) * 256 + 255; }
constexpr int RefreshMs = 10;

// BIOS extended codes of Alt with a letter, 'a'..'z'.
constexpr int AltLetterCodes[26] = {30, 48, 46, 32, 18, 33, 34, 35, 23, 36, 37, 38, 50,
                                    49, 24, 25, 16, 19, 31, 20, 22, 47, 17, 45, 21, 44};

// The key value of a key press that gives no text of its own, or 0 when the press is left
// to the text it types.
std::uint32_t keyValueFor(const SDL_Keysym& key) {
    const SDL_Keycode k = key.sym;
    const Uint16 mod = key.mod;
    const bool alt = (mod & KMOD_LALT) != 0;
    const bool ctrl = (mod & KMOD_CTRL) != 0;
    const bool shift = (mod & KMOD_SHIFT) != 0;
    const bool numLock = (mod & KMOD_NUM) != 0;

    if (k >= SDLK_F1 && k <= SDLK_F10) {
        const int n = static_cast<int>(k - SDLK_F1);
        if (alt) return extended(104 + n);  // Alt+F4 is 107: the close request
        if (ctrl) return extended(94 + n);
        if (shift) return extended(84 + n);
        return extended(59 + n);
    }
    if (k == SDLK_F11) return extended(alt ? 139 : ctrl ? 137 : shift ? 135 : 133);
    if (k == SDLK_F12) return extended(alt ? 140 : ctrl ? 138 : shift ? 136 : 134);

    struct Move { SDL_Keycode key, keypad; int plain, withCtrl; };
    static constexpr Move moves[] = {
        {SDLK_UP, SDLK_KP_8, 72, 141},       {SDLK_DOWN, SDLK_KP_2, 80, 145},
        {SDLK_LEFT, SDLK_KP_4, 75, 115},     {SDLK_RIGHT, SDLK_KP_6, 77, 116},
        {SDLK_HOME, SDLK_KP_7, 71, 119},     {SDLK_END, SDLK_KP_1, 79, 117},
        {SDLK_PAGEUP, SDLK_KP_9, 73, 132},   {SDLK_PAGEDOWN, SDLK_KP_3, 81, 118},
        {SDLK_INSERT, SDLK_KP_0, 82, 146},   {SDLK_DELETE, SDLK_KP_PERIOD, 83, 147}};
    for (const Move& m : moves) {
        // With Num Lock on, the keypad types its digits instead.
        if (k == m.key || (k == m.keypad && !numLock)) return extended(ctrl ? m.withCtrl : m.plain);
    }

    if (alt) {
        if (k >= SDLK_a && k <= SDLK_z) return extended(AltLetterCodes[k - SDLK_a]);
        if (k >= SDLK_1 && k <= SDLK_9) return extended(120 + static_cast<int>(k - SDLK_1));
        if (k == SDLK_0) return extended(129);
        return 0;
    }
    // The keys that type control characters.
    switch (k) {
        case SDLK_RETURN:
        case SDLK_KP_ENTER: return 13;
        case SDLK_BACKSPACE: return 8;
        case SDLK_TAB: return 9;
        case SDLK_ESCAPE: return 27;
        default: break;
    }
    if (ctrl && k >= SDLK_a && k <= SDLK_z) return static_cast<std::uint32_t>(k - SDLK_a + 1);
    return 0;
}

// The program's icon: a small picture of its own, white-rimmed grey squares on black.
SDL_Surface* makeIcon() {
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormat(0, 32, 32, 32, SDL_PIXELFORMAT_RGB888);
    if (icon == nullptr) return nullptr;
    auto* pixels = static_cast<std::uint32_t*>(icon->pixels);
    const int pitch = icon->pitch / 4;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) pixels[y * pitch + x] = 0;
    auto square = [&](int cx, int cy, int s, std::uint32_t rim, std::uint32_t inside) {
        for (int y = cy - s; y <= cy + s; ++y)
            for (int x = cx - s; x <= cx + s; ++x) {
                if (x < 0 || y < 0 || x >= 32 || y >= 32) continue;
                const bool edge = x < cx - s + 2 || x > cx + s - 2 || y < cy - s + 2 || y > cy + s - 2;
                pixels[y * pitch + x] = edge ? rim : inside;
            }
    };
    square(11, 20, 8, 0x5A5A5A, 0x2E2E2E);
    square(20, 11, 9, 0xFFFFFF, 0x7F7F7F);
    return icon;
}

// The X server went away (killed, or the session ended): nothing can be shown any more.
// Xlib gives no way back from here, so end at once with a clear word, without running
// anything that the program's own thread might still be using.
int displayLost(Display*) {
    static constexpr char message[] = "fogloom: the connection to the display was lost; ending\n";
    [[maybe_unused]] const auto written = write(STDERR_FILENO, message, sizeof message - 1);
    std::_Exit(1);
}

}  // namespace

struct SdlPlatform::Request {
    enum class Kind { Open, Close, Title } kind;
    int width = 0, height = 0;
    std::string title;
    bool done = false;
    bool result = false;
};

struct SdlPlatform::Window {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    int width = 0, height = 0;
    ~Window() {
        if (texture != nullptr) SDL_DestroyTexture(texture);
        if (renderer != nullptr) SDL_DestroyRenderer(renderer);
        if (window != nullptr) SDL_DestroyWindow(window);
    }
};

SdlPlatform::SdlPlatform(WindowFeed& feed) : feed_(feed) {}

SdlPlatform::~SdlPlatform() {
    window_.reset();
    if (audioDevice_ != 0) SDL_CloseAudioDevice(audioDevice_);
    SDL_Quit();
}

bool SdlPlatform::start(std::string& error) {
    // Ctrl+C in a terminal ends the program as usual; only the window's close button is held.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        error = SDL_GetError();
        return false;
    }
    // With no display SDL falls back to drivers that draw nowhere; a window nobody can see
    // is no window, unless those drivers were asked for by name.
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* asked = SDL_getenv("SDL_VIDEODRIVER");
    const std::string name = driver != nullptr ? driver : "";
    if ((name == "offscreen" || name == "dummy" || name == "evdev") && (asked == nullptr || name != asked)) {
        SDL_Quit();
        error = "there is no display to show it on (is DISPLAY set?)";
        return false;
    }
    if (name == "x11") XSetIOErrorHandler(&displayLost);
    wakeEvent_ = SDL_RegisterEvents(1);
    SDL_StartTextInput();
    return true;
}

bool SdlPlatform::submit(Request& request) {
    std::unique_lock guard(requestLock_);
    if (finished_ || failed_) return false;
    requests_.push_back(&request);
    SDL_Event wake{};
    wake.type = wakeEvent_;
    SDL_PushEvent(&wake);
    requestDone_.wait(guard, [&] { return request.done || failed_.load(); });
    return request.done && request.result;
}

bool SdlPlatform::openWindow(int width, int height, const std::string& title) {
    Request request{Request::Kind::Open, width, height, title};
    return submit(request);
}

void SdlPlatform::closeWindow() {
    Request request{Request::Kind::Close, 0, 0, {}};
    submit(request);
}

void SdlPlatform::setWindowTitle(const std::string& title) {
    Request request{Request::Kind::Title, 0, 0, title};
    submit(request);
}

void SdlPlatform::carryOut(Request& request) {
    switch (request.kind) {
        case Request::Kind::Close:
            window_.reset();
            request.result = true;
            break;
        case Request::Kind::Title:
            if (window_) SDL_SetWindowTitle(window_->window, windows1252ToUtf8(request.title).c_str());
            request.result = true;
            break;
        case Request::Kind::Open: {
            window_.reset();
            auto w = std::make_unique<Window>();
            w->width = request.width;
            w->height = request.height;
            const std::string caption = windows1252ToUtf8(request.title.empty() ? "fogloom" : request.title);
            w->window = SDL_CreateWindow(caption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                         request.width, request.height, SDL_WINDOW_SHOWN);
            if (w->window == nullptr) {
                failure_ = std::string("cannot open a window: ") + SDL_GetError();
                request.result = false;
                break;
            }
            if (SDL_Surface* icon = makeIcon()) {
                SDL_SetWindowIcon(w->window, icon);
                SDL_FreeSurface(icon);
            }
            w->renderer = SDL_CreateRenderer(w->window, -1, 0);
            if (w->renderer == nullptr) w->renderer = SDL_CreateRenderer(w->window, -1, SDL_RENDERER_SOFTWARE);
            if (w->renderer != nullptr)
                w->texture = SDL_CreateTexture(w->renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                               request.width, request.height);
            if (w->texture == nullptr) {
                failure_ = std::string("cannot draw in the window: ") + SDL_GetError();
                request.result = false;
                break;
            }
            SDL_RaiseWindow(w->window);
            frame_.assign(static_cast<std::size_t>(request.width) * request.height, 0);
            window_ = std::move(w);
            showEverything_ = true;
            request.result = true;
            break;
        }
    }
    if (!request.result) failed_ = true;
}

void SdlPlatform::handleEvent(const void* raw) {
    const auto& event = *static_cast<const SDL_Event*>(raw);
    switch (event.type) {
        case SDL_WINDOWEVENT:
            switch (event.window.event) {
                case SDL_WINDOWEVENT_CLOSE: feed_.keyTyped(CloseKeyValue); break;
                case SDL_WINDOWEVENT_EXPOSED:
                case SDL_WINDOWEVENT_SHOWN:
                case SDL_WINDOWEVENT_RESTORED:
                case SDL_WINDOWEVENT_SIZE_CHANGED: showEverything_ = true; break;
                default: break;
            }
            break;
        case SDL_KEYDOWN:
            if (const std::uint32_t value = keyValueFor(event.key.keysym)) feed_.keyTyped(value);
            break;
        case SDL_TEXTINPUT:
            // Text typed with the left Alt held arrives as an Alt key code instead.
            if ((SDL_GetModState() & KMOD_LALT) != 0) break;
            for (const char32_t c : decodeUtf8(event.text.text)) {
                const int code = cp437FromUnicode(c);
                if (code > 0) feed_.keyTyped(static_cast<std::uint32_t>(code));
            }
            break;
        default:
            break;  // SDL_QUIT follows a close request, which the window event already queued
    }
}

void SdlPlatform::refresh() {
    if (!window_) return;
    int first = 0, last = 0;
    const bool everything = showEverything_;
    if (!feed_.takeRows(frame_.data(), window_->width, window_->height, everything, first, last)) {
        if (!everything) return;
        first = 0;  // no screen behind the window yet: show what the frame holds
        last = window_->height - 1;
    }
    showEverything_ = false;
    const SDL_Rect rows{0, first, window_->width, last - first + 1};
    SDL_UpdateTexture(window_->texture, &rows, frame_.data() + static_cast<std::size_t>(first) * window_->width,
                      window_->width * 4);
    SDL_RenderCopy(window_->renderer, window_->texture, nullptr, nullptr);
    SDL_RenderPresent(window_->renderer);
}

bool SdlPlatform::serve(std::string& error) {
    using Clock = std::chrono::steady_clock;
    auto nextRefresh = Clock::now();
    while (!finished_ && !failed_) {
        {
            std::unique_lock guard(requestLock_);
            while (!requests_.empty()) {
                Request* request = requests_.front();
                requests_.pop_front();
                carryOut(*request);
                request->done = true;
            }
        }
        requestDone_.notify_all();
        if (failed_) break;

        const auto now = Clock::now();
        if (now >= nextRefresh) {
            refresh();
            nextRefresh = now + std::chrono::milliseconds(RefreshMs);
        }
        const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(nextRefresh - Clock::now());
        SDL_Event event;
        if (SDL_WaitEventTimeout(&event, static_cast<int>(std::max<long long>(wait.count(), 1)))) {
            do {
                if (event.type != wakeEvent_) handleEvent(&event);
            } while (SDL_PollEvent(&event));
        }
    }
    {
        std::lock_guard guard(requestLock_);
        for (Request* request : requests_) request->done = true;
        requests_.clear();
    }
    requestDone_.notify_all();
    window_.reset();
    if (failed_) {
        error = failure_;
        return false;
    }
    return true;
}

void SdlPlatform::finish() {
    finished_ = true;
    SDL_Event wake{};
    wake.type = wakeEvent_;
    SDL_PushEvent(&wake);
}

void SdlPlatform::pauseMs(int ms) { preciseSleepMs(ms); }

double SdlPlatform::clockSeconds() {
    return static_cast<double>(SDL_GetPerformanceCounter()) / static_cast<double>(SDL_GetPerformanceFrequency());
}

namespace {

// Sound libraries report a machine without sound card at length on stderr; the program
// says it once, in its own words, instead.
class QuietStderr {
public:
    QuietStderr() : saved_(dup(STDERR_FILENO)) {
        const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (saved_ >= 0 && null >= 0) dup2(null, STDERR_FILENO);
        if (null >= 0) close(null);
    }
    ~QuietStderr() {
        if (saved_ < 0) return;
        dup2(saved_, STDERR_FILENO);
        close(saved_);
    }
    QuietStderr(const QuietStderr&) = delete;
    QuietStderr& operator=(const QuietStderr&) = delete;

private:
    int saved_;
};

}  // namespace

void SdlPlatform::openAudio() {
    audioTried_ = true;
    QuietStderr quiet;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        audioProblem_ = SDL_GetError();
        return;
    }
    SDL_AudioSpec want{};
    want.freq = 48000;
    want.format = AUDIO_S16SYS;
    want.channels = 1;
    want.samples = 512;
    SDL_AudioSpec have{};
    audioDevice_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (audioDevice_ == 0) {
        audioProblem_ = SDL_GetError();
        return;
    }
    audioRate_ = have.freq;
    audioBufferFrames_ = have.samples;
}

void SdlPlatform::tone(int frequencyHz, int durationMs) {
    if (!audioTried_) {
        openAudio();
        if (audioDevice_ == 0)
            std::fprintf(stderr, "fogloom: no sound device (%s); the tone is a silent pause instead\n",
                         audioProblem_.c_str());
    }
    const auto start = std::chrono::steady_clock::now();
    const auto end = start + std::chrono::milliseconds(durationMs);
    if (audioDevice_ != 0 && durationMs > 0) {
        const int frames = audioRate_ * durationMs / 1000;
        const int ramp = std::min(frames / 2, audioRate_ / 200);  // 5 ms in and out: no clicks
        std::vector<Sint16> samples(static_cast<std::size_t>(frames));
        constexpr double Tau = 6.283185307179586;
        for (int i = 0; i < frames; ++i) {
            double level = 0.3;
            if (i < ramp) level *= static_cast<double>(i) / ramp;
            if (frames - 1 - i < ramp) level *= static_cast<double>(frames - 1 - i) / ramp;
            samples[i] = static_cast<Sint16>(32767.0 * level * std::sin(Tau * frequencyHz * i / audioRate_));
        }
        SDL_ClearQueuedAudio(audioDevice_);
        SDL_QueueAudio(audioDevice_, samples.data(), static_cast<Uint32>(samples.size() * sizeof(Sint16)));
        SDL_PauseAudioDevice(audioDevice_, 0);
        while (SDL_GetQueuedAudioSize(audioDevice_) > 0) preciseSleepMs(2);
        // What was handed to the device last still has to be played.
        preciseSleepMs(audioBufferFrames_ * 1000 / std::max(audioRate_, 1));
        SDL_PauseAudioDevice(audioDevice_, 1);
    }
    std::this_thread::sleep_until(end);
}

}  // namespace fogloom::platform
