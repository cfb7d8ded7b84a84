// Following the moving eave lines of a roof to its hips, valleys and ridges.
#include "RoofWavefront.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace {

// The line of one footprint edge at height t: n . p = c + k t (n the unit normal pointing
// into the roof area, k = 1 / tan(slope) the inward travel per unit of height).
struct EdgeLine {
  double nx, ny, c, k;
  double dx, dy;  // unit direction of the edge
};

struct Node {
  double x, y, z;
};

// A piece of roof edge between two nodes, with the footprint edges whose faces it divides.
struct Arc {
  int from, to;
  int faceA, faceB;
};

// A corner of the moving wavefront: between the wavefront pieces of edges `left` (arriving)
// and `right` (leaving); at height t it stands at (bx, by) + (t - bt) * (vx, vy).
struct Corner {
  int left = 0, right = 0;
  double bx = 0, by = 0, bt = 0, vx = 0, vy = 0;
  int birth = 0;
  int prev = -1, next = -1;
  bool alive = true;
  bool parallel = false;  // its two edges are parallel: it cannot move as a corner
  // A reflex corner's meetings with the edge lines ahead of it: (height, edge), by height.
  // The lines never change, so these are found once; `ahead` skips the ones passed.
  std::vector<std::pair<double, int>> meetings;
  bool meetingsKnown = false;
  size_t ahead = 0;
  double X(double t) const { return bx + (t - bt) * vx; }
  double Y(double t) const { return by + (t - bt) * vy; }
};

struct Event {
  double t = std::numeric_limits<double>::infinity();
  bool split = false;
  int corner = -1;     // edge event: the corner at the start of the shrinking piece
  int edgeStart = -1;  // split event: the corner at the start of the piece that is hit
};

class Wavefront {
 public:
  explicit Wavefront(const std::vector<RoofLoop>& loops) {
    double minX = 1e300, maxX = -1e300, minY = 1e300, maxY = -1e300;
    for (const RoofLoop& loop : loops)
      for (size_t i = 0; i < loop.x.size(); ++i) {
        minX = std::min(minX, loop.x[i]), maxX = std::max(maxX, loop.x[i]);
        minY = std::min(minY, loop.y[i]), maxY = std::max(maxY, loop.y[i]);
      }
    scale_ = std::max({maxX - minX, maxY - minY, 1.0});
    eps_ = 1e-9 * scale_;
    for (const RoofLoop& loop : loops) AddLoop(loop);
  }

  // Runs the wavefront to its end; false when it cannot be followed.
  bool Run() {
    if (!ok_) return false;
    const int limit = 8 * static_cast<int>(corners_.size()) + 64;
    for (int step = 0; step < limit; ++step) {
      if (AliveCount() == 0) return true;
      const Event e = NextEvent();
      if (!std::isfinite(e.t)) return false;
      now_ = std::max(now_, e.t);
      const bool done = e.split ? SplitAt(e.corner, e.edgeStart) : CollapseEdge(e.corner);
      if (!done || !ok_) return false;
    }
    return false;
  }

  std::vector<RoofFace> Faces() const;

 private:
  std::vector<EdgeLine> lines_;
  std::vector<Node> nodes_;
  std::vector<Arc> arcs_;
  std::vector<Corner> corners_;
  std::vector<std::pair<int, int>> eaves_;  // per edge: start node, end node
  double now_ = 0.0, scale_ = 1.0, eps_ = 1e-9;
  bool ok_ = true;

