#pragma once
// CGableRoofDlg: the dialog of the gable roof command and the geometry of a two-slope (or
// single-slope) roof over an outline and a ridge line.
//
// Frame: the roof is computed in a local frame whose origin is the ridge start, whose +Y runs
// along the ridge and whose z is 0 on the outline's plane; x < 0 is the left slope (left of
// the ridge seen from its start towards its end), x > 0 the right one. During every
// computation the ridge and wall-top elevations are relative to the base elevation (the
// ridge start's height). The result is host geometry only: the slope faces (or slabs) on
// layer "坡屋顶" with material "屋面板" and the walls that close the gap between the outline
// and the slopes on layer "屋顶封闭" with material "建筑", made one host group.
//
// The computation runs in stages that the dialog's handlers call as values change:
// InitGeometry once, UpdateOutline when an overhang changes, UpdateRoof on every change;
// then, on OK only, ComputeGableWalls, TransformToWorld and CreateRoofEntities, which change
// the arrays, so the build runs once.
#include <vector>

#include "Ge.h"
#include "Mfc.h"
#include "WndGS2d.h"

// The values of the last confirmed roof, which seed the dialog each time it opens; kept until
// the module is unloaded.
struct GableRoofDefaults {
    UINT eaveOverhang = 0;
    UINT gableOverhang = 0;
    int ridgeHeight = 3000;  // above the base elevation
    UINT thickness = 0;
};
extern GableRoofDefaults g_gableRoofDefaults;

class CGableRoofDlg : public CDialog {
public:
    using Polygon = std::vector<GePoint3d>;
    enum Mode { kWallTops = 0, kSlopeAngles = 1 };

    explicit CGableRoofDlg(CWnd* parent = nullptr);
    ~CGableRoofDlg() override;

    // ---- dialog ----
    // The ridge and both wall tops between absolute elevations (what the controls show) and
    // elevations above the base (what the geometry uses), computed in 64 bits. Taken
    // relative, all three change or, when one of them would be beyond an int, none (false);
    // made absolute, a height over the base beyond an int (a remembered ridge over a far
    // base) is held at the int's range.
    bool ToRelativeElevations();
    void ToAbsoluteElevations();
    // The wall-top edits in wall-top mode, the angle combos in angle mode; the right ones only
    // while the slopes are not equal.
    void EnableControls();
    // The plan and front previews over their frames.
    void CreatePreviewWindow();
    // A mouse wheel also reaches the window under the pointer, so a preview zooms without the
    // focus.
    BOOL PreTranslateMessage(MSG* message) override;

    // ---- stages ----
    // The local frame, the base elevation and the outline's extents.
    void InitGeometry();
    // The eave outline and its plan pieces left and right of the ridge.
    void UpdateOutline();
    // The two roof planes and the pieces lifted onto them.
    void UpdateRoof();
    void UpdateSlopePlanes();

    void ComputeLocalFrame();
    void ComputeOutlineExtents();
    // 1 when the whole outline lies on one side of the ridge.
    int IsSingleSlope();
    // The outline grown by the eave overhang E, its two gable walls (the lowest and the
    // highest along the ridge) by the gable overhang G instead; empty when the grown ring
    // would cross itself.
    void ComputeEaveOutline();
    // Moves the two gable walls of the eave outline out by distance (in when negative). A wall
    // is an edge with the edges beside it that run on within 2° of it or stay within 10 mm of
    // its line: a corner a hair off a wall, or a jog in it, does not split it.
    void MoveGableEdges(int distance);
    // Moves the wall from corner i to corner j (the edge i-j when j follows i) outward by
    // distance (inward when negative), square to the line i-j, its ends sliding along the lines
    // of the edges beyond them.
    void IntersectOffsetEdges(Polygon& polygon, int i, int j, int distance);
    void ComputeSlopePolygons();
    void ComputeLeftPolygons();
    void ComputeRightPolygons();
    // The crossing of the segment p-q with the ridge, at p's height.
    void IntersectRidge(const GePoint3d& p, const GePoint3d& q, GePoint3d& out);
    void SetSlopePlanesByWallTops();
    void SetSlopePlanesByAngles();
    void ComputeVertexHeights();
    // The walls between the picked outline and the roof planes.
    void ComputeGableWalls();
    // The wall between the edge p-q and its roof plane: 1 with the wall, 0 (wall empty) when
    // the plane lies nowhere above the edge.
    int ComputeGableWallPolygon(const GePoint3d& p, const GePoint3d& q, Polygon& wall);
    void TransformToWorld();
    // The roof's entities and their group; nothing when the roof could not be computed.
    void CreateRoofEntities();
    // The plan preview and the front preview.
    void RegenPreview();
    void DrawPreview();

    // ---- geometric state ----
    Polygon m_outline;  // world until the frame is computed, local afterwards
    int m_baseElevation = 0;
    GePoint3d m_ridgeStart, m_ridgeEnd;
    GePoint3d m_extentsMin, m_extentsMax;
    Polygon m_eaveOutline;
    GeMatrix3d m_frame;  // world to local
    std::vector<Polygon> m_arrayLeftPolygon, m_arrayRightPolygon;  // plan pieces at z 0
    GePlane m_leftPlane, m_rightPlane;
    std::vector<Polygon> m_leftRoofPolygons, m_rightRoofPolygons;
    std::vector<Polygon> m_wallPolygons;

    // ---- values (the dialog's controls) ----
    UINT m_eaveOverhang = 0;
    UINT m_gableOverhang = 0;
    int m_ridgeElevation = 0;
    int m_leftWallTop = 0;
    int m_rightWallTop = 0;
    int m_equalSlopes = 0;
    int m_mode = kWallTops;
    CString m_leftAngle;
    CString m_rightAngle;
    UINT m_thickness = 0;
    WndGS2d m_planPreview, m_frontPreview;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    afx_msg void OnBnClickedOk();
    afx_msg void OnEnKillfocusLeftWallTop();
    afx_msg void OnEnKillfocusRightWallTop();
    afx_msg void OnBnClickedAdjustWallTops();
    afx_msg void OnBnClickedSetSlopeAngle();
    afx_msg void OnBnClickedEqualSlopes();
    afx_msg void OnEnKillfocusRidgeElevation();
    afx_msg void OnCbnSelchangeLeftAngle();
    afx_msg void OnCbnSelchangeRightAngle();
    afx_msg void OnCbnKillfocusLeftAngle();
    afx_msg void OnCbnKillfocusRightAngle();
    afx_msg void OnEnKillfocusEaveOverhang();
    afx_msg void OnEnKillfocusGableOverhang();
    DECLARE_MESSAGE_MAP()

private:
    // What a value change recomputes and redraws.
    enum Refresh : unsigned { kOutline = 1, kRoof = 2, kPlanView = 4, kFrontView = 8 };
    // Recomputes with the elevations relative to the base and puts them back absolute, so the
    // members always hold what the controls show between two handlers.
    void Recompute(unsigned what);
    // Reads the controls (refused: false, nothing redrawn), then recomputes.
    void ReadAndRecompute(unsigned what, bool enable = false);
    void TakeListAngle(int comboId, CString& angle);

    // A vertex whose vertical line missed its plane, or a side with pieces whose plane could
    // not be set: the roof cannot be built.
    bool m_planesMissed = false;
    bool m_leftPlaneSet = false, m_rightPlaneSet = false;

    void ComputeSidePolygons(bool left);
};
