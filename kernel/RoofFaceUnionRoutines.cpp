// Plane, flat frame, pair cut, collinear-vertex removal and ring inset of the roof-face union
// engine.
#include "RoofFaceUnionRoutines.h"

#include <algorithm>
#include <cmath>

#include "KernelConstants.h"
#include "KernelPrimitives.h"

using namespace kernel;

bool PolygonPlaneForUnion(const double x[], const double y[], const double z[], int n,
                          double* a, double* b, double* c, double* d) {
  *a = *b = *c = *d = kNoPlane;
  double bestArea = 0.0;
  bool found = false;
  for (int i = 2; i <= n; ++i) {
    const double xi = x[i] - x[1], yi = y[i] - y[1], zi = z[i] - z[1];
    for (int j = i + 1; j <= n; ++j) {
      const double xj = x[j] - x[1], yj = y[j] - y[1], zj = z[j] - z[1];
      const double na = yi * zj - yj * zi;
      const double nb = zi * xj - xi * zj;
      const double nc = xi * yj - yi * xj;
      const double area = 0.5 * std::sqrt(na * na + nb * nb + nc * nc);
      if (area > bestArea) {
        bestArea = area;
        *a = na, *b = nb, *c = nc;
        found = true;
      }
    }
  }
  if (found) *d = -(*a * x[1] + *b * y[1] + *c * z[1]);
  return found;
}

namespace {

double Length(double x, double y, double z) { return std::sqrt(x * x + y * y + z * z); }

// The direction angle of the normal's plan part, which turns it onto +x. The kernel's line
// angle snaps directions within 0.001 of an axis onto the axis; for a unit normal that tilts
// the frame out of the face's plane (by up to 1 in 1000 of the distance from the face's first
// vertex), so such a direction takes its exact angle instead.
double PlanTurn(double nx, double ny) {
  const bool snapped = std::fabs(nx) < 0.001 || std::fabs(ny) < 0.001;
  return snapped ? -std::atan2(ny, nx) : -LineAngle(0.0, 0.0, nx, ny);
}

}  // namespace

bool FacePlaneAnglesForUnion(const double x[], const double y[], const double z[], int n,
                             double* angleA, double* angleB) {
  *angleA = 0.0;
  *angleB = 0.0;
  double bestArea = 0.0;
  int bestI = 0, bestJ = 0;
  for (int i = 2; i <= n; ++i) {
    for (int j = i + 1; j <= n; ++j) {
      const double la = Length(x[i], y[i], z[i]);
      const double lb = Length(x[j], y[j], z[j]);
      const double lc = Length(x[i] - x[j], y[i] - y[j], z[i] - z[j]);
      const double s = (la + lb + lc) / 2.0;
      const double product = (s - la) * (s - lb) * (s - lc);
      if (!(product > 0.0)) continue;
      const double area = std::sqrt(s * product);
      if (area > bestArea) {
        bestArea = area;
        bestI = i, bestJ = j;
      }
    }
  }
  if (bestI == 0) return false;
  double nx = y[bestI] * z[bestJ] - z[bestI] * y[bestJ];
  double ny = z[bestI] * x[bestJ] - x[bestI] * z[bestJ];
  double nz = x[bestI] * y[bestJ] - y[bestI] * x[bestJ];
  const double length = Length(nx, ny, nz);
  if (!(length > 0.0)) return false;
  nx /= length, ny /= length, nz /= length;
  if (std::fabs(nx) < 1e-5) nx = 0.0;
  if (std::fabs(ny) < 1e-5) ny = 0.0;
  if (std::fabs(nz) < 1e-5) nz = 0.0;

  if (nx == 0.0 && ny == 0.0) return true;  // along z: the face is level already
  if (nx == 0.0 && nz == 0.0) {
    *angleA = kUnionHalfPi;
    *angleB = -kUnionHalfPi;
    return true;
  }
  if (ny == 0.0 && nz == 0.0) {
    *angleB = kUnionHalfPi;
    return true;
  }
  const double a = PlanTurn(nx, ny);
  const double h = nx * std::cos(a) - ny * std::sin(a);
  double b = kUnionHalfPi;
  if (nz > 0.0) b = std::atan(std::fabs(h) / nz);
  if (nz < 0.0) b = kUnionPi - std::atan(std::fabs(h) / std::fabs(nz));
  *angleA = a;
  *angleB = b;
  return true;
}

