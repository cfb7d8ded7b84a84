#include "QuickBuilding.h"

#include <algorithm>
#include <new>
#include <optional>

#include "AssertReport.h"
#include "CheckedNumbers.h"
#include "GetMinMax.h"
#include "LegacyRecordText.h"
#include "QuickWindow.h"
#include "Tools.h"
#include "decDbEntity.h"
#include "WinApp.h"

namespace {

// Records from this class version on carry the name.
constexpr unsigned kNameVersion = 3;
constexpr const char* kUnnamed = "无";
// A closing point this near the first point repeats it.
constexpr double kClosingRepeat = 1.0;
constexpr std::size_t kPointBytes = 3 * sizeof(double);

enum Property { kPropName = 0, kPropNumber = 1, kPropFloors = 2, kPropHeight = 3 };

const TPropertyDef kProperties[] = {
    {"旧版建筑信息", "名称", "输入名称", kPropName, 4, 1, 0},
    {"旧版建筑信息", "楼号", "楼号", kPropNumber, 1, 1, 0},
    {"旧版建筑信息", "层数", "层数", kPropFloors, 1, 1, 0},
    {"旧版建筑信息", "高度(米)", "高度 单位:米", kPropHeight, 2, 1, 4},
    {nullptr, nullptr, nullptr, 0, 0, 0, 0},
};

bool IsUnnamed(const CString& name) { return name.IsEmpty() || name == kUnnamed; }

CString NumberText(int number)
{
    CString text;
    text.Format("%d", number);
    return text;
}

void WritePoints(SerializeFilter& filter, const GePoint3dArray& points)
{
    filter << static_cast<int>(points.size());
    for (const GePoint3d& p : points)
        filter << p;
}

GePoint3dArray ReadPoints(SerializeFilter& filter)
{
    GePoint3dArray points(filter.ReadCount(kPointBytes));
    for (GePoint3d& p : points)
        filter >> p;
    return points;
}

// The wall under the edge from a to b, up by h.
void AppendWall(const GePoint3d& a, const GePoint3d& b, double h, GePoint3dArray& wall)
{
    wall.push_back(a);
    wall.push_back(b);
    wall.push_back(b + GeVector3d(0, 0, h));
    wall.push_back(a + GeVector3d(0, 0, h));
}

// The legacy window behind a listed id, when the id leads to a live entity built by one.
const CQuickWindow* ListedWindow(const decObjectId& id)
{
    const decObject* object = id.GetObjectA();
    if (!object || object->IsErased())
        return nullptr;
    const decDbEntity* entity = decDbEntity::Cast(object);
    return entity ? CQuickWindow::Cast(entity->GetBaseObject()) : nullptr;
}

}  // namespace

decObjectClassInfo* CQuickBuilding::Desc()
{
    static decObjectClassInfo info{"QCQuickBuilding", "旧版建筑", "comn", 3, decBuilder::Desc(),
                                   &CQuickBuilding::CreateNewObject, sizeof(CQuickBuilding), {}};
    return &info;
}

