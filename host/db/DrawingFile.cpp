#include "DrawingFile.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <string_view>
#include <system_error>

#include "DbDatabase.h"
#include "EventLog.h"
#include "FileReplace.h"
#include "HostClasses.h"
#include "SerializeFilter.h"
#include "Utf8Text.h"
#include "decBuilder.h"
#include "decDbForeignObject.h"

namespace host {
namespace {

constexpr std::array<std::uint8_t, 8> kMagic = {'Q', '3', 'D', 'D', 'R', 'A', 'W', 0x1A};
constexpr std::size_t kMatrixBytes = 16 * 8;

enum ObjectFlags : std::uint8_t { kHidden = 1, kOwnColour = 2 };
enum XDataType : std::uint8_t { kXString = 1, kXLong = 2 };

using Tag = std::array<char, 4>;
constexpr Tag kClasses = {'C', 'L', 'A', 'S'};
constexpr Tag kLayers = {'L', 'A', 'Y', 'R'};
constexpr Tag kMaterials = {'M', 'A', 'T', 'L'};
constexpr Tag kVariables = {'V', 'A', 'R', 'S'};
constexpr Tag kGroups = {'G', 'R', 'P', 'S'};
constexpr Tag kObjects = {'O', 'B', 'J', 'S'};
constexpr Tag kEnd = {'E', 'N', 'D', ' '};

// The running state of a CRC-32 over bytes given in pieces; Crc32Value gives the checksum.
std::uint32_t Crc32Update(std::uint32_t state, std::span<const std::uint8_t> bytes)
{
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    for (std::uint8_t b : bytes) state = table[(state ^ b) & 0xFF] ^ (state >> 8);
    return state;
}

constexpr std::uint32_t kCrc32Start = 0xFFFFFFFFu;
std::uint32_t Crc32Value(std::uint32_t state) { return state ^ 0xFFFFFFFFu; }

std::uint32_t Crc32(std::span<const std::uint8_t> bytes) { return Crc32Value(Crc32Update(kCrc32Start, bytes)); }

std::string TagText(const Tag& tag) { return std::string(tag.begin(), tag.end()); }

// ---------------------------------------------------------------- writing

// The class a stored entity is written under, and the object whose Serialize writes it.
struct Persistent {
    std::string className;
    unsigned version;
    decDbObject* object;
};

Persistent PersistentOf(decDbEntity* entity)
{
    if (auto* foreign = decDbForeignObject::Cast(entity))
        return {foreign->GetForeignClassName(), foreign->GetForeignClassVersion(), foreign};
    if (auto* solid = decDbEntity3d::Cast(entity); solid && solid->GetBuilder()) {
        decBuilder* builder = solid->GetBuilder();
        return {builder->IsA()->className, builder->IsA()->version, builder};
    }
    return {entity->IsA()->className, entity->IsA()->version, entity};
}

void WriteTag(StoreFilter& out, const Tag& tag) { out.Write(tag.data(), 4); }

void WriteSection(StoreFilter& out, const Tag& tag, const StoreFilter& payload)
{
    WriteTag(out, tag);
    out << static_cast<unsigned>(payload.Bytes().size());
    if (!payload.Bytes().empty()) out.Write(payload.Bytes().data(), static_cast<unsigned>(payload.Bytes().size()));
}

void WriteMatrix(SerializeFilter& f, const GeMatrix3d& m)
{
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) f << m(r, c);
}

void WriteXData(SerializeFilter& f, const decObject& object)
{
    f << static_cast<unsigned>(object.XDataApps().size());
    for (const auto& app : object.XDataApps()) {
        f << app->GetAppName() << static_cast<unsigned>(app->GetCount());
        for (const decObjectXData& item : app->Items()) {
            if (item.IsTypeString()) {
                const std::uint8_t type = kXString;
                f.Write(&type, 1);
                f << item.GetString();
            } else {
                const std::uint8_t type = kXLong;
                f.Write(&type, 1);
                f << item.GetLong();
            }
        }
    }
}

// Writes an object's entry: its number, class, layer, material, placement, flags, colour,
// extended data and record. RecordError when one of its numbers is not finite.
void WriteObject(SerializeFilter& out, decDbEntity& entity, const Persistent& p, unsigned classIndex,
                 const GeMatrix3d& placement)
{
    out.WriteU64(entity.GetObjectId().Handle());
    out << classIndex << static_cast<int>(entity.GetLayerId()) << static_cast<int>(entity.GetMaterialId());
    WriteMatrix(out, placement);
    const std::uint8_t flags =
        static_cast<std::uint8_t>((entity.IsHidden() ? kHidden : 0) | (entity.HasEntityColor() ? kOwnColour : 0));
    out.Write(&flags, 1);
    out << static_cast<unsigned>(entity.GetEntityColor().GetColor());
    WriteXData(out, entity);
    StoreFilter record(true);
    record.SetClassVersion(p.version);
    p.object->Serialize(record);
    out << static_cast<unsigned>(record.Bytes().size());
    if (!record.Bytes().empty()) out.Write(record.Bytes().data(), static_cast<unsigned>(record.Bytes().size()));
}

// Runs write; a number in it that is not finite is refused as the named item's.
template <class Write>
void WriteNamed(const std::string& what, Write write)
{
    try {
        write();
    } catch (const RecordError&) {
        throw RecordError(what + " holds a number that is not finite");
    }
}

std::string ObjectName(std::uint64_t handle, const std::string& className)
{
    return "object " + std::to_string(handle) + " (" + className + ")";
}

// "object 3 (QCOrvRoof) holds", "objects 3 (QCOrvRoof) and 5 (decDbArc) hold", naming at
// most the first ten.
std::string NamesHold(const std::vector<std::string>& names)
{
    constexpr std::size_t kNamed = 10;
    if (names.size() == 1) return names.front() + " holds";
    std::string text = "objects";
    const std::size_t named = std::min(names.size(), kNamed);
    for (std::size_t i = 0; i < named; ++i) {
        const std::string name = names[i].substr(std::string("object ").size());
        text += (i == 0 ? " " : i + 1 == named && named == names.size() ? " and " : ", ") + name;
    }
    if (named < names.size()) text += " and " + std::to_string(names.size() - named) + " more";
    return text + " hold";
}

// ---------------------------------------------------------------- reading

// Where the reader takes a drawing's bytes from, a piece at a time (the header, then each
// section whole), keeping the checksum of all it has handed out.
class ByteSource {
public:
    virtual ~ByteSource() = default;