  void AddLoop(const RoofLoop& loop) {
    const int n = static_cast<int>(loop.x.size());
    const int firstEdge = static_cast<int>(lines_.size());
    const int firstCorner = static_cast<int>(corners_.size());
    const int firstNode = static_cast<int>(nodes_.size());
    for (int i = 0; i < n; ++i) {
      const int j = (i + 1) % n;
      const double ex = loop.x[j] - loop.x[i], ey = loop.y[j] - loop.y[i];
      const double len = std::hypot(ex, ey);
      if (!(len > 0.0) || !(loop.rise[i] > 0.0)) ok_ = false;
      const double dx = len > 0 ? ex / len : 1.0, dy = len > 0 ? ey / len : 0.0;
      lines_.push_back({dy, -dx, dy * loop.x[i] - dx * loop.y[i],
                        loop.rise[i] > 0 ? 1.0 / loop.rise[i] : 0.0, dx, dy});
      nodes_.push_back({loop.x[i], loop.y[i], 0.0});
      eaves_.push_back({firstNode + i, firstNode + j});
    }
    for (int i = 0; i < n; ++i) {
      Corner c;
      c.left = firstEdge + (i + n - 1) % n;
      c.right = firstEdge + i;
      c.birth = firstNode + i;
      c.prev = firstCorner + (i + n - 1) % n;
      c.next = firstCorner + (i + 1) % n;
      corners_.push_back(c);
      if (!Place(corners_.back(), 0.0, loop.x[i], loop.y[i]) || corners_.back().parallel)
        ok_ = false;  // a spike or a zero-length edge
    }
  }

  // Sets the corner's motion from its two edge lines, starting at (x, y) at height t.
  bool Place(Corner& c, double t, double x, double y) {
    const EdgeLine& l = lines_[c.left];
    const EdgeLine& r = lines_[c.right];
    c.bx = x, c.by = y, c.bt = t;
    const double det = l.nx * r.ny - l.ny * r.nx;
    if (std::fabs(det) <= 1e-6) {  // within float precision of parallel
      c.parallel = true;
      c.vx = c.vy = 0.0;
      return true;
    }
    c.parallel = false;
    c.vx = (l.k * r.ny - r.k * l.ny) / det;
    c.vy = (l.nx * r.k - r.nx * l.k) / det;
    return std::isfinite(c.vx) && std::isfinite(c.vy);
  }

  int AliveCount() const {
    int count = 0;
    for (const Corner& c : corners_) count += c.alive;
    return count;
  }

  bool Reflex(const Corner& c) const {
    const EdgeLine& l = lines_[c.left];
    const EdgeLine& r = lines_[c.right];
    return l.dx * r.dy - l.dy * r.dx > 1e-12;
  }

  int AddNode(double x, double y, double z) {
    nodes_.push_back({x, y, z});
    return static_cast<int>(nodes_.size()) - 1;
  }

  // Ends a corner at a node: its path becomes a roof edge between its two faces.
  void Kill(int id, int node) {
    Corner& c = corners_[id];
    c.alive = false;
    if (c.birth != node) arcs_.push_back({c.birth, node, c.left, c.right});
  }

  int NewCorner(int left, int right, int node, int prev, int next) {
    Corner c;
    c.left = left, c.right = right, c.birth = node, c.prev = prev, c.next = next;
    c.bx = nodes_[node].x, c.by = nodes_[node].y, c.bt = nodes_[node].z;  // still until placed
    corners_.push_back(c);
    const int id = static_cast<int>(corners_.size()) - 1;
    corners_[prev].next = id;
    corners_[next].prev = id;
    return id;
  }

  // The heights at which reflex corner r would reach each edge line ahead of it, by height.
  void FindMeetings(Corner& r) const {
    r.meetingsKnown = true;
    for (size_t e = 0; e < lines_.size(); ++e) {
      const EdgeLine& line = lines_[e];
      if (static_cast<int>(e) == r.left || static_cast<int>(e) == r.right) continue;
      const double closing = line.nx * r.vx + line.ny * r.vy - line.k;
      if (closing >= 0) continue;
      const double gap = line.nx * r.bx + line.ny * r.by - (line.c + line.k * r.bt);
      if (gap < -eps_ * 10) continue;
      r.meetings.push_back({r.bt - std::max(gap, 0.0) / closing, static_cast<int>(e)});
    }
    std::sort(r.meetings.begin(), r.meetings.end());
  }

