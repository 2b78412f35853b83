// The exercise pictures: colour patches, digits, colour words, words in every ink, groups of
// dots and of equal digits, and the play-field background. All stimulus and target pictures
// of a layout share one size, so any of them fits any slot.

#include "artwork.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <vector>

namespace artwork {

namespace {

// The places of the items of a group, in unit coordinates of the free area of the card
// (0 = as far left or up as the item fits, 1 = as far right or down). Three arrangements
// for each count 1 to 4.
using Arrangement = std::vector<QPointF>;
const std::array<std::array<Arrangement, 3>, 4>& arrangements() {
    static const std::array<std::array<Arrangement, 3>, 4> all{{
        {{{{0.5, 0.5}}, {{0.12, 0.15}}, {{0.88, 0.85}}}},
        {{{{0.18, 0.5}, {0.82, 0.5}}, {{0.5, 0.0}, {0.5, 1.0}}, {{0.2, 0.05}, {0.8, 0.95}}}},
        {{{{0.0, 0.5}, {0.5, 0.5}, {1.0, 0.5}},
          {{0.5, 0.0}, {0.18, 1.0}, {0.82, 1.0}},
          {{0.1, 0.0}, {0.5, 0.5}, {0.9, 1.0}}}},
        {{{{0.0, 0.5}, {1.0 / 3, 0.5}, {2.0 / 3, 0.5}, {1.0, 0.5}},
          {{0.28, 0.0}, {0.72, 0.0}, {0.28, 1.0}, {0.72, 1.0}},
          {{0.5, 0.0}, {0.12, 0.5}, {0.88, 0.5}, {0.5, 1.0}}}},
    }};
    return all;
}

struct CardGeometry {
    QRectF outer;  // the card inside the picture (the picture's corners stay clear)
    double radius; // corner radius
    double rim;    // rim width
    double margin; // free space between rim and content
};

CardGeometry cardGeometry(const Layout& layout) {
    CardGeometry g;
    const double inset = 0.5; // half-pixel inset keeps the outline crisp
    g.outer = QRectF(QPointF(inset, inset), QSizeF(layout.picture.width() - 2 * inset,
                                                   layout.picture.height() - 2 * inset));
    g.radius = std::max(4.0, 9.0 * layout.scale);
    g.rim = std::max(1.0, std::round(2.0 * layout.scale));
    g.margin = std::max(4.0, std::round(7.0 * layout.scale));
    return g;
}

// The free area inside the rim.
QRectF contentArea(const CardGeometry& g) {
    const double m = g.rim + g.margin;
    return g.outer.adjusted(m, m, -m, -m);
}

// The centres of an arrangement for items of the given size.
std::vector<QPointF> placeItems(const Arrangement& unit, QRectF area, QSizeF item) {
    std::vector<QPointF> centres;
    const double spanX = area.width() - item.width();
    const double spanY = area.height() - item.height();
    for (const QPointF& u : unit) {
        centres.emplace_back(area.left() + item.width() / 2 + u.x() * spanX,
                             area.top() + item.height() / 2 + u.y() * spanY);
    }
    return centres;
}

// True when items of this size fit every arrangement with at least gap between any two.
bool itemsFit(QRectF area, QSizeF item, double gap) {
    if (item.width() > area.width() || item.height() > area.height()) {
        return false;
    }
    for (const auto& forCount : arrangements()) {
        for (const Arrangement& unit : forCount) {
            const auto centres = placeItems(unit, area, item);
            for (size_t a = 0; a < centres.size(); ++a) {
                for (size_t b = a + 1; b < centres.size(); ++b) {
                    const double dx = std::abs(centres[a].x() - centres[b].x());
                    const double dy = std::abs(centres[a].y() - centres[b].y());
                    if (dx < item.width() + gap && dy < item.height() + gap) {
                        return false;
                    }
                }
            }
        }
    }
    return true;
}

void paintCard(QPainter& p, const CardGeometry& g, const QColor& face, const QColor& rim) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(rim);
    p.drawRoundedRect(g.outer, g.radius, g.radius);
    p.setBrush(face);
    const QRectF inner = g.outer.adjusted(g.rim, g.rim, -g.rim, -g.rim);
    p.drawRoundedRect(inner, g.radius - g.rim, g.radius - g.rim);
}

// Cards are opaque; their rounded corners show the colour of the field they stand on.
QImage darkCard(const Layout& layout) {
    QImage image = filled(layout.picture, palette::field, layout.ratio);
    QPainter p(&image);
    paintCard(p, cardGeometry(layout), palette::card, palette::cardRim);
    return image;
}

QImage colourPatch(const Layout& layout, int index) {
    QImage image = filled(layout.picture, palette::field, layout.ratio);
    QPainter p(&image);
    const CardGeometry g = cardGeometry(layout);
    const QColor colour = palette::ink[static_cast<size_t>(index)];
    paintCard(p, g, colour, shade(colour, 0.55));
    // A light line just inside the rim gives the patch a finished edge.
    const QRectF inner = g.outer.adjusted(g.rim, g.rim, -g.rim, -g.rim);
    p.setPen(QPen(shade(colour, 1.25), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(inner.adjusted(0.5, 0.5, -0.5, -0.5), g.radius - g.rim - 0.5,
                      g.radius - g.rim - 0.5);
    return image;
}

QImage textCard(const Layout& layout, const QString& text, const QFont& font,
                const QColor& colour) {
    QImage image = darkCard(layout);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    const QRectF area = contentArea(cardGeometry(layout));
    p.drawPath(centredText(text, font, area.center(), layout.ratio));
    return image;
}

struct GroupStyle {
    QSizeF item;
    QFont font; // for digits
};

GroupStyle dotStyle(const Layout& layout) {
    const QRectF area = contentArea(cardGeometry(layout));
    const double gap = std::max(5.0, 9.0 * layout.scale);
    double d = std::floor(std::min(area.width(), area.height()));
    while (d > 3 && !itemsFit(area, QSizeF(d, d), gap)) {
        d -= 1;
    }
    return {QSizeF(d, d), QFont()};
}

QSizeF digitInk(const QFont& font) {
    QSizeF box;
    for (const QString& digit :
         {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")}) {
        QPainterPath path;
        path.addText(0, 0, font, digit);
        box = box.expandedTo(path.boundingRect().size());
    }
    return box;
}

GroupStyle digitStyle(const Layout& layout) {
    const QRectF area = contentArea(cardGeometry(layout));
    const double gap = std::max(5.0, 9.0 * layout.scale);
    double size = area.height();
    while (size > 6 && !itemsFit(area, digitInk(boldFont(size)), gap)) {
        size -= 1;
    }
    const QFont font = boldFont(size);
    return {digitInk(font), font};
}

QImage dotGroup(const Layout& layout, const GroupStyle& style, int count, int arrangement) {
    QImage image = darkCard(layout);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(palette::figure);
    const QRectF area = contentArea(cardGeometry(layout));
    const auto& unit =
        arrangements()[static_cast<size_t>(count - 1)][static_cast<size_t>(arrangement)];
    const double half = 2 * layout.ratio;
    for (const QPointF& c : placeItems(unit, area, style.item)) {
        const QPointF centre(std::round(c.x() * half) / half, std::round(c.y() * half) / half);
        p.drawEllipse(centre, style.item.width() / 2, style.item.height() / 2);
    }
    return image;
}

QImage digitGroup(const Layout& layout, const GroupStyle& style, int digit, int count,
                  int arrangement) {
    QImage image = darkCard(layout);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(palette::figure);
    const QRectF area = contentArea(cardGeometry(layout));
    const auto& unit =
        arrangements()[static_cast<size_t>(count - 1)][static_cast<size_t>(arrangement)];
    for (const QPointF& c : placeItems(unit, area, style.item)) {
        p.drawPath(centredText(QString::number(digit), style.font, c, layout.ratio));
    }
    return image;
}

// The play field: a calm slate surface with a lighter cross along which the stimulus
// travels, and a fine ring around each of the four target places.
QImage background(const Layout& layout) {
    QImage image = filled(layout.background, palette::field, layout.ratio);
    QPainter p(&image);
    const QSize pic = layout.picture;
    const auto slotRect = [&](int i) {
        return QRect(layout.slotPlaces[static_cast<size_t>(i)], pic);
    };
    const QColor track = shade(palette::field, 1.07);
    const int half = std::max(5, layout.px(11));
    const QPoint top = slotRect(0).center();
    const QPoint left = slotRect(1).center();
    const QPoint right = slotRect(2).center();
    const QPoint bottom = slotRect(3).center();
    p.fillRect(QRect(QPoint(left.x(), left.y() - half), QPoint(right.x(), left.y() + half)), track);
    p.fillRect(QRect(QPoint(top.x() - half, top.y()), QPoint(top.x() + half, bottom.y())), track);

    p.setRenderHint(QPainter::Antialiasing);
    const double radius = std::max(4.0, 9.0 * layout.scale) + 2;
    p.setPen(QPen(shade(palette::field, 1.32), 1.0));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 4; ++i) {
        const QRectF ring = QRectF(slotRect(i)).adjusted(-1.5, -1.5, 1.5, 1.5);
        p.drawRoundedRect(ring, radius, radius);
    }
    // The edge of the field: a dark line outside, a light one inside.
    p.setRenderHint(QPainter::Antialiasing, false);
    const QRect all(QPoint(0, 0), layout.background);
    p.setPen(shade(palette::field, 0.45));
    p.drawRect(all.adjusted(0, 0, -1, -1));
    p.setPen(shade(palette::field, 1.25));
    p.drawRect(all.adjusted(1, 1, -2, -2));
    return image;
}

} // namespace

struct ExerciseArt::Styles {
    QStringList words;
    QFont wordFont;
    QFont digitFont;
    GroupStyle dots;
    GroupStyle digits;
};

ExerciseArt::ExerciseArt(const Layout& layout, Language language) : layout_(layout) {
    auto styles = std::make_shared<Styles>();
    styles->words = language == Language::German
                        ? QStringList{QStringLiteral("BLAU"), QStringLiteral("GELB"),
                                      QStringLiteral("GRÜN"), QStringLiteral("ROT")}
                        : QStringList{QStringLiteral("BLUE"), QStringLiteral("YELLOW"),
                                      QStringLiteral("GREEN"), QStringLiteral("RED")};
    const QRectF area = contentArea(cardGeometry(layout));
    styles->wordFont =
        boldFont(fittingPixelSize(styles->words, area.size() - QSizeF(8 * layout.scale, 0),
                                  std::floor(area.height() * 0.72)));
    styles->digitFont = boldFont(std::floor(area.height() * 1.05));
    styles->dots = dotStyle(layout);
    styles->digits = digitStyle(layout);
    styles_ = std::move(styles);
}

QImage ExerciseArt::picture(int index, double ratio) const {
    const Layout layout = layout_.at(ratio);
    const Styles& s = *styles_;
    if (index >= 0 && index < 4) {
        return colourPatch(layout, index);
    }
    if (index >= 4 && index < 8) {
        return textCard(layout, QString::number(index - 3), s.digitFont, palette::figure);
    }
    if (index >= 8 && index < 12) {
        return textCard(layout, s.words[index - 8], s.wordFont, palette::figure);
    }
    if (index >= 12 && index < 28) {
        // Word m in ink i at 12 + 4 (m - 1) + (i - 1).
        const int word = (index - 12) / 4;
        const int ink = (index - 12) % 4;
        return textCard(layout, s.words[word], s.wordFont, palette::ink[static_cast<size_t>(ink)]);
    }
    if (index >= 28 && index < 40) {
        // n dots in arrangement j at 28 + 3 (n - 1) + j.
        return dotGroup(layout, s.dots, (index - 28) / 3 + 1, (index - 28) % 3);
    }
    if (index >= 40 && index < 88) {
        // n digits d in arrangement j at 40 + 12 (d - 1) + 3 (n - 1) + j.
        const int k = index - 40;
        return digitGroup(layout, s.digits, k / 12 + 1, (k % 12) / 3 + 1, k % 3);
    }
    if (index == 88) {
        return background(layout);
    }
    return {};
}

QList<QImage> exercisePictures(const Layout& layout, Language language) {
    const ExerciseArt art(layout, language);
    QList<QImage> list;
    for (int i = 0; i < ExerciseArt::kCount; ++i) {
        list << art.picture(i);
    }
    return list;
}

} // namespace artwork
