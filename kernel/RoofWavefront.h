#pragma once
#include <array>
#include <vector>

// The faces of a roof whose every footprint edge carries a plane rising inward at its own
// slope, found by following the eave lines as they move inward with height (each edge's line
// at height t lies t / tan(slope) inside it): where a wavefront edge shrinks to nothing, or a
// reflex corner runs into another wavefront edge, the roof gets a node, and the paths of the
// wavefront corners between nodes are the hips, valleys and ridges. Any number of these
// meetings at one place and height (symmetric footprints) make one node. Where two eaves of
// different slopes run on one line, the gentler eave's line stands ahead of the steeper's as
// they move, so the steeper eave's piece ends at once: the gentler plane takes its wall.

// One footprint loop: points in order (the outline clockwise, courtyards counter-clockwise,
// so that the roof area lies to the right of every edge), per edge i (from point i to the
// next) the tangent of its slope, which must be positive, and the height of its eave (not
// negative; 0 for the lowest loop). A higher loop's eave lines start moving when the roof
// reaches its height; a roof that reaches the loop before that has no solution.
struct RoofLoop {
  std::vector<double> x, y, rise;
  double base = 0.0;
};

// The face of one footprint edge (numbered across the loops in order): its points in 3-D,
// clockwise seen from above, starting with the edge's start and end at its loop's height.
struct RoofFace {
  int edge = 0;
  std::vector<std::array<double, 3>> points;
};

// Fills faces (one per edge whose face has area) and, when top is given, the height of the
// last meeting (no roof point lies higher), and returns true; returns false, with no faces,
// when the wavefront cannot be followed to its end (a degenerate, spiked or self-touching
// footprint, a loop reached below its eave, or meetings a hair apart whose order cannot be
// told). A face keeps its needles of real roof, however thin (beside walls a hair off
// straight), but those no wider than two units of single precision at the coordinates'
// magnitude; an edge that both its faces run out along and back, the path of a corner that
// ran on past its meeting, is cut from both (up to 4e-6 of the footprint's size wide). The
// work is bounded: it never loops without end.
bool RoofFacesByWavefront(const std::vector<RoofLoop>& loops, std::vector<RoofFace>* faces,
                          double* top = nullptr);

// Single precision's unit at a magnitude: the most a value of that size moves when it is
// rounded to the nearest float, doubled (its inputs were rounded too).
double FloatUnit(double magnitude);
