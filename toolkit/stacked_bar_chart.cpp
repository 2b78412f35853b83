#include "toolkit/stacked_bar_chart.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QCoreApplication>
#include <QFontMetricsF>
#include <QGraphicsLayout>
#include <QGraphicsSimpleTextItem>
#include <QLegend>
#include <QLinearGradient>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QStackedBarSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace quendal {

namespace {

constexpr int footerPixelSize = 15;
constexpr int labelPixelSize = 12;
const QSize printedSize(590, 337); // the chart's size on screen when the widget has none yet
// The labels stand this far below the plot; the chart's own margin is kept below them.
constexpr double labelDrop = 4.0;
constexpr int chartMargin = 8;
// Below these widths in pixels a bar loses its outline and shading, and the gaps between bars
// close: what is left of a bar would otherwise be outline, or haze between the bars.
constexpr double outlinedBarWidth = 6.0;
constexpr double gappedPitch = 3.0;
constexpr double barShare = 0.6;

// A round top for the value axis a little above `top`, and its number of tick marks: steps of
// 1, 2, 2.5 or 5 times a power of ten, whole milliseconds, three to six steps.
std::pair<double, int> valueScale(double top) {
    if (top <= 0) {
        return {10.0, 6};
    }
    const double target = top * 1.05;
    const double raw = target / 6.0;
    const double decade = std::pow(10.0, std::floor(std::log10(raw)));
    double step = 10.0 * decade;
    for (double factor : {1.0, 2.0, 2.5, 5.0}) {
        if (factor * decade >= raw && (factor != 2.5 || decade >= 10.0)) {
            step = factor * decade;
            break;
        }
    }
    step = std::max(step, 1.0);
    const double steps = std::ceil(target / step - 1e-9);
    return {steps * step, static_cast<int>(steps) + 1};
}

// A brush shading each bar from a light left edge to a dark right edge, which gives the bars
// a rounded, raised look without the clutter of a perspective drawing.
QBrush barBrush(const QColor& colour) {
    QLinearGradient gradient(0, 0, 1, 0);
    gradient.setCoordinateMode(QGradient::ObjectBoundingMode);
    gradient.setColorAt(0.0, colour.lighter(135));
    gradient.setColorAt(0.4, colour);
    gradient.setColorAt(1.0, colour.darker(140));
    return QBrush(gradient);
}

} // namespace

StackedBarChart::StackedBarChart(QWidget* parent)
    : QChartView(new QChart, parent),
      series_(new QStackedBarSeries), sets_{new QBarSet(QString()), new QBarSet(QString())},
      categoryAxis_(new QBarCategoryAxis), valueAxis_(new QValueAxis) {
    QChart* c = chart();
    c->setTitle(QString());
    c->setAnimationOptions(QChart::NoAnimation);
    c->setBackgroundRoundness(0);
    c->setDropShadowEnabled(false);
    c->legend()->setAlignment(Qt::AlignTop);
    c->legend()->setMarkerShape(QLegend::MarkerShapeRectangle);
    series_->append(sets_[0]);
    series_->append(sets_[1]);
    series_->setBarWidth(0.6);
    c->addSeries(series_);
    c->addAxis(categoryAxis_, Qt::AlignBottom);
    c->addAxis(valueAxis_, Qt::AlignLeft);
    series_->attachAxis(categoryAxis_);
    series_->attachAxis(valueAxis_);
    valueAxis_->setTitleText(QStringLiteral("ms"));
    valueAxis_->setLabelFormat(QStringLiteral("%i"));
    valueAxis_->setMinorTickCount(0);
    labelFont_ = QFont(QStringLiteral("Arial"));
    labelFont_.setPixelSize(labelPixelSize);
    valueAxis_->setLabelsFont(labelFont_);
    // The labels under the bars are placed here (placeLabels); the axis draws neither them nor
    // its line, ticks and grid, which at hundreds of bars would merge into a dark band. The
    // value axis's line at 0 is the base line.
    categoryAxis_->setLabelsVisible(false);
    categoryAxis_->setLineVisible(false);
    categoryAxis_->setGridLineVisible(false);
    c->setMargins(QMargins(chartMargin, chartMargin, chartMargin, chartMargin));
    bottomMargin_ = chartMargin;
    connect(c, &QChart::plotAreaChanged, this, [this] { placeLabels(); });
    setRubberBand(QChartView::NoRubberBand);
    setDragMode(QGraphicsView::NoDrag);
    setInteractive(false);
    setRenderHint(QPainter::Antialiasing, true);
    setFrameShape(QFrame::NoFrame);
    setBackgroundColor(background_);
    applyBrushes();
    rescale();
}

