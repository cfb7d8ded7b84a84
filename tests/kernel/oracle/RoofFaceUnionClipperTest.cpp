// The roof-face union against Clipper: the visible pieces cover the plan union of the input
// faces (within 1e-6 of its area, and what single precision's rounding of the vertices moves
// along the pieces' outlines), no two pieces overlap in plan, and inside every piece its
// height is the highest input face's height there (an upper envelope worked out
// independently, face by face). Hip and gable roofs, scattered and piled; sites of hip, gable
// and multi-slope roofs far from the origin; and a finely drawn face.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "../RoofFaceUnionTestSupport.h"
#include "../SlopedRoofTestSupport.h"
#include "../UnionRoofScenes.h"
#include "clipper.hpp"

using namespace uniontest;

namespace {

constexpr double kScale = 1000.0;  // micrometres
constexpr double kAgreement = 1e-6;

ClipperLib::Path PlanPath(const Face& face) {
  ClipperLib::Path path;
  for (const P3& p : face) path.push_back({std::llround(p.x * kScale), std::llround(p.y * kScale)});
  if (ClipperLib::Area(path) < 0) std::reverse(path.begin(), path.end());
  return path;
}

double AreaOf(const ClipperLib::Paths& paths) {
  double sum = 0.0;
  for (const auto& p : paths) sum += ClipperLib::Area(p);
  return sum / (kScale * kScale);
}

ClipperLib::Paths Unite(const ClipperLib::Paths& paths) {
  ClipperLib::Clipper c;
  c.AddPaths(paths, ClipperLib::ptSubject, true);
  ClipperLib::Paths out;
  c.Execute(ClipperLib::ctUnion, out, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
  return out;
}

// A piece as a plan region: its outer loop less its holes.
ClipperLib::Paths Region(const ResultFace& piece) {
  ClipperLib::Clipper c;
  c.AddPath(PlanPath(piece.outer), ClipperLib::ptSubject, true);
  for (const Face& hole : piece.holes) c.AddPath(PlanPath(hole), ClipperLib::ptClip, true);
  ClipperLib::Paths region;
  c.Execute(ClipperLib::ctDifference, region, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
  return region;
}

// Plan distance from (x, y) to the nearest edge of the piece or of any input face.
double Clearance(const ResultFace& piece, const std::vector<Face>& faces, double x, double y) {
  double d = EdgeDistance(x, y, piece.outer);
  for (const Face& hole : piece.holes) d = std::min(d, EdgeDistance(x, y, hole));
  for (const Face& f : faces) d = std::min(d, EdgeDistance(x, y, f));
  return d;
}

// Empty when the union of the faces passes the three checks; otherwise what fails.
std::string Check(const std::vector<Face>& faces) {
  const UnionRun run = RunUnion(faces);
  if (run.status != 1) return "status " + std::to_string(run.status);
  ClipperLib::Paths outlines;
  for (const Face& f : faces) outlines.push_back(PlanPath(f));
  const double expected = AreaOf(Unite(outlines));
  const std::vector<ResultFace> result = ResultFaces(run);
  double got = 0.0, largest = 0.0, rims = 0.0;
  ClipperLib::Paths all;
  for (const ResultFace& piece : result) {
    const ClipperLib::Paths region = Region(piece);
    got += AreaOf(region);
    all.insert(all.end(), region.begin(), region.end());
    rims += rooftest::Perimeter(piece.outer);
    for (const P3& p : piece.outer) largest = std::max({largest, std::fabs(p.x), std::fabs(p.y)});
  }
  const double allowed = kAgreement * expected + std::ldexp(largest, -23) * rims;
  std::ostringstream what;
  what.precision(12);
  if (std::fabs(got - expected) > allowed)
    what << "pieces cover " << got << " of the plan union's " << expected << "; ";
  const double overlap = got - AreaOf(Unite(all));
  if (overlap > allowed) what << "pieces overlap by " << overlap << "; ";
  // At a point inside every piece, clear of the edges: one piece there, at the envelope.
  for (const ResultFace& piece : result) {
    double x = 0.0, y = 0.0;
    if (piece.plane.Vertical() || !InsidePoint(piece, 20.0, &x, &y) ||
        Clearance(piece, faces, x, y) < 5.0)
      continue;
    what << EnvelopeAt(faces, result, x, y);
  }
  return what.str();
}

TEST(RoofFaceUnionAgainstClipper, ThreeOverlappingHipRoofs) {
  const std::vector<Face> scene = {
      {{13030, -5910, 0}, {9551, -4094, 2378}, {5893, 7557, 2378}, {7709, 11036, 0}},
      {{7709, 11036, 0}, {5893, 7557, 2378}, {2414, 9373, 0}},
      {{2414, 9373, 0}, {5893, 7557, 2378}, {9551, -4094, 2378}, {7735, -7573, 0}},
      {{7735, -7573, 0}, {9551, -4094, 2378}, {13030, -5910, 0}},
      {{6854, 7624, 0}, {2815, 8924, 1586}, {-860, 16087, 1586}, {440, 20126, 0}},
      {{440, 20126, 0}, {-860, 16087, 1586}, {-4900, 17387, 0}},
      {{-4900, 17387, 0}, {-860, 16087, 1586}, {2815, 8924, 1586}, {1515, 4885, 0}},
      {{1515, 4885, 0}, {2815, 8924, 1586}, {6854, 7624, 0}},
      {{16413, -7987, 0}, {13177, -6556, 2488}, {8011, 6801, 2488}, {9441, 10036, 0}},
      {{9441, 10036, 0}, {8011, 6801, 2488}, {4776, 8231, 0}},
      {{4776, 8231, 0}, {8011, 6801, 2488}, {13177, -6556, 2488}, {11747, -9791, 0}},
      {{11747, -9791, 0}, {13177, -6556, 2488}, {16413, -7987, 0}}};
  EXPECT_EQ(Check(scene), "");
}

TEST(RoofFaceUnionAgainstClipper, RandomHipAndGableRoofs) {
  // Two to four roofs at a time, scattered and piled: the small scenes where eaves, hips and
  // gables meet at every angle; then whole sites.
  for (unsigned seed = 0; seed < 160; ++seed) {
    const int faces = 4 * (2 + static_cast<int>(seed % 3));
    const bool piled = seed % 2 == 1;
    EXPECT_EQ(Check(unionscenes::Scene(faces, piled, seed)), "")
        << faces << " faces, " << (piled ? "piled" : "scattered") << ", seed " << seed;
  }
  const struct {
    int faces;
    bool piled;
  } sites[] = {{100, false}, {400, false}, {800, false}, {40, true}, {100, true}, {200, true}};
  for (const auto& site : sites)
    EXPECT_EQ(Check(unionscenes::Scene(site.faces, site.piled, 44)), "")
        << site.faces << " faces, " << (site.piled ? "piled" : "scattered");
}

// A multi-slope roof from the roof solver over an L or T outline turned about its first
// point at (x, y), as the roof routine places it.
std::vector<Face> MultiSlopeRoof(std::mt19937& rng, double x, double y, double turn,
                                 double degrees) {
  rooftest::Outline outline = rng() % 2 ? rooftest::LShape() : rooftest::TShape();
  for (rooftest::Pt& p : outline)
    p = {p.x * std::cos(turn) - p.y * std::sin(turn), p.x * std::sin(turn) + p.y * std::cos(turn)};
  const rooftest::Roof roof =
      rooftest::Solve(outline, rooftest::EqualSlopes(outline.size(), degrees));
  std::vector<Face> faces;
  for (const rooftest::Ring& ring : roof.faces) {
    Face face;
    for (const P3& p : ring)
      face.push_back(
          {static_cast<float>(x + p.x), static_cast<float>(y + p.y), static_cast<float>(p.z)});
    faces.push_back(face);
  }
  return faces;
}

// Two to five roofs on a site at (x, y), hip, gable and multi-slope at random. A square
// site's roofs lie square to the axes on whole metres at one pitch, so faces of different
// roofs over one eave line lie in one plane and meet along each other's hips.
std::vector<Face> SiteScene(unsigned seed, double x, double y, bool square) {
  std::mt19937 rng(seed);
  const int roofs = 2 + static_cast<int>(seed % 4);
  std::uniform_real_distribution<double> place(0.0, 6000.0 * std::sqrt(roofs)),
      size(6000.0, 16000.0), turn(0.0, M_PI), pitch(20.0, 45.0);
  const double sitePitch = std::round(pitch(rng));
  std::vector<Face> scene;
  for (int k = 0; k < roofs; ++k) {
    const int kind = static_cast<int>(rng() % 3);
    double cx = x + place(rng), cy = y + place(rng), w = size(rng), d = size(rng), t = turn(rng);
    const double degrees = square ? sitePitch : pitch(rng);
    if (square) {
      cx = std::round(cx / 1000) * 1000, cy = std::round(cy / 1000) * 1000;
      w = std::round(w / 1000) * 1000, d = std::round(d / 1000) * 1000, t = (rng() % 2) * M_PI / 2;
    }
    const std::vector<Face> roof =
        kind == 2 ? MultiSlopeRoof(rng, cx, cy, t, degrees)
                  : unionscenes::RoofFaces({cx, cy, w, d, t, degrees * M_PI / 180.0, kind == 1});
    scene.insert(scene.end(), roof.begin(), roof.end());
  }
  return scene;
}

TEST(RoofFaceUnionAgainstClipper, SitesOfMixedRoofsFarFromTheOrigin) {
  // At 5e5 and 3e6 single precision rounds the vertices to 1/32 and 1/4 mm: a face is then
  // not quite plane, and the line where another face crosses it meets its edges a fraction
  // of a millimetre off.
  for (unsigned seed = 0; seed < 80; ++seed)
    for (const double at : {5e5, 3e6})
      for (const bool square : {false, true})
        EXPECT_EQ(Check(SiteScene(seed, at, 0.7 * at, square)), "")
            << "seed " << seed << " at " << at << (square ? ", square on whole metres" : "");
}

TEST(RoofFaceUnionAgainstClipper, ScenesThatBroke) {
  const struct {
    int faces;
    bool piled;
    unsigned seed;
    const char* geometry;
  } scenes[] = {
      {8, true, 1497, "a cut line meeting an eave at a shallow angle"},
      {8, true, 4116, "a gable slope and its end triangle along their shared edge"},
      {16, true, 2239, "a ridge end poking through a face that holds it as a hole"},
      {16, false, 2072, "a sliver just outside a gable end"},
      {800, false, 2, "a test point one tolerance right of a covering face's vertex"},
  };
  for (const auto& scene : scenes)
    EXPECT_EQ(Check(unionscenes::Scene(scene.faces, scene.piled, scene.seed)), "")
        << scene.geometry;
}

TEST(RoofFaceUnionAgainstClipper, FinelyDrawnTiltedFaceKeepsItsOutline) {
  // A 2,000-gon of radius 20 m tilted by 20 degrees turns by 0.18 degree per corner, under the
  // collinear clean-up's angle: alone, it comes back with its outline.
  Face face;
  for (int i = 0; i < 2000; ++i) {
    const double a = 2 * M_PI * i / 2000;
    const float x = static_cast<float>(20000 * std::cos(a));
    const float y = static_cast<float>(20000 * std::sin(a));
    face.push_back({x, y, static_cast<float>(3000 + y * std::tan(M_PI / 9))});
  }
  EXPECT_EQ(Check({face}), "");
  const UnionRun run = RunUnion({face});
  ASSERT_EQ(run.count, 1);
  EXPECT_GT(run.loops[0].points.size(), 200u);
}

}  // namespace
