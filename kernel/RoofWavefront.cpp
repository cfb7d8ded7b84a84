// Following the moving eave lines of a roof to its hips, valleys and ridges.
#include "RoofWavefront.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <numbers>
#include <queue>

namespace {

// The line of one footprint edge at height t: n . p = c + k t (n the unit normal pointing
// into the roof area, k = 1 / tan(slope) the inward travel per unit of height).
struct EdgeLine {
  double nx, ny, c, k;
  double dx, dy;  // unit direction of the edge
  int loop;
};

struct Node {
  double x, y, z;
};

// The rounding of the wavefront's own double arithmetic, over the footprint's size.
constexpr double kRounding = 1e-13;
// How near the event's point, over the footprint's size, a corner counts as taking part in
// it; and how many times that reach is tried, widened tenfold each time, where the pieces
// there do not pair (to a ten-thousandth of the footprint at most). The narrow reach stands
// just above the rounding: single precision scatters the meetings of a symmetric footprint
// by a hundred-millionth of its size, and which of two reflex corners passing that near each
// other reaches the other's edge first shapes the roof from there on; joined into one
// meeting they would give a roof that neither order gives, so they are taken in their order.
constexpr double kMeetReach = 1e-12;
constexpr int kMeetWidenings = 9;
// How wide, over the footprint's size, a slit that two faces fold round may be; and how
// many units of single precision, at the footprint's magnitude, a face's own needle (CutSlits).
constexpr double kSlitWidth = 4e-6;
constexpr double kSlitUnits = 2.0;

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
  bool met = false;       // born where the wavefront met itself
  int stamp = 0;          // counts the times its piece's shrinking was queued; the last counts
  // A reflex corner's meetings with the edge lines ahead of it: (height, edge), a heap with
  // the lowest first. The lines never change, so these are found once and taken off in
  // order of height; `passed` counts the ones taken off.
  std::vector<std::pair<double, int>> meetings;
  bool meetingsKnown = false;
  int passed = 0;
  double X(double t) const { return bx + (t - bt) * vx; }
  double Y(double t) const { return by + (t - bt) * vy; }
};

// The earliest change of the wavefront: at height t it meets itself at (x, y). The corners
// and the piece named are sure to take part; others found there at that height join in.
struct Event {
  double t = std::numeric_limits<double>::infinity();
  double x = 0, y = 0;
  int first = -1, second = -1;  // an edge event's two corners, a split's reflex corner
  int piece = -1;               // a split: the corner at the start of the piece it reaches
};

// A change of the wavefront waiting in the queue: the piece starting at `corner` shrinking to
// nothing (`meeting` < 0, `stamp` the corner's count then), or reflex corner `corner` reaching
// the line of its meeting `meeting`. Stale entries are skipped when they come up.
struct Queued {
  double t;
  int corner, meeting, stamp;
  bool operator>(const Queued& o) const {
    return t != o.t ? t > o.t : meeting > o.meeting;  // a shrinking piece first on a tie
  }
};

// A wavefront piece leaving a meeting point: `in` when it arrives there (its edge ends at the
// point), otherwise it starts there; `far` is the corner at its other end.
struct Ray {
  double angle;
  bool in;
  int edge, far;
};

class Wavefront {
 public:
  // onOwnLines: how a corner that ran along two lines come together starts again (Settle).
  Wavefront(const std::vector<RoofLoop>& loops, bool onOwnLines) : onOwnLines_(onOwnLines) {
    double minX = 1e300, maxX = -1e300, minY = 1e300, maxY = -1e300;
    for (const RoofLoop& loop : loops)
      for (size_t i = 0; i < loop.x.size(); ++i) {
        minX = std::min(minX, loop.x[i]), maxX = std::max(maxX, loop.x[i]);
        minY = std::min(minY, loop.y[i]), maxY = std::max(maxY, loop.y[i]);
      }
    scale_ = std::max({maxX - minX, maxY - minY, 1.0});
    magnitude_ = std::max({std::fabs(minX), std::fabs(maxX), std::fabs(minY), std::fabs(maxY), 1.0});
    eps_ = kRounding * scale_;
    for (const RoofLoop& loop : loops) AddLoop(loop);
    for (size_t u = 0; u < corners_.size(); ++u) dirty_.push_back(static_cast<int>(u));
    ok_ = ok_ && SettleStraightCorners();
  }

  // Runs the wavefront to its end; false when it cannot be followed, or when it reaches a
  // loop below that loop's eave height.
  bool Run() {
    if (!ok_) return false;
    const int limit = 8 * static_cast<int>(corners_.size()) + 64 + static_cast<int>(bases_.size());
    for (int step = 0; step < limit; ++step) {
      if (alive_ == 0) return true;
      const Event e = NextEvent();
      const double start = NextStart();
      if (std::isfinite(start) && start <= e.t + eps_) {
        now_ = std::max(now_, start);
        Start(start);
        continue;
      }
      if (!std::isfinite(e.t)) return CloseRemnant();
      now_ = std::max(now_, e.t);
      if (!Meet(e) || !ok_) return false;
    }
    return false;
  }

