// The geometry of the gable roof: frame, eave outline, the plan pieces on both sides of the
// ridge, the two roof planes, the closure walls, the entities and the two previews.
#include <algorithm>
#include <cmath>
#include <optional>

#include "AssertReport.h"
#include "CheckedNumbers.h"
#include "DbDatabase.h"
#include "GableRoofDlg.h"
#include "ModelHelperLayersMaterials.h"
#include "OutlineCleanup.h"
#include "RoofMeshEntities.h"
#include "RoofRings.h"
#include "TypedNumbers.h"
#include "WorkingDrawing.h"

namespace {

constexpr double kTol = 0.001;
constexpr double kAngleTol = 1e-6;
// The ridge reaches this far beyond the outline at both ends.
constexpr double kRidgeReach = 10000.0;
constexpr double kDegreesPerRadian = 57.29578;
// Slab thicknesses below this make faces.
constexpr UINT kMinSlabThickness = 2;

constexpr const char* kRoofLayer = "坡屋顶";
constexpr unsigned long kRoofLayerColour = 255;
constexpr const char* kRoofMaterial = "屋面板";
constexpr unsigned long kRoofMaterialColour = 0x8a55ff;
constexpr const char* kWallLayer = "屋顶封闭";
constexpr unsigned long kWallLayerColour = 0xacacac;
constexpr const char* kWallMaterial = "建筑";
constexpr unsigned long kWallMaterialColour = 0xffffff;

// Preview colours and display settings.
constexpr std::uint32_t kLeftColour = 0x8080ff;
constexpr std::uint32_t kRightColour = 0x7dfa7d;
constexpr std::uint32_t kRidgeColour = 0xffff;
constexpr std::uint32_t kOutlineColour = 0xffffff;
constexpr int kPlanSetting = 1;
constexpr int kRidgeSetting = 120;
constexpr int kFrontSetting = 50;
constexpr double kPreviewScale = 1.1;
constexpr double kRidgeMarkRadius = 500.0;

// Where the lines through a-b and c-d meet (unbounded); none for parallel lines.
bool LinesMeet(const GePoint3d& a, const GePoint3d& b, const GePoint3d& c, const GePoint3d& d, GePoint3d& out)
{
    return GeLineSeg3d(a, b).IntersectWith(GeLineSeg3d(c, d), out, 1, kTol);
}

// A surveyed wall is seldom one straight edge: a corner a hair off the line of its neighbours,
// or a jog of a few millimetres, splits it. Edges that run on within kWallBend degrees of a
// wall's edge, or that stay within kJogWidth of its line, belong to that wall: a bend of a
// degree or two over a wall's length is a survey's, no corner a roof should follow, and a step
// of less than a centimetre is the render's, no wall of its own.
constexpr double kWallBend = 2.0;
constexpr double kJogWidth = 10.0;

using Polygon = CGableRoofDlg::Polygon;

// The edges of a ring that make one wall: `count` edges from the one leaving corner `first`.
struct Wall {
    std::size_t first = 0, count = 0;
};

GeVector3d PlanVector(const GePoint3d& from, const GePoint3d& to)
{
    return GeVector3d(to.x - from.x, to.y - from.y, 0.0);
}

// The plan distance of p from the line through `on` along the (level) direction.
double Away(const GePoint3d& p, const GePoint3d& on, const GeVector3d& direction)
{
    return direction.CrossProduct(PlanVector(on, p)).Length() / direction.Length();
}

// Whether the edge leaving corner i belongs to the wall of the edge leaving corner `seed`: it
// does not run back against that edge, and it runs on within kWallBend of it or stays within
// kJogWidth of its line. An edge of no length has no line for others to join.
bool OnWallOf(const Polygon& ring, std::size_t seed, std::size_t i)
{
    const std::size_t n = ring.size();
    const GePoint3d& a = ring[i];
    const GePoint3d& b = ring[(i + 1) % n];
    const GeVector3d wall = PlanVector(ring[seed], ring[(seed + 1) % n]), edge = PlanVector(a, b);
    const double length = wall.Length();
    if (!(length > kTol) || wall.DotProduct(edge) < -kTol * length)
        return false;
    const auto inJog = [&](const GePoint3d& p) { return Away(p, ring[seed], wall) < kJogWidth; };
    return wall.AngleTo(edge) * kDegreesPerRadian <= kWallBend || (inJog(a) && inJog(b));
}

// The wall of the edge leaving corner `seed`: its neighbours on the wall, both ways. At least
// two edges stay off it, so that each end has a neighbouring edge to slide along.
Wall WallOf(const Polygon& ring, std::size_t seed)
{
    const std::size_t n = ring.size();
    Wall wall{seed, 1};
    while (wall.count + 2 < n && OnWallOf(ring, seed, (wall.first + wall.count) % n))
        ++wall.count;
    while (wall.count + 2 < n && OnWallOf(ring, seed, (wall.first + n - 1) % n)) {
        wall.first = (wall.first + n - 1) % n;
        ++wall.count;
    }
    return wall;
}

// Where the wall lies along the ridge: the middle of the line from its first corner to its last.
double MiddleAlongRidge(const Polygon& ring, const Wall& wall)
{
    return (ring[wall.first].y + ring[(wall.first + wall.count) % ring.size()].y) / 2.0;
}

bool IsShort(const Polygon& ring, std::size_t i)
{
    return PlanVector(ring[i], ring[(i + 1) % ring.size()]).Length() < kJogWidth;
}

}  // namespace

