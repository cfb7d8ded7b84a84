#pragma once
// Test helpers for the roof solver: calling it on a footprint, footprint generators, and the
// independent checks every roof must pass (eaves, slopes, tiling, shared edges).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "SlopedRoofSolver.h"

namespace rooftest {

struct Pt {
  double x, y;
};
using Outline = std::vector<Pt>;

struct Face {
  std::vector<std::array<double, 3>> p;
};

struct Roof {
  int result = -1;
  std::vector<Face> faces;
  Outline outline;             // the footprint as the solver left it (cleaned, clockwise)
  std::vector<double> slopes;  // per edge of that outline
};

inline Roof Solve(const Outline& outline, const std::vector<double>& slopes) {
  std::vector<std::int16_t> counts(10, 0);
  std::vector<float> base(10, 0.0f), x(500, 0.0f), y(500, 0.0f), s(500, 0.0f);
  counts[1] = static_cast<std::int16_t>(outline.size());
  for (size_t i = 0; i < outline.size(); ++i) {
    x[i + 1] = static_cast<float>(outline[i].x);
    y[i + 1] = static_cast<float>(outline[i].y);
    s[i + 1] = static_cast<float>(slopes[i]);
  }
  std::vector<std::int16_t> fc(500, 0);
  std::vector<float> fx(5000), fy(5000), fz(5000);
  int faceCount = -1;
  Roof roof;
  roof.result = SolveSlopedRoofFaces(1, counts.data(), base.data(), x.data(), y.data(), s.data(),
                                     &faceCount, fc.data(), fx.data(), fy.data(), fz.data());
  int at = 0;
  for (int f = 1; f <= faceCount; ++f) {
    Face face;
    for (int k = 0; k < fc[f]; ++k) ++at, face.p.push_back({fx[at], fy[at], fz[at]});
    roof.faces.push_back(face);
  }
  for (int i = 1; i <= counts[1]; ++i) {
    roof.outline.push_back({x[i], y[i]});
    roof.slopes.push_back(s[i]);
  }
  return roof;
}

inline double Radians(double degrees) { return degrees * M_PI / 180.0; }

inline double SignedArea(const Outline& o) {
  double s = 0.0;
  for (size_t i = 0; i < o.size(); ++i) {
    const Pt& a = o[i];
    const Pt& b = o[(i + 1) % o.size()];
    s += a.x * b.y - b.x * a.y;
  }
  return s / 2.0;
}

inline double PlanArea(const Face& f) {
  double s = 0.0;
  for (size_t i = 0; i < f.p.size(); ++i) {
    const auto& a = f.p[i];
    const auto& b = f.p[(i + 1) % f.p.size()];
    s += a[0] * b[1] - b[0] * a[1];
  }
  return s / 2.0;
}

// Winding number of a plan point about a face.
inline int Winding(const Face& f, double px, double py) {
  int w = 0;
  for (size_t i = 0; i < f.p.size(); ++i) {
    const auto& a = f.p[i];
    const auto& b = f.p[(i + 1) % f.p.size()];
    const double cross = (b[0] - a[0]) * (py - a[1]) - (px - a[0]) * (b[1] - a[1]);
    if (a[1] <= py && b[1] > py && cross > 0) ++w;
    if (a[1] > py && b[1] <= py && cross < 0) --w;
  }
  return w;
}

inline int Winding(const Outline& o, double px, double py) {
  Face f;
  for (const Pt& p : o) f.p.push_back({p.x, p.y, 0.0});
  return Winding(f, px, py);
}

inline double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
  const double dx = bx - ax, dy = by - ay;
  double t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy);
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(ax + t * dx - px, ay + t * dy - py);
}

inline double DistanceToFaceBoundary(const Face& f, double px, double py) {
  double best = 1e300;
  for (size_t i = 0; i < f.p.size(); ++i) {
    const auto& a = f.p[i];
    const auto& b = f.p[(i + 1) % f.p.size()];
    best = std::min(best, SegmentDistance(px, py, a[0], a[1], b[0], b[1]));
  }
  return best;
}

