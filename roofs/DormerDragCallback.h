#pragma once
// CDormer_DragCallback: the point drag with which the dormer command places dormers. The
// chosen roof faces are cut by the level plane at the anchor height into the locating line,
// level segments lying on the faces. While the user drags, every cursor point is snapped onto
// the locating line as the current view sees it, and the frame shows the face under the
// current segment, the segment, the cursor's way to the snapped point, the slope line down to
// the face's eave level with the start distance in the tip, and the dormer's wireframe where
// it would stand. After the drag the command asks which face the point lies on and where
// that face's first vertex is.
//
// A face's first vertex is its lowest (the faces are re-ordered on the way in), so the start
// distance is measured along the eave from the corner the face starts at; it is negative
// behind that corner.
#include <cstdint>
#include <vector>

#include "DragCallback.h"
#include "Ge.h"

class decView;

class __attribute__((visibility("default"))) CDormer_DragCallback : public decDragCallback {
public:
    CDormer_DragCallback();
    ~CDormer_DragCallback() override;

    // Cuts the faces at height z into the locating line and keeps the dormer's dimensions
    // (mm) for the preview. Faces that do not slope keep their place in the list as empty
    // faces, so the face indices are those of the caller's list. The lists are added to, not
    // replaced: one locating line per callback. 1 when the line has a segment, and the
    // first segment becomes the current one; 0 otherwise (nothing else is kept).
    int ComputeLocateLine(std::vector<GePoint3dArray> faces, double z, long width, long height1, long height2,
                          long roofThickness, long overhang);

    // Snaps the cursor onto the locating line as the view sees it: 1 moved, 0 left alone (no
    // locating line, or no closest point on the chosen segment).
    int OnPointFilter(decView* view, GePoint3d& pt) override;
    void OnDragDraw(decView* view, const GePoint3d& pt) override;

    // Snaps a picked point as the active view sees it; the index of its face in the caller's
    // list, or -1 when it cannot.
    int LocatePoint(GePoint3d& pt);
    // The face of the current segment (0 when there is none) and that face's first vertex
    // (the origin when there is none): where a typed start distance is measured from.
    int GetCurrentIndex() const;
    GePoint3d GetCurrentPoint() const;

    // What the drag draws from (read by tests).
    const GePoint3dArray& LocateLine() const { return m_ptsLocateLine; }
    const std::vector<int>& LineFaces() const { return m_arrayLineFace; }
    const std::vector<GePoint3dArray>& Faces() const { return m_arrayFace; }
    int CurrentSegment() const { return m_nCurSeg; }
    // How often the preview sections were built: the one costly step of a drag update, done
    // again only when the slope under the cursor changes.
    int PreviewBuilds() const { return m_nPreviewBuilds; }

private:
    int Snap(decView* view, GePoint3d& pt);
    bool HasCurrentSegment() const;
    void DrawPreview(decView* view, const GeMatrix3d& frame, const GeVector3d& normal, const GeVector3d& eave) const;

    // Preview sections in the dormer's own frame, built for m_dblPreviewSlope.
    std::vector<GePoint3dArray> m_arrayPreview;
    std::vector<GePoint3dArray> m_arrayFace;
    // Segment k runs from point 2k to point 2k + 1.
    GePoint3dArray m_ptsLocateLine;
    // The face index of each segment.
    std::vector<int> m_arrayLineFace;
    double m_dblAnchorHeight = 0.0;
    int m_nCurSeg = -1;
    // The last raw cursor point.
    GePoint3d m_ptCursor;
    long m_lWidth = 0;
    long m_lHeight1 = 0;
    long m_lHeight2 = 0;
    long m_lRoofThickness = 0;
    long m_lOverhang = 0;
    double m_dblPreviewSlope = 0.0;
    int m_nPreviewBuilds = 0;
};
