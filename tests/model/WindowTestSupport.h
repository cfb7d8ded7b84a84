#pragma once
// Windows made in-process, placed the way the insertion commands place them: origin at the
// middle of the sill, Z the world Z axis, Y the outward facade normal and X = Y × Z (so
// that Y = Z × X, and X runs from the right end to the left end seen from outside).
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "2PointInsertWindowDlg.h"
#include "InstQuickWdwDlg.h"
#include "ModelEntityCollect.h"
#include "ModelHelperBuildings.h"
#include "ModelHelperWindows.h"
#include "ModelTestSupport.h"
#include "ModuleGlobals.h"
#include "OrderInsertWindow.h"
#include "OrderInsertWindowDlg.h"
#include "ReOrderWindowFloor.h"
#include "Window.h"

struct WindowSpec {
    const char* building = "";
    int floor = 1;
    int index = 1;
    int width = 1500;
    int height = 1800;
    GePoint3d sill = GePoint3d();               // middle of the sill
    GeVector3d outward = GeVector3d(0, -1, 0);  // facade normal (south by default)
    const char* door = "";
    int room = 0;
};

inline GeMatrix3d WindowFrame(const GePoint3d& sill, const GeVector3d& outward)
{
    GeMatrix3d tm;
    tm.SetCoordSystem(sill, outward.CrossProduct(GeVector3d::kZAxis), outward, GeVector3d::kZAxis);
    return tm;
}

inline CWindow* NewWindow(const WindowSpec& spec)
{
    auto* window = new CWindow();
    window->SetSize(spec.width, spec.height);
    window->SetBuild(spec.building);
    window->SetFloor(spec.floor);
    window->SetIndex(spec.index);
    window->SetDoor(spec.door);
    window->SetRoom(spec.room);
    return window;
}

inline void ExpectNearPoint(const GePoint3d& actual, const GePoint3d& expected, const std::string& what,
                            double tol = 1e-9)
{
    EXPECT_NEAR(actual.x, expected.x, tol) << what;
    EXPECT_NEAR(actual.y, expected.y, tol) << what;
    EXPECT_NEAR(actual.z, expected.z, tol) << what;
}

inline void ExpectNearVector(const GeVector3d& actual, const GeVector3d& expected, const std::string& what)
{
    ExpectNearPoint(GePoint3d() + actual, GePoint3d() + expected, what);
}

// The drawing's entities the predicate takes, in drawing order.
inline EntityArray Live(const std::function<bool(decDbEntity*)>& take)
{
    EntityArray found;
    CollectEntities(found, take);
    return found;
}

inline const CWindow* WindowOf(decDbEntity* entity) { return CWindow::Cast(entity->GetBaseObject()); }

// The building name an object bears: a window's, a building's or a tagged body's.
inline CString NameOf(decDbEntity* entity)
{
    if (const CWindow* window = WindowOf(entity))
        return window->BuildName();
    CString name;
    BuildName(entity, name);
    return name;
}

// A building or a tagged body that has a name.
inline bool IsNamed(decDbEntity* entity)
{
    return (IsExtrudeBuild(entity) || IsExtendBuild(entity)) && !NameOf(entity).IsEmpty();
}

// What namebld of the target offers its new name to: the other buildings, bays and windows
// bearing its name (none when the target bears none).
inline EntityArray OldNameBearers(decDbEntity* target)
{
    if (!IsNamed(target))
        return {};
    const CString old = NameOf(target);
    return Live([&](decDbEntity* e) { return e != target && (IsNamed(e) || WindowOf(e)) && NameOf(e) == old; });
}

// The text with each mark replaced by its value wherever it stands.
inline std::string Filled(std::string text, const std::vector<std::pair<std::string, std::string>>& values)
{
    for (const auto& [mark, value] : values)
        for (std::size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at + value.size()))
            text.replace(at, mark.size(), value);
    return text;
}

// The random choices of a test that runs random steps.
class RandomChoices {
protected:
    std::size_t Pick(std::size_t count) { return std::uniform_int_distribution<std::size_t>(0, count - 1)(random); }
    bool OneIn(std::size_t n) { return Pick(n) == 0; }
    decDbEntity* Any(const EntityArray& among) { return among[Pick(among.size())]; }
    // Each one at even odds; one of them when that leaves none.
    EntityArray Some(const EntityArray& among)
    {
        EntityArray some;
        for (decDbEntity* entity : among)
            if (OneIn(2))
                some.push_back(entity);
        return some.empty() ? EntityArray{Any(among)} : some;
    }

    std::mt19937 random;
};

// A window of the drawing with its frame.
struct PlacedWindow {
    const CWindow* window;
    const decDbEntity* entity;
    GePoint3d origin;
    GeVector3d x, y, z;
};

// Model tests with windows on facades, each starting from a freshly loaded module's remembered
// answers of the window commands.
class WindowModelTest : public ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        g_2pwinDefaults = TwoPointWindowDefaults();
        g_quickWinDefaults = QuickWindowDefaults();
        g_quickWinSpacingText = "1000";
        g_quickWinStoreyHeightText = "2900";
        g_orderWinDefaults = OrderWindowDefaults();
        g_orderWinSpacing = 1000;
        g_startWindowFloor = g_startWindowIndex = 1;
    }
    // The frame the insertion commands give: origin at the sill's middle, y out of the
    // building, z up, x = y × z.
    static void ExpectFrame(const PlacedWindow& w, const GePoint3d& origin, const GeVector3d& outward,
                            const std::string& what)
    {
        ExpectNearPoint(w.origin, origin, what);
        ExpectNearVector(w.y, outward, what);
        ExpectNearVector(w.z, GeVector3d::kZAxis, what);
        ExpectNearVector(w.x, outward.CrossProduct(GeVector3d::kZAxis), what);
    }
    // Every window of the drawing in drawing order, with its frame.
    static std::vector<PlacedWindow> Windows()
    {
        EntityArray entities;
        GetAllWindow(entities);
        std::vector<PlacedWindow> placed;
        for (decDbEntity* entity : entities) {
            PlacedWindow p{CWindow::Cast(entity->GetBaseObject()), entity, {}, {}, {}, {}};
            entity->GetLocalTM().GetCoordSystem(p.origin, p.x, p.y, p.z);
            placed.push_back(p);
        }
        return placed;
    }

    // The entities' handles, as a selection is typed.
    static std::string Handles(const EntityArray& entities)
    {
        std::string handles;
        for (const decDbEntity* entity : entities)
            handles += Handle(entity) + " ";
        return handles;
    }

    decObjectId AddWindow(const WindowSpec& spec)
    {
        return AddSolid(NewWindow(spec), WindowFrame(spec.sill, spec.outward));
    }
    CWindow* Window(const decObjectId& id) const
    {
        const decDbEntity* entity = Entity(id);
        return entity ? CWindow::Cast(entity->GetBaseObject()) : nullptr;
    }
};