    // The next count bytes, valid until the next call; RecordError when fewer are left.
    std::span<const std::uint8_t> Next(std::size_t count)
    {
        if (count > Left())
            throw RecordError("the file ends " + std::to_string(count - Left()) + " bytes early");
        const std::span<const std::uint8_t> piece = Fetch(count);
        m_crc = Crc32Update(m_crc, piece);
        m_position += count;
        return piece;
    }
    std::uint64_t Left() const { return m_size - m_position; }
    std::uint64_t Position() const { return m_position; }
    // The checksum of every byte handed out so far.
    std::uint32_t Checksum() const { return Crc32Value(m_crc); }

protected:
    explicit ByteSource(std::uint64_t size) : m_size(size) {}
    // Exactly count bytes from the current position (count never exceeds what is left).
    virtual std::span<const std::uint8_t> Fetch(std::size_t count) = 0;

private:
    std::uint64_t m_size;
    std::uint64_t m_position = 0;
    std::uint32_t m_crc = kCrc32Start;
};

// Bytes already in memory: pieces are views of them.
class MemorySource : public ByteSource {
public:
    explicit MemorySource(std::span<const std::uint8_t> bytes) : ByteSource(bytes.size()), m_bytes(bytes) {}

private:
    std::span<const std::uint8_t> Fetch(std::size_t count) override
    {
        return m_bytes.subspan(static_cast<std::size_t>(Position()), count);
    }

