#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <random>
#include <set>

#include "DbTestSupport.h"
#include "DrawingDump.h"
#include "EntityCopy.h"
#include "EventLog.h"
#include "HostSolids.h"
#include "WorkingDrawing.h"
#include "decDbCurve.h"
#include "decDbTextAndPoint.h"

using Database = DbTest;

namespace {

class Collect : public EnumDatabaseEntityTableCallback {
public:
    void OnEntity(decDbEntity* entity) override { seen.push_back(entity); }
    EntityArray seen;
};

}  // namespace

TEST_F(Database, WriteBracketsNestAndAnUnbalancedOneIsReported)
{
    EXPECT_FALSE(Db().IsOpenForWrite());
    Db().OpenForWrite();
    Db().OpenForWrite();
    Db().Close();
    EXPECT_TRUE(Db().IsOpenForWrite());
    Db().Close();
    EXPECT_TRUE(Db().CheckBracketsBalanced("build"));

    Db().OpenForWrite();
    EXPECT_THROW(Db().CheckBracketsBalanced("build"), host::ProtocolFault);
    EXPECT_FALSE(Db().IsOpenForWrite()) << "the bracket is reset after the report";
    EXPECT_FALSE(host::EventLog::Instance().Calls("fault command build left").empty());

    EXPECT_THROW(Db().Close(), host::ProtocolFault) << "a Close without an open";

    decObjectId id;
    EXPECT_THROW(Db().CreateNewEntity(1, new decDbPolyline(), id), host::ProtocolFault)
        << "creating outside a write bracket";
    {
        DbAutoOpen open(1);
        ASSERT_EQ(open.db, &Db());
        EXPECT_TRUE(Db().IsOpenForWrite());
    }
    EXPECT_FALSE(Db().IsOpenForWrite()) << "the automatic bracket closes when it goes";
}

TEST_F(Database, BuilderEntitiesCarryTheTransformLayerAndMaterial)
{
    DbAutoOpen open(1);
    decLayer* layer = Db().GetTableLayer()->CreateNewLayer("建筑", 0x00FF00);
    auto* material = new dexMaterialSolidColor();
    material->SetName("建筑");
    material->SetColor(0xFFFFFF);
    Db().GetTableMaterial()->CreateNewMatObj(material, 0);
    GeMatrix3d tm;
    tm.SetToTranslation(GeVector3d(100, 200, 300));
    auto* block = new TestBlock();
    decObjectId id;
    ASSERT_EQ(Db().CreateNewEntity(layer->GetID(), block, tm, id, material->GetMatId()), dex::eOk);
    ASSERT_FALSE(id.IsNull());

    auto* entity = decDbEntity3d::Cast(id.GetObjectA());
    ASSERT_NE(entity, nullptr);
    EXPECT_EQ(entity->Is3DEntity(), 1);
    EXPECT_EQ(entity->GetBaseObject(), block);
    EXPECT_EQ(entity->GetLayerId(), layer->GetID());
    EXPECT_EQ(entity->GetMaterialId(), material->GetMatId());
    EXPECT_TRUE(entity->GetTM().IsEqual(tm, 0));
    decMesh3* mesh = nullptr;
    GeMatrix3d placed;
    ASSERT_EQ(entity->GetMesh(mesh, placed), 1);
    EXPECT_EQ(mesh->GetCountVertex(), 8);
    EXPECT_TRUE(placed.IsEqual(tm, 0));
    EXPECT_DOUBLE_EQ(entity->GetBoundBox().MinPoint().x, 100);
    EXPECT_DOUBLE_EQ(entity->GetBoundBox().MaxPoint().z, 3300);

    // An unknown layer falls back to the current one.
    Db().CreateNewEntity(77, new decDbPoint(GePoint3d()), id);
    EXPECT_EQ(decDbEntity::Cast(id.GetObjectA())->GetLayerId(), Db().GetTableLayer()->GetCurrentLayerID());
}

