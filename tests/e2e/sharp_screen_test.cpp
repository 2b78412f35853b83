// The login screen of the real program on a real X server, full screen, as the screen
// shows it: on a screen larger than the play field the program scales the play field, and
// its pictures must then have the screen's own pixels, not those of the 1024 x 768 pictures
// scaled up. Run under xvfb-run at 1024 x 768, 1280 x 1024 (scale 1.25) and 2048 x 1536
// (scale 2); QUENDAL_PROGRAM names the program, QUENDAL_SHOT (optional) a PNG to keep the
// screenshot in.

#include "assets/artwork.h"
#include "shell/screen_facts.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace {

const QColor kPanel(36, 40, 49);      // the panel behind the logo
const QColor kCaption(210, 220, 240); // the logo's lettering

// The login screen once it has stood still for half a second, or a null image.
QImage settledScreen(QScreen& screen) {
    QImage last;
    int still = 0;
    for (int i = 0; i < 300 && still < 5; ++i) {
        QTest::qWait(100);
        const QImage now = screen.grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
        still = (!last.isNull() && now == last) ? still + 1 : 0;
        last = now;
    }
    return still >= 5 ? last : QImage();
}

double luminance(QRgb c) {
    return 0.299 * qRed(c) + 0.587 * qGreen(c) + 0.114 * qBlue(c);
}

// Across a row from its right end leftwards: for each of the first `edges` edges between
// the panel and the lettering, how many pixels lie between the two (from 10 to 90 % of the
// way). A letter drawn for the screen's pixels has at most one such pixel on a straight
// edge; one scaled up from a smaller picture has as many as the scale spreads it over.
std::vector<int> edgeWidths(const QImage& shot, int y, int left, int right, int edges) {
    const double dark = luminance(kPanel.rgb());
    const double light = luminance(kCaption.rgb());
    std::vector<double> profile;
    for (int x = right; x >= left; --x) {
        profile.push_back((luminance(shot.pixel(x, y)) - dark) / (light - dark));
    }
    std::vector<int> widths;
    size_t i = 0;
    bool onLetter = profile.empty() || profile[0] > 0.5;
    while (i < profile.size() && static_cast<int>(widths.size()) < edges) {
        while (i < profile.size() && (onLetter ? profile[i] >= 0.9 : profile[i] <= 0.1)) {
            ++i;
        }
        size_t j = i;
        while (j < profile.size() && profile[j] > 0.1 && profile[j] < 0.9) {
            ++j;
        }
        if (j >= profile.size()) {
            break;
        }
        widths.push_back(static_cast<int>(j - i));
        onLetter = profile[j] >= 0.9;
        i = j;
    }
    return widths;
}

// The largest difference of a colour channel between the screen at `at` and the picture.
int difference(const QImage& shot, QPoint at, const QImage& picture, int rows) {
    int worst = 0;
    const QImage reference = picture.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < std::min(rows, reference.height()); ++y) {
        for (int x = 0; x < reference.width(); ++x) {
            const QRgb a = shot.pixel(at.x() + x, at.y() + y);
            const QRgb b = reference.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                              std::abs(qBlue(a) - qBlue(b))});
        }
    }
    return worst;
}

QPoint device(QPoint logical, double scale) {
    return {static_cast<int>(std::lround(logical.x() * scale)),
            static_cast<int>(std::lround(logical.y() * scale))};
}

