#pragma once
// An object of the drawing: layer, name, local transform, its own stream record and the
// property panel protocol.
#include "GeMatrix3d.h"
#include "PropertyPanel.h"
#include "SerializeFilter.h"
#include "decObject.h"
#include "decReturnCode.h"

class decDbObject : public decObject {
    DEC_DECLARE_CLASS(decDbObject)

public:
    long GetLayerId() const { return m_layerId; }
    void SetLayerId(long layerId) { m_layerId = layerId; }

    // The object's kind name (host builders: "拉伸体", "圆柱", "长方体", ...) or given name.
    const char* GetName() const { return m_name.GetString(); }
    void SetName(const char* name) { m_name = name; }

    GeMatrix3d GetLocalTM() const { return m_tm; }
    // Replaces the transform that places the object.
    virtual void SetLocalTM(const GeMatrix3d& tm);
    // Applies a transform on top of the current one. -2.
    virtual int TransformBy(const GeMatrix3d& tm);

    // The base part of the object's record: its name. Every override calls it first.
    virtual void Serialize(SerializeFilter& filter);

    // Property panel: rows (null: none), value of a row, change of a row (the host opens
    // the object for write around it and reads the value again afterwards), entries of a
    // drop-down row, and the pick-in-drawing edit of a kind-7 row (1 handled, 0 not).
    virtual const TPropertyDef* GetObjectPropertyDefine() const { return nullptr; }
    virtual void OnPropertyValueGet(int, prop_data&) {}
    virtual int OnPropertyValueChanged(int, const prop_data&) { return dex::eOk; }
    virtual void OnPropertyComboBoxInit(int, TPropertyComboBoxData&) {}
    virtual int OnPropertyOtherEdit(long, const char*, long, decObject**, int&) { return 0; }

protected:
    decDbObject() = default;

private:
    long m_layerId = 0;
    CString m_name;
    GeMatrix3d m_tm;
};
