// Where a closed path winds, and the pieces of the path that bound it.
#include "PathWinding.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "UniformGrid.h"

namespace kernel {

// ----- winding number -----

// An edge that spans the whole column counts for every point of the column that lies well
// below it, added up once per column in order of height; only the spanning edges at about
// the point's height, and the edges that end in the column, are tried one by one, with the
// same test as a plain loop over all edges.
PathWinding::PathWinding(const std::vector<double>& x, const std::vector<double>& y, int edges)
    : x_(x), y_(y) {
  double x1 = x[1], x2 = x[1], total = 0.0;
  std::vector<double> extents(edges);
  for (int i = 1; i <= edges; ++i) {
    x1 = std::min(x1, x[i]), x2 = std::max(x2, x[i]);
    extents[i - 1] = std::fabs(x[i + 1] - x[i]);
    total += extents[i - 1];
  }
  // Columns about as wide as a typical edge, so that the band of spans searched about a
  // point stays short, but wide enough that all edges together span about two columns
  // each (a few long edges would otherwise be entered in thousands of columns).
  std::nth_element(extents.begin(), extents.begin() + edges / 2, extents.end());
  const double width = x2 - x1;
  double w = std::max({width / (2.0 * edges + 16.0), extents[edges / 2], total / (2.0 * edges)});
  if (!(w > 0.0)) w = 1.0;
  x0_ = x1, w_ = w, inverse_ = 1.0 / w;
  cols_ = static_cast<int>(width * inverse_) + 1;
  // Beyond this from a column's side an edge surely lies on that side for every point
  // that the column holds (rounding of the column look-up included).
  const double delta = 1e-9 * (std::fabs(x1) + std::fabs(x2) + w);

  // Every edge column by column, as a span or as an end to try; called twice, once to
  // count what each column holds and once to file it, so nothing is collected twice.
  auto visit = [&](auto onEnd, auto onSpan) {
    for (int i = 1; i <= edges; ++i) {
      const double ax = x[i], ay = y[i], bx = x[i + 1], by = y[i + 1];
      if (ax == bx) continue;  // never crosses a vertical by the half-open test
      const double lo = std::min(ax, bx), hi = std::max(ax, bx);
      const double slope = (by - ay) / (bx - ax);
      const double slack = 1e-6 * (1.0 + std::fabs(ay) + std::fabs(by)) + std::fabs(slope) * delta;
      const End end{lo, hi, std::max(ay, by) + slack, i};
      for (int c = Column(lo); c <= Column(hi); ++c) {
        const double left = x0_ + c * w_, right = left + w_;
        const bool across = c > 0 && c < cols_ - 1 && lo < left - delta && hi > right + delta;
        const double yl = ay + (left - ax) * slope, yr = ay + (right - ax) * slope;
        const double bottom = std::min(yl, yr) - slack, top = std::max(yl, yr) + slack;
        // A steep edge is tried one by one, so the band searched about a point stays short.
        if (across && top - bottom <= 4.0 * w_)
          onSpan(c, Span{bottom, top, bx < ax ? 1 : -1, i, c});
        else
          onEnd(c, end);
      }
    }
  };
  // Both lists bucketed by column; the spans of a column then sorted by height.
  endStart_.assign(cols_ + 1, 0), spanStart_.assign(cols_ + 1, 0), tallest_.assign(cols_, 0.0);
  visit([&](int c, const End&) { ++endStart_[c + 1]; },
        [&](int c, const Span& sp) {
          ++spanStart_[c + 1];
          tallest_[c] = std::max(tallest_[c], sp.top - sp.bottom);
        });
  for (int c = 0; c < cols_; ++c) {
    endStart_[c + 1] += endStart_[c];
    spanStart_[c + 1] += spanStart_[c];
  }
  ends_.resize(endStart_[cols_]), spans_.resize(spanStart_[cols_]);
  std::vector<int> endFill(endStart_.begin(), endStart_.end() - 1);
  std::vector<int> spanFill(spanStart_.begin(), spanStart_.end() - 1);
  visit([&](int c, const End& e) { ends_[endFill[c]++] = e; },
        [&](int c, const Span& sp) { spans_[spanFill[c]++] = sp; });
  for (int c = 0; c < cols_; ++c)
    std::sort(spans_.begin() + spanStart_[c], spans_.begin() + spanStart_[c + 1],
              [](const Span& a, const Span& b) { return a.bottom < b.bottom; });
  // above_[k]: the turns of span k and of those after it in its column.
  above_.assign(spans_.size() + 1, 0);
  for (size_t k = spans_.size(); k-- > 0;)
    above_[k] = spans_[k].turn +
                (k + 1 < spans_.size() && spans_[k + 1].column == spans_[k].column ? above_[k + 1] : 0);
}

int PathWinding::At(double px, double py) const {
  const int c = Column(px);
  int winding = 0;
  for (int k = endStart_[c]; k < endStart_[c + 1]; ++k) {
    const End& e = ends_[k];
    if (e.lo <= px && px < e.hi && e.top > py) winding += Crossing(e.edge, px, py);
  }
  const Span* first = spans_.data() + spanStart_[c];
  const Span* last = spans_.data() + spanStart_[c + 1];
  // Spans whose bottom lies above the point surely cross the ray; below the point, only
  // those within the column's tallest span of it can reach it.
  const Span* above =
      std::upper_bound(first, last, py, [](double v, const Span& sp) { return v < sp.bottom; });
  if (above != last) winding += above_[above - spans_.data()];
  for (const Span* sp = above; sp != first && (sp - 1)->bottom >= py - tallest_[c]; --sp)
    if ((sp - 1)->top > py) winding += Crossing((sp - 1)->edge, px, py);
  return winding;
}

int PathWinding::Column(double x) const {
  const double c = (x - x0_) * inverse_;
  return c < 1.0 ? 0 : c >= cols_ - 1 ? cols_ - 1 : static_cast<int>(c);
}

// What edge i adds to the winding about (px, py): the plain ray test.
int PathWinding::Crossing(int i, double px, double py) const {
  const double ax = x_[i], ay = y_[i], bx = x_[i + 1], by = y_[i + 1];
  if ((ax <= px) == (bx <= px)) return 0;
  const double yAt = ay + (px - ax) * (by - ay) / (bx - ax);
  return yAt > py ? (bx < ax ? 1 : -1) : 0;
}

// ----- boundary pieces -----

namespace {

struct Vec {
  double x, y;
};

double Cross(Vec a, Vec b) { return a.x * b.y - a.y * b.x; }
double Dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y; }

// A stretch of segment k of the path, from fraction t0 to t1 of the way along it. A margin
// only passes near a cell where the winding is unsettled and lies where it is settled: it
// cuts the stretches about it, so that a crossing at a cell's side is found from both sides
// and a piece beside it knows it passes by, but no boundary runs along it, and since its
// crossings with segments that do not reach that far are not looked for, the winding is
// not carried across it.
struct Stretch {
  int segment;
  double t0, t1;
  bool margin = false;
};

// The stretches of the path that may bound the region, in path order, each as a segment of
// its own with its box (widened by the reach within which one cuts another) in a grid. A
// margin, and a stretch of a segment flagged in the path's cutsOnly, only cuts the others:
// it gives no pieces.
struct Stretches {
  std::vector<Stretch> part;
  std::vector<Vec> start, end, along;
  std::vector<double> length2;
  std::vector<unsigned char> goesOn;    // the next stretch starts where this one ends
  std::vector<unsigned char> cutsOnly;  // a margin, or of a segment that only cuts
  std::vector<GridBox> boxes;
  UniformGrid grid;

