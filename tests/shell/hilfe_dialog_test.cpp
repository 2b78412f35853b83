// The help viewer with real help files in a temporary program folder.

#include "core/program_state.h"
#include "frame/meldung_dialog.h"
#include "shell/hilfe_dialog.h"
#include "toolkit/image_button.h"
#include "toolkit/rtf_reader.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace quendal;

namespace {

class HilfeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("DATA")));
        programState().ProgramFolder = dir_.path().toStdString() + "/";
        programState().DataFolder = "/home/anna/.local/share/Quendal/Varon/Daten/";
        writeHelp("hilfe.rtf", "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}"
                               "{\\b Willkommen} in der Hilfe f\\'fcr Quendal.\\par}");
        writeHelp("ehilfe.rtf", "{\\rtf1\\ansi Welcome to the help.\\par}");
    }

    void writeHelp(const char* name, const char* rtf, const char* folder = "DATA") const {
        QFile out(dir_.filePath(QString::fromLatin1(folder) + QLatin1Char('/') +
                                QString::fromLatin1(name)));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(rtf);
    }

    // Shows the viewer modally and runs `whileOpen` once it is up.
    int run(const std::function<void()>& whileOpen) {
        QTimer::singleShot(0, &viewer_, [&] {
            // Focus exists only in the active window.
            viewer_.activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&viewer_));
            shownText_ = viewer_.RichEdit()->toPlainText().trimmed();
            whileOpen();
            if (viewer_.isVisible()) {
                closedByTest_ = true;
                viewer_.done(99); // a test that forgot to close never hangs
            }
        });
        closedByTest_ = false;
        return viewer_.exec();
    }

    void key(Qt::Key k) { QTest::keyClick(viewer_.helpbutton(), k); }

    QTemporaryDir dir_;
    TMeldungDialog messageBox_;
    THilfeDialog viewer_{&messageBox_};
    QString shownText_;
    bool closedByTest_ = false;
};

} // namespace

TEST_F(HilfeTest, LayoutAndTheButtonHiddenUnderTheText) {
    EXPECT_EQ(viewer_.size(), QSize(676, 531));
    auto* ppp = viewer_.findChild<QWidget*>(QStringLiteral("ppp"));
    EXPECT_EQ(ppp->geometry(), QRect(23, 47, 630, 460));
    EXPECT_EQ(viewer_.RichEdit()->objectName(), QStringLiteral("RichEdit"));
    EXPECT_EQ(viewer_.RichEdit()->geometry(), QRect(21, 23, 588, 386));
    EXPECT_TRUE(viewer_.RichEdit()->isReadOnly());
    EXPECT_EQ(viewer_.helpbutton()->geometry(), QRect(38, 31, 67, 41));
    EXPECT_EQ(viewer_.helpbutton()->text(), QStringLiteral("Helpbutton"));
    // What lies at the button's middle is the text, not the button.
    QWidget* top = ppp->childAt(viewer_.helpbutton()->geometry().center());
    EXPECT_TRUE(top == viewer_.RichEdit() || viewer_.RichEdit()->isAncestorOf(top));
    EXPECT_EQ(viewer_.findChild<ImageButton*>(QStringLiteral("okbutton"))->geometry(),
              QRect(246, 417, 138, 34));
    auto* version = viewer_.findChild<QLabel*>(QStringLiteral("VersionLabel"));
    EXPECT_EQ(version->geometry(), QRect(400, 423, 208, 23));
    EXPECT_EQ(version->alignment(), Qt::AlignRight | Qt::AlignVCenter);
}

