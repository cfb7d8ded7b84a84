#include "decDbEntity.h"

#include <string>
#include <utility>

#include "DbDatabase.h"
#include "EventLog.h"
#include "decBuilder.h"

DEC_IMPLEMENT_ABSTRACT_CLASS(decDbEntity, decDbObject, "实体")
DEC_IMPLEMENT_ABSTRACT_CLASS(decDbEntity2d, decDbEntity, "二维实体")
DEC_IMPLEMENT_CLASS(decDbEntity3d, decDbEntity, "三维网格", 1)

int decDbEntity::GetMesh(decMesh3*& mesh, GeMatrix3d& tm)
{
    mesh = nullptr;
    tm = GetLocalTM();
    return 0;
}

GePolygonIterator* decDbEntity::NewPolygonIterator() const
{
    auto* iterator = new GePolygonIterator();
    NewPolygonIterator(*iterator);
    return iterator;
}

int decDbEntity::NewPolygonIterator(GePolygonIterator& iterator) const
{
    iterator.Clear();
    for (const GePolygon& polygon : GetPolygons()) {
        const GePoint3d* pts = polygon.GetVertexArray();
        iterator.AddLoop(std::vector<GePoint3d>(pts, pts + polygon.GetCountVertex()), !polygon.IsPolyline(), 0);
    }
    iterator.start();
    return dex::eOk;
}

int decDbEntity::EnumPolygons(EnumShapePolygonCallback& cb) const
{
    const std::vector<GePolygon> polygons = GetPolygons();
    if (polygons.empty()) return 0;
    for (std::size_t i = 0; i < polygons.size(); ++i) cb.OnMap(static_cast<int>(i), polygons[i]);
    return 1;
}

int decDbEntity::GetSubObjectSelectSet(BitArray& picked) const
{
    picked = m_subSelection;
    return m_subSelection.IsEmpty() ? 0 : 1;
}

const GeBoundBox3d& decDbEntity::GetBoundBox() const
{
    // An entity outside a drawing may still be filled in without the write protocol: its
    // extents are found anew each time.
    if (!m_boxKnown || !IsStored()) m_box = ComputeBoundBox();
    m_boxKnown = IsStored();
    return m_box;
}

void decDbEntity::ForgetBoundBox() const
{
    // Extents not known since they were last forgotten have been noted then: the drawing's
    // indexes find them anew when they next take the note, however often they change before.
    if (!std::exchange(m_boxKnown, false)) return;
    if (DbDatabase* db = GetDatabase()) db->NoteExtentsChanged(*this);
}

void decDbEntity::SetSubObjectSelectSet(const BitArray& picked)
{
    m_subSelection = picked;
    if (DbDatabase* db = GetDatabase()) db->NoteSelection(*this);
}

GeBoundBox3d decDbEntity::ComputeBoundBox() const
{
    GeBoundBox3d box;
    for (const GePolygon& polygon : GetPolygons())
        for (int i = 0; i < polygon.GetCountVertex(); ++i) box.Extend(polygon.GetVertexArray()[i]);
    if (box.IsEmpty()) {
        decViewFilter drawn;
        Draw(drawn);
        for (const DrawnPrimitive& item : drawn.Primitives())
            for (const GePoint3d& p : item.points) box.Extend(p);
    }
    return box;
}

void decDbEntity::SetSelected(int selected)
{
    if (selected != 0 && selected != 1) host::EventLog::Instance().Call("SetSelected " + std::to_string(selected));
    m_selected = selected != 0;
    if (DbDatabase* db = GetDatabase()) db->NoteSelection(*this);
}

void decDbEntity::SetEntityColor(const Q3dColor& colour)
{
    AssertWriteEnabled(1, 1, 1, 0);
    m_colour = colour;
    m_hasColour = true;
}

void decDbEntity::Draw(decViewFilter&) const {}

int decDbEntity::TransformBy(const GeMatrix3d&)
{
    AssertWriteEnabled(1, 1, 1, 0);
    return dex::eOk;
}

