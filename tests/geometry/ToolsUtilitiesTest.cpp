// The CTools utilities: string checks and splitting, clock stamps, the dialog frame,
// rounding, the distance pick, the path display, and the point and segment metrics.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <ctime>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include "DbDatabase.h"
#include "DeviceContext.h"
#include "EventLog.h"
#include "ScriptedUser.h"
#include "Tools.h"
#include "ToolsTestSupport.h"
#include "WorkingDrawing.h"

namespace {

using namespace tools_test;
using ToolsHostTest = ModuleTest;

std::vector<std::string> Split(const char* text, const char* separator, std::vector<std::string> before = {})
{
    CArray<CString, CString> out;
    for (const std::string& s : before)
        out.Add(CString(s));
    CTools::SplitString(text, separator, out);
    std::vector<std::string> pieces;
    for (const CString& s : out)
        pieces.emplace_back(static_cast<const char*>(s));
    return pieces;
}

// ---- string checks -----------------------------------------------------------------

// Random short texts against the grammar written as regular expressions: every text of up
// to two characters and most of three come up, the lone sign and point among them.
TEST(ToolsStrings, RandomTextsFollowTheGrammar)
{
    const std::regex number(R"(^([+-]?[0-9]*(\.[0-9]*)?|\.[0-9]*)$)");
    const std::regex integer(R"(^[+-]?[0-9]*$)");
    const std::string alphabet = "0123456789+-.e a,";
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> length(0, 5), pick(0, static_cast<int>(alphabet.size()) - 1);
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        for (int n = length(rng); n > 0; --n)
            text += alphabet[static_cast<std::size_t>(pick(rng))];
        const int isNumber = !text.empty() && std::regex_match(text, number) ? 1 : 0;
        const int isInteger = !text.empty() && std::regex_match(text, integer) ? 1 : 0;
        ASSERT_EQ(CTools::IsStringANumber(text.c_str()), isNumber) << '"' << text << '"';
        ASSERT_EQ(CTools::IsStringAInt(text.c_str()), isInteger) << '"' << text << '"';
    }
}

