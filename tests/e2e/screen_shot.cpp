// Screenshots for the whole-program tests:
//   screen_shot grab OUT.png            the X display's root window (DISPLAY) into a PNG
//   screen_shot compare A.png B.png [C] whether two screenshots show the same screen: equal
//                                       sizes, and no pixel whose colour differs by more
//                                       than 8 in a channel, but for a C x C corner at the
//                                       bottom right (where a compositor that always draws a
//                                       pointer has it); prints what differs and where
// A grab asks Qt's X platform for the root window, so it sees what the X server shows.

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QScreen>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int grab(int argc, char* argv[], const char* out) {
    qputenv("QT_QPA_PLATFORM", "xcb");
    const QGuiApplication app(argc, argv);
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr || !screen->grabWindow(0).save(QString::fromLocal8Bit(out), "PNG")) {
        std::fprintf(stderr, "screen_shot: cannot grab the screen into %s\n", out);
        return 1;
    }
    return 0;
}

int compare(const char* first, const char* second, int corner) {
    const QImage a = QImage(QString::fromLocal8Bit(first)).convertToFormat(QImage::Format_RGB32);
    const QImage b = QImage(QString::fromLocal8Bit(second)).convertToFormat(QImage::Format_RGB32);
    if (a.isNull() || b.isNull()) {
        std::fprintf(stderr, "screen_shot: cannot read %s or %s\n", first, second);
        return 1;
    }
    if (a.size() != b.size()) {
        std::printf("sizes differ: %dx%d and %dx%d\n", a.width(), a.height(), b.width(),
                    b.height());
        return 1;
    }
    constexpr int kTolerance = 8;
    long differing = 0;
    QRect where;
    for (int y = 0; y < a.height(); ++y) {
        const auto* ra = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* rb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            if (x >= a.width() - corner && y >= a.height() - corner) {
                continue;
            }
            const int d = std::max({std::abs(qRed(ra[x]) - qRed(rb[x])),
                                    std::abs(qGreen(ra[x]) - qGreen(rb[x])),
                                    std::abs(qBlue(ra[x]) - qBlue(rb[x]))});
            if (d > kTolerance) {
                ++differing;
                where = where.united(QRect(x, y, 1, 1));
            }
        }
    }
    if (differing != 0) {
        std::printf("%ld pixels differ, within x %d..%d, y %d..%d\n", differing, where.left(),
                    where.right(), where.top(), where.bottom());
        return 1;
    }
    std::printf("%dx%d, every pixel equal within %d%s\n", a.width(), a.height(), kTolerance,
                corner > 0 ? " but for the pointer's corner" : "");
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc == 3 && std::strcmp(argv[1], "grab") == 0) {
        return grab(argc, argv, argv[2]);
    }
    if ((argc == 4 || argc == 5) && std::strcmp(argv[1], "compare") == 0) {
        return compare(argv[2], argv[3], argc == 5 ? std::atoi(argv[4]) : 0);
    }
    std::fprintf(stderr, "usage: screen_shot grab OUT.png | compare A.png B.png [CORNER]\n");
    return 2;
}
