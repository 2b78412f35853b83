// The three prints on paper, read back: the PDF files of the print job (QUENDAL_PRINT_TO_PDF
// points into the scratch folder) through pdftotext, the print table through shapelib.

#include "../toolkit/pdf_text.h"
#include "stats/filter_dialog.h"
#include "stats/gesamtstatistik_dialog.h"
#include "stats/prints.h"
#include "stats/reports.h"
#include "stats_fixture.h"
#include "toolkit/dbf_table.h"
#include "toolkit/image_button.h"
#include "toolkit/stacked_bar_chart.h"

#include <QComboBox>
#include <QDir>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>

using namespace quendal;
using namespace quendal::testing;

namespace {

constexpr double kMargin = 15.0;
constexpr double kTolerance = 0.5;

// True when the words of text stand on the page with their box at the label's place: the
// top at top, and the left edge, the right edge or the middle at the label's left, right or
// middle as it is aligned.
bool placed(const pdftest::Page& page, const QString& text, double leftMm, double topMm,
            double widthMm, Qt::Alignment alignment) {
    const QStringList parts = text.split(u' ', Qt::SkipEmptyParts);
    const auto n = static_cast<std::size_t>(parts.size());
    for (std::size_t i = 0; i + n <= page.words.size(); ++i) {
        pdftest::Word box = page.words[i];
        bool match = true;
        for (std::size_t k = 0; k < n && match; ++k) {
            const pdftest::Word& w = page.words[i + k];
            match = w.text == parts[static_cast<qsizetype>(k)];
            box.xMin = std::min(box.xMin, w.xMin);
            box.xMax = std::max(box.xMax, w.xMax);
        }
        if (!match || std::abs(box.yMin - (kMargin + topMm)) > kTolerance) {
            continue;
        }
        const double left = kMargin + leftMm;
        const double x = alignment & Qt::AlignRight ? box.xMax - (left + widthMm)
                         : alignment & Qt::AlignHCenter
                             ? (box.xMin + box.xMax) / 2 - (left + widthMm / 2)
                             : box.xMin - left;
        if (std::abs(x) <= kTolerance) {
            return true;
        }
    }
    return false;
}

class PrintsTest : public StatsTest {
  protected:
    QStringList pdfFiles() const {
        return QDir(QString::fromStdString(data.file("pdf")))
            .entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name);
    }
    std::vector<pdftest::Page> pdf(const std::optional<PrintResult>& result) const {
        EXPECT_TRUE(result.has_value());
        if (!result) {
            return {};
        }
        EXPECT_EQ(result->status, PrintResult::Status::SavedAsPdf) << result->error.toStdString();
        return pdftest::readPdf(result->pdfFile);
    }
    // The done message names the PDF file.
    void expectDone(const Shown& shown, const std::string& done, const std::string& caption,
                    const std::optional<PrintResult>& result) {
        EXPECT_EQ(shown.text.substr(0, done.size()), done);
        ASSERT_TRUE(result.has_value());
        EXPECT_NE(shown.text.find(result->pdfFile.toStdString()), std::string::npos) << shown.text;
        EXPECT_EQ(shown.caption, caption);
        EXPECT_FALSE(shown.yesNo);
    }
    void expectQuestion(const Shown& shown, const std::string& text) {
        EXPECT_EQ(shown.text, text);
        EXPECT_EQ(shown.caption, "");
        EXPECT_TRUE(shown.yesNo);
        EXPECT_EQ(shown.lines, 4);
    }

    // Opens the overall view on the file and prints from it; inView may change the list first.
    std::optional<PrintResult> printFromView(const std::function<void()>& inView = {}) {
        std::optional<PrintResult> result;
        const std::size_t before = pdfFiles().size();
        QTimer::singleShot(0, &view_, [&] {
            if (inView) {
                inView();
            }
            view_.findChild<ImageButton*>(QStringLiteral("druckbutton"))->click();
            view_.cancelbuttonClick();
        });
        GesamtstatistikbuttonClick(view_, messages);
        const QStringList after = pdfFiles();
        if (after.size() > static_cast<qsizetype>(before)) {
            PrintResult r;
            r.status = PrintResult::Status::SavedAsPdf;
            r.pdfFile = QString::fromStdString(data.file("pdf")) + u'/' + after.last();
            result = r;
        }
        return result;
    }

    std::vector<std::vector<std::string>> table() const {
        DbfTable dbf;
        EXPECT_TRUE(dbf.open(PrintTablePath()));
        std::vector<std::vector<std::string>> rows;
        rows.reserve(static_cast<std::size_t>(std::max(0, dbf.rowCount())));
        for (int r = 0; r < dbf.rowCount(); ++r) {
            rows.push_back(dbf.row(r));
        }
        return rows;
    }

    TGesamtstatistikDialog view_{messages};
};

} // namespace

