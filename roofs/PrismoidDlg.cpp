// CPrismoidDlg as a dialog: the remembered values, the exchange with the controls, the top
// option, the picks in the drawing and OK.
#include "PrismoidDlg.h"

#include <cmath>
#include <optional>

#include "CheckedNumbers.h"
#include "Input.h"
#include "MainFrame.h"
#include "PrismoidDlgTemplate.h"

PrismoidRoofDefaults g_prismoidRoofDefaults;

namespace {

constexpr const char* kOffsetZero = "偏移距离必须非零值！";
constexpr const char* kHeightPrompt = "请指定高度";
constexpr const char* kOffsetPrompt = "请指定偏移距离";
constexpr const char* kSlopePrompt = "请指定坡度";
constexpr const char* kOverhangPrompt = "请指定挑出长度";
constexpr const char* kThicknessPrompt = "请指定屋面厚度";
// Limits of the values.
constexpr float kMinSlope = 1.0f;
constexpr float kMaxSlope = 179.0f;
constexpr UINT kMaxOverhang = 10000;
constexpr UINT kMaxThickness = 10000;
constexpr UINT kMinHeight = 1;
constexpr UINT kMaxHeight = 100000;

// The length truncated toward zero, when the field's type can hold it.
template <class Field>
bool Truncated(double length, Field& out)
{
    const std::optional<Field> whole = StoredAs<Field>(length);
    if (whole)
        out = *whole;
    return whole.has_value();
}

}  // namespace

CPrismoidDlg::CPrismoidDlg(CWnd* parent)
    : CDialog(IDD_PRISMOID_ROOF, parent), m_height(g_prismoidRoofDefaults.height),
      m_topOption(g_prismoidRoofDefaults.topOption), m_offset(g_prismoidRoofDefaults.offset),
      m_slope(g_prismoidRoofDefaults.slope), m_overhang(g_prismoidRoofDefaults.overhang),
      m_thickness(g_prismoidRoofDefaults.thickness)
{
}

CPrismoidDlg::~CPrismoidDlg() = default;

BEGIN_MESSAGE_MAP(CPrismoidDlg, CDialog)
    ON_BN_CLICKED(IDC_PRISMOID_BY_OFFSET, &CPrismoidDlg::OnBnClickedOffset)
    ON_BN_CLICKED(IDC_PRISMOID_BY_SLOPE, &CPrismoidDlg::OnBnClickedSlope)
    ON_BN_CLICKED(IDC_PRISMOID_PICK_HEIGHT, &CPrismoidDlg::OnBnClickedPickHeight)
    ON_BN_CLICKED(IDC_PRISMOID_PICK_OFFSET, &CPrismoidDlg::OnBnClickedPickOffset)
    ON_BN_CLICKED(IDC_PRISMOID_PICK_SLOPE, &CPrismoidDlg::OnBnClickedPickSlope)
    ON_BN_CLICKED(IDC_PRISMOID_PICK_OVERHANG, &CPrismoidDlg::OnBnClickedPickOverhang)
    ON_BN_CLICKED(IDC_PRISMOID_PICK_THICKNESS, &CPrismoidDlg::OnBnClickedPickThickness)
    ON_BN_CLICKED(IDOK, &CPrismoidDlg::OnBnClickedOk)
END_MESSAGE_MAP()

void CPrismoidDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Radio(dx, IDC_PRISMOID_BY_OFFSET, m_topOption);
    DDX_Text(dx, IDC_PRISMOID_OFFSET, m_offset);
    DDX_Text(dx, IDC_PRISMOID_SLOPE, m_slope);
    DDV_MinMaxFloat(dx, m_slope, kMinSlope, kMaxSlope);
    DDX_Text(dx, IDC_PRISMOID_OVERHANG, m_overhang);
    DDV_MinMaxUInt(dx, m_overhang, 0, kMaxOverhang);
    DDX_Text(dx, IDC_PRISMOID_THICKNESS, m_thickness);
    DDV_MinMaxUInt(dx, m_thickness, 0, kMaxThickness);
    DDX_Text(dx, IDC_PRISMOID_HEIGHT, m_height);
    DDV_MinMaxUInt(dx, m_height, kMinHeight, kMaxHeight);
    DDX_Control(dx, IDC_PRISMOID_PICK_HEIGHT, m_pickHeight);
    DDX_Control(dx, IDC_PRISMOID_PICK_OFFSET, m_pickOffset);
    DDX_Control(dx, IDC_PRISMOID_PICK_SLOPE, m_pickSlope);
    DDX_Control(dx, IDC_PRISMOID_PICK_OVERHANG, m_pickOverhang);
    DDX_Control(dx, IDC_PRISMOID_PICK_THICKNESS, m_pickThickness);
}

