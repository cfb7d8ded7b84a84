#pragma once
// A parametric object: it builds the mesh of the 3-D entity the database makes for it and
// draws its display. The entity owns the builder; the builder reaches its entity through
// GetOutputObjs.
#include "decDbObject.h"
#include "decMesh3.h"
#include "decViewFilter.h"

class decDbEntity3d;

class decBuilder : public decDbObject {
    DEC_DECLARE_CLASS(decBuilder)

public:
    // A new mesh in local coordinates (1), or 0 leaving *out untouched. The host owns the
    // mesh it receives.
    virtual int MakeMesh(decMesh3** out) const;
    // Draws the display: the base draws the mesh's faces.
    virtual void OnMakeDisplayBuf(unsigned long flags, decViewFilter& filter);

    decObjectIdArray GetOutputObjs() const override;
    // Erases the builder's entity (the builder open for write or its entity).
    int Erase() override;
    DbDatabase* GetDatabase() const override;
    decObjectId GetObjectId() const override;
    decDbEntity3d* GetEntity() const { return m_entity; }

protected:
    decBuilder() = default;
    bool IsStored() const override;
    bool IsWriteEnabledByOwner() const override;
    void OnModified() override;

private:
    friend class decDbEntity3d;
    decDbEntity3d* m_entity = nullptr;
};
