// Window ownership by auxiliary buildings: the record written on a building body, read
// back (well-formed, floor-0 and malformed records), the query of the bodies that carry it,
// the command winbld end to end, and the named cases of records following renamed and
// renumbered windows (the records oracle runs every relabelling at random).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "HostSolids.h"
#include "WindowTestSupport.h"
#include "WinBelongBuild.h"

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;

namespace {

constexpr const char* kApp = "WIN_BELONG_BLD";
constexpr const char* kRecordTooLong = "错误：窗属记录的窗口数超出可保存的范围，该记录保持不变。";

std::vector<std::string> Texts(const std::vector<CString>& ids)
{
    return std::vector<std::string>(ids.begin(), ids.end());
}

std::string Join(const std::vector<std::string>& texts, const char* between)
{
    std::string joined;
    for (const std::string& text : texts)
        joined += (joined.empty() ? "" : between) + text;
    return joined;
}

// What a lone floor-0 identifier stands for, built independently of the reader.
std::vector<std::string> EveryFloor(const std::string& first, const std::string& name, const std::string& position)
{
    std::vector<std::string> ids = {first};
    for (int floor = 1; floor <= 200; ++floor)
        ids.push_back(name + "-" + std::to_string(floor) + "-" + position);
    return ids;
}

// What each command's refusal advises instead.
constexpr const char* kPanelAdvice =
    "对调两个窗口的编号时，请经一个未用的编号中转：先把其中一个改为未用的编号，再改另一个，最后把第一个改为所需的编号。";
constexpr const char* kNameAdvice =
    "请改用其他建筑未用的名称；确需合并两栋建筑时，先用【重排窗号】使两者的窗口编号不再相同。";
constexpr const char* kIndexAdvice = "请把同层将与之同号的窗口一起选中重排，或改用未用的起始窗号。";
constexpr const char* kFloorAdvice = "请把将与之同号的窗口一起选中重排，或改用未用的起始层号。";
constexpr const char* kTwinAdvice = "请先用【重排窗号】或窗口特性给同号的窗口改用不同的编号，再指定窗属建筑。";

// The refusal of a change that would give several windows the identifier while a record names
// only some of them, naming the window at the place ("ID@X,Y,Z"), then what to do instead.
std::string Refusal(const std::string& idAt, const std::string& advice)
{
    const std::size_t at = idAt.find('@');
    return "错误：修改后将有多个窗口编号为" + idAt.substr(0, at) + "，而窗属记录只指其中的部分窗口（涉及位于(" +
           idAt.substr(at + 1) + ")的窗口），修改未执行。" + advice;
}

class WinBelongBuildTest : public WindowModelTest {
protected:
    // A body carrying a record of the items.
    decObjectId Body(const std::vector<std::string>& items)
    {
        const decObjectId body = AddSolid(new decDbBox(1000, 1000, 3000));
        AddXData(body, kApp, items);
        return body;
    }
    // The script with each mark replaced by the handle of its entity.
    static std::string WithHandles(const std::string& script,
                                   const std::vector<std::pair<std::string, decObjectId>>& marks)
    {
        std::vector<std::pair<std::string, std::string>> handles;
        for (const auto& [mark, id] : marks)
            handles.emplace_back(mark, Handle(id));
        return Filled(script, handles);
    }
    // The body's records, items by spaces, records by "|".
    std::string Records(const decObjectId& carrier) const
    {
        std::vector<std::string> records;
        for (const std::vector<std::string>& record : XData(carrier, kApp))
            records.push_back(Join(record, " "));
        return Join(records, "|");
    }
};

TEST_F(WinBelongBuildTest, RecordsReadBackWithTheFloorZeroExpansion)
{
    const struct {
        const char* what;
        std::vector<std::string> items;
        int result;
        std::vector<std::string> ids;
    } cases[] = {
        {"two identifiers", {"#2", "B1-3-2", "B1-4-2"}, 2, {"B1-3-2", "B1-4-2"}},
        {"one identifier", {"#1", "B1-3-5"}, 1, {"B1-3-5"}},
        {"floor 0", {"#1", "B1-0-5"}, 201, EveryFloor("B1-0-5", "B1", "5")},
        {"floor 0 of a Chinese name", {"#1", "甲楼-0-12"}, 201, EveryFloor("甲楼-0-12", "甲楼", "12")},
        // The position is read as far as it is a number.
        {"floor 0 without a number", {"#1", "B1-0-x"}, 201, EveryFloor("B1-0-x", "B1", "0")},
        {"floor 0 ending the text", {"#1", "B1-0-"}, 201, EveryFloor("B1-0-", "B1", "0")},
        // A name holding "-" is cut at its own dash (the stored format cannot tell).
        {"name with a dash", {"#1", "A-B-0-5"}, 201, EveryFloor("A-B-0-5", "A", "0")},
        // A position beyond an int is held at its limit, not wrapped.
        {"floor 0, position beyond an int", {"#1", "B1-0-99999999999999999999"}, 201,
         EveryFloor("B1-0-99999999999999999999", "B1", "2147483647")},
        {"floor 0, negative position", {"#1", "B1-0--99999999999999999999"}, 201,
         EveryFloor("B1-0--99999999999999999999", "B1", "-2147483648")},
        {"floor 0 among two", {"#2", "B1-0-5", "B1-3-5"}, 2, {"B1-0-5", "B1-3-5"}},
        // Only a stored count of 1 stands for every floor: a list cut short to one floor-0
        // identifier, or one whose other items are no strings, is read as it is.
        {"floor 0 in a list cut short", {"#5", "B1-0-5"}, 1, {"B1-0-5"}},
        {"floor 0 beside a long", {"#2", "#7", "B1-0-5"}, 1, {"B1-0-5"}},
        {"a leading -0- is no floor", {"#1", "-0-5"}, 1, {"-0-5"}},
        {"empty list", {"#0"}, 0, {}},
        // Written by another program:
        {"count beyond the items", {"#5", "A-1-1", "A-2-1"}, 2, {"A-1-1", "A-2-1"}},
        {"count below zero", {"#-3", "A-1-1"}, 0, {}},
        {"huge count", {"#2147483647", "A-1-1"}, 1, {"A-1-1"}},
        {"no count", {"A-1-1", "A-2-1"}, 0, {}},
        {"a long among the identifiers", {"#2", "#7", "A-1-1"}, 1, {"A-1-1"}},
        {"a lone long", {"#1", "#7"}, 0, {}},
        {"no items", {}, 0, {}},
    };
    for (const auto& c : cases) {
        std::vector<CString> ids;
        EXPECT_EQ(GetBuildWinInfo(Entity(Body(c.items)), ids), c.result) << c.what;
        EXPECT_THAT(Texts(ids), ElementsAreArray(c.ids)) << c.what;
    }
    // No record, and what is no body (with the assertion).
    std::vector<CString> ids;
    EXPECT_EQ(GetBuildWinInfo(Entity(AddSolid(new decDbBox(1, 1, 1))), ids), 0);
    EXPECT_EQ(GetBuildWinInfo(Entity(AddLine({0, 0, 0}, {10, 0, 0})), ids), 0);
    EXPECT_EQ(GetBuildWinInfo(nullptr, ids), 0);
    EXPECT_TRUE(ids.empty());
    EXPECT_EQ(CountOf(Transcript(), "表达式失败< pEnt3d != NULL >"), 2) << Transcript();
}

TEST_F(WinBelongBuildTest, AttachDetachAndTheBodiesThatCarryARecord)
{
    const decObjectId a = AddSolid(new decDbBox(1, 1, 1));
    const decObjectId b = AddSolid(new decDbBox(1000, 1000, 3000));
    WinBelongBuild::AttachWindowIds(Entity(b), {});
    WinBelongBuild::AttachWindowIds(Entity(b), {"B1-3-2", "甲楼-0-5"});
    // The earlier record stays (callers detach first); a body with a list shows it in its colour.
    EXPECT_THAT(XData(b, kApp), ElementsAre(ElementsAre("#0"), ElementsAre("#2", "B1-3-2", "甲楼-0-5")));
    EXPECT_EQ(Entity(b)->GetEntityColor().GetColor(), 0xFFFFu);
    EXPECT_EQ(Entity(b)->IsOpenForRead(), 0);
    // A curve is no body that could shade a window; null is nothing at all.
    const decObjectId line = AddLine({0, 0, 0}, {10, 0, 0});
    WinBelongBuild::AttachWindowIds(Entity(line), {"A-1-1"});
    WinBelongBuild::AttachWindowIds(nullptr, {"A-1-1"});
    EXPECT_TRUE(Entity(line)->XDataApps().empty());
    EXPECT_FALSE(Entity(line)->HasEntityColor());

    const decObjectId c = Body({"#0"});
    const decObjectId d = Body({"#1", "A-1-1"});
    EntityArray none, result;
    host::EventLog::Instance().Clear();
    EXPECT_EQ(GetBuild(none, result), 0);
    EXPECT_TRUE(host::EventLog::Instance().Calls("EnumEntityTable").empty());
    EntityArray candidates = {Entity(c), Entity(a), Entity(d)};
    EXPECT_EQ(GetBuild(candidates, result), 1);
    EXPECT_THAT(result, ElementsAre(Entity(c), Entity(d)));
    EntityArray carriers = {Entity(a)};
    EXPECT_EQ(WinBelongBuild::GetAllBuild(carriers), 3u);
    EXPECT_THAT(carriers, ElementsAre(Entity(b), Entity(c), Entity(d)));

    // Detaching removes every record (two, written by another program); a body without one is
    // recoloured all the same.
    AddXData(d, kApp, {"#1", "A-2-1"});
    WinBelongBuild::DetachWindowIds(Entity(d));
    EXPECT_TRUE(XData(d, kApp).empty());
    WinBelongBuild::DetachWindowIds(Entity(a));
    EXPECT_EQ(Entity(a)->GetEntityColor().GetColor(), 0xACACACu);
    EntityArray left;
    EXPECT_EQ(GetBuild(candidates, left), 1);
    EXPECT_THAT(left, ElementsAre(Entity(c)));
}

// ---- the command -------------------------------------------------------------------

class WinBelongBuildCommandTest : public WinBelongBuildTest {
protected:
    void SetUp() override
    {
        WinBelongBuildTest::SetUp();
        AddBuilding("B1", 12000, Square(0, 0, 10000));
        GeMatrix3d at;
        at.SetToTranslation(GeVector3d(1000, -1000, 300));
        bay = AddSolid(new decDbBox(2000, 1000, 9000), at);
        Tag(bay, "B1");
        unnamed = AddBuilding("", 3000, Square(20000, 0, 5000));
        w32 = AddWindow({.building = "B1", .floor = 3, .index = 2, .sill = {2000, 0, 6900}});
        w42 = AddWindow({.building = "B1", .floor = 4, .index = 2, .sill = {2000, 0, 9800}});
        other = AddWindow({.building = "B2", .floor = 3, .index = 2});
    }
    std::vector<std::string> ReadBack() const
    {
        std::vector<CString> ids;
        GetBuildWinInfo(Entity(bay), ids);
        return Texts(ids);
    }
    decObjectId bay, unnamed, w32, w42, other;
};

TEST_F(WinBelongBuildCommandTest, WindowsOfTheBuildingAreWrittenReplacedKeptOnEscAndCleared)
{
    // Two stale lists written by another program: the new list replaces both.
    AddXData(bay, kApp, {"#1", "B1-7-7"});
    AddXData(bay, kApp, {"#1", "B1-0-9"});
    // The unnamed building is refused and asked again; the window of B2 is not taken.
    Script("winbld\n" + Handle(unnamed) + "\n" + Handle(bay) + "\n" + Handle(w42) + " " + Handle(other) + " " +
           Handle(w32) + "\n");
    EXPECT_THAT(ReadBack(), ElementsAre("B1-4-2", "B1-3-2"));
    EXPECT_THAT(XData(bay, kApp), ElementsAre(ElementsAre("#2", "B1-4-2", "B1-3-2")));
    EXPECT_EQ(Db()->GetTempGraphics().GetPolylineCount(), 0);
    Script("list " + Handle(bay) + "\n");
    EXPECT_THAT(Transcript(), HasSubstr("xdata WIN_BELONG_BLD=2,\"B1-4-2\",\"B1-3-2\" colour=0xFFFF extents"));
    EXPECT_EQ(CountOf(Transcript(), "错误：选中建筑物没有命名，附属建筑物必须命名！请重新选择。"), 1);
    EXPECT_THAT(Transcript(), HasSubstr(Handle(other) + " QCWindow is not taken here"));

    // Run again, the list is replaced; Esc at the windows keeps it and the mark of the bay.
    Script("winbld\n" + Handle(bay) + "\n" + Handle(w32) + "\nwinbld\n" + Handle(bay) + "\n*cancel*\n");
    EXPECT_THAT(ReadBack(), ElementsAre("B1-3-2"));
    EXPECT_EQ(Entity(bay)->XDataApps().size(), 2u);  // the tag and one list
    EXPECT_THAT(Transcript(), HasSubstr("提示：取消选择，退出命令。"));
    // The mark is the bottom rectangle of the bay's extents.
    const std::vector<TempPolyline>& marks = Db()->GetTempGraphics().Polylines();
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_EQ(marks[0].colour, 0xFFu);
    ExpectPointsNear(marks[0].points, {{1000, -1000, 300}, {3000, -1000, 300}, {3000, 0, 300}, {1000, 0, 300},
                                       {1000, -1000, 300}});

    // An empty selection clears the list; a cancelled building pick ends the command.
    Script("winbld\n" + Handle(bay) + "\n\nwinbld\n取消\n");
    EXPECT_EQ(WinBelongBuild::HasWindowIds(Entity(bay)), 0);
    EXPECT_EQ(Entity(bay)->GetEntityColor().GetColor(), 0xACACACu);
    EXPECT_THAT(Transcript(), HasSubstr("提示：清除附属信息"));
    EXPECT_THAT(Transcript(), HasSubstr("选择取消，退出命令"));
}

// ---- relabelling and winbld ---------------------------------------------------------

// Building A1 with two storeys of two columns, the east one at position 1 and the west one at
// position 2, 7.5 m apart, a window A1-1-3 between them, one A1-0-5 (and at will a second window
// A1-1-1 further east), building B1 with a column at position 1, a window of no building on
// floor 0, two of building "B-2" below ground, the bodies of buildings A1, B1 and C2 to pick;
// bodies whose records name them: the west column (a bay), windows of both buildings, a lone
// floor-0 column, a list written by another program in two records, an identifier naming no
// window, one window of B1 alone, one window of "B-2".
class WinBelongRenumberTest : public WinBelongBuildTest {
protected:
    void Build(bool twin)
    {
        const std::tuple<const char*, const char*, int, int, double> layout[] = {
            {"{E11}", "A1", 1, 1, 10250}, {"{E21}", "A1", 2, 1, 10250}, {"{W12}", "A1", 1, 2, 2750},
            {"{W22}", "A1", 2, 2, 2750},  {"{M13}", "A1", 1, 3, 6500},  {"{A05}", "A1", 0, 5, 4500},
            {"{B11}", "B1", 1, 1, 30000}, {"{B21}", "B1", 2, 1, 30000}, {"{U05}", "", 0, 5, 50000},
            {"{D}", "B-2", -1, 1, 70000}, {"{D2}", "B-2", -1, 2, 72000}, {"{TWIN}", "A1", 1, 1, 14000}};
        for (const auto& [mark, building, floor, index, x] : layout)
            if (twin || std::string(mark) != "{TWIN}")
                marks.emplace_back(mark, AddWindow({.building = building, .floor = floor, .index = index,
                                                    .sill = {x, 0, 3000.0 * floor}}));
        const decObjectId bay = AddSolid(new decDbBox(2500, 1500, 6000));
        Tag(bay, "A1");
        WinBelongBuild::AttachWindowIds(Entity(bay), {"A1-1-2", "A1-2-2"});
        carriers = {bay,         Body({"#3", "A1-1-1", "B1-1-1", "A1-2-1"}), Body({"#1", "A1-0-2"}),
                    Body({"#3", "A1-2-1", "#7", "A1-1-2"}), Body({"#2", "A1-9-9", "A1-1-2"}), Body({"#1", "B1-1-1"}),
                    Body({"#1", "B-2--1-1"})};
        AddXData(carriers[3], kApp, {"#1", "A1-2-2"});
        marks.emplace_back("{BAY}", bay);
        for (const auto& [mark, name, x] :
             {std::tuple{"{A1}", "A1", 0.0}, {"{B1}", "B1", 25000.0}, {"{C2}", "C2", 60000.0}})
            marks.emplace_back(mark, AddBuilding(name, 9000, Square(x, 0, 10000)));
    }
    // Every record, then the names of the three buildings and the bay.
    std::string RecordsAndNames() const
    {
        std::string all;
        for (const decObjectId& carrier : carriers)
            all += Records(carrier) + "/";
        for (const decObjectId& id : {Marked("{A1}"), Marked("{B1}"), Marked("{C2}"), carriers[0]}) {
            CString name;
            BuildName(Entity(id), name);
            all += name.str() + " ";
        }
        return all;
    }
    decObjectId Marked(const std::string& mark) const
    {
        return std::ranges::find(marks, mark, &std::pair<std::string, decObjectId>::first)->second;
    }
    std::vector<std::pair<std::string, decObjectId>> marks;
    std::vector<decObjectId> carriers;
};

// The named cases of relabelling and of winbld, as the lines a user types, then the records
// (the bay's, the two buildings', the column's, one more body's) and each refusal, which names
// the identifier, where its other bearer stands and the command's advice. A rename into a name
// in use and back, orderindex over part of a floor or onto a number in use and back, and winbld
// over a window whose twin is not picked are refused; a column's record follows its windows
// while they stay one column and otherwise gives way to their identifiers; a list written by
// another program keeps its long and its records; an identifier a record holds and no window
// bears (as an erased window leaves it) is taken; a record of one window of floor 0 is written
// twice, so it never stands for the column; a record whose count would pass its 32 bits is left
// as it was, with a message.
TEST_F(WinBelongRenumberTest, RelabellingAndWinbldKeepTheRecordsOrAreRefusedWithAdvice)
{
    constexpr const char* kOneTwin = "#2 A1-1-2 A1-2-2/#4 A1-1-1 A1-1-4 B1-1-1 A1-2-1/#1 A1-0-2";
    constexpr const char* kUntouched = "#2 A1-1-2 A1-2-2/#3 A1-1-1 B1-1-1 A1-2-1/#1 A1-0-2";
    const struct {
        const char* what;
        std::vector<std::string> steps;
        bool twin;
        const char* records;  // afterwards: the bay, the two buildings', the column
        std::vector<std::vector<std::string>> extra = {};  // one more body's records, and afterwards
        const char* extraAfter = "";
        int tooLong = 0;
        std::vector<std::string> refused = {};  // the identifiers and places the refusals name
        const char* advice = kPanelAdvice;
    } cases[] = {
        {"orderindex swaps the columns", {"orderindex\n{E11} {E21} {W12} {W22}\n1\n*cancel*\n"}, false,
         "#2 A1-1-1 A1-2-1/#3 A1-1-2 B1-1-1 A1-2-2/#1 A1-0-1"},
        // The window between would take the west column's number, which the bay names.
        {"orderindex of part of a floor", {"orderindex\n{M13} {E11}\n2\n*cancel*\n"}, false, kUntouched, {}, "", 0,
         {"A1-1-2@6500,0,3000"}, kIndexAdvice},
        {"orderindex onto a number in use and back",
         {"orderindex\n{W12}\n1\n*cancel*\n", "orderindex\n{W12}\n2\n*cancel*\n"}, false, kUntouched, {}, "", 0,
         {"A1-1-1@10250,0,3000"}, kIndexAdvice},
        {"orderfloor onto the floor below", {"orderfloor\n{W22}\n1\n*cancel*\n"}, false, kUntouched, {}, "", 0,
         {"A1-1-2@2750,0,6000"}, kFloorAdvice},
        {"namebld into a name in use with the windows, and back",
         {"namebld\nB1\n{A1}\nyes\n\n*cancel*\n", "namebld\nA1\n{A1}\n\n*cancel*\n"}, false, kUntouched, {},
         "", 0, {"B1-2-1@30000,0,6000"}, kNameAdvice},
        {"namebld of a building with its windows", {"namebld\nD1\n{A1}\nyes\n\n*cancel*\n"}, false,
         "#2 D1-1-2 D1-2-2/#3 D1-1-1 B1-1-1 D1-2-1/#1 D1-0-2", {{"#3", "A1-1-1", "#7", "A1-1-2"}, {"#1", "A1-2-1"}},
         "#3 D1-1-1 #7 D1-1-2|#1 D1-2-1"},
        {"namebld of a building and a window", {"namebld\nD1\n{A1} {W12}\nno\n\n*cancel*\n"}, false,
         "#2 D1-1-2 A1-2-2/#3 A1-1-1 B1-1-1 A1-2-1/#2 D1-1-2 A1-2-2"},
        {"a window of no building on floor 0 named", {"namebld\nC1\n{U05}\n\n*cancel*\n"}, false, kUntouched,
         {{"#1", "-0-5"}}, "#2 C1-0-5 C1-0-5"},
        {"the panel's position onto another window's", {"setprop {W12} 0 1\n"}, false, kUntouched, {}, "", 0,
         {"A1-1-1@10250,0,3000"}},
        {"a name holding \"-\" below ground", {"setprop {D2} 0 1\n", "setprop {D} 0 4\n"}, false, kUntouched, {}, "",
         0, {"B-2--1-1@72000,0,-3000"}},
        {"onto an identifier a record holds and no window bears", {"setprop {M13} 1 9\n", "setprop {M13} 0 9\n"},
         false, kUntouched},
        {"a count up to its limit", {"orderindex\n{TWIN}\n4\n*cancel*\n"}, true, kOneTwin,
         {{"#2147483646", "A1-1-1"}}, "#2147483647 A1-1-1 A1-1-4"},
        {"a count past its limit", {"orderindex\n{TWIN}\n4\n*cancel*\n"}, true, kOneTwin,
         {{"#2147483647", "A1-1-1"}}, "#2147483647 A1-1-1", 1},
        {"winbld over a window and its twin", {"winbld\n{BAY}\n{E11} {TWIN}\n"}, true,
         "#2 A1-1-1 A1-1-1/#3 A1-1-1 B1-1-1 A1-2-1/#1 A1-0-2"},
        {"winbld over a window whose twin is not picked", {"winbld\n{BAY}\n{W12} {E11}\n"}, true, kUntouched, {},
         "", 0, {"A1-1-1@14000,0,3000"}, kTwinAdvice},
        {"winbld over a lone window of floor 0", {"winbld\n{BAY}\n{A05}\n"}, false,
         "#2 A1-0-5 A1-0-5/#3 A1-1-1 B1-1-1 A1-2-1/#1 A1-0-2"},
    };
    for (const auto& c : cases) {
        SetUp();
        marks.clear();
        Build(c.twin);
        const decObjectId extra = Body(c.extra.empty() ? std::vector<std::string>() : c.extra[0]);
        for (std::size_t i = 1; i < c.extra.size(); ++i)
            AddXData(extra, kApp, c.extra[i]);
        for (const std::string& step : c.steps)
            Script(WithHandles(step, marks));
        EXPECT_EQ(Records(carriers[0]) + "/" + Records(carriers[1]) + "/" + Records(carriers[2]), c.records)
            << c.what;
        EXPECT_EQ(Records(extra), c.extraAfter) << c.what;
        EXPECT_EQ(CountOf(Transcript(), kRecordTooLong), c.tooLong) << c.what;
        EXPECT_EQ(CountOf(Transcript(), "修改未执行"), std::ssize(c.refused)) << c.what;
        for (const std::string& id : c.refused)
            EXPECT_THAT(Transcript(), HasSubstr(Refusal(id, c.advice))) << c.what;
        EXPECT_EQ(Entity(carriers[0])->GetEntityColor().GetColor(), 0xFFFFu) << c.what;
    }
}

// Windows picked together take a building name all or none: two that would bear one identifier
// a record names for only one of them are refused together.
TEST_F(WinBelongRenumberTest, WindowsPickedTogetherOntoOneIdentifierAreRefusedTogether)
{
    Build(false);
    const std::string records = RecordsAndNames();
    CWindow* east = Window(Marked("{E11}"));
    decObject* objects[] = {east, Window(Marked("{B11}"))};
    Answer(Handle(Marked("{C2}")) + "\n");
    int reference = 0;
    EXPECT_EQ(east->OnPropertyOtherEdit(4, "", 2, objects, reference), 0);
    EXPECT_THAT(Transcript(), HasSubstr(Refusal("C2-1-1@10250,0,3000", kPanelAdvice)));
    EXPECT_EQ(east->BuildName(), "A1");
    EXPECT_EQ(Window(Marked("{B11}"))->BuildName(), "B1");
    EXPECT_EQ(RecordsAndNames(), records);
}

}  // namespace
