// Shared test set-up: a headless platform with no real pauses, and helpers for images.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

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
    std::uint32_t screenPixel(int x, int y) {
        std::lock_guard guard(display().lock);
        return display().screen->view().get(x, y);
    }

    platform::HeadlessPlatform platform_;

private:
    std::vector<Image*> owned_;
};

}  // namespace fogloom::testing
