#include "WinBelongBuild.h"

#include "ModuleGlobals.h"
#include "decDbEntity.h"
#include "decReturnCode.h"

namespace WinBelongBuild {

namespace {

// Colour of an auxiliary building that carries the record.
constexpr unsigned kWithRecordColour = 65535;

}  // namespace

void AttachWindowIds(decDbEntity* entity, const std::vector<CString>& ids)
{
    decDbEntity3d* solid = decDbEntity3d::Cast(entity);
    if (!solid || solid->OpenForWrite() != dex::eOk)
        return;
    auto* record = new decObjectXDataApp(g_winBelongBuildAppName);
    record->AppendDataLong(static_cast<long>(ids.size()));
    for (const CString& id : ids)
        record->AppendDataString(id);
    solid->AppendAppXData(record);
    solid->SetEntityColor(Q3dColor(kWithRecordColour));
    solid->Close();
}

}  // namespace WinBelongBuild
