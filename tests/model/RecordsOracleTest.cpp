// The ownership records through random sequences of the commands that relabel windows (panel
// edits, namebld, orderindex, orderfloor, winbld) or make them (qwin, orderwin, 2pwin, tmodel),
// with erase, save and open, on blocks at national-grid coordinates. After each step every
// record names the windows it named and those coming to bear an identifier it held while no
// window bore it; or the step was refused, changed nothing, and done would have left an
// identifier borne by a window a record is to name and by one it is not to. What a step gives
// the windows is the oracle's own reading of the command.
// LUMIDRAX_RECORDS_SEQUENCES=N runs a campaign of N sequences and prints its figures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <numeric>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "HostSolids.h"
#include "WinBelongBuild.h"
#include "WindowTestSupport.h"

namespace {

const char* const kNames[] = {"甲栋住宅", "乙栋", "B1", "B2", "丙栋", "C7"};
constexpr double kSiteX = 502000000.0, kSiteY = 3390000000.0;
constexpr const char* kRefused = "修改未执行";

// The making commands: qwin and orderwin pick the wall at {E}, 2pwin runs from {A} to {Z}; rows
// from floor {F} and position {P} on {N} storeys, of {C} windows (qwin's alone).
const char* const kMaking[] = {
    "qwin\n{B}@{E},0\n\nset 1222 {F}\nset 1223 {N}\nset 1292 {P}\nset 1158 {C}\nok\n",
    "orderwin\n{B}@{E},0\n\nset 1154 {F}\nset 1155 {P}\nset 1156 {N}\ncheck 1322 1\nok\n",
    "2pwin\nset 1154 {F}\nset 1155 {P}\nset 1156 {N}\nok\n{A}\n{Z}\n",
};

using Key = std::uint64_t;                   // a handle
using Ids = std::map<Key, std::string>;      // window → its identifier
using Named = std::map<Key, std::set<Key>>;  // carrier → the windows its record names
using Label = std::tuple<std::string, int, int>;

std::string IdOf(const std::string& name, int floor, int index)
{
    return name + "-" + std::to_string(floor) + "-" + std::to_string(index);
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

// The drawing as the rule sees it: identifiers as the analysis reads them, records' items as
// stored, the names buildings and bays bear.
struct Snapshot {
    Ids windows;
    std::map<Key, std::set<std::string>> read;
    std::map<Key, std::vector<std::vector<std::string>>> items;
    std::map<Key, std::string> names;
    bool operator==(const Snapshot&) const = default;
};

// A step's lines; a relabelling's identifiers given; winbld's body and windows picked; the
// identifiers of the windows a making command makes, and of those tmodel's record names.
struct Step {
    std::string lines;
    std::optional<Ids> relabels = {};
    Key written = 0;
    std::set<Key> picked = {};
    std::vector<std::string> made = {};
    std::set<std::string> writes = {};
};

// What each record is to name once the windows bear the identifiers after (the windows made
// under handles not before): the windows it named (but those erased or of no building now) and
// those coming to bear an identifier it held while no window bore it; winbld's, the windows
// picked; each record tmodel writes, the windows made that bear its identifiers.
Named Expected(const Snapshot& before, const Ids& after, const Step& step, const std::set<Key>& writing)
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
    if (step.written)
        expected[step.written] = step.picked;
    Ids made;
    std::ranges::copy_if(after, std::inserter(made, made.end()),
                         [&before](const auto& w) { return !before.windows.contains(w.first); });
    for (const Key carrier : writing)
        expected[carrier] = Bearing(made, step.writes);
    return expected;
}

// What the step left wrong, or nothing.
std::optional<std::string> Wrong(const Snapshot& before, const Snapshot& after, const Step& step, bool refused)
{
    Ids done = before.windows;
    for (const auto& [w, id] : step.relabels.value_or(Ids{}))
        done[w] = id;
    if (refused) {
        for (std::size_t i = 0; i < step.made.size(); ++i)
            done[~Key{0} - i] = step.made[i];
        // No record of identifiers could name what it is to if one identifier were borne by a
        // window it is to name and by one it is not to.
        const auto split = [&done](const auto& carrier) {
            std::map<std::string, std::set<bool>> in;
            for (const auto& [w, id] : done)
                in[id].insert(carrier.second.contains(w));
            return std::ranges::any_of(in, [](const auto& bearers) { return bearers.second.size() == 2; });
        };
        if (after != before)
            return "refused, yet the drawing changed";
        return std::ranges::any_of(Expected(before, done, step, {0}), split)
                   ? std::nullopt
                   : std::optional<std::string>("refused with nothing to refuse");
    }
    if ((step.relabels || step.written) && after.windows != done)
        return "the windows are not numbered as the step says";
    std::multiset<std::string> made;
    for (const auto& [w, id] : after.windows)
        if (!before.windows.contains(w))
            made.insert(id);
    if (!step.made.empty() && made != std::multiset<std::string>(step.made.begin(), step.made.end()))
        return "the windows made are not those the step says";
    std::set<Key> writing;
    for (const auto& [carrier, ids] : after.read)
        if (!before.read.contains(carrier) && !step.writes.empty())
            writing.insert(carrier);
    const Named expected = Expected(before, after.windows, step, writing);
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

class RecordsOracleTest : public WindowModelTest, protected RandomChoices {
protected:
    void TearDown() override
    {
        std::filesystem::remove(drawing);
        std::filesystem::remove(model);
        WindowModelTest::TearDown();
    }

    Snapshot Take() const
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
            s.items[KeyOf(e)] = XData(e->GetObjectId(), "WIN_BELONG_BLD");
        }
        return s;
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
                    held.push_back(IdOf(name, 0, 1 + static_cast<int>(Pick(positions))));
                else if (!OneIn(4))
                    for (const std::string& id : ids)
                        if (OneIn(3))
                            held.push_back(id);
                if (!held.empty())
                    WinBelongBuild::AttachWindowIds(Entity(body), held);
            }
        }
    }

    // The step of the lines giving each of the windows the label made of it.
    static Step Relabelling(std::string lines, const EntityArray& windows,
                            const std::function<Label(const CWindow&)>& label)
    {
        Step step{std::move(lines), Ids{}};
        for (decDbEntity* e : windows)
            (*step.relabels)[KeyOf(e)] = std::apply(IdOf, label(*WindowOf(e)));
        return step;
    }
    static Step Renamed(std::string lines, const EntityArray& windows, const std::string& name)
    {
        return Relabelling(std::move(lines), windows,
                           [&name](const CWindow& w) { return Label{name, w.Floor(), w.Index()}; });
    }

    // orderindex numbers every floor of the windows from the start by x, then y; orderfloor
    // numbers their distinct floors upwards from the start. The windows are those of one
    // building: one floor of it whole, or some of all its floors.
    Step Renumbered(bool positions, bool whole, int start)
    {
        const EntityArray all = Live(WindowOf);
        const CWindow* chosen = WindowOf(Any(all));
        EntityArray windows;
        std::ranges::copy_if(all, std::back_inserter(windows), [&](decDbEntity* e) {
            const CWindow* w = WindowOf(e);
            return w->BuildName() == chosen->BuildName() && (!whole || w->Floor() == chosen->Floor());
        });
        if (!whole)
            windows = Some(windows);
        std::map<int, std::vector<std::pair<GePoint3d, const CWindow*>>> floors;
        for (decDbEntity* e : windows)
            floors[WindowOf(e)->Floor()].emplace_back(e->GetLocalTM() * GePoint3d(), WindowOf(e));
        std::map<const CWindow*, int> numbers;
        int floor = start;
        for (auto& [was, run] : floors) {
            std::ranges::stable_sort(run, [](const auto& a, const auto& b) {
                return std::fabs(a.first.x - b.first.x) > 0.001 ? a.first.x < b.first.x : a.first.y < b.first.y;
            });
            for (std::size_t i = 0; i < run.size(); ++i)
                numbers[run[i].second] = positions ? start + static_cast<int>(i) : floor;
            ++floor;
        }
        return Relabelling(std::string(positions ? "orderindex\n" : "orderfloor\n") + Handles(windows) + "\n" +
                               std::to_string(start) + "\n*cancel*\n",
                           windows, [&](const CWindow& w) {
                               const int n = numbers.at(&w);
                               return Label{w.BuildName().str(), positions ? w.Floor() : n, positions ? n : w.Index()};
                           });
    }

    // namebld of one building or bay: what else bears its old name is offered the new one.
    Step NameBuilding(decDbEntity* target, const std::string& name)
    {
        const EntityArray others = OldNameBearers(target);
        const bool asked = NameOf(target) != name.c_str() && !others.empty();
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
    Label Target()
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

    // Making command c on the building's wall picked at e, or run from a to z: rows of count
    // windows from the position, on storeys from the floor.
    static Step Making(std::size_t c, decDbEntity* building, const std::string& e, const std::string& a,
                       const std::string& z, int floor, int position, int floors, int count)
    {
        const auto text = [](int n) { return std::to_string(n); };
        Step step{Filled(kMaking[c], {{"{B}", Handle(building)}, {"{E}", e}, {"{A}", a}, {"{Z}", z},
                                      {"{F}", text(floor)}, {"{P}", text(position)}, {"{N}", text(floors)},
                                      {"{C}", text(count)}})};
        for (int f = floor; f < floor + floors; ++f)
            for (int p = position; p < position + count; ++p)
                step.made.push_back(IdOf(NameOf(building).str(), f, p));
        return step;
    }

    // A making command on the south wall of the building bearing the target's name (or of
    // another one): rows of one to three windows (qwin), or a column, on one or two storeys.
    Step MakeOnFacade(std::size_t c)
    {
        const auto [name, floor, position] = Target();
        const EntityArray buildings = Live([](decDbEntity* e) { return IsExtrudeBuild(e) && IsNamed(e); });
        if (buildings.empty())
            return {""};
        const EntityArray same = Live([&](decDbEntity* e) { return IsExtrudeBuild(e) && NameOf(e) == name.c_str(); });
        decDbEntity* building = Any(same.empty() || OneIn(4) ? buildings : same);
        const GePoint3d corner = building->GetBoundBox().MinPoint();
        const auto at = [&corner](double dx) { return std::to_string(corner.x + dx) + "," + std::to_string(corner.y); };
        const int floors = 1 + static_cast<int>(Pick(2)), count = c == 0 ? 1 + static_cast<int>(Pick(3)) : 1;
        return Making(c, building, at(2000), at(5000), at(6200), floor, position, floors, count);
    }

    // tmodel of a file of windows at the labels, apart from every building; owned, the first
    // with a building of its own (a sill picked on it finds it alone).
    Step Import(const std::vector<Label>& labels, bool owned)
    {
        Step step{"tmodel\n" + model.string() + "\nyes\n"};
        std::string windows, builds = "0\n";
        for (const auto& [name, floor, position] : labels) {
            step.made.push_back(IdOf(name, floor, position));
            windows += std::to_string(position) + "," + std::to_string(floor) + ",," + name + ",1500,1800,\n" +
                       std::to_string(kSiteX - 60000.0) + "," + std::to_string(kSiteY) + ",900,0\n";
        }
        if (owned) {
            const auto& [name, floor, position] = labels.front();
            step.writes.insert(step.made.front());
            const double x = kSiteX - 60000.0 - 10000.0 * static_cast<double>(Db()->NextHandle());
            builds = "1\n" + name + ",0,9000\n8\n";
            for (const auto& [dx, dy] : {std::pair{0, 0}, {8000, 0}, {8000, 8000}, {0, 8000}})
                builds += std::to_string(x + dx) + "," + std::to_string(kSiteY - 20000.0 + dy) + ",0\n0,\n";
            builds += "," + std::to_string(position) + "," + std::to_string(floor) + "\n";
        }
        std::ofstream(model) << builds << "\n" << labels.size() << "\n" << windows;
        return step;
    }

    // The next step, each kind at even odds, a new block among them (and always when no window
    // is left), the making commands only in sequences that make; no lines, nothing to run.
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
                                   return floor ? Label{w.BuildName().str(), start, w.Index()}
                                                : Label{w.BuildName().str(), w.Floor(), start};
                               });
        }
        case 1: {
            decDbEntity* window = Any(windows);
            decDbEntity* building = Any(Live(IsNamed));
            return Renamed("setprop " + Handle(window) + " 4\n" + Handle(building) + "\n", {window},
                           NameOf(building).str());
        }
        case 2: {
            const EntityArray some = Some(windows);
            if (OneIn(8))  // the windows' name cleared
                return Renamed("namebld\n\n" + Handles(some) + "\n*cancel*\n", some, "");
            return Renamed("namebld\n" + name + "\n" + Handles(some) + "\n\n*cancel*\n", some, name);
        }
        case 3: return NameBuilding(Any(Live(IsNamed)), name);
        case 4:
        case 5: return Renumbered(kind == 4, OneIn(2), start);
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
        case 12: return MakeOnFacade(kind - 10);
        case 13: {
            std::vector<Label> labels;
            bool owned = false;
            for (std::size_t i = 0, count = 1 + Pick(3); i < count; ++i) {
                labels.push_back(Target());
                owned = owned || (i == 0 && OneIn(2));
            }
            return Import(labels, owned);
        }
        default:
            Script("new\n");
            Block();
            return {""};
        }
    }

    // Runs the step: what it left wrong, or nothing; a refusal is counted.
    std::optional<std::string> Done(const Step& step, unsigned& refusals)
    {
        const Snapshot before = Take();
        const int refusedBefore = CountOf(Transcript(), kRefused);
        if (!Run(step.lines))
            return "a line not understood";
        const bool refused = CountOf(Transcript(), kRefused) > refusedBefore;
        refusals += refused;
        // An open brings back the drawing as it was saved.
        if (step.lines.starts_with("open "))
            return Take() == atSave ? std::nullopt : std::optional<std::string>("not as saved");
        return Wrong(before, Take(), step, refused);
    }

    bool making = true;  // whether the sequence makes windows too
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
    // Sequences of relabelling alone that found faults: a column whose window went to another
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
            const Step step = Next();
            const std::optional<std::string> fault = step.lines.empty() ? std::nullopt : Done(step, refusals);
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