void CGableRoofDlg::InitGeometry()
{
    ComputeLocalFrame();
    ComputeOutlineExtents();
}

void CGableRoofDlg::UpdateOutline()
{
    ComputeEaveOutline();
    ComputeSlopePolygons();
}

void CGableRoofDlg::UpdateRoof()
{
    UpdateSlopePlanes();
    ComputeVertexHeights();
}

void CGableRoofDlg::UpdateSlopePlanes()
{
    if (m_mode == kWallTops)
        SetSlopePlanesByWallTops();
    else
        SetSlopePlanesByAngles();
}

// Turned about the vertical through the ridge start until the ridge runs along +Y, then moved
// so that the ridge start is the origin.
void CGableRoofDlg::ComputeLocalFrame()
{
    // The command takes only outlines whose height fits (GableRoof::SelectBaseOutline).
    m_baseElevation = StoredAs<int>(m_ridgeStart.z).value_or(0);
    const double angle = (m_ridgeEnd - m_ridgeStart).AngleTo(GeVector3d::kYAxis, GeVector3d::kZAxis, kAngleTol);
    GeMatrix3d turn, move;
    turn.SetToRotation(angle, GeVector3d::kZAxis, m_ridgeStart);
    move.SetToTranslation(GePoint3d() - m_ridgeStart);
    m_frame = move * turn;
    for (GePoint3d& p : m_outline)
        p.TransformBy(m_frame);
    m_ridgeStart.TransformBy(m_frame);
    m_ridgeEnd.TransformBy(m_frame);
}

void CGableRoofDlg::ComputeOutlineExtents()
{
    GeBoundBox3d box;
    for (const GePoint3d& p : m_outline)
        box.Extend(p);
    m_extentsMin = box.MinPoint();
    m_extentsMax = box.MaxPoint();
    m_ridgeStart.y = m_extentsMin.y - kRidgeReach;
    m_ridgeEnd.y = m_extentsMax.y + kRidgeReach;
}

int CGableRoofDlg::IsSingleSlope()
{
    return m_extentsMin.x >= -kTol || m_extentsMax.x <= kTol ? 1 : 0;
}

