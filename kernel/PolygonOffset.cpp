// The polygon offset: plane frame, raw offset ring, cutting away what folds over or comes
// too close to the polygon, tracing the rest into loops and turning them back.
#include "PolygonOffset.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "KernelConstants.h"
#include "KernelPrimitives.h"
#include "KernelWorkArrays.h"
#include "LoopTracing.h"
#include "OffsetLoopTracing.h"
#include "SegmentSplitting.h"

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
constexpr int kMaxLoops = kOffsetLoopEntries - 1;

// ----- raw offset ring -----

// Direction of an edge turned into a unit vector.
struct Direction {
  double angle, cosA, sinA;
  explicit Direction(double a) : angle(a), cosA(std::cos(a)), sinA(std::sin(a)) {}
};

// The point moved by d along the left normal of the direction angle a.
void MoveLeft(double px, double py, double a, double d, float* ox, float* oy) {
  *ox = static_cast<float>(px + d * -std::sin(a));
  *oy = static_cast<float>(py + d * std::cos(a));
}

// The midpoint of the edge (x1, y1)-(x2, y2) moved by d to its left; the half length is the
// edge turned onto the x axis about its start.
void OffsetMidpoint(double x1, double y1, double x2, double y2, double d, float* mx, float* my) {
  const Direction dir(LineAngle(x1, y1, x2, y2));
  const double turnedX = (x2 - x1) * std::cos(-dir.angle) - (y2 - y1) * std::sin(-dir.angle);
  const double h = turnedX / 2;
  *mx = static_cast<float>(x1 + h * dir.cosA + d * -dir.sinA);
  *my = static_cast<float>(y1 + h * dir.sinA + d * dir.cosA);
}

// The slope of an edge with the intercept of its moved line through the offset midpoint m;
// 555.0 for a vertical edge, 666.0 for a horizontal one (which wins when both hold).
struct MovedLine {
  double k = 0.0, b = 0.0;
};

MovedLine LineThrough(double x1, double y1, double x2, double y2, float mx, float my) {
  const double dx = x2 - x1, dy = y2 - y1;
  const bool vertical = std::fabs(dx) <= 0.01, horizontal = std::fabs(dy) <= 0.01;
  MovedLine line;
  if (horizontal) {
    line.k = kHorizontalSlope;
  } else if (vertical) {
    line.k = kVerticalSlope;
  } else {
    line.k = dy / dx;
    line.b = my - mx * line.k;
  }
  return line;
}

// The corner where the moved lines of two neighbouring edges meet, with m1 and m2 their
// offset midpoints. Both lines have different slopes.
void CornerOfLines(const MovedLine& l1, float m1x, float m1y, const MovedLine& l2, float m2x,
                   float m2y, double* X, double* Y) {
  const double k1 = l1.k, b1 = l1.b, k2 = l2.k, b2 = l2.b;
  if (k1 == kVerticalSlope && k2 == kHorizontalSlope) {
    *X = m1x, *Y = m2y;
  } else if (k1 == kHorizontalSlope && k2 == kVerticalSlope) {
    *X = m2x, *Y = m1y;
  } else if (k2 == kHorizontalSlope) {
    *Y = m2y, *X = (*Y - b1) / k1;
  } else if (k1 == kHorizontalSlope) {
    *Y = m1y, *X = (*Y - b2) / k2;
  } else if (k2 == kVerticalSlope) {
    *X = m2x, *Y = *X * k1 + b1;
  } else if (k1 == kVerticalSlope) {
    *X = m1x, *Y = *X * k2 + b2;
  } else {
    *X = (b2 - b1) / (k1 - k2);
    *Y = (b2 * k1 - k2 * b1) / (k1 - k2);
  }
}

// ----- segment lists -----

// A 1-based segment list with one origin mark per segment.
struct Segments {
  std::vector<double> x1{0.0}, y1{0.0}, x2{0.0}, y2{0.0};
  std::vector<float> mark{0.0f};

  int Count() const { return static_cast<int>(x1.size()) - 1; }
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
    for (int i = 1; i <= Count(); ++i)
      if (!drop(i)) kept.AddFrom(*this, i);
    return kept;
  }
};

