// CDormer as a drawing object: its class record, its record in the drawing, the property
// panel and the mesh.
#include "Dormer.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <new>

#include "AssertReport.h"
#include "CheckedNumbers.h"
#include "DormerGeometry.h"
#include "FaceMesh.h"
#include "qrxGeScalar.h"
#include "RoofRecord.h"
#include "Tools.h"

namespace {

constexpr const char* kGroup = "老虎窗信息";
// The slopes SetData takes, in radians, both bounds included.
constexpr double kMinSlope = 0.0175;
constexpr double kMaxSlope = 1.5708;
// The slopes the panel takes, in degrees, and the single-precision π it converts with.
constexpr double kMinPanelSlope = 1.0;
constexpr double kMaxPanelSlope = CDormer::kMaxPanelSlope;
constexpr double kPi = qrxGe::kPi;
// The lowest slope a dormer can be given at all (the panel's 1 degree).
constexpr double kLowestSlope = kMinPanelSlope * kPi / 180.0;
// Normals are normalised with this tolerance.
constexpr double kUnitTol = 0.001;
// Side faces are cleaned with this tolerance.
constexpr double kFaceTol = 0.001;

enum Property {
    kPropWidth = 0,
    kPropHeight1 = 1,
    kPropHeight2 = 2,
    kPropRoofThickness = 3,
    kPropOverhang = 4,
    kPropSlope = 5,
};

// Whether a length fits the 32 bits a dormer stores.
bool Fits(long v)
{
    return StoredAs<std::int32_t>(v).has_value();
}

bool FitsAbsolute(long v)
{
    return v > std::numeric_limits<std::int32_t>::min() && Fits(v);
}

// The side faces of a section swept back to its copy on the roof plane.
void AddSideFaces(const GePoint3dArray& front, const GePoint3dArray& back, std::vector<GePoint3dArray>& faces)
{
    const std::size_t n = front.size();
    for (std::size_t j = 0; j < n; ++j) {
        const std::size_t k = (j + 1) % n;
        GePoint3dArray side = {front[j], back[j], back[k], front[k]};
        CTools::ManageGePoint3dArray(side, 1, kFaceTol);
        faces.push_back(std::move(side));
    }
}

}  // namespace

const TPropertyDef CDormer::props[] = {
    {kGroup, "宽度", "宽度 单位:mm", kPropWidth, 1, 0, 0},
    {kGroup, "高度1", "矩形部分高度 单位:mm", kPropHeight1, 1, 0, 0},
    {kGroup, "高度2", "三角部分高度 单位:mm", kPropHeight2, 1, 0, 0},
    {kGroup, "屋面厚度", "屋面厚度 单位:mm", kPropRoofThickness, 1, 0, 0},
    {kGroup, "屋面挑出长度", "屋面挑出长度 单位:mm", kPropOverhang, 1, 0, 0},
    {kGroup, "坡度", "所在屋顶的坡度 [1-89]度", kPropSlope, 2, 0, 4},
    {nullptr, nullptr, nullptr, 0, 0, 0, 0},
};

decObjectClassInfo* CDormer::Desc()
{
    static decObjectClassInfo info{"QCDormer", "老虎窗", "comn", 2, decBuilder::Desc(), &CDormer::CreateNewObject,
                                   sizeof(CDormer), {}};
    return &info;
}