TEST_F(Database, EntityKindsAnswerTheBaseObjectRules)
{
    DbAutoOpen open(1);
    decObjectId lineId, proxyId;
    const GePoint3d pts[3] = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}};
    auto* line = new decDbPolyline(3, pts, 1);
    Db().CreateNewEntity(1, line, lineId);
    decMesh4 soup;
    soup.AppendPolygon(3, pts, 0);
    Db().CreateProxyEntity(1, GeMatrix3d(), soup.ConvertToMesh3(), proxyId, 0);

    EXPECT_EQ(line->GetBaseObject(), line) << "a 2-D entity is its own base object";
    EXPECT_EQ(line->Is3DEntity(), 0);
    auto* proxy = decDbEntity3d::Cast(proxyId.GetObjectA());
    ASSERT_NE(proxy, nullptr);
    EXPECT_EQ(proxy->GetBaseObject(), nullptr);
    EXPECT_EQ(proxy->Is3DEntity(), 1);
    EXPECT_EQ(proxy->GetMesh()->GetCountVertex(), 3);

    decObjectId none;
    EXPECT_EQ(Db().CreateProxyEntity(1, GeMatrix3d(), nullptr, none, 0), 0);
    EXPECT_TRUE(none.IsNull());
}

TEST_F(Database, EnumerationVisitsLiveEntitiesInCreationOrder)
{
    EntityArray none(0);
    EXPECT_EQ(Db().GetAllEnts(none, 0), 0);
    EXPECT_TRUE(none.empty());
    const decObjectId a = AddBlock(10, 10, 10);
    const decObjectId b = AddBlock(20, 20, 20);
    const decObjectId c = AddBlock(30, 30, 30);
    decObject* middle = b.GetObjectA();
    middle->OpenForWrite();
    middle->Erase();
    middle->Close();

    Collect all;
    EXPECT_EQ(Db().EnumEntityTable(all, 1), 2);
    ASSERT_EQ(all.seen.size(), 2u);
    EXPECT_EQ(all.seen[0]->GetObjectId(), a);
    EXPECT_EQ(all.seen[1]->GetObjectId(), c);
    EXPECT_FALSE(host::EventLog::Instance().Calls("EnumEntityTable mode 1").empty());

    EntityArray ents(0);
    EXPECT_EQ(Db().GetAllEnts(ents, 0), 2);
    EXPECT_EQ(ents, all.seen);
}

TEST_F(Database, EnumerationToleratesChangesDuringTheWalk)
{
    for (int i = 0; i < 4; ++i) AddBlock(10, 10, 10 + i);
    // Hides the entity it sees, erases the next one and adds a new entity on every visit.
    class Meddler : public EnumDatabaseEntityTableCallback {
    public:
        explicit Meddler(DbDatabase& db) : m_db(db) {}
        void OnEntity(decDbEntity* entity) override
        {
            ++visits;
            entity->OpenForWrite();
            entity->SetHide(1, 1, 0);
            entity->Close();
            const decObjectId next(entity->GetObjectId().Handle() + 1);
            if (decObject* object = next.GetObjectA(); object && !object->IsErased()) {
                object->OpenForWrite();
                object->Erase();
                object->Close();
            }
            m_db.OpenForWrite();
            decObjectId added;
            m_db.CreateNewEntity(1, new decDbPoint(GePoint3d()), added);
            m_db.Close();
        }
        int visits = 0;

    private:
        DbDatabase& m_db;
    } meddler(Db());
    Db().EnumEntityTable(meddler, 0);
    EXPECT_EQ(meddler.visits, 2) << "entities 1 and 3 are visited; 2 and 4 were erased, new ones come after";
    EntityArray ents;
    EXPECT_EQ(Db().GetAllEnts(ents, 0), 4);
}

TEST_F(Database, LayersAreFoundByExactNameAndTheCurrentOneIsRestored)
{
    decLayerTable* layers = Db().GetTableLayer();
    ASSERT_NE(layers->SearchLayer("0"), nullptr);
    EXPECT_EQ(layers->SearchLayer("窗"), nullptr);
    const long start = layers->GetCurrentLayerID();

    layers->OpenForWrite();
    decLayer* window = layers->CreateNewLayer("窗", 0xFF3200);
    decLayer* roof = layers->CreateLayer("坡屋顶", Q3dColor(255), 25, "Continuous");
    layers->SetCurrentLayerID(window->GetID(), 1, 1);
    layers->Close();

    EXPECT_EQ(layers->SearchLayer("窗"), window);
    EXPECT_EQ(layers->SearchLayer("窗 "), nullptr);
    EXPECT_EQ(window->GetColor(), 0xFF3200u);
    EXPECT_EQ(roof->GetColor(), 255u);
    EXPECT_EQ(roof->GetStyle(), 25);
    EXPECT_EQ(window->GetID(), window->GetLayerId());
    EXPECT_NE(window->GetID(), roof->GetID());
    EXPECT_EQ(layers->GetCurrentLayerID(), window->GetID());
    EXPECT_EQ(layers->CreateNewLayer("窗", 0x123456), window) << "an existing layer is returned unchanged";

    layers->SetCurrentLayerID(9999, 1, 1);
    EXPECT_EQ(layers->GetCurrentLayerID(), window->GetID()) << "an unknown id is refused";
    layers->SetCurrentLayerID(start, 1, 1);
    EXPECT_EQ(layers->GetCurrentLayerID(), start);

    window->SetVisible(0);
    EXPECT_EQ(window->IsVisible(), 0);
}

