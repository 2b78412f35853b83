// Pictures for looking at the statistics screens and prints by eye: with QUENDAL_SHOTS set to
// a folder, the overall view (all and today's runs), the chart with runs and without data and
// the three prints are written there in both languages. Skipped otherwise.

#include "stats/filter_dialog.h"
#include "stats/gesamtstatistik_dialog.h"
#include "stats/prints.h"
#include "stats_fixture.h"
#include "toolkit/image_button.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTimer>

using namespace quendal;
using namespace quendal::testing;

TEST_F(StatsTest, ShotsForTheEye) {
    const QString folder = qEnvironmentVariable("QUENDAL_SHOTS");
    if (folder.isEmpty()) {
        GTEST_SKIP() << "QUENDAL_SHOTS is not set";
    }
    QDir().mkpath(folder);
    qputenv("QUENDAL_PRINT_TO_PDF", folder.toLocal8Bit());
    for (int i = 1; i <= 36; ++i) {
        append({.kind = i % 3 == 0 ? 2 : 1,
                .version = i % 4 + 1,
                .date = i > 28 ? kTodayText
                               : QStringLiteral("%1.11.2026")
                                     .arg(i % 28 + 1, 2, 10, QChar(u'0'))
                                     .toStdString(),
                .time = QStringLiteral("%1.%2")
                            .arg(8 + i % 9, 2, 10, QChar(u'0'))
                            .arg(i * 7 % 60, 2, 10, QChar(u'0'))
                            .toStdString(),
                .rounds = 20 + 4 * (i % 10),
                .correctEvery = i % 7 == 0 ? 0 : (i % 5 == 0 ? 2 : 1),
                .baseMs = 700 - 8 * i});
        if (i == 12) {
            appendMarked("/");
        }
        if (i == 33) {
            appendFaulty();
        }
    }
    for (int language : {1, 2}) {
        const QString tag = language == 1 ? QStringLiteral("de") : QStringLiteral("en");
        programState().UiLanguage = language;
        programState().vocabulary = ExerciseVocabulary::forLanguage(language);
        TGesamtstatistikDialog view(messages);
        QTimer::singleShot(0, &view, [&] {
            QCoreApplication::processEvents();
            view.grab().save(folder + "/overall_all_" + tag + ".png");
            view.findChild<ImageButton*>(QStringLiteral("druckbutton"))->click();
            view.findChild<ImageButton*>(QStringLiteral("TagButton"))->click();
            QCoreApplication::processEvents();
            view.grab().save(folder + "/overall_today_" + tag + ".png");
            QTimer::singleShot(0, view.FilterDialog(), [&] {
                TFilterDialog* chart = view.FilterDialog();
                QCoreApplication::processEvents();
                chart->grab().save(folder + "/chart_today_" + tag + ".png");
                // Only the first runs, all older than today: nothing to chart.
                programState().RecordsRead = 5;
                chart->AnzeigenButtonClick();
                QCoreApplication::processEvents();
                chart->grab().save(folder + "/chart_nodata_" + tag + ".png");
                chart->cancelbuttonClick();
            });
            view.findChild<ImageButton*>(QStringLiteral("Graphbutton"))->click();
            view.findChild<ImageButton*>(QStringLiteral("GesamtButton"))->click();
            view.cancelbuttonClick();
        });
        GesamtstatistikbuttonClick(view, messages);

        programState().RecordsRead = 38;
        TFilterDialog chart(messages);
        QTimer::singleShot(0, &chart, [&] {
            QCoreApplication::processEvents();
            chart.grab().save(folder + "/chart_all_" + tag + ".png");
            chart.druckbuttonClick();
            chart.cancelbuttonClick();
        });
        chart.exec();
        ResultList unused;
        ReadResultFile(resultFile(), 5, false, unused);
        PrintSingleStatistics(messages);
    }
    for (const Shown& s : messages.shown) {
        std::printf("%s | %s\n", s.caption.c_str(), s.text.c_str());
    }
}

// The chart at 1, 40, 100 and 3000 runs and the 28 runs numbered 1073 to 1100, on the play
// fields of 1024 x 768 and 640 x 480, and the print of the 3000.
TEST_F(StatsTest, ChartShotsForTheEye) {
    const QString folder = qEnvironmentVariable("QUENDAL_SHOTS");
    if (folder.isEmpty()) {
        GTEST_SKIP() << "QUENDAL_SHOTS is not set";
    }
    QDir().mkpath(folder);
    qputenv("QUENDAL_PRINT_TO_PDF", folder.toLocal8Bit());
    int written = 0;
    auto grow = [&](int count) {
        for (; written < count; ++written) {
            const int i = written + 1;
            append({.kind = 1 + i % 2,
                    .version = i % 4 + 1,
                    .date = i > 1072 ? kTodayText : std::string("01.12.2026"),
                    .rounds = 20,
                    .correctEvery = i % 5 == 0 ? 2 : 1,
                    .baseMs = 300 + (i * 37) % 400});
        }
    };
    for (const auto& [count, today] : std::vector<std::pair<int, bool>>{
             {1, false}, {40, false}, {100, false}, {1100, true}, {3000, false}}) {
        grow(count);
        for (const auto& [w, h] : std::vector<std::pair<int, int>>{{1024, 768}, {640, 480}}) {
            programState().PlayWidth = w;
            programState().PlayHeight = h;
            programState().RecordsRead = count;
            programState().DayListMode = today;
            TFilterDialog chart(messages);
            QTimer::singleShot(0, &chart, [&] {
                QCoreApplication::processEvents();
                chart.grab().save(QStringLiteral("%1/chart_%2%3_%4.png")
                                      .arg(folder)
                                      .arg(count)
                                      .arg(today ? "_today" : "")
                                      .arg(w));
                if (count == 3000 && w == 1024) {
                    chart.druckbuttonClick(); // the print of thousands of runs
                }
                chart.cancelbuttonClick();
            });
            chart.exec();
        }
    }
}
