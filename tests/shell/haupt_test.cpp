#include "core/options_file.h"
#include "core/user_files.h"
#include "frame/meldung_dialog.h"
#include "shell/haupt.h"
#include "shell/hilfe_dialog.h"
#include "shell/optionen_dialog.h"
#include "shell_fixture.h"
#include "stats/einzelstatistik_dialog.h"
#include "toolkit/bitmap_panel.h"
#include "toolkit/image_button.h"
#include "users/text_eingabe_dialog.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <SDL2/SDL.h>
#include <functional>

using namespace quendal;
using quendal::testing::ShellTest;

namespace {

template <typename T> T* child(QWidget& window, const char* name) {
    T* widget = window.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

QRect place(QWidget& window, const char* name) {
    return child<QWidget>(window, name)->geometry();
}

class HauptTest : public ShellTest {
  protected:
    // The main window as the start-up leaves it, shown.
    THaupt& shown() {
        haupt.setDaten(&daten());
        haupt.show();
        return haupt;
    }

    THaupt haupt;
};

} // namespace

TEST_F(HauptTest, LaysOutTheMenuOfA1024PlayField) {
    THaupt& w = shown();
    EXPECT_EQ(w.geometry(), QRect(0, 0, 1024, 768));
    EXPECT_EQ(place(w, "backpanel"), QRect(24, 24, 976, 720));
    EXPECT_EQ(place(w, "Anmeldepanel"), QRect(24, 24, 976, 720));
    // Gates 300 wide with equal margins of 157, menu faces 160 wide with margins of 84.
    EXPECT_EQ(place(w, "Tor1"), QRect(157, 230, 300, 260));
    EXPECT_EQ(place(w, "Tor2"), QRect(519, 230, 300, 260));
    const int rowTop = place(w, "Einstellungenbutton").top();
    EXPECT_EQ(place(w, "Einstellungenbutton"), QRect(84, rowTop, 160, 40));
    EXPECT_EQ(place(w, "Einzelstatistikbutton"), QRect(300, rowTop, 160, 40));
    EXPECT_EQ(place(w, "Gesamtstatistikbutton"), QRect(516, rowTop, 160, 40));
    EXPECT_EQ(place(w, "Hilfebutton"), QRect(732, rowTop, 160, 40));
    // The hidden user button at (976 - 160) / 2 and 230 / 2 - 40; the row half a button
    // below it; the exit button between the gates and the logo.
    EXPECT_EQ(place(w, "Benutzerbutton"), QRect(408, 75, 160, 40));
    EXPECT_EQ(rowTop, 135);
    EXPECT_EQ(place(w, "Logo1"), QRect(317, 644, 344, 76));
    EXPECT_EQ(place(w, "Exitbutton"), QRect(408, 547, 160, 40));
    for (const char* name :
         {"backpanel", "Einstellungenbutton", "Einzelstatistikbutton", "Gesamtstatistikbutton",
          "Hilfebutton", "Exitbutton", "Benutzerbutton"}) {
        EXPECT_EQ(child<QWidget>(w, name)->font().pointSize(), 12) << name;
        EXPECT_TRUE(child<QWidget>(w, name)->font().bold()) << name;
    }
    // The login panel keeps its design places.
    EXPECT_EQ(place(w, "B1"), QRect(316, 644, 344, 76));
    EXPECT_EQ(place(w, "Key1"), QRect(4, 238, 232, 100));
    EXPECT_EQ(place(w, "Key2"), QRect(245, 239, 232, 100));
    EXPECT_EQ(place(w, "Key3"), QRect(486, 239, 232, 100));
    EXPECT_EQ(place(w, "Key4"), QRect(728, 239, 232, 100));
    EXPECT_EQ(child<QWidget>(w, "Key1")->font().pixelSize(), 16);
    EXPECT_EQ(place(w, "LMDSimpleLabel1"), QRect(0, 160, 976, 24));
    EXPECT_EQ(child<QWidget>(w, "LMDSimpleLabel1")->font().pixelSize(), 16);
}

TEST_F(HauptTest, LaysOutTheMenuOfAn800PlayFieldInEnglish) {
    programState().PlayWidth = 800;
    programState().PlayHeight = 600;
    programState().UiLanguage = 2;
    THaupt& w = shown();
    EXPECT_EQ(w.geometry(), QRect(0, 0, 800, 600));
    EXPECT_EQ(place(w, "backpanel"), QRect(19, 19, 762, 562));
    // Gates 234 wide: free width 294, gap 49.
    // The login panel laid out for the panel: the hints at 128 / 720 of its height.
    EXPECT_EQ(place(w, "label2"), QRect(0, 99, 762, 18)) << "the hints centred on the panel";
    EXPECT_EQ(place(w, "Tor1").left(), 122);
    EXPECT_EQ(place(w, "Tor2").left(), 405);
    // Menu faces 125 wide: free width 262, gap 43.
    EXPECT_EQ(place(w, "Einstellungenbutton").left(), 66);
    EXPECT_EQ(place(w, "Einzelstatistikbutton").left(), 234);
    EXPECT_EQ(place(w, "Gesamtstatistikbutton").left(), 402);
    EXPECT_EQ(place(w, "Hilfebutton").left(), 570);
    EXPECT_EQ(child<QWidget>(w, "Exitbutton")->font().pointSize(), 10);
    EXPECT_EQ(child<ImageButton>(w, "Einstellungenbutton")->text(), QStringLiteral("Settings"));
    EXPECT_EQ(child<ImageButton>(w, "Einzelstatistikbutton")->text(),
              QStringLiteral("Single statistics"));
    EXPECT_EQ(child<ImageButton>(w, "Gesamtstatistikbutton")->text(),
              QStringLiteral("Global statistics"));
    EXPECT_EQ(child<ImageButton>(w, "Hilfebutton")->text(), QStringLiteral("Help"));
    EXPECT_EQ(child<ImageButton>(w, "Exitbutton")->text(), QStringLiteral("Quit"));
    // The hints and the unused tags read German in both languages.
    EXPECT_TRUE(child<QLabel>(w, "label2")->text().startsWith(QStringLiteral("Klicken Sie")));
    EXPECT_EQ(child<ImageButton>(w, "Key3")->text(), QStringLiteral("unbenutzt"));
    EXPECT_EQ(programState().vocabulary.playKindNames[1], "color");
}

TEST_F(HauptTest, FirstShowPreparesTheTagsAndShowsTheLoginPanelOnly) {
    programState().DataFolder = data.folder();
    data.write("user2.cfg", encodeNameRecord("Anna Schmidt"));
    THaupt& w = shown();
    for (const char* file : {"user1.dat", "user2.dat", "user3.dat", "user4.dat"}) {
        EXPECT_TRUE(data.exists(file)) << file;
        EXPECT_EQ(data.read(file), "") << file;
    }
    EXPECT_EQ(child<ImageButton>(w, "Key1")->text(), QStringLiteral("unbenutzt"));
    EXPECT_EQ(child<ImageButton>(w, "Key2")->text(), QStringLiteral("Anna Schmidt"));
    EXPECT_TRUE(child<QWidget>(w, "Anmeldepanel")->isVisible());
    EXPECT_FALSE(child<QWidget>(w, "backpanel")->isVisible());
    EXPECT_TRUE(child<QWidget>(w, "Benutzerbutton")->isHidden());
    EXPECT_EQ(child<ImageButton>(w, "Einstellungenbutton")->text(),
              QStringLiteral("Einstellungen"));
    EXPECT_EQ(child<ImageButton>(w, "Exitbutton")->text(), QStringLiteral("Ende"));
    EXPECT_TRUE(w.property("quendalOffTaskbar").toBool()) << "no taskbar entry";
    EXPECT_TRUE(w.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_FALSE(programState().JoystickPresent);
    EXPECT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();
}

TEST_F(HauptTest, AnAttachedJoystickIsFoundWhenTheWindowIsFirstShown) {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 4, 0);
    ASSERT_GE(index, 0) << SDL_GetError();
    SDL_Joystick* stick = SDL_JoystickOpen(index);
    ASSERT_NE(stick, nullptr) << SDL_GetError();
    SDL_JoystickSetVirtualAxis(stick, 0, 3000); // a stick that rests a little to the right
    THaupt& w = shown();
    EXPECT_TRUE(programState().JoystickPresent);
    EXPECT_TRUE(daten().Joystick.isOpen()) << "captured for the program's life";
    EXPECT_FALSE(daten().Joystick.polling()) << "no polling while the menu shows";
    EXPECT_EQ(daten().Joystick.restPosition(), QPoint(3000, 0));
    // A screen that takes the joystick polls it while it shows; the rest position stays the
    // one of the first show, whatever the stick does later.
    SDL_JoystickSetVirtualAxis(stick, 0, -9000);
    daten().JoystickScreenShown(true);
    EXPECT_TRUE(daten().Joystick.polling());
    daten().JoystickScreenShown(false);
    EXPECT_FALSE(daten().Joystick.polling());
    w.hide();
    w.show();
    EXPECT_EQ(daten().Joystick.restPosition(), QPoint(3000, 0));
    EXPECT_EQ(daten().Joystick.scaled({3000, 0}), QPoint(0, 0));
    EXPECT_FALSE(daten().Joystick.polling());
    daten().Joystick.close();
    SDL_JoystickClose(stick);
    SDL_JoystickDetachVirtual(index);
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

TEST_F(HauptTest, PaintsTheFrameFromTheSchemeCornersAndEdges) {
    THaupt& w = shown();
    const QImage shot = w.grab().toImage();
    const BitmapList& s = daten().SchemeBMPliste;
    EXPECT_EQ(shot.pixel(3, 3), s.image(9).pixel(3, 3)) << "top-left corner";
    const QImage& br = s.image(7);
    EXPECT_EQ(shot.pixel(1020, 764), br.pixel(br.width() - 4, br.height() - 4))
        << "bottom-right corner";
    const QImage& top = s.image(8);
    EXPECT_EQ(shot.pixel(500, 2), top.pixel(500 % top.width(), 2)) << "top edge, tiled";
    const QImage& left = s.image(6);
    EXPECT_EQ(shot.pixel(2, 400), left.pixel(2, 400 % left.height())) << "left edge, tiled";
}

TEST_F(HauptTest, EscapeClosesAndTheCloseWritesTheNameFileAndTheOptions) {
    THaupt& w = shown();
    QSignalSpy closed(&w, &THaupt::closed);
    programState().options = {0, 77};
    programState().CurrentUser.SettingsFileName = "user3.cfg";
    programState().CurrentUser.DisplayName = "Jörg";
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(data.read("optionen.cfg"), std::string("\0\0\0\0\x4d\0\0\0", 8));
    const std::string record = data.read("user3.cfg");
    ASSERT_EQ(record.size(), 51U);
    EXPECT_EQ(record.substr(0, 5), std::string("\x04J\xf6rg"));
    EXPECT_FALSE(data.exists("optionen.cfg.tmp"));
}

TEST_F(HauptTest, TheExitButtonClosesWithoutAQuestionAndWritesTheDefaults) {
    THaupt& w = shown();
    QSignalSpy closed(&w, &THaupt::closed);
    child<ImageButton>(w, "Exitbutton")->click();
    EXPECT_EQ(closed.count(), 1);
    EXPECT_EQ(data.read("optionen.cfg"), std::string("\x01\0\0\0\x1e\0\0\0", 8));
    // Without a login the name file of tag 4, which the tags were read through last.
    EXPECT_EQ(data.read("user4.cfg"), std::string(51, '\0'));
}

TEST_F(HauptTest, ResultFilesThatCannotBeCreatedAreReportedAndEndTheProgram) {
    // The data folder is a file: nothing can be created in it.
    data.write("blocked", "x");
    programState().DataFolder = data.file("blocked") + "/";
    TMeldungDialog meldung;
    haupt.setMeldungDialog(&meldung);
    QSignalSpy quit(&haupt, &THaupt::quitRequested);
    QStringList shownTexts;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (QApplication::activeModalWidget() == &meldung) {
            shownTexts << meldung.windowTitle();
            meldung.done(2);
        }
    });
    closer.start(5);
    shown();
    closer.stop();
    EXPECT_EQ(shownTexts.size(), 4) << "one message for each tag";
    EXPECT_EQ(shownTexts.value(0), QStringLiteral("Hinweis"));
    ASSERT_EQ(quit.count(), 1);
    EXPECT_EQ(quit.at(0).at(0).toInt(), 1);
    EXPECT_EQ(child<ImageButton>(haupt, "Key1")->text(), QStringLiteral("unbenutzt"));
}

