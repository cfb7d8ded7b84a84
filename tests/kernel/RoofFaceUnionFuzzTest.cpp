// Random stacks of planar faces through the union engine (fixed seeds, a few hundred small
// cases): tilted, level and vertical faces, repeated faces, faces on a coarse grid and faces
// too thin to span a plane. Checked for any input: the result's layout (counts, holes after
// outer loops, vertices within the arrays), every loop in the plane of one input face and
// within its outline, the same answer twice. For two tilted faces also: a point where one
// face is clearly on top and far from every edge and from the line where the faces meet
// stays covered by a result loop of that face. For random roofs (hip, gable and tents over
// convex outlines, eaves at one height), whose visible pieces the engine must find exactly:
// at sample points clear of every edge, one piece lies over each point of the plan union
// and none elsewhere, at the height of the highest face there. Run under the sanitizers
// this also checks memory.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "RoofFaceUnionTestSupport.h"
#include "UnionRoofScenes.h"

using namespace uniontest;

namespace {

constexpr double kPi = 3.14159265358979;

// A convex polygon of 3 to 6 vertices around (cx, cy), counter-clockwise in plan, lifted onto
// z = z0 + gx x + gy y.
Face TiltedConvex(std::mt19937& rng, double cx, double cy, double radius, double z0, double gx,
                  double gy) {
  std::uniform_int_distribution<int> count(3, 6);
  std::uniform_real_distribution<double> jitter(0.2, 0.8);
  const int n = count(rng);
  Face face;
  for (int i = 0; i < n; ++i) {
    const double a = 2 * kPi * (i + jitter(rng)) / n;
    const double x = cx + radius * std::cos(a), y = cy + radius * std::sin(a);
    face.push_back({x, y, z0 + gx * (x - cx) + gy * (y - cy)});
  }
  return face;
}

Face RandomFace(std::mt19937& rng, const std::vector<Face>& earlier) {
  std::uniform_int_distribution<int> kind(0, 9);
  std::uniform_real_distribution<double> pos(0, 1000), radius(60, 500), height(-300, 300),
      slope(-1.5, 1.5);
  switch (kind(rng)) {
    case 0: {  // level
      return TiltedConvex(rng, pos(rng), pos(rng), radius(rng), height(rng), 0, 0);
    }
    case 1: {  // vertical
      const double x0 = pos(rng), y0 = pos(rng), x1 = pos(rng), y1 = pos(rng);
      const double z0 = height(rng), z1 = z0 + radius(rng);
      return {{x0, y0, z0}, {x1, y1, z0}, {x1, y1, z1}, {x0, y0, z1}};
    }
    case 2: {  // an earlier face again, maybe wound the other way
      if (earlier.empty()) break;
      Face face = earlier[rng() % earlier.size()];
      if (rng() % 2) std::reverse(face.begin(), face.end());
      return face;
    }
    case 3: {  // on a coarse grid, so that vertices and edges meet exactly
      const double gx = std::round(slope(rng) * 2) / 2, gy = std::round(slope(rng) * 2) / 2;
      const double z0 = std::round(height(rng) / 100) * 100;
      Face face = TiltedConvex(rng, pos(rng), pos(rng), radius(rng), 0, 0, 0);
      for (P3& p : face) {
        p.x = std::round(p.x / 100) * 100, p.y = std::round(p.y / 100) * 100;
        p.z = z0 + gx * p.x + gy * p.y;
      }
      return face;
    }
    case 4: {  // too thin to span a plane
      const double x = pos(rng), y = pos(rng);
      if (rng() % 2) return {{x, y, 0}, {x + 100, y + 50, 10}};
      return {{x, y, 0}, {x + 100, y + 50, 10}, {x + 300, y + 150, 30}};
    }
    default:
      break;
  }
  return TiltedConvex(rng, pos(rng), pos(rng), radius(rng), height(rng), slope(rng), slope(rng));
}

bool SameRun(const UnionRun& a, const UnionRun& b) {
  if (a.status != b.status || a.counts != b.counts) return false;
  for (size_t l = 0; l < a.loops.size(); ++l)
    for (size_t p = 0; p < a.loops[l].points.size(); ++p) {
      const P3& u = a.loops[l].points[p];
      const P3& v = b.loops[l].points[p];
      if (u.x != v.x || u.y != v.y || u.z != v.z) return false;
    }
  return true;
}

TEST(RoofFaceUnionFuzz, RandomStacksKeepTheResultsLayoutAndPlanes) {
  std::mt19937 rng(20261207);
  std::uniform_int_distribution<int> count(1, 7);
  for (int trial = 0; trial < 300; ++trial) {
    std::vector<Face> faces;
    const int n = count(rng);
    for (int f = 0; f < n; ++f) faces.push_back(RandomFace(rng, faces));
    const UnionRun run = RunUnion(faces);
    ASSERT_EQ(run.status, 1) << "trial " << trial;
    ASSERT_GE(run.count, 0);
    int vertices = 0;
    for (size_t l = 0; l < run.loops.size(); ++l) {
      const UnionLoop& loop = run.loops[l];
      vertices += static_cast<int>(loop.points.size());
      EXPECT_GE(loop.points.size(), 3u) << "trial " << trial;
      if (l == 0) {
        EXPECT_FALSE(loop.hole) << "trial " << trial << ": a hole first";
      }
      for (const P3& p : loop.points)
        ASSERT_TRUE(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z));
      const int home = HomeFace(loop, faces, 1.0);
      EXPECT_GE(home, 0) << "trial " << trial << " loop " << l;
      for (const P3& p : loop.points) {
        if (home < 0 || Winding(p.x, p.y, faces[home]) != 0) continue;
        EXPECT_LE(EdgeDistance(p.x, p.y, faces[home]), 1.0) << "trial " << trial << " loop " << l;
      }
    }
    EXPECT_LE(vertices, 9999);
    EXPECT_TRUE(SameRun(run, RunUnion(faces))) << "trial " << trial;
  }
}

