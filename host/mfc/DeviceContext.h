#pragma once
// Device contexts. Headless nothing is drawn: what a dialog draws is recorded as host calls
// ("Draw3dRect left top right bottom topLeftColour bottomRightColour").
#include "WinTypes.h"

class CWnd;

class CDC {
public:
    virtual ~CDC() = default;

    void Draw3dRect(const RECT& rect, COLORREF topLeft, COLORREF bottomRight);
    void Draw3dRect(int x, int y, int width, int height, COLORREF topLeft, COLORREF bottomRight);
};

// The context of a window's WM_PAINT handling.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* /*window*/) {}
};

