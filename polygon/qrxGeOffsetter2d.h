#pragma once
// Offset of a plane polyline or closed ring by a signed distance.
//
// Every vertex moves along its corner bisector at the speed that keeps each edge parallel to
// itself at the offset distance. When an edge shrinks to nothing on the way its start vertex
// is dropped, the bisectors of its two neighbours are recomputed, and the motion goes on from
// there. A positive distance moves the figure to the right of its direction of travel
// (outward for a counter-clockwise ring, inward for a clockwise one), a negative one to the
// left.
//
// One context serves one run: construct, Run, take the points out of Result, destroy.

#include "qrxGePoint2d.h"

#include <list>
#include <span>
#include <vector>

namespace qrxGe {

// One moving vertex of the offset.
struct offsetvertex2d {
    // The largest single-precision value: "no event".
    static constexpr double kNoEvent = 3.4028234663852886e38;

    point2d position;
    vector2d direction;     // unit direction of motion
    double speed = 1.0;     // distance travelled per unit of offset
    bool hasEvent = false;
    point2d eventPoint;     // where this vertex meets the next one
    double eventDistance = kNoEvent; // offset, from now, at which that happens
    bool dirty = true;      // direction and event must be recomputed
};

class offsetter2d {
public:
    offsetter2d(std::span<const point2d> points, bool closed, double distance);

    // Runs the offset to the full distance. True when at least two points remain; the
    // points are then in Result, in the order of the input. A failed run (too few points,
    // an input that is not finite, a figure that vanishes on the way in, or a degenerate
    // corner that would send a vertex to infinity) returns false.
    bool Run();
    bool Succeeded() const { return succeeded_; }
    std::vector<point2d>& Result() { return result_; }

private:
    using Vertex = std::list<offsetvertex2d>::iterator;

    // Directions and events of the dirty vertices.
    void Prepare();
    // One event, or the final stretch; true when the run is done.
    bool Step();
    // Moves every vertex by offset s and drops the vertices whose event falls now.
    void Advance(double s);
    // The vertex with the nearest event (first in list order on ties), or end() for none.
    Vertex NextEvent();

    void PrepareDirection(Vertex v);
    void PrepareEvent(Vertex v);
    // Where the motion lines of v and its next vertex cross; false when they never do.
    static bool MotionLinesMeet(const offsetvertex2d& v, const offsetvertex2d& next, point2d& meet);
    bool HasPrevious(Vertex v) const;
    bool HasNext(Vertex v) const;
    // Neighbours wrap around the list (a ring, and the drop of a vertex on any figure).
    Vertex Previous(Vertex v);
    Vertex Next(Vertex v);
    bool InputIsUsable() const;

    bool closed_;
    std::vector<point2d> result_;
    double remaining_;            // offset still to travel, never negative
    int side_;                    // +1 right of travel, -1 left
    std::list<offsetvertex2d> vertices_;
    bool succeeded_ = false;
};

} // namespace qrxGe
