// fogloom-render: paints one picture without a window, pauses or tone, and writes it as PNG.
//
//   fogloom-render --kind K --layers N --seed S --out FILE.png [--canvas FILE.png]
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "app/main_loop.h"
#include "app/services.h"
#include "layers/picture.h"
#include "platform/headless.h"
#include "surface/screen.h"
#include "tools/png_writer.h"

namespace {

constexpr char Usage[] =
    "usage: fogloom-render --kind K --layers N --seed S --out FILE.png [--canvas FILE.png]\n"
    "  K: circles, triangles, squares, rotated-squares, stars, hexagons\n"
    "  N: number of layers, 1..1000\n"
    "  S: random seed, a whole number\n"
    "  --out writes the 272 x 480 screen, --canvas the whole 544 x 960 canvas\n";

int usage(const std::string& problem) {
    std::fprintf(stderr, "fogloom-render: %s\n%s", problem.c_str(), Usage);
    return 2;
}

std::optional<long long> wholeNumber(const std::string& text, long long low, long long high) {
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || value < low || value > high) return std::nullopt;
    return value;
}

}  // namespace

int main(int argc, char** argv) {
    std::string kindName, layersText, seedText, outPath, canvasPath;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(Usage, stdout);
            return 0;
        }
        std::string* target = nullptr;
        if (arg == "--kind") target = &kindName;
        else if (arg == "--layers") target = &layersText;
        else if (arg == "--seed") target = &seedText;
        else if (arg == "--out") target = &outPath;
        else if (arg == "--canvas") target = &canvasPath;
        else return usage("unknown argument '" + std::string(arg) + "'");
        if (i + 1 >= argc) return usage("missing value after " + std::string(arg));
        *target = argv[++i];
    }
    if (kindName.empty() || layersText.empty() || seedText.empty() || outPath.empty())
        return usage("--kind, --layers, --seed and --out are required");
    const auto kind = fogloom::shapeKindFromName(kindName);
    if (!kind) return usage("unknown kind '" + kindName + "'");
    const auto layers = wholeNumber(layersText, 1, 1000);
    if (!layers) return usage("--layers takes a whole number from 1 to 1000");
    const auto seed = wholeNumber(seedText, -2147483648LL, 4294967295LL);
    if (!seed) return usage("--seed takes a whole number from -2147483648 to 4294967295");
    const fogloom::Renderer render = fogloom::rendererFor(*kind);
    if (render == nullptr) {
        std::fprintf(stderr, "fogloom-render: the kind '%s' can't be drawn yet\n", kindName.c_str());
        return 2;
    }

    fogloom::platform::HeadlessPlatform platform({.realPauses = false, .realTone = false, .windowsOpen = true});
    fogloom::platform::install(platform);
    fogloom::setScreenMode(272, 480, 24);
    fogloom::renewWorkImages();
    auto& picture = fogloom::picture();
    picture.layerCount = static_cast<int>(*layers);
    // Seeds above 2^31 - 1 wrap to the same 32 bits.
    fogloom::seedRandom(static_cast<double>(static_cast<std::int32_t>(static_cast<std::uint32_t>(*seed))));
    render();

    std::string error;
    bool ok;
    {
        std::lock_guard guard(fogloom::display().lock);
        ok = fogloom::tools::writeRgbPng(outPath, fogloom::display().screen->view(), error);
    }
    if (ok && !canvasPath.empty())
        ok = fogloom::tools::writeRgbPng(canvasPath, fogloom::imageView(picture.images.canvas), error);
    fogloom::releaseWorkImages();
    if (!ok) {
        std::fprintf(stderr, "fogloom-render: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
