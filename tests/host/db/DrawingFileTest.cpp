#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <set>
#include <filesystem>
#include <random>

#include "DbTestSupport.h"
#include "DrawingDump.h"
#include "DrawingFile.h"
#include "EventLog.h"
#include "HostSolids.h"
#include "decDbCurve.h"
#include "decDbForeignObject.h"
#include "decDbTextAndPoint.h"

namespace {

class DrawingFile : public DbTest {
protected:
    // A drawing with every kind of record: registered test classes, host entities, a proxy
    // mesh, layers, materials, variables, groups and extended data.
    void BuildSample()
    {
        DbAutoOpen open(1);
        decLayerTable* layers = Db().GetTableLayer();
        const long building = layers->CreateNewLayer("建筑", 0x00FF00)->GetID();
        const long roofs = layers->CreateLayer("坡屋顶", Q3dColor(255), 25, "Continuous")->GetID();
        layers->SearchLayer("坡屋顶")->SetVisible(0);
        layers->SetCurrentLayerID(building, 1, 1);
        auto* white = new dexMaterialSolidColor();
        white->SetName("建筑");
        white->SetColor(0xFFFFFF);
        white->SetTransparent(0.5f, true);
        Db().GetTableMaterial()->CreateNewMatObj(white, 0);
        auto* brick = new dexMaterialBitmap();
        brick->SetName("砖");
        brick->SetImageFilePath("textures/砖.png");
        Db().GetTableMaterial()->CreateNewMatObj(brick, 0);
        Db().SetGlobalVar("ORV_BUILD_DIM", 3.5);
        Db().SetGlobalVar("DRAWING_SCALE", 500);

        GeMatrix3d tm;
        tm.SetToRotation(0.3, GeVector3d::kZAxis, GePoint3d(10, 20, 0));
        auto* block = new TestBlock();
        block->m_links = {decObjectId(2), decObjectId(3)};
        block->m_link = decObjectId(4);
        decObjectId first, label, line, proxy, extrude;
        Db().CreateNewEntity(building, block, tm, first, white->GetMatId());
        auto* tag = new decObjectXDataApp("XBUILD_NAME");
        tag->AppendDataString("1号楼");
        auto* windows = new decObjectXDataApp("WIN_BELONG_BLD");
        windows->AppendDataLong(1);
        windows->AppendDataString("1号楼-2-3");
        decObject* entity = first.GetObjectA();
        entity->OpenForWrite();
        entity->AppendAppXData(tag);
        entity->AppendAppXData(windows);
        decDbEntity::Cast(entity)->SetEntityColor(Q3dColor(0xACACAC));
        entity->Close();

        Db().CreateNewEntity(building, new TestLabel("±0.000", GePoint3d(5, 6, 7)), label);
        const GePoint3d pts[4] = {{0, 0, 0}, {1000, 0, 0}, {1000, 800, 0}, {0, 800, 0}};
        auto* outline = new decDbPolyline(4, pts, 1);
        outline->SetBulgeAt(1, 0.25);
        Db().CreateNewEntity(building, outline, line);
        decMesh4 soup;
        soup.AppendPolygon(3, pts, 0);
        soup.AppendPolygon(3, pts + 1, 0);
        Db().CreateProxyEntity(roofs, GeMatrix3d(), soup.ConvertToMesh3(), proxy, brick->GetMatId());
        auto* slab = new decDbExtrude();
        slab->SetData(4, pts, 1, GeVector3d(0, 0, 120));
        Db().CreateNewEntity(roofs, slab, GeMatrix3d(), extrude, 0);
        decObject* hidden = extrude.GetObjectA();
        hidden->SetHide(1, 1, 0);
        decDbObjectIdArrayCheck(proxy, extrude);
        Db().CreateNewEntity(building, new decDbText("文字", GePoint3d(1, 1, 0), 250), label);
        Db().CreateNewEntity(building, new decDbCircle3d(GePoint3d(3, 3, 0), GeVector3d(0, 0, 1), 50), label);
        Db().CreateNewEntity(building, new decDbArc(GePoint3d(3, 3, 0), 50, 0.5, 2.5), label);
        Db().CreateNewEntity(building, new decDbPoint(GePoint3d(9, 9, 9)), label);
        decObjectId box, cylinder;
        Db().CreateNewEntity(building, new decDbBox(100, 200, 300), GeMatrix3d(), box, 0);
        Db().CreateNewEntity(building, new decDbCylinder(50, 300), GeMatrix3d(), cylinder, 0);
        Db().CreateNewEntity(building, new decDbCone(50, 300), GeMatrix3d(), cylinder, 0);
        Db().CreateNewEntity(building, new decDbFrustum(50, 20, 300), GeMatrix3d(), cylinder, 0);
        auto* loft = new decDbLoft();
        loft->SetData({fdata{{pts[0], pts[1], pts[2]}, 1001}}, GePoint3dArray(pts, pts + 4), 1001, 4);
        loft->setState(0, 0, 3.1415927);
        Db().CreateNewEntity(roofs, loft, GeMatrix3d(), cylinder, 0);
    }

