#pragma once
// A bar chart of labelled pairs: the first value of a pair is a bar standing on the axis, the
// second stacks on top of it, so the top of the pair stands at first + second. The titles and
// colours of both sets come from the caller; the legend stands above the plot, the value
// axis on the left carries its title ("ms" unless set), there is no chart title and no zoom
// or pan. A footer line (Arial 15 px bold, black) belongs to the printed chart only.
//
// The value axis runs from 0 to a round number above the highest pair, fixed by the pairs
// alone. The labels under the bars are placed by layoutCategoryLabels: each shown label
// whole and apart from its neighbours, at any number of pairs and any size. Bars too narrow
// for an outline are drawn without one, in their plain colours, so both colours stay visible
// however many pairs stand side by side. A chart without pairs prints its no-data text.
//
// It is built into the chart module with Qt Charts (bar_chart.h); the screens make it through
// makeBarChart and see it as a BarChart.

#include "toolkit/bar_chart.h"
#include "toolkit/category_labels.h"

#include <QChartView>
#include <QColor>
#include <QFont>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

class QBarCategoryAxis;
class QBarSet;
class QGraphicsSimpleTextItem;
class QPagedPaintDevice;
class QPainter;
class QStackedBarSeries;
class QValueAxis;

namespace quendal {

class StackedBarChart : public QChartView, public BarChart {
    Q_OBJECT
  public:
    explicit StackedBarChart(QWidget* parent = nullptr);

    QWidget* widget() override { return this; }

    void setSetTitles(const QString& first, const QString& second) override;
    void setSetColors(const QColor& first, const QColor& second) override;
    QColor firstColor() const { return colours_[0]; }
    QColor secondColor() const { return colours_[1]; }
    void setValueAxisTitle(const QString& title) override;
    void setBackgroundColor(const QColor& colour) override;
    QColor backgroundColor() const override { return background_; }

    // Removes every pair.
    void clear();
    // Appends a pair at the right end; its label names it on the bottom axis.
    void addPair(const QString& label, double first, double second);
    // Replaces every pair at once (far faster than adding hundreds one by one).
    void setPairs(const QStringList& labels, const QList<double>& first,
                  const QList<double>& second) override;

    int pairCount() const { return static_cast<int>(labels_.size()); }
    QStringList labels() const { return labels_; }
    QList<double> firstValues() const;
    QList<double> secondValues() const;
    QBarSet* firstSet() const { return sets_[0]; }
    QBarSet* secondSet() const { return sets_[1]; }
    QStringList categories() const;
    double valueAxisMax() const;
    int valueAxisTickCount() const;

    // The font of the axis labels.
    QFont labelFont() const { return labelFont_; }
    // The labels under the bars as they stand now: their texts and boxes in the chart's
    // coordinates (those of the widget), left to right, and how they were placed.
    QStringList shownLabels() const;
    QList<QRectF> shownLabelBoxes() const;
    const CategoryLabelLayout& labelLayout() const { return labelLayout_; }
    // The strip below the plot the labels are placed in, as the chart stands now.
    CategoryLabelBand labelBand() const;
    // True while the bars are too narrow for outlines and gaps.
    bool narrowBars() const { return narrowBars_; }

    // What a chart without pairs prints instead of an empty plot.
    void setNoDataText(const QString& text, const QFont& font, const QColor& colour) override;

    // The footer line of the printed chart; empty means none.
    void setFooterText(const QString& text) override { footer_ = text; }
    QString footerText() const { return footer_; }

    // Draws the chart, footer included, into target (scaled, aspect ratio kept).
    void paintChart(QPainter& painter, const QRectF& target);
    // Prints the chart across the width of one page within margins of marginMm; false when
    // the device cannot be painted on.
    bool print(QPagedPaintDevice& device, double marginMm = 15.0) override;

  private:
    void applyBrushes();
    void rescale();
    void placeLabels();
    void settleLayout();
    QString uniqueLabel(const QString& label);

    QStackedBarSeries* series_;
    QBarSet* sets_[2];
    QBarCategoryAxis* categoryAxis_;
    QValueAxis* valueAxis_;
    QColor colours_[2]{QColor(140, 158, 242), QColor(134, 242, 202)};
    QColor background_{Qt::white};
    QStringList labels_;
    QSet<QString> categorySet_; // the texts on the axis, each once
    std::vector<double> labelWidths_;
    QFont labelFont_;
    QList<QGraphicsSimpleTextItem*> labelItems_;
    CategoryLabelLayout labelLayout_;
    int bottomMargin_ = 0;
    bool narrowBars_ = false;
    bool placementDue_ = false;
    QString footer_;
    QString noDataText_;
    QFont noDataFont_;
    QColor noDataColour_{Qt::black};
};

} // namespace quendal
