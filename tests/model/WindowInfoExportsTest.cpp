// The window information the analysis side reads: facing angles and sill sample points on
// the four facades of a rectangular building (values worked out by hand), the width limit,
// sorting, appended and replaced outputs, non-windows in the list, and the parameter order
// of the selecting exports.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "HostSolids.h"
#include "ModelHelperWindows.h"
#include "WindowInfoExports.h"
#include "WindowTestSupport.h"
#include "decDbCurve.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

constexpr double kPi = std::numbers::pi;

// Every output of the numbered exports.
struct Outputs {
    WinIntVector floors, positions, rooms, widths, heights;
    WinTextVector doors, names;
    WinAngleVector angles;
    WinPointVector centres, ends1, ends2, mids;
};

std::vector<std::string> Texts(const WinTextVector& v)
{
    std::vector<std::string> texts;
    for (const CString& s : v)
        texts.emplace_back(s.GetString());
    return texts;
}

class WindowInfoTest : public WindowModelTest {
protected:
    // The rectangle (0,0)-(20000,10000), one 1500 wide window in the middle of each facade
    // at sill level 900, numbered floor 1, positions 1 (south) to 4 (west).
    EntityArray FourFacades()
    {
        const struct {
            int index;
            GePoint3d sill;
            GeVector3d outward;
        } facades[] = {
            {1, {10000, 0, 900}, {0, -1, 0}},
            {2, {20000, 5000, 900}, {1, 0, 0}},
            {3, {10000, 10000, 900}, {0, 1, 0}},
            {4, {0, 5000, 900}, {-1, 0, 0}},
        };
        EntityArray windows;
        for (const auto& f : facades)
            windows.push_back(Entity(AddWindow({.building = "甲楼", .floor = 1, .index = f.index, .sill = f.sill,
                                                .outward = f.outward})));
        return windows;
    }
};

// ---- hand-computed facing angles and sample points ----------------------------------

TEST_F(WindowInfoTest, FourFacadesOfARectangularBuilding)
{
    EntityArray windows = FourFacades();
    Outputs o;
    WindowInfoFullWay(1, windows, o.floors, o.positions, o.doors, o.rooms, o.widths, o.heights, o.angles, o.names,
                      o.centres, o.ends1, o.ends2);
    // Frames (X = Y × Z): south X (-1,0,0), east X (0,-1,0), north X (1,0,0), west X (0,1,0).
    // Angle: world X to the outward Y, counter-clockwise about Z. Points: sill middle ± X·750,
    // then 1 mm along Y.
    const struct {
        double angle;
        GePoint3d centre, end1, end2;
    } expected[] = {
        {3 * kPi / 2, {10000, -1, 900}, {9250, -1, 900}, {10750, -1, 900}},
        {0.0, {20001, 5000, 900}, {20001, 4250, 900}, {20001, 5750, 900}},
        {kPi / 2, {10000, 10001, 900}, {10750, 10001, 900}, {9250, 10001, 900}},
        {kPi, {-1, 5000, 900}, {-1, 5750, 900}, {-1, 4250, 900}},
    };
    ASSERT_EQ(o.angles.size(), 4u);
    ASSERT_EQ(o.centres.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        const std::string what = "facade " + std::to_string(i + 1);
        EXPECT_NEAR(o.angles[i], expected[i].angle, 1e-12) << what;
        ExpectNearPoint(o.centres[i], expected[i].centre, what + " centre");
        ExpectNearPoint(o.ends1[i], expected[i].end1, what + " first end");
        ExpectNearPoint(o.ends2[i], expected[i].end2, what + " second end");
    }
    EXPECT_THAT(o.positions, ElementsAre(1, 2, 3, 4));
    EXPECT_THAT(o.widths, ElementsAre(1500, 1500, 1500, 1500));
    EXPECT_THAT(o.heights, ElementsAre(1800, 1800, 1800, 1800));

    // The mid exports give the centres alone.
    Outputs m;
    WindowInfoMidWay(1, windows, m.floors, m.positions, m.doors, m.rooms, m.widths, m.heights, m.angles, m.names,
                     m.mids);
    ASSERT_EQ(m.mids.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        ExpectNearPoint(m.mids[i], expected[i].centre, "mid " + std::to_string(i + 1));
        EXPECT_NEAR(m.angles[i], expected[i].angle, 1e-12);
    }
}