  // The earliest event: a wavefront piece shrinking to nothing (preferred on ties) or a
  // reflex corner reaching another piece.
  Event NextEvent() {
    Event best;
    std::vector<int> alive;
    std::vector<std::vector<int>> pieces(lines_.size());  // per edge: corners starting a piece
    for (size_t u = 0; u < corners_.size(); ++u) {
      if (!corners_[u].alive) continue;
      alive.push_back(static_cast<int>(u));
      pieces[corners_[u].right].push_back(static_cast<int>(u));
    }
    for (int u : alive) {
      const Corner& a = corners_[u];
      const Corner& b = corners_[a.next];
      const EdgeLine& e = lines_[a.right];
      const double length = (b.X(now_) - a.X(now_)) * e.dx + (b.Y(now_) - a.Y(now_)) * e.dy;
      const double rate = (b.vx - a.vx) * e.dx + (b.vy - a.vy) * e.dy;
      double t = std::numeric_limits<double>::infinity();
      if (length <= eps_ * 10)
        t = now_;
      else if (rate < 0)
        t = now_ - length / rate;
      if (t < best.t) best = {t, false, u, -1};
    }
    for (int v : alive) {
      Corner& r = corners_[v];
      if (!Reflex(r)) continue;
      if (!r.meetingsKnown) FindMeetings(r);
      for (size_t m = r.ahead; m < r.meetings.size(); ++m) {
        const int edge = r.meetings[m].second;
        const EdgeLine& e = lines_[edge];
        const double gap = e.nx * r.X(now_) + e.ny * r.Y(now_) - (e.c + e.k * now_);
        const double closing = e.nx * r.vx + e.ny * r.vy - e.k;
        if (gap < -eps_ * 10) {
          if (m == r.ahead) ++r.ahead;  // passed for good: heights only grow
          continue;
        }
        const double t = now_ - std::max(gap, 0.0) / closing;
        if (!(t < best.t - eps_)) break;
        bool found = false;
        for (int u : pieces[edge]) {
          const Corner& a = corners_[u];
          if (u == v || a.next == v) continue;
          const Corner& b = corners_[a.next];
          const double along = r.X(t) * e.dx + r.Y(t) * e.dy;
          const double from = a.X(t) * e.dx + a.Y(t) * e.dy;
          const double to = b.X(t) * e.dx + b.Y(t) * e.dy;
          if (along < from - eps_ * 100 || along > to + eps_ * 100 || !(from < to + eps_)) continue;
          best = {t, true, v, u};
          found = true;
          break;
        }
        if (found) break;
      }
    }
    return best;
  }

  bool Near(double ax, double ay, double bx, double by) const {
    return std::hypot(ax - bx, ay - by) <= 1e-7 * scale_;
  }

  // The two corners of a two-corner loop bound a piece of zero width: a ridge joins them.
  void CloseTwo(int a) {
    const int b = corners_[a].next;
    const double t = now_;
    const int na = AddNode(corners_[a].X(t), corners_[a].Y(t), t);
    const int nb = Near(corners_[a].X(t), corners_[a].Y(t), corners_[b].X(t), corners_[b].Y(t))
                       ? na
                       : AddNode(corners_[b].X(t), corners_[b].Y(t), t);
    Kill(a, na);
    Kill(b, nb);
    if (na != nb) arcs_.push_back({na, nb, corners_[a].left, corners_[a].right});
  }

  // A new corner between parallel edges cannot move as a corner: it runs along the common
  // line to a neighbour and merges with it, until the corner can move again.
  bool Settle(int id) {
    for (int guard = 0; guard < static_cast<int>(corners_.size()) + 8; ++guard) {
      Corner& c = corners_[id];
      if (c.prev == c.next) {
        CloseTwo(id);
        return true;
      }
      if (c.prev == id) return false;
      if (!c.parallel) return true;
      const double t = now_;
      const Corner& p = corners_[c.prev];
      const Corner& q = corners_[c.next];
      const double dp = std::hypot(p.X(t) - c.bx, p.Y(t) - c.by);
      const double dq = std::hypot(q.X(t) - c.bx, q.Y(t) - c.by);
      // Same-direction edges of different slopes: beyond their common line the gentler
      // plane lies lower, so the steeper edge's piece ends here and the corner moves to its
      // far end. Otherwise (opposite edges, or equal slopes) the nearer neighbour is taken.
      const EdgeLine& l = lines_[c.left];
      const EdgeLine& r = lines_[c.right];
      int other = dp <= dq ? c.prev : c.next;
      if (l.dx * r.dx + l.dy * r.dy > 0 && std::fabs(l.k - r.k) > 1e-12 * (l.k + r.k))
        other = l.k > r.k ? c.next : c.prev;
      const Corner& o = corners_[other];
      const int node = AddNode(o.X(t), o.Y(t), t);
      arcs_.push_back({c.birth, node, c.left, c.right});
      corners_[id].alive = false;
      Kill(other, node);
      const Corner cc = corners_[id];
      const Corner oc = corners_[other];
      const int merged = other == cc.prev ? NewCorner(oc.left, cc.right, node, oc.prev, cc.next)
                                          : NewCorner(cc.left, oc.right, node, cc.prev, oc.next);
      if (!Place(corners_[merged], t, nodes_[node].x, nodes_[node].y)) return false;
      id = merged;
    }
    return false;
  }