    std::span<const std::uint8_t> m_bytes;
};

// A file read a piece at a time: no more of it is held than the piece asked for, so a file
// that is no drawing is refused after its first bytes, whatever its size, and a section too
// large for the memory there is refuses the file (std::bad_alloc) instead of ending the run.
class FileSource : public ByteSource {
public:
    FileSource(std::ifstream& in, std::uint64_t size) : ByteSource(size), m_in(in) {}

private:
    struct Free {
        void operator()(std::uint8_t* p) const { std::free(p); }
    };

    std::span<const std::uint8_t> Fetch(std::size_t count) override
    {
        m_piece.reset();
        m_piece.reset(static_cast<std::uint8_t*>(std::malloc(std::max<std::size_t>(count, 1))));
        if (!m_piece) throw std::bad_alloc();
        m_in.read(reinterpret_cast<char*>(m_piece.get()), static_cast<std::streamsize>(count));
        if (static_cast<std::size_t>(m_in.gcount()) != count)
            throw RecordError("reading failed after byte " + std::to_string(Position() + m_in.gcount()));
        return {m_piece.get(), count};
    }

    std::ifstream& m_in;
    std::unique_ptr<std::uint8_t, Free> m_piece;
};

class Reader {
public:
    Reader(ByteSource& source, DbDatabase& into) : m_source(source), m_db(into) {}

    void Read(bool verifyChecksum)
    {
        ReadHeader();
        ReadSection(kClasses, [this](LoadFilter& f) { ReadClasses(f); });
        ReadSection(kLayers, [this](LoadFilter& f) { ReadLayers(f); });
        ReadSection(kMaterials, [this](LoadFilter& f) { ReadMaterials(f); });
        ReadSection(kVariables, [this](LoadFilter& f) { ReadVariables(f); });
        ReadSection(kGroups, [this](LoadFilter& f) { ReadGroups(f); });
        ReadSection(kObjects, [this](LoadFilter& f) { ReadObjects(f); });
        const std::uint32_t expected = m_source.Checksum();
        ReadSection(kEnd, [&](LoadFilter& f) {
            unsigned crc = 0;
            f >> crc;
            if (verifyChecksum && crc != expected)
                throw RecordError("the checksum does not match: the file is damaged");
        });
        if (m_source.Left() != 0)
            throw RecordError(std::to_string(m_source.Left()) + " bytes follow the end of the drawing");
        for (DrawingGroup& group : m_groups) {
            for (const decObjectId& id : group.members)
                if (!m_db.GetObjectById(id))
                    throw RecordError("a group names object " + std::to_string(id.Handle()) + ", which the file does not hold");
            m_db.RestoreGroup(std::move(group));
        }
    }

private:
    struct ClassEntry {
        std::string name;
        unsigned version;
    };

    // A name or text of the host's own records: UTF-8, and without NUL characters, since the
    // host hands them on as C strings (a NUL would cut it short and two could become one).
    static std::string Text(SerializeFilter& f, const char* what)
    {
        CString text;
        f >> text;
        if (!IsValidUtf8(text.str())) throw RecordError(std::string(what) + " is not UTF-8 text");
        if (text.str().find('\0') != std::string::npos) throw RecordError(std::string(what) + " holds a NUL character");
        return text.str();
    }

    void ReadHeader()
    {
        if (m_source.Left() < kMagic.size() ||
            std::memcmp(m_source.Next(kMagic.size()).data(), kMagic.data(), kMagic.size()) != 0)
            throw RecordError("it is not a drawing file of this program");
        LoadFilter f(m_source.Next(8), true);
        unsigned version = 0, flags = 0;
        f >> version >> flags;
        if (version == 0 || version > kDrawingFormatVersion)
            throw RecordError("its format version " + std::to_string(version) + " is not one this program reads (up to " +
                              std::to_string(kDrawingFormatVersion) + ")");
        if (flags != 0) throw RecordError("its header flags " + std::to_string(flags) + " are unknown");
    }

