#include "HostSolids.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <string>

#include "EventLog.h"
#include "GePoint2dArray.h"

DEC_IMPLEMENT_CLASS(decDbExtrude, decBuilder, "拉伸体", 1)
DEC_IMPLEMENT_CLASS(decDbBox, decBuilder, "长方体", 1)
DEC_IMPLEMENT_CLASS(decDbCylinder, decBuilder, "圆柱", 1)
DEC_IMPLEMENT_CLASS(decDbLoft, decBuilder, "放样体", 1)
DEC_IMPLEMENT_CLASS(decDbCone, decBuilder, "圆锥", 1)
DEC_IMPLEMENT_CLASS(decDbFrustum, decBuilder, "台体", 1)

namespace {

void StorePoints(SerializeFilter& f, const std::vector<GePoint3d>& points)
{
    f << static_cast<unsigned>(points.size());
    for (const GePoint3d& p : points) f << p;
}

std::vector<GePoint3d> LoadPoints(SerializeFilter& f)
{
    std::vector<GePoint3d> points(f.ReadCount(24));
    for (GePoint3d& p : points) f >> p;
    return points;
}

// Gives a made mesh to the caller: 1, or 0 with out untouched when there is none.
int HandOver(decMesh3* mesh, decMesh3** out)
{
    if (!mesh) return 0;
    *out = mesh;
    return 1;
}

// A profile swept along a vector, or nothing when the mesh refuses it.
decMesh3* ExtrudedMesh(int count, const GePoint3d* profile, bool closed, const GeVector3d& extrusion)
{
    auto mesh = std::make_unique<decMesh3>();
    return mesh->CreateExtrude(count, profile, closed ? 1 : 0, extrusion) ? mesh.release() : nullptr;
}

constexpr int kRoundSides = 24;

GePoint3d OnCircle(double radius, int i, double z)
{
    const double a = 2 * std::numbers::pi * i / kRoundSides;
    return {radius * std::cos(a), radius * std::sin(a), z};
}

// A round solid: the base ring at z 0 (vertices 0..23), then the top ring of topRadius at
// height, or the apex alone when topRadius is 0.
decMesh3* RoundSolid(double bottomRadius, double topRadius, double height)
{
    if (!(bottomRadius > 0) || !(topRadius >= 0) || height == 0 || !std::isfinite(height)) return nullptr;
    const bool apex = topRadius == 0;
    auto* mesh = new decMesh3();
    GePoint3d* v = mesh->SetCountVertex(apex ? kRoundSides + 1 : 2 * kRoundSides);
    for (int i = 0; i < kRoundSides; ++i) v[i] = OnCircle(bottomRadius, i, 0);
    if (apex)
        v[kRoundSides] = GePoint3d(0, 0, height);
    else
        for (int i = 0; i < kRoundSides; ++i) v[kRoundSides + i] = OnCircle(topRadius, i, height);
    decPolygonBuf faces(kRoundSides + 2);
    std::vector<int> ring;
    for (int i = kRoundSides - 1; i >= 0; --i) ring.push_back(i);
    faces.AppendPolygon(kRoundSides, ring.data());
    if (!apex) {
        ring.clear();
        for (int i = 0; i < kRoundSides; ++i) ring.push_back(kRoundSides + i);
        faces.AppendPolygon(kRoundSides, ring.data());
    }
    for (int i = 0; i < kRoundSides; ++i) {
        const int j = (i + 1) % kRoundSides;
        if (apex) {
            const int side[3] = {i, j, kRoundSides};
            faces.AppendPolygon(3, side);
        } else {
            const int side[4] = {i, j, kRoundSides + j, kRoundSides + i};
            faces.AppendPolygon(4, side);
        }
    }
    mesh->SetPolygonFrom(faces);
    return mesh;
}

// The horizontal unit vector to the right of the way from p to q; zero when the way is vertical.
GeVector3d RightOf(const GePoint3d& p, const GePoint3d& q)
{
    const double dx = q.x - p.x, dy = q.y - p.y;
    const double length = std::hypot(dx, dy);
    return length > 0.0 ? GeVector3d(dy / length, -dx / length, 0.0) : GeVector3d();
}

}  // namespace

// ---- decDbExtrude ----

decDbExtrude::decDbExtrude() { SetName("拉伸体"); }

