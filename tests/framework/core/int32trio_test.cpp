#include "framework/core/int32trio.h"

#include <gtest/gtest.h>

TEST(TInt32Trio, NullEqualityAndText)
{
    EXPECT_TRUE(TInt32Trio::Null().IsNull());
    EXPECT_FALSE((TInt32Trio{0, 0, 1}).IsNull());
    EXPECT_EQ((TInt32Trio{1, 2, 3}), (TInt32Trio{1, 2, 3}));
    EXPECT_NE((TInt32Trio{1, 2, 3}), (TInt32Trio{1, 2, 4}));
    EXPECT_EQ((TInt32Trio{1, 20, 300}).ToText(), QStringLiteral("1.20.300"));
}

TEST(TInt32Trio, DefaultOrderIsByteWise)
{
    // 256 is stored as 00 01 00 00, 1 as 01 00 00 00: the first byte decides.
    EXPECT_LT(TInt32Trio::Compare({256, 0, 0}, {1, 0, 0}), 0);
    EXPECT_GT(TInt32Trio::Compare({1, 0, 0}, {256, 0, 0}), 0);
    EXPECT_EQ(TInt32Trio::Compare({7, 8, 9}, {7, 8, 9}), 0);
    // a negative part has high bytes 0xff and sorts after small positive ones
    EXPECT_GT(TInt32Trio::Compare({-1, 0, 0}, {1, 0, 0}), 0);
}
