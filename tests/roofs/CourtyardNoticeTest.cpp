// A roof command that covers a courtyard keeps its roof over the outer ring of the grown outline
// and says so once: over a keyhole outline (the courtyard reached by a slit walked in and out)
// and over a U whose arms the overhang closes round a courtyard. A notch the overhang fills, or
// an outline not grown at all, covers nothing it would not, and nothing is said.
#include <gtest/gtest.h>

#include <string>

#include "OutlineRoofRuns.h"

namespace {

using namespace roof_test;

constexpr const char* kNotice = "提示：屋顶覆盖了建筑的内院。";
constexpr double kTop = 3000;

const Outline kKeyhole = {"keyhole", Keyhole(kTop), {5000, 5000, 0}, 15000, 30000};
const Outline kBentU = {"U with bent arms", BentU(kTop), {5000, 5000, 0}, 10000, 30000};
const Outline kRectangle = {"rectangle", Rectangle(20000, 10000, kTop), {5000, 3000, 0}, 5000, 20000};

class CourtyardNoticeTest : public OutlineRoofTest {};

TEST_F(CourtyardNoticeTest, ARoofOverACourtyardSaysSoOnce)
{
    struct Case {
        const Outline& outline;
        double overhang;
        bool covers;
    };
    const Case cases[] = {
        {kKeyhole, 500, true},  {kKeyhole, 0, false},   {kBentU, 1500, true},
        {kBentU, 500, false},   {kRectangle, 500, false},
    };
    for (const RoofCommand& c : kRoofCommands)
        for (const Case& k : cases)
            for (const Placing& at : kPlacings) {
                SCOPED_TRACE(testing::Message() << c.name << " on the " << k.outline.name << " grown by " << k.overhang
                                                << " at " << at.origin.x << "," << at.origin.y);
                const Made made = Run(c, k.outline, k.outline.ring, at, k.overhang);
                // The pyramid turns down a concave outline; every other command keeps its roof.
                if (k.covers && std::string(c.command) != "proof") {
                    EXPECT_GT(made.faces, 0u) << Transcript();
                }
                EXPECT_EQ(CountOf(Transcript(), kNotice), made.faces > 0 && k.covers ? 1 : 0) << Transcript();
            }
}

}  // namespace
