#include "OrderInsertWindow.h"

#include <cstdint>
#include <optional>
#include <vector>

#include "CommandLine.h"
#include "DbDatabase.h"
#include "DragCallback.h"
#include "FacadeWallPick.h"
#include "TypedNumbers.h"
#include "ModelHelperBuildings.h"
#include "OrderInsertWindowDlg.h"
#include "OrvCommandHandlers.h"
#include "View.h"
#include "WinApp.h"
#include "WindowCreation.h"
#include "WorkingDrawing.h"

int g_orderWinSpacing = 1000;

namespace {

// Less than this much of the edge left ends the walk.
constexpr double kEdgeRest = 5.0;
constexpr std::uint32_t kEdgeColour = 0xffff;
constexpr int kStartMarkSize = 10;
// Point questions take typed text as an answer.
constexpr unsigned kInputFlags = 257;

// Draws the line from the base point to the cursor and shows the plan distance with a label.
class new_drag_cb_order_insert_window : public decDragCallback {
public:
    new_drag_cb_order_insert_window(const GePoint3d& base, const char* label) : m_base(base), m_label(label) {}

    void OnDragDraw(decView* view, const GePoint3d& pt) override
    {
        if (view)
            view->DrawLine(m_base, pt);
        const GePoint3d from(m_base.x, m_base.y, 0.0);
        const GePoint3d to(pt.x, pt.y, 0.0);
        ShowTip(m_label + "：%.0f", from.DistanceTo(to));
    }

private:
    GePoint3d m_base;
    CString m_label;
};

// One length question: what makes an answer acceptable, what is said otherwise, and the
// value that then stands.
struct LengthQuestion {
    const char* label;
    const char* prompt;
    bool (*accepts)(int value);
    const char* refusal;
    int fallback;
};

const LengthQuestion kSpacingQuestion{"窗间距", "指定或输入窗间距", [](int v) { return v >= 0; }, "窗间距不能是负值!",
                                      1000};
const LengthQuestion kWidthQuestion{"窗宽", "指定或输入窗宽", [](int v) { return v > 0; }, "窗宽必须是正值!", 1800};

class COrderInsertWindow {
public:
    COrderInsertWindow() : m_nSpacing(g_orderWinSpacing) {}
    ~COrderInsertWindow() { g_orderWinSpacing = m_nSpacing; }
    COrderInsertWindow(const COrderInsertWindow&) = delete;
    COrderInsertWindow& operator=(const COrderInsertWindow&) = delete;

    void OrderInsertWindowOnce();

private:
    int PickFacadeEdge();
    void TakeEdge(const FacadeWall& picked);
    int RunOrderInsertWindowDlg();
    void PrepareWindowLayer();
    int AskWindowSpacing();
    int AskWindowWidth();
    bool AskLength(const LengthQuestion& question, int& value) const;
    bool CreateOrderWindow();
    bool EdgeUsedUp() const { return m_start.DistanceTo(m_current) + kEdgeRest > m_start.DistanceTo(m_end); }

