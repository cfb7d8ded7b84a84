// The window-by-window command: the recent-value lists of its dialog, and the walk along a
// picked edge end to end (spacings and widths typed or dragged, windows read back).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "WindowTestSupport.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

// A building with a 6 m south wall (#1), counter-clockwise.
const GePoint3dArray kBlock = {{0, 0, 0}, {6000, 0, 0}, {6000, 8000, 0}, {0, 8000, 0}};

class OrderInsertWindowTest : public WindowModelTest {
protected:
    // The windows' sill spans along x on the south wall, with their floors.
    static std::vector<std::string> SouthSpans()
    {
        std::vector<std::string> spans;
        for (const PlacedWindow& w : Windows()) {
            const int half = w.window->Width() / 2;
            spans.push_back(std::to_string(static_cast<int>(w.origin.x) - half) + ".." +
                            std::to_string(static_cast<int>(w.origin.x) + half) + "@" +
                            std::to_string(static_cast<int>(w.origin.z)));
        }
        return spans;
    }
};

TEST(OrderWindowListTest, UsedValueChangesPlacesWithTheFirst)
{
    struct Case {
        std::vector<int> list;
        int value;
        std::size_t keep;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {{900, 600, 1000}, 600, 3, {600, 900, 1000}},
        {{900, 600, 1000}, 1000, 3, {1000, 600, 900}},  // swapped, not moved to the front
        {{900, 600, 1000}, 900, 3, {900, 600, 1000}},
        {{900, 600, 1000}, 750, 3, {750, 900, 600}},
        {{1500, 1800, 1200, 2100, 2400}, 900, 5, {900, 1500, 1800, 1200, 2100}},
        {{}, 1500, 5, {1500}},
    };
    for (Case c : cases) {
        OrderWindow::PutFirst(c.list, c.value, c.keep);
        EXPECT_EQ(c.list, c.expected) << c.value;
    }
}

TEST_F(OrderInsertWindowTest, WindowsRunAlongTheEdgeAndTheLastMayPassItsEnd)
{
    AddBuilding("A座", 30000, kBlock);
    // Two storeys; spacing typed, then taken by Enter, then dragged from 2500 to 3500.
    Script("orderwin\n#1@500,0\n\nset 1156 2\nok\n"
           "1000\n1500\n~3000,0\n3500,0\n\n\n1500\n");
    EXPECT_THAT(SouthSpans(), ElementsAre("1000..2500@900", "1000..2500@3800", "3500..5000@900", "3500..5000@3800",
                                          "6000..7500@900", "6000..7500@3800"));
    const std::vector<PlacedWindow> windows = Windows();
    ASSERT_EQ(windows.size(), 6u) << Transcript();
    for (std::size_t i = 0; i < windows.size(); ++i) {
        const CWindow* w = windows[i].window;
        const std::string what = "window " + std::to_string(i);
        EXPECT_EQ(w->Index(), static_cast<int>(i / 2) + 1) << what;
        EXPECT_EQ(w->Floor(), static_cast<int>(i % 2) + 1) << what;
        EXPECT_EQ(w->BuildName(), "A座") << what;
        EXPECT_EQ(w->Height(), 1500) << what;
        ExpectNearVector(windows[i].y, {0, -1, 0}, what);
    }
    // After the second window 1000 remain and the spacing is asked again; after the third
    // the edge is used up.
    const std::string transcript = Transcript();
    EXPECT_EQ(CountOf(transcript, "指定或输入窗间距[1000]:"), 3) << transcript;
    EXPECT_EQ(CountOf(transcript, "指定或输入窗宽[1500]:"), 3);
    // The drag shows the plan distance from the end of the last window.
    EXPECT_THAT(host::EventLog::Instance().Calls("tip"), ElementsAre("tip 窗间距：500", "tip 窗间距：1000"));
    EXPECT_EQ(g_orderWinSpacing, 1000);
    EXPECT_EQ(g_orderWinDefaults.repeat, 2u);
}

TEST_F(OrderInsertWindowTest, FromTheOtherEndAndOnAClockwiseOutline)
{
    // The same wall drawn clockwise: its walls run the other way, the windows still face out.
    AddBuilding("B座", 30000, {{0, 0, 0}, {0, 8000, 0}, {6000, 8000, 0}, {6000, 0, 0}});
    AddBuilding("A座", 30000, {{10000, 0, 0}, {16000, 0, 0}, {16000, 8000, 0}, {10000, 8000, 0}});
    Script("orderwin\n#1@500,0\n\nok\n500\n1200\n*cancel*\n"
           "orderwin\n#2@15500,0\n\nok\n500\n1200\n*cancel*\n");
    const std::vector<PlacedWindow> windows = Windows();
    ASSERT_EQ(windows.size(), 2u) << Transcript();
    ExpectFrame(windows[0], {1100, 0, 900}, {0, -1, 0}, "clockwise, near the west end");
    ExpectFrame(windows[1], {14900, 0, 900}, {0, -1, 0}, "from the east end");
    EXPECT_EQ(g_orderWinSpacing, 500);
}