TEST_F(HauptTest, TheDeactivationEndsOnlyAMinimisedFullScreenProgram) {
    THaupt& w = shown();
    QSignalSpy closed(&w, &THaupt::closed);
    programState().FullScreenMode = true;
    w.ApplicationDeactivate(); // not minimised
    EXPECT_EQ(closed.count(), 0);
    w.showMinimized();
    programState().FullScreenMode = false;
    w.ApplicationDeactivate();
    EXPECT_EQ(closed.count(), 0);
    programState().FullScreenMode = true;
    w.ApplicationDeactivate();
    EXPECT_EQ(closed.count(), 1);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.at(0).startsWith(QStringLiteral("W I C H T I G E R   H I N W E I S !")));
    EXPECT_TRUE(data.exists("optionen.cfg"));
}

TEST_F(HauptTest, ThePlayFieldLiesAtTheTopLeftOfABlackFullScreenSurface) {
    // As the start-up does it: the surface first, then the main window shown in it.
    programState().PlayWidth = 640;
    programState().PlayHeight = 480;
    haupt.showDisplaySurface();
    THaupt& w = shown();
    QWidget* surface = w.displaySurface();
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(surface->objectName(), QStringLiteral("DXDraw"));
    EXPECT_TRUE(surface->isWindow());
    EXPECT_TRUE(surface->windowState().testFlag(Qt::WindowFullScreen));
    EXPECT_TRUE(surface->windowFlags().testFlag(Qt::Tool)) << "no taskbar entry";
    EXPECT_EQ(surface->geometry(), QGuiApplication::primaryScreen()->geometry());
    EXPECT_FALSE(w.isWindow());
    EXPECT_EQ(w.window(), surface);
    EXPECT_EQ(w.geometry(), QRect(0, 0, 640, 480));
    const QImage seen = surface->grab().toImage();
    EXPECT_EQ(seen.pixel(700, 550), qRgb(0, 0, 0)) << "black beyond the play field";
    EXPECT_NE(seen.pixel(10, 10), qRgb(0, 0, 0)) << "the frame at the top-left";

    // The instruction and run screens lie in the main window, over all of it, with the focus.
    QDialog screen;
    screen.setFocusPolicy(Qt::StrongFocus);
    w.holdPlayFieldScreen(screen);
    EXPECT_EQ(screen.parentWidget(), &w);
    screen.setGeometry(0, 0, 640, 480);
    screen.show();
    QApplication::processEvents();
    EXPECT_FALSE(screen.isWindow());
    EXPECT_TRUE(screen.hasFocus() || QApplication::focusWidget() == &screen);
    EXPECT_EQ(screen.mapTo(surface, QPoint(0, 0)), QPoint(0, 0));
    screen.hide();

    // A close of the surface by the desktop closes the main window as the exit button does.
    surface->close();
    QApplication::processEvents();
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(data.exists("optionen.cfg"));
}

