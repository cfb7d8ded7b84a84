// Faces of segment networks against CGAL's Arrangement_2: the segments are broken at their
// crossings (BreakIntoLineSegs) and traced at 0.1 (the count form of MakeLineSegsToFaces), as
// the balcony does, and the faces must be the arrangement's bounded faces in number and in
// sorted areas (a face holding an island counts its outer boundary), every one clockwise.
// Random chords of a box and overlapping rectangles on a coarse grid (shared and partly
// shared sides, touching corners, nested rectangles). A difference names the segments.
#include <CGAL/Arr_segment_traits_2.h>
#include <CGAL/Arrangement_2.h>
#include <CGAL/Exact_predicates_exact_constructions_kernel.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "Tools.h"

namespace {

using Kernel = CGAL::Exact_predicates_exact_constructions_kernel;
using Traits = CGAL::Arr_segment_traits_2<Kernel>;
using Arrangement = CGAL::Arrangement_2<Traits>;

struct Segments {
    GePoint3dArray starts, ends;

    void Add(const GePoint3d& s, const GePoint3d& e)
    {
        starts.push_back(s);
        ends.push_back(e);
    }

    std::string Describe() const
    {
        std::ostringstream out;
        out.precision(17);
        out << starts.size() << " segments:";
        for (std::size_t k = 0; k < starts.size(); ++k)
            out << " (" << starts[k].x << "," << starts[k].y << ")-(" << ends[k].x << "," << ends[k].y << ")";
        return out.str();
    }
};

// The arrangement of the segments: the areas of its bounded faces' outer boundaries, and
// whether every vertex lies at least `gap` from every other vertex and every edge it does
// not end, so that no feature is finer than the tracer's tolerance.
struct Oracle {
    std::vector<double> areas;
    bool separated = true;
};

double PointToSegment(double px, double py, double ax, double ay, double bx, double by)
{
    const double dx = bx - ax, dy = by - ay;
    const double t = std::clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(px - ax - t * dx, py - ay - t * dy);
}

Oracle Arrange(const Segments& input, double gap)
{
    std::vector<Traits::Curve_2> curves;
    for (std::size_t k = 0; k < input.starts.size(); ++k)
        curves.emplace_back(Kernel::Point_2(input.starts[k].x, input.starts[k].y),
                            Kernel::Point_2(input.ends[k].x, input.ends[k].y));
    Arrangement arrangement;
    CGAL::insert(arrangement, curves.begin(), curves.end());

    Oracle oracle;
    for (auto f = arrangement.faces_begin(); f != arrangement.faces_end(); ++f) {
        if (f->is_unbounded())
            continue;
        double twice = 0.0;
        auto edge = f->outer_ccb();
        do {
            const double ax = CGAL::to_double(edge->source()->point().x()), ay = CGAL::to_double(edge->source()->point().y());
            const double bx = CGAL::to_double(edge->target()->point().x()), by = CGAL::to_double(edge->target()->point().y());
            twice += ax * by - bx * ay;
        } while (++edge != f->outer_ccb());
        oracle.areas.push_back(twice / 2.0);
    }
    std::sort(oracle.areas.begin(), oracle.areas.end());

    std::vector<std::pair<double, double>> points;
    for (auto v = arrangement.vertices_begin(); v != arrangement.vertices_end(); ++v)
        points.emplace_back(CGAL::to_double(v->point().x()), CGAL::to_double(v->point().y()));
    for (std::size_t i = 0; i < points.size() && oracle.separated; ++i)
        for (std::size_t j = i + 1; j < points.size() && oracle.separated; ++j)
            oracle.separated = std::hypot(points[i].first - points[j].first, points[i].second - points[j].second) >= gap;
    for (auto e = arrangement.edges_begin(); e != arrangement.edges_end() && oracle.separated; ++e) {
        const auto a = e->source()->point(), b = e->target()->point();
        const double ax = CGAL::to_double(a.x()), ay = CGAL::to_double(a.y());
        const double bx = CGAL::to_double(b.x()), by = CGAL::to_double(b.y());
        for (auto v = arrangement.vertices_begin(); v != arrangement.vertices_end() && oracle.separated; ++v)
            if (v != e->source() && v != e->target())
                oracle.separated = PointToSegment(CGAL::to_double(v->point().x()), CGAL::to_double(v->point().y()), ax,
                                                  ay, bx, by) >= gap;
    }
    return oracle;
}

double SignedPlanArea(const GePoint3dArray& ring)
{
    double twice = 0.0;
    for (std::size_t i = 0; i < ring.size(); ++i)
        twice += ring[i].x * ring[(i + 1) % ring.size()].y - ring[(i + 1) % ring.size()].x * ring[i].y;
    return twice / 2.0;
}

// Traces the input as the balcony does and compares it with the arrangement; false when the
// input has features finer than the gap and is not compared.
bool ExpectArrangementFaces(const Segments& input)
{
    const Oracle oracle = Arrange(input, 2.0);
    if (!oracle.separated)
        return false;
    GePoint3dArray starts = input.starts, ends = input.ends;
    CTools::BreakIntoLineSegs(starts, ends, 0.1);
    std::vector<GePoint3dArray> faces;
    CTools::MakeLineSegsToFaces(static_cast<long>(starts.size()), starts.data(), ends.data(), faces, 0.1);

    const std::string what = input.Describe();
    std::vector<double> areas;
    for (const GePoint3dArray& face : faces) {
        EXPECT_LT(SignedPlanArea(face), 0.0) << "a face runs counter-clockwise; " << what;
        areas.push_back(-SignedPlanArea(face));
    }
    std::sort(areas.begin(), areas.end());
    EXPECT_EQ(areas.size(), oracle.areas.size()) << what;
    if (areas.size() != oracle.areas.size())
        return true;
    for (std::size_t k = 0; k < areas.size(); ++k)
        EXPECT_NEAR(areas[k], oracle.areas[k], 1e-3 + 1e-9 * oracle.areas[k]) << "face " << k << "; " << what;
    return true;
}

TEST(SegmentFacesOracle, ChordsOfABoxGiveTheArrangementsFaces)
{
    std::mt19937 gen(26);
    std::uniform_real_distribution<double> along(0, 10000);
    std::uniform_int_distribution<int> side(0, 3);
    // A point on side s of the 10 m box, counter-clockwise from (0, 0).
    const auto onSide = [](int s, double t) -> GePoint3d {
        switch (s) {
        case 0: return {t, 0, 0};
        case 1: return {10000, t, 0};
        case 2: return {10000 - t, 10000, 0};
        default: return {0, 10000 - t, 0};
        }
    };
    int compared = 0;
    for (int trial = 0; trial < 120; ++trial) {
        Segments input;
        for (int s = 0; s < 4; ++s)
            input.Add(onSide(s, 0), onSide(s, 10000));
        const int lines = 1 + trial % 20;
        for (int k = 0; k < lines; ++k) {
            const int a = side(gen), b = (a + 1 + side(gen) % 3) % 4;
            input.Add(onSide(a, along(gen)), onSide(b, along(gen)));
        }
        compared += ExpectArrangementFaces(input) ? 1 : 0;
    }
    EXPECT_GT(compared, 80);
}

TEST(SegmentFacesOracle, OverlappingRectanglesGiveTheArrangementsFaces)
{
    std::mt19937 gen(62);
    std::uniform_int_distribution<int> cell(0, 30);
    std::uniform_int_distribution<int> size(1, 12);
    int compared = 0;
    for (int trial = 0; trial < 120; ++trial) {
        Segments input;
        const int rectangles = 1 + trial % 10;
        double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        for (int k = 0; k < rectangles; ++k) {
            if (k % 3 == 2 && x1 - x0 > 200 && y1 - y0 > 200) {
                // An island: the last rectangle shrunk by a cell all round.
                x0 += 100, y0 += 100, x1 -= 100, y1 -= 100;
            } else {
                x0 = 100.0 * cell(gen), y0 = 100.0 * cell(gen);
                x1 = x0 + 100.0 * size(gen), y1 = y0 + 100.0 * size(gen);
            }
            const GePoint3d corners[] = {{x0, y0, 0}, {x1, y0, 0}, {x1, y1, 0}, {x0, y1, 0}};
            for (int c = 0; c < 4; ++c)
                input.Add(corners[c], corners[(c + 1) % 4]);
        }
        compared += ExpectArrangementFaces(input) ? 1 : 0;
    }
    EXPECT_EQ(compared, 120);
}

}  // namespace
