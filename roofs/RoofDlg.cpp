// CRoofDlg while the user edits: the values remembered from the last roof, the exchange with
// the controls, the enabling of the slope and parapet groups, the checks of typed lengths,
// the eave outline following the overhang, and the lengths picked in the drawing.
#include "RoofDlg.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "CheckedNumbers.h"
#include "CommandLine.h"
#include "Input.h"
#include "MainFrame.h"
#include "RoofDlgTemplate.h"
#include "RoofFaceUnion.h"
#include "Tools.h"
#include "TypedNumbers.h"
#include "View.h"

RoofDialogDefaults g_roofDialogDefaults;

namespace {

constexpr const char* kEditCaption = "编辑屋顶";
constexpr const char* kSlopeRange = "请输入1~89之间的实数！";
constexpr const char* kNegativeOverhang = "挑出距离不能小于0!";
constexpr const char* kOverhangName = "挑出距离";
constexpr const char* kThicknessName = "屋面厚度";
constexpr const char* kEdgeCountQuestion =
    "修改挑出距离后屋顶的边数发生改变,各边坡度均将重置为%s度! 确认修改挑出距离吗?";
constexpr const char* kFlatSlopeText = "0";
constexpr const char* kDefaultSlopeText = "30";
constexpr float kDefaultSlope = 30.0f;
constexpr float kMinSlope = 1.0f;
constexpr float kMaxSlope = 89.0f;
// Overhangs closer than this are the same; an edge slope further than this from the general
// slope is one of its own.
constexpr double kTol = 0.001;
constexpr unsigned long kOutlineColour = 0xffff;
constexpr unsigned long kCandidateColour = 0xff00ff;
// Point input of the length picks (the host's flag word).
constexpr std::uint32_t kPickFlags = 0xe1e1;
// The eave outline keeps loops of at least this many vertices.
constexpr int kMinEaveVertices = 3;
// The roof's faces are united in single precision (unionroof, relative to their lower
// corner), and the eave outline is grown in single precision too: a slab thicker than the
// reach within which the union keeps a band apart from its eave, or an overhang wider than
// half of it (the eave outline reaches it beyond both sides of the building), puts the
// roof's own points where two roundings of one point lie farther apart than that. Such
// lengths are refused as they are typed or picked (an overhang of 1e21 on an L kept the
// eave outline busy for good).
constexpr float kMaxThickness = static_cast<float>(kernel::kUnionBandReach);
constexpr float kMaxOverhang = static_cast<float>(kernel::kUnionBandReach / 2);

// Text that is no number ("18x5", "-na") and a number beyond the float range read as NaN,
// which no range takes.
float SlopeOf(const CString& text)
{
    return TypedFloat(text).value_or(std::numeric_limits<float>::quiet_NaN());
}

// Written so that a text reading as no number at all ("nan") is out of range too.
bool IsSlopeInRange(float slope)
{
    return slope >= kMinSlope && slope <= kMaxSlope;
}

void ClearView()
{
    if (decView* view = dec::GetActiveView())
        view->ClearTempGraphics();
}

void ShowOutline(const GePoint3dArray& outline, unsigned long colour)
{
    CTools::ShowPath(outline, 1, 0, 1, colour, 10);
}

// "挑出距离不能大于419430!": the refusal of a length beyond the largest, in whole millimetres.
CString TooLarge(const char* what, float largest)
{
    CString text;
    text.Format("%s不能大于%.0f!", what, std::floor(largest));
    return text;
}

}  // namespace

CRoofDlg::CRoofDlg(CWnd* parent) : CDialog(IDD_ROOF, parent) {}

CRoofDlg::~CRoofDlg() = default;

