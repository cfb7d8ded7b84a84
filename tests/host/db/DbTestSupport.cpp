#include "DbTestSupport.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "EventLog.h"
#include "Utf8Text.h"

decObject* TestBlock::CreateNewObject() { return new TestBlock(); }
decObjectClassInfo* TestBlock::Desc()
{
    static decObjectClassInfo info{"QCTestBlock", "测试块", "comn", 3, decBuilder::Desc(), &TestBlock::CreateNewObject,
                                   sizeof(TestBlock), {}};
    return &info;
}

decObject* TestLabel::CreateNewObject() { return new TestLabel(); }
decObjectClassInfo* TestLabel::Desc()
{
    static decObjectClassInfo info{"QCTestLabel", "测试标注", "comn", 1, decDbEntity2d::Desc(),
                                   &TestLabel::CreateNewObject, sizeof(TestLabel), {}};
    return &info;
}

decObject* TestGhost::CreateNewObject() { return new TestGhost(); }
decObjectClassInfo* TestGhost::Desc()
{
    static decObjectClassInfo info{"QCTestGhost", "幽灵", "comn", 5, decBuilder::Desc(), &TestGhost::CreateNewObject,
                                   sizeof(TestGhost), {}};
    return &info;
}

namespace {
// Registered from static initialisers, as the module registers its classes.
const bool g_registered = [] {
    decObject::RegisterClassA(TestBlock::Desc());
    decObject::RegisterClassA(TestLabel::Desc());
    return true;
}();

const TPropertyDef kBlockProperties[] = {
    {"常规", "名称", "名称", 0, 4, 0, 0},
    {"常规", "高度（毫米）", "高度", 1, 1, 0, 0},
    {nullptr, nullptr, nullptr, 0, 0, 0, 0},
};
}  // namespace

TestBlock::TestBlock()
{
    (void)g_registered;
    m_outline = {{0, 0, 0}, {1000, 0, 0}, {1000, 500, 0}, {0, 500, 0}};
}

int TestBlock::MakeMesh(decMesh3** out) const
{
    auto* mesh = new decMesh3();
    if (!mesh->CreateExtrude(static_cast<int>(m_outline.size()), m_outline.data(), 1, GeVector3d(0, 0, m_height))) {
        delete mesh;
        return 0;
    }
    *out = mesh;
    return 1;
}

void TestBlock::Serialize(SerializeFilter& f)
{
    decBuilder::Serialize(f);
    // The count came with class version 3: files of older versions have none.
    const bool withCount = !(f.IsFileSerialize() && f.GetClassVersion() < 3);
    if (f.IsStoring()) {
        f << m_height;
        if (withCount) f << m_count;
        f << m_long << m_ulong << m_float << m_double << m_flag << m_label << m_base << m_axis;
        m_link.Serialize(f);
        m_links.Serialize(f);
        f << static_cast<int>(m_outline.size());
        for (const GePoint3d& p : m_outline) f << p;
        f.Write(m_raw, sizeof m_raw);
        return;
    }
    m_seenVersion = f.GetClassVersion();
    f >> m_height;
    if (withCount) f >> m_count;
    f >> m_long >> m_ulong >> m_float >> m_double >> m_flag >> m_label >> m_base >> m_axis;
    m_link.Serialize(f);
    m_links.Serialize(f);
    int n = 0;
    f >> n;
    if (n < 0 || static_cast<std::size_t>(n) > f.BytesLeft() / 24) throw host::RecordError("outline count");
    m_outline.resize(static_cast<std::size_t>(n));
    for (GePoint3d& p : m_outline) f >> p;
    f.Read(m_raw, sizeof m_raw);
}

void TestBlock::OnMapObjectIds(decIdMapper& mapper)
{
    decBuilder::OnMapObjectIds(mapper);
    AssertWriteEnabled(1, 1, 1, 0);
    mapper.MapId(m_link);
    for (decObjectId& id : m_links) mapper.MapId(id);
}

const TPropertyDef* TestBlock::GetObjectPropertyDefine() const { return kBlockProperties; }

void TestBlock::OnPropertyValueGet(int index, prop_data& value)
{
    if (index == 0) value.SetText(m_label);
    if (index == 1) value.SetLong(m_height);
}

int TestBlock::OnPropertyValueChanged(int index, const prop_data& value)
{
    AssertWriteEnabled(1, 1, 1, 0);
    if (index == 0) m_label = value.szValue;
    if (index == 1 && value.lValue > 0) m_height = static_cast<int>(value.lValue);
    return dex::eOk;
}

int TestLabel::OnWorldDraw(decViewFilter& filter)
{
    filter.SetColor(0xFF00FF, 0);
    filter.Text(m_text, m_pos, GeVector3d::kXAxis, GeVector3d::kZAxis, 0.0, m_height, 0.8, 18);
    return dex::eOk;
}

int TestLabel::TransformBy(const GeMatrix3d& tm)
{
    decDbEntity2d::TransformBy(tm);
    m_pos = tm * m_pos;
    return dex::eOk;
}

void TestLabel::Serialize(SerializeFilter& f)
{
    decDbEntity2d::Serialize(f);
    f.Transfer(m_text, m_pos, m_height);
}

void TestGhost::Serialize(SerializeFilter& f)
{
    decBuilder::Serialize(f);
    f.Transfer(m_secret, m_note);
}

void DbTest::SetUp()
{
    host::SetStrictAccess(true);
    host::ResetFaultCount();
    host::NewDrawing();
    host::EventLog::Instance().Clear();
}

void DbTest::TearDown()
{
    host::NewDrawing();
}

decObjectId DbTest::AddBlock(double w, double d, int height, const GeMatrix3d& tm, long material)
{
    auto* block = new TestBlock();
    block->m_outline = {{0, 0, 0}, {w, 0, 0}, {w, d, 0}, {0, d, 0}};
    block->m_height = height;
    decObjectId id;
    Db().OpenForWrite();
    Db().CreateNewEntity(Db().GetTableLayer()->GetCurrentLayerID(), block, tm, id, material);
    Db().Close();
    return id;
}

std::string DbTest::TempPath(const std::string& name) const
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const auto dir = std::filesystem::temp_directory_path() /
                     ("db_tests_" + std::to_string(::getpid()) + "_" + std::string(info->test_suite_name()) + "_" + info->name());
    std::filesystem::create_directories(dir);
    return (dir / name).string();
}

std::vector<std::uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}
