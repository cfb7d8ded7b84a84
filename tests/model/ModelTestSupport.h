#pragma once
// What the model's tests share: the module's test host (tests/support) and the buildings
// made in it.
#include "ExtrudeBuild.h"
#include "ModuleTest.h"

class ModelTest : public ModuleTest {
protected:
    CExtrudeBuild* Building(const decObjectId& id) const
    {
        const decDbEntity* entity = Entity(id);
        return entity ? CExtrudeBuild::Cast(entity->GetBaseObject()) : nullptr;
    }
};
