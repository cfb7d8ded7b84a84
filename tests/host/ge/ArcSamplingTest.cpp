// Curves read as point lists: one sample per ten degrees of an arc, lines by their starts.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "ArcSampling.h"

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

TEST(ArcSamplingTest, OneSamplePerTenDegreesAtLeastThreeAtMostForty)
{
    EXPECT_EQ(ArcSampling::SampleCount(90 * kDegree), 9);
    EXPECT_EQ(ArcSampling::SampleCount(180 * kDegree), 18);
    EXPECT_EQ(ArcSampling::SampleCount(2 * std::numbers::pi), 36);
    EXPECT_EQ(ArcSampling::SampleCount(39.9 * kDegree), 3);
    EXPECT_EQ(ArcSampling::SampleCount(20 * kDegree), 3);
    EXPECT_EQ(ArcSampling::SampleCount(0.0), 3);
    // Sweeps no arc has still fit the buffer of one arc.
    EXPECT_EQ(ArcSampling::SampleCount(1000.0), ArcSampling::kMaxArcSamples);
    EXPECT_EQ(ArcSampling::SampleCount(std::numeric_limits<double>::infinity()), ArcSampling::kMaxArcSamples);
    EXPECT_EQ(ArcSampling::SampleCount(std::numeric_limits<double>::quiet_NaN()), 3);
}

TEST(ArcSamplingTest, AnArcGivesAllButItsLastSample)
{
    // A half circle of radius 10 about the origin, counter-clockwise from (10,0) to (-10,0).
    GePoint3dArray out = {{1, 2, 3}};
    EXPECT_EQ(ArcSampling::AppendArcSamples({10, 0, 0}, {0, 10, 0}, {-10, 0, 0}, out), 17);
    ASSERT_EQ(out.size(), 18u);
    for (int i = 0; i < 17; ++i) {
        const double a = i * std::numbers::pi / 17;
        EXPECT_NEAR(out[1 + i].x, 10 * std::cos(a), 1e-9) << i;
        EXPECT_NEAR(out[1 + i].y, 10 * std::sin(a), 1e-9) << i;
    }

    // An arc of 20 degrees: 3 samples, 2 taken.
    GePoint3dArray small;
    const GePoint3d end(10 * std::cos(20 * kDegree), 10 * std::sin(20 * kDegree), 0);
    const GePoint3d mid(10 * std::cos(10 * kDegree), 10 * std::sin(10 * kDegree), 0);
    EXPECT_EQ(ArcSampling::AppendArcSamples({10, 0, 0}, mid, end, small), 2);
    EXPECT_TRUE(small[1].IsEqual(mid, 1e-9));

    // Points in a row make no arc: the start alone, as a line.
    GePoint3dArray straight;
    EXPECT_EQ(ArcSampling::AppendArcSamples({0, 0, 0}, {5, 0, 0}, {10, 0, 0}, straight), 1);
    ASSERT_EQ(straight.size(), 1u);
    EXPECT_TRUE(straight[0].IsEqual({0, 0, 0}, 0.0));
}

TEST(ArcSamplingTest, CurvesGiveLineStartsArcSamplesAndTheirLastEnd)
{
    GeCurveList curves;
    GePoint3d end;
    EXPECT_FALSE(ArcSampling::LastSegmentEnd(curves, end));
    curves.AppendLine({0, 0, 0}, {10, 0, 0});
    curves.AppendArc({10, 0, 0}, {20, 10, 0}, {10, 20, 0});
    GePoint3dArray out;
    ArcSampling::AppendCurvePoints(curves, out);
    ASSERT_EQ(out.size(), 18u);
    EXPECT_TRUE(out[0].IsEqual({0, 0, 0}, 0.0));
    EXPECT_TRUE(out[1].IsEqual({10, 0, 0}, 1e-9));
    ASSERT_TRUE(ArcSampling::LastSegmentEnd(curves, end));
    EXPECT_TRUE(end.IsEqual({10, 20, 0}, 0.0));

    GeCurveList line;
    line.AppendLine({0, 0, 0}, {10, 0, 0});
    ASSERT_TRUE(ArcSampling::LastSegmentEnd(line, end));
    EXPECT_TRUE(end.IsEqual({10, 0, 0}, 0.0));
}

}  // namespace
