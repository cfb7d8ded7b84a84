#pragma once
// Ends that meet within the splitter's reach. The splitter cuts no segment where another one
// ends within its margin of it (kSplitMargin, 0.9) nor near its own ends, and it drops a
// segment's end that lies within its merge reach (kSplitMerge, 1.0 on every coordinate) of a
// cut point, piece and all; the face tracer joins only points within its own tolerance. A
// wall drawn to meet another a fraction of a millimetre off (a joint 0.5 beside a
// partition's foot, an end just short of a wall or just past it) would hang free, and the
// faces on either side of it run together. Joining such ends first makes them meet.
#include "GePoint3dArray.h"

namespace tools {

// The start/end pairs (points 2k and 2k + 1) of a level network with every end that lies
// within the splitter's reach of another segment's end or side, but farther than tol,
// joined to it:
// - ends within tol of one another, chained, form one gathering, as the tracer gathers them;
// - in order of their first points, a gathering not yet taken takes every other gathering
//   with a point within the merge reach of its first point (on both plan axes, strictly);
//   the points of those move onto that point, and so do the leader's own when they spread
//   wider than tol;
// - a taking gathering within the margin of a segment it has no end on, with the foot on
//   it farther than tol from its ends, is put into that segment: the segment is split at
//   the gathering's first point (its first piece in its place, the others appended).
// When anything was joined, then of segments whose ends lie in the same two gatherings (as
// joined) as an earlier segment's, either way round, the first stays. Nothing changes when tol is not below the margin. Segments may come out
// shorter than tol: the caller drops them.
void JoinEndsWithinMargin(GePoint3dArray& pairs, double tol);

}  // namespace tools
