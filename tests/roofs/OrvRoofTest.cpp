// The roof entity: what SetData stores and builds for each kind of roof, its faces measured
// against independent formulas, the property panel and its edits, the mesh, and the record
// stored drawings hold.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "DrawingFile.h"
#include "RoofTestSupport.h"

using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

using namespace roof_test;

class OrvRoofTest : public ModuleTest {};

const Ring kSquare = Rectangle(10000, 10000);
const std::vector<float> kFour30 = {30, 30, 30, 30};
constexpr double kL = 12000, kW = 8000;

// The change leaves every value and every face loop as it was.
template <class Change>
void ExpectUnchanged(COrvRoof& roof, Change change)
{
    const RoofValues before = Values(roof);
    const auto loops = roof.FaceLoops();
    change();
    EXPECT_EQ(Values(roof), before);
    EXPECT_EQ(roof.FaceLoops(), loops);
}

TEST_F(OrvRoofTest, SetDataCases)
{
    const struct {
        const char* name;
        RoofInput in;
        int result, loops;
        float ha, wb, overhang;  // as stored
    } cases[] = {
        {"flat without slab or parapet", {kSquare}, -1, 0, 0, 0, 0},
        {"three points on a line", {{{0, 0, 0}, {5000, 0, 0}, {10000, 0, 0}}, 0, 0, {}, 100}, -1, 0, 0, 0, 0},
        {"four points on a line, back and forth", {{{0, 0, 0}, {9000, 0, 0}, {3000, 0, 0}, {6000, 0, 0}}, 1, 0, kFour30},
         -1, 0, 0, 0, 0},
        {"unknown kind", {kSquare, 2, 0, {}, 100}, -1, 0, 0, 0, 0},
        {"flat slab: underside, four sides, top", {kSquare, 0, 0, {}, 100}, 1, 6, 0, 0, 0},
        {"slab with lower parapet: 4 inner, 4 outer, 4 top", {kSquare, 0, 0, {}, 100, 600, 0, 240}, 1, 18, 600, 0, 0},
        {"wa 0 drops ha and builds no parapet", {kSquare, 0, 0, {}, 100, 600, 0, 0}, 1, 6, 0, 0, 0},
        {"hb 0 drops wb", {kSquare, 0, 0, {}, 100, 600, 0, 240, 200}, 1, 18, 600, 0, 0},
        {"negative overhang stored as its size", {kSquare, 0, -500, {}, 100}, 1, 6, 0, 0, 500},
        {"two-part parapet without slab", {kSquare, 0, 300, {}, 0, 600, 400, 240, 100}, 1, 21, 600, 100, 300},
        {"wa 0 with hb: upper part and top only", {kSquare, 0, 0, {}, 0, 600, 400, 0, 100}, 1, 13, 0, 100, 0},
        {"sloped, one slope short", {kSquare, 1, 0, {30, 30, 30}}, -1, 0, 0, 0, 0},
        {"sloped square: underside and four faces", {kSquare, 1, 0, kFour30}, 1, 5, 0, 0, 0},
        {"sloped on a slab", {kSquare, 1, 0, kFour30, 200}, 1, 9, 0, 0, 0},
        {"sloped, failed solve, no slab", {kSquare, 1, 0, {30, 30, 0, 30}}, 0, 2, 0, 0, 0},
        {"sloped, failed solve, on a slab", {kSquare, 1, 0, {30, 30, 0, 30}, 100}, 0, 6, 0, 0, 0},
        // The toolkit's roof solver takes at most 499 points: the roof keeps its flat face.
        {"sloped over 500 points", {RegularPolygon(500, 50000), 1, 0, std::vector<float>(500, 30)}, 0, 2, 0, 0, 0},
        // More polygons than the mesh's polygon buffer first holds.
        {"two-part parapet over 300 points", {RegularPolygon(300, 50000), 0, 0, {}, 100, 600, 400, 240, 100}, 1,
         2 + 300 + 5 * 300, 600, 100, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        COrvRoof roof;
        EXPECT_EQ(Set(roof, c.in), c.result);
        EXPECT_EQ(roof.FaceLoops().GetSize(), c.loops);
        const RoofValues v = Values(roof);
        EXPECT_EQ(std::vector<float>({v.ha, v.wb, v.overhang}), std::vector<float>({c.ha, c.wb, c.overhang}));
        EXPECT_TRUE(roof.ExtraPoints().empty());
        if (c.result >= 0) {
            EXPECT_EQ(v.slopes.size(), roof.FaceLoops()[0].size()) << "one slope per point of the edge ring";
            if (c.result == 0 || c.in.kind == 0) {
                EXPECT_THAT(v.slopes, Each(0.0f));
            }
        }
        const auto mesh = MeshOf(roof);
        EXPECT_EQ(mesh ? mesh->GetCountPolygon() : 0, c.loops >= 3 ? c.loops : 0) << "every loop reaches the mesh";
    }
    // An outline of two points changes nothing at all.
    COrvRoof roof;
    ASSERT_EQ(Set(roof, {kSquare, 0, 100, {}, 100, 600, 300, 240, 50}), 1);
    ExpectUnchanged(roof, [&] { EXPECT_EQ(Set(roof, {{{0, 0, 0}, {10, 0, 0}}, 1, 7, {5, 5}, 9, 9, 9, 9, 9}), -1); });
}

// The first point goes to the origin and the first edge onto +x; a refusal after that keeps
// the moved outline and the parameters but not new faces.
TEST_F(OrvRoofTest, TheOutlineIsStoredInTheRoofsOwnFrame)
{
    COrvRoof roof;
    EXPECT_EQ(Set(roof, {{{1000, 2000, 3000}, {1000, 5000, 3000}, {-2000, 5000, 3000}, {-2000, 2000, 3000}}}), -1);
    const RoofValues v = Values(roof);
    ExpectPointsNear(v.outline, {{0, 0, 0}, {3000, 0, 0}, {3000, 3000, 0}, {0, 3000, 0}}, 1e-9);
    EXPECT_TRUE(roof.FaceLoops().empty());

    Ring twice;
    roof.GetFloorTopVtAry(twice);
    roof.GetFloorTopVtAry(twice);
    ASSERT_EQ(twice.size(), 8u);
    ExpectPointsNear(Ring(twice.begin() + 4, twice.end()), v.outline);
}

// With wa 0 the upper part has no thickness: its inner and outer faces are the same quads
// turned round and the tops have no width.
TEST_F(OrvRoofTest, AnUpperPartWithoutWidthHasFlatFacesAndZeroWidthTops)
{
    COrvRoof roof;
    ASSERT_EQ(Set(roof, {kSquare, 0, 0, {}, 0, 0, 400, 0, 100}), 1);
    const auto& loops = roof.FaceLoops();
    ASSERT_EQ(loops.GetSize(), 13);
    for (int i = 0; i < 4; ++i) {
        const Ring& inner = loops[1 + i];
        ExpectPointsNear(loops[5 + i], {inner[1], inner[0], inner[3], inner[2]});
        EXPECT_NEAR(SpaceArea(loops[9 + i]), 0.0, 1e-6);
    }
}

// ---- independent measures -----------------------------------------------------------

// The sloped faces of a rectangle, slab or not, are its hip roof above the slab.
TEST_F(OrvRoofTest, ASlopedRectangleIsItsHipRoof)
{
    for (const double base : {0.0, 250.0}) {
        SCOPED_TRACE(base);
        COrvRoof roof;
        ASSERT_EQ(Set(roof, {Rectangle(kL, kW), 1, 0, std::vector<float>(4, 35), static_cast<float>(base)}), 1);
        const auto& loops = roof.FaceLoops();
        ExpectHipRoof(std::vector<Ring>(loops.begin() + (base > 0 ? 5 : 1), loops.end()), kL, kW, 35, base);
    }
}

// ---- the property panel -------------------------------------------------------------

void Edit(COrvRoof& roof, int index, double v)
{
    prop_data value;
    value.SetDouble(v);
    EXPECT_EQ(roof.OnPropertyValueChanged(index, value), -2);
}

void EditText(COrvRoof& roof, int index, const char* text)
{
    prop_data value;
    value.SetText(text);
    EXPECT_EQ(roof.OnPropertyValueChanged(index, value), -2);
}

std::string Shown(COrvRoof& roof, int index)
{
    prop_data value;
    roof.OnPropertyValueGet(index, value);
    return value.type == prop_data::kText ? value.szValue : std::to_string(value.dValue);
}

// The kind picks the table and the slope row shows one slope, many, or 0 on a flat roof; an
// index outside the table shows the assertion report and leaves the value alone.
TEST_F(OrvRoofTest, TheKindPicksThePanelAndTheSlopeRowShowsOneSlopeOrMany)
{
    ExpectClassRecord(COrvRoof::Desc(), "QCOrvRoof", "日照屋顶", decBuilder::Desc());
    const struct {
        RoofInput in;
        const TPropertyDef* table;
        const char *kind, *slope;
    } cases[] = {
        {{kSquare, 0, 0, {}, 100}, COrvRoof::flat_roof, "平屋顶", "0"},
        {{kSquare, 1, 0, kFour30}, COrvRoof::pitched_roof, "坡屋顶", "30"},
        {{kSquare, 1, 0, {30, 30, 45, 30}}, COrvRoof::pitched_roof, "坡屋顶", "**多种**"},
    };
    for (const auto& c : cases) {
        COrvRoof roof;
        ASSERT_EQ(Set(roof, c.in), 1);
        EXPECT_EQ(roof.GetObjectPropertyDefine(), c.table);
        EXPECT_EQ(Shown(roof, 0), c.kind);
        EXPECT_EQ(Shown(roof, 3), c.slope);
    }
    COrvRoof unknown;
    ASSERT_EQ(Set(unknown, {kSquare, 2, 0, {}, 100}), -1);
    EXPECT_EQ(unknown.GetObjectPropertyDefine(), nullptr);

    prop_data untouched;
    untouched.SetDouble(42);
    unknown.OnPropertyValueGet(8, untouched);
    EXPECT_EQ(untouched.dValue, 42);
    EXPECT_THAT(Transcript(), HasSubstr("表达式失败< 0 >\n文件：OrvRoof"));
}

// Slope texts from 1 to 89 set every edge; others, and "*" texts, change nothing.
TEST_F(OrvRoofTest, SlopeTextsFromOneTo89SetEveryEdge)
{
    const struct {
        const char* text;
        std::vector<float> before, after;
    } cases[] = {{"1", kFour30, {1, 1, 1, 1}},        {"89", kFour30, {89, 89, 89, 89}}, {"0.5", kFour30, kFour30},
                 {"89.5", kFour30, kFour30},
                 {"90", kFour30, kFour30},             {"abc", kFour30, kFour30},
                 {"**多种**", {30, 30, 45, 30}, {30, 30, 45, 30}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        COrvRoof roof;
        ASSERT_EQ(Set(roof, {kSquare, 1, 0, c.before}), 1);
        EditText(roof, 3, c.text);
        EXPECT_EQ(Values(roof).slopes, c.after);
    }
}

// Each edit that a rule refuses leaves every value as it was.
TEST_F(OrvRoofTest, RefusedEditsChangeNothing)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char* name;
        RoofInput roof;
        int index;
        double value;
    } cases[] = {
        {"negative overhang", {kSquare, 0, 100, {}, 100}, 1, -5},
        {"NaN thickness", {kSquare, 0, 100, {}, 100}, 2, nan},
        {"negative parapet", {kSquare, 0, 100, {}, 100, 600, 0, 240}, 5, -1},
        {"parapet on a sloped roof", {kSquare, 1, 0, kFour30}, 5, 240},
        {"the kind row", {kSquare, 0, 100, {}, 100}, 0, 1},
        {"thickness 0 of a flat roof without parapet", {kSquare, 0, 100, {}, 100}, 2, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        COrvRoof roof;
        ASSERT_EQ(Set(roof, c.roof), 1);
        ExpectUnchanged(roof, [&] { Edit(roof, c.index, c.value); });
    }
    // The slope row of a flat roof takes no text either.
    COrvRoof flat;
    ASSERT_EQ(Set(flat, {kSquare, 0, 0, {}, 100}), 1);
    ExpectUnchanged(flat, [&] { EditText(flat, 3, "45"); });
}

// A flat roof takes an overhang that changes its edge count, with one zero slope per new
// point; a sloped roof refuses it with a message, since its per-edge slopes no longer fit (one
// that keeps the edge count is the next test's).
TEST_F(OrvRoofTest, AnOverhangThatDropsAnEdge)
{
    // Four points, one of them on the first edge: an overhang drops that point from the ring.
    const Ring straightPoint = {{0, 0, 0}, {5000, 0, 0}, {10000, 0, 0}, {10000, 6000, 0}};
    COrvRoof flat;
    ASSERT_EQ(Set(flat, {straightPoint, 0, 0, {}, 100}), 1);
    Edit(flat, 1, 100);
    EXPECT_EQ(Values(flat).overhang, 100.0f);
    EXPECT_THAT(Values(flat).slopes, ElementsAre(0, 0, 0));
    EXPECT_EQ(flat.FaceLoops().GetSize(), 1 + 3 + 1);

    COrvRoof sloped;
    Set(sloped, {straightPoint, 1, 0, kFour30});
    ExpectUnchanged(sloped, [&] { Edit(sloped, 1, 100); });
    EXPECT_THAT(Transcript(), HasSubstr("修改后的挑出距离会造成屋顶边数改变!请使用编辑屋顶功能!"));
}

// Both values within half a millimetre of `at`: an edge along that line.
bool BothAt(double u, double v, double at)
{
    return std::fabs(u - at) < 0.5 && std::fabs(v - at) < 0.5;
}

// An L (12 x 10 m, its arm 5 m wide) with 60° on its west and south edges and 30° on the
// others; and edges of one line with unequal slopes: a U whose two top edges lie either side
// of its 4 m courtyard (60° west, 45° east, 30° elsewhere). A new overhang grows the ring
// from another corner, and perhaps the other way round, yet every face keeps rising at the
// slope of the edge it stands on (the grown edge beside its own), typed either way round and
// from any corner; back to no overhang the slopes are as typed. One that closes the courtyard
// merges the U's top edges and is refused.
TEST_F(OrvRoofTest, AnOverhangEditKeepsEachSlopeOnItsEdge)
{
    const struct {
        const char* name;
        Ring outline;
        // The slope of the edge a-b of the outline grown by g.
        float (*slope)(const GePoint3d& a, const GePoint3d& b, double g);
        std::vector<double> overhangs;
        double refused;  // the overhang refused, if any
    } cases[] = {
        {"L",
         {{0, 0, 0}, {12000, 0, 0}, {12000, 5000, 0}, {5000, 5000, 0}, {5000, 10000, 0}, {0, 10000, 0}},
         [](const GePoint3d& a, const GePoint3d& b, double g) -> float {
             return BothAt(a.x, b.x, -g) || BothAt(a.y, b.y, -g) ? 60 : 30;
         },
         {1000, 2500, 0}, -1},
        {"U",
         {{0, 0, 0}, {14000, 0, 0}, {14000, 8000, 0}, {9000, 8000, 0}, {9000, 3000, 0}, {5000, 3000, 0},
          {5000, 8000, 0}, {0, 8000, 0}},
         [](const GePoint3d& a, const GePoint3d& b, double g) -> float {
             return !BothAt(a.y, b.y, 8000 + g) ? 30 : (a.x + b.x) / 2 < 7000 ? 60 : 45;
         },
         {700, 0, 2500}, 2500},
    };
    for (const auto& c : cases)
        for (const bool reversed : {false, true})
            for (std::size_t start = 0; start < c.outline.size(); ++start) {
                SCOPED_TRACE(testing::Message() << c.name << " from " << start << (reversed ? " reversed" : ""));
                Ring outline = reversed ? tools_test::Reversed(c.outline) : c.outline;
                std::rotate(outline.begin(), outline.begin() + static_cast<std::ptrdiff_t>(start), outline.end());
                // The slope of each edge of a ring that the frame takes to the outline grown by g.
                const auto slopesOf = [&](const Ring& ring, const GeMatrix3d& toWorld, double g) {
                    std::vector<float> slopes;
                    for (std::size_t j = 0; j < ring.size(); ++j)
                        slopes.push_back(c.slope(GePoint3d(ring[j]).TransformBy(toWorld),
                                                 GePoint3d(ring[(j + 1) % ring.size()]).TransformBy(toWorld), g));
                    return slopes;
                };
                const std::vector<float> typed = slopesOf(outline, GeMatrix3d(), 0);
                COrvRoof roof;
                ASSERT_EQ(Set(roof, {outline, 1, 0, typed}), 1);
                // The roof's own frame turns the outline: the grown edges are taken back to it.
                const GeMatrix3d toWorld = COrvRoof::FrameOf(outline);
                for (const double g : c.overhangs) {
                    SCOPED_TRACE(testing::Message() << "overhang " << g);
                    if (g == c.refused) {
                        ExpectUnchanged(roof, [&] { Edit(roof, 1, g); });
                        continue;
                    }
                    Edit(roof, 1, g);
                    ASSERT_EQ(Values(roof).overhang, static_cast<float>(g));
                    const auto& loops = roof.FaceLoops();
                    const std::vector<Ring> faces(loops.begin() + 1, loops.end());
                    ExpectFacesRiseFromTheirEdges(faces, loops[0], slopesOf(loops[0], toWorld, g), 0.05);
                }
                EXPECT_EQ(Values(roof).slopes, typed);
            }
}

// ---- the mesh and the stored record ---------------------------------------------------

// Three stored loops: a triangle, a two-point loop and a square. One vertex per loop point, a
// polygon only for the loops of three points or more.
TEST_F(OrvRoofTest, TheMeshHasAVertexPerLoopPointAndAPolygonPerLoopOfThreeOrMore)
{
    StoreFilter out(true);
    out << CString("") << 0 << 0 << 0.0f << 0.0f << 0.0f << 0.0f << 0.0f << 0.0f << 3;
    out << 3 << GePoint3d(0, 0, 0) << GePoint3d(1, 0, 0) << GePoint3d(0, 1, 0);
    out << 2 << GePoint3d(5, 5, 5) << GePoint3d(6, 6, 6);
    out << 4 << GePoint3d(0, 0, 1) << GePoint3d(1, 0, 1) << GePoint3d(1, 1, 1) << GePoint3d(0, 1, 1);
    out << 0 << 0;
    COrvRoof roof;
    std::string error;
    ASSERT_TRUE(host::LoadObjectRecord(roof, out.TakeBytes(), 2, error)) << error;
    const auto mesh = MeshOf(roof);
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->GetCountVertex(), 9);
    ASSERT_EQ(mesh->GetCountPolygon(), 2);
    EXPECT_THAT(mesh->GetPolygon(1), ElementsAre(5, 6, 7, 8));
    EXPECT_EQ(mesh->GetVertexArray()[4], GePoint3d(6, 6, 6));
}

