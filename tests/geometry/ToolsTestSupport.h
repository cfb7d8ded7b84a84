#pragma once
// Shared scaffolding of the toolkit tests: ring helpers, a fresh drawing with an empty
// transcript, and entities stored in that drawing. Tests of other folders that build mesh
// entities may include this header too.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string>
#include <vector>

#include "DbDatabase.h"
#include "EventLog.h"
#include "Ge.h"
#include "ScriptedUser.h"
#include "WorkingDrawing.h"
#include "decBuilder.h"
#include "decMesh3.h"

namespace tools_test {

using Ring = GePoint3dArray;
using Faces = std::vector<Ring>;

// Point by point within tol on each axis; sizes must agree.
inline void ExpectRing(const Ring& actual, const Ring& expected, double tol = 1e-9)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(actual[i].x, expected[i].x, tol) << "point " << i;
        EXPECT_NEAR(actual[i].y, expected[i].y, tol) << "point " << i;
        EXPECT_NEAR(actual[i].z, expected[i].z, tol) << "point " << i;
    }
}

inline void ExpectPoint(const GePoint3d& actual, const GePoint3d& expected, double tol = 1e-9)
{
    ExpectRing({actual}, {expected}, tol);
}

inline Ring Reversed(Ring ring)
{
    std::reverse(ring.begin(), ring.end());
    return ring;
}

inline Ring Moved(Ring ring, double dx, double dy, double dz = 0.0)
{
    for (GePoint3d& p : ring)
        p += GeVector3d(dx, dy, dz);
    return ring;
}

inline Ring Lifted(Ring ring, double dz) { return Moved(std::move(ring), 0.0, 0.0, dz); }

// The shoelace area in plan, counter-clockwise positive.
inline double SignedPlanArea(const Ring& ring)
{
    double sum = 0.0;
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const GePoint3d& a = ring[i];
        const GePoint3d& b = ring[(i + 1) % ring.size()];
        sum += a.x * b.y - b.x * a.y;
    }
    return sum / 2.0;
}

inline DbDatabase* Db() { return dec::GetWorkingDatabase(); }
inline long CurrentLayer() { return Db()->GetTableLayer()->GetCurrentLayerID(); }

// Entities are stored in the working drawing, which owns them.
inline decDbEntity* AddEntity(decDbEntity* entity)
{
    DbAutoOpen open;
    decObjectId id;
    EXPECT_EQ(open.db->CreateNewEntity(CurrentLayer(), entity, id), dex::eOk);
    return Db()->GetObjectById(id);
}

inline decDbEntity* AddSolid(decBuilder* builder, const GeMatrix3d& tm)
{
    DbAutoOpen open;
    decObjectId id;
    EXPECT_EQ(open.db->CreateNewEntity(CurrentLayer(), builder, tm, id), dex::eOk);
    return Db()->GetObjectById(id);
}

// A mesh entity whose faces are the given rings, in this order.
inline decDbEntity* AddMesh(const Faces& faces)
{
    auto* mesh = new decMesh3();
    std::size_t total = 0;
    for (const Ring& f : faces)
        total += f.size();
    GePoint3d* vertices = mesh->SetCountVertex(static_cast<int>(total));
    decPolygonBuf buffer;
    int next = 0;
    for (const Ring& f : faces) {
        std::vector<int> indices;
        for (const GePoint3d& p : f) {
            vertices[next] = p;
            indices.push_back(next++);
        }
        buffer.AppendPolygon(static_cast<int>(indices.size()), indices.data());
    }
    mesh->SetPolygonFrom(buffer);
    DbAutoOpen open;
    decObjectId id;
    EXPECT_EQ(open.db->CreateProxyEntity(CurrentLayer(), GeMatrix3d(), mesh, id), dex::eOk);
    return Db()->GetObjectById(id);
}

// A fresh drawing, an empty transcript and no queued answers.
class DrawingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        host::NewDrawing();
        host::EventLog::Instance().Clear();
        host::ScriptedUser::Instance().Clear();
    }
    void TearDown() override { host::ScriptedUser::Instance().Clear(); }
    static void Answer(const std::string& lines) { host::ScriptedUser::Instance().Feed(lines, "test"); }
};

}  // namespace tools_test
