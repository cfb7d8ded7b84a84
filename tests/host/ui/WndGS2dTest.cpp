// The preview window: a scene is recorded with the setting and colour of each primitive and
// replaces the shown one only when its building ends; regenerations are logged.
#include <gtest/gtest.h>

#include "EventLog.h"
#include "WndGS2d.h"

namespace {

TEST(WndGS2d, AFinishedSceneReplacesTheShownOne)
{
    host::EventLog::Instance().Clear();
    WndGS2d view;
    ASSERT_TRUE(view.Create(nullptr, "预览窗口", WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 80), nullptr, 100));
    view.ShowAxis(false);
    view.SceneBuildBegin();
    GsDraw2d* draw = view.GetDrawObject();
    draw->SetSetting(1);
    draw->SetColor(0x8080ff);
    const GePoint3d ring[] = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}};
    draw->Polyline(ring, 3, 1);
    draw->SetSetting(120);
    draw->Line({0, 0, 0}, {0, 5, 0});
    draw->SetColor(0xffff);
    draw->Circle({1, 2, 0}, 500, GeVector3d::kZAxis, 8, 1);
    EXPECT_TRUE(view.Scene().empty()) << "nothing is shown while the scene is built";
    view.SceneBuildEnd();
    view.DoZoomE();
    view.DoViewScale(1.1);
    view.Regen();

    const auto& scene = view.Scene();
    ASSERT_EQ(scene.size(), 3u);
    EXPECT_EQ(scene[0].kind, GsPrimitive::Kind::Polyline);
    EXPECT_EQ(scene[0].points.size(), 3u);
    EXPECT_EQ(scene[0].setting, 1);
    EXPECT_EQ(scene[0].flags[0], 1);
    EXPECT_EQ(scene[1].setting, 120);
    EXPECT_EQ(scene[1].colour, 0x8080ffu);
    EXPECT_EQ(scene[2].colour, 0xffffu);
    EXPECT_EQ(scene[2].radius, 500);
    EXPECT_EQ(scene[2].flags[1], 1);
    EXPECT_FALSE(view.IsAxisShown());
    EXPECT_TRUE(view.IsZoomedToExtents());
    EXPECT_DOUBLE_EQ(view.ViewScale(), 1.1);
    EXPECT_EQ(host::EventLog::Instance().Calls("WndGS2d::Regen"),
              std::vector<std::string>{"WndGS2d::Regen 100: 3 primitives"});

    // The next scene starts empty.
    view.SceneBuildBegin();
    view.SceneBuildEnd();
    EXPECT_TRUE(view.Scene().empty());
}

}  // namespace
