#pragma once
// namebld (建筑命名): names, renames or clears buildings, tagged objects and windows in one
// go. A CExtrudeBuild takes the name as its member, a tagged object a new tag, a window the
// name of its owning building, any other 3-D object a tag (none when clearing). A rename is
// offered to every other object that still bears an old name; the ownership records that
// name a renamed window follow it. A pass the records could not follow exactly (a record would
// name only some of the windows bearing one identifier) is refused with a message and names
// nothing. The pass ends with a name label and a host group of what it named.
#include <unordered_set>
#include <vector>

#include "CString.h"
#include "EntityArray.h"
#include "OwnershipRecords.h"
#include "Selection.h"

namespace NameBuild {

// What one pass names, written all at once when the ownership records naming its windows can
// follow the windows' new name exactly.
class Naming {
public:
    Naming(const CString& name, bool clearing);
    // Takes the entity in; the name it bears (a building's or a tag's, when not empty) goes to
    // oldNames when given. False for an entity whose kind does not match what the kind tests
    // reported (with the assertion) and for an untagged object when clearing: neither belongs
    // to the pass's group.
    bool Add(decDbEntity* entity, std::vector<CString>* oldNames);
    bool Holds(const decDbEntity* entity) const;
    // Names everything taken in, the records following the windows; false, with the refusal
    // printed and nothing named, when the records could not follow exactly.
    bool Write();

private:
    CString m_name;
    bool m_clearing;
    // What it names, in the order taken in, and the same for look-ups.
    EntityArray m_named;
    std::unordered_set<const decDbEntity*> m_held;
    WinBelongBuild::Relabelling m_windows;
};

// Takes every 3-D entity.
class FT_VALID_BUILD_OBJECT : public decSSGet_filter {
public:
    int Accept(decDbEntity* entity, int& accept) override;
};

// Asks "请输入建筑名称<空回车清除>:" until a name or an empty Enter (clear := 1) is given.
// 0 when the question is cancelled or ended.
int AskName(CString& name, int& clear);
// The passes of the command until the name question, the selection or an empty selection
// ends it.
void NameSelected();
// Selects the buildings, tagged objects and windows whose name equals one of the old names
// (case-sensitive) and, when the user agrees, gives them the new name; the records naming
// the renamed windows follow them, or nothing is renamed.
void UpdateSameOldNameBuild(const std::vector<CString>& oldNames, const CString& newName);
// The same within a pass: what the pass names already is not offered, and on yes the rest
// joins the pass's naming, written with it.
void UpdateSameOldNameBuild(const std::vector<CString>& oldNames, Naming& naming);
// Prints the warning that a name holding "-" cannot be told apart from the numbers of its
// windows' identifiers; true when it holds one. The name is taken all the same.
bool WarnOfDash(const CString& name);
// Asks where the name label goes and places it there; nothing for an empty name or when no
// point is given.
void Dim(const CString& name);

}  // namespace NameBuild
