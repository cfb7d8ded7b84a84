// The roof-face union engine: every face is cut along the lines where the other input faces
// pass through it, traced into pieces in its own flat frame, and each piece that lies wholly
// under (or on) another face is dropped.
#include "RoofFaceUnion.h"

#include <algorithm>
#include <cmath>
#include <span>
#include <utility>
#include <vector>

#include "KernelPrimitives.h"
#include "KernelWorkArrays.h"
#include "LoopTracing.h"
#include "RoofFaceUnionRoutines.h"
#include "SegmentSplitting.h"
#include "UniformGrid.h"

using namespace kernel;

namespace {

// Boxes must overlap by this much on an axis before one face cuts or covers another.
constexpr double kBoxMargin = 1.0;
// The distance by which the covered test moves a piece's outline inwards (to the right of a
// clockwise ring).
constexpr double kInset = -10.0;
// The distance within which the tracer takes two ends for one point.
constexpr double kWeld = 0.1;
// How far a crossing found between two faces may lie off the one it cuts, over the float
// rounding of the input's largest coordinate (beyond kWeld), and so how far a cut line's
// loose end may stop short of that face's edge. A face whose vertices single precision has
// rounded is not quite plane: at 3e6 from the origin, a quarter of a millimetre apart, the
// line where another face crosses it reached its eave a sixth of a millimetre off the edge,
// the cut was left loose and pruned, and both faces were kept whole, one under the other.
constexpr double kRoundings = 8.0;

struct InputFace {
  int n = 0;
  std::vector<double> x{0.0}, y{0.0}, z{0.0};  // 1-based
  double lo[3] = {1e8, 1e8, 1e8};
  double hi[3] = {-1e8, -1e8, -1e8};
  double a = 0.0, b = 0.0, c = 0.0, d = 0.0;  // the plane, unscaled
  double scaled[3] = {0.0, 0.0, 0.0};         // the normal over its largest magnitude
  double angleA = 0.0, angleB = 0.0;          // of the face's flat frame
  bool usable = false;                        // spans a plane

