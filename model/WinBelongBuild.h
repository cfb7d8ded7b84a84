#pragma once
// Window ownership by auxiliary buildings. An auxiliary building (a corner-window bay, a
// balcony body) stands in front of some windows of the building that bears its name and
// would shade them in the analysis. It carries, in the extended-data record
// "WIN_BELONG_BLD", the identifiers "NAME-FLOOR-POSITION" of those windows: item 1 a long,
// the count n, then n string items, in the order the user selected the windows. A building
// carrying the record shows colour 65535; one whose record was removed shows 0xACACAC.
// The "*.osm" import writes the same record.
#include <vector>

#include "CString.h"

class decDbEntity;

namespace WinBelongBuild {

// Appends a new record holding ids to a 3-D entity and colours it 65535. An existing record
// is kept (callers detach first). A null entity or one that is no 3-D entity (or an erased
// one) is left as it is.
void AttachWindowIds(decDbEntity* entity, const std::vector<CString>& ids);

}  // namespace WinBelongBuild
