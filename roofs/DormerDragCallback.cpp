#include "DormerDragCallback.h"

#include <cmath>
#include <limits>

#include "DormerGeometry.h"
#include "Tools.h"
#include "View.h"

namespace {

// Directions are normalised with this tolerance.
constexpr double kUnitTol = 0.001;
// The closest point on a segment, and the face normal, use this tolerance.
constexpr double kPointTol = 0.001;
// Angles measured about a reference axis snap to 0 within this.
constexpr double kAngleTol = 1e-6;
// Cuts of the faces by the level plane.
constexpr double kCutTol = 1e-6;
// A view direction with less rise than this is level (an elevation view).
constexpr double kLevelView = 1e-6;
constexpr double kQuarterTurn = 1.5707963705062866;
constexpr std::uint32_t kFaceColour = 0xFFFF;
constexpr std::uint32_t kDragColour = 0xFF00FF;

// The point moved along d onto the plane through e perpendicular to d.
GePoint3d Projected(const GePoint3d& p, const GePoint3d& e, const GeVector3d& d)
{
    return p - d * ((d.DotProduct(p.AsVector()) - d.DotProduct(e.AsVector())) / d.DotProduct(d));
}

// The closed ring p[0], p[1], ..., p[0].
void DrawRing(decView* view, const GePoint3dArray& ring)
{
    view->MoveTo(ring.front());
    for (std::size_t i = 1; i < ring.size(); ++i)
        view->LineTo(ring[i]);
    view->LineTo(ring.front());
}

}  // namespace

CDormer_DragCallback::CDormer_DragCallback() = default;
CDormer_DragCallback::~CDormer_DragCallback() = default;

int CDormer_DragCallback::ComputeLocateLine(std::vector<GePoint3dArray> faces, double z, long width, long height1,
                                            long height2, long roofThickness, long overhang)
{
    if (faces.empty())
        return 0;
    for (std::size_t i = 0; i < faces.size(); ++i) {
        GePoint3dArray& face = faces[i];
        if (!CTools::ManageSlopevts(face)) {
            m_arrayFace.emplace_back();
            continue;
        }
        m_arrayFace.push_back(face);
        GePoint3dArray segments;
        if (!CTools::GetIntersectLineSegs(face, GeVector3d::kZAxis, GePoint3d(0, 0, z), segments, kCutTol, 0))
            continue;
        for (std::size_t k = 0; k + 1 < segments.size(); k += 2) {
            m_ptsLocateLine.push_back(segments[k]);
            m_ptsLocateLine.push_back(segments[k + 1]);
            m_arrayLineFace.push_back(static_cast<int>(i));
        }
    }
    if (m_ptsLocateLine.size() < 2)
        return 0;
    m_dblAnchorHeight = z;
    m_lWidth = width;
    m_lHeight1 = height1;
    m_lHeight2 = height2;
    m_lRoofThickness = roofThickness;
    m_lOverhang = overhang;
    m_arrayPreview.clear();
    m_dblPreviewSlope = 0.0;
    // A distance typed before the cursor moves refers to the first segment's face.
    m_nCurSeg = 0;
    return 1;
}

bool CDormer_DragCallback::HasCurrentSegment() const
{
    return m_nCurSeg >= 0 && static_cast<std::size_t>(m_nCurSeg) < m_arrayLineFace.size();
}

int CDormer_DragCallback::GetCurrentIndex() const
{
    return HasCurrentSegment() ? m_arrayLineFace[static_cast<std::size_t>(m_nCurSeg)] : 0;
}

GePoint3d CDormer_DragCallback::GetCurrentPoint() const
{
    if (m_arrayFace.empty() || !HasCurrentSegment())
        return GePoint3d();
    const GePoint3dArray& face = m_arrayFace[static_cast<std::size_t>(GetCurrentIndex())];
    return face.empty() ? GePoint3d() : face.front();
}

int CDormer_DragCallback::OnPointFilter(decView* view, GePoint3d& pt)
{
    m_ptCursor = pt;
    return Snap(view, pt) ? 1 : 0;
}

int CDormer_DragCallback::LocatePoint(GePoint3d& pt)
{
    if (!Snap(dec::GetActiveView(), pt))
        return -1;
    return m_arrayLineFace[static_cast<std::size_t>(m_nCurSeg)];
}

