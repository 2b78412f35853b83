#include "artwork.h"
#include "core/run_layout.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace artwork {

namespace palette {
const std::array<QColor, 4> ink{QColor(38, 110, 255), QColor(255, 212, 0), QColor(0, 186, 72),
                                QColor(236, 32, 38)};
const QColor card(22, 24, 30);
const QColor cardRim(160, 168, 186);
const QColor figure(246, 246, 240);
const QColor field(46, 53, 66);
const QColor panel(36, 40, 49);
const QColor caption(210, 220, 240);
const QColor keyColour(88, 130, 173);
} // namespace palette

int Layout::px(double v) const {
    return static_cast<int>(std::lround(v * scale));
}

Layout Layout::at(double deviceRatio) const {
    Layout layout = *this;
    layout.ratio = deviceRatio;
    return layout;
}

double Layout::snap(double v) const {
    return std::round(v * ratio) / ratio;
}

const std::array<Layout, 3>& layouts() {
    static const std::array<Layout, 3> all = [] {
        std::array<Layout, 3> l;

        l[0].folder = QStringLiteral("640");
        l[0].scale = 640.0 / 1024.0;
        l[0].playWidth = 640;
        l[0].playHeight = 480;
        l[0].picture = {81, 60};
        l[0].background = {421, 317};
        l[0].screenBorder = 13;
        l[0].screenBottom = 30;
        l[0].plate = {84, 20};
        l[0].counterTop = 3;
        l[0].counterHeight = 13;
        l[0].counterReach = 36;
        l[0].windowBorder = 15;
        l[0].menuFace = {100, 25};
        l[0].gate = {188, 163};
        l[0].logo = {215, 48};
        l[0].menuFontPoints = 8;

        l[1].folder = QStringLiteral("800");
        l[1].scale = 800.0 / 1024.0;
        l[1].playWidth = 800;
        l[1].playHeight = 600;
        l[1].picture = {100, 74};
        l[1].background = {516, 388};
        l[1].screenBorder = 16;
        l[1].screenBottom = 38;
        l[1].plate = {100, 24};
        l[1].counterTop = 4;
        l[1].counterHeight = 16;
        l[1].counterReach = 44;
        l[1].windowBorder = 19;
        l[1].menuFace = {125, 31};
        l[1].gate = {234, 203};
        l[1].logo = {269, 59};
        l[1].menuFontPoints = 10;

        l[2].folder = QStringLiteral("1024");
        l[2].scale = 1.0;
        l[2].playWidth = 1024;
        l[2].playHeight = 768;
        l[2].picture = {127, 93};
        l[2].background = {651, 481};
        l[2].screenBorder = 20;
        l[2].screenBottom = 48;
        l[2].plate = {128, 30};
        l[2].counterTop = 5;
        l[2].counterHeight = 20;
        l[2].counterReach = 56;
        l[2].windowBorder = 24;
        l[2].menuFace = {160, 40};
        l[2].gate = {300, 260};
        l[2].logo = {344, 76};
        l[2].menuFontPoints = 12;

        // The slots of the run screen stand where the run screen places them.
        for (Layout& layout : l) {
            const auto& geometry = quendal::runScreenGeometry(layout.playWidth);
            for (std::size_t i = 0; i < layout.slotPlaces.size(); ++i) {
                layout.slotPlaces[i] = QPoint(geometry.places[i].left, geometry.places[i].top);
            }
        }

        // The user tags: 232 x 100 at 1024, smaller with the play field, so that four stand
        // in a row on the login panel of every layout.
        for (Layout& layout : l) {
            layout.tag = {layout.px(232), layout.px(100)};
        }
        return l;
    }();
    return all;
}

QFont boldFont(double pixelSize) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setBold(true);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixelSize))));
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QPainterPath centredText(const QString& text, const QFont& font, QPointF centre, double ratio) {
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF ink = path.boundingRect();
    // Across by the ink, up and down by the capitals, so that umlauts and descenders do not
    // move a word off the line of the others. Whole device pixels keep stems crisp.
    const double capHeight = QFontMetricsF(font).capHeight();
    const double dx = std::round((centre.x() - ink.center().x()) * ratio) / ratio;
    const double dy = std::round((centre.y() + capHeight / 2) * ratio) / ratio;
    return path.translated(dx, dy);
}

double fittingPixelSize(const QStringList& texts, QSizeF box, double max) {
    for (double size = max; size > 4; size -= 1) {
        bool fits = true;
        for (const QString& text : texts) {
            QPainterPath path;
            path.addText(0, 0, boldFont(size), text);
            const QRectF ink = path.boundingRect();
            if (ink.width() > box.width() || ink.height() > box.height()) {
                fits = false;
                break;
            }
        }
        if (fits) {
            return size;
        }
    }
    return 4;
}

QColor mix(const QColor& a, const QColor& b, double t) {
    const auto lerp = [t](int x, int y) {
        return std::clamp(static_cast<int>(std::lround(x + (y - x) * t)), 0, 255);
    };
    return {lerp(a.red(), b.red()), lerp(a.green(), b.green()), lerp(a.blue(), b.blue()),
            lerp(a.alpha(), b.alpha())};
}