void decDbExtrude::SetData(int count, const GePoint3d* pts, int closed, const GeVector3d& extrusion)
{
    AssertWriteEnabled(1, 1, 1, 0);
    m_profile.clear();
    if (pts && count > 0) m_profile.assign(pts, pts + count);
    m_closed = closed != 0;
    m_extrusion = extrusion;
}

int decDbExtrude::MakeMesh(decMesh3** out) const
{
    if (!out) return 0;
    return HandOver(ExtrudedMesh(static_cast<int>(m_profile.size()), m_profile.data(), m_closed, m_extrusion), out);
}

void decDbExtrude::Serialize(SerializeFilter& f)
{
    decBuilder::Serialize(f);
    if (f.IsStoring()) {
        f << m_closed << m_extrusion;
        StorePoints(f, m_profile);
        return;
    }
    f >> m_closed >> m_extrusion;
    m_profile = LoadPoints(f);
}

// ---- decDbBox ----

decDbBox::decDbBox() { SetName("长方体"); }

decDbBox::decDbBox(double length, double width, double height) : decDbBox()
{
    m_length = length;
    m_width = width;
    m_height = height;
}

int decDbBox::MakeMesh(decMesh3** out) const
{
    if (!out || !(m_length > 0 && m_width > 0)) return 0;
    const GePoint3d base[4] = {{0, 0, 0}, {m_length, 0, 0}, {m_length, m_width, 0}, {0, m_width, 0}};
    return HandOver(ExtrudedMesh(4, base, true, GeVector3d(0, 0, m_height)), out);
}

void decDbBox::Serialize(SerializeFilter& f)
{
    decBuilder::Serialize(f);
    f.Transfer(m_length, m_width, m_height);
}

// ---- decDbCylinder ----

decDbCylinder::decDbCylinder() { SetName("圆柱"); }

decDbCylinder::decDbCylinder(double radius, double height) : decDbCylinder()
{
    m_radius = radius;
    m_height = height;
}

int decDbCylinder::MakeMesh(decMesh3** out) const
{
    return HandOver(out ? RoundSolid(m_radius, m_radius, m_height) : nullptr, out);
}

void decDbCylinder::Serialize(SerializeFilter& f)
{
    decBuilder::Serialize(f);
    f.Transfer(m_radius, m_height);
}

// ---- decDbCone, decDbFrustum ----

decDbCone::decDbCone() { SetName("圆锥"); }

decDbCone::decDbCone(double radius, double height) : decDbCone()
{
    m_radius = radius;
    m_height = height;
}

int decDbCone::MakeMesh(decMesh3** out) const
{
    return HandOver(out ? RoundSolid(m_radius, 0, m_height) : nullptr, out);
}

void decDbCone::Serialize(SerializeFilter& f)
{
    decBuilder::Serialize(f);
    f.Transfer(m_radius, m_height);
}

decDbFrustum::decDbFrustum() { SetName("台体"); }

decDbFrustum::decDbFrustum(double bottomRadius, double topRadius, double height) : decDbFrustum()
{
    m_bottom = bottomRadius;
    m_top = topRadius;
    m_height = height;
}

int decDbFrustum::MakeMesh(decMesh3** out) const
{
    return HandOver((out && m_top > 0) ? RoundSolid(m_bottom, m_top, m_height) : nullptr, out);
}

void decDbFrustum::Serialize(SerializeFilter& f)
{
    decBuilder::Serialize(f);
    f.Transfer(m_bottom, m_top, m_height);
}

// ---- decDbLoft ----

decDbLoft::decDbLoft() { SetName("放样体"); }

void decDbLoft::SetData(const std::vector<fdata>& sections, const GePoint3dArray& path, int code, int pathCount)
{
    AssertWriteEnabled(1, 1, 1, 0);
    if (code != 1001) host::EventLog::Instance().Call("decDbLoft::SetData code " + std::to_string(code));
    m_sections = sections;
    const std::size_t n = pathCount < 0 ? 0 : std::min(path.size(), static_cast<std::size_t>(pathCount));
    m_path.assign(path.begin(), path.begin() + static_cast<std::ptrdiff_t>(n));
    m_code = code;
}

void decDbLoft::setState(int a, int b, double angle)
{
    AssertWriteEnabled(1, 1, 1, 0);
    host::EventLog::Instance().Call("decDbLoft::setState " + std::to_string(a) + " " + std::to_string(b) + " " +
                                    std::to_string(angle));
    m_stateA = a;
    m_stateB = b;
    m_stateAngle = angle;
}

