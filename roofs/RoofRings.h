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
// by d, a corner where the outline turns back (its two walls making an acute angle) reaches
// d·(1/cos(t/2)) from its point, far beyond a square corner's d·√2 (114 d at a turn of 179°):
// a corner clicked again a little way back along the wall, or a wall retraced by hand a little
// off its line, grows into a spike a drawn outline never meant. A drawn sawtooth, wedge, bay or
// triangular balcony turns back just as sharply, so no length or angle tells a slip: what its
// removal moves does. A corner where the outline turns back, or beside one whose turn its
// removal eases (a bend of a wall leading into a drawn tip would only sharpen it), is a slip when
// taking it out leaves every drawn point within kSliverWidth of the outline that is left, a
// sliver narrower than any wall is thick; of such corners the one whose removal moves the
// drawing least goes first, so of a corner clicked again the point clicked again goes and the
// corner stays. Anything wider is drawn and keeps its mitred eave. Corners that do not turn
// back (square jogs, chamfers, arcs drawn in short chords) are never taken: their eaves reach
// no farther than a square corner's.
inline constexpr double kSliverWidth = 100.0;

// The outline (free of repeated corners; a ring when closed, else a polyline whose two ends
// stay) without its retraces and its slips. A retrace, where the outline runs back along the
// line it came on (the shorter edge's end within 0.001 of the longer's line), encloses nothing
// and goes whatever its length, its turning point first. Then the slips go, least moving first
// (ties, within a millionth of a millimetre per kilometre of the coordinates' reach, to the
// earlier point drawn), each measured against the drawing less its retraces, so that no
// sequence of removals moves a drawn point farther than kSliverWidth. A corner then left
// within repeatTol of its neighbour goes as well. No slip takes a ring below three points,
// but an outline that retraces itself whole may be left with fewer.
GePoint3dArray WithoutSlips(GePoint3dArray outline, double repeatTol, bool closed = true);

// Whether a roof over the ring grown by the overhang covers a courtyard the ring leaves
// open: the ring touches itself around a loop that runs the other way (a keyhole, its slit
// walked in and out), or the grown ring has loops besides the outer one a roof keeps. Never
// for an overhang of 0, which grows nothing.
bool CoversCourtyard(const GePoint3dArray& ring, double overhang);

}  // namespace roof_rings
