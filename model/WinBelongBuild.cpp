#include "WinBelongBuild.h"

#include <algorithm>
#include <cstddef>

#include "AssertReport.h"
#include "ModelEntityCollect.h"
#include "ModuleGlobals.h"
#include "TypedNumbers.h"
#include "decDbEntity.h"
#include "decReturnCode.h"

namespace WinBelongBuild {

namespace {

// Colours of an auxiliary building that carries the record and of one whose record went.
constexpr unsigned kWithRecordColour = 65535;
constexpr unsigned kDetachedColour = 0xACACAC;

}  // namespace

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

}  // namespace WinBelongBuild

namespace {

// The floors a lone floor-0 identifier stands for.
constexpr int kExpandedFloors = 200;

// The string items of the record after its count, as far as the count and the items go.
// Returns the count as stored (0 when the first item is no long).
long ReadIds(const decObjectXDataApp& record, std::vector<CString>& ids)
{
    const decObjectXData* first = record.GetAt(0);
    const long stored = first && first->IsTypeLong() ? first->GetLong() : 0;
    const long present = std::max(record.GetCount() - 1, 0);
    const int count = static_cast<int>(std::clamp<long>(stored, 0, present));
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
    for (int floor = 1; floor <= kExpandedFloors; ++floor) {
        CString expanded;
        expanded.Format("%s-%d-%d", name.GetString(), floor, position);
        ids.push_back(expanded);
    }
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