    void decDbObjectIdArrayCheck(const decObjectId& a, const decObjectId& b)
    {
        Db().MakeGroup(decObjectIdArray{a, decObjectId(), b}, 0);
    }

    // The sample with a ghost object whose class is then forgotten.
    std::vector<std::uint8_t> SampleWithForgottenClass()
    {
        decObject::RegisterClassA(TestGhost::Desc());
        BuildSample();
        {
            DbAutoOpen open(1);
            auto* ghost = new TestGhost();
            ghost->m_secret = 4711;
            decObjectId id;
            Db().CreateNewEntity(1, ghost, GeMatrix3d(), id, 0);
            auto* note = new decObjectXDataApp("build_group");
            note->AppendDataString("甲组");
            decObject* entity = id.GetObjectA();
            entity->OpenForWrite();
            entity->AppendAppXData(note);
            entity->Close();
        }
        const auto bytes = host::EncodeDrawing(Db());
        host::ClassRegistry::Instance().Unregister("QCTestGhost");
        return bytes;
    }
};

}  // namespace

TEST_F(DrawingFile, ADrawingSavedLoadedAndSavedAgainGivesTheSameBytes)
{
    BuildSample();
    const std::string path = TempPath("sample.q3d");
    std::string error;
    ASSERT_TRUE(host::SaveDrawing(path, error)) << error;
    const auto first = ReadBytes(path);

    host::NewDrawing();
    ASSERT_TRUE(host::OpenDrawing(path, error)) << error;
    const std::string again = TempPath("again.q3d");
    ASSERT_TRUE(host::SaveDrawing(again, error)) << error;
    EXPECT_EQ(ReadBytes(again), first);
}

