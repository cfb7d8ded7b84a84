// The balcony command: a building (or an outline or single-loop solid standing for one) and
// the balcony floor outlines drawn against it. Both lose their slips of the hand, as a roof's
// outline does (roof_rings::WithoutSlips), and the outlines are overlaid on the building's
// bottom outline; of the closed regions the segments enclose, those that lie outside the
// building and touch it are the balconies, each edge flagged as free (1) or on the building
// (0). The dialog then takes the sizes and makes them.
#include <algorithm>
#include <memory>
#include <vector>

#include "BalconyDlg.h"
#include "CommandLine.h"
#include "DbDatabase.h"
#include "ExtrudeBuild.h"
#include "GeLineSeg3d.h"
#include "ModelGeHelper.h"
#include "ModelHelperBuildings.h"
#include "OrvCommandHandlers.h"
#include "RoofRings.h"
#include "Selection.h"
#include "Tools.h"
#include "View.h"
#include "WorkingDrawing.h"
#include "decDbCurve.h"

namespace {

constexpr const char* kTitle = "***插阳台***";
constexpr const char* kBuildingPrompt = "选择要加入阳台的建筑或底轮廓线:";
constexpr const char* kWayOut = "取消";
constexpr const char* kNoPick = "未选中目标!退出命令!";
constexpr const char* kNoBottom = "所选建筑没有水平的底面!";
constexpr const char* kTooFewPoints = "建筑底面轮廓顶点不能小于3个!";
constexpr const char* kOutlinePrompt = "选择阳台底面外轮廓线(应与建筑底面在同一高度):";
constexpr const char* kCancelled = "选择取消，退出命令";
constexpr const char* kNoOutline = "未选中阳台底面外轮廓线!退出命令!";
constexpr const char* kNoUsableOutline = "未选中合法的阳台底面外轮廓线!退出命令!";
constexpr const char* kNoRegion = "阳台轮廓选择无效!退出命令!";
constexpr unsigned long kOutlineColour = 0xd700d7;
constexpr double kCleanTol = 1e-6;
// Segments and their pieces after splitting live in arrays of this many entries.
constexpr int kSegmentCapacity = 10000;
// The tracer joins ends within this (and ends within the splitter's reach of a wall onto
// it), so a face edge that runs along a wall may lie this far off it.
constexpr double kFaceTol = 0.1;
// Inside or outside, for the middle of an edge that lies off the building's ring.
constexpr double kRelationTol = 1e-6;

bool IsOutlineEntity(decDbEntity* entity)
{
    return (decCast<decDbCurve>(entity) && entity->GetNumVerts() >= 3) ||
           (entity->Is3DEntity() && IsSingleLoopEntity(entity));
}

// A building, or an outline standing for one.
class CBuildFilter : public decSSGet_filter {
public:
    int Accept(decDbEntity* entity, int& accept) override
    {
        accept = 0;
        if (entity && (IsExtrudeBuild(entity) || IsOutlineEntity(entity)))
            accept = 1;
        return accept;
    }
};

// A balcony outline.
class CContourFilter : public decSSGet_filter {
public:
    int Accept(decDbEntity* entity, int& accept) override
    {
        accept = 0;
        if (entity && IsOutlineEntity(entity))
            accept = 1;
        return accept;
    }
};

// The picked object's outline and whether it is closed: a building's bottom face, a solid's
// one loop, a curve's vertices (open). False after the message when a building has no level
// bottom face.
bool ReadBuildingOutline(decDbEntity* entity, GePoint3dArray& outline, int& closed)
{
    const decObject* base = entity->GetBaseObject();
    if (base && base->IsKindOf(CExtrudeBuild::Desc())) {
        if (CTools::GetEntBottomPlg(entity, closed, outline))
            return true;
        dec::PrintPrompt(kNoBottom);
        return false;
    }
    // A solid has no vertices of its own: its loop stands for the outline.
    if (entity->Is3DEntity()) {
        CTools::GetEntBottomPlg(entity, closed, outline);
        return true;
    }
    for (int i = 0; i < entity->GetNumVerts(); ++i)
        outline.push_back(entity->GetVertexAt(i));
    closed = 0;
    return true;
}

// The selected outlines at the base level, each once; a closed one ends with its first point
// again, so that its vertices give all its edges.
std::vector<GePoint3dArray> ReadBalconyOutlines(const decSelectSet& selection, double baseLevel)
{
    std::vector<GePoint3dArray> outlines;
    for (int i = 0; i < selection.GetCount(); ++i) {
        decDbEntity* entity = selection.GetEnt(i);
        GePoint3dArray pts;
        int closed = 0;
        if (!entity || !CTools::GetEntBottomPlg(entity, closed, pts))
            continue;
        CTools::ManageGePoint3dArray(pts, closed, kCleanTol);
        pts = roof_rings::WithoutSlips(std::move(pts), kCleanTol, closed != 0);
        if (pts.size() < 2)
            continue;
        if (closed)
            pts.push_back(pts.front());
        for (GePoint3d& p : pts)
            p.z = baseLevel;
        if (std::find(outlines.begin(), outlines.end(), pts) == outlines.end())
            outlines.push_back(std::move(pts));
    }
    return outlines;
}

// The segments of the building's ring and of the balcony outlines, in arrays of the fixed
// capacity (on the heap).
struct Segments {
    std::vector<GePoint3d> starts = std::vector<GePoint3d>(kSegmentCapacity);
    std::vector<GePoint3d> ends = std::vector<GePoint3d>(kSegmentCapacity);
    int count = 0;

