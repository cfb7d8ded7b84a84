// Typed numbers: the reading of a typed text, and every question and dialog field of the
// building and window commands that reads one, driven by the lines a user types.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "BuildCommand.h"
#include "BuildCommandTestSupport.h"
#include "TypedNumbers.h"
#include "TypedTextTable.h"
#include "WindowTestSupport.h"

using namespace buildtest;
using typedtext::Empty;
using typedtext::Field;

namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

TEST(TypedNumber, TheWholeTextOrNothing)
{
    const struct {
        const char* text;
        std::optional<double> number;
        std::optional<int> whole;
    } cases[] = {
        {"18.5", 18.5, 18},       {" \t-3.5 ", -3.5, -3},  {"+5", 5.0, 5},          {"1e3", 1000.0, 1000},
        {"-.5", -0.5, 0},         {"0x10", 16.0, 16},      {"2147483647", 2147483647.0, INT_MAX},
        {"-2147483648.9", -2147483648.9, INT_MIN},         {"2147483648", 2147483648.0, std::nullopt},
        {"1e308", 1e308, std::nullopt},                    {"1e309", std::nullopt, std::nullopt},
        {"18。5", std::nullopt, std::nullopt},             {"１８", std::nullopt, std::nullopt},
        {"18x5", std::nullopt, std::nullopt},              {"1 8", std::nullopt, std::nullopt},
        {"1,5", std::nullopt, std::nullopt},               {"-na", std::nullopt, std::nullopt},
        {"-nan", std::nullopt, std::nullopt},              {"inf", std::nullopt, std::nullopt},
        {"", std::nullopt, std::nullopt},                  {"  ", std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TypedNumber(c.text), c.number) << '"' << c.text << '"';
        EXPECT_EQ(TypedInt(c.text), c.whole) << '"' << c.text << '"';
    }
    // A float field takes what a float holds.
    EXPECT_EQ(TypedFloat("3.4e38"), 3.4e38f);
    EXPECT_EQ(TypedFloat("3.5e38"), std::nullopt);
}

class TypedNumbersTest : public WindowModelTest {
protected:
    void SetUp() override
    {
        WindowModelTest::SetUp();
        g_lastBuildHeight = 24.0;
        g_lastBaseElevation = 0.0;
        // #1: a building with a 6 m south wall.
        AddBuilding("A座", 30000, {{0, 0, 0}, {6000, 0, 0}, {6000, 8000, 0}, {0, 8000, 0}});
    }
    typedtext::Runner Runner()
    {
        return {[this] { SetUp(); }, [this](const std::string& lines) { Script(lines); },
                [this] { return Transcript(); }};
    }
    // A value of the first windows made, or nothing when there are fewer.
    static double OfWindow(std::size_t i, double (*of)(const PlacedWindow&))
    {
        const std::vector<PlacedWindow> windows = Windows();
        return i < windows.size() ? of(windows[i]) : kNone;
    }
    static double Width() { return OfWindow(0, [](const PlacedWindow& w) { return 1.0 * w.window->Width(); }); }
    static double Height() { return OfWindow(0, [](const PlacedWindow& w) { return 1.0 * w.window->Height(); }); }
    static double Sill() { return OfWindow(0, [](const PlacedWindow& w) { return w.origin.z; }); }
    static double Storey() { return OfWindow(1, [](const PlacedWindow& w) { return w.origin.z; }) - Sill(); }
    static double Whole(double typed) { return std::trunc(typed); }
};

