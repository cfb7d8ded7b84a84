// The module's index of ownership records, windows and names against a walk over the drawing,
// after every step of random sequences of what changes them: winbld, panel edits, orderindex,
// orderfloor, namebld (of windows, of buildings, carried over or not, clearing), records written
// by another program, erase, copy, save, open (also of objects out of their handles' order), new.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "DrawingFile.h"
#include "EntityCopy.h"
#include "HostSolids.h"
#include "OwnershipIndex.h"
#include "OwnershipRecords.h"
#include "WinBelongBuild.h"
#include "WindowTestSupport.h"

namespace {

constexpr const char* kApp = "WIN_BELONG_BLD";
const char* const kNames[] = {"A1", "B1", "C2", "B-2"};

bool ABody(decDbEntity* e) { return decDbBox::Cast(e->GetBaseObject()) != nullptr; }

class OwnershipIndexTest : public WindowModelTest, protected RandomChoices {
protected:
    void TearDown() override
    {
        std::filesystem::remove(drawing);
        std::filesystem::remove(reversedDrawing);
        WindowModelTest::TearDown();
    }

    // Buildings A1 and B1 with windows on two floors, a window of no building and two of "B-2"
    // below ground, bodies tagged A1 (with a bay's record) and B1, a column record, a list.
    void Layout()
    {
        AddBuilding("A1", 9000, Square(0, 0, 10000));
        AddBuilding("B1", 9000, Square(25000, 0, 10000));
        for (const auto& [name, floor, index] : {std::tuple{"A1", 1, 1}, {"A1", 1, 2}, {"A1", 2, 1}, {"A1", 2, 2},
                                                 {"B1", 1, 1}, {"B1", 2, 1}, {"", 1, 1}, {"B-2", -1, 1}, {"B-2", -1, 2}})
            AddWindow({.building = name, .floor = floor, .index = index, .sill = {2500.0 * index, 0, 3000.0 * floor}});
        const decObjectId bay = AddSolid(new decDbBox(2500, 1500, 6000));
        Tag(bay, "A1");
        WinBelongBuild::AttachWindowIds(Entity(bay), {"A1-1-2", "A1-2-2"});
        Tag(AddSolid(new decDbBox(1000, 1000, 3000)), "B1");
        AddXData(AddSolid(new decDbBox(1000, 1000, 3000)), kApp, {"#1", "A1-0-1"});
        AddXData(AddSolid(new decDbBox(1000, 1000, 3000)), kApp, {"#3", "A1-1-1", "#7", "B-2--1-1"});
    }

    std::string Number(std::size_t count) { return std::to_string(Pick(count)); }

    // One random step, as the lines a user types or a change made directly; its name.
    std::string Step()
    {
        const auto windows = Live(WindowOf), bodies = Live(ABody), named = Live(IsNamed);
        const std::string name = kNames[Pick(std::size(kNames))];
        const std::size_t step = windows.empty() || bodies.empty() || named.empty() ? 11 : Pick(13);
        if (step == 0)
            Script("winbld\n" + Handle(Any(named)) + "\n" + (Pick(4) ? Handles(Some(windows)) : "") + "\n");
        else if (step == 1)
            Script("setprop " + Handle(Any(windows)) + " " + Number(2) + " " + Number(4) + "\n");
        else if (step == 2)
            Script("setprop " + Handle(Any(windows)) + " 4\n" + Handle(Any(named)) + "\n");
        else if (step <= 4)
            Script((step == 3 ? "orderindex\n" : "orderfloor\n") + Handles(Some(windows)) + "\n" + Number(3) +
                   "\n*cancel*\n");
        else if (step == 5)
            Script("namebld\n" +
                   (Pick(3) ? name + "\n" + Handles(Some(windows)) + "\n" : "\n" + Handles(Some(windows))) +
                   "\n*cancel*\n");
        else if (step == 6)
            NameBuilding(Any(Pick(2) ? bodies : Live(IsExtrudeBuild)), Pick(4) ? name : "");
        else if (step == 7)
            AddXData(Any(bodies)->GetObjectId(), kApp, {"#" + Number(3), name + "-" + Number(2) + "-1", name + "-2-2"});
        else if (step == 8)
            Script("erase " + Handle(Any(Pick(2) ? windows : bodies)) + "\n");
        else if (step == 9) {
            DbAutoOpen open;
            GeMatrix3d move;
            move.SetToTranslation(GeVector3d(0, 20000, 0));
            host::CopyEntities(*Db(), {Any(windows)->GetObjectId(), Any(bodies)->GetObjectId()}, move);
        } else if (step == 10) {
            // The drawing saved earlier comes back as it was then.
            Script((saved && Pick(2) ? "open " : "save ") + drawing.string() + "\n");
            saved = true;
        } else if (step == 11) {
            Script("new\n");
            Layout();
        } else {
            OpenReversed();
        }
        return std::to_string(step);
    }

