#include "toolkit/device_pixels.h"

#include <QPaintDevice>
#include <QPainter>
#include <cmath>

namespace quendal {
namespace {

// True when the pixmap was made for the pixels of the painter's device.
bool madeForDevice(const QPainter& painter, const QPixmap& pixmap) {
    const QPaintDevice* device = painter.device();
    const double ratio = device != nullptr ? device->devicePixelRatio() : 1.0;
    return std::abs(pixmap.devicePixelRatio() - ratio) < 1e-6 && std::abs(ratio - 1.0) > 1e-6 &&
           painter.deviceTransform().type() <= QTransform::TxScale;
}

QPoint devicePoint(const QPainter& painter, QPointF at) {
    const QPointF d = painter.deviceTransform().map(at);
    return {static_cast<int>(std::lround(d.x())), static_cast<int>(std::lround(d.y()))};
}

// Lets the painter's units be the device's pixels, with its origin on device pixel origin.
void paintInDevicePixels(QPainter& painter, QPoint origin) {
    const QTransform base = painter.worldTransform().inverted() * painter.deviceTransform();
    painter.setWorldTransform(QTransform::fromTranslate(origin.x(), origin.y()) * base.inverted());
}

int devicePixels(double logical, double ratio) {
    return static_cast<int>(std::lround(logical * ratio));
}

} // namespace

QSize logicalSize(const QPixmap& pixmap) {
    const QSizeF size = pixmap.deviceIndependentSize();
    return {static_cast<int>(std::lround(size.width())),
            static_cast<int>(std::lround(size.height()))};
}

void paintPicture(QPainter& painter, QPointF at, const QPixmap& pixmap) {
    if (pixmap.isNull()) {
        return;
    }
    if (!madeForDevice(painter, pixmap)) {
        painter.drawPixmap(at, pixmap);
        return;
    }
    painter.save();
    paintInDevicePixels(painter, devicePoint(painter, at));
    painter.drawPixmap(QRectF(QPointF(0, 0), pixmap.size()), pixmap,
                       QRectF(QPointF(0, 0), pixmap.size()));
    painter.restore();
}

void paintPicture(QPainter& painter, QPointF at, const QPixmap& pixmap, QSize part) {
    if (pixmap.isNull() || part.isEmpty()) {
        return;
    }
    if (!madeForDevice(painter, pixmap)) {
        const double ratio = pixmap.devicePixelRatio();
        painter.drawPixmap(QRectF(at, QSizeF(part)), pixmap,
                           QRectF(0, 0, part.width() * ratio, part.height() * ratio));
        return;
    }
    const double ratio = pixmap.devicePixelRatio();
    const QSize device(std::min(pixmap.width(), devicePixels(part.width(), ratio)),
                       std::min(pixmap.height(), devicePixels(part.height(), ratio)));
    painter.save();
    paintInDevicePixels(painter, devicePoint(painter, at));
    painter.drawPixmap(QRectF(QPointF(0, 0), device), pixmap, QRectF(QPointF(0, 0), device));
    painter.restore();
}

void tilePicture(QPainter& painter, const QRectF& area, const QPixmap& pixmap, QSize tile) {
    if (pixmap.isNull() || area.isEmpty()) {
        return;
    }
    const double ratio = pixmap.devicePixelRatio();
    // The tile in the pixmap's pixels.
    QSizeF source = tile.isEmpty()
                        ? QSizeF(pixmap.size())
                        : QSizeF(std::min(pixmap.width(), devicePixels(tile.width(), ratio)),
                                 std::min(pixmap.height(), devicePixels(tile.height(), ratio)));
    painter.save();
    QRectF region = area;
    double unit = ratio; // pixmap pixels per unit of the painter
    if (madeForDevice(painter, pixmap)) {
        // Laid in device pixels from the corner of the area, so that neighbours meet without
        // a gap or a seam whatever the ratio.
        const QPoint from = devicePoint(painter, area.topLeft());
        const QPoint to = devicePoint(painter, area.bottomRight());
        paintInDevicePixels(painter, from);
        region = QRectF(0, 0, to.x() - from.x(), to.y() - from.y());
        unit = 1.0;
    }
    const QSizeF step = source / unit;
    for (double y = region.top(); y < region.bottom(); y += step.height()) {
        const double h = std::min(step.height(), region.bottom() - y);
        for (double x = region.left(); x < region.right(); x += step.width()) {
            const double w = std::min(step.width(), region.right() - x);
            painter.drawPixmap(QRectF(x, y, w, h), pixmap, QRectF(0, 0, w * unit, h * unit));
        }
    }
    painter.restore();
}

} // namespace quendal
