#pragma once
// CArchedRoof: one run of the arched roof command. The user gives the two ends of the roof's
// cross-section, the end of the ridge line, the rise of the arch and the slab thickness; the
// roof is a circular arc through the section, given its thickness under the arc, extruded
// along the ridge as one host extrusion on layer 坡屋顶 with material 屋面板.
//
// The work happens in the section's own frame: the middle of the section at the origin, the
// section along x (its second end at +h, its first at -h, h half its length), z up, so the
// arc lies in the plane y = 0 and the roof is extruded along y. The extrusion is placed back
// in the drawing by the inverse of that frame.
#include <vector>

#include "Ge.h"

// The slab thickness of the last run, offered as the next run's default; kept until the
// module is unloaded.
extern double g_archedRoofThickness;

class CArchedRoof {
public:
    // Input, then frame, profile and creation; nothing is made when an input is cancelled.
    void Run();

    // The five inputs: 1 when all were given, 0 on any cancel. A point within 100 of the one
    // before it is asked again, and so is a ridge end on the section's line or behind the
    // square through the section's end within a metre of it (the end clicked again).
    int Input();
    // Takes the section's middle to the origin and the section onto the x axis, and moves
    // the three points into that frame.
    void ComputeFrame();
    // The section profile in the frame: the sampled arc, then, with a slab, the arc moved
    // inwards by the thickness and run backwards with its ends put down on the section line.
    void ComputeArcProfile();
    // The extrusion of the profile along the ridge, made in the drawing; an empty profile, or a
    // profile or extrusion that is not finite in the drawing, makes nothing (with a message).
    void Create();

    GePoint3d m_sectionStart;  // p0
    GePoint3d m_sectionEnd;    // p1
    GePoint3d m_ridgeEnd;      // p2
    double m_rise = 0.0;       // of the arch above the section line, mm
    double m_thickness = 0.0;  // of the slab, mm; 0.001 or less makes a bare arched surface
    std::vector<GePoint3d> m_profile;
    // World to section frame.
    GeMatrix3d m_frame;

private:
    bool HasSlab() const;
    bool IsFiniteInDrawing(const GeVector3d& extrusion) const;
};