    // False, with nothing written, when the arrays are full.
    bool Add(const GePoint3d& a, const GePoint3d& b)
    {
        if (count >= kSegmentCapacity)
            return false;
        starts[static_cast<std::size_t>(count)] = a;
        ends[static_cast<std::size_t>(count)] = b;
        ++count;
        return true;
    }
};

// The closed faces of the building's ring and the outlines, split at their crossings; false
// when the segments or their pieces do not fit the arrays.
bool TraceFaces(const GePoint3dArray& building, const std::vector<GePoint3dArray>& outlines,
                std::vector<GePoint3dArray>& faces)
{
    Segments segments;
    bool fits = true;
    for (std::size_t i = 0; i < building.size(); ++i)
        fits = fits && segments.Add(building[i], building[(i + 1) % building.size()]);
    for (const GePoint3dArray& outline : outlines)
        for (std::size_t i = 0; i + 1 < outline.size(); ++i)
            fits = fits && segments.Add(outline[i], outline[i + 1]);
    if (!fits || !CTools::BreakIntoLineSegs(segments.count, segments.starts.data(), segments.ends.data(), kCleanTol,
                                            kSegmentCapacity))
        return false;
    CTools::MakeLineSegsToFaces(segments.count, segments.starts.data(), segments.ends.data(), faces, kFaceTol);
    return true;
}

// Whether the point lies within the joining tolerance of the building's ring, measured square
// to its edges, so that the answer is the same whichever way the building is turned.
bool LiesOnBuilding(const GePoint3d& p, const GePoint3dArray& building)
{
    for (std::size_t i = 0; i < building.size(); ++i)
        if (GeLineSeg3d(building[i], building[(i + 1) % building.size()]).IsPointOn(p, kFaceTol))
            return true;
    return false;
}

// 1 for a free edge (its middle outside the building), 0 for one on the building or inside it.
int EdgeFlag(const GePoint3d& a, const GePoint3d& b, const GePoint3dArray& building)
{
    const GePoint3d middle((a.x + b.x) / 2.0, (a.y + b.y) / 2.0, building.front().z);
    return !LiesOnBuilding(middle, building) && CTools::PtRegionRelation(middle, building, kRelationTol) == 0 ? 1 : 0;
}

// The faces outside the building that touch it, counter-clockwise, with their edge flags.
void KeepBalconyFaces(const GePoint3dArray& building, std::vector<GePoint3dArray>& faces,
                      std::vector<std::vector<int>>& flags)
{
    std::vector<GePoint3dArray> kept;
    for (GePoint3dArray& face : faces) {
        if (CTools::IsPtArrayClockWise(face))
            std::reverse(face.begin(), face.end());
        const std::size_t n = face.size();
        std::vector<int> edgeFlags(n);
        for (std::size_t j = 0; j < n; ++j)
            edgeFlags[j] = EdgeFlag(face[j], face[(j + 1) % n], building);
        const auto free = std::count(edgeFlags.begin(), edgeFlags.end(), 1);
        if (free == 0 || free == static_cast<std::ptrdiff_t>(n))
            continue;
        kept.push_back(std::move(face));
        flags.push_back(std::move(edgeFlags));
    }
    faces = std::move(kept);
}

}  // namespace

void CMD_BALCONY()
{
    dec::PrintPrompt(kTitle);
    DbAutoOpen open(1);
    DbDatabase* db = open.db;
    decObjectId id;
    GePoint3d pickPoint;
    CBuildFilter buildFilter;
    if (db->decPickSingleEntity(id, pickPoint, kBuildingPrompt, nullptr, &buildFilter, kWayOut) != dex::eOk) {
        dec::PrintPrompt(kNoPick);
        return;
    }
    decDbEntity* entity = db->GetObjectById(id);
    GePoint3dArray building;
    int closed = 0;
    if (!entity || !ReadBuildingOutline(entity, building, closed))
        return;
    CTools::ManageGePoint3dArray(building, closed, kCleanTol);
    // Taken as the ring it stands for, whether its curve is closed or not.
    building = roof_rings::WithoutSlips(std::move(building), kCleanTol);
    if (building.size() < 3) {
        dec::PrintPrompt(kTooFewPoints);
        return;
    }
    const double baseLevel = building.front().z;

    db->ClearSelectSet(1);
    if (decView* view = dec::GetActiveView())
        view->Refresh();
    CTools::ShowPath(building, 1, 0, 1, kOutlineColour, 10);

    decSelectSet selection;
    CContourFilter outlineFilter;
    if (dec::decSSGet(kOutlinePrompt, selection, &outlineFilter, 1, nullptr) != dex::eOk) {
        dec::PrintPrompt(kCancelled);
        return;
    }
    if (selection.GetCount() == 0) {
        dec::PrintPrompt(kNoOutline);
        return;
    }
    const std::vector<GePoint3dArray> outlines = ReadBalconyOutlines(selection, baseLevel);
    if (outlines.empty()) {
        dec::PrintPrompt(kNoUsableOutline);
        return;
    }

    std::vector<GePoint3dArray> faces;
    std::vector<std::vector<int>> flags;
    if (TraceFaces(building, outlines, faces))
        KeepBalconyFaces(building, faces, flags);
    if (faces.empty()) {
        dec::PrintPrompt(kNoRegion);
        return;
    }

    AFX_MAINTAIN_STATE2 guard(AfxGetStaticModuleState());
    auto dlg = std::make_unique<CBalconyDlg>();
    dlg->m_faces = std::move(faces);
    dlg->m_edgeFlags = std::move(flags);
    dlg->DoModal();
}
