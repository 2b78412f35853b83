// The generated artwork, read back from DATA/ the way the program reads it.

#include "assets/builtin_resources.h"
#include "core/main_layout.h"
#include "toolkit/bitmap_list.h"

#include <QFile>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QRect>
#include <array>
#include <gtest/gtest.h>
#include <vector>

using quendal::BitmapList;

namespace {

struct LayoutCase {
    const char* folder;
    int width;
    int height;
    QSize maxPicture;
    int plateOffset;  // P
    int counterTop;   // d
    int counterLeft;  // reaction time counter: CW / 2 - counterLeft
    int counterRight; // rounds counter ends at CW / 2 + counterRight
    int counterHeight;
    int menuFontPoints;
    std::array<QPoint, 9> places; // Oben, Links, Rechts, Unten, Mitte, XOben, XLinks, ...
};

const std::array<LayoutCase, 3> kLayouts{{
    {"640",
     640,
     480,
     {81, 60},
     6,
     3,
     34,
     32,
     13,
     8,
     {{{170, 4},
       {4, 128},
       {336, 128},
       {170, 253},
       {170, 128},
       {170, 68},
       {89, 128},
       {251, 128},
       {170, 188}}}},
    {"800",
     800,
     600,
     {100, 74},
     7,
     4,
     42,
     42,
     16,
     10,
     {{{208, 5},
       {4, 157},
       {412, 157},
       {208, 309},
       {208, 157},
       {208, 82},
       {108, 157},
       {308, 157},
       {208, 231}}}},
    {"1024",
     1024,
     768,
     {127, 93},
     10,
     5,
     54,
     49,
     20,
     12,
     {{{262, 4},
       {4, 195},
       {520, 195},
       {262, 384},
       {262, 195},
       {262, 102},
       {135, 195},
       {389, 195},
       {262, 288}}}},
}};

struct Lists {
    BitmapList main;
    BitmapList scheme;
};

Lists load(const LayoutCase& layout, bool english) {
    const QString folder = QStringLiteral(QUENDAL_DATA_OUT "/") + layout.folder + "/";
    const QString prefix = english ? QStringLiteral("e") : QString();
    QString error;
    auto main = BitmapList::load(folder + prefix + "haupt.bml", &error);
    EXPECT_TRUE(main.has_value()) << qPrintable(error);
    auto scheme = BitmapList::load(folder + prefix + "scheme.bml", &error);
    EXPECT_TRUE(scheme.has_value()) << qPrintable(error);
    return {main.value_or(BitmapList()), scheme.value_or(BitmapList())};
}

// Connected areas of light pixels (digits, dots), four-connected.
int lightBlobs(const QImage& image) {
    const int w = image.width();
    const int h = image.height();
    const auto at = [w](int x, int y) {
        return static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x);
    };
    std::vector<char> seen(at(0, h), 0);
    const auto light = [&](int x, int y) { return qGray(image.pixel(x, y)) > 215; };
    int blobs = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (seen[at(x, y)] || !light(x, y)) {
                continue;
            }
            ++blobs;
            std::vector<QPoint> stack{{x, y}};
            seen[at(x, y)] = 1;
            while (!stack.empty()) {
                const QPoint p = stack.back();
                stack.pop_back();
                for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
                    const QPoint q = p + d;
                    if (q.x() < 0 || q.y() < 0 || q.x() >= w || q.y() >= h) {
                        continue;
                    }
                    auto& s = seen[at(q.x(), q.y())];
                    if (!s && light(q.x(), q.y())) {
                        s = 1;
                        stack.push_back(q);
                    }
                }
            }
        }
    }
    return blobs;
}

