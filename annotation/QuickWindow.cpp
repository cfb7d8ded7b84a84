#include "QuickWindow.h"

#include <cmath>
#include <new>

#include "AssertReport.h"
#include "LegacyRecordText.h"
#include "TypedNumbers.h"

namespace {

// Records from this class version on carry the household.
constexpr unsigned kHouseholdVersion = 3;
// The box's thickness across the window's plane.
constexpr double kHalfDepth = 50.0;

enum Property { kPropNumber = 0, kPropLength = 1, kPropHeight = 2, kPropHousehold = 3 };

const TPropertyDef kProperties[] = {
    {"旧版窗信息", "窗编号", "窗编号", kPropNumber, 4, 0, 0},
    {"旧版窗信息", "窗长", "窗长 单位:mm", kPropLength, 1, 0, 0},
    {"旧版窗信息", "窗高", "窗高 单位:mm", kPropHeight, 1, 0, 0},
    {"旧版窗信息", "户编号", "户编号", kPropHousehold, 1, 0, 0},
    {nullptr, nullptr, nullptr, 0, 0, 0, 0},
};

}  // namespace

decObjectClassInfo* CQuickWindow::Desc()
{
    static decObjectClassInfo info{"QCQuickWindow", "旧版窗户", "comn", 3, decBuilder::Desc(),
                                   &CQuickWindow::CreateNewObject, sizeof(CQuickWindow), {}};
    return &info;
}

