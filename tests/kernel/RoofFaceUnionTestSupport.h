#pragma once
// Test helpers for the roof-face union engine: faces as point lists, one call through the
// caller's exchange record, the result read back loop by loop (by the absolute counts), and
// Newell planes; the plan geometry comes from the kernel's test support.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
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

// The union as the roof-union command runs it: the faces measured from their lower corner
// (in double, then single precision), the result moved back.
inline UnionRun RunUnionAtLowerCorner(const std::vector<Face>& faces) {
  P3 low{1e300, 1e300, 1e300};
  for (const Face& face : faces)
    for (const P3& p : face) low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
  std::vector<Face> local = faces;
  for (Face& face : local)
    for (P3& p : face) p = {p.x - low.x, p.y - low.y, p.z - low.z};
  UnionRun run = RunUnion(local);
  for (UnionLoop& loop : run.loops)
    for (P3& p : loop.points) p = {p.x + low.x, p.y + low.y, p.z + low.z};
  return run;
}

// Unit normal by Newell's method and the plane offset: n . p + d = 0.
struct Plane {
  double nx = 0, ny = 0, nz = 0, d = 0;
  double Distance(const P3& p) const { return nx * p.x + ny * p.y + nz * p.z + d; }
  bool Vertical() const { return std::fabs(nz) < 1e-6; }
  double ZAt(double x, double y) const { return -(nx * x + ny * y + d) / nz; }
};

// Newell's normal, unscaled: twice the face's area along it.
inline P3 NewellNormal(const Face& f) {
  P3 n{0, 0, 0};
  for (size_t i = 0; i < f.size(); ++i) {
    const P3& a = f[i];
    const P3& b = f[(i + 1) % f.size()];
    n.x += (a.y - b.y) * (a.z + b.z), n.y += (a.z - b.z) * (a.x + b.x), n.z += (a.x - b.x) * (a.y + b.y);
  }
  return n;
}

// The area of a planar loop in its own plane.
inline double SpaceArea(const Face& f) {
  const P3 n = NewellNormal(f);
  return std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z) / 2;
}

inline Plane PlaneOf(const Face& f) {
  const P3 n = NewellNormal(f);
  const double length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
  Plane p{n.x / length, n.y / length, n.z / length, 0.0};
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

// ---- Where the result's pieces and the input's upper envelope disagree at sample points.

// Height of the face's plane (Newell normal) at (x, y) when (x, y) lies inside its plan
// outline and the face is not upright.
inline bool HeightOn(const Face& face, double x, double y, double* z) {
  if (Winding(x, y, face) == 0) return false;
  const Plane plane = PlaneOf(face);
  if (plane.Vertical()) return false;
  *z = plane.ZAt(x, y);
  return true;
}

// The highest input face's height at (x, y); false where no face lies over it.
inline bool Envelope(const std::vector<Face>& faces, double x, double y, double* top) {
  bool any = false;
  for (const Face& f : faces) {
    double z = 0.0;
    if (!HeightOn(f, x, y, &z)) continue;
    *top = any ? std::max(*top, z) : z;
    any = true;
  }
  return any;
}

// Empty when, at (x, y), exactly one result piece lies over the point if an input face does
// (none otherwise) and its height is the envelope's within the tolerance; else what is wrong.
// A piece counts as upright within what single precision tilts a band far out.
inline std::string EnvelopeAt(const std::vector<Face>& faces, const std::vector<ResultFace>& result,
                              double x, double y, double tolerance = 1.0) {
  double top = 0.0;
  const bool under = Envelope(faces, x, y, &top);
  int over = 0;
  std::string what;
  for (size_t p = 0; p < result.size(); ++p) {
    if (std::fabs(result[p].plane.nz) < 1e-3 || !result[p].Covers(x, y)) continue;
    ++over;
    const double here = result[p].plane.ZAt(x, y);
    if (under && std::fabs(here - top) > tolerance)
      what += "piece " + std::to_string(p) + " at " + std::to_string(here) + " where the top is " +
              std::to_string(top) + "; ";
  }
  if (over != (under ? 1 : 0))
    what += std::to_string(over) + " pieces over a point " + (under ? "" : "not ") +
            "in the plan; ";
  return what.empty() ? what : "at (" + std::to_string(x) + ", " + std::to_string(y) + "): " + what;
}

}  // namespace uniontest