  UnionFace View() const { return {n, a, b, c, d, x.data(), y.data(), z.data()}; }
};

// A loop in a face's flat frame (1-based).
struct FlatLoop {
  std::vector<double> u{0.0}, v{0.0};
  int Count() const { return static_cast<int>(u.size()) - 1; }
};

struct ResultLoop {
  std::int16_t marker;
  std::vector<float> x, y, z;
};

// A segment list in 1-based parallel arrays, as the splitter and the tracer take it.
struct FlatSegments {
  std::vector<double> x1{0.0}, y1{0.0}, x2{0.0}, y2{0.0};
  int Count() const { return static_cast<int>(x1.size()) - 1; }
  void Add(double ax, double ay, double bx, double by) {
    x1.push_back(ax), y1.push_back(ay), x2.push_back(bx), y2.push_back(by);
  }
  void Resize(int count) {
    const size_t size = static_cast<size_t>(count) + 1;
    x1.resize(size), y1.resize(size), x2.resize(size), y2.resize(size);
  }
  void Reserve(size_t count) {
    x1.reserve(count + 1), y1.reserve(count + 1), x2.reserve(count + 1), y2.reserve(count + 1);
  }
};

void SetUpFace(InputFace& face) {
  for (int i = 1; i <= face.n; ++i) {
    const double p[3] = {face.x[i], face.y[i], face.z[i]};
    for (int k = 0; k < 3; ++k) {
      face.lo[k] = std::min(face.lo[k], p[k]);
      face.hi[k] = std::max(face.hi[k], p[k]);
    }
  }
  if (face.n < 3) return;
  if (!PolygonPlaneForUnion(face.x.data(), face.y.data(), face.z.data(), face.n, &face.a, &face.b,
                            &face.c, &face.d))
    return;
  const double largest = std::max({std::fabs(face.a), std::fabs(face.b), std::fabs(face.c)});
  face.scaled[0] = face.a / largest;
  face.scaled[1] = face.b / largest;
  face.scaled[2] = face.c / largest;
  std::vector<double> mx(face.x), my(face.y), mz(face.z);
  for (int i = 1; i <= face.n; ++i) mx[i] -= face.x[1], my[i] -= face.y[1], mz[i] -= face.z[1];
  face.usable = FacePlaneAnglesForUnion(mx.data(), my.data(), mz.data(), face.n, &face.angleA,
                                        &face.angleB);
}

// Whether the input stays within the caller's arrays: counts that are not negative and
// vertices that fit.
bool WithinCapacities(int count, const std::int16_t counts[]) {
  if (count < 0 || count > kUnionCountCapacity - 1) return false;
  int vertices = 0;
  for (int f = 1; f <= count; ++f) {
    if (counts[f] < 0) return false;
    vertices += counts[f];
  }
  return vertices <= kUnionCoordinateCapacity - 1;
}

// Reads the caller's faces; false when the input breaks the caller's capacities or holds a
// coordinate that is not finite.
bool ReadFaces(int count, const std::int16_t counts[], const float x[], const float y[],
               const float z[], std::vector<InputFace>& faces) {
  if (!WithinCapacities(count, counts)) return false;
  int at = 0;
  faces.assign(static_cast<size_t>(count) + 1, InputFace{});
  for (int f = 1; f <= count; ++f) {
    InputFace& face = faces[f];
    face.n = counts[f];
    for (int k = 1; k <= face.n; ++k) {
      ++at;
      if (!std::isfinite(x[at]) || !std::isfinite(y[at]) || !std::isfinite(z[at])) return false;
      face.x.push_back(x[at]), face.y.push_back(y[at]), face.z.push_back(z[at]);
    }
  }
  for (int f = 1; f <= count; ++f) SetUpFace(faces[f]);
  return true;
}

// Half a unit in the last place of a float of the input's largest coordinate: how far the
// caller's single precision may have moved a vertex.
double InputRounding(const std::vector<InputFace>& faces) {
  double largest = 0.0;
  for (const InputFace& face : faces)
    for (int k = 0; k < 3 && face.n > 0; ++k)
      largest = std::max({largest, std::fabs(face.lo[k]), std::fabs(face.hi[k])});
  return largest * 0x1p-24;
}

// Whether the boxes of f and g overlap by the margin in x, y and z (before one cuts the other).
bool BoxesOverlapToCut(const InputFace& f, const InputFace& g) {
  for (int k = 0; k < 3; ++k)
    if (!(f.lo[k] <= g.hi[k] - kBoxMargin && g.lo[k] + kBoxMargin <= f.hi[k])) return false;
  return true;
}

// Whether the plan boxes of f and g overlap by the margin in x and y (before g may cover f).
bool BoxesOverlapToCover(const InputFace& f, const InputFace& g) {
  for (int k = 0; k < 2; ++k)
    if (!(f.lo[k] + kBoxMargin <= g.hi[k] && g.lo[k] <= f.hi[k] - kBoxMargin)) return false;
  return true;
}

// Whether the scaled normals agree (sign 1) or are opposite (sign -1).
bool NormalsAgree(const InputFace& f, const InputFace& g, double sign) {
  for (int k = 0; k < 3; ++k)
    if (std::fabs(f.scaled[k] - sign * g.scaled[k]) > 0.0001) return false;
  return true;
}

// Parallel faces of the same facing are never cut against each other.
bool SameFacing(const InputFace& f, const InputFace& g) { return NormalsAgree(f, g, 1.0); }

// Whether f and g are cut along the line where their planes meet: their boxes overlap and
// they are not parallel.
bool Crossing(const InputFace& f, const InputFace& g) {
  return BoxesOverlapToCut(f, g) && !NormalsAgree(f, g, 1.0) && !NormalsAgree(f, g, -1.0);
}

// The faces' plan boxes in a grid: the faces that may cut or cover a given face (their
// boxes meet its box), in input order, without trying every pair.
class FaceIndex {
 public:
  explicit FaceIndex(const std::vector<InputFace>& faces) {
    std::vector<GridBox> boxes;
    for (size_t f = 1; f < faces.size(); ++f) {
      const InputFace& face = faces[f];
      boxes.push_back(face.n > 0 ? GridBox{face.lo[0], face.lo[1], face.hi[0], face.hi[1]}
                                 : GridBox{0.0, 0.0, 0.0, 0.0});
    }
    grid_.Build(boxes);
  }

  // The faces other than f whose plan boxes meet f's, ascending.
  const std::vector<int>& Near(const InputFace& face, int f) {
    grid_.Query({face.lo[0], face.lo[1], face.hi[0], face.hi[1]}, near_);
    for (int& g : near_) ++g;
    std::erase(near_, f);
    return near_;
  }

 private:
  UniformGrid grid_;
  std::vector<int> near_;
};

// The plan distance from (px, py) to the segment from (ax, ay) to (bx, by).
double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
  const double dx = bx - ax, dy = by - ay, length2 = dx * dx + dy * dy;
  const double along = length2 > 0.0 ? ((px - ax) * dx + (py - ay) * dy) / length2 : 0.0;
  const double t = std::clamp(along, 0.0, 1.0);
  return std::hypot(px - ax - t * dx, py - ay - t * dy);
}

