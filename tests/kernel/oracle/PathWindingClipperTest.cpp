// The boundary of where a closed path winds at least once, against Clipper's union of the
// same path by the positive (or negative) fill rule: random self-crossing paths, few and
// many crossings (the latter settled by the quadtree first), far from the origin, either
// sense. The kept pieces have the region on their left (sense 1) or right (sense -1), so
// half the sum of their cross products is its area.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "PathWinding.h"
#include "clipper.hpp"

namespace {

constexpr double kScale = 1e6;  // Clipper's units: nanometres

struct Path {
  std::vector<double> x{0.0}, y{0.0};  // 1-based, the last point repeating the first
  int Segments() const { return static_cast<int>(x.size()) - 2; }
};

Path RandomPath(std::mt19937& rng, int points, double size, double cx, double cy) {
  std::uniform_real_distribution<double> at(-size / 2, size / 2);
  Path p;
  for (int i = 0; i < points; ++i) p.x.push_back(cx + at(rng)), p.y.push_back(cy + at(rng));
  p.x.push_back(p.x[1]), p.y.push_back(p.y[1]);
  return p;
}

double ClipperArea(const Path& p, int sense) {
  ClipperLib::Path path;
  for (int k = 1; k <= p.Segments(); ++k)
    path.push_back({std::llround(p.x[k] * kScale), std::llround(p.y[k] * kScale)});
  ClipperLib::Clipper c;
  c.AddPath(path, ClipperLib::ptSubject, true);
  ClipperLib::Paths solution;
  const auto rule = sense > 0 ? ClipperLib::pftPositive : ClipperLib::pftNegative;
  c.Execute(ClipperLib::ctUnion, solution, rule, rule);
  double area = 0.0;
  for (const auto& s : solution) area += ClipperLib::Area(s);
  return std::fabs(area) / (kScale * kScale);
}

// The area the pieces bound, measured from the first point so that far paths lose nothing.
double PiecesArea(const std::vector<kernel::PathPiece>& pieces, const Path& p, int sense) {
  double twice = 0.0;
  for (const kernel::PathPiece& q : pieces)
    twice += (q.x1 - p.x[1]) * (q.y2 - p.y[1]) - (q.x2 - p.x[1]) * (q.y1 - p.y[1]);
  return sense * twice / 2;
}

}  // namespace

TEST(PathBoundaryAgainstClipper, RandomSelfCrossingPaths) {
  std::mt19937 rng(2718);
  const struct {
    int points, rounds;
    double far;
  } families[] = {{5, 60, 0.0}, {12, 60, 0.0}, {40, 30, 3e6}, {300, 6, 0.0}, {900, 2, 1e6}};
  for (const auto& f : families) {
    for (int round = 0; round < f.rounds; ++round) {
      const Path p = RandomPath(rng, f.points, 10000.0, f.far, -f.far);
      const std::vector<unsigned char> none(p.x.size(), 0);
      for (int sense : {1, -1}) {
        const std::vector<kernel::PathPiece> pieces =
            kernel::PathBoundaryPieces(p.x, p.y, none, sense, 0.05);
        const double expected = ClipperArea(p, sense);
        EXPECT_NEAR(PiecesArea(pieces, p, sense), expected, 1e-7 * 1e8 + 1e-9 * expected)
            << f.points << " points, round " << round << ", sense " << sense;
      }
    }
  }
}
