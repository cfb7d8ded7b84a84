#pragma once
// CDormerDlg: what the dormer command asks once the roof faces are chosen — the section shape
// (pentagon, rectangle or triangle, with its picture), the dimensions (typed, or picked as a
// length in the drawing) and the height of the locating point. Its OK button "应用" never
// closes it: it runs a placement run in the drawing (the dialog hidden meanwhile), making one
// dormer at every picked point or typed start distance, and shows the dialog again for the
// next run; only "取消" closes it.
#include <vector>

#include "Ge.h"
#include "Mfc.h"

class CDormer_DragCallback;

// The values the dialog opens with, written back at the end of every placement run (not by
// "取消"); kept until the module is unloaded. Millimetres; an anchor height of -1 means none
// yet.
struct DormerDefaults {
    int anchorHeight = -1;
    int width = 2000;
    int height1 = 1000;
    int height2 = 1000;
    int roofThickness = 300;
    int overhang = 300;
    // 0 pentagon, 1 rectangle, 2 triangle.
    int shape = 0;
};
extern DormerDefaults g_dormerDefaults;

class CDormerDlg : public CDialog {
public:
    enum Shape { kPentagon = 0, kRectangle = 1, kTriangle = 2 };

    explicit CDormerDlg(CWnd* parent = nullptr);

    // Filled by the command before the dialog opens: the sloped faces, each starting at its
    // lowest vertex with its normal up, the highest and lowest of their vertices, and the
    // anchor height this run opens with (a refused anchor height returns to it).
    std::vector<GePoint3dArray> m_arrayFace;
    double m_dblMaxZ = 0.0;
    double m_dblMinZ = 0.0;
    double m_dblOpeningAnchor = 0.0;

    int m_nHeight1 = 1000;
    int m_nHeight2 = 1000;
    int m_nOverhang = 300;
    int m_nRoofThickness = 300;
    int m_nWidth = 2000;
    double m_dblAnchorHeight = 0.0;
    int m_nShape = kPentagon;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    // "应用": checks the anchor height against the faces, cuts the locating line and runs a
    // placement run; the dialog stays open.
    void OnOK() override;

    afx_msg void OnPaint();
    afx_msg void OnEnChangeHeight1();
    afx_msg void OnEnChangeHeight2();
    afx_msg void OnEnChangeWidth();
    afx_msg void OnEnChangeRoofThickness();
    afx_msg void OnEnChangeOverhang();
    afx_msg void OnBnClickedPickWidth();
    afx_msg void OnBnClickedPickHeight1();
    afx_msg void OnBnClickedPickHeight2();
    afx_msg void OnBnClickedPickRoofThickness();
    afx_msg void OnBnClickedPickOverhang();
    afx_msg void OnBnClickedPickAnchorHeight();
    afx_msg void OnBnClickedPentagon();
    afx_msg void OnBnClickedRectangle();
    afx_msg void OnBnClickedTriangle();
    DECLARE_MESSAGE_MAP()

    // Hides the dialog, asks two points in the drawing and gives their distance: true when
    // both were given. The dialog shows again either way.
    bool PickLength(const char* prompt, float* result);

private:
    // The picture, the enabled controls and the height the shape forces.
    void ShowShape();
    void ChooseShape();
    // Reads the controls; when the check refuses the field's new value, warns with its
    // message and puts the old value back. Shows the fields again.
    template <class Check>
    void CheckEdit(int& field, Check refusal);
    // A length picked in the drawing into the field, unless the check refuses it.
    template <class Check>
    void PickInto(const char* prompt, int& field, Check refusal);
    void Warn(const char* message);
    // The drawing takes the input while the dialog hides, and gives it back.
    void HandToDrawing();
    void TakeBack();
    void Place(CDormer_DragCallback& drag, long layerId);
    // One dormer placed by the frame (its origin on the face, x along the eave, y level up the
    // slope), refused dormers making nothing.
    void MakeDormer(long layerId, const GeMatrix3d& frame, double slope);

    CStatic m_picture;
};
