#pragma once
// What the roof tests share: the module's test host, roofs set from one parameter record,
// and measures of faces that do not use the roof code's own arithmetic (plan areas by the
// shoelace sum, areas in space by Newell's normal, the volume under a plane face, the volume
// of a closed mesh).
#include <bit>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "OrvRoof.h"
#include "ToolsTestSupport.h"

namespace roof_test {

using tools_test::Ring;
using tools_test::SignedPlanArea;

// The arguments of SetData, in its order; what is left out is 0 or empty.
struct RoofInput {
    RoofInput(Ring outline_, int kind_ = 0, double overhang_ = 0.0, std::vector<float> slopes_ = {},
              float thickness_ = 0.0f, float ha_ = 0.0f, float hb_ = 0.0f, float wa_ = 0.0f, float wb_ = 0.0f)
        : outline(std::move(outline_)), kind(kind_), overhang(overhang_), slopes(std::move(slopes_)),
          thickness(thickness_), ha(ha_), hb(hb_), wa(wa_), wb(wb_)
    {
    }
    Ring outline;
    int kind;
    double overhang;
    std::vector<float> slopes;
    float thickness, ha, hb, wa, wb;
};

inline int Set(COrvRoof& roof, const RoofInput& in)
{
    return roof.SetData(in.outline, in.kind, in.overhang, in.slopes, in.thickness, in.ha, in.hb, in.wa, in.wb);
}

// What GetData gives back.
struct RoofValues {
    Ring outline;
    int kind = -1;
    float overhang = -1, thickness = -1, ha = -1, hb = -1, wa = -1, wb = -1;
    std::vector<float> slopes;
    bool operator==(const RoofValues&) const = default;
};

inline RoofValues Values(const COrvRoof& roof)
{
    RoofValues v;
    roof.GetData(v.outline, v.kind, v.overhang, v.slopes, v.thickness, v.ha, v.hb, v.wa, v.wb);
    return v;
}

// The rectangle L x W from the origin, counter-clockwise, at z.
inline Ring Rectangle(double length, double width, double z = 0.0)
{
    return {{0, 0, z}, {length, 0, z}, {length, width, z}, {0, width, z}};
}

// The area of a planar polygon in space: half the length of Newell's normal.
inline GeVector3d NewellNormal(const Ring& face)
{
    GeVector3d n(0, 0, 0);
    for (std::size_t i = 0; i < face.size(); ++i) {
        const GePoint3d& a = face[i];
        const GePoint3d& b = face[(i + 1) % face.size()];
        n.x += (a.y - b.y) * (a.z + b.z);
        n.y += (a.z - b.z) * (a.x + b.x);
        n.z += (a.x - b.x) * (a.y + b.y);
    }
    return n;
}

inline double SpaceArea(const Ring& face)
{
    return NewellNormal(face).Length() / 2.0;
}

// The integral of (z - base) over the plan projection of a planar, non-vertical face: its
// plan area times the height of its plane above the base at the plan centroid.
inline double VolumeAbove(const Ring& face, double base)
{
    double a = 0.0, cx = 0.0, cy = 0.0;
    for (std::size_t i = 0; i < face.size(); ++i) {
        const GePoint3d& p = face[i];
        const GePoint3d& q = face[(i + 1) % face.size()];
        const double cross = p.x * q.y - q.x * p.y;
        a += cross;
        cx += (p.x + q.x) * cross;
        cy += (p.y + q.y) * cross;
    }
    cx /= 3.0 * a;
    cy /= 3.0 * a;
    const GeVector3d n = NewellNormal(face);
    const GePoint3d& p0 = face.front();
    const double z = p0.z - (n.x * (cx - p0.x) + n.y * (cy - p0.y)) / n.z;
    return std::fabs(a) / 2.0 * (z - base);
}

// The signed volume of a closed mesh by the divergence theorem, each face taken as a fan.
inline double MeshVolume(const decDbEntity3d& solid)
{
    const decMesh3* mesh = solid.GetMesh();
    double volume = 0.0;
    for (int f = 0; mesh && f < mesh->GetCountPolygon(); ++f) {
        const Ring face = mesh->FacePoints(f, solid.GetTM());
        const GeVector3d a = face[0] - GePoint3d::kOrigin;
        for (std::size_t i = 1; i + 1 < face.size(); ++i)
            volume += a.DotProduct((face[i] - GePoint3d::kOrigin).CrossProduct(face[i + 1] - GePoint3d::kOrigin)) / 6.0;
    }
    return volume;
}

// A record written byte by byte as the host encodes its items: int32, float32 and binary64
// little endian, a point as three doubles.
class RecordBytes {
public:
    RecordBytes& Int(std::int32_t v) { return Raw(&v, sizeof v); }
    RecordBytes& Float(float v) { return Raw(&v, sizeof v); }
    RecordBytes& Double(double v) { return Raw(&v, sizeof v); }
    RecordBytes& Point(double x, double y, double z) { return Double(x).Double(y).Double(z); }
    std::vector<std::uint8_t> bytes;

private:
    RecordBytes& Raw(const void* p, std::size_t n)
    {
        static_assert(std::endian::native == std::endian::little);
        const auto* b = static_cast<const std::uint8_t*>(p);
        bytes.insert(bytes.end(), b, b + n);
        return *this;
    }
};

// The extents of the vertices of an OBJ file, as its reader would see them.
inline GeBoundBox3d ObjExtents(const std::string& path)
{
    std::ifstream in(path);
    GeBoundBox3d box;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("v ", 0) != 0)
            continue;
        std::istringstream values(line.substr(2));
        GePoint3d p;
        values >> p.x >> p.y >> p.z;
        box.Extend(p);
    }
    return box;
}

// The faces of a mesh entity (no builder behind it) in world coordinates, in mesh order; none
// for any other entity.
inline std::vector<Ring> MeshFaces(const decDbEntity* entity)
{
    std::vector<Ring> faces;
    const auto* solid = decCast<decDbEntity3d>(entity);
    for (int i = 0; solid && !solid->GetBuilder() && i < solid->GetMesh()->GetCountPolygon(); ++i)
        faces.push_back(solid->GetMesh()->FacePoints(i, solid->GetTM()));
    return faces;
}

}  // namespace roof_test
