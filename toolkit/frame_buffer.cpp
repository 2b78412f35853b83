#include "toolkit/frame_buffer.h"

#include <QBackingStore>
#include <QGuiApplication>
#include <QImage>
#include <QWidget>
#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

namespace quendal {

PageSpan pagesInside(const QImage& image) {
    const auto page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto start = reinterpret_cast<uintptr_t>(image.constBits());
    const uintptr_t first = (start + page - 1) / page * page;
    const uintptr_t end = (start + static_cast<uintptr_t>(image.sizeInBytes())) / page * page;
    if (image.isNull() || end <= first) {
        return {};
    }
    // Found from the picture's own pointer, so that it stays a pointer into its memory.
    return {const_cast<uchar*>(image.constBits()) + (first - start), end - first};
}

void mapFrameAhead(QWidget& window) {
    // On X the frame is made when it is given its size, in memory shared with the server;
    // other platforms make theirs only when the paint begins.
    QBackingStore* store = window.backingStore();
    if (store == nullptr || !window.isWindow() ||
        QGuiApplication::platformName() != QLatin1String("xcb")) {
        return;
    }
    // The size the first paint would give it, so that the paint keeps this frame.
    store->resize(window.size());
    const auto* image = dynamic_cast<const QImage*>(store->paintDevice());
    if (image == nullptr) {
        return;
    }
#ifdef MADV_POPULATE_WRITE
    if (const PageSpan pages = pagesInside(*image); pages.length > 0) {
        // Older kernels refuse the advice; the first paint then maps the pages as before.
        madvise(pages.begin, pages.length, MADV_POPULATE_WRITE);
    }
#endif
}

} // namespace quendal
