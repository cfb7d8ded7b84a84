// The "*.osm" reader on files written here (GBK, as the other software writes them): the
// field rules, the bulge rule, and malformed files taken whole or not at all.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <sstream>

#include "DrawingTestSupport.h"
#include "ImportModelFile.h"
#include "OsmSample.h"
#include "OutlineCleanup.h"
#include "Quenra3dRunner.h"
#include "StdioFile.h"

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

struct Read {
    ModelFileResult result;
    std::vector<CImportBuildInfo> builds;
    std::vector<CImportWindowInfo> windows;
};

class ImportModelFileTest : public DrawingTest {
protected:
    void TearDown() override
    {
        host::mfc::FailReadsAfter(-1);
        DrawingTest::TearDown();
    }
    // Writes the UTF-8 text as a GBK file and reads it.
    Read ReadText(const std::string& text, bool gbk = true)
    {
        const std::string path = m_folder.Write("model.osm", gbk ? ToGbk(text) : text);
        Read read;
        read.result = ReadModelFile(path.c_str(), read.builds, read.windows);
        return read;
    }

    TestFolder m_folder;
};

// A square building record of side 10 at the origin with the given name line and tail lines.
std::string SquareRecord(const std::string& head = "楼,0,3", const std::string& tail = "组,0,0")
{
    return head + "\n8\n0,0,0\n0,\n10,0,0\n0,\n10,10,0\n0,\n0,10,0\n0,\n" + tail + "\n";
}

// What was read, a line per record: a building's name, elevation, height, group, owned window
// position and floor, direction, vertex count and second vertex; a window's fields in order.
std::string Describe(const Read& r)
{
    std::ostringstream out;
    for (const CImportBuildInfo& b : r.builds) {
        const GeVector3d& n = b.m_vecNormal;
        const GePoint3d p = b.m_ptsOutline.size() > 1 ? b.m_ptsOutline[1] : GePoint3d();
        out << "B " << b.m_strName << "|" << b.m_dblElevation << "|" << b.m_dblHeight << "|" << b.m_strGroup << "|"
            << b.m_nWinIndex << "|" << b.m_nWinFloor << "|" << n.x << "," << n.y << "," << n.z << "|"
            << b.m_ptsOutline.size() << "|" << p.x << "," << p.y << "\n";
    }
    for (const CImportWindowInfo& w : r.windows)
        out << "W " << w.m_nIndex << "|" << w.m_nFloor << "|" << w.m_strDoor << "|" << w.m_strBuild << "|"
            << w.m_dblWidth << "|" << w.m_dblHeight << "|" << w.m_strExtra << "|" << w.m_ptPos.x << "," << w.m_ptPos.y
            << "," << w.m_ptPos.z << "|" << w.m_dblAngle << "\n";
    return out.str();
}

