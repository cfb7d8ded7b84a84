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

using ::testing::AllOf;
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

// The result and message of a write made by a user who owns none of the test's files and is
// in none of their groups: here when the tests do not run as root (root may write anything),
// else in a child process that has become user and group 65534. Nothing when the child could
// not become that user.
std::optional<std::pair<bool, std::string>> WriteAsAnotherUser(const Writer& writeFile, const std::string& path)
{
    std::string error;
    if (geteuid() != 0) {
        const bool written = writeFile(path, error);
        return std::pair{written, error};
    }
    constexpr gid_t kOther = 65534;
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return std::nullopt;
    const pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        std::string report = "-";
        if (setgroups(0, nullptr) == 0 && setgid(kOther) == 0 && setuid(kOther) == 0)
            report = (writeFile(path, error) ? "1" : "0") + error;
        const bool sent = ::write(pipeEnds[1], report.data(), report.size()) == static_cast<ssize_t>(report.size());
        _exit(sent ? 0 : 1);
    }
    close(pipeEnds[1]);
    std::string report;
    char buffer[256];
    for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;) report.append(buffer, static_cast<std::size_t>(n));
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (report.empty() || report[0] == '-') return std::nullopt;
    return std::pair{report[0] == '1', report.substr(1)};
}

// A drawing, a picture or an OBJ with its material file written over files the user may not
// write (read-only, or another user's in a folder everyone may write, where the rename would
// replace them): refused with the reason, every file byte for byte as it was. Through a link
// to a file the user may write, the file gets the same bytes a write of a new file gives.
TEST_F(FileReplace, AFileTheUserMayNotWriteIsRefusedAndKeptByteForByte)
{
    fs::permissions(Folder(), fs::perms::all);
    fs::permissions(Folder() / "real", fs::perms::all);
    const bool root = geteuid() == 0;
    using fs::perms;
    const auto mode = [](perms p) { return [p](const std::string& path) { fs::permissions(path, p); }; };
    const perms readable = perms::owner_read | perms::group_read | perms::others_read;
    const struct {
        const char* name;
        std::function<void(const std::string&)> protect;  // applied to every file the write replaces
        bool link;                                         // the path is a link to the file
        bool refused;
        bool needsRoot = false;                            // another user's file needs root to make
    } kTargets[] = {
        {"mode 444", mode(readable), false, true},
        {"link to a mode 444 file", mode(readable), true, true},
        {"another user's file", mode(readable | perms::owner_write), false, true, true},
        {"link to a file everyone may write", mode(readable | perms::owner_write | perms::group_write | perms::others_write),
         true, false},
    };
    const struct {
        const char* name;
        const char* extension;
        Writer write;
        const char* message;  // the start of a refusal
    } kWriters[] = {
        {"save", ".q3d", [&](const std::string& p, std::string& e) { return host::WriteDrawingFile(Db(), p, e); },
         "cannot save drawing \""},
        {"export obj", ".obj", [&](const std::string& p, std::string& e) { return host::ExportObj(Db(), p, e); },
         "cannot write \""},
        {"export svg", ".svg",
         [&](const std::string& p, std::string& e) { return host::ExportSvg(Db(), p, host::PictureView::Plan, 64, e); },
         "cannot write \""},
    };
    fs::create_directories(In("new"));
    int made = 0;
    for (const auto& target : kTargets)
        for (const auto& writer : kWriters) {
            if (target.needsRoot && !root) continue;  // no other user's file can be made
            SCOPED_TRACE(std::string(writer.name) + " over " + target.name);
            const std::string name = "t" + std::to_string(made++), file = name + writer.extension;
            // The bytes a write of a new file gives, under the same name in a folder of its own.
            std::string error;
            ASSERT_TRUE(writer.write(In("new/" + file), error)) << error;
            // The files the write replaces, by the one it writes to and the new one to match.
            std::vector<std::pair<std::string, std::string>> replaced = {
                {In(target.link ? "real/" + file : file), In("new/" + file)}};
            if (std::string(writer.extension) == ".obj") replaced.push_back({In(name + ".mtl"), In("new/" + name + ".mtl")});
            for (const auto& [at, fresh] : replaced) {
                WriteBytes(at, kOld);
                target.protect(at);
            }
            if (target.link) fs::create_symlink("real/" + file, In(file));
            const auto result = WriteAsAnotherUser(writer.write, In(file));
            if (!result) GTEST_SKIP() << "no other user to write as";
            EXPECT_EQ(result->first, !target.refused) << result->second;
            // An OBJ's refusal names whichever of its two files it met first.
            if (target.refused) {
                EXPECT_THAT(result->second,
                            AllOf(HasSubstr(writer.message + In(name)), HasSubstr(std::string("\": ") + host::kReadOnlyFile)));
            }
            for (const auto& [at, fresh] : replaced)
                EXPECT_EQ(ReadBytes(at), target.refused ? kOld : ReadBytes(fresh)) << at;
            EXPECT_EQ(fs::is_symlink(In(file)), target.link);
        }
    EXPECT_EQ(Leftovers(), 0);
}

}  // namespace