// Every segment cut at every crossing with another, later copies of a piece dropped. The
// output room starts modest and doubles until the pieces fit.
Segments SplitAll(const Segments& in) {
  const int n = in.Count();
  bool anyPiece = false;
  for (int i = 1; i <= n; ++i)
    if (std::fabs(in.x2[i] - in.x1[i]) > 0.01 || std::fabs(in.y2[i] - in.y1[i]) > 0.01)
      anyPiece = true;
  // Each other segment cuts a segment at most twice.
  const long long mostPieces = static_cast<long long>(n) * (2LL * n - 1) + 1;
  long long room = 4LL * n + 16;
  Segments out;
  while (true) {
    const size_t size = static_cast<size_t>(room) + 1;
    out.x1.assign(size, 0.0), out.y1.assign(size, 0.0);
    out.x2.assign(size, 0.0), out.y2.assign(size, 0.0);
    out.mark.assign(size, 0.0f);
    int count = 0;
    SplitSegmentsAtCrossings(1, n, in.x1.data(), in.y1.data(), in.x2.data(), in.y2.data(),
                             in.mark.data(), &count, out.x1.data(), out.y1.data(), out.x2.data(),
                             out.y2.data(), out.mark.data(), static_cast<int>(room));
    // A segment that is not degenerate always leaves a piece, so no piece means no room.
    if (count > 0 || !anyPiece || room >= mostPieces) {
      const size_t used = static_cast<size_t>(count) + 1;
      out.x1.resize(used), out.y1.resize(used), out.x2.resize(used), out.y2.resize(used);
      out.mark.resize(used);
      return out;
    }
    room = std::min(2 * room, mostPieces);
  }
}

// ----- clearance tests -----

// The flat polygon P (1-based, n points) with its edge count.
struct FlatPolygon {
  std::vector<float> x, y;
  int n = 0;
  int edges = 0;
  double X(int i) const { return x[i]; }
  double Y(int i) const { return y[i]; }
  int Next(int i) const { return i == n ? 1 : i + 1; }
};

// A box around a point or segment, widened so that a point outside it is surely farther
// than the clearance (plus the 0.1 end allowance) from it; the exact tests run only inside.
struct ClearanceBox {
  double minX, minY, maxX, maxY;
  ClearanceBox(double x1, double y1, double x2, double y2, double c)
      : minX(std::fmin(x1, x2) - c - 1.0),
        minY(std::fmin(y1, y2) - c - 1.0),
        maxX(std::fmax(x1, x2) + c + 1.0),
        maxY(std::fmax(y1, y2) + c + 1.0) {}
  bool Holds(double px, double py) const {
    return minX <= px && px <= maxX && minY <= py && py <= maxY;
  }
};

// Whether a piece end lies closer than c to any point of P.
bool NearAVertex(const FlatPolygon& p, double px, double py, double c) {
  const ClearanceBox reach(px, py, px, py, c);
  for (int k = 1; k <= p.n; ++k) {
    if (!reach.Holds(p.X(k), p.Y(k))) continue;
    if (std::sqrt((px - p.X(k)) * (px - p.X(k)) + (py - p.Y(k)) * (py - p.Y(k))) < c) return true;
  }
  return false;
}

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

// Whether a point of P lies closer than c to the piece's line, within the piece widened by
// 0.1 at both ends.
bool VertexOverPiece(const FlatPolygon& p, double sx, double sy, double ex, double ey, double c) {
  const ClearanceBox reach(sx, sy, ex, ey, c);
  const TurnedEdge piece(sx, sy, ex, ey);
  for (int k = 1; k <= p.n; ++k) {
    if (!reach.Holds(p.X(k), p.Y(k))) continue;
    const double tx = piece.TurnX(p.X(k), p.Y(k)), ty = piece.TurnY(p.X(k), p.Y(k));
    if (std::fabs(ty - sy) < c && sx - 0.1 < tx && tx < piece.endX + 0.1) return true;
  }
  return false;
}

