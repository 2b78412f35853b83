// The chart dialog on a real result file: for every filter the chart's pairs, labels and
// order equal a record-by-record reading of the same file; runs without a correct answer as
// zero-height pairs; the no-data text; redrawing only on "Anzeigen"; the keys.

#include "stats/filter_dialog.h"
#include "stats_fixture.h"
#include "toolkit/image_button.h"

#include <QComboBox>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace quendal;
using namespace quendal::testing;

namespace {

struct Pairs {
    QStringList labels;
    QList<double> first;
    QList<double> second;
    friend bool operator==(const Pairs&, const Pairs&) = default;
};

class FilterTest : public StatsTest {
  protected:
    // Thirteen records: every exercise and version, today's and older ones, a run without a
    // correct answer, a marked record and a data error.
    void writeRecords() {
        int n = 0;
        for (int kind : {1, 2}) {
            for (int version = 1; version <= 4; ++version) {
                ++n;
                append({.kind = kind,
                        .version = version,
                        .date = n % 3 == 0 ? "03.12.2026" : kTodayText,
                        .rounds = 4 * (n + 1),
                        .correctEvery = n % 4 + 1,
                        .baseMs = 300 + 20 * n});
            }
        }
        append({.kind = 1, .version = 3, .correctEvery = 0});                  // 9
        appendMarked("/");                                                     // 10
        appendFaulty();                                                        // 11
        append({.kind = 1, .version = 3, .date = "09.12.2026", .rounds = 40}); // 12
        append({.kind = 2, .version = 1, .rounds = 200, .correctEvery = 3});   // 13
        programState().RecordsRead = 13;
    }

    // The chart as the record-by-record reading gives it: record k read alone, then filtered.
    Pairs expected(int type, int version, bool today) {
        const std::string key = ChartFilterKeyFor(type, version);
        Pairs pairs;
        for (int k = 1; k <= 13; ++k) {
            ResultList unused;
            EXPECT_TRUE(ReadResultFile(resultFile(), k, false, unused));
            const ResultRecord& r = programState().current;
            if ((type == 0 || r.header[kPrtkey].find(key) != std::string::npos) &&
                (!today || r.header[kSvdate] == kTodayText)) {
                pairs.labels << QString::number(k);
                pairs.first << r.statistics.columns[0].meanCorrect;
                pairs.second << r.statistics.columns[0].sdCorrect;
            }
        }
        return pairs;
    }

    Pairs drawn() const {
        StackedBarChart* chart = chartOf(dialog_);
        return {chart->labels(), chart->firstValues(), chart->secondValues()};
    }

    // Shows the dialog; inDialog acts while it is shown.
    int show(const std::function<void()>& inDialog) {
        QTimer::singleShot(0, &dialog_, [&] {
            dialog_.activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog_));
            inDialog();
            if (dialog_.isVisible()) {
                dialog_.cancelbuttonClick();
            }
        });
        return dialog_.exec();
    }

    void choose(int type, int version) {
        dialog_.TypCombo()->setCurrentIndex(type);
        dialog_.TypComboChange();
        dialog_.VersionCombo()->setCurrentIndex(version);
        dialog_.findChild<ImageButton*>(QStringLiteral("AnzeigenButton"))->click();
    }

    TFilterDialog dialog_{messages};
};

} // namespace

TEST_F(FilterTest, EveryFilterChartsWhatTheRecordByRecordReadingGives) {
    writeRecords();
    for (bool today : {false, true}) {
        programState().DayListMode = today;
        programState().RecordsRead = 13;
        show([&] {
            // Shown with "alle" / "alle" and drawn at once.
            EXPECT_EQ(dialog_.TypCombo()->currentIndex(), 0);
            EXPECT_EQ(dialog_.VersionCombo()->count(), 1);
            const Pairs all = drawn();
            EXPECT_EQ(all, expected(0, 0, today));
            EXPECT_EQ(all.labels.size(), today ? 10 : 13);
            const double axis = chartOf(dialog_)->valueAxisMax();
            const int ticks = chartOf(dialog_)->valueAxisTickCount();
            for (int type = 0; type <= 2; ++type) {
                for (int version = 0; version <= (type == 0 ? 0 : 4); ++version) {
                    choose(type, version);
                    EXPECT_EQ(dialog_.ChartFilterKey(), ChartFilterKeyFor(type, version));
                    const Pairs want = expected(type, version, today);
                    EXPECT_EQ(drawn(), want) << type << "/" << version << " today " << today;
                    EXPECT_EQ(chartOf(dialog_)->isVisibleTo(&dialog_), !want.labels.isEmpty());
                }
            }
            // After every other filter, some of them without data, the same runs stand on
            // the same value axis.
            choose(0, 0);
            EXPECT_EQ(chartOf(dialog_)->valueAxisMax(), axis);
            EXPECT_EQ(chartOf(dialog_)->valueAxisTickCount(), ticks);
        });
    }
    // The colour exercise's version 3: exactly the keys containing V-13.
    programState().DayListMode = false;
    programState().RecordsRead = 13;
    show([&] {
        choose(1, 3);
        EXPECT_EQ(dialog_.ChartFilterKey(), "V-13");
        EXPECT_EQ(drawn().labels, (QStringList{"3", "9", "12"}));
        // Record 9 had no correct answer: a pair of zero height.
        EXPECT_EQ(drawn().first[1], 0.0);
        EXPECT_EQ(drawn().second[1], 0.0);
        EXPECT_GT(drawn().first[2], 0.0);
        // Afterwards the last record of the file is current, as after reading it alone.
        const ResultRecord afterChart = programState().current;
        ResultList unused;
        ReadResultFile(resultFile(), 13, false, unused);
        EXPECT_EQ(afterChart, programState().current);
    });
}