BEGIN_MESSAGE_MAP(CRoofDlg, CDialog)
    ON_WM_SHOWWINDOW()
    ON_BN_CLICKED(IDC_ROOF_FLAT, &CRoofDlg::OnBnClickedFlatRoof)
    ON_BN_CLICKED(IDC_ROOF_MULTI_SLOPE, &CRoofDlg::OnBnClickedSlopeRoof)
    ON_BN_CLICKED(IDC_ROOF_PARAPET, &CRoofDlg::OnBnClickedParapet)
    ON_EN_CHANGE(IDC_ROOF_OVERHANG, &CRoofDlg::OnEnChangeOverhang)
    ON_EN_CHANGE(IDC_ROOF_THICKNESS, &CRoofDlg::OnEnChangeThickness)
    ON_EN_CHANGE(IDC_ROOF_SLOPE, &CRoofDlg::OnEnChangeSlope)
    ON_EN_CHANGE(IDC_ROOF_HEIGHT_A, &CRoofDlg::OnEnChangeParapetHeightA)
    ON_EN_CHANGE(IDC_ROOF_HEIGHT_B, &CRoofDlg::OnEnChangeParapetHeightB)
    ON_EN_CHANGE(IDC_ROOF_WIDTH_A, &CRoofDlg::OnEnChangeParapetWidthA)
    ON_EN_CHANGE(IDC_ROOF_WIDTH_B, &CRoofDlg::OnEnChangeParapetWidthB)
    ON_BN_CLICKED(IDC_ROOF_PICK_OVERHANG, &CRoofDlg::OnBnClickedPickOverhang)
    ON_BN_CLICKED(IDC_ROOF_PICK_THICKNESS, &CRoofDlg::OnBnClickedPickThickness)
    ON_BN_CLICKED(IDC_ROOF_PICK_HEIGHT_A, &CRoofDlg::OnBnClickedPickParapetHeightA)
    ON_BN_CLICKED(IDC_ROOF_PICK_HEIGHT_B, &CRoofDlg::OnBnClickedPickParapetHeightB)
    ON_BN_CLICKED(IDC_ROOF_PICK_WIDTH_A, &CRoofDlg::OnBnClickedPickParapetWidthA)
    ON_BN_CLICKED(IDC_ROOF_PICK_WIDTH_B, &CRoofDlg::OnBnClickedPickParapetWidthB)
    ON_BN_CLICKED(IDC_ROOF_EDGE_SLOPES, &CRoofDlg::OnBnClickedEditEdgeSlopes)
END_MESSAGE_MAP()

void CRoofDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Text(dx, IDC_ROOF_OVERHANG, m_fOverhang);
    DDX_Check(dx, IDC_ROOF_PARAPET, m_bParapet);
    DDX_Text(dx, IDC_ROOF_THICKNESS, m_fThickness);
    DDX_Radio(dx, IDC_ROOF_FLAT, m_nRoofKind);
    DDX_Text(dx, IDC_ROOF_HEIGHT_A, m_fParapetHeightA);
    DDX_Text(dx, IDC_ROOF_HEIGHT_B, m_fParapetHeightB);
    DDX_Text(dx, IDC_ROOF_WIDTH_A, m_fParapetWidthA);
    DDX_Text(dx, IDC_ROOF_WIDTH_B, m_fParapetWidthB);
    DDX_Text(dx, IDC_ROOF_SLOPE, m_strSlope);
}

BOOL CRoofDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    const RoofDialogDefaults& d = g_roofDialogDefaults;
    m_nRoofKind = d.roofKind;
    m_fOverhang = d.overhang;
    m_fThickness = d.thickness;
    if (m_nRoofKind == kFlat)
        m_strSlope = kFlatSlopeText;
    else
        m_strSlope.Format("%.0f", d.slope);
    const float slope = SlopeOf(m_strSlope);
    m_bParapet = d.parapet;
    m_fParapetHeightA = d.parapetHeightA;
    m_fParapetHeightB = d.parapetHeightB;
    m_fParapetWidthA = d.parapetWidthA;
    m_fParapetWidthB = d.parapetWidthB;
    ClearView();
    m_arrayEavePts = EaveOutline(m_fOverhang);
    ShowOutline(m_arrayEavePts, kOutlineColour);
    m_vecEdgeSlopes.assign(m_arrayEavePts.size(), slope);
    UpdateData(FALSE);
    return TRUE;
}

