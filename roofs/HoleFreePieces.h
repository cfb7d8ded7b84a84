#pragma once
// A plane face with holes as faces without: the mesh of a roof holds one loop per polygon, so
// a face that other faces pass through is cut into trapezoids that cover exactly the face
// less its holes.
//
// The face is looked at along the axis its normal is closest to, and cut by lines across
// that view through every vertex; between two neighbouring cut lines the edges that cross
// the strip bound the face's pieces in pairs (even-odd, from the low side up). Pieces of
// neighbouring strips between the same two edges are joined, so a face gets about one piece
// per vertex. Every point of a piece lies on an edge of the face, taken along that edge in
// space, so the pieces stay in the face's plane and its plan.
#include <vector>

#include "Ge.h"

// The hole-free pieces of the face outer less the holes (each a ring without a repeated first
// point, in one plane with the outer ring), each running the way outer runs. A face without
// holes comes back as itself; so does one whose outer ring spans no plane.
std::vector<GePoint3dArray> HoleFreePieces(const GePoint3dArray& outer, const std::vector<GePoint3dArray>& holes);
