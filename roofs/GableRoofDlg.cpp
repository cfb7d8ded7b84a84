// CGableRoofDlg as a dialog: the values remembered from the last roof, the exchange with the
// controls, the handlers that recompute and redraw the previews, and OK, which builds.
#include "GableRoofDlg.h"

#include <limits>
#include <optional>

#include "CheckedNumbers.h"
#include "GableRoofDlgTemplate.h"
#include "TypedNumbers.h"

GableRoofDefaults g_gableRoofDefaults;

namespace {

constexpr const char* kDefaultAngle = "30";
constexpr const char* kPreviewName = "预览窗口";
// The box that also refuses an outline off the level: the grown outline is no level ring.
constexpr const char* kFoldedOutline = "屋顶生成屋顶轮廓必须在同一个水平面上!";
constexpr UINT kPlanPreviewId = 100;
constexpr UINT kFrontPreviewId = 101;
// Limits of the values.
constexpr UINT kMaxEaveOverhang = 100000;
constexpr UINT kMaxGableOverhang = 10000;
constexpr UINT kMaxThickness = 1000000;
constexpr int kAngleChars = 3;
// A slope angle of 90 degrees or more in size makes an upright plane, on which no roof point
// can be found; three characters allow no angle between 89 and 90.
constexpr double kMaxAngle = 89.0;

// An angle text that is no number ("-na", "18x5", "nan") is refused with the range message,
// as an angle out of range is: it would otherwise read as 0 degrees, a flat face.
void CheckAngle(CDataExchange* dx, int id, const CString& text)
{
    dx->PrepareCtrl(id);
    const double angle = TypedNumber(text).value_or(std::numeric_limits<double>::infinity());
    DDV_MinMaxDouble(dx, angle, -kMaxAngle, kMaxAngle);
}

// The ridge and wall tops are computed relative to the base elevation in an int: an
// elevation whose height above the base no int holds is refused with the range message.
void CheckOverBase(CDataExchange* dx, int elevation, int base)
{
    const IntRange range = IntsOverBase(base);
    DDV_MinMaxInt(dx, elevation, range.low, range.high);
}

// The value moved by the amount, in 64 bits; nothing when no int holds the result.
std::optional<int> Moved(int value, long long by)
{
    return StoredAs<int>(static_cast<long long>(value) + by);
}

}  // namespace

CGableRoofDlg::CGableRoofDlg(CWnd* parent)
    : CDialog(IDD_GABLE_ROOF, parent), m_eaveOverhang(g_gableRoofDefaults.eaveOverhang),
      m_gableOverhang(g_gableRoofDefaults.gableOverhang), m_ridgeElevation(g_gableRoofDefaults.ridgeHeight),
      m_leftAngle(kDefaultAngle), m_rightAngle(kDefaultAngle), m_thickness(g_gableRoofDefaults.thickness)
{
}

CGableRoofDlg::~CGableRoofDlg() = default;

BEGIN_MESSAGE_MAP(CGableRoofDlg, CDialog)
    ON_BN_CLICKED(IDOK, &CGableRoofDlg::OnBnClickedOk)
    ON_EN_KILLFOCUS(IDC_GABLE_LEFT_WALL, &CGableRoofDlg::OnEnKillfocusLeftWallTop)
    ON_EN_KILLFOCUS(IDC_GABLE_RIGHT_WALL, &CGableRoofDlg::OnEnKillfocusRightWallTop)
    ON_BN_CLICKED(IDC_GABLE_BY_WALLS, &CGableRoofDlg::OnBnClickedAdjustWallTops)
    ON_BN_CLICKED(IDC_GABLE_BY_ANGLES, &CGableRoofDlg::OnBnClickedSetSlopeAngle)
    ON_BN_CLICKED(IDC_GABLE_EQUAL, &CGableRoofDlg::OnBnClickedEqualSlopes)
    ON_EN_KILLFOCUS(IDC_GABLE_RIDGE, &CGableRoofDlg::OnEnKillfocusRidgeElevation)
    ON_CBN_SELCHANGE(IDC_GABLE_LEFT_ANGLE, &CGableRoofDlg::OnCbnSelchangeLeftAngle)
    ON_CBN_SELCHANGE(IDC_GABLE_RIGHT_ANGLE, &CGableRoofDlg::OnCbnSelchangeRightAngle)
    ON_CBN_KILLFOCUS(IDC_GABLE_LEFT_ANGLE, &CGableRoofDlg::OnCbnKillfocusLeftAngle)
    ON_CBN_KILLFOCUS(IDC_GABLE_RIGHT_ANGLE, &CGableRoofDlg::OnCbnKillfocusRightAngle)
    ON_EN_KILLFOCUS(IDC_GABLE_EAVE, &CGableRoofDlg::OnEnKillfocusEaveOverhang)
    ON_EN_KILLFOCUS(IDC_GABLE_GABLE, &CGableRoofDlg::OnEnKillfocusGableOverhang)
    ON_WM_PAINT()
