#include "core/program_state.h"
#include "frame/meldung_dialog.h"
#include "frame/meldung_message_sink.h"
#include "toolkit/image_button.h"

#include <QLabel>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using namespace quendal;

namespace {

template <typename T> T* child(QWidget& dialog, const char* name) {
    T* widget = dialog.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

// Runs `whileOpen` once the modal box is up, then shows the box with the given message.
int answer(TMeldungDialog& box, bool yesNo, const std::function<void()>& whileOpen, int lines = 4) {
    QTimer::singleShot(0, &box, whileOpen);
    return box.Meldungsfenster(QStringLiteral("Text"), QStringLiteral("Hinweis"), yesNo, true,
                               lines);
}

} // namespace

TEST(Meldungsfenster, FourLinesGiveTheHeightsOfTheBox) {
    TMeldungDialog box;
    box.prepare(QStringLiteral("Vier Zeilen"), QStringLiteral("Hinweis"), true, true, 4);
    EXPECT_EQ(box.size(), QSize(487, 220));
    auto* ppp = child<QWidget>(box, "ppp");
    EXPECT_EQ(ppp->geometry(), QRect(23, 47, 441, 149));
    EXPECT_EQ(child<QLabel>(box, "Textfeld")->geometry(), QRect(23, 19, 394, 84));
    EXPECT_EQ(child<QLabel>(box, "L3")->geometry(), QRect(13, 19, 415, 84));
    EXPECT_EQ(child<QLabel>(box, "L2")->geometry(), QRect(12, 18, 417, 86));
    EXPECT_EQ(child<QLabel>(box, "L1")->geometry(), QRect(11, 17, 419, 88));
    EXPECT_EQ(child<QWidget>(box, "UPanel")->geometry(), QRect(0, 106, 441, 43));

    box.prepare(QStringLiteral("Sechs Zeilen"), QStringLiteral("Hinweis"), true, true, 6);
    EXPECT_EQ(box.size(), QSize(487, 264));
    EXPECT_EQ(child<QLabel>(box, "Textfeld")->height(), 128);
    EXPECT_EQ(child<QWidget>(box, "UPanel")->geometry(), QRect(0, 150, 441, 43));
}

TEST(Meldungsfenster, PlacesAndNamesTheButtonsByFormAndLanguage) {
    TMeldungDialog box;
    auto* ja = child<ImageButton>(box, "jabutton");
    auto* nein = child<ImageButton>(box, "neinbutton");

    box.prepare(QStringLiteral("?"), QStringLiteral("Hinweis"), true, true, 4);
    EXPECT_EQ(ja->geometry(), QRect(80, 3, 138, 34));
    EXPECT_EQ(nein->geometry(), QRect(225, 3, 138, 34));
    EXPECT_EQ(ja->text(), QStringLiteral("Ja"));
    EXPECT_EQ(nein->text(), QStringLiteral("Nein"));
    EXPECT_FALSE(ja->isHidden());
    EXPECT_TRUE(ja->isEnabled());

    box.prepare(QStringLiteral("!"), QStringLiteral("Fehler"), false, true, 4);
    EXPECT_EQ(nein->x(), 151);
    EXPECT_EQ(nein->text(), QStringLiteral("OK"));
    EXPECT_TRUE(ja->isHidden());
    EXPECT_FALSE(ja->isEnabled());

    programState().UiLanguage = 2;
    box.prepare(QStringLiteral("?"), QStringLiteral("Info"), true, true, 4);
    EXPECT_EQ(ja->text(), QStringLiteral("Yes"));
    EXPECT_EQ(nein->text(), QStringLiteral("No"));
    EXPECT_EQ(nein->x(), 225);
    EXPECT_FALSE(ja->isHidden()); // nothing of the OK form is left over
    box.prepare(QStringLiteral("!"), QStringLiteral("Error"), false, true, 4);
    EXPECT_EQ(nein->text(), QStringLiteral("OK"));
}

TEST(Meldungsfenster, SetsTextCaptionAndAlignmentAnewForEveryMessage) {
    TMeldungDialog box;
    auto* text = child<QLabel>(box, "Textfeld");
    box.prepare(QStringLiteral("Erste\rZeile"), QStringLiteral("Hinweis"), true, true, 4);
    EXPECT_EQ(text->text(), QStringLiteral("Erste\nZeile"));
    EXPECT_EQ(box.windowTitle(), QStringLiteral("Hinweis"));
    EXPECT_EQ(text->alignment(), Qt::AlignHCenter | Qt::AlignVCenter);
    EXPECT_EQ(text->textFormat(), Qt::PlainText); // "<b>" in a name stays as typed

    box.prepare(QStringLiteral("Zweite"), QString(), false, false, 6);
    EXPECT_EQ(text->text(), QStringLiteral("Zweite"));
    EXPECT_EQ(box.windowTitle(), QString());
    EXPECT_EQ(text->alignment(), Qt::AlignLeft | Qt::AlignVCenter);
}

TEST(Meldungsfenster, EveryKeyGivesItsResultInBothForms) {
    struct Case {
        int key;
        const char* text;
        int result;
    };
    const Case cases[] = {
        {Qt::Key_Return, "\r", 6}, {Qt::Key_Enter, "\r", 6}, {Qt::Key_Escape, "\x1b", 2},
        {Qt::Key_J, "j", 6},       {Qt::Key_J, "J", 6},      {Qt::Key_N, "n", 2},
        {Qt::Key_N, "N", 2},
    };
    TMeldungDialog box; // one box, reused for every message
    for (const bool yesNo : {true, false}) {
        for (const Case& c : cases) {
            const int result = answer(box, yesNo, [&] {
                QKeyEvent press(QEvent::KeyPress, c.key, Qt::NoModifier,
                                QString::fromLatin1(c.text));
                QCoreApplication::sendEvent(&box, &press);
            });
            EXPECT_EQ(result, c.result) << "key " << c.text << " yesNo " << yesNo;
            EXPECT_FALSE(box.isVisible());
        }
    }
}

TEST(Meldungsfenster, OtherKeysLeaveTheBoxOpen) {
    TMeldungDialog box;
    bool stillOpen = false;
    const int result = answer(box, true, [&] {
        QTest::keyClick(&box, Qt::Key_X);
        QTest::keyClick(&box, Qt::Key_Space);
        QTest::keyClick(&box, Qt::Key_Left);
        stillOpen = box.isVisible();
        QTest::keyClick(&box, Qt::Key_Escape);
    });
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(result, 2);
}

TEST(Meldungsfenster, ButtonsAndTheCloseBoxGiveTheirResults) {
    TMeldungDialog box;
    auto* ja = child<ImageButton>(box, "jabutton");
    auto* nein = child<ImageButton>(box, "neinbutton");
    EXPECT_EQ(answer(box, true, [&] { QTest::mouseClick(ja, Qt::LeftButton); }), 6);
    EXPECT_EQ(answer(box, true, [&] { QTest::mouseClick(nein, Qt::LeftButton); }), 2);
    EXPECT_EQ(answer(box, false, [&] { QTest::mouseClick(nein, Qt::LeftButton); }), 2);
    // The close box: 17 x 17 pixels from (width - 42, 18).
    EXPECT_EQ(answer(box, true,
                     [&] { QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(487 - 42, 18)); }),
              2);
    EXPECT_EQ(answer(box, true,
                     [&] { QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(487 - 26, 34)); }),
              2);
}