BOOL CPrismoidDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    const HICON distance = AfxGetApp()->LoadIcon(IDI_PICK_DISTANCE);
    for (CButton* pick : {&m_pickHeight, &m_pickOffset, &m_pickOverhang, &m_pickThickness})
        pick->SetIcon(distance);
    m_pickSlope.SetIcon(AfxGetApp()->LoadIcon(IDI_PICK_ANGLE));
    EnableTopEdits();
    return TRUE;
}

void CPrismoidDlg::EnableTopEdits()
{
    GetDlgItem(IDC_PRISMOID_OFFSET)->EnableWindow(m_topOption == kByOffset);
    GetDlgItem(IDC_PRISMOID_SLOPE)->EnableWindow(m_topOption == kBySlope);
}

void CPrismoidDlg::OnBnClickedOffset()
{
    // The option comes first in the exchange, so it is taken even when a later field is refused.
    UpdateData(TRUE);
    EnableTopEdits();
}

void CPrismoidDlg::OnBnClickedSlope()
{
    OnBnClickedOffset();
}

template <class Field>
void CPrismoidDlg::PickLength(const char* prompt, Field& field)
{
    if (!UpdateData(TRUE))
        return;
    ShowWindow(SW_HIDE);
    double length = 0.0;
    int result = 0;
    {
        ActivateMainFrameWnd frame(this);
        result = dec::GetDistance(prompt, &length, static_cast<double>(field), 0);
    }
    // A length the field cannot hold (negative for an unsigned one) leaves it as it was.
    if (result == dex::eOk)
        Truncated(length, field);
    UpdateData(FALSE);
    ShowWindow(SW_SHOW);
}

void CPrismoidDlg::PickAngle(const char* prompt, float& field)
{
    if (!UpdateData(TRUE))
        return;
    ShowWindow(SW_HIDE);
    double angle = 0.0;
    int result = 0;
    {
        ActivateMainFrameWnd frame(this);
        result = dec::GetAngle(prompt, &angle, field, 0);
    }
    // An angle beyond the float range leaves the field as it was.
    const std::optional<float> taken = StoredAs<float>(angle);
    if (result == dex::eOk && taken)
        field = *taken;
    UpdateData(FALSE);
    ShowWindow(SW_SHOW);
}

void CPrismoidDlg::OnBnClickedPickHeight() { PickLength(kHeightPrompt, m_height); }
void CPrismoidDlg::OnBnClickedPickOffset() { PickLength(kOffsetPrompt, m_offset); }
void CPrismoidDlg::OnBnClickedPickSlope() { PickAngle(kSlopePrompt, m_slope); }
void CPrismoidDlg::OnBnClickedPickOverhang() { PickLength(kOverhangPrompt, m_overhang); }
void CPrismoidDlg::OnBnClickedPickThickness() { PickLength(kThicknessPrompt, m_thickness); }

void CPrismoidDlg::OnBnClickedOk()
{
    if (!UpdateData(TRUE))
        return;
    if (m_topOption == kByOffset && m_offset == 0) {
        AfxMessageBox(kOffsetZero, MB_OK, 0);
        GotoDlgCtrl(GetDlgItem(IDC_PRISMOID_OFFSET));
        return;
    }
    g_prismoidRoofDefaults = {m_height, m_topOption, m_offset, m_slope, m_overhang, m_thickness};
    CDialog::OnOK();
}
