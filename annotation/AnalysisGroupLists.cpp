#include "AnalysisGroupLists.h"

#include <algorithm>

#include "MainFrame.h"
#include "MsgBox.h"

namespace AnalysisGroups {

const BuildGroup::CGroupInfo* FindGroup(const GroupList& groups, const CString& name)
{
    const auto group = std::find(groups.begin(), groups.end(), name);
    return group == groups.end() ? nullptr : &*group;
}

void FillWithGroups(CListBox& box, const GroupList& groups, Offer offer)
{
    box.ResetContent();
    for (const BuildGroup::CGroupInfo& group : groups)
        if (offer == Offer::AllGroups || !group.windows.empty())
            box.AddString(group.name);
    box.SetCurSel(0);
}

void FillWithRemembered(CListBox& box, const std::list<CString>& remembered, const GroupList& groups)
{
    for (const CString& name : remembered)
        if (FindGroup(groups, name))
            box.AddString(name);
    box.SetCurSel(0);
}

void RemoveSelected(CListBox& box)
{
    const int selected = box.GetCurSel();
    if (selected < 0 || box.GetCount() == 0)
        return;
    box.DeleteString(static_cast<UINT>(selected));
    box.SetCurSel(selected >= box.GetCount() ? 0 : selected);
}

void ResetAfterQuestion(CListBox& box, const GroupList& groups, Offer offer, const char* question,
                        const char* caption)
{
    constexpr unsigned kYesNoExclamationTaskModal = MB_YESNO | MB_ICONEXCLAMATION | MB_TASKMODAL;
    if (box.GetCount() > 0 && MessageBoxA(dec::GetMainFrameHWnd(), question, caption, kYesNoExclamationTaskModal) != IDYES)
        return;
    FillWithGroups(box, groups, offer);
}

NameList ReadNames(const CListBox& box)
{
    NameList names;
    for (int i = 0; i < box.GetCount(); ++i) {
        CString name;
        box.GetText(i, name);
        names.push_back(name);
    }
    return names;
}

void Remember(std::list<CString>& remembered, const NameList& names)
{
    remembered.assign(names.begin(), names.end());
}

void AppendObjects(const GroupList& groups, const NameList& names, EntityArray& objects)
{
    for (const CString& name : names)
        if (const BuildGroup::CGroupInfo* group = FindGroup(groups, name))
            objects.insert(objects.end(), group->objects.begin(), group->objects.end());
}

void AppendFaces(const GroupList& groups, const NameList& names, BuildGroup::FaceList& faces)
{
    for (const CString& name : names)
        if (const BuildGroup::CGroupInfo* group = FindGroup(groups, name))
            BuildGroup::GetGroupFaces(*group, faces);
}

void AppendWindows(const GroupList& groups, const NameList& names, EntityArray& windows)
{
    for (const CString& name : names)
        if (const BuildGroup::CGroupInfo* group = FindGroup(groups, name))
            windows.insert(windows.end(), group->windows.begin(), group->windows.end());
}

}  // namespace AnalysisGroups
