#pragma once
// The host's own solid builders, recognised by the module through their kind names:
// extrusion "拉伸体", box "长方体", cylinder "圆柱", cone "圆锥", frustum "台体", and the
// loft (a section swept along a path). Round solids have 24 sides and their base ring as
// vertices 0..23.
#include <vector>

#include "GePoint3dArray.h"
#include "decBuilder.h"

// A profile swept by a vector: closed profiles give a capped prism (base ring = vertices
// 0..n-1), open profiles (closed 0) a swept surface.
class decDbExtrude : public decBuilder {
    DEC_DECLARE_CLASS(decDbExtrude)

public:
    decDbExtrude();
    void SetData(int count, const GePoint3d* pts, int closed, const GeVector3d& extrusion);
    int MakeMesh(decMesh3** out) const override;
    void Serialize(SerializeFilter& filter) override;

private:
    std::vector<GePoint3d> m_profile;
    bool m_closed = true;
    GeVector3d m_extrusion;
};

// A box standing on its base corner: x in [0, length], y in [0, width], z in [0, height].
class decDbBox : public decBuilder {
    DEC_DECLARE_CLASS(decDbBox)

public:
    decDbBox();
    decDbBox(double length, double width, double height);
    int MakeMesh(decMesh3** out) const override;
    void Serialize(SerializeFilter& filter) override;

private:
    double m_length = 1.0, m_width = 1.0, m_height = 1.0;
};

// An upright cylinder on its base centre (the origin).
class decDbCylinder : public decBuilder {
    DEC_DECLARE_CLASS(decDbCylinder)

public:
    decDbCylinder();
    decDbCylinder(double radius, double height);
    int MakeMesh(decMesh3** out) const override;
    void Serialize(SerializeFilter& filter) override;

private:
    double m_radius = 1.0, m_height = 1.0;
};

// An upright cone on its base centre (the origin), apex at (0, 0, height).
class decDbCone : public decBuilder {
    DEC_DECLARE_CLASS(decDbCone)

public:
    decDbCone();
    decDbCone(double radius, double height);
    int MakeMesh(decMesh3** out) const override;
    void Serialize(SerializeFilter& filter) override;

private:
    double m_radius = 1.0, m_height = 1.0;
};

// An upright frustum of a cone on its base centre: bottom and top radius.
class decDbFrustum : public decBuilder {
    DEC_DECLARE_CLASS(decDbFrustum)

public:
    decDbFrustum();
    decDbFrustum(double bottomRadius, double topRadius, double height);
    int MakeMesh(decMesh3** out) const override;
    void Serialize(SerializeFilter& filter) override;

private:
    double m_bottom = 1.0, m_top = 0.5, m_height = 1.0;
};

// A loft section: its points, given relative to the path's first point with x across the
// path (horizontal) and y up, and its kind code.
struct fdata {
    GePoint3dArray pts;
    int code = 1001;
};

// A section swept along a path: at every path point the section stands upright, its x axis
// across the path (to the right, mitred at corners, then turned about the vertical by the
// state's angle: a half turn puts it on the left), its y axis along world Z. The faces face
// outwards whichever way the section runs.
class decDbLoft : public decBuilder {
    DEC_DECLARE_CLASS(decDbLoft)

public:
    decDbLoft();
    // The first section is swept along the first pathCount points of the path (codes and the
    // further sections are kept as given).
    void SetData(const std::vector<fdata>& sections, const GePoint3dArray& path, int code, int pathCount);
    // Settings of the host's loft, recorded; the angle turns the section about the vertical
    // through each path point (a and b have no meaning here).
    void setState(int a, int b, double angle);
    int MakeMesh(decMesh3** out) const override;
    void Serialize(SerializeFilter& filter) override;

private:
    std::vector<fdata> m_sections;
    GePoint3dArray m_path;
    int m_code = 1001;
    int m_stateA = 0, m_stateB = 0;
    double m_stateAngle = 0.0;
};
