#include "LegacyModelFixture.h"

#include <cstring>

#include "DbDatabase.h"
#include "QuickBuilding.h"
#include "QuickWindow.h"
#include "WorkingDrawing.h"

namespace LegacyModel {

namespace {

decObjectId Add(decBuilder* builder, const GeMatrix3d& tm)
{
    DbAutoOpen open;
    decObjectId id;
    open.db->CreateNewEntity(open.db->GetTableLayer()->GetCurrentLayerID(), builder, tm, id);
    return id;
}

template <class T>
void Append(std::vector<std::uint8_t>& data, T v)
{
    std::uint8_t bytes[sizeof(T)];
    std::memcpy(bytes, &v, sizeof(T));
    data.insert(data.end(), bytes, bytes + sizeof(T));
}

}  // namespace

GeMatrix3d SillFrame(const GePoint3d& middle, const GeVector3d& along)
{
    GeVector3d x = along;
    x.Normalize();
    GeMatrix3d tm;
    tm.SetCoordSystem(middle, x, GeVector3d::kZAxis.CrossProduct(x), GeVector3d::kZAxis);
    return tm;
}

decObjectId AddWindow(const char* number, int length, int height, int household, const GeMatrix3d& tm)
{
    auto* window = new CQuickWindow();
    window->Set(number, length, height);
    window->SetHouseholdNo(household);
    return Add(window, tm);
}

decObjectId AddBuilding(int number, const GePoint3dArray& world, int floors, int extraHeight,
                        const std::vector<float>& storeys, const char* name)
{
    auto* building = new CQuickBuilding();
    building->Set(number, world, floors, extraHeight, storeys, name);
    return Add(building, SillFrame(world[0], world[1] - world[0]));
}

void BuildExample()
{
    host::NewDrawing();
    DbDatabase* db = dec::GetWorkingDatabase();
    db->OpenForWrite();
    db->GetTableLayer()->SetCurrentLayerID(db->GetTableLayer()->CreateNewLayer("旧版模型", 0x808080)->GetID());
    db->Close();
    // Building 1, unnamed: six storeys of 3 m on a 20 × 12 m plan.
    const decObjectId first = AddBuilding(1, {{0, 60000, 0}, {20000, 60000, 0}, {20000, 72000, 0}, {0, 72000, 0}}, 6,
                                          0, std::vector<float>(6, 3000.0f), "无");
    // Building 2, "商业楼": a 0.6 m plinth and three storeys of 4.5 m.
    AddBuilding(2, {{30000, 60000, 0}, {45000, 60000, 0}, {45000, 70000, 0}, {30000, 70000, 0}}, 3, 600,
                std::vector<float>(3, 4500.0f), "商业楼");
    // Building 1's south windows: x runs from the right end to the left end as seen from
    // outside (westwards), so y = z × x points out of the building.
    decObjectIdArray windows;
    const GeVector3d west(-1, 0, 0);
    windows.Add(AddWindow("C1-1-1", 1500, 1800, 0, SillFrame({5000, 60000, 900}, west)));
    windows.Add(AddWindow("C1-1-2", 1800, 1800, 0, SillFrame({12000, 60000, 900}, west)));
    windows.Add(AddWindow("C1-2-1", 1500, 1500, 201, SillFrame({5000, 60000, 3900}, west)));
    windows.Add(AddWindow("C1-2-2", 1800, 1500, 202, SillFrame({12000, 60000, 3900}, west)));
    decDbEntity* building = db->GetObjectById(first);
    building->OpenForWrite();
    CQuickBuilding::Cast(building->GetBaseObject())->AddWindows(windows);
    building->Close();
}

Bytes& Bytes::Int(std::int32_t v) { Append(m_data, v); return *this; }
Bytes& Bytes::U64(std::uint64_t v) { Append(m_data, v); return *this; }
Bytes& Bytes::Float(float v) { Append(m_data, v); return *this; }
Bytes& Bytes::Double(double v) { Append(m_data, v); return *this; }
Bytes& Bytes::Bool(bool v) { m_data.push_back(v ? 1 : 0); return *this; }
Bytes& Bytes::Raw(const std::string& bytes) { m_data.insert(m_data.end(), bytes.begin(), bytes.end()); return *this; }
Bytes& Bytes::Text(const std::string& text) { Append(m_data, static_cast<std::uint32_t>(text.size())); return Raw(text); }

}  // namespace LegacyModel