TEST_F(Database, MaterialsStartAtOneAndZeroMeansNotFound)
{
    dexMaterialTable* materials = Db().GetTableMaterial();
    EXPECT_EQ(materials->GetIdByName("蓝色窗"), 0);
    auto* glass = new dexMaterialSolidColor();
    glass->SetName("蓝色窗");
    glass->SetColor(0xFFFF80);
    glass->SetTransparent(0.5f, true);
    auto* image = new dexMaterialBitmap();
    image->SetName("砖墙");
    image->SetImageFilePath("/tmp/brick.png");
    materials->OpenForWrite();
    materials->CreateNewMatObj(glass, 0);
    materials->CreateNewMatObj(image, 0);
    materials->Close();
    EXPECT_EQ(glass->GetMatId(), 1);
    EXPECT_EQ(image->GetMatId(), 2);
    EXPECT_EQ(materials->GetIdByName("蓝色窗"), 1);
    EXPECT_FLOAT_EQ(materials->GetById(1)->GetTransparent(), 0.5f);
    EXPECT_EQ(materials->CreateNewMatObj(nullptr, 0), 0);
}

TEST_F(Database, DrawingVariablesExistOnceSet)
{
    double value = -1;
    EXPECT_EQ(Db().GetGlobalVar("ORV_BUILD_DIM", value), 0);
    EXPECT_EQ(value, -1);
    Db().SetGlobalVar("ORV_BUILD_DIM", 3.5);
    EXPECT_NE(Db().GetGlobalVar("ORV_BUILD_DIM", value), 0);
    EXPECT_EQ(value, 3.5);
    EXPECT_EQ(Db().GetGlobalVar(nullptr, value), 0);
    EXPECT_EQ(Db().SetGlobalVar("", 1.0), 0);
}

TEST_F(Database, GroupsLeaveOutUnsetIds)
{
    const decObjectId a = AddBlock(10, 10, 10);
    const decObjectId b = AddBlock(10, 10, 10);
    DbAutoOpen open(1);
    decObjectIdArray ids{a, decObjectId(), b, decObjectId(5555)};
    EXPECT_EQ(Db().MakeGroup(ids, 0), dex::eOk);
    ASSERT_EQ(Db().Groups().size(), 1u);
    EXPECT_EQ(Db().Groups()[0].members, (std::vector<decObjectId>{a, b}));
    EXPECT_EQ(Db().MakeGroup(decObjectIdArray{decObjectId()}, 0), 0);

    EntityArray ents{decDbEntity::Cast(a.GetObjectA()), nullptr};
    EXPECT_EQ(Db().MakeGroup(ents, 3), dex::eOk);
    EXPECT_EQ(Db().Groups()[1].flags, 3);
    EXPECT_FALSE(host::EventLog::Instance().Calls("MakeGroup 2 flags 3").empty());
}

