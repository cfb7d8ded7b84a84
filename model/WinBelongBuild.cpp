#include "WinBelongBuild.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <utility>

#include "AssertReport.h"
#include "CheckedNumbers.h"
#include "CommandLine.h"
#include "ModelEntityCollect.h"
#include "ModelHelperWindows.h"
#include "ModuleGlobals.h"
#include "TypedNumbers.h"
#include "Window.h"
#include "decDbEntity.h"
#include "decReturnCode.h"

namespace WinBelongBuild {

namespace {

// Colours of an auxiliary building that carries the record and of one whose record went.
constexpr unsigned kWithRecordColour = 65535;
constexpr unsigned kDetachedColour = 0xACACAC;
// The floors a lone floor-0 identifier stands for.
constexpr int kColumnFloors = 200;
// A record's count is stored in 32 bits.
constexpr long kMaxStoredCount = std::numeric_limits<std::int32_t>::max();
constexpr const char* kRecordTooLong =
    "错误：窗属记录的窗口数超出可保存的范围，该记录保持不变。";

// The count a record stores (0 when its first item is no long) and how many items after it
// are read as identifiers: as far as the count and the items go.
struct IdItems {
    long stored = 0;
    int count = 0;
};

IdItems CountIds(const decObjectXDataApp& record)
{
    const decObjectXData* first = record.GetAt(0);
    const long stored = first && first->IsTypeLong() ? first->GetLong() : 0;
    const long present = std::max(record.GetCount() - 1, 0);
    return {stored, static_cast<int>(std::clamp<long>(stored, 0, present))};
}

// The column a floor-0 identifier stands for: the building name before the first "-" after
// the first character, and the position from the text after the "-0-" there (as far as it
// reads as a number, held at the int's range). Nothing when the identifier holds no "-0-"
// after its first character.
struct Column {
    CString name;
    int position = 0;
};

std::optional<Column> ReadColumn(const CString& id)
{
    if (id.Find("-0-", 1) < 0)
        return std::nullopt;
    const int dash = id.Find('-', 1);
    return Column{id.Left(dash), ReadLeadingInt(id.Right(id.GetLength() - (dash + 3)))};
}

// Whether the reader takes the record for a column: a count of 1 and one identifier, which
// has floor 0.
bool StandsForColumn(const decObjectXDataApp& record)
{
    const auto [stored, count] = CountIds(record);
    if (stored != 1 || count != 1)
        return false;
    const decObjectXData* id = record.GetAt(1);
    return id->IsTypeString() && ReadColumn(CString(id->GetString()));
}

// What one identifier of a record becomes (column: it is the record's lone floor-0
// identifier); empty when it stays as it is.
using IdImages = std::function<std::vector<CString>(const CString& id, bool column)>;

// The record with each identifier (a string item the reader reads) replaced by its images,
// each identifier once; the items that are no identifiers keep their places and the count
// follows the identifiers. A record that named windows one by one is kept from coming to stand
// for a column: its lone floor-0 identifier is written twice. Nothing when no identifier
// changes, or when the count would pass what a record stores (with a message).
std::optional<decObjectXDataApp> RewriteRecord(const decObjectXDataApp& record, const IdImages& images)
{
    const auto [stored, count] = CountIds(record);
    const bool column = StandsForColumn(record);
    // The items after the count, as far as it goes: each identifier with its images.
    struct Item {
        const decObjectXData* item;
        std::vector<CString> images;
    };
    std::vector<Item> items;
    bool changed = false;
    for (int i = 1; i <= count; ++i) {
        Item& at = items.emplace_back(Item{record.GetAt(i), {}});
        if (!at.item->IsTypeString())
            continue;
        const CString id(at.item->GetString());
        at.images = images(id, column);
        changed = changed || at.images.size() > 1 || (at.images.size() == 1 && at.images.front() != id);
    }
    if (!changed)
        return std::nullopt;

    std::vector<decObjectXData> written;
    std::set<CString> held;
    for (const Item& at : items) {
        if (!at.item->IsTypeString() || at.images.empty()) {
            if (!at.item->IsTypeString() || held.insert(CString(at.item->GetString())).second)
                written.push_back(*at.item);
            continue;
        }
        for (const CString& id : at.images)
            if (held.insert(id).second)
                written.push_back(decObjectXData::String(id));
    }
    // The count is stored in 32 bits: one carried past them is refused (a count already beyond
    // them, which no drawing file holds, is left alone too).
    const long added = std::ssize(written) - count;
    const std::optional<std::int32_t> newCount =
        stored <= kMaxStoredCount ? StoredAs<std::int32_t>(stored + added) : std::nullopt;
    if (!newCount) {
        dec::PrintPrompt(kRecordTooLong);
        return std::nullopt;
    }
    const auto assemble = [&record, count](long newCount, const std::vector<decObjectXData>& ids) {
        decObjectXDataApp rewritten(g_winBelongBuildAppName);
        rewritten.AppendDataLong(newCount);
        for (const decObjectXData& id : ids)
            rewritten.Append(id);
        for (int i = count + 1; i < record.GetCount(); ++i)
            rewritten.Append(*record.GetAt(i));
        return rewritten;
    };
    decObjectXDataApp rewritten = assemble(*newCount, written);
    if (!column && StandsForColumn(rewritten)) {
        written.push_back(written.front());
        rewritten = assemble(*newCount + 1, written);
    }
    return rewritten;
}

// Rewrites every record on the entity (another program may have written more than one) in
// their order.
void RewriteOnEntity(decDbEntity* entity, const IdImages& images)
{
    if (entity->OpenForWrite() != dex::eOk)
        return;
    std::vector<std::unique_ptr<decObjectXDataApp>> records;
    bool changed = false;
    for (const auto& held : entity->XDataApps())
        if (CString(held->GetAppName()) == g_winBelongBuildAppName) {
            std::optional<decObjectXDataApp> rewritten = RewriteRecord(*held, images);
            changed = changed || rewritten.has_value();
            records.push_back(std::make_unique<decObjectXDataApp>(rewritten ? std::move(*rewritten) : *held));
        }
    if (changed) {
        entity->RemoveAppXData(g_winBelongBuildAppName);
        for (auto& record : records)
            entity->AppendAppXData(record.release());
    }
    entity->Close();
}

// Rewrites the records of every entity of the working drawing that carries one.
void RewriteRecords(const IdImages& images)
{
    EntityArray carriers;
    WinBelongBuild::GetAllBuild(carriers);
    for (decDbEntity* entity : carriers)
        RewriteOnEntity(entity, images);
}

// ---- renames ----------------------------------------------------------------------------

// What renames make of identifiers. An identifier that two renames would give different
// names maps to an empty text and is left as it is.
using IdRenames = std::map<CString, CString>;

void AddRename(IdRenames& renames, const CString& from, const CString& to)
{
    const auto [at, added] = renames.try_emplace(from, to);
    if (!added && at->second != to)
        at->second.Empty();
}

// The identifiers the windows of the drawing bear, and their names by position.
struct BorneIds {
    std::set<CString> ids;
    std::set<std::pair<CString, int>> namesAtPositions;
};

BorneIds CollectBorneIds()
{
    BorneIds borne;
    EntityArray windows;
    GetAllWindow(windows);
    for (decDbEntity* entity : windows)
        if (const CWindow* window = CWindow::Cast(entity->GetBaseObject())) {
            borne.ids.insert(WindowId(window->BuildName(), window->Floor(), window->Index()));
            borne.namesAtPositions.emplace(window->BuildName(), window->Index());
        }
    return borne;
}

// A lone floor-0 identifier is looked up among the columns first.
std::vector<CString> RenamedId(const IdRenames& windows, const IdRenames& floorZero, const CString& id, bool column)
{
    const auto lookUp = [&id](const IdRenames& renames) -> const CString* {
        const auto found = renames.find(id);
        return found != renames.end() && !found->second.IsEmpty() ? &found->second : nullptr;
    };
    const CString* to = column ? lookUp(floorZero) : nullptr;
    to = to ? to : lookUp(windows);
    return to ? std::vector<CString>{*to} : std::vector<CString>{};
}

// ---- renumberings -----------------------------------------------------------------------

// A window's numbers and the identifier they give.
struct Numbers {
    int floor = 0;
    int position = 0;
    CString id;
};

// A window of the drawing with its numbers before and after a renumbering.
struct NumberedWindow {
    CString name;
    Numbers before, after;
};

std::vector<NumberedWindow> NumberedWindows(const std::vector<RenumberedWindow>& renumbered)
{
    std::map<const CWindow*, const RenumberedWindow*> before;
    for (const RenumberedWindow& w : renumbered)
        before.try_emplace(w.window, &w);
    EntityArray entities;
    GetAllWindow(entities);
    std::vector<NumberedWindow> windows;
    for (decDbEntity* entity : entities) {
        const CWindow* window = CWindow::Cast(entity->GetBaseObject());
        if (!window)
            continue;
        const CString name = window->BuildName();
        const Numbers now{window->Floor(), window->Index(), WindowId(name, window->Floor(), window->Index())};
        const auto found = before.find(window);
        const Numbers old = found == before.end()
                                ? now
                                : Numbers{found->second->oldFloor, found->second->oldPosition,
                                          WindowId(name, found->second->oldFloor, found->second->oldPosition)};
        windows.push_back({name, old, now});
    }
    return windows;
}

// What a renumbering makes of the identifiers of records.
class RenumberImages {
public:
    explicit RenumberImages(std::vector<NumberedWindow> windows) : m_windows(std::move(windows))
    {
        std::map<CString, std::vector<const NumberedWindow*>> bearers;
        for (const NumberedWindow& w : m_windows)
            bearers[w.before.id].push_back(&w);
        for (const auto& [id, bore] : bearers) {
            if (std::none_of(bore.begin(), bore.end(), Moved))
                continue;
            std::vector<CString>& images = m_images[id];
            if (!std::all_of(bore.begin(), bore.end(), Moved))
                images.push_back(id);
            for (const NumberedWindow* w : bore)
                if (std::find(images.begin(), images.end(), w->after.id) == images.end())
                    images.push_back(w->after.id);
        }
    }

