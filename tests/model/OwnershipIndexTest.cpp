// The module's index of ownership records and windows against a walk over the drawing, after
// every step of random sequences of what changes records and windows: winbld, panel edits of
// numbers and of the building, orderindex, orderfloor, namebld of windows and of buildings,
// records written by another program, erase, copy, save, opening what was saved, new. The
// same sequences run without the index must leave the same drawing behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "EntityCopy.h"
#include "HostSolids.h"
#include "ModelHelperBuildings.h"
#include "OwnershipIndex.h"
#include "OwnershipRecords.h"
#include "WinBelongBuild.h"
#include "WindowTestSupport.h"
#include "WorkingDrawing.h"

namespace {

constexpr const char* kApp = "WIN_BELONG_BLD";
const char* const kNames[] = {"A1", "B1", "C2", "B-2"};

class OwnershipIndexTest : public WindowModelTest {
protected:
    void TearDown() override
    {
        g_ownershipIndex.Attach(Db());
        std::filesystem::remove(drawing);
        WindowModelTest::TearDown();
    }

    // Buildings A1 and B1 with windows on two floors, a window of no building and two of "B-2"
    // below ground, bodies tagged A1 (with a bay's record) and B1, a column record, a list.
    void Layout()
    {
        AddBuilding("A1", 9000, Square(0, 0, 10000));
        AddBuilding("B1", 9000, Square(25000, 0, 10000));
        for (int floor = 1; floor <= 2; ++floor)
            for (int index = 1; index <= 2; ++index)
                AddWindow({.building = "A1", .floor = floor, .index = index,
                           .sill = {2500.0 * index, 0, 3000.0 * floor}});
        AddWindow({.building = "B1", .floor = 1, .index = 1, .sill = {30000, 0, 3000}});
        AddWindow({.building = "B1", .floor = 2, .index = 1, .sill = {30000, 0, 6000}});
        AddWindow({.building = "", .floor = 1, .index = 1, .sill = {50000, 0, 0}});
        AddWindow({.building = "B-2", .floor = -1, .index = 1, .sill = {70000, 0, 0}});
        AddWindow({.building = "B-2", .floor = -1, .index = 2, .sill = {72000, 0, 0}});
        const decObjectId bay = AddSolid(new decDbBox(2500, 1500, 6000));
        Tag(bay, "A1");
        WinBelongBuild::AttachWindowIds(Entity(bay), {"A1-1-2", "A1-2-2"});
        Tag(AddSolid(new decDbBox(1000, 1000, 3000)), "B1");
        AddXData(AddSolid(new decDbBox(1000, 1000, 3000)), kApp, {"#1", "A1-0-1"});
        AddXData(AddSolid(new decDbBox(1000, 1000, 3000)), kApp, {"#3", "A1-1-1", "#7", "B-2--1-1"});
    }

    static std::vector<decDbEntity*> Live(const std::function<bool(decDbEntity*)>& take)
    {
        std::vector<decDbEntity*> found;
        for (decDbEntity* entity : dec::GetWorkingDatabase()->AllObjects())
            if (!entity->IsErased() && take(entity))
                found.push_back(entity);
        return found;
    }
    static CString NameOf(decDbEntity* entity)
    {
        CString name;
        if (const CWindow* window = CWindow::Cast(entity->GetBaseObject()))
            name = window->BuildName();
        else
            BuildName(entity, name);
        return name;
    }
    static bool Named(decDbEntity* entity)
    {
        return (IsExtrudeBuild(entity) || IsExtendBuild(entity)) && !NameOf(entity).IsEmpty();
    }

    decDbEntity* Any(const std::vector<decDbEntity*>& among) { return among[Pick(among.size())]; }
    std::size_t Pick(std::size_t count) { return std::uniform_int_distribution<std::size_t>(0, count - 1)(random); }
    std::string Number(std::size_t count) { return std::to_string(Pick(count)); }
    std::string Some(const std::vector<decDbEntity*>& among)
    {
        std::string handles;
        for (decDbEntity* entity : among)
            if (Pick(2) == 0 || handles.empty())
                handles += (handles.empty() ? "" : " ") + Handle(entity);
        return handles;
    }

