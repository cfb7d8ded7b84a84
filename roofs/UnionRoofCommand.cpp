// The roof-face union command: the faces of the selected roofs go through the kernel's
// roof-face union, and one mesh entity of the united faces takes the place of the roofs.
//
// Only 3-D entities give faces, and only their closed loops of at least three points: curves,
// texts and points are no roof faces and stay as they are. The union's result is read loop by
// loop by the absolute value of each count; a negative count is a hole of the outer loop
// before it (where another face passes through that face), and a face with holes goes into
// the mesh as hole-free pieces that cover it less its holes. The new entity is made before
// anything is erased, and only the entities whose loops went into the union are erased.
//
// The union reads roofs only: of the module's objects the roof entities and dormers, and of
// the host's the objects the roof commands make, known by what those commands set on them
// (see kRoofMarks), named with a building or not. Anything else a selection holds (a building,
// its windows and labels, a balcony, a solid the user drew), and a roof that windows belong
// to, is neither read nor erased, does not count towards the two roofs a union needs, and is
// counted out loud.
//
// The united mesh stands for its pieces in the model: it keeps the building they are named
// with and the analysis group they belong to (see kKeptRecords), so pieces that differ in
// either are not united.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "BuildGroup.h"
#include "CheckedNumbers.h"
#include "CommandLine.h"
#include "DbDatabase.h"
#include "Dormer.h"
#include "HostSolids.h"
#include "HoleFreePieces.h"
#include "ModelHelperBuildings.h"
#include "ModuleGlobals.h"
#include "OrvCommandHandlers.h"
#include "OrvRoof.h"
#include "RoofFaceUnion.h"
#include "RoofMeshEntities.h"
#include "Selection.h"
#include "WinBelongBuild.h"
#include "WorkingDrawing.h"

