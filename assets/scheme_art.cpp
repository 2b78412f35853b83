// The skin of the main window and the run screen: frames, menu button faces, exercise
// gates, user tags, logo, panel background, counter plate, and the splash picture.

#include "artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

namespace artwork {

namespace {

// Brushed steel-blue with a groove along the middle; lit from the top left, the inner edge
// sunk so that the framed area lies a little deeper.
QColor steelProfile(Side side, int depth, int thickness) {
    const bool lit = side == Side::Left || side == Side::Top;
    if (depth == 0) {
        return {8, 10, 14};
    }
    if (depth == 1) {
        return lit ? QColor(124, 138, 164) : QColor(84, 95, 116);
    }
    if (depth == thickness - 1) {
        return {6, 7, 9};
    }
    if (depth == thickness - 2) {
        return lit ? QColor(40, 46, 58) : QColor(132, 146, 172);
    }
    const int groove = thickness / 2;
    if (thickness >= 12 && depth == groove) {
        return {34, 40, 52};
    }
    if (thickness >= 12 && depth == groove + 1) {
        return {98, 112, 136};
    }
    // Across the border: lighter towards the top of the screen.
    double u = (depth - 2.0) / std::max(1, thickness - 4);
    if (side == Side::Bottom) {
        u = 1.0 - u;
    } else if (side == Side::Left || side == Side::Right) {
        u = 0.45;
    }
    const QColor body = mix(QColor(80, 93, 116), QColor(50, 59, 76), u);
    return side == Side::Right ? shade(body, 0.92) : body;
}

// The eight pieces of a frame, cut from one frame drawn around a canvas of three tiles each
// way: corners, and 64-pixel edge tiles from the middle of each edge.
enum class FramePiece { TopLeft, Top, TopRight, Left, Right, BottomLeft, Bottom, BottomRight };

QImage steelPiece(int side, int bottomBorder, FramePiece piece, double ratio) {
    const int tile = 64;
    const QSize canvas(2 * side + 3 * tile, side + bottomBorder + 3 * tile);
    const int w = canvas.width();
    const int h = canvas.height();
    QRect rect;
    switch (piece) {
    case FramePiece::TopLeft:
        rect = QRect(0, 0, side, side);
        break;
    case FramePiece::Top:
        rect = QRect(side + tile, 0, tile, side);
        break;
    case FramePiece::TopRight:
        rect = QRect(w - side, 0, side, side);
        break;
    case FramePiece::Left:
        rect = QRect(0, side + tile, side, tile);
        break;
    case FramePiece::Right:
        rect = QRect(w - side, side + tile, side, tile);
        break;
    case FramePiece::BottomLeft:
        rect = QRect(0, h - bottomBorder, side, bottomBorder);
        break;
    case FramePiece::Bottom:
        rect = QRect(side + tile, h - bottomBorder, tile, bottomBorder);
        break;
    case FramePiece::BottomRight:
        rect = QRect(w - side, h - bottomBorder, side, bottomBorder);
        break;
    }
    return drawFrame(canvas, QMargins(side, side, side, bottomBorder), steelProfile, rect, ratio);
}

const QColor kMenuBase(52, 84, 128);
const QColor kGateBody(40, 46, 60);

QImage menuFace(const Layout& layout, FaceState state) {
    QImage image = filled(layout.menuFace, palette::panel, layout.ratio);
    QPainter p(&image);
    const QRectF r(0.5, 0.5, layout.menuFace.width() - 1.0, layout.menuFace.height() - 1.0);
    paintButtonBody(p, r, std::max(3.0, 7.0 * layout.scale), kMenuBase, state);
    return image;
}

// Plain, so that the logo and every face, which stand on it with its colour in their
// corners, join it without a seam.
QImage panelBackground(const Layout& layout) {
    return filled(layout.panel(), palette::panel, layout.ratio);
}

// Four rounded squares in the four colours, two by two, inside box; a light ring sets them
// off a coloured ground.
void paintColourSquares(QPainter& p, const QRectF& box, bool ring) {
    const double gap = std::round(box.width() * 0.1);
    const double s = (box.width() - gap) / 2;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 4; ++i) {
        const int column = i % 2;
        const int row = i / 2;
        const QRectF r(box.left() + column * (s + gap), box.top() + row * (s + gap), s, s);
        const QColor c = palette::ink[static_cast<size_t>(i)];
        p.setPen(Qt::NoPen);
        if (ring) {
            p.setBrush(QColor(255, 255, 255, 200));
            p.drawRoundedRect(r.adjusted(-2, -2, 2, 2), s * 0.18 + 2, s * 0.18 + 2);
        }
        p.setBrush(shade(c, 0.55));
        p.drawRoundedRect(r, s * 0.18, s * 0.18);
        p.setBrush(c);
        p.drawRoundedRect(r.adjusted(1, 1, -1, -1), s * 0.16, s * 0.16);
    }
    p.restore();
}

// The product name with the four colour squares before it, centred in box.
void paintWordmark(QPainter& p, const QRectF& box, const QColor& textColour, bool ring,
                   double ratio) {
    const double squares = std::round(box.height() * 0.86);
    const QFont font = boldFont(box.height() * 0.74);
    QPainterPath word;
    word.addText(0, 0, font, QStringLiteral("Quendal"));
    const QRectF ink = word.boundingRect();
    const double gap = std::round(box.height() * 0.2);
    const double total = squares + gap + ink.width();
    const double left = std::round(box.center().x() - total / 2);
    paintColourSquares(
        p, QRectF(left, std::round(box.center().y() - squares / 2), squares, squares), ring);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(textColour);
    const QPointF textCentre(left + squares + gap + ink.width() / 2, box.center().y());
    p.drawPath(centredText(QStringLiteral("Quendal"), font, textCentre, ratio));
    p.restore();
}

QImage logo(const Layout& layout) {
    QImage image = filled(layout.logo, palette::panel, layout.ratio);
    QPainter p(&image);
    const QRectF box(0, 0, layout.logo.width(), layout.logo.height());
    paintWordmark(p, box.adjusted(0, box.height() * 0.14, 0, -box.height() * 0.14),
                  palette::caption, false, layout.ratio);
    return image;
}

// A small tile of the gate's picture: a colour patch, or a digit or word on a dark card.
void paintMiniCard(QPainter& p, const QRectF& r, const QColor& face, const QString& text,
                   const QColor& textColour, double fontSize, double ratio) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const double radius = r.height() * 0.14;
    const bool patch = text.isEmpty();
    p.setBrush(patch ? shade(face, 0.55) : palette::cardRim);
    p.drawRoundedRect(r, radius, radius);
    p.setBrush(face);
    p.drawRoundedRect(r.adjusted(1.5, 1.5, -1.5, -1.5), radius - 1, radius - 1);
    if (!patch) {
        p.setBrush(textColour);
        p.drawPath(centredText(text, boldFont(fontSize), r.center(), ratio));
    }
    p.restore();
}

