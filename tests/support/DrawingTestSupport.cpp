#include "DrawingTestSupport.h"

#include <unistd.h>

#include <filesystem>

#include "FontList.h"
#include "HostSolids.h"
#include "WorkingDrawing.h"

void DrawingTest::SetUp()
{
    ModuleTest::SetUp();
    // Fonts do not depend on the machine the tests run on.
    host::mfc::SetFontSource(std::vector<host::mfc::FontEntry>{
        {.fullName = "宋体", .faceName = "宋体"},
        {.fullName = "@宋体", .faceName = "@宋体"},
        {.fullName = "  黑体", .faceName = "黑体"},
        {.fullName = "Arial", .faceName = "Arial"},
        {.fullName = "Fixedsys", .faceName = "Fixedsys", .type = RASTER_FONTTYPE},
    });
}

void DrawingTest::TearDown()
{
    ModuleTest::TearDown();
    host::mfc::SetFontSource(std::nullopt);
}

decObjectId DrawingTest::AddTaggedBox(const char* name, double x, double y, double z, const GeMatrix3d& tm)
{
    const decObjectId id = AddSolid(new decDbBox(x, y, z), tm);
    Tag(id, name);
    return id;
}

std::string DrawingTest::LayerOf(const decDbEntity* entity) const
{
    const decLayer* layer = Db()->GetTableLayer()->GetLayer(entity->GetLayerId());
    return layer ? layer->GetName() : "";
}

bool DrawingTest::SaveAndOpen()
{
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        ("drawing-" + std::to_string(::getpid()) + "-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".q3d");
    std::string error;
    const bool saved = host::SaveDrawing(path.string(), error);
    EXPECT_TRUE(saved) << error;
    const bool opened = saved && host::OpenDrawing(path.string(), error);
    EXPECT_TRUE(opened) << error;
    std::filesystem::remove(path);
    return opened;
}

prop_data DrawingTest::Integer(long v)
{
    prop_data d;
    d.SetLong(v);
    return d;
}