// Plan distance from (x, y) to the line a x + b y + c = 0.
double LineDistance(double a, double b, double c, double x, double y) {
  return std::fabs(a * x + b * y + c) / std::hypot(a, b);
}

TEST(RoofFaceUnionFuzz, WhatIsClearlyOnTopIsNeverLost) {
  std::mt19937 rng(7031);
  // A smaller face and a larger one, so that pieces of one often lie wholly within the
  // other's plan: the cases where the covered test decides.
  std::uniform_real_distribution<double> pos(400, 600), small(100, 300), large(400, 800),
      height(-150, 150), slope(-1.2, 1.2);
  int checkedPoints = 0;
  for (int trial = 0; trial < 150; ++trial) {
    struct Lifted {
      Face face;
      double z0, gx, gy, cx, cy;
      double ZAt(double x, double y) const { return z0 + gx * (x - cx) + gy * (y - cy); }
    };
    std::vector<Lifted> two;
    for (int f = 0; f < 2; ++f) {
      Lifted l{{}, height(rng), slope(rng), slope(rng), pos(rng), pos(rng)};
      l.face = TiltedConvex(rng, l.cx, l.cy, f == 0 ? small(rng) : large(rng), l.z0, l.gx, l.gy);
      two.push_back(l);
    }
    const UnionRun run = RunUnion({two[0].face, two[1].face});
    ASSERT_EQ(run.status, 1);
    const std::vector<ResultFace> result = ResultFaces(run);
    // The plan line where the two planes meet: (gx0 - gx1) x + (gy0 - gy1) y + c = 0.
    const double a = two[0].gx - two[1].gx, b = two[0].gy - two[1].gy;
    const double c = two[0].z0 - two[0].gx * two[0].cx - two[0].gy * two[0].cy -
                     (two[1].z0 - two[1].gx * two[1].cx - two[1].gy * two[1].cy);
    if (std::hypot(a, b) < 0.05) continue;  // nearly parallel: no clear line
    for (double x = -200 + 7.7; x < 1200; x += 41) {
      for (double y = -200 + 13.1; y < 1200; y += 41) {
        if (LineDistance(a, b, c, x, y) < 15) continue;
        for (int top = 0; top < 2; ++top) {
          const Lifted& f = two[top];
          const Lifted& g = two[1 - top];
          if (Winding(x, y, f.face) == 0 || EdgeDistance(x, y, f.face) < 15) continue;
          if (EdgeDistance(x, y, g.face) < 15) continue;
          if (Winding(x, y, g.face) != 0 && g.ZAt(x, y) > f.ZAt(x, y) - 5) continue;
          ++checkedPoints;
          bool kept = false;
          for (const ResultFace& face : result)
            kept = kept || (HomeFace({false, face.outer}, {f.face}, 1.0) == 0 && face.Covers(x, y));
          EXPECT_TRUE(kept) << "trial " << trial << " at " << x << " " << y;
        }
      }
    }
  }
  EXPECT_GT(checkedPoints, 10000);
}

