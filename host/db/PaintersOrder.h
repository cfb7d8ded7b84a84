#pragma once
// The order in which to draw flat shapes seen in a parallel view so that what is nearer covers
// what is farther, for pictures that have no depth buffer (an SVG is painted in file order).
//
// Input: items in view coordinates, x to the right, y up and z the depth (larger is farther
// from the viewer). A face is a planar loop of at least three points, convex or not; a line is
// two points (two equal points: a dot); a label is the box a text covers (its four corners in
// the text's plane), ordered like a face but never covering a face it lies on.
// Output: every item index once, the first to draw first.
//
// Two items whose pictures overlap are ordered by their depths at one point inside the
// overlap: faces and labels are cut into convex pieces, and the point is the centre of the
// largest piece two items share (of the longest piece of a line inside a face). Depths within
// a millionth of the size of the scene where most items lie are a tie: a line or a label goes
// after the face it lies on, and of two faces in one plane the smaller goes after the larger
// (a window on its wall). Lines and labels are ordered against faces only. Items whose
// pictures do not overlap are drawn by their mean depth, farthest first, in input order when
// equal. Nothing is split: where the relation has a cycle (faces that pierce each other, three
// that overlap in a ring) the farthest remaining item by mean depth goes next, so such a cycle
// can show one piece wrongly.
//
// A face seen edge-on, an item of too few points or with a coordinate that is not finite is
// ordered by its mean depth alone (one that is not finite goes first). A grid whose cells are
// sized from the items finds the overlapping pairs (an item far from the rest leaves the cells
// as they are), so the time grows with the items and the pairs that overlap.
// Re-entrant: no state is kept between calls.
#include <cstddef>
#include <span>
#include <vector>

#include "GePoint3d.h"

namespace host {

struct DepthItem {
    enum class Kind { Face, Line, Label };
    Kind kind = Kind::Face;
    std::vector<GePoint3d> points;
};

std::vector<std::size_t> PaintersOrder(std::span<const DepthItem> items);

}  // namespace host