QColor shade(const QColor& c, double factor) {
    if (factor <= 1.0) {
        return mix(QColor(0, 0, 0, c.alpha()), c, factor);
    }
    return mix(c, QColor(255, 255, 255, c.alpha()), factor - 1.0);
}

QSize deviceSize(QSize size, double ratio) {
    return {static_cast<int>(std::lround(size.width() * ratio)),
            static_cast<int>(std::lround(size.height() * ratio))};
}

QImage blank(QSize size, double ratio) {
    QImage image(deviceSize(size, ratio), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    return image;
}

QImage filled(QSize size, const QColor& colour, double ratio) {
    QImage image(deviceSize(size, ratio), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(colour);
    return image;
}

QImage drawFrame(QSize canvas, QMargins borders, const FrameProfile& profile, QRect piece,
                 double ratio) {
    // In device pixels: the canvas, the borders and the piece.
    const auto device = [ratio](int v) { return static_cast<int>(std::lround(v * ratio)); };
    const int w = device(canvas.width());
    const int h = device(canvas.height());
    const std::array<int, 4> thickness{device(borders.left()), device(borders.top()),
                                       device(borders.right()), device(borders.bottom())};
    const std::array<int, 4> logical{borders.left(), borders.top(), borders.right(),
                                     borders.bottom()};
    // A piece at the right or bottom end of the canvas ends where the canvas ends.
    const QSize size = deviceSize(piece.size(), ratio);
    const int left = piece.right() == canvas.width() - 1 ? w - size.width() : device(piece.left());
    const int top = piece.bottom() == canvas.height() - 1 ? h - size.height() : device(piece.top());
    const QRect area(QPoint(left, top), size);
    QImage image(area.size(), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::black);
    constexpr std::array<Side, 4> kSides{Side::Left, Side::Top, Side::Right, Side::Bottom};
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y - area.top()));
        for (int x = area.left(); x <= area.right(); ++x) {
            const std::array<int, 4> depths{x, y, w - 1 - x, h - 1 - y};
            // The side whose border this pixel is relatively deepest outside of wins;
            // this makes the joins run from the outer to the inner corners.
            double best = 2.0;
            int side = -1;
            for (int s = 0; s < 4; ++s) {
                const int d = depths[static_cast<size_t>(s)];
                const int t = thickness[static_cast<size_t>(s)];
                if (t <= 0 || d >= t) {
                    continue;
                }
                const double rel = (d + 0.5) / t;
                if (rel < best) {
                    best = rel;
                    side = s;
                }
            }
            if (side < 0) {
                continue;
            }
            // The band of the profile this device pixel lies in.
            const auto s = static_cast<size_t>(side);
            const int depth =
                std::clamp(static_cast<int>((depths[s] + 0.5) / ratio), 0, logical[s] - 1);
            line[x - area.left()] = profile(kSides[s], depth, logical[s]).rgb();
        }
    }
    return image;
}

void paintButtonBody(QPainter& p, const QRectF& r, double radius, const QColor& base,
                     FaceState state) {
    QColor top = shade(base, 1.22);
    QColor bottom = shade(base, 0.72);
    QColor outline = shade(base, 0.35);
    QColor highlight = shade(base, 1.55);
    switch (state) {
    case FaceState::Normal:
        break;
    case FaceState::Hover:
        top = shade(base, 1.3);
        bottom = shade(base, 0.84);
        highlight = shade(base, 1.7);
        break;
    case FaceState::Pressed:
        top = shade(base, 0.62);
        bottom = shade(base, 0.95);
        highlight = shade(base, 0.55);
        break;
    case FaceState::Disabled: {
        const int grey = qGray(base.rgb());
        const QColor g(grey, grey, grey + 6);
        top = shade(g, 0.9);
        bottom = shade(g, 0.7);
        outline = shade(g, 0.4);
        highlight = shade(g, 1.1);
        break;
    }
    }
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(outline);
    p.drawRoundedRect(r, radius, radius);
    QLinearGradient gradient(r.topLeft(), r.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    const QRectF inner = r.adjusted(1, 1, -1, -1);
    p.setBrush(highlight);
    p.drawRoundedRect(inner, radius - 1, radius - 1);
    p.setBrush(gradient);
    const QRectF body =
        state == FaceState::Pressed ? inner.adjusted(0, 2, 0, 0) : inner.adjusted(0, 1, 0, 0);
    p.drawRoundedRect(body, radius - 1, radius - 1);
    p.restore();
}

QImage keyed(const QImage& image, const QColor& key) {
    const QImage source = image.convertToFormat(QImage::Format_ARGB32);
    QImage out(source.size(), QImage::Format_RGB32);
    out.setDevicePixelRatio(image.devicePixelRatio());
    const QRgb keyRgb = key.rgb();
    for (int y = 0; y < source.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* dst = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            if (qAlpha(in[x]) < 128) {
                dst[x] = keyRgb;
                continue;
            }
            QRgb c = qRgb(qRed(in[x]), qGreen(in[x]), qBlue(in[x]));
            // A face pixel must never turn transparent by chance.
            if (c == keyRgb) {
                c = qRgb(qRed(c), qGreen(c), qBlue(c) - 1);
            }
            dst[x] = c;
        }
    }
    return out;
}

} // namespace artwork
