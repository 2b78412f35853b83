#pragma once
// What the writer and the reader of the result file share: the width of a data field and
// the handle of an open file.

#include <cstddef>
#include <unistd.h>

namespace quendal::result_file_io {

constexpr std::size_t kFieldWidth = 10;

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
