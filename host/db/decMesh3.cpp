#include "decMesh3.h"

#include <algorithm>
#include <map>
#include <string>
#include <tuple>

#include "EventLog.h"
#include "SerializeFilter.h"

namespace {
void LogFlags(const std::string& call, std::initializer_list<int> flags)
{
    std::string text = call;
    for (int flag : flags) text += " " + std::to_string(flag);
    host::EventLog::Instance().Call(text);
}
}  // namespace

// Faces come by the thousand: their flags are recorded only when they are not the usual 0.
void decPolygonBuf::AppendPolygon(int count, const int* indices, int a, int b)
{
    if (a != 0 || b != 0) LogFlags("decPolygonBuf::AppendPolygon", {a, b});
    if (!indices || count < 1) return;
    m_faces.emplace_back(indices, indices + count);
}

void* decMesh3::operator new(std::size_t size) { return ::operator new(size); }
void decMesh3::operator delete(void* p) noexcept { ::operator delete(p); }

int decMesh3::CreateExtrude(int n, const GePoint3d* base, int closed, const GeVector3d& extrusion, int a, int b, int c)
{
    LogFlags("decMesh3::CreateExtrude", {closed, a, b, c});
    const int minimum = closed ? 3 : 2;
    if (!base || n < minimum || extrusion.Length() == 0.0) return 0;
    const auto count = static_cast<std::size_t>(n);
    std::vector<GePoint3d> vertices(base, base + count);
    for (std::size_t i = 0; i < count; ++i) vertices.push_back(base[i] + extrusion);

    std::vector<std::vector<int>> faces;
    if (closed) {
        std::vector<int> bottom, top;
        for (int i = n - 1; i >= 0; --i) bottom.push_back(i);
        for (int i = 0; i < n; ++i) top.push_back(n + i);
        faces.push_back(std::move(bottom));
        faces.push_back(std::move(top));
    }
    const int edges = closed ? n : n - 1;
    for (int i = 0; i < edges; ++i) {
        const int j = (i + 1) % n;
        faces.push_back({i, j, n + j, n + i});
    }
    m_vertices = std::move(vertices);
    m_uvs.clear();
    m_faces = std::move(faces);
    return 1;
}

int decMesh3::CreateBox(double lengthX, double depthY, double heightZ, int flag)
{
    LogFlags("decMesh3::CreateBox", {flag});
    if (!(lengthX > 0.0) || !(depthY > 0.0) || !(heightZ > 0.0)) return 0;
    const double x0 = -lengthX / 2.0, x1 = lengthX / 2.0;
    const double y0 = -depthY, y1 = 0.0;
    m_vertices = {{x0, y0, 0}, {x1, y0, 0}, {x1, y1, 0}, {x0, y1, 0},
                  {x0, y0, heightZ}, {x1, y0, heightZ}, {x1, y1, heightZ}, {x0, y1, heightZ}};
    m_uvs.clear();
    m_faces = {{3, 2, 1, 0}, {4, 5, 6, 7}, {0, 1, 5, 4}, {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}};
    return 1;
}

GePoint3d* decMesh3::SetCountVertex(int n)
{
    m_vertices.assign(n > 0 ? static_cast<std::size_t>(n) : 0, GePoint3d());
    return GetVertexArray();
}

GePoint2d* decMesh3::SetCountVertsUV(int n)
{
    m_uvs.assign(n > 0 ? static_cast<std::size_t>(n) : 0, GePoint2d());
    return m_uvs.empty() ? nullptr : m_uvs.data();
}

void decMesh3::SetPolygonFrom(const decPolygonBuf& buffer)
{
    m_faces.clear();
    const int n = GetCountVertex();
    for (const auto& face : buffer.Faces()) {
        bool inside = true;
        for (int index : face) inside = inside && index >= 0 && index < n;
        if (inside) m_faces.push_back(face);
    }
}

std::vector<GePoint3d> decMesh3::FacePoints(int i, const GeMatrix3d& tm) const
{
    std::vector<GePoint3d> points;
    for (int index : GetPolygon(i)) points.push_back(tm * m_vertices[static_cast<std::size_t>(index)]);
    return points;
}

GeBoundBox3d decMesh3::GetBoundBox(const GeMatrix3d& tm) const
{
    GeBoundBox3d box;
    for (const GePoint3d& p : m_vertices) box.Extend(tm * p);
    return box;
}

void decMesh3::Serialize(SerializeFilter& f)
{
    if (f.IsStoring()) {
        f << static_cast<unsigned>(m_vertices.size());
        for (const GePoint3d& p : m_vertices) f << p;
        f << static_cast<unsigned>(m_uvs.size());
        for (const GePoint2d& uv : m_uvs) f << uv.x << uv.y;
        f << static_cast<unsigned>(m_faces.size());
        for (const auto& face : m_faces) {
            f << static_cast<unsigned>(face.size());
            for (int index : face) f << index;
        }
        return;
    }
    std::vector<GePoint3d> vertices(f.ReadCount(24));
    for (GePoint3d& p : vertices) f >> p;
    std::vector<GePoint2d> uvs(f.ReadCount(16));
    for (GePoint2d& uv : uvs) f >> uv.x >> uv.y;
    std::vector<std::vector<int>> faces(f.ReadCount(4));
    for (auto& face : faces) {
        face.resize(f.ReadCount(4));
        for (int& index : face) {
            f >> index;
            if (index < 0 || static_cast<std::size_t>(index) >= vertices.size())
                throw host::RecordError("a mesh face names vertex " + std::to_string(index) + " of " +
                                        std::to_string(vertices.size()));
        }
    }
    m_vertices = std::move(vertices);
    m_uvs = std::move(uvs);
    m_faces = std::move(faces);
}

void* decMesh4::operator new(std::size_t size) { return ::operator new(size); }
void decMesh4::operator delete(void* p) noexcept { ::operator delete(p); }

void decMesh4::AppendPolygon(int count, const GePoint3d* pts, int flag)
{
    if (flag != 0) LogFlags("decMesh4::AppendPolygon", {flag});
    if (!pts || count < 3) return;
    m_faces.emplace_back(pts, pts + count);
}

decMesh3* decMesh4::ConvertToMesh3() const
{
    if (m_faces.empty()) return nullptr;
    std::map<std::tuple<double, double, double>, int> shared;
    std::vector<GePoint3d> vertices;
    decPolygonBuf buffer(static_cast<int>(m_faces.size()));
    for (const auto& face : m_faces) {
        std::vector<int> indices;
        for (const GePoint3d& p : face) {
            const auto [it, added] = shared.try_emplace({p.x, p.y, p.z}, static_cast<int>(vertices.size()));
            if (added) vertices.push_back(p);
            indices.push_back(it->second);
        }
        buffer.AppendPolygon(static_cast<int>(indices.size()), indices.data());
    }
    auto* mesh = new decMesh3();
    std::copy(vertices.begin(), vertices.end(), mesh->SetCountVertex(static_cast<int>(vertices.size())));
    mesh->SetPolygonFrom(buffer);
    return mesh;
}
