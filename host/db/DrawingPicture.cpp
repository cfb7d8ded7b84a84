#include "DrawingPicture.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "DbDatabase.h"
#include "DrawingFile.h"
#include "FiniteEntity.h"
#include "PaintersOrder.h"
#include "decDbEntity.h"

namespace host {
namespace {

constexpr double kAzimuthDegrees = 225.0, kElevationDegrees = 35.0;
// Towards the light: above, on the viewer's left in the axonometric view, so tops are the
// brightest, south faces lighter than west ones.
const GeVector3d kLight = GeVector3d(-0.3, -0.5, 0.8).Normal();
constexpr double kAmbient = 0.5, kDiffuse = 0.45;
constexpr double kOutlineShade = 0.55;
// Faces turned further than this from the viewer (cosine) are seen edge-on.
constexpr double kEdgeOn = 1e-6;
// A text seen at a glancing angle, its box shrunk below this share, is left out.
constexpr double kUnreadable = 0.1;
// A drawing's text height is that of its capitals; an em is about this many times taller.
constexpr double kEmPerHeight = 1.3;
// Lines and texts paler than this (0..1) are drawn in kDarkInk.
constexpr double kPalest = 0.8;
constexpr std::uint32_t kDarkInk = 0x333333;

double Radians(double degrees) { return degrees * std::numbers::pi / 180.0; }

std::uint32_t Scaled(std::uint32_t colour, double factor)
{
    std::uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const double channel = static_cast<double>((colour >> shift) & 0xFF) * factor;
        out |= static_cast<std::uint32_t>(std::clamp(std::lround(channel), 0L, 255L)) << shift;
    }
    return out;
}

std::uint32_t Readable(std::uint32_t colour)
{
    const double lightness =
        (0.299 * (colour & 0xFF) + 0.587 * ((colour >> 8) & 0xFF) + 0.114 * ((colour >> 16) & 0xFF)) / 255.0;
    return lightness > kPalest ? kDarkInk : colour;
}

// Newell's normal of a loop (not unit; zero for a loop without area).
GeVector3d LoopNormal(const std::vector<GePoint3d>& loop)
{
    GeVector3d n(0, 0, 0);
    const GePoint3d o = loop[0];
    for (std::size_t i = 0, j = loop.size() - 1; i < loop.size(); j = i++) {
        const GeVector3d u = loop[j] - o, v = loop[i] - o;
        n += u.CrossProduct(v);
    }
    return n;
}

// +1 when the mesh is closed with every face turned outwards, -1 when every face is turned
// inwards, 0 when it is open or its faces turn both ways (then each face shows both sides).
int ClosedSense(const std::vector<std::vector<int>>& faces, const std::vector<GePoint3d>& vertices)
{
    std::vector<std::uint64_t> edges;
    for (const auto& face : faces)
        for (std::size_t i = 0; i < face.size(); ++i) {
            const auto a = static_cast<std::uint32_t>(face[i]), b = static_cast<std::uint32_t>(face[(i + 1) % face.size()]);
            if (a != b) edges.push_back(std::uint64_t{a} << 32 | b);
        }
    std::sort(edges.begin(), edges.end());
    if (std::adjacent_find(edges.begin(), edges.end()) != edges.end()) return 0;
    for (std::uint64_t e : edges)
        if (!std::binary_search(edges.begin(), edges.end(), (e << 32) | (e >> 32))) return 0;
    double volume = 0.0;
    const GePoint3d o = vertices.empty() ? GePoint3d() : vertices[0];
    for (const auto& face : faces)
        for (std::size_t k = 1; k + 1 < face.size(); ++k) {
            const GeVector3d a = vertices[static_cast<std::size_t>(face[0])] - o,
                             b = vertices[static_cast<std::size_t>(face[k])] - o,
                             c = vertices[static_cast<std::size_t>(face[k + 1])] - o;
            volume += a.DotProduct(b.CrossProduct(c));
        }
    return volume > 0.0 ? 1 : volume < 0.0 ? -1 : 0;
}

// One character of UTF-8 at the front of text, its code point (U+FFFD for a bad byte) and its
// length.
char32_t NextCharacter(std::string_view text, std::size_t& length)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    length = 1;
    if (lead < 0x80) return lead;
    const std::size_t count = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (count == 0 || lead > 0xF4 || text.size() < count) return 0xFFFD;
    char32_t code = lead & (0x7F >> count);
    for (std::size_t i = 1; i < count; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0xFFFD;
        code = code << 6 | (byte(i) & 0x3F);
    }
    const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < least[count] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0xFFFD;
    length = count;
    return code;
}

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The text as well-formed UTF-8 without control characters (which no XML text may hold),
// and its width in ems as a sans-serif face sets it: wide for Chinese, narrower for Latin.
std::string CleanText(std::string_view text, double& ems)
{
    std::string out;
    ems = 0.0;
    while (!text.empty()) {
        std::size_t length = 0;
        const char32_t c = NextCharacter(text, length);
        text.remove_prefix(length);
        if (c < 0x20 || c == 0x7F || c == 0xFFFE || c == 0xFFFF) continue;
        AppendUtf8(out, c);
        ems += c >= 0x2E80 ? 1.0 : c < 0x80 ? 0.56 : 0.6;
    }
    return out;
}