    template <class Body>
    void ReadSection(const Tag& tag, Body body)
    {
        const std::uint64_t at = m_source.Position();
        LoadFilter head(m_source.Next(8), true);
        Tag found{};
        head.Read(found.data(), 4);
        if (found != tag)
            throw RecordError("section " + TagText(tag) + " expected at byte " + std::to_string(at));
        unsigned length = 0;
        head >> length;
        if (length > m_source.Left())
            throw RecordError("section " + TagText(tag) + " claims " + std::to_string(length) + " bytes, " +
                              std::to_string(m_source.Left()) + " are left");
        LoadFilter section(m_source.Next(length), true);
        try {
            body(section);
        } catch (const RecordError& e) {
            throw RecordError(std::string(e.what()) + " (section " + TagText(tag) + ")");
        }
        if (section.BytesLeft() != 0)
            throw RecordError("section " + TagText(tag) + " has " + std::to_string(section.BytesLeft()) + " unread bytes");
    }

    void ReadClasses(LoadFilter& f)
    {
        const std::uint32_t n = f.ReadCount(8);
        std::set<std::string> seen;
        for (std::uint32_t i = 0; i < n; ++i) {
            ClassEntry entry{Text(f, "a class name"), 0};
            f >> entry.version;
            if (entry.name.empty() || !seen.insert(entry.name).second)
                throw RecordError("the class table repeats or leaves out a name");
            m_classes.push_back(std::move(entry));
        }
    }

    void ReadLayers(LoadFilter& f)
    {
        decLayerTable& table = *m_db.GetTableLayer();
        table.Clear();
        int current = 0;
        f >> current;
        const std::uint32_t n = f.ReadCount(18);
        for (std::uint32_t i = 0; i < n; ++i) {
            int id = 0, style = 0;
            unsigned colour = 0;
            bool visible = true;
            f >> id;
            std::string name = Text(f, "a layer name");
            f >> colour >> style;
            std::string lineType = Text(f, "a line type");
            f >> visible;
            if (id <= 0 || table.GetLayer(id) || name.empty() || table.SearchLayer(name.c_str()))
                throw RecordError("layer " + std::to_string(id) + " is repeated, unnamed or numbered below 1");
            table.Restore(id, std::move(name), colour & 0xFFFFFFu, style, std::move(lineType), visible);
        }
        if (!table.GetLayer(current)) throw RecordError("the current layer " + std::to_string(current) + " does not exist");
        table.RestoreCurrent(current);
    }

    void ReadMaterials(LoadFilter& f)
    {
        dexMaterialTable& table = *m_db.GetTableMaterial();
        table.Clear();
        const std::uint32_t n = f.ReadCount(18);
        for (std::uint32_t i = 0; i < n; ++i) {
            int id = 0;
            std::uint8_t kind = 0;
            f >> id;
            f.Read(&kind, 1);
            std::unique_ptr<dexMaterialObj> material;
            if (kind == dexMaterialObj::kSolidColor)
                material = std::make_unique<dexMaterialSolidColor>();
            else if (kind == dexMaterialObj::kBitmap)
                material = std::make_unique<dexMaterialBitmap>();
            else
                throw RecordError("material " + std::to_string(id) + " is of unknown kind " + std::to_string(kind));
            material->SetName(Text(f, "a material name").c_str());
            unsigned colour = 0;
            float transparency = 0;
            bool flag = false;
            f >> colour >> transparency >> flag;
            material->SetColor(colour);
            material->SetTransparent(transparency, flag);
            if (kind == dexMaterialObj::kBitmap)
                static_cast<dexMaterialBitmap&>(*material).SetImageFilePath(Text(f, "an image path").c_str());
            if (id <= 0 || table.GetById(id)) throw RecordError("material " + std::to_string(id) + " is repeated or numbered below 1");
            table.Restore(std::move(material), id);
        }
    }