TEST_F(FilterTest, NoDataTextFiltersRedrawOnlyOnShowAndKeys) {
    append({.kind = 1, .version = 2, .date = "01.12.2026"});
    append({.kind = 1, .version = 2, .date = "02.12.2026", .correctEvery = 0});
    programState().RecordsRead = 2;

    for (int language : {1, 2}) {
        programState().UiLanguage = language;
        programState().vocabulary = ExerciseVocabulary::forLanguage(language);
        programState().DayListMode = true; // no run of today
        show([&] {
            EXPECT_FALSE(chartOf(dialog_)->isVisibleTo(&dialog_));
            EXPECT_TRUE(dialog_.FehlerLabel()->isVisible());
            EXPECT_EQ(dialog_.FehlerLabel()->text(),
                      language == 1 ? QString::fromUtf8("Für diese Auswahl liegen keine Daten vor.")
                                    : QStringLiteral("No data available for this selection."));
            EXPECT_EQ(dialog_.windowTitle(), language == 1 ? "Graph" : "Chart");
            const QStringList types = {dialog_.TypCombo()->itemText(0),
                                       dialog_.TypCombo()->itemText(1),
                                       dialog_.TypCombo()->itemText(2)};
            const QStringList want = language == 1
                                         ? QStringList{"alle", "Farbe/Wort", "Zahl/Anzahl"}
                                         : QStringList{"all", "color/word", "digit/number"};
            EXPECT_EQ(types, want);
        });
    }

    programState().UiLanguage = 1;
    programState().vocabulary = ExerciseVocabulary::german();
    programState().DayListMode = false;
    programState().RecordsRead = 2;
    const int closedByEnter = show([&] {
        EXPECT_EQ(drawn().labels, (QStringList{"1", "2"}));
        EXPECT_EQ(drawn().first[1], 0.0);
        EXPECT_EQ(drawn().second[1], 0.0);
        choose(2, 0); // the number exercise: nothing
        EXPECT_FALSE(chartOf(dialog_)->isVisibleTo(&dialog_));
        EXPECT_EQ(dialog_.ChartFilterKey(), "V-2");

        // Choosing another exercise refills the versions and selects "alle", without drawing.
        dialog_.TypCombo()->setCurrentIndex(1);
        emit dialog_.TypCombo()->activated(1);
        EXPECT_EQ(dialog_.VersionCombo()->count(), 5);
        EXPECT_EQ(dialog_.VersionCombo()->currentIndex(), 0);
        EXPECT_EQ(dialog_.VersionCombo()->itemText(2), "Version 2");
        EXPECT_FALSE(chartOf(dialog_)->isVisibleTo(&dialog_));
        EXPECT_EQ(dialog_.ChartFilterKey(), "V-2");
        // Enter closes instead of drawing.
        QTest::keyClick(dialog_.TypCombo(), Qt::Key_Return);
    });
    EXPECT_EQ(closedByEnter, TOwnFenster::ResultOk);
    EXPECT_EQ(dialog_.ChartFilterKey(), "V-2");

    EXPECT_EQ(show([&] {
                  // Each show starts again from "alle" / "alle".
                  EXPECT_EQ(dialog_.ChartFilterKey(), "-");
                  EXPECT_EQ(drawn().labels.size(), 2);
                  QTest::keyClick(dialog_.TypCombo(), Qt::Key_Escape);
              }),
              TOwnFenster::ResultCancel);
    EXPECT_EQ(
        show([&] { dialog_.findChild<ImageButton*>(QStringLiteral("cancelbutton"))->click(); }),
        TOwnFenster::ResultOk);
    EXPECT_TRUE(messages.shown.empty());
}
