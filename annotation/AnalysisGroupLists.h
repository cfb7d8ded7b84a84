#pragma once
// What the three analysis-group dialogs share: list boxes of group names filled from the
// drawing's groups or from the names a dialog remembers, the remove and reset buttons, and
// the objects, faces and windows of the groups a list names. A box is sorted, so names are
// read back in the box's order, whatever order they were added in.
#include <list>
#include <vector>

#include "BuildGroup.h"
#include "Mfc.h"

namespace AnalysisGroups {

using GroupList = std::vector<BuildGroup::CGroupInfo>;
using NameList = std::vector<CString>;

// Which groups a reset offers.
enum class Offer { AllGroups, GroupsWithWindows };

// The first group of that exact name, or null.
const BuildGroup::CGroupInfo* FindGroup(const GroupList& groups, const CString& name);

// Empties the box, adds the offered groups' names and selects entry 0.
void FillWithGroups(CListBox& box, const GroupList& groups, Offer offer);
// Adds each remembered name whose group still exists, in order; selects entry 0.
void FillWithRemembered(CListBox& box, const std::list<CString>& remembered, const GroupList& groups);

// The remove button: deletes the selected entry and selects its successor, or entry 0 when
// it was the last one. Nothing without a selection.
void RemoveSelected(CListBox& box);
// The reset button: a box with entries asks first (yes/no, exclamation, task-modal) and
// stays as it is unless the answer is yes; then it is filled with the offered groups.
void ResetAfterQuestion(CListBox& box, const GroupList& groups, Offer offer, const char* question,
                        const char* caption);

// The box's names in list order.
NameList ReadNames(const CListBox& box);
// Replaces a remembered list by names.
void Remember(std::list<CString>& remembered, const NameList& names);

// Appends, for each name in order, its group's objects (never its windows), faces or
// windows. A name without a group is skipped.
void AppendObjects(const GroupList& groups, const NameList& names, EntityArray& objects);
void AppendFaces(const GroupList& groups, const NameList& names, BuildGroup::FaceList& faces);
void AppendWindows(const GroupList& groups, const NameList& names, EntityArray& windows);

// Runs a group dialog as every exported query does: under the module's own resources, with
// no parent, answering only after it closes. prepare(dialog) sets it up; 0 without showing
// it when the drawing has no group, 0 after a cancel; after OK take(dialog) fills the
// caller's outputs and the answer is 1.
template <class Dialog, class Prepare, class Take>
int RunGroupQuery(Prepare prepare, Take take)
{
    AFX_MAINTAIN_STATE2 state(AfxGetStaticModuleState());
    Dialog dialog;
    prepare(dialog);
    if (!dialog.InitGroupInfo() || dialog.DoModal() != IDOK)
        return 0;
    take(dialog);
    return 1;
}

}  // namespace AnalysisGroups
