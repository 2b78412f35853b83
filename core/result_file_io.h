#pragma once
// What the writer and the reader of the result file share: the width of a data field, the
// test for an existing file and the handle of an open file.

#include <cstddef>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace quendal::result_file_io {

constexpr std::size_t kFieldWidth = 10;

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
