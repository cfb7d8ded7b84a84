#pragma once
// getPolygon: collects the polygons an entity enumerates (decDbEntity::EnumPolygons) as
// point loops the toolkit can read after the enumeration.
#include <memory>
#include <vector>

#include "decDbEntity.h"

// One enumerated polygon: its vertices and its kind.
struct __attribute__((visibility("default"))) PolygonLoop {
    static constexpr int kOpen = 1001;     // an open polyline
    static constexpr int kClosed = 10001;  // a closed loop (a face or a closed curve)

    std::vector<GePoint3d> vertices;
    int kind = kClosed;
};

class __attribute__((visibility("default"))) getPolygon : public EnumShapePolygonCallback {
public:
    getPolygon() = default;
    // Copies are deep: each collector owns its own loops.
    getPolygon(const getPolygon& other);
    getPolygon& operator=(const getPolygon& other);
    getPolygon(getPolygon&&) noexcept = default;
    getPolygon& operator=(getPolygon&&) noexcept = default;
    ~getPolygon() override = default;

    // Keeps every polygon that has a vertex, in the order the entity gives them.
    void OnMap(int index, const GePolygon& polygon) override;

    const std::vector<std::unique_ptr<PolygonLoop>>& Loops() const { return m_loops; }

private:
    std::vector<std::unique_ptr<PolygonLoop>> m_loops;
};
