#pragma once
// The shapes behind the roof routine geofeidengpowumianzcx, in double precision: a roof of
// inward slopes cut flat at a height, and the faces that lean outward (or stand upright) from
// an outline up to a grown copy of it. Internal to the library.
//
// A face is a ring of points without a repeated first point, z the height above the outline,
// running clockwise seen from above (an upright wall: facing away from the outline).
#include <vector>

namespace geo_roof {

struct Point {
    double x = 0.0, y = 0.0, z = 0.0;
};
using Face = std::vector<Point>;

// Cuts every face at z = h, keeping what lies at or below it, and adds the flat loops at h
// that close the roof wherever it rises above h (clockwise, like the faces). Faces that stay
// below h are kept whole and no loop is added. The faces must be the planes of one roof over
// a simple outline, neighbours sharing their edges. False when the cut lines do not close
// into loops (the faces do not fit together); the faces are then unusable.
bool CutAtHeight(std::vector<Face>& faces, double h);

// No two edges of the ring (x[i], y[i]) meet but neighbours at their common corner: the roof
// of a ring that crosses, touches or runs back over itself cannot be followed.
bool IsSimpleRing(const std::vector<double>& x, const std::vector<double>& y);

// The faces of an outline whose edges lean outward as they rise h: edge i (from point i to
// point i + 1, 0-based, either orientation) moves outward by run[i] (0: upright) and joins
// the grown edge at h with one face; the grown ring at h is the top, last. False, with no
// faces, when a grown corner cannot be found (an edge of no length, neighbours running on in
// one line that grow apart or turn straight back) or the grown ring would not stay simple
// with its edges in their own directions.
bool OutwardFaces(const std::vector<double>& x, const std::vector<double>& y, const std::vector<double>& run,
                  double h, std::vector<Face>& faces);

}  // namespace geo_roof