// The three clearance filters, each removing what it flags before the next one looks. A
// clearance of zero or less keeps everything: no distance is below it.
Segments KeepClearPieces(const FlatPolygon& p, Segments pieces, double c) {
  if (!(c > 0.0)) return pieces;
  auto exempt = [&](const Segments& s, int i) { return s.mark[i] == kEndOffsetEdgeMark; };
  pieces = pieces.Without([&](int i) {
    return !exempt(pieces, i) && (NearAVertex(p, pieces.x1[i], pieces.y1[i], c) ||
                                  NearAVertex(p, pieces.x2[i], pieces.y2[i], c));
  });
  std::vector<TurnedEdge> edges;
  std::vector<ClearanceBox> edgeReach;
  for (int j = 1; j <= p.edges; ++j) {
    edges.emplace_back(p.X(j), p.Y(j), p.X(p.Next(j)), p.Y(p.Next(j)));
    edgeReach.emplace_back(p.X(j), p.Y(j), p.X(p.Next(j)), p.Y(p.Next(j)), c);
  }
  pieces = pieces.Without([&](int i) {
    if (exempt(pieces, i)) return false;
    for (size_t e = 0; e < edges.size(); ++e) {
      for (auto [px, py] : {std::pair{pieces.x1[i], pieces.y1[i]}, {pieces.x2[i], pieces.y2[i]}})
        if (edgeReach[e].Holds(px, py) && InEdgeBand(edges[e], px, py, c)) return true;
    }
    return false;
  });
  return pieces.Without([&](int i) {
    return !exempt(pieces, i) &&
           VertexOverPiece(p, pieces.x1[i], pieces.y1[i], pieces.x2[i], pieces.y2[i], c);
  });
}

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

  // Appends every loop of a loop list (sizes and points 1-based, loops back to back).
  bool AddAll(int count, const std::vector<std::int16_t>& sizes, const std::vector<double>& x,
              const std::vector<double>& y) {
    int at = 0;
    for (int l = 1; l <= count; ++l) {
      if (!Add(kClosedLoopCode, x.data() + at, y.data() + at, sizes[l])) return false;
      at += sizes[l];
    }
    return true;
  }

  void Refuse() { *loopCount_ = 0; }

 private:
  const PlaneFrame& frame_;
  int* loopCount_;
  std::int16_t* counts_;
  std::int16_t* codes_;
  float* outX_;
  float* outY_;
  float* outZ_;
  int written_ = 0;
};

// Loops traced by one of the tracers into room for what the caller can still take.
struct TracedLoops {
  int count = 0;
  std::vector<std::int16_t> sizes;
  std::vector<double> x, y;
  TracedLoops(int loopRoom, int pointRoom)
      : sizes(static_cast<size_t>(loopRoom) + 1, 0),
        x(static_cast<size_t>(pointRoom) + 1, 0.0),
        y(static_cast<size_t>(pointRoom) + 1, 0.0) {}
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

// The polygon turned into its plane frame about point 1 (x, y, z are 1-based floats).
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
  p.x.assign(n + 3, 0.0f), p.y.assign(n + 3, 0.0f);
  for (int i = 1; i <= n; ++i) {
    const double xr = dx[i] * c1 - dy[i] * s1;
    const double yr = dx[i] * s1 + dy[i] * c1;
    p.x[i] = static_cast<float>(xr * c2 - dz[i] * s2);
    p.y[i] = static_cast<float>(yr);
  }
  return p;
}

