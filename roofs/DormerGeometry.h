#pragma once
// The geometry a dormer is made of: its sections and the roof plane they are swept back to,
// in the dormer's own frame (origin at the lower front left corner of the body on the roof
// face, x along the eave, y level and up the slope, z up), and that frame's axes on a face.
// The roof face is the plane z = y·tan(slope) through the origin. The entity builds its mesh
// from these sections and the placement drag draws its preview from them, so the preview is
// the body the entity will have.
#include <vector>

#include "Ge.h"

// The body section (the front gable wall, in the plane y = 0) and, for a roof thickness
// above 0, the section of the dormer's roof slab (in the plane y = -overhang). Lengths in
// millimetres, the slope in radians. The body is a pentagon for two heights above 0, a
// rectangle when height2 is 0 or less, a triangle when height1 is 0 or less. The slab lies
// flat on a rectangle and follows the gable otherwise; where its overhang would dip into the
// roof face, its underside is cut off at the roof face. A gable slab over a width of 0 has no
// slope to follow and is left out.
std::vector<GePoint3dArray> DormerSections(long width, long height1, long height2, long roofThickness,
                                           long overhang, double slope);

// The point moved along y onto the roof plane through the origin whose normal is n
// (n.y must not be 0): where the section swept back meets the roof.
GePoint3d OnDormerRoofPlane(const GePoint3d& p, const GeVector3d& n);

// The five dimensions of a dormer, in millimetres.
struct DormerSize {
    long width = 0, height1 = 0, height2 = 0, roofThickness = 0, overhang = 0;
};

// The dormer placed by frame (its origin on a face, its axes those of DormerAxes) stays on the
// face: no point of its body or roof slab, nor where they meet the roof plane of the given
// slope, rises above the face's highest point (within 1 mm); the body lies over the face's
// plan and the slab reaches no further up the slope than the face does (its overhang may pass
// the eave in front and the face's sides). A dormer that leaves its face would stand in the
// air or run past the ridge.
bool DormerOnFace(const GePoint3dArray& face, const GeMatrix3d& frame, const DormerSize& size, double slope);

// The dormer's level axes on a sloped face whose normal n points up: x along the eave
// (Z × n) and y level and up the slope (Z × x), both of unit length. False when n is so
// nearly vertical (the face so nearly level) that it has no eave direction.
bool DormerAxes(const GeVector3d& n, GeVector3d& x, GeVector3d& y);
