#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <random>

#include "DrawingPicture.h"
#include "PaintersOrder.h"

using host::DepthItem;
using Kind = host::DepthItem::Kind;

namespace {

// A square in view coordinates, its depth rising by slope per unit of x.
DepthItem Square(double x, double y, double side, double depth, double slope = 0.0)
{
    DepthItem item{Kind::Face, {}};
    for (const auto& [u, v] : {std::pair{0.0, 0.0}, {side, 0.0}, {side, side}, {0.0, side}})
        item.points.push_back({x + u, y + v, depth + slope * u});
    return item;
}

DepthItem Segment(GePoint3d a, GePoint3d b) { return {Kind::Line, {a, b}}; }

struct OrderCase {
    const char* name;
    std::vector<DepthItem> items;
    // Pairs (first, second): item first must be drawn before item second.
    std::vector<std::pair<std::size_t, std::size_t>> before;
};

void PrintTo(const OrderCase& c, std::ostream* out) { *out << c.name; }

std::vector<OrderCase> OrderCases()
{
    // An L whose notch is the square [5, 10] x [5, 10].
    DepthItem l{Kind::Face, {{0, 0, 5}, {10, 0, 5}, {10, 5, 5}, {5, 5, 5}, {5, 10, 5}, {0, 10, 5}}};
    return {
        {"nearer square listed first", {Square(0, 0, 10, 1), Square(5, 5, 10, 9)}, {{1, 0}}},
        {"window on its wall", {Square(2, 2, 1, 4), Square(0, 0, 10, 4)}, {{1, 0}}},
        // The long face runs from depth 0 to 100; the small one overlaps its far end: nearer
        // there, though farther than the long face's mean depth.
        {"small face before the far end of a tilted one", {Square(0, 0, 10, 60), Square(-80, -50, 100, 0, 1.0)},
         {{1, 0}}},
        {"line in front and behind", {Square(0, 0, 10, 5), Segment({-5, 5, 1}, {15, 5, 1}), Segment({-5, 2, 9}, {15, 2, 9})},
         {{0, 1}, {2, 0}}},
        {"line on its face", {Segment({1, 1, 5}, {9, 9, 5}), Square(0, 0, 10, 5)}, {{1, 0}}},
        {"dot inside a face", {Segment({2, 2, 0}, {2, 2, 0}), Square(0, 0, 10, 3)}, {{1, 0}}},
        // In the notch of the L the square overlaps nothing, so it goes by its mean depth
        // (nearer: later) though the L's box holds it.
        {"square in the notch of an L", {Square(6, 6, 3, 1), l}, {{1, 0}}},
        {"square over the arm of an L", {Square(6, 1, 3, 9), l}, {{0, 1}}},
    };
}

class PaintersOrderCases : public ::testing::TestWithParam<OrderCase> {};

TEST_P(PaintersOrderCases, DrawsWhatIsBehindFirst)
{
    const OrderCase& c = GetParam();
    const auto order = host::PaintersOrder(c.items);
    ASSERT_EQ(order.size(), c.items.size());
    std::vector<std::size_t> place(order.size());
    for (std::size_t k = 0; k < order.size(); ++k) place[order[k]] = k;
    for (const auto& [first, second] : c.before) EXPECT_LT(place[first], place[second]) << first << " before " << second;
}

INSTANTIATE_TEST_SUITE_P(Scenes, PaintersOrderCases, ::testing::ValuesIn(OrderCases()), [](const auto& info) {
    std::string name = info.param.name;
    std::replace(name.begin(), name.end(), ' ', '_');
    return name;
});

// Three strips each over the next (a cycle), a face with a point that is not finite and one of
// two points: every item is drawn once, the bad one first.
TEST(PaintersOrder, CyclesAndBadItemsStillGiveEveryItemOnce)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::vector<DepthItem> items{
        {Kind::Face, {{0, 0, 1}, {10, 0, 1}, {10, 2, 3}, {0, 2, 3}}},
        {Kind::Face, {{8, 0, 1}, {10, 0, 1}, {10, 10, 3}, {8, 10, 3}}},
        {Kind::Face, {{0, 8, 1}, {10, 8, 3}, {10, 10, 3}, {0, 10, 1}}},
        {Kind::Face, {{0, 0, 0}, {1, nan, 0}, {0, 1, 0}}},
        {Kind::Face, {{0, 0, 0}, {1, 1, 0}}},
    };
    auto order = host::PaintersOrder(items);
    EXPECT_EQ(order.front(), 3u);
    std::sort(order.begin(), order.end());
    EXPECT_EQ(order, (std::vector<std::size_t>{0, 1, 2, 3, 4}));
}

// An independent oracle: a depth buffer. Boxes that do not touch, of random sizes, seen in the
// axonometric view; at sample points away from every edge the box the painter's order shows
// last must be the nearest box there.
struct Box {
    double x, y, w, d, h;
};

std::vector<DepthItem> BoxFaces(const std::vector<Box>& boxes, std::vector<std::size_t>& owner)
{
    const host::ViewFrame view = host::ViewFrame::Of(host::PictureView::Axonometric);
    std::vector<DepthItem> faces;
    for (std::size_t b = 0; b < boxes.size(); ++b) {
        const Box& k = boxes[b];
        const auto corner = [&](int i) {
            return view.Project({k.x + (i & 1 ? k.w : 0), k.y + (i & 2 ? k.d : 0), i & 4 ? k.h : 0.0});
        };
        for (const auto& f : {std::array{0, 1, 3, 2}, {4, 5, 7, 6}, {0, 1, 5, 4}, {2, 3, 7, 6}, {0, 2, 6, 4}, {1, 3, 7, 5}}) {
            faces.push_back({Kind::Face, {corner(f[0]), corner(f[1]), corner(f[2]), corner(f[3])}});
            owner.push_back(b);
        }
    }
    return faces;
}

