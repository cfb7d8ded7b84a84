// The double-precision segment splitter of CTools (xdlszcx), its point sort (paixuzcx1) and
// the three forms of BreakIntoLineSegs: documented cases as a table, an exact-arithmetic
// oracle on random segment sets in each coordinate plane, and inputs past the old limits.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
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
GePoint3dArray Split(int mode, const std::vector<Seg>& segs, std::size_t outCapacity = 0,
                     std::vector<double>* attrs = nullptr)
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

struct SplitCase {
    const char* name;
    int mode;
    std::vector<Seg> segments;
    GePoint3dArray pieces;  // expected, start and end of each in order
};

TEST(ToolsSplitter, DocumentedCases)
{
    const std::vector<SplitCase> cases = {
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
        {"mode 2 cuts in XZ and carries y", 2,
         {{{0, 0, 0}, {10, 0, 10}}, {{0, 5, 10}, {10, 5, 0}}},
         {{0, 0, 0}, {5, 0, 5}, {5, 0, 5}, {10, 0, 10}, {0, 5, 10}, {5, 5, 5}, {5, 5, 5}, {10, 5, 0}}},
        {"mode 3 cuts in YZ and carries x", 3,
         {{{1, 0, 0}, {3, 10, 10}}, {{0, 0, 10}, {0, 10, 0}}},
         {{1, 0, 0}, {2, 5, 5}, {2, 5, 5}, {3, 10, 10}, {0, 0, 10}, {0, 5, 5}, {0, 5, 5}, {0, 10, 0}}},
        {"the same pair does not cross in XY", 1,
         {{{0, 0, 0}, {10, 0, 10}}, {{0, 5, 10}, {10, 5, 0}}},
         {{0, 0, 0}, {10, 0, 10}, {0, 5, 10}, {10, 5, 0}}},
        {"another mode gives nothing", 4, {{{0, 0, 0}, {10, 10, 0}}, {{0, 10, 0}, {10, 0, 0}}}, {}},
    };
    for (const SplitCase& c : cases) {
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

// ---- Oracle: random segments in generic position, in each plane ------------------------

using Real = long double;

// A segment in its plane, with the carried coordinate at both ends.
struct PlanSeg {
    Real p1, q1, p2, q2, r1, r2;

    Real Length() const { return std::hypot(p2 - p1, q2 - q1); }
    GePoint3d At(int mode, Real t) const
    {
        const double p = double(p1 + t * (p2 - p1)), q = double(q1 + t * (q2 - q1)), r = double(r1 + t * (r2 - r1));
        return mode == 2 ? GePoint3d(p, r, q) : mode == 3 ? GePoint3d(r, p, q) : GePoint3d(p, q, r);
    }
};

// The parameters along a and b where their lines cross, by Cramer's rule in long double;
// false for parallel lines.
bool LineCrossing(const PlanSeg& a, const PlanSeg& b, Real& ta, Real& tb)
{
    const Real dpa = a.p2 - a.p1, dqa = a.q2 - a.q1, dpb = b.p2 - b.p1, dqb = b.q2 - b.q1;
    const Real det = dpb * dqa - dpa * dqb;
    const Real rp = b.p1 - a.p1, rq = b.q1 - a.q1;
    ta = (dpb * rq - dqb * rp) / det;
    tb = (dpa * rq - dqa * rp) / det;
    return det != 0;
}

Real Distance(Real p, Real q, const PlanSeg& s)
{
    const Real dp = s.p2 - s.p1, dq = s.q2 - s.q1;
    const Real t = std::clamp(((p - s.p1) * dp + (q - s.q1) * dq) / (dp * dp + dq * dq), Real(0), Real(1));
    return std::hypot(p - (s.p1 + t * dp), q - (s.q1 + t * dq));
}

// No pair within 1 degree of parallel; segments that cross do so more than 2 from every
// end, others keep every end more than 2 from the other segment.
bool GenericPair(const PlanSeg& a, const PlanSeg& b)
{
    Real ta = 0, tb = 0;
    const Real cross = (a.p2 - a.p1) * (b.q2 - b.q1) - (a.q2 - a.q1) * (b.p2 - b.p1);
    if (!LineCrossing(a, b, ta, tb) || std::fabs(cross) <= std::sin(Real(0.0175)) * a.Length() * b.Length())
        return false;
    if (ta > 0 && ta < 1 && tb > 0 && tb < 1)
        return std::min(ta, 1 - ta) * a.Length() > 2 && std::min(tb, 1 - tb) * b.Length() > 2;
    return std::min({Distance(a.p1, a.q1, b), Distance(a.p2, a.q2, b), Distance(b.p1, b.q1, a),
                     Distance(b.p2, b.q2, a)}) > 2;
}

TEST(ToolsSplitter, RandomSegmentsInEachPlaneAgreeWithExactCrossings)
{
    std::mt19937 gen(2024);
    std::uniform_int_distribution<int> coord(0, 1000), carried(-500, 500);
    for (int mode = 1; mode <= 3; ++mode) {
        for (int trial = 0; trial < 4; ++trial) {
            std::vector<PlanSeg> plan;
            for (int attempt = 0; attempt < 4000 && plan.size() < 30; ++attempt) {
                const PlanSeg s{Real(coord(gen)), Real(coord(gen)),    Real(coord(gen)),
                                Real(coord(gen)), Real(carried(gen)), Real(carried(gen))};
                if (s.Length() >= 50 && std::all_of(plan.begin(), plan.end(), [&](auto& o) { return GenericPair(s, o); }))
                    plan.push_back(s);
            }
            // The exact cuts along each segment, in the order of its pieces: increasing
            // along its longer plane axis.
            std::vector<std::vector<Real>> cuts(plan.size(), std::vector<Real>{0, 1});
            std::size_t crossings = 0;
            for (std::size_t i = 0; i < plan.size(); ++i)
                for (std::size_t j = i + 1; j < plan.size(); ++j) {
                    Real ti = 0, tj = 0;
                    if (LineCrossing(plan[i], plan[j], ti, tj) && ti > 0 && ti < 1 && tj > 0 && tj < 1)
                        cuts[i].push_back(ti), cuts[j].push_back(tj), ++crossings;
                }
            std::vector<Seg> segs;
            GePoint3dArray expected;
            std::vector<double> expectedAttrs;
            for (std::size_t i = 0; i < plan.size(); ++i) {
                const PlanSeg& s = plan[i];
                segs.push_back({s.At(mode, 0), s.At(mode, 1)});
                std::sort(cuts[i].begin(), cuts[i].end());
                const bool alongP = std::fabs(s.p2 - s.p1) >= std::fabs(s.q2 - s.q1);
                if (cuts[i].size() > 2 && (alongP ? s.p2 < s.p1 : s.q2 < s.q1))
                    std::reverse(cuts[i].begin(), cuts[i].end());
                for (std::size_t k = 0; k + 1 < cuts[i].size(); ++k) {
                    expected.push_back(s.At(mode, cuts[i][k]));
                    expected.push_back(s.At(mode, cuts[i][k + 1]));
                    expectedAttrs.insert(expectedAttrs.end(), {i + 1.0, 2.0 * (i + 1), -(i + 1.0)});
                }
            }
            // Cuts closer than 2 on one segment would merge: such a set is drawn again.
            const auto crowded = [&](std::size_t i) {
                for (std::size_t k = 1; k < cuts[i].size(); ++k)
                    if (std::fabs(cuts[i][k] - cuts[i][k - 1]) * plan[i].Length() <= 2)
                        return true;
                return false;
            };
            bool redraw = false;
            for (std::size_t i = 0; i < plan.size(); ++i)
                redraw = redraw || crowded(i);
            if (redraw) {
                --trial;
                continue;
            }
            SCOPED_TRACE("mode " + std::to_string(mode) + " trial " + std::to_string(trial));
            std::vector<double> attrs;
            const GePoint3dArray pieces = Split(mode, segs, 0, &attrs);
            EXPECT_EQ(pieces.size() / 2, plan.size() + 2 * crossings);
            ExpectPointsNear(pieces, expected, 1e-6);
            EXPECT_EQ(attrs, expectedAttrs);
        }
    }
}

// ---- BreakIntoLineSegs ------------------------------------------------------------------

TEST(ToolsBreakIntoLineSegs, ShortOrUnequalInputsStandAndTheFormsAgree)
{
    GePoint3dArray starts{{0, 0, 0}, {0, 10, 0}}, ends{{10, 10, 0}, {10, 0, 0}};
    GePoint3dArray oneStart{{0, 0, 0}}, oneEnd{{10, 10, 0}};
    GePoint3dArray unequalEnds{{10, 10, 0}};
    CTools::BreakIntoLineSegs(oneStart, oneEnd, 0.0);
    EXPECT_EQ(oneStart.size(), 1u);
    GePoint3dArray unequalStarts = starts;
    CTools::BreakIntoLineSegs(unequalStarts, unequalEnds, 0.0);
    EXPECT_EQ(unequalStarts, starts);
    EXPECT_EQ(unequalEnds.size(), 1u);

    // The count forms write the same pieces in place.
    std::vector<GePoint3d> s(4), e(4);
    std::copy(starts.begin(), starts.end(), s.begin());
    std::copy(ends.begin(), ends.end(), e.begin());
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
    const std::vector<Seg> grid = GridLines(224, 10.0);
    EXPECT_TRUE(Split(1, grid, 8).empty());  // eight-entry outputs: any write would be caught
    // 223 lines each way give 99904 pieces, which fit.
    EXPECT_EQ(Split(1, GridLines(223, 10.0), 99999).size(), 2 * 99904u);

    const std::vector<Seg> small = GridLines(3, 10.0);  // 24 pieces
    std::vector<GePoint3d> s, e;
    for (const Seg& seg : small)
        s.push_back(seg.s), e.push_back(seg.e);
    const std::vector<GePoint3d> s0 = s, e0 = e;
    int n = int(small.size());
    EXPECT_EQ(CTools::BreakIntoLineSegs(n, s.data(), e.data(), 0.0, 23), 0);
    EXPECT_EQ(n, int(small.size()));
    EXPECT_EQ(s, s0);
    EXPECT_EQ(e, e0);
    s.resize(24), e.resize(24);
    EXPECT_EQ(CTools::BreakIntoLineSegs(n, s.data(), e.data(), 0.0, 24), 1);
    EXPECT_EQ(n, 24);
}

}  // namespace
