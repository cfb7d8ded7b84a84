// The pyramid roof command end to end: a square base picked, the dialog answered by
// script lines, and the grouped triangles or slabs it leaves, against the pyramid's own
// geometry (apex over the centre, eave points on the face planes below the grown corners).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "PyramidRoofDlg.h"
#include "RoofTestSupport.h"

using ::testing::HasSubstr;

namespace {

using namespace roof_test;

constexpr double kSide = 10000, kBase = 3000;

class PyramidRoofCommandTest : public FreshDialogTest<g_pyramidRoofDefaults> {
protected:
    void SetUp() override
    {
        FreshDialogTest::SetUp();
        Script("pline closed 0,0,3000 10000,0,3000 10000,10000,3000 0,10000,3000\n");
    }
    // Every roof piece (one entity each), in the order made.
    static std::vector<Ring> Pieces() { return MeshFaces(Solids()); }
};

// The pieces are the triangles from the apex to consecutive corners of the ring, going round
// it from whichever corner the outline pick starts at.
void ExpectTriangles(const std::vector<Ring>& pieces, const GePoint3d& apex, const Ring& ring, double tol)
{
    ASSERT_EQ(pieces.size(), ring.size());
    std::size_t start = 0;
    while (start < ring.size() && ring[start].DistanceTo(pieces[0][1]) > tol)
        ++start;
    ASSERT_LT(start, ring.size());
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const std::size_t k = (start + i) % ring.size();
        ExpectPointsNear(pieces[i], {apex, ring[k], ring[(k + 1) % ring.size()]}, tol);
    }
}

std::string Pyramid(const std::string& dialog = "")
{
    return "proof\n#1\n" + dialog + "ok\n";
}

// As it opens the dialog shows the outline's elevation as the wall top and the apex 5000 above
// it: OK alone gives four triangles from the corners to the apex over the centre, one group.
// With an overhang of 500 each grown corner lies 500 out along both edges, and its eave point
// straight below it on the face of the edge that starts there: on a square, whose faces rise
// 1 in 1, 500 below the base; on a rectangle 10 x 6 m the faces of the long edges rise 5 in 3,
// which the face of the edge before cannot pass for. A typed wall top moves nothing; it only
// sets the height the next run starts from.
TEST_F(PyramidRoofCommandTest, TrianglesFromTheCornersOrTheEavePointsToTheApexInOneGroup)
{
    const double longDrop = kBase - 500 * 5.0 / 3;  // below a corner that starts a long edge
    const struct {
        const char* rectangle;  // else the square
        std::string dialog;
        GePoint3d apex;
        Ring ring;
        int remembered;
    } cases[] = {
        {nullptr, "", {5000, 5000, 8000}, Square(0, 0, kSide, kBase), 5000},
        {nullptr, "set 1312 500\nset 1311 4000\n", {5000, 5000, 8000}, Square(-500, -500, kSide + 1000, kBase - 500),
         4000},
        {"pline closed 0,0,3000 10000,0,3000 10000,6000,3000 0,6000,3000\n", "set 1312 500\n", {5000, 3000, 8000},
         {{-500, -500, longDrop}, {10500, -500, 2500}, {10500, 6500, longDrop}, {-500, 6500, 2500}}, 5000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dialog + (c.rectangle ? "on the rectangle" : ""));
        SetUp();
        if (c.rectangle) {
            host::NewDrawing();
            Script(c.rectangle);
        }
        Script(Pyramid(c.dialog) + "groups\n");
        const std::vector<Ring> pieces = Pieces();
        ExpectTriangles(pieces, c.apex, c.ring, 1e-6);
        for (const Ring& triangle : pieces)
            EXPECT_GT(SignedPlanArea(triangle), 0.0);
        EXPECT_THAT(Transcript(), HasSubstr("group 1 flags=0: #2 #3 #4 #5\n"));
        EXPECT_EQ(g_pyramidRoofDefaults.apexHeight, c.remembered);
    }
}

// Thickness 0 or 1 gives faces, 2 or more slabs of five pieces; a remembered 200 reopens as 50.
TEST_F(PyramidRoofCommandTest, ThinRoofsAreFacesThickOnesSlabs)
{
    const struct {
        std::string dialog;
        std::size_t pieces;
        unsigned remembered;
    } cases[] = {{"set 1161 1\n", 4, 1}, {"set 1161 2\n", 20, 2}, {"set 1161 200\n", 20, 200}, {"", 20, 50}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dialog);
        const std::size_t before = Pieces().size();
        Script(Pyramid(c.dialog));
        EXPECT_EQ(Pieces().size() - before, c.pieces);
        EXPECT_EQ(g_pyramidRoofDefaults.thickness, c.remembered);
    }
    // The last slab, 50 thick: its top lies 50 above its bottom.
    const std::vector<Ring> pieces = Pieces();
    const Ring& bottom = pieces[pieces.size() - 5];
    const Ring& top = pieces[pieces.size() - 4];
    for (std::size_t v = 0; v < 3; ++v)
        EXPECT_NEAR(top[v].z - bottom[v].z, 50, 1e-9);
}