// Every check a roof over `roof.outline` must pass; the failures name `label`.
inline void ExpectSoundRoof(const Roof& roof, const std::string& label, double tol = 2.0) {
  const Outline& o = roof.outline;
  const size_t n = o.size();
  ASSERT_EQ(roof.result, 1) << label;
  double faceArea = 0.0;
  for (const Face& f : roof.faces) {
    ASSERT_GE(f.p.size(), 3u) << label;
    EXPECT_LT(PlanArea(f), 0.0) << label << ": faces run clockwise";
    faceArea += std::fabs(PlanArea(f));
  }
  const double area = std::fabs(SignedArea(o));
  double perimeter = 0.0;
  for (size_t i = 0; i < n; ++i)
    perimeter += std::hypot(o[(i + 1) % n].x - o[i].x, o[(i + 1) % n].y - o[i].y);
  EXPECT_NEAR(faceArea, area, tol * perimeter) << label << ": plan areas sum to the footprint";

  // Each eave edge lies on exactly one face, and that face rises at the edge's slope.
  for (size_t e = 0; e < n; ++e) {
    const Pt& a = o[e];
    const Pt& b = o[(e + 1) % n];
    int owners = 0;
    for (const Face& f : roof.faces) {
      bool hasA = false, hasB = false;
      // Ends matched closely: a neighbour's face may pass within a millimetre of an eave's
      // end where a steep eave between gentle ones is eaten up at once.
      for (const auto& v : f.p) {
        hasA = hasA || (std::hypot(v[0] - a.x, v[1] - a.y) < 0.1 && std::fabs(v[2]) < 0.1);
        hasB = hasB || (std::hypot(v[0] - b.x, v[1] - b.y) < 0.1 && std::fabs(v[2]) < 0.1);
      }
      if (!hasA || !hasB) continue;
      ++owners;
      const double len = std::hypot(b.x - a.x, b.y - a.y);
      for (const auto& v : f.p) {
        // Inward distance from the edge's line (the outline runs clockwise: inside is right).
        const double d = ((v[0] - a.x) * (b.y - a.y) - (v[1] - a.y) * (b.x - a.x)) / len;
        EXPECT_NEAR(v[2], std::tan(roof.slopes[e]) * d, tol * (1.0 + std::tan(roof.slopes[e])))
            << label << ": edge " << e;
      }
    }
    EXPECT_EQ(owners, 1) << label << ": edge " << e;
  }

  // Interior roof edges: every face edge off the outline lies along the boundary of exactly
  // one other face (tested at its quarter points; edges too short to tell are skipped).
  for (size_t fi = 0; fi < roof.faces.size(); ++fi) {
    const Face& f = roof.faces[fi];
    for (size_t i = 0; i < f.p.size(); ++i) {
      const auto& a = f.p[i];
      const auto& b = f.p[(i + 1) % f.p.size()];
      const double near = 0.25;  // float output: a few hundredths of a millimetre
      if (std::hypot(b[0] - a[0], b[1] - a[1]) < 40.0 * near) continue;
      const double mx = (a[0] + b[0]) / 2, my = (a[1] + b[1]) / 2;
      bool onOutline = false;
      for (size_t e = 0; e < n; ++e)
        onOutline = onOutline || SegmentDistance(mx, my, o[e].x, o[e].y, o[(e + 1) % n].x,
                                                 o[(e + 1) % n].y) < tol;
      if (onOutline) continue;
      int sharing = 0;
      for (size_t fk = 0; fk < roof.faces.size(); ++fk) {
        if (fk == fi) continue;
        bool along = true;
        for (double q : {0.25, 0.5, 0.75})
          along = along && DistanceToFaceBoundary(roof.faces[fk], a[0] + q * (b[0] - a[0]),
                                                  a[1] + q * (b[1] - a[1])) < near;
        sharing += along;
      }
      EXPECT_EQ(sharing, 1) << label << ": face " << fi << " edge " << i;
    }
  }

  // Tiling: sample points inside the footprint lie in exactly one face.
  double minX = 1e300, maxX = -1e300, minY = 1e300, maxY = -1e300;
  for (const Pt& p : o)
    minX = std::min(minX, p.x), maxX = std::max(maxX, p.x), minY = std::min(minY, p.y),
    maxY = std::max(maxY, p.y);
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> ux(minX, maxX), uy(minY, maxY);
  for (int sample = 0; sample < 300; ++sample) {
    const double px = ux(rng), py = uy(rng);
    if (Winding(o, px, py) == 0) continue;
    int covering = 0;
    bool nearEdge = false;
    for (const Face& f : roof.faces) {
      if (DistanceToFaceBoundary(f, px, py) < 5.0 * tol) nearEdge = true;
      if (Winding(f, px, py) != 0) ++covering;
    }
    if (!nearEdge) {
      EXPECT_EQ(covering, 1) << label << " at " << px << "," << py;
    }
  }
}