// Groups made (ids repeated, unset or erased among them), members erased one by one or many
// at once, the groups looked at now and then and the drawing saved and opened again, against
// a plain list of groups: the members left are the live ones in the order given, each once,
// and a group left empty is gone.
TEST_F(Database, GroupsKeepTheirLiveMembersInOrderWhileMembersAreErased)
{
    std::mt19937 random(58);
    const auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
    std::vector<decObjectId> objects;
    for (int i = 0; i < 60; ++i) objects.push_back(AddBlock(10, 10, 10));
    std::vector<std::pair<int, std::vector<decObjectId>>> plain;
    std::set<std::uint64_t> erased;
    const auto live = [&](const decObjectId& id) { return !erased.contains(id.Handle()); };
    const std::string drawing = TempPath("groups.q3d");
    for (int step = 0; step < 400; ++step) {
        const std::size_t what = pick(10);
        if (what < 3) {
            decObjectIdArray ids;
            std::vector<decObjectId> kept;
            for (std::size_t k = pick(40); k-- > 0;) {
                const decObjectId id = pick(8) == 0 ? decObjectId() : objects[pick(objects.size())];
                ids.push_back(id);
                if (!id.IsNull() && live(id) && std::find(kept.begin(), kept.end(), id) == kept.end()) kept.push_back(id);
            }
            DbAutoOpen open(1);
            EXPECT_EQ(Db().MakeGroup(ids, step), kept.empty() ? 0 : dex::eOk);
            if (!kept.empty()) plain.emplace_back(step, kept);
        } else if (what == 7) {
            for (int k = 0; k < 4; ++k) objects.push_back(AddBlock(10, 10, 10));
        } else if (what < 7) {
            DbAutoOpen open(1);
            for (std::size_t k = what == 6 ? 10 : 1; k-- > 0;) {
                const std::size_t i = pick(objects.size());
                if (!live(objects[i])) continue;
                decDbEntity* entity = Db().GetObjectById(objects[i]);
                entity->OpenForWrite();
                entity->Erase();
                entity->Close();
                erased.insert(objects[i].Handle());
                for (auto& [flags, members] : plain) std::erase(members, objects[i]);
                std::erase_if(plain, [](const auto& group) { return group.second.empty(); });
            }
        } else if (step % 100 == 99) {
            std::string error;
            ASSERT_TRUE(host::SaveDrawing(drawing, error)) << error;
            ASSERT_TRUE(host::OpenDrawing(drawing, error)) << error;
        }
        if (what >= 8 || step % 100 == 99) {
            std::vector<std::pair<int, std::vector<decObjectId>>> groups;
            for (const DrawingGroup& group : Db().Groups()) groups.emplace_back(group.flags, group.members);
            ASSERT_EQ(groups, plain) << "step " << step;
        }
    }
    std::filesystem::remove(drawing);
}

TEST_F(Database, SelectionIsRebuiltFromTheMarkedEntities)
{
    const decObjectId a = AddBlock(10, 10, 10);
    const decObjectId b = AddBlock(10, 10, 10);
    decDbEntity::Cast(b.GetObjectA())->SetSelected(1);
    EXPECT_EQ(Db().GetSysSelectSet().GetCount(), 0);
    Db().RebuildSysSelectSet(0);
    ASSERT_EQ(Db().GetSysSelectSet().GetCount(), 1);
    EXPECT_EQ(Db().GetSysSelectSet().GetAt(0), b);
    EXPECT_EQ(Db().GetSysSelectSet().GetEnt(0), b.GetObjectA());
    EXPECT_EQ(Db().GetSysSelectSet().GetEnt(5), nullptr);
    Db().ClearSelectSet(1);
    EXPECT_EQ(Db().GetSysSelectSet().GetCount(), 0);
    EXPECT_EQ(decDbEntity::Cast(b.GetObjectA())->IsSelected(), 0);

    BitArray picked;
    picked.Set(3);
    decDbEntity::Cast(a.GetObjectA())->SetSubObjectSelectSet(picked);
    BitArray out;
    EXPECT_EQ(decDbEntity::Cast(a.GetObjectA())->GetSubObjectSelectSet(out), 1);
    EXPECT_TRUE(out.IsSet(3));
    EXPECT_FALSE(out.IsSet(2));
    EXPECT_FALSE(out.IsSet(-1));
    Db().ClearSubSelectSet();
    EXPECT_EQ(decDbEntity::Cast(a.GetObjectA())->GetSubObjectSelectSet(out), 0);
}