enum class Gate { Colour, Number };

QImage gateFace(const Layout& layout, Gate gate, Language language, FaceState state) {
    const QSize size = layout.gate;
    QImage image = filled(size, palette::panel, layout.ratio);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = layout.scale;
    const QRectF outer(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);
    const double radius = 16 * s;

    QColor rim = QColor(96, 110, 136);
    QColor top = shade(kGateBody, 1.25);
    QColor bottom = shade(kGateBody, 0.8);
    if (state == FaceState::Hover) {
        rim = palette::caption;
        top = shade(kGateBody, 1.32);
        bottom = shade(kGateBody, 0.88);
    } else if (state == FaceState::Pressed) {
        rim = QColor(150, 165, 190);
        top = shade(kGateBody, 0.8);
        bottom = shade(kGateBody, 1.05);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(8, 10, 14));
    p.drawRoundedRect(outer, radius, radius);
    p.setBrush(rim);
    p.drawRoundedRect(outer.adjusted(1, 1, -1, -1), radius - 1, radius - 1);
    QLinearGradient body(outer.topLeft(), outer.bottomLeft());
    body.setColorAt(0, top);
    body.setColorAt(1, bottom);
    p.setBrush(body);
    const double rw = std::max(2.0, std::round(3 * s));
    const QRectF inner = outer.adjusted(1 + rw, 1 + rw, -1 - rw, -1 - rw);
    p.drawRoundedRect(inner, radius - rw, radius - rw);

    const double shift = state == FaceState::Pressed ? 1 : 0;
    // Title band with the name of the exercise and a four-colour or grey stripe under it.
    const double bandHeight = std::round(size.height() * 0.2);
    const QString title =
        gate == Gate::Colour
            ? (language == Language::German ? QStringLiteral("FARBEN") : QStringLiteral("COLORS"))
            : (language == Language::German ? QStringLiteral("ZAHLEN") : QStringLiteral("NUMBERS"));
    const QRectF band(inner.left(), inner.top() + shift, inner.width(), bandHeight);
    p.setBrush(palette::caption);
    p.drawPath(centredText(title, boldFont(bandHeight * 0.5), band.center(), layout.ratio));
    const double stripeTop = std::round(band.bottom());
    const double stripeHeight = std::max(2.0, std::round(4 * s));
    const double stripeLeft = inner.left() + 24 * s;
    const double stripeWidth = inner.width() - 48 * s;
    p.setRenderHint(QPainter::Antialiasing, false);
    for (int i = 0; i < 4; ++i) {
        const QColor c = gate == Gate::Colour ? palette::ink[static_cast<size_t>(i)]
                                              : shade(palette::figure, 0.85 - 0.1 * i);
        p.fillRect(QRectF(stripeLeft + i * stripeWidth / 4, stripeTop + shift, stripeWidth / 4,
                          stripeHeight),
                   c);
    }
    p.setRenderHint(QPainter::Antialiasing);

    // A small play field: four targets around a stimulus.
    const QRectF board(inner.left() + 20 * s, stripeTop + stripeHeight + 10 * s + shift,
                       inner.width() - 40 * s,
                       inner.bottom() - (stripeTop + stripeHeight + 10 * s) - 14 * s);
    const double cellW = board.width() / 3;
    const double cellH = board.height() / 3;
    const double tileH = std::round(cellH * 0.86);
    const double tileW = std::round(std::min(cellW * 0.92, tileH * 1.37));
    const auto cell = [&](int col, int row) {
        const QPointF c(board.left() + (col + 0.5) * cellW, board.top() + (row + 0.5) * cellH);
        return QRectF(std::round(c.x() - tileW / 2), std::round(c.y() - tileH / 2), tileW, tileH);
    };
    const std::array<std::pair<int, int>, 4> places{{{1, 0}, {0, 1}, {2, 1}, {1, 2}}};
    // Faint paths from the stimulus to the targets.
    p.setBrush(shade(kGateBody, 1.45));
    const double track = std::max(2.0, std::round(6 * s));
    p.drawRect(QRectF(cell(0, 1).center().x(), cell(1, 1).center().y() - track / 2,
                      cell(2, 1).center().x() - cell(0, 1).center().x(), track));
    p.drawRect(QRectF(cell(1, 1).center().x() - track / 2, cell(1, 0).center().y(), track,
                      cell(1, 2).center().y() - cell(1, 0).center().y()));
    const double digitSize = tileH * 0.72;
    for (int i = 0; i < 4; ++i) {
        const QRectF r =
            cell(places[static_cast<size_t>(i)].first, places[static_cast<size_t>(i)].second);
        if (gate == Gate::Colour) {
            paintMiniCard(p, r, palette::ink[static_cast<size_t>(i)], QString(), QColor(), 0,
                          layout.ratio);
        } else {
            paintMiniCard(p, r, palette::card, QString::number(i + 1), palette::figure, digitSize,
                          layout.ratio);
        }
    }
    if (gate == Gate::Colour) {
        const QString word =
            language == Language::German ? QStringLiteral("ROT") : QStringLiteral("RED");
        paintMiniCard(p, cell(1, 1), palette::card, word, palette::ink[2], tileH * 0.4,
                      layout.ratio);
    } else {
        paintMiniCard(p, cell(1, 1), palette::card, QStringLiteral("2 2 2"), palette::figure,
                      tileH * 0.42, layout.ratio);
    }
    p.end();
    if (state == FaceState::Disabled) {
        QImage grey =
            image.convertToFormat(QImage::Format_Grayscale8).convertToFormat(QImage::Format_RGB32);
        grey.setDevicePixelRatio(image.devicePixelRatio());
        return grey;
    }
    return image;
}

