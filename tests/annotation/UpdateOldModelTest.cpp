// Upgrading drawings of versions below 4.0 (updatewin, updatebld) and bringing annotations to
// the drawing scale (orvmodelscale), script-driven on drawings made by the legacy fixture; the
// committed example drawing is the fixture's.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "DimBuildElevation.h"
#include "DrawingFile.h"
#include "ExtrudeBuild.h"
#include "HostSolids.h"
#include "LegacyModelFixture.h"
#include "OldModelCheck.h"
#include "OrvScaleText.h"
#include "QuickBuilding.h"
#include "QuickWindow.h"
#include "Quenra3dRunner.h"
#include "UpdateModelScale.h"
#include "WinBelongBuild.h"
#include "Window.h"
#include "WorkingDrawing.h"
#include "DrawingTestSupport.h"

using ::testing::HasSubstr;

namespace {

const std::filesystem::path kExample = std::filesystem::path(LUMIDRAX_SOURCE_DIR) / "examples" / "old-model.q3d";

class UpdateOldModelTest : public DrawingTest {
protected:
    // Every "create" of the event log comes before the "erase" of the object it replaces: the
    // erases follow in the same order as the creations.
    static void ExpectEachCreationBeforeItsErase(int conversions)
    {
        int created = 0;
        int erased = 0;
        for (const std::string& call : host::EventLog::Instance().Calls()) {
            if (call.rfind("create ", 0) == 0) ++created;
            if (call.rfind("erase ", 0) == 0) {
                EXPECT_GT(created, erased++) << call;
            }
        }
        EXPECT_EQ(erased, conversions);
    }
    bool Erased(const decObjectId& id) const { return Entity(id)->IsErased() != 0; }
    // A window on the south wall at x, facing east.
    static GeMatrix3d South(double x) { return LegacyModel::SillFrame({x, 0, 900}, {1, 0, 0}); }
    // A window upgraded before: of the building, on floor 2 at the position.
    CWindow* Upgraded(const char* building, int position, double x)
    {
        auto* window = new CWindow();
        window->SetSize(1500, 1800);
        window->SetBuild(building);
        window->SetFloor(2);
        window->SetIndex(position);
        AddSolid(window, South(x));
        return window;
    }
};

TEST_F(UpdateOldModelTest, LegacyWindowsBecomeWindowsInPlace)
{
    Script("setvar ORV_WIN_H_DIM 3\nsetvar ORV_WIN_V_DIM 1.5\nsetvar DRAWING_SCALE 1000\n");
    const GeMatrix3d frame = LegacyModel::SillFrame({1000, 2000, 900}, {0, -1, 0});
    const decObjectId plain = LegacyModel::AddWindow("C3-2-5", 1500, 1800, 0, frame);
    const decObjectId withHousehold = LegacyModel::AddWindow("C3-2-6", 1200, 1500, 12, GeMatrix3d());
    const decObjectId building = LegacyModel::AddBuilding(3, Square(0, 0, 5000), 1, 0, {3000}, "");
    host::EventLog::Instance().Clear();
    Script("updatewin\n");

    const std::vector<CWindow*> windows = Builders<CWindow>();
    ASSERT_EQ(windows.size(), 2u);
    const CWindow& w = *windows[0];
    EXPECT_EQ(w.BuildName(), "3");
    EXPECT_EQ(w.Door(), "5");
    EXPECT_EQ(std::vector<int>({w.Floor(), w.Index(), w.Width(), w.Height()}), std::vector<int>({2, 5, 1500, 1800}));
    // Labelled with the drawing's settings, in the same place and orientation.
    EXPECT_EQ(std::vector<double>({w.HorDimHeight(), w.VerDimHeight(), w.Scale()}), std::vector<double>({3, 1.5, 1000}));
    EXPECT_TRUE(w.GetEntity()->GetTM().IsEqual(frame, 1e-12));
    EXPECT_EQ(LayerOf(w.GetEntity()), "窗");
    EXPECT_EQ(windows[1]->Door(), "12");
    EXPECT_TRUE(Erased(plain) && Erased(withHousehold));
    EXPECT_FALSE(Erased(building));
    ExpectEachCreationBeforeItsErase(2);
    EXPECT_EQ(Db()->GetOpenDepth(), 0);

    // Only the legacy building is left: a second run says so and changes nothing.
    Script("updatewin\n");
    EXPECT_THAT(Transcript(), HasSubstr("[无旧版窗口可转换] 提示：图形上没有4.0以下旧版本生成的日照窗口！"));
    EXPECT_EQ(Builders<CWindow>().size(), 2u);
    EXPECT_EQ(HasOldModel(), 1);
}

TEST_F(UpdateOldModelTest, LegacyBuildingsBecomeBuildingsAndWhatCannotStays)
{
    const GePoint3dArray tall = Square(10000, 0, 8000, 450);
    const decObjectId a = LegacyModel::AddBuilding(7, tall, 1, 0, {9876.5f}, "七号楼");
    const decObjectId b = LegacyModel::AddBuilding(8, Square(30000, 0, 8000), 2, 0, {1500, 1500}, "无");
    const decObjectId twoPoints = LegacyModel::AddBuilding(9, {{0, 0, 0}, {5000, 0, 0}}, 1, 0, {3000}, "");
    const decObjectId noStoreys = LegacyModel::AddBuilding(10, Square(50000, 0, 8000), 0, 0, {}, "");
    const decObjectId flat = LegacyModel::AddBuilding(11, Square(70000, 0, 8000), 1, 0, {0.1f}, "");
    host::EventLog::Instance().Clear();
    Script("updatebld\n");

    const std::vector<CExtrudeBuild*> buildings = Builders<CExtrudeBuild>();
    ASSERT_EQ(buildings.size(), 2u);
    EXPECT_EQ(std::pair(buildings[0]->Name(), buildings[0]->Height()), std::pair(CString("七号楼"), 9877));
    EXPECT_EQ(std::pair(buildings[1]->Name(), buildings[1]->Height()), std::pair(CString("8"), 3000));
    // The same base in world coordinates.
    GePoint3dArray base;
    for (const GePoint3d& p : buildings[0]->BasePoints()) base.push_back(buildings[0]->GetEntity()->GetTM() * p);
    ExpectPointsNear(base, tall, 1e-6);
    EXPECT_EQ(LayerOf(buildings[0]->GetEntity()), "建筑");
    EXPECT_NE(buildings[0]->GetEntity()->GetMaterialId(), 0);
    EXPECT_TRUE(Erased(a) && Erased(b));
    for (const decObjectId& kept : {twoPoints, noStoreys, flat})
        EXPECT_FALSE(Erased(kept)) << kept.Handle();
    ExpectEachCreationBeforeItsErase(2);
    EXPECT_THAT(Transcript(), HasSubstr("[旧版建筑转换] 提示：旧版本建筑转换后不保留层表和材质等信息，转换不可逆！"));
    EXPECT_THAT(Transcript(), HasSubstr("提示：有3个旧版建筑无法转换，已保留。"));
}

// The windows of a legacy building belong, once upgraded, to the building it becomes, named
// as it is named, whichever command runs first (and across a save and reopen): by its number
// while the legacy building stands, by the outline they stand on once it is upgraded.
TEST_F(UpdateOldModelTest, WindowsKeepTheirBuildingWhicheverIsUpgradedFirst)
{
    const struct {
        const char* what;
        std::string first, second;
        bool reopen;
    } orders[] = {
        {"windows first", "updatewin\n", "updatebld\n", false},
        {"buildings first", "updatebld\n", "updatewin\n", false},
        {"buildings first, saved and opened", "updatebld\n", "updatewin\n", true},
    };
    for (const auto& order : orders) {
        SetUp();
        SCOPED_TRACE(order.what);
        // 7 has a name; 8 none; 9 is named "7", as 7 is numbered; 10 has no storeys and
        // cannot be converted.
        LegacyModel::AddBuilding(7, Square(0, 0, 10000), 1, 0, {3000}, "商业楼");
        LegacyModel::AddBuilding(8, Square(20000, 0, 10000), 1, 0, {3000}, "");
        LegacyModel::AddBuilding(9, Square(40000, 0, 10000), 1, 0, {3000}, "7");
        LegacyModel::AddBuilding(10, Square(60000, 0, 10000), 0, 0, {}, "十号");
        for (const auto& [number, x] : {std::pair("C7-1-1", 5000.0), std::pair("C8-1-1", 25000.0),
                                         std::pair("C9-1-1", 45000.0), std::pair("C10-1-1", 65000.0),
                                         std::pair("C12-1-1", 85000.0)})
            LegacyModel::AddWindow(number, 1500, 1800, 0, South(x));
        // Windows upgraded before, named by the number: on 7 (position 3) and on the building
        // named "7" (position 4); records naming them, one per window and one for every floor.
        Upgraded("7", 3, 2000);
        Upgraded("7", 4, 42000);
        const decObjectId bay = AddSolid(new decDbBox(1000, 1000, 3000));
        AddXData(bay, "WIN_BELONG_BLD", {"#2", "7-2-3", "7-2-4"});
        const decObjectId floorsOf3 = AddSolid(new decDbBox(1000, 1000, 3000));
        AddXData(floorsOf3, "WIN_BELONG_BLD", {"#1", "7-0-3"});
        const decObjectId floorsOf4 = AddSolid(new decDbBox(1000, 1000, 3000));
        AddXData(floorsOf4, "WIN_BELONG_BLD", {"#1", "7-0-4"});

        Script(order.first);
        if (order.reopen) {
            ASSERT_TRUE(SaveAndOpen());
        }
        Script(order.second);
        std::vector<std::string> owners;
        for (const CWindow* window : Builders<CWindow>())
            owners.push_back(window->BuildName().str());
        EXPECT_THAT(owners, ::testing::UnorderedElementsAre("商业楼", "商业楼", "8", "7", "7", "十号", "12"));
        // Every window's building is in the drawing, but the one numbered 12, which never was.
        std::vector<std::string> names;
        for (const CExtrudeBuild* building : Builders<CExtrudeBuild>())
            names.push_back(building->Name().str());
        EXPECT_THAT(names, ::testing::UnorderedElementsAre("商业楼", "8", "7"));
        EXPECT_EQ(CountOf(Transcript(), "提示：有1个旧版建筑无法转换，已保留。"), 1);
        // The records follow the window renamed; what still names a window of "7" stays.
        const auto firstIds = [this](const decObjectId& id) {
            std::vector<CString> ids;
            const int read = GetBuildWinInfo(Entity(id), ids);
            return std::to_string(read) + " " + (ids.empty() ? "" : ids[0].str()) + " " + (read > 1 ? ids[1].str() : "");
        };
        EXPECT_EQ(firstIds(bay), "2 商业楼-2-3 7-2-4");
        EXPECT_EQ(firstIds(floorsOf3), "201 商业楼-0-3 商业楼-1-3");
        EXPECT_EQ(firstIds(floorsOf4), "201 7-0-4 7-1-4");
    }
}

// An upgrade that would give a window the identifier of another window while a record names
// only one of them is refused whole: no window made or renamed, no legacy object erased.
TEST_F(UpdateOldModelTest, AnUpgradeARecordCouldNotFollowChangesNothing)
{
    // updatewin would make a second 商业楼-2-3; updatebld would rename one upgraded before by the
    // building's number.
    for (const auto& [command, named] : {std::pair("updatewin\n", "商业楼-2-3"), std::pair("updatebld\n", "7-2-3")}) {
        SetUp();
        SCOPED_TRACE(command);
        LegacyModel::AddBuilding(7, Square(0, 0, 10000), 1, 0, {3000}, "商业楼");
        if (command == std::string("updatewin\n"))
            LegacyModel::AddWindow("C7-2-3", 1500, 1800, 0, South(2000));
        const CWindow* numbered = Upgraded("7", 3, 5000);
        Upgraded("商业楼", 3, 30000);
        const decObjectId bay = AddSolid(new decDbBox(1000, 1000, 3000));
        AddXData(bay, "WIN_BELONG_BLD", {"#1", named});

        Script(command);
        EXPECT_THAT(Transcript(), HasSubstr("错误：修改后将有多个窗口编号为商业楼-2-3，而窗属记录只指其中的部分窗口"));
        EXPECT_EQ(CountOf(Transcript(), "修改未执行"), 1);
        EXPECT_EQ(HasOldModel(), 1);
        EXPECT_EQ(Builders<CWindow>().size(), 2u);
        EXPECT_TRUE(Builders<CExtrudeBuild>().empty());
        EXPECT_EQ(numbered->BuildName(), "7");
        EXPECT_EQ(XData(bay, "WIN_BELONG_BLD").front().at(1), named);
    }
}

TEST_F(UpdateOldModelTest, TheExampleDrawingIsTheFixturesAndRoundTrips)
{
    LegacyModel::BuildExample();
    const std::vector<std::uint8_t> bytes = host::EncodeDrawing(*Db());
    if (std::getenv("LUMIDRAX_WRITE_EXAMPLES"))
        std::ofstream(kExample, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                        static_cast<std::streamsize>(bytes.size()));
    std::ifstream in(kExample, std::ios::binary);
    const std::vector<std::uint8_t> committed{std::istreambuf_iterator<char>(in), {}};
    EXPECT_TRUE(committed == bytes) << kExample << " differs from the legacy fixture's drawing; write it again with "
                                    << "LUMIDRAX_WRITE_EXAMPLES=1 annotation_tests --gtest_filter=*ExampleDrawing*";

    // Opened and saved again, the same bytes, once the unnamed building took its number as its
    // name on the first reading.
    std::string error;
    DbDatabase first, second;
    ASSERT_TRUE(host::DecodeDrawing(bytes, first, error)) << error;
    const std::vector<std::uint8_t> saved = host::EncodeDrawing(first);
    ASSERT_TRUE(host::DecodeDrawing(saved, second, error)) << error;
    EXPECT_TRUE(host::EncodeDrawing(second) == saved);

    // Written as class version 2: households 0, every building named by its number.
    TestFolder folder;
    const std::string old = (folder.Path() / "v2.q3d").string();
    ASSERT_TRUE(host::WriteDrawingFile(*Db(), old, error, {{"QCQuickWindow", 2}, {"QCQuickBuilding", 2}})) << error;
    ASSERT_TRUE(host::OpenDrawing(old, error)) << error;
    for (CQuickWindow* window : Builders<CQuickWindow>()) EXPECT_EQ(window->GetHouseholdNo(), 0);
    const std::vector<CQuickBuilding*> buildings = Builders<CQuickBuilding>();
    ASSERT_EQ(buildings.size(), 2u);
    EXPECT_EQ(buildings[1]->GetName(), "2");

    // The example upgraded whole holds current objects only.
    ASSERT_TRUE(host::OpenDrawing(kExample.string(), error)) << error;
    Script("updatewin\nupdatebld\n");
    EXPECT_EQ(HasOldModel(), 0);
    EXPECT_THAT(Transcript(), ::testing::Not(HasSubstr("无法转换")));
    EXPECT_EQ(Builders<CWindow>().size(), 4u);
    EXPECT_EQ(Builders<CExtrudeBuild>().size(), 2u);
}

TEST_F(UpdateOldModelTest, ModelScaleBringsLabelsTextsAndWindowsToTheDrawingScale)
{
    auto* text = new COrvScaleText();
    text->Set(TEXT_UTILITY::BUILD_DIM, "甲", GePoint3d(), GeVector3d::kXAxis, GeVector3d::kZAxis, 5, 0, 18, 700, "");
    const decObjectId textId = AddEntity(text);
    auto* label = new CDimBuildElevation();
    label->Set(3000, 0, GePoint3d(5000, 0, 0));
    label->SetScale(700);
    const decObjectId labelId = AddEntity(label);
    auto* window = new CWindow();
    window->SetSize(1500, 1800);
    window->SetScale(700);
    AddSolid(window);
    const auto scales = [&] {
        return std::vector<double>({COrvScaleText::Cast(Entity(textId))->Scale(),
                                    CDimBuildElevation::Cast(Entity(labelId))->Scale(), window->Scale()});
    };

    // Without "DRAWING_SCALE" every one takes 500.
    host::EventLog::Instance().Clear();
    Script("orvmodelscale\n");
    EXPECT_EQ(scales(), std::vector<double>(3, 500));
    EXPECT_EQ(host::EventLog::Instance().Calls("db "), (std::vector<std::string>{"db open 1", "db close 1"}));

    // The listing shows the label drawn larger.
    host::EventLog::Instance().Clear();
    Script("setvar DRAWING_SCALE 1000\nlist " + Handle(labelId) + "\norvmodelscale\nlist " + Handle(labelId) + "\n");
    const std::string listed = Transcript();
    const std::size_t before = listed.find(" extents ");
    const std::size_t after = listed.find(" extents ", before + 1);
    ASSERT_NE(after, std::string::npos) << listed;
    EXPECT_NE(listed.substr(before, listed.find('\n', before) - before), listed.substr(after, listed.find('\n', after) - after));
    EXPECT_EQ(scales(), std::vector<double>(3, 1000));
    const std::vector<std::uint8_t> once = host::EncodeDrawing(*Db());
    Script("orvmodelscale\n");
    EXPECT_TRUE(host::EncodeDrawing(*Db()) == once);

    // A database already open stays open.
    Db()->OpenForWrite();
    UpdateModelScale();
    EXPECT_EQ(Db()->GetOpenDepth(), 1);
    Db()->Close();
}

}  // namespace