TEST_F(Database, TemporaryGraphicsAreKeptPerDocument)
{
    const GePoint3d box[5] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 0}};
    Db().DrawTempPolyline(box, 5, 0xFF, 0, 1);
    ASSERT_EQ(Db().GetTempGraphics().GetPolylineCount(), 1);
    EXPECT_EQ(Db().GetTempGraphics().Polylines()[0].points.size(), 5u);
    EXPECT_EQ(Db().GetTempGraphics().Polylines()[0].colour, 0xFFu);
    EXPECT_FALSE(host::EventLog::Instance().Calls("temp polyline 5 colour 0xFF 0 1").empty());
    Db().ClearTempGraphics();
    EXPECT_EQ(Db().GetTempGraphics().GetPolylineCount(), 0);
    Db().DrawTempPolyline(nullptr, 3, 0xFF, 0, 1);
    EXPECT_EQ(Db().GetTempGraphics().GetPolylineCount(), 0);
}

TEST_F(Database, ReactorsHearAboutANewDocumentUntilRemoved)
{
    struct Counter : DbDatabaseReactor {
        void OnNewDocument(DbDatabase*) override { ++news; }
        int news = 0;
    } counter;
    Db().AddReactor(&counter);
    Db().AddReactor(&counter);
    host::NewDrawing();
    EXPECT_EQ(counter.news, 2) << "added twice, told twice";
    Db().RemoveReactor(&counter);
    host::NewDrawing();
    EXPECT_EQ(counter.news, 2);
    EXPECT_TRUE(Db().Reactors().empty());
}

TEST_F(Database, TheJsonDumpShowsEveryObjectAndTable)
{
    const decObjectId a = AddBlock(1000, 500, 3000);
    const decObjectId b = AddBlock(10, 10, 10);
    Db().SetGlobalVar("DRAWING_SCALE", 500);
    decObject* erased = b.GetObjectA();
    erased->OpenForWrite();
    auto* tag = new decObjectXDataApp("XBUILD_NAME");
    tag->AppendDataString("say \"hi\"");
    erased->AppendAppXData(tag);
    erased->Erase();
    erased->Close();
    const std::string json = host::DumpDrawingJson(Db());
    EXPECT_NE(json.find("{\"id\":1,\"class\":\"QCTestBlock\",\"layer\":1,\"material\":0,\"mesh\":{\"vertices\":8,\"faces\":6},\"bounds\":[[0,0,0],[1000,500,3000]]}"),
              std::string::npos) << json;
    EXPECT_NE(json.find("\"erased\":true"), std::string::npos);
    EXPECT_NE(json.find("\"XBUILD_NAME\":[\"say \\\"hi\\\"\"]"), std::string::npos) << json;
    EXPECT_NE(json.find("\"DRAWING_SCALE\":500"), std::string::npos);
    (void)a;
}

TEST_F(Database, CopiesGetNewIdsAndPointAtEachOther)
{
    const decObjectId a = AddBlock(1000, 500, 3000);
    const decObjectId b = AddBlock(10, 10, 10);
    const decObjectId outside = AddBlock(1, 1, 1);
    auto* first = TestBlock::Cast(decDbEntity::Cast(a.GetObjectA())->GetBaseObject());
    first->OpenForWrite();
    first->m_link = b;
    first->m_links = {b, outside};
    first->Close();
    DbAutoOpen open(1);
    Db().CreateNewEntity(1, new TestLabel("±0.000", GePoint3d(1, 2, 0)));
    const decObjectId label(4);
    GeMatrix3d move;
    move.SetToTranslation(GeVector3d(0, 10000, 0));
    const auto copies = host::CopyEntities(Db(), {a, b, label, decObjectId(999)}, move);
    ASSERT_EQ(copies.size(), 4u);
    EXPECT_EQ(copies[0], decObjectId(5));
    EXPECT_EQ(copies[1], decObjectId(6));
    EXPECT_TRUE(copies[3].IsNull());
    auto* copied = TestBlock::Cast(decDbEntity::Cast(copies[0].GetObjectA())->GetBaseObject());
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(copied->m_link, copies[1]) << "a link inside the copied set follows the copy";
    EXPECT_EQ(copied->m_links, (decObjectIdArray{copies[1], outside})) << "a link outside it stays";
    EXPECT_EQ(first->m_link, b) << "the original is untouched";
    EXPECT_DOUBLE_EQ(decDbEntity::Cast(copies[0].GetObjectA())->GetBoundBox().MinPoint().y, 10000);
    auto* label2 = TestLabel::Cast(copies[2].GetObjectA());
    ASSERT_NE(label2, nullptr);
    EXPECT_DOUBLE_EQ(label2->m_pos.y, 10002);
    EXPECT_EQ(label2->m_text, "±0.000");
}
