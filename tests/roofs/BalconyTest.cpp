// The balcony command end to end: a building, outlines drawn against it, the dialog answered
// by script lines; the slabs and parapets it leaves measured against the outlines (volumes,
// lengths of the free edges, places in plan), and the refusals of the command and the dialog.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "BalconyDlg.h"
#include "HostSolids.h"
#include "ModelGeHelper.h"
#include "RoofTestSupport.h"
#include "Tools.h"
#include "decDbCurve.h"
#include "WorkingDrawing.h"

using ::testing::HasSubstr;

namespace {

using namespace roof_test;

constexpr const char* kNoRegion = "阳台轮廓选择无效!退出命令!";

class BalconyTest : public FreshDialogTest<g_balconyDefaults> {
protected:
    std::vector<decDbEntity3d*> Made(const decObjectClassInfo* kind) const
    {
        std::vector<decDbEntity3d*> made;
        for (decDbEntity* e : Db()->AllObjects()) {
            auto* solid = decCast<decDbEntity3d>(e);
            if (solid && solid->GetBuilder() && solid->GetBuilder()->IsKindOf(kind))
                made.push_back(solid);
        }
        return made;
    }
    // Checks every slab and parapet: a slab holds its outline's area times the thickness and
    // stays out of the building; a parapet stands on the top of a slab, within its outline,
    // and the parapets of each level run along freeLength of free edges.
    void ExpectSound(const Ring& building, double thickness, double freeLength) const
    {
        std::map<double, double> runLength;  // by level
        std::vector<Ring> slabTops;
        for (const decDbEntity3d* slab : Made(decDbExtrude::Desc())) {
            const Ring base = slab->GetMesh()->FacePoints(0, slab->GetTM());
            EXPECT_NEAR(MeshVolume(*slab), std::fabs(SignedPlanArea(base)) * thickness, 1e-3);
            for (std::size_t i = 0; i < base.size(); ++i) {
                const GePoint3d& a = base[i];
                const GePoint3d& b = base[(i + 1) % base.size()];
                EXPECT_NE(CTools::PtRegionRelation({(a.x + b.x) / 2, (a.y + b.y) / 2, 0}, building, 0.01), 1);
            }
            slabTops.push_back(tools_test::Lifted(base, thickness));
        }
        for (const decDbEntity3d* parapet : Made(decDbLoft::Desc())) {
            const decMesh3* mesh = parapet->GetMesh();
            // Section corner 3 of each path point is the path point itself.
            const double level = mesh->GetVertexArray()[3].z;
            for (int i = 7; i < mesh->GetCountVertex(); i += 4)
                runLength[level] += mesh->GetVertexArray()[i].DistanceTo(mesh->GetVertexArray()[i - 4]);
            const auto holds = [&](const Ring& top) {
                const GePoint3d* v = mesh->GetVertexArray();
                return std::fabs(top[0].z - level) < 1e-6 &&
                       std::none_of(v, v + mesh->GetCountVertex(),
                                    [&](const GePoint3d& p) { return CTools::PtRegionRelation(p, top, 0.01) == 0; });
            };
            EXPECT_TRUE(std::any_of(slabTops.begin(), slabTops.end(), holds)) << "a parapet on no slab at " << level;
        }
        for (const auto& [level, length] : runLength)
            EXPECT_NEAR(length, freeLength, 1e-3) << "at " << level;
    }
};

// The 10 x 6 m building picked inside, the outline drawn last selected, then the dialog.
std::string Balcony(const std::string& dialog)
{
    return "balcony\n@5000,3000\nlast\n" + dialog;
}

// First the dialog's refusals: the storey height must be above 0 and the count within 1 to
// 200 (the focus goes there and nothing is made); sizes below 1, typed or picked, are refused
// with their message; a cancelled dialog remembers nothing. Then 3 storeys with a picked
// parapet thickness: a slab 200 thick and a parapet 1200 high on it per storey.
TEST_F(BalconyTest, AThreeSidedOutlineOnTheSouthWallGivesASlabAndAParapetPerStorey)
{
    AddBuilding("A", 9000, Rectangle(10000, 6000));
    Script("pline 2000,0 2000,-1500 8000,-1500 8000,0\n" +
           Balcony("set 1277 0\nok\nset 1277 -3000\nok\nset 1277 3500\nset 1154 0\nok\nset 1155 0\n"
                   "set 1156 -5\nclick 1263\n0,0\n0,0.5\nclick 1235\n0,0\n250.7,0\ncancel\n"));
    const std::string out = Transcript();
    EXPECT_EQ(host::EventLog::Instance().Calls("SetFocus dialog 1093 control 1277").size(), 2u);
    EXPECT_EQ(host::EventLog::Instance().Calls("SetFocus dialog 1093 control 1154").size(), 1u);
    EXPECT_THAT(out, HasSubstr("阳台底板厚度必须大于0!"));
    EXPECT_EQ(CountOf(out, "栏板高度必须大于0!"), 2);
    EXPECT_EQ(Db()->AllObjects().size(), 2u) << "nothing made";
    EXPECT_EQ(g_balconyDefaults.storeyHeight, 3000) << "a cancelled dialog remembers nothing";

    Script(Balcony("click 1235\n0,0\n300.7,0\nset 1154 3\nok\n") + "groups\n");
    const auto slabs = Made(decDbExtrude::Desc());
    const auto parapets = Made(decDbLoft::Desc());
    ASSERT_EQ(slabs.size(), 3u) << Transcript();
    ASSERT_EQ(parapets.size(), 3u);
    for (int storey = 0; storey < 3; ++storey) {
        ExpectExtents(slabs[storey]->GetBoundBox(), {2000, -1500, 3000.0 * storey}, {8000, 0, 3000.0 * storey + 200}, 1e-6);
        const decMesh3* mesh = parapets[storey]->GetMesh();
        EXPECT_EQ(mesh->GetCountVertex(), 4 * 4) << "three edges";
        EXPECT_NEAR(parapets[storey]->GetBoundBox().MaxPoint().z, 3000.0 * storey + 1400, 1e-6);
        EXPECT_NEAR(mesh->GetVertexArray()[0].DistanceTo(mesh->GetVertexArray()[3]), 300, 1e-3);
    }
    ExpectSound(Rectangle(10000, 6000), 200, 9000);
    EXPECT_EQ(LayerAndMaterial(slabs[0]), "阳台/阳台");
    EXPECT_EQ(LayerAndMaterial(parapets[2]), "阳台/阳台");
    EXPECT_THAT(Transcript(), HasSubstr("group 1 flags=0: #3 #4 #5 #6 #7 #8\n"));
    EXPECT_EQ(g_balconyDefaults.storeys, 3u);
    EXPECT_EQ(g_balconyDefaults.parapetThickness, 300);
    EXPECT_EQ(g_balconyDefaults.parapetHeight, 1200);
}

// A building with a courtyard open to the south (x 3000 to 7000, 4 m deep), the three-sided
// outline turned by 30° against the building, and a solid of one face, which has no vertices
// of its own, standing for the building.
TEST_F(BalconyTest, RegionsOutsideThatTouchTheBuilding)
{
    const Ring courtyard{{0, 0, 0},    {3000, 0, 0},  {3000, 4000, 0},  {7000, 4000, 0},
                         {7000, 0, 0}, {10000, 0, 0}, {10000, 8000, 0}, {0, 8000, 0}};
    const struct {
        const char* name;
        const Ring& building;
        std::string outline;
        std::size_t slabs, parapets;
        double freeLength;
        bool mesh = false;
        const char* selection = "last";
    } cases[] = {
        {"wholly inside", Rectangle(10000, 6000), "pline closed 1000,1000 3000,1000 3000,3000", 0, 0, 0},
        {"wholly away", Rectangle(10000, 6000), "pline 1000,-1000 3000,-1000 3000,-3000", 0, 0, 0},
        // Across the courtyard's mouth: the part outside touches both wings (two parapets);
        // the rest of the courtyard behind it is a region of its own (one).
        {"two stretches", courtyard, "pline closed 3000,-1000 7000,-1000 7000,1000 3000,1000", 2, 3,
         1000 + 4000 + 1000 + 4000 + 4000},
        {"oblique wall", Rectangle(10000, 6000),
         "pline 2000,0 2000,-1500 8000,-1500 8000,0\nrotate @5000,3000 @5000,-1500 0,0 30", 1, 1, 9000},
        {"a solid of one face", Rectangle(10000, 6000), "pline 2000,0 2000,-1500 8000,-1500 8000,0", 1, 1, 9000, true},
        // A line of two pieces from the wall into the region bounds nothing: the region is
        // built as if it were not there.
        {"a line from the wall into it", Rectangle(10000, 6000),
         "pline 2000,0 2000,-1500 8000,-1500 8000,0\npline 5000,0 5000,-500 5600,-900", 1, 1, 9000, false,
         "box:1500,-2000,8500,100"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        host::NewDrawing();
        const decObjectId building = c.mesh ? AddMesh({c.building}) : AddBuilding("A", 9000, c.building);
        Script(c.outline + "\nbalcony\n@4000,5000\n" + c.selection + "\n" + (c.slabs ? "ok\n" : ""));
        EXPECT_EQ(Made(decDbExtrude::Desc()).size(), c.slabs) << Transcript();
        EXPECT_EQ(Made(decDbLoft::Desc()).size(), c.parapets);
        // The building as it stands once the script has turned it.
        Ring ring = c.building;
        if (!c.mesh)
            GetExtrudeBuildBasePts(Entity(building), ring);
        if (c.slabs == 0)
            EXPECT_THAT(Transcript(), HasSubstr(kNoRegion));
        else
            ExpectSound(ring, 200, c.freeLength);
    }
}

// A balcony against one wall of a turned building: four buildings (a rectangle, an L, a U
// with the balcony in its courtyard, walls at odd angles), eight turns, at the origin and on
// a national grid, the building and the outline drawn both ways round. The outline leaves the
// wall and comes back with its ends on the wall as computed, typed to 0.001 mm, or typed short
// of it by less than the reach within which the splitter joins them onto the wall. Outside
// the building it gives one slab of its area and one parapet; inside, it is refused.
TEST_F(BalconyTest, AnOutlineAgainstATurnedWallGetsTheSameAnswerAtEveryTurnAndGap)
{
    const struct {
        const char* name;
        Ring ring;
        std::size_t wall;  // the balcony stands on the edge from this vertex
    } shapes[] = {
        {"rectangle", Rectangle(10000, 6000), 0},
        {"L", {{0, 0, 0}, {10000, 0, 0}, {10000, 4000, 0}, {4000, 4000, 0}, {4000, 9000, 0}, {0, 9000, 0}}, 2},
        {"U", {{0, 0, 0}, {12000, 0, 0}, {12000, 9000, 0}, {8000, 9000, 0}, {8000, 4000, 0}, {4000, 4000, 0},
               {4000, 9000, 0}, {0, 9000, 0}}, 4},
        {"oblique", {{0, 0, 0}, {9000, -1500, 0}, {12000, 5000, 0}, {3000, 8000, 0}, {-1500, 4000, 0}}, 0},
    };
    const double turns[] = {0, 30, 45, 89.99, 137.3, 180, 233.7, 311.1};
    // Short of the wall by this much, typed to 0.001 mm; -1: on the wall as computed.
    const double gaps[] = {-1, 0.0, 0.001, 0.099, 0.1, 0.899};
    std::vector<std::string> wrong;
    for (const auto& shape : shapes)
        for (std::size_t t = 0; t < std::size(turns); ++t)
            for (const double far : {0.0, 1.0})
                for (const double gap : gaps)
                    for (const double side : {1.0, -1.0}) {  // outside, inside
                        SetUp();
                        const Placing at{turns[t], 4.2e8 * far, 3.1e9 * far, t % 2 == 1};
                        // Along the wall from 30% to 70% of it, 1.5 m out square to it.
                        const GePoint3d &a = shape.ring[shape.wall], &b = shape.ring[(shape.wall + 1) % shape.ring.size()];
                        const GeVector3d along = (b - a) * 0.4, out = GeVector3d(b.y - a.y, a.x - b.x, 0).Normal() * side;
                        const GePoint3d from = a + (b - a) * 0.3, to = from + along;
                        const double off = std::max(gap, 0.0);
                        Ring outline;
                        for (const GePoint3d& p : {from + out * off, from + out * 1500, to + out * 1500, to + out * off}) {
                            const GePoint3d q = at(p);
                            outline.push_back(gap < 0 ? q : GePoint3d(std::round(q.x * 1e3) / 1e3, std::round(q.y * 1e3) / 1e3, 0));
                        }
                        const decObjectId id = AddBuilding("A", 9000, at(shape.ring));
                        const Ring drawn = t / 2 % 2 ? tools_test::Reversed(outline) : outline;
                        const decObjectId line = AddEntity(new decDbPolyline(4, drawn.data(), 0));
                        Run("balcony\n" + Handle(id) + "\n" + Handle(line) + "\n" + (side > 0 ? "ok\n" : ""));

                        const auto slabs = Made(decDbExtrude::Desc());
                        // The slab's area, measured about the site: far coordinates lose the
                        // shoelace sum its digits.
                        const double area = slabs.size() == 1 ? std::fabs(SignedPlanArea(tools_test::Moved(
                                                                     slabs[0]->GetMesh()->FacePoints(0, slabs[0]->GetTM()),
                                                                     -at.x, -at.y)))
                                                               : 0.0;
                        const bool sound = side > 0 ? Made(decDbLoft::Desc()).size() == 1 &&
                                                          std::fabs(area - along.Length() * 1500) < along.Length() * (off + 0.01)
                                                    : slabs.empty() && Transcript().ends_with(std::string(kNoRegion) + "\n");
                        if (!sound)
                            wrong.push_back(std::string(shape.name) + " turned " + std::to_string(turns[t]) + " at " +
                                            std::to_string(at.x) + (side > 0 ? " outside" : " inside") + " short by " +
                                            std::to_string(gap) + ": " + std::to_string(slabs.size()) + " slabs");
                    }
    EXPECT_THAT(wrong, ::testing::IsEmpty());
}

TEST_F(BalconyTest, RefusalsBeforeTheDialog)
{
    AddBuilding("A", 9000, Rectangle(10000, 6000));
    Script("pline 2000,0 2000,-1500 8000,-1500 8000,0\npline 0,-9000 0,-9000 0,-9000\n");
    const struct {
        std::string lines;
        const char* message;
    } cases[] = {
        {"*cancel*\n", "未选中目标!退出命令!"},
        {"@5000,3000\n*cancel*\n", "选择取消，退出命令"},
        {"@5000,3000\n\n", "未选中阳台底面外轮廓线!退出命令!"},
        {"@5000,3000\nlast\n", "未选中合法的阳台底面外轮廓线!退出命令!"},
        {"@0,-9000\n", "建筑底面轮廓顶点不能小于3个!"},
    };
    for (const auto& c : cases) {
        Script("balcony\n" + c.lines);
        EXPECT_THAT(Transcript(), HasSubstr(c.message));
    }
    EXPECT_EQ(Db()->AllObjects().size(), 3u) << "nothing made";
}

// More segments than the arrays hold (a long line), or more pieces once they are split (two
// combs crossing 100 x 100 times), refuse the outlines whole, nothing written past the
// arrays (which the sanitizers watch).
TEST_F(BalconyTest, SegmentsBeyondTheArraysAreRefused)
{
    Ring line, across, along;
    for (int i = 0; i < 10001; ++i)
        line.emplace_back(i, -1000.0 - i % 2, 0.0);
    for (int i = 0; i < 100; ++i) {
        const double near = i % 2 ? -2000 : -1010, far = i % 2 ? -1010 : -2000;
        across.insert(across.end(), {{100.0 * i, near, 0}, {100.0 * i, far, 0}});
        along.insert(along.end(), {{-50, -1020.0 - 9.0 * i, 0}, {9950, -1020.0 - 9.0 * i, 0}});
        if (i % 2)
            std::swap(along[along.size() - 1], along[along.size() - 2]);
    }
    AddBuilding("A", 9000, Rectangle(10000, 6000));
    for (const std::vector<Ring>& outlines : {std::vector<Ring>{line}, std::vector<Ring>{across, along}}) {
        std::string handles;
        for (const Ring& outline : outlines)
            handles += Handle(AddEntity(new decDbPolyline(static_cast<int>(outline.size()), outline.data(), 0))) + " ";
        Script("balcony\n@5000,3000\n" + handles + "\n");
        EXPECT_THAT(Transcript(), HasSubstr(kNoRegion));
        EXPECT_TRUE(Made(decDbExtrude::Desc()).empty());
    }
}

// Each face comes to start with a free edge after one on the building, its vertices turned
// with its flags.
TEST(AlignBalconyOutlineStart, TurnsFacesAndFlagsTogether)
{
    const std::vector<int> cases[][2] = {{{1, 1, 1, 0}, {1, 1, 1, 0}},
                                         {{0, 1, 1, 1}, {1, 1, 1, 0}},
                                         {{1, 0, 0, 1}, {1, 1, 0, 0}},
                                         {{0, 1, 0, 1, 1, 0}, {1, 0, 1, 1, 0, 0}}};
    for (const auto& [flags, aligned] : cases) {
        CBalconyDlg dlg;
        dlg.m_faces = {{}};
        for (std::size_t i = 0; i < flags.size(); ++i)
            dlg.m_faces[0].emplace_back(static_cast<double>(i), 0.0, 0.0);
        dlg.m_edgeFlags = {flags};
        AlignBalconyOutlineStart(dlg);
        EXPECT_EQ(dlg.m_edgeFlags[0], aligned);
        EXPECT_EQ(flags[static_cast<std::size_t>(dlg.m_faces[0][0].x)], aligned[0]);
    }
}

}  // namespace
