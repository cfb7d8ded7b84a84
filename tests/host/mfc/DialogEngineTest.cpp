#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "EventLog.h"
#include "ScriptedUser.h"
#include "TestDialog.h"
#include "WindowOps.h"

namespace {

using namespace testdlg;

class DialogEngine : public DialogTest {
protected:
    static void Script(const std::vector<std::string>& lines) { host::ScriptedUser::Instance().Feed(lines, "test"); }
    static bool Shown(const std::string& text) { return host::EventLog::Instance().Shown(text); }
    static std::string Transcript() { return host::EventLog::Instance().Transcript(); }
    static bool Saw(const CTestDlg& dlg, const std::string& event)
    {
        return std::find(dlg.m_events.begin(), dlg.m_events.end(), event) != dlg.m_events.end();
    }
};

TEST_F(DialogEngine, ValuesTypedIntoTheControlsReachTheMembersOnOk)
{
    CTestDlg dlg;
    Script({"set 1001 北楼", "set 1002 7", "set 1004 12", "set 1005 22.5", "set 1006 3000.25", "check 1007 1",
            "radio 1009", "set 1011 3150", "choose 1012 2", "ok"});
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_name, "北楼");
    EXPECT_EQ(dlg.m_count, 7);
    EXPECT_EQ(dlg.m_floors, 12u);
    EXPECT_FLOAT_EQ(dlg.m_slope, 22.5f);
    EXPECT_DOUBLE_EQ(dlg.m_length, 3000.25);
    EXPECT_EQ(dlg.m_parapet, 1);
    EXPECT_EQ(dlg.m_kind, 1);
    EXPECT_EQ(dlg.m_storey, "3150");
    EXPECT_EQ(dlg.m_colour, 2);
    EXPECT_TRUE(Shown("dialog 9001 \"测试对话框\" opened"));
    EXPECT_TRUE(Shown("dialog 9001 \"测试对话框\" closed: IDOK"));
    EXPECT_FALSE(host::ScriptedUser::Instance().Failed());
    // The windows are gone with the dialog: bound members are free again.
    EXPECT_EQ(dlg.m_groups.GetSafeHwnd(), nullptr);
    EXPECT_EQ(dlg.m_groups.GetCount(), LB_ERR);
}

TEST_F(DialogEngine, ChangeNotificationsComeFromTheUserAndFromTheProgramButNotFromTheExchange)
{
    CTestDlg dlg;
    Script({"set 1001 A", "set 1001 AB", "ok"});
    dlg.DoModal();
    // OnInitDialog's UpdateData(FALSE) sends nothing; its SetDlgItemText sends one; the two
    // typed texts one each; the OK exchange none.
    EXPECT_EQ(dlg.m_nameChanges, 3);
}

TEST_F(DialogEngine, ARangeErrorKeepsTheDialogOpenWithTheFrameworkMessage)
{
    CTestDlg dlg;
    Script({"set 1001 南楼", "set 1002 11", "ok", "set 1002 10", "ok"});
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(Shown("] 请输入一个介于 1 和 10 之间的整数。"));
    EXPECT_EQ(dlg.m_count, 10);
    const std::string t = Transcript();
    EXPECT_LT(t.find("请输入一个介于 1 和 10"), t.find("closed: IDOK"));
}

TEST_F(DialogEngine, AFailedCheckStopsTheExchangeAfterTheFieldsBeforeIt)
{
    CTestDlg dlg;
    Script({"set 1001 东楼", "set 1002 0", "set 1004 99", "ok", "cancel"});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_name, "东楼");  // taken over before the failing check
    EXPECT_EQ(dlg.m_count, 0);      // read, then refused by its check
    EXPECT_EQ(dlg.m_floors, 6u);    // never reached
}

TEST_F(DialogEngine, AFailedCheckFocusesItsControl)
{
    struct FocusProbe : CTestDlg {
        int focused = 0;
        void OnOK() override
        {
            if (!UpdateData(TRUE)) focused = GetFocus() ? GetFocus()->GetDlgCtrlID() : 0;
        }
    } dlg;
    Script({"set 1005 95", "ok", "cancel"});
    dlg.DoModal();
    EXPECT_EQ(dlg.focused, kSlope);
    EXPECT_TRUE(Shown("请输入一个介于 1 和 89 之间的数字。"));
}

