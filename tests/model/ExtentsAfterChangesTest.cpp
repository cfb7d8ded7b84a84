// The extents the host remembers for picking and listing, after every kind of change a user
// makes to buildings, labels and roofs, against the same drawing saved and read back (its
// objects new, their extents found afresh).
#include <string>

#include "ModelTestSupport.h"
#include "Selection.h"

namespace {

// A building with its label (#2, #3) and a flat roof (#4) on its top; a second building (#6,
// #7) east of it; a loose line (#8).
const char* const kSite =
    "pline closed 0,0 12000,0 12000,9000 0,9000\n"
    "build\nlast\n18\n0\n\n"
    "orvroof 300 100 0,0,18000 12000,0,18000 12000,9000,18000 0,9000,18000\n"
    "pline closed 20000,0 32000,0 32000,9000 20000,9000\n"
    "build\nlast\n18\n0\n\n"
    "pline 0,-3000 32000,-3000\n";

}  // namespace

class ExtentsAfterChangesTest : public ModuleTest {
protected:
    // The list of every entity and the entity a click takes at every point of a 250 mm grid
    // over the site, as one text.
    std::string Seen()
    {
        const std::size_t before = Transcript().size();
        Script("list\n");
        std::string seen = Transcript().substr(before);
        for (double y = -4000.0; y <= 11000.0; y += 250.0) {
            for (double x = -2000.0; x <= 34000.0; x += 250.0) {
                const decDbEntity* entity = host::EntityAtPoint(GePoint3d(x, y, 0.0), nullptr);
                seen += entity ? Handle(entity) : "-";
            }
            seen += "\n";
        }
        return seen;
    }
};

TEST_F(ExtentsAfterChangesTest, PicksAndListsAgreeWithTheDrawingReadBackAfterEachChange)
{
    Script(kSite);
    const struct {
        const char* change;
        const char* line;  // what the change must have said
        bool seen = true;  // whether it changes a listed line or a click
    } kChanges[] = {
        {"move #6 0,4000\n", "#6 QCExtrudeBuild moved"},
        {"move #8 1000,500\n", "#8 decDbPolyline moved"},
        {"setprop #3 1 2\n", "taken, 类型=2 (底标高)"},
        {"setprop #4 1 1500\n", "taken, 挑出距离=1500"},
        // A rebuild that fails puts the previous values back.
        {"setprop #4 1 -20000\n", "unchanged, 挑出距离=1500", false},
        {"setprop #2 1 30000\n", "taken, 高度（毫米）=30000"},
        {"eelev\n#6\n3000\n", ""},
        {"rotate #7 20000,0 90\n", "#7 QCDimBuildElevation rotated"},
        {"erase #4\n", ""},
        {"erase #1 #3\n", ""},
    };
    const std::string path = TempFile("extents.q3d").string();
    std::string previous = Seen();
    for (const auto& [change, line, changes] : kChanges) {
        Script(change);
        EXPECT_NE(Transcript().find(line), std::string::npos) << change;
        const std::string seen = Seen();
        EXPECT_EQ(seen != previous, changes) << change;
        Script("save " + path + "\nopen " + path + "\n");
        EXPECT_EQ(Seen(), seen) << "after " << change;
        previous = seen;
    }
    std::filesystem::remove(path);
}
