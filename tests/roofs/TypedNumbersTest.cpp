// Typed numbers of the roof and building-part commands: every question, dialog field and
// panel row that reads one, driven by the lines a user types (the roof dialog's own fields
// are in RoofCommandTest).
#include <gtest/gtest.h>

#include <cmath>

#include "BalconyDlg.h"
#include "DormerDlg.h"
#include "GableRoofDlg.h"
#include "HostSolids.h"
#include "OrvRoof.h"
#include "RoofTestSupport.h"
#include "TypedTextTable.h"

using typedtext::Empty;

namespace {

using namespace roof_test;

class TypedRoofNumbersTest : public FreshDialogTest<g_gableRoofDefaults> {
protected:
    void SetUp() override
    {
        FreshDialogTest::SetUp();
        g_dormerDefaults = DormerDefaults();
        g_balconyDefaults = BalconyDefaults();
        AddBuilding("A", 9000, Rectangle(10000, 6000));  // #1
    }
};

// The gable's slope angle (three characters: "-na" is "-nan" cut short) would read as a flat
// face of 0 degrees: its eave lies 3000 · tan α below the ridge at 12000. The panel's slope
// row is text; a text that is no number leaves the slope of 30. A start distance that is no
// number placed a dormer at the face's first corner. The balcony refuses a storey height by
// putting the focus on its box.
TEST_F(TypedRoofNumbersTest, EveryQuestionFieldAndPanelRow)
{
    const char* focus = "SetFocus dialog 1093 control 1277";
    const auto nan = [] { return std::nan(""); };
    const auto asFloat = [](double typed) { return static_cast<double>(static_cast<float>(typed)); };
    const typedtext::Field fields[] = {
        {"gable slope angle", "gable\n@5000,3000\n0,3000\n10000,3000\nradio 1312\ncheck 1308 1\nset 1299 ", "ok\n",
         "set 1299 30\nok\n", "", "请输入一个介于 -89 和 89 之间的数字。",
         [&] { return Solids("坡屋顶").empty() ? nan() : Extents(MeshFaces(Solids("坡屋顶"))).MinPoint().z; },
         [](double degrees) { return 12000 - 3000 * std::tan(degrees / 57.29578); }, 30, Empty::Refused, 0, 3, 89},
        {"roof panel slope", "orvroof 0 0 slope=30 40000,0 52000,0 52000,8000 40000,8000\nsetprop #2 3 ", "", "", "",
         nullptr, [this] { return Values(*COrvRoof::Cast(Entity(decObjectId(2))->GetBaseObject())).slopes.at(0); },
         asFloat, 30, Empty::Refused, 0, 100, 89},
        {"dormer start distance",
         "extrude 200 20000,0,0 30000,0,0 30000,12000,6000 20000,12000,6000\ndormer\n@25000,3000\nset 1157 100\n"
         "set 1159 0\nok\n~23000,2500\n",
         "", "2500\n", "*cancel*\ncancel\n", nullptr,
         [&] {
             GePoint3d origin;
             GeVector3d x, y, z;
             if (Solids("老虎窗").empty())
                 return nan();
             Solids("老虎窗")[0]->GetLocalTM().GetCoordSystem(origin, x, y, z);
             return origin.x - 20000;
         },
         [](double typed) { return typed; }, 2500, Empty::Ends},
        {"balcony storey height", "pline 2000,0 2000,-1500 8000,-1500 8000,0\nbalcony\n@5000,3000\nlast\nset 1154 2\n"
         "set 1277 ", "ok\n", "set 1277 3000\nok\n", "", focus,
         [&] {
             std::vector<double> levels;
             for (const decDbEntity3d* solid : Solids("阳台"))
                 if (solid->GetBuilder()->IsKindOf(decDbExtrude::Desc()))
                     levels.push_back(solid->GetBoundBox().MinPoint().z);
             return levels.size() == 2 ? levels[1] : nan();
         },
         [](double typed) { return std::trunc(typed); }, 3000},
    };
    const typedtext::Runner runner{[this] { SetUp(); }, [this](const std::string& lines) { Script(lines); },
                                   [this, focus] {
                                       std::string out = Transcript();
                                       for (const std::string& call : host::EventLog::Instance().Calls(focus))
                                           out += call + "\n";
                                       return out;
                                   }};
    for (const typedtext::Field& field : fields)
        runner.Expect(field);
}

}  // namespace
