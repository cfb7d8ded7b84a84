#include "ModuleSeed.h"

#include "DbDatabase.h"
#include "DimBuildElevation.h"
#include "Dormer.h"
#include "DrawingFile.h"
#include "ExtrudeBuild.h"
#include "HostSolids.h"
#include "OrvRoof.h"
#include "OrvScaleText.h"
#include "QuickBuilding.h"
#include "QuickWindow.h"
#include "Window.h"
#include "decDbCurve.h"

namespace fuzz {

namespace {

const GePoint3dArray kOutline = {{0, 0, 0}, {12000, 0, 0}, {12000, 9000, 0}, {0, 9000, 0}};

void Tag(DbDatabase& db, const decObjectId& id, const char* app, const char* text)
{
    auto* data = new decObjectXDataApp(app);
    data->AppendDataString(text);
    decObject* object = db.GetObjectById(id);
    object->OpenForWrite();
    object->AppendAppXData(data);
    object->Close();
}

}  // namespace

void AddEveryModuleClass(DbDatabase& db)
{
    db.OpenForWrite();
    const long layer = db.GetTableLayer()->CreateNewLayer("建筑", 0x00FF00)->GetID();
    db.SetGlobalVar("DRAWING_SCALE", 500);
    decObjectId id;

    auto* building = new CExtrudeBuild();
    GeMatrix3d frame;
    building->Set("1号楼", 24000, kOutline, frame);
    db.CreateNewEntity(layer, building, frame, id, 0);
    Tag(db, id, "build_group", "甲组");

    auto* window = new CWindow();
    window->SetSize(1500, 1800);
    window->SetBuild("1号楼");
    window->SetFloor(2);
    window->SetIndex(3);
    window->SetDoor("201");
    window->SetRoom(2);
    GeMatrix3d sill;
    sill.SetCoordSystem(GePoint3d(6000, 0, 3000), GeVector3d(-1, 0, 0), GeVector3d(0, -1, 0), GeVector3d::kZAxis);
    db.CreateNewEntity(layer, window, sill, id, 0);

    auto* text = new COrvScaleText();
    text->Set(TEXT_UTILITY::BUILD_DIM, "1号楼", GePoint3d(6000, 4500, 0), GeVector3d::kXAxis, GeVector3d::kZAxis, 5.0,
              0.0, 18, 500.0, "");
    db.CreateNewEntity(layer, text, id);

    auto* label = new CDimBuildElevation();
    label->Set(24000, 1500, GePoint3d(6000, 4500, 0));
    db.CreateNewEntity(layer, label, id);

    auto* flat = new COrvRoof();
    flat->SetData(kOutline, COrvRoof::kFlat, 300, {}, 120, 600, 300, 200, 100);
    db.CreateNewEntity(layer, flat, GeMatrix3d(), id, 0);
    auto* sloped = new COrvRoof();
    sloped->SetData(kOutline, COrvRoof::kSloped, 0, {30, 30, 45, 45}, 0, 0, 0, 0, 0);
    db.CreateNewEntity(layer, sloped, GeMatrix3d(), id, 0);

    auto* dormer = new CDormer();
    dormer->SetData(2000, 1000, 800, 200, 300, 0.5);
    GeMatrix3d onRoof;
    onRoof.SetCoordSystem(GePoint3d(3000, 2000, 24000), GeVector3d::kXAxis, GeVector3d::kYAxis, GeVector3d::kZAxis);
    db.CreateNewEntity(layer, dormer, onRoof, id, 0);

    // A legacy building of versions below 4.0 listing its legacy window.
    auto* legacyWindow = new CQuickWindow();
    legacyWindow->Set("C3-2-5", 1500, 1800);
    legacyWindow->SetHouseholdNo(12);
    db.CreateNewEntity(layer, legacyWindow, sill, id, 0);
    auto* legacyBuilding = new CQuickBuilding();
    legacyBuilding->Set(3, kOutline, 2, 300, {3000, 3000}, "无");
    legacyBuilding->AddWindows({id});
    db.CreateNewEntity(layer, legacyBuilding, GeMatrix3d(), id, 0);

    // A tagged solid and a bulged outline, as the module's readers meet them.
    auto* solid = new decDbExtrude();
    solid->SetData(4, kOutline.data(), 1, GeVector3d(0, 0, 9000));
    db.CreateNewEntity(layer, solid, GeMatrix3d(), id, 0);
    Tag(db, id, "XBUILD_NAME", "2号楼");
    auto* line = new decDbPolyline(4, kOutline.data(), 1);
    line->SetBulgeAt(0, 0.5);
    db.CreateNewEntity(layer, line, id);
    db.Close();
}

std::vector<std::uint8_t> ModuleSeedDrawing()
{
    DbDatabase db;
    AddEveryModuleClass(db);
    return host::EncodeDrawing(db);
}

}  // namespace fuzz
