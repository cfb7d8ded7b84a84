#include "MainFrame.h"

#include "EventLog.h"
#include "Wnd.h"


namespace dec {

CWnd* GetMainFrame()
{
    // Never destroyed: dialogs and message boxes may refer to it until the process ends.
    static CWnd* const frame = [] {
        auto* window = new CWnd;
        window->CreateHeadless("quenra3d");
        return window;
    }();
    return frame;
}

HWND GetMainFrameHWnd()
{
    return GetMainFrame()->GetSafeHwnd();
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