TEST_F(DrawingFile, EveryFieldAndTableComesBack)
{
    BuildSample();
    const auto bytes = host::EncodeDrawing(Db());
    DbDatabase loaded;
    std::string error;
    ASSERT_TRUE(host::DecodeDrawing(bytes, loaded, error)) << error;

    const decLayer* roofs = loaded.Layers().SearchLayer("坡屋顶");
    ASSERT_NE(roofs, nullptr);
    EXPECT_EQ(roofs->GetColor(), 255u);
    EXPECT_EQ(roofs->GetStyle(), 25);
    EXPECT_EQ(roofs->IsVisible(), 0);
    EXPECT_EQ(loaded.Layers().GetCurrentLayerID(), loaded.Layers().SearchLayer("建筑")->GetID());
    EXPECT_EQ(loaded.Materials().GetIdByName("砖"), 2);
    EXPECT_FLOAT_EQ(loaded.Materials().GetById(1)->GetTransparent(), 0.5f);
    EXPECT_STREQ(static_cast<const dexMaterialBitmap*>(loaded.Materials().GetById(2))->GetImageFilePath(), "textures/砖.png");
    double scale = 0;
    EXPECT_TRUE(loaded.GetGlobalVar("DRAWING_SCALE", scale));
    EXPECT_EQ(scale, 500);
    ASSERT_EQ(loaded.Groups().size(), 1u);
    EXPECT_EQ(loaded.Groups()[0].members, (std::vector<decObjectId>{decObjectId(4), decObjectId(5)}));

    auto* entity = decDbEntity3d::Cast(loaded.GetObjectById(decObjectId(1)));
    ASSERT_NE(entity, nullptr);
    const auto* block = TestBlock::Cast(entity->GetBaseObject());
    ASSERT_NE(block, nullptr);
    const TestBlock expected;
    EXPECT_EQ(block->m_seenVersion, 3u);
    EXPECT_EQ(block->m_count, expected.m_count);
    EXPECT_EQ(block->m_long, expected.m_long);
    EXPECT_EQ(block->m_ulong, expected.m_ulong);
    EXPECT_EQ(block->m_float, expected.m_float);
    EXPECT_EQ(block->m_double, expected.m_double);
    EXPECT_EQ(block->m_flag, expected.m_flag);
    EXPECT_EQ(block->m_label, expected.m_label);
    EXPECT_TRUE(block->m_base == expected.m_base);
    EXPECT_TRUE(block->m_axis == expected.m_axis);
    EXPECT_EQ(block->m_link, decObjectId(4));
    EXPECT_EQ(block->m_links, (decObjectIdArray{decObjectId(2), decObjectId(3)}));
    EXPECT_EQ(std::memcmp(block->m_raw, expected.m_raw, sizeof expected.m_raw), 0);
    EXPECT_TRUE(entity->GetTM().IsEqual(decDbEntity3d::Cast(Db().GetObjectById(decObjectId(1)))->GetTM(), 0));
    EXPECT_EQ(entity->GetEntityColor().GetColor(), 0xACACACu);
    EXPECT_EQ(entity->GetMaterialId(), 1);
    const decObjectXDataApp* windows = entity->FindAppXDataByName("WIN_BELONG_BLD");
    ASSERT_NE(windows, nullptr);
    EXPECT_EQ(windows->GetAt(0)->GetLong(), 1);
    EXPECT_STREQ(windows->GetAt(1)->GetString(), "1号楼-2-3");
    EXPECT_EQ(loaded.GetObjectById(decObjectId(5))->IsHidden(), 1);
    EXPECT_EQ(decDbEntity3d::Cast(loaded.GetObjectById(decObjectId(4)))->GetMesh()->GetCountPolygon(), 2);
    EXPECT_DOUBLE_EQ(decDbPolyline::Cast(loaded.GetObjectById(decObjectId(3)))->GetBulgeAt(1), 0.25);
    EXPECT_EQ(loaded.NextHandle(), Db().NextHandle());
    EXPECT_EQ(host::DumpDrawingJson(loaded), host::DumpDrawingJson(Db())) << "meshes, bounds and tables alike";
}

TEST_F(DrawingFile, AnUnknownClassIsKeptAndWrittenBackByteForByte)
{
    const auto bytes = SampleWithForgottenClass();
    DbDatabase loaded;
    std::string error;
    ASSERT_TRUE(host::DecodeDrawing(bytes, loaded, error)) << error;
    auto* foreign = decDbForeignObject::Cast(loaded.GetObjectById(decObjectId(15)));
    ASSERT_NE(foreign, nullptr);
    EXPECT_EQ(foreign->GetForeignClassName(), "QCTestGhost");
    EXPECT_EQ(foreign->GetForeignClassVersion(), 5u);
    ASSERT_NE(foreign->FindAppXDataByName("build_group"), nullptr);
    EXPECT_EQ(host::EncodeDrawing(loaded), bytes);

    // Once the class is known again the object reads as it was.
    decObject::RegisterClassA(TestGhost::Desc());
    DbDatabase known;
    ASSERT_TRUE(host::DecodeDrawing(bytes, known, error)) << error;
    auto* entity = decDbEntity3d::Cast(known.GetObjectById(decObjectId(15)));
    ASSERT_NE(entity, nullptr);
    EXPECT_EQ(TestGhost::Cast(entity->GetBaseObject())->m_secret, 4711);
    host::ClassRegistry::Instance().Unregister("QCTestGhost");
}

TEST_F(DrawingFile, OpeningFiresTheReactorAfterTheDrawingIsInPlace)
{
    BuildSample();
    const std::string path = TempPath("opened.q3d");
    std::string error;
    ASSERT_TRUE(host::SaveDrawing(path, error)) << error;
    host::NewDrawing();
    struct Watcher : DbDatabaseReactor {
        void OnDocumentOpened(DbDatabase* db) override
        {
            ++calls;
            EntityArray ents;
            seenEntities = db->GetAllEnts(ents, 0);
            working = db == dec::GetWorkingDatabase();
        }
        int calls = 0;
        int seenEntities = 0;
        bool working = false;
    } watcher;
    Db().AddReactor(&watcher);
    ASSERT_TRUE(host::OpenDrawing(path, error)) << error;
    Db().RemoveReactor(&watcher);
    EXPECT_EQ(watcher.calls, 1);
    EXPECT_EQ(watcher.seenEntities, 14);
    EXPECT_TRUE(watcher.working);
}

