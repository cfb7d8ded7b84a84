#pragma once
// Boundary clean-up routines of the closed geometry library, with C linkage.
//
// Both take a tolerance and a ring of n points in 1-based parallel arrays (x[1..n], y[1..n],
// z[1..n]; element 0 is never read or written) and the count by pointer. They compact the
// ring in place: a dropped point is removed, every kept point keeps its exact coordinates and
// its order, and the count comes back as the number of points kept (never more than it went
// in, never below 3). A ring of 3 points or fewer, or one that would fall below 3, is left
// alone. The result is 1, or 0 when an argument is unusable (a null pointer or a negative
// count), in which case nothing changes.

extern "C" {

// Drops every point that lies within tol of the point kept before it (3-D distance), and a
// last point that lies within tol of the first: the ring has no repeated vertex afterwards.
int geozhenglimianbianjiezcx(double tol, double* x, double* y, double* z, int* n);

// Drops every point that lies within tol of the straight edge joining its two neighbours,
// between them (a vertex in the middle of an edge); repeats until no such point is left.
int geojiandianzhenglimianbianjiezcx(double tol, double* x, double* y, double* z, int* n);

}
