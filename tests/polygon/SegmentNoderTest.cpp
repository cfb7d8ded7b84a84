// The meeting places the polygon graphs share: where segments of two groups are cut, which
// meetings become one place, what is refused, and a seeded run over dense sets of segments
// near the tolerance, and a cluster whose nodes must be gathered, in which the pieces must end
// up meeting only at shared ends.
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

// After a run that must succeed: pieces of different groups meet only at shared ends, the
// places lie at least 0.2 apart (closer meetings were gathered), and no route strays farther
// than `stray` from its segment.
void ExpectMeetOnlyAtSharedEnds(const Segments& segments, const std::vector<int>& groups, double stray)
{
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
            EXPECT_LT(segments[s].DistanceTo(stop.point), stray);
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
}

// Dense sets of short segments of two groups, with ends and crossings at any distance.
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
        ExpectMeetOnlyAtSharedEnds(segments, groups, 0.3);
        if (HasFailure())
            break;
    }
}

// Eleven segments through a disc 0.3 across: one ends 0.05 from a crossing's node but was
// moved to a node 0.18 away, short of it, so that its last piece passes beside the crossing
// and no route of it could take the crossing in without doubling back. The end and the
// crossing become one node. Either way along the segments, and far from the origin.
TEST(SegmentNoder, ANodeBesideASegmentsLastPieceTakesItsEnd)
{
    const Segments cluster{{{0.080615124393965662, 0.13505501603637904}, {-0.13041922262300451, -0.19879245808485296}},
                           {{-0.020026578124461104, 0.089200799109483739}, {0.019104176963431068, -1.3927875851003357}},
                           {{-1.720399772791086, -1.5334855305901578}, {3.3207022956335592, 2.8575704876498582}},
                           {{-0.19392707964967654, -1.740805504857128}, {0.41481976274565457, 4.4166400657174183}},
                           {{-0.27724523456814587, 0.071005591151799996}, {1.6313083057254005, -0.39081773846250534}},
                           {{-2.0222254732831102, 2.2398609895937365}, {0.030698499070259525, -0.11223743267575043}},
                           {{-2.9375405258895535, 1.4815192960647843}, {2.3292792902108399, -1.2510066607673016}},
                           {{1.996050289033882, 1.0683282435891419}, {-2.4296631033450633, -1.2675380501654758}},
                           {{0.18839984288910172, -1.0995528881029315}, {-0.0045181027149807096, 0.33110462925646256}},
                           {{-1.0387710794466662, -2.1143726838650267}, {1.0213978041487135, 1.7426382276986481}},
                           {{0.26362636680760543, -0.14015408856844672}, {-1.5603130470147337, 1.2241137932147532}}};
    std::vector<int> own(cluster.size());
    for (std::size_t i = 0; i < own.size(); ++i)
        own[i] = static_cast<int>(i);
    for (const bool reversed : {false, true}) {
        for (const double shift : {0.0, 1e6, 1e12}) {
            SCOPED_TRACE((reversed ? "reversed, shifted by " : "shifted by ") + std::to_string(shift));
            Segments s = Moved(cluster, shift, -0.75 * shift);
            if (reversed)
                for (edge2d& e : s)
                    e = {e.EndPoint(), e.StartPoint()};
            ExpectMeetOnlyAtSharedEnds(s, own, 0.5);
        }
    }
}

} // namespace
} // namespace qrxGe::test