TEST_F(DrawingFile, ARefusedFileNamesItselfAndLeavesTheDrawingAlone)
{
    const decObjectId mine = AddBlock(10, 20, 30);
    const std::string path = TempPath("foreign.q3d");
    WriteBytes(path, {'P', 'K', 3, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    std::string error;
    EXPECT_FALSE(host::OpenDrawing(path, error));
    EXPECT_NE(error.find(path), std::string::npos) << error;
    EXPECT_NE(error.find("not a drawing file"), std::string::npos) << error;
    EXPECT_NE(mine.GetObjectA(), nullptr);

    EXPECT_FALSE(host::OpenDrawing(TempPath("missing.q3d"), error));
    EXPECT_NE(error.find("missing.q3d"), std::string::npos);
    EXPECT_NE(mine.GetObjectA(), nullptr);
}

TEST_F(DrawingFile, EveryTruncationIsRefused)
{
    BuildSample();
    const auto bytes = host::EncodeDrawing(Db());
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        DbDatabase loaded;
        std::string error;
        ASSERT_FALSE(host::DecodeDrawing(std::span(bytes).first(n), loaded, error)) << "accepted " << n << " bytes";
        ASSERT_FALSE(error.empty());
    }
}

TEST_F(DrawingFile, ByteFlipsAreRefusedOrReadSafely)
{
    BuildSample();
    const auto bytes = SampleWithForgottenClass();
    std::mt19937 random(20261207);
    int refusedWithChecksum = 0, readWithoutChecksum = 0;
    for (int trial = 0; trial < 600; ++trial) {
        auto damaged = bytes;
        const int flips = 1 + static_cast<int>(random() % 3);
        for (int k = 0; k < flips; ++k)
            damaged[random() % damaged.size()] ^= static_cast<std::uint8_t>(1u << (random() % 8));
        if (damaged == bytes) continue;
        {
            DbDatabase loaded;
            std::string error;
            refusedWithChecksum += host::DecodeDrawing(damaged, loaded, error) ? 0 : 1;
        }
        // Without the checksum the inner checks must hold on their own; whatever loads must be
        // a drawing the host can walk.
        DbDatabase loaded;
        std::string error;
        if (host::DecodeDrawing(damaged, loaded, error, false)) {
            ++readWithoutChecksum;
            for (decDbEntity* entity : loaded.AllObjects()) {
                decViewFilter filter;
                entity->Draw(filter);
                entity->GetBoundBox();
                GeCurveList list;
                if (auto* curve = decDbCurve::Cast(entity)) curve->Explode(list);
            }
            host::EncodeDrawing(loaded);
        } else {
            EXPECT_FALSE(error.empty());
        }
    }
    EXPECT_GT(refusedWithChecksum, 590);
    EXPECT_GT(readWithoutChecksum, 0) << "some flips land in values and still read";
}

TEST_F(DrawingFile, AFailedSaveKeepsThePreviousFile)
{
    AddBlock(10, 10, 10);
    const std::string path = TempPath("kept.q3d");
    std::string error;
    ASSERT_TRUE(host::SaveDrawing(path, error)) << error;
    const auto before = ReadBytes(path);
    AddBlock(20, 20, 20);
    const std::string blocked = TempPath("no/such/dir/kept.q3d");
    EXPECT_FALSE(host::SaveDrawing(blocked, error));
    EXPECT_EQ(error, "cannot save drawing \"" + blocked + "\": No such file or directory");
    // A directory in the way of the rename: the old file stays and no temporary is left.
    const std::string dirTarget = TempPath("a_directory");
    std::filesystem::create_directories(dirTarget + "/inside");
    EXPECT_FALSE(host::SaveDrawing(dirTarget, error));
    EXPECT_EQ(error, "cannot save drawing \"" + dirTarget + "\": Is a directory");
    EXPECT_EQ(ReadBytes(path), before);
    int leftovers = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(path).parent_path()))
        leftovers += entry.path().string().find(".tmp") != std::string::npos ? 1 : 0;
    EXPECT_EQ(leftovers, 0);
}

