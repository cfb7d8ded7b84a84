#include "ImportModelFile.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <ctype.h>
#include <fstream>
#include <locale.h>
#include <numbers>
#include <string>
#include <string_view>

#include "CheckedNumbers.h"
#include "CommandLine.h"
#include "GeArc3d.h"
#include "MainFrame.h"
#include "MsgBox.h"
#include "OutlineCleanup.h"
#include "StdioFile.h"
#include "Utf8Text.h"

namespace {

// Bulges within this of 0 leave their edge straight; shorter chords carry no arc.
constexpr double kBulgeTol = 0.001;
constexpr double kChordTol = 0.001;
constexpr int kArcSamples = 18;

// Why a file is refused, and on which line.
struct ModelFileError {
    int line;
    const char* what;
};

// The C library's readers in the C locale, whatever the process locale is.
locale_t CLocale()
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

// As atof reads it: blanks, then the longest number (hexadecimal too), else 0.
double ReadReal(const CString& text)
{
    return strtod_l(text.GetString(), nullptr, CLocale());
}

// As atoi reads it, with a number beyond the int range clamped instead of undefined.
int ReadInt(const CString& text)
{
    const long long value = strtoll_l(text.GetString(), nullptr, 10, CLocale());
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

// Whether atoi finds a number in the text at all.
bool StartsWithNumber(const CString& text)
{
    char* end = nullptr;
    strtoll_l(text.GetString(), &end, 10, CLocale());
    return end != text.GetString();
}

// Whether the text holds nothing but the blanks atoi skips (an empty line among them).
bool OnlyBlanks(const CString& text)
{
    const std::string_view bytes = text.str();
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return isspace_l(static_cast<unsigned char>(c), CLocale()) != 0; });
}

// How the file's texts are written.
enum class TextEncoding { Gbk, Utf8 };

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// What the file's bytes say about their encoding.
struct FileEncoding {
    TextEncoding encoding = TextEncoding::Gbk;
    bool byteOrderMark = false;  // the first line starts with the UTF-8 mark, which is no text
};

bool BeyondAscii(std::string_view bytes)
{
    return std::any_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

// UTF-8 when the file starts with the byte-order mark, or when it is UTF-8 throughout and
// holds a byte beyond ASCII (GBK text almost never is); GBK otherwise. Lines end at a line
// feed, which no multibyte character holds, so the file is judged a line at a time. A file
// that cannot be read here is left to the reader, which says why.
FileEncoding JudgeEncoding(const CString& path)
{
    FileEncoding found;
    std::ifstream in(path.GetString(), std::ios::binary);
    std::string line;
    if (!std::getline(in, line))
        return found;
    if (line.starts_with(kByteOrderMark))
        return {TextEncoding::Utf8, true};
    bool beyondAscii = false;
    do {
        if (!host::IsValidUtf8(line))
            return found;
        beyondAscii = beyondAscii || BeyondAscii(line);
    } while (std::getline(in, line));
    if (beyondAscii)
        found.encoding = TextEncoding::Utf8;
    return found;
}

// The file's texts as UTF-8: GBK through the C library's converter, UTF-8 checked.
class TextDecoder {
public:
    explicit TextDecoder(TextEncoding encoding)
        : m_encoding(encoding),
          m_cd(encoding == TextEncoding::Gbk ? iconv_open("UTF-8", "GBK") : reinterpret_cast<iconv_t>(-1))
    {
    }
    ~TextDecoder()
    {
        if (m_cd != reinterpret_cast<iconv_t>(-1))
            iconv_close(m_cd);
    }
    TextDecoder(const TextDecoder&) = delete;
    TextDecoder& operator=(const TextDecoder&) = delete;

    // False when the bytes are not text of the file's encoding.
    bool Decode(const std::string& raw, std::string& utf8) const
    {
        utf8.clear();
        if (m_encoding == TextEncoding::Utf8) {
            if (!host::IsValidUtf8(raw))
                return false;
            utf8 = raw;
            return true;
        }
        if (raw.empty())
            return true;
        if (m_cd == reinterpret_cast<iconv_t>(-1))
            return false;
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        std::string in = raw;
        std::string out(in.size() * 3 + 4, '\0');
        char* inPtr = in.data();
        std::size_t inLeft = in.size();
        char* outPtr = out.data();
        std::size_t outLeft = out.size();
        if (iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0)
            return false;
        out.resize(out.size() - outLeft);
        utf8 = std::move(out);
        return true;
    }
    const char* Refusal() const { return m_encoding == TextEncoding::Utf8 ? "文字不是UTF-8编码" : "文字不是GBK编码"; }

private:
    TextEncoding m_encoding;
    iconv_t m_cd;
};

// The first field of three: before the first comma, searched from `from`; the second between
// the first and the second comma; the third after the second comma. A missing comma gives
// what MFC's Left and Mid give for -1 (an empty field, or the whole line for the third).
struct ThreeFields {
    CString first, second, third;
};

ThreeFields SplitThree(const CString& line, int from)
{
    const int c0 = line.Find(',', from);
    const int c1 = line.Find(',', c0 + 1);
    return {line.Left(c0), line.Mid(c0 + 1, c1 - c0 - 1), line.Mid(c1 + 1)};
}

// Fields of a window line: each comma searched after the one before it (the first from the
// line's second character); field k is there only when its closing comma is, the last field
// is the rest of the line after the last comma looked for.
std::vector<CString> SplitChain(const CString& line, int fields, std::vector<bool>& present)
{
    std::vector<CString> out;
    present.clear();
    int before = -1;
    int comma = line.Find(',', 1);
    for (int k = 0; k + 1 < fields; ++k) {
        present.push_back(comma != -1);
        out.push_back(comma != -1 ? line.Mid(before + 1, comma - before - 1) : CString());
        before = comma;
        comma = line.Find(',', before + 1);
    }
    present.push_back(true);
    out.push_back(line.Mid(before + 1));
    return out;
}

}  // namespace

