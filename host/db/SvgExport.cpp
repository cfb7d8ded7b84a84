#include "SvgExport.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

#include "DrawingFile.h"
#include "EventLog.h"
#include "FileReplace.h"
#include "FiniteEntity.h"

namespace host {
namespace {

constexpr double kMargin = 0.04;      // of the extents' larger side, on every side
constexpr double kTallest = 4.0;      // height over width, at most
constexpr double kEmptySide = 1000.0;  // view units of a picture of one point
constexpr const char* kGround = "#f4f5f7";
// Widths in pixels.
constexpr double kOutlinePx = 0.6, kLinePx = 1.0, kDotPx = 1.5;

// The view box: x, y of its top-left corner (SVG's y runs down) and its size.
struct Frame {
    double x = 0, y = 0, width = 0, height = 0;
    int widthPx = kSvgDefaultWidth, heightPx = 1;
    double UnitsPerPixel() const { return width / widthPx; }
};

Frame FitView(const GeBoundBox3d& bounds, int widthPx)
{
    Frame frame;
    frame.widthPx = widthPx;
    if (bounds.IsEmpty()) {
        frame.width = widthPx;
        frame.height = frame.width * 5 / 8;
    } else {
        double minX = bounds.MinPoint().x, maxX = bounds.MaxPoint().x;
        double minY = -bounds.MaxPoint().y, maxY = -bounds.MinPoint().y;
        double side = std::max(maxX - minX, maxY - minY);
        if (!(side > 0.0)) side = kEmptySide;
        const double margin = kMargin * side;
        frame.x = minX - margin, frame.y = minY - margin;
        frame.width = maxX - minX + 2 * margin, frame.height = maxY - minY + 2 * margin;
        if (frame.height > kTallest * frame.width) {
            const double wider = frame.height / kTallest;
            frame.x -= (wider - frame.width) / 2;
            frame.width = wider;
        }
    }
    // Extents too large to measure (a drawing of coordinates near the largest numbers) give
    // the empty picture's frame.
    if (!std::isfinite(frame.x + frame.y + frame.width + frame.height)) return FitView(GeBoundBox3d(), widthPx);
    frame.heightPx = std::max(1, static_cast<int>(std::lround(widthPx * frame.height / frame.width)));
    return frame;
}

// Writes numbers to a fixed number of decimals, enough for a twentieth of a pixel, without
// trailing zeros.
class NumberWriter {
public:
    explicit NumberWriter(double unitsPerPixel)
    {
        const double step = unitsPerPixel / 20.0;
        m_decimals = step > 0.0 && std::isfinite(step) ? std::clamp(static_cast<int>(std::ceil(-std::log10(step))), 0, 9) : 3;
    }

    void Put(std::string& out, double v) const
    {
        char text[64];
        auto [end, failed] = std::to_chars(text, text + sizeof text, v, std::chars_format::fixed, m_decimals);
        if (failed != std::errc()) {
            // Too large for fixed notation in the buffer: the exponent form, which SVG reads too.
            out.append(text, std::to_chars(text, text + sizeof text, v, std::chars_format::general, 17).ptr);
            return;
        }
        if (m_decimals > 0) {
            while (end[-1] == '0') --end;
            if (end[-1] == '.') --end;
        }
        std::string_view written(text, static_cast<std::size_t>(end - text));
        if (written == "-0") written = "0";
        out += written;
    }

    // A factor of a matrix or an opacity: five figures.
    static void PutFactor(std::string& out, double v)
    {
        char text[32];
        out.append(text, std::to_chars(text, text + sizeof text, v, std::chars_format::general, 5).ptr);
    }

private:
    int m_decimals = 3;
};

std::string Hex(std::uint32_t colour)
{
    // 0x00BBGGRR to #rrggbb.
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out = "#";
    for (int shift = 0; shift < 24; shift += 8) {
        const unsigned channel = (colour >> shift) & 0xFF;
        out += kDigits[channel >> 4];
        out += kDigits[channel & 0xF];
    }
    return out;
}

void AppendEscaped(std::string& out, std::string_view text)
{
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
}

class SvgWriter {
public:
    SvgWriter(const Frame& frame) : m_frame(frame), m_number(frame.UnitsPerPixel()) {}

    std::string Write(const std::vector<PictureShape>& shapes)
    {
        const double px = m_frame.UnitsPerPixel();
        m_out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                 std::to_string(m_frame.widthPx) + "\" height=\"" + std::to_string(m_frame.heightPx) + "\" viewBox=\"";
        Numbers({m_frame.x, m_frame.y, m_frame.width, m_frame.height});
        m_out += "\">\n<rect x=\"";
        Numbers({m_frame.x});
        m_out += "\" y=\"";
        Numbers({m_frame.y});
        m_out += "\" width=\"";
        Numbers({m_frame.width});
        m_out += "\" height=\"";
        Numbers({m_frame.height});
        m_out += "\" fill=\"" + std::string(kGround) + "\"/>\n<g stroke-linejoin=\"round\" stroke-linecap=\"round\" stroke-width=\"";
        Numbers({kOutlinePx * px});
        m_out += "\" font-family=\"sans-serif\">\n";
        for (std::size_t i = 0; i < shapes.size(); ++i) {
            switch (shapes[i].kind) {
            case PictureShape::Kind::Face: Face(shapes[i]); break;
            case PictureShape::Kind::Text: Text(shapes[i]); break;
            case PictureShape::Kind::Line: i = Lines(shapes, i); break;
            }
        }
        m_out += "</g>\n</svg>\n";
        return std::move(m_out);
    }

private:
    void Numbers(std::initializer_list<double> values)
    {
        bool first = true;
        for (double v : values) {
            if (!first) m_out += ' ';
            first = false;
            m_number.Put(m_out, v);
        }
    }

