#include "InstQuickWdwDlg.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "CheckedNumbers.h"
#include "CommandLine.h"
#include "DbDatabase.h"
#include "TypedNumbers.h"
#include "ModuleGlobals.h"
#include "QuickInsertWindowDlgTemplate.h"
#include "Tools.h"
#include "View.h"
#include "WindowCreation.h"

QuickWindowDefaults g_quickWinDefaults;

namespace QuickWindow {

RowLayout LayoutRow(double length, int width, int startMargin, const std::vector<float>& spacings, bool centre)
{
    RowLayout row;
    row.startMargin = centre ? 0 : startMargin;
    double used = static_cast<double>(row.startMargin) + width;
    if (used > length)
        return row;
    std::size_t n = spacings.size() + 1;
    for (std::size_t i = 0; i < spacings.size(); ++i) {
        const float step = spacings[i] + static_cast<float>(width);
        used += step;
        if (used > length) {
            used -= step;
            n = i + 1;
            break;
        }
    }
    if (centre) {
        // An edge too long for a margin in whole millimetres takes no row.
        const std::optional<int> margin = StoredAs<int>((length - used) * 0.5);
        if (!margin)
            return row;
        row.startMargin = *margin;
    }
    double offset = row.startMargin;
    for (std::size_t w = 0; w < n; ++w) {
        if (w > 0)
            offset += width + spacings[w - 1];
        row.offsets.push_back(offset);
    }
    return row;
}

}  // namespace QuickWindow

namespace {

constexpr UINT kIconExclamation = MB_ICONEXCLAMATION;
constexpr const char* kErrorCaption = "错误";
constexpr const char* kStoreyHeightRefusal = "请输入合理的层高值。";
// What to do instead of a row that would slip into an ownership record beside a window.
constexpr const char* kRowRecordsAdvice =
    "请在【窗位】中把起始窗号设在已用的窗号之后，或先用【重排窗号】给已有立面的窗口重新编号。";
constexpr std::uint32_t kEdgeColour = 0xffff;
constexpr int kEdgeWidth = 5;
constexpr int kStartMarkSize = 10;

// Repeats are counted in a double and capped: no row uses more than kMaxSpacings values.
constexpr double kRepeatCap = static_cast<double>(QuickWindow::kMaxSpacings);

void AppendRepeated(std::vector<float>& spacings, float value, double repeat)
{
    const double room = static_cast<double>(QuickWindow::kMaxSpacings - spacings.size());
    const auto times = static_cast<std::size_t>(std::min({repeat, kRepeatCap, room}));
    spacings.insert(spacings.end(), times, value);
}

// The sill and the start margin are remembered as floats, which the next run reads back as
// ints. A float holds every int up to 2^24 but only some beyond it (2147483647 comes back as
// 2^31, which no int holds): a value the remembered float would not give back unchanged is
// refused at OK.
bool RememberedUnchanged(int value)
{
    const std::optional<float> kept = StoredAs<float>(value);
    return kept && StoredAs<int>(*kept) == value;
}

// The int a remembered float was taken from (only such floats are remembered).
int Recalled(float remembered)
{
    return StoredAs<int>(remembered).value_or(0);
}

// The plan direction from a to b.
GeVector3d PlanVector(const GePoint3d& a, const GePoint3d& b)
{
    return GeVector3d(b.x - a.x, b.y - a.y, 0.0);
}

}  // namespace

CInstQuickWdwDlg::CInstQuickWdwDlg(CWnd* parent)
    : CDialog(IDD_QUICK_INSERT_WINDOW, parent), m_nSill(Recalled(g_quickWinDefaults.sill)),
      m_nHeight(g_quickWinDefaults.height), m_nWidth(g_quickWinDefaults.width), m_nStartFloor(1),
      m_nRepeat(g_quickWinDefaults.repeat), m_bCentre(g_quickWinDefaults.centre), m_strSpacing(g_quickWinSpacingText),
      m_nStartMargin(1000), m_nCount(g_quickWinDefaults.count), m_strStoreyHeight(g_quickWinStoreyHeightText),
      m_nStoreyHeight(ReadLeadingInt(g_quickWinStoreyHeightText)), m_nPosition(g_quickWinDefaults.position)
{
}

