// Curves read as point lists; see ArcSampling.h.
#include "ArcSampling.h"

#include <algorithm>
#include <array>

#include "GeArc3d.h"

namespace ArcSampling {

namespace {

// Degrees per radian as the outline readers write it.
constexpr double kDegreesPerRadian = 57.29578;
// One sample per this many degrees of sweep.
constexpr double kDegreesPerSample = 10.0;
constexpr int kMinArcSamples = 3;

}  // namespace

int SampleCount(double sweep)
{
    const double samples = sweep / kDegreesPerSample * kDegreesPerRadian;
    // Compared as doubles first: a huge or NaN sweep must not reach the int conversion.
    if (!(samples < kMaxArcSamples))
        return (samples >= kMaxArcSamples) ? kMaxArcSamples : kMinArcSamples;
    return std::max(kMinArcSamples, static_cast<int>(samples));
}

int AppendArcSamples(const GePoint3d& p1, const GePoint3d& p2, const GePoint3d& p3, GePoint3dArray& out)
{
    const GeArc3d arc(p1, p2, p3);
    if (!arc.IsValid()) {
        out.push_back(p1);
        return 1;
    }
    std::array<GePoint3d, kMaxArcSamples> samples;
    const int k = arc.GetSamplePoints(SampleCount(arc.endAngle() - arc.startAngle()), samples.data());
    const int taken = std::max(0, k - 1);
    out.insert(out.end(), samples.begin(), samples.begin() + taken);
    return taken;
}

void AppendCurvePoints(const GeCurveList& curves, GePoint3dArray& out)
{
    for (int i = 0; i < curves.GetNumSegment(); ++i) {
        int type = 0;
        GePoint3d p1, p2, p3;
        curves.GetSegment(i, type, p1, p2, p3);
        if (type == GeCurveList::kLine)
            out.push_back(p1);
        else if (type == GeCurveList::kArc)
            AppendArcSamples(p1, p2, p3, out);
    }
}

bool LastSegmentEnd(const GeCurveList& curves, GePoint3d& end)
{
    const int n = curves.GetNumSegment();
    if (n == 0)
        return false;
    int type = 0;
    GePoint3d p1, p2, p3;
    curves.GetSegment(n - 1, type, p1, p2, p3);
    end = (type == GeCurveList::kLine) ? p2 : p3;
    return true;
}

}  // namespace ArcSampling
