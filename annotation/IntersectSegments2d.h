#pragma once
// Where two plan segments meet, as the contour command measures its crossings.
//
// In: the first segment (x1, y1)-(x2, y2), the second (x3, y3)-(x4, y4), and tol, the
// distance under which two values count as one (the contour command passes 0.01).
//
// Out: the point (x, y) where the two lines cross, and one position code per segment:
//   -1  the segments are taken as parallel (no point);
//    0  the point lies outside the segment;
//    1  at its start; 2 at its end;
//    3  strictly between its ends.
// Returns 1 when the lines cross (the point is written), 0 when they are taken as parallel
// (both codes -1) and when their directions fall exactly on a tolerance boundary that decides
// neither way (both codes 0): in both cases (x, y) keeps what it held.
//
// Parallel means: both segments nearly upright (x extents within tol), both nearly level
// (y extents within tol), or the angle between them under 0.0017 rad (tangent form, checked
// only when the lines are not nearly perpendicular).
//
// The end tests differ on purpose: on the first segment a point within tol (inclusive) of an
// end takes that end, and one equally near both ends takes the end (2); on the second segment
// only strictly nearer than tol counts, and a tie takes neither end. A point that takes no end
// is 3 when its x lies strictly between the ends' x, or else its y strictly between their y.
int IntersectSegments2d(double x1, double y1, double x2, double y2, double x3, double y3, double x4, double y4,
                        double tol, double& x, double& y, int& code1, int& code2);