// The segment the view shows nearest to the point (by the detour through it: |PA| + |PB| -
// |AB| on the view plane, the lowest index on a tie) becomes the current one; the point then
// goes where the view ray through its closest point on that segment meets the locating
// line's height. 1 moved, 0 left alone.
int CDormer_DragCallback::Snap(decView* view, GePoint3d& pt)
{
    const std::size_t segments = m_ptsLocateLine.size() / 2;
    if (segments == 0 || !view)
        return 0;
    GePoint3d e;
    GeVector3d up, right, d;
    view->GetCamera(e, up, right, d);
    d.Normalize(kUnitTol);
    if (d.Length() == 0.0)
        return 0;

    const GePoint3d p = Projected(pt, e, d);
    double best = std::numeric_limits<double>::infinity();
    for (std::size_t k = 0; k < segments; ++k) {
        const GePoint3d a = Projected(m_ptsLocateLine[2 * k], e, d);
        const GePoint3d b = Projected(m_ptsLocateLine[2 * k + 1], e, d);
        const double detour = p.DistanceTo(a) + p.DistanceTo(b) - a.DistanceTo(b);
        if (k == 0 || detour < best) {
            best = detour;
            m_nCurSeg = static_cast<int>(k);
        }
    }

    const GePoint3d& A = m_ptsLocateLine[2 * static_cast<std::size_t>(m_nCurSeg)];
    const GePoint3d& B = m_ptsLocateLine[2 * static_cast<std::size_t>(m_nCurSeg) + 1];
    GeVector3d u = B - A;
    u.Normalize(kUnitTol);
    if (u == d) {
        pt = A;
        return 1;
    }
    if (u == -d) {
        pt = B;
        return 1;
    }
    GePoint3d c;
    if (!GeLineSeg3d(Projected(A, e, d), Projected(B, e, d)).GetClosestPointTo(p, c, 0, kPointTol))
        return 0;
    const double z = m_dblAnchorHeight;
    if (std::fabs(d.z) > kLevelView) {
        pt.Set(c.x + d.x * (z - c.z) / d.z, c.y + d.y * (z - c.z) / d.z, z);
        return 1;
    }
    // A level view: where, in plan, the segment's line meets the view line through c.
    const double across = u.x * d.y - d.x * u.y;
    if (across == 0.0) {
        // The two lines run together only when the view looks along the segment.
        pt = u.DotProduct(d) > 0.0 ? A : B;
        return 1;
    }
    const double y = (u.x * d.y * A.y + (c.x - A.x) * u.y * d.y - d.x * u.y * c.y) / across;
    const double x = (u.x * d.x * (c.y - A.y) + d.x * u.y * A.x - c.x * u.x * d.y) / -across;
    pt.Set(x, y, z);
    return 1;
}

void CDormer_DragCallback::OnDragDraw(decView* view, const GePoint3d& pt)
{
    if (!view || m_ptsLocateLine.size() < 2 || !HasCurrentSegment())
        return;
    const GePoint3dArray& face = m_arrayFace[static_cast<std::size_t>(GetCurrentIndex())];
    if (face.empty())
        return;
    const GePoint3d& f0 = face.front();

    view->SetColor(kFaceColour, 0);
    DrawRing(view, face);
    view->MoveTo(m_ptsLocateLine[2 * static_cast<std::size_t>(m_nCurSeg)]);
    view->LineTo(m_ptsLocateLine[2 * static_cast<std::size_t>(m_nCurSeg) + 1]);

    view->SetColor(kDragColour, 0);
    view->MoveTo(m_ptCursor);
    view->LineTo(pt);

    const GeVector3d normal = CTools::GetNormal(face, kPointTol);
    GeVector3d eave, upSlope;
    if (!DormerAxes(normal, eave, upSlope))
        return;
    GeMatrix3d frame;
    frame.SetCoordSystem(pt, eave, upSlope, GeVector3d::kZAxis);

    // The slope line runs down the face from the point to the eave level of its first vertex.
    GeVector3d down = normal;
    down.RotateBy(kQuarterTurn, eave);
    down.Normalize(kUnitTol);
    const double drop = (f0.z - pt.z) / down.z;
    const GePoint3d foot(pt.x + down.x * drop, pt.y + down.y * drop, f0.z);
    view->MoveTo(pt);
    view->LineTo(foot);
    view->MoveTo(f0);
    view->LineTo(foot);

    double start = f0.DistanceTo(foot);
    if ((foot - f0).AngleTo(eave, GeVector3d::kZAxis, kAngleTol) > kQuarterTurn)
        start = -start;
    ShowTip("起始距离%.4fmm", start);

    const double slope = GeVector3d::kZAxis.AngleTo(normal, eave, kAngleTol);
    if (m_arrayPreview.empty() || m_dblPreviewSlope != slope) {
        m_arrayPreview = DormerSections(m_lWidth, m_lHeight1, m_lHeight2, m_lRoofThickness, m_lOverhang, slope);
        m_dblPreviewSlope = slope;
        ++m_nPreviewBuilds;
    }
    if (m_arrayPreview.empty())
        return;
    DrawPreview(view, frame, normal, eave);
}

// Each preview section swept back to the roof plane, as the quadrilaterals of its sides.
void CDormer_DragCallback::DrawPreview(decView* view, const GeMatrix3d& frame, const GeVector3d& normal,
                                       const GeVector3d& eave) const
{
    // The face normal turned into the dormer's frame, where it has no x part.
    const double turn = eave.AngleTo(GeVector3d::kXAxis, GeVector3d::kZAxis, kAngleTol);
    GeVector3d local = normal;
    local.RotateBy(turn, GeVector3d::kZAxis);
    local.Normalize(kUnitTol);
    const GeVector3d roofNormal(0.0, local.y, local.z);

    for (const GePoint3dArray& section : m_arrayPreview) {
        const std::size_t n = section.size();
        GePoint3dArray front, back;
        for (const GePoint3d& s : section) {
            front.push_back(GePoint3d(s).TransformBy(frame));
            back.push_back(OnDormerRoofPlane(s, roofNormal).TransformBy(frame));
        }
        for (std::size_t k = 0; k < n; ++k) {
            const std::size_t next = (k + 1) % n;
            DrawRing(view, {front[k], back[k], back[next], front[next]});
        }
    }
}
