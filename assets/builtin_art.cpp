// The pieces built into the program itself: the eight bitmaps of the dialog frame, the nine
// dialog button faces and the wrong-answer buzz.

#include "artwork.h"

#include <QPainter>
#include <QPainterPath>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace artwork {

namespace {

// Deep teal that carries the light title text and sets off the bright content panel.
QColor dialogProfile(Side side, int depth, int thickness) {
    const bool lit = side == Side::Left || side == Side::Top;
    if (depth == 0) {
        return {6, 26, 24};
    }
    if (depth == 1) {
        return lit ? QColor(120, 198, 178) : QColor(58, 122, 108);
    }
    if (depth == thickness - 1) {
        return {10, 38, 34};
    }
    if (depth == thickness - 2) {
        return lit ? QColor(22, 66, 58) : QColor(132, 208, 188);
    }
    double u = (depth - 2.0) / std::max(1, thickness - 4);
    if (side == Side::Bottom) {
        u = 1.0 - u;
    } else if (side == Side::Left || side == Side::Right) {
        u = 0.5;
    }
    return mix(QColor(50, 124, 108), QColor(26, 82, 72), u);
}

void paintCloseBox(QPainter& p, QPoint topLeft) {
    const QColor light(200, 250, 230);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box(topLeft.x() + 0.5, topLeft.y() + 0.5, 16, 16);
    p.setPen(QPen(QColor(6, 26, 24), 1));
    p.setBrush(QColor(20, 66, 58));
    p.drawRoundedRect(box, 3, 3);
    p.setPen(QPen(light, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(box.adjusted(1, 1, -1, -1), 2.5, 2.5);
    QPen cross(light, 2.2, Qt::SolidLine, Qt::RoundCap);
    p.setPen(cross);
    const QPointF c = box.center();
    const double r = 3.6;
    p.drawLine(c + QPointF(-r, -r), c + QPointF(r, r));
    p.drawLine(c + QPointF(-r, r), c + QPointF(r, -r));
    p.restore();
}

QImage buttonFace(QSize size, const QColor& base, FaceState state, double ratio) {
    QImage image = blank(size, ratio);
    QPainter p(&image);
    const QRectF r(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);
    paintButtonBody(p, r, std::min(7.0, size.height() * 0.28), base, state);
    p.end();
    return keyed(image, palette::keyColour);
}

} // namespace

QImage dialogFramePiece(int index, double ratio) {
    const QSize canvas(600, 300);
    const QMargins borders(23, 47, 23, 24);
    const int w = canvas.width();
    const int h = canvas.height();
    static constexpr std::array<std::array<int, 4>, kDialogFramePieces> kPieces{{
        {0, 0, 24, 47},      // 0 top-left corner
        {-23, 100, 23, 47},  // 1 right edge tile
        {200, 0, 135, 47},   // 2 top edge tile
        {-135, 0, 135, 47},  // 3 top-right corner with the close box
        {0, -24, 23, 24},    // 4 bottom-left corner
        {200, -24, 159, 24}, // 5 bottom edge tile
        {-23, -24, 23, 24},  // 6 bottom-right corner
        {0, 100, 23, 47},    // 7 left edge tile
    }};
    if (index < 0 || index >= kDialogFramePieces) {
        return {};
    }
    // Negative places count from the right or bottom end of the canvas.
    const auto& piece = kPieces.at(static_cast<size_t>(index));
    const QRect rect(piece[0] < 0 ? w + piece[0] : piece[0], piece[1] < 0 ? h + piece[1] : piece[1],
                     piece[2], piece[3]);
    QImage image = drawFrame(canvas, borders, dialogProfile, rect, ratio);
    if (index == 3) {
        // The close box lies at (client width - 42, 18): 93 pixels into the corner piece.
        QPainter p(&image);
        paintCloseBox(p, QPoint(93, 18));
    }
    return image;
}

QList<QImage> dialogFrame() {
    QList<QImage> pieces;
    for (int i = 0; i < kDialogFramePieces; ++i) {
        pieces << dialogFramePiece(i);
    }
    return pieces;
}

QImage dialogButtonFace(int index, double ratio) {
    const QColor ordinary(36, 96, 124);
    const QColor second(66, 70, 128);
    if (index < 0 || index >= kDialogButtonFaces) {
        return {};
    }
    // Three small ordinary faces, three large ordinary, three large of the second style;
    // normal, highlighted and pressed in each group.
    constexpr std::array<FaceState, 3> kStates{FaceState::Normal, FaceState::Hover,
                                               FaceState::Pressed};
    const FaceState state = kStates.at(static_cast<size_t>(index % 3));
    const QSize size = index < 3 ? QSize(76, 25) : QSize(138, 34);
    return buttonFace(size, index < 6 ? ordinary : second, state, ratio);
}

QList<QImage> dialogButtonFaces() {
    QList<QImage> faces;
    for (int i = 0; i < kDialogButtonFaces; ++i) {
        faces << dialogButtonFace(i);
    }
    return faces;
}

QByteArray wrongSound() {
    // Two falling buzzes, the second lower and longer: band-limited square waves, so the
    // sound is harsh but free of aliasing.
    constexpr int kRate = 22050;
    constexpr int kSamples = 21372 / 2;
    QByteArray bytes(qsizetype{kSamples} * 2, '\0');
    const auto tone = [](double t, double f) {
        double v = 0;
        for (int k = 1; k * f < 5000.0; k += 2) {
            v += std::sin(2 * std::numbers::pi * k * f * t) / k;
        }
        return v * 4 / std::numbers::pi;
    };
    const auto envelope = [](double t, double start, double end) {
        if (t < start || t >= end) {
            return 0.0;
        }
        const double attack = 0.006;
        const double release = 0.04;
        return std::min({1.0, (t - start) / attack, (end - t) / release});
    };
    for (int i = 0; i < kSamples; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double v = envelope(t, 0.0, 0.17) * tone(t, 196.0) +
                         envelope(t, 0.2, kSamples / static_cast<double>(kRate)) *
                             (0.75 * tone(t, 138.6) + 0.25 * tone(t, 146.8));
        const auto sample =
            static_cast<qint16>(std::lround(std::clamp(v * 0.42, -1.0, 1.0) * 32767.0));
        qToLittleEndian<qint16>(sample, bytes.data() + 2 * static_cast<qsizetype>(i));
    }
    return bytes;
}

} // namespace artwork
