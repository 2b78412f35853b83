#include "core/program_state.h"
#include "frame/own_fenster.h"
#include "toolkit/bitmap_list.h"
#include "toolkit/builtin_lists.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>

using namespace quendal;

namespace {

const QColor kTileColours[8] = {
    QColor(255, 0, 0),   QColor(0, 255, 0),   QColor(0, 0, 255), QColor(255, 255, 0),
    QColor(255, 0, 255), QColor(0, 255, 255), QColor(128, 0, 0), QColor(0, 128, 0),
};

// Frame bitmaps in one colour each; corner 0 larger than its fixed size on purpose.
BitmapList colouredFrame() {
    const QSize sizes[8] = {{100, 100}, {23, 47},  {135, 47}, {135, 47},
                            {23, 24},   {159, 24}, {23, 24},  {23, 47}};
    QList<QImage> images;
    for (int i = 0; i < 8; ++i) {
        QImage image(sizes[i], QImage::Format_RGB32);
        image.fill(kTileColours[i]);
        images.append(image);
    }
    return BitmapList(images);
}

QImage paintedFrame(int w, int h, const QString& caption = {}, int dpi = 96) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::black);
    const int dotsPerMeter = static_cast<int>(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    QPainter p(&image);
    TOwnFenster::paintFrame(p, w, h, colouredFrame(), caption);
    return image;
}

QColor at(const QImage& image, int x, int y) {
    return QColor(image.pixel(x, y));
}

// Height in pixels of the rows that hold caption-coloured pixels.
int captionHeight(const QImage& image) {
    int top = -1;
    int bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == TOwnFenster::titleColour().rgb()) {
                top = top < 0 ? y : top;
                bottom = y;
                break;
            }
        }
    }
    return top < 0 ? 0 : bottom - top + 1;
}

} // namespace

TEST(TOwnFenster, PaintsTheFrameInItsOrderAndAtItsFixedSizes) {
    const QImage f = paintedFrame(487, 220);
    // Top strip: corner 0 only 24 wide although its bitmap is larger, edge tiles, corner 3.
    EXPECT_EQ(at(f, 0, 0), kTileColours[0]);
    EXPECT_EQ(at(f, 23, 46), kTileColours[0]);
    EXPECT_EQ(at(f, 24, 0), kTileColours[2]);
    EXPECT_EQ(at(f, 351, 10), kTileColours[2]);
    EXPECT_EQ(at(f, 352, 10), kTileColours[3]); // corner 3 at W - 135 over the last tile
    EXPECT_EQ(at(f, 486, 46), kTileColours[3]);
    // Sides from y = 47 down to the bottom strip, which overdraws the last tiles.
    EXPECT_EQ(at(f, 0, 47), kTileColours[7]);
    EXPECT_EQ(at(f, 22, 195), kTileColours[7]);
    EXPECT_EQ(at(f, 23, 100), QColor(Qt::black)); // inside is not painted
    EXPECT_EQ(at(f, 464, 100), kTileColours[1]);
    EXPECT_EQ(at(f, 486, 195), kTileColours[1]);
    // Bottom strip and its corners.
    EXPECT_EQ(at(f, 0, 196), kTileColours[4]);
    EXPECT_EQ(at(f, 22, 219), kTileColours[4]);
    EXPECT_EQ(at(f, 23, 196), kTileColours[5]);
    EXPECT_EQ(at(f, 463, 219), kTileColours[5]);
    EXPECT_EQ(at(f, 464, 196), kTileColours[6]);
}

TEST(TOwnFenster, DrawsEveryStripAtLeastOnceOnATinyDialog) {
    const QImage f = paintedFrame(60, 80);
    EXPECT_EQ(at(f, 0, 50), kTileColours[7]);
    EXPECT_EQ(at(f, 0, 60), kTileColours[4]);
    EXPECT_EQ(at(f, 40, 70), kTileColours[6]);
    EXPECT_EQ(at(f, 10, 0), kTileColours[3]); // corner 3 at x = -75 covers what it can
}

TEST(TOwnFenster, CaptionKeepsItsPixelSizeOnLargeFontDisplays) {
    EXPECT_EQ(TOwnFenster::captionPointSize(96), 12);
    EXPECT_EQ(TOwnFenster::captionPointSize(100), 12);
    EXPECT_EQ(TOwnFenster::captionPointSize(120), 10);
    EXPECT_EQ(TOwnFenster::captionPointSize(144), 8);
    EXPECT_TRUE(TOwnFenster::captionFont(120).bold());

    const int at96 = captionHeight(paintedFrame(487, 220, QStringLiteral("Hinweis"), 96));
    const int at120 = captionHeight(paintedFrame(487, 220, QStringLiteral("Hinweis"), 120));
    EXPECT_GT(at96, 8);
    EXPECT_NEAR(at120, at96, 1);
    // An empty caption leaves the title strip without text.
    EXPECT_EQ(captionHeight(paintedFrame(487, 220)), 0);
}

TEST(TOwnFenster, CloseBoxIsTheSquareOf17PixelsAtWidthMinus42And18) {
    TOwnFenster frame;
    frame.resize(300, 200);
    EXPECT_TRUE(frame.IsInCloseBox(258, 18));
    EXPECT_TRUE(frame.IsInCloseBox(274, 34));
    EXPECT_FALSE(frame.IsInCloseBox(257, 18));
    EXPECT_FALSE(frame.IsInCloseBox(275, 20));
    EXPECT_FALSE(frame.IsInCloseBox(260, 17));
    EXPECT_FALSE(frame.IsInCloseBox(260, 35));
}

