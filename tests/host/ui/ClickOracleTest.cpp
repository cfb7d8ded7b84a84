// Clicks, window selections and marks on drawings that keep changing, against the plain way:
// every live entity asked in turn, its extents found afresh each time (the polygons' vertices,
// or what it draws).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>

#include "DbDatabase.h"
#include "GeUtility.h"
#include "HostSolids.h"
#include "Selection.h"
#include "UiTestSupport.h"
#include "View.h"
#include "decDbCurve.h"
#include "decDbTextAndPoint.h"

namespace {

// Takes entities whose handle is not a multiple of three.
class FT_SKIP : public decSSGet_filter {
public:
    int Accept(decDbEntity* entity, int& accept) override
    {
        accept = entity->GetObjectId().Handle() % 3 != 0;
        return 0;
    }
};

std::vector<decDbEntity*> Live()
{
    std::vector<decDbEntity*> live;
    for (decDbEntity* entity : dec::GetWorkingDatabase()->AllObjects())
        if (!entity->IsErased()) live.push_back(entity);
    return live;
}

GeBoundBox3d FreshExtents(const decDbEntity* entity)
{
    GeBoundBox3d box;
    for (const GePolygon& polygon : entity->GetPolygons())
        for (int i = 0; i < polygon.GetCountVertex(); ++i) box.Extend(polygon.GetVertexArray()[i]);
    decViewFilter drawn;
    if (box.IsEmpty()) entity->Draw(drawn);
    for (const DrawnPrimitive& item : drawn.Primitives())
        for (const GePoint3d& p : item.points) box.Extend(p);
    return box;
}

// What clicks take, asking every live entity from the latest back: the first one taken whose
// extents, seen in the view, come within the aperture of ten window units, and, seen from
// above, the highest face over the point of an entity taken (the latest entity's on a tie).
struct Taken {
    decDbEntity* entity = nullptr;
    std::pair<decDbEntity*, int> face{nullptr, 0};
};

Taken ByScan(const GePoint3d& point, decSSGet_filter* filter)
{
    const decView* view = dec::GetActiveView();
    int px = 0, py = 0;
    view->WorldToWindow(point, px, py);
    Taken taken;
    double highest = 0.0;
    const std::vector<decDbEntity*> live = Live();
    for (auto it = live.rbegin(); it != live.rend(); ++it) {
        const GeBoundBox3d box = FreshExtents(*it);
        if (box.IsEmpty() || !host::FilterAccepts(filter, *it)) continue;
        int x0 = INT32_MAX, x1 = INT32_MIN, y0 = INT32_MAX, y1 = INT32_MIN;
        for (int corner = 0; corner < 8; ++corner) {
            const GePoint3d &lo = box.MinPoint(), &hi = box.MaxPoint();
            int x = 0, y = 0;
            view->WorldToWindow({corner & 1 ? hi.x : lo.x, corner & 2 ? hi.y : lo.y, corner & 4 ? hi.z : lo.z}, x, y);
            x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
        }
        if (!taken.entity && px >= x0 - 10 && px <= x1 + 10 && py >= y0 - 10 && py <= y1 + 10) taken.entity = *it;
        const std::vector<GePolygon> polygons = (*it)->GetPolygons();
        for (std::size_t i = 0; i < polygons.size(); ++i) {
            const int n = polygons[i].GetCountVertex();
            const GePoint3d* vertices = polygons[i].GetVertexArray();
            GeVector3d normal;
            if (polygons[i].IsPolyline() || !GeUtility::GetPolygonNormal(n, vertices, normal) ||
                std::fabs(normal.z) < 1e-9)
                continue;
            std::vector<GePoint2d> plan;
            for (int k = 0; k < n; ++k) plan.emplace_back(vertices[k].x, vertices[k].y);
            if (!GeUtility::PointInsidePolygon(n, plan.data(), GePoint2d(point.x, point.y), 0.0)) continue;
            const GePoint3d& p0 = vertices[0];
            const double z = p0.z - (normal.x * (point.x - p0.x) + normal.y * (point.y - p0.y)) / normal.z;
            if (!taken.face.first || z > highest) taken.face = {*it, static_cast<int>(i)}, highest = z;
        }
    }
    return taken;
}

// What "box:x0,y0,x1,y1" takes, asking every live entity in creation order: those shown whose
// extents lie inside the rectangle in plan, its edges included.
std::vector<decDbEntity*> InsideByScan(double x0, double y0, double x1, double y1)
{
    std::vector<decDbEntity*> inside;
    for (decDbEntity* entity : Live()) {
        const GeBoundBox3d box = FreshExtents(entity);
        if (!entity->IsHidden() && !box.IsEmpty() && box.MinPoint().x >= std::min(x0, x1) &&
            box.MinPoint().y >= std::min(y0, y1) && box.MaxPoint().x <= std::max(x0, x1) &&
            box.MaxPoint().y <= std::max(y0, y1))
            inside.push_back(entity);
    }
    return inside;
}

std::vector<decDbEntity*> InsideBySelection(double x0, double y0, double x1, double y1)
{
    char word[160];
    std::snprintf(word, sizeof word, "box:%.17g,%.17g,%.17g,%.17g", x0, y0, x1, y1);
    return host::ResolveSelection(host::ScriptLine{word, "box", 1});
}

// A drawing of lines, points, texts and boxes around an origin (near zero or on a national
// grid), changed at random between clicks; with a distance given, one entity in eight lies
// that far off (a leftover object far from a site).
struct Scene {
    std::mt19937& random;
    double origin;
    double far = 0.0;

