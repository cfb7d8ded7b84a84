#include <algorithm>
#include <climits>
#include <cmath>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#include "BuildGroup.h"
#include "CommandLine.h"
#include "DbDatabase.h"
#include "ExtrudeBuild.h"
#include "FileDialog.h"
#include "HostSolids.h"
#include "ImportModel.h"
#include "MainFrame.h"
#include "ModelHelperLayersMaterials.h"
#include "ModuleGlobals.h"
#include "MsgBox.h"
#include "NameBuild.h"
#include "OrvCommandHandlers.h"
#include "WinBelongBuild.h"
#include "Window.h"
#include "WindowCreation.h"
#include "WorkingDrawing.h"

int g_importInMetres = 0;

namespace {

constexpr const char* kBuildLayer = "建筑";
constexpr unsigned long kBuildLayerColour = 0x00FF00;
constexpr const char* kBuildMaterial = "建筑";
constexpr unsigned long kBuildMaterialColour = 0xFFFFFF;
constexpr double kGeomTol = 0.001;
// Lengths beyond this (millimetres) are no site's; they would also lose every millimetre.
constexpr double kLengthLimit = 1e12;
// Windows narrower than this many units are taken as metres.
constexpr double kMetreWidthLimit = 50.0;
// What to do instead of an import whose window would slip into an ownership record beside a
// window of the drawing: the file line the window's record starts on.
constexpr const char* kImportClashAdvice =
    "模型数据文件第%d行起的窗与之同号，未导入任何建筑物和窗。请先给图形上已有的同号窗口改用不同的编号，再导入。";

bool InRange(double value)
{
    return std::fabs(value) <= kLengthLimit;
}

bool InRange(const GePoint3d& p)
{
    return InRange(p.x) && InRange(p.y) && InRange(p.z);
}

// A length as whole millimetres, rounded to the nearest; false when it does not fit an int.
bool ToMillimetres(double length, int& out)
{
    const double rounded = std::round(length);
    if (!(rounded >= INT_MIN && rounded <= INT_MAX))
        return false;
    out = static_cast<int>(rounded);
    return true;
}

void ReportRefused(const char* what, int line)
{
    CString text;
    text.Format("提示：模型数据文件第%d行起的%s无法生成，未导入", line, what);
    dec::PrintPrompt(text);
}

void AppendString(decDbEntity* entity, const CString& app, const CString& text)
{
    auto* record = new decObjectXDataApp(app);
    record->AppendDataString(text);
    entity->AppendAppXData(record);
}

// A body swept along a direction other than +Z, tagged with its name and group.
bool CreateSweptBody(DbDatabase* db, const CImportBuildInfo& record, const std::vector<GePoint3d>& outline,
                     double height, long layer, long material)
{
    const GeVector3d sweep = record.m_vecNormal * height;
    if (outline.size() < 3 || !(sweep.Length() >= kGeomTol) || !InRange(sweep.Length()))
        return false;
    auto* body = new decDbExtrude();
    body->SetData(static_cast<int>(outline.size()), outline.data(), 1, sweep);
    decObjectId id;
    if (db->CreateNewEntity(layer, body, GeMatrix3d(), id, material) != dex::eOk) {
        delete body;
        return false;
    }
    if (record.m_strName.IsEmpty() && record.m_strGroup.IsEmpty())
        return true;
    decDbEntity* entity = db->GetObjectById(id);
    if (!entity || !entity->IsKindOf(decDbEntity3d::Desc()))
        return true;
    entity->OpenForWrite();
    if (!record.m_strName.IsEmpty())
        AppendString(entity, g_buildTagAppName, record.m_strName);
    if (!record.m_strGroup.IsEmpty())
        AppendString(entity, g_buildGroupAppName, record.m_strGroup);
    entity->Close();
    return true;
}

// A building record's outline and height in the drawing's units, when they make a sound
// object.
struct ScaledBuild {
    std::vector<GePoint3d> outline;
    double height = 0.0;
    int heightMm = 0;
};

std::optional<ScaledBuild> Scaled(const CImportBuildInfo& record)
{
    const double factor = g_importInMetres ? 1000.0 : 1.0;
    ScaledBuild scaled{record.m_ptsOutline, record.m_dblHeight * factor};
    for (GePoint3d& p : scaled.outline)
        p = GePoint3d(p.x * factor, p.y * factor, p.z * factor);
    if (!InRange(scaled.height) || !InRange(record.m_dblElevation) || !ToMillimetres(scaled.height, scaled.heightMm) ||
        scaled.heightMm <= 0)
        return std::nullopt;
    for (const GePoint3d& p : scaled.outline)
        if (!InRange(p) || !InRange(p.z + record.m_dblElevation))
            return std::nullopt;
    return scaled;
}

bool IsBuilding(const CImportBuildInfo& record)
{
    return record.m_vecNormal == GeVector3d::kZAxis;
}

// The building of a +Z record on its base elevation, set with its frame; none when the outline
// gives no building.
std::unique_ptr<CExtrudeBuild> SetUpBuilding(const CImportBuildInfo& record, ScaledBuild scaled, GeMatrix3d& tm)
{
    for (GePoint3d& p : scaled.outline)
        p.z += record.m_dblElevation;
    auto building = std::make_unique<CExtrudeBuild>();
    building->Set(record.m_strName, scaled.heightMm, scaled.outline, tm);
    if (building->GetBasePtsNum() < 3)
        return nullptr;
    return building;
}

// The identifier of the window a building record owns.
CString OwnedWindowId(const CImportBuildInfo& record)
{
    return WinBelongBuild::WindowId(record.m_strName, record.m_nWinFloor, record.m_nWinIndex);
}

// The ownership record a building record writes, when it makes a building that owns a window.
std::optional<std::vector<CString>> OwnershipWritten(const CImportBuildInfo& record)
{
    if (record.m_nWinIndex <= 0 || !IsBuilding(record))
        return std::nullopt;
    const std::optional<ScaledBuild> scaled = Scaled(record);
    GeMatrix3d tm;
    if (!scaled || !SetUpBuilding(record, *scaled, tm))
        return std::nullopt;
    return std::vector<CString>{OwnedWindowId(record)};
}

// A building on its base elevation, with its group and its owned window.
bool CreateBuilding(DbDatabase* db, const CImportBuildInfo& record, const ScaledBuild& scaled, long layer,
                    long material)
{
    GeMatrix3d tm;
    std::unique_ptr<CExtrudeBuild> building = SetUpBuilding(record, scaled, tm);
    decObjectId id;
    if (!building || db->CreateNewEntity(layer, building.get(), tm, id, material) != dex::eOk)
        return false;
    building.release();
    if (!record.m_strGroup.IsEmpty())
        BuildGroup::SetGroupName(id, record.m_strGroup);
    if (record.m_nWinIndex > 0)
        WinBelongBuild::AttachWindowIds(db->GetObjectById(id), {OwnedWindowId(record)});
    return true;
}

bool CreateImportBuild(DbDatabase* db, const CImportBuildInfo& record, long layer, long material)
{
    const std::optional<ScaledBuild> scaled = Scaled(record);
    if (!scaled)
        return false;
    if (!IsBuilding(record))
        return CreateSweptBody(db, record, scaled->outline, scaled->height, layer, material);
    return CreateBuilding(db, record, *scaled, layer, material);
}

// The window of a record, in millimetres and placed, when it makes a sound one.
std::optional<NewWindow> ReadyImportWindow(const CImportWindowInfo& record)
{
    const double width = std::fabs(record.m_dblWidth);
    const double factor = width + 0.5 < kMetreWidthLimit ? 1000.0 : 1.0;
    NewWindow made{.numbers = {.building = record.m_strBuild,
                               .position = record.m_nIndex,
                               .floor = record.m_nFloor,
                               .household = record.m_strDoor}};
    if (!ToMillimetres(width * factor, made.numbers.width) ||
        !ToMillimetres(record.m_dblHeight * factor, made.numbers.height))
        return std::nullopt;
    GeVector3d xAxis(-1, 0, 0);
    xAxis.RotateBy(record.m_dblAngle, GeVector3d::kZAxis);
    const GePoint3d pos(record.m_ptPos.x * factor, record.m_ptPos.y * factor, record.m_ptPos.z * factor);
    const GePoint3d origin = pos - xAxis * (record.m_dblWidth * factor / 2.0);
    if (!InRange(origin) || !MakeWindowFrame(origin, xAxis, made.frame))
        return std::nullopt;
    return made;
}

// The names the records give buildings and windows, each that holds "-" warned of once.
void WarnOfDashedNames(const std::vector<CImportBuildInfo>& builds, const std::vector<CImportWindowInfo>& windows)
{
    std::set<CString> warned;
    const auto warn = [&warned](const CString& name) {
        if (!warned.contains(name) && NameBuild::WarnOfDash(name))
            warned.insert(name);
    };
    for (const CImportBuildInfo& record : builds)
        warn(record.m_strName);
    for (const CImportWindowInfo& record : windows)
        warn(record.m_strBuild);
}

}  // namespace

