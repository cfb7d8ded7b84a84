// The visible parts of the faces, clipped in Clipper's integer grid: each face's outline less
// the regions other faces hide it in, face by face.
#include "VisibleParts.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>

#include "HalfPlaneClip.h"
#include "LineInsidePolygon.h"
#include "RoofFaceUnion.h"
#include "UniformGrid.h"

namespace kernel {

namespace {

// The caller's faces, read-only, with the set-up the union made of them.
struct UnionInput {
  const float* x;
  const float* y;
  const float* z;
  const UnionFaces& set;
};

using ClipperLib::IntPoint;
using ClipperLib::Path;
using ClipperLib::Paths;

// Heights within this of each other, over and above what rounding moved the faces by, are
// level.
constexpr double kLevel = 0.001;
// How far beyond a face's plan box the regions that hide it are kept: enough to keep their
// edges off the face's own.
constexpr double kBoxMargin = 1.0;
// A point of an upright face's plan line within this of a face's plan outline (an edge it
// shares with no other face that hides) is not under that face.
constexpr double kClearOfOutline = 0.1;
// The tangent of the slope above which a face is clipped along its own plane, not in plan.
constexpr double kSteepTangent = 1.0;
// How many hiders one clipping takes at most.
constexpr size_t kBatch = 32;
// How far below and above an upright face the regions cut out of it reach.
constexpr double kWallMargin = 1.0;

std::optional<Path> OnGrid(const std::vector<PlanPoint>& points) {
  Path path;
  path.reserve(points.size());
  for (const PlanPoint& p : points) {
    const std::optional<ClipperLib::cInt> x = GridUnits(p.x), y = GridUnits(p.y);
    if (!x || !y) return std::nullopt;
    path.emplace_back(*x, *y);
  }
  return path;
}

// Twice the path's signed area in grid units, exactly.
__int128 TwiceArea(const Path& path) {
  __int128 sum = 0;
  for (size_t i = 0, n = path.size(); i < n; ++i) {
    const IntPoint& a = path[i];
    const IntPoint& b = path[(i + 1) % n];
    sum += static_cast<__int128>(a.X) * b.Y - static_cast<__int128>(b.X) * a.Y;
  }
  return sum;
}

void WindCounterClockwise(Path& path) {
  if (TwiceArea(path) < 0) std::reverse(path.begin(), path.end());
}

struct GridLoop {
  std::int16_t marker;
  Path path;
};

// A region of the grid that hides part of a face, with how high the face it comes from
// rises there (the most): the highest go first.
struct Hider {
  double rise;
  Path path;
};

// The loops of a clipping's tree: every outer loop followed by its holes, islands inside
// holes as outer loops of their own.
std::vector<GridLoop> LoopsOf(const ClipperLib::PolyTree& tree) {
  std::vector<GridLoop> loops;
  std::vector<const ClipperLib::PolyNode*> outers(tree.Childs.begin(), tree.Childs.end());
  while (!outers.empty()) {
    const ClipperLib::PolyNode* outer = outers.back();
    outers.pop_back();
    loops.push_back({OuterLoopMarker, outer->Contour});
    for (const ClipperLib::PolyNode* hole : outer->Childs) {
      loops.push_back({HoleLoopMarker, hole->Contour});
      outers.insert(outers.end(), hole->Childs.begin(), hole->Childs.end());
    }
  }
  return loops;
}

// The subject less the hiders (each wound counter-clockwise, filled by the non-zero rule),
// kBatch at a time, the highest first: under a pile of roofs a face meets hundreds, whose
// edges cross one another everywhere, and taken at once they cost what all those crossings
// cost; in batches the first often hide the face whole, and each later one meets only what
// is left of it.
std::vector<GridLoop> Difference(const Path& subject, std::vector<Hider> hiders) {
  std::stable_sort(hiders.begin(), hiders.end(),
                   [](const Hider& a, const Hider& b) { return a.rise > b.rise; });
  Paths left{subject};
  for (size_t from = 0;; from += kBatch) {
    const size_t to = std::min(hiders.size(), from + kBatch);
    ClipperLib::Clipper clipper;
    clipper.AddPaths(left, ClipperLib::ptSubject, true);
    for (size_t k = from; k < to; ++k) clipper.AddPath(hiders[k].path, ClipperLib::ptClip, true);
    if (to == hiders.size()) {
      ClipperLib::PolyTree tree;
      clipper.Execute(ClipperLib::ctDifference, tree, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
      return LoopsOf(tree);
    }
    left.clear();
    clipper.Execute(ClipperLib::ctDifference, left, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
    if (left.empty()) return {};
  }
}

// Whether the loops cover all of the subject: nothing was taken from it.
bool Untouched(const Path& subject, const std::vector<GridLoop>& loops) {
  __int128 left = 0;
  for (const GridLoop& loop : loops) left += TwiceArea(loop.path);
  return left == TwiceArea(subject);
}

// The face's own vertices on the grid, to give a result vertex that is one of them back as
// it came.
class OwnVertices {
 public:
  explicit OwnVertices(const Path& path) {
    for (size_t i = 0; i < path.size(); ++i) sorted_.push_back({path[i].X, path[i].Y, static_cast<int>(i)});
    std::stable_sort(sorted_.begin(), sorted_.end(), Less);
  }
  // The index of the vertex at p, or -1.
  int At(const IntPoint& p) const {
    const auto it = std::lower_bound(sorted_.begin(), sorted_.end(), Entry{p.X, p.Y, -1}, Less);
    return it != sorted_.end() && it->x == p.X && it->y == p.Y ? it->index : -1;
  }

 private:
  struct Entry {
    ClipperLib::cInt x, y;
    int index;
  };
  static bool Less(const Entry& a, const Entry& b) { return a.x < b.x || (a.x == b.x && a.y < b.y); }
  std::vector<Entry> sorted_;
};

ResultLoop AsItCame(const UnionInput& input, const UnionFace& face) {
  ResultLoop loop{OuterLoopMarker, {}, {}, {}};
  const int end = face.first + face.count;
  loop.x.assign(input.x + face.first, input.x + end);
  loop.y.assign(input.y + face.first, input.y + end);
  loop.z.assign(input.z + face.first, input.z + end);
  return loop;
}

// The loops back in 3-D: a vertex that is one of the face's own comes back as it came, any
// other through `lift` (grid point to the caller's coordinates). Reversed when the face runs
// clockwise in its frame.
template <typename Lift>
void AppendLifted(const UnionInput& input, const UnionFace& face, const Path& own,
                  const std::vector<GridLoop>& grid, bool reversed, Lift lift,
                  std::vector<ResultLoop>& loops) {
  const OwnVertices vertices(own);
  for (const GridLoop& g : grid) {
    ResultLoop loop{g.marker, {}, {}, {}};
    for (const IntPoint& p : g.path) {
      const int v = vertices.At(p);
      double x, y, z;
      if (v >= 0) {
        const int at = face.first + v;
        x = input.x[at], y = input.y[at], z = input.z[at];
      } else {
        lift(p, &x, &y, &z);
      }
      loop.x.push_back(static_cast<float>(x));
      loop.y.push_back(static_cast<float>(y));
      loop.z.push_back(static_cast<float>(z));
    }
    if (reversed) {
      std::reverse(loop.x.begin(), loop.x.end());
      std::reverse(loop.y.begin(), loop.y.end());
      std::reverse(loop.z.begin(), loop.z.end());
    }
    loops.push_back(std::move(loop));
  }
}

// The frame a face that is not upright is clipped in: its plan, or for a face steeper than
// 45 degrees its plan stretched along its fall line by the secant of its slope, so that the
// grid's unit is a unit along the face. (In plan, a cut across a steep face rounded by half
// a unit would move up or down the face by that times its slope's tangent: 5 mm at 89.9
// degrees.)
class SlopeFrame {
 public:
  explicit SlopeFrame(const Slope& s) {
    const double tangent = std::hypot(s.p, s.q);
    if (tangent > kSteepTangent)
      fx_ = s.p / tangent, fy_ = s.q / tangent, stretch_ = std::hypot(1.0, tangent);
  }
  PlanPoint To(PlanPoint p) const {
    const double more = (stretch_ - 1.0) * (p.x * fx_ + p.y * fy_);
    return {p.x + more * fx_, p.y + more * fy_};
  }
  PlanPoint From(PlanPoint u) const {
    const double more = (stretch_ - 1.0) * (u.x * fx_ + u.y * fy_) / stretch_;
    return {u.x - more * fx_, u.y - more * fy_};
  }

 private:
  double fx_ = 0.0, fy_ = 0.0, stretch_ = 1.0;
};

// The part of a face g that stands above a face f, and the most g rises over f over the
// overlap of their plan boxes.
struct PartAbove {
  double rise = 0.0;
  std::vector<PlanPoint> part;
};

// The plan region where face g stands above face f (both not upright), from the height of g
// over f, z_g - z_f, a linear function of the plan point whose coefficients are the same
// differences whichever of the two asks, so the two answers never overlap. Over the overlap
// of their plan boxes: g above everywhere gives all of g, below everywhere nothing, level
// everywhere (one plane, within what rounding moved them) all of g when g comes first;
// otherwise the part of g where it stands above. A vertex of g that is a vertex of f too,
// where the two are level, lies on the line they meet along: two faces of a roof that share
// a hip give each other no sliver.
PartAbove WhereAbove(const UnionFace& f, int fi, const UnionFace& g, int gi) {
  const double x0 = std::max(f.minX, g.minX), x1 = std::min(f.maxX, g.maxX);
  const double y0 = std::max(f.minY, g.minY), y1 = std::min(f.maxY, g.maxY);
  if (!(x0 < x1 && y0 < y1)) return {};
  const Slope rise{g.slope.p - f.slope.p, g.slope.q - f.slope.q, g.slope.r - f.slope.r};
  const double level = f.slack + g.slack + kLevel;
  int above = 0, below = 0;
  double most = -std::numeric_limits<double>::infinity();
  for (const double x : {x0, x1})
    for (const double y : {y0, y1}) {
      const double height = rise.At(x, y);
      above += height > level, below += height < -level;
      most = std::max(most, height);
    }
  if (below == 4) return {};
  if (above == 4) return {most, g.plan};
  if (above == 0 && below == 0) return gi < fi ? PartAbove{most, g.plan} : PartAbove{};
  std::vector<double> side;
  side.reserve(g.plan.size());
  for (size_t i = 0; i < g.plan.size(); ++i) {
    const double height = rise.At(g.plan[i].x, g.plan[i].y);
    side.push_back(std::fabs(height) <= level && f.HasPoint(g.vertexPoints[i]) ? 0.0 : height);
  }
  return {most, KeepPositiveSide(g.plan, side)};
}

// Whether the plan boxes of a and b meet (closed: an upright face's box may have no width).
bool BoxesMeet(const UnionFace& a, const UnionFace& b) {
  return a.minX <= b.maxX && b.minX <= a.maxX && a.minY <= b.maxY && b.minY <= a.maxY;
}

// A face that may hide another: one that spans a plane and is not upright.
bool Hides(const UnionFace& face) { return face.usable && !face.upright; }

// The pieces of face f that no other face stands above, appended to `loops`; `near` holds
// the faces whose plan boxes may overlap f's. False when a coordinate lies beyond the grid.
bool AppendSlopedPieces(const UnionInput& input, int f, const std::vector<int>& near,
                        std::vector<ResultLoop>& loops) {
  const UnionFace& face = input.set.faces[f];
  const SlopeFrame frame(face.slope);
  const auto inFrame = [&](std::vector<PlanPoint> points) {
    for (PlanPoint& p : points) p = frame.To(p);
    return OnGrid(points);
  };
  std::vector<Hider> clips;
  for (const int g : near) {
    const UnionFace& other = input.set.faces[g];
    if (g == f || !Hides(other)) continue;
    PartAbove above = WhereAbove(face, f, other, g);
    if (above.part.empty()) continue;
    above.part = KeepWithinBox(std::move(above.part), face.minX - kBoxMargin, face.minY - kBoxMargin,
                               face.maxX + kBoxMargin, face.maxY + kBoxMargin);
    if (above.part.empty()) continue;
    std::optional<Path> path = inFrame(std::move(above.part));
    if (!path) return false;
    WindCounterClockwise(*path);
    clips.push_back({above.rise, std::move(*path)});
  }
  if (clips.empty()) {
    loops.push_back(AsItCame(input, face));
    return true;
  }
  const std::optional<Path> own = inFrame(face.plan);
  if (!own) return false;
  Path subject = *own;
  WindCounterClockwise(subject);
  const std::vector<GridLoop> grid = Difference(subject, std::move(clips));
  if (Untouched(subject, grid)) {
    loops.push_back(AsItCame(input, face));
    return true;
  }
  const auto lift = [&](const IntPoint& p, double* x, double* y, double* z) {
    const PlanPoint plan = frame.From({p.X / kGridUnitsPerMillimetre, p.Y / kGridUnitsPerMillimetre});
    *x = plan.x + input.set.originX, *y = plan.y + input.set.originY;
    *z = face.slope.At(plan.x, plan.y);
  };
  AppendLifted(input, face, *own, grid, face.nz < 0.0, lift, loops);
  return true;
}

// The pieces of the upright face w that lie under no face of `near`, appended likewise.
bool AppendUprightPieces(const UnionInput& input, int w, const std::vector<int>& near,
                         std::vector<ResultLoop>& loops) {
  const UnionFace& wall = input.set.faces[w];
  // The wall's frame: s along its plan line from the mean of its vertices, h the height over
  // the middle of its heights. Seen from the side its normal points to, it runs
  // counter-clockwise in this frame.
  const double horizontal = std::hypot(wall.nx, wall.ny);
  const PlanPoint across{wall.nx / horizontal, wall.ny / horizontal};
  const PlanPoint along{-across.y, across.x};
  const PlanPoint at{wall.meanX, wall.meanY};
  const double middle = (wall.minZ + wall.maxZ) / 2;
  std::vector<PlanPoint> own;
  double lo = 0.0, hi = 0.0;
  for (int i = 0; i < wall.count; ++i) {
    const double s = (wall.plan[i].x - at.x) * along.x + (wall.plan[i].y - at.y) * along.y;
    own.push_back({s, wall.z[i] - middle});
    lo = i == 0 ? s : std::min(lo, s), hi = i == 0 ? s : std::max(hi, s);
  }
  const double bottom = wall.minZ - kWallMargin - middle, top = wall.maxZ + kWallMargin - middle;
  std::vector<Hider> clips;
  for (const int g : near) {
    const UnionFace& other = input.set.faces[g];
    if (g == w || !Hides(other) || !BoxesMeet(wall, other)) continue;
    std::vector<char> outline(other.sharedEdges.size());
    for (size_t i = 0; i < outline.size(); ++i) outline[i] = !other.sharedEdges[i];
    for (const Stretch& s : StretchesInside(other.plan, outline, at, along, lo, hi, kClearOfOutline)) {
      // Under the other face over the stretch: below its plane's line across the wall.
      const double z0 = other.slope.At(at.x + s.from * along.x, at.y + s.from * along.y) - middle;
      const double z1 = other.slope.At(at.x + s.to * along.x, at.y + s.to * along.y) - middle;
      if (z0 <= bottom && z1 <= bottom) continue;
      const std::vector<PlanPoint> box{{s.from, bottom}, {s.to, bottom}, {s.to, top}, {s.from, top}};
      const std::vector<double> under{z0 - bottom, z1 - bottom, z1 - top, z0 - top};
      const std::vector<PlanPoint> region = KeepPositiveSide(box, under);
      if (region.empty()) continue;
      std::optional<Path> path = OnGrid(region);
      if (!path) return false;
      clips.push_back({std::max(z0, z1), std::move(*path)});
    }
  }
  if (clips.empty()) {
    loops.push_back(AsItCame(input, wall));
    return true;
  }
  const std::optional<Path> subject = OnGrid(own);
  if (!subject) return false;
  const std::vector<GridLoop> grid = Difference(*subject, std::move(clips));
  if (Untouched(*subject, grid)) {
    loops.push_back(AsItCame(input, wall));
    return true;
  }
  const auto lift = [&](const IntPoint& p, double* x, double* y, double* z) {
    const double s = p.X / kGridUnitsPerMillimetre;
    *z = p.Y / kGridUnitsPerMillimetre + middle;
    // Off the plan line as far as the wall's plane leans there.
    const double off = -wall.nz * (*z - wall.meanZ) / horizontal;
    *x = at.x + s * along.x + off * across.x + input.set.originX;
    *y = at.y + s * along.y + off * across.y + input.set.originY;
  };
  AppendLifted(input, wall, *subject, grid, false, lift, loops);
  return true;
}

// The faces that may hide others (spanning a plane, not upright) in a grid of their plan
// boxes: the candidates that may stand over a face, in input order.
class HidingFaces {
 public:
  explicit HidingFaces(const UnionFaces& set) {
    std::vector<GridBox> boxes;
    for (size_t f = 0; f < set.faces.size(); ++f) {
      const UnionFace& face = set.faces[f];
      if (!Hides(face)) continue;
      ids_.push_back(static_cast<int>(f));
      boxes.push_back({face.minX, face.minY, face.maxX, face.maxY});
    }
    grid_.Build(boxes);
  }

  const std::vector<int>& Near(const UnionFace& face) {
    grid_.Query({face.minX, face.minY, face.maxX, face.maxY}, near_);
    for (int& g : near_) g = ids_[static_cast<size_t>(g)];
    return near_;
  }

 private:
  UniformGrid grid_;
  std::vector<int> ids_, near_;
};

bool Within(const std::vector<ResultLoop>& loops, PieceCapacity most) {
  size_t vertices = 0;
  for (const ResultLoop& loop : loops) vertices += loop.x.size();
  return loops.size() <= most.loops && vertices <= most.vertices;
}

}  // namespace

bool UniteFaces(int faceCount, const std::int16_t vertexCounts[], const float x[],
                const float y[], const float z[], PieceCapacity most,
                std::vector<ResultLoop>& loops) {
  const UnionFaces set = SetUpFaces(faceCount, vertexCounts, x, y, z);
  const UnionInput input{x, y, z, set};
  HidingFaces hiding(set);
  for (size_t f = 0; f < set.faces.size(); ++f) {
    const UnionFace& face = set.faces[f];
    if (!face.usable) continue;
    const std::vector<int>& near = hiding.Near(face);
    const int index = static_cast<int>(f);
    const bool done = face.upright ? AppendUprightPieces(input, index, near, loops)
                                   : AppendSlopedPieces(input, index, near, loops);
    if (!done || !Within(loops, most)) return false;
  }
  return true;
}

}  // namespace kernel