TEST_F(WindowInfoTest, AnObliqueFacadeFacesItsNormal)
{
    // Outward normal at 30° from world X: X = Y × Z = (sin 30°, -cos 30°, 0).
    const double c = std::cos(kPi / 6), s = std::sin(kPi / 6);
    EntityArray windows = {Entity(AddWindow({.width = 1000, .sill = {100, 200, 0}, .outward = {c, s, 0}}))};
    GePoint3d centre, end1, end2;
    double angle = 0.0;
    GetWindowSillPts(windows[0], centre, end1, end2, angle, 0);
    EXPECT_NEAR(angle, kPi / 6, 1e-12);
    ExpectNearPoint(centre, {100 + c, 200 + s, 0}, "centre");
    ExpectNearPoint(end1, {100 + 500 * s + c, 200 - 500 * c + s, 0}, "first end");
    ExpectNearPoint(end2, {100 - 500 * s + c, 200 + 500 * c + s, 0}, "second end");
}

TEST_F(WindowInfoTest, TheWidthLimitOnlyNarrows)
{
    // A 1500 wide window on a south facade, sill middle (0, 0, 900).
    EntityArray windows = {Entity(AddWindow({.width = 1500, .sill = {0, 0, 900}}))};
    const struct {
        int limit;
        double half;
    } cases[] = {{1000, 500}, {1499, 749.5}, {1500, 750}, {2000, 750}, {0, 750}, {-5, 750}};
    for (const auto& c : cases) {
        Outputs o;
        WindowInfoFullWindow(12345, c.limit, windows, o.floors, o.positions, o.doors, o.rooms, o.widths, o.heights,
                             o.angles, o.names, o.centres, o.ends1, o.ends2);
        const std::string what = "limit " + std::to_string(c.limit);
        ASSERT_EQ(o.centres.size(), 1u) << what;
        ExpectNearPoint(o.centres[0], {0, -1, 900}, what);
        ExpectNearPoint(o.ends1[0], {-c.half, -1, 900}, what);
        ExpectNearPoint(o.ends2[0], {c.half, -1, 900}, what);
        EXPECT_NEAR(o.angles[0], 3 * kPi / 2, 1e-12);
        EXPECT_THAT(o.widths, ElementsAre(1500)) << what;
    }
}

// ---- sorting, appending and replacing ------------------------------------------------

TEST_F(WindowInfoTest, FullWaySortsTheCallersListAndFillsEveryOutputInThatOrder)
{
    AddWindow({.building = "B", .floor = 1, .index = 1, .door = "B-1"});
    AddWindow({.building = "A", .floor = 2, .index = 1, .door = "A-21", .room = 2});
    AddWindow({.building = "A", .floor = 1, .index = 2, .door = "A-12", .room = 1});
    AddWindow({.building = "A", .floor = 1, .index = 1, .door = "A-11", .room = 3});
    EntityArray windows;
    ASSERT_EQ(GetAllWindow(windows), 1);

    Outputs o;
    WindowInfoFullWay(1, windows, o.floors, o.positions, o.doors, o.rooms, o.widths, o.heights, o.angles, o.names,
                      o.centres, o.ends1, o.ends2);
    EXPECT_THAT(Texts(o.names), ElementsAre("A", "A", "A", "B"));
    EXPECT_THAT(o.floors, ElementsAre(1, 1, 2, 1));
    EXPECT_THAT(o.positions, ElementsAre(1, 2, 1, 1));
    EXPECT_THAT(Texts(o.doors), ElementsAre("A-11", "A-12", "A-21", "B-1"));
    EXPECT_THAT(o.rooms, ElementsAre(3, 1, 2, 0));
    // The caller's list is left in the same order.
    EntityArray expected;
    for (const char* door : {"A-11", "A-12", "A-21", "B-1"})
        for (decDbEntity* e : windows)
            if (CWindow::Cast(e->GetBaseObject())->Door() == door)
                expected.push_back(e);
    EXPECT_EQ(windows, expected);

    Outputs p;
    WindowInfoMidWay(0, windows, p.floors, p.positions, p.doors, p.rooms, p.widths, p.heights, p.angles, p.names,
                     p.mids);
    EXPECT_THAT(Texts(p.doors), ElementsAre("A-11", "A-21", "A-12", "B-1"));
}

