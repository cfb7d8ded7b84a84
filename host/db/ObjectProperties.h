#pragma once
// The host's property panel, headless: what the panel shows of an object and how it hands
// an edit to the object (open for write, change, close, read the value again so a refused
// change shows as unchanged).
#include <vector>

#include "PropertyPanel.h"

class decDbObject;

namespace host {

// The object's rows, up to the all-zero row (none when the object gives no table). A table
// of more than 1000 rows without its end row is taken as ending there.
std::vector<TPropertyDef> PropertyRows(const decDbObject& object);

// The value of a row as the object fills it.
prop_data ReadProperty(decDbObject& object, int index);

// The entries of a drop-down row.
TPropertyComboBoxData ReadPropertyChoices(decDbObject& object, int index);

// Hands a changed value to the object between an open for write and a close. Returns the
// object's answer; after (when given) receives the value read again.
int ChangeProperty(decDbObject& object, int index, const prop_data& value, prop_data* after = nullptr);

}  // namespace host
