#pragma once
// The style dialog of the building elevation label: five radio buttons, one per style, in
// style order.
#include "Mfc.h"

class CDimBuildElevationDlg : public CDialog {
public:
    enum { IDD = 1098 };
    // Controls of the template.
    enum : int {
        kTopRadio = 1283,            // "标注建筑顶标高" (style 0, first of the group)
        kHeightRadio = 1284,         // "标注建筑高度" (1)
        kBottomRadio = 1161,         // "标注建筑底标高" (2)
        kTopAndBottomRadio = 1309,   // "标注建筑顶标高和底标高" (3)
        kHeightAndTopRadio = 1285,   // "标注建筑高度和顶标高" (4)
    };

    explicit CDimBuildElevationDlg(CWnd* parent = nullptr) : CDialog(IDD, parent) {}

    // The style shown and chosen.
    int m_nStyle = 0;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
};
