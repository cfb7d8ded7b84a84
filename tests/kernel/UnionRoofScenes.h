#pragma once
// Roofs for the roof-face union's tests and benchmark: hip roofs, and gable roofs with their
// upright gable triangles (or open ends), over turned rectangles with their eaves at a given
// height, scattered over a site or piled on one spot. Every coordinate is a float, as the engine's exchange arrays
// hold it, so an oracle sees the input the engine sees.
#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "KernelTestSupport.h"

namespace unionscenes {

using kerneltest::P3;
using Face = std::vector<P3>;

// One roof's footprint and pitch: a w x d rectangle turned by `turn` about (cx, cy).
struct RoofPlan {
  double cx, cy, w, d, turn, pitch;
  bool gable;
  double eave = 0.0;
  bool gableEnds = true;
};

// The roof's faces. A hip roof rises from all four eaves to a ridge along the longer side; a
// gable roof has two slopes meeting at that ridge and an upright triangle at each end (or
// none).
inline std::vector<Face> RoofFaces(const RoofPlan& r) {
  const double half = std::min(r.w, r.d) / 2, h = half * std::tan(r.pitch);
  const double c = std::cos(r.turn), s = std::sin(r.turn);
  const bool alongU = r.w >= r.d;
  // (u, v): u along the ridge, v across it.
  auto at = [&](double u, double v, double z) {
    const double x = alongU ? u : v, y = alongU ? v : u;
    return P3{static_cast<float>(r.cx + x * c - y * s), static_cast<float>(r.cy + x * s + y * c),
              static_cast<float>(z)};
  };
  const double lu = std::max(r.w, r.d) / 2, ridge = r.gable ? lu : lu - half;
  const double z = r.eave;
  const P3 a = at(-lu, -half, z), b = at(lu, -half, z), e = at(lu, half, z), f = at(-lu, half, z);
  const P3 r1 = at(-ridge, 0, z + h), r2 = at(ridge, 0, z + h);
  if (r.gable && !r.gableEnds) return {{a, b, r2, r1}, {e, f, r1, r2}};
  if (r.gable) return {{a, b, r2, r1}, {e, f, r1, r2}, {b, e, r2}, {f, a, r1}};
  return {{a, b, r2, r1}, {b, e, r2}, {e, f, r1, r2}, {f, a, r1}};
}

// Random roofs of four faces each, every other one a gable roof, 6 to 16 m across at 20 to 45
// degrees: scattered over a square that grows with their number, or piled within 6 m of one
// spot.
inline std::vector<Face> Scene(int faces, bool piled, unsigned seed) {
  std::mt19937 rng(seed);
  const int roofs = faces / 4;
  const double side = piled ? 6000.0 : 9000.0 * std::sqrt(roofs);
  std::uniform_real_distribution<double> place(0.0, side), size(6000.0, 16000.0),
      turn(0.0, M_PI), pitch(20.0, 45.0);
  std::vector<Face> scene;
  for (int k = 0; k < roofs; ++k) {
    const RoofPlan plan{place(rng), place(rng), size(rng), size(rng), turn(rng),
                        pitch(rng) * M_PI / 180.0, k % 2 == 1};
    const std::vector<Face> roof = RoofFaces(plan);
    scene.insert(scene.end(), roof.begin(), roof.end());
  }
  return scene;
}

}  // namespace unionscenes
