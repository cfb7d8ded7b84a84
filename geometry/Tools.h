#pragma once
// CTools: the module's toolkit of static geometry routines. It keeps no state; every
// member is static and exported with the class, so the commands of every subsystem and the
// host's analysis side call the same routines.
//
// The class is one declaration shared by several routine groups. Each group has its own
// section below and its own source file (Tools<Group>.cpp); add a new group as a new
// section rather than mixing it into another.
#include "Ge.h"

class __attribute__((visibility("default"))) CTools {
public:
    CTools() = delete;

    // ---- Point-array polygon routines (ToolsPointArrays.cpp) --------------------------
    // Rings are GePoint3dArrays whose last point joins back to the first without repeating
    // it; polylines are open arrays. Every outline that is stored or offset passes through
    // ManageGePoint3dArray and IsPtArrayClockWise first.

    // Cleans the points in place: first drops every point within tol (inclusive) of the
    // last point kept (for a ring, the last point also when within tol of the first), then
    // drops vertices where the outline goes straight on or turns back on itself (turn
    // angles within min(tol, 0.0175) rad of 0 or of a half turn). closed non-zero: a ring.
    // An open polyline keeps its two ends; a single point is left alone.
    static void ManageGePoint3dArray(GePoint3dArray& pts, int closed, double tol);

    // 1 when the ring runs clockwise in plan (y up, z ignored), by the shoelace sum; fewer
    // than three points also give 1, a ring of zero area 0.
    static int IsPtArrayClockWise(GePoint3dArray pts);

    // The unit normal of a planar ring by the right-hand rule (a counter-clockwise ring in
    // the XY plane gives +Z), taken at a convex corner found on the first axis along which
    // the ring extends beyond tol. (0,0,0) for a ring that is too small or degenerate.
    static GeVector3d GetNormal(GePoint3dArray pts, double tol);

    // Reverses the order of the points in place.
    static void ReverseP3dArray(GePoint3dArray& pts);

    // 1 when the two rings have the same points (each within tol, strictly). inOrder
    // non-zero compares index by index; zero allows any starting vertex and either
    // direction. Different counts give 0; two empty arrays give 1.
    static int IsPtArraySame(GePoint3dArray a, GePoint3dArray b, int inOrder, double tol);
};
