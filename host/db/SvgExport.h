#pragma once
// Export of a drawing as an SVG picture a browser shows: the drawing seen in a parallel view
// (DrawingPicture.h says what is drawn and how), painted back to front.
//
// The view box is in view coordinates, the drawing's own units: in the plan x east and y south
// (SVG's y runs down), so a point of the drawing at (x, y) is (x, -y) in the file. It holds
// the picture's extents with a margin of 4% of their larger side; the picture is widthPx pixels
// wide and as high as the extents ask (at most four times its width, a taller drawing leaving
// room at the sides). An empty drawing gives an empty picture of the ground colour.
#include <string>

#include "DrawingPicture.h"

class DbDatabase;

namespace host {

constexpr int kSvgDefaultWidth = 1600;
constexpr int kSvgMinWidth = 16, kSvgMaxWidth = 20000;

// Replaces the file whole (as saving does). false with a message naming the file when it
// cannot be written or is a drawing of this program (NoDrawingAmong), which is left as it
// was; widthPx is clamped to [kSvgMinWidth, kSvgMaxWidth]. Each entity the picture leaves out
// is named on the transcript with the reason ("export svg: object 3 (QCOrvRoof) left out: it
// holds a number that is not finite").
bool ExportSvg(const DbDatabase& db, const std::string& path, PictureView view, int widthPx, std::string& error);

// The SVG text of a drawing, as ExportSvg writes it.
std::string SvgOfDrawing(const DbDatabase& db, PictureView view, int widthPx);

}  // namespace host
