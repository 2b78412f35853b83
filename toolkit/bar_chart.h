#pragma once
// The statistics' bar chart as the screens see it: pairs of values stacked in bars, with
// their titles, colours, axis title, no-data text and printed footer (stacked_bar_chart.h
// draws it). The chart lives in a module of its own, libquendal_chart.so, which brings Qt
// Charts with it and is loaded when the first chart is made, so that the program's start
// does not load them.

#include <QColor>
#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>

class QPagedPaintDevice;
class QWidget;

namespace quendal {

class BarChart {
  public:
    BarChart() = default;
    virtual ~BarChart() = default;
    BarChart(const BarChart&) = delete;
    BarChart& operator=(const BarChart&) = delete;

    // The chart's widget, owned by the parent it was made with.
    virtual QWidget* widget() = 0;

    virtual void setSetTitles(const QString& first, const QString& second) = 0;
    virtual void setSetColors(const QColor& first, const QColor& second) = 0;
    virtual void setValueAxisTitle(const QString& title) = 0;
    virtual void setBackgroundColor(const QColor& colour) = 0;
    virtual QColor backgroundColor() const = 0;
    // Replaces every pair at once: a label, the bar's value and the value stacked on it.
    virtual void setPairs(const QStringList& labels, const QList<double>& first,
                          const QList<double>& second) = 0;
    // What a chart without pairs prints instead of an empty plot.
    virtual void setNoDataText(const QString& text, const QFont& font, const QColor& colour) = 0;
    // The footer line of the printed chart; empty means none.
    virtual void setFooterText(const QString& text) = 0;
    // Prints the chart across the width of one page within margins of marginMm; false when
    // the device cannot be painted on.
    virtual bool print(QPagedPaintDevice& device, double marginMm = 15.0) = 0;
};

// A new chart, a child of parent, from the chart module: the one beside the executable (the
// build tree) or the installed one. Null, with the reason in *why, when the module cannot be
// loaded.
BarChart* makeBarChart(QWidget* parent, QString* why = nullptr);

} // namespace quendal
