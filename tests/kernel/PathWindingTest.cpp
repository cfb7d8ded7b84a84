// The winding of a closed path, its boundary pieces where segments run along each other,
// and the joining of runs of short pieces.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>
#include <vector>

#include "PathWinding.h"

using kernel::PathPiece;

namespace {

struct Path {
  std::vector<double> x{0.0}, y{0.0};
  explicit Path(const std::vector<std::array<double, 2>>& points) {
    for (const auto& p : points) x.push_back(p[0]), y.push_back(p[1]);
    x.push_back(x[1]), y.push_back(y[1]);
  }
  int Segments() const { return static_cast<int>(x.size()) - 2; }
};

// The plain count: every segment crossing the upward ray from the point, counter-clockwise
// turns positive.
int PlainWinding(const Path& p, double px, double py) {
  int w = 0;
  for (int k = 1; k <= p.Segments(); ++k) {
    const double ax = p.x[k], ay = p.y[k], bx = p.x[k + 1], by = p.y[k + 1];
    if ((ax <= px) == (bx <= px)) continue;
    if (ay + (px - ax) * (by - ay) / (bx - ax) > py) w += bx < ax ? 1 : -1;
  }
  return w;
}

double Length(const std::vector<PathPiece>& pieces) {
  double sum = 0.0;
  for (const PathPiece& q : pieces) sum += std::hypot(q.x2 - q.x1, q.y2 - q.y1);
  return sum;
}

}  // namespace

// Long edges crossing many columns, short ones, steep ones: the column index counts as the
// plain ray test does, at random points and right on the vertices.
TEST(PathWinding, CountsAsThePlainRayTest) {
  std::mt19937 rng(99);
  std::uniform_real_distribution<double> at(-5000.0, 5000.0);
  for (int points : {3, 7, 40, 400}) {
    std::vector<std::array<double, 2>> ring;
    for (int i = 0; i < points; ++i) {
      const bool spike = i % 5 == 0;  // now and then a long edge across everything
      ring.push_back({spike ? 50 * at(rng) : at(rng), at(rng)});
    }
    const Path p(ring);
    const kernel::PathWinding winding(p.x, p.y, p.Segments());
    for (int probe = 0; probe < 2000; ++probe) {
      const double px = 10 * at(rng), py = at(rng);
      ASSERT_EQ(winding.At(px, py), PlainWinding(p, px, py)) << points << " points";
    }
    for (int k = 1; k <= p.Segments(); ++k)
      ASSERT_EQ(winding.At(p.x[k], p.y[k]), PlainWinding(p, p.x[k], p.y[k]));
  }
}

// Stretches of the path that run along each other: a copy in the same direction doubles
// the winding beyond it (the edge bounds the region, once or twice), one run back cancels
// it (nothing bounds there); a spur out and back is no boundary at all.
TEST(PathBoundaryPieces, StretchesRunningAlongEachOther) {
  const std::vector<unsigned char> none(16, 0);
  const struct {
    const char* what;
    std::vector<std::array<double, 2>> ring;
    double boundary;  // length of the kept pieces
  } cases[] = {
      {"square", {{0, 0}, {100, 0}, {100, 100}, {0, 100}}, 400},
      {"square with a spur out and back", {{0, 0}, {100, 0}, {160, 0}, {100, 0}, {100, 100}, {0, 100}},
       400},
      {"square with a slit in and out", {{0, 0}, {50, 0}, {50, 60}, {50, 0}, {100, 0}, {100, 100}, {0, 100}},
       400},
      {"two squares joined by a slit out and back",
       {{0, 0}, {100, 0}, {100, 40}, {200, 40}, {200, 0}, {300, 0}, {300, 100}, {200, 100},
        {200, 40}, {100, 40}, {100, 100}, {0, 100}},
       800},
  };
  for (const auto& c : cases) {
    const Path p(c.ring);
    const std::vector<PathPiece> pieces = kernel::PathBoundaryPieces(p.x, p.y, none, 1, 0.05);
    EXPECT_NEAR(Length(pieces), c.boundary, 1e-9) << c.what;
  }
}

// Runs of pieces shorter than the tracers' 0.1 become one piece, whatever the direction;
// pieces that do not continue one another are left as they are.
TEST(ThinRuns, ShortPiecesOfARunJoin) {
  const struct {
    const char* what;
    std::vector<PathPiece> in, out;
  } cases[] = {
      {"a closed square", {{0, 0, 0, 10}, {0, 10, 10, 10}, {10, 10, 10, 0}, {10, 0, 0, 0}},
       {{0, 0, 0, 10}, {0, 10, 10, 10}, {10, 10, 10, 0}, {10, 0, 0, 0}}},
      {"tiny pieces at a run's end",
       {{0, 0, 0, 10}, {0, 10, 0.05, 10.02}, {0.05, 10.02, 0.09, 10.06}, {0.09, 10.06, 0.12, 10.1}},
       {{0, 0, 0, 10}, {0, 10, 0.12, 10.1}}},
      {"a run shorter than the step",
       {{0, 0, 0.03, 0}, {0.03, 0, 0.06, 0}, {5, 5, 9, 5}},
       {{0, 0, 0.06, 0}, {5, 5, 9, 5}}},
      {"the last point moves onto the end", {{0, 0, 10, 0}, {10, 0, 10, 5}, {10, 5, 10.05, 5}},
       {{0, 0, 10, 0}, {10, 0, 10.05, 5}}},
  };
  for (const auto& c : cases) {
    std::vector<PathPiece> pieces = c.in;
    kernel::ThinRuns(pieces, 0.1);
    ASSERT_EQ(pieces.size(), c.out.size()) << c.what;
    for (size_t i = 0; i < pieces.size(); ++i) {
      EXPECT_EQ(pieces[i].x1, c.out[i].x1) << c.what << " " << i;
      EXPECT_EQ(pieces[i].y1, c.out[i].y1) << c.what << " " << i;
      EXPECT_EQ(pieces[i].x2, c.out[i].x2) << c.what << " " << i;
      EXPECT_EQ(pieces[i].y2, c.out[i].y2) << c.what << " " << i;
    }
  }
}
