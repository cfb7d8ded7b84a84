#include "qrxGeOffsetPoints.h"
#include "qrxGeTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace qrxGe {
namespace {

using test::Points;

void ExpectPoints(const Points& actual, const Points& expected) { test::ExpectPoints(actual, expected, 1e-6); }

const Points kOldContent = {{-99, -99}, {-98, -98}, {-97, -97}};

TEST(QrxGeOffsetPoints, RingReplacesTheOutput)
{
    Points out = kOldContent;
    ASSERT_TRUE(OffsetPoints(Points{{0, 0}, {10, 0}, {10, 10}, {0, 10}}, true, 1.0, out));
    // The result takes the output's place; nothing of the old content is kept.
    ExpectPoints(out, {{-1, -1}, {11, -1}, {11, 11}, {-1, 11}});
}

TEST(QrxGeOffsetPoints, PolylineEndsMoveSquareToTheirEdges)
{
    Points out;
    ASSERT_TRUE(OffsetPoints(Points{{0, 0}, {0, 10}, {10, 10}}, false, 1.0, out));
    // North, then east: right of travel is east, then south.
    ExpectPoints(out, {{1, 0}, {1, 9}, {10, 9}});
}

TEST(QrxGeOffsetPoints, FailureLeavesTheOutputUntouched)
{
    Points out = kOldContent;
    EXPECT_FALSE(OffsetPoints(Points{{0, 0}, {10, 0}, {10, 10}, {0, 10}}, true, -6.0, out));
    ExpectPoints(out, kOldContent);
    EXPECT_FALSE(OffsetPoints(Points{{5, 5}}, false, 1.0, out));
    ExpectPoints(out, kOldContent);
    EXPECT_FALSE(OffsetPoints(Points{}, true, 0.0, out));
    ExpectPoints(out, kOldContent);
}

} // namespace
} // namespace qrxGe
