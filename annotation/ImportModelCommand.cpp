#include <climits>
#include <cmath>
#include <set>

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

// A building on its base elevation, with its group and its owned window.
bool CreateBuilding(DbDatabase* db, const CImportBuildInfo& record, std::vector<GePoint3d> outline, int height,
                    long layer, long material)
{
    for (GePoint3d& p : outline)
        p.z += record.m_dblElevation;
    auto* building = new CExtrudeBuild();
    GeMatrix3d tm;
    building->Set(record.m_strName, height, outline, tm);
    decObjectId id;
    if (building->GetBasePtsNum() < 3 || db->CreateNewEntity(layer, building, tm, id, material) != dex::eOk) {
        delete building;
        return false;
    }
    if (!record.m_strGroup.IsEmpty())
        BuildGroup::SetGroupName(id, record.m_strGroup);
    if (record.m_nWinIndex > 0) {
        WinBelongBuild::AttachWindowIds(db->GetObjectById(id),
                                        {WinBelongBuild::WindowId(record.m_strName, record.m_nWinFloor, record.m_nWinIndex)});
    }
    return true;
}

bool CreateImportBuild(DbDatabase* db, const CImportBuildInfo& record, long layer, long material)
{
    const double factor = g_importInMetres ? 1000.0 : 1.0;
    std::vector<GePoint3d> outline = record.m_ptsOutline;
    for (GePoint3d& p : outline)
        p = GePoint3d(p.x * factor, p.y * factor, p.z * factor);
    const double height = record.m_dblHeight * factor;
    int heightMm = 0;
    if (!InRange(height) || !InRange(record.m_dblElevation) || !ToMillimetres(height, heightMm) || heightMm <= 0)
        return false;
    for (const GePoint3d& p : outline)
        if (!InRange(p) || !InRange(p.z + record.m_dblElevation))
            return false;
    if (record.m_vecNormal != GeVector3d::kZAxis)
        return CreateSweptBody(db, record, outline, height, layer, material);
    return CreateBuilding(db, record, std::move(outline), heightMm, layer, material);
}

bool CreateImportWindow(DbDatabase* db, const CImportWindowInfo& record, const WindowLook& look)
{
    const double width = std::fabs(record.m_dblWidth);
    const double factor = width + 0.5 < kMetreWidthLimit ? 1000.0 : 1.0;
    int widthMm = 0, heightMm = 0;
    if (!ToMillimetres(width * factor, widthMm) || !ToMillimetres(record.m_dblHeight * factor, heightMm))
        return false;
    GeVector3d xAxis(-1, 0, 0);
    xAxis.RotateBy(record.m_dblAngle, GeVector3d::kZAxis);
    const GePoint3d pos(record.m_ptPos.x * factor, record.m_ptPos.y * factor, record.m_ptPos.z * factor);
    const GePoint3d origin = pos - xAxis * (record.m_dblWidth * factor / 2.0);
    GeMatrix3d frame;
    if (!InRange(origin) || !MakeWindowFrame(origin, xAxis, frame))
        return false;
    auto* window = new CWindow();
    window->SetBuild(record.m_strBuild);
    window->SetIndex(record.m_nIndex);
    window->SetDoor(record.m_strDoor);
    window->SetFloor(record.m_nFloor);
    window->SetSize(widthMm, heightMm);
    window->SetHorDimHeight(look.horDimHeight);
    window->SetVerDimHeight(look.verDimHeight);
    window->SetScale(look.scale);
    decObjectId id;
    if (db->CreateNewEntity(look.layerId, window, frame, id, look.materialId) != dex::eOk) {
        delete window;
        return false;
    }
    return true;
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
        if (CreateImportWindow(db, record, look)) {
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
