// The roof-face union as the upper envelope of the faces: each face keeps the part of its
// plan outline over which no other face stands higher, clipped in Clipper's integer grid;
// an upright face keeps what lies under no other face.
#include "RoofFaceUnion.h"

#include <cmath>
#include <exception>
#include <vector>

#include "VisibleParts.h"

using namespace kernel;

namespace {

// Whether the input stays within the caller's arrays: counts that are not negative, and
// vertices that fit.
bool WithinCapacities(int count, const std::int16_t counts[]) {
  if (count < 0 || count > kUnionCountCapacity - 1) return false;
  int vertices = 0;
  for (int f = 1; f <= count; ++f) {
    if (counts[f] < 0) return false;
    vertices += counts[f];
  }
  return vertices <= kUnionCoordinateCapacity - 1;
}

bool AllFinite(int vertices, const float x[], const float y[], const float z[]) {
  for (int v = 1; v <= vertices; ++v)
    if (!std::isfinite(x[v]) || !std::isfinite(y[v]) || !std::isfinite(z[v])) return false;
  return true;
}

int VertexCount(int count, const std::int16_t counts[]) {
  int vertices = 0;
  for (int f = 1; f <= count; ++f) vertices += counts[f];
  return vertices;
}

// Writes the loops, which fit, over the caller's arrays.
void WriteResult(const std::vector<ResultLoop>& loops, int* faceCount,
                 std::int16_t vertexCounts[], float x[], float y[], float z[]) {
  int at = 0, l = 0;
  for (const ResultLoop& loop : loops) {
    const auto count = static_cast<std::int16_t>(loop.x.size());
    vertexCounts[++l] = loop.marker == OuterLoopMarker ? count : static_cast<std::int16_t>(-count);
    for (size_t i = 0; i < loop.x.size(); ++i) {
      ++at;
      x[at] = loop.x[i], y[at] = loop.y[i], z[at] = loop.z[i];
    }
  }
  *faceCount = l;
}

}  // namespace

int UnionRoofFaces(int* faceCount, std::int16_t vertexCounts[], float x[], float y[], float z[]) {
  const int count = *faceCount;
  *faceCount = 0;
  if (!WithinCapacities(count, vertexCounts) ||
      !AllFinite(VertexCount(count, vertexCounts), x, y, z))
    return 0;
  std::vector<ResultLoop> loops;
  const PieceCapacity most{kUnionCountCapacity - 1, kUnionCoordinateCapacity - 1};
  try {
    if (!UniteFaces(count, vertexCounts, x, y, z, most, loops)) return 0;
  } catch (const std::exception&) {
    // Clipper refuses what it cannot clip by throwing, and storage may run out: either way
    // the union gives no result.
    return 0;
  }
  WriteResult(loops, faceCount, vertexCounts, x, y, z);
  return 1;
}
