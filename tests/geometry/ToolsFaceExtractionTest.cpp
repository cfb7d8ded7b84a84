// CTools face extraction: loops of curves, host solids, a building and mesh entities read
// into point rings, the polygon collector, and faces picked as sub-objects.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "ExtrudeBuild.h"
#include "HostSolids.h"
#include "PolygonCollector.h"
#include "ScriptedUser.h"
#include "Tools.h"
#include "ToolsTestSupport.h"
#include "decDbCurve.h"

namespace {

using namespace tools_test;

// A 2-D entity with loops of its own choosing (curves have one loop only).
class LoopsEntity : public decDbEntity2d {
public:
    explicit LoopsEntity(std::vector<GePolygon> loops) : m_loops(std::move(loops)) {}
    std::vector<GePolygon> GetPolygons() const override { return m_loops; }

private:
    std::vector<GePolygon> m_loops;
};

// Entities of the fresh drawing, read back as entities.
class ToolsFaces : public ModuleTest {
protected:
    decDbEntity* Add(decDbEntity* entity) { return Entity(AddEntity(entity)); }
    decDbEntity* Solid(decBuilder* builder, const GeMatrix3d& tm) { return Entity(AddSolid(builder, tm)); }
    decDbEntity* Mesh(const Faces& faces) { return Entity(AddMesh(faces)); }
};

struct Read {
    int result = -1;
    int closed = -1;
    Ring ring;
};

using Reader = int (*)(decDbEntity*, int&, GePoint3dArray&);

template <Reader reader>
Read ReadWith(decDbEntity* e)
{
    Read r;
    r.result = reader(e, r.closed, r.ring);
    return r;
}
constexpr auto Bottom = ReadWith<&CTools::GetEntBottomPlg>;
constexpr auto Top = ReadWith<&CTools::GetEntTopPlg>;
constexpr auto Single = ReadWith<&CTools::GetEntSinglePlg>;
constexpr auto Single2d = ReadWith<&CTools::Get2dEntSinglePlg>;

// ---- the collector ---------------------------------------------------------------------

TEST(ToolsPolygonCollector, KindsEmptyPolygonsAndDeepCopies)
{
    auto original = std::make_unique<getPolygon>();
    original->OnMap(0, GePolygon({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}, false));
    original->OnMap(1, GePolygon({}, false));
    original->OnMap(2, GePolygon({{5, 5, 5}, {6, 5, 5}}, true));
    ASSERT_EQ(original->Loops().size(), 2u);
    EXPECT_EQ(original->Loops()[0]->kind, 10001);
    EXPECT_EQ(original->Loops()[1]->kind, 1001);

    getPolygon copy(*original);
    getPolygon assigned;
    assigned.OnMap(0, GePolygon({{9, 9, 9}}, false));
    assigned = *original;
    original.reset();  // the copies own loops of their own
    ASSERT_EQ(copy.Loops().size(), 2u);
    ASSERT_EQ(assigned.Loops().size(), 2u);
    ExpectPointsNear(copy.Loops()[1]->vertices, {{5, 5, 5}, {6, 5, 5}});
    ExpectPointsNear(assigned.Loops()[0]->vertices, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}});
    assigned = assigned;
    EXPECT_EQ(assigned.Loops().size(), 2u);
}

// ---- curves ----------------------------------------------------------------------------

// The plan area a bulged edge adds to (positive) or takes from a counter-clockwise ring: the
// circular segment between the chord and the arc.
double SegmentArea(double chord, double bulge)
{
    const double sweep = 4 * std::atan(std::fabs(bulge));
    const double radius = chord / (2 * std::sin(sweep / 2));
    return std::copysign(radius * radius / 2 * (sweep - std::sin(sweep)), bulge);
}

// A closed polyline with arc edges: its loop runs through its corners and samples each arc one
// point per ten degrees, so its area is the bulged outline's within the sampling error.
TEST_F(ToolsFaces, ClosedPolylineWithArcs)
{
    const Ring ring = {{0, 0, 2}, {40, 0, 2}, {40, 30, 2}, {0, 30, 2}};
    auto* polyline = new decDbPolyline(4, ring.data(), 1);
    polyline->SetBulgeAt(1, std::tan(std::numbers::pi / 8));  // 90 degrees outward
    polyline->SetBulgeAt(3, -0.5);                             // 106 degrees inward
    decDbEntity* e = Add(polyline);
    const double exact = 40.0 * 30.0 + SegmentArea(30, std::tan(std::numbers::pi / 8)) + SegmentArea(30, -0.5);

    EXPECT_EQ(CTools::GetEntPlgCount(e), 1);
    for (const Read& r : {Bottom(e), Single(e), Single2d(e), Top(e)}) {
        EXPECT_EQ(r.result, 1);
        EXPECT_EQ(r.closed, 1);
        // 1 + 8 samples of the first arc + 1 + 9 of the second; the corners start their edges.
        ASSERT_EQ(r.ring.size(), 19u);
        for (const auto& [at, corner] : {std::pair{0, 0}, {1, 1}, {9, 2}, {10, 3}})
            EXPECT_TRUE(r.ring[static_cast<std::size_t>(at)].IsEqual(ring[static_cast<std::size_t>(corner)], 1e-9)) << at;
        EXPECT_NEAR(SignedPlanArea(r.ring), exact, 5.0);
    }
    EXPECT_EQ(e->IsOpenForRead(), 0);
}