TEST_F(TypedNumbersTest, EveryQuestionAndFieldOfTheBuildingCommands)
{
    const std::string outline = "pline closed 20000,0 30000,0 30000,8000 20000,8000\n";
    const auto height = [] { return Buildings().size() == 2 ? 1.0 * Buildings().back()->Height() : kNone; };
    const auto base = [] { return OnLayer("建筑").empty() ? kNone : FrameOrigin(OnLayer("建筑").back()).z; };
    const auto firstLine = [] { return FloorLineHeights().empty() ? kNone : FloorLineHeights().front(); };
    const auto metres = [](double typed) { return std::round(typed * 1000); };
    const Field fields[] = {
        {"build height", outline + "build\n#2\n", "", "7\n", "0\n\n", "提示：请输入合理的高度值。", height, metres, 7,
         Empty::Default, 24000},
        {"floor table elevation", outline + "build\n#2\nt\nset 1319 3000\nset 1155 ", "ok\n", "set 1155 2\nok\n", "\n",
         "提示：请输入合理的底高度值。", base, metres, 2},
        {"layerline elevation", "layerline\n#1\n", "", "2\n", "3\n1\n*cancel*\n", "提示：请输入合理的底高度值。", firstLine,
         [](double typed) { return typed * 1000 + 3000; }, 2, Empty::Default, 3000},
    };
    for (const Field& field : fields)
        Runner().Expect(field);
}

TEST_F(TypedNumbersTest, EveryQuestionAndFieldOfTheWindowCommands)
{
    const std::string order = "orderwin\n#1@500,0\n\n", quick = "qwin\n@2000,0\n\n";
    const auto spacing = [] { return OfWindow(0, [](const PlacedWindow& w) { return w.origin.x - w.window->Width() / 2; }); };
    const Field fields[] = {
        {"2pwin width", "2pwin\nok\n1000,0\n~5000,0\n", "", "1200\n", "*cancel*\n", nullptr, Width,
         [](double typed) { return std::floor(typed + 0.5); }, 1200, Empty::Ends},
        {"2pwin window height", "2pwin\nset 1278 ", "ok\n", "set 1278 1500\nok\n", "1000,0\n2200,0\n*cancel*\n",
         "窗高应大于0!", Height, Whole, 1500},
        {"2pwin storey height", "2pwin\nset 1156 2\nset 1277 ", "ok\n", "set 1277 3000\nok\n",
         "1000,0\n2200,0\n*cancel*\n", "层高应大于0!", Storey, Whole, 3000},
        {"orderwin spacing", order + "ok\n", "", "700\n", "1500\n*cancel*\n", "窗间距不能是负值!", spacing, Whole, 700,
         Empty::Default, 1000},
        {"orderwin width", order + "ok\n1000\n", "", "1200\n", "*cancel*\n", "窗宽必须是正值!", Width, Whole, 1200,
         Empty::Default, 1500},
        {"orderwin dialog width", order + "set 1279 ", "ok\n", "set 1279 1200\nok\n", "1000\n\n*cancel*\n",
         "窗宽必须是正值!", Width, Whole, 1200},
        {"orderwin window height", order + "set 1278 ", "ok\n", "set 1278 1200\nok\n", "1000\n\n*cancel*\n",
         "窗高应大于0!", Height, Whole, 1200},
        {"orderwin storey height", order + "set 1156 2\nset 1277 ", "ok\n", "set 1277 3000\nok\n",
         "1000\n\n*cancel*\n", "层高应大于0!", Storey, Whole, 3000},
        {"orderwin sill", order + "set 1280 ", "ok\n", "set 1280 750\nok\n", "1000\n\n*cancel*\n",
         "请输入合理的窗台标高值。", Sill, Whole, 750},
        // The floor spun up moves the sill by the storey height; from a sill that is no
        // number neither moves.
        {"orderwin sill spun", order + "set 1280 ", "spin 1290 1\n", "set 1280 750\nspin 1290 1\n",
         "ok\n1000\n\n*cancel*\n", "请输入合理的窗台标高值。", Sill, [](double typed) { return Whole(typed) + 2900; },
         750},
        {"qwin storey height", quick + "set 1223 2\nset 1277 ", "ok\n", "set 1277 3000\nok\n", "*cancel*\n",
         "请输入合理的层高值。", Storey, Whole, 3000, Empty::Refused, 0, 5},
        {"qwin storey height spun", quick + "set 1277 ", "spin 1274 1\n", "set 1277 3000\nspin 1274 1\n",
         "ok\n*cancel*\n", "请输入合理的层高值。", Sill, [](double typed) { return Whole(typed) + 900; }, 3000,
         Empty::Refused, 0, 5},
    };
    for (const Field& field : fields)
        Runner().Expect(field);
}

}  // namespace
