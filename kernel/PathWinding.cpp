// Where a closed path winds, and the pieces of the path that bound it.
#include "PathWinding.h"

#include <algorithm>
#include <cmath>
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

// A place on a segment where another segment cuts it, as the fraction of the way from its
// start to its end, or kNoCut where the other only passes within reach.
struct Cut {
  int segment;
  double t;
  int other;
};
constexpr double kNoCut = -1.0;

struct Vec {
  double x, y;
};

double Cross(Vec a, Vec b) { return a.x * b.y - a.y * b.x; }
double Dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y; }

// The segments of the path with their directions, squared lengths and boxes (widened by
// the reach within which one segment cuts another), and the grid of those boxes.
struct PathSegments {
  std::vector<Vec> start, along;
  std::vector<double> length2;
  std::vector<GridBox> boxes;  // 0-based: boxes[k - 1] is segment k's
  UniformGrid grid;

  PathSegments(const std::vector<double>& x, const std::vector<double>& y, int m, double reach) {
    start.resize(m + 1), along.resize(m + 1), length2.resize(m + 1), boxes.resize(m);
    for (int k = 1; k <= m; ++k) {
      start[k] = {x[k], y[k]};
      along[k] = {x[k + 1] - x[k], y[k + 1] - y[k]};
      length2[k] = Dot(along[k], along[k]);
      boxes[k - 1] = GridBox::Around(x[k], y[k], x[k + 1], y[k + 1], reach);
    }
    grid.Build(boxes);
  }

  // The squared distance from a point to segment j.
  double Distance2(int j, Vec p) const {
    const Vec v{p.x - start[j].x, p.y - start[j].y}, w = along[j];
    const double t = length2[j] > 0.0 ? std::clamp(Dot(v, w) / length2[j], 0.0, 1.0) : 0.0;
    const double dx = v.x - t * w.x, dy = v.y - t * w.y;
    return dx * dx + dy * dy;
  }
};

// Segments nearer than this to each other run along each other.
constexpr double kCoincident = 1e-6;
// Relative size of the turn below which two segments are taken as parallel: their crossing,
// if any, is then found through their ends lying on each other.
constexpr double kParallelSine = 1e-9;

// Adds the cuts that segments a and b make on each other: where they cross, and at the foot
// of an end of one that lies within reach of the other (a junction, or a stretch where the
// two run along each other). Two segments that come within reach of each other are noted
// as neighbours of each other too. Neighbours on the path (sharing = 1: a's end is b's
// start; sharing = -1: b's end is a's start) meet at their common point anyway: only their
// other ends are tried.
void CutPair(const PathSegments& s, int a, int b, int sharing, double reach,
             std::vector<Cut>& cuts) {
  const Vec r = s.along[a], q = s.along[b];
  const double ra = s.length2[a], qb = s.length2[b];
  if (!(ra > 0.0) || !(qb > 0.0)) return;
  bool near = false;
  const Vec d{s.start[b].x - s.start[a].x, s.start[b].y - s.start[a].y};
  const double denom = Cross(r, q);
  if (sharing == 0 && std::fabs(denom) > kParallelSine * std::sqrt(ra * qb)) {
    const double t = Cross(d, q) / denom, u = Cross(d, r) / denom;
    if (t >= 0.0 && t <= 1.0 && u >= 0.0 && u <= 1.0) {
      if (t > 0.0 && t < 1.0) cuts.push_back({a, t, b});
      if (u > 0.0 && u < 1.0) cuts.push_back({b, u, a});
      near = true;
    }
  }
  // The end (at 0 its start, at 1 its end) of segment from within reach of segment onto.
  auto endOn = [&](int onto, int from, int end) {
    const Vec o = s.start[onto], w = s.along[onto];
    const Vec e{s.start[from].x + end * s.along[from].x, s.start[from].y + end * s.along[from].y};
    const Vec v{e.x - o.x, e.y - o.y};
    const double t = Dot(v, w) / s.length2[onto];
    const double foot = std::clamp(t, 0.0, 1.0);
    const double dx = v.x - foot * w.x, dy = v.y - foot * w.y;
    if (!(dx * dx + dy * dy < reach * reach)) return;
    near = true;
    if (t > 0.0 && t < 1.0) cuts.push_back({onto, t, from});
  };
  if (sharing != 1) endOn(b, a, 1), endOn(a, b, 0);
  if (sharing != -1) endOn(b, a, 0), endOn(a, b, 1);
  if (near) {
    cuts.push_back({a, kNoCut, b});
    cuts.push_back({b, kNoCut, a});
  }
}