void CRoofDlg::SaveDefaults()
{
    g_roofDialogDefaults = {m_nRoofKind,      m_fOverhang,       m_fThickness,     SlopeOf(m_strSlope), m_bParapet,
                            m_fParapetHeightA, m_fParapetHeightB, m_fParapetWidthA, m_fParapetWidthB};
}

// The controls are written, not read: every edit has already been read by its handler.
void CRoofDlg::OnShowWindow(BOOL show, UINT status)
{
    CDialog::OnShowWindow(show, status);
    if (m_nRoofKind == kMultiSlope) {
        m_bParapet = 0;
    } else {
        m_strSlope = kFlatSlopeText;
        std::fill(m_vecEdgeSlopes.begin(), m_vecEdgeSlopes.end(), 0.0f);
    }
    ApplyEnablingRule();
    UpdateData(FALSE);
}

void CRoofDlg::EnableControls(std::initializer_list<int> ids, bool enable)
{
    for (const int id : ids)
        if (CWnd* control = GetDlgItem(id))
            control->EnableWindow(enable ? TRUE : FALSE);
}

void CRoofDlg::ApplyEnablingRule()
{
    const bool flat = m_nRoofKind != kMultiSlope;
    EnableControls({IDC_ROOF_SLOPE, IDC_ROOF_EDGE_SLOPES}, !flat);
    EnableControls({IDC_ROOF_PARAPET}, flat);
    EnableControls({IDC_ROOF_HEIGHT_A, IDC_ROOF_HEIGHT_B, IDC_ROOF_WIDTH_A, IDC_ROOF_WIDTH_B, IDC_ROOF_PICK_HEIGHT_A,
                    IDC_ROOF_PICK_HEIGHT_B, IDC_ROOF_PICK_WIDTH_A, IDC_ROOF_PICK_WIDTH_B},
                   flat && m_bParapet);
}

void CRoofDlg::OnBnClickedFlatRoof()
{
    UpdateData(TRUE);
    if (m_strSlope != kFlatSlopeText) {
        m_strSlope = kFlatSlopeText;
        std::fill(m_vecEdgeSlopes.begin(), m_vecEdgeSlopes.end(), 0.0f);
    }
    ApplyEnablingRule();
    UpdateData(FALSE);
}

void CRoofDlg::OnBnClickedSlopeRoof()
{
    UpdateData(TRUE);
    float slope = SlopeOf(m_strSlope);
    if (!IsSlopeInRange(slope)) {
        m_strSlope = kDefaultSlopeText;
        slope = kDefaultSlope;
    }
    std::fill(m_vecEdgeSlopes.begin(), m_vecEdgeSlopes.end(), slope);
    m_bParapet = 0;
    ApplyEnablingRule();
    UpdateData(FALSE);
}

void CRoofDlg::OnBnClickedParapet()
{
    UpdateData(TRUE);
    if (m_bParapet && m_fParapetHeightA == 0.0f && m_fParapetHeightB == 0.0f && m_fParapetWidthA == 0.0f &&
        m_fParapetWidthB == 0.0f) {
        m_fParapetHeightA = 900.0f;
        m_fParapetHeightB = 300.0f;
        m_fParapetWidthA = 120.0f;
        m_fParapetWidthB = 120.0f;
    }
    ApplyEnablingRule();
    UpdateData(FALSE);
}

void CRoofDlg::KeepNonNegative(float& field, const char* message)
{
    UpdateData(TRUE);
    if (field < 0.0f) {
        MessageBoxA(message, kEditCaption, MB_ICONEXCLAMATION);
        field = 0.0f;
    }
    UpdateData(FALSE);
}

bool CRoofDlg::BeyondUnionReach(double length, const char* what, float largest)
{
    if (length <= largest)
        return false;
    MessageBoxA(TooLarge(what, largest), kEditCaption, MB_ICONEXCLAMATION);
    return true;
}

