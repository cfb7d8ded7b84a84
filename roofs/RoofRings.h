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

// Slips of the hand, which the roof commands take out of an outline before it is grown. Grown
// by d, a corner turning t past straight reaches d·(tan(t/2) − 1) beyond a square one: a tenth
// of d at 96°, d at 2·atan 2 (126.87°), 1.4 d at 135°, 114 d at 179°. A drawn wedge keeps that
// tip; a corner clicked again a little way back along the wall must not.
//
// A corner clicked twice a few millimetres apart leaves an edge shorter than kSlipLength, at
// one end of which the outline turns back past a right angle (by more than kSlipTurn
// degrees), or runs on within kSlipStraight degrees of straight (the second click landing on
// the next wall; a gable wall led into by such an edge runs off along it for kilometres). A
// corner clicked again back along the wall leaves an edge shorter than kBackClickLength at
// one end of which the outline turns back by more than kBackClickTurn, where the eave would
// reach more than one overhang beyond a square corner, whatever the overhang: no wall of a
// building turns back that sharply along less than a metre, while a wedge's walls are metres
// long. Each is a slip. A wall of kBackClickLength or more is kept whatever its turns, one of
// kSlipLength or more (a chamfer, a jog, a bay step) whose turns are no sharper than
// kBackClickTurn is kept, and so is a shorter one whose corners all turn by more than
// kSlipStraight and no more than kSlipTurn. The first two limits overlap, so a second click
// just inside the next wall, which turns the first click by a hair more than a right angle,
// leaves the outline at the second click running on within kSlipStraight of straight.
inline constexpr double kSlipLength = 10.0;
inline constexpr double kSlipTurn = 91.0;
inline constexpr double kSlipStraight = 2.0;
inline constexpr double kBackClickLength = 1000.0;
inline constexpr double kBackClickTurn = 126.87;
// A wall retraced by hand, longer than a back-click, lands a little off its line: where the
// outline turns back past kBackClickTurn into a wedge narrower than kSliverWidth at the end of
// its shorter wall, the wedge is a sliver, no wall (a building's walls are no thinner, and a
// drawn wedge of 20° with metre-long walls opens by 340 mm), and goes whatever its length; its
// eave would reach out by the overhang over the wedge's tangent, hundreds of metres for a
// retrace a millimetre off. Taking it out moves the outline no farther than the sliver is wide.
inline constexpr double kSliverWidth = 100.0;

// The outline (free of repeated corners; a ring when closed, else a polyline whose two ends
// stay) without its slips and without its retraces. A retrace, where the outline runs back
// along the line it came on or into a sliver (kSliverWidth), goes whatever its length, its
// turning point first. Then the slips go, the sharpest corner that turns back first, then,
// when none is left, the straightest; each only while the outline stays within the slip's
// length of the one drawn (less its retraces): no drawn point lies farther than that from the
// edge that replaces it, so a rounded corner drawn in short chords keeps its arc. A corner
// then left within repeatTol of its neighbour goes as well. Fewer than three points may be
// left.
GePoint3dArray WithoutSlips(GePoint3dArray outline, double repeatTol, bool closed = true);

// Whether a roof over the ring grown by the overhang covers a courtyard the ring leaves
// open: the ring touches itself around a loop that runs the other way (a keyhole, its slit
// walked in and out), or the grown ring has loops besides the outer one a roof keeps. Never
// for an overhang of 0, which grows nothing.
bool CoversCourtyard(const GePoint3dArray& ring, double overhang);

}  // namespace roof_rings
