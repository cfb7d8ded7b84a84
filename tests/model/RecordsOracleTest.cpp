// The ownership records through random sequences of every command that gives windows other
// identifiers (panel edits of numbers and building, namebld of windows and of buildings into
// free, used and old names, orderindex and orderfloor over whole and partial floors, winbld
// over twins and floor-0 windows, erase, save and open) or makes windows (qwin, orderwin,
// 2pwin and tmodel, into free numbers, numbers in use and numbers only erased windows bore) on
// blocks at national-grid coordinates. After each step every record names the windows it
// named, and those coming to bear an identifier it held while no window bore it; winbld's
// record names the windows picked, tmodel's what its file says. Or the step was refused,
// changed nothing, and done would have left some identifier borne by a window a record names
// and by one it does not. What a step gives the windows is the oracle's own reading of the
// command; the records are read as the analysis reads them.
// LUMIDRAX_RECORDS_SEQUENCES=N runs a campaign of N sequences and prints its figures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <numeric>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <tuple>
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
// the body and the windows picked; for the making commands the identifiers of the windows
// made, and those of the record tmodel writes.
struct Step {
    std::string lines;
    std::optional<Ids> relabels = {};
    Key written = 0;
    std::set<Key> picked = {};
    std::vector<std::string> made = {};
    std::set<std::string> writes = {};
};

class RecordsOracleTest : public WindowModelTest {
protected:
    void TearDown() override
    {
        std::filesystem::remove(drawing);
        std::filesystem::remove(model);
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

    // A label to make a window with: one a record holds (borne, or left by an erased window),
    // one a window bears, or a free one; floors and positions from 1, as the dialogs take them.
    std::tuple<std::string, int, int> Target()
    {
        const Snapshot now = Take();
        std::vector<std::string> ids;
        if (const std::size_t from = Pick(3); from == 0)
            for (const auto& [carrier, read] : now.read)
                ids.insert(ids.end(), read.begin(), read.end());
        else if (from == 1)
            for (const auto& [window, id] : now.windows)
                ids.push_back(id);
        std::erase_if(ids, [](const std::string& id) { return id.starts_with("-"); });  // of no building
        if (ids.empty())
            ids.push_back(IdOf(kNames[Pick(std::size(kNames))], 1 + static_cast<int>(Pick(3)),
                               1 + static_cast<int>(Pick(6))));
        const std::string id = ids[Pick(ids.size())];
        const std::size_t second = id.rfind('-'), first = id.rfind('-', second - 1);
        return {id.substr(0, first), std::max(1, std::atoi(id.c_str() + first + 1)),
                std::max(1, std::atoi(id.c_str() + second + 1))};
    }

    // qwin, orderwin or 2pwin on the south wall of the building bearing the target's name (or
    // of another one): rows of one to three windows, or a column, from the target's floor and
    // position, on one or two storeys.
    Step MakeOnFacade(int command)
    {
        const auto [name, floor, position] = Target();
        const EntityArray buildings = Live([](decDbEntity* e) { return IsExtrudeBuild(e) && IsNamed(e); });
        if (buildings.empty())
            return {""};
        EntityArray same = Live([&](decDbEntity* e) { return IsExtrudeBuild(e) && NameOf(e) == name.c_str(); });
        decDbEntity* building = Any(same.empty() || OneIn(4) ? buildings : same);
        const GePoint3d corner = building->GetBoundBox().MinPoint();
        const auto at = [&corner](double dx) {
            return std::to_string(corner.x + dx) + "," + std::to_string(corner.y);
        };
        const auto set = [](int id, int value) {
            return "set " + std::to_string(id) + " " + std::to_string(value) + "\n";
        };
        const int floors = 1 + static_cast<int>(Pick(2)), count = command == 0 ? 1 + static_cast<int>(Pick(3)) : 1;
        Step step{""};
        for (int f = floor; f < floor + floors; ++f)
            for (int p = position; p < position + count; ++p)
                step.made.push_back(IdOf(NameOf(building).str(), f, p));
        const std::string edge = Handle(building) + "@" + at(2000) + ",0\n\n";
        if (command == 0)
            step.lines = "qwin\n" + edge + set(1222, floor) + set(1223, floors) + set(1292, position) + set(1158, count);
        else if (command == 1)
            step.lines =
                "orderwin\n" + edge + set(1154, floor) + set(1155, position) + set(1156, floors) + "check 1322 1\n";
        else
            step.lines = "2pwin\n" + set(1154, floor) + set(1155, position) + set(1156, floors);
        step.lines += command == 2 ? "ok\n" + at(5000) + "\n" + at(6200) + "\n" : "ok\n";
        return step;
    }

    // tmodel of a file of one to three windows at targets, and at will a building owning one of
    // them, apart from every other building (a sill picked on it finds it alone).
    Step Import()
    {
        Step step{"tmodel\n" + model.string() + "\nyes\n"};
        std::string windows, builds = "0\n";
        const std::size_t count = 1 + Pick(3);
        for (std::size_t i = 0; i < count; ++i) {
            const auto [name, floor, position] = Target();
            step.made.push_back(IdOf(name, floor, position));
            windows += std::to_string(position) + "," + std::to_string(floor) + ",," + name + ",1500,1800,\n" +
                       std::to_string(kSiteX - 60000.0) + "," + std::to_string(kSiteY) + ",900,0\n";
            if (i == 0 && OneIn(2)) {
                step.writes.insert(step.made.back());
                const double x = kSiteX - 60000.0 - 10000.0 * static_cast<double>(Db()->NextHandle());
                builds = "1\n" + name + ",0,9000\n8\n";
                for (const auto& [dx, dy] : {std::pair{0, 0}, {8000, 0}, {8000, 8000}, {0, 8000}})
                    builds += std::to_string(x + dx) + "," + std::to_string(kSiteY - 20000.0 + dy) + ",0\n0,\n";
                builds += "," + std::to_string(position) + "," + std::to_string(floor) + "\n";
            }
        }
        std::ofstream(model) << builds << "\n" << count << "\n" << windows;
        return step;
    }

    Step Next()
    {
        const EntityArray windows = Live(WindowOf);
        const std::size_t kind = windows.empty() ? 9 : Pick(making ? 14 : 10);
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
        case 10:
        case 11:
        case 12: return MakeOnFacade(static_cast<int>(kind - 10));
        case 13: return Import();
        default:
            Script("new\n");
            Block();
            return {""};
        }
    }

