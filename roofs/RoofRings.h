#pragma once
// The ring operations every roof builder uses: lifting a ring and putting it the right way
// round in plan (by the sign of GetPtsSignedArea, so a ring of no area stays as it is).
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

}  // namespace roof_rings
