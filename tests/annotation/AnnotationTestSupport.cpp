#include "AnnotationTestSupport.h"

#include <dlfcn.h>

#include <filesystem>

#include "CommandLine.h"
#include "CommandTable.h"
#include "ExtrudeBuild.h"
#include "FontList.h"
#include "Session.h"
#include "HostSolids.h"
#include "ModuleGlobals.h"
#include "PromptOldModelReactor.h"
#include "ScriptedUser.h"
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

void AnnotationTest::SetUp()
{
    host::NewDrawing();
    host::EventLog::Instance().Clear();
    host::ScriptedUser::Instance().Clear();
    host::CommandTable::Instance().Clear();
    host::RegisterHostCommands();
    g_oldModelReactor.Detach();
    EnterModule(0);
    // Fonts do not depend on the machine the tests run on.
    host::mfc::SetFontSource(std::vector<host::mfc::FontEntry>{
        {.fullName = "宋体", .faceName = "宋体"},
        {.fullName = "@宋体", .faceName = "@宋体"},
        {.fullName = "  黑体", .faceName = "黑体"},
        {.fullName = "Arial", .faceName = "Arial"},
        {.fullName = "Fixedsys", .faceName = "Fixedsys", .type = RASTER_FONTTYPE},
    });
}

void AnnotationTest::TearDown()
{
    host::ScriptedUser::Instance().Clear();
    host::mfc::SetFontSource(std::nullopt);
}

DbDatabase* AnnotationTest::Db() const
{
    return dec::GetWorkingDatabase();
}

decObjectId AnnotationTest::AddBuilding(const CString& name, int height, const GePoint3dArray& world)
{
    auto* building = new CExtrudeBuild();
    GeMatrix3d tm;
    building->Set(name, height, world, tm);
    DbAutoOpen open;
    decObjectId id;
    EXPECT_EQ(open.db->CreateNewEntity(open.db->GetTableLayer()->GetCurrentLayerID(), building, tm, id), dex::eOk);
    return id;
}

decObjectId AnnotationTest::AddEntity(decDbEntity* entity)
{
    DbAutoOpen open;
    decObjectId id;
    EXPECT_EQ(open.db->CreateNewEntity(open.db->GetTableLayer()->GetCurrentLayerID(), entity, id), dex::eOk);
    return id;
}

decObjectId AnnotationTest::AddTaggedBox(const char* name, double x, double y, double z, const GeMatrix3d& tm)
{
    decObjectId id;
    {
        DbAutoOpen open;
        EXPECT_EQ(open.db->CreateNewEntity(open.db->GetTableLayer()->GetCurrentLayerID(), new decDbBox(x, y, z), tm, id),
                  dex::eOk);
    }
    decDbEntity* entity = Entity(id);
    entity->OpenForWrite();
    auto* record = new decObjectXDataApp(g_buildTagAppName);
    record->AppendDataString(name);
    entity->AppendAppXData(record);
    entity->Close();
    return id;
}

decDbEntity* AnnotationTest::Entity(const decObjectId& id) const
{
    return Db()->GetObjectById(id);
}

std::string AnnotationTest::Handle(const decObjectId& id)
{
    return "#" + std::to_string(id.Handle());
}

bool AnnotationTest::Run(const std::string& lines)
{
    host::ScriptedUser::Instance().Feed(lines, "test");
    return host::CommandLine::Instance().RunAll();
}

void AnnotationTest::Answer(const std::string& lines)
{
    host::ScriptedUser::Instance().Feed(lines, "test");
}

std::string AnnotationTest::LayerOf(const decDbEntity* entity) const
{
    const decLayer* layer = Db()->GetTableLayer()->GetLayer(entity->GetLayerId());
    return layer ? layer->GetName() : "";
}

bool AnnotationTest::SaveAndOpen()
{
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        ("annotation-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".q3d");
    std::string error;
    const bool saved = host::SaveDrawing(path.string(), error);
    EXPECT_TRUE(saved) << error;
    const bool opened = saved && host::OpenDrawing(path.string(), error);
    EXPECT_TRUE(opened) << error;
    std::filesystem::remove(path);
    return opened;
}

GePoint3dArray AnnotationTest::Square(double x, double y, double side, double z)
{
    return {{x, y, z}, {x + side, y, z}, {x + side, y + side, z}, {x, y + side, z}};
}
