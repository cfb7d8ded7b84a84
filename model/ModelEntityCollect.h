#pragma once
// Gathering entities of one kind from the working drawing: all of them, or those the user
// selects.
#include <functional>

#include "CString.h"
#include "EntityArray.h"
#include "Selection.h"

class decDbEntity;

// Replaces entities by every entity of the working drawing that take accepts, in drawing
// order. 1 when any.
int CollectEntities(EntityArray& entities, const std::function<bool(decDbEntity*)>& take);
// Lets the user select through the filter (the drawing's selection cleared first) and
// appends the 3-D entities chosen; the array is not cleared. A cancelled selection prints
// "选择取消，退出命令" and gives 0; otherwise 1 when the array is not empty.
int SelectEntities3d(EntityArray& entities, const CString& prompt, decSSGet_filter& filter);
// Asks for one entity through the filter (the drawing's selection cleared first, "取消" the
// way out); null unless one was picked.
decDbEntity* PickEntity(const char* prompt, decSSGet_filter& filter);
