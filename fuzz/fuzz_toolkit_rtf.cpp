// Feeds arbitrary bytes to the rich-text reader: it must read any input to its end without
// crashing, hanging or reading out of bounds, and what it accepts must form a document.
#include "toolkit/rtf_reader.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QTextDocument>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QGuiApplication app(*argc, *argv);
    // The first document sets up Qt's program-wide text caches, which live until the end.
    QTextDocument warmUp;
    quendal::RtfReader::read("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\b x\\par}", &warmUp);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QTextDocument document;
    if (quendal::RtfReader::read(bytes, &document) && document.characterCount() < 1) {
        __builtin_trap(); // an accepted document always has its closing paragraph
    }
    // The same input behind a valid header exercises the body of the reader every time.
    QTextDocument framed;
    if (!quendal::RtfReader::read(QByteArray("{\\rtf1 ") + bytes, &framed)) {
        __builtin_trap();
    }
    return 0;
}