    void ReadVariables(LoadFilter& f)
    {
        const std::uint32_t n = f.ReadCount(12);
        for (std::uint32_t i = 0; i < n; ++i) {
            std::string name = Text(f, "a variable name");
            double value = 0;
            f >> value;
            double existing = 0;
            if (name.empty() || m_db.GetGlobalVar(name.c_str(), existing))
                throw RecordError("a drawing variable is repeated or unnamed");
            m_db.SetGlobalVar(name.c_str(), value);
        }
    }

    void ReadGroups(LoadFilter& f)
    {
        const std::uint32_t n = f.ReadCount(8);
        for (std::uint32_t i = 0; i < n; ++i) {
            DrawingGroup group;
            f >> group.flags;
            const std::uint32_t m = f.ReadCount(8);
            for (std::uint32_t k = 0; k < m; ++k) group.members.emplace_back(f.ReadU64());
            if (group.members.empty()) throw RecordError("a group has no member");
            m_groups.push_back(std::move(group));
        }
    }

    void ReadObjects(LoadFilter& f)
    {
        const std::uint64_t nextHandle = f.ReadU64();
        const std::uint32_t n = f.ReadCount(8 + 4 + 4 + 4 + kMatrixBytes + 1 + 4 + 4 + 4);
        for (std::uint32_t i = 0; i < n; ++i) ReadObject(f);
        if (nextHandle < m_db.NextHandle())
            throw RecordError("the next object number " + std::to_string(nextHandle) + " is already in use");
        m_db.RestoreNextHandle(nextHandle);
    }

    void ReadObject(LoadFilter& f)
    {
        const std::uint64_t handle = f.ReadU64();
        const std::string where = "object " + std::to_string(handle);
        unsigned classIndex = 0;
        int layer = 0, material = 0;
        f >> classIndex >> layer >> material;
        if (classIndex >= m_classes.size()) throw RecordError(where + " names class " + std::to_string(classIndex) + " of " + std::to_string(m_classes.size()));
        const ClassEntry& cls = m_classes[classIndex];
        GeMatrix3d tm;
        try {
            for (int r = 0; r < 4; ++r)
                for (int c = 0; c < 4; ++c) f >> tm(r, c);
        } catch (const RecordError& e) {
            throw RecordError(where + " (" + cls.name + "), its placement: " + e.what());
        }
        std::uint8_t flags = 0;
        unsigned colour = 0;
        f.Read(&flags, 1);
        f >> colour;
        if (flags & ~(kHidden | kOwnColour)) throw RecordError(where + " has unknown flags");
        if (!m_db.Layers().GetLayer(layer)) throw RecordError(where + " is on layer " + std::to_string(layer) + ", which does not exist");
        if (material != 0 && !m_db.Materials().GetById(material))
            throw RecordError(where + " has material " + std::to_string(material) + ", which does not exist");
        std::vector<std::unique_ptr<decObjectXDataApp>> xdata = ReadXData(f);
        const std::uint32_t length = f.ReadCount(1);
        const std::span<const std::uint8_t> record = f.Take(length);

        std::unique_ptr<decDbEntity> entity = MakeEntity(cls, record, tm, where);
        entity->SetLayerId(layer);
        entity->SetMaterialId(material);
        entity->SetEntityColorWord(colour & 0xFFFFFFu, (flags & kOwnColour) != 0);
        if (flags & kHidden) entity->SetHide(1, 0, 0);
        for (auto& app : xdata) entity->AppendAppXData(app.release());
        if (!m_db.RestoreEntity(std::move(entity), handle))
            throw RecordError(where + " is numbered 0 or appears twice");
    }

