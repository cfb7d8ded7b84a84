// The audits inqbuild, showunname, chkbld and chkwin on one small model: what each marks,
// counts and hides.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "BuildChecks.h"
#include "WorkingDrawing.h"
#include "HostSolids.h"
#include "WindowTestSupport.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

class BuildChecksTest : public WindowModelTest {
protected:
    // Building A of two bodies (a CExtrudeBuild and a tagged box) with three windows, building
    // C with one, an unnamed building, a box whose tag is empty, a plain box, a window of no
    // building and a line.
    void SetUp() override
    {
        WindowModelTest::SetUp();
        a = AddBuilding("A", 9000, Square(0, 0, 10000));
        aBox = Box("A");
        for (int i = 1; i <= 3; ++i)
            aWindows.push_back(AddWindow({.building = "A", .index = i}));
        c = AddBuilding("C", 9000, Square(20000, 0, 10000));
        cWindow = AddWindow({.building = "C"});
        unnamed = AddBuilding("", 9000, Square(40000, 0, 10000));
        emptyTag = Box("");
        plain = AddSolid(new decDbBox(1000, 1000, 1000));
        freeWindow = AddWindow({});
        line = AddLine({0, 0, 0}, {10, 0, 0});
    }
    decObjectId Box(const char* tag)
    {
        const decObjectId id = AddSolid(new decDbBox(1000, 1000, 1000));
        Tag(id, tag);
        return id;
    }
    static std::string Marked(std::initializer_list<decObjectId> ids)
    {
        std::string text = "highlighted:";
        for (const decObjectId& id : ids)
            text += " " + Handle(id);
        return text + "\n";
    }
    decObjectId a, aBox, c, cWindow, unnamed, emptyTag, plain, freeWindow, line;
    std::vector<decObjectId> aWindows;
};

TEST_F(BuildChecksTest, InquiryCountsUnnamedObjectsUnownedWindowsAndWhatBearsAName)
{
    Script("inqbuild\n\n\n" + Handle(aBox) + "\n\n" + Handle(c) + "\n\n" + Handle(unnamed) + "\n" + Handle(emptyTag) +
           "\n取消\n");
    const std::string t = Transcript();
    EXPECT_THAT(t, HasSubstr("***建筑查询***\n提示：未建筑命名三维对象数量是：4\n" +
                             Marked({unnamed, emptyTag, plain, freeWindow})));
    EXPECT_THAT(t, HasSubstr("其中未指定所属建筑物关系的窗口数量是：1\n" + Marked({freeWindow})));
    // Either body of A: two bodies and three windows.
    EXPECT_THAT(t, HasSubstr("提示：建筑<A>由5个三维对象组成。\n提示：其中属于建筑<A>的窗数量是：3\n" +
                             Marked({a, aBox, aWindows[0], aWindows[1], aWindows[2]})));
    // A building of one body gives the window count alone.
    EXPECT_THAT(t, HasSubstr("请选择查询的建筑物:\n> " + Handle(c) + "\n提示：其中属于建筑<C>的窗数量是：1\n"));
    EXPECT_THAT(t, Not(HasSubstr("提示：建筑<C>由")));
    // An empty tag is no name here.
    EXPECT_EQ(CountOf(t, "提示：查询的建筑物没有命名！"), 2);
}

TEST_F(BuildChecksTest, ChecksCountUnnamedBuildingsAndUnownedWindows)
{
    // The host's line under a pause, which asks for a point without a prompt.
    const std::string kPause = "(a point x,y[,z], or Enter)\n";
    Script("chkbld\n\nchkwin\n\n");
    const std::string t = Transcript();
    // chkbld counts an empty tag as a name.
    EXPECT_THAT(t, HasSubstr("***检查未命名建筑***\n图形上共有<1>个未命名建筑物。\n" + Marked({unnamed}) +
                             kPause + "> \n提示：单击退出查询。\n"));
    // Neither clears the selection first: what chkbld marked stays marked.
    EXPECT_THAT(t, HasSubstr("***检查未指定所属建筑的窗口***\n图形上共有<1>个未指定所属建筑物关系窗口。\n" +
                             Marked({unnamed, freeWindow}) + kPause + "> \n提示：单击退出查询。\n"));
    EXPECT_TRUE(host::EventLog::Instance().Calls("ClearSelectSet").empty());

    EntityArray same;
    EXPECT_EQ(GetSameBuild("A", same), 1);
    EXPECT_THAT(same, ElementsAre(Entity(a), Entity(aBox)));
    EXPECT_EQ(GetSameBuild("a", same), 0);
    EXPECT_EQ(GetSameBuild("", same), 1);
    EXPECT_THAT(same, ElementsAre(Entity(emptyTag)));
}

TEST_F(BuildChecksTest, ShowUnnamedHidesNamedBuildingsOwnedWindowsAndFlatObjects)
{
    Script("showunname\n");
    for (const decObjectId& id : {a, aBox, aWindows[0], aWindows[1], aWindows[2], c, cWindow, line})
        EXPECT_EQ(Entity(id)->IsHidden(), 1) << Handle(id);
    for (const decObjectId& id : {unnamed, emptyTag, plain, freeWindow})
        EXPECT_EQ(Entity(id)->IsHidden(), 0) << Handle(id);
    EXPECT_EQ(Db()->GetOpenDepth(), 0);
    // The host lists them as hidden.
    Script("list " + Handle(line) + " " + Handle(plain) + "\n");
    EXPECT_EQ(CountOf(Transcript(), " hidden"), 1);
    EXPECT_THAT(Transcript(), HasSubstr("layer=0 hidden points: 0,0,0 10,0,0"));
}

}  // namespace