    double Near(double spread)
    {
        const double off = far != 0.0 && Pick(8) == 0 ? far : 0.0;
        return origin + off + std::uniform_real_distribution<double>(0.0, spread)(random);
    }
    double Small(double size) { return std::uniform_real_distribution<double>(-size, size)(random); }
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }
    decDbEntity* AnyLive(const std::vector<decDbEntity*>& live)
    {
        return live[static_cast<std::size_t>(Pick(static_cast<int>(live.size())))];
    }

    void AddOne()
    {
        DbAutoOpen open;
        const long layer = open.db->GetTableLayer()->GetCurrentLayerID();
        const GePoint3d at(Near(50000.0), Near(50000.0), Small(3000.0));
        const GePoint3d line[] = {at, at + GeVector3d(Small(8000.0), Small(8000.0), 0.0)};
        GeMatrix3d tm;
        tm.SetToTranslation(GeVector3d(at.x, at.y, at.z));
        decObjectId id;
        switch (Pick(4)) {
        case 0: open.db->CreateNewEntity(layer, new decDbPolyline(2, line, 0)); break;
        case 1: open.db->CreateNewEntity(layer, new decDbPoint(at)); break;
        case 2: open.db->CreateNewEntity(layer, new decDbText("文字", at, 350.0)); break;
        default: open.db->CreateNewEntity(layer, new decDbBox(1 + Pick(6000), 1 + Pick(6000), 1 + Pick(9000)), tm, id);
        }
    }

    // Adds an entity, or erases, moves, hides or shows one.
    void Change()
    {
        const std::vector<decDbEntity*> live = Live();
        const int what = Pick(5);
        if (live.empty() || what == 0) return AddOne();
        decDbEntity* entity = AnyLive(live);
        if (what == 4) return entity->SetHide(!entity->IsHidden());
        DbAutoOpen open;
        entity->OpenForWrite();
        GeMatrix3d move;
        move.SetToTranslation(GeVector3d(Small(20000.0), Small(20000.0), Small(2000.0)));
        what == 1 ? entity->Erase() : entity->TransformBy(move);
        entity->Close();
    }

