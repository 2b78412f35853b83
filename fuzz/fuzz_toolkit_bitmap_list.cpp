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
    // Read as a file known to be whole, pictures are decoded when asked for: that too must
    // never crash, whatever the bytes.
    if (const auto known =
            quendal::BitmapList::fromBytes(bytes, nullptr, quendal::BitmapList::Check::Structure)) {
        for (int i = 0; i < known->count() && i < 8; ++i) {
            (void)known->plainColour(i);
            (void)known->image(i).size();
        }
    }
    return 0;
}
