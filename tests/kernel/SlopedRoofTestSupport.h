#pragma once
// Test helpers for the roof solver and the coplanar-piece merge: calls over plain vectors,
// footprint generators, tilted roof planes, and the independent checks every roof must pass
// (eaves, slopes, tiling, shared edges) over the kernel's shared plan geometry.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "KernelTestSupport.h"
#include "SlopeFaceMerge.h"
#include "SlopedRoofSolver.h"

namespace rooftest {

using kerneltest::P3;
using Ring = std::vector<P3>;  // a face, a piece or a merged loop

struct Pt {
  double x, y;
};
using Outline = std::vector<Pt>;

struct Roof {
  int result = -1;
  std::vector<Ring> faces;
  Outline outline;             // loop 1 as the solver left it (cleaned, clockwise)
  std::vector<double> slopes;  // per edge of that outline
};

inline double Radians(double degrees) { return degrees * M_PI / 180.0; }

inline std::vector<double> EqualSlopes(size_t n, double degrees) {
  return std::vector<double>(n, Radians(degrees));
}

// One slope for every edge of the loops.
inline std::vector<double> EqualSlopes(const std::vector<Outline>& loops, double degrees) {
  size_t n = 0;
  for (const Outline& o : loops) n += o.size();
  return EqualSlopes(n, degrees);
}

// The solver on loops given one after another, slopes per edge across all loops, eave
// heights per loop (all 0 when none are given).
inline Roof Solve(const std::vector<Outline>& loops, const std::vector<double>& slopes,
                  const std::vector<double>& bases = {}) {
  size_t total = 0;
  for (const Outline& o : loops) total += o.size();
  std::vector<std::int16_t> counts(std::max<size_t>(10, loops.size() + 1), 0), fc(500, 0);
  std::vector<float> base(counts.size(), 0.0f), fx(5000), fy(5000), fz(5000);
  std::vector<float> x(std::max<size_t>(500, total + 1)), y(x.size()), s(x.size());
  size_t at = 0;
  for (size_t l = 0; l < loops.size(); ++l) {
    counts[l + 1] = static_cast<std::int16_t>(loops[l].size());
    for (const Pt& p : loops[l]) {
      x[at + 1] = static_cast<float>(p.x), y[at + 1] = static_cast<float>(p.y);
      s[at + 1] = static_cast<float>(slopes[at]);
      ++at;
    }
    if (l < bases.size()) base[l + 1] = static_cast<float>(bases[l]);
  }
  int faceCount = -1;
  Roof roof;
  roof.result =
      SolveSlopedRoofFaces(static_cast<int>(loops.size()), counts.data(), base.data(), x.data(),
                           y.data(), s.data(), &faceCount, fc.data(), fx.data(), fy.data(), fz.data());
  EXPECT_EQ(roof.result != 0, faceCount != 0);
  int k = 0;
  for (int f = 1; f <= faceCount; ++f) {
    Ring face;
    for (int v = 0; v < fc[f]; ++v) ++k, face.push_back({fx[k], fy[k], fz[k]});
    roof.faces.push_back(face);
  }
  for (int i = 1; i <= counts[1] && !loops.empty(); ++i) {
    roof.outline.push_back({x[i], y[i]});
    roof.slopes.push_back(s[i]);
  }
  return roof;
}

inline Roof Solve(const Outline& outline, const std::vector<double>& slopes) {
  return Solve(std::vector<Outline>{outline}, slopes);
}

// The outline as a ring at height 0.
inline Ring Flat(const Outline& o) {
  Ring ring;
  for (const Pt& p : o) ring.push_back({p.x, p.y, 0.0});
  return ring;
}

inline double SignedArea(const Outline& o) { return kerneltest::PlanArea(Flat(o)); }

// The plan area the faces cover together.
inline double FacesArea(const std::vector<Ring>& faces) {
  double sum = 0.0;
  for (const Ring& f : faces) sum += std::fabs(kerneltest::PlanArea(f));
  return sum;
}

inline double MaxZ(const Roof& r) {
  double m = 0.0;
  for (const Ring& f : r.faces)
    for (const P3& v : f) m = std::max(m, v.z);
  return m;
}

// The largest coordinate's size.
inline double Magnitude(const std::vector<Outline>& loops) {
  double magnitude = 0.0;
  for (const Outline& o : loops)
    for (const Pt& p : o) magnitude = std::max({magnitude, std::fabs(p.x), std::fabs(p.y)});
  return magnitude;
}

inline double Perimeter(const Ring& r) {
  double sum = 0.0;
  for (size_t i = 0; i < r.size(); ++i)
    sum += std::hypot(r[(i + 1) % r.size()].x - r[i].x, r[(i + 1) % r.size()].y - r[i].y);
  return sum;
}

// Whether the face holds the eave a-b: both ends among its points at the eave's height, within
// tol.
inline bool OwnsEave(const Ring& f, const Pt& a, const Pt& b, double tol, double height = 0.0) {
  auto has = [&](const Pt& p) {
    return std::any_of(f.begin(), f.end(), [&](const P3& v) {
      return std::hypot(v.x - p.x, v.y - p.y) < tol && std::fabs(v.z - height) < tol;
    });
  };
  return has(a) && has(b);
}

// The plane of a clockwise outline's edge a-b at the slope: its height over a plan point is the
// rise times the point's distance inward (to the right) of the edge's line.
struct EavePlane {
  double nx, ny, c, rise;
  EavePlane(const Pt& a, const Pt& b, double slope) {
    const double len = std::hypot(b.x - a.x, b.y - a.y);
    nx = (b.y - a.y) / len, ny = -(b.x - a.x) / len, c = nx * a.x + ny * a.y, rise = std::tan(slope);
  }
  double At(double x, double y) const { return rise * (nx * x + ny * y - c); }
};

// The height of a face's plane over a plan point (the plane by Newell's normal).
inline double HeightOver(const Ring& face, double x, double y) {
  double nx = 0, ny = 0, nz = 0, cx = 0, cy = 0, cz = 0;
  for (size_t i = 0; i < face.size(); ++i) {
    const P3& a = face[i];
    const P3& b = face[(i + 1) % face.size()];
    nx += (a.y - b.y) * (a.z + b.z), ny += (a.z - b.z) * (a.x + b.x), nz += (a.x - b.x) * (a.y + b.y);
    cx += a.x, cy += a.y, cz += a.z;
  }
  const double n = static_cast<double>(face.size());
  return cz / n - (nx * (x - cx / n) + ny * (y - cy / n)) / nz;
}

// Whether a face may touch the point in plan within tol, as its bounding box tells quickly.
struct Box {
  double minX = 1e300, maxX = -1e300, minY = 1e300, maxY = -1e300;
  explicit Box(const Ring& r) {
    for (const P3& p : r)
      minX = std::min(minX, p.x), maxX = std::max(maxX, p.x), minY = std::min(minY, p.y),
      maxY = std::max(maxY, p.y);
  }
  bool Near(double x, double y, double tol) const {
    return x >= minX - tol && x <= maxX + tol && y >= minY - tol && y <= maxY + tol;
  }
};

// Every check a roof over `roof.outline` must pass; the failures name `label`.
inline void ExpectSoundRoof(const Roof& roof, const std::string& label, double tol = 2.0) {
  using kerneltest::EdgeDistance;
  using kerneltest::PlanArea;
  const Outline& o = roof.outline;
  const size_t n = o.size();
  ASSERT_EQ(roof.result, 1) << label;
  std::vector<Box> boxes;
  for (const Ring& f : roof.faces) {
    ASSERT_GE(f.size(), 3u) << label;
    EXPECT_LT(PlanArea(f), 0.0) << label << ": faces run clockwise";
    boxes.emplace_back(f);
  }
  const Ring outline = Flat(o);
  EXPECT_NEAR(FacesArea(roof.faces), std::fabs(SignedArea(o)), tol * Perimeter(outline))
      << label << ": plan areas sum to the footprint";

  // Each eave edge lies on exactly one face, and that face rises at the edge's slope.
  for (size_t e = 0; e < n; ++e) {
    const Pt& a = o[e];
    const Pt& b = o[(e + 1) % n];
    int owners = 0;
    for (const Ring& f : roof.faces) {
      // Ends matched closely: a neighbour's face may pass within a millimetre of an eave's
      // end where a steep eave between gentle ones is eaten up at once.
      if (!OwnsEave(f, a, b, 0.1)) continue;
      ++owners;
      const EavePlane plane(a, b, roof.slopes[e]);
      for (const P3& v : f) EXPECT_NEAR(v.z, plane.At(v.x, v.y), tol * (1.0 + plane.rise)) << label << ": edge " << e;
    }
    EXPECT_EQ(owners, 1) << label << ": edge " << e;
  }

  // Interior roof edges: every face edge off the outline lies along the boundary of exactly
  // one other face, or, where other faces' corners meet it (a T-junction), of several that
  // cover it in turn; tested at its quarter points, edges too short to tell skipped. Where
  // the face or its neighbour there is a needle thinner than that (two of its edges as near),
  // the face beyond the needle lies along the edge too.
  const double near = 0.25;  // float output: a few hundredths of a millimetre
  auto needle = [near](const Ring& r, const std::array<std::pair<double, double>, 3>& points) {
    return std::all_of(points.begin(), points.end(), [&](const std::pair<double, double>& p) {
      int edges = 0;
      for (size_t j = 0; j < r.size(); ++j) edges += EdgeDistance(p.first, p.second, {r[j], r[(j + 1) % r.size()]}) < near;
      return edges >= 2;
    });
  };
  for (size_t fi = 0; fi < roof.faces.size(); ++fi) {
    const Ring& f = roof.faces[fi];
    for (size_t i = 0; i < f.size(); ++i) {
      const P3& a = f[i];
      const P3& b = f[(i + 1) % f.size()];
      if (std::hypot(b.x - a.x, b.y - a.y) < 40.0 * near) continue;
      if (EdgeDistance((a.x + b.x) / 2, (a.y + b.y) / 2, outline) < tol) continue;
      std::array<std::pair<double, double>, 3> quarters;
      for (int k = 0; k < 3; ++k) {
        const double q = 0.25 * (k + 1);
        quarters[k] = {a.x + q * (b.x - a.x), a.y + q * (b.y - a.y)};
      }
      int whole = 0, covered = 0;  // faces along all three points; points with a face along
      bool thin = needle(f, quarters);
      for (size_t fk = 0; fk < roof.faces.size(); ++fk) {
        int along = 0;
        for (int k = 0; k < 3 && fk != fi; ++k) {
          const auto [x, y] = quarters[k];
          if (boxes[fk].Near(x, y, near) && EdgeDistance(x, y, roof.faces[fk]) < near) along |= 1 << k;
        }
        whole += along == 7;
        covered |= along;
        thin = thin || (along == 7 && needle(roof.faces[fk], quarters));
      }
      EXPECT_TRUE(whole == 1 || (whole == 0 && covered == 7) || (thin && whole == 2))
          << label << ": face " << fi << " edge " << i << " along " << whole;
    }
  }

  // Tiling: sample points inside the footprint lie in exactly one face.
  const Box all(outline);
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> ux(all.minX, all.maxX), uy(all.minY, all.maxY);
  for (int sample = 0; sample < 300; ++sample) {
    const double px = ux(rng), py = uy(rng);
    if (kerneltest::Winding(px, py, outline) == 0) continue;
    int covering = 0;
    bool nearEdge = false;
    for (size_t k = 0; k < roof.faces.size(); ++k) {
      if (!boxes[k].Near(px, py, 5.0 * tol)) continue;
      nearEdge = nearEdge || EdgeDistance(px, py, roof.faces[k]) < 5.0 * tol;
      covering += kerneltest::Winding(px, py, roof.faces[k]) != 0;
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

// An outline from x, y pairs given counter-clockwise, turned clockwise.
inline Outline FromCounterClockwise(const std::vector<double>& xy) {
  Outline o;
  for (size_t i = 0; i + 1 < xy.size(); i += 2) o.push_back({xy[i], xy[i + 1]});
  return Reversed(o);
}

inline Outline Rectangle(double w, double h) { return {{0, 0}, {0, h}, {w, h}, {w, 0}}; }

inline Outline LShape() {
  return FromCounterClockwise({0, 0, 12000, 0, 12000, 5000, 5000, 5000, 5000, 14000, 0, 14000});
}
inline Outline TShape() {
  return FromCounterClockwise({4000, 0, 9000, 0, 9000, 8000, 14000, 8000, 14000, 13000, 0, 13000,
                               0, 8000, 4000, 8000});
}
inline Outline UShape() {
  return FromCounterClockwise({0, 0, 16000, 0, 16000, 12000, 11000, 12000, 11000, 5000, 5000,
                               5000, 5000, 12000, 0, 12000});
}
inline Outline HShape() {
  return FromCounterClockwise({0, 0, 5000, 0, 5000, 6000, 11000, 6000, 11000, 0, 16000, 0, 16000,
                               17000, 11000, 17000, 11000, 10000, 5000, 10000, 5000, 17000, 0,
                               17000});
}

// A star-shaped concave outline: n vertices at random radii around the centre.
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

// A random orthogonal outline: a row of columns of random heights on a common base.
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
  std::vector<double> ccw{0, 0, x, 0};
  for (int c = columns - 1; c >= 0; --c) {
    ccw.insert(ccw.end(), {x, heights[c]});
    x -= widths[c];
    ccw.insert(ccw.end(), {x, heights[c]});
  }
  return FromCounterClockwise(ccw);
}

// A random orthogonal outline from a staircase walk (rectilinear, concave).
inline Outline StaircaseOutline(std::mt19937& rng, int steps) {
  std::uniform_int_distribution<int> len(2, 6);
  std::vector<double> ccw{0, 0};
  double x = 0, y = 0;
  for (int s = 0; s < steps; ++s) {  // lower right staircase going up and right
    x += len(rng) * 1000.0;
    ccw.insert(ccw.end(), {x, y});
    y += len(rng) * 1000.0;
    ccw.insert(ccw.end(), {x, y});
  }
  ccw.insert(ccw.end(), {0, y});
  return FromCounterClockwise(ccw);
}

// ---- Surveyed footprints (walls a few millimetres off square) ----

// The orthogonal loop with every corner moved a little, so that each wall runs 1 to `most`
// millimetres off square: a wall's two ends share the one coordinate a square wall keeps, so
// one end is moved anywhere within most / 2 and the other 1 to `most` from it (the loop's walls
// must turn at every corner).
inline Outline OffSquare(std::mt19937& rng, Outline o, double most) {
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  const size_t n = o.size();
  std::vector<Pt> moved = o;
  for (size_t i = 0; i < n; ++i) {
    const Pt& a = o[i];
    const Pt& b = o[(i + 1) % n];
    const bool level = std::fabs(b.y - a.y) < std::fabs(b.x - a.x);
    const double first = most * (unit(rng) - 0.5);
    const double off = 1.0 + (most - 1.0) * unit(rng);
    // Kept within most / 2 towards the other side, which leaves it at least 1 from the first.
    const double second = first > 0.0 ? std::max(first - off, -most / 2) : std::min(first + off, most / 2);
    (level ? moved[i].y : moved[i].x) += first;
    (level ? moved[(i + 1) % n].y : moved[(i + 1) % n].x) += second;
  }
  return moved;
}

// ---- Symmetric footprints (counter-clockwise, centred on the origin) ----
// Their symmetry makes many events fall at one height and place.

inline Pt Polar(double r, double a) { return {r * std::cos(a), r * std::sin(a)}; }

// A regular n-gon of corner radius r, its first corner at angle `turn`.
inline Outline RegularPolygon(int n, double r, double turn = 0.0) {
  Outline o;
  for (int i = 0; i < n; ++i) o.push_back(Polar(r, turn + 2.0 * M_PI * i / n));
  return o;
}

// The polygon with a notch cut into the middle of every edge, `depth` deep and `width` wide at
// the edge: a V, or a rectangular slot.
inline Outline Notched(const Outline& polygon, double depth, double width, bool slot) {
  Outline o;
  for (size_t i = 0; i < polygon.size(); ++i) {
    const Pt p = polygon[i], q = polygon[(i + 1) % polygon.size()];
    const double len = std::hypot(q.x - p.x, q.y - p.y);
    const double ux = (q.x - p.x) / len, uy = (q.y - p.y) / len, mx = (p.x + q.x) / 2,
                 my = (p.y + q.y) / 2;
    const double w = width / 2, ix = -uy * depth, iy = ux * depth;  // inward
    o.push_back(p);
    o.push_back({mx - ux * w, my - uy * w});
    if (slot) {
      o.push_back({mx - ux * w + ix, my - uy * w + iy});
      o.push_back({mx + ux * w + ix, my + uy * w + iy});
    } else {
      o.push_back({mx + ix, my + iy});
    }
    o.push_back({mx + ux * w, my + uy * w});
  }
  return o;
}

// The polygon with an arm `length` long and `width` wide out of the middle of every edge: a
// slot of negative depth.
inline Outline WithArms(const Outline& polygon, double length, double width) {
  return Notched(polygon, -length, width, true);
}

// Spokes `width` wide out of the centre, one of each length, the first at angle `turn`.
inline Outline Spokes(const std::vector<double>& lengths, double width, double turn = 0.0) {
  Outline o;
  const size_t k = lengths.size();
  const double w = width / 2, half = M_PI / k;
  for (size_t i = 0; i < k; ++i) {
    const double a = turn + 2.0 * M_PI * i / k;
    const Pt u = Polar(1.0, a), n{-u.y, u.x};
    o.push_back({lengths[i] * u.x - w * n.x, lengths[i] * u.y - w * n.y});
    o.push_back({lengths[i] * u.x + w * n.x, lengths[i] * u.y + w * n.y});
    o.push_back(Polar(w / std::sin(half), a + half));  // where this spoke meets the next
  }
  return o;
}

// k spokes `length` long.
inline Outline Spokes(int k, double length, double width, double turn = 0.0) {
  return Spokes(std::vector<double>(k, length), width, turn);
}

// A wheel: a rim round an n-gon of radius r, k spokes of the given width from a hub; the
// openings between the spokes are courtyards.
inline std::vector<Outline> Wheel(int n, int k, double r, double rim, double hub, double width) {
  std::vector<Outline> loops{RegularPolygon(n, r)};
  const double inner = r * std::cos(M_PI / n) - rim, w = width / 2;
  auto side = [w](double a, double radius, double off) {  // a spoke side at that radius
    const double along = std::sqrt(radius * radius - w * w);
    return Pt{along * std::cos(a) - off * std::sin(a), along * std::sin(a) + off * std::cos(a)};
  };
  for (int i = 0; i < k; ++i) {
    const double a = 2.0 * M_PI * i / k, b = 2.0 * M_PI * (i + 1) / k;
    loops.push_back({side(a, hub, w), side(a, inner, w), side(b, inner, -w), side(b, hub, -w)});
  }
  return loops;
}

// A star of n points at radius r alternating with n corners at radius ratio * r.
inline Outline RegularStar(int n, double r, double ratio) {
  Outline o;
  for (int i = 0; i < 2 * n; ++i) o.push_back(Polar(i % 2 ? r * ratio : r, M_PI * i / n));
  return o;
}

// The loops turned about the origin and moved to (cx, cy), then measured from the outline's first
// point as the roof routine hands an outline over, so that single precision scatters the meetings
// its symmetry makes fall together.
inline std::vector<Outline> OnSite(std::vector<Outline> loops, double turn, double cx, double cy) {
  for (Outline& o : loops)
    for (Pt& p : o) p = {cx + p.x * std::cos(turn) - p.y * std::sin(turn), cy + p.x * std::sin(turn) + p.y * std::cos(turn)};
  const Pt first = loops[0][0];
  for (Outline& o : loops)
    for (Pt& p : o) p = {p.x - first.x, p.y - first.y};
  return loops;
}

// The loops as the solver takes them: the outline clockwise, courtyards counter-clockwise,
// coordinates in single precision.
inline std::vector<Outline> AsFootprint(std::vector<Outline> loops) {
  for (size_t l = 0; l < loops.size(); ++l) {
    for (Pt& p : loops[l]) p = {static_cast<float>(p.x), static_cast<float>(p.y)};
    if ((SignedArea(loops[l]) > 0) == (l == 0)) loops[l] = Reversed(loops[l]);
  }
  return loops;
}

// ---- Coplanar pieces ----

// A roof-like plane: origin, two unit axes in it and its normal.
struct Frame {
  P3 o, u, v, n;
  Frame(double azimuthDeg, double tiltDeg, P3 origin) : o(origin) {
    const double az = Radians(azimuthDeg), tilt = Radians(tiltDeg);
    u = {std::cos(az), std::sin(az), 0.0};
    v = {-std::sin(az) * std::cos(tilt), std::cos(az) * std::cos(tilt), std::sin(tilt)};
    n = {u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
  }
  P3 Map(double a, double b) const {
    return {o.x + a * u.x + b * v.x, o.y + a * u.y + b * v.y, o.z + a * u.z + b * v.z};
  }
  Ring Map(const Ring& flat) const {
    Ring r;
    for (const P3& p : flat) r.push_back(Map(p.x, p.y));
    return r;
  }
  // Height of p above the plane, and p's coordinates along the two axes.
  double Height(const P3& p) const {
    return (p.x - o.x) * n.x + (p.y - o.y) * n.y + (p.z - o.z) * n.z;
  }
  P3 Flatten(const P3& p) const {
    const P3 d{p.x - o.x, p.y - o.y, p.z - o.z};
    return {d.x * u.x + d.y * u.y + d.z * u.z, d.x * v.x + d.y * v.y + d.z * v.z, 0.0};
  }
};

inline Ring Rect(double x0, double y0, double x1, double y1) {
  return {{x0, y0, 0}, {x1, y0, 0}, {x1, y1, 0}, {x0, y1, 0}};
}

struct Merged {
  int result = -1;
  std::vector<Ring> loops;
};

// BuildSlopeFaces on pieces given as rings (taken to float as the solver hands them over).
inline Merged Merge(const std::vector<Ring>& pieces) {
  std::vector<std::int16_t> counts{0}, loopCounts(1000, 0);
  std::vector<float> x{0}, y{0}, z{0}, lx(10000), ly(10000), lz(10000);
  for (const Ring& r : pieces) {
    counts.push_back(static_cast<std::int16_t>(r.size()));
    for (const P3& p : r) {
      x.push_back(static_cast<float>(p.x));
      y.push_back(static_cast<float>(p.y));
      z.push_back(static_cast<float>(p.z));
    }
  }
  int loops = -1, points = -1;
  Merged m;
  m.result = BuildSlopeFaces(static_cast<int>(pieces.size()), static_cast<int>(x.size()) - 1,
                             counts.data(), x.data(), y.data(), z.data(), &loops, &points,
                             loopCounts.data(), lx.data(), ly.data(), lz.data());
  int at = 0;
  for (int l = 1; l <= loops; ++l) {
    Ring ring;
    for (int p = 0; p < loopCounts[l]; ++p) ++at, ring.push_back({lx[at], ly[at], lz[at]});
    m.loops.push_back(ring);
  }
  EXPECT_EQ(at, points);
  return m;
}

}  // namespace rooftest
