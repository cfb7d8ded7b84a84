#pragma once
// What the module's test folders share: each test starts on an empty drawing in the host's
// first top view with an empty transcript, the host's commands registered and the module
// entered through its exported entry point; entities are made in-process and script lines run through the host's
// command line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CString.h"
#include "DbDatabase.h"
#include "EventLog.h"
#include "Ge.h"
#include "decObjectId.h"

class ModuleTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    DbDatabase* Db() const;
    // A CExtrudeBuild set from the world outline and created on the current layer.
    decObjectId AddBuilding(const CString& name, int height, const GePoint3dArray& world);
    // A 3-D entity of a host builder placed by tm, or a ready 2-D entity, on the current layer
    // (owned by the drawing from now on).
    decObjectId AddSolid(decBuilder* builder, const GeMatrix3d& tm = GeMatrix3d());
    decObjectId AddEntity(decDbEntity* entity);
    // A 3-D object that is only a mesh whose faces are the rings, in this order.
    decObjectId AddMesh(const std::vector<GePoint3dArray>& faces);
    // A two-point polyline on the current layer.
    decObjectId AddLine(const GePoint3d& from, const GePoint3d& to);
    // Gives the object the building tag (replacing a tag it has).
    void Tag(const decObjectId& id, const char* name);
    // Appends a record of the application to the object: "#n" items as longs, others as strings.
    void AddXData(const decObjectId& id, const char* app, const std::vector<std::string>& items);
    // The items of each of the object's records of the application, in the same notation.
    std::vector<std::vector<std::string>> XData(const decObjectId& id, const char* app) const;
    decDbEntity* Entity(const decObjectId& id) const;
    // "#N" of the id or the entity, as scripts name entities.
    static std::string Handle(const decObjectId& id);
    static std::string Handle(const decDbEntity* entity) { return Handle(entity->GetObjectId()); }

    // Queues the lines as the user's answers to the questions that follow.
    void Answer(const std::string& lines);
    // Runs the lines as a script; false when a line was not understood.
    bool Run(const std::string& lines);
    // Runs the lines as a script; the test fails when a line was not understood.
    void Script(const std::string& lines) { ASSERT_TRUE(Run(lines)) << Transcript(); }
    std::string Transcript() const { return host::EventLog::Instance().Transcript(); }

    // How often the part stands in the text (occurrences do not overlap).
    static int CountOf(const std::string& text, const std::string& part);
    // The class record drawings rely on: name, display name, group "comn", version 2, the
    // parent class, registered when the module was loaded.
    static void ExpectClassRecord(const decObjectClassInfo* info, const char* name, const char* displayName,
                                  const decObjectClassInfo* parent);
    // A square outline of the side at (x, y), counter-clockwise, at z.
    static GePoint3dArray Square(double x, double y, double side, double z = 0.0);
};

// Each coordinate of each point within tol; the sizes must match.
void ExpectPointsNear(const GePoint3dArray& actual, const GePoint3dArray& expected, double tol = 1e-9);