// The file's lines, counted, with the texts decoded; the end of the file inside a record is
// an error.
class ModelFileLines {
public:
    ModelFileLines(CStdioFile& file, const TextDecoder& decoder, bool byteOrderMark)
        : m_file(file), m_decoder(decoder), m_byteOrderMark(byteOrderMark)
    {
    }

    // The next line (the first without the byte-order mark); false at the end of the file.
    bool Next(CString& line)
    {
        ++m_line;
        if (m_file.ReadString(line)) {
            if (m_line == 1 && m_byteOrderMark && line.str().starts_with(kByteOrderMark))
                line = line.Mid(static_cast<int>(kByteOrderMark.size()));
            return true;
        }
        --m_line;
        return false;
    }
    // The next line, which the record being read needs.
    CString Need(const char* endInside)
    {
        CString line;
        if (!Next(line))
            throw ModelFileError{m_line + 1, endInside};
        return line;
    }
    CString Text(const CString& raw) const
    {
        std::string utf8;
        if (!m_decoder.Decode(raw.str(), utf8))
            throw ModelFileError{m_line, m_decoder.Refusal()};
        return CString(std::move(utf8));
    }
    int Line() const { return m_line; }

private:
    CStdioFile& m_file;
    const TextDecoder& m_decoder;
    bool m_byteOrderMark;
    int m_line = 0;
};

namespace {

constexpr const char* kEndInBuilding = "文件在建筑物记录中结束";
constexpr const char* kEndInWindow = "文件在窗记录中结束";

GePoint3d ReadPoint(const CString& line)
{
    const ThreeFields f = SplitThree(line, 1);
    return {ReadReal(f.first), ReadReal(f.second), ReadReal(f.third)};
}

// A count line must hold a number where atoi looks for one (after blanks and a sign): one
// that does not (random bytes, a name slipped into its place) would read as 0 and shift every
// later line into the wrong record without a word. A line of blanks alone holds no field and
// reads as 0, as files rely on (a blank line too many at the end, where the window count is).
int ReadCount(ModelFileLines& in, const CString& line, const char* negative)
{
    if (OnlyBlanks(line))
        return 0;
    if (!StartsWithNumber(line))
        throw ModelFileError{in.Line(), "数量行不是数字"};
    const int count = ReadInt(line);
    if (count < 0)
        throw ModelFileError{in.Line(), negative};
    return count;
}

void Report(const char* format, int line)
{
    CString text;
    text.Format(format, line);
    dec::PrintPrompt(text);
}

// Reads count records of one kind, keeping the good ones.
template <class Record>
int ReadRecords(ModelFileLines& in, int count, std::vector<Record>& records, const char* dropped)
{
    int droppedCount = 0;
    for (int i = 0; i < count; ++i) {
        Record record;
        if (record.Read(in)) {
            records.push_back(std::move(record));
        } else {
            ++droppedCount;
            Report(dropped, record.m_nLine);
        }
    }
    return droppedCount;
}

}  // namespace

