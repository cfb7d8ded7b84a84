// The reactor that warns about objects of versions below 4.0 when a drawing is opened. The
// legacy building class is not in the module yet: a test builder with its persistent name
// stands in for it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include <unistd.h>

#include "DbDatabase.h"
#include "EventLog.h"
#include "HostSolids.h"
#include "ModuleGlobals.h"
#include "OldModelCheck.h"
#include "PromptOldModelReactor.h"
#include "ShellTestSupport.h"
#include "WorkingDrawing.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

const char* const kWarning = "[发现旧版建筑、窗口] 提示：图形上有4.0以下旧版本生成的日照建筑或窗口，请使用【旧模型转换】工具升级到新模型！";

// Stands in for the legacy building of versions below 4.0.
class LegacyBuildingStandIn : public decBuilder {
    DEC_DECLARE_CLASS(LegacyBuildingStandIn)

public:
    int MakeMesh(decMesh3** out) const override
    {
        auto* mesh = new decMesh3();
        mesh->CreateBox(1, 1, 1);
        *out = mesh;
        return 1;
    }
};

decObject* LegacyBuildingStandIn::CreateNewObject()
{
    return new LegacyBuildingStandIn();
}

decObjectClassInfo* LegacyBuildingStandIn::Desc()
{
    static decObjectClassInfo info{"QCQuickBuilding", "旧版建筑", "comn", 1, decBuilder::Desc(),
                                   &LegacyBuildingStandIn::CreateNewObject, sizeof(LegacyBuildingStandIn), {}};
    return &info;
}

void AddSolid(decBuilder* builder)
{
    DbAutoOpen open;
    decObjectId id;
    open.db->CreateNewEntity(0, builder, GeMatrix3d(), id);
}

class OldModelReactorTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        decObject::RegisterClassA(LegacyBuildingStandIn::Desc());
        EnterModule(0);
    }

    // Saves the working drawing and opens it again; the transcript starts afresh.
    void SaveAndOpen()
    {
        const auto path = std::filesystem::temp_directory_path() /
                          ("lumidrax_shell_" + std::to_string(::getpid()) + ".q3d");
        std::string error;
        ASSERT_TRUE(host::SaveDrawing(path.string(), error)) << error;
        host::NewDrawing();
        host::EventLog::Instance().Clear();
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
};

TEST_F(OldModelReactorTest, ADrawingWithAnOldObjectWarnsOnceWithOkOnly)
{
    AddSolid(new decDbBox(1, 1, 1));
    AddSolid(new LegacyBuildingStandIn());
    AddSolid(new LegacyBuildingStandIn());
    EXPECT_EQ(HasOldModel(), 1);
    SaveAndOpen();
    EXPECT_EQ(Warnings(), 1);
    EXPECT_THAT(host::EventLog::Instance().Calls("msg_box"), ElementsAre("msg_box style=48 -> 1"));
}

TEST_F(OldModelReactorTest, ADrawingWithoutOldObjectsShowsNothing)
{
    AddSolid(new decDbBox(1, 1, 1));
    EXPECT_EQ(HasOldModel(), 0);
    SaveAndOpen();
    EXPECT_EQ(Warnings(), 0);
    EXPECT_TRUE(host::EventLog::Instance().Calls("msg_box").empty());
}

TEST_F(OldModelReactorTest, TheWorkingDrawingIsTestedNotTheOnePassed)
{
    AddSolid(new LegacyBuildingStandIn());
    DbDatabase other;
    g_oldModelReactor.OnDocumentOpened(&other);
    EXPECT_EQ(Warnings(), 1);
    host::NewDrawing();
    g_oldModelReactor.OnDocumentOpened(dec::GetWorkingDatabase());
    EXPECT_EQ(Warnings(), 1);
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
    AddSolid(new LegacyBuildingStandIn());
    g_oldModelReactor.Detach();
    dec::GetWorkingDatabase()->FireDocumentOpened();
    EXPECT_EQ(Warnings(), 0);
}

}  // namespace
