// Clicks and marks on drawings that keep changing, against the plain way: every live entity
// asked in turn, its extents found afresh each time (the polygons' vertices, or what it draws).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
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

// Takes entities whose handle is not a multiple of the divisor.
class FT_SKIP : public decSSGet_filter {
public:
    explicit FT_SKIP(std::uint64_t divisor) : m_divisor(divisor) {}
    int Accept(decDbEntity* entity, int& accept) override
    {
        accept = entity->GetObjectId().Handle() % m_divisor != 0 ? 1 : 0;
        return 0;
    }

private:
    std::uint64_t m_divisor;
};

GeBoundBox3d FreshExtents(const decDbEntity* entity)
{
    GeBoundBox3d box;
    for (const GePolygon& polygon : entity->GetPolygons())
        for (int i = 0; i < polygon.GetCountVertex(); ++i) box.Extend(polygon.GetVertexArray()[i]);
    if (box.IsEmpty()) {
        decViewFilter drawn;
        entity->Draw(drawn);
        for (const DrawnPrimitive& item : drawn.Primitives())
            for (const GePoint3d& p : item.points) box.Extend(p);
    }
    return box;
}

std::vector<decDbEntity*> Live()
{
    std::vector<decDbEntity*> live;
    for (decDbEntity* entity : dec::GetWorkingDatabase()->AllObjects())
        if (!entity->IsErased()) live.push_back(entity);
    return live;
}

// The entity a click takes, asking every live entity from the latest back.
decDbEntity* ClickedByScan(const GePoint3d& point, decSSGet_filter* filter)
{
    const decView* view = dec::GetActiveView();
    int px = 0, py = 0;
    view->WorldToWindow(point, px, py);
    const std::vector<decDbEntity*> live = Live();
    for (auto it = live.rbegin(); it != live.rend(); ++it) {
        const GeBoundBox3d box = FreshExtents(*it);
        if (box.IsEmpty()) continue;
        int x0 = INT32_MAX, x1 = INT32_MIN, y0 = INT32_MAX, y1 = INT32_MIN;
        for (int corner = 0; corner < 8; ++corner) {
            const GePoint3d& lo = box.MinPoint();
            const GePoint3d& hi = box.MaxPoint();
            int x = 0, y = 0;
            view->WorldToWindow(GePoint3d((corner & 1) ? hi.x : lo.x, (corner & 2) ? hi.y : lo.y,
                                          (corner & 4) ? hi.z : lo.z),
                                x, y);
            x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
        }
        if (px >= x0 - 10 && px <= x1 + 10 && py >= y0 - 10 && py <= y1 + 10 && host::FilterAccepts(filter, *it))
            return *it;
    }
    return nullptr;
}

// The face a click from above takes, asking every face of every live entity.
std::pair<decDbEntity*, int> FaceByScan(const GePoint3d& point)
{
    std::pair<decDbEntity*, int> hit{nullptr, 0};
    double highest = 0.0;
    const std::vector<decDbEntity*> live = Live();
    for (auto it = live.rbegin(); it != live.rend(); ++it) {
        const std::vector<GePolygon> polygons = (*it)->GetPolygons();
        for (std::size_t i = 0; i < polygons.size(); ++i) {
            const GePolygon& polygon = polygons[i];
            const int n = polygon.GetCountVertex();
            GeVector3d normal;
            if (polygon.IsPolyline() || !GeUtility::GetPolygonNormal(n, polygon.GetVertexArray(), normal) ||
                std::fabs(normal.z) < 1e-9)
                continue;
            std::vector<GePoint2d> plan;
            for (int k = 0; k < n; ++k) plan.emplace_back(polygon.GetVertexArray()[k].x, polygon.GetVertexArray()[k].y);
            if (!GeUtility::PointInsidePolygon(n, plan.data(), GePoint2d(point.x, point.y), 0.0)) continue;
            const GePoint3d& p0 = polygon.GetVertexArray()[0];
            const double z = p0.z - (normal.x * (point.x - p0.x) + normal.y * (point.y - p0.y)) / normal.z;
            if (hit.first && z <= highest) continue;
            hit = {*it, static_cast<int>(i)};
            highest = z;
        }
    }
    return hit;
}

// A drawing of mixed entities around an origin (near zero or on a national grid), changed at
// random between clicks.
class Scene {
public:
    Scene(std::mt19937& random, double origin) : m_random(random), m_origin(origin) {}

