#include "UpdateOldModel.h"

#include <climits>

#include "CommandLine.h"
#include "DbDatabase.h"
#include "ExtrudeBuild.h"
#include "MainFrame.h"
#include "ModelHelperLayersMaterials.h"
#include "OrvCommandHandlers.h"
#include "QuickBuilding.h"
#include "QuickWindow.h"
#include "TextSettings.h"
#include "TypedNumbers.h"
#include "Window.h"
#include "WorkingDrawing.h"

namespace {

constexpr unsigned kWarningBox = 0x30;

constexpr const char* kWindowLayer = "窗";
constexpr unsigned long kWindowColour = 0xFF3200;
constexpr const char* kBuildingLayer = "建筑";
constexpr unsigned long kBuildingColour = 0x00FF00;
constexpr const char* kBuildingMaterial = "建筑";
constexpr unsigned long kBuildingMaterialColour = 0xFFFFFF;

// The entities of the working drawing whose base object the test takes, in table order.
template <class Test>
int CollectByBase(EntityArray& entities, Test test)
{
    class CB : public EnumDatabaseEntityTableCallback {
    public:
        explicit CB(Test t) : m_test(t) {}
        EntityArray found = EntityArray(0);
        void OnEntity(decDbEntity* entity) override
        {
            if (m_test(entity->GetBaseObject()))
                found.push_back(entity);
        }

    private:
        Test m_test;
    };
    CB callback(test);
    dec::GetWorkingDatabase()->EnumEntityTable(callback, 1);
    entities = callback.found;
    return entities.empty() ? 0 : 1;
}

CString NumberText(int number)
{
    CString text;
    text.Format("%d", number);
    return text;
}

// Hands the new object to the drawing and only then erases the legacy entity; a creation the
// host refuses leaves the legacy one and discards the new object.
template <class Builder>
void Replace(DbDatabase* db, decDbEntity* legacy, long layer, Builder* replacement, const GeMatrix3d& tm,
             long material)
{
    decObjectId created;
    if (db->CreateNewEntity(layer, replacement, tm, created, material) != dex::eOk) {
        delete replacement;
        return;
    }
    legacy->OpenForWrite();
    legacy->Erase();
    legacy->Close();
}

// The label settings every converted window gets, read once per run.
struct WindowLabels {
    double horHeight = 0.0;
    double verHeight = 0.0;
    double scale = 0.0;
};

CWindow* NewWindowFrom(const CQuickWindow& legacy, const WindowLabels& labels)
{
    const int building = legacy.GetNumberPart1();
    const int position = legacy.GetNumberPart3();
    const int floor = legacy.GetNumberPart2();
    const int household = legacy.GetHouseholdNo();
    auto* window = new CWindow();
    window->SetBuild(NumberText(building));
    window->SetIndex(position);
    window->SetDoor(NumberText(household > 0 ? household : position));
    window->SetFloor(floor);
    window->SetSize(legacy.GetLength(), legacy.GetHeight());
    window->SetHorDimHeight(labels.horHeight);
    window->SetVerDimHeight(labels.verHeight);
    window->SetScale(labels.scale);
    return window;
}

void UpgradeWindow(DbDatabase* db, decDbEntity* entity, long layer, const WindowLabels& labels)
{
    auto* solid = decDbEntity3d::Cast(entity);
    if (!solid)
        return;
    solid->OpenForRead();
    const GeMatrix3d legacyTm = solid->GetTM();
    solid->Close();
    GePoint3d origin;
    GeVector3d x, y, z;
    legacyTm.GetCoordSystem(origin, x, y, z);
    const CQuickWindow* legacy = CQuickWindow::Cast(solid->GetBaseObject());
    if (!legacy)
        return;
    CWindow* window = NewWindowFrom(*legacy, labels);
    GeMatrix3d tm;
    tm.SetCoordSystem(origin, x, y, z);
    Replace(db, solid, layer, window, tm, 0);
}

// The building's base in world coordinates (the first n vertices of its mesh, ring 0) and
// its height in whole millimetres; false when it cannot make a building.
bool ReadLegacyBuilding(decDbEntity* entity, CQuickBuilding& legacy, GePoint3dArray& base, int& height)
{
    decMesh3* mesh = nullptr;
    GeMatrix3d meshTm;
    if (!entity->GetMesh(mesh, meshTm) || !mesh)
        return false;
    const int n = legacy.GetOutlineCount();
    if (n < 3 || mesh->GetCountVertex() < n)
        return false;
    const GePoint3d* vertices = mesh->GetVertexArray();
    for (int i = 0; i < n; ++i) {
        GePoint3d p = vertices[i];
        base.push_back(p.TransformBy(meshTm));
    }
    const double millimetres = legacy.GetHeight() * 1000.0 + 0.5;
    // A height that rounds below 1 mm makes no building; one beyond an int cannot be stored.
    if (!(millimetres >= 1.0 && millimetres < static_cast<double>(INT_MAX)))
        return false;
    height = TruncToInt(millimetres);
    return true;
}

void UpgradeBuilding(DbDatabase* db, decDbEntity* entity, long layer, long material)
{
    if (!entity->Is3DEntity())
        return;
    CQuickBuilding* legacy = CQuickBuilding::Cast(entity->GetBaseObject());
    if (!legacy)
        return;
    // Each building starts from its own frame and outline.
    GePoint3dArray base;
    int height = 0;
    if (!ReadLegacyBuilding(entity, *legacy, base, height))
        return;
    const CString name = legacy->GetName();
    GeMatrix3d tm;
    auto* building = new CExtrudeBuild();
    building->OpenForWrite();
    building->Set(name, height, base, tm);
    building->Close();
    // An outline that cleans up to fewer than three corners leaves the building unset.
    if (building->GetBasePtsNum() < 3) {
        delete building;
        return;
    }
    Replace(db, entity, layer, building, tm, material);
}

}  // namespace

