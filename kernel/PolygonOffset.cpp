// The polygon offset: plane frame, raw offset ring, cutting away what folds over or comes
// too close to the polygon, tracing the rest into loops and turning them back.
#include "PolygonOffset.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "KernelConstants.h"
#include "KernelPrimitives.h"
#include "KernelWorkArrays.h"
#include "LoopTracing.h"
#include "OffsetLoopTracing.h"
#include "PathWinding.h"
#include "SegmentSplitting.h"
#include "UniformGrid.h"

using namespace kernel;

namespace {

// Where a segment of the offset's lists comes from; the splitter copies it onto the pieces.
constexpr float kInputEdgeMark = 1.0f;
constexpr float kOffsetEdgeMark = 2.0f;
constexpr float kCapMark = 3.0f;
// The first and last offset edge of an open polyline: never cut away by the clearance tests.
constexpr float kEndOffsetEdgeMark = 99.0f;
// An offset edge that runs against its polygon edge: the neighbouring corners have passed
// each other, so the edge bounds a fold (such as the spike over a notch that growing has
// closed) and none of it belongs to the offset.
constexpr float kInvertedOffsetEdgeMark = 4.0f;

constexpr int kMaxPoints = kOffsetPointEntries - 1;
// Pieces this close in every coordinate are copies of one another (the splitter's tolerance,
// held in single precision).
constexpr float kCopyReach = 0.01f;
// A point this near the straight way between its neighbours is no corner of a loop.
constexpr double kOnTheWay = 1e-6;
// Corners of a loop closer than this are one. Where a finely drawn curve is shrunk a short
// way, the moved edges at each corner overlap by a fraction of a millimetre, the winding
// beside the short stretch from the end of one moved edge to their crossing is sampled on
// the wrong side of the other, and the loop took that end for a corner too (0.1 to 0.26 mm
// from the crossing): a circle of 500 points 20 m across shrunk by 10 mm came back with 763
// corners, and one of 4,000 points 200 m across shrunk by 100 mm needed more points than the
// callers' arrays hold and gave no loop.
constexpr double kCornerMerge = 0.5;
// Below this sine of the angle at a spike's tip (about half a degree), with its sides within
// kCornerMerge of each other, the spike is a needle. No wall turns back that sharply; a
// sliver left where two sides meet at the distance comes to a tip finer than a thousandth.
constexpr double kNeedleSine = 0.01;
constexpr int kMaxLoops = kOffsetLoopEntries - 1;

// ----- raw offset ring -----

// Direction of an edge turned into a unit vector.
struct Direction {
  double angle, cosA, sinA;
  explicit Direction(double a) : angle(a), cosA(std::cos(a)), sinA(std::sin(a)) {}
};

// The point moved by d along the left normal of the direction angle a.
void MoveLeft(double px, double py, double a, double d, double* ox, double* oy) {
  *ox = px + d * -std::sin(a);
  *oy = py + d * std::cos(a);
}

// The midpoint of the edge (x1, y1)-(x2, y2) moved by d to its left; the half length is the
// edge turned onto the x axis about its start.
void OffsetMidpoint(double x1, double y1, double x2, double y2, double d, double* mx,
                    double* my) {
  const Direction dir(LineAngle(x1, y1, x2, y2));
  const double turnedX = (x2 - x1) * std::cos(-dir.angle) - (y2 - y1) * std::sin(-dir.angle);
  const double h = turnedX / 2;
  *mx = x1 + h * dir.cosA + d * -dir.sinA;
  *my = y1 + h * dir.sinA + d * dir.cosA;
}

// An edge's moved line: its slope with what kind of line it is (upright when the x extent
// is at most 0.01, level when the y extent is, which wins), the intercept through the offset
// midpoint m, and the exact line (the edge moved by d along its own normal) that the
// corners are checked against. The kind sits beside the slope, so a sloped edge whose slope
// happens to be 555 or 666 stays sloped.
struct MovedLine {
  enum Kind { Sloped, Upright, Level } kind = Sloped;
  double k = 0.0, b = 0.0;
  double mx = 0.0, my = 0.0;  // offset midpoint
  double px = 0.0, py = 0.0;  // the edge's start moved by d along its normal
  double ux = 0.0, uy = 0.0;  // unit direction of the edge (0, 0 for a point)