// The eave overhang grows the outline through the kernel's offset, so a notch narrower than
// twice the overhang closes instead of folding; a ring that still crosses itself once the
// gable edges have moved is refused (left empty).
void CGableRoofDlg::ComputeEaveOutline()
{
    const int e = static_cast<int>(m_eaveOverhang);
    const int g = static_cast<int>(m_gableOverhang);
    m_eaveOutline = m_outline;
    if (e == 0 && g == 0)
        return;
    if (e > 0)
        m_eaveOutline = roof_rings::Grown(m_outline, e);
    if (e != g && m_eaveOutline.size() > 3)
        MoveGableEdges(g - e);
    if (!roof_rings::IsSimpleInPlan(m_eaveOutline))
        m_eaveOutline.clear();
}

// The gable walls: the first walls whose middles lie lowest and highest along the ridge. A wall
// is led by an edge a jog's width or longer, unless every edge is shorter, so that the step of
// a jog is not taken for the wall it lies in.
void CGableRoofDlg::MoveGableEdges(int distance)
{
    const std::size_t n = m_eaveOutline.size();
    bool anyLong = false;
    for (std::size_t i = 0; i < n; ++i)
        anyLong = anyLong || !IsShort(m_eaveOutline, i);
    double highest = -HUGE_VAL, lowest = HUGE_VAL;
    std::optional<Wall> top, bottom;
    for (std::size_t i = 0; i < n; ++i) {
        if (anyLong && IsShort(m_eaveOutline, i))
            continue;
        const Wall wall = WallOf(m_eaveOutline, i);
        const double middle = MiddleAlongRidge(m_eaveOutline, wall);
        if (middle > highest) {
            highest = middle;
            top = wall;
        }
        if (middle < lowest) {
            lowest = middle;
            bottom = wall;
        }
    }
    const auto move = [&](const Wall& wall) {
        const std::optional<int> i = StoredAs<int>(wall.first), j = StoredAs<int>((wall.first + wall.count) % n);
        if (i && j)
            IntersectOffsetEdges(m_eaveOutline, *i, *j, distance);
    };
    if (top)
        move(*top);
    if (bottom)
        move(*bottom);
}

// The wall from corner i to corner j moves as one, square to the line from i to j, so a corner
// on it a hair off that line, or a jog in it, moves with it and keeps its shape. Its two ends
// slide along the lines of the edges beyond them; where such a crossing fails (that edge
// parallel to the wall's end), the end moves with the wall.
void CGableRoofDlg::IntersectOffsetEdges(Polygon& polygon, int i, int j, int distance)
{
    const std::size_t n = polygon.size();
    const std::optional<std::size_t> from = StoredAs<std::size_t>(i), to = StoredAs<std::size_t>(j);
    if (!from || !to || *from >= n || *to >= n || *from == *to)
        return;
    const std::size_t first = *from, last = *to;
    const GeVector3d chord = PlanVector(polygon[first], polygon[last]);
    const double length = chord.Length();
    if (!(length > kTol))
        return;
    // Outward: to the right of a counter-clockwise ring, to the left of a clockwise one.
    const double outward = GetPtsSignedArea(polygon) < 0.0 ? -1.0 : 1.0;
    const GeVector3d move = GeVector3d(chord.y, -chord.x, 0.0) * (outward * distance / length);
    Polygon moved = polygon;
    for (std::size_t k = (first + 1) % n; k != last; k = (k + 1) % n)
        moved[k] += move;
    const GePoint3d firstMoved = polygon[first] + move, lastMoved = polygon[last] + move;
    moved[first] = firstMoved;
    moved[last] = lastMoved;
    LinesMeet(firstMoved, polygon[(first + 1) % n] + move, polygon[(first + n - 1) % n], polygon[first],
              moved[first]);
    LinesMeet(polygon[(last + n - 1) % n] + move, lastMoved, polygon[last], polygon[(last + 1) % n], moved[last]);
    polygon = std::move(moved);
}

