#include "toolkit/image_button.h"

#include "toolkit/bitmap_list.h"

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

void ImageButton::setFaces(const QImage& normal, const QImage& hot, const QImage& down) {
    sources_[0] = normal;
    sources_[1] = hot.isNull() ? normal : hot;
    sources_[2] = down.isNull() ? sources_[1] : down;
    rebuild();
}

void ImageButton::setFaces(const BitmapList& list, int first, int count) {
    const QImage normal = count > 0 ? list.image(first) : QImage();
    const QImage hot = count > 1 ? list.image(first + 1) : QImage();
    const QImage down = count > 2 ? list.image(first + 2) : QImage();
    setFaces(normal, hot, down);
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
    for (int i = 0; i < 3; ++i) {
        if (sources_[i].isNull()) {
            faces_[i] = QPixmap();
            continue;
        }
        QPixmap face = QPixmap::fromImage(sources_[i]);
        if (transparent_.isValid()) {
            face.setMask(face.createMaskFromColor(transparent_, Qt::MaskInColor));
        }
        faces_[i] = face;
    }
    if (autoSize_ && !sources_[0].isNull()) {
        resize(sources_[0].size());
    }
    updateGeometry();
    update();
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
    const Face face = currentFace();
    const QPixmap& pixmap = faces_[static_cast<int>(face)];
    if (!pixmap.isNull()) {
        if (width() < pixmap.width() || height() < pixmap.height()) {
            // A button made smaller than its face (a dialog shrunk to a small play field)
            // shows the whole face, shrunk with it.
            p.setRenderHint(QPainter::SmoothPixmapTransform, true);
            p.drawPixmap(rect(), pixmap);
        } else {
            p.drawPixmap(0, 0, pixmap);
        }
    }
    if (text().isEmpty()) {
        return;
    }
    p.setFont(font());
    p.setPen(isEnabled() ? captionColour_ : captionColour_.darker(150));
    QRect area = rect();
    if (face == Face::Down) {
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
