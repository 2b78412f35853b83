#pragma once
// The three prints, each after a Yes/No question and followed by a done message: the
// statistics of one run, the list of runs of the overall view and the chart. A print goes to
// the default printer, or, with no printer (or $QUENDAL_PRINT_TO_PDF set), into a PDF file in
// that folder or in DataFolder; the done message then names the file.

#include "core/message_sink.h"
#include "toolkit/print_job.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <string>
#include <vector>

namespace quendal {

class BarChart;

// The print of the single statistics view (its print button and Enter): asks "Soll die
// Statistik gedruckt werden?", prints TReport for the current ResultRecord with the view's
// five column heads and its 40 cell texts row by row (ri0..ri4, mr0..mr4, .. el0..el4), and
// says "Die Statistik wurde gedruckt.". nullopt when the answer was not Yes.
std::optional<PrintResult> PrintSingleStatistics(const QStringList& columnHeads,
                                                 const QStringList& cells, MessageSink& messages);
// The same for the current ResultRecord with the texts the view shows for it.
std::optional<PrintResult> PrintSingleStatistics(MessageSink& messages);

// The print of the overall view's list (its lines as shown): asks, writes the lines into
// DataFolder + "drucktmp.DBF" and prints TGesamtReport from the table read back. Nothing
// happens for an empty list; nullopt when nothing was printed.
std::optional<PrintResult> PrintOverallStatistics(const QStringList& lines, MessageSink& messages);

// The print table's eight fields of a list line: the record number up to the first ";" is
// dropped, seven fields follow, each up to its ";", and the rest is the eighth.
std::vector<std::string> PrintTableFields(const QString& line);

// The print table in DataFolder.
std::string PrintTablePath();

// The chart's print: asks "Soll die Grafik gedruckt werden?", prints the chart with the
// footer user file + " (" + date + " - " + time + ")" of the current ResultRecord and says
// "Die Grafik wurde gedruckt." (German in both languages).
std::optional<PrintResult> PrintChart(BarChart& chart, MessageSink& messages);

} // namespace quendal