    double Near(double spread) { return m_origin + std::uniform_real_distribution<double>(0.0, spread)(m_random); }
    double Small(double size) { return std::uniform_real_distribution<double>(-size, size)(m_random); }
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }

    void AddOne()
    {
        DbAutoOpen open;
        const long layer = open.db->GetTableLayer()->GetCurrentLayerID();
        const double x = Near(50000.0), y = Near(50000.0), z = Small(3000.0);
        switch (Pick(4)) {
        case 0: {
            const GePoint3d line[] = {{x, y, z}, {x + Small(8000.0), y + Small(8000.0), z}};
            open.db->CreateNewEntity(layer, new decDbPolyline(2, line, 0));
            break;
        }
        case 1: open.db->CreateNewEntity(layer, new decDbPoint(GePoint3d(x, y, z))); break;
        case 2: open.db->CreateNewEntity(layer, new decDbText("文字", GePoint3d(x, y, z), 350.0)); break;
        default: {
            GeMatrix3d tm;
            tm.SetToTranslation(GeVector3d(x, y, z));
            decObjectId id;
            open.db->CreateNewEntity(layer, new decDbBox(1 + Pick(6000), 1 + Pick(6000), 1 + Pick(9000)), tm, id);
        }
        }
    }

    // Moves, erases or adds an entity.
    void Change()
    {
        const std::vector<decDbEntity*> live = Live();
        const int what = Pick(4);
        if (live.empty() || what == 0) {
            AddOne();
            return;
        }
        decDbEntity* entity = live[static_cast<std::size_t>(Pick(static_cast<int>(live.size())))];
        DbAutoOpen open;
        entity->OpenForWrite();
        if (what == 1) {
            entity->Erase();
        } else {
            GeMatrix3d move;
            move.SetToTranslation(GeVector3d(Small(20000.0), Small(20000.0), Small(2000.0)));
            entity->TransformBy(move);
        }
        entity->Close();
    }

    // A point near a live entity's extents (within a few aperture widths), or anywhere.
    GePoint3d Click(double scale)
    {
        const std::vector<decDbEntity*> live = Live();
        if (live.empty() || Pick(4) == 0) return GePoint3d(Near(60000.0), Near(60000.0), Small(1000.0));
        const GeBoundBox3d box = FreshExtents(live[static_cast<std::size_t>(Pick(static_cast<int>(live.size())))]);
        const GePoint3d corner = Pick(2) ? box.MinPoint() : box.MaxPoint();
        const double reach = 12.0 / scale;
        return GePoint3d(corner.x + Small(reach), corner.y + Small(reach), corner.z + Small(reach));
    }

private:
    std::mt19937& m_random;
    double m_origin;
};

// The views clicks are asked in: the top view at three scales, the south-west view, and a
// camera looking along a slanting direction.
void SetView(int which, double scale, const GePoint3d& target)
{
    decView* view = dec::GetActiveView();
    switch (which) {
    case 0: view->SetCamera(target, GeVector3d(0, 0, -1), GeVector3d(0, 1, 0), scale); break;
    case 1: view->SetCamera(target, GeVector3d(1, 1, -1), GeVector3d(0, 0, 1), scale); break;
    default: view->SetCamera(target, GeVector3d(-0.3, 0.8, -0.5), GeVector3d(0.2, 0.1, 1), scale); break;
    }
}

}  // namespace

class ClickOracleTest : public HostTest {
protected:
    void TearDown() override
    {
        dec::GetActiveView()->SetCamera(GePoint3d(), GeVector3d(0, 0, -1), GeVector3d(0, 1, 0), 1.0);
        HostTest::TearDown();
    }
};

TEST_F(ClickOracleTest, ClicksTakeWhatAskingEveryEntityTakesWhileTheDrawingChanges)
{
    std::mt19937 random(4242);
    FT_SKIP filter(3);
    for (const double origin : {0.0, -3.0e4, 2.5e6, 4.0e9, 1.0e12}) {
        for (const double scale : {1.0, 0.01, 8.0}) {
            host::NewDrawing();
            Scene scene(random, origin);
            for (int i = 0; i < 60; ++i) scene.AddOne();
            for (int click = 0; click < 300; ++click) {
                if (click % 3 == 0) scene.Change();
                // A new view now and then: the index of the last one is kept beside the plan's.
                if (click % 50 == 0) SetView(click / 50 % 3, scale, GePoint3d(origin, origin, 0.0));
                const GePoint3d point = scene.Click(scale);
                decSSGet_filter* asked = click % 2 ? &filter : nullptr;
                const decDbEntity* expected = ClickedByScan(point, asked);
                const decDbEntity* taken = host::EntityAtPoint(point, asked);
                ASSERT_EQ(taken, expected) << "origin " << origin << " scale " << scale << " click " << click << " at "
                                           << point.x << "," << point.y << "," << point.z;
            }
        }
    }
}

