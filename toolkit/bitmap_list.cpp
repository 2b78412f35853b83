#include "toolkit/bitmap_list.h"

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QSaveFile>
#include <cmath>
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

// The size a PNG states in its header, without decoding it; an empty size when the bytes
// do not begin like a PNG.
QSize pngHeaderSize(const char* data, qsizetype length) {
    static constexpr unsigned char kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    constexpr qsizetype kHeaderEnd = 8 + 4 + 4 + 8; // signature, IHDR length and type, size
    if (length < kHeaderEnd || std::memcmp(data, kPng, sizeof kPng) != 0 ||
        std::memcmp(data + 12, "IHDR", 4) != 0) {
        return {};
    }
    const auto* u = reinterpret_cast<const unsigned char*>(data);
    const auto bigEndian = [u](int at) {
        return (static_cast<uint32_t>(u[at]) << 24) | (static_cast<uint32_t>(u[at + 1]) << 16) |
               (static_cast<uint32_t>(u[at + 2]) << 8) | static_cast<uint32_t>(u[at + 3]);
    };
    const uint32_t width = bigEndian(16);
    const uint32_t height = bigEndian(20);
    if (width == 0 || height == 0 || width > kMaxPictureSide || height > kMaxPictureSide) {
        return {};
    }
    return {static_cast<int>(width), static_cast<int>(height)};
}

// The one colour of a PNG whose colour table has a single opaque entry, read from its
// chunks before the image data; nothing for any other PNG.
std::optional<QColor> pngPlainColour(const char* data, qsizetype length) {
    constexpr qsizetype kFirstChunk = 8;
    constexpr qsizetype kColourType = 8 + 8 + 9;
    if (length <= kColourType || data[kColourType] != 3) { // 3: colours from a table
        return std::nullopt;
    }
    const auto* u = reinterpret_cast<const unsigned char*>(data);
    std::optional<QColor> colour;
    for (qsizetype at = kFirstChunk; at + 8 <= length;) {
        const qsizetype size = (qsizetype{u[at]} << 24) | (qsizetype{u[at + 1]} << 16) |
                               (qsizetype{u[at + 2]} << 8) | qsizetype{u[at + 3]};
        const char* type = data + at + 4;
        if (std::memcmp(type, "IDAT", 4) == 0) {
            return colour;
        }
        if (std::memcmp(type, "tRNS", 4) == 0 || at + 12 + size > length) {
            return std::nullopt;
        }
        if (std::memcmp(type, "PLTE", 4) == 0) {
            if (size != 3) {
                return std::nullopt;
            }
            colour = QColor(u[at + 8], u[at + 9], u[at + 10]);
        }
        at += 12 + size; // length, type, data, CRC
    }
    return std::nullopt;
}

bool believableSize(QSize size) {
    return size.isValid() && !size.isEmpty() && size.width() <= kMaxPictureSide &&
           size.height() <= kMaxPictureSide &&
           static_cast<qint64>(size.width()) * size.height() <= kMaxPicturePixels;
}

// The picture in the smallest form that holds it exactly: with a colour table when it is
// opaque and has no more than 256 colours (a plain background then reads several times
// faster), else as it is.
QImage compact(const QImage& image) {
    if (image.hasAlphaChannel() || image.format() == QImage::Format_Indexed8) {
        return image;
    }
    QImage indexed = image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
    if (indexed.colorCount() <= 256 && indexed.convertToFormat(image.format()) == image) {
        return indexed;
    }
    return image;
}

double applicationRatio() {
    return qGuiApp != nullptr ? qGuiApp->devicePixelRatio() : 1.0;
}

} // namespace

BitmapList::BitmapList(QList<QImage> images) {
    items_.reserve(static_cast<size_t>(images.size()));
    images_.reserve(static_cast<size_t>(images.size()));
    for (QImage& image : images) {
        items_.push_back({0, 0, image.size()});
        images_.emplace_back(std::move(image));
    }
}

std::optional<QImage> BitmapList::decode(const QByteArray& png, QString* why) {
    // The reader works on a view of the bytes; it checks the stated size before it
    // allocates anything, so a forged header cannot ask for gigabytes.
    QByteArray view = png;
    QBuffer buffer(&view);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    reader.setDecideFormatFromContent(false);
    reader.setAutoDetectImageFormat(false); // no image plugin is loaded to ask
    if (!believableSize(reader.size())) {
        *why = QString();
        return std::nullopt;
    }
    QImage image = reader.read();
    if (image.isNull()) {
        *why = reader.errorString();
        return std::nullopt;
    }
    return image;
}

std::optional<BitmapList> BitmapList::fromBytes(const QByteArray& bytes, QString* error,
                                                Check check) {
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
    BitmapList list;
    list.bytes_ = bytes;
    list.items_.reserve(count);
    list.images_.resize(count);
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
        const auto itemLength = static_cast<qsizetype>(length);
        const QSize size = pngHeaderSize(bytes.constData() + pos, itemLength);
        if (!believableSize(size)) {
            setError(error, QStringLiteral("picture %1 of the bitmap list is damaged").arg(i));
            return std::nullopt;
        }
        list.items_.push_back({pos, itemLength, size});
        if (check == Check::EveryPicture) {
            QString why;
            std::optional<QImage> image =
                decode(QByteArray::fromRawData(bytes.constData() + pos, itemLength), &why);
            if (!image || image->size() != size) {
                setError(error,
                         why.isEmpty()
                             ? QStringLiteral("picture %1 of the bitmap list is damaged").arg(i)
                             : QStringLiteral("picture %1 of the bitmap list is damaged: %2")
                                   .arg(i)
                                   .arg(why));
                return std::nullopt;
            }
            list.images_[i] = std::move(*image);
        }
        pos += itemLength;
    }
    if (pos != bytes.size()) {
        setError(error, QStringLiteral("bitmap list has stray bytes after its last picture"));
        return std::nullopt;
    }
    return list;
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