TEST_F(PrintsTest, SingleReportPutsEveryTextWhereTheLayoutSays) {
    append({.kind = 2, .version = 2, .time = "14.05", .rounds = 24, .correctEvery = 3});
    ResultList unused;
    ASSERT_TRUE(ReadResultFile(resultFile(), 1, false, unused));
    const ResultRecord& record = programState().current;

    const auto result = PrintSingleStatistics(messages);
    ASSERT_EQ(messages.shown.size(), 2U);
    expectQuestion(messages.shown[0], "Soll die Statistik gedruckt werden?");
    expectDone(messages.shown[1], "Die Statistik wurde gedruckt.", "Hinweis", result);
    const auto pages = pdf(result);
    ASSERT_EQ(pages.size(), 1U);
    const pdftest::Page& page = pages[0];

    EXPECT_TRUE(placed(page, "Erika Mustermann", 32.1, 1.3, 115.8, Qt::AlignHCenter));
    EXPECT_TRUE(placed(page, "Zahl - Version 2", 0, 14.6, 52.9, Qt::AlignLeft))
        << page.text().toStdString();
    EXPECT_TRUE(placed(page, "10.12.2026 - 14.05", 127.0, 15.5, 52.9, Qt::AlignRight));
    const double lefts[] = {49.3, 76.1, 103.2, 130.0, 156.8};
    const double tops[] = {48.3, 57.5, 67.1, 76.4, 86.0, 95.2, 104.8, 114.1};
    const QStringList heads = {"Alle", "Eins", "Zwei", "Drei", "Vier"};
    const QStringList rowHeads = {"Richtige",   "Mittelwert",   "Standardabw.", "Falsche",
                                  "Mittelwert", "Standardabw.", "Interferenz",  "Eliminierte"};
    const QStringList cells = SingleStatisticsCells(record);
    ASSERT_EQ(cells.size(), 40);
    for (int c = 0; c < 5; ++c) {
        EXPECT_TRUE(placed(page, heads[c], lefts[c], 38.4, 19.8, Qt::AlignLeft)) << c;
    }
    for (int r = 0; r < 8; ++r) {
        EXPECT_TRUE(placed(page, rowHeads[r], 6.9, tops[r], 32.7, Qt::AlignRight)) << r;
        for (int c = 0; c < 5; ++c) {
            EXPECT_TRUE(placed(page, cells[r * 5 + c], lefts[c], tops[r], 19.8, Qt::AlignLeft))
                << r << "," << c << " " << cells[r * 5 + c].toStdString();
        }
    }
    // The values are the run's own: 8 of 24 answers correct.
    EXPECT_EQ(cells[0], "8");
    EXPECT_EQ(cells[15], "16");
}

TEST_F(PrintsTest, SingleReportInEnglishWithTheViewsTextsAndAnUnknownExercise) {
    programState().UiLanguage = 2;
    programState().vocabulary = ExerciseVocabulary::english();
    ResultRecord& record = programState().current;
    record.header = {"V a r o n", "01.02.2026", "07.45", "V-", "", "", "", "", ""};
    QStringList heads = {"All", "blue", "yellow", "green", "red"};
    QStringList cells;
    for (int i = 0; i < 40; ++i) {
        cells << QString::number(1000 + i);
    }
    messages.answers = {kMessageNo};
    EXPECT_FALSE(PrintSingleStatistics(heads, cells, messages).has_value());
    EXPECT_TRUE(pdfFiles().isEmpty()); // No prints nothing and says nothing more
    ASSERT_EQ(messages.shown.size(), 1U);
    expectQuestion(messages.shown[0], "Do you want to print the statistics?");

    const auto result = PrintSingleStatistics(heads, cells, messages);
    ASSERT_EQ(messages.shown.size(), 3U);
    expectDone(messages.shown[2], "The statistics have been printed.", "Info", result);
    const auto pages = pdf(result);
    ASSERT_EQ(pages.size(), 1U);
    EXPECT_TRUE(placed(pages[0], "Unknown", 0, 14.6, 52.9, Qt::AlignLeft));
    EXPECT_TRUE(placed(pages[0], "01.02.2026 - 07.45", 127.0, 15.5, 52.9, Qt::AlignRight));
    EXPECT_TRUE(placed(pages[0], "yellow", 103.2, 38.4, 19.8, Qt::AlignLeft));
    EXPECT_TRUE(placed(pages[0], "average value", 6.9, 57.5, 32.7, Qt::AlignRight));
    EXPECT_TRUE(placed(pages[0], "eliminated", 6.9, 114.1, 32.7, Qt::AlignRight));
    EXPECT_TRUE(placed(pages[0], "1039", 156.8, 114.1, 19.8, Qt::AlignLeft));
    EXPECT_TRUE(placed(pages[0], "1007", 103.2, 57.5, 19.8, Qt::AlignLeft));
}