int CImportBuildInfo::Read(ModelFileLines& in)
{
    const ThreeFields head = SplitThree(in.Need(kEndInBuilding), 0);
    m_nLine = in.Line();
    m_strName = in.Text(head.first);
    m_dblElevation = ReadReal(head.second);
    m_dblHeight = ReadReal(head.third);
    const int lines = ReadCount(in, in.Need(kEndInBuilding), "轮廓线行数为负数");
    std::vector<double> bulges;
    for (int i = 0; i < lines; ++i) {
        const CString line = in.Need(kEndInBuilding);
        if (i % 2 == 0) {
            m_ptsOutline.push_back(ReadPoint(line));
        } else {
            const int comma = line.Find(',', 1);
            bulges.push_back(comma == -1 ? 0.0 : ReadReal(line.Left(comma)));
        }
    }
    // An odd count leaves the last vertex without a bulge line: its edge is straight.
    bulges.resize(m_ptsOutline.size(), 0.0);

    CString line = in.Need(kEndInBuilding);
    if (line == "normal") {
        const GePoint3d direction = ReadPoint(in.Need(kEndInBuilding));
        m_vecNormal = GeVector3d(direction.x, direction.y, direction.z);
        line = in.Need(kEndInBuilding);
    }
    const ThreeFields group = SplitThree(line, 0);
    m_strGroup = in.Text(group.first);
    m_nWinIndex = ReadInt(group.second);
    m_nWinFloor = ReadInt(group.third);

    const bool finite = std::isfinite(m_dblElevation) && std::isfinite(m_dblHeight) && IsFinite(m_vecNormal) &&
                        AllFinite(m_ptsOutline) && AllFinite(bulges);
    if (!finite)
        return 0;
    if (std::any_of(bulges.begin(), bulges.end(), [](double b) { return std::fabs(b) > kBulgeTol; })) {
        OrientBulgeOutline(m_ptsOutline, bulges);
        ExpandArcs(m_ptsOutline, bulges);
    }
    return 1;
}

void CImportBuildInfo::ExpandArcs(std::vector<GePoint3d>& outline, const std::vector<double>& bulges)
{
    const std::size_t n = outline.size();
    if (n < 2)
        return;
    std::vector<GePoint3d> expanded;
    std::vector<GePoint3d> samples;
    for (std::size_t i = 0; i < n; ++i) {
        expanded.push_back(outline[i]);
        const double bulge = i < bulges.size() ? bulges[i] : 0.0;
        if (std::fabs(bulge) > kBulgeTol && GetArcPoints(outline[i], outline[(i + 1) % n], bulge, samples))
            expanded.insert(expanded.end(), samples.begin() + 1, samples.end() - 1);
    }
    outline = std::move(expanded);
}

int CImportWindowInfo::Read(ModelFileLines& in)
{
    std::vector<bool> present;
    const std::vector<CString> a = SplitChain(in.Need(kEndInWindow), 7, present);
    m_nLine = in.Line();
    if (present[0]) m_nIndex = ReadInt(a[0]);
    if (present[1]) m_nFloor = ReadInt(a[1]);
    if (present[2]) m_strDoor = in.Text(a[2]);
    if (present[3]) m_strBuild = in.Text(a[3]);
    if (present[4]) m_dblWidth = ReadReal(a[4]);
    if (present[5]) m_dblHeight = ReadReal(a[5]);
    m_strExtra = in.Text(a[6]);

    const std::vector<CString> p = SplitChain(in.Need(kEndInWindow), 4, present);
    m_ptPos = GePoint3d(present[0] ? ReadReal(p[0]) : 0.0, present[1] ? ReadReal(p[1]) : 0.0,
                        present[2] ? ReadReal(p[2]) : 0.0);
    m_dblAngle = ReadReal(p[3]);
    return std::isfinite(m_dblWidth) && std::isfinite(m_dblHeight) && std::isfinite(m_dblAngle) && IsFinite(m_ptPos);
}