TEST_F(ToolsFaces, OpenPolylineGivesAnOpenLoop)
{
    const Ring run = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}};
    decDbEntity* e = Add(new decDbPolyline(3, run.data(), 0));
    for (const Read& r : {Bottom(e), Single(e), Single2d(e)}) {
        EXPECT_EQ(r.result, 1);
        EXPECT_EQ(r.closed, 0);
        ExpectPointsNear(r.ring, run, 0.0);
    }
}

TEST_F(ToolsFaces, CircleGivesItsSampledRing)
{
    decDbEntity* e = Add(new decDbCircle3d(GePoint3d(10, 20, 3), GeVector3d::kZAxis, 5));
    Ring expected;
    for (int i = 0; i < 36; ++i) {
        const double a = 2 * std::numbers::pi * i / 36;
        expected.emplace_back(10 + 5 * std::cos(a), 20 + 5 * std::sin(a), 3);
    }
    const Read single = Single2d(e);
    EXPECT_EQ(single.result, 1);
    EXPECT_EQ(single.closed, 1);
    ExpectPointsNear(single.ring, expected, 1e-12);
    // The ring lies exactly at one height, so it is also the highest level loop.
    const Read top = Top(e);
    EXPECT_EQ(top.result, 1);
    ExpectPointsNear(top.ring, expected, 1e-12);
}

// ---- host solids, the building -------------------------------------------------------

// A box of 30 x 20 x 10 moved to (100, 200, 5): bottom cap (reversed ring) first, top cap,
// then four walls whose first vertices lie at the bottom.
TEST_F(ToolsFaces, BoxSolidBottomTopAndSingle)
{
    GeMatrix3d moved;
    moved.SetToTranslation(GeVector3d(100, 200, 5));
    decDbEntity* e = Solid(new decDbBox(30, 20, 10), moved);
    const Ring base = {{100, 200, 5}, {130, 200, 5}, {130, 220, 5}, {100, 220, 5}};

    EXPECT_EQ(CTools::GetEntPlgCount(e), 6);
    const Read bottom = Bottom(e);
    EXPECT_EQ(bottom.result, 1);
    EXPECT_EQ(bottom.closed, 1);
    ExpectPointsNear(bottom.ring, Reversed(base));
    EXPECT_EQ(CTools::IsPtArraySame(bottom.ring, base, 0, 1e-9), 1);

    const Read top = Top(e);
    EXPECT_EQ(top.result, 6);
    EXPECT_EQ(top.closed, 1);
    ExpectPointsNear(top.ring, Lifted(base, 10));

    const Read single = Single(e);
    EXPECT_EQ(single.result, 1);
    ExpectPointsNear(single.ring, bottom.ring);

    // A 3-D entity is no 2-D entity: nothing is read and the output stays.
    Read flat;
    flat.ring = {{1, 1, 1}};
    flat.result = CTools::Get2dEntSinglePlg(e, flat.closed, flat.ring);
    EXPECT_EQ(flat.result, 0);
    EXPECT_EQ(flat.closed, -1);
    ExpectPointsNear(flat.ring, {{1, 1, 1}});
}