int decDbLoft::MakeMesh(decMesh3** out) const
{
    if (!out || m_sections.empty() || m_path.size() < 2) return 0;
    const GePoint3dArray& section = m_sections.front().pts;
    // A section times a path of more vertices than any model needs (a damaged file) makes no
    // mesh rather than exhausting memory.
    constexpr std::size_t kMostVertices = 4'000'000;
    if (section.size() < 3 || section.size() * m_path.size() > kMostVertices) return 0;
    const int k = static_cast<int>(section.size());
    const int m = static_cast<int>(m_path.size());

    // The direction across the path at each path point, mitred so that walls keep their
    // thickness at corners, then turned by the state's angle about the vertical (a half turn
    // puts the section on the left of the path).
    const double turnCos = std::cos(m_stateAngle), turnSin = std::sin(m_stateAngle);
    std::vector<GeVector3d> across(static_cast<std::size_t>(m));
    for (int i = 0; i < m; ++i) {
        const GeVector3d before = i > 0 ? RightOf(m_path[i - 1], m_path[i]) : GeVector3d();
        const GeVector3d after = i + 1 < m ? RightOf(m_path[i], m_path[i + 1]) : GeVector3d();
        GeVector3d v = before + after;
        const double length = v.Length();
        if (length < 1e-9) {
            v = before.Length() > 0 ? before : after;
        } else {
            v = v / length;
            const GeVector3d reference = before.Length() > 0 ? before : after;
            const double cosine = v.DotProduct(reference);
            if (cosine > 0.1) v = v / cosine;
        }
        across[static_cast<std::size_t>(i)] =
            GeVector3d(v.x * turnCos - v.y * turnSin, v.x * turnSin + v.y * turnCos, 0.0);
    }
    // The faces below face outwards for a section running clockwise in (across, up) with the
    // section on the right; a counter-clockwise section, or one turned to the left, reverses
    // them, and both together keep them.
    GePoint2dArray sectionPlan;
    for (const GePoint3d& s : section) sectionPlan.emplace_back(s.x, s.y);
    const bool reversed = (sectionPlan.SignedArea() > 0.0) != (turnCos < 0.0);

    const GePoint3d origin = m_path.front();
    auto* mesh = new decMesh3();
    GePoint3d* vertices = mesh->SetCountVertex(k * m);
    for (int i = 0; i < m; ++i)
        for (int j = 0; j < k; ++j) {
            const GePoint3d& s = section[static_cast<std::size_t>(j)];
            vertices[i * k + j] = m_path[i] + across[static_cast<std::size_t>(i)] * (s.x - origin.x) +
                                  GeVector3d::kZAxis * (s.y - origin.y);
        }
    decPolygonBuf faces((m - 1) * k + 2);
    const auto append = [&faces, reversed](std::vector<int> face) {
        if (reversed) std::reverse(face.begin(), face.end());
        faces.AppendPolygon(static_cast<int>(face.size()), face.data());
    };
    std::vector<int> cap;
    for (int j = k - 1; j >= 0; --j) cap.push_back(j);
    append(cap);
    cap.clear();
    for (int j = 0; j < k; ++j) cap.push_back((m - 1) * k + j);
    append(cap);
    for (int i = 0; i + 1 < m; ++i)
        for (int j = 0; j < k; ++j) {
            const int jn = (j + 1) % k;
            append({i * k + j, i * k + jn, (i + 1) * k + jn, (i + 1) * k + j});
        }
    mesh->SetPolygonFrom(faces);
    *out = mesh;
    return 1;
}

void decDbLoft::Serialize(SerializeFilter& f)
{
    decBuilder::Serialize(f);
    if (f.IsStoring()) {
        f << m_code << m_stateA << m_stateB << m_stateAngle;
        StorePoints(f, m_path);
        f << static_cast<unsigned>(m_sections.size());
        for (const fdata& s : m_sections) {
            f << s.code;
            StorePoints(f, s.pts);
        }
        return;
    }
    f >> m_code >> m_stateA >> m_stateB >> m_stateAngle;
    m_path = LoadPoints(f);
    std::vector<fdata> sections(f.ReadCount(8));
    for (fdata& s : sections) {
        f >> s.code;
        s.pts = LoadPoints(f);
    }
    m_sections = std::move(sections);
}