  bool CollapseEdge(int ua) {
    const int wa = corners_[ua].next;
    const double t = now_;
    const Corner u = corners_[ua], w = corners_[wa];
    const int node = AddNode((u.X(t) + w.X(t)) / 2, (u.Y(t) + w.Y(t)) / 2, t);
    Kill(ua, node);
    Kill(wa, node);
    if (u.prev == wa) return true;  // the loop was these two corners
    const int m = NewCorner(u.left, w.right, node, u.prev, w.next);
    if (corners_[m].prev == corners_[m].next && corners_[m].prev != m) {
      CloseTwo(m);
      return true;
    }
    if (!Place(corners_[m], t, nodes_[node].x, nodes_[node].y)) return false;
    return Settle(m);
  }

  // Reflex corner v reaches the wavefront piece that starts at corner a: the loop is cut
  // there in two (or, with a courtyard's loop, two loops join).
  bool SplitAt(int va, int aa) {
    const double t = now_;
    const Corner v = corners_[va];
    const double x = v.X(t), y = v.Y(t);
    const int node = AddNode(x, y, t);
    Kill(va, node);
    int hitLeftEdge = corners_[aa].right, hitRightEdge = corners_[aa].right;
    int before = aa, after = corners_[aa].next;  // wavefront corners on either side of the hit
    const Corner& a = corners_[aa];
    const Corner& b = corners_[a.next];
    if (Near(x, y, b.X(t), b.Y(t)) && a.next != v.prev && a.next != v.next) {
      const int h = a.next;  // the hit falls on corner b itself
      hitRightEdge = corners_[h].right;
      after = corners_[h].next;
      Kill(h, node);
    } else if (Near(x, y, a.X(t), a.Y(t)) && aa != v.prev && aa != v.next) {
      hitLeftEdge = corners_[aa].left;
      before = corners_[aa].prev;
      Kill(aa, node);
    }
    const int first = NewCorner(v.left, hitRightEdge, node, v.prev, after);
    const int second = NewCorner(hitLeftEdge, v.right, node, before, v.next);
    for (int id : {first, second}) {
      if (!corners_[id].alive) continue;
      if (corners_[id].prev == corners_[id].next) {
        CloseTwo(id);
        continue;
      }
      if (!Place(corners_[id], t, x, y) || !Settle(id)) return false;
    }
    return true;
  }
};

// Where events fall within a hair of each other (several parallel eaves reaching one line
// at once), or where collinear eaves share one moving line, a face's outline may run out
// along a line and straight back. Such a slit is cut off: a point where the outline turns
// right round (looking past points within 1 mm of it) goes, with those near points, when the
// outline runs back past the point it came from or back onto the very line it came along.
void WithoutSlits(std::vector<std::array<double, 3>>& points) {
  auto near = [](const std::array<double, 3>& a, const std::array<double, 3>& b) {
    return std::fabs(a[0] - b[0]) < 1.0 && std::fabs(a[1] - b[1]) < 1.0 &&
           std::fabs(a[2] - b[2]) < 1.0;
  };
  bool removed = true;
  while (removed && points.size() >= 3) {
    removed = false;
    const size_t n = points.size();
    for (size_t i = 0; i < n && !removed; ++i) {
      const auto& a = points[(i + n - 1) % n];
      const auto& b = points[i];
      if (b[2] == 0.0) continue;  // an eave end: a thin face may turn sharply there
      size_t skip = 1;
      while (skip < n - 1 && near(b, points[(i + skip) % n])) ++skip;
      const auto& c = points[(i + skip) % n];
      const double ux = b[0] - a[0], uy = b[1] - a[1], vx = c[0] - b[0], vy = c[1] - b[1];
      const double lu = std::hypot(ux, uy), lv = std::hypot(vx, vy);
      // A slit comes back at least as far as it went out, or along its own line; a thin
      // face's tip does neither.
      const bool alongItself = std::fabs(ux * vy - uy * vx) <= 0.01 * lu;
      if (ux * vx + uy * vy >= -0.99999 * lu * lv || (lv < lu && !alongItself)) continue;
      std::vector<size_t> gone;
      for (size_t k = 0; k < skip; ++k) gone.push_back((i + k) % n);
      std::sort(gone.rbegin(), gone.rend());
      for (size_t g : gone) points.erase(points.begin() + static_cast<long>(g));
      removed = true;
    }
  }
}

