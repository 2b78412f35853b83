#pragma once
// The program's own files on disk. A small settings file is replaced so that a crash or a
// full disk never leaves it truncated: the new content goes to a temporary file in the same
// folder, is flushed to the disk and then renamed over the old file in one step. Every file
// is opened only when it is a regular file, and never so that the program could wait on it:
// a named pipe or a device in the place of a file is refused, not waited for.

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quendal {

enum class OpenStatus {
    Opened,
    Missing,        // nothing of that name
    NotRegularFile, // a folder, a named pipe, a device, a socket
    Failed,         // any other failure; error holds its errno
};

struct OpenedFile {
    int fd = -1; // the descriptor, in blocking mode; -1 unless status is Opened
    OpenStatus status = OpenStatus::Failed;
    int error = 0;
};

// Opens path with access (O_RDONLY, O_WRONLY or O_RDWR) when it is a regular file or a link
// to one, without waiting on anything it finds there. The caller closes the descriptor.
OpenedFile openRegularFile(const std::string& path, int access);

// Replaces the file at path by content. A new file gets the permissions the user's umask
// allows; a file that is replaced keeps its permissions. Returns false on any failure; the
// old file (if any) is then left exactly as it was and no temporary file stays behind.
bool writeFileSafely(const std::string& path, std::string_view content);

// Removes what an interrupted writeFileSafely of path left behind: the temporary files
// path + "." + six letters or digits, when they are regular files older than minAge (a
// younger one may belong to a replace still going on).
void removeReplaceLeftovers(const std::string& path, std::chrono::seconds minAge);

// Creates path as an empty file, flushed to the disk with its folder entry, unless something
// of that name exists already (which is left as it is). False when it could not be created.
bool createEmptyFile(const std::string& path);

// Reads at most maxBytes from the start of the file; nullopt when it cannot be opened or
// read, or is not a regular file.
std::optional<std::string> readFileStart(const std::string& path, std::size_t maxBytes);

} // namespace quendal