std::optional<ImportClash> FindImportClash(const std::vector<CImportBuildInfo>& builds,
                                           const std::vector<CImportWindowInfo>& windows)
{
    std::vector<std::vector<CString>> written;
    for (const CImportBuildInfo& record : builds)
        if (std::optional<std::vector<CString>> ids = OwnershipWritten(record))
            written.push_back(std::move(*ids));
    std::vector<NewWindow> made;
    std::vector<const CImportWindowInfo*> from;
    for (const CImportWindowInfo& record : windows)
        if (std::optional<NewWindow> window = ReadyImportWindow(record)) {
            made.push_back(std::move(*window));
            from.push_back(&record);
        }
    const std::optional<WinBelongBuild::Clash> clash = JoiningClash(made, written);
    if (!clash)
        return std::nullopt;
    const auto bearing = [&clash](const NewWindow& window) {
        const WindowNumbers& n = window.numbers;
        return WinBelongBuild::WindowId(n.building, n.floor, n.position) == clash->id;
    };
    const auto at = std::find_if(made.begin(), made.end(), bearing);
    return ImportClash{*clash, from[static_cast<std::size_t>(at - made.begin())]};
}

ImportCounts CreateImportBuilds(const std::vector<CImportBuildInfo>& builds)
{
    ImportCounts counts;
    if (builds.empty())
        return counts;
    DbDatabase* db = dec::GetWorkingDatabase();
    const long layer = CreateLayer(db, kBuildLayer, kBuildLayerColour, 0, 1);
    CString materialName(kBuildMaterial);
    const long material = CreateSolidColorMaterial(db, materialName, kBuildMaterialColour, 0.0);
    for (const CImportBuildInfo& record : builds) {
        if (CreateImportBuild(db, record, layer, material)) {
            ++counts.created;
        } else {
            ++counts.refused;
            ReportRefused("建筑物", record.m_nLine);
        }
    }
    return counts;
}