  Stretches(const std::vector<double>& x, const std::vector<double>& y, std::vector<Stretch> parts,
            const std::vector<unsigned char>& segmentCutsOnly, double reach)
      : part(std::move(parts)) {
    const size_t count = part.size();
    const int m = static_cast<int>(x.size()) - 2;
    start.resize(count), end.resize(count), along.resize(count), length2.resize(count);
    goesOn.resize(count), cutsOnly.resize(count), boxes.resize(count);
    for (size_t i = 0; i < count; ++i) {
      const Stretch& p = part[i];
      const int k = p.segment;
      const Vec w{x[k + 1] - x[k], y[k + 1] - y[k]};
      start[i] = p.t0 == 0.0 ? Vec{x[k], y[k]} : Vec{x[k] + p.t0 * w.x, y[k] + p.t0 * w.y};
      end[i] = p.t1 == 1.0 ? Vec{x[k + 1], y[k + 1]} : Vec{x[k] + p.t1 * w.x, y[k] + p.t1 * w.y};
      along[i] = {end[i].x - start[i].x, end[i].y - start[i].y};
      length2[i] = Dot(along[i], along[i]);
      boxes[i] = GridBox::Around(start[i].x, start[i].y, end[i].x, end[i].y, reach);
      const Stretch& q = part[(i + 1) % count];
      goesOn[i] = (p.t1 == 1.0 && q.t0 == 0.0 && q.segment == (k == m ? 1 : k + 1)) ||
                  (q.segment == k && q.t0 == p.t1);
      cutsOnly[i] = p.margin || segmentCutsOnly[k];
    }
    grid.Build(boxes);
  }

  size_t Count() const { return part.size(); }
  // Whether stretches a < b go on one from the other: 1 when a's end is b's start, -1 when
  // b's end is a's start (the last and the first), 0 when neither.
  int Sharing(int a, int b) const {
    const int count = static_cast<int>(part.size());
    return (b == a + 1 && goesOn[a]) ? 1 : (a == 0 && b == count - 1 && goesOn[b]) ? -1 : 0;
  }
  // Whether the crossings of stretches a < b are not looked for: neither gives pieces, and
  // they do not go on one from the other (joins across neighbouring corners of a finely
  // drawn curve shrunk far fan out by the thousand). The winding is then not carried across
  // either.
  bool Unlooked(int a, int b) const { return cutsOnly[a] && cutsOnly[b] && Sharing(a, b) == 0; }
  size_t Next(size_t i) const { return i + 1 == part.size() ? 0 : i + 1; }
  size_t Before(size_t i) const { return i == 0 ? part.size() - 1 : i - 1; }

