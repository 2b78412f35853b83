#pragma once
// A button drawn from pictures: one face for rest, one while the mouse is over it ("hot")
// and one while it is held down, with an optional caption centred on the face. Pixels of
// the transparent colour are left out, so the face may have any outline. Faces taken from a
// bitmap list are fetched when the button is first painted, at the pixels of its screen
// (see device_pixels.h).

#include <QAbstractButton>
#include <QColor>
#include <QImage>
#include <QPixmap>

namespace quendal {

class BitmapList;

class ImageButton : public QAbstractButton {
    Q_OBJECT
  public:
    enum class Face { Normal, Hot, Down };

    explicit ImageButton(QWidget* parent = nullptr);

    // A null hot or down face falls back to the normal face (or, for down, to hot).
    void setFaces(const QImage& normal, const QImage& hot = {}, const QImage& down = {});
    // Faces taken from a bitmap list: first, first + 1, first + 2 (as far as count reaches).
    // The button keeps a pointer to the list; the list must outlive it.
    void setFaces(const BitmapList& list, int first, int count = 3);

    // Pixels of exactly this colour are not drawn; an invalid colour draws every pixel.
    void setTransparentColor(const QColor& colour);
    QColor transparentColor() const { return transparent_; }

    void setCaptionColor(const QColor& colour);
    QColor captionColor() const { return captionColour_; }

    // When on (the default), the button takes the size of its normal face.
    void setAutoSize(bool on);

    Face currentFace() const;
    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    // A face as given, or as an entry of a list.
    struct Source {
        QImage image;
        const BitmapList* list = nullptr;
        int index = -1;
        bool isNull() const;
        QSize size() const;
        QPixmap pixmap(double ratio) const;
    };
    void rebuild();
    // The faces as pixmaps for the device pixel ratio, made when first painted there.
    const QPixmap& face(Face face);

    Source sources_[3];
    QPixmap faces_[3];
    double facesRatio_ = 0; // 0: to be made
    QColor transparent_;
    QColor captionColour_{Qt::black};
    bool autoSize_ = true;
    bool hot_ = false;
};

} // namespace quendal
