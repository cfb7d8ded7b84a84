#pragma once
// The extents of a list of values: the roof and dormer commands and the toolkit's boxes
// take the largest and the smallest coordinate of a point run through this one routine.

// Writes the largest value to *largest and the smallest to *smallest. Both start at the
// first value; each further value that is greater than the current largest replaces it,
// else, when it is smaller than the current smallest, replaces that. A count of 0 (or
// less) or a null pointer leaves both outputs untouched.
__attribute__((visibility("default"))) void GetMinMax(const double* values, int count, double* largest,
                                                      double* smallest);
