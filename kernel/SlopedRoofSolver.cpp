// The multi-slope roof solver: footprint clean-up, the roof faces of the moving eave lines,
// and the faces of one plane merged.
#include "SlopedRoofSolver.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "KernelPrimitives.h"
#include "PlaneFaceMerge.h"
#include "RoofWavefront.h"

namespace {

constexpr int kMaxLoops = 9;
constexpr int kMaxPoints = 499;
constexpr int kMaxFaces = 499;
constexpr int kMaxFacePoints = 4999;
// How many single-precision units of rounding the answer's check allows a face point off
// its plane or above the top, and the faces' areas off the footprint's.
constexpr double kPlaneUnits = 64.0;
constexpr double kAreaUnits = 8.0;

struct Vec3 {
  double x, y, z;
};

Vec3 operator-(const Vec3& a, const Vec3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec3 operator*(double s, const Vec3& a) { return {s * a.x, s * a.y, s * a.z}; }
Vec3 Cross(const Vec3& a, const Vec3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

struct Plane {
  double a = 0, b = 0, c = 0, d = 0;
  double Dot(const Vec3& p) const { return a * p.x + b * p.y + c * p.z; }
  double Z(double x, double y) const { return (-a * x - b * y - d) / c; }
};

// The footprint after clean-up: points 0-based, loop after loop.
struct Footprint {
  std::vector<int> start, count;  // per loop
  std::vector<double> x, y;
  std::vector<float> slope, base;  // per edge (point), per loop
  std::vector<int> loopOf;         // per point

  int Size() const { return static_cast<int>(x.size()); }
  int Next(int i) const {
    const int l = loopOf[i];
    return i + 1 == start[l] + count[l] ? start[l] : i + 1;
  }
};

// ---- Footprint clean-up ----

// Drops every point that repeats the point before it (within 0.001 in x and y; the last
// point against the first too), packing every loop in place. The edge that leaves the kept
// point takes the slope of the edge that left the repeat, so every real edge keeps its own
// slope; a repeat left in place would make its neighbour look collinear and lose a real
// corner. False when a loop falls below 3 points.
bool DropRepeatedPoints(int nLoops, std::int16_t counts[], float x[], float y[], float slope[]) {
  auto same = [&](int a, int b) {
    return std::fabs(x[a] - x[b]) <= 0.001f && std::fabs(y[a] - y[b]) <= 0.001f;
  };
  int read = 0, write = 0;
  for (int l = 1; l <= nLoops; ++l) {
    const int n = counts[l];
    int kept = 0;
    for (int i = 1; i <= n; ++i) {
      if (kept > 0 && same(read + i, write + kept)) {
        slope[write + kept] = slope[read + i];
        continue;
      }
      ++kept;
      x[write + kept] = x[read + i], y[write + kept] = y[read + i];
      slope[write + kept] = slope[read + i];
    }
    while (kept > 1 && same(write + kept, write + 1)) --kept;
    if (kept < 3) return false;
    counts[l] = static_cast<std::int16_t>(kept);
    read += n;
    write += kept;
  }
  return true;
}

// Drops the vertices that lie on the line of their neighbours, packing every loop in place;
// the joined edge keeps the slope of the earlier one. False when a loop falls below 3 points.
bool DropCollinearVertices(int nLoops, std::int16_t counts[], float x[], float y[], float slope[]) {
  int read = 0, write = 0;
  for (int l = 1; l <= nLoops; ++l) {
    const int n = counts[l];
    std::vector<double> dx(n + 1, 0.0), dy(n + 1, 0.0);
    for (int i = 1; i <= n; ++i) dx[i] = x[read + i], dy[i] = y[read + i];
    const auto flags = FlagCollinearVertices(n, dx.data(), dy.data());
    int kept = 0;
    for (int i = 1; i <= n; ++i) {
      if (flags[i]) continue;
      ++kept;
      x[write + kept] = x[read + i];
      y[write + kept] = y[read + i];
      slope[write + kept] = slope[read + i];
    }
    if (kept < 3) return false;
    counts[l] = static_cast<std::int16_t>(kept);
    read += n;
    write += kept;
  }
  return true;
}

// Turns every loop so that the outline runs clockwise and courtyards counter-clockwise,
// keeping vertex 1 and each edge's slope.
void OrientLoops(int nLoops, const std::int16_t counts[], float x[], float y[], float slope[]) {
  int first = 0;
  for (int l = 1; l <= nLoops; ++l) {
    const int n = counts[l];
    float minX = 1e30f;
    int i = 1;
    for (int k = 1; k <= n; ++k)
      if (x[first + k] < minX) minX = x[first + k], i = k;
    const int p = i == 1 ? n : i - 1, q = i == n ? 1 : i + 1;
    const double xi = x[first + i], yi = y[first + i];
    const double c =
        (x[first + p] - xi) * (yi - y[first + q]) - (y[first + p] - yi) * (xi - x[first + q]);
    if ((l == 1 && c > 0) || (l > 1 && c < 0)) {
      std::reverse(x + first + 2, x + first + n + 1);
      std::reverse(y + first + 2, y + first + n + 1);
      std::reverse(slope + first + 1, slope + first + n + 1);  // edge k was edge n + 1 - k
    }
    first += n;
  }
}

bool ProperlyCross(double ax, double ay, double bx, double by, double cx, double cy, double dx,
                   double dy) {
  auto orient = [](double px, double py, double qx, double qy, double rx, double ry) {
    const double v = (qx - px) * (ry - py) - (qy - py) * (rx - px);
    return (v > 0) - (v < 0);
  };
  const int o1 = orient(ax, ay, bx, by, cx, cy), o2 = orient(ax, ay, bx, by, dx, dy);
  const int o3 = orient(cx, cy, dx, dy, ax, ay), o4 = orient(cx, cy, dx, dy, bx, by);
  return o1 * o2 < 0 && o3 * o4 < 0;
}

// Whether the footprint is fit for roof planes: edges longer than 0.001, slopes strictly
// between 0 and a quarter turn, no two edges crossing.
bool Solvable(const Footprint& f) {
  const int n = f.Size();
  for (int i = 0; i < n; ++i) {
    const int j = f.Next(i);
    if (std::fabs(f.x[j] - f.x[i]) <= 0.001 && std::fabs(f.y[j] - f.y[i]) <= 0.001) return false;
    const float t = std::tan(f.slope[i]);
    if (!(f.slope[i] > 0.0f) || !(t > 0.0f) || !std::isfinite(t)) return false;
  }
  for (int i = 0; i < n; ++i)
    for (int k = i + 1; k < n; ++k)
      if (ProperlyCross(f.x[i], f.y[i], f.x[f.Next(i)], f.y[f.Next(i)], f.x[k], f.y[k],
                        f.x[f.Next(k)], f.y[f.Next(k)]))
        return false;
  return true;
}

Footprint ReadFootprint(int nLoops, const std::int16_t counts[], const float loopBase[],
                        const float x[], const float y[], const float slope[]) {
  Footprint f;
  int first = 0;
  for (int l = 1; l <= nLoops; ++l) {
    f.start.push_back(first);
    f.count.push_back(counts[l]);
    f.base.push_back(loopBase[l]);
    for (int k = 1; k <= counts[l]; ++k) {
      f.x.push_back(x[first + k]);
      f.y.push_back(y[first + k]);
      f.slope.push_back(slope[first + k]);
      f.loopOf.push_back(l - 1);
    }
    first += counts[l];
  }
  return f;
}

// ---- Planes and faces ----

// The plane through three points, scaled so that its strictly largest component is 1.0.
Plane PlaneThrough(const Vec3& r1, const Vec3& r2, const Vec3& r3) {
  Vec3 n = Cross(r2 - r1, r3 - r1);
  if (std::fabs(n.x) > std::fabs(n.y) && std::fabs(n.x) > std::fabs(n.z)) n = (1.0 / n.x) * n;
  if (std::fabs(n.y) > std::fabs(n.x) && std::fabs(n.y) > std::fabs(n.z)) n = (1.0 / n.y) * n;
  if (std::fabs(n.z) > std::fabs(n.x) && std::fabs(n.z) > std::fabs(n.y)) n = (1.0 / n.z) * n;
  Plane p{n.x, n.y, n.z, 0.0};
  p.d = -p.Dot(r1);
  return p;
}

// The plane of every edge's roof, as the grouping of faces compares them: through the eave
// and the point at horizontal distance tan(slope) * D off the edge's end, at height
// tan(slope) times that distance above the eave (tangents in single precision).
std::vector<Plane> EdgePlanes(const Footprint& f, double D) {
  std::vector<Plane> planes(f.Size());
  for (int i = 0; i < f.Size(); ++i) {
    const int j = f.Next(i);
    const double base = f.base[f.loopOf[i]];
    const double a = LineAngle(f.x[i], f.y[i], f.x[j], f.y[j]);
    const float rise = std::sin(f.slope[i]) / std::cos(f.slope[i]);
    const double reach = double(std::tan(f.slope[i])) * D;
    const Vec3 far{f.x[j] + reach * std::sin(a), f.y[j] - reach * std::cos(a), reach * rise + base};
    planes[i] = PlaneThrough({f.x[i], f.y[i], base}, {f.x[j], f.y[j], base}, far);
  }
  return planes;
}

using Face = PlaneFace;

bool SamePlane(const Plane& p, const Plane& q) {
  return std::fabs(p.a - q.a) < 0.01 && std::fabs(p.b - q.b) < 0.01 &&
         std::fabs(p.c - q.c) < 0.01 && std::fabs(p.d - q.d) < 1.0;
}

// Whether every point of the face lies within 1 mm (in height) of the plane. The coefficient
// test of SamePlane alone also pairs nearly parallel edges, whose planes part by hundreds of
// millimetres across a large footprint; merging would drag one face into the other's plane.
bool LiesInPlane(const Face& face, const Plane& plane) {
  for (size_t i = 0; i < face.x.size(); ++i)
    if (std::fabs(face.z[i] - plane.Z(face.x[i], face.y[i])) > 1.0) return false;
  return true;
}

// Groups the faces by plane, in order, and merges the faces of a group that hang together
// by shared edges. Faces of one plane that only touch at a point, or lie apart, stay apart.
std::vector<Face> MergeCoplanarFaces(const std::vector<Face>& faces,
                                     const std::vector<Plane>& planes) {
  std::vector<Face> out;
  std::vector<bool> taken(faces.size(), false);
  for (size_t i = 0; i < faces.size(); ++i) {
    if (taken[i]) continue;
    std::vector<size_t> plane{i};
    for (size_t k = i + 1; k < faces.size(); ++k)
      if (!taken[k] && SamePlane(planes[i], planes[k]) && LiesInPlane(faces[k], planes[i]))
        plane.push_back(k);
    for (size_t k : plane) taken[k] = true;
    std::vector<Face> planeFaces;
    for (size_t k : plane) planeFaces.push_back(faces[k]);
    for (Face& face : MergeFacesSharingEdges(planeFaces)) out.push_back(std::move(face));
  }
  return out;
}

// ---- The answer's check ----

// Single precision's unit at a magnitude: the most a value of that size moves when it is
// rounded to the nearest float, doubled (its inputs were rounded too).
double FloatUnit(double magnitude) { return std::ldexp(std::max(std::fabs(magnitude), 1.0), -23); }

// The largest plan coordinate of the footprint: every face point lies within its box.
double PlanMagnitude(const Footprint& f) {
  double m = 0.0;
  for (int i = 0; i < f.Size(); ++i) m = std::max({m, std::fabs(f.x[i]), std::fabs(f.y[i])});
  return m;
}

double Perimeter(const std::vector<float>& x, const std::vector<float>& y) {
  double sum = 0.0;
  for (size_t i = 0; i < x.size(); ++i) {
    const size_t j = (i + 1) % x.size();
    sum += std::hypot(double(x[j]) - x[i], double(y[j]) - y[i]);
  }
  return sum;
}

// The footprint's area to be roofed: the outline's less its courtyards'.
double FootprintArea(const Footprint& f) {
  double area = 0.0;
  for (size_t l = 0; l < f.start.size(); ++l) {
    double twice = 0.0;
    for (int i = f.start[l]; i < f.start[l] + f.count[l]; ++i) {
      const int j = f.Next(i);
      twice += f.x[i] * f.y[j] - f.x[j] * f.y[i];
    }
    area += l == 0 ? std::fabs(twice) / 2.0 : -std::fabs(twice) / 2.0;
  }
  return area;
}

double FootprintPerimeter(const Footprint& f) {
  double sum = 0.0;
  for (int i = 0; i < f.Size(); ++i) sum += std::hypot(f.x[f.Next(i)] - f.x[i], f.y[f.Next(i)] - f.y[i]);
  return sum;
}

// Whether every point of the face of footprint edge e lies on the edge's plane: its height
// above the loop's eave is the edge's rise times its distance inward from the edge's line.
// Rounding a point to single precision moves it by a unit in plan, which moves the plane's
// height under it by the rise, and its height by a unit of the heights.
bool LiesOnEdgePlane(const Footprint& f, int e, const Face& face, double planUnit, double heightUnit) {
  const int j = f.Next(e);
  const double dx = f.x[j] - f.x[e], dy = f.y[j] - f.y[e], len = std::hypot(dx, dy);
  const double rise = std::tan(double(f.slope[e]));
  const double base = f.base[f.loopOf[e]];
  const double tol = kPlaneUnits * (rise * planUnit + heightUnit);
  for (size_t k = 0; k < face.x.size(); ++k) {
    const double inward = ((face.x[k] - f.x[e]) * dy - (face.y[k] - f.y[e]) * dx) / len;
    if (!(std::fabs(face.z[k] - (base + rise * inward)) <= tol)) return false;
  }
  return true;
}

// Whether the faces cover the footprint once: their plan areas sum to its area. Rounding
// moves every face point, and every footprint point, by a unit in plan, which moves an
// area by at most the unit times half the perimeter.
bool TilesFootprint(const Footprint& f, const std::vector<Face>& faces, double planUnit) {
  double area = 0.0, perimeters = FootprintPerimeter(f);
  for (const Face& face : faces) {
    area += std::fabs(PlanArea(face));
    perimeters += Perimeter(face.x, face.y);
  }
  return std::fabs(area - FootprintArea(f)) <= kAreaUnits * planUnit * perimeters / 2.0;
}

// Whether no face point stands above the roof's top, beyond rounding: the merge of a
// plane's faces splits their edges in single precision, which may move a point along a
// sloped edge by a unit in plan and so by the steepest rise in height.
bool StaysBelow(const Footprint& f, const std::vector<Face>& faces, double top, double planUnit,
                double heightUnit) {
  double steepest = 0.0;
  for (float s : f.slope) steepest = std::max(steepest, std::tan(double(s)));
  const double tol = kPlaneUnits * (steepest * planUnit + heightUnit);
  for (const Face& face : faces)
    for (float z : face.z)
      if (!(z <= top + tol)) return false;
  return true;
}

// The roof faces of the cleaned footprint; empty when it has none.
std::vector<Face> SolveFootprint(const Footprint& f) {
  if (!Solvable(f)) return {};
  const float lowest = *std::min_element(f.base.begin(), f.base.end());
  std::vector<RoofLoop> loops(f.start.size());
  for (size_t l = 0; l < loops.size(); ++l) loops[l].base = double(f.base[l]) - lowest;
  double minX = 1e7, maxX = -1e7, minY = 1e7, maxY = -1e7;
  for (int i = 0; i < f.Size(); ++i) {
    RoofLoop& loop = loops[f.loopOf[i]];
    loop.x.push_back(f.x[i]);
    loop.y.push_back(f.y[i]);
    loop.rise.push_back(std::tan(f.slope[i]));
    minX = std::min(minX, f.x[i]), maxX = std::max(maxX, f.x[i]);
    minY = std::min(minY, f.y[i]), maxY = std::max(maxY, f.y[i]);
  }
  std::vector<RoofFace> roof;
  double top = 0.0;
  if (!RoofFacesByWavefront(loops, &roof, &top)) return {};
  top += lowest;
  const double planUnit = FloatUnit(PlanMagnitude(f));
  const double heightUnit = FloatUnit(std::max(std::fabs(top), std::fabs(double(lowest))));

  const std::vector<Plane> edgePlanes = EdgePlanes(f, std::max(maxX - minX, maxY - minY));
  std::vector<Face> faces;
  std::vector<Plane> planes;
  for (const RoofFace& r : roof) {
    Face face;
    for (const auto& p : r.points) {
      face.x.push_back(static_cast<float>(p[0]));
      face.y.push_back(static_cast<float>(p[1]));
      face.z.push_back(static_cast<float>(p[2] + lowest));
    }
    if (!LiesOnEdgePlane(f, r.edge, face, planUnit, heightUnit)) return {};
    faces.push_back(face);
    planes.push_back(edgePlanes[r.edge]);
  }
  std::vector<Face> merged;
  for (Face& face : MergeCoplanarFaces(faces, planes)) {
    if (face.x.size() < 3) continue;
    merged.push_back(std::move(face));
  }
  if (!TilesFootprint(f, merged, planUnit) || !StaysBelow(f, merged, top, planUnit, heightUnit)) return {};
  return merged;
}

}  // namespace

int SolveSlopedRoofFaces(int nLoops, std::int16_t loopPointCounts[], const float loopBase[],
                         float x[], float y[], float slope[], int* faceCount,
                         std::int16_t faceVertexCounts[], float faceX[], float faceY[],
                         float faceZ[]) {
  *faceCount = 0;
  if (nLoops < 1 || nLoops > kMaxLoops) return 0;
  int total = 0;
  for (int l = 1; l <= nLoops; ++l) {
    if (loopPointCounts[l] < 3) return 0;
    total += loopPointCounts[l];
  }
  if (total > kMaxPoints) return 0;
  if (!DropRepeatedPoints(nLoops, loopPointCounts, x, y, slope) ||
      !DropCollinearVertices(nLoops, loopPointCounts, x, y, slope))
    return 0;
  OrientLoops(nLoops, loopPointCounts, x, y, slope);

  const std::vector<Face> faces =
      SolveFootprint(ReadFootprint(nLoops, loopPointCounts, loopBase, x, y, slope));
  size_t points = 0;
  for (const Face& face : faces) points += face.x.size();
  if (faces.size() > static_cast<size_t>(kMaxFaces) || points > static_cast<size_t>(kMaxFacePoints))
    return 0;
  int at = 0;
  for (size_t i = 0; i < faces.size(); ++i) {
    faceVertexCounts[i + 1] = static_cast<std::int16_t>(faces[i].x.size());
    for (size_t p = 0; p < faces[i].x.size(); ++p) {
      ++at;
      faceX[at] = faces[i].x[p], faceY[at] = faces[i].y[p], faceZ[at] = faces[i].z[p];
    }
  }
  *faceCount = static_cast<int>(faces.size());
  return *faceCount != 0;
}
