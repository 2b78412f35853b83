// The single statistics view and its explanation viewer, shown modally and driven by real
// keys and clicks: the table of a colour and a number run in both languages against
// ComputeRunStatistics, the main window's "Einzelstatistik" button with the real message box
// and a real result file, and the explanation read from a "stat.rtf" beside the program.

#include "core/language.h"
#include "core/program_state.h"
#include "core/result_file.h"
#include "core/statistics.h"
#include "frame/meldung_dialog.h"
#include "frame/meldung_message_sink.h"
#include "stats/einzelstatistik_dialog.h"
#include "stats/stat_info_dialog.h"
#include "tests/core/scratch_folder.h"
#include "toolkit/image_button.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

using namespace quendal;
using quendal::testing::ScratchFolder;

namespace {

// A run of 40 rounds with every kind of answer: correct, wrong, interference, no answer in
// time and too fast, spread over the four target values.
ResultRecord sampleRun(const char* prtkey, const char* info1) {
    ResultRecord run;
    run.header = {"V a r o n", "10.12.2026",    "10.30", prtkey, info1,
                  "Version 3", "Fester Rahmen", "",      ""};
    run.roundCount = 40;
    for (int i = 1; i <= run.roundCount; ++i) {
        RoundRecord& round = run.rounds.at(static_cast<size_t>(i));
        round.targetValue = (i * 7) % 4 + 1;
        round.distractorValue = round.targetValue % 4 + 1;
        round.reactionTimeMs = 300 + (i * 137) % 900;
        switch (i % 7) {
        case 0:
            round.chosenValue = kNoAnswer;
            round.reactionTimeMs = 3000;
            break;
        case 1:
            round.chosenValue = round.distractorValue; // interference
            break;
        case 2:
            round.chosenValue = (round.targetValue + 1) % 4 + 1;
            break;
        default:
            round.chosenValue = round.targetValue;
        }
        if (i % 11 == 0) {
            round.reactionTimeMs = 70 + i % 11; // too fast to count
        }
    }
    ComputeRunStatistics(run);
    return run;
}

int32_t valueOf(const StatisticsColumn& c, int row) {
    const int32_t values[8] = {c.correct,   c.meanCorrect, c.sdCorrect,    c.wrong,
                               c.meanWrong, c.sdWrong,     c.interference, c.eliminated};
    return values[row];
}

QStringList heads(const TEinzelstatistikDialog& view) {
    QStringList texts;
    for (int c = 0; c < 5; ++c) {
        texts << view.columnHead(c)->text();
    }
    return texts;
}

QColor textColour(const QLabel* label) {
    return label->palette().color(QPalette::WindowText);
}

class EinzelstatistikTest : public ::testing::Test {
  protected:
    void SetUp() override {
        programState().ProgramFolder = program_.folder();
        std::filesystem::create_directories(program_.file("DATA"));
        program_.write("DATA/stat.rtf", "{\\rtf1\\ansi Richtige: die Antworten, die "
                                        "stimmen.\\par}");
        programState().CurrentUser.Folder = data_.folder();
        programState().CurrentUser.ResultFileName = "user1.dat";
    }

    void useLanguage(int language) {
        programState().UiLanguage = language;
        BuildExerciseTexts();
    }

    // Shows a dialog modally and runs `whileOpen` once it is up.
    static int run(TOwnFenster& dialog, const std::function<void()>& whileOpen) {
        QTimer::singleShot(0, &dialog, [&] {
            dialog.activateWindow(); // focus exists only in the active window
            EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
            whileOpen();
            if (dialog.isVisible()) {
                ADD_FAILURE() << "the dialog was left open";
                dialog.done(99);
            }
        });
        return dialog.exec();
    }

    // Checks the whole table of the view, which is open, against the current record.
    void expectTable(const char* language) {
        const RunStatistics& statistics = programState().current.statistics;
        for (int r = 0; r < 8; ++r) {
            for (int c = 0; c < 5; ++c) {
                EXPECT_EQ(view_.cell(r, c)->text(),
                          QString::number(valueOf(statistics.columns.at(c), r)))
                    << language << " row " << r << " column " << c;
            }
        }
    }

    ScratchFolder program_;
    ScratchFolder data_;
    TMeldungDialog messageBox_;
    MeldungMessageSink messages_{messageBox_};
    TStatInfoDialog statInfo_;
    TEinzelstatistikDialog view_{&statInfo_};