void CGableRoofDlg::ComputeSlopePolygons()
{
    m_arrayLeftPolygon.clear();
    m_arrayRightPolygon.clear();
    // A refused eave outline has no pieces; the dialog says so when the roof is asked for.
    if (m_eaveOutline.empty())
        return;
    if (IsSingleSlope()) {
        // The side is decided with the tolerance IsSingleSlope used: an outline with an edge on
        // the ridge line may lie a rounding error left of it.
        (m_extentsMin.x < -kTol ? m_arrayLeftPolygon : m_arrayRightPolygon).push_back(m_eaveOutline);
        return;
    }
    ComputeLeftPolygons();
    ComputeRightPolygons();
    ORV_ASSERT((!m_arrayLeftPolygon.empty() || !m_arrayRightPolygon.empty()) && "无法生成屋顶，异常！",
               "GableRoofDlg");
}

void CGableRoofDlg::ComputeLeftPolygons()
{
    ComputeSidePolygons(true);
}

void CGableRoofDlg::ComputeRightPolygons()
{
    ComputeSidePolygons(false);
}

// The pieces of the eave outline on one side of the ridge. The ring is walked so that the
// side's part runs from its top crossing with the ridge down to its bottom one (the left
// side on the counter-clockwise ring, the right on the clockwise one); each run of kept
// vertices becomes a piece closed along the ridge, and pieces of the wrong turn that lie
// within another's span along the ridge join it.
void CGableRoofDlg::ComputeSidePolygons(bool left)
{
    std::vector<Polygon>& pieces = left ? m_arrayLeftPolygon : m_arrayRightPolygon;
    pieces.clear();
    Polygon ring = left ? roof_rings::CounterClockwise(m_eaveOutline) : roof_rings::Clockwise(m_eaveOutline);
    if (ring.size() < 2)
        return;
    ring.push_back(ring.front());
    // A vertex within the tolerance of the ridge lies on it and belongs to both sides, so an
    // edge whose crossing is asked for runs from beyond the tolerance on the other side.
    const auto kept = [left](const GePoint3d& p) { return left ? p.x <= kTol : p.x >= -kTol; };
    const auto enters = [&kept](const GePoint3d& before, const GePoint3d& p) { return kept(p) && !kept(before); };
    // The entry onto the side that lies highest along the ridge.
    const std::size_t n = ring.size() - 1;
    double best = m_extentsMin.y - kRidgeReach;
    std::size_t start = n + 1;
    for (std::size_t k = 1; k <= n; ++k) {
        if (enters(ring[k - 1], ring[k]) && ring[k].y > best) {
            best = ring[k].y;
            start = k;
        }
    }
    if (start > n || best < m_extentsMin.y)
        return;
    ring.pop_back();
    std::rotate(ring.begin(), ring.begin() + static_cast<std::ptrdiff_t>(start % n), ring.end());

    GePoint3d crossing;
    IntersectRidge(ring[n - 1], ring[0], crossing);
    Polygon piece = {crossing, ring[0]};
    bool inside = true;
    for (std::size_t k = 1; k < n; ++k) {
        if (kept(ring[k])) {
            if (!inside) {
                IntersectRidge(ring[k - 1], ring[k], crossing);
                piece.push_back(crossing);
                inside = true;
            }
            piece.push_back(ring[k]);
        } else if (inside) {
            IntersectRidge(ring[k - 1], ring[k], crossing);
            piece.push_back(crossing);
            pieces.push_back(std::move(piece));
            piece.clear();
            inside = false;
        }
    }

    for (std::size_t i = 1; i < pieces.size();) {
        const double area = GetPtsSignedArea(pieces[i]);
        bool merged = false;
        if (left ? area < 0.0 : area > 0.0) {
            for (std::size_t j = 0; j < pieces.size() && !merged; ++j) {
                if (j == i || !(pieces[j].back().y < pieces[i].front().y && pieces[j].front().y > pieces[i].back().y))
                    continue;
                pieces[j].insert(pieces[j].end(), pieces[i].begin(), pieces[i].end());
                pieces.erase(pieces.begin() + static_cast<std::ptrdiff_t>(i));
                merged = true;
            }
        }
        if (!merged)
            ++i;
    }
}

