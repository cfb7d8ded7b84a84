#pragma once
// Drawable entities. decDbEntity is the common base; decDbEntity2d entities draw
// themselves (module labels, curves, texts); decDbEntity3d entities carry a mesh made by
// their builder (or given directly, for proxy meshes) placed by their transform.
#include <cstdint>
#include <memory>
#include <vector>

#include "EntityArray.h"
#include "GeBoundBox3d.h"
#include "GeMatrix3d.h"
#include "GePoint3dArray.h"
#include "GePolygon.h"
#include "GePolygonIterator.h"
#include "Q3dColor.h"
#include "decDbObject.h"
#include "decMesh3.h"
#include "decViewFilter.h"

class decBuilder;

// Receives an entity's polygons one by one, with the index the sub-object selection uses.
class EnumShapePolygonCallback {
public:
    virtual void OnMap(int index, const GePolygon& polygon) = 0;
    virtual ~EnumShapePolygonCallback() = default;
};

class decDbEntity : public decDbObject {
    DEC_DECLARE_CLASS(decDbEntity)

public:
    // The object that defines the entity: the builder of a 3-D entity, the entity itself
    // for a 2-D entity, null for a proxy mesh.
    virtual decObject* GetBaseObject() const { return const_cast<decDbEntity*>(this); }
    virtual int Is3DEntity() const { return 0; }

    // The mesh in local coordinates and the transform that places it; 0 when the entity has
    // none. The mesh stays the entity's.
    virtual int GetMesh(decMesh3*& mesh, GeMatrix3d& tm);

    // The entity's polygons in world coordinates, in a stable order: mesh faces of a 3-D
    // entity, the vertex loop of a curve.
    virtual std::vector<GePolygon> GetPolygons() const { return {}; }
    // A new iterator over the loops (the caller deletes it), or fills the given one (-2).
    GePolygonIterator* NewPolygonIterator() const;
    int NewPolygonIterator(GePolygonIterator& iterator) const;
    // Calls cb.OnMap(index, polygon) per polygon; 0 when the entity has no polygons.
    int EnumPolygons(EnumShapePolygonCallback& cb) const;

    // Picked sub-objects (polygon indices): 1 when any is picked.
    int GetSubObjectSelectSet(BitArray& picked) const;
    void SetSubObjectSelectSet(const BitArray& picked);

    // World extents (of the polygons; for a 2-D entity without polygons, of what it draws).
    // A stored entity remembers them until it changes (every change goes through
    // AssertWriteEnabled, a 3-D entity's also through its builder).
    const GeBoundBox3d& GetBoundBox() const;
    void GetBoundBox(GeBoundBox3d& box) const { box = GetBoundBox(); }
    // Forgets the remembered extents and tells the drawing they may have changed.
    void ForgetBoundBox() const;

    // Curve vertices; none for other entities.
    virtual int GetNumVerts() const { return 0; }
    virtual GePoint3d GetVertexAt(int) const { return GePoint3d(); }

    // Marks the entity as selected (shown after DbDatabase::RebuildSysSelectSet).
    void SetSelected(int selected);
    int IsSelected() const { return m_selected ? 1 : 0; }

    void SetEntityColor(const Q3dColor& colour);
    Q3dColor GetEntityColor() const { return m_colour; }
    bool HasEntityColor() const { return m_hasColour; }
    void SetEntityColorWord(std::uint32_t colour, bool own) { m_colour = colour; m_hasColour = own; }

    long GetMaterialId() const { return m_materialId; }
    void SetMaterialId(long id) { m_materialId = id; }

    // What the entity draws: 2-D entities their OnWorldDraw, builders their display buffer.
    virtual void Draw(decViewFilter& filter) const;

    // The base of every entity's transform: a 2-D entity draws in world coordinates, so
    // its own override moves its points and the base only records the change; a 3-D entity
    // applies the transform on top of its TM. -2.
    int TransformBy(const GeMatrix3d& tm) override;

protected:
    decDbEntity() = default;
    virtual GeBoundBox3d ComputeBoundBox() const;
    // A field is about to change: the extents are found again when next asked for.
    void OnModified() override { ForgetBoundBox(); }

private:
    Q3dColor m_colour;
    bool m_hasColour = false;
    long m_materialId = 0;
    bool m_selected = false;
    BitArray m_subSelection;
    mutable GeBoundBox3d m_box;
    mutable bool m_boxKnown = false;
};

class decDbEntity2d : public decDbEntity {
    DEC_DECLARE_CLASS(decDbEntity2d)

public:
    // Draws the entity into the filter. -2.
    virtual int OnWorldDraw(decViewFilter& filter);
    // Appends the grip points.
    virtual void GetGripPoints(GePoint3dArray& grips) const;
    // Moves the grips of the given indices. -2.
    virtual int MoveGripPointsAt(const std::vector<int>& indices, const GeVector3d& offset);

    void Draw(decViewFilter& filter) const override;

protected:
    decDbEntity2d() = default;
};

class decDbEntity3d : public decDbEntity {
    DEC_DECLARE_CLASS(decDbEntity3d)

public:
    decDbEntity3d() = default;
    // A 3-D entity of a builder (owned from now on), placed by tm.
    decDbEntity3d(decBuilder* builder, const GeMatrix3d& tm);
    // A proxy mesh entity (the mesh is owned from now on).
    decDbEntity3d(decMesh3* mesh, const GeMatrix3d& tm);
    ~decDbEntity3d() override;

    decObject* GetBaseObject() const override;
    int Is3DEntity() const override { return 1; }
    // TM := tm × TM. -2.
    int TransformBy(const GeMatrix3d& tm) override;
    decBuilder* GetBuilder() const { return m_builder.get(); }

    GeMatrix3d GetTM() const { return GetLocalTM(); }
    // The transform from mesh to world; no nesting in this host, so the same as GetTM.
    GeMatrix3d GetNodeTm() const { return GetLocalTM(); }

    using decDbEntity::GetMesh;
    // The mesh in local coordinates (made again by the builder when it changed); null when
    // there is none.
    decMesh3* GetMesh() const;
    int GetMesh(decMesh3*& mesh, GeMatrix3d& tm) override;

    std::vector<GePolygon> GetPolygons() const override;
    void Draw(decViewFilter& filter) const override;

    // A proxy mesh entity's record: the base part and its mesh.
    void Serialize(SerializeFilter& filter) override;

    // The builder changed: the mesh, and with it the extents, are made again when next asked for.
    // A builder changed through its entity's write open (its own not open) changes the entity.
    void MarkMeshDirty()
    {
        m_meshDirty = true;
        ForgetBoundBox();
        if (IsOpenForWrite()) MarkModified();
    }

protected:
    // The placed mesh vertices.
    GeBoundBox3d ComputeBoundBox() const override;

private:
    void RegenMesh() const;

    std::unique_ptr<decBuilder> m_builder;
    mutable std::unique_ptr<decMesh3> m_mesh;
    mutable bool m_meshDirty = false;
};