  std::vector<RoofFace> Faces() const;
  // The height of the last meeting, once Run has succeeded.
  double Top() const { return now_; }

 private:
  std::vector<EdgeLine> lines_;
  std::vector<Node> nodes_;
  std::vector<Arc> arcs_;
  std::vector<Corner> corners_;
  std::vector<std::pair<int, int>> eaves_;  // per edge: start node, end node
  std::vector<double> bases_;                // per loop: the height its eave lines start at
  std::vector<bool> moving_;                 // per loop: its eave lines have started
  std::vector<double> travel_;               // per edge: inward travel per unit of height
  std::vector<std::vector<int>> pieces_;     // per edge: the corners ever starting a piece of it
  std::priority_queue<Queued, std::vector<Queued>, std::greater<>> queue_;
  std::vector<int> dirty_;  // corners whose piece or meetings must be queued anew
  std::vector<int> live_;   // the corners alive at the last meeting and those made since
  int alive_ = 0;
  double now_ = 0.0, scale_ = 1.0, eps_ = kRounding;
  double magnitude_ = 1.0;  // the largest coordinate's size
  bool ok_ = true;
  bool onOwnLines_ = false;

  // The widest reach a meeting is gathered over.
  double WidestReach() const { return kMeetReach * std::pow(10.0, kMeetWidenings - 1) * scale_; }

  // A loop whose eave stands higher than the lowest waits there: its lines stand still (a
  // corner between them too) until the roof reaches its height.
  void AddLoop(const RoofLoop& loop) {
    const int n = static_cast<int>(loop.x.size());
    const int id = static_cast<int>(bases_.size());
    bases_.push_back(loop.base);
    moving_.push_back(!(loop.base > 0.0));
    if (!(loop.base >= 0.0) || !std::isfinite(loop.base)) ok_ = false;
    const int firstEdge = static_cast<int>(lines_.size());
    const int firstCorner = static_cast<int>(corners_.size());
    const int firstNode = static_cast<int>(nodes_.size());
    for (int i = 0; i < n; ++i) {
      const int j = (i + 1) % n;
      const double ex = loop.x[j] - loop.x[i], ey = loop.y[j] - loop.y[i];
      const double len = std::sqrt(ex * ex + ey * ey);
      if (!(len > 0.0) || !(loop.rise[i] > 0.0)) ok_ = false;
      const double dx = len > 0 ? ex / len : 1.0, dy = len > 0 ? ey / len : 0.0;
      travel_.push_back(loop.rise[i] > 0 ? 1.0 / loop.rise[i] : 0.0);
      lines_.push_back({dy, -dx, dy * loop.x[i] - dx * loop.y[i], moving_[id] ? travel_.back() : 0.0,
                        dx, dy, id});
      nodes_.push_back({loop.x[i], loop.y[i], loop.base});
      eaves_.push_back({firstNode + i, firstNode + j});
    }
    pieces_.resize(lines_.size());
    for (int i = 0; i < n; ++i) {
      Corner c;
      c.left = firstEdge + (i + n - 1) % n;
      c.right = firstEdge + i;
      c.birth = firstNode + i;
      c.prev = firstCorner + (i + n - 1) % n;
      c.next = firstCorner + (i + 1) % n;
      corners_.push_back(c);
      pieces_[c.right].push_back(firstCorner + i);
      live_.push_back(firstCorner + i);
      ++alive_;
      Corner& placed = corners_.back();
      if (!Place(placed, 0.0, loop.x[i], loop.y[i]) || (placed.parallel && !Straight(placed)))
        ok_ = false;  // a spike or a zero-length edge
    }
  }

  double NextStart() const {
    double start = std::numeric_limits<double>::infinity();
    for (size_t l = 0; l < bases_.size(); ++l)
      if (!moving_[l]) start = std::min(start, bases_[l]);
    return start;
  }

  // The loops whose eave height the roof has reached set off: their lines move from here, the
  // corners on them with them, and every reflex corner's meetings are found again.
  void Start(double height) {
    std::vector<bool> starting(bases_.size(), false);
    for (size_t l = 0; l < bases_.size(); ++l)
      starting[l] = !moving_[l] && bases_[l] <= height + eps_;
    for (size_t e = 0; e < lines_.size(); ++e) {
      EdgeLine& line = lines_[e];
      if (!starting[line.loop]) continue;
      line.k = travel_[e];
      line.c -= line.k * bases_[line.loop];
    }
    for (size_t l = 0; l < bases_.size(); ++l) moving_[l] = moving_[l] || starting[l];
    for (Corner& c : corners_) {
      c.meetings.clear();
      c.meetingsKnown = false;
      c.passed = 0;
      if (c.alive && (starting[lines_[c.left].loop] || starting[lines_[c.right].loop]) &&
          !Place(c, height, c.X(height), c.Y(height)))
        ok_ = false;
    }
    ok_ = ok_ && SettleStraightCorners();
    queue_ = {};
    dirty_.clear();
    for (size_t u = 0; u < corners_.size(); ++u)
      if (corners_[u].alive) dirty_.push_back(static_cast<int>(u));
  }

