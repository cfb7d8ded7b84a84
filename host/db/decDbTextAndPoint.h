#pragma once
// Host text and point entities (the module recognises them only, to skip them).
#include <string>

#include "decDbEntity.h"

class decDbText : public decDbEntity2d {
    DEC_DECLARE_CLASS(decDbText)

public:
    decDbText() = default;
    decDbText(const char* text, const GePoint3d& position, double height, double angle = 0.0);

    const char* GetText() const { return m_text.GetString(); }
    GePoint3d GetPosition() const { return m_position; }
    int OnWorldDraw(decViewFilter& filter) override;
    void GetGripPoints(GePoint3dArray& grips) const override { grips.push_back(m_position); }
    int TransformBy(const GeMatrix3d& tm) override;
    void Serialize(SerializeFilter& filter) override;

private:
    CString m_text;
    GePoint3d m_position;
    double m_height = 2.5;
    double m_angle = 0.0;
};

class decDbPoint : public decDbEntity2d {
    DEC_DECLARE_CLASS(decDbPoint)

public:
    decDbPoint() = default;
    explicit decDbPoint(const GePoint3d& position) : m_position(position) {}

    GePoint3d GetPosition() const { return m_position; }
    int OnWorldDraw(decViewFilter& filter) override;
    void GetGripPoints(GePoint3dArray& grips) const override { grips.push_back(m_position); }
    int TransformBy(const GeMatrix3d& tm) override;
    void Serialize(SerializeFilter& filter) override;

private:
    GePoint3d m_position;
};
