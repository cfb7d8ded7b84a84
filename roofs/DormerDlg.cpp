#include "DormerDlg.h"

#include <cmath>
#include <optional>

#include "CheckedNumbers.h"
#include "CommandLine.h"
#include "DbDatabase.h"
#include "Dormer.h"
#include "DormerDlgTemplate.h"
#include "DormerDragCallback.h"
#include "DormerGeometry.h"
#include "Input.h"
#include "MainFrame.h"
#include "ModelHelperLayersMaterials.h"
#include "qrxGeScalar.h"
#include "Tools.h"
#include "TypedNumbers.h"
#include "WorkingDrawing.h"

DormerDefaults g_dormerDefaults;

namespace {

constexpr const char* kWarning = "警告";
constexpr const char* kPositive = "请输入一个正整数!";
constexpr const char* kNonNegative = "请输入一个非负整数!";
constexpr const char* kBothHeightsZero = "高度1与高度2不能同时为0!";
constexpr const char* kHeight1Positive = "高度1必须大于0!";
constexpr const char* kHeight2Positive = "高度2必须大于0!";
constexpr const char* kWidthPositive = "宽度必须大于0!";
constexpr const char* kAnchorBelowFaces = "定位高度不能小于坡面的最低点垂直高度%.4f!";
constexpr const char* kAnchorAboveFaces = "定位高度不能大于坡面的最高点垂直高度%.4f!";
constexpr const char* kNoLocateLine = "无法计算定位线!请修改定位高度!";
constexpr const char* kPlacePrompt = "点取插入点/输入起始距离(mm):";
constexpr const char* kOffFace = "提示：老虎窗超出所选坡面，请重新输入。";
constexpr const char* kAnchorPrompt = "点取定位点的高度位置:";
constexpr const char* kLayer = "老虎窗";
constexpr std::uint32_t kLayerColour = 0xFFFF;
constexpr unsigned long kMaterialColour = 0x80FFFF;
// Point-input flags of the host: for lengths, and for the anchor point.
constexpr std::uint32_t kLengthFlags = 57825;
constexpr std::uint32_t kAnchorFlags = 0xFFFFFF;
// A height refilled when its remembered value is no height.
constexpr int kRefillHeight = 1000;
constexpr double kPi = qrxGe::kPi;
constexpr double kTwoPi = 6.2831854820251465;
constexpr double kNormalTol = 0.001;
constexpr double kAngleTol = 1e-6;

const int kBitmaps[] = {IDB_DORMER_PENTAGON, IDB_DORMER_RECTANGLE, IDB_DORMER_TRIANGLE};

// Whole millimetres, truncated towards zero; a value no int holds gives nothing.
bool Truncated(double value, int& out)
{
    const std::optional<int> whole = StoredAs<int>(value);
    if (whole)
        out = *whole;
    return whole.has_value();
}

}  // namespace

CDormerDlg::CDormerDlg(CWnd* parent) : CDialog(IDD_DORMER, parent) {}

BEGIN_MESSAGE_MAP(CDormerDlg, CDialog)
    ON_WM_PAINT()
    ON_EN_CHANGE(IDC_DORMER_HEIGHT1, &CDormerDlg::OnEnChangeHeight1)
    ON_EN_CHANGE(IDC_DORMER_HEIGHT2, &CDormerDlg::OnEnChangeHeight2)
    ON_EN_CHANGE(IDC_DORMER_WIDTH, &CDormerDlg::OnEnChangeWidth)
    ON_EN_CHANGE(IDC_DORMER_THICKNESS, &CDormerDlg::OnEnChangeRoofThickness)
    ON_EN_CHANGE(IDC_DORMER_OVERHANG, &CDormerDlg::OnEnChangeOverhang)
    ON_BN_CLICKED(IDC_DORMER_PICK_WIDTH, &CDormerDlg::OnBnClickedPickWidth)
    ON_BN_CLICKED(IDC_DORMER_PICK_HEIGHT1, &CDormerDlg::OnBnClickedPickHeight1)
    ON_BN_CLICKED(IDC_DORMER_PICK_HEIGHT2, &CDormerDlg::OnBnClickedPickHeight2)
    ON_BN_CLICKED(IDC_DORMER_PICK_THICKNESS, &CDormerDlg::OnBnClickedPickRoofThickness)
    ON_BN_CLICKED(IDC_DORMER_PICK_OVERHANG, &CDormerDlg::OnBnClickedPickOverhang)
    ON_BN_CLICKED(IDC_DORMER_PICK_ANCHOR, &CDormerDlg::OnBnClickedPickAnchorHeight)
    ON_BN_CLICKED(IDC_DORMER_PENTAGON, &CDormerDlg::OnBnClickedPentagon)
    ON_BN_CLICKED(IDC_DORMER_RECTANGLE, &CDormerDlg::OnBnClickedRectangle)
    ON_BN_CLICKED(IDC_DORMER_TRIANGLE, &CDormerDlg::OnBnClickedTriangle)
