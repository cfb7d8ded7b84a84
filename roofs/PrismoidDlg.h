#pragma once
// CPrismoidDlg: the dialog of the prismoid roof command. It takes the roof height, how the flat
// top is found (an offset of the outline inward, negative for the inverted prismoid, or one
// slope in degrees for every edge), the eave overhang and the slab thickness, each typed or
// measured in the drawing with its pick button. OK stores them as the next run's values.
#include "Mfc.h"

// The values of the last confirmed dialog, which seed it each time it opens; kept until the
// module is unloaded.
struct PrismoidRoofDefaults {
    UINT height = 1000;
    int topOption = 1;  // 0: the offset gives the slope, 1: the slope is typed
    int offset = 500;
    float slope = 30.0f;
    UINT overhang = 0;
    UINT thickness = 0;
};
extern PrismoidRoofDefaults g_prismoidRoofDefaults;

class CPrismoidDlg : public CDialog {
public:
    enum TopOption { kByOffset = 0, kBySlope = 1 };

    explicit CPrismoidDlg(CWnd* parent = nullptr);
    ~CPrismoidDlg() override;

    UINT m_height;
    int m_topOption;
    int m_offset;
    float m_slope;
    UINT m_overhang;
    UINT m_thickness;
    CButton m_pickHeight, m_pickOffset, m_pickSlope, m_pickOverhang, m_pickThickness;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    afx_msg void OnBnClickedOffset();
    afx_msg void OnBnClickedSlope();
    afx_msg void OnBnClickedPickHeight();
    afx_msg void OnBnClickedPickOffset();
    afx_msg void OnBnClickedPickSlope();
    afx_msg void OnBnClickedPickOverhang();
    afx_msg void OnBnClickedPickThickness();
    afx_msg void OnBnClickedOk();
    DECLARE_MESSAGE_MAP()

private:
    // The offset edit only while the offset gives the top, the slope edit only while the slope does.
    void EnableTopEdits();
    // Hands the drawing over for one value: the field's current value is the default, and the
    // field takes the answer only when it is given.
    template <class Field>
    void PickLength(const char* prompt, Field& field);
    void PickAngle(const char* prompt, float& field);
};

// The whole prismoid roof command after its banner: the base picked, the dialog, the roof.
void CreatePrismoidRoof();