void StackedBarChart::setSetTitles(const QString& first, const QString& second) {
    sets_[0]->setLabel(first);
    sets_[1]->setLabel(second);
}

void StackedBarChart::setSetColors(const QColor& first, const QColor& second) {
    colours_[0] = first;
    colours_[1] = second;
    applyBrushes();
}

void StackedBarChart::setValueAxisTitle(const QString& title) {
    valueAxis_->setTitleText(title);
}

void StackedBarChart::setBackgroundColor(const QColor& colour) {
    background_ = colour;
    chart()->setBackgroundBrush(colour);
    chart()->setBackgroundPen(Qt::NoPen);
    setBackgroundBrush(colour);
}

void StackedBarChart::clear() {
    setPairs({}, {}, {});
}

void StackedBarChart::addPair(const QString& label, double first, double second) {
    const QString unique = uniqueLabel(label);
    labels_.append(label);
    labelWidths_.push_back(QFontMetricsF(labelFont_).horizontalAdvance(label));
    categoryAxis_->append(unique);
    sets_[0]->append(first);
    sets_[1]->append(second);
    rescale();
    // Pairs added one by one are placed once they are all in, not once each.
    if (!placementDue_) {
        placementDue_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (placementDue_) {
                    placeLabels();
                }
            },
            Qt::QueuedConnection);
    }
}

void StackedBarChart::setPairs(const QStringList& labels, const QList<double>& first,
                               const QList<double>& second) {
    const qsizetype n = std::min({labels.size(), first.size(), second.size()});
    labels_.clear();
    labelWidths_.clear();
    categoryAxis_->clear();
    sets_[0]->remove(0, sets_[0]->count());
    sets_[1]->remove(0, sets_[1]->count());
    categorySet_.clear();
    QStringList unique;
    QList<qreal> a;
    QList<qreal> b;
    const QFontMetricsF metrics(labelFont_);
    for (qsizetype i = 0; i < n; ++i) {
        unique.append(uniqueLabel(labels[i]));
        labels_.append(labels[i]);
        labelWidths_.push_back(metrics.horizontalAdvance(labels[i]));
        a.append(first[i]);
        b.append(second[i]);
    }
    categoryAxis_->append(unique);
    sets_[0]->append(a);
    sets_[1]->append(b);
    rescale();
    placeLabels();
}

QList<double> StackedBarChart::firstValues() const {
    QList<double> values;
    for (int i = 0; i < sets_[0]->count(); ++i) {
        values.append(sets_[0]->at(i));
    }
    return values;
}

QList<double> StackedBarChart::secondValues() const {
    QList<double> values;
    for (int i = 0; i < sets_[1]->count(); ++i) {
        values.append(sets_[1]->at(i));
    }
    return values;
}

QStringList StackedBarChart::categories() const {
    return categoryAxis_->categories();
}

double StackedBarChart::valueAxisMax() const {
    return valueAxis_->max();
}

int StackedBarChart::valueAxisTickCount() const {
    return valueAxis_->tickCount();
}

QStringList StackedBarChart::shownLabels() const {
    QStringList texts;
    for (int i = 0; i < labelItems_.size() && labelItems_[i]->isVisible(); ++i) {
        texts << labelItems_[i]->text();
    }
    return texts;
}

