#pragma once
// Meshes: decMesh3 is an indexed mesh (vertices, optional texture coordinates, faces as
// vertex index lists) in an entity's local coordinates; decPolygonBuf collects faces for
// it; decMesh4 is a polygon soup that becomes a decMesh3.
#include <cstddef>
#include <vector>

#include "GeBoundBox3d.h"
#include "GeMatrix3d.h"
#include "GePoint2d.h"
#include "GePoint3d.h"
#include "GeVector3d.h"

class SerializeFilter;

// Faces given by vertex indices, in order.
class decPolygonBuf {
public:
    explicit decPolygonBuf(int capacityHint = 1024) { m_faces.reserve(capacityHint > 0 ? static_cast<std::size_t>(capacityHint) : 0); }

    // One face; a null list or a count below 1 adds nothing. The two flags are the host's.
    void AppendPolygon(int count, const int* indices, int a = 0, int b = 0);
    int GetCount() const { return static_cast<int>(m_faces.size()); }
    const std::vector<std::vector<int>>& Faces() const { return m_faces; }

private:
    std::vector<std::vector<int>> m_faces;
};

class decMesh3 {
public:
    decMesh3() = default;

    static void* operator new(std::size_t size);
    static void operator delete(void* p) noexcept;

    // A prism: the base ring of n points swept by the extrusion vector. Vertices 0..n-1 are
    // the base ring in the given order, n..2n-1 the swept ring; faces: the bottom cap (ring
    // reversed, so it faces away from the sweep), the top cap, then one quad per edge. A
    // closed flag of 0 makes an open sweep: no caps and no closing wall. Returns 1, or 0 for
    // fewer than 2 points (3 when closed), a null ring or a zero vector (mesh unchanged).
    int CreateExtrude(int n, const GePoint3d* base, int closed, const GeVector3d& extrusion,
                      int a = 1, int b = 0, int c = 0);

    // A box anchored on its front face: x in [-w/2, w/2], y in [-depth, 0], z in [0, h]
    // (a window's origin is the middle of its sill on the facade plane and the box lies
    // behind the facade). Vertices 0..3 bottom, 4..7 top; six quad faces facing outwards.
    // Returns 1, or 0 for a size that is not positive (mesh unchanged).
    int CreateBox(double lengthX, double depthY, double heightZ, int flag = 1);

    // Replaces the vertices by n default points and returns them to fill (null for n <= 0,
    // leaving the mesh without vertices).
    GePoint3d* SetCountVertex(int n);
    const GePoint3d* GetVertexArray() const { return m_vertices.empty() ? nullptr : m_vertices.data(); }
    GePoint3d* GetVertexArray() { return m_vertices.empty() ? nullptr : m_vertices.data(); }
    int GetCountVertex() const { return static_cast<int>(m_vertices.size()); }

    // Texture coordinates, one per vertex.
    GePoint2d* SetCountVertsUV(int n);
    int GetCountVertsUV() const { return static_cast<int>(m_uvs.size()); }
    const GePoint2d* GetVertsUV() const { return m_uvs.empty() ? nullptr : m_uvs.data(); }

    // Replaces the faces. Faces with an index outside the vertices are dropped.
    void SetPolygonFrom(const decPolygonBuf& buffer);
    int GetCountPolygon() const { return static_cast<int>(m_faces.size()); }
    const std::vector<int>& GetPolygon(int i) const { return m_faces.at(static_cast<std::size_t>(i)); }
    const std::vector<std::vector<int>>& Faces() const { return m_faces; }

    // Vertices of face i placed by tm.
    std::vector<GePoint3d> FacePoints(int i, const GeMatrix3d& tm) const;
    GeBoundBox3d GetBoundBox(const GeMatrix3d& tm) const;

    // The mesh in a stream: vertex count and points, uv count and pairs, face count and
    // index lists. Loading checks every count and index against the record.
    void Serialize(SerializeFilter& filter);

    friend bool operator==(const decMesh3&, const decMesh3&) = default;

private:
    std::vector<GePoint3d> m_vertices;
    std::vector<GePoint2d> m_uvs;
    std::vector<std::vector<int>> m_faces;
};

// Planar faces given by their points; ConvertToMesh3 shares equal points.
class decMesh4 {
public:
    static void* operator new(std::size_t size);
    static void operator delete(void* p) noexcept;

    // One face; fewer than 3 points or a null list adds nothing.
    void AppendPolygon(int count, const GePoint3d* pts, int flag = 0);
    int GetCountPolygon() const { return static_cast<int>(m_faces.size()); }

    // A new indexed mesh of the faces (the caller owns it), or null when no face was added.
    decMesh3* ConvertToMesh3() const;

private:
    std::vector<std::vector<GePoint3d>> m_faces;
};