namespace {

constexpr const char* kTitle = "***屋面合成***";
constexpr const char* kSelectPrompt = "选择要进行合成的屋面实体,按右键确认：";
constexpr const char* kFailed = "提示：合成失败。";
constexpr const char* kModuleClassGroup = "comn";
constexpr const char* kTooLarge = "提示：屋面面数或顶点数太多，无法合成。";
constexpr const char* kTooFew = "提示：可合成的屋面少于两个，未合成。";
// How many picked objects were left out, and why: "提示：" + count + reason.
constexpr const char* kNotRoofs = "个对象不是屋面，未参与合成。";
constexpr const char* kNoFaces = "个屋面没有可合成的面，未参与合成。";
constexpr const char* kOwning = "个屋面带有附属窗口信息，未参与合成。";
// What the exchange arrays hold past their unused first entries.
constexpr std::size_t kMaxLoops = kernel::kUnionCountCapacity - 1;
constexpr std::size_t kMaxVertices = kernel::kUnionCoordinateCapacity - 1;

// A roof face: a closed loop of at least three points.
constexpr int kMinFacePoints = 3;

// Selected entities with their ids, in selection order.
using Participants = std::vector<std::pair<decDbEntity*, decObjectId>>;

// The faces of the selection, in selection order and each entity's own order.
struct SelectedLoops {
    std::vector<GePoint3dArray> loops;
    Participants contributors;  // the entities that gave at least one face
    long layerId = 0;           // the layer of the face-giving entity selected last
    std::size_t vertexCount = 0;
};

// The module's classes carry the group name "comn" in their class records.
bool IsModuleObject(const decObject* object)
{
    const decObjectClassInfo* info = object ? object->GetClassInfoA() : nullptr;
    return info && info->groupName && std::strcmp(info->groupName, kModuleClassGroup) == 0;
}

// The kinds of host object the roof commands make: a mesh of faces with no builder behind it,
// which no host drawing command makes, and the arched roof's extrusion.
enum class HostKind { kMesh, kExtrusion, kOther };

HostKind KindOf(const decDbEntity* entity)
{
    if (!entity->Is3DEntity())
        return HostKind::kOther;
    const decObject* base = entity->GetBaseObject();
    if (!base)
        return HostKind::kMesh;
    return base->IsKindOf(decDbExtrude::Desc()) ? HostKind::kExtrusion : HostKind::kOther;
}

// A host object's kind, layer and material as a roof command sets them; a mark without a layer
// holds on any layer. The drawing keeps all three through save and open.
struct RoofMark {
    HostKind kind;
    const char* layer;
    const char* material;
};

// The faces and slabs of the multi-slope, prismoid, gable and pyramid roofs (on 坡屋顶) and an
// earlier union (on the layer of the roof selected last) are meshes with the roof material; a
// gable roof's closing walls are meshes on their own layer with the building material; an
// arched roof is an extrusion on 坡屋顶 with the roof material. A balcony (extrusions and lofts
// with material 阳台) and a solid the user drew (which gets no material) carry none.
constexpr RoofMark kRoofMarks[] = {
    {HostKind::kMesh, nullptr, "屋面板"},
    {HostKind::kMesh, "屋顶封闭", "建筑"},
    {HostKind::kExtrusion, "坡屋顶", "屋面板"},
};

bool CarriesRoofMark(DbDatabase* db, const decDbEntity* entity)
{
    const HostKind kind = KindOf(entity);
    const dexMaterialObj* material = db->GetTableMaterial()->GetById(entity->GetMaterialId());
    if (kind == HostKind::kOther || !material)
        return false;
    const decLayer* layer = db->GetTableLayer()->GetLayer(entity->GetLayerId());
    return std::any_of(std::begin(kRoofMarks), std::end(kRoofMarks), [&](const RoofMark& mark) {
        return mark.kind == kind && std::strcmp(material->GetName(), mark.material) == 0 &&
               (!mark.layer || (layer && std::strcmp(layer->GetName(), mark.layer) == 0));
    });
}

// A roof entity, a dormer, or a host object a roof command made; a name or a group the user
// gave it later changes none of that.
bool MayTakePart(DbDatabase* db, decDbEntity* entity)
{
    const decObject* base = entity->GetBaseObject();
    if (IsModuleObject(base))
        return base->IsKindOf(COrvRoof::Desc()) || base->IsKindOf(CDormer::Desc());
    return CarriesRoofMark(db, entity);
}

// The selected roofs that may take part, and how many were kept out because windows belong
// to them.
struct Taken {
    Participants roofs;
    std::size_t owning = 0;
};

Taken Taking(DbDatabase* db, const decSelectSet& selection)
{
    Taken taken;
    for (int i = 0; i < selection.GetCount(); ++i) {
        decDbEntity* entity = selection.GetEnt(i);
        if (!entity || !MayTakePart(db, entity))
            continue;
        // A roof that windows belong to (winbld) shades them as part of their own building:
        // a union would hand that to the other roofs, and erased it would leave the windows.
        if (WinBelongBuild::HasWindowIds(entity))
            ++taken.owning;
        else
            taken.roofs.emplace_back(entity, selection.GetAt(i));
    }
    return taken;
}

SelectedLoops GatherLoops(const Participants& participants)
{
    SelectedLoops gathered;
    for (const auto& [entity, id] : participants) {
        if (!entity->Is3DEntity() || entity->OpenForWrite() != dex::eOk)
            continue;
        const std::unique_ptr<GePolygonIterator> it(entity->NewPolygonIterator());
        bool contributed = false;
        for (it->start(); !it->done(); it->next()) {
            int count = 0, closed = 0, flag2 = 0;
            const GePoint3d* pts = nullptr;
            it->getCurLoop(count, pts, closed, flag2);
            if (!closed || count < kMinFacePoints || !pts)
                continue;
            gathered.loops.emplace_back(pts, pts + count);
            gathered.vertexCount += static_cast<std::size_t>(count);
            contributed = true;
        }
        if (contributed) {
            gathered.contributors.emplace_back(entity, id);
            gathered.layerId = entity->GetLayerId();
        }
        entity->Close();
    }
    return gathered;
}

// The lower corner of the loops' extents: the union runs in float, so the coordinates go in
// relative to it and site coordinates keep their precision.
GePoint3d LocalOrigin(const std::vector<GePoint3dArray>& loops)
{
    GePoint3d low(0, 0, 0);
    bool first = true;
    for (const GePoint3dArray& loop : loops)
        for (const GePoint3d& p : loop) {
            low = first ? p : GePoint3d(std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z));
            first = false;
        }
    return low;
}

