#include "decObjectId.h"

#include <algorithm>

#include "DbDatabase.h"
#include "SerializeFilter.h"
#include "WorkingDrawing.h"
#include "decSelectSet.h"

decObject* decObjectId::GetObjectA() const
{
    if (IsNull()) return nullptr;
    const DbDatabase* db = dec::GetWorkingDatabase();
    return db ? db->GetObjectById(*this) : nullptr;
}

decObject* decObjectId::OpenForWrite() const
{
    decObject* object = GetObjectA();
    if (!object || object->IsErased()) return nullptr;
    return object->OpenForWrite() == dex::eOk ? object : nullptr;
}

void decObjectId::Serialize(SerializeFilter& filter)
{
    if (filter.IsStoring())
        filter.WriteU64(m_handle);
    else
        m_handle = filter.ReadU64();
}

void decObjectIdArray::Serialize(SerializeFilter& filter)
{
    if (filter.IsStoring()) {
        filter << static_cast<unsigned>(size());
        for (decObjectId& id : *this) id.Serialize(filter);
        return;
    }
    decObjectIdArray ids(filter.ReadCount(8));
    for (decObjectId& id : ids) id.Serialize(filter);
    swap(ids);
}

decObjectId decSelectSet::GetAt(int i) const
{
    if (i < 0 || i >= GetCount()) return decObjectId();
    return m_ids[static_cast<std::size_t>(i)];
}

decDbEntity* decSelectSet::GetEnt(int i) const
{
    return decDbEntity::Cast(GetAt(i).GetObjectA());
}

void decSelectSet::Add(const decObjectId& id)
{
    if (!id.IsNull() && m_handles.insert(id.Handle()).second) m_ids.push_back(id);
}

void decSelectSet::Remove(const decObjectId& id)
{
    if (m_handles.erase(id.Handle()) != 0) std::erase(m_ids, id);
}

void decSelectSet::Clear()
{
    m_ids.clear();
    m_handles.clear();
}