  // Distance of a point from the exact moved line.
  double Off(double x, double y) const { return std::fabs((x - px) * uy - (y - py) * ux); }
};

MovedLine LineThrough(double x1, double y1, double x2, double y2, double d) {
  MovedLine line;
  OffsetMidpoint(x1, y1, x2, y2, d, &line.mx, &line.my);
  const double dx = x2 - x1, dy = y2 - y1;
  const double length = std::hypot(dx, dy);
  if (length > 0.0) line.ux = dx / length, line.uy = dy / length;
  line.px = x1 - d * line.uy, line.py = y1 + d * line.ux;
  const bool vertical = std::fabs(dx) <= 0.01, horizontal = std::fabs(dy) <= 0.01;
  if (horizontal) {
    line.kind = MovedLine::Level;
  } else if (vertical) {
    line.kind = MovedLine::Upright;
  } else {
    line.k = dy / dx;
    line.b = line.my - line.mx * line.k;
  }
  return line;
}

// Lines the slope form takes as parallel: both upright, both level, or slopes within 0.01.
bool SlopesParallel(const MovedLine& l1, const MovedLine& l2) {
  if (l1.kind != l2.kind) return false;
  return l1.kind != MovedLine::Sloped || std::fabs(l1.k - l2.k) < 0.01;
}

// The corner where the moved lines of two neighbouring edges meet, from their slopes.
void CornerOfSlopes(const MovedLine& l1, const MovedLine& l2, double* X, double* Y) {
  const double k1 = l1.k, b1 = l1.b, k2 = l2.k, b2 = l2.b;
  using K = MovedLine::Kind;
  if (l1.kind == K::Upright && l2.kind == K::Level) {
    *X = l1.mx, *Y = l2.my;
  } else if (l1.kind == K::Level && l2.kind == K::Upright) {
    *X = l2.mx, *Y = l1.my;
  } else if (l2.kind == K::Level) {
    *Y = l2.my, *X = (*Y - b1) / k1;
  } else if (l1.kind == K::Level) {
    *Y = l1.my, *X = (*Y - b2) / k2;
  } else if (l2.kind == K::Upright) {
    *X = l2.mx, *Y = *X * k1 + b1;
  } else if (l1.kind == K::Upright) {
    *X = l1.mx, *Y = *X * k2 + b2;
  } else {
    *X = (b2 - b1) / (k1 - k2);
    *Y = (b2 * k1 - k2 * b1) / (k1 - k2);
  }
}

// How far a corner may lie from either exact moved line: the tolerance that lets an edge
// count as upright or level.
constexpr double kCornerSlack = 0.01;
// Below this sine of the turn between two edges their moved lines meet nowhere useful: the
// corner is the vertex moved along the normal.
constexpr double kParallelSine = 1e-12;

// The corner at the vertex (vx, vy) between edge 1 and edge 2: from the slopes, or, when
// the slopes call the lines parallel or put the corner off the lines (a near-parallel pair
// at a large distance, a nearly upright edge beside a steep one), at the true crossing of
// the two moved lines. Lines that truly run parallel (or back on themselves) give the
// vertex moved by d along the normal of edge 2 (angle a2).
void Corner(const MovedLine& l1, const MovedLine& l2, double vx, double vy, double a2, double d,
            double* X, double* Y) {
  const bool parallel = SlopesParallel(l1, l2);
  if (parallel) {
    MoveLeft(vx, vy, a2, d, X, Y);
  } else {
    CornerOfSlopes(l1, l2, X, Y);
  }
  const bool onBoth = std::isfinite(*X) && std::isfinite(*Y) &&
                      l1.Off(*X, *Y) <= kCornerSlack && l2.Off(*X, *Y) <= kCornerSlack;
  if (onBoth) return;
  const double sine = l1.ux * l2.uy - l1.uy * l2.ux;
  if (std::fabs(sine) <= kParallelSine) {
    MoveLeft(vx, vy, a2, d, X, Y);
    return;
  }
  const double t = ((l2.px - l1.px) * l2.uy - (l2.py - l1.py) * l2.ux) / sine;
  *X = l1.px + t * l1.ux;
  *Y = l1.py + t * l1.uy;
}

// The raw offset ring in any precision, worked out in double (see OffsetPolygonEdges).
template <typename Real>
void OffsetEdges(Real x[], Real y[], int n, int mode, double d, Real offsetX[], Real offsetY[]) {
  const bool closed = mode == kOffsetClosedMode;
  if (closed) {
    x[n + 1] = x[1], y[n + 1] = y[1];
    x[n + 2] = x[2], y[n + 2] = y[2];
  }
  const int edges = closed ? n + 1 : n - 1;
  std::vector<MovedLine> lines(edges + 1);
  for (int i = 1; i <= edges; ++i) lines[i] = LineThrough(x[i], y[i], x[i + 1], y[i + 1], d);

  // The corner at vertex i + 1 joins edge i and edge i + 1.
  const int corners = closed ? n : n - 2;
  for (int i = 1; i <= corners; ++i) {
    double X = 0.0, Y = 0.0;
    Corner(lines[i], lines[i + 1], x[i + 1], y[i + 1],
           LineAngle(x[i + 1], y[i + 1], x[i + 2], y[i + 2]), d, &X, &Y);
    offsetX[i + 1] = static_cast<Real>(X);
    offsetY[i + 1] = static_cast<Real>(Y);
  }
  if (closed) {
    offsetX[1] = offsetX[n + 1], offsetY[1] = offsetY[n + 1];
  } else {
    double X = 0.0, Y = 0.0;
    MoveLeft(x[1], y[1], LineAngle(x[1], y[1], x[2], y[2]), d, &X, &Y);
    offsetX[1] = static_cast<Real>(X), offsetY[1] = static_cast<Real>(Y);
    MoveLeft(x[n], y[n], LineAngle(x[n - 1], y[n - 1], x[n], y[n]), d, &X, &Y);
    offsetX[n] = static_cast<Real>(X), offsetY[n] = static_cast<Real>(Y);
  }
}

// ----- segment lists -----

// A 1-based segment list with one origin mark per segment.
struct Segments {
  std::vector<double> x1{0.0}, y1{0.0}, x2{0.0}, y2{0.0};
  std::vector<float> mark{0.0f};

