// The ownership records through random sequences of every command that gives windows other
// identifiers (panel edits of numbers and building, namebld of windows and of buildings into
// free, used and old names, orderindex and orderfloor over whole and partial floors, winbld
// over twins and floor-0 windows, erase, save and open) on blocks at national-grid
// coordinates. After each step every record names the windows it named, and those coming to
// bear an identifier it held while no window bore it; winbld's record names the windows
// picked. Or the step was refused, changed nothing, and done would have left some identifier
// borne by a window a record names and by one it does not. What a step gives the windows is
// the oracle's own reading of the command; the records are read as the analysis reads them.
// LUMIDRAX_RECORDS_SEQUENCES=N runs a campaign of N sequences and prints its figures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <numeric>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "HostSolids.h"
#include "ModelEntityCollect.h"
#include "ModelHelperBuildings.h"
#include "WinBelongBuild.h"
#include "WindowTestSupport.h"

namespace {

const char* const kNames[] = {"甲栋住宅", "乙栋", "B1", "B2", "丙栋", "C7"};
constexpr double kSiteX = 502000000.0, kSiteY = 3390000000.0;

using Key = std::uint64_t;                  // a handle
using Ids = std::map<Key, std::string>;     // window → its identifier
using Named = std::map<Key, std::set<Key>>;  // carrier → the windows its record names

std::string IdOf(const std::string& name, int floor, int index)
{
    return name + "-" + std::to_string(floor) + "-" + std::to_string(index);
}
const CWindow* WindowOf(decDbEntity* e) { return CWindow::Cast(e->GetBaseObject()); }
CString NameOf(decDbEntity* e)
{
    CString name;
    if (const CWindow* w = WindowOf(e))
        return w->BuildName();
    BuildName(e, name);
    return name;
}
bool IsNamed(decDbEntity* e) { return (IsExtrudeBuild(e) || IsExtendBuild(e)) && !NameOf(e).IsEmpty(); }
EntityArray Live(const std::function<bool(decDbEntity*)>& take)
{
    EntityArray found;
    CollectEntities(found, take);
    return found;
}
Key KeyOf(const decDbEntity* e) { return e->GetObjectId().Handle(); }
std::set<Key> Bearing(const Ids& windows, const std::set<std::string>& ids)
{
    std::set<Key> found;
    for (const auto& [w, id] : windows)
        if (ids.contains(id))
            found.insert(w);
    return found;
}

// The drawing as the rule sees it.
struct Snapshot {
    Ids windows;
    std::map<Key, std::set<std::string>> read;  // carrier → identifiers as read
    std::map<Key, std::string> items, names;    // carrier → its records' items; building → name
    bool operator==(const Snapshot&) const = default;
};

Snapshot Take()
{
    Snapshot s;
    for (decDbEntity* e : Live([](decDbEntity*) { return true; })) {
        if (const CWindow* w = WindowOf(e))
            s.windows[KeyOf(e)] = IdOf(w->BuildName().str(), w->Floor(), w->Index());
        if (IsExtrudeBuild(e) || IsExtendBuild(e))
            s.names[KeyOf(e)] = NameOf(e).str();
        if (!WinBelongBuild::HasWindowIds(e))
            continue;
        std::vector<CString> ids;
        GetBuildWinInfo(e, ids);
        s.read[KeyOf(e)] = {ids.begin(), ids.end()};
        for (const auto& record : e->XDataApps())
            for (int i = 0; WinBelongBuild::IsOwnershipRecord(*record) && i < record->GetCount(); ++i)
                s.items[KeyOf(e)] += (record->GetAt(i)->IsTypeLong() ? std::to_string(record->GetAt(i)->GetLong())
                                                                     : record->GetAt(i)->GetString()) + " ";
    }
    return s;
}

// What each record is to name once the windows bear the identifiers after: the windows it
// named (but those erased or of no building now), and those coming to bear an identifier it
// held while no window bore it.
Named Expected(const Snapshot& before, const Ids& after)
{
    Named expected;
    for (const auto& [carrier, ids] : before.read) {
        std::set<std::string> unborne = ids;
        for (const auto& [w, id] : before.windows)
            unborne.erase(id);
        std::set<Key>& named = expected[carrier];
        for (const Key w : Bearing(before.windows, ids))
            if (after.contains(w) && !after.at(w).starts_with("-"))
                named.insert(w);
        for (const Key w : Bearing(after, unborne))
            named.insert(w);
    }
    return expected;
}

// Whether some identifier after would be borne by a window a record is to name and by one it
// is not to: no record of identifiers could then name what it should.
bool Split(const Snapshot& before, const Ids& after)
{
    for (const auto& [carrier, named] : Expected(before, after)) {
        std::map<std::string, std::set<bool>> in;
        for (const auto& [w, id] : after)
            in[id].insert(named.contains(w));
        if (std::ranges::any_of(in, [](const auto& bearers) { return bearers.second.size() == 2; }))
            return true;
    }
    return false;
}

// One step: its lines and, when it relabels windows, the identifiers it gives them; for winbld
// the body and the windows picked.
struct Step {
    std::string lines;
    std::optional<Ids> relabels = {};
    Key written = 0;
    std::set<Key> picked = {};
};

class RecordsOracleTest : public WindowModelTest {
protected:
    void TearDown() override
    {
        std::filesystem::remove(drawing);
        WindowModelTest::TearDown();
    }

