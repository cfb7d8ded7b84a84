#pragma once
// What the annotation tests share: a fresh host with the module entered, buildings and
// entities made in-process, script lines run through the host's command line, and a fixed
// font source.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CString.h"
#include "DbDatabase.h"
#include "EventLog.h"
#include "Ge.h"
#include "decObjectId.h"

class AnnotationTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    DbDatabase* Db() const;
    // A CExtrudeBuild from the world outline, created on the current layer.
    decObjectId AddBuilding(const CString& name, int height, const GePoint3dArray& world);
    // A ready entity (owned by the drawing from now on) on the current layer.
    decObjectId AddEntity(decDbEntity* entity);
    // A host box placed by tm, tagged as the building of that name.
    decObjectId AddTaggedBox(const char* name, double x, double y, double z, const GeMatrix3d& tm);
    decDbEntity* Entity(const decObjectId& id) const;
    // "#N" of the id, as scripts name entities.
    static std::string Handle(const decObjectId& id);

    // Runs the lines as a script; false when a line was not understood.
    bool Run(const std::string& lines);
    // Queues the lines as answers for a call the test makes itself.
    void Answer(const std::string& lines);
    std::string Transcript() const { return host::EventLog::Instance().Transcript(); }
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
    // The name of the layer an entity is on.
    std::string LayerOf(const decDbEntity* entity) const;
    // Saves the working drawing and opens it again; false (with a test failure) when either fails.
    bool SaveAndOpen();

    // A square outline of the side at (x, y), counter-clockwise, at z.
    static GePoint3dArray Square(double x, double y, double side, double z = 0.0);
};
