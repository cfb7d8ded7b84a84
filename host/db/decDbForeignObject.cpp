#include "decDbForeignObject.h"

DEC_IMPLEMENT_ABSTRACT_CLASS(decDbForeignObject, decDbEntity, "未知对象")

decDbForeignObject::decDbForeignObject(std::string className, unsigned classVersion, std::vector<std::uint8_t> record)
    : m_className(std::move(className)), m_classVersion(classVersion), m_record(std::move(record))
{
}

void decDbForeignObject::Serialize(SerializeFilter& filter)
{
    if (filter.IsStoring() && !m_record.empty())
        filter.Write(m_record.data(), static_cast<unsigned>(m_record.size()));
}