    std::vector<CString> operator()(const CString& id, bool column) const
    {
        if (column)
            return OfColumn(id);
        const auto found = m_images.find(id);
        return found != m_images.end() ? found->second : std::vector<CString>{};
    }

private:
    using When = Numbers NumberedWindow::*;

    static bool Moved(const NumberedWindow* w) { return w->before.id != w->after.id; }

    // The windows that the lone identifier text, read as a column, names by their numbers
    // before or after: the reader gives the text itself, then that position on floors 1 to 200.
    std::vector<const NumberedWindow*> Named(const CString& text, const Column& column, When when) const
    {
        std::vector<const NumberedWindow*> named;
        for (const NumberedWindow& w : m_windows) {
            const Numbers& n = w.*when;
            if (n.id == text ||
                (w.name == column.name && n.position == column.position && n.floor >= 1 && n.floor <= kColumnFloors))
                named.push_back(&w);
        }
        return named;
    }

    // The column identifier that names exactly the windows now, when they stand in one column.
    std::optional<CString> SharedColumn(const Column& column, const std::vector<const NumberedWindow*>& named) const
    {
        const int position = named.front()->after.position;
        if (std::any_of(named.begin(), named.end(),
                        [position](const NumberedWindow* w) { return w->after.position != position; }))
            return std::nullopt;
        const CString text = WindowId(column.name, 0, position);
        const std::optional<Column> moved = ReadColumn(text);
        if (!moved || Named(text, *moved, &NumberedWindow::after) != named)
            return std::nullopt;
        return text;
    }