  int Count() const { return static_cast<int>(x1.size()) - 1; }
  void Reserve(int count) {
    const size_t size = static_cast<size_t>(count) + 1;
    x1.reserve(size), y1.reserve(size), x2.reserve(size), y2.reserve(size), mark.reserve(size);
  }
  void Add(double ax, double ay, double bx, double by, float m) {
    x1.push_back(ax), y1.push_back(ay), x2.push_back(bx), y2.push_back(by), mark.push_back(m);
  }
  void AddFrom(const Segments& other, int i) {
    Add(other.x1[i], other.y1[i], other.x2[i], other.y2[i], other.mark[i]);
  }
  // The segments for which drop is false, in order.
  template <typename Drop>
  Segments Without(Drop drop) const {
    Segments kept;
    kept.Reserve(Count());
    for (int i = 1; i <= Count(); ++i)
      if (!drop(i)) kept.AddFrom(*this, i);
    return kept;
  }
};

// Every segment cut at every crossing with another, later copies of a piece dropped.
Segments SplitAll(const Segments& in) {
  std::vector<SplitPiece> list;
  list.reserve(in.Count());
  for (int i = 1; i <= in.Count(); ++i)
    list.push_back({in.x1[i], in.y1[i], in.x2[i], in.y2[i], in.mark[i]});
  const std::vector<SplitPiece> pieces = SplitSegmentList(1, list);
  Segments out;
  out.Reserve(static_cast<int>(pieces.size()));
  for (const SplitPiece& g : pieces) out.Add(g.x1, g.y1, g.x2, g.y2, g.attr);
  return out;
}

// ----- clearance tests -----

// The flat polygon P (1-based, n points) with its edge count.
struct FlatPolygon {
  std::vector<double> x, y;
  int n = 0;
  int edges = 0;
  double X(int i) const { return x[i]; }
  double Y(int i) const { return y[i]; }
  int Next(int i) const { return i == n ? 1 : i + 1; }
};

// An input edge turned onto the x axis about its start.
struct TurnedEdge {
  double ox, oy, cosT, sinT, endX;
  TurnedEdge(double x1, double y1, double x2, double y2) : ox(x1), oy(y1) {
    const double a = LineAngle(x1, y1, x2, y2);
    cosT = std::cos(-a), sinT = std::sin(-a);
    endX = ox + (x2 - ox) * cosT - (y2 - oy) * sinT;
  }
  double TurnX(double px, double py) const { return ox + (px - ox) * cosT - (py - oy) * sinT; }
  double TurnY(double px, double py) const { return oy + (px - ox) * sinT + (py - oy) * cosT; }
};

// Whether the point lies in the band closer than c to the edge's line, within the edge's
// length widened by 0.1 at both ends.
bool InEdgeBand(const TurnedEdge& e, double px, double py, double c) {
  const double tx = e.TurnX(px, py), ty = e.TurnY(px, py);
  if (!(std::fabs(ty - e.oy) < c)) return false;
  return (e.ox - 0.1 < tx && tx < e.endX + 0.1) || (e.endX - 0.1 < tx && tx < e.ox + 0.1);
}

// The polygon's points and edges in grids, so that each clearance test looks only at what
// lies within its reach (the clearance plus the 0.1 end allowance).
class Clearance {
 public:
  Clearance(const FlatPolygon& p, double c) : p_(p), c_(c), reach_(c + 0.2) {
    std::vector<GridBox> points, edges;
    for (int k = 1; k <= p.n; ++k) points.push_back({p.X(k), p.Y(k), p.X(k), p.Y(k)});
    for (int j = 1; j <= p.edges; ++j) {
      const int next = p.Next(j);
      edges.push_back(GridBox::Around(p.X(j), p.Y(j), p.X(next), p.Y(next)));
      turned_.emplace_back(p.X(j), p.Y(j), p.X(next), p.Y(next));
    }
    points_.Build(points);
    edges_.Build(edges);
  }

  // Whether a piece end lies closer than c to any point of P.
  bool NearAVertex(double px, double py) const {
    return points_.Any(GridBox::Around(px, py, px, py, reach_), [&](int q) {
      const double dx = px - p_.X(q + 1), dy = py - p_.Y(q + 1);
      return std::sqrt(dx * dx + dy * dy) < c_;
    });
  }

  // Whether a piece end lies in the band of any edge of P.
  bool InAnEdgeBand(double px, double py) const {
    return edges_.Any(GridBox::Around(px, py, px, py, reach_),
                      [&](int e) { return InEdgeBand(turned_[e], px, py, c_); });
  }

  // Whether a point of P lies closer than c to the piece's line, within the piece widened
  // by 0.1 at both ends. The piece is turned only once a point lies within reach.
  bool VertexOverPiece(double sx, double sy, double ex, double ey) const {
    std::optional<TurnedEdge> piece;
    return points_.Any(GridBox::Around(sx, sy, ex, ey, reach_), [&](int q) {
      if (!piece) piece.emplace(sx, sy, ex, ey);
      const double tx = piece->TurnX(p_.X(q + 1), p_.Y(q + 1));
      const double ty = piece->TurnY(p_.X(q + 1), p_.Y(q + 1));
      return std::fabs(ty - sy) < c_ && sx - 0.1 < tx && tx < piece->endX + 0.1;
    });
  }

