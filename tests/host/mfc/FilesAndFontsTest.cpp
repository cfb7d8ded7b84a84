#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "EventLog.h"
#include "Mfc.h"
#include "ScriptedUser.h"
#include "TestDialog.h"

namespace {

class TempFile {
public:
    explicit TempFile(const std::string& content)
        : m_path(std::filesystem::temp_directory_path() / ("mfc_tests_" + std::to_string(getpid()) + "_" +
                                                          std::to_string(++s_count) + ".txt"))
    {
        std::ofstream(m_path, std::ios::binary) << content;
    }
    ~TempFile() { std::filesystem::remove(m_path); }
    std::string Path() const { return m_path.string(); }

private:
    static inline int s_count = 0;
    std::filesystem::path m_path;
};

std::vector<std::string> ReadAll(const std::string& path, int* falseReads = nullptr)
{
    CStdioFile file(path.c_str(), CFile::modeRead | CFile::typeText);
    std::vector<std::string> lines;
    CString line;
    while (file.ReadString(line)) lines.push_back(line.str());
    EXPECT_TRUE(line.IsEmpty());
    if (falseReads) *falseReads = file.ReadString(line) ? 0 : 1;
    return lines;
}

TEST(StdioFile, LinesEndAtLineFeedsAndLoseTheirCarriageReturn)
{
    const std::string longLine(5000, 'x');
    TempFile file("1,北楼,3\r\n\r\n" + longLine + "\nlast without end");
    int falseReads = 0;
    EXPECT_EQ(ReadAll(file.Path(), &falseReads),
              (std::vector<std::string>{"1,北楼,3", "", longLine, "last without end"}));
    EXPECT_EQ(falseReads, 1);  // reading on past the end stays at the end
}

TEST(StdioFile, AnEmptyFileHasNoLines)
{
    TempFile file("");
    EXPECT_TRUE(ReadAll(file.Path()).empty());
}

TEST(StdioFile, AFileThatCannotBeOpenedThrowsItsException)
{
    const std::string missing = (std::filesystem::temp_directory_path() / "mfc_tests_no_such_file.osm").string();
    try {
        CStdioFile file(missing.c_str(), CFile::modeRead | CFile::typeText);
        FAIL() << "no exception";
    } catch (CFileException* e) {
        EXPECT_EQ(e->m_cause, CFileException::fileNotFound);
        EXPECT_EQ(e->m_strFileName, missing.c_str());
        char text[16];
        EXPECT_TRUE(e->GetErrorMessage(text, sizeof text));
        EXPECT_LT(std::char_traits<char>::length(text), sizeof text);
        e->Delete();
    }
    CStdioFile file;
    CFileException reason;
    EXPECT_FALSE(file.Open(missing.c_str(), CFile::modeRead, &reason));
    EXPECT_EQ(reason.m_cause, CFileException::fileNotFound);
}

TEST(StdioFile, AReadErrorThrows)
{
    // A directory opens for reading but cannot be read.
    const std::string dir = std::filesystem::temp_directory_path().string();
    CStdioFile file;
    if (!file.Open(dir.c_str(), CFile::modeRead)) GTEST_SKIP() << "directories do not open here";
    CString line;
    EXPECT_THROW(
        {
            try {
                file.ReadString(line);
            } catch (CFileException* e) {
                e->Delete();
                throw;
            }
        },
        CFileException*);
}

TEST(StdioFile, TheFailureHookThrowsAfterTheGivenLinesUntilCleared)
{
    const TempFile temp("a\nb\nc\n");
    CStdioFile file(temp.Path().c_str(), CFile::modeRead | CFile::typeText);
    CString line;
    host::mfc::FailReadsAfter(2);
    EXPECT_TRUE(file.ReadString(line));
    EXPECT_TRUE(file.ReadString(line));
    for (int i = 0; i < 2; ++i) {
        try {
            file.ReadString(line);
            ADD_FAILURE() << "the third read must fail";
        } catch (CFileException* e) {
            EXPECT_EQ(e->m_cause, CFileException::hardIO);
            e->Delete();
        }
    }
    host::mfc::FailReadsAfter(-1);
    EXPECT_TRUE(file.ReadString(line));
    EXPECT_EQ(line, "c");
}

TEST(StdioFile, WrittenLinesReadBack)
{
    TempFile file("old content that is replaced");
    {
        CStdioFile out(file.Path().c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeText);
        out.WriteString("第一行\n");
        out.WriteString("second\n");
    }
    EXPECT_EQ(ReadAll(file.Path()), (std::vector<std::string>{"第一行", "second"}));
}

class FileDialog : public testdlg::QuietHostTest {};

TEST_F(FileDialog, TheNextLineIsThePath)
{
    host::ScriptedUser::Instance().Feed(std::vector<std::string>{"", "/data/小区 模型.osm"}, "test");
    CFileDialog dlg(TRUE, "*.osm", "", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, "日照模型文件(*.osm)|*.osm|");
    dlg.m_ofn.lpstrTitle = "选择要导入的第三方日照模型文件";
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.GetPathName(), "/data/小区 模型.osm");
    EXPECT_EQ(dlg.GetFileName(), "小区 模型.osm");
    EXPECT_EQ(dlg.GetFileExt(), "osm");
    EXPECT_EQ(dlg.GetFileTitle(), "小区 模型");
    EXPECT_TRUE(host::EventLog::Instance().Shown("file dialog \"选择要导入的第三方日照模型文件\" (日照模型文件(*.osm)|*.osm|)"));
    EXPECT_TRUE(host::EventLog::Instance().Shown("test:1: the file dialog takes a path or *cancel*"));
    EXPECT_EQ(host::EventLog::Instance().Calls("CFileDialog flags=6").size(), 1u);
}

