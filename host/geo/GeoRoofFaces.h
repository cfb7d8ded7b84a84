#pragma once
// The closed library's roof routine for unequal slopes, with C linkage.
//
// geofeidengpowumianzcx(h, x, y, slope, n, faceCount, faceVertexCounts, spare, fx, fy, fz)
// gives the plane faces of the roof over a level outline, every edge carrying one plane that
// rises from it at its own slope.
//   h                 0 for the whole roof; a positive h cuts the roof flat at that height
//   x, y, slope       1-based (entry 0 unused), n entries: the outline in either orientation,
//                     and slope i in degrees for the edge from point i to point i + 1 (point n
//                     back to point 1)
//   faceCount         out: the number of faces
//   faceVertexCounts  out, 1-based, capacity 1000: vertices of faces 1 .. count
//   spare             out: set to 0
//   fx, fy, fz        out, 1-based, capacity 10000: the faces' vertices back to back from
//                     index 1, x and y in the outline's coordinates, z the height above the
//                     outline (0 on it); each face runs clockwise seen from above, and an
//                     upright face faces away from the outline
// Slopes strictly between 0 and 90 degrees rise inward: the hip roof, which with h > 0 has
// every face cut at z = h and the flat loops at h added last wherever the roof reaches h (none
// when it peaks lower). Slopes of exactly 90 (or -90) stand upright; an obtuse slope s leans
// outward at 180 - s and a negative one -a at a: with h > 0 each edge then joins its copy moved
// outward by h / tan of that lean at height h, and that grown ring at h is the last face.
// Returns 1 with faces. Refused, with a count of 0 and 0: fewer than 3 or more than 499
// points, a null array, a negative h, a slope of 0, 180 or beyond, inward and outward slopes
// in one outline, upright or outward slopes without a positive h, an outline that crosses,
// touches or runs back over itself, an outline the roof cannot be followed over (or whose grown ring would not stay simple with its edges in their own
// directions), or a roof of more than 999 faces or 9999 vertices; nothing is written past the
// capacities.

extern "C" {

int geofeidengpowumianzcx(double h, double* x, double* y, double* slope, int n, int* faceCount,
                          int* faceVertexCounts, int* spare, double* fx, double* fy, double* fz);

}