class PictureMaker {
public:
    PictureMaker(const DbDatabase& db, PictureView view)
        : m_db(db), m_frame(ViewFrame::Of(view)), m_textsOnTop(view == PictureView::Plan)
    {
    }

    // Draws the entity whole, or leaves it out (noted) when a number of it or of its picture is
    // not finite.
    void Add(decDbEntity& entity)
    {
        const decLayer* layer = m_db.Layers().GetLayer(entity.GetLayerId());
        if (entity.IsErased() || entity.IsHidden() || (layer && !layer->IsVisible())) return;
        if (!CanBeStored(entity)) {
            m_leftOut.push_back({&entity, kHoldsNotFinite});
            return;
        }
        const std::size_t first = m_shapes.size(), firstText = m_texts.size();
        m_overflow = false;
        const std::uint32_t layerColour = layer ? layer->GetColor() : 0xFFFFFF;
        const std::uint32_t own = entity.HasEntityColor() ? entity.GetEntityColor().GetColor() : layerColour;
        const auto* solid = decDbEntity3d::Cast(&entity);
        if (solid) AddMesh(*solid, own);
        decViewFilter display;
        entity.Draw(display);
        for (const DrawnPrimitive& item : display.Primitives()) {
            // What the entity draws in the colour it was given is drawn in the colour it
            // stands in (its own or its layer's).
            const std::uint32_t colour = item.colour == entity.GetEntityColor().GetColor() ? own : item.colour;
            switch (item.kind) {
            case DrawnPrimitive::Kind::Polygon:
                // A solid's display repeats its mesh, which is already drawn.
                if (!solid) AddFlatFace(item.points, colour);
                break;
            case DrawnPrimitive::Kind::Polyline:
            case DrawnPrimitive::Kind::Line: AddLines(item.points, Readable(colour)); break;
            case DrawnPrimitive::Kind::Text: AddText(item, Readable(colour), solid && !m_textsOnTop); break;
            }
        }
        if (m_overflow) {
            m_shapes.resize(first);
            m_items.resize(first);
            m_texts.resize(firstText);
            m_leftOut.push_back({&entity, kTooLarge});
        }
    }