TEST_F(WindowInfoTest, ReplacedPointVectorsHoldOneEntryPerWindowAndTheRestAppend)
{
    EntityArray windows = FourFacades();
    Outputs o;
    o.floors = {77};
    o.names = {"old"};
    o.angles = {9.0};
    o.centres = {{1, 1, 1}, {2, 2, 2}};
    o.ends1 = {{1, 1, 1}};
    o.ends2 = {{1, 1, 1}};
    o.mids = {{5, 5, 5}};
    WindowInfoFullWay(1, windows, o.floors, o.positions, o.doors, o.rooms, o.widths, o.heights, o.angles, o.names,
                      o.centres, o.ends1, o.ends2);
    EXPECT_THAT(o.floors, ElementsAre(77, 1, 1, 1, 1));
    EXPECT_THAT(Texts(o.names), ElementsAre("old", "甲楼", "甲楼", "甲楼", "甲楼"));
    EXPECT_EQ(o.angles.size(), 5u);
    EXPECT_EQ(o.centres.size(), 4u);
    EXPECT_EQ(o.ends1.size(), 4u);
    EXPECT_EQ(o.ends2.size(), 4u);
    ExpectNearPoint(o.centres[0], {10000, -1, 900}, "first new centre");

    WindowInfoMidWay(1, windows, o.floors, o.positions, o.doors, o.rooms, o.widths, o.heights, o.angles, o.names,
                     o.mids);
    EXPECT_EQ(o.mids.size(), 4u);
    EXPECT_EQ(o.floors.size(), 9u);

    // The not-sorting exports append everything.
    WindowInfoMidPt(0, windows, o.floors, o.positions, o.doors, o.rooms, o.widths, o.heights, o.angles, o.names,
                    o.mids);
    EXPECT_EQ(o.mids.size(), 8u);
    WindowInfoFullWindow(0, 0, windows, o.floors, o.positions, o.doors, o.rooms, o.widths, o.heights, o.angles,
                         o.names, o.centres, o.ends1, o.ends2);
    EXPECT_EQ(o.centres.size(), 8u);
    EXPECT_EQ(o.floors.size(), 17u);
    EXPECT_EQ(o.angles.size(), 17u);

    // An empty list empties the replaced vectors and adds nothing to the others.
    EntityArray none;
    WindowInfoFullWay(1, none, o.floors, o.positions, o.doors, o.rooms, o.widths, o.heights, o.angles, o.names,
                      o.centres, o.ends1, o.ends2);
    WindowInfoMidWay(1, none, o.floors, o.positions, o.doors, o.rooms, o.widths, o.heights, o.angles, o.names,
                     o.mids);
    EXPECT_TRUE(o.centres.empty());
    EXPECT_TRUE(o.ends1.empty());
    EXPECT_TRUE(o.ends2.empty());
    EXPECT_TRUE(o.mids.empty());
    EXPECT_EQ(o.floors.size(), 17u);
}

