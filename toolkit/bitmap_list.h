#pragma once
// A bitmap list (".bml"): the pictures of one layout in one file. The file is a 9-byte
// signature (the byte 8, then "LMDBML30"), a count (uint32, little endian), then every
// picture as a uint32 little-endian length followed by that many bytes of PNG. Pictures
// are addressed by index from 0.
//
// A list read from a file keeps the file's bytes and decodes a picture when it is first
// asked for. A list may have a painter that draws its pictures afresh at any device pixel
// ratio: on a scaled screen its pixmaps then have the screen's pixels instead of being
// scaled up from the pictures at 1.

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace quendal {

class BitmapList {
  public:
    // Draws picture `index` at a device pixel ratio: round(ratio x its size) pixels,
    // carrying the ratio. A null result leaves the picture at 1 to be scaled.
    using Painter = std::function<QImage(int index, double ratio)>;

    // How much of a file is checked when it is read: every picture decoded, or (for a file
    // known to be intact) its structure and the size of every picture.
    enum class Check { EveryPicture, Structure };

    BitmapList() = default;
    explicit BitmapList(QList<QImage> images);

    // Reads a whole list; damaged input gives std::nullopt and, when error is given, a
    // message that names what is wrong.
    static std::optional<BitmapList> fromBytes(const QByteArray& bytes, QString* error,
                                               Check check = Check::EveryPicture);
    static std::optional<BitmapList> load(const QString& path, QString* error);
    // A list of PNG pictures decoded when first asked for; one that is not a PNG of a
    // believable size is an empty image.
    static BitmapList fromPngs(const QList<QByteArray>& pictures);

    QByteArray toBytes() const;
    bool save(const QString& path, QString* error) const;

    int count() const;
    // The size of picture index, or an empty size for any index the list does not have.
    QSize size(int index) const;
    // index 0..count()-1; any other index gives an empty image.
    const QImage& image(int index) const;
    // The picture for painting on a device of the given pixel ratio: with a painter and a
    // ratio other than 1, drawn at that ratio (made once and kept, for the last ratio
    // asked); otherwise the picture itself. Without a ratio: the application's. A null
    // pixmap for any index the list does not have.
    QPixmap pixmap(int index) const;
    QPixmap pixmap(int index, double ratio) const;

    // The colour of a picture read from a file that is one colour throughout (as its file
    // says, without decoding it); nothing for any other picture.
    std::optional<QColor> plainColour(int index) const;

    // Decodes these pictures now (on whatever thread holds the list), for their first pixmap
    // or image to take; a picture so decoded is not kept once its pixmap is made.
    void decodeAhead(const std::vector<int>& indices);

    void setPainter(Painter painter);
    bool hasPainter() const { return static_cast<bool>(painter_); }

  private:
    struct Item {
        qsizetype offset = 0; // of the PNG bytes in bytes_
        qsizetype length = 0;
        QSize size;
    };
    static std::optional<QImage> decode(const QByteArray& png, QString* why);

    QByteArray bytes_; // the file the list was read from
    std::vector<Item> items_;
    // The pictures decoded (or given), the pixmaps at 1 and those drawn at sharpRatio_.
    mutable std::vector<std::optional<QImage>> images_;
    // Decoded by decodeAhead and not yet taken.
    mutable std::vector<std::optional<QImage>> ahead_;
    mutable std::vector<QPixmap> pixmaps_;
    mutable std::vector<QPixmap> sharp_;
    mutable double sharpRatio_ = 0;
    Painter painter_;
};

} // namespace quendal