TEST_F(DrawingFile, OlderClassVersionsAreReportedToTheRecordReader)
{
    TestBlock written;
    written.m_height = 1234;
    const auto record = host::StoreObjectRecord(written);
    TestBlock read;
    std::string error;
    ASSERT_TRUE(host::LoadObjectRecord(read, record, 3, error)) << error;
    EXPECT_EQ(read.m_seenVersion, 3u);
    EXPECT_EQ(read.m_height, 1234);
    EXPECT_FALSE(host::LoadObjectRecord(read, record, 2, error)) << "a version 2 reader leaves the count unread";
    auto longer = record;
    longer.push_back(0);
    EXPECT_FALSE(host::LoadObjectRecord(read, longer, 3, error));
    EXPECT_FALSE(host::LoadObjectRecord(read, std::span(record).first(record.size() - 1), 3, error));
}

TEST_F(DrawingFile, ADrawingCanBeWrittenAsAnOlderClassVersionWouldHave)
{
    const decObjectId id = AddBlock(10, 10, 10);
    auto* block = TestBlock::Cast(decDbEntity::Cast(id.GetObjectA())->GetBaseObject());
    block->OpenForWrite();
    block->m_count = 99;
    block->Close();
    const std::string path = TempPath("old.q3d");
    std::string error;
    ASSERT_TRUE(host::WriteDrawingFile(Db(), path, error, {{"QCTestBlock", 2}})) << error;
    const auto older = ReadBytes(path);
    ASSERT_TRUE(host::OpenDrawing(path, error)) << error;
    const auto* loaded = TestBlock::Cast(decDbEntity::Cast(id.GetObjectA())->GetBaseObject());
    EXPECT_EQ(loaded->m_seenVersion, 2u);
    EXPECT_EQ(loaded->m_count, TestBlock().m_count) << "version 2 had no count";
    EXPECT_LT(older.size(), host::EncodeDrawing(Db()).size());
}

TEST_F(DrawingFile, MemoryStreamsAreNotFileStreams)
{
    MemorySerializeFilter memory;
    EXPECT_EQ(memory.IsFileSerialize(), 0);
    EXPECT_EQ(memory.IsStoring(), 1);
    memory << CString("窗") << 7 << true;
    LoadFilter back(memory.Bytes());
    CString text;
    int seven = 0;
    bool yes = false;
    back >> text >> seven >> yes;
    EXPECT_EQ(text, "窗");
    EXPECT_EQ(seven, 7);
    EXPECT_TRUE(yes);
    EXPECT_THROW(back >> seven, host::RecordError);
}

TEST_F(DrawingFile, StreamItemsKeepTheirWidthsAndRefuseNonsense)
{
    MemorySerializeFilter out;
    out << 5000000000L << -5000000000L << 4294967296UL << -1 << 2.5f;
    EXPECT_EQ(out.Bytes().size(), 5u * 4u) << "long and unsigned long are 32 bits wide, as on the original platform";
    LoadFilter in(out.Bytes());
    long big = 0, small = 0;
    unsigned long wide = 0;
    int minusOne = 0;
    float quarter = 0;
    in >> big >> small >> wide >> minusOne >> quarter;
    EXPECT_EQ(big, 2147483647L);
    EXPECT_EQ(small, -2147483648L);
    EXPECT_EQ(wide, 4294967295UL);
    EXPECT_EQ(minusOne, -1);
    EXPECT_EQ(quarter, 2.5f);

    const std::uint8_t two = 2;
    LoadFilter notABool(std::span(&two, 1));
    bool flag = false;
    EXPECT_THROW(notABool >> flag, host::RecordError);

    // A text that claims more bytes than follow is refused before anything is allocated.
    const std::uint8_t claim[4] = {0xFF, 0xFF, 0xFF, 0x7F};
    LoadFilter tooLong(std::span(claim, 4));
    CString text;
    EXPECT_THROW(tooLong >> text, host::RecordError);
    decObjectIdArray ids;
    LoadFilter tooMany(std::span(claim, 4));
    EXPECT_THROW(ids.Serialize(tooMany), host::RecordError);
}

