#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "DbTestSupport.h"
#include "decDbCurve.h"
#include "HostSolids.h"
#include "ObjExport.h"

using ObjExport = DbTest;

namespace {

struct ObjObject {
    std::string material;
    int vertices = 0;
    int faces = 0;
    // The vertex numbers of each line element, as written.
    std::vector<std::vector<int>> lines;
    GePoint3d min{1e300, 1e300, 1e300};
    GePoint3d max{-1e300, -1e300, -1e300};
};

// The objects of an OBJ file in order, with their vertex counts and bounds.
std::vector<std::pair<std::string, ObjObject>> ParseObj(const std::string& path)
{
    std::vector<std::pair<std::string, ObjObject>> objects;
    std::ifstream in(path);
    std::string line;
    int total = 0;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string kind;
        words >> kind;
        if (kind == "o") {
            std::string name;
            words >> name;
            objects.emplace_back(name, ObjObject());
        } else if (kind == "usemtl" && !objects.empty()) {
            words >> objects.back().second.material;
        } else if (kind == "v" && !objects.empty()) {
            GePoint3d p;
            words >> p.x >> p.y >> p.z;
            ObjObject& o = objects.back().second;
            ++o.vertices;
            ++total;
            o.min = {std::min(o.min.x, p.x), std::min(o.min.y, p.y), std::min(o.min.z, p.z)};
            o.max = {std::max(o.max.x, p.x), std::max(o.max.y, p.y), std::max(o.max.z, p.z)};
        } else if (kind == "f" && !objects.empty()) {
            int index = 0;
            while (words >> index) EXPECT_TRUE(index >= 1 && index <= total) << line;
            ++objects.back().second.faces;
        } else if (kind == "l" && !objects.empty()) {
            std::vector<int> indices;
            int index = 0;
            while (words >> index) indices.push_back(index);
            objects.back().second.lines.push_back(indices);
        }
    }
    return objects;
}

std::map<std::string, std::string> ParseMtlKd(const std::string& path)
{
    std::map<std::string, std::string> kd;
    std::ifstream in(path);
    std::string line, current;
    while (std::getline(in, line)) {
        if (line.rfind("newmtl ", 0) == 0) current = line.substr(7);
        if (line.rfind("Kd ", 0) == 0) kd[current] = line.substr(3);
    }
    return kd;
}

}  // namespace

TEST_F(ObjExport, TwoExtrusionsBecomeTwoNamedObjectsPlacedByTheirTransforms)
{
    DbAutoOpen open(1);
    auto* red = new dexMaterialSolidColor();
    red->SetName("屋面板");
    red->SetColor(0x8A55FF);  // red 0xFF, green 0x55, blue 0x8A
    Db().GetTableMaterial()->CreateNewMatObj(red, 0);

    const GePoint3d square[4] = {{0, 0, 0}, {1000, 0, 0}, {1000, 1000, 0}, {0, 1000, 0}};
    auto* first = new decDbExtrude();
    first->SetData(4, square, 1, GeVector3d(0, 0, 3000));
    decObjectId firstId;
    Db().CreateNewEntity(1, first, GeMatrix3d(), firstId, red->GetMatId());
    auto* tag = new decObjectXDataApp("XBUILD_NAME");
    tag->AppendDataString("1号楼");
    firstId.GetObjectA()->OpenForWrite();
    firstId.GetObjectA()->AppendAppXData(tag);
    firstId.GetObjectA()->Close();

    const GePoint3d triangle[3] = {{0, 0, 0}, {500, 0, 0}, {0, 500, 0}};
    auto* second = new decDbExtrude();
    second->SetData(3, triangle, 1, GeVector3d(0, 0, 100));
    GeMatrix3d moved;
    moved.SetToTranslation(GeVector3d(5000, 0, 200));
    decObjectId secondId;
    Db().CreateNewEntity(1, second, moved, secondId, 0);
    // A 2-D entity is not exported.
    Db().CreateNewEntity(1, new TestLabel("x", GePoint3d()));

    const std::string path = TempPath("model.obj");
    std::string error;
    ASSERT_TRUE(host::ExportObj(Db(), path, error)) << error;
    const auto objects = ParseObj(path);
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(objects[0].first, "decDbExtrude_1_1号楼");
    EXPECT_EQ(objects[1].first, "decDbExtrude_2");
    EXPECT_EQ(objects[0].second.vertices, 8);
    EXPECT_EQ(objects[0].second.faces, 6);
    EXPECT_EQ(objects[1].second.vertices, 6);
    EXPECT_EQ(objects[1].second.faces, 5);
    EXPECT_TRUE(objects[0].second.min == GePoint3d(0, 0, 0));
    EXPECT_TRUE(objects[0].second.max == GePoint3d(1000, 1000, 3000));
    EXPECT_TRUE(objects[1].second.min == GePoint3d(5000, 0, 200));
    EXPECT_TRUE(objects[1].second.max == GePoint3d(5500, 500, 300));
    EXPECT_EQ(objects[0].second.material, "mat1");
    EXPECT_EQ(objects[1].second.material, "layer1");

    const auto kd = ParseMtlKd(TempPath("model.mtl"));
    ASSERT_EQ(kd.count("mat1"), 1u);
    EXPECT_EQ(kd.at("mat1").substr(0, 2), "1 ") << "red comes from the low byte: " << kd.at("mat1");
    std::istringstream rgb(kd.at("mat1"));
    double r = 0, g = 0, b = 0;
    rgb >> r >> g >> b;
    EXPECT_NEAR(g, 0x55 / 255.0, 1e-9);
    EXPECT_NEAR(b, 0x8A / 255.0, 1e-9);
    EXPECT_EQ(kd.count("layer1"), 1u);
}

