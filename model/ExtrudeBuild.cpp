#include "ExtrudeBuild.h"

#include <cstdint>
#include <new>

#include "AssertReport.h"
#include "CheckedNumbers.h"
#include "Tools.h"

namespace {

// Outline clean-up tolerance of a building.
constexpr double kOutlineTol = 1e-6;
// Direction vectors are normalised with this tolerance.
constexpr double kUnitTol = 0.001;
// Heights accepted from the property panel, in millimetres.
constexpr long kMaxPanelHeight = 1000000;

enum Property { kPropName = 0, kPropHeight = 1 };

const TPropertyDef kProperties[] = {
    {"建筑物", "名称", "输入名称", kPropName, 4, 0, 0},
    {"建筑物", "高度（毫米）", "输入高度", kPropHeight, 1, 0, 0},
    {nullptr, nullptr, nullptr, 0, 0, 0, 0},
};

}  // namespace

decObjectClassInfo* CExtrudeBuild::Desc()
{
    static decObjectClassInfo info{"QCExtrudeBuild", "拉伸建筑", "comn", 2, decBuilder::Desc(),
                                   &CExtrudeBuild::CreateNewObject, sizeof(CExtrudeBuild), {}};
    return &info;
}

decObject* CExtrudeBuild::CreateNewObject()
{
    try {
        return new CExtrudeBuild();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

CExtrudeBuild::CExtrudeBuild(const CExtrudeBuild& other)
    : decBuilder(), m_reserved(other.m_reserved), m_nHeight(other.m_nHeight), m_strName(other.m_strName),
      m_ptsBase(other.m_ptsBase)
{
}

CExtrudeBuild& CExtrudeBuild::operator=(const CExtrudeBuild& other)
{
    if (this != &other) {
        m_reserved = other.m_reserved;
        m_nHeight = other.m_nHeight;
        m_strName = other.m_strName;
        m_ptsBase = other.m_ptsBase;
    }
    return *this;
}

void CExtrudeBuild::SetName(CString name)
{
    AssertWriteEnabled(1, 1, 1, 0);
    m_strName = std::move(name);
}

void CExtrudeBuild::Set(CString name, int height, GePoint3dArray world, GeMatrix3d& tm)
{
    if (static_cast<double>(height) < 0.001 || world.size() < 3 || !AllFinite(world))
        return;
    // An outline that cleans down to fewer than three corners has no frame: refuse it before
    // anything changes, like any other unusable outline.
    GePoint3dArray cleaned = world;
    CTools::ManageGePoint3dArray(cleaned, 1, kOutlineTol);
    if (cleaned.size() < 3)
        return;

    AssertWriteEnabled(1, 1, 1, 0);
    m_strName = std::move(name);
    m_nHeight = height;
    m_ptsBase = std::move(world);
    GeMatrix3d frame;
    GetLocalTm(frame);
    tm = frame;
    const GeMatrix3d toLocal = frame.Inverse();
    for (GePoint3d& p : m_ptsBase)
        p.TransformBy(toLocal);
}

void CExtrudeBuild::GetLocalTm(GeMatrix3d& tm)
{
    CTools::ManageGePoint3dArray(m_ptsBase, 1, kOutlineTol);
    if (CTools::IsPtArrayClockWise(m_ptsBase))
        CTools::ReverseP3dArray(m_ptsBase);
    if (!ORV_ASSERT(m_ptsBase.size() > 2 && "建筑物底轮廓顶点数异常！", "ExtrudeBuild"))
        return;
    GeVector3d x = m_ptsBase[1] - m_ptsBase[0];
    x.Normalize(kUnitTol);
    const GeVector3d y = GeVector3d::kZAxis.CrossProduct(x);
    tm.SetCoordSystem(m_ptsBase[0], x, y, GeVector3d::kZAxis);
}

void CExtrudeBuild::Serialize(SerializeFilter& filter)
{
    decBuilder::Serialize(filter);
    if (filter.IsStoring()) {
        filter << m_strName << m_nHeight << static_cast<unsigned>(m_ptsBase.size());
        for (const GePoint3d& p : m_ptsBase)
            filter << p;
        filter << m_reserved;
        return;
    }
    // The point count comes from the file: it is checked against what the record still
    // holds before anything is allocated. The values are taken as they are.
    CString name;
    int height = 0;
    filter >> name >> height;
    const std::uint32_t count = filter.ReadCount(3 * sizeof(double));
    GePoint3dArray points(count);
    for (GePoint3d& p : points)
        filter >> p;
    int reserved = 0;
    filter >> reserved;
    m_strName = std::move(name);
    m_nHeight = height;
    m_ptsBase = std::move(points);
    m_reserved = reserved;
}

const TPropertyDef* CExtrudeBuild::GetObjectPropertyDefine() const
{
    return kProperties;
}

void CExtrudeBuild::OnPropertyValueGet(int index, prop_data& value)
{
    switch (index) {
    case kPropName:
        value.SetText(m_strName);
        break;
    case kPropHeight:
        value.SetLong(m_nHeight);
        break;
    default:
        ORV_ASSERT(0, "ExtrudeBuild");
        break;
    }
}

int CExtrudeBuild::OnPropertyValueChanged(int index, const prop_data& value)
{
    AssertWriteEnabled(1, 1, 1, 0);
    switch (index) {
    case kPropName:
        m_strName = value.szValue;
        break;
    case kPropHeight:
        // A height outside 1 mm .. 1 km is ignored without a word.
        if (value.lValue > 0 && value.lValue <= kMaxPanelHeight)
            m_nHeight = static_cast<int>(value.lValue);
        break;
    default:
        ORV_ASSERT(0, "ExtrudeBuild");
        break;
    }
    return dex::eOk;
}

void CExtrudeBuild::OnMakeDisplayBuf(unsigned long flags, decViewFilter& filter)
{
    decBuilder::OnMakeDisplayBuf(flags, filter);
}

int CExtrudeBuild::MakeMesh(decMesh3** out) const
{
    if (!out || m_ptsBase.size() < 3)
        return 0;
    auto* mesh = new decMesh3();
    // A loaded building whose height is 0 gives no prism: report no mesh rather than an
    // empty one.
    if (!mesh->CreateExtrude(static_cast<int>(m_ptsBase.size()), &m_ptsBase[0], 1,
                             GeVector3d::kZAxis * static_cast<double>(m_nHeight), 1, 0, 0)) {
        delete mesh;
        return 0;
    }
    *out = mesh;
    return 1;
}
