#include "toolkit/stacked_bar_chart.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QCoreApplication>
#include <QGraphicsLayout>
#include <QLegend>
#include <QLinearGradient>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QStackedBarSeries>
#include <QValueAxis>
#include <algorithm>

namespace quendal {

namespace {

constexpr int footerPixelSize = 15;
const QSize printedSize(590, 337); // the chart's size on screen when the widget has none yet

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
    categoryAxis_->append(unique);
    sets_[0]->append(first);
    sets_[1]->append(second);
    rescale();
}

void StackedBarChart::setPairs(const QStringList& labels, const QList<double>& first,
                               const QList<double>& second) {
    const qsizetype n = std::min({labels.size(), first.size(), second.size()});
    labels_.clear();
    categoryAxis_->clear();
    sets_[0]->remove(0, sets_[0]->count());
    sets_[1]->remove(0, sets_[1]->count());
    categorySet_.clear();
    QStringList unique;
    QList<qreal> a;
    QList<qreal> b;
    for (qsizetype i = 0; i < n; ++i) {
        unique.append(uniqueLabel(labels[i]));
        labels_.append(labels[i]);
        a.append(first[i]);
        b.append(second[i]);
    }
    categoryAxis_->append(unique);
    sets_[0]->append(a);
    sets_[1]->append(b);
    rescale();
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
        sets_[i]->setBrush(barBrush(colours_[i]));
        sets_[i]->setPen(QPen(colours_[i].darker(160), 0.8));
    }
}

// The value axis runs from 0 to a round number above the highest stack.
void StackedBarChart::rescale() {
    double top = 0;
    for (int i = 0; i < sets_[0]->count(); ++i) {
        top = std::max(top, sets_[0]->at(i) + sets_[1]->at(i));
    }
    valueAxis_->setRange(0, top > 0 ? top * 1.05 : 10.0);
    valueAxis_->applyNiceNumbers();
    // Many labels side by side would run into each other; standing upright they fit.
    categoryAxis_->setLabelsAngle(labels_.size() > 30 ? -90 : 0);
    if (valueAxis_->min() < 0) {
        valueAxis_->setMin(0);
    }
}

void StackedBarChart::paintChart(QPainter& painter, const QRectF& target) {
    const QSizeF chartSize =
        size().width() >= 100 && size().height() >= 60 ? QSizeF(size()) : QSizeF(printedSize);
    if (chart()->size() != chartSize) {
        chart()->resize(chartSize);
    }
    // The chart lays itself out through posted events; they must be through before drawing.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QCoreApplication::sendPostedEvents(chart());

    QFont footerFont(QStringLiteral("Arial"));
    footerFont.setPixelSize(footerPixelSize);
    footerFont.setBold(true);
    const double footerHeight = footer_.isEmpty() ? 0.0 : footerPixelSize * 2.0;
    const QSizeF whole(chartSize.width(), chartSize.height() + footerHeight);
    const double scale = std::min(target.width() / whole.width(), target.height() / whole.height());

    painter.save();
    painter.translate(target.topLeft());
    painter.scale(scale, scale);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const QRectF chartRect(QPointF(0, 0), chartSize);
    painter.fillRect(QRectF(QPointF(0, 0), whole), background_);
    scene()->render(&painter, chartRect, chart()->geometry(), Qt::IgnoreAspectRatio);
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