namespace {

// The main window with the program's dialogs, as the start-up wires them.
class HauptLoginTest : public HauptTest {
  protected:
    void SetUp() override {
        HauptTest::SetUp();
        haupt.useDialogs({&name, &meldung, &hilfe, &optionen, &einzelstatistik});
    }

    // Does `action`; when the modal `dialog` comes up, `inDialog` drives it. Returns whether
    // the dialog was shown. A dialog left open is cancelled, so a test never hangs.
    static bool whileModal(QDialog& dialog, const std::function<void()>& action,
                           const std::function<void()>& inDialog) {
        bool shown = false;
        QTimer::singleShot(0, &dialog, [&] {
            shown = dialog.isVisible();
            if (shown && inDialog) {
                inDialog();
            }
            if (dialog.isVisible()) {
                dialog.done(2);
            }
        });
        action();
        QCoreApplication::sendPostedEvents();
        return shown;
    }

    void typeName(const QString& text, Qt::Key close) {
        QTest::keyClicks(name.NameEdit(), text);
        QTest::keyClick(name.NameEdit(), close);
    }

    bool leftClick(int tag, const std::function<void()>& inDialog = {}) {
        ImageButton* key = keyOf(tag);
        return whileModal(
            name, [key] { QTest::mouseClick(key, Qt::LeftButton); }, inDialog);
    }
    bool press(int tag, Qt::MouseButton button, const std::function<void()>& inDialog = {}) {
        ImageButton* key = keyOf(tag);
        return whileModal(
            name,
            [key, button] {
                QTest::mousePress(key, button);
                QTest::mouseRelease(key, button);
            },
            inDialog);
    }
    ImageButton* keyOf(int tag) {
        return child<ImageButton>(haupt, QStringLiteral("Key%1").arg(tag).toLatin1().constData());
    }
    bool menuShown() {
        return child<QWidget>(haupt, "backpanel")->isVisible() &&
               !child<QWidget>(haupt, "Anmeldepanel")->isVisible();
    }

