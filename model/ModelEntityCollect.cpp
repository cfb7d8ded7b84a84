#include "ModelEntityCollect.h"

#include <utility>

#include "CommandLine.h"
#include "DbDatabase.h"
#include "WorkingDrawing.h"

int CollectEntities(EntityArray& entities, const std::function<bool(decDbEntity*)>& take)
{
    class Collector : public EnumDatabaseEntityTableCallback {
    public:
        explicit Collector(const std::function<bool(decDbEntity*)>& take) : m_take(take) {}
        void OnEntity(decDbEntity* entity) override
        {
            if (m_take(entity))
                found.push_back(entity);
        }
        EntityArray found;

    private:
        const std::function<bool(decDbEntity*)>& m_take;
    };
    Collector collector(take);
    dec::GetWorkingDatabase()->EnumEntityTable(collector, 1);
    entities = std::move(collector.found);
    return entities.empty() ? 0 : 1;
}

int SelectEntities3d(EntityArray& entities, const CString& prompt, decSSGet_filter& filter)
{
    dec::GetWorkingDatabase()->ClearSelectSet(1);
    decSelectSet selection;
    if (dec::decSSGet(prompt, selection, &filter, 1, nullptr) != dex::eOk) {
        dec::PrintPrompt("选择取消，退出命令");
        return 0;
    }
    for (const decObjectId& id : selection.Ids())
        if (decDbEntity3d* entity = decDbEntity3d::Cast(id.GetObjectA()))
            entities.push_back(entity);
    return entities.empty() ? 0 : 1;
}

decDbEntity* PickEntity(const char* prompt, decSSGet_filter& filter)
{
    DbDatabase* db = dec::GetWorkingDatabase();
    db->ClearSelectSet(1);
    decObjectId id;
    GePoint3d pickPoint;
    if (db->decPickSingleEntity(id, pickPoint, prompt, nullptr, &filter, "取消") != dex::eOk)
        return nullptr;
    return db->GetObjectById(id);
}
