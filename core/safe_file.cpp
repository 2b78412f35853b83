#include "core/safe_file.h"

#include <cerrno>
#include <filesystem>
#include <random>
#include <system_error>

// The flush to the disk, the atomic rename and opening without waiting need the operating
// system's own calls.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quendal {
namespace {

constexpr std::size_t kTempSuffixLength = 6;
constexpr std::string_view kTempAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool writeAll(int fd, std::string_view content) {
    std::size_t done = 0;
    while (done < content.size()) {
        const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (n == 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Makes a new folder entry durable; a folder that cannot be synced is no reason to fail.
void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// A new temporary file path + "." + six random letters or digits, made with the permissions
// the umask allows (mkstemp would make it for the owner only); its descriptor, or -1.
int createTemporary(const std::string& path, std::string& temp) {
    std::random_device entropy;
    std::uniform_int_distribution<std::size_t> pick(0, kTempAlphabet.size() - 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = path + '.';
        for (std::size_t k = 0; k < kTempSuffixLength; ++k) {
            temp += kTempAlphabet[pick(entropy)];
        }
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

bool isTempSuffix(std::string_view suffix) {
    return suffix.size() == kTempSuffixLength &&
           suffix.find_first_not_of(kTempAlphabet) == std::string_view::npos;
}

} // namespace

OpenedFile openRegularFile(const std::string& path, int access) {
    OpenedFile file;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        file.error = errno;
        file.status =
            errno == ENOENT || errno == ENOTDIR ? OpenStatus::Missing : OpenStatus::Failed;
        return file;
    }
    if (!S_ISREG(st.st_mode)) {
        file.status = OpenStatus::NotRegularFile;
        return file;
    }
    // Without O_NONBLOCK a named pipe put there since the look above would keep open() waiting
    // for its other end; on a regular file the flag changes nothing and is taken off again.
    const int fd = ::open(path.c_str(), access | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        file.error = errno;
        file.status = errno == ENOENT  ? OpenStatus::Missing
                      : errno == ENXIO ? OpenStatus::NotRegularFile
                                       : OpenStatus::Failed;
        return file;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || flags < 0 ||
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        file.status = OpenStatus::NotRegularFile;
        ::close(fd);
        return file;
    }
    file.fd = fd;
    file.status = OpenStatus::Opened;
    return file;
}

bool writeFileSafely(const std::string& path, std::string_view content) {
    if (path.empty() || path.back() == '/') {
        return false;
    }
    struct stat old {};
    const bool replacing = ::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    std::string temp;
    const int fd = createTemporary(path, temp);
    if (fd < 0) {
        return false;
    }
    bool ok = !replacing || ::fchmod(fd, old.st_mode & 0777) == 0;
    ok = ok && writeAll(fd, content) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok && ::rename(temp.c_str(), path.c_str()) == 0) {
        syncFolder(folderOf(path));
        return true;
    }
    ::unlink(temp.c_str());
    return false;
}

void removeReplaceLeftovers(const std::string& path, std::chrono::seconds minAge) {
    namespace fs = std::filesystem;
    const fs::path target(path);
    const std::string prefix = target.filename().string() + '.';
    const auto now = fs::file_time_type::clock::now();
    std::error_code ec;
    for (fs::directory_iterator it(folderOf(path), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() != prefix.size() + kTempSuffixLength || name.rfind(prefix, 0) != 0 ||
            !isTempSuffix(std::string_view(name).substr(prefix.size()))) {
            continue;
        }
        std::error_code entryError;
        if (it->is_symlink(entryError) || !it->is_regular_file(entryError)) {
            continue;
        }
        const auto written = fs::last_write_time(it->path(), entryError);
        if (!entryError && now - written >= minAge) {
            fs::remove(it->path(), entryError);
        }
    }
}

bool createEmptyFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0) {
        // Something of that name is there already; what it is shows when it is used.
        return errno == EEXIST;
    }
    const bool flushed = ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    syncFolder(folderOf(path));
    return flushed && closed;
}

std::optional<std::string> readFileStart(const std::string& path, std::size_t maxBytes) {
    const OpenedFile file = openRegularFile(path, O_RDONLY);
    if (file.status != OpenStatus::Opened) {
        return std::nullopt;
    }
    std::string bytes(maxBytes, '\0');
    std::size_t done = 0;
    bool failed = false;
    while (done < maxBytes) {
        const ssize_t n = ::read(file.fd, bytes.data() + done, maxBytes - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            failed = true;
        }
        if (n <= 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    ::close(file.fd);
    if (failed) {
        return std::nullopt;
    }
    bytes.resize(done);
    return bytes;
}

} // namespace quendal