    // The user of the main window's button: closes the view with Escape whenever it shows,
    // reads and confirms every message; a test never waits for a window nobody closes.
    struct Answerer {
        struct Message {
            QString text;
            QString caption;
            QSize size;
        };
        std::vector<Message> messages;
        int viewShows = 0;
        QTimer timer;
    } answerer_;

    void TearDown() override { answerer_.timer.stop(); }

    void startAnswering() {
        answerer_.timer.setInterval(5);
        QObject::connect(&answerer_.timer, &QTimer::timeout, &messageBox_, [this] {
            if (messageBox_.isVisible()) {
                answerer_.messages.push_back(
                    {messageBox_.findChild<QLabel*>(QStringLiteral("Textfeld"))->text(),
                     messageBox_.windowTitle(), messageBox_.size()});
                QTest::keyClick(&messageBox_, Qt::Key_Return);
            } else if (view_.isVisible()) {
                ++answerer_.viewShows;
                QTest::keyClick(&view_, Qt::Key_Escape);
            }
        });
        answerer_.timer.start();
    }
};

} // namespace

TEST_F(EinzelstatistikTest, LayoutOfTheTable) {
    EXPECT_EQ(view_.size(), QSize(684, 501));
    auto geometry = [&](const QString& name) {
        auto* w = view_.findChild<QWidget*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w != nullptr ? w->geometry() : QRect();
    };
    EXPECT_EQ(geometry(QStringLiteral("ppp")), QRect(23, 47, 638, 430));
    EXPECT_EQ(geometry(QStringLiteral("LMDSimpleLabel2")), QRect(11, 15, 612, 362));
    const int xs[5] = {155, 250, 340, 436, 524};
    const int ys[8] = {60, 98, 135, 173, 210, 248, 285, 323};
    const char* codes[8] = {"ri", "mr", "sr", "fa", "mf", "sf", "in", "el"};
    for (int c = 0; c < 5; ++c) {
        EXPECT_EQ(geometry(QStringLiteral("Color%1").arg(c)), QRect(xs[c], 30, 62, 19));
        for (int r = 0; r < 8; ++r) {
            const QString name = QString::fromLatin1(codes[r]) + QString::number(c);
            EXPECT_EQ(geometry(name), QRect(xs[c], ys[r], 62, 26));
            EXPECT_EQ(view_.cell(r, c)->objectName(), name);
            EXPECT_EQ(view_.cell(r, c)->alignment() & Qt::AlignRight, Qt::AlignRight);
        }
    }
    for (int r = 0; r < 8; ++r) {
        const QRect head = geometry(QStringLiteral("z%1").arg(r + 1));
        EXPECT_EQ(head.y(), ys[r]);
        EXPECT_EQ(head.x() + head.width(), 135);
        EXPECT_EQ(head.height(), r == 6 ? 27 : 26);
        EXPECT_EQ(textColour(view_.rowHead(r)),
                  r == 0 || r == 3 ? QColor(Qt::black) : QColor(64, 128, 128));
        EXPECT_EQ(view_.rowHead(r)->font().pixelSize(), 16);
    }
    EXPECT_EQ(geometry(QStringLiteral("ErklButton")), QRect(14, 386, 138, 34));
    EXPECT_EQ(geometry(QStringLiteral("okbutton")), QRect(160, 386, 138, 34));
    EXPECT_EQ(geometry(QStringLiteral("cancelbutton")), QRect(488, 386, 138, 34));

    // The grid: what lies on a line's place is the steel-blue line.
    QWidget* ppp = view_.findChild<QWidget*>(QStringLiteral("ppp"));
    const QImage table = ppp->grab().toImage();
    for (const int x : {138, 230, 322, 414, 506, 598}) {
        EXPECT_EQ(QColor(table.pixel(x + 1, 200)), QColor(88, 130, 173)) << x;
        EXPECT_EQ(QColor(table.pixel(x + 1, 34)), QColor(88, 130, 173)) << x;
        EXPECT_EQ(QColor(table.pixel(x + 1, 352)), QColor(88, 130, 173)) << x;
        EXPECT_NE(QColor(table.pixel(x + 1, 355)), QColor(88, 130, 173)) << x;
    }
    for (const int y : {50, 88, 125, 163, 200, 238, 275, 313, 351}) {
        EXPECT_EQ(QColor(table.pixel(31, y + 1)), QColor(88, 130, 173)) << y;
        EXPECT_EQ(QColor(table.pixel(599, y + 1)), QColor(88, 130, 173)) << y;
        EXPECT_NE(QColor(table.pixel(29, y + 1)), QColor(88, 130, 173)) << y;
    }
}

