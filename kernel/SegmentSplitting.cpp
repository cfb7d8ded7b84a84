// Cutting a segment list at its crossings, with the removal of repeated pieces.
#include "SegmentSplitting.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "KernelPrimitives.h"
#include "UniformGrid.h"

using namespace kernel;

namespace {

// The range tolerance, held as the single-precision 0.01 on purpose.
constexpr float kRangeTolerance = 0.01f;

struct Segment {
  double xs, ys, xe, ye;
  double Dx() const { return xe - xs; }
  double Dy() const { return ye - ys; }
  double MinX() const { return xs < xe ? xs : xe; }
  double MaxX() const { return xs < xe ? xe : xs; }
  double MinY() const { return ys < ye ? ys : ye; }
  double MaxY() const { return ys < ye ? ye : ys; }
};

// A line's slope with what kind of line it is: upright and level lines are told by the
// flag, so a sloped line whose slope happens to be 555 or 666 stays sloped.
struct Line {
  enum Kind { Sloped, Upright, Level } kind = Sloped;
  double k = 0.0;  // slope of a sloped line
  double c = 0.0;  // intercept of a sloped line
  bool SameKind(const Line& o) const { return kind == o.kind; }
};

Line LineOf(const Segment& s) {
  Line line;
  const bool vertical = std::fabs(s.Dx()) <= 0.001;
  const bool horizontal = std::fabs(s.Dy()) <= 0.001;
  if (vertical) line.kind = Line::Upright;
  if (horizontal) line.kind = Line::Level;
  if (!vertical && !horizontal) {
    line.k = s.Dy() / s.Dx();
    line.c = s.ys - line.k * s.xs;
  }
  return line;
}

bool BoxesTouch(const GridBox& i, const GridBox& j) {
  const float e = kRangeTolerance;
  return j.maxX >= i.minX - e && j.minX <= i.maxX + e && j.maxY >= i.minY - e &&
         j.minY <= i.maxY + e;
}

// Two lines that the crossing formula cannot separate: both upright, both level, or both
// sloped with slopes closer than 0.0002.
bool Parallel(const Line& a, const Line& b) {
  if (!a.SameKind(b)) return false;
  return a.kind != Line::Sloped || std::fabs(a.k - b.k) < 0.0002;
}

bool StrictlyInsideShrunk(double v, double a, double b) {
  const float e = kRangeTolerance;
  const double lo = a < b ? a : b, hi = a < b ? b : a;
  return lo + e < v && v < hi - e;
}

// Whether a point on the segment's line lies within the segment, widened by e beyond each
// end, on its dominant axis (either axis when the two extents are equal).
bool WithinWidened(const Segment& s, double X, double Y) {
  const float e = kRangeTolerance;
  const double ax = std::fabs(s.Dx()), ay = std::fabs(s.Dy());
  const bool byY = ax <= ay && s.MinY() - e <= Y && Y <= s.MaxY() + e;
  const bool byX = ay <= ax && s.MinX() - e <= X && X <= s.MaxX() + e;
  return byX || byY;
}

// The crossing point of two lines of different slopes.
void CrossingPoint(const Segment& i, const Line& li, const Segment& j, const Line& lj, double* X,
                   double* Y) {
  if (li.kind == Line::Upright && lj.kind == Line::Level) {
    *X = i.xs, *Y = j.ys;
  } else if (li.kind == Line::Level && lj.kind == Line::Upright) {
    *X = j.xs, *Y = i.ys;
  } else if (li.kind == Line::Upright) {
    *X = i.xs, *Y = lj.k * i.xs + lj.c;
  } else if (lj.kind == Line::Upright) {
    *X = j.xs, *Y = li.k * j.xs + li.c;
  } else if (li.kind == Line::Level) {
    *Y = i.ys, *X = (i.ys - lj.c) / lj.k;
  } else if (lj.kind == Line::Level) {
    *Y = j.ys, *X = (j.ys - li.c) / li.k;
  } else {
    *X = (lj.c - li.c) / (li.k - lj.k);
    *Y = (li.k * lj.c - lj.k * li.c) / (li.k - lj.k);
  }
}

struct CutList {
  std::vector<double> x{0.0}, y{0.0};
  void Clear() { x.resize(1), y.resize(1); }
  void Add(double px, double py) {
    x.push_back(px);
    y.push_back(py);
  }
  int Count() const { return static_cast<int>(x.size()) - 1; }
};

// Ends of j that overlap i when both lie on one line that is neither horizontal nor vertical:
// turned about i's start so that i runs along +x (in single precision).
void AddCollinearOverlap(const Segment& i, const Segment& j, CutList& cuts) {
  const double angle = LineAngle(i.xs, i.ys, i.xe, i.ye);
  const float cosA = static_cast<float>(std::cos(-angle));
  const float sinA = static_cast<float>(std::sin(-angle));
  const float ox = static_cast<float>(i.xs), oy = static_cast<float>(i.ys);
  auto turnX = [&](double x, double y) {
    const float dx = static_cast<float>(x) - ox, dy = static_cast<float>(y) - oy;
    return ox + dx * cosA - dy * sinA;
  };
  auto turnY = [&](double x, double y) {
    const float dx = static_cast<float>(x) - ox, dy = static_cast<float>(y) - oy;
    return oy + dx * sinA + dy * cosA;
  };
  if (!(std::fabs(turnY(j.xs, j.ys) - oy) < 0.01)) return;
  const float endX = turnX(i.xe, i.ye);
  if (StrictlyInsideShrunk(turnX(j.xs, j.ys), ox, endX)) cuts.Add(j.xs, j.ys);
  if (StrictlyInsideShrunk(turnX(j.xe, j.ye), ox, endX)) cuts.Add(j.xe, j.ye);
}

// Every point where segment j meets segment i.
void AddCutsFrom(const Segment& i, const Line& li, const Segment& j, const Line& lj,
                 CutList& cuts) {
  if (li.kind == Line::Level && lj.kind == Line::Level && std::fabs(i.ys - j.ys) < 0.01) {
    if (StrictlyInsideShrunk(j.xs, i.xs, i.xe)) cuts.Add(j.xs, j.ys);
    if (StrictlyInsideShrunk(j.xe, i.xs, i.xe)) cuts.Add(j.xe, j.ye);
  } else if (li.kind == Line::Upright && lj.kind == Line::Upright &&
             std::fabs(i.xs - j.xs) < 0.01) {
    if (StrictlyInsideShrunk(j.ys, i.ys, i.ye)) cuts.Add(j.xs, j.ys);
    if (StrictlyInsideShrunk(j.ye, i.ys, i.ye)) cuts.Add(j.xe, j.ye);
  } else if (!Parallel(li, lj)) {
    double X = 0.0, Y = 0.0;
    CrossingPoint(i, li, j, lj, &X, &Y);
    if (WithinWidened(i, X, Y) && WithinWidened(j, X, Y)) cuts.Add(X, Y);
  } else {
    AddCollinearOverlap(i, j, cuts);
  }
}

struct Piece {
  Segment s;
  float attr;
};

// The segments (0-based here) with their lines and boxes, worked out once, and the grid
// that finds the segments whose boxes may touch.
struct SegmentSet {
  std::vector<Segment> segments;
  std::vector<Line> lines;
  std::vector<GridBox> boxes;
  UniformGrid grid;
  std::vector<int> near;  // query result, reused
  CutList cuts;           // cut points of the segment under way, reused
  std::vector<double> z;  // the third coordinate the point routines carry, reused
};

// Cuts segment i of the set into its pieces, appended to pieces. The other segments are
// tried in list order, so equal cut points come in the order a plain scan finds them.
void CutSegment(SegmentSet& set, int i, float attr, std::vector<Piece>& pieces) {
  const Segment& si = set.segments[i];
  if (std::fabs(si.Dx()) <= 0.01 && std::fabs(si.Dy()) <= 0.01) return;
  const Line& li = set.lines[i];
  CutList& cuts = set.cuts;
  cuts.Clear();
  cuts.Add(si.xs, si.ys);
  set.grid.QueryKept(GridBox::Around(si.xs, si.ys, si.xe, si.ye, kRangeTolerance), set.near,
                     [&](int j) { return j != i && BoxesTouch(set.boxes[i], set.boxes[j]); });
  for (int j : set.near) AddCutsFrom(si, li, set.segments[j], set.lines[j], cuts);
  cuts.Add(si.xe, si.ye);

  int count = cuts.Count();
  if (count > 2) {
    std::vector<double>& z = set.z;
    z = cuts.y;
    RemoveCoincidentPoints(0, cuts.x.data(), cuts.y.data(), z.data(), &count);
    if (count > 2) {
      const int sortMode = std::fabs(si.Dy()) <= std::fabs(si.Dx()) ? 1 : 2;
      RemoveCoincidentPoints(sortMode, cuts.x.data(), cuts.y.data(), z.data(), &count);
    }
  }
  for (int p = 1; p < count; ++p)
    pieces.push_back({{cuts.x[p], cuts.y[p], cuts.x[p + 1], cuts.y[p + 1]}, attr});
}

bool SamePiece(const Segment& a, const Segment& b) {
  auto near = [](double u, double v) { return std::fabs(u - v) <= 0.01; };
  const bool same = near(a.xs, b.xs) && near(a.ys, b.ys) && near(a.xe, b.xe) && near(a.ye, b.ye);
  const bool reversed =
      near(a.xs, b.xe) && near(a.ys, b.ye) && near(a.xe, b.xs) && near(a.ye, b.ys);
  return same || reversed;
}

// The side of the cells that hash the piece starts: far wider than the 0.01 reach, so most
// look-ups meet one cell; starts gather at crossings, so a cell still holds few.
constexpr double kStartCell = 1.0;

// Marks the pieces that mode 1 (later copies) or mode 0 (every copy) removes. A copy
// starts within 0.01 of the piece's start or end, so the hash of starts finds them all;
// marking one copy does not change what the others are, so they are visited in any order.
std::vector<bool> RepeatedPieces(int mode, const std::vector<Piece>& pieces) {
  std::vector<bool> dropped(pieces.size(), false);
  if (mode != 0 && mode != 1) return dropped;
  std::vector<double> startX, startY;
  startX.reserve(pieces.size()), startY.reserve(pieces.size());
  for (const Piece& p : pieces) startX.push_back(p.s.xs), startY.push_back(p.s.ys);
  PointHash starts;
  starts.Build(startX, startY, kStartCell);
  for (size_t p = 0; p < pieces.size(); ++p) {
    if (dropped[p]) continue;
    const Segment& s = pieces[p].s;
    bool repeated = false;
    auto drop = [&](int q) {
      if (q > static_cast<int>(p) && !dropped[q] && SamePiece(s, pieces[q].s)) {
        dropped[q] = true;
        repeated = true;
      }
    };
    starts.ForEach(s.xs, s.ys, 0.01, drop);
    starts.ForEach(s.xe, s.ye, 0.01, drop);
    if (mode == 0 && repeated) dropped[p] = true;
  }
  return dropped;
}

}  // namespace