decObject* CDormer::CreateNewObject()
{
    try {
        return new CDormer();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

CDormer::CDormer(const CDormer& other)
    : decBuilder(), m_lWidth(other.m_lWidth), m_lHeight1(other.m_lHeight1), m_lHeight2(other.m_lHeight2),
      m_lRoofThickness(other.m_lRoofThickness), m_lOverhang(other.m_lOverhang), m_dblSlope(other.m_dblSlope),
      m_arraySection(other.m_arraySection)
{
}

CDormer& CDormer::operator=(const CDormer& other)
{
    if (this != &other) {
        m_lWidth = other.m_lWidth;
        m_lHeight1 = other.m_lHeight1;
        m_lHeight2 = other.m_lHeight2;
        m_lRoofThickness = other.m_lRoofThickness;
        m_lOverhang = other.m_lOverhang;
        m_dblSlope = other.m_dblSlope;
        m_arraySection = other.m_arraySection;
    }
    return *this;
}

int CDormer::SetData(long width, long height1, long height2, long roofThickness, long overhang, double slope)
{
    // A dimension the record cannot hold is refused like any other unusable one.
    if (!FitsAbsolute(width) || !FitsAbsolute(height1) || !FitsAbsolute(height2) || !Fits(roofThickness) ||
        !FitsAbsolute(overhang))
        return 0;
    if (std::labs(width) < 1)
        return 0;
    if (std::labs(height1) + std::labs(height2) < 1)
        return 0;
    if (slope < kMinSlope || slope > kMaxSlope || std::isnan(slope))
        return 0;
    AssertWriteEnabled(1, 1, 1, 0);
    m_dblSlope = slope;
    m_lRoofThickness = static_cast<std::int32_t>(roofThickness);
    m_lWidth = static_cast<std::int32_t>(std::labs(width));
    m_lHeight1 = static_cast<std::int32_t>(std::labs(height1));
    m_lHeight2 = static_cast<std::int32_t>(std::labs(height2));
    m_lOverhang = static_cast<std::int32_t>(std::labs(overhang));
    ComputeSectionVts();
    return 1;
}

void CDormer::SetSection(std::vector<GePoint3dArray> sections)
{
    for (const GePoint3dArray& section : sections)
        if (!AllFinite(section))
            return;
    AssertWriteEnabled(1, 1, 1, 0);
    m_arraySection.clear();
    for (GePoint3dArray& section : sections)
        if (!section.empty())
            m_arraySection.push_back(std::move(section));
}

void CDormer::ComputeSectionVts()
{
    AssertWriteEnabled(1, 1, 1, 0);
    m_arraySection = DormerSections(m_lWidth, m_lHeight1, m_lHeight2, m_lRoofThickness, m_lOverhang, m_dblSlope);
}

void CDormer::Serialize(SerializeFilter& filter)
{
    decBuilder::Serialize(filter);
    if (filter.IsStoring()) {
        filter << static_cast<long>(m_lWidth) << static_cast<long>(m_lHeight1) << static_cast<long>(m_lHeight2)
               << static_cast<long>(m_lRoofThickness) << static_cast<long>(m_lOverhang) << m_dblSlope;
        filter << static_cast<int>(m_arraySection.size());
        for (const GePoint3dArray& section : m_arraySection)
            roof_record::WritePoints(filter, section);
        return;
    }
    long width = 0, height1 = 0, height2 = 0, thickness = 0, overhang = 0;
    double slope = 0.0;
    filter >> width >> height1 >> height2 >> thickness >> overhang >> slope;
    // Every section holds at least its own count.
    const std::size_t count = roof_record::ReadCount(filter, sizeof(int));
    std::vector<GePoint3dArray> sections;
    for (std::size_t i = 0; i < count; ++i) {
        GePoint3dArray section;
        roof_record::ReadPoints(filter, section);
        // A section of two points or fewer bounds nothing: it is read and left out.
        if (section.size() > 2)
            sections.push_back(std::move(section));
    }
    m_lWidth = static_cast<std::int32_t>(width);
    m_lHeight1 = static_cast<std::int32_t>(height1);
    m_lHeight2 = static_cast<std::int32_t>(height2);
    m_lRoofThickness = static_cast<std::int32_t>(thickness);
    m_lOverhang = static_cast<std::int32_t>(overhang);
    m_dblSlope = slope;
    m_arraySection = std::move(sections);
}

const TPropertyDef* CDormer::GetObjectPropertyDefine() const
{
    return props;
}

void CDormer::OnPropertyValueGet(int index, prop_data& value)
{
    switch (index) {
    case kPropWidth: value.SetLong(m_lWidth); break;
    case kPropHeight1: value.SetLong(m_lHeight1); break;
    case kPropHeight2: value.SetLong(m_lHeight2); break;
    case kPropRoofThickness: value.SetLong(m_lRoofThickness); break;
    case kPropOverhang: value.SetLong(m_lOverhang); break;
    case kPropSlope: value.SetDouble(m_dblSlope * 180.0 / kPi); break;
    default: ORV_ASSERT(0, "Dormer"); break;
    }
}

int CDormer::OnPropertyValueChanged(int index, const prop_data& value)
{
    AssertWriteEnabled(1, 1, 1, 0);
    const long v = value.lValue;
    // A value beyond what the record stores is refused like any other the rule refuses.
    const bool fits = Fits(v);
    switch (index) {
    case kPropWidth:
        if (fits && v > 0)
            m_lWidth = static_cast<std::int32_t>(v);
        break;
    case kPropHeight1:
        if (fits && (v >= 1 || (v == 0 && m_lHeight2 >= 1)))
            m_lHeight1 = static_cast<std::int32_t>(v);
        break;
    case kPropHeight2:
        if (fits && (v >= 1 || (v == 0 && m_lHeight1 >= 1)))
            m_lHeight2 = static_cast<std::int32_t>(v);
        break;
    case kPropRoofThickness:
        if (fits && v >= 0)
            m_lRoofThickness = static_cast<std::int32_t>(v);
        break;
    case kPropOverhang:
        if (fits && v >= 0)
            m_lOverhang = static_cast<std::int32_t>(v);
        break;
    case kPropSlope:
        if (value.dValue >= kMinPanelSlope && value.dValue <= kMaxPanelSlope)
            m_dblSlope = value.dValue * kPi / 180.0;
        break;
    default:
        break;
    }
    ComputeSectionVts();
    return dex::eOk;
}

int CDormer::MakeMesh(decMesh3** out) const
{
    if (m_arraySection.empty())
        return 1;
    if (!out || !(m_dblSlope >= kLowestSlope && m_dblSlope <= kMaxSlope))
        return 0;
    GeVector3d n = GeVector3d::kZAxis;
    n.RotateBy(m_dblSlope, GeVector3d::kXAxis);
    n.Normalize(kUnitTol);

    std::vector<GePoint3dArray> faces;
    for (const GePoint3dArray& section : m_arraySection) {
        faces.push_back(section);
        GePoint3dArray back;
        back.reserve(section.size());
        for (const GePoint3d& p : section)
            back.push_back(OnDormerRoofPlane(p, n));
        AddSideFaces(section, back, faces);
    }

    *out = MeshOfFaces(faces, 1);
    return 1;
}
