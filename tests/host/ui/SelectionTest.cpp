// Selections and picks in-process: the filter is asked about every candidate.
#include <gtest/gtest.h>

#include "CommandLine.h"
#include "DbDatabase.h"
#include "Selection.h"
#include "UiTestSupport.h"
#include "HostSolids.h"
#include "decDbCurve.h"
#include "decDbTextAndPoint.h"

using ::host::QueueAnswers;

namespace {

// Takes points only, remembering every candidate it was asked about.
class FT_POINT : public decSSGet_filter {
public:
    std::vector<std::uint64_t> asked;
    int Accept(decDbEntity* entity, int& accept) override
    {
        asked.push_back(entity->GetObjectId().Handle());
        if (entity->IsKindOf(decDbPoint::Desc())) accept = 1;  // leaves accept alone otherwise
        return 0;  // the result is not what decides
    }
};

decObjectId Add(decDbEntity* entity)
{
    DbAutoOpen open;
    decObjectId id;
    open.db->CreateNewEntity(open.db->GetTableLayer()->GetCurrentLayerID(), entity, id);
    return id;
}

}  // namespace

class SelectionTest : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        const GePoint3d line[] = {{0, 0, 0}, {10, 0, 0}};
        Add(new decDbPolyline(2, line, 0));     // #1
        Add(new decDbPoint(GePoint3d(1, 1, 0)));  // #2
        Add(new decDbPoint(GePoint3d(2, 2, 0)));  // #3
    }
};

TEST_F(SelectionTest, TheFilterIsAskedForEachCandidateInTheUsersOrder)
{
    QueueAnswers("#3 #1 #2 #3\n");
    FT_POINT filter;
    decSelectSet set;
    set.Add(decObjectId(1));  // a set is filled afresh
    EXPECT_EQ(dec::decSSGet("选择:", set, &filter, 1, nullptr), dex::eOk);
    EXPECT_EQ(filter.asked, (std::vector<std::uint64_t>{3, 1, 2}));
    ASSERT_EQ(set.GetCount(), 2);
    EXPECT_EQ(set.GetAt(0).Handle(), 3u);
    EXPECT_EQ(set.GetAt(1).Handle(), 2u);
    EXPECT_TRUE(Shown("#1 decDbPolyline is not taken here (refused by the selection filter)"));
    EXPECT_FALSE(Failed());
    EXPECT_EQ(host::EventLog::Instance().Calls("decSSGet mode=1 filter -> -2 #3 #2").size(), 1u);
}

// The last two of three erased: "last" passes over them to the first.
TEST_F(SelectionTest, ErasedEntitiesAreNoCandidates)
{
    for (const std::uint64_t handle : {2u, 3u}) {
        decDbEntity* erased = dec::GetWorkingDatabase()->GetObjectById(decObjectId(handle));
        DbAutoOpen open;
        erased->OpenForWrite();
        erased->Erase();
        erased->Close();
    }
    QueueAnswers("all\n#2\nlast\n");
    decSelectSet set;
    EXPECT_EQ(dec::decSSGet(nullptr, set), dex::eOk);
    EXPECT_EQ(set.Ids(), std::vector<decObjectId>{decObjectId(1)});
    EXPECT_EQ(dec::decSSGet(nullptr, set), dex::eOk);
    EXPECT_EQ(set.GetCount(), 0);
    EXPECT_TRUE(Shown("answers:2: there is no entity #2 in the drawing"));
    EXPECT_EQ(dec::decSSGet(nullptr, set), dex::eOk);
    EXPECT_EQ(set.Ids(), std::vector<decObjectId>{decObjectId(1)});
}

