#pragma once
#include <vector>

#include "PlaneFaceMerge.h"

// The multi-slope roof solver's answer before it is returned, and the check it must pass
// (SlopedRoofSolver.h): the seam at which the solver's tests hand the check a wrong roof.

// A footprint after the solver's clean-up: points 0-based, loop after loop (the outline
// clockwise, courtyards counter-clockwise), one slope per edge (radians, from point i to the
// next point of its loop) and one eave height per loop, as the caller gave them.
struct RoofFootprint {
  std::vector<int> start, count;  // per loop
  std::vector<double> x, y;
  std::vector<float> slope, base;  // per edge (point), per loop
  std::vector<int> loopOf;         // per point

  int Size() const { return static_cast<int>(x.size()); }
  int Next(int i) const {
    const int l = loopOf[i];
    return i + 1 == start[l] + count[l] ? start[l] : i + 1;
  }
};

// The roof the moving eave lines give: the face of edge edges[k] is faces[k], its points in
// single precision, absolute heights; top is the height of the last meeting. No faces when
// the wavefront cannot follow the footprint.
struct RoofAnswer {
  std::vector<PlaneFace> faces;
  std::vector<int> edges;
  double top = 0.0;
};

RoofAnswer WavefrontAnswer(const RoofFootprint& f);

// The answer's faces with the faces of one plane merged, when the answer passes the check:
// every face's points on its edge's plane (the edge's rise times the inward distance from its
// line, above its loop's eave), the merged faces' plan areas summing to the outline's less
// the courtyards', and no point above the top, each within a few dozen units of single
// precision at the coordinates' magnitude. Empty when it fails.
std::vector<PlaneFace> CheckedRoofFaces(const RoofFootprint& f, const RoofAnswer& answer);
