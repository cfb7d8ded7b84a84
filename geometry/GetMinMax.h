#pragma once
// The extents of a list of values: the roof and dormer commands and the toolkit's boxes
// take the largest and the smallest coordinate of a point run through this one routine.

// Writes the largest value to *largest and the smallest to *smallest. Both start at the
// first value; each further value that is greater than the current largest replaces it,
// else, when it is smaller than the current smallest, replaces that. A count of 0 (or
// less) or a null pointer leaves both outputs untouched.
template <class T>
void MinMaxOf(const T* values, int count, T* largest, T* smallest)
{
    if (count <= 0 || !values || !largest || !smallest)
        return;
    *largest = values[0];
    *smallest = values[0];
    for (int i = 1; i < count; ++i) {
        if (values[i] > *largest)
            *largest = values[i];
        else if (values[i] < *smallest)
            *smallest = values[i];
    }
}

// MinMaxOf over doubles, exported.
__attribute__((visibility("default"))) void GetMinMax(const double* values, int count, double* largest,
                                                      double* smallest);