BitmapList BitmapList::fromPngs(const QList<QByteArray>& pictures) {
    BitmapList list;
    for (const QByteArray& png : pictures) {
        const qsizetype offset = list.bytes_.size();
        list.bytes_.append(png);
        const QSize size = pngHeaderSize(png.constData(), png.size());
        if (believableSize(size)) {
            list.items_.push_back({offset, png.size(), size});
            list.images_.emplace_back();
        } else {
            list.items_.push_back({offset, 0, QSize()});
            list.images_.emplace_back(QImage());
        }
    }
    return list;
}

QByteArray BitmapList::toBytes() const {
    QByteArray out(kSignature, kSignatureSize);
    appendU32(out, static_cast<uint32_t>(items_.size()));
    for (size_t i = 0; i < items_.size(); ++i) {
        const Item& item = items_[i];
        if (item.length > 0) {
            // As read: the same bytes again.
            appendU32(out, static_cast<uint32_t>(item.length));
            out.append(bytes_.constData() + item.offset, item.length);
            continue;
        }
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        compact(image(static_cast<int>(i))).save(&buffer, "PNG");
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
    return static_cast<int>(items_.size());
}

QSize BitmapList::size(int index) const {
    if (index < 0 || index >= count()) {
        return {};
    }
    return items_[static_cast<size_t>(index)].size;
}

const QImage& BitmapList::image(int index) const {
    if (index < 0 || index >= count()) {
        return emptyImage();
    }
    std::optional<QImage>& cached = images_[static_cast<size_t>(index)];
    if (!cached && static_cast<size_t>(index) < ahead_.size() &&
        ahead_[static_cast<size_t>(index)]) {
        cached = std::exchange(ahead_[static_cast<size_t>(index)], std::nullopt);
    }
    if (!cached) {
        const Item& item = items_[static_cast<size_t>(index)];
        QString why;
        // Only a list whose file was checked as a whole decodes late; a picture that still
        // fails shows as nothing.
        cached =
            decode(QByteArray::fromRawData(bytes_.constData() + item.offset, item.length), &why)
                .value_or(QImage());
    }
    return *cached;
}

QPixmap BitmapList::pixmap(int index) const {
    return pixmap(index, applicationRatio());
}

QPixmap BitmapList::pixmap(int index, double ratio) const {
    if (index < 0 || index >= count()) {
        return {};
    }
    const auto i = static_cast<size_t>(index);
    if (painter_ && std::abs(ratio - 1.0) > 1e-6) {
        if (ratio != sharpRatio_) {
            sharp_.assign(items_.size(), QPixmap());
            sharpRatio_ = ratio;
        }
        if (sharp_[i].isNull()) {
            QImage drawn = painter_(index, ratio);
            if (!drawn.isNull()) {
                sharp_[i] = QPixmap::fromImage(std::move(drawn));
            }
        }
        if (!sharp_[i].isNull()) {
            return sharp_[i];
        }
    }
    if (pixmaps_.size() != items_.size()) {
        pixmaps_.resize(items_.size());
    }
    if (pixmaps_[i].isNull()) {
        if (images_[i]) {
            pixmaps_[i] = QPixmap::fromImage(*images_[i]);
        } else if (i < ahead_.size() && ahead_[i]) {
            pixmaps_[i] = QPixmap::fromImage(std::move(*ahead_[i]));
            ahead_[i].reset();
        } else {
            // Decoded for the pixmap alone: the picture is not kept twice.
            const Item& item = items_[i];
            QString why;
            std::optional<QImage> decoded = decode(
                QByteArray::fromRawData(bytes_.constData() + item.offset, item.length), &why);
            if (decoded) {
                pixmaps_[i] = QPixmap::fromImage(std::move(*decoded));
            }
        }
    }
    return pixmaps_[i];
}

std::optional<QColor> BitmapList::plainColour(int index) const {
    if (index < 0 || index >= count()) {
        return std::nullopt;
    }
    const Item& item = items_[static_cast<size_t>(index)];
    if (item.length == 0) {
        return std::nullopt;
    }
    return pngPlainColour(bytes_.constData() + item.offset, item.length);
}

void BitmapList::decodeAhead(const std::vector<int>& indices) {
    ahead_.resize(items_.size());
    for (const int index : indices) {
        if (index < 0 || index >= count()) {
            continue;
        }
        const auto i = static_cast<size_t>(index);
        const Item& item = items_[i];
        if (images_[i] || ahead_[i] || item.length == 0) {
            continue;
        }
        QString why;
        QImage decoded =
            decode(QByteArray::fromRawData(bytes_.constData() + item.offset, item.length), &why)
                .value_or(QImage());
        // In the format its pixmap holds on a true-colour screen, so that making the pixmap
        // converts nothing where the time counts.
        ahead_[i] = decoded.convertToFormat(
            decoded.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    }
}

void BitmapList::setPainter(Painter painter) {
    painter_ = std::move(painter);
    sharp_.clear();
    sharpRatio_ = 0;
}

} // namespace quendal
