#include "pdf_text.h"
#include "toolkit/stacked_bar_chart.h"

#include <QBarSet>
#include <QChart>
#include <QCoreApplication>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <map>

using namespace quendal;

namespace {

bool near(QRgb pixel, const QColor& colour, int tolerance) {
    return std::abs(qRed(pixel) - colour.red()) <= tolerance &&
           std::abs(qGreen(pixel) - colour.green()) <= tolerance &&
           std::abs(qBlue(pixel) - colour.blue()) <= tolerance;
}

} // namespace

TEST(StackedBarChart, StacksThePairsInOrderAndPrintsTheFooterOnlyOnPaper) {
    const QColor mean(140, 158, 242);
    const QColor deviation(134, 242, 202);
    const QColor background(215, 250, 240);
    StackedBarChart chart;
    chart.resize(590, 337);
    chart.setSetTitles("Mittelwert", "Abweichung");
    chart.setSetColors(mean, deviation);
    chart.setBackgroundColor(background);
    chart.addPair("1", 500, 80);
    chart.addPair("3", 0, 0); // a run without a correct answer
    chart.addPair("7", 420, 60);
    chart.addPair("7", 300, 30); // a repeated label still makes a pair of its own
    chart.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart));

    EXPECT_EQ(chart.pairCount(), 4);
    EXPECT_EQ(chart.labels(), QStringList({"1", "3", "7", "7"}));
    EXPECT_EQ(chart.categories().size(), 4);
    EXPECT_EQ(chart.firstValues(), QList<double>({500, 0, 420, 300}));
    EXPECT_EQ(chart.secondValues(), QList<double>({80, 0, 60, 30}));
    EXPECT_EQ(chart.firstSet()->label(), "Mittelwert");
    EXPECT_EQ(chart.secondSet()->label(), "Abweichung");
    EXPECT_GE(chart.valueAxisMax(), 580.0);
    EXPECT_LE(chart.valueAxisMax(), 1000.0);
    EXPECT_TRUE(chart.chart()->title().isEmpty());
    EXPECT_EQ(chart.rubberBand(), QChartView::NoRubberBand);

    // On screen: the mean stands on the axis, the deviation on top of it, nothing where
    // the zero pair stands.
    const QImage shown = chart.grab().toImage();
    QChart* c = chart.chart();
    auto pixelAt = [&](double category, double value) {
        const QPointF p = c->mapToPosition(QPointF(category, value));
        return shown.pixel(p.toPoint());
    };
    EXPECT_TRUE(near(pixelAt(0, 250), mean, 40));
    EXPECT_TRUE(near(pixelAt(0, 540), deviation, 40));
    EXPECT_FALSE(near(pixelAt(0, 640), deviation, 40));
    EXPECT_FALSE(near(pixelAt(1, 5), mean, 40));
    EXPECT_TRUE(near(pixelAt(2, 400), mean, 40));
    EXPECT_TRUE(near(pixelAt(2, 460), deviation, 40));
    EXPECT_TRUE(near(pixelAt(3, 320), deviation, 40));
    EXPECT_TRUE(near(pixelAt(3, 340), background, 10));

    const QString footer = "user1.dat (10.12.2026 - 10.15)";
    chart.setFooterText(footer);
    QTemporaryDir dir;
    // What the screen shows, drawn into a PDF: no footer.
    const QString screenPdf = dir.filePath("screen.pdf");
    {
        QPdfWriter writer(screenPdf);
        QPainter painter(&writer);
        chart.render(&painter);
    }
    const QString printedPdf = dir.filePath("printed.pdf");
    {
        QPdfWriter writer(printedPdf);
        ASSERT_TRUE(chart.print(writer));
    }
    const auto screen = pdftest::readPdf(screenPdf);
    const auto printed = pdftest::readPdf(printedPdf);
    ASSERT_EQ(screen.size(), 1U);
    ASSERT_EQ(printed.size(), 1U);
    for (const auto* pages : {&screen, &printed}) {
        const QString text = pages->front().text();
        EXPECT_TRUE(text.contains("Mittelwert") && text.contains("Abweichung"))
            << text.toStdString();
        EXPECT_TRUE(pdftest::find(pages->front(), "ms").has_value());
    }
    EXPECT_FALSE(pdftest::find(screen[0], footer).has_value());
    const auto foot = pdftest::find(printed[0], footer);
    ASSERT_TRUE(foot.has_value()) << printed[0].text().toStdString();
    // The legend stands above the plot, the footer below everything, within the margins.
    const auto legend = pdftest::find(printed[0], "Mittelwert");
    ASSERT_TRUE(legend.has_value());
    const auto axisTitle = pdftest::find(printed[0], "ms");
    EXPECT_LT(legend->yMax, foot->yMin);
    EXPECT_GE(legend->yMin, 15.0);
    EXPECT_LE(foot->xMax, 195.0);
    EXPECT_GE(foot->xMin, 15.0);
    // The category labels read in order from left to right below the bars.
    const auto one = pdftest::find(printed[0], "1");
    const auto three = pdftest::find(printed[0], "3");
    ASSERT_TRUE(one && three);
    EXPECT_LT(one->xMax, three->xMin);
    EXPECT_LT(legend->yMax, one->yMin);
    EXPECT_LT(one->yMax, foot->yMin);

    chart.clear();
    EXPECT_EQ(chart.pairCount(), 0);
    EXPECT_TRUE(chart.categories().isEmpty());
    EXPECT_TRUE(chart.firstValues().isEmpty());
}

