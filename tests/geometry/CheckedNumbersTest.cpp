// The checked conversion every stored member goes through: what the member cannot hold
// (not finite, beyond its range) is refused rather than stored as inf or converted with
// undefined behaviour.
#include "CheckedNumbers.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <limits>

TEST(CheckedNumbers, RefusesWhatTheMemberCannotHold)
{
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    for (double bad : {1e300, -1e300, nan, inf, -inf, 3.5e38, -3.5e38}) {
        EXPECT_FALSE(StoredAs<float>(bad)) << bad;
        EXPECT_FALSE(StoredAs<int>(bad)) << bad;
        EXPECT_FALSE(StoredAs<long long>(bad)) << bad;
    }
    EXPECT_FALSE(StoredAs<double>(nan));
    EXPECT_FALSE(StoredAs<double>(inf));
    EXPECT_FALSE(StoredAs<int>(2147483648.0));
    EXPECT_FALSE(StoredAs<int>(-2147483649.0));
    EXPECT_FALSE(StoredAs<int>(99999999999.0));
    EXPECT_FALSE(StoredAs<int>(LLONG_MAX));
    EXPECT_FALSE(StoredAs<unsigned>(-1));
    EXPECT_FALSE(StoredAs<short>(40000L));
}

TEST(CheckedNumbers, KeepsWhatFitsAsACastWould)
{
    EXPECT_EQ(StoredAs<float>(3.4e38), 3.4e38f);
    EXPECT_EQ(StoredAs<float>(-FLT_MAX), -FLT_MAX);
    EXPECT_EQ(StoredAs<float>(0.1), 0.1f);
    EXPECT_EQ(StoredAs<double>(1e300), 1e300);
    EXPECT_EQ(StoredAs<int>(2147483647.9), INT_MAX);
    EXPECT_EQ(StoredAs<int>(-2147483648.9), INT_MIN);
    EXPECT_EQ(StoredAs<int>(-2.7), -2);
    EXPECT_EQ(StoredAs<int>(1234L), 1234);
    EXPECT_EQ(StoredAs<float>(INT_MAX), static_cast<float>(INT_MAX));
}
