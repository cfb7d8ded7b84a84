#pragma once
#include <cstdint>
#include <vector>

#include "UnionFaces.h"

// The part of one face that the union keeps: for a face that is not upright, its plan
// outline less the parts of the other faces that stand above it; for an upright face, what
// lies under no other face. Each part goes back to 3-D on the face's own plane.

namespace kernel {

// A result loop, outer or hole, in the caller's coordinates.
struct ResultLoop {
  std::int16_t marker;
  std::vector<float> x, y, z;
};

// The caller's faces, read-only, with the set-up the union made of them.
struct UnionInput {
  const float* x;
  const float* y;
  const float* z;
  const UnionFaces& set;
};

// The pieces of face f that no other face stands above, appended to `loops`: each outer loop
// with its holes after it, outer loops wound as the face is in plan. A face that nothing
// covers goes in as it came. `near` holds the faces whose plan boxes may overlap f's (upright
// ones among them are passed over). False when a coordinate lies beyond the grid.
bool AppendSlopedPieces(const UnionInput& input, int f, const std::vector<int>& near,
                        std::vector<ResultLoop>& loops);

// The pieces of the upright face w that lie under no face of `near`, appended likewise,
// wound as the face is. A point of its plan line within 0.1 mm of a face's plan outline is
// not under that face, so a slab's band along its own roof's eave stays; an edge that two
// faces share (a hip) is no outline.
bool AppendUprightPieces(const UnionInput& input, int w, const std::vector<int>& near,
                         std::vector<ResultLoop>& loops);

}  // namespace kernel
