#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "clipper.hpp"

// The faces as the roof-face union works them: measured from one origin (the centre of the
// usable faces' plan box), each with its plan box, its plane and how far its vertices may
// stand off that plane; and the integer grid in which the union clips.

namespace kernel {

// The grid's fixed scale: 0.01 mm, fine enough for coordinates that come in single precision
// (a float of a building's size is a few thousandths of a millimetre apart from the next).
inline constexpr double kGridUnitsPerMillimetre = 100.0;

// A length as grid units, rounded to the unit: nothing when it is not finite or lies beyond
// the range Clipper takes (about 4.6e16 mm from the origin). Every coordinate reaches the
// grid through here.
std::optional<ClipperLib::cInt> GridUnits(double millimetres);

struct PlanPoint {
  double x, y;
};

// z = p x + q y + r over the plan, measured from the origin.
struct Slope {
  double p = 0.0, q = 0.0, r = 0.0;
  double At(double x, double y) const { return p * x + q * y + r; }
};

struct UnionFace {
  int first = 0;  // index of its first vertex in the caller's arrays
  int count = 0;
  // Spans a plane: at least three vertices, not all on one line.
  bool usable = false;
  // Stands upright (its normal's vertical part under a thousandth of its largest part): it
  // hides nothing, and keeps what lies under no other face.
  bool upright = false;
  std::vector<PlanPoint> plan;  // measured from the origin
  std::vector<double> z;
  // Each vertex's plan position as a number that every face with a vertex there shares
  // (vertexPoints, in vertex order), and the same numbers ascending, each once (points):
  // which vertices two faces have in common.
  std::vector<int> vertexPoints, points;
  // Whether edge i (vertex i to the next) is an edge of another face that hides too (a hip
  // or valley between two faces of a roof): no edge of the roof's outline.
  std::vector<char> sharedEdges;
  double minX = 0.0, minY = 0.0, maxX = 0.0, maxY = 0.0, minZ = 0.0, maxZ = 0.0;
  double nx = 0.0, ny = 0.0, nz = 0.0;  // the normal (Newell's, unscaled)
  Slope slope;                          // of a face that is not upright
  // How far the face's plane may lie off the plane its vertices stood on before the caller
  // rounded them to single precision: the vertices' own spread off the plane, and a rounding
  // step's worth of height.
  double slack = 0.0;
  // The mean of the vertices (measured from the origin): a point of the plane.
  double meanX = 0.0, meanY = 0.0, meanZ = 0.0;

  bool HasPoint(int point) const;
};

// The caller's faces set up for the union: origin, faces, and their shared plan points.
struct UnionFaces {
  double originX = 0.0, originY = 0.0;
  std::vector<UnionFace> faces;
};

// The faces of the caller's arrays (vertexCounts[1..faceCount], coordinates from entry 1),
// which are known to fit the arrays and to be finite.
UnionFaces SetUpFaces(int faceCount, const std::int16_t vertexCounts[], const float x[],
                      const float y[], const float z[]);

}  // namespace kernel
