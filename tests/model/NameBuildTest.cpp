// namebld end to end: naming, renaming with propagation, clearing, tagging, the name label
// and the group of each pass.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "BuildCommandTestSupport.h"
#include "HostSolids.h"
#include "OrvScaleText.h"
#include "WindowTestSupport.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

namespace {

constexpr const char* kPropagation = "是否要同时更新和建筑物旧名称同名的";

class NameBuildTest : public WindowModelTest {
protected:
    decObjectId Box() { return AddSolid(new decDbBox(1000, 1000, 3000)); }
    // The building tag records of the object.
    std::vector<std::vector<std::string>> Tags(const decObjectId& id) const { return XData(id, "XBUILD_NAME"); }
    // The name every kind of object bears.
    std::string NameOf(const decObjectId& id) const { return ::NameOf(Entity(id)).str(); }
    // The members of each drawing group by handle.
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

TEST_F(NameBuildTest, RenameIsOfferedToWhatStillBearsTheOldNameCaseSensitively)
{
    for (const std::string answer : {"no", "yes"}) {
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
        EXPECT_EQ(NameOf(renamed), "B");
        for (const decObjectId& id : {twin, tagged, w1, w2})
            EXPECT_EQ(NameOf(id), answer == "yes" ? "B" : "A") << answer;
        EXPECT_EQ(NameOf(lower), "a");
        EXPECT_EQ(NameOf(other), "C");
        // Only the pass's own selection is grouped; Enter at the label places none.
        EXPECT_THAT(Groups(), ElementsAre(ElementsAre(renamed.Handle())));
        EXPECT_TRUE(buildtest::OnLayer("建筑名称").empty());
    }
}

// A rename is offered only for the names that differ from the new one; a name holding "-"
// is taken with a warning (the window identifiers cannot tell it from their numbers).
TEST_F(NameBuildTest, WhatAlreadyBearsTheNewNameIsNotOfferedAndADashIsWarnedOf)
{
    const struct {
        const char* what;
        std::vector<std::string> selected;  // names of the buildings renamed in the pass
        std::string name;                   // typed; empty clears
        int offered;                        // objects the rename is offered to; 0: no question
        bool warned;
    } cases[] = {
        {"A to A", {"A"}, "A", 0, false},
        {"A and B to A", {"A", "B"}, "A", 1, false},
        {"A to a", {"A"}, "a", 2, false},
        {"A to B-1", {"A"}, "B-1", 2, true},
        {"A to A-0-5", {"A"}, "A-0-5", 2, true},
        {"A cleared", {"A"}, "", 2, false},
    };
    for (const auto& c : cases) {
        SetUp();
        std::string handles;
        std::vector<decObjectId> renamed;
        for (std::size_t i = 0; i < c.selected.size(); ++i) {
            renamed.push_back(AddBuilding(c.selected[i].c_str(), 3000, Square(2000.0 * static_cast<double>(i), 0, 1000)));
            handles += Handle(renamed.back()) + " ";
        }
        const decObjectId twin = AddBuilding("A", 3000, Square(0, 5000, 1000));
        const decObjectId windowA = AddWindow({.building = "A"});
        const decObjectId windowB = AddWindow({.building = "B", .index = 2});
        // The answer to the question (when asked), Enter at the label (when there is a name).
        Script("namebld\n" + c.name + "\n" + handles + "\n" + (c.offered ? "yes\n" : "") + (c.name.empty() ? "" : "\n") +
               "*cancel*\n");
        const std::string transcript = Transcript();
        EXPECT_EQ(CountOf(transcript, kPropagation), c.offered ? 1 : 0) << c.what << transcript;
        if (c.offered) {
            EXPECT_THAT(transcript, HasSubstr(std::string(kPropagation) + std::to_string(c.offered) + "个")) << c.what;
        }
        EXPECT_EQ(CountOf(transcript, "提示：建筑名称中含有\"-\"，分析时窗所属建筑将无法识别。"), c.warned ? 1 : 0) << c.what;
        for (const decObjectId& id : renamed)
            EXPECT_EQ(NameOf(id), c.name) << c.what;
        // What bore an old name took the new one (yes); what bore the new one kept it.
        const bool aRenamed = std::find(c.selected.begin(), c.selected.end(), c.name) == c.selected.end();
        EXPECT_EQ(NameOf(twin), aRenamed ? c.name : "A") << c.what;
        EXPECT_EQ(NameOf(windowA), aRenamed ? c.name : "A") << c.what;
        const bool bRenamed = std::find(c.selected.begin(), c.selected.end(), "B") != c.selected.end();
        EXPECT_EQ(NameOf(windowB), bRenamed ? c.name : "B") << c.what;
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
    EXPECT_THAT(Tags(tagged), ElementsAre(ElementsAre("")));
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

TEST_F(NameBuildTest, WhatOnePassNamesFormsOneGroupWithALabelOnTheNameLayer)
{
    const decObjectId building = AddBuilding("", 3000, Square(0, 0, 1000));
    const decObjectId w = AddWindow({.building = "旧"});
    const decObjectId tagged = Box();
    Tag(tagged, "旧名");
    const decObjectId plain = Box();
    const decObjectId line = AddLine({0, 0, 0}, {10, 0, 0});
    Script("setvar DRAWING_SCALE 1000\nsetvar ORV_BUILD_DIM 4\nnamebld\n甲楼\n" + Handle(building) + " " + Handle(w) +
           " " + Handle(tagged) + " " + Handle(plain) + " " + Handle(line) + "\n~10,20\n500,600\n*cancel*\n");
    for (const decObjectId& id : {building, w, tagged, plain})
        EXPECT_EQ(NameOf(id), "甲楼");
    // Other solids take the tag, replacing the one they had; a curve is not taken.
    EXPECT_THAT(Tags(tagged), ElementsAre(ElementsAre("甲楼")));
    EXPECT_THAT(Tags(line), IsEmpty());
    EXPECT_THAT(Transcript(), HasSubstr(Handle(line) + " decDbPolyline is not taken here"));
    // No building had a name: nothing to carry over.
    EXPECT_THAT(Transcript(), Not(HasSubstr(kPropagation)));
    // One plain group of the pass's objects, without the label.
    EXPECT_THAT(Groups(), ElementsAre(ElementsAre(building.Handle(), w.Handle(), tagged.Handle(), plain.Handle())));
    EXPECT_EQ(Db()->Groups()[0].flags, 0);
    EXPECT_EQ(Db()->GetOpenDepth(), 0);

    const std::vector<decDbEntity*> labels = buildtest::OnLayer("建筑名称");
    ASSERT_EQ(labels.size(), 1u);
    const COrvScaleText* label = COrvScaleText::Cast(labels[0]);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Text(), "甲楼");
    EXPECT_EQ(label->Position(), GePoint3d(500, 600, 0));
    EXPECT_DOUBLE_EQ(label->Height(), 4);
    EXPECT_DOUBLE_EQ(label->Scale(), 1000);
    EXPECT_EQ(Db()->Layers().SearchLayer("建筑名称")->GetColor(), 0xFF00FFu);
}

}  // namespace
