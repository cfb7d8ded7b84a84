// Drag questions with callbacks, in-process.
#include <gtest/gtest.h>

#include "CommandLine.h"
#include "DragCallback.h"
#include "UiTestSupport.h"
#include "View.h"

using ::host::QueueAnswers;

namespace {

// Moves every point onto the line y = 0 and counts what the host asks of it.
class drag_cb_onto_axis : public decDragCallback {
public:
    int filtered = 0;
    std::vector<GePoint3d> drawn;
    decView* seenView = nullptr;

    int OnPointFilter(decView* view, GePoint3d& pt) override
    {
        ++filtered;
        seenView = view;
        const bool moved = pt.y != 0.0;
        pt.y = 0.0;
        return moved ? 1 : 0;
    }
    void OnDragDraw(decView* view, const GePoint3d& pt) override
    {
        drawn.push_back(pt);
        view->SetColor(0xFF, 0);
        view->MoveTo(GePoint3d());
        view->LineTo(pt);
    }
};

}  // namespace

class DragTest : public HostTest {};

TEST_F(DragTest, CursorLinesRunFilterAndDrawBeforeThePointAnswer)
{
    QueueAnswers("~10,5\n~20,5,1\n30,7\n");
    drag_cb_onto_axis cb;
    GePoint3d point(-1, -1, -1);
    EXPECT_EQ(dec::GetDragPoint(&cb, &point, 1), dex::eOk);
    EXPECT_EQ(point, GePoint3d(30, 0, 0));
    EXPECT_EQ(cb.filtered, 3);
    ASSERT_EQ(cb.drawn.size(), 3u);
    EXPECT_EQ(cb.drawn[1], GePoint3d(20, 0, 1));  // drawn with the filtered point
    EXPECT_EQ(cb.seenView, dec::GetActiveView());
    // The view holds the last drag frame only.
    const auto& frame = dec::GetActiveView()->Primitives();
    ASSERT_EQ(frame.size(), 1u);
    EXPECT_EQ(frame[0].colour, 0xFFu);
    EXPECT_EQ(frame[0].points.back(), GePoint3d(30, 0, 0));
}

TEST_F(DragTest, EnterGivesMinus6WithTheLastFilteredCursorOrTheDefaultKeyword)
{
    QueueAnswers("~10,5\n\n\n\n\n");
    drag_cb_onto_axis cb;
    GePoint3d point(-1, -1, -1);
    EXPECT_EQ(dec::GetDragPoint(&cb, &point, 1), dex::eEmpty);
    EXPECT_EQ(point, GePoint3d(10, 0, 0));
    point = GePoint3d(-1, -1, -1);
    EXPECT_EQ(dec::GetDragPoint(&cb, &point, 1), dex::eEmpty);  // no cursor moved: point unchanged
    EXPECT_EQ(point, GePoint3d(-1, -1, -1));
    cb.SetKeywords("位置(&D)/设置(&S)", 2);
    EXPECT_EQ(dec::GetDragPoint(&cb, &point, 1), 2);
    cb.SetKeywords("位置(&D)/设置(&S)", 3);  // out of range: no default
    EXPECT_EQ(cb.GetDefaultKeyword(), 0);
    EXPECT_EQ(dec::GetDragPoint(&cb, &point, 1), dex::eEmpty);
}

TEST_F(DragTest, TypedTextNeedsFlag0x100AndKeywordsComeFirst)
{
    QueueAnswers("2.9\nt\n2.9\nh\n1,y\n");
    drag_cb_onto_axis cb;
    cb.SetKeywords("建筑高度(&H)/楼层表(&T)");
    cb.SetUserInputFlags(0x101);
    GePoint3d point;
    EXPECT_EQ(dec::GetDragPoint(&cb, &point, 1), dex::eTextInput);
    EXPECT_STREQ(cb.GetUserString(), "2.9");
    EXPECT_EQ(dec::GetDragPoint(&cb, &point, 1), 2);
    EXPECT_FALSE(Failed());
    cb.SetUserInputFlags(0);
    EXPECT_EQ(dec::GetDragPoint(&cb, &point, 1), 1);  // "2.9" refused, then "h"
    EXPECT_TRUE(Shown("answers:3: this question takes a point x,y[,z] or a keyword of 建筑高度(&H)/楼层表(&T), not \"2.9\""));
    EXPECT_EQ(host::EventLog::Instance().Calls("GetDragPoint flags=0x101 keywords=建筑高度(&H)/楼层表(&T) default=0 arg=1 -> -5").size(), 1u);
    // Where text is taken, text with commas that reads as no point is text too.
    cb.SetUserInputFlags(0x100);
    EXPECT_EQ(dec::GetDragPoint(&cb, &point, 1), dex::eTextInput);
    EXPECT_STREQ(cb.GetUserString(), "1,y");
}

TEST_F(DragTest, TipsFormatOneDoubleAndNeverPassOtherFormatsToPrintf)
{
    drag_cb_onto_axis cb;
    cb.ShowTip("起始距离%.4fmm", 12.5);
    EXPECT_EQ(cb.GetTip(), "起始距离12.5000mm");
    cb.ShowTip("100%% %8.1e", 3.0);
    EXPECT_EQ(cb.GetTip(), "100%  3.0e+00");
    for (const char* unsafe : {"%s", "%n", "%f %f", "%d", "no value", "%"}) {
        cb.ShowTip(unsafe, 1.0);
        EXPECT_EQ(cb.GetTip(), unsafe);
    }
    cb.ShowTip(nullptr, 1.0);
    EXPECT_EQ(cb.GetTip(), "");
}

TEST_F(DragTest, NoCallbackIsAPlainPointQuestion)
{
    QueueAnswers("~1,1\n4,5\n");
    GePoint3d point;
    EXPECT_EQ(dec::GetDragPoint(nullptr, &point, 1), dex::eOk);
    EXPECT_EQ(point, GePoint3d(4, 5, 0));
}
