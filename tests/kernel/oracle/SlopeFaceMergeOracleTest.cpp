// The merged outline of coplanar pieces against Clipper's union of the same pieces: random
// rectangles and triangles laid in a tilted roof plane, merged, flattened back into the plane
// and compared by loop count, areas and vertex sets; every merged point lies in the plane.
#include <gtest/gtest.h>

#include <sstream>

#include "SlopedRoofTestSupport.h"
#include "clipper.hpp"

using namespace rooftest;

namespace {

using Flat = std::vector<std::array<double, 2>>;

double Area(const Flat& r) {
  double s = 0.0;
  for (size_t i = 0; i < r.size(); ++i) {
    const auto& a = r[i];
    const auto& b = r[(i + 1) % r.size()];
    s += a[0] * b[1] - b[0] * a[1];
  }
  return s / 2.0;
}

// Drops vertices that lie on the line of their neighbours (within 0.5 mm).
Flat WithoutCollinear(Flat r) {
  bool changed = true;
  while (changed && r.size() > 3) {
    changed = false;
    for (size_t i = 0; i < r.size(); ++i) {
      const auto& p = r[(i + r.size() - 1) % r.size()];
      const auto& q = r[(i + 1) % r.size()];
      const auto& v = r[i];
      const double len = std::hypot(q[0] - p[0], q[1] - p[1]);
      const double cross = (q[0] - p[0]) * (v[1] - p[1]) - (q[1] - p[1]) * (v[0] - p[0]);
      if (len > 0 && std::fabs(cross) / len < 0.5) {
        r.erase(r.begin() + static_cast<long>(i));
        changed = true;
        break;
      }
    }
  }
  return r;
}

Flat RandomPiece(std::mt19937& rng) {
  std::uniform_int_distribution<int> cell(0, 16), size(1, 8);
  const double x = cell(rng) * 500.0, y = cell(rng) * 500.0;
  const double w = size(rng) * 500.0, h = size(rng) * 500.0;
  if (rng() % 3 == 0) return {{x, y}, {x + w, y}, {x + (rng() % 2 ? w : 0.0), y + h}};
  return {{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}};
}

std::string Describe(const std::vector<Flat>& pieces) {
  std::ostringstream s;
  for (const Flat& p : pieces) {
    s << "[";
    for (const auto& v : p) s << "(" << v[0] << "," << v[1] << ")";
    s << "]";
  }
  return s.str();
}

double DistanceToRing(const std::array<double, 2>& p, const Flat& r) {
  double best = 1e300;
  for (size_t i = 0; i < r.size(); ++i) {
    const auto& a = r[i];
    const auto& b = r[(i + 1) % r.size()];
    const double dx = b[0] - a[0], dy = b[1] - a[1];
    double t = ((p[0] - a[0]) * dx + (p[1] - a[1]) * dy) / (dx * dx + dy * dy);
    t = std::clamp(t, 0.0, 1.0);
    best = std::min(best, std::hypot(a[0] + t * dx - p[0], a[1] + t * dy - p[1]));
  }
  return best;
}

// Clipper's union; false when it has holes or vertices closer than 50 (point contacts and
// slivers, outlines touching at a point, where both sides may rightly differ in how they split the
// outline).
bool ClipperUnion(const std::vector<Flat>& pieces, std::vector<Flat>* out) {
  ClipperLib::Clipper c;
  for (const Flat& p : pieces) {
    ClipperLib::Path path;
    for (const auto& v : p)
      path.push_back({static_cast<ClipperLib::cInt>(v[0]), static_cast<ClipperLib::cInt>(v[1])});
    c.AddPath(path, ClipperLib::ptSubject, true);
  }
  ClipperLib::Paths solution;
  c.Execute(ClipperLib::ctUnion, solution, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
  std::vector<std::array<double, 2>> all;
  for (const auto& path : solution) {
    if (!ClipperLib::Orientation(path)) return false;
    Flat f;
    for (const auto& v : path) f.push_back({double(v.X), double(v.Y)});
    out->push_back(WithoutCollinear(f));
    all.insert(all.end(), out->back().begin(), out->back().end());
  }
  for (size_t i = 0; i < all.size(); ++i)
    for (size_t j = i + 1; j < all.size(); ++j)
      if (std::hypot(all[i][0] - all[j][0], all[i][1] - all[j][1]) < 50.0) return false;
  // Separate outlines that touch at a point.
  for (size_t a = 0; a < out->size(); ++a)
    for (size_t b = 0; b < out->size(); ++b)
      if (a != b)
        for (const auto& v : (*out)[a])
          if (DistanceToRing(v, (*out)[b]) < 50.0) return false;
  return true;
}

double Perimeter(const Flat& r) {
  double s = 0.0;
  for (size_t i = 0; i < r.size(); ++i)
    s += std::hypot(r[(i + 1) % r.size()][0] - r[i][0], r[(i + 1) % r.size()][1] - r[i][1]);
  return s;
}

double CentroidDistance(const Flat& a, const Flat& b) {
  double ax = 0, ay = 0, bx = 0, by = 0;
  for (const auto& v : a) ax += v[0] / a.size(), ay += v[1] / a.size();
  for (const auto& v : b) bx += v[0] / b.size(), by += v[1] / b.size();
  return std::hypot(ax - bx, ay - by);
}

bool SameVertexSet(const Flat& a, const Flat& b) {
  if (a.size() != b.size()) return false;
  for (const auto& p : a) {
    bool found = false;
    for (const auto& q : b) found = found || std::hypot(p[0] - q[0], p[1] - q[1]) < 1.5;
    if (!found) return false;
  }
  return true;
}

}  // namespace

TEST(BuildSlopeFacesOracle, MergedOutlinesMatchClipperUnionInTiltedPlanes) {
  std::mt19937 rng(20261207);
  int compared = 0;
  for (int round = 0; round < 400 && compared < 250; ++round) {
    const int pieceCount = 2 + static_cast<int>(rng() % 3);
    std::vector<Flat> pieces;
    for (int p = 0; p < pieceCount; ++p) pieces.push_back(RandomPiece(rng));
    std::vector<Flat> expected;
    if (!ClipperUnion(pieces, &expected)) continue;
    ++compared;

    const Frame f(double(rng() % 360), 10.0 + double(rng() % 60), {25000, -8000, 3000});
    std::vector<Ring> mapped;
    for (const Flat& p : pieces) {
      mapped.emplace_back();
      for (const auto& v : p) mapped.back().push_back(f.Map(v[0], v[1]));
    }
    // Every merged point lies in the plane of piece 1 through its first point, as the merge
    // sees it in floats.
    const P3 first = mapped[0][0];
    const Merged m = Merge(mapped);
    ASSERT_EQ(m.result, 1);
    std::vector<Flat> merged;
    for (const Ring& loop : m.loops) {
      Flat r;
      for (const P3& p : loop) {
        const P3 d{p.x - float(first.x), p.y - float(first.y), p.z - float(first.z)};
        EXPECT_NEAR(d.x * f.n.x + d.y * f.n.y + d.z * f.n.z, 0.0, 0.05) << Describe(pieces);
        const P3 q = f.Flatten(p);
        r.push_back({q.x, q.y});
      }
      merged.push_back(WithoutCollinear(r));
    }
    ASSERT_EQ(merged.size(), expected.size()) << Describe(pieces);
    // Each merged loop against the union's outline nearest to its centroid; areas agree up
    // to Clipper's rounding of crossings to whole millimetres (one millimetre of perimeter).
    for (const Flat& loop : merged) {
      const Flat* match = &expected[0];
      for (const Flat& e : expected)
        if (CentroidDistance(loop, e) < CentroidDistance(loop, *match)) match = &e;
      EXPECT_NEAR(std::fabs(Area(loop)), std::fabs(Area(*match)), Perimeter(*match))
          << Describe(pieces);
      EXPECT_TRUE(SameVertexSet(loop, *match)) << Describe(pieces);
    }
  }
  EXPECT_GE(compared, 150);
}
