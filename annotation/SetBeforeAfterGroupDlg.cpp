#include "SetBeforeAfterGroupDlg.h"

#include <algorithm>

#include "ModuleGlobals.h"

using AnalysisGroups::NameList;
using AnalysisGroups::Offer;

namespace {

// The remembered lists of the two dialogs.
std::list<CString>& CompareBefore() { return g_analysisGroupLists[0]; }
std::list<CString>& CompareAfter() { return g_analysisGroupLists[1]; }
std::list<CString>& WindowBefore() { return g_analysisGroupLists[2]; }
std::list<CString>& WindowAfter() { return g_analysisGroupLists[3]; }
std::list<CString>& WindowGuest() { return g_analysisGroupLists[4]; }

// The main names followed by the guest names, a name that repeats the one before it dropped.
// Only a direct repeat goes: a guest group that stands elsewhere among the main names stays
// twice and gives its objects twice, which the analysis side is promised (the objects shade
// the same either way).
NameList WithGuests(NameList names, const NameList& guests)
{
    names.insert(names.end(), guests.begin(), guests.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

// Reads a box and makes its names the remembered list.
NameList ReadAndRemember(const CListBox& box, std::list<CString>& remembered)
{
    NameList names = AnalysisGroups::ReadNames(box);
    AnalysisGroups::Remember(remembered, names);
    return names;
}

}  // namespace

// ---- the shared part ----

CBeforeAfterGroupDlg::CBeforeAfterGroupDlg(UINT templateId, std::list<CString>& rememberedBefore,
                                           std::list<CString>& rememberedAfter, CWnd* parent)
    : CDialog(templateId, parent), m_rememberedBefore(rememberedBefore), m_rememberedAfter(rememberedAfter)
{
}

BEGIN_MESSAGE_MAP(CBeforeAfterGroupDlg, CDialog)
    ON_BN_CLICKED(IDC_BEFORE_REMOVE, &CBeforeAfterGroupDlg::OnBnClickedRemoveBefore)
    ON_BN_CLICKED(IDC_BEFORE_RESET, &CBeforeAfterGroupDlg::OnBnClickedResetBefore)
    ON_BN_CLICKED(IDC_AFTER_REMOVE, &CBeforeAfterGroupDlg::OnBnClickedRemoveAfter)
    ON_BN_CLICKED(IDC_AFTER_RESET, &CBeforeAfterGroupDlg::OnBnClickedResetAfter)
    ON_BN_CLICKED(IDOK, &CBeforeAfterGroupDlg::OnBnClickedOk)
END_MESSAGE_MAP()

int CBeforeAfterGroupDlg::InitGroupInfo()
{
    return BuildGroup::GetAllGroupInfo(m_groups);
}

void CBeforeAfterGroupDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_BEFORE_GROUPS, m_beforeList);
    DDX_Control(dx, IDC_AFTER_GROUPS, m_afterList);
}

void CBeforeAfterGroupDlg::FillMainLists(bool nothingRemembered)
{
    if (nothingRemembered) {
        AnalysisGroups::FillWithGroups(m_beforeList, m_groups, Offer::AllGroups);
        AnalysisGroups::FillWithGroups(m_afterList, m_groups, Offer::AllGroups);
        return;
    }
    AnalysisGroups::FillWithRemembered(m_beforeList, m_rememberedBefore, m_groups);
    AnalysisGroups::FillWithRemembered(m_afterList, m_rememberedAfter, m_groups);
}

void CBeforeAfterGroupDlg::CollectMainGroups(const NameList& before, const NameList& after)
{
    if (m_mode == kFaceMode) {
        AnalysisGroups::AppendFaces(m_groups, before, m_beforeFaces);
        AnalysisGroups::AppendFaces(m_groups, after, m_afterFaces);
        return;
    }
    AnalysisGroups::AppendObjects(m_groups, before, m_beforeObjects);
    AnalysisGroups::AppendObjects(m_groups, after, m_afterObjects);
}

void CBeforeAfterGroupDlg::OnBnClickedRemoveBefore()
{
    AnalysisGroups::RemoveSelected(m_beforeList);
}

void CBeforeAfterGroupDlg::OnBnClickedResetBefore()
{
    AnalysisGroups::ResetAfterQuestion(m_beforeList, m_groups, Offer::AllGroups, "重新设置建设前遮挡实体所在的主体组？",
                                       "重置建设前主体组");
}

void CBeforeAfterGroupDlg::OnBnClickedRemoveAfter()
{
    AnalysisGroups::RemoveSelected(m_afterList);
}

void CBeforeAfterGroupDlg::OnBnClickedResetAfter()
{
    AnalysisGroups::ResetAfterQuestion(m_afterList, m_groups, Offer::AllGroups, "重新设置建设后遮挡实体所在的主体组？",
                                       "重置建设后主体组");
}

void CBeforeAfterGroupDlg::OnBnClickedOk()
{
    UpdateData(TRUE);
    Collect();
    CDialog::OnOK();
}

// ---- the comparison dialog ----

CSetBeforeAfterCompareAnalyseGroupDlg::CSetBeforeAfterCompareAnalyseGroupDlg(CWnd* parent)
    : CBeforeAfterGroupDlg(IDD, CompareBefore(), CompareAfter(), parent)
{
}

BOOL CSetBeforeAfterCompareAnalyseGroupDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    FillMainLists(m_rememberedBefore.empty() && m_rememberedAfter.empty());
    return TRUE;
}

