// Building groups: the group record read and written directly, the drawing's groups rebuilt
// from it, and the commands bldgroup and inqgroup driven by script lines.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "DbDatabase.h"
#include "GroupTestSupport.h"
#include "ModuleGlobals.h"
#include "decDbTextAndPoint.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

namespace {

class BuildGroupTest : public GroupTest {
protected:
    std::vector<std::vector<std::string>> Records(const decObjectId& id) const
    {
        return XData(id, g_buildGroupAppName);
    }
};

TEST_F(BuildGroupTest, GroupsComeInTheOrderTheirNamesAreFirstMetAndNamesCompareExactly)
{
    const decObjectId first = AddGroupedBuilding(0, "a");
    const decObjectId window = AddGroupedWindow(5000, "a");
    const decObjectId upper = AddGroupedBox(20000, "A");
    const decObjectId loose = AddGroupedBox(40000, "");
    // A record without a string item still makes a member, of the group with the empty name.
    const decObjectId unnamed = AddGroupedBox(60000, "");
    AddXData(unnamed, g_buildGroupAppName, {"#7"});
    const decObjectId second = AddGroupedBox(80000, "a");
    AddEntity(new decDbText("场地", GePoint3d(), 500));

    std::vector<BuildGroup::CGroupInfo> groups;
    EntityArray ungrouped{nullptr};
    ASSERT_EQ(BuildGroup::GetAllGroupInfo(groups, ungrouped), 1);
    EXPECT_THAT(Names(groups), ElementsAre("a", "A", ""));
    EXPECT_THAT(Handles(groups[0].objects), ElementsAre(Handle(first), Handle(second)));
    EXPECT_THAT(Handles(groups[0].windows), ElementsAre(Handle(window)));
    EXPECT_THAT(Handles(groups[1].objects), ElementsAre(Handle(upper)));
    EXPECT_THAT(Handles(groups[2].objects), ElementsAre(Handle(unnamed)));
    // Only 3-D objects count as ungrouped; the text does not.
    EXPECT_THAT(Handles(ungrouped), ElementsAre(Handle(loose)));

    // The window adds no faces: a building and a box of six faces each.
    BuildGroup::FaceList faces;
    BuildGroup::GetGroupFaces(groups[0], faces);
    EXPECT_EQ(faces.size(), 12u);
}

TEST_F(BuildGroupTest, ADrawingWithoutGroupsLeavesTheCallersGroupsAndStillGivesTheUngrouped)
{
    const decObjectId box = AddGroupedBox(0, "");
    std::vector<BuildGroup::CGroupInfo> groups{{"旧", {}, {}}};
    EntityArray ungrouped{nullptr, nullptr};
    EXPECT_EQ(BuildGroup::GetAllGroupInfo(groups), 0);
    EXPECT_EQ(BuildGroup::GetAllGroupInfo(groups, ungrouped), 0);
    EXPECT_THAT(Names(groups), ElementsAre("旧"));
    EXPECT_THAT(Handles(ungrouped), ElementsAre(Handle(box)));
}

TEST_F(BuildGroupTest, EveryMeshLoopBecomesOneFaceAfterWhatTheListHeld)
{
    const std::vector<GePoint3dArray> loops = {Square(0, 0, 10), Square(20, 0, 10, 5), {{0, 0, 9}, {3, 0, 9}, {0, 3, 9}}};
    BuildGroup::SetGroupName(AddMesh(loops), "网格");
    std::vector<BuildGroup::CGroupInfo> groups;
    ASSERT_EQ(BuildGroup::GetAllGroupInfo(groups), 1);
    BuildGroup::FaceList faces{{GePoint3d(1, 2, 3)}};
    BuildGroup::GetGroupFaces(groups[0], faces);
    ASSERT_EQ(faces.size(), 4u);
    EXPECT_EQ(faces[0].size(), 1u);
    for (std::size_t i = 0; i < loops.size(); ++i)
        ExpectPointsNear(faces[i + 1], loops[i]);
}

TEST_F(BuildGroupTest, TheWriterReportsAnEmptyNameAndRefusesObjectsThatAreNot3D)
{
    const decObjectId box = AddGroupedBox(0, "");
    const decObjectId text = AddEntity(new decDbText("场地", GePoint3d(), 500));
    EXPECT_EQ(BuildGroup::SetGroupName(box, "甲"), dex::eOk);
    EXPECT_THAT(Transcript(), Not(HasSubstr("表达式失败")));
    // An empty name is reported and written all the same, beside the record already there.
    EXPECT_EQ(BuildGroup::SetGroupName(box, ""), dex::eOk);
    EXPECT_THAT(Transcript(), HasSubstr("分组信息为空！"));
    EXPECT_THAT(Records(box), ElementsAre(ElementsAre("甲"), ElementsAre("")));
    EXPECT_EQ(BuildGroup::SetGroupName(text, "甲"), 0);
    EXPECT_EQ(BuildGroup::SetGroupName(decObjectId(), "甲"), 0);
    EXPECT_EQ(CountOf(Transcript(), "对象不是三维实体！"), 2);
    EXPECT_THAT(Records(text), IsEmpty());
}

TEST_F(BuildGroupTest, BldgroupGroupsRegroupsAndClearsThe3DObjectsItIsGiven)
{
    const decObjectId first = AddGroupedBuilding(0, "");
    const decObjectId box = AddGroupedBox(20000, "");
    const decObjectId second = AddGroupedBuilding(40000, "");
    const decObjectId text = AddEntity(new decDbText("场地", GePoint3d(), 500));
    Script("bldgroup\nA区\n" + Handle(first) + " " + Handle(box) + " " + Handle(text) + "\nB区\n" + Handle(second) +
           "\n*cancel*\n");
    EXPECT_THAT(Records(first), ElementsAre(ElementsAre("A区")));
    EXPECT_THAT(Records(box), ElementsAre(ElementsAre("A区")));
    EXPECT_THAT(Records(second), ElementsAre(ElementsAre("B区")));
    EXPECT_THAT(Records(text), IsEmpty());

    // Moving the box to B区 leaves one record; Enter clears the first building's.
    Script("bldgroup\nB区\n" + Handle(box) + "\n\n" + Handle(first) + "\n\n\n");
    EXPECT_THAT(Records(box), ElementsAre(ElementsAre("B区")));
    EXPECT_THAT(Records(first), IsEmpty());
    EXPECT_THAT(Transcript(), HasSubstr("选择取消分组的三维对象:"));
    EXPECT_THAT(Transcript(), HasSubstr("提示：未选中三维对象!退出命令!"));
    Script("list " + Handle(box) + "\n");
    EXPECT_EQ(CountOf(Transcript(), "build_group=\"B区\""), 1);

    // A cancel at the name ends without a message.
    host::EventLog::Instance().Clear();
    Script("bldgroup\n*cancel*\n");
    EXPECT_THAT(Transcript(), Not(HasSubstr("提示")));
}

TEST_F(BuildGroupTest, BldgroupLeavesTheCallersOpenDrawingOpen)
{
    const decObjectId box = AddGroupedBox(0, "");
    Db()->OpenForWrite();
    Answer("A区\n" + Handle(box) + "\n*cancel*\n");
    BuildGroup::GroupObjects();
    EXPECT_EQ(Db()->GetOpenDepth(), 1);
    Db()->Close();
    EXPECT_THAT(Records(box), ElementsAre(ElementsAre("A区")));
    // Without a caller's bracket the command opens and closes its own.
    Answer("B区\n" + Handle(box) + "\n*cancel*\n");
    BuildGroup::GroupObjects();
    EXPECT_EQ(Db()->GetOpenDepth(), 0);
}

TEST_F(BuildGroupTest, InqgroupListsTheGroupsShowsTheUngroupedAndTheGroupOfAPick)
{
    // No group yet, only an ungrouped object: the box says so.
    const decObjectId loose = AddGroupedBox(80000, "");
    Script("inqgroup\n");
    EXPECT_THAT(Transcript(), HasSubstr("[lumidrax] 提示：图形上还没有定义建筑分组信息！\n"));

    const decObjectId building = AddGroupedBuilding(0, "A区");
    const decObjectId window = AddGroupedWindow(5000, "A区");
    const decObjectId box = AddGroupedBox(20000, "A区");
    AddGroupedBox(40000, "B区");
    AddGroupedBox(60000, "50%");
    Script("inqgroup\n\n" + Handle(box) + "\n\n结束\n");
    const std::string out = Transcript();
    EXPECT_THAT(out, HasSubstr("提示：共有 3 个建筑分组，分别为：\n建筑分组 <A区> <B区> <50%> \n"));
    EXPECT_THAT(out, HasSubstr("红色高亮显示的未分组三维对象数量是：1\nhighlighted: " + Handle(loose) + "\n"));
    EXPECT_THAT(out, HasSubstr("请选择参考三维对象:"));
    // The host shows the selection in drawing order.
    EXPECT_THAT(out, HasSubstr("同属于建筑分组<A区>的对象数目是：3\n其中窗数量是：1\nhighlighted: " + Handle(building) +
                               " " + Handle(window) + " " + Handle(box) + "\n"));
    // The ungrouped object cannot be picked.
    host::EventLog::Instance().Clear();
    Script("inqgroup\n\n" + Handle(loose) + "\n结束\n");
    EXPECT_THAT(Transcript(), HasSubstr("not taken here"));
}

}  // namespace
