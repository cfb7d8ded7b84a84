#include "FileReplace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <random>

namespace host {
namespace {

namespace fs = std::filesystem;

// The file a path finally names: symbolic links followed (a link to a file not there yet
// names that file). Gives the path itself when it is no link.
fs::path FinalTarget(fs::path path, std::string& reason)
{
    // As many links as the system itself follows before it gives up.
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(path, ec))) return path;
        const fs::path next = fs::read_symlink(path, ec);
        if (ec) {
            reason = ec.message();
            return {};
        }
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    reason = std::strerror(ELOOP);
    return {};
}

// Ignores SIGXFSZ for its lifetime, so a write beyond the file-size limit fails with EFBIG.
class FileSizeSignalIgnored {
public:
    FileSizeSignalIgnored()
    {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        sigemptyset(&ignore.sa_mask);
        m_saved = sigaction(SIGXFSZ, &ignore, &m_previous) == 0;
    }
    ~FileSizeSignalIgnored()
    {
        if (m_saved) sigaction(SIGXFSZ, &m_previous, nullptr);
    }
    FileSizeSignalIgnored(const FileSizeSignalIgnored&) = delete;
    FileSizeSignalIgnored& operator=(const FileSizeSignalIgnored&) = delete;

private:
    struct sigaction m_previous {};
    bool m_saved = false;
};

// A new temporary file beside the target ("NAME.tmpNNNNNN"), opened for writing; -1 with the
// reason when none can be made.
int CreateTemporary(const fs::path& target, fs::path& temporary, std::string& reason)
{
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = target;
        temporary += ".tmp" + std::to_string(random() % 1000000);
        const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            if (fd < 0) reason = std::strerror(errno);
            return fd;
        }
    }
    reason = std::strerror(EEXIST);
    return -1;
}

bool WriteAll(int fd, std::span<const std::uint8_t> bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n == 0) errno = EIO;
        if (n <= 0) return false;
        bytes = bytes.subspan(static_cast<std::size_t>(n));
    }
    return true;
}

// Flushes the folder that holds the renamed file, so the rename itself survives a crash.
void SyncFolder(const fs::path& file)
{
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

}  // namespace

bool ReplaceFile(const std::string& path, std::span<const std::uint8_t> bytes, std::string& reason)
{
    const fs::path target = FinalTarget(path, reason);
    if (target.empty()) return false;
    struct stat existing {};
    const bool exists = stat(target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        reason = std::strerror(EISDIR);
        return false;
    }
    // A FIFO, device or socket would be replaced by a plain file of the same name.
    if (exists && !S_ISREG(existing.st_mode)) {
        reason = kNotRegularFile;
        return false;
    }

    FileSizeSignalIgnored quiet;
    fs::path temporary;
    const int fd = CreateTemporary(target, temporary, reason);
    if (fd < 0) return false;
    const auto fail = [&](int error) {
        reason = std::strerror(error);
        unlink(temporary.c_str());
        return false;
    };
    if (exists && fchmod(fd, existing.st_mode & 07777) != 0) {
        const int error = errno;
        close(fd);
        return fail(error);
    }
    if (!WriteAll(fd, bytes) || fsync(fd) != 0) {
        const int error = errno;
        close(fd);
        return fail(error);
    }
    if (close(fd) != 0) return fail(errno);
    if (rename(temporary.c_str(), target.c_str()) != 0) return fail(errno);
    SyncFolder(target);
    return true;
}

bool ReplaceTextFile(const std::string& path, std::string_view text, std::string& error)
{
    std::string reason;
    if (ReplaceFile(path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()), reason))
        return true;
    error = "cannot write \"" + path + "\": " + reason;
    return false;
}

}  // namespace host