BEGIN_MESSAGE_MAP(CInstQuickWdwDlg, CDialog)
    ON_BN_CLICKED(IDC_QWIN_CENTRE, &CInstQuickWdwDlg::OnBnClickedCenter)
    ON_EN_CHANGE(IDC_QWIN_WIDTH, &CInstQuickWdwDlg::OnEnChangeEdit1154)
    ON_EN_CHANGE(IDC_QWIN_HEIGHT, &CInstQuickWdwDlg::OnEnChangeEdit1155)
    ON_EN_CHANGE(IDC_QWIN_MARGIN, &CInstQuickWdwDlg::OnEnChangeEdit1157)
    ON_WM_VSCROLL()
END_MESSAGE_MAP()

void CInstQuickWdwDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Text(dx, IDC_QWIN_SILL, m_nSill);
    DDX_Text(dx, IDC_QWIN_HEIGHT, m_nHeight);
    DDX_Text(dx, IDC_QWIN_WIDTH, m_nWidth);
    DDX_Text(dx, IDC_QWIN_START_FLOOR, m_nStartFloor);
    DDV_MinMaxUInt(dx, m_nStartFloor, 1, 10000);
    DDX_Text(dx, IDC_QWIN_REPEAT, m_nRepeat);
    DDV_MinMaxUInt(dx, static_cast<UINT>(m_nRepeat), 1, 200);
    DDX_Check(dx, IDC_QWIN_CENTRE, m_bCentre);
    DDX_Text(dx, IDC_QWIN_SPACING, m_strSpacing);
    DDX_Text(dx, IDC_QWIN_MARGIN, m_nStartMargin);
    DDX_Text(dx, IDC_QWIN_COUNT, m_nCount);
    DDV_MinMaxUInt(dx, m_nCount, 1, 1000);
    DDX_CBString(dx, IDC_QWIN_STOREY, m_strStoreyHeight);
    DDV_MaxChars(dx, m_strStoreyHeight, 5);
    DDX_Text(dx, IDC_QWIN_POSITION, m_nPosition);
    DDV_MinMaxUInt(dx, m_nPosition, 1, 10000);
}

BOOL CInstQuickWdwDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    const auto setRange = [this](int id, int low, int high) {
        if (auto* spin = dynamic_cast<CSpinButtonCtrl*>(GetDlgItem(id)))
            spin->SetRange32(low, high);
    };
    setRange(IDC_QWIN_START_FLOOR_SPIN, 1, 200);
    setRange(IDC_QWIN_REPEAT_SPIN, 1, 200);
    setRange(IDC_QWIN_POSITION_SPIN, 1, 10000);
    setRange(IDC_QWIN_COUNT_SPIN, 1, 1000);
    CWnd* margin = GetDlgItem(IDC_QWIN_MARGIN);
    if (m_bCentre) {
        m_nStartMargin = 0;
        if (margin)
            margin->EnableWindow(FALSE);
        ShowEdge(false);
    } else {
        m_nStartMargin = Recalled(g_quickWinDefaults.startMargin);
        if (margin)
            margin->EnableWindow(TRUE);
    }
    UpdateData(FALSE);
    return TRUE;
}

void CInstQuickWdwDlg::ParseSpacing(std::vector<float>& spacings) const
{
    spacings.clear();
    if (m_strSpacing.IsEmpty())
        return;
    CArray<CString, CString> parts;
    CTools::SplitString(m_strSpacing, ",", parts);
    for (int i = 0; i < parts.GetSize() && spacings.size() < QuickWindow::kMaxSpacings; ++i) {
        const CString& part = parts[i];
        const int star = part.Find('*');
        if (star == 0)
            continue;
        // A spacing beyond the float range is no number either.
        if (star < 0) {
            const std::optional<float> spacing =
                CTools::IsStringANumber(part) ? StoredAs<float>(std::atof(part)) : std::nullopt;
            if (spacing)
                spacings.push_back(std::fabs(*spacing));
            continue;
        }
        const CString value = part.Left(star);
        const std::optional<float> spacing =
            CTools::IsStringANumber(value) ? StoredAs<float>(std::atof(value)) : std::nullopt;
        if (!spacing)
            continue;
        const CString repeatText = part.Mid(star + 1);
        const double repeat = CTools::IsStringANumber(repeatText) ? std::trunc(std::fabs(std::atof(repeatText))) : 1.0;
        if (repeat < 1.0)
            continue;
        AppendRepeated(spacings, std::fabs(*spacing), repeat);
    }
}