FaceFrameForUnion::FaceFrameForUnion(double ox, double oy, double oz, double angleA,
                                     double angleB)
    : ox_(ox),
      oy_(oy),
      oz_(oz),
      cosA_(std::cos(angleA)),
      sinA_(std::sin(angleA)),
      cosB_(std::cos(angleB)),
      sinB_(std::sin(angleB)) {}

void FaceFrameForUnion::ToFrame(double x, double y, double z, double* u, double* v) const {
  const double dx = x - ox_, dy = y - oy_, dz = z - oz_;
  // Straight down (or up) onto the plane: the point there has dz = -(cosA dx - sinA dy) tanB.
  const bool upright = std::fabs(cosB_) < kUprightCosine;
  *u = upright ? (cosA_ * dx - sinA_ * dy) * cosB_ - dz * sinB_ : (cosA_ * dx - sinA_ * dy) / cosB_;
  *v = sinA_ * dx + cosA_ * dy;
}

void FaceFrameForUnion::FromFrame(double u, double v, double* x, double* y, double* z) const {
  *x = cosA_ * cosB_ * u + sinA_ * v + ox_;
  *y = -sinA_ * cosB_ * u + cosA_ * v + oy_;
  *z = -sinB_ * u + oz_;
}

namespace {

struct Box {
  double lo[3] = {1e8, 1e8, 1e8};
  double hi[3] = {-1e8, -1e8, -1e8};
  explicit Box(const UnionFace& f) {
    for (int i = 1; i <= f.n; ++i) {
      const double p[3] = {f.x[i], f.y[i], f.z[i]};
      for (int k = 0; k < 3; ++k) lo[k] = std::min(lo[k], p[k]), hi[k] = std::max(hi[k], p[k]);
    }
  }
};

}  // namespace

std::vector<UnionSegment3> PolygonPairOverlapForUnion(float t, const UnionFace& f,
                                                      const UnionFace& g, float faceTol) {
  std::vector<UnionSegment3> segments;
  const Box boxF(f), boxG(g);
  for (int k = 0; k < 3; ++k)
    if (boxG.hi[k] + t < boxF.lo[k] || boxF.hi[k] < boxG.lo[k] - t) return segments;

  std::vector<FacePoint> found;
  found.reserve(8);
  AppendEdgeCrossings(g, f, found, faceTol);
  AppendEdgeCrossings(f, g, found, faceTol);
  // A point repeats an earlier kept one when it lies within t in x and z and 0.1 in y.
  std::vector<FacePoint> points;
  points.reserve(found.size());
  for (const FacePoint& p : found) {
    const bool repeat = found.size() > 1 && std::any_of(points.begin(), points.end(), [&](auto& q) {
                          return std::fabs(p.x - q.x) < t && std::fabs(p.y - q.y) < 0.1 &&
                                 std::fabs(p.z - q.z) < t;
                        });
    if (!repeat) points.push_back(p);
  }
  // In the order found, consecutive points can span the common line twice over, ending a
  // hair apart where it meets two edges at a shallow angle: the two chords then make a
  // sliver whose sides leave one point at angles no tracer can tell apart (a whole face was
  // lost to one). Along the line, they delimit the stretches that are in both faces or in
  // neither.
  const double dx = f.b * g.c - f.c * g.b, dy = f.c * g.a - f.a * g.c, dz = f.a * g.b - f.b * g.a;
  std::stable_sort(points.begin(), points.end(), [&](const FacePoint& p, const FacePoint& q) {
    return p.x * dx + p.y * dy + p.z * dz < q.x * dx + q.y * dy + q.z * dz;
  });
  for (const auto& [p, q] : ChordsInBothFaces(points, f, g, t))
    segments.push_back({p.x, p.y, p.z, q.x, q.y, q.z});
  return segments;
}

