#pragma once
// The ring operations every roof builder uses: lifting a ring, putting it the right way round
// in plan (by the sign of GetPtsSignedArea, so a ring of no area stays as it is), growing it by
// an overhang and telling a ring that crosses or touches itself in plan.
#include <algorithm>

#include "Ge.h"
#include "OutlineCleanup.h"

namespace roof_rings {

// Every point raised by h.
inline GePoint3dArray Raised(GePoint3dArray ring, double h)
{
    for (GePoint3d& p : ring)
        p.z += h;
    return ring;
}

// Counter-clockwise seen from above: reversed when it runs clockwise.
inline GePoint3dArray CounterClockwise(GePoint3dArray ring)
{
    if (GetPtsSignedArea(ring) < 0.0)
        std::reverse(ring.begin(), ring.end());
    return ring;
}

// Clockwise seen from above: reversed when it runs counter-clockwise.
inline GePoint3dArray Clockwise(GePoint3dArray ring)
{
    if (GetPtsSignedArea(ring) > 0.0)
        std::reverse(ring.begin(), ring.end());
    return ring;
}

// The ring grown outward in plan by the overhang: every edge moved out and the corners where
// the moved edges meet (OffsetBorderPts, in double precision) while that ring keeps every
// edge in its own direction and does not cross itself; otherwise (a notch narrower than twice
// the overhang, which would fold) through the kernel's offset, which closes the notch. Empty
// when that leaves no ring of three points. An overhang of 0 gives the ring itself.
GePoint3dArray Grown(const GePoint3dArray& ring, double overhang);

// No two edges of the ring meet in plan but neighbours at their common corner (and those do
// not run back over each other); fewer than three points are no ring.
bool IsSimpleInPlan(const GePoint3dArray& ring);

}  // namespace roof_rings
