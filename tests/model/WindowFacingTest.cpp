// Which way the window-row commands turn their windows: out of the building or solid whose
// wall was picked, whichever way round its outline was drawn. Every edge of a rectangle and of
// an L, drawn both ways, as a building and as a plain solid, near the origin and on a national
// grid, through qwin and orderwin; outward checked against the outline by an even-odd test.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "WindowInfoExports.h"
#include "WindowTestSupport.h"

namespace {

// Whether the plan point lies inside the ring (even-odd rule).
bool Inside(const GePoint3dArray& ring, const GePoint3d& p)
{
    bool inside = false;
    for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
        const GePoint3d &a = ring[i], &b = ring[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
            inside = !inside;
    }
    return inside;
}

class WindowFacingTest : public WindowModelTest {};

TEST_F(WindowFacingTest, RowAndColumnWindowsFaceOutOfWhatWasPickedDrawnEitherWay)
{
    const GePoint3dArray rectangle = {{0, 0, 0}, {6000, 0, 0}, {6000, 4000, 0}, {0, 4000, 0}};
    const GePoint3dArray ell = {{0, 0, 0}, {9000, 0, 0}, {9000, 4000, 0}, {4000, 4000, 0}, {4000, 9000, 0}, {0, 9000, 0}};
    const auto text = [](const GePoint3d& p) { return std::to_string(p.x) + "," + std::to_string(p.y); };
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
                        std::string solid = "extrude 9000";
                        for (const GePoint3d& p : ring)
                            solid += " " + text(p);
                        if (!building)
                            Script(solid + "\n");
                        const decObjectId picked =
                            building ? AddBuilding("甲", 9000, ring) : decObjectId(Db()->NextHandle() - 1);
                        const std::string what = std::string(command) + " on a " + shapeName +
                                                 (clockwise ? " drawn clockwise" : " drawn counter-clockwise") +
                                                 (building ? " building" : " solid") + " at " + std::to_string(offset);
                        for (std::size_t i = 0; i < ring.size(); ++i) {
                            const GePoint3d at = ring[i] + (ring[(i + 1) % ring.size()] - ring[i]) / 3.0;
                            Script(std::string(command) + "\n" + Handle(picked) + "@" + text(at) + answers);
                            // As the analysis side reads the window: its middle and facing angle.
                            EntityArray windows;
                            GetAllWindow(windows);
                            ASSERT_EQ(windows.size(), i + 1) << what << ", edge " << i << Transcript();
                            WinPointVector mids;
                            WinAngleVector angles;
                            GetWindowPosMidPoint(windows, mids, angles);
                            const GeVector3d ahead = GeVector3d(std::cos(angles.back()), std::sin(angles.back()), 0) * 100;
                            EXPECT_FALSE(Inside(ring, mids.back() + ahead)) << what << ", edge " << i;
                            EXPECT_TRUE(Inside(ring, mids.back() - ahead)) << what << ", edge " << i;
                        }
                    }
}

}  // namespace