TEST(ToolsStrings, SplitKeepsNonEmptyPiecesAndAppends)
{
    EXPECT_EQ(Split("a,,b,", ","), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(Split("abc", ","), (std::vector<std::string>{"abc"}));
    EXPECT_TRUE(Split("abc", "").empty());
    EXPECT_TRUE(Split("", ",").empty());
    EXPECT_EQ(Split("a--b--c", "--"), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(Split(",x", ",", {"kept"}), (std::vector<std::string>{"kept", "x"}));
}

// Each search restarts one character after a hit: a separator that overlaps itself is found
// again inside itself, and the piece between such hits is empty (never of negative length).
TEST(ToolsStrings, SplitWithASelfOverlappingSeparator)
{
    EXPECT_TRUE(Split("aaa", "aa").empty());
    EXPECT_TRUE(Split("aaaa", "aa").empty());
    EXPECT_EQ(Split("xaaay", "aa"), (std::vector<std::string>{"x", "y"}));
    EXPECT_EQ(Split("baaab", "aa"), (std::vector<std::string>{"b", "b"}));
    EXPECT_EQ(Split("1aaa2aa3", "aa"), (std::vector<std::string>{"1", "2", "3"}));
}

// ---- clock stamps ------------------------------------------------------------------

std::string Stamp(const char* format)
{
    const std::time_t now = std::time(nullptr);
    std::tm t{};
    localtime_r(&now, &t);
    char text[64];
    std::snprintf(text, sizeof text, format, t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min);
    return text;
}

TEST(ToolsClock, StampsOfTheLocalMinute)
{
    // Retried when the minute turns over during the comparison.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const std::string before1 = Stamp("%d%d%d%d%d'");
        const std::string before2 = Stamp("%d.%d.%d %d:%d");
        const std::string got1 = static_cast<const char*>(CTools::CurrentTimeToStr());
        const std::string got2 = static_cast<const char*>(CTools::CurrentTimeToStr2());
        if (before1 != Stamp("%d%d%d%d%d'"))
            continue;
        EXPECT_EQ(got1, before1);
        EXPECT_EQ(got2, before2);
        EXPECT_TRUE(std::regex_match(got2, std::regex(R"(\d{4}\.[1-9]\d?\.[1-9]\d? \d{1,2}:\d{1,2})"))) << got2;
        return;
    }
    FAIL() << "the clock kept turning over";
}

// ---- dialog frame, rounding --------------------------------------------------------

TEST_F(ToolsHostTest, DialogFrameIsTwoRedRectangles)
{
    CDC dc;
    CTools::DlgDrawRect(&dc, CRect(10, 20, 110, 70));
    EXPECT_EQ(host::EventLog::Instance().Calls("Draw3dRect"),
              (std::vector<std::string>{"Draw3dRect 10 20 110 70 255 255", "Draw3dRect 11 21 109 69 255 255"}));
    CTools::DlgDrawRect(nullptr, CRect(0, 0, 5, 5));
    EXPECT_EQ(host::EventLog::Instance().Calls("Draw3dRect").size(), 2u);
}

// The first decimal only, halves away from zero; beyond 32 bits the rounding goes on in
// 64, beyond long it saturates instead of converting out of range.
TEST(ToolsRounding, FirstDecimalOnlyHalvesAwayFromZero)
{
    const std::pair<double, long> cases[] = {
        {2.45, 2},  {2.5, 3},   {-2.5, -3},           {2.4999, 2},         {2.95, 3},
        {0.45, 0},  {0.5, 1},   {-0.5, -1},           {-0.45, 0},          {0.0, 0},
        {NAN, 0},   {3e9 + 0.5, 3000000001L},         {-3e9 - 0.4, -3000000000L},
        {1e300, LONG_MAX / 10 + 1},  {-1e300, -(LONG_MAX / 10 + 1)},  {INFINITY, LONG_MAX / 10 + 1},
    };
    for (const auto& [value, rounded] : cases)
        EXPECT_EQ(CTools::DoubleToLong(value), rounded) << value;
}

// ---- distance pick and path display ------------------------------------------------

TEST_F(ToolsHostTest, PickDistanceTakesTwoPoints)
{
    Answer("0,0\n3,4,0");
    double distance = -1.0;
    EXPECT_EQ(CTools::PickDistance(distance), 1);
    EXPECT_DOUBLE_EQ(distance, 5.0);
    EXPECT_TRUE(host::EventLog::Instance().Shown("请点取距离:"));
    std::vector<std::string> calls;
    for (const std::string& call : host::EventLog::Instance().Calls("GetPoint flags=0xE1E1"))
        if (call.find("->") == std::string::npos)
            calls.push_back(call);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].find("base="), std::string::npos);
    EXPECT_NE(calls[1].find("base="), std::string::npos);
}

TEST_F(ToolsHostTest, PickDistanceCancelledLeavesTheDistance)
{
    double distance = 7.0;
    Answer("*cancel*");
    EXPECT_EQ(CTools::PickDistance(distance), 0);
    Answer("1,1\n*cancel*");
    EXPECT_EQ(CTools::PickDistance(distance), 0);
    Answer("1,1\n\n");  // Enter at the second point
    EXPECT_EQ(CTools::PickDistance(distance), 0);
    EXPECT_EQ(distance, 7.0);
}

TEST_F(ToolsHostTest, ShowPathClosesMarksAndDraws)
{
    const GePoint3dArray path = {{0, 0, 0}, {10, 0, 0}, {10, 5, 0}};
    CTools::ShowPath(path, 1, 1, 1, 0xFF, 0);
    const TempGraphics& temp = dec::GetWorkingDatabase()->GetTempGraphics();
    ASSERT_EQ(temp.Marks().size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(temp.Marks()[i].point, path[i]);
        EXPECT_EQ(temp.Marks()[i].size, 10);
        EXPECT_EQ(temp.Marks()[i].colour, 0xFFu);
    }
    ASSERT_EQ(temp.Polylines().size(), 1u);
    const TempPolyline& line = temp.Polylines()[0];
    ASSERT_EQ(line.points.size(), 4u);
    EXPECT_EQ(line.points.back(), path.front());
    EXPECT_EQ(line.width, 1);
}