namespace {

// The chart's sizes on the play fields from the smallest scale of the dialogs to 1024 x 768.
const std::vector<QSize> kChartSizes = {{295, 169}, {400, 228}, {525, 300}, {590, 337}};

QStringList numbered(int from, int count) {
    QStringList labels;
    for (int k = from; k < from + count; ++k) {
        labels << QString::number(k);
    }
    return labels;
}

// What every layout of labels must be: the first and the last shown, each shown label whole
// at its measured size, apart from its neighbour, within the band and under its own bar; no
// more left out than needed, upright only when that shows every label, and, thinned, the
// labels in between the multiples of the step.
std::string faultOf(const std::vector<double>& widths, const CategoryLabelBand& band,
                    const CategoryLabelLayout& layout, long long first) {
    const int n = static_cast<int>(widths.size());
    const auto& shown = layout.shown;
    if (shown.size() != layout.boxes.size() || shown.empty()) {
        return "no labels";
    }
    if (shown.front() != 0 || shown.back() != n - 1) {
        return "first or last missing";
    }
    const double pitch = band.plotWidth / n;
    const double gap =
        layout.upright ? uprightLabelGap(band.textHeight) : lyingLabelGap(band.textHeight);
    const double widest = *std::max_element(widths.begin(), widths.end());
    for (std::size_t j = 0; j < shown.size(); ++j) {
        const QRectF& box = layout.boxes[j];
        const double w = widths[static_cast<std::size_t>(shown[j])];
        const QSizeF whole =
            layout.upright ? QSizeF(band.textHeight, w) : QSizeF(w, band.textHeight);
        if (std::abs(box.width() - whole.width()) > 1e-6 ||
            std::abs(box.height() - whole.height()) > 1e-6) {
            return "label " + std::to_string(shown[j]) + " not whole";
        }
        if (box.left() < band.minX - 1e-6 || box.right() > band.maxX + 1e-6 ||
            box.top() < band.top - 1e-6) {
            return "label " + std::to_string(shown[j]) + " outside the band";
        }
        const double bar = band.plotLeft + (shown[j] + 0.5) * pitch;
        if (bar < box.left() - 1e-6 || bar > box.right() + 1e-6) {
            return "label " + std::to_string(shown[j]) + " not under its bar";
        }
        // Thinned, the labels in between show round numbers.
        if (j > 0 && j + 1 < shown.size() && (first + shown[j]) % layout.step != 0) {
            return "label " + std::to_string(first + shown[j]) + " not a multiple of the step";
        }
        if (j > 0 &&
            (shown[j] <= shown[j - 1] || layout.boxes[j - 1].right() + gap > box.left() + 1e-6)) {
            return "labels " + std::to_string(shown[j - 1]) + " and " + std::to_string(shown[j]) +
                   " touch";
        }
    }
    if (layout.upright && (layout.step != 1 || static_cast<int>(shown.size()) != n)) {
        return "upright labels left out";
    }
    if (layout.step == 1 && !layout.upright && widest + gap > pitch + 1e-6) {
        return "lying labels cannot all fit";
    }
    // The next smaller step of 1, 2, 5, 10, 20 ... would have let the labels run together.
    int decade = 1;
    while (decade * 10 <= layout.step) {
        decade *= 10;
    }
    const int factor = layout.step / decade;
    const int smaller = factor == 1 ? decade / 2 : (factor == 2 ? decade : 2 * decade);
    if (layout.step > 1 && pitch * smaller >= widest + gap) {
        return "thinned more than needed";
    }
    if (layout.step > 1 && static_cast<int>(shown.size()) < std::min(n, (n / layout.step) - 1)) {
        return "too few labels for the step";
    }
    return {};
}

} // namespace

