// The active view: projection, view states and the temporary graphics it shares with the
// drawing.
#include <gtest/gtest.h>

#include "DbDatabase.h"
#include "MainFrame.h"
#include "UiTestSupport.h"
#include "View.h"

class ViewTest : public HostTest {
protected:
    void TearDown() override
    {
        dec::GetActiveView()->SetEdgeMode(0);
        dec::GetActiveView()->SetCamera(GePoint3d(), GeVector3d(0, 0, -1), GeVector3d(0, 1, 0), 1.0);
        HostTest::TearDown();
    }
};

TEST_F(ViewTest, TheTopViewMapsAMillimetreToAWindowUnitWithYDown)
{
    decView* view = dec::GetActiveView();
    int x0 = 0, y0 = 0, x = 0, y = 0;
    view->WorldToWindow(GePoint3d(0, 0, 0), x0, y0);
    view->WorldToWindow(GePoint3d(10, 20, 99), x, y);
    EXPECT_EQ(x - x0, 10);
    EXPECT_EQ(y - y0, -20);
    GePoint3d target;
    GeVector3d up, right, dir;
    view->GetCamera(target, up, right, dir);
    EXPECT_EQ(dir, GeVector3d(0, 0, -1));
    EXPECT_EQ(right, GeVector3d(1, 0, 0));
    view->SetCamera(GePoint3d(), GeVector3d(0, 0, -1), GeVector3d(0, 1, 0), 2.0);
    view->WorldToWindow(GePoint3d(10, 20, 0), x, y);
    EXPECT_EQ(x - x0, 20);
    EXPECT_EQ(y - y0, -40);
}

TEST_F(ViewTest, ViewStatesAndViewTop)
{
    decView* view = dec::GetActiveView();
    EXPECT_EQ(view->GetViewState(), 0);
    view->SetViewState(1);
    EXPECT_EQ(view->GetViewState(), 1);
    EXPECT_EQ(dec::RunCommand("view_top", 0), dex::eOk);
    EXPECT_EQ(view->GetViewState(), 0);
    EXPECT_EQ(dec::RunCommand("view_front", 0), dex::eCancel);
    EXPECT_EQ(host::EventLog::Instance().Calls("RunCommand view_top flags=0").size(), 1u);
    view->SetEdgeMode(1);
    EXPECT_EQ(view->IsEdgeMode(), 1);
}

TEST_F(ViewTest, TemporaryGraphicsGoToTheDrawingsStore)
{
    decView* view = dec::GetActiveView();
    const GePoint3d pts[] = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}};
    view->DrawPolyline(pts, 3, 0xFFFF, 5);
    view->MarkPoints(pts, 1, 20, 0xFF00);
    view->DrawPolyline(nullptr, 3, 0xFFFF, 5);
    view->DrawPolyline(pts, 0, 0xFFFF, 5);
    TempGraphics& store = dec::GetWorkingDatabase()->GetTempGraphics();
    ASSERT_EQ(store.GetPolylineCount(), 1);
    EXPECT_EQ(store.Polylines()[0].points.size(), 3u);
    EXPECT_EQ(store.Polylines()[0].colour, 0xFFFFu);
    ASSERT_EQ(store.Marks().size(), 1u);
    EXPECT_EQ(store.Marks()[0].size, 20);
    view->ClearHighlights();
    EXPECT_EQ(store.GetPolylineCount(), 0);
    EXPECT_TRUE(store.Marks().empty());
}

#include "Wnd.h"

TEST_F(ViewTest, TheMainFrameIsAWindowThatDialogsCanEnableAndDisable)
{
    CWnd* frame = dec::GetMainFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_NE(frame->GetSafeHwnd(), nullptr);
    EXPECT_EQ(frame->GetSafeHwnd(), dec::GetMainFrameHWnd());
    frame->EnableWindow(FALSE);
    EXPECT_FALSE(frame->IsWindowEnabled());
    frame->EnableWindow(TRUE);
    frame->SetFocus();
    EXPECT_TRUE(frame->IsWindowEnabled());
    // Dialog scopes are recorded on entry and exit.
    {
        int dialog = 0;
        ActivateMainFrameWnd scope(&dialog);
    }
    EXPECT_EQ(host::EventLog::Instance().Calls("ActivateMainFrameWnd").size(), 2u);
}
