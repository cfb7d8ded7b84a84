#pragma once
// The window side of the model-helper API: recognising windows, reading the building a
// window belongs to, collecting and selecting windows, and ordering them by their numbers.
// A window is an entity whose base object is a CWindow. The plain functions are exported
// with C linkage for the host's analysis side.
#include "CString.h"
#include "EntityArray.h"
#include "ModelHelperBuildings.h"

class decDbEntity;

// 1 when the entity's base object is a CWindow.
MODEL_HELPER_EXPORT int IsWindow(decDbEntity* entity);
// The owning building of a window into name; 1 when it is not empty. For an entity that is
// no window the name keeps what the caller passed (and the result is 0).
MODEL_HELPER_EXPORT int WindowBelongBuildName(decDbEntity* entity, CString& name);
// Replaces entities by every window of the working drawing, in drawing order. 1 when any.
MODEL_HELPER_EXPORT int GetAllWindow(EntityArray& entities);
// Lets the user select windows and appends them (the array is not cleared first). A
// cancelled selection prints "选择取消，退出命令" and gives 0; otherwise 1 when the array is
// not empty.
MODEL_HELPER_EXPORT int SelectWindow(EntityArray& entities, CString prompt);

namespace ModelHelper {

// One walk over the drawing: every building into buildings; into others the unnamed
// buildings, the windows that belong to no building and every other 3-D entity. Both arrays
// are replaced. 1 when any building was found.
int GetAllBuild(EntityArray& buildings, EntityArray& others);

}  // namespace ModelHelper

// Orders window entities by building name (byte-wise, case-sensitive), then for mode 0 by
// position number and floor, for any other mode by floor and position number; all
// ascending, signed. Entities that are no windows come after every window, equivalent to
// each other, so a mixed list still sorts.
struct LessWindowByNumber {
    int mode = 0;
    bool operator()(const decDbEntity* a, const decDbEntity* b) const;
};

// A stable sort of windows by LessWindowByNumber with mode, each entity's keys read once
// rather than at every comparison (a drawing's windows number in the hundred thousands).
void SortWindowsByNumber(EntityArray& windows, int mode);