    void Point(const GePoint3d& p)
    {
        m_number.Put(m_out, p.x);
        m_out += ',';
        m_number.Put(m_out, -p.y);
    }

    void Face(const PictureShape& face)
    {
        m_out += "<polygon points=\"";
        for (std::size_t k = 0; k < face.points.size(); ++k) {
            if (k > 0) m_out += ' ';
            Point(face.points[k]);
        }
        m_out += "\" fill=\"" + Hex(face.colour) + "\" stroke=\"" + Hex(face.outline) + "\"";
        if (face.opacity < 1.0) {
            m_out += " fill-opacity=\"";
            NumberWriter::PutFactor(m_out, face.opacity);
            m_out += "\"";
        }
        m_out += "/>\n";
    }

    // The lines of one run that follow one another in the order, as one polyline; a dot as a
    // circle. Gives the index of the last shape written.
    std::size_t Lines(const std::vector<PictureShape>& shapes, std::size_t i)
    {
        const PictureShape& first = shapes[i];
        const double px = m_frame.UnitsPerPixel();
        if (first.points[0].x == first.points[1].x && first.points[0].y == first.points[1].y) {
            m_out += "<circle cx=\"";
            m_number.Put(m_out, first.points[0].x);
            m_out += "\" cy=\"";
            m_number.Put(m_out, -first.points[0].y);
            m_out += "\" r=\"";
            m_number.Put(m_out, kDotPx * px);
            m_out += "\" fill=\"" + Hex(first.colour) + "\" stroke=\"none\"/>\n";
            return i;
        }
        m_out += "<polyline points=\"";
        Point(first.points[0]);
        std::size_t last = i;
        while (true) {
            m_out += ' ';
            Point(shapes[last].points[1]);
            const std::size_t next = last + 1;
            if (next >= shapes.size() || shapes[next].kind != PictureShape::Kind::Line || shapes[next].run != first.run ||
                shapes[next].points[0].x != shapes[last].points[1].x || shapes[next].points[0].y != shapes[last].points[1].y)
                break;
            last = next;
        }
        m_out += "\" fill=\"none\" stroke=\"" + Hex(first.colour) + "\" stroke-width=\"";
        m_number.Put(m_out, kLinePx * px);
        m_out += "\"/>\n";
        return last;
    }

    // A text placed by the matrix that takes its own frame (x along the baseline, y down) to
    // the picture's.
    void Text(const PictureShape& text)
    {
        m_out += "<text transform=\"matrix(";
        for (double factor : {text.alongX, -text.alongY, -text.upX, text.upY}) {
            NumberWriter::PutFactor(m_out, factor);
            m_out += ' ';
        }
        Numbers({text.originX, -text.originY});
        m_out += ")\"";
        if (text.rise != 0.0) {
            m_out += " y=\"";
            m_number.Put(m_out, -text.rise);
            m_out += "\"";
        }
        m_out += " font-size=\"";
        m_number.Put(m_out, text.emSize);
        m_out += "\"";
        if (text.centred) m_out += " text-anchor=\"middle\"";
        m_out += " fill=\"" + Hex(text.colour) + "\" stroke=\"none\">";
        AppendEscaped(m_out, text.text);
        m_out += "</text>\n";
    }

    Frame m_frame;
    NumberWriter m_number;
    std::string m_out;
};

std::string SvgOf(const Picture& picture, int widthPx)
{
    const Frame frame = FitView(picture.bounds, std::clamp(widthPx, kSvgMinWidth, kSvgMaxWidth));
    return SvgWriter(frame).Write(picture.shapes);
}

}  // namespace

std::string SvgOfDrawing(const DbDatabase& db, PictureView view, int widthPx)
{
    return SvgOf(DrawPicture(db, view), widthPx);
}

bool ExportSvg(const DbDatabase& db, const std::string& path, PictureView view, int widthPx, std::string& error)
{
    const TextFile target{path, {}};
    if (!NoDrawingAmong(std::span(&target, 1), error)) return false;
    const Picture picture = DrawPicture(db, view);
    for (const LeftOut& left : picture.leftOut) ShowLeftOut("export svg", *left.entity, left.reason);
    if (!ReplaceTextFile(path, SvgOf(picture, widthPx), error)) return false;
    EventLog::Instance().Call("export svg " + path);
    return true;
}

}  // namespace host
