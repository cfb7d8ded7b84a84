#include "2PointInsertWindow.h"

#include <cmath>
#include <optional>
#include <vector>

#include "2PointInsertWindowDlg.h"
#include "AssertReport.h"
#include "CheckedNumbers.h"
#include "CommandLine.h"
#include "CurrentLayerRestore.h"
#include "Input.h"
#include "ModuleGlobals.h"
#include "OrvCommandHandlers.h"
#include "TypedNumbers.h"
#include "View.h"
#include "WindowCreation.h"
#include "WorkingDrawing.h"

namespace {

constexpr const char* kRightPrompt = "右窗台点或输入窗宽:";
// Widths a window may have, typed or picked, in millimetres.
constexpr double kMinWidth = 0.001;
constexpr double kMaxWidth = 100000.0;
// Directions shorter than this cannot be normalised.
constexpr double kDirectionTol = 0.001;
// The line of the assertion an unreadable building outline raises.
constexpr int kOutlineReadCheckLine = 272;

// The preview: sill, width text and facing arrow.
constexpr std::uint32_t kSillColour = 0xff0000;
constexpr std::uint32_t kWidthTextColour = 0xffff;
constexpr std::uint32_t kArrowColour = 0xff00ff;
constexpr double kWidthTextHeight = 500.0;
constexpr double kWidthTextFactor = 0.8;
constexpr unsigned kWidthTextAlignment = 0x22;
// A quarter turn clockwise, in single precision.
constexpr double kQuarterTurnClockwise = -1.5707963705062866;
constexpr double kArrowLength = 500.0;
constexpr double kBarbLength = 200.0;
constexpr double kBarbDegrees = 15.0;

}  // namespace

// ---- drag preview ------------------------------------------------------------------------

drag_cb_2p_window::drag_cb_2p_window(const GePoint3d& base) : m_base(base), m_current(base), m_mid(base) {}

void drag_cb_2p_window::OnDragDraw(decView* view, const GePoint3d& pt)
{
    m_current = pt;
    m_current.z = m_base.z;
    if (!view)
        return;
    view->SetColor(kSillColour);
    view->Line(m_base, m_current);

    view->SetColor(kWidthTextColour);
    m_widthText.Format("%.0f", m_base.DistanceTo(m_current) + 0.5);
    m_mid = m_base + (m_current - m_base) / 2.0;
    GeVector3d direction = m_current - m_base;
    direction.Normalize(kDirectionTol);
    view->Text(m_widthText, m_mid, direction, GeVector3d::kZAxis, 0.0, kWidthTextHeight, kWidthTextFactor,
               kWidthTextAlignment);

    view->SetColor(kArrowColour);
    GeVector3d side = m_current - m_mid;
    side.RotateBy(kQuarterTurnClockwise, GeVector3d::kZAxis);
    side.Normalize(kDirectionTol);
    const GePoint3d tip = m_mid + side * kArrowLength;
    view->Line(m_mid, tip);
    for (const double degrees : {kBarbDegrees, -kBarbDegrees}) {
        GeVector3d barb = -side;
        barb.RotateBy(degrees / g_degPerRadian, GeVector3d::kZAxis);
        view->Line(tip, tip + barb * kBarbLength);
    }
}

// ---- the worker --------------------------------------------------------------------------

int C2PointInsertWindow::RunDialog()
{
    AFX_MAINTAIN_STATE2 guard(AfxGetStaticModuleState());
    C2PointInsertWindowDlg dialog;
    if (dialog.DoModal() != IDOK)
        return 0;
    m_nSill = dialog.m_nSill;
    m_nFloor = dialog.m_nFloor;
    m_nStoreyHeight = static_cast<UINT>(dialog.m_nStoreyHeight);
    m_nRepeat = dialog.m_nRepeat;
    m_nPosition = dialog.m_nPosition;
    m_nHeight = dialog.m_nWindowHeight;
    CollectBuildOutlines();
    return 1;
}

