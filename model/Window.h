#pragma once
// CWindow: one window opening on a facade, the object the insolation analysis measures.
// It holds the numbers by which the analysis reports the window (position, floor,
// household and its room count), the name of the building it belongs to, its size in
// millimetres and the settings of the two labels it draws beside itself.
//
// The window's frame is its entity transform: origin at the middle of the sill, X along the
// sill (from the right end to the left end as seen from outside), Z up and Y = Z × X out of
// the building. The window's box lies behind the facade (y from -50 to 0), so points a
// little along +Y are outside the opening.
#include "CString.h"
#include "decBuilder.h"

class __attribute__((visibility("default"))) CWindow : public decBuilder {
    DEC_DECLARE_CLASS(CWindow)

public:
    CWindow() = default;
    // The host's object base is not copyable: a copy starts from a fresh base part and takes
    // the window's own fields.
    CWindow(const CWindow& other);
    CWindow& operator=(const CWindow& other);
    ~CWindow() override = default;

    int Index() const { return m_nIndex; }
    int Floor() const { return m_nFloor; }
    CString Door() const { return m_strDoor; }
    int Room() const { return m_nRoom; }
    CString BuildName() const { return m_strBuild; }
    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    // The label settings (read by the tests and the upgrade of old windows).
    int ShowDim() const { return m_bShowDim; }
    double HorDimHeight() const { return m_dblHorDimHeight; }
    double VerDimHeight() const { return m_dblVerDimHeight; }
    int PlanDimMode() const { return m_nPlanDimMode; }
    double Scale() const { return m_dblScale; }

    void SetIndex(int index);
    void SetFloor(int floor);
    void SetRoom(int room);
    void SetDoor(const CString& door);
    void SetBuild(const CString& build);
    // Label heights and scale change only by at least 0.001; a smaller change is no write, and
    // a value that is not finite is refused (nothing changes).
    void SetHorDimHeight(double height);
    void SetVerDimHeight(double height);
    void SetScale(double scale);
    // Width and height in millimetres. A size of 0.001 or less shows the assertion and is
    // stored all the same. No write request: it is meant for a window not yet in a drawing.
    void SetSize(int width, int height);

    int DisableReference() const override { return 1; }
    // Records of class version 1 and 2 have no room count: a file of such a version loads
    // with 0 rooms; out-of-range label heights and scale load as 2.5, 1.0 and 500.
    void Serialize(SerializeFilter& filter) override;
    const TPropertyDef* GetObjectPropertyDefine() const override;
    void OnPropertyComboBoxInit(int id, TPropertyComboBoxData& entries) override;
    void OnPropertyValueGet(int id, prop_data& value) override;
    // A new position or floor (rows 0, 1) is taken only when the ownership records naming
    // windows can follow it and go on naming exactly the windows they named: an identifier
    // another window bears while the records tell the two apart is refused with a message.
    int OnPropertyValueChanged(int id, const prop_data& value) override;
    // The owning building (row 4): the user picks a building; its name goes to every edited
    // window, and the ownership records naming them follow, under the rule of rows 0 and 1
    // (all the windows or, refused, none). 1 when they took the name, 0 on cancel, a refusal
    // or another row.
    int OnPropertyOtherEdit(long id, const char* text, long count, decObject** objects, int& reference) override;
    // The elevation label "floor-position" on the facade and the plan label chosen by the
    // plan mode, in magenta, unless labels are switched off.
    void OnMakeDisplayBuf(unsigned long flags, decViewFilter& filter) override;
    // A box width long along X, 50 deep behind the facade, height high; no mesh (0) for a
    // window whose size is not positive.
    int MakeMesh(decMesh3** out) const override;

private:
    // The plan label's text for the current plan mode (empty: no plan label).
    CString PlanLabelText() const;

    int m_nIndex = 0;
    int m_nFloor = 0;
    CString m_strDoor;
    int m_nRoom = 0;
    CString m_strBuild;
    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_bShowDim = 1;
    double m_dblHorDimHeight = 2.5;
    double m_dblVerDimHeight = 1.0;
    int m_nPlanDimMode = 1;
    double m_dblScale = 500.0;
};
