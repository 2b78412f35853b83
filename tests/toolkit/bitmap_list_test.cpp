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

TEST(BitmapList, AFileKnownToBeWholeIsCheckedForItsStructureAndDecodedWhenAskedFor) {
    // The second picture's header is sound, its image data is not.
    QImage pattern(6, 4, QImage::Format_RGB32);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 6; ++x) {
            pattern.setPixel(x, y, qRgb(40 * x, 60 * y, 200));
        }
    }
    QByteArray broken = png(pattern);
    const qsizetype data = broken.indexOf("IDAT") + 4;
    broken[data + 2] = static_cast<char>(broken[data + 2] ^ 0x5A);
    const QByteArray bytes = listOf({png(solid(3, 2, Qt::blue)), broken}, 2);

    // Read whole, the damage is found at once and named.
    QString error;
    EXPECT_FALSE(BitmapList::fromBytes(bytes, &error).has_value());
    EXPECT_TRUE(error.contains(QStringLiteral("picture 1"))) << error.toStdString();

    // Read as known, the sizes are there without decoding; a picture that cannot be decoded
    // later shows as nothing.
    const auto known = BitmapList::fromBytes(bytes, &error, BitmapList::Check::Structure);
    ASSERT_TRUE(known.has_value()) << error.toStdString();
    EXPECT_EQ(known->size(0), QSize(3, 2));
    EXPECT_EQ(known->size(1), QSize(6, 4));
    EXPECT_EQ(known->size(2), QSize());
    EXPECT_EQ(known->image(0).pixel(2, 1), QColor(Qt::blue).rgb());
    EXPECT_TRUE(known->image(1).isNull());
    EXPECT_TRUE(known->pixmap(1, 1.0).isNull());
    // What holds for every file: a cut-short file is refused whichever the check.
    EXPECT_FALSE(
        BitmapList::fromBytes(bytes.left(bytes.size() - 3), nullptr, BitmapList::Check::Structure)
            .has_value());
}

TEST(BitmapList, APainterDrawsThePicturesOfAScaledScreenOnceAndAtOneTheFileServes) {
    BitmapList list({solid(10, 4, Qt::red), solid(2, 2, Qt::green)});
    std::vector<std::pair<int, double>> drawn;
    list.setPainter([&drawn](int index, double ratio) {
        drawn.emplace_back(index, ratio);
        if (index == 1) {
            return QImage(); // this one the painter cannot draw
        }
        QImage image = solid(static_cast<int>(10 * ratio), static_cast<int>(4 * ratio), Qt::blue);
        image.setDevicePixelRatio(ratio);
        return image;
    });
    const QPixmap plain = list.pixmap(0, 1.0);
    EXPECT_EQ(plain.size(), QSize(10, 4));
    EXPECT_TRUE(drawn.empty()) << "the picture at 1 is the list's own";

    const QPixmap sharp = list.pixmap(0, 2.0);
    EXPECT_EQ(sharp.size(), QSize(20, 8));
    EXPECT_DOUBLE_EQ(sharp.devicePixelRatio(), 2.0);
    EXPECT_EQ(sharp.toImage().pixel(19, 7), QColor(Qt::blue).rgb());
    list.pixmap(0, 2.0);
    EXPECT_EQ(drawn.size(), 1U) << "drawn once, then kept";
    EXPECT_EQ(list.size(0), QSize(10, 4)) << "the size stays the picture's own";

    // One the painter cannot draw is the picture at 1, scaled by whoever paints it.
    EXPECT_EQ(list.pixmap(1, 2.0).size(), QSize(2, 2));
    EXPECT_EQ(list.pixmap(-1, 2.0).isNull(), true);
    // Another ratio draws afresh.
    EXPECT_EQ(list.pixmap(0, 1.25).size(), QSize(12, 5));
    EXPECT_EQ(drawn.size(), 3U);
}

TEST(BitmapList, PicturesOfFewColoursAreWrittenExactlyAndOneColourIsKnownWithoutDecoding) {
    QImage fewColours(9, 5, QImage::Format_RGB32);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 9; ++x) {
            fewColours.setPixel(x, y, (x + y) % 3 == 0 ? qRgb(250, 10, 20) : qRgb(3, 4, 5));
        }
    }
    QImage manyColours(20, 20, QImage::Format_RGB32);
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            manyColours.setPixel(x, y, qRgb(x * 12, y * 12, (x * y) % 256));
        }
    }
    const QColor plainColour(36, 40, 49);
    const BitmapList written({solid(976, 720, plainColour), fewColours, manyColours});
    const auto read = BitmapList::fromBytes(written.toBytes(), nullptr);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->plainColour(0), plainColour);
    EXPECT_FALSE(read->plainColour(1).has_value());
    EXPECT_FALSE(read->plainColour(2).has_value());
    EXPECT_FALSE(read->plainColour(3).has_value());
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(read->image(i).convertToFormat(QImage::Format_RGB32), written.image(i))
            << "picture " << i;
    }
}
