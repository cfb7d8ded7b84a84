// The window entity: class record, setters and their write requests, mesh, labels,
// property panel (with the pick of the owning building) and stored records, old versions
// and repairs included.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>

#include "DrawingFile.h"
#include "EventLog.h"
#include "ExtrudeBuild.h"
#include "HostSolids.h"
#include "SerializeFilter.h"
#include "WindowTestSupport.h"
#include "WorkingDrawing.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

const GePoint3dArray kSquare = {{0, 0, 0}, {10000, 0, 0}, {10000, 8000, 0}, {0, 8000, 0}};

class WindowTest : public WindowModelTest {};

// ---- class record, defaults, copies ------------------------------------------------

TEST_F(WindowTest, ClassRecordKindTestsAndRegistration)
{
    const decObjectClassInfo* info = CWindow::Desc();
    EXPECT_STREQ(info->className, "QCWindow");
    EXPECT_STREQ(info->displayName, "窗户");
    EXPECT_EQ(info->version, 3u);
    EXPECT_EQ(info->parent, decBuilder::Desc());
    EXPECT_EQ(host::ClassRegistry::Instance().Find("QCWindow"), info);
    std::unique_ptr<decObject> made(info->factory());
    EXPECT_EQ(CWindow::Cast(made.get()), made.get());
    EXPECT_EQ(CWindow::Cast(nullptr), nullptr);
    CExtrudeBuild building;
    EXPECT_EQ(CWindow::Cast(&building), nullptr);
}

// ---- setters -----------------------------------------------------------------------

TEST_F(WindowTest, LabelSettingsChangeOnlyByAtLeastAThousandthAndOnlyThenAskForWrite)
{
    CWindow window;
    host::EventLog::Instance().Clear();
    window.ClearModified();
    window.SetScale(500.0005);
    window.SetHorDimHeight(2.5009);
    window.SetVerDimHeight(0.9991);
    EXPECT_EQ(window.Scale(), 500.0);
    EXPECT_EQ(window.HorDimHeight(), 2.5);
    EXPECT_EQ(window.VerDimHeight(), 1.0);
    EXPECT_FALSE(window.IsModified());
    EXPECT_TRUE(host::EventLog::Instance().Calls("AssertWriteEnabled").empty());

    window.SetScale(500.002);
    window.SetHorDimHeight(2.0);
    window.SetVerDimHeight(1.5);
    EXPECT_EQ(window.Scale(), 500.002);
    EXPECT_EQ(window.HorDimHeight(), 2.0);
    EXPECT_EQ(window.VerDimHeight(), 1.5);
    EXPECT_TRUE(window.IsModified());
    EXPECT_THAT(host::EventLog::Instance().Calls("AssertWriteEnabled"),
                ElementsAre("AssertWriteEnabled 1 1 1 0 QCWindow", "AssertWriteEnabled 1 1 1 0 QCWindow",
                            "AssertWriteEnabled 1 1 1 0 QCWindow"));

    // The number setters ask for write too; SetSize does not.
    host::EventLog::Instance().Clear();
    window.SetSize(900, 1200);
    EXPECT_TRUE(host::EventLog::Instance().Calls("AssertWriteEnabled").empty());
    window.SetIndex(1);
    window.SetFloor(2);
    window.SetRoom(3);
    window.SetDoor("D");
    window.SetBuild("B");
    EXPECT_EQ(host::EventLog::Instance().Calls("AssertWriteEnabled").size(), 5u);
}

TEST_F(WindowTest, ASizeThatIsNoSizeShowsTheAssertionAndIsStoredAllTheSame)
{
    CWindow window;
    window.SetSize(0, 1500);
    EXPECT_THAT(Transcript(), HasSubstr("表达式失败< width > geom_tol && height > geom_tol && \"窗尺寸异常\" >\n"
                                        "文件：Window\n"));
    EXPECT_EQ(window.Width(), 0);
    EXPECT_EQ(window.Height(), 1500);
    host::EventLog::Instance().Clear();
    window.SetSize(1, 1);
    EXPECT_THAT(Transcript(), Not(HasSubstr("表达式失败")));
}

// ---- mesh --------------------------------------------------------------------------