    // Whether the windows a step makes would slip into a record beside a window bearing their
    // identifier: one of the drawing's records, or the one the step writes.
    static bool Joins(const Snapshot& before, const Step& step)
    {
        Ids with = before.windows;
        for (std::size_t i = 0; i < step.made.size(); ++i)
            with[~Key{0} - i] = step.made[i];
        return Split(before, with) || std::ranges::any_of(before.windows, [&step](const auto& w) {
                   return step.writes.contains(w.second) && std::ranges::count(step.made, w.second) > 0;
               });
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
            const bool cause = step.written        ? twins
                               : !step.made.empty() ? Joins(before, step)
                                                    : step.relabels && Split(before, relabelled);
            return cause ? std::nullopt : std::optional<std::string>("refused with nothing to refuse");
        }
        if ((step.relabels || step.written) && after.windows != relabelled)
            return "the windows are not numbered as the step says";
        std::multiset<std::string> made;
        for (const auto& [w, id] : after.windows)
            if (!before.windows.contains(w))
                made.insert(id);
        if (!step.made.empty() && made != std::multiset<std::string>(step.made.begin(), step.made.end()))
            return "the windows made are not those the step says";
        Named expected = Expected(before, after.windows);
        if (step.written)
            expected[step.written] = step.picked;
        for (const auto& [carrier, ids] : after.read)
            if (!before.read.contains(carrier) && !step.writes.empty())
                expected[carrier] = Bearing(after.windows, step.writes);
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
    // Whether the sequence makes windows too.
    bool making = true;
    bool saved = false;
    Snapshot atSave;
    const std::filesystem::path drawing = TempFile("records_oracle.q3d");
    const std::filesystem::path model = TempFile("records_oracle.osm");
};

}  // namespace