// An edge expected to cross the ridge that does not reach it is reported; the point then
// comes from the edge's line, or, for an edge parallel to the ridge, from its end nearer the
// ridge moved onto it.
void CGableRoofDlg::IntersectRidge(const GePoint3d& p, const GePoint3d& q, GePoint3d& out)
{
    const GeLineSeg3d ln(p, q);
    const GeLineSeg3d lnRidge(GePoint3d(m_ridgeStart.x, m_ridgeStart.y, p.z), GePoint3d(m_ridgeEnd.x, m_ridgeEnd.y, p.z));
    GePoint3d ip;
    if (ln.IntersectWith(lnRidge, ip, FALSE, kTol)) {
        out = ip;
        return;
    }
    ReportAssertFailure("ln.IntersectWith(lnRidge, ip, FALSE) && \"计算和脊线相交点异常！\"", "GableRoofDlg", __LINE__);
    if (ln.IntersectWith(lnRidge, ip, TRUE, kTol)) {
        out = ip;
        return;
    }
    out = std::fabs(q.x) < std::fabs(p.x) ? q : p;
    out.x = m_ridgeStart.x;
}

void CGableRoofDlg::SetSlopePlanesByWallTops()
{
    const double h = m_ridgeElevation;
    const double l = m_leftWallTop;
    const double r = m_equalSlopes ? m_leftWallTop : m_rightWallTop;
    const GePoint3d a(m_ridgeStart.x, m_ridgeStart.y, h), b(m_ridgeEnd.x, m_ridgeEnd.y, h);
    m_leftPlaneSet = m_leftPlane.Set(a, b, GePoint3d(m_extentsMin.x, m_extentsMin.y, l));
    m_rightPlaneSet = m_rightPlane.Set(a, b, GePoint3d(m_extentsMax.x, m_extentsMax.y, r));
}

// An angle text that is no number sets no plane (the roof then fails as one missing its
// planes does) rather than reading as 0 degrees, a flat face.
void CGableRoofDlg::SetSlopePlanesByAngles()
{
    const std::optional<double> leftDegrees = TypedNumber(m_leftAngle);
    const std::optional<double> rightDegrees = m_equalSlopes ? leftDegrees : TypedNumber(m_rightAngle);
    if (!leftDegrees || !rightDegrees) {
        m_leftPlaneSet = m_rightPlaneSet = false;
        return;
    }
    const double left = *leftDegrees / kDegreesPerRadian;
    const double right = *rightDegrees / kDegreesPerRadian;
    const GePoint3d o(m_ridgeStart.x, m_ridgeStart.y, m_ridgeElevation);
    GeVector3d leftNormal = GeVector3d::kZAxis, rightNormal = GeVector3d::kZAxis;
    leftNormal.RotateBy(-left, GeVector3d::kYAxis);
    rightNormal.RotateBy(right, GeVector3d::kYAxis);
    m_leftPlaneSet = m_leftPlane.Set(o, leftNormal);
    m_rightPlaneSet = m_rightPlane.Set(o, rightNormal);
}

void CGableRoofDlg::ComputeVertexHeights()
{
    m_planesMissed = false;
    const auto lift = [this](const std::vector<Polygon>& pieces, const GePlane& plane, bool planeSet,
                             std::vector<Polygon>& roof) {
        roof.clear();
        for (const Polygon& piece : pieces) {
            Polygon lifted;
            for (const GePoint3d& p : piece) {
                GePoint3d top = p;
                if (!planeSet || !plane.IntersectWith(GeLine3d(p, GeVector3d::kZAxis), top, kTol))
                    m_planesMissed = true;
                lifted.push_back(top);
            }
            roof.push_back(std::move(lifted));
        }
    };
    lift(m_arrayLeftPolygon, m_leftPlane, m_leftPlaneSet, m_leftRoofPolygons);
    lift(m_arrayRightPolygon, m_rightPlane, m_rightPlaneSet, m_rightRoofPolygons);
}

