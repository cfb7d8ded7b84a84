#pragma once
// The facade pick of the window-row commands: the user picks a building or an extrusion solid
// near the bottom edge of one of its walls (or its top edge, when the view picks edges); the
// wall under the pick and the pick point tell the commands which edge to fill and from which
// end.
#include <cstdint>

#include "GePoint3d.h"
#include "GePoint3dArray.h"

class decDbEntity;

struct FacadeWall {
    decDbEntity* entity = nullptr;
    // Four points p, q, q + h·Z, p + h·Z: p → q is the wall's bottom edge.
    GePoint3dArray wall;
    GePoint3d pickPoint;
    // The walls follow the outline they stand on (a building's base ring, a solid's bottom
    // face) the way it runs. Seen from above, when it runs counter-clockwise the outside lies
    // to the right of p → q; when it runs clockwise (or has no area) to the left. This is what
    // decides which way a window on the wall faces, whichever way the solid was drawn.
    bool clockwise = false;
};

enum class FacadePick {
    Wall,       // out holds the wall picked
    Missed,     // the pick hit no wall edge: the hint was printed
    Ended,      // the user ended the picking (Enter, the way out)
    Cancelled,  // Esc
};

// One pick with "请选择要插窗的立面:" through ModelHelper::FT_EXTRUDE_ENTITY. A pick on
// something without walls is asked again without a word; a pick that hits no wall edge clears
// the selection and the view's highlights and prints "提示：请选择立面或墙面的底边或顶边。".
FacadePick PickFacadeWall(FacadeWall& out);

// Clears the view's highlights, draws the wall closed in colour 0xffff, 5 wide, and marks one
// point.
void HighlightFacadeWall(const GePoint3dArray& wall, const GePoint3d& mark, int markSize, std::uint32_t markColour);
