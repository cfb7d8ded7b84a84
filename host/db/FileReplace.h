#pragma once
// Writing a whole file so that its readers see either the old contents or the new, never a
// mixture: the bytes go to a temporary file beside the target, which is flushed to the disk
// and renamed over the target, and the folder is flushed too. A target that is a symbolic link
// is written through: the file it names is replaced and the link stays. A target that exists
// keeps its permission bits; a new one gets those the process's umask allows.
//
// A target that exists and is no regular file (a folder, a FIFO, a device, a socket) once
// links are followed is refused and left as it is.
//
// On any failure the target is left as it was, the temporary file is removed and the reason is
// the system's own ("No space left on device", "Read-only file system", "File too large"). A
// file-size limit makes the write fail with that reason rather than end the process
// (SIGXFSZ is ignored while the file is written).
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace host {

// The reason given for a target that exists and is neither a folder nor a regular file.
inline constexpr const char* kNotRegularFile = "it is not a regular file";

// false with the reason (without the path) when the file could not be written.
bool ReplaceFile(const std::string& path, std::span<const std::uint8_t> bytes, std::string& reason);

// The same for a text file; the message names the file: cannot write "PATH": REASON.
bool ReplaceTextFile(const std::string& path, std::string_view text, std::string& error);

}  // namespace host