// ---- Footprints (clockwise, millimetres) ----

inline Outline Reversed(Outline o) {
  std::reverse(o.begin() + 1, o.end());
  return o;
}

inline Outline Rectangle(double w, double h) { return {{0, 0}, {0, h}, {w, h}, {w, 0}}; }

// Orthogonal shapes given counter-clockwise and turned clockwise.
inline Outline LShape() {
  return Reversed({{0, 0}, {12000, 0}, {12000, 5000}, {5000, 5000}, {5000, 14000}, {0, 14000}});
}
inline Outline TShape() {
  return Reversed({{4000, 0},
                   {9000, 0},
                   {9000, 8000},
                   {14000, 8000},
                   {14000, 13000},
                   {0, 13000},
                   {0, 8000},
                   {4000, 8000}});
}
inline Outline UShape() {
  return Reversed({{0, 0},
                   {16000, 0},
                   {16000, 12000},
                   {11000, 12000},
                   {11000, 5000},
                   {5000, 5000},
                   {5000, 12000},
                   {0, 12000}});
}
inline Outline HShape() {
  return Reversed({{0, 0},
                   {5000, 0},
                   {5000, 6000},
                   {11000, 6000},
                   {11000, 0},
                   {16000, 0},
                   {16000, 17000},
                   {11000, 17000},
                   {11000, 10000},
                   {5000, 10000},
                   {5000, 17000},
                   {0, 17000}});
}

// A star-shaped concave outline: n vertices at random radii around the centre, clockwise.
inline Outline StarOutline(std::mt19937& rng, int n, double rMin, double rMax) {
  std::uniform_real_distribution<double> radius(rMin, rMax), jitter(-0.3, 0.3);
  Outline o;
  for (int i = 0; i < n; ++i) {
    const double a = -2.0 * M_PI * (i + 0.5 + jitter(rng)) / n;
    const double r = radius(rng);
    o.push_back({std::round(r * std::cos(a)), std::round(r * std::sin(a))});
  }
  return o;
}

// A random orthogonal outline: a row of columns of random heights on a common base,
// clockwise.
inline Outline HistogramOutline(std::mt19937& rng, int columns) {
  std::uniform_int_distribution<int> width(2, 6), height(3, 12);
  std::vector<double> widths, heights;
  double x = 0;
  for (int c = 0; c < columns; ++c) {
    widths.push_back(width(rng) * 1000.0);
    double h = height(rng) * 1000.0;
    if (!heights.empty() && h == heights.back()) h += 1000.0;
    heights.push_back(h);
    x += widths.back();
  }
  Outline ccw{{0, 0}, {x, 0}};
  for (int c = columns - 1; c >= 0; --c) {
    ccw.push_back({x, heights[c]});
    x -= widths[c];
    ccw.push_back({x, heights[c]});
  }
  return Reversed(ccw);
}

// A random orthogonal outline from a staircase walk (rectilinear, concave), clockwise.
inline Outline StaircaseOutline(std::mt19937& rng, int steps) {
  std::uniform_int_distribution<int> len(2, 6);
  Outline ccw{{0, 0}};
  double x = 0, y = 0;
  for (int s = 0; s < steps; ++s) {  // lower right staircase going up and right
    x += len(rng) * 1000.0;
    ccw.push_back({x, y});
    y += len(rng) * 1000.0;
    ccw.push_back({x, y});
  }
  ccw.push_back({0, y});
  return Reversed(ccw);
}

}  // namespace rooftest