// false when a point lies too far from the origin for single precision (nothing to unite).
bool FillArrays(const std::vector<GePoint3dArray>& loops, const GePoint3d& origin, UnionFaceArrays& arrays)
{
    arrays.faceCount = 0;
    int cursor = 0;
    for (const GePoint3dArray& loop : loops) {
        ++arrays.faceCount;
        arrays.vertexCounts[arrays.faceCount] = static_cast<std::int16_t>(loop.size());
        for (const GePoint3d& p : loop) {
            ++cursor;
            const std::optional<float> x = StoredAs<float>(p.x - origin.x);
            const std::optional<float> y = StoredAs<float>(p.y - origin.y);
            const std::optional<float> z = StoredAs<float>(p.z - origin.z);
            if (!x || !y || !z)
                return false;
            arrays.x[cursor] = *x;
            arrays.y[cursor] = *y;
            arrays.z[cursor] = *z;
        }
    }
    return true;
}

// A united face: its outer loop and the holes that follow it.
struct UnitedFace {
    GePoint3dArray outer;
    std::vector<GePoint3dArray> holes;
};

std::vector<UnitedFace> ReadUnitedFaces(const UnionFaceArrays& arrays, const GePoint3d& origin)
{
    std::vector<UnitedFace> faces;
    int cursor = 0;
    for (int f = 1; f <= arrays.faceCount; ++f) {
        const int count = std::abs(static_cast<int>(arrays.vertexCounts[f]));
        GePoint3dArray loop;
        for (int k = 1; k <= count; ++k)
            loop.emplace_back(arrays.x[cursor + k] + origin.x, arrays.y[cursor + k] + origin.y,
                              arrays.z[cursor + k] + origin.z);
        cursor += count;
        if (arrays.vertexCounts[f] >= 0)
            faces.push_back({std::move(loop), {}});
        else if (!faces.empty() && loop.size() > 2)
            faces.back().holes.push_back(std::move(loop));
    }
    return faces;
}

// The united faces of more than 2 points, each reversed, as polygons of one mesh: a face with
// holes as its hole-free pieces.
void AppendUnitedFaces(const std::vector<UnitedFace>& faces, decMesh4& mesh)
{
    for (const UnitedFace& face : faces) {
        if (face.outer.size() <= 2)
            continue;
        for (GePoint3dArray piece : HoleFreePieces(face.outer, face.holes)) {
            std::reverse(piece.begin(), piece.end());
            mesh.AppendPolygon(static_cast<int>(piece.size()), piece.data(), 0);
        }
    }
}

void EraseEntities(const Participants& pieces)
{
    for (const auto& piece : pieces) {
        decObject* object = piece.second.OpenForWrite();
        if (!object)
            continue;
        object->Erase();
        object->Close();
    }
}

void ReportFailure()
{
    dec::ClearCmdLinePrompt();
    dec::PrintPrompt(kFailed);
}

// Says how many picked objects were left out for each reason, when any were.
void ReportLeftOut(std::initializer_list<std::pair<std::size_t, const char*>> counts)
{
    for (const auto& [count, reason] : counts)
        if (count > 0)
            dec::PrintPrompt(("提示：" + std::to_string(count) + reason).c_str());
}

// An extended-data record the united mesh takes over from its pieces, and how a selection whose
// pieces differ in it is refused: the text before the values met, and the word for a piece
// without the record (or with an empty value, which names nothing either).
struct KeptRecord {
    const CString& app;
    int (*read)(decDbEntity*, CString&);  // 0 without the record, else 1 and its text
    const char* differ;
    const char* without;
};

// The building a roof is named with ("XBUILD_NAME", from namebld) tells whose roof it is, and
// its analysis group ("build_group", from bldgroup) whether it shades in the analysis: a united
// roof that lost either would leave its building or its group.
const KeptRecord kKeptRecords[] = {
    {g_buildNamingAppName, BuildName, "提示：所选屋面属于不同的建筑，未合成：", "未命名"},
    {g_buildGroupAppName, BuildGroup::GetGroupName, "提示：所选屋面属于不同的建筑分组，未合成：", "未分组"},
};

CString ValueOf(const KeptRecord& record, decDbEntity* entity)
{
    CString value;
    return record.read(entity, value) ? value : CString();
}

