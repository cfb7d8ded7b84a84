#include "decBuilder.h"

#include "decDbEntity.h"

DEC_IMPLEMENT_ABSTRACT_CLASS(decBuilder, decDbObject, "构造器")

int decBuilder::MakeMesh(decMesh3**) const
{
    return 0;
}

void decBuilder::OnMakeDisplayBuf(unsigned long, decViewFilter& filter)
{
    const decMesh3* mesh = m_entity ? m_entity->GetMesh() : nullptr;
    if (!mesh) return;
    const GeMatrix3d identity;
    for (int i = 0; i < mesh->GetCountPolygon(); ++i) {
        const auto points = mesh->FacePoints(i, identity);
        filter.Polygon(0, static_cast<int>(points.size()), points.data(), 1);
    }
}

int decBuilder::Erase()
{
    if (!m_entity || !(IsOpenForWrite() || m_entity->IsOpenForWrite())) return decObject::Erase();
    // Write access to the builder counts as write access to its entity.
    m_entity->OpenForWrite();
    const int result = m_entity->Erase();
    m_entity->Close();
    return result;
}

decObjectIdArray decBuilder::GetOutputObjs() const
{
    decObjectIdArray ids;
    if (m_entity && !m_entity->GetObjectId().IsNull()) ids.push_back(m_entity->GetObjectId());
    return ids;
}

DbDatabase* decBuilder::GetDatabase() const
{
    return m_entity ? m_entity->GetDatabase() : nullptr;
}

decObjectId decBuilder::GetObjectId() const
{
    return m_entity ? m_entity->GetObjectId() : decObjectId();
}

bool decBuilder::IsStored() const
{
    return m_entity && m_entity->GetDatabase() != nullptr;
}

bool decBuilder::IsWriteEnabledByOwner() const
{
    return m_entity && m_entity->IsOpenForWrite();
}

void decBuilder::OnModified()
{
    if (m_entity) m_entity->MarkMeshDirty();
}