std::vector<RoofFace> Wavefront::Faces() const {
  // Nodes at one place count as one.
  std::vector<int> same(nodes_.size());
  for (size_t i = 0; i < nodes_.size(); ++i) {
    same[i] = static_cast<int>(i);
    for (size_t j = 0; j < i; ++j)
      if (same[j] == static_cast<int>(j) &&
          Near(nodes_[i].x, nodes_[i].y, nodes_[j].x, nodes_[j].y) &&
          std::fabs(nodes_[i].z - nodes_[j].z) <= 1e-7 * scale_) {
        same[i] = static_cast<int>(j);
        break;
      }
  }
  std::vector<std::vector<std::pair<int, int>>> sides(lines_.size());  // per face: node pairs
  for (const Arc& arc : arcs_) {
    const int a = same[arc.from], b = same[arc.to];
    if (a == b || arc.faceA == arc.faceB) continue;
    sides[arc.faceA].push_back({a, b});
    sides[arc.faceB].push_back({a, b});
  }
  std::vector<RoofFace> faces;
  for (size_t e = 0; e < lines_.size(); ++e) {
    const int start = same[eaves_[e].first], end = same[eaves_[e].second];
    RoofFace face;
    face.edge = static_cast<int>(e);
    std::vector<bool> used(sides[e].size(), false);
    std::vector<int> path{start, end};
    int at = end, from = start;
    while (at != start && path.size() <= sides[e].size() + 2) {
      // With the face on the right, the way on is the first side counter-clockwise from
      // the way back (this matters only where the face touches itself at a node).
      const double back = std::atan2(nodes_[from].y - nodes_[at].y, nodes_[from].x - nodes_[at].x);
      int step = -1;
      double bestTurn = 0.0;
      for (size_t s = 0; s < sides[e].size(); ++s) {
        if (used[s] || (sides[e][s].first != at && sides[e][s].second != at)) continue;
        const int to = sides[e][s].first == at ? sides[e][s].second : sides[e][s].first;
        double turn = std::atan2(nodes_[to].y - nodes_[at].y, nodes_[to].x - nodes_[at].x) - back;
        while (turn <= 0.0) turn += 2.0 * std::numbers::pi;
        while (turn > 2.0 * std::numbers::pi) turn -= 2.0 * std::numbers::pi;
        if (step < 0 || turn < bestTurn) step = static_cast<int>(s), bestTurn = turn;
      }
      if (step < 0) break;
      used[step] = true;
      from = at;
      at = sides[e][step].first == at ? sides[e][step].second : sides[e][step].first;
      if (at != start) path.push_back(at);
    }
    if (at != start) continue;
    for (int node : path) face.points.push_back({nodes_[node].x, nodes_[node].y, nodes_[node].z});
    WithoutSlits(face.points);
    if (face.points.size() >= 3) faces.push_back(face);
  }
  return faces;
}

}  // namespace

bool RoofFacesByWavefront(const std::vector<RoofLoop>& loops, std::vector<RoofFace>* faces) {
  faces->clear();
  Wavefront wave(loops);
  if (!wave.Run()) return false;
  *faces = wave.Faces();
  return true;
}