// The most saturated colour of a picture, as one of blue, yellow, green, red (1..4), or 0.
int dominantInk(const QImage& image) {
    std::array<int, 5> votes{};
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.hsvSaturation() < 180 || c.value() < 150) {
                continue;
            }
            const int hue = c.hsvHue();
            const int ink = hue >= 200 && hue < 250    ? 1
                            : hue >= 40 && hue < 65    ? 2
                            : hue >= 100 && hue < 160  ? 3
                            : (hue >= 345 || hue < 15) ? 4
                                                       : 0;
            ++votes[static_cast<size_t>(ink)];
        }
    }
    int best = 0;
    for (int i = 1; i <= 4; ++i) {
        if (votes[static_cast<size_t>(i)] > votes[static_cast<size_t>(best)]) {
            best = i;
        }
    }
    return best;
}

class ArtworkTest : public ::testing::TestWithParam<std::tuple<int, bool>> {
  protected:
    const LayoutCase& layout() const {
        return kLayouts[static_cast<size_t>(std::get<0>(GetParam()))];
    }
    bool english() const { return std::get<1>(GetParam()); }
};

TEST_P(ArtworkTest, ListsHaveTheirEntryCounts) {
    const Lists lists = load(layout(), english());
    EXPECT_EQ(lists.main.count(), 89);
    EXPECT_EQ(lists.scheme.count(), 41);
}

TEST_P(ArtworkTest, PicturesShareOneSizeAndTheNineSlotsNeverOverlap) {
    const Lists lists = load(layout(), english());
    ASSERT_EQ(lists.main.count(), 89);
    const QSize size = lists.main.image(1).size();
    EXPECT_LE(size.width(), layout().maxPicture.width());
    EXPECT_LE(size.height(), layout().maxPicture.height());
    for (int i = 0; i < 88; ++i) {
        EXPECT_EQ(lists.main.image(i).size(), size) << "picture " << i;
    }
    for (size_t a = 0; a < 9; ++a) {
        for (size_t b = a + 1; b < 9; ++b) {
            EXPECT_FALSE(
                QRect(layout().places[a], size).intersects(QRect(layout().places[b], size)))
                << "places " << a << " and " << b;
        }
    }
    // The background holds all nine with a margin and stays clear of the red bars drawn 6
    // pixels inside the frame.
    const QSize field = lists.main.image(88).size();
    for (const QPoint& place : layout().places) {
        EXPECT_TRUE(QRect(QPoint(2, 2), field - QSize(4, 4)).contains(QRect(place, size)));
    }
    const int l = lists.scheme.image(28).width();
    const int r = lists.scheme.image(25).width();
    const int t = lists.scheme.image(31).height();
    const int b = lists.scheme.image(30).height();
    const int left = (layout().width - field.width()) / 2;
    const int top = (layout().height - field.height()) / 2;
    EXPECT_GT(left, l + 14);
    EXPECT_LT(left + field.width(), layout().width - r - 14);
    EXPECT_GT(top, t + 14);
    EXPECT_LT(top + field.height(), layout().height - b - 14);
}

TEST_P(ArtworkTest, RunScreenFramePiecesMeetAndThePlateCarriesTheCounters) {
    const Lists lists = load(layout(), english());
    ASSERT_EQ(lists.scheme.count(), 41);
    const auto size = [&](int i) { return lists.scheme.image(i).size(); };
    const int l = size(28).width();
    const int r = size(25).width();
    const int t = size(31).height();
    const int b = size(30).height();
    EXPECT_EQ(size(24), QSize(l, t));
    EXPECT_EQ(size(27), QSize(r, t));
    EXPECT_EQ(size(26), QSize(l, b));
    EXPECT_EQ(size(29), QSize(r, b));
    // The plate lies in the bottom border and spans both counters.
    const int w = layout().width;
    const int h = layout().height;
    const QRect plate(QPoint((w - size(32).width()) / 2, h + layout().plateOffset - b), size(32));
    EXPECT_GE(plate.top(), h - b);
    EXPECT_LE(plate.bottom(), h - 1);
    const int counterTop = h - b + layout().plateOffset + layout().counterTop;
    const QRect counters(
        QPoint(w / 2 - layout().counterLeft, counterTop),
        QPoint(w / 2 + layout().counterRight, counterTop + layout().counterHeight - 1));
    EXPECT_TRUE(plate.contains(counters));
    // Behind the counters, whose ground is black, the plate is black too.
    const QImage& plateImage = lists.scheme.image(32);
    const QPoint inPlate = counters.center() - plate.topLeft() - QPoint(20, 0);
    EXPECT_EQ(plateImage.pixelColor(inPlate), QColor(Qt::black));
}

