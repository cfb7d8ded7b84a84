#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "DbTestSupport.h"
#include "EventLog.h"
#include "HostSolids.h"
#include "ObjectProperties.h"
#include "decDbCurve.h"
#include "decDbTextAndPoint.h"

#include <memory>

using ObjectModel = DbTest;

TEST_F(ObjectModel, KindTestsFollowTheParentChain)
{
    TestBlock block;
    EXPECT_TRUE(block.IsKindOf(TestBlock::Desc()));
    EXPECT_TRUE(block.IsKindOf(decBuilder::Desc()));
    EXPECT_TRUE(block.IsKindOf(decDbObject::Desc()));
    EXPECT_TRUE(block.IsKindOf(decObject::Desc()));
    EXPECT_FALSE(block.IsKindOf(decDbEntity::Desc()));
    EXPECT_FALSE(block.IsKindOf(nullptr));
    EXPECT_EQ(block.IsA(), TestBlock::Desc());
    EXPECT_EQ(block.GetClassInfoA(), TestBlock::Desc());
    EXPECT_STREQ(block.IsA()->className, "QCTestBlock");

    decDbPolyline line;
    EXPECT_TRUE(line.IsKindOf(decDbCurve::Desc()));
    EXPECT_TRUE(line.IsKindOf(decDbEntity2d::Desc()));
    EXPECT_FALSE(line.IsKindOf(decDbEntity3d::Desc()));
    EXPECT_EQ(decDbCurve::Cast(&line), &line);
    EXPECT_EQ(decDbText::Cast(&line), nullptr);
    EXPECT_EQ(decDbText::Cast(nullptr), nullptr);
    EXPECT_EQ(decCast<decDbEntity2d>(&line), &line);
}

TEST_F(ObjectModel, ClassesRegisteredDuringStaticInitialisationAreFound)
{
    const auto& registry = host::ClassRegistry::Instance();
    EXPECT_EQ(registry.Find("QCTestBlock"), TestBlock::Desc());
    EXPECT_EQ(registry.Find("QCTestLabel"), TestLabel::Desc());
    EXPECT_EQ(registry.Find("QCNoSuchClass"), nullptr);
    // A second registration of the same record keeps one entry.
    const std::size_t before = registry.All().size();
    decObject::RegisterClassA(TestBlock::Desc());
    EXPECT_EQ(registry.All().size(), before);
}

TEST_F(ObjectModel, AStoredObjectChangedOutsideWriteAccessIsAFault)
{
    const decObjectId id = AddBlock(1000, 500, 3000);
    auto* entity = decDbEntity3d::Cast(id.GetObjectA());
    ASSERT_NE(entity, nullptr);
    auto* block = TestBlock::Cast(entity->GetBaseObject());
    ASSERT_NE(block, nullptr);

    EXPECT_THROW(block->SetHeight(10), host::ProtocolFault);

    // Open the builder itself, or its entity: both allow the change.
    block->OpenForWrite();
    block->SetHeight(4000);
    block->Close();
    entity->OpenForWrite();
    block->SetHeight(5000);
    entity->Close();
    EXPECT_EQ(block->GetHeight(), 5000);

    // Open for read only is not enough.
    block->OpenForRead();
    EXPECT_THROW(block->SetHeight(1), host::ProtocolFault);
    block->Close();

    // An object not yet in the drawing is set freely.
    TestBlock loose;
    loose.SetHeight(7);
    EXPECT_EQ(loose.GetHeight(), 7);
}

TEST_F(ObjectModel, LenientModeRecordsTheFaultAndGoesOn)
{
    const decObjectId id = AddBlock(1000, 500, 3000);
    auto* block = TestBlock::Cast(decDbEntity3d::Cast(id.GetObjectA())->GetBaseObject());
    host::SetStrictAccess(false);
    block->SetHeight(10);
    host::SetStrictAccess(true);
    EXPECT_EQ(host::FaultCount(), 1);
    EXPECT_EQ(block->GetHeight(), 10);
    EXPECT_FALSE(host::EventLog::Instance().Calls("fault object QCTestBlock").empty());
}

TEST_F(ObjectModel, TheMeshIsMadeAgainAfterTheBuilderChanged)
{
    const decObjectId id = AddBlock(1000, 500, 3000);
    auto* entity = decDbEntity3d::Cast(id.GetObjectA());
    auto* block = TestBlock::Cast(entity->GetBaseObject());
    EXPECT_DOUBLE_EQ(entity->GetBoundBox().MaxPoint().z, 3000);
    block->OpenForWrite();
    block->SetHeight(4500);
    block->Close();
    EXPECT_DOUBLE_EQ(entity->GetBoundBox().MaxPoint().z, 4500);
    EXPECT_EQ(block->GetOutputObjs().size(), 1u);
    EXPECT_EQ(block->GetOutputObjs()[0], id);
    EXPECT_EQ(block->GetObjectId(), id);
}