    // The live objects written to a file in the reverse order of their handles, as a program
    // of its own may write them, and opened.
    void OpenReversed()
    {
        DbDatabase reversed;
        const EntityArray live = Live([](decDbEntity*) { return true; });
        for (auto it = live.rbegin(); it != live.rend(); ++it) {
            std::unique_ptr<decDbEntity> copy = host::MovedCopy(**it, GeMatrix3d());
            copy->SetLayerId(reversed.Layers().GetCurrentLayerID());
            for (const auto& app : (*it)->XDataApps())
                copy->AppendAppXData(new decObjectXDataApp(*app));
            ASSERT_TRUE(reversed.RestoreEntity(std::move(copy), (*it)->GetObjectId().Handle()));
        }
        std::string error;
        ASSERT_TRUE(host::WriteDrawingFile(reversed, reversedDrawing.string(), error)) << error;
        Script("open " + reversedDrawing.string() + "\n");
    }

    // namebld of one building or body (an empty name clears it): whether the other objects
    // bearing its old name take the new one is asked when there are such objects.
    void NameBuilding(decDbEntity* target, const std::string& name)
    {
        const bool asked = NameOf(target) != name.c_str() && !OldNameBearers(target).empty();
        const std::string answer = asked ? Pick(2) ? "yes\n" : "no\n" : "";
        // What bears the old name is found through the index, made at the latest now: the pass
        // walks nothing.
        g_ownershipIndex.Carriers();
        const std::size_t before = Walks();
        Script("namebld\n" + name + "\n" + Handle(target) + "\n" + answer + "\n*cancel*\n");
        EXPECT_EQ(Walks(), before);
    }

    static std::size_t Walks() { return host::EventLog::Instance().Calls("EnumEntityTable").size(); }

    // Every question the records' followers ask, of the index (which walks at most once, to be
    // made again after an open or a new) and of a walk.
    void ExpectTheIndexAnswersAsAWalk(const std::string& step)
    {
        std::set<std::string> keys;
        for (decDbEntity* entity : Live(WindowOf)) {
            const WinBelongBuild::WindowLabel label = WinBelongBuild::LabelOf(*WindowOf(entity));
            keys.insert({WinBelongBuild::WindowId(label.name, label.floor, label.position).str(),
                         WinBelongBuild::WindowId(label.name, 0, label.position).str()});
        }
        for (decDbEntity* carrier : WinBelongBuild::WalkCarriers()) {
            const std::vector<std::string> held = *WinBelongBuild::RecordKeys(carrier);
            keys.insert(held.begin(), held.end());
        }
        const std::vector<std::string> all(keys.begin(), keys.end());
        // Every name borne, an empty one, one of another letter case, one borne by nothing.
        std::set<CString> borne = {"", "a1", "D4"};
        for (decDbEntity* entity : Live([](decDbEntity*) { return true; }))
            if (const std::optional<CString> name = WinBelongBuild::NameBorne(entity))
                borne.insert(*name);
        const std::vector<CString> names(borne.begin(), borne.end());
        const std::size_t before = Walks();
        std::vector<std::pair<EntityArray, WinBelongBuild::Windows>> answers;
        for (const std::string& key : all)
            answers.emplace_back(g_ownershipIndex.CarriersHolding({key}), g_ownershipIndex.WindowsBearing(key));
        const EntityArray carriers = g_ownershipIndex.Carriers(), holdingAny = g_ownershipIndex.CarriersHolding(all);
        std::vector<EntityArray> bearers;
        for (const CString& name : names)
            bearers.push_back(g_ownershipIndex.NameBearers({name}));
        // Two names at once, the first given twice, as the old names of one pass may be.
        const std::vector<CString> pair = {names[2], names[1], names[2]};
        const EntityArray bearingPair = g_ownershipIndex.NameBearers(pair);
        EXPECT_LE(Walks(), before + 1) << step;
        EXPECT_EQ(carriers, WinBelongBuild::WalkCarriers()) << step;
        EXPECT_EQ(holdingAny, WinBelongBuild::WalkCarriersHolding(all)) << step;
        for (std::size_t i = 0; i < all.size(); ++i) {
            EXPECT_EQ(answers[i].first, WinBelongBuild::WalkCarriersHolding({all[i]})) << step << ": " << all[i];
            EXPECT_EQ(answers[i].second, WinBelongBuild::WalkWindowsBearing(all[i])) << step << ": " << all[i];
        }
        for (std::size_t i = 0; i < names.size(); ++i)
            EXPECT_EQ(bearers[i], WinBelongBuild::WalkNameBearers({names[i]})) << step << ": " << names[i].str();
        EXPECT_EQ(bearingPair, WinBelongBuild::WalkNameBearers(pair)) << step;
    }

    bool saved = false;
    const std::filesystem::path drawing = TempFile("ownership_index.q3d");
    const std::filesystem::path reversedDrawing = TempFile("ownership_index_reversed.q3d");
};

}  // namespace

TEST_F(OwnershipIndexTest, AnswersAsAWalkAfterEveryStep)
{
    for (unsigned seed = 1; seed <= 8; ++seed) {
        SetUp();
        random.seed(seed);
        saved = false;
        Layout();
        for (int i = 0; i < 40; ++i) {
            const std::string step = Step();
            ExpectTheIndexAnswersAsAWalk("seed " + std::to_string(seed) + ", step " + std::to_string(i) + ", " + step);
        }
    }
}
