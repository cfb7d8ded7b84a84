// A tiny module for the host's tests: loaded by quenra3d like the real one, it registers
// commands that ask every kind of question the host offers and print what came back.
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "CommandLine.h"
#include "DbDatabase.h"
#include "Selection.h"
#include "TestBlock.h"
#include "WinApp.h"
#include "WorkingDrawing.h"
#include "decDbCurve.h"
#include "CommandTable.h"
#include "DragCallback.h"
#include "Input.h"
#include "MainFrame.h"
#include "MsgBox.h"
#include "PluginEntry.h"
#include "Question.h"
#include "View.h"

namespace {

// Set by a global initialiser (which also registers the module's class), so the entry point
// can tell that initialisers ran first.
const bool g_initialised = [] {
    decObject::RegisterClassA(CTestBlock::Desc());
    return true;
}();

void Say(const std::string& text)
{
    dec::PrintPrompt(text.c_str());
}

std::string Pt(const GePoint3d& p)
{
    return host::FormatPoint(p);
}

void CMD_TPOINT()
{
    Say("第一点:");
    GePoint3d first;
    const int code = dec::GetPoint(nullptr, &first, 0xe1e1, 0, 0);
    Say("GetPoint " + std::to_string(code) + (code == dex::eOk ? " " + Pt(first) : ""));
    if (code != dex::eOk) return;
    Say("第二点:");
    GePoint3d second;
    const int code2 = dec::GetPoint(&first, &second, 0xe1e1, 0, 0);
    Say("GetPoint " + std::to_string(code2) + (code2 == dex::eOk ? " " + Pt(second) : ""));
}

void CMD_TREAL()
{
    double value = -1.0;
    const int code = dec::GetReal("数值<2.5>:", &value, 2.5, 2);
    Say("GetReal " + std::to_string(code) + " " + host::FormatNumber(value));
}

void CMD_TSTRING()
{
    CString text = "默认";
    const int code = dec::GetString("名称:", text, 1);
    Say("GetString " + std::to_string(code) + " [" + text.str() + "]");
}

void CMD_TDIST()
{
    double value = -1.0;
    const int code = dec::GetDistance("距离:", &value, 100.0, 0);
    Say("GetDistance " + std::to_string(code) + " " + host::FormatNumber(value));
}

void CMD_TANGLE()
{
    double value = -1.0;
    const int code = dec::GetAngle("角度:", &value, 30.0, 0);
    Say("GetAngle " + std::to_string(code) + " " + host::FormatNumber(value));
}

// Snaps the cursor to a 100 mm grid and draws a line from the origin to it.
class drag_cb_grid : public decDragCallback {
public:
    int updates = 0;