ModelFileResult ReadModelFile(const CString& path, std::vector<CImportBuildInfo>& builds,
                              std::vector<CImportWindowInfo>& windows)
{
    builds.clear();
    windows.clear();
    ModelFileResult result;
    const FileEncoding encoding = JudgeEncoding(path);
    const TextDecoder decoder(encoding.encoding);
    int failedLine = 0;
    const char* what = nullptr;
    try {
        CStdioFile file(path, CFile::modeRead | CFile::typeText);
        ModelFileLines in(file, decoder, encoding.byteOrderMark);
        try {
            CString line;
            if (in.Next(line)) {
                const int buildCount = ReadCount(in, line, "建筑物数量为负数");
                result.droppedBuilds =
                    ReadRecords(in, buildCount, builds, "提示：模型数据文件第%d行起的建筑物记录含有无效数值，未导入");
                if (in.Next(line) && in.Next(line)) {
                    const int windowCount = ReadCount(in, line, "窗数量为负数");
                    result.droppedWindows =
                        ReadRecords(in, windowCount, windows, "提示：模型数据文件第%d行起的窗记录含有无效数值，未导入");
                }
            }
            result.wholeFile = true;
            return result;
        } catch (CFileException* e) {
            e->Delete();
            failedLine = in.Line();
            what = "读取失败";
        }
    } catch (CFileException* e) {
        e->Delete();
        what = "无法打开";
    } catch (const ModelFileError& error) {
        failedLine = error.line;
        what = error.what;
    }
    builds.clear();
    windows.clear();
    result = ModelFileResult{};
    MessageBoxA(dec::GetMainFrameHWnd(), "读取模型数据文件出现错误！", "数据文件错误", MB_OK | MB_ICONEXCLAMATION);
    CString text;
    if (failedLine > 0)
        text.Format("模型数据文件第%d行：%s", failedLine, what);
    else
        text = CString("模型数据文件") + what + "：" + path;
    dec::PrintPrompt(text);
    return result;
}

void OrientBulgeOutline(std::vector<GePoint3d>& outline, std::vector<double>& bulges)
{
    const double area = GetPtsSignedArea(outline);
    if (area > 0.0)
        return;
    const std::size_t n = outline.size();
    bulges.resize(n, 0.0);
    std::vector<double> reversed(n);
    // Reversed, p(i) comes at n-1-i and starts the edge that p(i-1) started before.
    for (std::size_t i = 0; i < n; ++i)
        reversed[n - 1 - i] = -(i >= 1 ? bulges[i - 1] : bulges[n - 1]);
    std::reverse(outline.begin(), outline.end());
    bulges = std::move(reversed);
}

bool GetArcPoints(const GePoint3d& start, const GePoint3d& end, double bulge, std::vector<GePoint3d>& samples)
{
    samples.clear();
    const double sweep = std::fabs(bulge);
    if (!(sweep > kBulgeTol && sweep < 2.0 * std::numbers::pi) || !IsFinite(start) || !IsFinite(end))
        return false;
    GeVector3d direction = end - start;
    const double chord = direction.Length();
    if (!(chord >= kChordTol))
        return false;
    direction.Normalize(kChordTol);
    const double radius = (chord / 2.0) / std::sin(sweep / 2.0);
    const double turn = std::numbers::pi / 2.0 - sweep / 2.0;
    direction.RotateBy(bulge > 0.0 ? turn : -turn, GeVector3d::kZAxis);
    const GePoint3d centre = start + direction * radius;
    const GeVector3d normal = bulge > 0.0 ? GeVector3d::kZAxis : -GeVector3d::kZAxis;
    GeArc3d arc;
    if (!arc.Set(start, end, centre, normal) || arc.GetSamplePoints(kArcSamples, samples) != kArcSamples) {
        samples.clear();
        return false;
    }
    return true;
}
