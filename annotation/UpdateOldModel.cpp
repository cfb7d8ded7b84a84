#include "UpdateOldModel.h"

#include <climits>
#include <map>
#include <optional>
#include <vector>

#include "BuildingsInPlan.h"
#include "CommandLine.h"
#include "DbDatabase.h"
#include "ExtrudeBuild.h"
#include "MainFrame.h"
#include "ModelHelperLayersMaterials.h"
#include "ModelHelperWindows.h"
#include "OrvCommandHandlers.h"
#include "OwnershipRecords.h"
#include "QuickBuilding.h"
#include "QuickWindow.h"
#include "TextSettings.h"
#include "TypedNumbers.h"
#include "Window.h"
#include "WorkingDrawing.h"

namespace {

constexpr unsigned kWarningBox = 0x30;
// An upgrade that would leave an ownership record naming only some of the windows bearing one
// identifier is refused; what to do instead.
constexpr const char* kUpgradeWindowAdvice = "请先给图形上已有的同号窗口改用不同的编号，再升级窗口。";
constexpr const char* kUpgradeBuildingAdvice = "请先给同号的窗口改用不同的编号，再升级建筑。";

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

// Hands the new object to the drawing; a creation the host refuses discards the new object
// and gives a null identifier.
template <class Builder>
decObjectId Create(DbDatabase* db, long layer, Builder* replacement, const GeMatrix3d& tm, long material)
{
    decObjectId created;
    if (db->CreateNewEntity(layer, replacement, tm, created, material) != dex::eOk) {
        delete replacement;
        return decObjectId();
    }
    return created;
}

void Erase(decDbEntity* entity)
{
    entity->OpenForWrite();
    entity->Erase();
    entity->Close();
}

// The label settings every converted window gets, read once per run.
struct WindowLabels {
    double horHeight = 0.0;
    double verHeight = 0.0;
    double scale = 0.0;
};

// The name of the building an upgraded window belongs to, the name that building bears after
// its own upgrade: while the legacy building of the window's number is in the drawing, its
// name (its number when it has none); once it is upgraded (or gone), the building the window
// stands on, found as the window commands find it; failing both, the number.
class UpgradedOwners {
public:
    UpgradedOwners()
    {
        EntityArray legacy;
        GetAllOldBuilding(legacy);
        for (decDbEntity* entity : legacy)
            if (CQuickBuilding* building = CQuickBuilding::Cast(entity->GetBaseObject()))
                m_legacyNames.try_emplace(building->GetNumber(), building->GetName());
        m_buildings.Collect();
    }
    CString NameOf(int number, const GePoint3d& at) const
    {
        if (const auto found = m_legacyNames.find(number); found != m_legacyNames.end())
            return found->second;
        const CString under = m_buildings.NameAt(GePoint2d(at.x, at.y));
        return under.IsEmpty() ? NumberText(number) : under;
    }

private:
    std::map<int, CString> m_legacyNames;
    BuildingsInPlan m_buildings;
};

// What an upgraded window is numbered: the name of its building, floor and position.
WinBelongBuild::WindowLabel LabelFrom(const CQuickWindow& legacy, const CString& building)
{
    return {building, legacy.GetNumberPart2(), legacy.GetNumberPart3()};
}

CWindow* NewWindowFrom(const CQuickWindow& legacy, const CString& building, const WindowLabels& labels)
{
    const int position = legacy.GetNumberPart3();
    const int floor = legacy.GetNumberPart2();
    const int household = legacy.GetHouseholdNo();
    auto* window = new CWindow();
    window->SetBuild(building);
    window->SetIndex(position);
    window->SetDoor(NumberText(household > 0 ? household : position));
    window->SetFloor(floor);
    window->SetSize(legacy.GetLength(), legacy.GetHeight());
    window->SetHorDimHeight(labels.horHeight);
    window->SetVerDimHeight(labels.verHeight);
    window->SetScale(labels.scale);
    return window;
}

// A legacy window to upgrade: its entity, its frame and the building its window belongs to.
struct LegacyWindow {
    decDbEntity3d* entity = nullptr;
    const CQuickWindow* window = nullptr;
    GeMatrix3d tm;
    CString building;
};

std::optional<LegacyWindow> ReadLegacyWindow(decDbEntity* entity, const UpgradedOwners& owners)
{
    auto* solid = decDbEntity3d::Cast(entity);
    const CQuickWindow* legacy = solid ? CQuickWindow::Cast(solid->GetBaseObject()) : nullptr;
    if (!legacy)
        return std::nullopt;
    solid->OpenForRead();
    const GeMatrix3d legacyTm = solid->GetTM();
    solid->Close();
    GePoint3d origin;
    GeVector3d x, y, z;
    legacyTm.GetCoordSystem(origin, x, y, z);
    GeMatrix3d tm;
    tm.SetCoordSystem(origin, x, y, z);
    return LegacyWindow{solid, legacy, tm, owners.NameOf(legacy->GetNumberPart1(), origin)};
}

// Replaces the legacy window by a new one; a creation the host refuses leaves the legacy one.
void UpgradeWindow(DbDatabase* db, const LegacyWindow& legacy, long layer, const WindowLabels& labels)
{
    CWindow* window = NewWindowFrom(*legacy.window, legacy.building, labels);
    if (!Create(db, layer, window, legacy.tm, 0).IsNull())
        Erase(legacy.entity);
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

// A legacy building and the building made to replace it.
struct Replacement {
    decDbEntity* legacy;
    decObjectId made;
};

// Makes the building that replaces one legacy building, which stays until the replacement is
// kept; false when nothing was made. The number of a converted building with a name of its own
// goes to renamed with that name.
bool UpgradeBuilding(DbDatabase* db, decDbEntity* entity, long layer, long material,
                     std::map<CString, CString>& renamed, std::vector<Replacement>& made)
{
    if (!entity->Is3DEntity())
        return false;
    CQuickBuilding* legacy = CQuickBuilding::Cast(entity->GetBaseObject());
    if (!legacy)
        return false;
    // Each building starts from its own frame and outline.
    GePoint3dArray base;
    int height = 0;
    if (!ReadLegacyBuilding(entity, *legacy, base, height))
        return false;
    const CString name = legacy->GetName();
    const CString number = NumberText(legacy->GetNumber());
    GeMatrix3d tm;
    auto* building = new CExtrudeBuild();
    building->OpenForWrite();
    building->Set(name, height, base, tm);
    building->Close();
    // An outline that cleans up to fewer than three corners leaves the building unset.
    if (building->GetBasePtsNum() < 3) {
        delete building;
        return false;
    }
    const decObjectId created = Create(db, layer, building, tm, material);
    if (created.IsNull())
        return false;
    made.push_back({entity, created});
    if (name != number)
        renamed.try_emplace(number, name);
    return true;
}

// Windows upgraded once their legacy building was gone, or by a version that named every
// window by its building's number, bear that number: they take the name the building has
// now. A window standing on another building of that very name keeps it.
WinBelongBuild::Relabelling UpgradedWindowNames(const std::map<CString, CString>& renamed)
{
    WinBelongBuild::Relabelling relabelling;
    if (renamed.empty())
        return relabelling;
    BuildingsInPlan buildings;
    buildings.Collect();
    EntityArray windows;
    GetAllWindow(windows);
    for (decDbEntity* entity : windows) {
        CWindow* window = CWindow::Cast(entity->GetBaseObject());
        auto* solid = decDbEntity3d::Cast(entity);
        if (!window || !solid)
            continue;
        const auto found = renamed.find(window->BuildName());
        if (found == renamed.end())
            continue;
        solid->OpenForRead();
        const GePoint3d at = solid->GetTM() * GePoint3d();
        solid->Close();
        const CString under = buildings.NameAt(GePoint2d(at.x, at.y));
        if (!under.IsEmpty() && under != found->second)
            continue;
        WinBelongBuild::WindowLabel label = WinBelongBuild::LabelOf(*window);
        label.name = found->second;
        relabelling.emplace_back(window, label);
    }
    return relabelling;
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
    const UpgradedOwners owners;
    std::vector<LegacyWindow> legacy;
    std::vector<WinBelongBuild::WindowLabel> upgraded;
    for (decDbEntity* entity : windows)
        if (std::optional<LegacyWindow> read = ReadLegacyWindow(entity, owners)) {
            upgraded.push_back(LabelFrom(*read->window, read->building));
            legacy.push_back(*read);
        }
    // A record naming a window of the drawing must not come to name an upgraded one too.
    if (const std::optional<WinBelongBuild::Clash> clash = WinBelongBuild::OwnershipRecords::Joining(upgraded)) {
        dec::PrintPrompt(WinBelongBuild::Refusal(*clash, kUpgradeWindowAdvice));
        db->Close();
        return;
    }
    for (const LegacyWindow& window : legacy)
        UpgradeWindow(db, window, layer, labels);
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
    std::map<CString, CString> renamed;
    std::vector<Replacement> made;
    int kept = 0;
    for (decDbEntity* entity : buildings)
        if (!UpgradeBuilding(db, entity, layer, material, renamed, made))
            ++kept;
    // The windows take their buildings' names with the records naming them, or the upgrade is
    // taken back whole: the legacy buildings stand, their replacements go.
    if (!WinBelongBuild::OwnershipRecords().RelabelWindows(UpgradedWindowNames(renamed), kUpgradeBuildingAdvice)) {
        for (const Replacement& replacement : made)
            Erase(db->GetObjectById(replacement.made));
        db->Close();
        return;
    }
    for (const Replacement& replacement : made)
        Erase(replacement.legacy);
    db->Close();
    if (kept > 0) {
        CString text;
        text.Format("提示：有%d个旧版建筑无法转换，已保留。", kept);
        dec::PrintPrompt(text);
    }
}