  // Whether a corner that cannot move as a corner stands between two eaves of one line, of
  // different slopes (not a spike, whose eaves run back along their line).
  bool Straight(const Corner& c) const {
    return lines_[c.left].dx * lines_[c.right].dx + lines_[c.left].dy * lines_[c.right].dy > 0;
  }

  // A straight corner between eaves of different slopes settles at once: beyond their common
  // line the gentler plane lies lower, so the steeper eave's piece ends where it starts and
  // the gentler plane takes its wall (Settle). The two planes meet only along the eave.
  // False when the wavefront cannot be followed from there.
  bool SettleStraightCorners() {
    const size_t count = corners_.size();
    for (size_t u = 0; u < count; ++u)
      if (corners_[u].alive && corners_[u].parallel && !Settle(static_cast<int>(u))) return false;
    return true;
  }

  // Whether the edge's loop still waits for the roof to reach its eave.
  bool Waiting(int edge) const { return !moving_[lines_[edge].loop]; }

  // Sets the corner's motion from its two edge lines, starting at (x, y) at height t.
  bool Place(Corner& c, double t, double x, double y) {
    const EdgeLine& l = lines_[c.left];
    const EdgeLine& r = lines_[c.right];
    c.bx = x, c.by = y, c.bt = t;
    const double det = l.nx * r.ny - l.ny * r.nx;
    if (std::fabs(det) <= 1e-6) {  // within float precision of parallel
      // Two eaves on one line at one slope make one plane: the corner between them rides
      // square to the line, as the two faces have no edge between them to follow.
      const bool oneLine = l.dx * r.dx + l.dy * r.dy > 0 && std::fabs(l.k - r.k) <= 1e-9 * (l.k + r.k);
      c.parallel = !oneLine;
      c.vx = oneLine ? l.nx * l.k : 0.0;
      c.vy = oneLine ? l.ny * l.k : 0.0;
      return true;
    }
    c.parallel = false;
    c.vx = (l.k * r.ny - r.k * l.ny) / det;
    c.vy = (l.nx * r.k - r.nx * l.k) / det;
    return std::isfinite(c.vx) && std::isfinite(c.vy);
  }

