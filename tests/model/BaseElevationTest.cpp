// `eelev`: 3-D objects of every kind moved so that their frame origins lie at the typed base
// elevation; the proposed default and the limits of the answer.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "BaseElevation.h"
#include "BuildCommandTestSupport.h"
#include "HostSolids.h"
#include "ModelTestSupport.h"

using ::testing::HasSubstr;
using ::testing::Not;
using namespace buildtest;

namespace {

constexpr const char* kRefused = "提示：请输入合理的底高度值。";

class BaseElevationTest : public ModelTest {
protected:
    decObjectId AddBoxAt(double x, double y, double z)
    {
        GeMatrix3d tm;
        tm.SetToTranslation(GeVector3d(x, y, z));
        return AddSolid(new decDbBox(1000, 1000, 1000), tm);
    }

    double OriginZ(const decObjectId& id) const { return FrameOrigin(Entity(id)).z; }
    // The default the elevation question offered: the value Enter takes.
    double EnterValue(const std::string& selection)
    {
        Script("eelev\n" + selection + "\n\n");
        return OriginZ(decObjectId(1));
    }
};

TEST_F(BaseElevationTest, BuildingSolidAndTaggedObjectMoveToTheElevation)
{
    // A building whose frame is turned (its first edge runs along +Y), a host extrusion and a
    // tagged box raised to 250.
    const decObjectId building = AddBuilding("甲", 3000, {{0, 0, 0}, {0, 10, 0}, {-10, 10, 0}, {-10, 0, 0}});
    Script("extrude 3000 20000,0 30000,0 30000,8000\n");
    const decObjectId solid(2);
    const decObjectId tagged = AddBoxAt(40000, 500, 250);
    Tag(tagged, "乙");
    GePoint3d before[3];
    GeVector3d axes[3][3];
    const decObjectId ids[3] = {building, solid, tagged};
    for (int i = 0; i < 3; ++i)
        Entity(ids[i])->GetLocalTM().GetCoordSystem(before[i], axes[i][0], axes[i][1], axes[i][2]);

    Script("eelev\n#1 #2 #3\n1500\n");
    for (int i = 0; i < 3; ++i) {
        GePoint3d origin;
        GeVector3d x, y, z;
        Entity(ids[i])->GetLocalTM().GetCoordSystem(origin, x, y, z);
        EXPECT_EQ(origin, GePoint3d(before[i].x, before[i].y, 1500)) << i;
        EXPECT_EQ(x, axes[i][0]) << i;
        EXPECT_EQ(y, axes[i][1]) << i;
        EXPECT_EQ(z, axes[i][2]) << i;
    }
    // The building stays what it was, only higher.
    EXPECT_EQ(Building(building)->Height(), 3000);
    EXPECT_NEAR(Entity(building)->GetBoundBox().MinPoint().z, 1500, 1e-9);
    const std::string transcript = Transcript();
    EXPECT_THAT(transcript, HasSubstr("***修改三维对象底标高***\n请选择要修改底标高的三维对象：\n"));
    EXPECT_THAT(transcript, HasSubstr("选中3个实体。\n"));
}

TEST_F(BaseElevationTest, DefaultIsTheCommonElevationElse900)
{
    AddBoxAt(0, 0, 0);
    AddBoxAt(2000, 0, 0.0005);
    EXPECT_EQ(EnterValue("#1 #2"), 0.0);
    EXPECT_EQ(OriginZ(decObjectId(2)), 0.0);

    AddBoxAt(4000, 0, 3000);
    EXPECT_EQ(EnterValue("#1 #3"), 900.0);
    EXPECT_EQ(OriginZ(decObjectId(3)), 900.0);
}

TEST_F(BaseElevationTest, DefaultComparesEveryOriginWithTheFirst)
{
    // Each step is within 0.001 of the one before, but the third is not within it of the first.
    AddBoxAt(0, 0, 0);
    AddBoxAt(2000, 0, 0.0008);
    AddBoxAt(4000, 0, 0.0016);
    EXPECT_EQ(EnterValue("#1 #2 #3"), 900.0);
}

TEST_F(BaseElevationTest, LimitsAreInclusiveAndOthersAskedAgainFrom900)
{
    AddBoxAt(0, 0, 0);
    Script("eelev\n#1\n10000000\n");
    EXPECT_EQ(OriginZ(decObjectId(1)), 10000000.0);
    Script("eelev\n#1\n-100000\n");
    EXPECT_EQ(OriginZ(decObjectId(1)), -100000.0);
    EXPECT_THAT(Transcript(), Not(HasSubstr(kRefused)));
    EXPECT_FALSE(host::EventLog::Instance().Calls("GetReal flags=0").empty());

    Script("eelev\n#1\n10000000.001\n-100000.001\n\n");
    EXPECT_EQ(CountOf(Transcript(), kRefused), 2);
    EXPECT_EQ(OriginZ(decObjectId(1)), 900.0);
}

TEST_F(BaseElevationTest, CancelOrNoThreeDimensionalObjectChangesNothing)
{
    AddBoxAt(0, 0, 250);
    Script("pline closed 0,0 1000,0 1000,1000\n");
    Script("eelev\n#1\n*cancel*\n");
    EXPECT_EQ(OriginZ(decObjectId(1)), 250.0);
    // Curves are refused; with nothing left the command ends without a word.
    Script("eelev\n#2\n");
    Script("eelev\n*cancel*\n");
    EXPECT_THAT(Transcript(), Not(HasSubstr("选中0个实体")));
    // Only the cancelled run got as far as the elevation.
    EXPECT_EQ(CountOf(Transcript(), "输入底标高（毫米）"), 1);
    const std::vector<std::string> selections = host::EventLog::Instance().Calls("decSSGet mode=1 filter");
    EXPECT_FALSE(selections.empty());
}

}  // namespace