END_MESSAGE_MAP()

void CGableRoofDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_CBString(dx, IDC_GABLE_LEFT_ANGLE, m_leftAngle);
    DDV_MaxChars(dx, m_leftAngle, kAngleChars);
    DDX_CBString(dx, IDC_GABLE_RIGHT_ANGLE, m_rightAngle);
    DDV_MaxChars(dx, m_rightAngle, kAngleChars);
    DDX_Text(dx, IDC_GABLE_EAVE, m_eaveOverhang);
    DDV_MinMaxUInt(dx, m_eaveOverhang, 0, kMaxEaveOverhang);
    DDX_Text(dx, IDC_GABLE_GABLE, m_gableOverhang);
    DDV_MinMaxUInt(dx, m_gableOverhang, 0, kMaxGableOverhang);
    DDX_Text(dx, IDC_GABLE_RIDGE, m_ridgeElevation);
    CheckOverBase(dx, m_ridgeElevation, m_baseElevation);
    DDX_Text(dx, IDC_GABLE_LEFT_WALL, m_leftWallTop);
    CheckOverBase(dx, m_leftWallTop, m_baseElevation);
    DDX_Text(dx, IDC_GABLE_RIGHT_WALL, m_rightWallTop);
    CheckOverBase(dx, m_rightWallTop, m_baseElevation);
    DDX_Check(dx, IDC_GABLE_EQUAL, m_equalSlopes);
    DDX_Radio(dx, IDC_GABLE_BY_WALLS, m_mode);
    DDX_Text(dx, IDC_GABLE_THICKNESS, m_thickness);
    DDV_MinMaxUInt(dx, m_thickness, 0, kMaxThickness);
    // The angles the roof uses must give planes that are not upright.
    if (m_mode == kSlopeAngles) {
        CheckAngle(dx, IDC_GABLE_LEFT_ANGLE, m_leftAngle);
        if (!m_equalSlopes)
            CheckAngle(dx, IDC_GABLE_RIGHT_ANGLE, m_rightAngle);
    }
}

BOOL CGableRoofDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CreatePreviewWindow();
    EnableControls();
    // The remembered ridge height and the wall tops of 0 are taken above the base elevation.
    InitGeometry();
    UpdateOutline();
    UpdateRoof();
    RegenPreview();
    DrawPreview();
    ToAbsoluteElevations();
    UpdateData(FALSE);
    return TRUE;
}

bool CGableRoofDlg::ToRelativeElevations()
{
    const long long by = -static_cast<long long>(m_baseElevation);
    const std::optional<int> ridge = Moved(m_ridgeElevation, by), left = Moved(m_leftWallTop, by),
                             right = Moved(m_rightWallTop, by);
    if (!ridge || !left || !right)
        return false;
    m_ridgeElevation = *ridge;
    m_leftWallTop = *left;
    m_rightWallTop = *right;
    return true;
}

void CGableRoofDlg::ToAbsoluteElevations()
{
    for (int* elevation : {&m_ridgeElevation, &m_leftWallTop, &m_rightWallTop})
        *elevation = ClampToInt(static_cast<long long>(*elevation) + m_baseElevation);
}

void CGableRoofDlg::EnableControls()
{
    const struct {
        int id;
        bool enabled;
    } controls[] = {
        {IDC_GABLE_LEFT_WALL, m_mode == kWallTops},
        {IDC_GABLE_LEFT_ANGLE, m_mode == kSlopeAngles},
        {IDC_GABLE_RIGHT_WALL, m_mode == kWallTops && !m_equalSlopes},
        {IDC_GABLE_RIGHT_ANGLE, m_mode == kSlopeAngles && !m_equalSlopes},
    };
    for (const auto& c : controls)
        if (CWnd* control = GetDlgItem(c.id))
            control->EnableWindow(c.enabled ? TRUE : FALSE);
}