// Whether the segment runs along one of the first `edges` segments of the list: both its
// ends within the weld distance of it.
bool AlongAnEdge(const FlatSegments& list, int edges, double u1, double v1, double u2, double v2) {
  for (int k = 1; k <= edges; ++k) {
    const double ax = list.x1[k], ay = list.y1[k], bx = list.x2[k], by = list.y2[k];
    if (SegmentDistance(u1, v1, ax, ay, bx, by) <= kWeld &&
        SegmentDistance(u2, v2, ax, ay, bx, by) <= kWeld)
      return true;
  }
  return false;
}

// F's own edges and the segments along which other faces pass through it, in F's frame. A
// face that shares an edge with F meets it along that edge; that copy adds no cut and is
// left out: the splitter takes a nearly upright or level segment as exactly so through its
// start, so it set two copies of an edge run either way a hair apart and cut them at
// different points, and a face was lost to the sliver between them.
FlatSegments CuttingSegments(const std::vector<InputFace>& faces, int f,
                             const std::vector<int>& near, const FaceFrameForUnion& frame,
                             double offFace) {
  const InputFace& face = faces[f];
  std::vector<UnionSegment3> segments;
  segments.reserve(static_cast<size_t>(face.n) + 2 * near.size());
  for (int k = 1; k <= face.n; ++k) {
    const int next = k == face.n ? 1 : k + 1;
    segments.push_back(
        {face.x[k], face.y[k], face.z[k], face.x[next], face.y[next], face.z[next]});
  }
  for (int g : near) {
    const InputFace& other = faces[g];
    if (!other.usable || !BoxesOverlapToCut(face, other) || SameFacing(face, other)) continue;
    const std::vector<UnionSegment3> common =
        PolygonPairOverlapForUnion(0.001f, face.View(), other.View(), static_cast<float>(offFace));
    segments.insert(segments.end(), common.begin(), common.end());
  }
  FlatSegments flat;
  flat.Reserve(segments.size());
  for (const UnionSegment3& s : segments) {
    double u1, v1, u2, v2;
    frame.ToFrame(s.x1, s.y1, s.z1, &u1, &v1);
    frame.ToFrame(s.x2, s.y2, s.z2, &u2, &v2);
    if (flat.Count() >= face.n && AlongAnEdge(flat, face.n, u1, v1, u2, v2)) continue;
    flat.Add(u1, v1, u2, v2);
  }
  return flat;
}

// The most pieces or loop points one face may grow to; beyond it the call gives no result.
constexpr long long kMostWorkEntries = 1LL << 22;

// Cuts the segments at their crossings (repeated pieces once), the storage growing until the
// pieces fit. A list with a piece longer than 0.01 in some axis always yields one, so an empty
// answer to such a list means the storage was too small. False when the pieces outgrow the
// largest storage allowed.
bool SplitAtCrossings(const FlatSegments& in, FlatSegments& out) {
  const long long n = in.Count();
  bool yieldsPiece = false;
  for (int i = 1; i <= n; ++i)
    if (std::fabs(in.x2[i] - in.x1[i]) > 0.01 || std::fabs(in.y2[i] - in.y1[i]) > 0.01)
      yieldsPiece = true;
  // Every other segment cuts a segment at most twice.
  const long long most = std::min(kMostWorkEntries, n * (2 * n - 1) + 1);
  const std::vector<float> attr(static_cast<size_t>(n) + 1, 0.0f);
  for (long long capacity = std::min(most, 4 * n + 16);; capacity = std::min(most, capacity * 4)) {
    out.Resize(static_cast<int>(capacity));
    std::vector<float> outAttr(static_cast<size_t>(capacity) + 1);
    int count = 0;
    SplitSegmentsAtCrossings(1, static_cast<int>(n), in.x1.data(), in.y1.data(), in.x2.data(),
                             in.y2.data(), attr.data(), &count, out.x1.data(), out.y1.data(),
                             out.x2.data(), out.y2.data(), outAttr.data(),
                             static_cast<int>(capacity));
    out.Resize(count);
    if (count > 0 || !yieldsPiece) return true;
    if (capacity >= most) return false;
  }
}