TEST_F(DialogEngine, TextThatIsNoNumberIsRefusedByKind)
{
    CTestDlg dlg;
    Script({"set 1002 7a", "ok", "set 1002 7", "set 1004 -3", "ok", "set 1004 3", "set 1006 ", "ok", "set 1006 2.5e3",
            "ok"});
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(Shown("请输入一个整数。"));
    EXPECT_TRUE(Shown("请输入一个正整数。"));
    EXPECT_TRUE(Shown("请输入一个数字。"));
    EXPECT_DOUBLE_EQ(dlg.m_length, 2500.0);
}

TEST_F(DialogEngine, APickButtonTakesItsPointsFromTheFollowingLines)
{
    CTestDlg dlg;
    Script({"click 1014", "0,0", "300,400", "ok"});
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_DOUBLE_EQ(dlg.m_length, 500.0);
    // Hidden during the pick and shown again.
    const std::vector<std::string> expected{"shown", "hidden", "shown", "hidden"};
    std::vector<std::string> shows;
    for (const std::string& e : dlg.m_events)
        if (e == "shown" || e == "hidden") shows.push_back(e);
    EXPECT_EQ(shows, expected);
}

TEST_F(DialogEngine, CancelAndTheEndOfTheLinesCloseWithIdCancel)
{
    CStayOpenDlg dlg;
    Script({"set 1002 4", "cancel"});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_count, 3);  // nothing taken over
    EXPECT_EQ(dlg.m_cancels, 1);

    CStayOpenDlg again;
    Script({"set 1002 4", "ok"});
    EXPECT_EQ(again.DoModal(), IDCANCEL);
    EXPECT_EQ(again.m_applied, 1);  // its OK kept it open
    EXPECT_EQ(again.m_cancels, 1);  // the end of the lines is Esc
    EXPECT_TRUE(Shown("dialog 9001 \"测试对话框\" closed: IDCANCEL"));
}

TEST_F(DialogEngine, ADialogThatWillNotCloseIsClosedWhenTheLinesRunOut)
{
    struct Stubborn : CTestDlg {
        void OnCancel() override {}
    } dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

TEST_F(DialogEngine, AnOkHandlerCanWarnAndStayOpen)
{
    CStayOpenDlg dlg;
    Script({"set 1002 8", "ok", "set 1002 5", "ok", "cancel"});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(Shown("[警告] 数量不能大于5!"));
    EXPECT_EQ(dlg.m_applied, 1);
}

TEST_F(DialogEngine, LinesTheDialogCannotTakeAreRefusedAndTheDialogGoesOn)
{
    CTestDlg dlg;
    Script({"set 4242 x", "click 1001", "check 1009 1", "choose 1012 3", "frobnicate", "set abc 1", "check 1007 2",
            "spin 1003 up", "ok now", "set 1002 2", "ok"});
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_count, 2);
    const std::string t = Transcript();
    int refusals = 0;
    for (std::size_t at = 0; (at = t.find("test:", at)) != std::string::npos; ++at) ++refusals;
    EXPECT_EQ(refusals, 9);
    EXPECT_TRUE(Shown("test:1: dialog 9001 has no control 4242"));
    EXPECT_TRUE(Shown("test:2: dialog 9001: control 1001 is an edit, \"click\" does not apply"));
    EXPECT_TRUE(Shown("test:4: dialog 9001: control 1012 has no item 3 (it has 3)"));
    EXPECT_TRUE(Shown("test:5: dialog 9001 does not understand \"frobnicate\""));
}

TEST_F(DialogEngine, DisabledControlsTakeNoInput)
{
    CTestDlg dlg;
    Script({"check 1007 1", "set 1005 40", "check 1007 0", "set 1005 40", "ok"});
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(Shown("test:2: dialog 9001: control 1005 is disabled"));
    EXPECT_FLOAT_EQ(dlg.m_slope, 40.0f);
    // What the program changed is kept as host calls, for tests to follow the dialog's states.
    EXPECT_EQ(host::EventLog::Instance().Calls("EnableWindow"),
              (std::vector<std::string>{"EnableWindow dialog 9001 control 1005 0", "EnableWindow dialog 9001 control 1005 1"}));
}

