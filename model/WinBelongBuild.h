#pragma once
// Window ownership by auxiliary buildings. An auxiliary building (a corner-window bay, a
// balcony body) stands in front of some windows of the building that bears its name and
// would shade them in the analysis. It carries, in the extended-data record
// "WIN_BELONG_BLD", the identifiers "NAME-FLOOR-POSITION" of those windows: item 1 a long,
// the count n, then n string items, in the order the user selected the windows. A building
// carrying the record shows colour 65535; one whose record was removed shows 0xACACAC.
// The "*.osm" import writes the same record.
//
// A record of count 1 whose identifier has floor 0 ("B1-0-5") stands for that position on
// every floor 1 to 200 of the building; GetBuildWinInfo expands it. A building name that holds "-"
// itself is not told apart from the separators there. The records follow windows given other
// names or numbers through OwnershipRecords.h.
#include <optional>
#include <vector>

#include "CString.h"
#include "EntityArray.h"
#include "ModelHelperBuildings.h"

class decDbEntity;
class decObjectXDataApp;

namespace WinBelongBuild {

// The identifier "NAME-FLOOR-POSITION" of a window.
CString WindowId(const CString& name, int floor, int position);

// ---- a record as GetBuildWinInfo reads it ----------------------------------------------

// The floors a lone floor-0 identifier stands for.
constexpr int kColumnFloors = 200;

// The count a record stores (0 when its first item is no long) and how many items after it
// are read as identifiers: as far as the count and the items go.
struct IdItems {
    long stored = 0;
    int count = 0;
};
IdItems CountIds(const decObjectXDataApp& record);
// The string items among those read as identifiers, in their order.
std::vector<CString> ReadIds(const decObjectXDataApp& record);

// The column a floor-0 identifier stands for: the building name before the first "-" after
// the first character, and the position from the text after the "-0-" there (as far as it
// reads as a number, held at the int's range). Nothing when the identifier holds no "-0-"
// after its first character.
struct Column {
    CString name;
    int position = 0;
};
std::optional<Column> ReadColumn(const CString& id);
// Whether the record is an ownership record ("WIN_BELONG_BLD").
bool IsOwnershipRecord(const decObjectXDataApp& record);
// Whether the reader takes the record for a column: a count of 1 and one identifier, which
// has floor 0.
bool StandsForColumn(const decObjectXDataApp& record);

// The record holding ids, as AttachWindowIds writes it.
decObjectXDataApp OwnershipRecord(const std::vector<CString>& ids);

// ---- the command and its parts ---------------------------------------------------------

// Appends a new record holding ids to a 3-D entity and colours it 65535. An existing record
// is kept (callers detach first). A null entity or one that is no 3-D entity (or an erased
// one) is left as it is.
void AttachWindowIds(decDbEntity* entity, const std::vector<CString>& ids);
// Removes every record (another program may have written two) and colours the entity
// 0xACACAC, also when there was none.
void DetachWindowIds(decDbEntity* entity);
// 1 when the entity is a 3-D entity carrying the record; 0 otherwise (null included).
int HasWindowIds(decDbEntity* entity);
// Replaces entities by every entity of the working drawing that carries the record, in the
// order they were made (found through the module's index, OwnershipIndex.h); their number.
unsigned GetAllBuild(EntityArray& entities);

// Asks for one named building until one is picked ("错误：...请重新选择。" after an unnamed
// one). 1 with the entity and its name; 0 when the pick is not given ("选择取消，退出命令").
int SelectBuild(CString prompt, decDbEntity*& entity, CString& name);
// Asks for windows of the named building (the filter takes no others) and appends them.
// Esc: "提示：取消选择，退出命令。", 0. Any other answer but a non-empty selection:
// "提示：清除附属信息", cleared := 1, 1. Otherwise 1 when anything was appended.
int SelectWindow(CString name, EntityArray& windows, CString prompt, int& cleared);
// Shows the bottom rectangle of the entity's extents as the only temporary graphics.
void HighlightBuild(decDbEntity* entity);

}  // namespace WinBelongBuild

// Appends the identifiers of the entity's record to ids (expected empty) and returns how
// many were read, or 201 when the record's count is 1 and its identifier has floor 0 (it
// stays first, floors 1 to 200 follow; the position reads as ReadLeadingInt reads it). 0 without a record, and after the assertion for an entity that is
// no 3-D entity. A record written by another program is read safely: a count below 0 reads
// nothing, one beyond the items present stops at the last item, and items that are no
// strings are left out of the identifiers and of the number returned.
MODEL_HELPER_EXPORT int GetBuildWinInfo(decDbEntity* entity, std::vector<CString>& ids);
// Appends, in candidate order, the candidates that carry the record (same entity). 0 at
// once for no candidates, or when the drawing has no such entity; otherwise 1 when result is
// not empty afterwards.
MODEL_HELPER_EXPORT int GetBuild(EntityArray& candidates, EntityArray& result);
