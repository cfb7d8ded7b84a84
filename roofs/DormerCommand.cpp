// The dormer command: the roof faces picked as sub-objects, those that really slope kept, and
// the dormer dialog opened on them.
#include <cmath>
#include <cstdio>
#include <numbers>
#include <vector>

#include "CArray.h"
#include "CommandLine.h"
#include "DbDatabase.h"
#include "Dormer.h"
#include "DormerDlg.h"
#include "GetMinMax.h"
#include "OrvCommandHandlers.h"
#include "Tools.h"
#include "WorkingDrawing.h"

namespace {

constexpr const char* kTitle = "***老虎窗***";
constexpr const char* kPickPrompt = "选择屋顶坡面:";
constexpr const char* kNothingPicked = "未选中目标!退出命令!";
constexpr const char* kRemoved = "去掉%d个不符合要求的非坡面";
constexpr const char* kNoSlope = "无选中坡面!退出命令!";
constexpr const char* kKept = "选中了%d个坡面";
// Sub-object mode of the face pick (the host's).
constexpr int kFacePickMode = 16;
// A face tilted by no more than this (one degree, in single precision) is not a slope, and
// one steeper than the dormer panel's limit takes no dormer (an upright wall would get one of
// no depth).
constexpr double kLeastTilt = 0.017453293005625408;
constexpr double kSteepestTilt = CDormer::kMaxPanelSlope * std::numbers::pi / 180.0;
constexpr double kNormalTol = 0.001;
// Faces this close to one already kept are the same face.
constexpr double kSameFaceTol = 1.0;

// Collects the picked faces of one entity: the polygons whose bit is set, closed and of at
// least three vertices.
class enumpgn : public EnumShapePolygonCallback {
public:
    explicit enumpgn(BitArray picked) : m_picked(std::move(picked)) {}

    void OnMap(int index, const GePolygon& polygon) override
    {
        if (!m_picked.IsSet(index) || polygon.IsPolyline() || polygon.GetCountVertex() < 3)
            return;
        const GePoint3d* vertices = polygon.GetVertexArray();
        m_faces.Add(GePoint3dArray(vertices, vertices + polygon.GetCountVertex()));
    }
    const CArray<GePoint3dArray, GePoint3dArray>& Faces() const { return m_faces; }

private:
    BitArray m_picked;
    CArray<GePoint3dArray, GePoint3dArray> m_faces;
};

// The faces the command keeps, each starting at its lowest vertex with its normal up, and
// the heights of their vertices.
struct SlopeFaces {
    std::vector<GePoint3dArray> faces;
    std::vector<double> heights;
    int removed = 0;
};

void Consider(GePoint3dArray face, SlopeFaces& kept)
{
    GeVector3d normal = CTools::GetNormal(face, kNormalTol);
    normal.Normalize(kNormalTol);
    if (normal.z < 0.0)
        normal = -normal;
    const double tilt = normal.AngleTo(GeVector3d::kZAxis);
    if (tilt <= kLeastTilt || tilt > kSteepestTilt || !CTools::ManageSlopevts(face)) {
        ++kept.removed;
        return;
    }
    for (const GePoint3dArray& other : kept.faces)
        if (CTools::IsPtArraySame(other, face, 0, kSameFaceTol))
            return;
    for (const GePoint3d& p : face)
        kept.heights.push_back(p.z);
    kept.faces.push_back(std::move(face));
}

// The picked faces of every picked entity, in the order of the pick.
SlopeFaces PickedSlopes(const decSelectSet& set)
{
    SlopeFaces kept;
    for (const decObjectId& id : set.Ids()) {
        decObject* object = id.GetObjectA();
        if (!object || !object->IsKindOf(decDbEntity::Desc()))
            continue;
        const auto* entity = static_cast<decDbEntity*>(object);
        BitArray picked;
        if (entity->GetSubObjectSelectSet(picked) != 1)
            continue;
        enumpgn collect(picked);
        entity->EnumPolygons(collect);
        for (const GePoint3dArray& face : collect.Faces())
            Consider(face, kept);
    }
    return kept;
}

// The anchor height the dialog opens with: the remembered one while it lies within the first
// face's heights; otherwise a third of the way up that face, brought down to whole hundreds
// (above 100) or tens (above 10).
double OpeningAnchor(const GePoint3dArray& firstFace)
{
    std::vector<double> heights;
    for (const GePoint3d& p : firstFace)
        heights.push_back(p.z);
    double largest = 0.0, smallest = 0.0;
    GetMinMax(heights.data(), static_cast<int>(heights.size()), &largest, &smallest);
    const int remembered = g_dormerDefaults.anchorHeight;
    if (remembered != -1 && remembered >= smallest && remembered <= largest)
        return remembered;
    double anchor = std::trunc(smallest + (largest - smallest) / 3.0);
    if (anchor > 100)
        anchor -= std::fmod(anchor, 100.0);
    else if (anchor > 10)
        anchor -= std::fmod(anchor, 10.0);
    return anchor;
}

void PrintCount(const char* format, int count)
{
    char text[64];
    std::snprintf(text, sizeof text, format, count);
    dec::PrintPrompt(text);
}

}  // namespace

void CMD_DORMER()
{
    dec::PrintPrompt(kTitle);
    DbDatabase* db = dec::GetWorkingDatabase();
    db->OpenForWrite();
    dec::PrintPrompt(kPickPrompt);
    decSelectSet set;
    if (db->decPickSubObjects(kFacePickMode, set, nullptr, nullptr) != dex::eOk || set.GetCount() == 0) {
        dec::PrintPrompt(kNothingPicked);
        db->Close();
        return;
    }
    SlopeFaces slopes = PickedSlopes(set);
    db->Close();
    if (slopes.removed > 0)
        PrintCount(kRemoved, slopes.removed);
    if (slopes.faces.empty()) {
        dec::PrintPrompt(kNoSlope);
        return;
    }
    PrintCount(kKept, static_cast<int>(slopes.faces.size()));

    AFX_MAINTAIN_STATE2 guard(AfxGetStaticModuleState());
    CDormerDlg dlg;
    GetMinMax(slopes.heights.data(), static_cast<int>(slopes.heights.size()), &dlg.m_dblMaxZ, &dlg.m_dblMinZ);
    dlg.m_dblOpeningAnchor = OpeningAnchor(slopes.faces.front());
    dlg.m_arrayFace = std::move(slopes.faces);
    dlg.DoModal();
}
