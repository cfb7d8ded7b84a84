#pragma once
// Curves read as point lists: a line segment gives its start point, an arc gives one sample
// per ten degrees of its sweep (at least 3, at most kMaxArcSamples) except its last, which is
// where the next segment starts. The one arc sampler of the program: curves give their
// polygons through it, and whoever reads an exploded curve as points uses it too.
#include "GeCurveList.h"
#include "GePoint3d.h"
#include "GePoint3dArray.h"

namespace ArcSampling {

// The most samples one arc gives (a full circle gives 36).
inline constexpr int kMaxArcSamples = 40;

// The sample count of an arc of the sweep (radians): sweep / 10 × 57.29578 truncated, raised
// to at least 3 and capped at kMaxArcSamples.
int SampleCount(double sweep);

// Appends the samples of the arc from p1 through p2 to p3, all but the last. Points that make
// no arc (coincident or collinear) append p1 alone, as a line would. Returns how many points
// were appended.
int AppendArcSamples(const GePoint3d& p1, const GePoint3d& p2, const GePoint3d& p3, GePoint3dArray& out);

// Appends the points of every segment in order: the start of a line, AppendArcSamples of an
// arc; segments of other kinds give nothing.
void AppendCurvePoints(const GeCurveList& curves, GePoint3dArray& out);

// The end point of the last segment (p2 of a line, p3 otherwise); false for an empty list.
bool LastSegmentEnd(const GeCurveList& curves, GePoint3d& end);

}  // namespace ArcSampling