TEST_F(DialogEngine, ADigitsOnlyEditTakesNoOtherText)
{
    host::mfc::DialogTemplate t;
    t.id = 9003;
    t.caption = "数字";
    t.controls = {{.id = 1100, .kind = host::mfc::ControlKind::Edit, .style = host::mfc::kNumber},
                  {.id = IDOK, .kind = host::mfc::ControlKind::Button}};
    ASSERT_TRUE(host::mfc::ResourceRegistry::Instance().AddDialog(t));
    struct Digits : CDialog {
        CString text;
        Digits() : CDialog(9003) {}
        void DoDataExchange(CDataExchange* dx) override { DDX_Text(dx, 1100, text); }
    } dlg;
    Script({"set 1100 12a", "set 1100 -5", "set 1100 0815", "ok"});
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.text, "0815");
    EXPECT_TRUE(Shown("test:1: dialog 9003: control 1100 takes digits only, not \"12a\""));
    EXPECT_TRUE(Shown("test:2: dialog 9003: control 1100 takes digits only"));
}

TEST_F(DialogEngine, RadioButtonsFormAGroupAndSwapThePicture)
{
    CTestDlg dlg;
    int shownBitmap = 0;
    struct Probe : CTestDlg {
        int* bitmap;
        void OnOK() override
        {
            *bitmap = ResourceIdOf(static_cast<CStatic*>(GetDlgItem(kPicture))->GetBitmap());
            CDialog::OnOK();
        }
    } probe;
    probe.bitmap = &shownBitmap;
    Script({"radio 1009", "click 1008", "radio 1009", "ok"});
    ASSERT_EQ(probe.DoModal(), IDOK);
    EXPECT_EQ(probe.m_kind, 1);
    EXPECT_EQ(probe.m_events[1], "sloped 1");
    EXPECT_EQ(probe.m_events[2], "flat 0");
    EXPECT_EQ(shownBitmap, kBitmapSloped);
    EXPECT_EQ(host::EventLog::Instance().Calls("SetBitmap").back(), "SetBitmap dialog 9001 control 1016 2002");
}

TEST_F(DialogEngine, ASelectionChangeIsSeenBeforeTheFieldShowsTheItem)
{
    CTestDlg dlg;
    Script({"choose 1011 2", "ok"});
    ASSERT_EQ(dlg.DoModal(), IDOK);
    // Sorted: 2900, 3000, 3300; the field still showed the exchanged 3000.
    EXPECT_TRUE(Saw(dlg, "storey item 3300 field 3000"));
    EXPECT_EQ(dlg.m_storey, "3300");
}

TEST_F(DialogEngine, TypedTextStopsAtTheLimitAndProgramTextIsChecked)
{
    struct LongStorey : CTestDlg {
        void OnOK() override
        {
            SetDlgItemText(kStorey, "1234567");
            CDialog::OnOK();
        }
    } dlg;
    Script({"set 1011 123456", "set 1001 一二三四五六七八九", "ok", "cancel"});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    // Typing stops at the limits (5 and 8 characters), so the first check to fail is the
    // storey text the program wrote.
    EXPECT_EQ(dlg.m_name, "一二三四五六七八");
    EXPECT_TRUE(Shown("请输入不超过 5 个字符。"));
    EXPECT_EQ(dlg.m_storey, "1234567");
}

TEST_F(DialogEngine, ListBoxesKeepTheirItemsSortedAndReportTheSelection)
{
    struct Lists : CTestDlg {
        std::vector<std::string> items;
        void OnOK() override
        {
            for (int i = 0; i < m_groups.GetCount(); ++i) {
                CString s;
                m_groups.GetText(i, s);
                items.push_back(s.str());
            }
            m_groups.DeleteString(static_cast<UINT>(m_groups.GetCurSel()));
            CDialog::OnOK();
        }
    } dlg;
    Script({"choose 1013 2", "ok"});
    ASSERT_EQ(dlg.DoModal(), IDOK);
    // Case does not matter in the order; the Chinese names follow by their bytes.
    EXPECT_EQ(dlg.items, (std::vector<std::string>{"Alpha", "beta", "乙组", "甲组"}));
    EXPECT_TRUE(Saw(dlg, "group 乙组"));
}

