#include "MainFrame.h"

#include "EventLog.h"


namespace dec {

HWND GetMainFrameHWnd()
{
    // Headless there is no window; the handle only has to be a stable non-null value.
    static char frame;
    return reinterpret_cast<HWND>(&frame);
}

}  // namespace dec

ActivateMainFrameWnd::ActivateMainFrameWnd(const void* dialog)
{
    host::EventLog::Instance().Call(std::string("ActivateMainFrameWnd enter") + (dialog ? "" : " (no dialog)"));
}

ActivateMainFrameWnd::~ActivateMainFrameWnd()
{
    host::EventLog::Instance().Call("ActivateMainFrameWnd leave");
}
