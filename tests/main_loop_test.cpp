// The main loop's turns and the lifetime of the work images.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <thread>

#include "app/main_loop.h"
#include "app/services.h"
#include "test_support.h"

namespace fogloom {
namespace {

class MainLoopTest : public testing::HeadlessTest {
protected:
    void TearDown() override {
        releaseWorkImages();
        HeadlessTest::TearDown();
    }
    void queue(std::initializer_list<std::uint32_t> keys) {
        for (const std::uint32_t key : keys) keyQueue().add(key);
    }
};

TEST_F(MainLoopTest, TurnsReleaseTheirImagesBeforeMakingNewOnes) {
    const int before = liveImageCount();
    resetPeakImageCount();
    seedRandom(11);
    // Every kind once, with a key after each picture; the last turn quits.
    for (std::uint32_t kind = '1'; kind <= '6'; ++kind) {
        queue({kind, '1', ' '});
        ASSERT_TRUE(runTurn());
        EXPECT_EQ(liveImageCount() - before, 3);
        EXPECT_EQ(imageWidth(picture().images.canvas), 544);
        EXPECT_EQ(imageHeight(picture().images.canvas), 960);
        EXPECT_EQ(imageWidth(picture().images.stamp), 128);
        EXPECT_EQ(keyQueue().size(), 0);
    }
    EXPECT_EQ(peakImageCount() - before, 3) << "never more than three images at once";
    EXPECT_EQ(platform_.tones(), 6);
    queue({'7'});
    EXPECT_FALSE(runTurn());
    releaseWorkImages();
    EXPECT_EQ(liveImageCount(), before);
}

TEST_F(MainLoopTest, KeysTypedDuringAPictureAreReadByTheWaitAndTheNextMenus) {
    // "3" twice during the picture: the first ends the wait, the second picks squares.
    queue({'3', '1', '3', '3', '2', CloseKey});
    ASSERT_TRUE(runTurn());
    EXPECT_EQ(picture().layerCount, 10);
    ASSERT_TRUE(runTurn());
    EXPECT_EQ(picture().layerCount, 20);
    EXPECT_EQ(platform_.tones(), 2);
    EXPECT_EQ(keyQueue().size(), 0);
}

TEST_F(MainLoopTest, TheWaitPollsEveryTwoMilliseconds) {
    queue({'3', '1'});
    // No key after the picture yet: the wait goes on until one arrives.
    std::thread late([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        keyQueue().add(CloseKey);
    });
    platform_.setOptions({.realPauses = true, .realTone = false, .windowsOpen = true});
    ASSERT_TRUE(runTurn());
    late.join();
    EXPECT_EQ(keyQueue().size(), 0);
}

TEST_F(MainLoopTest, StartUpSeedsFromTheClockAndNamesTheWindow) {
    startProgram();
    const double seed = std::trunc(clockSeconds());
    const double first = randomUnit();
    seedRandom(seed);
    // Within the same second of the clock the sequence is the same.
    if (std::trunc(clockSeconds()) == seed) {
        EXPECT_EQ(first, randomUnit());
    }
    ASSERT_TRUE(setScreenMode(272, 480, 8));
    EXPECT_EQ(platform_.windowTitle(), "QEV\x92s Fogloom \x97 3");
}

}  // namespace
}  // namespace fogloom
