#pragma once
// The named buildings of the drawing as the window commands find the building a window stands
// on: the plan outline of every named extruded building, and the plan box, swollen by 100, of
// every other named building (a tagged solid). A plan point belongs to the first outline that
// holds it within 100, else to the first box that holds it; outlines are searched first, each
// kind in the drawing's order.
#include <vector>

#include "CString.h"
#include "GeBoundBox2d.h"
#include "GePoint2d.h"
#include "GePoint2dArray.h"

class BuildingsInPlan {
public:
    // Takes the drawing's named buildings as they are now. Returns how many named extruded
    // buildings were left out because their base outline could not be read.
    int Collect();
    // The name of the building under the point, or "" when there is none.
    CString NameAt(const GePoint2d& point) const;

private:
    std::vector<GePoint2dArray> m_outlines;
    std::vector<CString> m_outlineNames;
    std::vector<GeBoundBox2d> m_boxes;
    std::vector<CString> m_boxNames;
};
