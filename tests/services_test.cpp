// The random values and the character conversions at the window's edge.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/services.h"
#include "platform/codepage.h"
#include "platform/random.h"

namespace fogloom {
namespace {

TEST(RandomTest, MatchesTheClassicRuntimeSequence) {
    platform::Rand15 generator;
    generator.seed(1);
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
    for (const int value : expected) EXPECT_EQ(generator.next(), value);
}

TEST(RandomTest, SeedingDropsTheFirstValue) {
    seedRandom(1.9);  // truncated to 1
    EXPECT_EQ(randomUnit(), 18467 / 32768.0);
    seedRandom(-1.5);  // truncated to -1, as 32 bits 0xFFFFFFFF
    platform::Rand15 reference;
    reference.seed(0xFFFFFFFFu);
    reference.next();
    EXPECT_EQ(randomUnit(), reference.next() / 32768.0);
}

TEST(RandomTest, UnitStaysBelowOne) {
    seedRandom(12345);
    double largest = 0;
    for (int i = 0; i < 200000; ++i) largest = std::max(largest, randomUnit());
    EXPECT_EQ(largest, 32767 / 32768.0);
}

TEST(RandomTest, SeedsOutsideThe32BitRangeAreSafe) {
    for (const double seed : {1e300, -1e300, std::numeric_limits<double>::quiet_NaN(),
                              std::numeric_limits<double>::infinity(), 4294967296.0 + 7}) {
        seedRandom(seed);
        const double u = randomUnit();
        EXPECT_GE(u, 0.0);
        EXPECT_LT(u, 1.0);
    }
    seedRandom(4294967296.0 + 7);  // wraps to 7
    const double wrapped = randomUnit();
    seedRandom(7);
    EXPECT_EQ(wrapped, randomUnit());
}

TEST(CodepageTest, TitleBecomesUtf8) {
    EXPECT_EQ(platform::windows1252ToUtf8("QEV\x92s Fogloom \x97 3"), "QEV\u2019s Fogloom \u2014 3");
    EXPECT_EQ(platform::windows1252ToUtf8("\xE9\x80\x81"), "\u00E9\u20AC\uFFFD");
}

TEST(CodepageTest, TypedCharactersArriveInCodePage437) {
    const struct { const char* utf8; std::vector<int> codes; } cases[] = {
        {"1", {'1'}}, {"a7", {'a', '7'}}, {"\u00E9", {130}}, {"\u00C7", {128}}, {"\u00FC\u00A3", {129, 156}},
        {"\u03B1", {224}}, {"\u2591", {176}}, {"\u00A0", {255}}, {"\u20AC", {'?'}}, {"\xC3", {'?'}},
    };
    for (const auto& c : cases) {
        std::vector<int> codes;
        for (const char32_t ch : platform::decodeUtf8(c.utf8)) codes.push_back(platform::cp437FromUnicode(ch));
        EXPECT_EQ(codes, c.codes) << c.utf8;
    }
}

}  // namespace
}  // namespace fogloom
