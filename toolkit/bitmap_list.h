#pragma once
// A bitmap list (".bml"): the pictures of one layout in one file. The file is a 9-byte
// signature (the byte 8, then "LMDBML30"), a count (uint32, little endian), then every
// picture as a uint32 little-endian length followed by that many bytes of PNG. Pictures
// are addressed by index from 0.

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QPixmap>
#include <QString>
#include <optional>

namespace quendal {

class BitmapList {
  public:
    BitmapList() = default;
    explicit BitmapList(QList<QImage> images);

    // Reads a whole list; damaged input gives std::nullopt and, when error is given, a
    // message that names what is wrong.
    static std::optional<BitmapList> fromBytes(const QByteArray& bytes, QString* error);
    static std::optional<BitmapList> load(const QString& path, QString* error);

    QByteArray toBytes() const;
    bool save(const QString& path, QString* error) const;

    int count() const;
    // index 0..count()-1; any other index gives an empty image.
    const QImage& image(int index) const;
    QPixmap pixmap(int index) const;

  private:
    QList<QImage> images_;
};

} // namespace quendal