    // A point within a few apertures of a corner of a live entity's extents, or anywhere.
    GePoint3d Click(double scale)
    {
        const std::vector<decDbEntity*> live = Live();
        if (live.empty() || Pick(4) == 0) return GePoint3d(Near(60000.0), Near(60000.0), Small(1000.0));
        const GeBoundBox3d box = FreshExtents(AnyLive(live));
        const GePoint3d corner = Pick(2) ? box.MinPoint() : box.MaxPoint();
        const double reach = 12.0 / scale;
        return corner + GeVector3d(Small(reach), Small(reach), Small(reach));
    }

    // A rectangle for a window selection, its corners in either order: a live entity's plan
    // extents exactly (it lies on the edges) or a step of one unit in the last place inside them
    // on one side (it does not), or up to 60 m round the point.
    std::array<double, 4> Window(const GePoint3d& point)
    {
        const std::vector<decDbEntity*> live = Live();
        std::array<double, 4> window;
        if (!live.empty() && Pick(2) == 0) {
            const GeBoundBox3d box = FreshExtents(AnyLive(live));
            window = {box.MinPoint().x, box.MinPoint().y, box.MaxPoint().x, box.MaxPoint().y};
            constexpr double kInf = std::numeric_limits<double>::infinity();
            if (const int side = Pick(8); side < 4) window[side] = std::nextafter(window[side], side < 2 ? kInf : -kInf);
        } else {
            const double half = std::uniform_real_distribution<double>(0.0, 30000.0)(random);
            window = {point.x - half, point.y - half * Pick(3), point.x + half * Pick(3), point.y + half};
        }
        if (Pick(2)) std::swap(window[0], window[2]);
        return window;
    }
};

}  // namespace

class ClickOracleTest : public HostTest {
protected:
    void TearDown() override
    {
        dec::GetActiveView()->SetCamera(GePoint3d(), GeVector3d(0, 0, -1), GeVector3d(0, 1, 0), 1.0);
        HostTest::TearDown();
    }
};

// Near zero and on national grids, at three scales, some sites with one entity in eight 500 km
// off, or so far off that its cell cannot be numbered; in the top view, the south-west view
// and a slanting camera, a new view now and then (the index of the last one is kept beside
// the plan's); half the clicks filtered. Some sites are made between the clicks, an entity
// before each, from a first click on the empty drawing or beside a leftover object at zero, so
// the index is asked while it is built again as the drawing grows. Each click comes with a
// window selection, whose entities come in creation order.
TEST_F(ClickOracleTest, ClicksAndWindowsTakeWhatAskingEveryEntityTakesWhileTheDrawingChanges)
{
    const GeVector3d views[][2] = {
        {{0, 0, -1}, {0, 1, 0}}, {{1, 1, -1}, {0, 0, 1}}, {{-0.3, 0.8, -0.5}, {0.2, 0.1, 1}}};
    const struct {
        double origin, far = 0.0;
        int first = 60;         // entities before the first click
        bool growing = false;   // one more before each click
        bool leftover = false;  // a 10 m square at zero, drawn first
    } kSites[] = {
        {0.0},        {-3.0e4},  {2.5e6},  {4.0e9},  {1.0e12}, {0.0, 5.0e8}, {2.5e6, -5.0e8}, {1.0e12, 1.0e18},
        {0.0, 0.0, 0, true},  {3.0e6, 0.0, 0, true, true}, {1.0e12, 0.0, 1, true, true}, {2.5e6, -5.0e8, 0, true},
    };
    std::mt19937 random(4242);
    FT_SKIP skip;
    for (const auto& site : kSites) {
        const double origin = site.origin, far = site.far;
        for (const double scale : {1.0, 0.01, 8.0}) {
            host::NewDrawing();
            Scene scene{random, origin, far};
            if (site.leftover) {
                DbAutoOpen open;
                const GePoint3d square[] = {{0, 0, 0}, {10000, 0, 0}, {10000, 10000, 0}, {0, 10000, 0}};
                open.db->CreateNewEntity(open.db->GetTableLayer()->GetCurrentLayerID(),
                                         new decDbPolyline(4, square, 1));
            }
            for (int i = 0; i < site.first; ++i) scene.AddOne();
            for (int click = 0; click < 300; ++click) {
                // A growing site's first click is on the drawing as it starts.
                if (click > 0 || !site.growing) {
                    if (site.growing) scene.AddOne();
                    if (click % 3 == 0) scene.Change();
                }
                const GeVector3d* view = views[click / 50 % 3];
                if (click % 50 == 0) dec::GetActiveView()->SetCamera({origin, origin, 0.0}, view[0], view[1], scale);
                const GePoint3d point = scene.Click(scale);
                decSSGet_filter* filter = click % 2 ? &skip : nullptr;
                const std::string where = "origin " + std::to_string(origin) + " far " + std::to_string(far) +
                                          (site.growing ? " growing" : "") + (site.leftover ? " leftover" : "") +
                                          " scale " + std::to_string(scale) + " click " + std::to_string(click);
                const Taken expected = ByScan(point, filter);
                ASSERT_EQ(host::EntityAtPoint(point, filter), expected.entity) << where;
                std::pair<decDbEntity*, int> face{nullptr, 0};
                const bool found = host::FaceAtPoint(point, filter, nullptr, face.first, face.second);
                ASSERT_EQ(std::pair(found, face), std::pair(expected.face.first != nullptr, expected.face)) << where;
                const auto [x0, y0, x1, y1] = scene.Window(point);
                ASSERT_EQ(InsideBySelection(x0, y0, x1, y1), InsideByScan(x0, y0, x1, y1)) << where << " window";
            }
        }
    }
}

