#pragma once
// CPyramidRoofDlg: the dialog of the pyramid roof command, and the roof it builds on OK. The
// roof has one triangle per outline edge, from the apex above the mean of the outline's
// vertices down to the eave: the outline itself, or the outline grown by the overhang with
// every grown corner lowered onto the plane of the face over the edge that starts there. Each
// triangle becomes a face (thickness 0 or 1) or a slab of the thickness on layer "坡屋顶", and
// all of them one host group.
//
// Elevations in the dialog are absolute; it opens with the outline's elevation as the wall top
// and the remembered height above it as the apex. The faces pass through the picked outline at
// its own elevation whatever wall top is typed: the wall top only measures the apex height the
// next run starts from.
#include <vector>

#include "Ge.h"
#include "Mfc.h"

// The values of the last roof built, which seed the dialog each time it opens; kept until the
// module is unloaded.
struct PyramidRoofDefaults {
    int apexHeight = 5000;  // above the wall top
    UINT overhang = 0;
    UINT thickness = 0;
};
extern PyramidRoofDefaults g_pyramidRoofDefaults;

class CPyramidRoofDlg : public CDialog {
public:
    explicit CPyramidRoofDlg(CWnd* parent = nullptr);
    ~CPyramidRoofDlg() override;

    // False, with nothing built or remembered, when an eave point cannot be found or the
    // apex does not see every eave edge, so that some triangle would turn back over others
    // (a concave outline whose notch hides an edge from the vertex mean); the user is told.
    bool CreateRoof();
    void ComputeApex();
    void OffsetOutline();
    // Eave point i lies straight below grown corner i on the plane through the apex and base
    // edge i. False when that plane does not exist (the apex in line with the edge) or the
    // downward line from the corner does not meet it.
    bool ComputeEavePoints();

    std::vector<GePoint3d> m_baseOutline;
    std::vector<GePoint3d> m_grownOutline;
    std::vector<GePoint3d> m_eavePoints;
    GePoint3d m_apex;
    int m_apexElevation;
    int m_wallTop;
    UINT m_overhang;
    UINT m_thickness;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    afx_msg void OnBnClickedOk();
    DECLARE_MESSAGE_MAP()

private:
    // The faces or slabs and their group; the database is opened around them.
    void CreateRoofEntities();
};