    int OnPointFilter(decView*, GePoint3d& pt) override
    {
        const GePoint3d snapped(std::round(pt.x / 100.0) * 100.0, std::round(pt.y / 100.0) * 100.0, pt.z);
        const bool moved = snapped.x != pt.x || snapped.y != pt.y;
        pt = snapped;
        return moved ? 1 : 0;
    }
    void OnDragDraw(decView* view, const GePoint3d& pt) override
    {
        ++updates;
        view->SetColor(0xFF, 0);
        view->MoveTo(GePoint3d());
        view->LineTo(pt);
        ShowTip("距离%.1fmm", pt.DistanceTo(GePoint3d()));
    }
};

void ReportDrag(int code, const GePoint3d& point, const drag_cb_grid& callback)
{
    Say("GetDragPoint " + std::to_string(code) + " point=" + Pt(point) + " text=[" + callback.GetUserString() +
        "] updates=" + std::to_string(callback.updates) + " tip=[" + callback.GetTip() + "]");
}

// A height question as buildings ask it: keywords, typed values allowed.
void CMD_TDRAG()
{
    drag_cb_grid callback;
    callback.SetKeywords("建筑高度(&H)/楼层表(&T)");
    callback.SetUserInputFlags(0x101);
    Say("建筑高度（米）或 [楼层表(T)]<3.00>：");
    GePoint3d point(-1.0, -1.0, 0.0);
    ReportDrag(dec::GetDragPoint(&callback, &point, 1), point, callback);
}

// A point question that takes no typed text, with a default keyword for Enter.
void CMD_TDRAGDEF()
{
    drag_cb_grid callback;
    callback.SetKeywords("位置(&D)/设置(&S)", 2);
    Say("点取标注位置或[设置(S)]<设置>:");
    GePoint3d point;
    ReportDrag(dec::GetDragPoint(&callback, &point, 1), point, callback);
}

void CMD_TMSG()
{
    const int answer = MessageBoxA(dec::GetMainFrameHWnd(), "继续吗？", "测试", 0x2034);
    Say("MessageBoxA " + std::to_string(answer));
    AfxMessageBox("完成");
    msg_box("表达式失败< n > 0 >\n文件：TestModule\n行：1");
}

void CMD_TVIEW()
{
    decView* view = dec::GetActiveView();
    view->SetViewState(1);
    Say("state " + std::to_string(view->GetViewState()));
    dec::RunCommand("view_top", 0);
    int x = 0;
    int y = 0;
    view->WorldToWindow(GePoint3d(100.0, 200.0, 0.0), x, y);
    Say("state " + std::to_string(view->GetViewState()) + " window " + std::to_string(x) + "," + std::to_string(y) +
        " edge " + std::to_string(view->IsEdgeMode()));
    const GePoint3d outline[] = {{0, 0, 0}, {1000, 0, 0}, {1000, 1000, 0}, {0, 0, 0}};
    view->ClearHighlights();
    view->DrawPolyline(outline, 4, 0xFFFF, 5);
    view->MarkPoints(outline, 1, 20, 0xFF00);
    view->Refresh();
}

// Takes host curves only, and says so for everything else.
class FT_CURVE : public decSSGet_filter {
public:
    int Accept(decDbEntity* entity, int& accept) override
    {
        accept = entity && entity->IsKindOf(decDbCurve::Desc()) ? 1 : 0;
        return accept;
    }
};

// Takes 3-D entities only.
class FT_SOLID : public decSSGet_filter {
public:
    int Accept(decDbEntity* entity, int& accept) override
    {
        accept = entity && entity->Is3DEntity() ? 1 : 0;
        return accept;
    }
};

std::string Handles(const decSelectSet& set)
{
    std::string out;
    for (int i = 0; i < set.GetCount(); ++i) out += " #" + std::to_string(set.GetAt(i).Handle());
    return out;
}

void CMD_TSELECT()
{
    decSelectSet set;
    FT_CURVE filter;
    const int code = dec::decSSGet("选择曲线:", set, &filter, 1, nullptr);
    Say("decSSGet " + std::to_string(code) + " count=" + std::to_string(set.GetCount()) + Handles(set));
}

void CMD_TSELECTKW()
{
    decSelectSet set;
    const int code = dec::decSSGet("选择对象或[全部(A)]:", set, nullptr, 1, "全部(&A)");
    Say("decSSGet " + std::to_string(code) + " count=" + std::to_string(set.GetCount()) + Handles(set));
}

void CMD_TPICK()
{
    decObjectId id;
    GePoint3d point;
    FT_SOLID filter;
    DbDatabase* db = dec::GetWorkingDatabase();
    db->ClearSelectSet(1);
    const int code = db->decPickSingleEntity(id, point, "请选择建筑物[或点取内部一点(A)]<点取内部点>:",
                                             "内部一点(&A)/建筑(&B)", &filter, "结束");
    Say("decPickSingleEntity " + std::to_string(code) +
        (code == dex::eOk ? " #" + std::to_string(id.Handle()) + " at " + Pt(point) : ""));
}

void CMD_TSUB()
{
    decSelectSet set;
    Say("选择屋顶坡面:");
    const int code = dec::GetWorkingDatabase()->decPickSubObjects(16, set, nullptr, nullptr);
    std::string picked;
    for (int i = 0; i < set.GetCount(); ++i) {
        BitArray faces;
        decDbEntity* entity = set.GetEnt(i);
        if (!entity || entity->GetSubObjectSelectSet(faces) != 1) continue;
        picked += " #" + std::to_string(set.GetAt(i).Handle()) + ":";
        for (int f = 0; f < 64; ++f)
            if (faces.IsSet(f)) picked += std::to_string(f) + ";";
    }
    dec::GetWorkingDatabase()->ClearSubSelectSet();
    Say("decPickSubObjects " + std::to_string(code) + picked);
}

// Marks the named entities as selected and waits for one click, as audits show what they found.
void CMD_THIGHLIGHT()
{
    decSelectSet set;
    if (dec::decSSGet("选择对象:", set, nullptr, 1, nullptr) != dex::eOk) return;
    DbDatabase* db = dec::GetWorkingDatabase();
    db->ClearSelectSet(1);
    for (int i = 0; i < set.GetCount(); ++i)
        if (decDbEntity* entity = set.GetEnt(i)) entity->SetSelected(1);
    db->RebuildSysSelectSet(0);
    GePoint3d point;
    dec::GetPoint(nullptr, &point, 0xFFFFFF, 0, 0);
    db->ClearSelectSet(1);
}

// A block with a name tag, on the current layer.
void CMD_TBLOCK()
{
    DbAutoOpen open;
    decObjectId id;
    if (open.db->CreateNewEntity(open.db->GetTableLayer()->GetCurrentLayerID(), new CTestBlock, GeMatrix3d(), id) !=
        dex::eOk)
        return;
    decObject* entity = id.OpenForWrite();
    if (!entity) return;
    auto* tag = new decObjectXDataApp("XBUILD_NAME");
    tag->AppendDataString("1号楼");
    tag->AppendDataLong(7);
    entity->AppendAppXData(tag);
    entity->Close();
    Say("block #" + std::to_string(id.Handle()));
}

}  // namespace

DEC_EXPORT_ENTRY_POINT;

extern "C" void decEntryPoint(int msg, int)
{
    if (msg != 0) return;
    // Lets a test see how the host takes an entry point that fails.
    if (std::getenv("QUENRA3D_TEST_ENTRY_FAILS")) throw std::runtime_error("the test module refuses to start");
    const struct {
        const char* name;
        const char* display;
        void (*handler)();
    } commands[] = {
        {"tpoint", "测试点", CMD_TPOINT},        {"treal", "测试数值", CMD_TREAL},
        {"tstring", "测试文字", CMD_TSTRING},    {"tdist", "测试距离", CMD_TDIST},
        {"tangle", "测试角度", CMD_TANGLE},      {"tdrag", "测试拖动", CMD_TDRAG},
        {"tdragdef", "测试默认关键字", CMD_TDRAGDEF}, {"tmsg", "测试消息框", CMD_TMSG},
        {"tview", "测试视图", CMD_TVIEW},        {"tselect", "测试选择", CMD_TSELECT},
        {"tselectkw", "测试选择关键字", CMD_TSELECTKW}, {"tpick", "测试点选", CMD_TPICK},
        {"tsub", "测试选面", CMD_TSUB},          {"thighlight", "测试高亮", CMD_THIGHLIGHT},
        {"tblock", "测试块", CMD_TBLOCK},
    };
    for (const auto& c : commands) dec::RegisterCommand("test", c.name, c.display, 1, c.handler);
    Say(g_initialised ? "测试模块已加载" : "测试模块：全局初始化没有运行");
}