// Whether p lies inside the quad, and its depth there; false too when p is within margin of an
// edge.
bool Inside(const DepthItem& face, double px, double py, double margin, double& depth)
{
    const auto& q = face.points;
    double sign = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        const GePoint3d &a = q[i], &b = q[(i + 1) % 4];
        const double length = std::hypot(b.x - a.x, b.y - a.y);
        if (length == 0) return false;
        const double side = ((b.x - a.x) * (py - a.y) - (b.y - a.y) * (px - a.x)) / length;
        if (std::abs(side) < margin) return false;
        if (sign == 0) sign = side;
        if ((side > 0) != (sign > 0)) return false;
    }
    // The depth over the quad's plane.
    const GePoint3d &o = q[0], &u = q[1], &v = q[3];
    const double ux = u.x - o.x, uy = u.y - o.y, vx = v.x - o.x, vy = v.y - o.y;
    const double det = ux * vy - uy * vx;
    if (std::abs(det) < 1e-9) return false;
    const double s = ((px - o.x) * vy - (py - o.y) * vx) / det, t = (ux * (py - o.y) - uy * (px - o.x)) / det;
    depth = o.z + s * (u.z - o.z) + t * (v.z - o.z);
    return true;
}

// How many samples show another box than the depth buffer, drawing faces in the given order.
int Mismatches(const std::vector<DepthItem>& faces, const std::vector<std::size_t>& owner,
               const std::vector<std::size_t>& order)
{
    int wrong = 0;
    for (double px = -60000; px <= 60000; px += 1500) {
        for (double py = -20000; py <= 90000; py += 1500) {
            std::size_t painted = SIZE_MAX, nearest = SIZE_MAX;
            double best = 1e300;
            bool nearEdge = false;
            for (std::size_t f : order) {
                double depth = 0;
                if (Inside(faces[f], px, py, 5.0, depth)) {
                    painted = owner[f];
                    if (depth < best) best = depth, nearest = owner[f];
                } else if (Inside(faces[f], px, py, -5.0, depth)) {
                    nearEdge = true;
                }
            }
            if (!nearEdge && painted != nearest) ++wrong;
        }
    }
    return wrong;
}

// Scenes of boxes, also with a 10 m square far off (500 km, or so far that no cell can be
// numbered there) and a ground face under the site over more cells than there are items: the
// site is painted as the depth buffer shows it (the far square neither coarsens the grid nor
// widens the ties), and every item comes once.
TEST(PaintersOrder, AgreesWithADepthBufferOnScenesOfBoxes)
{
    const host::ViewFrame view = host::ViewFrame::Of(host::PictureView::Axonometric);
    const auto square = [&](double x0, double y0, double side, double z) {
        return DepthItem{Kind::Face, {view.Project({x0, y0, z}), view.Project({x0 + side, y0, z}),
                                      view.Project({x0 + side, y0 + side, z}), view.Project({x0, y0 + side, z})}};
    };
    int meanDepthWrong = 0;
    for (unsigned seed = 1; seed <= 12; ++seed) {
        std::mt19937 random(seed);
        std::uniform_real_distribution<double> place(0, 40000), size(2000, 20000), height(1000, 40000);
        std::vector<Box> boxes;
        while (boxes.size() < 14) {
            const Box b{place(random), place(random), size(random), size(random) / 3, height(random)};
            const bool apart = std::all_of(boxes.begin(), boxes.end(), [&](const Box& o) {
                return b.x + b.w < o.x || o.x + o.w < b.x || b.y + b.d < o.y || o.y + o.d < b.y;
            });
            if (apart) boxes.push_back(b);
        }
        std::vector<std::size_t> owner;
        const auto faces = BoxFaces(boxes, owner);
        EXPECT_EQ(Mismatches(faces, owner, host::PaintersOrder(faces)), 0) << "seed " << seed;

        // The same faces by mean depth alone, farthest first: the scenes are ones it gets wrong.
        std::vector<std::size_t> byMean(faces.size());
        for (std::size_t i = 0; i < byMean.size(); ++i) byMean[i] = i;
        const auto mean = [&](std::size_t i) {
            double z = 0;
            for (const auto& p : faces[i].points) z += p.z;
            return z;
        };
        std::stable_sort(byMean.begin(), byMean.end(), [&](std::size_t a, std::size_t b) { return mean(a) > mean(b); });
        meanDepthWrong += Mismatches(faces, owner, byMean);

        // The scene with the far square and the ground face.
        const double far = std::array{5.0e8, -5.0e8, 1.0e18}[seed % 3];
        std::vector<DepthItem> site = faces;
        site.push_back(square(far, far, 10000, 0));
        site.push_back(square(-40000, -40000, 140000, -100));
        std::vector<std::size_t> siteOwner = owner, order = host::PaintersOrder(site);
        siteOwner.insert(siteOwner.end(), {boxes.size(), boxes.size() + 1});
        EXPECT_EQ(Mismatches(site, siteOwner, order), 0) << "seed " << seed << " far " << far;
        std::sort(order.begin(), order.end());
        for (std::size_t i = 0; i < order.size(); ++i) ASSERT_EQ(order[i], i) << "seed " << seed << " far " << far;
    }
    EXPECT_GT(meanDepthWrong, 0);
}

}  // namespace
