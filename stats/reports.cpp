#include "stats/reports.h"

#include "core/program_state.h"
#include "stats/overall_texts.h"
#include "stats/report_texts.h"

#include <algorithm>
#include <array>

namespace quendal {

namespace {

ReportLabel makeLabel(const QString& name, double left, double top, double width,
                      Qt::Alignment alignment, double pixels, bool bold, int field = -1) {
    ReportLabel label;
    label.name = name;
    label.leftMm = left;
    label.topMm = top;
    label.widthMm = width;
    label.alignment = alignment;
    label.font = ReportFont{QStringLiteral("Arial"), pixels, bold};
    label.field = field;
    return label;
}

// The table of the single print: the lefts of the five columns and the tops of the eight
// rows, in millimetres from the title band's corner.
constexpr std::array<double, 5> kColumnLefts{49.3, 76.1, 103.2, 130.0, 156.8};
constexpr std::array<double, 8> kRowTops{48.3, 57.5, 67.1, 76.4, 86.0, 95.2, 104.8, 114.1};
constexpr std::array<const char*, 8> kRowHeads{"LName", "LAdd1", "LAdd2", "LNr1",
                                               "LNr2",  "LNr3",  "LNr4",  "LNr5"};
constexpr std::array<texts::TextPair, 8> kRowHeadTexts{
    texts::report::LName, texts::report::LAdd1, texts::report::LAdd2, texts::report::LNr1,
    texts::report::LNr2,  texts::report::LNr3,  texts::report::LNr4,  texts::report::LNr5};

struct GesamtColumn {
    double headLeft, headWidth, fieldLeft, fieldWidth;
    Qt::Alignment alignment;
    texts::TextPair head;
};
const std::array<GesamtColumn, 8> kGesamtColumns{{
    {1.0, 10.3, 0.7, 20.8, Qt::AlignLeft, texts::gesamtreport::QRLabel1},
    {23.5, 16.5, 23.2, 51.3, Qt::AlignLeft, texts::gesamtreport::QRLabel2},
    {75.1, 16.2, 75.1, 16.2, Qt::AlignRight, texts::gesamtreport::QRLabel3},
    {92.6, 16.2, 92.6, 16.2, Qt::AlignRight, texts::gesamtreport::QRLabel4},
    {110.5, 16.2, 110.5, 16.2, Qt::AlignRight, texts::gesamtreport::QRLabel5},
    {128.0, 16.2, 128.0, 16.2, Qt::AlignRight, texts::gesamtreport::QRLabel6},
    {146.2, 16.2, 145.9, 16.2, Qt::AlignRight, texts::gesamtreport::QRLabel7},
    {163.7, 15.9, 163.4, 16.2, Qt::AlignRight, texts::gesamtreport::QRLabel8},
}};

QString headerText(const ResultRecord& record, int field) {
    return QString::fromStdString(record.header[static_cast<std::size_t>(field)]);
}

} // namespace

TReport::TReport() {
    BandReport& report = EinzelStatistikReport;
    report.setMarginsMm(15.0);
    ReportBand& band = report.titleBand();
    band.heightMm = 244.7;
    band.colour = Qt::white;
    band.labels.push_back(
        makeLabel(QStringLiteral("Head"), 32.1, 1.3, 115.8, Qt::AlignHCenter, 19, true));
    band.labels.push_back(makeLabel(QStringLiteral("Typ"), 0, 14.6, 52.9, Qt::AlignLeft, 16, true));
    band.labels.push_back(
        makeLabel(QStringLiteral("Zeit"), 127.0, 15.5, 52.9, Qt::AlignRight, 16, true));
    for (std::size_t c = 0; c < kColumnLefts.size(); ++c) {
        band.labels.push_back(makeLabel(QStringLiteral("_color%1").arg(c), kColumnLefts[c], 38.4,
                                        19.8, Qt::AlignLeft, 16, true));
    }
    for (std::size_t r = 0; r < kRowTops.size(); ++r) {
        band.labels.push_back(makeLabel(QString::fromLatin1(kRowHeads[r]), 6.9, kRowTops[r], 32.7,
                                        Qt::AlignRight, 16, true));
        for (std::size_t c = 0; c < kColumnLefts.size(); ++c) {
            band.labels.push_back(
                makeLabel(QStringLiteral("_%1%2").arg(QLatin1String(RowCodes[r])).arg(c),
                          kColumnLefts[c], kRowTops[r], 19.8, Qt::AlignLeft, 15, false));
        }
    }
    ApplyTexts();
}

void TReport::ApplyTexts() {
    EinzelStatistikReport.setText(QStringLiteral("_color0"), texts::pick(texts::report::_color0));
    for (std::size_t r = 0; r < kRowHeads.size(); ++r) {
        EinzelStatistikReport.setText(QString::fromLatin1(kRowHeads[r]),
                                      texts::pick(kRowHeadTexts[r]));
    }
}

void TReport::Fill(const ResultRecord& record, const QStringList& columnHeads,
                   const QStringList& cells) {
    BandReport& report = EinzelStatistikReport;
    report.setText(QStringLiteral("Typ"), ReportExerciseLine(record));
    report.setText(QStringLiteral("Zeit"), ReportTimeLine(record));
    report.setText(QStringLiteral("Head"), ReportUserName());
    for (int c = 0; c < 5; ++c) {
        report.setText(QStringLiteral("_color%1").arg(c), columnHeads.value(c));
    }
    for (int r = 0; r < 8; ++r) {
        for (int c = 0; c < 5; ++c) {
            report.setText(QStringLiteral("_%1%2").arg(QLatin1String(RowCodes[r])).arg(c),
                           cells.value(r * 5 + c));
        }
    }
}

TGesamtReport::TGesamtReport() {
    BandReport& report = GesamtStatistikReport;
    report.setMarginsMm(15.0);
    ReportBand& header = report.pageHeaderBand();
    header.heightMm = 19.8;
    header.labels.push_back(
        makeLabel(QStringLiteral("Name"), 0, 0.7, 52.9, Qt::AlignLeft, 16, true));
    header.labels.push_back(
        makeLabel(QStringLiteral("Zeit"), 127.0, 0.7, 52.9, Qt::AlignRight, 16, true));
    ReportBand& detail = report.detailBand();
    detail.heightMm = 6.9;
    for (std::size_t c = 0; c < kGesamtColumns.size(); ++c) {
        const GesamtColumn& column = kGesamtColumns[c];
        // A left-aligned head may use the width of its field, so that a long head such as
        // "Übungstyp" in bold is not cut; it starts where the layout says.
        const double headWidth = column.alignment == Qt::AlignLeft
                                     ? std::max(column.headWidth, column.fieldWidth)
                                     : column.headWidth;
        header.labels.push_back(makeLabel(QStringLiteral("QRLabel%1").arg(c + 1), column.headLeft,
                                          14.2, headWidth, column.alignment, 13, true));
        detail.labels.push_back(makeLabel(QStringLiteral("F%1").arg(c + 1), column.fieldLeft, 2.0,
                                          column.fieldWidth, column.alignment, 13, false,
                                          static_cast<int>(c)));
    }
    ApplyTexts();
}

void TGesamtReport::ApplyTexts() {
    for (std::size_t c = 0; c < kGesamtColumns.size(); ++c) {
        GesamtStatistikReport.setText(QStringLiteral("QRLabel%1").arg(c + 1),
                                      texts::pick(kGesamtColumns[c].head));
    }
}

void TGesamtReport::Fill(const ResultRecord& record, std::vector<QStringList> rows) {
    GesamtStatistikReport.setText(QStringLiteral("Name"), ReportUserName());
    GesamtStatistikReport.setText(QStringLiteral("Zeit"), ReportTimeLine(record));
    GesamtStatistikReport.setRows(std::move(rows));
}

QString ReportExerciseLine(const ResultRecord& record) {
    const ProgramState& state = programState();
    const QString key = QString::fromStdString(record.header[kPrtkey]).trimmed();
    QString unknown = texts::pick(texts::drucken::unbekannt);
    if (key.size() < 4) {
        return unknown;
    }
    const QChar kind = key.at(2);
    const int version = key.at(3).digitValue();
    // A version outside 1..4 names no exercise.
    if (version < 1 || version > 4) {
        return unknown;
    }
    const auto v = static_cast<std::size_t>(version);
    const ExerciseVocabulary& words = state.vocabulary;
    // The number exercise is named by its first word, "Zahl" / "digit".
    const std::string& exercise = kind == u'1' ? words.playKindNames[1] : words.playKindNames[3];
    const std::string& name =
        kind == u'1' ? words.colourVersionNames[v] : words.numberVersionNames[v];
    return QString::fromStdString(exercise + " - " + name);
}

QString ReportTimeLine(const ResultRecord& record) {
    return headerText(record, kSvdate) + QStringLiteral(" - ") + headerText(record, kSvtime);
}

QString ReportUserName() {
    return QString::fromStdString(programState().CurrentUser.DisplayName).trimmed();
}

QStringList SingleStatisticsColumnHeads(const ResultRecord& record) {
    const ProgramState& state = programState();
    const std::string& key = record.header[kPrtkey];
    const bool colour = key.size() >= 3 && key[2] == '1';
    const auto& names = colour ? state.vocabulary.colourNames : state.vocabulary.numberNames;
    QStringList heads{state.UiLanguage == 1 ? QStringLiteral("Alle") : QStringLiteral("All")};
    for (std::size_t v = 1; v <= 4; ++v) {
        heads << QString::fromStdString(names[v]);
    }
    return heads;
}

QStringList SingleStatisticsCells(const ResultRecord& record) {
    QStringList cells;
    const auto& columns = record.statistics.columns;
    const auto row = [&](int32_t StatisticsColumn::*value) {
        for (const StatisticsColumn& column : columns) {
            cells << QString::number(column.*value);
        }
    };
    row(&StatisticsColumn::correct);
    row(&StatisticsColumn::meanCorrect);
    row(&StatisticsColumn::sdCorrect);
    row(&StatisticsColumn::wrong);
    row(&StatisticsColumn::meanWrong);
    row(&StatisticsColumn::sdWrong);
    row(&StatisticsColumn::interference);
    row(&StatisticsColumn::eliminated);
    return cells;
}

} // namespace quendal
