#include "ReadAnyDrawing.h"

#include "DbDatabase.h"
#include "DrawingFile.h"
#include "EventLog.h"
#include "FontList.h"
#include "HostFault.h"
#include "ObjectProperties.h"
#include "ScriptedUser.h"
#include "SvgExport.h"
#include "Utf8Text.h"

namespace fuzz {

namespace {

// Every row of the object's property panel, read as the panel reads it.
void ReadProperties(decObject* base)
{
    auto* owner = dynamic_cast<decDbObject*>(base);
    if (!owner) return;
    for (const TPropertyDef& row : host::PropertyRows(*owner)) {
        host::ReadProperty(*owner, row.index);
        host::ReadPropertyChoices(*owner, row.index);
    }
}

}  // namespace

void PrepareHost()
{
    host::SetStrictAccess(false);
    host::mfc::SetFontSource(std::vector<host::mfc::FontEntry>{{"宋体", "宋体"}, {"黑体", "黑体"}});
}

bool ReadAnyDrawing(std::span<const std::uint8_t> bytes, std::string& fault)
{
    host::EventLog::Instance().Clear();
    host::ScriptedUser::Instance().Clear();
    DbDatabase loaded;
    std::string error;
    if (!host::DecodeDrawing(bytes, loaded, error, false)) return true;
    for (decDbEntity* entity : loaded.AllObjects()) {
        decViewFilter filter;
        entity->Draw(filter);
        entity->GetBoundBox();
        entity->GetPolygons();
        ReadProperties(entity->GetBaseObject());
    }
    for (const host::PictureView view : {host::PictureView::Axonometric, host::PictureView::Plan}) {
        if (!host::IsValidUtf8(host::SvgOfDrawing(loaded, view, 400))) {
            fault = "a picture of the drawing is not UTF-8";
            return false;
        }
    }
    DbDatabase again;
    if (!host::DecodeDrawing(host::EncodeDrawing(loaded), again, error)) {
        fault = "a drawing that was read does not read again once saved: " + error;
        return false;
    }
    return true;
}

}  // namespace fuzz
