#pragma once
// The import of "*.osm" models (tmodel): every building record becomes a CExtrudeBuild (a
// +Z extrusion) or a host extrusion tagged as a building (any other direction), with its
// group and owned window; every window record becomes a CWindow.
#include <vector>

#include "ImportModelFile.h"

// 1 when the last import that found records was answered "not millimetres": building
// lengths are then metres. Windows have a unit rule of their own.
extern int g_importInMetres;

// What one creation pass made and left out.
struct ImportCounts {
    int created = 0;
    int refused = 0;
};

// Create the records' objects (the working drawing open for write). A record that would
// give no sound object (a height that rounds to nothing, fewer than three corners, no sweep,
// a length beyond 1e12 or one that does not fit whole millimetres) is left out and named.
ImportCounts CreateImportBuilds(const std::vector<CImportBuildInfo>& builds);
ImportCounts CreateImportWindows(const std::vector<CImportWindowInfo>& windows);
