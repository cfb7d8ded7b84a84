// The host's drawing commands: the geometry that the module's commands select.
#include <cmath>
#include <memory>
#include <numbers>

#include "CommandTable.h"
#include "DbDatabase.h"
#include "FiniteEntity.h"
#include "HostCommandArgs.h"
#include "HostCommands.h"
#include "HostSolids.h"
#include "Question.h"
#include "TextParse.h"
#include "WorkingDrawing.h"
#include "decDbCurve.h"
#include "decDbTextAndPoint.h"

namespace host {

namespace {

using Args = std::vector<std::string>;

// Adds a ready entity on the current layer, inside a write bracket; refuses the line and makes
// nothing when a number of the entity (typed, or made of what was typed) would not be finite.
void AddEntity(const ScriptLine& line, const char* what, std::unique_ptr<decDbEntity> entity)
{
    if (!IsFiniteEntity(*entity)) {
        RefuseAnswer(line, std::string("the ") + what + " would have coordinates that are not finite: nothing is made");
        return;
    }
    DbAutoOpen open;
    decObjectId id;
    decDbEntity* raw = entity.get();
    if (open.db->CreateNewEntity(open.db->GetTableLayer()->GetCurrentLayerID(), entity.release(), id) == dex::eOk)
        ReportCreated(raw);
}

void Pline(const ScriptLine& line, const Args& args)
{
    std::size_t first = 0;
    const bool closed = !args.empty() && EqualsNoCase(args[0], "closed");
    if (closed) first = 1;
    std::vector<GePoint3d> points;
    std::vector<double> bulges;
    for (std::size_t i = first; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (AsciiLower(word.substr(0, 2)) == "b=") {
            if (points.empty()) {
                RefuseAnswer(line, "b=BULGE follows the vertex whose edge it bends");
                return;
            }
            const auto bulge = NumberArg(line, word.substr(2), "a bulge");
            if (!bulge) return;
            bulges.back() = *bulge;
            continue;
        }
        const auto point = PointArg(line, word);
        if (!point) return;
        points.push_back(*point);
        bulges.push_back(0.0);
    }
    if (points.size() < 2) {
        Usage(line, "pline [closed] x,y[,z] [b=BULGE] x,y[,z] ... (two vertices or more)");
        return;
    }
    auto polyline = std::make_unique<decDbPolyline>(static_cast<int>(points.size()), points.data(), closed ? 1 : 0);
    for (std::size_t i = 0; i < bulges.size(); ++i)
        if (bulges[i] != 0.0) polyline->SetBulgeAt(static_cast<int>(i), bulges[i]);
    AddEntity(line, "polyline", std::move(polyline));
}

// An arc through three points in a plane parallel to XY (at the first point's height).
void Arc(const ScriptLine& line, const Args& args)
{
    if (args.size() != 3) {
        Usage(line, "arc x,y x,y x,y (start, a point on the arc, end)");
        return;
    }
    std::vector<GePoint3d> p;
    for (const std::string& word : args) {
        const auto point = PointArg(line, word);
        if (!point) return;
        p.push_back(*point);
    }
    const double ax = p[0].x, ay = p[0].y;
    const double scale = std::max({std::abs(p[1].x - ax), std::abs(p[1].y - ay), std::abs(p[2].x - ax),
                                   std::abs(p[2].y - ay), 1.0});
    if (!std::isfinite(scale)) {
        RefuseAnswer(line, "the arc would have coordinates that are not finite: nothing is made");
        return;
    }
    // The other two points from the first, in units of their spread: the squares below cannot
    // overflow, and site coordinates keep their precision.
    const double ux = (p[1].x - ax) / scale, uy = (p[1].y - ay) / scale;
    const double vx = (p[2].x - ax) / scale, vy = (p[2].y - ay) / scale;
    const double d = 2.0 * (ux * vy - uy * vx);
    if (std::abs(d) <= 1e-9) {
        RefuseAnswer(line, "the three points of an arc must not lie on one line");
        return;
    }
    const double u2 = ux * ux + uy * uy, v2 = vx * vx + vy * vy;
    const GePoint3d centre(ax + scale * ((vy * u2 - uy * v2) / d), ay + scale * ((ux * v2 - vx * u2) / d), p[0].z);
    const double radius = std::hypot(ax - centre.x, ay - centre.y);
    const auto angle = [&](const GePoint3d& q) {
        const double a = std::atan2(q.y - centre.y, q.x - centre.x);
        return a < 0.0 ? a + 2.0 * std::numbers::pi : a;
    };
    const auto ccwFrom = [](double from, double to) {
        const double s = to - from;
        return s < 0.0 ? s + 2.0 * std::numbers::pi : s;
    };
    const double start = angle(p[0]), middle = angle(p[1]), end = angle(p[2]);
    // Counter-clockwise from the start when the middle point lies on that way to the end.
    const bool ccw = ccwFrom(start, middle) < ccwFrom(start, end);
    AddEntity(line, "arc", std::make_unique<decDbArc>(centre, radius, ccw ? start : end, ccw ? end : start));
}

void Circle(const ScriptLine& line, const Args& args)
{
    if (args.size() != 2) {
        Usage(line, "circle x,y[,z] RADIUS");
        return;
    }
    const auto centre = PointArg(line, args[0]);
    if (!centre) return;
    const auto radius = PositiveArg(line, args[1], "the radius");
    if (!radius) return;
    AddEntity(line, "circle", std::make_unique<decDbCircle3d>(*centre, GeVector3d(0.0, 0.0, 1.0), *radius));
}

void Point(const ScriptLine& line, const Args& args)
{
    if (args.size() != 1) {
        Usage(line, "point x,y[,z]");
        return;
    }
    if (const auto point = PointArg(line, args[0])) AddEntity(line, "point", std::make_unique<decDbPoint>(*point));
}

void Text(const ScriptLine& line, const Args& args)
{
    if (args.size() < 3) {
        Usage(line, "text x,y[,z] HEIGHT TEXT");
        return;
    }
    const auto position = PointArg(line, args[0]);
    if (!position) return;
    const auto height = PositiveArg(line, args[1], "the text height");
    if (!height) return;
    // The text is the rest of the line as typed (after "text", the point and the height).
    const std::string text(AfterWords(line.text, 3));
    AddEntity(line, "text", std::make_unique<decDbText>(text.c_str(), *position, *height));
}

// A closed outline swept up by a height: a plain solid.
void Extrude(const ScriptLine& line, const Args& args)
{
    if (args.size() < 4) {
        Usage(line, "extrude HEIGHT x,y[,z] x,y[,z] x,y[,z] ... (three vertices or more)");
        return;
    }
    const auto height = NumberArg(line, args[0], "the height");
    if (!height) return;
    if (*height == 0.0) {
        RefuseAnswer(line, "the height must not be 0");
        return;
    }
    std::vector<GePoint3d> points;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const auto point = PointArg(line, args[i]);
        if (!point) return;
        points.push_back(*point);
    }
    auto* profile = new decDbExtrude();
    profile->SetData(static_cast<int>(points.size()), points.data(), 1, GeVector3d(0.0, 0.0, *height));
    AddEntity(line, "solid", std::make_unique<decDbEntity3d>(profile, GeMatrix3d()));
}

}  // namespace

void RegisterDrawingCommands()
{
    CommandTable& table = CommandTable::Instance();
    table.RegisterHost("pline", "多段线", Pline);
    table.RegisterHost("arc", "圆弧", Arc);
    table.RegisterHost("circle", "圆", Circle);
    table.RegisterHost("point", "点", Point);
    table.RegisterHost("text", "文字", Text);
    table.RegisterHost("extrude", "拉伸体", Extrude);
}

}  // namespace host
