#include "toolkit/bitmap_list.h"
#include "toolkit/bitmap_panel.h"
#include "toolkit/builtin_lists.h"
#include "toolkit/image_button.h"
#include "toolkit/picture_slot.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace quendal;

namespace {

QImage solid(int w, int h, QColor colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QRgb pixelOf(QWidget& widget, int x, int y) {
    return widget.grab().toImage().pixel(x, y);
}

int countPixels(const QImage& image, QColor colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            n += image.pixel(x, y) == colour.rgb() ? 1 : 0;
        }
    }
    return n;
}

} // namespace

TEST(ImageButton, ShowsTheFaceOfItsStateAndSizesItselfToIt) {
    const BitmapList faces(
        {solid(60, 20, Qt::red), solid(60, 20, Qt::green), solid(60, 20, Qt::blue)});
    ImageButton button;
    button.setFaces(faces, 0, 3);
    EXPECT_EQ(button.size(), QSize(60, 20));
    EXPECT_EQ(button.currentFace(), ImageButton::Face::Normal);
    EXPECT_EQ(pixelOf(button, 5, 5), QColor(Qt::red).rgb());

    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(&button, &enter);
    EXPECT_EQ(button.currentFace(), ImageButton::Face::Hot);
    EXPECT_EQ(pixelOf(button, 5, 5), QColor(Qt::green).rgb());

    button.setDown(true);
    EXPECT_EQ(button.currentFace(), ImageButton::Face::Down);
    EXPECT_EQ(pixelOf(button, 5, 5), QColor(Qt::blue).rgb());
    button.setDown(false);

    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&button, &leave);
    EXPECT_EQ(button.currentFace(), ImageButton::Face::Normal);
}

TEST(ImageButton, TwoFacedButtonsUseTheSecondFaceWhenHotAndDown) {
    const BitmapList faces({solid(30, 30, Qt::red), solid(30, 30, Qt::green)});
    ImageButton gate;
    gate.setFaces(faces, 0, 2);
    gate.setDown(true);
    EXPECT_EQ(pixelOf(gate, 1, 1), QColor(Qt::green).rgb());
}

TEST(ImageButton, LeavesOutTheTransparentColourAndDrawsItsCaption) {
    QWidget back;
    back.setAutoFillBackground(true);
    QPalette palette;
    palette.setColor(QPalette::Window, Qt::black);
    back.setPalette(palette);
    back.resize(100, 40);

    QImage face = solid(80, 30, Qt::darkGray);
    const QColor key(88, 130, 173);
    for (int x = 0; x < 80; ++x) {
        face.setPixel(x, 0, key.rgb()); // a keyed top row
    }
    ImageButton button(&back);
    button.setTransparentColor(key);
    button.setFaces(face);
    button.setCaptionColor(QColor(210, 220, 240));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    font.setBold(true);
    button.setFont(font);
    button.setText(QStringLiteral("Nein"));

    const QImage shot = back.grab().toImage();
    EXPECT_EQ(shot.pixel(10, 0), QColor(Qt::black).rgb()); // the background shows through
    EXPECT_EQ(shot.pixel(2, 2), QColor(Qt::darkGray).rgb());
    EXPECT_GT(countPixels(shot, QColor(210, 220, 240)), 10); // the caption is drawn
}

TEST(ImageButton, ABoxSmallerThanItsFaceShowsTheWholeFaceShrunk) {
    QImage face = solid(138, 34, Qt::darkGray);
    for (int y = 0; y < 34; ++y) {
        for (int x = 118; x < 138; ++x) {
            face.setPixel(x, y, QColor(Qt::red).rgb()); // the right end of the face
        }
    }
    ImageButton button;
    button.setAutoSize(false);
    button.setFaces(face);
    button.resize(138, 34);
    EXPECT_EQ(pixelOf(button, 130, 17), QColor(Qt::red).rgb());
    // Shrunk to two thirds, the face's right end is still at the button's right end.
    button.resize(92, 23);
    const QImage shot = button.grab().toImage();
    EXPECT_EQ(shot.pixel(88, 11), QColor(Qt::red).rgb());
    EXPECT_EQ(shot.pixel(40, 11), QColor(Qt::darkGray).rgb());
}

TEST(ImageButton, ClicksLikeAnyButtonAndNeverTakesTheFocus) {
    ImageButton button;
    button.setFaces(solid(40, 20, Qt::red));
    QSignalSpy clicked(&button, &ImageButton::clicked);
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(button.focusPolicy(), Qt::NoFocus);
}

TEST(BitmapPanel, DrawsItsBitmapAtTheTopLeftAndItsColourElsewhere) {
    BitmapPanel panel;
    panel.resize(50, 40);
    panel.setColor(QColor(39, 39, 39));
    panel.setBitmap(solid(20, 10, Qt::yellow));
    const QImage shot = panel.grab().toImage();
    EXPECT_EQ(shot.pixel(0, 0), QColor(Qt::yellow).rgb());
    EXPECT_EQ(shot.pixel(19, 9), QColor(Qt::yellow).rgb());
    EXPECT_EQ(shot.pixel(20, 9), QColor(39, 39, 39).rgb());
    EXPECT_EQ(shot.pixel(49, 39), QColor(39, 39, 39).rgb());
}

TEST(PictureSlot, ShowsOneEntryOfItsListOrNothing) {
    const BitmapList list({solid(10, 10, Qt::red), solid(10, 10, Qt::blue)});
    BitmapPanel back;
    back.resize(30, 30);
    back.setColor(Qt::black);
    PictureSlot slot(&back);
    slot.setGeometry(5, 5, 10, 10);
    slot.setList(&list);
    EXPECT_EQ(back.grab().toImage().pixel(7, 7), QColor(Qt::black).rgb()); // index -1

    slot.setIndex(1);
    EXPECT_EQ(back.grab().toImage().pixel(7, 7), QColor(Qt::blue).rgb());
    slot.setIndex(0);
    EXPECT_EQ(back.grab().toImage().pixel(7, 7), QColor(Qt::red).rgb());
    slot.setIndex(2); // past the end of the list
    EXPECT_EQ(back.grab().toImage().pixel(7, 7), QColor(Qt::black).rgb());
}

TEST(BuiltinLists, HaveTheFrameAndButtonSizesOfThePainter) {
    if (!QFile::exists(QStringLiteral(":/builtin/frame_0.png"))) {
        GTEST_SKIP() << "the built-in artwork is not linked into this build";
    }
    const QSize frameSizes[] = {{24, 47}, {23, 47},  {135, 47}, {135, 47},
                                {23, 24}, {159, 24}, {23, 24},  {23, 47}};
    const BitmapList& frame = builtinFrameList();
    ASSERT_EQ(frame.count(), 8);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(frame.image(i).size(), frameSizes[i]) << "frame bitmap " << i;
    }
    const BitmapList& buttons = builtinButtonList();
    ASSERT_EQ(buttons.count(), 9);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(buttons.image(i).size(), i < 3 ? QSize(76, 25) : QSize(138, 34))
            << "button face " << i;
    }
}
