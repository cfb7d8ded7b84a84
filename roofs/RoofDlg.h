#pragma once
// CRoofDlg: the dialog of the roof command. It chooses a flat roof (a slab over the outline
// grown by the overhang, with an optional two-part parapet) or a multi-slope roof (one slope
// per eave edge), lets every length be picked in the drawing as the distance of two points,
// and keeps the eave outline and its edge slopes in step with the overhang while the user
// edits. OK builds the roof.
//
// The base outline comes in clockwise in plan and open, at the roof's elevation; the eave
// outline is the base grown by the overhang and may have fewer corners than the base (a notch
// the overhang closes). Edge slope i belongs to the eave edge from vertex i to vertex i + 1
// (the last to the closing edge), so there are always as many slopes as eave vertices: every
// change of the eave vertex count resets them (to 0 for a flat roof, to the general slope for
// a multi-slope roof), and the edge slope picker (button 1252) gives single edges their own.
#include <initializer_list>
#include <limits>
#include <vector>

#include "Ge.h"
#include "Mfc.h"
#include "RoofDialogDefaults.h"

class CRoofDlg : public CDialog {
public:
    enum Kind { kFlat = 0, kMultiSlope = 1 };

    explicit CRoofDlg(CWnd* parent = nullptr);
    ~CRoofDlg() override;

    // Copies the dialog's values into the remembered defaults.
    void SaveDefaults();

    float m_fOverhang = 0.0f;
    int m_bParapet = 0;
    float m_fThickness = 200.0f;
    int m_nRoofKind = kFlat;
    float m_fParapetHeightA = 0.0f;
    float m_fParapetHeightB = 0.0f;
    float m_fParapetWidthA = 0.0f;
    float m_fParapetWidthB = 0.0f;
    // The general slope in degrees as typed; edges without a slope of their own follow it.
    CString m_strSlope;
    GePoint3dArray m_arrayBasePts;
    GePoint3dArray m_arrayEavePts;
    std::vector<float> m_vecEdgeSlopes;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    // Builds the roof (flat or multi-slope), remembers the values and closes; see
    // RoofCommand.cpp.
    void OnOK() override;

    afx_msg void OnShowWindow(BOOL show, UINT status);
    afx_msg void OnBnClickedFlatRoof();
    afx_msg void OnBnClickedSlopeRoof();
    afx_msg void OnBnClickedParapet();
    afx_msg void OnEnChangeOverhang();
    afx_msg void OnEnChangeThickness();
    afx_msg void OnEnChangeSlope();
    afx_msg void OnEnChangeParapetHeightA();
    afx_msg void OnEnChangeParapetHeightB();
    afx_msg void OnEnChangeParapetWidthA();
    afx_msg void OnEnChangeParapetWidthB();
    afx_msg void OnBnClickedPickOverhang();
    afx_msg void OnBnClickedPickThickness();
    afx_msg void OnBnClickedPickParapetHeightA();
    afx_msg void OnBnClickedPickParapetHeightB();
    afx_msg void OnBnClickedPickParapetWidthA();
    afx_msg void OnBnClickedPickParapetWidthB();
    // The edge slope picker; see EdgeSlopePicker.cpp.
    afx_msg void OnBnClickedEditEdgeSlopes();
    DECLARE_MESSAGE_MAP()

private:
    // Whether a pick holds the main frame active around each of its point inputs.
    enum class Guard { kNone, kEachPoint };

    void EnableControls(std::initializer_list<int> ids, bool enable);
    // The slope group and the parapet check box by the roof kind, the parapet group by the
    // parapet flag.
    void ApplyEnablingRule();
    // Reads the controls, gives the drawing the input and hides the dialog.
    void HandOver();
    // Writes the members back and shows the dialog again.
    void TakeBack();
    // Two points picked after the prompt: their distance, or false when either was not given.
    bool PickDistance(const char* prompt, Guard guard, double& distance);
    // Picks a length into the field through the drawing; one beyond the largest is refused
    // as BeyondUnionReach says.
    void PickLength(const char* prompt, Guard guard, float& field, const char* what = "",
                    float largest = std::numeric_limits<float>::max());
    // Reads the controls and sets a negative length to 0 with the message.
    void KeepNonNegative(float& field, const char* message);
    // Whether a slab or overhang length is beyond the largest the roof's faces can be united
    // at; if so, says so ("挑出距离不能大于419430!", WHAT the length's name).
    bool BeyondUnionReach(double length, const char* what, float largest);
    // The base outline grown by the overhang.
    GePoint3dArray EaveOutline(float overhang) const;
    // A multi-slope roof's eave outline follows a new overhang: a candidate of another vertex
    // count resets the edge slopes to the general slope, after asking when some edge has a
    // slope of its own; No puts the old overhang back.
    void FollowOverhangMultiSlope(float oldOverhang);
    void ShowEaveOutline();
    // The two ways OK builds; each ends the dialog.
    void BuildMultiSlopeRoof();
    void BuildFlatRoof();
};