// A tent: triangles from the edges of a convex outline at height 0 up to one apex over a
// point inside it.
std::vector<Face> Tent(std::mt19937& rng, double cx, double cy) {
  std::uniform_real_distribution<double> radius(1500, 6000), height(500, 5000), weight(0.05, 1);
  const Face outline = TiltedConvex(rng, cx, cy, radius(rng), 0, 0, 0);
  P3 apex{0, 0, height(rng)};
  double total = 0.0;
  for (const P3& p : outline) {
    const double w = weight(rng);
    apex.x += w * p.x, apex.y += w * p.y, total += w;
  }
  apex.x /= total, apex.y /= total;
  std::vector<Face> faces;
  for (size_t i = 0; i < outline.size(); ++i)
    faces.push_back({outline[i], outline[(i + 1) % outline.size()], apex});
  return faces;
}

TEST(RoofFaceUnionFuzz, RandomRoofsCoverThePlanOnceAtTheEnvelope) {
  std::mt19937 rng(4402);
  std::uniform_int_distribution<int> roofs(1, 5), kind(0, 2);
  std::uniform_real_distribution<double> place(0, 9000), size(4000, 14000), turn(0, kPi),
      pitch(15, 50), jitter(0, 1);
  int checkedPoints = 0;
  for (int trial = 0; trial < 400; ++trial) {
    std::vector<Face> faces;
    for (int r = roofs(rng); r > 0; --r) {
      const int k = kind(rng);
      const std::vector<Face> roof =
          k == 2 ? Tent(rng, place(rng), place(rng))
                 : unionscenes::RoofFaces({place(rng), place(rng), size(rng), size(rng), turn(rng),
                                           pitch(rng) * kPi / 180, k == 1});
      faces.insert(faces.end(), roof.begin(), roof.end());
    }
    const UnionRun run = RunUnion(faces);
    ASSERT_EQ(run.status, 1) << "trial " << trial;
    const std::vector<ResultFace> result = ResultFaces(run);
    double lo[2] = {1e300, 1e300}, hi[2] = {-1e300, -1e300};
    for (const Face& f : faces)
      for (const P3& p : f)
        lo[0] = std::min(lo[0], p.x), lo[1] = std::min(lo[1], p.y),
        hi[0] = std::max(hi[0], p.x), hi[1] = std::max(hi[1], p.y);
    const double step = 500.0, ox = jitter(rng) * step, oy = jitter(rng) * step;
    for (double x = lo[0] - step + ox; x < hi[0] + step; x += step) {
      for (double y = lo[1] - step + oy; y < hi[1] + step; y += step) {
        bool clear = true;
        for (const Face& f : faces) clear = clear && EdgeDistance(x, y, f) > 2.0;
        for (const ResultFace& piece : result) {
          clear = clear && EdgeDistance(x, y, piece.outer) > 2.0;
          for (const Face& hole : piece.holes) clear = clear && EdgeDistance(x, y, hole) > 2.0;
        }
        if (!clear) continue;
        ++checkedPoints;
        EXPECT_EQ(EnvelopeAt(faces, result, x, y), "") << "trial " << trial;
      }
    }
  }
  EXPECT_GT(checkedPoints, 200000);
}

}  // namespace
