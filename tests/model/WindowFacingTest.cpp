// Which way the window-row commands turn their windows: out of the building or solid whose
// wall was picked, whichever way round its outline was drawn. Every edge of a rectangle and of
// an L, drawn both ways, as a building and as a plain solid, near the origin and on a national
// grid, through qwin and orderwin; outward checked against the outline by an even-odd test.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "WindowInfoExports.h"
#include "WindowTestSupport.h"

namespace {

// Whether the plan point lies inside the ring (even-odd rule).
bool Inside(const GePoint3dArray& ring, double x, double y)
{
    bool inside = false;
    for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
        const GePoint3d& a = ring[i];
        const GePoint3d& b = ring[j];
        if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x)
            inside = !inside;
    }
    return inside;
}

std::string Point(const GePoint3d& p)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.3f,%.3f", p.x, p.y);
    return text;
}

class WindowFacingTest : public WindowModelTest {};

TEST_F(WindowFacingTest, RowAndColumnWindowsFaceOutOfWhatWasPickedDrawnEitherWay)
{
    const GePoint3dArray rectangle = {{0, 0, 0}, {6000, 0, 0}, {6000, 4000, 0}, {0, 4000, 0}};
    const GePoint3dArray ell = {{0, 0, 0}, {9000, 0, 0}, {9000, 4000, 0}, {4000, 4000, 0}, {4000, 9000, 0}, {0, 9000, 0}};
    // One window: qwin's default row of one, orderwin's centred column.
    const std::pair<const char*, const char*> commands[] = {{"qwin", "\n\nok\n*cancel*\n"},
                                                            {"orderwin", "\n\ncheck 1321 1\nok\n"}};
    for (const auto& [shapeName, shape] : {std::pair("rectangle", rectangle), std::pair("L", ell)})
        for (const bool clockwise : {false, true})
            for (const bool building : {false, true})
                for (const double offset : {0.0, 1e6})
                    for (const auto& [command, answers] : commands) {
                        SetUp();
                        GePoint3dArray ring = shape;
                        for (GePoint3d& p : ring)
                            p += GeVector3d(offset, offset, 0);
                        if (clockwise)
                            std::reverse(ring.begin(), ring.end());
                        decObjectId picked;
                        if (building) {
                            picked = AddBuilding("甲", 9000, ring);
                        } else {
                            std::string line = "extrude 9000";
                            for (const GePoint3d& p : ring)
                                line += " " + Point(p);
                            Script(line + "\n");
                            picked = decObjectId(Db()->NextHandle() - 1);
                        }
                        const std::string what = std::string(command) + " on a " + shapeName +
                                                 (clockwise ? " drawn clockwise" : " drawn counter-clockwise") +
                                                 (building ? " building" : " solid") + " at " +
                                                 std::to_string(offset);
                        for (std::size_t i = 0; i < ring.size(); ++i) {
                            const GePoint3d& a = ring[i];
                            const GePoint3d& b = ring[(i + 1) % ring.size()];
                            const GePoint3d at = a + (b - a) / 3.0;
                            Script(std::string(command) + "\n" + Handle(picked) + "@" + Point(at) + answers);
                            // As the analysis side reads the window: its middle and facing angle.
                            EntityArray windows;
                            GetAllWindow(windows);
                            ASSERT_EQ(windows.size(), i + 1) << what << ", edge " << i << Transcript();
                            WinPointVector mids;
                            WinAngleVector angles;
                            GetWindowPosMidPoint(windows, mids, angles);
                            const GeVector3d facing(std::cos(angles.back()), std::sin(angles.back()), 0.0);
                            const GePoint3d ahead = mids.back() + facing * 100.0;
                            const GePoint3d behind = mids.back() - facing * 100.0;
                            EXPECT_FALSE(Inside(ring, ahead.x, ahead.y)) << what << ", edge " << i;
                            EXPECT_TRUE(Inside(ring, behind.x, behind.y)) << what << ", edge " << i;
                        }
                    }
}

}  // namespace
