// The key queue, the poll and the pauses.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "app/services.h"
#include "layers/pipeline.h"
#include "test_support.h"

namespace fogloom {
namespace {

using KeysTest = testing::HeadlessTest;

std::string extendedText(char code) { return std::string{static_cast<char>(255), code}; }

TEST_F(KeysTest, PollTurnsKeyValuesIntoText) {
    const struct { std::uint32_t value; std::string text; } cases[] = {
        {'1', "1"},
        {1, "\x01"},
        {255, "\xFF"},
        {extendedKey(72), extendedText('H')},  // cursor up
        {extendedKey(80), extendedText('P')},  // cursor down
        {extendedKey(59), extendedText(';')},  // F1
        {CloseKey, extendedText('k')},
    };
    for (const auto& c : cases) keyQueue().add(c.value);
    for (const auto& c : cases) EXPECT_EQ(pollKey(), c.text);
    EXPECT_EQ(pollKey(), "");
    EXPECT_EQ(CloseKey, 27647u);
}

TEST_F(KeysTest, AFullQueueKeepsTheLastFifteen) {
    for (int i = 1; i <= 16; ++i) keyQueue().add(static_cast<std::uint32_t>('A' + i - 1));
    EXPECT_EQ(keyQueue().size(), 15);
    for (int i = 2; i <= 16; ++i) EXPECT_EQ(pollKey(), std::string(1, static_cast<char>('A' + i - 1)));
    EXPECT_EQ(pollKey(), "");
}

TEST_F(KeysTest, AStormOfKeysLeavesTheNewestFifteenInOrder) {
    for (std::uint32_t i = 0; i < 1000; ++i) keyQueue().add(i % 3 == 2 ? CloseKey : (i % 3 == 1 ? extendedKey(72) : 'a' + i % 26));
    std::string expected[15];
    for (std::uint32_t i = 985, k = 0; i < 1000; ++i, ++k)
        expected[k] = i % 3 == 2 ? extendedText('k') : (i % 3 == 1 ? extendedText('H') : std::string(1, static_cast<char>('a' + i % 26)));
    for (const auto& text : expected) EXPECT_EQ(pollKey(), text);
    EXPECT_EQ(pollKey(), "");
}

TEST_F(KeysTest, ShortPausesIgnoreKeysAndLongOnesEndOnAKey) {
    keyQueue().add('5');
    sleepMs(20);
    EXPECT_EQ(platform_.pausedMs(), 20);
    EXPECT_EQ(keyQueue().size(), 1) << "a short pause neither ends early nor consumes the key";

    // The key arrived before this pause: it ends at the first look, leaving the key queued.
    sleepMs(500);
    EXPECT_EQ(platform_.pausedMs(), 20);
    EXPECT_EQ(pollKey(), "5");

    sleepMs(120);  // no key: two looks of 50 ms, then the last 20 ms
    EXPECT_EQ(platform_.pausedMs(), 140);
    sleepMs(0);
    sleepMs(-5);
    EXPECT_EQ(platform_.pausedMs(), 140);
}

TEST_F(KeysTest, PollClearsTheArrivedFlag) {
    keyQueue().add('x');
    EXPECT_EQ(pollKey(), "x");
    sleepMs(150);  // the poll took the arrival, so the long pause runs in full
    EXPECT_EQ(platform_.pausedMs(), 150);
}

// The window thread keeps adding keys while the program's thread draws a picture.
TEST_F(KeysTest, AKeyStormDuringAPictureKeepsTheLastFifteen) {
    ASSERT_TRUE(setScreenMode(272, 480, 24));
    usePictureImages(10);
    seedRandom(3);
    auto valueOf = [](std::uint32_t i) {
        return i % 3 == 0 ? CloseKey : i % 3 == 1 ? extendedKey(72) : static_cast<std::uint32_t>('0' + i % 10);
    };
    std::thread storm([&] {
        for (std::uint32_t i = 0; i < 1000; ++i) {
            keyQueue().add(valueOf(i));
            if (i % 64 == 0) std::this_thread::yield();
        }
    });
    renderSquares();
    storm.join();
    EXPECT_EQ(platform_.tones(), 1);
    ASSERT_EQ(keyQueue().size(), 15);
    for (std::uint32_t i = 985; i < 1000; ++i) {
        const std::uint32_t value = valueOf(i);
        const std::string expected =
            value < 256 ? std::string(1, static_cast<char>(value)) : extendedText(static_cast<char>(value / 256));
        EXPECT_EQ(pollKey(), expected) << i;
    }
    EXPECT_EQ(pollKey(), "");
}

}  // namespace
}  // namespace fogloom
