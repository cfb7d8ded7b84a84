#pragma once
#include <vector>

// Faces of one roof plane that hang together, merged into the outline of their union: the
// last step of both the multi-slope roof solver and the pitched-roof generator, whose faces
// come from the same moving eave lines and so meet at identical corners.

// A face in single precision: a ring without a repeated first point.
struct PlaneFace {
  std::vector<float> x, y, z;
};

// The plan area, positive when the ring runs counter-clockwise seen from above.
double PlanArea(const PlaneFace& face);

// The faces of one plane, in order, split into the sets linked by shared edges (two of a
// face's points more than 1 mm apart meet points of the other within 1 mm, in x, y and z),
// each set given as the outline of its union, in order of the sets' first faces. A face
// linked to no other comes back as it is; a set whose union would pass a point twice (faces
// that touch only at a point), would hold a hole, or would not keep the set's plan area
// within what rounding its points moves (a face's point within a millimetre of another lost
// in the union) comes back as its faces. The union's points are the faces' own. Every face
// that comes back runs clockwise seen from above, keeping its first point.
std::vector<PlaneFace> MergeFacesSharingEdges(const std::vector<PlaneFace>& faces);
