// Saves and exports replace their file whole: written through a symbolic link, keeping the
// file's permissions; a failure names the system's reason and leaves the previous file and no
// temporary file behind (a file-size limit included, which must not end the process).
#include <gmock/gmock.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <optional>

#include "DbTestSupport.h"
#include "DrawingFile.h"
#include "FileReplace.h"
#include "ObjExport.h"
#include "SvgExport.h"

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

// The limit lets the material file through but not the meshes: the export replaces neither.
TEST_F(FileReplace, AFileSizeLimitFailsTheWriteInsteadOfEndingTheProcess)
{
    std::string error, exportError;
    ASSERT_TRUE(host::ExportObj(Db(), In("real/kept.obj"), error)) << error;
    WriteBytes(In("kept.q3d"), kOld);
    WriteBytes(In("kept.obj"), kOld);
    WriteBytes(In("kept.mtl"), kOld);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limit = saved;
    limit.rlim_cur = ReadBytes(In("real/kept.mtl")).size() + 1;
    ASSERT_LT(limit.rlim_cur, ReadBytes(In("real/kept.obj")).size());
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
    EXPECT_EQ(ReadBytes(In("kept.mtl")), kOld);
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
// export over it is refused, the node stays what it was (a fifo stands for every such node)
// and the export leaves no material file of its own beside it.
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
            EXPECT_FALSE(fs::exists(path + ".mtl")) << target.name << ": a material file beside it";
        }
    EXPECT_EQ(Leftovers(), 0);
}

using Writer = std::function<bool(const std::string&, std::string&)>;

// What a write made by a user who owns none of the test's files and is in none of their groups
// reports ("" when written): made here unless the tests run as root (who may write anything),
// else in a child that has become user and group 65534. Nothing when it could not.
std::optional<std::string> WriteAsAnotherUser(const Writer& writeFile, const std::string& path)
{
    std::string error;
    if (geteuid() != 0) return writeFile(path, error) ? "" : error;
    int ends[2];
    if (pipe(ends) != 0) return std::nullopt;
    const pid_t child = fork();
    if (child == 0) {
        const bool other = setgroups(0, nullptr) == 0 && setgid(65534) == 0 && setuid(65534) == 0;
        const std::string report = other ? "=" + (writeFile(path, error) ? "" : error) : "";
        _exit(::write(ends[1], report.data(), report.size()) == static_cast<ssize_t>(report.size()) ? 0 : 1);
    }
    close(ends[1]);
    std::string report;
    char buffer[256];
    for (ssize_t n; (n = read(ends[0], buffer, sizeof buffer)) > 0;) report.append(buffer, static_cast<std::size_t>(n));
    close(ends[0]);
    waitpid(child, nullptr, 0);
    return report.empty() ? std::nullopt : std::optional(report.substr(1));
}

// A drawing, a picture or an OBJ with its material file written over files the user may not
// write (read-only, or another user's in a folder everyone may write, where the rename would
// replace them): refused, every file byte for byte as it was. Through a link to a file the user
// may write, each file gets the bytes a write of a new file gives.
TEST_F(FileReplace, AFileTheUserMayNotWriteIsRefusedAndKeptByteForByte)
{
    using fs::perms;
    fs::permissions(Folder(), perms::all);
    fs::permissions(Folder() / "real", perms::all);
    fs::create_directories(In("new"));
    const struct {
        const char* name;
        perms mode;  // of every file the write replaces
        bool link;   // the path is a link to the file
        bool refused;
        bool rootOnly = false;  // another user's file: only root makes one
    } kTargets[] = {
        {"mode 444", perms{0444}, false, true},
        {"link to a mode 444 file", perms{0444}, true, true},
        {"another user's file", perms{0644}, false, true, true},
        {"link to a file anyone may write", perms{0666}, true, false},
    };
    const struct {
        const char* extension;
        Writer write;
        const char* refusal;
    } kWriters[] = {
        {".q3d", [&](const std::string& p, std::string& e) { return host::WriteDrawingFile(Db(), p, e); }, "cannot save drawing"},
        {".obj", [&](const std::string& p, std::string& e) { return host::ExportObj(Db(), p, e); }, "cannot write"},
        {".svg", [&](const std::string& p, std::string& e) { return host::ExportSvg(Db(), p, host::PictureView::Plan, 64, e); },
         "cannot write"},
    };
    int made = 0;
    for (const auto& target : kTargets)
        for (const auto& writer : kWriters) {
            if (target.rootOnly && geteuid() != 0) continue;
            const std::string name = "t" + std::to_string(made++), file = name + writer.extension;
            SCOPED_TRACE(file + " over " + target.name);
            std::string error;
            ASSERT_TRUE(writer.write(In("new/" + file), error)) << error;
            // Each file the write replaces, with the file a new write gives for it.
            std::vector<std::pair<std::string, std::string>> replaced = {{In(target.link ? "real/" + file : file), In("new/" + file)}};
            if (std::string(writer.extension) == ".obj") replaced.push_back({In(name + ".mtl"), In("new/" + name + ".mtl")});
            for (const auto& [at, fresh] : replaced) {
                WriteBytes(at, kOld);
                fs::permissions(at, target.mode);
            }
            if (target.link) fs::create_symlink("real/" + file, In(file));
            const std::optional<std::string> reported = WriteAsAnotherUser(writer.write, In(file));
            if (!reported) GTEST_SKIP() << "no other user to write as";
            // An OBJ's refusal names whichever of its two files it met first.
            const std::string refusal = std::string(writer.refusal) + " \"" + In(name);
            EXPECT_EQ(reported->starts_with(refusal) && reported->ends_with(std::string("\": ") + host::kReadOnlyFile),
                      target.refused) << *reported;
            for (const auto& [at, fresh] : replaced) EXPECT_EQ(ReadBytes(at), target.refused ? kOld : ReadBytes(fresh)) << at;
        }
    EXPECT_EQ(Leftovers(), 0);
}

}  // namespace
