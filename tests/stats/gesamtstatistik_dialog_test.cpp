// The overall statistics view with a real result file written by the program's writer: the
// main window's button and its two messages, the lists of all and of today's runs, the
// details of one run, the chart over every record, the keys, and the current record kept.

#include "stats/filter_dialog.h"
#include "stats/gesamtstatistik_dialog.h"
#include "stats_fixture.h"
#include "toolkit/header_list_box.h"
#include "toolkit/image_button.h"
#include "toolkit/stacked_bar_chart.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <functional>
#include <sys/stat.h>

using namespace quendal;
using namespace quendal::testing;

namespace {

class GesamtTest : public StatsTest {
  protected:
    void SetUp() override {
        StatsTest::SetUp();
        dialog_.setDetailsView([this] {
            const ResultRecord& r = programState().current;
            opened_.push_back(r.header[kPrtkey] + "@" + r.header[kSvdate]);
            // The reading's hourglass is gone before the run is shown.
            EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
        });
        // The last completed run, which the view must leave current.
        ResultRecord& current = programState().current;
        current.header[kPrname] = "V a r o n";
        current.header[kPrtkey] = "V-141";
        current.roundCount = 12;
        current.statistics.columns[0].correct = 11;
        lastRun_ = current;
    }

    // Seven records: 1 colour v1 older, 2 number v3 today, 3 marked "/", 4 a data error
    // today, 5 colour v3 today without a correct answer, 6 marked "\", 7 number v2 older.
    void writeSevenRecords() {
        append({.kind = 1, .version = 1, .date = "01.12.2026"});
        append({.kind = 2, .version = 3});
        appendMarked("/");
        appendFaulty();
        append({.kind = 1, .version = 3, .correctEvery = 0});
        appendMarked("\\");
        append({.kind = 2, .version = 2, .date = "05.12.2026", .rounds = 12, .correctEvery = 2});
    }

    // Runs the main window's button; inView acts while the view is shown.
    int openView(const std::function<void()>& inView) {
        QTimer::singleShot(0, &dialog_, [&] {
            dialog_.activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog_));
            inView();
            if (dialog_.isVisible()) {
                dialog_.cancelbuttonClick();
            }
        });
        return GesamtstatistikbuttonClick(dialog_, messages);
    }

    QStringList lines() const {
        QStringList all;
        for (int r = 0; r < list()->lineCount(); ++r) {
            all << list()->line(r);
        }
        return all;
    }
    HeaderListBox* list() const { return dialog_.StatistikListBox(); }
    ImageButton* button(const char* name) const {
        return dialog_.findChild<ImageButton*>(QString::fromLatin1(name));
    }
    void selectRecord(const QString& number) {
        for (int r = 0; r < list()->lineCount(); ++r) {
            if (list()->field(r, 0) == number) {
                list()->setCurrentRow(r);
                return;
            }
        }
        ADD_FAILURE() << "no line " << number.toStdString();
    }

    TGesamtstatistikDialog dialog_{messages};
    std::vector<std::string> opened_;
    ResultRecord lastRun_;
};

} // namespace

TEST_F(GesamtTest, WithoutUserOrFileOrRunsOnlyAMessageAndTheCurrentRecordStays) {
    programState().DayListMode = true;
    programState().CurrentUser.ResultFileName.clear();
    EXPECT_EQ(GesamtstatistikbuttonClick(dialog_, messages), 0);
    EXPECT_FALSE(programState().DayListMode);

    programState().CurrentUser.ResultFileName = "user2.dat"; // no such file
    programState().UiLanguage = 2;
    EXPECT_EQ(GesamtstatistikbuttonClick(dialog_, messages), 0);

    programState().CurrentUser.ResultFileName = "user1.dat"; // empty
    programState().UiLanguage = 1;
    EXPECT_EQ(GesamtstatistikbuttonClick(dialog_, messages), 0);

    ASSERT_EQ(messages.shown.size(), 3U);
    EXPECT_EQ(messages.shown[0].text, "Es ist noch kein Benutzer angemeldet.");
    EXPECT_EQ(messages.shown[0].caption, "Hinweis");
    EXPECT_EQ(messages.shown[1].text, "There is no user registered yet.");
    EXPECT_EQ(messages.shown[1].caption, "Info");
    EXPECT_EQ(messages.shown[2].text,
              "Es liegen noch keine Statistiken für den angemeldeten Benutzer vor.");
    for (const Shown& s : messages.shown) {
        EXPECT_FALSE(s.yesNo);
        EXPECT_EQ(s.lines, 4);
    }
    EXPECT_EQ(programState().current, lastRun_);
    EXPECT_EQ(programState().OverallRecordCount, 0);
}