decObject* CQuickWindow::CreateNewObject()
{
    try {
        return new CQuickWindow();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

int IsNonZero(double value) { return std::fabs(value) > 0.001 ? 1 : 0; }

void CQuickWindow::SetNumber(const CString& number)
{
    AssertWriteEnabled(1, 1, 1, 0);
    m_number = number;
}

int CQuickWindow::SetLength(int length)
{
    AssertWriteEnabled(1, 1, 1, 0);
    return m_length = length;
}

int CQuickWindow::SetHeight(int height)
{
    AssertWriteEnabled(1, 1, 1, 0);
    return m_height = height;
}

void CQuickWindow::Set(const CString& number, int length, int height)
{
    AssertWriteEnabled(1, 1, 1, 0);
    m_number = number;
    m_length = length;
    m_height = height;
}

int CQuickWindow::SetHouseholdNo(int householdNo) { return m_householdNo = householdNo; }

CQuickWindow::NumberParts CQuickWindow::ReadNumberParts() const
{
    const int first = m_number.Find('-');
    const int second = m_number.Find('-', first + 1);
    NumberParts parts;
    // The first part starts after the leading "C", whatever that character is.
    if (first > 0)
        parts.building = ReadLeadingInt(m_number.Mid(1, first - 1));
    if (first >= 0 && second >= 0)
        parts.floor = ReadLeadingInt(m_number.Mid(first + 1, second - first - 1));
    parts.position = ReadLeadingInt(m_number.Mid(second + 1));
    return parts;
}

void CQuickWindow::WriteNumberParts(const NumberParts& parts)
{
    m_number.Format("C%d-%d-%d", parts.building, parts.floor, parts.position);
}

int CQuickWindow::GetNumberPart1() const { return ReadNumberParts().building; }
int CQuickWindow::GetNumberPart2() const { return ReadNumberParts().floor; }
int CQuickWindow::GetNumberPart3() const { return ReadNumberParts().position; }

void CQuickWindow::SetNumberPart1(int value)
{
    NumberParts parts = ReadNumberParts();
    parts.building = value;
    WriteNumberParts(parts);
}

void CQuickWindow::SetNumberPart2(int value)
{
    NumberParts parts = ReadNumberParts();
    parts.floor = value;
    WriteNumberParts(parts);
}

void CQuickWindow::SetNumberPart3(int value)
{
    NumberParts parts = ReadNumberParts();
    parts.position = value;
    WriteNumberParts(parts);
}

void CQuickWindow::GetOutline(std::vector<GePoint3d>& points) const
{
    const double half = static_cast<double>(m_length) * 0.5;
    const double height = m_height;
    points.emplace_back(-half, 0.0, 0.0);
    points.emplace_back(half, 0.0, 0.0);
    points.emplace_back(half, 0.0, height);
    points.emplace_back(-half, 0.0, height);
}

void CQuickWindow::Serialize(SerializeFilter& filter)
{
    decBuilder::Serialize(filter);
    const bool hasHousehold = !(filter.IsFileSerialize() && filter.GetClassVersion() < kHouseholdVersion);
    if (filter.IsStoring()) {
        m_linked.Serialize(filter);
        WriteLegacyText(filter, m_number);
        filter << static_cast<long>(m_length) << static_cast<long>(m_height);
        if (hasHousehold)
            filter << static_cast<long>(m_householdNo);
        return;
    }
    // Read everything first, so a record that ends early leaves the window as it was.
    decObjectId linked;
    linked.Serialize(filter);
    CString number = ReadLegacyText(filter);
    long length = 0, height = 0, householdNo = 0;
    filter >> length >> height;
    if (hasHousehold)
        filter >> householdNo;
    m_linked = linked;
    m_number = std::move(number);
    m_length = static_cast<int>(length);
    m_height = static_cast<int>(height);
    m_householdNo = static_cast<int>(householdNo);
}

void CQuickWindow::OnMapObjectIds(decIdMapper& mapper)
{
    decBuilder::OnMapObjectIds(mapper);
    mapper.MapId(m_linked);
}

void CQuickWindow::GetLinkObjects(decObjectArray& objects) const
{
    decBuilder::GetLinkObjects(objects);
    if (decObject* linked = m_linked.GetObjectA())
        objects.push_back(linked);
}

const TPropertyDef* CQuickWindow::GetObjectPropertyDefine() const { return kProperties; }

void CQuickWindow::OnPropertyValueGet(int index, prop_data& value)
{
    switch (index) {
    case kPropNumber: value.SetText(m_number); break;
    case kPropLength: value.SetLong(m_length); break;
    case kPropHeight: value.SetLong(m_height); break;
    case kPropHousehold: value.SetLong(m_householdNo); break;
    default: ORV_ASSERT(0, "QuickWindow"); break;
    }
}

int CQuickWindow::OnPropertyValueChanged(int, const prop_data&)
{
    AssertWriteEnabled(1, 1, 1, 0);
    return dex::eOk;
}

int CQuickWindow::MakeMesh(decMesh3** out) const
{
    const double half = static_cast<double>(m_length) * 0.5;
    const double h = m_height;
    auto* mesh = new decMesh3();
    GePoint3d* v = mesh->SetCountVertex(8);
    v[0] = {-half, kHalfDepth, 0};
    v[1] = {half, kHalfDepth, 0};
    v[2] = {half, kHalfDepth, h};
    v[3] = {-half, kHalfDepth, h};
    // The back face: vertices 1, 0, 3 and 2 moved through the thickness.
    v[4] = {half, -kHalfDepth, 0};
    v[5] = {-half, -kHalfDepth, 0};
    v[6] = {-half, -kHalfDepth, h};
    v[7] = {half, -kHalfDepth, h};

    static constexpr int kFaces[6][4] = {{0, 1, 2, 3}, {4, 5, 6, 7}, {0, 5, 4, 1},
                                         {2, 7, 6, 3}, {0, 3, 6, 5}, {1, 4, 7, 2}};
    decPolygonBuf faces(1024);
    for (const auto& face : kFaces)
        faces.AppendPolygon(4, face, 0, 0);

    GePoint2d* uv = mesh->SetCountVertsUV(8);
    static constexpr GePoint2d kCorners[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (int i = 0; i < 8; ++i)
        uv[i] = kCorners[i % 4];

    mesh->SetPolygonFrom(faces);
    *out = mesh;
    return 1;
}
