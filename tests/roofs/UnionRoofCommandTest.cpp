// The roof-face union command end to end: roofs selected by script, and the mesh left in their
// place against the union engine run on the same loops and Clipper's union of the footprints.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <map>
#include <span>
#include <string>

#include "DrawingTestSupport.h"
#include "HostSolids.h"
#include "ModelHelperLayersMaterials.h"
#include "RoofFaceUnionTestSupport.h"
#include "RoofTestSupport.h"
#include "WorkingDrawing.h"

namespace {

using namespace roof_test;

// Two hip roofs crossing at right angles on one eave elevation: a plus-shaped plan.
const Ring kLong = {{0, 6000, 3000}, {20000, 6000, 3000}, {20000, 14000, 3000}, {0, 14000, 3000}};
const Ring kCross = {{6000, 0, 3000}, {14000, 0, 3000}, {14000, 20000, 3000}, {6000, 20000, 3000}};

std::string MultiSlope(const Ring& outline, int slope = 30, int slab = 0)
{
    return "multislope " + std::to_string(slab) + " " + std::to_string(slope) + " " + ScriptPoints(outline) + "\n";
}

class UnionRoofCommandTest : public DrawingTest {
protected:
    std::vector<decDbEntity*> Live() const
    {
        std::vector<decDbEntity*> live;
        std::ranges::copy_if(Db()->AllObjects(), std::back_inserter(live), [](auto* e) { return !e->IsErased(); });
        return live;
    }
    std::vector<Ring> NewestFaces() const { return MeshFaces(Live().back()); }
    // What the command said after the host reported the selection.
    std::string SaidAfterSelection() const
    {
        const std::string t = Transcript();
        const std::size_t selected = t.rfind("\nselected ");
        return selected == std::string::npos ? t : t.substr(t.find('\n', selected + 1) + 1);
    }
    // Puts the object on the layer with the material of those names (made when missing), as
    // the command that made it would; no material name leaves it without one.
    void Mark(const decObjectId& id, const char* layer, const char* material)
    {
        DbAutoOpen open;
        decDbEntity* entity = Entity(id);
        entity->SetLayerId(FindOrCreateLayer(open.db, layer, 0xFFFFFF));
        CString name(material ? material : "");
        entity->SetMaterialId(material ? CreateSolidColorMaterial(open.db, name, 0xFFFFFF, 0.0) : 0);
    }
};

// The engine run on the entities' loops relative to their lower corner, as the command runs
// it: its outer loops of more than 2 points reversed, the number of holes, and the area in
// space the loops cover (outer loops less their holes).
struct EngineRun {
    std::vector<Ring> faces;
    int holes = 0;
    double area = 0.0;
};

EngineRun EngineFaces(const std::vector<decDbEntity*>& entities)
{
    std::vector<uniontest::Face> loops;
    for (decDbEntity* e : entities)
        for (const GePolygon& polygon : e->GetPolygons()) {
            loops.emplace_back();
            for (const GePoint3d& p : std::span(polygon.GetVertexArray(), polygon.GetCountVertex()))
                loops.back().push_back({p.x, p.y, p.z});
        }
    const uniontest::UnionRun run = uniontest::RunUnionAtLowerCorner(loops);
    EngineRun result;
    for (const uniontest::UnionLoop& loop : run.loops) {
        result.holes += loop.hole ? 1 : 0;
        result.area += (loop.hole ? -1 : 1) * uniontest::SpaceArea(loop.points);
        if (!loop.hole && loop.points.size() > 2) {
            result.faces.emplace_back();
            for (auto p = loop.points.rbegin(); p != loop.points.rend(); ++p)
                result.faces.back().emplace_back(p->x, p->y, p->z);
        }
    }
    return result;
}

// Two hip roofs on 120 mm slabs, crossing, turned, and on a site off the coordinates single
// precision holds: the mesh left is the engine's faces, covering the plan union once, on the
// layer 乙 of the roof made first and picked last; the slab bands keep their area, none taken for
// covered by its own roof.
TEST_F(UnionRoofCommandTest, CrossingHipRoofsBecomeOneMeshOfTheEnginesFacesOnTheLastLayer)
{
    for (const Placing& at : {Placing{}, {0.5}, {1}, {5}, {37.3}, {45}, {135}, {0, 500000.3, 3000000.7}}) {
        SCOPED_TRACE(testing::Message() << at.degrees << "° at " << at.y);
        host::NewDrawing();
        Script(MultiSlope(at(kLong), 30, 120) + MultiSlope(at(kCross), 30, 120) + "layer 乙\n");
        const std::vector<decDbEntity*> roofs = Live();
        roofs[0]->SetLayerId(Db()->GetTableLayer()->GetCurrentLayerID());
        const std::vector<Ring> expected = EngineFaces({roofs[1], roofs[0]}).faces;
        Script("unionroof\n#2 #1\n");
        ASSERT_EQ(Live().size(), 1u);
        EXPECT_EQ(LayerAndMaterial(Live()[0]), "乙/屋面板");
        const std::vector<Ring> faces = NewestFaces();
        ASSERT_EQ(faces.size(), expected.size());
        double bands = 0.0;
        for (std::size_t i = 0; i < faces.size(); ++i) {
            ExpectPointsNear(faces[i], expected[i], 1e-6);
            bands += IsVertical(faces[i]) ? SpaceArea(faces[i]) : 0.0;
        }
        if (at.degrees == 0)  // turned, the bands' plans round to the millimetre as slivers
            ExpectPlanCoveredOnce(faces, PlanUnionArea({kLong, kCross}));
        // Each roof's band round 20 m by 8 m less its two 8 m under the other roof (and 0.1 mm
        // where it passes under the other's eave, 8 times).
        EXPECT_NEAR(bands, 2 * 120.0 * (2 * (20000 + 8000) - 2 * 8000), 8 * 0.1 * 120 + 10);
    }
}

// Only closed loops of 3-D entities are roof faces: curves, texts and points stay, counted with
// their reason, and fewer than two roofs unite nothing, which is said but for one roof picked
// alone. The united roof goes on the layer of the last roof selected.
TEST_F(UnionRoofCommandTest, OnlyFacesOfSolidsUniteAndEverythingElseStays)
{
    const std::string curves = "pline 0,0 5000,0 5000,5000\n"       // an open polyline
                               "pline -3000,0 -3000,8000\n"         // a line
                               "arc 30000,0 32000,2000 34000,0\n"    // an arc
                               "circle 50000,0 1500\n"
                               "pline closed -9000,-9000 -1000,-9000 -1000,-1000 -9000,-1000\n"  // an outline
                               "text 0,-5000 500 屋面\n"
                               "point 1000,-7000\n";
    const std::string sevenLeft = "提示：7个对象不是屋面，未参与合成。\n";
    const std::string tooFew = "提示：可合成的屋面少于两个，未合成。\n";
    const struct {
        const char* name;
        std::string setup, selection;
        bool united;
        std::string said;
    } cases[] = {
        {"two roofs among curves", MultiSlope(kLong) + curves + MultiSlope(kCross), "#1 #2 #3 #4 #5 #6 #7 #8 #9", true,
         sevenLeft},
        {"only curves and texts", curves, "all", false, sevenLeft + tooFew},
        {"one roof among curves", MultiSlope(kLong) + curves, "all", false, sevenLeft + tooFew},
        {"one curve", curves, "#1", false, "提示：1个对象不是屋面，未参与合成。\n" + tooFew},
        {"one roof", MultiSlope(kLong), "#1", false, ""},
        {"no selection", MultiSlope(kLong) + MultiSlope(kCross), "", false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        host::NewDrawing();
        Script(c.setup);
        const std::vector<decDbEntity*> before = Live();
        Script("unionroof\n" + c.selection + "\n");
        EXPECT_EQ(SaidAfterSelection(), c.said);
        const std::size_t kept = std::ranges::count_if(before, [](decDbEntity* e) { return !e->IsErased(); });
        EXPECT_EQ(kept, before.size() - (c.united ? 2 : 0));
        const std::vector<decDbEntity*> after = Live();
        ASSERT_EQ(after.size(), kept + (c.united ? 1 : 0));
        if (c.united) {
            EXPECT_EQ(LayerAndMaterial(after.back()), "坡屋顶/屋面板");
            ExpectPlanCoveredOnce(MeshFaces(after.back()), PlanUnionArea({kLong, kCross}));
        }
    }
}

// The exchange arrays hold 999 loops and 9999 vertices: a selection that fits unites, one
// loop or one vertex more is refused before the engine runs and changes nothing.
TEST_F(UnionRoofCommandTest, ExchangeCapacitiesAreTakenToTheLastLoopAndVertex)
{
    // The hip roof gives 4 loops of 14 vertices; far from it, faces of as many corners in a row
    // make up the rest.
    const auto row = [](int faces, int corners, double radius) {
        std::vector<Ring> row;
        for (int i = 0; i < faces; ++i)
            row.push_back(RegularPolygon(corners, radius, 100000.0 + 2.5 * radius * i));
        return row;
    };
    const struct {
        const char* name;
        std::vector<Ring> extra;
        bool refused;
    } cases[] = {
        {"999 loops", row(995, 3, 4), false},
        {"1000 loops", row(996, 3, 4), true},
        {"9999 vertices", row(5, 1997, 3000), false},  // 14 + 9985
        {"10000 vertices", row(2, 4993, 3000), true},  // 14 + 9986
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        host::NewDrawing();
        Script(MultiSlope(kLong));
        Mark(AddMesh(c.extra), "坡屋顶", "屋面板");
        Script("unionroof\n#1 #2\n");
        EXPECT_EQ(SaidAfterSelection(), c.refused ? "提示：屋面面数或顶点数太多，无法合成。\n" : "");
        EXPECT_EQ(Live().size(), c.refused ? 2u : 1u);
    }
}

// A host object takes part when it carries what a roof command sets on the objects it makes:
// a mesh with the roof material on any layer (an earlier union stays on the layer of the roof
// selected last), a mesh on the gable's wall layer with the building material, an extrusion on
// 坡屋顶 with the roof material (an arched roof). One mark short of that, a roof of no faces (two
// points) and a roof windows belong to (winbld) are neither read nor erased, with their reason.
TEST_F(UnionRoofCommandTest, HostObjectsTakePartByTheMarksTheRoofCommandsSet)
{
    enum Kind { kMesh, kExtrusion, kBox, kEdgeMesh, kOwningMesh };
    const Ring under = tools_test::Moved(Rectangle(4000, 4000, 3000), 8000, 8000);
    const struct {
        Kind kind;
        const char* layer;
        const char* material;
        bool taken;
    } cases[] = {
        {kMesh, "坡屋顶", "屋面板", true},      {kMesh, "平屋顶", "屋面板", true},
        {kMesh, "屋顶封闭", "建筑", true},      {kExtrusion, "坡屋顶", "屋面板", true},
        {kMesh, "坡屋顶", nullptr, false},      {kMesh, "坡屋顶", "阳台", false},
        {kMesh, "建筑", "建筑", false},         {kMesh, "屋顶封闭", nullptr, false},
        {kExtrusion, "坡屋顶", nullptr, false}, {kExtrusion, "周边建筑", "屋面板", false},
        {kExtrusion, "阳台", "阳台", false},    {kBox, "坡屋顶", "屋面板", false},
        {kEdgeMesh, "坡屋顶", "屋面板", false},     {kOwningMesh, "坡屋顶", "屋面板", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.layer) + "/" + (c.material ? c.material : "") + " kind " + std::to_string(c.kind));
        host::NewDrawing();
        Script(MultiSlope(kLong));
        decObjectId id;
        if (c.kind == kMesh || c.kind == kOwningMesh) {
            id = AddMesh({under});
            if (c.kind == kOwningMesh)
                AddXData(id, "WIN_BELONG_BLD", {"#1", "甲-1-1"});
        } else if (c.kind == kEdgeMesh) {
            id = AddMesh({{under[0], under[2]}});
        } else if (c.kind == kBox) {
            id = AddSolid(new decDbBox(4000, 4000, 3000), GeMatrix3d().SetToTranslation(GeVector3d(8000, 8000, 0)));
        } else {
            auto* extrusion = new decDbExtrude();
            extrusion->SetData(static_cast<int>(under.size()), under.data(), 1, GeVector3d(0, 0, 3000));
            id = AddSolid(extrusion);
        }
        Mark(id, c.layer, c.material);
        Script("unionroof\nall\n");
        EXPECT_EQ(Entity(id)->IsErased() != 0, c.taken);
        EXPECT_EQ(Live().size(), c.taken ? 1u : 2u);
        const std::string why = c.kind == kEdgeMesh     ? "个屋面没有可合成的面"
                                : c.kind == kOwningMesh ? "个屋面带有附属窗口信息"
                                                        : "个对象不是屋面";
        EXPECT_EQ(SaidAfterSelection(), c.taken ? "" : "提示：1" + why + "，未参与合成。\n提示：可合成的屋面少于两个，未合成。\n");
    }
}

// Roofs named with their building or put in an analysis group are roofs still (the united roof
// keeps what its pieces share, which the site's test pins); pieces of two buildings or groups,
// or named and unnamed, are not united: the command names what it met and erases nothing.
TEST_F(UnionRoofCommandTest, PiecesOfTwoBuildingsOrGroupsAreNotUnited)
{
    const struct {
        std::string naming, refusal;
    } cases[] = {
        {"namebld\n甲栋\n#2\n\n乙栋\n#3\n\n*cancel*\n", "提示：所选屋面属于不同的建筑，未合成：<甲栋> <乙栋>\n"},
        {"namebld\n乙栋\n#3\n\n*cancel*\n", "提示：所选屋面属于不同的建筑，未合成：未命名 <乙栋>\n"},
        {"namebld\n甲栋\nbox:-10,-10,20010,20010\n\n*cancel*\nbldgroup\n一期\n#2\n二期\n#3\n*cancel*\n",
         "提示：所选屋面属于不同的建筑分组，未合成：<一期> <二期>\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.naming);
        host::NewDrawing();
        AddBuilding("", 3000, Square(0, 0, 20000));
        Script(MultiSlope(kLong) + MultiSlope(kCross) + c.naming);
        Script("unionroof\nall\n");
        EXPECT_EQ(SaidAfterSelection(), "提示：1个对象不是屋面，未参与合成。\n" + c.refusal);
        EXPECT_EQ(Live().size(), 3u);
    }
}

// A site of every kind of object, each made as a user makes it, its roofs named with one building
// and put in one group, saved and opened: `all` unites the roofs and dormers (as the engine does,
// on the layer of the last), erases them and nothing else, which it counts, and the united roof
// keeps their name and group. Opened again, the groups of the gable, the pyramid and the naming
// are gone with their pieces; the others (a balcony's, named buildings') stay.
TEST_F(UnionRoofCommandTest, AllOverASiteUnitesTheRoofsAndDormersOnly)
{
    const struct {
        const char* what;
        std::string lines;
        bool roof;
    } parts[] = {
        {"buildings with windows, elevation labels, a name label and an analysis group",
         "layer 轮廓\npline closed 0,0 20000,0 20000,12000 0,12000\n"
         "pline closed 30000,0 42000,0 42000,12000 30000,12000\n"
         "build\nlayer:轮廓\n9\n0\n\nqwin\n@2000,0\n\nset 1223 2\nset 1158 3\nset 1161 2000\nok\n*cancel*\n"
         "namebld\n甲楼\n@8000,5000\n8000,-6000\n*cancel*\nbldgroup\n一期\nlayer:建筑\n*cancel*\n",
         false},
        {"a balcony of three storeys, one group",
         "pline 2000,0 2000,-1500 8000,-1500 8000,0\nbalcony\n@5000,3000\nlast\nset 1154 3\nok\n", false},
        {"a contour", "layer 等高线草图\npline closed 90000,0 110000,0 110000,20000 90000,20000\n"
                      "tocontour\nlast\n100000,10000\n120000,10000\n6\n-1.5\n", false},
        {"a user's solids, one named as a building, one on the roof layer, a text and a point",
         "layer 周边建筑\nextrude 12000 0,30000 10000,30000 10000,40000 0,40000\n"
         "extrude 6000 20000,30000 30000,30000 30000,40000 20000,40000\nnamebld\n丙楼\n@25000,35000\n\n*cancel*\n"
         "text 0,-8000 500 小区\npoint 1000,-9000\n"
         "layer 坡屋顶\nextrude 3000 40000,30000 50000,30000 50000,40000 40000,40000\n"
         "layer 屋顶轮廓\npline closed 0,60000 12000,60000 12000,70000 0,70000\n"
         "pline closed 20000,60000 30000,60000 30000,70000 20000,70000\n"
         "pline closed 40000,60000 50000,60000 50000,70000 40000,70000\n",
         false},
        {"a gable roof with its walls, one group",
         "gable\n@5000,3000\n0,6000\n20000,6000\nset 1157 500\nset 1158 300\nok\n", true},
        {"a dormer", "dormer\n@5000,3000\nset 1160 9300\nok\n5000\n*cancel*\ncancel\n", true},
        {"a multi-slope roof", "roof\n@36000,6000\nradio 1210\nok\n", true},
        {"a multi-slope roof of the exported builder", MultiSlope(tools_test::Moved(kLong, 0, 110000)), true},
        {"a prismoid roof", "prismoid\n@6000,65000\nset 1156 3000\nset 1161 200\nok\n", true},
        {"a pyramid roof of slabs, one group", "proof\n@25000,65000\nset 1161 100\nok\n", true},
        {"a flat roof", "roof\n@45000,65000\nradio 1159\nset 1207 150\nok\n", true},
        {"an arched roof", "arcroof\n60000,60000,3000\n60000,70000\n72000,70000\n3000\n150\n", true},
        {"a roof entity",
         "orvroof 0 0 slope=30 80000,60000,3000 92000,60000,3000 92000,70000,3000 80000,70000,3000\n", true},
        {"an earlier union",
         MultiSlope(tools_test::Moved(kLong, 0, 80000)) + MultiSlope(tools_test::Moved(kCross, 0, 80000)) +
             "unionroof\n@1000,87000 @7000,81000\n",
         true},
    };
    std::map<std::uint64_t, bool> roofOf;  // every object the parts left, by handle: a roof or not
    for (const auto& part : parts) {
        SCOPED_TRACE(part.what);
        const std::size_t before = roofOf.size();
        Script(part.lines);
        for (decDbEntity* e : Live())
            roofOf.try_emplace(e->GetObjectId().Handle(), part.roof);
        EXPECT_GT(roofOf.size(), before) << Transcript();
    }
    std::string handles;
    for (const auto& [handle, roof] : roofOf)
        handles += roof ? "#" + std::to_string(handle) + " " : "";
    Script("namebld\n丁楼\n" + handles + "\n\n*cancel*\nbldgroup\n二期\n" + handles + "\n*cancel*\n");
    ASSERT_TRUE(SaveAndOpen());
    std::vector<decDbEntity*> roofs;
    std::ranges::copy_if(Live(), std::back_inserter(roofs),
                         [&](auto* e) { return roofOf.at(e->GetObjectId().Handle()); });
    const EngineRun expected = EngineFaces(roofs);
    const std::string lastLayer = LayerOf(roofs.back());
    const std::vector<DrawingGroup> groups = Db()->Groups();

    Script("unionroof\nall\n");
    for (const auto& [handle, roof] : roofOf)
        EXPECT_EQ(Entity(decObjectId(handle))->IsErased() != 0, roof) << "#" << handle;
    ASSERT_EQ(Live().size(), roofOf.size() - roofs.size() + 1);
    EXPECT_EQ(SaidAfterSelection(), "提示：" + std::to_string(roofOf.size() - roofs.size()) + "个对象不是屋面，未参与合成。\n");
    EXPECT_EQ(LayerAndMaterial(Live().back()), lastLayer + "/屋面板");
    // The dormer cuts a hole in the gable's face: the mesh holds its hole-free pieces.
    ASSERT_GE(expected.holes, 1);
    double area = 0.0;
    for (const Ring& face : NewestFaces())
        area += SpaceArea(face);
    EXPECT_NEAR(area, expected.area, 1e-6 * area);

    ASSERT_TRUE(SaveAndOpen());
    const decObjectId united = Live().back()->GetObjectId();
    EXPECT_EQ(XData(united, "XBUILD_NAME"), std::vector<std::vector<std::string>>{{"丁楼"}});
    EXPECT_EQ(XData(united, "build_group"), std::vector<std::vector<std::string>>{{"二期"}});
    std::vector<std::vector<decObjectId>> kept, left;
    for (const DrawingGroup& g : groups)
        if (std::ranges::none_of(g.members, [&](const decObjectId& id) { return roofOf.at(id.Handle()); }))
            kept.push_back(g.members);
    for (const DrawingGroup& g : Db()->Groups())
        left.push_back(g.members);
    EXPECT_EQ(kept.size(), groups.size() - 3) << "the gable's, the pyramid's and the naming's groups";
    EXPECT_EQ(left, kept);
}

}  // namespace