// Marks set and cleared at random: the visible selection is always the marked live entities in
// creation order, and clearing unmarks every one of them.
TEST_F(ClickOracleTest, TheVisibleSelectionIsTheMarkedEntitiesInCreationOrder)
{
    std::mt19937 random(9);
    Scene scene{random, 0.0};
    for (int i = 0; i < 200; ++i) scene.AddOne();
    DbDatabase* db = dec::GetWorkingDatabase();
    for (int round = 0; round < 200; ++round) {
        const std::vector<decDbEntity*> live = Live();
        BitArray faces;
        faces.Set(scene.Pick(3));
        switch (scene.Pick(6)) {
        case 0: db->ClearSelectSet(1); break;
        case 1: scene.Change(); break;
        case 2: scene.AnyLive(live)->SetSubObjectSelectSet(faces); break;
        case 3: db->ClearSubSelectSet(); break;
        default: scene.AnyLive(live)->SetSelected(scene.Pick(2)); break;
        }
        db->RebuildSysSelectSet(0);
        std::vector<decObjectId> marked;
        for (decDbEntity* each : db->AllObjects())
            if (each->IsSelected() && !each->IsErased()) marked.push_back(each->GetObjectId());
        ASSERT_EQ(db->GetSysSelectSet().Ids(), marked) << "round " << round;
        // What a selection lets go of it takes again, at its end and once; an unset id never.
        decSelectSet again = db->GetSysSelectSet();
        const auto even = [](const decObjectId& id) { return id.Handle() % 2 == 0; };
        again.RemoveIf(even);
        for (const decObjectId& id : marked) again.Add(id);
        std::vector<decObjectId> oddFirst(marked);
        std::stable_partition(oddFirst.begin(), oddFirst.end(), [&](const decObjectId& id) { return !even(id); });
        ASSERT_EQ(again.Ids(), oddFirst) << "round " << round;
        for (const decObjectId& id : marked) again.Remove(id), again.Add(id), again.Add(id), again.Add(decObjectId());
        ASSERT_EQ(again.Ids(), marked) << "round " << round;
        db->ClearSelectSet(0);
        db->ClearSubSelectSet();
        for (decDbEntity* each : db->AllObjects())
            ASSERT_TRUE(!each->IsSelected() && !each->GetSubObjectSelectSet(faces)) << "round " << round;
        for (int k = 0; k < 5; ++k) scene.AnyLive(live)->SetSelected(1);
    }
}
