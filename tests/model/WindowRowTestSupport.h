#pragma once
// What the tests of the whole-row and window-by-window commands share: the remembered answers
// of a fresh module.
#include <string>
#include <vector>

#include "InstQuickWdwDlg.h"
#include "ModuleGlobals.h"
#include "OrderInsertWindow.h"
#include "OrderInsertWindowDlg.h"
#include "WindowTestSupport.h"

class WindowRowTest : public WindowModelTest {
protected:
    void SetUp() override
    {
        WindowModelTest::SetUp();
        g_quickWinDefaults = QuickWindowDefaults();
        g_quickWinSpacingText = "1000";
        g_quickWinStoreyHeightText = "2900";
        g_orderWinDefaults = OrderWindowDefaults();
        g_orderWinSpacing = 1000;
    }
};