 private:
  const FlatPolygon& p_;
  double c_, reach_;
  UniformGrid points_, edges_;
  std::vector<TurnedEdge> turned_;
};

// The three clearance tests: a piece goes when either end lies closer than c to a point of
// P or in the band of an edge, or when a point of P lies over it. Each test looks at the
// piece alone, so one pass asks them in turn and stops at the first that flags it. A
// clearance of zero or less keeps everything: no distance is below it.
Segments KeepClearPieces(const FlatPolygon& p, Segments pieces, double c) {
  if (!(c > 0.0)) return pieces;
  const Clearance clear(p, c);
  return pieces.Without([&](int i) {
    if (pieces.mark[i] == kEndOffsetEdgeMark) return false;
    const double x1 = pieces.x1[i], y1 = pieces.y1[i], x2 = pieces.x2[i], y2 = pieces.y2[i];
    return clear.NearAVertex(x1, y1) || clear.NearAVertex(x2, y2) ||
           clear.InAnEdgeBand(x1, y1) || clear.InAnEdgeBand(x2, y2) ||
           clear.VertexOverPiece(x1, y1, x2, y2);
  });
}

// ----- joined ring -----

// A closed path of points 1..m, point m + 1 repeating point 1, with a flag per segment for
// those that only join two moved edges across a corner.
struct ClosedPath {
  std::vector<double> x{0.0}, y{0.0};
  std::vector<unsigned char> joins{0};
  void Reserve(int points) {
    const size_t size = static_cast<size_t>(points) + 1;
    x.reserve(size), y.reserve(size), joins.reserve(size);
  }
  void Add(double px, double py, bool join) { x.push_back(px), y.push_back(py), joins.push_back(join); }
  int Edges() const { return static_cast<int>(x.size()) - 2; }
};

// Two points the tracers take for one: they differ by less than this in x and in y.
constexpr double kSamePoint = 0.1;
// How far beside a piece its two sides are sampled: half the tracers' same-point tolerance,
// so ring edges that the tracers would take for one are counted together.
constexpr double kSideStep = 0.05;
// Moved edges that overlap by less than this at a corner are joined at their crossing.
constexpr double kOverlapReach = 1e-3;
// A closed ring's pieces bounding less area than this (a square of the tracers' tolerance)
// bound nothing; more, and the ring is not answered with nothing left.
constexpr double kTinyArea = kSamePoint * kSamePoint;
// How much nearer the ring its offset is taken again when the pieces at the distance bound
// area but no loop comes back: strips of no width widen by twice this, above the tracers'
// tolerance.
constexpr double kTieStep = kSamePoint;

// ----- plane frame and output -----

// The polygon's plane frame: origin at input point 1, turned by a1 about z, then by a2 in
// the xz plane.
struct PlaneFrame {
  double a1 = 0.0, a2 = 0.0;
  double x0 = 0.0, y0 = 0.0, z0 = 0.0;

  void ToWorld(double X, double Y, float* x, float* y, float* z) const {
    const double c1 = std::cos(-a1), s1 = std::sin(-a1), c2 = std::cos(-a2), s2 = std::sin(-a2);
    *x = static_cast<float>(X * c2 * c1 - Y * s1 + x0);
    *y = static_cast<float>(X * c2 * s1 + Y * c1 + y0);
    *z = static_cast<float>(X * s2 + z0);
  }
};

// The caller's result arrays, filled loop by loop within their capacities.
// Whether b lies on the way from a to c (within a micrometre of it, between them).
bool OnTheWay(double ax, double ay, double bx, double by, double cx, double cy) {
  const double ux = cx - ax, uy = cy - ay, vx = bx - ax, vy = by - ay;
  const double off = ux * vy - uy * vx;
  return off * off <= kOnTheWay * kOnTheWay * (ux * ux + uy * uy) &&
         vx * (cx - bx) + vy * (cy - by) >= 0.0;
}

// Whether the loop, coming from a to b and going on to c, turns straight back at b along a
// needle: a spike whose sides stay within kCornerMerge of each other (the nearer of a and c
// lies that close to the line of the other side) and meet at b at less than the needle's
// angle. Where sides meet at the distance and cross at a shallow angle (a corridor shrunk by
// half its width, its sides a hair off parallel), what is left between them is such a
// sliver, metres long and tenths of a millimetre wide, and no part of the loop.
bool NeedleTip(double ax, double ay, double bx, double by, double cx, double cy) {
  const double ux = ax - bx, uy = ay - by, vx = cx - bx, vy = cy - by;
  if (!(ux * vx + uy * vy > 0.0)) return false;
  const double u = std::hypot(ux, uy), v = std::hypot(vx, vy);
  const double cross = std::fabs(ux * vy - uy * vx);
  return cross < kCornerMerge * std::max(u, v) && cross < kNeedleSine * u * v;
}

// The points 1..size of a closed list (1-based x, y) into kx, ky (1-based), less every point
// b that goes(a, b, c) says goes between its kept neighbours a and c, as long as more than
// fewest points are left where the list closes.
template <typename Goes>
void KeepPoints(const double x[], const double y[], int size, size_t fewest, Goes goes,
                std::vector<double>& kx, std::vector<double>& ky) {
  kx.assign(1, 0.0), ky.assign(1, 0.0);
  auto between = [&](size_t a, size_t b, double px, double py) {
    return goes(kx[a], ky[a], kx[b], ky[b], px, py);
  };
  for (int p = 1; p <= size; ++p) {
    while (kx.size() >= 3 && between(kx.size() - 2, kx.size() - 1, x[p], y[p]))
      kx.pop_back(), ky.pop_back();
    kx.push_back(x[p]), ky.push_back(y[p]);
  }
  // Where the list closes: the last point, then the first.
  for (bool cut = true; cut && kx.size() > fewest + 1;) {
    if ((cut = between(kx.size() - 2, kx.size() - 1, kx[1], ky[1]))) {
      kx.pop_back(), ky.pop_back();
    } else if ((cut = between(kx.size() - 1, 1, kx[2], ky[2]))) {
      kx.erase(kx.begin() + 1), ky.erase(ky.begin() + 1);
    }
  }
}

// The points 1..size of a loop (1-based x, y) less those on the way between their
// neighbours, into cx, cy (1-based): cuts in a straight side of the offset leave no corner.
void Corners(const double x[], const double y[], int size, std::vector<double>& cx,
             std::vector<double>& cy) {
  KeepPoints(x, y, size, 3, OnTheWay, cx, cy);
}

// The crossing of the line through a and b with the line through c and d; false when they
// are parallel.
bool LinesCross(double ax, double ay, double bx, double by, double cx, double cy, double dx,
                double dy, double* X, double* Y) {
  const double ux = bx - ax, uy = by - ay, vx = dx - cx, vy = dy - cy;
  const double cross = ux * vy - uy * vx;
  if (!(std::fabs(cross) > 0.0)) return false;
  const double t = ((cx - ax) * vy - (cy - ay) * vx) / cross;
  *X = ax + t * ux, *Y = ay + t * uy;
  return std::isfinite(*X) && std::isfinite(*Y);
}

// The corners of a loop (1-based cx, cy) with every run of corners within kCornerMerge of
// the run's first made one: the crossing of the sides that come into the run and leave it,
// where that lies within kCornerMerge of the run's corners, else their middle. A loop all of
// whose corners lie that close together, or that would keep fewer than three, stays as it is.
void MergeNearCorners(std::vector<double>& cx, std::vector<double>& cy) {
  const int m = static_cast<int>(cx.size()) - 1;
  if (m < 4) return;
  auto at = [m](int i) { return (i - 1 + 2 * m) % m + 1; };  // cyclic, 1-based
  auto close = [&](int i, int j) { return std::hypot(cx[j] - cx[i], cy[j] - cy[i]) < kCornerMerge; };
  int start = 1;
  while (start <= m && close(at(start - 1), start)) ++start;
  if (start > m) return;
  std::vector<double> mx{0.0}, my{0.0};
  for (int i = start; i < start + m;) {
    int j = i;  // the run is i..j
    while (j + 1 < start + m && close(at(i), at(j + 1))) ++j;
    double X = cx[at(i)], Y = cy[at(i)];
    if (j > i) {
      double sx = 0.0, sy = 0.0;
      for (int k = i; k <= j; ++k) sx += cx[at(k)], sy += cy[at(k)];
      const int b = at(i - 1), f = at(i), l = at(j), a = at(j + 1);
      bool near = LinesCross(cx[b], cy[b], cx[f], cy[f], cx[l], cy[l], cx[a], cy[a], &X, &Y);
      for (int k = i; k <= j && near; ++k) near = std::hypot(X - cx[at(k)], Y - cy[at(k)]) < kCornerMerge;
      if (!near) X = sx / (j - i + 1), Y = sy / (j - i + 1);
    }
    mx.push_back(X), my.push_back(Y);
    i = j + 1;
  }
  if (mx.size() < 4) return;
  cx = std::move(mx), cy = std::move(my);
}

// The corners of a loop (1-based cx, cy) less its needles: each tip goes, then each corner
// that is the tip of what is left of the needle. True when a needle was cut.
bool CutNeedles(std::vector<double>& cx, std::vector<double>& cy) {
  std::vector<double> kx, ky;
  KeepPoints(cx.data(), cy.data(), static_cast<int>(cx.size()) - 1, 2, NeedleTip, kx, ky);
  const bool cut = kx.size() < cx.size();
  cx = std::move(kx), cy = std::move(ky);
  return cut;
}

// The corners of a traced loop (points 1..size of x, y) into cx, cy (1-based): none on the
// way between its neighbours, none within kCornerMerge of the next, and, with cutNeedles,
// no needle (the two corners a needle's base leaves, a hair apart, are then made one). False
// when nothing is left of the loop but needles.
bool LoopCorners(const double x[], const double y[], int size, bool cutNeedles,
                 std::vector<double>& cx, std::vector<double>& cy) {
  Corners(x, y, size, cx, cy);
  MergeNearCorners(cx, cy);
  if (!cutNeedles || !CutNeedles(cx, cy)) return true;
  if (cx.size() < 4) return false;
  const std::vector<double> nx = std::move(cx), ny = std::move(cy);
  Corners(nx.data(), ny.data(), static_cast<int>(nx.size()) - 1, cx, cy);
  MergeNearCorners(cx, cy);
  return true;
}

class LoopWriter {
 public:
  LoopWriter(const PlaneFrame& frame, int* loopCount, std::int16_t counts[], std::int16_t codes[],
             float outX[], float outY[], float outZ[])
      : frame_(frame),
        loopCount_(loopCount),
        counts_(counts),
        codes_(codes),
        outX_(outX),
        outY_(outY),
        outZ_(outZ) {}

