// The single-precision plan-crossing splitters (CTools::kjxlszcx, tskjxlszcx): documented
// cases as a table, random segments against the exact crossings, and the refusal past 4999
// pieces.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <tuple>
#include <vector>

#include "SegmentTestSupport.h"
#include "Tools.h"

namespace {

struct F {
    float x1, y1, z1, x2, y2, z2;
};

struct Pieces {
    std::vector<F> pieces;
    std::vector<int> tags;
};

// One splitter on the segments (tagged 10, 20, ...); outputs of `capacity` entries.
Pieces Split(bool twin, const std::vector<F>& segs, std::size_t capacity = 5000)
{
    const std::size_t n = segs.size();
    std::vector<std::vector<float>> in(6, std::vector<float>(n + 1)), out(6, std::vector<float>(capacity + 1));
    std::vector<int> tags(n + 1), outTags(capacity + 1);
    for (std::size_t k = 0; k < n; ++k) {
        const F& s = segs[k];
        const float v[6] = {s.x1, s.y1, s.z1, s.x2, s.y2, s.z2};
        for (int c = 0; c < 6; ++c)
            in[c][k + 1] = v[c];
        tags[k + 1] = 10 * int(k + 1);
    }
    int m = -1;
    if (twin)
        CTools::tskjxlszcx(int(n), in[0].data(), in[1].data(), in[2].data(), in[3].data(), in[4].data(), in[5].data(),
                           tags.data(), m, out[0].data(), out[1].data(), out[2].data(), out[3].data(), out[4].data(),
                           out[5].data(), outTags.data());
    else
        CTools::kjxlszcx(int(n), in[0].data(), in[1].data(), in[2].data(), in[3].data(), in[4].data(), in[5].data(),
                         m, out[0].data(), out[1].data(), out[2].data(), out[3].data(), out[4].data(), out[5].data());
    Pieces p;
    for (int k = 1; k <= m; ++k) {
        p.pieces.push_back({out[0][k], out[1][k], out[2][k], out[3][k], out[4][k], out[5][k]});
        p.tags.push_back(outTags[k]);
    }
    return p;
}

TEST(ToolsPlanSplitters, DocumentedCases)
{
    const struct {
        const char* name;
        std::vector<F> segs;
        std::size_t plain, twin;  // piece counts
    } cases[] = {
        {"a segment within 1.0 both ways gives no piece but cuts", {{5, 0, 0, 5, 10, 0}, {4.5f, 5, 0, 5.4f, 5.5f, 0}}, 2, 2},
        {"crossing segments give four pieces", {{0, 0, 0, 10, 10, 10}, {0, 10, 0, 10, 0, 0}}, 4, 4},
        {"a stem 0.05 short of the bar cuts it", {{0, 0, 0, 10, 0, 0}, {5, 0.05f, 0, 5, 8, 0}}, 3, 3},
        {"a crossing within 0.1 of an end does not cut", {{0, 0, 0, 10, 0, 0}, {9.95f, -5, 0, 9.95f, 5, 0}}, 3, 3},
        {"level lines 0.05 apart overlap only for the twin", {{0, 0, 0, 10, 0, 0}, {5, 0.05f, 0, 15, 0.05f, 0}}, 2, 3},
        {"the same segment twice, once reversed", {{0, 0, 0, 10, 3, 0}, {0, 0, 0, 10, 3, 0}, {10, 3, 0, 0, 0, 0}}, 1, 1},
        // Read as sentinel slopes, an upright line and one of slope 555 would be parallel.
        {"an upright line crosses one of slope 555", {{0, -5000, 0, 0, 5000, 0}, {-10, -5550, 0, 10, 5550, 0}}, 4, 4},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Split(false, c.segs).pieces.size(), c.plain) << c.name;
        EXPECT_EQ(Split(true, c.segs).pieces.size(), c.twin) << c.name;
    }
    // The first crossing's pieces: ascending x, z 5 at the crossing on the first segment.
    const Pieces p = Split(true, cases[1].segs);
    EXPECT_EQ(p.pieces[0].x2, 5.0f);
    EXPECT_EQ(p.pieces[0].y2, 5.0f);
    EXPECT_EQ(p.pieces[0].z2, 5.0f);
    EXPECT_EQ(p.tags, (std::vector<int>{10, 10, 20, 20}));
}

// Random segments in generic position: n + 2 x crossings pieces, every piece end at an end
// of its own segment or at an exact crossing on it, z linear along the segment, tags carried.
TEST(ToolsPlanSplitters, RandomSegmentsAgreeWithExactCrossings)
{
    using namespace segment_test;
    std::mt19937 gen(9);
    std::uniform_int_distribution<int> height(0, 300);
    for (int trial = 0; trial < 6; ++trial) {
        const GenericSegments set = DrawGenericSegments(gen, 25, 2000, 100, 5);
        std::vector<F> segs;
        for (const PlanSeg& s : set.segments)
            segs.push_back({float(s.p1), float(s.q1), float(height(gen)), float(s.p2), float(s.q2), float(height(gen))});
        const Pieces out = Split(true, segs);
        ASSERT_EQ(out.pieces.size(), segs.size() + 2 * set.crossings) << trial;
        for (std::size_t k = 0; k < out.pieces.size(); ++k) {
            const std::size_t i = std::size_t(out.tags[k] / 10 - 1);
            const F& s = segs[i];
            const PlanSeg& exact = set.segments[i];
            std::vector<Real> places{0, 1};
            places.insert(places.end(), set.cuts[i].begin(), set.cuts[i].end());
            for (const auto& [x, y, z] : {std::tuple{out.pieces[k].x1, out.pieces[k].y1, out.pieces[k].z1},
                                          std::tuple{out.pieces[k].x2, out.pieces[k].y2, out.pieces[k].z2}}) {
                Real nearest = HUGE_VALL;
                for (Real t : places)
                    nearest = std::min(nearest, std::hypot(x - (exact.p1 + t * (exact.p2 - exact.p1)),
                                                           y - (exact.q1 + t * (exact.q2 - exact.q1))));
                EXPECT_LT(nearest, 0.02) << trial << ": a piece end off the exact crossings";
                const double t = ((x - s.x1) * (s.x2 - s.x1) + (y - s.y1) * (s.y2 - s.y1)) /
                                 std::pow(std::hypot(s.x2 - s.x1, s.y2 - s.y1), 2);
                EXPECT_NEAR(z, s.z1 + t * (s.z2 - s.z1), 0.02) << trial;
            }
        }
    }
}

TEST(ToolsPlanSplitters, MoreThan4999PiecesAreRefused)
{
    // 36 level and 36 upright lines: 2 x 36 x 37 = 2664 pieces fit; 50 each way, 5100, do not.
    const auto grid = [](int k) {
        std::vector<F> segs;
        for (const segment_test::Seg& s : segment_test::GridLines(k, 100.0))
            segs.push_back({float(s.s.x), float(s.s.y), 0, float(s.e.x), float(s.e.y), 0});
        return segs;
    };
    EXPECT_EQ(Split(false, grid(36)).pieces.size(), 2664u);
    EXPECT_TRUE(Split(false, grid(50), 8).pieces.empty());
    EXPECT_TRUE(Split(true, grid(50), 8).pieces.empty());
}

}  // namespace