TEST_F(WindowTest, MeshIsABoxBehindTheFacadeSoPointsAlongPlusYAreOutside)
{
    CWindow window;
    window.SetSize(1500, 1800);
    decMesh3* raw = nullptr;
    ASSERT_EQ(window.MakeMesh(&raw), 1);
    std::unique_ptr<decMesh3> mesh(raw);
    const GeBoundBox3d box = mesh->GetBoundBox(GeMatrix3d());
    ExpectNearPoint(box.MinPoint(), {-750, -50, 0}, "min");
    ExpectNearPoint(box.MaxPoint(), {750, 0, 1800}, "max");
    EXPECT_EQ(mesh->GetCountPolygon(), 6);

    // A window without a usable size makes no mesh rather than an empty one.
    CWindow empty;
    decMesh3* none = nullptr;
    EXPECT_EQ(empty.MakeMesh(&none), 0);
    EXPECT_EQ(none, nullptr);
    window.SetSize(-5, 1800);
    EXPECT_EQ(window.MakeMesh(&none), 0);
    EXPECT_EQ(none, nullptr);
}

TEST_F(WindowTest, AWindowOnTheSouthFacadeStandsInFrontOfItsSill)
{
    const decObjectId id = AddWindow({.width = 1500, .height = 1800, .sill = {4000, 0, 900}});
    const GeBoundBox3d& box = Entity(id)->GetBoundBox();
    ExpectNearPoint(box.MinPoint(), {3250, 0, 900}, "min");
    ExpectNearPoint(box.MaxPoint(), {4750, 50, 2700}, "max: the box lies inside the building, north of the facade");
}

// ---- labels ------------------------------------------------------------------------

// A window of floor 5, position 2 on the south facade, sill middle (1000, 0, 900).
class WindowLabelTest : public WindowTest {
protected:
    decObjectId AddLabelled(int mode, const char* door = "A1", int room = 0)
    {
        const decObjectId id =
            AddWindow({.building = "甲楼", .floor = 5, .index = 2, .sill = {1000, 0, 900}, .door = door, .room = room});
        CWindow* window = Window(id);
        window->OpenForWrite();
        prop_data value;
        value.SetLong(mode);
        window->OnPropertyValueChanged(8, value);
        window->Close();
        return id;
    }
    std::vector<DrawnPrimitive> Draw(const decObjectId& id)
    {
        decViewFilter filter;
        Entity(id)->Draw(filter);
        std::vector<DrawnPrimitive> texts;
        for (const DrawnPrimitive* text : filter.Texts())
            texts.push_back(*text);
        return texts;
    }
};

TEST_F(WindowLabelTest, ElevationAndPlanLabelsArePlacedInTheWindowFrame)
{
    const auto texts = Draw(AddLabelled(1));
    ASSERT_EQ(texts.size(), 2u);
    // Elevation label: half way up, 55 out of the facade, written along -X of the window
    // (world +X on the south facade) on the facade plane.
    const DrawnPrimitive& elevation = texts[0];
    EXPECT_EQ(elevation.text, "5-2");
    EXPECT_EQ(elevation.colour, 0xFF00FFu);
    ExpectNearPoint(elevation.points[0], {1000, -55, 1800}, "elevation position");
    ExpectNearVector(elevation.direction, {1, 0, 0}, "elevation direction");
    ExpectNearVector(elevation.normal, {0, -1, 0}, "elevation normal");
    EXPECT_EQ(elevation.angle, 0.0);
    EXPECT_DOUBLE_EQ(elevation.height, 1.0 * 500.0);
    EXPECT_DOUBLE_EQ(elevation.widthFactor, 0.8);
    EXPECT_EQ(elevation.alignment, 18u);
    // Plan label: at sill level, 80 out, lying flat.
    const DrawnPrimitive& plan = texts[1];
    EXPECT_EQ(plan.text, "2");
    EXPECT_EQ(plan.colour, 0xFF00FFu);
    ExpectNearPoint(plan.points[0], {1000, -80, 900}, "plan position");
    ExpectNearVector(plan.direction, {1, 0, 0}, "plan direction");
    ExpectNearVector(plan.normal, {0, 0, 1}, "plan normal");
    EXPECT_DOUBLE_EQ(plan.height, 2.5 * 500.0);
    EXPECT_DOUBLE_EQ(plan.widthFactor, 0.8);
    EXPECT_EQ(plan.alignment, 10u);
    EXPECT_THAT(Transcript(), Not(HasSubstr("表达式失败")));
}

