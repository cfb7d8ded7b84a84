#include "DimBuildElevation.h"

#include <array>
#include <cmath>
#include <iterator>
#include <new>
#include <optional>

#include "CheckedNumbers.h"
#include "ModuleGlobals.h"
#include "TextSettings.h"

namespace {

// Real-valued fields change only for a difference of at least this.
constexpr double kChangeTol = 0.001;
// Width factor of the drawn text.
constexpr double kWidthFactor = 0.8;
// Marker leg length and leader length at scale 1; the text sits this many leg heights up.
constexpr double kLegLength = 4.24;
constexpr double kLeaderLength = 20.0;
constexpr double kTextRise = 1.3;
// Placement codes of the text over the open marker and over the filled one.
constexpr unsigned kPlacementOpen = 33;
constexpr unsigned kPlacementFilled = 34;

// Module-wide: the style every new label takes.
int g_rememberedStyle = CDimBuildElevation::kHeightAndTop;

constexpr std::array<const char*, 5> kStyleNames = {"顶标高", "建筑高度", "底标高", "顶标高和底标高",
                                                    "建筑物高度和顶标高"};

enum Property {
    kPropStyle = 1,
    kPropTop = 2,
    kPropBottom = 3,
    kPropHeight = 4,
    kPropTextHeight = 5,
    kPropFont = 6,
};

const TPropertyDef kProperties[] = {
    {"标高参数", "类型", "选择标高标注类型", kPropStyle, 5, 0, 0},
    {"标高参数", "顶标高", "输入顶标高", kPropTop, 2, 0, 0},
    {"标高参数", "底标高", "输入底标高", kPropBottom, 2, 0, 0},
    {"标高参数", "建筑高度", "输入建筑高度", kPropHeight, 1, 0, 0},
    {"文字参数", "字高", "输入文字高度", kPropTextHeight, 2, 0, 1},
    {"文字参数", "字体名称", "选择字体名称", kPropFont, 5, 0, 0},
    {nullptr, nullptr, nullptr, 0, 0, 0, 0},
};

GePoint3d AtAngle(double length, double degrees)
{
    const double radians = degrees / g_degPerRadian;
    return {length * std::cos(radians), length * std::sin(radians), 0.0};
}

}  // namespace

decObjectClassInfo* CDimBuildElevation::Desc()
{
    static decObjectClassInfo info{"QCDimBuildElevation", "建筑标高", "comn", 2, decDbEntity2d::Desc(),
                                   &CDimBuildElevation::CreateNewObject, sizeof(CDimBuildElevation), {}};
    return &info;
}