// A luggage tag hanging from its eyelet: a coloured band with chamfered corners on top, and
// a dark name field in the middle of the face, where the button centres its caption.
QImage tagFace(const Layout& layout, int colourIndex, bool lit) {
    const QSize size = layout.tag;
    QImage image = filled(size, palette::panel, layout.ratio);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor colour = palette::ink[static_cast<size_t>(colourIndex)];
    const double w = size.width();
    const double h = size.height();
    const double k = layout.scale;
    const double chamfer = 18 * k;
    const double radius = 8 * k;
    const auto shape = [&](double inset) {
        QPainterPath path;
        const double l = 0.5 + inset;
        const double t = 0.5 + inset;
        const double r = w - 0.5 - inset;
        const double b = h - 0.5 - inset;
        const double c = chamfer - inset * 0.41;
        const double rr = std::max(1.0, radius - inset);
        path.moveTo(l + c, t);
        path.lineTo(r - c, t);
        path.lineTo(r, t + c);
        path.lineTo(r, b - rr);
        path.quadTo(r, b, r - rr, b);
        path.lineTo(l + rr, b);
        path.quadTo(l, b, l, b - rr);
        path.lineTo(l, t + c);
        path.closeSubpath();
        return path;
    };
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(8, 10, 14));
    p.drawPath(shape(0));
    p.setBrush(lit ? shade(colour, 1.25) : colour);
    p.drawPath(shape(1));
    QLinearGradient body(0, 0, 0, h);
    const QColor base = lit ? QColor(64, 72, 90) : QColor(48, 54, 68);
    body.setColorAt(0, shade(base, 1.15));
    body.setColorAt(1, shade(base, 0.85));
    p.setBrush(body);
    p.drawPath(shape(3));
    // The coloured band with the eyelet.
    const double band = 24 * k;
    p.save();
    p.setClipPath(shape(3));
    p.setBrush(lit ? shade(colour, 1.12) : shade(colour, 0.92));
    p.drawRect(QRectF(0, 0, w, band));
    p.setBrush(shade(colour, 0.5));
    p.drawRect(QRectF(0, band, w, 1.5));
    p.restore();
    const QPointF eye(w / 2, band / 2 + 1);
    p.setBrush(QColor(8, 10, 14));
    p.drawEllipse(eye, 8.5 * k, 8.5 * k);
    p.setBrush(QColor(196, 204, 218));
    p.drawEllipse(eye, 7.5 * k, 7.5 * k);
    p.setBrush(QColor(120, 130, 148));
    p.drawEllipse(eye, 5 * k, 5 * k);
    p.setBrush(palette::panel);
    p.drawEllipse(eye, 4 * k, 4 * k);
    // The name field, centred on the face.
    const QRectF field(std::round(14 * k) + 0.5, std::round(h / 2 - 18 * k) + 0.5,
                       w - 2 * std::round(14 * k) - 1, std::round(35 * k));
    p.setBrush(lit ? QColor(34, 38, 48) : QColor(26, 29, 37));
    p.setPen(QPen(lit ? shade(colour, 1.1) : QColor(92, 102, 124), 1));
    p.drawRoundedRect(field, 5 * k, 5 * k);
    return image;
}

