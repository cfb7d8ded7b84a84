#include "WinBelongBuild.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string_view>

#include "AssertReport.h"
#include "ModuleGlobals.h"
#include "OwnershipIndex.h"
#include "TypedNumbers.h"
#include "decDbEntity.h"
#include "decReturnCode.h"

namespace WinBelongBuild {

namespace {

// Colours of an auxiliary building that carries the record and of one whose record went.
constexpr unsigned kWithRecordColour = 65535;
constexpr unsigned kDetachedColour = 0xACACAC;

}  // namespace

IdItems CountIds(const decObjectXDataApp& record)
{
    const decObjectXData* first = record.GetAt(0);
    const long stored = first && first->IsTypeLong() ? first->GetLong() : 0;
    const long present = std::max(record.GetCount() - 1, 0);
    return {stored, static_cast<int>(std::clamp<long>(stored, 0, present))};
}

std::vector<CString> ReadIds(const decObjectXDataApp& record)
{
    const int count = CountIds(record).count;
    std::vector<CString> ids;
    ids.reserve(static_cast<std::size_t>(count));
    for (int i = 1; i <= count; ++i)
        if (const decObjectXData* item = record.GetAt(i); item->IsTypeString())
            ids.emplace_back(item->GetString());
    return ids;
}

std::optional<Column> ReadColumn(const CString& id)
{
    if (id.Find("-0-", 1) < 0)
        return std::nullopt;
    const int dash = id.Find('-', 1);
    return Column{id.Left(dash), ReadLeadingInt(id.Right(id.GetLength() - (dash + 3)))};
}

bool IsOwnershipRecord(const decObjectXDataApp& record)
{
    return std::string_view(record.GetAppName()) == g_winBelongBuildAppName.str();
}

bool StandsForColumn(const decObjectXDataApp& record)
{
    const auto [stored, count] = CountIds(record);
    if (stored != 1 || count != 1)
        return false;
    const decObjectXData* id = record.GetAt(1);
    return id->IsTypeString() && ReadColumn(CString(id->GetString()));
}

CString WindowId(const CString& name, int floor, int position)
{
    CString id;
    id.Format("%s-%d-%d", name.GetString(), floor, position);
    return id;
}

decObjectXDataApp OwnershipRecord(const std::vector<CString>& ids)
{
    decObjectXDataApp record(g_winBelongBuildAppName);
    record.AppendDataLong(static_cast<long>(ids.size()));
    for (const CString& id : ids)
        record.AppendDataString(id);
    return record;
}

void AttachWindowIds(decDbEntity* entity, const std::vector<CString>& ids)
{
    decDbEntity3d* solid = decDbEntity3d::Cast(entity);
    if (!solid || solid->OpenForWrite() != dex::eOk)
        return;
    solid->AppendAppXData(new decObjectXDataApp(OwnershipRecord(ids)));
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
    entities = g_ownershipIndex.Carriers();
    return static_cast<unsigned>(entities.size());
}

}  // namespace WinBelongBuild

namespace {

// Appends the identifiers of the column's position on floors 1 to 200.
void ExpandColumn(const WinBelongBuild::Column& column, std::vector<CString>& ids)
{
    for (int floor = 1; floor <= WinBelongBuild::kColumnFloors; ++floor)
        ids.push_back(WinBelongBuild::WindowId(column.name, floor, column.position));
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
    // Only a record that says it holds one identifier stands for every floor; one that
    // claims more but holds one is a list cut short.
    const bool column = WinBelongBuild::StandsForColumn(*record);
    const std::vector<CString> read = WinBelongBuild::ReadIds(*record);
    ids.insert(ids.end(), read.begin(), read.end());
    pEnt3d->Close();
    if (!column)
        return static_cast<int>(read.size());
    ExpandColumn(*WinBelongBuild::ReadColumn(CString(ids[before])), ids);
    return WinBelongBuild::kColumnFloors + 1;
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
