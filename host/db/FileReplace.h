#pragma once
// Writing a whole file so that its readers see either the old contents or the new, never a
// mixture: the bytes go to a temporary file beside the target, which is flushed to the disk
// and renamed over the target, and the folder is flushed too. A target that is a symbolic link
// is written through: the file it names is replaced and the link stays. A target that exists
// keeps its permission bits; a new one gets those the process's umask allows.
//
// A target that exists and, once links are followed, is no regular file (a folder, a FIFO, a
// device, a socket) or is a file the user may not write (read-only, or another user's) is
// refused and left as it is: the rename would otherwise put a new file of the saver's in its
// place, as the folder allows.
//
// On any failure the target is left as it was, the temporary file is removed and the reason is
// the system's own ("No space left on device", "Read-only file system", "File too large"). A
// file-size limit makes the write fail with that reason rather than end the process
// (SIGXFSZ is ignored while the file is written).
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace host {

// The reason given for a target that exists and is neither a folder nor a regular file.
inline constexpr const char* kNotRegularFile = "it is not a regular file";
// The reason given for a target that exists and that the user may not write.
inline constexpr const char* kReadOnlyFile = "it is read-only";

// A file written beside its target and not yet in its place. Constructing it writes the
// bytes to a temporary file and flushes them; Commit renames that file over the target. One
// that is never committed removes its temporary file, so several files can be replaced
// together: all of them written first, then all renamed.
class PendingReplacement {
public:
    PendingReplacement(const std::string& path, std::span<const std::uint8_t> bytes);
    ~PendingReplacement();
    PendingReplacement(const PendingReplacement&) = delete;
    PendingReplacement& operator=(const PendingReplacement&) = delete;

    // Whether the bytes are written and wait for Commit; Reason tells why not.
    bool Written() const { return !m_temporary.empty(); }
    // false with Reason when the rename fails (the target is then as it was).
    bool Commit();
    // Why the file could not be written or put in place (without the path).
    const std::string& Reason() const { return m_reason; }

private:
    std::filesystem::path m_target;
    std::filesystem::path m_temporary;
    std::string m_reason;
};

// false with the reason (without the path) when the file could not be written.
bool ReplaceFile(const std::string& path, std::span<const std::uint8_t> bytes, std::string& reason);

// Whether two paths would be replaced as one file: the same path once symbolic links are
// followed as a replacement follows them and "." and ".." are resolved.
bool NameOneFile(const std::string& a, const std::string& b);

// A text file to be written whole.
struct TextFile {
    std::string path;
    std::string_view text;
};

// Replaces the text files together: each is written beside its target first, and the targets
// are replaced, in order, only once every one is written, so a refused or failed write leaves
// all of them as they were. (A rename that fails after an earlier one was made, which takes a
// folder changed meanwhile, leaves the earlier file replaced.) false with a message naming the
// file: cannot write "PATH": REASON.
bool ReplaceTextFiles(std::span<const TextFile> files, std::string& error);

// The same for one text file.
bool ReplaceTextFile(const std::string& path, std::string_view text, std::string& error);

}  // namespace host
