#include "TestDialog.h"

#include <cmath>
#include <cstdio>

#include "EventLog.h"
#include "ScriptedUser.h"

namespace testdlg {

using host::mfc::ControlKind;
using host::mfc::ControlTemplate;

void RegisterTemplate()
{
    using namespace host::mfc;
    DialogTemplate t;
    t.id = kTemplate;
    t.caption = "测试对话框";
    t.controls = {
        {.id = kNote, .kind = ControlKind::Static, .text = "名称："},
        {.id = kName, .kind = ControlKind::Edit, .style = kGroupStart},
        {.id = kCount, .kind = ControlKind::Edit},
        {.id = kSpin, .kind = ControlKind::Spin, .buddy = kCount, .rangeMin = 0, .rangeMax = 100},
        {.id = kFloors, .kind = ControlKind::Edit},
        {.id = kSlope, .kind = ControlKind::Edit},
        {.id = kLength, .kind = ControlKind::Edit},
        {.id = kParapet, .kind = ControlKind::CheckBox, .text = "女儿墙"},
        {.id = kFlat, .kind = ControlKind::Radio, .text = "平屋顶", .style = kGroupStart},
        {.id = kSloped, .kind = ControlKind::Radio, .text = "坡屋顶"},
        {.id = kStorey, .kind = ControlKind::ComboBox, .style = kGroupStart | kDropDown | kSorted,
         .items = {"3300", "2900", "3000"}},
        {.id = kColour, .kind = ControlKind::ComboBox, .style = kDropList, .items = {"红", "绿", "蓝"}},
        {.id = kGroups, .kind = ControlKind::ListBox, .style = kSorted | kNotify},
        {.id = kPick, .kind = ControlKind::Button, .text = ">>"},
        {.id = kPicture, .kind = ControlKind::Picture, .bitmap = kBitmapFlat},
        {.id = IDOK, .kind = ControlKind::Button, .text = "确定", .style = kGroupStart},
        {.id = IDCANCEL, .kind = ControlKind::Button, .text = "取消"},
    };
    ResourceRegistry::Instance().AddDialog(t);
    ResourceRegistry::Instance().AddBitmap({kBitmapFlat, "a flat roof"});
    ResourceRegistry::Instance().AddBitmap({kBitmapSloped, "a sloped roof"});
}

BEGIN_MESSAGE_MAP(CTestDlg, CDialog)
    ON_EN_CHANGE(kName, &CTestDlg::OnEnChangeName)
    ON_EN_KILLFOCUS(kLength, &CTestDlg::OnEnKillfocusLength)
    ON_BN_CLICKED(kParapet, &CTestDlg::OnBnClickedParapet)
    ON_BN_CLICKED(kFlat, &CTestDlg::OnBnClickedFlat)
    ON_BN_CLICKED(kSloped, &CTestDlg::OnBnClickedSloped)
    ON_CBN_SELCHANGE(kStorey, &CTestDlg::OnCbnSelchangeStorey)
    ON_LBN_SELCHANGE(kGroups, &CTestDlg::OnLbnSelchangeGroups)
    ON_BN_CLICKED(kPick, &CTestDlg::OnBnClickedPick)
    ON_WM_VSCROLL()
    ON_WM_PAINT()
    ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

void CTestDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Text(dx, kName, m_name);
    DDV_MaxChars(dx, m_name, 8);
    DDX_Text(dx, kCount, m_count);
    DDV_MinMaxInt(dx, m_count, 1, 10);
    DDX_Text(dx, kFloors, m_floors);
    DDV_MinMaxUInt(dx, m_floors, 1, 200);
    DDX_Text(dx, kSlope, m_slope);
    DDV_MinMaxFloat(dx, m_slope, 1.0f, 89.0f);
    DDX_Text(dx, kLength, m_length);
    DDX_Check(dx, kParapet, m_parapet);
    DDX_Radio(dx, kFlat, m_kind);
    DDX_CBString(dx, kStorey, m_storey);
    DDV_MaxChars(dx, m_storey, 5);
    DDX_CBIndex(dx, kColour, m_colour);
    DDX_Control(dx, kGroups, m_groups);
    DDX_Control(dx, kSpin, m_spin);
}