  // Moves a corner's start onto the crossing of its two edge lines at its start height, when
  // that lies within the widest reach of a meeting.
  void OntoOwnLines(Corner& c) const {
    if (c.parallel) return;
    const EdgeLine& l = lines_[c.left];
    const EdgeLine& r = lines_[c.right];
    const double det = l.nx * r.ny - l.ny * r.nx;
    const double gl = l.nx * c.bx + l.ny * c.by - (l.c + l.k * c.bt);
    const double gr = r.nx * c.bx + r.ny * c.by - (r.c + r.k * c.bt);
    const double mx = (gr * l.ny - gl * r.ny) / det, my = (r.nx * gl - l.nx * gr) / det;
    if (std::hypot(mx, my) <= WidestReach()) c.bx += mx, c.by += my;
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

  void Retire(int id) {
    alive_ -= corners_[id].alive;
    corners_[id].alive = false;
  }

  // Ends a corner at a node: its path becomes a roof edge between its two faces.
  void Kill(int id, int node) {
    Retire(id);
    const Corner& c = corners_[id];
    if (c.birth != node) arcs_.push_back({c.birth, node, c.left, c.right});
  }

  // Joins corner a to b: the piece of a's right edge between them has a new end.
  void Link(int a, int b) {
    corners_[a].next = b;
    corners_[b].prev = a;
    dirty_.push_back(a);
  }

  int NewCorner(int left, int right, int node, int prev, int next) {
    Corner c;
    c.left = left, c.right = right, c.birth = node, c.prev = prev, c.next = next;
    c.bx = nodes_[node].x, c.by = nodes_[node].y, c.bt = nodes_[node].z;  // still until placed
    corners_.push_back(c);
    const int id = static_cast<int>(corners_.size()) - 1;
    pieces_[right].push_back(id);
    live_.push_back(id);
    ++alive_;
    Link(prev, id);
    Link(id, next);
    return id;
  }

  // The heights at which reflex corner r would reach each edge line ahead of it.
  void FindMeetings(Corner& r) const {
    r.meetingsKnown = true;
    for (size_t e = 0; e < lines_.size(); ++e) {
      const EdgeLine& line = lines_[e];
      if (static_cast<int>(e) == r.left || static_cast<int>(e) == r.right) continue;
      const double closing = line.nx * r.vx + line.ny * r.vy - line.k;
      if (closing >= 0) continue;
      const double gap = line.nx * r.bx + line.ny * r.by - (line.c + line.k * r.bt);
      // A corner born where the wavefront met itself starts on the lines through that point
      // (every piece there was settled at the meeting) and leaves them behind at once.
      if (gap < -eps_ * 10 || (gap <= eps_ * 10 && r.met)) continue;
      r.meetings.push_back({r.bt - std::max(gap, 0.0) / closing, static_cast<int>(e)});
    }
    std::make_heap(r.meetings.begin(), r.meetings.end(), std::greater<>());
  }

  // The height at which the piece starting at corner u shrinks to nothing (now when it has
  // no length left), infinite when it does not shrink.
  double PieceEnd(int u) const {
    const Corner& a = corners_[u];
    const Corner& b = corners_[a.next];
    const EdgeLine& e = lines_[a.right];
    const double length = (b.X(now_) - a.X(now_)) * e.dx + (b.Y(now_) - a.Y(now_)) * e.dy;
    const double rate = (b.vx - a.vx) * e.dx + (b.vy - a.vy) * e.dy;
    if (length <= eps_ * 10) return now_;
    return rate < 0 ? now_ - length / rate : std::numeric_limits<double>::infinity();
  }

  void QueuePiece(int u) {
    const int stamp = ++corners_[u].stamp;
    const double t = PieceEnd(u);
    if (std::isfinite(t)) queue_.push({t, u, -1, stamp});
  }

  void QueueMeeting(int v) {
    const Corner& r = corners_[v];
    if (!r.meetings.empty()) queue_.push({r.meetings.front().first, v, r.passed, 0});
  }

  // Queues what changed since the last event: the pieces whose ends moved or changed, and
  // the first meeting of every new reflex corner. A corner's motion and an edge line never
  // change (but when a loop starts, which queues everything anew), so nothing else can.
  void Flush() {
    for (int u : dirty_) {
      Corner& c = corners_[u];
      if (!c.alive) continue;
      QueuePiece(u);
      if (Reflex(c) && !c.meetingsKnown) {
        FindMeetings(c);
        QueueMeeting(u);
      }
    }
    dirty_.clear();
  }

  // Whether the queued shrinking of a piece still stands; e is then its event.
  bool PieceEvent(const Queued& q, Event& e) {
    const Corner& a = corners_[q.corner];
    if (!a.alive || a.stamp != q.stamp) return false;
    const double t = PieceEnd(q.corner);
    if (t > q.t + eps_) {  // rounding only: the piece's ends have not changed
      queue_.push({t, q.corner, -1, q.stamp});
      return false;
    }
    const Corner& b = corners_[a.next];
    e = {t, (a.X(t) + b.X(t)) / 2, (a.Y(t) + b.Y(t)) / 2, q.corner, a.next, -1};
    return true;
  }

  // Whether the reflex corner of a queued meeting reaches a piece of that edge line then; e
  // is then its event. Either way the corner's next meeting is queued: a meeting that finds
  // no piece there is passed for good, as the corner leaves the line behind (ReachIsPiece
  // tells when the meeting belongs to a piece instead).
  bool SplitEvent(const Queued& q, Event& e) {
    const int v = q.corner;
    Corner& r = corners_[v];
    if (!r.alive || r.passed != q.meeting) return false;
    const int edge = r.meetings.front().second;
    const EdgeLine& l = lines_[edge];
    const double gap = l.nx * r.X(now_) + l.ny * r.Y(now_) - (l.c + l.k * now_);
    const double closing = l.nx * r.vx + l.ny * r.vy - l.k;
    const double t = now_ - std::max(gap, 0.0) / closing;
    if (gap >= -eps_ * 10 && t > q.t + eps_) {  // rounding only
      queue_.push({t, v, q.meeting, 0});
      return false;
    }
    std::pop_heap(r.meetings.begin(), r.meetings.end(), std::greater<>());
    r.meetings.pop_back();
    ++r.passed;
    QueueMeeting(v);
    if (gap < -eps_ * 10 || ReachIsPiece(v, edge)) return false;
    for (int u : pieces_[edge]) {
      const Corner& a = corners_[u];
      if (!a.alive || u == v || a.next == v) continue;
      const Corner& b = corners_[a.next];
      const double along = r.X(t) * l.dx + r.Y(t) * l.dy;
      const double from = a.X(t) * l.dx + a.Y(t) * l.dy;
      const double to = b.X(t) * l.dx + b.Y(t) * l.dy;
      if (along < from - eps_ * 100 || along > to + eps_ * 100 || !(from < to + eps_)) continue;
      e = {t, r.X(t), r.Y(t), v, -1, u};
      return true;
    }
    return false;
  }

  // Whether reflex corner v reaching the edge's line is the piece between v and a neighbour
  // shrinking away: the line is the neighbour's far edge, which crosses v's own line only
  // where the neighbour stands, and the neighbour closes on v. The meeting is then left to
  // the piece. Where the two lines run a hair off parallel (walls of one height turned by an
  // odd angle) the neighbour races along them, while v closes on the far line so slowly that
  // the height of its reach comes a hair early, with the neighbour still millimetres away:
  // taken as a split, the meeting was gathered wide, its node off the faces' planes, and the
  // roof refused. A neighbour that moves away stands a hair off its lines: a corner born
  // between two edges facing each other a hair off parallel (across a curved slab, a chord
  // of the inner arc and one of the outer, where the ridge forms along the whole arc at one
  // height) carries the rounding of its node magnified along the ridge. v then reaches the
  // far line beside the neighbour, and the piece there is split as any other.
  bool ReachIsPiece(int v, int edge) const {
    const Corner& r = corners_[v];
    return (corners_[r.prev].left == edge && std::isfinite(PieceEnd(r.prev))) ||
           (corners_[r.next].right == edge && std::isfinite(PieceEnd(v)));
  }

  // The earliest event: a wavefront piece shrinking to nothing (first on a tie) or a reflex
  // corner reaching another piece. Every event still to come is in the queue, so the state
  // a queued event is checked against is the state at its height.
  Event NextEvent() {
    Flush();
    while (!queue_.empty()) {
      const Queued q = queue_.top();
      queue_.pop();
      Event e;
      if (q.meeting < 0 ? PieceEvent(q, e) : SplitEvent(q, e)) return e;
    }
    return {};
  }

  bool Near(double ax, double ay, double bx, double by) const {
    const double dx = ax - bx, dy = ay - by, tol = 1e-7 * scale_;
    return dx * dx + dy * dy <= tol * tol;
  }

  // Where single precision has scattered the last meeting of a symmetric roof, a few corners
  // are left within a hair of each other with no event to come: they end at one node, in
  // their middle. Corners spread wider than a meeting's widest reach mean the wavefront
  // cannot be followed.
  bool CloseRemnant() {
    double sx = 0.0, sy = 0.0;
    int count = 0;
    for (const Corner& c : corners_)
      if (c.alive) sx += c.X(now_), sy += c.Y(now_), ++count;
    if (count == 0) return true;
    sx /= count, sy /= count;
    for (const Corner& c : corners_)
      if (c.alive && std::hypot(c.X(now_) - sx, c.Y(now_) - sy) > WidestReach()) return false;
    const int node = AddNode(sx, sy, now_);
    for (size_t id = 0; id < corners_.size(); ++id)
      if (corners_[id].alive) Kill(static_cast<int>(id), node);
    return true;
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
  // line to a neighbour and merges with it, until the corner can move again. Single
  // precision leaves the two lines a hair apart, so the merged corner, set at the
  // neighbour's place, lies on the neighbour's lines but a hair off its own far line; with
  // onOwnLines_ it starts where its own two lines cross.
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
      const double px = p.X(t) - c.bx, py = p.Y(t) - c.by, qx = q.X(t) - c.bx, qy = q.Y(t) - c.by;
      const double dp = px * px + py * py, dq = qx * qx + qy * qy;  // squared distances
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
      Retire(id);
      Kill(other, node);
      const Corner cc = corners_[id];
      const Corner oc = corners_[other];
      const int merged = other == cc.prev ? NewCorner(oc.left, cc.right, node, oc.prev, cc.next)
                                          : NewCorner(cc.left, oc.right, node, cc.prev, oc.next);
      if (!Place(corners_[merged], t, nodes_[node].x, nodes_[node].y)) return false;
      if (onOwnLines_) OntoOwnLines(corners_[merged]);
      id = merged;
    }
    return false;
  }