    std::vector<CString> OfColumn(const CString& id) const
    {
        const Column column = *ReadColumn(id);
        std::vector<const NumberedWindow*> named = Named(id, column, &NumberedWindow::before);
        if (std::none_of(named.begin(), named.end(), Moved))
            return {};
        if (const std::optional<CString> shared = SharedColumn(column, named))
            return *shared == id ? std::vector<CString>{} : std::vector<CString>{*shared};
        // The windows one by one, floor by floor as the column read.
        const auto lowerFloor = [](const NumberedWindow* a, const NumberedWindow* b) {
            return a->before.floor < b->before.floor;
        };
        std::stable_sort(named.begin(), named.end(), lowerFloor);
        std::vector<CString> images;
        for (const NumberedWindow* w : named)
            images.push_back(w->after.id);
        return images;
    }

    std::vector<NumberedWindow> m_windows;
    std::map<CString, std::vector<CString>> m_images;
};

}  // namespace

CString WindowId(const CString& name, int floor, int position)
{
    CString id;
    id.Format("%s-%d-%d", name.GetString(), floor, position);
    return id;
}

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

void DetachWindowIds(decDbEntity* entity)
{
    if (!entity || entity->OpenForWrite() != dex::eOk)
        return;
    // Another program may have written more than one record: none of them may outlive it.
    while (decObjectXDataApp* record = entity->FindAppXDataByName(g_winBelongBuildAppName))
        entity->RemoveAppXData(record);
    entity->SetEntityColor(Q3dColor(kDetachedColour));
    entity->Close();
}

int HasWindowIds(decDbEntity* entity)
{
    if (!entity || !entity->Is3DEntity() || !decDbEntity3d::Cast(entity))
        return 0;
    entity->OpenForRead();
    const bool found = entity->FindAppXDataByName(g_winBelongBuildAppName) != nullptr;
    entity->Close();
    return found ? 1 : 0;
}

unsigned GetAllBuild(EntityArray& entities)
{
    CollectEntities(entities, [](decDbEntity* entity) { return HasWindowIds(entity) != 0; });
    return static_cast<unsigned>(entities.size());
}

void RenameWindowIds(const std::vector<RenamedWindow>& renamed)
{
    const auto takesPart = [](const RenamedWindow& w) { return !w.newName.IsEmpty() && w.newName != w.oldName; };
    if (std::none_of(renamed.begin(), renamed.end(), takesPart))
        return;
    const BorneIds borne = CollectBorneIds();
    IdRenames windows, floorZero;
    for (const RenamedWindow& w : renamed) {
        if (!takesPart(w))
            continue;
        if (const CString id = WindowId(w.oldName, w.floor, w.position); !borne.ids.contains(id))
            AddRename(windows, id, WindowId(w.newName, w.floor, w.position));
        if (!borne.namesAtPositions.contains({w.oldName, w.position}))
            AddRename(floorZero, WindowId(w.oldName, 0, w.position), WindowId(w.newName, 0, w.position));
    }
    RewriteRecords([&](const CString& id, bool column) { return RenamedId(windows, floorZero, id, column); });
}

void RenumberWindowIds(const std::vector<RenumberedWindow>& renumbered)
{
    const auto moved = [](const RenumberedWindow& w) {
        return w.window && (w.window->Floor() != w.oldFloor || w.window->Index() != w.oldPosition);
    };
    if (std::none_of(renumbered.begin(), renumbered.end(), moved))
        return;
    const RenumberImages images(NumberedWindows(renumbered));
    RewriteRecords([&images](const CString& id, bool column) { return images(id, column); });
}

}  // namespace WinBelongBuild

