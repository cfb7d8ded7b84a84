#pragma once
// The two "主客体设置" dialogs of a comparison analysis, which computes insolation for the
// state before a planned construction and for the state after it:
//   CSetBeforeAfterCompareAnalyseGroupDlg: the main groups (shading objects) before and after;
//   CSetBeforeAfterWinAnalyseGroupDlg: the same plus the guest groups, whose windows are
//   analysed, and a box to choose those windows in the drawing instead.
// Each dialog hands back objects (entity mode) or their face loops (face mode), and remembers
// its own lists while the module stays loaded; a cancel changes nothing.
#include <list>

#include "AnalysisGroupDlgTemplates.h"
#include "AnalysisGroupLists.h"
#include "ModelHelperBuildings.h"

// What both dialogs share: the group list, the before and after boxes with their remove and
// reset buttons, the outputs, and an OK that collects by mode and closes.
class CBeforeAfterGroupDlg : public CDialog {
public:
    enum Mode { kEntityMode = 0, kFaceMode = 1 };

    // Takes the drawing's groups; non-zero when there is at least one.
    int InitGroupInfo();

    AnalysisGroups::GroupList m_groups;
    BuildGroup::FaceList m_beforeFaces, m_afterFaces;
    EntityArray m_beforeObjects, m_afterObjects;
    int m_mode = kEntityMode;  // set by the caller before the dialog is shown

protected:
    CBeforeAfterGroupDlg(UINT templateId, std::list<CString>& rememberedBefore, std::list<CString>& rememberedAfter,
                         CWnd* parent);

    void DoDataExchange(CDataExchange* dx) override;
    // Fills the before and after boxes: every group when nothing is remembered (all of
    // the dialog's lists empty), otherwise the remembered names whose groups still exist.
    void FillMainLists(bool nothingRemembered);
    // Reads the boxes, remembers what it must and fills the outputs of the mode.
    virtual void Collect() = 0;
    // The objects or faces (by mode) of the before and after names.
    void CollectMainGroups(const AnalysisGroups::NameList& before, const AnalysisGroups::NameList& after);

    afx_msg void OnBnClickedRemoveBefore();
    afx_msg void OnBnClickedResetBefore();
    afx_msg void OnBnClickedRemoveAfter();
    afx_msg void OnBnClickedResetAfter();
    afx_msg void OnBnClickedOk();
    DECLARE_MESSAGE_MAP()

    CListBox m_beforeList, m_afterList;
    std::list<CString>& m_rememberedBefore;
    std::list<CString>& m_rememberedAfter;
};

class CSetBeforeAfterCompareAnalyseGroupDlg : public CBeforeAfterGroupDlg {
public:
    enum { IDD = IDD_BEFORE_AFTER_COMPARE_GROUP };
    explicit CSetBeforeAfterCompareAnalyseGroupDlg(CWnd* parent = nullptr);

protected:
    BOOL OnInitDialog() override;
    void Collect() override;
};

class CSetBeforeAfterWinAnalyseGroupDlg : public CBeforeAfterGroupDlg {
public:
    enum { IDD = IDD_BEFORE_AFTER_WIN_GROUP };
    explicit CSetBeforeAfterWinAnalyseGroupDlg(CWnd* parent = nullptr);

    EntityArray m_guestWindows;
    // The check box: the analysed windows are chosen in the drawing, not by group. Unticked
    // on every call.
    int m_pickInDrawing = 0;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    // The guest groups join the before and after groups for collecting (so the windows' own
    // bodies shade them), each group once; the remembered lists never hold them.
    void Collect() override;

    afx_msg void OnBnClickedRemoveGuest();
    afx_msg void OnBnClickedResetGuest();
    DECLARE_MESSAGE_MAP()

    CListBox m_guestList;
};

// The analysis side's questions. Each shows its dialog (with no parent, under the module's
// resources) and answers after it closes: 0 at once when the drawing has no group, 0 after a
// cancel (outputs and remembered lists as they were), otherwise 1 with every output replaced,
// empty lists included.
MODEL_HELPER_EXPORT int GetBeforeAfterHideEntByGroup(EntityArray& before, EntityArray& after);
MODEL_HELPER_EXPORT int GetBeforeAfterHideFaceByGroup(std::vector<GePoint3dArray>& before,
                                                      std::vector<GePoint3dArray>& after);
MODEL_HELPER_EXPORT int GetWinBeforeAfterHideEntByGroup(EntityArray& before, EntityArray& after, EntityArray& windows);
MODEL_HELPER_EXPORT int GetWinBeforeAfterHideFaceByGroup(std::vector<GePoint3dArray>& before,
                                                         std::vector<GePoint3dArray>& after, EntityArray& windows);
