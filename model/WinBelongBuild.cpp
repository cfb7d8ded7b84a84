#include "WinBelongBuild.h"

#include <algorithm>
#include <cstddef>
#include <map>
#include <memory>
#include <set>
#include <utility>

#include "AssertReport.h"
#include "ModelEntityCollect.h"
#include "ModelHelperWindows.h"
#include "ModuleGlobals.h"
#include "TypedNumbers.h"
#include "Window.h"
#include "decDbEntity.h"
#include "decReturnCode.h"

namespace WinBelongBuild {

namespace {

// Colours of an auxiliary building that carries the record and of one whose record went.
constexpr unsigned kWithRecordColour = 65535;
constexpr unsigned kDetachedColour = 0xACACAC;

// The count a record stores (0 when its first item is no long) and how many items after it
// are read as identifiers: as far as the count and the items go.
struct IdItems {
    long stored = 0;
    int count = 0;
};

IdItems CountIds(const decObjectXDataApp& record)
{
    const decObjectXData* first = record.GetAt(0);
    const long stored = first && first->IsTypeLong() ? first->GetLong() : 0;
    const long present = std::max(record.GetCount() - 1, 0);
    return {stored, static_cast<int>(std::clamp<long>(stored, 0, present))};
}

// What renames make of identifiers. An identifier that two renames would give different
// names maps to an empty text and is left as it is.
using IdRenames = std::map<CString, CString>;

void AddRename(IdRenames& renames, const CString& from, const CString& to)
{
    const auto [at, added] = renames.try_emplace(from, to);
    if (!added && at->second != to)
        at->second.Empty();
}

// The identifiers the windows of the drawing bear, and their names by position.
struct BorneIds {
    std::set<CString> ids;
    std::set<std::pair<CString, int>> namesAtPositions;
};

BorneIds CollectBorneIds()
{
    BorneIds borne;
    EntityArray windows;
    GetAllWindow(windows);
    for (decDbEntity* entity : windows)
        if (const CWindow* window = CWindow::Cast(entity->GetBaseObject())) {
            borne.ids.insert(WindowId(window->BuildName(), window->Floor(), window->Index()));
            borne.namesAtPositions.emplace(window->BuildName(), window->Index());
        }
    return borne;
}

// The record with its identifiers renamed; false when none changed. The identifiers are the
// string items the reader reads (after the count, as far as it goes); a lone one is taken as
// standing for every floor first.
bool RenameInRecord(const decObjectXDataApp& record, const IdRenames& windows, const IdRenames& floorZero,
                    decObjectXDataApp& renamed)
{
    const auto [stored, count] = CountIds(record);
    const auto lookUp = [](const IdRenames& renames, const char* id) -> const CString* {
        const auto found = renames.find(CString(id));
        return found != renames.end() && !found->second.IsEmpty() ? &found->second : nullptr;
    };
    bool changed = false;
    for (int i = 0; i < record.GetCount(); ++i) {
        const decObjectXData& item = *record.GetAt(i);
        const CString* to = nullptr;
        if (i >= 1 && i <= count && item.IsTypeString()) {
            to = stored == 1 ? lookUp(floorZero, item.GetString()) : nullptr;
            to = to ? to : lookUp(windows, item.GetString());
        }
        if (to) {
            renamed.AppendDataString(*to);
            changed = true;
        } else {
            renamed.Append(item);
        }
    }
    return changed;
}

// Rewrites every record on the entity (another program may have written more than one) in
// their order.
void RenameOnEntity(decDbEntity* entity, const IdRenames& windows, const IdRenames& floorZero)
{
    if (entity->OpenForWrite() != dex::eOk)
        return;
    std::vector<std::unique_ptr<decObjectXDataApp>> records;
    bool changed = false;
    for (const auto& held : entity->XDataApps())
        if (CString(held->GetAppName()) == g_winBelongBuildAppName) {
            records.push_back(std::make_unique<decObjectXDataApp>(g_winBelongBuildAppName));
            changed = RenameInRecord(*held, windows, floorZero, *records.back()) || changed;
        }
    if (changed) {
        entity->RemoveAppXData(g_winBelongBuildAppName);
        for (auto& record : records)
            entity->AppendAppXData(record.release());
    }
    entity->Close();
}

}  // namespace

CString WindowId(const CString& name, int floor, int position)
{
    CString id;
    id.Format("%s-%d-%d", name.GetString(), floor, position);
    return id;
}

void AttachWindowIds(decDbEntity* entity, const std::vector<CString>& ids)
{
    decDbEntity3d* solid = decDbEntity3d::Cast(entity);
    if (!solid || solid->OpenForWrite() != dex::eOk)
        return;
    auto* record = new decObjectXDataApp(g_winBelongBuildAppName);
    record->AppendDataLong(static_cast<long>(ids.size()));
    for (const CString& id : ids)
        record->AppendDataString(id);
    solid->AppendAppXData(record);
    solid->SetEntityColor(Q3dColor(kWithRecordColour));
    solid->Close();
}

void DetachWindowIds(decDbEntity* entity)
{
    if (!entity || entity->OpenForWrite() != dex::eOk)
        return;
    // Another program may have written more than one record: none of them may outlive it.
    while (decObjectXDataApp* record = entity->FindAppXDataByName(g_winBelongBuildAppName))
        entity->RemoveAppXData(record);
    entity->SetEntityColor(Q3dColor(kDetachedColour));
    entity->Close();
}

int HasWindowIds(decDbEntity* entity)
{
    if (!entity || !entity->Is3DEntity() || !decDbEntity3d::Cast(entity))
        return 0;
    entity->OpenForRead();
    const bool found = entity->FindAppXDataByName(g_winBelongBuildAppName) != nullptr;
    entity->Close();
    return found ? 1 : 0;
}

unsigned GetAllBuild(EntityArray& entities)
{
    CollectEntities(entities, [](decDbEntity* entity) { return HasWindowIds(entity) != 0; });
    return static_cast<unsigned>(entities.size());
}

void RenameWindowIds(const std::vector<RenamedWindow>& renamed)
{
    const auto takesPart = [](const RenamedWindow& w) { return !w.newName.IsEmpty() && w.newName != w.oldName; };
    if (std::none_of(renamed.begin(), renamed.end(), takesPart))
        return;
    const BorneIds borne = CollectBorneIds();
    IdRenames windows, floorZero;
    for (const RenamedWindow& w : renamed) {
        if (!takesPart(w))
            continue;
        if (const CString id = WindowId(w.oldName, w.floor, w.position); !borne.ids.contains(id))
            AddRename(windows, id, WindowId(w.newName, w.floor, w.position));
        if (!borne.namesAtPositions.contains({w.oldName, w.position}))
            AddRename(floorZero, WindowId(w.oldName, 0, w.position), WindowId(w.newName, 0, w.position));
    }
    EntityArray carriers;
    WinBelongBuild::GetAllBuild(carriers);
    for (decDbEntity* entity : carriers)
        RenameOnEntity(entity, windows, floorZero);
}

}  // namespace WinBelongBuild

