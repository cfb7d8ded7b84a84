// The ring offset against GEOS's mitred buffer on random convex rings: every side moves
// parallel to itself, so with a mitre limit too large to bite the buffer is the exact offset,
// outward and inward. An inset past the inradius (GEOS's maximum inscribed circle) leaves
// nothing in GEOS, and the offset must fail.
//
// Two limits of precision shape the rings. GEOS simplifies the input of a buffer, dropping
// vertices that lie within a hundredth of the distance of their neighbours' chord, so the
// rings keep their vertices well apart. The offset folds its corner bisector angles with the
// single-precision 2*pi, up to 1.7e-7 rad off, so a side may sit a few millionths of the
// distance from its exact place: thin corners and insets close to the inradius would leave
// the areas a few parts in 100,000 apart, so the rings keep their corners open and the
// insets go to half the inradius.
#include "GeosSupport.h"
#include "PlanarTestSupport.h"
#include "qrxGeOffsetPoints.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace {

using geosoracle::Context;
using geosoracle::Geom;
using qrxGe::point2d;
using qrxGe::test::Ring;

constexpr double kRadius = 1000.0;

// 3 to 20 points on a circle, counter-clockwise, the angle between neighbours between half
// and one and a half times the even spacing.
Ring RandomConvexRing(std::mt19937& random)
{
    std::vector<double> gaps(3 + random() % 18);
    std::uniform_real_distribution<double> gap(0.5, 1.5);
    double sum = 0.0;
    for (double& g : gaps)
        sum += g = gap(random);
    Ring ring;
    double a = std::uniform_real_distribution<double>(0.0, 2.0 * M_PI)(random);
    for (const double g : gaps) {
        ring.push_back({kRadius * std::cos(a), kRadius * std::sin(a)});
        a += 2.0 * M_PI * g / sum;
    }
    return ring;
}

double Inradius(const Context& c, const Geom& polygon)
{
    const Geom radius(c.get(), GEOSMaximumInscribedCircle_r(c.get(), polygon.get(), 1e-6));
    double length = 0.0;
    GEOSGeomGetLength_r(c.get(), radius.get(), &length);
    return length;
}

TEST(OffsetterGeos, MitredBufferOfConvexRingsHasTheOffsetsArea)
{
    Context c;
    std::mt19937 random(120);
    int compared = 0;
    for (int round = 0; round < 300; ++round) {
        const Ring ring = RandomConvexRing(random);
        const Geom polygon = geosoracle::Polygon(c, ring);
        const double inradius = Inradius(c, polygon);
        const double distances[] = {kRadius * 0.3, kRadius * 0.01, -inradius * 0.2, -inradius * 0.5};
        for (const double d : distances) {
            SCOPED_TRACE(::testing::Message() << "round " << round << ", " << ring.size() << " points, distance " << d);
            const Geom buffer = geosoracle::MitredBuffer(c, polygon, d, 1e9);
            const double expected = geosoracle::Area(c, buffer);
            Ring offset;
            ASSERT_TRUE(qrxGe::OffsetPoints(ring, true, d, offset));
            EXPECT_NEAR(std::fabs(qrxGe::test::SignedArea(offset)), expected, 1e-6 * expected);
            ++compared;
        }
        // Past the inradius nothing is left.
        SCOPED_TRACE(::testing::Message() << "round " << round << ", inset past the inradius " << inradius);
        const double past = -inradius * 1.001;
        EXPECT_TRUE(GEOSisEmpty_r(c.get(), geosoracle::MitredBuffer(c, polygon, past, 1e9).get()));
        Ring untouched{{1, 2}};
        EXPECT_FALSE(qrxGe::OffsetPoints(ring, true, past, untouched));
        EXPECT_EQ(untouched.size(), 1u);
    }
    EXPECT_GT(compared, 1000);
}

} // namespace