// The polygon's edges and the raw ring's edges (1-based ox, oy), cut at every crossing; the
// pieces of the raw ring are returned, except those of inverted edges.
Segments RawRingPieces(const FlatPolygon& p, bool closed, const std::vector<float>& ox,
                       const std::vector<float>& oy) {
  const int E = p.edges;
  Segments list;
  for (int i = 1; i <= E; ++i)
    list.Add(p.X(i), p.Y(i), p.X(p.Next(i)), p.Y(p.Next(i)), kInputEdgeMark);
  for (int i = 1; i <= E; ++i) {
    const int next = p.Next(i);
    const bool end = !closed && (i == 1 || i == E);
    const double along = (static_cast<double>(ox[next]) - ox[i]) * (p.X(next) - p.X(i)) +
                         (static_cast<double>(oy[next]) - oy[i]) * (p.Y(next) - p.Y(i));
    const float mark = end           ? kEndOffsetEdgeMark
                       : along < 0.0 ? kInvertedOffsetEdgeMark
                                     : kOffsetEdgeMark;
    list.Add(ox[i], oy[i], ox[next], oy[next], mark);
  }
  // Inverted edges still cut the others, so the remaining pieces end where they would anyway.
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
// then the loops closed by kept pieces that touch none of those loops.
void TraceAndWriteLoops(const FlatPolygon& p, bool closed, const std::vector<float>& ox,
                        const std::vector<float>& oy, const Segments& kept, LoopWriter& writer) {
  const int n = p.n;
  Segments traceInput;
  if (!closed) {
    for (int i = 1; i < n; ++i)
      traceInput.Add(p.X(i), p.Y(i), p.X(i + 1), p.Y(i + 1), kInputEdgeMark);
    traceInput.Add(p.X(1), p.Y(1), ox[1], oy[1], kCapMark);
    traceInput.Add(p.X(n), p.Y(n), ox[n], oy[n], kCapMark);
  }
  for (int i = 1; i <= kept.Count(); ++i) traceInput.AddFrom(kept, i);
  TracedLoops outside(writer.LoopsLeft(), writer.PointsLeft());
  if (!TraceOffsetLoops(traceInput.Count(), traceInput.x1.data(), traceInput.y1.data(),
                        traceInput.x2.data(), traceInput.y2.data(), &outside.count,
                        outside.sizes.data(), outside.x.data(), outside.y.data(),
                        writer.LoopsLeft(), writer.PointsLeft()) ||
      !writer.AddAll(outside.count, outside.sizes, outside.x, outside.y)) {
    writer.Refuse();
    return;
  }

  const int tracedPoints = outside.Points();
  Segments leftover = kept.Without([&](int i) {
    auto near = [&](double px, double py) {
      for (int q = 1; q <= tracedPoints; ++q)
        if (std::fabs(px - outside.x[q]) < 0.1 && std::fabs(py - outside.y[q]) < 0.1) return true;
      return false;
    };
    return near(kept.x1[i], kept.y1[i]) || near(kept.x2[i], kept.y2[i]);
  });
  KernelWorkArrays work;
  TracedLoops inner(writer.LoopsLeft(), writer.PointsLeft());
  if (!TraceLoopsFromSegments(work, leftover.Count(), leftover.x1.data(), leftover.y1.data(),
                              leftover.x2.data(), leftover.y2.data(), &inner.count,
                              inner.sizes.data(), inner.x.data(), inner.y.data(),
                              writer.LoopsLeft(), writer.PointsLeft()) ||
      !writer.AddAll(inner.count, inner.sizes, inner.x, inner.y))
    writer.Refuse();
}

enum class OpenResult { Loops, PieceList };

int Offset(OpenResult openResult, int n, int mode, const float x[], const float y[],
           const float z[], const float* distance, int* loopCount, std::int16_t counts[],
           std::int16_t codes[], float outX[], float outY[], float outZ[]) {
  *loopCount = 0;
  if (!UsableInput(n, mode, x, y, z, distance)) return 1;
  const bool closed = mode == kOffsetClosedMode;
  PlaneFrame frame;
  FlatPolygon p = ToPlaneFrame(n, closed, x, y, z, &frame);
  std::vector<float> ox(n + 3, 0.0f), oy(n + 3, 0.0f);
  OffsetPolygonEdges(p.x.data(), p.y.data(), n, mode, *distance, ox.data(), oy.data());
  const Segments kept = KeepClearPieces(p, RawRingPieces(p, closed, ox, oy),
                                        std::fabs(static_cast<double>(*distance)) - 0.1);
  LoopWriter writer(frame, loopCount, counts, codes, outX, outY, outZ);
  if (!closed && openResult == OpenResult::PieceList)
    WritePieceList(kept, writer);
  else
    TraceAndWriteLoops(p, closed, ox, oy, kept, writer);
  return 1;
}

}  // namespace

int OffsetPolygonEdges(float x[], float y[], int pointCount, int mode, float distance,
                       float offsetX[], float offsetY[]) {
  const int n = pointCount;
  const double d = distance;
  const bool closed = mode == kOffsetClosedMode;
  if (closed) {
    x[n + 1] = x[1], y[n + 1] = y[1];
    x[n + 2] = x[2], y[n + 2] = y[2];
  }
  const int edges = closed ? n + 1 : n - 1;
  std::vector<float> mx(edges + 1, 0.0f), my(edges + 1, 0.0f);
  for (int i = 1; i <= edges; ++i)
    OffsetMidpoint(x[i], y[i], x[i + 1], y[i + 1], d, &mx[i], &my[i]);

  // The corner at vertex i + 1 joins edge i and edge i + 1.
  const int corners = closed ? n : n - 2;
  for (int i = 1; i <= corners; ++i) {
    const MovedLine l1 = LineThrough(x[i], y[i], x[i + 1], y[i + 1], mx[i], my[i]);
    const MovedLine l2 = LineThrough(x[i + 1], y[i + 1], x[i + 2], y[i + 2], mx[i + 1], my[i + 1]);
    if (std::fabs(l1.k - l2.k) < 0.01) {
      MoveLeft(x[i + 1], y[i + 1], LineAngle(x[i + 1], y[i + 1], x[i + 2], y[i + 2]), d,
               &offsetX[i + 1], &offsetY[i + 1]);
      continue;
    }
    double X = 0.0, Y = 0.0;
    CornerOfLines(l1, mx[i], my[i], l2, mx[i + 1], my[i + 1], &X, &Y);
    offsetX[i + 1] = static_cast<float>(X);
    offsetY[i + 1] = static_cast<float>(Y);
  }
  if (closed) {
    offsetX[1] = offsetX[n + 1], offsetY[1] = offsetY[n + 1];
  } else {
    MoveLeft(x[1], y[1], LineAngle(x[1], y[1], x[2], y[2]), d, &offsetX[1], &offsetY[1]);
    MoveLeft(x[n], y[n], LineAngle(x[n - 1], y[n - 1], x[n], y[n]), d, &offsetX[n], &offsetY[n]);
  }
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