TEST_F(FileDialog, CancelOrNoLineCancels)
{
    host::ScriptedUser::Instance().Feed(std::vector<std::string>{"*cancel*"}, "test");
    CFileDialog first(TRUE);
    EXPECT_EQ(first.DoModal(), IDCANCEL);
    EXPECT_TRUE(first.GetPathName().IsEmpty());
    CFileDialog second(TRUE);
    EXPECT_EQ(second.DoModal(), IDCANCEL);
}

class FontList : public ::testing::Test {
protected:
    void TearDown() override { host::mfc::SetFontSource(std::nullopt); }

    struct Seen {
        std::vector<std::string> full, face;
        std::vector<DWORD> types;
        int stopAfter = 1000;
    };

    static int CALLBACK Collect(const LOGFONTA* font, const TEXTMETRICA*, DWORD type, LPARAM parameter)
    {
        auto* seen = reinterpret_cast<Seen*>(parameter);
        const auto* full = reinterpret_cast<const ENUMLOGFONTEXA*>(font);
        seen->full.emplace_back(full->elfFullName);
        seen->face.emplace_back(font->lfFaceName);
        seen->types.push_back(type);
        return static_cast<int>(seen->full.size()) < seen->stopAfter ? 1 : 0;
    }

    static Seen Enumerate(BYTE charSet, const char* face = "", int stopAfter = 1000)
    {
        Seen seen;
        seen.stopAfter = stopAfter;
        LOGFONTA font;
        font.lfCharSet = charSet;
        std::snprintf(font.lfFaceName, sizeof font.lfFaceName, "%s", face);
        HDC dc = GetDC(nullptr);
        EnumFontFamiliesExA(dc, &font, Collect, reinterpret_cast<LPARAM>(&seen), 0);
        ReleaseDC(nullptr, dc);
        return seen;
    }
};

TEST_F(FontList, AGivenListIsEnumeratedByCharacterSetAndFace)
{
    host::mfc::SetFontSource(std::vector<host::mfc::FontEntry>{
        {"宋体", "SimSun", TRUETYPE_FONTTYPE, GB2312_CHARSET},
        {"@宋体", "@SimSun", TRUETYPE_FONTTYPE, GB2312_CHARSET},
        {"Arial", "Arial", TRUETYPE_FONTTYPE, ANSI_CHARSET},
        {"Fixedsys", "Fixedsys", RASTER_FONTTYPE, GB2312_CHARSET},
    });
    const Seen chinese = Enumerate(GB2312_CHARSET);
    EXPECT_EQ(chinese.full, (std::vector<std::string>{"宋体", "@宋体", "Fixedsys"}));
    EXPECT_EQ(chinese.types, (std::vector<DWORD>{TRUETYPE_FONTTYPE, TRUETYPE_FONTTYPE, RASTER_FONTTYPE}));
    EXPECT_EQ(Enumerate(DEFAULT_CHARSET).full.size(), 4u);
    EXPECT_EQ(Enumerate(GB2312_CHARSET, "SimSun").face, (std::vector<std::string>{"SimSun"}));
    EXPECT_EQ(Enumerate(GB2312_CHARSET, "", 2).full.size(), 2u);  // the callback stops it
}

TEST_F(FontList, LongNamesAreCutOnACharacterBoundary)
{
    std::string longName;
    for (int i = 0; i < 30; ++i) longName += "字";  // 90 bytes
    host::mfc::SetFontSource(std::vector<host::mfc::FontEntry>{{longName, longName, TRUETYPE_FONTTYPE, GB2312_CHARSET}});
    const Seen seen = Enumerate(GB2312_CHARSET);
    ASSERT_EQ(seen.full.size(), 1u);
    EXPECT_EQ(seen.full[0], longName.substr(0, 63));  // 21 whole characters
    EXPECT_EQ(seen.face[0], longName.substr(0, 30));  // 10 whole characters
}

TEST_F(FontList, AnEmptySourceGivesNoFontAndTheMachinesSourceAnswers)
{
    host::mfc::SetFontSource(std::vector<host::mfc::FontEntry>{});
    EXPECT_TRUE(Enumerate(GB2312_CHARSET).full.empty());
    host::mfc::SetFontSource(std::nullopt);
    // Whatever the machine has (possibly nothing), each entry is a Chinese font with a name.
    for (const host::mfc::FontEntry& f : host::mfc::AvailableFonts()) {
        EXPECT_FALSE(f.fullName.empty());
        EXPECT_EQ(f.charSet, GB2312_CHARSET);
    }
}

}  // namespace
