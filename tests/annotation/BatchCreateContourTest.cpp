// tocontour end to end: which selected lines the drawn segment crosses, the order and the
// elevations they get, the unit rule, the refusals, and what the replacement keeps.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "DrawingTestSupport.h"
#include "decDbCurve.h"

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

// A curve with two loops, the first standing upright and the second level.
class TwoLoopCurve : public decDbCurve {
    DEC_DECLARE_CLASS(TwoLoopCurve)

public:
    std::vector<GePoint3d> upright;
    std::vector<GePoint3d> level;

    int Explode(GeCurveList&) const override { return 0; }
    std::vector<GePoint3d> Vertices() const override { return level; }
    bool IsClosed() const override { return true; }
    std::vector<GePolygon> GetPolygons() const override { return {GePolygon(upright, false), GePolygon(level, false)}; }
};

DEC_IMPLEMENT_CLASS(TwoLoopCurve, decDbCurve, "双环曲线", 1)

class BatchCreateContourTest : public DrawingTest {
protected:
    decObjectId Polyline(std::vector<GePoint3d> points, bool closed)
    {
        return AddEntity(new decDbPolyline(static_cast<int>(points.size()), points.data(), closed ? 1 : 0));
    }
    // A closed square of half-side r about the origin.
    decObjectId Ring(double r) { return Polyline({{-r, -r, 0}, {r, -r, 0}, {r, r, 0}, {-r, r, 0}}, true); }

    // The live polylines on the contour layer, in drawing order.
    std::vector<decDbPolyline*> Contours() const
    {
        std::vector<decDbPolyline*> found;
        for (decDbPolyline* line : All<decDbPolyline>())
            if (LayerOf(line) == "原始等高线")
                found.push_back(line);
        return found;
    }
    static double Z(const decDbPolyline* line) { return line->GetVertexAt(0).z; }
    bool Erased(const decObjectId& id) const { return Entity(id)->IsErased() != 0; }

    // Runs the command on the selection with the scan line from (0,0) to (10000,0).
    void Contour(const std::string& selection, const std::string& start, const std::string& interval,
                 const std::string& scanEnd = "10000,0")
    {
        Script("tocontour\n" + selection + "\n0,0\n" + scanEnd + "\n" + start + "\n" + interval + "\n");
    }
};

TEST_F(BatchCreateContourTest, ConcentricContoursRiseFromTheFirstPointAndReplaceTheSelectedLines)
{
    const decObjectId square = Ring(1000);
    const decObjectId circle = AddEntity(new decDbCircle3d(GePoint3d(0, 0, 0), GeVector3d::kZAxis, 2000));
    auto* bulged = new decDbPolyline(4, std::vector<GePoint3d>{{-3000, -3000, 0}, {3000, -3000, 0}, {3000, 3000, 0},
                                                             {-3000, 3000, 0}}.data(), 1);
    bulged->SetBulgeAt(1, 0.3);
    const decObjectId outer = AddEntity(bulged);
    const decObjectId missed = Polyline({{0, 5000, 0}, {6000, 5000, 0}}, false);

    Contour(Handle(outer) + " " + Handle(square) + " " + Handle(missed) + " " + Handle(circle), "50", "2");

    const std::vector<decDbPolyline*> contours = Contours();
    ASSERT_EQ(contours.size(), 3u) << Transcript();
    // Created in the order of the crossings: the square, the circle (as a closed polyline on
    // it), the bulged ring with its bulge, each level at its elevation.
    EXPECT_EQ(contours[0]->GetNumVerts(), 4);
    EXPECT_TRUE(contours[1]->IsClosed());
    EXPECT_NEAR(contours[1]->GetVertexAt(0).DistanceTo(GePoint3d(0, 0, 52000)), 2000, 1e-6);
    ASSERT_EQ(contours[2]->GetNumVerts(), 4);
    EXPECT_EQ(std::vector<double>({contours[2]->GetBulgeAt(0), contours[2]->GetBulgeAt(1)}),
              std::vector<double>({0.0, 0.3}));
    for (std::size_t c = 0; c < contours.size(); ++c)
        for (int i = 0; i < contours[c]->GetNumVerts(); ++i)
            EXPECT_DOUBLE_EQ(contours[c]->GetVertexAt(i).z, 50000 + 2000 * c);

    EXPECT_TRUE(Erased(square) && Erased(circle) && Erased(outer));
    EXPECT_FALSE(Erased(missed));
    EXPECT_DOUBLE_EQ(Entity(missed)->GetVertexAt(0).z, 0);
    EXPECT_EQ(Db()->GetTableLayer()->SearchLayer("原始等高线")->GetColor(), 0x646464u);
    EXPECT_EQ(Db()->GetTableLayer()->SearchLayer("设计等高线")->GetColor(), 0x7878B4u);
    EXPECT_EQ(Db()->GetOpenDepth(), 0);
}

