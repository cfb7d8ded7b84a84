// The roof-face union against a lean reference that gives the same visible pieces with
// Clipper: each face's plan outline clipped against the faces whose planes lie above it
// (candidates by a sweep over plan boxes sorted on x); a face no other rises over is copied.
// Hip and gable roofs scattered over a site (12 to 999 faces) and piled on one spot (20 to
// 999 faces). The engine's visible area is checked once against the reference's before the
// timing.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "RoofFaceUnion.h"
#include "SideBySide.h"
#include "UnionRoofScenes.h"
#include "VisibleParts.h"
#include "clipper.hpp"

namespace {

using unionscenes::Face;
using unionscenes::P3;
constexpr double kScale = 1000.0;  // micrometres

std::vector<Face> Scene(int faces, bool piled) {
  return unionscenes::Scene(faces, piled, static_cast<unsigned>(faces * 7 + piled));
}

struct Plane {
  double a, b, c, d;  // a x + b y + c z + d = 0
  double Z(double x, double y) const { return -(a * x + b * y + d) / c; }
};

Plane PlaneOf(const Face& f) {
  double nx = 0, ny = 0, nz = 0;
  for (size_t i = 0; i < f.size(); ++i) {
    const P3& p = f[i];
    const P3& q = f[(i + 1) % f.size()];
    nx += (p.y - q.y) * (p.z + q.z), ny += (p.z - q.z) * (p.x + q.x), nz += (p.x - q.x) * (p.y + q.y);
  }
  return {nx, ny, nz, -(nx * f[0].x + ny * f[0].y + nz * f[0].z)};
}

// The face's plan outline, run counter-clockwise so that outlines united by the non-zero
// rule never cancel each other.
ClipperLib::Path PlanPath(const Face& f) {
  ClipperLib::Path path;
  for (const P3& p : f) path.push_back({std::llround(p.x * kScale), std::llround(p.y * kScale)});
  if (!ClipperLib::Orientation(path)) std::reverse(path.begin(), path.end());
  return path;
}

// The reference: the visible plan area of every face, summed. A face's candidates are the
// faces whose plan boxes overlap its own (by a sweep over boxes sorted on x); a candidate
// whose plane lies below the face's all over the overlap of their boxes is passed over, one
// that lies above it there is taken whole, and one whose plane crosses the face's there
// only where it lies above. A face that no candidate rises over keeps its area with no
// clipping at all.
// The plan area of the paths (Clipper's units) and the volume under their face's plane
// over them: the area with the plane's height summed over it.
struct Visible {
  double area = 0.0, volume = 0.0;
};

void AddVisible(const ClipperLib::Paths& paths, const Plane& plane, Visible* visible) {
  const double k = kScale;
  for (const auto& path : paths) {
    double twice = 0.0, sx = 0.0, sy = 0.0;  // signed, with the first moments
    for (size_t i = 0; i < path.size(); ++i) {
      const ClipperLib::IntPoint& p = path[i];
      const ClipperLib::IntPoint& q = path[(i + 1) % path.size()];
      const double px = p.X / k, py = p.Y / k, qx = q.X / k, qy = q.Y / k;
      const double cross = px * qy - qx * py;
      twice += cross, sx += (px + qx) * cross, sy += (py + qy) * cross;
    }
    visible->area += twice / 2;
    // z = -(a x + b y + d) / c integrated over the path.
    visible->volume += -(plane.a * sx / 6 + plane.b * sy / 6 + plane.d * twice / 2) / plane.c;
  }
}

Visible ReferenceVisible(const std::vector<Face>& faces) {
  Visible visible;
  struct Item {
    double minX, maxX, minY, maxY;
    int face;
  };
  std::vector<Item> items;
  std::vector<Plane> planes;
  for (size_t f = 0; f < faces.size(); ++f) {
    planes.push_back(PlaneOf(faces[f]));
    // An upright face (a gable end) has no plan and covers nothing.
    const Plane& p = planes.back();
    if (std::fabs(p.c) < 1e-9 * std::hypot(p.a, p.b)) continue;
    Item it{1e300, -1e300, 1e300, -1e300, static_cast<int>(f)};
    for (const P3& p : faces[f])
      it.minX = std::min(it.minX, p.x), it.maxX = std::max(it.maxX, p.x),
      it.minY = std::min(it.minY, p.y), it.maxY = std::max(it.maxY, p.y);
    items.push_back(it);
  }
  std::vector<Item> sorted = items;
  std::sort(sorted.begin(), sorted.end(), [](const Item& a, const Item& b) { return a.minX < b.minX; });
  for (const Item& it : items) {
    const Plane& pf = planes[it.face];
    const ClipperLib::Path own = PlanPath(faces[it.face]);
    ClipperLib::Paths above;
    for (const Item& other : sorted) {
      if (other.minX > it.maxX) break;
      if (other.face == it.face || other.maxX < it.minX || other.maxY < it.minY ||
          other.minY > it.maxY)
        continue;
      const Plane& pg = planes[other.face];
      // How far the other face's plane lies above this face's: zg - zf = ka x + kb y + kd.
      const double ka = pf.a / pf.c - pg.a / pg.c, kb = pf.b / pf.c - pg.b / pg.c,
                   kd = pf.d / pf.c - pg.d / pg.c;
      const double x0 = std::max(it.minX, other.minX), x1 = std::min(it.maxX, other.maxX);
      const double y0 = std::max(it.minY, other.minY), y1 = std::min(it.maxY, other.maxY);
      int higher = 0;  // corners of the overlap where the other plane lies above
      for (double cx : {x0, x1})
        for (double cy : {y0, y1}) higher += ka * cx + kb * cy + kd > 0.0;
      if (higher == 0) continue;  // below (or on) this face over the whole overlap
      if (higher == 4) {
        above.push_back(PlanPath(faces[other.face]));
        continue;
      }
      // Points p with ka x + kb y + kd > 0: a big square on that side of the line.
      const double n = std::hypot(ka, kb), ux = ka / n, uy = kb / n, off = -kd / n;
      const double bx = ux * off, by = uy * off, R = 1e7;
      auto pt = [&](double s, double t) {
        return ClipperLib::IntPoint{std::llround((bx - uy * s + ux * t) * kScale),
                                    std::llround((by + ux * s + uy * t) * kScale)};
      };
      const ClipperLib::Path half = {pt(-R, 0), pt(R, 0), pt(R, R), pt(-R, R)};
      ClipperLib::Clipper c;
      c.AddPath(PlanPath(faces[other.face]), ClipperLib::ptSubject, true);
      c.AddPath(half, ClipperLib::ptClip, true);
      ClipperLib::Paths part;
      c.Execute(ClipperLib::ctIntersection, part, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
      above.insert(above.end(), part.begin(), part.end());
    }
    if (above.empty()) {
      AddVisible({own}, pf, &visible);
      continue;
    }
    ClipperLib::Clipper c;
    c.AddPath(own, ClipperLib::ptSubject, true);
    c.AddPaths(above, ClipperLib::ptClip, true);
    ClipperLib::Paths left;
    c.Execute(ClipperLib::ctDifference, left, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
    AddVisible(left, pf, &visible);
  }
  return visible;
}

// The faces as the exchange arrays hold them (1-based).
struct Arrays {
  std::vector<std::int16_t> counts{0};
  std::vector<float> x{0.0f}, y{0.0f}, z{0.0f};
};

Arrays ExchangeArrays(const std::vector<Face>& faces) {
  Arrays arrays;
  for (const Face& f : faces) {
    arrays.counts.push_back(static_cast<std::int16_t>(f.size()));
    for (const P3& p : f)
      arrays.x.push_back(static_cast<float>(p.x)), arrays.y.push_back(static_cast<float>(p.y)),
          arrays.z.push_back(static_cast<float>(p.z));
  }
  return arrays;
}

// The engine's pieces: all that UnionRoofFaces computes before it writes them back into the
// exchange arrays, with no bound on their number (999 scattered faces give about 1,100
// loops, more than the arrays hold); false when the engine refuses.
bool RunEngine(const Arrays& arrays, std::vector<kernel::ResultLoop>& loops) {
  loops.clear();
  const int faceCount = static_cast<int>(arrays.counts.size()) - 1;
  return kernel::UniteFaces(faceCount, arrays.counts.data(), arrays.x.data(), arrays.y.data(),
                            arrays.z.data(), {SIZE_MAX, SIZE_MAX}, loops);
}

Visible EngineVisible(const Arrays& arrays) {
  Visible visible;
  std::vector<kernel::ResultLoop> loops;
  if (!RunEngine(arrays, loops)) return {-1.0, -1.0};
  for (const kernel::ResultLoop& l : loops) {
    Face loop;
    for (size_t k = 0; k < l.x.size(); ++k) loop.push_back({l.x[k], l.y[k], l.z[k]});
    // Upright loops (gable ends) have no plan, as in the reference.
    const Plane plane = PlaneOf(loop);
    if (std::fabs(plane.c) < 1e-9 * std::hypot(plane.a, plane.b)) continue;
    // Outer loops counted positive, holes negative.
    ClipperLib::Path path = PlanPath(loop);
    if (l.marker == kernel::HoleLoopMarker) std::reverse(path.begin(), path.end());
    AddVisible({path}, plane, &visible);
  }
  return visible;
}

constexpr double kAgreement = 1e-6;

void Engine(benchmark::State& state, bool piled) {
  const std::vector<Face> faces = Scene(static_cast<int>(state.range(0)), piled);
  const Arrays arrays = ExchangeArrays(faces);
  // The answer, checked once outside the timed loop: the visible plan area, and the volume
  // under the visible pieces (which tells a lower piece kept for a higher one).
  const Visible got = EngineVisible(arrays), expected = ReferenceVisible(faces);
  if (std::fabs(got.area - expected.area) > kAgreement * expected.area ||
      std::fabs(got.volume - expected.volume) > kAgreement * std::fabs(expected.volume)) {
    state.SkipWithError("the engine's visible pieces differ from the reference's");
    return;
  }
  std::vector<kernel::ResultLoop> loops;
  for (auto _ : state) benchmark::DoNotOptimize(RunEngine(arrays, loops));
}

void Reference(benchmark::State& state, bool piled) {
  const std::vector<Face> faces = Scene(static_cast<int>(state.range(0)), piled);
  for (auto _ : state) benchmark::DoNotOptimize(ReferenceVisible(faces));
}

}  // namespace

int main(int argc, char** argv) {
  bench::RegisterSideBySide<bool>("UnionEngine", Engine, "UnionReference", Reference, {{"scattered", false}},
                                  {12, 100, 400, 800, 999}, benchmark::kMillisecond);
  bench::RegisterSideBySide<bool>("UnionEngine", Engine, "UnionReference", Reference, {{"piled", true}},
                                  {20, 100, 200, 999}, benchmark::kMillisecond);
  return bench::RunRegistered(argc, argv);
}