TEST_F(RecordsOracleTest, EveryRecordNamesTheWindowsItNamedOrTheStepIsRefused)
{
    const char* campaign = std::getenv("LUMIDRAX_RECORDS_SEQUENCES");
    std::vector<unsigned> seeds(campaign ? static_cast<std::size_t>(std::atoi(campaign)) : 40);
    std::iota(seeds.begin(), seeds.end(), 1u);
    // Sequences that found faults, of relabelling alone: a column whose window went to another
    // building refused for nothing; a column giving way without the window coming into one of
    // its free floors.
    const std::set<unsigned> relabellingOnly = {700, 1224};
    if (!campaign)
        seeds.insert(seeds.end(), relabellingOnly.begin(), relabellingOnly.end());
    unsigned wrongSequences = 0, wrongSteps = 0, refusals = 0;
    for (const unsigned seed : seeds) {
        SetUp();
        random.seed(seed);
        making = !relabellingOnly.contains(seed) || campaign;
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

// The named cases of the making commands, each making one window on the north facade of a
// building whose south facade is numbered from 1, beside a bay naming 甲栋-1-1, 甲栋-2-1 and
// 甲栋-1-3 (that window erased): numbered from 1 again it is refused with the command's advice;
// past the used numbers it is made; into the erased window's number it joins the bay's record.
TEST_F(RecordsOracleTest, MakingCommandsIntoUsedFreeAndErasedNumbersBesideARecord)
{
    const std::string file = TempFile("records_cases.osm").string();
    const std::pair<const char*, std::string> commands[] = {  // advice, lines (" P" the position)
        {"请在【窗位】中把起始窗号设在已用的窗号之后", "qwin\n#1@12000,14000,0\n\nset 1158 1\nset 1223 1\nset 1292 P\nok\n"},
        {"请重新插窗，在【窗位】中", "orderwin\n#1@12000,14000,0\n\nset 1155 P\ncheck 1322 1\nok\n"},
        {"请重新插窗，在【窗位】中", "2pwin\nset 1155 P\nok\n12000,14000\n10800,14000\n"},
        {"模型数据文件第4行起的窗与之同号，未导入任何建筑物和窗。", "tmodel\n" + file + "\nyes\n"},
    };
    const struct {
        int position;
        std::size_t made, named;  // windows made; windows the bay's record names afterwards
    } cases[] = {{1, 0, 2}, {4, 1, 2}, {3, 1, 3}};
    for (const auto& [advice, lines] : commands)
        for (const auto& c : cases) {
            SCOPED_TRACE(lines + " at " + std::to_string(c.position));
            SetUp();
            AddBuilding("甲栋", 12000, Square(0, 0, 14000));
            for (int p = 1; p <= 6; ++p)
                AddWindow({.building = "甲栋", .floor = 1 + (p - 1) / 3, .index = 1 + (p - 1) % 3,
                           .sill = {2000.0 + 3500.0 * ((p - 1) % 3), 0, 900.0 + 3000.0 * ((p - 1) / 3)}});
            const decObjectId bay = AddSolid(new decDbBox(2500, 1500, 9000));
            Tag(bay, "甲栋");
            WinBelongBuild::AttachWindowIds(Entity(bay), {"甲栋-1-1", "甲栋-2-1", "甲栋-1-3"});
            Script("erase #4\n");  // 甲栋-1-3
            std::ofstream(file) << "0\n\n1\n" << c.position << ",1,,甲栋,1500,1800,\n7000,14000,900,3.14159\n";
            const Snapshot before = Take();
            std::string run = lines;
            if (const std::size_t at = run.find(" P\n"); at != std::string::npos)
                run.replace(at + 1, 1, std::to_string(c.position));
            Script(run);
            const Snapshot after = Take();
            EXPECT_EQ(after.windows.size(), before.windows.size() + c.made) << Transcript();
            EXPECT_EQ(after.items, before.items);
            EXPECT_EQ(Bearing(after.windows, after.read.at(KeyOf(Entity(bay)))).size(), c.named);
            EXPECT_EQ(CountOf(Transcript(), "错误：修改后将有多个窗口编号为甲栋-1-1，而窗属记录只指其中的部分窗口（涉及位于"
                                            "(2000,0,900)的窗口），修改未执行。" + std::string(advice)),
                      c.made ? 0 : 1);
        }
    std::filesystem::remove(file);
}
