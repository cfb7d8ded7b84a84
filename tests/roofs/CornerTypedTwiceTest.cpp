// A corner typed twice, the commonest slip in drawing an outline, in front of every roof
// command: the roof is that of the outline without the repeat. Each command runs on its base
// drawn plainly and with one corner repeated (in the middle, at the closing point, at the
// start), at the origin and at site coordinates; what it makes must be the same and agree
// with the closed form (extents, and the plan its faces cover, from Clipper where the outline
// grows round a notch).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "RoofTestSupport.h"

using ::testing::HasSubstr;

namespace {

using namespace roof_test;

constexpr double kTop = 3000;
// 20 x 10 m, and a U of 30 x 20 m whose courtyard is 10 m wide and deep, at kTop.
const Ring kRectangle = Rectangle(20000, 10000, kTop);
const Ring kU = {{0, 0, kTop},         {30000, 0, kTop},     {30000, 20000, kTop}, {20000, 20000, kTop},
                 {20000, 10000, kTop}, {10000, 10000, kTop}, {10000, 20000, kTop}, {0, 20000, kTop}};

// The ring with point `at` given twice; at == size repeats the first point at the end.
Ring Repeating(Ring ring, std::size_t at)
{
    const GePoint3d repeated = ring[at % ring.size()];
    ring.insert(ring.begin() + static_cast<std::ptrdiff_t>(at), repeated);
    return ring;
}

std::string At(double x, double y)
{
    return "@" + std::to_string(x) + "," + std::to_string(y);
}

std::string Point(double x, double y, double z = kTop)
{
    return ScriptPoints({GePoint3d(x, y, z)});
}

// What a command made, measured without the roof code: the faces of the live solids on its
// layer, the plan their faces cover (upright ones none; a slab's top and bottom both) and
// their extents.
struct Made {
    std::size_t faces = 0;
    double plan = 0.0;
    GeBoundBox3d box;
};

Made Measure(const char* layer)
{
    Made made;
    for (const decDbEntity3d* solid : Solids(layer))
        for (const Ring& face : MeshFaces(*solid->GetMesh(), solid->GetTM())) {
            ++made.faces;
            made.plan += std::fabs(SignedPlanArea(face));
            for (const GePoint3d& p : face)
                made.box.Extend(p);
        }
    return made;
}

// How a row's base is drawn: a closed polyline, a roof face of its own, or none.
enum class Base { kPolyline, kFace, kNone };

struct Row {
    const char* name;
    const char* layer;
    Base base;
    const Ring* ring;
    // The lines after the base is drawn, for the origin moved to (x, y); twice: with a point
    // given twice where the row's own lines give points.
    std::function<std::string(double x, double y, bool twice)> lines;
    GePoint3d low, high;  // the extents at the origin
    double plan;          // the plan the faces cover; 0: only as without the repeat
    double tol;           // of the extents
};

class CornerTypedTwiceTest : public ModuleTest {
protected:
    Made Run(const Row& row, const Ring& ring, const GePoint3d& origin, bool twice)
    {
        host::NewDrawing();
        host::EventLog::Instance().Clear();
        const Ring moved = tools_test::Moved(ring, origin.x, origin.y);
        if (row.base == Base::kFace)
            AddMesh({moved});
        const std::string base = row.base == Base::kPolyline ? "pline closed " + ScriptPoints(moved) + "\n" : "";
        Script(base + row.lines(origin.x, origin.y, twice));
        return Measure(row.layer);
    }
};

TEST_F(CornerTypedTwiceTest, EveryRoofCommandRoofsTheOutlineWithoutTheRepeat)
{
    const double tan30 = std::tan(Radians(30));
    // The gable's first-run ridge, 3 m above the eave over the half width of 5 m.
    const double gableRise = 3000.0 / 5000;
    const double arcTop = 6000 * std::sin(Radians(180.0 * 8 / 17));  // the highest of 18 samples
    // A 30° face from the eave up to a ridge at 13000; the dormer's front stands at 10000.
    const double eave = 13000 - 10000 * tan30;
    const Ring face = {{0, 0, eave}, {20000, 0, eave}, {20000, 10000, 13000}, {0, 10000, 13000}};
    const double front = (10000 - eave) / tan30;
    const Row rows[] = {
        {"roof, flat with overhang 500", "平屋顶", Base::kPolyline, &kRectangle,
         [](double x, double y, bool) { return "roof\n" + At(x + 5000, y + 3000) + "\nset 1157 500\nok\n"; },
         {-500, -500, kTop}, {20500, 10500, kTop + 200}, 2 * 21000.0 * 11000, 1e-6},
        {"roof, multi-slope with overhang 500", "坡屋顶", Base::kPolyline, &kRectangle,
         [](double x, double y, bool) {
             return "roof\n" + At(x + 5000, y + 3000) + "\nradio 1210\nset 1157 500\nok\n";
         },
         {-500, -500, kTop}, {20500, 10500, kTop + 200 + 5500 * tan30}, 21000.0 * 11000, 0.01},
        {"prismoid on the U, overhang 3000", "坡屋顶", Base::kPolyline, &kU,
         [](double x, double y, bool) {
             return "prismoid\n" + At(x + 5000, y + 15000) + "\nset 1156 1500\nset 1155 3000\nok\n";
         },
         {-3000, -3000, kTop}, {33000, 23000, kTop + 1500}, MitredGrownArea(kU, 3000), 0.01},
        {"prismoid on the U by offset, no overhang", "坡屋顶", Base::kPolyline, &kU,
         [](double x, double y, bool) {
             return "prismoid\n" + At(x + 5000, y + 15000) +
                    "\nradio 1315\nset 1157 1000\nset 1156 1500\nset 1155 0\nok\n";
         },
         {0, 0, kTop}, {30000, 20000, kTop + 1500}, 30000.0 * 20000 - 10000.0 * 10000, 0.01},
        {"proof, overhang 500", "坡屋顶", Base::kPolyline, &kRectangle,
         [](double x, double y, bool) { return "proof\n" + At(x + 5000, y + 3000) + "\nset 1312 500\nok\n"; },
         {-500, -500, kTop - 500}, {20500, 10500, kTop + 5000}, 21000.0 * 11000, 1e-6},
        {"gable, eave overhang 500", "坡屋顶", Base::kPolyline, &kRectangle,
         [](double x, double y, bool) {
             return "gable\n" + At(x + 5000, y + 3000) + "\n" + Point(x, y + 5000) + "\n" +
                    Point(x + 20000, y + 5000) + "\nset 1157 500\nok\n";
         },
         {0, -500, kTop - 500 * gableRise}, {20000, 10500, kTop + 3000}, 20000.0 * 11000, 1e-6},
        {"arcroof, the section's start twice", "坡屋顶", Base::kNone, &kRectangle,
         [](double x, double y, bool twice) {
             const std::string start = Point(x, y, 0) + "\n";
             return "arcroof\n" + start + (twice ? start : "") + Point(x + 12000, y, 0) + "\n" +
                    Point(x + 12000, y + 20000, 0) + "\n\n0\n";
         },
         {0, 0, 0}, {12000, 20000, arcTop}, 12000.0 * 20000, 1e-3},
        {"balcony, on an outline and drawn with a corner twice", "阳台", Base::kPolyline, &kRectangle,
         [](double x, double y, bool twice) {
             const std::string corner = " " + Point(x + 2000, y - 1500);
             return "pline " + Point(x + 2000, y) + corner + (twice ? corner : "") + " " + Point(x + 8000, y - 1500) +
                    " " + Point(x + 8000, y) + "\nbalcony\n" + At(x + 5000, y + 3000) + "\nlast\nset 1154 1\nok\n";
         },
         {2000, -1500, 0}, {8000, 0, 1400}, 0, 1e-4},
        {"dormer on a face with a corner twice", "老虎窗", Base::kFace, &face,
         [](double x, double y, bool) {
             return "dormer\n" + At(x + 5000, y + 5000) + "\nset 1160 10000\nok\n5000\n*cancel*\ncancel\n";
         },
         {4700, front - 300, 10000}, {7300, front + 2300 / tan30, 12300}, 0, 1e-6},
    };
    for (const Row& row : rows)
        for (const GePoint3d& origin : {GePoint3d(0, 0, 0), GePoint3d(5e5, 3e6, 0)}) {
            SCOPED_TRACE(testing::Message() << row.name << " at " << origin.x << "," << origin.y);
            const Made plain = Run(row, *row.ring, origin, false);
            ASSERT_GT(plain.faces, 0u) << Transcript();
            ExpectExtents(plain.box, row.low + origin.AsVector(), row.high + origin.AsVector(), row.tol);
            if (row.plan > 0) {
                EXPECT_NEAR(plain.plan, row.plan, 1e-6 * row.plan);
            }
            for (const std::size_t at : {std::size_t{2}, row.ring->size(), std::size_t{0}}) {
                SCOPED_TRACE(testing::Message() << "point " << at << " twice");
                const Made twice = Run(row, Repeating(*row.ring, at), origin, true);
                EXPECT_EQ(twice.faces, plain.faces) << Transcript();
                EXPECT_NEAR(twice.plan, plain.plan, 1e-6 * plain.plan);
                ExpectExtents(twice.box, plain.box.MinPoint(), plain.box.MaxPoint(), 1e-6);
            }
        }
}

// The exported builder, which outside callers reach, still takes no ring with a repeat.
TEST_F(CornerTypedTwiceTest, TheExportedMultiSlopeBuilderStillRefusesTheRing)
{
    Script("multislope 0 30 " + ScriptPoints(Repeating(kRectangle, 2)) + "\n");
    EXPECT_THAT(Transcript(), HasSubstr("提示：创建坡屋顶失败。"));
    EXPECT_TRUE(Solids().empty());
}

}  // namespace