// An apex below the base with an overhang leaves the eave points nowhere: the message, the
// dialog stays open, nothing is built or remembered. Out-of-range values keep it open too,
// among them an apex whose height above the wall top no int holds.
TEST_F(PyramidRoofCommandTest, WhatCannotBeBuiltKeepsTheDialogOpenAndChangesNothing)
{
    const struct {
        const char* name;
        std::string lines;
        const char* message;
    } cases[] = {
        {"apex below the base", "set 1310 2000\nset 1312 500\nset 1161 120\nok\n",
         "[攒尖屋顶] 无法计算出檐点，请检查锥顶标高和出檐长！"},
        {"overhang 20000", "set 1312 20000\nok\n", "请输入一个介于 0 和 10000 之间的整数。"},
        // The apex is remembered relative to the wall top in an int.
        {"apex beyond an int above the wall top", "set 1311 -1000\nset 1310 2147483647\nok\n",
         "请输入一个介于 -2147483648 和 2147482647 之间的整数。"},
        {"apex beyond an int below the wall top", "set 1311 1000\nset 1310 -2147483648\nok\n",
         "请输入一个介于 -2147482648 和 2147483647 之间的整数。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Script("proof\n@5000,5000\n" + c.lines + "cancel\n");
        EXPECT_THAT(Transcript(), HasSubstr(std::string(c.message) + "\n> cancel\n"));
        EXPECT_TRUE(Pieces().empty());
        EXPECT_EQ(g_pyramidRoofDefaults.apexHeight, 5000);
        EXPECT_EQ(g_pyramidRoofDefaults.thickness, 0u);
        EXPECT_TRUE(Db()->Groups().empty());
    }
}

// Concave outlines: where the vertex mean sees every edge (a shallow notch) the triangles
// cover the outline, or its mitred growth, once; where a notch hides an edge from it (an L)
// that edge's triangle would turn back over the others, and the outline is refused
// with the command's message, with or without an overhang, drawn either way round and at site
// coordinates. Plans from Clipper.
TEST_F(PyramidRoofCommandTest, AConcaveOutlineIsRoofedOnlyWhereTheApexSeesEveryEdge)
{
    const struct {
        const char* name;
        Ring outline;
        bool roofed;
    } cases[] = {
        {"a rectangle with a V notch 1 m deep",
         {{0, 0, 0}, {20000, 0, 0}, {20000, 10000, 0}, {11000, 10000, 0}, {10000, 9000, 0}, {9000, 10000, 0},
          {0, 10000, 0}},
         true},
        {"an L whose mean lies beyond its inner corner",
         {{0, 0, 0}, {20000, 0, 0}, {20000, 8000, 0}, {8000, 8000, 0}, {8000, 20000, 0}, {0, 20000, 0}},
         false},
    };
    const char* kRefused = "[攒尖屋顶] 无法计算出檐点，请检查锥顶标高和出檐长！\n> cancel\n";
    for (const auto& c : cases)
        for (const int overhang : {0, 500})
            for (const bool reversed : {false, true})
                for (const double far : {0.0, 3e6}) {
                    SCOPED_TRACE(testing::Message() << c.name << ", overhang " << overhang
                                                    << (reversed ? ", reversed" : "") << " at " << far);
                    host::NewDrawing();
                    host::EventLog::Instance().Clear();
                    const Ring outline = tools_test::Moved(reversed ? tools_test::Reversed(c.outline) : c.outline,
                                                           far, far);
                    Script("pline closed " + ScriptPoints(outline) + "\nproof\n#1\nset 1312 " +
                           std::to_string(overhang) + "\nok\n" + (c.roofed ? "" : "cancel\n"));
                    const std::vector<Ring> pieces = Pieces();
                    if (!c.roofed) {
                        EXPECT_THAT(Transcript(), HasSubstr(kRefused));
                        EXPECT_TRUE(pieces.empty());
                        continue;
                    }
                    ASSERT_EQ(pieces.size(), outline.size());
                    ExpectPlanCoveredOnce(pieces, overhang ? MitredGrownArea(c.outline, overhang)
                                                           : std::fabs(SignedPlanArea(c.outline)));
                }
}

}  // namespace
