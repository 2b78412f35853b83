#pragma once
// The screen of an Xvfb server started with -fbdir, read straight from its memory-mapped XWD
// file: every drawing of the server is visible here at once, without a request to it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quendal::fidelity {

struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

class XvfbFramebuffer {
  public:
    XvfbFramebuffer() = default;
    ~XvfbFramebuffer();
    XvfbFramebuffer(const XvfbFramebuffer&) = delete;
    XvfbFramebuffer& operator=(const XvfbFramebuffer&) = delete;

    // Maps `path` (the Xvfb_screen0 file) and reads its XWD header; false with `error` set
    // when the file is not a Z-format XWD picture of 32 bits per pixel.
    bool Open(const std::string& path, std::string* error);

    int Width() const { return width_; }
    int Height() const { return height_; }

    // The rectangle cut to the screen.
    PixelRect Clip(PixelRect rect) const;
    // Copies the pixels of `rect` (clipped) row after row.
    std::vector<uint32_t> Copy(const PixelRect& rect) const;
    // True when the pixels of `rect` are the same as `copy`, made by Copy of the same rect.
    bool Same(const PixelRect& rect, const std::vector<uint32_t>& copy) const;

  private:
    const uint8_t* Row(int y) const;

    void* mapping_ = nullptr;
    std::size_t mappingSize_ = 0;
    std::size_t pixelOffset_ = 0;
    std::size_t bytesPerLine_ = 0;
    int width_ = 0;
    int height_ = 0;
};

} // namespace quendal::fidelity
