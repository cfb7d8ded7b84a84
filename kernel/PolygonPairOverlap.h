#pragma once

// The segments along which two planar faces in 3-D cross or touch each other. Face A has
// nA vertices (ax, ay, az, 1-based) on the plane aA*x + bA*y + cA*z + dA = 0, face B likewise.
// Every edge of B is cut against A and every edge of A against B (SegmentCrossing); crossing
// points within 0.1 of an earlier one are dropped; consecutive points, in the order found,
// form a segment when its midpoint lies in both faces (point-in-polygon with tolerance 0.1,
// each face in the projection across which its normal is largest). The segments go to
// out*1 -> out*2 (1-based) and their number to count. The outputs hold outCapacity segments;
// when more would be found, nothing is written and count is 0.
void PolygonPairOverlap(int nA, double aA, double bA, double cA, double dA, const double ax[],
                        const double ay[], const double az[], int nB, double aB, double bB,
                        double cB, double dB, const double bx[], const double by[],
                        const double bz[], double outX1[], double outY1[], double outZ1[],
                        double outX2[], double outY2[], double outZ2[], int* count,
                        int outCapacity);