// Extruded solids and buildings, also turned off the axes: the bottom cap is the base ring
// reversed, the top cap the base lifted exactly level, and the top reading gives the count.
TEST_F(ToolsFaces, ExtrudedCaps)
{
    const Ring profile = {{0, 0, 0}, {20, 0, 0}, {20, 10, 0}, {10, 10, 0}, {10, 20, 0}, {0, 20, 0}};
    const Ring world = {{100, 50, 0}, {120, 50, 0}, {120, 60, 0}, {100, 60, 0}};
    const Ring turned = {{0, 0, 0}, {30, 40, 0}, {10, 55, 0}, {-20, 15, 0}};
    auto* extrusion = new decDbExtrude();
    extrusion->SetData(6, profile.data(), 1, GeVector3d(0, 0, 7.5));
    struct Case {
        decDbEntity* entity;
        Ring base;
        double height;
        int loops;
        double tol;
        const char* what;
    };
    const Case cases[] = {
        {Solid(extrusion, GeMatrix3d()), profile, 7.5, 8, 0.0, "extruded L"},
        {Entity(AddBuilding("A", 3000, world)), world, 3000, 6, 1e-9, "building"},
        {Entity(AddBuilding("B", 4500, turned)), turned, 4500, 6, 1e-6, "turned building"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(CTools::GetEntPlgCount(c.entity), c.loops);
        const Read bottom = Bottom(c.entity);
        EXPECT_EQ(bottom.result, 1);
        ExpectPointsNear(bottom.ring, Reversed(c.base), c.tol);
        const Read top = Top(c.entity);
        EXPECT_EQ(top.result, c.loops);
        ExpectPointsNear(top.ring, Lifted(c.base, c.height), c.tol);
        for (const GePoint3d& p : top.ring)
            EXPECT_EQ(p.z, c.height);
    }
}

// ---- mesh entities with faces in a chosen order ---------------------------------------

const Ring kFloor = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}};

