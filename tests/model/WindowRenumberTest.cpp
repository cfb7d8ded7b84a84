// Renumbering, households and flipping of windows that stand in the drawing: the lines a
// user types, then the windows' numbers and frames.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "OwnershipRecords.h"
#include "ReOrderWindowFloor.h"
#include "WindowDoor.h"
#include "WindowTestSupport.h"

using ::testing::HasSubstr;

namespace {

class WindowRenumberTest : public WindowModelTest {
protected:
    // The field of each window.
    std::vector<int> Of(std::initializer_list<decObjectId> ids, int (CWindow::*field)() const) const
    {
        std::vector<int> values;
        for (const decObjectId& id : ids)
            values.push_back((Window(id)->*field)());
        return values;
    }
};

TEST_F(WindowRenumberTest, DistinctFloorsBecomeConsecutiveAcrossBuildings)
{
    const decObjectId a3 = AddWindow({.building = "A座", .floor = 3, .index = 4});
    const decObjectId b3 = AddWindow({.building = "B座", .floor = 3, .index = 1, .sill = {20000, 0, 0}});
    const decObjectId a7 = AddWindow({.building = "A座", .floor = 7});
    const decObjectId b12 = AddWindow({.building = "B座", .floor = 12, .sill = {20000, 0, 0}});
    const decObjectId other = AddWindow({.floor = 20});
    // Enter takes the offered start; the next pass offers one after the last floor given.
    Script("orderfloor\n#4 #2 #1 #3\n\n#5\n\n\n");
    EXPECT_EQ(Of({a3, b3, a7, b12, other}, &CWindow::Floor), std::vector<int>({1, 1, 2, 3, 4}));
    // Other fields stay.
    EXPECT_EQ(Window(a3)->Index(), 4);
    EXPECT_EQ(Window(b12)->BuildName(), "B座");
    EXPECT_THAT(Transcript(), HasSubstr("输入起始层号[4]:"));
    EXPECT_EQ(g_startWindowFloor, 5);
}

TEST_F(WindowRenumberTest, TypedStartFloors)
{
    const decObjectId w = AddWindow({.floor = 9});
    struct Case {
        const char* answer;
        int floor;       // afterwards; -1: no pass was made
        int nextStart;
        bool asksAgain = false;
    };
    const Case cases[] = {
        {"-5", 5, 6},      // a leading minus is ignored
        {"--12", 12, 13},
        {"0", 0, 1},
        {"abc", -1, 1, true},          // no number: asked again (and then cancelled)
        {"99999999999", -1, 1, true},  // beyond an int: asked again
        {"--", -1, 1},     // nothing left: the command ends
    };
    for (const Case& c : cases) {
        Window(w)->OpenForWrite();
        Window(w)->SetFloor(9);
        Window(w)->Close();
        g_startWindowFloor = 1;
        // A point picked at the start question asks again.
        const bool ends = c.floor == -1 && !c.asksAgain;
        Script(std::string("orderfloor\n#1\n1,1\n") + c.answer + (ends ? "\n" : "\n*cancel*\n"));
        EXPECT_EQ(Window(w)->Floor(), c.floor == -1 ? 9 : c.floor) << c.answer;
        EXPECT_EQ(g_startWindowFloor, c.nextStart) << c.answer;
    }
    EXPECT_EQ(CountOf(Transcript(), "输入起始层号[1]:"), 2 * 6 + 2);
}

TEST_F(WindowRenumberTest, PositionsRunAlongXThenYFloorByFloorFromTheStart)
{
    // Floor 1: x = 0, and two windows within 0.001 in x near 1000 (y 5 and y 2); z plays no
    // part.
    const decObjectId left = AddWindow({.floor = 1, .index = 9, .sill = {0, 0, 900}});
    const decObjectId y5 = AddWindow({.floor = 1, .index = 9, .sill = {1000, 5, 900}});
    const decObjectId y2 = AddWindow({.floor = 1, .index = 9, .sill = {1000.0008, 2, 4000}});
    // Floor 2 on a facade along Y: numbered by y, also from the start.
    const decObjectId north = AddWindow({.floor = 2, .sill = {0, 3000, 3800}, .outward = {-1, 0, 0}});
    const decObjectId south = AddWindow({.floor = 2, .sill = {0, 1000, 3800}, .outward = {-1, 0, 0}});
    Script("orderindex\n#2 #4 #1 #3 #5\n-3\n*cancel*\n");
    EXPECT_EQ(Of({left, y2, y5, south, north}, &CWindow::Index), std::vector<int>({3, 4, 5, 3, 4}));
    EXPECT_EQ(Window(north)->Floor(), 2);
    // One after the last number of the highest floor.
    EXPECT_EQ(g_startWindowIndex, 5);
}

TEST_F(WindowRenumberTest, EntitiesThatAreNoWindowsAreReportedAndSkipped)
{
    const decObjectId building = AddBuilding("A座", 9000, Square(0, 0, 5000));
    const decObjectId w = AddWindow({.floor = 4});
    const EntityArray mixed = {Entity(building), Entity(w)};
    std::vector<WindowFloorRecord> records = CollectWindowFloorRecords(mixed);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_THAT(Transcript(), HasSubstr("重排层号窗异常！"));
    WinBelongBuild::OwnershipRecords owners;
    WriteWindowFloors(records, 2, owners);
    EXPECT_EQ(Window(w)->Floor(), 2);
    EXPECT_EQ(BuildWindowSortRecords(mixed).size(), 1u);
}

TEST_F(WindowRenumberTest, HouseholdsTakeEachWindowsOwnFloorAndAReasonableRoomCount)
{
    const decObjectId f5 = AddWindow({.floor = 5, .door = "3-A"});
    const decObjectId f6 = AddWindow({.floor = 6, .sill = {3000, 0, 0}});
    // The suggestion drops the earlier floor prefix; Enter takes it; 0 and 51 rooms are
    // refused, 2.9 is 2. The next cycle: a new name without the prefix, rooms offered as 2.
    Script("windoor\n#1 #2\n\ny\n0\n51\n2.9\n#2\nB\nn\n\n*cancel*\n");
    EXPECT_EQ(Window(f5)->Door(), "5-A");
    EXPECT_EQ(Window(f5)->Room(), 2);
    EXPECT_EQ(Window(f6)->Door(), "B");
    EXPECT_EQ(Window(f6)->Room(), 2);
    // The second cycle's suggestion comes from 6-A, written by the first.
    EXPECT_EQ(CountOf(Transcript(), "请输入分户名称<A>:"), 2);
    EXPECT_EQ(CountOf(Transcript(), "错误：请输入一个合理的居室数。"), 2);

    // A room count too large for any number is refused, not undefined; ending the prefix
    // question means no prefix; a cancelled question changes nothing.
    Script("windoor\n#1\nC\n*end*\n1e300\n7\n#2\nD\n*cancel*\n");
    EXPECT_EQ(Window(f5)->Door(), "C");
    EXPECT_EQ(Window(f5)->Room(), 7);
    EXPECT_EQ(Window(f6)->Door(), "B");
}

// The floor prefix question defaults to 是: Enter adds the prefix like Y; only an answer
// starting with another letter, or ending the question, leaves it off.
TEST_F(WindowRenumberTest, TheFloorPrefixIsTakenOnEnterAndLeftOffOnlyWhenDeclined)
{
    const decObjectId f5 = AddWindow({.floor = 5});
    const std::pair<const char*, const char*> cases[] = {
        {"\n", "5-E"}, {"y\n", "5-E"}, {"Yes\n", "5-E"}, {"n\n", "E"}, {"x\n", "E"}, {"*end*\n", "E"},
    };
    for (const auto& [answer, door] : cases) {
        Script(std::string("windoor\n#1\nE\n") + answer + "3\n*cancel*\n");
        EXPECT_EQ(Window(f5)->Door(), door) << answer;
        EXPECT_EQ(Window(f5)->Room(), 3) << answer;
    }
    EXPECT_EQ(CountOf(Transcript(), "分户名称前是否自动加层号前缀？[是(Y)/否(N)]<是>:"), 6);
}

TEST(WindowDoorTest, SuggestionDropsAFloorPrefix)
{
    const std::pair<const char*, const char*> cases[] = {
        {"3-A", "A"}, {"12-3-B", "3-B"}, {"-A", "-A"}, {"A", "A"}, {"", ""}, {"5-", ""},
    };
    for (const auto& [door, suggestion] : cases)
        EXPECT_EQ(SuggestedDoorName(door), suggestion) << door;
}

TEST_F(WindowRenumberTest, FlippedWindowFacesTheOtherWayAboutItsOrigin)
{
    const decObjectId w = AddWindow({.floor = 3, .index = 2, .sill = {1600, 0, 6700}});
    const decObjectId kept = AddWindow({.floor = 3, .index = 3, .sill = {3600, 0, 6700}});
    Script("flipwin\n#1\n");
    GePoint3d origin;
    GeVector3d x, y, z;
    Entity(w)->GetLocalTM().GetCoordSystem(origin, x, y, z);
    ExpectNearPoint(origin, {1600, 0, 6700}, "origin", 1e-6);
    // Half a turn in single precision: off by less than a micrometre per metre.
    ExpectNearPoint(GePoint3d() + y, {0, 1, 0}, "y", 1e-6);
    ExpectNearPoint(GePoint3d() + x, {1, 0, 0}, "x", 1e-6);
    ExpectNearVector(z, GeVector3d::kZAxis, "z");
    EXPECT_EQ(Window(w)->Index(), 2);
    Entity(kept)->GetLocalTM().GetCoordSystem(origin, x, y, z);
    ExpectNearVector(y, {0, -1, 0}, "unselected");

    Script("flipwin\n\nflipwin\n*cancel*\n");
    EXPECT_EQ(CountOf(Transcript(), "提示：没有选中窗对象！命令退出。"), 1);
}

}  // namespace