TEST_F(EinzelstatistikTest, AColourRunInBothLanguages) {
    programState().current = sampleRun("V-131", "Farbe/Wort");
    const struct {
        int language;
        const char* caption;
        std::vector<const char*> heads;
        std::vector<const char*> rows;
        const char* print;
        const char* close;
    } shows[] = {
        {1,
         "Statistik",
         {"Alle", "Blau", "Gelb", "Grün", "Rot"},
         {"Richtige", "Mittelwert", "Standardabw.", "Falsche", "Mittelwert", "Standardabw.",
          "Interferenz", "Eliminierte"},
         "Drucken",
         "Schließen"},
        {2,
         "Statistics",
         {"All", "blue", "yellow", "green", "red"},
         {"Correct", "Average value", "Stand.dev.", "Incorrect", "Average value", "Stand.dev.",
          "Interference", "Eliminated"},
         "Print",
         "Close"},
    };
    for (const auto& show : shows) {
        useLanguage(show.language);
        QStringList shownHeads;
        QStringList shownRows;
        QStringList buttons;
        EXPECT_EQ(
            run(view_,
                [&] {
                    shownHeads = heads(view_);
                    for (int r = 0; r < 8; ++r) {
                        shownRows << view_.rowHead(r)->text();
                    }
                    for (const char* name : {"ErklButton", "okbutton", "cancelbutton"}) {
                        buttons << view_.findChild<ImageButton*>(QString::fromLatin1(name))->text();
                    }
                    expectTable(show.caption);
                    QTest::keyClick(&view_, Qt::Key_Escape);
                }),
            2);
        QStringList expectedHeads;
        for (const char* text : show.heads) {
            expectedHeads << QString::fromUtf8(text);
        }
        QStringList expectedRows;
        for (const char* text : show.rows) {
            expectedRows << QString::fromUtf8(text);
        }
        EXPECT_EQ(shownHeads, expectedHeads);
        EXPECT_EQ(shownRows, expectedRows);
        EXPECT_EQ(buttons,
                  (QStringList{QString::fromUtf8("Erklärung"), QString::fromUtf8(show.print),
                               QString::fromUtf8(show.close)}));
        EXPECT_EQ(view_.windowTitle(), QString::fromUtf8(show.caption));
        EXPECT_EQ(textColour(view_.columnHead(1)), QColor(Qt::black));
    }
    // The sample has something in every row, so a cell filled from the wrong value shows.
    const StatisticsColumn& all = programState().current.statistics.columns[0];
    EXPECT_GT(all.interference, 0);
    EXPECT_GT(all.eliminated, 0);
    EXPECT_GT(all.sdWrong, 0);
    EXPECT_NE(all.meanCorrect, all.meanWrong);
}

TEST_F(EinzelstatistikTest, ANumberRunHasTealNumberHeadsAndAHandEditedKeyPlainOnes) {
    programState().current = sampleRun("V-242", "Zahl/Anzahl");
    for (const int language : {1, 2}) {
        useLanguage(language);
        QStringList shown;
        run(view_, [&] {
            shown = heads(view_);
            expectTable("number");
            QTest::keyClick(&view_, Qt::Key_Escape);
        });
        EXPECT_EQ(shown, language == 1 ? (QStringList{"Alle", "Eins", "Zwei", "Drei", "Vier"})
                                       : (QStringList{"All", "one", "two", "three", "four"}));
        for (int c = 0; c < 5; ++c) {
            EXPECT_EQ(textColour(view_.columnHead(c)), QColor(64, 128, 128));
            EXPECT_EQ(view_.columnHead(c)->palette().color(QPalette::Window),
                      QColor(215, 250, 240));
        }
    }

    // A key without digits where the kind and version belong: plain heads, the values shown.
    for (const char* key : {"V-x31", "V-1", "", "V-2?"}) {
        programState().current = sampleRun(key, "?");
        programState().current.statistics.columns[3].wrong = 77;
        run(view_, [&] {
            EXPECT_EQ(heads(view_), (QStringList{"All", "1", "2", "3", "4"})) << key;
            EXPECT_EQ(view_.cell(3, 3)->text(), QStringLiteral("77")); // not computed again
            QTest::keyClick(&view_, Qt::Key_Escape);
        });
    }
    EXPECT_EQ(TEinzelstatistikDialog::headKind(" V-131 "),
              TEinzelstatistikDialog::HeadKind::Colour);
    EXPECT_EQ(TEinzelstatistikDialog::headKind("V-031"), TEinzelstatistikDialog::HeadKind::Number);
}

