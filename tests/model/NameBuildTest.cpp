// namebld end to end: naming, renaming with propagation, clearing, tagging, the name label
// and the group of each pass.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BuildCommandTestSupport.h"
#include "HostSolids.h"
#include "ModelHelperWindows.h"
#include "OrvScaleText.h"
#include "WindowTestSupport.h"
#include "decDbCurve.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

namespace {

constexpr const char* kPropagation = "是否要同时更新和建筑物旧名称同名的";

class NameBuildTest : public WindowModelTest {
protected:
    decObjectId Box()
    {
        return AddSolid(new decDbBox(1000, 1000, 3000));
    }
    // The texts of the entity's tag records ("" for a record without a string).
    std::vector<std::string> Tags(const decObjectId& id) const
    {
        std::vector<std::string> tags;
        for (const auto& app : Entity(id)->XDataApps())
            if (app->GetAppName() == std::string("XBUILD_NAME"))
                tags.push_back(app->GetCount() > 0 ? app->GetAt(0)->GetString() : "");
        return tags;
    }
    // The name every kind of object bears.
    std::string NameOf(const decObjectId& id) const
    {
        CString name;
        if (!WindowBelongBuildName(Entity(id), name))
            BuildName(Entity(id), name);
        return name.GetString();
    }
    std::vector<std::vector<std::uint64_t>> Groups() const
    {
        std::vector<std::vector<std::uint64_t>> groups;
        for (const DrawingGroup& group : Db()->Groups()) {
            groups.emplace_back();
            for (const decObjectId& id : group.members)
                groups.back().push_back(id.Handle());
        }
        return groups;
    }
};

TEST_F(NameBuildTest, TwoBuildingsAndAWindowNamedInOnePassFormOneGroup)
{
    const decObjectId b1 = AddBuilding("", 3000, Square(0, 0, 1000));
    const decObjectId b2 = AddBuilding("", 3000, Square(2000, 0, 1000));
    const decObjectId w = AddWindow({.building = "旧"});
    Script("namebld\nA\n" + Handle(b1) + " " + Handle(w) + " " + Handle(b2) + "\n\n*cancel*\n");
    for (const decObjectId& id : {b1, b2, w})
        EXPECT_EQ(NameOf(id), "A");
    EXPECT_THAT(Groups(), ElementsAre(ElementsAre(b1.Handle(), w.Handle(), b2.Handle())));
    EXPECT_EQ(Db()->Groups()[0].flags, 0);
    const std::string transcript = Transcript();
    EXPECT_THAT(transcript, HasSubstr("***建筑命名***\n请输入建筑名称<空回车清除>:"));
    EXPECT_THAT(transcript, HasSubstr("选择要命名的三维对象:"));
    EXPECT_THAT(transcript, HasSubstr("提示：选中3个三维对象!"));
    // No building had a name: nothing to carry over. Enter at the label places none.
    EXPECT_THAT(transcript, Not(HasSubstr(kPropagation)));
    EXPECT_THAT(transcript, HasSubstr("请指定标注位置:"));
    EXPECT_TRUE(buildtest::OnLayer("建筑名称").empty());
    EXPECT_EQ(Db()->GetOpenDepth(), 0);
}

TEST_F(NameBuildTest, RenameIsOfferedToWhatStillBearsTheOldNameCaseSensitively)
{
    for (const char* answer : {"no", "yes"}) {
        SetUp();
        const decObjectId renamed = AddBuilding("A", 3000, Square(0, 0, 1000));
        const decObjectId twin = AddBuilding("A", 3000, Square(2000, 0, 1000));
        const decObjectId tagged = Box();
        Tag(tagged, "A");
        const decObjectId w1 = AddWindow({.building = "A"});
        const decObjectId w2 = AddWindow({.building = "A", .index = 2});
        const decObjectId lower = AddWindow({.building = "a"});
        const decObjectId other = AddBuilding("C", 3000, Square(4000, 0, 1000));
        Script("namebld\nB\n" + Handle(renamed) + "\n" + answer + "\n\n*cancel*\n");
        const std::string transcript = Transcript();
        EXPECT_EQ(CountOf(transcript, "[确认更新所属窗口] 是否要同时更新和建筑物旧名称同名的4个建筑对象的名称？"), 1)
            << transcript;
        EXPECT_THAT(transcript, HasSubstr("highlighted: " + Handle(twin) + " " + Handle(tagged) + " " + Handle(w1) +
                                          " " + Handle(w2)));
        const std::string carried = answer == std::string("yes") ? "B" : "A";
        EXPECT_EQ(NameOf(renamed), "B");
        for (const decObjectId& id : {twin, tagged, w1, w2})
            EXPECT_EQ(NameOf(id), carried) << answer;
        EXPECT_EQ(NameOf(lower), "a");
        EXPECT_EQ(NameOf(other), "C");
        EXPECT_THAT(Tags(tagged), ElementsAre(carried));
        // Only the pass's own selection is grouped.
        EXPECT_THAT(Groups(), ElementsAre(ElementsAre(renamed.Handle())));
    }
}

TEST_F(NameBuildTest, ClearingEmptiesNamesKeepsEmptyTagsAndGroupsNoUntaggedObject)
{
    const decObjectId building = AddBuilding("A", 3000, Square(0, 0, 1000));
    const decObjectId tagged = Box();
    Tag(tagged, "A");
    const decObjectId w = AddWindow({.building = "A"});
    const decObjectId plain = Box();
    Script("namebld\n\n" + Handle(building) + " " + Handle(tagged) + " " + Handle(w) + " " + Handle(plain) +
           "\n*cancel*\n");
    EXPECT_THAT(Transcript(), HasSubstr("选择取消命名的三维对象:"));
    EXPECT_EQ(NameOf(building), "");
    EXPECT_THAT(Tags(tagged), ElementsAre(""));
    EXPECT_EQ(NameOf(w), "");
    EXPECT_THAT(Tags(plain), IsEmpty());
    // Everything named in the pass was cleared with it: nothing left to offer, no label.
    EXPECT_THAT(Transcript(), Not(HasSubstr(kPropagation)));
    EXPECT_THAT(Groups(), ElementsAre(ElementsAre(building.Handle(), tagged.Handle(), w.Handle())));

    // Clearing an untagged object alone makes no group at all; an empty selection ends.
    host::EventLog::Instance().Clear();
    Script("namebld\n\n" + Handle(plain) + "\n\n\n");
    EXPECT_TRUE(host::EventLog::Instance().Calls("MakeGroup").empty());
    EXPECT_EQ(Groups().size(), 1u);
    EXPECT_THAT(Transcript(), HasSubstr("提示：未选中三维对象!退出命令!"));
}

TEST_F(NameBuildTest, OtherSolidsAreTaggedAndTagsReplacedWithALabelOnTheNameLayer)
{
    const decObjectId tagged = Box();
    Tag(tagged, "旧名");
    const decObjectId plain = Box();
    const GePoint3d ends[] = {{0, 0, 0}, {10, 0, 0}};
    const decObjectId line = AddEntity(new decDbPolyline(2, ends, 0));
    Script("setvar DRAWING_SCALE 1000\nsetvar ORV_BUILD_DIM 4\nnamebld\n甲楼\n" + Handle(tagged) + " " +
           Handle(plain) + " " + Handle(line) + "\n~10,20\n500,600\n*cancel*\n");
    EXPECT_THAT(Tags(tagged), ElementsAre("甲楼"));
    EXPECT_THAT(Tags(plain), ElementsAre("甲楼"));
    EXPECT_THAT(Tags(line), IsEmpty());
    EXPECT_THAT(Transcript(), HasSubstr(Handle(line) + " decDbPolyline is not taken here"));
    EXPECT_THAT(Transcript(), HasSubstr("提示：选中2个三维对象!"));

    const std::vector<decDbEntity*> labels = buildtest::OnLayer("建筑名称");
    ASSERT_EQ(labels.size(), 1u);
    const COrvScaleText* label = COrvScaleText::Cast(labels[0]);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Text(), "甲楼");
    EXPECT_EQ(label->Position(), GePoint3d(500, 600, 0));
    EXPECT_DOUBLE_EQ(label->Height(), 4);
    EXPECT_DOUBLE_EQ(label->Scale(), 1000);
    EXPECT_EQ(label->Placement(), 18u);
    EXPECT_EQ(Db()->Layers().SearchLayer("建筑名称")->GetColor(), 0xFF00FFu);
    // The label is not part of the group.
    EXPECT_THAT(Groups(), ElementsAre(ElementsAre(tagged.Handle(), plain.Handle())));
}

}  // namespace
