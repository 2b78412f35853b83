#pragma once
// A panel backed by a bitmap: the picture is drawn 1:1 from the panel's top-left corner (a
// picture made for a scaled screen pixel for pixel, see device_pixels.h), the panel's colour
// fills what the picture does not cover. Child widgets lie on top.

#include <QColor>
#include <QPixmap>
#include <QWidget>

namespace quendal {

class BitmapList;

class BitmapPanel : public QWidget {
    Q_OBJECT
  public:
    explicit BitmapPanel(QWidget* parent = nullptr);

    void setBitmap(const QPixmap& bitmap);
    void setBitmap(const QImage& bitmap);
    // An entry of a list, at the pixels of the screen; one that is a single colour
    // throughout is painted as that colour, without holding its pixels.
    void setBitmap(const BitmapList& list, int index);
    const QPixmap& bitmap() const { return bitmap_; }

    void setColor(const QColor& colour);
    QColor color() const { return colour_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPixmap bitmap_;
    // A plain bitmap: its size and colour.
    QRect plain_;
    QColor plainColour_;
    QColor colour_{Qt::black};
};

} // namespace quendal
