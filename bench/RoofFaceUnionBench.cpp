// The roof-face union against a reference that gives the same visible pieces with Clipper:
// each face's plan outline less, for every face whose plan box overlaps it (found by a sweep
// over boxes sorted on x), the part of that face's outline where its plane lies above.
// Hip and gable roofs scattered over a site (12 to 800 faces) and piled on one spot (20 to
// 200 faces). The engine's visible area is checked once against the reference's before the
// timing.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "RoofFaceUnion.h"
#include "UnionRoofScenes.h"
#include "clipper.hpp"
#include "SideBySide.h"

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

ClipperLib::Path PlanPath(const Face& f) {
  ClipperLib::Path path;
  for (const P3& p : f) path.push_back({std::llround(p.x * kScale), std::llround(p.y * kScale)});
  return path;
}

double Area(const ClipperLib::Paths& paths) {
  double sum = 0.0;
  for (const auto& p : paths) sum += ClipperLib::Area(p);
  return std::fabs(sum) / (kScale * kScale);
}

// The reference: the visible plan area of every face, summed.
double ReferenceArea(const std::vector<Face>& faces) {
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
  double total = 0.0;
  for (const Item& it : items) {
    const Plane& pf = planes[it.face];
    ClipperLib::Paths above;
    for (const Item& other : sorted) {
      if (other.minX > it.maxX) break;
      if (other.face == it.face || other.maxX < it.minX || other.maxY < it.minY ||
          other.minY > it.maxY)
        continue;
      // Where the other face's plane lies above this one's: a half-plane of the plan, cut
      // to a box around both faces.
      const Plane& pg = planes[other.face];
      const double ka = pg.a / pg.c - pf.a / pf.c, kb = pg.b / pg.c - pf.b / pf.c,
                   kd = pg.d / pg.c - pf.d / pf.c;  // zf - zg = ka x + kb y + kd
      const double lo = -1e8, hi = 1e8;
      ClipperLib::Path half;
      if (std::fabs(ka) < 1e-12 && std::fabs(kb) < 1e-12) {
        if (kd <= 0.0) continue;  // not above
        half = {{std::llround(lo * kScale), std::llround(lo * kScale)},
                {std::llround(hi * kScale), std::llround(lo * kScale)},
                {std::llround(hi * kScale), std::llround(hi * kScale)},
                {std::llround(lo * kScale), std::llround(hi * kScale)}};
      } else {
        // Points p with ka x + kb y + kd > 0: a big square on that side of the line.
        const double n = std::hypot(ka, kb), ux = ka / n, uy = kb / n, off = -kd / n;
        const double bx = ux * off, by = uy * off, R = 1e7;
        auto pt = [&](double s, double t) {
          return ClipperLib::IntPoint{std::llround((bx - uy * s + ux * t) * kScale),
                                      std::llround((by + ux * s + uy * t) * kScale)};
        };
        half = {pt(-R, 0), pt(R, 0), pt(R, R), pt(-R, R)};
      }
      ClipperLib::Clipper c;
      c.AddPath(PlanPath(faces[other.face]), ClipperLib::ptSubject, true);
      c.AddPath(half, ClipperLib::ptClip, true);
      ClipperLib::Paths part;
      c.Execute(ClipperLib::ctIntersection, part, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
      above.insert(above.end(), part.begin(), part.end());
    }
    ClipperLib::Clipper c;
    c.AddPath(PlanPath(faces[it.face]), ClipperLib::ptSubject, true);
    c.AddPaths(above, ClipperLib::ptClip, true);
    ClipperLib::Paths visible;
    c.Execute(ClipperLib::ctDifference, visible, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
    total += Area(visible);
  }
  return total;
}

double EngineArea(const std::vector<Face>& faces, UnionFaceArrays& arrays) {
  arrays.faceCount = 0;
  int at = 0;
  for (const Face& f : faces) {
    arrays.vertexCounts[++arrays.faceCount] = static_cast<std::int16_t>(f.size());
    for (const P3& p : f) {
      ++at;
      arrays.x[at] = static_cast<float>(p.x), arrays.y[at] = static_cast<float>(p.y),
      arrays.z[at] = static_cast<float>(p.z);
    }
  }
  if (!UnionRoofFaces(&arrays.faceCount, arrays.vertexCounts, arrays.x, arrays.y, arrays.z))
    return -1.0;
  double total = 0.0;
  at = 0;
  for (int l = 1; l <= arrays.faceCount; ++l) {
    const int n = std::abs(arrays.vertexCounts[l]);
    double twice = 0.0;
    for (int k = 0; k < n; ++k) {
      const int i = at + 1 + k, j = at + 1 + (k + 1) % n;
      twice += static_cast<double>(arrays.x[i]) * arrays.y[j] -
               static_cast<double>(arrays.x[j]) * arrays.y[i];
    }
    total += (arrays.vertexCounts[l] > 0 ? 1 : -1) * std::fabs(twice) / 2 / 1.0;
    at += n;
  }
  return total;
}

constexpr double kAgreement = 1e-6;

void Engine(benchmark::State& state, bool piled) {
  const std::vector<Face> faces = Scene(static_cast<int>(state.range(0)), piled);
  auto arrays = std::make_unique<UnionFaceArrays>();
  const double got = EngineArea(faces, *arrays), expected = ReferenceArea(faces) * 1.0;
  if (std::fabs(got - expected) > kAgreement * expected) {
    state.SkipWithError("the engine's visible area differs from the reference's");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(EngineArea(faces, *arrays));
}

void Reference(benchmark::State& state, bool piled) {
  const std::vector<Face> faces = Scene(static_cast<int>(state.range(0)), piled);
  for (auto _ : state) benchmark::DoNotOptimize(ReferenceArea(faces));
}

}  // namespace

int main(int argc, char** argv) {
  bench::RegisterSideBySide<bool>("UnionEngine", Engine, "UnionReference", Reference, {{"scattered", false}},
                                  {12, 100, 400, 800}, benchmark::kMillisecond);
  bench::RegisterSideBySide<bool>("UnionEngine", Engine, "UnionReference", Reference, {{"piled", true}},
                                  {20, 100, 200}, benchmark::kMillisecond);
  return bench::RunRegistered(argc, argv);
}