// Random blocks given numbers that are not finite in random places (fields of their record,
// their placement) and put in random groups: the save names exactly those and leaves the
// drawing as it was. Erased (as entities or through their builders) they leave their groups at
// once, a group left empty is dropped and a new group takes no erased object, so the groups are
// what the save, which now succeeds, keeps; the save drops them for good and their numbers are
// not given again. A material and a drawing variable are named as such.
TEST_F(DrawingFile, ASaveNamesEveryObjectHoldingANumberThatIsNotFiniteAndSavesWithTheirGroupsOnceTheyAreErased)
{
    const double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
    const double spoilt[] = {inf, -inf, nan};
    const std::string path = TempPath("round.q3d");
    std::string error;
    std::mt19937 random(49);
    for (int round = 0; round < 40; ++round) {
        host::NewDrawing();
        const int count = 3 + static_cast<int>(random() % 40);
        std::set<int> bad;
        decObjectIdArray all;
        for (int i = 1; i <= count; ++i) {
            all.push_back(AddBlock(10 + i, 20, 30));
            if (random() % 3 != 0) continue;
            bad.insert(i);
            auto* entity = decDbEntity::Cast(all.back().GetObjectA());
            auto* block = TestBlock::Cast(entity->GetBaseObject());
            const double value = spoilt[random() % 3];
            GeMatrix3d tm;
            tm(random() % 3, 3) = value;
            entity->OpenForWrite();
            switch (random() % 4) {
            case 0: block->m_float = static_cast<float>(value); break;
            case 1: block->m_double = value; break;
            case 2: block->m_outline[random() % 4].y = value; break;
            default: entity->SetLocalTM(tm);
            }
            entity->Close();
        }
        for (int g = 0; g < 5; ++g) {
            decObjectIdArray members;
            for (const decObjectId& id : all)
                if (random() % static_cast<unsigned>(count) < 3) members.push_back(id);
            DbAutoOpen(1).db->MakeGroup(members, g);
        }
        const std::string drawing = host::DumpDrawingJson(Db());
        ASSERT_EQ(host::SaveDrawing(path, error), bad.empty()) << error;
        EXPECT_EQ(host::DumpDrawingJson(Db()), drawing);
        // In the order they were made, the first ten by name.
        for (int i = 1; i <= count && !bad.empty(); ++i) {
            const bool named = error.find(" " + std::to_string(i) + " (QCTestBlock)") != std::string::npos;
            EXPECT_EQ(named, bad.count(i) && std::distance(bad.begin(), bad.find(i)) < 10) << i << ": " << error;
        }
        const std::string more = " and " + std::to_string(bad.size() - 10) + " more hold";
        EXPECT_TRUE(bad.size() <= 10 || error.find(more) != std::string::npos) << error;
        for (int i : bad) {
            decObject* object = all[static_cast<std::size_t>(i - 1)].GetObjectA();
            if (random() % 2 == 0) object = decDbEntity::Cast(object)->GetBaseObject();
            object->OpenForWrite();
            object->Erase();
            object->Close();
        }
        DbAutoOpen(1).db->MakeGroup(all, 9);
        for (const DrawingGroup& group : Db().Groups()) {
            EXPECT_FALSE(group.members.empty());
            for (const decObjectId& id : group.members) EXPECT_EQ(bad.count(static_cast<int>(id.Handle())), 0u);
        }
        ASSERT_TRUE(host::SaveDrawing(path, error)) << error;
        DbDatabase reopened;
        ASSERT_TRUE(host::ReadDrawingFile(path, reopened, error)) << error;
        EXPECT_EQ(host::DumpDrawingJson(reopened), host::DumpDrawingJson(Db()));
        EXPECT_EQ(reopened.NextHandle(), static_cast<std::uint64_t>(count) + 1) << "numbers of erased objects stay used";
        for (int i : bad) EXPECT_EQ(all[static_cast<std::size_t>(i - 1)].GetObjectA(), nullptr) << "dropped for good";
    }
    auto* glass = new dexMaterialSolidColor();
    glass->SetName("玻璃");
    glass->SetTransparent(std::numeric_limits<float>::quiet_NaN(), true);
    Db().GetTableMaterial()->CreateNewMatObj(glass, 0);
    EXPECT_FALSE(host::SaveDrawing(path, error));
    EXPECT_EQ(error, "cannot save drawing \"" + path + "\": material 1 (玻璃) holds a number that is not finite");
    glass->SetTransparent(0.5f, true);
    Db().SetGlobalVar("ORV_BUILD_DIM", -inf);
    EXPECT_FALSE(host::SaveDrawing(path, error));
    EXPECT_EQ(error, "cannot save drawing \"" + path + "\": drawing variable ORV_BUILD_DIM holds a number that is not finite");
}
