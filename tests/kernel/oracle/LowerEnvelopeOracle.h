#pragma once
// The lower envelope of the eave planes as the oracle of roofs with one slope per edge over
// convex outlines: a plan point is under the moving eave lines at height t until one of them,
// moved inward t / tan(slope), passes it, so the roof there is the least of the planes' heights.
#include <sstream>
#include <string>
#include <vector>

#include "SlopedRoofTestSupport.h"

namespace rooftest {

struct LowerEnvelope {
  std::vector<EavePlane> planes;
  LowerEnvelope(const Outline& clockwise, const std::vector<double>& slopes) {
    for (size_t i = 0; i < clockwise.size(); ++i)
      planes.emplace_back(clockwise[i], clockwise[(i + 1) % clockwise.size()], slopes[i]);
  }
  double Height(double x, double y) const {
    double h = 1e300;
    for (const EavePlane& p : planes) h = std::min(h, p.At(x, y));
    return h;
  }
  // The highest point is one where three planes meet: the best height over those points.
  double Top() const {
    double top = 0.0;
    for (size_t i = 0; i < planes.size(); ++i)
      for (size_t j = i + 1; j < planes.size(); ++j)
        for (size_t k = j + 1; k < planes.size(); ++k) {
          // Plane i less planes j and k: two lines in plan, (a1, b1) . p = d1 and (a2, b2) . p = d2.
          const EavePlane &p = planes[i], &q = planes[j], &r = planes[k];
          const double a1 = p.rise * p.nx - q.rise * q.nx, b1 = p.rise * p.ny - q.rise * q.ny, d1 = p.rise * p.c - q.rise * q.c;
          const double a2 = p.rise * p.nx - r.rise * r.nx, b2 = p.rise * p.ny - r.rise * r.ny, d2 = p.rise * p.c - r.rise * r.c;
          const double m = a1 * b2 - a2 * b1;
          if (std::fabs(m) > 1e-12) top = std::max(top, Height((d1 * b2 - d2 * b1) / m, (a1 * d2 - a2 * d1) / m));
        }
    return top;
  }
};

// How the roof over the clockwise footprint differs from the lower envelope of its planes at
// the top and at sample points (random ones, and ones near every eave, where a wrong plane
// shows first; none within a millimetre of a face's edge): empty when they agree within 0.5 mm
// and the rise times 0.05 mm and the few single-precision units the roof's points carry.
inline std::string EnvelopeDifference(const Roof& roof, const Outline& footprint, const std::vector<double>& slopes,
                                      std::mt19937& rng) {
  if (roof.result != 1) return "refused";
  const LowerEnvelope envelope(footprint, slopes);
  double steepest = 0.0;
  for (double s : slopes) steepest = std::max(steepest, std::tan(s));
  const double tol = 0.5 + steepest * (0.05 + 8.0 * std::ldexp(std::max(1.0, Magnitude({footprint})), -23));
  std::ostringstream why;
  if (std::fabs(MaxZ(roof) - envelope.Top()) > tol) why << "top " << MaxZ(roof) << " against " << envelope.Top() << "; ";
  const Ring ring = Flat(footprint);
  std::vector<Pt> samples;
  for (size_t i = 0; i < footprint.size(); ++i) {
    const Pt& a = footprint[i];
    const Pt& b = footprint[(i + 1) % footprint.size()];
    const EavePlane plane(a, b, 0.0);
    for (double along : {0.03, 0.5, 0.97})
      for (double in : {20.0, 400.0, 3000.0})
        samples.push_back({a.x + along * (b.x - a.x) + in * plane.nx, a.y + along * (b.y - a.y) + in * plane.ny});
  }
  const Box all(ring);
  std::uniform_real_distribution<double> ux(all.minX, all.maxX), uy(all.minY, all.maxY);
  for (int k = 0; k < 100; ++k) samples.push_back({ux(rng), uy(rng)});
  for (const Pt& p : samples) {
    if (kerneltest::Winding(p.x, p.y, ring) == 0 ||
        std::any_of(roof.faces.begin(), roof.faces.end(), [&p](const Ring& f) { return kerneltest::EdgeDistance(p.x, p.y, f) < 1.0; }))
      continue;
    std::vector<const Ring*> over;
    for (const Ring& f : roof.faces)
      if (kerneltest::Winding(p.x, p.y, f) != 0) over.push_back(&f);
    const double expected = envelope.Height(p.x, p.y);
    if (over.size() != 1)
      why << over.size() << " faces over (" << p.x << "," << p.y << "); ";
    else if (std::fabs(HeightOver(*over[0], p.x, p.y) - expected) > tol)
      why << "height " << HeightOver(*over[0], p.x, p.y) << " against " << expected << " at (" << p.x << "," << p.y << "); ";
  }
  return why.str();
}

}  // namespace rooftest