    Picture Finish()
    {
        Picture picture;
        picture.leftOut = std::move(m_leftOut);
        picture.shapes.reserve(m_shapes.size() + m_texts.size());
        for (std::size_t i : PaintersOrder(m_items)) {
            m_shapes[i].points = std::move(m_items[i].points);
            picture.shapes.push_back(std::move(m_shapes[i]));
        }
        // Texts of their own are labels, not geometry: they go over every face and line (a
        // building's name and its elevation label are read whole even where the building
        // stands in front of them), the farthest first.
        std::stable_sort(m_texts.begin(), m_texts.end(), [](const TextShape& a, const TextShape& b) {
            return a.depth > b.depth;
        });
        for (TextShape& text : m_texts) picture.shapes.push_back(std::move(text.shape));
        for (const PictureShape& shape : picture.shapes)
            for (const GePoint3d& p : shape.points) picture.bounds.Extend(GePoint3d(p.x, p.y, 0.0));
        return picture;
    }

private:
    void AddMesh(const decDbEntity3d& solid, std::uint32_t own)
    {
        const decMesh3* mesh = solid.GetMesh();
        if (!mesh || mesh->GetCountVertex() == 0) return;
        std::uint32_t colour = own;
        double opacity = 1.0;
        if (const dexMaterialObj* material = m_db.Materials().GetById(solid.GetMaterialId())) {
            colour = material->GetColor();
            const double transparency = material->GetTransparent();
            if (transparency > 0.0 && transparency <= 1.0) opacity = 1.0 - transparency;
        }
        const GeMatrix3d tm = solid.GetNodeTm();
        std::vector<GePoint3d> world(static_cast<std::size_t>(mesh->GetCountVertex()));
        for (std::size_t i = 0; i < world.size(); ++i) world[i] = tm * mesh->GetVertexArray()[i];
        if (!AllFinite(world)) {
            m_overflow = true;
            return;
        }
        const int sense = ClosedSense(mesh->Faces(), world);
        std::vector<GePoint3d> loop;
        for (const auto& face : mesh->Faces()) {
            if (face.size() < 3) continue;
            loop.clear();
            for (int index : face) loop.push_back(world[static_cast<std::size_t>(index)]);
            const GeVector3d normal = LoopNormal(loop);
            const double length = normal.Length();
            if (!(length > 0.0)) continue;
            const GeVector3d unit = normal / length;
            const double facing = unit.DotProduct(m_frame.toward);
            if (std::abs(facing) < kEdgeOn || facing * sense < 0.0) continue;
            const double lit = (facing < 0.0 ? -unit : unit).DotProduct(kLight);
            const std::uint32_t fill = Scaled(colour, kAmbient + kDiffuse * std::max(0.0, lit));
            AddFace(loop, fill, Scaled(fill, kOutlineShade), opacity);
        }
    }

    // A filled polygon of a 2-D entity: its own colour, unshaded, from either side.
    void AddFlatFace(const std::vector<GePoint3d>& points, std::uint32_t colour)
    {
        if (!AllFinite(points)) m_overflow = true;
        if (points.size() < 3 || m_overflow) return;
        const GeVector3d normal = LoopNormal(points);
        const double length = normal.Length();
        if (!(length > 0.0) || std::abs(normal.DotProduct(m_frame.toward)) < kEdgeOn * length) return;
        AddFace(points, colour, Scaled(colour, kOutlineShade), 1.0);
    }

    void AddFace(const std::vector<GePoint3d>& world, std::uint32_t fill, std::uint32_t outline, double opacity)
    {
        PictureShape shape;
        shape.kind = PictureShape::Kind::Face;
        for (const GePoint3d& p : world) shape.points.push_back(m_frame.Project(p));
        shape.colour = fill;
        shape.outline = outline;
        shape.opacity = opacity;
        Push(std::move(shape), DepthItem::Kind::Face);
    }

    // One line per segment, so each is ordered against the faces it passes; one point is a dot.
    void AddLines(const std::vector<GePoint3d>& points, std::uint32_t colour)
    {
        if (!AllFinite(points)) m_overflow = true;
        if (points.empty() || m_overflow) return;
        ++m_runs;
        const std::size_t segments = points.size() == 1 ? 1 : points.size() - 1;
        for (std::size_t i = 0; i < segments; ++i) {
            PictureShape shape;
            shape.kind = PictureShape::Kind::Line;
            shape.points = {m_frame.Project(points[i]), m_frame.Project(points[std::min(i + 1, points.size() - 1)])};
            shape.colour = colour;
            shape.run = m_runs;
            Push(std::move(shape), DepthItem::Kind::Line);
        }
    }

