#pragma once
// Layers and materials by name: every command obtains the layer and material it puts its
// objects on through these, so a drawing has one of each name, created with its colour the
// first time. Each expects the database to be open for write and returns the id (0 when
// nothing could be given). Exported with C linkage.
#include <cstdint>

#include "CString.h"

class DbDatabase;

#ifndef MODEL_HELPER_EXPORT
#define MODEL_HELPER_EXPORT extern "C" __attribute__((visibility("default")))
#endif

// The layer of that name: created (colour, style — a negative style becomes 25 —, line type
// "Continuous", visibility) when missing; an existing one is recoloured when its colour
// differs and shown when hidden and visible is non-zero, never hidden.
MODEL_HELPER_EXPORT long CreateLayer(DbDatabase* db, const char* name, unsigned long colour, int style, int visible);

// The layer of that name, created with the colour when missing (the layer table opened for
// write around the creation only); an existing layer is taken as it is.
long FindOrCreateLayer(DbDatabase* db, const char* name, std::uint32_t colour);

// The material of that name; a new solid-colour material with the colour and transparency
// when missing. An existing material keeps its colour and transparency.
MODEL_HELPER_EXPORT long CreateSolidColorMaterial(DbDatabase* db, CString& name, unsigned long colour,
                                                  double transparency);
// The same for an image material with its image file.
MODEL_HELPER_EXPORT long CreateImageMaterial(DbDatabase* db, CString& name, CString& imagePath, unsigned long colour,
                                             double transparency);
