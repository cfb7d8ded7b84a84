#include "decDbObject.h"

DEC_IMPLEMENT_ABSTRACT_CLASS(decDbObject, decObject, "数据库对象")

void decDbObject::SetLocalTM(const GeMatrix3d& tm)
{
    AssertWriteEnabled(1, 1, 1, 0);
    m_tm = tm;
}

int decDbObject::TransformBy(const GeMatrix3d& tm)
{
    AssertWriteEnabled(1, 1, 1, 0);
    m_tm = tm * m_tm;
    return dex::eOk;
}

void decDbObject::Serialize(SerializeFilter& filter)
{
    filter.Transfer(m_name);
}
