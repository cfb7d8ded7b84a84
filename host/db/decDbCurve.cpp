#include "decDbCurve.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "ArcSampling.h"

DEC_IMPLEMENT_ABSTRACT_CLASS(decDbCurve, decDbEntity2d, "曲线")
DEC_IMPLEMENT_CLASS(decDbPolyline, decDbCurve, "多段线", 1)
DEC_IMPLEMENT_CLASS(decDbArc, decDbCurve, "圆弧", 1)
DEC_IMPLEMENT_CLASS(decDbCircle3d, decDbCurve, "圆", 1)

namespace {

constexpr double kPi = std::numbers::pi;

// A unit vector perpendicular to n.
GeVector3d ReferenceAxis(const GeVector3d& n)
{
    const GeVector3d helper = std::abs(n.z) < 0.9 ? GeVector3d::kZAxis : GeVector3d::kXAxis;
    const GeVector3d ref = helper - n * helper.DotProduct(n);
    const double length = ref.Length();
    return length > 0.0 ? ref / length : GeVector3d::kXAxis;
}

void StoreCount(SerializeFilter& f, std::size_t n) { f << static_cast<unsigned>(n); }

}  // namespace

// ---- decDbCurve ----

GePoint3d decDbCurve::GetVertexAt(int i) const
{
    const auto vertices = Vertices();
    if (i < 0 || static_cast<std::size_t>(i) >= vertices.size()) return GePoint3d();
    return vertices[static_cast<std::size_t>(i)];
}

std::vector<GePolygon> decDbCurve::GetPolygons() const
{
    auto vertices = PolygonPoints();
    if (vertices.empty()) return {};
    std::vector<GePolygon> polygons;
    polygons.emplace_back(std::move(vertices), !IsClosed());
    return polygons;
}

int decDbCurve::OnWorldDraw(decViewFilter& filter)
{
    auto vertices = PolygonPoints();
    if (IsClosed() && !vertices.empty()) vertices.push_back(vertices.front());
    filter.Polyline(0, static_cast<int>(vertices.size()), vertices.data());
    return dex::eOk;
}

void decDbCurve::GetGripPoints(GePoint3dArray& grips) const
{
    const auto vertices = Vertices();
    grips.insert(grips.end(), vertices.begin(), vertices.end());
}

// ---- decDbPolyline ----

decDbPolyline::decDbPolyline() = default;

decDbPolyline::decDbPolyline(int count, const GePoint3d* pts, int closed) : m_closed(closed != 0)
{
    if (pts && count > 0) m_points.assign(pts, pts + count);
    m_bulges.assign(m_points.size(), 0.0);
}

void decDbPolyline::SetBulgeAt(int i, double bulge)
{
    if (i < 0 || static_cast<std::size_t>(i) >= m_bulges.size()) return;
    AssertWriteEnabled(1, 1, 1, 0);
    m_bulges[static_cast<std::size_t>(i)] = bulge;
}

double decDbPolyline::GetBulgeAt(int i) const
{
    if (i < 0 || static_cast<std::size_t>(i) >= m_bulges.size()) return 0.0;
    return m_bulges[static_cast<std::size_t>(i)];
}

GePoint3d decDbPolyline::GetVertexAt(int i) const
{
    if (i < 0 || static_cast<std::size_t>(i) >= m_points.size()) return GePoint3d();
    return m_points[static_cast<std::size_t>(i)];
}

std::vector<GePoint3d> decDbPolyline::PolygonPoints() const
{
    GeCurveList segments;
    if (std::all_of(m_bulges.begin(), m_bulges.end(), [](double b) { return b == 0.0; }) || !Explode(segments))
        return m_points;
    GePoint3dArray points;
    ArcSampling::AppendCurvePoints(segments, points);
    GePoint3d end;
    if (!m_closed && ArcSampling::LastSegmentEnd(segments, end)) points.push_back(end);
    return points;
}

void decDbPolyline::SetClosed(int closed)
{
    AssertWriteEnabled(1, 1, 1, 0);
    m_closed = closed != 0;
}

int decDbPolyline::Explode(GeCurveList& out) const
{
    const std::size_t n = m_points.size();
    if (n < 2) return 0;
    const std::size_t edges = m_closed ? n : n - 1;
    for (std::size_t i = 0; i < edges; ++i) {
        const GePoint3d& p = m_points[i];
        const GePoint3d& q = m_points[(i + 1) % n];
        const double bulge = m_bulges[i];
        const GeVector3d chord = q - p;
        const double length = std::hypot(chord.x, chord.y);
        if (bulge == 0.0 || length == 0.0) {
            out.AppendLine(p, q);
            continue;
        }
        // The arc's middle lies off the chord's middle by the sagitta, to the right of the
        // chord for a counter-clockwise (positive) bulge.
        const double sagitta = bulge * length / 2.0;
        const GeVector3d right(chord.y / length, -chord.x / length, 0.0);
        const GePoint3d middle = GePoint3d((p.x + q.x) / 2, (p.y + q.y) / 2, (p.z + q.z) / 2) + right * sagitta;
        out.AppendArc(p, middle, q);
    }
    return 1;
}

int decDbPolyline::TransformBy(const GeMatrix3d& tm)
{
    AssertWriteEnabled(1, 1, 1, 0);
    for (GePoint3d& p : m_points) p = tm * p;
    if (tm.IsMirrorMatrix())
        for (double& b : m_bulges) b = -b;
    return dex::eOk;
}

int decDbPolyline::MoveGripPointsAt(const std::vector<int>& indices, const GeVector3d& offset)
{
    AssertWriteEnabled(1, 1, 1, 0);
    for (int i : indices)
        if (i >= 0 && static_cast<std::size_t>(i) < m_points.size()) m_points[static_cast<std::size_t>(i)] += offset;
    return dex::eOk;
}

