#pragma once
// What the writer and the reader of the result file share: the width of a data field, the
// trimming of header values and the handle of an open file.

#include <cstddef>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace quendal::result_file_io {

constexpr std::size_t kFieldWidth = 10;

inline bool isBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

inline std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isBlankOrControl(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && isBlankOrControl(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

inline bool isFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

class FileHandle {
  public:
    explicit FileHandle(int fd) : fd_(fd) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int get() const { return fd_; }

  private:
    int fd_;
};

} // namespace quendal::result_file_io
