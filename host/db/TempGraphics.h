#pragma once
// The temporary graphics of a document: outlines and marks a command shows for a moment.
// The database and the active view both draw into this one store; every call is logged.
#include <cstdint>
#include <vector>

#include "GePoint3d.h"

struct TempPolyline {
    std::vector<GePoint3d> points;
    std::uint32_t colour = 0;
    int width = 0;
};

struct TempMark {
    GePoint3d point;
    int size = 0;
    std::uint32_t colour = 0;
};

class TempGraphics {
public:
    void Clear();
    // A polyline of count points (none for a null list or count < 1); the flags are logged.
    void AddPolyline(const GePoint3d* pts, int count, std::uint32_t colour, int width = 0, int flag = 0);
    void AddMark(const GePoint3d& point, int size, std::uint32_t colour);

    const std::vector<TempPolyline>& Polylines() const { return m_polylines; }
    const std::vector<TempMark>& Marks() const { return m_marks; }
    int GetPolylineCount() const { return static_cast<int>(m_polylines.size()); }

private:
    std::vector<TempPolyline> m_polylines;
    std::vector<TempMark> m_marks;
};
