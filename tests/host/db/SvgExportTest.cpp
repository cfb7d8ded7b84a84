#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <sstream>

#include "DbTestSupport.h"
#include "HostSolids.h"
#include "SvgExport.h"
#include "Utf8Text.h"
#include "decDbCurve.h"
#include "decDbTextAndPoint.h"

using SvgExport = DbTest;

namespace {

struct Element {
    std::string name;
    std::map<std::string, std::string> attributes;
    std::string text;
};

// Reads the document as XML: elements must nest, attributes be quoted, entities known and the
// bytes UTF-8. Gives the elements in document order; a failure names what is wrong.
::testing::AssertionResult ReadXml(const std::string& xml, std::vector<Element>& elements)
{
    if (!host::IsValidUtf8(xml)) return ::testing::AssertionFailure() << "not UTF-8";
    std::vector<std::string> open;
    std::size_t at = 0;
    const auto unescape = [](std::string text, std::string& out) {
        out.clear();
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] != '&') {
                out += text[i];
                continue;
            }
            const std::size_t end = text.find(';', i);
            const std::string entity = end == std::string::npos ? "" : text.substr(i, end - i + 1);
            const std::map<std::string, char> known{{"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}};
            if (!known.count(entity)) return false;
            out += known.at(entity);
            i = end;
        }
        return true;
    };
    while ((at = xml.find('<', at)) != std::string::npos) {
        const std::size_t end = xml.find('>', at);
        if (end == std::string::npos) return ::testing::AssertionFailure() << "unclosed tag at " << at;
        std::string tag = xml.substr(at + 1, end - at - 1);
        const std::size_t next = xml.find('<', end);
        const std::string text = xml.substr(end + 1, next == std::string::npos ? std::string::npos : next - end - 1);
        at = end;
        if (tag.front() == '?') continue;
        if (tag.front() == '/') {
            if (open.empty() || open.back() != tag.substr(1))
                return ::testing::AssertionFailure() << "</" << tag.substr(1) << "> closes nothing open";
            open.pop_back();
            continue;
        }
        const bool empty = tag.back() == '/';
        if (empty) tag.pop_back();
        std::istringstream words(tag);
        Element element;
        words >> element.name;
        std::string rest;
        std::getline(words, rest, '\0');
        for (std::size_t i = 0; i < rest.size();) {
            const std::size_t eq = rest.find("=\"", i);
            if (eq == std::string::npos) {
                if (rest.find_first_not_of(' ', i) != std::string::npos)
                    return ::testing::AssertionFailure() << "stray text in <" << tag << ">";
                break;
            }
            const std::size_t close = rest.find('"', eq + 2);
            if (close == std::string::npos) return ::testing::AssertionFailure() << "unquoted attribute in <" << tag;
            const std::string name = rest.substr(rest.find_first_not_of(' ', i), eq - rest.find_first_not_of(' ', i));
            if (!unescape(rest.substr(eq + 2, close - eq - 2), element.attributes[name]))
                return ::testing::AssertionFailure() << "unknown entity in " << name;
            i = close + 1;
        }
        if (!unescape(text, element.text)) return ::testing::AssertionFailure() << "unknown entity in text";
        if (!empty) open.push_back(element.name);
        elements.push_back(std::move(element));
    }
    if (!open.empty()) return ::testing::AssertionFailure() << "<" << open.back() << "> is never closed";
    return ::testing::AssertionSuccess();
}

std::vector<double> Numbers(std::string text)
{
    for (char& c : text)
        if (c == ',') c = ' ';
    std::istringstream in(text);
    std::vector<double> values;
    double v = 0;
    while (in >> v) values.push_back(v);
    return values;
}

// The red, green and blue of "#rrggbb".
std::array<int, 3> Rgb(const std::string& hex)
{
    const unsigned long value = std::stoul(hex.substr(1), nullptr, 16);
    return {static_cast<int>(value >> 16), static_cast<int>((value >> 8) & 0xFF), static_cast<int>(value & 0xFF)};
}

