#include "xvfb_framebuffer.h"

#include <X11/X.h>
#include <X11/XWDFile.h>
#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quendal::fidelity {

namespace {

// The header's fields are 32-bit numbers, most significant byte first.
uint32_t bigEndian(const uint8_t* field) {
    return (uint32_t{field[0]} << 24) | (uint32_t{field[1]} << 16) | (uint32_t{field[2]} << 8) |
           uint32_t{field[3]};
}

constexpr std::size_t kColourEntrySize = 12; // sizeof(XWDColor) in the file

} // namespace

XvfbFramebuffer::~XvfbFramebuffer() {
    if (mapping_ != nullptr) {
        munmap(mapping_, mappingSize_);
    }
}

bool XvfbFramebuffer::Open(const std::string& path, std::string* error) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) {
        *error = "cannot open " + path + ": " + std::strerror(errno);
        return false;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || info.st_size < static_cast<off_t>(sizeof(XWDFileHeader))) {
        ::close(fd);
        *error = path + " is too short for an XWD header";
        return false;
    }
    mappingSize_ = static_cast<std::size_t>(info.st_size);
    mapping_ = mmap(nullptr, mappingSize_, PROT_READ, MAP_SHARED, fd, 0);
    ::close(fd);
    if (mapping_ == MAP_FAILED) {
        mapping_ = nullptr;
        *error = "cannot map " + path + ": " + std::strerror(errno);
        return false;
    }
    const auto* bytes = static_cast<const uint8_t*>(mapping_);
    auto field = [bytes](std::size_t offset) { return bigEndian(bytes + offset); };
    const uint32_t headerSize = field(offsetof(XWDFileHeader, header_size));
    const uint32_t format = field(offsetof(XWDFileHeader, pixmap_format));
    const uint32_t bitsPerPixel = field(offsetof(XWDFileHeader, bits_per_pixel));
    const uint32_t colours = field(offsetof(XWDFileHeader, ncolors));
    width_ = static_cast<int>(field(offsetof(XWDFileHeader, pixmap_width)));
    height_ = static_cast<int>(field(offsetof(XWDFileHeader, pixmap_height)));
    bytesPerLine_ = field(offsetof(XWDFileHeader, bytes_per_line));
    pixelOffset_ = std::size_t{headerSize} + std::size_t{colours} * kColourEntrySize;
    if (field(offsetof(XWDFileHeader, file_version)) != XWD_FILE_VERSION || format != ZPixmap ||
        bitsPerPixel != 32 || width_ <= 0 || height_ <= 0 ||
        bytesPerLine_ < static_cast<std::size_t>(width_) * 4 ||
        pixelOffset_ + bytesPerLine_ * static_cast<std::size_t>(height_) > mappingSize_) {
        *error = path + " is not a 32-bit Z-format XWD screen";
        return false;
    }
    return true;
}

PixelRect XvfbFramebuffer::Clip(PixelRect rect) const {
    const int left = std::clamp(rect.x, 0, width_);
    const int top = std::clamp(rect.y, 0, height_);
    const int right = std::clamp(rect.x + rect.width, left, width_);
    const int bottom = std::clamp(rect.y + rect.height, top, height_);
    return {left, top, right - left, bottom - top};
}

const uint8_t* XvfbFramebuffer::Row(int y) const {
    return static_cast<const uint8_t*>(mapping_) + pixelOffset_ +
           bytesPerLine_ * static_cast<std::size_t>(y);
}

std::vector<uint32_t> XvfbFramebuffer::Copy(const PixelRect& rect) const {
    const PixelRect r = Clip(rect);
    std::vector<uint32_t> copy(static_cast<std::size_t>(r.width) * r.height);
    const std::size_t rowBytes = static_cast<std::size_t>(r.width) * 4;
    for (int row = 0; row < r.height; ++row) {
        std::memcpy(copy.data() + static_cast<std::size_t>(row) * r.width,
                    Row(r.y + row) + static_cast<std::size_t>(r.x) * 4, rowBytes);
    }
    return copy;
}

bool XvfbFramebuffer::Same(const PixelRect& rect, const std::vector<uint32_t>& copy) const {
    const PixelRect r = Clip(rect);
    const std::size_t rowBytes = static_cast<std::size_t>(r.width) * 4;
    for (int row = 0; row < r.height; ++row) {
        if (std::memcmp(copy.data() + static_cast<std::size_t>(row) * r.width,
                        Row(r.y + row) + static_cast<std::size_t>(r.x) * 4, rowBytes) != 0) {
            return false;
        }
    }
    return true;
}

} // namespace quendal::fidelity
