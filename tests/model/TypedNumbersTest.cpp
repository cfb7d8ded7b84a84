// Typed numbers: the reading of a typed text, and every question and dialog field of the
// building and window commands that reads one, driven by the lines a user types.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "BuildCommand.h"
#include "BuildCommandTestSupport.h"
#include "ReOrderWindowFloor.h"
#include "TypedNumbers.h"
#include "TypedTextTable.h"
#include "WindowTestSupport.h"

using namespace buildtest;
using typedtext::Empty;

namespace {

// Besides the typos of the command tables: blanks, hexadecimal, and the ranges of int and float.
TEST(TypedNumber, TheWholeTextOrNothing)
{
    const std::optional<double> none;
    EXPECT_EQ(TypedNumber(" \t-.5 "), -0.5);
    EXPECT_EQ(TypedNumber("0x10"), 16.0);
    EXPECT_EQ(TypedNumber("1,5"), none);
    EXPECT_EQ(TypedNumber("1e309"), none);
    EXPECT_EQ(TypedNumber("  "), none);
    EXPECT_EQ(TypedInt("-2147483648.9"), -2147483647 - 1);
    EXPECT_EQ(TypedInt("2147483648"), std::nullopt);
    EXPECT_EQ(TypedInt("3.9x"), std::nullopt);
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
        g_startWindowFloor = g_startWindowIndex = 1;
        AddBuilding("A座", 30000, {{0, 0, 0}, {6000, 0, 0}, {6000, 8000, 0}, {0, 8000, 0}});  // #1, 6 m south wall
    }
    void Expect(std::initializer_list<typedtext::Field> fields)
    {
        const typedtext::Runner runner{[this] { SetUp(); }, [this](const std::string& lines) { Script(lines); },
                                       [this] { return Transcript(); }};
        for (const typedtext::Field& field : fields)
            runner.Expect(field);
    }
    // A value of the i-th window made, NaN when there is none.
    template <class Of>
    static std::function<double()> OfWindow(std::size_t i, Of of)
    {
        return [i, of] { return i < Windows().size() ? of(Windows()[i]) : std::nan(""); };
    }
    static inline const auto kWidth = OfWindow(0, [](const PlacedWindow& w) { return w.window->Width(); });
    static inline const auto kHeight = OfWindow(0, [](const PlacedWindow& w) { return w.window->Height(); });
    static inline const auto kSill = OfWindow(0, [](const PlacedWindow& w) { return w.origin.z; });
    static inline const std::function<double()> kStorey = [] {
        return OfWindow(1, [](const PlacedWindow& w) { return w.origin.z; })() - kSill();
    };
    static double Whole(double typed) { return std::trunc(typed); }
};

TEST_F(TypedNumbersTest, EveryQuestionAndFieldOfTheBuildingCommands)
{
    const std::string outline = "pline closed 20000,0 30000,0 30000,8000 20000,8000\n";
    const auto metres = [](double typed) { return std::round(typed * 1000); };
    Expect({
        {"build height", outline + "build\n#2\n", "", "7\n", "0\n\n", "提示：请输入合理的高度值。",
         [] { return Buildings().size() == 2 ? Buildings().back()->Height() : std::nan(""); }, metres, 7,
         Empty::Default, 24000},
        {"floor table elevation", outline + "build\n#2\nt\nset 1319 3000\nset 1155 ", "ok\n", "set 1155 2\nok\n", "\n",
         "提示：请输入合理的底高度值。", [] { return OnLayer("建筑").empty() ? std::nan("") : FrameOrigin(OnLayer("建筑")[0]).z; },
         metres, 2},
        {"layerline elevation", "layerline\n#1\n", "", "2\n", "3\n1\n*cancel*\n", "提示：请输入合理的底高度值。",
         [] { return FloorLineHeights().empty() ? std::nan("") : FloorLineHeights()[0]; },
         [](double typed) { return typed * 1000 + 3000; }, 2, Empty::Default, 3000},
    });
}