  int Loops() const { return *loopCount_; }
  int LoopsLeft() const { return kMaxLoops - *loopCount_; }
  int PointsLeft() const { return kMaxPoints - written_; }

  // Appends one loop of plane-frame points (1-based x, y, size points); false when it
  // does not fit.
  bool Add(int code, const double x[], const double y[], int size) {
    if (LoopsLeft() < 1 || PointsLeft() < size) return false;
    ++*loopCount_;
    counts_[*loopCount_] = static_cast<std::int16_t>(size);
    codes_[*loopCount_] = static_cast<std::int16_t>(code);
    for (int p = 1; p <= size; ++p) {
      ++written_;
      frame_.ToWorld(x[p], y[p], &outX_[written_], &outY_[written_], &outZ_[written_]);
    }
    return true;
  }

  // Appends every loop of a loop list (sizes and points 1-based, loops back to back), each
  // without the points that lie on the straight way between their neighbours.
  bool AddAll(int count, const std::vector<std::int16_t>& sizes, const double x[],
              const double y[]) {
    int at = 0;
    std::vector<double> cx{0.0}, cy{0.0};
    for (int l = 1; l <= count; ++l) {
      const bool kept = LoopCorners(x + at, y + at, sizes[l], cutNeedles_, cx, cy);
      at += sizes[l];
      if (kept && !Add(kClosedLoopCode, cx.data(), cy.data(), static_cast<int>(cx.size()) - 1)) return false;
    }
    return true;
  }

  void Refuse() { *loopCount_ = 0; }

  // From now on loops are written with their needles: a strip too thin to trace, offset a
  // hair nearer the ring, is all needle.
  void KeepNeedles() { cutNeedles_ = false; }

