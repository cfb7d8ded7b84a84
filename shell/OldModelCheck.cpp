#include "OldModelCheck.h"

#include <cstring>

#include "DbDatabase.h"
#include "decDbForeignObject.h"
#include "WorkingDrawing.h"

namespace {

bool IsLegacyClassName(const char* name)
{
    return name && (std::strcmp(name, "QCQuickWindow") == 0 || std::strcmp(name, "QCQuickBuilding") == 0);
}

// The legacy classes are recognised by their persistent class names: along the class chain of
// an object the module reads (a subclass counts too), or as the stored class of a record the
// drawing keeps unread because no class of that name is registered.
bool IsLegacyModelObject(const decDbEntity* entity)
{
    if (const auto* kept = decDbForeignObject::Cast(entity))
        return IsLegacyClassName(kept->GetForeignClassName().c_str());
    const decObject* object = entity->GetBaseObject();
    if (!object)
        return false;
    for (const decObjectClassInfo* info = object->IsA(); info; info = info->parent)
        if (IsLegacyClassName(info->className))
            return true;
    return false;
}

}  // namespace

int HasOldModel()
{
    // Legacy buildings and windows are 3-D entities; their records kept unread are not, but
    // stand for them.
    class CB : public EnumDatabaseEntityTableCallback {
    public:
        EntityArray candidates;
        void OnEntity(decDbEntity* entity) override
        {
            if (entity->Is3DEntity() || decDbForeignObject::Cast(entity))
                candidates.push_back(entity);
        }
    };
    CB callback;
    dec::GetWorkingDatabase()->EnumEntityTable(callback, 1);
    for (const decDbEntity* entity : callback.candidates)
        if (IsLegacyModelObject(entity))
            return 1;
    return 0;
}
