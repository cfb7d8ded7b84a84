#pragma once
// A parametric block of the test module: a box of a given height with a name, a kind and a
// base level, edited through the property panel protocol, so the host's list, props and
// setprop commands can be tested on a module object. The base level is typed in metres and
// kept in millimetres without a check, as a careless module might keep it: a level of 1e306
// metres is stored as an infinity, which the host must not let cost the drawing.
#include "CString.h"
#include "PropertyPanel.h"
#include "decBuilder.h"

class CTestBlock : public decBuilder {
    DEC_DECLARE_CLASS(CTestBlock)

public:
    CTestBlock() = default;

    int MakeMesh(decMesh3** out) const override;
    const TPropertyDef* GetObjectPropertyDefine() const override;
    void OnPropertyValueGet(int index, prop_data& value) override;
    // The name takes any text; the height only values above 0; the kind an entry of its list;
    // the base level any number.
    int OnPropertyValueChanged(int index, const prop_data& value) override;
    void OnPropertyComboBoxInit(int index, TPropertyComboBoxData& entries) override;
    void Serialize(SerializeFilter& filter) override;

private:
    CString m_name = "测试块";
    int m_height = 3000;
    int m_kind = 0;
    double m_baseMillimetres = 0.0;
};