  // The squared distance from a point to stretch j.
  double Distance2(size_t j, Vec p) const {
    const Vec v{p.x - start[j].x, p.y - start[j].y}, w = along[j];
    const double t = length2[j] > 0.0 ? std::clamp(Dot(v, w) / length2[j], 0.0, 1.0) : 0.0;
    const double dx = v.x - t * w.x, dy = v.y - t * w.y;
    return dx * dx + dy * dy;
  }
};

// A place on a stretch where another stretch cuts it, as the fraction of the way from its
// start to its end, or kNoCut where the other only passes near. A clean crossing (the other
// goes right through, neither end nearby) changes the winding on the stretch's left by turn.
struct Cut {
  int stretch;
  double t;
  int other;
  int turn;  // +1 or -1 for a clean crossing, 0 for any other cut
};
constexpr double kNoCut = -1.0;

// Stretches nearer than this to each other run along each other.
constexpr double kCoincident = 1e-6;
// Relative size of the turn below which two stretches are taken as parallel: their crossing,
// if any, is then found through their ends lying on each other.
constexpr double kParallelSine = 1e-9;

// Adds the cuts that stretches a and b make on each other: where they cross, and at the foot
// of an end of one that lies within reach of the other (a junction, or where the two run
// along each other). Two stretches that meet or come within reach of each other are noted as
// neighbours of each other, and as not clean unless one just crosses the other. Stretches
// that go on one from the other (sharing = 1: a's end is b's start; sharing = -1: b's end is
// a's start) meet at their common point anyway: only their other ends are tried.
void CutPair(const Stretches& s, int a, int b, int sharing, double reach, std::vector<Cut>& cuts,
             std::vector<unsigned char>& unclean) {
  const Vec r = s.along[a], q = s.along[b];
  const double ra = s.length2[a], qb = s.length2[b];
  if (!(ra > 0.0) || !(qb > 0.0)) {
    unclean[a] = unclean[b] = 1;
    return;
  }
  const size_t before = cuts.size();
  bool near = false, crossed = false;
  const Vec d{s.start[b].x - s.start[a].x, s.start[b].y - s.start[a].y};
  const double denom = Cross(r, q);
  double t = 0.0, u = 0.0;
  if (sharing == 0 && std::fabs(denom) > kParallelSine * std::sqrt(ra * qb)) {
    t = Cross(d, q) / denom, u = Cross(d, r) / denom;
    if (t >= 0.0 && t <= 1.0 && u >= 0.0 && u <= 1.0) {
      crossed = t > 0.0 && t < 1.0 && u > 0.0 && u < 1.0;
      near = !crossed;
      if (t > 0.0 && t < 1.0) cuts.push_back({a, t, b, 0});
      if (u > 0.0 && u < 1.0) cuts.push_back({b, u, a, 0});
    }
  }
  // The end e of stretch from within reach of stretch onto.
  auto endOn = [&](int onto, int from, Vec e) {
    const Vec o = s.start[onto], w = s.along[onto];
    const Vec v{e.x - o.x, e.y - o.y};
    const double f = Dot(v, w) / s.length2[onto];
    const double foot = std::clamp(f, 0.0, 1.0);
    const double dx = v.x - foot * w.x, dy = v.y - foot * w.y;
    if (!(dx * dx + dy * dy < reach * reach)) return;
    near = true;
    if (f > 0.0 && f < 1.0) cuts.push_back({onto, f, from, 0});
  };
  if (sharing != 1) endOn(b, a, s.end[a]), endOn(a, b, s.start[b]);
  if (sharing != -1) endOn(b, a, s.start[a]), endOn(a, b, s.end[b]);
  if (crossed && !near) {
    // Going along a past b, the left of a passes from b's right to its left, or back.
    cuts[before].turn = Cross(q, r) > 0.0 ? 1 : -1;
    cuts[before + 1].turn = Cross(r, q) > 0.0 ? 1 : -1;
  }
  if (near) unclean[a] = unclean[b] = 1;
  if (near || crossed) {
    cuts.push_back({a, kNoCut, b, 0});
    cuts.push_back({b, kNoCut, a, 0});
  }
}

// Calls visit(i, j) once for every pair of boxes i < j of the grid that overlap: in the cell
// holding the lower left corner of their overlap; stops when visit returns false.
template <typename Visit>
void ForEachOverlap(const UniformGrid& grid, const std::vector<GridBox>& boxes, Visit visit) {
  for (int r = 0; r < grid.Rows(); ++r) {
    for (int c = 0; c < grid.Columns(); ++c) {
      const int* begin = grid.CellBegin(c, r);
      const int* end = grid.CellEnd(c, r);
      for (const int* i = begin; i != end; ++i) {
        const GridBox& bi = boxes[*i];
        for (const int* j = i + 1; j != end; ++j) {
          const GridBox& bj = boxes[*j];
          const double minX = std::max(bi.minX, bj.minX), minY = std::max(bi.minY, bj.minY);
          if (minX > std::min(bi.maxX, bj.maxX) || minY > std::min(bi.maxY, bj.maxY)) continue;
          if (grid.Column(minX) != c || grid.Row(minY) != r) continue;
          if (!visit(*i, *j)) return;
        }
      }
    }
  }
}

// Every cut of every stretch, grouped by stretch (cuts[start[i]..start[i + 1]) are stretch
// i's: first its neighbours, then its cuts in order along it), and which stretches are not
// clean: touched by another, or met at an end, or running along another.
struct StretchCuts {
  std::vector<Cut> cuts;
  std::vector<int> start;
  std::vector<unsigned char> unclean;
};

StretchCuts AllCuts(const Stretches& s, double reach) {
  const int count = static_cast<int>(s.Count());
  std::vector<Cut> found;
  found.reserve(4 * static_cast<size_t>(count));
  StretchCuts grouped;
  grouped.unclean.assign(count, 0);
  ForEachOverlap(s.grid, s.boxes, [&](int a, int b) {
    if (s.part[a].margin && s.part[b].margin) return true;  // neither gives pieces
    if (s.Unlooked(a, b)) {
      grouped.unclean[a] = grouped.unclean[b] = 1;
      return true;
    }
    CutPair(s, a, b, s.Sharing(a, b), reach, found, grouped.unclean);
    return true;
  });
  grouped.start.assign(count + 1, 0);
  for (const Cut& cut : found) ++grouped.start[cut.stretch + 1];
  for (int i = 0; i < count; ++i) grouped.start[i + 1] += grouped.start[i];
  grouped.cuts.resize(found.size());
  std::vector<int> fill(grouped.start.begin(), grouped.start.end() - 1);
  for (const Cut& cut : found) grouped.cuts[fill[cut.stretch]++] = cut;
  for (int i = 0; i < count; ++i)
    std::sort(grouped.cuts.begin() + grouped.start[i], grouped.cuts.begin() + grouped.start[i + 1],
              [](const Cut& u, const Cut& v) { return u.t < v.t; });
  return grouped;
}

// Points asked by a plain ray test over every segment before the column index pays (it
// costs about as much to build as this many plain tests).
constexpr int kPlainWindingTests = 48;

// The winding of the closed path about a point by the plain ray test over all m segments.
int PlainWinding(const std::vector<double>& x, const std::vector<double>& y, int m, double px,
                 double py) {
  int winding = 0;
  for (int i = 1; i <= m; ++i) {
    const double ax = x[i], ay = y[i], bx = x[i + 1], by = y[i + 1];
    if ((ax <= px) == (bx <= px)) continue;
    const double yAt = ay + (px - ax) * (by - ay) / (bx - ax);
    if (yAt > py) winding += bx < ax ? 1 : -1;
  }
  return winding;
}

// ----- where the winding is settled -----

// Pairs of boxes sharing a cell per segment, and of those the pairs that overlap and are
// looked at, beyond which the path is taken to cross itself too often to cut everywhere
// (boxes of a size share a cell two to five times as often as they overlap).
constexpr double kCrowdedPairs = 64.0;
constexpr double kCrowdedOverlaps = 16.0;
// A cell of the search with at most this many segments is not divided further.
constexpr size_t kFewSegments = 8;
// Cells divided in all, per segment of the path, at most.
constexpr size_t kDivisionsPerSegment = 16;
// Nor is a cell this small (millimetres).
constexpr double kSmallestCell = 1.0;
// Segments within this of a cell (millimetres) count as in it, and their stretches reach
// this far beyond it as margins: crossings at a cell's side are found from both sides, and
// a segment passing just outside a cell is known to the pieces inside that it passes by.
// Above the side step at which pieces are sampled.
constexpr double kStretchMargin = 0.2;

// The fractions of the way along the segment from a to b that lie in the box (none when
// t0 > t1).
void ClipToBox(Vec a, Vec b, const GridBox& box, double* t0, double* t1) {
  *t0 = 0.0, *t1 = 1.0;
  const double d[2] = {b.x - a.x, b.y - a.y};
  const double lo[2] = {box.minX - a.x, box.minY - a.y}, hi[2] = {box.maxX - a.x, box.maxY - a.y};
  for (int axis = 0; axis < 2 && *t0 <= *t1; ++axis) {
    if (d[axis] == 0.0) {
      if (lo[axis] > 0.0 || hi[axis] < 0.0) *t1 = -1.0;
      continue;
    }
    double u = lo[axis] / d[axis], v = hi[axis] / d[axis];
    if (u > v) std::swap(u, v);
    *t0 = std::max(*t0, u), *t1 = std::min(*t1, v);
  }
}

// What crossing the segment from a to b adds to the winding of a point moving from p to q:
// +1 when it is passed from its right to its left, -1 the other way, 0 when not met. A way
// that touches the segment at an end or runs through one of its ends is not clean.
int Crossed(Vec p, Vec q, Vec a, Vec b, bool* clean) {
  const double o1 = Cross({q.x - p.x, q.y - p.y}, {a.x - p.x, a.y - p.y});
  const double o2 = Cross({q.x - p.x, q.y - p.y}, {b.x - p.x, b.y - p.y});
  if ((o1 > 0.0 && o2 > 0.0) || (o1 < 0.0 && o2 < 0.0)) return 0;
  const double o3 = Cross({b.x - a.x, b.y - a.y}, {p.x - a.x, p.y - a.y});
  const double o4 = Cross({b.x - a.x, b.y - a.y}, {q.x - a.x, q.y - a.y});
  if ((o3 > 0.0 && o4 > 0.0) || (o3 < 0.0 && o4 < 0.0)) return 0;
  if (o1 == 0.0 || o2 == 0.0 || o3 == 0.0 || o4 == 0.0) {
    *clean = false;
    return 0;
  }
  return o3 < 0.0 ? 1 : -1;
}

// Merges the stretches of each segment that meet or lie less than gap (millimetres) apart
// (sorted by segment, then start).
std::vector<Stretch> MergedStretches(const std::vector<double>& x, const std::vector<double>& y,
                                     std::vector<Stretch> found, double gap) {
  std::sort(found.begin(), found.end(), [](const Stretch& a, const Stretch& b) {
    return a.segment < b.segment || (a.segment == b.segment && a.t0 < b.t0);
  });
  std::vector<Stretch> merged;
  for (const Stretch& st : found) {
    const int k = st.segment;
    const double length = std::hypot(x[k + 1] - x[k], y[k + 1] - y[k]);
    const double apart = length > 0.0 ? gap / length : 1.0;
    if (!merged.empty() && merged.back().segment == k && st.t0 <= merged.back().t1 + apart)
      merged.back().t1 = std::max(merged.back().t1, st.t1);
    else
      merged.push_back(st);
  }
  return merged;
}

// The stretches of the path that lie where the winding is not settled. In a cell of a
// quadtree over the path, the winding differs from the one at a probe point by at most the
// segments the way there crosses, each by one in a direction the probe's side of it sets:
// when all that can be lies in the region, or all outside it, no boundary runs through the
// cell. Other cells are divided until they hold few segments. Where a cell is not settled,
// what lies in it of its segments is a stretch, and what lies only within the margin of it
// (of the segments that pass that near) a margin stretch.
std::vector<Stretch> UnsettledStretches(const std::vector<double>& x, const std::vector<double>& y,
                                        const PathWinding& winding, int sense) {
  const int m = static_cast<int>(x.size()) - 2;
  GridBox all{x[1], y[1], x[1], y[1]};
  for (int k = 2; k <= m; ++k)
    all = {std::min(all.minX, x[k]), std::min(all.minY, y[k]), std::max(all.maxX, x[k]),
           std::max(all.maxY, y[k])};
  const double side = std::max(all.maxX - all.minX, all.maxY - all.minY) + 1.0;
  struct Cell {
    GridBox box;
    std::vector<int> segments;  // those that meet the box
    std::vector<int> passing;   // those that only come within the margin of it
    long turns;                 // the winding at the cell's probe point
  };
  auto point = [&](int k, int end) { return Vec{x[k + end], y[k + end]}; };
  auto padded = [](const GridBox& b) {
    return GridBox{b.minX - kStretchMargin, b.minY - kStretchMargin, b.maxX + kStretchMargin,
                   b.maxY + kStretchMargin};
  };
  // Off the middle by an odd amount, so as not to fall on a segment of a regular shape.
  auto probe = [](const GridBox& b) {
    return Vec{(b.minX + b.maxX) / 2 + 1e-3 * (b.maxX - b.minX) * 0.3183,
               (b.minY + b.maxY) / 2 + 1e-3 * (b.maxY - b.minY) * 0.2718};
  };
  std::vector<Cell> open;
  const GridBox root{all.minX - 0.5, all.minY - 0.5, all.minX - 0.5 + side, all.minY - 0.5 + side};
  const Vec rootProbe = probe(root);
  open.push_back({root, {}, {}, winding.At(rootProbe.x, rootProbe.y)});
  for (int k = 1; k <= m; ++k) open.back().segments.push_back(k);
  std::vector<Stretch> inside, reached;
  // Cells divided so far, and at most: where the segments stay too many (a bundle of
  // nearly equal long segments) the search stops dividing and keeps what it holds.
  size_t divided = 0;
  const size_t mostDivided = kDivisionsPerSegment * static_cast<size_t>(m) + 1024;
  while (!open.empty()) {
    Cell cell = std::move(open.back());
    open.pop_back();
    if (cell.segments.empty()) continue;
    const GridBox& b = cell.box;
    // Going from the probe to any point of the cell crosses a segment at most once, and in
    // the direction the probe's side of it sets: the winding can fall only by the segments
    // with the probe on their left, and rise only by those with it on their right.
    const Vec at = probe(b);
    long falls = 0, rises = 0;
    for (int seg : cell.segments) {
      const Vec a = point(seg, 0), e = point(seg, 1);
      const double side = Cross({e.x - a.x, e.y - a.y}, {at.x - a.x, at.y - a.y});
      falls += side >= 0.0, rises += side <= 0.0;
    }
    const long lowest = sense > 0 ? cell.turns - falls : -(cell.turns + rises);
    const long highest = sense > 0 ? cell.turns + rises : -(cell.turns - falls);
    if (lowest >= 1 || highest <= 0) continue;
    const double size = b.maxX - b.minX;
    if (cell.segments.size() <= kFewSegments || size <= kSmallestCell || ++divided > mostDivided) {
      for (const std::vector<int>* list : {&cell.segments, &cell.passing}) {
        for (int seg : *list) {
          double t0 = 0.0, t1 = 0.0;
          ClipToBox(point(seg, 0), point(seg, 1), padded(b), &t0, &t1);
          if (t0 <= t1) reached.push_back({seg, t0, t1});
        }
      }
      for (int seg : cell.segments) {
        double t0 = 0.0, t1 = 0.0;
        ClipToBox(point(seg, 0), point(seg, 1), b, &t0, &t1);
        if (t0 <= t1) inside.push_back({seg, t0, t1});
      }
      continue;
    }
    const double half = size / 2;
    for (int q = 0; q < 4; ++q) {
      const double x0 = b.minX + (q % 2) * half, y0 = b.minY + (q / 2) * half;
      Cell child{{x0, y0, x0 + half, y0 + half}, {}, {}, cell.turns};
      const GridBox reach = padded(child.box);
      for (const std::vector<int>* list : {&cell.segments, &cell.passing}) {
        for (int seg : *list) {
          const Vec a = point(seg, 0), e = point(seg, 1);
          if (std::max(a.x, e.x) < reach.minX || std::min(a.x, e.x) > reach.maxX ||
              std::max(a.y, e.y) < reach.minY || std::min(a.y, e.y) > reach.maxY)
            continue;
          double t0 = 0.0, t1 = 0.0;
          ClipToBox(a, e, child.box, &t0, &t1);
          if (t0 <= t1) {
            child.segments.push_back(seg);
            continue;
          }
          ClipToBox(a, e, reach, &t0, &t1);
          if (t0 <= t1) child.passing.push_back(seg);
        }
      }
      // The winding at the child's probe: the parent's, changed by every segment crossed
      // on the way there; asked afresh when the way meets a segment at an end or on it.
      const Vec to = probe(child.box);
      bool clean = true;
      for (int seg : cell.segments) {
        const int change = Crossed(at, to, point(seg, 0), point(seg, 1), &clean);
        if (!clean) break;
        child.turns += change;
      }
      if (!clean) child.turns = winding.At(to.x, to.y);
      open.push_back(std::move(child));
    }
  }
  // Per segment, the stretches reached with the margins, each cut into the stretches that
  // lie inside unsettled cells and the margins beside them. A gap of no more than two
  // margins between two stretches is taken into them: every segment that crosses it
  // reaches it, so its crossings there are found.
  const std::vector<Stretch> cores = MergedStretches(x, y, std::move(inside), 2 * kStretchMargin);
  std::vector<Stretch> parts;
  parts.reserve(2 * cores.size() + 1);
  size_t c = 0;
  for (const Stretch& outer : MergedStretches(x, y, std::move(reached), 0.0)) {
    const int k = outer.segment;
    auto before = [&](const Stretch& core) {
      return core.segment < k || (core.segment == k && core.t1 < outer.t0);
    };
    while (c < cores.size() && before(cores[c])) ++c;
    double at = outer.t0;
    for (; c < cores.size() && cores[c].segment == k && cores[c].t0 <= outer.t1; ++c) {
      const double t0 = std::max(cores[c].t0, at), t1 = std::min(cores[c].t1, outer.t1);
      if (at < t0) parts.push_back({k, at, t0, true});
      if (t0 < t1) parts.push_back({k, t0, t1, false});
      at = std::max(at, t1);
    }
    if (at < outer.t1) parts.push_back({k, at, outer.t1, true});
  }
  return parts;
}

// Whether the boxes of the m segments (in the grid of the whole path's stretches) overlap so
// often that cutting every pair would cost more than settling the winding first: the
// cells' shares of boxes hold that many pairs, and so many of them overlap and are looked
// at (counted as far as that). A cell's share says little where long joins fan out across
// it: a convex arc shrunk by half its radius has joins through its vertices metres long
// that share every cell with hundreds of others, and their crossings with one another are
// not looked for.
bool Crowded(const Stretches& s, int m) {
  double pairs = 0.0;
  for (int r = 0; r < s.grid.Rows(); ++r)
    for (int c = 0; c < s.grid.Columns(); ++c) {
      const double n = static_cast<double>(s.grid.CellEnd(c, r) - s.grid.CellBegin(c, r));
      pairs += n * (n - 1) / 2;
    }
  if (pairs <= kCrowdedPairs * m) return false;
  const double most = kCrowdedOverlaps * m;
  double overlaps = 0.0;
  ForEachOverlap(s.grid, s.boxes, [&](int a, int b) { return s.Unlooked(a, b) || ++overlaps <= most; });
  return overlaps > most;
}

}  // namespace