int decDbEntity2d::OnWorldDraw(decViewFilter&)
{
    return dex::eOk;
}

void decDbEntity2d::GetGripPoints(GePoint3dArray&) const {}

int decDbEntity2d::MoveGripPointsAt(const std::vector<int>&, const GeVector3d&)
{
    return dex::eOk;
}


void decDbEntity2d::Draw(decViewFilter& filter) const
{
    filter.SetColor(GetEntityColor(), 0);
    // Drawing does not change the entity; the protocol's draw operation is not const.
    const_cast<decDbEntity2d*>(this)->OnWorldDraw(filter);
}

decDbEntity3d::decDbEntity3d(decBuilder* builder, const GeMatrix3d& tm) : m_builder(builder)
{
    SetLocalTM(tm);
    if (m_builder) m_builder->m_entity = this;
    m_meshDirty = true;
}

decDbEntity3d::decDbEntity3d(decMesh3* mesh, const GeMatrix3d& tm) : m_mesh(mesh)
{
    SetLocalTM(tm);
}

decDbEntity3d::~decDbEntity3d()
{
    if (m_builder) m_builder->m_entity = nullptr;
}

int decDbEntity3d::TransformBy(const GeMatrix3d& tm)
{
    return decDbObject::TransformBy(tm);
}

decObject* decDbEntity3d::GetBaseObject() const
{
    return m_builder.get();
}

void decDbEntity3d::RegenMesh() const
{
    m_meshDirty = false;
    if (!m_builder) return;
    decMesh3* made = nullptr;
    if (m_builder->MakeMesh(&made) && made)
        m_mesh.reset(made);
    else
        m_mesh.reset();
}

decMesh3* decDbEntity3d::GetMesh() const
{
    if (m_meshDirty) RegenMesh();
    return m_mesh.get();
}

int decDbEntity3d::GetMesh(decMesh3*& mesh, GeMatrix3d& tm)
{
    mesh = GetMesh();
    tm = GetNodeTm();
    return mesh ? 1 : 0;
}

std::vector<GePolygon> decDbEntity3d::GetPolygons() const
{
    std::vector<GePolygon> polygons;
    const decMesh3* mesh = GetMesh();
    if (!mesh) return polygons;
    const GeMatrix3d tm = GetNodeTm();
    for (int i = 0; i < mesh->GetCountPolygon(); ++i) polygons.emplace_back(mesh->FacePoints(i, tm), false);
    return polygons;
}

GeBoundBox3d decDbEntity3d::ComputeBoundBox() const
{
    const decMesh3* mesh = GetMesh();
    return mesh ? mesh->GetBoundBox(GetNodeTm()) : GeBoundBox3d();
}

void decDbEntity3d::Draw(decViewFilter& filter) const
{
    filter.SetColor(GetEntityColor(), 0);
    filter.PushTransform(GetNodeTm());
    if (m_builder) {
        m_builder->OnMakeDisplayBuf(0, filter);
    } else if (const decMesh3* mesh = GetMesh()) {
        for (int i = 0; i < mesh->GetCountPolygon(); ++i) {
            const auto points = mesh->FacePoints(i, GeMatrix3d());
            filter.Polygon(0, static_cast<int>(points.size()), points.data(), 1);
        }
    }
    filter.PopTransform();
}

void decDbEntity3d::Serialize(SerializeFilter& filter)
{
    decDbEntity::Serialize(filter);
    if (filter.IsStoring()) {
        if (m_mesh) {
            filter << true;
            m_mesh->Serialize(filter);
        } else {
            filter << false;
        }
        return;
    }
    bool hasMesh = false;
    filter >> hasMesh;
    if (!hasMesh) {
        m_mesh.reset();
        return;
    }
    auto mesh = std::make_unique<decMesh3>();
    mesh->Serialize(filter);
    m_mesh = std::move(mesh);
}