QList<QRectF> StackedBarChart::shownLabelBoxes() const {
    QList<QRectF> boxes;
    for (int i = 0; i < labelItems_.size() && labelItems_[i]->isVisible(); ++i) {
        boxes << labelItems_[i]->sceneBoundingRect();
    }
    return boxes;
}

void StackedBarChart::setNoDataText(const QString& text, const QFont& font, const QColor& colour) {
    noDataText_ = text;
    noDataFont_ = font;
    noDataColour_ = colour;
}

// Two categories cannot share a text on the axis; an invisible zero-width space keeps a
// repeated label apart while it reads the same.
QString StackedBarChart::uniqueLabel(const QString& label) {
    QString unique = label;
    while (categorySet_.contains(unique)) {
        unique += QChar(0x200B);
    }
    categorySet_.insert(unique);
    return unique;
}

void StackedBarChart::applyBrushes() {
    for (int i = 0; i < 2; ++i) {
        if (narrowBars_) {
            sets_[i]->setBrush(colours_[i]);
            sets_[i]->setPen(Qt::NoPen);
        } else {
            sets_[i]->setBrush(barBrush(colours_[i]));
            sets_[i]->setPen(QPen(colours_[i].darker(160), 0.8));
        }
    }
}

// The value axis runs from 0 to a round number above the highest stack; nothing but the pairs
// decides it, so the same pairs always give the same axis.
void StackedBarChart::rescale() {
    double top = 0;
    for (int i = 0; i < sets_[0]->count(); ++i) {
        top = std::max(top, sets_[0]->at(i) + sets_[1]->at(i));
    }
    const auto [max, ticks] = valueScale(top);
    valueAxis_->setRange(0, max);
    valueAxis_->setTickCount(ticks);
}

CategoryLabelBand StackedBarChart::labelBand() const {
    const QRectF plot = chart()->plotArea();
    CategoryLabelBand band;
    band.plotLeft = plot.left();
    band.plotWidth = plot.width();
    band.minX = 1.0;
    band.maxX = chart()->size().width() - 1.0;
    band.top = plot.bottom() + labelDrop;
    band.textHeight = QFontMetricsF(labelFont_).height();
    return band;
}

// Runs whenever the plot area moves or the pairs change: places the labels under the bars,
// makes room for them below the plot, and chooses the bars' look for their width.
void StackedBarChart::placeLabels() {
    placementDue_ = false;
    QChart* c = chart();
    const QRectF plot = c->plotArea();
    const int n = pairCount();

    const double pitch = n > 0 ? plot.width() / n : plot.width();
    const bool narrow = n > 0 && pitch * barShare < outlinedBarWidth;
    if (narrow != narrowBars_) {
        narrowBars_ = narrow;
        applyBrushes();
        // Bars thinner than a pixel, smoothed, would each cover a pixel in part and leave a
        // pale mix of both colours and the background; unsmoothed, each pixel takes one bar.
        setRenderHint(QPainter::Antialiasing, !narrow);
    }
    series_->setBarWidth(n > 0 && pitch < gappedPitch ? 1.0 : barShare);

    // Labels that count up one by one show their round numbers.
    long long first = 1;
    bool counting = !labels_.isEmpty();
    for (qsizetype i = 0; counting && i < labels_.size(); ++i) {
        bool number = false;
        const long long value = labels_.at(i).toLongLong(&number);
        if (i == 0) {
            first = value;
        }
        counting = number && value == first + i;
    }
    labelLayout_ = layoutCategoryLabels(labelWidths_, labelBand(), counting ? first : 1);

    const auto shown = static_cast<qsizetype>(labelLayout_.shown.size());
    while (labelItems_.size() < shown) {
        auto* item = new QGraphicsSimpleTextItem(c);
        item->setFont(labelFont_);
        item->setBrush(QColor(40, 40, 40));
        item->setZValue(10);
        labelItems_.append(item);
    }
    for (qsizetype i = 0; i < labelItems_.size(); ++i) {
        QGraphicsSimpleTextItem* item = labelItems_[i];
        if (i >= shown) {
            item->setVisible(false);
            continue;
        }
        const QRectF& box = labelLayout_.boxes[static_cast<std::size_t>(i)];
        item->setText(labels_.at(labelLayout_.shown[static_cast<std::size_t>(i)]));
        // Turned a quarter to the left, the text's top-left corner lies at the box's
        // bottom-left corner and the text reads upwards.
        item->setRotation(labelLayout_.upright ? -90 : 0);
        item->setPos(labelLayout_.upright ? box.bottomLeft() : box.topLeft());
        item->setVisible(true);
    }

    // Room below the plot for the tallest label; the plot moves up, its width stays.
    const double lineHeight = QFontMetricsF(labelFont_).height();
    const int wanted =
        chartMargin +
        static_cast<int>(std::ceil(labelDrop + std::max(labelLayout_.height, lineHeight)));
    if (wanted != bottomMargin_) {
        bottomMargin_ = wanted;
        c->setMargins(QMargins(chartMargin, chartMargin, chartMargin, bottomMargin_));
    }
}

