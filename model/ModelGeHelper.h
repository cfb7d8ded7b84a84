#pragma once
// Host entities read as point lists: the closed outlines a user selects as building bases,
// the base ring and the walls of a building, the level faces of any solid, the wall a user
// picked near an edge, and the outline of a picked contour object.
//
// Outlines from SelectMultiBorders and SelectContourLine repeat their first point at the end;
// base rings and faces do not. A wall is four points p, q, q + h·Z, p + h·Z over the base edge
// p → q; a ring of n points gives n walls, the last over the closing edge. Every function
// appends to the list it is given (GetExtrudeBuildBasePts and the single-face queries replace
// their output), opens and closes what it reads and leaves the drawing unchanged.
#include <vector>

#include "CArray.h"
#include "CString.h"
#include "GePoint2dArray.h"
#include "GePoint3d.h"
#include "GePoint3dArray.h"
#include "ModelHelperBuildings.h"
#include "Selection.h"

class decDbEntity;
class decObject;

// Lets the user select closed outlines and appends each one counter-clockwise, cleaned and
// closed, unless an equal outline is listed already. An open polygon prints
// "底轮廓线必须闭合！" and is skipped. A cancelled selection prints "提示：未选中! ", an empty
// one "提示：未选中!"; both give 0. Otherwise 1 when the list is not empty.
MODEL_HELPER_EXPORT int SelectMultiBorders(const CString& prompt, std::vector<GePoint3dArray>& outlines);

// Replaces ring by the base of an extruded building in world coordinates, in stored order;
// 1 when it is not empty. Anything else, a building of fewer than 3 base points, or one whose
// mesh does not hold its base, gives 0 and leaves ring as it was.
MODEL_HELPER_EXPORT int GetExtrudeBuildBasePts(decDbEntity* entity, GePoint3dArray& ring);

// Appends the walls of an extruded building, as high as the building. 1 when walls is not
// empty afterwards.
MODEL_HELPER_EXPORT int GetExtrudeBuildWallPts(decDbEntity* entity, CArray<GePoint3dArray, GePoint3dArray>& walls);

// Appends the walls of a 3-D entity: a building's as GetExtrudeBuildWallPts; for another solid
// the walls of its lowest level face (the last of equally low ones) up to its highest (the
// first of equally high ones). A solid of less than 0.001 height gives none. 1 when walls is
// not empty afterwards.
MODEL_HELPER_EXPORT int GetExtrudeEntityWallPts(decDbEntity* entity, std::vector<GePoint3dArray>& walls);

// Appends the level faces of the entity: loops of at least 3 vertices, real faces (second
// flag 0) whose every vertex lies within 0.001 of the first vertex's height, in iterator
// order. 1 when faces is not empty afterwards.
MODEL_HELPER_EXPORT int Get3DEntFlatFace(decDbEntity* entity, std::vector<GePoint3dArray>& faces);

// The wall whose bottom edge (and, when the active view is in edge mode, top edge) crosses the
// circle of 10 window units around the picked point in the active view. With walls, index is
// set to 0 and then to the first wall hit; an edge wholly inside the circle is no hit. 1 when
// a wall was hit; 0 (index untouched) for an empty list.
MODEL_HELPER_EXPORT int GetSelWallIndex(const std::vector<GePoint3dArray>& walls, const GePoint3d& pt, int& index);

// Lets the user pick one contour object and appends its outline, closed: a building's base,
// the lower of the first two level faces of a solid, the points of a curve (arcs sampled).
// A tagged building goes to tagged and appends nothing. 0 only when the pick fails or a
// curve cannot be exploded; otherwise 1, even when nothing was appended.
MODEL_HELPER_EXPORT int SelectContourLine(std::vector<GePoint3dArray>& outlines, CString prompt, decObject*& tagged);

// 1 when the entity's polygon iterator holds exactly one loop.
int IsSingleLoopEntity(decDbEntity* entity);
// The lowest level face (the first of equally low ones) into face: 1, or 0 with face as it
// was when the entity has none.
int GetBottomFace(decDbEntity* entity, GePoint3dArray& face);
// The highest level face (within 0.001, the largest of equally high ones) into face: 1, or 0
// with face as it was when the entity has none.
int GetLargestTopFace(decDbEntity* entity, GePoint3dArray& face);
// Shows the outline, closed, as the drawing's only temporary polyline (colour 0xFFFF).
void HighlightOutline(const GePoint3dArray& outline);

namespace ModelHelper {

// Takes entities whose bottom polygon has at least 3 points once cleaned; refuses windows,
// texts, points and scale texts silently, and prints why it refuses anything else.
class CPolygonFilter : public decSSGet_filter {
public:
    int Accept(decDbEntity* entity, int& accept) override;
};

}  // namespace ModelHelper

// Whether a listed outline is the same as the one it was built from: the same number of
// points, plan areas within 0.001, and every plan point of its outline equal to some plan
// point of the listed one.
struct SameOutline {
    explicit SameOutline(const GePoint3dArray& outline);
    bool operator()(const GePoint3dArray& listed) const;

    GePoint3dArray points;
    int count = 0;
    GePoint2dArray plan;
    double area = 0.0;
};