TEST_F(SelectionTest, PicksAskTheFilterAndAskAgainWhenItRefuses)
{
    QueueAnswers("#1\n#2@4,5\n");
    FT_POINT filter;
    decObjectId id;
    GePoint3d point;
    EXPECT_EQ(dec::GetWorkingDatabase()->decPickSingleEntity(id, point, "选择:", nullptr, &filter, "取消"), dex::eOk);
    EXPECT_EQ(id.Handle(), 2u);
    EXPECT_EQ(point, GePoint3d(4, 5, 0));
    EXPECT_EQ(filter.asked, (std::vector<std::uint64_t>{1, 2}));
    EXPECT_EQ(host::EventLog::Instance().Calls("decPickSingleEntity filter option=取消 -> -2 #2@4,5,0").size(), 1u);
}

TEST_F(SelectionTest, AClickTakesTheLatestEntityThereThatTheFilterTakes)
{
    // (1,1) lies on both points and within the line's extents: the latest point is taken.
    // Nothing lies at (50,50); (19,0) is 9 units past the line's end, within the aperture,
    // but the points' filter does not take the line.
    QueueAnswers("@1,1\n@50,50\n@19,0\n@19,0\n取消\n");
    FT_POINT filter;
    decObjectId id;
    GePoint3d point;
    DbDatabase* db = dec::GetWorkingDatabase();
    EXPECT_EQ(db->decPickSingleEntity(id, point, "选择:", nullptr, &filter, "取消"), dex::eOk);
    EXPECT_EQ(id.Handle(), 3u);
    EXPECT_EQ(point, GePoint3d(1, 1, 0));
    EXPECT_EQ(db->decPickSingleEntity(id, point, "选择:", nullptr, nullptr, "取消"), dex::eOk);
    EXPECT_EQ(id.Handle(), 1u);
    EXPECT_EQ(point, GePoint3d(19, 0, 0));
    EXPECT_TRUE(Shown("nothing at 50,50,0 is taken here"));
    EXPECT_EQ(db->decPickSingleEntity(id, point, "选择:", nullptr, &filter, "取消"), dex::eEnded);
    EXPECT_TRUE(Shown("nothing at 19,0,0 is taken here"));
}

TEST_F(SelectionTest, ThePicksWayOutEndsItAndKeywordsComeFirst)
{
    QueueAnswers("取消\n结束\nb\n");
    decObjectId id;
    GePoint3d point;
    DbDatabase* db = dec::GetWorkingDatabase();
    EXPECT_EQ(db->decPickSingleEntity(id, point, "选择:", nullptr, nullptr, "取消"), dex::eEnded);
    EXPECT_EQ(db->decPickSingleEntity(id, point, "选择:", "结束", nullptr, "结束"), 1);
    EXPECT_EQ(db->decPickSingleEntity(id, point, "选择:", "内部一点(&A)/建筑(&B)", nullptr, "结束"), 2);
    EXPECT_TRUE(id.IsNull());
    EXPECT_FALSE(Failed());
}

TEST_F(SelectionTest, SubObjectPicksRespectTheClassRestriction)
{
    QueueAnswers("#1:0 #2:0\n");
    decSelectSet set;
    EXPECT_EQ(dec::GetWorkingDatabase()->decPickSubObjects(16, set, nullptr, decDbCurve::Desc()), dex::eOk);
    ASSERT_EQ(set.GetCount(), 1);
    BitArray faces;
    EXPECT_EQ(set.GetEnt(0)->GetSubObjectSelectSet(faces), 1);
    EXPECT_TRUE(faces.IsSet(0));
}