// Cuts pieces where another piece stops on them. The splitter judges a crossing on the
// segments' dominant axes and takes a segment within its tolerance of upright or level as
// exactly so (every level edge of a face is nearly upright in the face's frame): a cut line
// that meets such an edge at a shallow angle can miss it by more than the tolerance, and
// was then pruned as dangling, leaving a piece that lies partly under another face uncut
// (a lower roof kept under a higher one). An end that no other piece meets, within offFace
// of another piece's interior (and further than the weld distance from its ends), cuts that
// piece at the end.
void CutAtLooseEnds(FlatSegments& pieces, double offFace) {
  const int n = pieces.Count();
  std::vector<double> ex(2 * static_cast<size_t>(n)), ey(ex.size());
  for (int i = 1; i <= n; ++i) {
    ex[2 * (i - 1)] = pieces.x1[i], ey[2 * (i - 1)] = pieces.y1[i];
    ex[2 * (i - 1) + 1] = pieces.x2[i], ey[2 * (i - 1) + 1] = pieces.y2[i];
  }
  PointHash ends;
  ends.Build(ex, ey, 2 * kWeld);
  std::vector<int> loose, near;
  for (int e = 0; e < 2 * n; ++e) {
    ends.Query(ex[e], ey[e], kWeld, near);
    const bool met = std::any_of(near.begin(), near.end(), [&](int o) {
      return o / 2 != e / 2 && std::fabs(ex[o] - ex[e]) <= kWeld &&
             std::fabs(ey[o] - ey[e]) <= kWeld;
    });
    if (!met) loose.push_back(e);
  }
  if (loose.empty()) return;

  std::vector<GridBox> boxes;
  for (int i = 1; i <= n; ++i)
    boxes.push_back(
        GridBox::Around(pieces.x1[i], pieces.y1[i], pieces.x2[i], pieces.y2[i], offFace));
  UniformGrid grid;
  grid.Build(boxes);
  struct Cut {
    int piece;
    double along, x, y;
  };
  std::vector<Cut> cuts;
  for (int e : loose) {
    const double px = ex[e], py = ey[e];
    grid.Query({px, py, px, py}, near);
    for (int b : near) {
      const int i = b + 1;
      if (i == e / 2 + 1) continue;
      const double dx = pieces.x2[i] - pieces.x1[i], dy = pieces.y2[i] - pieces.y1[i];
      const double length = std::hypot(dx, dy);
      if (!(length > 2 * kWeld)) continue;
      const double along = ((px - pieces.x1[i]) * dx + (py - pieces.y1[i]) * dy) / length;
      const double off = std::fabs((px - pieces.x1[i]) * dy - (py - pieces.y1[i]) * dx) / length;
      if (off <= offFace && along > kWeld && along < length - kWeld)
        cuts.push_back({i, along, px, py});
    }
  }
  if (cuts.empty()) return;
  std::sort(cuts.begin(), cuts.end(), [](const Cut& a, const Cut& b) {
    return a.piece < b.piece || (a.piece == b.piece && a.along < b.along);
  });
  FlatSegments cut;
  cut.Reserve(static_cast<size_t>(n) + cuts.size());
  size_t c = 0;
  for (int i = 1; i <= n; ++i) {
    double fromX = pieces.x1[i], fromY = pieces.y1[i];
    for (; c < cuts.size() && cuts[c].piece == i; ++c) {
      cut.Add(fromX, fromY, cuts[c].x, cuts[c].y);
      fromX = cuts[c].x, fromY = cuts[c].y;
    }
    cut.Add(fromX, fromY, pieces.x2[i], pieces.y2[i]);
  }
  pieces = std::move(cut);
}

// The closed loops of the arrangement, in tracing order; false when a loop is too long to
// state or the loops outgrow the largest storage allowed. Every loop is the face between two
// segments leaving one start point, so there are fewer loops than segments.
bool TraceLoops(const FlatSegments& segments, std::vector<FlatLoop>& loops) {
  const int n = segments.Count();
  KernelWorkArrays work;
  const long long most = std::min(kMostWorkEntries, static_cast<long long>(n) * n + 16);
  for (long long points = std::min(most, 4LL * n + 16);; points = std::min(most, points * 4)) {
    FlatSegments attempt = segments;  // the tracer rewrites its input
    std::vector<std::int16_t> sizes(static_cast<size_t>(n) + 2, 0);
    std::vector<double> lx(static_cast<size_t>(points) + 1), ly(static_cast<size_t>(points) + 1);
    int loopCount = 0;
    if (TraceLoopsFromSegments(work, n, attempt.x1.data(), attempt.y1.data(), attempt.x2.data(),
                               attempt.y2.data(), &loopCount, sizes.data(), lx.data(), ly.data(),
                               n + 1, static_cast<int>(points), kUnionHalfPi, kUnionTwoPi) == 1) {
      int at = 0;
      for (int l = 1; l <= loopCount; ++l) {
        FlatLoop loop;
        loop.u.assign(lx.begin() + at, lx.begin() + at + sizes[l] + 1);
        loop.v.assign(ly.begin() + at, ly.begin() + at + sizes[l] + 1);
        loop.u[0] = loop.v[0] = 0.0;
        at += sizes[l];
        loops.push_back(std::move(loop));
      }
      return true;
    }
    if (points >= most) return false;
  }
}

