#include "toolkit/bitmap_panel.h"

#include "toolkit/bitmap_list.h"
#include "toolkit/device_pixels.h"

#include <QPaintEvent>
#include <QPainter>
#include <QRegion>

namespace quendal {

BitmapPanel::BitmapPanel(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void BitmapPanel::setBitmap(const QPixmap& bitmap) {
    bitmap_ = bitmap;
    plain_ = QRect();
    update();
}

void BitmapPanel::setBitmap(const BitmapList& list, int index) {
    if (const std::optional<QColor> colour = list.plainColour(index)) {
        bitmap_ = QPixmap();
        plain_ = QRect(QPoint(0, 0), list.size(index));
        plainColour_ = *colour;
        update();
        return;
    }
    setBitmap(list.pixmap(index, devicePixelRatioF()));
}

void BitmapPanel::setBitmap(const QImage& bitmap) {
    setBitmap(QPixmap::fromImage(bitmap));
}

void BitmapPanel::setColor(const QColor& colour) {
    colour_ = colour;
    update();
}

void BitmapPanel::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    // Each pixel once: the panel's colour only where the plain picture does not lie.
    for (const QRect& part : event->region() - plain_) {
        p.fillRect(part, colour_);
    }
    if (!plain_.isEmpty()) {
        p.fillRect(plain_.intersected(event->rect()), plainColour_);
    }
    paintPicture(p, QPointF(0, 0), bitmap_);
}

} // namespace quendal