// Each making command makes one window on the north facade of a building whose south facade is
// numbered from 1, beside a bay naming 甲栋-1-1, 甲栋-2-1 and 甲栋-1-3 (that window erased):
// numbered from 1 again it is refused with the command's advice; past the used numbers it is
// made; into the erased window's number it is made and joins the bay's record.
TEST_F(RecordsOracleTest, MakingCommandsIntoUsedFreeAndErasedNumbersBesideARecord)
{
    const char* const advice[] = {"请在【窗位】中把起始窗号设在已用的窗号之后", "请重新插窗，在【窗位】中",
                                  "请重新插窗，在【窗位】中", "模型数据文件第4行起的窗与之同号，未导入任何建筑物和窗。"};
    for (std::size_t c = 0; c < std::size(advice); ++c)
        for (const int position : {1, 4, 3}) {
            SCOPED_TRACE(std::string(advice[c]) + " at " + std::to_string(position));
            SetUp();
            const decObjectId building = AddBuilding("甲栋", 12000, Square(0, 0, 14000));
            for (int p = 0; p < 6; ++p)
                AddWindow({.building = "甲栋", .floor = 1 + p / 3, .index = 1 + p % 3,
                           .sill = {2000.0 + 3500.0 * (p % 3), 0, 900.0 + 3000.0 * (p / 3)}});
            const decObjectId bay = AddSolid(new decDbBox(2500, 1500, 9000));
            Tag(bay, "甲栋");
            WinBelongBuild::AttachWindowIds(Entity(bay), {"甲栋-1-1", "甲栋-2-1", "甲栋-1-3"});
            Script("erase #4\n");  // 甲栋-1-3
            unsigned refused = 0;
            const Step step = c < std::size(kMaking) ? Making(c, Entity(building), "12000,14000", "12000,14000",
                                                              "10800,14000", 1, position, 1, 1)
                                                       : Import({{"甲栋", 1, position}}, false);
            EXPECT_EQ(Done(step, refused), std::nullopt);
            EXPECT_EQ(refused, position == 1 ? 1u : 0u);
            EXPECT_EQ(CountOf(Transcript(), "错误：修改后将有多个窗口编号为甲栋-1-1，而窗属记录只指其中的部分窗口（涉及位于"
                                            "(2000,0,900)的窗口），修改未执行。" + std::string(advice[c])),
                      position == 1 ? 1 : 0);
        }
}