// Drops the vertices where a loop runs straight on; a loop left with fewer than three
// vertices encloses nothing and is dropped.
std::vector<FlatLoop> WithoutCollinearVertices(const std::vector<FlatLoop>& loops) {
  std::vector<FlatLoop> cleaned;
  for (const FlatLoop& loop : loops) {
    FlatLoop kept;
    kept.u.resize(loop.u.size()), kept.v.resize(loop.v.size());
    const int count = RemoveCollinearVertices(loop.u.data(), loop.v.data(), loop.Count(),
                                              kClosedLoopCode, kept.u.data(), kept.v.data());
    if (count < 3) continue;
    kept.u.resize(static_cast<size_t>(count) + 1), kept.v.resize(static_cast<size_t>(count) + 1);
    cleaned.push_back(std::move(kept));
  }
  return cleaned;
}

// The point against the loop with no tolerance: strictly inside.
bool StrictlyInsideExactly(double u, double v, const FlatLoop& loop) {
  int code = kPointOutside;
  PointInPolygon(u, v, loop.u.data(), loop.v.data(), loop.Count(), 0.0f, &code);
  return code == kPointInside;
}

double LoopArea(const FlatLoop& loop) {
  double twice = 0.0;
  const int n = loop.Count();
  for (int i = 1; i <= n; ++i) {
    const int j = i == n ? 1 : i + 1;
    twice += loop.u[i] * loop.v[j] - loop.u[j] * loop.v[i];
  }
  return std::fabs(twice) / 2;
}

// A point inside a region (an outer loop less the holes after it): on the widest stretch of
// a line across it a little below halfway up the outer loop's extent (nudged off the
// vertices' heights), a little before that stretch's middle. Roofs are symmetric: the middle
// of a piece often lies on another roof's ridge or hip, where the point tests fall either
// way, and a piece under a roof was kept.
bool InteriorPoint(std::span<const FlatLoop* const> rings, double* u, double* v) {
  constexpr double kOffMiddle = 0.4567;
  const FlatLoop& outer = *rings.front();
  const auto [lo, hi] = std::minmax_element(outer.v.begin() + 1, outer.v.end());
  double at = *lo + (*hi - *lo) * kOffMiddle;
  for (const FlatLoop* ring : rings)
    for (int i = 1; i <= ring->Count(); ++i)
      if (ring->v[i] == at) at += (*hi - *lo) * 1e-7;
  std::vector<double> crossings;
  for (const FlatLoop* ring : rings) {
    const int n = ring->Count();
    for (int i = 1; i <= n; ++i) {
      const int j = i == n ? 1 : i + 1;
      const double a = ring->v[i], b = ring->v[j];
      if ((a < at) == (b < at)) continue;
      crossings.push_back(ring->u[i] + (at - a) * (ring->u[j] - ring->u[i]) / (b - a));
    }
  }
  std::sort(crossings.begin(), crossings.end());
  double widest = 0.0;
  for (size_t k = 0; k + 1 < crossings.size(); k += 2) {
    if (crossings[k + 1] - crossings[k] <= widest) continue;
    widest = crossings[k + 1] - crossings[k];
    *u = crossings[k] + widest * kOffMiddle, *v = at;
  }
  return widest > 0.0;
}

// The loops' areas, plan boxes and nesting points, worked out once for the nesting tests. A
// loop's nesting point lies inside it, clear of its outline: the loops of the arrangement
// do not cross, so another loop holds it exactly when it holds that point. (A first vertex a
// fraction of a millimetre from a larger loop's outline, where a cut line ends that near a
// face's edge, could not tell; the island was taken for a piece lying beside that loop, and
// the piece around it was kept whole, a lower roof under a higher one.) A loop of no width
// is placed by its first vertex, with the point test's tolerance.
struct LoopMeasures {
  std::vector<double> area, minU, minV, maxU, maxV, u, v;
  std::vector<char> clear;  // whether (u, v) lies clear of the loop's outline
  explicit LoopMeasures(const std::vector<FlatLoop>& loops) {
    for (auto* list : {&area, &minU, &minV, &maxU, &maxV, &u, &v}) list->reserve(loops.size());
    clear.reserve(loops.size());
    for (const FlatLoop& loop : loops) {
      area.push_back(LoopArea(loop));
      const auto [u0, u1] = std::minmax_element(loop.u.begin() + 1, loop.u.end());
      const auto [v0, v1] = std::minmax_element(loop.v.begin() + 1, loop.v.end());
      minU.push_back(*u0), maxU.push_back(*u1), minV.push_back(*v0), maxV.push_back(*v1);
      const FlatLoop* ring = &loop;
      double pu = loop.u[1], pv = loop.v[1];
      clear.push_back(InteriorPoint({&ring, 1}, &pu, &pv));
      u.push_back(pu), v.push_back(pv);
    }
  }
};