TEST_F(ImportModelFileTest, FieldRulesOfTheFormat)
{
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        // No buildings: the second line is the ignored one.
        {"0\nignored\n1\n7,3,301,甲楼,1500,1800,x\n1,2,3,0.5\n", "W 7|3|301|甲楼|1500|1800|x|1,2,3|0.5\n"},
        // A name line without a comma gives the height alone.
        {"1\n" + SquareRecord("42.5"), "B |0|42.5|组|0|0|0,0,1|4|10,0\n"},
        // A bulge without its comma is 0; an outline without bulges stays as written, clockwise.
        {"1\n楼,0,3\n8\n0,0,0\n0\n0,10,0\n1.5\n10,10,0\n0,\n10,0,0\n0,\n组,2,5\n", "B 楼|0|3|组|2|5|0,0,1|4|0,10\n"},
        // Odd K: the last vertex has no bulge line (the arc before it has 16 inner points); a
        // bulge of 7 and an arc between equal vertices leave their edges straight.
        {"3\n甲楼,0,3\n5\n0,0,0\n1,\n10,0,0\n0,\n5,5,0\n,0,0\n"
         "甲楼,0,3\n6\n0,0,0\n7,\n10,0,0\n0,\n5,5,0\n0,\n,0,0\n"
         "甲楼,0,3\n8\n0,0,0\n1,\n0,0,0\n0,\n10,0,0\n0,\n5,5,0\n0,\n,0,0\n\n0\n",
         "B 甲楼|0|3||0|0|0,0,1|19|0.546716,-0.278118\nB 甲楼|0|3||0|0|0,0,1|3|10,0\nB 甲楼|0|3||0|0|0,0,1|4|0,0\n"},
        {"1\n" + SquareRecord("楼,0,3", "normal\n0,0,-1\n组,0,0"), "B 楼|0|3|组|0|0|0,0,-1|4|10,0\n"},
        // " normal" is the group line and shifts what follows: the direction line becomes the
        // next record's name line.
        {"2\n" + SquareRecord("楼,0,3", " normal") + SquareRecord("0,0,-1"),
         "B 楼|0|3||0|0|0,0,1|4|10,0\nB 0|0|-1|组|0|0|0,0,1|4|10,0\n"},
        // A six-field attribute line gives height 0 (and the whole line as the unused extra),
        // a three-field position line z 0 and the angle from x.
        {"0\n\n1\n1,2,户,楼,900,1500\n4,5,6\n", "W 1|2|户|楼|900|0|1,2,户,楼,900,1500|4,5,0|4\n"},
        // Numbers as atof reads them: blanks, prefixes, hex.
        {"0\n\n1\n 3x,0x10,,,  2.5e3m,1e1,\n0,0,0,abc\n", "W 3|0|||2500|10||0,0,0|0\n"},
        // An end at the window count gives no windows; a count written 0 (after blanks) is 0.
        {"1\n" + SquareRecord() + "ignored\n", "B 楼|0|3|组|0|0|0,0,1|4|10,0\n"},
        {"1\n" + SquareRecord() + "ignored\n  +0\n", "B 楼|0|3|组|0|0|0,0,1|4|10,0\n"},
        // A count line of blanks alone, or empty, is 0: a blank line too many at the end, CR LF
        // ends, an empty outline count.
        {"\nignored\n1\n7,3,,甲楼,1500,1800,\n1,2,3,0\n", "W 7|3||甲楼|1500|1800||1,2,3|0\n"},
        {" \t\r\nignored\r\n \r\n", ""},
        {"1\n" + SquareRecord() + "\n\n", "B 楼|0|3|组|0|0|0,0,1|4|10,0\n"},
        {"2\r\n楼,0,3\r\n\r\n组,0,0\r\n楼,0,3\r\n  \r\n组,0,0\r\n", "B 楼|0|3|组|0|0|0,0,1|0|0,0\nB 楼|0|3|组|0|0|0,0,1|0|0,0\n"},
    };
    for (const auto& [text, expected] : cases) {
        host::EventLog::Instance().Clear();
        const Read read = ReadText(text);
        EXPECT_TRUE(read.result.wholeFile) << text;
        EXPECT_EQ(Describe(read), expected) << text;
        EXPECT_THAT(Transcript(), Not(HasSubstr("读取模型数据文件出现错误"))) << text;
    }
}

// Half a circle on the closing edge of a 10 × 4 rectangle: 16 inner points on the circle
// over the chord, the area that of the rectangle and the half disc within the 17-chord error.
TEST_F(ImportModelFileTest, AHalfCircleOnTheClosingEdgeGivesTwentyVerticesOnTheCircle)
{
    char pi[32];
    std::snprintf(pi, sizeof pi, "%.17g", std::numbers::pi);
    const Read read = ReadText(std::string("1\n楼,0,3\n8\n0,0,0\n0,\n10,0,0\n0,\n10,4,0\n0,\n0,4,0\n") + pi + ",\n,0,0\n");
    const std::vector<GePoint3d>& outline = read.builds.at(0).m_ptsOutline;
    ASSERT_EQ(outline.size(), 20u);
    const GePoint3d middle(0, 2, 0);
    for (std::size_t i = 4; i < 20; ++i) {
        EXPECT_NEAR(outline[i].DistanceTo(middle), 2.0, 1e-9) << i;
        EXPECT_LT(outline[i].x, 0.0) << "bows outwards";
    }
    const double halfDisc = std::numbers::pi * 4 / 2;
    const double chordError = 4.0 / 2 * (17 * std::sin(std::numbers::pi / 17) - std::numbers::pi) / -1;
    EXPECT_NEAR(GetPtsSignedArea(outline) / 2, 40 + halfDisc, chordError + 1e-9);
    EXPECT_LT(GetPtsSignedArea(outline) / 2, 40 + halfDisc);
}

