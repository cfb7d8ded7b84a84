// Saves and exports replace their file whole: written through a symbolic link, keeping the
// file's permissions; a failure names the system's reason and leaves the previous file and no
// temporary file behind (a file-size limit included, which must not end the process).
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>

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
        fs::remove_all(Folder());
        fs::create_directories(Folder() / "real");
        AddBlock(10, 10, 10);
    }
    void TearDown() override
    {
        fs::remove_all(Folder());
        DbTest::TearDown();
    }
    fs::path Folder() const { return fs::path(TempPath("x")).parent_path(); }
    std::string In(const std::string& name) const { return (Folder() / name).string(); }
    int Leftovers() const
    {
        int found = 0;
        for (const auto& entry : fs::recursive_directory_iterator(Folder()))
            found += entry.path().filename().string().find(".tmp") != std::string::npos ? 1 : 0;
        return found;
    }
};

unsigned Mode(const std::string& path)
{
    struct stat info {};
    stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

TEST_F(FileReplace, AFileSizeLimitFailsTheWriteInsteadOfEndingTheProcess)
{
    WriteBytes(In("kept.q3d"), kOld);
    WriteBytes(In("kept.obj"), kOld);
    std::string error, exportError;
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limit = saved;
    limit.rlim_cur = 64;
    setrlimit(RLIMIT_FSIZE, &limit);
    const bool savedOk = host::WriteDrawingFile(Db(), In("kept.q3d"), error);
    const bool exported = host::ExportObj(Db(), In("kept.obj"), exportError);
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_FALSE(savedOk);
    EXPECT_THAT(error, HasSubstr("cannot save drawing \"" + In("kept.q3d") + "\": File too large"));
    EXPECT_FALSE(exported);
    EXPECT_THAT(exportError, HasSubstr("File too large"));
    EXPECT_EQ(ReadBytes(In("kept.q3d")), kOld);
    EXPECT_EQ(ReadBytes(In("kept.obj")), kOld);
    EXPECT_EQ(Leftovers(), 0);
}

TEST_F(FileReplace, ALinkIsWrittenThroughAndPermissionsAreKept)
{
    WriteBytes(In("real/site.q3d"), kOld);
    fs::permissions(In("real/site.q3d"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink("real/site.q3d", In("link.q3d"));
    std::string error;
    ASSERT_TRUE(host::WriteDrawingFile(Db(), In("link.q3d"), error)) << error;
    EXPECT_TRUE(fs::is_symlink(In("link.q3d")));
    EXPECT_NE(ReadBytes(In("real/site.q3d")), kOld);
    EXPECT_EQ(Mode(In("real/site.q3d")), 0640u);

    // A link to a file not there yet makes that file, with the mode the umask allows.
    fs::create_symlink("real/new.obj", In("new.obj"));
    ASSERT_TRUE(host::ExportObj(Db(), In("new.obj"), error)) << error;
    EXPECT_TRUE(fs::is_symlink(In("new.obj")));
    const mode_t mask = umask(0);
    umask(mask);
    EXPECT_EQ(Mode(In("real/new.obj")), 0666u & ~mask);

    // Links that only lead to each other name no file.
    fs::create_symlink("loop2", In("loop1"));
    fs::create_symlink("loop1", In("loop2"));
    EXPECT_FALSE(host::WriteDrawingFile(Db(), In("loop1"), error));
    EXPECT_THAT(error, HasSubstr("Too many levels of symbolic links"));
    EXPECT_EQ(Leftovers(), 0);
}

// A target that exists but is no regular file once its links are followed: a save or an
// export over it is refused and the node stays what it was (a fifo stands for every such node).
TEST_F(FileReplace, ATargetThatIsNoRegularFileIsRefusedAndStaysAsItIs)
{
    const auto fifo = [](const std::string& path) { ASSERT_EQ(mkfifo(path.c_str(), 0644), 0); };
    const struct {
        const char* name;
        const char* reason;
        std::function<void(const std::string&)> make;  // the target at the path
        fs::file_type type;                            // which it must still have afterwards
    } kTargets[] = {
        {"fifo", host::kNotRegularFile, fifo, fs::file_type::fifo},
        {"link to a fifo", host::kNotRegularFile,
         [&](const std::string& path) {
             fifo(path + ".fifo");
             fs::create_symlink(fs::path(path + ".fifo").filename(), path);
         },
         fs::file_type::fifo},
        {"folder", "Is a directory", [](const std::string& path) { fs::create_directory(path); },
         fs::file_type::directory},
    };
    const std::function<bool(const std::string&, std::string&)> kWriters[] = {
        [&](const std::string& path, std::string& error) { return host::WriteDrawingFile(Db(), path, error); },
        [&](const std::string& path, std::string& error) { return host::ExportObj(Db(), path, error); },
    };
    int made = 0;
    for (const auto& target : kTargets)
        for (const auto& write : kWriters) {
            const std::string path = In("t" + std::to_string(made++));
            target.make(path);
            std::string error;
            EXPECT_FALSE(write(path, error)) << target.name;
            EXPECT_THAT(error, HasSubstr("\"" + path + "\": " + target.reason)) << target.name;
            EXPECT_EQ(fs::status(path).type(), target.type) << target.name;
        }
    EXPECT_EQ(Leftovers(), 0);
}

}  // namespace
