#include "ReadAnyDrawing.h"

#include <climits>
#include <iterator>
#include <limits>
#include <random>

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

constexpr double kInf = std::numeric_limits<double>::infinity();
// What the edits type: ordinary values, the edges of the stored types, and values nothing
// may store.
constexpr double kReals[] = {0.0, 1.0, -1.0, 0.5, 30.0, 89.0, 1000.0, 2147483647.0, 2147483648.0, -2147483649.0,
                             99999999999.0, 3.5e38, 1e300, -1e300, kInf, -kInf,
                             std::numeric_limits<double>::quiet_NaN()};
constexpr long kWholes[] = {0, 1, -1, 4, 5, 6, 50, 89, 2147483647L, 2147483648L, -2147483649L, LONG_MAX, LONG_MIN};
constexpr const char* kTexts[] = {"", "30", "89", "-5", "*", "1e300", "-1e306", "nan", "inf", "3.5e38", "名"};

// A few edits of every object's rows, drawn from the bytes themselves, so that a replay of
// the corpus repeats them: a row (not a pick in the drawing) and a value of its kind.
void EditProperties(DbDatabase& db, std::span<const std::uint8_t> bytes)
{
    std::uint64_t seed = 1469598103934665603ULL;
    for (std::uint8_t b : bytes)
        seed = (seed ^ b) * 1099511628211ULL;
    std::mt19937_64 random(seed);
    const auto pick = [&random](const auto& pool) { return pool[random() % std::size(pool)]; };
    for (decDbEntity* entity : db.AllObjects()) {
        auto* owner = dynamic_cast<decDbObject*>(entity->GetBaseObject());
        if (!owner)
            continue;
        const std::vector<TPropertyDef> rows = host::PropertyRows(*owner);
        for (int edit = 0; edit < 3 && !rows.empty(); ++edit) {
            const TPropertyDef& row = rows[random() % rows.size()];
            prop_data value;
            if (row.kind == 7)
                continue;
            if (row.kind == 2)
                value.SetDouble(pick(kReals));
            else if (row.kind == 4)
                value.SetText(pick(kTexts));
            else
                value.SetLong(pick(kWholes));
            if (owner->OpenForWrite() != dex::eOk)
                continue;
            owner->OnPropertyValueChanged(row.index, value);
            owner->Close();
        }
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
    EditProperties(loaded, bytes);
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
        fault = "a drawing that was read (and edited through its property rows) does not read again once saved: " +
                error;
        return false;
    }
    return true;
}

}  // namespace fuzz