TEST_F(DialogEngine, TheItemsLineShowsAListInOrderWithItsSelectionAndChangesNothing)
{
    CTestDlg dlg;
    Script({"choose 1013 2", "items 1013", "items 1012", "items 1001", "items 1013 x", "ok"});
    ASSERT_EQ(dlg.DoModal(), IDOK);
    const std::string out = Transcript();
    EXPECT_NE(out.find("dialog 9001 control 1013: 4 items\n  0: Alpha\n  1: beta\n  2: 乙组 (selected)\n  3: 甲组\n"),
              std::string::npos) << out;
    EXPECT_NE(out.find("dialog 9001 control 1012: 3 items\n  0: 红\n  1: 绿 (selected)\n  2: 蓝\n"), std::string::npos);
    EXPECT_TRUE(Shown("control 1001 is an edit, \"items\" does not apply"));
    EXPECT_TRUE(Shown("\"items\" takes nothing after the control id"));
    EXPECT_EQ(std::count(dlg.m_events.begin(), dlg.m_events.end(), "group 乙组"), 1);
}

TEST_F(DialogEngine, ControlsListsTheNumberedControlsInTabOrderWithTheirStateAndHelpDoesTheSame)
{
    CTestDlg dlg;
    // A disabled edit, a radio moved on, a list and a drop-list with selections, a picture
    // changed by a handler, a typed text beyond the spin's range.
    Script({"check 1007 1", "radio 1009", "choose 1013 1", "set 1002 42", "set 1011 2750", "controls", "help",
            "controls 1001", "cancel"});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    const std::string listing = "dialog 9001 \"测试对话框\": 17 controls\n"
                                "  1015 static text = \"名称：\", enabled\n"
                                "  1001 edit \"名称：\" = \"楼1\", enabled\n"
                                "  1002 edit = \"42\", enabled\n"
                                "  1003 spin control (sets 1002) = 10 in 1..10, enabled\n"
                                "  1004 edit = \"6\", enabled\n"
                                "  1005 edit = \"30\", disabled\n"
                                "  1006 edit = \"1200.5\", enabled\n"
                                "  1007 check box \"女儿墙\" = checked, enabled\n"
                                "  1008 radio button \"平屋顶\" = unchecked, enabled\n"
                                "  1009 radio button \"坡屋顶\" = checked, enabled\n"
                                "  1011 combo box = \"2750\" (3 items), enabled\n"
                                "  1012 combo box = \"绿\" (item 1 of 3), enabled\n"
                                "  1013 list box = \"beta\" (item 1 of 4), enabled\n"
                                "  1014 button \">>\", enabled\n"
                                "  1016 picture = bitmap 2002 \"a sloped roof\", enabled\n"
                                "  1 button \"确定\", enabled\n"
                                "  2 button \"取消\", enabled\n";
    const std::string out = Transcript();
    const std::size_t first = out.find(listing);
    ASSERT_NE(first, std::string::npos) << out;
    EXPECT_NE(out.find(listing, first + 1), std::string::npos) << "help lists the controls too";
    EXPECT_TRUE(Shown("test:8: \"controls\" takes nothing after it"));

    // Placed controls are labelled by what a person sees: the nearest text beginning left of
    // a field on its first line (a combo box's place holds its drop-down list), else a text
    // right above it; a frame round them labels nothing. Unnumbered texts are not listed.
    using host::mfc::ControlKind;
    using host::mfc::kStaticId;
    host::mfc::DialogTemplate t;
    t.id = 9004;
    t.caption = "位置";
    t.controls = {
        {.id = kStaticId, .kind = ControlKind::Static, .text = "框", .x = 0, .y = 0, .width = 200, .height = 100},
        {.id = kStaticId, .kind = ControlKind::Static, .text = "层数", .x = 10, .y = 12, .width = 30, .height = 8},
        {.id = 1100, .kind = ControlKind::Edit, .x = 45, .y = 10, .width = 40, .height = 12},
        {.id = kStaticId, .kind = ControlKind::Static, .text = "毫米", .x = 88, .y = 12, .width = 20, .height = 8},
        {.id = kStaticId, .kind = ControlKind::Static, .text = "层高", .x = 110, .y = 12, .width = 20, .height = 8},
        {.id = 1101, .kind = ControlKind::ComboBox, .x = 132, .y = 10, .width = 40, .height = 60},
        {.id = kStaticId, .kind = ControlKind::Static, .text = "组", .x = 10, .y = 30, .width = 40, .height = 8},
        {.id = 1102, .kind = ControlKind::ListBox, .x = 10, .y = 40, .width = 60, .height = 50},
        {.id = 1103, .kind = ControlKind::Edit, .style = host::mfc::kHidden, .x = 80, .y = 40, .width = 40, .height = 12},
        {.id = IDOK, .kind = ControlKind::Button, .text = "确定", .x = 150, .y = 80, .width = 40, .height = 14}};
    ASSERT_TRUE(host::mfc::ResourceRegistry::Instance().AddDialog(t));
    CDialog placed(9004);
    Script({"controls", "ok"});
    placed.DoModal();
    EXPECT_NE(Transcript().find("dialog 9004 \"位置\": 5 controls\n"
                                "  1100 edit \"层数\" = \"\", enabled\n"
                                "  1101 combo box \"层高\" = \"\" (0 items), enabled\n"
                                "  1102 list box \"组\" = nothing selected (0 items), enabled\n"
                                "  1103 edit = \"\", enabled, hidden\n"
                                "  1 button \"确定\", enabled\n"),
              std::string::npos)
        << Transcript();
}

