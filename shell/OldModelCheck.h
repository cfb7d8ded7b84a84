#pragma once
// Whether the working drawing holds objects made by versions below 4.0: legacy buildings
// ("QCQuickBuilding") and legacy windows ("QCQuickWindow").

// 1 when the working drawing holds at least one 3-D entity whose base object is a legacy
// building or window, or a record of either class kept unread; the search stops at the first.
int HasOldModel();