// A sloped roof: outline of 3 points, kind 1, overhang 250, thickness 120, parapet values
// 1..4, then the loops, the extra points (count given) and 3 slopes.
RecordBytes SlopedRecord(std::int32_t loopCount, std::int32_t extraCount, bool extraPoints)
{
    RecordBytes r;
    r.Int(0);  // the base part: an empty object name
    r.Int(3).Point(0, 0, 0).Point(4000, 0, 0).Point(0, 3000, 0);
    r.Int(1).Float(250).Float(120).Float(1).Float(2).Float(3).Float(4);
    r.Int(loopCount).Int(3).Point(0, 0, 0).Point(4000, 0, 0).Point(0, 3000, 0).Int(1).Point(7, 8, 9);
    r.Int(extraCount);
    if (extraPoints)
        r.Point(1, 2, 3).Point(4, 5, 6);
    r.Int(3).Float(30).Float(40).Float(50);
    return r;
}

TEST_F(OrvRoofTest, TheRecordLayoutIsReadItemByItem)
{
    COrvRoof roof;
    std::string error;
    ASSERT_TRUE(host::LoadObjectRecord(roof, SlopedRecord(2, 2, true).bytes, 2, error)) << error;
    const RoofValues v = Values(roof);
    ExpectPointsNear(v.outline, {{0, 0, 0}, {4000, 0, 0}, {0, 3000, 0}});
    EXPECT_EQ(v.kind, 1);
    EXPECT_EQ(std::vector<float>({v.overhang, v.thickness, v.ha, v.hb, v.wa, v.wb}),
              std::vector<float>({250, 120, 1, 2, 3, 4}));
    EXPECT_THAT(v.slopes, ElementsAre(30, 40, 50));
    ASSERT_EQ(roof.FaceLoops().GetSize(), 2);
    ExpectPointsNear(roof.FaceLoops()[1], {{7, 8, 9}});
    ExpectPointsNear(roof.ExtraPoints(), {{1, 2, 3}, {4, 5, 6}});
    // Written back, nothing recomputed: the same bytes.
    EXPECT_EQ(host::StoreObjectRecord(roof), SlopedRecord(2, 2, true).bytes);

    // An extra-point count of -1 is an empty list (written back as 0).
    COrvRoof negative;
    ASSERT_TRUE(host::LoadObjectRecord(negative, SlopedRecord(2, -1, false).bytes, 2, error)) << error;
    EXPECT_TRUE(negative.ExtraPoints().empty());
    EXPECT_EQ(host::StoreObjectRecord(negative), SlopedRecord(2, 0, false).bytes);

    // A loop count larger than the record holds refuses it.
    COrvRoof corrupt;
    EXPECT_FALSE(host::LoadObjectRecord(corrupt, SlopedRecord(1000000, 0, false).bytes, 2, error));
    EXPECT_FALSE(host::LoadObjectRecord(corrupt, SlopedRecord(3, 0, false).bytes, 2, error));
}

}  // namespace