TEST_F(DialogEngine, TheSpinStepsItsBuddyAndScrolls)
{
    CTestDlg dlg;
    Script({"spin 1003 2", "spin 1003 20", "ok"});
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_count, 10);  // stopped at the top of the range 1..10
    EXPECT_EQ(dlg.m_events[1], "spin 3->4");
    EXPECT_EQ(dlg.m_events[2], "spin 4->5");
    EXPECT_EQ(dlg.m_events[3], "spin end");
    EXPECT_EQ(std::count(dlg.m_events.begin(), dlg.m_events.end(), "spin end"), 2);
    EXPECT_TRUE(Saw(dlg, "spin 9->10"));
    EXPECT_FALSE(Saw(dlg, "spin 10->11"));
}

TEST_F(DialogEngine, TheSpinReadsItsPositionFromItsBuddy)
{
    struct Positions : CTestDlg {
        int before = 0, after = 0;
        BOOL OnInitDialog() override
        {
            CTestDlg::OnInitDialog();
            before = m_spin.GetPos();  // the buddy shows the member's 3
            m_spin.SetPos(42);         // clamped to the range 1..10, written to the buddy
            after = m_spin.GetPos();
            return TRUE;
        }
    } dlg;
    Script({"ok"});
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.before, 3);
    EXPECT_EQ(dlg.after, 10);
    EXPECT_EQ(dlg.m_count, 10);
}

TEST_F(DialogEngine, LeavingAnEditSendsItsKillFocus)
{
    CTestDlg dlg;
    Script({"set 1006 42", "leave 1006", "cancel"});
    dlg.DoModal();
    EXPECT_EQ(dlg.m_lengthLeaves, 1);
    EXPECT_DOUBLE_EQ(dlg.m_length, 42.0);  // its handler read the controls
}

TEST_F(DialogEngine, TheDialogIsPaintedWhenItShows)
{
    CTestDlg dlg;
    Script({"click 1014", "0,0", "1,0", "ok"});
    dlg.DoModal();
    EXPECT_EQ(dlg.m_paints, 2);  // on opening and after the pick
}

