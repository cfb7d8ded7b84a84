#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "UnionFaces.h"

// The parts of the faces that the union keeps: of a face that is not upright, its plan
// outline less the parts of the other faces that stand above it (a face that nothing stands
// over as it came); of an upright face, what lies under no other face, a point of its plan
// line within 0.1 mm of a face's plan outline counting as not under that face (so a slab's
// band along its own roof's eave stays; an edge that two faces share, a hip, is no
// outline). Each part goes back to 3-D on the face's own plane, wound as the face is.

namespace kernel {

// A result loop, outer or hole, in the caller's coordinates.
struct ResultLoop {
  std::int16_t marker;
  std::vector<float> x, y, z;
};

// The most loops and vertices a result may hold.
struct PieceCapacity {
  size_t loops, vertices;
};

// The visible pieces of the caller's faces (vertexCounts[1..faceCount], their vertices from
// entry 1 of x, y and z, all finite), face by face in input order, each outer loop followed by
// its holes. False when a coordinate lies beyond the grid or the pieces outgrow `most`. Clipper
// may throw (on a coordinate it cannot take, or when storage runs out); the caller catches.
bool UniteFaces(int faceCount, const std::int16_t vertexCounts[], const float x[],
                const float y[], const float z[], PieceCapacity most,
                std::vector<ResultLoop>& loops);

}  // namespace kernel
