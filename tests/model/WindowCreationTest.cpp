// New windows as the insertion commands make them: the frame a sill direction gives, and the
// layer, material, numbers and label settings of a created window.
#include <gtest/gtest.h>

#include "WindowCreation.h"
#include "WindowTestSupport.h"
#include "WorkingDrawing.h"

namespace {

using WindowCreationTest = WindowModelTest;

TEST(WindowFrameTest, SillDirectionGivesAnOutwardYAndALevelX)
{
    struct Case {
        GeVector3d x;            // along the sill, right end to left end
        GeVector3d expectedX;    // levelled and normalised
        GeVector3d expectedY;    // out of the building
    };
    const Case cases[] = {
        {{-1500, 0, 0}, {-1, 0, 0}, {0, -1, 0}},  // south facade seen from the south
        {{0, -2, 0}, {0, -1, 0}, {1, 0, 0}},      // east facade
        {{3, 0, 700}, {1, 0, 0}, {0, 1, 0}},      // a sloping sill is levelled
        {{1, 1, 0}, {0.7071067811865476, 0.7071067811865476, 0}, {-0.7071067811865476, 0.7071067811865476, 0}},
    };
    for (const Case& c : cases) {
        GeMatrix3d frame;
        ASSERT_TRUE(MakeWindowFrame(GePoint3d(5, 6, 900), c.x, frame));
        GePoint3d origin;
        GeVector3d x, y, z;
        frame.GetCoordSystem(origin, x, y, z);
        const std::string what = "x " + std::to_string(c.x.x) + "," + std::to_string(c.x.y);
        ExpectNearPoint(origin, {5, 6, 900}, what);
        ExpectNearVector(x, c.expectedX, what);
        ExpectNearVector(y, c.expectedY, what);
        ExpectNearVector(z, GeVector3d::kZAxis, what);
    }
    // An upright or vanishing sill has no facing: refused, the frame left as it was.
    for (const GeVector3d& none : {GeVector3d(0, 0, 5), GeVector3d(0.0005, 0.0005, 0), GeVector3d()}) {
        GeMatrix3d frame;
        EXPECT_FALSE(MakeWindowFrame(GePoint3d(), none, frame));
        EXPECT_TRUE(frame.IsEqual(GeMatrix3d(), 0.0));
    }
}

TEST_F(WindowCreationTest, WindowTakesTheLayerMaterialNumbersAndTheDrawingsLabelSettings)
{
    Script("setvar ORV_WIN_H_DIM 3\nsetvar ORV_WIN_V_DIM 1.5\nsetvar DRAWING_SCALE 200\n");
    DbAutoOpen open;
    const WindowLook look = PrepareWindowLook(open.db);
    GeMatrix3d frame;
    ASSERT_TRUE(MakeWindowFrame(GePoint3d(100, 0, 900), GeVector3d(-1, 0, 0), frame));
    ASSERT_EQ(CreateNumberedWindow(open.db, look, {.building = "A座", .position = 7, .floor = 3, .width = 1200,
                                                   .height = 1500},
                                   frame),
              1);

    const decLayer* layer = open.db->Layers().SearchLayer("窗");
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(layer->GetColor(), 0xff3200u);
    const dexMaterialObj* material = open.db->Materials().GetById(open.db->Materials().GetIdByName("蓝色窗"));
    ASSERT_NE(material, nullptr);
    EXPECT_EQ(material->GetColor(), 0xffff80u);
    EXPECT_FLOAT_EQ(material->GetTransparent(), 0.5f);

    EntityArray all;
    open.db->GetAllEnts(all, 0);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0]->GetLayerId(), layer->GetLayerId());
    EXPECT_EQ(all[0]->GetMaterialId(), material->GetMatId());
    const CWindow* window = CWindow::Cast(all[0]->GetBaseObject());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->BuildName(), "A座");
    EXPECT_EQ(window->Index(), 7);
    EXPECT_EQ(window->Door(), "7");
    EXPECT_EQ(window->Floor(), 3);
    EXPECT_EQ(window->Width(), 1200);
    EXPECT_EQ(window->Height(), 1500);
    EXPECT_DOUBLE_EQ(window->HorDimHeight(), 3.0);
    EXPECT_DOUBLE_EQ(window->VerDimHeight(), 1.5);
    EXPECT_DOUBLE_EQ(window->Scale(), 200.0);
    // A second preparation finds the same layer and material.
    const WindowLook again = PrepareWindowLook(open.db);
    EXPECT_EQ(again.layerId, look.layerId);
    EXPECT_EQ(again.materialId, look.materialId);
}

}  // namespace
