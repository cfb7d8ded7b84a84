// bldgroup puts selected 3-D objects into a named group or takes them out of every group;
// inqgroup lists the groups, shows the objects without one and, for a picked member, the
// objects that share its group.
#include <algorithm>
#include <string>

#include "BuildGroup.h"
#include "CommandLine.h"
#include "DbDatabase.h"
#include "Input.h"
#include "ModuleGlobals.h"
#include "NameQuestion.h"
#include "OrvCommandHandlers.h"
#include "WinApp.h"
#include "WorkingDrawing.h"

namespace BuildGroup {

namespace {

constexpr const char* kNamePrompt = "请输入建筑分组名称<空回车清除分组>:";
constexpr const char* kGroupPrompt = "选择参与分组的三维对象:";
constexpr const char* kClearPrompt = "选择取消分组的三维对象:";
constexpr const char* kNothingSelected = "提示：未选中三维对象!退出命令!";
constexpr const char* kNoGroups = "提示：图形上还没有定义建筑分组信息！";
constexpr const char* kPickPrompt = "请选择参考三维对象:";
constexpr const char* kPickEnd = "结束";

// Opens the drawing for write for a scope unless the caller holds it open already, and
// closes only what it opened.
class WriteBracket {
public:
    explicit WriteBracket(DbDatabase* db) : m_db(db), m_opened(!db->IsOpenForWrite() && db->OpenForWrite() == dex::eOk) {}
    ~WriteBracket()
    {
        if (m_opened)
            m_db->Close();
    }
    WriteBracket(const WriteBracket&) = delete;
    WriteBracket& operator=(const WriteBracket&) = delete;

private:
    DbDatabase* m_db;
    bool m_opened;
};

// Replaces the group record of every selected 3-D object by one naming the group, or only
// removes it when clearing.
void WriteGroupRecords(const decSelectSet& selection, const CString& name, bool clear)
{
    WriteBracket bracket(dec::GetWorkingDatabase());
    for (int i = 0; i < selection.GetCount(); ++i) {
        decDbEntity* entity = selection.GetEnt(i);
        if (!entity || !entity->IsKindOf(decDbEntity3d::Desc()))
            continue;
        entity->OpenForWrite();
        if (entity->FindAppXDataByName(g_buildGroupAppName))
            entity->RemoveAppXData(g_buildGroupAppName);
        if (!clear) {
            auto* record = new decObjectXDataApp(g_buildGroupAppName);
            record->AppendDataString(name);
            entity->AppendAppXData(record);
        }
        entity->Close();
    }
}

// Marks the entities selected and shows them highlighted until the user answers the pause.
void HighlightAndPause(DbDatabase* db, const EntityArray& entities)
{
    decSelectSet shown;
    for (decDbEntity* entity : entities) {
        shown.Add(entity->GetObjectId());
        entity->SetSelected(1);
    }
    db->RebuildSysSelectSet(0);
    GePoint3d pause;
    dec::GetPoint(nullptr, &pause);
}

// The group list in one line; names are text, never a format.
void PrintGroupNames(const std::vector<CGroupInfo>& groups)
{
    CString count;
    count.Format("提示：共有 %d 个建筑分组，分别为：", static_cast<int>(groups.size()));
    dec::PrintPrompt(count);
    CString line = "建筑分组 ";
    for (const CGroupInfo& group : groups)
        line += "<" + group.name + "> ";
    dec::PrintPrompt(line);
}

void ShowUngrouped(DbDatabase* db, const EntityArray& ungrouped)
{
    CString text;
    text.Format("红色高亮显示的未分组三维对象数量是：%d", ungrouped.GetSize());
    dec::PrintPrompt(text);
    db->ClearSelectSet(1);
    HighlightAndPause(db, ungrouped);
}

// Shows the members of the picked object's group, windows first.
void ShowGroupOf(DbDatabase* db, const std::vector<CGroupInfo>& groups, decDbEntity* picked)
{
    CString name;
    if (!GetGroupName(picked, name))
        return;
    const auto group = std::find(groups.begin(), groups.end(), name);
    if (group == groups.end())
        return;
    EntityArray members = group->windows;
    members.insert(members.end(), group->objects.begin(), group->objects.end());
    dec::PrintPrompt("同属于建筑分组<" + name + ">的对象数目是：" + CString(std::to_string(members.size())));
    dec::PrintPrompt("其中窗数量是：" + CString(std::to_string(group->windows.GetSize())));
    HighlightAndPause(db, members);
}

}  // namespace

int AskGroupName(CString& name, int& clear)
{
    return AskNameOrClear(kNamePrompt, name, clear);
}

void GroupObjects()
{
    DbDatabase* db = dec::GetWorkingDatabase();
    while (true) {
        CString name;
        int clear = 0;
        if (!AskGroupName(name, clear))
            return;
        db->ClearSelectSet(1);
        decSelectSet selection;
        FT_VALID_GROUP_OBJECT filter;
        if (dec::decSSGet(clear ? kClearPrompt : kGroupPrompt, selection, &filter, 1, nullptr) != dex::eOk)
            return;
        if (selection.GetCount() == 0) {
            dec::PrintPrompt(kNothingSelected);
            return;
        }
        CString count;
        count.Format("提示：选中%d个三维对象!", selection.GetCount());
        dec::PrintPrompt(count);
        WriteGroupRecords(selection, name, clear != 0);
    }
}

void QueryGroups()
{
    DbDatabase* db = dec::GetWorkingDatabase();
    std::vector<CGroupInfo> groups;
    EntityArray ungrouped;
    if (!GetAllGroupInfo(groups, ungrouped)) {
        AfxMessageBox(kNoGroups, MB_OK);
        return;
    }
    PrintGroupNames(groups);
    if (!ungrouped.empty())
        ShowUngrouped(db, ungrouped);
    while (true) {
        db->ClearSelectSet(1);
        FT_GROUP_OBJECT filter;
        decObjectId id;
        GePoint3d point;
        if (db->decPickSingleEntity(id, point, kPickPrompt, nullptr, &filter, kPickEnd) != dex::eOk)
            return;
        ShowGroupOf(db, groups, db->GetObjectById(id));
    }
}

}  // namespace BuildGroup

void CMD_BUILD_GROUP()
{
    dec::PrintPrompt("***建筑分组***");
    BuildGroup::GroupObjects();
}

void CMD_QUERY_GROUP()
{
    dec::PrintPrompt("***建筑分组查询***");
    BuildGroup::QueryGroups();
}
