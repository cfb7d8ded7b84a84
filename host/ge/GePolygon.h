#pragma once
#include <utility>
#include <vector>

#include "GePoint3d.h"

// One polygon of an entity as the entity enumerates it: a closed loop (a face) or an
// open polyline.
class GePolygon {
 public:
  GePolygon() = default;
  GePolygon(std::vector<GePoint3d> vertices, bool polyline)
      : vertices_(std::move(vertices)), polyline_(polyline) {}

  const GePoint3d* GetVertexArray() const { return vertices_.data(); }
  int GetCountVertex() const { return static_cast<int>(vertices_.size()); }
  bool IsPolyline() const { return polyline_; }

 private:
  std::vector<GePoint3d> vertices_;
  bool polyline_ = false;
};