void C2PointInsertWindow::CollectBuildOutlines()
{
    for (int unreadable = m_buildings.Collect(); unreadable > 0; --unreadable)
        ReportAssertFailure("0", "2PointInsertWindow", kOutlineReadCheckLine);
}

int C2PointInsertWindow::Run()
{
    return GetInput() && InsertWindow() ? 1 : 0;
}

int C2PointInsertWindow::GetInput()
{
    dec::PrintPrompt("左窗台点:");
    if (dec::GetPoint(nullptr, &m_ptLeft, 0xffffff, 0, 0) != dex::eOk)
        return 0;
    drag_cb_2p_window callback(m_ptLeft);
    dec::PrintPrompt(kRightPrompt);
    while (true) {
        callback.SetUserInputFlags(kInputTakesText);
        const int result = dec::GetDragPoint(&callback, &m_ptRight, 1);
        m_ptRight.z = m_ptLeft.z;
        double width = 0.0;
        if (result == dex::eTextInput) {
            // Text that is no number is asked again as a width too small is.
            const std::optional<double> typed = TypedNumber(callback.GetUserString());
            if (!typed || *typed < kMinWidth)
                continue;
            width = *typed;
            // A typed width runs towards the cursor; with the cursor still on the left point
            // there is no direction to run in.
            GeVector3d direction = callback.Current() - m_ptLeft;
            if (direction.Length() < kDirectionTol) {
                dec::PrintPrompt("提示：请先移动光标指明窗宽的方向。");
                continue;
            }
            direction.Normalize(kDirectionTol);
            m_ptRight = m_ptLeft + direction * width;
        } else if (result == dex::eOk) {
            width = m_ptLeft.DistanceTo(m_ptRight);
        } else {
            return 0;
        }
        // A right point that overflowed (a width typed far out from a far left point) is asked again.
        if (width >= kMinWidth && width <= kMaxWidth && IsFinite(m_ptRight))
            return 1;
    }
}

CString C2PointInsertWindow::IsPointInOutline() const
{
    return m_buildings.NameAt(GePoint2d((m_ptLeft.x + m_ptRight.x) * 0.5, (m_ptLeft.y + m_ptRight.y) * 0.5));
}

bool C2PointInsertWindow::InsertWindow()
{
    // The sill runs from the right end to the left end: seen from the side the user picked
    // left-then-right on, the window faces that side.
    const GeVector3d xAxis = m_ptLeft - m_ptRight;
    GePoint3d origin((m_ptLeft.x + m_ptRight.x) * 0.5, (m_ptLeft.y + m_ptRight.y) * 0.5, m_nSill);
    m_nWidth = static_cast<int>(m_ptLeft.DistanceTo(m_ptRight) + 0.5);
    NewWindow made{.numbers = {.building = IsPointInOutline(), .position = static_cast<int>(m_nPosition),
                               .width = m_nWidth, .height = m_nHeight}};
    // The column stops below the first storey whose sill cannot be placed.
    std::vector<NewWindow> column;
    for (UINT k = 0; k < m_nRepeat && MakeWindowFrame(origin, xAxis, made.frame); ++k) {
        made.numbers.floor = static_cast<int>(m_nFloor + k);
        column.push_back(made);
        origin.z += m_nStoreyHeight;
    }
    if (const std::optional<WinBelongBuild::Clash> clash = JoiningClash(column)) {
        dec::PrintPrompt(WinBelongBuild::Refusal(*clash, kColumnRecordsAdvice));
        return false;
    }
    DbDatabase* db = dec::GetWorkingDatabase();
    CreateNumberedWindows(db, PrepareWindowLook(db), column);
    return true;
}

// ---- the command -------------------------------------------------------------------------

void CMD_2POINT_INSERT_WINDOW()
{
    dec::PrintPrompt("***两点插窗***");
    C2PointInsertWindow worker;
    if (!worker.RunDialog())
        return;
    RunPassesKeepingCurrentLayer([&worker] {
        if (!worker.Run())
            return 0;
        worker.NextPosition();
        return 1;
    });
}
