#pragma once
// CDormer: a dormer standing on a sloped roof face, the way the insolation model stores it.
// Five whole-millimetre dimensions (width, height of the rectangular part, height of the
// gable on top of it, thickness and overhang of its roof slab) and the slope of the roof face
// under it give up to two sections, the body (its front wall) and the roof slab, and the mesh
// is each section swept level and straight back until it meets the roof face.
//
// Frame (the entity transform): origin at the lower front left corner of the body on the
// roof face, x along the eave (the body runs from x = 0 to x = width), y level and up the
// slope (the front wall lies in y = 0), z up; the roof face is z = y·tan(slope). The sections
// always follow the dimensions, except for a dormer read from a drawing, which holds exactly
// what was stored.
#include <cstdint>
#include <vector>

#include "Ge.h"
#include "decBuilder.h"

class __attribute__((visibility("default"))) CDormer : public decBuilder {
    DEC_DECLARE_CLASS(CDormer)

public:
    CDormer() = default;
    // The host's object base is not copyable: a copy starts from a fresh base part and takes
    // the dimensions, the slope and every section.
    CDormer(const CDormer& other);
    CDormer& operator=(const CDormer& other);
    ~CDormer() override = default;

    // Sets the dimensions (mm) and the slope (radians) and rebuilds the sections: 1. Refused
    // (0, nothing changes): a width below 1 or heights adding up to less than 1 in absolute
    // value, a dimension beyond the 32 bits the record stores, a slope outside
    // [0.0175, 1.5708]. Width, heights and overhang are kept as absolute values; the roof
    // thickness keeps its sign (0 or less: no roof slab).
    int SetData(long width, long height1, long height2, long roofThickness, long overhang, double slope);
    // Installs the given polygons (those with at least one point) as the sections, without
    // looking at the dimensions. Sections holding a point that is not finite are refused
    // (nothing changes).
    void SetSection(std::vector<GePoint3dArray> sections);

    long Width() const { return m_lWidth; }
    long Height1() const { return m_lHeight1; }
    long Height2() const { return m_lHeight2; }
    long RoofThickness() const { return m_lRoofThickness; }
    long Overhang() const { return m_lOverhang; }
    double Slope() const { return m_dblSlope; }
    const std::vector<GePoint3dArray>& Sections() const { return m_arraySection; }

    int DisableReference() const override { return 1; }
    void Serialize(SerializeFilter& filter) override;
    const TPropertyDef* GetObjectPropertyDefine() const override;
    void OnPropertyValueGet(int index, prop_data& value) override;
    // Takes the value when its row's rule allows it, and rebuilds the sections whether it did
    // or not: always -2.
    int OnPropertyValueChanged(int index, const prop_data& value) override;
    // Each section as a face, then its side faces back to the roof plane (repeated and
    // straight points cleaned out; a side that collapses onto the roof keeps what is left).
    // No vertex is shared between faces, and the dormer stays open where it meets the roof.
    // 1; out untouched when there is no section. 0 for a slope no dormer can have (only a
    // damaged drawing holds one), since the sweep back would have no end.
    int MakeMesh(decMesh3** out) const override;

    // The rows of the property panel, group "老虎窗信息".
    static const TPropertyDef props[];
    // The steepest roof face the panel gives a dormer, in degrees.
    static constexpr double kMaxPanelSlope = 89.0;

private:
    void ComputeSectionVts();

    std::int32_t m_lWidth = 0;
    std::int32_t m_lHeight1 = 0;
    std::int32_t m_lHeight2 = 0;
    // 0 or less: no roof slab.
    std::int32_t m_lRoofThickness = 0;
    std::int32_t m_lOverhang = 0;
    // Radians.
    double m_dblSlope = 0.0;
    // The body section first, then the roof slab's when there is one.
    std::vector<GePoint3dArray> m_arraySection;
};