TEST_F(HilfeTest, ShowsTheGermanTextWithItsCaptions) {
    QString version;
    QString button;
    bool helpFocused = false;
    EXPECT_EQ(run([&] {
                  version = viewer_.findChild<QLabel*>(QStringLiteral("VersionLabel"))->text();
                  button = viewer_.findChild<ImageButton*>(QStringLiteral("okbutton"))->text();
                  helpFocused = viewer_.helpbutton()->hasFocus();
                  key(Qt::Key_Return);
              }),
              1);
    EXPECT_EQ(shownText_, QString::fromUtf8("Willkommen in der Hilfe für Quendal."));
    EXPECT_EQ(viewer_.windowTitle(), QStringLiteral("Hilfe"));
    EXPECT_EQ(button, QString::fromUtf8("Schließen"));
    EXPECT_EQ(version, QStringLiteral("Release: 05.02.2010"));
    EXPECT_TRUE(helpFocused);
}

TEST_F(HilfeTest, ShowsTheEnglishFileInEnglish) {
    programState().UiLanguage = 2;
    QString button;
    run([&] {
        button = viewer_.findChild<ImageButton*>(QStringLiteral("okbutton"))->text();
        key(Qt::Key_Escape);
    });
    EXPECT_EQ(shownText_, QStringLiteral("Welcome to the help."));
    EXPECT_EQ(viewer_.windowTitle(), QStringLiteral("Help"));
    EXPECT_EQ(button, QStringLiteral("Close"));
}

TEST_F(HilfeTest, EnterEscapeSpaceAndTheCloseButtonCloseWithOne) {
    for (const Qt::Key k : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Space}) {
        EXPECT_EQ(run([&] { key(k); }), 1) << k;
        EXPECT_FALSE(closedByTest_);
    }
    EXPECT_EQ(run([&] {
                  QTest::mouseClick(viewer_.findChild<ImageButton*>(QStringLiteral("okbutton")),
                                    Qt::LeftButton);
              }),
              1);
    EXPECT_EQ(run([&] { QTest::mouseClick(&viewer_, Qt::LeftButton, {}, QPoint(676 - 40, 20)); }),
              2);
    EXPECT_FALSE(closedByTest_);
}

TEST_F(HilfeTest, F11ShowsTheDataFolderAndTheViewerStaysOpen) {
    QString text;
    QString caption;
    QSize boxSize;
    bool openAfter = false;
    run([&] {
        QTimer::singleShot(0, &messageBox_, [&] {
            text = messageBox_.findChild<QLabel*>(QStringLiteral("Textfeld"))->text();
            caption = messageBox_.windowTitle();
            boxSize = messageBox_.size();
            QTest::keyClick(&messageBox_, Qt::Key_Return);
        });
        key(Qt::Key_F11);
        openAfter = viewer_.isVisible();
        key(Qt::Key_Escape);
    });
    EXPECT_EQ(text, QStringLiteral("/home/anna/.local/share/Quendal/Varon/Daten/"));
    EXPECT_EQ(caption, QStringLiteral("Variable \"BasisPfad\""));
    EXPECT_EQ(boxSize, QSize(487, 220)); // four lines
    EXPECT_TRUE(openAfter);
    EXPECT_FALSE(closedByTest_);
}

TEST_F(HilfeTest, F11WithoutAGivenMessageBoxUsesOneOfItsOwn) {
    THilfeDialog alone;
    QString text;
    QTimer::singleShot(0, &alone, [&] {
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<TMeldungDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            text = box->findChild<QLabel*>(QStringLiteral("Textfeld"))->text();
            QTest::keyClick(box, Qt::Key_Escape);
        });
        QTest::keyClick(alone.helpbutton(), Qt::Key_F11);
        QTest::keyClick(alone.helpbutton(), Qt::Key_Escape);
    });
    EXPECT_EQ(alone.exec(), 1);
    EXPECT_EQ(text, QString::fromStdString(programState().DataFolder));
}

TEST_F(HilfeTest, TheTextNeverKeepsTheFocus) {
    bool afterClick = false;
    bool afterFocus = false;
    const int result = run([&] {
        QTest::mouseClick(viewer_.RichEdit()->viewport(), Qt::LeftButton, {}, QPoint(50, 20));
        afterClick = viewer_.helpbutton()->hasFocus();
        viewer_.RichEdit()->setFocus(); // as a Tab key or the platform might
        afterFocus = viewer_.helpbutton()->hasFocus();
        key(Qt::Key_Return); // Enter still closes
    });
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(afterClick);
    EXPECT_TRUE(afterFocus);
    EXPECT_FALSE(viewer_.RichEdit()->textCursor().hasSelection());
}

