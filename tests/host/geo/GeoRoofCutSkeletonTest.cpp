// The roof routine's cut-off roof against CGAL's straight-skeleton offset on generated star
// footprints: the flat top is the skeleton's offset at h / tan s, however many pieces it falls
// into. (A mitred offset, which unites what crosses itself, parts from it once the top splits.)
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Polygon_2.h>
#include <CGAL/create_offset_polygons_2.h>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "GeoRoofFaces.h"

namespace {

using K = CGAL::Exact_predicates_inexact_constructions_kernel;

struct Star {
    std::vector<double> x{0}, y{0};  // 1-based, counter-clockwise
    int n = 0;
};

Star RandomStar(std::mt19937& rng, int n)
{
    std::uniform_real_distribution<double> radius(6000.0, 12000.0), jitter(-0.3, 0.3);
    Star star;
    star.n = n;
    for (int i = 0; i < n; ++i) {
        const double a = 2 * std::numbers::pi * (i + 0.5 + jitter(rng)) / n;
        const double r = radius(rng);
        star.x.push_back(std::round(r * std::cos(a)));
        star.y.push_back(std::round(r * std::sin(a)));
    }
    return star;
}

// The plan area of the routine's faces that lie level at h, and how many there are.
std::pair<double, int> TopOfCutRoof(Star star, double slope, double h)
{
    std::vector<double> slopes(star.n + 1, slope), fx(10000), fy(10000), fz(10000);
    std::vector<int> counts(1000);
    int faces = 0, spare = 0;
    EXPECT_EQ(geofeidengpowumianzcx(h, star.x.data(), star.y.data(), slopes.data(), star.n, &faces, counts.data(),
                                    &spare, fx.data(), fy.data(), fz.data()),
              1);
    double area = 0;
    int loops = 0;
    for (int f = 1, v = 1; f <= faces; v += counts[f], ++f) {
        bool level = true;
        double twice = 0;
        for (int k = 0; k < counts[f]; ++k) {
            const int a = v + k, b = v + (k + 1) % counts[f];
            level = level && std::fabs(fz[a] - h) < 1e-6;
            twice += fx[a] * fy[b] - fx[b] * fy[a];
        }
        if (level) {
            area -= twice / 2;  // the top runs clockwise like every face
            ++loops;
        }
    }
    return {area, loops};
}

TEST(GeoRoofCutSkeleton, RandomStarsCutOffHaveTheSkeletonOffsetAsTheirTop)
{
    std::mt19937 rng(35);
    std::uniform_real_distribution<double> run(300.0, 3000.0);
    for (int k = 0; k < 30; ++k) {
        const Star star = RandomStar(rng, 8 + 2 * k);
        const double d = run(rng), slope = 35;
        SCOPED_TRACE("star " + std::to_string(k) + ", offset " + std::to_string(d));
        CGAL::Polygon_2<K> polygon;
        for (int i = 1; i <= star.n; ++i)
            polygon.push_back(K::Point_2(star.x[i], star.y[i]));
        double expected = 0;
        const auto offsets = CGAL::create_interior_skeleton_and_offset_polygons_2(d, polygon);
        for (const auto& p : offsets)
            expected += CGAL::to_double(p->area());
        const auto [area, loops] = TopOfCutRoof(star, slope, d * std::tan(slope * std::numbers::pi / 180));
        // The solver's single precision, and its join of nearly collinear edges.
        EXPECT_NEAR(area, expected, 2e-5 * expected);
        EXPECT_EQ(loops, static_cast<int>(offsets.size()));
    }
}

}  // namespace