TEST_P(ArtworkTest, MainWindowPiecesFitTheLayoutOfTheMenuPanel) {
    const Lists lists = load(layout(), english());
    ASSERT_EQ(lists.scheme.count(), 41);
    const auto size = [&](int i) { return lists.scheme.image(i).size(); };
    const int l = size(6).width();
    const int t = size(8).height();
    const int r = size(12).width();
    const int b = size(13).height();
    EXPECT_EQ(size(9), QSize(l, t));
    EXPECT_EQ(size(10), QSize(r, t));
    EXPECT_EQ(size(14), QSize(l, b));
    EXPECT_EQ(size(7), QSize(r, b));
    const int pw = layout().width - l - r;
    const int ph = layout().height - t - b;
    EXPECT_EQ(size(15), QSize(pw, ph));
    for (int face : {3, 4, 5}) {
        EXPECT_EQ(size(face), size(0));
    }
    for (int face : {17, 22, 23}) {
        EXPECT_EQ(size(face), size(16));
    }

    // The menu panel's layout rules with these sizes.
    const QSize gate = size(16);
    const QSize button = size(0);
    const QSize logo = size(11);
    const QRect logoRect(QPoint((pw - logo.width()) / 2 + 1, ph - logo.height()), logo);
    const int rg = pw - 2 * gate.width();
    const int z = (rg / 3) / 2;
    const int gateTop = (ph - gate.height()) / 2;
    const QRect tor1(QPoint((rg - z) / 2, gateTop), gate);
    const QRect tor2(QPoint(tor1.left() + gate.width() + z, gateTop), gate);
    const int rm = pw - 4 * button.width();
    const int g = (rm / 3) / 2;
    const int userTop = gateTop / 2 - button.height();
    const int rowTop = (3 * button.height()) / 2 + userTop;
    std::vector<QRect> row;
    row.reserve(4);
    for (int i = 0; i < 4; ++i) {
        row.emplace_back(QPoint((rm - 3 * g) / 2 + i * (button.width() + g), rowTop), button);
    }
    const int exitTop = (logoRect.top() - (gate.height() + gateTop + button.height())) / 2 +
                        gate.height() + gateTop;
    const QRect exitRect(QPoint((pw - button.width()) / 2, exitTop), button);

    const QRect panel(0, 0, pw, ph);
    std::vector<QRect> all = row;
    all.insert(all.end(), {tor1, tor2, exitRect, logoRect});
    for (size_t a = 0; a < all.size(); ++a) {
        EXPECT_TRUE(panel.contains(all[a])) << "piece " << a;
        EXPECT_GE(all[a].top(), 0);
        for (size_t c = a + 1; c < all.size(); ++c) {
            EXPECT_FALSE(all[a].intersects(all[c])) << "pieces " << a << " and " << c;
        }
    }
    EXPECT_GT(row[0].left(), 0);
    if (layout().width == 1024) {
        // The borders of 24, gates of 300 and menu faces of 160 give the places of the
        // worked example: gates at 157 and 519, menu buttons at 84, 300, 516 and 732.
        EXPECT_EQ(l, 24);
        EXPECT_EQ(r, 24);
        EXPECT_EQ(tor1.left(), 157);
        EXPECT_EQ(tor2.left(), 519);
        EXPECT_EQ(row[0].left(), 84);
        EXPECT_EQ(row[1].left(), 300);
        EXPECT_EQ(row[2].left(), 516);
        EXPECT_EQ(row[3].left(), 732);
    }

    // The longest menu caption fits its face at the menu's font size.
    QFont font(QStringLiteral("Liberation Sans"));
    font.setBold(true);
    font.setPixelSize(layout().menuFontPoints * 96 / 72);
    const QFontMetrics metrics(font);
    for (const char* caption : {"Einstellungen", "Einzelstatistik", "Gesamtstatistik",
                                "Single statistics", "Global statistics"}) {
        EXPECT_LT(metrics.horizontalAdvance(QString::fromUtf8(caption)), button.width() - 6)
            << caption;
    }
}