std::vector<SplitPiece> SplitSegmentList(int mode, const std::vector<SplitPiece>& in) {
  SegmentSet set;
  for (const SplitPiece& g : in) {
    set.segments.push_back({g.x1, g.y1, g.x2, g.y2});
    set.lines.push_back(LineOf(set.segments.back()));
    set.boxes.push_back(GridBox::Around(g.x1, g.y1, g.x2, g.y2));
  }
  set.grid.Build(set.boxes);

  std::vector<Piece> pieces;
  pieces.reserve(in.size());
  for (size_t i = 0; i < in.size(); ++i)
    if (!in[i].cutOnly) CutSegment(set, static_cast<int>(i), in[i].attr, pieces);

  const std::vector<bool> dropped = RepeatedPieces(mode, pieces);
  std::vector<SplitPiece> out;
  out.reserve(pieces.size());
  for (size_t p = 0; p < pieces.size(); ++p) {
    if (dropped[p]) continue;
    const Segment& g = pieces[p].s;
    out.push_back({g.xs, g.ys, g.xe, g.ye, pieces[p].attr});
  }
  return out;
}

void SplitSegmentsAtCrossings(int mode, int n, const double x1[], const double y1[],
                              const double x2[], const double y2[], const float attr[],
                              int* outCount, double outX1[], double outY1[], double outX2[],
                              double outY2[], float outAttr[], int outCapacity) {
  *outCount = 0;
  if (n < 1) return;
  std::vector<SplitPiece> in;
  for (int i = 1; i <= n; ++i) in.push_back({x1[i], y1[i], x2[i], y2[i], attr[i]});
  const std::vector<SplitPiece> pieces = SplitSegmentList(mode, in);
  // The caller's arrays cannot hold the result.
  if (pieces.size() > static_cast<size_t>(std::max(outCapacity, 0))) return;
  int k = 0;
  for (const SplitPiece& g : pieces) {
    ++k;
    outX1[k] = g.x1, outY1[k] = g.y1, outX2[k] = g.x2, outY2[k] = g.y2, outAttr[k] = g.attr;
  }
  *outCount = k;
}