bool IsOldWindow(const decObject* base) { return base && base->IsKindOf(CQuickWindow::Desc()); }
bool IsOldBuilding(const decObject* base) { return base && base->IsKindOf(CQuickBuilding::Desc()); }

int GetAllOldWindow(EntityArray& entities) { return CollectByBase(entities, IsOldWindow); }
int GetAllOldBuilding(EntityArray& entities) { return CollectByBase(entities, IsOldBuilding); }

void CMD_UPDATE_OLD_WINDOW()
{
    dec::PrintPrompt("***升级旧模型窗口到新模型***");
    EntityArray windows;
    if (!GetAllOldWindow(windows)) {
        MessageBoxA(dec::GetMainFrameHWnd(), "提示：图形上没有4.0以下旧版本生成的日照窗口！", "无旧版窗口可转换",
                    kWarningBox);
        return;
    }
    DbDatabase* db = dec::GetWorkingDatabase();
    db->OpenForWrite();
    const WindowLabels labels{GetTextHeight(TEXT_UTILITY::WIN_H_DIM), GetTextHeight(TEXT_UTILITY::WIN_V_DIM),
                              GetScale()};
    const long layer = CreateLayer(db, kWindowLayer, kWindowColour, 0, 1);
    for (decDbEntity* entity : windows)
        UpgradeWindow(db, entity, layer, labels);
    db->Close();
    dec::PrintPrompt("提示：关闭【窗编号】图层，可以关掉旧版窗标注显示。");
}

void CMD_UPDATE_OLD_BUILD()
{
    dec::PrintPrompt("***转换旧模型建筑到新模型***");
    EntityArray buildings;
    if (!GetAllOldBuilding(buildings)) {
        MessageBoxA(dec::GetMainFrameHWnd(), "提示：图形上没有4.0以下旧版本生成的日照建筑！", "无旧版建筑可转换",
                    kWarningBox);
        return;
    }
    MessageBoxA(dec::GetMainFrameHWnd(), "提示：旧版本建筑转换后不保留层表和材质等信息，转换不可逆！", "旧版建筑转换",
                kWarningBox);
    DbDatabase* db = dec::GetWorkingDatabase();
    db->OpenForWrite();
    const long layer = CreateLayer(db, kBuildingLayer, kBuildingColour, 0, 1);
    CString materialName(kBuildingMaterial);
    const long material = CreateSolidColorMaterial(db, materialName, kBuildingMaterialColour, 0.0);
    for (decDbEntity* entity : buildings)
        UpgradeBuilding(db, entity, layer, material);
    db->Close();
}