QImage counterPlate(const Layout& layout) {
    const QSize size = layout.plate;
    QImage image = filled(size, Qt::black, layout.ratio);
    QPainter p(&image);
    const QRect all(QPoint(0, 0), size);
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, QColor(132, 146, 170));
    g.setColorAt(1, QColor(84, 96, 118));
    p.fillRect(all, g);
    p.setPen(QColor(8, 10, 14));
    p.drawRect(all.adjusted(0, 0, -1, -1));
    p.setPen(QColor(176, 188, 208));
    p.drawLine(1, 1, size.width() - 2, 1);
    p.drawLine(1, 1, 1, size.height() - 2);
    p.setPen(QColor(60, 70, 88));
    p.drawLine(2, size.height() - 2, size.width() - 2, size.height() - 2);
    p.drawLine(size.width() - 2, 2, size.width() - 2, size.height() - 2);
    // The display window behind the two counters, which have a black ground.
    const int mid = size.width() / 2;
    const QRect window(mid - layout.counterReach, layout.counterTop - 2, 2 * layout.counterReach,
                       layout.counterHeight + 4);
    p.fillRect(window, Qt::black);
    p.setPen(QColor(40, 46, 58));
    p.drawLine(window.topLeft(), window.topRight());
    p.drawLine(window.topLeft(), window.bottomLeft());
    p.setPen(QColor(188, 200, 220));
    p.drawLine(window.bottomLeft() + QPoint(0, 1), window.bottomRight() + QPoint(1, 1));
    p.drawLine(window.topRight() + QPoint(1, 0), window.bottomRight() + QPoint(1, 1));
    p.setPen(QColor(44, 48, 56));
    p.drawLine(mid, window.top() + 3, mid, window.bottom() - 3);
    return image;
}

} // namespace

SchemeArt::SchemeArt(const Layout& layout, Language language)
    : layout_(layout), language_(language) {}