TEST_F(ToolsHostTest, ShowPathFlagsOtherThanOneAndLongRunsShowNothing)
{
    const TempGraphics& temp = dec::GetWorkingDatabase()->GetTempGraphics();
    CTools::ShowPath({{0, 0, 0}, {1, 0, 0}}, 0, 2, 2, 0xFF, 0);
    CTools::ShowPath({}, 1, 1, 1, 0xFF, 0);
    EXPECT_TRUE(temp.Marks().empty());
    EXPECT_TRUE(temp.Polylines().empty());
    CTools::ShowPath({{0, 0, 0}, {1, 0, 0}}, 0, 0, 1, 0xFF, 0);
    ASSERT_EQ(temp.Polylines().size(), 1u);
    EXPECT_EQ(temp.Polylines()[0].points.size(), 2u);

    GePoint3dArray run(150000);
    CTools::ShowPath(run, 0, 0, 1, 0xFF, 0);
    EXPECT_EQ(temp.Polylines().size(), 1u);
    run.pop_back();
    CTools::ShowPath(run, 0, 0, 1, 0xFF, 0);
    EXPECT_EQ(temp.Polylines().size(), 2u);
}

// ---- point metrics -----------------------------------------------------------------

TEST(ToolsMetrics, DistancesOfPointsAndFromLevelLines)
{
    EXPECT_DOUBLE_EQ(CTools::DistwithTwoPt({1, 2, 3}, {4, 6, 15}), 13.0);
    EXPECT_DOUBLE_EQ(CTools::ptDistToLineWithTwoPts({5, 7, 0}, {0, 0, 0}, {10, 0, 0}), 7.0);
    EXPECT_EQ(CTools::ptDistToLineWithTwoPts({5, 7, 0}, {0, 0, 0}, {0.5, 0, 0}), 0.0);
    // The textbook distance from the line, for level lines at any height.
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> u(-100, 100);
    for (int i = 0; i < 200; ++i) {
        const double z = u(rng);
        const GePoint3d a(u(rng), u(rng), z), b(u(rng), u(rng), z), p(u(rng), u(rng), u(rng));
        const double dx = b.x - a.x, dy = b.y - a.y;
        const double expected = std::abs(dx * (p.y - a.y) - dy * (p.x - a.x)) / std::hypot(dx, dy);
        if (std::hypot(dx, dy) < 1.0)
            continue;
        ASSERT_NEAR(CTools::ptDistToLineWithTwoPts(p, a, b), expected, 1e-9 * (1 + expected));
    }
}

// ---- segment crossing ----------------------------------------------------------------

struct Both {
    int pointResult;
    GePoint3d point;
    int parameterResult;
    double t;
};

// Both forms; the outputs start at sentinels so an untouched output shows.
Both Cross(GePoint3d p1, GePoint3d p2, GePoint3d q1, GePoint3d q2, double tol)
{
    Both r{0, GePoint3d(-999, -999, -999), 0, -999.0};
    r.pointResult = CTools::GetIntersectPWithTwoLineSeg(p1, p2, q1, q2, r.point, tol);
    r.parameterResult = CTools::GetIntersectPWithTwoLineSeg(p1, p2, q1, q2, r.t, tol);
    return r;
}