BOOL CTestDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_spin.SetRange(1, 10);
    for (const char* name : {"乙组", "甲组", "beta", "Alpha"}) m_groups.AddString(name);
    m_groups.SetCurSel(0);
    // Setting an edit's text from the program sends its change notification too.
    SetDlgItemText(kName, m_name + "1");
    return TRUE;
}

void CTestDlg::OnEnChangeName()
{
    ++m_nameChanges;
}

void CTestDlg::OnEnKillfocusLength()
{
    ++m_lengthLeaves;
    UpdateData(TRUE);
}

void CTestDlg::OnBnClickedParapet()
{
    GetDlgItem(kSlope)->EnableWindow(IsDlgButtonChecked(kParapet) ? FALSE : TRUE);
}

void CTestDlg::OnBnClickedFlat()
{
    UpdateData(TRUE);
    static_cast<CStatic*>(GetDlgItem(kPicture))->SetBitmap(LoadBitmap(AfxGetInstanceHandle(), MAKEINTRESOURCE(kBitmapFlat)));
    m_events.push_back("flat " + std::to_string(m_kind));
}

void CTestDlg::OnBnClickedSloped()
{
    UpdateData(TRUE);
    static_cast<CStatic*>(GetDlgItem(kPicture))->SetBitmap(LoadBitmap(AfxGetInstanceHandle(), MAKEINTRESOURCE(kBitmapSloped)));
    m_events.push_back("sloped " + std::to_string(m_kind));
}

void CTestDlg::OnCbnSelchangeStorey()
{
    auto* box = static_cast<CComboBox*>(GetDlgItem(kStorey));
    CString item, field;
    box->GetLBText(box->GetCurSel(), item);
    box->GetWindowText(field);
    m_events.push_back("storey item " + item.str() + " field " + field.str());
}

void CTestDlg::OnLbnSelchangeGroups()
{
    CString text;
    m_groups.GetText(m_groups.GetCurSel(), text);
    m_events.push_back("group " + text.str());
}

// Hands over to the drawing for two points, as the module's pick buttons do; the points are
// the next script lines ("x,y").
void CTestDlg::OnBnClickedPick()
{
    UpdateData(TRUE);
    ShowWindow(SW_HIDE);
    double p[2][2] = {};
    bool given = true;
    for (auto& point : p) {
        const auto line = host::ScriptedUser::Instance().Next();
        given = given && line && std::sscanf(line->text.c_str(), "%lf,%lf", &point[0], &point[1]) == 2;
    }
    if (given) m_length = std::hypot(p[1][0] - p[0][0], p[1][1] - p[0][1]);
    UpdateData(FALSE);
    ShowWindow(SW_SHOW);
}

void CTestDlg::OnVScroll(UINT code, UINT position, CScrollBar* bar)
{
    if (code != SB_ENDSCROLL && bar == &m_spin) {
        const int before = m_count;
        UpdateData(TRUE);
        m_events.push_back("spin " + std::to_string(before) + "->" + std::to_string(position));
    }
    if (code == SB_ENDSCROLL) m_events.push_back("spin end");
    CDialog::OnVScroll(code, position, bar);
}

void CTestDlg::OnPaint()
{
    ++m_paints;
}

void CTestDlg::OnShowWindow(BOOL show, UINT status)
{
    CDialog::OnShowWindow(show, status);
    m_events.push_back(show ? "shown" : "hidden");
}

void CStayOpenDlg::OnOK()
{
    if (!UpdateData(TRUE)) return;
    if (m_count > 5) {
        MessageBox("数量不能大于5!", "警告", MB_ICONEXCLAMATION);
        GotoDlgCtrl(GetDlgItem(kCount));
        return;
    }
    ++m_applied;
}

void CStayOpenDlg::OnCancel()
{
    ++m_cancels;
    CDialog::OnCancel();
}

}  // namespace testdlg

namespace testdlg {

void QuietHostTest::SetUp()
{
    host::EventLog::Instance().Clear();
    host::ScriptedUser::Instance().Clear();
    host::ScriptedUser::Instance().SetQuiet(true);
}

void DialogTest::SetUp()
{
    QuietHostTest::SetUp();
    RegisterTemplate();
}

}  // namespace testdlg