QImage SchemeArt::picture(int index, double ratio) const {
    const Layout layout = layout_.at(ratio);
    const int window = layout.windowBorder;
    const auto windowPiece = [&](FramePiece piece) {
        return steelPiece(window, window, piece, ratio);
    };
    const auto screenPiece = [&](FramePiece piece) {
        return steelPiece(layout.screenBorder, layout.screenBottom, piece, ratio);
    };
    switch (index) {
    case 0: // the size of every menu button
    case 3: // menu faces 3, 4, 5
        return menuFace(layout, FaceState::Normal);
    case 1:
        return menuFace(layout, FaceState::Disabled);
    case 2:
    case 4:
        return menuFace(layout, FaceState::Hover);
    case 5:
        return menuFace(layout, FaceState::Pressed);
    case 6:
        return windowPiece(FramePiece::Left);
    case 7:
        return windowPiece(FramePiece::BottomRight);
    case 8:
        return windowPiece(FramePiece::Top);
    case 9:
        return windowPiece(FramePiece::TopLeft);
    case 10:
        return windowPiece(FramePiece::TopRight);
    case 11:
        return logo(layout);
    case 12:
        return windowPiece(FramePiece::Right);
    case 13:
        return windowPiece(FramePiece::Bottom);
    case 14:
        return windowPiece(FramePiece::BottomLeft);
    case 15:
        return panelBackground(layout);
    case 16: // Tor1: 16, 17
        return gateFace(layout, Gate::Colour, language_, FaceState::Normal);
    case 17:
        return gateFace(layout, Gate::Colour, language_, FaceState::Hover);
    case 18: // 18 to 21 spare
        return gateFace(layout, Gate::Colour, language_, FaceState::Pressed);
    case 19:
        return gateFace(layout, Gate::Colour, language_, FaceState::Disabled);
    case 20:
        return gateFace(layout, Gate::Number, language_, FaceState::Pressed);
    case 21:
        return gateFace(layout, Gate::Number, language_, FaceState::Disabled);
    case 22: // Tor2: 22, 23
        return gateFace(layout, Gate::Number, language_, FaceState::Normal);
    case 23:
        return gateFace(layout, Gate::Number, language_, FaceState::Hover);
    case 24:
        return screenPiece(FramePiece::TopLeft);
    case 25:
        return screenPiece(FramePiece::Right);
    case 26:
        return screenPiece(FramePiece::BottomLeft);
    case 27:
        return screenPiece(FramePiece::TopRight);
    case 28:
        return screenPiece(FramePiece::Left);
    case 29:
        return screenPiece(FramePiece::BottomRight);
    case 30:
        return screenPiece(FramePiece::Bottom);
    case 31:
        return screenPiece(FramePiece::Top);
    case 32:
        return counterPlate(layout);
    default:
        break;
    }
    if (index >= 33 && index <= 40) {
        // Tags: Key4 (red), Key1 (blue), Key2 (yellow), Key3 (green), two faces each.
        constexpr std::array<int, 4> kColours{3, 0, 1, 2};
        const int tag = (index - 33) / 2;
        return tagFace(layout, kColours.at(static_cast<size_t>(tag)), (index - 33) % 2 == 1);
    }
    return {};
}

QList<QImage> schemePictures(const Layout& layout, Language language) {
    const SchemeArt art(layout, language);
    QList<QImage> list;
    for (int i = 0; i < SchemeArt::kCount; ++i) {
        list << art.picture(i);
    }
    return list;
}

QImage splashPicture(double ratio) {
    QImage image = filled(QSize(515, 302), Qt::black, ratio);
    const QRect all(0, 0, 515, 302);
    QPainter p(&image);
    QLinearGradient g(0, 0, 0, 302);
    g.setColorAt(0, QColor(28, 78, 196));
    g.setColorAt(1, QColor(12, 38, 112));
    p.fillRect(all, g);
    QRadialGradient glow(QPointF(257, 120), 260);
    glow.setColorAt(0, QColor(255, 255, 255, 40));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(all, glow);
    paintWordmark(p, QRectF(0, 92, 515, 84), Qt::white, true, ratio);
    p.setRenderHint(QPainter::Antialiasing, false);
    for (int i = 0; i < 4; ++i) {
        p.fillRect(QRect(97 + i * 80, 210, 80, 5), palette::ink[static_cast<size_t>(i)]);
    }
    p.setPen(QColor(6, 18, 60));
    p.drawRect(all.adjusted(0, 0, -1, -1));
    p.setPen(QColor(110, 150, 235));
    p.drawRect(all.adjusted(1, 1, -2, -2));
    return image;
}

} // namespace artwork
