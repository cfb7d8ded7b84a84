#pragma once
#include <cstdint>

// The roof-face union engine: the faces of roofs that run into one another are cut along the
// lines where they pass through each other, and every piece that lies wholly under (or on)
// another face is dropped. Neighbouring or coplanar pieces are never joined: every result
// loop lies inside one input face.

namespace kernel {

// Marks of the loops inside the engine; the result states them by the sign of a count.
inline constexpr std::int16_t OuterLoopMarker = 12333;
inline constexpr std::int16_t HoleLoopMarker = 12332;

// The caller's exchange arrays: 1000 counts and 10000 coordinates each, entry 0 unused, so
// at most 999 loops and 9999 vertices in all.
inline constexpr int kUnionCountCapacity = 1000;
inline constexpr int kUnionCoordinateCapacity = 10000;

// How far from the origin of its coordinates the union still welds what it computes. It
// takes single-precision coordinates and takes points within 0.1 of each other for one;
// two roundings of one point to a float lie at most one float step apart, and at a
// coordinate c that step is at most c x 2^-23. So up to 0.1 x 2^23 (838,860.8, about 839 m)
// the two still weld; farther out they may lie a step of 0.125 or more apart and the faces
// no longer close. Callers hand coordinates over relative to the faces' lower corner, so
// this bounds the span of what they unite.
inline constexpr double kUnionWeldableReach = 0.1 * 0x1p23;

}  // namespace kernel

// The exchange record of the roof-union command, in the order UnionRoofFaces takes its
// arguments. Large: keep it on the heap.
struct UnionFaceArrays {
  int faceCount = 0;
  std::int16_t vertexCounts[kernel::kUnionCountCapacity] = {};
  float x[kernel::kUnionCoordinateCapacity] = {};
  float y[kernel::kUnionCoordinateCapacity] = {};
  float z[kernel::kUnionCoordinateCapacity] = {};
};

// Unites planar faces in place.
//
// In: vertexCounts[1..*faceCount] holds each face's vertex count; x, y, z[1..] hold face 1's
// vertices, then face 2's, ..., each face without a repeated first vertex, in any plane and
// wound either way.
//
// Out: *faceCount is the number of result loops and the arrays hold them in the same
// sequence layout. A count is POSITIVE for an outer loop and NEGATIVE (minus the vertex
// count) for a hole; a hole always follows the outer loop it belongs to. A reader must walk
// the loops in order, advance through x, y and z by the ABSOLUTE value of each count, and
// treat a negative count as a hole of the last outer loop (or skip it), never as a face of
// its own.
//
// Returns 1 with the result, which may be empty (*faceCount 0: every piece was covered, or
// no face was usable). Returns 0 with *faceCount 0 and the arrays left as they were when the
// input breaks the caller's capacities (more than 999 faces or 9999 vertices, a negative
// count, a coordinate that is not finite) or the result would not fit them: the result can
// hold more loops than the input. It also gives no result when one face would be cut into
// more pieces than the engine's work storage allows (some four million).
//
// A result loop lies in the plane of its input face, straight above or below the plan
// position it comes from (square to the plane for a face steeper than about 84 degrees), so
// a face whose vertices are not quite in one plane keeps its plan outline. Roofs that close over their outlines with their eaves at one height (hip
// roofs, gable roofs with their end triangles) come back as pieces that cover the plan
// union of their faces once, to about 1e-6 of its area; two faces in one plane with the
// same facing are not cut against each other, and when they only partly overlap both stay
// whole. Faces of fewer than three vertices or whose vertices lie on one line span no
// plane: they neither yield pieces nor cut or cover other faces. Of faces that do not cross
// and lie within 1.0 of each other in height (in one plane, or level faces a hair apart),
// the one whose plane stands higher over their common plan box covers the other; of faces
// in one plane (several identical faces, or faces of two roofs of one pitch over one eave
// line) the earliest in input order is kept. Far from the origin, where single precision
// has rounded the vertices and a face is not quite plane, the crossings of faces are
// sought within that rounding of their edges.
//
// One call at a time per caller; the engine keeps no state between calls.
int UnionRoofFaces(int* faceCount, std::int16_t vertexCounts[], float x[], float y[], float z[]);