int CInstQuickWdwDlg::Complain(const char* text, const char* caption)
{
    MessageBox(text, caption, kIconExclamation);
    UpdateData(FALSE);
    return 0;
}

int CInstQuickWdwDlg::CheckInput()
{
    if (m_bCentre)
        m_nStartMargin = 0;
    if (m_nCount == 0) {
        m_nCount = 1;
        return Complain("至少布置一个门窗", kErrorCaption);
    }
    std::vector<float> spacings;
    ParseSpacing(spacings);
    if (m_nCount >= 2 && spacings.empty()) {
        m_strSpacing = "1000.0";
        return Complain("布置多个门窗需要输入窗间距。", kErrorCaption);
    }
    const std::optional<int> storeyHeight = TypedInt(m_strStoreyHeight);
    if (!storeyHeight || *storeyHeight < 1) {
        m_strStoreyHeight = "2700";
        return Complain(kStoreyHeightRefusal, kErrorCaption);
    }
    m_nStoreyHeight = *storeyHeight;
    if (m_nRepeat > 200)
        return 0;
    if (!RememberedUnchanged(m_nSill)) {
        m_nSill = Recalled(g_quickWinDefaults.sill);
        return Complain("请输入合理的窗台标高值。", kErrorCaption);
    }
    if (!RememberedUnchanged(m_nStartMargin)) {
        m_nStartMargin = Recalled(g_quickWinDefaults.startMargin);
        return Complain("请输入合理的起始边距值。", kErrorCaption);
    }
    return 1;
}

void CInstQuickWdwDlg::OnOK()
{
    if (!UpdateData(TRUE) || !CheckInput())
        return;
    std::vector<float> spacings;
    ParseSpacing(spacings);
    const std::size_t wanted = m_nCount - 1;
    if (!spacings.empty())
        spacings.resize(wanted, spacings.back());
    const std::optional<int> created = CreateWindows(spacings);
    if (!created)
        return;
    if (*created == 0)
        dec::PrintPrompt("提示：墙边长度不足，一个窗也放不下，未插入窗。");
    if (m_bCentre)
        m_nStartMargin = 0;
    UpdateData(FALSE);
    g_quickWinDefaults.width = m_nWidth;
    g_quickWinDefaults.height = m_nHeight;
    g_quickWinDefaults.centre = m_bCentre;
    g_quickWinDefaults.startMargin = StoredAs<float>(m_nStartMargin).value_or(g_quickWinDefaults.startMargin);
    g_quickWinDefaults.sill = StoredAs<float>(m_nSill).value_or(g_quickWinDefaults.sill);
    g_quickWinSpacingText = m_strSpacing;
    g_quickWinDefaults.repeat = m_nRepeat;
    g_quickWinDefaults.position = m_nPosition;
    g_quickWinDefaults.count = m_nCount;
    g_quickWinStoreyHeightText = m_strStoreyHeight;
    EndDialog(IDOK);
}