TEST_F(WindowLabelTest, PlanTextFollowsThePlanMode)
{
    struct Case {
        int mode;
        const char* door;
        int room;
        const char* plan;  // null: no plan label
    };
    const Case cases[] = {
        {0, "A1", 3, nullptr},  {1, "A1", 3, "2"},        {2, "A1", 3, "A1"},    {2, "", 3, nullptr},
        {3, "A1", 0, "A1(?)"},  {3, "A1", 3, "A1(3)"},    {4, "A1", 0, "?"},     {4, "A1", 3, "3"},
        {5, "A1", 0, "甲楼"},
    };
    for (const Case& c : cases) {
        const auto texts = Draw(AddLabelled(c.mode, c.door, c.room));
        const std::string what = "mode " + std::to_string(c.mode) + " door '" + c.door + "' rooms " + std::to_string(c.room);
        ASSERT_FALSE(texts.empty()) << what;
        // The elevation label is drawn whatever the plan mode.
        EXPECT_EQ(texts[0].text, "5-2") << what;
        if (c.plan) {
            ASSERT_EQ(texts.size(), 2u) << what;
            EXPECT_EQ(texts[1].text, c.plan) << what;
        } else {
            EXPECT_EQ(texts.size(), 1u) << what;
        }
    }
}

TEST_F(WindowLabelTest, LabelsSwitchedOffDrawOnlyTheBox)
{
    const decObjectId id = AddLabelled(1);
    CWindow* window = Window(id);
    window->OpenForWrite();
    prop_data off;
    off.SetLong(0);
    window->OnPropertyValueChanged(7, off);
    window->Close();
    decViewFilter filter;
    Entity(id)->Draw(filter);
    EXPECT_TRUE(filter.Texts().empty());
    EXPECT_EQ(filter.Primitives().size(), 6u);
}

TEST_F(WindowLabelTest, InAMirroredFrameThePlanLabelIsWrittenAlongPlusXFacingMinusZ)
{
    // The south-facade frame with Z turned down: a mirror (negative determinant).
    GeMatrix3d mirrored;
    mirrored.SetCoordSystem({1000, 0, 900}, {-1, 0, 0}, {0, -1, 0}, {0, 0, -1});
    ASSERT_TRUE(mirrored.IsMirrorMatrix());
    const decObjectId id = AddSolid(NewWindow({.building = "甲楼", .floor = 5, .index = 2}), mirrored);
    const auto texts = Draw(id);
    ASSERT_EQ(texts.size(), 2u);
    // Local +X and -Z placed by the frame.
    ExpectNearVector(texts[1].direction, {-1, 0, 0}, "plan direction");
    ExpectNearVector(texts[1].normal, {0, 0, 1}, "plan normal");
    // The elevation label keeps its own direction.
    ExpectNearVector(texts[0].direction, {1, 0, 0}, "elevation direction");
}

TEST_F(WindowLabelTest, AWindowWithoutEntityOrWithoutTextHeightsShowsTheAssertionsAndStillDraws)
{
    CWindow loose;
    loose.SetSize(1000, 1000);
    loose.SetIndex(4);
    loose.SetScale(0.0);
    decViewFilter filter;
    loose.OnMakeDisplayBuf(0, filter);
    const std::string out = Transcript();
    EXPECT_THAT(out, HasSubstr("表达式失败< m_dblScale > geom_tol && m_dblVerDimHeight > geom_tol && \"文字高度信息异常\" >"));
    EXPECT_THAT(out, HasSubstr("表达式失败< pRef >\n文件：Window"));
    const auto texts = filter.Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0]->text, "0-4");
    EXPECT_EQ(texts[0]->height, 0.0);
    EXPECT_EQ(texts[1]->text, "4");
    ExpectNearVector(texts[1]->direction, {-1, 0, 0}, "plan direction without a mirror test");
}

// ---- property panel ----------------------------------------------------------------