std::vector<PathPiece> PathBoundaryPieces(const std::vector<double>& x,
                                          const std::vector<double>& y,
                                          const std::vector<unsigned char>& cutsOnly, int sense,
                                          double sideStep) {
  const int m = static_cast<int>(x.size()) - 2;
  std::vector<PathPiece> kept;
  if (m < 2) return kept;
  kept.reserve(static_cast<size_t>(m));
  // The winding about a point: by a plain ray test over every segment while few are
  // asked, through the column index once more are.
  std::optional<PathWinding> index;
  int plainTests = 0;
  auto windingAt = [&](double px, double py) {
    if (!index && ++plainTests > kPlainWindingTests) index.emplace(x, y, m);
    return index ? index->At(px, py) : PlainWinding(x, y, m, px, py);
  };
  // Every segment whole, unless the path crosses itself too often: then only the stretches
  // where the winding is unsettled.
  std::vector<Stretch> whole(static_cast<size_t>(m));
  for (int k = 1; k <= m; ++k) whole[k - 1] = {k, 0.0, 1.0};
  Stretches s(x, y, std::move(whole), cutsOnly, sideStep);
  if (Crowded(s, m)) {
    index.emplace(x, y, m);
    std::vector<Stretch> parts = UnsettledStretches(x, y, *index, sense);
    if (parts.empty()) return kept;
    s = Stretches(x, y, std::move(parts), cutsOnly, sideStep);
  }
  const StretchCuts cuts = AllCuts(s, sideStep);

  auto covered = [sense](int turns) { return sense * turns >= 1; };
  std::vector<int> neighbours;  // of the stretch under way
  // The winding just left of the piece of stretch i from t0 to t1, by a ray test from a
  // point beside its middle; the sides are sampled short of any other stretch passing by,
  // so that only the piece lies between them and the winding on its right is one less. One
  // that runs right along the piece is counted with it: then both sides are asked and the
  // result says whether the piece bounds the region.
  auto sample = [&](int i, const PathPiece& p, int* left, int* right) {
    const double dx = p.x2 - p.x1, dy = p.y2 - p.y1, length = std::hypot(dx, dy);
    const double mx = (p.x1 + p.x2) / 2, my = (p.y1 + p.y2) / 2;
    double clear2 = sideStep * sideStep;
    if (s.goesOn[s.Before(i)]) clear2 = std::min(clear2, s.Distance2(s.Before(i), {mx, my}));
    if (s.goesOn[i]) clear2 = std::min(clear2, s.Distance2(s.Next(i), {mx, my}));
    for (int j : neighbours) clear2 = std::min(clear2, s.Distance2(j, {mx, my}));
    const double clear = std::sqrt(clear2);
    const double step = clear < kCoincident ? sideStep : std::min(sideStep, clear / 2);
    const double nx = -dy / length * step, ny = dx / length * step;
    *left = windingAt(mx + nx, my + ny);
    *right = clear < kCoincident ? windingAt(mx - nx, my - ny) : *left - 1;
  };
  // Along the path, the winding left of the pieces goes on from piece to piece: across a
  // clean crossing it changes by the crossing's turn, from one stretch to the next it stays
  // (nothing passes near their common point). Where a stretch is not clean, each of its
  // pieces is sampled, and the next clean one samples afresh.
  bool known = false;
  int turns = 0;
  for (size_t i = 0; i < s.Count(); ++i) {
    if (s.part[i].margin) {
      known = false;
      continue;
    }
    const bool clean = !cuts.unclean[i];
    const bool pieces = !s.cutsOnly[i];
    if (!clean || !s.goesOn[s.Before(i)] || cuts.unclean[s.Before(i)] || i == 0) known = false;
    const Cut* first = cuts.cuts.data() + cuts.start[i];
    const Cut* last = cuts.cuts.data() + cuts.start[i + 1];
    neighbours.clear();
    for (const Cut* c = first; c != last && c->t == kNoCut; ++c) neighbours.push_back(c->other);
    const Vec o = s.start[i], w = s.along[i];
    double t0 = 0.0;
    auto piece = [&](double t1) {
      const PathPiece p{t0 == 0.0 ? o.x : o.x + t0 * w.x, t0 == 0.0 ? o.y : o.y + t0 * w.y,
                        t1 == 1.0 ? s.end[i].x : o.x + t1 * w.x, t1 == 1.0 ? s.end[i].y : o.y + t1 * w.y};
      if (!(p.x1 != p.x2 || p.y1 != p.y2)) return;
      if (!pieces && (!clean || known)) return;
      int left = 0, right = 0;
      if (clean && known) {
        left = turns, right = turns - 1;
      } else {
        sample(static_cast<int>(i), p, &left, &right);
        if (clean) turns = left, known = true;
      }
      if (pieces && covered(left) != covered(right)) kept.push_back(p);
    };
    for (const Cut* c = first; c != last; ++c) {
      if (c->t == kNoCut) continue;
      if (c->t > t0) piece(c->t), t0 = c->t;
      turns += c->turn;
    }
    piece(1.0);
  }
  return kept;
}

