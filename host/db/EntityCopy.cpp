#include "EntityCopy.h"

#include <map>
#include <memory>

#include "DbDatabase.h"
#include "decBuilder.h"
#include "decDbForeignObject.h"

namespace host {
namespace {

class CopyMapper : public decIdMapper {
public:
    explicit CopyMapper(const std::map<decObjectId, decObjectId>& map) : m_map(map) {}
    void MapId(decObjectId& id) override
    {
        if (const auto it = m_map.find(id); it != m_map.end()) id = it->second;
    }

private:
    const std::map<decObjectId, decObjectId>& m_map;
};

// The object that defines an entity's record: its builder, or the entity itself.
decDbObject* Defining(decDbEntity& entity)
{
    if (auto* solid = decDbEntity3d::Cast(&entity); solid && solid->GetBuilder()) return solid->GetBuilder();
    return &entity;
}

// A new object of the same class with the same record, or null.
std::unique_ptr<decDbObject> Duplicate(decDbObject& original)
{
    const decObjectClassInfo* info = original.IsA();
    if (!info->factory) return nullptr;
    MemorySerializeFilter out;
    out.SetClassVersion(info->version);
    original.Serialize(out);
    std::unique_ptr<decObject> made(info->factory());
    auto* copy = dynamic_cast<decDbObject*>(made.get());
    if (!copy) return nullptr;
    LoadFilter in(out.Bytes());
    in.SetClassVersion(info->version);
    copy->Serialize(in);
    made.release();
    return std::unique_ptr<decDbObject>(copy);
}

}  // namespace

std::unique_ptr<decDbEntity> MovedCopy(decDbEntity& entity, const GeMatrix3d& move)
{
    if (decDbForeignObject::Cast(&entity)) return nullptr;
    std::unique_ptr<decDbObject> copy = Duplicate(*Defining(entity));
    if (!copy) return nullptr;
    if (auto* builder = decBuilder::Cast(copy.get())) {
        copy.release();
        return std::make_unique<decDbEntity3d>(builder, move * entity.GetLocalTM());
    }
    std::unique_ptr<decDbEntity> moved(static_cast<decDbEntity*>(copy.release()));
    moved->SetLocalTM(entity.GetLocalTM());
    moved->TransformBy(move);
    return moved;
}

std::vector<decObjectId> CopyEntities(DbDatabase& db, const std::vector<decObjectId>& sources, const GeMatrix3d& move)
{
    std::vector<decObjectId> copies;
    std::map<decObjectId, decObjectId> map;
    std::vector<decDbObject*> made;
    for (const decObjectId& source : sources) {
        decDbEntity* original = db.GetObjectById(source);
        decObjectId id;
        if (original && !original->IsErased()) {
            if (std::unique_ptr<decDbEntity> copy = MovedCopy(*original, move)) {
                decDbEntity* placed = copy.get();
                placed->SetMaterialId(original->GetMaterialId());
                // Whole before it is stored: the reactors told of the new object see its records.
                for (const auto& app : original->XDataApps()) placed->AppendAppXData(new decObjectXDataApp(*app));
                db.CreateNewEntity(original->GetLayerId(), copy.release(), id);
                placed->SetEntityColorWord(original->GetEntityColor(), original->HasEntityColor());
                map[source] = id;
                made.push_back(Defining(*placed));
            }
        }
        copies.push_back(id);
    }
    CopyMapper mapper(map);
    for (decDbObject* object : made) {
        object->OpenForWrite();
        object->OnMapObjectIds(mapper);
        object->Close();
    }
    return copies;
}

}  // namespace host