TEST(SharpScreen, TheLoginScreenHasThePixelsOfTheScreenWhereverItIsScaled) {
    QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    const QSize size = screen->size();
    const double scale = std::min(size.width() / 1024.0, size.height() / 768.0);

    QTemporaryDir data;
    QTemporaryDir runtime;
    ASSERT_TRUE(data.isValid() && runtime.isValid());
    QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QUENDAL_DATA_DIR"), data.path());
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    environment.remove(QStringLiteral("QT_SCALE_FACTOR"));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(qEnvironmentVariable("QUENDAL_PROGRAM"), {QString()}); // full screen
    ASSERT_TRUE(program.waitForStarted());
    const QImage shot = settledScreen(*screen);
    program.terminate();
    EXPECT_TRUE(program.waitForFinished(20000));
    ASSERT_FALSE(shot.isNull()) << "the screen did not settle";
    if (const QString keep = qEnvironmentVariable("QUENDAL_SHOT"); !keep.isEmpty()) {
        shot.save(keep);
    }

    // The play field fills the screen as far as it fits, from the top-left: its frame's
    // bottom-right corner ends where 1024 x 768 pixels at the scale end, black beyond.
    const QPoint end = device(QPoint(1024, 768), scale);
    const artwork::Layout& layout = artwork::layouts()[2];
    const artwork::SchemeArt scheme(layout, artwork::Language::German);
    EXPECT_LE(difference(shot, QPoint(0, 0), scheme.picture(9, scale), 1000), 2)
        << "the frame's top-left corner";
    const QImage corner = scheme.picture(7, scale);
    EXPECT_LE(difference(shot, end - QPoint(corner.width(), corner.height()), corner, 1000), 2)
        << "the frame's bottom-right corner";
    if (end.x() < size.width()) {
        EXPECT_EQ(shot.pixel(end.x(), end.y() / 2), qRgb(0, 0, 0));
    }
    if (end.y() < size.height()) {
        EXPECT_EQ(shot.pixel(end.x() / 2, end.y()), qRgb(0, 0, 0));
    }

    // The logo and the band of the first tag stand where the layout puts them, pixel for
    // pixel as the artwork draws them for this scale. B1 lies at (316, 644) on the login
    // panel, Key1 at (4, 238), the panel at (24, 24).
    EXPECT_LE(difference(shot, device(QPoint(340, 668), scale), scheme.picture(11, scale), 1000), 2)
        << "the logo";
    EXPECT_LE(difference(shot, device(QPoint(28, 262), scale), scheme.picture(35, scale),
                         static_cast<int>(20 * scale)),
              2)
        << "the band of the first tag";

    // An edge profile of the logo's lettering, independent of the artwork's own drawing: the
    // stems of the "l" and the "d" of "Quendal", crossed a little below their tops, are as
    // sharp at every scale as at 1.
    const QPoint logo = device(QPoint(340, 668), scale);
    const QPoint logoEnd = device(QPoint(340 + 344, 668 + 76), scale);
    int top = logoEnd.y();
    int bottom = logo.y();
    for (int y = logo.y(); y < logoEnd.y(); ++y) {
        for (int x = logo.x(); x < logoEnd.x(); ++x) {
            if (std::abs(luminance(shot.pixel(x, y)) - luminance(kCaption.rgb())) < 8) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    ASSERT_LT(top, bottom) << "no lettering in the logo";
    const int row = top + (bottom - top) * 12 / 100;
    const std::vector<int> widths = edgeWidths(shot, row, logo.x(), logoEnd.x() - 1, 4);
    ASSERT_EQ(widths.size(), 4U);
    for (size_t i = 0; i < widths.size(); ++i) {
        EXPECT_LE(widths[i], 1) << "edge " << i << " of the stems at scale " << scale;
    }
}

TEST(SharpScreen, TheScreenReadBeforeQtStartsIsTheScreenQtSees) {
    // The full-screen start looks at the screen through xcb instead of starting Qt twice;
    // what it reads must be what Qt then reports.
    char name[] = "quendal";
    char full[] = "";
    char* argv[] = {name, full, nullptr};
    const std::optional<quendal::ScreenFacts> facts = quendal::quickScreenFacts(2, argv);
    ASSERT_TRUE(facts.has_value()) << "a plain Xvfb screen is read straight from the server";
    const QScreen* screen = QGuiApplication::primaryScreen();
    EXPECT_EQ(facts->logical, screen->geometry().size());
    EXPECT_EQ(facts->device,
              (QSizeF(screen->geometry().size()) * screen->devicePixelRatio()).toSize());
    EXPECT_EQ(facts->depth, screen->depth());

    // Whatever may make Qt see another screen is left to Qt.
    qputenv("QT_SCALE_FACTOR", "1.5");
    EXPECT_FALSE(quendal::quickScreenFacts(2, argv).has_value());
    qunsetenv("QT_SCALE_FACTOR");
    char option[] = "-display";
    char* withOption[] = {name, option, nullptr};
    EXPECT_FALSE(quendal::quickScreenFacts(2, withOption).has_value());
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "xcb");
    qunsetenv("QT_SCALE_FACTOR");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