TEST_F(ClickOracleTest, FaceClicksTakeWhatAskingEveryFaceTakesWhileTheDrawingChanges)
{
    std::mt19937 random(77);
    for (const double origin : {0.0, 3.0e6, 1.0e11}) {
        host::NewDrawing();
        Scene scene(random, origin);
        for (int i = 0; i < 80; ++i) scene.AddOne();
        for (int click = 0; click < 300; ++click) {
            if (click % 4 == 0) scene.Change();
            const GePoint3d point = scene.Click(0.01);
            const auto [expected, expectedFace] = FaceByScan(point);
            decDbEntity* taken = nullptr;
            int face = 0;
            const bool found = host::FaceAtPoint(point, nullptr, nullptr, taken, face);
            ASSERT_EQ(found, expected != nullptr) << "origin " << origin << " click " << click;
            if (found) {
                EXPECT_EQ(taken, expected) << "origin " << origin << " click " << click;
                EXPECT_EQ(face, expectedFace) << "origin " << origin << " click " << click;
            }
        }
    }
}

// Marks set and cleared at random: the visible selection is always the marked live entities in
// creation order, and clearing unmarks every one of them.
TEST_F(ClickOracleTest, TheVisibleSelectionIsTheMarkedEntitiesInCreationOrder)
{
    std::mt19937 random(9);
    Scene scene(random, 0.0);
    for (int i = 0; i < 200; ++i) scene.AddOne();
    DbDatabase* db = dec::GetWorkingDatabase();
    for (int round = 0; round < 200; ++round) {
        const std::vector<decDbEntity*> live = Live();
        decDbEntity* entity = live[static_cast<std::size_t>(scene.Pick(static_cast<int>(live.size())))];
        switch (scene.Pick(6)) {
        case 0: db->ClearSelectSet(1); break;
        case 1: scene.Change(); break;
        case 2: {
            BitArray faces;
            faces.Set(scene.Pick(3));
            entity->SetSubObjectSelectSet(faces);
            break;
        }
        case 3: db->ClearSubSelectSet(); break;
        default: entity->SetSelected(scene.Pick(2)); break;
        }
        db->RebuildSysSelectSet(0);
        std::vector<decObjectId> marked;
        for (decDbEntity* each : db->AllObjects())
            if (each->IsSelected() && !each->IsErased()) marked.push_back(each->GetObjectId());
        ASSERT_EQ(db->GetSysSelectSet().Ids(), marked) << "round " << round;
        db->ClearSelectSet(0);
        db->ClearSubSelectSet();
        for (decDbEntity* each : db->AllObjects()) {
            BitArray faces;
            ASSERT_FALSE(each->IsSelected()) << "round " << round;
            ASSERT_EQ(each->GetSubObjectSelectSet(faces), 0) << "round " << round;
        }
        // Marks again for the next round, a few of them.
        for (int k = 0; k < 5; ++k) live[static_cast<std::size_t>(scene.Pick(static_cast<int>(live.size())))]->SetSelected(1);
    }
}

// Ids added, removed and asked about at random, against a plain list.
TEST_F(ClickOracleTest, ASelectionKeepsTheOrderOfFirstAddingAndEachIdOnce)
{
    std::mt19937 random(5);
    decSelectSet set;
    std::vector<decObjectId> plain;
    for (int step = 0; step < 5000; ++step) {
        const decObjectId id(std::uniform_int_distribution<std::uint64_t>(0, 60)(random));
        const bool present = std::find(plain.begin(), plain.end(), id) != plain.end();
        switch (step % 7) {
        case 0: set.Remove(id), std::erase(plain, id); break;
        case 1:
            set.RemoveIf([](const decObjectId& each) { return each.Handle() % 5 == 0; });
            std::erase_if(plain, [](const decObjectId& each) { return each.Handle() % 5 == 0; });
            break;
        case 2:
            if (step % 500 == 2) set.Clear(), plain.clear();
            break;
        default:
            set.Add(id);
            if (!present && !id.IsNull()) plain.push_back(id);
        }
        ASSERT_EQ(set.Contains(id), std::find(plain.begin(), plain.end(), id) != plain.end()) << "step " << step;
        ASSERT_EQ(set.Ids(), plain) << "step " << step;
    }
}