TEST_F(WindowTest, PropertyTableAndPlanModeList)
{
    CWindow window;
    ExpectPropertyRows(window.GetObjectPropertyDefine(),
                       {{"窗编号", "位号", "输入位号", 1},          {"窗编号", "层号", "输入层号", 1},
                        {"窗编号", "户号", "输入所属户号", 4},      {"窗编号", "居室数", "输入所属户居室数", 1},
                        {"窗编号", "所属建筑", "从图形上选择所属建筑", 7}, {"窗尺寸", "窗宽", "输入窗宽", 1},
                        {"窗尺寸", "窗高", "输入窗高", 1},          {"窗标注", "显示标注", "显示窗标注", 3},
                        {"窗标注", "平面标注", "平面图标注显示内容", 5}});

    TPropertyComboBoxData modes;
    window.OnPropertyComboBoxInit(8, modes);
    EXPECT_THAT(modes.Entries(), ElementsAre("不显示", "位号", "户号", "户号(居室数)", "居室数", "建筑"));
    TPropertyComboBoxData none;
    window.OnPropertyComboBoxInit(7, none);
    EXPECT_EQ(none.GetCount(), 0);
}

TEST_F(WindowTest, ValuesComeAsIntegersOrTextsAndUnknownRowsLeaveTheRecord)
{
    CWindow window;
    std::string longDoor;
    for (int i = 0; i < 100; ++i)
        longDoor += "户";
    window.SetDoor(longDoor.c_str());
    window.SetBuild("楼");
    window.SetIndex(-3);
    prop_data value;
    window.OnPropertyValueGet(2, value);
    EXPECT_EQ(value.type, prop_data::kText);
    EXPECT_EQ(std::string(value.szValue), longDoor.substr(0, 198));
    window.OnPropertyValueGet(4, value);
    EXPECT_EQ(value.type, prop_data::kText);
    EXPECT_STREQ(value.szValue, "楼");
    window.OnPropertyValueGet(0, value);
    EXPECT_EQ(value.type, prop_data::kInteger);
    EXPECT_EQ(value.lValue, -3);

    prop_data untouched;
    untouched.SetLong(42);
    window.OnPropertyValueGet(9, untouched);
    window.OnPropertyValueGet(-1, untouched);
    EXPECT_EQ(untouched.type, prop_data::kInteger);
    EXPECT_EQ(untouched.lValue, 42);
    EXPECT_EQ(window.OnPropertyValueChanged(9, untouched), -2);
    EXPECT_EQ(window.Index(), -3);
}

TEST_F(WindowTest, PanelEditsNumbersWithTheRoomLimit)
{
    AddWindow({.building = "甲楼", .floor = 5, .index = 2, .door = "A1", .room = 3});
    ASSERT_TRUE(Run("list #1\n"
                    "setprop #1 0 7\n"
                    "setprop #1 1 -1\n"
                    "setprop #1 2 B 3\n"
                    "setprop #1 3 50\n"
                    "setprop #1 3 51\n"
                    "setprop #1 3 -1\n"
                    "setprop #1 3 0\n"
                    "setprop #1 8 3\n"));
    const std::string out = Transcript();
    const std::string listed = out.substr(0, out.find("> setprop"));
    for (const char* row : {"#1 QCWindow layer=0", "位号=2", "层号=5", "户号=A1", "居室数=3", "所属建筑=甲楼", "窗宽=1500",
                            "窗高=1800", "显示标注=1", "平面标注=1 (位号)"})
        EXPECT_THAT(listed, HasSubstr(row));
    EXPECT_THAT(out, HasSubstr("#1 QCWindow: taken, 位号=7\n"));
    EXPECT_THAT(out, HasSubstr("#1 QCWindow: taken, 层号=-1\n"));
    EXPECT_THAT(out, HasSubstr("#1 QCWindow: taken, 户号=B 3\n"));
    EXPECT_THAT(out, HasSubstr("> setprop #1 3 50\n#1 QCWindow: taken, 居室数=50\n"));
    EXPECT_THAT(out, HasSubstr("> setprop #1 3 51\n#1 QCWindow: unchanged, 居室数=50\n"));
    EXPECT_THAT(out, HasSubstr("> setprop #1 3 -1\n#1 QCWindow: unchanged, 居室数=50\n"));
    EXPECT_THAT(out, HasSubstr("> setprop #1 3 0\n#1 QCWindow: taken, 居室数=0\n"));
    EXPECT_THAT(out, HasSubstr("#1 QCWindow: taken, 平面标注=3 (户号(居室数))\n"));
    const CWindow* window = Window(decObjectId(1));
    EXPECT_EQ(window->Door(), "B 3");
    EXPECT_EQ(window->Room(), 0);
}

