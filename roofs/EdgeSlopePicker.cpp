// The edge slope picker of the roof dialog: with the dialog hidden, the user clicks an eave
// edge, sees it marked and types its slope; a click at the slope prompt moves to another
// edge, and anything but a point at the edge prompt goes back to the dialog. Only the edge
// slopes change; the general slope text stays, so its later edits pass these edges by.
#include "EdgeSlopePicker.h"

#include <cstdio>
#include <optional>

#include "CommandLine.h"
#include "DbDatabase.h"
#include "DragCallback.h"
#include "Input.h"
#include "RoofDlg.h"
#include "TypedNumbers.h"
#include "View.h"

namespace EdgeSlopePicker {

int NearestEdge(const GePoint3dArray& outline, GePoint3d point)
{
    if (outline.empty())
        return -1;
    point.z = outline.front().z;
    const std::size_t n = outline.size();
    int nearest = -1;
    double smallest = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const GePoint3d& a = outline[i];
        const GePoint3d& b = outline[(i + 1) % n];
        const double detour = point.DistanceTo(a) + point.DistanceTo(b) - a.DistanceTo(b);
        if (nearest < 0 || detour < smallest) {
            nearest = static_cast<int>(i);
            smallest = detour;
        }
    }
    return smallest <= kAcceptance ? nearest : -1;
}

}  // namespace EdgeSlopePicker

namespace {

constexpr const char* kEdgePrompt = "选择要修改坡度的边:";
constexpr const char* kSlopePrompt = "坡度(度)[%.0f]:";
constexpr const char* kInvalidSlope = "无效输入!请输入1~89之间的数!";
constexpr std::uint32_t kEdgePickFlags = 0xffffff;
constexpr std::uint32_t kOutlineColour = 0xffff;
constexpr std::uint32_t kChosenColour = 0xff00ff;
constexpr double kMinSlope = 1.0;
constexpr double kMaxSlope = 89.0;

// The slope prompt only collects typed text; it draws nothing.
class drag_cb_edge_slope : public decDragCallback {
public:
    drag_cb_edge_slope() { SetUserInputFlags(kInputTakesText); }
};

// Where the picker goes after a step.
enum class Step { kAskEdge, kLocate, kLeave };

// The chosen edge in its colour, the rest of the outline from the edge's end round to its
// start in the outline's.
void ShowChosenEdge(const GePoint3dArray& eave, std::size_t edge)
{
    decView* view = dec::GetActiveView();
    if (!view)
        return;
    view->ClearTempGraphics();
    const std::size_t n = eave.size();
    const GePoint3d chosen[] = {eave[edge], eave[(edge + 1) % n]};
    view->DrawPolyline(chosen, 2, kChosenColour, 1);
    GePoint3dArray rest;
    for (std::size_t k = 1; k <= n; ++k)
        rest.push_back(eave[(edge + k) % n]);
    view->DrawPolyline(rest.data(), static_cast<int>(rest.size()), kOutlineColour, 1);
}

// The slope of one edge, asked until a valid one is typed: kAskEdge after a slope or any
// answer that is no point, kLocate with a point clicked instead.
Step AskEdgeSlope(float& slope, GePoint3d& point)
{
    while (true) {
        char prompt[64];
        std::snprintf(prompt, sizeof prompt, kSlopePrompt, slope);
        dec::PrintPrompt(prompt);
        drag_cb_edge_slope callback;
        const int result = dec::GetDragPoint(&callback, &point);
        if (result == dex::eOk)
            return Step::kLocate;
        if (result != dex::eTextInput)
            return Step::kAskEdge;
        const std::optional<float> typed = TypedFloat(callback.GetUserString());
        if (typed && *typed >= kMinSlope && *typed <= kMaxSlope) {
            slope = *typed;
            return Step::kAskEdge;
        }
        dec::PrintPrompt(kInvalidSlope);
    }
}

}  // namespace

void CRoofDlg::OnBnClickedEditEdgeSlopes()
{
    HandOver();
    dec::RunCommand("view_top", 0);
    DbAutoOpen open(1);
    dec::ClearCmdLinePrompt();
    GePoint3d point;
    Step step = Step::kAskEdge;
    while (step != Step::kLeave) {
        if (step == Step::kAskEdge) {
            ShowEaveOutline();
            dec::PrintPrompt(kEdgePrompt);
            step = dec::GetPoint(nullptr, &point, kEdgePickFlags, 0, 0) == dex::eOk ? Step::kLocate : Step::kLeave;
            continue;
        }
        const int edge = EdgeSlopePicker::NearestEdge(m_arrayEavePts, point);
        // The slopes always number as many as the eave vertices; an edge without one is
        // passed by rather than written past the list.
        if (edge < 0 || static_cast<std::size_t>(edge) >= m_vecEdgeSlopes.size()) {
            step = Step::kAskEdge;
            continue;
        }
        ShowChosenEdge(m_arrayEavePts, static_cast<std::size_t>(edge));
        step = AskEdgeSlope(m_vecEdgeSlopes[static_cast<std::size_t>(edge)], point);
    }
    TakeBack();
}