void CSetBeforeAfterCompareAnalyseGroupDlg::Collect()
{
    const NameList before = ReadAndRemember(m_beforeList, m_rememberedBefore);
    const NameList after = ReadAndRemember(m_afterList, m_rememberedAfter);
    CollectMainGroups(before, after);
}

// ---- the window dialog ----

CSetBeforeAfterWinAnalyseGroupDlg::CSetBeforeAfterWinAnalyseGroupDlg(CWnd* parent)
    : CBeforeAfterGroupDlg(IDD, WindowBefore(), WindowAfter(), parent)
{
}

BEGIN_MESSAGE_MAP(CSetBeforeAfterWinAnalyseGroupDlg, CBeforeAfterGroupDlg)
    ON_BN_CLICKED(IDC_GUEST_REMOVE, &CSetBeforeAfterWinAnalyseGroupDlg::OnBnClickedRemoveGuest)
    ON_BN_CLICKED(IDC_GUEST_RESET, &CSetBeforeAfterWinAnalyseGroupDlg::OnBnClickedResetGuest)
END_MESSAGE_MAP()

void CSetBeforeAfterWinAnalyseGroupDlg::DoDataExchange(CDataExchange* dx)
{
    CBeforeAfterGroupDlg::DoDataExchange(dx);
    DDX_Control(dx, IDC_GUEST_GROUPS, m_guestList);
    DDX_Check(dx, IDC_PICK_WINDOWS, m_pickInDrawing);
}

BOOL CSetBeforeAfterWinAnalyseGroupDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    const bool nothingRemembered = m_rememberedBefore.empty() && m_rememberedAfter.empty() && WindowGuest().empty();
    FillMainLists(nothingRemembered);
    if (nothingRemembered)
        AnalysisGroups::FillWithGroups(m_guestList, m_groups, Offer::GroupsWithWindows);
    else
        AnalysisGroups::FillWithRemembered(m_guestList, WindowGuest(), m_groups);
    return TRUE;
}

void CSetBeforeAfterWinAnalyseGroupDlg::Collect()
{
    NameList guests = AnalysisGroups::ReadNames(m_guestList);
    // Face mode remembers the guests it was shown; entity mode what it uses.
    if (m_mode == kFaceMode)
        AnalysisGroups::Remember(WindowGuest(), guests);
    if (m_pickInDrawing)
        guests.clear();
    if (m_mode != kFaceMode)
        AnalysisGroups::Remember(WindowGuest(), guests);

    const NameList before = WithGuests(ReadAndRemember(m_beforeList, m_rememberedBefore), guests);
    const NameList after = WithGuests(ReadAndRemember(m_afterList, m_rememberedAfter), guests);
    CollectMainGroups(before, after);
    AnalysisGroups::AppendWindows(m_groups, guests, m_guestWindows);
}

void CSetBeforeAfterWinAnalyseGroupDlg::OnBnClickedRemoveGuest()
{
    AnalysisGroups::RemoveSelected(m_guestList);
}

void CSetBeforeAfterWinAnalyseGroupDlg::OnBnClickedResetGuest()
{
    AnalysisGroups::ResetAfterQuestion(m_guestList, m_groups, Offer::GroupsWithWindows, "重新设置分析窗口所在的客体组？",
                                       "重置客体组");
}

// ---- the analysis side's questions ----

namespace {

// Sets the mode of a dialog before it is shown.
auto InMode(int mode)
{
    return [mode](CBeforeAfterGroupDlg& dialog) { dialog.m_mode = mode; };
}

}  // namespace

int GetBeforeAfterHideEntByGroup(EntityArray& before, EntityArray& after)
{
    return AnalysisGroups::RunGroupQuery<CSetBeforeAfterCompareAnalyseGroupDlg>(
        InMode(CBeforeAfterGroupDlg::kEntityMode), [&](CBeforeAfterGroupDlg& dialog) {
            before = dialog.m_beforeObjects;
            after = dialog.m_afterObjects;
        });
}

int GetBeforeAfterHideFaceByGroup(std::vector<GePoint3dArray>& before, std::vector<GePoint3dArray>& after)
{
    return AnalysisGroups::RunGroupQuery<CSetBeforeAfterCompareAnalyseGroupDlg>(
        InMode(CBeforeAfterGroupDlg::kFaceMode), [&](CBeforeAfterGroupDlg& dialog) {
            before = dialog.m_beforeFaces;
            after = dialog.m_afterFaces;
        });
}

int GetWinBeforeAfterHideEntByGroup(EntityArray& before, EntityArray& after, EntityArray& windows)
{
    return AnalysisGroups::RunGroupQuery<CSetBeforeAfterWinAnalyseGroupDlg>(
        InMode(CBeforeAfterGroupDlg::kEntityMode), [&](CSetBeforeAfterWinAnalyseGroupDlg& dialog) {
            before = dialog.m_beforeObjects;
            after = dialog.m_afterObjects;
            windows = dialog.m_guestWindows;
        });
}

int GetWinBeforeAfterHideFaceByGroup(std::vector<GePoint3dArray>& before, std::vector<GePoint3dArray>& after,
                                     EntityArray& windows)
{
    return AnalysisGroups::RunGroupQuery<CSetBeforeAfterWinAnalyseGroupDlg>(
        InMode(CBeforeAfterGroupDlg::kFaceMode), [&](CSetBeforeAfterWinAnalyseGroupDlg& dialog) {
            before = dialog.m_beforeFaces;
            after = dialog.m_afterFaces;
            windows = dialog.m_guestWindows;
        });
}