namespace {

// The directions from the last kept vertex along which the line to the next vertex may run
// so that every vertex dropped since stays within kStraightTolerance of it: an interval of
// angles measured from the direction to the first dropped vertex.
class Sleeve {
 public:
  void Restart(double fromX, double fromY) {
    fromX_ = fromX, fromY_ = fromY;
    started_ = false;
  }
  // Whether the vertex (x, y) may go with the next vertex (nx, ny): it, and every vertex
  // taken before it, lie close enough to the line from the last kept vertex to the next.
  // Taken, the vertex narrows the sleeve.
  bool Take(double x, double y, double nx, double ny) {
    const double dx = x - fromX_, dy = y - fromY_, reach = std::hypot(dx, dy);
    if (!started_) {
      if (!(reach > 0.0)) return false;
      refX_ = dx / reach, refY_ = dy / reach, lo_ = -kUnionPi, hi_ = kUnionPi;
    }
    double lo = lo_, hi = hi_;
    if (reach > kStraightTolerance) {
      const double at = Angle(dx, dy), half = std::asin(kStraightTolerance / reach);
      lo = std::max(lo, at - half), hi = std::min(hi, at + half);
    }
    const double tx = nx - fromX_, ty = ny - fromY_;
    if (!(std::hypot(tx, ty) > kStraightTolerance)) return false;
    const double towards = Angle(tx, ty);
    if (!(lo <= towards && towards <= hi)) return false;
    started_ = true, lo_ = lo, hi_ = hi;
    return true;
  }

 private:
  double Angle(double dx, double dy) const {
    return std::atan2(refX_ * dy - refY_ * dx, refX_ * dx + refY_ * dy);
  }
  double fromX_ = 0.0, fromY_ = 0.0, refX_ = 1.0, refY_ = 0.0, lo_ = 0.0, hi_ = 0.0;
  bool started_ = false;
};

}  // namespace

int RemoveCollinearVertices(const double x[], const double y[], int n, int mode, double outX[],
                            double outY[]) {
  if (n < 1) return 0;
  std::vector<bool> drop(n + 1, false);
  auto straightAt = [&](int prev, int at, int next) {
    const double toVertex = LineAngle(x[prev], y[prev], x[at], y[at]);
    const double toNext = LineAngle(x[prev], y[prev], x[next], y[next]);
    return std::fabs(toVertex - toNext) < kQuarterDegree;
  };
  const bool closed = mode > 10000;
  if (closed && n >= 3) {  // a closed ring, such as code 10001
    for (int i = 2; i <= n; ++i) drop[i] = straightAt(i - 1, i, i == n ? 1 : i + 1);
    drop[1] = straightAt(n, 1, 2);
  } else if (!closed) {
    for (int i = 2; i <= n - 1; ++i) drop[i] = straightAt(i - 1, i, i + 1);
  }
  // The angle alone would take a long thin sliver (a 0.25 degree turn is 30 mm over 7 m) or
  // a finely drawn curve with it: a vertex goes only while the vertices dropped since the
  // last kept one stay within the tolerance of the line from that one to the next. The walk
  // starts at a kept vertex (a ring that turns less than the angle at every corner keeps its
  // first).
  int start = 1;
  if (closed)
    while (start < n && drop[start]) ++start;
  drop[start] = false;
  Sleeve sleeve;
  sleeve.Restart(x[start], y[start]);
  const int steps = closed ? n - 1 : n - 2;
  for (int k = 1; k <= steps; ++k) {
    const int i = closed ? (start - 1 + k) % n + 1 : k + 1;
    const int next = i % n + 1;
    if (drop[i]) drop[i] = sleeve.Take(x[i], y[i], x[next], y[next]);
    if (!drop[i]) sleeve.Restart(x[i], y[i]);
  }
  int kept = 0;
  for (int i = 1; i <= n; ++i)
    if (!drop[i]) ++kept;
  // A ring never goes below three corners: then it keeps them all.
  const bool keepAll = closed && kept < 3;
  kept = 0;
  for (int i = 1; i <= n; ++i) {
    if (drop[i] && !keepAll) continue;
    ++kept;
    outX[kept] = x[i];
    outY[kept] = y[i];
  }
  return kept;
}

