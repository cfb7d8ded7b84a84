#include "OrvScaleText.h"

#include <cmath>
#include <new>
#include <string>

#include "AssertReport.h"
#include "CheckedNumbers.h"
#include "CommandLine.h"
#include "DbDatabase.h"
#include "Input.h"

namespace {

// Real-valued fields change only for a difference of at least this.
constexpr double kChangeTol = 0.001;
// Width factor of the drawn text.
constexpr double kWidthFactor = 0.8;

enum Property { kPropText = 1, kPropHeight = 2, kPropAngle = 3, kPropFont = 4 };

const TPropertyDef kProperties[] = {
    {"文字参数", "内容", "输入文字内容", kPropText, 4, 0, 0},
    {"文字参数", "字高", "输入文字高度", kPropHeight, 2, 0, 1},
    {"文字参数", "角度", "输入文字角度", kPropAngle, 7, 0, 0},
    {"文字参数", "字体名称", "选择字体名称", kPropFont, 5, 0, 0},
    {nullptr, nullptr, nullptr, 0, 0, 0, 0},
};

}  // namespace

decObjectClassInfo* COrvScaleText::Desc()
{
    static decObjectClassInfo info{"QCOrvScaleText", "文字标注", "comn", 2, decDbEntity2d::Desc(),
                                   &COrvScaleText::CreateNewObject, sizeof(COrvScaleText), {}};
    return &info;
}

