#include <gtest/gtest.h>

TEST(HarnessSmoke, PointerSizeIsKnown)
{
    EXPECT_TRUE(sizeof(void*) == 4 || sizeof(void*) == 8);
}

TEST(HarnessSmoke, ArithmeticWorks)
{
    EXPECT_EQ(2 + 2, 4);
}