TEST_F(ImportModelFileTest, AClockwiseRingWithAnArcIsReversedKeepingItsShape)
{
    std::vector<GePoint3d> ccw{{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}};
    std::vector<double> ccwBulges{0, 1.0, 0, 0};
    std::vector<GePoint3d> cw(ccw.rbegin(), ccw.rend());
    // Reversed, the arc from (10,0) to (10,10) runs from (10,10) to (10,0), clockwise.
    std::vector<double> cwBulges{0, -1.0, 0, 0};
    OrientBulgeOutline(cw, cwBulges);
    EXPECT_EQ(cw, ccw);
    EXPECT_EQ(cwBulges, ccwBulges);
    OrientBulgeOutline(ccw, ccwBulges);
    EXPECT_EQ(cw, ccw);

    // The same arc read from the file either way: the same points, in the same ring.
    const Read fromCcw = ReadText("1\n楼,0,3\n8\n0,0,0\n0,\n10,0,0\n1,\n10,10,0\n0,\n0,10,0\n0,\n,0,0\n");
    const Read fromCw = ReadText("1\n楼,0,3\n8\n0,10,0\n0,\n10,10,0\n-1,\n10,0,0\n0,\n0,0,0\n0,\n,0,0\n");
    const std::vector<GePoint3d>& a = fromCcw.builds.at(0).m_ptsOutline;
    const std::vector<GePoint3d>& b = fromCw.builds.at(0).m_ptsOutline;
    ASSERT_EQ(a.size(), 20u);
    ASSERT_EQ(b.size(), 20u);
    EXPECT_GT(GetPtsSignedArea(b), 0.0);
    for (const GePoint3d& p : a)
        EXPECT_TRUE(std::any_of(b.begin(), b.end(), [&](const GePoint3d& q) { return p.DistanceTo(q) < 1e-9; })) << p.x
                                                                                                                 << "," << p.y;
}

