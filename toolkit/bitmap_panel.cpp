#include "toolkit/bitmap_panel.h"

#include "toolkit/device_pixels.h"

#include <QPaintEvent>
#include <QPainter>

namespace quendal {

BitmapPanel::BitmapPanel(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void BitmapPanel::setBitmap(const QPixmap& bitmap) {
    bitmap_ = bitmap;
    update();
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
    p.fillRect(event->rect(), colour_);
    paintPicture(p, QPointF(0, 0), bitmap_);
}

} // namespace quendal