TEST_F(DialogEngine, AChildWindowCanBePlacedOverAFrameOfTheDialog)
{
    struct Preview : CTestDlg {
        CWnd preview;
        CRect placed;
        BOOL OnInitDialog() override
        {
            CTestDlg::OnInitDialog();
            GetDlgItem(kNote)->GetWindowRect(&placed);
            ScreenToClient(&placed);
            preview.Create(nullptr, "预览窗口", WS_CHILD | WS_VISIBLE, placed, this, 100);
            return TRUE;
        }
    } dlg;
    host::mfc::DialogTemplate t = *host::mfc::ResourceRegistry::Instance().FindDialog(kTemplate);
    for (host::mfc::ControlTemplate& c : t.controls)
        if (c.id == kNote) c.x = 7, c.y = 19, c.width = 105, c.height = 96;
    host::mfc::ResourceRegistry::Instance().AddDialog(t);
    Script({"ok"});
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.placed.left, 7);
    EXPECT_EQ(dlg.placed.bottom, 115);
    EXPECT_EQ(dlg.preview.GetDlgCtrlID(), 100);
    EXPECT_TRUE(dlg.preview.IsWindowVisible());
    EXPECT_EQ(host::EventLog::Instance().Calls("Create"), (std::vector<std::string>{"Create dialog 9001 control 100 100"}));
    EXPECT_TRUE(dlg.preview.DestroyWindow());
    EXPECT_EQ(dlg.preview.GetSafeHwnd(), nullptr);
}

TEST_F(DialogEngine, MissingTemplatesAndNestedRunsAreReported)
{
    CDialog none(4711);
    EXPECT_EQ(none.DoModal(), -1);
    EXPECT_TRUE(Shown("dialog 4711 has no template"));
}

TEST_F(DialogEngine, AnExchangeWithAControlTheTemplateLacksFails)
{
    struct Broken : CTestDlg {
        CString extra;
        void DoDataExchange(CDataExchange* dx) override { DDX_Text(dx, 5555, extra); }
    } dlg;
    // Showing the members already fails: the dialog does not open for input.
    Script({"ok"});
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_TRUE(Shown("dialog 9001 has no control 5555 to exchange"));
    EXPECT_TRUE(Shown("dialog 9001 \"测试对话框\" closed: -1"));
    EXPECT_TRUE(host::ScriptedUser::Instance().HasLine());  // the line was left for what follows
}

TEST_F(DialogEngine, AfxMessageBoxAndTheWindowsBoxGoThroughTheHostsBoxes)
{
    AfxMessageBox("请检查输入的楼层信息！");
    EXPECT_TRUE(Shown(std::string("[") + AfxGetAppName() + "] 请检查输入的楼层信息！"));
    Script({"yes"});
    CWnd frame;
    frame.CreateHeadless("quenra3d");
    EXPECT_EQ(frame.MessageBox("继续？", "提示", MB_YESNO), IDYES);
    EXPECT_EQ(frame.MessageBoxA("没有组", "错误", MB_ICONEXCLAMATION), IDOK);
    EXPECT_TRUE(Shown("[错误] 没有组"));
    SetActiveWindow(frame.GetSafeHwnd());
    EXPECT_EQ(host::EventLog::Instance().Calls("SetActiveWindow"), (std::vector<std::string>{"SetActiveWindow window \"quenra3d\" 1"}));
}

// A dialog with its own map over the test dialog's: its OK entry comes before the framework's,
// and the entries of the class below it still work. Its second button runs a nested dialog.
class CLayeredDlg : public CTestDlg {
public:
    int okClicks = 0;
    INT_PTR innerResult = 0;
    CString innerName;

protected:
    afx_msg void OnBnClickedOk()
    {
        if (++okClicks < 2) return;  // the first OK only warns
        CDialog::OnOK();
    }
    afx_msg void OnBnClickedNested()
    {
        AFX_MAINTAIN_STATE2 guard(AfxGetStaticModuleState());
        CTestDlg inner;
        innerResult = inner.DoModal();
        innerName = inner.m_name;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CLayeredDlg, CTestDlg)
    ON_BN_CLICKED(IDOK, &CLayeredDlg::OnBnClickedOk)
    ON_BN_CLICKED(IDCANCEL, &CLayeredDlg::OnBnClickedNested)
END_MESSAGE_MAP()

TEST_F(DialogEngine, ADerivedMapComesFirstAndFallsBackToItsBase)
{
    CLayeredDlg dlg;
    Script({"set 1001 x", "ok", "ok"});
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.okClicks, 2);
    EXPECT_EQ(dlg.m_nameChanges, 2);  // the base class's entry
}