std::vector<const Element*> Named(const std::vector<Element>& elements, const std::string& name)
{
    std::vector<const Element*> found;
    for (const Element& e : elements)
        if (e.name == name) found.push_back(&e);
    return found;
}

long AddMaterial(DbDatabase& db, std::uint32_t colour, float transparency = 0.0f)
{
    auto* material = new dexMaterialSolidColor();
    material->SetColor(colour);
    material->SetTransparent(transparency, transparency > 0.0f);
    db.GetTableMaterial()->CreateNewMatObj(material, 0);
    return material->GetMatId();
}

void AddBox(DbDatabase& db, double x, double y, double side, double height, long material)
{
    const GePoint3d square[4] = {{x, y, 0}, {x + side, y, 0}, {x + side, y + side, 0}, {x, y + side, 0}};
    auto* box = new decDbExtrude();
    box->SetData(4, square, 1, GeVector3d(0, 0, height));
    decObjectId id;
    db.CreateNewEntity(1, box, GeMatrix3d(), id, material);
}

// A window as the host sees one: a solid behind its frame's origin plane (x along the sill, y
// out of the wall, z up) whose own display writes its numbers, upright 55 in front of it and
// level 300 out.
class TestPane : public decBuilder {
    DEC_DECLARE_CLASS(TestPane)

public:
    int MakeMesh(decMesh3** out) const override { return (*out = new decMesh3())->CreateBox(1500, 50, 1200, 1); }
    void OnMakeDisplayBuf(unsigned long flags, decViewFilter& filter) override
    {
        decBuilder::OnMakeDisplayBuf(flags, filter);
        filter.Text("2-3", {0, 55, 600}, -GeVector3d::kXAxis, GeVector3d::kYAxis, 0.0, 350, 0.8, 18);
        filter.Text("3", {0, 300, 0}, -GeVector3d::kXAxis, GeVector3d::kZAxis, 0.0, 350, 0.8, 34);
    }
};
DEC_IMPLEMENT_CLASS(TestPane, decBuilder, "测试窗", 1)

// Whether p lies inside the loop (x, y of view coordinates), by crossings.
bool Covers(const std::vector<GePoint3d>& loop, double px, double py)
{
    bool inside = false;
    for (std::size_t i = 0, j = loop.size() - 1; i < loop.size(); j = i++)
        if ((loop[i].y > py) != (loop[j].y > py) &&
            px < loop[j].x + (py - loop[j].y) * (loop[i].x - loop[j].x) / (loop[i].y - loop[j].y))
            inside = !inside;
    return inside;
}

}  // namespace

// Material colours (0x00BBGGRR): pure red and pure blue, so every shade keeps one channel.
constexpr std::uint32_t kRed = 0x0000FF, kBlue = 0xFF0000;

