#pragma once
// The polygon operations of the qrxGe plane library: boolean operations on two rings, faces
// and outlines of loose segments, and loops through a segment.
//
// Rings are points in order with the closing point not repeated, in either orientation;
// they are read, never changed or kept. Results are new heap objects that the caller owns:
// a ring2d, or a vector of ring2d pointers together with every ring in it. A null result
// means "no result"; an empty vector is a result. Every call is independent and re-entrant.
//
// The tolerance is 0.1. The two-ring operations and the faces of loose segments meet their
// inputs as follows: two sides meet where they cross, at any angle, and where an end of one
// lies within 0.1 of the other; meetings closer than 0.2 to one another are one place, at an
// end where one is involved (the first such end), else at the crossing; every side passes
// through each place within 0.1 of it, and an end within 0.1 of a place moves onto it. So
// sides a few hundredths apart run along each other (sharing the stretch), rings that come
// within 0.1 touch, and a part of a ring narrower than 0.1 that this draws onto a single
// stretch (a thin spike) encloses nothing and is dropped; results may differ from the exact
// figures by that much along the places where the inputs meet. The work runs on differences
// of coordinates, so it holds as well at a national grid's coordinates (1e6 to 1e12) as at
// the origin. Coordinates that are not finite or beyond 4e14 in magnitude (where 0.1 is
// within a few units of the last place) give nothing to trace, at once: the answer of a
// failed walk (null, or [B] for the split; null or an empty list for the faces).
//
// Rings traced by the two-ring operations run counter-clockwise (their interiors on the
// left), have at least 3 points and repeat no point in a row; a ring returned as a copy of
// an input keeps the input's points and order. A walk closes only when it is about to leave
// along its first side again, so a ring that passes its first point twice (two rings
// touching there) is walked whole. Sides are kept by where the other ring lies beside them:
// the other ring's sides at the crossing where a run of sides begins tell its inside from
// its outside there, and a stretch both rings share is kept once (for the difference where
// the interiors lie on its two sides, for the intersection where they lie on one side).
// Where ways on from a crossing lie along one stretch, going straight back is the last way.

#include "qrxGeEdge2d.h"
#include "qrxGeRing.h"

#include <vector>

namespace qrxGe {

// The outline of A together with B, one ring; null when either ring has fewer than 3 points
// or the rings neither meet nor contain one another. Holes the two enclose are dropped: the
// result is the outer outline only. Rings touching at one vertex unite into one ring that
// passes that vertex twice. Without a crossing, the containing ring is returned as a copy.
// The outline is walked from its lowest point (the leftmost of equally low ones) and begins
// at the lowest start of its sides: within 0.01 in y of it, the side of smaller direction
// angle.
ring2d* UnionPolygons(const std::vector<point2d>& a, const std::vector<point2d>& b);

// The rings of A less B. Empty when A lies within B; null when either ring has fewer than 3
// points, when the rings are disjoint, and when B lies inside A without touching it (a hole
// cannot be expressed as a list of outlines). B inside A touching it gives one ring that
// passes the touch twice. Rings are walked from the lowest start of the sides not yet walked,
// each side taken the way the ring runs along it (B's sides backward): within 0.01 in y of
// the lowest, the side of smaller direction angle.
std::vector<ring2d*>* SubtractPolygons(const std::vector<point2d>& a, const std::vector<point2d>& b);

// The rings of the part common to A and B: a copy of A when A lies in B, of B when B lies in
// A, A's outline as it lies along B's when the two outlines are one; null when the rings are
// disjoint or either has fewer than 3 points. Rings that only share a stretch of side from
// outside give an empty list. Rings are walked from their lowest starts, as the difference's.
std::vector<ring2d*>* IntersectPolygons(const std::vector<point2d>& a, const std::vector<point2d>& b);

// The faces into which the parts of the cutter lying inside `ring` cut it, never null. The
// list holds one copy of `ring` when the cutter is empty, when it only touches the ring or
// misses it, or when no face results. The cutter's sides are kept by the ring's sides at the
// crossing where they begin, as above; at a crossing of more than two ways the sharpest left
// turn goes on (relative angles in [0, 2*pi), straight back last).
std::vector<ring2d*>* SplitPolygonByPolygon(const std::vector<point2d>& cutter, const std::vector<point2d>& ring);

// True when the midpoint of ring's first side (ring[0] to ring[1]) lies inside `other` or on
// its boundary; false for a ring of fewer than 2 points.
bool FirstSideMidpointInside(const std::vector<point2d>& ring, const std::vector<point2d>& other);

// Faces and outlines traced from loose segments. Segments meeting anywhere (crossing,
// touching, overlapping, within the tolerance as above) share a vertex there; a segment lying
// along an earlier one (both its ends within 0.1 of it) adds nothing, segments with a free
// end and dangling chains are dropped, so two crossing segments leave nothing. Segments are
// read, never kept; their order decides only ties and the order of the results. Fewer than
// 3 segments give null from all four; a segment whose coordinates are not finite or beyond
// 4e14 gives the answer for nothing to trace (null, or an empty list from the peeling).

// Every loop of the arrangement with its face on the left (bounded faces counter-clockwise,
// as the edge ends meet) less the first clockwise one: with several separate parts the
// clockwise outer boundaries of the later parts stay in the list (two separate squares give
// 3 rings). Null for none.
std::vector<ring2d*>* FacesFromSegments(const std::vector<edge2d>& segments);

// The bounded faces without any part's outer outline, counter-clockwise; null for none.
std::vector<ring2d*>* InnerFacesFromSegments(const std::vector<edge2d>& segments);

// The outer outline of the part holding the lowest point (the first of equally low ones),
// counter-clockwise from that point; a part pinched at that point is walked through every
// lobe, passing it once per lobe. Null when it has fewer than 3 points or cannot be closed.
ring2d* OutlineFromSegments(const std::vector<edge2d>& segments);

// The outer outlines of all parts, lowest part first, each cut into simple loops of more than
// 2 points at the vertices it passes twice (a figure eight gives two rings); the points are
// those of the graph's vertices. An empty list when there is none.
std::vector<ring2d*>* PeelOutlinesFromSegments(const std::vector<edge2d>& segments);

// The closed loop through S that takes the sharpest right turn at every junction (Right) or
// the sharpest left turn (Left). S is walked upwards, from its lower end (a level S from its
// given end towards its given start): Right finds the loop around the region on S's right,
// Left the one on its left. The ring holds the start points of the loop's pieces in walking
// order, beginning with S's lower end. Segments may cross and touch anywhere: they are cut
// where the walk meets them, and a segment overlapping the one walked is dropped. The search
// backtracks from dead ends but never re-walks a piece, and it gives up after 1587 steps (one
// per piece walked, dead ends included). Null for fewer than 3 segments, a degenerate S (ends
// within 0.1), no loop back to S, or the step limit reached. A pool that already holds S
// holds it twice; that is harmless.
ring2d* RightLoopThroughSegment(const std::vector<edge2d>& segments, const edge2d& s);
ring2d* LeftLoopThroughSegment(const std::vector<edge2d>& segments, const edge2d& s);

} // namespace qrxGe