void ThinRuns(std::vector<PathPiece>& pieces, double step) {
  const size_t count = pieces.size();
  if (count < 2) return;
  auto continues = [&](size_t i) {
    const PathPiece& before = pieces[(i + count - 1) % count];
    return pieces[i].x1 == before.x2 && pieces[i].y1 == before.y2;
  };
  // Start at a piece that begins a run (anywhere when all form one closed run).
  size_t first = 0;
  while (first < count && continues(first)) ++first;
  if (first == count) first = 0;
  std::vector<PathPiece> thinned;
  thinned.reserve(count);
  auto apart = [step](double ax, double ay, double bx, double by) {
    return std::fabs(ax - bx) >= step || std::fabs(ay - by) >= step;
  };
  for (size_t done = 0; done < count;) {
    // One run: the pieces from the one at first on while each continues the one before.
    size_t last = first;
    while (done + 1 < count && continues((last + 1) % count)) last = (last + 1) % count, ++done;
    ++done;
    double kx = pieces[first].x1, ky = pieces[first].y1;  // the last point kept
    const size_t runStart = thinned.size();
    for (size_t i = first;; i = (i + 1) % count) {
      const PathPiece& p = pieces[i];
      const bool end = i == last;
      if (end || apart(kx, ky, p.x2, p.y2)) {
        if (end && !apart(kx, ky, p.x2, p.y2) && thinned.size() > runStart) {
          thinned.back().x2 = p.x2, thinned.back().y2 = p.y2;  // the run ends here instead
        } else {
          thinned.push_back({kx, ky, p.x2, p.y2});
        }
        kx = p.x2, ky = p.y2;
      }
      if (end) break;
    }
    first = (last + 1) % count;
  }
  pieces = std::move(thinned);
}

