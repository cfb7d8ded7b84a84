#include "FloorTableDlg.h"

#include <cmath>
#include <cstdlib>
#include <optional>

#include "BaseElevation.h"
#include "CheckedNumbers.h"
#include "FloorTableDlgTemplate.h"
#include "TypedNumbers.h"

namespace FloorTable {

namespace {

bool IsTableCharacter(char c)
{
    return (c >= '0' && c <= '9') || c == ' ' || c == '*' || c == ',';
}

// One part of an item, read whole with the blanks around it: "2900 " is a storey height,
// "29 00" and an empty part are none. Nothing when it is no number within 1..most.
std::optional<std::uint32_t> ReadPart(std::string_view part, std::uint32_t most)
{
    const std::optional<int> value = TypedInt(CString(part));
    if (!value || *value < 1)
        return std::nullopt;
    const std::optional<std::uint32_t> stored = StoredAs<std::uint32_t>(*value);
    return stored && *stored <= most ? stored : std::nullopt;
}

bool ReadItem(std::string_view item, std::uint32_t& height, std::uint32_t& count)
{
    const std::size_t star = item.find('*');
    const std::optional<std::uint32_t> h = ReadPart(item.substr(0, star), kMaxStoreyHeight);
    const std::optional<std::uint32_t> c =
        star == std::string_view::npos ? std::optional<std::uint32_t>(1) : ReadPart(item.substr(star + 1), kMaxStoreyCount);
    if (!h || !c)
        return false;
    height = *h;
    count = *c;
    return true;
}

}  // namespace

ParseResult Parse(std::string_view text, std::vector<std::uint32_t>& heights, std::vector<std::uint32_t>& counts)
{
    heights.clear();
    counts.clear();
    if (text.empty())
        return ParseResult::Empty;
    for (const char c : text) {
        if (!IsTableCharacter(c))
            return ParseResult::IllegalCharacter;
    }
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        const std::string_view item = text.substr(start, comma == std::string_view::npos ? text.npos : comma - start);
        std::uint32_t height = 0;
        std::uint32_t count = 0;
        if (!ReadItem(item, height, count)) {
            heights.clear();
            counts.clear();
            return ParseResult::BadItem;
        }
        heights.push_back(height);
        counts.push_back(count);
        if (comma == std::string_view::npos)
            return ParseResult::Ok;
        start = comma + 1;
    }
}

CString FormatHeight(const std::vector<std::uint32_t>& heights, const std::vector<std::uint32_t>& counts)
{
    float total = 0.0f;
    for (std::size_t i = 0; i < heights.size() && i < counts.size(); ++i)
        total += static_cast<float>(heights[i] * counts[i]);
    CString text;
    text.Format("%.2f", static_cast<double>(total / 1000));
    return text;
}

bool IsReasonableBuildHeight(double metres)
{
    return metres >= 0.001 && metres <= 10000.0;
}

bool ToWholeMillimetres(double metres, int& millimetres)
{
    const std::optional<int> whole = StoredAs<int>(std::round(metres * 1000.0));
    if (whole)
        millimetres = *whole;
    return whole.has_value();
}

}  // namespace FloorTable

CFloorTableDlg::CFloorTableDlg(CWnd* parent) : CDialog(IDD_FLOOR_TABLE, parent) {}

BEGIN_MESSAGE_MAP(CFloorTableDlg, CDialog)
    ON_BN_CLICKED(IDC_FLOOR_CALC_HEIGHT, &CFloorTableDlg::OnBnClickedCalcHeight)
    ON_BN_CLICKED(IDOK, &CFloorTableDlg::OnBnClickedOk)
END_MESSAGE_MAP()

void CFloorTableDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Text(dx, IDC_FLOOR_TABLE, m_strFloorTable);
    DDX_Text(dx, IDC_FLOOR_ELEVATION, m_strElevation);
    DDX_Text(dx, IDC_FLOOR_HEIGHT, m_strHeight);
    DDX_Check(dx, IDC_FLOOR_DRAW_LINES, m_bDrawFloorLines);
}

BOOL CFloorTableDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    return TRUE;
}

int CFloorTableDlg::ParseFloorTable()
{
    UpdateData(TRUE);
    const FloorTable::ParseResult result = FloorTable::Parse(m_strFloorTable.str(), m_storeyHeights, m_storeyCounts);
    if (result == FloorTable::ParseResult::IllegalCharacter) {
        AfxMessageBox("请检查，楼层信息有非法的字符输入！");
        if (CWnd* table = GetDlgItem(IDC_FLOOR_TABLE))
            table->SetFocus();
    }
    return result == FloorTable::ParseResult::Ok ? 1 : 0;
}

void CFloorTableDlg::FormatHeight()
{
    m_strHeight = FloorTable::FormatHeight(m_storeyHeights, m_storeyCounts);
    UpdateData(FALSE);
}

void CFloorTableDlg::OnBnClickedCalcHeight()
{
    UpdateData(TRUE);
    if (ParseFloorTable()) {
        FormatHeight();
        return;
    }
    m_strHeight = "无法计算！";
    UpdateData(FALSE);
}

void CFloorTableDlg::OnBnClickedOk()
{
    if (!ParseFloorTable()) {
        AfxMessageBox("请检查输入的楼层信息！");
        return;
    }
    FormatHeight();
    // The table's items are bounded but their number is not: a long enough table gives more
    // millimetres than the building's integer height holds. A total of a few millimetres shows as 0.00,
    // which is no building at all.
    int millimetres = 0;
    if (!FloorTable::ToWholeMillimetres(std::atof(m_strHeight), millimetres) || millimetres < 1) {
        AfxMessageBox("提示：请输入合理的高度值。");
        return;
    }
    const std::optional<double> elevation = TypedNumber(m_strElevation);
    if (!elevation || !IsReasonableBaseElevation(*elevation * 1000.0)) {
        AfxMessageBox("提示：请输入合理的底高度值。");
        if (CWnd* field = GetDlgItem(IDC_FLOOR_ELEVATION))
            field->SetFocus();
        return;
    }
    m_elevation = *elevation;
    CDialog::OnOK();
}
