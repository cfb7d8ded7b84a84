#pragma once
// The ring operations every roof builder uses: lifting a ring, putting it the right way round
// in plan (by the sign of GetPtsSignedArea, so a ring of no area stays as it is), growing it by
// an overhang, telling a ring that crosses or touches itself in plan, taking the slips of the
// mouse out of an outline before it is grown, and telling a roof that covers a courtyard.
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

// A corner clicked twice a few millimetres apart leaves an edge shorter than kSlipLength, at
// one end of which the outline turns back past a right angle (by more than kSlipTurn
// degrees), or runs on within kSlipStraight degrees of straight (the second click landing on
// the next wall). Such a corner is a slip. Grown by d, a corner turning t past a right angle
// reaches d·(tan(t/2) − 1) beyond a square one (the prismoid a tenth of d at 96°, 1.4 d at
// 135°), and a gable wall led into by a short edge a hair off its line runs off along it for
// kilometres. A wall, chamfer or bay step of kSlipLength or more is kept whatever its turns,
// and so is a shorter one whose corners all turn by more than kSlipStraight and no more than
// kSlipTurn. The two limits overlap, so a second click just inside the next wall, which turns
// the first click by a hair more than a right angle, leaves the outline at the second click
// running on within kSlipStraight of straight.
inline constexpr double kSlipLength = 10.0;
inline constexpr double kSlipTurn = 91.0;
inline constexpr double kSlipStraight = 2.0;

// The ring (free of repeated corners) without its slips: the sharpest corner that turns back
// goes first, then, when none is left, the straightest; until no slip is left. A corner then
// left within repeatTol of its neighbour goes as well. Fewer than three points may be left.
GePoint3dArray WithoutSlips(GePoint3dArray ring, double repeatTol);

// Whether a roof over the ring grown by the overhang covers a courtyard the ring leaves
// open: the ring touches itself around a loop that runs the other way (a keyhole, its slit
// walked in and out), or the grown ring has loops besides the outer one a roof keeps. Never
// for an overhang of 0, which grows nothing.
bool CoversCourtyard(const GePoint3dArray& ring, double overhang);

}  // namespace roof_rings
