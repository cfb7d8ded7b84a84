#pragma once
// COrvRoof: the parametric roof the insolation model stores in the drawing. A flat roof
// (kind 0) is the outline grown by an overhang, with an optional slab and an optional
// two-part parapet standing on the slab's edge; a sloped roof (kind 1) carries one slope per
// edge of that grown ring and gets its faces from the roof solver.
//
// Frame: the outline is kept in the roof's own frame, first point at the origin, first edge
// along +X (projected onto the plan), Z up; the entity's placement maps it onto the drawing.
// Every geometry change goes through SetData, which rebuilds faceLoops, the polygons the mesh
// is made of. A roof read from a drawing holds exactly what was stored; nothing is recomputed.
#include <vector>

#include "CArray.h"
#include "Ge.h"
#include "decBuilder.h"

class __attribute__((visibility("default"))) COrvRoof : public decBuilder {
    DEC_DECLARE_CLASS(COrvRoof)

public:
    enum Kind { kFlat = 0, kSloped = 1 };

    COrvRoof();
    ~COrvRoof() override;

    // Stores the parameters, moves the outline into the roof's frame, grows it by the
    // overhang into the roof edge ring R and builds the faces. 1 built; 0 for a sloped roof
    // whose faces could not be solved (a flat face and zero slopes are stored instead); -1
    // refused: fewer than 3 outline points or points that enclose nothing, all on one line,
    // an outline point or a slope that is not finite, a length (overhang, thickness, parapet
    // sizes) beyond what whole millimetres in 32 bits hold (all of these change nothing), a
    // flat roof without slab and
    // parapet or an unknown kind, an R of fewer than 3 points, or a sloped roof whose slopes
    // do not match R point for point, or faces that overflow (a far outline). A refusal after
    // the value checks leaves the parameters and the moved outline written but the faces of
    // the previous build in place.
    int SetData(GePoint3dArray outline, int kind, double overhang, std::vector<float> slopes, float thickness,
                float ha, float hb, float wa, float wb);
    // The stored values; the two lists are emptied first. The outline is in the roof's frame.
    void GetData(GePoint3dArray& outline, int& kind, float& overhang, std::vector<float>& slopes, float& thickness,
                 float& ha, float& hb, float& wa, float& wb) const;
    // The placement of a roof set from this outline (2 points or more): origin at the first
    // point, x along the first edge in plan, normalised with tolerance 0.001 and replaced by
    // (1, 0, 0) when that leaves it shorter than 0.1, z up, y = z × x. SetData keeps the
    // outline in this frame, so an entity placed by it shows the outline where it was given.
    static GeMatrix3d FrameOf(const GePoint3dArray& outline);
    // Appends the stored outline (roof frame) without emptying pts first.
    void GetFloorTopVtAry(GePoint3dArray& pts) const;
    // Appends the parapet faces standing on the ring to faceLoops: a wall of thickness wa on
    // the left of the ring's direction of travel, ha high, then an upper part hb high whose
    // inner edge moves sideways by wb, and the top. Nothing for fewer than 2 points, or when
    // neither wa nor hb is above 0.
    void AddParapetVtsAry(GePoint3dArray ring);

    int DisableReference() const override { return 1; }
    void Serialize(SerializeFilter& filter) override;
    const TPropertyDef* GetObjectPropertyDefine() const override;
    void OnPropertyValueGet(int index, prop_data& value) override;
    // Applies one edit and rebuilds; when the rebuild fails the roof goes back to its values
    // from before the edit. Always -2.
    int OnPropertyValueChanged(int index, const prop_data& value) override;
    // One vertex per point of every face loop and one polygon per loop of 3 points or more,
    // in the roof's frame. 0 (out untouched) for fewer than 3 loops.
    int MakeMesh(decMesh3** out) const override;

    // The rows of the property panel: flat roofs show the parapet, sloped ones the slope.
    static const TPropertyDef flat_roof[];
    static const TPropertyDef pitched_roof[];

    // The polygons of the roof body and the stored extra list, as they are.
    const CArray<GePoint3dArray, GePoint3dArray>& FaceLoops() const { return faceLoops; }
    const GePoint3dArray& ExtraPoints() const { return extraPoints; }

private:
    // The parameters an edit may change, kept so a failed rebuild can put them back.
    struct Parameters {
        float overhang, thickness, ha, hb, wa, wb;
        std::vector<float> slopes;
    };
    Parameters SavedParameters() const;
    void Restore(const Parameters& saved);
    int Rebuild();
    // The faces from the edge ring R and the stored parameters; SetData's result.
    int BuildFaces(GePoint3dArray ring);
    // Whether a length (mm) fits: finite and within whole millimetres in 32 bits, so that
    // everything built from it later stays in range.
    static bool IsLength(double value);
    void EditOverhang(double value);
    void EditSlopes(const char* text);

    GePoint3dArray outline;
    int kind = kFlat;
    // Always stored as an absolute value.
    float overhang = 0.0f;
    // Degrees, slope i for the edge from point i to point i + 1 of the roof edge ring.
    std::vector<float> slopes;
    // 0 or less: no slab.
    float thickness = 0.0f;
    float parapetHeightA = 0.0f;
    float parapetHeightB = 0.0f;
    // Wall thickness of both parapet parts.
    float parapetWidthA = 0.0f;
    // Sideways shift of the upper part's top against its foot.
    float parapetWidthB = 0.0f;
    CArray<GePoint3dArray, GePoint3dArray> faceLoops;
    // Stored after the face loops and read back; nothing fills it.
    GePoint3dArray extraPoints;
};
