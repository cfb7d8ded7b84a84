#include "qrxGeScalar.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace qrxGe {
namespace {

TEST(QrxGeScalar, ToleranceBandsAreStrictAtTheirEdges)
{
    EXPECT_TRUE(IsEqual(1.0, 1.09));
    EXPECT_FALSE(IsEqual(0.0, 0.1));
    EXPECT_FALSE(IsEqual001(0.0, 0.01));
    EXPECT_TRUE(IsEqual001(0.0, 0.009));
    EXPECT_TRUE(IsGreaterOrEqual(0.95, 1.0));
    EXPECT_FALSE(IsGreaterOrEqual(0.89, 1.0));
    EXPECT_TRUE(IsLessOrEqual(1.05, 1.0));
    EXPECT_FALSE(IsGreater(1.1, 1.0 + 1e-12));
    EXPECT_TRUE(IsGreater(1.2, 1.0));
    EXPECT_TRUE(IsLess(0.8, 1.0));
    EXPECT_FALSE(IsLess(0.95, 1.0));
    EXPECT_TRUE(IsZero(9e-11));
    EXPECT_FALSE(IsZero(1e-10));
}

TEST(QrxGeScalar, SpansZeroMeansBetweenTheEndsWithTheirBand)
{
    EXPECT_TRUE(SpansZero(0.05, 7.0));   // at the first end
    EXPECT_TRUE(SpansZero(-7.0, -0.05)); // at the second end
    EXPECT_TRUE(SpansZero(3.0, -4.0));   // strictly between
    EXPECT_TRUE(SpansZero(-3.0, 4.0));
    EXPECT_FALSE(SpansZero(0.2, 5.0));   // before both ends
    EXPECT_FALSE(SpansZero(-0.2, -5.0));
}

TEST(QrxGeScalar, HundredthComparisons)
{
    EXPECT_TRUE(ExceedsBy001(1.02, 1.0));
    EXPECT_FALSE(ExceedsBy001(1.005, 1.0));
    EXPECT_TRUE(IsBelowBy001(0.98, 1.0));
    EXPECT_FALSE(IsBelowBy001(0.995, 1.0));
    EXPECT_TRUE(IsAboveMinus001(0.995, 1.0));
    EXPECT_FALSE(IsAboveMinus001(0.98, 1.0));
    EXPECT_TRUE(IsBelowPlus001(1.005, 1.0));
    EXPECT_FALSE(IsBelowPlus001(1.02, 1.0));
}

TEST(QrxGeScalar, FoldingUsesTheSinglePrecisionTurn)
{
    EXPECT_EQ(FoldAngle(0.0), 0.0);
    EXPECT_EQ(FoldAngle(kTwoPi), 0.0);
    EXPECT_DOUBLE_EQ(FoldAngle(-kHalfPi), kTwoPi - kHalfPi);
    // The double-precision 2*pi lies below the single-precision one: it is kept as it is.
    EXPECT_EQ(FoldAngle(2.0 * std::acos(-1.0)), 2.0 * std::acos(-1.0));
    EXPECT_DOUBLE_EQ(FoldAngle(3 * kTwoPi + 1.0), 1.0);
    EXPECT_DOUBLE_EQ(AngleMinusQuarterTurn(kPi), kPi - kHalfPi);
    EXPECT_DOUBLE_EQ(AngleMinusQuarterTurn(0.0), kTwoPi - kHalfPi);
    EXPECT_EQ(AngleMinusQuarterTurn(kHalfPi), 0.0);
    const double folded = FoldAngle(-1e-12);
    EXPECT_GE(folded, 0.0);
    EXPECT_LT(folded, kTwoPi);
}

TEST(QrxGeScalar, FoldingEndsForValuesFarOutOfRange)
{
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(FoldAngle(inf), inf);
    EXPECT_TRUE(std::isnan(FoldAngle(std::nan(""))));
    const double far = FoldAngle(1e300);
    EXPECT_GE(far, 0.0);
    EXPECT_LT(far, kTwoPi);
    const double farNegative = AngleMinusQuarterTurn(-1e18);
    EXPECT_GE(farNegative, 0.0);
    EXPECT_LT(farNegative, kTwoPi);
}

} // namespace
} // namespace qrxGe
