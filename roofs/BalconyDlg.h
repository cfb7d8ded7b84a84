#pragma once
// CBalconyDlg: the dialog of the balcony command. The command hands it the balcony regions it
// found beside a building; the dialog shows them, asks for the storeys (how many, how high,
// from which bottom level) and the slab and parapet sizes, each size typed or picked in the
// drawing as the distance of two points, and on OK makes the balconies.
//
// A region is a counter-clockwise ring in plan without its closing point. Its edge flags say,
// for the edge from vertex j to vertex j + 1 (the last one back to vertex 0), whether it lies
// free outside the building (1: it gets a parapet) or on or inside the building's outline (0).
// Every storey of every region gets a slab (an extrusion of the ring, up by the slab
// thickness) and a parapet on the slab along each run of free edges (a loft of the parapet's
// section, standing on the left of the run, inside the ring); all of them are one group.
#include <vector>

#include "Ge.h"
#include "Mfc.h"

class DbDatabase;

// The values of the last balconies made, which seed the dialog each time it opens; kept until
// the module is unloaded. Only a successful OK writes them.
struct BalconyDefaults {
    UINT storeys = 1;
    int storeyHeight = 3000;  // millimetres, like every length here
    int parapetHeight = 1200;
    int parapetThickness = 300;
    int slabThickness = 200;
    int bottomLevel = 0;
};
extern BalconyDefaults g_balconyDefaults;

class CBalconyDlg : public CDialog {
public:
    explicit CBalconyDlg(CWnd* parent = nullptr);

    std::vector<GePoint3dArray> m_faces;
    std::vector<std::vector<int>> m_edgeFlags;
    UINT m_nStoreys;  // 1 to 200
    // Read from the combo box's text, which takes any number typed; a storey height must be
    // above 0.
    int m_nStoreyHeight;
    int m_nBottomLevel;  // underside of the lowest slab
    int m_nParapetHeight;
    int m_nParapetThickness;
    int m_nSlabThickness;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    // Makes the balconies and remembers the values, or keeps the dialog open with the focus on
    // a storey height that is not above 0 or a storey count outside 1 to 200.
    void OnOK() override;

    afx_msg void OnEnChangeSlabThickness();
    afx_msg void OnEnChangeParapetHeight();
    afx_msg void OnEnChangeParapetThickness();
    afx_msg void OnBnClickedPickSlabThickness();
    afx_msg void OnBnClickedPickParapetHeight();
    afx_msg void OnBnClickedPickParapetThickness();
    DECLARE_MESSAGE_MAP()

private:
    // Reads the controls; a field below 1 shows its message and takes its old value back.
    void KeepPositive(int& field, const char* message);
    // The distance of two points picked in the drawing, to whole millimetres, replaces the
    // field when it is above 0; otherwise the message shows and the field stays. The dialog
    // hides while the points are asked.
    void PickLength(const char* prompt, int& field, const char* message);

    CSpinButtonCtrl m_spinStoreys;
    CComboBox m_comboStoreyHeight;
};

// Turns each face and its flags round so that the face starts with a free edge that follows
// an edge on the building, and so ends with an edge on the building.
void AlignBalconyOutlineStart(CBalconyDlg& dlg);
// Makes the slabs and parapets of every face and storey, in one group.
void CreateBalconyEntities(CBalconyDlg& dlg);
// The layer "阳台", made with its colour when missing.
long CreateBalconyLayer(DbDatabase* db);