std::optional<int> CInstQuickWdwDlg::CreateWindows(const std::vector<float>& spacings)
{
    if (m_edgePoints.size() < 2)
        return 0;
    const GePoint3d& start = m_edgePoints[m_nStartIndex == 0 ? 0 : 1];
    const GePoint3d& end = m_edgePoints[m_nStartIndex == 0 ? 1 : 0];
    GeVector3d direction = PlanVector(start, end);
    const double length = direction.Length();
    direction.Normalize(0.001);
    // Seen from outside, the sill runs from the right end (point 1) to the left end (point 0).
    const GeVector3d xAxis = PlanVector(m_edgePoints[1], m_edgePoints[0]);
    // Every storey takes the same row.
    const QuickWindow::RowLayout row =
        QuickWindow::LayoutRow(length, m_nWidth, m_nStartMargin, spacings, m_bCentre != 0);
    std::vector<NewWindow> windows;
    double sillZ = m_nSill;
    for (UINT floor = m_nStartFloor; floor < m_nStartFloor + static_cast<UINT>(m_nRepeat); ++floor) {
        NewWindow made{.numbers = {.building = m_strBuildName,
                                   .position = static_cast<int>(m_nPosition),
                                   .floor = static_cast<int>(floor),
                                   .width = m_nWidth,
                                   .height = m_nHeight}};
        for (const double offset : row.offsets) {
            GePoint3d origin = start + direction * (m_nWidth * 0.5 + offset);
            origin.z = sillZ;
            if (MakeWindowFrame(origin, xAxis, made.frame))
                windows.push_back(made);
            ++made.numbers.position;
        }
        sillZ += m_nStoreyHeight;
    }
    if (const std::optional<WinBelongBuild::Clash> clash = JoiningClash(windows)) {
        Complain(WinBelongBuild::Refusal(*clash, kRowRecordsAdvice).GetString(), kErrorCaption);
        return std::nullopt;
    }
    DbAutoOpen open(1);
    const WindowLook look = PrepareWindowLook(open.db, FindOrMakeWindowLayer(open.db));
    return CreateNumberedWindows(open.db, look, windows);
}

void CInstQuickWdwDlg::ShowEdge(bool markStart) const
{
    decView* view = dec::GetActiveView();
    if (!view || m_edgePoints.empty())
        return;
    view->ClearHighlights();
    view->DrawPolyline(m_edgePoints.data(), static_cast<int>(m_edgePoints.size()), kEdgeColour, kEdgeWidth);
    if (markStart && m_edgePoints.size() >= 2)
        view->MarkPoints(&m_edgePoints[m_nStartIndex == 0 ? 0 : 1], 1, kStartMarkSize, kEdgeColour);
}

void CInstQuickWdwDlg::OnBnClickedCenter()
{
    UpdateData(TRUE);
    CWnd* margin = GetDlgItem(IDC_QWIN_MARGIN);
    if (m_bCentre) {
        m_nStartMargin = 0;
        if (margin)
            margin->EnableWindow(FALSE);
    } else {
        m_nStartMargin = Recalled(g_quickWinDefaults.startMargin);
        if (margin)
            margin->EnableWindow(TRUE);
    }
    ShowEdge(!m_bCentre);
    UpdateData(FALSE);
}

void CInstQuickWdwDlg::CheckEdited(int CInstQuickWdwDlg::*field, int minimum, const char* text, const char* caption)
{
    const int old = this->*field;
    UpdateData(TRUE);
    if (this->*field < minimum) {
        MessageBox(text, caption, kIconExclamation);
        this->*field = old;
    }
    UpdateData(FALSE);
}

void CInstQuickWdwDlg::OnEnChangeEdit1154()
{
    CheckEdited(&CInstQuickWdwDlg::m_nWidth, 1, "窗宽应大于0!", "建筑插窗");
}

void CInstQuickWdwDlg::OnEnChangeEdit1155()
{
    CheckEdited(&CInstQuickWdwDlg::m_nHeight, 1, "窗高应大于0!", "快速插窗");
}

void CInstQuickWdwDlg::OnEnChangeEdit1157()
{
    CheckEdited(&CInstQuickWdwDlg::m_nStartMargin, 0, "起始边距应大于等于0!", "快速插窗");
}

void CInstQuickWdwDlg::OnVScroll(UINT code, UINT position, CScrollBar* bar)
{
    if (code != SB_ENDSCROLL && bar && bar->GetDlgCtrlID() == IDC_QWIN_START_FLOOR_SPIN) {
        const UINT floor = m_nStartFloor;
        const long long change = static_cast<long long>(position) - static_cast<long long>(floor);
        UpdateData(TRUE);
        // With a storey height that is no number neither the sill nor the floor moves.
        if (const std::optional<int> storeyHeight = TypedInt(m_strStoreyHeight)) {
            m_nStartFloor = position;
            m_nStoreyHeight = *storeyHeight;
            m_nSill = ClampToInt(m_nSill + static_cast<long long>(m_nStoreyHeight) * change);
        } else {
            MessageBox(kStoreyHeightRefusal, kErrorCaption, kIconExclamation);
            m_nStartFloor = floor;
        }
        UpdateData(FALSE);
    }
    CDialog::OnVScroll(code, position, bar);
}
