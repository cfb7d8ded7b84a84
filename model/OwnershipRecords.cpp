#include "OwnershipRecords.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "CheckedNumbers.h"
#include "CommandLine.h"
#include "DbDatabase.h"
#include "ModuleGlobals.h"
#include "OwnershipIndex.h"
#include "WinBelongBuild.h"
#include "Window.h"
#include "WorkingDrawing.h"
#include "decDbEntity.h"

namespace WinBelongBuild {

namespace {

// A record's count is stored in 32 bits.
constexpr long kMaxStoredCount = std::numeric_limits<std::int32_t>::max();
constexpr const char* kRecordTooLong = "错误：窗属记录的窗口数超出可保存的范围，该记录保持不变。";
// A change that would leave a record naming only some of the windows bearing an identifier.
constexpr const char* kRefusal =
    "错误：修改后将有多个窗口编号为%s，而窗属记录只指其中的部分窗口（涉及位于(%.0f,%.0f,%.0f)的窗口），修改未执行。%s";

CString IdOf(const WindowLabel& label)
{
    return WindowId(label.name, label.floor, label.position);
}

// The key under which a record standing for the column of the label's position is found.
CString ColumnKey(const WindowLabel& label)
{
    return WindowId(label.name, 0, label.position);
}

bool InColumn(const WindowLabel& label, const Column& column)
{
    return label.name == column.name && label.position == column.position && label.floor >= 1 &&
           label.floor <= kColumnFloors;
}

// The windows in drawing order, each once.
void InDrawingOrder(Windows& windows)
{
    const auto earlier = [](const CWindow* a, const CWindow* b) {
        return a->GetObjectId().Handle() < b->GetObjectId().Handle();
    };
    std::sort(windows.begin(), windows.end(), earlier);
    windows.erase(std::unique(windows.begin(), windows.end()), windows.end());
}

bool InDrawing(const CWindow& window)
{
    const decObjectId id = window.GetObjectId();
    const decDbEntity* entity = id.IsNull() ? nullptr : dec::GetWorkingDatabase()->GetObjectById(id);
    return entity && !entity->IsErased() && entity->GetBaseObject() == &window;
}

std::optional<int> WholeInt(std::string_view text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// The labels whose identifier is the text. A name may hold "-" itself, so every "-" may be
// the one after the name; the floor may be negative, so the "-" between the numbers comes
// after the first character of the floor.
std::vector<WindowLabel> LabelsOf(const CString& id)
{
    const std::string_view text = id.str();
    std::vector<WindowLabel> labels;
    for (std::size_t dash = text.find('-'); dash != std::string_view::npos; dash = text.find('-', dash + 1)) {
        const std::string_view numbers = text.substr(dash + 1);
        const std::size_t between = numbers.find('-', 1);
        if (between == std::string_view::npos)
            continue;
        const std::optional<int> floor = WholeInt(numbers.substr(0, between));
        const std::optional<int> position = WholeInt(numbers.substr(between + 1));
        if (!floor || !position)
            continue;
        WindowLabel label{CString(text.substr(0, dash)), *floor, *position};
        if (IdOf(label) == id)
            labels.push_back(std::move(label));
    }
    return labels;
}

// Whether the record, read as the analysis reads it, holds the identifier.
bool Holds(const decObjectXDataApp& record, const CString& id)
{
    const std::vector<CString> ids = ReadIds(record);
    if (std::find(ids.begin(), ids.end(), id) != ids.end())
        return true;
    if (!StandsForColumn(record))
        return false;
    const Column column = *ReadColumn(ids.front());
    const std::vector<WindowLabel> labels = LabelsOf(id);
    return std::any_of(labels.begin(), labels.end(), [&column](const WindowLabel& l) { return InColumn(l, column); });
}

// The records on an entity, in their order.
std::vector<decObjectXDataApp> RecordsOn(decDbEntity* entity)
{
    std::vector<decObjectXDataApp> records;
    entity->OpenForRead();
    for (const auto& held : entity->XDataApps())
        if (IsOwnershipRecord(*held))
            records.push_back(*held);
    entity->Close();
    return records;
}

// One change of labels, seen before and after it. The windows it relabels are known by their
// labels; every other window by the identifier it bears, through the index.
class Change {
public:
    using When = WindowLabel Relabel::*;
    static constexpr When kBefore = &Relabel::before;
    static constexpr When kAfter = &Relabel::after;

    explicit Change(std::span<const Relabel> relabels)
    {
        for (const Relabel& relabel : relabels) {
            m_relabelled.insert(relabel.window);
            // A window whose name is cleared leaves the records as they are.
            if (relabel.after.name.IsEmpty())
                continue;
            m_labels.emplace(relabel.window, &relabel);
            m_bearers[0].emplace(IdOf(relabel.before).str(), relabel.window);
            m_bearers[1].emplace(IdOf(relabel.after).str(), relabel.window);
        }
    }

    WindowLabel Label(const CWindow* window, When when) const
    {
        const auto found = m_labels.find(window);
        return found != m_labels.end() ? found->second->*when : LabelOf(*window);
    }
    CString Id(const CWindow* window, When when) const { return IdOf(Label(window, when)); }
    bool Moved(const CWindow* window) const { return Id(window, kBefore) != Id(window, kAfter); }

    Windows Bearers(const CString& id, When when) const
    {
        Windows found = Unrelabelled(id);
        const auto [first, last] = m_bearers[when == kBefore ? 0 : 1].equal_range(id.str());
        for (auto at = first; at != last; ++at)
            found.push_back(at->second);
        InDrawingOrder(found);
        return found;
    }

    // The windows a lone floor-0 identifier names: those bearing it, and those at its
    // column's position on floors 1 to 200.
    Windows NamedByColumn(const CString& id, When when) const
    {
        const Column column = *ReadColumn(id);
        Windows found = Bearers(id, when);
        for (int floor = 1; floor <= kColumnFloors; ++floor)
            for (const CWindow* w : Unrelabelled(IdOf({column.name, floor, column.position})))
                if (InColumn(LabelOf(*w), column))
                    found.push_back(w);
        for (const auto& [window, relabel] : m_labels)
            if (InColumn(relabel->*when, column))
                found.push_back(window);
        InDrawingOrder(found);
        return found;
    }

    Windows NamedBy(const decObjectXDataApp& record, When when) const
    {
        const std::vector<CString> ids = ReadIds(record);
        if (StandsForColumn(record))
            return NamedByColumn(ids.front(), when);
        Windows found;
        for (const CString& id : ids) {
            const Windows bearers = Bearers(id, when);
            found.insert(found.end(), bearers.begin(), bearers.end());
        }
        InDrawingOrder(found);
        return found;
    }

    // What one identifier of a record becomes (column: it is the record's lone floor-0
    // identifier); nothing when it stays.
    std::vector<CString> Images(const CString& id, bool column) const
    {
        if (column)
            return ColumnImages(id);
        const Windows bore = Bearers(id, kBefore);
        const auto moved = [this](const CWindow* w) { return Moved(w); };
        if (std::none_of(bore.begin(), bore.end(), moved))
            return {};
        std::vector<CString> images;
        if (!std::all_of(bore.begin(), bore.end(), moved))
            images.push_back(id);
        for (const CWindow* w : bore)
            if (const CString now = Id(w, kAfter); std::find(images.begin(), images.end(), now) == images.end())
                images.push_back(now);
        return images;
    }

    // What would name a window wrongly if the record were rewritten so: a window it named that
    // it would no longer name, or one it would come to name that does not bear an identifier
    // the record held while no window bore it.
    std::optional<Clash> Conflict(const decObjectXDataApp& record, const decObjectXDataApp& rewritten) const
    {
        const Windows was = NamedBy(record, kBefore);
        const Windows is = NamedBy(rewritten, kAfter);
        const std::unordered_set<const CWindow*> wasSet(was.begin(), was.end()), isSet(is.begin(), is.end());
        for (const CWindow* w : was)
            if (!isSet.contains(w))
                return Clash{Id(w, kAfter), w};
        for (const CWindow* w : is)
            if (const CString id = Id(w, kAfter);
                !wasSet.contains(w) && (!Holds(record, id) || !Bearers(id, kBefore).empty()))
                return Clash{id, w};
        return std::nullopt;
    }

private:
    // The windows bearing the identifier that the change does not relabel (they bore it before
    // too).
    Windows Unrelabelled(const CString& id) const
    {
        Windows windows = g_ownershipIndex.WindowsBearing(id.str());
        std::erase_if(windows, [this](const CWindow* w) { return m_relabelled.contains(w); });
        return windows;
    }

    // The lone floor-0 identifier that names exactly the windows after the change, when they
    // stand in one column then.
    std::optional<CString> SharedColumn(const Windows& named) const
    {
        const WindowLabel first = Label(named.front(), kAfter);
        const auto elsewhere = [&](const CWindow* w) {
            const WindowLabel label = Label(w, kAfter);
            return label.name != first.name || label.position != first.position;
        };
        if (std::any_of(named.begin(), named.end(), elsewhere))
            return std::nullopt;
        const CString text = WindowId(first.name, 0, first.position);
        if (!ReadColumn(text) || NamedByColumn(text, kAfter) != named)
            return std::nullopt;
        return text;
    }

    std::vector<CString> ColumnImages(const CString& id) const
    {
        Windows named = NamedByColumn(id, kBefore);
        if (std::none_of(named.begin(), named.end(), [this](const CWindow* w) { return Moved(w); }))
            return {};
        // A window coming to bear a floor of the column that no window bore joins it.
        Windows joining;
        for (const CWindow* w : NamedByColumn(id, kAfter))
            if (std::find(named.begin(), named.end(), w) == named.end() && Bearers(Id(w, kAfter), kBefore).empty())
                joining.push_back(w);
        if (const std::optional<CString> shared = SharedColumn(named); shared && joining.empty())
            return *shared == id ? std::vector<CString>{} : std::vector<CString>{*shared};
        // The windows one by one, floor by floor as the column read, then those joining.
        std::stable_sort(named.begin(), named.end(), [this](const CWindow* a, const CWindow* b) {
            return Label(a, kBefore).floor < Label(b, kBefore).floor;
        });
        std::vector<CString> images;
        for (const Windows* windows : {&named, &joining})
            for (const CWindow* w : *windows)
                images.push_back(Id(w, kAfter));
        return images;
    }

    // Every window the change relabels, and the labels of those it does not clear.
    std::unordered_set<const CWindow*> m_relabelled;
    std::unordered_map<const CWindow*, const Relabel*> m_labels;
    // Those windows by the identifier they bear before and after.
    std::unordered_multimap<std::string, const CWindow*> m_bearers[2];
};

// A record with its identifiers replaced by their images, and whether its count still fits
// what a record stores.
struct Rewritten {
    decObjectXDataApp record;
    bool fits = true;
};

// The record with each identifier (a string item the reader reads) replaced by its images,
// each identifier once; the items that are no identifiers keep their places and the count
// follows the identifiers. A record that named windows one by one, or a column whose windows
// went their own ways, is kept from coming to stand for a column: its lone floor-0 identifier
// is written twice. Nothing when no identifier changes.
std::optional<Rewritten> RewriteRecord(const decObjectXDataApp& record, const Change& change)
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
        at.images = change.Images(id, column);
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
    // A count already beyond 32 bits, which no drawing file holds, is kept as it is.
    const auto assemble = [&record, stored, count](const std::vector<decObjectXData>& ids) {
        decObjectXDataApp rewritten(g_winBelongBuildAppName);
        rewritten.AppendDataLong(stored <= kMaxStoredCount ? stored + (std::ssize(ids) - count) : stored);
        for (const decObjectXData& id : ids)
            rewritten.Append(id);
        for (int i = count + 1; i < record.GetCount(); ++i)
            rewritten.Append(*record.GetAt(i));
        return rewritten;
    };
    Rewritten result{assemble(written)};
    // A lone floor-0 identifier left stands for its column only when the record stood for one
    // and that column names just the windows the record named.
    if (StandsForColumn(result.record) &&
        (!column || change.NamedBy(result.record, Change::kAfter) != change.NamedBy(record, Change::kBefore))) {
        written.push_back(written.front());
        result.record = assemble(written);
    }
    result.fits = stored <= kMaxStoredCount && StoredAs<std::int32_t>(CountIds(result.record).stored).has_value();
    return result;
}

// What the records of one body become.
struct BodyRewrite {
    decDbEntity* carrier;
    std::vector<decObjectXDataApp> records;
};

// The keys under which the records the change could touch are found: the identifiers and
// columns the windows bear before and after it.
std::vector<std::string> TouchedKeys(std::span<const Relabel> changes)
{
    std::vector<std::string> keys;
    for (const Relabel& change : changes)
        if (!change.after.name.IsEmpty())
            for (const WindowLabel* label : {&change.before, &change.after}) {
                keys.push_back(IdOf(*label).str());
                keys.push_back(ColumnKey(*label).str());
            }
    return keys;
}

// Where the window stands: the origin of its frame.
GePoint3d PlaceOf(const CWindow& window)
{
    GePoint3d origin;
    GeVector3d x, y, z;
    if (decDbEntity* entity = dec::GetWorkingDatabase()->GetObjectById(window.GetObjectId())) {
        entity->OpenForRead();
        entity->GetLocalTM().GetCoordSystem(origin, x, y, z);
        entity->Close();
    }
    return origin;
}

// Writes the bodies' records, in their order.
void Write(const std::vector<BodyRewrite>& rewrites)
{
    for (const BodyRewrite& rewrite : rewrites) {
        decDbEntity* entity = rewrite.carrier;
        if (entity->OpenForWrite() != dex::eOk)
            continue;
        entity->RemoveAppXData(g_winBelongBuildAppName);
        for (const decObjectXDataApp& record : rewrite.records)
            entity->AppendAppXData(new decObjectXDataApp(record));
        entity->Close();
    }
}

}  // namespace

WindowLabel LabelOf(const CWindow& window)
{
    return {window.BuildName(), window.Floor(), window.Index()};
}

void OwnershipRecords::Follow(const std::vector<Relabel>& relabels)
{
    Apply(relabels, false);
}

std::optional<Clash> OwnershipRecords::FollowExactly(const std::vector<Relabel>& relabels)
{
    return Apply(relabels, true);
}

bool OwnershipRecords::FollowOrRefuse(const std::vector<Relabel>& relabels, const char* advice)
{
    const std::optional<Clash> clash = FollowExactly(relabels);
    if (clash)
        dec::PrintPrompt(Refusal(*clash, advice));
    return !clash;
}

bool OwnershipRecords::RelabelWindows(const Relabelling& relabelling, const char* advice)
{
    std::vector<Relabel> relabels;
    for (const auto& [window, after] : relabelling)
        relabels.push_back({window, LabelOf(*window), after});
    if (!FollowOrRefuse(relabels, advice))
        return false;
    // The window's setters ask for write access themselves; a field kept is not written.
    for (const auto& [window, after] : relabelling) {
        const WindowLabel before = LabelOf(*window);
        if (before == after)
            continue;
        window->OpenForWrite();
        if (before.name != after.name)
            window->SetBuild(after.name);
        if (before.floor != after.floor)
            window->SetFloor(after.floor);
        if (before.position != after.position)
            window->SetIndex(after.position);
        window->Close();
    }
    return true;
}

std::optional<Clash> OwnershipRecords::Joining(const std::vector<WindowLabel>& labels,
                                               const std::vector<std::vector<CString>>& written)
{
    // The records the step writes, under each identifier they hold (a column's under its own
    // floor-0 identifier), as the index files the drawing's.
    std::vector<decObjectXDataApp> writing;
    std::unordered_multimap<std::string, std::size_t> writingById;
    for (const std::vector<CString>& ids : written) {
        for (const CString& id : ids)
            writingById.emplace(id.str(), writing.size());
        writing.push_back(OwnershipRecord(ids));
    }
    for (const WindowLabel& label : labels) {
        if (label.name.IsEmpty())
            continue;
        const CString id = IdOf(label);
        const Windows bearers = g_ownershipIndex.WindowsBearing(id.str());
        if (bearers.empty())
            continue;
        const std::vector<std::string> keys{id.str(), ColumnKey(label).str()};
        for (const std::string& key : keys)
            for (auto [at, end] = writingById.equal_range(key); at != end; ++at)
                if (Holds(writing[at->second], id))
                    return Clash{id, bearers.front()};
        for (decDbEntity* carrier : g_ownershipIndex.CarriersHolding(keys))
            for (const decObjectXDataApp& record : RecordsOn(carrier))
                if (Holds(record, id))
                    return Clash{id, bearers.front()};
    }
    return std::nullopt;
}

std::optional<Clash> OwnershipRecords::Twin(const std::vector<const CWindow*>& windows)
{
    const std::unordered_set<const CWindow*> among(windows.begin(), windows.end());
    for (const CWindow* window : windows) {
        const CString id = IdOf(LabelOf(*window));
        for (const CWindow* bearer : g_ownershipIndex.WindowsBearing(id.str()))
            if (!among.contains(bearer))
                return Clash{id, bearer};
    }
    return std::nullopt;
}

CString Refusal(const Clash& clash, const char* advice)
{
    const GePoint3d at = PlaceOf(*clash.window);
    CString text;
    text.Format(kRefusal, clash.id.GetString(), at.x, at.y, at.z, advice);
    return text;
}

std::optional<Clash> OwnershipRecords::Apply(const std::vector<Relabel>& relabels, bool exactly)
{
    std::vector<Relabel> changes;
    for (const Relabel& relabel : relabels)
        if (relabel.window && relabel.before != relabel.after && InDrawing(*relabel.window))
            changes.push_back(relabel);
    if (changes.empty())
        return std::nullopt;
    const EntityArray touched = g_ownershipIndex.CarriersHolding(TouchedKeys(changes));
    if (touched.empty())
        return std::nullopt;
    const Change change(changes);
    std::vector<BodyRewrite> rewrites;
    int tooLong = 0;
    for (decDbEntity* carrier : touched) {
        BodyRewrite rewrite{carrier, RecordsOn(carrier)};
        bool changed = false;
        for (decObjectXDataApp& record : rewrite.records) {
            std::optional<Rewritten> rewritten = RewriteRecord(record, change);
            const decObjectXDataApp& next = rewritten ? rewritten->record : record;
            if (std::optional<Clash> clash = exactly ? change.Conflict(record, next) : std::nullopt)
                return clash;
            if (!rewritten)
                continue;
            if (!rewritten->fits) {
                ++tooLong;
                continue;
            }
            record = std::move(rewritten->record);
            changed = true;
        }
        if (changed)
            rewrites.push_back(std::move(rewrite));
    }
    for (int i = 0; i < tooLong; ++i)
        dec::PrintPrompt(kRecordTooLong);
    Write(rewrites);
    return std::nullopt;
}

}  // namespace WinBelongBuild