TEST_F(HilfeTest, AMissingFileKeepsTheTextShownBefore) {
    QFile::remove(dir_.filePath(QStringLiteral("DATA/ehilfe.rtf")));
    programState().UiLanguage = 2;
    run([&] { key(Qt::Key_Escape); });
    EXPECT_EQ(shownText_, QString()); // nothing at the first show

    programState().UiLanguage = 1;
    run([&] { key(Qt::Key_Escape); });
    programState().UiLanguage = 2;
    run([&] { key(Qt::Key_Escape); });
    EXPECT_EQ(shownText_, QString::fromUtf8("Willkommen in der Hilfe für Quendal."));
    EXPECT_EQ(viewer_.windowTitle(), QStringLiteral("Help"));

    writeHelp("ehilfe.rtf", "no rich text at all"); // unreadable as rich text: kept as well
    run([&] { key(Qt::Key_Escape); });
    EXPECT_EQ(shownText_, QString::fromUtf8("Willkommen in der Hilfe für Quendal."));
}

TEST_F(HilfeTest, FindsTheDataFolderInAnyLetterCase) {
    ASSERT_TRUE(QDir(dir_.path()).rename(QStringLiteral("DATA"), QStringLiteral("data")));
    run([&] { key(Qt::Key_Escape); });
    EXPECT_EQ(shownText_, QString::fromUtf8("Willkommen in der Hilfe für Quendal."));
}

TEST_F(HilfeTest, ReadsNothingWhileTheProgramFolderIsUnknown) {
    programState().ProgramFolder.clear();
    EXPECT_EQ(THilfeDialog::helpFilePath(1), QString());
    run([&] { key(Qt::Key_Escape); });
    EXPECT_EQ(shownText_, QString());
}

TEST_F(HilfeTest, AHugeHelpTextShowsItsBeginningAndAPipeIsNeverWaitedOn) {
    // 15 MB of text would take the window for many seconds; the viewer takes the beginning.
    QByteArray rtf = "{\\rtf1\\ansi Anfang der Hilfe.\\par ";
    const QByteArray paragraph = "Ein Absatz der Hilfe, {\\b fett} und {\\i kursiv}, lang genug "
                                 "f\\'fcr eine Zeile im Fenster der Hilfe.\\par\n";
    while (rtf.size() < qsizetype{15} * 1000 * 1000) {
        rtf += paragraph;
    }
    rtf += "Ende der Hilfe.}";
    writeHelp("hilfe.rtf", rtf.constData());
    qsizetype characters = 0;
    EXPECT_EQ(run([&] {
                  characters = viewer_.RichEdit()->document()->characterCount();
                  key(Qt::Key_Escape);
              }),
              1);
    EXPECT_TRUE(shownText_.startsWith(QStringLiteral("Anfang der Hilfe.\nEin Absatz der Hilfe")))
        << shownText_.left(80).toStdString();
    EXPECT_GT(characters, RtfReader::kMaxCharacters / 2);
    EXPECT_LE(characters, RtfReader::kMaxCharacters + 1);
    EXPECT_FALSE(shownText_.endsWith(QStringLiteral("Ende der Hilfe.")));

    // A named pipe in the place of the English text: no writer ever comes.
    const QString pipe = dir_.filePath(QStringLiteral("DATA/ehilfe.rtf"));
    QFile::remove(pipe);
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    programState().UiLanguage = 2;
    EXPECT_EQ(run([&] { key(Qt::Key_Escape); }), 1);
    EXPECT_TRUE(shownText_.startsWith(QStringLiteral("Anfang der Hilfe."))); // as before
}