    std::size_t Pick(std::size_t count) { return std::uniform_int_distribution<std::size_t>(0, count - 1)(random); }
    bool OneIn(std::size_t n) { return Pick(n) == 0; }
    decDbEntity* Any(const EntityArray& among) { return among[Pick(among.size())]; }
    EntityArray Some(const EntityArray& among)
    {
        EntityArray some;
        std::ranges::copy_if(among, std::back_inserter(some), [this](decDbEntity*) { return OneIn(2); });
        return some.empty() ? EntityArray{Any(among)} : some;
    }
    static std::string Handles(const EntityArray& among)
    {
        std::string handles;
        for (decDbEntity* e : among)
            handles += Handle(e) + " ";
        return handles;
    }

    // Two to four buildings side by side, each with a south facade and at will a north one
    // numbered from 1 again (as qwin leaves a second facade), floors from 0 or 1; bays tagged
    // with the building's name carry records of some of its windows, a column, or none.
    void Block()
    {
        std::vector<std::string> names(std::begin(kNames), std::end(kNames));
        std::shuffle(names.begin(), names.end(), random);
        for (std::size_t b = 0, buildings = 2 + Pick(3); b < buildings; ++b) {
            const char* name = names[b].c_str();
            const double x = kSiteX + 30000.0 * static_cast<double>(b);
            AddBuilding(name, 12000, Square(x, kSiteY, 14000));
            const int lowest = static_cast<int>(Pick(2)), floors = 2 + static_cast<int>(Pick(2));
            const int positions = 2 + static_cast<int>(Pick(2));
            const bool twinned = OneIn(3);
            std::vector<std::string> ids;
            for (int floor = lowest; floor < lowest + floors; ++floor)
                for (int p = 1; p <= positions; ++p) {
                    const GePoint3d sill(x + 2000.0 + 3500.0 * (p - 1), kSiteY, 3000.0 * floor);
                    AddWindow({.building = name, .floor = floor, .index = p, .sill = sill});
                    if (twinned)
                        AddWindow({.building = name, .floor = floor, .index = p, .sill = sill + GeVector3d(0, 14000, 0),
                                   .outward = {0, 1, 0}});
                    ids.push_back(IdOf(name, floor, p));
                }
            for (std::size_t bay = 0; bay < 1 + Pick(2); ++bay) {
                GeMatrix3d at;
                at.SetToTranslation(GeVector3d(x + 2000.0 + 6000.0 * static_cast<double>(bay), kSiteY - 1500.0, 0));
                const decObjectId body = AddSolid(new decDbBox(2500, 1500, 9000), at);
                Tag(body, name);
                std::vector<CString> held;
                if (OneIn(4))
                    held.push_back(IdOf(name, 0, 1 + static_cast<int>(Pick(positions))).c_str());
                else if (!OneIn(4))
                    for (const std::string& id : ids)
                        if (OneIn(3))
                            held.push_back(id.c_str());
                if (!held.empty())
                    WinBelongBuild::AttachWindowIds(Entity(body), held);
            }
        }
    }

    static Step Relabelling(std::string lines, const EntityArray& windows,
                            const std::function<std::string(const CWindow&)>& id)
    {
        Step step{std::move(lines), Ids{}};
        for (decDbEntity* e : windows)
            (*step.relabels)[KeyOf(e)] = id(*WindowOf(e));
        return step;
    }
    static Step Renamed(std::string lines, const EntityArray& windows, const std::string& name)
    {
        return Relabelling(std::move(lines), windows, [&](const CWindow& w) { return IdOf(name, w.Floor(), w.Index()); });
    }

    // The windows of one building: one floor of it whole, or some of all its floors.
    EntityArray Floor(bool whole)
    {
        const EntityArray windows = Live(WindowOf);
        const CWindow* chosen = WindowOf(Any(windows));
        EntityArray floor;
        for (decDbEntity* e : windows)
            if (WindowOf(e)->BuildName() == chosen->BuildName() && (!whole || WindowOf(e)->Floor() == chosen->Floor()))
                floor.push_back(e);
        return whole ? floor : Some(floor);
    }

