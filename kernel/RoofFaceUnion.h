#pragma once
#include <cstdint>

// The roof-face union engine: the upper envelope of the faces of roofs that run into one
// another. Every face keeps the part of its plan outline over which no other face stands
// higher; an upright face (a slab's band, a gable's end wall) hides nothing and keeps the part
// that lies under no other face. Neighbouring or coplanar pieces are never joined: every
// result loop lies inside one input face.

namespace kernel {

// Marks of the loops inside the engine; the result states them by the sign of a count.
inline constexpr std::int16_t OuterLoopMarker = 12333;
inline constexpr std::int16_t HoleLoopMarker = 12332;

// The caller's exchange arrays: 1000 counts and 10000 coordinates each, entry 0 unused, so
// at most 999 loops and 9999 vertices in all.
inline constexpr int kUnionCountCapacity = 1000;
inline constexpr int kUnionCoordinateCapacity = 10000;

// How far from the origin of its coordinates the union still joins a slab's band to its
// roof. A point of an upright face within 0.1 mm of a face's plan outline is not under that
// face, so the band along a roof's eave stays; the union takes single-precision coordinates,
// and two roundings of one point to a float lie at most one float step apart, at a
// coordinate c at most c x 2^-23. So up to 0.1 x 2^23 (838,860.8, about 839 m) a band's
// foot and its roof's eave stay within that 0.1; farther out the band may be taken for
// covered by its own roof. Callers hand coordinates over relative to the faces' lower
// corner, so this bounds the span of what they unite.
inline constexpr double kUnionBandReach = 0.1 * 0x1p23;

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
// sequence layout, the pieces of face 1 first, then those of face 2, .... A count is
// POSITIVE for an outer loop and NEGATIVE (minus the vertex count) for a hole; a hole always
// follows the outer loop it belongs to. A reader must walk the loops in order, advance
// through x, y and z by the ABSOLUTE value of each count, and treat a negative count as a
// hole of the last outer loop (or skip it), never as a face of its own. An outer loop runs
// the way its face runs (in plan, or for an upright face seen square to it), a hole the
// other way.
//
// Returns 1 with the result, which may be empty (*faceCount 0: every face was hidden, or no
// face was usable). Returns 0 with *faceCount 0 and the arrays left as they were when the
// input breaks the caller's capacities (more than 999 faces or 9999 vertices, a negative
// count, a coordinate that is not finite) or the result would not fit them (the result can
// hold more loops than the input), and when the faces reach farther from the middle of
// their plan box, or an upright face stands taller, than the integer grid holds (some 4e16
// mm).
//
// Every plan point of the faces is covered once, by the highest face there: a lower roof
// partly under a higher one is cut at the higher one's edge. Faces in one plane (within
// what rounding to single precision moved them) are a tie, which the earlier in input order
// wins where both lie: of several identical faces the first stays, and of two that partly
// overlap the later loses the overlap. A face that nothing stands over comes back as it
// went, vertex for vertex, so one roof alone comes back unchanged. A cut face's pieces lie
// in its plane: a vertex that was one of the face's keeps its three coordinates, a new one
// is rounded to the grid of 0.01 mm (along the face for one steeper than 45 degrees, in
// plan otherwise) and lifted onto the plane. An upright face keeps what lies under no other
// face, a point of its plan line within 0.1 mm of another face's plan outline (an edge that
// face shares with no other face that hides) counting as not under it: a slab's band along
// its own roof's eave stays whole at every turn. Faces of fewer than three vertices or
// whose vertices lie on one line span no plane: they neither yield pieces nor hide others.
//
// One call at a time per caller; the engine keeps no state between calls.
int UnionRoofFaces(int* faceCount, std::int16_t vertexCounts[], float x[], float y[], float z[]);
