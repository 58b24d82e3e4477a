#include <gtest/gtest.h>
#include "surface/blit.h"
TEST(Placeholder, Builds) { EXPECT_EQ(1, 1); }
