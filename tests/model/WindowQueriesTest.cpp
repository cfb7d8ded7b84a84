// Window queries of the model helpers: recognition, owning building, collection,
// selection, the walk into buildings and others, and the ordering by numbers.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "EventLog.h"
#include "ExtrudeBuild.h"
#include "HostSolids.h"
#include "ModelHelperWindows.h"
#include "WindowTestSupport.h"
#include "WorkingDrawing.h"
#include "decDbCurve.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

const GePoint3dArray kSquare = {{0, 0, 0}, {10000, 0, 0}, {10000, 8000, 0}, {0, 8000, 0}};

class WindowQueryTest : public WindowModelTest {
protected:
    // "building floor-position" of a window entity, for readable expectations.
    static std::string Key(const decDbEntity* entity)
    {
        const CWindow* w = entity ? CWindow::Cast(entity->GetBaseObject()) : nullptr;
        if (!w)
            return "-";
        return std::string(w->BuildName().GetString()) + " " + std::to_string(w->Floor()) + "-" +
               std::to_string(w->Index());
    }
    static std::vector<std::string> Keys(const EntityArray& entities)
    {
        std::vector<std::string> keys;
        for (const decDbEntity* e : entities)
            keys.push_back(Key(e));
        return keys;
    }
};

decDbPolyline* Line()
{
    const GePoint3d pts[] = {{0, 0, 0}, {5, 0, 0}};
    return new decDbPolyline(2, pts, 0);
}

TEST_F(WindowQueryTest, WindowsAreRecognisedAndTellTheirBuilding)
{
    const decObjectId owned = AddWindow({.building = "甲楼"});
    const decObjectId free = AddWindow({});
    const decObjectId building = AddBuilding("甲楼", 3000, kSquare);
    const decObjectId box = AddSolid(new decDbBox(1, 1, 1));
    const decObjectId line = AddEntity(Line());

    EXPECT_EQ(IsWindow(nullptr), 0);
    EXPECT_EQ(IsWindow(Entity(owned)), 1);
    EXPECT_EQ(IsWindow(Entity(free)), 1);
    for (const decObjectId& id : {building, box, line})
        EXPECT_EQ(IsWindow(Entity(id)), 0);

    CString name = "keep";
    EXPECT_EQ(WindowBelongBuildName(Entity(owned), name), 1);
    EXPECT_EQ(name, "甲楼");
    EXPECT_EQ(WindowBelongBuildName(Entity(free), name), 0);
    EXPECT_EQ(name, "");
    name = "keep";
    EXPECT_EQ(WindowBelongBuildName(Entity(building), name), 0);
    EXPECT_EQ(WindowBelongBuildName(nullptr, name), 0);
    EXPECT_EQ(name, "keep");
}

TEST_F(WindowQueryTest, GetAllWindowReplacesTheArrayWithEveryLiveWindowInDrawingOrder)
{
    EntityArray found = {nullptr, nullptr};
    EXPECT_EQ(GetAllWindow(found), 0);
    EXPECT_TRUE(found.empty());

    AddWindow({.building = "B", .floor = 2});
    AddBuilding("B", 3000, kSquare);
    const decObjectId erased = AddWindow({.building = "X"});
    AddWindow({.building = "A", .floor = 1});
    {
        DbAutoOpen open;
        Entity(erased)->OpenForWrite();
        Entity(erased)->Erase();
        Entity(erased)->Close();
    }
    found = {Entity(erased)};
    EXPECT_EQ(GetAllWindow(found), 1);
    EXPECT_THAT(Keys(found), ElementsAre("B 2-1", "A 1-1"));
}

TEST_F(WindowQueryTest, SelectWindowAppendsWhatTheFilterTakes)
{
    const decObjectId w1 = AddWindow({.building = "A", .index = 1});
    AddBuilding("A", 3000, kSquare);
    AddWindow({.building = "A", .index = 2});

    EntityArray picked = {Entity(w1)};
    Answer("#3 #2 #1\n");
    EXPECT_EQ(SelectWindow(picked, "请选择窗口："), 1);
    EXPECT_THAT(Keys(picked), ElementsAre("A 1-1", "A 1-2", "A 1-1"));
    EXPECT_THAT(Transcript(), HasSubstr("请选择窗口："));

    // An empty selection into a filled array still answers 1; into an empty one 0.
    Answer("\n");
    EXPECT_EQ(SelectWindow(picked, "选窗"), 1);
    EXPECT_EQ(picked.size(), 3u);
    EntityArray none;
    Answer("\n");
    EXPECT_EQ(SelectWindow(none, "选窗"), 0);

    // A cancel says so and leaves the array.
    host::EventLog::Instance().Clear();
    Answer("*cancel*\n");
    EXPECT_EQ(SelectWindow(picked, "选窗"), 0);
    EXPECT_EQ(picked.size(), 3u);
    EXPECT_THAT(Transcript(), HasSubstr("选择取消，退出命令"));
    EXPECT_THAT(host::EventLog::Instance().Calls("ClearSelectSet"), ::testing::Contains("ClearSelectSet 1"));
}

