#pragma once
// The host's main frame window: the owner of message boxes, and the window a dialog hands
// the drawing to for a pick (enable, focus, activate, and disable again afterwards).
#include "MsgBox.h"  // HWND

class CWnd;

namespace dec {
// The main frame: a headless top-level window of the host, made on first use.
CWnd* GetMainFrame();
HWND GetMainFrameHWnd();
}  // namespace dec

// Held around each point input made from inside a dialog: the main frame takes the input
// while the dialog waits. Headless, it records entering and leaving.
class ActivateMainFrameWnd {
public:
    template <class Dialog>
    explicit ActivateMainFrameWnd(Dialog* dialog) : ActivateMainFrameWnd(static_cast<const void*>(dialog)) {}
    explicit ActivateMainFrameWnd(const void* dialog);
    ~ActivateMainFrameWnd();
    ActivateMainFrameWnd(const ActivateMainFrameWnd&) = delete;
    ActivateMainFrameWnd& operator=(const ActivateMainFrameWnd&) = delete;
};
