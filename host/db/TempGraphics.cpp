#include "TempGraphics.h"

#include <cstdio>
#include <string>

#include "EventLog.h"

namespace {
std::string Hex(std::uint32_t colour)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", colour);
    return text;
}
}  // namespace

void TempGraphics::Clear()
{
    host::EventLog::Instance().Call("temp clear");
    m_polylines.clear();
    m_marks.clear();
}

void TempGraphics::AddPolyline(const GePoint3d* pts, int count, std::uint32_t colour, int width, int flag)
{
    host::EventLog::Instance().Call("temp polyline " + std::to_string(count) + " colour " + Hex(colour) + " " +
                                    std::to_string(width) + " " + std::to_string(flag));
    if (!pts || count < 1) return;
    m_polylines.push_back({std::vector<GePoint3d>(pts, pts + count), colour, width});
}

void TempGraphics::AddMark(const GePoint3d& point, int size, std::uint32_t colour)
{
    host::EventLog::Instance().Call("temp mark size " + std::to_string(size) + " colour " + Hex(colour));
    m_marks.push_back({point, size, colour});
}