    // orderindex: every floor of the windows numbered from the start by x, then y.
    static Step OrderIndex(const EntityArray& windows, int start)
    {
        std::map<int, std::vector<std::pair<GePoint3d, const CWindow*>>> floors;
        for (decDbEntity* e : windows)
            floors[WindowOf(e)->Floor()].emplace_back(e->GetLocalTM() * GePoint3d(), WindowOf(e));
        std::map<const CWindow*, int> numbers;
        for (auto& [floor, run] : floors) {
            std::ranges::stable_sort(run, [](const auto& a, const auto& b) {
                return std::fabs(a.first.x - b.first.x) > 0.001 ? a.first.x < b.first.x : a.first.y < b.first.y;
            });
            for (std::size_t i = 0; i < run.size(); ++i)
                numbers[run[i].second] = start + static_cast<int>(i);
        }
        return Relabelling("orderindex\n" + Handles(windows) + "\n" + std::to_string(start) + "\n*cancel*\n", windows,
                           [&](const CWindow& w) { return IdOf(w.BuildName().str(), w.Floor(), numbers.at(&w)); });
    }

    // orderfloor: the distinct floors of the windows, ascending, numbered from the start.
    static Step OrderFloor(const EntityArray& windows, int start)
    {
        std::set<int> floors;
        for (decDbEntity* e : windows)
            floors.insert(WindowOf(e)->Floor());
        return Relabelling("orderfloor\n" + Handles(windows) + "\n" + std::to_string(start) + "\n*cancel*\n", windows,
                           [&](const CWindow& w) {
                               const auto rank = std::distance(floors.begin(), floors.find(w.Floor()));
                               return IdOf(w.BuildName().str(), start + static_cast<int>(rank), w.Index());
                           });
    }

    // namebld of one building or bay: what else bears its old name is offered the new one.
    Step NameBuilding(decDbEntity* target, const std::string& name)
    {
        const CString old = NameOf(target);
        const EntityArray others = Live([&](decDbEntity* e) {
            return e != target && (IsNamed(e) || WindowOf(e)) && NameOf(e) == old;
        });
        const bool asked = IsNamed(target) && old != name.c_str() && !others.empty();
        const bool yes = asked && OneIn(2);
        EntityArray windows;
        std::ranges::copy_if(others, std::back_inserter(windows), [yes](decDbEntity* e) { return yes && WindowOf(e); });
        return Renamed("namebld\n" + name + "\n" + Handle(target) + "\n" + (asked ? yes ? "yes\n" : "no\n" : "") +
                           "\n*cancel*\n",
                       windows, name);
    }

    // winbld on a named building or bay: a column of its windows, one (of floor 0 when there
    // is one), some, or none (the record cleared).
    Step Winbld()
    {
        decDbEntity* target = Any(Live(IsNamed));
        const CString name = NameOf(target);
        const auto of = [&name](decDbEntity* e) { return WindowOf(e) && WindowOf(e)->BuildName() == name; };
        const EntityArray windows = Live(of);
        EntityArray picked;
        const std::size_t how = windows.empty() ? 3 : Pick(4);
        if (how == 0) {
            const int position = WindowOf(Any(windows))->Index();
            std::ranges::copy_if(windows, std::back_inserter(picked),
                                 [position](decDbEntity* e) { return WindowOf(e)->Index() == position; });
        } else if (how == 1) {
            const EntityArray low = Live([&](decDbEntity* e) { return of(e) && WindowOf(e)->Floor() == 0; });
            picked.push_back(Any(low.empty() ? windows : low));
        } else if (how == 2) {
            picked = Some(windows);
        }
        Step step{"winbld\n" + Handle(target) + "\n" + Handles(picked) + "\n", std::nullopt, KeyOf(target)};
        std::ranges::transform(picked, std::inserter(step.picked, step.picked.end()), KeyOf);
        return step;
    }

    Step Next()
    {
        const EntityArray windows = Live(WindowOf);
        const std::size_t kind = windows.empty() ? 9 : Pick(10);
        const int start = static_cast<int>(Pick(4));
        const std::string name = kNames[Pick(std::size(kNames))];  // free, used, or held by records
        switch (kind) {
        case 0: {
            decDbEntity* window = Any(windows);
            const bool floor = OneIn(2);
            return Relabelling("setprop " + Handle(window) + (floor ? " 1 " : " 0 ") + std::to_string(start) + "\n",
                               {window}, [&](const CWindow& w) {
                                   return IdOf(w.BuildName().str(), floor ? start : w.Floor(), floor ? w.Index() : start);
                               });
        }
        case 1: {
            decDbEntity* window = Any(windows);
            decDbEntity* building = Any(Live(IsNamed));
            return Renamed("setprop " + Handle(window) + " 4\n" + Handle(building) + "\n", {window},
                           NameOf(building).str());
        }
        case 2: {
            // Now and then the windows' name is cleared.
            const EntityArray some = Some(windows);
            if (OneIn(8))
                return Renamed("namebld\n\n" + Handles(some) + "\n*cancel*\n", some, "");
            return Renamed("namebld\n" + name + "\n" + Handles(some) + "\n\n*cancel*\n", some, name);
        }
        case 3: return NameBuilding(Any(Live(IsNamed)), name);
        case 4: return OrderIndex(Floor(OneIn(2)), start);
        case 5: return OrderFloor(Floor(OneIn(2)), start);
        case 6: return Winbld();
        case 7: {
            const EntityArray bays = Live(IsExtendBuild);
            return {"erase " + Handle(Any(bays.empty() || !OneIn(3) ? windows : bays)) + "\n"};
        }
        case 8:
            if (saved && OneIn(2))
                return {"open " + drawing.string() + "\n"};
            saved = true;
            atSave = Take();
            return {"save " + drawing.string() + "\n"};
        default:
            Script("new\n");
            Block();
            return {""};
        }
    }

