// A dialog that hands the drawing over for a pick, through the host's own point input.
#include <gtest/gtest.h>

#include "EventLog.h"
#include "Input.h"
#include "MainFrame.h"
#include "ScriptedUser.h"
#include "TestDialog.h"

namespace {

using namespace testdlg;

class CHostPickDlg : public CTestDlg {
public:
    int m_lastAnswer = 0;

protected:
    // Hands over to the drawing, takes two points, and takes the dialog back, as the module's
    // length pickers do.
    afx_msg void OnBnClickedPickWithHost()
    {
        UpdateData(TRUE);
        CWnd* frame = dec::GetMainFrame();
        frame->EnableWindow(TRUE);
        frame->SetFocus();
        frame->SetActiveWindow();
        ShowWindow(SW_HIDE);
        GePoint3d first, second;
        {
            ActivateMainFrameWnd guard(this);
            m_lastAnswer = dec::GetPoint(nullptr, &first, 0xe1e1);
        }
        if (m_lastAnswer == -2) {
            ActivateMainFrameWnd guard(this);
            m_lastAnswer = dec::GetPoint(&first, &second, 0xe1e1);
        }
        if (m_lastAnswer == -2) m_length = first.DistanceTo(second);
        UpdateData(FALSE);
        frame->EnableWindow(FALSE);
        EnableWindow(TRUE);
        SetActiveWindow();
        ShowWindow(SW_SHOW);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CHostPickDlg, CTestDlg)
    ON_BN_CLICKED(kPick, &CHostPickDlg::OnBnClickedPickWithHost)
END_MESSAGE_MAP()

class DialogHostInput : public DialogTest {};

TEST_F(DialogHostInput, TheHostsPointQuestionsTakeTheLinesAfterTheClick)
{
    CHostPickDlg dlg;
    host::ScriptedUser::Instance().Feed(std::vector<std::string>{"click 1014", "100,100", "100,1300,0", "ok"}, "test");
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_DOUBLE_EQ(dlg.m_length, 1200.0);
    EXPECT_EQ(host::EventLog::Instance().Calls("ActivateMainFrameWnd enter").size(), 2u);
    EXPECT_EQ(host::EventLog::Instance().Calls("EnableWindow window \"quenra3d\""),
              (std::vector<std::string>{"EnableWindow window \"quenra3d\" 1", "EnableWindow window \"quenra3d\" 0"}));
    EXPECT_FALSE(host::ScriptedUser::Instance().Failed());
}

TEST_F(DialogHostInput, ACancelledPickLeavesTheFieldAndTheDialogGoesOn)
{
    CHostPickDlg dlg;
    host::ScriptedUser::Instance().Feed(std::vector<std::string>{"click 1014", "0,0", "*cancel*", "set 1002 4", "ok"},
                                        "test");
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_lastAnswer, -4);
    EXPECT_DOUBLE_EQ(dlg.m_length, 1200.5);
    EXPECT_EQ(dlg.m_count, 4);
}

TEST_F(DialogHostInput, RunningOutOfLinesInsideAPickCancelsThePickAndThenTheDialog)
{
    CHostPickDlg dlg;
    host::ScriptedUser::Instance().Feed(std::vector<std::string>{"click 1014", "0,0"}, "test");
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_lastAnswer, -4);
    EXPECT_TRUE(host::EventLog::Instance().Shown("test:2: the lines ran out while dialog 9001 was open; answered Esc"));
}

}  // namespace