TEST_F(EinzelstatistikTest, EnterPrintsEscapeAndTheButtonsCloseErklaerungExplains) {
    programState().current = sampleRun("V-131", "Farbe/Wort");
    int printed = 0;
    bool openAfterPrint = false;
    QString explanation;
    view_.setPrintHandler([&] { ++printed; });
    EXPECT_EQ(run(view_,
                  [&] {
                      QTest::keyClick(&view_, Qt::Key_Return);
                      openAfterPrint = view_.isVisible();
                      QTest::mouseClick(view_.findChild<ImageButton*>(QStringLiteral("okbutton")),
                                        Qt::LeftButton);
                      QTimer::singleShot(0, &statInfo_, [&] {
                          explanation = statInfo_.RichEdit()->toPlainText().trimmed();
                          QTest::keyClick(statInfo_.helpbutton(), Qt::Key_Escape);
                      });
                      QTest::mouseClick(view_.findChild<ImageButton*>(QStringLiteral("ErklButton")),
                                        Qt::LeftButton);
                      QTest::mouseClick(
                          view_.findChild<ImageButton*>(QStringLiteral("cancelbutton")),
                          Qt::LeftButton);
                  }),
              2);
    EXPECT_EQ(printed, 2);
    EXPECT_TRUE(openAfterPrint);
    EXPECT_EQ(explanation, QStringLiteral("Richtige: die Antworten, die stimmen."));

    // Without a print handler Enter leaves the view open; the close box closes it with 2.
    view_.setPrintHandler({});
    EXPECT_EQ(run(view_,
                  [&] {
                      QTest::keyClick(&view_, Qt::Key_Enter);
                      openAfterPrint = view_.isVisible();
                      QTest::mouseClick(&view_, Qt::LeftButton, {}, QPoint(684 - 40, 20));
                  }),
              2);
    EXPECT_TRUE(openAfterPrint);
}

TEST_F(EinzelstatistikTest, TheButtonBeforeAnyRunOnlyTellsTheUser) {
    startAnswering();
    programState().RunUnsaved = true;
    for (const int language : {1, 2}) {
        useLanguage(language);
        answerer_.messages.clear();
        EinzelstatistikbuttonClick(view_, messages_);
        ASSERT_EQ(answerer_.messages.size(), 1U);
        EXPECT_EQ(answerer_.messages[0].text,
                  language == 1
                      ? QStringLiteral("Der aktuelle Benutzer hat noch keinen "
                                       "Durchgang absolviert.")
                      : QStringLiteral("The registered user has not yet passed a round."));
        EXPECT_EQ(answerer_.messages[0].caption,
                  language == 1 ? QStringLiteral("Hinweis") : QStringLiteral("Info"));
        EXPECT_EQ(answerer_.messages[0].size, QSize(487, 220)); // four lines
    }
    EXPECT_EQ(answerer_.viewShows, 0);
    EXPECT_FALSE(data_.exists("user1.dat")); // nothing written, nothing created
}

TEST_F(EinzelstatistikTest, AfterOneRunTheButtonAppendsItOnceHoweverOftenItIsPressed) {
    startAnswering();
    programState().current = sampleRun("V-131", "Farbe/Wort");
    programState().RunUnsaved = true;
    const std::string record = FormatResultRecord(programState().current);

    // The user's file is missing: the view, then the failure; the run still waits.
    EinzelstatistikbuttonClick(view_, messages_);
    EXPECT_EQ(answerer_.viewShows, 1);
    ASSERT_EQ(answerer_.messages.size(), 1U);
    EXPECT_EQ(answerer_.messages[0].text, QStringLiteral("Fehler beim Speichern der Statistik."));
    EXPECT_TRUE(programState().RunUnsaved);
    EXPECT_FALSE(data_.exists("user1.dat"));

    data_.write("user1.dat", "");
    EinzelstatistikbuttonClick(view_, messages_);
    EinzelstatistikbuttonClick(view_, messages_);
    EXPECT_EQ(answerer_.viewShows, 3);
    EXPECT_EQ(answerer_.messages.size(), 1U);
    EXPECT_EQ(data_.read("user1.dat"), record);
    EXPECT_FALSE(programState().RunUnsaved);
}

