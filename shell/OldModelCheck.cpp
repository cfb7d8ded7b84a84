#include "OldModelCheck.h"

#include <string>

#include "DbDatabase.h"
#include "QuickBuilding.h"
#include "QuickWindow.h"
#include "UpdateOldModel.h"
#include "decDbForeignObject.h"
#include "WorkingDrawing.h"

namespace {

bool IsLegacyClassName(const std::string& name)
{
    return name == CQuickWindow::Desc()->className || name == CQuickBuilding::Desc()->className;
}

// A legacy object the module reads is known by its class, as the upgrade commands know it; a
// record the drawing keeps unread (no class of that name registered) by its stored class name.
bool IsLegacyModelObject(const decDbEntity* entity)
{
    if (const auto* kept = decDbForeignObject::Cast(entity))
        return IsLegacyClassName(kept->GetForeignClassName());
    const decObject* base = entity->GetBaseObject();
    return IsOldWindow(base) || IsOldBuilding(base);
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