TEST_F(OrderInsertWindowTest, AlignedAndCentredPlaceOneColumn)
{
    AddBuilding("A座", 30000, kBlock);
    Script("orderwin\n#1@500,0\n\ncheck 1321 1\ncheck 1322 1\nok\n"  // 对齐 clears 居中
           "orderwin\n#1@500,0\n\ncheck 1321 1\nset 1279 2000\nok\n");
    EXPECT_THAT(SouthSpans(), ElementsAre("0..1500@900", "2000..4000@900"));
    EXPECT_THAT(Transcript(), Not(HasSubstr("指定或输入窗")));
    EXPECT_THAT(g_orderWinDefaults.widths, ElementsAre(2000, 1500, 1800, 1200, 2100));
}

TEST_F(OrderInsertWindowTest, RefusedLengthsAreAskedAgainWithTheirDefaults)
{
    AddBuilding("A座", 30000, kBlock);
    Script("orderwin\n#1@500,0\n\nok\n-5\n\n0\n\n*cancel*\n");
    const std::string transcript = Transcript();
    EXPECT_THAT(transcript, HasSubstr("窗间距不能是负值!\n指定或输入窗间距[1000]:"));
    EXPECT_THAT(transcript, HasSubstr("窗宽必须是正值!\n指定或输入窗宽[1800]:"));
    EXPECT_THAT(SouthSpans(), ElementsAre("1000..2800@900"));
    // A number too long for an int is refused as a negative one is.
    Script("orderwin\n#1@500,0\n\nok\n99999999999999999999\n\n1500\n*cancel*\n");
    EXPECT_EQ(CountOf(Transcript(), "窗间距不能是负值!\n指定或输入窗间距[1000]:"), 2);
    ASSERT_EQ(Windows().size(), 2u) << Transcript();
    EXPECT_NEAR(Windows()[1].origin.x, 1750.0, 1e-9);
}

TEST_F(OrderInsertWindowTest, DialogListsSpinAndRefusals)
{
    AddBuilding("A座", 30000, kBlock);
    // The sill chosen from its list moves up one storey with the floor number.
    Script("orderwin\n#1@500,0\n\nchoose 1280 1\nspin 1290 1\nset 1279 0\nok\nset 1279 1500\nset 1278 -1\nok\n"
           "set 1278 1800\nok\n1000\n\n*cancel*\n");
    EXPECT_THAT(Transcript(), HasSubstr("[逐个插窗] 窗宽必须是正值!"));
    EXPECT_THAT(Transcript(), HasSubstr("[逐个插窗] 窗高应大于0!"));
    const std::vector<PlacedWindow> windows = Windows();
    ASSERT_EQ(windows.size(), 1u) << Transcript();
    EXPECT_EQ(windows[0].window->Floor(), 2);
    EXPECT_NEAR(windows[0].origin.z, 3500, 1e-9);
    EXPECT_EQ(windows[0].window->Height(), 1800);
    EXPECT_THAT(g_orderWinDefaults.sills, ElementsAre(3500, 900, 600));
    EXPECT_EQ(g_orderWinDefaults.floor, 2u);
}

// A storey height of 0 or less is refused at OK like a width or height of 0 or less; a sill
// typed into its box without spinning is read at OK and put first in its list. The column
// reads back a storey apart from the typed sill.
TEST_F(OrderInsertWindowTest, StoreyHeightsOfZeroOrLessAreRefusedAndATypedSillIsTaken)
{
    for (const char* storey : {"0", "-2100", "层高"}) {
        SetUp();
        AddBuilding("A座", 30000, kBlock);
        Script(std::string("orderwin\n#1@500,0\n\nset 1156 2\nset 1277 ") + storey +
               "\nset 1280 750\nok\nset 1277 3000\nok\n1000\n1500\n*cancel*\n");
        EXPECT_EQ(CountOf(Transcript(), "[逐个插窗] 层高应大于0!"), 1) << storey << Transcript();
        EXPECT_THAT(SouthSpans(), ElementsAre("1000..2500@750", "1000..2500@3750")) << storey;
        std::vector<int> floors;
        for (const PlacedWindow& w : Windows())
            floors.push_back(w.window->Floor());
        EXPECT_THAT(floors, ElementsAre(1, 2)) << storey;
        EXPECT_THAT(g_orderWinDefaults.sills, ElementsAre(750, 900, 600)) << storey;
        EXPECT_EQ(g_orderWinDefaults.storeyHeight, 3000) << storey;
    }
}

TEST_F(OrderInsertWindowTest, EdgeAlwaysBelongsToThePickedBuilding)
{
    AddBuilding("A座", 30000, kBlock);
    // A flat slab (#2) has no walls: picking it after the wall keeps the wall and its building.
    Script("extrude 0.0005 20000,0 21000,0 21000,1000\n");
    Script("orderwin\n#1@500,0\n#2\n\nok\n1000\n1500\n*cancel*\n");
    ASSERT_EQ(Windows().size(), 1u) << Transcript();
    EXPECT_EQ(Windows()[0].window->BuildName(), "A座");
    // A pick that hits no edge drops the wall taken before: the command ends.
    Script("orderwin\n#1@500,0\n#1@3000,4000\n\n");
    EXPECT_EQ(Windows().size(), 1u);
    EXPECT_EQ(CountOf(Transcript(), "dialog 1092"), 2);
}

}  // namespace
