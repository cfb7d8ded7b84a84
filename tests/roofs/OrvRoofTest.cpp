// The roof as a drawing object: class record, property panel and its edits, mesh, and the
// record that stored drawings hold.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>

#include "DrawingFile.h"
#include "RoofTestSupport.h"

using ::testing::HasSubstr;

namespace {

using namespace roof_test;

class OrvRoofTest : public ModuleTest {};

const Ring kSquare = Rectangle(10000, 10000);
// Four points, one of them on the first edge: an overhang drops that point from the ring.
const Ring kTriangleWithAStraightPoint = {{0, 0, 0}, {5000, 0, 0}, {10000, 0, 0}, {10000, 6000, 0}};
constexpr const char* kEdgeCountMessage = "修改后的挑出距离会造成屋顶边数改变!请使用编辑屋顶功能!";

void EditNumber(COrvRoof& roof, int index, double v)
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

TEST_F(OrvRoofTest, ClassRecordAndPropertyTables)
{
    ExpectClassRecord(COrvRoof::Desc(), "QCOrvRoof", "日照屋顶", decBuilder::Desc());
    decObject* made = COrvRoof::Desc()->factory();
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(COrvRoof::Cast(made), made);
    EXPECT_EQ(made->DisableReference(), 1);
    delete made;

    COrvRoof roof;
    EXPECT_EQ(roof.GetObjectPropertyDefine(), COrvRoof::flat_roof);
    ASSERT_EQ(Set(roof, {kSquare, 1, 0, {30, 30, 30, 30}}), 1);
    EXPECT_EQ(roof.GetObjectPropertyDefine(), COrvRoof::pitched_roof);
    ASSERT_EQ(Set(roof, {kSquare, 2, 0, {}, 100}), -1);
    EXPECT_EQ(roof.GetObjectPropertyDefine(), nullptr);

    // The flat table lists the parapet rows, the sloped one the slope row.
    EXPECT_EQ(COrvRoof::flat_roof[3].index, 4);
    EXPECT_EQ(COrvRoof::flat_roof[7].name, nullptr);
    EXPECT_STREQ(COrvRoof::pitched_roof[3].prompt, "屋顶坡度 单位:度");
    EXPECT_EQ(COrvRoof::pitched_roof[4].name, nullptr);
}

TEST_F(OrvRoofTest, TheSlopeRowShowsOneSlopeOrMany)
{
    COrvRoof roof;
    ASSERT_EQ(Set(roof, {kSquare, 0, 0, {}, 100}), 1);
    EXPECT_EQ(Shown(roof, 3), "0");
    EXPECT_EQ(Shown(roof, 0), "平屋顶");
    ASSERT_EQ(Set(roof, {kSquare, 1, 0, {30, 30, 30, 30}}), 1);
    EXPECT_EQ(Shown(roof, 3), "30");
    EXPECT_EQ(Shown(roof, 0), "坡屋顶");
    ASSERT_EQ(Set(roof, {kSquare, 1, 0, {30, 30, 45, 30}}), 1);
    EXPECT_EQ(Shown(roof, 3), "**多种**");

    prop_data untouched;
    untouched.SetDouble(42);
    roof.OnPropertyValueGet(8, untouched);
    EXPECT_EQ(untouched.dValue, 42);
    EXPECT_THAT(Transcript(), HasSubstr("表达式失败< 0 >\n文件：OrvRoof"));
}

TEST_F(OrvRoofTest, SlopeTextsFromOneTo89SetEveryEdge)
{
    const struct {
        const char* text;
        float slope;
    } cases[] = {{"1", 1}, {"89", 89}, {"0.5", 30}, {"90", 30}, {"abc", 30}, {"**多种**", 30}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        COrvRoof roof;
        ASSERT_EQ(Set(roof, {kSquare, 1, 0, {30, 30, 30, 30}}), 1);
        EditText(roof, 3, c.text);
        EXPECT_THAT(Values(roof).slopes, ::testing::ElementsAre(c.slope, c.slope, c.slope, c.slope));
    }
    // A "*" text keeps slopes that differ per edge.
    COrvRoof roof;
    ASSERT_EQ(Set(roof, {kSquare, 1, 0, {30, 30, 45, 30}}), 1);
    EditText(roof, 3, "**多种**");
    EXPECT_THAT(Values(roof).slopes, ::testing::ElementsAre(30, 30, 45, 30));
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
        {"parapet on a sloped roof", {kSquare, 1, 0, {30, 30, 30, 30}}, 5, 240},
        {"the kind row", {kSquare, 0, 100, {}, 100}, 0, 1},
        {"thickness 0 of a flat roof without parapet", {kSquare, 0, 100, {}, 100}, 2, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        COrvRoof roof;
        ASSERT_EQ(Set(roof, c.roof), 1);
        const RoofValues before = Values(roof);
        const auto loops = roof.FaceLoops();
        EditNumber(roof, c.index, c.value);
        EXPECT_EQ(Values(roof), before);
        EXPECT_EQ(roof.FaceLoops(), loops);
    }
    // The slope row of a flat roof takes no text either.
    COrvRoof flat;
    ASSERT_EQ(Set(flat, {kSquare, 0, 0, {}, 100}), 1);
    EditText(flat, 3, "45");
    EXPECT_THAT(Values(flat).slopes, ::testing::Each(0.0f));
}

// A flat roof takes an overhang that changes its edge count, with one zero slope per new
// point; a sloped roof refuses it with a message, since its per-edge slopes no longer fit.
TEST_F(OrvRoofTest, AnOverhangThatDropsAnEdge)
{
    COrvRoof flat;
    ASSERT_EQ(Set(flat, {kTriangleWithAStraightPoint, 0, 0, {}, 100}), 1);
    ASSERT_EQ(Values(flat).slopes.size(), 4u);
    EditNumber(flat, 1, 100);
    EXPECT_EQ(Values(flat).overhang, 100.0f);
    EXPECT_THAT(Values(flat).slopes, ::testing::ElementsAre(0, 0, 0));
    EXPECT_EQ(flat.FaceLoops().GetSize(), 1 + 3 + 1);

    COrvRoof sloped;
    Set(sloped, {kTriangleWithAStraightPoint, 1, 0, {30, 30, 30, 30}});
    const RoofValues before = Values(sloped);
    const auto loops = sloped.FaceLoops();
    EditNumber(sloped, 1, 100);
    EXPECT_THAT(Transcript(), HasSubstr(kEdgeCountMessage));
    EXPECT_EQ(Values(sloped), before);
    EXPECT_EQ(sloped.FaceLoops(), loops);

    // An overhang that keeps the edge count is taken.
    COrvRoof square;
    ASSERT_EQ(Set(square, {kSquare, 1, 0, {30, 30, 30, 30}}), 1);
    EditNumber(square, 1, 400);
    EXPECT_EQ(Values(square).overhang, 400.0f);
    EXPECT_NEAR(std::fabs(SignedPlanArea(square.FaceLoops()[0])), 10800.0 * 10800.0, 10.0);
}

TEST_F(OrvRoofTest, TheMeshHasAVertexPerLoopPointAndAPolygonPerLoopOfThreeOrMore)
{
    COrvRoof roof;
    const std::vector<std::uint8_t> record = [] {
        // Three loops: a triangle, a two-point loop and a square.
        StoreFilter out(true);
        out << CString("") << 0 << 0 << 0.0f << 0.0f << 0.0f << 0.0f << 0.0f << 0.0f << 3;
        out << 3 << GePoint3d(0, 0, 0) << GePoint3d(1, 0, 0) << GePoint3d(0, 1, 0);
        out << 2 << GePoint3d(5, 5, 5) << GePoint3d(6, 6, 6);
        out << 4 << GePoint3d(0, 0, 1) << GePoint3d(1, 0, 1) << GePoint3d(1, 1, 1) << GePoint3d(0, 1, 1);
        out << 0 << 0;
        return out.TakeBytes();
    }();
    std::string error;
    ASSERT_TRUE(host::LoadObjectRecord(roof, record, 2, error)) << error;
    decMesh3* made = nullptr;
    ASSERT_EQ(roof.MakeMesh(&made), 1);
    const std::unique_ptr<decMesh3> mesh(made);
    EXPECT_EQ(mesh->GetCountVertex(), 9);
    ASSERT_EQ(mesh->GetCountPolygon(), 2);
    EXPECT_THAT(mesh->GetPolygon(1), ::testing::ElementsAre(5, 6, 7, 8));
    EXPECT_EQ(mesh->GetVertexArray()[4], GePoint3d(6, 6, 6));
}

// ---- the stored record --------------------------------------------------------------

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
    EXPECT_EQ(v.overhang, 250.0f);
    EXPECT_EQ(v.thickness, 120.0f);
    EXPECT_EQ(v.ha, 1.0f);
    EXPECT_EQ(v.hb, 2.0f);
    EXPECT_EQ(v.wa, 3.0f);
    EXPECT_EQ(v.wb, 4.0f);
    EXPECT_THAT(v.slopes, ::testing::ElementsAre(30, 40, 50));
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
