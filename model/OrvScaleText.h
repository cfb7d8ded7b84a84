#pragma once
// COrvScaleText: the module's annotation text. It keeps a text height at scale 1 and the
// drawing scale apart and draws the text at their product, so a change of the drawing scale
// only needs the scale rewritten. Creators make one, Set it, and hand it to the drawing.
#include <cstdint>
#include <vector>

#include "CString.h"
#include "Ge.h"
#include "TextSettings.h"
#include "decDbEntity.h"

class __attribute__((visibility("default"))) COrvScaleText : public decDbEntity2d {
    DEC_DECLARE_CLASS(COrvScaleText)

public:
    COrvScaleText() = default;
    // The host's object base is not copyable: a copy starts from a fresh base part and takes
    // every field of the text (the font list included).
    COrvScaleText(const COrvScaleText& other);
    COrvScaleText& operator=(const COrvScaleText& other);
    ~COrvScaleText() override = default;

    // Fills the text before it enters the drawing (no write access asked). An empty text or a
    // height not above 0 is reported and stored all the same; a scale of at most 0.001 takes
    // the drawing scale; an empty font keeps the current one. false (nothing changes) for a
    // position, direction, normal, height, angle or scale that is not finite, or a placement
    // code beyond the 32 bits it is stored in.
    bool Set(TEXT_UTILITY::TEXT_TYPE type, const CString& text, const GePoint3d& position, const GeVector3d& direction,
             const GeVector3d& normal, double height, double angle, unsigned long placement, double scale,
             const CString& font);
    // Each changes the field only for a difference of at least 0.001, and refuses a value
    // that is not finite (nothing changes).
    void SetHeight(double height);
    void SetScale(double scale);
    TEXT_UTILITY::TEXT_TYPE GetType() const { return m_type; }

    const GePoint3d& Position() const { return m_position; }
    const CString& Text() const { return m_text; }
    double Height() const { return m_height; }
    double Angle() const { return m_angle; }
    std::uint32_t Placement() const { return m_placement; }
    double Scale() const { return m_scale; }
    const CString& Font() const { return m_font; }
    const GeVector3d& Direction() const { return m_direction; }
    const GeVector3d& Normal() const { return m_normal; }
    // The font list the property panel was last given; never stored.
    const std::vector<CString>& FontList() const { return m_fontList; }

    void Serialize(SerializeFilter& filter) override;
    const TPropertyDef* GetObjectPropertyDefine() const override;
    void OnPropertyValueGet(int index, prop_data& value) override;
    int OnPropertyValueChanged(int index, const prop_data& value) override;
    void OnPropertyComboBoxInit(int index, TPropertyComboBoxData& data) override;
    // Row 3 (angle): asks for an angle in the drawing and gives it to every selected text.
    int OnPropertyOtherEdit(long index, const char* text, long count, decObject** objects, int& result) override;

    int OnWorldDraw(decViewFilter& filter) override;
    void GetGripPoints(GePoint3dArray& grips) const override;
    // Only grip 0 moves the text.
    int MoveGripPointsAt(const std::vector<int>& indices, const GeVector3d& offset) override;
    // Moves and turns the text; the height takes the matrix's X scale, the scale stays.
    int TransformBy(const GeMatrix3d& tm) override;

private:
    GePoint3d m_position;
    CString m_text;
    double m_height = 0.0;
    double m_angle = 0.0;
    std::uint32_t m_placement = 0;
    double m_scale = 0.0;
    CString m_font{"hztxt.shx"};
    TEXT_UTILITY::TEXT_TYPE m_type = TEXT_UTILITY::BUILD_DIM;
    GeVector3d m_direction;
    GeVector3d m_normal;
    std::vector<CString> m_fontList;
};