    // One random step as the lines a user types (or a change made directly); its name.
    std::string Step()
    {
        const auto windows = Live([](decDbEntity* e) { return IsWindow(e) != 0; });
        const auto bodies = Live([](decDbEntity* e) { return decDbBox::Cast(e->GetBaseObject()) != nullptr; });
        const auto named = Live(Named);
        const auto buildings = Live([](decDbEntity* e) { return IsExtrudeBuild(e) && !NameOf(e).IsEmpty(); });
        const std::string name = kNames[Pick(std::size(kNames))];
        if (windows.empty() || bodies.empty()) {
            Script("new\n");
            Layout();
            return "new, nothing left to change";
        }
        switch (Pick(12)) {
        case 0:
            if (named.empty())
                break;
            Script("winbld\n" + Handle(Any(named)) + "\n" + (Pick(4) ? Some(windows) : "") + "\n");
            return "winbld";
        case 1:
            Script("setprop " + Handle(Any(windows)) + " " + Number(2) + " " + Number(4) + "\n");
            return "panel number";
        case 2:
            if (buildings.empty())
                break;
            Script("setprop " + Handle(Any(windows)) + " 4\n" + Handle(Any(buildings)) + "\n");
            return "panel building";
        case 3:
        case 4: {
            const std::string command = Pick(2) ? "orderindex" : "orderfloor";
            Script(command + "\n" + Some(windows) + "\n" + Number(3) + "\n*cancel*\n");
            return command;
        }
        case 5:
            Script(Pick(3) ? "namebld\n" + name + "\n" + Some(windows) + "\n\n*cancel*\n"
                           : "namebld\n\n" + Some(windows) + "\n*cancel*\n");
            return "namebld of windows";
        case 6: return NameBuilding(Any(Pick(2) ? bodies : Live(IsExtrudeBuild)), name);
        case 7:
            AddXData(Any(bodies)->GetObjectId(), kApp,
                     Pick(2) ? std::vector<std::string>{"#1", name + "-0-" + Number(3)}
                             : std::vector<std::string>{"#2", name + "-1-1", name + "-2-" + Number(3)});
            return "a record written by another program";
        case 8: Script("erase " + Handle(Any(Pick(2) ? windows : bodies)) + "\n"); return "erase";
        case 9: {
            DbAutoOpen open;
            GeMatrix3d move;
            move.SetToTranslation(GeVector3d(0, 20000, 0));
            host::CopyEntities(*Db(), {Any(windows)->GetObjectId(), Any(bodies)->GetObjectId()}, move);
            return "copy";
        }
        case 10:
            // The drawing saved earlier comes back as it was then.
            if (saved && Pick(2)) {
                Script("open " + drawing.string() + "\n");
                return "open";
            }
            Script("save " + drawing.string() + "\n");
            saved = true;
            return "save";
        case 11:
            Script("new\n");
            Layout();
            return "new";
        }
        return "nothing";
    }

    // namebld of one building or body: the question whether the other objects bearing its old
    // name take the new one comes when there are such objects.
    std::string NameBuilding(decDbEntity* target, const std::string& name)
    {
        const CString old = NameOf(target);
        const bool kept = IsExtrudeBuild(target) || IsExtendBuild(target);
        const auto others = Live([&](decDbEntity* e) {
            return e != target && (IsExtrudeBuild(e) || IsExtendBuild(e) || IsWindow(e)) && NameOf(e) == old;
        });
        const bool asked = kept && !old.IsEmpty() && old != name.c_str() && !others.empty();
        Script("namebld\n" + name + "\n" + Handle(target) + "\n" + (asked ? (Pick(2) ? "yes\n" : "no\n") : "") +
               "\n*cancel*\n");
        return "namebld of a building";
    }