ImportCounts CreateImportWindows(const std::vector<CImportWindowInfo>& windows)
{
    ImportCounts counts;
    if (windows.empty())
        return counts;
    DbDatabase* db = dec::GetWorkingDatabase();
    const WindowLook look = PrepareWindowLook(db);
    for (const CImportWindowInfo& record : windows) {
        const std::optional<NewWindow> made = ReadyImportWindow(record);
        if (made && CreateNumberedWindow(db, look, *made)) {
            ++counts.created;
        } else {
            ++counts.refused;
            ReportRefused("窗", record.m_nLine);
        }
    }
    return counts;
}

void CMD_IMPORT_THIRD_PARTY_MODEL()
{
    dec::PrintPrompt("***读取第三方日照模型***");
    dec::PrintPrompt("提示：仅导入第三方日照模型中的建筑物和窗对象，其它对象请使用插入DWG文件方式导入。");
    CFileDialog dialog(TRUE, "*.osm", "", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, "日照模型文件(*.osm)|*.osm|", nullptr,
                       0, TRUE);
    dialog.m_ofn.lpstrTitle = "选择要导入的第三方日照模型文件";
    if (dialog.DoModal() != IDOK)
        return;
    std::vector<CImportBuildInfo> builds;
    std::vector<CImportWindowInfo> windows;
    const ModelFileResult read = ReadModelFile(dialog.GetPathName(), builds, windows);
    if (builds.empty() && windows.empty())
        return;
    const int answer = MessageBoxA(dec::GetMainFrameHWnd(),
                                   "导入的原图形的绘图单位是【毫米】吗？点击否则原图形绘图单位为【米】\r\n\r\n"
                                   "ORVANTIS日照分析软件使用【毫米】为绘图单位",
                                   "确认原图形绘图单位", MB_YESNO | MB_ICONQUESTION | MB_TASKMODAL);
    g_importInMetres = answer != IDYES ? 1 : 0;
    if (const std::optional<ImportClash> clash = FindImportClash(builds, windows)) {
        CString advice;
        advice.Format(kImportClashAdvice, clash->window->m_nLine);
        dec::PrintPrompt(WinBelongBuild::Refusal(clash->clash, advice));
        return;
    }
    dec::PrintPrompt("开始生成日照模型...");
    WarnOfDashedNames(builds, windows);
    DbDatabase* db = dec::GetWorkingDatabase();
    db->OpenForWrite();
    const ImportCounts buildCounts = CreateImportBuilds(builds);
    const ImportCounts windowCounts = CreateImportWindows(windows);
    db->Close();
    CString text;
    text.Format("提示：共导入%d个建筑物和%d个窗", buildCounts.created, windowCounts.created);
    dec::PrintPrompt(text);
    const int refusedBuilds = read.droppedBuilds + buildCounts.refused;
    const int refusedWindows = read.droppedWindows + windowCounts.refused;
    if (refusedBuilds > 0 || refusedWindows > 0) {
        text.Format("提示：另有%d个建筑物和%d个窗的数据有误，未导入", refusedBuilds, refusedWindows);
        dec::PrintPrompt(text);
    }
}
