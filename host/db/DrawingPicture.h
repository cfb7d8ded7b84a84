#pragma once
// A picture of a drawing seen from a fixed direction in a parallel view: flat shapes in view
// coordinates with their colours, in the order to paint them, for the SVG export.
//
// What is drawn: every entity that is not erased or hidden, on a layer that is shown, whole or
// not at all: one holding a number that is not finite, or one a shape of which cannot be
// placed, is left out and listed with the reason. A 3-D
// entity gives the faces of its mesh placed by its transform (as the OBJ export reads them)
// and the lines and texts of its display; a 2-D entity gives what its display records
// (polylines, lines, filled polygons, texts), at its own height. A mesh face is filled with
// the colour of the entity's material (its transparency kept), else of the entity, else of its
// layer, shaded by the angle between the face and a fixed light from above on the viewer's
// left, and outlined darker. A closed mesh whose faces turn one way shows only the faces that
// look at the viewer; any other face shows from both sides. Faces seen edge-on are left out.
// Lines and texts drawn in the entity's own colour, or its layer's; one too pale to read on
// the picture's light ground is drawn dark grey. A text of a 3-D entity's own display (a
// window's number beside the window) is painted with the faces, in their order, so it is
// hidden where the entity is hidden (one facing away shows mirrored where nothing hides it, as
// it would in any view of the model). Every other text is a label of its own, not geometry: it
// lies over every face and line, the farthest first, so a building's name and its elevation
// label are read whole even where the building stands in front of them. The plan is read for
// its labels: there every text lies on top.
#include <cstdint>
#include <string>
#include <vector>

#include "GeBoundBox3d.h"
#include "GePoint3d.h"
#include "GeVector3d.h"

class DbDatabase;
class decDbEntity;

namespace host {

enum class PictureView {
    Axonometric,  // from the south-west (azimuth 225°) and 35° above the horizon
    Plan,         // from above, north up
};

// The view's frame: right and up span the picture; toward points at the viewer.
struct ViewFrame {
    GeVector3d right, up, toward;
    static ViewFrame Of(PictureView view);
    // x to the right, y up, z the depth (larger is farther).
    GePoint3d Project(const GePoint3d& p) const;
};

struct PictureShape {
    enum class Kind { Face, Line, Text };
    Kind kind = Kind::Face;
    // View coordinates: a face's loop, a line's two ends (equal for a dot), a text's box.
    std::vector<GePoint3d> points;
    std::uint32_t colour = 0;   // fill of a face, stroke of a line, fill of a text (0x00BBGGRR)
    std::uint32_t outline = 0;  // stroke of a face
    double opacity = 1.0;       // of a face's fill
    // Lines cut from one polyline share it, so the writer can join them again.
    std::size_t run = 0;
    // Text: its characters (UTF-8, without control characters), the size of its em and its
    // frame in the picture: the anchor, the picture vectors of one unit along the baseline and
    // one unit up; the baseline lies `rise` units above the anchor (negative: below).
    std::string text;
    double emSize = 0.0;
    bool centred = false;
    double rise = 0.0;
    double originX = 0, originY = 0, alongX = 0, alongY = 0, upX = 0, upY = 0;
};

// An entity the picture leaves out, and why.
struct LeftOut {
    decDbEntity* entity;
    const char* reason;
};
inline constexpr const char* kTooLarge = "its picture is too large to draw";

struct Picture {
    std::vector<PictureShape> shapes;  // in painting order
    // Entities left out whole: one holding a number that is not finite, or one a shape of which
    // cannot be placed (coordinates near the largest numbers overflow in the projection).
    std::vector<LeftOut> leftOut;
    // Extents of every shape in view coordinates (x, y); empty for an empty picture.
    GeBoundBox3d bounds;
};

Picture DrawPicture(const DbDatabase& db, PictureView view);

}  // namespace host
