#include "GetMinMax.h"

void GetMinMax(const double* values, int count, double* largest, double* smallest)
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