    // What the step left wrong, or nothing.
    static std::optional<std::string> Wrong(const Snapshot& before, const Snapshot& after, const Step& step, bool refused)
    {
        Ids relabelled = before.windows;
        for (const auto& [w, id] : step.relabels.value_or(Ids{}))
            relabelled[w] = id;
        if (refused) {
            const bool twins = std::ranges::any_of(step.picked, [&](Key p) {
                return std::ranges::any_of(before.windows, [&](const auto& w) {
                    return w.second == before.windows.at(p) && !step.picked.contains(w.first);
                });
            });
            if (after != before)
                return "refused, yet the drawing changed";
            if (step.written ? !twins : !step.relabels || !Split(before, relabelled))
                return "refused with nothing to refuse";
            return std::nullopt;
        }
        if ((step.relabels || step.written) && after.windows != relabelled)
            return "the windows are not numbered as the step says";
        Named expected = Expected(before, after.windows);
        if (step.written)
            expected[step.written] = step.picked;
        for (const auto& [carrier, ids] : after.read)
            if (!expected.contains(carrier))
                return "a record appeared on #" + std::to_string(carrier);
        for (const auto& [carrier, windows] : expected) {
            // A body erased takes its record with it.
            const std::set<Key> named =
                after.read.contains(carrier) ? Bearing(after.windows, after.read.at(carrier)) : std::set<Key>{};
            if (after.names.contains(carrier) && named != windows)
                return "the record on #" + std::to_string(carrier) + " names " + std::to_string(named.size()) +
                       " windows, not the " + std::to_string(windows.size()) + " it should";
        }
        return std::nullopt;
    }

    std::mt19937 random;
    bool saved = false;
    Snapshot atSave;
    const std::filesystem::path drawing = TempFile("records_oracle.q3d");
};

}  // namespace

TEST_F(RecordsOracleTest, EveryRecordNamesTheWindowsItNamedOrTheStepIsRefused)
{
    const char* campaign = std::getenv("LUMIDRAX_RECORDS_SEQUENCES");
    std::vector<unsigned> seeds(campaign ? static_cast<std::size_t>(std::atoi(campaign)) : 40);
    std::iota(seeds.begin(), seeds.end(), 1u);
    // Sequences that found faults: a column whose window went to another building refused for
    // nothing; a column giving way without the window coming into one of its free floors.
    if (!campaign)
        seeds.insert(seeds.end(), {700, 1224});
    unsigned wrongSequences = 0, wrongSteps = 0, refusals = 0;
    for (const unsigned seed : seeds) {
        SetUp();
        random.seed(seed);
        saved = false;
        Block();
        bool wrong = false;
        for (int i = 0; i < 30; ++i) {
            const Snapshot before = Take();
            const int refusedBefore = CountOf(Transcript(), "修改未执行");
            const Step step = Next();
            if (step.lines.empty())
                continue;
            ASSERT_TRUE(Run(step.lines)) << "seed " << seed << ", step " << i << ":\n" << step.lines;
            const bool refused = CountOf(Transcript(), "修改未执行") > refusedBefore;
            refusals += refused;
            // An open brings back the drawing as it was saved.
            const std::optional<std::string> fault =
                step.lines.starts_with("open ") ? (Take() == atSave ? std::nullopt : std::optional("not as saved"))
                                                : Wrong(before, Take(), step, refused);
            if (!fault)
                continue;
            ++wrongSteps;
            if (!std::exchange(wrong, true) || campaign)
                ADD_FAILURE() << "seed " << seed << ", step " << i << ": " << *fault << "\n" << step.lines;
        }
        wrongSequences += wrong;
    }
    if (campaign)
        std::printf("records oracle: %zu sequences x 30 steps, %u wrong sequences, %u wrong steps, %u refused\n",
                    seeds.size(), wrongSequences, wrongSteps, refusals);
}