TEST_F(GesamtTest, AFileThatCannotBeReadShowsTheDataErrorLineAndAPipeIsRefusedUnread) {
    // The process's own memory read as a file fails at its first byte.
    programState().CurrentUser.Folder = "/proc/self/";
    programState().CurrentUser.ResultFileName = "mem";
    QStringList shown;
    openView([&] { shown = lines(); });
    EXPECT_EQ(shown, QStringList{QStringLiteral("Datenfehler")});
    EXPECT_TRUE(messages.shown.empty());

    // A named pipe would keep a blocking open() waiting for a writer that never comes.
    ASSERT_EQ(::mkfifo(data.file("user3.dat").c_str(), 0600), 0);
    programState().CurrentUser.Folder = data.folder();
    programState().CurrentUser.ResultFileName = "user3.dat";
    EXPECT_EQ(GesamtstatistikbuttonClick(dialog_, messages), 0);
    ASSERT_EQ(messages.shown.size(), 1U);
    EXPECT_EQ(messages.shown[0].text, "Es ist noch kein Benutzer angemeldet.");
    EXPECT_EQ(programState().current, lastRun_);
}

TEST_F(GesamtTest, ListsDetailsChartAndKeysOnSevenRecords) {
    writeSevenRecords();
    ResultList reader;
    ASSERT_TRUE(ReadResultFile(resultFile(), 0, false, reader));
    programState().current = lastRun_;

    const int result = openView([&] {
        // The list of all runs, as the reader gives it, with the newest line selected.
        ASSERT_EQ(lines().size(), 7);
        for (int r = 0; r < 7; ++r) {
            EXPECT_EQ(lines()[r].toStdString(), reader[static_cast<std::size_t>(r)]);
        }
        EXPECT_EQ(list()->field(0, 0), "1");
        EXPECT_EQ(list()->field(0, 2), "Farbe/Wort - Version 1");
        EXPECT_EQ(lines()[2], "-;-;Keine Daten vorhanden;0;0;0;0;0;0");
        EXPECT_EQ(lines()[3], "Datenfehler");
        EXPECT_EQ(lines()[5], "-;-;Datenfehler;0;0;0;0;0;0");
        EXPECT_EQ(list()->field(6, 0), "7");
        EXPECT_EQ(list()->currentRow(), 6);
        EXPECT_EQ(programState().OverallRecordCount, 7);
        EXPECT_EQ(dialog_.NameLabel()->text(), "Erika Mustermann");

        // Marked and data-error lines open nothing; a run line opens its record.
        for (int row : {2, 3, 5}) {
            list()->setCurrentRow(row);
            button("DetailButton")->click();
        }
        EXPECT_TRUE(opened_.empty());
        selectRecord("2");
        button("DetailButton")->click();
        ASSERT_EQ(opened_.size(), 1U);
        EXPECT_EQ(opened_[0], "V-231@" + kTodayText);

        // After the details of record 2 the chart still covers records 1 to 7.
        QTimer::singleShot(0, dialog_.FilterDialog(), [&] {
            StackedBarChart* chart = chartOf(*dialog_.FilterDialog());
            EXPECT_TRUE(chart->isVisible());
            EXPECT_EQ(chart->labels(), (QStringList{"1", "2", "3", "4", "5", "6", "7"}));
            dialog_.FilterDialog()->cancelbuttonClick();
        });
        button("Graphbutton")->click();

        // Today's runs: their numbers from the full list, marked records left out.
        button("TagButton")->click();
        EXPECT_TRUE(programState().DayListMode);
        ASSERT_EQ(lines().size(), 3);
        EXPECT_EQ(list()->field(0, 0), "2");
        EXPECT_EQ(lines()[1], "Datenfehler");
        EXPECT_EQ(list()->field(2, 0), "5");
        EXPECT_EQ(list()->currentRow(), 0);

        // A double click opens the run under it.
        QCoreApplication::processEvents(); // the list lays its new lines out
        const QRect cell = list()->visualRect(list()->model()->index(2, 1));
        ASSERT_TRUE(cell.isValid());
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, cell.center());
        ASSERT_EQ(opened_.size(), 2U);
        EXPECT_EQ(opened_[1], "V-131@" + kTodayText);

        // The chart follows today's runs: every record saved today, the marked ones too.
        QTimer::singleShot(0, dialog_.FilterDialog(), [&] {
            EXPECT_EQ(chartOf(*dialog_.FilterDialog())->labels(),
                      (QStringList{"2", "3", "4", "5", "6"}));
            dialog_.FilterDialog()->cancelbuttonClick();
        });
        button("Graphbutton")->click();

        button("GesamtButton")->click();
        EXPECT_FALSE(programState().DayListMode);
        EXPECT_EQ(lines().size(), 7);
        EXPECT_EQ(list()->currentRow(), 0);

        QTest::keyClick(list(), Qt::Key_Return);
    });
    EXPECT_EQ(result, TOwnFenster::ResultOk);
    EXPECT_EQ(programState().current, lastRun_);

    // Escape closes with 2; the view shows the newest line again.
    EXPECT_EQ(openView([&] {
                  EXPECT_EQ(list()->currentRow(), 6);
                  QTest::keyClick(list(), Qt::Key_Escape);
              }),
              TOwnFenster::ResultCancel);
    EXPECT_EQ(programState().current, lastRun_);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(GesamtTest, CaptionsButtonFacesAndColumnsInBothLanguages) {
    append({.kind = 2, .version = 4});
    const struct {
        int language;
        QStringList captions; // dialog, buttons in order GesamtButton .. druckbutton
        QStringList heads;
        const char* listText;
    } rows[] = {
        {1,
         {"Statistik", "Gesamtstatisik", "Tagesstatistik", "Details", "Graph", "Schließen",
          "Drucken"},
         {"Nr.", "Datum", "Übungstyp", "Anzahl", "Richtig", "Mittelw.", "St.-Abw.", "Falsch",
          "Interf."},
         "Zahl/Anzahl - Version 4"},
        {2,
         {"statistics", "Overall statistics", "Today's statistic", "Details", "Chart", "Close",
          "Print"},
         {"#", "date", "type", "rounds", "correct", "aver.val.", "deviat.", "incor.", "interf."},
         "Zahl/Anzahl - version 4"},
    };
    const char* names[] = {"GesamtButton", "TagButton",    "DetailButton",
                           "Graphbutton",  "cancelbutton", "druckbutton"};
    for (const auto& row : rows) {
        programState().UiLanguage = row.language;
        programState().vocabulary = ExerciseVocabulary::forLanguage(row.language);
        openView([&] {
            EXPECT_EQ(dialog_.windowTitle(), row.captions[0]);
            for (int b = 0; b < 6; ++b) {
                EXPECT_EQ(button(names[b])->text(), row.captions[b + 1]) << names[b];
            }
            EXPECT_EQ(list()->headTexts(), row.heads);
            EXPECT_EQ(list()->field(0, 2), QString::fromUtf8(row.listText));
        });
    }
    // Upper row: the second face style and a light green caption; lower row: the usual.
    const QRect places[] = {{28, 368, 138, 34},  {177, 368, 138, 34}, {327, 368, 138, 34},
                            {476, 368, 138, 34}, {178, 419, 138, 34}, {325, 419, 138, 34}};
    for (int b = 0; b < 6; ++b) {
        EXPECT_EQ(button(names[b])->geometry(), places[b]);
        EXPECT_EQ(button(names[b])->captionColor(),
                  b < 4 ? QColor(196, 253, 228) : QColor(210, 220, 240));
    }
    EXPECT_EQ(dialog_.size(), QSize(686, 531));
    EXPECT_EQ(list()->geometry(), QRect(18, 38, 604, 320));
    const int widths[] = {43, 61, 200, 50, 47, 58, 54, 46, 50};
    for (int c = 0; c < 9; ++c) {
        EXPECT_EQ(list()->designWidth(c), widths[c]);
    }
}