void CGableRoofDlg::CreatePreviewWindow()
{
    const struct {
        int frame;
        WndGS2d* view;
        UINT id;
    } previews[] = {{IDC_GABLE_PLAN_FRAME, &m_planPreview, kPlanPreviewId},
                    {IDC_GABLE_FRONT_FRAME, &m_frontPreview, kFrontPreviewId}};
    for (const auto& p : previews) {
        CWnd* frame = GetDlgItem(p.frame);
        if (!frame)
            continue;
        CRect rect;
        frame->GetWindowRect(&rect);
        ScreenToClient(&rect);
        p.view->Create(nullptr, kPreviewName, WS_CHILD | WS_VISIBLE, rect, this, p.id);
        p.view->ShowAxis(false);
    }
}

BOOL CGableRoofDlg::PreTranslateMessage(MSG* message)
{
    if (message && message->message == WM_MOUSEWHEEL) {
        POINT at{};
        GetCursorPos(&at);
        if (HWND under = WindowFromPoint(at))
            ::SendMessage(under, message->message, message->wParam, message->lParam);
    }
    return CDialog::PreTranslateMessage(message);
}

void CGableRoofDlg::Recompute(unsigned what)
{
    // Elevations a failed exchange left behind may lie too far from the base: nothing is
    // recomputed until they are read again.
    if (!ToRelativeElevations())
        return;
    if (what & kOutline)
        UpdateOutline();
    if (what & kRoof)
        UpdateRoof();
    if (what & kPlanView)
        RegenPreview();
    if (what & kFrontView)
        DrawPreview();
    ToAbsoluteElevations();
}

void CGableRoofDlg::ReadAndRecompute(unsigned what, bool enable)
{
    if (!UpdateData(TRUE))
        return;
    if (enable)
        EnableControls();
    Recompute(what);
}

void CGableRoofDlg::OnEnKillfocusLeftWallTop() { ReadAndRecompute(kRoof | kFrontView); }
void CGableRoofDlg::OnEnKillfocusRightWallTop() { ReadAndRecompute(kRoof | kFrontView); }
void CGableRoofDlg::OnBnClickedAdjustWallTops() { ReadAndRecompute(kRoof | kFrontView, true); }
void CGableRoofDlg::OnBnClickedSetSlopeAngle() { ReadAndRecompute(kRoof | kFrontView, true); }
void CGableRoofDlg::OnBnClickedEqualSlopes() { ReadAndRecompute(kRoof | kFrontView, true); }
void CGableRoofDlg::OnEnKillfocusRidgeElevation() { ReadAndRecompute(kRoof | kFrontView, true); }
void CGableRoofDlg::OnCbnKillfocusLeftAngle() { ReadAndRecompute(kRoof | kFrontView); }
void CGableRoofDlg::OnCbnKillfocusRightAngle() { ReadAndRecompute(kRoof | kFrontView); }
void CGableRoofDlg::OnEnKillfocusEaveOverhang() { ReadAndRecompute(kOutline | kRoof | kPlanView | kFrontView); }
void CGableRoofDlg::OnEnKillfocusGableOverhang() { ReadAndRecompute(kOutline | kRoof | kPlanView); }

// The combo's own text is not updated yet when its selection changes: the angle is the
// chosen item's.
void CGableRoofDlg::TakeListAngle(int comboId, CString& angle)
{
    auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(comboId));
    const int index = combo ? combo->GetCurSel() : -1;
    if (index < 0)
        return;
    combo->GetLBText(index, angle);
    Recompute(kRoof | kFrontView);
}

void CGableRoofDlg::OnCbnSelchangeLeftAngle() { TakeListAngle(IDC_GABLE_LEFT_ANGLE, m_leftAngle); }
void CGableRoofDlg::OnCbnSelchangeRightAngle() { TakeListAngle(IDC_GABLE_RIGHT_ANGLE, m_rightAngle); }

// An outline the overhangs fold (its grown ring would cross itself) builds nothing: the box
// says so and the dialog stays open for other overhangs, nothing remembered.
void CGableRoofDlg::OnBnClickedOk()
{
    if (!UpdateData(TRUE) || !ToRelativeElevations())
        return;
    UpdateOutline();
    if (m_eaveOutline.empty()) {
        ToAbsoluteElevations();
        AfxMessageBox(kFoldedOutline, MB_OK, 0);
        return;
    }
    g_gableRoofDefaults = {m_eaveOverhang, m_gableOverhang, m_ridgeElevation, m_thickness};
    UpdateRoof();
    ComputeGableWalls();
    TransformToWorld();
    CreateRoofEntities();
    CDialog::OnOK();
}
