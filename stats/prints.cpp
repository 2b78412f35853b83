#include "stats/prints.h"

#include "core/program_state.h"
#include "stats/overall_texts.h"
#include "stats/reports.h"
#include "stats/wait_cursor.h"
#include "toolkit/bar_chart.h"
#include "toolkit/dbf_table.h"

#include <QApplication>
#include <QPagedPaintDevice>
#include <QWidget>

namespace quendal {

namespace {

constexpr int kLines = 4;

bool ask(MessageSink& messages, const texts::TextPair& question) {
    return messages.Show(texts::pick(question).toStdString(), std::string(), true, true, kLines) ==
           kMessageYes;
}

QString dataFolder() {
    return QString::fromStdString(programState().DataFolder);
}

// The done message, or the failure: a print that reached neither printer nor file is never
// reported as printed.
void tellOutcome(MessageSink& messages, const PrintResult& result, const texts::TextPair& done,
                 const texts::TextPair& caption) {
    if (!result.ok()) {
        messages.Show(texts::pick(texts::drucken::printFailed).arg(result.error).toStdString(),
                      texts::pick(texts::drucken::fehler).toStdString(), false, true, kLines + 2);
        return;
    }
    QString text = texts::pick(done);
    int lines = kLines;
    if (result.status == PrintResult::Status::SavedAsPdf) {
        // The chart's message is German in both languages, and so is its note.
        const texts::TextPair& note = done.german == done.english
                                          ? texts::TextPair{texts::drucken::savedAsPdf.german,
                                                            texts::drucken::savedAsPdf.german}
                                          : texts::drucken::savedAsPdf;
        text += QStringLiteral("\r\r") + texts::pick(note).arg(result.pdfFile);
        lines += 3;
    }
    messages.Show(text.toStdString(), texts::pick(caption).toStdString(), false, true, lines);
}

} // namespace

std::optional<PrintResult> PrintSingleStatistics(const QStringList& columnHeads,
                                                 const QStringList& cells, MessageSink& messages) {
    if (!ask(messages, texts::drucken::statistikQuestion)) {
        return std::nullopt;
    }
    TReport report;
    report.Fill(programState().current, columnHeads, cells);
    PrintResult result;
    {
        const WaitCursor wait;
        result =
            PrintJob(QStringLiteral("Statistik"), dataFolder()).run([&](QPagedPaintDevice& device) {
                return report.EinzelStatistikReport.print(device);
            });
    }
    tellOutcome(messages, result, texts::drucken::einzelDone, texts::kHinweis);
    return result;
}

std::optional<PrintResult> PrintSingleStatistics(MessageSink& messages) {
    const ResultRecord& record = programState().current;
    return PrintSingleStatistics(SingleStatisticsColumnHeads(record), SingleStatisticsCells(record),
                                 messages);
}

std::vector<std::string> PrintTableFields(const QString& line) {
    QString rest = line;
    rest.remove(0, rest.indexOf(u';') + 1); // nothing when there is no ";"
    std::vector<std::string> fields;
    for (int f = 0; f < 7; ++f) {
        const qsizetype end = rest.indexOf(u';');
        if (end < 0) {
            fields.emplace_back();
            continue;
        }
        fields.push_back(rest.left(end).toStdString());
        rest.remove(0, end + 1);
    }
    fields.push_back(rest.toStdString());
    return fields;
}

std::string PrintTablePath() {
    return programState().DataFolder + "drucktmp.DBF";
}

std::optional<PrintResult> PrintOverallStatistics(const QStringList& lines, MessageSink& messages) {
    if (lines.isEmpty() || !ask(messages, texts::drucken::statistikQuestion)) {
        return std::nullopt;
    }
    const WaitCursor wait;
    const std::string path = PrintTablePath();
    const std::vector<DbfField> fields{{"F1", 10}, {"F2", 30}, {"F3", 10}, {"F4", 10},
                                       {"F5", 10}, {"F6", 10}, {"F7", 10}, {"F8", 10}};
    if (DbfTable::create(path, fields) != DbfTable::CreateResult::Created) {
        messages.Show(texts::pick(texts::drucken::tableFailed).toStdString(),
                      texts::pick(texts::drucken::fehler).toStdString(), false, true, kLines);
        return std::nullopt;
    }
    DbfTable table;
    bool written = table.open(path);
    for (qsizetype i = 0; written && i < lines.size(); ++i) {
        written = table.appendRow(PrintTableFields(lines.at(i)));
    }
    // A table that did not take every line would print a list with runs missing.
    if (!written) {
        messages.Show(texts::pick(texts::drucken::tableRowFailed).toStdString(),
                      texts::pick(texts::drucken::fehler).toStdString(), false, true, kLines);
        return std::nullopt;
    }
    std::vector<QStringList> rows;
    rows.reserve(static_cast<std::size_t>(table.rowCount()));
    for (int r = 0; r < table.rowCount(); ++r) {
        QStringList row;
        for (const std::string& text : table.row(r)) {
            row << QString::fromStdString(text);
        }
        rows.push_back(row);
    }
    table.close();

    TGesamtReport report;
    report.Fill(programState().current, std::move(rows));
    const PrintResult result = PrintJob(QStringLiteral("Gesamtstatistik"), dataFolder())
                                   .run([&](QPagedPaintDevice& device) {
                                       return report.GesamtStatistikReport.print(device);
                                   });
    tellOutcome(messages, result, texts::drucken::gesamtDone, texts::kHinweis);
    return result;
}

std::optional<PrintResult> PrintChart(BarChart& chart, MessageSink& messages) {
    if (!ask(messages, texts::drucken::grafikQuestion)) {
        return std::nullopt;
    }
    if (QWidget* window = chart.widget()->window()) {
        window->repaint();
    }
    PrintResult result;
    {
        const WaitCursor wait;
        const ProgramState& state = programState();
        chart.setFooterText(QString::fromStdString(state.CurrentUser.ResultFileName) +
                            QStringLiteral(" (") + ReportTimeLine(state.current) +
                            QStringLiteral(")"));
        // On paper the chart stands on white, not on the dialog's light green.
        const QColor screenBackground = chart.backgroundColor();
        chart.setBackgroundColor(Qt::white);
        result =
            PrintJob(QStringLiteral("Grafik"), dataFolder()).run([&](QPagedPaintDevice& device) {
                return chart.print(device);
            });
        chart.setBackgroundColor(screenBackground);
        chart.setFooterText(QString());
    }
    tellOutcome(messages, result, texts::drucken::grafikDone, texts::drucken::grafikCaption);
    return result;
}

} // namespace quendal