    // withFaces: the text belongs to a solid's own display (a window's number), so it is painted
    // in the faces' order, hidden where they hide it; any other text goes on top.
    void AddText(const DrawnPrimitive& item, std::uint32_t colour, bool withFaces)
    {
        if (!AllFinite(item.points) || !std::isfinite(item.height)) m_overflow = true;
        if (item.points.empty() || !(item.height > 0.0) || m_overflow) return;
        const GeVector3d normal = item.normal.Normal();
        GeVector3d along = item.direction - normal * item.direction.DotProduct(normal);
        if (!(along.Length() > 0.0) || !(normal.Length() > 0.0) || !std::isfinite(item.angle)) return;
        along = along.Normal();
        // The host's text angles are in degrees, turning about the text's normal.
        along.RotateBy(Radians(item.angle), normal);
        const GeVector3d up = normal.CrossProduct(along).Normal();
        const double widthFactor = std::isfinite(item.widthFactor) && item.widthFactor > 0.0 ? item.widthFactor : 1.0;

        PictureShape shape;
        shape.kind = PictureShape::Kind::Text;
        double ems = 0.0;
        shape.text = CleanText(item.text, ems);
        if (shape.text.empty()) return;
        const double h = item.height;
        shape.emSize = kEmPerHeight * h;
        const TextAnchor anchor = AnchorOfAlignment(item.alignment);
        shape.centred = anchor != TextAnchor::BottomLeft;
        shape.rise = anchor == TextAnchor::MiddleCentre ? -h / 2 : anchor == TextAnchor::TopCentre ? -h : 0.0;

        const GePoint3d origin = m_frame.Project(item.points[0]);
        const GeVector3d alongView = ProjectVector(along * widthFactor), upView = ProjectVector(up);
        if (std::abs(alongView.x * upView.y - alongView.y * upView.x) < kUnreadable * widthFactor) return;
        shape.originX = origin.x, shape.originY = origin.y;
        shape.alongX = alongView.x, shape.alongY = alongView.y;
        shape.upX = upView.x, shape.upY = upView.y;

        // The box the text covers, in its own plane, for the order and the extents.
        const double width = ems * shape.emSize;
        const double left = shape.centred ? -width / 2 : 0.0;
        const GeVector3d x = along * widthFactor;
        for (const auto& [u, v] : {std::pair{left, shape.rise}, {left + width, shape.rise}, {left + width, shape.rise + h},
                                   {left, shape.rise + h}})
            shape.points.push_back(m_frame.Project(item.points[0] + x * u + up * v));
        shape.colour = colour;
        if (withFaces) return Push(std::move(shape), DepthItem::Kind::Label);
        if (!AllFinite(shape.points)) {
            m_overflow = true;
            return;
        }
        double depth = 0.0;
        for (const GePoint3d& p : shape.points) depth += p.z / static_cast<double>(shape.points.size());
        m_texts.push_back({std::move(shape), depth});
    }

    GeVector3d ProjectVector(const GeVector3d& v) const
    {
        return {v.DotProduct(m_frame.right), v.DotProduct(m_frame.up), -v.DotProduct(m_frame.toward)};
    }

    void Push(PictureShape&& shape, DepthItem::Kind kind)
    {
        // Coordinates near the largest numbers can overflow in the projection.
        if (!AllFinite(shape.points)) {
            m_overflow = true;
            return;
        }
        // The points stay with the order's item until the order is found.
        m_items.push_back({kind, std::move(shape.points)});
        m_shapes.push_back(std::move(shape));
    }

    const DbDatabase& m_db;
    ViewFrame m_frame;
    std::vector<PictureShape> m_shapes;
    std::vector<DepthItem> m_items;
    // A text and its mean depth.
    struct TextShape {
        PictureShape shape;
        double depth = 0.0;
    };
    std::vector<TextShape> m_texts;
    std::vector<LeftOut> m_leftOut;
    // Set when a shape of the entity being added is not finite.
    bool m_overflow = false;
    // A plan is read for its labels: no face covers a text there (a window's number lies under
    // the eaves).
    bool m_textsOnTop;
    std::size_t m_runs = 0;
};

}  // namespace

ViewFrame ViewFrame::Of(PictureView view)
{
    if (view == PictureView::Plan) return {GeVector3d::kXAxis, GeVector3d::kYAxis, GeVector3d::kZAxis};
    const double azimuth = Radians(kAzimuthDegrees), elevation = Radians(kElevationDegrees);
    const GeVector3d toward(std::cos(elevation) * std::cos(azimuth), std::cos(elevation) * std::sin(azimuth),
                            std::sin(elevation));
    const GeVector3d right = GeVector3d::kZAxis.CrossProduct(toward).Normal();
    return {right, toward.CrossProduct(right), toward};
}

GePoint3d ViewFrame::Project(const GePoint3d& p) const
{
    const GeVector3d v(p.x, p.y, p.z);
    return {v.DotProduct(right), v.DotProduct(up), -v.DotProduct(toward)};
}

Picture DrawPicture(const DbDatabase& db, PictureView view)
{
    PictureMaker maker(db, view);
    for (decDbEntity* entity : db.AllObjects()) maker.Add(*entity);
    return maker.Finish();
}

}  // namespace host
