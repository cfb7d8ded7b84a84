#include "ModelHelperWindows.h"

#include <algorithm>
#include <utility>
#include <vector>

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

namespace {

// What LessWindowByNumber reads of one entity; no window has a null window.
struct WindowNumberKey {
    const CWindow* window = nullptr;
    CString name;
    int index = 0;
    int floor = 0;
};

WindowNumberKey NumberKeyOf(const decDbEntity* entity)
{
    const CWindow* window = WindowOf(entity);
    if (!window)
        return {};
    return {window, window->BuildName(), window->Index(), window->Floor()};
}

bool NumberKeyLess(const WindowNumberKey& a, const WindowNumberKey& b, int mode)
{
    if (!a.window || !b.window)
        return a.window && !b.window;
    const int byName = a.name.Compare(b.name);
    if (byName != 0)
        return byName < 0;
    if (mode == 0)
        return std::pair(a.index, a.floor) < std::pair(b.index, b.floor);
    return std::pair(a.floor, a.index) < std::pair(b.floor, b.index);
}

}  // namespace

bool LessWindowByNumber::operator()(const decDbEntity* a, const decDbEntity* b) const
{
    return NumberKeyLess(NumberKeyOf(a), NumberKeyOf(b), mode);
}

void SortWindowsByNumber(EntityArray& windows, int mode)
{
    std::vector<std::pair<WindowNumberKey, decDbEntity*>> keyed;
    keyed.reserve(windows.size());
    for (decDbEntity* entity : windows)
        keyed.emplace_back(NumberKeyOf(entity), entity);
    std::stable_sort(keyed.begin(), keyed.end(),
                     [mode](const auto& a, const auto& b) { return NumberKeyLess(a.first, b.first, mode); });
    for (std::size_t i = 0; i < keyed.size(); ++i)
        windows[i] = keyed[i].second;
}