namespace {

// An edge moved sideways: its moved midpoint, its direction and the line through the moved
// midpoint (555.0 vertical, 666.0 horizontal, otherwise slope and intercept).
struct MovedEdge {
  double mx, my, theta, slope, intercept;
};

MovedEdge MoveEdge(double xa, double ya, double xb, double yb, double d) {
  MovedEdge e{};
  e.theta = LineAngle(xa, ya, xb, yb);
  e.mx = (xa + xb) / 2 - d * std::sin(e.theta);
  e.my = (ya + yb) / 2 + d * std::cos(e.theta);
  const double dx = xb - xa, dy = yb - ya;
  const bool vertical = std::fabs(dx) <= 0.01;
  const bool horizontal = std::fabs(dy) <= 0.01;
  if (vertical) e.slope = kVerticalSlope;
  if (horizontal) e.slope = kHorizontalSlope;
  if (!vertical && !horizontal) {
    e.slope = dy / dx;
    e.intercept = e.my - e.slope * e.mx;
  }
  return e;
}

}  // namespace

void OffsetRingForUnion(const double x[], const double y[], int n, double d, double outX[],
                        double outY[]) {
  if (n < 2) {
    for (int i = 1; i <= n; ++i) outX[i] = x[i], outY[i] = y[i];
    return;
  }
  // Edge k runs from vertex k to vertex k + 1, the ring closed by vertices 1 and 2 again.
  auto at = [n](int k) { return (k - 1) % n + 1; };
  std::vector<MovedEdge> edges(static_cast<size_t>(n) + 2);
  for (int k = 1; k <= n + 1; ++k)
    edges[k] = MoveEdge(x[at(k)], y[at(k)], x[at(k + 1)], y[at(k + 1)], d);

  for (int k = 1; k <= n; ++k) {
    const MovedEdge& e1 = edges[k];
    const MovedEdge& e2 = edges[k + 1];
    const bool v1 = e1.slope == kVerticalSlope, h1 = e1.slope == kHorizontalSlope;
    const bool v2 = e2.slope == kVerticalSlope, h2 = e2.slope == kHorizontalSlope;
    double X, Y;
    if (std::fabs(e1.slope - e2.slope) <= 0.01) {
      X = x[at(k + 1)] - d * std::sin(e2.theta);
      Y = y[at(k + 1)] + d * std::cos(e2.theta);
    } else if (v1 && h2) {
      X = e1.mx, Y = e2.my;
    } else if (h1 && v2) {
      X = e2.mx, Y = e1.my;
    } else if (v1) {
      X = e1.mx, Y = e2.slope * X + e2.intercept;
    } else if (v2) {
      X = e2.mx, Y = e1.slope * X + e1.intercept;
    } else if (h1) {
      Y = e1.my, X = (Y - e2.intercept) / e2.slope;
    } else if (h2) {
      Y = e2.my, X = (Y - e1.intercept) / e1.slope;
    } else {
      X = (e2.intercept - e1.intercept) / (e1.slope - e2.slope);
      Y = (e2.intercept * e1.slope - e2.slope * e1.intercept) / (e1.slope - e2.slope);
    }
    // New vertex k + 1; new vertex n + 1 is new vertex 1.
    outX[at(k + 1)] = X, outY[at(k + 1)] = Y;
  }
}