// Loops are judged by their first vertex: the bottom is the first with the lowest, the top
// the first level one with the highest (a sloped face never, however high); one-vertex
// loops count but are never read. The single loop is the first of at least two vertices.
TEST_F(ToolsFaces, MeshLoopsInAChosenOrder)
{
    const Ring second = {{20, 0, 0}, {30, 0, 0}, {30, 10, 0}};
    const Ring roof = {{0, 0, 12}, {10, 0, 12}, {10, 5, 8}, {0, 5, 8}};
    const Ring flat = {{0, 5, 10}, {10, 5, 10}, {10, 10, 10}, {0, 10, 10}};
    const Ring ramp = {{0, 0, -1}, {10, 0, 4}, {10, 10, 4}, {0, 10, -1}};
    const Ring highStart = {{0, 0, 3}, {10, 0, 0}, {10, 10, 0}};
    const Ring wall = {{0, 0, 1}, {0, 0, 5}, {0, 10, 5}};
    struct Case {
        Faces faces;
        Ring bottom, top;
        int topResult;
        Ring single;
        const char* what;
    };
    const Case cases[] = {
        {{Lifted(kFloor, 10), kFloor, {{0, 0, 0}, {0, 0, 10}, {10, 0, 10}, {10, 0, 0}}}, kFloor, Lifted(kFloor, 10), 3,
         Lifted(kFloor, 10), "top before bottom"},
        {{Lifted(kFloor, 5), kFloor, second, Lifted(second, 5)}, kFloor, Lifted(kFloor, 5), 4, Lifted(kFloor, 5),
         "the first of equal loops wins"},
        {{{{5, 5, -3}}, Lifted(kFloor, 2)}, Lifted(kFloor, 2), Lifted(kFloor, 2), 2, Lifted(kFloor, 2),
         "a lower one-vertex loop is never read"},
        {{kFloor, roof, flat}, kFloor, flat, 3, kFloor, "the top is level, not the higher ridge"},
        {{roof}, roof, {}, 0, roof, "no level loop: no top"},
        {{kFloor, ramp}, ramp, kFloor, 2, kFloor, "a sloped face starting lower is the bottom"},
        {{highStart, wall}, wall, {}, 0, highStart, "a floor starting high loses to a lower start"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        decDbEntity* e = Mesh(c.faces);
        EXPECT_EQ(CTools::GetEntPlgCount(e), static_cast<int>(c.faces.size()));
        ExpectPointsNear(Bottom(e).ring, c.bottom, 0.0);
        const Read top = Top(e);
        EXPECT_EQ(top.result, c.topResult);
        EXPECT_EQ(top.closed, c.top.empty() ? -1 : 1);
        ExpectPointsNear(top.ring, c.top, 0.0);
        ExpectPointsNear(Single(e).ring, c.single, 0.0);
    }
}

// A filled output takes part as the current best.
TEST_F(ToolsFaces, FilledOutputTakesPart)
{
    decDbEntity* e = Mesh({kFloor, Lifted(kFloor, 10)});
    Read r;
    r.ring = {{0, 0, -100}};
    r.result = CTools::GetEntBottomPlg(e, r.closed, r.ring);
    EXPECT_EQ(r.result, 1);
    EXPECT_EQ(r.closed, -1);
    ExpectPointsNear(r.ring, {{0, 0, -100}});
    r.ring = {{0, 0, -100}};
    r.result = CTools::GetEntTopPlg(e, r.closed, r.ring);
    EXPECT_EQ(r.result, 2);
    ExpectPointsNear(r.ring, Lifted(kFloor, 10), 0.0);
}

// ---- 2-D entities with several loops, entities without loops ---------------------------

TEST_F(ToolsFaces, TwoDimensionalEntityWithSeveralLoops)
{
    decDbEntity* e = Add(new LoopsEntity({GePolygon({{0, 0, 0}, {1, 0, 0}}, true), GePolygon(kFloor, false)}));
    Read several;
    several.ring = {{7, 7, 7}};
    several.result = CTools::Get2dEntSinglePlg(e, several.closed, several.ring);
    EXPECT_EQ(several.result, 0);
    ExpectPointsNear(several.ring, {{7, 7, 7}});
    EXPECT_EQ(several.closed, -1);
    // The single loop is the first of at least two vertices: here the open one.
    const Read single = Single(e);
    EXPECT_EQ(single.result, 1);
    EXPECT_EQ(single.closed, 0);
    EXPECT_EQ(single.ring.size(), 2u);
    // A one-vertex loop is still a loop for the 2-D reading.
    const Read dot = Single2d(Add(new LoopsEntity({GePolygon({{3, 4, 5}}, false)})));
    EXPECT_EQ(dot.result, 1);
    ExpectPointsNear(dot.ring, {{3, 4, 5}});
}

// An entity without polygons has no iterator loops either: every reading gives 0 and
// leaves the outputs.
TEST_F(ToolsFaces, EntityWithoutLoops)
{
    decDbEntity* e = Add(new decDbPolyline());
    EXPECT_EQ(CTools::GetEntPlgCount(e), 0);
    for (const Read& r : {Bottom(e), Top(e), Single(e), Single2d(e)}) {
        EXPECT_EQ(r.result, 0);
        EXPECT_EQ(r.closed, -1);
        EXPECT_TRUE(r.ring.empty());
    }
    EXPECT_EQ(CTools::GetEntPlgCount(nullptr), 0);
    EXPECT_EQ(Bottom(nullptr).result, 0);
    EXPECT_EQ(Single2d(nullptr).result, 0);
}

// ---- picked faces ----------------------------------------------------------------------

TEST_F(ToolsFaces, PickedClosedFacesOfThreeOrMoreVertices)
{
    decDbEntity* box = Solid(new decDbBox(30, 20, 10), GeMatrix3d());
    const Ring outline = {{50, 0, 0}, {60, 0, 0}, {60, 5, 0}};
    decDbEntity* closed = Add(new decDbPolyline(3, outline.data(), 1));
    decDbEntity* open = Add(new decDbPolyline(3, outline.data(), 0));
    const Ring pair = {{0, 0, 0}, {5, 5, 0}};
    decDbEntity* twoPoints = Add(new decDbPolyline(2, pair.data(), 1));
    Answer(Handle(box) + ":1,2 " + Handle(open) + ":0 " + Handle(twoPoints) + ":0 " + Handle(closed) + ":0");

    CArray<GePoint3dArray, GePoint3dArray> faces;
    faces.Add(Ring{{-1, -1, -1}});
    EXPECT_EQ(CTools::selectFaceS_sub("选择面:", Db(), faces), 1);
    ASSERT_EQ(faces.GetSize(), 4);
    ExpectPointsNear(faces[0], {{-1, -1, -1}});
    ExpectPointsNear(faces[1], {{0, 0, 10}, {30, 0, 10}, {30, 20, 10}, {0, 20, 10}}, 0.0);  // top
    ExpectPointsNear(faces[2], {{0, 0, 0}, {30, 0, 0}, {30, 0, 10}, {0, 0, 10}}, 0.0);      // first wall
    ExpectPointsNear(faces[3], outline, 0.0);

    EXPECT_TRUE(host::EventLog::Instance().Shown("选择面:"));
    EXPECT_EQ(host::EventLog::Instance().Calls("decPickSubObjects mode=16 ->").size(), 1u);
    EXPECT_EQ(host::EventLog::Instance().Calls("ClearSubSelectSet").size(), 1u);
    BitArray left;
    EXPECT_EQ(box->GetSubObjectSelectSet(left), 0);
}

// The pick itself decides the result: an empty pick is still 1, a cancel 0.
TEST_F(ToolsFaces, EmptyAndCancelledPicks)
{
    Solid(new decDbBox(1, 1, 1), GeMatrix3d());
    CArray<GePoint3dArray, GePoint3dArray> faces;
    host::ScriptedUser::Instance().Feed(std::vector<std::string>{""}, "test");  // Enter
    EXPECT_EQ(CTools::selectFaceS_sub("面:", Db(), faces), 1);
    EXPECT_EQ(faces.GetSize(), 0);
    Answer("*cancel*");
    EXPECT_EQ(CTools::selectFaceS_sub("面:", Db(), faces), 0);
    EXPECT_EQ(CTools::selectFaceS_sub("面:", nullptr, faces), 0);
    EXPECT_EQ(faces.GetSize(), 0);
}

}  // namespace