TEST_F(BatchCreateContourTest, AContourCrossedTwiceIsPlacedByItsNearerCrossing)
{
    // The vertical line at 5000 lies between the ring's crossings at 2000 and 8000.
    const decObjectId line = Polyline({{5000, -3000, 0}, {5000, 3000, 0}}, false);
    const decObjectId ring = Polyline({{2000, -1000, 0}, {8000, -1000, 0}, {8000, 1000, 0}, {2000, 1000, 0}}, true);
    Contour(Handle(line) + " " + Handle(ring), "10", "1");
    const std::vector<decDbPolyline*> contours = Contours();
    ASSERT_EQ(contours.size(), 2u);
    EXPECT_EQ(contours[0]->GetNumVerts(), 4);
    EXPECT_DOUBLE_EQ(Z(contours[0]), 10000);
    EXPECT_EQ(contours[1]->GetNumVerts(), 2);
    EXPECT_DOUBLE_EQ(Z(contours[1]), 11000);
    EXPECT_TRUE(Erased(line) && Erased(ring));
}

TEST_F(BatchCreateContourTest, AnOpenContourHasNoClosingEdge)
{
    // One C shape opening towards the scan line's start: only its closing edge (at x 3000 for
    // the open one, 4000 for the closed one) lies on the segment from (0,0) to (5000,0).
    auto shape = [](double x) {
        return std::vector<GePoint3d>{{x, 1000, 0},  {x, 5000, 0},  {x + 4000, 5000, 0},
                                      {x + 4000, -5000, 0}, {x, -5000, 0}, {x, -1000, 0}};
    };
    const decObjectId open = Polyline(shape(3000), false);
    const decObjectId closed = Polyline(shape(4000), true);
    Contour(Handle(open) + " " + Handle(closed), "20", "5", "5000,0");
    const std::vector<decDbPolyline*> contours = Contours();
    ASSERT_EQ(contours.size(), 1u);
    EXPECT_TRUE(contours[0]->IsClosed());
    EXPECT_DOUBLE_EQ(contours[0]->GetVertexAt(0).x, 4000);
    EXPECT_DOUBLE_EQ(Z(contours[0]), 20000);
    EXPECT_FALSE(Erased(open));
    EXPECT_TRUE(Erased(closed));
}

TEST_F(BatchCreateContourTest, ValuesAboveTenThousandAreMillimetresAndTheRestMetres)
{
    struct Case {
        const char* start;
        const char* interval;
        double first, second;
    };
    const Case cases[] = {
        {"50", "2", 50000, 52000},          {"50000", "2", 50000, 52000},   {"10000", "0", 10000000, 10000000},
        {"10000.5", "20000", 10000.5, 30000.5}, {"10", "-2", 10000, 8000}, {"-3", "-0.5", -3000, -3500},
        {"", "", 0, 0},
    };
    for (const Case& c : cases) {
        Script("new\n");
        Ring(1000);
        Ring(2000);
        Contour("#1 #2", c.start, c.interval);
        const std::vector<decDbPolyline*> contours = Contours();
        ASSERT_EQ(contours.size(), 2u) << c.start << " " << c.interval;
        EXPECT_DOUBLE_EQ(Z(contours[0]), c.first) << c.start << " " << c.interval;
        EXPECT_DOUBLE_EQ(Z(contours[1]), c.second) << c.start << " " << c.interval;
    }
}

TEST_F(BatchCreateContourTest, WithNothingCrossedTheQuestionsAreAskedAndOnlyTheLayersAreMade)
{
    const decObjectId far = Polyline({{0, 5000, 0}, {6000, 5000, 0}}, false);
    Contour(Handle(far), "1", "1");
    EXPECT_THAT(Transcript(), HasSubstr("请输入等高距(米):"));
    EXPECT_NE(Db()->GetTableLayer()->SearchLayer("原始等高线"), nullptr);
    EXPECT_NE(Db()->GetTableLayer()->SearchLayer("设计等高线"), nullptr);
    EXPECT_FALSE(Erased(far));
    EXPECT_EQ(All<decDbPolyline>().size(), 1u);
}

