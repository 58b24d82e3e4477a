// Fogloom: a window of slowly growing, blurring pictures of grey shapes.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "app/main_loop.h"
#include "platform/sdl_platform.h"
#include "surface/presentation.h"
#include "surface/screen.h"

int main() {
    fogloom::platform::SdlPlatform platform(fogloom::screenFeed());
    std::string error;
    if (!platform.start(error)) {
        std::fprintf(stderr, "fogloom: cannot open a window: %s\n", error.c_str());
        return 1;
    }
    fogloom::platform::install(platform);

    // The window is served on this thread; the program itself runs on its own.
    int status = 0;
    std::thread program([&] {
        status = fogloom::runProgram();
        fogloom::closeScreen();
        platform.finish();
    });
    if (!platform.serve(error)) {
        std::fprintf(stderr, "fogloom: %s\n", error.c_str());
        std::fflush(stderr);
        // The program's thread may be anywhere; end without running anything more.
        std::_Exit(1);
    }
    program.join();
    return status;
}
