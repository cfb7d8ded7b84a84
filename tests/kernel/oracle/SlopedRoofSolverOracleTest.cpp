// The roof solver with equal slopes against CGAL's straight skeleton of the same footprint
// (a face's height is its offset time times the tangent of the slope): on a few hundred
// generated outlines, the same number of faces, the same plan area per eave edge and the same
// ridge height. A difference names the footprint.
#include <gtest/gtest.h>

#include "StraightSkeletonOracle.h"

using namespace rooftest;

namespace {

// The solver merges faces of one plane that share an edge (nearly coplanar ones too).
bool AgreesWithCgal(const Outline& outline, double degrees) {
  const Roof roof = Solve(outline, std::vector<double>(outline.size(), Radians(degrees)));
  EXPECT_EQ(roof.result, 1) << Describe({outline}, degrees);
  return roof.result == 1 &&
         AgreesWithSkeleton(roof.faces, {roof.outline}, degrees, Describe({outline}, degrees));
}

}  // namespace

TEST(SolveSlopedRoofFacesOracle, EqualSlopesMatchCgalStraightSkeleton) {
  // Star outlines are many-cornered and cost CGAL the most; orthogonal outlines bring the ties
  // of parallel and collinear eaves cheaply.
  std::mt19937 rng(2026);
  std::uniform_real_distribution<double> degrees(15.0, 60.0);
  int compared = 0, differing = 0;
  auto check = [&](const Outline& o) {
    ++compared;
    if (!AgreesWithCgal(o, std::round(degrees(rng)))) ++differing;
  };
  for (int i = 0; i < 30; ++i)
    check(StarOutline(rng, 5 + static_cast<int>(rng() % 40), 4000, 16000));
  for (int i = 0; i < 70; ++i) check(StaircaseOutline(rng, 1 + static_cast<int>(rng() % 8)));
  for (int i = 0; i < 70; ++i) check(HistogramOutline(rng, 1 + static_cast<int>(rng() % 8)));
  for (const Outline& o :
       {LShape(), TShape(), UShape(), HShape(), Rectangle(20000, 8000), Rectangle(9000, 9000)})
    check(o);
  EXPECT_EQ(differing, 0) << "of " << compared;
}

TEST(SolveSlopedRoofFacesOracle, LargeConcaveOutlines) {
  // CGAL's skeleton of a many-cornered star grows quickly dear, so it is compared up to 120
  // corners; the invariants hold the solver to the full 499 points.
  std::mt19937 rng(499);
  EXPECT_TRUE(AgreesWithCgal(StarOutline(rng, 120, 30000, 60000), 30));
  EXPECT_TRUE(AgreesWithCgal(HistogramOutline(rng, 40), 35));
  std::uniform_real_distribution<double> degrees(20.0, 60.0);
  for (const auto& [name, o] : {std::pair{"star", StarOutline(rng, 499, 30000, 60000)},
                                std::pair{"histogram", HistogramOutline(rng, 248)}}) {
    ExpectSoundRoof(Solve(o, EqualSlopes(o.size(), 30)), std::string(name) + " 499");
    std::vector<double> slopes;
    for (size_t i = 0; i < o.size(); ++i) slopes.push_back(Radians(degrees(rng)));
    ExpectSoundRoof(Solve(o, slopes), std::string(name) + " 499, unequal slopes");
  }
}