    TTextEingabeDialog name;
    TMeldungDialog meldung;
    THilfeDialog hilfe{&meldung};
    TOptionenDialog optionen;
    TEinzelstatistikDialog einzelstatistik;
};

} // namespace

TEST_F(HauptLoginTest, ALeftClickOnAnUnusedTagAsksForANameAndLogsIn) {
    shown();
    EXPECT_TRUE(leftClick(1, [&] { typeName(QStringLiteral("  Berta Lang  "), Qt::Key_Return); }));
    EXPECT_TRUE(haupt.loggedIn());
    EXPECT_TRUE(menuShown());
    const CurrentUserRecord& user = programState().CurrentUser;
    EXPECT_EQ(user.DisplayName, "Berta Lang");
    EXPECT_EQ(user.ResultFileName, "user1.dat");
    EXPECT_EQ(user.Folder, data.folder());
    EXPECT_FALSE(data.exists("user1.cfg")) << "the name is stored when the program ends";
    QTest::keyClick(&haupt, Qt::Key_Escape);
    EXPECT_EQ(decodeNameRecord(data.read("user1.cfg")), "Berta Lang");
}

TEST_F(HauptLoginTest, ALeftClickOnANamedTagLogsInAtOnce) {
    data.write("user3.cfg", encodeNameRecord("Anna"));
    shown();
    EXPECT_FALSE(leftClick(3));
    EXPECT_TRUE(menuShown());
    EXPECT_EQ(programState().CurrentUser.DisplayName, "Anna");
    EXPECT_EQ(programState().CurrentUser.ResultFileName, "user3.dat");
}

