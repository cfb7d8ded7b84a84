#include "UpdateModelScale.h"

#include <cstring>

#include "DbDatabase.h"
#include "DimBuildElevation.h"
#include "OrvCommandHandlers.h"
#include "OrvScaleText.h"
#include "TextSettings.h"
#include "Window.h"
#include "WorkingDrawing.h"

namespace {

// Opens the object for write around its SetScale.
template <class T>
void Rescale(T* object, double scale)
{
    if (!object)
        return;
    object->OpenForWrite();
    object->SetScale(scale);
    object->Close();
}

// The classes are told apart by the persistent name of the base object's class record, as
// the drawing stores it.
void RescaleByClassName(decDbEntity* entity, double scale)
{
    decObject* base = entity->GetBaseObject();
    if (!base)
        return;
    const char* name = base->IsA()->className;
    if (!name)
        return;
    if (std::strcmp(name, "QCOrvScaleText") == 0)
        Rescale(COrvScaleText::Cast(entity), scale);
    else if (std::strcmp(name, "QCDimBuildElevation") == 0)
        Rescale(CDimBuildElevation::Cast(entity), scale);
    else if (std::strcmp(name, "QCWindow") == 0)
        Rescale(CWindow::Cast(base), scale);
}

}  // namespace

void UpdateModelScale()
{
    const double scale = GetScale();
    DbDatabase* db = dec::GetWorkingDatabase();
    const bool opened = !db->IsOpenForWrite() && db->OpenForWrite() == dex::eOk;
    EntityArray entities;
    if (db->GetAllEnts(entities, 0))
        for (decDbEntity* entity : entities)
            RescaleByClassName(entity, scale);
    if (opened)
        db->Close();
}

void CMD_UPDATE_MODEL_SCALE() { UpdateModelScale(); }