// Whether loop l lies inside loop o: its nesting point strictly inside, and o the larger. A
// loop larger than o cannot lie in it. A point outside o's box (widened by the test's
// tolerance) is outside o without the test.
bool LoopInside(const std::vector<FlatLoop>& loops, const LoopMeasures& m, size_t l, size_t o) {
  if (l == o || !(m.area[l] < m.area[o])) return false;
  const double u = m.u[l], v = m.v[l];
  if (u < m.minU[o] - 1.0 || u > m.maxU[o] + 1.0 || v < m.minV[o] - 1.0 || v > m.maxV[o] + 1.0)
    return false;
  int code = kPointOutside;
  const float tol = m.clear[l] ? 0.0f : 1.0f;
  PointInPolygon(u, v, loops[o].u.data(), loops[o].v.data(), loops[o].Count(), tol, &code);
  return code == kPointInside;
}

// An entry of a face's output list: a loop, by its place in the face's loops, and the
// marker it goes out with.
struct ListEntry {
  size_t loop;
  std::int16_t marker;
};

// The face's output list. Every loop is the outline of a piece, whose holes are the loops
// lying directly in it (in no smaller loop that lies in it), in the order of the loops: a
// loop inside another is a hole of that one's piece and a piece of its own. Taken by the
// count of loops around it instead, an odd count making a hole only, an island (or a loop
// along the outline of the one around it) was never a piece, and was lost with the piece
// around it when that one lay under another face.
std::vector<ListEntry> OutputList(const std::vector<FlatLoop>& loops) {
  const LoopMeasures measures(loops);
  std::vector<GridBox> boxes;
  boxes.reserve(loops.size());
  for (size_t l = 0; l < loops.size(); ++l)
    boxes.push_back({measures.minU[l] - 1.0, measures.minV[l] - 1.0, measures.maxU[l] + 1.0,
                     measures.maxV[l] + 1.0});
  UniformGrid grid;
  grid.Build(boxes);
  std::vector<std::vector<size_t>> holes(loops.size());
  std::vector<int> near;
  for (size_t l = 0; l < loops.size(); ++l) {
    grid.Query({measures.u[l], measures.v[l], measures.u[l], measures.v[l]}, near);
    long parent = -1;
    for (int candidate : near) {
      const size_t o = static_cast<size_t>(candidate);
      if (LoopInside(loops, measures, l, o) &&
          (parent < 0 || measures.area[o] < measures.area[static_cast<size_t>(parent)]))
        parent = static_cast<long>(o);
    }
    if (parent >= 0) holes[static_cast<size_t>(parent)].push_back(l);
  }
  std::vector<ListEntry> list;
  for (size_t o = 0; o < loops.size(); ++o) {
    list.push_back({o, OuterLoopMarker});
    for (size_t h : holes[o]) list.push_back({h, HoleLoopMarker});
  }
  return list;
}

// The loop run clockwise, vertex 1 staying first.
FlatLoop Clockwise(const FlatLoop& loop) {
  const int n = loop.Count();
  int m = 1;
  for (int i = 2; i <= n; ++i)
    if (loop.u[i] < loop.u[m]) m = i;
  const int p = m == 1 ? n : m - 1;
  const int q = m == n ? 1 : m + 1;
  const double turn = (loop.u[p] - loop.u[m]) * (loop.v[m] - loop.v[q]) -
                      (loop.v[p] - loop.v[m]) * (loop.u[m] - loop.u[q]);
  if (!(turn > 0.0)) return loop;
  FlatLoop reversed = loop;
  for (int i = 2; i <= n; ++i) reversed.u[i] = loop.u[n + 2 - i], reversed.v[i] = loop.v[n + 2 - i];
  return reversed;
}

// A face that may cover pieces of another. Where the two cross, the other's pieces are cut
// along the line where they meet, so on either side of it one face lies above the other
// wherever both are: their heights are compared as they are. Pieces within the tolerance
// of each other in height (faces that cross at a shallow angle, near eaves that meet)
// would otherwise each be judged under the other, and the roof there was lost. A face that
// does not cross the other (in one plane with it, or parallel) covers where it lies higher
// by more than the tolerance, and within the tolerance only when it outranks the other:
// when its plane is the higher of the two over the middle of their plan boxes' overlap, or
// the two are level there and it comes first. Two roofs of one pitch over one eave line have
// faces in one plane, each cut along the other roof's hips, and their pieces there were
// each judged under the other's.
struct CoveringFace {
  int face;
  bool crossing;
  bool outranks;
};

