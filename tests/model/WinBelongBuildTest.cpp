// Window ownership by auxiliary buildings: the record written on a building body.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HostSolids.h"
#include "ModelTestSupport.h"
#include "WinBelongBuild.h"
#include "decDbCurve.h"

using ::testing::ElementsAreArray;

namespace {

// A record's items as text: "#n" for a long, the text for a string.
std::vector<std::string> Items(const decObjectXDataApp* record)
{
    std::vector<std::string> items;
    for (const decObjectXData& item : record->Items())
        items.push_back(item.IsTypeLong() ? "#" + std::to_string(item.GetLong()) : item.GetString());
    return items;
}

std::vector<const decObjectXDataApp*> Records(const decDbEntity* entity)
{
    std::vector<const decObjectXDataApp*> records;
    for (const auto& app : entity->XDataApps())
        if (app->GetAppName() == std::string("WIN_BELONG_BLD"))
            records.push_back(app.get());
    return records;
}

class WinBelongBuildTest : public ModelTest {};

TEST_F(WinBelongBuildTest, AttachWritesTheCountThenTheIdentifiersAndColoursTheBody)
{
    const struct {
        std::vector<CString> ids;
        std::vector<std::string> items;
    } cases[] = {
        {{}, {"#0"}},
        {{"B1-3-2"}, {"#1", "B1-3-2"}},
        {{"B1-3-2", "B1-4-2", "甲楼-0-5"}, {"#3", "B1-3-2", "B1-4-2", "甲楼-0-5"}},
    };
    for (const auto& c : cases) {
        const decObjectId body = AddSolid(new decDbBox(1000, 1000, 3000));
        WinBelongBuild::AttachWindowIds(Entity(body), c.ids);
        const std::vector<const decObjectXDataApp*> records = Records(Entity(body));
        ASSERT_EQ(records.size(), 1u);
        EXPECT_THAT(Items(records[0]), ElementsAreArray(c.items));
        EXPECT_EQ(Entity(body)->GetEntityColor().GetColor(), 0xFFFFu);
        EXPECT_EQ(Entity(body)->IsOpenForRead(), 0);
    }
}

TEST_F(WinBelongBuildTest, AttachKeepsAnEarlierRecordAndLeavesOtherEntitiesAlone)
{
    const decObjectId body = AddSolid(new decDbBox(1000, 1000, 3000));
    WinBelongBuild::AttachWindowIds(Entity(body), {"A-1-1"});
    WinBelongBuild::AttachWindowIds(Entity(body), {"A-2-1"});
    const std::vector<const decObjectXDataApp*> records = Records(Entity(body));
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(Items(records[0]).back(), "A-1-1");
    EXPECT_EQ(Items(records[1]).back(), "A-2-1");

    // A curve is no body that could shade a window; null is nothing at all.
    const GePoint3d ends[] = {{0, 0, 0}, {10, 0, 0}};
    const decObjectId line = AddEntity(new decDbPolyline(2, ends, 0));
    WinBelongBuild::AttachWindowIds(Entity(line), {"A-1-1"});
    WinBelongBuild::AttachWindowIds(nullptr, {"A-1-1"});
    EXPECT_TRUE(Entity(line)->XDataApps().empty());
    EXPECT_FALSE(Entity(line)->HasEntityColor());
}

}  // namespace
