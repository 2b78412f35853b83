#pragma once
// Painting pictures made for the pixels of a scaled screen. A pixmap whose device pixel
// ratio is that of the device it is painted on is painted pixel for pixel, its corner on the
// device pixel nearest to its place, so that nothing is scaled or filtered on the way; any
// other pixmap is painted as QPainter paints it (scaled by the device's ratio).

#include <QPixmap>
#include <QPointF>
#include <QRectF>
#include <QSize>

class QPainter;

namespace quendal {

// The logical size of a pixmap: its pixels divided by its ratio, to the nearest whole pixel.
QSize logicalSize(const QPixmap& pixmap);

// Paints the pixmap with its top-left corner at `at` (logical).
void paintPicture(QPainter& painter, QPointF at, const QPixmap& pixmap);
// The same, only the top-left part of the given logical size.
void paintPicture(QPainter& painter, QPointF at, const QPixmap& pixmap, QSize part);
// Covers `area` (logical) with copies of the pixmap laid from its top-left corner, those at
// its right and bottom ends cut to what is left. A tile size (logical) takes only that
// top-left part of the pixmap as the tile.
void tilePicture(QPainter& painter, const QRectF& area, const QPixmap& pixmap, QSize tile = {});

} // namespace quendal
