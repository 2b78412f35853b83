// The program's icon: the four colour squares of the logo on a blue tile, drawn from one
// list of shapes both as pictures of any size and as a scalable SVG, so the two agree.

#include "artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <vector>

namespace artwork {

namespace {

constexpr double kCanvas = 256; // the icon's own units

// A rounded rectangle filled with a vertical gradient from top to bottom (equal: one
// colour).
struct Shape {
    QRectF rect;
    double radius;
    QColor top;
    QColor bottom;
};

std::vector<Shape> iconShapes() {
    std::vector<Shape> shapes;
    shapes.push_back({QRectF(8, 8, 240, 240), 44, QColor(28, 78, 196), QColor(12, 38, 112)});
    constexpr double kBox = 48;
    constexpr double kGap = 16;
    constexpr double kSide = (kCanvas - 2 * kBox - kGap) / 2;
    for (int i = 0; i < 4; ++i) {
        const int column = i % 2;
        const int row = i / 2;
        const QRectF r(kBox + column * (kSide + kGap), kBox + row * (kSide + kGap), kSide, kSide);
        const QColor c = palette::ink[static_cast<size_t>(i)];
        const QColor ring(255, 255, 255, 210);
        shapes.push_back({r.adjusted(-5, -5, 5, 5), 18, ring, ring});
        shapes.push_back({r, 13, shade(c, 0.55), shade(c, 0.55)});
        shapes.push_back({r.adjusted(4, 4, -4, -4), 10, shade(c, 1.15), c});
    }
    return shapes;
}

QString number(double v) {
    return QString::number(v, 'g', 6);
}

QString svgColour(const QColor& c) {
    return c.name(QColor::HexRgb);
}

} // namespace

QImage programIcon(int size) {
    QImage image = blank(QSize(size, size));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / kCanvas, size / kCanvas);
    p.setPen(Qt::NoPen);
    for (const Shape& s : iconShapes()) {
        QLinearGradient fill(s.rect.topLeft(), s.rect.bottomLeft());
        fill.setColorAt(0, s.top);
        fill.setColorAt(1, s.bottom);
        p.setBrush(fill);
        p.drawRoundedRect(s.rect, s.radius, s.radius);
    }
    return image;
}

QByteArray programIconSvg() {
    QString defs;
    QString body;
    int gradients = 0;
    for (const Shape& s : iconShapes()) {
        QString fill = svgColour(s.top);
        if (s.top != s.bottom) {
            const QString id = QStringLiteral("g%1").arg(++gradients);
            defs += QStringLiteral("<linearGradient id=\"%1\" x1=\"0\" y1=\"0\" x2=\"0\" "
                                   "y2=\"1\"><stop offset=\"0\" stop-color=\"%2\"/><stop "
                                   "offset=\"1\" stop-color=\"%3\"/></linearGradient>\n")
                        .arg(id, svgColour(s.top), svgColour(s.bottom));
            fill = QStringLiteral("url(#%1)").arg(id);
        }
        QString opacity;
        if (s.top.alpha() != 255) {
            opacity = QStringLiteral(" fill-opacity=\"%1\"").arg(number(s.top.alphaF()));
        }
        body += QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\" "
                               "fill=\"%6\"%7/>\n")
                    .arg(number(s.rect.x()), number(s.rect.y()), number(s.rect.width()),
                         number(s.rect.height()), number(s.radius), fill, opacity);
    }
    const QString svg =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" "
                       "viewBox=\"0 0 %1 %1\">\n<defs>\n%2</defs>\n%3</svg>\n")
            .arg(number(kCanvas), defs, body);
    return svg.toUtf8();
}

} // namespace artwork