TEST_F(WindowInfoTest, NumberAndMidPointExportsKeepTheListOrder)
{
    AddWindow({.building = "B", .floor = 3, .index = 2, .sill = {0, 0, 0}});
    AddWindow({.building = "A", .floor = 1, .index = 7, .sill = {10, 0, 0}, .outward = {1, 0, 0}});
    EntityArray windows;
    GetAllWindow(windows);
    WinTextVector names = {"x"};
    WinIntVector floors, positions;
    WindowNumberInfo(windows, names, floors, positions);
    EXPECT_THAT(Texts(names), ElementsAre("x", "B", "A"));
    EXPECT_THAT(floors, ElementsAre(3, 1));
    EXPECT_THAT(positions, ElementsAre(2, 7));

    WinPointVector mids = {{9, 9, 9}};
    WinAngleVector angles;
    GetWindowPosMidPoint(windows, mids, angles);
    ASSERT_EQ(mids.size(), 3u);
    ExpectNearPoint(mids[1], {0, -1, 0}, "south mid");
    ExpectNearPoint(mids[2], {11, 0, 0}, "east mid");
    EXPECT_NEAR(angles[0], 3 * kPi / 2, 1e-12);
    EXPECT_NEAR(angles[1], 0.0, 1e-12);
}

// ---- entries that are no windows ------------------------------------------------------

TEST_F(WindowInfoTest, NonWindowsGetNeutralEntriesAndSortLast)
{
    const decObjectId window = AddWindow({.building = "甲楼", .floor = 2, .index = 3, .sill = {0, 0, 900}});
    const decObjectId box = AddSolid(new decDbBox(10, 10, 10), GeMatrix3d().SetToTranslation({500, 600, 0}));
    const GePoint3d pts[] = {{0, 0, 0}, {5, 0, 0}};
    const decObjectId line = AddEntity(new decDbPolyline(2, pts, 0));
    EntityArray list = {Entity(line), Entity(box), Entity(window), nullptr};

    Outputs o;
    WindowInfoFullWay(1, list, o.floors, o.positions, o.doors, o.rooms, o.widths, o.heights, o.angles, o.names,
                      o.centres, o.ends1, o.ends2);
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0], Entity(window));
    for (const auto* v : {&o.floors, &o.positions, &o.rooms, &o.widths, &o.heights})
        EXPECT_EQ(v->size(), 4u);
    EXPECT_EQ(o.names.size(), 4u);
    EXPECT_EQ(o.doors.size(), 4u);
    EXPECT_EQ(o.centres.size(), 4u);
    EXPECT_THAT(Texts(o.names), ElementsAre("甲楼", "", "", ""));
    EXPECT_THAT(o.floors, ElementsAre(2, 0, 0, 0));
    EXPECT_THAT(o.widths, ElementsAre(1500, 0, 0, 0));
    // The box's transform gives its points (no width: both ends at the centre); its Y axis
    // is world Y, so the angle is π/2 and the points lie 1 along +Y. The curve and the null
    // entry have no transform: origin and angle 0.
    for (std::size_t i = 1; i < 4; ++i) {
        const decDbEntity* e = list[i];
        const bool isBox = e == Entity(box);
        const GePoint3d expected = isBox ? GePoint3d(500, 601, 0) : GePoint3d();
        ExpectNearPoint(o.centres[i], expected, "centre " + std::to_string(i));
        ExpectNearPoint(o.ends1[i], expected, "end " + std::to_string(i));
        ExpectNearPoint(o.ends2[i], expected, "end " + std::to_string(i));
        EXPECT_NEAR(o.angles[i], isBox ? kPi / 2 : 0.0, 1e-12);
    }

    WinTextVector names;
    WinIntVector floors, positions;
    WindowNumberInfo(list, names, floors, positions);
    EXPECT_THAT(floors, ElementsAre(2, 0, 0, 0));
}

// ---- the selecting exports: their parameter order ------------------------------------

