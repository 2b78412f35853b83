#pragma once
// The frame a top-level window is painted into, made and mapped before its first paint. The
// first paint of a new frame otherwise meets every one of its pages with a page fault of its
// own (a 1024 × 768 frame has 768 of them, and on a virtual machine one can cost 10 µs); the
// kernel maps them all in one call instead. This is done on X, where the frame is an image in
// memory shared with the server; elsewhere, or where the kernel cannot do it, nothing happens
// and the first paint maps the pages as before.

#include <cstddef>

class QImage;
class QWidget;

namespace quendal {

// The pages wholly inside a picture's memory, so that nothing beside it is touched.
struct PageSpan {
    void* begin = nullptr;
    std::size_t length = 0;
};
PageSpan pagesInside(const QImage& image);

// Call once the window has been shown (its platform window exists) and before the event loop
// delivers its first expose.
void mapFrameAhead(QWidget& window);

} // namespace quendal