void CRoofDlg::OnEnChangeThickness()
{
    const float old = m_fThickness;
    KeepNonNegative(m_fThickness, "屋面厚度不能小于0!");
    if (BeyondUnionReach(m_fThickness, kThicknessName, kMaxThickness)) {
        m_fThickness = old;
        UpdateData(FALSE);
    }
}

void CRoofDlg::OnEnChangeParapetHeightA() { KeepNonNegative(m_fParapetHeightA, "女儿墙高a不能小于0!"); }
void CRoofDlg::OnEnChangeParapetWidthA() { KeepNonNegative(m_fParapetWidthA, "女儿墙宽a不能小于0!"); }
void CRoofDlg::OnEnChangeParapetHeightB() { KeepNonNegative(m_fParapetHeightB, "女儿墙高b不能小于0!"); }
void CRoofDlg::OnEnChangeParapetWidthB() { KeepNonNegative(m_fParapetWidthB, "女儿墙宽b不能小于0!"); }

// Only the edges still on the old general slope follow it; a flat roof has no slope to edit.
void CRoofDlg::OnEnChangeSlope()
{
    if (m_nRoofKind != kMultiSlope)
        return;
    const CString oldText = m_strSlope;
    const float oldSlope = SlopeOf(oldText);
    UpdateData(TRUE);
    const float newSlope = SlopeOf(m_strSlope);
    if (!IsSlopeInRange(newSlope)) {
        MessageBoxA(kSlopeRange, "错误", MB_ICONEXCLAMATION);
        m_strSlope = oldText;
    } else if (newSlope != oldSlope) {
        std::replace(m_vecEdgeSlopes.begin(), m_vecEdgeSlopes.end(), oldSlope, newSlope);
    }
    UpdateData(FALSE);
}

GePoint3dArray CRoofDlg::EaveOutline(float overhang) const
{
    GePoint3dArray eave;
    int closed = 0;
    CTools::offset(m_arrayBasePts, 1, overhang, eave, closed, kMinEaveVertices);
    return eave;
}

void CRoofDlg::ShowEaveOutline()
{
    ClearView();
    ShowOutline(m_arrayEavePts, kOutlineColour);
}

void CRoofDlg::FollowOverhangMultiSlope(float oldOverhang)
{
    GePoint3dArray candidate = EaveOutline(m_fOverhang);
    if (candidate.size() != m_arrayEavePts.size()) {
        const float slope = SlopeOf(m_strSlope);
        const bool ownSlopes = std::any_of(m_vecEdgeSlopes.begin(), m_vecEdgeSlopes.end(),
                                           [slope](float s) { return std::fabs(s - slope) > kTol; });
        if (ownSlopes) {
            ShowOutline(candidate, kCandidateColour);
            CString question;
            question.Format(kEdgeCountQuestion, m_strSlope.GetString());
            if (MessageBoxA(question, "警告", MB_YESNO | MB_ICONEXCLAMATION) != IDYES) {
                m_fOverhang = oldOverhang;
                return;
            }
        }
        m_vecEdgeSlopes.assign(candidate.size(), slope);
    }
    m_arrayEavePts = std::move(candidate);
}

void CRoofDlg::OnEnChangeOverhang()
{
    const float oldOverhang = m_fOverhang;
    UpdateData(TRUE);
    if (std::fabs(m_fOverhang - oldOverhang) < kTol)
        return;
    const bool negative = m_fOverhang < 0.0f;
    if (negative)
        MessageBoxA(kNegativeOverhang, kEditCaption, MB_ICONEXCLAMATION);
    if (negative || BeyondUnionReach(m_fOverhang, kOverhangName, kMaxOverhang)) {
        m_fOverhang = oldOverhang;
        UpdateData(FALSE);
        return;
    }
    if (m_nRoofKind == kMultiSlope) {
        FollowOverhangMultiSlope(oldOverhang);
    } else {
        GePoint3dArray eave = EaveOutline(m_fOverhang);
        if (eave.size() != m_arrayEavePts.size())
            m_vecEdgeSlopes.assign(eave.size(), 0.0f);
        m_arrayEavePts = std::move(eave);
    }
    ShowEaveOutline();
    UpdateData(FALSE);
}