decObject* CDimBuildElevation::CreateNewObject()
{
    try {
        return new CDimBuildElevation();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

CDimBuildElevation::CDimBuildElevation() : m_style(g_rememberedStyle) {}

CDimBuildElevation::CDimBuildElevation(const CDimBuildElevation& other)
    : decDbEntity2d(), m_height(other.m_height), m_top(other.m_top), m_bottom(other.m_bottom),
      m_style(other.m_style), m_position(other.m_position), m_textHeight(other.m_textHeight),
      m_scale(other.m_scale), m_font(other.m_font), m_fontList(other.m_fontList)
{
}

CDimBuildElevation& CDimBuildElevation::operator=(const CDimBuildElevation& other)
{
    if (this != &other) {
        m_height = other.m_height;
        m_top = other.m_top;
        m_bottom = other.m_bottom;
        m_style = other.m_style;
        m_position = other.m_position;
        m_textHeight = other.m_textHeight;
        m_scale = other.m_scale;
        m_font = other.m_font;
        m_fontList = other.m_fontList;
    }
    return *this;
}

int CDimBuildElevation::RememberedStyle()
{
    return g_rememberedStyle;
}

void CDimBuildElevation::SetRememberedStyle(int style)
{
    g_rememberedStyle = style;
}

bool CDimBuildElevation::Set(double height, double bottom, const GePoint3d& position)
{
    const std::optional<int> whole = WholeMillimetres(height);
    if (!whole || !StoredAs<double>(*whole + bottom) || !IsFinite(position))
        return false;
    m_height = *whole;
    m_bottom = bottom;
    HoldTopToHeight();
    m_position = position;
    m_scale = GetScale();
    m_textHeight = GetTextHeight(TEXT_UTILITY::BUILD_DIM);
    return true;
}

void CDimBuildElevation::SetScale(double scale)
{
    if (!StoredAs<double>(scale))
        return;
    AssertWriteEnabled(1, 1, 1, 0);
    m_scale = scale;
}

void CDimBuildElevation::SetTextHeight(double textHeight)
{
    if (!StoredAs<double>(textHeight) || std::fabs(textHeight - m_textHeight) < kChangeTol)
        return;
    AssertWriteEnabled(1, 1, 1, 0);
    m_textHeight = textHeight;
}

void CDimBuildElevation::ResetRange()
{
    m_top = -1e9;
    m_bottom = 1e9;
}

void CDimBuildElevation::UpdateHeightFromRange()
{
    if (const std::optional<int> height = WholeMillimetres(m_top - m_bottom))
        m_height = *height;
}

std::optional<int> CDimBuildElevation::WholeMillimetres(double mm)
{
    return StoredAs<int>(std::round(mm));
}

void CDimBuildElevation::HoldTopToHeight()
{
    m_top = m_bottom + m_height;
}

bool CDimBuildElevation::TakeRange(double top, double bottom)
{
    // Not finite top or bottom gives a difference that is not finite either.
    const std::optional<int> height = WholeMillimetres(top - bottom);
    if (!height)
        return false;
    m_bottom = bottom;
    m_height = *height;
    HoldTopToHeight();
    return true;
}

bool CDimBuildElevation::HasValues() const
{
    return m_top >= m_bottom && WholeMillimetres(m_top - m_bottom).has_value();
}

CString CDimBuildElevation::LabelText() const
{
    CString text;
    switch (m_style) {
    case kTop:
        text.Format("%.3f", m_top / 1000.0);
        break;
    case kHeight:
        text.Format("%.3f", m_height / 1000.0);
        break;
    case kBottom:
        text.Format("%.3f", m_bottom / 1000.0);
        break;
    case kTopAndBottom:
        text.Format("%.3f（%.3f）", m_top / 1000.0, m_bottom / 1000.0);
        break;
    case kHeightAndTop:
        text.Format("%.3f（%.3f）", m_height / 1000.0, m_top / 1000.0);
        break;
    default:
        break;
    }
    return text;
}

void CDimBuildElevation::Serialize(SerializeFilter& filter)
{
    decDbObject::Serialize(filter);
    if (filter.IsStoring()) {
        filter << m_style << m_position << m_height << m_bottom << m_textHeight << m_scale << m_font;
        return;
    }
    filter >> m_style >> m_position >> m_height >> m_bottom >> m_textHeight >> m_scale >> m_font;
    // The record has no top.
    HoldTopToHeight();
}

const TPropertyDef* CDimBuildElevation::GetObjectPropertyDefine() const
{
    return kProperties;
}

void CDimBuildElevation::OnPropertyValueGet(int index, prop_data& value)
{
    AssertReadEnabled();
    switch (index) {
    case kPropStyle:
        value.SetLong(m_style);
        break;
    case kPropTop:
        value.SetDouble(m_top);
        break;
    case kPropBottom:
        value.SetDouble(m_bottom);
        break;
    case kPropHeight:
        value.SetLong(m_height);
        break;
    case kPropTextHeight:
        value.SetDouble(m_textHeight);
        break;
    case kPropFont:
        GetFontRowValue(m_font, m_fontList, value);
        break;
    default:
        break;
    }
}

int CDimBuildElevation::OnPropertyValueChanged(int index, const prop_data& value)
{
    AssertWriteEnabled(1, 1, 1, 0);
    switch (index) {
    case kPropStyle:
        if (value.lValue < 0 || value.lValue >= std::ssize(kStyleNames))
            return 0;
        m_style = static_cast<int>(value.lValue);
        break;
    case kPropTop:
        if (!TakeRange(value.dValue, m_bottom))
            return 0;
        break;
    case kPropBottom:
        if (!TakeRange(m_top, value.dValue))
            return 0;
        break;
    case kPropHeight: {
        const std::optional<int> height = StoredAs<int>(value.lValue);
        if (!height)
            return 0;
        m_height = *height;
        HoldTopToHeight();
        break;
    }
    case kPropTextHeight:
        if (!AcceptTypedTextHeight(value.dValue))
            return 0;
        m_textHeight = value.dValue;
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

void CDimBuildElevation::OnPropertyComboBoxInit(int index, TPropertyComboBoxData& data)
{
    if (index == kPropStyle) {
        for (const char* name : kStyleNames)
            data.AddString(name);
    } else if (index == kPropFont) {
        AddFontChoices(m_fontList, data);
    }
}

int CDimBuildElevation::OnWorldDraw(decViewFilter& filter)
{
    GeMatrix3d toPosition;
    toPosition.SetToTranslation(m_position.AsVector());
    filter.PushTransform(toPosition);

    const CString text = LabelText();
    const double leg = kLegLength * m_scale;
    const GePoint3d apex;
    const GePoint3d a = AtAngle(leg, 135.0);
    const GePoint3d b = AtAngle(leg, 45.0);
    unsigned placement = kPlacementOpen;
    if (m_style == kBottom) {
        const GePoint3d triangle[] = {apex, a, b};
        filter.Polygon(0, 3, triangle, 1);
        placement = kPlacementFilled;
    } else {
        const GePoint3d c(a.x + kLeaderLength * m_scale, a.y, 0.0);
        const GePoint3d left[] = {apex, a};
        const GePoint3d right[] = {apex, b};
        const GePoint3d leader[] = {a, c};
        filter.Polyline(0, 2, left);
        filter.Polyline(0, 2, right);
        filter.Polyline(0, 2, leader);
    }
    const double drawnHeight = m_textHeight * m_scale;
    const GiTextStyle style{m_font.str(), drawnHeight, kWidthFactor};
    filter.Text(text, GePoint3d(0.0, kTextRise * b.y, 0.0), GeVector3d::kXAxis, GeVector3d::kZAxis, 0.0, drawnHeight,
                kWidthFactor, placement, &style);

    filter.PopTransform();
    return dex::eOk;
}

void CDimBuildElevation::GetGripPoints(GePoint3dArray& grips) const
{
    grips.push_back(m_position);
}

int CDimBuildElevation::MoveGripPointsAt(const std::vector<int>&, const GeVector3d& offset)
{
    AssertWriteEnabled(1, 1, 1, 0);
    m_position += offset;
    return dex::eOk;
}

int CDimBuildElevation::TransformBy(const GeMatrix3d& tm)
{
    AssertWriteEnabled(1, 1, 1, 0);
    decDbEntity::TransformBy(tm);
    m_position.TransformBy(tm);
    // The text is drawn at text height × scale and the marker at scale: growing the scale
    // alone grows both by the factor (growing the text height too would square it for the text).
    m_scale *= tm.GetScaleX();
    return dex::eOk;
}
