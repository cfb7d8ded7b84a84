// The pitched-roof generator with equal slopes against CGAL's straight skeleton of the same
// footprint, holes included: the same faces per plane, the same plan areas and the same ridge
// heights. A difference names the footprint.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "PitchedRoofTestSupport.h"
#include "StraightSkeletonOracle.h"

using namespace pitchedroof;

TEST(PitchedRoofOracle, EqualSlopesMatchCgalStraightSkeleton)
{
    std::mt19937 rng(2027);
    std::uniform_int_distribution<int> degrees(15, 60);
    std::vector<std::vector<Outline>> footprints;
    for (const Outline& o : {rooftest::LShape(), rooftest::TShape(), rooftest::UShape(), rooftest::HShape(),
                             rooftest::Rectangle(20000, 8000), rooftest::Rectangle(9000, 9000), Comb(10)})
        footprints.push_back({o});
    for (int i = 0; i < 20; ++i) {  // two courtyards
        const int w = 6000 + 1000 * static_cast<int>(rng() % 6), h = 5000 + 1000 * static_cast<int>(rng() % 6);
        footprints.push_back({rooftest::Rectangle(40000, 30000),
                              rooftest::Reversed(Moved(rooftest::Rectangle(w, h), 6000, 6000)),
                              rooftest::Reversed(Moved(rooftest::Rectangle(8000, 8000), 24000, 14000))});
    }
    for (const auto& loops : footprints) {
        const double slope = degrees(rng);
        const Roof roof = Generate(Sloped(loops, slope));
        rooftest::AgreesWithSkeleton(roof.faces, roof.footprint.loops, slope, rooftest::Describe(loops, slope));
    }
}

// Every kind of footprint (orthogonal, convex, jittered stars, general simple polygons), with
// and without a courtyard: the generator gives CGAL's skeleton roof, none refused.
TEST(PitchedRoofOracle, EveryKindOfFootprintMatchesCgalStraightSkeleton)
{
    std::mt19937 rng(2028);
    std::uniform_int_distribution<int> degrees(15, 60);
    for (const auto& [name, loops] : FootprintFamilies(rng, 25)) {
        const double slope = degrees(rng);
        const Roof roof = Generate(Sloped(loops, slope));
        rooftest::AgreesWithSkeleton(roof.faces, roof.footprint.loops, slope, name + ": " + rooftest::Describe(loops, slope));
    }
}