namespace {

// End 2i of piece i is its start, end 2i + 1 its end.
double EndX(const std::vector<PathPiece>& pieces, size_t e) {
  return e % 2 ? pieces[e / 2].x2 : pieces[e / 2].x1;
}
double EndY(const std::vector<PathPiece>& pieces, size_t e) {
  return e % 2 ? pieces[e / 2].y2 : pieces[e / 2].y1;
}

bool ShorterThan(const PathPiece& p, double step) {
  return std::fabs(p.x2 - p.x1) < step && std::fabs(p.y2 - p.y1) < step;
}

// For every end, the first end of its knot (itself when it is in none): a short piece ties
// its two ends, and an end of a short piece every end within reach of it.
std::vector<size_t> KnotRoots(const std::vector<PathPiece>& pieces, double step, double reach) {
  std::vector<size_t> root(2 * pieces.size());
  for (size_t e = 0; e < root.size(); ++e) root[e] = e;
  auto find = [&](size_t e) {
    while (root[e] != e) e = root[e] = root[root[e]];
    return e;
  };
  auto tie = [&](size_t a, size_t b) {
    a = find(a), b = find(b);
    if (a != b) root[std::max(a, b)] = std::min(a, b);
  };
  std::vector<GridBox> ends(root.size());
  for (size_t e = 0; e < ends.size(); ++e) {
    const double x = EndX(pieces, e), y = EndY(pieces, e);
    ends[e] = {x, y, x, y};
  }
  UniformGrid grid;
  grid.Build(ends, reach);
  std::vector<int> near;
  for (size_t i = 0; i < pieces.size(); ++i) {
    if (!ShorterThan(pieces[i], step)) continue;
    tie(2 * i, 2 * i + 1);
    for (size_t e : {2 * i, 2 * i + 1}) {
      const double x = EndX(pieces, e), y = EndY(pieces, e);
      grid.Query(GridBox::Around(x, y, x, y, reach), near);
      for (int f : near)
        if (std::fabs(EndX(pieces, f) - x) <= reach && std::fabs(EndY(pieces, f) - y) <= reach)
          tie(e, f);
    }
  }
  for (size_t e = 0; e < root.size(); ++e) root[e] = find(e);
  return root;
}

}  // namespace