// Whether face g outranks face f where neither crosses the other (see CoveringFace).
bool Outranks(const InputFace& f, int fi, const InputFace& g, int gi) {
  if (std::fabs(f.scaled[2]) < 0.001) return true;  // an upright face lies under any other
  const double x = (std::max(f.lo[0], g.lo[0]) + std::min(f.hi[0], g.hi[0])) / 2;
  const double y = (std::max(f.lo[1], g.lo[1]) + std::min(f.hi[1], g.hi[1])) / 2;
  const double above = -(g.a * x + g.b * y + g.d) / g.c + (f.a * x + f.b * y + f.d) / f.c;
  const double level = 1e-9 * (std::fabs(x) + std::fabs(y) + std::fabs(f.hi[2]) + 1.0);
  return above > level || (std::fabs(above) <= level && gi < fi);
}

// The faces that may cover pieces of face f: non-vertical faces whose plan boxes overlap f's.
std::vector<CoveringFace> CoveringCandidates(const std::vector<InputFace>& faces, int f,
                                             const std::vector<int>& near) {
  std::vector<CoveringFace> candidates;
  for (int g : near) {
    const InputFace& other = faces[g];
    if (!other.usable || !BoxesOverlapToCover(faces[f], other)) continue;
    if (std::fabs(other.scaled[2]) < 0.001) continue;
    candidates.push_back({g, Crossing(faces[f], other), Outranks(faces[f], f, other, g)});
  }
  return candidates;
}

// Whether the point of a piece lies under (or, for a face it does not cross, within 1.0 on)
// one of the candidates, in plan within its outline or within `reach` of it.
bool PointCovered(const std::vector<InputFace>& faces, const std::vector<CoveringFace>& candidates,
                  double X, double Y, double Z, float reach) {
  for (const CoveringFace& candidate : candidates) {
    const InputFace& other = faces[candidate.face];
    if (X < other.lo[0] - reach || X > other.hi[0] + reach || Y < other.lo[1] - reach ||
        Y > other.hi[1] + reach)
      continue;
    // The heights first: they cost far less than the outline, and rule out every face below.
    const double zOther = -(other.a * X + other.b * Y + other.d) / other.c;
    const bool above =
        candidate.crossing ? Z < zOther : Z + (candidate.outranks ? -1.0 : 1.0) < zOther;
    if (!above) continue;
    int code = kPointOutside;
    PointInPolygon(X, Y, other.x.data(), other.y.data(), other.n, reach, &code);
    if (code != kPointOutside) return true;
  }
  return false;
}

// Whether a piece (its outer loop, then its holes) lies under (or on) another face: every
// point of its outer ring moved 10 inwards is, in plan within 1.0 of the face's outline. A
// piece too thin for that ring (a corner of it falls outside the piece) is judged by one
// point inside it, clear of its holes, instead: the pieces are cut along every line where
// faces cross, so a piece lies wholly under another face or nowhere under it. That point
// must lie within the other face's outline itself: a sliver along the outside of a higher
// face's edge lies within 1.0 of it, and was lost.
bool Covered(const std::vector<FlatLoop>& loops, std::span<const ListEntry> piece,
             const FaceFrameForUnion& frame, const std::vector<InputFace>& faces,
             const std::vector<CoveringFace>& candidates) {
  const FlatLoop ring = Clockwise(loops[piece.front().loop]);
  const int n = ring.Count();
  std::vector<double> tu(static_cast<size_t>(n) + 1), tv(static_cast<size_t>(n) + 1);
  OffsetRingForUnion(ring.u.data(), ring.v.data(), n, kInset, tu.data(), tv.data());
  bool thin = false;
  for (int i = 1; i <= n && !thin; ++i) thin = !StrictlyInsideExactly(tu[i], tv[i], ring);
  if (thin) {
    double u = 0.0, v = 0.0, X, Y, Z;
    std::vector<const FlatLoop*> rings;
    for (const ListEntry& entry : piece) rings.push_back(&loops[entry.loop]);
    if (!InteriorPoint(rings, &u, &v)) return false;
    frame.FromFrame(u, v, &X, &Y, &Z);
    return PointCovered(faces, candidates, X, Y, Z, 0.0f);
  }
  for (int i = 1; i <= n; ++i) {
    double X, Y, Z;
    frame.FromFrame(tu[i], tv[i], &X, &Y, &Z);
    if (!PointCovered(faces, candidates, X, Y, Z, 1.0f)) return false;
  }
  return true;
}