TEST_F(WindowTest, OwningBuildingIsPickedInTheDrawing)
{
    AddBuilding("南楼", 3000, kSquare);
    const decObjectId window = AddWindow({.building = "甲楼"});
    ASSERT_TRUE(Run("setprop #2 4\n"
                    "#1\n"
                    "setprop #2 4\n"
                    "*cancel*\n"));
    const std::string out = Transcript();
    EXPECT_THAT(out, HasSubstr("请选择拉伸建筑物:"));
    EXPECT_THAT(out, HasSubstr("#2 QCWindow: taken, 所属建筑=南楼\n"));
    EXPECT_THAT(out, HasSubstr("#2 QCWindow: refused, 所属建筑=南楼\n"));
    EXPECT_EQ(Window(window)->BuildName(), "南楼");
    EXPECT_EQ(Db()->IsOpenForWrite(), 0);
    EXPECT_TRUE(host::EventLog::Instance().Calls("fault").empty());
}

TEST_F(WindowTest, OwningBuildingEditClosesOnlyWhatItOpenedAndNamesOnlyWindows)
{
    AddBuilding("东楼", 3000, kSquare);
    const decObjectId w1 = AddWindow({.building = "甲"});
    const decObjectId w2 = AddWindow({.building = "乙"});
    const decObjectId box = AddSolid(new decDbBox(1, 1, 1));
    decObject* objects[] = {Window(w1), Entity(box)->GetBaseObject(), Window(w2)};
    int reference = 0;

    // Called with the drawing closed: the edit opens it and closes it again.
    Answer("#1\n");
    EXPECT_EQ(Window(w1)->OnPropertyOtherEdit(4, "", 3, objects, reference), 1);
    EXPECT_EQ(Db()->GetOpenDepth(), 0);
    EXPECT_EQ(Window(w1)->BuildName(), "东楼");
    EXPECT_EQ(Window(w2)->BuildName(), "东楼");

    // Called inside the caller's bracket: the bracket stays open, on cancel too.
    ASSERT_EQ(Db()->OpenForWrite(), dex::eOk);
    Answer("*cancel*\n");
    EXPECT_EQ(Window(w1)->OnPropertyOtherEdit(4, "", 3, objects, reference), 0);
    EXPECT_EQ(Db()->GetOpenDepth(), 1);
    Answer("#1\n");
    EXPECT_EQ(Window(w1)->OnPropertyOtherEdit(4, "", 3, objects, reference), 1);
    EXPECT_EQ(Db()->GetOpenDepth(), 1);
    Db()->Close();

    // Other rows are not edited here, and nothing is asked.
    EXPECT_EQ(Window(w1)->OnPropertyOtherEdit(2, "", 3, objects, reference), 0);
    EXPECT_EQ(Db()->GetOpenDepth(), 0);
    EXPECT_TRUE(host::EventLog::Instance().Calls("fault").empty());
}

// ---- records -----------------------------------------------------------------------

struct Fields {
    int index = 2, floor = 5;
    const char* door = "A1";
    const char* build = "甲楼";
    int width = 1500, height = 1800, showDim = 1;
    double horH = 2.5, verH = 1.0;
    int planMode = 3;
    double scale = 500.0;
    int room = 3;
};

// A record written by hand in the stored order: base part (object name), the eleven fields,
// and the room count when withRoom.
std::vector<std::uint8_t> Record(const Fields& f, bool withRoom)
{
    StoreFilter out(true);
    out << CString("") << f.index << f.floor << CString(f.door) << CString(f.build) << f.width << f.height
        << f.showDim << f.horH << f.verH << f.planMode << f.scale;
    if (withRoom)
        out << f.room;
    return out.TakeBytes();
}

