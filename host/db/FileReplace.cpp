#include "FileReplace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <vector>

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

// Why the existing target may not be replaced, or empty when it may.
std::string RefusalOf(const fs::path& target, const struct stat& existing)
{
    if (S_ISDIR(existing.st_mode)) return std::strerror(EISDIR);
    // A FIFO, device or socket would be replaced by a plain file of the same name.
    if (!S_ISREG(existing.st_mode)) return kNotRegularFile;
    // The folder may allow the rename where the file itself allows no write; judged with the
    // process's effective ids, as opening the file for writing would be.
    if (faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0 && (errno == EACCES || errno == EPERM))
        return kReadOnlyFile;
    return {};
}

}  // namespace

PendingReplacement::PendingReplacement(const std::string& path, std::span<const std::uint8_t> bytes)
{
    m_target = FinalTarget(path, m_reason);
    if (m_target.empty()) return;
    struct stat existing {};
    const bool exists = stat(m_target.c_str(), &existing) == 0;
    if (exists) {
        m_reason = RefusalOf(m_target, existing);
        if (!m_reason.empty()) return;
    }

    FileSizeSignalIgnored quiet;
    fs::path temporary;
    const int fd = CreateTemporary(m_target, temporary, m_reason);
    if (fd < 0) return;
    int error = 0;
    if (exists && fchmod(fd, existing.st_mode & 07777) != 0)
        error = errno;
    else if (!WriteAll(fd, bytes) || fsync(fd) != 0)
        error = errno;
    if (close(fd) != 0 && error == 0) error = errno;
    if (error != 0) {
        m_reason = std::strerror(error);
        unlink(temporary.c_str());
        return;
    }
    m_temporary = std::move(temporary);
}

PendingReplacement::~PendingReplacement()
{
    if (!m_temporary.empty()) unlink(m_temporary.c_str());
}

bool PendingReplacement::Commit()
{
    if (m_temporary.empty()) return false;
    const bool renamed = rename(m_temporary.c_str(), m_target.c_str()) == 0;
    if (!renamed) {
        m_reason = std::strerror(errno);
        unlink(m_temporary.c_str());
    }
    m_temporary.clear();
    if (renamed) SyncFolder(m_target);
    return renamed;
}

bool ReplaceFile(const std::string& path, std::span<const std::uint8_t> bytes, std::string& reason)
{
    PendingReplacement file(path, bytes);
    const bool replaced = file.Written() && file.Commit();
    if (!replaced) reason = file.Reason();
    return replaced;
}

bool ReplaceTextFiles(std::span<const TextFile> files, std::string& error)
{
    const auto refuse = [&](const TextFile& file, const std::string& reason) {
        error = "cannot write \"" + file.path + "\": " + reason;
        return false;
    };
    std::vector<std::unique_ptr<PendingReplacement>> pending;
    for (const TextFile& file : files) {
        pending.push_back(std::make_unique<PendingReplacement>(
            file.path, std::span(reinterpret_cast<const std::uint8_t*>(file.text.data()), file.text.size())));
        if (!pending.back()->Written()) return refuse(file, pending.back()->Reason());
    }
    for (std::size_t i = 0; i < pending.size(); ++i)
        if (!pending[i]->Commit()) return refuse(files[i], pending[i]->Reason());
    return true;
}

bool ReplaceTextFile(const std::string& path, std::string_view text, std::string& error)
{
    const TextFile file{path, text};
    return ReplaceTextFiles(std::span(&file, 1), error);
}

bool NameOneFile(const std::string& a, const std::string& b)
{
    std::string reason;
    const fs::path targetA = FinalTarget(a, reason), targetB = FinalTarget(b, reason);
    // A loop of links: neither can be written, so neither replaces the other.
    if (targetA.empty() || targetB.empty()) return false;
    // Folders named through links, "." and "..": the path the rename lands on. Two names of
    // one file (hard links) are two files to a rename, each replaced on its own.
    std::error_code errorA, errorB;
    const fs::path fullA = fs::weakly_canonical(targetA, errorA), fullB = fs::weakly_canonical(targetB, errorB);
    return !errorA && !errorB && fullA == fullB;
}

}  // namespace host