    std::vector<std::unique_ptr<decObjectXDataApp>> ReadXData(LoadFilter& f)
    {
        std::vector<std::unique_ptr<decObjectXDataApp>> apps(f.ReadCount(8));
        for (auto& app : apps) {
            app = std::make_unique<decObjectXDataApp>(Text(f, "an application name").c_str());
            const std::uint32_t items = f.ReadCount(5);
            for (std::uint32_t k = 0; k < items; ++k) {
                std::uint8_t type = 0;
                f.Read(&type, 1);
                if (type == kXString) {
                    app->AppendDataString(Text(f, "an extended-data text").c_str());
                } else if (type == kXLong) {
                    long value = 0;
                    f >> value;
                    app->AppendDataLong(value);
                } else {
                    throw RecordError("an extended-data item is of unknown type " + std::to_string(type));
                }
            }
        }
        return apps;
    }

    // Makes the entity of a record: through the class's factory and its Serialize, or an
    // opaque object that keeps the bytes when the class is unknown here.
    std::unique_ptr<decDbEntity> MakeEntity(const ClassEntry& cls, std::span<const std::uint8_t> record,
                                            const GeMatrix3d& tm, const std::string& where)
    {
        const decObjectClassInfo* info = ClassRegistry::Instance().Find(cls.name);
        if (!info) {
            EventLog::Instance().Call("unknown class kept as it is: " + cls.name);
            auto foreign = std::make_unique<decDbForeignObject>(cls.name, cls.version,
                                                                std::vector<std::uint8_t>(record.begin(), record.end()));
            foreign->SetLocalTM(tm);
            return foreign;
        }
        if (!info->factory) throw RecordError(where + ": class " + cls.name + " cannot be made from a file");
        std::unique_ptr<decObject> made(info->factory());
        if (!made) throw RecordError(where + ": class " + cls.name + " made no object");
        auto* object = dynamic_cast<decDbObject*>(made.get());
        if (!object || !(made->IsKindOf(decBuilder::Desc()) || made->IsKindOf(decDbEntity::Desc())))
            throw RecordError(where + ": class " + cls.name + " is not a drawing entity");

        LoadFilter payload(record, true);
        payload.SetClassVersion(cls.version);
        try {
            object->Serialize(payload);
        } catch (const RecordError& e) {
            throw RecordError(where + " (" + cls.name + "): " + e.what());
        }
        if (payload.BytesLeft() != 0)
            throw RecordError(where + " (" + cls.name + ") leaves " + std::to_string(payload.BytesLeft()) + " bytes of its record unread");

        if (auto* builder = decBuilder::Cast(object)) {
            made.release();
            return std::make_unique<decDbEntity3d>(builder, tm);
        }
        auto* entity = static_cast<decDbEntity*>(object);
        made.release();
        std::unique_ptr<decDbEntity> owned(entity);
        owned->SetLocalTM(tm);
        return owned;
    }

    ByteSource& m_source;
    DbDatabase& m_db;
    std::vector<ClassEntry> m_classes;
    std::vector<DrawingGroup> m_groups;
};

}  // namespace