TEST_F(HauptLoginTest, ARightClickRenamesAndACancelledRenameKeepsTheLoginPanel) {
    data.write("user2.cfg", encodeNameRecord("Anna"));
    shown();
    EXPECT_TRUE(
        press(2, Qt::RightButton, [&] { typeName(QStringLiteral("Nina"), Qt::Key_Escape); }));
    EXPECT_FALSE(haupt.loggedIn());
    EXPECT_TRUE(child<QWidget>(haupt, "Anmeldepanel")->isVisible());
    EXPECT_EQ(programState().CurrentUser.DisplayName, "Anna");

    // Another button than the right one does nothing.
    EXPECT_FALSE(press(2, Qt::MiddleButton));
    EXPECT_FALSE(haupt.loggedIn());

    // A name of blanks is refused: the dialog stays open until a real name comes.
    EXPECT_TRUE(press(2, Qt::RightButton, [&] {
        typeName(QStringLiteral("   "), Qt::Key_Return);
        EXPECT_TRUE(name.isVisible());
        name.NameEdit()->clear();
        typeName(QStringLiteral("Nina Berg"), Qt::Key_Return);
    }));
    EXPECT_TRUE(menuShown());
    EXPECT_EQ(programState().CurrentUser.DisplayName, "Nina Berg");
    haupt.close();
    EXPECT_EQ(decodeNameRecord(data.read("user2.cfg")), "Nina Berg");
}

