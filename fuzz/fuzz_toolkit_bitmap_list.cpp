// Feeds arbitrary bytes to the bitmap list reader: it must reject or accept, never crash,
// never read out of bounds and never allocate without bound.
#include "toolkit/bitmap_list.h"

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QString error;
    const auto list = quendal::BitmapList::fromBytes(bytes, &error);
    if (list) {
        // Whatever was accepted must survive a round trip.
        const auto again = quendal::BitmapList::fromBytes(list->toBytes(), nullptr);
        if (!again || again->count() != list->count()) {
            __builtin_trap();
        }
    }
    return 0;
}
