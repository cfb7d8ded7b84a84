#pragma once
// Test helpers for the roof-face union engine: faces as point lists, one call through the
// caller's exchange record, the result read back loop by loop (by the absolute counts), and
// independent geometry: Newell planes, shoelace plan areas, winding-number point in polygon.
#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

#include "RoofFaceUnion.h"

namespace uniontest {

struct P3 {
  double x, y, z;
};
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

// Signed plan area by the shoelace sum (positive counter-clockwise seen from above).
inline double PlanArea(const Face& f) {
  double sum = 0.0;
  for (size_t i = 0; i < f.size(); ++i) {
    const P3& a = f[i];
    const P3& b = f[(i + 1) % f.size()];
    sum += a.x * b.y - b.x * a.y;
  }
  return sum / 2.0;
}

// Winding number of the plan outline about (x, y); non-zero is inside.
inline int Winding(double x, double y, const Face& f) {
  int winding = 0;
  for (size_t i = 0; i < f.size(); ++i) {
    const P3& a = f[i];
    const P3& b = f[(i + 1) % f.size()];
    const double side = (b.x - a.x) * (y - a.y) - (x - a.x) * (b.y - a.y);
    if (a.y <= y && b.y > y && side > 0) ++winding;
    if (a.y > y && b.y <= y && side < 0) --winding;
  }
  return winding;
}

// Plan distance from (x, y) to the outline's nearest edge.
inline double EdgeDistance(double x, double y, const Face& f) {
  double best = 1e300;
  for (size_t i = 0; i < f.size(); ++i) {
    const P3& a = f[i];
    const P3& b = f[(i + 1) % f.size()];
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((x - a.x) * dx + (y - a.y) * dy) / len2 : 0.0;
    t = t < 0 ? 0 : (t > 1 ? 1 : t);
    best = std::fmin(best, std::hypot(x - (a.x + t * dx), y - (a.y + t * dy)));
  }
  return best;
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

}  // namespace uniontest
