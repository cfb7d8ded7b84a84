#include "PolygonCollector.h"

getPolygon::getPolygon(const getPolygon& other)
{
    m_loops.reserve(other.m_loops.size());
    for (const auto& loop : other.m_loops)
        m_loops.push_back(std::make_unique<PolygonLoop>(*loop));
}

getPolygon& getPolygon::operator=(const getPolygon& other)
{
    if (this != &other) {
        getPolygon copy(other);
        m_loops.swap(copy.m_loops);
    }
    return *this;
}

void getPolygon::OnMap(int, const GePolygon& polygon)
{
    const int count = polygon.GetCountVertex();
    const GePoint3d* vertices = polygon.GetVertexArray();
    if (count <= 0 || !vertices)
        return;
    auto loop = std::make_unique<PolygonLoop>();
    loop->vertices.assign(vertices, vertices + count);
    loop->kind = polygon.IsPolyline() ? PolygonLoop::kOpen : PolygonLoop::kClosed;
    m_loops.push_back(std::move(loop));
}
