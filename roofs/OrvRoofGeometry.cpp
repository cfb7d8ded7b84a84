// The geometry of COrvRoof: the parameters become the polygons of the roof body (underside,
// slab sides and top, sloped faces, parapet faces) in the roof's own frame.
#include <algorithm>
#include <cmath>

#include "CheckedNumbers.h"
#include "OrvRoof.h"
#include "GeUtility.h"
#include "RoofRings.h"
#include "Tools.h"

using roof_rings::CounterClockwise;
using roof_rings::Raised;

namespace {

// The first edge's direction is normalised with this tolerance.
constexpr double kUnitTol = 0.001;
// The roof edge ring must keep at least this many points to be a roof.
constexpr int kMinRingPoints = 3;

// A first edge shorter than this after normalising gives no direction.
constexpr double kShortAxis = 0.1;

// The outline in the roof's frame.
GePoint3dArray Localised(const GePoint3dArray& outline)
{
    const GeMatrix3d toLocal = COrvRoof::FrameOf(outline).Inverse();
    GePoint3dArray local;
    local.reserve(outline.size());
    for (const GePoint3d& p : outline)
        local.push_back(toLocal * p);
    return local;
}

// The ring shifted sideways by d to the left of its direction of travel, point for point.
GePoint3dArray ShiftedLeft(const GePoint3dArray& ring, double d)
{
    GePoint3dArray out;
    CTools tools;
    tools.GetLROffSetPtList(d, ring, out, 1, 1);
    return out;
}

// One quadrilateral per edge i -> i + 1 of the rings (the closing edge last); make gives the
// corners from the two indices.
template <class MakeQuad>
void AppendBand(CArray<GePoint3dArray, GePoint3dArray>& loops, std::size_t n, MakeQuad make)
{
    for (std::size_t i = 0; i < n; ++i)
        loops.Add(make(i, (i + 1) % n));
}

}  // namespace

GeMatrix3d COrvRoof::FrameOf(const GePoint3dArray& outline)
{
    GeVector3d x = outline[1] - outline[0];
    x.z = 0.0;
    x.Normalize(kUnitTol);
    if (x.Length() < kShortAxis)
        x = GeVector3d::kXAxis;
    GeVector3d y = GeVector3d::kZAxis.CrossProduct(x);
    y.Normalize(kUnitTol);
    GeMatrix3d frame;
    frame.SetCoordSystem(outline[0], x, y, GeVector3d::kZAxis);
    return frame;
}

bool COrvRoof::IsLength(double value)
{
    return StoredAs<std::int32_t>(value).has_value();
}

int COrvRoof::SetData(GePoint3dArray outlineIn, int kindIn, double overhangIn, std::vector<float> slopesIn,
                      float thicknessIn, float ha, float hb, float wa, float wb)
{
    // Three corners at least: points on one line (or that enclose nothing) are no outline.
    GeVector3d normal;
    if (outlineIn.size() < 3 ||
        !GeUtility::GetPolygonNormal(static_cast<int>(outlineIn.size()), outlineIn.data(), normal))
        return -1;
    const bool lengths = IsLength(overhangIn) && IsLength(thicknessIn) && IsLength(ha) && IsLength(hb) &&
                         IsLength(wa) && IsLength(wb);
    const bool slopesFinite = std::all_of(slopesIn.begin(), slopesIn.end(), [](float s) { return std::isfinite(s); });
    if (!lengths || !slopesFinite || !AllFinite(outlineIn))
        return -1;
    AssertWriteEnabled(1, 1, 1, 0);
    overhang = static_cast<float>(std::fabs(overhangIn));
    kind = kindIn;
    thickness = thicknessIn;
    if (wa == 0.0f)
        ha = 0.0f;
    if (hb == 0.0f)
        wb = 0.0f;
    parapetHeightA = ha;
    parapetHeightB = hb;
    parapetWidthA = wa;
    parapetWidthB = wb;
    slopes.clear();
    outline = Localised(outlineIn);

    const bool flatWithBody = kind == kFlat && (thickness > 0.0f || wa > 0.0f || hb > 0.0f);
    if (kind != kSloped && !flatWithBody)
        return -1;
    GePoint3dArray ring;
    int ringClosed = 0;
    CTools::offset(outline, 1, overhang, ring, ringClosed, kMinRingPoints);
    if (ring.size() < static_cast<std::size_t>(kMinRingPoints) || !AllFinite(ring))
        return -1;
    if (kind == kSloped && slopesIn.size() != ring.size())
        return -1;
    slopes = kind == kFlat ? std::vector<float>(ring.size(), 0.0f) : std::move(slopesIn);

    // Far outlines can still overflow on the way to the faces: then the previous faces stay.
    CArray<GePoint3dArray, GePoint3dArray> previous = faceLoops;
    GePoint3dArray previousExtra = extraPoints;
    const int built = BuildFaces(std::move(ring));
    for (const GePoint3dArray& loop : faceLoops) {
        if (!AllFinite(loop)) {
            faceLoops = std::move(previous);
            extraPoints = std::move(previousExtra);
            return -1;
        }
    }
    return built;
}

