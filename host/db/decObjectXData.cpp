#include "decObjectXData.h"

decObjectXData decObjectXData::String(const char* text)
{
    decObjectXData item;
    item.m_type = kString;
    item.m_text = text ? text : "";
    return item;
}

decObjectXData decObjectXData::Long(long value)
{
    decObjectXData item;
    item.m_type = kLong;
    item.m_value = value;
    return item;
}

const decObjectXData* decObjectXDataApp::GetAt(int i) const
{
    if (i < 0 || i >= GetCount()) return nullptr;
    return &m_items[static_cast<std::size_t>(i)];
}
