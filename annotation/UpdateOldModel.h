#pragma once
// Finding the objects of versions below 4.0 and turning them into current ones: updatewin
// makes a CWindow of every legacy window and updatebld a CExtrudeBuild of every legacy
// building, in place. A legacy object is erased only after its replacement was created;
// what cannot be converted stays in the drawing as it was (updatebld says how many).
//
// A window keeps its building whichever command runs first: it takes the name its building
// bears after the upgrade (the legacy building's name, or its number when it has none) —
// while the legacy building is in the drawing found by its number, once it is upgraded found
// as the building the window stands on — and updatebld renames the upgraded windows that
// bear a converted building's number.
#include "EntityArray.h"

class decObject;

// Whether an entity's base object is a legacy window, a legacy building (null gives false).
bool IsOldWindow(const decObject* base);
bool IsOldBuilding(const decObject* base);

// The entities built by legacy windows (buildings) in the entity table's order; 1 when there
// is at least one, else 0.
int GetAllOldWindow(EntityArray& entities);
int GetAllOldBuilding(EntityArray& entities);