TEST(CategoryLabels, AtEveryCountToTenThousandAndEverySizeEachShownLabelIsWholeAndApart) {
    StackedBarChart chart;
    const QFontMetricsF metrics(chart.labelFont());
    std::vector<double> widthOf(20001);
    for (int k = 1; k <= 20000; ++k) {
        widthOf[static_cast<std::size_t>(k)] = metrics.horizontalAdvance(QString::number(k));
    }
    for (const QSize& size : kChartSizes) {
        chart.resize(size);
        chart.setPairs(numbered(1, 3), {900, 1000, 1100}, {100, 200, 300});
        chart.show();
        QCoreApplication::processEvents();
        const CategoryLabelBand band = chart.labelBand();
        ASSERT_GT(band.plotWidth, size.width() * 0.6);
        ASSERT_LT(band.plotLeft + band.plotWidth, size.width());
        // Numbered from 1, and numbered up to 20000 (a long file filtered down to its end).
        for (const int end : {0, 20000}) {
            std::vector<double> widths;
            widths.reserve(10000);
            for (int n = 1; n <= 10000; ++n) {
                if (end == 0) {
                    widths.push_back(widthOf[static_cast<std::size_t>(n)]);
                } else {
                    widths.insert(widths.begin(), widthOf[static_cast<std::size_t>(end - n + 1)]);
                }
                const long long first = end == 0 ? 1 : end - n + 1;
                const CategoryLabelLayout layout = layoutCategoryLabels(widths, band, first);
                const std::string fault = faultOf(widths, band, layout, first);
                ASSERT_TRUE(fault.empty())
                    << fault << " at " << n << " labels ending at " << (end == 0 ? n : end)
                    << ", chart " << size.width() << " x " << size.height();
            }
        }
    }
}

