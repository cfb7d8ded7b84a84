#pragma once
// Host curves: polylines (open or closed, with bulged arc edges), arcs and circles. A curve
// is a 2-D entity: it draws itself in world coordinates, and its polygon is its outline with
// every arc sampled one point per ten degrees of sweep (ArcSampling), the way a curve hands
// its points to whoever enumerates its polygons.
#include <numbers>
#include <vector>

#include "GeCurveList.h"
#include "decDbEntity.h"

class decDbCurve : public decDbEntity2d {
    DEC_DECLARE_CLASS(decDbCurve)

public:
    // The curve as line (type 2) and arc (type 3) segments; 0 when it has no segment.
    virtual int Explode(GeCurveList& out) const = 0;
    // The vertices: a polyline's own points (its grips); sample points of arcs and circles.
    virtual std::vector<GePoint3d> Vertices() const = 0;
    // The polygon's points, arcs sampled (no closing repeat for a closed curve).
    virtual std::vector<GePoint3d> PolygonPoints() const { return Vertices(); }
    virtual bool IsClosed() const = 0;

    int GetNumVerts() const override { return static_cast<int>(Vertices().size()); }
    // Vertex i; the origin when i is out of range.
    GePoint3d GetVertexAt(int i) const override;
    std::vector<GePolygon> GetPolygons() const override;
    int OnWorldDraw(decViewFilter& filter) override;
    void GetGripPoints(GePoint3dArray& grips) const override;

protected:
    decDbCurve() = default;
};

class decDbPolyline : public decDbCurve {
    DEC_DECLARE_CLASS(decDbPolyline)

public:
    decDbPolyline();
    // count points (null or count < 1: none), closed when closed is non-zero.
    decDbPolyline(int count, const GePoint3d* pts, int closed);

    // Bulge of the edge that starts at vertex i: tan(sweep / 4), positive counter-clockwise
    // about +Z; 0 is a straight edge. An index out of range is ignored.
    void SetBulgeAt(int i, double bulge);
    double GetBulgeAt(int i) const;
    void SetClosed(int closed);

    int Explode(GeCurveList& out) const override;
    std::vector<GePoint3d> Vertices() const override { return m_points; }
    // The corners with every bulged edge sampled; the corners alone when no edge is bulged.
    std::vector<GePoint3d> PolygonPoints() const override;
    bool IsClosed() const override { return m_closed; }
    // The polyline's own vertices, read without copying them (a listing asks per vertex).
    int GetNumVerts() const override { return static_cast<int>(m_points.size()); }
    GePoint3d GetVertexAt(int i) const override;
    int TransformBy(const GeMatrix3d& tm) override;
    int MoveGripPointsAt(const std::vector<int>& indices, const GeVector3d& offset) override;
    void Serialize(SerializeFilter& filter) override;

private:
    std::vector<GePoint3d> m_points;
    std::vector<double> m_bulges;
    bool m_closed = false;
};

// An arc in a plane parallel to XY: centre, radius, angles in radians counter-clockwise from +X.
class decDbArc : public decDbCurve {
    DEC_DECLARE_CLASS(decDbArc)

public:
    decDbArc() = default;
    decDbArc(const GePoint3d& centre, double radius, double startAngle, double endAngle);

    GePoint3d GetStartPoint() const;
    GePoint3d GetEndPoint() const;
    int Explode(GeCurveList& out) const override;
    std::vector<GePoint3d> Vertices() const override;
    bool IsClosed() const override { return false; }
    int TransformBy(const GeMatrix3d& tm) override;
    void Serialize(SerializeFilter& filter) override;

private:
    double Sweep() const;
    GePoint3d PointAt(double angle) const;

    GePoint3d m_centre;
    double m_radius = 1.0;
    double m_start = 0.0;
    double m_end = std::numbers::pi;
};

// A full circle: centre, normal, radius. It explodes into two semicircular arcs.
class decDbCircle3d : public decDbCurve {
    DEC_DECLARE_CLASS(decDbCircle3d)

public:
    decDbCircle3d() = default;
    decDbCircle3d(const GePoint3d& centre, const GeVector3d& normal, double radius);

    int Explode(GeCurveList& out) const override;
    std::vector<GePoint3d> Vertices() const override;
    bool IsClosed() const override { return true; }
    int TransformBy(const GeMatrix3d& tm) override;
    void Serialize(SerializeFilter& filter) override;

private:
    GePoint3d PointAt(double angle) const;

    GePoint3d m_centre;
    GeVector3d m_normal = GeVector3d::kZAxis;
    double m_radius = 1.0;
};
