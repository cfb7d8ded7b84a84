#pragma once
// The closed library's roof routine as the roof builders call it: the outline and one slope per
// edge in, the faces out, laid into a mesh at the eave elevation and closed down to the outline
// by an eave band as high as the slab. The multi-slope and the prismoid roof build on these.
#include <vector>

#include "Ge.h"
#include "decMesh3.h"

// The routine (geofeidengpowumianzcx): leading real, x, y and slopes (1-based), point count,
// out face count, out vertex counts per face (1-based, 1000 entries), an out int, out face x, y
// and z (1-based, 10000 entries).
using RoofFaceRoutine = int (*)(double, double*, double*, double*, int, int*, int*, int*, double*, double*, double*);

// What one call of the routine gave: its arguments and results, 1-based.
struct RoofRoutineFaces {
    explicit RoofRoutineFaces(std::size_t n);
    std::vector<double> x, y, slope;
    int faceCount = 0;
    int spare = 0;
    std::vector<int> counts;
    std::vector<double> fx, fy, fz;
};

// Runs the routine with the leading real h over the ring's x and y in its order, slopes[i] in
// degrees for the edge from point i to point i + 1 (the ring has at least 3 points and as many
// slopes).
RoofRoutineFaces RunRoofRoutine(RoofFaceRoutine routine, double h, const GePoint3dArray& ring,
                                const std::vector<double>& slopes);

// Appends the faces the routine reported, z0 added to their heights, each turned
// counter-clockwise seen from above; faces of 2 points or fewer are left out. Reading stops
// where a count would go past the arrays. The number of faces appended.
int AppendRoutineFaces(const RoofRoutineFaces& faces, double z0, decMesh4& mesh);

// Appends the upright band between the outline and its raised copy (the same points higher),
// one quad per edge, the outline taken counter-clockwise: (p'i, p'i+1, pi+1, pi) with p' on the
// outline, the closing edge's quad (p0, pn-1, p'n-1, p'0) last. No bottom and no top.
void AppendEaveBand(GePoint3dArray outline, GePoint3dArray raised, decMesh4& mesh);