// The chart lays itself out through posted events, and placing the labels can ask for one
// more round; both must be through before the chart is drawn off screen.
void StackedBarChart::settleLayout() {
    if (placementDue_) {
        placeLabels();
    }
    for (int round = 0; round < 3; ++round) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QCoreApplication::sendPostedEvents(chart());
    }
}

void StackedBarChart::paintChart(QPainter& painter, const QRectF& target) {
    const QSizeF chartSize =
        size().width() >= 100 && size().height() >= 60 ? QSizeF(size()) : QSizeF(printedSize);
    if (chart()->size() != chartSize) {
        chart()->resize(chartSize);
    }
    settleLayout();

    QFont footerFont(QStringLiteral("Arial"));
    footerFont.setPixelSize(footerPixelSize);
    footerFont.setBold(true);
    const double footerHeight = footer_.isEmpty() ? 0.0 : footerPixelSize * 2.0;
    const QSizeF whole(chartSize.width(), chartSize.height() + footerHeight);
    const double scale = std::min(target.width() / whole.width(), target.height() / whole.height());

    painter.save();
    painter.translate(target.topLeft());
    painter.scale(scale, scale);
    painter.setRenderHint(QPainter::Antialiasing, !narrowBars_);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const QRectF chartRect(QPointF(0, 0), chartSize);
    painter.fillRect(QRectF(QPointF(0, 0), whole), background_);
    if (pairCount() == 0 && !noDataText_.isEmpty()) {
        // Nothing to chart: the page says so, as the screen does.
        painter.setFont(noDataFont_);
        painter.setPen(noDataColour_);
        painter.drawText(chartRect, Qt::AlignCenter | Qt::TextWordWrap, noDataText_);
    } else {
        scene()->render(&painter, chartRect, chart()->geometry(), Qt::IgnoreAspectRatio);
    }
    if (!footer_.isEmpty()) {
        painter.setFont(footerFont);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(0, chartSize.height(), chartSize.width(), footerHeight),
                         Qt::AlignCenter, footer_);
    }
    painter.restore();
}

bool StackedBarChart::print(QPagedPaintDevice& device, double marginMm) {
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    QPainter painter;
    if (!painter.begin(&device)) {
        return false;
    }
    const double dotsPerMm = device.logicalDpiX() / 25.4;
    const double margin = marginMm * dotsPerMm;
    const QRectF page(margin, margin, device.width() - 2 * margin, device.height() - 2 * margin);
    paintChart(painter, page);
    return painter.end();
}

} // namespace quendal

// What makeBarChart looks for in the module.
extern "C" __attribute__((visibility("default"))) quendal::BarChart*
quendal_make_bar_chart(QWidget* parent) {
    return new quendal::StackedBarChart(parent);
}
