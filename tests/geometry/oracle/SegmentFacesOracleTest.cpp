// Faces of segment networks against CGAL's Arrangement_2: the segments are broken at their
// crossings (BreakIntoLineSegs) and traced at 0.1 (the count form of MakeLineSegsToFaces), as
// the balcony does, and the faces must be the arrangement's bounded faces in number and in
// sorted areas (a face holding an island counts its outer boundary), every one clockwise.
// Random chords of a box, overlapping rectangles on a coarse grid (shared and partly shared
// sides, touching corners, nested rectangles), and rectangles with spurs and bridges. Walls
// that meet within the splitter's margin are held to the arrangement of the walls drawn to
// meet. A difference names the segments.
#include <CGAL/Arr_segment_traits_2.h>
#include <CGAL/Arrangement_2.h>
#include <CGAL/Exact_predicates_exact_constructions_kernel.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "SegmentTestSupport.h"
#include "SplitAtCrossings.h"
#include "Tools.h"

namespace {

using segment_test::SegmentsMeet;
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

// The arrangement of the segments: the areas its bounded faces' outer boundaries enclose, and
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

// The signed area a face's outer boundary walks round, measured from its first corner so
// that far coordinates keep it.
double WalkedArea(Arrangement::Face_const_handle face)
{
    const auto o = face->outer_ccb()->source()->point();
    const double ox = CGAL::to_double(o.x()), oy = CGAL::to_double(o.y());
    double twice = 0.0;
    auto edge = face->outer_ccb();
    do {
        const auto& a = edge->source()->point();
        const auto& b = edge->target()->point();
        twice += (CGAL::to_double(a.x()) - ox) * (CGAL::to_double(b.y()) - oy) -
                 (CGAL::to_double(b.x()) - ox) * (CGAL::to_double(a.y()) - oy);
    } while (++edge != face->outer_ccb());
    return twice / 2.0;
}

// The area a bounded face's outer boundary encloses, islands and all. Where the boundary
// passes a vertex twice (an island or a hole hung on it at a corner or by a bridge), it walks
// round those too, the other way: the faces its edges alone make, added up, enclose it.
double OutlineArea(Arrangement::Face_const_handle face)
{
    std::vector<Kernel::Point_2> corners;
    std::vector<Traits::Curve_2> edges;
    auto edge = face->outer_ccb();
    do {
        corners.push_back(edge->source()->point());
        edges.emplace_back(edge->source()->point(), edge->target()->point());
    } while (++edge != face->outer_ccb());
    std::sort(corners.begin(), corners.end());
    if (std::adjacent_find(corners.begin(), corners.end()) == corners.end())
        return WalkedArea(face);
    Arrangement outline;
    CGAL::insert(outline, edges.begin(), edges.end());
    double area = 0.0;
    for (auto f = outline.faces_begin(); f != outline.faces_end(); ++f)
        if (!f->is_unbounded())
            area += WalkedArea(f);
    return area;
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
    for (auto f = arrangement.faces_begin(); f != arrangement.faces_end(); ++f)
        if (!f->is_unbounded())
            oracle.areas.push_back(OutlineArea(f));
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
    const auto x = [&](std::size_t i) { return ring[i % ring.size()].x - ring[0].x; };
    const auto y = [&](std::size_t i) { return ring[i % ring.size()].y - ring[0].y; };
    for (std::size_t i = 0; i < ring.size(); ++i)
        twice += x(i) * y(i + 1) - x(i + 1) * y(i);
    return twice / 2.0;
}

// Traced as the balcony does (broken at their crossings first) or as an outside caller may
// (as drawn): the faces' sorted areas, every face clockwise.
std::vector<double> TracedAreas(const Segments& input, bool broken)
{
    GePoint3dArray starts = input.starts, ends = input.ends;
    if (broken)
        CTools::BreakIntoLineSegs(starts, ends, 0.1);
    std::vector<GePoint3dArray> faces;
    CTools::MakeLineSegsToFaces(static_cast<long>(starts.size()), starts.data(), ends.data(), faces, 0.1);
    std::vector<double> areas;
    for (const GePoint3dArray& face : faces) {
        EXPECT_LT(SignedPlanArea(face), 0.0) << "a face runs counter-clockwise; " << input.Describe();
        areas.push_back(-SignedPlanArea(face));
    }
    std::sort(areas.begin(), areas.end());
    return areas;
}

// Traces the input as the balcony does and compares it with the arrangement of `bounding`
// (the input itself unless given: segments that bound no face, spurs and bridges, are left
// out of it); false when that has features finer than the gap and is not compared.
bool ExpectArrangementFaces(const Segments& input, const Segments* bounding = nullptr)
{
    const Oracle oracle = Arrange(bounding ? *bounding : input, 2.0);
    if (!oracle.separated)
        return false;
    const std::string what = input.Describe();
    const std::vector<double> areas = TracedAreas(input, true);
    EXPECT_EQ(areas.size(), oracle.areas.size()) << what;
    if (areas.size() != oracle.areas.size())
        return true;
    // Far from the origin a crossing lands on the nearest double: each corner may move by
    // that spacing, the area by as much times a perimeter (the drawings span up to 10 m).
    double largest = 0.0;
    for (const GePoint3dArray* points : {&input.starts, &input.ends})
        for (const GePoint3d& p : *points)
            largest = std::max({largest, std::fabs(p.x), std::fabs(p.y)});
    const double spacing = largest * std::numeric_limits<double>::epsilon();
    for (std::size_t k = 0; k < areas.size(); ++k)
        EXPECT_NEAR(areas[k], oracle.areas[k], 1e-3 + 1e-9 * oracle.areas[k] + 4e4 * spacing)
            << "face " << k << "; " << what;
    return true;
}

// The input broken at its crossings and traced, against the same pieces without those that
// lie on the spurs: the very same faces, in the same order, each from the same corner.
void ExpectSpursChangeNothing(const Segments& input, const Segments& spurs)
{
    GePoint3dArray starts = input.starts, ends = input.ends;
    CTools::BreakIntoLineSegs(starts, ends, 0.1);
    GePoint3dArray bareStarts, bareEnds;
    for (std::size_t k = 0; k < starts.size(); ++k) {
        const GePoint3d middle{(starts[k].x + ends[k].x) / 2, (starts[k].y + ends[k].y) / 2, 0};
        bool onSpur = false;
        for (std::size_t j = 0; j < spurs.starts.size() && !onSpur; ++j)
            onSpur = SegmentsMeet(middle, middle, spurs.starts[j], spurs.ends[j]);
        if (!onSpur)
            bareStarts.push_back(starts[k]), bareEnds.push_back(ends[k]);
    }
    std::vector<GePoint3dArray> faces, bare;
    CTools::MakeLineSegsToFaces(static_cast<long>(starts.size()), starts.data(), ends.data(), faces, 0.1);
    CTools::MakeLineSegsToFaces(static_cast<long>(bareStarts.size()), bareStarts.data(), bareEnds.data(), bare, 0.1);
    ASSERT_EQ(faces.size(), bare.size()) << input.Describe();
    const auto same = [](const GePoint3dArray& a, const GePoint3dArray& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                          [](const GePoint3d& p, const GePoint3d& q) { return p.x == q.x && p.y == q.y; });
    };
    for (std::size_t f = 0; f < faces.size(); ++f)
        EXPECT_TRUE(same(faces[f], bare[f])) << "face " << f << "; " << input.Describe();
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

// Many chords across a box, crossing closer than the tolerances at places (where the splitter
// merges crossings and the arrangement is not compared): the faces still tile the box, none
// counted twice and none lost, so their areas add up to the box's.
TEST(SegmentFacesOracle, DenseChordsTileTheBox)
{
    for (const int chords : {100, 250}) {
        std::mt19937 gen(chords);
        std::uniform_real_distribution<double> along(100, 9900);
        Segments input;
        const GePoint3d box[] = {{0, 0, 0}, {10000, 0, 0}, {10000, 10000, 0}, {0, 10000, 0}};
        for (int k = 0; k < 4; ++k)
            input.Add(box[k], box[(k + 1) % 4]);
        for (int k = 0; k < chords; ++k)
            input.Add({0, std::round(along(gen)), 0}, {10000, std::round(along(gen)), 0});
        GePoint3dArray starts = input.starts, ends = input.ends;
        CTools::BreakIntoLineSegs(starts, ends, 0.1);
        std::vector<GePoint3dArray> faces;
        CTools::MakeLineSegsToFaces(static_cast<long>(starts.size()), starts.data(), ends.data(), faces, 0.1);
        double area = 0.0;
        for (const GePoint3dArray& face : faces)
            area -= SignedPlanArea(face);
        EXPECT_NEAR(area, 1e8, 1e3) << chords << " chords, " << faces.size() << " faces";
    }
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

// Rectangles (some nested) on a coarse grid with segments that bound no face added: spurs of
// one to three pieces from a corner or a side into the open, and bridges between two
// rectangles (to an island, or to a neighbour), each touching the rest only at its root or
// its two ends. The faces must be those of the rectangles alone, however the extra pieces are
// listed among them; and a spur must change nothing at all, not even the order the faces come
// in or the corner each starts at.
TEST(SegmentFacesOracle, SpursAndBridgesChangeNoFace)
{
    std::mt19937 gen(53);
    std::uniform_int_distribution<int> cell(0, 30), size(2, 12), pieces(1, 3), step(-4, 4);
    int compared = 0, extras = 0;
    for (int trial = 0; trial < 150; ++trial) {
        Segments rectangles;
        std::vector<GePoint3d> onSides;  // lattice points on the rectangles' sides
        std::vector<int> of;             // the rectangle of each
        double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        for (int k = 0; k < 1 + trial % 6; ++k) {
            if (k % 2 == 1 && x1 - x0 > 400 && y1 - y0 > 400) {
                x0 += 200, y0 += 200, x1 -= 200, y1 -= 200;  // an island
            } else {
                x0 = 100.0 * cell(gen), y0 = 100.0 * cell(gen);
                x1 = x0 + 100.0 * size(gen), y1 = y0 + 100.0 * size(gen);
            }
            const GePoint3d corners[] = {{x0, y0, 0}, {x1, y0, 0}, {x1, y1, 0}, {x0, y1, 0}};
            for (int c = 0; c < 4; ++c) {
                rectangles.Add(corners[c], corners[(c + 1) % 4]);
                const GePoint3d& a = corners[c];
                const GePoint3d& b = corners[(c + 1) % 4];
                const int n = static_cast<int>(std::max(std::fabs(b.x - a.x), std::fabs(b.y - a.y)) / 100);
                for (int t = 0; t < n; ++t) {
                    onSides.push_back({a.x + (b.x - a.x) * t / n, a.y + (b.y - a.y) * t / n, 0});
                    of.push_back(k);
                }
            }
        }
        // Rectangles whose sides touch hang together; a piece between two that do not is a
        // bridge, one between two that do would cut a face.
        std::vector<int> part(rectangles.starts.size() / 4);
        for (std::size_t r = 0; r < part.size(); ++r)
            part[r] = static_cast<int>(r);
        const auto root = [&](int r) {
            while (part[r] != r)
                r = part[r];
            return r;
        };
        for (std::size_t i = 0; i < rectangles.starts.size(); ++i)
            for (std::size_t j = 0; j < rectangles.starts.size(); ++j)
                if (SegmentsMeet(rectangles.starts[i], rectangles.ends[i], rectangles.starts[j], rectangles.ends[j]))
                    part[root(static_cast<int>(i / 4))] = root(static_cast<int>(j / 4));
        Segments all = rectangles, spurs;
        // Whether a new piece from p to q touches nothing but at `root` (p, and q when it is
        // a bridge's far end).
        const auto meets = [&](const GePoint3d& a, const GePoint3d& b, std::size_t k) {
            return SegmentsMeet(a, b, all.starts[k], all.ends[k]);
        };
        const auto free = [&](const GePoint3d& p, const GePoint3d& q, bool toSide) {
            for (std::size_t k = 0; k < all.starts.size(); ++k) {
                if (!meets(p, q, k))
                    continue;
                const bool atP = meets(p, p, k) && !meets(q, q, k), atQ = toSide && meets(q, q, k) && !meets(p, p, k);
                if (!atP && !atQ)
                    return false;
                // Only the very end may touch: the rest of the piece must stay off the segment.
                const GePoint3d near = atP ? GePoint3d{p.x + (q.x - p.x) * 0.01, p.y + (q.y - p.y) * 0.01, 0}
                                           : GePoint3d{q.x + (p.x - q.x) * 0.01, q.y + (p.y - q.y) * 0.01, 0};
                if (meets(atP ? near : p, atP ? q : near, k))
                    return false;
            }
            return true;
        };
        std::uniform_int_distribution<std::size_t> pick(0, onSides.size() - 1);
        for (int e = 0; e < 4; ++e) {
            const std::size_t from = pick(gen);
            GePoint3d p = onSides[from];
            if (e % 2 == 0) {  // a spur, its pieces either way round
                for (int k = 0, n = pieces(gen); k < n; ++k, ++extras) {
                    const GePoint3d q{p.x + 100.0 * step(gen), p.y + 100.0 * step(gen), 0};
                    if ((q.x == p.x && q.y == p.y) || !free(p, q, false))
                        break;
                    all.Add(k % 2 ? q : p, k % 2 ? p : q);
                    spurs.Add(p, q);
                    p = q;
                }
            } else {  // a bridge to another rectangle's side
                const std::size_t to = pick(gen);
                const GePoint3d q = onSides[to];
                if (root(of[from]) != root(of[to]) && free(p, q, true)) {
                    part[root(of[from])] = root(of[to]);  // a second bridge would cut a face
                    all.Add(q, p);
                    ++extras;
                }
            }
        }
        // The extra pieces first, so that they meet the walks early.
        Segments input;
        for (std::size_t k = all.starts.size(); k-- > 0;)
            input.Add(all.starts[k], all.ends[k]);
        compared += ExpectArrangementFaces(input, &rectangles) ? 1 : 0;
        ExpectSpursChangeNothing(input, spurs);
    }
    EXPECT_EQ(compared, 150);
    EXPECT_GT(extras, 200);
}

// Rectangles and lines on the plan, drawn at an origin (a national grid's coordinates
// too), mirrored or not, each rectangle one way round or the other and each line either way.
struct Plan {
    struct Box {
        double x0, y0, x1, y1;
    };
    struct Line {
        GePoint3d a, b;
    };
    std::vector<Box> boxes;
    std::vector<Line> lines;

    Segments Drawn(double origin, bool mirrored, unsigned turns) const
    {
        const auto at = [&](double x, double y) -> GePoint3d { return {origin + (mirrored ? -x : x), origin + y, 0}; };
        Segments s;
        for (const Box& b : boxes) {
            const bool back = (turns++ & 1u) != 0;
            const GePoint3d c[] = {at(b.x0, b.y0), at(b.x1, b.y0), at(b.x1, b.y1), at(b.x0, b.y1)};
            for (int k = 0; k < 4; ++k)
                back ? s.Add(c[(k + 1) % 4], c[k]) : s.Add(c[k], c[(k + 1) % 4]);
        }
        for (const Line& l : lines) {
            const bool back = (turns++ & 1u) != 0;
            back ? s.Add(at(l.b.x, l.b.y), at(l.a.x, l.a.y)) : s.Add(at(l.a.x, l.a.y), at(l.b.x, l.b.y));
        }
        return s;
    }
};

// Where pieces meet at corners: a bar whose corner lies on an island's corner while it
// crosses the outline (the face round the island touches itself there), a bridge from an
// island's corner to the outline's (it changes no face), and two parallel slanting lines from
// corners, a quarter of a metre apart (neither cuts the other, far from the origin too).
// Every placement, mirror and way round.
TEST(SegmentFacesOracle, PiecesMeetingAtCornersGiveTheArrangementsFaces)
{
    const Plan shapes[] = {
        {{{2200, 2000, 3000, 3100}, {2300, 2100, 2900, 3000}, {1400, 3000, 2300, 3100}}, {}},
        {{{100, 1700, 400, 2200}, {200, 1800, 300, 2100}}, {{{200, 2100, 0}, {100, 1700, 0}}}},
        {{{100, 1700, 1800, 2700}}, {{{100, 1700, 0}, {1400, 2700, 0}}, {{1800, 2700, 0}, {500, 1700, 0}}}},
    };
    for (const Plan& plan : shapes)
        for (const double origin : {0.0, 1e6, 1e12})
            for (const bool mirrored : {false, true})
                for (unsigned turns = 0; turns < 4; ++turns)
                    EXPECT_TRUE(ExpectArrangementFaces(plan.Drawn(origin, mirrored, turns)));
}

// Rectangles on a coarse grid with what meets them at their corners: islands, bars with a
// corner on another's corner, rectangles spanned by two corners, and lines from corner to
// corner (bridges, chords, or along sides), mirrored or not, at far origins too.
TEST(SegmentFacesOracle, CornersOnCornersGiveTheArrangementsFaces)
{
    std::mt19937 gen(47);
    std::uniform_int_distribution<int> cell(0, 20), size(2, 12), kind(0, 3), sign(0, 1);
    std::uniform_int_distribution<unsigned> turns;
    int compared = 0;
    for (int trial = 0; trial < 300; ++trial) {
        Plan plan;
        std::vector<GePoint3d> corners;
        const auto add = [&](double x0, double y0, double x1, double y1) {
            plan.boxes.push_back({std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)});
            for (const GePoint3d c : {GePoint3d{x0, y0, 0}, {x1, y0, 0}, {x1, y1, 0}, {x0, y1, 0}})
                corners.push_back(c);
        };
        const double x = 100.0 * cell(gen), y = 100.0 * cell(gen);
        add(x, y, x + 100.0 * size(gen), y + 100.0 * size(gen));
        for (int k = 0; k < 2 + trial % 5; ++k) {
            std::uniform_int_distribution<std::size_t> pick(0, corners.size() - 1);
            const GePoint3d c = corners[pick(gen)], d = corners[pick(gen)];
            const Plan::Box b = plan.boxes[pick(gen) / 4];
            switch (kind(gen)) {
            case 0:  // an island, a cell or two in from the rectangle's sides
                if (const double in = 100.0 * (1 + sign(gen)); b.x1 - b.x0 > 2 * in && b.y1 - b.y0 > 2 * in) {
                    add(b.x0 + in, b.y0 + in, b.x1 - in, b.y1 - in);
                    break;
                }
                [[fallthrough]];
            case 1:  // a bar from a corner, into any quadrant
                add(c.x, c.y, c.x + (sign(gen) ? 100.0 : -100.0) * size(gen),
                    c.y + (sign(gen) ? 100.0 : -100.0) * size(gen));
                break;
            case 2:
                if (c.x != d.x && c.y != d.y)
                    add(c.x, c.y, d.x, d.y);
                break;
            default:
                if (c.x != d.x || c.y != d.y)
                    plan.lines.push_back({c, d});
            }
        }
        const double origins[] = {0.0, 1e6, 1e12};
        compared += ExpectArrangementFaces(plan.Drawn(origins[trial % 3], trial / 3 % 2 == 1, turns(gen))) ? 1 : 0;
    }
    EXPECT_GT(compared, 200);
}

// The traced faces are the arrangement's faces of the walls as they were meant to meet: as
// many, each within `within` of its area.
void ExpectMeantFaces(const std::vector<double>& traced, const Segments& meant, double within, const std::string& what)
{
    const std::vector<double> arranged = Arrange(meant, 0.0).areas;
    ASSERT_EQ(traced.size(), arranged.size()) << what;
    for (std::size_t k = 0; k < traced.size(); ++k)
        EXPECT_NEAR(traced[k], arranged[k], within) << "face " << k << "; " << what;
}

// A 10 x 8 m room with a partition at x = 5000 (drawn either way round, at the origin and at
// 5e5). Its bottom wall drawn in two pieces meeting 0.05 to 2 mm beside the partition's foot,
// on either side: two rooms, however it is traced. A partition whose foot stops short of an
// unbroken bottom wall, or runs past it, within the margin: the two rooms of the partition
// drawn to meet the wall; beyond it, a partition short of the wall leaves one room.
TEST(SegmentFacesOracle, WallsMeetingWithinTheSplittersReachMeet)
{
    for (const double origin : {0.0, 5e5})
        for (const bool reversed : {false, true}) {
            const auto room = [&](double joint, double foot) {
                Segments s;
                const auto add = [&](double x0, double y0, double x1, double y1) {
                    const GePoint3d a{origin + x0, origin + y0, 0}, b{origin + x1, origin + y1, 0};
                    reversed ? s.Add(b, a) : s.Add(a, b);
                };
                add(0, 0, joint == 0.0 ? 10000 : 5000 + joint, 0);
                if (joint != 0.0)
                    add(5000 + joint, 0, 10000, 0);
                add(10000, 0, 10000, 8000);
                add(10000, 8000, 0, 8000);
                add(0, 8000, 0, 0);
                add(5000, foot, 5000, 8000);
                return s;
            };
            for (const double gap : {0.05, 0.2, 0.5, 0.95, 2.0})
                for (const double side : {-1.0, 1.0})
                    for (const bool broken : {true, false}) {
                        const Segments joint = room(side * gap, 0.0), foot = room(0.0, side * gap);
                        ExpectMeantFaces(TracedAreas(joint, broken), joint, gap * 8000, "joint; " + joint.Describe());
                        if (const bool meets = gap < tools::kSplitMargin; meets || side > 0.0)
                            ExpectMeantFaces(TracedAreas(foot, broken), meets ? room(0.0, 0.0) : foot, gap * 8000,
                                             "foot; " + foot.Describe());
                    }
        }
}

// Random plans, a 12 x 9 m box crossed by up to three walls each way, every wall drawn in
// pieces meeting 0.05 to 2 mm beside each wall across it, and every piece drawn twice, the
// second 0.09 away in any direction, broken at the crossings: the rooms of the plan drawn once.
TEST(SegmentFacesOracle, PlansDrawnTwiceWithJointsBesideTheirCrossingsGiveTheirRooms)
{
    std::mt19937 gen(60);
    std::uniform_real_distribution<double> place(0.1, 0.9), beside(0.05, 2.0), turn(0.0, 2.0 * std::numbers::pi);
    std::uniform_int_distribution<int> walls(0, 3), sign(0, 1);
    for (int trial = 0; trial < 60; ++trial) {
        const double origin = trial % 2 ? 5e5 : 0.0;
        std::vector<double> xs{0, 12000}, ys{0, 9000};
        for (int k = walls(gen); k-- > 0;)
            xs.push_back(12000 * place(gen));
        for (int k = walls(gen); k-- > 0;)
            ys.push_back(9000 * place(gen));
        Segments once, drawn;
        // The wall from a along `along`, in pieces meeting beside the walls across it.
        const auto wall = [&](const GePoint3d& a, const GeVector3d& along, double length, const std::vector<double>& across) {
            const GePoint3d o{origin, origin, 0};
            once.Add(o + (a - GePoint3d()), o + (a + along * length - GePoint3d()));
            std::vector<double> joints{0.0, length};
            for (const double c : across)
                if (c > 0.0 && c < length)
                    joints.push_back(c + (sign(gen) ? beside(gen) : -beside(gen)));
            std::sort(joints.begin(), joints.end());
            for (std::size_t j = 0; j + 1 < joints.size(); ++j) {
                const GePoint3d p = o + (a + along * joints[j] - GePoint3d()), q = o + (a + along * joints[j + 1] - GePoint3d());
                const double t = turn(gen);
                const GeVector3d off(0.09 * std::cos(t), 0.09 * std::sin(t), 0);
                drawn.Add(p, q);
                drawn.Add(p + off, q + off);
            }
        };
        for (const double x : xs)
            wall({x, 0, 0}, {0, 1, 0}, 9000, ys);
        for (const double y : ys)
            wall({0, y, 0}, {1, 0, 0}, 12000, xs);
        ExpectMeantFaces(TracedAreas(drawn, true), once, 2.0 * 42000, drawn.Describe());
    }
}

}  // namespace
