// The meeting places the polygon graphs share: where segments of two groups are cut, which
// meetings become one place, what is refused, and a seeded run over dense sets of segments
// near the tolerance in which the pieces must end up meeting only at shared ends.
#include <gtest/gtest.h>

#include "PlanarTestSupport.h"
#include "qrxGeSegmentNoder.h"

#include <cmath>
#include <array>
#include <random>
#include <set>

namespace qrxGe::test {
namespace {

// The points each segment is routed through, after a run that must succeed.
std::vector<Ring> Routed(const Segments& segments, const std::vector<int>& groups)
{
    segmentnoder noder(segments, groups);
    EXPECT_TRUE(noder.Run());
    std::vector<Ring> routes;
    for (std::size_t i = 0; i < segments.size(); ++i) {
        routes.emplace_back();
        for (const nodedstop& s : noder.Stops(i))
            routes.back().push_back(s.point);
    }
    return routes;
}

TEST(SegmentNoder, WhereSegmentsOfTwoGroupsAreCut)
{
    const double t = std::tan(0.001);
    const struct {
        const char* name;
        Segments segments;
        std::vector<int> groups;
        std::vector<Ring> routes;
    } cases[] = {
        {"a crossing at 0.001 rad far from the ends: both cut there", {{{0, 0}, {1000, 0}}, {{0, -500 * t}, {1000, 500 * t}}},
         {0, 1}, {{{0, 0}, {500, 0}, {1000, 0}}, {{0, -500 * t}, {500, 0}, {1000, 500 * t}}}},
        {"an end 0.09 off the other segment: the other is cut at the end", {{{0, 0}, {10, 0}}, {{5, 0.09}, {5, 10}}},
         {0, 1}, {{{0, 0}, {5, 0.09}, {10, 0}}, {{5, 0.09}, {5, 10}}}},
        {"an end 0.11 off: they do not meet", {{{0, 0}, {10, 0}}, {{5, 0.11}, {5, 10}}}, {0, 1},
         {{{0, 0}, {10, 0}}, {{5, 0.11}, {5, 10}}}},
        {"ends 0.09 apart: the later end moves onto the earlier", {{{0, 0}, {10, 0}}, {{10.06, 0.06}, {20, 5}}}, {0, 1},
         {{{0, 0}, {10, 0}}, {{10, 0}, {20, 5}}}},
        {"a crossing 0.15 from a touch is the touch", {{{0, 0}, {10, 0}}, {{4.9, 0.05}, {5.05, -3}}, {{5, 0.05}, {5, 8}}},
         {0, 1, 1}, {{{0, 0}, {4.9, 0.05}, {10, 0}}, {{4.9, 0.05}, {5.05, -3}}, {{4.9, 0.05}, {5, 8}}}},
        {"a stretch both share: cut at its ends, one piece each", {{{0, 0}, {10, 0}}, {{15, 0.05}, {5, 0.05}}}, {0, 1},
         {{{0, 0}, {5, 0.05}, {10, 0}}, {{15, 0.05}, {10, 0}, {5, 0.05}}}},
        {"sides of one group near each other are left alone", {{{0, 0}, {10, 0}}, {{5, 0.05}, {5, 10}}}, {0, 0},
         {{{0, 0}, {10, 0}}, {{5, 0.05}, {5, 10}}}},
        {"one group's sides still cut where another's crossing lies on them",
         {{{0, 0}, {10, 0}}, {{5, 0.05}, {5, 10}}, {{4, -1}, {6, 1}}}, {0, 0, 1},
         {{{0, 0}, {5, 0}, {10, 0}}, {{5, 0.05}, {5, 10}}, {{4, -1}, {5, 0}, {6, 1}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<Ring> routes = Routed(c.segments, c.groups);
        ASSERT_EQ(routes.size(), c.routes.size());
        for (std::size_t i = 0; i < routes.size(); ++i)
            EXPECT_EQ(routes[i], c.routes[i]) << "segment " << i;
    }
    // Refused: a coordinate that is not finite or beyond 4e14.
    for (const double bad : {double(NAN), double(INFINITY), 4.1e14, -1e15}) {
        const Segments s{{{0, 0}, {bad, 0}}, {{1, 1}, {2, 2}}};
        const std::vector<int> groups{0, 1};
        EXPECT_FALSE(segmentnoder(s, groups).Run()) << bad;
    }
}

// Dense sets of short segments of two groups, with ends and crossings at any distance: after
// the run, pieces of the two groups meet only at shared ends, the places lie at least 0.2 apart
// (closer meetings were gathered), and no route strays farther than 0.3 from its segment.
TEST(SegmentNoder, SeededSetsMeetOnlyAtSharedEnds)
{
    std::mt19937 random(53);
    std::uniform_real_distribution<double> at(0.0, 3.0), off(-0.15, 0.15);
    for (int i = 0; i < 400; ++i) {
        Segments segments;
        std::vector<int> groups;
        const double shift = std::array{0.0, 1e6, 1e12}[static_cast<std::size_t>(i % 3)];
        for (int k = 0; k < 12; ++k) {
            const point2d a{at(random) + shift, at(random)};
            // Half of them start near another's end.
            const point2d b = k > 0 && k % 2 ? point2d{segments.back().EndPoint().x + off(random), segments.back().EndPoint().y + off(random)}
                                             : point2d{at(random) + shift, at(random)};
            segments.push_back({b, a});
            groups.push_back(k % 2);
        }
        SCOPED_TRACE(::testing::PrintToString(segments));
        segmentnoder noder(segments, groups);
        ASSERT_TRUE(noder.Run());
        std::set<int> used;
        for (std::size_t s = 0; s < segments.size(); ++s)
            for (const nodedstop& stop : noder.Stops(s))
                if (stop.node >= 0)
                    used.insert(stop.node);
        for (const int p : used) {
            for (const int q : used) {
                if (p < q) {
                    EXPECT_GE(noder.Nodes()[p].DistanceTo(noder.Nodes()[q]), 0.2 - 1e-9);
                }
            }
        }
        std::vector<std::pair<edge2d, int>> pieces;
        for (std::size_t s = 0; s < segments.size(); ++s) {
            const auto& stops = noder.Stops(s);
            for (const nodedstop& stop : stops)
                EXPECT_LT(segments[s].DistanceTo(stop.point), 0.3);
            for (std::size_t k = 1; k < stops.size(); ++k)
                pieces.push_back({{stops[k - 1].point, stops[k].point}, groups[s]});
        }
        for (std::size_t p = 0; p < pieces.size(); ++p) {
            for (std::size_t q = p + 1; q < pieces.size(); ++q) {
                if (pieces[p].second != pieces[q].second) {
                    EXPECT_FALSE(MeetAwayFromSharedEnds(pieces[p].first, pieces[q].first))
                        << ::testing::PrintToString(pieces[p].first) << " and " << ::testing::PrintToString(pieces[q].first);
                }
            }
        }
        if (HasFailure())
            break;
    }
}

} // namespace
} // namespace qrxGe::test