    // Every question the records' followers ask, of the index and of a walk.
    void ExpectTheIndexAnswersAsAWalk(const std::string& step)
    {
        std::set<std::string> keys = {"A1-1-1", "-1-1", "A1-0-1", "B-2--1-1", "B--2-1-1"};
        for (decDbEntity* entity : Live([](decDbEntity* e) { return IsWindow(e) != 0; })) {
            const WinBelongBuild::WindowLabel label = WinBelongBuild::LabelOf(*CWindow::Cast(entity->GetBaseObject()));
            keys.insert(WinBelongBuild::WindowId(label.name, label.floor, label.position).str());
            keys.insert(WinBelongBuild::WindowId(label.name, 0, label.position).str());
        }
        for (decDbEntity* carrier : WinBelongBuild::WalkCarriers()) {
            const std::vector<std::string> held = *WinBelongBuild::RecordKeys(carrier);
            keys.insert(held.begin(), held.end());
        }
        const std::vector<std::string> all(keys.begin(), keys.end());

        const std::size_t walks = host::EventLog::Instance().Calls("EnumEntityTable").size();
        ASSERT_TRUE(g_ownershipIndex.IsAttached());
        const EntityArray carriers = g_ownershipIndex.Carriers();
        std::vector<EntityArray> holding;
        std::vector<WinBelongBuild::Windows> bearing;
        for (const std::string& key : all) {
            holding.push_back(g_ownershipIndex.CarriersHolding({key}));
            bearing.push_back(g_ownershipIndex.WindowsBearing(key));
        }
        const EntityArray holdingAny = g_ownershipIndex.CarriersHolding(all);
        // One walk at most: the index made again after an open or a new.
        EXPECT_LE(host::EventLog::Instance().Calls("EnumEntityTable").size(), walks + 1) << step;

        EXPECT_EQ(carriers, WinBelongBuild::WalkCarriers()) << step;
        for (std::size_t i = 0; i < all.size(); ++i) {
            EXPECT_EQ(holding[i], WinBelongBuild::WalkCarriersHolding({all[i]})) << step << ": " << all[i];
            EXPECT_EQ(bearing[i], WinBelongBuild::WalkWindowsBearing(all[i])) << step << ": " << all[i];
        }
        EXPECT_EQ(holdingAny, WinBelongBuild::WalkCarriersHolding(all)) << step;
    }

    // Every live entity with its window label and its records, as one text.
    std::string Drawing() const
    {
        std::string text;
        for (decDbEntity* entity : Live([](decDbEntity*) { return true; })) {
            text += Handle(entity) + " " + NameOf(entity).str();
            if (const CWindow* window = CWindow::Cast(entity->GetBaseObject()))
                text += "-" + std::to_string(window->Floor()) + "-" + std::to_string(window->Index());
            for (const std::vector<std::string>& record : XData(entity->GetObjectId(), kApp))
                for (const std::string& item : record)
                    text += " " + item;
            text += "\n";
        }
        return text;
    }

    // The drawing after each step of the sequence of the seed, with or without the index.
    std::vector<std::string> Run(unsigned seed, bool indexed)
    {
        SetUp();
        if (!indexed)
            g_ownershipIndex.Detach();
        random.seed(seed);
        saved = false;
        Layout();
        std::vector<std::string> drawings;
        for (int i = 0; i < 40; ++i) {
            const std::string step = "seed " + std::to_string(seed) + ", step " + std::to_string(i) + ": " + Step();
            if (indexed)
                ExpectTheIndexAnswersAsAWalk(step);
            drawings.push_back(step + "\n" + Drawing());
        }
        return drawings;
    }

    std::mt19937 random;
    bool saved = false;
    const std::filesystem::path drawing = TempFile("ownership_index.q3d");
};

}  // namespace

TEST_F(OwnershipIndexTest, AnswersAsAWalkAfterEveryStepAndTheDrawingDoesNotDependOnIt)
{
    for (unsigned seed = 1; seed <= 8; ++seed) {
        const std::vector<std::string> indexed = Run(seed, true);
        const std::vector<std::string> walked = Run(seed, false);
        ASSERT_EQ(indexed.size(), walked.size());
        for (std::size_t i = 0; i < indexed.size(); ++i)
            ASSERT_EQ(indexed[i], walked[i]);
    }
}