void decDbPolyline::Serialize(SerializeFilter& f)
{
    decDbCurve::Serialize(f);
    if (f.IsStoring()) {
        f << m_closed;
        StoreCount(f, m_points.size());
        for (std::size_t i = 0; i < m_points.size(); ++i) f << m_points[i] << m_bulges[i];
        return;
    }
    bool closed = false;
    f >> closed;
    const std::uint32_t n = f.ReadCount(32);
    std::vector<GePoint3d> points(n);
    std::vector<double> bulges(n);
    for (std::uint32_t i = 0; i < n; ++i) f >> points[i] >> bulges[i];
    m_closed = closed;
    m_points = std::move(points);
    m_bulges = std::move(bulges);
}

// ---- decDbArc ----

decDbArc::decDbArc(const GePoint3d& centre, double radius, double startAngle, double endAngle)
    : m_centre(centre), m_radius(radius), m_start(startAngle), m_end(endAngle)
{
}

double decDbArc::Sweep() const
{
    // In (0, 2π]; a start equal to the end (or values that are not numbers) give the full turn.
    double sweep = std::fmod(m_end - m_start, 2 * kPi);
    if (sweep < 0.0) sweep += 2 * kPi;
    return (sweep > 0.0 && sweep <= 2 * kPi) ? sweep : 2 * kPi;
}

GePoint3d decDbArc::PointAt(double angle) const
{
    return {m_centre.x + m_radius * std::cos(angle), m_centre.y + m_radius * std::sin(angle), m_centre.z};
}

GePoint3d decDbArc::GetStartPoint() const { return PointAt(m_start); }
GePoint3d decDbArc::GetEndPoint() const { return PointAt(m_start + Sweep()); }

int decDbArc::Explode(GeCurveList& out) const
{
    if (!(m_radius > 0.0)) return 0;
    out.AppendArc(GetStartPoint(), PointAt(m_start + Sweep() / 2), GetEndPoint());
    return 1;
}

std::vector<GePoint3d> decDbArc::Vertices() const
{
    if (!(m_radius > 0.0)) return {};
    const double sweep = Sweep();
    const int samples = ArcSampling::SampleCount(sweep);
    std::vector<GePoint3d> points;
    for (int i = 0; i < samples; ++i) points.push_back(PointAt(m_start + sweep * i / (samples - 1)));
    return points;
}

int decDbArc::TransformBy(const GeMatrix3d& tm)
{
    AssertWriteEnabled(1, 1, 1, 0);
    const GePoint3d start = tm * GetStartPoint();
    const GePoint3d end = tm * GetEndPoint();
    const double sweep = Sweep();
    m_centre = tm * m_centre;
    m_radius = start.DistanceTo(m_centre);
    const double a0 = std::atan2(start.y - m_centre.y, start.x - m_centre.x);
    const double a1 = std::atan2(end.y - m_centre.y, end.x - m_centre.x);
    if (tm.IsMirrorMatrix()) {
        m_start = a1;
        m_end = a1 + sweep;
    } else {
        m_start = a0;
        m_end = a0 + sweep;
    }
    return dex::eOk;
}

void decDbArc::Serialize(SerializeFilter& f)
{
    decDbCurve::Serialize(f);
    f.Transfer(m_centre, m_radius, m_start, m_end);
}

// ---- decDbCircle3d ----

decDbCircle3d::decDbCircle3d(const GePoint3d& centre, const GeVector3d& normal, double radius)
    : m_centre(centre), m_normal(normal), m_radius(radius)
{
    const double length = m_normal.Length();
    m_normal = length > 0.0 ? m_normal / length : GeVector3d::kZAxis;
}

GePoint3d decDbCircle3d::PointAt(double angle) const
{
    const GeVector3d ref = ReferenceAxis(m_normal);
    const GeVector3d side = m_normal.CrossProduct(ref);
    return m_centre + ref * (m_radius * std::cos(angle)) + side * (m_radius * std::sin(angle));
}

int decDbCircle3d::Explode(GeCurveList& out) const
{
    if (!(m_radius > 0.0)) return 0;
    out.AppendArc(PointAt(0), PointAt(kPi / 2), PointAt(kPi));
    out.AppendArc(PointAt(kPi), PointAt(3 * kPi / 2), PointAt(0));
    return 1;
}

std::vector<GePoint3d> decDbCircle3d::Vertices() const
{
    if (!(m_radius > 0.0)) return {};
    // One point per ten degrees, as the sampler gives a full turn.
    const int samples = ArcSampling::SampleCount(2 * kPi);
    std::vector<GePoint3d> points;
    for (int i = 0; i < samples; ++i) points.push_back(PointAt(2 * kPi * i / samples));
    return points;
}

int decDbCircle3d::TransformBy(const GeMatrix3d& tm)
{
    AssertWriteEnabled(1, 1, 1, 0);
    const GePoint3d rim = tm * PointAt(0);
    m_centre = tm * m_centre;
    m_radius = rim.DistanceTo(m_centre);
    GeVector3d normal = tm * m_normal;
    const double length = normal.Length();
    if (length > 0.0) m_normal = normal / length;
    return dex::eOk;
}

void decDbCircle3d::Serialize(SerializeFilter& f)
{
    decDbCurve::Serialize(f);
    if (f.IsStoring()) {
        f << m_centre << m_normal << m_radius;
        return;
    }
    f >> m_centre >> m_normal >> m_radius;
    const double length = m_normal.Length();
    m_normal = (length > 0.0 && std::isfinite(length)) ? m_normal / length : GeVector3d::kZAxis;
}