TEST_F(SvgExport, TwoBoxesShowTheirVisibleFacesBackToFrontInTheirMaterialColours)
{
    DbAutoOpen open(1);
    // The blue box stands south-west of the red one, nearer the viewer, and hides part of it;
    // it is made first, so drawing order alone would put it behind.
    const long red = AddMaterial(Db(), kRed), blue = AddMaterial(Db(), kBlue, 0.25f);
    AddBox(Db(), -4500, -4500, 4000, 3000, blue);
    AddBox(Db(), 0, 0, 3000, 3000, red);
    const GePoint3d run[3] = {{-5000, 2000, 0}, {0, 5000, 0}, {3000, 5000, 0}};
    Db().CreateNewEntity(1, new decDbPolyline(3, run, 0));
    // A label at the red box's foot, which the box stands in front of, and one near the viewer.
    Db().CreateNewEntity(1, new decDbText("远", GePoint3d(1500, 1500, 0), 500, 0));
    Db().CreateNewEntity(1, new decDbText("近", GePoint3d(-6000, -6000, 0), 500, 0));

    std::vector<Element> svg;
    ASSERT_TRUE(ReadXml(host::SvgOfDrawing(Db(), host::PictureView::Axonometric, 1600), svg));
    // Texts are labels, not geometry: painted over every face and line, the farthest first.
    std::vector<std::string> painted;
    for (const Element& e : svg)
        if (e.name == "polygon" || e.name == "polyline" || e.name == "text") painted.push_back(e.name + e.text);
    ASSERT_GE(painted.size(), 2u);
    EXPECT_EQ(std::vector(painted.end() - 2, painted.end()), (std::vector<std::string>{"text远", "text近"}));
    ASSERT_EQ(svg[0].name, "svg");
    EXPECT_EQ(svg[0].attributes["width"], "1600");
    const auto polygons = Named(svg, "polygon");
    // Each box shows its top, south and west faces; the others face away.
    ASSERT_EQ(polygons.size(), 6u);
    for (std::size_t i = 0; i < polygons.size(); ++i) {
        const auto rgb = Rgb(polygons[i]->attributes.at("fill"));
        // The red box's three faces first, then the blue one's.
        if (i < 3) {
            EXPECT_TRUE(rgb[0] > 0 && rgb[1] == 0 && rgb[2] == 0) << i << ": " << polygons[i]->attributes.at("fill");
            EXPECT_EQ(polygons[i]->attributes.count("fill-opacity"), 0u);
        } else {
            EXPECT_TRUE(rgb[0] == 0 && rgb[1] == 0 && rgb[2] > 0) << i << ": " << polygons[i]->attributes.at("fill");
            EXPECT_EQ(polygons[i]->attributes.at("fill-opacity"), "0.75");
        }
    }
    // Shading: the top, the south and the west face each turn another way to the light.
    std::set<int> shades;
    for (std::size_t i = 0; i < 3; ++i) shades.insert(Rgb(polygons[i]->attributes.at("fill"))[0]);
    EXPECT_EQ(shades.size(), 3u);
    // The polyline's two segments, each ordered against the faces, drawn dark on the light
    // ground (its layer is white).
    std::size_t segments = 0;
    for (const Element* line : Named(svg, "polyline")) {
        segments += Numbers(line->attributes.at("points")).size() / 2 - 1;
        EXPECT_EQ(line->attributes.at("stroke"), "#333333");
    }
    EXPECT_EQ(segments, 2u);
}