std::vector<std::uint8_t> EncodeDrawing(const DbDatabase& db, const ClassVersions& versions)
{
    RegisterHostClasses();
    std::vector<decDbEntity*> live;
    for (decDbEntity* entity : db.AllObjects())
        if (!entity->IsErased()) live.push_back(entity);

    // Classes in the order objects first use them.
    std::vector<Persistent> persistent;
    std::vector<std::pair<std::string, unsigned>> classes;
    std::map<std::string, unsigned> classIndex;
    for (decDbEntity* entity : live) {
        persistent.push_back(PersistentOf(entity));
        Persistent& p = persistent.back();
        if (const auto it = versions.find(p.className); it != versions.end()) p.version = it->second;
        if (classIndex.try_emplace(p.className, static_cast<unsigned>(classes.size())).second)
            classes.emplace_back(p.className, p.version);
    }

    StoreFilter out(true);
    out.Write(kMagic.data(), static_cast<unsigned>(kMagic.size()));
    out << kDrawingFormatVersion << 0u;

    StoreFilter section(true);
    section << static_cast<unsigned>(classes.size());
    for (const auto& [name, version] : classes) section << name.c_str() << version;
    WriteSection(out, kClasses, section);

    section = StoreFilter(true);
    section << static_cast<int>(db.Layers().GetCurrentLayerID()) << static_cast<unsigned>(db.Layers().GetCount());
    for (const auto& layer : db.Layers().Layers())
        section << static_cast<int>(layer->GetID()) << layer->GetName() << static_cast<unsigned>(layer->GetColor())
                << layer->GetStyle() << layer->GetLineType() << (layer->IsVisible() != 0);
    WriteSection(out, kLayers, section);

    section = StoreFilter(true);
    section << static_cast<unsigned>(db.Materials().GetCount());
    for (const auto& material : db.Materials().Materials()) {
        const std::uint8_t kind = static_cast<std::uint8_t>(material->GetKind());
        section << static_cast<int>(material->GetMatId());
        section.Write(&kind, 1);
        section << material->GetName() << static_cast<unsigned>(material->GetColor());
        WriteNamed("material " + std::to_string(material->GetMatId()) + " (" + material->GetName() + ")",
                   [&] { section << material->GetTransparent(); });
        section << material->GetTransparentFlag();
        if (material->GetKind() == dexMaterialObj::kBitmap)
            section << static_cast<const dexMaterialBitmap&>(*material).GetImageFilePath();
    }
    WriteSection(out, kMaterials, section);

    section = StoreFilter(true);
    section << static_cast<unsigned>(db.GlobalVars().size());
    for (const auto& [name, value] : db.GlobalVars())
        // Named captures: clang before 16 cannot capture structured bindings (the fuzz build).
        WriteNamed("drawing variable " + name, [&, &n = name, &v = value] { section << n.c_str() << v; });
    WriteSection(out, kVariables, section);

    section = StoreFilter(true);
    section << static_cast<unsigned>(db.Groups().size());
    for (const DrawingGroup& group : db.Groups()) {
        section << group.flags << static_cast<unsigned>(group.members.size());
        for (const decObjectId& id : group.members) section.WriteU64(id.Handle());
    }
    WriteSection(out, kGroups, section);

    section = StoreFilter(true);
    section.WriteU64(db.NextHandle());
    section << static_cast<unsigned>(live.size());
    // Every object is tried, so the refusal names all that cannot be stored at once.
    std::vector<std::string> unstorable;
    for (std::size_t i = 0; i < live.size(); ++i) {
        const Persistent& p = persistent[i];
        try {
            WriteObject(section, *live[i], p, classIndex[p.className], live[i]->GetLocalTM());
        } catch (const RecordError&) {
            unstorable.push_back(ObjectName(live[i]->GetObjectId().Handle(), p.className));
        }
    }
    if (!unstorable.empty())
        throw RecordError(NamesHold(unstorable) + " a number that is not finite (erase or mend " +
                          (unstorable.size() == 1 ? "it" : "them") + " and save again)");
    WriteSection(out, kObjects, section);

    const unsigned crc = Crc32(out.Bytes());
    section = StoreFilter(true);
    section << crc;
    WriteSection(out, kEnd, section);
    return out.TakeBytes();
}

namespace {

bool Decode(ByteSource& source, DbDatabase& into, std::string& error, bool verifyChecksum)
{
    RegisterHostClasses();
    try {
        Reader(source, into).Read(verifyChecksum);
        return true;
    } catch (const RecordError& e) {
        error = e.what();
    } catch (const std::bad_alloc&) {
        error = "there is not enough memory to read it";
    } catch (const std::exception& e) {
        error = std::string("a record could not be read: ") + e.what();
    }
    return false;
}

}  // namespace

