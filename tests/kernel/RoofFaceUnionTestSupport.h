#pragma once
// Test helpers for the roof-face union engine: faces as point lists, one call through the
// caller's exchange record, the result read back loop by loop (by the absolute counts), and
// Newell planes; the plan geometry comes from the kernel's test support.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

#include "KernelTestSupport.h"
#include "RoofFaceUnion.h"

namespace uniontest {

using kerneltest::EdgeDistance;
using kerneltest::P3;
using kerneltest::PlanArea;
using kerneltest::Winding;
using Face = std::vector<P3>;

struct UnionLoop {
  bool hole = false;
  Face points;
};

struct UnionRun {
  int status = -1;
  int count = -1;
  std::vector<int> counts;  // the signed counts as returned
  std::vector<UnionLoop> loops;
};

inline UnionRun RunUnion(const std::vector<Face>& faces) {
  auto arrays = std::make_unique<UnionFaceArrays>();
  int at = 0;
  for (const Face& face : faces) {
    arrays->vertexCounts[++arrays->faceCount] = static_cast<std::int16_t>(face.size());
    for (const P3& p : face) {
      ++at;
      arrays->x[at] = static_cast<float>(p.x);
      arrays->y[at] = static_cast<float>(p.y);
      arrays->z[at] = static_cast<float>(p.z);
    }
  }
  UnionRun run;
  run.status = UnionRoofFaces(&arrays->faceCount, arrays->vertexCounts, arrays->x, arrays->y,
                              arrays->z);
  run.count = arrays->faceCount;
  at = 0;
  for (int l = 1; l <= run.count; ++l) {
    const int count = arrays->vertexCounts[l];
    run.counts.push_back(count);
    UnionLoop loop;
    loop.hole = count < 0;
    for (int k = 0; k < std::abs(count); ++k) {
      ++at;
      loop.points.push_back({arrays->x[at], arrays->y[at], arrays->z[at]});
    }
    run.loops.push_back(loop);
  }
  return run;
}

// Unit normal by Newell's method and the plane offset: n . p + d = 0.
struct Plane {
  double nx = 0, ny = 0, nz = 0, d = 0;
  double Distance(const P3& p) const { return nx * p.x + ny * p.y + nz * p.z + d; }
  bool Vertical() const { return std::fabs(nz) < 1e-6; }
  double ZAt(double x, double y) const { return -(nx * x + ny * y + d) / nz; }
};

inline Plane PlaneOf(const Face& f) {
  Plane p;
  for (size_t i = 0; i < f.size(); ++i) {
    const P3& a = f[i];
    const P3& b = f[(i + 1) % f.size()];
    p.nx += (a.y - b.y) * (a.z + b.z);
    p.ny += (a.z - b.z) * (a.x + b.x);
    p.nz += (a.x - b.x) * (a.y + b.y);
  }
  const double length = std::sqrt(p.nx * p.nx + p.ny * p.ny + p.nz * p.nz);
  p.nx /= length, p.ny /= length, p.nz /= length;
  p.d = -(p.nx * f[0].x + p.ny * f[0].y + p.nz * f[0].z);
  return p;
}

// The index of the input face whose plane holds every vertex of the loop within tol, or -1.
inline int HomeFace(const UnionLoop& loop, const std::vector<Face>& faces, double tol) {
  for (size_t f = 0; f < faces.size(); ++f) {
    const Plane plane = PlaneOf(faces[f]);
    bool all = true;
    for (const P3& p : loop.points) all = all && std::fabs(plane.Distance(p)) <= tol;
    if (all) return static_cast<int>(f);
  }
  return -1;
}

// An outer loop of the result with the holes that follow it.
struct ResultFace {
  Face outer;
  std::vector<Face> holes;
  Plane plane;
  bool Covers(double x, double y) const {
    if (Winding(x, y, outer) == 0) return false;
    for (const Face& hole : holes)
      if (Winding(x, y, hole) != 0) return false;
    return true;
  }
};

inline std::vector<ResultFace> ResultFaces(const UnionRun& run) {
  std::vector<ResultFace> faces;
  for (const UnionLoop& loop : run.loops) {
    if (!loop.hole) {
      faces.push_back({loop.points, {}, PlaneOf(loop.points)});
    } else {
      EXPECT_FALSE(faces.empty()) << "a hole before any outer loop";
      if (!faces.empty()) faces.back().holes.push_back(loop.points);
    }
  }
  return faces;
}

}  // namespace uniontest
