// Renders the generated artwork for a look by eye: one sheet per bitmap list with every
// entry and its index, and previews of the run screen, the main window (login and menu) and
// a framed dialog put together from the pieces as the screens put them together.
//   quendal_contact_sheet <DATA folder> <built-in folder> <output folder>

#include "core/main_layout.h"
#include "core/run_layout.h"
#include "toolkit/bitmap_list.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

using quendal::BitmapList;

namespace {

QFont labelFont(int px, bool bold = true) {
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(px);
    f.setBold(bold);
    return f;
}

// Every entry with its index and size: the small ones in a grid, the large ones (panels,
// backgrounds) at full size below it.
QImage sheet(const BitmapList& list, const QString& title) {
    const int columns = 8;
    const QSize limit(360, 280);
    QSize cell;
    std::vector<int> small;
    std::vector<int> large;
    for (int i = 0; i < list.count(); ++i) {
        const QSize s = list.image(i).size();
        if (s.width() <= limit.width() && s.height() <= limit.height()) {
            small.push_back(i);
            cell = cell.expandedTo(s);
        } else {
            large.push_back(i);
        }
    }
    cell += QSize(16, 30);
    const int rows = (static_cast<int>(small.size()) + columns - 1) / columns;
    int width = columns * cell.width() + 16;
    int height = rows * cell.height() + 50;
    for (const int i : large) {
        width = std::max(width, list.image(i).width() + 24);
        height += list.image(i).height() + 30;
    }
    QImage out(width, height, QImage::Format_RGB32);
    out.fill(QColor(96, 96, 100));
    QPainter p(&out);
    p.setFont(labelFont(18));
    p.setPen(Qt::white);
    p.drawText(12, 30, title);
    const auto label = [&](int i, int x, int y) {
        const QImage& img = list.image(i);
        p.setFont(labelFont(12));
        p.setPen(QColor(255, 255, 160));
        p.drawText(x + 4, y + 14,
                   QStringLiteral("%1  %2x%3").arg(i).arg(img.width()).arg(img.height()));
        p.drawImage(x + 4, y + 20, img);
    };
    for (size_t k = 0; k < small.size(); ++k) {
        const int x = 8 + static_cast<int>(k % columns) * cell.width();
        const int y = 44 + static_cast<int>(k / columns) * cell.height();
        label(small[k], x, y);
    }
    int y = 44 + rows * cell.height();
    for (const int i : large) {
        label(i, 8, y);
        y += list.image(i).height() + 30;
    }
    return out;
}

void tileH(QPainter& p, const QImage& tile, int y, int x0, int x1) {
    for (int x = x0; x < x1; x += tile.width()) {
        p.drawImage(QPoint(x, y), tile, QRect(0, 0, std::min(tile.width(), x1 - x), tile.height()));
    }
}
void tileV(QPainter& p, const QImage& tile, int x, int y0, int y1) {
    for (int y = y0; y < y1; y += tile.height()) {
        p.drawImage(QPoint(x, y), tile, QRect(0, 0, tile.width(), std::min(tile.height(), y1 - y)));
    }
}

QImage runScreen(const BitmapList& main, const BitmapList& scheme, int w, int h,
                 const std::array<int, 9>& shown, bool wrong) {
    QImage out(w, h, QImage::Format_RGB32);
    out.fill(Qt::black);
    QPainter p(&out);
    const int l = scheme.image(28).width();
    const int r = scheme.image(25).width();
    const int t = scheme.image(31).height();
    const int b = scheme.image(30).height();
    tileH(p, scheme.image(31), 0, 0, w);
    tileH(p, scheme.image(30), h - b, 0, w);
    tileV(p, scheme.image(28), 0, 0, h);
    tileV(p, scheme.image(25), w - r, 0, h);
    p.drawImage(0, 0, scheme.image(24));
    p.drawImage(w - scheme.image(27).width(), 0, scheme.image(27));
    p.drawImage(0, h - scheme.image(26).height(), scheme.image(26));
    p.drawImage(w - scheme.image(29).width(), h - scheme.image(29).height(), scheme.image(29));
    const quendal::RunScreenGeometry& s = quendal::runScreenGeometry(w);
    p.drawImage((w - scheme.image(32).width()) / 2, h + s.plateOffset - b, scheme.image(32));
    const QImage& bg = main.image(88);
    const QPoint origin((w - bg.width()) / 2, (h - bg.height()) / 2);
    p.drawImage(origin, bg);
    for (int i = 0; i < 9; ++i) {
        if (shown[static_cast<size_t>(i)] >= 0) {
            const quendal::SlotPlace& place = s.places[static_cast<size_t>(i)];
            p.drawImage(origin + QPoint(place.left, place.top),
                        main.image(shown[static_cast<size_t>(i)]));
        }
    }
    // The counters as the run screen shows them.
    const int fontPx = w <= 750 ? 12 : (w <= 820 ? 13 : 16);
    const int d = w <= 750 ? 3 : (w <= 820 ? 4 : 5);
    p.setFont(labelFont(fontPx));
    const int top = h - b + s.plateOffset + d;
    p.setPen(QColor(255, 255, 0));
    const int zl = w <= 750 ? 34 : (w <= 820 ? 42 : 54);
    const int zw = w <= 750 ? 32 : (w <= 820 ? 38 : 50);
    const int ch = w <= 750 ? 13 : (w <= 820 ? 16 : 20);
    p.fillRect(w / 2 - zl, top, zw, ch, Qt::black);
    p.drawText(QRect(w / 2 - zl, top, zw, ch), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("612"));
    p.setPen(QColor(0, 255, 255));
    p.fillRect(w / 2 + (w <= 750 ? 2 : 4), top, w <= 750 ? 30 : 45, ch, Qt::black);
    p.drawText(QRect(w / 2 + (w <= 750 ? 2 : 4), top, 45, ch), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("17"));
    p.setPen(QColor(196, 253, 228));
    p.setFont(labelFont(w <= 660 ? 16 : (w <= 820 ? 21 : 29)));
    p.drawText(QRect(origin.x() + bg.width(), 2 * t, 217, 43), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("Farbe"));
    if (wrong) {
        p.fillRect(l + 6, t + 6, 8, h - t - b - 12, Qt::red);
        p.fillRect(w - r - 14, t + 6, 8, h - t - b - 12, Qt::red);
        p.fillRect(l + 6, t + 6, w - l - r - 12, 8, Qt::red);
        p.fillRect(l + 6, h - b - 14, w - l - r - 12, 8, Qt::red);
    }
    return out;
}

void drawFace(QPainter& p, const QImage& face, QPoint at, const QString& caption, int fontPx) {
    p.drawImage(at, face);
    if (!caption.isEmpty()) {
        p.setFont(labelFont(fontPx));
        p.setPen(QColor(210, 220, 240));
        p.drawText(QRect(at, face.size()), Qt::AlignCenter, caption);
    }
}

QImage mainWindow(const BitmapList& scheme, int w, int h, bool login, bool english) {
    QImage out(w, h, QImage::Format_RGB32);
    out.fill(Qt::black);
    QPainter p(&out);
    tileH(p, scheme.image(8), 0, 0, w);
    tileH(p, scheme.image(13), h - scheme.image(13).height(), 0, w);
    tileV(p, scheme.image(6), 0, 0, h);
    tileV(p, scheme.image(12), w - scheme.image(12).width(), 0, h);
    p.drawImage(0, 0, scheme.image(9));
    p.drawImage(w - scheme.image(10).width(), 0, scheme.image(10));
    p.drawImage(0, h - scheme.image(14).height(), scheme.image(14));
    p.drawImage(w - scheme.image(7).width(), h - scheme.image(7).height(), scheme.image(7));
    const int l = scheme.image(6).width();
    const int t = scheme.image(8).height();
    const int pw = w - l - scheme.image(12).width();
    const int ph = h - t - scheme.image(13).height();
    p.translate(l, t);
    p.setClipRect(0, 0, pw, ph);
    p.drawImage(0, 0, scheme.image(15));
    const QImage& logo = scheme.image(11);
    if (login) {
        // The login panel as the main window lays it out for this panel.
        const quendal::LoginLayout login =
            quendal::computeLoginLayout({scheme.image(35).width(), scheme.image(35).height()},
                                        {logo.width(), logo.height()}, pw, ph);
        const std::array<int, 4> faces{35, 37, 39, 33};
        const std::array<QString, 4> names{QStringLiteral("Anna"), QStringLiteral("unbenutzt"),
                                           QStringLiteral("Maximilian Berger"),
                                           QStringLiteral("unbenutzt")};
        for (size_t i = 0; i < 4; ++i) {
            const quendal::Place& place = login.tags.at(i);
            const QImage face = scheme.image(faces[i] + (i == 2 ? 1 : 0))
                                    .scaled(place.width, place.height, Qt::IgnoreAspectRatio,
                                            Qt::SmoothTransformation);
            drawFace(p, face, QPoint(place.left, place.top), names[i], 16);
        }
        const int hintPixels = login.designPlaces ? 16 : std::min(16, login.label2.height - 2);
        p.setFont(labelFont(hintPixels));
        p.setPen(QColor(210, 220, 240));
        const auto hintRect = [](const quendal::Place& place) {
            return QRect(place.left, place.top, place.width, place.height);
        };
        p.drawText(hintRect(login.label2), Qt::AlignCenter,
                   QStringLiteral("Klicken Sie mit der linken Maustaste auf einen Anhänger, um "
                                  "sich anzumelden."));
        p.drawText(hintRect(login.lmdSimpleLabel1), Qt::AlignCenter,
                   QStringLiteral("Klicken Sie mit der rechten Maustaste auf einen Anhänger, um "
                                  "den Namen zu ändern."));
        p.drawImage(login.logo.left, login.logo.top, logo);
        return out;
    }
    p.drawImage((pw - logo.width()) / 2 + 1, ph - logo.height(), logo);
    const QImage& gate = scheme.image(16);
    const int x = gate.width();
    const int rg = pw - 2 * x;
    const int z = (rg / 3) / 2;
    const int tor1 = (rg - z) / 2;
    const int gateTop = (ph - gate.height()) / 2;
    p.drawImage(tor1, gateTop, scheme.image(17));
    p.drawImage(tor1 + x + z, gateTop, scheme.image(22));
    const QImage& b = scheme.image(0);
    const int rm = pw - 4 * b.width();
    const int g = (rm / 3) / 2;
    const int userTop = (gateTop / 2) - b.height();
    const int rowTop = (3 * b.height()) / 2 + userTop;
    const int fontPx = w <= 750 ? 11 : (w <= 820 ? 13 : 16);
    const QStringList captions =
        english ? QStringList{QStringLiteral("Settings"), QStringLiteral("Single statistics"),
                              QStringLiteral("Global statistics"), QStringLiteral("Help")}
                : QStringList{QStringLiteral("Einstellungen"), QStringLiteral("Einzelstatistik"),
                              QStringLiteral("Gesamtstatistik"), QStringLiteral("Hilfe")};
    int left = (rm - 3 * g) / 2;
    for (int i = 0; i < 4; ++i) {
        drawFace(p, scheme.image(i == 1 ? 4 : (i == 2 ? 5 : 3)), QPoint(left, rowTop), captions[i],
                 fontPx);
        left += b.width() + g;
    }
    const int logoTop = ph - logo.height();
    const int exitTop =
        ((logoTop - (gate.height() + gateTop + b.height())) / 2) + gate.height() + gateTop;
    drawFace(p, scheme.image(3), QPoint((pw - b.width()) / 2, exitTop),
             english ? QStringLiteral("Quit") : QStringLiteral("Ende"), fontPx);
    return out;
}

QImage dialog(const QString& builtin, bool yesNo) {
    QList<QImage> f;
    for (int i = 0; i < 8; ++i) {
        f << QImage(builtin + QStringLiteral("/frame_%1.png").arg(i));
    }
    QList<QImage> buttons;
    for (int i = 0; i < 9; ++i) {
        buttons << QImage(builtin + QStringLiteral("/button_%1.png").arg(i));
    }
    const int lines = 4;
    const int pppH = lines * 22 + 61;
    const int w = 441 + 46;
    const int h = pppH + 71;
    QImage out(w + 40, h + 40, QImage::Format_RGB32);
    out.fill(QColor(39, 39, 39));
    QPainter p(&out);
    p.translate(20, 20);
    p.setClipRect(0, 0, w, h);
    for (int x = 24; x == 24 || x < w - 135; x += 135) {
        p.drawImage(x, 0, f[2]);
    }
    p.drawImage(0, 0, f[0]);
    p.drawImage(w - 135, 0, f[3]);
    for (int y = 47; y == 47 || y < h - 24; y += 47) {
        p.drawImage(0, y, f[7]);
        p.drawImage(w - 23, y, f[1]);
    }
    for (int x = 23; x == 23 || x < w - 23; x += 159) {
        p.drawImage(x, h - 24, f[5]);
    }
    p.drawImage(0, h - 24, f[4]);
    p.drawImage(w - 23, h - 24, f[6]);
    p.setFont(labelFont(16));
    p.setPen(QColor(200, 250, 230));
    p.drawText(27, 19 + 15, QStringLiteral("Hinweis"));
    p.translate(23, 47);
    p.fillRect(0, 0, 441, pppH, QColor(82, 190, 160));
    const int textH = pppH - 43 - 22;
    p.fillRect(11, 17, 419, textH + 4, QColor(215, 250, 240));
    p.fillRect(12, 18, 417, textH + 2, QColor(88, 130, 173));
    p.fillRect(13, 19, 415, textH, QColor(215, 250, 240));
    p.fillRect(23, 19, 394, textH, QColor(215, 250, 240));
    QFont tf = labelFont(15);
    p.setFont(tf);
    p.setPen(QColor(64, 128, 128));
    p.drawText(QRect(23, 19, 394, textH), Qt::AlignCenter | Qt::TextWordWrap,
               QStringLiteral("Möchten Sie den Durchgang wirklich beenden?\nDie Ergebnisse "
                              "werden nicht gespeichert."));
    const int upTop = pppH - 43;
    auto face = [&](int index, int x) {
        QImage img = buttons[index].convertToFormat(QImage::Format_ARGB32);
        for (int yy = 0; yy < img.height(); ++yy) {
            for (int xx = 0; xx < img.width(); ++xx) {
                if (img.pixel(xx, yy) == qRgb(88, 130, 173)) {
                    img.setPixel(xx, yy, 0);
                }
            }
        }
        p.drawImage(x, upTop + 3, img);
        return QRect(x, upTop + 3, 138, 34);
    };
    p.setFont(labelFont(13));
    if (yesNo) {
        QRect r = face(3, 80);
        p.setPen(QColor(210, 220, 240));
        p.drawText(r, Qt::AlignCenter, QStringLiteral("Ja"));
        r = face(4, 225);
        p.drawText(r, Qt::AlignCenter, QStringLiteral("Nein"));
    } else {
        const QRect r = face(5, 151);
        p.setPen(QColor(210, 220, 240));
        p.drawText(r, Qt::AlignCenter, QStringLiteral("OK"));
    }
    return out;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: quendal_contact_sheet <DATA> <built-in> <output>\n");
        return 2;
    }
    const QString& data = args[1];
    const QString& out = args[3];
    QDir().mkpath(out);
    for (const QString& layout :
         {QStringLiteral("640"), QStringLiteral("800"), QStringLiteral("1024")}) {
        for (const QString& prefix : {QString(), QStringLiteral("e")}) {
            QString error;
            const auto main =
                BitmapList::load(data + "/" + layout + "/" + prefix + "haupt.bml", &error);
            const auto scheme =
                BitmapList::load(data + "/" + layout + "/" + prefix + "scheme.bml", &error);
            if (!main || !scheme) {
                std::fprintf(stderr, "%s\n", qPrintable(error));
                return 1;
            }
            const QString name = layout + "_" + prefix;
            sheet(*main, name + "haupt.bml").save(out + "/" + name + "haupt.png");
            sheet(*scheme, name + "scheme.bml").save(out + "/" + name + "scheme.png");
            const int w = layout.toInt();
            const int h = w * 3 / 4;
            runScreen(*main, *scheme, w, h, {0, 1, 2, 3, 14, -1, -1, -1, -1}, false)
                .save(out + "/" + name + "run_colour.png");
            runScreen(*main, *scheme, w, h, {4, 5, 6, 7, -1, -1, -1, 61, -1}, true)
                .save(out + "/" + name + "run_number.png");
            mainWindow(*scheme, w, h, true, !prefix.isEmpty()).save(out + "/" + name + "login.png");
            mainWindow(*scheme, w, h, false, !prefix.isEmpty()).save(out + "/" + name + "menu.png");
        }
    }
    QImage(data + "/splash.bmp").save(out + "/splash.png");
    dialog(args[2], true).save(out + "/dialog_yesno.png");
    dialog(args[2], false).save(out + "/dialog_ok.png");
    return 0;
}