  // The corners at the event's point (within tol, the event's own always) and the pieces
  // there: every piece that leaves a corner there for one elsewhere, and both halves of a
  // piece that passes through the point.
  void Gather(const Event& e, double tol, std::vector<int>& at, std::vector<Ray>& rays) const {
    const double t = now_;
    auto near = [&](const Corner& c) {
      const double dx = c.X(t) - e.x, dy = c.Y(t) - e.y;
      return dx * dx + dy * dy <= tol * tol;
    };
    at.clear();
    rays.clear();
    std::vector<char> here(corners_.size(), 0);
    for (int id : live_)
      if (id == e.first || id == e.second || near(corners_[id])) {
        at.push_back(id);
        here[id] = 1;
      }
    for (int u : at) {
      const Corner& c = corners_[u];
      const EdgeLine& l = lines_[c.left];
      const EdgeLine& r = lines_[c.right];
      if (!here[c.prev]) rays.push_back({std::atan2(-l.dy, -l.dx), true, c.left, c.prev});
      if (!here[c.next]) rays.push_back({std::atan2(r.dy, r.dx), false, c.right, c.next});
    }
    for (int u : live_) {
      const Corner& a = corners_[u];
      if (here[u] || here[a.next]) continue;
      const Corner& b = corners_[a.next];
      const EdgeLine& l = lines_[a.right];
      const double along = e.x * l.dx + e.y * l.dy;
      const bool through = std::fabs(l.nx * e.x + l.ny * e.y - (l.c + l.k * t)) <= tol &&
                           along > a.X(t) * l.dx + a.Y(t) * l.dy + tol &&
                           along < b.X(t) * l.dx + b.Y(t) * l.dy - tol;
      if (!through && u != e.piece) continue;
      rays.push_back({std::atan2(-l.dy, -l.dx), true, a.right, u});
      rays.push_back({std::atan2(l.dy, l.dx), false, a.right, a.next});
    }
  }

