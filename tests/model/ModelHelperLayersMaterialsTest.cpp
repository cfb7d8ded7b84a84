// Layers and materials found or created by name.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ModelHelperLayersMaterials.h"
#include "ModelTestSupport.h"

using ::testing::HasSubstr;

namespace {

class LayerMaterialTest : public ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        Db()->OpenForWrite();
    }
    void TearDown() override
    {
        while (Db()->GetOpenDepth() > 0)
            Db()->Close();
        ModelTest::TearDown();
    }
    decLayer* Layer(const char* name) const { return Db()->GetTableLayer()->SearchLayer(name); }
};

TEST_F(LayerMaterialTest, NewLayerTakesColourStyleLineTypeAndVisibility)
{
    const long id = CreateLayer(Db(), "窗", 0xFF3200, 0, 1);
    ASSERT_NE(id, 0);
    const decLayer* layer = Layer("窗");
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(layer->GetLayerId(), id);
    EXPECT_EQ(layer->GetColor(), 0xFF3200u);
    EXPECT_EQ(layer->GetStyle(), 0);
    EXPECT_STREQ(layer->GetLineType(), "Continuous");
    EXPECT_EQ(layer->IsVisible(), 1);

    CreateLayer(Db(), "辅助", 0x00FF00, -1, 0);
    EXPECT_EQ(Layer("辅助")->GetStyle(), 25);
    EXPECT_EQ(Layer("辅助")->IsVisible(), 0);
}

TEST_F(LayerMaterialTest, ExistingLayerIsRecolouredAndShownButNeverHidden)
{
    const long id = CreateLayer(Db(), "建筑", 0x00FF00, 0, 0);
    EXPECT_EQ(CreateLayer(Db(), "建筑", 0x0000FF, 0, 0), id);
    EXPECT_EQ(Layer("建筑")->GetColor(), 0x0000FFu);
    EXPECT_EQ(Layer("建筑")->IsVisible(), 0);
    EXPECT_EQ(CreateLayer(Db(), "建筑", 0x0000FF, 0, 1), id);
    EXPECT_EQ(Layer("建筑")->IsVisible(), 1);
    EXPECT_EQ(CreateLayer(Db(), "建筑", 0x0000FF, 0, 0), id);
    EXPECT_EQ(Layer("建筑")->IsVisible(), 1);
    EXPECT_EQ(Db()->GetTableLayer()->GetCount(), 2);
}

TEST_F(LayerMaterialTest, NoDatabaseOpenForWriteGivesNoLayer)
{
    EXPECT_EQ(CreateLayer(nullptr, "窗", 0xFF3200, 0, 1), 0);
    EXPECT_THAT(Transcript(), HasSubstr("表达式失败< db && db->IsOpenForWrite() >\n文件：modelhelper"));
    Db()->Close();
    EXPECT_EQ(CreateLayer(Db(), "窗", 0xFF3200, 0, 1), 0);
    EXPECT_EQ(Layer("窗"), nullptr);
}

TEST_F(LayerMaterialTest, SolidColourMaterialIsCreatedOnceAndKeepsItsSettings)
{
    CString name = "蓝色窗";
    const long id = CreateSolidColorMaterial(Db(), name, 0xFFFF80, 0.5);
    ASSERT_NE(id, 0);
    const dexMaterialObj* material = Db()->GetTableMaterial()->GetById(id);
    ASSERT_NE(material, nullptr);
    EXPECT_EQ(material->GetKind(), dexMaterialObj::kSolidColor);
    EXPECT_STREQ(material->GetName(), "蓝色窗");
    EXPECT_EQ(material->GetColor(), 0xFFFF80u);
    EXPECT_EQ(material->GetTransparent(), 0.5f);
    EXPECT_TRUE(material->GetTransparentFlag());

    EXPECT_EQ(CreateSolidColorMaterial(Db(), name, 0x123456, 0.9), id);
    EXPECT_EQ(material->GetColor(), 0xFFFF80u);
    EXPECT_EQ(material->GetTransparent(), 0.5f);
    EXPECT_EQ(Db()->GetTableMaterial()->GetCount(), 1);

    // The transparency goes through float.
    CString glass = "玻璃";
    const long glassId = CreateSolidColorMaterial(Db(), glass, 0xFFFFFF, 0.3);
    EXPECT_EQ(Db()->GetTableMaterial()->GetById(glassId)->GetTransparent(), 0.3f);
}

TEST_F(LayerMaterialTest, ImageMaterialCarriesItsFile)
{
    CString name = "砖墙";
    CString path = "textures/brick.png";
    const long id = CreateImageMaterial(Db(), name, path, 0x808080, 0.0);
    const auto* bitmap = dynamic_cast<const dexMaterialBitmap*>(Db()->GetTableMaterial()->GetById(id));
    ASSERT_NE(bitmap, nullptr);
    EXPECT_STREQ(bitmap->GetImageFilePath(), "textures/brick.png");
    EXPECT_EQ(bitmap->GetColor(), 0x808080u);
    CString other = "other.png";
    EXPECT_EQ(CreateImageMaterial(Db(), name, other, 0, 0.0), id);
    EXPECT_STREQ(bitmap->GetImageFilePath(), "textures/brick.png");
}

TEST_F(LayerMaterialTest, MaterialsAreNotWrittenToAReadOnlyDatabase)
{
    Db()->Close();
    CString name = "蓝色窗";
    EXPECT_EQ(CreateSolidColorMaterial(Db(), name, 0xFFFF80, 0.5), 0);
    CString path = "a.png";
    EXPECT_EQ(CreateImageMaterial(Db(), name, path, 0xFFFF80, 0.5), 0);
    EXPECT_EQ(CreateSolidColorMaterial(nullptr, name, 0xFFFF80, 0.5), 0);
    EXPECT_EQ(Db()->GetTableMaterial()->GetCount(), 0);
    EXPECT_THAT(Transcript(), HasSubstr("数据库没有打开，无法创建色块材质"));
}

}  // namespace
