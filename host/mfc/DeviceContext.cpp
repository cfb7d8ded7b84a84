#include "DeviceContext.h"

#include <string>

#include "EventLog.h"

void CDC::Draw3dRect(const RECT& rect, COLORREF topLeft, COLORREF bottomRight)
{
    host::EventLog::Instance().Call("Draw3dRect " + std::to_string(rect.left) + " " + std::to_string(rect.top) + " " +
                                    std::to_string(rect.right) + " " + std::to_string(rect.bottom) + " " +
                                    std::to_string(topLeft) + " " + std::to_string(bottomRight));
}

void CDC::Draw3dRect(int x, int y, int width, int height, COLORREF topLeft, COLORREF bottomRight)
{
    Draw3dRect(RECT{x, y, x + width, y + height}, topLeft, bottomRight);
}