    decDbEntity* m_pEntity = nullptr;
    GePoint3d m_start;
    GePoint3d m_end;
    GeVector3d m_direction;
    GePoint3d m_current;
    CString m_strBuildName;
    // The window's X runs along the walk when set, against it otherwise, so that its Y
    // points out of the building.
    int m_bReverse = 0;
    int m_nSpacing = 0;
    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_nPosition = 0;
    int m_nSill = 0;
    int m_nFloor = 0;
    int m_nStoreyHeight = 0;
    int m_nRepeat = 0;
    int m_bCentre = 0;
    int m_bAlign = 0;
    // Layer, material, label heights and scale.
    WindowLook m_look;
};

void COrderInsertWindow::OrderInsertWindowOnce()
{
    if (!PickFacadeEdge() || !RunOrderInsertWindowDlg())
        return;
    PrepareWindowLayer();
    if (!AskWindowSpacing())
        return;
    while (AskWindowWidth()) {
        if (!CreateOrderWindow())
            return;
        if (EdgeUsedUp() || m_bCentre || m_bAlign)
            return;
        if (!AskWindowSpacing())
            return;
    }
}

int COrderInsertWindow::PickFacadeEdge()
{
    m_pEntity = nullptr;
    dec::GetWorkingDatabase()->ClearSelectSet(1);
    while (true) {
        FacadeWall picked;
        switch (PickFacadeWall(picked)) {
        case FacadePick::Cancelled:
            return 0;
        case FacadePick::Ended:
            if (!m_pEntity)
                return 0;
            m_direction = m_end - m_start;
            m_direction.Normalize(0.001);
            m_current = m_start;
            return 1;
        case FacadePick::Missed:
            m_pEntity = nullptr;
            break;
        case FacadePick::Wall:
            TakeEdge(picked);
            break;
        }
    }
}

// The entity changes only together with the edge, so the edge always belongs to it.
void COrderInsertWindow::TakeEdge(const FacadeWall& picked)
{
    const GePoint3dArray& wall = picked.wall;
    m_pEntity = picked.entity;
    const bool nearerEnd = picked.pickPoint.DistanceTo(wall[1]) < picked.pickPoint.DistanceTo(wall[0]);
    m_start = nearerEnd ? wall[1] : wall[0];
    m_end = nearerEnd ? wall[0] : wall[1];
    m_bReverse = nearerEnd ? 1 : 0;
    // Walls run along the outline, so a clockwise one puts the outside on the other side.
    if (picked.clockwise)
        m_bReverse = !m_bReverse;
    HighlightFacadeWall(wall, wall[0], kStartMarkSize, kEdgeColour);
}

int COrderInsertWindow::RunOrderInsertWindowDlg()
{
    AFX_MAINTAIN_STATE2 guard(AfxGetStaticModuleState());
    COrderInsertWindowDlg dialog;
    if (dialog.DoModal() != IDOK)
        return 0;
    m_nWidth = dialog.m_nWidth;
    m_nHeight = dialog.m_nHeight;
    m_nPosition = static_cast<int>(dialog.m_nPosition);
    m_nStoreyHeight = dialog.m_nStoreyHeight;
    m_nSill = dialog.m_nSill;
    m_nFloor = static_cast<int>(dialog.m_nFloor);
    m_nRepeat = static_cast<int>(dialog.m_nRepeat);
    m_bCentre = dialog.m_bCentre;
    m_bAlign = dialog.m_bAlign;
    return 1;
}

void COrderInsertWindow::PrepareWindowLayer()
{
    DbAutoOpen open(1);
    m_look = PrepareWindowLook(open.db);
    if (!BuildName(m_pEntity, m_strBuildName))
        m_strBuildName = "";
}

bool COrderInsertWindow::AskLength(const LengthQuestion& question, int& value) const
{
    while (true) {
        new_drag_cb_order_insert_window callback(m_current, question.label);
        callback.SetUserInputFlags(kInputFlags);
        CString prompt;
        prompt.Format("%s[%d]:", question.prompt, value);
        dec::PrintPrompt(prompt);
        GePoint3d point;
        const int result = dec::GetDragPoint(&callback, &point, 1);
        // Enter (and an empty text) keeps the value shown; text that is no number is refused
        // as a value out of range is.
        std::optional<int> answer = value;
        if (result == dex::eTextInput) {
            const CString text = callback.GetUserString();
            if (!text.IsEmpty())
                answer = TypedInt(text);
        } else if (result == dex::eOk) {
            point.z = m_current.z;
            answer = TruncToInt(point.DistanceTo(m_current));
        } else if (result == dex::eCancel || result == dex::eEnded) {
            return false;
        }
        if (answer && question.accepts(*answer)) {
            value = *answer;
            return true;
        }
        dec::PrintPrompt(question.refusal);
        value = question.fallback;
    }
}

int COrderInsertWindow::AskWindowSpacing()
{
    if (m_bAlign)
        m_nSpacing = 0;
    else if (m_bCentre)
        m_nSpacing = TruncToInt((m_start.DistanceTo(m_end) - m_nWidth) * 0.5);
    else if (!AskLength(kSpacingQuestion, m_nSpacing))
        return 0;
    m_current += m_direction * m_nSpacing;
    return 1;
}

int COrderInsertWindow::AskWindowWidth()
{
    if (m_bCentre || m_bAlign)
        return 1;
    return AskLength(kWidthQuestion, m_nWidth) ? 1 : 0;
}

// False, with the refusal printed and nothing made, when a window of the column would slip
// into an ownership record beside a window bearing its identifier; the run ends there.
bool COrderInsertWindow::CreateOrderWindow()
{
    GePoint3d origin = m_current + m_direction * (m_nWidth / 2.0);
    const GeVector3d xAxis = m_bReverse ? m_direction : -m_direction;
    std::vector<NewWindow> column;
    NewWindow made{.numbers = {.building = m_strBuildName, .position = m_nPosition, .width = m_nWidth,
                               .height = m_nHeight}};
    for (int k = 0; k < m_nRepeat; ++k) {
        made.numbers.floor = m_nFloor + k;
        origin.z = m_nSill + static_cast<double>(k) * m_nStoreyHeight;
        if (MakeWindowFrame(origin, xAxis, made.frame))
            column.push_back(made);
    }
    if (const std::optional<WinBelongBuild::Clash> clash = JoiningClash(column)) {
        dec::PrintPrompt(WinBelongBuild::Refusal(*clash, kColumnRecordsAdvice));
        return false;
    }
    DbAutoOpen open(1);
    CreateNumberedWindows(open.db, m_look, column);
    ++m_nPosition;
    m_current += m_direction * m_nWidth;
    m_current.z = m_start.z;
    return true;
}

}  // namespace

void CMD_ORDER_INSERT_WINDOW()
{
    dec::PrintPrompt("***逐个插窗***");
    COrderInsertWindow worker;
    worker.OrderInsertWindowOnce();
}
