#pragma once
// What the tests of labels, texts, groups and imports share: the module's test host with a
// fixed font source, entities looked up by class and layer, and drawings saved and opened again.
#include <string>
#include <vector>

#include "ModuleTest.h"

class DrawingTest : public ModuleTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A host box placed by tm, tagged as the building of that name.
    decObjectId AddTaggedBox(const char* name, double x, double y, double z, const GeMatrix3d& tm);
    // The module's entities of class T in drawing order, erased ones left out.
    template <class T>
    std::vector<T*> All() const
    {
        std::vector<T*> found;
        for (decDbEntity* entity : Db()->AllObjects())
            if (!entity->IsErased())
                if (T* object = T::Cast(entity))
                    found.push_back(object);
        return found;
    }
    // The builders of class T behind the live 3-D entities, in drawing order.
    template <class T>
    std::vector<T*> Builders() const
    {
        std::vector<T*> found;
        for (decDbEntity* entity : Db()->AllObjects())
            if (!entity->IsErased() && entity->Is3DEntity())
                if (T* object = T::Cast(entity->GetBaseObject()))
                    found.push_back(object);
        return found;
    }
    // The name of the layer an entity is on.
    std::string LayerOf(const decDbEntity* entity) const;
    // Saves the working drawing and opens it again; false (with a test failure) when either fails.
    bool SaveAndOpen();

    // An integer value as the property panel passes it.
    static prop_data Integer(long v);
};