  // The height of the first change a corner takes part in: a piece beside it shrinking to
  // nothing or, for a reflex corner, the next edge line it reaches.
  double OwnMeeting(int u) const {
    const Corner& c = corners_[u];
    double own = std::min(PieceEnd(u), PieceEnd(c.prev));
    if (Reflex(c) && !c.meetings.empty()) own = std::min(own, c.meetings.front().first);
    return own;
  }

  // Whether every corner that a wider reach gathered takes part in the meeting by its own
  // changes: the eave lines move no farther than that reach between its own meeting and this
  // one. A corner that merely passes near would be tied into a meeting it takes no part in.
  // A whole loop of the wavefront gathered there is left out of the question: it lies within
  // the reach, whatever its corners do, and ends there. So is a corner born at one node with
  // one of the event's own: the meeting that made them both is this one, which the rounding
  // split in two (a reflex corner reaching a piece right at its end corner).
  bool OwnMeetingsAgree(const Event& e, const std::vector<int>& at, double reach) const {
    auto gathered = [&at](int u) { return std::find(at.begin(), at.end(), u) != at.end(); };
    auto sibling = [this, &e](int u) {
      return corners_[u].birth == corners_[e.first].birth ||
             (e.second >= 0 && corners_[u].birth == corners_[e.second].birth);
    };
    for (int u : at) {
      if (u == e.first || u == e.second || sibling(u)) continue;
      int v = corners_[u].next;
      for (size_t steps = 0; v != u && gathered(v) && steps < at.size(); ++steps) v = corners_[v].next;
      if (v == u) continue;  // its loop is gathered whole
      const double travel = std::max(lines_[corners_[u].left].k, lines_[corners_[u].right].k);
      if (!(std::fabs(OwnMeeting(u) - now_) * travel <= reach)) return false;
    }
    return true;
  }

  // The wavefront meets itself at the event's point: every corner there ends at one node,
  // every piece through it is cut there, and the pieces that leave the point are paired
  // anew. Going round the point counter-clockwise, the roof still to come lies between an
  // arriving piece and the next leaving one; each such pair makes a new corner. So any
  // number of edge and split events at one place and height are handled as one.
  bool Meet(const Event& e) {
    const double t = now_;
    std::erase_if(live_, [this](int u) { return !corners_[u].alive; });
    // The corners there and the pieces leaving the point, paired. Where the footprint's
    // symmetry makes many meetings fall together (a regular star's spikes all closing on its
    // middle), single precision scatters them by a hair, and where their order cannot be
    // followed the pieces there do not pair: the meeting is gathered again over a wider
    // reach. A wider gathering is taken when the corners it holds meet there by their own
    // changes; where they do not, a wider one yet may hold the whole of the meeting.
    std::vector<int> at;
    std::vector<Ray> rays;
    std::vector<std::pair<int, int>> pairs;
    bool taken = false;
    int widening = 0;
    for (; widening < kMeetWidenings && !taken; ++widening) {
      const double reach = kMeetReach * std::pow(10.0, widening) * scale_;
      Gather(e, reach, at, rays);
      // The roof reaches a loop below its eave: there is no roof that meets it there.
      for (const Ray& ray : rays)
        if (Waiting(ray.edge)) return false;
      for (int u : at)
        if (Waiting(corners_[u].left)) return false;
      pairs = PairRays(rays);
      taken = rays.size() == 2 * pairs.size() && (widening == 0 || OwnMeetingsAgree(e, at, reach));
    }
    if (!taken) return false;

    // A meeting gathered over a wider reach takes its node in the middle of its corners.
    double nx = e.x, ny = e.y;
    if (widening > 1 && !at.empty()) {
      nx = ny = 0.0;
      for (int u : at) nx += corners_[u].X(t), ny += corners_[u].Y(t);
      nx /= static_cast<double>(at.size()), ny /= static_cast<double>(at.size());
    }
    const int node = AddNode(nx, ny, t);
    std::vector<int> fresh;
    std::vector<char> kept(at.size(), 0);
    for (const auto& [i, o] : pairs) {
      const Ray& in = rays[i];
      const Ray& out = rays[o];
      if (in.edge == out.edge && corners_[in.far].right == in.edge &&
          corners_[out.far].left == in.edge) {  // a piece through the point, left whole
        Link(in.far, out.far);
        continue;
      }
      bool same = false;  // a corner passing through, untouched
      for (size_t k = 0; k < at.size() && !same; ++k) {
        const Corner& c = corners_[at[k]];
        same = c.left == in.edge && c.right == out.edge && c.prev == in.far && c.next == out.far;
        if (same) kept[k] = 1;
      }
      if (!same) {
        fresh.push_back(NewCorner(in.edge, out.edge, node, in.far, out.far));
        corners_[fresh.back()].met = true;
      }
    }
    for (size_t k = 0; k < at.size(); ++k)
      if (!kept[k]) Kill(at[k], node);
    for (int id : fresh) {
      if (!corners_[id].alive) continue;
      if (corners_[id].prev == corners_[id].next) {
        CloseTwo(id);
        continue;
      }
      if (!Place(corners_[id], t, nx, ny) || !Settle(id)) return false;
    }
    return true;
  }