decObject* CQuickBuilding::CreateNewObject()
{
    try {
        return new CQuickBuilding();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void GetIntMaxMin(const int* values, int count, int& largest, int& smallest)
{
    MinMaxOf(values, count, &largest, &smallest);
}

// ---- data ----------------------------------------------------------------------------

CString CQuickBuilding::GetName()
{
    if (IsUnnamed(m_name))
        m_name = NumberText(m_number);
    return m_name;
}

void CQuickBuilding::SetNumber(int number)
{
    if (number == m_number)
        return;
    AssertWriteEnabled(1, 1, 1, 0);
    m_number = number;
}

void CQuickBuilding::GetData(int& number, GePoint3dArray& outline, int& floors, int& extraHeight,
                             std::vector<float>& storeyHeights, CString& name)
{
    number = m_number;
    GetOutline(outline);
    floors = m_floors;
    extraHeight = m_extraHeight;
    const std::size_t count = std::min(m_storeyHeights.size(), static_cast<std::size_t>(std::max(m_floors, 0)));
    storeyHeights.assign(m_storeyHeights.begin(), m_storeyHeights.begin() + static_cast<std::ptrdiff_t>(count));
    name = GetName();
}

void CQuickBuilding::GetOutline(GePoint3dArray& outline) const { outline = m_outline; }

bool CQuickBuilding::GetWallFace(int i, GePoint3dArray& wall) const
{
    const int m = GetOutlineCount();
    if (i < 0 || i >= m)
        return false;
    AppendWall(m_outline[static_cast<std::size_t>(i)], m_outline[static_cast<std::size_t>((i + 1) % m)],
               m_height * 1000.0, wall);
    return true;
}

int CQuickBuilding::GetWallFaces(std::vector<GePoint3dArray>& walls) const
{
    if (m_outline.size() < 2)
        return 0;
    for (int i = 0; i < GetOutlineCount(); ++i) {
        walls.emplace_back();
        GetWallFace(i, walls.back());
    }
    return m_floors;
}

void CQuickBuilding::GetAllFaces(std::vector<GePoint3dArray>& faces) const
{
    faces = m_rings;
    GetWallFaces(faces);
}

void CQuickBuilding::Set(int number, GePoint3dArray points, int floors, int extraHeight,
                         const std::vector<float>& storeyHeights, const CString& name)
{
    if (points.size() < 2 || !AllFinite(points))
        return;
    // The height in metres, summed in single precision storey by storey.
    const std::size_t count = std::min(storeyHeights.size(), static_cast<std::size_t>(std::max(floors, 0)));
    auto height = static_cast<float>(extraHeight / 1000.0 + 0.0);
    for (std::size_t i = 0; i < count; ++i) {
        const std::optional<float> sum = StoredAs<float>(height + storeyHeights[i] / 1000.0);
        if (!sum)
            return;
        height = *sum;
    }
    CTools::ManageGePoint3dArray(points, 1, 1e-6);
    // Cleaning can leave too few points to make an outline of; the building stays as it was.
    if (points.size() < 2)
        return;
    AssertWriteEnabled(1, 1, 1, 0);
    if (CTools::IsPtArrayClockWise(points))
        CTools::ReverseP3dArray(points);

    GeVector3d d = points[1] - points[0];
    d.z = 0.0;
    d.Normalize(0.001);
    const double turn = d.Length() == 0.0 ? 0.0 : d.AngleTo(GeVector3d::kXAxis, GeVector3d::kZAxis, 1e-6);
    const GePoint3d first = points[0];
    for (GePoint3d& p : points) {
        p = GePoint3d(p.x - first.x, p.y - first.y, p.z - first.z);
        p.RotateBy(turn, GeVector3d::kZAxis);
    }

    m_number = number;
    m_outline.assign(points.begin(), points.end() - 1);
    if (points.back().DistanceTo(points.front()) > kClosingRepeat)
        m_outline.push_back(points.back());

    m_floors = floors;
    m_extraHeight = extraHeight;
    m_storeyHeights.assign(storeyHeights.begin(), storeyHeights.begin() + static_cast<std::ptrdiff_t>(count));
    m_height = height;

    m_rings.clear();
    m_rings.push_back(m_outline);
    GePoint3dArray roof = m_outline;
    for (GePoint3d& p : roof)
        p.z += m_height * 1000.0;
    m_rings.push_back(std::move(roof));
    m_name = name;
}

// ---- window list ---------------------------------------------------------------------

void CQuickBuilding::AddWindows(const decObjectIdArray& ids)
{
    AssertWriteEnabled(1, 1, 1, 0);
    m_windows.insert(m_windows.end(), ids.begin(), ids.end());
}

bool CQuickBuilding::RemoveWindowAt(int index)
{
    AssertWriteEnabled(1, 1, 1, 0);
    if (index < 0 || index >= m_windows.GetSize())
        return false;
    m_windows.erase(m_windows.begin() + index);
    return true;
}

void CQuickBuilding::RemoveWindows(const decObjectIdArray& ids)
{
    AssertWriteEnabled(1, 1, 1, 0);
    for (const decObjectId& id : ids) {
        const auto found = std::find(m_windows.begin(), m_windows.end(), id);
        if (found != m_windows.end())
            m_windows.erase(found);
    }
}

int CQuickBuilding::IsInvalidId(const decObjectId& id)
{
    const decObject* object = id.GetObjectA();
    return (!object || object->IsErased()) ? 1 : 0;
}

int CQuickBuilding::PurgeWindowIds()
{
    std::erase_if(m_windows, [](const decObjectId& id) { return IsInvalidId(id) == 1; });
    return m_windows.GetSize();
}

void CQuickBuilding::GetWindowIds(decObjectIdArray& ids)
{
    AssertWriteEnabled(1, 1, 1, 0);
    std::erase_if(m_windows, [](const decObjectId& id) { return IsInvalidId(id) == 1; });
    ids = m_windows;
}

decDbEntity* CQuickBuilding::GetWindowEntity(int index)
{
    if (index < 0 || index >= m_windows.GetSize())
        return nullptr;
    const decObjectId id = m_windows[static_cast<std::size_t>(index)];
    if (ListedWindow(id))
        return decDbEntity::Cast(id.GetObjectA());
    AssertWriteEnabled(1, 1, 1, 0);
    m_windows.erase(m_windows.begin() + index);
    return nullptr;
}

bool CQuickBuilding::KeepListedWindow(std::size_t index, bool requestWrite, int& building, int& floor, int& position)
{
    const decObjectId id = m_windows[index];
    if (const CQuickWindow* window = ListedWindow(id)) {
        decObject* entity = id.GetObjectA();
        entity->OpenForRead();
        building = window->GetNumberPart1();
        floor = window->GetNumberPart2();
        position = window->GetNumberPart3();
        entity->Close();
        return true;
    }
    if (requestWrite)
        AssertWriteEnabled(1, 1, 1, 0);
    m_windows.erase(m_windows.begin() + static_cast<std::ptrdiff_t>(index));
    return false;
}

int CQuickBuilding::CountFloorWindows(int floor)
{
    int count = 0;
    for (std::size_t i = 0; i < m_windows.size();) {
        int building = 0, onFloor = 0, position = 0;
        if (!KeepListedWindow(i, true, building, onFloor, position))
            continue;
        count += onFloor == floor ? 1 : 0;
        ++i;
    }
    return count;
}

bool CQuickBuilding::FindWindow(int floor, int position)
{
    for (std::size_t i = 0; i < m_windows.size();) {
        int building = 0, onFloor = 0, at = 0;
        if (!KeepListedWindow(i, true, building, onFloor, at))
            continue;
        if (onFloor == floor && at == position)
            return true;
        ++i;
    }
    return false;
}

int CQuickBuilding::GetNextWindowIndex(int floor)
{
    bool any = false;
    int largest = 0;
    for (std::size_t i = 0; i < m_windows.size();) {
        int building = 0, onFloor = 0, position = 0;
        if (!KeepListedWindow(i, true, building, onFloor, position))
            continue;
        if (onFloor == floor) {
            largest = any ? std::max(largest, position) : position;
            any = true;
        }
        ++i;
    }
    return any ? largest + 1 : 1;
}

void CQuickBuilding::GetFloorWindowIds(decObjectIdArray& ids, int floor)
{
    ids.clear();
    for (std::size_t i = 0; i < m_windows.size();) {
        int building = 0, onFloor = 0, position = 0;
        if (!KeepListedWindow(i, false, building, onFloor, position))
            continue;
        if (building != m_number) {
            m_windows.erase(m_windows.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        if (onFloor == floor)
            ids.push_back(m_windows[i]);
        ++i;
    }
}

// ---- linked object -------------------------------------------------------------------

void CQuickBuilding::SetLinkObject(const decObjectId& id)
{
    AssertWriteEnabled(1, 1, 1, 0);
    m_linked = id;
    m_linkSet = true;
}

void CQuickBuilding::ClearLinkObject()
{
    AssertWriteEnabled(1, 1, 1, 0);
    m_linkSet = false;
}

void CQuickBuilding::ClearLinkWhenStale()
{
    if (m_linkSet && IsInvalidId(m_linked)) {
        AssertWriteEnabled(1, 1, 1, 0);
        m_linkSet = false;
    }
}

decDbEntity* CQuickBuilding::GetLinkEntity()
{
    ClearLinkWhenStale();
    return m_linkSet ? decDbEntity::Cast(m_linked.GetObjectA()) : nullptr;
}

bool CQuickBuilding::GetLinkObjectId(decObjectId& id)
{
    ClearLinkWhenStale();
    if (!m_linkSet)
        return false;
    id = m_linked;
    return true;
}

bool CQuickBuilding::HasLinkObject()
{
    ClearLinkWhenStale();
    return m_linkSet;
}

// ---- host operations -----------------------------------------------------------------

void CQuickBuilding::Serialize(SerializeFilter& filter)
{
    decBuilder::Serialize(filter);
    const bool file = filter.IsFileSerialize() != 0;
    const bool hasName = !(file && filter.GetClassVersion() < kNameVersion);
    if (filter.IsStoring()) {
        decObjectIdArray windows = m_windows;
        windows.Serialize(filter);
        decObjectId linked = m_linked;
        linked.Serialize(filter);
        filter << m_number;
        WriteLegacyText(filter, m_secondText);
        WritePoints(filter, m_outline);
        filter << m_floors << static_cast<long>(m_extraHeight);
        // A table shorter than the floors is filled up with zero heights.
        for (int i = 0; i < m_floors; ++i)
            filter << (static_cast<std::size_t>(i) < m_storeyHeights.size() ? m_storeyHeights[static_cast<std::size_t>(i)]
                                                                             : 0.0f);
        filter << m_height << m_linkSet << static_cast<int>(m_rings.size());
        for (const GePoint3dArray& ring : m_rings)
            WritePoints(filter, ring);
        if (hasName)
            filter << m_name;
        return;
    }
    // Read everything first, so a refused record leaves the building as it was.
    decObjectIdArray windows;
    windows.Serialize(filter);
    decObjectId linked;
    linked.Serialize(filter);
    int number = 0;
    filter >> number;
    CString secondText = ReadLegacyText(filter);
    GePoint3dArray outline = ReadPoints(filter);
    const int floors = static_cast<int>(filter.ReadCount(sizeof(float)));
    long extraHeight = 0;
    filter >> extraHeight;
    std::vector<float> storeyHeights(static_cast<std::size_t>(floors));
    for (float& h : storeyHeights)
        filter >> h;
    float height = 0.0f;
    bool linkSet = false;
    filter >> height >> linkSet;
    std::vector<GePoint3dArray> rings(filter.ReadCount(sizeof(int)));
    for (GePoint3dArray& ring : rings)
        ring = ReadPoints(filter);
    CString name;
    if (hasName)
        filter >> name;
    if (file && IsUnnamed(name))
        name = NumberText(number);

    m_windows = std::move(windows);
    m_linked = linked;
    m_number = number;
    m_secondText = std::move(secondText);
    m_outline = std::move(outline);
    m_floors = floors;
    m_extraHeight = static_cast<int>(extraHeight);
    m_storeyHeights = std::move(storeyHeights);
    m_height = height;
    m_linkSet = linkSet;
    m_rings = std::move(rings);
    m_name = std::move(name);
}

void CQuickBuilding::OnMapObjectIds(decIdMapper& mapper)
{
    decBuilder::OnMapObjectIds(mapper);
    for (decObjectId& id : m_windows)
        mapper.MapId(id);
    if (m_linkSet)
        mapper.MapId(m_linked);
}

void CQuickBuilding::GetLinkObjects(decObjectArray& objects) const
{
    decBuilder::GetLinkObjects(objects);
    for (const decObjectId& id : m_windows)
        if (decObject* window = id.GetObjectA())
            objects.push_back(window);
    if (m_linkSet)
        if (decObject* linked = m_linked.GetObjectA())
            objects.push_back(linked);
}

const TPropertyDef* CQuickBuilding::GetObjectPropertyDefine() const { return kProperties; }

void CQuickBuilding::OnPropertyValueGet(int index, prop_data& value)
{
    switch (index) {
    case kPropName: value.SetText(m_name); break;
    case kPropNumber: value.SetLong(m_number); break;
    case kPropFloors: value.SetLong(m_floors); break;
    case kPropHeight: value.SetDouble(m_height); break;
    default: ORV_ASSERT(0, "QuickBuilding"); break;
    }
}

int CQuickBuilding::OnPropertyValueChanged(int, const prop_data&)
{
    AssertWriteEnabled(1, 1, 1, 0);
    AFX_MAINTAIN_STATE2 guard(AfxGetStaticModuleState());
    return dex::eOk;
}

int CQuickBuilding::MakeMesh(decMesh3** out) const
{
    const std::size_t n = m_outline.size();
    if (n == 0 || m_storeyHeights.empty() || m_floors == 0)
        return 1;
    // A ring shorter than the outline (a damaged or foreign record) makes no mesh.
    if (std::any_of(m_rings.begin(), m_rings.end(), [n](const GePoint3dArray& ring) { return ring.size() < n; }))
        return 1;

    const double h = m_height * 1000.0;
    auto* mesh = new decMesh3();
    GePoint3d* v = mesh->SetCountVertex(static_cast<int>((m_rings.size() + 4) * n));
    decPolygonBuf faces(1024);
    int next = 0;
    std::vector<int> indices(n);
    for (const GePoint3dArray& ring : m_rings) {
        for (std::size_t i = 0; i < n; ++i) {
            v[next] = ring[i];
            indices[i] = next++;
        }
        if (n > 2)
            faces.AppendPolygon(static_cast<int>(n), indices.data(), 0, 0);
    }
    for (std::size_t k = 0; k < n; ++k) {
        GePoint3dArray wall;
        AppendWall(m_outline[k], m_outline[(k + 1) % n], h, wall);
        const int quad[4] = {next, next + 1, next + 2, next + 3};
        for (const GePoint3d& p : wall)
            v[next++] = p;
        faces.AppendPolygon(4, quad, 0, 0);
    }
    mesh->SetPolygonFrom(faces);
    *out = mesh;
    return 1;
}
