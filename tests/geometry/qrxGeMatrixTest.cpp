#include "qrxGeLine2d.h"
#include "qrxGeMatrix.h"
#include "qrxGeTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>

namespace qrxGe {
namespace {

const matrix3x3 kSample(1, 2, 3, 4, 5, 6, 7, 8, 10);

void ExpectNear(const matrix3x3& a, const matrix3x3& b, double tol)
{
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(a(r, c), b(r, c), tol) << "element " << r << "," << c;
}

// Closed forms are met to rounding.
void ExpectNear(const point2d& a, const point2d& b, double tol = 1e-12) { test::ExpectNear(a, b, tol); }

TEST(QrxGeMatrix3x3, DeterminantsByHand)
{
    EXPECT_EQ(kIdentity3x3.Determinant(), 1.0);
    EXPECT_DOUBLE_EQ(kSample.Determinant(), -3.0);
    EXPECT_DOUBLE_EQ(Determinant3x3(2, 0, 0, 0, 3, 0, 0, 0, 4), 24.0);
    // 2*(1*1 - 4*0) - 1*(0 - 4*5) + 3*(0*0 - 1*5) = 2 + 20 - 15
    EXPECT_DOUBLE_EQ(matrix3x3(2, 1, 3, 0, 1, 4, 5, 0, 1).Determinant(), 7.0);
    EXPECT_DOUBLE_EQ(matrix2x2(3, 8, 4, 6).Determinant(), -14.0);
    EXPECT_DOUBLE_EQ(Determinant2x2(3, 8, 4, 6), -14.0);
}

TEST(QrxGeMatrix3x3, MinorsCarryTheCofactorSignInTheirFirstRow)
{
    const matrix2x2 m01 = kSample.Minor(0, 1);
    EXPECT_EQ(m01(0, 0), -4.0);
    EXPECT_EQ(m01(0, 1), -6.0);
    EXPECT_EQ(m01(1, 0), 7.0);
    EXPECT_EQ(m01(1, 1), 10.0);
    EXPECT_DOUBLE_EQ(m01.Determinant(), 2.0);
    EXPECT_DOUBLE_EQ(kSample.Minor(0, 0).Determinant(), 2.0); // 5*10 - 6*8
    const matrix2x2 m11 = kSample.Minor(1, 1);                // even: unchanged
    EXPECT_EQ(m11(0, 0), 1.0);
    EXPECT_EQ(m11(0, 1), 3.0);
    EXPECT_EQ(m11(1, 0), 7.0);
    EXPECT_EQ(m11(1, 1), 10.0);
    const matrix2x2 m21 = kSample.Minor(2, 1); // rows 0, 1 and columns 0, 2; negated
    EXPECT_EQ(m21(0, 0), -1.0);
    EXPECT_EQ(m21(0, 1), -3.0);
    EXPECT_EQ(m21(1, 0), 4.0);
    EXPECT_EQ(m21(1, 1), 6.0);
}

TEST(QrxGeMatrix3x3, LaplaceExpansionAndTransposeAgreeWithSarrus)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> value(-10, 10);
    for (int n = 0; n < 50; ++n) {
        matrix3x3 m;
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c)
                m(r, c) = value(rng);
        for (int row = 0; row < 3; ++row) {
            double laplace = 0;
            for (int c = 0; c < 3; ++c)
                laplace += m(row, c) * m.Minor(row, c).Determinant();
            EXPECT_NEAR(laplace, m.Determinant(), 1e-9);
        }
        EXPECT_NEAR(m.Transposed().Determinant(), m.Determinant(), 1e-9);
    }
}

TEST(QrxGeMatrix3x3, InverseTimesMatrixIsTheIdentity)
{
    matrix3x3 inv = kSample;
    inv.Invert();
    ExpectNear(kSample * inv, kIdentity3x3, 1e-12);
    ExpectNear(inv * kSample, kIdentity3x3, 1e-12);
    // By hand: adjugate of the sample over -3.
    ExpectNear(inv, matrix3x3(2, 4, -3, 2, -11, 6, -3, 6, -3) / -3.0, 1e-12);
    matrix3x3 transform;
    transform.SetToRotation(0.7, point2d(3, -2)).ScaleBy(2.5, point2d(1, 1));
    ExpectNear(transform * transform.Inverse(), kIdentity3x3, 1e-12);
}

TEST(QrxGeMatrix3x3, SolveByCramer)
{
    std::array<double, 3> x{};
    const std::array<double, 3> b{14, 32, 53}; // kSample * (1, 2, 3)
    ASSERT_TRUE(kSample.Solve(b, x));
    EXPECT_NEAR(x[0], 1, 1e-12);
    EXPECT_NEAR(x[1], 2, 1e-12);
    EXPECT_NEAR(x[2], 3, 1e-12);

    std::array<double, 3> untouched{9, 9, 9};
    const matrix3x3 nearlySingular(5e-11, 0, 0, 0, 1, 0, 0, 0, 1);
    EXPECT_FALSE(nearlySingular.Solve(b, untouched));
    EXPECT_EQ(untouched, (std::array<double, 3>{9, 9, 9}));
    EXPECT_TRUE(matrix3x3(2e-10, 0, 0, 0, 1, 0, 0, 0, 1).Solve(b, untouched));

    std::array<double, 2> y{7, 7};
    EXPECT_FALSE(matrix2x2(5e-11, 0, 0, 1).Solve(std::array<double, 2>{1, 1}, y));
    EXPECT_EQ(y, (std::array<double, 2>{7, 7}));
    ASSERT_TRUE(matrix2x2(2, 1, 1, 3).Solve(std::array<double, 2>{5, 10}, y));
    EXPECT_NEAR(y[0], 1, 1e-12);
    EXPECT_NEAR(y[1], 3, 1e-12);

    std::mt19937 rng(3);
    std::uniform_real_distribution<double> value(-1, 1);
    for (int n = 0; n < 30; ++n) {
        matrix3x3 m(4 + value(rng), value(rng), value(rng), value(rng), 4 + value(rng), value(rng),
                    value(rng), value(rng), 4 + value(rng));
        const std::array<double, 3> rhs{value(rng), value(rng), value(rng)};
        ASSERT_TRUE(m.Solve(rhs, x));
        for (int r = 0; r < 3; ++r)
            EXPECT_NEAR(m(r, 0) * x[0] + m(r, 1) * x[1] + m(r, 2) * x[2], rhs[static_cast<std::size_t>(r)], 1e-12);
    }
}

