#pragma once
// The closed library's roof routine for unequal slopes, with C linkage.
//
// geofeidengpowumianzcx(h, x, y, slope, n, faceCount, faceVertexCounts, spare, fx, fy, fz)
// gives the plane faces of the roof over a level outline, every edge carrying one plane that
// rises inward from it at its own slope.
//   h                 0 for the whole roof
//   x, y, slope       1-based (entry 0 unused), n entries: the outline in either orientation,
//                     and slope i in degrees for the edge from point i to point i + 1 (point n
//                     back to point 1)
//   faceCount         out: the number of faces
//   faceVertexCounts  out, 1-based, capacity 1000: vertices of faces 1 .. count
//   spare             out: set to 0
//   fx, fy, fz        out, 1-based, capacity 10000: the faces' vertices back to back from
//                     index 1, x and y in the outline's coordinates, z the height above the
//                     outline (0 on it); each face runs clockwise seen from above
// Returns 1 with faces. Fewer than 3 or more than 499 points, a null array, a positive h, a
// slope not strictly between 0 and 90 degrees, an outline the roof cannot be followed over,
// or a roof of more than 999 faces or 9999 vertices give a count of 0 and 0; nothing is
// written past the capacities. (Faces cut flat at a height h > 0, and slopes outside that
// range, which lean faces outward, are the prismoid roof's and are not built yet.)

extern "C" {

int geofeidengpowumianzcx(double h, double* x, double* y, double* slope, int n, int* faceCount,
                          int* faceVertexCounts, int* spare, double* fx, double* fy, double* fz);

}