TEST_F(HauptLoginTest, TheMenuOpensTheOptionsTheHelpAndTheSingleStatisticsModally) {
    data.write("user1.cfg", encodeNameRecord("Anna"));
    shown();
    leftClick(1);
    ASSERT_TRUE(menuShown());
    auto* settings = child<ImageButton>(haupt, "Einstellungenbutton");
    EXPECT_TRUE(whileModal(optionen, [settings] { settings->click(); }, {}));
    auto* help = child<ImageButton>(haupt, "Hilfebutton");
    EXPECT_TRUE(whileModal(hilfe, [help] { help->click(); }, {}));
    // Before the first run the single statistics only tell the user so.
    auto* single = child<ImageButton>(haupt, "Einzelstatistikbutton");
    QString told;
    EXPECT_TRUE(whileModal(
        meldung, [single] { single->click(); },
        [&] { told = child<QLabel>(meldung, "Textfeld")->text(); }));
    EXPECT_EQ(told, QStringLiteral("Der aktuelle Benutzer hat noch keinen Durchgang absolviert."));
    EXPECT_FALSE(einzelstatistik.isVisible());
    // After a run it shows the view.
    programState().current.roundCount = 8;
    programState().RunUnsaved = false;
    EXPECT_TRUE(whileModal(einzelstatistik, [single] { single->click(); }, {}));
    // The gates and the overall statistics are there and do nothing yet.
    for (const char* inert : {"Tor1", "Tor2", "Gesamtstatistikbutton"}) {
        child<ImageButton>(haupt, inert)->click();
        EXPECT_TRUE(menuShown()) << inert;
    }
}

namespace {

// Every tag, both hints and the logo lie whole inside the login panel, apart from each
// other; the hints' texts fit their lines; the middle of every tag is the tag's own.
void expectLoginPanelWhole(QWidget& window) {
    QWidget* panel = child<QWidget>(window, "Anmeldepanel");
    const QRect inside(QPoint(0, 0), panel->size());
    std::vector<QWidget*> pieces;
    for (const char* name : {"label2", "LMDSimpleLabel1", "B1", "Key1", "Key2", "Key3", "Key4"}) {
        pieces.push_back(child<QWidget>(window, name));
    }
    for (std::size_t a = 0; a < pieces.size(); ++a) {
        const QRect rect = pieces[a]->geometry();
        EXPECT_TRUE(inside.contains(rect)) << pieces[a]->objectName().toStdString();
        for (std::size_t b = a + 1; b < pieces.size(); ++b) {
            EXPECT_FALSE(rect.intersects(pieces[b]->geometry()))
                << pieces[a]->objectName().toStdString() << " "
                << pieces[b]->objectName().toStdString();
        }
    }
    for (const char* name : {"label2", "LMDSimpleLabel1"}) {
        auto* hint = child<QLabel>(window, name);
        const QFontMetrics metrics(hint->font());
        EXPECT_LE(metrics.horizontalAdvance(hint->text()), hint->width()) << name;
        EXPECT_LE(metrics.height(), hint->height()) << name;
        EXPECT_GE(hint->font().pixelSize(), 10) << name;
    }
    for (int tag = 1; tag <= 4; ++tag) {
        auto* key = child<ImageButton>(window, QStringLiteral("Key%1").arg(tag).toLatin1());
        EXPECT_EQ(window.childAt(key->mapTo(&window, key->rect().center())), key) << tag;
    }
}

} // namespace

TEST_F(HauptLoginTest, At640By480EveryTagIsWholeAndTheFourthLogsIn) {
    programState().PlayWidth = 640;
    programState().PlayHeight = 480;
    shown();
    EXPECT_EQ(place(haupt, "Anmeldepanel"), QRect(15, 15, 610, 450));
    expectLoginPanelWhole(haupt);
    // The tags as drawn for this play field, spread across the panel; the logo at the bottom.
    EXPECT_EQ(place(haupt, "Key1"), QRect(6, 148, 145, 63));
    EXPECT_EQ(place(haupt, "Key4"), QRect(459, 149, 145, 63));
    EXPECT_EQ(place(haupt, "B1"), QRect(197, 402, 215, 48));
    EXPECT_EQ(keyOf(4)->size(), QSize(145, 63));

    EXPECT_TRUE(leftClick(4, [&] { typeName(QStringLiteral("Dora"), Qt::Key_Return); }));
    EXPECT_TRUE(menuShown());
    EXPECT_EQ(programState().CurrentUser.ResultFileName, "user4.dat");
    QTest::keyClick(&haupt, Qt::Key_Escape);
    EXPECT_EQ(decodeNameRecord(data.read("user4.cfg")), "Dora");
}

TEST_F(HauptLoginTest, At800By600EveryTagIsWhole) {
    programState().PlayWidth = 800;
    programState().PlayHeight = 600;
    shown();
    EXPECT_EQ(place(haupt, "Anmeldepanel"), QRect(19, 19, 762, 562));
    expectLoginPanelWhole(haupt);
    EXPECT_EQ(keyOf(4)->size(), QSize(181, 78));
}