// Every cut of every segment, grouped by segment (cuts[start[k]..start[k + 1]) are segment
// k's: first its neighbours, then its cuts in order along it). The segments whose boxes
// (widened by the reach) overlap are tried once per pair, in the grid cell holding the lower
// left corner of their overlap.
struct SegmentCuts {
  std::vector<Cut> cuts;
  std::vector<int> start;
};

SegmentCuts AllCuts(const PathSegments& s, int m, double reach) {
  const UniformGrid& grid = s.grid;
  const std::vector<GridBox>& boxes = s.boxes;
  std::vector<Cut> found;
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
          const int a = *i + 1, b = *j + 1;  // a < b
          const int sharing = b == a + 1 ? 1 : (a == 1 && b == m) ? -1 : 0;
          CutPair(s, a, b, sharing, reach, found);
        }
      }
    }
  }
  SegmentCuts grouped;
  grouped.start.assign(m + 2, 0);
  for (const Cut& cut : found) ++grouped.start[cut.segment + 1];
  for (int k = 1; k <= m; ++k) grouped.start[k + 1] += grouped.start[k];
  grouped.cuts.resize(found.size());
  std::vector<int> fill(grouped.start.begin(), grouped.start.end() - 1);
  for (const Cut& cut : found) grouped.cuts[fill[cut.segment]++] = cut;
  for (int k = 1; k <= m; ++k)
    std::sort(grouped.cuts.begin() + grouped.start[k], grouped.cuts.begin() + grouped.start[k + 1],
              [](const Cut& u, const Cut& v) { return u.t < v.t; });
  return grouped;
}

}  // namespace

std::vector<PathPiece> PathBoundaryPieces(const std::vector<double>& x,
                                          const std::vector<double>& y,
                                          const std::vector<unsigned char>& cutsOnly, int sense,
                                          double sideStep) {
  const int m = static_cast<int>(x.size()) - 2;
  std::vector<PathPiece> kept;
  if (m < 2) return kept;
  const PathSegments s(x, y, m, sideStep);
  const SegmentCuts cuts = AllCuts(s, m, sideStep);

  const PathWinding winding(x, y, m);
  std::vector<int> neighbours;  // of the segment under way
  auto covered = [sense](int turns) { return sense * turns >= 1; };
  auto keepIfBoundary = [&](int k, double t0, double t1) {
    const Vec o = s.start[k], w = s.along[k];
    const PathPiece p{t0 == 0.0 ? o.x : o.x + t0 * w.x, t0 == 0.0 ? o.y : o.y + t0 * w.y,
                      t1 == 1.0 ? x[k + 1] : o.x + t1 * w.x, t1 == 1.0 ? y[k + 1] : o.y + t1 * w.y};
    const double dx = p.x2 - p.x1, dy = p.y2 - p.y1, length = std::hypot(dx, dy);
    if (!(length > 0.0)) return;
    const double mx = (p.x1 + p.x2) / 2, my = (p.y1 + p.y2) / 2;
    // The sides are sampled short of any other segment passing by, so that only the piece
    // lies between them and the winding on its right is one less than on its left. One
    // that runs right along the piece is counted with it: both sides are then asked.
    double clear2 = sideStep * sideStep;
    for (int j : neighbours) clear2 = std::min(clear2, s.Distance2(j, {mx, my}));
    const double clear = std::sqrt(clear2);
    const double step = clear < kCoincident ? sideStep : std::min(sideStep, clear / 2);
    const double nx = -dy / length * step, ny = dx / length * step;
    const int left = winding.At(mx + nx, my + ny);
    const int right = clear < kCoincident ? winding.At(mx - nx, my - ny) : left - 1;
    if (covered(left) != covered(right)) kept.push_back(p);
  };
  for (int k = 1; k <= m; ++k) {
    if (cutsOnly[k]) continue;
    const Cut* first = cuts.cuts.data() + cuts.start[k];
    const Cut* last = cuts.cuts.data() + cuts.start[k + 1];
    neighbours.assign({k == 1 ? m : k - 1, k == m ? 1 : k + 1});
    for (const Cut* c = first; c != last && c->t == kNoCut; ++c) neighbours.push_back(c->other);
    double t0 = 0.0;
    for (const Cut* c = first; c != last; ++c) {
      if (c->t <= t0) continue;
      keepIfBoundary(k, t0, c->t);
      t0 = c->t;
    }
    keepIfBoundary(k, t0, 1.0);
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

}  // namespace kernel