TEST(Meldungsfenster, IsCentredOnThePlayFieldWhenShown) {
    TMeldungDialog box;
    QPoint shownAt;
    answer(box, true, [&] {
        shownAt = box.pos();
        box.jabuttonClick();
    });
    EXPECT_EQ(shownAt, QPoint((1024 - 487) / 2, (768 - 220) / 2));

    programState().PlayWidth = 800;
    programState().PlayHeight = 600;
    answer(
        box, false,
        [&] {
            shownAt = box.pos();
            box.neinbuttonClick();
        },
        6);
    EXPECT_EQ(shownAt, QPoint(156, 168)); // 313 / 2 and 336 / 2, rounded toward zero
}

TEST(Meldungsfenster, AMessageArrivingWhileOneIsOpenGetsABoxOfItsOwn) {
    TMeldungDialog box;
    int inner = 0;
    QString outerText;
    const int outer = answer(box, true, [&] {
        QTimer::singleShot(0, [&] {
            QWidget* nested = QApplication::activeModalWidget();
            outerText = box.findChild<QLabel*>(QStringLiteral("Textfeld"))->text();
            if (nested != nullptr && nested != &box) {
                QTest::keyClick(nested, Qt::Key_Escape);
            }
        });
        inner =
            box.Meldungsfenster(QStringLiteral("Zweite"), QStringLiteral("Fehler"), false, true, 4);
        QTest::keyClick(&box, Qt::Key_Return);
    });
    EXPECT_EQ(inner, 2);
    EXPECT_EQ(outer, 6);
    EXPECT_EQ(outerText, QStringLiteral("Text")); // the first message stayed as it was
}

TEST(MeldungMessageSink, ShowsCoreMessagesInTheBox) {
    TMeldungDialog box;
    MeldungMessageSink sink(box);
    QString shown;
    QTimer::singleShot(0, &box, [&] {
        shown = box.findChild<QLabel*>(QStringLiteral("Textfeld"))->text();
        QTest::keyClick(&box, Qt::Key_J);
    });
    EXPECT_EQ(sink.Show("Ergebnisdatei für Grün", "Hinweis", true, true, 4), 6);
    EXPECT_EQ(shown, QStringLiteral("Ergebnisdatei für Grün"));
    EXPECT_EQ(box.windowTitle(), QStringLiteral("Hinweis"));
}