CWindow FromFields(const Fields& f)
{
    CWindow window;
    window.SetIndex(f.index);
    window.SetFloor(f.floor);
    window.SetDoor(f.door);
    window.SetBuild(f.build);
    window.SetSize(f.width, f.height);
    window.SetHorDimHeight(f.horH);
    window.SetVerDimHeight(f.verH);
    window.SetScale(f.scale);
    window.SetRoom(f.room);
    prop_data mode;
    mode.SetLong(f.planMode);
    window.OnPropertyValueChanged(8, mode);
    return window;
}

void ExpectFields(const CWindow& w, const Fields& f, int room)
{
    EXPECT_EQ(w.Index(), f.index);
    EXPECT_EQ(w.Floor(), f.floor);
    EXPECT_EQ(w.Door(), f.door);
    EXPECT_EQ(w.BuildName(), f.build);
    EXPECT_EQ(w.Width(), f.width);
    EXPECT_EQ(w.Height(), f.height);
    EXPECT_EQ(w.ShowDim(), f.showDim);
    EXPECT_EQ(w.HorDimHeight(), f.horH);
    EXPECT_EQ(w.VerDimHeight(), f.verH);
    EXPECT_EQ(w.PlanDimMode(), f.planMode);
    EXPECT_EQ(w.Scale(), f.scale);
    EXPECT_EQ(w.Room(), room);
}

TEST_F(WindowTest, VersionTwoRecordLoadsWithNoRooms)
{
    const Fields f;
    const std::vector<std::uint8_t> v2 = Record(f, false);
    // The version-2 layout, byte by byte: uint32 length + UTF-8 bytes for texts, little-endian
    // int32 and IEEE doubles.
    const std::vector<std::uint8_t> expected = {
        0, 0, 0, 0,                                        // object name ""
        2, 0, 0, 0,                                        // position 2
        5, 0, 0, 0,                                        // floor 5
        2, 0, 0, 0, 'A', '1',                              // household "A1"
        6, 0, 0, 0, 0xE7, 0x94, 0xB2, 0xE6, 0xA5, 0xBC,    // building "甲楼"
        0xDC, 0x05, 0, 0,                                  // width 1500
        0x08, 0x07, 0, 0,                                  // height 1800
        1, 0, 0, 0,                                        // labels shown
        0, 0, 0, 0, 0, 0, 0x04, 0x40,                      // 2.5
        0, 0, 0, 0, 0, 0, 0xF0, 0x3F,                      // 1.0
        3, 0, 0, 0,                                        // plan mode 3
        0, 0, 0, 0, 0, 0x40, 0x7F, 0x40,                   // 500.0
    };
    ASSERT_EQ(v2, expected);

    CWindow loaded;
    loaded.SetRoom(9);
    std::string error;
    ASSERT_TRUE(host::LoadObjectRecord(loaded, v2, 2, error)) << error;
    ExpectFields(loaded, f, 0);
    // A version-1 file record is read the same way.
    ASSERT_TRUE(host::LoadObjectRecord(loaded, v2, 1, error)) << error;
    EXPECT_EQ(loaded.Room(), 0);
    // Read as version 3, the record is one field short and refused; the window keeps what it had.
    CWindow strict = FromFields({.index = 8});
    EXPECT_FALSE(host::LoadObjectRecord(strict, v2, 3, error));
    EXPECT_EQ(strict.Index(), 8);
    EXPECT_EQ(strict.Room(), 3);
}

TEST_F(WindowTest, FileUndoRecordsAndCopiesAllCarryTheRoomCount)
{
    const Fields f;
    CWindow window = FromFields(f);
    EXPECT_EQ(host::StoreObjectRecord(window), Record(f, true));
    CWindow loaded;
    std::string error;
    ASSERT_TRUE(host::LoadObjectRecord(loaded, Record(f, true), 3, error)) << error;
    ExpectFields(loaded, f, 3);

    // Undo and copy records carry the room count whatever the class version.
    MemorySerializeFilter out;
    out.SetClassVersion(2);
    window.Serialize(out);
    EXPECT_EQ(out.Bytes(), Record(f, true));
    LoadFilter in(out.Bytes(), false);
    in.SetClassVersion(2);
    CWindow undone;
    undone.Serialize(in);
    EXPECT_EQ(in.BytesLeft(), 0u);
    ExpectFields(undone, f, 3);

    // Copies take every field.
    ExpectFields(CWindow(window), f, 3);
    CWindow assigned;
    assigned = window;
    ExpectFields(assigned, f, 3);
}