namespace {

// The string items of the record after its count, as far as the count and the items go.
void ReadIds(const decObjectXDataApp& record, std::vector<CString>& ids)
{
    const int count = WinBelongBuild::CountIds(record).count;
    ids.reserve(ids.size() + static_cast<std::size_t>(count));
    for (int i = 1; i <= count; ++i)
        if (const decObjectXData* item = record.GetAt(i); item->IsTypeString())
            ids.emplace_back(item->GetString());
}

// Appends the identifiers of the column's position on floors 1 to 200.
void ExpandColumn(const WinBelongBuild::Column& column, std::vector<CString>& ids)
{
    for (int floor = 1; floor <= WinBelongBuild::kColumnFloors; ++floor)
        ids.push_back(WinBelongBuild::WindowId(column.name, floor, column.position));
}

}  // namespace

int GetBuildWinInfo(decDbEntity* entity, std::vector<CString>& ids)
{
    decDbEntity3d* pEnt3d = decDbEntity3d::Cast(entity);
    if (!ORV_ASSERT(pEnt3d != NULL, "WinBelongBuild"))
        return 0;
    pEnt3d->OpenForRead();
    const decObjectXDataApp* record = pEnt3d->FindAppXDataByName(g_winBelongBuildAppName);
    if (!record) {
        pEnt3d->Close();
        return 0;
    }
    const std::size_t before = ids.size();
    // Only a record that says it holds one identifier stands for every floor; one that
    // claims more but holds one is a list cut short.
    const bool column = WinBelongBuild::StandsForColumn(*record);
    ReadIds(*record, ids);
    const int read = static_cast<int>(ids.size() - before);
    pEnt3d->Close();
    if (!column)
        return read;
    ExpandColumn(*WinBelongBuild::ReadColumn(CString(ids[before])), ids);
    return WinBelongBuild::kColumnFloors + 1;
}

int GetBuild(EntityArray& candidates, EntityArray& result)
{
    if (candidates.empty())
        return 0;
    EntityArray carriers;
    if (WinBelongBuild::GetAllBuild(carriers) == 0)
        return 0;
    for (decDbEntity* candidate : candidates)
        if (std::find(carriers.begin(), carriers.end(), candidate) != carriers.end())
            result.push_back(candidate);
    return result.empty() ? 0 : 1;
}
