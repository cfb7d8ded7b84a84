#include "decDbTextAndPoint.h"

DEC_IMPLEMENT_CLASS(decDbText, decDbEntity2d, "文字", 1)
DEC_IMPLEMENT_CLASS(decDbPoint, decDbEntity2d, "点", 1)

decDbText::decDbText(const char* text, const GePoint3d& position, double height, double angle)
    : m_text(text), m_position(position), m_height(height), m_angle(angle)
{
}

int decDbText::OnWorldDraw(decViewFilter& filter)
{
    filter.Text(m_text, m_position, GeVector3d::kXAxis, GeVector3d::kZAxis, m_angle, m_height, 1.0, 0);
    return dex::eOk;
}

int decDbText::TransformBy(const GeMatrix3d& tm)
{
    AssertWriteEnabled(1, 1, 1, 0);
    m_position = tm * m_position;
    m_height *= tm.GetScaleX();
    return dex::eOk;
}

void decDbText::Serialize(SerializeFilter& f)
{
    decDbEntity2d::Serialize(f);
    f.Transfer(m_text, m_position, m_height, m_angle);
}

int decDbPoint::OnWorldDraw(decViewFilter& filter)
{
    filter.Polyline(0, 1, &m_position);
    return dex::eOk;
}

int decDbPoint::TransformBy(const GeMatrix3d& tm)
{
    AssertWriteEnabled(1, 1, 1, 0);
    m_position = tm * m_position;
    return dex::eOk;
}

void decDbPoint::Serialize(SerializeFilter& f)
{
    decDbEntity2d::Serialize(f);
    f.Transfer(m_position);
}