void CGableRoofDlg::ComputeGableWalls()
{
    m_wallPolygons.clear();
    const std::size_t n = m_outline.size();
    const bool twoSlopes = IsSingleSlope() == 0;
    const auto addWall = [this](const GePoint3d& p, const GePoint3d& q) {
        Polygon wall;
        if (ComputeGableWallPolygon(p, q, wall))
            m_wallPolygons.push_back(std::move(wall));
    };
    const GeVector3d up = GeVector3d::kZAxis * m_ridgeElevation;
    for (std::size_t i = 0; i < n; ++i) {
        const GePoint3d& a = m_outline[i];
        const GePoint3d& b = m_outline[(i + 1) % n];
        GePoint3d ip;
        if (a.x * b.x > kTol) {
            addWall(a, b);
        } else if (!twoSlopes && std::fabs(a.x + b.x) < kTol) {
            m_wallPolygons.push_back({a, b, b + up, a + up});
        } else if (LinesMeet(a, b, m_ridgeStart, m_ridgeEnd, ip)) {
            addWall(a, ip);
            addWall(ip, b);
        } else {
            // An edge along the ridge line under a two-slope roof does not cross it.
            addWall(a, b);
        }
    }
}

int CGableRoofDlg::ComputeGableWallPolygon(const GePoint3d& p, const GePoint3d& q, Polygon& wall)
{
    wall.clear();
    // A wall needs an edge: where an edge only touches the ridge, one of its two parts has none.
    if (p.DistanceTo(q) < kTol)
        return 0;
    const GePlane& plane = p.x + q.x <= kTol ? m_leftPlane : m_rightPlane;
    GePoint3d pb = p, qb = q;
    // The top above an end; where the plane lies below it, the end moves along the edge to
    // where the edge passes under the plane.
    const auto top = [&](const GePoint3d& end, GePoint3d& foot) {
        GePoint3d t;
        if (plane.IntersectWith(GeRay3d(end, GeVector3d::kZAxis), t, kTol)) {
            if (t.z - end.z > kTol)
                wall.push_back(t);
            return;
        }
        GePoint3d crossing;
        if (GeLineSeg3d(pb, qb).IntersectWith(plane, crossing, kTol))
            foot = crossing;
    };
    top(q, qb);
    top(p, pb);
    if (wall.empty())
        return 0;
    wall.push_back(pb);
    wall.push_back(qb);
    return 1;
}

void CGableRoofDlg::TransformToWorld()
{
    const GeMatrix3d toWorld = m_frame.Inverse();
    for (std::vector<Polygon>* polygons : {&m_leftRoofPolygons, &m_rightRoofPolygons, &m_wallPolygons})
        for (Polygon& polygon : *polygons)
            for (GePoint3d& p : polygon)
                p.TransformBy(toWorld);
}

void CGableRoofDlg::CreateRoofEntities()
{
    if (m_planesMissed || (m_leftRoofPolygons.empty() && m_rightRoofPolygons.empty()))
        return;
    DbDatabase* db = dec::GetWorkingDatabase();
    db->OpenForWrite();
    CString roofMaterialName(kRoofMaterial), wallMaterialName(kWallMaterial);
    const long roofMaterial = CreateSolidColorMaterial(db, roofMaterialName, kRoofMaterialColour, 0.0);
    const long wallMaterial = CreateSolidColorMaterial(db, wallMaterialName, kWallMaterialColour, 0.0);
    const long roofLayer = CreateLayer(db, kRoofLayer, kRoofLayerColour, 0, 1);
    const long wallLayer = CreateLayer(db, kWallLayer, kWallLayerColour, 0, 1);
    decObjectIdArray ids;
    for (const Polygon& wall : m_wallPolygons)
        ids.push_back(CreateFaceEntity(db, wall, wallLayer, wallMaterial));
    for (Polygon& polygon : m_rightRoofPolygons)
        std::reverse(polygon.begin(), polygon.end());
    for (const std::vector<Polygon>* side : {&m_leftRoofPolygons, &m_rightRoofPolygons}) {
        for (const Polygon& polygon : *side) {
            if (m_thickness < kMinSlabThickness)
                ids.push_back(CreateFaceEntity(db, polygon, roofLayer, roofMaterial));
            else
                CreateSlabEntity(db, polygon, m_thickness, roofLayer, roofMaterial, ids);
        }
    }
    db->MakeGroup(ids, 0);
    db->Close();
}

