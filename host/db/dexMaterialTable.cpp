#include "dexMaterialTable.h"

#include <string>

#include "EventLog.h"

DEC_IMPLEMENT_CLASS(dexMaterialTable, decObject, "材质表", 1)

long dexMaterialTable::GetIdByName(const char* name) const
{
    if (!name) return 0;
    for (const auto& material : m_materials)
        if (std::string_view(material->GetName()) == name) return material->GetMatId();
    return 0;
}

dexMaterialObj* dexMaterialTable::GetById(long id) const
{
    for (const auto& material : m_materials)
        if (material->GetMatId() == id) return material.get();
    return nullptr;
}

int dexMaterialTable::CreateNewMatObj(dexMaterialObj* material, int flag)
{
    if (!material) return 0;
    host::EventLog::Instance().Call("CreateNewMatObj flag " + std::to_string(flag));
    material->m_id = m_nextId++;
    m_materials.emplace_back(material);
    return -2;
}

void dexMaterialTable::Restore(std::unique_ptr<dexMaterialObj> material, long id)
{
    material->m_id = id;
    if (id >= m_nextId) m_nextId = id + 1;
    m_materials.push_back(std::move(material));
}