TEST_F(WindowInfoTest, SelectingExportsHandTheirParametersOnInTheirOwnOrder)
{
    // Every attribute different, so a swapped parameter shows.
    AddWindow({.building = "乙", .floor = 4, .index = 6, .width = 1200, .height = 1400, .sill = {0, 0, 900},
               .door = "A2", .room = 2});
    AddWindow({.building = "甲", .floor = 3, .index = 5, .width = 1100, .height = 1300, .sill = {0, 0, 900},
               .door = "B9", .room = 8});

    Outputs o;
    o.centres = {{7, 7, 7}};
    Answer("#2 #1\n");
    ASSERT_EQ(GetWindowInfoFullWay(o.centres, o.ends1, o.ends2, o.names, o.floors, o.doors, o.rooms, o.positions,
                                   o.widths, o.heights, o.angles, 1),
              1);
    EXPECT_THAT(Transcript(), HasSubstr("请选择窗口："));
    EXPECT_THAT(Texts(o.names), ElementsAre("乙", "甲"));
    EXPECT_THAT(o.floors, ElementsAre(4, 3));
    EXPECT_THAT(Texts(o.doors), ElementsAre("A2", "B9"));
    EXPECT_THAT(o.rooms, ElementsAre(2, 8));
    EXPECT_THAT(o.positions, ElementsAre(6, 5));
    EXPECT_THAT(o.widths, ElementsAre(1200, 1100));
    EXPECT_THAT(o.heights, ElementsAre(1400, 1300));
    EXPECT_EQ(o.centres.size(), 2u);
    // Sorted by name byte-wise: 乙 (E4 B9 99) before 甲 (E7 94 B2), against the selection order.
    ExpectNearPoint(o.ends1[0], {-600, -1, 900}, "first end of 乙");

    Outputs m;
    Answer("#2 #1\n");
    ASSERT_EQ(GetWindowInfoMidWay(m.mids, m.names, m.floors, m.doors, m.rooms, m.positions, m.widths, m.heights,
                                  m.angles, 1),
              1);
    EXPECT_THAT(Texts(m.names), ElementsAre("乙", "甲"));
    EXPECT_THAT(m.floors, ElementsAre(4, 3));
    EXPECT_THAT(Texts(m.doors), ElementsAre("A2", "B9"));
    EXPECT_THAT(m.rooms, ElementsAre(2, 8));
    EXPECT_THAT(m.positions, ElementsAre(6, 5));
    EXPECT_THAT(m.widths, ElementsAre(1200, 1100));
    EXPECT_EQ(m.mids.size(), 2u);

    // Mid points replaced, angles appended, selection order kept.
    WinPointVector mids = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
    WinAngleVector angles = {1.0};
    Answer("#2\n");
    ASSERT_EQ(GetWindowPosMidWay(mids, angles), 1);
    ASSERT_EQ(mids.size(), 1u);
    ExpectNearPoint(mids[0], {0, -1, 900}, "mid");
    EXPECT_EQ(angles.size(), 2u);

    // A cancelled or empty selection answers 0 and touches nothing.
    for (const char* answer : {"*cancel*\n", "\n"}) {
        Outputs before;
        before.centres = {{7, 7, 7}};
        before.names = {"keep"};
        Answer(answer);
        EXPECT_EQ(GetWindowInfoFullWay(before.centres, before.ends1, before.ends2, before.names, before.floors,
                                       before.doors, before.rooms, before.positions, before.widths, before.heights,
                                       before.angles, 1),
                  0);
        EXPECT_EQ(before.centres.size(), 1u);
        EXPECT_THAT(Texts(before.names), ElementsAre("keep"));
        Answer(answer);
        EXPECT_EQ(GetWindowInfoMidWay(before.mids, before.names, before.floors, before.doors, before.rooms,
                                      before.positions, before.widths, before.heights, before.angles, 1),
                  0);
        Answer(answer);
        EXPECT_EQ(GetWindowPosMidWay(mids, angles), 0);
        EXPECT_EQ(mids.size(), 1u);
        EXPECT_EQ(angles.size(), 2u);
    }
}

}  // namespace