void CGableRoofDlg::RegenPreview()
{
    WndGS2d& view = m_planPreview;
    view.SceneBuildBegin();
    GsDraw2d* draw = view.GetDrawObject();
    draw->SetSetting(kPlanSetting);
    draw->SetColor(kLeftColour);
    for (const Polygon& polygon : m_leftRoofPolygons)
        draw->Polyline(polygon.data(), static_cast<int>(polygon.size()), 1);
    draw->SetColor(kRightColour);
    for (const Polygon& polygon : m_rightRoofPolygons)
        draw->Polyline(polygon.data(), static_cast<int>(polygon.size()), 1);
    draw->SetColor(kRidgeColour);
    draw->SetSetting(kRidgeSetting);
    draw->Line(GePoint3d(m_ridgeStart.x, m_ridgeStart.y + kRidgeReach, 0.0),
               GePoint3d(m_ridgeEnd.x, m_ridgeEnd.y - kRidgeReach, 0.0));
    view.SceneBuildEnd();
    view.DoZoomE();
    view.DoViewScale(kPreviewScale);
    view.Regen();
}

void CGableRoofDlg::DrawPreview()
{
    WndGS2d& view = m_frontPreview;
    view.SceneBuildBegin();
    GsDraw2d* draw = view.GetDrawObject();
    draw->SetSetting(kFrontSetting);
    const auto box = [](const std::vector<Polygon>& polygons) {
        GeBoundBox3d b;
        for (const Polygon& polygon : polygons)
            for (const GePoint3d& p : polygon)
                b.Extend(p);
        return b;
    };
    const bool wallTops = m_mode == kWallTops;
    if (!m_leftRoofPolygons.empty() && !m_leftRoofPolygons.front().empty()) {
        const GeBoundBox3d b = box(m_leftRoofPolygons);
        double low = b.MinPoint().z, high = b.MaxPoint().z;
        if (wallTops && m_ridgeElevation < m_leftWallTop)
            std::swap(low, high);
        draw->SetColor(kLeftColour);
        draw->Line(GePoint3d(b.MinPoint().x, low, 0.0), GePoint3d(b.MaxPoint().x, high, 0.0));
    }
    if (!m_rightRoofPolygons.empty() && !m_rightRoofPolygons.front().empty()) {
        const GeBoundBox3d b = box(m_rightRoofPolygons);
        double high = b.MaxPoint().z, low = b.MinPoint().z;
        if (wallTops && (m_ridgeElevation < m_rightWallTop || (m_equalSlopes && m_ridgeElevation < m_leftWallTop)))
            std::swap(low, high);
        draw->SetColor(kRightColour);
        draw->Line(GePoint3d(b.MinPoint().x, high, 0.0), GePoint3d(b.MaxPoint().x, low, 0.0));
    }
    draw->SetColor(kOutlineColour);
    draw->Line(GePoint3d(m_extentsMin.x, m_extentsMin.z, 0.0), GePoint3d(m_extentsMax.x, m_extentsMin.z, 0.0));
    draw->SetColor(kRidgeColour);
    draw->Circle(GePoint3d(m_ridgeStart.x, m_ridgeElevation, 0.0), kRidgeMarkRadius, GeVector3d::kZAxis, 8, 1);
    view.SceneBuildEnd();
    view.DoZoomE();
    view.DoViewScale(kPreviewScale);
    view.Regen();
}