int COrvRoof::BuildFaces(GePoint3dArray ring)
{
    faceLoops.RemoveAll();
    extraPoints.clear();
    faceLoops.Add(ring);
    if (thickness > 0.0f) {
        const GePoint3dArray top = Raised(ring, thickness);
        AppendBand(faceLoops, ring.size(), [&](std::size_t i, std::size_t j) {
            return GePoint3dArray{ring[i], ring[j], top[j], top[i]};
        });
        ring = top;
    }
    if (kind == kFlat) {
        if (thickness > 0.0f)
            faceLoops.Add(ring);
        AddParapetVtsAry(ring);
        return 1;
    }
    CArray<GePoint3dArray, GePoint3dArray> faces;
    if (CTools::GetSlopingRoofVtsAry(ring, slopes, faces)) {
        for (const GePoint3dArray& face : faces)
            faceLoops.Add(CounterClockwise(face));
        return 1;
    }
    std::fill(slopes.begin(), slopes.end(), 0.0f);
    faceLoops.Add(CounterClockwise(ring));
    return 0;
}

void COrvRoof::AddParapetVtsAry(GePoint3dArray r0)
{
    const std::size_t n = r0.size();
    const float wa = parapetWidthA, ha = parapetHeightA, wb = parapetWidthB, hb = parapetHeightB;
    if (n < 2 || !(wa > 0.0f || hb > 0.0f))
        return;
    const GePoint3dArray r1 = ShiftedLeft(r0, wa);
    const GePoint3dArray r2 = Raised(r0, ha);
    const GePoint3dArray r3 = ShiftedLeft(r2, wa);
    const GePoint3dArray r4 = Raised(ShiftedLeft(r2, wb), hb);
    const GePoint3dArray r5 = ShiftedLeft(r4, wa);
    using Quad = GePoint3dArray;
    if (ha > 0.0f && wa > 0.0f) {
        AppendBand(faceLoops, n, [&](std::size_t i, std::size_t j) { return Quad{r0[i], r0[j], r2[j], r2[i]}; });
        AppendBand(faceLoops, n, [&](std::size_t i, std::size_t j) { return Quad{r1[j], r1[i], r3[i], r3[j]}; });
    }
    if (hb > 0.0f) {
        AppendBand(faceLoops, n, [&](std::size_t i, std::size_t j) { return Quad{r2[i], r2[j], r4[j], r4[i]}; });
        AppendBand(faceLoops, n, [&](std::size_t i, std::size_t j) { return Quad{r3[j], r3[i], r5[i], r5[j]}; });
    }
    AppendBand(faceLoops, n, [&](std::size_t i, std::size_t j) { return Quad{r4[i], r4[j], r5[j], r5[i]}; });
}

void COrvRoof::GetData(GePoint3dArray& outlineOut, int& kindOut, float& overhangOut, std::vector<float>& slopesOut,
                       float& thicknessOut, float& ha, float& hb, float& wa, float& wb) const
{
    outlineOut = outline;
    kindOut = kind;
    overhangOut = overhang;
    slopesOut = slopes;
    thicknessOut = thickness;
    ha = parapetHeightA;
    hb = parapetHeightB;
    wa = parapetWidthA;
    wb = parapetWidthB;
}

void COrvRoof::GetFloorTopVtAry(GePoint3dArray& pts) const
{
    pts.insert(pts.end(), outline.begin(), outline.end());
}
