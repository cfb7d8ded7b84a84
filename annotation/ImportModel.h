#pragma once
// The import of "*.osm" models (tmodel): every building record becomes a CExtrudeBuild (a
// +Z extrusion) or a host extrusion tagged as a building (any other direction), with its
// group and owned window; every window record becomes a CWindow.
#include <optional>
#include <vector>

#include "ImportModelFile.h"
#include "OwnershipRecords.h"

// 1 when the last import that found records was answered "not millimetres": building
// lengths are then metres. Windows have a unit rule of their own.
extern int g_importInMetres;

// What one creation pass made and left out.
struct ImportCounts {
    int created = 0;
    int refused = 0;
};

// What refuses an import whole: a window it would make bearing an identifier that an ownership
// record holds (one of the drawing's, or one a building of the import writes) while a window
// of the drawing bears it, the record then naming both; with the record of that window.
// Windows of the import may share an identifier with each other and with erased windows.
struct ImportClash {
    WinBelongBuild::Clash clash;
    const CImportWindowInfo* window = nullptr;
};
std::optional<ImportClash> FindImportClash(const std::vector<CImportBuildInfo>& builds,
                                           const std::vector<CImportWindowInfo>& windows);

// Create the records' objects (the working drawing open for write), FindImportClash having
// found nothing. A record that would give no sound object (a height that rounds to nothing,
// fewer than three corners, no sweep, a length beyond 1e12 or one that does not fit whole
// millimetres) is left out and named.
ImportCounts CreateImportBuilds(const std::vector<CImportBuildInfo>& builds);
ImportCounts CreateImportWindows(const std::vector<CImportWindowInfo>& windows);
