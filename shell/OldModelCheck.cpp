#include "OldModelCheck.h"

#include <cstring>

#include "DbDatabase.h"
#include "WorkingDrawing.h"

namespace {

// The legacy classes are recognised by their persistent class names, along the class
// chain, so a subclass counts too.
bool IsLegacyModelObject(const decObject* object)
{
    if (!object)
        return false;
    for (const decObjectClassInfo* info = object->IsA(); info; info = info->parent)
        if (info->className && (std::strcmp(info->className, "QCQuickWindow") == 0 ||
                                std::strcmp(info->className, "QCQuickBuilding") == 0))
            return true;
    return false;
}

}  // namespace

int HasOldModel()
{
    class CB : public EnumDatabaseEntityTableCallback {
    public:
        EntityArray solids;
        void OnEntity(decDbEntity* entity) override
        {
            if (entity->Is3DEntity())
                solids.push_back(entity);
        }
    };
    CB callback;
    dec::GetWorkingDatabase()->EnumEntityTable(callback, 1);
    for (const decDbEntity* entity : callback.solids)
        if (IsLegacyModelObject(entity->GetBaseObject()))
            return 1;
    return 0;
}