TEST_F(ObjectModel, ErasedObjectsStayAddressableAndRecognisable)
{
    const decObjectId id = AddBlock(1000, 500, 3000);
    decObject* object = id.GetObjectA();
    EXPECT_THROW(object->Erase(), host::ProtocolFault) << "erasing needs write access";
    EXPECT_FALSE(object->IsErased());
    object->OpenForWrite();
    EXPECT_EQ(object->Erase(), dex::eOk);
    object->Close();
    EXPECT_EQ(id.GetObjectA(), object);
    EXPECT_TRUE(id.GetObjectA()->IsErased());
    EXPECT_EQ(id.OpenForWrite(), nullptr);
    EXPECT_EQ(decObjectId().GetObjectA(), nullptr);
    EXPECT_EQ(decObjectId(9999).GetObjectA(), nullptr);
    EXPECT_EQ(decObjectId(9999).OpenForWrite(), nullptr);
}

TEST_F(ObjectModel, ErasingABuilderErasesItsEntity)
{
    const decObjectId id = AddBlock(1000, 500, 3000);
    auto* block = TestBlock::Cast(decDbEntity::Cast(id.GetObjectA())->GetBaseObject());
    EXPECT_THROW(block->Erase(), host::ProtocolFault);
    block->OpenForWrite();
    EXPECT_EQ(block->Erase(), dex::eOk);
    block->Close();
    EXPECT_TRUE(id.GetObjectA()->IsErased());
    EntityArray ents;
    EXPECT_EQ(Db().GetAllEnts(ents, 0), 0);
}

TEST_F(ObjectModel, ExtendedDataKeepsDuplicatesAndFindsTheFirst)
{
    TestBlock block;
    auto* first = new decObjectXDataApp("build_group");
    first->AppendDataString("A组");
    auto* second = new decObjectXDataApp("build_group");
    second->AppendDataString("B组");
    auto* windows = new decObjectXDataApp("WIN_BELONG_BLD");
    windows->AppendDataLong(2);
    windows->AppendDataString("1号楼-1-1");
    windows->AppendDataString("1号楼-1-2");
    block.AppendAppXData(first);
    block.AppendAppXData(second);
    block.AppendAppXData(windows);

    EXPECT_EQ(block.FindAppXDataByName("build_group"), first);
    EXPECT_EQ(block.FindAppXDataByName("XBUILD_NAME"), nullptr);
    EXPECT_EQ(block.FindAppXDataByName(nullptr), nullptr);
    const decObjectXDataApp* found = block.FindAppXDataByName("WIN_BELONG_BLD");
    ASSERT_EQ(found->GetCount(), 3);
    EXPECT_TRUE(found->GetAt(0)->IsTypeLong());
    EXPECT_EQ(found->GetAt(0)->GetLong(), 2);
    EXPECT_TRUE(found->GetAt(2)->IsTypeString());
    EXPECT_STREQ(found->GetAt(2)->GetString(), "1号楼-1-2");
    EXPECT_EQ(found->GetAt(3), nullptr);
    EXPECT_EQ(found->GetAt(-1), nullptr);

    block.RemoveAppXData("build_group");
    EXPECT_EQ(block.FindAppXDataByName("build_group"), nullptr);
    EXPECT_EQ(block.XDataApps().size(), 1u);
}

TEST_F(ObjectModel, PropertyTextIsCutAtTwoHundredBytesOnACharacterBoundary)
{
    prop_data value;
    std::string text;
    for (int i = 0; i < 100; ++i) text += "窗";  // 300 bytes
    value.SetText(text.c_str());
    EXPECT_EQ(value.type, prop_data::kText);
    EXPECT_EQ(std::strlen(value.szValue), 198u);
    EXPECT_EQ(std::string(value.szValue), text.substr(0, 198));
    value.SetText(nullptr);
    EXPECT_STREQ(value.szValue, "");
}

TEST_F(ObjectModel, ThePanelEditsThroughTheRowProtocolAndRereadsTheValue)
{
    const decObjectId id = AddBlock(1000, 500, 3000);
    auto* block = TestBlock::Cast(decDbEntity3d::Cast(id.GetObjectA())->GetBaseObject());
    const auto rows = host::PropertyRows(*block);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_STREQ(rows[1].name, "高度（毫米）");
    prop_data value;
    value.SetLong(4200);
    prop_data after;
    EXPECT_EQ(host::ChangeProperty(*block, rows[1].index, value, &after), dex::eOk);
    EXPECT_EQ(after.type, prop_data::kInteger);
    EXPECT_EQ(after.lValue, 4200);
    value.SetLong(-5);  // refused by the object: the panel shows the old value
    host::ChangeProperty(*block, rows[1].index, value, &after);
    EXPECT_EQ(after.lValue, 4200);
    EXPECT_FALSE(block->IsOpenForRead());
    EXPECT_TRUE(host::PropertyRows(decDbPoint()).empty());
}