TEST_F(PrintsTest, OverallPrintWritesTheTableRowByRowAndPrintsItBack) {
    // Twelve entries: eleven runs and one marked record in the middle.
    for (int i = 1; i <= 12; ++i) {
        if (i == 6) {
            appendMarked("/");
            continue;
        }
        append(
            {.kind = i % 2 + 1,
             .version = i % 4 + 1,
             .date = i <= 4 ? QStringLiteral("%1.11.2026").arg(i + 10).toStdString() : kTodayText,
             .time = "09.4" + std::to_string(i % 10),
             .rounds = 4 * i,
             .correctEvery = i % 3 + 1});
    }
    ResultList listed;
    ASSERT_TRUE(ReadResultFile(resultFile(), 0, false, listed));
    ASSERT_EQ(listed.size(), 12U);
    programState().current = ResultRecord{};

    // No: nothing printed, no table.
    messages.answers = {kMessageNo};
    EXPECT_FALSE(printFromView().has_value());
    EXPECT_FALSE(std::filesystem::exists(PrintTablePath()));
    ASSERT_EQ(messages.shown.size(), 1U);
    expectQuestion(messages.shown[0], "Soll die Statistik gedruckt werden?");

    const auto result = printFromView();
    ASSERT_EQ(messages.shown.size(), 3U);
    expectDone(messages.shown[2], "Die Statistik wurde gedruckt.", "Hinweis", result);
    EXPECT_EQ(programState().current, ResultRecord{}); // the view put it back

    DbfTable dbf;
    ASSERT_TRUE(dbf.open(PrintTablePath()));
    const std::vector<DbfField> fields = dbf.fields();
    ASSERT_EQ(fields.size(), 8U);
    const int widths[] = {10, 30, 10, 10, 10, 10, 10, 10};
    for (int f = 0; f < 8; ++f) {
        EXPECT_EQ(fields[static_cast<std::size_t>(f)].name, "F" + std::to_string(f + 1));
        EXPECT_EQ(fields[static_cast<std::size_t>(f)].width, widths[f]);
    }
    dbf.close();
    const auto rows = table();
    ASSERT_EQ(rows.size(), 12U);
    for (std::size_t r = 0; r < 12; ++r) {
        // The list line without its record number, field by field.
        QStringList parts = QString::fromStdString(listed[r]).split(u';');
        parts.removeFirst();
        ASSERT_EQ(parts.size(), 8);
        for (int f = 0; f < 8; ++f) {
            EXPECT_EQ(rows[r][static_cast<std::size_t>(f)], parts[f].toStdString())
                << "row " << r << " field " << f;
        }
    }
    EXPECT_EQ(rows[0][0], "11.11.2026");
    EXPECT_EQ(rows[5], (std::vector<std::string>{"-", "Keine Daten vorhanden", "0", "0", "0", "0",
                                                 "0", "0"}));

    // The page: the user, the time of the last record read, the heads and every row.
    const auto pages = pdf(result);
    ASSERT_EQ(pages.size(), 1U);
    const pdftest::Page& page = pages[0];
    EXPECT_TRUE(placed(page, "Erika Mustermann", 0, 0.7, 52.9, Qt::AlignLeft));
    EXPECT_TRUE(placed(page, kTodayText.c_str() + QStringLiteral(" - 09.42"), 127.0, 0.7, 52.9,
                       Qt::AlignRight));
    EXPECT_TRUE(placed(page, "Übungstyp", 23.5, 14.2, 16.5, Qt::AlignLeft));
    EXPECT_TRUE(placed(page, "Interfer.", 163.7, 14.2, 15.9, Qt::AlignRight));
    for (std::size_t r = 0; r < 12; ++r) {
        const double top = 19.8 + 6.9 * static_cast<double>(r) + 2.0;
        EXPECT_TRUE(placed(page, QString::fromStdString(rows[r][0]), 0.7, top, 20.8, Qt::AlignLeft))
            << r;
        EXPECT_TRUE(
            placed(page, QString::fromStdString(rows[r][1]), 23.2, top, 51.3, Qt::AlignLeft))
            << r;
        EXPECT_TRUE(
            placed(page, QString::fromStdString(rows[r][2]), 75.1, top, 16.2, Qt::AlignRight))
            << r;
        EXPECT_TRUE(
            placed(page, QString::fromStdString(rows[r][7]), 163.4, top, 16.2, Qt::AlignRight))
            << r;
    }

    // A second print of today's list replaces the table; English heads.
    programState().UiLanguage = 2;
    const auto second =
        printFromView([&] { view_.findChild<ImageButton*>(QStringLiteral("TagButton"))->click(); });
    ASSERT_EQ(messages.shown.size(), 5U);
    expectDone(messages.shown[4], "The statistic has been printed.", "Info", second);
    const auto today = table();
    ASSERT_EQ(today.size(), 7U); // runs 5, 7 to 12
    for (const auto& row : today) {
        EXPECT_EQ(row[0], kTodayText);
    }
    const auto secondPages = pdf(second);
    ASSERT_EQ(secondPages.size(), 1U);
    EXPECT_TRUE(placed(secondPages[0], "type of ex.", 23.5, 14.2, 16.5, Qt::AlignLeft));
    EXPECT_TRUE(placed(secondPages[0], "incorrect", 146.2, 14.2, 16.2, Qt::AlignRight));
}