// The pieces of face f that no other face covers, appended to the result; false when the
// face's pieces or loops outgrow the work storage.
bool UncoveredPieces(const std::vector<InputFace>& faces, int f, FaceIndex& index, double offFace,
                     std::vector<ResultLoop>& result) {
  const InputFace& face = faces[f];
  const std::vector<int>& near = index.Near(face, f);
  const FaceFrameForUnion frame(face.x[1], face.y[1], face.z[1], face.angleA, face.angleB);
  FlatSegments pieces;
  std::vector<FlatLoop> traced;
  if (!SplitAtCrossings(CuttingSegments(faces, f, near, frame, offFace), pieces)) return false;
  CutAtLooseEnds(pieces, offFace);
  if (!TraceLoops(pieces, traced)) return false;
  const std::vector<FlatLoop> loops = WithoutCollinearVertices(traced);
  const std::vector<ListEntry> list = OutputList(loops);

  const std::vector<CoveringFace> candidates = CoveringCandidates(faces, f, near);
  std::vector<bool> dropped(list.size(), false);
  for (size_t e = 0; e < list.size(); ++e) {
    if (list[e].marker != OuterLoopMarker) continue;
    size_t end = e + 1;
    while (end < list.size() && list[end].marker == HoleLoopMarker) ++end;
    const std::span<const ListEntry> piece(list.begin() + static_cast<std::ptrdiff_t>(e),
                                           list.begin() + static_cast<std::ptrdiff_t>(end));
    if (!Covered(loops, piece, frame, faces, candidates)) continue;
    std::fill(dropped.begin() + static_cast<std::ptrdiff_t>(e),
              dropped.begin() + static_cast<std::ptrdiff_t>(end), true);
  }
  for (size_t e = 0; e < list.size(); ++e) {
    if (dropped[e]) continue;
    const FlatLoop& flat = loops[list[e].loop];
    ResultLoop loop{list[e].marker, {}, {}, {}};
    loop.x.reserve(static_cast<size_t>(flat.Count()));
    loop.y.reserve(static_cast<size_t>(flat.Count()));
    loop.z.reserve(static_cast<size_t>(flat.Count()));
    for (int i = 1; i <= flat.Count(); ++i) {
      double X, Y, Z;
      frame.FromFrame(flat.u[i], flat.v[i], &X, &Y, &Z);
      loop.x.push_back(static_cast<float>(X));
      loop.y.push_back(static_cast<float>(Y));
      loop.z.push_back(static_cast<float>(Z));
    }
    result.push_back(std::move(loop));
  }
  return true;
}

// Whether the result fits the caller's arrays.
bool Fits(const std::vector<ResultLoop>& result) {
  size_t vertices = 0;
  for (const ResultLoop& loop : result) vertices += loop.x.size();
  return result.size() <= static_cast<size_t>(kUnionCountCapacity - 1) &&
         vertices <= static_cast<size_t>(kUnionCoordinateCapacity - 1);
}

// Writes the result, which fits, over the caller's arrays.
void WriteResult(const std::vector<ResultLoop>& result, int* faceCount,
                 std::int16_t vertexCounts[], float x[], float y[], float z[]) {
  int at = 0, l = 0;
  for (const ResultLoop& loop : result) {
    const auto count = static_cast<std::int16_t>(loop.x.size());
    vertexCounts[++l] = loop.marker == OuterLoopMarker ? count : static_cast<std::int16_t>(-count);
    for (size_t i = 0; i < loop.x.size(); ++i) {
      ++at;
      x[at] = loop.x[i], y[at] = loop.y[i], z[at] = loop.z[i];
    }
  }
  *faceCount = l;
}

}  // namespace

int UnionRoofFaces(int* faceCount, std::int16_t vertexCounts[], float x[], float y[], float z[]) {
  std::vector<InputFace> faces;
  const bool readable = ReadFaces(*faceCount, vertexCounts, x, y, z, faces);
  *faceCount = 0;
  if (!readable) return 0;
  std::vector<ResultLoop> result;
  FaceIndex index(faces);
  const double offFace = kWeld + kRoundings * InputRounding(faces);
  for (int f = 1; f < static_cast<int>(faces.size()); ++f) {
    if (!faces[f].usable) continue;
    if (!UncoveredPieces(faces, f, index, offFace, result) || !Fits(result)) return 0;
  }
  WriteResult(result, faceCount, vertexCounts, x, y, z);
  return 1;
}