// A building 16 m by 10 m and 6 m high seen from the south-west, a pane with its numbers on one
// wall (or alone): a number is painted after every face whose picture holds its middle where
// the wall is seen, before one where the building (or a nearer one) hides it. A label of its
// own at the building's foot goes after everything; in the plan every text does. Near zero, at
// survey and at national-grid coordinates.
TEST_F(SvgExport, AWindowsNumberIsHiddenWhereItsWallIsAndLabelsStayOnTop)
{
    const struct {
        const char* name;
        GePoint3d sill;
        GeVector3d out;
        bool mirrored = false, building = true, nearer = false, shown = false;
    } kCases[] = {
        {"north wall", {8000, 10001, 900}, {0, 1, 0}},
        {"east wall", {16001, 5000, 900}, {1, 0, 0}},
        {"north wall under the eaves", {8000, 10001, 4500}, {0, 1, 0}},
        {"north wall mirrored", {8000, 10001, 900}, {0, 1, 0}, true},
        {"south wall behind a nearer building", {8000, -1, 900}, {0, -1, 0}, false, true, true},
        // Read from behind, as any view of the model shows it: under its own pane.
        {"facing away, alone", {8000, 10001, 900}, {0, 1, 0}, false, false},
        {"south wall", {8000, -1, 900}, {0, -1, 0}, false, true, false, true},
        {"west wall", {-1, 5000, 900}, {-1, 0, 0}, false, true, false, true},
        {"south wall mirrored", {8000, -1, 900}, {0, -1, 0}, true, true, false, true},
    };
    const auto at = [](double x, double y) { return GeMatrix3d().SetToTranslation(GeVector3d(x, y, 0)); };
    for (const auto& [x0, y0] : {std::pair{0.0, 0.0}, {3.0e6, 4.0e6}, {4.0e9, -2.0e9}}) {
        for (const auto& c : kCases) {
            const std::string where = std::string(c.name) + " at " + std::to_string(x0);
            host::NewDrawing();
            {
                DbAutoOpen open(1);
                if (c.building) AddBlock(16000, 10000, 6000, at(x0, y0));
                if (c.nearer) AddBlock(14000, 6000, 20000, at(x0 - 4000, y0 - 12000));
                const GeVector3d along = c.out.CrossProduct(GeVector3d::kZAxis) * (c.mirrored ? -1.0 : 1.0);
                GeMatrix3d frame;
                frame.SetCoordSystem(c.sill + GeVector3d(x0, y0, 0), along, c.out, GeVector3d::kZAxis);
                decObjectId id;
                Db().CreateNewEntity(1, new TestPane(), frame, id);
                Db().CreateNewEntity(1, new TestLabel("甲楼", GePoint3d(x0 + 8000, y0 + 5000, 0)));
            }
            const std::vector<host::PictureShape> axo = host::DrawPicture(Db(), host::PictureView::Axonometric).shapes;
            int numbers = 0;
            for (std::size_t k = 0; k < axo.size(); ++k) {
                if (axo[k].text != "2-3" && axo[k].text != "3") continue;
                ++numbers;
                double x = 0, y = 0;
                for (const GePoint3d& p : axo[k].points) x += p.x / 4, y += p.y / 4;
                const auto hides = [&](const host::PictureShape& face) {
                    return face.kind == host::PictureShape::Kind::Face && Covers(face.points, x, y);
                };
                EXPECT_EQ(std::none_of(axo.begin() + static_cast<std::ptrdiff_t>(k), axo.end(), hides), c.shown)
                    << where << " " << axo[k].text;
            }
            EXPECT_EQ(numbers, 2) << where;
            EXPECT_EQ(axo.back().text, "甲楼") << where;
            const std::vector<host::PictureShape> plan = host::DrawPicture(Db(), host::PictureView::Plan).shapes;
            EXPECT_TRUE(std::is_partitioned(plan.begin(), plan.end(), [](const host::PictureShape& s) {
                return s.kind != host::PictureShape::Kind::Text;
            })) << where;
        }
    }
}

TEST_F(SvgExport, ThePlanKeepsTheSiteCoordinatesInsideTheViewBox)
{
    DbAutoOpen open(1);
    const double x = 512000, y = 3310000;  // site coordinates in millimetres
    AddBox(Db(), x, y, 12000, 30000, AddMaterial(Db(), kRed));
    Db().CreateNewEntity(1, new decDbText("一号楼 <A&B>", GePoint3d(x, y - 3000, 0), 500, 0));

    std::vector<Element> svg;
    ASSERT_TRUE(ReadXml(host::SvgOfDrawing(Db(), host::PictureView::Plan, 800), svg));
    const auto box = Numbers(svg[0].attributes["viewBox"]);
    ASSERT_EQ(box.size(), 4u);
    EXPECT_EQ(svg[0].attributes["width"], "800");
    const auto polygons = Named(svg, "polygon");
    ASSERT_EQ(polygons.size(), 1u) << "only the top faces the sky";
    const auto points = Numbers(polygons[0]->attributes.at("points"));
    const std::vector<double> top{x, -y, x + 12000, -y, x + 12000, -y - 12000, x, -y - 12000};
    ASSERT_EQ(points.size(), top.size());
    for (std::size_t i = 0; i < top.size(); ++i) {
        EXPECT_NEAR(points[i], top[i], 1.0) << i;
        const double low = box[i % 2], high = box[i % 2] + box[2 + i % 2];
        EXPECT_TRUE(points[i] > low && points[i] < high) << i;
    }
    // The picture is as high as the drawing asks: the text below the box adds to it.
    EXPECT_GT(std::stod(svg[0].attributes["height"]), 800.0 * 15000 / 12000 * 0.9);
    const auto texts = Named(svg, "text");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0]->text, "一号楼 <A&B>");
}