TEST_F(BatchCreateContourTest, RefusalsEndTheCommandWithoutAChange)
{
    struct Case {
        const char* what;
        std::string lines;
        const char* message;  // null: no message expected
        bool elevationAsked;
    };
    const Case cases[] = {
        {"nothing selected", "\n", "没有选择要赋值的对象。", false},
        {"Esc at the selection", "*cancel*\n", "没有选择要赋值的对象。", false},
        {"only a text selected", "#2\n", "没有选择要赋值的对象。", false},
        {"Esc at the first point", "#1\n*cancel*\n", nullptr, false},
        {"Enter at the first point", "#1\n\n", nullptr, false},
        {"end at the first point", "#1\n*end*\n", nullptr, false},
        {"Esc at the second point", "#1\n0,0\n*cancel*\n", nullptr, false},
        {"Enter at the second point", "#1\n0,0\n\n", nullptr, false},
        {"Esc at the start elevation", "#1\n0,0\n10000,0\n*cancel*\n", "请输入起始高程!", true},
        {"end at the start elevation", "#1\n0,0\n10000,0\n*end*\n", "请输入起始高程!", true},
        {"Esc at the interval", "#1\n0,0\n10000,0\n5\n*cancel*\n", "请输入等高距!", true},
        {"end at the interval", "#1\n0,0\n10000,0\n5\n*end*\n", "请输入等高距!", true},
    };
    for (const Case& c : cases) {
        Script("new\n");
        Ring(1000);
        Script("text 0,0 100 标注\n");
        host::EventLog::Instance().Clear();
        Script("tocontour\n" + c.lines);
        const std::string out = Transcript();
        if (c.message) {
            EXPECT_THAT(out, HasSubstr(c.message)) << c.what;
        }
        EXPECT_EQ(out.find("请输入起始高程(米):") != std::string::npos, c.elevationAsked) << c.what;
        EXPECT_EQ(Db()->GetTableLayer()->SearchLayer("原始等高线"), nullptr) << c.what;
        EXPECT_EQ(Db()->GetTableLayer()->SearchLayer("设计等高线"), nullptr) << c.what;
        EXPECT_FALSE(Erased(decObjectId(1))) << c.what;
        EXPECT_EQ(All<decDbPolyline>().size(), 1u) << c.what;
        EXPECT_EQ(Db()->GetOpenDepth(), 0) << c.what;
    }
}

TEST_F(BatchCreateContourTest, ElevationsBeyondTheDoubleRangeLeaveEveryLineAsItWas)
{
    const struct {
        const char* start;
        const char* interval;
    } cases[] = {{"-1e306", "1"}, {"1e308", "1e308"}, {"-5", "-1e306"}, {"-1.7e308", "-1e308"}};
    for (const auto& c : cases) {
        Script("new\n");
        Ring(1000);
        Ring(2000);
        Contour("#1 #2", c.start, c.interval);
        EXPECT_THAT(Transcript(), HasSubstr("提示：等高线创建失败，原线保留。")) << c.start << " " << c.interval;
        EXPECT_TRUE(Contours().empty()) << c.start << " " << c.interval;
        EXPECT_FALSE(Erased(decObjectId(1)) || Erased(decObjectId(2))) << c.start << " " << c.interval;
    }
}

TEST_F(BatchCreateContourTest, ACurveIsLiftedByTheLevelLoopTheSegmentCrossed)
{
    // The upright loop stands across the segment at 1000; the level square crosses it at 3000,
    // behind the ring at 2000.
    auto* curve = new TwoLoopCurve();
    curve->upright = {{1000, -500, 0}, {1000, 500, 0}, {1000, 500, 800}, {1000, -500, 800}};
    curve->level = {{-3000, -3000, 0}, {3000, -3000, 0}, {3000, 3000, 0}, {-3000, 3000, 0}};
    const decObjectId twoLoops = AddEntity(curve);
    const decObjectId ring = Ring(2000);
    Contour(Handle(twoLoops) + " " + Handle(ring), "1", "1");
    const std::vector<decDbPolyline*> contours = Contours();
    ASSERT_EQ(contours.size(), 2u);
    EXPECT_DOUBLE_EQ(contours[0]->GetVertexAt(0).x, -2000);
    EXPECT_DOUBLE_EQ(Z(contours[0]), 1000);
    ASSERT_EQ(contours[1]->GetNumVerts(), 4);
    EXPECT_TRUE(contours[1]->IsClosed());
    for (int i = 0; i < 4; ++i) {
        GePoint3d expected = curve->level[static_cast<std::size_t>(i)];
        expected.z = 2000;
        EXPECT_TRUE(contours[1]->GetVertexAt(i) == expected) << i;
    }
    EXPECT_TRUE(Erased(twoLoops));
}

}  // namespace
