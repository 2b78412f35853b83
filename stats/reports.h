#pragma once
// The two printed tables, laid out on A4 portrait with 15 mm margins in Arial:
//
// TReport, the statistics of one run: the user's name, the exercise (Typ) and the date and
// time (Zeit) of the run above a table of eight rows and five columns, the same texts the
// single statistics view shows.
//
// TGesamtReport, the list of runs: a page header on every page with the user's name, the
// date and time and eight column heads, then one line per run.
//
// The heads are set for the interface language by ApplyTexts.

#include "core/records.h"
#include "toolkit/band_report.h"

#include <QString>
#include <QStringList>

namespace quendal {

class TReport {
  public:
    // The names of the eight rows of values, in table order: the value labels are "_" + row
    // code + column digit, "_ri0" to "_el4".
    static constexpr const char* RowCodes[8] = {"ri", "mr", "sr", "fa", "mf", "sf", "in", "el"};

    TReport();

    // _color0 and the eight row heads for UiLanguage.
    void ApplyTexts();
    // Head, Typ and Zeit from the record and the user's name; the five column heads and the
    // 40 values (row by row) as the view shows them. Missing texts stay empty.
    void Fill(const ResultRecord& record, const QStringList& columnHeads, const QStringList& cells);

    BandReport EinzelStatistikReport;
};

class TGesamtReport {
  public:
    TGesamtReport();

    // The column heads for UiLanguage.
    void ApplyTexts();
    // Name and Zeit; the rows are the eight fields F1 .. F8 of each line.
    void Fill(const ResultRecord& record, std::vector<QStringList> rows);

    BandReport GesamtStatistikReport;
};

// The single print's Typ line: the exercise word, " - " and the version name, e.g.
// "Farbe - Version 2"; "Unbekannt" / "Unknown" when the program key names no exercise.
QString ReportExerciseLine(const ResultRecord& record);
// svdate + " - " + svtime.
QString ReportTimeLine(const ResultRecord& record);
// The user's display name without surrounding blanks.
QString ReportUserName();

// The texts of the single statistics view for a record: the five column heads ("Alle" /
// "All", then the colour or number names by the record's kind) and the 40 values row by row.
QStringList SingleStatisticsColumnHeads(const ResultRecord& record);
QStringList SingleStatisticsCells(const ResultRecord& record);

} // namespace quendal
