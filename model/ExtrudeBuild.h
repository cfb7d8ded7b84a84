#pragma once
// CExtrudeBuild: the building of the insolation model, a named prism made by extruding a
// closed plan outline straight up by a height. The outline is kept in the building's own
// frame (first point at the origin, first edge along +X, counter-clockwise in plan); the
// frame itself is the entity transform the host stores with the object.
#include "CString.h"
#include "Ge.h"
#include "decBuilder.h"

class __attribute__((visibility("default"))) CExtrudeBuild : public decBuilder {
    DEC_DECLARE_CLASS(CExtrudeBuild)

public:
    CExtrudeBuild() = default;
    // The host's object base is not copyable: a copy starts from a fresh base part and takes
    // the building's own fields.
    CExtrudeBuild(const CExtrudeBuild& other);
    CExtrudeBuild& operator=(const CExtrudeBuild& other);
    ~CExtrudeBuild() override = default;

    CString Name() const { return m_strName; }
    void SetName(CString name);
    // Height in millimetres.
    int Height() const { return m_nHeight; }
    unsigned GetBasePtsNum() const { return static_cast<unsigned>(m_ptsBase.size()); }
    // The outline in the building's frame.
    const GePoint3dArray& BasePoints() const { return m_ptsBase; }
    // A field without meaning that is kept through copies, saving and loading.
    int Reserved() const { return m_reserved; }

    // Gives the building its geometry: name, height (mm) and the outline in world
    // coordinates; tm receives the frame the entity is to be placed by. A height below
    // 0.001, an outline point that is not finite, or an outline with fewer than three
    // corners once cleaned, changes nothing (tm included).
    void Set(CString name, int height, GePoint3dArray world, GeMatrix3d& tm);
    // Cleans the outline in place, turns it counter-clockwise and gives its frame: origin at
    // the first point, X along the first edge, Z the world Z axis. With fewer than three
    // points left the assertion is shown and tm is not touched.
    void GetLocalTm(GeMatrix3d& tm);

    int DisableReference() const override { return 1; }
    void Serialize(SerializeFilter& filter) override;
    const TPropertyDef* GetObjectPropertyDefine() const override;
    void OnPropertyValueGet(int index, prop_data& value) override;
    int OnPropertyValueChanged(int index, const prop_data& value) override;
    void OnMakeDisplayBuf(unsigned long flags, decViewFilter& filter) override;
    // The outline extruded by the height; the first vertices are the outline in stored order.
    int MakeMesh(decMesh3** out) const override;

private:
    int m_reserved = 0;
    int m_nHeight = 0;
    CString m_strName;
    GePoint3dArray m_ptsBase;
};
