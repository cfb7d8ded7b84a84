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

using namespace segment_test;

namespace {

struct Piece {
    GePoint3d s;
    GePoint3d e;
    double a1, a2, a3;
};

// xdlszcx on the segments; segment k carries the attributes (k, 2k, -k), k from 1.
std::vector<Piece> Split(int mode, const std::vector<Seg>& segs, std::size_t outCapacity = 0)
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
    std::vector<Piece> pieces;
    for (int k = 1; k <= count; ++k)
        pieces.push_back({{o[0][k], o[1][k], o[2][k]}, {o[3][k], o[4][k], o[5][k]}, o[6][k], o[7][k], o[8][k]});
    return pieces;
}

void ExpectSame(const GePoint3d& a, const GePoint3d& b, double tol, const std::string& what)
{
    EXPECT_NEAR(a.x, b.x, tol) << what;
    EXPECT_NEAR(a.y, b.y, tol) << what;
    EXPECT_NEAR(a.z, b.z, tol) << what;
}

struct SplitCase {
    const char* name;
    int mode;
    std::vector<Seg> segments;
    std::vector<Seg> pieces;  // expected, in order
};

TEST(ToolsSplitter, DocumentedCases)
{
    const std::vector<SplitCase> cases = {
        {"crossing at the middles, z from each own segment", 1,
         {{{0, 0, 0}, {10, 10, 10}}, {{0, 10, 0}, {10, 0, 20}}},
         {{{0, 0, 0}, {5, 5, 5}}, {{5, 5, 5}, {10, 10, 10}}, {{0, 10, 0}, {5, 5, 10}}, {{5, 5, 10}, {10, 0, 20}}}},
        {"crossing 0.5 from an end does not cut that segment", 1,
         {{{0, 0, 0}, {10, 0, 0}}, {{9.5, -5, 0}, {9.5, 5, 0}}},
         {{{0, 0, 0}, {10, 0, 0}}, {{9.5, -5, 0}, {9.5, 0, 0}}, {{9.5, 0, 0}, {9.5, 5, 0}}}},
        {"T-junction stopping 0.5 short still cuts the bar", 1,
         {{{10, 0, 0}, {0, 0, 0}}, {{5, 0.5, 0}, {5, 10, 0}}},
         {{{0, 0, 0}, {5, 0, 0}}, {{5, 0, 0}, {10, 0, 0}}, {{5, 0.5, 0}, {5, 10, 0}}}},
        {"overlapping level segments cut at the inner ends", 1,
         {{{0, 0, 0}, {10, 0, 0}}, {{5, 0, 0}, {15, 0, 0}}},
         {{{0, 0, 0}, {5, 0, 0}}, {{5, 0, 0}, {10, 0, 0}}, {{10, 0, 0}, {15, 0, 0}}}},
        {"overlapping upright segments cut at the inner ends", 1,
         {{{0, 0, 0}, {0, 10, 0}}, {{0, 15, 0}, {0, 5, 0}}},
         {{{0, 0, 0}, {0, 5, 0}}, {{0, 5, 0}, {0, 10, 0}}, {{0, 10, 0}, {0, 15, 0}}}},
        {"overlapping sloped segments cut at the inner ends", 1,
         {{{0, 0, 0}, {100, 50, 0}}, {{50, 25, 0}, {150, 75, 0}}},
         {{{0, 0, 0}, {50, 25, 0}}, {{50, 25, 0}, {100, 50, 0}}, {{100, 50, 0}, {150, 75, 0}}}},
        // Read with sentinel slopes, two level lines would "meet" at p = q / 666 inside both.
        {"level segments on two lines 0.5 apart never cut each other", 1,
         {{{-5000, 0.5, 0}, {5000, 0.5, 0}}, {{-4000, 0, 0}, {4000, 0, 0}}},
         {{{-5000, 0.5, 0}, {5000, 0.5, 0}}, {{-4000, 0, 0}, {4000, 0, 0}}}},
        {"upright segments on two lines 0.5 apart never cut each other", 1,
         {{{0.5, -5000, 0}, {0.5, 5000, 0}}, {{0, -4000, 0}, {0, 4000, 0}}},
         {{{0.5, -5000, 0}, {0.5, 5000, 0}}, {{0, -4000, 0}, {0, 4000, 0}}}},
        {"a segment within 0.1 of a point disappears", 1,
         {{{0, 0, 0}, {10, 0, 0}}, {{3, 3, 0}, {3.05, 3.05, 0}}},
         {{{0, 0, 0}, {10, 0, 0}}}},
        {"two identical segments give one set of pieces", 1,
         {{{0, 0, 0}, {10, 0, 0}}, {{0, 0, 0}, {10, 0, 0}}},
         {{{0, 0, 0}, {10, 0, 0}}}},
        {"mode 2 cuts in XZ and carries y", 2,
         {{{0, 0, 0}, {10, 0, 10}}, {{0, 5, 10}, {10, 5, 0}}},
         {{{0, 0, 0}, {5, 0, 5}}, {{5, 0, 5}, {10, 0, 10}}, {{0, 5, 10}, {5, 5, 5}}, {{5, 5, 5}, {10, 5, 0}}}},
        {"mode 3 cuts in YZ and carries x", 3,
         {{{1, 0, 0}, {3, 10, 10}}, {{0, 0, 10}, {0, 10, 0}}},
         {{{1, 0, 0}, {2, 5, 5}}, {{2, 5, 5}, {3, 10, 10}}, {{0, 0, 10}, {0, 5, 5}}, {{0, 5, 5}, {0, 10, 0}}}},
        {"the same pair does not cross in XY", 1,
         {{{0, 0, 0}, {10, 0, 10}}, {{0, 5, 10}, {10, 5, 0}}},
         {{{0, 0, 0}, {10, 0, 10}}, {{0, 5, 10}, {10, 5, 0}}}},
        {"another mode gives nothing", 4, {{{0, 0, 0}, {10, 10, 0}}, {{0, 10, 0}, {10, 0, 0}}}, {}},
    };
    for (const SplitCase& c : cases) {
        const std::vector<Piece> pieces = Split(c.mode, c.segments);
        ASSERT_EQ(pieces.size(), c.pieces.size()) << c.name;
        for (std::size_t k = 0; k < pieces.size(); ++k) {
            ExpectSame(pieces[k].s, c.pieces[k].s, 1e-9, c.name);
            ExpectSame(pieces[k].e, c.pieces[k].e, 1e-9, c.name);
        }
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

struct PlanSeg {
    Real p1, q1, p2, q2;
};

// The proper crossing of two segments by Cramer's rule in long double, as the parameter
// along each; false when they do not cross.
bool Crossing(const PlanSeg& a, const PlanSeg& b, Real& ta, Real& tb)
{
    const Real dpa = a.p2 - a.p1, dqa = a.q2 - a.q1, dpb = b.p2 - b.p1, dqb = b.q2 - b.q1;
    const Real det = dpa * (-dqb) - dqa * (-dpb);
    if (det == 0)
        return false;
    const Real rp = b.p1 - a.p1, rq = b.q1 - a.q1;
    ta = (rp * (-dqb) - rq * (-dpb)) / det;
    tb = (dpa * rq - dqa * rp) / det;
    return ta > 0 && ta < 1 && tb > 0 && tb < 1;
}

Real Length(const PlanSeg& s) { return std::hypot(s.p2 - s.p1, s.q2 - s.q1); }

Real DistanceToSegment(Real p, Real q, const PlanSeg& s)
{
    const Real dp = s.p2 - s.p1, dq = s.q2 - s.q1;
    const Real t = std::clamp(((p - s.p1) * dp + (q - s.q1) * dq) / (dp * dp + dq * dq), Real(0), Real(1));
    return std::hypot(p - (s.p1 + t * dp), q - (s.q1 + t * dq));
}

// Crossings more than 2 from every end, no pair within 1 degree of parallel, and segments
// that do not cross stay more than 2 apart.
bool GenericPair(const PlanSeg& a, const PlanSeg& b)
{
    const Real cross = (a.p2 - a.p1) * (b.q2 - b.q1) - (a.q2 - a.q1) * (b.p2 - b.p1);
    if (std::fabs(cross) <= std::sin(Real(0.0175)) * Length(a) * Length(b))
        return false;
    Real ta = 0, tb = 0;
    if (Crossing(a, b, ta, tb))
        return std::min(ta, 1 - ta) * Length(a) > 2 && std::min(tb, 1 - tb) * Length(b) > 2;
    return DistanceToSegment(a.p1, a.q1, b) > 2 && DistanceToSegment(a.p2, a.q2, b) > 2 &&
           DistanceToSegment(b.p1, b.q1, a) > 2 && DistanceToSegment(b.p2, b.q2, a) > 2;
}

GePoint3d FromPlane(int mode, Real p, Real q, Real r)
{
    if (mode == 2)
        return {double(p), double(r), double(q)};
    if (mode == 3)
        return {double(r), double(p), double(q)};
    return {double(p), double(q), double(r)};
}

// A set of up to 40 segments in generic position with carried values, and the exact cut
// parameters along each (ascending); cuts on one segment lie more than 2 apart.
struct RandomSet {
    std::vector<PlanSeg> plan;
    std::vector<Real> r1, r2;
    std::vector<std::vector<Real>> cuts;
    std::size_t crossings = 0;
};

bool MakeRandomSet(std::mt19937& gen, RandomSet& set)
{
    std::uniform_int_distribution<int> coord(0, 1000), carried(-500, 500);
    set = {};
    for (int attempt = 0; attempt < 4000 && set.plan.size() < 40; ++attempt) {
        const PlanSeg s{Real(coord(gen)), Real(coord(gen)), Real(coord(gen)), Real(coord(gen))};
        const auto generic = [&](const PlanSeg& o) { return GenericPair(s, o); };
        if (Length(s) < 50 || !std::all_of(set.plan.begin(), set.plan.end(), generic))
            continue;
        set.plan.push_back(s);
        set.r1.push_back(carried(gen));
        set.r2.push_back(carried(gen));
    }
    set.cuts.assign(set.plan.size(), {});
    for (std::size_t i = 0; i < set.plan.size(); ++i)
        for (std::size_t j = i + 1; j < set.plan.size(); ++j) {
            Real ti = 0, tj = 0;
            if (Crossing(set.plan[i], set.plan[j], ti, tj))
                set.cuts[i].push_back(ti), set.cuts[j].push_back(tj), ++set.crossings;
        }
    for (std::size_t i = 0; i < set.plan.size(); ++i) {
        std::sort(set.cuts[i].begin(), set.cuts[i].end());
        for (std::size_t k = 1; k < set.cuts[i].size(); ++k)
            if ((set.cuts[i][k] - set.cuts[i][k - 1]) * Length(set.plan[i]) <= 2)
                return false;
    }
    return true;
}

TEST(ToolsSplitter, RandomSegmentsInEachPlaneAgreeWithExactCrossings)
{
    std::mt19937 gen(2024);
    for (int mode = 1; mode <= 3; ++mode) {
        for (int trial = 0; trial < 4; ++trial) {
            RandomSet set;
            while (!MakeRandomSet(gen, set)) {
            }
            const std::vector<PlanSeg>& plan = set.plan;
            const std::vector<Real>&r1 = set.r1, &r2 = set.r2;
            std::vector<std::vector<Real>>& cuts = set.cuts;
            const std::size_t crossings = set.crossings;
            std::vector<Seg> segs;
            for (std::size_t i = 0; i < plan.size(); ++i)
                segs.push_back({FromPlane(mode, plan[i].p1, plan[i].q1, r1[i]), FromPlane(mode, plan[i].p2, plan[i].q2, r2[i])});

            const std::vector<Piece> pieces = Split(mode, segs);
            const std::string what = "mode " + std::to_string(mode) + " trial " + std::to_string(trial);
            ASSERT_EQ(pieces.size(), plan.size() + 2 * crossings) << what;
            std::size_t next = 0;
            for (std::size_t i = 0; i < plan.size(); ++i) {
                std::vector<Real> ts{0};
                ts.insert(ts.end(), cuts[i].begin(), cuts[i].end());
                ts.push_back(1);
                // Cut pieces run in increasing order of the longer plane axis.
                const bool increasing = std::fabs(plan[i].p2 - plan[i].p1) >= std::fabs(plan[i].q2 - plan[i].q1)
                                            ? plan[i].p2 > plan[i].p1
                                            : plan[i].q2 > plan[i].q1;
                if (!cuts[i].empty() && !increasing)
                    std::reverse(ts.begin(), ts.end());
                const auto expected = [&](Real t) {
                    const PlanSeg& s = plan[i];
                    return FromPlane(mode, s.p1 + t * (s.p2 - s.p1), s.q1 + t * (s.q2 - s.q1), r1[i] + t * (r2[i] - r1[i]));
                };
                for (std::size_t k = 0; k + 1 < ts.size(); ++k, ++next) {
                    ASSERT_LT(next, pieces.size()) << what;
                    const Piece& piece = pieces[next];
                    EXPECT_EQ(piece.a1, double(i + 1)) << what;
                    EXPECT_EQ(piece.a2, 2.0 * (i + 1)) << what;
                    EXPECT_EQ(piece.a3, -double(i + 1)) << what;
                    ExpectSame(piece.s, expected(ts[k]), 1e-6, what + " segment " + std::to_string(i));
                    ExpectSame(piece.e, expected(ts[k + 1]), 1e-6, what + " segment " + std::to_string(i));
                }
            }
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
    ExpectSame(starts[1], {5, 5, 0}, 1e-12, "the crossing");
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
        ExpectSame(starts[k], {10.0 * k, 0, 10.0 * k / 500.0}, 1e-9, "long segment piece " + std::to_string(k));
        ExpectSame(ends[k], {10.0 * (k + 1), 0, 10.0 * (k + 1) / 500.0}, 1e-9, "long segment piece " + std::to_string(k));
    }
}

TEST(ToolsBreakIntoLineSegs, RawOutputsRefuseWhatWouldNotFitAndTouchNothing)
{
    // 224 lines each way: 2 * 224 * 225 = 100800 pieces, past the splitter's 99999.
    const std::vector<Seg> grid = GridLines(224, 10.0);
    EXPECT_TRUE(Split(1, grid, 8).empty());  // eight-entry outputs: any write would be caught
    // 223 lines each way give 99904 pieces, which fit.
    EXPECT_EQ(Split(1, GridLines(223, 10.0), 99999).size(), 99904u);

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
