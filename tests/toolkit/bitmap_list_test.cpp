#include "toolkit/bitmap_list.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

using quendal::BitmapList;

namespace {

QImage solid(int w, int h, QColor colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QByteArray png(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray u32(uint32_t v) {
    QByteArray out(4, '\0');
    qToLittleEndian(v, out.data());
    return out;
}

const QByteArray kSignature("\x08LMDBML30", 9);

QByteArray listOf(const QList<QByteArray>& items, uint32_t count) {
    QByteArray out = kSignature + u32(count);
    for (const QByteArray& item : items) {
        out += u32(static_cast<uint32_t>(item.size())) + item;
    }
    return out;
}

uint32_t crc32(const QByteArray& bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (char c : bytes) {
        crc ^= static_cast<uint8_t>(c);
        for (int k = 0; k < 8; ++k) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

// A valid PNG whose header claims width x height; its data is that of a 1 x 1 picture.
QByteArray pngClaiming(uint32_t width, uint32_t height) {
    QByteArray bytes = png(solid(1, 1, Qt::red));
    qToBigEndian(width, bytes.data() + 16);
    qToBigEndian(height, bytes.data() + 20);
    qToBigEndian(crc32(bytes.mid(12, 17)), bytes.data() + 29); // chunk type + IHDR data
    return bytes;
}

void expectRejected(const QByteArray& bytes, const char* what) {
    QString error;
    const auto list = BitmapList::fromBytes(bytes, &error);
    EXPECT_FALSE(list.has_value()) << what;
    EXPECT_FALSE(error.isEmpty()) << what;
    EXPECT_FALSE(BitmapList::fromBytes(bytes, nullptr).has_value()) << what;
}

} // namespace

TEST(BitmapList, WritesTheSignatureCountAndLengthPrefixedPngs) {
    const BitmapList list({solid(3, 2, Qt::blue), solid(5, 7, Qt::yellow)});
    const QByteArray bytes = list.toBytes();
    ASSERT_GE(bytes.size(), 17);
    EXPECT_EQ(bytes.left(9), kSignature);
    EXPECT_EQ(qFromLittleEndian<uint32_t>(bytes.constData() + 9), 2u);
    const uint32_t first = qFromLittleEndian<uint32_t>(bytes.constData() + 13);
    EXPECT_EQ(bytes.mid(17, 8), QByteArray("\x89PNG\r\n\x1a\n", 8));
    const uint32_t second = qFromLittleEndian<uint32_t>(bytes.constData() + 17 + first);
    EXPECT_EQ(static_cast<qsizetype>(17 + first + 4 + second), bytes.size());
}

TEST(BitmapList, ReadsBackEveryPictureByIndexThroughAFile) {
    QImage pattern(4, 3, QImage::Format_RGB32);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            pattern.setPixel(x, y, qRgb(x * 60, y * 100, 200));
        }
    }
    const BitmapList written({solid(10, 20, Qt::green), pattern, solid(1, 1, Qt::red)});
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("haupt.bml"));
    QString error;
    ASSERT_TRUE(written.save(path, &error)) << error.toStdString();

    const auto read = BitmapList::load(path, &error);
    ASSERT_TRUE(read.has_value()) << error.toStdString();
    ASSERT_EQ(read->count(), 3);
    EXPECT_EQ(read->image(0).size(), QSize(10, 20));
    EXPECT_EQ(read->image(0).pixel(9, 19), QColor(Qt::green).rgb());
    EXPECT_EQ(read->image(1).convertToFormat(QImage::Format_RGB32), pattern);
    EXPECT_EQ(read->image(2).pixel(0, 0), QColor(Qt::red).rgb());
    EXPECT_EQ(read->pixmap(1).size(), QSize(4, 3));
    // Indexes outside the list give an empty picture, never a crash.
    EXPECT_TRUE(read->image(3).isNull());
    EXPECT_TRUE(read->image(-1).isNull());
}

TEST(BitmapList, AnEmptyListIsAValidList) {
    const auto read = BitmapList::fromBytes(BitmapList().toBytes(), nullptr);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->count(), 0);
}

TEST(BitmapList, RejectsDamagedInputWithAMessage) {
    const QByteArray good = png(solid(2, 2, Qt::blue));
    const QByteArray valid = listOf({good}, 1);
    ASSERT_TRUE(BitmapList::fromBytes(valid, nullptr).has_value());

    expectRejected(QByteArray(), "empty file");
    expectRejected(QByteArray("\x07LMDBML30", 9) + valid.mid(9), "wrong length byte");
    expectRejected(QByteArray("\x08LMDBML20", 9) + valid.mid(9), "older signature");
    expectRejected(kSignature, "signature only");
    expectRejected(kSignature + QByteArray(2, '\0'), "count cut short");
    expectRejected(valid.left(valid.size() - 5), "last picture cut short");
    expectRejected(valid.left(15), "length cut short");
    expectRejected(listOf({good}, 2), "count larger than the items");
    expectRejected(valid + QByteArray("xyz"), "stray bytes after the last picture");
    expectRejected(listOf({QByteArray(40, 'x')}, 1), "an item that is no PNG");
    expectRejected(listOf({QByteArray()}, 1), "an empty item");
    QByteArray corrupt = good;
    const qsizetype data = corrupt.indexOf("IDAT") + 6; // inside the compressed pixels
    corrupt[data] = static_cast<char>(corrupt[data] ^ 0x5A);
    expectRejected(listOf({corrupt}, 1), "a PNG with damaged data");
}

TEST(BitmapList, ForgedSizesNeverCauseHugeAllocations) {
    // A count and a length of four billion on a 21-byte file.
    expectRejected(kSignature + u32(0xFFFFFFFFu) + u32(1) + u32(0), "huge count");
    expectRejected(kSignature + u32(1) + u32(0xFFFFFFF0u) + QByteArray(8, 'x'), "huge length");
    // A PNG whose header claims a picture of 60000 x 60000 pixels.
    expectRejected(listOf({pngClaiming(60000, 60000)}, 1), "huge picture");
}

TEST(BitmapList, ReportsAMissingOrUnwritableFileByName) {
    QTemporaryDir dir;
    QString error;
    const QString missing = dir.filePath(QStringLiteral("escheme.bml"));
    EXPECT_FALSE(BitmapList::load(missing, &error).has_value());
    EXPECT_TRUE(error.contains(QStringLiteral("escheme.bml")));

    const QString badFolder = dir.filePath(QStringLiteral("no/such/folder/x.bml"));
    EXPECT_FALSE(BitmapList({solid(1, 1, Qt::red)}).save(badFolder, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("x.bml")));
}

TEST(BitmapList, ADamagedFileOnDiskIsRejectedAndNamed) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("scheme.bml"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(BitmapList({solid(3, 3, Qt::red)}).toBytes().left(30));
    file.close();
    QString error;
    EXPECT_FALSE(BitmapList::load(path, &error).has_value());
    EXPECT_TRUE(error.contains(QStringLiteral("scheme.bml")));
}
