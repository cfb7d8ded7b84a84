// The roof-face union as the upper envelope of the faces: each face keeps the part of its
// plan outline over which no other face stands higher, clipped in Clipper's integer grid;
// an upright face keeps what lies under no other face.
#include "RoofFaceUnion.h"

#include <cmath>
#include <exception>
#include <vector>

#include "UniformGrid.h"
#include "UnionFaces.h"
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

// The faces that may hide others (spanning a plane, not upright) in a grid of their plan
// boxes: the candidates that may stand over a face, in input order.
class HidingFaces {
 public:
  explicit HidingFaces(const UnionFaces& set) {
    std::vector<GridBox> boxes;
    for (size_t f = 0; f < set.faces.size(); ++f) {
      const UnionFace& face = set.faces[f];
      if (!face.usable || face.upright) continue;
      ids_.push_back(static_cast<int>(f));
      boxes.push_back({face.minX, face.minY, face.maxX, face.maxY});
    }
    grid_.Build(boxes);
  }

  const std::vector<int>& Near(const UnionFace& face) {
    grid_.Query({face.minX, face.minY, face.maxX, face.maxY}, near_);
    for (int& g : near_) g = ids_[static_cast<size_t>(g)];
    return near_;
  }

 private:
  UniformGrid grid_;
  std::vector<int> ids_, near_;
};

// Whether the loops fit the caller's arrays.
bool Fits(const std::vector<ResultLoop>& loops) {
  size_t vertices = 0;
  for (const ResultLoop& loop : loops) vertices += loop.x.size();
  return loops.size() <= static_cast<size_t>(kUnionCountCapacity - 1) &&
         vertices <= static_cast<size_t>(kUnionCoordinateCapacity - 1);
}

// The visible pieces of every face, in input order; false when a coordinate lies beyond the
// grid or the pieces outgrow the caller's arrays.
bool VisiblePieces(const UnionInput& input, std::vector<ResultLoop>& loops) {
  HidingFaces hiding(input.set);
  for (size_t f = 0; f < input.set.faces.size(); ++f) {
    const UnionFace& face = input.set.faces[f];
    if (!face.usable) continue;
    const std::vector<int>& near = hiding.Near(face);
    const int index = static_cast<int>(f);
    const bool done = face.upright ? AppendUprightPieces(input, index, near, loops)
                                   : AppendSlopedPieces(input, index, near, loops);
    if (!done || !Fits(loops)) return false;
  }
  return true;
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
  try {
    const UnionFaces set = SetUpFaces(count, vertexCounts, x, y, z);
    if (!VisiblePieces({x, y, z, set}, loops)) return 0;
  } catch (const std::exception&) {
    // Clipper refuses what it cannot clip by throwing, and storage may run out: either way
    // the union gives no result.
    return 0;
  }
  WriteResult(loops, faceCount, vertexCounts, x, y, z);
  return 1;
}
