// Saves and exports replace their file whole: what lands is all of it, where it goes through a
// symbolic link the link stays, the file keeps its permissions, and a failure names the
// system's reason and leaves the previous file and no temporary file behind.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "DbTestSupport.h"
#include "DrawingFile.h"
#include "FileReplace.h"
#include "ObjExport.h"

using ::testing::HasSubstr;

namespace {

namespace fs = std::filesystem;

const std::vector<std::uint8_t> kOld = {'o', 'l', 'd'};

class FileReplace : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        m_folder = fs::path(TempPath("x")).parent_path();
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        AddBlock(10, 10, 10);
    }
    void TearDown() override
    {
        fs::remove_all(m_folder);
        DbTest::TearDown();
    }

    std::string In(const std::string& name) const { return (m_folder / name).string(); }

    int Leftovers() const
    {
        int found = 0;
        for (const auto& entry : fs::recursive_directory_iterator(m_folder))
            found += entry.path().filename().string().find(".tmp") != std::string::npos ? 1 : 0;
        return found;
    }

    fs::path m_folder;
};

// The permission bits of a file.
unsigned Mode(const std::string& path)
{
    struct stat info {};
    stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

// Writes past this many bytes fail while the object lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_saved); }

private:
    rlimit m_saved{};
};

TEST_F(FileReplace, FailedSavesNameTheReasonAndLeaveNothingBehind)
{
    struct Case {
        const char* what;
        std::function<std::string()> target;  // prepares the folder, gives the path saved to
        const char* reason;
    };
    const Case cases[] = {
        {"a missing folder", [&] { return In("no/such/dir/a.q3d"); }, "No such file or directory"},
        {"a folder in the way",
         [&] {
             fs::create_directories(In("folder/inside"));
             return In("folder");
         },
         "Is a directory"},
        {"a loop of links",
         [&] {
             fs::create_symlink("loop2", In("loop1"));
             fs::create_symlink("loop1", In("loop2"));
             return In("loop1");
         },
         "Too many levels of symbolic links"},
    };
    for (const Case& c : cases) {
        const std::string path = c.target();
        std::string error;
        EXPECT_FALSE(host::WriteDrawingFile(Db(), path, error)) << c.what;
        EXPECT_THAT(error, HasSubstr("cannot save drawing \"" + path + "\": " + c.reason)) << c.what;
        EXPECT_EQ(Leftovers(), 0) << c.what;
    }
}

TEST_F(FileReplace, AFileSizeLimitFailsTheWriteInsteadOfEndingTheProcess)
{
    const std::string drawing = In("kept.q3d");
    const std::string obj = In("kept.obj");
    WriteBytes(drawing, kOld);
    WriteBytes(obj, kOld);
    std::string error, exportError;
    bool saved = true, exported = true;
    {
        FileSizeLimit limit(64);
        saved = host::WriteDrawingFile(Db(), drawing, error);
        exported = host::ExportObj(Db(), obj, exportError);
    }
    EXPECT_FALSE(saved);
    EXPECT_THAT(error, HasSubstr("File too large"));
    EXPECT_FALSE(exported);
    EXPECT_THAT(exportError, HasSubstr("File too large"));
    EXPECT_EQ(ReadBytes(drawing), kOld);
    EXPECT_EQ(ReadBytes(obj), kOld);
    EXPECT_EQ(Leftovers(), 0);
}

TEST_F(FileReplace, ALinkIsWrittenThroughAndPermissionsAreKept)
{
    fs::create_directories(In("real"));
    const std::string real = In("real/site.q3d");
    WriteBytes(real, kOld);
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink("real/site.q3d", In("link.q3d"));
    std::string error;
    ASSERT_TRUE(host::WriteDrawingFile(Db(), In("link.q3d"), error)) << error;
    EXPECT_TRUE(fs::is_symlink(In("link.q3d")));
    EXPECT_NE(ReadBytes(real), kOld);
    EXPECT_EQ(Mode(real), 0640u);
    EXPECT_EQ(Leftovers(), 0);

    // A link to a file not there yet makes that file, with the mode the umask allows.
    fs::create_symlink("real/new.obj", In("new.obj"));
    ASSERT_TRUE(host::ExportObj(Db(), In("new.obj"), error)) << error;
    EXPECT_TRUE(fs::is_symlink(In("new.obj")));
    EXPECT_TRUE(fs::is_regular_file(In("real/new.obj")));
    const mode_t mask = umask(0);
    umask(mask);
    EXPECT_EQ(Mode(In("real/new.obj")), 0666u & ~mask);
    EXPECT_TRUE(fs::is_regular_file(In("new.mtl")));
}

}  // namespace
