#include "PropertyPanel.h"

#include "Utf8Text.h"

void prop_data::SetText(const char* text)
{
    type = kText;
    zo_strncpy(szValue, text, kTextLimit);
}