TEST(TOwnFenster, ClosingModallyByTheCloseBoxOrEscapeGivesCancel) {
    TOwnFenster frame;
    frame.setFixedSize(300, 200);
    QTimer::singleShot(0, &frame,
                       [&] { QTest::mouseClick(&frame, Qt::LeftButton, {}, QPoint(265, 25)); });
    EXPECT_EQ(frame.exec(), 2);
    QTimer::singleShot(0, &frame, [&] { QTest::keyClick(&frame, Qt::Key_Escape); });
    EXPECT_EQ(frame.exec(), 2);
}

TEST(TOwnFenster, IsDraggedByItsFrameButNotByItsControls) {
    TOwnFenster frame;
    frame.setFixedSize(300, 200);
    auto* content = new QLabel(QStringLiteral("Inhalt"), &frame);
    content->setGeometry(23, 47, 254, 129);
    frame.show();
    const QPoint start = frame.pos();

    QTest::mousePress(&frame, Qt::LeftButton, {}, QPoint(100, 10));
    EXPECT_TRUE(frame.isDragging());
    QTest::mouseMove(&frame, QPoint(160, 40));
    EXPECT_FALSE(frame.isDragging()); // the press has been handed to the move
    // The test platforms have no window manager to move windows, so the frame follows the
    // pointer itself.
    EXPECT_EQ(frame.pos(), start + QPoint(60, 30));
    QTest::mouseRelease(&frame, Qt::LeftButton, {}, QPoint(100, 10));
    const QPoint dropped = frame.pos();
    QTest::mouseMove(&frame, QPoint(10, 10));
    EXPECT_EQ(frame.pos(), dropped); // released: the frame stays

    // A press on a control of the dialog starts no drag.
    QTest::mousePress(content, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(frame.isDragging());
    QTest::mouseRelease(content, Qt::LeftButton, {}, QPoint(5, 5));
}

TEST(TOwnFenster, CentresOnThePlayFieldRoundingTowardZero) {
    TOwnFenster frame;
    frame.setFixedSize(300, 201);
    frame.centreOnPlayField();
    EXPECT_EQ(frame.pos(), QPoint(362, 283));

    programState().PlayWidth = 801;
    programState().PlayHeight = 600;
    frame.centreOnPlayField();
    EXPECT_EQ(frame.pos(), QPoint(250, 199));

    // Larger than the play field: the halving of a negative room rounds toward zero too.
    programState().PlayWidth = 200;
    frame.setFixedSize(487, 220);
    frame.centreOnPlayField();
    EXPECT_EQ(frame.x(), -143);
}

TEST(TOwnFenster, CentresItselfWhenShown) {
    TOwnFenster frame;
    frame.setFixedSize(300, 200);
    frame.show();
    EXPECT_EQ(frame.pos(), QPoint(362, 284));
}

TEST(TOwnFenster, TakesTheHostWindowAsItsOwner) {
    {
        TOwnFenster frame; // no host given
        frame.show();
        EXPECT_EQ(frame.windowHandle()->transientParent(), nullptr);
    }
    QWidget host;
    host.show();
    const WId id = host.winId();
    std::unique_ptr<QWindow> probe(QWindow::fromWinId(id));
    if (!probe) {
        GTEST_SKIP() << "this platform cannot reach foreign windows";
    }
    programState().HostWindowHandle = static_cast<int64_t>(id);
    TOwnFenster frame;
    frame.show();
    ASSERT_NE(frame.windowHandle()->transientParent(), nullptr);
    EXPECT_EQ(frame.windowHandle()->transientParent()->winId(), id);
}

TEST(TOwnFenster, BuiltInFrameBitmapsPaintTheFrame) {
    if (!QFile::exists(QStringLiteral(":/builtin/frame_0.png"))) {
        GTEST_SKIP() << "the built-in artwork is not linked into this build";
    }
    TOwnFenster frame;
    frame.setFixedSize(487, 220);
    const QImage shot = frame.grab().toImage();
    // Each corner shows its own bitmap's pixel.
    EXPECT_EQ(shot.pixel(0, 0), builtinFrameList().image(0).pixel(0, 0));
    EXPECT_EQ(shot.pixel(486, 219), builtinFrameList().image(6).pixel(22, 23));
    EXPECT_EQ(shot.pixel(486 - 134, 0), builtinFrameList().image(3).pixel(0, 0));
}

// Every framed dialog reads Enter and Escape before its controls, as its OK and cancel
// handlers; a dialog opened from another reads its own keys, and Escape there closes only it,
// even for a control the outer dialog was shown again after.
TEST(TOwnFenster, EnterAndEscapeReachTheHandlersOfTheDialogWhoseControlHasTheFocus) {
    TOwnFenster outer;
    auto* outerEdit = new QLineEdit(&outer);
    TOwnFenster inner(&outer);
    outer.show();
    inner.show();
    auto* innerEdit = new QLineEdit(&inner); // made after the inner dialog's show
    innerEdit->show();
    outer.hide();
    outer.show(); // watches whatever it finds among its descendants now
    QTest::keyClick(innerEdit, Qt::Key_Escape);
    EXPECT_FALSE(inner.isVisible());
    EXPECT_EQ(inner.result(), TOwnFenster::ResultCancel);
    EXPECT_TRUE(outer.isVisible()) << "Escape in the inner dialog closed the outer one";
    QTest::keyClick(outerEdit, Qt::Key_Return);
    EXPECT_FALSE(outer.isVisible());
    EXPECT_EQ(outer.result(), TOwnFenster::ResultOk);
    EXPECT_TRUE(outerEdit->text().isEmpty());
}