TEST_F(ImportModelFileTest, MalformedFilesAreRefusedWholeAndBadRecordsAlone)
{
    const std::string window = "1,1,,楼,900,1500,\n0,0,0,0\n";
    struct Case {
        const char* name;
        std::string text;
        int line;           // the line the refusal names; 0: the file is read, records dropped
        std::size_t builds, windows;
        bool gbk = true;
    };
    const Case cases[] = {
        {"negative N", "-1\n", 1, 0, 0},
        {"negative K", "1\n楼,0,3\n-2\n,0,0\n", 3, 0, 0},
        {"negative M", "0\n\n-3\n", 3, 0, 0},
        {"N of 2147483647 with one record", "2147483647\n" + SquareRecord(), 13, 0, 0},
        {"K of 2147483647", "1\n楼,0,3\n2147483647\n0,0,0\n", 5, 0, 0},
        {"a count beyond every int", "99999999999999999999\n" + SquareRecord(), 13, 0, 0},
        {"the end inside a building", "1\n楼,0,3\n8\n0,0,0\n", 5, 0, 0},
        {"the end before a window's position line", "0\n\n1\n1,1,,楼,900,1500,\n", 5, 0, 0},
        {"text that is not GBK", "1\n" + SquareRecord("\xff\xfe楼,0,3"), 2, 0, 0, false},
        {"text that is not UTF-8 after the mark", "\xEF\xBB\xBF" "1\n" + SquareRecord(ToGbk("甲楼,0,3")), 2, 0, 0, false},
        // Count lines that hold no number would read as 0 and shift every later line.
        {"N of random bytes", "\x93\xfe\x01\x7f\n" + SquareRecord(), 1, 0, 0, false},
        {"N of blanks and a letter", "  x\n" + SquareRecord(), 1, 0, 0},
        {"K of a name", "1\n楼,0,3\n组\n0,0,0\n", 3, 0, 0},
        {"K with its digit after a letter", "1\n楼,0,3\nx8\n0,0,0\n", 3, 0, 0},
        {"M of random bytes", "1\n" + SquareRecord("A,0,3", "G,0,0") + "\n\xa1\xa1\n1,1,,A,900,1500,\n0,0,0,0\n", 14, 0, 0,
         false},
        {"M of a CR LF name", "0\r\n\r\n楼\r\n" + window, 3, 0, 0},
        {"nan, inf and 1e400 drop their records", "3\n" + SquareRecord("楼,0,nan") + SquareRecord("楼,inf,3") +
                                                      SquareRecord("楼,0,3", "normal\n0,0,1e400\n,0,0") +
                                                      "\n4\n1,1,,楼,900,1500,\n0,nan,0,0\n1,1,,楼,1e400,1500,\n0,0,0,0\n" +
                                                      "1,1,,楼,900,1500,\n0,0,0,-inf\n" + window,
         0, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        host::EventLog::Instance().Clear();
        const Read read = ReadText(c.text, c.gbk);
        EXPECT_EQ(read.builds.size(), c.builds);
        EXPECT_EQ(read.windows.size(), c.windows);
        if (c.line) {
            EXPECT_FALSE(read.result.wholeFile);
            EXPECT_THAT(Transcript(), HasSubstr("[数据文件错误] 读取模型数据文件出现错误！"));
            EXPECT_THAT(Transcript(), HasSubstr("模型数据文件第" + std::to_string(c.line) + "行："));
        } else {
            EXPECT_TRUE(read.result.wholeFile);
            EXPECT_EQ(read.result.droppedBuilds + read.result.droppedWindows, 6);
        }
    }
}

// GBK unless the file is marked UTF-8, or is UTF-8 throughout with a byte beyond ASCII; the
// mark is no part of the first count, and names read back as written either way.
TEST_F(ImportModelFileTest, TheFilesEncodingIsJudgedFromItsBytes)
{
    const std::string bom = "\xEF\xBB\xBF";
    const std::string utf8 = "1\n" + SquareRecord("甲楼,0,3", "组团,0,0") + "\n1\n7,3,301户,乙楼,1500,1800,x\n1,2,3,0.5\n";
    const std::string read = "B 甲楼|0|3|组团|0|0|0,0,1|4|10,0\nW 7|3|301户|乙楼|1500|1800|x|1,2,3|0.5\n";
    std::string crLf;
    for (const char c : utf8)
        crLf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const struct {
        const char* what;
        std::string bytes, read;
    } cases[] = {
        {"GBK", ToGbk(utf8), read},
        {"UTF-8", utf8, read},
        {"UTF-8 with the mark", bom + utf8, read},
        {"UTF-8 with the mark and CR LF", bom + crLf, read},
        {"ASCII with the mark", bom + "1\n" + SquareRecord("A,0,3", "G,0,0") + "\n0\n", "B A|0|3|G|0|0|0,0,1|4|10,0\n"},
        // Not UTF-8 throughout: GBK, and the UTF-8 line reads as the GBK it also is.
        {"UTF-8 with one GBK name", "1\n" + SquareRecord("甲楼,0,3", ToGbk("组团,0,0")) + "\n0\n",
         "B 鐢叉ゼ|0|3|组团|0|0|0,0,1|4|10,0\n"},
        // GBK text that happens to be UTF-8 throughout is read as UTF-8 (楼 is C2 A5 in GBK).
        {"GBK that is UTF-8", ToGbk("1\n" + SquareRecord("楼,0,3", "G,0,0") + "\n0\n"), "B ¥|0|3|G|0|0|0,0,1|4|10,0\n"},
    };
    for (const auto& c : cases) {
        host::EventLog::Instance().Clear();
        const Read r = ReadText(c.bytes, false);
        EXPECT_TRUE(r.result.wholeFile) << c.what << Transcript();
        EXPECT_EQ(Describe(r), c.read) << c.what;
    }
}

TEST_F(ImportModelFileTest, AReadFailureRefusesEverythingReadBeforeIt)
{
    host::mfc::FailReadsAfter(10);
    const Read read = ReadText("2\n" + SquareRecord() + SquareRecord());
    EXPECT_FALSE(read.result.wholeFile);
    EXPECT_TRUE(read.builds.empty());
    EXPECT_THAT(Transcript(), HasSubstr("模型数据文件第11行：读取失败"));
    // A file that cannot be opened.
    host::mfc::FailReadsAfter(-1);
    std::vector<CImportBuildInfo> builds;
    std::vector<CImportWindowInfo> windows;
    EXPECT_FALSE(ReadModelFile("/nonexistent/model.osm", builds, windows).wholeFile);
    EXPECT_THAT(Transcript(), HasSubstr("模型数据文件无法打开：/nonexistent/model.osm"));
}

TEST_F(ImportModelFileTest, TheCommittedSampleIsWhatTheSampleProgramWrites)
{
    EXPECT_EQ(ReadAll(std::string(LUMIDRAX_EXAMPLES) + "/site.osm"), OsmSampleText()) << "run build/<dir>/bin/osm_sample examples/site.osm";
}

}  // namespace
