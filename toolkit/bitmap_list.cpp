#include "toolkit/bitmap_list.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QSaveFile>
#include <cstdint>
#include <cstring>
#include <utility>

namespace quendal {

namespace {

constexpr char kSignature[9] = {8, 'L', 'M', 'D', 'B', 'M', 'L', '3', '0'};
constexpr qsizetype kSignatureSize = 9;
// No picture of ours comes near these sizes; a header that claims more is damaged, and is
// refused before anything is allocated for it.
constexpr int kMaxPictureSide = 8192;
constexpr qint64 kMaxPicturePixels = qint64{4096} * 4096;

void setError(QString* error, const QString& message) {
    if (error != nullptr) {
        *error = message;
    }
}

uint32_t readU32(const char* p) {
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return static_cast<uint32_t>(u[0]) | (static_cast<uint32_t>(u[1]) << 8) |
           (static_cast<uint32_t>(u[2]) << 16) | (static_cast<uint32_t>(u[3]) << 24);
}

void appendU32(QByteArray& out, uint32_t v) {
    const char b[4] = {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
                       static_cast<char>((v >> 16) & 0xFF), static_cast<char>((v >> 24) & 0xFF)};
    out.append(b, 4);
}

const QImage& emptyImage() {
    static const QImage empty;
    return empty;
}

} // namespace

BitmapList::BitmapList(QList<QImage> images) : images_(std::move(images)) {}

std::optional<BitmapList> BitmapList::fromBytes(const QByteArray& bytes, QString* error) {
    if (bytes.size() < kSignatureSize ||
        std::memcmp(bytes.constData(), kSignature, kSignatureSize) != 0) {
        setError(error, QStringLiteral("not a bitmap list (signature missing)"));
        return std::nullopt;
    }
    qsizetype pos = kSignatureSize;
    if (bytes.size() - pos < 4) {
        setError(error, QStringLiteral("bitmap list cut short before its count"));
        return std::nullopt;
    }
    const uint32_t count = readU32(bytes.constData() + pos);
    pos += 4;
    // Every item needs at least its 4-byte length, so a count is only believable when the
    // rest of the file can hold that many lengths.
    if (static_cast<uint64_t>(count) * 4 > static_cast<uint64_t>(bytes.size() - pos)) {
        setError(
            error,
            QStringLiteral("bitmap list claims %1 pictures but is too short for them").arg(count));
        return std::nullopt;
    }
    QList<QImage> images;
    images.reserve(static_cast<qsizetype>(count));
    for (uint32_t i = 0; i < count; ++i) {
        if (bytes.size() - pos < 4) {
            setError(error, QStringLiteral("bitmap list cut short at picture %1").arg(i));
            return std::nullopt;
        }
        const uint32_t length = readU32(bytes.constData() + pos);
        pos += 4;
        if (static_cast<uint64_t>(length) > static_cast<uint64_t>(bytes.size() - pos)) {
            setError(error,
                     QStringLiteral("picture %1 of the bitmap list has a bad length").arg(i));
            return std::nullopt;
        }
        // The reader works on a view of the bytes; it checks the stated size before it
        // allocates anything, so a forged header cannot ask for gigabytes.
        QByteArray item =
            QByteArray::fromRawData(bytes.constData() + pos, static_cast<qsizetype>(length));
        pos += static_cast<qsizetype>(length);
        QBuffer buffer(&item);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, "png");
        reader.setDecideFormatFromContent(false);
        const QSize size = reader.size();
        if (!size.isValid() || size.isEmpty() || size.width() > kMaxPictureSide ||
            size.height() > kMaxPictureSide ||
            static_cast<qint64>(size.width()) * size.height() > kMaxPicturePixels) {
            setError(error, QStringLiteral("picture %1 of the bitmap list is damaged").arg(i));
            return std::nullopt;
        }
        QImage image = reader.read();
        if (image.isNull()) {
            setError(error, QStringLiteral("picture %1 of the bitmap list is damaged: %2")
                                .arg(i)
                                .arg(reader.errorString()));
            return std::nullopt;
        }
        images.append(std::move(image));
    }
    if (pos != bytes.size()) {
        setError(error, QStringLiteral("bitmap list has stray bytes after its last picture"));
        return std::nullopt;
    }
    return BitmapList(std::move(images));
}

std::optional<BitmapList> BitmapList::load(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        setError(error, QStringLiteral("%1: %2").arg(path, file.errorString()));
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    QString why;
    auto list = fromBytes(bytes, &why);
    if (!list) {
        setError(error, QStringLiteral("%1: %2").arg(path, why));
    }
    return list;
}

QByteArray BitmapList::toBytes() const {
    QByteArray out(kSignature, kSignatureSize);
    appendU32(out, static_cast<uint32_t>(images_.size()));
    for (const QImage& image : images_) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        appendU32(out, static_cast<uint32_t>(png.size()));
        out.append(png);
    }
    return out;
}

bool BitmapList::save(const QString& path, QString* error) const {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        setError(error, QStringLiteral("%1: %2").arg(path, file.errorString()));
        return false;
    }
    const QByteArray bytes = toBytes();
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        setError(error, QStringLiteral("%1: %2").arg(path, file.errorString()));
        return false;
    }
    return true;
}

int BitmapList::count() const {
    return static_cast<int>(images_.size());
}

const QImage& BitmapList::image(int index) const {
    if (index < 0 || index >= images_.size()) {
        return emptyImage();
    }
    return images_[index];
}

QPixmap BitmapList::pixmap(int index) const {
    return QPixmap::fromImage(image(index));
}

} // namespace quendal
