#pragma once
// Test helpers for the pitched-roof generator (CTools::powudingzcx_c): calling it on loops,
// the checks every roof must pass, worked in double from the footprint alone, and footprints
// of every kind beside the roof solver's shapes.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "SegmentTestSupport.h"
#include "SlopedRoofTestSupport.h"
#include "Tools.h"

namespace pitchedroof {

using kerneltest::EdgeDistance;
using kerneltest::P3;
using kerneltest::PlanArea;
using kerneltest::Winding;
using rooftest::Outline;
using rooftest::Pt;
using rooftest::Radians;
using Ring = std::vector<P3>;

// Loop 1 is the outer outline, the others holes; one slope (radians) per edge of all loops.
struct Footprint {
    std::vector<Outline> loops;
    std::vector<double> slopes;
    std::vector<double> bases;  // per loop; 0 where missing
};

// Slopes in whole degrees drawn from [lo, hi], or all lo.
inline Footprint Sloped(std::vector<Outline> loops, double lo, double hi = 0.0, std::mt19937* rng = nullptr,
                        std::vector<double> bases = {})
{
    Footprint f{std::move(loops), {}, std::move(bases)};
    std::uniform_int_distribution<int> degrees(static_cast<int>(lo), static_cast<int>(std::max(lo, hi)));
    for (const Outline& o : f.loops)
        for (std::size_t i = 0; i < o.size(); ++i)
            f.slopes.push_back(Radians(rng ? degrees(*rng) : lo));
    f.bases.resize(f.loops.size(), 0.0);
    return f;
}

inline Outline Moved(Outline o, double dx, double dy)
{
    for (Pt& p : o)
        p.x += dx, p.y += dy;
    return o;
}

inline Ring AsRing(const Outline& o)
{
    Ring r;
    for (const Pt& p : o)
        r.push_back({p.x, p.y, 0.0});
    return r;
}

// A comb, clockwise: a back 8000 deep with teeth 2000 wide and 6000 long, 2000 apart.
inline Outline Comb(int teeth)
{
    Outline o{{0, 0}, {0, 14000}};
    for (int t = 0; t < teeth; ++t) {
        if (t > 0)
            o.insert(o.end(), {{4000.0 * t, 8000}, {4000.0 * t, 14000}});
        o.insert(o.end(), {{4000.0 * t + 2000, 14000}, {4000.0 * t + 2000, 8000}});
    }
    o.push_back({4000.0 * teeth - 2000, 0});
    return o;
}

// A convex outline, clockwise: n corners at jittered angles on an ellipse rx by ry, in whole
// millimetres.
inline Outline ConvexOutline(std::mt19937& rng, int n, double rx, double ry)
{
    Outline o = rooftest::StarOutline(rng, n, ry, ry);
    for (Pt& p : o)
        p.x = std::round(p.x * rx / ry);
    return o;
}

// A simple polygon of n random corners (whole metres in a 40 m square, at least 2 m apart),
// clockwise, with no corner on the line of its neighbours: a random order untangled by
// reversing the run between two crossing sides until none cross (each reversal shortens the
// outline, so it ends).
inline Outline GeneralOutline(std::mt19937& rng, int n)
{
    std::uniform_int_distribution<int> metre(0, 40);
    Outline o;
    while (static_cast<int>(o.size()) < n) {
        const Pt p{1000.0 * metre(rng), 1000.0 * metre(rng)};
        if (std::all_of(o.begin(), o.end(), [&](const Pt& q) { return std::hypot(p.x - q.x, p.y - q.y) >= 2000; }))
            o.push_back(p);
    }
    for (bool untangled = false; !untangled;) {
        untangled = true;
        for (int i = 0; i < n && untangled; ++i)
            for (int j = i + 2; j < n && untangled; ++j) {
                if (i == 0 && j == n - 1)
                    continue;
                if (segment_test::SegmentsMeet(o[i], o[i + 1], o[j], o[(j + 1) % n])) {
                    std::reverse(o.begin() + i + 1, o.begin() + j + 1);
                    untangled = false;
                }
            }
    }
    for (int i = 0; i < n; ++i)
        if (segment_test::Turn(o[(i + n - 1) % n], o[i], o[(i + 1) % n]) == 0)
            return GeneralOutline(rng, n);
    return kerneltest::PlanArea(AsRing(o)) > 0 ? rooftest::Reversed(o) : o;
}

// A square courtyard (counter-clockwise) at the point of the outline farthest from its sides
// among a grid of samples, a third of that clearance across each way, turned by 17 degrees.
inline Outline CourtyardIn(const Outline& outline)
{
    const Ring ring = AsRing(outline);
    double minX = 1e300, maxX = -1e300, minY = 1e300, maxY = -1e300;
    for (const Pt& p : outline)
        minX = std::min(minX, p.x), maxX = std::max(maxX, p.x), minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
    Pt best{0, 0};
    double clearance = 0.0;
    for (int i = 1; i < 40; ++i)
        for (int j = 1; j < 40; ++j) {
            const double x = minX + (maxX - minX) * i / 40, y = minY + (maxY - minY) * j / 40;
            const double d = Winding(x, y, ring) != 0 ? EdgeDistance(x, y, ring) : 0.0;
            if (d > clearance)
                clearance = d, best = {x, y};
        }
    const double h = clearance / 3.0, c = std::cos(Radians(17)), s = std::sin(Radians(17));
    Outline court;
    for (const auto& [u, v] : {std::pair{-h, -h}, std::pair{h, -h}, std::pair{h, h}, std::pair{-h, h}})
        court.push_back({std::round(best.x + u * c - v * s), std::round(best.y + u * s + v * c)});
    return court;
}

// Footprints of every kind, each once alone and once with a courtyard: orthogonal (columns
// and staircases), convex, jittered stars and general simple polygons, `each` of every kind.
inline std::vector<std::pair<std::string, std::vector<Outline>>> FootprintFamilies(std::mt19937& rng, int each)
{
    std::vector<std::pair<std::string, Outline>> outlines;
    for (int i = 0; i < each; ++i) {
        const std::string n = " " + std::to_string(i);
        outlines.push_back({"orthogonal" + n, i % 2 ? rooftest::StaircaseOutline(rng, 1 + static_cast<int>(rng() % 12))
                                                    : rooftest::HistogramOutline(rng, 1 + static_cast<int>(rng() % 12))});
        outlines.push_back({"convex" + n, ConvexOutline(rng, 3 + static_cast<int>(rng() % 30), 12000, 7000)});
        outlines.push_back({"star" + n, rooftest::StarOutline(rng, 5 + static_cast<int>(rng() % 36), 4000, 16000)});
        outlines.push_back({"general" + n, GeneralOutline(rng, 4 + static_cast<int>(rng() % 20))});
    }
    std::vector<std::pair<std::string, std::vector<Outline>>> footprints;
    for (const auto& [name, o] : outlines) {
        footprints.push_back({name, {o}});
        footprints.push_back({name + " with a courtyard", {o, CourtyardIn(o)}});
    }
    return footprints;
}

struct Roof {
    std::vector<Ring> faces;
    Footprint footprint;  // as the generator left the caller's arrays
};

// The generator through the caller's arrays of its exported interface.
inline Roof Generate(const Footprint& f)
{
    std::vector<int> counts{0};
    std::vector<float> bases{0.0f}, x{0.0f}, y{0.0f}, slope{0.0f};
    for (std::size_t l = 0; l < f.loops.size(); ++l) {
        counts.push_back(static_cast<int>(f.loops[l].size()));
        bases.push_back(static_cast<float>(f.bases[l]));
        for (const Pt& p : f.loops[l]) {
            x.push_back(static_cast<float>(p.x));
            y.push_back(static_cast<float>(p.y));
            slope.push_back(static_cast<float>(f.slopes[x.size() - 2]));
        }
    }
    std::vector<int> faceCounts(1000);
    std::vector<float> fx(100000), fy(100000), fz(100000);
    int faceCount = -1;
    CTools::powudingzcx_c(static_cast<int>(f.loops.size()), counts.data(), bases.data(), x.data(), y.data(),
                          slope.data(), &faceCount, faceCounts.data(), fx.data(), fy.data(), fz.data());
    Roof roof{{}, f};
    std::size_t k = 0;
    for (Outline& o : roof.footprint.loops)
        for (Pt& p : o)
            ++k, p = {x[k], y[k]}, roof.footprint.slopes[k - 1] = slope[k];
    for (int face = 1, at = 1; face <= faceCount; ++face) {
        roof.faces.emplace_back();
        for (int v = 0; v < faceCounts[face]; ++v, ++at)
            roof.faces.back().push_back({fx[at], fy[at], fz[at]});
    }
    return roof;
}

// An eave and its plane: the roof lies to its right.
struct Eave {
    Pt a, b;
    double slope, base;

