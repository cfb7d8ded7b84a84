#include "qrxGeOffsetPoints.h"

#include "qrxGeOffsetter2d.h"

namespace qrxGe {

bool OffsetPoints(std::span<const point2d> points, bool closed, double distance,
                  std::vector<point2d>& out)
{
    offsetter2d offsetter(points, closed, distance);
    if (!offsetter.Run())
        return false;
    out.swap(offsetter.Result());
    return true;
}

} // namespace qrxGe
