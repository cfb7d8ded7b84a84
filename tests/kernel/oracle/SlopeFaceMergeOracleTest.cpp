// The merged outline of coplanar pieces against Clipper's union of the same pieces: random
// rectangles and triangles laid in a tilted roof plane, merged, flattened back into the plane
// and compared by loop count, areas and vertex sets; every merged point lies in the plane.
#include <gtest/gtest.h>

#include <sstream>

#include "SlopedRoofTestSupport.h"
#include "clipper.hpp"

using namespace rooftest;

namespace {

using kerneltest::EdgeDistance;
using kerneltest::PlanArea;

// Drops vertices that lie on the line of their neighbours (within 0.5 mm).
Ring WithoutCollinear(Ring r) {
  for (size_t i = 0; i < r.size() && r.size() > 3;) {
    const P3& p = r[(i + r.size() - 1) % r.size()];
    const P3& q = r[(i + 1) % r.size()];
    const double len = std::hypot(q.x - p.x, q.y - p.y);
    const double cross = (q.x - p.x) * (r[i].y - p.y) - (q.y - p.y) * (r[i].x - p.x);
    if (len > 0 && std::fabs(cross) / len < 0.5)
      r.erase(r.begin() + static_cast<long>(i)), i = 0;
    else
      ++i;
  }
  return r;
}

Ring RandomPiece(std::mt19937& rng) {
  std::uniform_int_distribution<int> cell(0, 16), size(1, 8);
  const double x = cell(rng) * 500.0, y = cell(rng) * 500.0;
  const double w = size(rng) * 500.0, h = size(rng) * 500.0;
  if (rng() % 3 == 0) return {{x, y, 0}, {x + w, y, 0}, {x + (rng() % 2 ? w : 0.0), y + h, 0}};
  return Rect(x, y, x + w, y + h);
}

std::string Describe(const std::vector<Ring>& pieces) {
  std::ostringstream s;
  for (const Ring& p : pieces) {
    s << "[";
    for (const P3& v : p) s << "(" << v.x << "," << v.y << ")";
    s << "]";
  }
  return s.str();
}

// Clipper's union; false when it has holes or vertices closer than 50 (point contacts and
// slivers, outlines touching at a point, where both sides may rightly differ in how they
// split the outline).
bool ClipperUnion(const std::vector<Ring>& pieces, std::vector<Ring>* out) {
  ClipperLib::Clipper c;
  for (const Ring& p : pieces) {
    ClipperLib::Path path;
    for (const P3& v : p)
      path.push_back({static_cast<ClipperLib::cInt>(v.x), static_cast<ClipperLib::cInt>(v.y)});
    c.AddPath(path, ClipperLib::ptSubject, true);
  }
  ClipperLib::Paths solution;
  c.Execute(ClipperLib::ctUnion, solution, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
  Ring all;
  for (const auto& path : solution) {
    if (!ClipperLib::Orientation(path)) return false;
    Ring f;
    for (const auto& v : path) f.push_back({double(v.X), double(v.Y), 0.0});
    out->push_back(WithoutCollinear(f));
    all.insert(all.end(), out->back().begin(), out->back().end());
  }
  for (size_t i = 0; i < all.size(); ++i)
    for (size_t j = i + 1; j < all.size(); ++j)
      if (std::hypot(all[i].x - all[j].x, all[i].y - all[j].y) < 50.0) return false;
  // Separate outlines that touch at a point.
  for (size_t a = 0; a < out->size(); ++a)
    for (size_t b = 0; b < out->size(); ++b)
      for (const P3& v : (*out)[a])
        if (a != b && EdgeDistance(v.x, v.y, (*out)[b]) < 50.0) return false;
  return true;
}

double CentroidDistance(const Ring& a, const Ring& b) {
  double ax = 0, ay = 0, bx = 0, by = 0;
  for (const P3& v : a) ax += v.x / a.size(), ay += v.y / a.size();
  for (const P3& v : b) bx += v.x / b.size(), by += v.y / b.size();
  return std::hypot(ax - bx, ay - by);
}

bool SameVertexSet(const Ring& a, const Ring& b) {
  return a.size() == b.size() && std::all_of(a.begin(), a.end(), [&b](const P3& p) {
           return std::any_of(b.begin(), b.end(), [&p](const P3& q) {
             return std::hypot(p.x - q.x, p.y - q.y) < 1.5;
           });
         });
}

}  // namespace

TEST(BuildSlopeFacesOracle, MergedOutlinesMatchClipperUnionInTiltedPlanes) {
  std::mt19937 rng(20261207);
  int compared = 0;
  for (int round = 0; round < 400 && compared < 250; ++round) {
    const int pieceCount = 2 + static_cast<int>(rng() % 3);
    std::vector<Ring> pieces;
    for (int p = 0; p < pieceCount; ++p) pieces.push_back(RandomPiece(rng));
    std::vector<Ring> expected;
    if (!ClipperUnion(pieces, &expected)) continue;
    ++compared;

    const Frame f(double(rng() % 360), 10.0 + double(rng() % 60), {25000, -8000, 3000});
    std::vector<Ring> mapped;
    for (const Ring& p : pieces) mapped.push_back(f.Map(p));
    // Every merged point lies in the plane of piece 1 through its first point, as the merge
    // sees it in floats.
    const P3 first{float(mapped[0][0].x), float(mapped[0][0].y), float(mapped[0][0].z)};
    const Merged m = Merge(mapped);
    ASSERT_EQ(m.result, 1);
    std::vector<Ring> merged;
    for (const Ring& loop : m.loops) {
      Ring r;
      for (const P3& p : loop) {
        const P3 d{p.x - first.x, p.y - first.y, p.z - first.z};
        EXPECT_NEAR(d.x * f.n.x + d.y * f.n.y + d.z * f.n.z, 0.0, 0.05) << Describe(pieces);
        r.push_back(f.Flatten(p));
      }
      merged.push_back(WithoutCollinear(r));
    }
    ASSERT_EQ(merged.size(), expected.size()) << Describe(pieces);
    // Each merged loop against the union's outline nearest to its centroid; areas agree up
    // to Clipper's rounding of crossings to whole millimetres (one millimetre of perimeter).
    for (const Ring& loop : merged) {
      const Ring* match = &expected[0];
      for (const Ring& e : expected)
        if (CentroidDistance(loop, e) < CentroidDistance(loop, *match)) match = &e;
      EXPECT_NEAR(std::fabs(PlanArea(loop)), std::fabs(PlanArea(*match)), Perimeter(*match))
          << Describe(pieces);
      EXPECT_TRUE(SameVertexSet(loop, *match)) << Describe(pieces);
    }
  }
  EXPECT_GE(compared, 150);
}