TEST_F(TypedNumbersTest, EveryQuestionAndFieldOfTheWindowCommands)
{
    const std::string order = "orderwin\n#1@500,0\n\n", quick = "qwin\n@2000,0\n\n";
    const auto plusStorey = [](double typed) { return Whole(typed) + 2900; };
    Expect({
        {"2pwin width", "2pwin\nok\n1000,0\n~5000,0\n", "", "1200\n", "*cancel*\n", nullptr, kWidth,
         [](double typed) { return std::floor(typed + 0.5); }, 1200, Empty::Ends},
        {"2pwin window height", "2pwin\nset 1278 ", "ok\n", "set 1278 1500\nok\n", "1000,0\n2200,0\n*cancel*\n",
         "窗高应大于0!", kHeight, Whole, 1500},
        {"2pwin storey height", "2pwin\nset 1156 2\nset 1277 ", "ok\n", "set 1277 3000\nok\n",
         "1000,0\n2200,0\n*cancel*\n", "层高应大于0!", kStorey, Whole, 3000},
        {"orderwin spacing", order + "ok\n", "", "700\n", "1500\n*cancel*\n", "窗间距不能是负值!",
         OfWindow(0, [](const PlacedWindow& w) { return w.origin.x - w.window->Width() / 2; }), Whole, 700,
         Empty::Default, 1000},
        {"orderwin width", order + "ok\n1000\n", "", "1200\n", "*cancel*\n", "窗宽必须是正值!", kWidth, Whole, 1200,
         Empty::Default, 1500},
        {"orderwin dialog width", order + "set 1279 ", "ok\n", "set 1279 1200\nok\n", "1000\n\n*cancel*\n",
         "窗宽必须是正值!", kWidth, Whole, 1200},
        {"orderwin window height", order + "set 1278 ", "ok\n", "set 1278 1200\nok\n", "1000\n\n*cancel*\n",
         "窗高应大于0!", kHeight, Whole, 1200},
        {"orderwin storey height", order + "set 1156 2\nset 1277 ", "ok\n", "set 1277 3000\nok\n",
         "1000\n\n*cancel*\n", "层高应大于0!", kStorey, Whole, 3000},
        {"orderwin sill", order + "set 1280 ", "ok\n", "set 1280 750\nok\n", "1000\n\n*cancel*\n",
         "请输入合理的窗台标高值。", kSill, Whole, 750},
        // Spinning the floor up moves the sill a storey; from a sill or storey height that is
        // no number neither moves.
        {"orderwin sill spun", order + "set 1280 ", "spin 1290 1\n", "set 1280 750\nspin 1290 1\n",
         "ok\n1000\n\n*cancel*\n", "请输入合理的窗台标高值。", kSill, plusStorey, 750},
        {"qwin storey height", quick + "set 1223 2\nset 1277 ", "ok\n", "set 1277 3000\nok\n", "*cancel*\n",
         "请输入合理的层高值。", kStorey, Whole, 3000, Empty::Refused, 0, 5},
        // A start number ignores leading "-" signs; what is left must be a whole number.
        {"orderfloor start", "2pwin\nok\n1000,0\n2200,0\n*cancel*\norderfloor\nall\n", "", "3\n", "*cancel*\n",
         nullptr, OfWindow(0, [](const PlacedWindow& w) { return w.window->Floor(); }), Whole, 3, Empty::Default, 1},
        {"orderindex start", "2pwin\nok\n1000,0\n2200,0\n*cancel*\norderindex\nall\n", "", "3\n", "*cancel*\n",
         nullptr, OfWindow(0, [](const PlacedWindow& w) { return w.window->Index(); }), Whole, 3, Empty::Default, 1},
        {"qwin storey height spun", quick + "set 1277 ", "spin 1274 1\n", "set 1277 3000\nspin 1274 1\n",
         "ok\n*cancel*\n", "请输入合理的层高值。", kSill, [](double typed) { return Whole(typed) + 900; }, 3000,
         Empty::Refused, 0, 5},
    });
}

}  // namespace