TEST(QrxGeMatrix3x3, TransformsAgainstClosedForms)
{
    matrix3x3 m;
    const point2d c(3, -2);
    m.SetToRotation(1.1, c);
    ExpectNear(m.TransformPoint(c), c);
    EXPECT_NEAR(c.DistanceTo(m.TransformPoint(point2d(7, 1))), 5.0, 1e-12);
    EXPECT_NEAR(m.RotationAngle(), 1.1, 1e-12);
    EXPECT_TRUE(m.IsConformal());

    m.SetToPointMirroring(c);
    ExpectNear(m.TransformPoint(point2d(10, 10)), point2d(-4, -14));

    m.SetToLineMirroring(point2d(0, 1), vector2d(2, 2)); // the line y = x + 1
    ExpectNear(m.TransformPoint(point2d(3, 0)), point2d(-1, 4));
    ExpectNear(m * m, kIdentity3x3, 1e-12);

    m.SetToScaling(2, 3, point2d(1, 1));
    ExpectNear(m.TransformPoint(point2d(2, 2)), point2d(3, 4));
    EXPECT_FALSE(m.HasEqualScale());
    EXPECT_TRUE(m.HasOrthogonalAxes());
    EXPECT_DOUBLE_EQ(m.ScaleFactor(), 2);
    m.SetToTranslation(vector2d(4, 5));
    EXPECT_EQ(m.Translation(), vector2d(4, 5));
    EXPECT_EQ(m.TransformVector(vector2d(1, 1)), vector2d(1, 1));
    EXPECT_FALSE(matrix3x3(1, 0.5, 0, 0, 1, 0, 0, 0, 1).HasOrthogonalAxes());
}

TEST(QrxGeMatrix3x3, FramesAreInverseOfEachOther)
{
    const point2d o(10, 20);
    const vector2d axis(0, 3);
    matrix3x3 toFrame, toWorld;
    toFrame.SetToWorldToFrame(o, axis);
    toWorld.SetToFrameToWorld(o, axis);
    ExpectNear(toFrame * toWorld, kIdentity3x3, 1e-12);
    ExpectNear(toFrame.TransformPoint(point2d(10, 25)), point2d(5, 0));
    ExpectNear(toFrame.TransformPoint(point2d(8, 20)), point2d(0, 2)); // left is +v
    toFrame.SetToWorldToFrame(o, axis, false);
    ExpectNear(toFrame.TransformPoint(point2d(8, 20)), point2d(0, -2));

    const std::array<double, 6> record{10, 20, 0, 1, -1, 0};
    matrix3x3 fromRecord;
    fromRecord.SetToWorldToFrame(record);
    ExpectNear(fromRecord.TransformPoint(point2d(8, 20)), point2d(0, 2));
    fromRecord.SetToFrameToWorld(record);
    ExpectNear(fromRecord.TransformPoint(point2d(0, 2)), point2d(8, 20));
}

TEST(QrxGeMatrix3x3, AlignmentMovesFirstThenTurns)
{
    // p goes to R(-t)(p - w): t = 90 degrees, w = (5, 0).
    const line2d from(point2d(0, 0), vector2d(1, 0)), to(point2d(5, 0), vector2d(0, 1));
    matrix3x3 m;
    m.SetToAlignment(from, to);
    ExpectNear(m.TransformPoint(point2d(5, 0)), point2d(0, 0));
    ExpectNear(m.TransformPoint(point2d(5, 2)), point2d(2, 0));
    matrix3x3 single;
    single.SetToAlignment(point2d(0, 0), vector2d(1, 0), point2d(5, 0), vector2d(0, 1));
    ExpectNear(single, m, 1e-12);
}

TEST(QrxGeMatrix3x3, EditsPreMultiply)
{
    matrix3x3 m;
    m.SetToTranslation(vector2d(10, 0));
    m.RotateBy(std::acos(-1.0) / 2); // translate first, then turn
    ExpectNear(m.TransformPoint(point2d(0, 0)), point2d(0, 10));
    m.TranslateBy(vector2d(1, 1));
    ExpectNear(m.TransformPoint(point2d(0, 0)), point2d(1, 11));
    m.ScaleBy(2);
    ExpectNear(m.TransformPoint(point2d(0, 0)), point2d(2, 22));

    matrix3x3 a, b;
    a.SetToRotation(0.3);
    b.SetToTranslation(vector2d(1, 2));
    matrix3x3 post = a, pre = a;
    post.PostMultiplyBy(b);
    pre.PreMultiplyBy(b);
    ExpectNear(post, a * b, 0);
    ExpectNear(pre, b * a, 0);
    EXPECT_TRUE(a * b != b * a);
}

} // namespace
} // namespace qrxGe
