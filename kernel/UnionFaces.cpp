// The union's faces: planes by Newell's method (measured from each face's first vertex, so
// that site coordinates lose nothing to cancellation), one origin for all of them, and the
// plan points faces share.
#include "UnionFaces.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <tuple>
#include <utility>

namespace kernel {

namespace {

// Clipper's limit, a little inside it: the value 2^62 - 1 rounds up as a double.
constexpr double kMostGridUnits = 4.6e18;
// A face whose vector area is under this share of its extent squared spans no plane: its
// vertices lie on one line but for rounding.
constexpr double kNoPlaneShare = 1e-6;
// A face is upright when the vertical part of its normal is under this share of the
// largest part.
constexpr double kUprightShare = 0.001;
// Half a unit in the last place of a float, as a share of its value.
constexpr double kFloatRounding = 0x1p-24;

// Box, normal and the two flags of a face, from its single-precision vertices.
void MeasureFace(UnionFace& face, const float x[], const float y[], const float z[]) {
  const int at = face.first;
  double lo[3] = {x[at], y[at], z[at]}, hi[3] = {x[at], y[at], z[at]};
  for (int i = 0; i < face.count; ++i) {
    const double p[3] = {x[at + i], y[at + i], z[at + i]};
    for (int k = 0; k < 3; ++k) lo[k] = std::min(lo[k], p[k]), hi[k] = std::max(hi[k], p[k]);
    const int j = i + 1 == face.count ? 0 : i + 1;
    const double ax = x[at + i] - x[at], ay = y[at + i] - y[at], az = z[at + i] - z[at];
    const double bx = x[at + j] - x[at], by = y[at + j] - y[at], bz = z[at + j] - z[at];
    face.nx += (ay - by) * (az + bz);
    face.ny += (az - bz) * (ax + bx);
    face.nz += (ax - bx) * (ay + by);
  }
  face.minX = lo[0], face.minY = lo[1], face.minZ = lo[2];
  face.maxX = hi[0], face.maxY = hi[1], face.maxZ = hi[2];
  const double extent = std::max({hi[0] - lo[0], hi[1] - lo[1], hi[2] - lo[2]});
  const double length = std::sqrt(face.nx * face.nx + face.ny * face.ny + face.nz * face.nz);
  face.usable = face.count >= 3 && length > kNoPlaneShare * extent * extent;
  const double largest = std::max({std::fabs(face.nx), std::fabs(face.ny), std::fabs(face.nz)});
  face.upright = std::fabs(face.nz) < kUprightShare * largest;
}

// The vertices measured from the origin, their mean, and the plane of a face that is not
// upright, with its slack.
void PlaceFace(UnionFace& face, double ox, double oy, const float x[], const float y[],
               const float z[]) {
  double largest = 0.0;
  for (int i = 0; i < face.count; ++i) {
    const int v = face.first + i;
    face.plan.push_back({x[v] - ox, y[v] - oy});
    face.z.push_back(z[v]);
    face.meanX += face.plan.back().x, face.meanY += face.plan.back().y, face.meanZ += z[v];
    largest = std::max({largest, std::fabs(double{x[v]}), std::fabs(double{y[v]}), std::fabs(double{z[v]})});
  }
  const double n = face.count > 0 ? face.count : 1;
  face.meanX /= n, face.meanY /= n, face.meanZ /= n;
  face.minX -= ox, face.maxX -= ox, face.minY -= oy, face.maxY -= oy;
  if (!face.usable || face.upright) return;
  Slope& s = face.slope;
  s.p = -face.nx / face.nz, s.q = -face.ny / face.nz;
  s.r = face.meanZ - s.p * face.meanX - s.q * face.meanY;
  double spread = 0.0;
  for (int i = 0; i < face.count; ++i)
    spread = std::max(spread, std::fabs(face.z[i] - s.At(face.plan[i].x, face.plan[i].y)));
  const double rounding = largest * kFloatRounding;
  face.slack = spread + 2.0 * rounding * (1.0 + std::hypot(s.p, s.q));
}

// A plan position as one number: the bits of its two floats (a negative zero taken as zero).
std::uint64_t PlanKey(float x, float y) {
  return std::uint64_t{std::bit_cast<std::uint32_t>(x + 0.0f)} << 32 |
         std::bit_cast<std::uint32_t>(y + 0.0f);
}

// Numbers every distinct plan position and gives each face the numbers of its vertices.
void NumberSharedPoints(std::vector<UnionFace>& faces, const float x[], const float y[]) {
  std::vector<std::pair<std::uint64_t, std::pair<int, int>>> keys;  // key, (face, vertex)
  for (size_t f = 0; f < faces.size(); ++f) {
    faces[f].vertexPoints.assign(static_cast<size_t>(faces[f].count), 0);
    for (int i = 0; i < faces[f].count; ++i) {
      const int v = faces[f].first + i;
      keys.push_back({PlanKey(x[v], y[v]), {static_cast<int>(f), i}});
    }
  }
  std::sort(keys.begin(), keys.end());
  int number = -1;
  for (size_t k = 0; k < keys.size(); ++k) {
    if (k == 0 || keys[k].first != keys[k - 1].first) ++number;
    const auto [f, i] = keys[k].second;
    faces[f].vertexPoints[i] = number;
  }
  for (UnionFace& face : faces) {
    face.points = face.vertexPoints;
    std::sort(face.points.begin(), face.points.end());
    face.points.erase(std::unique(face.points.begin(), face.points.end()), face.points.end());
  }
}

// Marks the edges that two faces hiding others have in common: the same two vertices, in
// plan and in height (a slab's bottom face shares the roof's eave in plan only).
void MarkSharedEdges(std::vector<UnionFace>& faces) {
  struct Edge {
    int low, high;
    double zLow, zHigh;
    int face, index;
    auto Key() const { return std::tie(low, high, zLow, zHigh); }
  };
  std::vector<Edge> edges;
  for (size_t f = 0; f < faces.size(); ++f) {
    UnionFace& face = faces[f];
    face.sharedEdges.assign(static_cast<size_t>(face.count), 0);
    if (!face.usable || face.upright) continue;
    for (int i = 0; i < face.count; ++i) {
      const int j = (i + 1) % face.count;
      const int a = face.vertexPoints[i], b = face.vertexPoints[j];
      if (a == b) continue;
      const bool up = a < b;
      edges.push_back({up ? a : b, up ? b : a, face.z[up ? i : j], face.z[up ? j : i], static_cast<int>(f), i});
    }
  }
  std::sort(edges.begin(), edges.end(), [](const Edge& e, const Edge& g) {
    return std::tuple_cat(e.Key(), std::tie(e.face)) < std::tuple_cat(g.Key(), std::tie(g.face));
  });
  const auto twin = [&](size_t k, size_t m) {
    return m < edges.size() && edges[m].Key() == edges[k].Key() && edges[m].face != edges[k].face;
  };
  for (size_t k = 0; k < edges.size(); ++k)
    if ((k > 0 && twin(k, k - 1)) || twin(k, k + 1)) faces[edges[k].face].sharedEdges[edges[k].index] = 1;
}

}  // namespace

std::optional<ClipperLib::cInt> GridUnits(double millimetres) {
  const double units = std::round(millimetres * kGridUnitsPerMillimetre);
  if (!(std::fabs(units) <= kMostGridUnits)) return std::nullopt;
  return static_cast<ClipperLib::cInt>(units);
}

bool UnionFace::HasPoint(int point) const {
  return std::binary_search(points.begin(), points.end(), point);
}

UnionFaces SetUpFaces(int faceCount, const std::int16_t vertexCounts[], const float x[],
                      const float y[], const float z[]) {
  UnionFaces set;
  set.faces.resize(static_cast<size_t>(faceCount));
  double lo[2] = {0.0, 0.0}, hi[2] = {0.0, 0.0};
  bool any = false;
  for (int f = 0, at = 1; f < faceCount; ++f) {
    UnionFace& face = set.faces[static_cast<size_t>(f)];
    face.first = at, face.count = vertexCounts[f + 1];
    at += face.count;
    if (face.count == 0) continue;
    MeasureFace(face, x, y, z);
    if (!face.usable) continue;
    lo[0] = any ? std::min(lo[0], face.minX) : face.minX;
    lo[1] = any ? std::min(lo[1], face.minY) : face.minY;
    hi[0] = any ? std::max(hi[0], face.maxX) : face.maxX;
    hi[1] = any ? std::max(hi[1], face.maxY) : face.maxY;
    any = true;
  }
  set.originX = (lo[0] + hi[0]) / 2, set.originY = (lo[1] + hi[1]) / 2;
  for (UnionFace& face : set.faces) PlaceFace(face, set.originX, set.originY, x, y, z);
  NumberSharedPoints(set.faces, x, y);
  MarkSharedEdges(set.faces);
  return set;
}

}  // namespace kernel