END_MESSAGE_MAP()

void CDormerDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_DORMER_PICTURE, m_picture);
    DDX_Radio(dx, IDC_DORMER_PENTAGON, m_nShape);
    DDX_Text(dx, IDC_DORMER_HEIGHT1, m_nHeight1);
    DDX_Text(dx, IDC_DORMER_HEIGHT2, m_nHeight2);
    DDX_Text(dx, IDC_DORMER_WIDTH, m_nWidth);
    DDX_Text(dx, IDC_DORMER_THICKNESS, m_nRoofThickness);
    DDX_Text(dx, IDC_DORMER_OVERHANG, m_nOverhang);
    DDX_Text(dx, IDC_DORMER_ANCHOR, m_dblAnchorHeight);
}

BOOL CDormerDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    const DormerDefaults& d = g_dormerDefaults;
    m_nShape = d.shape;
    m_nWidth = d.width;
    m_nHeight1 = d.height1;
    m_nHeight2 = d.height2;
    m_nRoofThickness = d.roofThickness;
    m_nOverhang = d.overhang;
    m_dblAnchorHeight = m_dblOpeningAnchor;
    if (m_nShape == kRectangle)
        m_nHeight2 = 0;
    else if (m_nShape == kTriangle)
        m_nHeight1 = 0;
    UpdateData(FALSE);
    return TRUE;
}

void CDormerDlg::OnPaint()
{
    ShowShape();
}

void CDormerDlg::ShowShape()
{
    const int shape = m_nShape == kRectangle || m_nShape == kTriangle ? m_nShape : kPentagon;
    m_picture.SetBitmap(LoadBitmap(AfxGetInstanceHandle(), MAKEINTRESOURCE(kBitmaps[shape])));
    const bool wall = shape != kTriangle;
    const bool gable = shape != kRectangle;
    for (int id : {IDC_DORMER_HEIGHT1, IDC_DORMER_PICK_HEIGHT1})
        GetDlgItem(id)->EnableWindow(wall ? TRUE : FALSE);
    for (int id : {IDC_DORMER_HEIGHT2, IDC_DORMER_PICK_HEIGHT2})
        GetDlgItem(id)->EnableWindow(gable ? TRUE : FALSE);
    if (!gable) {
        m_nHeight2 = 0;
        SetDlgItemInt(IDC_DORMER_HEIGHT2, 0);
    }
    if (!wall) {
        m_nHeight1 = 0;
        SetDlgItemInt(IDC_DORMER_HEIGHT1, 0);
    }
}

// A radio click: the shape as shown, and the heights of its enabled part that are no heights
// refilled from their remembered values (or 1000).
void CDormerDlg::ChooseShape()
{
    UpdateData(TRUE);
    ShowShape();
    const auto refill = [](int remembered) { return remembered >= 1 ? remembered : kRefillHeight; };
    if (m_nShape != kTriangle && m_nHeight1 < 1)
        m_nHeight1 = refill(g_dormerDefaults.height1);
    if (m_nShape != kRectangle && m_nHeight2 < 1)
        m_nHeight2 = refill(g_dormerDefaults.height2);
    UpdateData(FALSE);
}

void CDormerDlg::OnBnClickedPentagon() { ChooseShape(); }
void CDormerDlg::OnBnClickedRectangle() { ChooseShape(); }
void CDormerDlg::OnBnClickedTriangle() { ChooseShape(); }

void CDormerDlg::Warn(const char* message)
{
    MessageBox(message, kWarning, MB_OK | MB_ICONEXCLAMATION);
}

template <class Check>
void CDormerDlg::CheckEdit(int& field, Check refusal)
{
    const int old = field;
    UpdateData(TRUE);
    if (const char* message = refusal()) {
        Warn(message);
        field = old;
    }
    UpdateData(FALSE);
}

void CDormerDlg::OnEnChangeWidth()
{
    CheckEdit(m_nWidth, [this]() -> const char* { return m_nWidth < 1 ? kPositive : nullptr; });
}

void CDormerDlg::OnEnChangeHeight1()
{
    CheckEdit(m_nHeight1, [this]() -> const char* {
        if (m_nShape == kPentagon)
            return m_nHeight1 < 0 ? kNonNegative : m_nHeight1 == 0 && m_nHeight2 == 0 ? kBothHeightsZero : nullptr;
        return m_nShape == kRectangle && m_nHeight1 <= 0 ? kHeight1Positive : nullptr;
    });
}