    double HeightAt(double x, double y) const
    {
        const double inward = ((x - a.x) * (b.y - a.y) - (y - a.y) * (b.x - a.x)) / std::hypot(b.x - a.x, b.y - a.y);
        return base + inward * std::tan(slope);
    }
    // Both ends among the face's vertices, at the eave's height.
    bool On(const Ring& face) const
    {
        const auto has = [&](const Pt& p) {
            return std::any_of(face.begin(), face.end(), [&](const P3& v) {
                return std::fabs(v.x - p.x) < 0.5 && std::fabs(v.y - p.y) < 0.5 && std::fabs(v.z - base) < 0.5;
            });
        };
        return has(a) && has(b);
    }
};

inline std::vector<Eave> Eaves(const Footprint& f)
{
    std::vector<Eave> eaves;
    for (std::size_t l = 0, k = 0; l < f.loops.size(); ++l)
        for (std::size_t i = 0; i < f.loops[l].size(); ++i, ++k)
            eaves.push_back({f.loops[l][i], f.loops[l][(i + 1) % f.loops[l].size()], f.slopes[k], f.bases[l]});
    return eaves;
}

// The checks every roof over its footprint must pass, the failures naming the label:
// faces run clockwise and hold an eave each, in whose plane they lie; every eave has one
// face; plan areas add up to the footprint's; every side off the eaves lies along exactly one
// other face (or several in turn, where their corners meet it), never one of its own plane
// (eaves of one plane whose faces meet give one face); no two faces overlap.
inline void ExpectSoundRoof(const Roof& roof, const std::string& label)
{
    const Footprint& f = roof.footprint;
    const std::vector<Eave> eaves = Eaves(f);
    double area = 0.0, expected = 0.0, perimeter = 0.0;
    std::vector<int> held(roof.faces.size(), 0);
    std::vector<std::size_t> plane(roof.faces.size(), 0);  // an eave each face holds
    const auto inPlane = [](const Ring& face, const Eave& e) {
        return std::all_of(face.begin(), face.end(), [&](const P3& v) {
            return std::fabs(v.z - e.HeightAt(v.x, v.y)) < 0.5 * (1.0 + std::tan(e.slope));
        });
    };
    for (std::size_t e = 0; e < eaves.size(); ++e) {
        int owners = 0;
        for (std::size_t k = 0; k < roof.faces.size(); ++k) {
            if (!eaves[e].On(roof.faces[k]))
                continue;
            ++owners, ++held[k], plane[k] = e;
            EXPECT_TRUE(inPlane(roof.faces[k], eaves[e])) << label << ": face " << k << " in the plane of eave " << e;
        }
        EXPECT_EQ(owners, 1) << label << ": eave " << e;
        perimeter += std::hypot(eaves[e].b.x - eaves[e].a.x, eaves[e].b.y - eaves[e].a.y);
    }
    for (std::size_t k = 0; k < roof.faces.size(); ++k) {
        EXPECT_GT(held[k], 0) << label << ": face " << k << " holds an eave";
        EXPECT_LT(PlanArea(roof.faces[k]), 0.0) << label << ": face " << k << " runs clockwise";
        area -= PlanArea(roof.faces[k]);
    }
    for (std::size_t l = 0; l < f.loops.size(); ++l)
        expected += (l == 0 ? 1 : -1) * std::fabs(PlanArea(AsRing(f.loops[l])));
    EXPECT_NEAR(area, expected, 0.05 * perimeter) << label << ": plan areas add up to the footprint";

    for (std::size_t fi = 0; fi < roof.faces.size(); ++fi) {
        const Ring& face = roof.faces[fi];
        for (std::size_t i = 0; i < face.size(); ++i) {
            const P3& a = face[i];
            const P3& b = face[(i + 1) % face.size()];
            const double mx = (a.x + b.x) / 2, my = (a.y + b.y) / 2;
            if (std::hypot(b.x - a.x, b.y - a.y) < 10.0 || std::any_of(f.loops.begin(), f.loops.end(), [&](const Outline& o) {
                    return EdgeDistance(mx, my, AsRing(o)) < 1.0;
                }))
                continue;
            int alongWhole = 0, covered = 0;  // faces along all three quarter points; points covered
            for (std::size_t fk = 0; fk < roof.faces.size(); ++fk) {
                int along = 0;
                for (int q = 1; q <= 3 && fk != fi; ++q)
                    if (EdgeDistance(a.x + q * (b.x - a.x) / 4, a.y + q * (b.y - a.y) / 4, roof.faces[fk]) < 0.25)
                        along |= 1 << (q - 1);
                alongWhole += along == 7;
                covered |= along;
                EXPECT_FALSE(along == 7 && inPlane(roof.faces[fk], eaves[plane[fi]]))
                    << label << ": faces " << fi << " and " << fk << " of one plane share a side";
            }
            EXPECT_TRUE(alongWhole == 1 || (alongWhole == 0 && covered == 7))
                << label << ": face " << fi << " side " << i << " along " << alongWhole;
        }
    }

    // Points of the footprint away from every side lie in exactly one face.
    double minX = 1e300, maxX = -1e300, minY = 1e300, maxY = -1e300;
    for (const Pt& p : f.loops[0])
        minX = std::min(minX, p.x), maxX = std::max(maxX, p.x), minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> ux(minX, maxX), uy(minY, maxY);
    for (int sample = 0; sample < 300; ++sample) {
        const double px = ux(rng), py = uy(rng);
        int inside = 0, covering = 0;
        bool nearSide = false;
        for (std::size_t l = 0; l < f.loops.size(); ++l)
            inside += (Winding(px, py, AsRing(f.loops[l])) != 0) == (l == 0);
        for (const Ring& face : roof.faces) {
            nearSide = nearSide || EdgeDistance(px, py, face) < 5.0;
            covering += Winding(px, py, face) != 0;
        }
        if (inside == static_cast<int>(f.loops.size()) && !nearSide) {
            EXPECT_EQ(covering, 1) << label << " at " << px << "," << py;
        }
    }
}

// The corners of a face, where it turns, the same within tol on every axis in any order.
inline bool SameCorners(const Ring& a, const Ring& b, double tol)
{
    const auto corners = [](const Ring& r) {
        Ring c;
        for (std::size_t i = 0, n = r.size(); i < n; ++i) {
            const P3 &p = r[(i + n - 1) % n], &v = r[i], &q = r[(i + 1) % n];
            const double ux = v.x - p.x, uy = v.y - p.y, wx = q.x - v.x, wy = q.y - v.y;
            const double lu = std::hypot(ux, uy), lw = std::hypot(wx, wy);
            if (lu > 0.5 && lw > 0.5 && (std::fabs(ux * wy - uy * wx) > 1e-4 * lu * lw || ux * wx + uy * wy < 0))
                c.push_back(v);
        }
        return c;
    };
    const Ring ca = corners(a), cb = corners(b);
    const auto within = [&](const Ring& from, const Ring& to) {
        return std::all_of(from.begin(), from.end(), [&](const P3& p) {
            return std::any_of(to.begin(), to.end(), [&](const P3& q) {
                return std::fabs(p.x - q.x) < tol && std::fabs(p.y - q.y) < tol && std::fabs(p.z - q.z) < tol;
            });
        });
    };
    return ca.size() == cb.size() && within(ca, cb) && within(cb, ca);
}

}  // namespace pitchedroof