bool DecodeDrawing(std::span<const std::uint8_t> bytes, DbDatabase& into, std::string& error, bool verifyChecksum)
{
    MemorySource source(bytes);
    return Decode(source, into, error, verifyChecksum);
}

bool WriteDrawingFile(DbDatabase& db, const std::string& path, std::string& error, const ClassVersions& versions)
{
    std::vector<std::uint8_t> bytes;
    std::string reason;
    try {
        bytes = EncodeDrawing(db, versions);
    } catch (const std::exception& e) {
        reason = e.what();
    }
    if (!reason.empty() || !ReplaceFile(path, bytes, reason)) {
        error = "cannot save drawing \"" + path + "\": " + reason;
        return false;
    }
    EventLog::Instance().Call("save " + path);
    db.PurgeErased();
    const auto reactors = db.Reactors();
    for (DbDatabaseReactor* reactor : reactors) reactor->OnDocumentSaved(&db);
    return true;
}

bool ReadDrawingFile(const std::string& path, DbDatabase& into, std::string& error)
{
    namespace fs = std::filesystem;
    const auto refuse = [&](const std::string& fault) {
        error = "cannot open drawing \"" + path + "\": " + fault;
        return false;
    };
    std::error_code ec;
    if (fs::is_directory(path, ec)) return refuse(std::strerror(EISDIR));
    const auto size = fs::file_size(path, ec);
    if (ec) return refuse(ec.message());
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) return refuse(errno != 0 ? std::strerror(errno) : "reading failed");
    FileSource source(in, size);
    std::string fault;
    if (!Decode(source, into, fault, true)) return refuse(fault);
    return true;
}

namespace {

bool IsDrawingFile(const std::string& path)
{
    std::error_code ec;
    // Only a regular file is read: opening a FIFO would wait for a writer.
    if (!std::filesystem::is_regular_file(path, ec)) return false;
    std::ifstream in(path, std::ios::binary);
    std::array<char, kMagic.size()> head{};
    return in.read(head.data(), head.size()) && std::memcmp(head.data(), kMagic.data(), kMagic.size()) == 0;
}

}  // namespace

bool NoDrawingAmong(std::span<const TextFile> files, std::string& error)
{
    for (const TextFile& file : files) {
        if (!IsDrawingFile(file.path)) continue;
        error = "cannot write \"" + file.path +
                "\": it is a drawing of this program, which an export does not replace (save FILE saves the drawing)";
        return false;
    }
    return true;
}

bool CanBeStored(decDbEntity& entity)
{
    return CanBeStored(entity, entity.GetLocalTM());
}

bool CanBeStored(decDbEntity& entity, const GeMatrix3d& placement)
{
    StoreFilter scratch(true);
    try {
        WriteObject(scratch, entity, PersistentOf(&entity), 0, placement);
        return true;
    } catch (const RecordError&) {
        return false;
    }
}

std::string StoredObjectName(decDbEntity& entity)
{
    return ObjectName(entity.GetObjectId().Handle(), PersistentOf(&entity).className);
}

std::vector<std::uint8_t> StoreObjectRecord(decDbObject& object)
{
    StoreFilter record(true);
    record.SetClassVersion(object.IsA()->version);
    object.Serialize(record);
    return record.TakeBytes();
}

bool LoadObjectRecord(decDbObject& object, std::span<const std::uint8_t> record, unsigned classVersion, std::string& error)
{
    LoadFilter payload(record, true);
    payload.SetClassVersion(classVersion);
    try {
        object.Serialize(payload);
    } catch (const RecordError& e) {
        error = e.what();
        return false;
    }
    if (payload.BytesLeft() != 0) {
        error = std::to_string(payload.BytesLeft()) + " bytes of the record are left unread";
        return false;
    }
    return true;
}

}  // namespace host