TEST_F(SvgExport, WhatIsNotShownAndAnEmptyDrawingGiveAnEmptyPicture)
{
    {
        DbAutoOpen open(1);
        AddBox(Db(), 0, 0, 1000, 1000, 0);
        for (decDbEntity* entity : Db().AllObjects()) {
            entity->OpenForWrite();
            entity->SetHide(1);
            entity->Close();
        }
        Db().CreateNewEntity(1, new decDbText("\x01\xff", GePoint3d(), 500, 0));
    }
    std::vector<Element> svg;
    ASSERT_TRUE(ReadXml(host::SvgOfDrawing(Db(), host::PictureView::Axonometric, 1600), svg));
    EXPECT_TRUE(Named(svg, "polygon").empty());
    // A text of a control character and a byte that is no UTF-8 keeps only the replacement.
    ASSERT_EQ(Named(svg, "text").size(), 1u);
    EXPECT_EQ(Named(svg, "text")[0]->text, "\xEF\xBF\xBD");

    host::NewDrawing();
    std::vector<Element> empty;
    ASSERT_TRUE(ReadXml(host::SvgOfDrawing(Db(), host::PictureView::Plan, 1600), empty));
    EXPECT_EQ(empty.size(), 3u) << "svg, its ground and the empty group";
}

// Coordinates near the largest numbers overflow in the projection and the fit: what cannot be
// placed is left out and the numbers written stay numbers.
TEST_F(SvgExport, CoordinatesNearTheLargestNumbersGiveAValidPicture)
{
    DbAutoOpen open(1);
    const GePoint3d far[2] = {{-1.7e308, 0, 0}, {1.7e308, 1e308, 0}};
    Db().CreateNewEntity(1, new decDbPolyline(2, far, 0));
    AddBox(Db(), 1e300, 1e300, 1e299, 1e299, 0);
    for (const auto view : {host::PictureView::Axonometric, host::PictureView::Plan}) {
        std::vector<Element> svg;
        ASSERT_TRUE(ReadXml(host::SvgOfDrawing(Db(), view, 300), svg));
        for (const Element& e : svg) {
            for (const auto& [name, value] : e.attributes) {
                if (name != "viewBox" && name != "points" && name != "width" && name != "height") continue;
                for (double v : Numbers(value)) EXPECT_TRUE(std::isfinite(v)) << e.name << " " << name << ": " << value;
            }
        }
    }
}

TEST_F(SvgExport, AFailedWriteNamesTheFile)
{
    std::string error;
    EXPECT_FALSE(host::ExportSvg(Db(), TempPath("no/dir/site.svg"), host::PictureView::Plan, 1600, error));
    EXPECT_NE(error.find("site.svg"), std::string::npos) << error;
}

// rsvg-convert (librsvg) draws the picture: a renderer other than ours reads it.
TEST_F(SvgExport, AnSvgRendererDrawsThePicture)
{
    if (std::system("command -v rsvg-convert >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "rsvg-convert is not installed (scripts/setup.sh installs librsvg2-bin)";
    {
        DbAutoOpen open(1);
        AddBox(Db(), 0, 0, 4000, 3000, AddMaterial(Db(), kRed));
    }
    const std::string svg = TempPath("box.svg"), png = TempPath("box.png");
    std::string error;
    ASSERT_TRUE(host::ExportSvg(Db(), svg, host::PictureView::Axonometric, 200, error)) << error;
    ASSERT_EQ(std::system(("rsvg-convert -o '" + png + "' '" + svg + "'").c_str()), 0);

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, png.c_str())) << image.message;
    image.format = PNG_FORMAT_RGBA;
    std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) << image.message;
    EXPECT_EQ(image.width, 200u);
    std::size_t reddish = 0;
    for (std::size_t i = 0; i + 3 < pixels.size(); i += 4)
        if (pixels[i] > 100 && pixels[i + 1] < 40 && pixels[i + 2] < 40) ++reddish;
    // The box covers a good share of the picture, and the corner is the ground.
    EXPECT_GT(reddish, pixels.size() / 4 / 5);
    const auto ground = Rgb("#f4f5f7");
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(pixels[static_cast<std::size_t>(c)], ground[static_cast<std::size_t>(c)], 2);
}
