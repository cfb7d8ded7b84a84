#include "WindowCreation.h"

#include "CheckedNumbers.h"
#include "DbDatabase.h"
#include "ModelHelperLayersMaterials.h"
#include "TextSettings.h"
#include "Window.h"

namespace {

constexpr const char* kWindowLayer = "窗";
constexpr unsigned long kWindowLayerColour = 0xff3200;
constexpr const char* kWindowMaterial = "蓝色窗";
constexpr unsigned long kWindowMaterialColour = 0xffff80;
constexpr double kWindowTransparency = 0.5;
// Axes shorter than this give no direction.
constexpr double kAxisTol = 0.001;

}  // namespace

WindowLook PrepareWindowLook(DbDatabase* db)
{
    return PrepareWindowLook(db, CreateLayer(db, kWindowLayer, kWindowLayerColour, 0, 1));
}

WindowLook PrepareWindowLook(DbDatabase* db, long layerId)
{
    WindowLook look;
    look.layerId = layerId;
    look.horDimHeight = GetTextHeight(TEXT_UTILITY::WIN_H_DIM);
    look.verDimHeight = GetTextHeight(TEXT_UTILITY::WIN_V_DIM);
    look.scale = GetScale();
    CString material(kWindowMaterial);
    look.materialId = CreateSolidColorMaterial(db, material, kWindowMaterialColour, kWindowTransparency);
    return look;
}

long FindOrMakeWindowLayer(DbDatabase* db)
{
    return FindOrCreateLayer(db, kWindowLayer, kWindowLayerColour);
}

bool MakeWindowFrame(const GePoint3d& origin, GeVector3d xAxis, GeMatrix3d& frame)
{
    xAxis.z = 0.0;
    if (!IsFinite(origin) || !IsFinite(xAxis) || xAxis.Length() < kAxisTol)
        return false;
    xAxis.Normalize(kAxisTol);
    const GeVector3d zAxis = GeVector3d::kZAxis;
    GeVector3d yAxis = zAxis.CrossProduct(xAxis);
    yAxis.Normalize(kAxisTol);
    frame.SetCoordSystem(origin, xAxis, yAxis, zAxis);
    return true;
}

std::optional<WinBelongBuild::Clash> JoiningClash(std::span<const NewWindow> windows,
                                                  const std::vector<std::vector<CString>>& written)
{
    std::vector<WinBelongBuild::WindowLabel> labels;
    labels.reserve(windows.size());
    for (const NewWindow& window : windows)
        labels.push_back({window.numbers.building, window.numbers.floor, window.numbers.position});
    return WinBelongBuild::OwnershipRecords::Joining(labels, written);
}

int CreateNumberedWindow(DbDatabase* db, const WindowLook& look, const NewWindow& made)
{
    const WindowNumbers& numbers = made.numbers;
    auto* window = new CWindow();
    window->SetBuild(numbers.building);
    window->SetIndex(numbers.position);
    CString household;
    if (numbers.household)
        household = *numbers.household;
    else
        household.Format("%d", numbers.position);
    window->SetDoor(household);
    window->SetFloor(numbers.floor);
    window->SetSize(numbers.width, numbers.height);
    window->SetHorDimHeight(look.horDimHeight);
    window->SetVerDimHeight(look.verDimHeight);
    window->SetScale(look.scale);
    decObjectId id;
    if (db->CreateNewEntity(look.layerId, window, made.frame, id, look.materialId) != dex::eOk) {
        delete window;
        return 0;
    }
    return 1;
}

int CreateNumberedWindows(DbDatabase* db, const WindowLook& look, std::span<const NewWindow> windows)
{
    int created = 0;
    for (const NewWindow& window : windows)
        created += CreateNumberedWindow(db, look, window);
    return created;
}