TEST_F(ObjExport, AnUnwritablePathIsReported)
{
    std::string error;
    EXPECT_FALSE(host::ExportObj(Db(), TempPath("no/dir/model.obj"), error));
    EXPECT_NE(error.find("model."), std::string::npos) << error;
}

TEST_F(ObjExport, CurvesBecomeLineElementsAtTheirOwnHeightsBesideTheMeshes)
{
    DbAutoOpen open(1);
    const GePoint3d square[4] = {{0, 0, 500}, {1000, 0, 500}, {1000, 1000, 500}, {0, 1000, 500}};
    Db().CreateNewEntity(1, new decDbPolyline(4, square, 1));
    Db().CreateNewEntity(1, new decDbPolyline(3, square, 0));
    const GePoint3d box[4] = {{0, 0, 0}, {100, 0, 0}, {100, 100, 0}, {0, 100, 0}};
    auto* block = new decDbExtrude();
    block->SetData(4, box, 1, GeVector3d(0, 0, 100));
    decObjectId blockId;
    Db().CreateNewEntity(1, block, GeMatrix3d(), blockId, 0);
    Db().CreateNewEntity(1, new decDbCircle3d(GePoint3d(5000, 0, -250), GeVector3d::kZAxis, 300));

    const std::string path = TempPath("curves.obj");
    std::string error;
    ASSERT_TRUE(host::ExportObj(Db(), path, error)) << error;
    const auto objects = ParseObj(path);
    ASSERT_EQ(objects.size(), 4u);
    EXPECT_EQ(objects[0].first, "decDbPolyline_1");
    EXPECT_EQ(objects[1].first, "decDbPolyline_2");
    EXPECT_EQ(objects[2].first, "decDbExtrude_3");
    EXPECT_EQ(objects[3].first, "decDbCircle3d_4");

    // The closed square returns to its first vertex; the open run does not.
    EXPECT_EQ(objects[0].second.lines, (std::vector<std::vector<int>>{{1, 2, 3, 4, 1}}));
    EXPECT_EQ(objects[1].second.lines, (std::vector<std::vector<int>>{{5, 6, 7}}));
    EXPECT_EQ(objects[0].second.faces, 0);
    EXPECT_TRUE(objects[0].second.min == GePoint3d(0, 0, 500));
    EXPECT_TRUE(objects[0].second.max == GePoint3d(1000, 1000, 500));
    // The mesh between them is numbered after the curves' vertices and keeps its faces.
    EXPECT_EQ(objects[2].second.faces, 6);
    EXPECT_TRUE(objects[2].second.lines.empty());

    const ObjObject& circle = objects[3].second;
    ASSERT_EQ(circle.lines.size(), 1u);
    EXPECT_GE(circle.vertices, 12);
    EXPECT_EQ(static_cast<int>(circle.lines[0].size()), circle.vertices + 1);
    EXPECT_EQ(circle.lines[0].front(), circle.lines[0].back());
    EXPECT_NEAR(circle.min.x, 4700, 1e-6);
    EXPECT_NEAR(circle.max.x, 5300, 1e-6);
    EXPECT_DOUBLE_EQ(circle.min.z, -250);
    EXPECT_DOUBLE_EQ(circle.max.z, -250);
    // Curves without a material take their layer's colour.
    EXPECT_EQ(circle.material, "layer1");
}