void CollapseKnots(std::vector<PathPiece>& pieces, double step, double reach, double most) {
  if (std::none_of(pieces.begin(), pieces.end(),
                   [step](const PathPiece& p) { return ShorterThan(p, step); }))
    return;
  const std::vector<size_t> root = KnotRoots(pieces, step, reach);
  // The box of each knot, kept at its root.
  std::vector<GridBox> box(root.size(), GridBox{0.0, 0.0, -1.0, -1.0});
  for (size_t e = 0; e < root.size(); ++e) {
    GridBox& b = box[root[e]];
    const double x = EndX(pieces, e), y = EndY(pieces, e);
    b = b.maxX < b.minX ? GridBox{x, y, x, y}
                        : GridBox{std::min(b.minX, x), std::min(b.minY, y), std::max(b.maxX, x),
                                  std::max(b.maxY, y)};
  }
  auto collapses = [&](size_t r) {
    return box[r].maxX - box[r].minX <= most && box[r].maxY - box[r].minY <= most;
  };
  std::vector<PathPiece> kept;
  kept.reserve(pieces.size());
  for (size_t i = 0; i < pieces.size(); ++i) {
    PathPiece p = pieces[i];
    const size_t r1 = root[2 * i], r2 = root[2 * i + 1];
    if (r1 != 2 * i && collapses(r1)) p.x1 = EndX(pieces, r1), p.y1 = EndY(pieces, r1);
    if (r2 != 2 * i + 1 && collapses(r2)) p.x2 = EndX(pieces, r2), p.y2 = EndY(pieces, r2);
    if (p.x1 != p.x2 || p.y1 != p.y2) kept.push_back(p);
  }
  pieces = std::move(kept);
}

}  // namespace kernel