// Both forms over one table; a result of 0 must leave both outputs at their sentinels.
// t refers to the second segment lengthened by tol at both ends.
TEST(ToolsSegmentCrossing, TableOfContacts)
{
    struct Case {
        GePoint3d p1, p2, q1, q2;
        double tol;
        int result;
        GePoint3d point;
        double t, eps;  // eps 0: exact
        const char* what;
    };
    const GePoint3d o(0, 0, 0), x10(10, 0, 0), none(-999, -999, -999);
    const Case cases[] = {
        {o, x10, {5, -5, 0}, {5, 5, 0}, 0.001, 1, {5, 0, 0}, 0.5, 1e-12, "mid crossing"},
        {o, x10, {5, -5, 0}, {5, 15, 0}, 0.001, 1, {5, 0, 0}, 5.001 / 20.002, 1e-12, "t along the lengthened q"},
        {o, x10, x10, {20, 0, 0}, 0.001, 1, x10, 0.0, 0, "parallel, end contact at q1"},
        {o, x10, {20, 0, 0}, x10, 0.001, 1, x10, 1.0, 0, "parallel, end contact at q2"},
        {o, x10, {10.002, 0, 0}, {20, 0, 0}, 0.001, 0, none, -999, 0, "end contact is closer than tol"},
        {o, x10, o, x10, 0.001, 1, o, 0.0, 0, "q1 is tested before q2"},
        {o, x10, {0, 1, 0}, {10, 1, 0}, 0.001, 0, none, -999, 0, "parallel apart"},
        {o, x10, {2, 0, 0}, {8, 0, 0}, 0.001, 0, none, -999, 0, "collinear overlap meets only end to end"},
        {o, x10, {0, -0.05, 0}, {10, 0.05, 0}, 0.001, 0, none, -999, 0, "within a degree is parallel"},
        {o, x10, {0, -0.1, 0}, {10, 0.1, 0}, 0.001, 1, {5, 0, 0}, 0.5, 1e-9, "beyond a degree crosses"},
        {o, x10, {5, 0, 0}, {5, 5, 0}, 0.001, 1, {5, 0, 0}, 0.001 / 5.002, 1e-15, "T-junction"},
        {o, x10, x10, {10, 5, 0}, 0.001, 1, x10, 0.001 / 5.002, 1e-15, "corner to corner"},
        {o, x10, {10.0005, -5, 0}, {10.0005, 5, 0}, 0.001, 1, {10.0005, 0, 0}, 0.5, 1e-12, "within the lengthening"},
        {o, x10, {10.002, -5, 0}, {10.002, 5, 0}, 0.001, 0, none, -999, 0, "beyond the lengthening"},
        {o, x10, {5, 1, 0}, {5, 5, 0}, 0.001, 0, none, -999, 0, "apart"},
        {o, x10, {5, 0, 0}, {5, 5, 0}, 0.0, 1, {5, 0, 0}, 0.0, 0, "zero tolerance stays zero"},
        {o, x10, {5, 0, 0}, {5, 5, 0}, -1.0, 1, {5, 0, 0}, 1e-6 / (5 + 2e-6), 1e-15, "negative tol means 1e-6"},
        {o, x10, {5, -5, 3}, {5, 5, 3}, 0.001, 1, {5, 0, 3}, 0.5, 1e-12, "skew: the point lies on q"},
        {x10, x10, x10, {20, 0, 0}, 0.001, 1, x10, 0.0, 0, "zero-length p at q1"},
        {{15, 0, 0}, {15, 0, 0}, x10, {20, 0, 0}, 0.001, 0, none, -999, 0, "zero-length p inside q"},
    };
    for (const Case& c : cases) {
        const Both r = Cross(c.p1, c.p2, c.q1, c.q2, c.tol);
        EXPECT_EQ(r.pointResult, c.result) << c.what;
        EXPECT_EQ(r.parameterResult, c.result) << c.what;
        ExpectPoint(r.point, c.point, c.eps);
        EXPECT_NEAR(r.t, c.t, c.eps) << c.what;
    }
}

// Coplanar segments well away from the tolerance bands, against the line-line crossing
// of the lengthened segments computed in plan.
TEST(ToolsSegmentCrossing, RandomCoplanarSegments)
{
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> u(-50, 50);
    const double tol = 0.001;
    int crossings = 0;
    for (int i = 0; i < 3000; ++i) {
        const GePoint3d p1(u(rng), u(rng), 2), p2(u(rng), u(rng), 2), q1(u(rng), u(rng), 2), q2(u(rng), u(rng), 2);
        GeVector3d d1 = p2 - p1, d2 = q2 - q1;
        if (d1.Length() < 1 || d2.Length() < 1)
            continue;
        d1.Normalize();
        d2.Normalize();
        const double angle = d1.AngleTo(d2);
        if (angle < 0.05 || angle > 3.09)
            continue;
        const GePoint3d a = p1 - d1 * tol, b = p2 + d1 * tol, c = q1 - d2 * tol, d = q2 + d2 * tol;
        const double den = (b.x - a.x) * (d.y - c.y) - (b.y - a.y) * (d.x - c.x);
        const double s = ((c.x - a.x) * (d.y - c.y) - (c.y - a.y) * (d.x - c.x)) / den;  // along p
        const double t = ((c.x - a.x) * (b.y - a.y) - (c.y - a.y) * (b.x - a.x)) / den;  // along q
        const bool clearlyIn = s > 0.01 && s < 0.99 && t > 0.01 && t < 0.99;
        const bool clearlyOut = s < -0.01 || s > 1.01 || t < -0.01 || t > 1.01;
        if (!clearlyIn && !clearlyOut)
            continue;
        const Both r = Cross(p1, p2, q1, q2, tol);
        ASSERT_EQ(r.pointResult, clearlyIn ? 1 : 0) << i;
        ASSERT_EQ(r.parameterResult, clearlyIn ? 1 : 0) << i;
        if (clearlyIn) {
            ++crossings;
            ASSERT_NEAR(r.t, t, 1e-9);
            ExpectPoint(r.point, c * (1 - t) + d * t, 1e-9);
        }
    }
    EXPECT_GT(crossings, 100);
}

}  // namespace