  // Pairs every arriving ray with the next ray counter-clockwise, which must be a leaving one
  // (a leaving ray in the arriving one's direction, within float precision of parallel, comes
  // next). Empty when they do not alternate: the wavefront would cross itself there.
  static std::vector<std::pair<int, int>> PairRays(const std::vector<Ray>& rays) {
    constexpr double kTie = 1e-6, kTurn = 2.0 * std::numbers::pi;
    auto gap = [&rays](size_t from, size_t to) {  // counter-clockwise, from -kTie
      double d = std::fmod(rays[to].angle - rays[from].angle + kTie, kTurn);
      if (d < 0.0) d += kTurn;
      return d - kTie;
    };
    std::vector<std::pair<int, int>> pairs;
    std::vector<char> taken(rays.size(), 0);
    for (size_t i = 0; i < rays.size(); ++i) {
      if (!rays[i].in) continue;
      size_t next = i;
      double nearest = kTurn, second = kTurn;
      for (size_t j = 0; j < rays.size(); ++j) {
        if (j == i) continue;
        // An arriving ray in the same direction does not come before a leaving one.
        const double d = gap(i, j) + (rays[j].in && gap(i, j) <= kTie ? 2.0 * kTie : 0.0);
        if (d < nearest) second = nearest, nearest = d, next = j;
        else if (d < second) second = d;
      }
      if (next == i || rays[next].in || taken[next] || second - nearest <= 0.0) return {};
      taken[next] = 1;
      pairs.push_back({static_cast<int>(i), static_cast<int>(next)});
    }
    return pairs;
  }
};

using FacePoints = std::vector<std::array<double, 3>>;

// A point where a face's outline turns back on itself: the `count` points from `at` (the tip
// with the points within 1 mm after it, scattered by rounding) and how far the way back
// strays from the way out.
struct TurnBack {
  size_t at = 0, count = 0;
  double width = 0.0;
};

// The turn-backs of a face's outline no wider than `widest`, in order of their tips. A point
// at height 0 is an eave end, where a thin face may turn sharply.
std::vector<TurnBack> TurnBacks(const FacePoints& points, double widest) {
  auto near = [](const std::array<double, 3>& a, const std::array<double, 3>& b) {
    return std::fabs(a[0] - b[0]) < 1.0 && std::fabs(a[1] - b[1]) < 1.0 &&
           std::fabs(a[2] - b[2]) < 1.0;
  };
  // How far p stands off the line from `from` to `to`.
  auto off = [](const auto& p, const auto& from, const auto& to) {
    const double dx = to[0] - from[0], dy = to[1] - from[1], len = std::hypot(dx, dy);
    return len > 0.0 ? std::fabs((p[0] - from[0]) * dy - (p[1] - from[1]) * dx) / len : 0.0;
  };
  std::vector<TurnBack> turns;
  const size_t n = points.size();
  for (size_t i = 0; i < n && n >= 3; ++i) {
    const auto& a = points[(i + n - 1) % n];
    const auto& b = points[i];
    if (b[2] == 0.0) continue;
    size_t count = 1;
    while (count < n - 1 && near(b, points[(i + count) % n])) ++count;
    const auto& c = points[(i + count) % n];
    if ((b[0] - a[0]) * (c[0] - b[0]) + (b[1] - a[1]) * (c[1] - b[1]) >= 0.0) continue;
    // The tip's points and c off the line from a through b, and a off the line from b to c.
    double width = off(a, b, c);
    for (size_t k = 1; k <= count; ++k) width = std::max(width, off(points[(i + k) % n], a, b));
    if (width <= widest) turns.push_back({i, count, width});
  }
  return turns;
}

