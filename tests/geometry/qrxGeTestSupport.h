#pragma once
// Shared checks of the planar primitive tests.
#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

#include "qrxGePoint2d.h"

namespace qrxGe::test {

using Points = std::vector<point2d>;

// Point by point within tol on each axis; sizes must agree.
inline void ExpectPoints(const Points& actual, const Points& expected, double tol)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(actual[i].x, expected[i].x, tol) << "point " << i;
        EXPECT_NEAR(actual[i].y, expected[i].y, tol) << "point " << i;
    }
}

inline void ExpectNear(const point2d& actual, const point2d& expected, double tol)
{
    ExpectPoints({actual}, {expected}, tol);
}

}  // namespace qrxGe::test