TEST_F(WindowQueryTest, OneWalkSplitsBuildingsFromOthers)
{
    const decObjectId named = AddBuilding("甲楼", 3000, kSquare);
    const decObjectId unnamed = AddBuilding("", 3000, kSquare);
    AddWindow({.building = "甲楼"});
    const decObjectId free = AddWindow({});
    const decObjectId box = AddSolid(new decDbBox(1, 1, 1));
    const decObjectId taggedEmpty = AddSolid(new decDbBox(2, 2, 2));
    Tag(taggedEmpty, "");
    const decObjectId tagged = AddSolid(new decDbBox(3, 3, 3));
    Tag(tagged, "乙楼");
    AddEntity(Line());

    EntityArray buildings = {nullptr};
    EntityArray others = {nullptr};
    EXPECT_EQ(ModelHelper::GetAllBuild(buildings, others), 1);
    EXPECT_THAT(buildings, ElementsAre(Entity(named), Entity(unnamed), Entity(taggedEmpty), Entity(tagged)));
    EXPECT_THAT(others, ElementsAre(Entity(unnamed), Entity(free), Entity(box), Entity(taggedEmpty)));

    host::NewDrawing();
    EXPECT_EQ(ModelHelper::GetAllBuild(buildings, others), 0);
    EXPECT_TRUE(buildings.empty());
    EXPECT_TRUE(others.empty());
}

// ---- ordering ----------------------------------------------------------------------

TEST_F(WindowQueryTest, OrderingOfTwoBuildingsOverThreeFloors)
{
    // Made in a scrambled order: building B first, floors and positions mixed.
    const struct {
        const char* building;
        int floor, index;
    } made[] = {{"B", 2, 1}, {"A", 3, 2}, {"A", 1, 2}, {"B", 1, 1}, {"A", 2, 1}, {"A", 1, 1},
                {"A", 3, 1}, {"B", 3, 1}, {"A", 2, 2}, {"B", 1, 2}};
    for (const auto& m : made)
        AddWindow({.building = m.building, .floor = m.floor, .index = m.index});
    EntityArray windows;
    ASSERT_EQ(GetAllWindow(windows), 1);

    std::sort(windows.begin(), windows.end(), LessWindowByNumber{1});
    EXPECT_THAT(Keys(windows), ElementsAre("A 1-1", "A 1-2", "A 2-1", "A 2-2", "A 3-1", "A 3-2", "B 1-1", "B 1-2",
                                           "B 2-1", "B 3-1"));
    std::sort(windows.begin(), windows.end(), LessWindowByNumber{0});
    EXPECT_THAT(Keys(windows), ElementsAre("A 1-1", "A 2-1", "A 3-1", "A 1-2", "A 2-2", "A 3-2", "B 1-1", "B 2-1",
                                           "B 3-1", "B 1-2"));
    // Any non-zero mode orders floors first.
    std::sort(windows.begin(), windows.end(), LessWindowByNumber{-7});
    EXPECT_EQ(Key(windows[1]), "A 1-2");
}

TEST_F(WindowQueryTest, OrderingComparesNamesByteWiseAndNumbersSigned)
{
    const decObjectId upper = AddWindow({.building = "B"});
    const decObjectId lower = AddWindow({.building = "a"});
    const decObjectId jia = AddWindow({.building = "甲"});  // E7 94 B2
    const decObjectId yi = AddWindow({.building = "乙"});   // E4 B9 99
    const decObjectId f2p1 = AddWindow({.building = "C", .floor = 2, .index = 1});
    const decObjectId f1p2 = AddWindow({.building = "C", .floor = 1, .index = 2});
    const decObjectId below = AddWindow({.building = "C", .floor = -1, .index = 5});

    const LessWindowByNumber byPosition{0}, byFloor{1};
    EXPECT_TRUE(byFloor(Entity(upper), Entity(lower)));
    EXPECT_FALSE(byFloor(Entity(lower), Entity(upper)));
    EXPECT_TRUE(byFloor(Entity(yi), Entity(jia)));
    EXPECT_TRUE(byFloor(Entity(lower), Entity(yi)));
    // Floor 2 position 1 against floor 1 position 2.
    EXPECT_TRUE(byPosition(Entity(f2p1), Entity(f1p2)));
    EXPECT_FALSE(byFloor(Entity(f2p1), Entity(f1p2)));
    EXPECT_TRUE(byFloor(Entity(f1p2), Entity(f2p1)));
    // Negative floors come first.
    EXPECT_TRUE(byFloor(Entity(below), Entity(f1p2)));
    // Equal keys are equivalent.
    EXPECT_FALSE(byFloor(Entity(f1p2), Entity(f1p2)));
}

TEST_F(WindowQueryTest, NonWindowsOrderAfterEveryWindowWithoutBeingRead)
{
    const decObjectId window = AddWindow({.building = "Z", .floor = 99});
    const decObjectId box = AddSolid(new decDbBox(1, 1, 1));
    const decObjectId line = AddEntity(Line());
    const decObjectId early = AddWindow({.building = "A"});
    const LessWindowByNumber less{1};
    EXPECT_TRUE(less(Entity(window), Entity(box)));
    EXPECT_FALSE(less(Entity(box), Entity(window)));
    EXPECT_FALSE(less(Entity(box), Entity(line)));
    EXPECT_FALSE(less(Entity(line), Entity(box)));
    EXPECT_TRUE(less(Entity(window), nullptr));
    EXPECT_FALSE(less(nullptr, Entity(window)));

    EntityArray mixed = {Entity(box), Entity(window), nullptr, Entity(line), Entity(early)};
    EntityArray keyed = mixed;
    std::stable_sort(mixed.begin(), mixed.end(), less);
    EXPECT_THAT(mixed, ElementsAre(Entity(early), Entity(window), Entity(box), nullptr, Entity(line)));
    // The exports' sort reads each entity's keys once and keeps the same order, ties included.
    SortWindowsByNumber(keyed, 1);
    EXPECT_EQ(keyed, mixed);
}

}  // namespace
