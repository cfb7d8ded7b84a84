// Writes a small drawing with every kind of host record, as a seed for the loader fuzzer.
#include <cstdio>
#include <fstream>

#include "DbDatabase.h"
#include "DrawingFile.h"
#include "HostSolids.h"
#include "WorkingDrawing.h"
#include "decDbCurve.h"
#include "decDbTextAndPoint.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s seed-file\n", argv[0]);
        return 2;
    }
    DbDatabase& db = *dec::GetWorkingDatabase();
    db.OpenForWrite();
    const long layer = db.GetTableLayer()->CreateNewLayer("建筑", 0xFF00)->GetID();
    auto* material = new dexMaterialSolidColor();
    material->SetName("屋面板");
    db.GetTableMaterial()->CreateNewMatObj(material, 0);
    db.SetGlobalVar("DRAWING_SCALE", 500);
    const GePoint3d pts[4] = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}};
    decObjectId a, b;
    auto* line = new decDbPolyline(4, pts, 1);
    line->SetBulgeAt(0, 0.5);
    db.CreateNewEntity(layer, line, a);
    auto* slab = new decDbExtrude();
    slab->SetData(4, pts, 1, GeVector3d(0, 0, 5));
    db.CreateNewEntity(layer, slab, GeMatrix3d(), b, material->GetMatId());
    db.CreateNewEntity(layer, new decDbArc(GePoint3d(), 5, 0, 1));
    db.CreateNewEntity(layer, new decDbCircle3d(GePoint3d(), GeVector3d(0, 0, 1), 3));
    db.CreateNewEntity(layer, new decDbText("字", GePoint3d(), 2));
    decMesh4 soup;
    soup.AppendPolygon(3, pts, 0);
    decObjectId c;
    db.CreateProxyEntity(layer, GeMatrix3d(), soup.ConvertToMesh3(), c, 0);
    auto* tag = new decObjectXDataApp("XBUILD_NAME");
    tag->AppendDataString("1号楼");
    tag->AppendDataLong(3);
    decObject* object = b.GetObjectA();
    object->OpenForWrite();
    object->AppendAppXData(tag);
    object->Close();
    db.MakeGroup(decObjectIdArray{a, c}, 0);
    db.Close();
    const auto bytes = host::EncodeDrawing(db);
    std::ofstream(argv[1], std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                   static_cast<std::streamsize>(bytes.size()));
    return 0;
}
