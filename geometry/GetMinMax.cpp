#include "GetMinMax.h"

void GetMinMax(const double* values, int count, double* largest, double* smallest)
{
    MinMaxOf(values, count, largest, smallest);
}
