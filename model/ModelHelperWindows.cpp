#include "ModelHelperWindows.h"

#include <utility>

#include "CommandLine.h"
#include "DbDatabase.h"
#include "ExtendBuild.h"
#include "ModelEntityCollect.h"
#include "Selection.h"
#include "Window.h"
#include "WorkingDrawing.h"

namespace {

const CWindow* WindowOf(const decDbEntity* entity)
{
    return entity ? CWindow::Cast(entity->GetBaseObject()) : nullptr;
}

// The owning building's name of a window, read with the window open for read.
CString OwnerOf(const CWindow* window)
{
    auto* object = const_cast<CWindow*>(window);
    object->OpenForRead();
    CString name = object->BuildName();
    object->Close();
    return name;
}

class CWindowFilter : public decSSGet_filter {
public:
    int Accept(decDbEntity* entity, int& accept) override
    {
        accept = IsWindow(entity);
        return 1;
    }
};

}  // namespace

int IsWindow(decDbEntity* entity)
{
    return WindowOf(entity) ? 1 : 0;
}

int WindowBelongBuildName(decDbEntity* entity, CString& name)
{
    const CWindow* window = WindowOf(entity);
    if (!window)
        return 0;
    name = window->BuildName();
    return name.IsEmpty() ? 0 : 1;
}

int GetAllWindow(EntityArray& entities)
{
    return CollectEntities(entities, [](decDbEntity* entity) { return IsWindow(entity) != 0; });
}

int SelectWindow(EntityArray& entities, CString prompt)
{
    CWindowFilter filter;
    return SelectEntities3d(entities, prompt, filter);
}

namespace ModelHelper {

int GetAllBuild(EntityArray& buildings, EntityArray& others)
{
    class CB : public EnumDatabaseEntityTableCallback {
    public:
        EntityArray buildings;
        EntityArray others;
        void OnEntity(decDbEntity* entity) override
        {
            if (ExtendBuild::HasBuildTag(entity) || IsExtrudeBuild(entity)) {
                buildings.push_back(entity);
                CString name;
                BuildName(entity, name);
                if (name.IsEmpty())
                    others.push_back(entity);
                return;
            }
            if (const CWindow* window = WindowOf(entity)) {
                // A window of a building is counted with that building; one without a
                // building stands on its own.
                if (OwnerOf(window).IsEmpty())
                    others.push_back(entity);
                return;
            }
            if (entity->Is3DEntity())
                others.push_back(entity);
        }
    };
    CB callback;
    dec::GetWorkingDatabase()->EnumEntityTable(callback, 1);
    buildings.swap(callback.buildings);
    others.swap(callback.others);
    return buildings.empty() ? 0 : 1;
}

}  // namespace ModelHelper

bool LessWindowByNumber::operator()(const decDbEntity* a, const decDbEntity* b) const
{
    const CWindow* wa = WindowOf(a);
    const CWindow* wb = WindowOf(b);
    if (!wa || !wb)
        return wa && !wb;
    const int byName = wa->BuildName().Compare(wb->BuildName());
    if (byName != 0)
        return byName < 0;
    if (mode == 0)
        return std::pair(wa->Index(), wa->Floor()) < std::pair(wb->Index(), wb->Floor());
    return std::pair(wa->Floor(), wa->Index()) < std::pair(wb->Floor(), wb->Index());
}