TEST_P(ArtworkTest, TagsStandWholeInARowOnTheLoginPanel) {
    const Lists lists = load(layout(), english());
    ASSERT_EQ(lists.scheme.count(), 41);
    const auto size = [&](int entry) { return lists.scheme.image(entry).size(); };
    // Key1..Key4 and their two faces each, all of one size.
    const QSize tag = size(35);
    for (const int face : {33, 34, 36, 37, 38, 39, 40}) {
        EXPECT_EQ(size(face), tag) << face;
    }
    // On the panel of the list's own play field the tags are laid out at the size they are
    // drawn, whole and apart from the hints, each other and the logo.
    const int pw = layout().width - size(6).width() - size(12).width();
    const int ph = layout().height - size(8).height() - size(13).height();
    const quendal::LoginLayout login = quendal::computeLoginLayout(
        {tag.width(), tag.height()}, {size(11).width(), size(11).height()}, pw, ph);
    EXPECT_EQ(login.designPlaces, layout().width == 1024);
    const auto rect = [](const quendal::Place& p) {
        return QRect(p.left, p.top, p.width, p.height);
    };
    const QRect panel(0, 0, pw, ph);
    std::vector<QRect> pieces{rect(login.label2), rect(login.lmdSimpleLabel1), rect(login.logo)};
    for (const quendal::Place& place : login.tags) {
        EXPECT_EQ(QSize(place.width, place.height), tag);
        pieces.push_back(rect(place));
    }
    for (size_t a = 0; a < pieces.size(); ++a) {
        EXPECT_TRUE(panel.contains(pieces[a])) << "piece " << a;
        for (size_t b = a + 1; b < pieces.size(); ++b) {
            EXPECT_FALSE(pieces[a].intersects(pieces[b])) << "pieces " << a << " and " << b;
        }
    }
}

TEST_P(ArtworkTest, PicturesShowWhatTheirIndexMeans) {
    const Lists lists = load(layout(), english());
    ASSERT_EQ(lists.main.count(), 89);
    // Patches and inks: entry 12 + 4(m - 1) + (i - 1) is word m in ink i.
    for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(dominantInk(lists.main.image(i - 1)), i) << "patch " << i;
        for (int m = 1; m <= 4; ++m) {
            const int entry = 12 + 4 * (m - 1) + (i - 1);
            EXPECT_EQ(dominantInk(lists.main.image(entry)), i) << "entry " << entry;
        }
    }
    // The same word in every ink has the same outline; different words differ.
    for (int m = 1; m <= 4; ++m) {
        const QImage word = lists.main.image(8 + m - 1);
        for (int other = m + 1; other <= 4; ++other) {
            EXPECT_NE(word, lists.main.image(8 + other - 1));
        }
    }
    // Digits 4..7 are one figure each; groups show exactly n figures, and the three
    // arrangements of a group differ.
    for (int d = 1; d <= 4; ++d) {
        EXPECT_EQ(lightBlobs(lists.main.image(d + 3)), 1) << "digit " << d;
    }
    for (int n = 1; n <= 4; ++n) {
        for (int j = 0; j < 3; ++j) {
            const int dots = 28 + 3 * (n - 1) + j;
            EXPECT_EQ(lightBlobs(lists.main.image(dots)), n) << "entry " << dots;
            for (int d = 1; d <= 4; ++d) {
                const int digits = 40 + 12 * (d - 1) + 3 * (n - 1) + j;
                EXPECT_EQ(lightBlobs(lists.main.image(digits)), n) << "entry " << digits;
            }
        }
        const int first = 28 + 3 * (n - 1);
        EXPECT_NE(lists.main.image(first), lists.main.image(first + 1));
        EXPECT_NE(lists.main.image(first), lists.main.image(first + 2));
        EXPECT_NE(lists.main.image(first + 1), lists.main.image(first + 2));
    }
}