// true when every piece holds the same value of every kept record; otherwise the values met,
// in selection order, are named on the command line.
bool PiecesAgree(const Participants& pieces)
{
    bool agree = true;
    for (const KeptRecord& record : kKeptRecords) {
        std::vector<CString> values;
        for (const auto& piece : pieces)
            if (const CString value = ValueOf(record, piece.first);
                std::find(values.begin(), values.end(), value) == values.end())
                values.push_back(value);
        if (values.size() < 2)
            continue;
        std::string text = record.differ;
        for (std::size_t i = 0; i < values.size(); ++i)
            text += (i ? " " : "") + (values[i].IsEmpty() ? std::string(record.without)
                                                          : "<" + std::string(values[i]) + ">");
        dec::PrintPrompt(text.c_str());
        agree = false;
    }
    return agree;
}

// A copy of the entity's record of the application; null when it carries none.
decObjectXDataApp* CopyOfRecord(decDbEntity* entity, const CString& app)
{
    entity->OpenForRead();
    decObjectXDataApp* copy = nullptr;
    if (const decObjectXDataApp* found = entity->FindAppXDataByName(app)) {
        copy = new decObjectXDataApp(found->GetAppName());
        for (const decObjectXData& item : found->Items())
            copy->Append(item);
    }
    entity->Close();
    return copy;
}

// Gives the united mesh each kept record as the first piece that carries it holds it.
void KeepRecords(DbDatabase* db, const decObjectId& united, const Participants& pieces)
{
    decDbEntity* mesh = db->GetObjectById(united);
    if (!mesh || mesh->OpenForWrite() != dex::eOk)
        return;
    for (const KeptRecord& record : kKeptRecords)
        for (const auto& piece : pieces)
            if (decObjectXDataApp* copy = CopyOfRecord(piece.first, record.app)) {
                mesh->AppendAppXData(copy);
                break;
            }
    mesh->Close();
}

}  // namespace

void CMD_UNION_ROOF()
{
    dec::PrintPrompt(kTitle);
    DbAutoOpen open(1);
    DbDatabase* db = open.db;
    decSelectSet selection;
    if (dec::decSSGet(kSelectPrompt, selection, nullptr, 1, nullptr) != dex::eOk)
        return;
    const Taken taken = Taking(db, selection);
    const std::size_t picked = static_cast<std::size_t>(selection.GetCount());
    // Nothing picked, or one roof alone: nothing to unite and nothing to explain.
    if (picked == 0 || (picked == 1 && taken.roofs.size() + taken.owning == 1))
        return;

    const SelectedLoops gathered = GatherLoops(taken.roofs);
    ReportLeftOut({{picked - taken.roofs.size() - taken.owning, kNotRoofs},
                   {taken.owning, kOwning},
                   {taken.roofs.size() - gathered.contributors.size(), kNoFaces}});
    if (gathered.contributors.size() < 2) {
        dec::PrintPrompt(kTooFew);
        return;
    }
    if (!PiecesAgree(gathered.contributors))
        return;
    if (gathered.loops.size() > kMaxLoops || gathered.vertexCount > kMaxVertices) {
        dec::PrintPrompt(kTooLarge);
        return;
    }
    const GePoint3d origin = LocalOrigin(gathered.loops);
    const auto arrays = std::make_unique<UnionFaceArrays>();
    if (!FillArrays(gathered.loops, origin, *arrays)) {
        ReportFailure();
        return;
    }
    UnionRoofFaces(&arrays->faceCount, arrays->vertexCounts, arrays->x, arrays->y, arrays->z);
    if (arrays->faceCount <= 0) {
        ReportFailure();
        return;
    }

    const long material = RoofMaterial(db);
    decMesh4 faces;
    AppendUnitedFaces(ReadUnitedFaces(*arrays, origin), faces);
    decMesh3* mesh = faces.ConvertToMesh3();
    decObjectId id;
    if (!mesh || db->CreateProxyEntity(gathered.layerId, GeMatrix3d(), mesh, id, material) != dex::eOk) {
        ReportFailure();
        return;
    }
    KeepRecords(db, id, gathered.contributors);
    EraseEntities(gathered.contributors);
}