TEST(StackedBarChart, AtAnyCountAndSizeTheLabelsStandApartTheColoursShowAndTheAxisIsTheDatas) {
    const QColor mean(140, 158, 242);
    const QColor deviation(134, 242, 202);
    StackedBarChart chart;
    chart.setSetColors(mean, deviation);
    chart.setBackgroundColor(QColor(215, 250, 240));
    chart.show();
    const QFontMetricsF metrics(chart.labelFont());
    struct Data {
        QStringList labels;
        QList<double> first;
        QList<double> second;
    };
    std::vector<Data> sets;
    for (const auto& [from, count] : std::vector<std::pair<int, int>>{
             {1, 1}, {1, 2}, {1073, 28}, {1, 40}, {1, 100}, {1, 3000}, {1, 10000}}) {
        Data d{numbered(from, count), {}, {}};
        for (int i = 0; i < count; ++i) {
            // Every pair's mean reaches 540 and its deviation spans 540 to 600.
            d.first << 500 + (i * 37) % 40;
            d.second << 100 + i % 50;
        }
        sets.push_back(d);
    }
    std::map<int, std::pair<double, int>> axisOf; // by count: the axis of a fresh chart
    for (const QSize& size : kChartSizes) {
        chart.resize(size);
        for (const Data& d : sets) {
            const auto n = static_cast<int>(d.labels.size());
            const std::string where =
                std::to_string(n) + " pairs on " + std::to_string(size.width());
            // Other pairs drawn before, and none: neither may move the axis away from the one
            // a fresh chart draws for the same pairs.
            for (const double top : {2125.0, 3100.0, 790.0, 41.0}) {
                chart.setPairs({"1", "2"}, {top * 0.8, 300}, {top * 0.2, 30});
                QCoreApplication::processEvents();
                chart.clear();
                QCoreApplication::processEvents();
            }
            QCoreApplication::processEvents();
            chart.setPairs(d.labels, d.first, d.second);
            QCoreApplication::processEvents();
            const auto axis = std::make_pair(chart.valueAxisMax(), chart.valueAxisTickCount());
            auto [it, isNew] = axisOf.emplace(n, std::make_pair(0.0, 0));
            if (isNew) {
                StackedBarChart fresh;
                fresh.setPairs(d.labels, d.first, d.second);
                it->second = std::make_pair(fresh.valueAxisMax(), fresh.valueAxisTickCount());
                EXPECT_GE(it->second.first, 650.0) << where;
                EXPECT_LE(it->second.first, 1000.0) << where;
            }
            EXPECT_EQ(it->second, axis) << where;

            const QStringList shown = chart.shownLabels();
            const QList<QRectF> boxes = chart.shownLabelBoxes();
            ASSERT_EQ(shown.size(), boxes.size());
            ASSERT_GE(shown.size(), std::min(n, 2)) << where;
            EXPECT_EQ(shown.front(), d.labels.front()) << where;
            EXPECT_EQ(shown.back(), d.labels.back()) << where;
            const int step = chart.labelLayout().step;
            for (qsizetype j = 1; j + 1 < shown.size(); ++j) {
                EXPECT_EQ(shown[j].toInt() % step, 0) << where << " " << shown[j].toStdString();
            }
            const QRectF plot = chart.chart()->plotArea();
            for (qsizetype j = 0; j < boxes.size(); ++j) {
                const QRectF& box = boxes[j];
                const double along = chart.labelLayout().upright ? box.height() : box.width();
                EXPECT_GE(along, metrics.horizontalAdvance(shown[j]) - 0.5) << where;
                EXPECT_TRUE(QRectF(0, 0, size.width(), size.height()).contains(box))
                    << where << " label " << shown[j].toStdString();
                EXPECT_GE(box.top(), plot.bottom()) << where;
                if (j > 0) {
                    EXPECT_GE(box.left() - boxes[j - 1].right(), 2.0)
                        << where << " labels " << shown[j - 1].toStdString() << " and "
                        << shown[j].toStdString();
                }
            }

            // Both colours where the pairs stand, at the first, middle and last pair.
            const QImage shot = chart.grab().toImage();
            for (const int i : {0, n / 2, n - 1}) {
                // A whole pixel inside the plot: thinner bars than that share the edge pixel.
                auto at = [&](double value) {
                    const QPointF p = chart.chart()->mapToPosition(QPointF(i, value));
                    return QPoint(
                        static_cast<int>(std::clamp(p.x(), plot.left() + 1.5, plot.right() - 1.5)),
                        static_cast<int>(p.y()));
                };
                const QPoint low = at(270);
                const QPoint high = at(570);
                EXPECT_TRUE(near(shot.pixel(low), mean, 40))
                    << where << " pair " << i << ": "
                    << QColor(shot.pixel(low)).name().toStdString();
                EXPECT_TRUE(near(shot.pixel(high), deviation, 40))
                    << where << " pair " << i << ": "
                    << QColor(shot.pixel(high)).name().toStdString();
            }
        }
    }
}