INSTANTIATE_TEST_SUITE_P(
    AllLayouts, ArtworkTest, ::testing::Combine(::testing::Values(0, 1, 2), ::testing::Bool()),
    [](const auto& info) {
        return std::string(kLayouts[static_cast<size_t>(std::get<0>(info.param))].folder) +
               (std::get<1>(info.param) ? "_English" : "_German");
    });

TEST(ArtworkLanguages, WordsDifferBetweenGermanAndEnglishButPatchesDoNot) {
    const Lists german = load(kLayouts[2], false);
    const Lists english = load(kLayouts[2], true);
    ASSERT_EQ(german.main.count(), 89);
    ASSERT_EQ(english.main.count(), 89);
    EXPECT_EQ(german.main.image(0), english.main.image(0));
    EXPECT_EQ(german.main.image(30), english.main.image(30));
    EXPECT_NE(german.main.image(8), english.main.image(8));
    EXPECT_NE(german.scheme.image(16), english.scheme.image(16));
}

TEST(BuiltinResources, FrameBitmapsHaveTheirFixedSizes) {
    const std::array<QSize, 8> sizes{
        {{24, 47}, {23, 47}, {135, 47}, {135, 47}, {23, 24}, {159, 24}, {23, 24}, {23, 47}}};
    for (int i = 0; i < quendal::builtin::kFrameCount; ++i) {
        const QImage image(quendal::builtin::framePath(i));
        EXPECT_EQ(image.size(), sizes[static_cast<size_t>(i)]) << "frame " << i;
    }
    EXPECT_EQ(quendal::builtin::framePath(3), QStringLiteral(":/builtin/frame_3.png"));
}

TEST(BuiltinResources, ButtonFacesHaveTheirSizesAndTransparentCorners) {
    const QRgb key = qRgb(88, 130, 173);
    for (int i = 0; i < quendal::builtin::kButtonCount; ++i) {
        const QImage image(quendal::builtin::buttonPath(i));
        EXPECT_EQ(image.size(), i < 3 ? QSize(76, 25) : QSize(138, 34)) << "button " << i;
        EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, key & 0xFFFFFF);
        EXPECT_EQ(image.pixel(image.width() - 1, image.height() - 1) & 0xFFFFFF, key & 0xFFFFFF);
        // No pixel of the face itself may vanish: the key colour stays at the corners.
        for (int y = 3; y < image.height() - 3; ++y) {
            for (int x = 8; x < image.width() - 8; ++x) {
                ASSERT_NE(image.pixel(x, y) & 0xFFFFFF, key & 0xFFFFFF)
                    << "button " << i << " at " << x << "," << y;
            }
        }
    }
    EXPECT_EQ(quendal::builtin::buttonPath(8), QStringLiteral(":/builtin/button_8.png"));
}

TEST(BuiltinResources, WrongSoundIsAShortAudibleBuzz) {
    QFile file(quendal::builtin::wrongSoundPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_EQ(bytes.size(), 21372);
    const auto sample = [&](qsizetype i) {
        return static_cast<qint16>(static_cast<quint8>(bytes[2 * i]) |
                                   (static_cast<quint8>(bytes[2 * i + 1]) << 8));
    };
    int peak = 0;
    for (qsizetype i = 0; i < bytes.size() / 2; ++i) {
        peak = std::max(peak, std::abs(static_cast<int>(sample(i))));
    }
    EXPECT_GT(peak, 8000);
    EXPECT_LT(peak, 32767); // never clipped
    // It starts and ends at rest, so it never clicks.
    EXPECT_LT(std::abs(static_cast<int>(sample(0))), 200);
    EXPECT_LT(std::abs(static_cast<int>(sample(bytes.size() / 2 - 1))), 200);
}

TEST(Splash, IsTheSplashWindowsSize) {
    const QImage splash(QStringLiteral(QUENDAL_DATA_OUT "/splash.bmp"));
    EXPECT_EQ(splash.size(), QSize(515, 302));
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