TEST_F(PrintsTest, SixtyRunsSpanPagesEachWithItsHeaderAndSplitLinesLandInTheLastField) {
    for (int i = 1; i <= 60; ++i) {
        append({.kind = 1, .version = i % 4 + 1, .rounds = 8});
    }
    const auto result = printFromView();
    const auto pages = pdf(result);
    ASSERT_EQ(pages.size(), 2U);
    int rowsSeen = 0;
    for (const pdftest::Page& page : pages) {
        EXPECT_TRUE(placed(page, "Erika Mustermann", 0, 0.7, 52.9, Qt::AlignLeft));
        EXPECT_TRUE(placed(page, "Datum", 1.0, 14.2, 10.3, Qt::AlignLeft));
        EXPECT_TRUE(placed(page, "Mittelw.", 110.5, 14.2, 16.2, Qt::AlignRight));
        for (const pdftest::Word& w : page.words) {
            rowsSeen += w.text == QString::fromStdString(kTodayText) ? 1 : 0;
        }
        // Each page's first row right under its header.
        EXPECT_TRUE(
            placed(page, QString::fromStdString(kTodayText), 0.7, 19.8 + 2.0, 20.8, Qt::AlignLeft));
    }
    EXPECT_EQ(rowsSeen, 60 + 2); // every row, and the date in each page's header

    EXPECT_EQ(PrintTableFields("Datenfehler"),
              (std::vector<std::string>{"", "", "", "", "", "", "", "Datenfehler"}));
    EXPECT_EQ(PrintTableFields("4;a;b;c"),
              (std::vector<std::string>{"a", "b", "", "", "", "", "", "c"}));
}

TEST_F(PrintsTest, ChartPrintCarriesItsFooterAndSaysDoneInGerman) {
    append({.kind = 1, .version = 1, .time = "08.05", .correctEvery = 2});
    append({.kind = 2, .version = 3, .time = "08.20"});
    programState().UiLanguage = 2;
    programState().vocabulary = ExerciseVocabulary::english();
    programState().RecordsRead = 2;
    TFilterDialog chart(messages);
    std::optional<PrintResult> result;
    std::optional<PrintResult> nothing;
    QTimer::singleShot(0, &chart, [&] {
        messages.answers = {kMessageNo};
        chart.findChild<ImageButton*>(QStringLiteral("druckbutton"))->click();
        EXPECT_TRUE(pdfFiles().isEmpty());
        result = PrintChart(*chart.Chart1(), messages);
        EXPECT_TRUE(chartOf(chart)->footerText().isEmpty()); // only while printing
        // The colour exercise's version 3: no run, and the page says so as the screen does.
        chart.TypCombo()->setCurrentIndex(1);
        chart.TypComboChange();
        chart.VersionCombo()->setCurrentIndex(3);
        chart.AnzeigenButtonClick();
        nothing = PrintChart(*chart.Chart1(), messages);
        chart.cancelbuttonClick();
    });
    chart.exec();
    ASSERT_EQ(messages.shown.size(), 5U);
    expectQuestion(messages.shown[0], "Do you want to print the chart?");
    expectDone(messages.shown[2], "Die Grafik wurde gedruckt.", "Hinweis", result);
    const auto pages = pdf(result);
    ASSERT_EQ(pages.size(), 1U);
    EXPECT_TRUE(pdftest::find(pages[0], "user1.dat (10.12.2026 - 08.20)").has_value())
        << pages[0].text().toStdString();
    EXPECT_TRUE(pdftest::find(pages[0], "Average value").has_value());
    EXPECT_TRUE(pdftest::find(pages[0], "Deviation").has_value());
    EXPECT_TRUE(pdftest::find(pages[0], "1").has_value());
    EXPECT_TRUE(pdftest::find(pages[0], "2").has_value());

    expectDone(messages.shown[4], "Die Grafik wurde gedruckt.", "Hinweis", nothing);
    const auto empty = pdf(nothing);
    ASSERT_EQ(empty.size(), 1U);
    EXPECT_EQ(empty[0].text().toStdString(),
              "No data available for this selection. user1.dat (10.12.2026 - 08.20)");
}
