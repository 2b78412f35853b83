#include "toolkit/image_button.h"

#include "toolkit/bitmap_list.h"
#include "toolkit/device_pixels.h"

#include <QBitmap>
#include <QEnterEvent>
#include <QPainter>

namespace quendal {

ImageButton::ImageButton(QWidget* parent) : QAbstractButton(parent) {
    // The dialogs read every key themselves (Enter, Escape, letters), so a button never
    // takes the keyboard focus away from them.
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
}

bool ImageButton::Source::isNull() const {
    return list != nullptr ? index < 0 || index >= list->count() : image.isNull();
}

QSize ImageButton::Source::size() const {
    return list != nullptr ? list->size(index) : image.size();
}

QPixmap ImageButton::Source::pixmap(double ratio) const {
    return list != nullptr ? list->pixmap(index, ratio) : QPixmap::fromImage(image);
}

void ImageButton::setFaces(const QImage& normal, const QImage& hot, const QImage& down) {
    sources_[0] = {normal};
    sources_[1] = hot.isNull() ? sources_[0] : Source{hot};
    sources_[2] = down.isNull() ? sources_[1] : Source{down};
    rebuild();
}

void ImageButton::setFaces(const BitmapList& list, int first, int count) {
    const auto entry = [&](int offset) {
        return count > offset ? Source{QImage(), &list, first + offset} : Source{};
    };
    sources_[0] = entry(0);
    sources_[1] = entry(1).isNull() ? sources_[0] : entry(1);
    sources_[2] = entry(2).isNull() ? sources_[1] : entry(2);
    rebuild();
}

void ImageButton::setTransparentColor(const QColor& colour) {
    transparent_ = colour;
    rebuild();
}

void ImageButton::setCaptionColor(const QColor& colour) {
    captionColour_ = colour;
    update();
}

void ImageButton::setAutoSize(bool on) {
    autoSize_ = on;
    rebuild();
}

void ImageButton::rebuild() {
    for (QPixmap& face : faces_) {
        face = QPixmap();
    }
    facesRatio_ = 0;
    if (autoSize_ && !sources_[0].isNull()) {
        resize(sources_[0].size());
    }
    updateGeometry();
    update();
}

const QPixmap& ImageButton::face(Face which) {
    const double ratio = devicePixelRatioF();
    if (ratio != facesRatio_) {
        for (QPixmap& face : faces_) {
            face = QPixmap();
        }
        facesRatio_ = ratio;
    }
    // Each face is made when it first shows: a tag that is never pointed at never holds its
    // lit face.
    const auto i = static_cast<int>(which);
    if (faces_[i].isNull() && !sources_[i].isNull()) {
        QPixmap face = sources_[i].pixmap(ratio);
        if (!face.isNull() && transparent_.isValid()) {
            face.setMask(face.createMaskFromColor(transparent_, Qt::MaskInColor));
        }
        faces_[i] = face;
    }
    return faces_[i];
}

ImageButton::Face ImageButton::currentFace() const {
    if (isDown() || isChecked()) {
        return Face::Down;
    }
    if (hot_ && isEnabled()) {
        return Face::Hot;
    }
    return Face::Normal;
}

QSize ImageButton::sizeHint() const {
    if (!sources_[0].isNull()) {
        return sources_[0].size();
    }
    return {75, 25};
}

void ImageButton::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    const Face current = currentFace();
    const QPixmap& pixmap = face(current);
    if (!pixmap.isNull()) {
        const QSize size = logicalSize(pixmap);
        if (width() < size.width() || height() < size.height()) {
            // A button made smaller than its face (a dialog shrunk to a small play field)
            // shows the whole face, shrunk with it.
            p.setRenderHint(QPainter::SmoothPixmapTransform, true);
            p.drawPixmap(rect(), pixmap);
        } else {
            paintPicture(p, QPointF(0, 0), pixmap);
        }
    }
    if (text().isEmpty()) {
        return;
    }
    p.setFont(font());
    p.setPen(isEnabled() ? captionColour_ : captionColour_.darker(150));
    QRect area = rect();
    if (current == Face::Down) {
        area.translate(1, 1); // the caption sinks with the pressed face
    }
    p.drawText(area, Qt::AlignCenter | Qt::TextSingleLine, text());
}

void ImageButton::enterEvent(QEnterEvent* event) {
    hot_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void ImageButton::leaveEvent(QEvent* event) {
    hot_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

} // namespace quendal

namespace quendal {

void ImageButton::hideEvent(QHideEvent* event) {
    hot_ = false; // the pointer is not over a hidden button, whatever it was before
    QAbstractButton::hideEvent(event);
}

} // namespace quendal