TEST_F(ObjectModel, ClosingAChangedObjectTellsTheReactors)
{
    const decObjectId id = AddBlock(1000, 500, 3000);
    struct Watcher : DbDatabaseReactor {
        void OnObjectModified(DbDatabase*, decObject* object) override { modified.push_back(object); }
        std::vector<decObject*> modified;
    } watcher;
    Db().AddReactor(&watcher);
    auto* entity = decDbEntity::Cast(id.GetObjectA());
    entity->OpenForWrite();
    entity->Close();
    EXPECT_TRUE(watcher.modified.empty()) << "nothing changed";
    entity->OpenForWrite();
    entity->SetEntityColor(Q3dColor(0xFFFF));
    entity->OpenForRead();
    entity->Close();
    EXPECT_TRUE(watcher.modified.empty()) << "still open for write";
    entity->Close();
    Db().RemoveReactor(&watcher);
    ASSERT_EQ(watcher.modified.size(), 1u);
    EXPECT_EQ(watcher.modified[0], entity);
}

// A reactor keeping an index of records must hear of every change of them, and of a builder
// changed through its entity.
TEST_F(ObjectModel, RecordsAddedOrRemovedAndBuildersChangedThroughTheirEntityTellTheReactors)
{
    auto* entity = decDbEntity3d::Cast(AddBlock(1000, 500, 3000).GetObjectA());
    struct Watcher : DbDatabaseReactor {
        void OnObjectModified(DbDatabase*, decObject* object) override { modified.push_back(object); }
        std::vector<decObject*> modified;
    } watcher;
    Db().AddReactor(&watcher);
    const auto record = [] { return new decObjectXDataApp("WIN_BELONG_BLD"); };
    const std::pair<std::function<void()>, bool> steps[] = {
        {[&] { entity->AppendAppXData(record()); }, true},
        {[&] { entity->RemoveAppXData("WIN_BELONG_BLD"); }, true},
        {[&] { entity->RemoveAppXData("WIN_BELONG_BLD"); }, false},  // none left
        {[&] { entity->RemoveAppXData(std::unique_ptr<decObjectXDataApp>(record()).get()); }, false},
        {[&] { entity->AppendAppXData(record()), entity->RemoveAppXData(entity->XDataApps()[0].get()); }, true},
        {[&] { TestBlock::Cast(entity->GetBaseObject())->SetHeight(4000); }, true},
    };
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        watcher.modified.clear();
        entity->OpenForWrite();
        steps[i].first();
        entity->Close();
        EXPECT_EQ(watcher.modified, steps[i].second ? std::vector<decObject*>{entity} : std::vector<decObject*>{}) << i;
    }
    Db().RemoveReactor(&watcher);
}

TEST_F(ObjectModel, HostBuildersAreKnownByTheirKindNames)
{
    EXPECT_STREQ(decDbExtrude().GetName(), "拉伸体");
    EXPECT_STREQ(decDbBox().GetName(), "长方体");
    EXPECT_STREQ(decDbCylinder().GetName(), "圆柱");
    EXPECT_STREQ(decDbCone().GetName(), "圆锥");
    EXPECT_STREQ(decDbFrustum().GetName(), "台体");
}

TEST_F(ObjectModel, RoundSolidsKeepTheirBaseRingFirst)
{
    decMesh3* mesh = nullptr;
    ASSERT_EQ(decDbCone(100, 300).MakeMesh(&mesh), 1);
    std::unique_ptr<decMesh3> cone(mesh);
    EXPECT_EQ(cone->GetCountVertex(), 25);
    EXPECT_EQ(cone->GetCountPolygon(), 25);
    EXPECT_DOUBLE_EQ(cone->GetVertexArray()[0].x, 100);
    ASSERT_EQ(decDbFrustum(100, 50, 300).MakeMesh(&mesh), 1);
    std::unique_ptr<decMesh3> frustum(mesh);
    EXPECT_EQ(frustum->GetCountVertex(), 48);
    EXPECT_DOUBLE_EQ(frustum->GetVertexArray()[24].x, 50);
    EXPECT_DOUBLE_EQ(frustum->GetVertexArray()[24].z, 300);
    mesh = nullptr;
    EXPECT_EQ(decDbCone(0, 300).MakeMesh(&mesh), 0);
    EXPECT_EQ(mesh, nullptr) << "a refused mesh leaves the out pointer";
}
