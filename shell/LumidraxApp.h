#pragma once
// The module's one MFC application object. It adds no behaviour of its own: no start-up or
// shut-down step and no message handlers (messages go on to CWinApp's map).
#include "WinApp.h"

class CLumidraxApp : public CWinApp {
public:
    CLumidraxApp() : CWinApp(nullptr) {}
};