// ---- picks in the drawing ----

void CRoofDlg::HandOver()
{
    UpdateData(TRUE);
    CWnd* frame = dec::GetMainFrame();
    frame->EnableWindow(TRUE);
    frame->SetFocus();
    ::SetActiveWindow(frame->GetSafeHwnd());
    ShowWindow(SW_HIDE);
}

void CRoofDlg::TakeBack()
{
    UpdateData(FALSE);
    dec::GetMainFrame()->EnableWindow(FALSE);
    EnableWindow(TRUE);
    ::SetActiveWindow(GetSafeHwnd());
    ShowWindow(SW_SHOW);
}

bool CRoofDlg::PickDistance(const char* prompt, Guard guard, double& distance)
{
    const auto ask = [this, guard](const GePoint3d* base, GePoint3d& out) {
        if (guard == Guard::kNone)
            return dec::GetPoint(base, &out, kPickFlags, 0, 0) == dex::eOk;
        ActivateMainFrameWnd active(this);
        return dec::GetPoint(base, &out, kPickFlags, 0, 0) == dex::eOk;
    };
    dec::PrintPrompt(prompt);
    GePoint3d first, second;
    if (!ask(nullptr, first) || !ask(&first, second))
        return false;
    distance = first.DistanceTo(second);
    // Points too far apart for a float length count as no pick.
    return StoredAs<float>(distance).has_value();
}

void CRoofDlg::PickLength(const char* prompt, Guard guard, float& field, const char* what, float largest)
{
    HandOver();
    double distance = 0.0;
    if (PickDistance(prompt, guard, distance) && !BeyondUnionReach(distance, what, largest))
        field = static_cast<float>(distance);
    TakeBack();
}

void CRoofDlg::OnBnClickedPickThickness()
{
    PickLength("点取屋面厚度:", Guard::kEachPoint, m_fThickness, kThicknessName, kMaxThickness);
}
void CRoofDlg::OnBnClickedPickParapetHeightA() { PickLength("点取女儿墙高度a:", Guard::kNone, m_fParapetHeightA); }
void CRoofDlg::OnBnClickedPickParapetHeightB() { PickLength("点取女儿墙高度b:", Guard::kNone, m_fParapetHeightB); }
void CRoofDlg::OnBnClickedPickParapetWidthA() { PickLength("点取女儿墙宽度a:", Guard::kNone, m_fParapetWidthA); }
void CRoofDlg::OnBnClickedPickParapetWidthB() { PickLength("点取女儿墙宽度b:", Guard::kNone, m_fParapetWidthB); }

// The picked overhang is taken to the nearest whole millimetre. A flat roof's edge slopes
// are reset whatever the new eave vertex count.
void CRoofDlg::OnBnClickedPickOverhang()
{
    const float oldOverhang = m_fOverhang;
    HandOver();
    double distance = 0.0;
    if (PickDistance("点取出挑距离:", Guard::kEachPoint, distance) &&
        !BeyondUnionReach(std::floor(distance + 0.5), kOverhangName, kMaxOverhang))
        m_fOverhang = static_cast<float>(std::floor(distance + 0.5));
    if (m_fOverhang == oldOverhang) {
        TakeBack();
        return;
    }
    if (m_nRoofKind == kMultiSlope) {
        FollowOverhangMultiSlope(oldOverhang);
    } else {
        m_arrayEavePts = EaveOutline(m_fOverhang);
        m_vecEdgeSlopes.assign(m_arrayEavePts.size(), 0.0f);
    }
    ShowEaveOutline();
    TakeBack();
}
