// The reactor that warns about objects of versions below 4.0 when a drawing is opened. The
// drawings hold records of the legacy classes written through the drawing format; while the
// module has no reader for them (or, in these tests, has it put aside) the drawing keeps them
// unread, and the check knows them by their stored class names.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include <unistd.h>

#include "DbDatabase.h"
#include "DrawingFile.h"
#include "EventLog.h"
#include "HostSolids.h"
#include "ModuleGlobals.h"
#include "OldModelCheck.h"
#include "PromptOldModelReactor.h"
#include "QuickWindow.h"
#include "Window.h"
#include "ShellTestSupport.h"
#include "WorkingDrawing.h"
#include "decDbForeignObject.h"

namespace {

const char* const kWarning = "[发现旧版建筑、窗口] 提示：图形上有4.0以下旧版本生成的日照建筑或窗口，请使用【旧模型转换】工具升级到新模型！";

// The legacy classes' readers are put aside for the object's life, so their records are kept
// unread, as in a module without them.
class LegacyReadersAside {
public:
    LegacyReadersAside()
    {
        for (const char* name : {"QCQuickBuilding", "QCQuickWindow"}) {
            if (const decObjectClassInfo* info = host::ClassRegistry::Instance().Find(name)) {
                m_aside.push_back(const_cast<decObjectClassInfo*>(info));
                host::ClassRegistry::Instance().Unregister(name);
            }
        }
    }
    ~LegacyReadersAside()
    {
        for (decObjectClassInfo* info : m_aside)
            decObject::RegisterClassA(info);
    }

private:
    std::vector<decObjectClassInfo*> m_aside;
};

// A record of the class as the drawing keeps it when it cannot read it: the base part only.
decDbForeignObject* Kept(const char* className)
{
    StoreFilter record(true);
    record << CString();
    return new decDbForeignObject(className, 1, record.TakeBytes());
}

void AddEntity(decDbEntity* entity)
{
    DbAutoOpen open;
    decObjectId id;
    open.db->CreateNewEntity(0, entity, id);
}

class OldModelReactorTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        EnterModule(0);
    }

    // Opens a drawing file holding a box and a record of each class named; the transcript
    // starts afresh.
    void OpenDrawingWith(const std::vector<const char*>& classNames)
    {
        DbDatabase db;
        db.OpenForWrite();
        decObjectId id;
        db.CreateNewEntity(0, new decDbBox(1, 1, 1), GeMatrix3d(), id);
        for (const char* name : classNames)
            db.CreateNewEntity(0, Kept(name), id);
        db.Close();
        const std::vector<std::uint8_t> bytes = host::EncodeDrawing(db);
        const auto path = std::filesystem::temp_directory_path() /
                          ("lumidrax_shell_" + std::to_string(::getpid()) + ".q3d");
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        host::EventLog::Instance().Clear();
        std::string error;
        ASSERT_TRUE(host::OpenDrawing(path.string(), error)) << error;
        std::filesystem::remove(path);
    }

    int Warnings() const
    {
        const std::string out = Transcript();
        int count = 0;
        for (std::size_t at = out.find(kWarning); at != std::string::npos; at = out.find(kWarning, at + 1))
            ++count;
        return count;
    }

    LegacyReadersAside m_aside;
};

TEST_F(OldModelReactorTest, DrawingsWithLegacyRecordsWarnOnceWithOkOnly)
{
    const struct {
        std::vector<const char*> classes;
        int warnings;  // one box with OK only, or none
    } cases[] = {
        {{"QCQuickBuilding", "QCQuickBuilding"}, 1},
        {{"QCQuickWindow"}, 1},
        {{"QCSomethingElse", "QCQuickBuilding"}, 1},
        {{"QCSomethingElse", "QCQuickBuildings", "QCQuickWindo"}, 0},
        {{}, 0},
    };
    for (const auto& c : cases) {
        OpenDrawingWith(c.classes);
        EXPECT_EQ(HasOldModel(), c.warnings) << c.classes.size();
        EXPECT_EQ(Warnings(), c.warnings) << c.classes.size();
        const std::vector<std::string> boxes = host::EventLog::Instance().Calls("msg_box");
        EXPECT_EQ(boxes, std::vector<std::string>(c.warnings, "msg_box style=48 -> 1"));
    }
}

TEST_F(OldModelReactorTest, TheWorkingDrawingIsTestedNotTheOnePassed)
{
    AddEntity(Kept("QCQuickBuilding"));
    DbDatabase other;
    g_oldModelReactor.OnDocumentOpened(&other);
    EXPECT_EQ(Warnings(), 1);
    host::NewDrawing();
    g_oldModelReactor.OnDocumentOpened(dec::GetWorkingDatabase());
    EXPECT_EQ(Warnings(), 1);
}

// With the legacy classes read by the module, their objects warn as their kept records do,
// and current windows do not.
TEST_F(ShellTest, LegacyObjectsTheModuleReadsWarnToo)
{
    EnterModule(0);
    for (decBuilder* builder : std::vector<decBuilder*>{new CWindow(), new CQuickWindow()}) {
        DbDatabase db;
        db.OpenForWrite();
        decObjectId id;
        db.CreateNewEntity(0, builder, GeMatrix3d(), id);
        db.Close();
        const auto path = std::filesystem::temp_directory_path() /
                          ("lumidrax_shell_read_" + std::to_string(::getpid()) + ".q3d");
        std::string error;
        ASSERT_TRUE(host::WriteDrawingFile(db, path.string(), error)) << error;
        host::EventLog::Instance().Clear();
        ASSERT_TRUE(host::OpenDrawing(path.string(), error)) << error;
        std::filesystem::remove(path);
        const bool legacy = CQuickWindow::Cast(builder) != nullptr;
        EXPECT_EQ(HasOldModel(), legacy ? 1 : 0);
        EXPECT_EQ(Transcript().find(kWarning) != std::string::npos, legacy);
    }
}

TEST_F(OldModelReactorTest, AReactorDetachesItselfWhenDestroyed)
{
    DbDatabase db;
    {
        PromptOldModelReactor reactor;
        reactor.Attach(&db);
        reactor.Attach(&db);
        EXPECT_EQ(db.Reactors().size(), 1u);
    }
    EXPECT_TRUE(db.Reactors().empty());
    // After the module's reactor is detached, opening a drawing shows nothing.
    AddEntity(Kept("QCQuickWindow"));
    g_oldModelReactor.Detach();
    dec::GetWorkingDatabase()->FireDocumentOpened();
    EXPECT_EQ(Warnings(), 0);
}

}  // namespace