TEST_F(EinzelstatistikTest, TheExplanationInEitherLanguage) {
    EXPECT_EQ(statInfo_.size(), QSize(846, 671));
    EXPECT_EQ(statInfo_.RichEdit()->geometry(), QRect(22, 20, 756, 523));
    EXPECT_EQ(statInfo_.helpbutton()->geometry(), QRect(38, 31, 67, 41));
    EXPECT_EQ(statInfo_.helpbutton()->text(), QStringLiteral("Helpbutton"));
    EXPECT_EQ(statInfo_.findChild<ImageButton*>(QStringLiteral("okbutton"))->geometry(),
              QRect(334, 557, 138, 34));
    QWidget* ppp = statInfo_.findChild<QWidget*>(QStringLiteral("ppp"));
    QWidget* top = ppp->childAt(statInfo_.helpbutton()->geometry().center());
    EXPECT_TRUE(top == statInfo_.RichEdit() || statInfo_.RichEdit()->isAncestorOf(top));

    // The folder and the file in other letter cases are found too.
    std::filesystem::rename(program_.file("DATA"), program_.file("data"));
    std::filesystem::rename(program_.file("data/stat.rtf"), program_.file("data/Stat.RTF"));
    useLanguage(2);
    QString text;
    QString button;
    bool focused = false;
    EXPECT_EQ(run(statInfo_,
                  [&] {
                      text = statInfo_.RichEdit()->toPlainText().trimmed();
                      button =
                          statInfo_.findChild<ImageButton*>(QStringLiteral("okbutton"))->text();
                      focused = statInfo_.helpbutton()->hasFocus();
                      QTest::keyClick(statInfo_.helpbutton(), Qt::Key_Return);
                  }),
              1);
    EXPECT_EQ(text, QStringLiteral("Richtige: die Antworten, die stimmen."));
    EXPECT_EQ(statInfo_.windowTitle(), QStringLiteral("Hilfe"));
    EXPECT_EQ(button, QString::fromUtf8("Schließen"));
    EXPECT_TRUE(focused);

    // A file that cannot be read any more leaves the text shown before.
    program_.write("data/Stat.RTF", "plain text, no rich text");
    EXPECT_EQ(run(statInfo_,
                  [&] {
                      text = statInfo_.RichEdit()->toPlainText().trimmed();
                      QTest::keyClick(statInfo_.helpbutton(), Qt::Key_Escape);
                  }),
              1);
    EXPECT_EQ(text, QStringLiteral("Richtige: die Antworten, die stimmen."));
}

TEST_F(EinzelstatistikTest, TheExplanationNeverKeepsTheFocus) {
    bool afterClick = false;
    bool afterFocus = false;
    EXPECT_EQ(run(statInfo_,
                  [&] {
                      QTest::mouseClick(statInfo_.RichEdit()->viewport(), Qt::LeftButton, {},
                                        QPoint(40, 12));
                      afterClick = statInfo_.helpbutton()->hasFocus();
                      statInfo_.RichEdit()->setFocus(); // as a Tab key or the platform might
                      afterFocus = statInfo_.helpbutton()->hasFocus();
                      QTest::keyClick(statInfo_.helpbutton(), Qt::Key_Space);
                  }),
              1);
    EXPECT_TRUE(afterClick);
    EXPECT_TRUE(afterFocus);
    EXPECT_FALSE(statInfo_.RichEdit()->textCursor().hasSelection());
    EXPECT_EQ(run(statInfo_,
                  [&] {
                      QTest::mouseClick(
                          statInfo_.findChild<ImageButton*>(QStringLiteral("okbutton")),
                          Qt::LeftButton);
                  }),
              1);
    EXPECT_EQ(run(statInfo_,
                  [&] { QTest::mouseClick(&statInfo_, Qt::LeftButton, {}, QPoint(846 - 40, 20)); }),
              2);
}