void CDormerDlg::OnEnChangeHeight2()
{
    CheckEdit(m_nHeight2, [this]() -> const char* {
        if (m_nShape == kPentagon)
            return m_nHeight2 < 0 ? kNonNegative : m_nHeight2 == 0 && m_nHeight1 == 0 ? kBothHeightsZero : nullptr;
        return m_nShape == kTriangle && m_nHeight2 <= 0 ? kHeight2Positive : nullptr;
    });
}

void CDormerDlg::OnEnChangeRoofThickness()
{
    CheckEdit(m_nRoofThickness, [this]() -> const char* { return m_nRoofThickness < 0 ? kNonNegative : nullptr; });
}

void CDormerDlg::OnEnChangeOverhang()
{
    CheckEdit(m_nOverhang, [this]() -> const char* { return m_nOverhang < 0 ? kNonNegative : nullptr; });
}

void CDormerDlg::HandToDrawing()
{
    CWnd* frame = dec::GetMainFrame();
    frame->EnableWindow(TRUE);
    frame->SetFocus();
    frame->SetActiveWindow();
    ShowWindow(SW_HIDE);
}

void CDormerDlg::TakeBack()
{
    UpdateData(FALSE);
    dec::GetMainFrame()->EnableWindow(FALSE);
    EnableWindow(TRUE);
    SetActiveWindow();
    ShowWindow(SW_SHOW);
}

bool CDormerDlg::PickLength(const char* prompt, float* result)
{
    UpdateData(TRUE);
    HandToDrawing();
    dec::PrintPrompt(prompt);
    GePoint3d first, second;
    bool picked = false;
    {
        ActivateMainFrameWnd active(this);
        picked = dec::GetPoint(nullptr, &first, kLengthFlags) == dex::eOk;
    }
    if (picked) {
        ActivateMainFrameWnd active(this);
        picked = dec::GetPoint(&first, &second, kLengthFlags) == dex::eOk;
    }
    // Points too far apart for a float length count as no pick.
    const std::optional<float> length = StoredAs<float>(first.DistanceTo(second));
    picked = picked && length;
    if (picked)
        *result = *length;
    TakeBack();
    return picked;
}

template <class Check>
void CDormerDlg::PickInto(const char* prompt, int& field, Check refusal)
{
    const int old = field;
    float length = 0.0f;
    int value = 0;
    if (PickLength(prompt, &length) && Truncated(length, value)) {
        const char* message = refusal(value);
        if (message)
            Warn(message);
        field = message ? old : value;
    } else {
        field = old;
    }
    UpdateData(FALSE);
}

void CDormerDlg::OnBnClickedPickWidth()
{
    PickInto("点取宽度:", m_nWidth, [](int v) -> const char* { return v > 0 ? nullptr : kWidthPositive; });
}

void CDormerDlg::OnBnClickedPickHeight1()
{
    PickInto("点取高度1:", m_nHeight1, [this](int v) -> const char* {
        if (v == 0 && m_nShape == kRectangle)
            return kHeight1Positive;
        return v == 0 && m_nHeight2 == 0 ? kBothHeightsZero : nullptr;
    });
}

void CDormerDlg::OnBnClickedPickHeight2()
{
    PickInto("点取高度2:", m_nHeight2, [this](int v) -> const char* {
        if (v == 0 && m_nShape == kTriangle)
            return kHeight2Positive;
        return v == 0 && m_nHeight1 == 0 ? kBothHeightsZero : nullptr;
    });
}

void CDormerDlg::OnBnClickedPickRoofThickness()
{
    PickInto("点取屋面厚度:", m_nRoofThickness, [](int) -> const char* { return nullptr; });
}

void CDormerDlg::OnBnClickedPickOverhang()
{
    PickInto("点取挑出长度:", m_nOverhang, [](int) -> const char* { return nullptr; });
}

// The kept height is truncated to whole millimetres in a double: faces 1e10 up give anchor
// heights that no int holds.
void CDormerDlg::OnBnClickedPickAnchorHeight()
{
    const double kept = std::trunc(m_dblAnchorHeight);
    UpdateData(TRUE);
    HandToDrawing();
    dec::PrintPrompt(kAnchorPrompt);
    GePoint3d point;
    int answer = 0;
    {
        ActivateMainFrameWnd active(this);
        answer = dec::GetPoint(nullptr, &point, kAnchorFlags);
    }
    m_dblAnchorHeight = answer == dex::eOk ? point.z : kept;
    TakeBack();
}

void CDormerDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    // A height that is no number lies on no face either.
    const char* refusal = !(m_dblMinZ <= m_dblAnchorHeight) ? kAnchorBelowFaces
                          : m_dblMaxZ < m_dblAnchorHeight   ? kAnchorAboveFaces
                                                            : nullptr;
    if (refusal) {
        CString message;
        message.Format(refusal, refusal == kAnchorBelowFaces ? m_dblMinZ : m_dblMaxZ);
        Warn(message);
        // Back to the height this run opened with, which lies on the faces.
        m_dblAnchorHeight = m_dblOpeningAnchor;
        UpdateData(FALSE);
        return;
    }
    CDormer_DragCallback drag;
    if (!drag.ComputeLocateLine(m_arrayFace, m_dblAnchorHeight, m_nWidth, m_nHeight1, m_nHeight2, m_nRoofThickness,
                                m_nOverhang)) {
        Warn(kNoLocateLine);
        return;
    }
    DbDatabase* db = dec::GetWorkingDatabase();
    decLayerTable* layers = db->GetTableLayer();
    const decLayer* layer = layers->SearchLayer(kLayer);
    if (!layer) {
        db->OpenForWrite();
        layers->OpenForWrite();
        layer = layers->CreateNewLayer(kLayer, kLayerColour);
        layers->Close();
        db->Close();
    }
    if (!layer)
        return;
    HandToDrawing();
    Place(drag, layer->GetID());
    TakeBack();
    g_dormerDefaults.shape = m_nShape;
    Truncated(m_dblAnchorHeight, g_dormerDefaults.anchorHeight);
    g_dormerDefaults.width = m_nWidth;
    g_dormerDefaults.height1 = m_nHeight1;
    g_dormerDefaults.height2 = m_nHeight2;
    g_dormerDefaults.roofThickness = m_nRoofThickness;
    g_dormerDefaults.overhang = m_nOverhang;
}

// The placement run: every picked point or typed start distance makes a dormer, until the
// user answers anything else.
void CDormerDlg::Place(CDormer_DragCallback& drag, long layerId)
{
    while (true) {
        dec::PrintPrompt(kPlacePrompt);
        drag.SetUserInputFlags(kInputTakesText);
        GePoint3d point;
        const int answer = dec::GetDragPoint(&drag, &point, 1);
        double distance = 0.0;
        int index = 0;
        if (answer == dex::eTextInput) {
            // A start distance that is no number is asked again, as a position off the
            // locating line is.
            const std::optional<double> typed = TypedNumber(drag.GetUserString());
            if (!typed)
                continue;
            distance = *typed;
            index = drag.GetCurrentIndex();
        } else if (answer == dex::eOk || answer == dex::eEmpty) {
            index = drag.LocatePoint(point);
            if (index == -1)
                continue;
        } else {
            return;
        }
        if (index < 0 || static_cast<std::size_t>(index) >= m_arrayFace.size())
            continue;
        const GePoint3dArray& face = m_arrayFace[static_cast<std::size_t>(index)];
        GeVector3d normal = CTools::GetNormal(face, kNormalTol);
        normal.Normalize(kNormalTol);
        if (normal.z < 0.0)
            normal = -normal;
        GeVector3d eave, upSlope;
        if (!DormerAxes(normal, eave, upSlope))
            continue;
        double slope = GeVector3d::kZAxis.AngleTo(normal, eave, kAngleTol);
        if (slope > kPi)
            slope = kTwoPi - slope;
        if (answer == dex::eTextInput) {
            // Along the eave from the face's first vertex, then level up the slope to the
            // anchor height.
            point = drag.GetCurrentPoint() + eave * distance +
                    upSlope * ((m_dblAnchorHeight - face.front().z) / std::tan(slope));
            point.z = m_dblAnchorHeight;
        }
        // Picked points lie on the locating line, typed distances anywhere along it; either
        // way a dormer that leaves its face (its body in the air beside it, body or slab past
        // its ridge, or where no number reaches) is refused.
        GeMatrix3d frame;
        frame.SetCoordSystem(point, eave, upSlope, GeVector3d::kZAxis);
        const DormerSize size{m_nWidth, m_nHeight1, m_nHeight2, m_nRoofThickness, m_nOverhang};
        if (!IsFinite(point) || !DormerOnFace(face, frame, size, slope)) {
            dec::PrintPrompt(kOffFace);
            continue;
        }
        MakeDormer(layerId, frame, slope);
    }
}

void CDormerDlg::MakeDormer(long layerId, const GeMatrix3d& frame, double slope)
{
    DbDatabase* db = dec::GetWorkingDatabase();
    db->OpenForWrite();
    CString material(kLayer);
    const long materialId = CreateSolidColorMaterial(db, material, kMaterialColour, 0.0);
    auto* dormer = new CDormer();
    if (dormer->SetData(m_nWidth, m_nHeight1, m_nHeight2, m_nRoofThickness, m_nOverhang, slope) == 1) {
        decObjectId id;
        db->CreateNewEntity(layerId, dormer, frame, id, materialId);
    } else {
        delete dormer;
    }
    db->Close();
}
