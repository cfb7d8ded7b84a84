#pragma once
// The shading-group dialog "主体组设置": before an analysis the analysis side asks which
// groups cast shadows (the main groups). The user keeps a list of groups, removes some or
// resets it to every group; OK hands back the objects of the listed groups (never their
// windows), their faces, or the buildings among them. The listed names are remembered while
// the module stays loaded and offered again, unless the caller wants every group.
#include "AnalysisGroupLists.h"
#include "AnalysisGroupDlgTemplates.h"
#include "ModelHelperBuildings.h"

class CSetWinAnalyseHideGroupDlg : public CDialog {
public:
    enum { IDD = IDD_HIDE_GROUP };

    explicit CSetWinAnalyseHideGroupDlg(CWnd* parent = nullptr) : CDialog(IDD, parent) {}

    // Takes the drawing's groups; non-zero when there is at least one.
    int InitGroupInfo();
    // Empties the list, lists every group and selects the first.
    void ResetGroupList();

    CListBox m_groupList;
    BuildGroup::FaceList m_faces;  // filled by OK
    EntityArray m_objects;          // filled by OK
    CString m_caption = "主体组设置";
    CString m_prompt = "设置参与遮挡实体所在的组";
    // 1: list every group, whatever is remembered.
    int m_allGroups = 0;
    AnalysisGroups::GroupList m_groups;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

    afx_msg void OnBnClickedReset();
    afx_msg void OnBnClickedRemoveGroup();
    // An empty list is refused with a message and the dialog stays open.
    afx_msg void OnBnClickedOk();
    DECLARE_MESSAGE_MAP()
};

// The analysis side's questions. Each shows the dialog (with no parent, under the module's
// resources) and answers after it closes: 0 at once when the drawing has no group, 0 after
// a cancel (the output and the remembered names as they were), otherwise 1 with the output
// replaced.
// The non-window objects of the chosen groups.
MODEL_HELPER_EXPORT int GetHideEntityByGroup(EntityArray& objects);
// The faces of those objects.
MODEL_HELPER_EXPORT int GetHideFaceByGroup(std::vector<GePoint3dArray>& faces);
// The buildings among those objects; the dialog shows the caller's caption and prompt and
// lists every group. 1 only when at least one building was chosen; the OK still replaces
// the remembered names.
MODEL_HELPER_EXPORT int GetHideBuildByGroup(EntityArray& buildings, const CString caption, const CString prompt);
