#include "ObjectProperties.h"

#include <string>

#include "EventLog.h"
#include "decDbObject.h"

namespace host {

std::vector<TPropertyDef> PropertyRows(const decDbObject& object)
{
    constexpr int kLongestTable = 1000;
    std::vector<TPropertyDef> rows;
    const TPropertyDef* table = object.GetObjectPropertyDefine();
    if (!table) return rows;
    for (int i = 0; i < kLongestTable; ++i) {
        const TPropertyDef& row = table[i];
        if (!row.group && !row.name && !row.prompt && row.index == 0 && row.kind == 0) break;
        rows.push_back(row);
    }
    return rows;
}

prop_data ReadProperty(decDbObject& object, int index)
{
    prop_data value;
    object.OpenForRead();
    object.OnPropertyValueGet(index, value);
    object.Close();
    return value;
}

TPropertyComboBoxData ReadPropertyChoices(decDbObject& object, int index)
{
    TPropertyComboBoxData choices;
    object.OnPropertyComboBoxInit(index, choices);
    return choices;
}

int ChangeProperty(decDbObject& object, int index, const prop_data& value, prop_data* after)
{
    EventLog::Instance().Call("property change " + std::to_string(index) + " type " + std::to_string(value.type));
    object.OpenForWrite();
    const int result = object.OnPropertyValueChanged(index, value);
    object.Close();
    if (after) *after = ReadProperty(object, index);
    return result;
}

}  // namespace host
