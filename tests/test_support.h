// Shared test set-up: a headless platform with no real pauses, and helpers for images.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "app/services.h"
#include "layers/picture.h"
#include "platform/headless.h"
#include "surface/image.h"
#include "surface/keys.h"
#include "surface/screen.h"

namespace fogloom::testing {

// Installs a fresh headless platform for each test, empties the key queue and closes any
// screen a previous test left open.
class HeadlessTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform_.setOptions({.realPauses = false, .realTone = false, .windowsOpen = true});
        platform::install(platform_);
        closeScreen();
        keyQueue().clear();
    }
    void TearDown() override {
        picture() = {};
        for (Image* image : owned_) destroyImage(image);
        closeScreen();
        keyQueue().clear();
    }
    // An image that the test releases at the end.
    Image* ownedImage(int width, int height, std::uint32_t fill, int bytesPerPixel = 4) {
        Image* image = allocateImage(width, height, bytesPerPixel, fill);
        owned_.push_back(image);
        return image;
    }
    std::uint32_t pixel(Image* image, int x, int y) { return imageView(image).get(x, y); }
    // Work images for a picture (mask-coloured, as the main loop makes them), set as the
    // process-wide ones together with the layer count; released with the test.
    WorkImages& usePictureImages(int layerCount) {
        picture().images = {ownedImage(CanvasWidth, CanvasHeight, MaskColor),
                            ownedImage(CanvasWidth, CanvasHeight, MaskColor), ownedImage(StampSize, StampSize, MaskColor)};
        picture().layerCount = layerCount;
        return picture().images;
    }
    // How many values randomUnit gave since seedRandom(seed), found by replaying the sequence
    // until the next few values agree. Consumes those values.
    static int randomCallsSince(double seed) {
        constexpr int Run = 6;
        double next[Run];
        for (double& u : next) u = randomUnit();
        seedRandom(seed);
        std::vector<double> replay;
        for (int calls = 0; calls < 1000000; ++calls) {
            while (static_cast<int>(replay.size()) < calls + Run) replay.push_back(randomUnit());
            if (std::equal(next, next + Run, replay.begin() + calls)) return calls;
        }
        return -1;
    }
    std::uint32_t screenPixel(int x, int y) {
        std::lock_guard guard(display().lock);
        return display().screen->view().get(x, y);
    }

    platform::HeadlessPlatform platform_;

private:
    std::vector<Image*> owned_;
};

// The same with the 272 x 480 true-colour screen open, as the pictures have it.
class TrueColourTest : public HeadlessTest {
protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        ASSERT_TRUE(setScreenMode(272, 480, 24));
    }
};

// The same with the 272 x 480 8-bit screen open, as the menus have it.
class EightBitTest : public HeadlessTest {
protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        ASSERT_TRUE(setScreenMode(272, 480, 8));
    }
    // Every pixel of the screen, as palette indices.
    std::vector<std::uint8_t> screenPixels() {
        std::lock_guard guard(display().lock);
        return display().screen->pixels;
    }
};

}  // namespace fogloom::testing
