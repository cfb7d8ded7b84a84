#include "SetWinAnalyseHideGroupDlg.h"

#include "ModuleGlobals.h"

namespace {

std::list<CString>& RememberedShadingGroups()
{
    return g_analysisGroupLists[5];
}

}  // namespace

BEGIN_MESSAGE_MAP(CSetWinAnalyseHideGroupDlg, CDialog)
    ON_BN_CLICKED(IDC_HIDE_RESET, &CSetWinAnalyseHideGroupDlg::OnBnClickedReset)
    ON_BN_CLICKED(IDC_HIDE_REMOVE, &CSetWinAnalyseHideGroupDlg::OnBnClickedRemoveGroup)
    ON_BN_CLICKED(IDOK, &CSetWinAnalyseHideGroupDlg::OnBnClickedOk)
END_MESSAGE_MAP()

int CSetWinAnalyseHideGroupDlg::InitGroupInfo()
{
    return BuildGroup::GetAllGroupInfo(m_groups);
}

void CSetWinAnalyseHideGroupDlg::ResetGroupList()
{
    AnalysisGroups::FillWithGroups(m_groupList, m_groups, AnalysisGroups::Offer::AllGroups);
}

void CSetWinAnalyseHideGroupDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_HIDE_GROUPS, m_groupList);
}

BOOL CSetWinAnalyseHideGroupDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(m_caption);
    if (CWnd* prompt = GetDlgItem(IDC_HIDE_PROMPT))
        prompt->SetWindowText(m_prompt);
    const std::list<CString>& remembered = RememberedShadingGroups();
    if (remembered.empty() || m_allGroups) {
        ResetGroupList();
        return TRUE;
    }
    AnalysisGroups::FillWithRemembered(m_groupList, remembered, m_groups);
    if (m_groupList.GetCount() == 0)
        ResetGroupList();
    return TRUE;
}

void CSetWinAnalyseHideGroupDlg::OnBnClickedReset()
{
    AnalysisGroups::ResetAfterQuestion(m_groupList, m_groups, AnalysisGroups::Offer::AllGroups,
                                       "重新设置窗遮挡实体所在的主体组？", "重置主体组");
}

void CSetWinAnalyseHideGroupDlg::OnBnClickedRemoveGroup()
{
    AnalysisGroups::RemoveSelected(m_groupList);
}

void CSetWinAnalyseHideGroupDlg::OnBnClickedOk()
{
    if (m_groupList.GetCount() == 0) {
        if (CWnd* reset = GetDlgItem(IDC_HIDE_RESET))
            reset->SetFocus();
        AfxMessageBox("请设置选择遮挡实体所在的组！", MB_OK);
        return;
    }
    AnalysisGroups::NameList chosen;
    for (const CString& name : AnalysisGroups::ReadNames(m_groupList))
        if (AnalysisGroups::FindGroup(m_groups, name))
            chosen.push_back(name);
    AnalysisGroups::AppendFaces(m_groups, chosen, m_faces);
    AnalysisGroups::Remember(RememberedShadingGroups(), chosen);
    m_objects.clear();
    AnalysisGroups::AppendObjects(m_groups, chosen, m_objects);
    CDialog::OnOK();
}

namespace {

// The dialog as constructed: its own caption and prompt, the remembered groups offered.
void KeepOwnTexts(CSetWinAnalyseHideGroupDlg&) {}

}  // namespace

int GetHideEntityByGroup(EntityArray& objects)
{
    return AnalysisGroups::RunGroupQuery<CSetWinAnalyseHideGroupDlg>(
        KeepOwnTexts, [&](CSetWinAnalyseHideGroupDlg& dialog) { objects = dialog.m_objects; });
}

int GetHideFaceByGroup(std::vector<GePoint3dArray>& faces)
{
    return AnalysisGroups::RunGroupQuery<CSetWinAnalyseHideGroupDlg>(
        KeepOwnTexts, [&](CSetWinAnalyseHideGroupDlg& dialog) { faces = dialog.m_faces; });
}

int GetHideBuildByGroup(EntityArray& buildings, const CString caption, const CString prompt)
{
    const auto listEveryGroup = [&](CSetWinAnalyseHideGroupDlg& dialog) {
        dialog.m_caption = caption;
        dialog.m_prompt = prompt;
        dialog.m_allGroups = 1;
    };
    EntityArray chosen;
    const auto takeObjects = [&](CSetWinAnalyseHideGroupDlg& dialog) { chosen = dialog.m_objects; };
    if (!AnalysisGroups::RunGroupQuery<CSetWinAnalyseHideGroupDlg>(listEveryGroup, takeObjects))
        return 0;
    buildings.clear();
    for (decDbEntity* object : chosen)
        if (IsExtendBuild(object) || IsExtrudeBuild(object))
            buildings.push_back(object);
    return buildings.empty() ? 0 : 1;
}