// Cuts the slits off the faces' outlines (the points of each face, none where a face has no
// outline). Where events fall within a hair of each other (several parallel eaves reaching
// one line at once, a meeting of a symmetric footprint scattered by rounding), a wavefront
// corner may run on past the meeting that should have ended it: its path is an edge that
// both its faces run out along and straight back, a hair apart, to a tip that may stand far
// off the roof. Such a slit is cut where another face turns back at one of its tip's points
// (or did, its slit cut before), up to `hair` wide. A face's needle between walls a hair off
// straight is real roof that no other face covers, the face alone turning back at its tip:
// it is cut only where it is no wider than `rounding` (no width single precision's points can
// hold), as the cut leaves a crack as wide as the needle. Slits go one turn-back at a time,
// at most one a face each round, until no face has one left.
void CutSlits(std::vector<FacePoints>& faces, double rounding, double hair) {
  struct Tip {
    std::array<double, 3> point;
    size_t face;
  };
  std::vector<Tip> cut;
  for (bool cutting = true; cutting;) {
    cutting = false;
    std::vector<std::vector<TurnBack>> turns(faces.size());
    std::vector<Tip> tips = cut;
    auto tip = [&faces](size_t f, const TurnBack& t, size_t k) -> const std::array<double, 3>& {
      return faces[f][(t.at + k) % faces[f].size()];
    };
    for (size_t f = 0; f < faces.size(); ++f) {
      turns[f] = TurnBacks(faces[f], hair);
      for (const TurnBack& t : turns[f])
        for (size_t k = 0; k < t.count; ++k) tips.push_back({tip(f, t, k), f});
    }
    auto shared = [&](size_t f, const TurnBack& t) {
      for (size_t k = 0; k < t.count; ++k)
        for (const Tip& other : tips)
          if (other.face != f && other.point == tip(f, t, k)) return true;
      return false;
    };
    for (size_t f = 0; f < faces.size(); ++f) {
      const auto slit = std::find_if(turns[f].begin(), turns[f].end(), [&](const TurnBack& t) {
        return t.width <= rounding || shared(f, t);
      });
      if (slit == turns[f].end()) continue;
      std::vector<size_t> gone;
      for (size_t k = 0; k < slit->count; ++k) {
        gone.push_back((slit->at + k) % faces[f].size());
        cut.push_back({tip(f, *slit, k), f});
      }
      std::sort(gone.rbegin(), gone.rend());
      for (size_t g : gone) faces[f].erase(faces[f].begin() + static_cast<long>(g));
      cutting = true;
    }
  }
}

std::vector<RoofFace> Wavefront::Faces() const {
  // Nodes at one place count as one: each stands for the first node before it that stands
  // for itself and lies at its place. Candidates come from a window of the nodes by x.
  const double tol = 1e-7 * scale_;
  std::vector<int> byX(nodes_.size());
  for (size_t i = 0; i < nodes_.size(); ++i) byX[i] = static_cast<int>(i);
  std::sort(byX.begin(), byX.end(), [this](int a, int b) { return nodes_[a].x < nodes_[b].x; });
  std::vector<int> rank(nodes_.size()), same(nodes_.size());
  for (size_t r = 0; r < byX.size(); ++r) rank[byX[r]] = static_cast<int>(r);
  for (size_t i = 0; i < nodes_.size(); ++i) {
    same[i] = static_cast<int>(i);
    auto consider = [&](int j) {
      if (j < same[i] && same[j] == j && Near(nodes_[i].x, nodes_[i].y, nodes_[j].x, nodes_[j].y) &&
          std::fabs(nodes_[i].z - nodes_[j].z) <= tol)
        same[i] = j;
    };
    for (int r = rank[i] - 1; r >= 0 && nodes_[i].x - nodes_[byX[r]].x <= tol; --r) consider(byX[r]);
    for (size_t r = rank[i] + 1; r < byX.size() && nodes_[byX[r]].x - nodes_[i].x <= tol; ++r)
      consider(byX[r]);
  }
  std::vector<std::vector<std::pair<int, int>>> sides(lines_.size());  // per face: node pairs
  for (const Arc& arc : arcs_) {
    const int a = same[arc.from], b = same[arc.to];
    if (a == b || arc.faceA == arc.faceB) continue;
    sides[arc.faceA].push_back({a, b});
    sides[arc.faceB].push_back({a, b});
  }
  std::vector<FacePoints> outlines(lines_.size());
  for (size_t e = 0; e < lines_.size(); ++e) {
    const int start = same[eaves_[e].first], end = same[eaves_[e].second];
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
    for (int node : path) outlines[e].push_back({nodes_[node].x, nodes_[node].y, nodes_[node].z});
  }
  CutSlits(outlines, kSlitUnits * FloatUnit(magnitude_), kSlitWidth * scale_);
  std::vector<RoofFace> faces;
  for (size_t e = 0; e < lines_.size(); ++e) {
    // A face that never rises above its eave has no roof: the steeper eave's piece at a
    // straight corner between slopes, ended where it started, runs out along its eave and back.
    const double eave = nodes_[same[eaves_[e].first]].z;
    const FacePoints& points = outlines[e];
    const bool rises = std::any_of(points.begin(), points.end(),
                                   [eave](const std::array<double, 3>& p) { return p[2] > eave; });
    if (points.size() >= 3 && rises) faces.push_back({static_cast<int>(e), points});
  }
  return faces;
}

}  // namespace

double FloatUnit(double magnitude) { return std::ldexp(std::max(std::fabs(magnitude), 1.0), -23); }

bool RoofFacesByWavefront(const std::vector<RoofLoop>& loops, std::vector<RoofFace>* faces,
                          double* top) {
  faces->clear();
  // A corner that ran along two lines come together is first set at the neighbour it merged
  // with, which keeps a meeting that neighbour is in together (spokes closing on their hub);
  // where the wavefront then cannot be followed, it is followed again with such corners set
  // on their own lines, which keeps exact the distances that order later meetings a hair
  // apart (an arm's corner, long after its sides came together).
  for (bool onOwnLines : {false, true}) {
    Wavefront wave(loops, onOwnLines);
    if (wave.Run()) {
      *faces = wave.Faces();
      if (top) *top = wave.Top();
      return true;
    }
  }
  return false;
}