// A click at a face pick takes the face seen from above: over the block the sloped slab's
// top where it lies above the block's top, the block's top where it does not; the slab's
// upright sides and the curves are never hit.
TEST_F(SelectionTest, FaceClicksTakeTheHighestFaceAboveThePoint)
{
    const auto solid = [](std::vector<GePoint3d> profile, double height) {
        auto* extrude = new decDbExtrude();
        extrude->SetData(static_cast<int>(profile.size()), profile.data(), 1, GeVector3d(0, 0, height));
        DbAutoOpen open;
        decObjectId id;
        open.db->CreateNewEntity(open.db->GetTableLayer()->GetCurrentLayerID(), extrude, GeMatrix3d(), id);
        return id.Handle();
    };
    const std::uint64_t block = solid({{0, 0, 0}, {100, 0, 0}, {100, 100, 0}, {0, 100, 0}}, 50);  // #4
    // A slab rising from z = 0 at x = 0 to z = 100 at x = 100, 10 thick.
    const std::uint64_t slab = solid({{0, 0, 0}, {100, 0, 100}, {100, 100, 100}, {0, 100, 0}}, 10);  // #5
    QueueAnswers("@80,50 @20,50 @30,60\n@200,200\n@10,10,5\n");
    decSelectSet set;
    EXPECT_EQ(dec::GetWorkingDatabase()->decPickSubObjects(16, set, nullptr, nullptr), dex::eOk);
    ASSERT_EQ(set.GetCount(), 2);
    EXPECT_EQ(set.GetAt(0).Handle(), slab);
    EXPECT_EQ(set.GetAt(1).Handle(), block);
    BitArray faces;
    set.GetEnt(1)->GetSubObjectSelectSet(faces);
    EXPECT_EQ(faces.Count(), 1);
    EXPECT_TRUE(faces.IsSet(1));  // the top of the block
    set.GetEnt(0)->GetSubObjectSelectSet(faces);
    EXPECT_EQ(faces.Count(), 1);
    EXPECT_TRUE(faces.IsSet(1));  // the slab's upper face
    // A click beside every face is refused and asked again.
    EXPECT_EQ(dec::GetWorkingDatabase()->decPickSubObjects(16, set, nullptr, nullptr), dex::eOk);
    EXPECT_TRUE(Shown("no face at 200,200,0 is taken here"));
    ASSERT_EQ(set.GetCount(), 1);
    EXPECT_EQ(set.GetAt(0).Handle(), block);
    EXPECT_FALSE(Failed());
}

TEST_F(SelectionTest, ClicksInASelectionTakeWhatTheFilterAcceptsThere)
{
    // (1,1): the latest point there; (19,0): only the line, which the filter refuses.
    QueueAnswers("@1,1 @19,0 @50,50 #2\n@19,0\n");
    FT_POINT filter;
    decSelectSet set;
    EXPECT_EQ(dec::decSSGet("选择:", set, &filter, 1, nullptr), dex::eOk);
    ASSERT_EQ(set.GetCount(), 2);
    EXPECT_EQ(set.GetAt(0).Handle(), 3u);
    EXPECT_EQ(set.GetAt(1).Handle(), 2u);
    EXPECT_TRUE(Shown("answers:1: nothing at 19,0,0 is taken here"));
    EXPECT_TRUE(Shown("answers:1: nothing at 50,50,0 is taken here"));
    EXPECT_EQ(dec::decSSGet("选择:", set, nullptr, 1, nullptr), dex::eOk);
    ASSERT_EQ(set.GetCount(), 1);
    EXPECT_EQ(set.GetAt(0).Handle(), 1u);
}

TEST_F(SelectionTest, AWindowSelectionTakesWhatLiesWhollyInside)
{
    const struct {
        const char* answer;
        std::vector<std::uint64_t> taken;
    } cases[] = {
        {"box:-1,-1,11,3", {1, 2, 3}},
        {"box:11,3,-1,-1", {1, 2, 3}},  // corners either way round
        {"box:0.5,0.5,3,3", {2, 3}},    // the line sticks out
        {"box:0,0,1,1", {2}},
        {"box:0,0,1", {}},
        {"box:0,0,x,1", {}},
    };
    for (const auto& c : cases) {
        QueueAnswers(std::string(c.answer) + "\n");
        decSelectSet set;
        EXPECT_EQ(dec::decSSGet("选择:", set, nullptr, 1, nullptr), dex::eOk) << c.answer;
        std::vector<std::uint64_t> taken;
        for (const decObjectId& id : set.Ids())
            taken.push_back(id.Handle());
        EXPECT_EQ(taken, c.taken) << c.answer;
    }
    EXPECT_TRUE(Shown("a window selection is box:x1,y1,x2,y2, not \"box:0,0,1\""));
}