namespace {

// The floors a lone floor-0 identifier stands for.
constexpr int kExpandedFloors = 200;

// The string items of the record after its count, as far as the count and the items go.
// Returns the count as stored (0 when the first item is no long).
long ReadIds(const decObjectXDataApp& record, std::vector<CString>& ids)
{
    const auto [stored, count] = WinBelongBuild::CountIds(record);
    ids.reserve(ids.size() + static_cast<std::size_t>(count));
    for (int i = 1; i <= count; ++i)
        if (const decObjectXData* item = record.GetAt(i); item->IsTypeString())
            ids.emplace_back(item->GetString());
    return stored;
}

// "B1-0-5": the building name before the first "-" after the first character, the position
// from the text after "-0-" (as far as it reads as a number, held at the int's range); floors
// 1 to 200 appended. False when the identifier is no floor-0 identifier.
bool ExpandFloorZero(const CString& id, std::vector<CString>& ids)
{
    if (id.Find("-0-", 1) < 0)
        return false;
    const int dash = id.Find('-', 1);
    const CString name = id.Left(dash);
    const int position = ReadLeadingInt(id.Right(id.GetLength() - (dash + 3)));
    for (int floor = 1; floor <= kExpandedFloors; ++floor)
        ids.push_back(WinBelongBuild::WindowId(name, floor, position));
    return true;
}

}  // namespace

int GetBuildWinInfo(decDbEntity* entity, std::vector<CString>& ids)
{
    decDbEntity3d* pEnt3d = decDbEntity3d::Cast(entity);
    if (!ORV_ASSERT(pEnt3d != NULL, "WinBelongBuild"))
        return 0;
    pEnt3d->OpenForRead();
    const decObjectXDataApp* record = pEnt3d->FindAppXDataByName(g_winBelongBuildAppName);
    if (!record) {
        pEnt3d->Close();
        return 0;
    }
    const std::size_t before = ids.size();
    const long stored = ReadIds(*record, ids);
    const int read = static_cast<int>(ids.size() - before);
    pEnt3d->Close();
    // Only a record that says it holds one identifier stands for every floor; one that
    // claims more but holds one is a list cut short.
    if (stored == 1 && read == 1 && ExpandFloorZero(CString(ids[before]), ids))
        return kExpandedFloors + 1;
    return read;
}

int GetBuild(EntityArray& candidates, EntityArray& result)
{
    if (candidates.empty())
        return 0;
    EntityArray carriers;
    if (WinBelongBuild::GetAllBuild(carriers) == 0)
        return 0;
    for (decDbEntity* candidate : candidates)
        if (std::find(carriers.begin(), carriers.end(), candidate) != carriers.end())
            result.push_back(candidate);
    return result.empty() ? 0 : 1;
}