 private:
  const PlaneFrame& frame_;
  int* loopCount_;
  std::int16_t* counts_;
  std::int16_t* codes_;
  float* outX_;
  float* outY_;
  float* outZ_;
  int written_ = 0;
  bool cutNeedles_ = true;
};

// Loops traced by one of the tracers into room for what the caller can still take. The
// point arrays are left unset: the tracers write every point before it is read, and
// clearing room for thousands of points would cost a small ring more than its offset.
struct TracedLoops {
  int count = 0;
  std::vector<std::int16_t> sizes;
  std::unique_ptr<double[]> x, y;
  TracedLoops(int loopRoom, int pointRoom)
      : sizes(static_cast<size_t>(loopRoom) + 1, 0),
        x(std::make_unique_for_overwrite<double[]>(static_cast<size_t>(pointRoom) + 1)),
        y(std::make_unique_for_overwrite<double[]>(static_cast<size_t>(pointRoom) + 1)) {}
  int Points() const {
    int total = 0;
    for (int l = 1; l <= count; ++l) total += sizes[l];
    return total;
  }
};

bool UsableInput(int n, int mode, const float x[], const float y[], const float z[],
                 const float* distance) {
  if (mode != kOffsetClosedMode && mode != kOffsetOpenMode) return false;
  const int fewest = mode == kOffsetClosedMode ? 3 : 2;
  if (n < fewest || n > kMaxPoints) return false;
  if (!x || !y || !z || !distance || !std::isfinite(*distance)) return false;
  for (int i = 1; i <= n; ++i)
    if (!std::isfinite(x[i]) || !std::isfinite(y[i]) || !std::isfinite(z[i])) return false;
  return true;
}

// The input points (1-based) less every point that repeats the one before it, and for a
// ring a last point that repeats the first: an edge of no length has no direction to be
// moved along.
struct InputPoints {
  std::vector<float> x{0.0f}, y{0.0f}, z{0.0f};
  int Count() const { return static_cast<int>(x.size()) - 1; }
};

InputPoints WithoutRepeats(int n, bool closed, const float x[], const float y[], const float z[]) {
  InputPoints points;
  for (int i = 1; i <= n; ++i) {
    const int last = points.Count();
    if (last > 0 && x[i] == points.x[last] && y[i] == points.y[last] && z[i] == points.z[last])
      continue;
    points.x.push_back(x[i]), points.y.push_back(y[i]), points.z.push_back(z[i]);
  }
  const int last = points.Count();
  if (closed && last > 1 && points.x[last] == points.x[1] && points.y[last] == points.y[1] &&
      points.z[last] == points.z[1])
    points.x.pop_back(), points.y.pop_back(), points.z.pop_back();
  return points;
}

// The polygon turned into its plane frame about point 1 (x, y, z are 1-based floats), kept
// in double: far from point 1 a float cannot hold the tracers' 0.1.
FlatPolygon ToPlaneFrame(int n, bool closed, const float x[], const float y[], const float z[],
                         PlaneFrame* frame) {
  frame->x0 = x[1], frame->y0 = y[1], frame->z0 = z[1];
  std::vector<double> dx(n + 1), dy(n + 1), dz(n + 1);
  for (int i = 1; i <= n; ++i) dx[i] = x[i], dy[i] = y[i], dz[i] = z[i];
  PolygonPlaneAngles(dx[1], dy[1], dz[1], dx.data(), dy.data(), dz.data(), n, &frame->a1,
                     &frame->a2);
  const double c1 = std::cos(frame->a1), s1 = std::sin(frame->a1);
  const double c2 = std::cos(frame->a2), s2 = std::sin(frame->a2);
  FlatPolygon p;
  p.n = n;
  p.edges = closed ? n : n - 1;
  // Two spare entries: the raw ring's closed mode wraps points 1 and 2 past point n.
  p.x.assign(n + 3, 0.0), p.y.assign(n + 3, 0.0);
  for (int i = 1; i <= n; ++i) {
    const double xr = dx[i] * c1 - dy[i] * s1;
    const double yr = dx[i] * s1 + dy[i] * c1;
    p.x[i] = xr * c2 - dz[i] * s2;
    p.y[i] = yr;
  }
  return p;
}

// The moved edges of a closed ring joined into one path. Where the moved edges of a corner
// leave a gap between them, they are joined at the crossing of their lines (or, where the
// lines run parallel, at the vertex moved along the normal of the second edge); where they
// run over each other (the corner turns towards the side they moved to), the path goes from
// the end of the first through the vertex itself to the start of the second. Where the ring
// turns straight back (a corner recorded twice a hair apart along its side), the moved edges
// lie on either side of it and their lines never meet: they are joined by a square cap the
// distance beyond the vertex, as a mitre limited there would end. The offset is then where
// this path winds around at least once: the path keeps enough of every moved edge that the
// neighbours of an edge that vanishes still cross, so they meet where their own lines do.
ClosedPath JoinedRing(const FlatPolygon& p, double d) {
  const int n = p.n;
  auto unit = [&](int i, double* ux, double* uy) {
    const int j = p.Next(i);
    const double dx = p.X(j) - p.X(i), dy = p.Y(j) - p.Y(i), length = std::hypot(dx, dy);
    *ux = length > 0.0 ? dx / length : 0.0, *uy = length > 0.0 ? dy / length : 0.0;
  };
  ClosedPath path;
  path.Reserve(4 * n + 1);
  for (int v = 1; v <= n; ++v) {
    const int before = v == 1 ? n : v - 1;
    double u1x = 0, u1y = 0, u2x = 0, u2y = 0;
    unit(before, &u1x, &u1y), unit(v, &u2x, &u2y);
    const double turn = u1x * u2y - u1y * u2x;
    // The vertex moved along the normals of the edges before and after it.
    const double p1x = p.X(v) - d * u1y, p1y = p.Y(v) + d * u1x;
    const double p2x = p.X(v) - d * u2y, p2y = p.Y(v) + d * u2x;
    if (d * turn > kOverlapReach) {
      path.Add(p1x, p1y, true);
      path.Add(p.X(v), p.Y(v), true);
      path.Add(p2x, p2y, false);
    } else if (std::fabs(turn) <= kParallelSine && u1x * u2x + u1y * u2y < 0.0) {
      const double cap = std::fabs(d);
      path.Add(p1x, p1y, false);
      path.Add(p1x + cap * u1x, p1y + cap * u1y, false);
      path.Add(p2x + cap * u1x, p2y + cap * u1y, false);
      path.Add(p2x, p2y, false);
    } else if (std::fabs(turn) <= kParallelSine) {
      path.Add(p2x, p2y, false);
    } else {
      const double t = ((p2x - p1x) * u2y - (p2y - p1y) * u2x) / turn;
      path.Add(p1x + t * u1x, p1y + t * u1y, false);
    }
  }
  path.Add(path.x[1], path.y[1], false);
  return path;
}

// The pieces of a closed ring's offset, with the area they bound.
struct RingBoundary {
  Segments pieces;
  double area = 0.0;
};

// The pieces of a closed ring's offset: those of its joined path that bound where the path
// winds at least once in the polygon's own sense. The joins across corners only cut: every
// point of one lies nearer the corner's vertex than the distance, where no boundary runs.
// The area is measured before runs and knots are thinned: each piece has the region on its
// left (on its right for a clockwise polygon), so half the sum of their cross products is
// the region's area.
RingBoundary BoundaryOfJoinedRing(const FlatPolygon& p, const ClosedPath& joined) {
  double twiceArea = 0.0;
  for (int i = 1; i <= p.n; ++i) {
    const int j = p.Next(i);
    twiceArea += p.X(i) * p.Y(j) - p.X(j) * p.Y(i);
  }
  const int sense = twiceArea > 0.0 ? 1 : -1;
  std::vector<PathPiece> pieces =
      PathBoundaryPieces(joined.x, joined.y, joined.joins, sense, kSideStep);
  RingBoundary boundary;
  for (const PathPiece& piece : pieces) boundary.area += piece.x1 * piece.y2 - piece.x2 * piece.y1;
  boundary.area *= sense / 2.0;
  ThinRuns(pieces, kSamePoint);
  CollapseKnots(pieces, kSamePoint, kSideStep, kCornerMerge);
  boundary.pieces.Reserve(static_cast<int>(pieces.size()));
  for (const PathPiece& piece : pieces)
    boundary.pieces.Add(piece.x1, piece.y1, piece.x2, piece.y2, kOffsetEdgeMark);
  return boundary;
}

// The pieces of an open polyline's raw offset (1-based ox, oy), cut at every crossing with
// itself and the polyline; inverted edges cut the others but are dropped with the
// polyline's own edges.
Segments OpenOffsetPieces(const FlatPolygon& p, const std::vector<double>& ox,
                          const std::vector<double>& oy) {
  const int E = p.edges;
  Segments list;
  for (int i = 1; i <= E; ++i)
    list.Add(p.X(i), p.Y(i), p.X(p.Next(i)), p.Y(p.Next(i)), kInputEdgeMark);
  for (int i = 1; i <= E; ++i) {
    const int next = p.Next(i);
    const bool end = i == 1 || i == E;
    const double along = (ox[next] - ox[i]) * (p.X(next) - p.X(i)) +
                         (oy[next] - oy[i]) * (p.Y(next) - p.Y(i));
    const float mark = end           ? kEndOffsetEdgeMark
                       : along < 0.0 ? kInvertedOffsetEdgeMark
                                     : kOffsetEdgeMark;
    list.Add(ox[i], oy[i], ox[next], oy[next], mark);
  }
  const Segments pieces = SplitAll(list);
  return pieces.Without([&](int i) {
    return pieces.mark[i] == kInputEdgeMark || pieces.mark[i] == kInvertedOffsetEdgeMark;
  });
}

// The kept pieces of an open polyline as one list: start and end of every piece.
void WritePieceList(const Segments& kept, LoopWriter& writer) {
  std::vector<double> px{0.0}, py{0.0};
  for (int i = 1; i <= kept.Count(); ++i) {
    px.push_back(kept.x1[i]), py.push_back(kept.y1[i]);
    px.push_back(kept.x2[i]), py.push_back(kept.y2[i]);
  }
  if (!writer.Add(kOpenLoopCode, px.data(), py.data(), 2 * kept.Count())) writer.Refuse();
}

// The outside loops of the kept pieces (closed by the polyline and its end caps when open),
// then the loops closed by kept pieces that touch none of those loops. False when the loops
// do not fit the callers' arrays: the result is then refused whole.
bool TraceAndWriteLoops(const FlatPolygon& p, bool closed, const std::vector<double>& ox,
                        const std::vector<double>& oy, const Segments& kept, LoopWriter& writer) {
  const int n = p.n;
  Segments traceInput;
  traceInput.Reserve(kept.Count() + (closed ? 0 : n + 1));
  if (!closed) {
    for (int i = 1; i < n; ++i)
      traceInput.Add(p.X(i), p.Y(i), p.X(i + 1), p.Y(i + 1), kInputEdgeMark);
    traceInput.Add(p.X(1), p.Y(1), ox[1], oy[1], kCapMark);
    traceInput.Add(p.X(n), p.Y(n), ox[n], oy[n], kCapMark);
  }
  for (int i = 1; i <= kept.Count(); ++i) traceInput.AddFrom(kept, i);
  // A loop has at most one point per piece; the writer checks what is left of them fits.
  const int room = traceInput.Count() + 1;
  TracedLoops outside(room, room);
  if (!TraceOffsetLoops(traceInput.Count(), traceInput.x1.data(), traceInput.y1.data(),
                        traceInput.x2.data(), traceInput.y2.data(), &outside.count,
                        outside.sizes.data(), outside.x.get(), outside.y.get(), room, room) ||
      !writer.AddAll(outside.count, outside.sizes, outside.x.get(), outside.y.get())) {
    writer.Refuse();
    return false;
  }

  const int tracedPoints = outside.Points();
  std::vector<GridBox> traced;
  for (int q = 1; q <= tracedPoints; ++q)
    traced.push_back({outside.x[q], outside.y[q], outside.x[q], outside.y[q]});
  UniformGrid tracedGrid;
  tracedGrid.Build(traced, 0.2);
  std::vector<int> found;
  Segments leftover = kept.Without([&](int i) {
    auto near = [&](double px, double py) {
      tracedGrid.Query(GridBox::Around(px, py, px, py, 0.1), found);
      for (int q : found)
        if (std::fabs(px - outside.x[q + 1]) < 0.1 && std::fabs(py - outside.y[q + 1]) < 0.1)
          return true;
      return false;
    };
    return near(kept.x1[i], kept.y1[i]) || near(kept.x2[i], kept.y2[i]);
  });
  KernelWorkArrays work;
  // The outside loops are written and looked up: their room, larger than what is left,
  // takes the inner loops (one block fewer to allocate on every call).
  TracedLoops& inner = outside;
  inner.count = 0;
  if (!TraceLoopsFromSegments(work, leftover.Count(), leftover.x1.data(), leftover.y1.data(),
                              leftover.x2.data(), leftover.y2.data(), &inner.count,
                              inner.sizes.data(), inner.x.get(), inner.y.get(), room, room) ||
      !writer.AddAll(inner.count, inner.sizes, inner.x.get(), inner.y.get())) {
    writer.Refuse();
    return false;
  }
  return true;
}

// A closed ring's loops. Where the moved edges of two sides meet exactly at the distance (an
// arm or a column twice the distance wide, shrunk by the distance), what is left at the tie
// is a strip thinner than the tracers' 0.1, which they cannot follow, or slivers that are
// all needle: the pieces bound area but no loop comes back. The offset then takes a distance
// a hair smaller, where the strip is wide enough to trace, rather than answer that nothing
// is left, and its loops come back as they are.
void WriteRingLoops(const FlatPolygon& p, double d, LoopWriter& writer) {
  const RingBoundary boundary = BoundaryOfJoinedRing(p, JoinedRing(p, d));
  if (!TraceAndWriteLoops(p, true, {}, {}, boundary.pieces, writer) || writer.Loops() > 0) return;
  if (!(boundary.area > kTinyArea) || !(std::fabs(d) > kTieStep)) return;
  const double hairNearer = d - std::copysign(kTieStep, d);
  writer.KeepNeedles();
  TraceAndWriteLoops(p, true, {}, {}, BoundaryOfJoinedRing(p, JoinedRing(p, hairNearer)).pieces,
                     writer);
}

enum class OpenResult { Loops, PieceList };

int Offset(OpenResult openResult, int n, int mode, const float x[], const float y[],
           const float z[], const float* distance, int* loopCount, std::int16_t counts[],
           std::int16_t codes[], float outX[], float outY[], float outZ[]) {
  *loopCount = 0;
  if (!UsableInput(n, mode, x, y, z, distance)) return 1;
  const bool closed = mode == kOffsetClosedMode;
  const InputPoints points = WithoutRepeats(n, closed, x, y, z);
  n = points.Count();
  if (n < (closed ? 3 : 2)) return 1;
  // A ring moved by no more than the splitter's tolerance lies on its own edges, whose
  // copies the offset always took its pieces for: it leaves no loop.
  if (closed && std::fabs(*distance) <= kCopyReach) return 1;
  PlaneFrame frame;
  FlatPolygon p = ToPlaneFrame(n, closed, points.x.data(), points.y.data(), points.z.data(), &frame);
  // An open polyline's raw offset; a ring's moved edges are joined exactly instead.
  std::vector<double> ox, oy;
  if (!closed) {
    ox.assign(n + 3, 0.0), oy.assign(n + 3, 0.0);
    OffsetEdges(p.x.data(), p.y.data(), n, mode, *distance, ox.data(), oy.data());
  }
  LoopWriter writer(frame, loopCount, counts, codes, outX, outY, outZ);
  if (closed) {
    WriteRingLoops(p, *distance, writer);
    return 1;
  }
  const double clearance = std::fabs(static_cast<double>(*distance)) - 0.1;
  const Segments kept = KeepClearPieces(p, OpenOffsetPieces(p, ox, oy), clearance);
  if (openResult == OpenResult::PieceList)
    WritePieceList(kept, writer);
  else
    TraceAndWriteLoops(p, closed, ox, oy, kept, writer);
  return 1;
}

}  // namespace

int OffsetPolygonEdges(float x[], float y[], int pointCount, int mode, float distance,
                       float offsetX[], float offsetY[]) {
  OffsetEdges(x, y, pointCount, mode, distance, offsetX, offsetY);
  return 1;
}

int OffsetPolygonLoops(int pointCount, int mode, const float x[], const float y[], const float z[],
                       const float* distance, int* loopCount, std::int16_t loopVertexCounts[],
                       std::int16_t loopCode[], float outX[], float outY[], float outZ[]) {
  return Offset(OpenResult::Loops, pointCount, mode, x, y, z, distance, loopCount, loopVertexCounts,
                loopCode, outX, outY, outZ);
}

int OffsetPolygonRing(int pointCount, int mode, const float x[], const float y[], const float z[],
                      const float* distance, int* loopCount, std::int16_t loopVertexCounts[],
                      std::int16_t loopCode[], float outX[], float outY[], float outZ[]) {
  return Offset(OpenResult::PieceList, pointCount, mode, x, y, z, distance, loopCount,
                loopVertexCounts, loopCode, outX, outY, outZ);
}
