#include "ModuleTest.h"

#include <dlfcn.h>

#include "CommandLine.h"
#include "CommandTable.h"
#include "ExtrudeBuild.h"
#include "ModuleGlobals.h"
#include "PromptOldModelReactor.h"
#include "ScriptedUser.h"
#include "decDbCurve.h"
#include "decMesh3.h"
#include "decObjectClassInfo.h"
#include "Session.h"
#include "View.h"
#include "WorkingDrawing.h"

namespace {

// The module's exported entry point, found the way the host finds it.
void EnterModule(int message)
{
    using EntryPoint = void (*)(int, int);
    auto entry = reinterpret_cast<EntryPoint>(dlvsym(RTLD_DEFAULT, "_decEntryPoint", "8"));
    ASSERT_NE(entry, nullptr);
    entry(message, 0);
}

}  // namespace

void ModuleTest::SetUp()
{
    host::NewDrawing();
    // The view outlives drawings: every test starts from the host's first top view.
    *dec::GetActiveView() = decView();
    host::EventLog::Instance().Clear();
    host::ScriptedUser::Instance().Clear();
    host::CommandTable::Instance().Clear();
    host::RegisterHostCommands();
    g_oldModelReactor.Detach();
    EnterModule(0);
}

void ModuleTest::TearDown()
{
    host::ScriptedUser::Instance().Clear();
}

DbDatabase* ModuleTest::Db() const
{
    return dec::GetWorkingDatabase();
}

decObjectId ModuleTest::AddBuilding(const CString& name, int height, const GePoint3dArray& world)
{
    auto* building = new CExtrudeBuild();
    GeMatrix3d tm;
    building->Set(name, height, world, tm);
    return AddSolid(building, tm);
}

decObjectId ModuleTest::AddSolid(decBuilder* builder, const GeMatrix3d& tm)
{
    DbAutoOpen open;
    decObjectId id;
    EXPECT_EQ(open.db->CreateNewEntity(open.db->GetTableLayer()->GetCurrentLayerID(), builder, tm, id), dex::eOk);
    return id;
}

decObjectId ModuleTest::AddEntity(decDbEntity* entity)
{
    DbAutoOpen open;
    decObjectId id;
    EXPECT_EQ(open.db->CreateNewEntity(open.db->GetTableLayer()->GetCurrentLayerID(), entity, id), dex::eOk);
    return id;
}

decObjectId ModuleTest::AddMesh(const std::vector<GePoint3dArray>& faces)
{
    auto* mesh = new decMesh3();
    std::size_t total = 0;
    for (const GePoint3dArray& face : faces)
        total += face.size();
    GePoint3d* vertices = mesh->SetCountVertex(static_cast<int>(total));
    decPolygonBuf buffer;
    int next = 0;
    for (const GePoint3dArray& face : faces) {
        std::vector<int> indices;
        for (const GePoint3d& p : face) {
            vertices[next] = p;
            indices.push_back(next++);
        }
        buffer.AppendPolygon(static_cast<int>(indices.size()), indices.data());
    }
    mesh->SetPolygonFrom(buffer);
    DbAutoOpen open;
    decObjectId id;
    EXPECT_EQ(open.db->CreateProxyEntity(open.db->GetTableLayer()->GetCurrentLayerID(), GeMatrix3d(), mesh, id),
              dex::eOk);
    return id;
}

void ModuleTest::Tag(const decObjectId& id, const char* name)
{
    decDbEntity* entity = Entity(id);
    ASSERT_NE(entity, nullptr);
    entity->OpenForWrite();
    entity->RemoveAppXData(g_buildTagAppName);
    auto* record = new decObjectXDataApp(g_buildTagAppName);
    record->AppendDataString(name);
    entity->AppendAppXData(record);
    entity->Close();
}

decObjectId ModuleTest::AddLine(const GePoint3d& from, const GePoint3d& to)
{
    const GePoint3d ends[] = {from, to};
    return AddEntity(new decDbPolyline(2, ends, 0));
}

void ModuleTest::AddXData(const decObjectId& id, const char* app, const std::vector<std::string>& items)
{
    auto* record = new decObjectXDataApp(app);
    for (const std::string& item : items) {
        if (item.starts_with("#"))
            record->AppendDataLong(std::stol(item.substr(1)));
        else
            record->AppendDataString(item.c_str());
    }
    Entity(id)->OpenForWrite();
    Entity(id)->AppendAppXData(record);
    Entity(id)->Close();
}

std::vector<std::vector<std::string>> ModuleTest::XData(const decObjectId& id, const char* app) const
{
    std::vector<std::vector<std::string>> records;
    for (const auto& record : Entity(id)->XDataApps()) {
        if (record->GetAppName() != std::string(app))
            continue;
        records.emplace_back();
        for (const decObjectXData& item : record->Items())
            records.back().push_back(item.IsTypeLong() ? "#" + std::to_string(item.GetLong()) : item.GetString());
    }
    return records;
}

decDbEntity* ModuleTest::Entity(const decObjectId& id) const
{
    return Db()->GetObjectById(id);
}

std::string ModuleTest::Handle(const decObjectId& id)
{
    return "#" + std::to_string(id.Handle());
}

void ModuleTest::Answer(const std::string& lines)
{
    host::ScriptedUser::Instance().Feed(lines, "test");
}

bool ModuleTest::Run(const std::string& lines)
{
    host::ScriptedUser::Instance().Feed(lines, "test");
    return host::CommandLine::Instance().RunAll();
}

int ModuleTest::CountOf(const std::string& text, const std::string& part)
{
    int n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++n;
    return n;
}

void ModuleTest::ExpectClassRecord(const decObjectClassInfo* info, const char* name, const char* displayName,
                                   const decObjectClassInfo* parent)
{
    ASSERT_NE(info, nullptr);
    EXPECT_STREQ(info->className, name);
    EXPECT_STREQ(info->displayName, displayName);
    EXPECT_STREQ(info->groupName, "comn");
    EXPECT_EQ(info->version, 2u);
    EXPECT_EQ(info->parent, parent);
    EXPECT_EQ(host::ClassRegistry::Instance().Find(name), info);
}

GePoint3dArray ModuleTest::Square(double x, double y, double side, double z)
{
    return {{x, y, z}, {x + side, y, z}, {x + side, y + side, z}, {x, y + side, z}};
}

void ExpectPointsNear(const GePoint3dArray& actual, const GePoint3dArray& expected, double tol)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(actual[i].x, expected[i].x, tol) << "point " << i;
        EXPECT_NEAR(actual[i].y, expected[i].y, tol) << "point " << i;
        EXPECT_NEAR(actual[i].z, expected[i].z, tol) << "point " << i;
    }
}
