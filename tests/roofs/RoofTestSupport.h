#pragma once
// What the roof tests share: the module's test host, roofs set from one parameter record,
// readers of what a command left in the drawing, outlines placed on a site with what a roof
// command made of them, and measures of faces that do not use the roof code's own arithmetic
// (plan areas by the shoelace sum, areas in space by Newell's normal, the volume under a plane
// face, the volume of a closed mesh, Clipper's unions and offsets of plans).
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <memory>
#include <numbers>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

#include "DbDatabase.h"
#include "OrvRoof.h"
#include "ToolsTestSupport.h"
#include "WorkingDrawing.h"
#include "clipper.hpp"

namespace roof_test {

using tools_test::Ring;
using tools_test::SignedPlanArea;

// The arguments of SetData, in its order; what is left out is 0 or empty.
struct RoofInput {
    Ring outline;
    int kind = 0;
    double overhang = 0.0;
    std::vector<float> slopes = {};
    float thickness = 0, ha = 0, hb = 0, wa = 0, wb = 0;
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

// A module test that starts from the dialog values a fresh module remembers: they live as long
// as the module, across tests.
template <auto& remembered>
class FreshDialogTest : public ModuleTest {
protected:
    void SetUp() override
    {
        ModuleTest::SetUp();
        remembered = std::remove_reference_t<decltype(remembered)>();
    }
};

// The rectangle L x W from the origin, counter-clockwise, at z.
inline Ring Rectangle(double length, double width, double z = 0.0)
{
    return {{0, 0, z}, {length, 0, z}, {length, width, z}, {0, width, z}};
}

inline double Radians(double degrees)
{
    return degrees * std::numbers::pi / 180;
}

// The regular n-gon of the radius about (x, y), counter-clockwise, starting on the +x side.
inline Ring RegularPolygon(int n, double radius, double x = 0.0, double y = 0.0)
{
    Ring ring;
    for (int i = 0; i < n; ++i) {
        const double a = 2 * std::numbers::pi * i / n;
        ring.emplace_back(x + radius * std::cos(a), y + radius * std::sin(a), 0.0);
    }
    return ring;
}

// The points as a script line writes them: "x,y,z x,y,z ...".
inline std::string ScriptPoints(const Ring& ring)
{
    std::ostringstream out;
    out.precision(17);
    for (const GePoint3d& p : ring)
        out << (&p == ring.data() ? "" : " ") << p.x << ',' << p.y << ',' << p.z;
    return out.str();
}

// The builder's mesh, or none when it makes none.
inline std::unique_ptr<decMesh3> MeshOf(const decBuilder& builder)
{
    decMesh3* made = nullptr;
    const int result = builder.MakeMesh(&made);
    std::unique_ptr<decMesh3> mesh(made);
    return result == 1 ? std::move(mesh) : nullptr;
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

// An upright face, as a slab's band is.
inline bool IsVertical(const Ring& face)
{
    return std::fabs(NewellNormal(face).z) < 1e-6 * NewellNormal(face).Length();
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

// The faces of a mesh in the frame the matrix takes them to, in mesh order.
inline std::vector<Ring> MeshFaces(const decMesh3& mesh, const GeMatrix3d& tm = GeMatrix3d())
{
    std::vector<Ring> faces;
    for (int f = 0; f < mesh.GetCountPolygon(); ++f)
        faces.push_back(mesh.FacePoints(f, tm));
    return faces;
}

// The volume a face of a closed surface adds by the divergence theorem: the signed volumes of
// the cones from the origin over the fan of triangles from its first point.
inline double FanVolume(const Ring& face)
{
    double volume = 0.0;
    for (std::size_t i = 1; i + 1 < face.size(); ++i)
        volume += face[0].AsVector().DotProduct(face[i].AsVector().CrossProduct(face[i + 1].AsVector())) / 6.0;
    return volume;
}

// The signed volume of a closed mesh.
inline double MeshVolume(const decDbEntity3d& solid)
{
    double volume = 0.0;
    if (const decMesh3* mesh = solid.GetMesh())
        for (const Ring& face : MeshFaces(*mesh, solid.GetTM()))
            volume += FanVolume(face);
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
    const auto* solid = decCast<decDbEntity3d>(entity);
    return solid && !solid->GetBuilder() ? MeshFaces(*solid->GetMesh(), solid->GetTM()) : std::vector<Ring>();
}

// The faces of the mesh entities among them, one after the other.
inline std::vector<Ring> MeshFaces(const std::vector<decDbEntity3d*>& entities)
{
    std::vector<Ring> faces;
    for (const decDbEntity3d* e : entities)
        for (Ring& f : MeshFaces(e))
            faces.push_back(std::move(f));
    return faces;
}

// "layer/material" of an entity of the working drawing.
inline std::string LayerAndMaterial(const decDbEntity* entity)
{
    DbDatabase* db = dec::GetWorkingDatabase();
    const dexMaterialObj* material = db->GetTableMaterial()->GetById(entity->GetMaterialId());
    return std::string(db->GetTableLayer()->GetLayer(entity->GetLayerId())->GetName()) + "/" +
           (material ? material->GetName() : "");
}

// The live 3-D entities of the working drawing in creation order, those on the layer when one
// is named.
inline std::vector<decDbEntity3d*> Solids(const char* layer = nullptr)
{
    std::vector<decDbEntity3d*> found;
    DbDatabase* db = dec::GetWorkingDatabase();
    for (decDbEntity* e : db->AllObjects())
        if (auto* solid = decCast<decDbEntity3d>(e);
            solid && !e->IsErased() &&
            (!layer || std::string(db->GetTableLayer()->GetLayer(e->GetLayerId())->GetName()) == layer))
            found.push_back(solid);
    return found;
}

// The extents of the faces' points.
inline GeBoundBox3d Extents(const std::vector<Ring>& faces)
{
    GeBoundBox3d box;
    for (const Ring& face : faces)
        for (const GePoint3d& p : face)
            box.Extend(p);
    return box;
}

inline void ExpectExtents(const GeBoundBox3d& box, const GePoint3d& low, const GePoint3d& high, double tol)
{
    ExpectPointsNear({box.MinPoint(), box.MaxPoint()}, {low, high}, tol);
}

// The faces of a hip roof of equal slope over the L x W rectangle standing at base: counter-
// clockwise in plan, covering the rectangle once, rising (W/2)·tan s and holding W·h·(3L − W)/6
// (a square's pyramid a²·h/3 among them).
inline void ExpectHipRoof(const std::vector<Ring>& faces, double l, double w, double slope, double base)
{
    ASSERT_FALSE(faces.empty());
    const double h = w / 2 * std::tan(Radians(slope));
    double plan = 0.0, volume = 0.0;
    for (const Ring& face : faces) {
        EXPECT_GT(SignedPlanArea(face), 0.0);
        plan += SignedPlanArea(face);
        volume += VolumeAbove(face, base);
    }
    EXPECT_NEAR(plan, l * w, 1.0);
    EXPECT_NEAR(Extents(faces).MaxPoint().z - base, h, 0.1);
    EXPECT_NEAR(volume, w * h * (3 * l - w) / 6, 1e-5 * w * h * (3 * l - w) / 6);
}

// Every edge of the eave ring has a face rising from it at the edge's slope: a face with two
// points on the edge (on the segment in plan, at its height), each of its points standing
// tan(slope) times its plan distance from the edge above it.
inline void ExpectFacesRiseFromTheirEdges(const std::vector<Ring>& faces, const Ring& eave,
                                          const std::vector<float>& slopes, double tol)
{
    ASSERT_EQ(slopes.size(), eave.size());
    for (std::size_t e = 0; e < eave.size(); ++e) {
        const GePoint3d& a = eave[e];
        const GePoint3d& b = eave[(e + 1) % eave.size()];
        const auto away = [&](const GePoint3d& p) {
            return std::fabs((b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x)) / std::hypot(b.x - a.x, b.y - a.y);
        };
        // On the segment, not only its line: edges of one line may carry other slopes.
        const auto along = [&](const GePoint3d& p) {
            return ((p.x - a.x) * (b.x - a.x) + (p.y - a.y) * (b.y - a.y)) / a.DistanceTo(b);
        };
        const auto onEdge = [&](const GePoint3d& p) {
            return away(p) < 1e-3 && std::fabs(p.z - a.z) < 1e-3 && along(p) > -1e-3 &&
                   along(p) < a.DistanceTo(b) + 1e-3;
        };
        const auto face = std::find_if(faces.begin(), faces.end(), [&](const Ring& f) {
            return std::count_if(f.begin(), f.end(), onEdge) >= 2;
        });
        ASSERT_NE(face, faces.end()) << "edge " << e;
        for (const GePoint3d& p : *face)
            EXPECT_NEAR(p.z - a.z, std::tan(Radians(slopes[e])) * away(p), tol) << "edge " << e;
    }
}

// ---- An outline drawn on a site, and the roof a command made of it --------------------

// Where and how an outline is drawn: turned about the origin by `degrees`, moved by (x, y) and
// run the other way round when clockwise.
struct Placing {
    double degrees = 0.0, x = 0.0, y = 0.0;
    bool clockwise = false;
    GePoint3d operator()(const GePoint3d& p) const
    {
        const double c = std::cos(Radians(degrees)), s = std::sin(Radians(degrees));
        return {c * p.x - s * p.y + x, s * p.x + c * p.y + y, p.z};
    }
    Ring operator()(const Ring& ring) const
    {
        Ring placed;
        for (const GePoint3d& p : ring)
            placed.push_back((*this)(p));
        return clockwise ? tools_test::Reversed(placed) : placed;
    }
    // The plan point placed, as a script line clicks it.
    std::string Click(double px, double py) const
    {
        const GePoint3d p = (*this)(GePoint3d(px, py, 0));
        return std::to_string(p.x) + "," + std::to_string(p.y);
    }
};

// What a roof command made, measured without the roof code: the faces of the live solids on
// the roof's layer, the plan they cover, their extents, and the area of the gable walls.
struct RoofMade {
    std::size_t faces = 0;
    double plan = 0.0, walls = 0.0;
    GeBoundBox3d box;
};

inline RoofMade MadeOn(const char* layer)
{
    RoofMade made;
    for (const decDbEntity3d* solid : Solids(layer))
        for (const Ring& face : MeshFaces(*solid->GetMesh(), solid->GetTM())) {
            ++made.faces;
            made.plan += std::fabs(SignedPlanArea(face));
            for (const GePoint3d& p : face)
                made.box.Extend(p);
        }
    for (const Ring& wall : MeshFaces(Solids("屋顶封闭")))
        made.walls += SpaceArea(wall);
    return made;
}

// The roof of the plain outline within what moving one corner by tol changes: as many faces,
// and the plan, the walls and the extents.
inline void ExpectPlainRoof(const RoofMade& made, const RoofMade& plain, double tol, const std::string& transcript)
{
    EXPECT_EQ(made.faces, plain.faces) << transcript;
    EXPECT_NEAR(made.plan, plain.plan, 1e-6 * plain.plan + tol * 40000);
    EXPECT_NEAR(made.walls, plain.walls, 1e-6 * plain.walls + tol * 40000);
    ExpectExtents(made.box, plain.box.MinPoint(), plain.box.MaxPoint(), 1e-6 + tol);
}

// ---- Clipper as the independent oracle of plans, on whole millimetres ------------------

// The plan of a ring, counter-clockwise whichever way the ring runs, in units of 1/scale mm.
inline ClipperLib::Path PlanPath(const Ring& ring, double scale = 1.0)
{
    ClipperLib::Path path;
    for (const GePoint3d& p : ring)
        path.push_back({std::llround(p.x * scale), std::llround(p.y * scale)});
    if (!ClipperLib::Orientation(path))
        ClipperLib::ReversePath(path);
    return path;
}

inline double PathsArea(const ClipperLib::Paths& paths)
{
    double area = 0;
    for (const auto& p : paths)
        area += ClipperLib::Area(p);
    return area;
}

inline ClipperLib::Paths Clipped(ClipperLib::ClipType type, const ClipperLib::Paths& subject,
                                 const ClipperLib::Paths& clip = {})
{
    ClipperLib::Clipper clipper;
    clipper.AddPaths(subject, ClipperLib::ptSubject, true);
    clipper.AddPaths(clip, ClipperLib::ptClip, true);
    ClipperLib::Paths out;
    clipper.Execute(type, out, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
    return out;
}

inline ClipperLib::Paths PlanUnion(const std::vector<Ring>& rings, double scale = 1.0)
{
    ClipperLib::Paths paths;
    for (const Ring& r : rings)
        paths.push_back(PlanPath(r, scale));
    return Clipped(ClipperLib::ctUnion, paths);
}

inline double PlanUnionArea(const std::vector<Ring>& rings)
{
    return PathsArea(PlanUnion(rings));
}

// The outline grown by d with mitred corners (no corner cut short): a notch narrower than
// 2d closes.
inline ClipperLib::Paths MitredGrown(const Ring& ring, double d, double scale = 1.0)
{
    ClipperLib::ClipperOffset offset(1e6);
    offset.AddPath(PlanPath(ring, scale), ClipperLib::jtMiter, ClipperLib::etClosedPolygon);
    ClipperLib::Paths out;
    offset.Execute(out, d * scale);
    return out;
}

inline double MitredGrownArea(const Ring& ring, double d)
{
    return PathsArea(MitredGrown(ring, d));
}

// The faces cover a plan of the area once: their plan areas add up to it as their union
// does, and none doubles back over itself (its area counted even-odd is its signed area).
inline void ExpectPlanCoveredOnce(const std::vector<Ring>& faces, double area)
{
    ASSERT_FALSE(faces.empty());
    double plan = 0.0;
    for (const Ring& face : faces) {
        const ClipperLib::Path path = PlanPath(face);
        ClipperLib::Paths once;
        ClipperLib::SimplifyPolygon(path, once, ClipperLib::pftEvenOdd);
        EXPECT_NEAR(PathsArea(once), ClipperLib::Area(path), 1e-5 * PathsArea(once)) << "a face doubles back";
        plan += std::fabs(SignedPlanArea(face));
    }
    EXPECT_NEAR(plan, area, 1e-5 * area);
    EXPECT_NEAR(PlanUnionArea(faces), area, 1e-5 * area);
}

}  // namespace roof_test