TEST_F(DialogEngine, ADialogOpenedFromAHandlerTakesTheLinesUntilItCloses)
{
    CLayeredDlg dlg;
    // Cancel is mapped to the nested dialog here; its lines come next, then the outer goes on.
    Script({"cancel", "set 1001 内层", "ok", "set 1001 外层", "ok", "ok"});
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.innerResult, IDOK);
    EXPECT_EQ(dlg.innerName, "内层");
    EXPECT_EQ(dlg.m_name, "外层");
    const std::string t = Transcript();
    EXPECT_LT(t.find("closed: IDOK"), t.rfind("closed: IDOK"));
    EXPECT_EQ(AfxGetStaticModuleState()->depth, 0);
}

class CTestApp : public CWinApp {
public:
    CTestApp() : CWinApp("测试程序") {}
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
END_MESSAGE_MAP()

TEST(WinApp, AnApplicationWithAnEmptyMapHandlesNothing)
{
    CTestApp app;
    host::mfc::Message m;
    m.message = WM_COMMAND;
    m.id = IDOK;
    EXPECT_FALSE(app.Dispatch(m));
    EXPECT_STREQ(AfxGetAppName(), "测试程序");
}

TEST(DeviceContext, FramesAreRecorded)
{
    host::EventLog::Instance().Clear();
    CPaintDC dc(nullptr);
    CRect frame(10, 20, 110, 70);
    dc.Draw3dRect(frame, RGB(255, 0, 0), RGB(255, 0, 0));
    InflateRect(&frame, -1, -1);
    dc.Draw3dRect(frame, RGB(255, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(host::EventLog::Instance().Calls("Draw3dRect"),
              (std::vector<std::string>{"Draw3dRect 10 20 110 70 255 255", "Draw3dRect 11 21 109 69 255 255"}));
}

TEST(HeadlessPointer, RestsOverNoWindowAndMessagesAreRecorded)
{
    host::EventLog::Instance().Clear();
    POINT at{5, 5};
    ASSERT_TRUE(GetCursorPos(&at));
    EXPECT_EQ(at.x, 0);
    EXPECT_EQ(WindowFromPoint(at), nullptr);
    CWnd frame;
    frame.CreateHeadless("quenra3d");
    EXPECT_EQ(SendMessage(frame.GetSafeHwnd(), WM_MOUSEWHEEL, 120, 0), 0);
    EXPECT_EQ(SendMessage(nullptr, WM_MOUSEWHEEL, 120, 0), 0);
    EXPECT_EQ(host::EventLog::Instance().Calls("SendMessage"),
              (std::vector<std::string>{"SendMessage 522", "SendMessage (no window) 522"}));
}

TEST(ModuleState, TheGuardNestsAndUnwinds)
{
    AFX_MODULE_STATE* state = AfxGetStaticModuleState();
    {
        AFX_MAINTAIN_STATE2 outer(state);
        AFX_MAINTAIN_STATE2 inner(AfxGetStaticModuleState());
        EXPECT_EQ(state->depth, 2);
    }
    EXPECT_EQ(state->depth, 0);
}

TEST(WinApp, AnUnnamedApplicationIsNamedAfterItsModuleFile)
{
    // The module's application object is a global of the module; here, of the test program.
    static CWinApp app;
    EXPECT_EQ(AfxGetApp(), &app);
    EXPECT_STREQ(AfxGetAppName(), "mfc_tests");
    CWinApp named("日照");
    EXPECT_STREQ(AfxGetAppName(), "日照");
}

TEST(Templates, ATemplateWithTwoControlsOfOneIdIsRefused)
{
    host::mfc::DialogTemplate t;
    t.id = 9002;
    t.controls = {{.id = 5, .kind = host::mfc::ControlKind::Edit}, {.id = 5, .kind = host::mfc::ControlKind::Button}};
    EXPECT_FALSE(host::mfc::ResourceRegistry::Instance().AddDialog(t));
    t.controls[1].id = -1;
    t.controls.push_back({.id = -1, .kind = host::mfc::ControlKind::Static});
    t.controls[0].id = -1;
    EXPECT_TRUE(host::mfc::ResourceRegistry::Instance().AddDialog(t));
}

}  // namespace