decObject* COrvScaleText::CreateNewObject()
{
    try {
        return new COrvScaleText();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

COrvScaleText::COrvScaleText(const COrvScaleText& other)
    : decDbEntity2d(), m_position(other.m_position), m_text(other.m_text), m_height(other.m_height),
      m_angle(other.m_angle), m_placement(other.m_placement), m_scale(other.m_scale), m_font(other.m_font),
      m_type(other.m_type), m_direction(other.m_direction), m_normal(other.m_normal), m_fontList(other.m_fontList)
{
}

COrvScaleText& COrvScaleText::operator=(const COrvScaleText& other)
{
    if (this != &other) {
        m_position = other.m_position;
        m_text = other.m_text;
        m_height = other.m_height;
        m_angle = other.m_angle;
        m_placement = other.m_placement;
        m_scale = other.m_scale;
        m_font = other.m_font;
        m_type = other.m_type;
        m_direction = other.m_direction;
        m_normal = other.m_normal;
        m_fontList = other.m_fontList;
    }
    return *this;
}

bool COrvScaleText::Set(TEXT_UTILITY::TEXT_TYPE type, const CString& text, const GePoint3d& position,
                        const GeVector3d& direction, const GeVector3d& normal, double height, double angle,
                        unsigned long placement, double scale, const CString& font)
{
    const double sizes[] = {height, angle, scale};
    const std::optional<std::uint32_t> storedPlacement = StoredAs<std::uint32_t>(placement);
    if (!IsFinite(position) || !IsFinite(direction) || !IsFinite(normal) || !AllFinite(sizes) || !storedPlacement)
        return false;
    ORV_ASSERT(!text.IsEmpty() && "文字内容为空", "OrvScaleText");
    ORV_ASSERT(height > 0, "OrvScaleText");
    m_type = type;
    m_text = text;
    m_position = position;
    m_height = height;
    m_placement = *storedPlacement;
    m_angle = angle;
    m_scale = scale <= 0.001 ? GetScale() : scale;
    if (!font.IsEmpty())
        m_font = font;
    m_direction = direction;
    m_normal = normal;
    return true;
}

void COrvScaleText::SetHeight(double height)
{
    if (!StoredAs<double>(height) || std::fabs(height - m_height) < kChangeTol)
        return;
    AssertWriteEnabled(1, 1, 1, 0);
    m_height = height;
}

void COrvScaleText::SetScale(double scale)
{
    if (!StoredAs<double>(scale) || std::fabs(scale - m_scale) < kChangeTol)
        return;
    AssertWriteEnabled(1, 1, 1, 0);
    m_scale = scale;
}

void COrvScaleText::Serialize(SerializeFilter& filter)
{
    decDbObject::Serialize(filter);
    if (filter.IsStoring()) {
        filter << static_cast<int>(m_type) << m_text << m_position << m_height << m_angle << m_placement << m_scale
               << m_font << m_direction << m_normal;
        return;
    }
    // Read whole before anything is taken; a kind outside the enumeration refuses the record
    // (the stream itself refuses numbers that are not finite).
    int type = 0;
    std::uint32_t placement = 0;
    CString text, font;
    GePoint3d position;
    double height = 0.0, angle = 0.0, scale = 0.0;
    GeVector3d direction, normal;
    filter >> type >> text >> position >> height >> angle >> placement >> scale >> font >> direction >> normal;
    if (type < TEXT_UTILITY::BUILD_DIM || type > TEXT_UTILITY::OTHER_DIM)
        throw host::RecordError("its text kind " + std::to_string(type) + " is not one of 0 to 4");
    m_type = static_cast<TEXT_UTILITY::TEXT_TYPE>(type);
    m_text = std::move(text);
    m_position = position;
    m_height = height;
    m_angle = angle;
    m_placement = placement;
    m_scale = scale;
    m_font = std::move(font);
    m_direction = direction;
    m_normal = normal;
}

const TPropertyDef* COrvScaleText::GetObjectPropertyDefine() const
{
    return kProperties;
}

void COrvScaleText::OnPropertyValueGet(int index, prop_data& value)
{
    AssertReadEnabled();
    switch (index) {
    case kPropText:
        value.SetText(m_text);
        break;
    case kPropHeight:
        value.SetDouble(m_height);
        break;
    case kPropAngle:
        value.SetDouble(m_angle);
        break;
    case kPropFont:
        GetFontRowValue(m_font, m_fontList, value);
        break;
    default:
        break;
    }
}

int COrvScaleText::OnPropertyValueChanged(int index, const prop_data& value)
{
    AssertWriteEnabled(1, 1, 1, 0);
    switch (index) {
    case kPropText:
        m_text = value.szValue;
        break;
    case kPropHeight:
        if (!AcceptTypedTextHeight(value.dValue))
            return 0;
        m_height = value.dValue;
        break;
    case kPropAngle:
        if (!StoredAs<double>(value.dValue))
            return 0;
        m_angle = value.dValue;
        break;
    case kPropFont:
        if (!SetFontFromRow(value.lValue, m_fontList, m_font))
            return 0;
        break;
    default:
        break;
    }
    return dex::eOk;
}

void COrvScaleText::OnPropertyComboBoxInit(int index, TPropertyComboBoxData& data)
{
    if (index == kPropFont)
        AddFontChoices(m_fontList, data);
}

int COrvScaleText::OnPropertyOtherEdit(long index, const char*, long count, decObject** objects, int&)
{
    if (index != kPropAngle)
        return 0;
    double angle = m_angle;
    if (dec::GetAngle("请指定文字插入角度", &angle, m_angle, 0) != dex::eOk)
        return 0;
    DbAutoOpen open;
    prop_data value;
    value.SetDouble(angle);
    // Row 3 means the angle only to a scaled text: other objects of a mixed selection keep
    // their own row 3.
    for (long i = 0; objects && i < count; ++i) {
        COrvScaleText* text = COrvScaleText::Cast(objects[i]);
        if (!text || text->OpenForWrite() != dex::eOk)
            continue;
        text->OnPropertyValueChanged(kPropAngle, value);
        text->Close();
    }
    dec::ClearCmdLinePrompt();
    return 1;
}

int COrvScaleText::OnWorldDraw(decViewFilter& filter)
{
    const double drawnHeight = m_height * m_scale;
    const GiTextStyle style{m_font.str(), drawnHeight, kWidthFactor};
    filter.Text(m_text, m_position, m_direction, m_normal, m_angle, drawnHeight, kWidthFactor, m_placement, &style);
    return dex::eOk;
}

void COrvScaleText::GetGripPoints(GePoint3dArray& grips) const
{
    grips.push_back(m_position);
}

int COrvScaleText::MoveGripPointsAt(const std::vector<int>& indices, const GeVector3d& offset)
{
    AssertWriteEnabled(1, 1, 1, 0);
    for (int index : indices)
        if (index == 0)
            m_position += offset;
    return dex::eOk;
}

int COrvScaleText::TransformBy(const GeMatrix3d& tm)
{
    AssertWriteEnabled(1, 1, 1, 0);
    decDbEntity::TransformBy(tm);
    m_position.TransformBy(tm);
    m_height *= tm.GetScaleX();
    m_direction.TransformBy(tm);
    m_normal.TransformBy(tm);
    return dex::eOk;
}
