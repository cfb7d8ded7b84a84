#pragma once
// What the tests of the whole-row and window-by-window commands share: the remembered answers
// of a fresh module, and the windows the commands made with their frames.
#include <string>
#include <vector>

#include "InstQuickWdwDlg.h"
#include "ModelHelperWindows.h"
#include "ModuleGlobals.h"
#include "OrderInsertWindow.h"
#include "OrderInsertWindowDlg.h"
#include "WindowTestSupport.h"

struct PlacedWindow {
    const CWindow* window;
    const decDbEntity* entity;
    GePoint3d origin;
    GeVector3d x, y, z;
};

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

    // Every window of the drawing in drawing order, with its frame.
    static std::vector<PlacedWindow> Windows()
    {
        EntityArray entities;
        GetAllWindow(entities);
        std::vector<PlacedWindow> placed;
        for (decDbEntity* entity : entities) {
            PlacedWindow p{CWindow::Cast(entity->GetBaseObject()), entity, {}, {}, {}, {}};
            entity->GetLocalTM().GetCoordSystem(p.origin, p.x, p.y, p.z);
            placed.push_back(p);
        }
        return placed;
    }
};
