#include "View.h"

#include <cmath>
#include <string>

#include "EventLog.h"
#include "Question.h"
#include "DbDatabase.h"
#include "WorkingDrawing.h"
#include "decReturnCode.h"

namespace {

void Record(const std::string& text)
{
    host::EventLog::Instance().Call(text);
}

// The points for the log; long runs (outlines of thousands of points) by their count and ends.
std::string Points(const GePoint3d* pts, int count)
{
    constexpr int kListed = 16;
    if (count > kListed)
        return std::to_string(count) + " points " + host::FormatPoint(pts[0]) + " ... " + host::FormatPoint(pts[count - 1]);
    std::string out;
    for (int i = 0; i < count; ++i) out += (i ? " " : "") + host::FormatPoint(pts[i]);
    return out;
}

}  // namespace

decView::decView()
{
    SetTopView();
}

void decView::GetCamera(GePoint3d& target, GeVector3d& up, GeVector3d& right, GeVector3d& viewDir) const
{
    target = m_target;
    up = m_up;
    right = m_viewDir.CrossProduct(m_up);
    viewDir = m_viewDir;
}

void decView::SetCamera(const GePoint3d& target, const GeVector3d& viewDir, const GeVector3d& up, double scale)
{
    m_target = target;
    m_viewDir = viewDir.Normal();
    // Up is kept square to the viewing direction.
    m_up = (up - m_viewDir * up.DotProduct(m_viewDir)).Normal();
    m_scale = scale > 0.0 ? scale : 1.0;
    Record("view camera target=" + host::FormatPoint(m_target) + " dir=" + host::FormatPoint({m_viewDir.x, m_viewDir.y, m_viewDir.z}) +
           " scale=" + host::FormatNumber(m_scale));
}

int decView::WorldToWindow(const GePoint3d& p, int& x, int& y) const
{
    const GeVector3d d = p - m_target;
    const GeVector3d right = m_viewDir.CrossProduct(m_up);
    x = static_cast<int>(std::lround(m_windowWidth / 2.0 + d.DotProduct(right) * m_scale));
    y = static_cast<int>(std::lround(m_windowHeight / 2.0 - d.DotProduct(m_up) * m_scale));
    return 1;
}

int decView::GetViewState() const
{
    return m_viewDir == GeVector3d(0.0, 0.0, -1.0) ? 0 : 1;
}

void decView::SetViewState(int state)
{
    Record("view state " + std::to_string(state));
    if (state == 0)
        SetTopView();
    else
        SetCamera(m_target, GeVector3d(1.0, 1.0, -1.0), GeVector3d(0.0, 0.0, 1.0), m_scale);
}

void decView::SetTopView()
{
    SetCamera(m_target, GeVector3d(0.0, 0.0, -1.0), GeVector3d(0.0, 1.0, 0.0), m_scale);
}

void decView::ClearTempGraphics()
{
    Record("view clear temporary graphics");
    dec::GetWorkingDatabase()->ClearTempGraphics();
}

void decView::Refresh()
{
    Record("view refresh");
}

void decView::DrawPolyline(const GePoint3d* pts, int count, std::uint32_t colour, int width)
{
    if (!pts || count <= 0) return;
    Record("view polyline colour=" + host::FormatHex(colour) + " width=" + std::to_string(width) + " " + Points(pts, count));
    dec::GetWorkingDatabase()->GetTempGraphics().AddPolyline(pts, count, colour, width);
}

void decView::MarkPoints(const GePoint3d* pts, int count, int size, std::uint32_t colour)
{
    if (!pts || count <= 0) return;
    Record("view marker size=" + std::to_string(size) + " colour=" + host::FormatHex(colour) + " " + Points(pts, count));
    for (int i = 0; i < count; ++i) dec::GetWorkingDatabase()->GetTempGraphics().AddMark(pts[i], size, colour);
}

void decView::LineTo(const GePoint3d& p)
{
    Line(m_pen, p);
    m_pen = p;
}

namespace dec {

decView* GetActiveView()
{
    static decView view;
    return &view;
}

int RunCommand(const char* command, int flags)
{
    const std::string name = command ? command : "";
    Record("RunCommand " + name + " flags=" + std::to_string(flags));
    if (name == "view_top") {
        GetActiveView()->SetTopView();
        return dex::eOk;
    }
    return dex::eCancel;
}

}  // namespace dec
