// Cuts of polygons by planes against Boost.Geometry: each polygon is turned into its own
// plane, the cut line is clipped there with intersection(linestring, polygon) and the
// pieces are turned back. Convex and concave polygons in random tilted planes, cut by
// random planes that pass no vertex; sloped roof faces cut level at many heights, as the
// dormer cuts them; the two-polygon form against the overlap of both clips. A difference
// names the polygon and the plane.
#include <boost/geometry.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <sstream>
#include <vector>

#include "Tools.h"

namespace bg = boost::geometry;

namespace {

using P2 = bg::model::d2::point_xy<double>;
using Polygon2 = bg::model::polygon<P2>;
using Line2 = bg::model::linestring<P2>;
using Lines2 = bg::model::multi_linestring<Line2>;

// A plane frame: origin, two axes in the plane and the unit normal.
struct Frame {
    GePoint3d o;
    GeVector3d e1, e2, n;

    GePoint3d At(double s, double t) const { return o + e1 * s + e2 * t; }
};

Frame MakeFrame(const GePoint3d& o, GeVector3d n)
{
    n.Normalize();
    GeVector3d e1 = std::fabs(n.x) < 0.9 ? GeVector3d(1, 0, 0).CrossProduct(n) : GeVector3d(0, 1, 0).CrossProduct(n);
    e1.Normalize();
    return {o, e1, n.CrossProduct(e1), n};
}

// A counter-clockwise polygon of `corners` points about the frame's origin: convex, or a
// star whose radii alternate.
GePoint3dArray MakePolygon(const Frame& f, std::mt19937& gen, int corners, bool star)
{
    std::uniform_real_distribution<double> unit(0, 1);
    // Jittered even angles: every gap is below a half turn, so the polygon is simple and
    // star-shaped about the origin.
    std::vector<double> angles(corners);
    for (int k = 0; k < corners; ++k)
        angles[k] = (k + 0.8 * unit(gen)) * 6.283185307179586 / corners;
    GePoint3dArray polygon;
    for (int k = 0; k < corners; ++k) {
        const double r = star && k % 2 ? 150 + 150 * unit(gen) : 500 + 300 * unit(gen);
        const GePoint3d p = f.At(r * std::cos(angles[k]), r * std::sin(angles[k]));
        if (polygon.empty() || p.DistanceTo(polygon.back()) > 20)
            polygon.push_back(p);
    }
    return polygon;
}

GeVector3d RandomTilt(std::mt19937& gen)
{
    std::uniform_real_distribution<double> unit(-1, 1);
    for (;;) {
        GeVector3d n(unit(gen), unit(gen), unit(gen));
        if (n.Length() > 0.1 && n.Length() < 1 && std::fabs(n.z) / n.Length() > 0.35)
            return n.Normalize();
    }
}

struct Piece {
    GePoint3d a, b;
};

// The cut of the polygon (lying in frame f) by the plane w.p = c, clipped in the frame.
std::vector<Piece> Clip(const Frame& f, const GePoint3dArray& polygon, const GeVector3d& w, double c)
{
    Polygon2 poly;
    for (const GePoint3d& p : polygon)
        bg::append(poly.outer(), P2((p - f.o).DotProduct(f.e1), (p - f.o).DotProduct(f.e2)));
    bg::correct(poly);
    // In the frame the cut line is a s + b t = r.
    const double a = w.DotProduct(f.e1), b = w.DotProduct(f.e2), r = c - w.DotProduct(f.o - GePoint3d());
    const double len2 = a * a + b * b;
    const P2 base(a * r / len2, b * r / len2);
    const double reach = 1e5 / std::sqrt(len2);
    Line2 line{P2(base.x() - b * reach, base.y() + a * reach), P2(base.x() + b * reach, base.y() - a * reach)};
    Lines2 clipped;
    bg::intersection(line, poly, clipped);
    std::vector<Piece> pieces;
    for (const Line2& l : clipped)
        pieces.push_back({f.At(l.front().x(), l.front().y()), f.At(l.back().x(), l.back().y())});
    return pieces;
}

// The pieces as intervals of the parameter along the direction d from the point x0.
std::vector<std::pair<double, double>> Intervals(const std::vector<Piece>& pieces, const GePoint3d& x0,
                                                 const GeVector3d& d)
{
    std::vector<std::pair<double, double>> out;
    for (const Piece& p : pieces) {
        const double s = (p.a - x0).DotProduct(d), t = (p.b - x0).DotProduct(d);
        out.push_back({std::min(s, t), std::max(s, t)});
    }
    std::sort(out.begin(), out.end());
    return out;
}

void ExpectSamePieces(const GePoint3dArray& actual, const std::vector<Piece>& expected, const std::string& what)
{
    ASSERT_EQ(actual.size(), 2 * expected.size()) << what;
    for (const Piece& e : expected) {
        bool found = false;
        for (std::size_t k = 0; k < actual.size() && !found; k += 2)
            found = (actual[k].DistanceTo(e.a) < 1e-6 && actual[k + 1].DistanceTo(e.b) < 1e-6) ||
                    (actual[k].DistanceTo(e.b) < 1e-6 && actual[k + 1].DistanceTo(e.a) < 1e-6);
        EXPECT_TRUE(found) << what << ": no piece " << e.a.x << "," << e.a.y << "," << e.a.z << " - " << e.b.x << ","
                           << e.b.y << "," << e.b.z;
    }
}

std::string Describe(const GePoint3dArray& polygon, const GeVector3d& w, double c)
{
    std::ostringstream s;
    s.precision(17);
    s << "plane " << w.x << "," << w.y << "," << w.z << " = " << c << " polygon";
    for (const GePoint3d& p : polygon)
        s << " (" << p.x << "," << p.y << "," << p.z << ")";
    return s.str();
}

// Whether every vertex lies more than 1 from the plane.
bool AwayFromVertices(const GePoint3dArray& polygon, const GeVector3d& w, double c)
{
    return std::all_of(polygon.begin(), polygon.end(),
                       [&](const GePoint3d& p) { return std::fabs(w.DotProduct(p - GePoint3d()) - c) > 1.0; });
}

TEST(SegmentCutsOracle, PolygonAndPlaneAgreeWithABoostClip)
{
    std::mt19937 gen(31);
    std::uniform_real_distribution<double> offset(-400, 400);
    int pieces = 0;
    for (int trial = 0; trial < 300; ++trial) {
        const Frame f = MakeFrame({offset(gen), offset(gen), 3000 + offset(gen)}, RandomTilt(gen));
        const GePoint3dArray polygon = MakePolygon(f, gen, 5 + trial % 20, trial % 2 == 1);
        GeVector3d w = RandomTilt(gen);
        std::swap(w.y, w.z);  // mostly steep cutting planes, as a level cut of a roof is
        if (std::fabs(w.DotProduct(f.n)) > 0.95)
            continue;
        const double c = w.DotProduct(f.At(offset(gen) / 2, offset(gen) / 2) - GePoint3d());
        if (!AwayFromVertices(polygon, w, c))
            continue;
        const std::vector<Piece> expected = Clip(f, polygon, w, c);
        GePoint3dArray actual;
        const GePoint3d onPlane = GePoint3d() + w * c;
        const int result = CTools::GetIntersectLineSegs(polygon, w, onPlane, actual, 1e-6, 0);
        EXPECT_EQ(result, expected.empty() ? 0 : 1) << Describe(polygon, w, c);
        ExpectSamePieces(actual, expected, Describe(polygon, w, c));
        pieces += int(expected.size());
    }
    EXPECT_GT(pieces, 300);
}

// The dormer's use: sloped faces, convex and concave (either way round), cut level.
TEST(SegmentCutsOracle, SlopedFacesCutLevelAgreeWithABoostClip)
{
    // Plan outlines lifted onto the plane z = 1000 + 0.4 x - 0.25 y.
    const auto sloped = [](const std::vector<std::pair<double, double>>& plan, bool reversed) {
        GePoint3dArray face;
        for (const auto& [x, y] : plan)
            face.push_back({x, y, 1000 + 0.4 * x - 0.25 * y});
        if (reversed)
            std::reverse(face.begin(), face.end());
        return face;
    };
    const GePoint3dArray faces[] = {
        sloped({{0, 0}, {6000, 500}, {7000, 4000}, {3000, 6000}, {-500, 3500}}, false),
        sloped({{0, 0}, {9000, 0}, {9000, 6000}, {7000, 6000}, {7000, 2000}, {5000, 2000}, {5000, 6000}, {3000, 6000},
                {3000, 2000}, {1000, 2000}, {1000, 6000}, {0, 6000}},
               false),
        sloped({{0, 0}, {8000, 0}, {8000, 8000}, {4000, 3000}, {0, 8000}}, true),
    };
    const GeVector3d up(0, 0, 1);
    for (const GePoint3dArray& face : faces) {
        const Frame f = MakeFrame(face[0], GeVector3d(-0.4, 0.25, 1));
        double low = 1e300, high = -1e300;
        for (const GePoint3d& p : face)
            low = std::min(low, p.z), high = std::max(high, p.z);
        for (int step = 1; step < 40; ++step) {
            const double h = low + (high - low) * (step + 0.37) / 40.0;
            const std::vector<Piece> expected = Clip(f, face, up, h);
            GePoint3dArray actual;
            EXPECT_EQ(CTools::GetIntersectLineSegs(face, up, {0, 0, h}, actual, 1e-6, 0), expected.empty() ? 0 : 1)
                << Describe(face, up, h);
            ExpectSamePieces(actual, expected, Describe(face, up, h));
        }
    }
}

TEST(SegmentCutsOracle, TwoPolygonsAgreeWithTheOverlapOfBothClips)
{
    std::mt19937 gen(57);
    std::uniform_real_distribution<double> offset(-300, 300);
    int compared = 0;
    for (int trial = 0; trial < 300; ++trial) {
        const Frame f = MakeFrame({0, 0, 3000}, RandomTilt(gen));
        const Frame g = MakeFrame({offset(gen), offset(gen), 3000 + offset(gen) / 3}, RandomTilt(gen));
        if (std::fabs(f.n.DotProduct(g.n)) > 0.95)
            continue;
        const GePoint3dArray first = MakePolygon(f, gen, 4 + trial % 12, trial % 3 == 0);
        const GePoint3dArray second = MakePolygon(g, gen, 4 + trial % 9, trial % 2 == 0);
        // The plane of each polygon as the other one's cutting plane.
        const double cf = f.n.DotProduct(first[0] - GePoint3d()), cg = g.n.DotProduct(second[0] - GePoint3d());
        if (!AwayFromVertices(first, g.n, cg) || !AwayFromVertices(second, f.n, cf))
            continue;
        GeVector3d d = f.n.CrossProduct(g.n);
        d.Normalize();
        const std::vector<std::pair<double, double>> a = Intervals(Clip(f, first, g.n, cg), first[0], d);
        const std::vector<std::pair<double, double>> b = Intervals(Clip(g, second, f.n, cf), first[0], d);
        std::vector<std::pair<double, double>> both;
        for (const auto& [a0, a1] : a)
            for (const auto& [b0, b1] : b)
                if (std::min(a1, b1) - std::max(a0, b0) > 1e-6)
                    both.push_back({std::max(a0, b0), std::min(a1, b1)});

        GePoint3dArray actual;
        const int result = CTools::GetIntersectLineSegs(first, second, actual, 1e-6, 0);
        const std::string what = Describe(first, g.n, cg) + " / " + Describe(second, f.n, cf);
        EXPECT_EQ(result, both.empty() ? 0 : 1) << what;
        const std::vector<std::pair<double, double>> got = Intervals(
            [&] {
                std::vector<Piece> pieces;
                for (std::size_t k = 0; k + 1 < actual.size(); k += 2)
                    pieces.push_back({actual[k], actual[k + 1]});
                return pieces;
            }(),
            first[0], d);
        ASSERT_EQ(got.size(), both.size()) << what;
        for (std::size_t k = 0; k < got.size(); ++k) {
            EXPECT_NEAR(got[k].first, both[k].first, 1e-6) << what;
            EXPECT_NEAR(got[k].second, both[k].second, 1e-6) << what;
        }
        compared += both.empty() ? 0 : 1;
    }
    EXPECT_GT(compared, 50);
}

}  // namespace
