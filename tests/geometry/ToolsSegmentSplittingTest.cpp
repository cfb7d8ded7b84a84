// The double-precision segment splitter of CTools (xdlszcx), its point sort (paixuzcx1) and
// the three forms of BreakIntoLineSegs: documented cases as a table, an exact-arithmetic
// oracle on random segment sets in each coordinate plane, and inputs past the old limits.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "SegmentTestSupport.h"
#include "Tools.h"
#include "ToolsTestSupport.h"

using namespace segment_test;

namespace {

// xdlszcx on the segments, as alternating start and end points; segment k (from 1)
// carries the attributes (k, 2k, -k), which come back in attrs, three per piece.
GePoint3dArray Split(int mode, const Segs& segs, std::size_t outCapacity = 0, std::vector<double>* attrs = nullptr)
{
    const SegmentArrays in(segs);
    std::vector<double> a1(segs.size() + 1), a2(segs.size() + 1), a3(segs.size() + 1);
    for (std::size_t k = 1; k <= segs.size(); ++k)
        a1[k] = double(k), a2[k] = 2.0 * k, a3[k] = -double(k);
    const std::size_t size = (outCapacity ? outCapacity : 4 * segs.size() * segs.size() + 8) + 1;
    std::vector<std::vector<double>> o(9, std::vector<double>(size, 0.0));
    int count = -1;
    CTools::xdlszcx(mode, int(segs.size()), in.x1.data(), in.y1.data(), in.z1.data(), in.x2.data(), in.y2.data(),
                    in.z2.data(), a1.data(), a2.data(), a3.data(), &count, o[0].data(), o[1].data(), o[2].data(),
                    o[3].data(), o[4].data(), o[5].data(), o[6].data(), o[7].data(), o[8].data());
    GePoint3dArray pieces;
    for (int k = 1; k <= count; ++k) {
        pieces.push_back({o[0][k], o[1][k], o[2][k]});
        pieces.push_back({o[3][k], o[4][k], o[5][k]});
        if (attrs)
            attrs->insert(attrs->end(), {o[6][k], o[7][k], o[8][k]});
    }
    return pieces;
}

TEST(ToolsSplitter, DocumentedCases)
{
    const struct {
        const char* name;
        int mode;
        Segs segments;
        GePoint3dArray pieces;  // expected, start and end of each in order
    } cases[] = {
        {"crossing at the middles, z from each own segment", 1,
         {{{0, 0, 0}, {10, 10, 10}}, {{0, 10, 0}, {10, 0, 20}}},
         {{0, 0, 0}, {5, 5, 5}, {5, 5, 5}, {10, 10, 10}, {0, 10, 0}, {5, 5, 10}, {5, 5, 10}, {10, 0, 20}}},
        {"crossing 0.5 from an end does not cut that segment", 1,
         {{{0, 0, 0}, {10, 0, 0}}, {{9.5, -5, 0}, {9.5, 5, 0}}},
         {{0, 0, 0}, {10, 0, 0}, {9.5, -5, 0}, {9.5, 0, 0}, {9.5, 0, 0}, {9.5, 5, 0}}},
        {"T-junction stopping 0.5 short still cuts the bar", 1,
         {{{10, 0, 0}, {0, 0, 0}}, {{5, 0.5, 0}, {5, 10, 0}}},
         {{0, 0, 0}, {5, 0, 0}, {5, 0, 0}, {10, 0, 0}, {5, 0.5, 0}, {5, 10, 0}}},
        {"overlapping level segments cut at the inner ends", 1,
         {{{0, 0, 0}, {10, 0, 0}}, {{5, 0, 0}, {15, 0, 0}}},
         {{0, 0, 0}, {5, 0, 0}, {5, 0, 0}, {10, 0, 0}, {10, 0, 0}, {15, 0, 0}}},
        {"overlapping upright segments cut at the inner ends", 1,
         {{{0, 0, 0}, {0, 10, 0}}, {{0, 15, 0}, {0, 5, 0}}},
         {{0, 0, 0}, {0, 5, 0}, {0, 5, 0}, {0, 10, 0}, {0, 10, 0}, {0, 15, 0}}},
        {"overlapping sloped segments cut at the inner ends", 1,
         {{{0, 0, 0}, {100, 50, 0}}, {{50, 25, 0}, {150, 75, 0}}},
         {{0, 0, 0}, {50, 25, 0}, {50, 25, 0}, {100, 50, 0}, {100, 50, 0}, {150, 75, 0}}},
        // Read with sentinel slopes, two level lines would "meet" at p = q / 666 inside both.
        {"level segments on two lines 0.5 apart never cut each other", 1,
         {{{-5000, 0.5, 0}, {5000, 0.5, 0}}, {{-4000, 0, 0}, {4000, 0, 0}}},
         {{-5000, 0.5, 0}, {5000, 0.5, 0}, {-4000, 0, 0}, {4000, 0, 0}}},
        {"upright segments on two lines 0.5 apart never cut each other", 1,
         {{{0.5, -5000, 0}, {0.5, 5000, 0}}, {{0, -4000, 0}, {0, 4000, 0}}},
         {{0.5, -5000, 0}, {0.5, 5000, 0}, {0, -4000, 0}, {0, 4000, 0}}},
        {"a segment within 0.1 of a point disappears", 1,
         {{{0, 0, 0}, {10, 0, 0}}, {{3, 3, 0}, {3.05, 3.05, 0}}},
         {{0, 0, 0}, {10, 0, 0}}},
        {"two identical segments give one set of pieces", 1,
         {{{0, 0, 0}, {10, 0, 0}}, {{0, 0, 0}, {10, 0, 0}}},
         {{0, 0, 0}, {10, 0, 0}}},
        {"another mode gives nothing", 4, {{{0, 0, 0}, {10, 10, 0}}, {{0, 10, 0}, {10, 0, 0}}}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectPointsNear(Split(c.mode, c.segments), c.pieces, 1e-9);
    }
}

TEST(ToolsSplitter, PointSortMergesWithinOneAndKeepsEqualKeysInOrder)
{
    // 1-based: (0,0,0), (0.5,0.5,0.5) merged into the first, (5,1,0), (-2,1,7), (5,1,3).
    std::vector<double> a{0, 0, 0.5, 5, -2, 5}, b{0, 0, 0.5, 1, 1, 1}, c{0, 0, 0.5, 0, 7, 3};
    int n = 5;
    CTools::paixuzcx1(1, a.data(), b.data(), c.data(), n);
    ASSERT_EQ(n, 4);
    EXPECT_EQ(std::vector<double>(a.begin() + 1, a.begin() + 5), (std::vector<double>{-2, 0, 5, 5}));
    EXPECT_EQ(std::vector<double>(c.begin() + 1, c.begin() + 5), (std::vector<double>{7, 0, 0, 3}));
    // Another key only merges.
    std::vector<double> p{0, 3, 3.5, 1}, q{0, 0, 0, 0}, r{0, 0, 0, 0};
    n = 3;
    CTools::paixuzcx1(7, p.data(), q.data(), r.data(), n);
    ASSERT_EQ(n, 2);
    EXPECT_EQ(p[1], 3);
    EXPECT_EQ(p[2], 1);
}

// Random segments in generic position in each plane: n + 2 x crossings pieces, each cut at the
// exact crossing, the carried coordinate linear along it, the attributes carried. The pieces
// of a cut segment run along its longer plane axis; an uncut one keeps its direction.
TEST(ToolsSplitter, RandomSegmentsInEachPlaneAgreeWithExactCrossings)
{
    std::mt19937 gen(2024);
    std::uniform_int_distribution<int> carried(-500, 500);
    for (int mode = 1; mode <= 3; ++mode) {
        for (int trial = 0; trial < 4; ++trial) {
            const GenericSegments set = DrawGenericSegments(gen, 30, 1000, 50, 2);
            Segs segs;
            GePoint3dArray expected;
            std::vector<double> expectedAttrs;
            for (std::size_t i = 0; i < set.segments.size(); ++i) {
                const PlanSeg& s = set.segments[i];
                const Real r1 = carried(gen), r2 = carried(gen);
                const auto at = [&](Real t) {
                    const double p = double(s.p1 + t * (s.p2 - s.p1)), q = double(s.q1 + t * (s.q2 - s.q1));
                    const double r = double(r1 + t * (r2 - r1));
                    return mode == 2 ? GePoint3d(p, r, q) : mode == 3 ? GePoint3d(r, p, q) : GePoint3d(p, q, r);
                };
                segs.push_back({at(0), at(1)});
                std::vector<Real> cuts{0};
                cuts.insert(cuts.end(), set.cuts[i].begin(), set.cuts[i].end());
                cuts.push_back(1);
                const bool alongP = std::fabs(s.p2 - s.p1) >= std::fabs(s.q2 - s.q1);
                if (cuts.size() > 2 && (alongP ? s.p2 < s.p1 : s.q2 < s.q1))
                    std::reverse(cuts.begin(), cuts.end());
                for (std::size_t k = 0; k + 1 < cuts.size(); ++k) {
                    expected.insert(expected.end(), {at(cuts[k]), at(cuts[k + 1])});
                    expectedAttrs.insert(expectedAttrs.end(), {i + 1.0, 2.0 * (i + 1), -(i + 1.0)});
                }
            }
            SCOPED_TRACE("mode " + std::to_string(mode) + " trial " + std::to_string(trial));
            std::vector<double> attrs;
            const GePoint3dArray pieces = Split(mode, segs, 0, &attrs);
            EXPECT_EQ(pieces.size() / 2, set.segments.size() + 2 * set.crossings);
            ExpectPointsNear(pieces, expected, 1e-6);
            EXPECT_EQ(attrs, expectedAttrs);
        }
    }
}

// ---- BreakIntoLineSegs ------------------------------------------------------------------

TEST(ToolsBreakIntoLineSegs, ShortOrUnequalInputsStandAndTheFormsAgree)
{
    GePoint3dArray starts{{0, 0, 0}, {0, 10, 0}}, ends{{10, 10, 0}, {10, 0, 0}};
    GePoint3dArray oneStart{{0, 0, 0}}, oneEnd{{10, 10, 0}}, unequalStarts = starts, unequalEnds{{10, 10, 0}};
    CTools::BreakIntoLineSegs(oneStart, oneEnd, 0.0);
    EXPECT_EQ(oneStart.size(), 1u);
    CTools::BreakIntoLineSegs(unequalStarts, unequalEnds, 0.0);
    EXPECT_EQ(unequalStarts, starts);
    EXPECT_EQ(unequalEnds.size(), 1u);

    // The count form writes the same pieces in place.
    std::vector<GePoint3d> s{starts[0], starts[1], {}, {}}, e{ends[0], ends[1], {}, {}};
    int n = 2;
    CTools::BreakIntoLineSegs(n, s.data(), e.data(), 0.0);
    CTools::BreakIntoLineSegs(starts, ends, 0.0);
    ASSERT_EQ(n, 4);
    EXPECT_EQ(GePoint3dArray(s.begin(), s.end()), starts);
    EXPECT_EQ(GePoint3dArray(e.begin(), e.end()), ends);
    tools_test::ExpectPoint(starts[1], {5, 5, 0}, 1e-12);
}

TEST(ToolsBreakIntoLineSegs, OneSegmentCrossedFiveThousandTimes)
{
    // 4999 short uprights across one long level segment: 5000 segments, far past the
    // 999-segment and 999-cut limits of the fixed arrays.
    GePoint3dArray starts{{0, 0, 0}}, ends{{50000, 0, 100}};
    for (int k = 1; k < 5000; ++k) {
        starts.push_back({10.0 * k, -3, 0});
        ends.push_back({10.0 * k, 3, 0});
    }
    CTools::BreakIntoLineSegs(starts, ends, 0.0);
    ASSERT_EQ(starts.size(), 5000u + 2 * 4999u);
    for (int k = 0; k < 5000; ++k) {
        tools_test::ExpectPoint(starts[k], {10.0 * k, 0, k / 50.0}, 1e-9);
        tools_test::ExpectPoint(ends[k], {10.0 * (k + 1), 0, (k + 1) / 50.0}, 1e-9);
    }
}

TEST(ToolsBreakIntoLineSegs, RawOutputsRefuseWhatWouldNotFitAndTouchNothing)
{
    // 224 lines each way: 2 * 224 * 225 = 100800 pieces, past the splitter's 99999.
    EXPECT_TRUE(Split(1, GridLines(224, 10.0), 8).empty());  // eight-entry outputs: any write would be caught
    // 223 lines each way give 99904 pieces, which fit.
    EXPECT_EQ(Split(1, GridLines(223, 10.0), 99999).size(), 2 * 99904u);

    std::vector<GePoint3d> s, e;
    for (const Seg& seg : GridLines(3, 10.0))  // 24 pieces
        s.push_back(seg.s), e.push_back(seg.e);
    const std::vector<GePoint3d> s0 = s, e0 = e;
    int n = int(s.size());
    EXPECT_EQ(CTools::BreakIntoLineSegs(n, s.data(), e.data(), 0.0, 23), 0);
    EXPECT_EQ(n, int(s0.size()));
    EXPECT_EQ(s, s0);
    EXPECT_EQ(e, e0);
    s.resize(24), e.resize(24);
    EXPECT_EQ(CTools::BreakIntoLineSegs(n, s.data(), e.data(), 0.0, 24), 1);
    EXPECT_EQ(n, 24);
}

}  // namespace