TEST_F(WindowTest, OutOfRangeLabelSettingsAndPlanModeAreRepairedOnLoad)
{
    struct Case {
        double horH, verH, scale;
        int planMode;
        double wantHorH, wantVerH, wantScale;
        int wantPlanMode;
    };
    const Case cases[] = {
        {2.5, 1.0, 0.0, 1, 2.5, 1.0, 500.0, 1},
        {1000.0, 1000.0, 10000.0, 0, 1000.0, 1000.0, 10000.0, 0},
        {0.001, 0.001, 0.001, 5, 0.001, 0.001, 0.001, 5},
        {0.0005, 0.0005, 10000.5, -3, 2.5, 1.0, 500.0, 1},
        {1000.5, -1.0, -500.0, 7, 2.5, 1.0, 500.0, 7},
    };
    for (const Case& c : cases) {
        Fields f;
        f.horH = c.horH;
        f.verH = c.verH;
        f.scale = c.scale;
        f.planMode = c.planMode;
        CWindow loaded;
        std::string error;
        ASSERT_TRUE(host::LoadObjectRecord(loaded, Record(f, true), 3, error)) << error;
        const std::string what = "hor " + std::to_string(c.horH) + " ver " + std::to_string(c.verH) + " scale " +
                                 std::to_string(c.scale) + " mode " + std::to_string(c.planMode);
        EXPECT_EQ(loaded.HorDimHeight(), c.wantHorH) << what;
        EXPECT_EQ(loaded.VerDimHeight(), c.wantVerH) << what;
        EXPECT_EQ(loaded.Scale(), c.wantScale) << what;
        EXPECT_EQ(loaded.PlanDimMode(), c.wantPlanMode) << what;
    }
}

TEST_F(WindowTest, ATruncatedRecordIsRefusedAndChangesNothing)
{
    const auto record = Record({}, true);
    for (std::size_t cut : {std::size_t{3}, std::size_t{20}, record.size() - 1}) {
        CWindow window = FromFields({.index = 11, .door = "旧"});
        std::string error;
        EXPECT_FALSE(host::LoadObjectRecord(window, std::span(record).first(cut), 3, error)) << cut;
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(window.Index(), 11);
        EXPECT_EQ(window.Door(), "旧");
    }
}

TEST_F(WindowTest, DrawingsOfVersionThreeAndTwoOpenWithTheirWindows)
{
    const decObjectId id =
        AddWindow({.building = "甲楼", .floor = 4, .index = 6, .sill = {100, 0, 300}, .door = "A2", .room = 2});
    const GeMatrix3d placed = Entity(id)->GetLocalTM();
    const auto current = TempFile("v3.q3d");
    const auto old = TempFile("v2.q3d");
    std::string error;
    ASSERT_TRUE(host::SaveDrawing(current.string(), error)) << error;
    ASSERT_TRUE(host::WriteDrawingFile(*Db(), old.string(), error, {{"QCWindow", 2}})) << error;

    for (const auto& [path, rooms] : {std::pair{current, 2}, std::pair{old, 0}}) {
        host::NewDrawing();
        ASSERT_TRUE(host::OpenDrawing(path.string(), error)) << error;
        const CWindow* window = Window(id);
        ASSERT_NE(window, nullptr) << path;
        EXPECT_EQ(window->BuildName(), "甲楼");
        EXPECT_EQ(window->Floor(), 4);
        EXPECT_EQ(window->Index(), 6);
        EXPECT_EQ(window->Door(), "A2");
        EXPECT_EQ(window->Width(), 1500);
        EXPECT_EQ(window->Height(), 1800);
        EXPECT_EQ(window->Room(), rooms) << path;
        EXPECT_TRUE(Entity(id)->GetLocalTM().IsEqual(placed, 0.0));
    }
    std::filesystem::remove(current);
    std::filesystem::remove(old);
}

}  // namespace
